// SPDX-License-Identifier: GPL-3.0-or-later
// The progress dialog: per-unit and creeping progress, the count label, the delayed close,
// Cancel (including the send-cancel worker), the label rule and Escape.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "store/SMSStatusUILogic.h"
#include "operations/SMSThreadUI.h"
#include "window/SMSWaitingDlg.h"
#include "QueuedSpy.h"
#include "TestEnv.h"
#include "sdk_simulator.h"

namespace {

struct Parts
{
    WaitingDlg *dialog = nullptr;
    QLabel *label = nullptr;
    QLabel *count = nullptr;
    QProgressBar *bar = nullptr;
    QPushButton *cancel = nullptr;
};

} // namespace

class ProgressTest : public QObject
{
    Q_OBJECT

private:
    // Shows a dialog for units units of operation and returns its parts.
    Parts show(int units, int operation)
    {
        m_progress->m_iSteps = 0;
        m_progress->m_iMaximum = units;
        m_progress->ShowAnimationDialog(&m_parent, operation);
        Parts p;
        p.dialog = m_progress->dialog();
        if (!p.dialog)
            return p;
        p.label = p.dialog->findChild<QLabel *>(QStringLiteral("SMSUIPlugin_WaitingDialogLabel"));
        p.count = p.dialog->findChild<QLabel *>(QStringLiteral("SMSUIPlugin_WaitingDialogCount"));
        p.bar = p.dialog->findChild<QProgressBar *>(
            QStringLiteral("SMSUIPlugin_WaitingDialogProgress"));
        p.cancel = p.dialog->findChild<QPushButton *>(
            QStringLiteral("SMSUIPlugin_WaitingDialogCancel"));
        return p;
    }
    QTimer *stopTimer() const
    {
        return m_progress->findChild<QTimer *>(QStringLiteral("SMSWaitingDlg_StopTimer"));
    }
    void creep(int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            m_progress->updateProgressBarForSmoothness();
    }

    std::unique_ptr<TestDataHome> m_home;
    QWidget m_parent;
    std::unique_ptr<SMSWaitingDlg> m_progress;

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("DIALCREST_NO_DEMO", "1");
        qputenv("DIALCREST_TRANSLATIONS", DIALCREST_TEST_TRANSLATIONS);
        m_parent.resize(800, 600);
        m_parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_parent));
    }
    void init()
    {
        m_home = std::make_unique<TestDataHome>();
        QCOMPARE(SimCtl_Reset(), UTPS_OK);
        m_progress = std::make_unique<SMSWaitingDlg>();
        SMSThreadUI::m_bStopSmsThread = false;
    }
    void cleanup()
    {
        m_progress.reset();
        SMSStatusUILogic::Destroy();
        SimCtl_Reset();
        m_home.reset();
    }

    void oneUnit()
    {
        Parts p = show(1, SMSWaitingDlg::OpDelete);
        QVERIFY(p.dialog && p.label && p.count && p.bar && p.cancel);
        QVERIFY(p.dialog->isVisible());
        QCOMPARE(p.label->text(), QStringLiteral("Deleting messages..."));
        QCOMPARE(p.count->text(), QStringLiteral("0/1"));
        QCOMPARE(p.cancel->text(), QStringLiteral("Cancel"));
        QVERIFY(!p.cancel->isEnabled());  // a single unit cannot be cancelled

        creep(200);
        QCOMPARE(p.bar->value(), 99);
        m_progress->updateProgressBarLabel(1, 1);
        QCOMPARE(p.count->text(), QStringLiteral("1/1"));
        QCOMPARE(p.bar->value(), 100);
        QVERIFY(stopTimer() && stopTimer()->isActive());
        QCOMPARE(stopTimer()->interval(), 3000);
        QVERIFY(p.dialog->isVisible());  // closes only after the delay
        QTRY_VERIFY_WITH_TIMEOUT(!p.dialog->isVisible(), 5000);
        QCOMPARE(m_progress->m_iSteps, 0);
        QCOMPARE(m_progress->m_iMaximum, 0);
    }

    void threeUnits()
    {
        Parts p = show(3, SMSWaitingDlg::OpCopy);
        QCOMPARE(p.label->text(), QStringLiteral("Copying messages..."));
        QVERIFY(p.cancel->isEnabled());
        QCOMPARE(m_progress->m_iNextHandledUnit, 33);
        QTRY_VERIFY(p.bar->value() >= 1);  // the bar creeps on its own
        creep(100);
        QCOMPARE(p.bar->value(), 32);

        m_progress->updateProgressBarLabel(1, 3);
        QCOMPARE(p.bar->value(), 33);
        QCOMPARE(p.count->text(), QStringLiteral("1/3"));
        creep(100);
        QCOMPARE(p.bar->value(), 65);
        m_progress->updateProgressBarLabel(2, 3);
        QCOMPARE(p.bar->value(), 66);
        creep(100);
        QCOMPARE(p.bar->value(), 99);
        QVERIFY(!stopTimer() || !stopTimer()->isActive());
        m_progress->updateProgressBarLabel(3, 3);
        QCOMPARE(p.bar->value(), 100);
        QVERIFY(stopTimer() && stopTimer()->isActive());
    }

    // Cancel while a send is under way: the dialog stays and its own worker cancels the
    // send, so the recipients not yet served fail.
    void cancelDuringSend()
    {
        SMSStatusUILogic *store = SMSStatusUILogic::Instance();
        QCOMPARE(store->InitStatusLogic(), 0);
        QueuedSpy<bool> results(store, &SMSStatusUILogic::SmsSendResult);
        QCOMPARE(SimCtl_SetSendDelay(3000), UTPS_OK);
        const std::u16string numbers = u"+15550001;+15550002;+15550003";
        const std::u16string text = u"cancel me";
        _UTPS_ST_SMS_RECORD *record = nullptr;
        QCOMPARE(UTPS_SMSSrv_CreateSMSRecord(&record,
                                             reinterpret_cast<const UTPS_WCHAR *>(numbers.c_str()),
                                             reinterpret_cast<const UTPS_WCHAR *>(text.c_str())),
                 UTPS_OK);
        QCOMPARE(UTPS_SMSSrv_SendMsg(record), UTPS_OK);
        UTPS_SMSSrv_ReleaseSMSRecord(&record);

        Parts p = show(3, SMSWaitingDlg::OpSend);
        QCOMPARE(p.label->text(), QStringLiteral("Sending messages..."));
        auto *worker = m_progress->findChild<SMSThreadUI *>(
            QStringLiteral("SMSWaitingDlg_CancelSendThread"));
        QVERIFY(worker);
        QueuedSpy<> finished(worker, &QThread::finished);
        QTest::mouseClick(p.cancel, Qt::LeftButton);

        QVERIFY(!p.cancel->isEnabled());
        QVERIFY(m_progress->IsProgressBarCanceled());
        QCOMPARE(p.label->text(), QStringLiteral("Cancelling..."));
        // The stop flag stays raised, so that a send the window's worker has not handed to
        // the SDK yet is not sent either; closing the dialog clears it.
        QVERIFY(SMSThreadUI::m_bStopSmsThread);
        QVERIFY(finished.wait(20000));  // generous: the machine may be loaded
        QCOMPARE(worker->operation(), int(DC_SMS_CANCEL_SEND));
        QTRY_COMPARE_WITH_TIMEOUT(results.count(), 3, 10000);
        for (const QVariantList &result : results.calls())
            QVERIFY(!result.at(0).toBool());
        QVERIFY(p.dialog->isVisible());  // the window's result handler closes it
        QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
        store->unSDKRegisterEvent();
    }

    // Once every unit is in, the button reads OK and closes at once.
    void okClosesAtOnce()
    {
        Parts p = show(2, SMSWaitingDlg::OpDelete);
        m_progress->updateProgressBarLabel(1, 2);
        m_progress->updateProgressBarLabel(2, 2);
        SMSThreadUI::m_bStopSmsThread = true;
        m_progress->onCompleteChangeButtonText();
        QVERIFY(p.cancel->isEnabled());
        QCOMPARE(p.cancel->text(), QStringLiteral("OK"));
        QTest::mouseClick(p.cancel, Qt::LeftButton);
        QVERIFY(!p.dialog->isVisible());
        QVERIFY(!m_progress->IsProgressBarCanceled());
        QVERIFY(!SMSThreadUI::m_bStopSmsThread);
        QCOMPARE(m_progress->m_iMaximum, 0);
    }

    // A second close request within the delay does not restart it: the dialog still
    // closes three seconds after the first request.
    void doubleCloseClosesOnce()
    {
        Parts p = show(5, SMSWaitingDlg::OpMove);
        m_progress->closeWaitingDialog();
        auto *smooth = m_progress->findChild<QTimer *>(
            QStringLiteral("SMSWaitingDlg_SmoothnessTimer"));
        QVERIFY(!smooth || !smooth->isActive());  // the bar stops creeping
        QTRY_VERIFY(stopTimer()->remainingTime() < 2500);
        m_progress->closeWaitingDialog();
        QVERIFY(stopTimer()->remainingTime() < 2500);
        QTRY_VERIFY_WITH_TIMEOUT(!p.dialog->isVisible(), 5000);
        QCOMPARE(m_progress->m_iMaximum, 0);
    }

    void escapeDoesNotClose()
    {
        Parts p = show(2, SMSWaitingDlg::OpDelete);
        QVERIFY(QTest::qWaitForWindowExposed(p.dialog));
        QTest::keyClick(p.dialog, Qt::Key_Escape);
        QVERIFY(p.dialog->isVisible());
        QVERIFY(p.dialog->close());  // other ways of closing are accepted
        QVERIFY(!p.dialog->isVisible());
    }

    // Texts under 26 characters are translation keys; longer ones are shown as given.
    void changeLabelKeyLength()
    {
        Parts p = show(2, 7);
        QVERIFY(p.label->text().isEmpty());  // operations without a label
        m_progress->changeLabel("IDS_PROGRESS_LABEL_25CHAR");
        QCOMPARE(p.label->text(), QStringLiteral("translated 25"));
        m_progress->changeLabel("IDS_PROGRESS_LABEL_26CHARS");
        QCOMPARE(p.label->text(), QStringLiteral("IDS_PROGRESS_LABEL_26CHARS"));
    }

    // A close still pending from the previous operation leaves the next dialog alone.
    void nextOperationWithinCloseDelay()
    {
        Parts first = show(1, SMSWaitingDlg::OpDelete);
        m_progress->updateProgressBarLabel(1, 1);
        QVERIFY(stopTimer()->isActive());
        QPointer<WaitingDlg> old = first.dialog;
        Parts second = show(2, SMSWaitingDlg::OpMove);
        QVERIFY(old.isNull());
        QCOMPARE(second.label->text(), QStringLiteral("Moving messages..."));
        QVERIFY(!stopTimer() || !stopTimer()->isActive());
        QCOMPARE(m_progress->m_iMaximum, 2);
    }

    // The main window may adopt the process-wide instance and delete it with itself.
    void adoptedInstanceDeletedOnce()
    {
        SMSWaitingDlg *adopted = SMSWaitingDlg::Instance();
        QCOMPARE(SMSWaitingDlg::Instance(), adopted);
        QVERIFY(adopted != m_progress.get());
        delete adopted;
        SMSWaitingDlg::Destroy();  // must not delete it again
        QVERIFY(SMSWaitingDlg::Instance());
        SMSWaitingDlg::Destroy();
        SMSWaitingDlg::Destroy();
    }
};

QTEST_MAIN(ProgressTest)
#include "tst_progress.moc"
