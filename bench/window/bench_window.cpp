// Times the SMS window's layout and the rebuild of the local root's table for 1,000 and
// 10,000 stored messages, beside filling a bare QTableWidget with the same rows in the
// same run. Run with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTableWidget>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "store/SMSStatusUILogic.h"
#include "window/SMSUIMainDlg.h"
#include "window/SMSUITableWidget.h"
#include "settings/SmsSettingUILogic.h"
#include "TestEnv.h"
#include "sdk_simulator.h"
#include "utps_sdk.h"

namespace {
constexpr int kRuns = 3;

struct Row
{
    QString name;
    QString content;
    QDateTime time;
};

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

// The same rows the window shows, taken from its root table.
std::vector<Row> rowsOf(const SMSUITableWidget *table)
{
    std::vector<Row> rows;
    for (int r = 0; r < table->rowCount(); ++r)
        rows.push_back({table->item(r, 0)->text(), table->item(r, 1)->text(),
                        table->item(r, 2)->data(Qt::DisplayRole).toDateTime()});
    return rows;
}

// Baseline: a plain QTableWidget with plain items, filled with sorting off, sorted once.
double fillBareTable(const std::vector<Row> &rows)
{
    QTableWidget table;
    table.setColumnCount(3);
    QElapsedTimer timer;
    timer.start();
    table.setSortingEnabled(false);
    table.setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        table.setItem(r, 0, new QTableWidgetItem(rows[r].name));
        table.setItem(r, 1, new QTableWidgetItem(rows[r].content));
        auto *time = new QTableWidgetItem;
        time->setData(Qt::DisplayRole, rows[r].time);
        table.setItem(r, 2, time);
    }
    table.setSortingEnabled(true);
    table.sortItems(2, Qt::DescendingOrder);
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void runSize(int count, QTextStream &out)
{
    std::vector<double> layout, sync, bare;
    int rowsShown = 0;
    for (int run = 0; run < kRuns; ++run) {
        TestDataHome home;
        SimCtl_SetDemoSeed(0);
        SimCtl_Reset();
        if (!seed(count)) {
            out << "seeding " << count << " messages failed\n";
            return;
        }
        SMSUIMainDlg *w = SMSUIMainDlg::GetInstance();
        QElapsedTimer timer;
        timer.start();
        w->CreateSMSMainLayout();
        layout.push_back(timer.nsecsElapsed() / 1e6);

        timer.restart();
        w->syncSMSTableWithBuffers(EN_LOCAL_ROOT);
        sync.push_back(timer.nsecsElapsed() / 1e6);

        const std::vector<Row> rows = rowsOf(w->tableAt(EN_LOCAL_ROOT));
        rowsShown = int(rows.size());
        bare.push_back(fillBareTable(rows));
        SMSUIMainDlg::Destroy();
        SMSSettingUILogic::Destroy();
        SimCtl_Reset();
    }
    const double b = median(bare);
    out << QStringLiteral("%1 messages (%2 rows in the local root), median of %3 runs:\n")
               .arg(count)
               .arg(rowsShown)
               .arg(kRuns);
    out << QStringLiteral("  bare QTableWidget fill + sort          %1 ms\n").arg(b, 9, 'f', 1);
    out << QStringLiteral("  syncSMSTableWithBuffers(local root)    %1 ms  (x%2)\n")
               .arg(median(sync), 9, 'f', 1)
               .arg(median(sync) / b, 0, 'f', 1);
    out << QStringLiteral("  CreateSMSMainLayout (reads the store)  %1 ms  (x%2)\n")
               .arg(median(layout), 9, 'f', 1)
               .arg(median(layout) / b, 0, 'f', 1);
    out.flush();
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "*.warning=false");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    for (int count : {1000, 10000})
        runSize(count, out);
    return 0;
}
