// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loads the SMS plug-in and drives it through its life: interfaces, Init, ShowWindow in
// the frame's page, event forwarding, and the shutdown sequence (unregister from the SDK,
// destroy, unload). Every step can fail; the failure is logged and kept as text for the
// user, and the application carries on without the plug-in.
#include <QObject>
#include <QPluginLoader>
#include <QPointer>
#include <QString>

class IUIPlugin;
class INotify;
class ISMSUIService;
class ISettingUIPlugin;
class PluginContainer;
class PluginPage;

class SmsPluginLoader : public QObject
{
    Q_OBJECT
public:
    explicit SmsPluginLoader(PluginContainer *container, QObject *parent = nullptr);
    ~SmsPluginLoader() override;

    // Where the application looks for the plug-in library.
    static QString defaultLibraryPath();

    // Loads the library and checks its root object; false with errorString() set.
    bool load(const QString &libraryPath = defaultLibraryPath());
    // Asks for the two services (4097, 4098), registers the plug-in in the container and
    // calls Init. false with errorString() set.
    bool initialise();
    // Places the SMS window in page and keeps it sized to it.
    bool showIn(PluginPage *page);
    // Forwards a host event; false when there is no plug-in.
    bool notify(unsigned int event, unsigned int param1 = 0, unsigned int param2 = 0);
    // Unregisters from the SDK, destroys the plug-in's services and unloads it. Safe to
    // call more than once and after a failed load.
    void shutdown();

    bool isReady() const { return m_initialised; }
    QString errorString() const { return m_error; }
    IUIPlugin *plugin() const { return m_plugin; }
    ISMSUIService *smsService() const;
    ISettingUIPlugin *settingService() const;

private:
    bool fail(const QString &message);
    void fitToPage();

    PluginContainer *m_container;
    QPluginLoader m_loader;
    QPointer<QObject> m_root;
    IUIPlugin *m_plugin = nullptr;
    INotify *m_notify = nullptr;
    QPointer<QObject> m_service;
    QPointer<QObject> m_settings;
    QPointer<PluginPage> m_page;
    bool m_initialised = false;
    QString m_error;
};
