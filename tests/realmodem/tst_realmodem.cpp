// SPDX-License-Identifier: GPL-3.0-or-later
// The SDK's ModemManager backend against the real ModemManager, which probes and drives the
// virtual modem over its pseudo-terminal exactly as it would a USB modem. Run by
// with-daemon.sh; the daemon is started once and restarted only where a test needs it.
#include "RealDaemon.h"
#include "SdkTestSupport.h"
#include "TestEnv.h"
#include "sdk_backend.h"
#include "sdk_modem.h"

#include <QtTest>

namespace {

constexpr int kProbeMs = 60000; // a probe takes seconds here, more on a loaded machine
constexpr int kModemMs = 30000; // one round trip through the daemon and the modem

// A bounded wait that fails once, at its bound (QTRY_* waits twice as long again on a
// failure to tell how late it would have been; with the daemon's minute-long bounds that
// would outlast the suite's time limit).
#define WAIT_FOR(cond, ms) QVERIFY2(QTest::qWaitFor([&] { return bool(cond); }, ms), #cond)

QByteArray toText(const QList<int> &ids)
{
    QByteArray out = "[";
    for (int id : ids)
        out += QByteArray::number(id) + ',';
    out.chop(ids.isEmpty() ? 0 : 1);
    return out + ']';
}

int memoryOf(int pos)
{
    return pos == UTPS_POS_SIM_INBOX || pos == UTPS_POS_SIM_OUTBOX ? UTPS_SMS_MEM_SIM : UTPS_SMS_MEM_DEVICE;
}

QByteArray storageOf(int memory)
{
    return memory == UTPS_SMS_MEM_SIM ? "SM" : "ME";
}

} // namespace

class TestRealModem : public QObject
{
    Q_OBJECT
    TestDataHome m_home;
    RealDaemon m_daemon;
    ModemControl m_modem;

    // Once the daemon has probed the modem, the SDK switches it on and its storages open.
    bool enableModem()
    {
        if (!QTest::qWaitFor([] { return RealDaemon::mmcli({QStringLiteral("-L")}).contains("Modem/"); }, kProbeMs))
            return false;
        long rc = -1;
        // Refused while the daemon is still setting the modem up after its probe.
        if (!QTest::qWaitFor([&] { return (rc = UTPS_DevSrv_EnableModem()) == UTPS_OK; }, kModemMs)) {
            qWarning("UTPS_DevSrv_EnableModem: %ld", rc);
            return false;
        }
        return QTest::qWaitFor([] { return countOf(UTPS_SMS_MEM_SIM) >= 0 && countOf(UTPS_SMS_MEM_DEVICE) >= 0; },
                               kModemMs);
    }

    // An arrival through the network; its event, or an event with id -1.
    Captured arrive(const QString &number, const QString &text)
    {
        const int before = eventCount(EVENT_SMS_ONRECEIVE);
        const QByteArray answer = m_modem.deliver(number, text);
        if (answer != "ok") {
            qWarning("deliver: %s", answer.constData());
            return {};
        }
        if (!QTest::qWaitFor([&] { return eventCount(EVENT_SMS_ONRECEIVE) > before; }, kModemMs))
            return {};
        return EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).last();
    }

    bool modemHolds(const QString &text)
    {
        for (const QByteArray storage : {"SM", "ME"}) {
            const QJsonArray stored = m_modem.stored(storage);
            if (std::any_of(stored.begin(), stored.end(),
                            [&](const QJsonValue &v) { return v[QLatin1String("text")].toString() == text; }))
                return true;
        }
        return false;
    }

    // After the modem's messages were listed anew (re-enabled, daemon restarted): every
    // message the SDK knew keeps its id, none is announced again, none is doubled. The
    // marker's arrival shows the daemon's earlier announcements have been taken in.
    void checkNothingAnnouncedAgain(const QList<int> (&before)[3], const QString &marker)
    {
        EventRecorder::instance().clear();
        const Captured c = arrive(QStringLiteral("+15550190"), marker);
        QVERIFY2(c.id >= 0, "no arrival after the modem came back");
        const auto arrivals = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE);
        QCOMPARE(arrivals.size(), 1);
        QCOMPARE(arrivals.first().content, marker);
        for (int memory : {int(UTPS_SMS_MEM_SIM), int(UTPS_SMS_MEM_DEVICE)}) {
            QList<int> expected = before[memory];
            if (memoryOf(c.pos) == memory)
                expected << c.id;
            std::sort(expected.begin(), expected.end());
            const QList<int> ids = idsOf(memory);
            const QByteArray what = storageOf(memory) + ": ids " + toText(ids) + ", expected " + toText(expected);
            QVERIFY2(ids == expected, what.constData());
        }
    }

private slots:
    void initTestCase()
    {
        const QString missing = RealDaemon::missing();
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        QVERIFY(m_home.isValid());
        SimCtl_SetDemoSeed(0);
        QVERIFY(m_daemon.start());
        char why[512] = {};
        // The daemon takes its bus name within moments; the backend waits a few seconds.
        QVERIFY2(QTest::qWaitFor([&] { return SdkBackend_Select("modemmanager", why, sizeof why) == UTPS_OK; }, kModemMs),
                 why);
        EventRecorder::registerAll();
        QVERIFY2(enableModem(), qPrintable(QStringLiteral("no usable modem; see ") + RealDaemon::logPath()));
    }
    void init()
    {
        EventRecorder::instance().clear();
    }

    // Through the daemon's own PDU decoder: what our modem encodes arrives as it was sent.
    void receiveAndRead_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("default alphabet") << QStringLiteral("+447700900123") << QStringLiteral("see you at five");
        QTest::newRow("extension table") << QStringLiteral("+15550101") << QStringLiteral("{a} [b] ~c| ^d\\ 5\u20AC");
        QTest::newRow("UCS-2, surrogate pairs")
            << QStringLiteral("+15550102") << QStringLiteral("\u0645\u0631\u062D\u0628\u0627 \U0001F600 \u4F60\u597D");
        QTest::newRow("three parts")
            << QStringLiteral("15550103") << QStringLiteral("part of a long message ").repeated(15).trimmed();
        QTest::newRow("alphanumeric sender") << QStringLiteral("InfoDesk") << QStringLiteral("your code is 1234");
    }
    void receiveAndRead()
    {
        QFETCH(QString, number);
        QFETCH(QString, text);
        const Captured c = arrive(number, text);
        QVERIFY2(c.id >= 0, "no arrival");
        QCOMPARE(c.content, text);
        QCOMPARE(c.number, number);
        QVERIFY(c.pos == UTPS_POS_SIM_INBOX || c.pos == UTPS_POS_DEVICE_INBOX);
        const Fetched f = fetch(c.id, memoryOf(c.pos));
        QCOMPARE(f.rc, UTPS_OK);
        QCOMPARE(f.content, text);
        QCOMPARE(f.number, number);
        QCOMPARE(f.time.size(), 14);
    }

    // A reply goes out through +CMGS as the parts the text needs, to the SIM's own centre
    // unless the user chose one.
    void reply_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("parts");
        QTest::newRow("one part") << QStringLiteral("on my way") << 1;
        QTest::newRow("two parts, UCS-2") << QStringLiteral("\u062D\u0633\u0646\u0627\u064B ").repeated(14) << 2;
    }
    void reply()
    {
        QFETCH(QString, text);
        QFETCH(int, parts);
        const Captured from = arrive(QStringLiteral("+447700900124"), QStringLiteral("are you coming?"));
        QVERIFY(from.id >= 0);
        const int sentBefore = int(m_modem.sent().size());
        LocalRecord r(UTPS_POS_PC_OUTBOX, from.number, text);
        QCOMPARE(UTPS_SMSSrv_SendMsg(&r.rec), UTPS_OK);
        WAIT_FOR(eventCount(EVENT_SMS_ONSAVESEND) == 1, kModemMs);
        const auto results = EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT);
        QCOMPARE(int(results.size()), parts);
        for (const Captured &c : results)
            QCOMPARE(c.status, 0);
        const QJsonArray sent = m_modem.sent();
        QCOMPARE(int(sent.size()) - sentBefore, parts);
        QString whole;
        for (int i = sentBefore; i < sent.size(); ++i) {
            QCOMPARE(sent[i][QLatin1String("recipient")].toString(), from.number);
            QCOMPARE(sent[i][QLatin1String("parts")].toInt(), parts);
            // No centre of our own making: the SIM's is the one that works on this network.
            QCOMPARE(sent[i][QLatin1String("smsc")].toString(), QString());
            whole += sent[i][QLatin1String("text")].toString();
        }
        QCOMPARE(whole, text);
    }

    // A delivery report routed straight to the computer (+CDS) is in no storage of the
    // modem's; it is filed on the PC all the same.
    void statusReport()
    {
        QCOMPARE(UTPS_SMSSrv_SetSMSReceiptNotify(1), UTPS_OK);
        LocalRecord r(UTPS_POS_PC_OUTBOX, QStringLiteral("+15550108"), QStringLiteral("tell me when"));
        QCOMPARE(UTPS_SMSSrv_SendMsg(&r.rec), UTPS_OK);
        WAIT_FOR(eventCount(EVENT_SMS_ONSAVESEND) == 1, kModemMs);
        QCOMPARE(UTPS_SMSSrv_SetSMSReceiptNotify(0), UTPS_OK);
        const QJsonArray sent = m_modem.sent();
        QVERIFY(sent.last()[QLatin1String("statusReport")].toBool());
        const int reference = sent.last()[QLatin1String("reference")].toInt();
        EventRecorder::instance().clear();
        QCOMPARE(m_modem.ask("report " + QByteArray::number(reference) + " +15550108 0"), QByteArray("ok"));
        WAIT_FOR(eventCount(EVENT_SMS_ONRECEIVE) == 1, kModemMs);
        const Captured c = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).first();
        QCOMPARE(c.pos, UTPS_POS_PC_REPORTS);
        QCOMPARE(c.msgType, UTPS_MSGTYPE_STATUS_REPORT);
        QCOMPARE(c.number, QStringLiteral("+15550108"));
        QCOMPARE(fetch(c.id, UTPS_SMS_MEM_PC).rc, UTPS_OK);
    }

    // The daemon answers a send only when the network has, however long that takes: one it
    // has not answered within our limit is unknown, and its late answer settles the copy.
    void lateAnswerSettlesTheCopy_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("sent late") << false;
        QTest::newRow("refused late") << true;
    }
    void lateAnswerSettlesTheCopy()
    {
        QFETCH(bool, refused);
        const QStringList listSms{QStringLiteral("-m"), QStringLiteral("any"), QStringLiteral("--messaging-list-sms")};
        const QByteArray listedBefore = RealDaemon::mmcli(listSms);
        qputenv("DIALCREST_MM_SEND_TIMEOUT", "1");
        auto restore = qScopeGuard([this] {
            qunsetenv("DIALCREST_MM_SEND_TIMEOUT");
            m_modem.ask("network 0");
        });
        QCOMPARE(m_modem.ask(refused ? "network 4000 refuse" : "network 4000"), QByteArray("ok"));
        LocalRecord r(UTPS_POS_PC_OUTBOX, QStringLiteral("+15550109"), QStringLiteral("over a slow network"));
        QCOMPARE(UTPS_SMSSrv_SendMsg(&r.rec), UTPS_OK);
        WAIT_FOR(eventCount(EVENT_SMS_ONSAVESEND) == 1, kModemMs);
        const Captured copy = EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).first();
        QCOMPARE(copy.status, UTPS_SEND_STATUS_UNKNOWN);
        WAIT_FOR(eventCount(EVENT_SMS_ONSENDSETTLED) == 1, kModemMs);
        const Captured late = EventRecorder::instance().events(0, EVENT_SMS_ONSENDSETTLED).first();
        QCOMPARE(late.id, copy.id);
        QCOMPARE(late.status, refused ? 1 : 0);
        QCOMPARE(fetch(copy.id, UTPS_SMS_MEM_PC).rec.iStatus, refused ? 1 : 0);
        // Forgotten at the daemon once settled, as an answered send is.
        WAIT_FOR(RealDaemon::mmcli(listSms) == listedBefore, kModemMs);
    }

    void deleteOnTheModem()
    {
        const QString text = QStringLiteral("delete me");
        const Captured c = arrive(QStringLiteral("+15550104"), text);
        QVERIFY(c.id >= 0);
        QVERIFY(modemHolds(text));
        QCOMPARE(UTPS_SMSSrv_DeleteMsg(c.id, static_cast<_UTPS_EN_SMS_MEM>(memoryOf(c.pos))), UTPS_OK);
        QVERIFY(!modemHolds(text));
        QVERIFY(!idsOf(memoryOf(c.pos)).contains(c.id));
    }

    // The modem refuses to store on a full SIM (+CMS ERROR: 322); the SDK says so.
    void storageFull()
    {
        const int used = int(m_modem.stored("SM").size());
        QCOMPARE(m_modem.ask("capacity SM " + QByteArray::number(used)), QByteArray("ok"));
        long rc = -1;
        saveAt(UTPS_POS_SIM_OUTBOX, QStringLiteral("+15550105"), QStringLiteral("no room"), &rc);
        QCOMPARE(m_modem.ask("capacity SM 20"), QByteArray("ok"));
        QCOMPARE(rc, UTPS_E_STORAGE_FULL);
        QTRY_VERIFY(hasStatus(UTPS_SMS_STATUS_SIM_FULL));
        QVERIFY(!modemHolds(QStringLiteral("no room")));
        // With room again the same draft is stored.
        const int id = saveAt(UTPS_POS_SIM_OUTBOX, QStringLiteral("+15550105"), QStringLiteral("room now"), &rc);
        QCOMPARE(rc, UTPS_OK);
        QVERIFY(modemHolds(QStringLiteral("room now")));
        QCOMPARE(fetch(id, UTPS_SMS_MEM_SIM).content, QStringLiteral("room now"));
    }

    // Disabling drops the daemon's list; enabling reads the storages again under new paths.
    void disableAndEnable()
    {
        QVERIFY(arrive(QStringLiteral("+15550106"), QStringLiteral("kept over a disable")).id >= 0);
        const QList<int> before[3] = {{}, idsOf(UTPS_SMS_MEM_SIM), idsOf(UTPS_SMS_MEM_DEVICE)};
        QString error;
        RealDaemon::mmcli({QStringLiteral("-m"), QStringLiteral("any"), QStringLiteral("-d")}, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(enableModem());
        checkNothingAnnouncedAgain(before, QStringLiteral("after the enable"));
    }

    // A new daemon numbers everything afresh; the modem is found again and nothing doubles.
    void daemonRestart()
    {
        const QList<int> before[3] = {{}, idsOf(UTPS_SMS_MEM_SIM), idsOf(UTPS_SMS_MEM_DEVICE)};
        m_daemon.stop();
        WAIT_FOR(hasStatus(UTPS_SMS_STATUS_DEVICE_NOT_AVAILABLE), kModemMs);
        QVERIFY(m_daemon.start());
        QVERIFY2(enableModem(), "the modem was not found again");
        checkNothingAnnouncedAgain(before, QStringLiteral("after the restart"));
    }

    // A SIM that asks for its PIN: the daemon reads the attempts left from the card; a wrong
    // PIN costs one and says so; the right one unlocks, switches the modem on and opens the
    // storages. Each call is one attempt: the card's count falls by exactly one.
    void pinUnlock()
    {
        QCOMPARE(m_modem.ask("lock"), QByteArray("ok"));
        m_daemon.stop();
        QVERIFY(m_daemon.start());
        WAIT_FOR(pinStatus().state == UTPS_PIN_STATE_PIN_REQUIRED, kProbeMs);
        WAIT_FOR(pinStatus().pin == 3, kModemMs);
        QCOMPARE(countOf(UTPS_SMS_MEM_SIM), -1);
        QCOMPARE(UTPS_DevSrv_VerifyPin(w(QStringLiteral("0000"))), UTPS_E_WRONG_PIN);
        QCOMPARE(m_modem.sim()[QLatin1String("pinRetries")].toInt(), 2);
        WAIT_FOR(pinStatus().pin == 2, kModemMs);
        QCOMPARE(UTPS_DevSrv_VerifyPin(w(QStringLiteral("1234"))), UTPS_OK);
        QCOMPARE(m_modem.sim()[QLatin1String("lock")].toString(), QStringLiteral("none"));
        // Unlocked means usable: the SDK switched the modem on once the daemon took the PIN.
        WAIT_FOR(countOf(UTPS_SMS_MEM_SIM) >= 0, kModemMs);
        QVERIFY(pinStatus().state == UTPS_PIN_STATE_READY || pinStatus().state == UTPS_PIN_STATE_VERIFIED);
        QVERIFY(arrive(QStringLiteral("+15550107"), QStringLiteral("unlocked")).id >= 0);
    }

    // The application itself on the real daemon: it starts, finds the modem and renders.
    void application()
    {
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DIALCREST_HOME"), m_home.path() + QStringLiteral("/app"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        app.setProcessEnvironment(env);
        const QString shot = m_home.path() + QStringLiteral("/shot.png");
        app.start(QStringLiteral(DIALCREST_EXE), {QStringLiteral("--modem"), QStringLiteral("modemmanager"),
                                                  QStringLiteral("--screenshot"), shot,
                                                  QStringLiteral("--screenshot-delay"), QStringLiteral("300")});
        QVERIFY2(app.waitForStarted(10000), qPrintable(app.errorString()));
        QVERIFY(app.waitForFinished(60000));
        QVERIFY2(app.exitCode() == 0, app.readAllStandardError().constData());
        QVERIFY(QFile::exists(shot));
    }
};

QTEST_GUILESS_MAIN(TestRealModem)
#include "tst_realmodem.moc"
