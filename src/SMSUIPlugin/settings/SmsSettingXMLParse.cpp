// SPDX-License-Identifier: GPL-3.0-or-later
#include "SmsSettingXMLParse.h"

#include <QFile>
#include <QXmlStreamReader>

#include "CommonUtils.h"
#include "PluginIds.h"
#include "SmsLog.h"
#include "Startup.h"

namespace {

SmsSettingXMLParse *s_pInstance = nullptr;

const QString kValidityPeriod = QStringLiteral("ValidityPeriod");
const QLatin1String kCallPluginClsid(PluginIds::CallUi);
const QString kSearchTooltip = QStringLiteral("IDS_TIP_SEARCH");

// Elements whose text is stored under their own name.
bool isTextValueElement(QStringView name)
{
    static const QStringList names = {
        QStringLiteral("SMSCenterValid"), QStringLiteral("ShowSMCount"),
        QStringLiteral("SentItemsBox"), QStringLiteral("HidePrioritySetting"),
        QStringLiteral("SMSCenterSeting"), QStringLiteral("SMSReceiveMode"),
    };
    return names.contains(name);
}

// Adds the text of the current element under key. Child elements are skipped rather
// than treated as an error, since the file is edited by hand per product; a text cut off
// by an error is not stored.
void insertText(QXmlStreamReader &reader, QMultiHash<QString, QString> *map, const QString &key)
{
    const QString text = reader.readElementText(QXmlStreamReader::SkipChildElements);
    if (!reader.hasError())
        map->insert(key, text);
}

bool isStart(const QXmlStreamReader &reader, QLatin1String name)
{
    return reader.isStartElement() && reader.name() == name;
}

} // namespace

SmsSettingXMLParse *SmsSettingXMLParse::GetInstance()
{
    if (!s_pInstance)
        s_pInstance = new SmsSettingXMLParse;
    return s_pInstance;
}

void SmsSettingXMLParse::Destroy()
{
    delete s_pInstance;
    s_pInstance = nullptr;
}

SmsSettingXMLParse::~SmsSettingXMLParse()
{
    delete m_pToolItem;
}

QString SmsSettingXMLParse::ConfigFilePath()
{
    return CommonUtils::GetPluginDataPath() + QStringLiteral("/plugins/SMSUIPlugin/")
        + QStringLiteral("SMSUIPluginConfig.xml");
}

int SmsSettingXMLParse::GetSettingsFromXML(QMultiHash<QString, QString> *map)
{
    m_toolItems.clear();
    const QString path = ConfigFilePath();
    if (!map) {
        qCWarning(lcSmsConfig) << "no map to read" << path << "into";
        return NoFile;
    }
    if (!QFile::exists(path)) {
        qCWarning(lcSmsConfig) << "File" << path << "does not exist";
        return NoFile;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCWarning(lcSmsConfig) << "Error open file:" << path << file.errorString();
        return OpenFailed;
    }
    return GetSettingsFromDevice(&file, path, map);
}

int SmsSettingXMLParse::GetSettingsFromDevice(QIODevice *device, const QString &fileName,
                                              QMultiHash<QString, QString> *map)
{
    m_toolItems.clear();
    if (!device || !map)
        return NoFile;

    QXmlStreamReader reader(device);
    QString section;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.hasError())
            break;
        if (reader.isStartElement()) {
            if (reader.name() == kValidityPeriod) {
                section = kValidityPeriod;
                map->insert(QStringLiteral("count"),
                            reader.attributes().value(QLatin1String("count")).toString());
            }
            const QString resource =
                reader.attributes().value(QLatin1String("resource")).toString();
            if (!resource.isEmpty() && section == kValidityPeriod)
                map->insert(QStringLiteral("SMSSettingValidityPeriod"), resource);
            readConfigDataFromXML(reader, map);
        } else if (reader.isEndElement() && reader.name() == kValidityPeriod) {
            section.clear();
        }
    }
    // readElementText() may have hit the error too, which ends the loop through atEnd().
    if (reader.hasError()) {
        qCWarning(lcSmsConfig).nospace()
            << "Read Error: " << fileName << ":" << reader.lineNumber() << ":"
            << reader.columnNumber() << ": " << reader.errorString();
        return XmlError;
    }
    qCDebug(lcSmsConfig) << "read" << fileName << "with" << map->size() << "values and"
                         << m_toolItems.size() << "toolbar items";
    return ReadOk;
}

int SmsSettingXMLParse::GetToolBarFromXML(QList<ToolItem> *out) const
{
    if (!out || m_toolItems.isEmpty())
        return 23;
    *out = m_toolItems;
    return 0;
}

void SmsSettingXMLParse::readConfigDataFromXML(QXmlStreamReader &reader,
                                               QMultiHash<QString, QString> *map)
{
    if (!map || !reader.isStartElement())
        return;
    const QString name = reader.name().toString();
    if (isTextValueElement(name)) {
        insertText(reader, map, name);
    } else if (name == kValidityPeriod) {
        map->insert(kValidityPeriod,
                    reader.attributes().value(QLatin1String("count")).toString());
    } else if (name == QLatin1String("NumberLimit")) {
        map->insert(name, reader.attributes().value(QLatin1String("name")).toString());
    } else if (name == QLatin1String("item")) {
        readToolItem(reader);
    }
    // After a text element the reader stands on its end tag, so each of these only acts
    // on a start tag of its own name.
    readMoveOption(reader, map);
    readSeparatorExport(reader);
    readExportSelectedOption(reader, map);
    readExportAllOption(reader, map);
}

void SmsSettingXMLParse::readMoveOption(QXmlStreamReader &reader,
                                        QMultiHash<QString, QString> *map)
{
    if (isStart(reader, QLatin1String("Local2Device")))
        insertText(reader, map, QStringLiteral("Local2Device"));
}

void SmsSettingXMLParse::readSeparatorExport(QXmlStreamReader &reader)
{
    if (!isStart(reader, QLatin1String("Separator")))
        return;
    const QString text = reader.readElementText(QXmlStreamReader::SkipChildElements);
    if (!reader.hasError())
        CommonUtils::SetSMSSeperatorConfigValue(text != QLatin1String("false"));
}

void SmsSettingXMLParse::readExportSelectedOption(QXmlStreamReader &reader,
                                                  QMultiHash<QString, QString> *map)
{
    if (isStart(reader, QLatin1String("SMSExportSelect")))
        insertText(reader, map, QStringLiteral("SMSExportSelect"));
}

void SmsSettingXMLParse::readExportAllOption(QXmlStreamReader &reader,
                                             QMultiHash<QString, QString> *map)
{
    if (isStart(reader, QLatin1String("SMSExportAll")))
        insertText(reader, map, QStringLiteral("SMSExportAll"));
}

void SmsSettingXMLParse::readToolItem(QXmlStreamReader &reader)
{
    const QXmlStreamAttributes attributes = reader.attributes();
    delete m_pToolItem;
    m_pToolItem = new ToolItem;
    m_pToolItem->tooltip = attributes.value(QLatin1String("tooltip")).toString();
    m_pToolItem->enabledIcon = attributes.value(QLatin1String("enabled")).toString();
    m_pToolItem->disabledIcon = attributes.value(QLatin1String("disabled")).toString();
    m_pToolItem->id = attributes.value(QLatin1String("id")).toInt();
    m_pToolItem->search = m_pToolItem->tooltip == kSearchTooltip;

    const QString pluginName = attributes.value(QLatin1String("pluginname")).toString();
    if (!m_pToolItem->tooltip.isEmpty() && isToolItemAccepted(pluginName))
        m_toolItems.append(*m_pToolItem);
    else
        qCDebug(lcSmsConfig) << "toolbar item dropped:" << m_pToolItem->tooltip << pluginName
                             << "line" << reader.lineNumber();
    delete m_pToolItem;
    m_pToolItem = nullptr;
}

// An item naming another plug-in is shown only when that plug-in is loaded; the call
// button additionally needs voice calls switched on by the host. An item naming no
// plug-in does not need the container at all.
bool SmsSettingXMLParse::isToolItemAccepted(const QString &pluginName) const
{
    if (pluginName.isEmpty())
        return true;
    PluginContainer *container = Startup::GetPluginContainer();
    if (!container) {
        qCWarning(lcSmsConfig) << "GetPluginContainer failed; toolbar item of" << pluginName
                               << "dropped";
        return false;
    }
    const QString clsid = container->GetCLSIDByName(pluginName);
    if (clsid.isEmpty() || !container->IsPluginAvailable(clsid))
        return false;
    if (clsid.compare(kCallPluginClsid, Qt::CaseInsensitive) == 0)
        return CommonUtils::GetSettings(QStringLiteral("callui"), QStringLiteral("callvoice"))
            == QLatin1String("1");
    return true;
}
