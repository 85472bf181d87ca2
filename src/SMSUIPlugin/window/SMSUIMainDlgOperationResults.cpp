// SPDX-License-Identifier: GPL-3.0-or-later
// What comes back from a delete, move, copy or recover batch: one result per message, the
// closing verdict in the progress dialog, the tables the batch touched, and the removals
// the store and the modem report.
#include "SMSUIMainDlg.h"

#include <QSet>
#include <QSignalBlocker>
#include <QTextBrowser>
#include <QTreeWidgetItem>

#include "CommonUtils.h"
#include "SearchLineEdit.h"
#include "store/SMSStatusUILogic.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SMSWaitingDlg.h"
#include "SmsLog.h"

#include <vector>

namespace {
constexpr int kDelete = 9001;

bool isInbox(int position)
{
    return position == EN_LOCAL_INBOX || position == EN_SIM_INBOX || position == EN_DEVICE_INBOX;
}
} // namespace

void SMSUIMainDlg::writeBatchVerdict(int failures, int units)
{
    if (!m_pSMSWaitingDlgInstance)
        return;
    if (failures <= 0) {
        m_pSMSWaitingDlgInstance->showSucceeded();
        return;
    }
    m_pSMSWaitingDlgInstance->changeLabelEx(
        tr(failures >= units ? QStringLiteral("IDS_STR_ALL_FAILED")
                             : QStringLiteral("IDS_STR_SOME_FAILED")));
}

// Delete and recover results. The worker reports a failed delete as -(index + 1), so that
// it cannot be taken for the success of message 0: it counts as a failure and never
// indexes the row list. Failures are named in the verdict, which the dialog keeps for its
// closing delay.
void SMSUIMainDlg::countBatchResult(bool ok, int index)
{
    if (!m_pSMSWaitingDlgInstance || !m_pStatusLogicObject) {
        qCWarning(lcSmsWindow) << "batch result without progress dialog or store";
        return;
    }
    if (ok && index >= 0 && index < m_handledRows.size())
        m_reportedRows.append(m_handledRows.at(index));
    if (!ok)
        ++m_iBatchFail;
    ++m_iReportedUnits;
    m_pSMSWaitingDlgInstance->updateProgressBarLabel(m_iReportedUnits, m_iOperationUnits);
    if (m_iReportedUnits < m_iOperationUnits)
        return;
    // Recovering drafts makes no claim about failures: a draft has no folder of origin
    // other than the drafts themselves.
    if (m_batchKind != BatchRecover || m_iSelectedTreeNode != EN_LOCAL_DRAFT)
        writeBatchVerdict(m_iBatchFail, m_iOperationUnits);
    m_pSMSWaitingDlgInstance->onCompleteChangeButtonText();
    if (m_batchKind == BatchDelete) {
        reSetPreviewArea();
        disableToolBarItem(kDelete);
    }
    m_iOperationUnits = 0;
    m_iReportedUnits = 0;
}

void SMSUIMainDlg::onDeleteMessage(int index)
{
    if (!m_pTextPreview)
        return;
    countBatchResult(index >= 0, index);
}

void SMSUIMainDlg::onrecoverMessage(bool recovered, int index)
{
    countBatchResult(recovered, index);
}

void SMSUIMainDlg::checkMemoryStatus(bool &full)
{
    full = false;
    const int memory = GetMemPosition(m_SMSThreadInst.destination());
    if (!m_pStatusLogicObject || memory < UTPS_SMS_MEM_PC || memory > UTPS_SMS_MEM_DEVICE)
        return;
    int capacity = 0;
    int used = 0;
    if (m_pStatusLogicObject->GetMemorySatus(capacity, used, memory) != 0
        || (capacity == 0 && used == 0)) {
        qCWarning(lcSmsWindow) << "memory status of storage" << memory << "not known";
        return;
    }
    if (capacity > used)
        return;
    m_bDestinationFull = true;
    full = true;
}

void SMSUIMainDlg::onSmsMoveOrCopy(bool done, int)
{
    if (!m_pSMSWaitingDlgInstance)
        return;
    ++(done ? m_iMoveCopySuccess : m_iMoveCopyFail);
    ++m_iReportedUnits;
    bool full = false;
    checkMemoryStatus(full);
    if (full) {
        // No room left where the messages go: the rest of the batch would only fail.
        SMSThreadUI::StopSmsThread();
        updateSIMNVTables();
        if (done)
            m_pSMSWaitingDlgInstance->updateProgressBarLabel(m_iReportedUnits, m_iOperationUnits);
        if (!done || m_iReportedUnits < m_iOperationUnits) {
            // Named after the storage, also for a batch aimed at a storage root.
            QString text = tr(QStringLiteral("IDS_STR_MEMORY_IS_FULL"));
            text.replace(QLatin1String("%s"),
                         storageName(GetMemPosition(m_SMSThreadInst.destination())));
            m_pSMSWaitingDlgInstance->changeLabelEx(text);
            m_pSMSWaitingDlgInstance->onCompleteChangeButtonText();
            m_pSMSWaitingDlgInstance->closeWaitingDialog();
        }
        return;
    }
    if (m_iReportedUnits == m_iOperationUnits) {
        const HeldCall::Hold counts(m_countRefresh);
        writeBatchVerdict(m_iMoveCopyFail, m_iOperationUnits);
        // The store filed every copy the batch made as it made it: with no unit failed,
        // its card folders hold what reading both storages again would give, and the
        // worker's end, which follows, brings the tables at both ends in line (doing it
        // here too made the end of a 10,000-message move fill the same tables twice).
        // After a failure the storages are read again.
        if (m_iMoveCopyFail != 0)
            updateSIMNVTables();
        m_pSMSWaitingDlgInstance->onCompleteChangeButtonText();
        m_iMoveCopySuccess = 0;
        m_iMoveCopyFail = 0;
    }
    m_pSMSWaitingDlgInstance->updateProgressBarLabel(m_iReportedUnits, m_iOperationUnits);
    if (m_pSMSWaitingDlgInstance->IsProgressBarCanceled()) {
        updateSIMNVTables();
        m_iMoveCopySuccess = 0;
        m_iMoveCopyFail = 0;
        m_pSMSWaitingDlgInstance->SetProgressBarCanceled(false);
    }
}

void SMSUIMainDlg::updateSIMNVTables()
{
    if (!m_pStatusLogicObject)
        return;
    // The tables borrow the records about to be released: empty them first, then read
    // both card storages afresh (a storage that cannot be read stays empty).
    for (_EN_SMS_POSITION p : {EN_SIM_OUTBOX, EN_SIM_INBOX, EN_SIM_ROOT, EN_DEVICE_OUTBOX,
                               EN_DEVICE_INBOX, EN_DEVICE_ROOT})
        emptySMSTable(p);
    for (_UTPS_EN_SMS_MEM memory : {UTPS_SMS_MEM_SIM, UTPS_SMS_MEM_DEVICE}) {
        m_pStatusLogicObject->ReleaseSmsBuffer(memory);
        m_pStatusLogicObject->PopulateSMSFromSDK(memory);
    }
    syncCardTables();
}

void SMSUIMainDlg::syncCardTables()
{
    // The card tables only: the PC root and the broadcast folder lie among them in
    // number, and bringing the PC root in line walks all of its rows.
    const HeldCall::Hold counts(m_countRefresh);
    for (_EN_SMS_POSITION p : {EN_SIM_OUTBOX, EN_SIM_INBOX, EN_SIM_ROOT, EN_DEVICE_OUTBOX,
                               EN_DEVICE_INBOX, EN_DEVICE_ROOT})
        syncSMSTableWithBuffers(p);
}

void SMSUIMainDlg::onCloseWaitingDialog()
{
    // A send's worker ends as soon as the SDK took the message; its dialog waits for the
    // results.
    if (m_pSMSWaitingDlgInstance && m_pSMSWaitingDlgInstance->operation() != SMSWaitingDlg::OpSend)
        m_pSMSWaitingDlgInstance->closeWaitingDialog();
}

void SMSUIMainDlg::onFinished()
{
    // The worker's signals stay connected for the window's life: they were connected once
    // when the window was built, so dropping them here would leave the next batch unheard.
    m_iMoveCopyCode = 2;
    m_iDropTargetPosition = EN_POS_NONE;
    m_selectedRecords.clear();
    if (m_SMSThreadInst.operation() == DC_SMS_SEND) {
        if (m_bSendRefused)
            concludeSend();
        return;
    }
    const HeldCall::Hold counts(m_countRefresh);
    if (m_bDeletedUnread) {
        m_bDeletedUnread = false;
        notifyStatusBarCount();
    }
    // The rows of the messages that left go now, with their records: no row may outlive
    // its record. Bringing the other tables in line (thousands of rows each after a large
    // batch) is stepped, one table per turn of the event loop, so that the window keeps
    // painting; until then a table lacks rows of messages that arrived in it, never shows
    // one that left.
    const QSet<int> touched = applyPendingRemovals();
    m_bSteppingSyncs = true;
    handleOperationOnComplete();
    m_bSteppingSyncs = false;
    const bool deleted = m_SMSThreadInst.operation() == DC_SMS_SELECTED_DELETE;
    const int rowAfterDelete = m_iRowAfterDelete;
    const SMSUITableWidget *tableAfterDelete = m_pTableAfterDelete;
    m_batchEnd.add([this, touched, deleted, rowAfterDelete, tableAfterDelete] {
        // A table the removals left empty that the completion did not fill again.
        for (int p : touched) {
            const SMSUITableWidget *table = m_tableMap.value(static_cast<_EN_SMS_POSITION>(p));
            if (table && table->rowCount() == 0)
                syncSMSTableWithBuffers(static_cast<_EN_SMS_POSITION>(p));
        }
        // The rebuilt tables list everything: a search under way filters them again, after
        // the last of them (a table the search had emptied is among those filled above).
        if (m_pSearchBox && !m_pSearchBox->text().isEmpty())
            onTextEdited(m_pSearchBox->text());
        reSetPreviewArea();
        if (deleted)
            selectRowAfterDelete(rowAfterDelete, tableAfterDelete);
    });
    m_iRowAfterDelete = -1;
    m_pTableAfterDelete = nullptr;
    // A cancelled or cut-short batch reports fewer results than it was given: nothing more
    // will come, and the next operation starts clean.
    if (m_pSMSWaitingDlgInstance && m_pSMSWaitingDlgInstance->IsProgressBarCanceled())
        m_pSMSWaitingDlgInstance->SetProgressBarCanceled(false);
    resetBatchCounters();
}

void SMSUIMainDlg::selectRowAfterDelete(int rowAfterDelete, const SMSUITableWidget *table)
{
    // Only where the user still is: a folder changed meanwhile has its own selection.
    if (rowAfterDelete < 0 || !m_pCurrentTable || m_pCurrentTable != table
        || m_pCurrentTable->rowCount() == 0)
        return;
    const int row = std::min(rowAfterDelete, m_pCurrentTable->rowCount() - 1);
    m_pCurrentTable->setCurrentCell(row, 0);
    m_pCurrentTable->selectRow(row);
}

void SMSUIMainDlg::syncWithParent(int position)
{
    if (position < 0 || position >= EN_POS_INVALID || position == EN_POS_NONE)
        return;
    // Sent items are made from the PC outbox's sent messages.
    if (position == EN_LOCAL_OUTBOX)
        syncSMSTableWithBuffers(EN_LOCAL_SENTITEMS);
    syncSMSTableWithBuffers(static_cast<_EN_SMS_POSITION>(position));
    const int parent = GetParentPos(position);
    if (parent != position && parent != EN_POS_INVALID)
        syncSMSTableWithBuffers(static_cast<_EN_SMS_POSITION>(parent));
}

void SMSUIMainDlg::resyncAll(const QList<int> &positions)
{
    const HeldCall::Hold counts(m_countRefresh);
    for (int p : positions)
        syncSMSTableWithBuffers(static_cast<_EN_SMS_POSITION>(p));
}

void SMSUIMainDlg::handleOperationOnComplete()
{
    if (!m_pStatusLogicObject)
        return;
    if (m_pTreeWidget && !m_pTreeWidget->currentItem() && m_pLocalInbox) {
        m_pLocalInbox->setSelected(true);
        m_pTreeWidget->setCurrentItem(m_pLocalInbox);
    }
    const int operation = m_SMSThreadInst.operation();
    switch (operation) {
    case DC_SMS_SELECTED_DELETE:
        qCDebug(lcSmsWindow) << "op = DC_SMS_SELECTED_DELETE";
        handleDelOperationOnComplete();
        break;
    case DC_SMS_RECOVER:
        // Back to the folder of origin, which may also be a card's (a message dragged from
        // a card into the trash).
        resyncAll({EN_LOCAL_OUTBOX, EN_LOCAL_INBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE,
                   EN_LOCAL_TRASH, EN_LOCAL_REPORT, EN_LOCAL_SENTITEMS, EN_LOCAL_ROOT,
                   EN_SIM_OUTBOX, EN_SIM_INBOX, EN_SIM_ROOT, EN_DEVICE_OUTBOX, EN_DEVICE_INBOX,
                   EN_DEVICE_ROOT});
        break;
    case DC_SMS_DRAG_MOVE:
    case DC_SMS_MOVE:
    case DC_SMS_DRAG_COPY:
    case DC_SMS_COPY:
    case DC_SMS_COPY_7:
    case DC_SMS_COPY_8: {
        const bool move = operation == DC_SMS_MOVE || operation == DC_SMS_DRAG_MOVE;
        int from = m_pStatusLogicObject->GetLastMoveFrom();
        int to = m_pStatusLogicObject->GetLastMoveTo();
        // A batch that never reached the store (no transaction) leaves the last move of an
        // earlier batch: fall back to what this batch was given.
        if (from == EN_POS_INVALID)
            from = m_iSelectedTreeNode;
        if (to == EN_POS_INVALID)
            to = m_SMSThreadInst.destination();
        if (move) {
            syncWithParent(from);
            // From a storage root the messages left both of its folders.
            if (m_iSelectedTreeNode == EN_SIM_ROOT)
                resyncAll({EN_SIM_INBOX, EN_SIM_OUTBOX});
            else if (m_iSelectedTreeNode == EN_DEVICE_ROOT)
                resyncAll({EN_DEVICE_INBOX, EN_DEVICE_OUTBOX});
        }
        syncWithParent(to);
        if (operation == DC_SMS_DRAG_MOVE || operation == DC_SMS_DRAG_COPY)
            afterBatchSyncs([this] { onClickSMSTreeNode(m_pCurrentTreeItem, 0); });
        m_iMoveCopySuccess = 0;
        m_iMoveCopyFail = 0;
        handleMoveCopyonParentNodes(static_cast<_EN_SMS_POSITION>(to));
        afterBatchSyncs([this, to] {
            onClickTableRow(0);
            if (isInbox(to))
                notifyStatusBarCount();
        });
        break;
    }
    default:
        qCWarning(lcSmsWindow) << "batch of unknown operation" << operation << "finished";
        break;
    }
}

void SMSUIMainDlg::handleDelOperationOnComplete()
{
    switch (m_iSelectedTreeNode) {
    case EN_LOCAL_OUTBOX: case EN_LOCAL_INBOX: case EN_LOCAL_DRAFT: case EN_LOCAL_FAVORITE:
    case EN_LOCAL_REPORT: case EN_LOCAL_CBSBOX: case EN_LOCAL_SENTITEMS:
        resyncAll({m_iSelectedTreeNode, EN_LOCAL_TRASH, EN_LOCAL_ROOT});
        break;
    case EN_LOCAL_TRASH:
        resyncAll({EN_LOCAL_TRASH, EN_LOCAL_ROOT});
        break;
    case EN_SIM_OUTBOX: case EN_SIM_INBOX:
        resyncAll({m_iSelectedTreeNode, EN_SIM_ROOT});
        break;
    case EN_DEVICE_OUTBOX: case EN_DEVICE_INBOX:
        resyncAll({m_iSelectedTreeNode, EN_DEVICE_ROOT});
        break;
    case EN_SIM_ROOT:
        resyncAll({EN_SIM_ROOT, EN_SIM_OUTBOX, EN_SIM_INBOX});
        break;
    case EN_DEVICE_ROOT:
        resyncAll({EN_DEVICE_ROOT, EN_DEVICE_OUTBOX, EN_DEVICE_INBOX});
        break;
    case EN_LOCAL_ROOT: {
        resyncAll({EN_LOCAL_OUTBOX, EN_LOCAL_INBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE,
                   EN_LOCAL_TRASH, EN_LOCAL_REPORT, EN_LOCAL_SENTITEMS, EN_LOCAL_ROOT});
        if (CommonUtils::GetSettings(QStringLiteral("CBS"), QStringLiteral("enable"))
            == QLatin1String("true"))
            syncSMSTableWithBuffers(EN_LOCAL_CBSBOX);
        break;
    }
    default:
        break;
    }
}

void SMSUIMainDlg::handleMoveCopyonParentNodes(_EN_SMS_POSITION destination)
{
    if (!m_bRootNodeMove)
        return;
    m_bRootNodeMove = false;
    const bool toPc = destination == EN_LOCAL_SENTITEMS || destination == EN_LOCAL_OUTBOX
        || destination == EN_LOCAL_INBOX || destination == EN_LOCAL_ROOT;
    if (toPc) {
        resyncAll({EN_LOCAL_INBOX, EN_LOCAL_OUTBOX, EN_LOCAL_SENTITEMS, EN_LOCAL_ROOT});
    } else if (m_iSelectedTreeNode == EN_SIM_ROOT
               && (destination == EN_DEVICE_OUTBOX || destination == EN_DEVICE_INBOX)) {
        resyncAll({EN_DEVICE_INBOX, EN_DEVICE_OUTBOX, EN_DEVICE_ROOT});
    } else if (m_iSelectedTreeNode == EN_DEVICE_ROOT
               && (destination == EN_SIM_OUTBOX || destination == EN_SIM_INBOX)) {
        resyncAll({EN_SIM_INBOX, EN_SIM_OUTBOX, EN_SIM_ROOT});
    }
}

void SMSUIMainDlg::dropRowsOf(int id, int position, bool keepInLocalRoot)
{
    if (!m_pStatusLogicObject || position < 0 || position >= EN_POS_INVALID)
        return;
    const SmsRecord *record =
        m_pStatusLogicObject->GetSMSRecordsSet(static_cast<_EN_SMS_POSITION>(position)).value(id);
    if (!record)
        return;
    // A record is shown in its folder's table and its storage root's table.
    QList<int> tables{position};
    const int parent = GetParentPos(position);
    if (parent != EN_POS_INVALID && !(keepInLocalRoot && parent == EN_LOCAL_ROOT))
        tables.append(parent);
    for (int p : std::as_const(tables)) {
        SMSUITableWidget *table = m_tableMap.value(static_cast<_EN_SMS_POSITION>(p));
        if (!table)
            continue;
        const QSignalBlocker blocker(table);
        for (int row = table->rowCount() - 1; row >= 0; --row) {
            if (table->recordAt(row) == record)
                table->removeRow(row);
        }
    }
}

void SMSUIMainDlg::onDeleteSMS(int id, int position, int memory, bool permanent)
{
    if (!m_pStatusLogicObject)
        return;
    const bool batchRunning =
        m_SMSThreadInst.isRunning() && m_SMSThreadInst.operation() != DC_SMS_SEND;
    if (batchRunning || m_batchKind != BatchNone) {
        // Within a batch the store's removals wait for its end, when its tables are
        // rebuilt anyway: dropping rows one at a time from tables of thousands of rows
        // made a large batch quadratic.
        m_pendingRemovals.append({id, position, memory, permanent});
        return;
    }
    // The rows go before the record: a row must never point at a freed record. A message
    // moved to the trash stays the same record, still listed by the PC root.
    dropRowsOf(id, position, !permanent);
    m_pStatusLogicObject->DeleteSMSFromBuffer(id, position, memory, permanent);
    updateCount();
}

QSet<int> SMSUIMainDlg::applyPendingRemovals()
{
    QSet<int> touched;
    if (!m_pStatusLogicObject || m_pendingRemovals.isEmpty())
        return touched;
    // Per table, the records whose rows go before the records do (no row may point at a
    // freed record): a record leaves its folder's table, and its storage root's table
    // unless it only goes to the trash, where it stays the PC root's record. Only those
    // rows go; the tables are then brought in line with the store, which for a large
    // batch is much less than making every touched table again.
    QHash<int, QHash<int, SmsRecord *>> folders;
    QHash<int, QSet<const SmsRecord *>> leaving;
    for (const PendingRemoval &r : std::as_const(m_pendingRemovals)) {
        const int parent = GetParentPos(r.position);
        touched << r.position << parent;
        if (!r.permanent)
            touched << EN_LOCAL_TRASH;
        auto folder = folders.find(r.position);
        if (folder == folders.end())
            folder = folders.insert(r.position, m_pStatusLogicObject->GetSMSRecordsSet(
                                                    static_cast<_EN_SMS_POSITION>(r.position)));
        const SmsRecord *record = folder->value(r.id, nullptr);
        if (!record)
            continue;
        leaving[r.position].insert(record);
        if (parent != EN_POS_INVALID && (r.permanent || parent != EN_LOCAL_ROOT))
            leaving[parent].insert(record);
    }
    touched.remove(EN_POS_INVALID);
    for (auto it = leaving.cbegin(); it != leaving.cend(); ++it) {
        SMSUITableWidget *table = m_tableMap.value(static_cast<_EN_SMS_POSITION>(it.key()));
        if (!table)
            continue;
        std::vector<bool> drop(size_t(table->rowCount()), false);
        for (int row = 0; row < table->rowCount(); ++row)
            drop[size_t(row)] = it->contains(table->recordAt(row));
        const QSignalBlocker blocker(table);
        table->removeRowsWhere(drop);
    }
    for (const PendingRemoval &r : std::as_const(m_pendingRemovals))
        m_pStatusLogicObject->DeleteSMSFromBuffer(r.id, r.position, r.memory, r.permanent);
    m_pendingRemovals.clear();
    return touched;
}

void SMSUIMainDlg::OnCallBackDeleteSms(int id, int position)
{
    if (!m_pStatusLogicObject)
        return;
    // The modem names the PC outbox for a sent copy that the window files as sent items.
    if (isHaveSendItemsBox() && position == EN_LOCAL_OUTBOX) {
        dropRowsOf(id, EN_LOCAL_SENTITEMS, false);
        m_pStatusLogicObject->DeleteSMSFromBuffer(id, EN_LOCAL_SENTITEMS, 0, true);
        syncSMSTableWithBuffers(EN_LOCAL_SENTITEMS);
    }
    dropRowsOf(id, position, false);
    m_pStatusLogicObject->DeleteSMSFromBuffer(id, position, 0, true);
    syncWithParent(position);
}
