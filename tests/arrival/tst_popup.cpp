// SPDX-License-Identifier: GPL-3.0-or-later
// The new-message pop-up: where it goes on the desktop, how long it stays, what View, Cancel
// and Escape do, and the host's SMS notice (event 513) that opens the folder with unread
// messages.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "ArrivalHost.h"
#include "operations/SMSThreadUI.h"
#include "store/SMSStatusUILogic.h"

using namespace arrival;

class tst_Popup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void placementNextToTheTaskbar_data();
    void placementNextToTheTaskbar();
    void showsTheSenderAndClosesAfterItsTime();
    void secondMessageReplacesThePopup();
    void cancelAndEscapeClose_data();
    void cancelAndEscapeClose();
    void viewOpensTheInboxAtTheMessage();
    void viewWhileMovingIntoAnInboxDoesNothing();
    void hostNoticeOpensTheFolderWithUnread();

private:
    SMSTaskbarNotifier *popup() { return SMSTaskbarNotifier::existingInstance(); }

    WindowFixture m_fixture;
    std::unique_ptr<ArrivalHost> m_host;
};

void tst_Popup::init()
{
    m_fixture.setUp();
    m_host = std::make_unique<ArrivalHost>();
    alertsOn();
}

void tst_Popup::cleanup()
{
    SMSTaskbarNotifier::setScreenGeometryOverride({}, {});
    closeWindow();
    m_host.reset();
    m_fixture.tearDown();
}

void tst_Popup::placementNextToTheTaskbar_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("expected");
    const QRect screen(0, 0, 1920, 1080);
    // 218 x 117 pop-up; a 40-pixel taskbar on each edge in turn.
    QTest::newRow("bottom") << QRect(0, 0, 1920, 1040) << QPoint(1920 - 218, 1039 - 117);
    QTest::newRow("left") << QRect(40, 0, 1880, 1080) << QPoint(40, 1079 - 117);
    QTest::newRow("top") << QRect(0, 40, 1920, 1040) << QPoint(1919 - 218, 40);
    QTest::newRow("right") << QRect(0, 0, 1880, 1080) << QPoint(1879 - 218, 1079 - 117);
    QTest::newRow("none") << screen << QPoint(1919 - 218, 1079 - 117);
}

void tst_Popup::placementNextToTheTaskbar()
{
    QFETCH(QRect, available);
    QFETCH(QPoint, expected);
    const QRect screen(0, 0, 1920, 1080);
    SMSTaskbarNotifier::setScreenGeometryOverride(available, screen);
    SMSTaskbarNotifier::Instance()->Show(QStringLiteral("+447700900123"));
    QDialog *dialog = popup()->notifyDialog();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->size(), QSize(218, 117));
    QCOMPARE(dialog->pos(), expected);
    if (QTest::currentDataTag() == QByteArray("bottom")) {
        // Flush with the screen's right edge, just above the taskbar.
        QCOMPARE(dialog->x() + dialog->width() - 1, screen.right());
        QVERIFY(dialog->y() + dialog->height() <= available.bottom());
    }
}

void tst_Popup::showsTheSenderAndClosesAfterItsTime()
{
    SMSUIMainDlg *w = openWindow();
    QVERIFY(w);
    SMSTaskbarNotifier::Instance()->setCloseDelay(300);
    inject(UTPS_SMS_MEM_PC, "+447700900123", "Are you home?");
    QTRY_COMPARE(visiblePopups().size(), 1);
    QDialog *dialog = popup()->notifyDialog();
    QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    auto *number = dialog->findChild<QLabel *>(QStringLiteral("SMSUIPlugin_NewMessagePopupNumber"));
    QVERIFY(number);
    // The sender, isolated from the pop-up's own layout.
    QCOMPARE(number->text(), QChar(0x2068) + QStringLiteral("+447700900123") + QChar(0x2069));
    QCOMPARE(dialog->windowTitle(), SMSTaskbarNotifier::tr(QStringLiteral("IDS_PROMPT_CAPTION")));
    QVERIFY(dialog->findChild<QPushButton *>(QStringLiteral("ViewButton")));
    QVERIFY(dialog->findChild<QPushButton *>(QStringLiteral("CancelButton")));
    QTRY_VERIFY(visiblePopups().isEmpty());
    QVERIFY(!popup()->notifyDialog());
}

void tst_Popup::secondMessageReplacesThePopup()
{
    SMSUIMainDlg *w = openWindow();
    QVERIFY(w);
    inject(UTPS_SMS_MEM_PC, "+447700900123", "first");
    QTRY_COMPARE(popup() ? popup()->shownText() : QString(), QStringLiteral("+447700900123"));
    QTimer *timer = popup()->closeTimer();
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 5000);
    inject(UTPS_SMS_MEM_PC, "+447700900124", "second");
    QTRY_COMPARE(popup()->shownText(), QStringLiteral("+447700900124"));
    QTRY_COMPARE(visiblePopups().size(), 1);
    // The five seconds start again with the second message.
    QVERIFY(timer->isActive());
    QVERIFY(timer->remainingTime() > 4000);
}

void tst_Popup::cancelAndEscapeClose_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel") << false;
    QTest::newRow("Escape") << true;
}

void tst_Popup::cancelAndEscapeClose()
{
    QFETCH(bool, escape);
    alertsOn(/* visual */ true, /* sound */ true);
    SMSUIMainDlg *w = openWindow();
    QVERIFY(w);
    inject(UTPS_SMS_MEM_PC, "+447700900123", "Are you home?");
    QTRY_COMPARE(visiblePopups().size(), 1);
    QTRY_VERIFY(SMSUIMainDlg::soundPlayer() && SMSUIMainDlg::soundPlayer()->IsPlaying());
    QDialog *dialog = popup()->notifyDialog();
    if (escape)
        QTest::keyClick(dialog, Qt::Key_Escape);
    else
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("CancelButton")),
                          Qt::LeftButton);
    QTRY_VERIFY(visiblePopups().isEmpty());
    QVERIFY(!popup()->notifyDialog());
    QVERIFY(!popup()->closeTimer()->isActive());
    QVERIFY(!SMSUIMainDlg::soundPlayer() || !SMSUIMainDlg::soundPlayer()->IsPlaying());
    // Nothing was opened.
    QCOMPARE(m_host->frame->currentPage(), QStringLiteral("ConnectionPage"));
}

void tst_Popup::viewOpensTheInboxAtTheMessage()
{
    SMSUIMainDlg *w = openWindow();
    QVERIFY(w);
    w->treeWidget()->setCurrentItem(w->treeItem(EN_LOCAL_DRAFT));
    QCOMPARE(w->selectedTreeNode(), int(EN_LOCAL_DRAFT));
    inject(UTPS_SMS_MEM_DEVICE, "+447700900555", "older", 1, "20250101080000");
    const int id = inject(UTPS_SMS_MEM_DEVICE, "+447700900123", "Are you home?");
    QTRY_COMPARE(popup() ? popup()->shownText() : QString(), QStringLiteral("+447700900123"));
    QTest::mouseClick(popup()->notifyDialog()->findChild<QPushButton *>(QStringLiteral("ViewButton")),
                      Qt::LeftButton);

    QTRY_VERIFY(visiblePopups().isEmpty());
    QCOMPARE(m_host->frame->currentPage(), QLatin1String(PluginIds::SmsUiName));
    QCOMPARE(w->selectedTreeNode(), int(EN_DEVICE_INBOX));
    SMSUITableWidget *table = w->currentTable();
    QCOMPARE(table, w->tableAt(EN_DEVICE_INBOX));
    const QList<int> rows = table->selectedRowNumbers();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(table->recordAt(rows.first())->iMsgId, id);
    QCOMPARE(table->recordAt(rows.first())->iReadStatus, 0);
    QCOMPARE(sdkReadStatus(UTPS_SMS_MEM_DEVICE, id), 0);
    QTRY_COMPARE(m_host->statusBarUnread(), 1);  // the older one is still unread
}

void tst_Popup::viewWhileMovingIntoAnInboxDoesNothing()
{
    SMSUIMainDlg *w = openWindow();
    QVERIFY(w);
    w->treeWidget()->setCurrentItem(w->treeItem(EN_LOCAL_TRASH));
    QList<SmsRecord> batch;
    for (int i = 0; i < 3; ++i) {
        SmsRecord record;
        record.iMsgId = WindowFixture::save(EN_DEVICE_INBOX, QStringLiteral("+4930%1").arg(i),
                                            QStringLiteral("moved"));
        record.enPos = record.enInitialPos = EN_DEVICE_INBOX;
        record.strNumber = QStringLiteral("+4930%1").arg(i);
        batch << record;
    }
    w->workerThread().SetSmsThreadOperation(DC_SMS_MOVE, batch, UTPS_SMS_MEM_DEVICE,
                                            EN_LOCAL_INBOX, EN_DEVICE_INBOX);
    w->workerThread().start();
    QVERIFY(w->workerThread().isRunning());
    w->ViewSmsInbox();
    QCOMPARE(w->selectedTreeNode(), int(EN_LOCAL_TRASH));
    QVERIFY(w->workerThread().wait(30000));
}

void tst_Popup::hostNoticeOpensTheFolderWithUnread()
{
    SMSUIMainDlg *w = openWindow();
    QVERIFY(w);
    w->treeWidget()->setCurrentItem(w->treeItem(EN_LOCAL_DRAFT));
    int id = -1;
    QCOMPARE(SimCtl_InjectStatusReport("+447700900123", 0, nullptr, &id), 0L);
    QTRY_COMPARE(visiblePopups().size(), 1);
    QTRY_VERIFY(rowOf(w->tableAt(EN_LOCAL_REPORT), id) >= 0);

    // What the host sends when the user clicks its unread notice.
    CSMSUIService::instance()->checkNotifyType(HostEvent::LaunchSmsInbox, 0, 0);
    QCOMPARE(m_host->frame->currentPage(), QLatin1String(PluginIds::SmsUiName));
    QCOMPARE(w->selectedTreeNode(), int(EN_LOCAL_REPORT));
    QCOMPARE(w->currentTable(), w->tableAt(EN_LOCAL_REPORT));
    QTRY_VERIFY(visiblePopups().isEmpty());

    // Again with nothing unread anywhere: the inbox opens.
    w->treeWidget()->setCurrentItem(w->treeItem(EN_LOCAL_DRAFT));
    QCOMPARE(SMSStatusUILogic::Instance()->GetSMSRecordsSet(EN_LOCAL_REPORT).size(), 1);
    w->tableAt(EN_LOCAL_REPORT)->recordAt(0)->iReadStatus = 0;
    CSMSUIService::instance()->checkNotifyType(HostEvent::LaunchSmsInbox, 0, 0);
    QCOMPARE(w->selectedTreeNode(), int(EN_LOCAL_INBOX));
}

QTEST_MAIN(tst_Popup)
#include "tst_popup.moc"
