// SPDX-License-Identifier: GPL-3.0-or-later
// The window's commands as a user meets them: the context menu on rows, on the empty area
// and on the folder tree, the toolbar buttons, the shortcuts, the search box, and calling
// or saving a sender's number through the host's plug-ins.
#include <QAbstractButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QTreeWidget>

#include "Change.h"
#include "CommandsHost.h"
#include "SearchLineEdit.h"
#include "ToolBarLogic.h"
#include "editor/SMSMessageDlg.h"
#include "editor/SMSUIMessageEditor.h"
#include "window/SMSUITreeWidget.h"

using namespace CommandsUi;

namespace {
const QString kPlugin = QStringLiteral("SMSUIPlugin");

QAbstractButton *toolButton(SMSUIMainDlg *w, int id)
{
    return w->findChild<QAbstractButton *>(ToolBarLogic::GetButtonObjectName(kPlugin, id));
}

bool activate(SMSUIMainDlg *w)
{
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

void showFolder(SMSUIMainDlg *w, _EN_SMS_POSITION position)
{
    w->treeWidget()->setCurrentItem(w->treeItem(position));
}
} // namespace

class tst_Commands : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        m_host.tearDown();
        m_fixture.tearDown();
    }

    void commandsOnRows_data();
    void commandsOnRows();
    void rightClickOnEmptyArea();
    void rightClickOnTreeFolder();
    void callAndVideoCallEntries_data();
    void callAndVideoCallEntries();
    void toolbarAfterLayoutAndOnSelection();
    void shortcuts();
    void menuOnlyKeysWorkFromTheTable_data();
    void menuOnlyKeysWorkFromTheTable();
    void searchStaysAppliedAfterABatch();
    void toolbarMenuAndShortcutsReachTheirCommands();
    void searchNarrowsAndClears();
    void callAndSaveNumber_data();
    void callAndSaveNumber();

private:
    SMSUIMainDlg *window(bool sim = false)
    {
        SMSUIMainDlg *w = WindowFixture::createWindow(sim);
        if (w)
            w->setCallCapableFlag(true);
        return w;
    }
    void openMenuOnRows(SMSUIMainDlg *w, int rows);

    WindowFixture m_fixture;
    CommandsHost m_host;
};

void tst_Commands::openMenuOnRows(SMSUIMainDlg *w, int rows)
{
    SMSUITableWidget *table = w->currentTable();
    clickRow(table, 0);
    for (int r = 1; r < rows; ++r)
        clickRow(table, r, Qt::ControlModifier);
    rightClickAt(table->viewport(), rowPoint(table, 0));
}

namespace {
// What one message offers beyond the commands every selection has, by the folder it is
// stored in: the menu entries and the toolbar buttons (with a network that sends).
struct MessageRule
{
    int folder;
    const char *name;
    QStringList menu;
    QList<int> toolbar;  // of Send 9002, Reply 9003, Forward 9004
};

const QList<MessageRule> &messageRules()
{
    static const QList<MessageRule> rules{
        {EN_LOCAL_INBOX, "PC inbox", {"SEND", "REPLY", "FORWARD"}, {9002, 9003, 9004}},
        {EN_LOCAL_OUTBOX, "PC outbox", {"SEND", "FORWARD"}, {9002, 9004}},
        {EN_LOCAL_SENTITEMS, "sent items", {"SEND", "FORWARD"}, {9002, 9004}},
        {EN_LOCAL_DRAFT, "drafts", {"EDIT", "SEND", "RECOVER"}, {9002}},
        {EN_LOCAL_FAVORITE, "favourites", {"SEND", "FORWARD", "RECOVER"}, {9002, 9004}},
        {EN_LOCAL_TRASH, "trash", {"RECOVER"}, {}},
        {EN_LOCAL_REPORT, "reports", {}, {}},
        {EN_LOCAL_CBSBOX, "cell broadcasts", {}, {}},
        {EN_SIM_INBOX, "SIM inbox", {"SEND", "REPLY", "FORWARD"}, {9002, 9003, 9004}},
        {EN_SIM_OUTBOX, "SIM outbox", {"SEND", "FORWARD"}, {9002, 9004}},
        {EN_DEVICE_INBOX, "device inbox", {"SEND", "REPLY", "FORWARD"}, {9002, 9003, 9004}},
        {EN_DEVICE_OUTBOX, "device outbox", {"SEND", "FORWARD"}, {9002, 9004}},
    };
    return rules;
}

// The storages a selection shown in folder can be moved or copied to.
QStringList targetsFrom(int folder, bool sim)
{
    QStringList targets;
    switch (folder) {
    case EN_LOCAL_INBOX: case EN_LOCAL_OUTBOX: case EN_LOCAL_SENTITEMS:
        targets << allTargets("DEVICE");
        if (sim)
            targets << allTargets("SIM");
        break;
    case EN_SIM_INBOX: case EN_SIM_OUTBOX: case EN_SIM_ROOT:
        targets << allTargets("LOCAL") << allTargets("DEVICE");
        break;
    case EN_DEVICE_INBOX: case EN_DEVICE_OUTBOX: case EN_DEVICE_ROOT:
        targets << allTargets("LOCAL");
        if (sim)
            targets << allTargets("SIM");
        break;
    default:
        break;  // the PC's other folders and its root: nowhere
    }
    return targets;
}

_EN_SMS_POSITION rootOf(int folder)
{
    if (folder == EN_SIM_INBOX || folder == EN_SIM_OUTBOX)
        return EN_SIM_ROOT;
    if (folder == EN_DEVICE_INBOX || folder == EN_DEVICE_OUTBOX)
        return EN_DEVICE_ROOT;
    return EN_LOCAL_ROOT;
}

void addCommandRow(const QString &name, bool sim, int folder, const MessageRule &rule, int rows,
                   bool inRoot)
{
    const QStringList common{"NEW", "DELETE", "CLEARALL", "SEARCH", "SMSSELECT", "SMSALL"};
    QStringList menu = common;
    QList<int> toolbar{9000, 9001, 9006};
    if (rows == 1) {
        menu << QStringList{"CALL", "SAVENUMBER"} << rule.menu;
        toolbar << 9005 << rule.toolbar;
    } else if (!inRoot && rule.menu.contains(QLatin1String("RECOVER"))) {
        menu << QStringLiteral("RECOVER");  // the only message command of a folder's many
    }
    // A message chosen in a root goes where one from its own folder goes, which for the
    // card's and the modem's roots is where the whole root goes; from the PC root, nowhere.
    menu << targetsFrom(folder, sim);
    menu.sort();
    std::sort(toolbar.begin(), toolbar.end());
    QTest::newRow(qPrintable(name)) << sim << folder << rule.folder << rows << menu << toolbar;
}
} // namespace

void tst_Commands::commandsOnRows_data()
{
    QTest::addColumn<bool>("sim");
    QTest::addColumn<int>("folder");        // folder shown
    QTest::addColumn<int>("messageFolder"); // where the messages are stored
    QTest::addColumn<int>("rows");          // rows selected
    QTest::addColumn<QStringList>("menu");  // enabled context-menu entries
    QTest::addColumn<QList<int>>("toolbar"); // enabled toolbar buttons

    for (const MessageRule &rule : messageRules()) {
        const QString name = QString::fromLatin1(rule.name);
        for (int rows : {1, 2}) {
            const QString count = rows == 1 ? QStringLiteral("one") : QStringLiteral("two");
            addCommandRow(name + QStringLiteral(", ") + count, true, rule.folder, rule, rows, false);
            addCommandRow(QStringLiteral("its root, ") + count + QStringLiteral(" from ") + name,
                          true, rootOf(rule.folder), rule, rows, true);
        }
    }
    // Without a SIM nothing can go to the card.
    for (const MessageRule &rule : messageRules()) {
        if (rule.folder == EN_LOCAL_INBOX || rule.folder == EN_DEVICE_OUTBOX)
            addCommandRow(QString::fromLatin1(rule.name) + QStringLiteral(", one, no SIM"), false,
                          rule.folder, rule, 1, false);
    }
}

// Every folder and every root with every kind of message in it, one and two rows chosen:
// the toolbar after the click and the context menu opened on the rows.
void tst_Commands::commandsOnRows()
{
    QFETCH(bool, sim);
    QFETCH(int, folder);
    QFETCH(int, messageFolder);
    QFETCH(int, rows);
    QFETCH(QStringList, menu);
    QFETCH(QList<int>, toolbar);
    m_fixture.setUp();
    m_host.setUp();
    CommonUtils::SetSettings(QStringLiteral("CBS"), QStringLiteral("enable"), QStringLiteral("true"));
    // A sent message is stored in the outbox as sent; the card's folders need a card.
    const bool sent = messageFolder == EN_LOCAL_SENTITEMS;
    for (int i = 0; i < 2; ++i)
        QVERIFY(WindowFixture::save(sent ? EN_LOCAL_OUTBOX : messageFolder,
                                    QStringLiteral("+4930100%1").arg(i),
                                    QStringLiteral("text %1").arg(i),
                                    QStringLiteral("2026010112000%1").arg(i), 0, sent ? 0 : 1)
                >= 0);
    SMSUIMainDlg *w = window(sim);
    QVERIFY(w);
    QVERIFY(w->canSendSMS());
    showFolder(w, _EN_SMS_POSITION(folder));
    QCOMPARE(w->currentTable()->rowCount(), 2);

    SMSUITableWidget *table = w->currentTable();
    clickRow(table, 0);
    for (int r = 1; r < rows; ++r)
        clickRow(table, r, Qt::ControlModifier);
    QList<int> enabledButtons;
    for (int id = 9000; id <= 9006; ++id) {
        if (QAbstractButton *button = toolButton(w, id); button && button->isEnabled())
            enabledButtons << id;
    }
    QCOMPARE(enabledButtons, toolbar);
    if (rows > 1)
        QVERIFY(w->previewPane()->toPlainText().isEmpty());

    rightClickAt(table->viewport(), rowPoint(table, 0));
    QMenu *contextMenu = w->contextMenu();
    QVERIFY(contextMenu);
    QTRY_VERIFY(contextMenu->isVisible());
    QCOMPARE(enabledEntries(contextMenu), menu);
    contextMenu->close();
}

void tst_Commands::rightClickOnEmptyArea()
{
    m_fixture.setUp();
    m_host.setUp();
    QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+1"), QStringLiteral("a")) >= 0);
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    QMenu *menu = w->contextMenu();
    QVERIFY(menu);
    const auto rightClickBelowRows = [w]() {
        QWidget *viewport = w->currentTable()->viewport();
        rightClickAt(viewport, QPoint(10, viewport->height() - 5));
    };
    showFolder(w, EN_LOCAL_DRAFT);
    QCOMPARE(w->currentTable()->rowCount(), 0);
    rightClickBelowRows();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(enabledEntries(menu), (QStringList{"NEW", "SEARCH"}));
    menu->close();

    // With messages, the folder-wide commands stay, and the selection is given up.
    showFolder(w, EN_LOCAL_INBOX);
    clickRow(w->currentTable(), 0);
    QVERIFY(toolButton(w, 9001)->isEnabled());
    rightClickBelowRows();
    QTRY_VERIFY(menu->isVisible());
    QStringList expected{"NEW", "SEARCH", "CLEARALL", "SMSALL"};
    expected << allTargets("DEVICE").filter(QStringLiteral("All2"));
    expected.sort();
    QCOMPARE(enabledEntries(menu), expected);
    QVERIFY(w->currentTable()->selectedItems().isEmpty());
    QVERIFY(!toolButton(w, 9001)->isEnabled());
    menu->close();
}

void tst_Commands::rightClickOnTreeFolder()
{
    m_fixture.setUp();
    m_host.setUp();
    QVERIFY(WindowFixture::save(EN_LOCAL_TRASH, QStringLiteral("+1"), QStringLiteral("old")) >= 0);
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    QTreeWidget *tree = w->treeWidget();
    const QPoint trash = tree->visualItemRect(w->treeItem(EN_LOCAL_TRASH)).center();
    rightClickAt(tree->viewport(), trash);
    // The folder clicked becomes the folder shown, and its menu offers folder commands.
    QCOMPARE(w->selectedTreeNode(), int(EN_LOCAL_TRASH));
    QMenu *menu = w->contextMenu();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QStringList expected{"NEW", "SEARCH", "CLEARALL", "SMSALL"};
    expected.sort();
    QCOMPARE(enabledEntries(menu), expected);
    menu->close();
}

void tst_Commands::callAndVideoCallEntries_data()
{
    QTest::addColumn<bool>("callPlugin");
    QTest::addColumn<bool>("callVoice");
    QTest::addColumn<bool>("callShown");
    QTest::newRow("plug-in and voice calls") << true << true << true;
    QTest::newRow("voice calls off") << true << false << false;
    QTest::newRow("no call plug-in") << false << true << false;
}

void tst_Commands::callAndVideoCallEntries()
{
    QFETCH(bool, callPlugin);
    QFETCH(bool, callVoice);
    QFETCH(bool, callShown);
    m_fixture.setUp();
    m_host.setUp(callPlugin, true, callVoice);
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    QMenu *menu = w->contextMenu();
    QVERIFY(menu);
    QCOMPARE(present(menu, "IDS_MENU_CALL"), callShown);
    QVERIFY(!present(menu, "IDS_MENU_VIDEO_CALL"));
    QCOMPARE(toolButton(w, 9005) != nullptr, callShown);
    // Both export entries are switched on by the shipped configuration.
    QVERIFY(present(menu, "IDS_EXPORT_SMSSELECT"));
    QVERIFY(present(menu, "IDS_EXPORT_SMSALL"));
}

void tst_Commands::toolbarAfterLayoutAndOnSelection()
{
    m_fixture.setUp();
    m_host.setUp();
    for (int i = 0; i < 2; ++i)
        QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+4930%1").arg(i),
                                    QStringLiteral("in %1").arg(i)) >= 0);
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    // Only what needs no message is usable before a row is chosen.
    QVERIFY(toolButton(w, 9000)->isEnabled());
    QVERIFY(toolButton(w, 9006)->isEnabled());
    for (int id : {9001, 9002, 9003, 9004, 9005})
        QVERIFY2(!toolButton(w, id)->isEnabled(), qPrintable(QString::number(id)));
    // The tooltip names the shortcut.
    QString text;
    QKeySequence keys;
    Change::tr(QStringLiteral("IDS_TIP_NEW"), kPlugin, text, keys);
    QVERIFY(!keys.isEmpty());
    QVERIFY(toolButton(w, 9000)->toolTip().endsWith(
        QStringLiteral("  (") + keys.toString(QKeySequence::NativeText) + QLatin1Char(')')));

    // What a selection enables per folder is walked by commandsOnRows.
    SMSUITableWidget *table = w->currentTable();
    clickRow(table, 0);
    clickRow(table, 1, Qt::ControlModifier);
    QVERIFY(!toolButton(w, 9005)->isEnabled());
    // The host's "calls possible" survives the Call button being greyed by a selection.
    QVERIFY(w->callCapableFlag());
    clickRow(table, 1);
    QVERIFY(toolButton(w, 9005)->isEnabled());
    w->setCallCapableFlag(false);
    clickRow(table, 0);
    QVERIFY(!toolButton(w, 9005)->isEnabled());
    // A folder click takes every message command away again, not New.
    showFolder(w, EN_LOCAL_OUTBOX);
    QVERIFY(!toolButton(w, 9001)->isEnabled());
    QVERIFY(toolButton(w, 9000)->isEnabled());
}

void tst_Commands::shortcuts()
{
    m_fixture.setUp();
    m_host.setUp();
    for (int i = 0; i < 3; ++i)
        QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+4940%1").arg(i),
                                    QStringLiteral("m %1").arg(i)) >= 0);
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    QVERIFY(activate(w));
    SMSUITableWidget *table = w->currentTable();

    QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(w->isSearchShown());
    QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(!w->isSearchShown());

    table->setFocus();
    QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(table->selectionModel()->selectedRows().size(), 3);
    QVERIFY(toolButton(w, 9001)->isEnabled());

    // Call: from the table with one message chosen; never from the tree.
    clickRow(table, 1);
    const QString number = table->recordAt(1)->strNumber;
    w->treeWidget()->setFocus();
    QTest::keyClick(w->treeWidget(), Qt::Key_D, Qt::ControlModifier);
    QVERIFY(m_host.call.calls.isEmpty());
    table->setFocus();
    QTest::keyClick(table, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(m_host.call.calls, QStringList{number});
    // Nor while the Call command is off.
    w->setCallCapableFlag(false);
    clickRow(table, 1);
    QTest::keyClick(table, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(m_host.call.calls.size(), 1);

    // F5 reads the folder again from the store.
    table->item(0, 1)->setData(Qt::UserRole + 7, true);
    QTest::keyClick(table, Qt::Key_F5);
    QCOMPARE(table->rowCount(), 3);
    QVERIFY(!table->item(0, 1)->data(Qt::UserRole + 7).toBool());
}

// Keys the context menu shows for entries without a toolbar button, pressed on the table
// without opening the menu: they do what the entry does, and only where it is offered.
void tst_Commands::menuOnlyKeysWorkFromTheTable_data()
{
    QTest::addColumn<int>("folder");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<bool>("selectRow");
    QTest::addColumn<int>("inboxAfter");
    QTest::addColumn<int>("trashAfter");
    QTest::addColumn<int>("saved");
    const QKeySequence restore(QStringLiteral("Ctrl+Shift+R"));
    const QKeySequence deleteAll(QStringLiteral("Ctrl+Shift+Del"));
    const QKeySequence saveNumber(QStringLiteral("Ctrl+Shift+S"));
    QTest::newRow("restore from trash") << int(EN_LOCAL_TRASH) << restore << true << 3 << 1 << 0;
    QTest::newRow("restore needs a row") << int(EN_LOCAL_TRASH) << restore << false << 2 << 2 << 0;
    QTest::newRow("restore not in inbox") << int(EN_LOCAL_INBOX) << restore << true << 2 << 2 << 0;
    QTest::newRow("delete all") << int(EN_LOCAL_INBOX) << deleteAll << false << 0 << 4 << 0;
    QTest::newRow("save number") << int(EN_LOCAL_INBOX) << saveNumber << true << 2 << 2 << 1;
    QTest::newRow("save number needs a row")
        << int(EN_LOCAL_INBOX) << saveNumber << false << 2 << 2 << 0;
}

void tst_Commands::menuOnlyKeysWorkFromTheTable()
{
    QFETCH(int, folder);
    QFETCH(QKeySequence, keys);
    QFETCH(bool, selectRow);
    QFETCH(int, inboxAfter);
    QFETCH(int, trashAfter);
    QFETCH(int, saved);
    m_fixture.setUp();
    m_host.setUp();
    for (int i = 0; i < 2; ++i) {
        QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+4941%1").arg(i),
                                    QStringLiteral("in %1").arg(i)) >= 0);
        QVERIFY(WindowFixture::save(EN_LOCAL_TRASH, QStringLiteral("+4942%1").arg(i),
                                    QStringLiteral("bin %1").arg(i), QStringLiteral("20260101120000"),
                                    0, 1, 4, EN_LOCAL_INBOX)
                >= 0);
    }
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    QVERIFY(activate(w));
    showFolder(w, _EN_SMS_POSITION(folder));
    SMSUITableWidget *table = w->currentTable();
    if (selectRow)
        clickRow(table, 0);
    table->setFocus();
    QTest::keySequence(table, keys);
    QTRY_VERIFY_WITH_TIMEOUT(!w->workerThread().isRunning() && !w->batchPending(), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(w->tableAt(EN_LOCAL_INBOX)->rowCount(), inboxAfter, 15000);
    QCOMPARE(w->tableAt(EN_LOCAL_TRASH)->rowCount(), trashAfter);
    QCOMPARE(m_host.book.saved.size(), saved);
}

// The end of a batch brings the folder's table in line with the store in steps; a search
// under way is applied again after them, so that rows it hid do not come back.
void tst_Commands::searchStaysAppliedAfterABatch()
{
    m_fixture.setUp();
    m_host.setUp();
    for (const char *text : {"alpha one", "alpha two", "beta"})
        QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+4943"), QString::fromLatin1(text)) >= 0);
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    QVERIFY(activate(w));
    showFolder(w, EN_LOCAL_INBOX);
    SMSUITableWidget *table = w->currentTable();
    auto *search = w->findChild<SearchLineEdit *>(ToolBarLogic::GetSearchBoxObjectName(kPlugin));
    w->onMenuSearch();
    QTest::keyClicks(search, QStringLiteral("alpha"));
    QCOMPARE(table->rowCount(), 2);
    table->setFocus();
    QTest::keySequence(table, QKeySequence(QStringLiteral("Ctrl+Shift+Del")));
    QTRY_VERIFY_WITH_TIMEOUT(!w->workerThread().isRunning() && !w->batchPending(), 15000);
    QCOMPARE(w->tableAt(EN_LOCAL_TRASH)->rowCount(), 2);
    QCOMPARE(search->text(), QStringLiteral("alpha"));
    QCOMPARE(table->rowCount(), 0);
}

void tst_Commands::toolbarMenuAndShortcutsReachTheirCommands()
{
    m_fixture.setUp();
    m_host.setUp();
    QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+493012345"), QStringLiteral("hi")) >= 0);
    QVERIFY(WindowFixture::save(EN_LOCAL_OUTBOX, QStringLiteral("+4970002"), QStringLiteral("out")) >= 0);
    QVERIFY(WindowFixture::save(EN_DEVICE_INBOX, QStringLiteral("+4970003"), QStringLiteral("nv")) >= 0);
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    QVERIFY(activate(w));
    auto *search = w->findChild<SearchLineEdit *>(ToolBarLogic::GetSearchBoxObjectName(kPlugin));
    QTest::mouseClick(toolButton(w, 9006), Qt::LeftButton);
    QVERIFY(search->isVisible());
    QVERIFY(toolButton(w, 9006)->isChecked());
    QTest::mouseClick(toolButton(w, 9006), Qt::LeftButton);
    QVERIFY(!search->isVisible());
    QTest::mouseClick(toolButton(w, 9000), Qt::LeftButton);
    QCOMPARE(w->messageEditor()->mode(), 9000);

    QVERIFY(w->canSendSMS());
    clickRow(w->currentTable(), 0);
    QTest::mouseClick(toolButton(w, 9003), Qt::LeftButton);
    QCOMPARE(w->messageEditor()->mode(), 9003);
    QTest::mouseClick(toolButton(w, 9005), Qt::LeftButton);
    QCOMPARE(m_host.call.calls, QStringList{QStringLiteral("+493012345")});
    QCOMPARE(m_host.call.types, QList<int>{0});  // a voice call
    openMenuOnRows(w, 1);
    QTRY_VERIFY(w->contextMenu()->isVisible());
    w->GetAction(QStringLiteral("IDS_MENU_SAVENUMBER"))->trigger();
    QCOMPARE(m_host.book.saved, QStringList{QStringLiteral("+493012345")});
    w->GetAction(QStringLiteral("IDS_MENU_CALL"))->trigger();
    QCOMPARE(m_host.call.calls.size(), 2);
    w->GetAction(QStringLiteral("IDS_MENU_SEARCH"))->trigger();
    QVERIFY(w->isSearchShown());
    w->contextMenu()->close();
    QVERIFY(m_host.prompts.isEmpty());

    // Reply is not offered for one's own messages, so its shortcut does nothing there.
    showFolder(w, EN_LOCAL_OUTBOX);
    clickRow(w->currentTable(), 0);
    SMSUIMessageEditor *before = w->messageEditor();
    QTest::keyClick(w->currentTable(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(w->messageEditor(), before);
    QTest::keyClick(w->currentTable(), Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(w->messageEditor()->mode(), 9004);

    // Move to > PC from the modem's inbox, confirmed, lands in the PC inbox.
    showFolder(w, EN_DEVICE_INBOX);
    openMenuOnRows(w, 1);
    QTRY_VERIFY(w->contextMenu()->isVisible());
    w->targetAction(QStringLiteral("IDS_MENU_MOVE2"), QStringLiteral("IDS_TREE_LOCAL"))->trigger();
    w->contextMenu()->close();
    QTRY_COMPARE_WITH_TIMEOUT(w->tableAt(EN_LOCAL_INBOX)->rowCount(), 2, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(w->tableAt(EN_DEVICE_INBOX)->rowCount(), 0, 15000);
    QTRY_VERIFY_WITH_TIMEOUT(!w->workerThread().isRunning(), 15000);

    // The Delete button sends the chosen message to the trash.
    showFolder(w, EN_LOCAL_OUTBOX);
    clickRow(w->currentTable(), 0);
    QTest::mouseClick(toolButton(w, 9001), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w->tableAt(EN_LOCAL_TRASH)->rowCount(), 1, 15000);
}

void tst_Commands::searchNarrowsAndClears()
{
    m_fixture.setUp();
    m_host.setUp();
    const QStringList texts{"Abc one", "abd two", "xyz three", "abc four"};
    for (int i = 0; i < texts.size(); ++i)
        QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+4950%1").arg(i), texts.at(i),
                                    QStringLiteral("2026010%1").arg(i + 1) + QStringLiteral("120000")) >= 0);
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    SMSUITableWidget *table = w->currentTable();
    auto *search = w->findChild<SearchLineEdit *>(ToolBarLogic::GetSearchBoxObjectName(kPlugin));
    w->onMenuSearch();
    QTest::keyClicks(search, QStringLiteral("ab"));
    QCOMPARE(table->rowCount(), 3);  // case does not matter
    QVERIFY(w->previewPane()->toPlainText().endsWith(ids("IDS_STR_SMSCOUNT") + QStringLiteral("3")));
    // A longer text filters the rows left: the same cells, nothing read again.
    const auto marked = [table]() {
        const QList<QTableWidgetItem *> found =
            table->findItems(QStringLiteral("abc four"), Qt::MatchExactly);
        return !found.isEmpty() && found.first()->data(Qt::UserRole + 7).toBool();
    };
    table->findItems(QStringLiteral("abc four"), Qt::MatchExactly).value(0)->setData(Qt::UserRole + 7, true);
    QTest::keyClicks(search, QStringLiteral("c"));
    QCOMPARE(table->rowCount(), 2);
    QVERIFY(marked());
    // Deleting back to "a" brings back the rows the longer text took out, then filters.
    QTest::keyClick(search, Qt::Key_Backspace);
    QTest::keyClick(search, Qt::Key_Backspace);
    QCOMPARE(table->rowCount(), 3);
    QVERIFY(marked());
    // Numbers and ISO times are searched too.
    search->clear();
    QTest::keyClicks(search, QStringLiteral("2026-01-02"));
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->recordAt(0)->strContent, QStringLiteral("abd two"));
    // Another folder and back: the filtered folder is whole again.
    showFolder(w, EN_LOCAL_OUTBOX);
    QVERIFY(search->text().isEmpty());
    showFolder(w, EN_LOCAL_INBOX);
    QCOMPARE(w->currentTable()->rowCount(), 4);
    // Closing the search row shows every message.
    QTest::keyClicks(search, QStringLiteral("xyz"));
    QCOMPARE(table->rowCount(), 1);
    w->onMenuSearch();
    QVERIFY(!search->isVisible());
    QCOMPARE(table->rowCount(), 4);
    // ... in the table's order, newest first, the rows put back included.
    QStringList order;
    for (int r = 0; r < table->rowCount(); ++r)
        order << table->recordAt(r)->strContent;
    QCOMPARE(order, (QStringList{"abc four", "xyz three", "abd two", "Abc one"}));
}

void tst_Commands::callAndSaveNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("callAnswer");
    QTest::addColumn<QString>("dialled");     // empty: no call
    QTest::addColumn<QString>("callPrompt");  // empty: no prompt
    QTest::addColumn<QString>("savePrompt");  // empty: saved
    QTest::newRow("no number") << "" << 1 << "" << "IDS_STR_CALLNUMBERISNULL"
                               << "IDS_STR_SAVENUMBERISNULL";
    QTest::newRow("one number") << "+4930111" << 1 << "+4930111" << "" << "";
    QTest::newRow("one number with separator")
        << "+4930111;" << 1 << "+4930111" << "" << "IDS_STR_SAVENUMBERONLYONE";
    QTest::newRow("two numbers") << "+4930111;+4930222" << 1 << "" << "IDS_STR_CALLNUMBERONLYONE"
                                 << "IDS_STR_SAVENUMBERONLYONE";
    QTest::newRow("call refused") << "+4930111" << 0 << "+4930111" << "IDS_STR_MAKECALLFAILED" << "";
}

void tst_Commands::callAndSaveNumber()
{
    QFETCH(QString, number);
    QFETCH(int, callAnswer);
    QFETCH(QString, dialled);
    QFETCH(QString, callPrompt);
    QFETCH(QString, savePrompt);
    m_fixture.setUp();
    m_host.setUp();
    m_host.call.answer = callAnswer;
    QVERIFY(WindowFixture::save(EN_LOCAL_OUTBOX, number, QStringLiteral("to them")) >= 0);
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    showFolder(w, EN_LOCAL_OUTBOX);
    clickRow(w->currentTable(), 0);
    QCOMPARE(w->selectedNumber(), number);

    w->onButtonClickCall();
    QCOMPARE(m_host.call.calls, dialled.isEmpty() ? QStringList() : QStringList{dialled});
    QCOMPARE(m_host.promptTexts(),
             callPrompt.isEmpty() ? QStringList() : QStringList{ids(qPrintable(callPrompt))});
    // Titled by what they are about, not all "Confirm".
    for (const MessageRequest &prompt : std::as_const(m_host.prompts))
        QCOMPARE(prompt.title, ids("IDS_STR_CALL_TITLE"));
    m_host.prompts.clear();

    w->onButtonClickedSaveNumber();
    QCOMPARE(m_host.book.saved, savePrompt.isEmpty() ? QStringList{number} : QStringList());
    QCOMPARE(m_host.promptTexts(),
             savePrompt.isEmpty() ? QStringList() : QStringList{ids(qPrintable(savePrompt))});
    for (const MessageRequest &prompt : std::as_const(m_host.prompts))
        QCOMPARE(prompt.title, ids("IDS_STR_SAVENUMBER_TITLE"));
    QCOMPARE(w->saveNumberFlag(), savePrompt.isEmpty());
}

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
