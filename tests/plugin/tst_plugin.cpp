// SPDX-License-Identifier: GPL-3.0-or-later
// The SMS plug-in as the application sees it: loaded with QPluginLoader from the
// run-time folder and driven only through the host interfaces, on the real simulator.
#include <QApplication>
#include <QLibrary>
#include <QLineEdit>
#include <QTextEdit>
#include <QPluginLoader>
#include <QPointer>
#include <QTreeWidget>
#include <QTableWidget>
#include <QtTest>

#include <functional>
#include <memory>

#include "CommonUtils.h"
#include "HostInterfaces.h"
#include "PluginIds.h"
#include "Startup.h"
#include "TestEnv.h"
#include "sdk_simulator.h"
#include "utps_sdk.h"

namespace {
const QString kWindowName = QStringLiteral("SMSUIPlugin_MainWidget");
const QString kTreeName = QStringLiteral("SMSUIPlugin_TreeSMSWidget");

// The host's notify service, reduced to remembering subscriptions.
class RecordingNotifyService : public QObject, public INotifyService
{
    Q_OBJECT
    Q_INTERFACES(INotifyService)
public:
    QList<QPair<QString, unsigned int>> subscriptions;
    QList<unsigned int> broadcasts;
    int Subscribe(const QString &clsid, unsigned int event) override
    {
        subscriptions.append({clsid, event});
        return 1;
    }
    int Unsubscribe(const QString &, unsigned int) override { return 1; }
    int SendTo(const QString &, unsigned int, unsigned int, unsigned int) override { return 1; }
    bool IsSubscribed(const QString &, unsigned int) override { return false; }
    int Broadcast(unsigned int event, unsigned int, unsigned int) override
    {
        broadcasts.append(event);
        return 1;
    }
};

// The host's page switcher, remembering which pages were brought forward.
class RecordingLayout : public QObject, public ILayoutPlugin
{
    Q_OBJECT
    Q_INTERFACES(ILayoutPlugin)
public:
    QStringList shown;
    int ShowPluginPage(const QString &name) override
    {
        shown.append(name);
        return 1;
    }
};

QWidget *smsWindow()
{
    const QList<QWidget *> widgets = QApplication::allWidgets();
    for (QWidget *w : widgets) {
        if (w->objectName() == kWindowName)
            return w;
    }
    return nullptr;
}

int visibleTreeRoots()
{
    QWidget *window = smsWindow();
    auto *tree = window ? window->findChild<QTreeWidget *>(kTreeName) : nullptr;
    if (!tree)
        return -1;
    int visible = 0;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        visible += tree->topLevelItem(i)->isHidden() ? 0 : 1;
    return visible;
}

// Whether running action made the plug-in ask the SDK for the multi-mode card state: one
// failure is armed for that call, and it is still armed afterwards when nobody asked.
// The window asks first thing whenever it reacts to a SIM state report.
bool windowReactedToSim(const std::function<void()> &action)
{
    SimCtl_FailNextCalls("UTPS_DevSrv_GetMultiModeCardStatus", 1, 0);
    action();
    int multiMode = 0;
    const bool consumed = UTPS_DevSrv_GetMultiModeCardStatus(&multiMode, 0, 0) == 0;
    SimCtl_ClearFaults();
    return consumed;
}

long injectUnread(int storage, const char *sender)
{
    return SimCtl_InjectMessage(storage, sender, "hello", nullptr, /* class */ 1, nullptr);
}
} // namespace

class TestPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void interfaceQueries();
    void rootObjectCreatedAgain();
    void initSubscribesAndNeedsContainer();
    void onDestroyTwice();
    void notifyWithoutWindow();
    void notifyWithWindow();
    void phoneBookChangeReachesTheTables();
    void geometryRule();
    void simEventsHandledOnChange();
    void unreadTotalOverStorages();
    void showSmsEditor_data();
    void showSmsEditor();
    void canSendFollowsModem();
    void cleanShutdown();

private:
    IUIPlugin *plugin() { return qobject_cast<IUIPlugin *>(m_loader.instance()); }
    INotify *notifier() { return qobject_cast<INotify *>(m_loader.instance()); }
    ISMSUIService *service();

    std::unique_ptr<TestDataHome> m_home;
    QPluginLoader m_loader;
    RecordingNotifyService m_notifyService;
    RecordingLayout m_layout;
    QList<MessageRequest> m_prompts;
    int m_promptAnswer = CommonUtils::FirstButton;
};

void TestPlugin::initTestCase()
{
    m_home = std::make_unique<TestDataHome>();
    QVERIFY(m_home->isValid());
    SimCtl_SetDemoSeed(0);
    QCOMPARE(SimCtl_Reset(), 0L);
    CommonUtils::SetMessageResponder([this](const MessageRequest &request) {
        m_prompts.append(request);
        return m_promptAnswer;
    });
    CommonUtils::SetLayoutPlugin(&m_layout);
    m_loader.setFileName(QStringLiteral(DIALCREST_PLUGIN_FILE));
    QVERIFY2(m_loader.load(), qPrintable(m_loader.errorString()));
}

void TestPlugin::init()
{
    PluginContainer *container = Startup::CreatePluginContainer();
    container->RegisterPlugin(QLatin1String(PluginIds::NotifyService), QStringLiteral("notify"),
                              &m_notifyService, InterfaceId::NotifyService);
    m_notifyService.subscriptions.clear();
    m_notifyService.broadcasts.clear();
    m_layout.shown.clear();
    m_prompts.clear();
    m_promptAnswer = CommonUtils::FirstButton;
    QVERIFY(plugin());
}

void TestPlugin::cleanup()
{
    if (IUIPlugin *root = plugin()) {
        root->UnSDKRegisterEvent();
        root->OnDestroy();
    }
    // A destroyed root object stays destroyed; the next test gets a new one, as a host
    // that loads the plug-in again would.
    delete m_loader.instance();
    Startup::DestroyPluginContainer();
    QCOMPARE(SimCtl_Reset(), 0L);
}

void TestPlugin::cleanupTestCase()
{
    CommonUtils::SetMessageResponder({});
    CommonUtils::SetLayoutPlugin(nullptr);
    m_loader.unload();
}

ISMSUIService *TestPlugin::service()
{
    QObject *object = nullptr;
    if (plugin()->QueryInterface(InterfaceId::SmsUiService, &object) != 1)
        return nullptr;
    return qobject_cast<ISMSUIService *>(object);
}

void TestPlugin::interfaceQueries()
{
    IUIPlugin *root = plugin();
    QObject *out = nullptr;
    QCOMPARE(root->QueryInterface(InterfaceId::SmsUiService, &out), 1);
    QVERIFY(out);
    QVERIFY(qobject_cast<ISMSUIService *>(out));
    QCOMPARE(out->qt_metacast("ISMSUIService"), out->qt_metacast(ISMSUIService_iid));
    QVERIFY(out->qt_metacast("CSMSUIService"));
    QObject *again = nullptr;
    root->QueryInterface(InterfaceId::SmsUiService, &again);
    QCOMPARE(again, out);  // one service, however often it is asked for

    QObject *settings = nullptr;
    QCOMPARE(root->QueryInterface(InterfaceId::SettingUiPlugin, &settings), 1);
    QVERIFY(qobject_cast<ISettingUIPlugin *>(settings));
    QVERIFY(settings->qt_metacast("CSettingUIService"));
    QCOMPARE(settings->qt_metacast("ISettingUIPlugin"), settings->qt_metacast(ISettingUIPlugin_iid));

    // Unknown numbers leave the out-parameter alone.
    for (int id : {4099, 0, -1}) {
        QObject *sentinel = &m_layout;
        QCOMPARE(root->QueryInterface(id, &sentinel), 0);
        QCOMPARE(sentinel, static_cast<QObject *>(&m_layout));
    }

    // The names other plug-ins cast with give the matching part of the root object.
    QObject *object = m_loader.instance();
    void *ui = static_cast<IBasePlugin *>(root);
    void *notify = notifier();
    for (const char *name : {"IUIPlugin", IBasePlugin_iid, IUIPlugin_iid})
        QCOMPARE(object->qt_metacast(name), ui);
    for (const char *name : {"INotify", INotify_iid})
        QCOMPARE(object->qt_metacast(name), notify);
    QCOMPARE(object->qt_metacast("CSMSUIPlugin"), static_cast<void *>(object));
    QVERIFY(!object->qt_metacast(ISettingUIPlugin_iid));

    QCOMPARE(root->GetPluginName(), QStringLiteral("SMSUIPlugin"));
    QVERIFY(root->GetCLSID().isEmpty());
    QCOMPARE(root->DoModal(), 0);

    QLibrary library(m_loader.fileName());
    using Verification = const char *(*)();
    auto verification = reinterpret_cast<Verification>(
        library.resolve("qt_plugin_query_verification_data"));
    QVERIFY(verification);
    QCOMPARE(QByteArray(verification()),
             QByteArray("pattern=QT_PLUGIN_VERIFICATION_DATA\nversion=4.6.2\ndebug=false\n"
                        "buildkey=i386 linux g++-4 full-config"));
}

void TestPlugin::rootObjectCreatedAgain()
{
    QPointer<QObject> first = m_loader.instance();
    QVERIFY(first);
    QCOMPARE(m_loader.instance(), first.data());
    delete first.data();
    QVERIFY(!first);
    QObject *second = m_loader.instance();
    QVERIFY(second);
    QVERIFY(qobject_cast<IUIPlugin *>(second));
}

void TestPlugin::initSubscribesAndNeedsContainer()
{
    // Without a container the service cannot start: no window, nothing subscribed.
    Startup::DestroyPluginContainer();
    plugin()->Init();
    QVERIFY(!smsWindow());
    QCOMPARE(service()->ShowSMSEditor(QStringLiteral("+15550100"), QString(), nullptr), -1);

    init();
    QCOMPARE(plugin()->Init(), 1);
    QVERIFY(smsWindow());
    const QString self = QLatin1String(PluginIds::SmsUi);
    const QList<QPair<QString, unsigned int>> expected{
        {self, HostEvent::PhoneBookAdded}, {self, HostEvent::PhoneBookChanged},
        {self, HostEvent::PhoneBookRemoved}};
    QCOMPARE(m_notifyService.subscriptions, expected);
}

void TestPlugin::onDestroyTwice()
{
    QCOMPARE(plugin()->Init(), 1);
    QPointer<QWidget> window = smsWindow();
    QVERIFY(window);
    plugin()->UnSDKRegisterEvent();
    plugin()->OnDestroy();
    QVERIFY(!window);
    plugin()->OnDestroy();
    plugin()->UnSDKRegisterEvent();
    // The host may still call after tearing down: nothing comes back to life, neither the
    // window nor the service (which would create the store and register it with the SDK).
    notifier()->Notify(HostEvent::LanguageChanged, 0, 0);
    notifier()->Notify(HostEvent::PhoneBookChanged, 0, 0);
    QWidget parent;
    QRect rect(0, 0, 399, 299);
    QCOMPARE(plugin()->ShowWindow(&parent, rect), 0);
    plugin()->FitSize(rect);
    plugin()->Hide();
    QCOMPARE(plugin()->Init(), 0);
    QVERIFY(!smsWindow());
    QObject *out = nullptr;
    QCOMPARE(plugin()->QueryInterface(InterfaceId::SmsUiService, &out), 0);
    QVERIFY(!out);
}

void TestPlugin::notifyWithoutWindow()
{
    // A phone-book change before Init still reaches checkNotifyType, which creates the
    // store and registers it with the SDK: received messages are counted from then on.
    QCOMPARE(notifier()->Notify(HostEvent::PhoneBookChanged, 0, 0), 0);
    QVERIFY(!smsWindow());
    QCOMPARE(injectUnread(UTPS_SMS_MEM_PC, "+15550111"), 0L);
    QTRY_COMPARE(service()->GetUnReadSMSTotalCount(), 1);
    QVERIFY(!service()->CanSendSMS());
    QVERIFY(!smsWindow());
}

void TestPlugin::notifyWithWindow()
{
    QCOMPARE(plugin()->Init(), 1);
    notifier()->Notify(HostEvent::SimAvailable, 0, 0);
    const int rootsWithCards = visibleTreeRoots();
    QVERIFY2(rootsWithCards >= 2, "the SIM or device folders did not appear");

    // The modem goes away; the host says so. The card folders disappear and stay away.
    QCOMPARE(SimCtl_SetDevicePlugged(0), 0L);
    QCOMPARE(SimCtl_WaitIdle(5000), 0L);
    notifier()->Notify(HostEvent::DeviceRemoved, 0, 0);
    QCOMPARE(visibleTreeRoots(), 1);
}

// A contact added while the window is up names its messages at once, not after a restart.
void TestPlugin::phoneBookChangeReachesTheTables()
{
    QCOMPARE(injectUnread(UTPS_SMS_MEM_PC, "+15550301"), 0L);
    QCOMPARE(SimCtl_WaitIdle(5000), 0L);
    QCOMPARE(plugin()->Init(), 1);
    QWidget parent;
    QRect rect(0, 0, 799, 599);
    QCOMPARE(plugin()->ShowWindow(&parent, rect), 1);
    auto *table = smsWindow()->findChild<QTableWidget *>();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("+15550301"));

    QCOMPARE(SimCtl_AddContact("Zoe Park", "+15550301", nullptr), 0L);
    notifier()->Notify(HostEvent::PhoneBookChanged, 0, 0);
    table = smsWindow()->findChild<QTableWidget *>();
    QVERIFY(table && table->rowCount() == 1);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Zoe Park"));
    plugin()->OnDestroy();  // the window goes before its parent
}

void TestPlugin::geometryRule()
{
    QWidget parent;
    parent.resize(400, 400);
    QCOMPARE(plugin()->Init(), 1);
    QRect rect(QPoint(10, 20), QPoint(109, 219));
    QCOMPARE(plugin()->ShowWindow(&parent, rect), 1);
    QWidget *window = smsWindow();
    QVERIFY(window);
    QCOMPARE(window->parentWidget(), &parent);
    QCOMPARE(window->pos(), QPoint(10, 20));
    QCOMPARE(window->size(), QSize(100, 200));
    QVERIFY(!window->isWindow());

    QRect fit(QPoint(0, 5), QPoint(299, 154));
    plugin()->FitSize(fit);
    QCOMPARE(window->geometry(), QRect(0, 5, 300, 150));

    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QVERIFY(window->isVisible());
    plugin()->Hide();
    QVERIFY(!window->isVisible());
    plugin()->UnSDKRegisterEvent();
    plugin()->OnDestroy();  // the window goes before its parent
}

void TestPlugin::simEventsHandledOnChange()
{
    QCOMPARE(plugin()->Init(), 1);
    INotify *n = notifier();
    const auto send = [n](unsigned int event) { return [n, event] { n->Notify(event, 0, 0); }; };
    QVERIFY(windowReactedToSim(send(HostEvent::SimAvailable)));
    QVERIFY(!windowReactedToSim(send(HostEvent::SimAvailable)));
    QVERIFY(windowReactedToSim(send(HostEvent::SimUnavailable)));
    QVERIFY(!windowReactedToSim(send(HostEvent::SimUnavailable)));
    QVERIFY(windowReactedToSim(send(HostEvent::SimAvailable)));
}

void TestPlugin::unreadTotalOverStorages()
{
    QCOMPARE(service()->GetUnReadSMSTotalCount(), 0);
    QCOMPARE(injectUnread(UTPS_SMS_MEM_PC, "+15550101"), 0L);
    QCOMPARE(injectUnread(UTPS_SMS_MEM_SIM, "+15550102"), 0L);
    QCOMPARE(injectUnread(UTPS_SMS_MEM_SIM, "+15550103"), 0L);
    QCOMPARE(injectUnread(UTPS_SMS_MEM_DEVICE, "+15550104"), 0L);
    QCOMPARE(SimCtl_WaitIdle(5000), 0L);
    QCOMPARE(plugin()->Init(), 1);
    notifier()->Notify(HostEvent::SimAvailable, 0, 0);
    QCOMPARE(service()->GetUnReadSMSTotalCount(), 4);

    // Arrivals while running count too, on every storage.
    QCOMPARE(injectUnread(UTPS_SMS_MEM_PC, "+15550105"), 0L);
    QCOMPARE(injectUnread(UTPS_SMS_MEM_DEVICE, "+15550106"), 0L);
    QTRY_COMPARE(service()->GetUnReadSMSTotalCount(), 6);
}

void TestPlugin::showSmsEditor_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("prompted");
    QTest::addColumn<bool>("pageShown");
    QTest::newRow("valid number") << QStringLiteral("+15550123") << CommonUtils::FirstButton << false << true;
    QTest::newRow("invalid, OK") << QStringLiteral("12ab") << CommonUtils::FirstButton << true << false;
    QTest::newRow("invalid, box closed") << QStringLiteral("12ab") << CommonUtils::ThirdButton << true << false;
    QTest::newRow("invalid, other answer") << QStringLiteral("12ab") << CommonUtils::SecondButton << true << true;
}

void TestPlugin::showSmsEditor()
{
    QFETCH(QString, number);
    QFETCH(int, answer);
    QFETCH(bool, prompted);
    QFETCH(bool, pageShown);
    QCOMPARE(service()->ShowSMSEditor(number, QStringLiteral("hi"), nullptr), -1);  // no window

    QCOMPARE(plugin()->Init(), 1);
    m_promptAnswer = answer;
    // Abandoned at the prompt: -1 and no editor; otherwise 0 and the editor shows the
    // caller's number and text, ready to send.
    QCOMPARE(service()->ShowSMSEditor(number, QStringLiteral("hi"), nullptr), pageShown ? 0 : -1);
    QWidget *editor = smsWindow()->findChild<QWidget *>(QStringLiteral("SMSUIPlugin_WidgetcreateMsg"));
    QCOMPARE(editor != nullptr && editor->isVisible(), pageShown);
    if (editor) {
        auto *line = editor->findChild<QLineEdit *>(QStringLiteral("SMSUIPlugin_LineEditNumber"));
        auto *text = editor->findChild<QTextEdit *>(QStringLiteral("SMSUIPlugin_TextEditMsgArea"));
        QVERIFY(line && text);
        QCOMPARE(line->text(), number);
        QCOMPARE(text->toPlainText(), QStringLiteral("hi"));
    }
    QCOMPARE(m_prompts.size(), prompted ? 1 : 0);
    if (prompted) {
        QCOMPARE(m_prompts.first().icon, QMessageBox::Question);
        QCOMPARE(m_prompts.first().button1, QStringLiteral("IDS_OK"));
        QVERIFY(m_prompts.first().button2.isEmpty());
    }
    QCOMPARE(m_layout.shown.contains(QStringLiteral("SMSUIPlugin")), pageShown);
}

void TestPlugin::canSendFollowsModem()
{
    // The modem is ready before the plug-in starts: sending is possible at once, without
    // waiting for a change the SDK would announce.
    QCOMPARE(plugin()->Init(), 1);
    QVERIFY(service()->CanSendSMS());

    QCOMPARE(SimCtl_SetFlightMode(1), 0L);
    QTRY_VERIFY(!service()->CanSendSMS());
    QCOMPARE(m_notifyService.broadcasts, QList<unsigned int>{HostEvent::SmsCannotSend});
    QCOMPARE(SimCtl_SetFlightMode(0), 0L);
    QTRY_VERIFY(service()->CanSendSMS());
    QCOMPARE(m_notifyService.broadcasts.last(), HostEvent::SmsCanSend);

    // Started in flight mode: nothing can be sent until the radio is back.
    plugin()->UnSDKRegisterEvent();
    plugin()->OnDestroy();
    delete m_loader.instance();  // a destroyed root stays so: the host loads a new one
    init();
    QCOMPARE(SimCtl_SetFlightMode(1), 0L);
    QCOMPARE(SimCtl_WaitIdle(5000), 0L);
    QCOMPARE(plugin()->Init(), 1);
    QVERIFY(!service()->CanSendSMS());
}

void TestPlugin::cleanShutdown()
{
    QCOMPARE(plugin()->Init(), 1);
    ISMSUIService *sms = service();
    QCOMPARE(injectUnread(UTPS_SMS_MEM_PC, "+15550201"), 0L);
    QTRY_COMPARE(sms->GetUnReadSMSTotalCount(), 1);  // the callback is registered

    plugin()->UnSDKRegisterEvent();
    QCOMPARE(injectUnread(UTPS_SMS_MEM_PC, "+15550202"), 0L);
    QCOMPARE(SimCtl_WaitIdle(5000), 0L);
    QCoreApplication::processEvents();
    QCOMPARE(sms->GetUnReadSMSTotalCount(), 1);

    // After OnDestroy the store is gone: a message arriving now must reach nothing that
    // was freed (run under the sanitizer build as well).
    plugin()->OnDestroy();
    QVERIFY(!smsWindow());
    QCOMPARE(injectUnread(UTPS_SMS_MEM_PC, "+15550203"), 0L);
    QCOMPARE(SimCtl_WaitIdle(5000), 0L);
    QCoreApplication::processEvents();
}

QTEST_MAIN(TestPlugin)
#include "tst_plugin.moc"
