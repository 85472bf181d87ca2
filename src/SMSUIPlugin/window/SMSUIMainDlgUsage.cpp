// SPDX-License-Identifier: GPL-3.0-or-later
// The usage-statistics file that the host's update component collects: how often the SMS
// module is used, how many messages were sent and received. Counters only grow; a missing,
// empty or unreadable file never costs the counts that follow it.
#include "SMSUIMainDlg.h"

#include <algorithm>

#include <QDateTime>
#include <QList>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamWriter>

#include "OwnFile.h"
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

// Reads the file into `doc`. A missing or empty file starts afresh; an unreadable one, or
// anything that is not a plain file (a link is never read or written through), is kept
// aside under a new name and the counting starts afresh.
bool loadUsageDocument(const QString &path, QDomDocument &doc)
{
    QByteArray bytes;
    switch (OwnFile::kindOf(path)) {
    case OwnFile::Kind::Missing:
        break;
    case OwnFile::Kind::Other: {
        const QString aside = OwnFile::moveAside(path);
        if (aside.isEmpty())
            return false;
        qCWarning(lcSmsWindow) << "Error open file:" << path << "is not a plain file; kept as"
                               << aside << "and started afresh";
        break;
    }
    case OwnFile::Kind::Plain: {
        QString error;
        if (!OwnFile::read(path, &bytes, &error)) {
            qCWarning(lcSmsWindow) << "Error open file:" << path << error;
            return false;
        }
        break;
    }
    }
    if (!bytes.trimmed().isEmpty()) {
        QString error;
        int line = 0;
        if (doc.setContent(bytes, &error, &line) && !doc.documentElement().isNull())
            return true;
        const QString aside = OwnFile::moveAside(path);
        if (aside.isEmpty()) {
            qCWarning(lcSmsWindow) << "Error set file:" << path << error << "line" << line
                                   << "; cannot move it aside, left as it is";
            return false;
        }
        qCWarning(lcSmsWindow) << "Error set file:" << path << error << "line" << line
                               << "; kept as" << aside << "and started afresh";
    }
    return doc.setContent(initialContent());
}

// The attributes of an element in the order the file's readers know them by: the root's
// "version" before "entity", then any others by name. A parsed document keeps attributes
// in a hash, whose order changes from one run to the next.
QList<QDomAttr> orderedAttributes(const QDomElement &element)
{
    static const QStringList known = {QStringLiteral("version"), QStringLiteral("entity"),
                                      QStringLiteral("itemname")};
    QList<QDomAttr> attributes;
    const QDomNamedNodeMap map = element.attributes();
    for (int i = 0; i < map.count(); ++i)
        attributes.append(map.item(i).toAttr());
    const auto rank = [](const QDomAttr &a) {
        const qsizetype at = known.indexOf(a.name());
        return at < 0 ? known.size() : at;
    };
    std::sort(attributes.begin(), attributes.end(), [&](const QDomAttr &a, const QDomAttr &b) {
        return rank(a) != rank(b) ? rank(a) < rank(b) : a.name() < b.name();
    });
    return attributes;
}

void writeNode(QXmlStreamWriter &xml, const QDomNode &node)
{
    if (node.isElement()) {
        const QDomElement element = node.toElement();
        xml.writeStartElement(element.tagName());
        for (const QDomAttr &attribute : orderedAttributes(element))
            xml.writeAttribute(attribute.name(), attribute.value());
        for (QDomNode child = node.firstChild(); !child.isNull(); child = child.nextSibling())
            writeNode(xml, child);
        xml.writeEndElement();
    } else if (node.isCDATASection()) {
        xml.writeCDATA(node.nodeValue());
    } else if (node.isText()) {
        // Auto-formatting adds its own indentation; the parser kept the old one as text.
        if (!node.nodeValue().trimmed().isEmpty())
            xml.writeCharacters(node.nodeValue());
    } else if (node.isComment()) {
        xml.writeComment(node.nodeValue());
    } else if (node.isProcessingInstruction()) {
        const QDomProcessingInstruction pi = node.toProcessingInstruction();
        if (pi.target() != QLatin1String("xml"))  // the declaration is written anew
            xml.writeProcessingInstruction(pi.target(), pi.data());
    }
}

QByteArray serialise(const QDomDocument &doc)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(4);
    xml.writeStartDocument();
    for (QDomNode node = doc.firstChild(); !node.isNull(); node = node.nextSibling())
        writeNode(xml, node);
    xml.writeEndDocument();
    return bytes;
}

bool saveUsageDocument(const QString &path, const QDomDocument &doc)
{
    // Written beside the old file and renamed over it: a crash or a full disk leaves the
    // previous counts, and a link put at the file's place is replaced, never followed.
    // Only a file created here gets the shared mode; an existing one keeps its own.
    QString error;
    if (!OwnFile::write(path, serialise(doc), kSharedPermissions, &error)) {
        qCWarning(lcSmsWindow) << "Error open file:" << path << error;
        return false;
    }
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
