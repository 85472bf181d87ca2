// SPDX-License-Identifier: GPL-3.0-or-later
// The usage-statistics file that the host's update component collects: how often the SMS
// module is used, how many messages were sent and received. Counters only grow; a missing,
// empty or unreadable file never costs the counts that follow it.
#include "SMSUIMainDlg.h"

#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>
#include <QXmlStreamWriter>

#include "SmsLog.h"
#include "utps_sdk.h"

namespace {

const QString kItemUsing = QStringLiteral("SMS01");
const QString kItemCounts = QStringLiteral("SMS02");
const QString kKeyUsing = QStringLiteral("SMSisUsing");
const QString kKeySent = QStringLiteral("SMSSent");
const QString kKeyReceived = QStringLiteral("SMSReceived");

// Readable and writable by everyone: the collector may run as another user.
constexpr QFile::Permissions kSharedPermissions = QFile::ReadOwner | QFile::WriteOwner
    | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::WriteGroup
    | QFile::ReadOther | QFile::WriteOther;

QString nowText()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The data folder: the SDK's log folder ("<data>/log/") without its last component.
QString usageBase()
{
    UTPS_WCHAR *directory = nullptr;
    const long result = UTPS_GetLogDirectory(&directory);
    if (result != 0 || !directory) {
        qCWarning(lcSmsWindow) << "UTPS_GetLogDirectory failed:" << result
                               << "; usage statistics not written";
        delete[] directory;
        return QString();
    }
    QString base = QString::fromUtf16(reinterpret_cast<const char16_t *>(directory));
    delete[] directory;
    base.truncate(base.lastIndexOf(QLatin1Char('/')));
    return base.left(base.lastIndexOf(QLatin1Char('/')) + 1);
}

void appendElement(QDomDocument &doc, QDomElement &parent, const QString &tag,
                   const QString &text)
{
    QDomElement element = doc.createElement(tag);
    element.appendChild(doc.createTextNode(text));
    parent.appendChild(element);
}

// A fresh item with its counters at zero, except `key` when it belongs to the item.
QDomElement newItem(QDomDocument &doc, const QString &item, const QString &key,
                    const QString &value)
{
    QDomElement element = doc.createElement(QStringLiteral("Item"));
    element.setAttribute(QStringLiteral("itemname"), item);
    auto valueOf = [&](const QString &k) { return k == key ? value : QStringLiteral("0"); };
    if (item == kItemUsing) {
        appendElement(doc, element, QStringLiteral("LogStartTime"), nowText());
        appendElement(doc, element, QStringLiteral("ReportType"), QStringLiteral("2"));
        appendElement(doc, element, kKeyUsing, valueOf(kKeyUsing));
    } else if (item == kItemCounts) {
        appendElement(doc, element, QStringLiteral("ReportType"), QStringLiteral("3"));
        appendElement(doc, element, kKeySent, valueOf(kKeySent));
        appendElement(doc, element, kKeyReceived, valueOf(kKeyReceived));
    } else {
        appendElement(doc, element, key, value);
    }
    return element;
}

QByteArray initialContent()
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("Client"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    xml.writeAttribute(QStringLiteral("entity"), QStringLiteral("agent"));
    xml.writeStartElement(QStringLiteral("Item"));
    xml.writeAttribute(QStringLiteral("itemname"), kItemUsing);
    xml.writeTextElement(QStringLiteral("LogStartTime"), nowText());
    xml.writeTextElement(QStringLiteral("ReportType"), QStringLiteral("2"));
    xml.writeTextElement(kKeyUsing, QStringLiteral("0"));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("Item"));
    xml.writeAttribute(QStringLiteral("itemname"), kItemCounts);
    xml.writeTextElement(QStringLiteral("ReportType"), QStringLiteral("3"));
    xml.writeTextElement(kKeySent, QStringLiteral("0"));
    xml.writeTextElement(kKeyReceived, QStringLiteral("0"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

// A name beside `path` that no file has yet.
QString freeAsideName(const QString &path)
{
    const QString stem = path + QStringLiteral(".broken-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
    QString candidate = stem;
    for (int n = 1; QFileInfo::exists(candidate); ++n)
        candidate = stem + QLatin1Char('-') + QString::number(n);
    return candidate;
}

// Reads the file into `doc`. A missing or empty file starts afresh; an unreadable one is
// kept aside (never overwritten) and the counting starts afresh.
bool loadUsageDocument(const QString &path, QDomDocument &doc)
{
    QFile file(path);
    QByteArray bytes;
    if (file.exists()) {
        file.setPermissions(kSharedPermissions);
        if (!file.open(QIODevice::ReadOnly)) {
            qCWarning(lcSmsWindow) << "Error open file:" << path << file.errorString();
            return false;
        }
        bytes = file.readAll();
        file.close();
    }
    if (!bytes.trimmed().isEmpty()) {
        QString error;
        int line = 0;
        if (doc.setContent(bytes, &error, &line) && !doc.documentElement().isNull())
            return true;
        const QString aside = freeAsideName(path);
        if (!QFile::rename(path, aside)) {
            qCWarning(lcSmsWindow) << "Error set file:" << path << error << "line" << line
                                   << "; cannot move it aside, left as it is";
            return false;
        }
        qCWarning(lcSmsWindow) << "Error set file:" << path << error << "line" << line
                               << "; kept as" << aside << "and started afresh";
    }
    return doc.setContent(initialContent());
}

bool saveUsageDocument(const QString &path, const QDomDocument &doc)
{
    // Written to a temporary file and renamed over the old one, so a crash or a full disk
    // leaves the previous counts rather than a truncated file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qCWarning(lcSmsWindow) << "Error open file:" << path << file.errorString();
        return false;
    }
    QTextStream stream(&file);
    doc.save(stream, 4);
    stream.flush();
    if (!file.commit()) {
        qCWarning(lcSmsWindow) << "Error open file:" << path << file.errorString();
        return false;
    }
    QFile::setPermissions(path, kSharedPermissions);
    return true;
}

void applyValue(QDomDocument &doc, const QString &item, const QString &key,
                const QString &value)
{
    QDomElement root = doc.documentElement();
    for (QDomElement it = root.firstChildElement(QStringLiteral("Item")); !it.isNull();
         it = it.nextSiblingElement(QStringLiteral("Item"))) {
        if (it.attribute(QStringLiteral("itemname")) != item)
            continue;
        QDomElement element = it.firstChildElement(key);
        if (element.isNull()) {
            appendElement(doc, it, key, value);
            return;
        }
        QString text = value;
        if (key == kKeySent || key == kKeyReceived)
            text = QString::number(element.text().toLongLong() + value.toLongLong());
        while (element.hasChildNodes())
            element.removeChild(element.firstChild());
        element.appendChild(doc.createTextNode(text));
        return;
    }
    qCDebug(lcSmsWindow) << "The add item not exist,add a new item to the file!" << item;
    root.appendChild(newItem(doc, item, key, value));
}

} // namespace

QString SMSUIMainDlg::usageStatisticsFilePath()
{
    const QString base = usageBase();
    return base.isEmpty() ? QString()
                          : base + QStringLiteral("OnlineUpdate/UpdateInfo/kpi-sms.dat");
}

void SMSUIMainDlg::SaveSMSInfoForAgent(const QString &item, const QString &key,
                                       const QString &value)
{
    const QString path = usageStatisticsFilePath();
    if (path.isEmpty())
        return;
    // The whole path: a fresh data folder has none of it yet.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        qCWarning(lcSmsWindow) << "Error open file: cannot create" << folder;
        return;
    }
    QDomDocument doc;
    if (!loadUsageDocument(path, doc))
        return;
    applyValue(doc, item, key, value);
    saveUsageDocument(path, doc);
}
