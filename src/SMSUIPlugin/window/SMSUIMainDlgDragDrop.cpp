// SPDX-License-Identifier: GPL-3.0-or-later
// Drag and drop of messages from a table onto a folder: what a press collects, which drop
// moves, copies or is cancelled, and handing the messages to the worker. The results take
// the same path as the Move and Copy commands' (SMSUIMainDlgOperationResults.cpp).
#include "SMSUIMainDlg.h"

#include <QSignalBlocker>
#include <QTableWidgetSelectionRange>
#include <QTreeWidgetItem>

#include <initializer_list>

#include "store/SMSStatusUILogic.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SMSWaitingDlg.h"
#include "SmsLog.h"

namespace {
enum DropChoice { DropCancel, DropMove, DropCopy };

bool oneOf(int position, std::initializer_list<int> positions)
{
    for (int p : positions) {
        if (p == position)
            return true;
    }
    return false;
}
} // namespace

void SMSUIMainDlg::initDragAndDrop()
{
    connect(&m_SMSThreadInst, &SMSThreadUI::smsDragged, this, &SMSUIMainDlg::onDraggSmsResult,
            Qt::UniqueConnection);
    // Whether a card outbox message may go to the PC outbox or sent items depends on the
    // messages being dragged, which only the window knows. The store asks on the GUI
    // thread only (from the tree's drag handling).
    if (m_pStatusLogicObject)
        m_pStatusLogicObject->setAcceptDropLOutboxOrLSenditemHook([this](int target) {
            return isAcceptDropLOutboxOrLSenditem(static_cast<_EN_SMS_POSITION>(target));
        });
}

QTreeWidgetItem *SMSUIMainDlg::dragOriginItem() const
{
    // Looked up by position each time: a card's folders may be rebuilt while a drag runs.
    if (m_iDragSourcePosition < 0 || m_iDragSourcePosition >= EN_POS_INVALID)
        return nullptr;
    return treeItem(static_cast<_EN_SMS_POSITION>(m_iDragSourcePosition));
}

void SMSUIMainDlg::beginDragCollection(SMSUITableWidget *table)
{
    if (!table)
        return;
    m_iDragSourcePosition = m_iSelectedTreeNode;
    m_selectedRecords.clear();
    m_iSelectedDragRows = 0;
    const QList<QTableWidgetSelectionRange> ranges = table->selectedRanges();
    for (const QTableWidgetSelectionRange &range : ranges) {
        m_iSelectedDragRows += range.rowCount();
        for (int row = range.topRow(); row <= range.bottomRow(); ++row) {
            for (int column = range.leftColumn(); column <= range.rightColumn(); ++column) {
                if (const SmsRecord *record = SMSUITableWidget::recordOf(table->item(row, column)))
                    m_selectedRecords.append(*record);
            }
        }
    }
}

void SMSUIMainDlg::adoptTreeCurrentItem()
{
    QTreeWidgetItem *current = m_pTreeWidget ? m_pTreeWidget->currentItem() : nullptr;
    if (!current)
        return;
    m_pCurrentTreeItem = current;
    getSMSTreeNodePosition(current);
}

void SMSUIMainDlg::markDropped(bool copyModifier)
{
    m_iDraggedFlag = 1;
    m_bDragOver = false;
    m_bCopyModifier = copyModifier;
}

bool SMSUIMainDlg::isAcceptDropLOutboxOrLSenditem(_EN_SMS_POSITION target) const
{
    if (m_selectedRecords.isEmpty())
        return false;
    // The PC outbox holds what is still to be sent (status 1), sent items the rest.
    for (const SmsRecord &record : m_selectedRecords) {
        if (target == EN_LOCAL_OUTBOX && record.iStatus == 1)
            return true;
        if (target == EN_LOCAL_SENTITEMS && record.iStatus != 1)
            return true;
    }
    return target != EN_LOCAL_OUTBOX && target != EN_LOCAL_SENTITEMS;
}

void SMSUIMainDlg::restoreDragOrigin()
{
    if (m_iDragSourcePosition >= 0 && m_iDragSourcePosition < EN_POS_INVALID)
        m_iSelectedTreeNode = static_cast<_EN_SMS_POSITION>(m_iDragSourcePosition);
    QTreeWidgetItem *origin = dragOriginItem();
    if (m_pTreeWidget && origin)
        m_pTreeWidget->setCurrentItemQuietly(origin);
}

void SMSUIMainDlg::cancelDrop()
{
    m_iDraggedFlag = 0;
    m_bCopyModifier = false;
    restoreDragOrigin();
}

void SMSUIMainDlg::enableDrop(int source)
{
    if (oneOf(source, {EN_LOCAL_OUTBOX, EN_SIM_OUTBOX, EN_DEVICE_OUTBOX, EN_LOCAL_SENTITEMS}))
        enableDropForOutbox(source);
    else if (oneOf(source, {EN_LOCAL_INBOX, EN_SIM_INBOX, EN_DEVICE_INBOX}))
        enableDroForInbox(source);
    else
        enableDropForDelete(source);
}

namespace {
DropChoice outboxChoice(int source, int target)
{
    if (source == EN_LOCAL_OUTBOX || source == EN_LOCAL_SENTITEMS) {
        if (oneOf(target, {EN_LOCAL_INBOX, EN_LOCAL_REPORT, EN_SIM_INBOX, EN_DEVICE_INBOX,
                           EN_SIM_ROOT, EN_LOCAL_ROOT, EN_DEVICE_ROOT, EN_LOCAL_SENTITEMS,
                           EN_LOCAL_OUTBOX}))
            return DropCancel;
        if (oneOf(target, {EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE, EN_LOCAL_TRASH}))
            return DropMove;
        return DropCopy;
    }
    if (oneOf(target, {EN_LOCAL_INBOX, EN_LOCAL_REPORT, EN_SIM_INBOX, EN_DEVICE_INBOX,
                       EN_SIM_ROOT, EN_LOCAL_ROOT, EN_DEVICE_ROOT, source}))
        return DropCancel;
    // A card keeps its messages: even the trash gets a copy.
    return DropCopy;
}

DropChoice inboxChoice(int source, int target)
{
    if (source == EN_LOCAL_INBOX) {
        if (oneOf(target, {EN_LOCAL_OUTBOX, EN_LOCAL_INBOX, EN_LOCAL_REPORT, EN_SIM_OUTBOX,
                           EN_DEVICE_OUTBOX, EN_SIM_ROOT, EN_LOCAL_ROOT, EN_DEVICE_ROOT,
                           EN_LOCAL_SENTITEMS}))
            return DropCancel;
        if (oneOf(target, {EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE, EN_LOCAL_TRASH}))
            return DropMove;
        return DropCopy;
    }
    if (oneOf(target, {EN_LOCAL_OUTBOX, EN_LOCAL_REPORT, EN_SIM_OUTBOX, EN_DEVICE_OUTBOX,
                       EN_SIM_ROOT, EN_LOCAL_ROOT, EN_DEVICE_ROOT, EN_LOCAL_SENTITEMS, source}))
        return DropCancel;
    return DropCopy;
}

DropChoice pcFolderChoice(int source, int target)
{
    switch (source) {
    case EN_LOCAL_DRAFT:
        return oneOf(target, {EN_LOCAL_FAVORITE, EN_LOCAL_TRASH}) ? DropMove : DropCancel;
    case EN_LOCAL_FAVORITE:
        return oneOf(target, {EN_LOCAL_DRAFT, EN_LOCAL_TRASH}) ? DropMove : DropCancel;
    case EN_LOCAL_TRASH:
        return oneOf(target, {EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE}) ? DropMove : DropCancel;
    default:
        return DropCancel;
    }
}
} // namespace

void SMSUIMainDlg::applyDropChoice(int choice)
{
    switch (choice) {
    case DropMove:
        PerformDropForFolder();
        break;
    case DropCopy:
        // The messages stay where they are shown: the folder view does not follow the drop.
        restoreDragOrigin();
        performSmsDragOperation(0, DC_SMS_DRAG_COPY);
        break;
    default:
        cancelDrop();
        break;
    }
}

void SMSUIMainDlg::enableDropForOutbox(int source)
{
    applyDropChoice(outboxChoice(source, m_iDropTargetPosition));
}

void SMSUIMainDlg::enableDroForInbox(int source)
{
    applyDropChoice(inboxChoice(source, m_iDropTargetPosition));
}

void SMSUIMainDlg::enableDropForDelete(int source)
{
    applyDropChoice(pcFolderChoice(source, m_iDropTargetPosition));
}

void SMSUIMainDlg::PerformDropForFolder()
{
    // The source folder stays shown while its messages leave it: the worker reads from
    // the selected folder's storage, and the table refreshes when the batch ends.
    restoreDragOrigin();
    const bool copy = m_bCopyModifier;
    m_bCopyModifier = false;
    performSmsDragOperation(0, copy ? DC_SMS_DRAG_COPY : DC_SMS_DRAG_MOVE);
}

void SMSUIMainDlg::performSmsDragOperation(int, int operation)
{
    if (!m_iDraggedFlag)
        return;
    m_iDraggedFlag = 0;
    const int target = m_iDropTargetPosition;
    if (m_pTreeWidget)
        m_pTreeWidget->clearDroppedIds();
    m_iSelectedDragRows = 0;
    m_iMoveCopySuccess = 0;
    m_iMoveCopyFail = 0;
    if (m_selectedRecords.isEmpty() || !canStartBatch()) {
        m_selectedRecords.clear();
        return;
    }
    Collected collected;
    collected.records = m_selectedRecords;
    const bool copy = operation == DC_SMS_DRAG_COPY;
    m_bRootNodeMove = false;
    // The progress dialog counts the dragged messages; its move label is code 4's.
    startBatch(BatchMoveCopy, copy ? SMSWaitingDlg::OpDragCopy : SMSWaitingDlg::OpRecover,
               copy ? DC_SMS_DRAG_COPY : DC_SMS_DRAG_MOVE, collected, target);
}

void SMSUIMainDlg::onDraggSmsResult(bool done)
{
    if (!m_pSMSWaitingDlgInstance)
        return;
    // One unit of the batch, counted, judged and closed exactly like a Move/Copy result,
    // the full-destination stop included.
    onSmsMoveOrCopy(done, 0);
}
