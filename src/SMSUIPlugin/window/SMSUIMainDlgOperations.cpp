// SPDX-License-Identifier: GPL-3.0-or-later
// Delete, move, copy and recover commands: what they act on, the confirmation they ask
// for, and handing the messages to the worker behind the progress dialog.
#include "SMSUIMainDlg.h"

#include <QMessageBox>
#include <QShortcut>

#include "CommonUtils.h"
#include "CrossThreadCalls.h"
#include "operations/SMSEditUILogic.h"
#include "store/SMSStatusUILogic.h"
#include "SMSUITableWidget.h"
#include "SMSWaitingDlg.h"
#include "SmsLog.h"

namespace {
// A row has three cells; fewer selected cells than a row is no message.
constexpr int kCellsPerRow = 3;
constexpr int kMoveCode = 2;
constexpr int kCopyCode = 3;

struct DestinationRule
{
    int storage;
    QList<int> from;
    int destination;
};

// Where a move or copy lands, by target storage and the tree node it starts from. Pairs
// not listed are not offered (the PC is never moved onto itself, a card not onto itself).
const QList<DestinationRule> &destinationRules()
{
    static const QList<DestinationRule> rules{
        {UTPS_SMS_MEM_SIM, {EN_DEVICE_ROOT}, EN_SIM_ROOT},
        {UTPS_SMS_MEM_SIM, {EN_DEVICE_INBOX, EN_LOCAL_INBOX}, EN_SIM_INBOX},
        {UTPS_SMS_MEM_SIM, {EN_DEVICE_OUTBOX, EN_LOCAL_OUTBOX, EN_LOCAL_SENTITEMS}, EN_SIM_OUTBOX},
        {UTPS_SMS_MEM_DEVICE, {EN_SIM_ROOT}, EN_DEVICE_ROOT},
        {UTPS_SMS_MEM_DEVICE, {EN_SIM_OUTBOX, EN_LOCAL_OUTBOX, EN_LOCAL_SENTITEMS},
         EN_DEVICE_OUTBOX},
        {UTPS_SMS_MEM_DEVICE, {EN_SIM_INBOX, EN_LOCAL_INBOX}, EN_DEVICE_INBOX},
        {UTPS_SMS_MEM_PC, {EN_DEVICE_ROOT, EN_SIM_ROOT}, EN_LOCAL_ROOT},
        {UTPS_SMS_MEM_PC, {EN_DEVICE_INBOX, EN_SIM_INBOX}, EN_LOCAL_INBOX},
        {UTPS_SMS_MEM_PC, {EN_DEVICE_OUTBOX, EN_SIM_OUTBOX}, EN_LOCAL_OUTBOX},
    };
    return rules;
}
} // namespace

void SMSUIMainDlg::connectOperationSignals()
{
    // Worker results, in the order the worker emits them; finished() follows the last.
    connectThreadFinished(&m_SMSThreadInst, m_SMSThreadInst.runMutex(), this, [this] {
        onCloseWaitingDialog();
        onFinished();
    });
    connect(&m_SMSThreadInst, &SMSThreadUI::deleteSignalEvent, this,
            &SMSUIMainDlg::onDeleteMessage);
    connect(&m_SMSThreadInst, &SMSThreadUI::recoverSignalEvent, this,
            &SMSUIMainDlg::onrecoverMessage);
    connect(&m_SMSThreadInst, &SMSThreadUI::SendSignalEvent, this,
            &SMSUIMainDlg::onSendSmsResult);
    connect(&m_SMSThreadInst, &SMSThreadUI::moveOrCopyEvent, this,
            &SMSUIMainDlg::onSmsMoveOrCopy);
    // The bar and the count follow the worker while the batch runs. The units the dialog
    // counts stay the results, which all arrive after the commit: its count is put back.
    connect(&m_SMSThreadInst, &SMSThreadUI::batchProgressShown, this, [this](int handled, int total) {
        SMSWaitingDlg *dialog = m_pSMSWaitingDlgInstance;
        if (!dialog || handled >= total || total != dialog->m_iMaximum)
            return;
        const int counted = dialog->m_iSteps;
        dialog->m_iSteps = handled - 1;
        dialog->updateProgressBarLabel(handled, total);
        dialog->m_iSteps = counted;
    });
    if (m_pStatusLogicObject) {
        connect(m_pStatusLogicObject, &SMSStatusUILogic::DeleteSMSInUiService, this,
                &SMSUIMainDlg::onDeleteSMS);
        connect(m_pStatusLogicObject, &SMSStatusUILogic::SMSSentRecord, this,
                &SMSUIMainDlg::onSMSSentrecordRecieved);
        connect(m_pStatusLogicObject, &SMSStatusUILogic::progressbarCloseEvent, this,
                &SMSUIMainDlg::onCloseProgressbarDialog);
        connect(m_pStatusLogicObject, &SMSStatusUILogic::CallBackDelete, this,
                &SMSUIMainDlg::OnCallBackDeleteSms);
        connect(m_pStatusLogicObject, &SMSStatusUILogic::sentCopySettled, this,
                &SMSUIMainDlg::onSentCopySettled);
    }
    if (m_pDeleteShortcut)
        connect(m_pDeleteShortcut, &QShortcut::activated, this, &SMSUIMainDlg::OnDeleteKeyPress,
                Qt::UniqueConnection);
}

bool SMSUIMainDlg::canStartBatch() const
{
    if (!m_pCurrentTable || !m_pStatusLogicObject) {
        qCDebug(lcSmsWindow) << "no current table: command ignored";
        return false;
    }
    // The worker takes one batch at a time; its record list and the counters belong to
    // the batch under way.
    if (m_SMSThreadInst.isRunning()) {
        qCWarning(lcSmsWindow) << "a batch is still running: command ignored";
        return false;
    }
    return true;
}

SMSUIMainDlg::Collected SMSUIMainDlg::collectRecords(bool allRows) const
{
    Collected collected;
    if (!m_pCurrentTable)
        return collected;
    QList<int> rows;
    if (allRows) {
        for (int row = 0; row < m_pCurrentTable->rowCount(); ++row)
            rows.append(row);
    } else {
        rows = m_pCurrentTable->selectedRowNumbers();
    }
    for (int row : std::as_const(rows)) {
        // A row without a record (never expected) is skipped, so that the units counted
        // are exactly the messages the worker will report on.
        const SmsRecord *record = m_pCurrentTable->recordAt(row);
        if (!record)
            continue;
        collected.records.append(*record);
        collected.rows.append(row);
        if (record->iReadStatus == 1)
            collected.unread = true;
    }
    return collected;
}

int SMSUIMainDlg::askConfirmation(const QString &text)
{
    const int answer = CommonUtils::ShowMessage(
        QMessageBox::Question, this, tr(QStringLiteral("IDS_STR_PROMPT")), text,
        QStringLiteral("IDS_OK"), QStringLiteral("IDS_CANCEL"), QString(), /* modal */ false,
        Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint,
        &m_pConfirmBox, QString(), true);
    m_pConfirmBox = nullptr;
    return answer;
}

void SMSUIMainDlg::startBatch(BatchKind kind, int dialogCode, _SMS_OPERATION_TYPE operation,
                              const Collected &collected, int destination)
{
    // The last batch's end first: its steps belong to the counters reset below.
    m_batchEnd.finishNow();
    const int units = collected.records.size();
    if (m_pSMSWaitingDlgInstance) {
        m_pSMSWaitingDlgInstance->SetProgressBarCanceled(false);
        m_pSMSWaitingDlgInstance->m_iSteps = 0;
        m_pSMSWaitingDlgInstance->m_iMaximum = units;
        m_pSMSWaitingDlgInstance->ShowAnimationDialog(this, dialogCode);
    }
    resetBatchCounters();
    m_batchKind = kind;
    m_iOperationUnits = units;
    m_handledRows = collected.rows;
    QList<SmsRecord> records = collected.records;
    m_SMSThreadInst.SetSmsThreadOperation(operation, records, getCurrentFrom(m_iSelectedTreeNode),
                                          destination, m_iSelectedTreeNode);
    m_SMSThreadInst.start(QThread::InheritPriority);
}

void SMSUIMainDlg::resetBatchCounters()
{
    m_batchKind = BatchNone;
    m_iOperationUnits = 0;
    m_iReportedUnits = 0;
    m_iMoveCopySuccess = 0;
    m_iMoveCopyFail = 0;
    m_iBatchFail = 0;
    m_handledRows.clear();
    m_reportedRows.clear();
    m_bDestinationFull = false;
}

void SMSUIMainDlg::startDelete(bool allRows)
{
    m_reportedRows.clear();
    if (!canStartBatch())
        return;
    const Collected collected = collectRecords(allRows);
    if (collected.records.isEmpty()) {
        qCDebug(lcSmsWindow) << "nothing to delete";
        return;
    }
    const QString key = allRows ? QStringLiteral("IDS_STR_CLEARALL") : QStringLiteral("IDS_STR_DELETE");
    if (askConfirmation(tr(key)) != CommonUtils::FirstButton)
        return;
    // The answer may come after the current folder changed: act on what was confirmed.
    if (!canStartBatch())
        return;
    m_bDeletedUnread = collected.unread;
    m_iRowAfterDelete = allRows || collected.rows.isEmpty()
        ? -1
        : *std::min_element(collected.rows.cbegin(), collected.rows.cend());
    m_pTableAfterDelete = m_pCurrentTable;
    startBatch(BatchDelete, SMSWaitingDlg::OpDelete, DC_SMS_SELECTED_DELETE, collected,
               EN_LOCAL_TRASH);
}

void SMSUIMainDlg::onButtonClickDelete()
{
    startDelete(/* allRows */ false);
}

void SMSUIMainDlg::onButtonClickDeleteAll()
{
    startDelete(/* allRows */ true);
}

void SMSUIMainDlg::OnDeleteKeyPress()
{
    if (m_pCurrentTable && m_pCurrentTable->selectedItems().size() >= kCellsPerRow)
        onButtonClickDelete();
}

int SMSUIMainDlg::storageOfMenuText(const QString &menuText) const
{
    if (menuText == GetSIMText(QStringLiteral("IDS_TREE_SIM")))
        return UTPS_SMS_MEM_SIM;
    if (menuText == tr(QStringLiteral("IDS_TREE_DEVICE")))
        return UTPS_SMS_MEM_DEVICE;
    return UTPS_SMS_MEM_PC;
}

int SMSUIMainDlg::destinationForStorage(int storage) const
{
    for (const DestinationRule &rule : destinationRules()) {
        if (rule.storage == storage && rule.from.contains(m_iSelectedTreeNode))
            return rule.destination;
    }
    return -1;
}

int SMSUIMainDlg::getPositionTobeMoved(const QString &menuText) const
{
    return destinationForStorage(storageOfMenuText(menuText));
}

QString SMSUIMainDlg::storageName(int storage) const
{
    switch (storage) {
    case UTPS_SMS_MEM_SIM:
        return m_pEditLogic ? m_pEditLogic->GetUserIdentityByString() : QString();
    case UTPS_SMS_MEM_DEVICE:
        return tr(QStringLiteral("IDS_TREE_DEVICE"));
    default:
        return tr(QStringLiteral("IDS_TREE_LOCAL"));
    }
}

int SMSUIMainDlg::showConfirmationBeforeMove(int code, int storage)
{
    const QString key = code == kMoveCode ? QStringLiteral("IDS_STR_MOVE2")
                                          : QStringLiteral("IDS_STR_COPY2");
    return askConfirmation(tr(key).replace(QLatin1String("%s"), storageName(storage)));
}

int SMSUIMainDlg::showConfirmationBeforeMoveAll(int code, int storage)
{
    const QString key = code == kMoveCode ? QStringLiteral("IDS_STR_MOVEALL2")
                                          : QStringLiteral("IDS_STR_COPYALL2");
    return askConfirmation(tr(key).replace(QLatin1String("%s"), storageName(storage)));
}

void SMSUIMainDlg::startMoveOrCopy(int storage, bool allRows)
{
    // Whatever happens below, the next command is a move unless it says otherwise.
    const int code = m_iMoveCopyCode;
    m_iMoveCopyCode = kMoveCode;
    if (!canStartBatch())
        return;
    const int destination = destinationForStorage(storage);
    if (destination < 0) {
        qCWarning(lcSmsWindow) << "no destination on storage" << storage << "from position"
                               << m_iSelectedTreeNode;
        return;
    }
    const Collected collected = collectRecords(allRows);
    if (collected.records.isEmpty())
        return;
    const int answer = allRows ? showConfirmationBeforeMoveAll(code, storage)
                               : showConfirmationBeforeMove(code, storage);
    if (answer != CommonUtils::FirstButton || !canStartBatch())
        return;
    m_bRootNodeMove = m_iSelectedTreeNode == EN_SIM_ROOT || m_iSelectedTreeNode == EN_DEVICE_ROOT;
    startBatch(BatchMoveCopy, code, code == kMoveCode ? DC_SMS_MOVE : DC_SMS_COPY, collected,
               destination);
}

void SMSUIMainDlg::onClickMove(int storage)
{
    startMoveOrCopy(storage, /* allRows */ false);
}

void SMSUIMainDlg::onClickCopy(int storage)
{
    m_iMoveCopyCode = kCopyCode;
    startMoveOrCopy(storage, /* allRows */ false);
}

void SMSUIMainDlg::onClickMoveAll(int storage)
{
    startMoveOrCopy(storage, /* allRows */ true);
}

void SMSUIMainDlg::onClickCopyAll(int storage)
{
    m_iMoveCopyCode = kCopyCode;
    startMoveOrCopy(storage, /* allRows */ true);
}

void SMSUIMainDlg::onButtonClickRecoverMessages()
{
    if (!canStartBatch())
        return;
    if (!m_pSMSWaitingDlgInstance)
        m_pSMSWaitingDlgInstance = SMSWaitingDlg::Instance();
    const Collected collected = collectRecords(/* allRows */ false);
    if (collected.records.isEmpty())
        return;
    startBatch(BatchRecover, SMSWaitingDlg::OpRecover, DC_SMS_RECOVER, collected,
               EN_LOCAL_TRASH);
}
