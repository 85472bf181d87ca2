// The configuration file reader: elements and their values, toolbar items and their
// acceptance, result codes, and robustness against broken, truncated and mutated files.
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include "CommonUtils.h"
#include "PluginIds.h"
#include "SmsSettingXMLParse.h"
#include "Startup.h"
#include "TestEnv.h"

using ConfigMap = QMultiHash<QString, QString>;

namespace {

// "key=value" for every value of the map, each key's values most recent first, keys sorted.
QStringList flatten(const ConfigMap &map)
{
    QStringList keys = map.uniqueKeys();
    keys.sort();
    QStringList out;
    for (const QString &key : std::as_const(keys)) {
        const QStringList values = map.values(key);
        for (const QString &value : values)
            out << key + QLatin1Char('=') + value;
    }
    return out;
}

QStringList tooltips(const QList<ToolItem> &items)
{
    QStringList out;
    for (const ToolItem &item : items)
        out << item.tooltip;
    return out;
}

QByteArray wrap(const QByteArray &body)
{
    return "<?xml version=\"1.0\"?>\n<SMSUIPluginConfig>\n" + body + "\n</SMSUIPluginConfig>\n";
}

QByteArray shippedConfig()
{
    QFile file(QStringLiteral(DIALCREST_SOURCE_DIR "/plugins/SMSUIPlugin/SMSUIPluginConfig.xml"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ConfigTest : public QObject
{
    Q_OBJECT

private:
    // Writes contents as the plug-in's configuration file under a private plug-in root.
    void writeConfig(const QByteArray &contents)
    {
        QFile file(SmsSettingXMLParse::ConfigFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }
    int read(const QByteArray &contents, ConfigMap *map, QList<ToolItem> *items = nullptr)
    {
        writeConfig(contents);
        const int result = SmsSettingXMLParse::GetInstance()->GetSettingsFromXML(map);
        if (items)
            SmsSettingXMLParse::GetInstance()->GetToolBarFromXML(items);
        return result;
    }

    TestDataHome m_home;
    QTemporaryDir m_pluginRoot;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_pluginRoot.isValid());
        qputenv("DIALCREST_PLUGIN_ROOT", m_pluginRoot.path().toUtf8());
        QVERIFY(QDir().mkpath(m_pluginRoot.path() + QStringLiteral("/plugins/SMSUIPlugin")));
        QVERIFY(SmsSettingXMLParse::ConfigFilePath().startsWith(m_pluginRoot.path()));
    }
    void cleanup()
    {
        QLoggingCategory::setFilterRules(QString());
        Startup::DestroyPluginContainer();
        SmsSettingXMLParse::Destroy();
    }

    void readsValues_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("values");

        QTest::newRow("every element")
            << QByteArray("<SMSCenterValid>true</SMSCenterValid><ShowSMCount>true</ShowSMCount>"
                          "<SentItemsBox>false</SentItemsBox>"
                          "<HidePrioritySetting>true</HidePrioritySetting>"
                          "<SMSCenterSeting>x</SMSCenterSeting><SMSReceiveMode>true</SMSReceiveMode>"
                          "<ValidityPeriod count=\"2\"><P resource=\"A\"/><P resource=\"B\"/>"
                          "</ValidityPeriod><NumberLimit name=\"0123\"/>"
                          "<Local2Device>true</Local2Device><SMSExportSelect>no</SMSExportSelect>"
                          "<SMSExportAll>true</SMSExportAll>")
            << 0
            << QStringList{"HidePrioritySetting=true", "Local2Device=true", "NumberLimit=0123",
                           "SMSCenterSeting=x", "SMSCenterValid=true", "SMSExportAll=true",
                           "SMSExportSelect=no", "SMSReceiveMode=true",
                           "SMSSettingValidityPeriod=B", "SMSSettingValidityPeriod=A",
                           "SentItemsBox=false", "ShowSMCount=true", "ValidityPeriod=2",
                           "count=2"};
        QTest::newRow("repeated NumberLimit, later first")
            << QByteArray("<NumberLimit name=\"012\"/><x><NumberLimit name=\"0123456789\"/></x>")
            << 0 << QStringList{"NumberLimit=0123456789", "NumberLimit=012"};
        QTest::newRow("resource outside ValidityPeriod")
            << QByteArray("<P resource=\"before\"/><ValidityPeriod count=\"1\"><P resource=\"in\"/>"
                          "</ValidityPeriod><P resource=\"after\"/>")
            << 0 << QStringList{"SMSSettingValidityPeriod=in", "ValidityPeriod=1", "count=1"};
        QTest::newRow("empty resource")
            << QByteArray("<ValidityPeriod count=\"1\"><P resource=\"\"/></ValidityPeriod>")
            << 0 << QStringList{"ValidityPeriod=1", "count=1"};
        QTest::newRow("names are case-sensitive")
            << QByteArray("<numberlimit name=\"1\"/><showsmcount>true</showsmcount>") << 0
            << QStringList{};
        QTest::newRow("child element inside a value")
            << QByteArray("<ShowSMCount>tr<b>x</b>ue</ShowSMCount><SentItemsBox>true</SentItemsBox>")
            << 0 << QStringList{"SentItemsBox=true", "ShowSMCount=true"};
        QTest::newRow("broken half-way keeps what came before")
            << QByteArray("<ShowSMCount>true</ShowSMCount><NumberLimit name=\"12\"/>"
                          "<SentItemsBox>true</Sent><Local2Device>true</Local2Device>")
            << 6 << QStringList{"NumberLimit=12", "ShowSMCount=true"};
        QTest::newRow("unclosed root")
            << QByteArray("<ShowSMCount>true</ShowSMCount>") << 6
            << QStringList{"ShowSMCount=true"};
    }
    void readsValues()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, result);
        QFETCH(QStringList, values);
        QByteArray document = wrap(body);
        if (QByteArray(QTest::currentDataTag()) == "unclosed root")
            document.chop(QByteArrayLiteral("</SMSUIPluginConfig>\n").size());
        ConfigMap map;
        QCOMPARE(read(document, &map), result);
        QCOMPARE(flatten(map), values);
    }

    void separatorOption_data()
    {
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("false") << QByteArray("<Separator>false</Separator>") << false;
        QTest::newRow("true") << QByteArray("<Separator>true</Separator>") << true;
        QTest::newRow("empty") << QByteArray("<Separator/>") << true;
        QTest::newRow("other") << QByteArray("<Separator>FALSE</Separator>") << true;
    }
    void separatorOption()
    {
        QFETCH(QByteArray, element);
        QFETCH(bool, enabled);
        CommonUtils::SetSMSSeperatorConfigValue(!enabled);
        ConfigMap map;
        QCOMPARE(read(wrap(element), &map), 0);
        QCOMPARE(CommonUtils::GetSMSSeperatorConfigValue(), enabled);
        QVERIFY(map.isEmpty());
    }

    // Items naming no plug-in need only a tooltip; the search item carries the flag.
    void toolItemsWithoutPlugin()
    {
        ConfigMap map;
        QList<ToolItem> items;
        QCOMPARE(read(wrap("<item id=\"9000\" tooltip=\"IDS_TIP_NEW\" enabled=\"a.png\" "
                           "disabled=\"b.png\"/>"
                           "<item id=\"9001\" enabled=\"c.png\"/>"
                           "<item id=\"9002\" tooltip=\"\"/>"
                           "<item id=\"x\" tooltip=\"IDS_TIP_SEARCH\"/>"),
                      &map, &items),
                 0);
        QCOMPARE(tooltips(items), (QStringList{"IDS_TIP_NEW", "IDS_TIP_SEARCH"}));
        QCOMPARE(items[0].id, 9000);
        QCOMPARE(items[0].enabledIcon, QStringLiteral("a.png"));
        QCOMPARE(items[0].disabledIcon, QStringLiteral("b.png"));
        QVERIFY(!items[0].search);
        QCOMPARE(items[1].id, 0);
        QVERIFY(items[1].search);
        QVERIFY(map.isEmpty());
    }

    void toolItemsOfOtherPlugins_data()
    {
        QTest::addColumn<bool>("container");
        QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("callVoice");
        QTest::addColumn<QStringList>("expected");
        const QStringList all{"IDS_TIP_NEW", "IDS_TIP_CALL", "IDS_TIP_BOOK"};
        QTest::newRow("no container") << false << true << "1" << QStringList{"IDS_TIP_NEW"};
        QTest::newRow("call with voice") << true << true << "1" << all;
        QTest::newRow("call without voice")
            << true << true << "0" << QStringList{"IDS_TIP_NEW", "IDS_TIP_BOOK"};
        QTest::newRow("call voice unset")
            << true << true << "" << QStringList{"IDS_TIP_NEW", "IDS_TIP_BOOK"};
        QTest::newRow("plug-ins switched off")
            << true << false << "1" << QStringList{"IDS_TIP_NEW"};
    }
    void toolItemsOfOtherPlugins()
    {
        QFETCH(bool, container);
        QFETCH(bool, available);
        QFETCH(QString, callVoice);
        QFETCH(QStringList, expected);
        QObject callPlugin;
        QObject bookPlugin;
        if (container) {
            PluginContainer *plugins = Startup::CreatePluginContainer();
            plugins->RegisterPlugin(QString::fromLatin1(PluginIds::CallUi),
                                    QStringLiteral("CallUIPlugin"), &callPlugin);
            plugins->RegisterPlugin(QString::fromLatin1(PluginIds::AddrBook),
                                    QStringLiteral("AddrBookUIPlugin"), &bookPlugin);
            plugins->SetPluginAvailable(QString::fromLatin1(PluginIds::CallUi), available);
            plugins->SetPluginAvailable(QString::fromLatin1(PluginIds::AddrBook), available);
        }
        QVERIFY(CommonUtils::SetSettings(QStringLiteral("callui"), QStringLiteral("callvoice"),
                                         callVoice));
        ConfigMap map;
        QList<ToolItem> items;
        QCOMPARE(read(wrap("<item id=\"9000\" tooltip=\"IDS_TIP_NEW\"/>"
                           "<item id=\"9005\" tooltip=\"IDS_TIP_CALL\" pluginname=\"CallUIPlugin\"/>"
                           "<item id=\"9007\" tooltip=\"IDS_TIP_BOOK\" pluginname=\"AddrBookUIPlugin\"/>"
                           "<item id=\"9008\" tooltip=\"IDS_TIP_GONE\" pluginname=\"NoSuchPlugin\"/>"
                           "<item id=\"9009\" pluginname=\"CallUIPlugin\"/>"),
                      &map, &items),
                 0);
        QCOMPARE(tooltips(items), expected);
    }

    void missingOrUnusableFile()
    {
        SmsSettingXMLParse *parse = SmsSettingXMLParse::GetInstance();
        ConfigMap map;
        QList<ToolItem> items;
        QCOMPARE(read(wrap("<item id=\"1\" tooltip=\"IDS_TIP_NEW\"/>"), &map, &items), 0);
        QCOMPARE(items.size(), 1);

        QVERIFY(QFile::remove(SmsSettingXMLParse::ConfigFilePath()));
        map.clear();
        QCOMPARE(parse->GetSettingsFromXML(&map), 3);
        QVERIFY(map.isEmpty());
        items.clear();
        QCOMPARE(parse->GetToolBarFromXML(&items), 23);  // the earlier list is gone
        QVERIFY(items.isEmpty());
        QCOMPARE(parse->GetToolBarFromXML(nullptr), 23);

        writeConfig(wrap("<ShowSMCount>true</ShowSMCount>"));
        QCOMPARE(parse->GetSettingsFromXML(nullptr), 3);

        QCOMPARE(read(QByteArray(), &map), 6);
        QVERIFY(map.isEmpty());

        // A folder in place of the file exists but cannot be opened as a text file.
        QVERIFY(QFile::remove(SmsSettingXMLParse::ConfigFilePath()));
        QVERIFY(QDir().mkdir(SmsSettingXMLParse::ConfigFilePath()));
        QCOMPARE(parse->GetSettingsFromXML(&map), 25);
        QVERIFY(map.isEmpty());
        QVERIFY(QDir().rmdir(SmsSettingXMLParse::ConfigFilePath()));
    }

    // Every cut of the shipped file reads without crashing, as an error or a complete
    // document, and everything it yields is also in the full reading, in the same order.
    void truncatedShippedFile()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("sms.config.warning=false"));  // hundreds of read errors by design
        const QByteArray full = shippedConfig();
        QVERIFY(full.size() > 200);
        ConfigMap fullMap;
        QList<ToolItem> fullItems;
        QCOMPARE(read(full, &fullMap, &fullItems), 0);
        QVERIFY(fullMap.size() >= 10);
        QVERIFY(fullItems.size() >= 5);
        const QStringList fullValues = flatten(fullMap);
        const QStringList fullTips = tooltips(fullItems);

        for (int cut = 0; cut < full.size(); cut += 5) {
            ConfigMap map;
            QList<ToolItem> items;
            const int result = read(full.left(cut), &map, &items);
            QVERIFY2(result == 6 || result == 0, qPrintable(QString::number(cut)));
            const QStringList tips = tooltips(items);
            QCOMPARE(tips, fullTips.mid(0, tips.size()));
            for (const QString &value : flatten(map))
                QVERIFY2(fullValues.contains(value), qPrintable(value));
        }
    }

    // Random byte changes, deletions and duplications never crash the reader; the answer
    // is one of its result codes and only known keys come out.
    void mutatedShippedFile()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("sms.config.warning=false"));  // hundreds of read errors by design
        const QByteArray full = shippedConfig();
        const QStringList knownKeys{
            "SMSCenterValid", "ShowSMCount", "SentItemsBox", "HidePrioritySetting",
            "SMSCenterSeting", "SMSReceiveMode", "ValidityPeriod", "count",
            "SMSSettingValidityPeriod", "NumberLimit", "Local2Device", "SMSExportSelect",
            "SMSExportAll"};
        const char noise[] = "<>/=\"'&;!?[]- \n\0\xff\xc3";
        QRandomGenerator random(20261206);
        for (int round = 0; round < 400; ++round) {
            QByteArray mutated = full;
            const int edits = 1 + random.bounded(4);
            for (int e = 0; e < edits && !mutated.isEmpty(); ++e) {
                const int at = random.bounded(mutated.size());
                switch (random.bounded(3)) {
                case 0:
                    mutated[at] = noise[random.bounded(int(sizeof noise) - 1)];
                    break;
                case 1:
                    mutated.remove(at, 1 + random.bounded(12));
                    break;
                default:
                    mutated.insert(at, mutated.mid(random.bounded(mutated.size()), 20));
                    break;
                }
            }
            ConfigMap map;
            const int result = read(mutated, &map);
            QVERIFY2(result == 0 || result == 6, qPrintable(QString::number(round)));
            for (const QString &key : map.uniqueKeys())
                QVERIFY2(knownKeys.contains(key), qPrintable(key));
        }
    }
};

QTEST_GUILESS_MAIN(ConfigTest)
#include "tst_config.moc"
