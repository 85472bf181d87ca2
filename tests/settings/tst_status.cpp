// The store's status questions, recipient number rules and storage detectors, against the
// simulated modem.
#include <QElapsedTimer>
#include <QtTest>

#include "DetectMemoryDeviceThread.h"
#include "SMSStatusUILogic.h"
#include "SmsSettingUILogic.h"
#include "SmsSettingXMLParse.h"
#include "TestEnv.h"
#include "sdk_simulator.h"

class StatusTest : public QObject
{
    Q_OBJECT

private:
    SMSStatusUILogic *store() { return SMSStatusUILogic::Instance(); }

    std::unique_ptr<TestDataHome> m_home;
    QTemporaryDir m_pluginRoot;

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("DIALCREST_NO_DEMO", "1");
        qputenv("DIALCREST_PLUGIN_ROOT", m_pluginRoot.path().toUtf8());
        QVERIFY(QDir().mkpath(m_pluginRoot.path() + QStringLiteral("/plugins/SMSUIPlugin")));
    }
    void init()
    {
        m_home = std::make_unique<TestDataHome>();
        QCOMPARE(SimCtl_Reset(), UTPS_OK);
    }
    void cleanup()
    {
        SMSStatusUILogic::Destroy();
        SMSSettingUILogic::Destroy();
        QFile::remove(SmsSettingXMLParse::ConfigFilePath());
        SimCtl_Reset();
        m_home.reset();
    }

    void deviceAndSimQuestions()
    {
        QVERIFY(store()->IsDevAvailable());
        QVERIFY(store()->IsSimValidForSMS());
        QVERIFY(store()->IsRFEnabled());
        QVERIFY(store()->GetNetworkModeStatus());
        _UTPS_EN_SIMSTATE state = UTPS_SIMSTATE_BLOCKED;
        QCOMPARE(store()->GetSimStatus(&state), 0);
        QCOMPARE(state, UTPS_SIMSTATE_READY);
        QCOMPARE(store()->GetSimStatus(nullptr), 15);

        QCOMPARE(SimCtl_SetPinState(UTPS_PIN_STATE_PIN_REQUIRED, 3, 10), UTPS_OK);
        QVERIFY(!store()->IsSimValidForSMS());
        QCOMPARE(SimCtl_SetPinState(UTPS_PIN_STATE_VERIFIED, 3, 10), UTPS_OK);
        QVERIFY(store()->IsSimValidForSMS());

        QCOMPARE(SimCtl_SetFlightMode(1), UTPS_OK);
        QVERIFY(!store()->IsRFEnabled());
        QVERIFY(!store()->GetNetworkModeStatus());
        QCOMPARE(SimCtl_SetFlightMode(0), UTPS_OK);
        QCOMPARE(SimCtl_SetNetworkRegistered(0), UTPS_OK);
        QVERIFY(!store()->GetNetworkModeStatus());

        SimCtl_FailNextCalls("UTPS_DevSrv_GetSimStatus", 1, UTPS_E_FAILED);
        state = UTPS_SIMSTATE_BLOCKED;
        QCOMPARE(store()->GetSimStatus(&state), 1);
        QCOMPARE(state, UTPS_SIMSTATE_ABSENT);
    }

    // Without a device the radio switch is never asked: the armed fault is still there
    // for the first question after the device is back.
    void radioNotAskedWithoutDevice()
    {
        QCOMPARE(SimCtl_SetDevicePlugged(0), UTPS_OK);
        SimCtl_FailNextCalls("UTPS_DevSrv_GetRFSwitch", 1, UTPS_E_FAILED);
        QVERIFY(!store()->IsDevAvailable());
        QVERIFY(!store()->IsRFEnabled());
        QCOMPARE(SimCtl_SetDevicePlugged(1), UTPS_OK);
        QVERIFY(!store()->IsRFEnabled());  // the fault
        QVERIFY(store()->IsRFEnabled());
    }

    void memoryStatus()
    {
        QCOMPARE(SimCtl_SetCapacity(UTPS_SMS_MEM_SIM, 5), UTPS_OK);
        QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_SIM, "+15550123", "hi", nullptr, 3, nullptr),
                 UTPS_OK);
        int capacity = -1;
        int used = -1;
        QCOMPARE(store()->GetMemorySatus(capacity, used, UTPS_SMS_MEM_SIM), 0);
        QCOMPARE(capacity, 5);
        QCOMPARE(used, 1);

        QCOMPARE(SimCtl_SetSimInserted(0), UTPS_OK);
        capacity = used = -1;
        QCOMPARE(store()->GetMemorySatus(capacity, used, UTPS_SMS_MEM_SIM), 1);
        QCOMPARE(capacity, -1);
        QCOMPARE(used, -1);
    }

    void alertSettings()
    {
        bool value = true;
        QCOMPARE(store()->GetSMSSetting(QStringLiteral("SoundAlert"), value), 23);
        QVERIFY(value);
        SMSSettingUILogic::GetInstance()->SetSMSSetting(QStringLiteral("SoundAlert"), false);
        QCOMPARE(store()->GetSMSSetting(QStringLiteral("SoundAlert"), value), 0);
        QVERIFY(!value);
        QString file = QStringLiteral("kept");
        QCOMPARE(store()->GetSMSSoundAlertFile(file), 0);
        QVERIFY(file.isEmpty());
        store()->showNotifyDialog(QStringLiteral("no pop-up yet, no crash either"));
    }

    void numberRules_data()
    {
        QTest::addColumn<QString>("characters");  // configured set; empty: none configured
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("semicolon");
        QTest::addColumn<bool>("characterSet");
        QTest::addColumn<bool>("plus");

        QTest::newRow("empty") << "" << "" << true << true << true;
        QTest::newRow("two international numbers")
            << "" << "+4917012;+4917013" << true << true << true;
        QTest::newRow("plus alone") << "" << "+" << true << true << true;
        QTest::newRow("plus inside a number") << "" << "123+4" << true << true << false;
        QTest::newRow("plus after the separator") << "" << "1;+2" << true << true << true;
        QTest::newRow("leading separator") << "" << ";+1" << false << false << true;
        QTest::newRow("two separators") << "" << "1;;2" << false << true << true;
        QTest::newRow("trailing separator") << "" << "12;" << true << true << true;
        QTest::newRow("letter") << "" << "12a4" << true << false << true;
        QTest::newRow("space") << "" << "12 4" << true << false << true;
        QTest::newRow("star and hash") << "" << "*123#" << true << true << true;
        QTest::newRow("double plus") << "" << "++1" << true << true << false;
        QTest::newRow("configured digits only") << "0123456789;" << "+123" << true << false << true;
        QTest::newRow("configured letters") << "0123456789ABC;" << "12AB;C" << true << true << true;
        QTest::newRow("configured set, hash refused") << "0123456789;" << "12#" << true << false
                                                      << true;
    }
    void numberRules()
    {
        QFETCH(QString, characters);
        QFETCH(QString, text);
        QFETCH(bool, semicolon);
        QFETCH(bool, characterSet);
        QFETCH(bool, plus);

        QFile file(SmsSettingXMLParse::ConfigFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (!characters.isEmpty())
            file.write("<c><NumberLimit name=\"" + characters.toUtf8() + "\"/></c>");
        else
            file.write("<c/>");
        file.close();
        QCOMPARE(SMSSettingUILogic::GetInstance()->InitSmsXMLConfiguration(), 0);
        const QString inForce = store()->GetRegExpForNumberLimitCustomization();
        QCOMPARE(inForce, characters.isEmpty() ? QStringLiteral("+0123456789*#;") : characters);
        QCOMPARE(store()->GetNumberCharacters(), inForce);

        QCOMPARE(store()->IsLimitSemicolon(text), semicolon);
        QCOMPARE(store()->IsLimitValid(text), characterSet);
        QCOMPARE(store()->IsLimitPlusPos(text), plus);
        QCOMPARE(store()->IsInputNumberValid(text), semicolon && characterSet && plus);
    }

    // Readable after three failed probes: one signal, about three seconds after the start.
    void detectorSignalsOnceWhenReadable()
    {
        store();
        QCOMPARE(SimCtl_SetStorageUnreadable(UTPS_SMS_MEM_SIM, 3, 0), UTPS_OK);
        DetectMemoryDeviceThread detector(UTPS_SMS_MEM_SIM);
        QSignalSpy spy(&detector, &DetectMemoryDeviceThread::signalReadSIM);
        QElapsedTimer clock;
        clock.start();
        detector.start();
        QVERIFY(spy.wait(10000));
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 2500, qPrintable(QString::number(elapsed)));
        QVERIFY(detector.wait(2000));
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), int(UTPS_SMS_MEM_SIM));
        QVERIFY(!detector.isStopRequested());
        QVERIFY(detector.runMutex()->tryLock());
        detector.runMutex()->unlock();
    }

    void detectorStopsWithoutSignal()
    {
        store();
        QCOMPARE(SimCtl_SetStorageUnreadable(UTPS_SMS_MEM_DEVICE, 1000, 60000), UTPS_OK);
        DetectMemoryDeviceThread detector(UTPS_SMS_MEM_DEVICE);
        QSignalSpy spy(&detector, &DetectMemoryDeviceThread::signalReadSIM);
        detector.start();
        QTRY_VERIFY(detector.isRunning());
        detector.setStopRequest(true);
        QVERIFY(detector.wait(1000));
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 0);
        QVERIFY(!detector.isStopRequested());  // cleared on the way out

        // The same detector can be started again and then succeeds.
        QCOMPARE(SimCtl_SetStorageUnreadable(UTPS_SMS_MEM_DEVICE, 0, 0), UTPS_OK);
        detector.start();
        QVERIFY(spy.wait(5000));
        QCOMPARE(spy.at(0).at(0).toInt(), int(UTPS_SMS_MEM_DEVICE));
    }
};

QTEST_GUILESS_MAIN(StatusTest)
#include "tst_status.moc"
