// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reader of the plug-in's configuration file, SMSUIPluginConfig.xml, which tunes the
// interface per product: named values (folders, options, number pattern, validity periods)
// and the main toolbar's buttons.
#include <QList>
#include <QMultiHash>
#include <QString>

#include "ToolBarLogic.h"

class QIODevice;
class QXmlStreamReader;

class SmsSettingXMLParse
{
public:
    // Result codes of GetSettingsFromXML.
    enum Result {
        ReadOk = 0,
        NoFile = 3,       // null map, or the file does not exist
        OpenFailed = 25,  // the file exists but cannot be opened for reading
        XmlError = 6      // malformed or truncated XML; values read before it stay
    };

    // Process-wide reader, created on first use; Destroy() deletes it.
    static SmsSettingXMLParse *GetInstance();
    static void Destroy();

    // Full path of the configuration file beside the plug-in.
    static QString ConfigFilePath();

    // Reads the whole file into map (values are added, never replaced) and rebuilds the
    // toolbar list. Returns one of Result.
    int GetSettingsFromXML(QMultiHash<QString, QString> *map);
    // Same, on an already open device; fileName is only used in log lines.
    int GetSettingsFromDevice(QIODevice *device, const QString &fileName,
                              QMultiHash<QString, QString> *map);

    // Handles one start element the reader is positioned on.
    void readConfigDataFromXML(QXmlStreamReader &reader, QMultiHash<QString, QString> *map);

    // Copies the toolbar items of the last read into out: 0, or 23 when there are none or
    // out is null.
    int GetToolBarFromXML(QList<ToolItem> *out) const;

private:
    SmsSettingXMLParse() = default;
    ~SmsSettingXMLParse();
    SmsSettingXMLParse(const SmsSettingXMLParse &) = delete;
    SmsSettingXMLParse &operator=(const SmsSettingXMLParse &) = delete;

    void readMoveOption(QXmlStreamReader &reader, QMultiHash<QString, QString> *map);
    void readSeparatorExport(QXmlStreamReader &reader);
    void readExportSelectedOption(QXmlStreamReader &reader, QMultiHash<QString, QString> *map);
    void readExportAllOption(QXmlStreamReader &reader, QMultiHash<QString, QString> *map);
    void readToolItem(QXmlStreamReader &reader);
    bool isToolItemAccepted(const QString &pluginName) const;

    QList<ToolItem> m_toolItems;
    ToolItem *m_pToolItem = nullptr;   // the item being read; null between items
};
