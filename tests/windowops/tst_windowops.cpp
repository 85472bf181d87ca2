// SPDX-License-Identifier: GPL-3.0-or-later
// Delete, move, copy, recover and send from the real window, on the real simulator: what
// lands where (in the SDK and in the tables), the verdict the progress dialog shows, the
// usage counts, and that no message is lost when SDK calls fail or the user cancels.
#include <QDomDocument>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTreeWidgetItem>
#include <QtTest>

#include <functional>

#include "operations/SMSThreadUI.h"
#include "store/SMSStatusUILogic.h"
#include "window/SMSUITableWidget.h"
#include "window/SMSWaitingDlg.h"
#include "QueuedSpy.h"
#include "sdk_modem.h"
#include "WindowFixture.h"

namespace {
constexpr int kOk = CommonUtils::FirstButton;
constexpr int kCancel = CommonUtils::SecondButton;
const char kOwnNumber[] = "+15550100";

QString key(const char *k)
{
    return SMSUIMainDlg::tr(QString::fromLatin1(k));
}


int storedCount(int memory)
{
    int count = -1;
    UTPS_SMSSrv_SMSRecordSetGetRecordCount(&count, _UTPS_EN_SMS_MEM(memory));
    return count;
}

QStringList tableContents(const SMSUITableWidget *table)
{
    QStringList contents;
    for (int row = 0; table && row < table->rowCount(); ++row) {
        if (const SmsRecord *record = table->recordAt(row))
            contents << record->strContent;
    }
    contents.sort();
    return contents;
}

void selectRows(SMSUITableWidget *table, const QStringList &contents)
{
    table->clearSelection();
    for (int row = 0; row < table->rowCount(); ++row) {
        const SmsRecord *record = table->recordAt(row);
        if (record && contents.contains(record->strContent))
            table->selectionModel()->select(table->model()->index(row, 0),
                                            QItemSelectionModel::Select
                                                | QItemSelectionModel::Rows);
    }
}

QString usageValue(const QString &item, const QString &name)
{
    QFile file(SMSUIMainDlg::usageStatisticsFilePath());
    QDomDocument doc;
    if (!file.open(QIODevice::ReadOnly) || !doc.setContent(&file))
        return QStringLiteral("<unreadable>");
    for (QDomElement it = doc.documentElement().firstChildElement(QStringLiteral("Item"));
         !it.isNull(); it = it.nextSiblingElement(QStringLiteral("Item"))) {
        if (it.attribute(QStringLiteral("itemname")) == item)
            return it.firstChildElement(name).text();
    }
    return QStringLiteral("<missing>");
}
} // namespace

class tst_WindowOps : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deleteFromInboxLandsInTrashAsRead();
    void deleteIsFinal_data();
    void deleteIsFinal();
    void moveAndCopyBetweenStorages_data();
    void moveAndCopyBetweenStorages();
    void declinedCopyLeavesAMoveNext();
    void recoverReturnsToFolderOfOrigin();
    void failuresAreCountedAndNothingIsLost_data();
    void failuresAreCountedAndNothingIsLost();
    void fullCardStopsTheMove();
    void cancelStopsABatchInTheMiddle();
    void sendVerdictsAndUsageCounts();
    void cancelStopsTheRemainingRecipients_data();
    void cancelStopsTheRemainingRecipients();
    void modemDeletionsLeaveTheTables_data();
    void modemDeletionsLeaveTheTables();
    void sendButtonsFollowTheirRecipientLines();
    void closingDuringASend_data();
    void closingDuringASend();
    void sendVerdict_data();
    void sendVerdict();
    void unsentCopyShowsWhenNoSentCopyCanBeStored();
    void unknownSendShowsUntilSettled_data();
    void unknownSendShowsUntilSettled();

private:
    SMSUIMainDlg *open(const std::function<void()> &seed = {});
    void show(_EN_SMS_POSITION position);
    bool runBatch(const std::function<void()> &command);
    QLabel *dialogLabel() const;
    QPushButton *dialogButton() const;

    WindowFixture m_fixture;
    SMSUIMainDlg *m_w = nullptr;
    QStringList m_asked;
    int m_answer = kOk;
};

void tst_WindowOps::init()
{
    m_asked.clear();
    m_answer = kOk;
    CommonUtils::SetMessageResponder([this](const MessageRequest &request) {
        m_asked << request.text;
        return m_answer;
    });
}

void tst_WindowOps::cleanup()
{
    if (SMSStatusUILogic *store = SMSStatusUILogic::Instance())
        store->unSDKRegisterEvent();
    CommonUtils::SetMessageResponder({});
    SMSThreadUI::m_bStopSmsThread = false;
    m_w = nullptr;
    m_fixture.tearDown();
}

SMSUIMainDlg *tst_WindowOps::open(const std::function<void()> &seed)
{
    m_fixture.setUp();
    CommonUtils::SetSettings(QStringLiteral("customize"), QStringLiteral("simtype"),
                             QStringLiteral("USIM"));
    if (seed)
        seed();
    m_w = WindowFixture::createWindow(/* simPresent */ true);
    if (m_w && SMSStatusUILogic::Instance()->InitStatusLogic() != 0)
        return nullptr;
    return m_w;
}

void tst_WindowOps::show(_EN_SMS_POSITION position)
{
    m_w->onClickSMSTreeNode(m_w->treeItem(position), 0);
}

// Runs a command that starts the worker and waits for the batch and its refresh to end.
bool tst_WindowOps::runBatch(const std::function<void()> &command)
{
    QueuedSpy<> finished(&m_w->workerThread(), &QThread::finished);
    command();
    // A worker that already ended has its finished() still queued: give it the chance to
    // arrive before deciding that the command never started one.
    if (finished.count() == 0 && !m_w->workerThread().isRunning() && !finished.wait(2000)) {
        qWarning("the command did not start the worker (asked: %s)",
                 qPrintable(m_asked.join(QLatin1Char('|'))));
        return false;
    }
    if (finished.count() == 0 && !finished.wait(60000))
        return false;
    // The window brings its tables in line over the next turns of the event loop.
    return QTest::qWaitFor([this] { return !m_w->batchPending(); }, 60000);
}

QLabel *tst_WindowOps::dialogLabel() const
{
    WaitingDlg *dialog = m_w->waitingDialog() ? m_w->waitingDialog()->dialog() : nullptr;
    return dialog ? dialog->findChild<QLabel *>(QStringLiteral("SMSUIPlugin_WaitingDialogLabel"))
                  : nullptr;
}

QPushButton *tst_WindowOps::dialogButton() const
{
    WaitingDlg *dialog = m_w->waitingDialog() ? m_w->waitingDialog()->dialog() : nullptr;
    return dialog ? dialog->findChild<QPushButton *>(
               QStringLiteral("SMSUIPlugin_WaitingDialogCancel"))
                  : nullptr;
}

// The Delete key deletes whole selected rows only; an inbox message goes to the trash
// under the same id, read, and both folders' counts follow.
void tst_WindowOps::deleteFromInboxLandsInTrashAsRead()
{
    QVERIFY(open([] {
        WindowFixture::save(EN_LOCAL_INBOX, "+491701", "unread one", "20260101120000", 1);
        WindowFixture::save(EN_LOCAL_INBOX, "+491702", "read one");
        WindowFixture::save(EN_LOCAL_INBOX, "+491703", "stays");
    }));
    show(EN_LOCAL_INBOX);
    SMSUITableWidget *inbox = m_w->currentTable();
    QCOMPARE(inbox->rowCount(), 3);
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w));

    inbox->setFocus();
    QTest::keyClick(inbox, Qt::Key_Delete);  // nothing selected
    QVERIFY(m_asked.isEmpty());
    QVERIFY(!m_w->workerThread().isRunning());

    selectRows(inbox, {"unread one", "read one"});
    QVERIFY(runBatch([&] { QTest::keyClick(inbox, Qt::Key_Delete); }));
    QCOMPARE(m_asked, QStringList{key("IDS_STR_DELETE")});

    QCOMPARE(tableContents(inbox), QStringList{"stays"});
    SMSUITableWidget *trash = m_w->tableAt(EN_LOCAL_TRASH);
    QCOMPARE(tableContents(trash), (QStringList{"read one", "unread one"}));
    for (int row = 0; row < trash->rowCount(); ++row)
        QCOMPARE(trash->recordAt(row)->iReadStatus, 0);
    QCOMPARE(storedPlaces("unread one"), (QList<QPair<int, int>>{{0, EN_LOCAL_TRASH}}));
    QCOMPARE(m_w->treeItem(EN_LOCAL_INBOX)->text(0), key("IDS_TREE_LINBOX") + "(0/1)");
    QCOMPARE(m_w->treeItem(EN_LOCAL_TRASH)->text(0), key("IDS_TREE_LTRASH") + "(2)");
    // Done: the dialog, a framed window of its own, says so beside its OK button.
    QCOMPARE(dialogButton()->text(), QStringLiteral("OK"));
    QCOMPARE(dialogLabel()->text(), key("IDS_STR_ALL_DELETED"));
    QVERIFY(!(m_w->waitingDialog()->dialog()->windowFlags() & Qt::FramelessWindowHint));
    // The keyboard user keeps a place: the row that moved up is the selected one.
    QCOMPARE(inbox->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(inbox->currentRow(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->waitingDialog()->dialog()->isVisible(), 10000);
}

void tst_WindowOps::deleteIsFinal_data()
{
    QTest::addColumn<int>("position");
    QTest::newRow("trash") << int(EN_LOCAL_TRASH);
    QTest::newRow("card inbox") << int(EN_SIM_INBOX);
    QTest::newRow("device outbox") << int(EN_DEVICE_OUTBOX);
}

// Delete all in the trash or on a card removes the messages for good.
void tst_WindowOps::deleteIsFinal()
{
    QFETCH(int, position);
    QVERIFY(open([position] {
        WindowFixture::save(position, "+491701", "first");
        WindowFixture::save(position, "+491702", "second");
    }));
    const auto pos = _EN_SMS_POSITION(position);
    show(pos);
    QCOMPARE(m_w->currentTable()->rowCount(), 2);
    QVERIFY(runBatch([&] { m_w->onButtonClickDeleteAll(); }));
    QCOMPARE(m_asked, QStringList{key("IDS_STR_CLEARALL")});
    QCOMPARE(m_w->tableAt(pos)->rowCount(), 0);
    QCOMPARE(m_w->tableAt(_EN_SMS_POSITION(GetParentPos(position)))->rowCount(), 0);
    QCOMPARE(m_w->tableAt(EN_LOCAL_TRASH)->rowCount(), 0);
    QVERIFY(storedPlaces("first").isEmpty());
    QVERIFY(storedPlaces("second").isEmpty());
}

void tst_WindowOps::moveAndCopyBetweenStorages_data()
{
    QTest::addColumn<int>("shown");        // tree node the command starts from
    QTest::addColumn<QList<int>>("from");  // where the messages are stored
    QTest::addColumn<int>("storage");      // storage chosen in the command
    QTest::addColumn<bool>("copy");
    QTest::addColumn<QList<int>>("to");    // where each lands
    QTest::addColumn<QString>("name");     // storage named in the confirmation

    using L = QList<int>;
    QTest::newRow("card inbox -> PC") << int(EN_SIM_INBOX) << L{EN_SIM_INBOX, EN_SIM_INBOX}
                                      << int(UTPS_SMS_MEM_PC) << false
                                      << L{EN_LOCAL_INBOX, EN_LOCAL_INBOX} << "This Computer";
    QTest::newRow("PC sent items -> card") << int(EN_LOCAL_SENTITEMS) << L{EN_LOCAL_SENTITEMS}
                                           << int(UTPS_SMS_MEM_SIM) << false
                                           << L{EN_SIM_OUTBOX} << "USIM";
    QTest::newRow("card inbox -> device") << int(EN_SIM_INBOX) << L{EN_SIM_INBOX}
                                          << int(UTPS_SMS_MEM_DEVICE) << false
                                          << L{EN_DEVICE_INBOX} << "Device";
    QTest::newRow("device outbox -> card, copy") << int(EN_DEVICE_OUTBOX) << L{EN_DEVICE_OUTBOX}
                                                 << int(UTPS_SMS_MEM_SIM) << true
                                                 << L{EN_SIM_OUTBOX} << "USIM";
    QTest::newRow("PC inbox -> device, copy") << int(EN_LOCAL_INBOX) << L{EN_LOCAL_INBOX}
                                              << int(UTPS_SMS_MEM_DEVICE) << true
                                              << L{EN_DEVICE_INBOX} << "Device";
    QTest::newRow("card root -> PC") << int(EN_SIM_ROOT) << L{EN_SIM_INBOX, EN_SIM_OUTBOX}
                                     << int(UTPS_SMS_MEM_PC) << false
                                     << L{EN_LOCAL_INBOX, EN_LOCAL_OUTBOX} << "This Computer";
    QTest::newRow("device root -> card, copy") << int(EN_DEVICE_ROOT)
                                               << L{EN_DEVICE_INBOX, EN_DEVICE_OUTBOX}
                                               << int(UTPS_SMS_MEM_SIM) << true
                                               << L{EN_SIM_INBOX, EN_SIM_OUTBOX} << "USIM";
}

// Every message lands in the folder the destination rules give, in the SDK and in the
// destination's table; a move leaves nothing behind, a copy keeps the source.
void tst_WindowOps::moveAndCopyBetweenStorages()
{
    QFETCH(int, shown);
    QFETCH(QList<int>, from);
    QFETCH(int, storage);
    QFETCH(bool, copy);
    QFETCH(QList<int>, to);
    QFETCH(QString, name);
    QStringList contents;
    for (int i = 0; i < from.size(); ++i)
        contents << QStringLiteral("message %1").arg(i);
    QVERIFY(open([&] {
        for (int i = 0; i < from.size(); ++i) {
            // Sent items are the PC outbox's sent messages.
            const int position = from.at(i) == EN_LOCAL_SENTITEMS ? EN_LOCAL_OUTBOX : from.at(i);
            const int status = from.at(i) == EN_LOCAL_SENTITEMS ? 0 : 1;
            WindowFixture::save(position, "+491701", contents.at(i), "20260101120000", 0, status);
        }
    }));
    show(_EN_SMS_POSITION(shown));
    QCOMPARE(m_w->currentTable()->rowCount(), from.size());
    const bool all = shown == EN_SIM_ROOT || shown == EN_DEVICE_ROOT;
    if (!all)
        selectRows(m_w->currentTable(), contents);
    QVERIFY(runBatch([&] {
        if (copy)
            all ? m_w->onClickCopyAll(storage) : m_w->onClickCopy(storage);
        else
            all ? m_w->onClickMoveAll(storage) : m_w->onClickMove(storage);
    }));
    QCOMPARE(m_asked.size(), 1);
    QVERIFY2(m_asked.first().contains(name), qPrintable(m_asked.first()));
    QVERIFY(!m_asked.first().contains(QLatin1String("%s")));

    for (int i = 0; i < from.size(); ++i) {
        const QString &content = contents.at(i);
        const int target = to.at(i);
        QList<QPair<int, int>> expected{{GetMemPosition(target), target == EN_LOCAL_SENTITEMS
                                                                     ? EN_LOCAL_OUTBOX
                                                                     : target}};
        if (copy)
            expected.append({GetMemPosition(from.at(i)), from.at(i)});
        std::sort(expected.begin(), expected.end());
        QCOMPARE(storedPlaces(content), expected);
        QVERIFY(tableContents(m_w->tableAt(_EN_SMS_POSITION(target))).contains(content));
        QCOMPARE(tableContents(m_w->tableAt(_EN_SMS_POSITION(from.at(i)))).contains(content), copy);
    }
    QCOMPARE(m_w->pendingMoveCopyCode(), 2);
    QVERIFY(dialogLabel()->text() != key("IDS_STR_SOME_FAILED"));
}

// A copy declined at the confirmation leaves nothing changed, and the next command moves.
void tst_WindowOps::declinedCopyLeavesAMoveNext()
{
    QVERIFY(open([] { WindowFixture::save(EN_SIM_INBOX, "+491701", "card message"); }));
    show(EN_SIM_INBOX);
    selectRows(m_w->currentTable(), {"card message"});
    m_answer = kCancel;
    m_w->onClickCopy(UTPS_SMS_MEM_PC);
    QCOMPARE(m_asked.size(), 1);
    QVERIFY(m_asked.first().startsWith(QStringLiteral("Copy")));
    QVERIFY(!m_w->workerThread().isRunning());
    QCOMPARE(m_w->pendingMoveCopyCode(), 2);

    m_answer = kOk;
    QVERIFY(runBatch([&] { m_w->onClickMove(UTPS_SMS_MEM_PC); }));
    QVERIFY(m_asked.last().startsWith(QStringLiteral("Move")));
    QCOMPARE(storedPlaces("card message"),
             (QList<QPair<int, int>>{{UTPS_SMS_MEM_PC, EN_LOCAL_INBOX}}));
}

// Recover puts each message back in the folder it was deleted from, without asking.
void tst_WindowOps::recoverReturnsToFolderOfOrigin()
{
    QVERIFY(open([] {
        WindowFixture::save(EN_LOCAL_INBOX, "+491701", "from inbox");
        WindowFixture::save(EN_LOCAL_OUTBOX, "+491702", "from outbox");
    }));
    show(EN_LOCAL_ROOT);
    selectRows(m_w->currentTable(), {"from inbox", "from outbox"});
    QVERIFY(runBatch([&] { m_w->onButtonClickDelete(); }));
    QCOMPARE(tableContents(m_w->tableAt(EN_LOCAL_TRASH)), (QStringList{"from inbox", "from outbox"}));
    m_asked.clear();

    show(EN_LOCAL_TRASH);
    selectRows(m_w->currentTable(), {"from inbox", "from outbox"});
    QVERIFY(runBatch([&] { m_w->onButtonClickRecoverMessages(); }));
    QVERIFY(m_asked.isEmpty());
    QCOMPARE(m_w->tableAt(EN_LOCAL_TRASH)->rowCount(), 0);
    QCOMPARE(tableContents(m_w->tableAt(EN_LOCAL_INBOX)), QStringList{"from inbox"});
    QCOMPARE(tableContents(m_w->tableAt(EN_LOCAL_OUTBOX)), QStringList{"from outbox"});
    QCOMPARE(storedPlaces("from inbox"), (QList<QPair<int, int>>{{0, EN_LOCAL_INBOX}}));
    QCOMPARE(storedPlaces("from outbox"), (QList<QPair<int, int>>{{0, EN_LOCAL_OUTBOX}}));
}

void tst_WindowOps::failuresAreCountedAndNothingIsLost_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<int>("stayed");  // messages still in the card inbox or PC inbox
    QTest::newRow("move, one save fails") << "move" << "UTPS_SMSSrv_SaveMsg"
                                          << "IDS_STR_SOME_FAILED" << 1;
    QTest::newRow("move, no transaction") << "move" << "UTPS_SMSSrv_BeginTransaction"
                                          << "IDS_STR_ALL_FAILED" << 3;
    QTest::newRow("delete, one fails") << "delete" << "UTPS_SMSSrv_DeleteMsg"
                                       << "IDS_STR_SOME_FAILED" << 1;
    QTest::newRow("delete, no transaction") << "delete" << "UTPS_SMSSrv_BeginTransaction"
                                            << "IDS_STR_ALL_FAILED" << 3;
    QTest::newRow("move, commit fails") << "move" << "UTPS_SMSSrv_EndTransaction"
                                        << "IDS_STR_ALL_FAILED" << 3;
    QTest::newRow("delete, commit fails") << "delete" << "UTPS_SMSSrv_EndTransaction"
                                          << "IDS_STR_ALL_FAILED" << 3;
}

// Injected SDK failures: the verdict names them, the dialog still reaches its end and
// closes, and every message is still stored exactly once.
void tst_WindowOps::failuresAreCountedAndNothingIsLost()
{
    QFETCH(QString, command);
    QFETCH(QString, failing);
    QFETCH(QString, verdict);
    QFETCH(int, stayed);
    const bool move = command == QLatin1String("move");
    const QStringList contents{"one", "two", "three"};
    const int source = move ? EN_SIM_INBOX : EN_LOCAL_INBOX;
    QVERIFY(open([&] {
        for (const QString &c : contents)
            WindowFixture::save(source, "+491701", c);
    }));
    show(_EN_SMS_POSITION(source));
    selectRows(m_w->currentTable(), contents);
    QCOMPARE(SimCtl_FailNextCalls(failing.toLatin1().constData(), 1, 0), 0L);
    QVERIFY(runBatch([&] {
        move ? m_w->onClickMove(UTPS_SMS_MEM_PC) : m_w->onButtonClickDelete();
    }));
    QCOMPARE(dialogLabel()->text(), key(verdict.toLatin1().constData()));
    QCOMPARE(dialogButton()->text(), QStringLiteral("OK"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->waitingDialog()->dialog()->isVisible(), 10000);

    int inSource = 0;
    for (const QString &c : contents) {
        const QList<QPair<int, int>> places = storedPlaces(c);
        QCOMPARE(places.size(), 1);
        inSource += places.first().second == source ? 1 : 0;
    }
    QCOMPARE(inSource, stayed);
    QCOMPARE(m_w->tableAt(_EN_SMS_POSITION(source))->rowCount(), stayed);
}

// No room left on the card: the move stops there, says so, and the rest stays on the PC.
void tst_WindowOps::fullCardStopsTheMove()
{
    const QStringList contents{"a", "b", "c", "d"};
    QVERIFY(open([&] {
        SimCtl_SetCapacity(UTPS_SMS_MEM_SIM, 2);
        for (const QString &c : contents)
            WindowFixture::save(EN_LOCAL_INBOX, "+491701", c);
    }));
    show(EN_LOCAL_INBOX);
    selectRows(m_w->currentTable(), contents);
    QVERIFY(runBatch([&] { m_w->onClickMove(UTPS_SMS_MEM_SIM); }));
    QString full = key("IDS_STR_MEMORY_IS_FULL");
    full.replace(QStringLiteral("%s"), QStringLiteral("USIM"));
    QCOMPARE(dialogLabel()->text(), full);
    QCOMPARE(storedCount(UTPS_SMS_MEM_SIM), 2);
    QCOMPARE(m_w->tableAt(EN_SIM_INBOX)->rowCount(), 2);
    QCOMPARE(m_w->tableAt(EN_LOCAL_INBOX)->rowCount(), 2);
    for (const QString &c : contents)
        QCOMPARE(storedPlaces(c).size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->waitingDialog()->dialog()->isVisible(), 10000);
}

// Cancel half-way through a long delete: the worker stops between two messages, and the
// tables agree with what the SDK holds.
void tst_WindowOps::cancelStopsABatchInTheMiddle()
{
    constexpr int kCount = 1000;
    QVERIFY(open([] {
        UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC);
        for (int i = 0; i < kCount; ++i)
            WindowFixture::save(EN_LOCAL_INBOX, "+491701", QStringLiteral("bulk %1").arg(i));
        UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC);
    }));
    show(EN_LOCAL_INBOX);
    m_w->currentTable()->selectAll();
    // Results arrive only after the batch's commit; while it runs, only its progress does.
    QueuedSpy<int, int> progress(&m_w->workerThread(), &SMSThreadUI::batchProgress);
    // The worker goes through 1,000 records faster than a click: it is held after its
    // second record until Cancel has been clicked.
    QSemaphore clicked;
    const QMetaObject::Connection hold = connect(
        &m_w->workerThread(), &SMSThreadUI::batchProgress, &m_w->workerThread(),
        [&clicked](int handled, int) {
            if (handled == 2)
                clicked.acquire();
        },
        Qt::DirectConnection);
    const auto release = qScopeGuard([&] {
        disconnect(hold);
        clicked.release();
    });
    QVERIFY(runBatch([&] {
        m_w->onButtonClickDelete();
        QVERIFY(progress.wait(20000));
        // The dialog follows the worker before any result has come.
        const QWidget *dialog = m_w->waitingDialog()->dialog();
        const auto *count = dialog->findChild<QLabel *>(QStringLiteral("SMSUIPlugin_WaitingDialogCount"));
        QTRY_VERIFY(count->text() != QStringLiteral("0/%1").arg(kCount));
        QTest::mouseClick(dialogButton(), Qt::LeftButton);
        clicked.release();
    }));
    QCOMPARE(dialogLabel()->text(), key("IDS_STR_CANCELLING"));
    int inInbox = 0;
    int inTrash = 0;
    for (int i = 0; i < kCount; i += 50) {
        const QList<QPair<int, int>> places = storedPlaces(QStringLiteral("bulk %1").arg(i));
        QCOMPARE(places.size(), 1);
    }
    int *ids = nullptr;
    int count = 0;
    QCOMPARE(UTPS_SMSSrv_GetSmsIdList(&ids, &count, UTPS_SMS_MEM_PC), 0L);
    UTPS_SMSSrv_ReleaseSmsIdList(&ids);
    QCOMPARE(count, kCount);
    inInbox = m_w->tableAt(EN_LOCAL_INBOX)->rowCount();
    inTrash = m_w->tableAt(EN_LOCAL_TRASH)->rowCount();
    QCOMPARE(inInbox + inTrash, kCount);
    QVERIFY2(inInbox > 0, "the batch ran to its end before Cancel");
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->waitingDialog()->dialog()->isVisible(), 10000);
    QVERIFY(!SMSThreadUI::m_bStopSmsThread);
}

// Verdicts of sends and what the usage file counts, also when the file was broken or is
// gone; the sent copy shows in the outbox (not all sent) or in sent items.
void tst_WindowOps::sendVerdictsAndUsageCounts()
{
    QVERIFY(open());
    const QString usage = SMSUIMainDlg::usageStatisticsFilePath();
    QDir(QFileInfo(usage).absolutePath()).removeRecursively();
    SimCtl_ScriptSendOutcome("+4420*", UTPS_E_SEND_FAILED);
    auto send = [&](const QString &to, const QString &text, int units) {
        QueuedSpy<int> copies(SMSStatusUILogic::Instance(), &SMSStatusUILogic::SMSSentRecord);
        QVERIFY(m_w->startSendOperation(to, text, units));
        QTRY_VERIFY_WITH_TIMEOUT(
            m_w->lastSendSuccessCount() + m_w->lastSendFailureCount() == units, 20000);
    };

    send("+15551234;+442071234567", "half", 2);
    QCOMPARE(m_w->lastSendFailureCount(), 1);
    QCOMPARE(dialogLabel()->text(), key("IDS_STC_SOMEFAILED"));
    QCOMPARE(dialogButton()->text(), QStringLiteral("OK"));
    QCOMPARE(usageValue("SMS02", "SMSSent"), QStringLiteral("2"));
    QCOMPARE(usageValue("SMS01", "SMSisUsing"), QStringLiteral("1"));
    QTRY_VERIFY(tableContents(m_w->tableAt(EN_LOCAL_OUTBOX)).contains("half"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->waitingDialog()->dialog()->isVisible(), 10000);

    QFile broken(usage);
    QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("<Client><Item itemname=\"SMS02\"><SMSSent>7");
    broken.close();
    send("+15551234", "all well", 1);
    QCOMPARE(dialogLabel()->text(), key("IDS_STC_ALLSUCCESS"));
    QCOMPARE(usageValue("SMS02", "SMSSent"), QStringLiteral("1"));
    QCOMPARE(QDir(QFileInfo(usage).absolutePath())
                 .entryList({QStringLiteral("kpi-sms.dat.broken-*")}, QDir::Files)
                 .size(),
             1);
    QTRY_VERIFY(tableContents(m_w->tableAt(EN_LOCAL_SENTITEMS)).contains("all well"));

    // Refused by the SDK (no results, no sent copy): every part of every recipient fails.
    QDir(QFileInfo(usage).absolutePath()).removeRecursively();
    SimCtl_FailNextCalls("UTPS_SMSSrv_SendMsg", 1, 0);
    send("+15551234;+15555678", QString(200, QLatin1Char('x')), 4);
    QCOMPARE(m_w->lastSendFailureCount(), 4);
    QCOMPARE(dialogLabel()->text(), key("IDS_STC_ALLFAILED"));
    QCOMPARE(usageValue("SMS02", "SMSSent"), QStringLiteral("4"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->waitingDialog()->dialog()->isVisible(), 10000);
}

void tst_WindowOps::cancelStopsTheRemainingRecipients_data()
{
    QTest::addColumn<bool>("afterFirst");
    QTest::addColumn<int>("received");
    QTest::newRow("after the first recipient") << true << 1;
    QTest::newRow("before the SDK took it") << false << 0;
}

// Cancel during a send to three recipients (all the modem's own number, so whoever got
// the message shows in the inbox): nobody after the cancel receives it.
void tst_WindowOps::cancelStopsTheRemainingRecipients()
{
    QFETCH(bool, afterFirst);
    QFETCH(int, received);
    QVERIFY(open());
    SimCtl_SetOwnNumber(kOwnNumber);
    SimCtl_SetSendDelay(1500);
    const int before = storedPlaces("ping").count({UTPS_SMS_MEM_PC, EN_LOCAL_INBOX});
    QueuedSpy<bool> results(SMSStatusUILogic::Instance(), &SMSStatusUILogic::SmsSendResult);
    QString to = QStringLiteral("%1;%1;%1").arg(kOwnNumber);
    if (afterFirst) {
        QVERIFY(m_w->startSendOperation(to, QStringLiteral("ping"), 3));
        QVERIFY(results.wait(20000));
        QTest::mouseClick(dialogButton(), Qt::LeftButton);
    } else {
        // The worker has the send but has not run yet when Cancel is pressed, and the
        // cancel worker finds nothing to cancel in the SDK: the order that lost the cancel.
        SMSWaitingDlg *progress = m_w->waitingDialog();
        progress->m_iSteps = 0;
        progress->m_iMaximum = 3;
        progress->ShowAnimationDialog(m_w, SMSWaitingDlg::OpSend);
        m_w->workerThread().SetSendSmsThreadOperation(DC_SMS_SEND, to, QStringLiteral("ping"));
        auto *canceller = progress->findChild<SMSThreadUI *>(
            QStringLiteral("SMSWaitingDlg_CancelSendThread"));
        QueuedSpy<> cancelled(canceller, &QThread::finished);
        QTest::mouseClick(dialogButton(), Qt::LeftButton);
        QVERIFY(cancelled.wait(20000));
        m_w->workerThread().start();
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_w->lastSendSuccessCount() + m_w->lastSendFailureCount(), 3,
                              20000);
    QCOMPARE(m_w->lastSendSuccessCount(), received);
    QCOMPARE(SimCtl_WaitIdle(10000), 0L);
    QCoreApplication::processEvents();
    QCOMPARE(storedPlaces("ping").count({UTPS_SMS_MEM_PC, EN_LOCAL_INBOX}) - before, received);
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->waitingDialog()->dialog()->isVisible(), 10000);
}

void tst_WindowOps::modemDeletionsLeaveTheTables_data()
{
    QTest::addColumn<int>("position");  // where the window files the message
    QTest::addColumn<int>("status");
    QTest::newRow("card inbox") << int(EN_SIM_INBOX) << 1;
    QTest::newRow("PC sent items") << int(EN_LOCAL_SENTITEMS) << 0;
    QTest::newRow("PC outbox") << int(EN_LOCAL_OUTBOX) << 1;
}

// The modem deletes a message by itself: its rows leave the folder's and the root's table.
void tst_WindowOps::modemDeletionsLeaveTheTables()
{
    QFETCH(int, position);
    QFETCH(int, status);
    int id = -1;
    QVERIFY(open([&] {
        const int stored = position == EN_LOCAL_SENTITEMS ? EN_LOCAL_OUTBOX : position;
        WindowFixture::save(stored, "+491701", "keep", "20260101120000", 0, status);
        id = WindowFixture::save(stored, "+491702", "gone", "20260101120000", 0, status);
    }));
    const auto pos = _EN_SMS_POSITION(position);
    const auto root = _EN_SMS_POSITION(GetParentPos(position));
    show(pos);
    QCOMPARE(tableContents(m_w->tableAt(pos)), (QStringList{"gone", "keep"}));
    QVERIFY(tableContents(m_w->tableAt(root)).contains("gone"));
    QCOMPARE(SimCtl_DeviceDeleteMsg(GetMemPosition(position), id), 0L);
    QTRY_COMPARE_WITH_TIMEOUT(tableContents(m_w->tableAt(pos)), QStringList{"keep"}, 10000);
    QVERIFY(!tableContents(m_w->tableAt(root)).contains("gone"));
    QVERIFY(m_w->tableAt(root)->rowCount() > 0);
}

// Each open editor's Send button follows its own recipient line.
void tst_WindowOps::sendButtonsFollowTheirRecipientLines()
{
    QVERIFY(open());
    QDialog editors[2];
    QPushButton *send[2];
    for (int i = 0; i < 2; ++i) {
        auto *line = new QLineEdit(i == 0 ? QStringLiteral("+491701") : QString(), &editors[i]);
        line->setObjectName(QStringLiteral("SMSUIPlugin_LineEditNumber"));
        send[i] = new QPushButton(&editors[i]);
        send[i]->setObjectName(QStringLiteral("SMSUIPlugin_ButtonSendMsg"));
        send[i]->setEnabled(false);
    }
    m_w->enableSendButton(true);
    QVERIFY(send[0]->isEnabled());
    QVERIFY(!send[1]->isEnabled());
    m_w->enableSendButton(false);
    QVERIFY(!send[0]->isEnabled());
}

void tst_WindowOps::closingDuringASend_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Yes: the program ends at 8 of 20") << kOk << true;
    QTest::newRow("No: the send goes on") << int(CommonUtils::ThirdButton) << false;
}

// Closing the window at 8 of 20 recipients asks first. Closed, the program ends as the
// host ends it (events dropped, window and SDK gone); the next start shows the message in
// the outbox, unsent, naming the 12 recipients left. Kept open, the send finishes and only
// the sent copy is left.
void tst_WindowOps::closingDuringASend()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QVERIFY(open());
    QStringList everybody;
    for (int i = 1; i <= 20; ++i)
        everybody << QStringLiteral("+4930777%1").arg(i, 2, 10, QLatin1Char('0'));
    const QString text = QStringLiteral("to twenty");

    // Nothing going out: the window closes without a question.
    QVERIFY(m_w->close());
    QVERIFY(m_asked.isEmpty());
    m_w->show();

    SimCtl_SetSendDelay(50);
    m_answer = answer;
    int reached = 0;
    bool closed = false;
    QObject context;
    connect(SMSStatusUILogic::Instance(), &SMSStatusUILogic::sendPartResult, &context,
            [&](const QString &, int part, int parts, bool) {
                if (part != parts || ++reached != 8)
                    return;
                closed = m_w->close();
                if (!closed)
                    return;
                // What the host does when its last window closes.
                CommonUtils::SetShuttingDown(true);
                SMSUIMainDlg::Destroy();
                m_w = nullptr;
                SimCtl_Shutdown();
            });
    QVERIFY(m_w->startSendOperation(everybody.join(QLatin1Char(';')), text, 20));
    QTRY_VERIFY_WITH_TIMEOUT(reached >= 8, 20000);
    QCOMPARE(m_asked, QStringList{key("IDS_STR_CLOSE_WHILE_SENDING")});
    QCOMPARE(closed, closes);

    if (closes) {
        CommonUtils::SetShuttingDown(false);
        m_w = WindowFixture::createWindow(/* simPresent */ true);
        QVERIFY(m_w);
        QCOMPARE(SMSStatusUILogic::Instance()->InitStatusLogic(), 0);
    } else {
        QVERIFY(m_w->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(m_w->lastSendSuccessCount(), 20, 20000);
    }
    QCOMPARE(storedPlaces(text).size(), 1);
    const SMSUITableWidget *outbox = m_w->tableAt(EN_LOCAL_OUTBOX);
    const SMSUITableWidget *sent = m_w->tableAt(EN_LOCAL_SENTITEMS);
    QTRY_COMPARE(tableContents(closes ? outbox : sent), QStringList{text});
    const SmsRecord *copy = (closes ? outbox : sent)->recordAt(0);
    QVERIFY(copy);
    QCOMPARE(copy->strNumber.split(QLatin1Char(';')), closes ? everybody.mid(8) : everybody);
    QCOMPARE(copy->iStatus, closes ? 1 : 0);
}

void tst_WindowOps::sendVerdict_data()
{
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("every part") << 4 << 4 << "IDS_STC_ALLSUCCESS";
    QTest::newRow("none") << 0 << 4 << "IDS_STC_ALLFAILED";
    QTest::newRow("some") << 1 << 4 << "IDS_STC_SOMEFAILED";
    // Fewer results than parts, none of them a failure: the missing ones are not sent.
    QTest::newRow("results missing") << 3 << 4 << "IDS_STC_SOMEFAILED";
}

void tst_WindowOps::sendVerdict()
{
    QFETCH(int, sent);
    QFETCH(int, units);
    QFETCH(QString, verdict);
    QCOMPARE(QString::fromLatin1(SMSUIMainDlg::sendVerdictKey(sent, units)), verdict);
}

// Room for one more message only: the copy that stands for the send takes it, the SDK
// cannot store its own at the end, and that copy shows in its place.
void tst_WindowOps::unsentCopyShowsWhenNoSentCopyCanBeStored()
{
    QVERIFY(open());
    int capacity = 0;
    int used = 0;
    QCOMPARE(UTPS_SMSSrv_GetRecordInfo(&capacity, &used, UTPS_SMS_MEM_PC), 0L);
    QCOMPARE(SimCtl_SetCapacity(UTPS_SMS_MEM_PC, used + 1), 0L);
    const QString text = QStringLiteral("the last room");
    QVERIFY(m_w->startSendOperation(QStringLiteral("+15551234;+15555678"), text, 2));
    QTRY_COMPARE_WITH_TIMEOUT(m_w->lastSendSuccessCount(), 2, 20000);
    QCOMPARE(storedPlaces(text).size(), 1);
    QCOMPARE(tableContents(m_w->tableAt(EN_LOCAL_SENTITEMS)), QStringList{text});
    // The row is the stored message, not the copy the SDK announced but could not store.
    QVERIFY(m_w->tableAt(EN_LOCAL_SENTITEMS)->recordAt(0)->iMsgId >= 0);
    QCOMPARE(m_w->tableAt(EN_LOCAL_SENTITEMS)->recordAt(0)->strNumber,
             QStringLiteral("+15551234;+15555678"));
}

void tst_WindowOps::unknownSendShowsUntilSettled_data()
{
    QTest::addColumn<int>("outcome");  // the status the SDK settles the copy with
    QTest::addColumn<int>("position"); // where the window shows it then
    QTest::addColumn<int>("tile");
    QTest::newRow("went out") << 0 << int(EN_LOCAL_SENTITEMS) << 2;
    QTest::newRow("refused") << 1 << int(EN_LOCAL_OUTBOX) << 3;
}

// A copy whose modem gave no answer in time is not shown as "not sent" (which invites a
// second send), and its row changes by itself when the SDK learns the outcome.
void tst_WindowOps::unknownSendShowsUntilSettled()
{
    QFETCH(int, outcome);
    QFETCH(int, position);
    QFETCH(int, tile);
    int id = -1;
    QVERIFY(open([&] {
        id = WindowFixture::save(EN_LOCAL_OUTBOX, "+491701", "maybe", "20260101120000", 0,
                                 UTPS_SEND_STATUS_UNKNOWN);
    }));
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    show(EN_LOCAL_OUTBOX);
    const SMSUITableWidget *outbox = m_w->tableAt(EN_LOCAL_OUTBOX);
    QCOMPARE(tableContents(outbox), QStringList{"maybe"});
    QVERIFY(tableContents(m_w->tableAt(EN_LOCAL_SENTITEMS)).isEmpty());
    QCOMPARE(outbox->recordAt(0)->imgIcon, store->GetTableImage(5));
    QVERIFY(outbox->item(0, 0)->toolTip().contains(key("IDS_STR_SEND_UNKNOWN")));

    // The SDK stores the outcome, then says so.
    _UTPS_ST_SMS_RECORD *r = nullptr;
    QCOMPARE(UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr), 0L);
    r->iMsgId = id;
    QCOMPARE(UTPS_SMSSrv_GetMsg(r, UTPS_SMS_MEM_PC), 0L);
    r->iStatus = outcome;
    QCOMPARE(UTPS_SMSSrv_UpdateMsg(r), 0L);
    SMSStatusUILogic::SmsCallBackMethod(EVENT_SMS_ONSENDSETTLED, r);
    UTPS_SMSSrv_ReleaseSMSRecord(&r);

    const auto now = _EN_SMS_POSITION(position);
    QTRY_COMPARE(tableContents(m_w->tableAt(now)), QStringList{"maybe"});
    if (now != EN_LOCAL_OUTBOX)
        QVERIFY(tableContents(outbox).isEmpty());
    const SMSUITableWidget *table = m_w->tableAt(now);
    QCOMPARE(table->recordAt(0)->iStatus, outcome);
    QCOMPARE(table->recordAt(0)->imgIcon, store->GetTableImage(tile));
    QVERIFY(table->item(0, 0)->toolTip().isEmpty());
    QCOMPARE(tableContents(m_w->tableAt(EN_LOCAL_ROOT)), QStringList{"maybe"});
}

QTEST_MAIN(tst_WindowOps)
#include "tst_windowops.moc"
