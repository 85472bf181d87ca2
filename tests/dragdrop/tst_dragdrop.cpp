// SPDX-License-Identifier: GPL-3.0-or-later
// Dragging messages from a table onto a folder of the tree: which presses start a drag,
// which folders take the drop, whether it moves or copies, and that what the SDK holds and
// what the tables show agree afterwards. Drags run through the table's drag seam, which
// delivers the tree's drag events synchronously in place of a platform drag.
#include <QDrag>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMimeData>
#include <QTreeWidgetItem>
#include <QtTest>

#include <functional>

#include "operations/SMSThreadUI.h"
#include "store/SMSStatusUILogic.h"
#include "window/SMSUITableWidget.h"
#include "window/SMSUITreeWidget.h"
#include "window/SMSWaitingDlg.h"
#include "QueuedSpy.h"
#include "WindowFixture.h"

namespace {
using Places = QList<QPair<int, int>>;


int rowOf(const SMSUITableWidget *table, const QString &content)
{
    for (int row = 0; table && row < table->rowCount(); ++row) {
        const SmsRecord *record = table->recordAt(row);
        if (record && record->strContent == content)
            return row;
    }
    return -1;
}

bool tableShows(const SMSUITableWidget *table, const QString &content)
{
    return rowOf(table, content) >= 0;
}

// Where a folder stores its messages: sent items are PC outbox messages marked sent.
QPair<int, int> storedAs(int position)
{
    const int stored = position == EN_LOCAL_SENTITEMS ? EN_LOCAL_OUTBOX : position;
    return {GetMemPosition(stored), stored};
}
} // namespace

class tst_DragDrop : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dropMovesCopiesOrIsRefused_data();
    void dropMovesCopiesOrIsRefused();
    void pressDecidesWhetherADragStarts_data();
    void pressDecidesWhetherADragStarts();
    void cardFillingUpStopsTheDragAndLosesNothing();

private:
    SMSUIMainDlg *open(const std::function<void()> &seed);
    // Presses on the row of `press` (inside its first column at `offset` from the column's
    // leading edge), moves by `distance` with the button held, then releases. A drag that
    // starts is dropped on target, with Ctrl when copy is set. Returns the number of drags.
    int pressMoveRelease(const QString &press, int offset, int distance, int target,
                         bool ctrl);
    bool waitForBatch();

    WindowFixture m_fixture;
    SMSUIMainDlg *m_w = nullptr;
    bool m_moveAccepted = false;
};

void tst_DragDrop::init()
{
    CommonUtils::SetMessageResponder([](const MessageRequest &) { return CommonUtils::FirstButton; });
}

void tst_DragDrop::cleanup()
{
    SMSUITableWidget::setDragExecutor({});
    if (SMSStatusUILogic *store = SMSStatusUILogic::Instance())
        store->unSDKRegisterEvent();
    CommonUtils::SetMessageResponder({});
    SMSThreadUI::m_bStopSmsThread = false;
    m_w = nullptr;
    m_fixture.tearDown();
    qApp->setLayoutDirection(Qt::LeftToRight);
}

SMSUIMainDlg *tst_DragDrop::open(const std::function<void()> &seed)
{
    m_fixture.setUp();
    CommonUtils::SetSettings(QStringLiteral("customize"), QStringLiteral("simtype"),
                             QStringLiteral("USIM"));
    seed();
    m_w = WindowFixture::createWindow(/* simPresent */ true);
    if (!m_w || SMSStatusUILogic::Instance()->InitStatusLogic() != 0)
        return nullptr;
    m_w->treeWidget()->expandAll();
    return m_w;
}

int tst_DragDrop::pressMoveRelease(const QString &press, int offset, int distance, int target,
                                   bool ctrl)
{
    int drags = 0;
    m_moveAccepted = false;
    SMSUITableWidget::setDragExecutor([&](QDrag *drag) {
        ++drags;
        SMSUITreeWidget *tree = m_w->treeWidget();
        QTreeWidgetItem *item = m_w->treeItem(_EN_SMS_POSITION(target));
        if (!item)
            return Qt::IgnoreAction;
        const QPoint at = tree->visualItemRect(item).center();
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        const Qt::KeyboardModifiers mods = ctrl ? Qt::ControlModifier : Qt::NoModifier;
        QDragEnterEvent enter(at, offered, drag->mimeData(), Qt::LeftButton, mods);
        QCoreApplication::sendEvent(tree->viewport(), &enter);
        if (!enter.isAccepted())
            return Qt::IgnoreAction;
        QDragMoveEvent move(at, offered, drag->mimeData(), Qt::LeftButton, mods);
        QCoreApplication::sendEvent(tree->viewport(), &move);
        m_moveAccepted = move.isAccepted();
        QDropEvent drop(QPointF(at), offered, drag->mimeData(), Qt::LeftButton, mods);
        QCoreApplication::sendEvent(tree->viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    });
    SMSUITableWidget *table = m_w->currentTable();
    const int row = rowOf(table, press);
    if (row < 0)
        return -1;
    const QRect cell = table->visualRect(table->model()->index(row, 0));
    const int x = table->isRightToLeft() ? cell.right() - offset : cell.left() + offset;
    const QPoint start(x, cell.center().y());
    QWidget *viewport = table->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, start);
    const QPoint end = start + QPoint(0, distance);
    QMouseEvent moved(QEvent::MouseMove, end, viewport->mapToGlobal(end), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &moved);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, end);
    return drags;
}

bool tst_DragDrop::waitForBatch()
{
    // One window per case, so a worker that ever ran ran for this drop.
    SMSThreadUI &worker = m_w->workerThread();
    if (!worker.isRunning() && !worker.isFinished())
        return false;
    return QTest::qWaitFor([&] { return worker.isFinished() && m_w->selectedDragRows() == 0
                                        && m_w->draggedRecords().isEmpty()
                                        && !m_w->batchPending(); },
                           60000);
}

void tst_DragDrop::dropMovesCopiesOrIsRefused_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("status");   // 1 unsent, 0 sent
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("pcToCard");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QString>("outcome");  // "move", "copy" or "refused"

    auto row = [](const char *name, int source, int status, int target, bool pcToCard,
                  bool ctrl, const char *outcome) {
        QTest::newRow(name) << source << status << target << pcToCard << ctrl
                            << QString::fromLatin1(outcome);
    };
    row("PC inbox -> trash", EN_LOCAL_INBOX, 1, EN_LOCAL_TRASH, true, false, "move");
    row("PC inbox -> trash, Ctrl", EN_LOCAL_INBOX, 1, EN_LOCAL_TRASH, true, true, "copy");
    row("PC inbox -> card inbox", EN_LOCAL_INBOX, 1, EN_SIM_INBOX, true, false, "copy");
    row("PC inbox -> card inbox, no PC-to-card", EN_LOCAL_INBOX, 1, EN_SIM_INBOX, false,
        false, "refused");
    row("PC inbox -> device outbox", EN_LOCAL_INBOX, 1, EN_DEVICE_OUTBOX, true, false,
        "refused");
    row("PC inbox onto itself", EN_LOCAL_INBOX, 1, EN_LOCAL_INBOX, true, false, "refused");
    row("PC inbox -> PC root", EN_LOCAL_INBOX, 1, EN_LOCAL_ROOT, true, false, "refused");
    row("PC outbox -> sent items", EN_LOCAL_OUTBOX, 1, EN_LOCAL_SENTITEMS, true, false,
        "refused");
    row("PC outbox -> favourites", EN_LOCAL_OUTBOX, 1, EN_LOCAL_FAVORITE, true, false, "move");
    row("PC outbox -> device outbox", EN_LOCAL_OUTBOX, 1, EN_DEVICE_OUTBOX, true, false, "copy");
    row("PC outbox -> device outbox, no PC-to-card", EN_LOCAL_OUTBOX, 1, EN_DEVICE_OUTBOX,
        false, false, "refused");
    row("sent items -> card outbox", EN_LOCAL_SENTITEMS, 0, EN_SIM_OUTBOX, true, false, "copy");
    row("drafts -> favourites", EN_LOCAL_DRAFT, 1, EN_LOCAL_FAVORITE, true, false, "move");
    row("drafts -> PC inbox", EN_LOCAL_DRAFT, 1, EN_LOCAL_INBOX, true, false, "refused");
    row("favourites -> drafts, Ctrl", EN_LOCAL_FAVORITE, 1, EN_LOCAL_DRAFT, true, true, "copy");
    row("trash -> PC inbox", EN_LOCAL_TRASH, 1, EN_LOCAL_INBOX, true, false, "refused");
    row("card inbox -> PC inbox", EN_SIM_INBOX, 1, EN_LOCAL_INBOX, false, false, "copy");
    row("card inbox -> trash", EN_SIM_INBOX, 1, EN_LOCAL_TRASH, false, false, "copy");
    row("card inbox -> PC outbox", EN_SIM_INBOX, 1, EN_LOCAL_OUTBOX, true, false, "refused");
    row("card inbox onto itself", EN_SIM_INBOX, 1, EN_SIM_INBOX, true, false, "refused");
    row("device inbox -> card inbox", EN_DEVICE_INBOX, 1, EN_SIM_INBOX, false, false, "copy");
    row("card outbox, unsent -> PC outbox", EN_SIM_OUTBOX, 1, EN_LOCAL_OUTBOX, false, false,
        "copy");
    row("card outbox, sent -> PC outbox", EN_SIM_OUTBOX, 0, EN_LOCAL_OUTBOX, false, false,
        "refused");
    row("device outbox, sent -> sent items", EN_DEVICE_OUTBOX, 0, EN_LOCAL_SENTITEMS, false,
        false, "copy");
    row("device outbox, unsent -> sent items", EN_DEVICE_OUTBOX, 1, EN_LOCAL_SENTITEMS, false,
        false, "refused");
    row("device outbox -> card outbox", EN_DEVICE_OUTBOX, 1, EN_SIM_OUTBOX, false, false, "copy");
}

// Two messages dragged together land where the folders say, in the SDK and in the
// tables; a move leaves nothing behind, a copy keeps the source, a refusal changes nothing.
void tst_DragDrop::dropMovesCopiesOrIsRefused()
{
    QFETCH(int, source);
    QFETCH(int, status);
    QFETCH(int, target);
    QFETCH(bool, pcToCard);
    QFETCH(bool, ctrl);
    QFETCH(QString, outcome);
    const QStringList contents{QStringLiteral("first"), QStringLiteral("second")};
    QVERIFY(open([&] {
        const int stored = storedAs(source).second;
        for (const QString &c : contents)
            WindowFixture::save(stored, "+491701", c, "20260101120000", 0, status);
    }));
    SMSStatusUILogic::Instance()->setPCToCardFlag(pcToCard);
    m_w->onClickSMSTreeNode(m_w->treeItem(_EN_SMS_POSITION(source)), 0);
    SMSUITableWidget *table = m_w->currentTable();
    QCOMPARE(table->rowCount(), 2);
    table->selectAll();

    QCOMPARE(pressMoveRelease(contents.first(), 4, 40, target, ctrl), 1);
    QCOMPARE(m_moveAccepted, outcome != QLatin1String("refused"));
    const bool ran = waitForBatch();
    QCOMPARE(ran, outcome != QLatin1String("refused"));
    QCOMPARE(m_w->droppedFlag(), 0);

    Places expected{storedAs(source)};
    if (outcome == QLatin1String("move"))
        expected = {storedAs(target)};
    else if (outcome == QLatin1String("copy"))
        expected.append(storedAs(target));
    std::sort(expected.begin(), expected.end());
    for (const QString &c : contents) {
        QCOMPARE(storedPlaces(c), expected);
        QCOMPARE(tableShows(m_w->tableAt(_EN_SMS_POSITION(source)), c),
                 outcome != QLatin1String("move"));
        if (outcome != QLatin1String("refused"))
            QVERIFY(tableShows(m_w->tableAt(_EN_SMS_POSITION(target)), c));
    }
    // The folder the rows came from is still the one on show.
    QCOMPARE(m_w->selectedTreeNode(), source);
    QCOMPARE(m_w->treeWidget()->currentItem(), m_w->treeItem(_EN_SMS_POSITION(source)));
    QCOMPARE(m_w->currentTable(), m_w->tableAt(_EN_SMS_POSITION(source)));
}

void tst_DragDrop::pressDecidesWhetherADragStarts_data()
{
    QTest::addColumn<bool>("rightToLeft");
    QTest::addColumn<bool>("leadingHalf");
    QTest::addColumn<int>("distance");  // in start-drag distances
    QTest::addColumn<int>("drags");
    for (bool rtl : {false, true}) {
        const char *dir = rtl ? "right to left" : "left to right";
        QTest::addRow("%s, leading half, far", dir) << rtl << true << 3 << 1;
        QTest::addRow("%s, leading half, short", dir) << rtl << true << 0 << 0;
        QTest::addRow("%s, trailing half, far", dir) << rtl << false << 3 << 0;
    }
}

// Only a press in the leading half of a column (mirrored right to left) may start a drag,
// and only once the mouse has moved the platform's drag distance.
void tst_DragDrop::pressDecidesWhetherADragStarts()
{
    QFETCH(bool, rightToLeft);
    QFETCH(bool, leadingHalf);
    QFETCH(int, distance);
    QFETCH(int, drags);
    qApp->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    QVERIFY(open([] {
        WindowFixture::save(EN_LOCAL_INBOX, "+491701", "one");
        WindowFixture::save(EN_LOCAL_INBOX, "+491702", "two");
    }));
    m_w->onClickSMSTreeNode(m_w->treeItem(EN_LOCAL_INBOX), 0);
    SMSUITableWidget *table = m_w->currentTable();
    QCOMPARE(table->isRightToLeft(), rightToLeft);
    table->selectAll();
    const int width = table->columnWidth(0);
    const int offset = leadingHalf ? 3 : width - 3;
    const int pixels = distance == 0 ? QApplication::startDragDistance() / 2
                                     : distance * QApplication::startDragDistance();
    // Onto the folder the rows come from: refused, so that nothing else changes.
    QCOMPARE(pressMoveRelease(QStringLiteral("one"), offset, pixels, EN_LOCAL_INBOX, false),
             drags);
    if (leadingHalf) {
        QCOMPARE(m_w->dragSourcePosition(), int(EN_LOCAL_INBOX));
        QCOMPARE(m_w->draggedRecords().size(), 2);
        QCOMPARE(m_w->selectedDragRows(), 2);
    } else {
        QVERIFY(m_w->draggedRecords().isEmpty());
    }
    QCOMPARE(m_w->isDragInProgress(), false);  // cleared by the release
    QVERIFY(!m_w->workerThread().isRunning());
}

// A card that fills up half-way: the copy stops there, says so, and every message is
// still on the PC.
void tst_DragDrop::cardFillingUpStopsTheDragAndLosesNothing()
{
    const QStringList contents{"a", "b", "c", "d"};
    QVERIFY(open([&] {
        SimCtl_SetCapacity(UTPS_SMS_MEM_SIM, 2);
        for (const QString &c : contents)
            WindowFixture::save(EN_LOCAL_INBOX, "+491701", c);
    }));
    SMSStatusUILogic::Instance()->setPCToCardFlag(true);
    m_w->onClickSMSTreeNode(m_w->treeItem(EN_LOCAL_INBOX), 0);
    m_w->currentTable()->selectAll();
    QCOMPARE(pressMoveRelease(QStringLiteral("a"), 4, 40, EN_SIM_INBOX, false), 1);
    QVERIFY(waitForBatch());

    QLabel *label = m_w->waitingDialog()->dialog()->findChild<QLabel *>(
        QStringLiteral("SMSUIPlugin_WaitingDialogLabel"));
    QVERIFY(label);
    QString full = SMSUIMainDlg::tr(QStringLiteral("IDS_STR_MEMORY_IS_FULL"));
    full.replace(QStringLiteral("%s"), QStringLiteral("USIM"));
    QCOMPARE(label->text(), full);
    int onCard = 0;
    for (const QString &c : contents) {
        const Places places = storedPlaces(c);
        QVERIFY(places.contains(qMakePair(int(UTPS_SMS_MEM_PC), int(EN_LOCAL_INBOX))));
        onCard += places.size() - 1;
    }
    QCOMPARE(onCard, 2);
    QCOMPARE(m_w->tableAt(EN_SIM_INBOX)->rowCount(), 2);
    QCOMPARE(m_w->tableAt(EN_LOCAL_INBOX)->rowCount(), 4);
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->waitingDialog()->dialog()->isVisible(), 10000);
}

QTEST_MAIN(tst_DragDrop)
#include "tst_dragdrop.moc"
