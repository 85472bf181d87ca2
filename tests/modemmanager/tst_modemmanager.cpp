// SPDX-License-Identifier: GPL-3.0-or-later
// The ModemManager backend of the SDK against a fake ModemManager on a private bus.
// GLib's headers use "signals" as a name, which Qt defines as a keyword: they come first.
#include <libmm-glib.h>

#include "FakeModemManager.h"
#include "SdkTestSupport.h"
#include "TestEnv.h"
#include "sdk_backend.h"

#include "sdk_modem.h"

#include <QProcess>
#include <QtTest>

#include <ctime>

namespace {

constexpr uint kSm = 1;
constexpr uint kMe = 2;

// The modem is listed again (after a disable, a replug or a restart) and readable.
bool listedAgain()
{
    return QTest::qWaitFor([] { return countOf(UTPS_SMS_MEM_SIM) >= 0 && countOf(UTPS_SMS_MEM_DEVICE) >= 0; }, 10000);
}

QList<SdkModemInfo> listedModems()
{
    SdkModemInfo list[8] = {};
    int count = 0;
    if (SdkBackend_ListModems(list, 8, &count) != UTPS_OK)
        return {};
    return QList<SdkModemInfo>(list, list + std::min(count, 8));
}

QString modemInUse()
{
    for (const SdkModemInfo &m : listedModems()) {
        if (m.inUse)
            return QString::fromUtf8(m.identity);
    }
    return {};
}

bool simShows(const QString &text)
{
    const QList<int> ids = idsOf(UTPS_SMS_MEM_SIM);
    return std::any_of(ids.begin(), ids.end(), [&](int id) { return fetch(id, UTPS_SMS_MEM_SIM).content == text; });
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
        // Time stamps are compared as local time: the test's is UTC.
        qputenv("TZ", "UTC");
        tzset();
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
        QCOMPARE(SdkBackend_Select("modemmanager:", why, sizeof why), UTPS_E_INVALID_ARG);

        QVERIFY2(m_fake.startService(), qPrintable(m_fake.error()));
        // By its place in the list: the modem must stay the one chosen when ModemManager
        // renumbers it.
        QCOMPARE(SdkBackend_Select("modemmanager:0", why, sizeof why), UTPS_OK);
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

    void untrustedSenderIsCleaned_data()
    {
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("shown");
        QTest::newRow("controls, markup, too long")
            << QStringLiteral("+1\x07<b>x</b>\x1b[2J") + QString(100, QLatin1Char('9'))
            << QStringLiteral("+1\uFFFD<b>x</b>\uFFFD[2J") + QString(64 - 15, QLatin1Char('9'));
        // Invisible characters would make one number pass for another.
        QTest::newRow("right-to-left override") << QStringLiteral("+4479\u202E00900123") << QStringLiteral("+447900900123");
        QTest::newRow("zero-width") << QStringLiteral("+44\u200B7700\u2060900\uFEFF123") << QStringLiteral("+447700900123");
    }
    void untrustedSenderIsCleaned()
    {
        QFETCH(QString, sender);
        QFETCH(QString, shown);
        m_fake.receive(sender, QString(12000, QLatin1Char('t')), kSm);
        QTRY_COMPARE(eventCount(EVENT_SMS_ONRECEIVE), 1);
        const Captured c = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).first();
        QCOMPARE(c.number, shown);
        QCOMPARE(c.content.size(), 10000);
    }

    // With no centre of the user's, ModemManager is to use the SIM's: a made-up one would
    // take every message nowhere.
    void sendUsesTheSimsCentreUnlessOneIsSet()
    {
        int type = 0;
        UTPS_WCHAR centre[32] = {};
        QCOMPARE(UTPS_SMSSrv_GetSMSCentreNumber(&type, centre, 32), UTPS_OK);
        QCOMPARE(q(centre), QString());
        LocalRecord r(UTPS_POS_PC_OUTBOX, QStringLiteral("+15550120"), QStringLiteral("via the SIM's centre"));
        QCOMPARE(UTPS_SMSSrv_SendMsg(&r.rec), UTPS_OK);
        QTRY_COMPARE(eventCount(EVENT_SMS_ONSAVESEND), 1);
        QVERIFY(!m_fake.sent().last().smscGiven);
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
        QTest::newRow("modem re-read mid-batch") << false << false;
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
        if (QByteArray(QTest::currentDataTag()) == "modem re-read mid-batch") {
            // The deletion waiting for the commit still applies under the message's new path.
            m_fake.setEnabled(false);
            QTRY_COMPARE(countOf(UTPS_SMS_MEM_SIM), -1);
            m_fake.setEnabled(true);
            QVERIFY(listedAgain());
            QVERIFY(!idsOf(UTPS_SMS_MEM_SIM).contains(id));
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

    // ModemManager drops its list when the modem is disabled, goes or restarts, and reads
    // the storages again under new paths, announcing each message anew: the SDK knows them.
    void messagesKeepTheirIdsWhenReadAgain_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("disabled and enabled") << 0;
        QTest::newRow("replugged") << 1;
        QTest::newRow("ModemManager restarted") << 2;
    }
    void messagesKeepTheirIdsWhenReadAgain()
    {
        QFETCH(int, how);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        m_fake.receive(QStringLiteral("+15550151"), QStringLiteral("on the card ") + tag, kSm);
        m_fake.receive(QStringLiteral("+15550152"), QStringLiteral("in the modem ") + tag, kMe);
        QTRY_COMPARE(eventCount(EVENT_SMS_ONRECEIVE), 2);
        const int simId = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).first().id;
        const QList<int> sim = idsOf(UTPS_SMS_MEM_SIM);
        const QList<int> device = idsOf(UTPS_SMS_MEM_DEVICE);
        const QString before = m_fake.modemPath();
        EventRecorder::instance().clear();
        if (how == 0) {
            m_fake.setEnabled(false);
            QTRY_COMPARE(countOf(UTPS_SMS_MEM_SIM), -1);
            // Whoever disabled it meant it: the SDK switches on only a modem it finds off.
            QVERIFY(!m_fake.enabled());
            m_fake.setEnabled(true);
        } else if (how == 1) {
            m_fake.setModemPresent(false);
            QTRY_COMPARE(countOf(UTPS_SMS_MEM_SIM), -1);
            m_fake.setModemPresent(true);
            QVERIFY(m_fake.modemPath() != before);
        } else {
            m_fake.restartService();
            QVERIFY(m_fake.modemPath() != before);
            QTRY_VERIFY(hasStatus(UTPS_SMS_STATUS_DEVICE_NOT_AVAILABLE));
        }
        QVERIFY(listedAgain());
        QTRY_COMPARE(idsOf(UTPS_SMS_MEM_SIM), sim);
        QCOMPARE(idsOf(UTPS_SMS_MEM_DEVICE), device);
        // The old id reaches the message under its new path.
        QCOMPARE(UTPS_SMSSrv_DeleteMsg(simId, UTPS_SMS_MEM_SIM), UTPS_OK);
        QVERIFY(!fakeHolds(m_fake, QStringLiteral("on the card ") + tag));
        SimCtl_WaitIdle(5000);
        QCOMPARE(eventCount(EVENT_SMS_ONRECEIVE), 0);
    }

    void timeStamps_data()
    {
        QTest::addColumn<QString>("stamp");
        QTest::addColumn<QString>("time"); // empty: the time it was first seen, kept
        QTest::newRow("ModemManager's, hour offset") << QStringLiteral("2026-12-07T09:30:00+01") << QStringLiteral("20261207083000");
        QTest::newRow("ModemManager's, UTC") << QStringLiteral("2026-12-07T09:30:00Z") << QStringLiteral("20261207093000");
        QTest::newRow("quarter-hour offset") << QStringLiteral("2026-12-07T09:30:00+05:45") << QStringLiteral("20261207034500");
        QTest::newRow("blank") << QString() << QString();
        QTest::newRow("unreadable") << QStringLiteral("yesterday") << QString();
        QTest::newRow("beyond the last year") << QStringLiteral("9999-12-31T23:59:59-12:00") << QString();
    }
    void timeStamps()
    {
        QFETCH(QString, stamp);
        QFETCH(QString, time);
        const QString text = QStringLiteral("stamped ") + QString::fromLatin1(QTest::currentDataTag());
        m_fake.receive(QStringLiteral("+15550161"), text, kSm, -1, stamp);
        QTRY_COMPARE(eventCount(EVENT_SMS_ONRECEIVE), 1);
        const int id = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).first().id;
        Fetched f = fetch(id, UTPS_SMS_MEM_SIM);
        QCOMPARE(f.time.size(), 14);
        if (!time.isEmpty())
            QCOMPARE(f.time, time);
        f.rec.iReadStatus = 0;
        f.rec.pszNumber = const_cast<UTPS_WCHAR *>(w(f.number));
        f.rec.pszContent = const_cast<UTPS_WCHAR *>(w(f.content));
        QCOMPARE(UTPS_SMSSrv_UpdateMsg(&f.rec), UTPS_OK);
        // A second later and read again: the same time, still read.
        const QString first = f.time;
        QTRY_VERIFY(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss")) != first);
        m_fake.setEnabled(false);
        QTRY_COMPARE(countOf(UTPS_SMS_MEM_SIM), -1);
        m_fake.setEnabled(true);
        QVERIFY(listedAgain());
        const Fetched again = fetch(id, UTPS_SMS_MEM_SIM);
        QCOMPARE(again.rc, UTPS_OK);
        QCOMPARE(again.time, first);
        QCOMPARE(again.rec.iReadStatus, 0);
    }

    // Some modems hand a message over in no storage at all: the PC keeps it.
    void messageInNoStorageGoesToThePc()
    {
        const QString path = m_fake.receive(QStringLiteral("+15550171"), QStringLiteral("straight through"), 0);
        QTRY_COMPARE(eventCount(EVENT_SMS_ONRECEIVE), 1);
        const Captured c = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).first();
        QCOMPARE(c.pos, UTPS_POS_PC_INBOX);
        QCOMPARE(fetch(c.id, UTPS_SMS_MEM_PC).content, QStringLiteral("straight through"));
        QTRY_VERIFY(!fakeHolds(m_fake, {}, path));
    }

    // What waited on the modem while the SDK was not running is collected when it starts.
    void leftoversAreCollectedAtStart()
    {
        SimCtl_Shutdown();
        m_fake.setAnnounceArrivals(false);
        const QString report = m_fake.receiveStatusReport(QStringLiteral("+15550181"), 0);
        const QString flash = m_fake.receive(QStringLiteral("+15550182"), QStringLiteral("flash while away"), kSm, 0);
        m_fake.setAnnounceArrivals(true);
        EventRecorder::registerAll();
        QTRY_COMPARE(eventCount(EVENT_SMS_ONRECEIVE), 2);
        QTRY_VERIFY(!fakeHolds(m_fake, {}, report) && !fakeHolds(m_fake, {}, flash));
    }

    void slowSendsAreNotCalledFailed_data()
    {
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<QByteArray>("ourLimit"); // seconds per part; empty: the real one
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("copyStatus");
        QTest::newRow("slower than D-Bus's default") << 26000 << QByteArray() << int(UTPS_OK) << 0;
        QTest::newRow("no answer within our limit") << 2500 << QByteArray("1") << int(UTPS_E_SEND_UNKNOWN)
                                                    << UTPS_SEND_STATUS_UNKNOWN;
    }
    void slowSendsAreNotCalledFailed()
    {
        QFETCH(int, delayMs);
        QFETCH(QByteArray, ourLimit);
        QFETCH(int, status);
        QFETCH(int, copyStatus);
        if (ourLimit.isEmpty())
            qunsetenv("DIALCREST_MM_SEND_TIMEOUT");
        else
            qputenv("DIALCREST_MM_SEND_TIMEOUT", ourLimit);
        m_fake.setSendDelayMs(delayMs);
        LocalRecord r(UTPS_POS_PC_OUTBOX, QStringLiteral("+15550191"), QStringLiteral("over a slow network"));
        QCOMPARE(UTPS_SMSSrv_SendMsg(&r.rec), UTPS_OK);
        QTRY_COMPARE_WITH_TIMEOUT(eventCount(EVENT_SMS_ONSAVESEND), 1, delayMs + 10000);
        m_fake.setSendDelayMs(0);
        qunsetenv("DIALCREST_MM_SEND_TIMEOUT");
        QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT).first().status, status);
        QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).first().status, copyStatus);
    }

    void refusedAuthorization()
    {
        const int id = receiveOnSim(QStringLiteral("+15550201"), QStringLiteral("keep me"));
        QVERIFY(id >= 0);
        m_fake.setRefuseAuthorization(true);
        const long deleted = UTPS_SMSSrv_DeleteMsg(id, UTPS_SMS_MEM_SIM);
        m_fake.setRefuseAuthorization(false);
        QCOMPARE(deleted, UTPS_E_NOT_AUTHORIZED);
        QVERIFY(fakeHolds(m_fake, QStringLiteral("keep me")));
        QVERIFY(idsOf(UTPS_SMS_MEM_SIM).contains(id));
    }

    // A modem found switched off is switched on (nothing else on the machine did); one the
    // system does not let us switch on stays off, with a log line.
    void modemFoundDisabledIsEnabled_data()
    {
        QTest::addColumn<bool>("allowed");
        QTest::newRow("allowed") << true;
        QTest::newRow("not authorised") << false;
    }
    void modemFoundDisabledIsEnabled()
    {
        QFETCH(bool, allowed);
        m_fake.setEnabled(false);
        QTRY_COMPARE(countOf(UTPS_SMS_MEM_SIM), -1);
        m_fake.setRefuseAuthorization(!allowed);
        m_fake.restartService();
        if (allowed) {
            QTRY_VERIFY(m_fake.enabled());
            QVERIFY(listedAgain());
            return;
        }
        int on = -1;
        QTRY_VERIFY(UTPS_DevSrv_GetModemEnabled(&on) == UTPS_OK && on == 0);
        QCOMPARE(UTPS_DevSrv_EnableModem(), UTPS_E_NOT_AUTHORIZED);
        m_fake.setRefuseAuthorization(false);
        QCOMPARE(UTPS_DevSrv_EnableModem(), UTPS_OK);
        QVERIFY(listedAgain());
    }

    // The SIM asks for its PIN (or PUK): Messaging is gone until it is given, each wrong
    // code costs exactly one attempt, and the attempts are the SIM's own.
    void unlockTheSim_data()
    {
        QTest::addColumn<uint>("lock");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("wrong");
        QTest::addColumn<QString>("right");
        QTest::newRow("PIN") << uint(MM_MODEM_LOCK_SIM_PIN) << UTPS_PIN_STATE_PIN_REQUIRED << QStringLiteral("0000")
                             << QStringLiteral("1234");
        QTest::newRow("PUK") << uint(MM_MODEM_LOCK_SIM_PUK) << UTPS_PIN_STATE_PUK_REQUIRED
                             << QStringLiteral("00000000") << QStringLiteral("12345678");
    }
    void unlockTheSim()
    {
        QFETCH(uint, lock);
        QFETCH(int, state);
        QFETCH(QString, wrong);
        QFETCH(QString, right);
        const bool puk = lock == MM_MODEM_LOCK_SIM_PUK;
        m_fake.setSimLock(lock, puk ? 0 : 2, 7);
        QTRY_COMPARE(pinStatus().state, state);
        QCOMPARE(pinStatus().pin, puk ? 0 : 2);
        QCOMPARE(pinStatus().puk, 7);
        QCOMPARE(countOf(UTPS_SMS_MEM_SIM), -1);
        const QString newPin = QStringLiteral("4321");
        auto attempt = [&](const QString &code) {
            return puk ? UTPS_DevSrv_VerifyPuk(w(code), w(newPin)) : UTPS_DevSrv_VerifyPin(w(code));
        };
        QCOMPARE(attempt(QStringLiteral("12")), UTPS_E_INVALID_ARG); // never reaches the SIM
        m_fake.setRefuseAuthorization(true);
        QCOMPARE(attempt(right), UTPS_E_NOT_AUTHORIZED);
        m_fake.setRefuseAuthorization(false);
        QCOMPARE(attempt(wrong), UTPS_E_WRONG_PIN);
        QCOMPARE(puk ? pinStatus().puk : pinStatus().pin, puk ? 6 : 1);
        QCOMPARE(attempt(right), UTPS_OK);
        QCOMPARE(m_fake.simLock(), uint(MM_MODEM_LOCK_NONE));
        // Unlocked to be used: switched on, its storages readable again.
        QTRY_VERIFY(m_fake.enabled());
        QVERIFY(listedAgain());
        QTRY_COMPARE(pinStatus().state, UTPS_PIN_STATE_READY);
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

    // Several modems: each listed once, in ModemManager's order, with what a user knows
    // it by; the one in use marked.
    void severalModemsAreListed()
    {
        const QString first = m_fake.deviceIdentifier();
        m_fake.receive(QStringLiteral("+15550300"), QStringLiteral("on the first SIM"), kSm);
        m_second = m_fake.addModem();
        m_fake.actOn(m_second);
        const QString second = m_fake.deviceIdentifier();
        m_fake.receive(QStringLiteral("+15550301"), QStringLiteral("on the second SIM"), kSm);
        m_fake.actOn(0);
        QTRY_COMPARE(listedModems().size(), 2);
        int count = -1;
        QCOMPARE(SdkBackend_ListModems(nullptr, 0, &count), UTPS_OK);
        QCOMPARE(count, 2);
        const QList<SdkModemInfo> modems = listedModems();
        QCOMPARE(QString::fromUtf8(modems[0].identity), first);
        QCOMPARE(QString::fromUtf8(modems[1].identity), second);
        QCOMPARE(QString::fromUtf8(modems[0].label), QStringLiteral("Testing Works Stand-in 1 (490154203237518)"));
        QVERIFY(QString::fromUtf8(modems[1].label).startsWith(QStringLiteral("Testing Works Stand-in 2 (")));
        QCOMPARE(modems[0].inUse, 1);
        QCOMPARE(modems[1].inUse, 0);
        QCOMPARE(SdkBackend_UseModem("no such modem"), UTPS_E_NO_DEVICE);
        QCOMPARE(modemInUse(), first);
    }

    // The modem chosen is the one used: switched to (the old one's SIM folder empties, the
    // new one's fills; the PC's stays), and found again, never replaced by the other, when
    // it comes back under a new number.
    void theChosenModemIsUsed_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("chosen instead of the first") << 0;
        QTest::newRow("chosen one replugged") << 1;
        QTest::newRow("ModemManager restarted") << 2;
    }
    void theChosenModemIsUsed()
    {
        QFETCH(int, how);
        QVERIFY(m_second > 0);
        const QString first = QString::fromUtf8(listedModems().value(0).identity);
        m_fake.actOn(m_second);
        const QString second = m_fake.deviceIdentifier();
        QCOMPARE(SdkBackend_UseModem((how == 0 ? first : second).toUtf8().constData()), UTPS_OK);
        QTRY_VERIFY(simShows(how == 0 ? QStringLiteral("on the first SIM") : QStringLiteral("on the second SIM")));
        const QList<int> pc = idsOf(UTPS_SMS_MEM_PC);
        EventRecorder::instance().clear();
        const QString path = m_fake.modemPath();
        if (how == 0) {
            QCOMPARE(SdkBackend_UseModem(second.toUtf8().constData()), UTPS_OK);
        } else if (how == 1) {
            m_fake.setModemPresent(false);
            QTRY_VERIFY(hasStatus(UTPS_SMS_STATUS_DEVICE_NOT_AVAILABLE));
            // The first modem is still there, and is not taken instead.
            QTRY_COMPARE(listedModems().size(), 1);
            QCOMPARE(modemInUse(), QString());
            m_fake.setModemPresent(true);
        } else {
            m_fake.restartService();
        }
        if (how != 0)
            QVERIFY(m_fake.modemPath() != path);
        QTRY_COMPARE(modemInUse(), second);
        QTRY_VERIFY(simShows(QStringLiteral("on the second SIM")));
        QVERIFY(!simShows(QStringLiteral("on the first SIM")));
        QCOMPARE(idsOf(UTPS_SMS_MEM_PC), pc);
        // To the window a switch is that modem unplugged, then this one plugged in.
        const auto status = EventRecorder::instance().events(0, EVENT_SMS_ONSTATUSCHANGED);
        const auto at = [&](int code) {
            return std::find_if(status.begin(), status.end(), [&](const Captured &c) { return c.code == code; })
                   - status.begin();
        };
        QVERIFY(at(UTPS_SMS_STATUS_DEVICE_NOT_AVAILABLE) < at(UTPS_SMS_STATUS_SIM_OK));
        QVERIFY(at(UTPS_SMS_STATUS_SIM_OK) < status.size());
        m_fake.actOn(0);
    }

    // A send or a batch half on one modem and half on the other would lose or double
    // messages: the switch is refused until it is over.
    void noSwitchWhileBusy_data()
    {
        QTest::addColumn<bool>("sending");
        QTest::newRow("a message being sent") << true;
        QTest::newRow("a batch open") << false;
    }
    void noSwitchWhileBusy()
    {
        QFETCH(bool, sending);
        QVERIFY(m_second > 0);
        const QString first = QString::fromUtf8(listedModems().value(0).identity);
        const QString second = QString::fromUtf8(listedModems().value(1).identity);
        QCOMPARE(SdkBackend_UseModem(first.toUtf8().constData()), UTPS_OK);
        LocalRecord r(UTPS_POS_PC_OUTBOX, QStringLiteral("+15550311"), QStringLiteral("slowly"));
        if (sending) {
            m_fake.setSendDelayMs(1500);
            QCOMPARE(UTPS_SMSSrv_SendMsg(&r.rec), UTPS_OK);
        } else {
            QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
        }
        QCOMPARE(SdkBackend_UseModem(second.toUtf8().constData()), UTPS_E_BUSY);
        QCOMPARE(modemInUse(), first);
        if (sending) {
            QTRY_COMPARE_WITH_TIMEOUT(eventCount(EVENT_SMS_ONSAVESEND), 1, 10000);
            m_fake.setSendDelayMs(0);
            QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT).first().status, int(UTPS_OK));
        } else {
            QCOMPARE(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
        }
        QCOMPARE(SdkBackend_UseModem(second.toUtf8().constData()), UTPS_OK);
        QCOMPARE(modemInUse(), second);
    }

private:
    int m_second = 0;
};

QTEST_GUILESS_MAIN(TestModemManager)
#include "tst_modemmanager.moc"
