// The plug-in's root object. moc writes qt_plugin_instance for it: a guarded pointer that
// creates a new root object when the host deleted the previous one.
#include "SMSUIPlugin.h"

#include "PluginIds.h"
#include "SMSUIService.h"
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
    if (!service()) {
        qCWarning(lcSmsPlugin) << "Init: no SMS service";
        return 0;
    }
    // The service's own failure (no plug-in container) is logged there and leaves it
    // without a window; the plug-in as such is loaded. Without a settings service the SMS
    // page still works; see the header.
    m_pSmsUiService->Init();
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
    // InterfaceId::SettingUiPlugin lands here too until the settings service exists.
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
    // The settings page would load its current values here first.
    CSMSUIService *sms = service();
    return sms ? sms->ShowWindow(parent, rect) : 0;
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
    const bool windowExists = sms->Notify(event, param1, param2) == 1;
    // The settings service would hear the event here, only while the SMS window exists.
    Q_UNUSED(windowExists)
    sms->checkNotifyType(event, 0, 0);
    return 0;
}

void CSMSUIPlugin::UnSDKRegisterEvent()
{
    if (m_pSmsUiService)
        m_pSmsUiService->unSDKRegisterEvent();
}

void CSMSUIPlugin::OnDestroy()
{
    m_bDestroyed = true;
    if (m_pSmsUiService) {
        CSMSUIService::Destroy();
        m_pSmsUiService = nullptr;
    }
}
