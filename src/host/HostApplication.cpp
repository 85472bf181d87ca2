// SPDX-License-Identifier: GPL-3.0-or-later
#include "HostApplication.h"

#include "AddressBook.h"
#include "CallPlugin.h"
#include "CommonUtils.h"
#include "DeviceManager.h"
#include "HostLog.h"
#include "HostText.h"
#include "LayoutPlugin.h"
#include "MainFrame.h"
#include "MainMenu.h"
#include "MainToolbar.h"
#include "MiniFrame.h"
#include "ModemMenu.h"
#include "NotifyService.h"
#include "PluginIds.h"
#include "SmsPluginLoader.h"
#include "Startup.h"
#include "StatusBarNotifier.h"
#include "StoreReport.h"
#include "sdk_simulator.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace {
const char kConnectionPage[] = "ConnectionPage";
} // namespace

const char *HostApplication::callPluginName()
{
    return "CallUIPlugin";
}

HostApplication::HostApplication(const HostOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
{
}

HostApplication::~HostApplication()
{
    shutdown();
}

bool HostApplication::start(bool showFrame)
{
    if (m_started)
        return true;
    CommonUtils::SetShuttingDown(false);
    m_container = Startup::CreatePluginContainer();
    if (!m_container) {
        qCWarning(lcHost) << "no plug-in container";
        return false;
    }
    createPlugins();
    registerPlugins();
    createPages();
    createMenus();
    m_started = true;

    // Calls are offered by default; a product without voice sets "callvoice" to 0.
    if (CommonUtils::GetSettings(QStringLiteral("callui"), QStringLiteral("callvoice")).isEmpty())
        CommonUtils::SetSettings(QStringLiteral("callui"), QStringLiteral("callvoice"), QStringLiteral("1"));
    m_device->applyReceiveStorageSetting();
    updateDeviceSummary();

    if (showFrame)
        m_frame->show();
    startSmsPlugin();
    m_notify->Dispatch(QLatin1String(PluginIds::SmsUi), HostEvent::MainFrameShown);
    // After the plug-in has opened the SDK's database: a moved-aside or unwritable one is
    // something the user must hear about before trusting the folders.
    StoreReport::tellUser(m_frame);
    return true;
}

void HostApplication::createPlugins()
{
    m_frame = new MainFrame;
    CommonUtils::SetMainWindow(m_frame);
    m_notify = new NotifyService(m_container, this);
    m_layout = new LayoutPlugin(m_frame, this);
    CommonUtils::SetLayoutPlugin(m_layout);
    m_toolbar = new MainToolbar(m_frame, this);
    m_miniFrame = new MiniFrame(m_container, this);
    m_device = new DeviceManager(m_notify, this);
    m_addressBook = new AddressBook(m_notify, m_frame, this);
    m_call = new CallPlugin(m_frame, this);
    m_statusBar = new StatusBarNotifier(m_container, m_frame, this);
    m_loader = new SmsPluginLoader(m_container, this);
    connect(m_device, &DeviceManager::stateChanged, this, &HostApplication::updateDeviceSummary);
    connect(m_miniFrame, &MiniFrame::openRequested, this, &HostApplication::showPluginPage);
    connect(m_toolbar, &MainToolbar::pluginButtonClicked, this, &HostApplication::showPluginPage);
    // The SMS module opens its inbox at the unread messages (event 513).
    connect(m_frame, &MainFrame::unreadNoticeClicked, this, [this] {
        m_notify->SendTo(QLatin1String(PluginIds::SmsUi), HostEvent::LaunchSmsInbox, 0, 0);
    });
}

void HostApplication::registerPlugins()
{
    struct Registration
    {
        const char *clsid;
        const char *name;
        QObject *object;
        QList<int> interfaces;  // numbers callers use besides 0
    };
    const Registration registrations[] = {
        {PluginIds::NotifyService, "NotifyService", m_notify, {InterfaceId::NotifyService}},
        {PluginIds::MainFrame, "MainFrame", m_frame, {InterfaceId::MainFrame}},
        {PluginIds::MiniFrame, "MiniFrame", m_miniFrame, {InterfaceId::MiniFrame}},
        {PluginIds::MainToolbar, "MainToolbar", m_toolbar, {4098, InterfaceId::MainToolbar}},
        {PluginIds::DeviceMgr, "DeviceManager", m_device, {InterfaceId::DeviceMgr}},
        {PluginIds::AddrBook, "AddrBookUIPlugin", m_addressBook, {InterfaceId::AddrBook}},
        {PluginIds::CallUi, callPluginName(), m_call, {InterfaceId::CallUi}},
        {PluginIds::StatusBar, "StatusBar", m_statusBar, {}},
    };
    for (const Registration &r : registrations) {
        m_container->RegisterPlugin(QLatin1String(r.clsid), QLatin1String(r.name), r.object, InterfaceId::Default);
        for (int id : r.interfaces)
            m_container->RegisterPlugin(QLatin1String(r.clsid), QLatin1String(r.name), r.object, id);
    }
    m_notify->Subscribe(QLatin1String(PluginIds::StatusBar), HostEvent::SmsCanSend);
    m_notify->Subscribe(QLatin1String(PluginIds::StatusBar), HostEvent::SmsCannotSend);
}

void HostApplication::createPages()
{
    auto *connection = new QWidget;
    connection->setObjectName(QStringLiteral("dialcrest_ConnectionPage"));
    auto *layout = new QVBoxLayout(connection);
    m_connectionSummary = new QLabel(connection);
    m_connectionSummary->setObjectName(QStringLiteral("dialcrest_ConnectionSummary"));
    m_connectionSummary->setAlignment(Qt::AlignCenter);
    QFont big = m_connectionSummary->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    m_connectionSummary->setFont(big);
    layout->addWidget(m_connectionSummary);
    m_frame->addPage(QLatin1String(kConnectionPage), connection);

    m_smsPage = new PluginPage(QStringLiteral("dialcrest_SmsPage"));
    m_frame->addPage(QLatin1String(PluginIds::SmsUiName), m_smsPage);

    const QString folder = CommonUtils::GetPluginFolder(QLatin1String(PluginIds::SmsUiName));
    const QIcon smsIcon(folder + QStringLiteral("sms_tb_new.png"));
    HostText::bind(m_toolbar->addButton(QLatin1String(kConnectionPage),
                                        m_frame->style()->standardIcon(QStyle::SP_DriveNetIcon)),
                   "IDS_HOST_PAGE_CONNECTION", "Connection");
    HostText::bind(m_toolbar->addButton(QLatin1String(PluginIds::SmsUiName), smsIcon), "IDS_HOST_PAGE_SMS",
                   "Messages");
}

void HostApplication::startSmsPlugin()
{
    const QString title = HostText::text("IDS_HOST_PLUGIN_MISSING", "Messages are not available.");
    if (!m_loader->load() || !m_loader->initialise()) {
        m_smsPage->showProblem(title, m_loader->errorString());
        m_frame->showTransientMessage(title, 0);
        showPluginPage(QLatin1String(PluginIds::SmsUiName));
        return;
    }
    // The page is brought forward first so that it has its real size when the window
    // is placed in it.
    showPluginPage(QLatin1String(PluginIds::SmsUiName));
    if (!m_loader->showIn(m_smsPage))
        m_smsPage->showProblem(title, m_loader->errorString());
    const bool calls = CommonUtils::IsPluginAvailable(QLatin1String(PluginIds::CallUi))
        && CommonUtils::GetSettings(QStringLiteral("callui"), QStringLiteral("callvoice")).toInt() != 0;
    m_notify->Dispatch(QLatin1String(PluginIds::SmsUi), HostEvent::CallAvailability, calls ? 1 : 0);
    m_device->announceState();
    m_statusBar->refreshUnreadCount();
}

void HostApplication::showPluginPage(const QString &pluginName)
{
    if (!m_layout->ShowPluginPage(pluginName))
        return;
    m_toolbar->SelectPluginButton(pluginName);
    if (m_menu)
        m_menu->SelectPluginEntry(pluginName);
}

void HostApplication::updateDeviceSummary()
{
    const QString summary = m_device->summary();
    if (m_frame)
        m_frame->setDeviceSummary(summary);
    if (m_connectionSummary)
        m_connectionSummary->setText(summary);
}

bool HostApplication::saveScreenshot(const QString &path)
{
    if (!m_frame)
        return false;
    const QPixmap pixmap = m_frame->grab();
    if (pixmap.isNull() || !pixmap.save(path, "PNG")) {
        qCWarning(lcHost) << "cannot write the screenshot" << path;
        return false;
    }
    return true;
}

void HostApplication::shutdown()
{
    if (!m_started)
        return;
    m_started = false;
    CommonUtils::SetShuttingDown(true);
    if (m_frame && m_frame->isVisible())
        m_frame->saveSize();
    // The plug-in goes first: it still uses the frame, the container and the SDK.
    m_loader->shutdown();
    CommonUtils::SetLayoutPlugin(nullptr);
    CommonUtils::SetMainWindow(nullptr);
    for (const QString &clsid : m_container->GetCLSIDs())
        m_container->UnregisterPlugin(clsid);
    delete m_loader;
    m_loader = nullptr;
    delete m_modemMenu;
    m_modemMenu = nullptr;
    const QList<QObject *> parts{m_statusBar, m_call, m_addressBook, m_device, m_miniFrame, m_menu, m_toolbar,
                                 m_layout, m_notify};
    for (QObject *part : parts)
        delete part;
    m_statusBar = nullptr;
    m_call = nullptr;
    m_addressBook = nullptr;
    m_device = nullptr;
    m_miniFrame = nullptr;
    m_menu = nullptr;
    m_toolbar = nullptr;
    m_layout = nullptr;
    m_notify = nullptr;
    delete m_frame;
    m_smsPage = nullptr;
    m_connectionSummary = nullptr;
    Startup::DestroyPluginContainer();
    m_container = nullptr;
    // Stops the SDK's event thread and closes its store; the data stays.
    SimCtl_Shutdown();
}
