// SPDX-License-Identifier: GPL-3.0-or-later
// Pieces of the SMS window that need no simulator: cell ordering, SDK time text, the
// message HTML of the preview.
#include <QHeaderView>
#include <QPainter>
#include <QStandardItemModel>
#include <QTextDocument>
#include <QSignalSpy>
#include <QtTest>

#include "CommonUtils.h"
#include "window/SMSUIMainDlg.h"
#include "window/SMSUITableWidget.h"
#include "store/SmsTimeText.h"
#include "TestEnv.h"

#include <memory>

namespace {
// One cell painted by delegate into an image, as a table would paint it.
QImage paintCell(QAbstractItemDelegate &delegate, const QString &text, int column,
                 Qt::LayoutDirection direction, Qt::Alignment alignment)
{
    QStandardItemModel model(1, 3);
    model.setData(model.index(0, column), text);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 220, 24);
    option.direction = direction;
    option.displayAlignment = alignment | Qt::AlignVCenter;
    option.state = QStyle::State_Enabled;
    option.font = QFont();
    option.fontMetrics = QFontMetrics(option.font);
    QImage image(option.rect.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    delegate.paint(&painter, option, model.index(0, column));
    return image;
}
} // namespace

class tst_WindowParts : public QObject
{
    Q_OBJECT

private slots:
    void ordering_data();
    void ordering();
    void removingRows_data();
    void removingRows();
    void sortingATable();
    void timeCellsOrderAndShowTheirTime();
    void cellsKeepTextAndIconUntilInATable();
    void sdkTimeText_data();
    void sdkTimeText();
    void selectedRowsFromRanges();
    void parseTimeOfSdk_data();
    void parseTimeOfSdk();
    void messageHtml_data();
    void messageHtml();
    void cellsReadInTheirOwnDirectionInRightToLeftTables_data();
    void cellsReadInTheirOwnDirectionInRightToLeftTables();

private:
    TestDataHome m_home;
};

void tst_WindowParts::ordering_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("aFirst");
    QTest::newRow("case ignored first") << "apple" << "Banana" << true;
    QTest::newRow("case ignored first, reversed") << "Banana" << "apple" << false;
    QTest::newRow("upper before lower on a tie") << "Alice" << "alice" << true;
    QTest::newRow("lower after upper on a tie") << "alice" << "Alice" << false;
    QTest::newRow("equal is not less") << "same" << "same" << false;
    QTest::newRow("prefix first") << "ab" << "abc" << true;
    QTest::newRow("numbers as text") << "+1555" << "+2" << true;
    // A cell settles most comparisons by its key's first 16 bytes; the rest still counts.
    QTest::newRow("equal first 16 bytes, then case ignored")
        << "0123456789abcdef-a" << "0123456789ABCDEF-b" << true;
    QTest::newRow("equal first 16 bytes, prefix first")
        << "0123456789abcdef" << "0123456789abcdef0" << true;
    QTest::newRow("ISO times in time order") << "2025-12-31T23:59:59.000"
                                             << "2026-01-01T00:00:00.000" << true;
}

void tst_WindowParts::ordering()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, aFirst);
    QCOMPARE(UITableItem::lessThan(a, b), aFirst);
    UITableItem first(a);
    UITableItem second(b);
    QCOMPARE(first < second, aFirst);
    // A cell keeps what it compares by from its first comparison: a new text must replace it.
    first.setText(b);
    second.setText(a);
    QCOMPARE(first < second, UITableItem::lessThan(b, a));
}

void tst_WindowParts::removingRows_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("dropped");  // one letter per row: x goes
    QTest::addColumn<bool>("ownCells");
    QTest::newRow("one run") << 6 << "..xxx." << true;
    QTest::newRow("none") << 4 << "...." << true;
    QTest::newRow("all") << 5 << "xxxxx" << true;
    QTest::newRow("many runs") << 30 << "x.x..xx.x.x.x..x.xx.x.x...x.xx" << true;
    QTest::newRow("many runs, other cells") << 30 << "x.x..xx.x.x.x..x.xx.x.x...x.xx"
                                            << false;
}

void tst_WindowParts::removingRows()
{
    QFETCH(int, rows);
    QFETCH(QString, dropped);
    QFETCH(bool, ownCells);
    SMSUITableWidget table;
    table.setColumnCount(2);
    table.setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        // Texts out of their row order, so that a sort by them would show.
        const QString name = QStringLiteral("n%1").arg((r * 7) % rows, 2, 10, QLatin1Char('0'));
        table.setItem(r, 0, ownCells ? new UITableItem(name) : new QTableWidgetItem(name));
        table.setItem(r, 1, new UITableItem(QStringLiteral("row %1").arg(r)));
    }
    table.horizontalHeader()->setSortIndicator(1, Qt::DescendingOrder);
    std::vector<bool> drop;
    QStringList expected;
    for (int r = 0; r < rows; ++r) {
        drop.push_back(dropped.at(r) == QLatin1Char('x'));
        if (!drop.back())
            expected << QStringLiteral("row %1").arg(r);
    }
    table.removeRowsWhere(drop);
    QStringList left;
    for (int r = 0; r < table.rowCount(); ++r) {
        left << table.item(r, 1)->text();
        QCOMPARE(table.item(r, 0)->text().mid(1).toInt(),
                 (table.item(r, 1)->text().mid(4).toInt() * 7) % rows);
    }
    QCOMPARE(left, expected);
    QCOMPARE(table.horizontalHeader()->sortIndicatorSection(), 1);
    QCOMPARE(table.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    // The cells that went are freed when the window is idle, never while still shown.
    QTRY_VERIFY(table.findChildren<QTimer *>().isEmpty()
                || !table.findChildren<QTimer *>().first()->isActive());
}

void tst_WindowParts::sortingATable()
{
    SMSUITableWidget table;
    table.setColumnCount(2);
    const QStringList names{"bob", "Alice", "alice", "Bob", "carol"};
    const QList<QDateTime> times{QDateTime(QDate(2026, 1, 2), QTime(9, 0)),
                                 QDateTime(QDate(2025, 12, 31), QTime(23, 0)),
                                 QDateTime(QDate(2026, 1, 10), QTime(8, 0)),
                                 QDateTime(QDate(2026, 1, 1), QTime(0, 0)),
                                 QDateTime(QDate(2024, 5, 5), QTime(5, 5))};
    table.setRowCount(names.size());
    for (int r = 0; r < names.size(); ++r) {
        table.setItem(r, 0, new UITableItem(names.at(r)));
        auto *t = new UITableItem;
        t->setData(Qt::DisplayRole, times.at(r));
        table.setItem(r, 1, t);
    }
    table.sortItems(0, Qt::AscendingOrder);
    QStringList sorted;
    for (int r = 0; r < table.rowCount(); ++r)
        sorted << table.item(r, 0)->text();
    QCOMPARE(sorted, (QStringList{"Alice", "alice", "Bob", "bob", "carol"}));

    table.sortItems(1, Qt::DescendingOrder);
    sorted.clear();
    for (int r = 0; r < table.rowCount(); ++r)
        sorted << table.item(r, 0)->text();
    QCOMPARE(sorted, (QStringList{"alice", "bob", "Bob", "Alice", "carol"}));
}

void tst_WindowParts::timeCellsOrderAndShowTheirTime()
{
    // Cells made from SDK text sort among themselves and among cells holding a date-time
    // as the date-times would; a text that is no time shows and sorts as an invalid one.
    SMSUITableWidget table;
    table.setColumnCount(1);
    const QStringList texts{"20260102090000", "garbage", "20251231230000", "20260110080000"};
    table.setRowCount(texts.size() + 1);
    for (int r = 0; r < texts.size(); ++r)
        table.setItem(r, 0, new UITimeItem(texts.at(r)));
    table.setItem(texts.size(), 0, new UITimeItem(QDateTime(QDate(2026, 1, 5), QTime(12, 0))));
    QCOMPARE(table.item(0, 0)->data(Qt::DisplayRole).toDateTime(),
             QDateTime(QDate(2026, 1, 2), QTime(9, 0)));
    QVERIFY(!table.item(1, 0)->data(Qt::DisplayRole).toDateTime().isValid());
    QCOMPARE(table.item(1, 0)->data(Qt::DisplayRole).typeId(), QMetaType::QDateTime);

    table.sortItems(0, Qt::DescendingOrder);
    QList<QDateTime> order;
    for (int r = 0; r < table.rowCount(); ++r)
        order << table.item(r, 0)->data(Qt::DisplayRole).toDateTime();
    QCOMPARE(order, (QList<QDateTime>{QDateTime(QDate(2026, 1, 10), QTime(8, 0)),
                                      QDateTime(QDate(2026, 1, 5), QTime(12, 0)),
                                      QDateTime(QDate(2026, 1, 2), QTime(9, 0)),
                                      QDateTime(QDate(2025, 12, 31), QTime(23, 0)),
                                      QDateTime()}));

    // A time set later replaces the one the cell was made with, and moves its row.
    table.setSortingEnabled(true);
    table.item(3, 0)->setData(Qt::DisplayRole, QDateTime(QDate(2027, 1, 1), QTime(0, 0)));
    QCOMPARE(table.item(0, 0)->data(Qt::DisplayRole).toDateTime(),
             QDateTime(QDate(2027, 1, 1), QTime(0, 0)));
    QCOMPARE(static_cast<UITimeItem *>(table.item(0, 0))->sdkTime(), QString());
    std::unique_ptr<QTableWidgetItem> copy(table.item(1, 0)->clone());
    QCOMPARE(copy->data(Qt::DisplayRole), table.item(1, 0)->data(Qt::DisplayRole));
}

void tst_WindowParts::cellsKeepTextAndIconUntilInATable()
{
    // A cell reads the same wherever its text and icon are kept, and a table hears of a
    // change made once the cell is in it.
    QPixmap red(4, 4);
    red.fill(Qt::red);
    const QIcon icon(red);
    auto *name = new UINameItem(nullptr);
    name->setText(QStringLiteral("Alice"));
    name->setIcon(icon);
    auto *text = new UITableItem(QStringLiteral("hello"));
    QCOMPARE(name->text(), QStringLiteral("Alice"));
    QCOMPARE(name->icon().cacheKey(), icon.cacheKey());
    QCOMPARE(text->data(Qt::EditRole).toString(), QStringLiteral("hello"));
    std::unique_ptr<QTableWidgetItem> copy(name->clone());
    QCOMPARE(copy->text(), QStringLiteral("Alice"));
    QCOMPARE(copy->icon().cacheKey(), icon.cacheKey());

    SMSUITableWidget table;
    table.setColumnCount(2);
    table.setRowCount(1);
    table.setItem(0, 0, name);
    table.setItem(0, 1, text);
    QCOMPARE(table.model()->data(table.model()->index(0, 1)).toString(), QStringLiteral("hello"));
    QSignalSpy changed(table.model(), &QAbstractItemModel::dataChanged);
    text->setText(QStringLiteral("bye"));
    name->setIcon(QIcon());
    name->setData(Qt::EditRole, QStringLiteral("Bob"));
    QCOMPARE(changed.size(), 3);
    QCOMPARE(table.item(0, 1)->text(), QStringLiteral("bye"));
    QCOMPARE(table.item(0, 0)->text(), QStringLiteral("Bob"));
    QVERIFY(table.item(0, 0)->icon().isNull());
    QCOMPARE(table.findItems(QStringLiteral("bye"), Qt::MatchExactly).size(), 1);
}

void tst_WindowParts::sdkTimeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");
    QTest::newRow("ordinary") << "20260315083005" << QDateTime(QDate(2026, 3, 15), QTime(8, 30, 5));
    QTest::newRow("leap day") << "20240229235959" << QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59));
    QTest::newRow("no leap day") << "20250229120000" << QDateTime();
    QTest::newRow("hour 24") << "20250101240000" << QDateTime();
    QTest::newRow("year zero") << "00000101120000" << QDateTime();
    QTest::newRow("all zeros") << "00000000000000" << QDateTime();
    QTest::newRow("letter") << "2025010112000x" << QDateTime();
    QTest::newRow("sign") << "+2025010112000" << QDateTime();
    QTest::newRow("one digit long") << "202501011200001" << QDateTime();
    QTest::newRow("empty") << "" << QDateTime();
}

void tst_WindowParts::sdkTimeText()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    // The same answers as the slow parser the fast one stands in for.
    const QDateTime slow = QDateTime::fromString(text, QStringLiteral("yyyyMMddhhmmss"));
    QCOMPARE(SmsTimeFromText(text), expected);
    QCOMPARE(SmsTimeFromText(text).isValid(), slow.isValid());
    if (slow.isValid())
        QCOMPARE(SmsTimeFromText(text), slow);
    QCOMPARE(SmsTimeParts(text, nullptr, nullptr), expected.isValid());
}

void tst_WindowParts::selectedRowsFromRanges()
{
    SMSUITableWidget table;
    table.setColumnCount(3);
    table.setRowCount(8);
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 3; ++c) {
            if (r != 6 || c == 2)  // row 6 has a single cell, in the last column
                table.setItem(r, c, new UITableItem(QString::number(r * 3 + c)));
        }
    }
    table.setSelectionMode(QAbstractItemView::MultiSelection);
    QCOMPARE(table.selectedRowNumbers(), QList<int>());
    // Ranges given out of order, overlapping, one a single cell; a hidden row does not count,
    // nor does a selected place without a cell.
    table.setRangeSelected(QTableWidgetSelectionRange(5, 0, 7, 0), true);
    table.setRangeSelected(QTableWidgetSelectionRange(0, 1, 1, 2), true);
    table.setRangeSelected(QTableWidgetSelectionRange(1, 0, 2, 0), true);
    table.setRangeSelected(QTableWidgetSelectionRange(4, 2, 4, 2), true);
    table.setRowHidden(5, true);
    QCOMPARE(table.selectedRowNumbers(), (QList<int>{0, 1, 2, 4, 7}));
    table.selectAll();
    QCOMPARE(table.selectedRowNumbers(), (QList<int>{0, 1, 2, 3, 4, 6, 7}));
    // Nor does a row whose cells cannot be selected.
    for (int c = 0; c < 3; ++c)
        table.item(3, c)->setFlags(Qt::ItemIsEnabled);
    table.selectAll();
    QCOMPARE(table.selectedRowNumbers(), (QList<int>{0, 1, 2, 4, 6, 7}));
}

void tst_WindowParts::parseTimeOfSdk_data()
{
    QTest::addColumn<QString>("sdk");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ordinary") << "20260315083005" << "15/03/2026 08:30:05";
    QTest::newRow("midnight new year") << "20270101000000" << "01/01/2027 00:00:00";
    QTest::newRow("too short") << "2026" << "";
}

void tst_WindowParts::parseTimeOfSdk()
{
    QFETCH(QString, sdk);
    QFETCH(QString, shown);
    QCOMPARE(SMSUIMainDlg::parseTimeOfSdk(sdk), shown);
}

void tst_WindowParts::messageHtml_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("priorityKey");
    QTest::addColumn<QString>("plainContains");
    QTest::addColumn<bool>("hasAnchor");
    QTest::newRow("markup shown literally") << "<b>x</b> & <i>" << "" << "<b>x</b> & <i>" << false;
    // The tag is shown as typed; only the address inside it becomes a link.
    QTest::newRow("typed anchor shown as text") << "<a href=\"http://evil\">hi</a>" << ""
                                                << "<a href=\"http://evil\">hi</a>" << true;
    QTest::newRow("web address linked") << "go to http://example.com now" << ""
                                        << "go to http://example.com now" << true;
    QTest::newRow("priority line") << "x" << "IDS_RAD_URGENT"
                                   << SMSUIMainDlg::tr(QStringLiteral("IDS_RAD_URGENT")) << false;
}

void tst_WindowParts::messageHtml()
{
    QFETCH(QString, content);
    QFETCH(QString, priorityKey);
    QFETCH(QString, plainContains);
    QFETCH(bool, hasAnchor);
    const QString linked =
        CommonUtils::ParseAndCreateHyperLinks(SMSUIMainDlg::escapeForPreview(content));
    const QString html = SMSUIMainDlg::buildMessageHtml(
        SMSUIMainDlg::escapeForPreview(QStringLiteral("<Ann>")), QStringLiteral("+1555"), linked,
        QStringLiteral("today"), priorityKey);
    QTextDocument doc;
    doc.setHtml(html);
    const QString plain = doc.toPlainText();
    QVERIFY2(plain.contains(plainContains), qPrintable(plain));
    QVERIFY(plain.contains(QStringLiteral("<Ann>")));
    QCOMPARE(html.contains(QStringLiteral("<a "), Qt::CaseInsensitive), hasAnchor);
    QCOMPARE(plain.contains(SMSUIMainDlg::tr(QStringLiteral("IDS_STC_PRIORITY"))),
             !priorityKey.isEmpty());
    // Name line, number, content, time: four lines without a priority.
    QCOMPARE(plain.count(QLatin1Char('\n')), priorityKey.isEmpty() ? 4 : 5);
}

// "+15550001" in a right-to-left table must still read "+15550001" (plus first), drawn on
// the cell's right-hand side; the content column keeps the table's direction.
// In a right-to-left table every cell reads in the direction of its own text, still on
// the window's side: a number or a Latin text left to right, an Arabic text right to left.
void tst_WindowParts::cellsReadInTheirOwnDirectionInRightToLeftTables_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("leftToRight");
    QTest::newRow("number") << QStringLiteral("+15550001") << 0 << true;
    QTest::newRow("Latin name") << QStringLiteral("Anna (work)") << 0 << true;
    QTest::newRow("Latin message") << QStringLiteral("See you at 5!") << 1 << true;
    QTest::newRow("Arabic message") << QStringLiteral("مرحبا يا صديقي!") << 1 << false;
    QTest::newRow("Arabic after digits") << QStringLiteral("5 مرحبا") << 2 << false;
}

void tst_WindowParts::cellsReadInTheirOwnDirectionInRightToLeftTables()
{
    QFETCH(QString, text);
    QFETCH(int, column);
    QFETCH(bool, leftToRight);
    GridDelegateLayout table;
    QItemDelegate plain;
    QCOMPARE(table.textDirection(text, column, Qt::RightToLeft),
             leftToRight ? Qt::LeftToRight : Qt::RightToLeft);
    QCOMPARE(table.textDirection(text, column, Qt::LeftToRight), Qt::LeftToRight);
    // Painted: the same pixels as the text laid out in that direction at the right edge.
    const QImage expected = paintCell(plain, text, column,
                                      leftToRight ? Qt::LeftToRight : Qt::RightToLeft,
                                      Qt::AlignRight | Qt::AlignAbsolute);
    QCOMPARE(paintCell(table, text, column, Qt::RightToLeft, Qt::AlignLeft), expected);
}

QTEST_MAIN(tst_WindowParts)
#include "tst_windowparts.moc"
