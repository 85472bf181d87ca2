// SPDX-License-Identifier: GPL-3.0-or-later
// The SMS window against the simulator: tree, tables, preview and layout, with real widgets.
#include <QGuiApplication>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

#include <functional>

#include "store/SMSStatusUILogic.h"
#include "operations/SMSThreadUI.h"
#include "ToolBarLogic.h"
#include "window/SMSUITableWidget.h"
#include "window/SMSUITreeWidget.h"
#include "QueuedSpy.h"
#include "WindowFixture.h"

namespace {
QString key(const char *k)
{
    return SMSUIMainDlg::tr(QString::fromLatin1(k));
}

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(16, 16, QIcon::Selected, QIcon::Off).toImage().convertToFormat(
        QImage::Format_ARGB32);
}

// Whether two images match within one unit per channel: a pixmap may be stored
// premultiplied (depending on the screen), and the round trip can move a translucent
// pixel's channel by one.
bool sameImage(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return false;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            if (qAbs(qRed(a) - qRed(e)) > 1 || qAbs(qGreen(a) - qGreen(e)) > 1
                || qAbs(qBlue(a) - qBlue(e)) > 1 || qAbs(qAlpha(a) - qAlpha(e)) > 1)
                return false;
        }
    }
    return true;
}

QImage stripCell(int index)
{
    const QImage strip(QStringLiteral(DIALCREST_SOURCE_DIR "/plugins/SMSUIPlugin/sms_tree_Images.png"));
    return strip.copy(16 * index, 0, 16, 16).convertToFormat(QImage::Format_ARGB32);
}

// Clicks a row the way a user does, on its content cell.
void clickRow(SMSUITableWidget *table, int row)
{
    const QRect rect = table->visualItemRect(table->item(row, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
}
} // namespace

class tst_Window : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_fixture.tearDown(); }

    void treeNodesFollowConfiguration_data();
    void treeNodesFollowConfiguration();
    void treeCounts_data();
    void treeCounts();
    void simRootStaysClosedWhileReading();
    void simTextFollowsWorkerTarget_data();
    void simTextFollowsWorkerTarget();
    void rightToLeftIconsAreMirrored();
    void tableColumnTexts_data();
    void tableColumnTexts();
    void addRecordRefusesDuplicates();
    void unreadRowsAreBoldUntilRead();
    void localRootListsEveryLocalFolder();
    void tablesAreReadAgainOnlyWhenTheStoreDiffers();
    void rowClicksIgnoredWhileWorkerRuns();
    void previewShowsMarkupLiterallyWithLineBreaks();
    void linkClickKeepsMessage();
    void previewPriorityLine_data();
    void previewPriorityLine();
    void folderTextWithoutCounts();
    void splitterProportionKeptAcrossFolders();
    void destroyAndRecreate();
    void screenshotWithDemoData();

private:
    WindowFixture m_fixture;
};

void tst_Window::treeNodesFollowConfiguration_data()
{
    QTest::addColumn<bool>("sentItems");
    QTest::addColumn<bool>("cellBroadcast");
    QTest::newRow("sent items and cell broadcast") << true << true;
    QTest::newRow("no sent items") << false << true;
    QTest::newRow("no cell broadcast") << true << false;
}

void tst_Window::treeNodesFollowConfiguration()
{
    QFETCH(bool, sentItems);
    QFETCH(bool, cellBroadcast);
    WindowConfig config;
    config.sentItems = sentItems;
    m_fixture.setUp(config);
    CommonUtils::SetSettings(QStringLiteral("CBS"), QStringLiteral("enable"),
                             cellBroadcast ? QStringLiteral("true") : QStringLiteral("false"));
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);

    QList<QTreeWidgetItem *> expected{w->treeItem(EN_LOCAL_INBOX), w->treeItem(EN_LOCAL_OUTBOX)};
    if (sentItems)
        expected << w->treeItem(EN_LOCAL_SENTITEMS);
    expected << w->treeItem(EN_LOCAL_DRAFT) << w->treeItem(EN_LOCAL_FAVORITE)
             << w->treeItem(EN_LOCAL_TRASH) << w->treeItem(EN_LOCAL_REPORT);
    if (cellBroadcast)
        expected << w->treeItem(EN_LOCAL_CBSBOX);
    QTreeWidgetItem *root = w->treeItem(EN_LOCAL_ROOT);
    QVERIFY(root);
    QCOMPARE(root->childCount(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(root->child(i), expected.at(i));
    QCOMPARE(w->treeItem(EN_LOCAL_SENTITEMS) != nullptr, sentItems);
    QCOMPARE(w->tableAt(EN_LOCAL_SENTITEMS) != nullptr, true);

    // The device storage is listed by the modem; the SIM only once the host reported it.
    auto *tree = w->findChild<SMSUITreeWidget *>(QStringLiteral("SMSUIPlugin_TreeSMSWidget"));
    QVERIFY(tree);
    QCOMPARE(tree->topLevelItem(0), root);
    QCOMPARE(tree->topLevelItem(1), w->treeItem(EN_DEVICE_ROOT));
    QVERIFY(!w->treeItem(EN_SIM_ROOT));
    QCOMPARE(w->selectedTreeNode(), int(EN_LOCAL_INBOX));
    QCOMPARE(w->currentTable(), w->tableAt(EN_LOCAL_INBOX));
}

void tst_Window::treeCounts_data()
{
    QTest::addColumn<bool>("showCount");
    QTest::newRow("counts on") << true;
    QTest::newRow("counts off") << false;
}

void tst_Window::treeCounts()
{
    QFETCH(bool, showCount);
    WindowConfig config;
    config.showCount = showCount;
    m_fixture.setUp(config);
    for (int i = 0; i < 10; ++i)
        QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+1555000%1").arg(i),
                                    QStringLiteral("hello %1").arg(i),
                                    QStringLiteral("202601011200%1").arg(i, 2, 10, QLatin1Char('0')),
                                    i < 2 ? 1 : 0)
                >= 0);
    for (int i = 0; i < 3; ++i)
        QVERIFY(WindowFixture::save(EN_LOCAL_OUTBOX, QStringLiteral("+1666000%1").arg(i),
                                    QStringLiteral("out %1").arg(i)) >= 0);
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);

    QTreeWidgetItem *inbox = w->treeItem(EN_LOCAL_INBOX);
    QTreeWidgetItem *outbox = w->treeItem(EN_LOCAL_OUTBOX);
    QTreeWidgetItem *draft = w->treeItem(EN_LOCAL_DRAFT);
    if (showCount) {
        QCOMPARE(inbox->text(0), key("IDS_TREE_LINBOX") + QStringLiteral("(2/10)"));
        QCOMPARE(outbox->text(0), key("IDS_TREE_LOUTBOX") + QStringLiteral("(3)"));
        QCOMPARE(draft->text(0), key("IDS_TREE_LDRAFT") + QStringLiteral("(0)"));
        QCOMPARE(inbox->toolTip(0), inbox->text(0));
        // Roots carry no counts.
        QCOMPARE(w->treeItem(EN_LOCAL_ROOT)->text(0), key("IDS_TREE_LOCAL"));
    } else {
        QCOMPARE(inbox->text(0), key("IDS_TREE_LINBOX"));
        QCOMPARE(outbox->text(0), key("IDS_TREE_LOUTBOX"));
        QCOMPARE(draft->text(0), key("IDS_TREE_LDRAFT"));
        // A name cut short by a narrow tree still gets its tool tip, but never a count.
        QVERIFY2(!inbox->toolTip(0).contains(QLatin1Char('(')), qPrintable(inbox->toolTip(0)));
    }
}

void tst_Window::simRootStaysClosedWhileReading()
{
    m_fixture.setUp();
    QVERIFY(WindowFixture::save(EN_SIM_INBOX, QStringLiteral("+15551234"),
                                QStringLiteral("on the card"))
            >= 0);
    // Unreadable for the probes of the layout and the first detector rounds.
    QCOMPARE(SimCtl_SetStorageUnreadable(UTPS_SMS_MEM_SIM, 1000, 60000), 0L);
    // The card's word comes from the host configuration and fills the label's "%s".
    CommonUtils::SetSettings(QStringLiteral("customize"), QStringLiteral("simtype"),
                             QStringLiteral("USIM"));
    SMSUIMainDlg *w = WindowFixture::createWindow(true);
    QVERIFY(w);
    QTreeWidgetItem *root = w->treeItem(EN_SIM_ROOT);
    QVERIFY(root);
    const QString plain = w->GetSIMText(QStringLiteral("IDS_TREE_SIM"));
    QString expected = key("IDS_TREE_SIM");
    expected.replace(QStringLiteral("%s"), QStringLiteral("USIM"));
    QCOMPARE(plain, expected);
    QCOMPARE(root->text(0), plain + key("IDS_TREE_READING_DATA"));
    QVERIFY(!root->isExpanded());
    QVERIFY(w->simDetector().isRunning());

    root->setExpanded(true);
    QVERIFY(!root->isExpanded());
    QVERIFY(!w->tableAt(EN_SIM_INBOX));
    // Without its table yet, the root shows the empty stand-in.
    w->onClickSMSTreeNode(root, 0);
    QCOMPARE(w->currentTable()->objectName(), QStringLiteral("Empty Table"));
    QCOMPARE(w->currentTable()->rowCount(), 0);

    QCOMPARE(SimCtl_SetStorageUnreadable(UTPS_SMS_MEM_SIM, 0, 0), 0L);
    QTRY_COMPARE_WITH_TIMEOUT(root->text(0), plain, 5000);
    QVERIFY(root->isExpanded());
    QVERIFY(w->tableAt(EN_SIM_INBOX));
    QCOMPARE(w->tableAt(EN_SIM_INBOX)->rowCount(), 1);
    QCOMPARE(w->tableAt(EN_SIM_ROOT)->rowCount(), 1);
    // The selected root is shown again, now with its own table.
    QCOMPARE(w->currentTable(), w->tableAt(EN_SIM_ROOT));
    root->setExpanded(false);
    root->setExpanded(true);
    QVERIFY(root->isExpanded());
}

void tst_Window::rightToLeftIconsAreMirrored()
{
    m_fixture.setUp();
    const QImage normalInbox = stripCell(3);
    QVERIFY(!normalInbox.isNull());
    QVERIFY2(normalInbox != normalInbox.mirrored(true, false), "the artwork must be asymmetric");
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    QVERIFY(w);
    const struct { _EN_SMS_POSITION position; int cell; } nodes[] = {
        {EN_LOCAL_INBOX, 3}, {EN_LOCAL_OUTBOX, 2}, {EN_LOCAL_DRAFT, 4}, {EN_LOCAL_FAVORITE, 1},
        {EN_LOCAL_TRASH, 5}, {EN_LOCAL_REPORT, 6}, {EN_LOCAL_SENTITEMS, 8},
        {EN_DEVICE_INBOX, 3}, {EN_DEVICE_OUTBOX, 2}};
    for (const auto &n : nodes) {
        QTreeWidgetItem *item = w->treeItem(n.position);
        QVERIFY(item);
        QVERIFY2(sameImage(iconImage(item->icon(0)), stripCell(n.cell).mirrored(true, false)),
                 qPrintable(item->text(0)));
    }
}

void tst_Window::tableColumnTexts_data()
{
    QTest::addColumn<QString>("displayName");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("nameText");
    QTest::addColumn<QString>("contentText");

    QTest::newRow("name shown") << "Ann" << "+1555" << "hi" << "20250304050607" << "Ann" << "hi";
    QTest::newRow("number when no name") << "" << "+1555" << "hi" << "20250304050607"
                                         << "+1555" << "hi";
    QTest::newRow("line breaks removed") << "Ann" << "+1555" << "a\r\nb\nc" << "20250304050607"
                                         << "Ann" << "abc";
    QTest::newRow("placeholder time is now") << "Ann" << "+1555" << "x" << "00000000000000"
                                             << "Ann" << "x";
}

void tst_Window::tableColumnTexts()
{
    QFETCH(QString, displayName);
    QFETCH(QString, number);
    QFETCH(QString, content);
    QFETCH(QString, time);
    QFETCH(QString, nameText);
    QFETCH(QString, contentText);
    m_fixture.setUp();
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);

    SmsRecord record;
    record.iMsgId = 7;
    record.strDisplayName = displayName;
    record.strNumber = number;
    record.strContent = content;
    record.strTime = time;
    SMSUITableWidget table;
    table.setColumnCount(3);
    table.setRowCount(1);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    w->populateTableRow(&record, 0, &table);
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    QCOMPARE(table.item(0, 0)->text(), nameText);
    QCOMPARE(table.item(0, 1)->text(), contentText);
    QCOMPARE(SMSUITableWidget::recordOf(table.item(0, 0)), &record);
    const QDateTime shown = table.item(0, 2)->data(Qt::DisplayRole).toDateTime();
    if (time == QLatin1String("00000000000000")) {
        QVERIFY(shown >= before && shown <= after);
    } else {
        QCOMPARE(shown, QDateTime::fromString(time, QStringLiteral("yyyyMMddhhmmss")));
    }
    QVERIFY(!(table.item(0, 0)->flags() & Qt::ItemIsEditable));
}

void tst_Window::unreadRowsAreBoldUntilRead()
{
    m_fixture.setUp();
    QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+1"), QStringLiteral("read"),
                                QStringLiteral("20260101120000"), /* unread */ 0) >= 0);
    QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+2"), QStringLiteral("new"),
                                QStringLiteral("20260102120000"), /* unread */ 1) >= 0);
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    SMSUITableWidget *table = w->currentTable();
    auto *delegate = qobject_cast<GridDelegateLayout *>(table->itemDelegate());
    QVERIFY(delegate);
    QStyleOptionViewItem option;
    option.initFrom(table);
    option.widget = table;
    const auto bold = [&](int row, int column) {
        return delegate->cellOption(option, table->model()->index(row, column)).font.bold();
    };
    QCOMPARE(table->recordAt(0)->strContent, QStringLiteral("new"));
    for (int column = 0; column < 3; ++column) {
        QVERIFY(bold(0, column));
        QVERIFY(!bold(1, column));
    }
    // Read (the state lives in the record): plain at the next paint, no cell touched.
    table->recordAt(0)->iReadStatus = 0;
    QVERIFY(!bold(0, 1));
}

void tst_Window::addRecordRefusesDuplicates()
{
    m_fixture.setUp();
    QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+1"), QStringLiteral("first")) >= 0);
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    SMSUITableWidget *inbox = w->tableAt(EN_LOCAL_INBOX);
    QCOMPARE(inbox->rowCount(), 1);

    const int id = WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+2"), QStringLiteral("second"),
                                       QStringLiteral("20300101000000"));
    QVERIFY(id >= 0);
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC);
    SmsRecord *record = store->GetSMSRecordsSet(EN_LOCAL_INBOX).value(id);
    QVERIFY(record);
    w->addRecToSMSTable(EN_LOCAL_INBOX, record);
    QCOMPARE(inbox->rowCount(), 2);
    // Newest first after the insert.
    QCOMPARE(inbox->recordAt(0), record);
    w->addRecToSMSTable(EN_LOCAL_INBOX, record);
    QCOMPARE(inbox->rowCount(), 2);
    w->addRecToSMSTable(EN_LOCAL_INBOX, nullptr);
    QCOMPARE(inbox->rowCount(), 2);
}

void tst_Window::localRootListsEveryLocalFolder()
{
    m_fixture.setUp();
    for (int p : {0, 1, 2, 3, 4, 5})
        QVERIFY(WindowFixture::save(p, QStringLiteral("+1"), QStringLiteral("in %1").arg(p)) >= 0);
    // A sent copy (outbox, status 0) is shown under sent items.
    QVERIFY(WindowFixture::save(EN_LOCAL_OUTBOX, QStringLiteral("+1"), QStringLiteral("sent"),
                                QStringLiteral("20260101120000"), 0, 0)
            >= 0);
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    QCOMPARE(w->tableAt(EN_LOCAL_SENTITEMS)->rowCount(), 1);
    int sum = 0;
    for (_EN_SMS_POSITION p : {EN_LOCAL_OUTBOX, EN_LOCAL_INBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE,
                               EN_LOCAL_TRASH, EN_LOCAL_REPORT, EN_LOCAL_CBSBOX,
                               EN_LOCAL_SENTITEMS})
        sum += w->tableAt(p)->rowCount();
    QCOMPARE(sum, 7);
    SMSUITableWidget *root = w->tableAt(EN_LOCAL_ROOT);
    QCOMPARE(root->rowCount(), 7);
    bool hasSent = false;
    for (int r = 0; r < root->rowCount(); ++r)
        hasSent |= root->recordAt(r)->enPos == EN_LOCAL_SENTITEMS;
    QVERIFY(hasSent);

    // The rebuild from the store gives the same rows.
    w->syncSMSTableWithBuffers(EN_LOCAL_ROOT);
    QCOMPARE(root->rowCount(), 7);
}

void tst_Window::tablesAreReadAgainOnlyWhenTheStoreDiffers()
{
    m_fixture.setUp();
    for (int i = 0; i < 3; ++i)
        QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+%1").arg(i),
                                    QStringLiteral("text %1").arg(i),
                                    QStringLiteral("2026010%1").arg(i + 1) + QStringLiteral("120000"))
                >= 0);
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    SMSUITableWidget *inbox = w->tableAt(EN_LOCAL_INBOX);
    QCOMPARE(inbox->rowCount(), 3);
    // A mark on a cell survives only when the table is left as it is.
    const auto mark = [inbox] {
        for (int r = 0; r < inbox->rowCount(); ++r)
            inbox->item(r, 1)->setData(Qt::UserRole + 7, true);
    };
    const auto marked = [inbox] {
        for (int r = 0; r < inbox->rowCount(); ++r) {
            if (!inbox->item(r, 1)->data(Qt::UserRole + 7).toBool())
                return false;
        }
        return true;
    };
    const auto contents = [inbox] {
        QStringList texts;
        for (int r = 0; r < inbox->rowCount(); ++r)
            texts << inbox->item(r, 1)->text();
        return texts;
    };
    const QStringList newestFirst{"text 2", "text 1", "text 0"};
    QCOMPARE(contents(), newestFirst);

    // Nothing changed: same cells, but left as a rebuild leaves it, with nothing selected.
    mark();
    w->onClickSMSTreeNode(w->treeItem(EN_LOCAL_INBOX), 0);
    inbox->selectRow(1);
    QCOMPARE(inbox->selectedRowNumbers(), QList<int>{1});
    w->syncSMSTableWithBuffers(EN_LOCAL_INBOX);
    QVERIFY(marked());
    QCOMPARE(contents(), newestFirst);
    QVERIFY(inbox->selectedRowNumbers().isEmpty());
    QVERIFY(!inbox->currentIndex().isValid());

    // Whatever changed in the store, the table ends as reading it afresh would make it.
    // Texts that differ make the row again; a new icon is given to the row in place.
    const auto snapshot = [inbox] {
        QStringList rows;
        for (int r = 0; r < inbox->rowCount(); ++r)
            rows << QStringLiteral("%1|%2|%3|%4|%5")
                        .arg(inbox->item(r, 0)->text(), inbox->item(r, 1)->text(),
                             inbox->item(r, 2)->data(Qt::DisplayRole).toString())
                        .arg(inbox->item(r, 0)->icon().cacheKey())
                        .arg(quintptr(inbox->recordAt(r)));
        return rows;
    };
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    SmsRecord *oldest = nullptr;
    for (SmsRecord *r : store->GetSMSRecordsSet(EN_LOCAL_INBOX)) {
        if (r->strContent == QLatin1String("text 0"))
            oldest = r;
    }
    QVERIFY(oldest);
    const QList<std::function<void()>> changes{
        [oldest] { oldest->strContent = QStringLiteral("edited"); },
        [oldest] { oldest->strDisplayName = QStringLiteral("Someone"); },
        [oldest] { oldest->strTime = QStringLiteral("20250101120000"); },
        [oldest, store] { oldest->imgIcon = store->GetTableImage(1).copy(); },
        [inbox] { inbox->removeRow(0); },
        [inbox] { delete inbox->takeItem(2, 2); },
        [inbox] { inbox->item(1, 1)->setText(QStringLiteral("tampered")); },
    };
    for (int i = 0; i < changes.size(); ++i) {
        changes.at(i)();
        w->syncSMSTableWithBuffers(EN_LOCAL_INBOX);
        const QStringList synced = snapshot();
        w->reloadSMSTable(EN_LOCAL_INBOX);
        QCOMPARE(synced, snapshot());
        QVERIFY2(synced.size() == 3, qPrintable(QStringLiteral("change %1").arg(i)));
    }
    QCOMPARE(contents(), (QStringList{"text 2", "text 1", "edited"}));
    QCOMPARE(inbox->item(2, 0)->text(), QStringLiteral("Someone"));

    // A record filed anew with the same texts (as a move to another folder files it) keeps
    // its row, pointed at the new record.
    mark();
    SmsRecord *middle = inbox->recordAt(1);
    auto *refiled = new SmsRecord(*middle);
    store->InsertSingleSMS(EN_LOCAL_INBOX, middle->iMsgId, refiled);
    QCOMPARE(store->GetSMSRecordsSet(EN_LOCAL_INBOX).value(refiled->iMsgId), refiled);
    w->syncSMSTableWithBuffers(EN_LOCAL_INBOX);
    QVERIFY(marked());
    QCOMPARE(inbox->recordAt(1), refiled);

    // The user's own "read again" always reads.
    mark();
    w->reloadSMSTable(EN_LOCAL_INBOX);
    QVERIFY(!marked());
    QCOMPARE(inbox->rowCount(), 3);
}

void tst_Window::simTextFollowsWorkerTarget_data()
{
    QTest::addColumn<int>("destination");
    QTest::addColumn<QString>("word");
    QTest::newRow("card outbox") << int(EN_SIM_OUTBOX) << QStringLiteral("USIM");
    QTest::newRow("card inbox") << int(EN_SIM_INBOX) << QStringLiteral("USIM");
    QTest::newRow("device outbox") << int(EN_DEVICE_OUTBOX) << key("IDS_TREE_DEVICE");
    QTest::newRow("device inbox") << int(EN_DEVICE_INBOX) << key("IDS_TREE_DEVICE");
    QTest::newRow("pc inbox") << int(EN_LOCAL_INBOX) << QString();
    QTest::newRow("card root") << int(EN_SIM_ROOT) << QString();
}

// Result texts after a move or copy name the storage the batch was aimed at.
void tst_Window::simTextFollowsWorkerTarget()
{
    QFETCH(int, destination);
    QFETCH(QString, word);
    m_fixture.setUp();
    CommonUtils::SetSettings(QStringLiteral("customize"), QStringLiteral("simtype"),
                             QStringLiteral("USIM"));
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    QList<SmsRecord> none;
    w->workerThread().SetSmsThreadOperation(DC_SMS_MOVE, none, UTPS_SMS_MEM_PC,
                                            destination, EN_LOCAL_INBOX);
    QString expected = key("IDS_STR_MEMORY_IS_FULL");
    expected.replace(QStringLiteral("%s"), word);
    QCOMPARE(w->GetSIMTextEx(QStringLiteral("IDS_STR_MEMORY_IS_FULL")), expected);
}

void tst_Window::rowClicksIgnoredWhileWorkerRuns()
{
    m_fixture.setUp();
    QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+15550003"),
                                QStringLiteral("look at me")) >= 0);
    // Enough trash for a delete batch that outlasts a click.
    QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC), 0L);
    for (int i = 0; i < 3000; ++i)
        WindowFixture::save(EN_LOCAL_TRASH, QStringLiteral("+1"), QStringLiteral("old %1").arg(i));
    QCOMPARE(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC), 0L);
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    QList<SmsRecord> trash;
    w->GetRecordListByLocation(EN_LOCAL_TRASH, trash);
    QCOMPARE(trash.size(), 3000);

    const QString folderText = w->previewPane()->toPlainText();
    const QString toolbar = QStringLiteral("SMSUIPlugin");
    QVERIFY(!ToolBarLogic::IsItemEnabled(toolbar, 9001));
    SMSThreadUI &worker = w->workerThread();
    QueuedSpy<> finished(&worker, &QThread::finished);
    worker.SetSmsThreadOperation(DC_SMS_SELECTED_DELETE, trash, UTPS_SMS_MEM_PC, EN_LOCAL_TRASH,
                                 EN_LOCAL_TRASH);
    worker.start();
    // Whatever fails below, the batch must end before the window goes.
    const auto waitForWorker = qScopeGuard([&worker] { worker.wait(); });
    clickRow(w->currentTable(), 0);
    const bool stillRunning = worker.isRunning();
    QVERIFY2(stillRunning, "the batch ended before the click: make it longer");
    QCOMPARE(w->previewPane()->toPlainText(), folderText);
    QVERIFY(!ToolBarLogic::IsItemEnabled(toolbar, 9001));
    QVERIFY(finished.wait(120000));
    // The trash rows point at records the batch removed: rebuild before anything reads them.
    w->syncSMSTableWithBuffers(EN_LOCAL_TRASH);
    w->syncSMSTableWithBuffers(EN_LOCAL_ROOT);

    clickRow(w->currentTable(), 0);
    QVERIFY(w->previewPane()->toPlainText().contains(QStringLiteral("look at me")));
    QVERIFY(ToolBarLogic::IsItemEnabled(toolbar, 9001));
}

void tst_Window::previewShowsMarkupLiterallyWithLineBreaks()
{
    m_fixture.setUp();
    QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("<i>Bank</i>"),
                                QStringLiteral("<b>bold</b>\nnext line")) >= 0);
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    SMSUITableWidget *table = w->currentTable();
    QCOMPARE(table->rowCount(), 1);
    clickRow(table, 0);
    auto *preview = w->findChild<QTextBrowser *>(QStringLiteral("SMSUIPlugin_TextPreview"));
    QVERIFY(preview);
    const QString shown = preview->toPlainText();
    QVERIFY2(shown.contains(QStringLiteral("<b>bold</b>\nnext line")), qPrintable(shown));
    QVERIFY2(shown.contains(QStringLiteral("<i>Bank</i>")), qPrintable(shown));
    QVERIFY(!w->lastPreviewText().isEmpty());
}

void tst_Window::linkClickKeepsMessage()
{
    m_fixture.setUp();
    QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+15550002"),
                                QStringLiteral("see http://example.com/x today")) >= 0);
    QList<QUrl> opened;
    const UrlOpener previous = CommonUtils::SetUrlOpener([&opened](const QUrl &url) {
        opened << url;
        return true;
    });
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    clickRow(w->currentTable(), 0);
    QTextBrowser *preview = w->previewPane();
    const QString before = preview->toPlainText();
    QVERIFY(before.contains(QStringLiteral("today")));

    QTextCursor cursor = preview->document()->find(QStringLiteral("example.com"));
    QVERIFY(!cursor.isNull());
    const QPoint at = preview->cursorRect(cursor).center() - QPoint(10, 0);
    QTest::mouseClick(preview->viewport(), Qt::LeftButton, {}, at);
    CommonUtils::SetUrlOpener(previous);

    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().host(), QStringLiteral("example.com"));
    QCOMPARE(preview->toPlainText(), before);
}

void tst_Window::previewPriorityLine_data()
{
    QTest::addColumn<int>("productType");
    QTest::addColumn<int>("priority");
    QTest::addColumn<QString>("priorityKey");
    QTest::newRow("product 1, urgent") << 1 << 2 << "IDS_RAD_URGENT";
    QTest::newRow("product 1, emergency") << 1 << 3 << "IDS_RAD_EMERGENCY";
    QTest::newRow("product 1, none shown") << 1 << 4 << "";
    QTest::newRow("other product, urgent") << 0 << 2 << "";
}

void tst_Window::previewPriorityLine()
{
    QFETCH(int, productType);
    QFETCH(int, priority);
    QFETCH(QString, priorityKey);
    m_fixture.setUp();
    QCOMPARE(SimCtl_SetProductType(productType), 0L);
    QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+15550004"), QStringLiteral("p"),
                                QStringLiteral("20260101120000"), 0, 1, priority) >= 0);
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    clickRow(w->currentTable(), 0);
    const QString shown = w->previewPane()->toPlainText();
    QVERIFY(shown.contains(QStringLiteral("+15550004")));
    QCOMPARE(shown.contains(key("IDS_STC_PRIORITY")), !priorityKey.isEmpty());
    if (!priorityKey.isEmpty())
        QVERIFY(shown.endsWith(SMSUIMainDlg::tr(priorityKey)));
}

void tst_Window::folderTextWithoutCounts()
{
    WindowConfig config;
    config.showCount = false;
    m_fixture.setUp(config);
    QVERIFY(WindowFixture::save(EN_LOCAL_DRAFT, QStringLiteral("+1"), QStringLiteral("d1")) >= 0);
    QVERIFY(WindowFixture::save(EN_LOCAL_DRAFT, QStringLiteral("+1"), QStringLiteral("d2")) >= 0);
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    SMSUITreeWidget *tree = w->treeWidget();
    QTreeWidgetItem *draft = w->treeItem(EN_LOCAL_DRAFT);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(draft).center());
    QCOMPARE(w->selectedTreeNode(), int(EN_LOCAL_DRAFT));
    QCOMPARE(w->currentTable(), w->tableAt(EN_LOCAL_DRAFT));
    QCOMPARE(w->previewPane()->toPlainText(),
             key("IDS_TREE_LDRAFT") + QLatin1Char('\n') + key("IDS_STR_SMSCOUNT")
                 + QStringLiteral("2"));
}

void tst_Window::splitterProportionKeptAcrossFolders()
{
    m_fixture.setUp();
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    auto *splitter = w->findChild<QSplitter *>(QStringLiteral("SMSUIPlugin_SplitSmsWidgetMsgPreview"));
    QVERIFY(splitter);
    QSplitterHandle *handle = splitter->handle(1);
    QVERIFY(handle);
    const QList<int> initial = splitter->sizes();
    const int delta = -initial.at(0) / 3;
    const QPoint start = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, start);
    QTest::mouseMove(handle, start + QPoint(0, delta));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, start + QPoint(0, delta));
    const QList<int> dragged = splitter->sizes();
    QVERIFY2(dragged != initial, "the drag did not move the splitter");

    SMSUITreeWidget *tree = w->treeWidget();
    QTreeWidgetItem *outbox = w->treeItem(EN_LOCAL_OUTBOX);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(outbox).center());
    QCOMPARE(w->currentTable(), w->tableAt(EN_LOCAL_OUTBOX));
    QCOMPARE(splitter->sizes(), dragged);
}

void tst_Window::destroyAndRecreate()
{
    m_fixture.setUp();
    SMSUIMainDlg::Destroy();
    SMSUIMainDlg::Destroy();
    SMSUIMainDlg *first = WindowFixture::createWindow();
    QVERIFY(first);
    SMSUIMainDlg::Destroy();
    SMSUIMainDlg *fresh = SMSUIMainDlg::GetInstance();
    QVERIFY(!fresh->treeWidget());
    QVERIFY(!fresh->tableAt(EN_LOCAL_INBOX));
    QVERIFY(fresh->CreateSMSMainLayout());
    QVERIFY(fresh->tableAt(EN_LOCAL_INBOX));
}

void tst_Window::screenshotWithDemoData()
{
    m_fixture.setUp({}, /* demo */ true);
    CommonUtils::SetSettings(QStringLiteral("customize"), QStringLiteral("simtype"),
                             QStringLiteral("SIM"));
    SMSUIMainDlg *w = WindowFixture::createWindow(true);
    QVERIFY(w);
    QTRY_VERIFY(w->treeItem(EN_SIM_ROOT) && w->treeItem(EN_SIM_ROOT)->isExpanded());
    QVERIFY(w->tableAt(EN_LOCAL_INBOX)->rowCount() > 0);
    w->resize(1000, 640);
    clickRow(w->currentTable(), 0);
    QApplication::processEvents();
    const QImage shot = w->grab().toImage();
    QVERIFY(!shot.isNull());
    const QString path = QStringLiteral(DIALCREST_BINARY_DIR "/window-demo.png");
    QVERIFY(shot.save(path));
    qInfo("screenshot written to %s", qPrintable(path));
}

QTEST_MAIN(tst_Window)
#include "tst_window.moc"
