// SPDX-License-Identifier: GPL-3.0-or-later
// How long the GUI thread stops answering while 500 messages arrive back to back into a
// window that shows the PC inbox of a 10,000-message store (about 6,000 inbox rows, 10,000
// in the PC root), with the pop-up, the usage file, the status bar and the alert sound on.
// A 1 ms probe timer on the GUI thread measures the longest gap between its ticks; the
// same probe over the same time with nothing arriving is the baseline. Also printed: what
// one arrival would cost if it re-sorted a bare 10,000-row QTableWidget instead of inserting
// its row in place. Run with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTableWidget>
#include <QTextStream>

#include <time.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "ArrivalHost.h"

using namespace arrival;

namespace {
constexpr int kStored = 10000;
constexpr int kBurst = 500;

bool seed(int count)
{
    const int positions[] = {1, 1, 1, 1, 1, 1, 0, 2, 3, 5};
    if (UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC) != 0)
        return false;
    for (int i = 0; i < count; ++i) {
        const QString time = QDateTime(QDate(2025, 1, 1), QTime(8, 0))
                                 .addSecs(qint64(i) * 397)
                                 .toString(QStringLiteral("yyyyMMddhhmmss"));
        if (WindowFixture::save(positions[i % 10], QStringLiteral("+49151%1").arg(i % 997),
                                QStringLiteral("Message %1: see you at the station?").arg(i), time,
                                i % 7 == 0 ? 1 : 0)
            < 0)
            return false;
    }
    return UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC) == 0;
}

// Ticks every millisecond on the GUI thread and keeps the gaps between ticks.
class StallProbe
{
public:
    StallProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_gaps.push_back((now - m_last) / 1e6);
            m_last = now;
        });
    }
    void start()
    {
        m_gaps.clear();
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    void stop() { m_timer.stop(); }
    double longest() const { return m_gaps.empty() ? 0 : *std::max_element(m_gaps.begin(), m_gaps.end()); }
    double percentile(double p) const
    {
        if (m_gaps.empty())
            return 0;
        std::vector<double> sorted = m_gaps;
        std::sort(sorted.begin(), sorted.end());
        return sorted[std::min(sorted.size() - 1, size_t(p * sorted.size()))];
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    std::vector<double> m_gaps;
};

// CPU time of the calling thread: on a loaded machine wall-clock gaps include time the
// thread was not even scheduled.
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Runs the event loop (sleeping while there is nothing to do) for ms, or until done().
void runLoop(int ms, const std::function<bool()> &done = {})
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done && done())
            loop.quit();
    });
    check.start(20);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A plain cell showing what a window cell shows (a window cell may keep its text in a form
// of its own, so copying its stored roles is not enough).
QTableWidgetItem *bareCopy(const QTableWidgetItem *cell)
{
    auto *copy = new QTableWidgetItem;
    if (cell)
        copy->setData(Qt::DisplayRole, cell->data(Qt::DisplayRole));
    return copy;
}

// One arrival the expensive way: a row added to a bare 10,000-row table, then sorted again.
double resortPerArrival(SMSUITableWidget *source)
{
    QTableWidget table;
    table.setColumnCount(3);
    table.setRowCount(source->rowCount());
    for (int r = 0; r < source->rowCount(); ++r) {
        for (int c = 0; c < 3; ++c)
            table.setItem(r, c, bareCopy(source->item(r, c)));
    }
    table.setSortingEnabled(true);
    table.sortItems(2, Qt::DescendingOrder);
    std::vector<double> runs;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        table.setSortingEnabled(false);
        const int row = table.rowCount();
        table.insertRow(row);
        for (int c = 0; c < 3; ++c)
            table.setItem(row, c, bareCopy(source->item(i, c)));
        table.setSortingEnabled(true);
        table.sortItems(2, Qt::DescendingOrder);
        runs.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "*.warning=false");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    TestDataHome home;
    SimCtl_SetDemoSeed(0);
    SimCtl_Reset();
    if (!seed(kStored)) {
        out << "seeding failed\n";
        return 1;
    }
    alertsOn(/* visual */ true, /* sound */ true);
    auto host = std::make_unique<ArrivalHost>();
    SMSUIMainDlg *w = openWindow();
    if (!w) {
        out << "window not laid out\n";
        return 1;
    }
    SMSUITableWidget *inbox = w->tableAt(EN_LOCAL_INBOX);
    SMSUITableWidget *root = w->tableAt(EN_LOCAL_ROOT);
    const int inboxBefore = inbox->rowCount();
    const int rootBefore = root->rowCount();
    runLoop(300);

    StallProbe probe;
    QElapsedTimer burst;
    probe.start();
    burst.start();
    const double cpuBefore = threadCpuMs();
    std::atomic<int> injected{0};
    std::atomic<qint64> injectNs{0};
    std::thread modem([&injected, &injectNs] {
        QElapsedTimer modemClock;
        modemClock.start();
        for (int i = 0; i < kBurst; ++i) {
            const QByteArray sender = "+4917000" + QByteArray::number(i);
            if (SimCtl_InjectMessage(UTPS_SMS_MEM_PC, sender.constData(), "burst", nullptr, 1,
                                     nullptr)
                == 0)
                ++injected;
        }
        injectNs = modemClock.nsecsElapsed();
    });
    const QString lastSender = QStringLiteral("+4917000%1").arg(kBurst - 1);
    runLoop(300000, [&] {
        return inbox->rowCount() >= inboxBefore + kBurst && SMSTaskbarNotifier::existingInstance()
            && SMSTaskbarNotifier::existingInstance()->shownText() == lastSender;
    });
    const double burstMs = burst.nsecsElapsed() / 1e6;
    const double burstCpu = threadCpuMs() - cpuBefore;
    probe.stop();
    modem.join();
    const double busyLongest = probe.longest();
    const double busyP99 = probe.percentile(0.99);
    const int popupsShown = int(visiblePopups().size());

    probe.start();
    const double idleCpuBefore = threadCpuMs();
    runLoop(int(burstMs));
    const double idleCpu = threadCpuMs() - idleCpuBefore;
    probe.stop();
    const double idleLongest = probe.longest();

    const double resort = resortPerArrival(root);
    out << QStringLiteral("%1 arrivals (%2 injected) into a window showing the PC inbox of %3 "
                          "stored messages (%4 inbox rows, %5 in the PC root)\n")
               .arg(kBurst).arg(injected.load()).arg(kStored).arg(inboxBefore).arg(rootBefore);
    out << QStringLiteral("  rows afterwards: inbox %1, PC root %2, pop-ups shown %3\n")
               .arg(inbox->rowCount())
               .arg(root->rowCount())
               .arg(popupsShown);
    out << QStringLiteral("  the simulator stored and sent them in    %1 ms\n")
               .arg(injectNs.load() / 1e6, 9, 'f', 1);
    out << QStringLiteral("  all taken in and announced after         %1 ms\n").arg(burstMs, 9, 'f', 1);
    out << QStringLiteral("  longest GUI stall during the burst       %1 ms  (99th percentile gap %2 ms)\n")
               .arg(busyLongest, 9, 'f', 1)
               .arg(busyP99, 0, 'f', 1);
    out << QStringLiteral("  baseline: longest gap, same probe, idle  %1 ms\n").arg(idleLongest, 9, 'f', 1);
    out << QStringLiteral("  GUI thread CPU during the burst          %1 ms  (%2 ms per arrival; "
                          "idle probe over the same time %3 ms)\n")
               .arg(burstCpu, 9, 'f', 1)
               .arg((burstCpu - idleCpu) / kBurst, 0, 'f', 2)
               .arg(idleCpu, 0, 'f', 1);
    out << QStringLiteral("  for scale: one arrival re-sorting a bare %1-row QTableWidget  %2 ms\n")
               .arg(root->rowCount())
               .arg(resort, 0, 'f', 1);
    out.flush();
    closeWindow();
    host.reset();
    SMSSettingUILogic::Destroy();
    SimCtl_Reset();
    return 0;
}
