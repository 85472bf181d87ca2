// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration file reader: values, toolbar items, result codes, and robustness
// against broken, truncated and mutated copies of the shipped file.
#include <QRandomGenerator>
#include <QtTest>

#include "CommonUtils.h"
#include "PluginIds.h"
#include "settings/SmsSettingXMLParse.h"
#include "Startup.h"
#include "TestEnv.h"

using ConfigMap = QMultiHash<QString, QString>;

namespace {

// "key=value" per value, keys sorted, each key's values most recent first.
QStringList flatten(const ConfigMap &map)
{
    QStringList keys = map.uniqueKeys();
    keys.sort();
    QStringList out;
    for (const QString &key : std::as_const(keys))
        for (const QString &value : map.values(key))
            out << key + QLatin1Char('=') + value;
    return out;
}

QStringList tooltips(const QList<ToolItem> &items)
{
    QStringList out;
    for (const ToolItem &item : items)
        out << item.tooltip;
    return out;
}

QByteArray wrap(const QByteArray &body) { return "<?xml version=\"1.0\"?><c>" + body + "</c>"; }

} // namespace

class ConfigTest : public QObject
{
    Q_OBJECT

    int read(const QByteArray &contents, ConfigMap *map, QList<ToolItem> *items = nullptr)
    {
        QFile file(SmsSettingXMLParse::ConfigFilePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return -1;
        file.write(contents);
        file.close();
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
        qputenv("DIALCREST_PLUGIN_ROOT", m_pluginRoot.path().toUtf8());
        QVERIFY(QDir().mkpath(m_pluginRoot.path() + QStringLiteral("/plugins/SMSUIPlugin")));
    }
    void cleanup()
    {
        QLoggingCategory::setFilterRules(QString());
        Startup::DestroyPluginContainer();
        SmsSettingXMLParse::Destroy();
    }

    void readsValues_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("every element")
            << wrap("<SMSCenterValid>true</SMSCenterValid><ShowSMCount>1</ShowSMCount>"
                    "<SentItemsBox>false</SentItemsBox><HidePrioritySetting>t</HidePrioritySetting>"
                    "<SMSCenterSeting>x</SMSCenterSeting><SMSReceiveMode>y</SMSReceiveMode>"
                    "<ValidityPeriod count=\"2\"><P resource=\"A\"/><P resource=\"B\"/>"
                    "</ValidityPeriod><NumberLimit name=\"0123\"/><Local2Device>z</Local2Device>"
                    "<SMSExportSelect>no</SMSExportSelect><SMSExportAll>all</SMSExportAll>")
            << 0
            << QStringList{"HidePrioritySetting=t", "Local2Device=z", "NumberLimit=0123",
                           "SMSCenterSeting=x", "SMSCenterValid=true", "SMSExportAll=all",
                           "SMSExportSelect=no", "SMSReceiveMode=y", "SMSSettingValidityPeriod=B",
                           "SMSSettingValidityPeriod=A", "SentItemsBox=false", "ShowSMCount=1",
                           "ValidityPeriod=2", "count=2"};
        QTest::newRow("repeated NumberLimit: the later one first")
            << wrap("<NumberLimit name=\"012\"/><x><NumberLimit name=\"789\"/></x>") << 0
            << QStringList{"NumberLimit=789", "NumberLimit=012"};
        QTest::newRow("resource outside ValidityPeriod or empty")
            << wrap("<P resource=\"before\"/><ValidityPeriod count=\"1\"><P resource=\"in\"/>"
                    "<P resource=\"\"/></ValidityPeriod><P resource=\"after\"/>")
            << 0 << QStringList{"SMSSettingValidityPeriod=in", "ValidityPeriod=1", "count=1"};
        QTest::newRow("names are case-sensitive")
            << wrap("<numberlimit name=\"1\"/><showsmcount>true</showsmcount>") << 0
            << QStringList{};
        QTest::newRow("broken half-way keeps what came before")
            << wrap("<ShowSMCount>true</ShowSMCount><SentItemsBox>true</Sent>"
                    "<Local2Device>true</Local2Device>")
            << 6 << QStringList{"ShowSMCount=true"};
        QTest::newRow("empty file") << QByteArray() << 6 << QStringList{};
    }
    void readsValues()
    {
        QFETCH(QByteArray, document);
        QFETCH(int, result);
        QFETCH(QStringList, values);
        ConfigMap map;
        QCOMPARE(read(document, &map), result);
        QCOMPARE(flatten(map), values);
    }

    void separatorOption_data()
    {
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("false") << QByteArray("<Separator>false</Separator>") << false;
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
    }

    void toolItems_data()
    {
        QTest::addColumn<bool>("container");
        QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("callVoice");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no container") << false << true << "1" << QStringList{"NEW", "SEARCH"};
        QTest::newRow("call with voice")
            << true << true << "1" << QStringList{"NEW", "CALL", "BOOK", "SEARCH"};
        QTest::newRow("call without voice")
            << true << true << "0" << QStringList{"NEW", "BOOK", "SEARCH"};
        QTest::newRow("plug-ins switched off")
            << true << false << "1" << QStringList{"NEW", "SEARCH"};
    }
    void toolItems()
    {
        QFETCH(bool, container);
        QFETCH(bool, available);
        QFETCH(QString, callVoice);
        QFETCH(QStringList, expected);
        QObject call, book;
        if (container) {
            PluginContainer *plugins = Startup::CreatePluginContainer();
            plugins->RegisterPlugin(QLatin1String(PluginIds::CallUi), "CallUIPlugin", &call);
            plugins->RegisterPlugin(QLatin1String(PluginIds::AddrBook), "AddrBookUIPlugin", &book);
            plugins->SetPluginAvailable(QLatin1String(PluginIds::CallUi), available);
            plugins->SetPluginAvailable(QLatin1String(PluginIds::AddrBook), available);
        }
        QVERIFY(CommonUtils::SetSettings("callui", "callvoice", callVoice));
        ConfigMap map;
        QList<ToolItem> items;
        QCOMPARE(read(wrap("<item id=\"9000\" tooltip=\"NEW\" enabled=\"a.png\" disabled=\"b.png\"/>"
                           "<item id=\"9001\" enabled=\"c.png\"/>"
                           "<item id=\"9005\" tooltip=\"CALL\" pluginname=\"CallUIPlugin\"/>"
                           "<item id=\"9007\" tooltip=\"BOOK\" pluginname=\"AddrBookUIPlugin\"/>"
                           "<item id=\"9008\" tooltip=\"GONE\" pluginname=\"NoSuchPlugin\"/>"
                           "<item id=\"9009\" pluginname=\"CallUIPlugin\"/>"
                           "<item id=\"x\" tooltip=\"IDS_TIP_SEARCH\"/>"),
                      &map, &items),
                 0);
        QCOMPARE(tooltips(items).replaceInStrings("IDS_TIP_", ""), expected);
        QCOMPARE(items.first().id, 9000);
        QCOMPARE(items.first().enabledIcon, QStringLiteral("a.png"));
        QCOMPARE(items.first().disabledIcon, QStringLiteral("b.png"));
        QVERIFY(!items.first().search && items.last().search);
        QCOMPARE(items.last().id, 0);
    }

    void missingOrUnusableFile()
    {
        SmsSettingXMLParse *parse = SmsSettingXMLParse::GetInstance();
        ConfigMap map;
        QList<ToolItem> items;
        QCOMPARE(read(wrap("<item id=\"1\" tooltip=\"NEW\"/><ShowSMCount>1</ShowSMCount>"), &map), 0);
        QCOMPARE(parse->GetSettingsFromXML(nullptr), 3);
        QCOMPARE(parse->GetToolBarFromXML(nullptr), 23);

        map.clear();
        QVERIFY(QFile::remove(SmsSettingXMLParse::ConfigFilePath()));
        QCOMPARE(parse->GetSettingsFromXML(&map), 3);
        QCOMPARE(parse->GetToolBarFromXML(&items), 23);  // the earlier list is gone
        QVERIFY(map.isEmpty() && items.isEmpty());

        // A folder in place of the file exists but cannot be opened as a text file.
        QVERIFY(QDir().mkdir(SmsSettingXMLParse::ConfigFilePath()));
        QCOMPARE(parse->GetSettingsFromXML(&map), 25);
        QVERIFY(map.isEmpty());
        QVERIFY(QDir().rmdir(SmsSettingXMLParse::ConfigFilePath()));
    }

    // Every cut of the shipped file reads as an error or a complete document, and all it
    // yields is also in the full reading, toolbar items in the same order.
    void truncatedShippedFile()
    {
        QLoggingCategory::setFilterRules("sms.config.warning=false");  // errors by design
        QFile shipped(DIALCREST_SOURCE_DIR "/plugins/SMSUIPlugin/SMSUIPluginConfig.xml");
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        const QByteArray full = shipped.readAll();
        ConfigMap fullMap;
        QList<ToolItem> fullItems;
        QCOMPARE(read(full, &fullMap, &fullItems), 0);
        QVERIFY(fullMap.size() >= 10 && fullItems.size() >= 5);
        const QStringList fullValues = flatten(fullMap);

        for (int cut = 0; cut < full.size(); cut += 5) {
            ConfigMap map;
            QList<ToolItem> items;
            const int result = read(full.left(cut), &map, &items);
            QVERIFY2(result == 6 || result == 0, qPrintable(QString::number(cut)));
            QCOMPARE(tooltips(items), tooltips(fullItems.mid(0, items.size())));
            for (const QString &value : flatten(map))
                QVERIFY2(fullValues.contains(value), qPrintable(value));
        }

        // Random changes, deletions and duplications: one of the result codes, known keys.
        const QStringList knownKeys = fullMap.uniqueKeys();
        const char noise[] = "<>/=\"'&;!?[]- \n\0\xff\xc3";
        QRandomGenerator random(20261206);
        for (int round = 0; round < 400; ++round) {
            QByteArray mutated = full;
            for (int e = random.bounded(1, 5); e > 0; --e) {
                const int at = random.bounded(mutated.size());
                if (e % 3 == 0)
                    mutated[at] = noise[random.bounded(int(sizeof noise) - 1)];
                else if (e % 3 == 1)
                    mutated.remove(at, random.bounded(1, 12));
                else
                    mutated.insert(at, mutated.mid(random.bounded(mutated.size()), 20));
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
