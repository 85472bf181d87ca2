// SPDX-License-Identifier: GPL-3.0-or-later
// Times a 1,000-message delete and a 1,000-message move PC -> device started from the SMS
// window (from the command on a selection to the last table refresh after the batch),
// beside the worker thread running the same batch on its own in the same run. The
// difference is what the window adds: the per-message results, the rows it drops while
// the batch runs, and the refresh of the tables the batch touched. The store holds 10,000
// PC messages: the 1,000 of the batch in the inbox, the others in the other folders, so the
// PC root shows all of them. Also printed, beside its goal: the end of the delete alone,
// from the worker's last moment to the window's last table refresh.
// The same two batches at 10,000 messages, each with the longest stall of the GUI thread
// (a probe timer ticking every millisecond) over the whole batch and over its end, and a
// message arriving halfway through the batch (by the worker's count of records handled),
// timed from its arrival until its row shows.
// Run with QT_QPA_PLATFORM=offscreen; "--only 1000" or "--only 10000" runs one size.
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "CommonUtils.h"
#include "operations/SMSThreadUI.h"
#include "settings/SmsSettingUILogic.h"
#include "store/SMSStatusUILogic.h"
#include "window/SMSUIMainDlg.h"
#include "window/SMSUITableWidget.h"
#include "TestEnv.h"
#include "sdk_simulator.h"
#include "utps_sdk.h"

namespace {
constexpr int kCount = 1000;
constexpr int kStored = 10000;
constexpr int kRuns = 3;

// count messages in the PC inbox, and others beside them in folders the batch leaves alone.
bool seedInbox(int count = kCount)
{
    const int stored = kStored - kCount + count;
    SimCtl_Reset();
    // Room for the whole batch on the device (its default holds 300).
    SimCtl_SetCapacity(UTPS_SMS_MEM_DEVICE, 2 * count);
    if (UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC) != 0)
        return false;
    // The batch's messages in the inbox; the rest where the batch does not reach.
    const int others[] = {EN_LOCAL_OUTBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE, EN_LOCAL_REPORT};
    for (int i = 0; i < stored; ++i) {
        const QString number = QStringLiteral("+49151%1").arg(i, 7, 10, QLatin1Char('0'));
        const QString content = QStringLiteral("Message %1 for the batch").arg(i);
        _UTPS_ST_SMS_RECORD *r = nullptr;
        if (UTPS_SMSSrv_CreateSMSRecord(&r, reinterpret_cast<const UTPS_WCHAR *>(number.utf16()),
                                        reinterpret_cast<const UTPS_WCHAR *>(content.utf16()))
            != 0)
            return false;
        r->iPos = r->iInitialPos = i < count ? EN_LOCAL_INBOX : others[i % 4];
        // Valid times, a minute apart (a made-up "08" + four digits is mostly no time at all).
        const QString time = QDateTime(QDate(2025, 1, 1), QTime(8, 0))
                                 .addSecs(qint64(i) * 60)
                                 .toString(QStringLiteral("yyyyMMddhhmmss"));
        for (int k = 0; k < time.size(); ++k)
            r->szTime[k] = time.at(k).unicode();
        r->szTime[time.size()] = 0;
        int id = -1;
        const long saved = UTPS_SMSSrv_SaveMsg(r, &id, nullptr);
        UTPS_SMSSrv_ReleaseSMSRecord(&r);
        if (saved != 0)
            return false;
    }
    return UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC) == 0;
}

// The whole flow from the window: command on every inbox row, confirmation answered,
// results, the refresh after the batch. Returns milliseconds, or -1.
double fromWindow(const std::function<void(SMSUIMainDlg *)> &command, double *endMs = nullptr)
{
    if (!seedInbox())
        return -1;
    SMSUIMainDlg *w = SMSUIMainDlg::GetInstance();
    w->setSimStateFlag(true);
    w->CreateSMSMainLayout();
    w->resize(900, 600);
    w->show();
    w->onClickSMSTreeNode(w->treeItem(EN_LOCAL_INBOX), 0);
    w->currentTable()->selectAll();
    QEventLoop loop;
    // Connected after the window's own slots, so it runs after the last refresh.
    QObject::connect(&w->workerThread(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    QElapsedTimer timer;
    // The worker's very end, seen from its own thread before the window hears of it.
    std::atomic<qint64> workerEnd{0};
    QObject::connect(
        &w->workerThread(), &QThread::finished, &loop,
        [&timer, &workerEnd] { workerEnd = timer.nsecsElapsed(); }, Qt::DirectConnection);
    timer.start();
    command(w);
    loop.exec();
    // The window brings its tables in line over the next turns of the event loop.
    while (w->batchPending())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (endMs)
        *endMs = ms - workerEnd / 1e6;
    const int left = w->tableAt(EN_LOCAL_INBOX)->rowCount();
    SMSUIMainDlg::Destroy();
    SMSSettingUILogic::Destroy();
    return left == 0 ? ms : -1;
}

// Ticks every millisecond on the GUI thread and keeps the longest gap between two ticks,
// over everything and over what follows mark().
class StallProbe
{
public:
    StallProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { tick(); });
        m_clock.start();
        m_timer.start();
    }
    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        const double gap = (now - m_last) / 1e6;
        m_longest = std::max(m_longest, gap);
        if (m_marked)
            m_longestAfterMark = std::max(m_longestAfterMark, gap);
        m_last = now;
    }
    // Gaps that end after this moment count as the end's too; from another thread.
    void mark() { m_marked = true; }
    double longest() const { return m_longest; }
    double longestAfterMark() const { return m_longestAfterMark; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    double m_longest = 0;
    double m_longestAfterMark = 0;
    std::atomic<bool> m_marked{false};
};

struct BigBatch
{
    double stall = -1;     // longest over the batch, command to refresh
    double endStall = -1;  // longest once the worker was done
    double command = -1;   // the command itself, up to the worker's start
    double arrival = -1;   // a message arriving halfway, until its row shows
};

// A batch of count messages from the window with a stall probe running, and a message
// arriving in the PC inbox halfway through it.
BigBatch bigBatch(int count, const std::function<void(SMSUIMainDlg *)> &command)
{
    BigBatch b;
    if (!seedInbox(count))
        return b;
    SMSUIMainDlg *w = SMSUIMainDlg::GetInstance();
    w->setSimStateFlag(true);
    w->CreateSMSMainLayout();
    SMSStatusUILogic::Instance()->InitStatusLogic();  // arrivals reach the window
    w->resize(900, 600);
    w->show();
    w->onClickSMSTreeNode(w->treeItem(EN_LOCAL_INBOX), 0);
    w->currentTable()->selectAll();
    QCoreApplication::processEvents();
    const QString text = QStringLiteral("arrived during the batch");
    QElapsedTimer clock;
    std::atomic<qint64> arrivedAt{-1};
    qint64 shownAt = -1;
    SMSUITableWidget *inbox = w->tableAt(EN_LOCAL_INBOX);
    // The arrival is the newest message: shown, it is the top row of the inbox (newest
    // first). Looked for every few milliseconds, whichever way the row got there.
    QTimer look;
    look.setInterval(2);
    QObject::connect(&look, &QTimer::timeout, &look, [&] {
        const QTableWidgetItem *cell = inbox->item(0, 1);
        if (shownAt < 0 && arrivedAt >= 0 && cell && cell->text() == text)
            shownAt = clock.nsecsElapsed();
    });
    look.start();
    StallProbe probe;
    QEventLoop loop;
    QObject::connect(&w->workerThread(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    QObject::connect(&w->workerThread(), &QThread::finished, &loop, [&probe] { probe.mark(); },
                     Qt::DirectConnection);
    std::atomic<bool> stop{false};
    // Halfway through the batch by the worker's own count, however fast it goes.
    std::atomic<bool> halfway{false};
    QObject::connect(
        &w->workerThread(), &SMSThreadUI::batchProgress, &loop,
        [&halfway](int handled, int total) {
            if (2 * handled >= total)
                halfway = true;
        },
        Qt::DirectConnection);
    clock.start();
    command(w);
    b.command = clock.nsecsElapsed() / 1e6;
    std::thread arrival([&] {
        while (!stop && !halfway)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (stop)
            return;
        arrivedAt = clock.nsecsElapsed();
        SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+4917000000", text.toUtf8().constData(),
                             "20300101120000", 1, nullptr);
    });
    loop.exec();
    // The arrival may come after the batch: wait for it as a user would, up to 10 s.
    QElapsedTimer waited;
    waited.start();
    while (((halfway ? arrivedAt < 0 || shownAt < 0 : false) || w->batchPending())
           && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    stop = true;
    arrival.join();
    b.stall = probe.longest();
    b.endStall = probe.longestAfterMark();
    if (arrivedAt >= 0 && shownAt >= 0)
        b.arrival = (shownAt - arrivedAt) / 1e6;
    SMSStatusUILogic::Instance()->unSDKRegisterEvent();
    SimCtl_WaitIdle(5000);
    SMSUIMainDlg::Destroy();
    SMSSettingUILogic::Destroy();
    return b;
}

// The same batch on a bare worker: the store's buffers follow the removals, no window.
double workerAlone(_SMS_OPERATION_TYPE operation, int destination)
{
    if (!seedInbox())
        return -1;
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QObject::connect(store, &SMSStatusUILogic::DeleteSMSInUiService, store,
                     &SMSStatusUILogic::DeleteSMSFromBuffer);
    store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC);
    QList<SmsRecord> records;
    for (SmsRecord *r : store->GetSMSRecordsSet(EN_LOCAL_INBOX))
        records.append(*r);
    double ms = -1;
    {
        SMSThreadUI worker;
        QEventLoop loop;
        QObject::connect(&worker, &QThread::finished, &loop, &QEventLoop::quit);
        worker.SetSmsThreadOperation(operation, records, UTPS_SMS_MEM_PC, destination,
                                     EN_LOCAL_INBOX);
        QElapsedTimer timer;
        timer.start();
        worker.start();
        loop.exec();
        ms = timer.nsecsElapsed() / 1e6;
        worker.wait();
    }
    SMSStatusUILogic::Destroy();
    return ms;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void report(QTextStream &out, const QString &what, const std::vector<double> &window,
            const std::vector<double> &worker)
{
    const double w = median(window);
    const double b = median(worker);
    out << what << QStringLiteral(", median of %1 runs:\n").arg(kRuns);
    out << QStringLiteral("  worker alone                    %1 ms\n").arg(b, 9, 'f', 1);
    out << QStringLiteral("  from the window, to the refresh %1 ms  (x%2)\n")
               .arg(w, 9, 'f', 1)
               .arg(w / b, 0, 'f', 2);
    out.flush();
}
} // namespace

void reportBig(QTextStream &out, const QString &what, const std::vector<BigBatch> &runs)
{
    std::vector<double> stall, end, command, arrival;
    for (const BigBatch &b : runs) {
        stall.push_back(b.stall);
        end.push_back(b.endStall);
        command.push_back(b.command);
        arrival.push_back(b.arrival);
    }
    const auto figure = [](const std::vector<double> &v) {
        return std::find(v.begin(), v.end(), -1.0) != v.end()
            ? QStringLiteral("failed")
            : QStringLiteral("%1 ms").arg(median(v), 0, 'f', 1);
    };
    out << what << QStringLiteral(", median of %1 runs:\n").arg(runs.size());
    out << QStringLiteral("  the command, to the worker's start    %1   goal < 100 ms\n")
               .arg(figure(command), 10);
    out << QStringLiteral("  longest stall at the end (bar at 100%) %1   goal < 100 ms\n")
               .arg(figure(end), 10);
    out << QStringLiteral("  longest stall over the whole batch     %1   goal < 100 ms\n")
               .arg(figure(stall), 10);
    out << QStringLiteral("  a message arriving halfway, shown in   %1   goal < 1000 ms\n")
               .arg(figure(arrival), 10);
    QStringList each;
    for (const BigBatch &b : runs)
        each << QStringLiteral("%1/%2").arg(b.stall, 0, 'f', 1).arg(b.arrival, 0, 'f', 1);
    out << QStringLiteral("  each run, stall/arrival in ms: %1\n").arg(each.join(QStringLiteral(", ")));
    out.flush();
}

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "*.warning=false");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    TestDataHome home;
    SimCtl_SetDemoSeed(0);
    CommonUtils::SetMessageResponder([](const MessageRequest &) { return CommonUtils::FirstButton; });
    const QStringList args = app.arguments();
    const int only = args.indexOf(QStringLiteral("--only"));
    const QString part = only > 0 ? args.value(only + 1) : QString();

    if (part.isEmpty() || part == QLatin1String("1000")) {
        std::vector<double> windowDelete, workerDelete, windowMove, workerMove, deleteEnd;
        for (int run = 0; run < kRuns; ++run) {
            double end = -1;
            windowDelete.push_back(
                fromWindow([](SMSUIMainDlg *w) { w->onButtonClickDelete(); }, &end));
            deleteEnd.push_back(end);
            workerDelete.push_back(workerAlone(DC_SMS_SELECTED_DELETE, EN_LOCAL_TRASH));
            windowMove.push_back(
                fromWindow([](SMSUIMainDlg *w) { w->onClickMove(UTPS_SMS_MEM_DEVICE); }));
            workerMove.push_back(workerAlone(DC_SMS_MOVE, EN_DEVICE_INBOX));
        }
        for (const auto *v : {&windowDelete, &workerDelete, &windowMove, &workerMove}) {
            if (std::find(v->begin(), v->end(), -1.0) != v->end()) {
                out << "a batch did not complete\n";
                return 1;
            }
        }
        report(out, QStringLiteral("Delete 1,000 PC inbox messages (to the trash) of 10,000"),
               windowDelete, workerDelete);
        report(out, QStringLiteral("Move 1,000 messages PC inbox -> device inbox"), windowMove,
               workerMove);
        out << QStringLiteral("End of the 1,000-row delete (worker done -> tables refreshed), "
                              "median of %1 runs:\n  %2 ms   goal < 100 ms\n")
                   .arg(kRuns)
                   .arg(median(deleteEnd), 0, 'f', 1);
    }
    if (part.isEmpty() || part == QLatin1String("10000")) {
        constexpr int kBig = 10000;
        std::vector<BigBatch> deletes, moves;
        for (int run = 0; run < kRuns; ++run) {
            deletes.push_back(bigBatch(kBig, [](SMSUIMainDlg *w) { w->onButtonClickDelete(); }));
            moves.push_back(
                bigBatch(kBig, [](SMSUIMainDlg *w) { w->onClickMove(UTPS_SMS_MEM_DEVICE); }));
        }
        reportBig(out, QStringLiteral("Delete 10,000 PC inbox messages (to the trash) of 19,000"),
                  deletes);
        reportBig(out, QStringLiteral("Move 10,000 messages PC inbox -> device inbox"), moves);
    }
    SimCtl_Reset();
    return 0;
}
