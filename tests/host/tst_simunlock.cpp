// SPDX-License-Identifier: GPL-3.0-or-later
// Unlocking the SIM from the host: the dialog spends exactly one of the SIM's attempts per
// confirmed code and never one on a code it can tell is malformed; the Modem menu of a real
// modem asks once when the SIM starts asking. Driven against the simulated SIM.
#include "RealModemMenu.h"
#include "SimUnlockDialog.h"
#include "TestEnv.h"
#include "sdk_modem.h"
#include "sdk_simulator.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

class SimUnlockTest : public QObject
{
    Q_OBJECT
    TestDataHome m_home;

    static SimUnlockDialog::Lock lock() { return SimUnlockDialog::currentLock(); }
    // One confirmed code, checked off the GUI thread: waits for the answer.
    static bool attempt(SimUnlockDialog &dialog)
    {
        QSignalSpy answered(&dialog, &SimUnlockDialog::attemptFinished);
        return dialog.tryCode() && answered.wait(5000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        SimCtl_SetDemoSeed(0);
    }
    void init() { SimCtl_Reset(); }

    void oneAttemptPerConfirmedCode_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("wrong");
        QTest::addColumn<QString>("right");
        QTest::newRow("PIN") << UTPS_PIN_STATE_PIN_REQUIRED << QStringLiteral("0000") << QStringLiteral("1234");
        QTest::newRow("PUK") << UTPS_PIN_STATE_PUK_REQUIRED << QStringLiteral("00000000")
                             << QStringLiteral("12345678");
    }
    void oneAttemptPerConfirmedCode()
    {
        QFETCH(int, state);
        QFETCH(QString, wrong);
        QFETCH(QString, right);
        const bool puk = state == UTPS_PIN_STATE_PUK_REQUIRED;
        QCOMPARE(SimCtl_SetPinState(state, puk ? 0 : 3, 10), UTPS_OK);
        SimUnlockDialog dialog;
        auto *code = dialog.findChild<QLineEdit *>(QStringLiteral("dialcrest_SimCode"));
        auto *newPin = dialog.findChild<QLineEdit *>(QStringLiteral("dialcrest_SimNewPin"));
        auto *confirm = dialog.findChild<QLineEdit *>(QStringLiteral("dialcrest_SimConfirmPin"));
        auto *attempts = dialog.findChild<QLabel *>(QStringLiteral("dialcrest_SimAttempts"));
        auto *error = dialog.findChild<QLabel *>(QStringLiteral("dialcrest_SimError"));
        QVERIFY(code && newPin && confirm && attempts && error);
        QVERIFY(attempts->text().contains(puk ? QStringLiteral("10") : QStringLiteral("3")));
        QCOMPARE(newPin->isVisibleTo(&dialog), puk);

        // Malformed: refused here, the SIM is not asked.
        code->setText(QStringLiteral("12"));
        QVERIFY(!dialog.tryCode());
        QVERIFY(!error->text().isEmpty());
        QCOMPARE(puk ? lock().pukAttempts : lock().pinAttempts, puk ? 10 : 3);

        code->setText(wrong);
        newPin->setText(QStringLiteral("4321"));
        confirm->setText(QStringLiteral("4321"));
        QVERIFY(attempt(dialog));
        QCOMPARE(dialog.lastResult(), UTPS_E_WRONG_PIN);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(puk ? lock().pukAttempts : lock().pinAttempts, puk ? 9 : 2);
        QVERIFY(attempts->text().contains(puk ? QStringLiteral("9") : QStringLiteral("2")));
        QVERIFY(code->text().isEmpty()); // the next attempt is typed afresh

        code->setText(right);
        newPin->setText(QStringLiteral("4321"));
        confirm->setText(QStringLiteral("4321"));
        QVERIFY(attempt(dialog));
        QCOMPARE(dialog.lastResult(), UTPS_OK);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(lock().state, UTPS_PIN_STATE_READY);
    }

    // The last wrong PIN turns the question into the PUK's, in the same dialog.
    void lastWrongPinAsksForThePuk()
    {
        QCOMPARE(SimCtl_SetPinState(UTPS_PIN_STATE_PIN_REQUIRED, 1, 10), UTPS_OK);
        SimUnlockDialog dialog;
        auto *code = dialog.findChild<QLineEdit *>(QStringLiteral("dialcrest_SimCode"));
        auto *newPin = dialog.findChild<QLineEdit *>(QStringLiteral("dialcrest_SimNewPin"));
        code->setText(QStringLiteral("9999"));
        QVERIFY(attempt(dialog));
        QCOMPARE(lock().state, UTPS_PIN_STATE_PUK_REQUIRED);
        QVERIFY(newPin->isVisibleTo(&dialog));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void realModemMenuAsksOnceWhenTheSimStartsAsking()
    {
        QWidget window;
        RealModemMenu menu(&window);
        menu.setPromptWhenLocked(false);
        QSignalSpy asked(&menu, &RealModemMenu::simLocked);
        auto *unlock = menu.menu()->findChild<QAction *>(QStringLiteral("dialcrest_ModemUnlockSim"));
        QVERIFY(unlock);
        menu.poll();
        QVERIFY(!unlock->isEnabled());
        QCOMPARE(SimCtl_SetPinState(UTPS_PIN_STATE_PIN_REQUIRED, 3, 10), UTPS_OK);
        menu.poll();
        menu.poll();
        QCOMPARE(asked.count(), 1);
        QVERIFY(unlock->isEnabled());
        // Nothing was tried on the user's behalf.
        QCOMPARE(lock().pinAttempts, 3);
    }
};

QTEST_MAIN(SimUnlockTest)
#include "tst_simunlock.moc"
