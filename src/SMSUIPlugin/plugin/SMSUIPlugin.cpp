// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in's root object. moc writes qt_plugin_instance for it: a guarded pointer that
// creates a new root object when the host deleted the previous one.
#include "SMSUIPlugin.h"

#include "PluginIds.h"
#include "SMSUIService.h"
#include "SettingUIService.h"
#include "SmsLog.h"

const char *qt_plugin_query_verification_data()
{
    return "pattern=QT_PLUGIN_VERIFICATION_DATA\n"
           "version=4.6.2\n"
           "debug=false\n"
           "buildkey=i386 linux g++-4 full-config";
}

CSMSUIPlugin::CSMSUIPlugin() = default;

CSMSUIPlugin::~CSMSUIPlugin()
{
    qCDebug(lcSmsPlugin) << "root object deleted";
    m_pSmsUiService = nullptr;
    m_pSettingUiService = nullptr;
}

QString CSMSUIPlugin::GetPluginName()
{
    return QString::fromLatin1(PluginIds::SmsUiName);
}

int CSMSUIPlugin::Init()
{
    m_pSmsUiService = service();
    m_pSettingUiService = m_pSmsUiService ? CSettingUIService::instance() : nullptr;
    if (!m_pSmsUiService || !m_pSettingUiService) {
        qCWarning(lcSmsPlugin) << "Init: a service is missing";
        return 0;
    }
    // The service's own failure (no plug-in container) is logged there and leaves it
    // without a window; the plug-in as such is loaded.
    m_pSmsUiService->Init();
    m_pSettingUiService->Init();
    return 1;
}

int CSMSUIPlugin::QueryInterface(int id, QObject **out)
{
    qCDebug(lcSmsPlugin) << "QueryInterface" << id;
    if (id == InterfaceId::SmsUiService && service()) {
        if (out)
            *out = m_pSmsUiService;
        return 1;
    }
    if (id == InterfaceId::SettingUiPlugin && !m_bDestroyed) {
        m_pSettingUiService = CSettingUIService::instance();
        if (out)
            *out = m_pSettingUiService;
        return 1;
    }
    return 0;
}

CSMSUIService *CSMSUIPlugin::service()
{
    if (m_bDestroyed) {
        qCDebug(lcSmsPlugin) << "host call after OnDestroy ignored";
        return nullptr;
    }
    // Kept in the field so that OnDestroy also removes a service these calls created.
    m_pSmsUiService = CSMSUIService::instance();
    return m_pSmsUiService;
}

int CSMSUIPlugin::ShowWindow(QWidget *parent, QRect &rect)
{
    CSMSUIService *sms = service();
    if (!sms)
        return 0;
    // The settings page loads its values (and writes the alert defaults) before the SMS
    // window first shows, so that the first arrival already finds them.
    if (m_pSettingUiService)
        m_pSettingUiService->InitSmsSetting();
    return sms->ShowWindow(parent, rect);
}

int CSMSUIPlugin::DoModal()
{
    CSMSUIService *sms = service();
    return sms ? sms->DoModal() : 0;
}

void CSMSUIPlugin::Hide()
{
    if (CSMSUIService *sms = service())
        sms->Hide();
}

void CSMSUIPlugin::FitSize(QRect &rect)
{
    if (CSMSUIService *sms = service())
        sms->FitSize(rect);
}

int CSMSUIPlugin::Notify(unsigned int event, unsigned int param1, unsigned int param2)
{
    CSMSUIService *sms = service();
    if (!sms)
        return 0;
    // The settings service hears the event only while the SMS window exists.
    if (sms->Notify(event, param1, param2) == 1 && m_pSettingUiService)
        m_pSettingUiService->Notify(event, param1, param2);
    sms->checkNotifyType(event, 0, 0);
    return 0;
}

void CSMSUIPlugin::UnSDKRegisterEvent()
{
    if (m_pSmsUiService)
        m_pSmsUiService->unSDKRegisterEvent();
    if (m_pSettingUiService)
        m_pSettingUiService->unSDKRegisterEvent();
}

void CSMSUIPlugin::OnDestroy()
{
    m_bDestroyed = true;
    if (m_pSmsUiService) {
        CSMSUIService::Destroy();
        m_pSmsUiService = nullptr;
    }
    if (m_pSettingUiService) {
        CSettingUIService::Destroy();
        m_pSettingUiService = nullptr;
    }
}
