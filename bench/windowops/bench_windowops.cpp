// Times a 1,000-message delete and a 1,000-message move PC -> device started from the SMS
// window (from the command on a selection to the last table refresh after the batch),
// beside the worker thread running the same batch on its own in the same run. The
// difference is what the window adds: the per-message results, the rows it drops while
// the batch runs, and the rebuild of the tables the batch touched.
// Run with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>

#include <algorithm>
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
constexpr int kRuns = 3;

bool seedInbox()
{
    SimCtl_Reset();
    // Room for the whole batch on the device (its default holds 300).
    SimCtl_SetCapacity(UTPS_SMS_MEM_DEVICE, 2 * kCount);
    if (UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC) != 0)
        return false;
    for (int i = 0; i < kCount; ++i) {
        const QString number = QStringLiteral("+49151%1").arg(i, 7, 10, QLatin1Char('0'));
        const QString content = QStringLiteral("Message %1 for the batch").arg(i);
        _UTPS_ST_SMS_RECORD *r = nullptr;
        if (UTPS_SMSSrv_CreateSMSRecord(&r, reinterpret_cast<const UTPS_WCHAR *>(number.utf16()),
                                        reinterpret_cast<const UTPS_WCHAR *>(content.utf16()))
            != 0)
            return false;
        r->iPos = r->iInitialPos = EN_LOCAL_INBOX;
        const QString time = QStringLiteral("2025010108%1").arg(i % 6000, 4, 10, QLatin1Char('0'));
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
double fromWindow(const std::function<void(SMSUIMainDlg *)> &command)
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
    timer.start();
    command(w);
    loop.exec();
    const double ms = timer.nsecsElapsed() / 1e6;
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

    std::vector<double> windowDelete, workerDelete, windowMove, workerMove;
    for (int run = 0; run < kRuns; ++run) {
        windowDelete.push_back(fromWindow([](SMSUIMainDlg *w) { w->onButtonClickDelete(); }));
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
    report(out, QStringLiteral("Delete 1,000 PC inbox messages (to the trash)"), windowDelete,
           workerDelete);
    report(out, QStringLiteral("Move 1,000 messages PC inbox -> device inbox"), windowMove,
           workerMove);
    SimCtl_Reset();
    return 0;
}
