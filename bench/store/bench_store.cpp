// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the message store and the worker thread, each beside the SDK-only work of the
// same size measured in the same run, subject and baseline taking turns, medians printed:
//   - reading 10,000 (and 50,000) PC messages into the store vs through the SDK alone;
//   - a 1,000-message delete batch on the worker vs the SDK's deletes in one transaction;
//   - the same for a 1,000-message move PC -> device vs the SDK's reads, saves and removals.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "store/SMSStatusUILogic.h"
#include "operations/SMSThreadUI.h"
#include "TestEnv.h"
#include "sdk_simulator.h"

namespace {

constexpr int kReadCount = 10000;
constexpr int kLargeReadCount = 50000;
constexpr int kBatchCount = 1000;
constexpr int kRuns = 9;

qint64 median(QList<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

void fill(int position, int count)
{
    const QString number = QStringLiteral("+15550101");
    UTPS_SMSSrv_BeginTransaction(_UTPS_EN_SMS_MEM(GetMemPosition(position)));
    for (int i = 0; i < count; ++i) {
        const QString content = QStringLiteral("benchmark message %1").arg(i);
        _UTPS_ST_SMS_RECORD rec{};
        rec.iPos = rec.iInitialPos = position;
        rec.iMsgClass = UTPS_MSGCLASS_DEFAULT;
        const char *time = "20260102030405";
        for (int k = 0; time[k]; ++k)
            rec.szTime[k] = UTPS_WCHAR(time[k]);
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

void report(const char *what, qint64 ns, const char *baselineName, qint64 baselineNs,
            const char *goal = "")
{
    std::printf("%-44s %9.1f ms   %-34s %9.1f ms   ratio %5.2fx%s\n", what, ns / 1e6,
                baselineName, baselineNs / 1e6, baselineNs ? double(ns) / baselineNs : 0.0, goal);
    std::fflush(stdout);
}

// Runs subject and baseline kRuns times each, taking turns (the one going first changes
// every run) so that both see the same machine load. Each returns its own time.
void interleave(const std::function<qint64()> &subject, QList<qint64> &subjectNs,
                const std::function<qint64()> &baseline, QList<qint64> &baselineNs)
{
    for (int i = 0; i < kRuns; ++i) {
        if (i % 2 == 0) {
            subjectNs.append(subject());
            baselineNs.append(baseline());
        } else {
            baselineNs.append(baseline());
            subjectNs.append(subject());
        }
    }
}

qint64 sdkOnlyRead()
{
    QElapsedTimer timer;
    timer.start();
    const QList<int> ids = idsOf(UTPS_SMS_MEM_PC);
    qint64 characters = 0;
    // The least the SDK can be asked for: one record reused for every read, as the store does.
    _UTPS_ST_SMS_RECORD *r = nullptr;
    UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr);
    for (int id : ids) {
        r->iMsgId = id;
        if (UTPS_SMSSrv_GetMsg(r, UTPS_SMS_MEM_PC) == UTPS_OK)
            characters += r->pszContent[0];
    }
    UTPS_SMSSrv_ReleaseSMSRecord(&r);
    Q_UNUSED(characters);
    return timer.nsecsElapsed();
}

qint64 storeRead()
{
    SMSStatusUILogic::Destroy();
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QElapsedTimer timer;
    timer.start();
    store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC);
    return timer.nsecsElapsed();
}

void readFigure(int count, const char *what)
{
    fresh();
    fill(EN_LOCAL_INBOX, count);
    QList<qint64> store, sdk;
    interleave(storeRead, store, sdkOnlyRead, sdk);
    report(what, median(store), "SDK-only read of the same", median(sdk), " (goal <= 1.3x)");
}

// A whole batch as the window sees it: from start until finished() arrives, with every
// result delivered to a receiver on this thread before that.
qint64 runWorker(_SMS_OPERATION_TYPE op, int position, int destination)
{
    fresh();
    fill(position, kBatchCount);
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QObject::connect(store, &SMSStatusUILogic::DeleteSMSInUiService, store,
                     &SMSStatusUILogic::DeleteSMSFromBuffer, Qt::UniqueConnection);
    store->PopulateSMSFromSDK(_UTPS_EN_SMS_MEM(GetMemPosition(position)));
    QList<SmsRecord> records;
    for (SmsRecord *r : store->GetSMSRecordsSet(_EN_SMS_POSITION(position)))
        records.append(*r);
    SMSThreadUI worker;
    QEventLoop loop;
    int results = 0;
    QObject::connect(&worker, &SMSThreadUI::deleteSignalEvent, &loop, [&results] { ++results; });
    QObject::connect(&worker, &SMSThreadUI::moveOrCopyEvent, &loop, [&results] { ++results; });
    QObject::connect(&worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker.SetSmsThreadOperation(op, records, GetMemPosition(position), destination, destination);
    QElapsedTimer timer;
    timer.start();
    worker.start();
    loop.exec();
    const qint64 ns = timer.nsecsElapsed();
    worker.wait();
    if (results != kBatchCount)
        std::printf("  only %d of %d results arrived\n", results, kBatchCount);
    return ns;
}

qint64 sdkOnlyDelete()
{
    fresh();
    fill(EN_LOCAL_INBOX, kBatchCount);
    QElapsedTimer timer;
    timer.start();
    UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC);
    for (int id : idsOf(UTPS_SMS_MEM_PC))
        UTPS_SMSSrv_DeleteMsg(id, UTPS_SMS_MEM_PC);
    UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC);
    return timer.nsecsElapsed();
}

qint64 sdkOnlyMove()
{
    fresh();
    fill(EN_LOCAL_INBOX, kBatchCount);
    QElapsedTimer timer;
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
    return timer.nsecsElapsed();
}

void batchFigures(const char *what, _SMS_OPERATION_TYPE op, int destination,
                  const std::function<qint64()> &sdkOnly, const char *baselineName,
                  const char *goal)
{
    QList<qint64> batch, sdk;
    interleave([&] { return runWorker(op, EN_LOCAL_INBOX, destination); }, batch, sdkOnly, sdk);
    report(what, median(batch), baselineName, median(sdk), goal);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TestDataHome home;
    SimCtl_SetDemoSeed(0);
    // "--only <group>" runs one group: read or batch.
    const QStringList args = app.arguments();
    const qsizetype only = args.indexOf(QStringLiteral("--only"));
    const QString group = only > 0 ? args.value(only + 1) : QString();
    const auto runs = [&group](const char *name) { return group.isEmpty() || group == QLatin1String(name); };
    std::printf("median of %d runs, subject and baseline taking turns\n", kRuns);

    if (runs("read")) {
        readFigure(kReadCount, "PopulateSMSFromSDK, 10,000 PC messages");
        readFigure(kLargeReadCount, "PopulateSMSFromSDK, 50,000 PC messages");
    }
    if (runs("batch")) {
        batchFigures("delete batch of 1,000", DC_SMS_SELECTED_DELETE, -1,
                     sdkOnlyDelete, "SDK-only deletes, one transaction", " (goal <= 1.5x)");
        batchFigures("move PC -> device of 1,000", DC_SMS_MOVE, EN_DEVICE_INBOX,
                     sdkOnlyMove, "SDK-only read+save+remove", "");
    }

    fresh();
    return 0;
}
