// SPDX-License-Identifier: GPL-3.0-or-later
// The window's reactions to SIM presence and network state, as the host and the store
// report them. The editors' Send buttons and the context menu are not touched here: they
// follow these flags when they are built.
#include "SMSUIMainDlg.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

#include "store/SMSStatusUILogic.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SmsLog.h"
#include "utps_sdk.h"

namespace {
constexpr int kDelete = 9001;
constexpr int kSend = 9002;
constexpr int kReply = 9003;
constexpr int kForward = 9004;
// A selected row spans more than two cells: "something is selected" for the toolbar.
constexpr int kSelectedCellsThreshold = 2;

const QList<_EN_SMS_POSITION> &localPositions()
{
    static const QList<_EN_SMS_POSITION> positions{EN_LOCAL_OUTBOX, EN_LOCAL_INBOX,
                                                   EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE,
                                                   EN_LOCAL_TRASH, EN_LOCAL_REPORT,
                                                   EN_LOCAL_SENTITEMS};
    return positions;
}

bool isCardPosition(int position)
{
    switch (position) {
    case EN_SIM_OUTBOX: case EN_SIM_INBOX: case EN_DEVICE_OUTBOX: case EN_DEVICE_INBOX:
    case EN_SIM_ROOT: case EN_DEVICE_ROOT:
        return true;
    default:
        return false;
    }
}
} // namespace

void SMSUIMainDlg::OnSimStatusChanged(bool present)
{
    if (!m_pStatusLogicObject) {
        qCWarning(lcSmsWindow) << "m_pStatusLogicObject is NULL";
        return;
    }
    int multiMode = 0;
    const long result = UTPS_DevSrv_GetMultiModeCardStatus(&multiMode, 0, 0);
    if (result != 0)
        qCWarning(lcSmsWindow) << "UTPS_DevSrv_GetMultiModeCardStatus failed:" << result;
    m_bMultiModeCard = result == 0 && multiMode != 0;
    if (m_pCurrentTable && m_pCurrentTable->selectedItems().size() > kSelectedCellsThreshold)
        enableToolBarItem(kDelete);

    // "Present" reaches us from the modem becoming ready and from the host, and neither
    // has asked the card: a missing or locked card would be taken as present, and the real
    // arrival later would look like no change and leave the card's folders hidden for good.
    // The card answers for itself; an absent report is believed as it comes.
    if (present && !m_pStatusLogicObject->IsSimValidForSMS()) {
        qCDebug(lcSmsWindow) << "SIM reported present but not usable for messages";
        present = false;
    }
    if (present == m_bSimState) {
        qCDebug(lcSmsWindow) << "SIM States are not changed:" << present;
        // A storage the modem lists but the tree lacks (it went with an earlier report and
        // its return was told before the window could see it) is looked for again.
        if (!m_bDeviceStorageAvailable || (m_bSimState && !m_bSimStorageAvailable))
            checkDevMemStatus(false);
        closeDialogsOfVanishedStorages();
        return;
    }
    m_bSimState = present;
    if (present) {
        qCDebug(lcSmsWindow) << "SIM is available";
        simremovalEnableDisableCheck();
    } else {
        qCDebug(lcSmsWindow) << "SIM is not available";
        releaseCardStorages();
    }
    rediscoverCardStorages();
}

void SMSUIMainDlg::onDeviceRemoved()
{
    if (!m_pStatusLogicObject)
        return;
    // The card went with the modem, whatever was last said about it: its folders, its
    // messages on screen and whatever was open about them go now, not only when a SIM
    // happened to be reported present. Without this a SIM taken out first leaves the
    // modem's messages on screen, still offered for Delete and Call.
    m_bSimState = false;
    m_iLastSimStatus = 0;
    releaseCardStorages();
    rediscoverCardStorages();
}

void SMSUIMainDlg::releaseCardStorages()
{
    for (DetectMemoryDeviceThread *detector : {&m_SimDetectThread, &m_DeviceDetectThread}) {
        // A restart asked for while it wound down would read a storage that is gone.
        detector->setProperty(kRestartDetectorProperty, false);
        detector->setStopRequest(true);
        detector->quit();
    }
    releaseStorageView(/* sim */ true);
    releaseStorageView(/* sim */ false);
    closePopupOnDeviceRemoval();
    operationAtSimRemoval();
}

void SMSUIMainDlg::rediscoverCardStorages()
{
    addSIMDeviceAction();
    if (!checkDevMemStatus(false)) {
        m_pStatusLogicObject->SyncBuffersWithPB();
        for (_EN_SMS_POSITION p : localPositions())
            syncSMSTableWithBuffers(p);
    }
    syncSMSTableWithBuffers(EN_LOCAL_ROOT);
    closeDialogsOfVanishedStorages();
}

void SMSUIMainDlg::releaseStorageView(bool sim)
{
    // The tables hold borrowed pointers into the buffer: empty them before it is freed.
    const QList<_EN_SMS_POSITION> positions =
        sim ? QList<_EN_SMS_POSITION>{EN_SIM_OUTBOX, EN_SIM_INBOX, EN_SIM_ROOT}
            : QList<_EN_SMS_POSITION>{EN_DEVICE_OUTBOX, EN_DEVICE_INBOX, EN_DEVICE_ROOT};
    for (_EN_SMS_POSITION p : positions)
        emptySMSTable(p);
    m_pStatusLogicObject->ReleaseSmsBuffer(sim ? UTPS_SMS_MEM_SIM : UTPS_SMS_MEM_DEVICE);
    // The subtree loads its tables only while collapsed (an expanded one counts as loaded):
    // after its messages were released it must load them again when the storage returns.
    if (QTreeWidgetItem *root = sim ? m_pSimRoot : m_pDeviceRoot) {
        if (m_pTreeWidget)
            m_pTreeWidget->collapseItem(root);
        else
            root->setExpanded(false);
    }
    updateCount();
}

void SMSUIMainDlg::simremovalEnableDisableCheck()
{
    enableSendButton(true);
    m_bNetworkStatus = m_pStatusLogicObject && m_pStatusLogicObject->GetNetworkModeStatus();
    const bool selected =
        m_pCurrentTable && m_pCurrentTable->selectedItems().size() > kSelectedCellsThreshold;
    if (selected && m_iSelectedTreeNode != EN_LOCAL_DRAFT) {
        if (m_bCanSendSMS)
            enableAllToolbarItems();
        if (m_iSelectedTreeNode == EN_LOCAL_TRASH) {
            for (int id : {kSend, kReply, kForward})
                disableToolBarItem(id);
        } else if (m_iSelectedTreeNode == EN_LOCAL_OUTBOX || m_iSelectedTreeNode == EN_SIM_OUTBOX
                   || m_iSelectedTreeNode == EN_DEVICE_OUTBOX
                   || m_iSelectedTreeNode == EN_LOCAL_SENTITEMS) {
            // Nobody to reply to in a folder of one's own messages.
            disableToolBarItem(kReply);
        }
    }
    if (m_bCanSendSMS) {
        enableRightClickItems();
    } else {
        for (int id : {kSend, kReply, kForward})
            disableToolBarItem(id);
        disableRightClickItems();
    }
}

void SMSUIMainDlg::operationAtSimRemoval()
{
    m_bSimStorageAvailable = false;
    m_bDeviceStorageAvailable = false;
    if (m_pSimRoot)
        m_pSimRoot->setHidden(true);
    if (m_pDeviceRoot)
        m_pDeviceRoot->setHidden(true);
    enableSendButton(false);
    for (int id : {kSend, kReply, kForward})
        disableToolBarItem(id);
    // A card folder that was open is gone: the PC inbox takes its place.
    if (isCardPosition(m_iSelectedTreeNode) && m_pCurrentTable && m_pLocalInbox && m_pTreeWidget) {
        m_pCurrentTreeItem = nullptr;
        m_pTreeWidget->setCurrentItem(m_pLocalInbox);
        onClickSMSTreeNode(m_pLocalInbox, 0);
    }
}

void SMSUIMainDlg::GetPresentNetworkStatus(bool up)
{
    m_bNetworkStatus = up;
    if (up) {
        enableSendButton(true);
        enableRightClickItems();
        // The commands come back as the selection allows: with nothing selected there is
        // nothing to send, reply to or forward.
        onClickTableRow(0);
    } else {
        disableAllToolbarItems();
        disableRightClickItems();
        enableSendButton(false);
    }
}
