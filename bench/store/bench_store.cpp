// Figures of the message store and the worker thread, each beside the SDK-only work of the
// same size measured in the same run:
//   - reading 10,000 PC messages into the store vs reading them through the SDK alone;
//   - a 1,000-message delete batch on the worker vs the SDK's deletes in one transaction;
//   - a 1,000-message move PC -> device on the worker vs the SDK's saves and removals;
//   - the worker's per-record pause alone (1,000 pauses), which is part of both batches.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>

#include <cstdio>

#include "store/SMSStatusUILogic.h"
#include "operations/SMSThreadUI.h"
#include "TestEnv.h"
#include "sdk_simulator.h"

namespace {

constexpr int kReadCount = 10000;
constexpr int kBatchCount = 1000;

void fill(int position, int count)
{
    const QString number = QStringLiteral("+15550101");
    UTPS_SMSSrv_BeginTransaction(_UTPS_EN_SMS_MEM(GetMemPosition(position)));
    for (int i = 0; i < count; ++i) {
        const QString content = QStringLiteral("benchmark message %1").arg(i);
        _UTPS_ST_SMS_RECORD rec{};
        rec.iPos = rec.iInitialPos = position;
        rec.iMsgClass = UTPS_MSGCLASS_DEFAULT;
        rec.pszNumber = const_cast<UTPS_WCHAR *>(number.utf16());
        rec.pszContent = const_cast<UTPS_WCHAR *>(content.utf16());
        int id = -1;
        UTPS_SMSSrv_SaveMsg(&rec, &id, nullptr);
    }
    UTPS_SMSSrv_EndTransaction(_UTPS_EN_SMS_MEM(GetMemPosition(position)));
}

QList<int> idsOf(int memory)
{
    int *ids = nullptr;
    int count = 0;
    QList<int> list;
    if (UTPS_SMSSrv_GetSmsIdList(&ids, &count, _UTPS_EN_SMS_MEM(memory)) == UTPS_OK) {
        for (int i = 0; i < count; ++i)
            list.append(ids[i]);
    }
    UTPS_SMSSrv_ReleaseSmsIdList(&ids);
    return list;
}

void fresh()
{
    SMSStatusUILogic::Destroy();
    SimCtl_Reset();
    SimCtl_SetCapacity(UTPS_SMS_MEM_PC, 100000);
    SimCtl_SetCapacity(UTPS_SMS_MEM_DEVICE, 100000);
}

void report(const char *what, qint64 ns, const char *baselineName, qint64 baselineNs)
{
    std::printf("%-40s %10.1f ms   %-34s %10.1f ms   ratio %5.2f\n", what, ns / 1e6,
                baselineName, baselineNs / 1e6, baselineNs ? double(ns) / baselineNs : 0.0);
    std::fflush(stdout);
}

qint64 sdkOnlyRead()
{
    QElapsedTimer timer;
    timer.start();
    const QList<int> ids = idsOf(UTPS_SMS_MEM_PC);
    qint64 characters = 0;
    for (int id : ids) {
        _UTPS_ST_SMS_RECORD *r = nullptr;
        UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr);
        r->iMsgId = id;
        if (UTPS_SMSSrv_GetMsg(r, UTPS_SMS_MEM_PC) == UTPS_OK)
            characters += r->pszContent[0];
        UTPS_SMSSrv_ReleaseSMSRecord(&r);
    }
    Q_UNUSED(characters);
    return timer.nsecsElapsed();
}

// The worker's pause between records, 1,000 times, on a thread of its own like the
// worker's, measured right after the batch so that it sees the same machine load.
qint64 measurePauses()
{
    qint64 ns = 0;
    QThread *thread = QThread::create([&ns] {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kBatchCount; ++i)
            QThread::usleep(500);
        ns = timer.nsecsElapsed();
    });
    thread->start();
    thread->wait();
    delete thread;
    return ns;
}

qint64 runWorker(_SMS_OPERATION_TYPE op, int position, int destination)
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QObject::connect(store, &SMSStatusUILogic::DeleteSMSInUiService, store,
                     &SMSStatusUILogic::DeleteSMSFromBuffer, Qt::UniqueConnection);
    store->PopulateSMSFromSDK(_UTPS_EN_SMS_MEM(GetMemPosition(position)));
    QList<SmsRecord> records;
    for (SmsRecord *r : store->GetSMSRecordsSet(_EN_SMS_POSITION(position)))
        records.append(*r);
    SMSThreadUI worker;
    QEventLoop loop;
    QObject::connect(&worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker.SetSmsThreadOperation(op, records, GetMemPosition(position), destination, destination);
    QElapsedTimer timer;
    timer.start();
    worker.start();
    loop.exec();
    const qint64 ns = timer.nsecsElapsed();
    worker.wait();
    return ns;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TestDataHome home;
    SimCtl_SetDemoSeed(0);

    // Reading 10,000 PC messages.
    fresh();
    fill(EN_LOCAL_INBOX, kReadCount);
    const qint64 sdkRead = sdkOnlyRead();
    QElapsedTimer timer;
    timer.start();
    SMSStatusUILogic::Instance()->PopulateSMSFromSDK(UTPS_SMS_MEM_PC);
    const qint64 storeRead = timer.nsecsElapsed();
    report("PopulateSMSFromSDK, 10,000 PC messages", storeRead, "SDK-only read of the same", sdkRead);

    // Deleting 1,000 PC messages (to the trash).
    fresh();
    fill(EN_LOCAL_INBOX, kBatchCount);
    timer.start();
    UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC);
    for (int id : idsOf(UTPS_SMS_MEM_PC))
        UTPS_SMSSrv_DeleteMsg(id, UTPS_SMS_MEM_PC);
    UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC);
    const qint64 sdkDelete = timer.nsecsElapsed();
    fresh();
    fill(EN_LOCAL_INBOX, kBatchCount);
    const qint64 workerDelete = runWorker(DC_SMS_SELECTED_DELETE, EN_LOCAL_INBOX, -1);
    qint64 pauses = measurePauses();
    report("worker delete batch, 1,000 messages", workerDelete, "SDK-only deletes, one transaction",
           sdkDelete);
    // The pause sleeps at least 500 us and usually overshoots; it is most of the batch.
    report("  per-record pause alone, 1,000 times", pauses, "nominal 1,000 x 500 us", 500000000);

    // Moving 1,000 messages from the PC inbox to the device inbox.
    fresh();
    fill(EN_LOCAL_INBOX, kBatchCount);
    timer.start();
    UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC);
    for (int id : idsOf(UTPS_SMS_MEM_PC)) {
        _UTPS_ST_SMS_RECORD *r = nullptr;
        UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr);
        r->iMsgId = id;
        UTPS_SMSSrv_GetMsg(r, UTPS_SMS_MEM_PC);
        r->iPos = r->iInitialPos = EN_DEVICE_INBOX;
        int newId = -1;
        if (UTPS_SMSSrv_SaveMsg(r, &newId, nullptr) == UTPS_OK)
            UTPS_SMSSrv_RemoveMsg(id, UTPS_SMS_MEM_PC);
        UTPS_SMSSrv_ReleaseSMSRecord(&r);
    }
    UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC);
    const qint64 sdkMove = timer.nsecsElapsed();
    fresh();
    fill(EN_LOCAL_INBOX, kBatchCount);
    const qint64 workerMove = runWorker(DC_SMS_MOVE, EN_LOCAL_INBOX, EN_DEVICE_INBOX);
    pauses = measurePauses();
    report("worker move PC -> device, 1,000", workerMove, "SDK-only read+save+remove", sdkMove);
    report("  per-record pause alone, 1,000 times", pauses, "nominal 1,000 x 500 us", 500000000);

    fresh();
    return 0;
}
