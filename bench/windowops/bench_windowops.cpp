// SPDX-License-Identifier: GPL-3.0-or-later
// Times a 1,000-message delete and a 1,000-message move PC -> device started from the SMS
// window (from the command on a selection to the last table refresh after the batch),
// beside the worker thread running the same batch on its own in the same run. The
// difference is what the window adds: the per-message results, the rows it drops while
// the batch runs, and the refresh of the tables the batch touched. The store holds 10,000
// PC messages: the 1,000 of the batch in the inbox, the others in the other folders, so the
// PC root shows all of them. Also printed, beside its goal: the end of the delete alone,
// from the worker's last moment to the window's last table refresh.
// Run with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>

#include <algorithm>
#include <atomic>
#include <functional>
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

bool seedInbox()
{
    SimCtl_Reset();
    // Room for the whole batch on the device (its default holds 300).
    SimCtl_SetCapacity(UTPS_SMS_MEM_DEVICE, 2 * kCount);
    if (UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC) != 0)
        return false;
    // The batch's messages in the inbox; the rest where the batch does not reach.
    const int others[] = {EN_LOCAL_OUTBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE, EN_LOCAL_REPORT};
    for (int i = 0; i < kStored; ++i) {
        const QString number = QStringLiteral("+49151%1").arg(i, 7, 10, QLatin1Char('0'));
        const QString content = QStringLiteral("Message %1 for the batch").arg(i);
        _UTPS_ST_SMS_RECORD *r = nullptr;
        if (UTPS_SMSSrv_CreateSMSRecord(&r, reinterpret_cast<const UTPS_WCHAR *>(number.utf16()),
                                        reinterpret_cast<const UTPS_WCHAR *>(content.utf16()))
            != 0)
            return false;
        r->iPos = r->iInitialPos = i < kCount ? EN_LOCAL_INBOX : others[i % 4];
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
    const double ms = timer.nsecsElapsed() / 1e6;
    if (endMs)
        *endMs = ms - workerEnd / 1e6;
    const int left = w->tableAt(EN_LOCAL_INBOX)->rowCount();
    SMSUIMainDlg::Destroy();
    SMSSettingUILogic::Destroy();
    return left == 0 ? ms : -1;
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

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "*.warning=false");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    TestDataHome home;
    SimCtl_SetDemoSeed(0);
    CommonUtils::SetMessageResponder([](const MessageRequest &) { return CommonUtils::FirstButton; });

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
    report(out, QStringLiteral("Delete 1,000 PC inbox messages (to the trash) of 10,000"), windowDelete,
           workerDelete);
    report(out, QStringLiteral("Move 1,000 messages PC inbox -> device inbox"), windowMove,
           workerMove);
    out << QStringLiteral("End of the 1,000-row delete (worker done -> tables refreshed), "
                          "median of %1 runs:\n  %2 ms   goal < 100 ms\n")
               .arg(kRuns)
               .arg(median(deleteEnd), 0, 'f', 1);
    SimCtl_Reset();
    return 0;
}
