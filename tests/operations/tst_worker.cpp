// SPDX-License-Identifier: GPL-3.0-or-later
// The worker thread on the real simulator: batches inside a transaction, a signal per
// record in order and finished() last, the stop flag, refusals, sends, and a fault-injection
// run in which no message may be lost.
#include <QRandomGenerator>
#include <QtTest>

#include "operations/SMSEditUILogic.h"
#include "operations/SMSThreadUI.h"
#include "StoreTestSupport.h"
#include "CrossThreadCalls.h"

using namespace storetest;

namespace {

constexpr int kWait = 10000;

// The worker's signals in arrival order on the GUI thread, as the window sees them.
class WorkerLog : public QObject
{
public:
    explicit WorkerLog(SMSThreadUI *worker)
    {
        connect(worker, &SMSThreadUI::deleteSignalEvent, this, log<int>("delete"));
        connect(worker, &SMSThreadUI::SendSignalEvent, this, log<bool, int>("send"));
        connect(worker, &SMSThreadUI::moveOrCopyEvent, this, log<bool, int>("moveOrCopy"));
        connect(worker, &SMSThreadUI::smsDragged, this, log<bool>("dragged"));
        connect(worker, &SMSThreadUI::recoverSignalEvent, this, log<bool, int>("recover"));
        connectThreadFinished(worker, worker->runMutex(), this, log<>("finished"));
    }
    template <typename... Args>
    std::function<void(Args...)> log(const char *name)
    {
        return [this, name](Args... args) {
            QStringList words{QString::fromLatin1(name)};
            (words.append(QString::number(int(args))), ...);
            entries.append(words.join(QLatin1Char(' ')));
        };
    }
    bool isFinished() const { return entries.contains(QStringLiteral("finished")); }
    QStringList entries;
};

} // namespace

class TestWorker : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.init(); }
    void cleanup() { m_fixture.cleanup(); }

    void emptyBatchStillBracketsTransaction();
    void deleteSignalsPerRecordThenFinished();
    void stopFlag();
    void moveViaRootSelection_data();
    void moveViaRootSelection();
    void dragRefusedBySentState();
    void sendRefusalIsReported();
    void faultInjectionLosesNothing();
    void failedCommitFailsEveryRecord_data();
    void failedCommitFailsEveryRecord();

private:
    void runAndWait(SMSThreadUI &worker, WorkerLog &log);
    Fixture m_fixture;
};

void TestWorker::runAndWait(SMSThreadUI &worker, WorkerLog &log)
{
    worker.start();
    QTRY_VERIFY_WITH_TIMEOUT(log.isFinished(), kWait);
    QVERIFY(worker.wait(kWait));
    // The worker's finishing is ordered before the log goes (it may go before the worker)
    // by the lock the worker holds to its very end.
    const QMutexLocker finished(worker.runMutex());
}

void TestWorker::emptyBatchStillBracketsTransaction()
{
    loadedStore();
    SMSThreadUI worker;
    QList<SmsRecord> none;
    // The batch must consume this fault, or our own Begin below would fail.
    SimCtl_FailNextCalls("UTPS_SMSSrv_BeginTransaction", 1, UTPS_E_BUSY);
    {
        WorkerLog log(&worker);
        worker.SetSmsThreadOperation(DC_SMS_SELECTED_DELETE, none, UTPS_SMS_MEM_PC, -1, 1);
        runAndWait(worker, log);
        QCOMPARE(log.entries, QStringList{"finished"});
    }
    QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
    QCOMPARE(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC), UTPS_OK);

    // A normal empty batch leaves no bracket open behind it.
    WorkerLog log(&worker);
    worker.SetSmsThreadOperation(DC_SMS_MOVE, none, UTPS_SMS_MEM_PC, 2, 2);
    runAndWait(worker, log);
    QCOMPARE(log.entries, QStringList{"finished"});
    QCOMPARE(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC), UTPS_E_NO_TRANSACTION);
}

void TestWorker::deleteSignalsPerRecordThenFinished()
{
    for (int i = 0; i < 4; ++i)
        saveAt(EN_LOCAL_INBOX, QString::number(i));
    SMSStatusUILogic *store = loadedStore();
    QList<SmsRecord> records = recordsOf(store, EN_LOCAL_INBOX);
    SMSThreadUI worker;
    WorkerLog log(&worker);
    // The second delete fails: it is reported, negatively, in its place.
    connect(&worker, &SMSThreadUI::batchProgress, &worker, [](int handled) {
        if (handled == 1)
            SimCtl_FailNextCalls("UTPS_SMSSrv_DeleteMsg", 1, UTPS_E_FAILED);
    }, Qt::DirectConnection);
    worker.SetSmsThreadOperation(DC_SMS_SELECTED_DELETE, records, UTPS_SMS_MEM_PC, -1,
                                 EN_LOCAL_INBOX);
    runAndWait(worker, log);
    QCOMPARE(log.entries,
             (QStringList{"delete 0", "delete -2", "delete 2", "delete 3", "finished"}));
    QTRY_COMPARE(store->GetSMSRecordsSet(EN_LOCAL_TRASH).size(), 3);
    QCOMPARE(store->GetSMSRecordsSet(EN_LOCAL_INBOX).keys(), QList<int>{records.at(1).iMsgId});
}

void TestWorker::stopFlag()
{
    for (int i = 0; i < 5; ++i)
        saveAt(EN_DEVICE_INBOX, QString::number(i));
    SMSStatusUILogic *store = loadedStore();
    QList<SmsRecord> records = recordsOf(store, EN_DEVICE_INBOX);
    SMSThreadUI worker;

    // A stop raised before the operation is set does not stop the new batch.
    SMSThreadUI::StopSmsThread();
    {
        WorkerLog log(&worker);
        QList<SmsRecord> first = records.mid(0, 2);
        worker.SetSmsThreadOperation(DC_SMS_SELECTED_DELETE, first, UTPS_SMS_MEM_DEVICE, -1, 9);
        runAndWait(worker, log);
        QCOMPARE(log.entries, (QStringList{"delete 0", "delete 1", "finished"}));
    }

    // Raised between records (as Cancel does), it ends the batch after the current one.
    WorkerLog log(&worker);
    auto stopper = connect(&worker, &SMSThreadUI::batchProgress, &worker,
                           [] { SMSThreadUI::StopSmsThread(); }, Qt::DirectConnection);
    QList<SmsRecord> rest = records.mid(2);
    worker.SetSmsThreadOperation(DC_SMS_SELECTED_DELETE, rest, UTPS_SMS_MEM_DEVICE, -1, 9);
    runAndWait(worker, log);
    disconnect(stopper);
    QCOMPARE(log.entries, (QStringList{"delete 0", "finished"}));
    QCOMPARE(contentsOf(UTPS_SMS_MEM_DEVICE), (QStringList{"3", "4"}));
    QVERIFY(!SMSThreadUI::m_bStopSmsThread); // cleared for the next batch
}

void TestWorker::moveViaRootSelection_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("destination");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("expected");
    QTest::newRow("sim inbox, device root") << 7 << 14 << 14 << 9;
    QTest::newRow("device outbox, sim root") << 8 << 12 << 12 << 6;
    QTest::newRow("folder chosen") << 7 << 3 << 3 << 3;
}

void TestWorker::moveViaRootSelection()
{
    QFETCH(int, source);
    QFETCH(int, destination);
    QFETCH(int, selected);
    QFETCH(int, expected);
    const int id = saveAt(source, QStringLiteral("travels"));
    SMSStatusUILogic *store = loadedStore();
    QList<SmsRecord> records = recordsOf(store, source);
    SMSThreadUI worker;
    WorkerLog log(&worker);
    worker.SetSmsThreadOperation(DC_SMS_MOVE, records, GetMemPosition(source), destination,
                                 selected);
    runAndWait(worker, log);
    QCOMPARE(log.entries, (QStringList{"moveOrCopy 1 0", "finished"}));
    QVERIFY(!exists(id, GetMemPosition(source)));
    const auto target = store->GetSMSRecordsSet(_EN_SMS_POSITION(expected));
    QCOMPARE(target.size(), 1);
    QCOMPARE(target.begin().value()->strContent, QStringLiteral("travels"));
    QTRY_VERIFY(store->GetSMSRecordsSet(_EN_SMS_POSITION(source)).isEmpty());
}

void TestWorker::dragRefusedBySentState()
{
    NewMessage m;
    m.position = EN_SIM_OUTBOX;
    m.status = 0; // sent
    save(m);
    m.status = 1; // not sent
    save(m);
    SMSStatusUILogic *store = loadedStore();
    store->setSentItemsBox(true);
    QList<SmsRecord> records = recordsOf(store, EN_SIM_OUTBOX);
    SMSThreadUI worker;
    WorkerLog log(&worker);
    // Onto the PC outbox only the unsent one may go.
    worker.SetSmsThreadOperation(DC_SMS_DRAG_COPY, records, UTPS_SMS_MEM_SIM, EN_LOCAL_OUTBOX,
                                 EN_LOCAL_OUTBOX);
    runAndWait(worker, log);
    QCOMPARE(log.entries, (QStringList{"dragged 0", "dragged 1", "finished"}));
    QCOMPARE(store->GetSMSRecordsSet(EN_LOCAL_OUTBOX).size(), 1);
    QCOMPARE(store->GetSMSRecordsSet(EN_LOCAL_OUTBOX).begin().value()->iStatus, 1);
    QCOMPARE(store->GetSMSRecordsSet(EN_SIM_OUTBOX).size(), 2);
}

void TestWorker::sendRefusalIsReported()
{
    SMSStatusUILogic::Instance();
    SMSThreadUI worker;
    // Refused before the SDK took it: one failure per recipient, marked as a refusal.
    SimCtl_SetDevicePlugged(0);
    WorkerLog log(&worker);
    QString to = QStringLiteral("+4930;;+4950;+4960");
    worker.SetSendSmsThreadOperation(DC_SMS_SEND, to, QStringLiteral("hi"));
    runAndWait(worker, log);
    QCOMPARE(log.entries, (QStringList{"send 0 1", "send 0 1", "send 0 1", "finished"}));
    SMSEditUILogic::Destroy();
}

void TestWorker::faultInjectionLosesNothing()
{
    // 50 messages spread over the three storages, moved and copied around in batches
    // while the SDK fails random saves, removals and reads between records.
    QStringList originals;
    const int homes[] = {EN_LOCAL_INBOX, EN_SIM_INBOX, EN_DEVICE_INBOX};
    for (int i = 0; i < 50; ++i) {
        const QString text = QStringLiteral("msg-%1").arg(i);
        QVERIFY(saveAt(homes[i % 3], text) >= 0);
        originals.append(text);
    }
    SMSStatusUILogic *store = loadedStore();
    QRandomGenerator random(20261206);
    const char *const functions[] = {"UTPS_SMSSrv_SaveMsg", "UTPS_SMSSrv_RemoveMsg",
                                     "UTPS_SMSSrv_GetMsg"};
    auto injectFault = [&random, &functions] {
        SimCtl_FailNextCalls(functions[random.bounded(3)], int(random.bounded(2)), UTPS_E_FAILED);
    };

    struct Batch { int op; int source; int destination; int selected; };
    const Batch batches[] = {
        {DC_SMS_MOVE, EN_LOCAL_INBOX, EN_SIM_INBOX, EN_SIM_INBOX},
        {DC_SMS_COPY, EN_SIM_INBOX, EN_DEVICE_ROOT, EN_SIM_ROOT},
        {DC_SMS_DRAG_MOVE, EN_DEVICE_INBOX, EN_LOCAL_INBOX, EN_LOCAL_INBOX},
        {DC_SMS_MOVE, EN_SIM_INBOX, EN_DEVICE_ROOT, EN_DEVICE_ROOT},
        {DC_SMS_DRAG_COPY, EN_LOCAL_INBOX, EN_LOCAL_TRASH, EN_LOCAL_TRASH},
    };
    SMSThreadUI worker;
    // Connected once, so that the worker's own set-up and end order its calls of the
    // injector before the next batch's and before the connection goes.
    connect(&worker, &SMSThreadUI::batchProgress, &worker, [&] { injectFault(); },
            Qt::DirectConnection);
    int handled = 0;
    for (const Batch &batch : batches) {
        QList<SmsRecord> records = recordsOf(store, batch.source);
        WorkerLog log(&worker);
        worker.SetSmsThreadOperation(_SMS_OPERATION_TYPE(batch.op), records,
                                     GetMemPosition(batch.source), batch.destination,
                                     batch.selected);
        injectFault();
        runAndWait(worker, log);
        SimCtl_ClearFaults();
        QCOMPARE(log.entries.size(), records.size() + 1); // one signal each, then finished
        handled += int(records.size());
        // The window re-reads the storages after a batch with failures.
        QCoreApplication::processEvents();
        store->ReleaseAllSmsBuffers();
        loadedStore();
    }
    QVERIFY(handled >= 50);

    QStringList everywhere = contentsOf(UTPS_SMS_MEM_PC) + contentsOf(UTPS_SMS_MEM_SIM)
        + contentsOf(UTPS_SMS_MEM_DEVICE);
    for (const QString &text : std::as_const(originals))
        QVERIFY2(everywhere.contains(text), qPrintable(text + QStringLiteral(" was lost")));
}

void TestWorker::failedCommitFailsEveryRecord_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("destination");
    QTest::addColumn<QString>("signal");
    QTest::newRow("delete to trash") << int(DC_SMS_SELECTED_DELETE) << 1 << -1 << "delete";
    QTest::newRow("delete for good") << int(DC_SMS_SELECTED_DELETE) << 9 << -1 << "delete";
    QTest::newRow("move pc to device") << int(DC_SMS_MOVE) << 1 << 9 << "moveOrCopy";
    QTest::newRow("copy device to sim") << int(DC_SMS_COPY) << 9 << 7 << "moveOrCopy";
    QTest::newRow("drag move sim to pc") << int(DC_SMS_DRAG_MOVE) << 7 << 3 << "dragged";
    QTest::newRow("recover") << int(DC_SMS_RECOVER) << 4 << -1 << "recover";
}

// A rolled-back commit: every record reported failed, no effect of the batch in the
// folders, and the ids the batch used are not taken by stale rows when the SDK hands
// them out again.
void TestWorker::failedCommitFailsEveryRecord()
{
    QFETCH(int, operation);
    QFETCH(int, source);
    QFETCH(int, destination);
    QFETCH(QString, signal);
    for (int i = 0; i < 3; ++i) {
        NewMessage m;
        m.position = source;
        m.initialPos = source == EN_LOCAL_TRASH ? EN_LOCAL_INBOX : source;
        m.content = QStringLiteral("kept %1").arg(i);
        QVERIFY(save(m) >= 0);
    }
    SMSStatusUILogic *store = loadedStore();
    SignalLog storeLog(store);
    const auto snapshot = [store] {
        QStringList folders;
        for (int position : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15})
            for (const SmsRecord &r : recordsOf(store, position))
                folders.append(QStringLiteral("%1:%2:%3").arg(position).arg(r.iMsgId).arg(r.strContent));
        return folders;
    };
    const QStringList before = snapshot();
    const QStringList sdkBefore = contentsOf(0) + contentsOf(1) + contentsOf(2);

    QList<SmsRecord> records = recordsOf(store, source);
    SMSThreadUI worker;
    WorkerLog log(&worker);
    SimCtl_FailNextCalls("UTPS_SMSSrv_EndTransaction", 1, UTPS_E_ROLLED_BACK);
    worker.SetSmsThreadOperation(_SMS_OPERATION_TYPE(operation), records, GetMemPosition(source),
                                 destination, destination);
    runAndWait(worker, log);

    QStringList expected;
    for (int i = 0; i < records.size(); ++i) {
        if (signal == QLatin1String("delete"))
            expected.append(QStringLiteral("delete %1").arg(-(i + 1)));
        else if (signal == QLatin1String("dragged"))
            expected.append(QStringLiteral("dragged 0"));
        else
            expected.append(QStringLiteral("%1 0 %2").arg(signal).arg(i));
    }
    expected.append(QStringLiteral("finished"));
    QCOMPARE(log.entries, expected);
    QCoreApplication::processEvents();
    QCOMPARE(storeLog.count(QStringLiteral("DeleteSMSInUiService")), 0);
    QCOMPARE(snapshot(), before);
    QCOMPARE(contentsOf(0) + contentsOf(1) + contentsOf(2), sdkBefore);

    // The next arrival may get an id the rolled-back batch used: it must show as itself.
    QCOMPARE(SimCtl_InjectMessage(GetMemPosition(destination < 0 ? source : destination),
                                  "+15550142", "after", nullptr, 3, nullptr), UTPS_OK);
    store->ReleaseAllSmsBuffers();
    loadedStore();
    QCOMPARE(snapshot().filter(QStringLiteral("after")).size(), 1);
}

QTEST_MAIN(TestWorker)
#include "tst_worker.moc"
