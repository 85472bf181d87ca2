// SPDX-License-Identifier: GPL-3.0-or-later
// How the window follows the modem's state: the store's storage and SIM reports, the phone
// book becoming ready, the radio switch, and what a removed device leaves open.
#include "SMSUIMainDlg.h"

#include <QMessageBox>
#include <QTreeWidgetItem>

#include "CommonUtils.h"
#include "HostInterfaces.h"
#include "PluginIds.h"
#include "SmsLog.h"
#include "CrossThreadCalls.h"
#include "notify/SMSTaskbarNotifier.h"
#include "store/SMSStatusUILogic.h"
#include "SMSWaitingDlg.h"
#include "utps_sdk.h"

void SMSUIMainDlg::connectReactionSignals(SMSStatusUILogic *store)
{
    // The store's status reports have this one handler, sending states included, so that
    // no two handlers react to the same report.
    connect(store, &SMSStatusUILogic::memoryStatus, this, &SMSUIMainDlg::onSmsStatusChanged,
            Qt::UniqueConnection);
    connect(store, &SMSStatusUILogic::PBSIMNVReady, this, &SMSUIMainDlg::OnPBReadComplete,
            Qt::UniqueConnection);
    for (DetectMemoryDeviceThread *detector : {&m_SimDetectThread, &m_DeviceDetectThread}) {
        connectThreadFinished(detector, detector->runMutex(), this,
                              [this, detector] { onDetectorFinished(detector); });
    }
}

void SMSUIMainDlg::onSmsStatusChanged(int status)
{
    switch (status) {
    case UTPS_SMS_STATUS_READY:
        OnSimStatusChanged(true);
        break;
    case UTPS_SMS_STATUS_SIM_OK:
        qCDebug(lcSmsWindow) << "SIM is available (SIM_OK)";
        // Whether the card's storage is shown is what discovery has just found (the card
        // may have gone again, or be of a type that keeps no messages): claiming it
        // available regardless would take reads and arrivals for a folder nobody sees.
        OnSimStatusChanged(true);
        m_iLastSimStatus = status;
        break;
    case UTPS_SMS_STATUS_DEVICE_FULL:
    case UTPS_SMS_STATUS_SIM_FULL:
        m_iLastStorageStatus = status;
        createMemoryFullPopUp(status, true);
        break;
    case UTPS_SMS_STATUS_PC_FULL:
        m_iLastStorageStatus = status;
        createMemoryFullPopUp(status, false);
        break;
    case UTPS_SMS_STATUS_DEVICE_NOT_AVAILABLE:
        qCDebug(lcSmsWindow) << "Device is not available (DEVICE_NOT_AVAILABLE)";
        // Not a SIM report: with the card already gone a SIM report would change nothing,
        // and the modem's own folders would stay on screen.
        onDeviceRemoved();
        if (CommonUtils::IsMiniMode() && m_pNotifyService)
            m_pNotifyService->SendTo(QString::fromLatin1(PluginIds::MiniFrame),
                                     HostEvent::StatusBarNotice, 0, 0);
        break;
    case UTPS_SMS_STATUS_SIM_NOT_AVAILABLE:
        qCDebug(lcSmsWindow) << "SIM is not available (SIM_NOT_AVAILABLE)";
        // The SDK and the host both report a removal: the view is cleared once.
        if (m_iLastSimStatus != status) {
            OnSimStatusChanged(false);
            m_bSimStorageAvailable = false;
        }
        m_iLastSimStatus = status;
        break;
    case UTPS_SMS_STATUS_CAN_SEND_SMS:
        qCDebug(lcSmsWindow) << "Received CAN_SEND_SMS";
        setCanSendSMS(true);
        break;
    case UTPS_SMS_STATUS_CANNOT_SEND_SMS:
        qCDebug(lcSmsWindow) << "Received CANNOT_SEND_SMS";
        setCanSendSMS(false);
        break;
    default:
        qCDebug(lcSmsWindow) << "unknown storage status ignored:" << status;
        break;
    }
}

void SMSUIMainDlg::OnPBReadComplete()
{
    if (!m_pStatusLogicObject)
        return;
    m_pStatusLogicObject->SyncBuffersWithPB();
    for (int p = EN_LOCAL_OUTBOX; p <= EN_LOCAL_SENTITEMS; ++p) {
        // The card's phone book is ready before its messages may be (a locked card): a card
        // storage not shown keeps its tables empty until it is read.
        const int memory = GetMemPosition(p);
        if ((memory == UTPS_SMS_MEM_SIM && !m_bSimStorageAvailable)
            || (memory == UTPS_SMS_MEM_DEVICE && !m_bDeviceStorageAvailable))
            continue;
        syncSMSTableWithBuffers(static_cast<_EN_SMS_POSITION>(p));
    }
}

void SMSUIMainDlg::getRFModeStatusFromLogic()
{
    m_bRFMode = m_pStatusLogicObject && m_pStatusLogicObject->IsRFEnabled();
}

void SMSUIMainDlg::closePopupOnDeviceRemoval()
{
    // Whatever was under way on the removed device cannot finish: its progress, the
    // announcement of a message it held and a question about it all go at once.
    if (m_pSMSWaitingDlgInstance && m_pSMSWaitingDlgInstance->dialog()
        && m_pSMSWaitingDlgInstance->dialog()->isVisible())
        m_pSMSWaitingDlgInstance->stopTimer();
    if (SMSTaskbarNotifier *notifier = SMSTaskbarNotifier::existingInstance())
        notifier->closeNotifyDialog();
    if (m_pConfirmBox)
        m_pConfirmBox->hide();
}

void SMSUIMainDlg::onDetectorFinished(DetectMemoryDeviceThread *detector)
{
    if (!detector->property(kRestartDetectorProperty).toBool())
        return;
    detector->setProperty(kRestartDetectorProperty, false);
    const bool sim = detector == &m_SimDetectThread;
    if (sim ? m_bSimStorageAvailable : m_bDeviceStorageAvailable)
        startDetector(*detector);
}
