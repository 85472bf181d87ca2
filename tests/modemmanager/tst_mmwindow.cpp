// SPDX-License-Identifier: GPL-3.0-or-later
// The host's Modem menu on ModemManager (the fake, on a private bus): choosing among the
// modems and remembering the choice, and unlocking a SIM that takes its time to answer
// while the window goes on working.
// GLib's headers use "signals" as a name, which Qt defines as a keyword: they come first.
#include <libmm-glib.h>

#include "FakeModemManager.h"
#include "HostApplication.h"
#include "HostInterfaces.h"
#include "HostOptions.h"
#include "SmsPluginLoader.h"
#include "CommonUtils.h"
#include "ModemChoiceMenu.h"
#include "ModemOperation.h"
#include "RealModemMenu.h"
#include "SimUnlockDialog.h"
#include "TestEnv.h"
#include "sdk_backend.h"
#include "sdk_modem.h"
#include "sdk_simulator.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QFileInfo>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

QString inUse()
{
    SdkModemInfo list[8] = {};
    int count = 0;
    SdkBackend_ListModems(list, 8, &count);
    for (int i = 0; i < std::min(count, 8); ++i) {
        if (list[i].inUse)
            return QString::fromUtf8(list[i].identity);
    }
    return {};
}

int pinState()
{
    int state = -1;
    unsigned char pin = 0, puk = 0;
    UTPS_DevSrv_GetPinStatus(0, &state, &pin, &puk, nullptr);
    return state;
}

QList<QAction *> entries(RealModemMenu &menu)
{
    QList<QAction *> out;
    for (QAction *a : menu.choice()->menu()->actions()) {
        if (a->isCheckable())
            out << a;
    }
    return out;
}

} // namespace

class TestModemWindow : public QObject
{
    Q_OBJECT
    TestDataHome m_home;
    FakeModemManager m_fake;
    QString m_first;
    QString m_second;

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        SimCtl_SetDemoSeed(0);
        if (!m_fake.startBus())
            QSKIP(qPrintable(m_fake.error()));
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_fake.busAddress().toUtf8());
        QVERIFY2(m_fake.startService(), qPrintable(m_fake.error()));
        char why[512] = {};
        QCOMPARE(SdkBackend_Select("modemmanager", why, sizeof why), UTPS_OK);
        m_first = m_fake.deviceIdentifier();
        m_fake.actOn(m_fake.addModem());
        m_second = m_fake.deviceIdentifier();
        m_fake.actOn(0);
        QTRY_COMPARE(inUse(), m_first);
    }

    // The submenu lists the modems as they come and go, checks the one in use, and a
    // choice switches to it and is remembered.
    void submenuFollowsTheModems()
    {
        QWidget window;
        RealModemMenu menu(&window);
        menu.setPromptWhenLocked(false);
        QTRY_COMPARE((menu.poll(), entries(menu).size()), 2);
        QVERIFY(entries(menu).at(0)->isChecked());
        QVERIFY(entries(menu).at(0)->text().contains(QStringLiteral("Stand-in 1")));
        entries(menu).at(1)->trigger();
        QCOMPARE(inUse(), m_second);
        QCOMPARE(ModemChoiceMenu::remembered(), m_second);
        QVERIFY(entries(menu).at(1)->isChecked());
        QVERIFY(!entries(menu).at(0)->isChecked());

        m_fake.actOn(1);
        m_fake.setModemPresent(false);
        QTRY_COMPARE((menu.poll(), entries(menu).size()), 1);
        QVERIFY(!entries(menu).at(0)->isChecked()); // the first is there, not in use
        m_fake.setModemPresent(true);
        QTRY_COMPARE((menu.poll(), entries(menu).size()), 2);
        QTRY_VERIFY((menu.poll(), entries(menu).at(1)->isChecked()));
        m_fake.actOn(0);
    }

    // At start, the modem chosen last time is used when it is there and the command line
    // did not name one.
    void rememberedChoiceAtStart_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<bool>("rememberedIsThere");
        QTest::addColumn<bool>("switched");
        QTest::newRow("remembered") << QStringLiteral("modemmanager") << true << true;
        QTest::newRow("command line names the first") << QStringLiteral("modemmanager:0") << true << false;
        QTest::newRow("remembered one not there") << QStringLiteral("modemmanager") << false << false;
    }
    void rememberedChoiceAtStart()
    {
        QFETCH(QString, commandLine);
        QFETCH(bool, rememberedIsThere);
        QFETCH(bool, switched);
        QWidget window;
        RealModemMenu menu(&window);
        menu.setPromptWhenLocked(false);
        QCOMPARE(menu.choice()->choose(m_second), UTPS_OK);
        QCOMPARE(menu.choice()->choose(m_first), UTPS_OK);
        // As if the second had been chosen in the last session.
        QVERIFY(CommonUtils::SetSettings(QStringLiteral("modem"), QStringLiteral("chosen"),
                                         rememberedIsThere ? m_second : QStringLiteral("gone-modem")));
        QCOMPARE(ModemChoiceMenu::useRemembered(commandLine), switched);
        QCOMPARE(inUse(), switched ? m_second : m_first);
    }

    // The SIM takes seconds to check a code: the window keeps running meanwhile, and no
    // second code goes out, from this dialog or another, until the answer is in.
    void slowUnlockKeepsTheWindowWorking()
    {
        QCOMPARE(SdkBackend_UseModem(m_first.toUtf8().constData()), UTPS_OK);
        m_fake.setSimLock(MM_MODEM_LOCK_SIM_PIN, 3, 10);
        QTRY_COMPARE(pinState(), UTPS_PIN_STATE_PIN_REQUIRED);
        m_fake.setUnlockDelayMs(1500);
        const int callsBefore = m_fake.unlockCalls();
        SimUnlockDialog dialog;
        SimUnlockDialog other;
        auto *code = dialog.findChild<QLineEdit *>(QStringLiteral("dialcrest_SimCode"));
        QVERIFY(code);
        QSignalSpy answered(&dialog, &SimUnlockDialog::attemptFinished);
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&] { ++ticks; });
        tick.start(20);

        code->setText(QStringLiteral("0000"));
        QVERIFY(dialog.tryCode());
        QVERIFY(dialog.checking());
        QVERIFY(!code->isEnabled());
        code->setEnabled(true);
        code->setText(QStringLiteral("1111"));
        QVERIFY(!dialog.tryCode());
        other.findChild<QLineEdit *>(QStringLiteral("dialcrest_SimCode"))->setText(QStringLiteral("1234"));
        QVERIFY(!other.tryCode());
        dialog.reject(); // stays open for the answer
        QVERIFY(answered.wait(10000));
        QVERIFY2(ticks >= 20, qPrintable(QStringLiteral("%1 ticks").arg(ticks)));
        QCOMPARE(answered.first().first().value<long>(), UTPS_E_WRONG_PIN);
        QCOMPARE(m_fake.unlockCalls(), callsBefore + 1);
        QVERIFY(!dialog.checking());
        QVERIFY(code->isEnabled());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        m_fake.setUnlockDelayMs(0);
        m_fake.setSimLock(MM_MODEM_LOCK_NONE);
    }

    // The application with the SMS window: choosing the other modem in the menu replaces
    // the first modem's SIM messages with the second's.
    void windowFollowsTheSwitch()
    {
        if (!QFileInfo::exists(SmsPluginLoader::defaultLibraryPath()))
            QSKIP("the SMS plug-in is not part of this build");
        QCOMPARE(SdkBackend_UseModem(m_first.toUtf8().constData()), UTPS_OK);
        m_fake.receive(QStringLiteral("+15550401"), QStringLiteral("to the first modem"));
        m_fake.actOn(1);
        m_fake.receive(QStringLiteral("+15550402"), QStringLiteral("to the second modem"));
        m_fake.receive(QStringLiteral("+15550403"), QStringLiteral("to the second modem again"));
        m_fake.actOn(0);
        HostApplication host{HostOptions{}};
        QVERIFY(host.start(/* showFrame */ true));
        QVERIFY2(host.smsPlugin()->isReady(), qPrintable(host.smsPlugin()->errorString()));
        ISMSUIService *service = host.smsPlugin()->smsService();
        QVERIFY(service && host.realModemMenu());
        QTRY_COMPARE(service->GetUnReadSMSTotalCount(), 1);
        const QList<QAction *> modems = entries(*host.realModemMenu());
        QCOMPARE(modems.size(), 2);
        modems.at(1)->trigger();
        QTRY_COMPARE(service->GetUnReadSMSTotalCount(), 2);
        host.shutdown();
    }

    // The window closed while the SIM checks the code: nothing is left to crash on, and
    // the code still reaches the SIM.
    void windowClosedWhileChecking()
    {
        QCOMPARE(SdkBackend_UseModem(m_first.toUtf8().constData()), UTPS_OK);
        m_fake.setSimLock(MM_MODEM_LOCK_SIM_PIN, 3, 10);
        QTRY_COMPARE(pinState(), UTPS_PIN_STATE_PIN_REQUIRED);
        m_fake.setUnlockDelayMs(800);
        auto *window = new QWidget;
        RealModemMenu menu(window);
        menu.setPromptWhenLocked(false);
        QTimer::singleShot(0, this, [window] {
            auto *dialog = window->findChild<SimUnlockDialog *>();
            QVERIFY(dialog);
            dialog->findChild<QLineEdit *>(QStringLiteral("dialcrest_SimCode"))->setText(QStringLiteral("1234"));
            QVERIFY(dialog->tryCode());
            QTimer::singleShot(100, [window] { delete window; });
        });
        QCOMPARE(menu.unlockSim(), -1L);
        menu.poll();
        QTRY_COMPARE(m_fake.simLock(), uint(MM_MODEM_LOCK_NONE));
        QTRY_VERIFY(!ModemOperation::anyRunning());
        m_fake.setUnlockDelayMs(0);
    }
};

QTEST_MAIN(TestModemWindow)
#include "tst_mmwindow.moc"
