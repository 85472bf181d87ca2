// The settings logic against the simulated modem and the host's settings store.
#include <QtTest>

#include "CommonUtils.h"
#include "HostInterfaces.h"
#include "PluginIds.h"
#include "SmsSettingUILogic.h"
#include "SmsSettingXMLParse.h"
#include "Startup.h"
#include "TestEnv.h"
#include "sdk_simulator.h"

namespace {

class FakeDeviceMgr : public QObject, public IDeviceMgr
{
    Q_OBJECT
    Q_INTERFACES(IDeviceMgr)
public:
    int GetDeviceState() override { return 2; }
    int IsSimValid() override { return simValid; }
    int simValid = 1;
};

} // namespace

class SettingsLogicTest : public QObject
{
    Q_OBJECT

private:
    SMSSettingUILogic *logic() { return SMSSettingUILogic::GetInstance(); }

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
        SMSSettingUILogic::Destroy();
        Startup::DestroyPluginContainer();
        QFile::remove(SmsSettingXMLParse::ConfigFilePath());
        SimCtl_Reset();
        m_home.reset();
    }

    void modemSettingsRoundTrip()
    {
        QCOMPARE(logic()->SetSMSCentreNumber(QStringLiteral("+491720000001")), 0);
        QString number;
        QCOMPARE(logic()->GetSMSCentreNumber(&number), 0);
        QCOMPARE(number, QStringLiteral("+491720000001"));

        for (int seconds : {43200, 86400, 2592000, 38102400}) {
            QCOMPARE(logic()->SetSMSValidityPeriod(seconds), 0);
            int read = 0;
            QCOMPARE(logic()->GetSMSValidityPeriod(&read), 0);
            QCOMPARE(read, seconds);
        }
        for (_UTPS_EN_SMS_PRIORITY priority :
             {UTPS_SMS_PRIORITY_URGENT, UTPS_SMS_PRIORITY_EMERGENCY, UTPS_SMS_PRIORITY_NORMAL}) {
            QCOMPARE(logic()->SaveMessagePrioritySetting(priority), 0);
            _UTPS_EN_SMS_PRIORITY read = UTPS_SMS_PRIORITY_NONE;
            QCOMPARE(logic()->GetMessagePrioritySetting(&read), 0);
            QCOMPARE(read, priority);
        }
        for (bool on : {true, false}) {
            QCOMPARE(logic()->DeliveryReportSetting(on), 0);
            bool read = !on;
            QCOMPARE(logic()->GetDeliveryReportSetting(&read), 0);
            QCOMPARE(read, on);
        }
    }

    // Every failure is 23 and leaves the caller's value alone.
    void modemSettingsFailures()
    {
        QCOMPARE(logic()->SetSMSCentreNumber(QString()), 23);  // refused by the modem
        QCOMPARE(logic()->SetSMSValidityPeriod(-5), 23);

        SimCtl_FailNextCalls("UTPS_SMSSrv_GetSMSCentreNumber", 1, UTPS_E_FAILED);
        QString number = QStringLiteral("kept");
        QCOMPARE(logic()->GetSMSCentreNumber(&number), 23);
        QCOMPARE(number, QStringLiteral("kept"));

        SimCtl_FailNextCalls("UTPS_SMSSrv_GetSMSReceiptNotify", 1, UTPS_E_FAILED);
        bool report = true;
        QCOMPARE(logic()->GetDeliveryReportSetting(&report), 23);
        QVERIFY(report);

        SimCtl_FailNextCalls("UTPS_SMSSrv_SMSSetPriority", 1, UTPS_E_FAILED);
        QCOMPARE(logic()->SaveMessagePrioritySetting(UTPS_SMS_PRIORITY_URGENT), 23);
        QCOMPARE(logic()->GetSMSValidityPeriod(nullptr), 23);
    }

    void productType_data()
    {
        QTest::addColumn<int>("sdkType");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("cardWord");
        QTest::newRow("WCDMA") << 0 << "WCDMA" << "USIM";
        QTest::newRow("CDMA") << 1 << "CDMA" << "UIM";
        QTest::newRow("SCDMA") << 2 << "SCDMA" << "USIM";
        QTest::newRow("above the known types") << 7 << "UNKNOW" << "USIM";
    }
    void productType()
    {
        QFETCH(int, sdkType);
        QFETCH(QString, word);
        QFETCH(QString, cardWord);
        CommonUtils::SetSettings(QStringLiteral("customize"), QStringLiteral("simtype"),
                                 QStringLiteral("USIM"));
        CommonUtils::SetSettings(QStringLiteral("customize"), QStringLiteral("uimtype"),
                                 QStringLiteral("UIM"));
        QCOMPARE(SimCtl_SetProductType(sdkType), UTPS_OK);
        QString type;
        QCOMPARE(logic()->GetProductType(&type), 0);
        QCOMPARE(type, word);
        QCOMPARE(logic()->GetSimString(), cardWord);
    }

    void productTypeWithoutDevice()
    {
        QCOMPARE(SimCtl_SetDevicePlugged(0), UTPS_OK);
        QString type = QStringLiteral("kept");
        QCOMPARE(logic()->GetProductType(&type), 23);
        QCOMPARE(type, QStringLiteral("kept"));
        QVERIFY(logic()->GetSimString().isEmpty());
        QVERIFY(!logic()->GetDeviceStatus());
        QCOMPARE(SimCtl_SetDevicePlugged(1), UTPS_OK);
        QVERIFY(logic()->GetDeviceStatus());
    }

    void hostSettings()
    {
        bool flag = true;
        QCOMPARE(logic()->GetSMSSetting(QStringLiteral("VisionAlert"), &flag), 23);
        QVERIFY(flag);  // never written: untouched

        QCOMPARE(logic()->SetSMSSetting(QStringLiteral("VisionAlert"), false), 0);
        QCOMPARE(CommonUtils::GetSettings(QStringLiteral("SMSSERVICE"), QStringLiteral("VisionAlert")),
                 QStringLiteral("0"));
        QCOMPARE(logic()->GetSMSSetting(QStringLiteral("VisionAlert"), &flag), 0);
        QVERIFY(!flag);
        QCOMPARE(logic()->SetSMSSetting(QStringLiteral("ReceviceMode"), true), 0);
        QCOMPARE(logic()->GetSMSSetting(QStringLiteral("ReceviceMode"), &flag), 0);
        QVERIFY(flag);
        // Values are decimal numbers: anything not a non-zero number is off.
        CommonUtils::SetSettings(QStringLiteral("SMSSERVICE"), QStringLiteral("SoundAlert"),
                                 QStringLiteral("true"));
        QCOMPARE(logic()->GetSMSSetting(QStringLiteral("SoundAlert"), &flag), 0);
        QVERIFY(!flag);

        QString file = QStringLiteral("kept");
        QCOMPARE(logic()->SetSoundAlertFile(QString()), 23);
        QCOMPARE(logic()->GetSoundAlertFile(&file), 0);
        QVERIFY(file.isEmpty());
        QCOMPARE(logic()->SetSoundAlertFile(QStringLiteral("/tmp/a b/ring.wav")), 0);
        QCOMPARE(logic()->GetSoundAlertFile(&file), 0);
        QCOMPARE(file, QStringLiteral("/tmp/a b/ring.wav"));
    }

    void configurationLookups()
    {
        bool flag = true;
        QString limit = QStringLiteral("kept");
        QCOMPARE(logic()->GetSMSConfigValue(QStringLiteral("ShowSMCount"), &flag), 23);
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

        QCOMPARE(logic()->GetSMSConfigValue(QStringLiteral("ShowSMCount"), &flag), 0);
        QVERIFY(flag);
        QCOMPARE(logic()->GetSMSConfigValue(QStringLiteral("SentItemsBox"), &flag), 0);
        QVERIFY(!flag);  // only "true" is on
        flag = true;
        QCOMPARE(logic()->GetSMSConfigValue(QStringLiteral("Local2Device"), &flag), 0);
        QVERIFY(flag);  // absent: the caller's default stays
        QCOMPARE(logic()->GetNumberLimitConfigValue(&limit), 0);
        QCOMPARE(limit, QStringLiteral("0123"));
        QCOMPARE(logic()->GetValidityPeriodList(), (QList<QString>{"C", "B", "A"}));

        // A second reading replaces the map rather than adding to it.
        QVERIFY(QFile::remove(SmsSettingXMLParse::ConfigFilePath()));
        QCOMPARE(logic()->InitSmsXMLConfiguration(), 3);
        QCOMPARE(logic()->GetNumberLimitConfigValue(&limit), 0);
        QVERIFY(limit.isEmpty());
        QVERIFY(logic()->GetValidityPeriodList().isEmpty());
    }

    void simValidityThroughDeviceManager()
    {
        QVERIFY(!logic()->IsSimValid());  // no container
        PluginContainer *plugins = Startup::CreatePluginContainer();
        QVERIFY(!logic()->IsSimValid());  // no device manager
        FakeDeviceMgr deviceMgr;
        plugins->RegisterPlugin(QString::fromLatin1(PluginIds::DeviceMgr),
                                QStringLiteral("DeviceMgr"), &deviceMgr, InterfaceId::DeviceMgr);
        QVERIFY(logic()->IsSimValid());
        deviceMgr.simValid = 0;
        QVERIFY(!logic()->IsSimValid());
    }

    // The device-initialised events of the SDK's thread arrive queued as DeviceInit(),
    // and stop once unregistered.
    void deviceInitialisedRelay()
    {
        QSignalSpy spy(logic(), &SMSSettingUILogic::DeviceInit);
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
        QCOMPARE(SMSSettingUILogic::OnDeviceChangeEvent(UTPS_EVENT_DEV_DEVICE_INIT_FINISH, nullptr), 0);
    }
};

QTEST_GUILESS_MAIN(SettingsLogicTest)
#include "tst_settingslogic.moc"
