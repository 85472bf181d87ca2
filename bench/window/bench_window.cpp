// SPDX-License-Identifier: GPL-3.0-or-later
// The SMS window's tables with a large PC store, each figure beside its goal:
//  - CreateSMSMainLayout against reading the store plus filling a bare QTableWidget with
//    the same rows (sorted once), at 10,000 messages;
//  - Ctrl+A in the PC root's table at 10,000 and 50,000 messages;
//  - the window's part of one arrival (both its tables updated) with 50,000 rows shown;
//  - the SIM taken out and put back with 10,000 PC messages shown;
//  - resident memory per message with the window shown (10,000 against none, each in a
//    process of its own);
//  - start-up of the application to its screenshot with 50,000 messages, against an empty
//    store;
//  - with 50,000 messages in the PC root, interleaved with their floors: one key typed into
//    the search ('7' keeps most rows, 'z' none) against the filter's own test over the
//    texts, Esc against a bare table's fill and sort, and a sort by each column against
//    std::sort of that column's texts.
// Every figure is the median of several runs. Run with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QTableWidget>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QTreeWidgetItem>

#include <time.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "store/SMSStatusUILogic.h"
#include "window/SMSUIMainDlg.h"
#include "window/SMSUITableWidget.h"
#include "settings/SmsSettingUILogic.h"
#include "TestEnv.h"
#include "WindowFixture.h"
#include "sdk_simulator.h"
#include "utps_sdk.h"

namespace {
constexpr int kRuns = 3;

struct Row
{
    QString name;
    QString content;
    QDateTime time;
    QString isoTime;  // made before any timing starts
};

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double msSince(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

bool seed(int count)
{
    // Spread over the local folders as a real PC store is: mostly inbox and sent copies.
    const int positions[] = {1, 1, 1, 1, 0, 0, 2, 3, 4, 5};
    if (UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC) != 0)
        return false;
    for (int i = 0; i < count; ++i) {
        const QString number = QStringLiteral("+49151%1").arg(i % 997, 7, 10, QLatin1Char('0'));
        const QString content =
            QStringLiteral("Message %1: shall we meet at %2 o'clock near the station?")
                .arg(i)
                .arg(i % 24);
        _UTPS_ST_SMS_RECORD *r = nullptr;
        if (UTPS_SMSSrv_CreateSMSRecord(&r, reinterpret_cast<const UTPS_WCHAR *>(number.utf16()),
                                        reinterpret_cast<const UTPS_WCHAR *>(content.utf16()))
            != 0)
            return false;
        const int position = positions[i % 10];
        r->iPos = position;
        r->iInitialPos = position;
        r->iStatus = i % 3 == 0 ? 0 : 1;
        r->iReadStatus = i % 7 == 0 ? 1 : 0;
        const QString time = QDateTime(QDate(2025, 1, 1), QTime(8, 0))
                                 .addSecs(qint64(i) * 397)
                                 .toString(QStringLiteral("yyyyMMddhhmmss"));
        for (int k = 0; k < time.size(); ++k)
            r->szTime[k] = time.at(k).unicode();
        r->szTime[time.size()] = 0;
        int id = -1;
        const long result = UTPS_SMSSrv_SaveMsg(r, &id, nullptr);
        UTPS_SMSSrv_ReleaseSMSRecord(&r);
        if (result != 0)
            return false;
    }
    return UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC) == 0;
}

// A data folder holding count seeded messages, made once and copied for every run, so that
// each run starts from the same store without seeding again.
class SeededStore
{
public:
    explicit SeededStore(int count) : m_count(count)
    {
        qputenv("DIALCREST_HOME", m_dir.path().toUtf8());
        SimCtl_SetDemoSeed(0);
        SimCtl_Reset();
        m_ok = seed(count);
        SimCtl_Shutdown();
        qunsetenv("DIALCREST_HOME");
    }
    bool ok() const { return m_ok; }
    int count() const { return m_count; }
    // Copies the store into folder (which must exist).
    bool copyTo(const QString &folder) const
    {
        const QDir from(m_dir.path());
        for (const QString &name : from.entryList(QDir::Files)) {
            QFile::remove(folder + QLatin1Char('/') + name);
            if (!QFile::copy(from.filePath(name), folder + QLatin1Char('/') + name))
                return false;
        }
        return true;
    }

private:
    QTemporaryDir m_dir;
    int m_count;
    bool m_ok = false;
};

// A private data folder with a copy of a seeded store, the SDK pointed at it.
class RunHome
{
public:
    explicit RunHome(const SeededStore &store)
    {
        SimCtl_Shutdown();
        m_ok = store.copyTo(m_home.path());
    }
    ~RunHome() { SimCtl_Shutdown(); }
    bool ok() const { return m_ok; }

private:
    TestDataHome m_home;
    bool m_ok = false;
};

void closeWindow()
{
    if (SMSUIMainDlg::existingInstance())
        SMSStatusUILogic::Instance()->unSDKRegisterEvent();
    SimCtl_WaitIdle(5000);
    SMSUIMainDlg::Destroy();
    SMSSettingUILogic::Destroy();
}

// Runs the event loop until done() or timeoutMs; false on timeout. It sleeps between
// events rather than spinning, so it takes no processor time from the thread it waits for.
bool waitFor(const std::function<bool()> &done, int timeoutMs = 30000)
{
    QElapsedTimer timer;
    timer.start();
    QTimer wake;  // a wait for an event never outlasts a tick
    wake.start(20);
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Processor time of the calling thread: what the GUI thread itself spent, whatever else the
// machine was running meanwhile.
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// ---- CreateSMSMainLayout against its baseline --------------------------------------------

std::vector<Row> rowsOf(const SMSUITableWidget *table)
{
    std::vector<Row> rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        const QDateTime time = table->item(r, 2)->data(Qt::DisplayRole).toDateTime();
        rows.push_back({table->item(r, 0)->text(), table->item(r, 1)->text(), time,
                        time.toString(Qt::ISODate)});
    }
    return rows;
}

// A plain QTableWidget with plain items, filled with sorting off and sorted once, the way
// the window wants it: by time, newest first. The time cells hold date-times, or (timeText)
// their ISO texts, which sort the same without a time-zone lookup per comparison.
double fillBareTable(const std::vector<Row> &rows, bool timeText = false)
{
    QTableWidget table;
    table.setColumnCount(3);
    QElapsedTimer timer;
    timer.start();
    table.setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        table.setItem(r, 0, new QTableWidgetItem(rows[r].name));
        table.setItem(r, 1, new QTableWidgetItem(rows[r].content));
        auto *time = new QTableWidgetItem;
        time->setData(Qt::DisplayRole, timeText ? QVariant(rows[r].isoTime)
                                                : QVariant(rows[r].time));
        table.setItem(r, 2, time);
    }
    table.horizontalHeader()->setSortIndicator(2, Qt::DescendingOrder);
    table.setSortingEnabled(true);  // the one sort
    return msSince(timer);
}

// What the window cannot do without: the store reading every PC message from the SDK.
double readStore()
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QElapsedTimer timer;
    timer.start();
    store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC);
    const double ms = msSince(timer);
    SMSStatusUILogic::Destroy();
    return ms;
}

double pressSelectAll(SMSUITableWidget *table)
{
    table->clearSelection();
    QCoreApplication::processEvents();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("a"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::ControlModifier, QStringLiteral("a"));
    QElapsedTimer timer;
    timer.start();
    QApplication::sendEvent(table, &press);
    QApplication::sendEvent(table, &release);
    QCoreApplication::processEvents();
    const double ms = msSince(timer);
    return table->selectedRowNumbers().size() == table->rowCount() ? ms : -1;
}

struct Figures
{
    std::vector<double> layout, read, bare, selectAll, simOut, simIn, simOutCpu, simInCpu;
    int rows = 0;
};

bool measureSimChange(SMSUIMainDlg *w, Figures &f)
{
    QTreeWidgetItem *simRoot = w->treeItem(EN_SIM_ROOT);
    if (!simRoot || !waitFor([simRoot] { return !simRoot->isHidden(); }))
        return false;
    for (const bool inserted : {false, true}) {
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        const double cpu = threadCpuMs();
        SimCtl_SetSimInserted(inserted ? 1 : 0);
        if (!waitFor([simRoot, inserted] { return simRoot->isHidden() != inserted; }))
            return false;
        QCoreApplication::processEvents();
        (inserted ? f.simIn : f.simOut).push_back(msSince(timer));
        (inserted ? f.simInCpu : f.simOutCpu).push_back(threadCpuMs() - cpu);
    }
    return true;
}

bool runLayout(const SeededStore &store, Figures &f, bool withSim)
{
    RunHome home(store);
    if (!home.ok())
        return false;
    f.read.push_back(readStore());
    SMSUIMainDlg *w = SMSUIMainDlg::GetInstance();
    w->setSimStateFlag(withSim);
    QElapsedTimer timer;
    timer.start();
    w->CreateSMSMainLayout();
    f.layout.push_back(msSince(timer));
    const std::vector<Row> rows = rowsOf(w->tableAt(EN_LOCAL_ROOT));
    f.rows = int(rows.size());
    f.bare.push_back(fillBareTable(rows));

    w->resize(900, 600);
    w->show();
    QCoreApplication::processEvents();
    w->onClickSMSTreeNode(w->treeItem(EN_LOCAL_ROOT), 0);
    f.selectAll.push_back(pressSelectAll(w->currentTable()));
    bool ok = true;
    if (withSim) {
        SMSStatusUILogic::Instance()->InitStatusLogic();
        ok = measureSimChange(w, f);
    }
    closeWindow();
    return ok;
}

void line(QTextStream &out, const QString &what, const QString &figure, const QString &goal)
{
    out << QStringLiteral("  %1 %2   goal %3\n").arg(what, -52).arg(figure, 18).arg(goal);
    out.flush();
}

QString ms(double v)
{
    return v < 0 ? QStringLiteral("failed") : QStringLiteral("%1 ms").arg(v, 0, 'f', 1);
}

// ---- resident memory ---------------------------------------------------------------------

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &l : status.readAll().split('\n')) {
        if (l.startsWith("VmRSS:"))
            return l.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

// In a process of its own (so earlier runs leave nothing behind): the growth of resident
// memory from before the window reads the store to the window shown with every table.
int memoryChild(const QString &folder)
{
    qputenv("DIALCREST_HOME", folder.toUtf8());
    const qint64 before = residentBytes();
    SMSUIMainDlg *w = WindowFixture::createWindow(false);
    if (!w)
        return 1;
    w->onClickSMSTreeNode(w->treeItem(EN_LOCAL_ROOT), 0);
    QCoreApplication::processEvents();
    const qint64 after = residentBytes();
    QTextStream(stdout) << (after - before) << '\n';
    closeWindow();
    return 0;
}

// The median over runs of measure(folder), each run on its own copy of the store; -1 when
// a run fails (measure returns a negative figure).
double medianOverCopies(const SeededStore &store,
                        const std::function<double(const QString &folder)> &measure)
{
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir folder;
        const double figure = store.copyTo(folder.path()) ? measure(folder.path()) : -1;
        if (figure < 0)
            return -1;
        runs.push_back(figure);
    }
    return median(runs);
}

double windowGrowth(const QString &self, const SeededStore &store)
{
    return medianOverCopies(store, [&self](const QString &folder) {
        QProcess child;
        child.start(self, {QStringLiteral("--memory-child"), folder});
        if (!child.waitForFinished(300000) || child.exitCode() != 0)
            return -1.0;
        return child.readAllStandardOutput().trimmed().toDouble();
    });
}

// ---- start-up ----------------------------------------------------------------------------

double startUp(const QString &app, const SeededStore &store)
{
    return medianOverCopies(store, [&app](const QString &folder) {
        const QString shot = folder + QStringLiteral("/shot.png");
        QProcess child;
        QElapsedTimer timer;
        timer.start();
        child.start(app, {QStringLiteral("--screenshot"), shot, QStringLiteral("--screenshot-delay"),
                          QStringLiteral("0"), QStringLiteral("--no-demo"), QStringLiteral("-d"),
                          folder});
        if (!child.waitForFinished(300000) || child.exitCode() != 0 || !QFile::exists(shot))
            return -1.0;
        return msSince(timer);
    });
}

void reportTenThousand(QTextStream &out, const SeededStore &store)
{
    Figures f;
    for (int run = 0; run < kRuns; ++run) {
        if (!runLayout(store, f, /* withSim */ true)) {
            out << "a 10,000-message run failed\n";
            return;
        }
    }
    const double base = median(f.read) + median(f.bare);
    out << QStringLiteral("%1 PC messages (%2 rows in the PC root), median of %3 runs:\n")
               .arg(store.count()).arg(f.rows).arg(kRuns);
    line(out, QStringLiteral("baseline: SDK read by the store"), ms(median(f.read)), QString());
    line(out, QStringLiteral("baseline: bare QTableWidget fill, sorted once"), ms(median(f.bare)),
         QString());
    line(out, QStringLiteral("CreateSMSMainLayout"), ms(median(f.layout)), QString());
    line(out, QStringLiteral("CreateSMSMainLayout / (SDK read + bare fill)"),
         QStringLiteral("x%1").arg(median(f.layout) / base, 0, 'f', 2), QStringLiteral("<= x1.5"));
    line(out, QStringLiteral("Ctrl+A in the PC root"), ms(median(f.selectAll)),
         QStringLiteral("< 50 ms"));
    line(out, QStringLiteral("SIM removed, GUI thread processor time"), ms(median(f.simOutCpu)),
         QString());
    line(out, QStringLiteral("SIM inserted, GUI thread processor time"), ms(median(f.simInCpu)),
         QString());
    line(out, QStringLiteral("SIM removed"), ms(median(f.simOut)), QStringLiteral("< 100 ms"));
    line(out, QStringLiteral("SIM inserted"), ms(median(f.simIn)), QStringLiteral("< 100 ms"));
}

void reportMemory(QTextStream &out, const QString &self, const SeededStore &empty,
                  const SeededStore &ten)
{
    const double none = windowGrowth(self, empty);
    const double some = windowGrowth(self, ten);
    out << QStringLiteral("Resident memory with the window shown, median of %1 processes:\n")
               .arg(kRuns);
    line(out, QStringLiteral("baseline: growth with an empty store"),
         QStringLiteral("%1 KiB").arg(none / 1024, 0, 'f', 0), QString());
    line(out, QStringLiteral("growth with 10,000 messages"),
         QStringLiteral("%1 KiB").arg(some / 1024, 0, 'f', 0), QString());
    line(out, QStringLiteral("per message (difference / 10,000)"),
         none < 0 || some < 0 ? QStringLiteral("failed")
                              : QStringLiteral("%1 KiB").arg((some - none) / 1024 / 10000, 0, 'f', 2),
         QStringLiteral("<= 2 KiB"));
}

// What the window does for one arriving message once the store has filed it: its row put
// in the inbox and the PC root (on show), the folder counts and the preview brought up to
// date. The record is a copy of a stored one with a new id and the newest time.
std::vector<double> arrivalsInto(SMSUIMainDlg *w)
{
    std::vector<double> runs;
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    const QHash<int, SmsRecord *> inbox = store->GetSMSRecordsSet(EN_LOCAL_INBOX);
    if (inbox.isEmpty())
        return runs;
    w->currentTable()->clearSelection();  // as most arrivals find it, not after a Ctrl+A
    for (int i = 0; i < 5; ++i) {
        auto *record = new SmsRecord(*inbox.begin().value());
        record->iMsgId = 1000000 + i;
        record->strTime = QStringLiteral("2030010112%1").arg(i, 4, 10, QLatin1Char('0'));
        store->InsertSingleSMS(EN_LOCAL_INBOX, record->iMsgId, record);
        QElapsedTimer timer;
        timer.start();
        w->addRecToSMSTable(EN_LOCAL_INBOX, record);
        w->addRecToSMSTable(EN_LOCAL_ROOT, record);
        w->updateCount();
        QCoreApplication::processEvents();
        const double ms = msSince(timer);
        if (w->currentTable()->recordAt(0) != record)
            return {};  // not where the newest message belongs: reported as failed
        runs.push_back(ms);
    }
    return runs;
}

// The window over a copy of the store, showing the PC root; null (and said) when it did not
// open.
SMSUIMainDlg *openOnPcRoot(QTextStream &out, const RunHome &home)
{
    SMSUIMainDlg *w = home.ok() ? WindowFixture::createWindow(false) : nullptr;
    if (!w) {
        out << "the 50,000-message window did not open\n";
        return nullptr;
    }
    w->onClickSMSTreeNode(w->treeItem(EN_LOCAL_ROOT), 0);
    return w;
}

// ---- search, Esc and sorting at 50,000 ----------------------------------------------------

// The texts of the PC root's rows, as the search and the sort read them.
struct Texts
{
    std::vector<QString> names, contents, times;  // times in their ISO form
};

Texts textsOf(const SMSUITableWidget *table)
{
    Texts t;
    for (int r = 0; r < table->rowCount(); ++r) {
        t.names.push_back(table->item(r, 0)->text());
        t.contents.push_back(table->item(r, 1)->text());
        t.times.push_back(table->item(r, 2)->data(Qt::DisplayRole).toDateTime().toString(
            Qt::ISODate));
    }
    return t;
}

// The search's floor: only the filter's own test, a case-insensitive contains over each
// row's texts; returns the rows kept through kept.
double bareFilter(const Texts &t, const QString &key, int *kept)
{
    QElapsedTimer timer;
    timer.start();
    int n = 0;
    for (size_t r = 0; r < t.names.size(); ++r) {
        if (t.names[r].contains(key, Qt::CaseInsensitive)
            || t.contents[r].contains(key, Qt::CaseInsensitive)
            || t.times[r].contains(key, Qt::CaseInsensitive))
            ++n;
    }
    *kept = n;
    return msSince(timer);
}

// The sort's floor: std::sort of the column's texts, case-insensitively.
double bareSort(std::vector<QString> texts)
{
    QElapsedTimer timer;
    timer.start();
    std::sort(texts.begin(), texts.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return msSince(timer);
}

// A user action on the window: the call itself and the events it leaves, painted.
double timed(const std::function<void()> &action)
{
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    action();
    QCoreApplication::processEvents();
    return msSince(timer);
}

struct Pair
{
    std::vector<double> figure, floor;
};

void printPair(QTextStream &out, const QString &what, const Pair &p, double goalRatio,
               const QString &goal)
{
    const double f = median(p.figure);
    const double b = median(p.floor);
    out << QStringLiteral("  %1 %2  floor %3  x%4   goal %5\n")
               .arg(what, -40)
               .arg(ms(f), 10)
               .arg(ms(b), 10)
               .arg(f / b, 5, 'f', 2)
               .arg(goalRatio > 0 ? QStringLiteral("<= x%1 (%2)").arg(goalRatio).arg(goal) : goal);
    out.flush();
}

void reportSearchAndSort(QTextStream &out, const SeededStore &store)
{
    RunHome home(store);
    SMSUIMainDlg *w = openOnPcRoot(out, home);
    if (!w)
        return;
    SMSUITableWidget *table = w->currentTable();
    const Texts texts = textsOf(table);
    std::vector<Row> rows = rowsOf(table);
    const int all = table->rowCount();
    Pair seven, zed, esc, sorts[3];
    int keptSeven = 0, keptZed = 0, shownSeven = -1, shownZed = -1;
    bool restored = true;
    constexpr int kOpsRuns = 5;
    for (int run = 0; run < kOpsRuns; ++run) {
        // Each figure beside its floor, measured in turn.
        seven.floor.push_back(bareFilter(texts, QStringLiteral("7"), &keptSeven));
        seven.figure.push_back(timed([w] { w->onTextEdited(QStringLiteral("7")); }));
        shownSeven = table->rowCount();
        esc.floor.push_back(fillBareTable(rows, /* timeText */ true));
        esc.figure.push_back(timed([w] { w->hideSearchBox(); }));
        restored = restored && table->rowCount() == all;
        zed.floor.push_back(bareFilter(texts, QStringLiteral("z"), &keptZed));
        zed.figure.push_back(timed([w] { w->onTextEdited(QStringLiteral("z")); }));
        shownZed = table->rowCount();
        w->hideSearchBox();
        const std::vector<QString> *columns[3] = {&texts.names, &texts.contents, &texts.times};
        for (int c = 0; c < 3; ++c) {
            sorts[c].floor.push_back(bareSort(*columns[c]));
            // The header clicked: the first click on another column sorts it ascending.
            sorts[c].figure.push_back(timed([table, c] {
                table->sortByColumn(c, Qt::AscendingOrder);
            }));
        }
        table->sortByColumn(2, Qt::DescendingOrder);
    }
    closeWindow();
    out << QStringLiteral("%1 PC messages (%2 rows in the PC root), median of %3 interleaved "
                          "runs:\n").arg(store.count()).arg(all).arg(kOpsRuns);
    if (shownSeven != keptSeven || shownZed != keptZed || !restored)
        out << QStringLiteral("  the search kept %1 and %2 rows, the floor %3 and %4%5: FAILED\n")
                   .arg(shownSeven).arg(shownZed).arg(keptSeven).arg(keptZed)
                   .arg(restored ? QString() : QStringLiteral(", Esc lost rows"));
    printPair(out, QStringLiteral("search key '7' (%1 rows kept)").arg(keptSeven), seven, 0,
              QStringLiteral("<= 50 ms"));
    printPair(out, QStringLiteral("search key 'z' (%1 rows kept)").arg(keptZed), zed, 0,
              QStringLiteral("<= 50 ms"));
    printPair(out, QStringLiteral("Esc, search cleared (floor: bare fill)"), esc, 0,
              QStringLiteral("<= 100 ms"));
    const char *names[3] = {"number/name", "message", "time"};
    for (int c = 0; c < 3; ++c)
        printPair(out, QStringLiteral("sort by the %1 column").arg(QLatin1String(names[c])),
                  sorts[c], 2, QStringLiteral("std::sort"));
}

void reportFiftyThousand(QTextStream &out, const SeededStore &store)
{
    RunHome home(store);
    SMSUIMainDlg *w = openOnPcRoot(out, home);
    if (!w)
        return;
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run)
        runs.push_back(pressSelectAll(w->currentTable()));
    const int rows = w->currentTable()->rowCount();
    const std::vector<double> arrivals = arrivalsInto(w);
    closeWindow();
    out << QStringLiteral("%1 PC messages (%2 rows in the PC root), median of %3 runs:\n")
               .arg(store.count()).arg(rows).arg(kRuns);
    line(out, QStringLiteral("Ctrl+A in the PC root"), ms(median(runs)), QStringLiteral("< 250 ms"));
    line(out, QStringLiteral("one arrival, tables updated (median of 5)"), ms(median(arrivals)),
         QStringLiteral("< 20 ms"));
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "*.warning=false");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--memory-child"))
        return memoryChild(args.at(2));
    // "--only <part>" runs one part: layout (10,000), memory, 50k, search (with Esc and
    // sorting, at 50,000) or startup.
    const int only = args.indexOf(QStringLiteral("--only"));
    const QString part = only > 0 ? args.value(only + 1) : QString();
    const auto runs = [&part](const char *name) { return part.isEmpty() || part == QLatin1String(name); };
    QTextStream out(stdout);
    const QString self = QCoreApplication::applicationFilePath();
    const QString dialcrest = QCoreApplication::applicationDirPath() + QStringLiteral("/dialcrest");

    const SeededStore empty(0);
    const SeededStore ten(10000);
    if (!empty.ok() || !ten.ok()) {
        out << "seeding failed\n";
        return 1;
    }
    if (runs("layout"))
        reportTenThousand(out, ten);
    if (runs("memory"))
        reportMemory(out, self, empty, ten);
    if (!runs("50k") && !runs("startup") && !runs("search"))
        return 0;
    const SeededStore fifty(50000);
    if (!fifty.ok()) {
        out << "seeding 50,000 failed\n";
        return 1;
    }
    if (runs("50k"))
        reportFiftyThousand(out, fifty);
    if (runs("search"))
        reportSearchAndSort(out, fifty);
    if (runs("startup")) {
        out << QStringLiteral("Start-up of dialcrest --screenshot (no delay), median of %1 runs:\n")
                   .arg(kRuns);
        line(out, QStringLiteral("baseline: empty store"), ms(startUp(dialcrest, empty)), QString());
        line(out, QStringLiteral("50,000 messages"), ms(startUp(dialcrest, fifty)),
             QStringLiteral("<= 2000 ms"));
    }
    SimCtl_Shutdown();
    return 0;
}
