// SPDX-License-Identifier: GPL-3.0-or-later
// The ModemManager backend of the SDK against a fake ModemManager on a private bus.
#include "FakeModemManager.h"
#include "SdkTestSupport.h"
#include "TestEnv.h"
#include "sdk_backend.h"

#include <QProcess>
#include <QtTest>

namespace {

constexpr uint kSm = 1;
constexpr uint kMe = 2;

int eventCount(int event)
{
    return int(EventRecorder::instance().events(0, event).size());
}

bool hasStatus(int code)
{
    const auto events = EventRecorder::instance().events(0, EVENT_SMS_ONSTATUSCHANGED);
    return std::any_of(events.begin(), events.end(), [code](const Captured &c) { return c.code == code; });
}

QList<int> idsOf(int memory)
{
    int *ids = nullptr;
    int count = 0;
    QList<int> out;
    if (UTPS_SMSSrv_GetSmsIdList(&ids, &count, static_cast<_UTPS_EN_SMS_MEM>(memory)) == UTPS_OK)
        out = QList<int>(ids, ids + count);
    UTPS_SMSSrv_ReleaseSmsIdList(&ids);
    return out;
}

bool fakeHolds(const FakeModemManager &fake, const QString &text, const QString &path = {})
{
    const auto stored = fake.stored();
    return std::any_of(stored.begin(), stored.end(),
                       [&](const auto &s) { return path.isEmpty() ? s.text == text : s.path == path; });
}

} // namespace

class TestModemManager : public QObject
{
    Q_OBJECT
    TestDataHome m_home;
    FakeModemManager m_fake;

    int receiveOnSim(const QString &number, const QString &text)
    {
        const int before = eventCount(EVENT_SMS_ONRECEIVE);
        m_fake.receive(number, text, kSm);
        if (!QTest::qWaitFor([&] { return eventCount(EVENT_SMS_ONRECEIVE) > before; }, 5000))
            return -1;
        return EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).last().id;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        SimCtl_SetDemoSeed(0);
        char why[512] = {};
        // No bus at all, then a bus without ModemManager: a clear refusal, never a hang.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/dialcrest-test-bus");
        QCOMPARE(SdkBackend_Select("modemmanager", why, sizeof why), UTPS_E_NO_DEVICE);
        QVERIFY2(QByteArray(why).contains("D-Bus"), why);
        if (!m_fake.startBus())
            QSKIP(qPrintable(m_fake.error()));
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_fake.busAddress().toUtf8());
        QCOMPARE(SdkBackend_Select("modemmanager", why, sizeof why), UTPS_E_NO_DEVICE);
        QVERIFY2(QByteArray(why).contains("not running"), why);
        QCOMPARE(SdkBackend_Current(), SDK_BACKEND_SIMULATOR);
        QCOMPARE(SdkBackend_Select("modemmanager:x", why, sizeof why), UTPS_E_INVALID_ARG);

        QVERIFY2(m_fake.startService(), qPrintable(m_fake.error()));
        QCOMPARE(SdkBackend_Select("modemmanager", why, sizeof why), UTPS_OK);
        QCOMPARE(SdkBackend_Current(), SDK_BACKEND_MODEMMANAGER);
    }
    void init()
    {
        EventRecorder::instance().clear();
        EventRecorder::registerAll();
        QTRY_VERIFY(countOf(UTPS_SMS_MEM_SIM) >= 0);
    }

    // The application itself: on the fake modem it starts and renders its window; with no
    // ModemManager to be found it says so and exits instead of hanging.
    void application_data()
    {
        QTest::addColumn<bool>("reachable");
        QTest::newRow("ModemManager running") << true;
        QTest::newRow("no ModemManager") << false;
    }
    void application()
    {
        QFETCH(bool, reachable);
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"),
                   reachable ? m_fake.busAddress() : QStringLiteral("unix:path=/nonexistent/bus"));
        env.insert(QStringLiteral("DIALCREST_HOME"), m_home.path() + QStringLiteral("/app"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        app.setProcessEnvironment(env);
        const QString shot = m_home.path() + (reachable ? QStringLiteral("/shot.png") : QStringLiteral("/none.png"));
        app.start(QStringLiteral(DIALCREST_EXE), {QStringLiteral("--modem"), QStringLiteral("modemmanager"),
                                                  QStringLiteral("--screenshot"), shot,
                                                  QStringLiteral("--screenshot-delay"), QStringLiteral("300")});
        QVERIFY2(app.waitForStarted(10000), qPrintable(app.errorString()));
        QVERIFY(app.waitForFinished(60000));
        const QByteArray errors = app.readAllStandardError();
        // The child's own words are the only clue when it exits otherwise.
        QVERIFY2(app.exitCode() == (reachable ? 0 : 1), errors.constData());
        QCOMPARE(QFile::exists(shot), reachable);
        if (!reachable)
            QVERIFY2(errors.contains("ModemManager"), errors.constData());
    }

    void simulatorControlsAreNotAvailable()
    {
        QCOMPARE(SimCtl_InjectMessage(1, "+1", "x", nullptr, 3, nullptr), SIMCTL_E_NOT_AVAILABLE);
        QCOMPARE(SimCtl_SetDevicePlugged(0), SIMCTL_E_NOT_AVAILABLE);
        QCOMPARE(SimCtl_FailNextCalls("UTPS_SMSSrv_GetMsg", 0, 1), UTPS_OK);
    }

    void receivedMessagesAreListedWithAReadFlagThatLasts()
    {
        const int id = receiveOnSim(QStringLiteral("+447700900123"), QStringLiteral("see you at five"));
        QVERIFY(id >= 0);
        const Captured arrived = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).last();
        QCOMPARE(arrived.pos, UTPS_POS_SIM_INBOX);
        QVERIFY(idsOf(UTPS_SMS_MEM_SIM).contains(id));
        Fetched f = fetch(id, UTPS_SMS_MEM_SIM);
        QCOMPARE(f.rc, UTPS_OK);
        QCOMPARE(f.content, QStringLiteral("see you at five"));
        QCOMPARE(f.rec.iReadStatus, 1);
        QCOMPARE(f.time.size(), 14);

        f.rec.iReadStatus = 0;
        f.rec.pszNumber = const_cast<UTPS_WCHAR *>(w(f.number));
        f.rec.pszContent = const_cast<UTPS_WCHAR *>(w(f.content));
        QCOMPARE(UTPS_SMSSrv_UpdateMsg(&f.rec), UTPS_OK);
        // Rewriting the text is beyond ModemManager: refused, not faked.
        const QString other = QStringLiteral("changed");
        f.rec.pszContent = const_cast<UTPS_WCHAR *>(w(other));
        QCOMPARE(UTPS_SMSSrv_UpdateMsg(&f.rec), UTPS_E_FAILED);

        // Unplugged and back (a re-listing), then the SDK restarted: still read.
        m_fake.setModemPresent(false);
        QTRY_COMPARE(countOf(UTPS_SMS_MEM_SIM), -1);
        m_fake.setModemPresent(true);
        QTRY_VERIFY(idsOf(UTPS_SMS_MEM_SIM).contains(id));
        QCOMPARE(fetch(id, UTPS_SMS_MEM_SIM).rec.iReadStatus, 0);
        SimCtl_Shutdown();
        EventRecorder::registerAll();
        QCOMPARE(fetch(id, UTPS_SMS_MEM_SIM).rec.iReadStatus, 0);
    }

    void multipartIsAnnouncedOnceComplete()
    {
        const QString whole = QString(300, QLatin1Char('m'));
        const QString path = m_fake.receivePartial(QStringLiteral("+15550111"), whole.left(153), kMe);
        // The first part alone is not a message yet: the only arrival is the whole one.
        m_fake.complete(path, whole);
        QTRY_COMPARE(eventCount(EVENT_SMS_ONRECEIVE), 1);
        const Captured c = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).first();
        QCOMPARE(c.content, whole);
        QCOMPARE(c.pos, UTPS_POS_DEVICE_INBOX);
    }

    void flashAndStatusReports()
    {
        m_fake.receive(QStringLiteral("+15550112"), QStringLiteral("flash!"), kMe, /* class */ 0);
        QTRY_COMPARE(eventCount(EVENT_SMS_ONRECEIVE), 1);
        QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).first().msgClass, UTPS_MSGCLASS_FLASH);

        const QString report = m_fake.receiveStatusReport(QStringLiteral("+15550113"), 0);
        QTRY_COMPARE(eventCount(EVENT_SMS_ONRECEIVE), 2);
        const Captured c = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).last();
        QCOMPARE(c.pos, UTPS_POS_PC_REPORTS);
        QCOMPARE(c.msgType, UTPS_MSGTYPE_STATUS_REPORT);
        QCOMPARE(fetch(c.id, UTPS_SMS_MEM_PC).rc, UTPS_OK);
        // Filed on the PC, so the modem's copy goes.
        QTRY_VERIFY(!fakeHolds(m_fake, {}, report));
    }

    void untrustedSenderIsCleaned()
    {
        const QString evil = QStringLiteral("+1\x07<b>x</b>\x1b[2J") + QString(100, QLatin1Char('9'));
        const QString longText = QString(12000, QLatin1Char('t'));
        m_fake.receive(evil, longText, kSm);
        QTRY_COMPARE(eventCount(EVENT_SMS_ONRECEIVE), 1);
        const Captured c = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).first();
        QCOMPARE(c.number.size(), 64);
        for (QChar ch : c.number)
            QVERIFY(!ch.isNonCharacter() && ch.unicode() >= 0x20 && ch.unicode() != 0x7F);
        QVERIFY(c.number.startsWith(QStringLiteral("+1\uFFFD<b>")));
        QCOMPARE(c.content.size(), 10000);
    }

    void sendCarriesTheSettingsAndReportsEachRecipient()
    {
        QCOMPARE(UTPS_SMSSrv_SetSMSCentreNumber(w(QStringLiteral("+447785016005"))), UTPS_OK);
        QCOMPARE(UTPS_SMSSrv_SetSMSValidityPeriod(86400), UTPS_OK);
        QCOMPARE(UTPS_SMSSrv_SetSMSReceiptNotify(1), UTPS_OK);
        const int sentBefore = int(m_fake.sent().size());
        LocalRecord r(UTPS_POS_PC_OUTBOX, QStringLiteral("+15550121;+15550122"), QString(200, QLatin1Char('s')));
        QCOMPARE(UTPS_SMSSrv_SendMsg(&r.rec), UTPS_OK);
        QTRY_COMPARE(eventCount(EVENT_SMS_ONSAVESEND), 1);
        const auto results = EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT);
        QCOMPARE(results.size(), 4); // two recipients, two segments each
        for (const Captured &c : results)
            QCOMPARE(c.status, 0);
        QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).first().status, 0);
        const auto sent = m_fake.sent().mid(sentBefore);
        QCOMPARE(sent.size(), 2);
        QCOMPARE(sent.first().smsc, QStringLiteral("+447785016005"));
        QCOMPARE(sent.first().validityMinutes, 1440u);
        QVERIFY(sent.first().deliveryReport);

        EventRecorder::instance().clear();
        m_fake.setSendFails(true);
        LocalRecord fails(UTPS_POS_PC_OUTBOX, QStringLiteral("+15550123"), QStringLiteral("no luck"));
        QCOMPARE(UTPS_SMSSrv_SendMsg(&fails.rec), UTPS_OK);
        QTRY_COMPARE(eventCount(EVENT_SMS_ONSAVESEND), 1);
        m_fake.setSendFails(false);
        QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT).first().status, int(UTPS_E_SEND_FAILED));
        const Captured copy = EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).first();
        QCOMPARE(copy.status, 1);
        QCOMPARE(fetch(copy.id, UTPS_SMS_MEM_PC).content, QStringLiteral("no luck"));
    }

    void storeAndDeleteOnTheModem()
    {
        long rc = -1;
        const int id = saveAt(UTPS_POS_SIM_OUTBOX, QStringLiteral("+15550131"), QStringLiteral("draft on sim"), &rc);
        QCOMPARE(rc, UTPS_OK);
        QVERIFY(fakeHolds(m_fake, QStringLiteral("draft on sim")));
        QCOMPARE(fetch(id, UTPS_SMS_MEM_SIM).rec.iPos, UTPS_POS_SIM_OUTBOX);
        QCOMPARE(UTPS_SMSSrv_DeleteMsg(id, UTPS_SMS_MEM_SIM), UTPS_OK);
        QVERIFY(!fakeHolds(m_fake, QStringLiteral("draft on sim")));
        QCOMPARE(eventCount(EVENT_SMS_DELETE), 0); // our own deletion is no news

        // What ModemManager cannot do is answered as such, with no number made up.
        saveAt(UTPS_POS_DEVICE_INBOX, QStringLiteral("+1"), QStringLiteral("received"), &rc);
        QCOMPARE(rc, UTPS_E_FAILED);
        int capacity = -1, used = -1;
        QCOMPARE(UTPS_SMSSrv_GetRecordInfo(&capacity, &used, UTPS_SMS_MEM_SIM), UTPS_E_FAILED);
        m_fake.setStoreFull(true);
        saveAt(UTPS_POS_SIM_OUTBOX, QStringLiteral("+1"), QStringLiteral("no room"), &rc);
        m_fake.setStoreFull(false);
        QCOMPARE(rc, UTPS_E_STORAGE_FULL);
        QTRY_VERIFY(hasStatus(UTPS_SMS_STATUS_SIM_FULL));
        QVERIFY(!fakeHolds(m_fake, QStringLiteral("no room")));
    }

    // A move to the PC: the modem's copy goes only once the PC copy is committed.
    void moveKeepsTheModemCopyUntilTheCommit_data()
    {
        QTest::addColumn<bool>("commitFails");
        QTest::addColumn<bool>("modemLeaves");
        QTest::newRow("committed") << false << false;
        QTest::newRow("commit fails") << true << false;
        QTest::newRow("modem unplugged mid-batch") << false << true;
    }
    void moveKeepsTheModemCopyUntilTheCommit()
    {
        QFETCH(bool, commitFails);
        QFETCH(bool, modemLeaves);
        const QString text = QStringLiteral("move me %1").arg(QTest::currentDataTag());
        const int id = receiveOnSim(QStringLiteral("+15550141"), text);
        QVERIFY(id >= 0);
        QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
        const int pcId = saveAt(UTPS_POS_PC_INBOX, QStringLiteral("+15550141"), text);
        QVERIFY(pcId >= 0);
        QCOMPARE(UTPS_SMSSrv_DeleteMsg(id, UTPS_SMS_MEM_SIM), UTPS_OK);
        QVERIFY(fakeHolds(m_fake, text));
        QVERIFY(!idsOf(UTPS_SMS_MEM_SIM).contains(id));
        if (modemLeaves) {
            m_fake.setModemPresent(false);
            QTRY_VERIFY(hasStatus(UTPS_SMS_STATUS_DEVICE_NOT_AVAILABLE));
        }
        if (commitFails)
            SimCtl_FailNextCalls("UTPS_SMSSrv_EndTransaction", 1, UTPS_E_ROLLED_BACK);
        UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC);
        const bool pcHasIt = fetch(pcId, UTPS_SMS_MEM_PC).rc == UTPS_OK;
        QCOMPARE(pcHasIt, !commitFails);
        QCOMPARE(fakeHolds(m_fake, text), commitFails || modemLeaves);
        if (modemLeaves) {
            m_fake.setModemPresent(true);
            QTRY_VERIFY(idsOf(UTPS_SMS_MEM_SIM).contains(id));
        } else {
            QCOMPARE(idsOf(UTPS_SMS_MEM_SIM).contains(id), commitFails);
        }
    }

    void simAndRadioFollowTheModem()
    {
        _UTPS_ST_RF_SWITCH rf{};
        m_fake.setSimPresent(false);
        QTRY_VERIFY(hasStatus(UTPS_SMS_STATUS_SIM_NOT_AVAILABLE));
        QCOMPARE(countOf(UTPS_SMS_MEM_SIM), -1);
        m_fake.setSimPresent(true);
        QTRY_VERIFY(hasStatus(UTPS_SMS_STATUS_SIM_OK));
        QTRY_VERIFY(hasStatus(UTPS_SMS_STATUS_CAN_SEND_SMS));

        EventRecorder::instance().clear();
        m_fake.setPowerLow(true);
        QTRY_VERIFY(hasStatus(UTPS_SMS_STATUS_CANNOT_SEND_SMS));
        QTRY_VERIFY(UTPS_DevSrv_GetRFSwitch(&rf) == UTPS_OK && rf.iSoftSwitch == 0);
        EventRecorder::instance().clear();
        m_fake.setPowerLow(false);
        QTRY_VERIFY(hasStatus(UTPS_SMS_STATUS_CAN_SEND_SMS));
    }
};

QTEST_GUILESS_MAIN(TestModemManager)
#include "tst_modemmanager.moc"
