// SPDX-License-Identifier: GPL-3.0-or-later
// The SMS UI service's handling of the host's events: those that need the window
// (Notify) and those handled with or without it (checkNotifyType).
#include "SMSUIService.h"

#include "CommonUtils.h"
#include "PluginIds.h"
#include "notify/SMSTaskbarNotifier.h"
#include "store/SMSStatusUILogic.h"
#include "window/SMSUIMainDlg.h"
#include "SmsLog.h"

int CSMSUIService::Notify(unsigned int event, unsigned int param1, unsigned int param2)
{
    Q_UNUSED(param2)
    qCDebug(lcSmsPlugin) << "host event" << event << param1;
    SMSUIMainDlg *window = m_pSmsUiMainDlg;
    if (!window) {
        qCDebug(lcSmsPlugin) << "host event" << event << "ignored: no SMS window";
        return 0;
    }
    switch (event) {
    case HostEvent::LanguageChanged:
        window->SetLanguage(false);
        break;
    case HostEvent::CallAvailability: {
        const bool callPossible = param1 != 0;
        if (callPossible != window->callCapableFlag()) {
            window->setCallCapableFlag(callPossible);
            window->onClickTableRow(0);  // re-evaluates which commands are enabled
        }
        break;
    }
    case HostEvent::FlightModeOn:
        window->GetPresentNetworkStatus(false);
        window->ResetRFModeFlag();
        break;
    case HostEvent::FlightModeOff:
        window->GetPresentNetworkStatus(true);
        window->SetRFModeFlag();
        break;
    case HostEvent::SimAvailable:
        // The host repeats SIM events; the window reacts to changes only.
        if (!m_bSimAvailable) {
            m_bSimAvailable = true;
            window->OnSimStatusChanged(true);
        }
        break;
    case HostEvent::SimUnavailable:
        if (m_bSimAvailable) {
            m_bSimAvailable = false;
            window->OnSimStatusChanged(false);
        }
        break;
    case HostEvent::DeviceRemoved:
        window->ResetNvDeviceFlag();
        window->ReSetSimMemoryFlag();
        // Hiding the folders alone would leave their messages in the table on screen, still
        // offered for Delete: the window takes the whole storage view down and looks again.
        window->onDeviceRemoved();
        break;
    default:
        break;
    }
    return 1;
}

int CSMSUIService::checkNotifyType(unsigned int event, unsigned int param1, unsigned int param2)
{
    Q_UNUSED(param1)
    Q_UNUSED(param2)
    switch (event) {
    case HostEvent::MainFrameShown:
        if (m_pSmsUiMainDlg)
            m_pSmsUiMainDlg->setMainFrameShownFlag();
        break;
    case HostEvent::PhoneBookAdded:
    case HostEvent::PhoneBookChanged:
    case HostEvent::PhoneBookRemoved:
        onPhoneBookChanged();
        break;
    case HostEvent::LaunchSmsInbox:
        if (ILayoutPlugin *layout = CommonUtils::GetLayoutPlugin()) {
            m_pLayoutPlugin = layout;
            layout->ShowPluginPage(QString::fromLatin1(PluginIds::SmsUiName));
        }
        SMSTaskbarNotifier::Instance()->launchSmsPlugin();
        break;
    default:
        break;
    }
    return 0;
}

void CSMSUIService::onPhoneBookChanged()
{
    if (!m_pStatusLogic) {
        // A phone-book event before Init: the store is created and registered with the
        // SDK so that its names are right once the window comes.
        qCWarning(lcSmsPlugin) << "phone-book change before the store existed";
        m_pStatusLogic = SMSStatusUILogic::Instance();
        const int result = m_pStatusLogic->InitStatusLogic();
        if (result != 0)
            qCWarning(lcSmsPlugin) << "InitStatusLogic returned" << result;
        return;
    }
    m_pStatusLogic->setPBChanged(true);
    // The host places the window once, at start-up: waiting for the next ShowWindow would
    // keep the old names until a restart. A laid-out window is refreshed at once.
    if (m_pSmsUiMainDlg) {
        m_pSmsUiMainDlg->ResetSMSUpdateFlag();
        m_pStatusLogic->setPBChanged(false);
        refreshFolders();
        m_pSmsUiMainDlg->syncSMSTableWithBuffers(EN_LOCAL_SENTITEMS);
    }
}
