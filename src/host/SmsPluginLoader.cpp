// SPDX-License-Identifier: GPL-3.0-or-later
#include "SmsPluginLoader.h"

#include "CommonUtils.h"
#include "HostInterfaces.h"
#include "HostLog.h"
#include "MainFrame.h"
#include "PluginIds.h"
#include "Startup.h"

#include <QFileInfo>

namespace {
// Leak checkers treat a library's static data as roots. Once the library is unmapped,
// whatever its statics still point at (Qt's own guard of the root object among them) is
// reported as leaked and the report cannot name the plug-in's functions, so sanitizer
// builds keep the library mapped and only delete the root object.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kUnloadLibrary = false;
#else
constexpr bool kUnloadLibrary = true;
#endif
} // namespace

SmsPluginLoader::SmsPluginLoader(PluginContainer *container, QObject *parent)
    : QObject(parent)
    , m_container(container)
{
}

SmsPluginLoader::~SmsPluginLoader()
{
    shutdown();
}

QString SmsPluginLoader::defaultLibraryPath()
{
    return CommonUtils::GetPluginLibraryPath() + QStringLiteral("/plugins/SMSUIPlugin/libSMSUIPlugin.so");
}

bool SmsPluginLoader::fail(const QString &message)
{
    m_error = message;
    qCWarning(lcHostPlugin).noquote() << message;
    return false;
}

bool SmsPluginLoader::load(const QString &libraryPath)
{
    if (!QFileInfo::exists(libraryPath))
        return fail(QStringLiteral("The SMS plug-in is not installed: %1 does not exist.").arg(libraryPath));
    m_loader.setFileName(libraryPath);
    // Resolve every symbol now: a plug-in built against another core fails here, not later.
    m_loader.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    m_root = m_loader.instance();
    if (!m_root)
        return fail(QStringLiteral("The SMS plug-in could not be loaded: %1").arg(m_loader.errorString()));
    m_plugin = qobject_cast<IUIPlugin *>(m_root.data());
    m_notify = qobject_cast<INotify *>(m_root.data());
    if (!m_plugin || !m_notify) {
        m_plugin = nullptr;
        m_notify = nullptr;
        m_loader.unload();
        return fail(QStringLiteral("%1 is not an SMS plug-in: its root object lacks the host interfaces.")
                        .arg(libraryPath));
    }
    qCDebug(lcHostPlugin) << "loaded" << libraryPath << m_plugin->GetPluginName();
    return true;
}

bool SmsPluginLoader::initialise()
{
    if (!m_plugin)
        return fail(QStringLiteral("The SMS plug-in is not loaded."));
    QObject *service = nullptr;
    QObject *settings = nullptr;
    if (m_plugin->QueryInterface(InterfaceId::SmsUiService, &service) != 1 || !service)
        qCWarning(lcHostPlugin) << "QueryInterface(4097) gave no SMS service";
    if (m_plugin->QueryInterface(InterfaceId::SettingUiPlugin, &settings) != 1 || !settings)
        qCWarning(lcHostPlugin) << "QueryInterface(4098) gave no settings service";
    m_service = service;
    m_settings = settings;

    // Registered before Init: Init subscribes to the notify service with this CLSID.
    const QString clsid = QLatin1String(PluginIds::SmsUi);
    const QString name = QLatin1String(PluginIds::SmsUiName);
    if (m_container) {
        m_container->RegisterPlugin(clsid, name, m_root, InterfaceId::Default);
        if (service)
            m_container->RegisterPlugin(clsid, name, service, InterfaceId::SmsUiService);
        if (settings)
            m_container->RegisterPlugin(clsid, name, settings, InterfaceId::SettingUiPlugin);
    }
    if (m_plugin->Init() != 1)
        return fail(QStringLiteral("The SMS plug-in failed to start (Init returned 0)."));
    m_initialised = true;
    return true;
}

bool SmsPluginLoader::showIn(PluginPage *page)
{
    if (!m_initialised || !page)
        return false;
    m_page = page;
    QRect rect = page->pluginRect();
    if (m_plugin->ShowWindow(page, rect) != 1)
        return fail(QStringLiteral("The SMS window could not be shown."));
    connect(page, &PluginPage::resized, this, &SmsPluginLoader::fitToPage, Qt::UniqueConnection);
    return true;
}

void SmsPluginLoader::fitToPage()
{
    if (m_initialised && m_page) {
        QRect r = m_page->pluginRect();
        m_plugin->FitSize(r);
    }
}

bool SmsPluginLoader::notify(unsigned int event, unsigned int param1, unsigned int param2)
{
    if (!m_initialised || !m_notify)
        return false;
    m_notify->Notify(event, param1, param2);
    return true;
}

ISMSUIService *SmsPluginLoader::smsService() const
{
    return m_service ? qobject_cast<ISMSUIService *>(m_service.data()) : nullptr;
}

ISettingUIPlugin *SmsPluginLoader::settingService() const
{
    return m_settings ? qobject_cast<ISettingUIPlugin *>(m_settings.data()) : nullptr;
}

void SmsPluginLoader::shutdown()
{
    if (m_plugin) {
        if (m_page)
            disconnect(m_page, nullptr, this, nullptr);
        m_plugin->UnSDKRegisterEvent();  // no SDK callback may arrive after this
        m_plugin->OnDestroy();
        if (m_container)
            m_container->UnregisterPlugin(QLatin1String(PluginIds::SmsUi));
    }
    m_initialised = false;
    m_plugin = nullptr;
    m_notify = nullptr;
    m_service = nullptr;
    m_settings = nullptr;
    // Deletes the root object last, then unloads the library.
    if (!kUnloadLibrary) {
        delete m_root.data();
        return;
    }
    if (m_loader.isLoaded() && !m_loader.unload())
        qCWarning(lcHostPlugin) << "unloading the SMS plug-in failed:" << m_loader.errorString();
}
