// SPDX-License-Identifier: GPL-3.0-or-later
// New messages end to end: from the simulator into the tables, the counts, the host's status
// bar and the usage file; reading them; delivery-report labels; flash messages; the alert
// sound; and a burst of 500 arrivals.
#include <QApplication>
#include <QHeaderView>
#include <QScopeGuard>
#include <QTextEdit>

#include "ArrivalHost.h"
#include "Change.h"
#include "DcSound.h"
#include "notify/SMSFlashMessageDlg.h"
#include "store/SMSStatusUILogic.h"

using namespace arrival;

namespace {
QString key(const char *k)
{
    return SMSUIMainDlg::tr(QString::fromLatin1(k));
}

void clickRow(SMSUITableWidget *table, int row)
{
    const QRect rect = table->visualItemRect(table->item(row, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
}

int unreadRows(SMSUITableWidget *table)
{
    int unread = 0;
    for (int row = 0; table && row < table->rowCount(); ++row) {
        const SmsRecord *record = table->recordAt(row);
        unread += record && record->iReadStatus == 1 ? 1 : 0;
    }
    return unread;
}
} // namespace

class tst_Arrival : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void arrivalGoesIntoItsTables_data();
    void arrivalGoesIntoItsTables();
    void arrivalKeepsTheUsersOrder();
    void readingMarksReadInTheSdk_data();
    void readingMarksReadInTheSdk();
    void deliveryReportsAreLabelled();
    void flashMessageOpensItsOwnWindow();
    void soundPlaysOnlyWhenEnabled_data();
    void soundPlaysOnlyWhenEnabled();
    void burstOfFiveHundred();

private:
    WindowFixture m_fixture;
    std::unique_ptr<ArrivalHost> m_host;
};

void tst_Arrival::init()
{
    m_fixture.setUp();
    m_host = std::make_unique<ArrivalHost>();
    alertsOn();
}

void tst_Arrival::cleanup()
{
    closeWindow();
    m_host.reset();
    m_fixture.tearDown();
}

void tst_Arrival::arrivalGoesIntoItsTables_data()
{
    QTest::addColumn<int>("kind");  // 0 message, 1 delivery report, 2 cell broadcast
    QTest::addColumn<int>("storage");
    QTest::addColumn<int>("folder");
    QTest::addColumn<int>("root");
    QTest::newRow("PC inbox") << 0 << int(UTPS_SMS_MEM_PC) << int(EN_LOCAL_INBOX) << int(EN_LOCAL_ROOT);
    QTest::newRow("SIM inbox") << 0 << int(UTPS_SMS_MEM_SIM) << int(EN_SIM_INBOX) << int(EN_SIM_ROOT);
    QTest::newRow("device inbox") << 0 << int(UTPS_SMS_MEM_DEVICE) << int(EN_DEVICE_INBOX)
                                  << int(EN_DEVICE_ROOT);
    QTest::newRow("delivery report") << 1 << 0 << int(EN_LOCAL_REPORT) << int(EN_LOCAL_ROOT);
    QTest::newRow("cell broadcast") << 2 << 0 << int(EN_LOCAL_CBSBOX) << int(EN_LOCAL_ROOT);
}

void tst_Arrival::arrivalGoesIntoItsTables()
{
    QFETCH(int, kind);
    QFETCH(int, storage);
    QFETCH(int, folder);
    QFETCH(int, root);
    CommonUtils::SetSettings(QStringLiteral("CBS"), QStringLiteral("enable"), QStringLiteral("true"));
    SMSUIMainDlg *w = openWindow(/* SIM present */ true);
    QVERIFY(w);
    SMSUITableWidget *folderTable = w->tableAt(_EN_SMS_POSITION(folder));
    SMSUITableWidget *rootTable = w->tableAt(_EN_SMS_POSITION(root));
    QVERIFY(folderTable && rootTable);
    const int folderRows = folderTable->rowCount();
    const int rootRows = rootTable->rowCount();
    const int unreadBefore = unreadRows(folderTable);

    int id = -1;
    if (kind == 0)
        id = inject(storage, "+447700900123", "Are you home?");
    else if (kind == 1)
        QCOMPARE(SimCtl_InjectStatusReport("+447700900123", 0, nullptr, &id), 0L);
    else
        QCOMPARE(SimCtl_InjectCellBroadcast("50", "Roadworks until Friday", &id), 0L);
    QVERIFY(id >= 0);

    QTRY_VERIFY(rowOf(folderTable, id) >= 0);
    QTRY_VERIFY(rowOf(rootTable, id) >= 0);
    QCOMPARE(folderTable->rowCount(), folderRows + 1);
    QCOMPARE(rootTable->rowCount(), rootRows + 1);
    // Newest first: the arrival heads both tables.
    QCOMPARE(rowOf(folderTable, id), 0);
    QCOMPARE(rowOf(rootTable, id), 0);
    if (kind != 2) {
        const QString count = QStringLiteral("(%1/%2)").arg(unreadBefore + 1).arg(folderRows + 1);
        QVERIFY2(w->treeItem(_EN_SMS_POSITION(folder))->text(0).endsWith(count),
                 qPrintable(w->treeItem(_EN_SMS_POSITION(folder))->text(0)));
    }
    QTRY_COMPARE(receivedCounter(), 1);
    QTRY_COMPARE(visiblePopups().size(), 1);
    QCOMPARE(m_host->statusBarUnread(), SMSStatusUILogic::Instance()->GetUnReadSMSTotalCount());
}

void tst_Arrival::arrivalKeepsTheUsersOrder()
{
    for (const char *number : {"+4930100", "+4930300", "+4930500"})
        WindowFixture::save(EN_LOCAL_INBOX, QString::fromLatin1(number), QStringLiteral("old"));
    SMSUIMainDlg *w = openWindow();
    QVERIFY(w);
    SMSUITableWidget *inbox = w->tableAt(EN_LOCAL_INBOX);
    inbox->sortItems(0, Qt::AscendingOrder);  // the user clicked the number column
    const int id = inject(UTPS_SMS_MEM_PC, "+4930400", "new");
    QTRY_VERIFY(rowOf(inbox, id) >= 0);
    QStringList numbers;
    for (int row = 0; row < inbox->rowCount(); ++row)
        numbers << inbox->item(row, 0)->text();
    QCOMPARE(numbers, QStringList({"+4930100", "+4930300", "+4930400", "+4930500"}));
    QCOMPARE(inbox->horizontalHeader()->sortIndicatorSection(), 0);
    // The same record offered again (a second signal, a rebuild in between) is not doubled.
    SmsRecord *record = inbox->recordAt(rowOf(inbox, id));
    w->addRecToSMSTable(EN_LOCAL_INBOX, record);
    QCOMPARE(inbox->rowCount(), 4);
}

void tst_Arrival::readingMarksReadInTheSdk_data()
{
    QTest::addColumn<int>("kind");       // 0 message, 1 delivery report
    QTest::addColumn<int>("storage");
    QTest::addColumn<int>("folder");     // where the message is stored
    QTest::addColumn<int>("readIn");     // the table it is read in
    QTest::addColumn<int>("alsoIn");     // the other table that shows it
    QTest::addColumn<bool>("commitFails");
    QTest::newRow("PC inbox") << 0 << int(UTPS_SMS_MEM_PC) << int(EN_LOCAL_INBOX)
                              << int(EN_LOCAL_INBOX) << int(EN_LOCAL_ROOT) << false;
    QTest::newRow("PC inbox, commit fails") << 0 << int(UTPS_SMS_MEM_PC) << int(EN_LOCAL_INBOX)
                                            << int(EN_LOCAL_INBOX) << int(EN_LOCAL_ROOT) << true;
    QTest::newRow("PC root") << 0 << int(UTPS_SMS_MEM_PC) << int(EN_LOCAL_INBOX)
                             << int(EN_LOCAL_ROOT) << int(EN_LOCAL_INBOX) << false;
    QTest::newRow("delivery report") << 1 << int(UTPS_SMS_MEM_PC) << int(EN_LOCAL_REPORT)
                                     << int(EN_LOCAL_REPORT) << int(EN_LOCAL_ROOT) << false;
    QTest::newRow("PC root, delivery report") << 1 << int(UTPS_SMS_MEM_PC) << int(EN_LOCAL_REPORT)
                                              << int(EN_LOCAL_ROOT) << int(EN_LOCAL_REPORT) << false;
    QTest::newRow("SIM inbox") << 0 << int(UTPS_SMS_MEM_SIM) << int(EN_SIM_INBOX)
                               << int(EN_SIM_INBOX) << int(EN_SIM_ROOT) << false;
    QTest::newRow("SIM root") << 0 << int(UTPS_SMS_MEM_SIM) << int(EN_SIM_INBOX)
                              << int(EN_SIM_ROOT) << int(EN_SIM_INBOX) << false;
    QTest::newRow("device inbox") << 0 << int(UTPS_SMS_MEM_DEVICE) << int(EN_DEVICE_INBOX)
                                  << int(EN_DEVICE_INBOX) << int(EN_DEVICE_ROOT) << false;
    QTest::newRow("device root") << 0 << int(UTPS_SMS_MEM_DEVICE) << int(EN_DEVICE_INBOX)
                                 << int(EN_DEVICE_ROOT) << int(EN_DEVICE_INBOX) << false;
}

// A new message read where it shows, in its folder or in its root: read in the SDK, in the
// folder's count, in the status bar, and with the read icon in both tables that show it.
void tst_Arrival::readingMarksReadInTheSdk()
{
    QFETCH(int, kind);
    QFETCH(int, storage);
    QFETCH(int, folder);
    QFETCH(int, readIn);
    QFETCH(int, alsoIn);
    QFETCH(bool, commitFails);
    SMSUIMainDlg *w = openWindow(/* SIM present */ true);
    QVERIFY(w);
    SMSUITableWidget *table = w->tableAt(_EN_SMS_POSITION(readIn));
    SMSUITableWidget *other = w->tableAt(_EN_SMS_POSITION(alsoIn));
    int id = -1;
    if (kind == 0)
        id = inject(storage, "+447700900123", "Are you home?");
    else
        QCOMPARE(SimCtl_InjectStatusReport("+447700900123", 0, nullptr, &id), 0L);
    QVERIFY(id >= 0);
    QTRY_VERIFY(rowOf(table, id) >= 0);
    QTRY_VERIFY(rowOf(other, id) >= 0);
    QTRY_COMPARE(m_host->statusBarUnread(), 1);
    const QIcon unread = other->item(rowOf(other, id), 0)->icon();

    w->onClickSMSTreeNode(w->treeItem(_EN_SMS_POSITION(readIn)), 0);
    QCOMPARE(w->currentTable(), table);
    if (commitFails)
        SimCtl_FailNextCalls("UTPS_SMSSrv_EndTransaction", 100, 0);
    clickRow(table, rowOf(table, id));
    SimCtl_ClearFaults();

    const SmsRecord *record = table->recordAt(rowOf(table, id));
    QVERIFY(record);
    // A commit the SDK undid leaves the message unread in the window as in the SDK.
    const int expected = commitFails ? 1 : 0;
    QCOMPARE(record->iReadStatus, expected);
    QCOMPARE(sdkReadStatus(storage, id), expected);
    const QString count = w->treeItem(_EN_SMS_POSITION(folder))->text(0);
    QVERIFY2(count.endsWith(QStringLiteral("(%1/1)").arg(expected)), qPrintable(count));
    QTRY_COMPARE(m_host->statusBarUnread(), expected);
    // Both tables show the record with the same icon: read, or still unread.
    const QIcon shown = table->item(rowOf(table, id), 0)->icon();
    QVERIFY(shown.cacheKey() != 0);
    QCOMPARE(other->item(rowOf(other, id), 0)->icon().cacheKey(), shown.cacheKey());
    QCOMPARE(shown.cacheKey() == unread.cacheKey(), commitFails);
}

void tst_Arrival::deliveryReportsAreLabelled()
{
    SMSUIMainDlg *w = openWindow();
    QVERIFY(w);
    int delivered = -1;
    int failed = -1;
    QCOMPARE(SimCtl_InjectStatusReport("+447700900123", 0, nullptr, &delivered), 0L);
    QCOMPARE(SimCtl_InjectStatusReport("+447700900124", 1, nullptr, &failed), 0L);
    const auto contentOf = [w](_EN_SMS_POSITION position, int id) {
        SMSUITableWidget *table = w->tableAt(position);
        const int row = rowOf(table, id);
        return row < 0 ? QString() : table->item(row, 1)->text();
    };
    QTRY_COMPARE(contentOf(EN_LOCAL_REPORT, delivered), key("IDS_LBL_SUCCESS"));
    QTRY_COMPARE(contentOf(EN_LOCAL_REPORT, failed), key("IDS_LBL_FAILED"));

    const auto restore = qScopeGuard([w] {
        Change::SetLanguage(QStringLiteral("en"));
        w->SetLanguage(false);
    });
    QVERIFY(Change::SetLanguage(QStringLiteral("ar")));
    w->SetLanguage(false);
    const QString arabicDelivered = key("IDS_LBL_SUCCESS");
    QVERIFY(arabicDelivered != QLatin1String("Delivered"));
    for (_EN_SMS_POSITION position : {EN_LOCAL_REPORT, EN_LOCAL_ROOT}) {
        QCOMPARE(contentOf(position, delivered), arabicDelivered);
        QCOMPARE(contentOf(position, failed), key("IDS_LBL_FAILED"));
    }
}

void tst_Arrival::flashMessageOpensItsOwnWindow()
{
    alertsOn(/* visual */ true, /* sound */ true);
    SMSUIMainDlg *w = openWindow();
    QVERIFY(w);
    const int inboxRows = w->tableAt(EN_LOCAL_INBOX)->rowCount();
    const int rootRows = w->tableAt(EN_LOCAL_ROOT)->rowCount();
    QCOMPARE(inject(SIMCTL_RECEIVE_STORAGE, "+15550100999", "Meet <b>now</b>\nat the gate", 0,
                    "20260314093005"),
             -1);
    QTRY_VERIFY(w->flashMessageWindow() && w->flashMessageWindow()->isVisible());
    SMSFlashMessageDlg *flash = w->flashMessageWindow();
    QCOMPARE(flash->windowTitle(), key("IDS_STC_NEWMSG"));
    const QString text = flash->textEdit()->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("+15550100999")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Meet <b>now</b>")), qPrintable(text));
    // Dated the way the tables date messages.
    QVERIFY2(text.contains(SmsDisplayTime(QStringLiteral("20260314093005"))), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("14/03/2026")), qPrintable(text));
    // Shown, played, but stored nowhere and no pop-up.
    QVERIFY(SMSUIMainDlg::soundPlayer());
    QVERIFY(visiblePopups().isEmpty());
    QCOMPARE(w->tableAt(EN_LOCAL_INBOX)->rowCount(), inboxRows);
    QCOMPARE(w->tableAt(EN_LOCAL_ROOT)->rowCount(), rootRows);
    int stored = -1;
    QCOMPARE(UTPS_SMSSrv_SMSRecordSetGetRecordCount(&stored, UTPS_SMS_MEM_PC), 0L);
    QCOMPARE(stored, inboxRows);

    // A second flash message while the first is shown: the user still gets to read both.
    inject(SIMCTL_RECEIVE_STORAGE, "+15550100888", "Second flash", 0);
    QTRY_VERIFY(w->flashMessageWindow()
                && w->flashMessageWindow()->textEdit()->toPlainText().contains(
                    QStringLiteral("Second flash")));
    const QString both = w->flashMessageWindow()->textEdit()->toPlainText();
    QVERIFY(both.indexOf(QStringLiteral("Second flash")) < both.indexOf(QStringLiteral("Meet")));
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](QWidget *t) {
                               return t->objectName()
                                   == QLatin1String("SMSUIPlugin_FlashMessageDialog")
                                   && t->isVisible();
                           }),
             1);

    // A language change re-translates the window and keeps both messages.
    {
        const auto restore = qScopeGuard([w] {
            Change::SetLanguage(QStringLiteral("en"));
            w->SetLanguage(false);
        });
        QVERIFY(Change::SetLanguage(QStringLiteral("ar")));
        w->SetLanguage(false);
        QCOMPARE(w->flashMessageWindow()->windowTitle(), key("IDS_STC_NEWMSG"));
        QVERIFY(w->flashMessageWindow()->windowTitle() != QLatin1String("New message"));
        QVERIFY(w->flashMessageWindow()->textEdit()->toPlainText().contains(
            QStringLiteral("Second flash")));
    }
    QTest::mouseClick(w->flashMessageWindow()->closeButton(), Qt::LeftButton);
    QVERIFY(!w->flashMessageWindow());
    QVERIFY(!SMSUIMainDlg::soundPlayer() || !SMSUIMainDlg::soundPlayer()->IsPlaying());
}

void tst_Arrival::soundPlaysOnlyWhenEnabled_data()
{
    QTest::addColumn<QString>("soundAlert");
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<bool>("plays");
    QTest::newRow("on") << QStringLiteral("1") << true << true;
    QTest::newRow("off") << QStringLiteral("0") << true << false;
    QTest::newRow("on without a file") << QStringLiteral("1") << false << false;
}

void tst_Arrival::soundPlaysOnlyWhenEnabled()
{
    QFETCH(QString, soundAlert);
    QFETCH(bool, withFile);
    QFETCH(bool, plays);
    setSmsSetting("SoundAlert", soundAlert);
    if (!withFile)
        setSmsSetting("SoundAlertFile", QString());
    SMSUIMainDlg *w = openWindow();
    QVERIFY(w);
    inject(UTPS_SMS_MEM_PC, "+447700900123", "Ring ring");
    QTRY_COMPARE(visiblePopups().size(), 1);  // announced
    DcSound *player = SMSUIMainDlg::soundPlayer();
    QCOMPARE(player != nullptr, plays);
    if (!plays)
        return;
    QVERIFY(player->IsPlaying());
    QCOMPARE(player->SoundFile(),
             QStringLiteral(DIALCREST_SOURCE_DIR "/plugins/SMSUIPlugin/SMSVoice.wav"));
    // Without an audio device the player still ends, and is let go then.
    QTRY_VERIFY_WITH_TIMEOUT(!SMSUIMainDlg::soundPlayer(), 10000);
}

void tst_Arrival::burstOfFiveHundred()
{
    constexpr int kBurst = 500;
    SMSUIMainDlg *w = openWindow();
    QVERIFY(w);
    SMSUITableWidget *inbox = w->tableAt(EN_LOCAL_INBOX);
    QCOMPARE(w->currentTable(), inbox);
    const int inboxRows = inbox->rowCount();
    const int rootRows = w->tableAt(EN_LOCAL_ROOT)->rowCount();

    // Watches the screen while the burst is taken in.
    int mostPopups = 0;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this,
            [&mostPopups] { mostPopups = qMax(mostPopups, int(visiblePopups().size())); });
    watch.start(5);
    for (int i = 0; i < kBurst; ++i) {
        const QByteArray sender = "+4915100" + QByteArray::number(i);
        QVERIFY(inject(UTPS_SMS_MEM_PC, sender.constData(), "burst") >= 0);
    }
    QTRY_COMPARE_WITH_TIMEOUT(inbox->rowCount(), inboxRows + kBurst, 120000);
    QCOMPARE(w->tableAt(EN_LOCAL_ROOT)->rowCount(), rootRows + kBurst);
    QTRY_COMPARE_WITH_TIMEOUT(receivedCounter(), kBurst, 30000);
    QVERIFY(w->treeItem(EN_LOCAL_INBOX)->text(0).endsWith(
        QStringLiteral("(%1/%1)").arg(inboxRows + kBurst)));
    QTRY_COMPARE(m_host->statusBarUnread(), SMSStatusUILogic::Instance()->GetUnReadSMSTotalCount());
    QCOMPARE(m_host->statusBarUnread(), kBurst);
    QCOMPARE(visiblePopups().size(), 1);
    QCOMPARE(SMSTaskbarNotifier::existingInstance()->shownText(),
             QStringLiteral("+4915100%1").arg(kBurst - 1));
    QVERIFY(mostPopups <= 1);
    // Every row points at a different message: none was added twice.
    QSet<int> ids;
    for (int row = 0; row < inbox->rowCount(); ++row)
        ids.insert(inbox->recordAt(row)->iMsgId);
    QCOMPARE(ids.size(), inbox->rowCount());
}

QTEST_MAIN(tst_Arrival)
#include "tst_arrival.moc"
