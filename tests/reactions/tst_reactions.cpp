// SPDX-License-Identifier: GPL-3.0-or-later
// How the window follows the modem: card folders after SIM and modem replugs, the
// storage-full pop-up per storage, the dual-mode card's offer to move a full storage to the
// PC, and which commands flight mode and the network's refusal switch off and on.
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "ArrivalHost.h"
#include "notify/SMSMemoryFullPopup.h"
#include "notify/SMSTaskbarNotifier.h"
#include "store/SMSStatusUILogic.h"
#include "window/SMSWaitingDlg.h"

using namespace arrival;

class tst_Reactions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void cardFoldersComeBackAfterEveryReplug();
    void storageFullShowsThePopup_data();
    void storageFullShowsThePopup();
    void popupPlacementAndLanguage();
    void dualModeCardMovesTheFullSimToThePcWithoutLoss();
    void flightModeAndNetworkRefusal();
    void deviceRemovalClosesWhatBelongsToIt();

private:
    static int used(int memory)
    {
        int capacity = 0;
        int inUse = -1;
        UTPS_SMSSrv_GetRecordInfo(&capacity, &inUse, static_cast<_UTPS_EN_SMS_MEM>(memory));
        return inUse;
    }
    static QString countText(SMSUIMainDlg *w, _EN_SMS_POSITION p)
    {
        QTreeWidgetItem *item = w->treeItem(p);
        return item ? item->text(0) : QString();
    }
    static void selectFirstRow(SMSUIMainDlg *w)
    {
        SMSUITableWidget *table = w->currentTable();
        QVERIFY(table && table->rowCount() > 0);
        table->selectRow(0);
        w->onClickTableRow(0);
    }

    WindowFixture m_fixture;
    std::unique_ptr<ArrivalHost> m_host;
};

void tst_Reactions::init()
{
    m_fixture.setUp();
    m_host = std::make_unique<ArrivalHost>();
    alertsOn(false);
}

void tst_Reactions::cleanup()
{
    CommonUtils::SetMessageResponder({});
    SMSTaskbarNotifier::setScreenGeometryOverride({}, {});
    closeWindow();
    m_host.reset();
    m_fixture.tearDown();
}

void tst_Reactions::cardFoldersComeBackAfterEveryReplug()
{
    for (int i = 0; i < 2; ++i)
        QVERIFY(WindowFixture::save(EN_SIM_INBOX, QStringLiteral("+1555000%1").arg(i),
                                    QStringLiteral("sim %1").arg(i)) >= 0);
    for (int i = 0; i < 3; ++i)
        QVERIFY(WindowFixture::save(EN_DEVICE_INBOX, QStringLiteral("+1555100%1").arg(i),
                                    QStringLiteral("device %1").arg(i)) >= 0);
    QVERIFY(WindowFixture::save(EN_DEVICE_OUTBOX, QStringLiteral("+15552000"),
                                QStringLiteral("device out")) >= 0);
    SMSUIMainDlg *w = openWindow(true);
    QVERIFY(w);
    const auto expectCards = [w](bool sim, bool device) {
        QTRY_COMPARE(!w->treeItem(EN_SIM_ROOT)->isHidden(), sim);
        QTRY_COMPARE(!w->treeItem(EN_DEVICE_ROOT)->isHidden(), device);
        if (sim) {
            QTRY_COMPARE(w->tableAt(EN_SIM_INBOX)->rowCount(), 2);
            QVERIFY(countText(w, EN_SIM_INBOX).endsWith(QLatin1String("(0/2)")));
            QCOMPARE(w->tableAt(EN_SIM_ROOT)->rowCount(), 2);
        }
        if (device) {
            QTRY_COMPARE(w->tableAt(EN_DEVICE_INBOX)->rowCount(), 3);
            QCOMPARE(w->tableAt(EN_DEVICE_OUTBOX)->rowCount(), 1);
            QCOMPARE(w->tableAt(EN_DEVICE_ROOT)->rowCount(), 4);
            QVERIFY(countText(w, EN_DEVICE_INBOX).endsWith(QLatin1String("(0/3)")));
        }
    };
    expectCards(true, true);
    for (int round = 0; round < 5; ++round) {
        QCOMPARE(SimCtl_SetSimInserted(0), 0L);
        expectCards(false, true);
        QCOMPARE(SimCtl_SetSimInserted(1), 0L);
        expectCards(true, true);
        QCOMPARE(SimCtl_SetDevicePlugged(0), 0L);
        expectCards(false, false);
        QCOMPARE(w->tableAt(EN_DEVICE_INBOX)->rowCount(), 0);
        QCOMPARE(SimCtl_SetDevicePlugged(1), 0L);
        expectCards(true, true);
    }
    // A card folder open while its card goes leaves the PC inbox in its place.
    w->onClickSMSTreeNode(w->treeItem(EN_SIM_INBOX), 0);
    QCOMPARE(w->selectedTreeNode(), int(EN_SIM_INBOX));
    QCOMPARE(SimCtl_SetSimInserted(0), 0L);
    QTRY_COMPARE(w->selectedTreeNode(), int(EN_LOCAL_INBOX));
    QCOMPARE(w->lastSimStatus(), int(UTPS_SMS_STATUS_SIM_NOT_AVAILABLE));
}

void tst_Reactions::storageFullShowsThePopup_data()
{
    QTest::addColumn<int>("memory");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("key");
    QTest::newRow("SIM") << int(UTPS_SMS_MEM_SIM) << int(UTPS_SMS_STATUS_SIM_FULL)
                         << QStringLiteral("IDS_STC_SIMSMSFULL");
    QTest::newRow("device") << int(UTPS_SMS_MEM_DEVICE) << int(UTPS_SMS_STATUS_DEVICE_FULL)
                            << QStringLiteral("IDS_STC_DEVICESMSFULL");
    QTest::newRow("PC") << int(UTPS_SMS_MEM_PC) << int(UTPS_SMS_STATUS_PC_FULL)
                        << QStringLiteral("IDS_STC_LOCALSMSFULL");
}

void tst_Reactions::storageFullShowsThePopup()
{
    QFETCH(int, memory);
    QFETCH(int, status);
    QFETCH(QString, key);
    SMSUIMainDlg *w = openWindow(true);
    QVERIFY(w);
    QCOMPARE(SimCtl_SetCapacity(memory, used(memory) + 1), 0L);
    QVERIFY(inject(memory, "+447700900123", "fills it") >= 0);
    QTRY_VERIFY(w->memoryFullPopup());
    SMSMemoryFullPopup *popup = w->memoryFullPopup();
    QCOMPARE(w->lastStorageStatus(), status);
    QVERIFY(popup->isVisible());
    QVERIFY(popup->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QString expected = SMSUIMainDlg::tr(key);
    QVERIFY(!expected.isEmpty() && expected != key);
    if (memory == UTPS_SMS_MEM_SIM) {
        QVERIFY(expected.contains(QLatin1String("%s")));
        QVERIFY(!popup->label()->text().contains(QLatin1String("%s")));
    } else {
        QCOMPARE(popup->label()->text(), expected);
    }
    QCOMPARE(popup->closeButton()->text(), SMSUIMainDlg::tr(QStringLiteral("IDS_BTN_CLOSE")));
    QCOMPARE(popup->windowTitle(), SMSUIMainDlg::tr(QStringLiteral("IDS_PROMPT_CAPTION")));

    // The timer stands at two minutes; a second report replaces the pop-up and restarts it.
    QVERIFY(w->memoryFullPopupTimer() && w->memoryFullPopupTimer()->isActive());
    QCOMPARE(w->memoryFullPopupTimer()->interval(), 120000);
    QPointer<SMSMemoryFullPopup> first = popup;
    w->setMemoryFullPopupTimeout(50);
    QVERIFY(inject(memory, "+447700900124", "refused") < 0);  // full: refused, reported again
    QTRY_VERIFY(!first);
    QTRY_VERIFY(w->memoryFullPopup());
    QTRY_VERIFY(!w->memoryFullPopup());  // closed by its timer

    // Close closes at once.
    w->createMemoryFullPopUp(status, false);
    QVERIFY(w->memoryFullPopup());
    QTest::mouseClick(w->memoryFullPopup()->closeButton(), Qt::LeftButton);
    QTRY_VERIFY(!w->memoryFullPopup());
}

void tst_Reactions::popupPlacementAndLanguage()
{
    SMSUIMainDlg *w = openWindow(true);
    QVERIFY(w);
    // A maximised main window: its title-bar buttons are in the top right corner.
    m_host->frame->showMaximized();
    SMSTaskbarNotifier::setScreenGeometryOverride(QRect(0, 0, 1920, 1040), QRect(0, 0, 1920, 1080));
    w->onSmsStatusChanged(UTPS_SMS_STATUS_DEVICE_FULL);
    SMSMemoryFullPopup *popup = w->memoryFullPopup();
    QVERIFY(popup);
    QCOMPARE(popup->size(), QSize(320, 120));
    // Beside the taskbar, where the new-message pop-up goes, and not maximised with the frame.
    QCOMPARE(popup->pos(), QPoint(1920 - 320, 1039 - 120));
    QVERIFY(!(popup->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)));
    // Unknown codes change nothing.
    w->onSmsStatusChanged(42);
    QCOMPARE(w->memoryFullPopup(), popup);
    popup->label()->clear();
    popup->closeButton()->setText(QString());
    w->SetLanguage(false);
    QCOMPARE(popup->label()->text(), SMSUIMainDlg::tr(QStringLiteral("IDS_STC_DEVICESMSFULL")));
    QCOMPARE(popup->closeButton()->text(), SMSUIMainDlg::tr(QStringLiteral("IDS_BTN_CLOSE")));
}

void tst_Reactions::dualModeCardMovesTheFullSimToThePcWithoutLoss()
{
    CommonUtils::SetSettings(QStringLiteral("DualModeCard"),
                             QStringLiteral("HideDoubleModeCardNode"), QStringLiteral("true"));
    QCOMPARE(SimCtl_SetMultiModeCard(1), 0L);
    for (int i = 0; i < 4; ++i)
        QVERIFY(WindowFixture::save(i % 2 ? EN_SIM_OUTBOX : EN_SIM_INBOX,
                                    QStringLiteral("+1555300%1").arg(i),
                                    QStringLiteral("card %1").arg(i)) >= 0);
    SMSUIMainDlg *w = openWindow(true);
    QVERIFY(w);
    QTRY_COMPARE(w->tableAt(EN_SIM_INBOX)->rowCount(), 2);
    w->setDualModePromptDelays(30, 60);
    QList<MessageRequest> asked;
    CommonUtils::SetMessageResponder([&asked](const MessageRequest &request) {
        asked << request;
        return request.text == SMSUIMainDlg::tr(QStringLiteral("IDS_DualModeCard_STC_FULL"))
            ? CommonUtils::FirstButton
            : CommonUtils::SecondButton;
    });
    const int pcBefore = used(UTPS_SMS_MEM_PC);
    // Room for only two more on the PC: the move runs into a full storage half-way.
    QCOMPARE(SimCtl_SetCapacity(UTPS_SMS_MEM_PC, pcBefore + 2), 0L);
    QCOMPARE(SimCtl_SetCapacity(UTPS_SMS_MEM_SIM, 5), 0L);
    QVERIFY(inject(UTPS_SMS_MEM_SIM, "+447700900123", "the fifth") >= 0);
    const int total = pcBefore + 5;
    // The prompt comes later, instead of the pop-up.
    QCOMPARE(asked.size(), 0);
    QTRY_COMPARE(asked.size(), 1);
    QCOMPARE(asked.first().button1, QStringLiteral("IDS_OK"));
    QCOMPARE(asked.first().button2, QStringLiteral("IDS_CANCEL"));
    QCOMPARE(asked.first().parent, m_host->frame.get());
    QTRY_VERIFY(w->workerThread().isFinished());
    QTRY_VERIFY(SimCtl_WaitIdle(100) == 0);
    QCOMPARE(used(UTPS_SMS_MEM_PC), pcBefore + 2);
    QCOMPARE(used(UTPS_SMS_MEM_SIM) + used(UTPS_SMS_MEM_PC), total);
    // The PC filling up on the way is announced like any full storage.
    QTRY_COMPARE(w->lastStorageStatus(), int(UTPS_SMS_STATUS_PC_FULL));
    QTRY_VERIFY(w->memoryFullPopup());
    QCOMPARE(w->memoryFullPopup()->label()->text(),
             SMSUIMainDlg::tr(QStringLiteral("IDS_STC_LOCALSMSFULL")));
    // The tables show what the storages hold.
    QTRY_COMPARE(w->tableAt(EN_SIM_INBOX)->rowCount() + w->tableAt(EN_SIM_OUTBOX)->rowCount(),
                 used(UTPS_SMS_MEM_SIM));
}

void tst_Reactions::flightModeAndNetworkRefusal()
{
    QVERIFY(WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+15554000"),
                                QStringLiteral("hello")) >= 0);
    SMSUIMainDlg *w = openWindow(true);
    QVERIFY(w);
    QTRY_VERIFY(w->canSendSMS());
    selectFirstRow(w);
    const QList<int> answering{9002, 9003, 9004};
    for (int id : answering)
        QVERIFY2(w->isToolBarItemEnabled(id), qPrintable(QString::number(id)));

    // Flight mode (as the SMS service passes the host's event on) switches every command
    // on the message off.
    w->GetPresentNetworkStatus(false);
    for (int id : {9001, 9002, 9003, 9004, 9005})
        QVERIFY2(!w->isToolBarItemEnabled(id), qPrintable(QString::number(id)));
    QVERIFY(!w->networkStatus());

    // Back on with nothing selected: still nothing to send, reply to or forward.
    w->currentTable()->clearSelection();
    w->GetPresentNetworkStatus(true);
    QVERIFY(w->networkStatus());
    for (int id : answering)
        QVERIFY2(!w->isToolBarItemEnabled(id), qPrintable(QString::number(id)));
    selectFirstRow(w);
    for (int id : answering)
        QVERIFY2(w->isToolBarItemEnabled(id), qPrintable(QString::number(id)));

    // The network refusing messages: the commands that send go off, Delete stays.
    QCOMPARE(SimCtl_SetCanSend(0), 0L);
    QTRY_VERIFY(!w->canSendSMS());
    for (int id : answering)
        QVERIFY2(!w->isToolBarItemEnabled(id), qPrintable(QString::number(id)));
    QVERIFY(w->isToolBarItemEnabled(9001));
    QCOMPARE(SimCtl_SetCanSend(1), 0L);
    QTRY_VERIFY(w->canSendSMS());
    for (int id : answering)
        QVERIFY2(w->isToolBarItemEnabled(id), qPrintable(QString::number(id)));
}

void tst_Reactions::deviceRemovalClosesWhatBelongsToIt()
{
    SMSUIMainDlg *w = openWindow(true);
    QVERIFY(w);
    SMSTaskbarNotifier::Instance()->Show(QStringLiteral("+447700900123"));
    QVERIFY(SMSTaskbarNotifier::Instance()->notifyDialog());
    SMSWaitingDlg *progress = w->waitingDialog();
    QVERIFY(progress);
    progress->m_iSteps = 0;
    progress->m_iMaximum = 10;
    progress->ShowAnimationDialog(w, 2);
    QTRY_VERIFY(progress->dialog() && progress->dialog()->isVisible());
    QCOMPARE(SimCtl_SetDevicePlugged(0), 0L);
    QTRY_VERIFY(!progress->dialog() || !progress->dialog()->isVisible());
    QTRY_VERIFY(!SMSTaskbarNotifier::Instance()->notifyDialog());
    // Storages and sending follow the SDK's own notices of the removal, which may come a
    // turn of the event loop after the pop-up has gone.
    QTRY_VERIFY(!w->simStorageAvailable());
    QTRY_VERIFY(!w->deviceStorageAvailable());
    QTRY_VERIFY(!w->canSendSMS());
}

QTEST_MAIN(tst_Reactions)
#include "tst_reactions.moc"
