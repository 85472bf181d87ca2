// SPDX-License-Identifier: GPL-3.0-or-later
// The settings logic and the store's status questions, number rules and storage
// detectors, against the simulated modem and the host's settings store.
#include <QElapsedTimer>
#include <QtTest>

#include "Change.h"
#include "CommonUtils.h"
#include "operations/SMSEditUILogic.h"
#include "store/DetectMemoryDeviceThread.h"
#include "store/SMSStatusUILogic.h"
#include "settings/SmsSettingUILogic.h"
#include "settings/SmsSettingXMLParse.h"
#include "Startup.h"
#include "QueuedSpy.h"
#include "TestEnv.h"
#include "sdk_simulator.h"

class SettingsLogicTest : public QObject
{
    Q_OBJECT

    SMSSettingUILogic *logic() { return SMSSettingUILogic::GetInstance(); }
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
        Startup::DestroyPluginContainer();
        QFile::remove(SmsSettingXMLParse::ConfigFilePath());
        SimCtl_Reset();
        m_home.reset();
    }

    // Round trips through the modem; failures are 23 and leave the caller's value alone.
    void modemSettings()
    {
        QString number;
        QCOMPARE(logic()->SetSMSCentreNumber("+491720000001"), 0);
        QCOMPARE(logic()->GetSMSCentreNumber(&number), 0);
        QCOMPARE(number, QStringLiteral("+491720000001"));
        int seconds = 0;
        QCOMPARE(logic()->SetSMSValidityPeriod(38102400), 0);
        QCOMPARE(logic()->GetSMSValidityPeriod(&seconds), 0);
        QCOMPARE(seconds, 38102400);
        _UTPS_EN_SMS_PRIORITY priority = UTPS_SMS_PRIORITY_NONE;
        QCOMPARE(logic()->SaveMessagePrioritySetting(UTPS_SMS_PRIORITY_EMERGENCY), 0);
        QCOMPARE(logic()->GetMessagePrioritySetting(&priority), 0);
        QCOMPARE(priority, UTPS_SMS_PRIORITY_EMERGENCY);
        for (bool on : {true, false}) {
            bool read = !on;
            QCOMPARE(logic()->DeliveryReportSetting(on), 0);
            QCOMPARE(logic()->GetDeliveryReportSetting(&read), 0);
            QCOMPARE(read, on);
        }

        QCOMPARE(logic()->SetSMSCentreNumber(QString()), 23);
        QCOMPARE(logic()->SetSMSValidityPeriod(-5), 23);
        SimCtl_FailNextCalls("UTPS_SMSSrv_GetSMSCentreNumber", 1, UTPS_E_FAILED);
        QCOMPARE(logic()->GetSMSCentreNumber(&number), 23);
        QCOMPARE(number, QStringLiteral("+491720000001"));
        SimCtl_FailNextCalls("UTPS_SMSSrv_GetSMSReceiptNotify", 1, UTPS_E_FAILED);
        bool report = true;
        QCOMPARE(logic()->GetDeliveryReportSetting(&report), 23);
        QVERIFY(report);
    }

    void productType_data()
    {
        QTest::addColumn<int>("sdkType");  // -1: no device
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("cardWord");
        QTest::newRow("WCDMA") << 0 << 0 << "WCDMA" << "USIM";
        QTest::newRow("CDMA") << 1 << 0 << "CDMA" << "UIM";
        QTest::newRow("SCDMA") << 2 << 0 << "SCDMA" << "USIM";
        QTest::newRow("above the known types") << 7 << 0 << "UNKNOW" << "USIM";
        QTest::newRow("no device") << -1 << 23 << "kept" << "";
    }
    void productType()
    {
        QFETCH(int, sdkType);
        QFETCH(int, status);
        QFETCH(QString, word);
        QFETCH(QString, cardWord);
        CommonUtils::SetSettings("customize", "simtype", "USIM");
        CommonUtils::SetSettings("customize", "uimtype", "UIM");
        QCOMPARE(sdkType < 0 ? SimCtl_SetDevicePlugged(0) : SimCtl_SetProductType(sdkType), UTPS_OK);
        QString type = QStringLiteral("kept");
        QCOMPARE(logic()->GetProductType(&type), status);
        QCOMPARE(type, word);
        QCOMPARE(logic()->GetSimString(), cardWord);
        QCOMPARE(logic()->GetDeviceStatus(), sdkType >= 0);
    }

    // A host that configures no card word still gets one, in the interface's language, so
    // that no text shows a hole where the card's name belongs.
    void cardWordWithoutHostSetting_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("sdkType");
        QTest::addColumn<QString>("cardWord");
        for (const char *language : {"en", "ar"}) {
            QTest::addRow("%s, WCDMA", language) << language << 0 << "SIM";
            QTest::addRow("%s, CDMA", language) << language << 1 << "UIM";
        }
    }
    void cardWordWithoutHostSetting()
    {
        QFETCH(QString, language);
        QFETCH(int, sdkType);
        QFETCH(QString, cardWord);
        QVERIFY(Change::SetLanguage(language));
        QCOMPARE(SimCtl_SetProductType(sdkType), UTPS_OK);
        const QString fromSettings = logic()->GetSimString();
        const QString fromSending = SMSEditUILogic::Instance()->GetUserIdentityByString();
        Change::SetLanguage(QStringLiteral("en"));
        QCOMPARE(fromSettings, cardWord);
        QCOMPARE(fromSending, cardWord);
    }

    void hostSettings()
    {
        bool flag = true;
        QCOMPARE(logic()->GetSMSSetting("VisionAlert", &flag), 23);
        QCOMPARE(store()->GetSMSSetting("VisionAlert", flag), 23);
        QVERIFY(flag);  // never written: untouched
        QCOMPARE(logic()->SetSMSSetting("VisionAlert", false), 0);
        QCOMPARE(CommonUtils::GetSettings("SMSSERVICE", "VisionAlert"), QStringLiteral("0"));
        QCOMPARE(logic()->GetSMSSetting("VisionAlert", &flag), 0);
        QVERIFY(!flag);
        CommonUtils::SetSettings("SMSSERVICE", "SoundAlert", "true");  // not a number: off
        flag = true;
        QCOMPARE(logic()->GetSMSSetting("SoundAlert", &flag), 0);
        QVERIFY(!flag);

        QString file;
        QCOMPARE(logic()->SetSoundAlertFile(QString()), 23);
        QCOMPARE(logic()->SetSoundAlertFile("/tmp/a b/ring.wav"), 0);
        QCOMPARE(logic()->GetSoundAlertFile(&file), 0);
        QCOMPARE(file, QStringLiteral("/tmp/a b/ring.wav"));
    }

    void configurationLookups()
    {
        bool flag = true;
        QString limit = QStringLiteral("kept");
        QCOMPARE(logic()->GetSMSConfigValue("ShowSMCount", &flag), 23);  // no map yet
        QCOMPARE(logic()->GetNumberLimitConfigValue(&limit), 23);
        QCOMPARE(limit, QStringLiteral("kept"));
        QVERIFY(logic()->GetValidityPeriodList().isEmpty());

        QFile file(SmsSettingXMLParse::ConfigFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<c><ShowSMCount>true</ShowSMCount><SentItemsBox>True</SentItemsBox>"
                   "<ValidityPeriod count=\"3\"><p resource=\"A\"/><p resource=\"B\"/>"
                   "<p resource=\"C\"/></ValidityPeriod><NumberLimit name=\"0123\"/></c>");
        file.close();
        QCOMPARE(logic()->InitSmsXMLConfiguration(), 0);
        QCOMPARE(logic()->GetSMSConfigValue("ShowSMCount", &flag), 0);
        QVERIFY(flag);
        QCOMPARE(logic()->GetSMSConfigValue("SentItemsBox", &flag), 0);
        QVERIFY(!flag);  // only "true" is on
        flag = true;
        QCOMPARE(logic()->GetSMSConfigValue("Local2Device", &flag), 0);
        QVERIFY(flag);  // absent: the caller's default stays
        QCOMPARE(logic()->GetNumberLimitConfigValue(&limit), 0);
        QCOMPARE(limit, QStringLiteral("0123"));
        QCOMPARE(logic()->GetValidityPeriodList(), (QList<QString>{"C", "B", "A"}));

        // A second reading replaces the map instead of adding to it.
        QVERIFY(file.remove());
        QCOMPARE(logic()->InitSmsXMLConfiguration(), 3);
        QCOMPARE(logic()->GetNumberLimitConfigValue(&limit), 0);
        QVERIFY(limit.isEmpty() && logic()->GetValidityPeriodList().isEmpty());
    }

    // Device-initialised events from the SDK's thread arrive queued as DeviceInit(), until
    // unregistered.
    void deviceInitialisedRelay()
    {
        QueuedSpy<> spy(logic(), &SMSSettingUILogic::DeviceInit);
        logic()->RegisterDevice();
        QCOMPARE(SimCtl_SetDevicePlugged(0), UTPS_OK);
        QCOMPARE(SimCtl_SetDevicePlugged(1), UTPS_OK);  // 6014
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(SimCtl_SetSimInserted(0), UTPS_OK);
        QCOMPARE(SimCtl_SetSimInserted(1), UTPS_OK);  // 6016
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(SMSSettingUILogic::OnDeviceChangeEvent(6015, nullptr), 0);

        logic()->UnRegisterDevice();
        QCOMPARE(SimCtl_SetDevicePlugged(0), UTPS_OK);
        QCOMPARE(SimCtl_SetDevicePlugged(1), UTPS_OK);
        QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 2);
        SMSSettingUILogic::Destroy();
        QCOMPARE(SMSSettingUILogic::OnDeviceChangeEvent(6014, nullptr), 0);
    }

    // Without a device the radio switch is never asked: the armed fault is still there
    // for the first question after the device is back.
    void radioNotAskedWithoutDevice()
    {
        QCOMPARE(SimCtl_SetDevicePlugged(0), UTPS_OK);
        SimCtl_FailNextCalls("UTPS_DevSrv_GetRFSwitch", 1, UTPS_E_FAILED);
        QVERIFY(!store()->IsRFEnabled());
        QCOMPARE(SimCtl_SetDevicePlugged(1), UTPS_OK);
        QVERIFY(!store()->IsRFEnabled());  // the fault
        QVERIFY(store()->IsRFEnabled());
        QCOMPARE(SimCtl_SetFlightMode(1), UTPS_OK);
        QVERIFY(!store()->IsRFEnabled());
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
        QTest::newRow("letter") << "" << "12a4" << true << false << true;
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
        QueuedSpy<int> spy(&detector, &DetectMemoryDeviceThread::signalReadSIM);
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
        QueuedSpy<int> spy(&detector, &DetectMemoryDeviceThread::signalReadSIM);
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

QTEST_GUILESS_MAIN(SettingsLogicTest)
#include "tst_settingslogic.moc"
