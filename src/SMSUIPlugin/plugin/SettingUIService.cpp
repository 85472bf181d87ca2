// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingUIService.h"

#include "Change.h"
#include "PluginIds.h"
#include "SmsLog.h"
#include "settings/SmsSettingUIPlugin.h"
#include "window/SMSUIMainDlg.h"

CSettingUIService *CSettingUIService::s_pInstance = nullptr;

CSettingUIService *CSettingUIService::instance()
{
    if (!s_pInstance)
        s_pInstance = new CSettingUIService;
    return s_pInstance;
}

void CSettingUIService::Destroy()
{
    delete s_pInstance;
    s_pInstance = nullptr;
    // The page goes with the SMS window. A plug-in whose window never came (no plug-in
    // container) still built the page here; nobody else would free it.
    if (!SMSUIMainDlg::existingInstance())
        SmsSettingUIPlugin::Destroy();
}

CSettingUIService::CSettingUIService() = default;

CSettingUIService::~CSettingUIService()
{
    qCDebug(lcSmsPlugin) << "settings service deleted";
    m_pSettingPage = nullptr;
}

bool CSettingUIService::Init()
{
    m_pSettingPage = SmsSettingUIPlugin::GetInstance();
    return true;
}

void CSettingUIService::InitSmsSetting()
{
    if (m_pSettingPage)
        m_pSettingPage->InitSmsSetting();
}

QString CSettingUIService::GetModuleName()
{
    return Change::tr(QStringLiteral("IDS_SETTING_NAME"), QString::fromLatin1(PluginIds::SmsUiName));
}

int CSettingUIService::ShowSettingDialog(QWidget *parent, QRect &rect)
{
    if (m_pSettingPage)
        m_pSettingPage->ShowSmsSettingDlg(parent, rect);
    m_bActive = true;
    return 1;
}

bool CSettingUIService::HideSetting()
{
    return m_pSettingPage ? m_pSettingPage->HideSmsSetting() != 0 : true;
}

bool CSettingUIService::OnClickSettingOkButton()
{
    if (!m_pSettingPage)
        return true;
    const bool saved = m_pSettingPage->SaveSmsSettings();
    if (saved)
        m_bActive = false;
    return saved;
}

bool CSettingUIService::OnClickSettingCancelButton()
{
    if (m_pSettingPage)
        m_pSettingPage->CancelSmsSetting();
    m_bActive = false;
    return true;
}

int CSettingUIService::Notify(unsigned int event, unsigned int param1, unsigned int param2)
{
    Q_UNUSED(param1)
    Q_UNUSED(param2)
    qCDebug(lcSmsPlugin) << "settings service: host event" << event;
    if (event == HostEvent::LanguageChanged) {
        if (m_pSettingPage)
            m_pSettingPage->SetLanguage();
    } else if (event == HostEvent::DeviceRemoved) {
        // Edits made for a modem that has gone are dropped.
        OnClickSettingCancelButton();
    }
    return 0;
}

void CSettingUIService::unSDKRegisterEvent()
{
    if (m_pSettingPage)
        m_pSettingPage->unSDKRegisterEvent();
}
