// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame's menus and what they open: settings, address book, About, language.
#include "HostApplication.h"

#include "AddressBook.h"
#include "Change.h"
#include "CommonUtils.h"
#include "DeviceManager.h"
#include "HostLog.h"
#include "HostText.h"
#include "MainFrame.h"
#include "MainMenu.h"
#include "ModemMenu.h"
#include "RealModemMenu.h"
#include "sdk_backend.h"
#include "NotifyService.h"
#include "PluginIds.h"
#include "SettingsDialog.h"
#include "SmsPluginLoader.h"
#include "StatusBarNotifier.h"
#include "Startup.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

namespace {
QMenu *addMenu(QMenuBar *bar, const char *objectName, const char *key, const char *english)
{
    QMenu *menu = bar->addMenu(QString());
    menu->setObjectName(QLatin1String(objectName));
    HostText::bind(menu, key, english);
    return menu;
}

QAction *addAction(QMenu *menu, const char *objectName, const char *key, const char *english)
{
    QAction *action = menu->addAction(QString());
    action->setObjectName(QLatin1String(objectName));
    HostText::bind(action, key, english);
    return action;
}
} // namespace

void HostApplication::createMenus()
{
    QMenuBar *bar = m_frame->menuBar();
    QMenu *file = addMenu(bar, "dialcrest_MenuFile", "IDS_HOST_MENU_FILE", "&File");
    QAction *quit = addAction(file, "dialcrest_ActionQuit", "IDS_HOST_QUIT", "&Quit");
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, m_frame, &QWidget::close);

    QMenu *view = addMenu(bar, "dialcrest_MenuView", "IDS_HOST_MENU_VIEW", "&View");
    m_menu = new MainMenu(m_frame, view, this);
    m_container->RegisterPlugin(QLatin1String(PluginIds::MainMenu), QStringLiteral("MainMenu"), m_menu,
                                InterfaceId::Default);
    m_container->RegisterPlugin(QLatin1String(PluginIds::MainMenu), QStringLiteral("MainMenu"), m_menu,
                                InterfaceId::MainMenu);
    m_menu->AddPluginEntry(QStringLiteral("ConnectionPage"), QString());
    m_menu->AddPluginEntry(QLatin1String(PluginIds::SmsUiName), QString());
    HostText::bind(view->findChild<QAction *>(QStringLiteral("dialcrest_PageEntry_ConnectionPage")),
                   "IDS_HOST_PAGE_CONNECTION", "Connection");
    HostText::bind(view->findChild<QAction *>(QStringLiteral("dialcrest_PageEntry_SMSUIPlugin")),
                   "IDS_HOST_PAGE_SMS", "Messages");
    connect(m_menu, &MainMenu::pluginEntryTriggered, this, &HostApplication::showPluginPage);
    view->addSeparator();
    QAction *contacts = addAction(view, "dialcrest_ActionAddressBook", "IDS_HOST_ADDRESSBOOK", "Address book…");
    connect(contacts, &QAction::triggered, this, [this] { m_addressBook->showManager(m_frame); });

    QMenu *settings = addMenu(bar, "dialcrest_MenuSettings", "IDS_HOST_MENU_SETTINGS", "&Settings");
    QAction *openSettings = addAction(settings, "dialcrest_ActionSettings", "IDS_HOST_SETTINGS_OPEN", "&Settings…");
    openSettings->setShortcut(QKeySequence::Preferences);
    connect(openSettings, &QAction::triggered, this, &HostApplication::openSettings);

    m_modemMenu = new ModemMenu(m_device, m_frame, this);
    bar->addMenu(m_modemMenu->menu());
    if (SdkBackend_Current() == SDK_BACKEND_MODEMMANAGER) {
        m_realModemMenu = new RealModemMenu(m_frame, this);
        bar->addMenu(m_realModemMenu->menu());
    }

    QMenu *help = addMenu(bar, "dialcrest_MenuHelp", "IDS_HOST_MENU_HELP", "&Help");
    QAction *about = addAction(help, "dialcrest_ActionAbout", "IDS_HOST_ABOUT", "&About");
    connect(about, &QAction::triggered, this, &HostApplication::showAbout);
}

void HostApplication::openSettings()
{
    SettingsDialog dialog(m_loader ? m_loader->settingService() : nullptr, m_frame);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.chosenLanguage() != Change::GetLangName())
        changeLanguage(dialog.chosenLanguage());
    // The SMS page may have changed where new messages are saved.
    m_device->applyReceiveStorageSetting();
}

bool HostApplication::changeLanguage(const QString &code)
{
    if (!Change::SetLanguage(code)) {
        qCWarning(lcHost) << "no catalogue for language" << code;
        return false;
    }
    CommonUtils::SetSettings(QStringLiteral("customize"), QStringLiteral("language"), code);
    HostText::retranslateAll();
    updateDeviceSummary();
    m_statusBar->refreshUnreadCount();
    if (m_notify)
        m_notify->Dispatch(QLatin1String(PluginIds::SmsUi), HostEvent::LanguageChanged);
    emit languageChanged(code);
    return true;
}

void HostApplication::showAbout()
{
    QMessageBox::about(m_frame, HostText::text("IDS_HOST_ABOUT_TITLE", "About Dialcrest"),
                       HostText::text("IDS_HOST_ABOUT_TEXT",
                                      "<p><b>Dialcrest %1</b></p><p>Connection manager for USB mobile-broadband "
                                      "modems, with text messaging.</p><p>This build runs on a simulated modem: "
                                      "use the Modem menu to receive messages, take out the SIM card or unplug "
                                      "the modem.</p>")
                           .arg(QApplication::applicationVersion()));
}
