// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application: builds the main frame and the host's plug-ins, registers them in the
// plug-in container, loads the SMS plug-in into its page, and takes everything down again
// in the order the plug-in relies on.
#include "HostOptions.h"
#include "MainFrame.h"

#include <QObject>
#include <QPointer>

class AddressBook;
class CallPlugin;
class DeviceManager;
class LayoutPlugin;
class MainMenu;
class MainToolbar;
class MiniFrame;
class ModemMenu;
class RealModemMenu;
class NotifyService;
class PluginContainer;
class PluginPage;
class QLabel;
class SmsPluginLoader;
class StatusBarNotifier;

class HostApplication : public QObject
{
    Q_OBJECT
public:
    explicit HostApplication(const HostOptions &options, QObject *parent = nullptr);
    ~HostApplication() override;

    // Builds everything, shows the frame and starts the SMS plug-in. Returns false only
    // when the host itself cannot run; a missing plug-in is reported in its page instead.
    bool start(bool showFrame = true);
    // Stops the plug-in first, then the host's own parts. Safe to call twice.
    void shutdown();

    // Renders the main frame into a PNG file.
    bool saveScreenshot(const QString &path);

    // Switches the language and tells the plug-ins (event 320).
    bool changeLanguage(const QString &code);
    void openSettings();
    void showAbout();

    MainFrame *frame() const { return m_frame; }
    PluginContainer *container() const { return m_container; }
    NotifyService *notifyService() const { return m_notify; }
    DeviceManager *deviceManager() const { return m_device; }
    AddressBook *addressBook() const { return m_addressBook; }
    ModemMenu *modemMenu() const { return m_modemMenu; }
    RealModemMenu *realModemMenu() const { return m_realModemMenu; }
    SmsPluginLoader *smsPlugin() const { return m_loader; }
    PluginPage *smsPage() const { return m_smsPage; }

    // The name the call plug-in is registered under; the configuration file refers to it.
    static const char *callPluginName();

signals:
    void languageChanged(const QString &code);

private:
    void createPlugins();
    void registerPlugins();
    void createPages();
    void createMenus();
    void startSmsPlugin();
    void showPluginPage(const QString &pluginName);
    void updateDeviceSummary();

    HostOptions m_options;
    PluginContainer *m_container = nullptr;
    QPointer<MainFrame> m_frame;
    NotifyService *m_notify = nullptr;
    LayoutPlugin *m_layout = nullptr;
    MainToolbar *m_toolbar = nullptr;
    MainMenu *m_menu = nullptr;
    MiniFrame *m_miniFrame = nullptr;
    DeviceManager *m_device = nullptr;
    AddressBook *m_addressBook = nullptr;
    CallPlugin *m_call = nullptr;
    StatusBarNotifier *m_statusBar = nullptr;
    ModemMenu *m_modemMenu = nullptr;
    RealModemMenu *m_realModemMenu = nullptr;
    SmsPluginLoader *m_loader = nullptr;
    PluginPage *m_smsPage = nullptr;
    QLabel *m_connectionSummary = nullptr;
    bool m_started = false;
};
