// SPDX-License-Identifier: GPL-3.0-or-later
// Reading new messages: the read state written to the SDK with icons, counts and the host's
// status bar following; opening the inbox at a new message from the pop-up or from the
// host's SMS notice; the labels of delivery reports stored without text.
#include "SMSUIMainDlg.h"

#include <QTreeWidgetItem>

#include "HostInterfaces.h"
#include "PluginIds.h"
#include "operations/SMSEditUILogic.h"
#include "store/SMSStatusUILogic.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SmsLog.h"
#include "utps_sdk.h"

namespace {
bool isInbox(int position)
{
    return position == EN_LOCAL_INBOX || position == EN_SIM_INBOX || position == EN_DEVICE_INBOX;
}

// The tables that show the same records as the table of position, whose icons must follow
// when messages are read there.
QList<_EN_SMS_POSITION> counterpartTables(int position)
{
    switch (position) {
    case EN_LOCAL_INBOX:
    case EN_LOCAL_REPORT:
        return {EN_LOCAL_ROOT};
    case EN_SIM_INBOX:
        return {EN_SIM_ROOT};
    case EN_DEVICE_INBOX:
        return {EN_DEVICE_ROOT};
    case EN_LOCAL_ROOT:
        return {EN_LOCAL_REPORT, EN_LOCAL_INBOX};
    case EN_DEVICE_ROOT:
        return {EN_DEVICE_INBOX};
    case EN_SIM_ROOT:
        return {EN_SIM_INBOX};
    default:
        return {};
    }
}

_EN_SMS_POSITION rootTableOf(int position)
{
    if (position == EN_LOCAL_REPORT || position == EN_LOCAL_INBOX)
        return EN_LOCAL_ROOT;
    return position == EN_SIM_INBOX ? EN_SIM_ROOT : EN_DEVICE_ROOT;
}
} // namespace

void SMSUIMainDlg::notifyStatusBar()
{
    INotifyService *notify = notifyService();
    if (!notify || !m_pEditLogic || !m_pCurrentTable || m_iCurrentFrom < 0) {
        qCDebug(lcSmsWindow) << "read state not written: no notify service, send logic or table";
        return;
    }
    const auto memory = static_cast<_UTPS_EN_SMS_MEM>(m_iCurrentFrom);
    long result = UTPS_SMSSrv_BeginTransaction(memory);
    if (result != 0) {
        qCWarning(lcSmsWindow) << "UTPS_SMSSrv_BeginTransaction returned error" << result;
        return;
    }
    QList<QPair<SmsRecord *, QTableWidgetItem *>> changed;
    for (int row : m_pCurrentTable->selectedRowNumbers()) {
        QTableWidgetItem *item = m_pCurrentTable->item(row, 0);
        SmsRecord *record = SMSUITableWidget::recordOf(item);
        if (!record || !setReadMessageIcon(record, item))
            continue;
        if (m_pEditLogic->UpdateSms(record) != 0) {
            restoreUnread(record, item);
            continue;
        }
        changed.append({record, item});
    }
    result = UTPS_SMSSrv_EndTransaction(memory);
    if (result != 0) {
        // The batch was undone in the SDK: the messages are unread there, so they stay
        // unread here too.
        qCWarning(lcSmsWindow) << "UTPS_SMSSrv_EndTransaction returned" << result;
        for (const auto &entry : std::as_const(changed))
            restoreUnread(entry.first, entry.second);
        changed.clear();
    }
    if (changed.isEmpty())
        return;
    for (_EN_SMS_POSITION position : counterpartTables(m_iSelectedTreeNode))
        syncUnreadSMSTable(position);
    notify->SendTo(QString::fromLatin1(PluginIds::StatusBar), HostEvent::StatusBarNotice, 0, 0);
}

void SMSUIMainDlg::restoreUnread(SmsRecord *record, QTableWidgetItem *item)
{
    const QImage unread = m_pStatusLogicObject ? m_pStatusLogicObject->GetTableImage(1) : QImage();
    record->iReadStatus = 1;
    record->imgIcon = unread;
    if (item)
        setTableIcon(item, unread, isRightToLeft());
}

void SMSUIMainDlg::syncUnreadSMSTable(_EN_SMS_POSITION position)
{
    SMSUITableWidget *table = m_tableMap.value(position);
    if (!table || !m_pStatusLogicObject) {
        qCDebug(lcSmsWindow) << "Error: the table does not exist" << position;
        return;
    }
    disconnectTableSignals(table);
    const QImage readImage = m_pStatusLogicObject->GetTableImage(0);
    const QIcon readIcon = tableIcon(readImage, isRightToLeft());
    for (int row = 0; row < table->rowCount(); ++row) {
        const SmsRecord *record = table->recordAt(row);
        if (!record || record->iReadStatus != 0
            || (!isInbox(record->enPos) && record->enPos != EN_LOCAL_REPORT))
            continue;
        QTableWidgetItem *item = table->item(row, 0);
        // Most rows show the read icon already; only the stale ones are touched.
        if (item->icon().cacheKey() != readIcon.cacheKey())
            setTableIcon(item, readImage, isRightToLeft());
    }
    if (m_pCurrentTreeItem)
        loadPreviewtextOnTreeNodeClick(m_pCurrentTreeItem->text(0));
    updateCount();
    connectTableSignals(table);
    table->setFocus();
}

void SMSUIMainDlg::sendNotificationAfterReceivingMessage()
{
    if (!m_pCurrentTable)
        return;
    int lastPosition = -1;
    for (int row : m_pCurrentTable->selectedRowNumbers()) {
        QTableWidgetItem *item = m_pCurrentTable->item(row, 0);
        SmsRecord *record = SMSUITableWidget::recordOf(item);
        if (!record)
            continue;
        if (setReadMessageIcon(record, item) && m_pEditLogic)
            m_pEditLogic->UpdateSms(record);
        lastPosition = record->enPos;
    }
    INotifyService *notify = notifyService();
    if (!notify) {
        qCDebug(lcSmsWindow) << "no notify service: read state not announced";
        return;
    }
    notify->SendTo(QString::fromLatin1(PluginIds::StatusBar), HostEvent::StatusBarNotice, 0, 0);
    // Only read states changed, no rows: the root's icons follow without a rebuild.
    if (lastPosition >= 0)
        syncUnreadSMSTable(rootTableOf(lastPosition));
}

bool SMSUIMainDlg::checkUnreadMsgInReport(int position)
{
    return m_pStatusLogicObject
        && m_pStatusLogicObject->IsAnyMessagesUnRead(static_cast<_EN_SMS_POSITION>(position));
}

void SMSUIMainDlg::selectTreeTarget(QTreeWidgetItem *item)
{
    // A folder that is gone (SIM or device removed) falls back to the PC inbox.
    if (!item || item->isHidden() || (item->parent() && item->parent()->isHidden()))
        item = m_pLocalInbox;
    item->setSelected(true);
    m_pTreeWidget->setCurrentItem(item);
}

void SMSUIMainDlg::ViewSmsInbox()
{
    if (!m_pTreeWidget || !m_pLocalInbox)
        return;
    if (m_SMSThreadInst.isRunning() && m_SMSThreadInst.operation() != DC_SMS_SEND
        && (isInbox(m_SMSThreadInst.destination()) || isInbox(m_SMSThreadInst.selectedNode()))) {
        qCDebug(lcSmsWindow) << "Returning the control since smsThread is already running";
        return;
    }
    clearTreeNodeFocus();
    QTreeWidgetItem *target = m_pLocalInbox;
    switch (m_iLastNewMsgPosition) {
    case EN_SIM_INBOX:
        target = m_pSimInbox;
        break;
    case EN_LOCAL_REPORT:
        target = m_pLocalReport;
        if (m_pLocalInbox->isSelected())
            m_pLocalInbox->setSelected(false);
        else if (m_pSimInbox && m_pSimInbox->isSelected())
            m_pSimInbox->setSelected(false);
        break;
    case EN_DEVICE_INBOX:
        target = m_pDeviceInbox;
        break;
    case EN_LOCAL_CBSBOX:
        target = m_pCbsBox;
        break;
    default:
        break;
    }
    selectTreeTarget(target);
    if (!m_pCurrentTable) {
        qCWarning(lcSmsWindow) << "m_pTableWidgetSms is NULL";
        return;
    }
    m_pCurrentTable->setFocus();
    m_pCurrentTable->setCurrentCell(rowOfLastArrival(), 0);
    sendNotificationAfterReceivingMessage();
    enableToolBarItem(9001);
    if ((m_iLastNewMsgPosition == EN_SIM_INBOX || m_iLastNewMsgPosition == EN_LOCAL_INBOX)
        && m_bCanSendSMS)
        enableAllToolbarItems();
    onClickTableRow(0);
}

int SMSUIMainDlg::rowOfLastArrival() const
{
    // The newest message is the first row in the usual order (time, newest first); in any
    // other order the row is looked up.
    for (int row = 0; m_pCurrentTable && row < m_pCurrentTable->rowCount(); ++row) {
        const SmsRecord *record = m_pCurrentTable->recordAt(row);
        if (record && record->iMsgId == m_iLastArrivedId && record->enPos == m_iLastArrivedPosition)
            return row;
    }
    return 0;
}

void SMSUIMainDlg::LaunchSmsInbox()
{
    if (!m_pTreeWidget || !m_pLocalInbox || !m_pLocalReport)
        return;
    if (m_pLocalInbox->isSelected()) {
        if (checkUnreadMsgInReport(EN_LOCAL_REPORT)) {
            m_pLocalInbox->setSelected(false);
            selectTreeTarget(m_pLocalReport);
        } else if (!checkUnreadMsgInReport(EN_LOCAL_INBOX)) {
            if (checkUnreadMsgInReport(EN_SIM_INBOX) && m_pSimInbox)
                selectTreeTarget(m_pSimInbox);
            else if (checkUnreadMsgInReport(EN_DEVICE_INBOX) && m_pDeviceInbox)
                selectTreeTarget(m_pDeviceInbox);
        }
    } else if (m_pLocalReport->isSelected()) {
        if (checkUnreadMsgInReport(EN_LOCAL_INBOX)) {
            m_pLocalReport->setSelected(false);
            selectTreeTarget(m_pLocalInbox);
        } else if (!checkUnreadMsgInReport(EN_LOCAL_REPORT)) {
            if (checkUnreadMsgInReport(EN_SIM_INBOX) && m_pSimInbox)
                selectTreeTarget(m_pSimInbox);
            else if (checkUnreadMsgInReport(EN_DEVICE_INBOX) && m_pDeviceInbox)
                selectTreeTarget(m_pDeviceInbox);
        }
    } else {
        launchTreeItemOnnewMsgClick(checkUnreadMsgInReport(EN_LOCAL_INBOX),
                                    checkUnreadMsgInReport(EN_LOCAL_REPORT),
                                    checkUnreadMsgInReport(EN_SIM_INBOX));
    }
    m_pTreeWidget->setFocus();
}

void SMSUIMainDlg::launchTreeItemOnnewMsgClick(bool unreadInbox, bool unreadReports,
                                               bool unreadSimInbox)
{
    if (!m_pTreeWidget)
        return;
    if (QTreeWidgetItem *current = m_pTreeWidget->currentItem())
        current->setSelected(false);
    if (m_pCurrentTreeItem)
        m_pCurrentTreeItem->setSelected(false);
    QTreeWidgetItem *target = nullptr;
    if (unreadInbox)
        target = m_pLocalInbox;
    else if (unreadReports)
        target = m_pLocalReport;
    else if (unreadSimInbox && m_pSimInbox)
        target = m_pSimInbox;
    else if (m_pDeviceInbox && checkUnreadMsgInReport(EN_DEVICE_INBOX))
        target = m_pDeviceInbox;
    // Nothing unread anywhere: the user asked for the messages, so the inbox opens rather
    // than a tree with nothing selected.
    selectTreeTarget(target);
}

void SMSUIMainDlg::setReoprtFolderContent()
{
    SMSUITableWidget *table = m_tableMap.value(EN_LOCAL_REPORT);
    if (!table)
        return;
    bool changed = false;
    for (int row = 0; row < table->rowCount(); ++row) {
        SmsRecord *record = table->recordAt(row);
        if (!record)
            break;
        _UTPS_ST_SMS_RECORD *sdk = nullptr;
        long result = UTPS_SMSSrv_CreateSMSRecord(&sdk, nullptr, nullptr);
        if (result != 0 || !sdk) {
            qCWarning(lcSmsWindow) << "UTPS_SMSSrv_CreateSMSRecord returned" << result;
            continue;
        }
        sdk->iMsgId = record->iMsgId;
        result = UTPS_SMSSrv_GetMsg(sdk, UTPS_SMS_MEM_PC);
        const bool storedWithoutText = result == 0 && (!sdk->pszContent || !sdk->pszContent[0]);
        UTPS_SMSSrv_ReleaseSMSRecord(&sdk);
        if (result != 0) {
            qCWarning(lcSmsWindow) << "UTPS_SMSSrv_GetMsg returned" << result << "for report"
                                   << record->iMsgId;
            continue;
        }
        if (!storedWithoutText)
            continue;
        QString label = record->strContent;
        if (record->iStatus == 0 && record->iReportResult == 0)
            label = tr(QStringLiteral("IDS_LBL_SUCCESS"));
        else if (record->iStatus == 1 && record->iReportResult == 1)
            label = tr(QStringLiteral("IDS_LBL_FAILED"));
        else if (record->iReportResult == 2)
            label = tr(QStringLiteral("IDS_LBL_PENDING"));
        if (label != record->strContent) {
            record->strContent = label;
            changed = true;
        }
    }
    // Rebuilt only when a label changed (a language change), not at every start.
    if (changed) {
        syncSMSTableWithBuffers(EN_LOCAL_REPORT);
        syncSMSTableWithBuffers(EN_LOCAL_ROOT);
    }
}
