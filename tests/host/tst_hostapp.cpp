// SPDX-License-Identifier: GPL-3.0-or-later
// The application without the SMS plug-in: what it registers, how it reports the missing
// plug-in, and how its Modem menu, status bar, address book and call plug-in behave on the
// SDK's simulator.
#include "AddressBook.h"
#include "Change.h"
#include "CommonUtils.h"
#include "ContactPickDialog.h"
#include "DeviceManager.h"
#include "HostApplication.h"
#include "MainFrame.h"
#include "ModemMenu.h"
#include "NotifyService.h"
#include "PluginIds.h"
#include "SmsPluginLoader.h"
#include "Startup.h"
#include "TestEnv.h"
#include "sdk_simulator.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// Stands where the SMS plug-in would: records the host events it is sent, and answers the
// unread count like the SMS service.
class SmsStandIn : public QObject, public INotify, public ISMSUIService
{
    Q_OBJECT
    Q_INTERFACES(INotify ISMSUIService)
public:
    int Notify(unsigned int event, unsigned int, unsigned int) override
    {
        events << event;
        return 0;
    }
    int ShowSMSEditor(QString, QString, QWidget *) override { return -1; }
    int GetUnReadSMSTotalCount() override { return unread; }
    bool CanSendSMS() override { return true; }

    QList<unsigned int> events;
    int unread = 0;
};

int storedCount(int memory)
{
    int count = -1;
    UTPS_SMSSrv_SMSRecordSetGetRecordCount(&count, static_cast<_UTPS_EN_SMS_MEM>(memory));
    return count;
}

} // namespace

class HostApplicationTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void containerLookups_data();
    void containerLookups();
    void missingPluginIsReportedAndHostRuns();
    void modemToggles_data();
    void modemToggles();
    void incomingTraffic();
    void fillAndRestoreStorage();
    void receiveDialogNeedsSenderAndText_data();
    void receiveDialogNeedsSenderAndText();
    void frameSizeRemembered_data();
    void frameSizeRemembered();
    void statusBarFollowsNotices();
    void receiveStorageFollowsSetting_data();
    void receiveStorageFollowsSetting();
    void addressBookSharesSdkPhoneBook();
    void contactPicking();
    void callsNeedAModem();
    void languageChangeRetranslatesAndTellsPlugins();
    void shutdownIsOrderlyAndRepeatable();
    void databaseProblemsAreToldAtStart();

private:
    QAction *modemAction(const QString &name) const;

    TestDataHome m_home;
    QTemporaryDir m_emptyPluginRoot;
    std::unique_ptr<HostApplication> m_host;
    std::unique_ptr<SmsStandIn> m_sms;
};

void HostApplicationTest::initTestCase()
{
    QVERIFY(m_home.isValid());
    // An empty plug-in root: the SMS plug-in is missing whatever has been built.
    qputenv("DIALCREST_PLUGIN_ROOT", m_emptyPluginRoot.path().toUtf8());
    SimCtl_SetDemoSeed(0);
}

void HostApplicationTest::init()
{
    QCOMPARE(SimCtl_Reset(), UTPS_OK);
    CommonUtils::SetSettings(QStringLiteral("SMSSERVICE"), QStringLiteral("ReceviceMode"), QString());
    m_host = std::make_unique<HostApplication>(HostOptions{});
    QVERIFY(m_host->start(/* showFrame */ true));
    m_sms = std::make_unique<SmsStandIn>();
    PluginContainer *container = Startup::GetPluginContainer();
    QVERIFY(container);
    container->RegisterPlugin(QLatin1String(PluginIds::SmsUi), QStringLiteral("SMSUIPlugin"), m_sms.get());
    container->RegisterPlugin(QLatin1String(PluginIds::SmsUi), QStringLiteral("SMSUIPlugin"), m_sms.get(),
                              InterfaceId::SmsUiService);
}

void HostApplicationTest::cleanup()
{
    m_host.reset();
    m_sms.reset();
}

QAction *HostApplicationTest::modemAction(const QString &name) const
{
    return m_host->modemMenu()->menu()->findChild<QAction *>(name);
}

void HostApplicationTest::containerLookups_data()
{
    QTest::addColumn<QString>("clsid");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("iid");
    auto row = [](const char *name, const char *clsid, int number, const char *iid) {
        QTest::newRow(name) << QString::fromLatin1(clsid) << number << QString::fromLatin1(iid);
    };
    row("address book", PluginIds::AddrBook, 4097, IAddrBookUIPlugin_iid);
    row("main frame", PluginIds::MainFrame, 4113, IMainFrameUIService_iid);
    row("mini frame 0", PluginIds::MiniFrame, 0, IMiniFrameUIService_iid);
    row("mini frame 4097", PluginIds::MiniFrame, 4097, IMiniFrameUIService_iid);
    row("device manager", PluginIds::DeviceMgr, 4097, IDeviceMgr_iid);
    row("notify service", PluginIds::NotifyService, 8209, INotifyService_iid);
    row("toolbar 0", PluginIds::MainToolbar, 0, IMainToolbar_iid);
    row("toolbar 4098", PluginIds::MainToolbar, 4098, IMainToolbar_iid);
    row("toolbar 4099", PluginIds::MainToolbar, 4099, IMainToolbar_iid);
    row("menu 0", PluginIds::MainMenu, 0, IMainMenuUI_iid);
    row("menu 4099", PluginIds::MainMenu, 4099, IMainMenuUI_iid);
    row("call", PluginIds::CallUi, 4097, ICallUIPlugin_iid);
    row("status bar", PluginIds::StatusBar, 0, INotify_iid);
}

void HostApplicationTest::containerLookups()
{
    QFETCH(QString, clsid);
    QFETCH(int, number);
    QFETCH(QString, iid);
    // Callers convert with qt_metacast and the interface string, exactly like this.
    QObject *object = Startup::GetPluginContainer()->GetPlugin(clsid.toLower(), number);
    QVERIFY(object);
    QVERIFY(object->qt_metacast(iid.toLatin1().constData()));
    QVERIFY(CommonUtils::IsPluginAvailable(clsid));
}

void HostApplicationTest::missingPluginIsReportedAndHostRuns()
{
    QVERIFY(!m_host->smsPlugin()->isReady());
    QVERIFY(!m_host->smsPlugin()->errorString().isEmpty());
    auto *problem = m_host->smsPage()->findChild<QLabel *>(QStringLiteral("dialcrest_PluginProblem"));
    QVERIFY(problem);
    QVERIFY(problem->isVisible());
    QVERIFY(problem->text().contains(m_host->smsPlugin()->errorString()));
    QCOMPARE(m_host->frame()->currentPage(), QStringLiteral("SMSUIPlugin"));
    // The page switcher and the call plug-in's name are what the plug-in would rely on.
    QVERIFY(CommonUtils::GetLayoutPlugin());
    QCOMPARE(Startup::GetPluginContainer()->GetCLSIDByName(QLatin1String(HostApplication::callPluginName())).toUpper(),
             QString::fromLatin1(PluginIds::CallUi).toUpper());
}

void HostApplicationTest::modemToggles_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QList<unsigned int>>("events");
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<bool>("sim");
    QTest::addColumn<bool>("flight");

    QTest::newRow("SIM out") << QStringList{"dialcrest_ModemSim"} << QList<unsigned int>{579} << true << false << false;
    QTest::newRow("SIM out and in") << QStringList{"dialcrest_ModemSim", "dialcrest_ModemSim"}
                                    << QList<unsigned int>{579, 578} << true << true << false;
    QTest::newRow("flight on") << QStringList{"dialcrest_ModemFlight"} << QList<unsigned int>{576} << true << true
                               << true;
    QTest::newRow("flight on and off") << QStringList{"dialcrest_ModemFlight", "dialcrest_ModemFlight"}
                                       << QList<unsigned int>{576, 577} << true << true << false;
    // Unplugging also withdraws the SIM, so that the re-plug's "SIM available" is not
    // taken for a repeat and ignored.
    QTest::newRow("unplug") << QStringList{"dialcrest_ModemPlugged"} << QList<unsigned int>{4101, 579} << false
                            << true << false;
    QTest::newRow("unplug and plug") << QStringList{"dialcrest_ModemPlugged", "dialcrest_ModemPlugged"}
                                     << QList<unsigned int>{4101, 579, 578} << true << true << false;
    // Without the modem the card cannot be reached: the SIM toggle does nothing then.
    QTest::newRow("SIM toggle while unplugged")
        << QStringList{"dialcrest_ModemPlugged", "dialcrest_ModemSim", "dialcrest_ModemPlugged"}
        << QList<unsigned int>{4101, 579, 578} << true << true << false;
}

void HostApplicationTest::modemToggles()
{
    QFETCH(QStringList, actions);
    QFETCH(QList<unsigned int>, events);
    QFETCH(bool, plugged);
    QFETCH(bool, sim);
    QFETCH(bool, flight);

    for (const QString &name : actions) {
        QAction *action = modemAction(name);
        QVERIFY2(action, qPrintable(name));
        action->trigger();
    }
    QCOMPARE(m_sms->events, events);

    // The simulated modem really is in that state.
    int status = -1;
    QCOMPARE(UTPS_DevSrv_GetDevStatus(&status), UTPS_OK);
    QCOMPARE(status != UTPS_DEV_STATUS_ABSENT, plugged);
    DeviceManager *device = m_host->deviceManager();
    QCOMPARE(device->devicePlugged(), plugged);
    QCOMPARE(device->simInserted(), sim);
    QCOMPARE(device->flightMode(), flight);
    if (plugged) {
        QCOMPARE(device->IsSimValid() != 0, sim);
        _UTPS_ST_RF_SWITCH rf{-1, -1};
        QCOMPARE(UTPS_DevSrv_GetRFSwitch(&rf), UTPS_OK);
        QCOMPARE(rf.iSoftSwitch == 0, flight);
    }
    QCOMPARE(modemAction(QStringLiteral("dialcrest_ModemPlugged"))->isChecked(), plugged);
    QCOMPARE(modemAction(QStringLiteral("dialcrest_ModemSim"))->isChecked(), plugged && sim);
    // Only what can happen now is offered: messages arrive with modem, card and radio.
    const bool canArrive = plugged && sim && !flight;
    for (const char *name : {"dialcrest_ModemReceive", "dialcrest_ModemReceiveCustom",
                             "dialcrest_ModemFlash", "dialcrest_ModemReport",
                             "dialcrest_ModemBroadcast"})
        QCOMPARE(modemAction(QLatin1String(name))->isEnabled(), canArrive);
    QCOMPARE(modemAction(QStringLiteral("dialcrest_ModemSim"))->isEnabled(), plugged);
    if (!canArrive) {
        const int before = storedCount(UTPS_SMS_MEM_PC);
        QVERIFY(m_host->modemMenu()->receiveMessage() != UTPS_OK);
        QCOMPARE(storedCount(UTPS_SMS_MEM_PC), before);
    }
}

void HostApplicationTest::incomingTraffic()
{
    ModemMenu *modem = m_host->modemMenu();
    const int before = storedCount(UTPS_SMS_MEM_PC);
    QCOMPARE(modem->receiveMessage(), UTPS_OK);
    QCOMPARE(storedCount(UTPS_SMS_MEM_PC), before + 1);
    QCOMPARE(modem->receiveFlashMessage(), UTPS_OK);  // shown, never stored
    QCOMPARE(storedCount(UTPS_SMS_MEM_PC), before + 1);
    QCOMPARE(modem->receiveStatusReport(), UTPS_OK);
    QCOMPARE(modem->receiveCellBroadcast(), UTPS_OK);
    QCOMPARE(storedCount(UTPS_SMS_MEM_PC), before + 3);
    QCOMPARE(modem->receiveMessage(UTPS_SMS_MEM_SIM), UTPS_OK);
    QCOMPARE(storedCount(UTPS_SMS_MEM_SIM), 1);
}

void HostApplicationTest::fillAndRestoreStorage()
{
    ModemMenu *modem = m_host->modemMenu();
    for (int memory : {int(UTPS_SMS_MEM_SIM), int(UTPS_SMS_MEM_DEVICE)}) {
        QCOMPARE(modem->fillStorage(memory), UTPS_OK);
        int capacity = 0, used = -1;
        QCOMPARE(UTPS_SMSSrv_GetRecordInfo(&capacity, &used, static_cast<_UTPS_EN_SMS_MEM>(memory)), UTPS_OK);
        QCOMPARE(used, capacity);
        // Full now: the next message is refused by the modem, not lost silently.
        QCOMPARE(modem->receiveMessage(memory), UTPS_E_STORAGE_FULL);
        QCOMPARE(m_host->frame()->statusBar()->currentMessage(),
                 QStringLiteral("No message received: the storage is full"));
    }
    QCOMPARE(modem->restoreCapacities(), UTPS_OK);
    int capacity = 0, used = 0;
    QCOMPARE(UTPS_SMSSrv_GetRecordInfo(&capacity, &used, UTPS_SMS_MEM_SIM), UTPS_OK);
    QCOMPARE(capacity, 50);
    QCOMPARE(modem->receiveMessage(UTPS_SMS_MEM_SIM), UTPS_OK);
}

void HostApplicationTest::receiveDialogNeedsSenderAndText_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("number") << "+447700900123" << "hi" << true;
    QTest::newRow("short name") << "MyBank" << "code 1234" << true;
    QTest::newRow("empty sender") << "" << "hi" << false;
    QTest::newRow("blank sender") << "   " << "hi" << false;
    QTest::newRow("empty text") << "+447700900123" << "" << false;
    QTest::newRow("blank text") << "+447700900123" << " \n " << false;
    QTest::newRow("name too long") << "A very long sender name" << "hi" << false;
    QTest::newRow("plus inside") << "+44+77" << "hi" << false;
}

void HostApplicationTest::receiveDialogNeedsSenderAndText()
{
    QFETCH(QString, sender);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(ModemMenu::receiveProblem(sender, text).isEmpty(), accepted);
}

void HostApplicationTest::frameSizeRemembered_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QSize>("size");
    QTest::newRow("kept") << "700x500" << QSize(700, 500);
    QTest::newRow("none") << "" << QSize(960, 640);
    QTest::newRow("damaged") << "wide" << QSize(960, 640);
    QTest::newRow("too small") << "10x10" << QSize(960, 640);
}

void HostApplicationTest::frameSizeRemembered()
{
    QFETCH(QString, stored);
    QFETCH(QSize, size);
    CommonUtils::SetSettings(QStringLiteral("mainframe"), QStringLiteral("size"), stored);
    MainFrame frame;
    QCOMPARE(frame.size(), size);
    frame.resize(810, 610);
    frame.saveSize();
    QCOMPARE(CommonUtils::GetSettings(QStringLiteral("mainframe"), QStringLiteral("size")),
             QStringLiteral("810x610"));
}

void HostApplicationTest::statusBarFollowsNotices()
{
    auto *unread = m_host->frame()->findChild<QLabel *>(QStringLiteral("dialcrest_StatusUnread"));
    auto *sending = m_host->frame()->findChild<QLabel *>(QStringLiteral("dialcrest_StatusSending"));
    QVERIFY(unread && sending);
    m_sms->unread = 5;
    QCOMPARE(m_host->notifyService()->SendTo(QLatin1String(PluginIds::StatusBar), HostEvent::StatusBarNotice, 0, 0), 1);
    QCOMPARE(unread->property("unreadCount").toInt(), 5);
    QVERIFY(unread->text().contains(QLatin1Char('5')));

    // Can-send broadcasts reach the status bar because it subscribed to them.
    m_host->notifyService()->Broadcast(HostEvent::SmsCannotSend, 0, 0);
    const QString cannot = sending->text();
    m_host->notifyService()->Broadcast(HostEvent::SmsCanSend, 0, 0);
    QVERIFY(!cannot.isEmpty());
    QVERIFY(sending->text() != cannot);
}

void HostApplicationTest::receiveStorageFollowsSetting_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("storage");
    QTest::newRow("card") << "1" << int(UTPS_SMS_MEM_SIM);
    QTest::newRow("pc") << "0" << int(UTPS_SMS_MEM_PC);
    QTest::newRow("unset") << "" << int(UTPS_SMS_MEM_PC);
    QTest::newRow("garbage") << "yes" << int(UTPS_SMS_MEM_PC);
}

void HostApplicationTest::receiveStorageFollowsSetting()
{
    QFETCH(QString, value);
    QFETCH(int, storage);
    // Start from the opposite storage so that a no-op cannot pass.
    SimCtl_SetReceiveStorage(storage == UTPS_SMS_MEM_PC ? UTPS_SMS_MEM_SIM : UTPS_SMS_MEM_PC);
    CommonUtils::SetSettings(QStringLiteral("SMSSERVICE"), QStringLiteral("ReceviceMode"), value);
    QVERIFY(m_host->deviceManager()->applyReceiveStorageSetting());
    int actual = -1;
    QCOMPARE(SimCtl_GetReceiveStorage(&actual), UTPS_OK);
    QCOMPARE(actual, storage);
}

void HostApplicationTest::addressBookSharesSdkPhoneBook()
{
    AddressBook *book = m_host->addressBook();
    NotifyService *notify = m_host->notifyService();
    notify->Subscribe(QLatin1String(PluginIds::SmsUi), HostEvent::PhoneBookAdded);
    notify->Subscribe(QLatin1String(PluginIds::SmsUi), HostEvent::PhoneBookRemoved);

    const int id = book->addContact(QStringLiteral("Amira Haddad"), QStringLiteral("+447700900123"));
    QVERIFY(id >= 0);
    QCOMPARE(book->addContact(QStringLiteral("  "), QStringLiteral("+1")), -1);
    QCOMPARE(m_sms->events, QList<unsigned int>{HostEvent::PhoneBookAdded});

    // The SDK's own look-up sees the contact: the SMS page resolves names through it.
    const std::u16string number = u"+447700900123";
    UTPS_WCHAR *name = nullptr;
    int contactId = -1;
    QCOMPARE(UTPS_PBSrv_FindNameByNumber(reinterpret_cast<const UTPS_WCHAR *>(number.c_str()), &name, 64, &contactId),
             UTPS_OK);
    const QString sdkName = QString::fromUtf16(reinterpret_cast<const char16_t *>(name));
    delete[] name;
    QCOMPARE(sdkName, QStringLiteral("Amira Haddad"));
    QCOMPARE(contactId, id);
    QCOMPARE(book->GetNameByNumber(QStringLiteral("07700 900123")), QStringLiteral("Amira Haddad"));
    QCOMPARE(book->GetNameByNumber(QStringLiteral("+15550100")), QString());

    QVERIFY(book->removeContact(id));
    QVERIFY(book->contacts().isEmpty());
    QCOMPARE(m_sms->events.last(), HostEvent::PhoneBookRemoved);
    QVERIFY(!book->removeContact(id));
}

void HostApplicationTest::contactPicking()
{
    const QList<Contact> contacts{{1, "Amira", "+447700900123"}, {2, "Ben", "+15550100777"}, {3, "Chen", "+8613800138000"}};
    ContactPickDialog multi(contacts, {"07700900123", "+999"}, /* multiple */ true);
    QListWidget *list = multi.list();
    QCOMPARE(list->item(0)->checkState(), Qt::Checked);  // same number, national form
    QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
    list->item(2)->setCheckState(Qt::Checked);
    QCOMPARE(multi.chosenNumbers(), (QStringList{"+999", "+447700900123", "+8613800138000"}));

    ContactPickDialog single(contacts, {}, /* multiple */ false);
    single.list()->item(0)->setCheckState(Qt::Checked);
    single.list()->item(1)->setCheckState(Qt::Checked);
    QCOMPARE(single.chosenNumbers(), QStringList{"+15550100777"});
}

void HostApplicationTest::callsNeedAModem()
{
    QVERIFY(CommonUtils::MakeCall(QStringLiteral("+447700900123"), 0) != 0);
    auto *call = qobject_cast<ICallUIPlugin *>(
        Startup::GetPluginContainer()->GetPlugin(QLatin1String(PluginIds::CallUi), InterfaceId::CallUi));
    QVERIFY(call);
    QVERIFY(call->IsCallNotificationVisible());
    QCOMPARE(call->MakeCall(QStringLiteral("   "), 0), 0);
    QVERIFY(m_host->deviceManager()->setDevicePlugged(false));
    QCOMPARE(call->MakeCall(QStringLiteral("+447700900123"), 0), 0);
}

void HostApplicationTest::languageChangeRetranslatesAndTellsPlugins()
{
    QMenu *modem = m_host->frame()->menuByName(QStringLiteral("dialcrest_MenuModem"));
    QAction *sim = modemAction(QStringLiteral("dialcrest_ModemSim"));
    QVERIFY(modem && sim);
    const QString englishTitle = modem->title();
    const QString englishSim = sim->text();
    QVERIFY(m_host->changeLanguage(QStringLiteral("ar")));
    QCOMPARE(m_sms->events, QList<unsigned int>{HostEvent::LanguageChanged});
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
    QCOMPARE(modem->title(), Change::tr(QStringLiteral("IDS_HOST_MENU_MODEM"), QLatin1String(Change::HostContext)));
    QVERIFY(modem->title() != englishTitle);
    QVERIFY(sim->text() != englishSim);
    QVERIFY(m_host->changeLanguage(QStringLiteral("en")));
    QCOMPARE(modem->title(), englishTitle);
    QCOMPARE(sim->text(), englishSim);
    QVERIFY(!m_host->changeLanguage(QStringLiteral("xx")));
    QCOMPARE(m_sms->events.size(), 2);
}

void HostApplicationTest::shutdownIsOrderlyAndRepeatable()
{
    m_host->shutdown();
    QVERIFY(!Startup::GetPluginContainer());
    QVERIFY(!CommonUtils::GetLayoutPlugin());
    QVERIFY(!CommonUtils::GetMainWindow());
    QVERIFY(CommonUtils::IsShuttingDown());
    m_host->shutdown();
    // A second start in the same process works (the test suite relies on it too).
    QVERIFY(m_host->start(false));
    QVERIFY(Startup::GetPluginContainer());
    QVERIFY(!CommonUtils::IsShuttingDown());
}

QTEST_MAIN(HostApplicationTest)
// A damaged database: one box saying where it went, the file kept byte for byte. A data
// folder that cannot be made: one box saying what is wrong, naming the database's place.
void HostApplicationTest::databaseProblemsAreToldAtStart()
{
    QList<MessageRequest> boxes;
    const MessageResponder previous = CommonUtils::SetMessageResponder([&boxes](const MessageRequest &r) {
        boxes.append(r);
        return CommonUtils::FirstButton;
    });
    m_host.reset();
    SimCtl_Shutdown();
    const QString db = m_home.path() + QStringLiteral("/sdk.db");
    for (const char *suffix : {"-wal", "-shm"})
        QFile::remove(db + QLatin1String(suffix));
    const QByteArray garbage(4096, 'g');
    QFile file(db);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(garbage);
    file.close();

    m_host = std::make_unique<HostApplication>(HostOptions{});
    QVERIFY(m_host->start(false));
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().icon, QMessageBox::Warning);
    const QStringList aside = QDir(m_home.path()).entryList({QStringLiteral("sdk.db.corrupt-*")}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QVERIFY2(boxes.first().text.contains(m_home.path() + QLatin1Char('/') + aside.first()), qPrintable(boxes.first().text));
    QFile kept(m_home.path() + QLatin1Char('/') + aside.first());
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), garbage);
    kept.remove();

    m_host.reset();
    boxes.clear();
    const QString blocked = m_home.path() + QStringLiteral("/blocked");
    QFile blocker(blocked);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("DIALCREST_HOME", QFile::encodeName(blocked));
    m_host = std::make_unique<HostApplication>(HostOptions{});
    QVERIFY(m_host->start(false));
    m_host.reset();
    qputenv("DIALCREST_HOME", QFile::encodeName(m_home.path()));
    blocker.remove();
    CommonUtils::SetMessageResponder(previous);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().icon, QMessageBox::Critical);
    QVERIFY2(boxes.first().text.contains(blocked + QStringLiteral("/sdk.db")), qPrintable(boxes.first().text));
}

#include "tst_hostapp.moc"
