// SPDX-License-Identifier: GPL-3.0-or-later
// Events of the SDK: send results and the stored copy, receiving per storage, class 0,
// reports, modem state changes, and the callback guarantees (own thread, no call after
// unregistration, re-entry allowed). Run under ThreadSanitizer as well.
#include "SdkTestSupport.h"
#include "TestEnv.h"

#include <QSemaphore>
#include <QTest>

#include <atomic>
#include <thread>

namespace {

long sendTo(const QString &numbers, const QString &text)
{
    _UTPS_ST_SMS_RECORD *r = nullptr;
    if (UTPS_SMSSrv_CreateSMSRecord(&r, w(numbers), w(text)) != UTPS_OK)
        return -1;
    const long rc = UTPS_SMSSrv_SendMsg(r);
    UTPS_SMSSrv_ReleaseSMSRecord(&r);
    return rc;
}

QList<int> eventCodes()
{
    QList<int> out;
    for (const Captured &c : EventRecorder::instance().events())
        if (c.channel == 0)
            out.append(c.event == EVENT_SMS_ONSTATUSCHANGED ? 200 + c.code : c.event);
    return out;
}

QList<int> statusCodes()
{
    QList<int> out;
    for (const Captured &c : EventRecorder::instance().events(0, EVENT_SMS_ONSTATUSCHANGED))
        out.append(c.code);
    return out;
}

} // namespace

class SdkEventsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_home.isValid()); }
    void init()
    {
        resetSdk();
        SimCtl_SetSendDelay(1);
        EventRecorder::registerAll();
    }
    void cleanupTestCase() { SimCtl_Reset(); }

    void sendTwoRecipientsOneFails();
    void sendWithoutNetworkFailsEverySegment();
    void sendRefusedWithoutDevice();
    void seededFailureRateRepeats();
    void cancelStopsWhatHasNotGoneOut();
    void ownNumberAndDeliveryReports();
    void receiveFollowsReceiveStorage_data();
    void receiveFollowsReceiveStorage();
    void classZeroIsAnnouncedNotStored();
    void reportsAndBroadcastsLandInTheirBoxes();
    void modemStateChangesRaiseEvents();
    void deviceDeleteRaisesEvent5();
    void noCallbackAfterUnregistration();
    void unregistrationWaitsForRunningCallback();
    void callbackMayCallBackAndUnregisterItself();
    void concurrentCallersStayConsistent();

private:
    TestDataHome m_home;
};

void SdkEventsTest::sendTwoRecipientsOneFails()
{
    QCOMPARE(SimCtl_ScriptSendOutcome("+44*", UTPS_E_SEND_FAILED), UTPS_OK);
    const QString text(200, QLatin1Char('x')); // two segments
    QCOMPARE(sendTo(QStringLiteral("+4915112345678;+447700900123"), text), UTPS_OK);
    QTRY_COMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).size(), 1);

    const QList<Captured> results = EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT);
    QCOMPARE(eventCodes(), QList<int>({0, 0, 0, 0, 3})); // every result before the copy
    QCOMPARE(results.size(), 4);
    const QStringList numbers{results[0].number, results[1].number, results[2].number, results[3].number};
    QCOMPARE(numbers, QStringList({"+4915112345678", "+4915112345678", "+447700900123", "+447700900123"}));
    QCOMPARE(QList<int>({results[0].status, results[1].status}), QList<int>({0, 0}));
    QVERIFY(results[2].status != 0 && results[3].status != 0);
    QCOMPARE(QList<int>({results[0].extra2, results[1].extra2, results[1].extra3}), QList<int>({1, 2, 2}));
    for (const Captured &c : EventRecorder::instance().events())
        QVERIFY(c.thread != QThread::currentThread());

    const Captured copy = EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).first();
    QCOMPARE(copy.pos, UTPS_POS_PC_OUTBOX);
    QCOMPARE(copy.status, 1); // not every part went out
    const Fetched stored = fetch(copy.id, UTPS_SMS_MEM_PC);
    QCOMPARE(stored.rc, UTPS_OK);
    QCOMPARE(stored.number, QStringLiteral("+4915112345678;+447700900123"));
    QCOMPARE(stored.content, text);
    QCOMPARE(stored.rec.iStatus, 1);
}

void SdkEventsTest::sendWithoutNetworkFailsEverySegment()
{
    SimCtl_SetNetworkRegistered(0);
    QCOMPARE(sendTo(QStringLiteral("+15550111"), QStringLiteral("hi")), UTPS_OK);
    QTRY_COMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).size(), 1);
    QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT).first().status, int(UTPS_E_NO_NETWORK));

    // With the network back, a send succeeds and its copy says so.
    SimCtl_SetNetworkRegistered(1);
    EventRecorder::instance().clear();
    QCOMPARE(sendTo(QStringLiteral("+15550111"), QStringLiteral("hi")), UTPS_OK);
    QTRY_COMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).size(), 1);
    QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).first().status, 0);
}

void SdkEventsTest::sendRefusedWithoutDevice()
{
    SimCtl_SetDevicePlugged(0);
    QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
    EventRecorder::instance().clear();
    QCOMPARE(sendTo(QStringLiteral("+15550111"), QStringLiteral("hi")), UTPS_E_NO_DEVICE);
    SimCtl_SetDevicePlugged(1);
    SimCtl_SetSimInserted(0);
    QCOMPARE(sendTo(QStringLiteral("+15550111"), QStringLiteral("hi")), UTPS_E_NO_SIM);
    QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
    QVERIFY(EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT).isEmpty());
    QVERIFY(EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).isEmpty());
    QCOMPARE(countOf(UTPS_SMS_MEM_PC), 0);
}

void SdkEventsTest::seededFailureRateRepeats()
{
    const auto run = [] {
        EventRecorder::instance().clear();
        SimCtl_SetSendFailureRate(0.5, 7);
        sendTo(QStringLiteral("+1;+2;+3;+4;+5;+6;+7;+8;+9;+10;+11;+12"), QStringLiteral("x"));
        SimCtl_WaitIdle(5000);
        QList<int> statuses;
        for (const Captured &c : EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT))
            statuses.append(c.status);
        return statuses;
    };
    const QList<int> first = run();
    QCOMPARE(first.size(), 12);
    QVERIFY(first.contains(0));
    QVERIFY(first.contains(int(UTPS_E_SEND_FAILED)));
    QCOMPARE(run(), first);
}

void SdkEventsTest::cancelStopsWhatHasNotGoneOut()
{
    SimCtl_SetSendDelay(200);
    QCOMPARE(sendTo(QStringLiteral("+1555001;+1555002;+1555003"), QStringLiteral("x")), UTPS_OK);
    QTRY_VERIFY(!EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT).isEmpty());
    int all = 0;
    QCOMPARE(UTPS_SMSSrv_CancelSendMsg(&all), UTPS_OK);
    QTRY_COMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).size(), 1);

    const QList<Captured> results = EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT);
    QCOMPARE(results.size(), 3); // one per recipient, even when cancelled
    QCOMPARE(results[0].status, 0);
    QCOMPARE(results.last().status, int(UTPS_E_SEND_CANCELLED));
    QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).first().status, 1);
    // Nothing left to cancel is not an error.
    QCOMPARE(UTPS_SMSSrv_CancelSendMsg(&all), UTPS_OK);

    // Sends go out one after the other; a job number cancels that send only.
    EventRecorder::instance().clear();
    sendTo(QStringLiteral("+1555001;+1555002"), QStringLiteral("first"));
    sendTo(QStringLiteral("+1555003;+1555004"), QStringLiteral("second"));
    QTRY_VERIFY(!EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT).isEmpty());
    int second = EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT).first().extra1 + 1;
    QCOMPARE(UTPS_SMSSrv_CancelSendMsg(&second), UTPS_OK);
    QTRY_COMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).size(), 2);
    for (const Captured &copy : EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND))
        QCOMPARE(copy.status, copy.content == QStringLiteral("first") ? 0 : 1);
}

void SdkEventsTest::ownNumberAndDeliveryReports()
{
    UTPS_SMSSrv_SetSMSReceiptNotify(1);
    QCOMPARE(SimCtl_SetOwnNumber("+15550100"), UTPS_OK);
    // The own number written nationally still loops back.
    QCOMPARE(sendTo(QStringLiteral("015550100"), QStringLiteral("note to self")), UTPS_OK);
    QTRY_COMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).size(), 2);
    QCOMPARE(eventCodes(), QList<int>({0, 3, 1, 1}));

    const QList<Captured> received = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE);
    const Captured report = received[0];
    QCOMPARE(report.pos, UTPS_POS_PC_REPORTS);
    QCOMPARE(report.msgType, UTPS_MSGTYPE_STATUS_REPORT);
    QCOMPARE(report.status, 0);
    QCOMPARE(fetch(report.id, UTPS_SMS_MEM_PC).rec.iMsgType, UTPS_MSGTYPE_STATUS_REPORT);
    const Captured back = received[1];
    QCOMPARE(back.pos, UTPS_POS_PC_INBOX);
    QCOMPARE(back.content, QStringLiteral("note to self"));
    QCOMPARE(fetch(back.id, UTPS_SMS_MEM_PC).rec.iReadStatus, 1);

    // Without receipt notification there is no report.
    UTPS_SMSSrv_SetSMSReceiptNotify(0);
    EventRecorder::instance().clear();
    sendTo(QStringLiteral("+4915112345678"), QStringLiteral("x"));
    QTRY_COMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).size(), 1);
    QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
    QVERIFY(EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).isEmpty());
}

void SdkEventsTest::receiveFollowsReceiveStorage_data()
{
    QTest::addColumn<int>("storage");
    QTest::addColumn<int>("inbox");
    QTest::newRow("PC") << int(UTPS_SMS_MEM_PC) << UTPS_POS_PC_INBOX;
    QTest::newRow("SIM") << int(UTPS_SMS_MEM_SIM) << UTPS_POS_SIM_INBOX;
    QTest::newRow("device") << int(UTPS_SMS_MEM_DEVICE) << UTPS_POS_DEVICE_INBOX;
}

void SdkEventsTest::receiveFollowsReceiveStorage()
{
    QFETCH(int, storage);
    QFETCH(int, inbox);
    QCOMPARE(SimCtl_SetReceiveStorage(storage), UTPS_OK);
    int id = -2;
    QCOMPARE(SimCtl_InjectMessage(SIMCTL_RECEIVE_STORAGE, "+15550123", "Grüße 😀", "20260101120000", 3, &id),
             UTPS_OK);
    QTRY_COMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).size(), 1);
    const Captured c = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).first();
    QCOMPARE(c.id, id);
    QCOMPARE(c.pos, inbox);
    QCOMPARE(c.content, QStringLiteral("Grüße 😀"));
    const Fetched f = fetch(id, storage);
    QCOMPARE(f.rc, UTPS_OK);
    QCOMPARE(f.rec.iReadStatus, 1);
    QCOMPARE(f.time, QStringLiteral("20260101120000"));
    QCOMPARE(countOf(storage), 1);
    for (int other = 0; other < 3; ++other)
        if (other != storage)
            QCOMPARE(countOf(other), 0);
}

void SdkEventsTest::classZeroIsAnnouncedNotStored()
{
    int id = 0;
    QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+15550123", "flash!", nullptr, UTPS_MSGCLASS_FLASH, &id),
             UTPS_OK);
    QCOMPARE(id, -1);
    QTRY_COMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).size(), 1);
    const Captured c = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).first();
    QCOMPARE(c.msgClass, UTPS_MSGCLASS_FLASH);
    QCOMPARE(c.pos, UTPS_POS_PC_INBOX);
    QCOMPARE(c.content, QStringLiteral("flash!"));
    QCOMPARE(countOf(UTPS_SMS_MEM_PC), 0);
}

void SdkEventsTest::reportsAndBroadcastsLandInTheirBoxes()
{
    int report = -1, broadcast = -1;
    QCOMPARE(SimCtl_InjectStatusReport("+4915112345678", 1, nullptr, &report), UTPS_OK);
    QCOMPARE(SimCtl_InjectCellBroadcast("50", "Storm warning", &broadcast), UTPS_OK);
    QTRY_COMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).size(), 2);
    const Fetched r = fetch(report, UTPS_SMS_MEM_PC);
    QCOMPARE(r.rec.iPos, UTPS_POS_PC_REPORTS);
    QCOMPARE(r.rec.iMsgType, UTPS_MSGTYPE_STATUS_REPORT);
    QCOMPARE(r.rec.iStatus, 1);
    QCOMPARE(fetch(broadcast, UTPS_SMS_MEM_PC).rec.iPos, UTPS_POS_PC_CELL_BROADCAST);
}

void SdkEventsTest::modemStateChangesRaiseEvents()
{
    SimCtl_SetSimInserted(0);
    QTRY_COMPARE(statusCodes(), QList<int>({UTPS_SMS_STATUS_SIM_NOT_AVAILABLE, UTPS_SMS_STATUS_CANNOT_SEND_SMS}));
    SimCtl_SetSimInserted(0); // no change, no event
    SimCtl_SetSimInserted(1);
    QTRY_COMPARE(EventRecorder::instance().events(2, UTPS_EVENT_DEV_DEVICE_REINIT_FINISH).size(), 1);
    QCOMPARE(EventRecorder::instance().events(1, EVENT_PB_SIM_READY).size(), 1);
    QTRY_COMPARE(statusCodes().mid(2), QList<int>({UTPS_SMS_STATUS_SIM_OK, UTPS_SMS_STATUS_CAN_SEND_SMS}));

    EventRecorder::instance().clear();
    SimCtl_SetDevicePlugged(0);
    QTRY_COMPARE(statusCodes(), QList<int>({UTPS_SMS_STATUS_DEVICE_NOT_AVAILABLE, UTPS_SMS_STATUS_CANNOT_SEND_SMS}));
    SimCtl_SetDevicePlugged(1);
    QTRY_COMPARE(EventRecorder::instance().events(2, UTPS_EVENT_DEV_DEVICE_INIT_FINISH).size(), 1);
    QTRY_COMPARE(statusCodes().mid(2), QList<int>({UTPS_SMS_STATUS_READY, UTPS_SMS_STATUS_SIM_OK,
                                                   UTPS_SMS_STATUS_CAN_SEND_SMS}));

    // Flight mode and the modem's own flag both govern "can send", announced on change only.
    EventRecorder::instance().clear();
    SimCtl_SetFlightMode(1);
    SimCtl_SetCanSend(0);
    SimCtl_SetFlightMode(0);
    SimCtl_SetCanSend(1);
    QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
    QCOMPARE(statusCodes(), QList<int>({UTPS_SMS_STATUS_CANNOT_SEND_SMS, UTPS_SMS_STATUS_CAN_SEND_SMS}));

    // Locking and unlocking the SIM closes and opens its storage.
    EventRecorder::instance().clear();
    SimCtl_SetPinState(UTPS_PIN_STATE_PUK_REQUIRED, 0, 9);
    SimCtl_SetPinState(UTPS_PIN_STATE_VERIFIED, 3, 10);
    QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
    QCOMPARE(statusCodes(), QList<int>({UTPS_SMS_STATUS_SIM_NOT_AVAILABLE, UTPS_SMS_STATUS_CANNOT_SEND_SMS,
                                        UTPS_SMS_STATUS_SIM_OK, UTPS_SMS_STATUS_CAN_SEND_SMS}));

    EventRecorder::instance().clear();
    SimCtl_AddContact("Anna", "+4915112345678", nullptr);
    QTRY_COMPARE(EventRecorder::instance().events(1, EVENT_PB_PHONEBOOK_READY).size(), 1);
}

void SdkEventsTest::deviceDeleteRaisesEvent5()
{
    const int id = saveAt(9);
    QCOMPARE(SimCtl_DeviceDeleteMsg(UTPS_SMS_MEM_DEVICE, id), UTPS_OK);
    QTRY_COMPARE(EventRecorder::instance().events(0, EVENT_SMS_DELETE).size(), 1);
    const Captured c = EventRecorder::instance().events(0, EVENT_SMS_DELETE).first();
    QCOMPARE(c.id, id);
    QCOMPARE(c.pos, UTPS_POS_DEVICE_INBOX);
    QCOMPARE(countOf(UTPS_SMS_MEM_DEVICE), 0);
}

void SdkEventsTest::noCallbackAfterUnregistration()
{
    for (int i = 0; i < 50; ++i)
        SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+1", "x", nullptr, 3, nullptr);
    QCOMPARE(UTPS_SMSSrv_UnRegCallBack(EventRecorder::smsCallback), UTPS_OK);
    const int seen = EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).size();
    QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
    QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).size(), seen);
    QCOMPARE(countOf(UTPS_SMS_MEM_PC), 50); // the messages themselves are stored
    QCOMPARE(UTPS_SMSSrv_UnRegCallBack(EventRecorder::smsCallback), UTPS_E_NOT_FOUND);
}

namespace {
QSemaphore g_entered;
QSemaphore g_release;
std::atomic<bool> g_returned{false};

int blockingCallback(int event, void *)
{
    if (event != EVENT_SMS_ONRECEIVE)
        return 1;
    g_entered.release();
    g_release.acquire();
    g_returned = true;
    return 1;
}
} // namespace

void SdkEventsTest::unregistrationWaitsForRunningCallback()
{
    g_returned = false;
    QCOMPARE(UTPS_SMSSrv_RegCallBack(blockingCallback), UTPS_OK);
    SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+1", "x", nullptr, 3, nullptr);
    QVERIFY(g_entered.tryAcquire(1, 5000));
    std::atomic<bool> returnedBeforeUnreg{false};
    std::thread unregistering([&] {
        UTPS_SMSSrv_UnRegCallBack(blockingCallback);
        returnedBeforeUnreg = g_returned.load();
    });
    g_release.release();
    unregistering.join();
    QVERIFY(returnedBeforeUnreg);
}

namespace {
std::atomic<int> g_reentrantReads{0};

int reentrantCallback(int event, void *data)
{
    if (event == EVENT_SMS_ONRECEIVE) {
        const auto *r = static_cast<_UTPS_ST_SMS_RECORD *>(data);
        if (fetch(r->iMsgId, UTPS_SMS_MEM_PC).rc == UTPS_OK)
            ++g_reentrantReads;
        UTPS_SMSSrv_UnRegCallBack(reentrantCallback); // from its own callback: no wait
    }
    return 1;
}
} // namespace

void SdkEventsTest::callbackMayCallBackAndUnregisterItself()
{
    g_reentrantReads = 0;
    QCOMPARE(UTPS_SMSSrv_RegCallBack(reentrantCallback), UTPS_OK);
    SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+1", "x", nullptr, 3, nullptr);
    SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+1", "y", nullptr, 3, nullptr);
    QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
    QCOMPARE(g_reentrantReads.load(), 1);
    QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONRECEIVE).size(), 2);
}

void SdkEventsTest::concurrentCallersStayConsistent()
{
    SimCtl_SetSendDelay(0);
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < 50; ++i) {
                const int id = saveAt(t % 2 ? 1 : 2, QStringLiteral("+1"), QString::number(i));
                if (id < 0 || fetch(id, 0).rc != UTPS_OK)
                    ++failures;
                if (i % 5 == 0 && UTPS_SMSSrv_DeleteMsg(id, UTPS_SMS_MEM_PC) != UTPS_OK)
                    ++failures;
                if (i % 10 == 0) {
                    UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC);
                    saveAt(3);
                    UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC);
                }
            }
        });
    }
    threads.emplace_back([] {
        for (int i = 0; i < 20; ++i) {
            SimCtl_InjectMessage(UTPS_SMS_MEM_SIM, "+2", "in", nullptr, 3, nullptr);
            sendTo(QStringLiteral("+3;+4"), QStringLiteral("out"));
        }
    });
    for (std::thread &t : threads)
        t.join();
    QCOMPARE(failures.load(), 0);
    QCOMPARE(SimCtl_WaitIdle(10000), UTPS_OK);
    QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSAVESEND).size(), 20);
    QCOMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSENDRESULT).size(), 40);
    QCOMPARE(countOf(UTPS_SMS_MEM_PC), 4 * 50 + 4 * 5 + 20);
    QCOMPARE(countOf(UTPS_SMS_MEM_SIM), 20);
}

QTEST_GUILESS_MAIN(SdkEventsTest)
#include "tst_sdk_events.moc"
