// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShownText.h"

#include <QList>
#include <QTextDocument>

namespace {

constexpr char16_t kLeftToRightEmbedding = 0x202A;
constexpr char16_t kRightToLeftEmbedding = 0x202B;
constexpr char16_t kPopDirectionalFormatting = 0x202C;
constexpr char16_t kLeftToRightOverride = 0x202D;
constexpr char16_t kRightToLeftOverride = 0x202E;
constexpr char16_t kLeftToRightIsolate = 0x2066;
constexpr char16_t kRightToLeftIsolate = 0x2067;
constexpr char16_t kFirstStrongIsolate = 0x2068;
constexpr char16_t kPopDirectionalIsolate = 0x2069;

bool opensIsolate(char16_t c)
{
    return c == kLeftToRightIsolate || c == kRightToLeftIsolate || c == kFirstStrongIsolate;
}

bool opensEmbedding(char16_t c)
{
    return c == kLeftToRightEmbedding || c == kRightToLeftEmbedding
        || c == kLeftToRightOverride || c == kRightToLeftOverride;
}

// Every opener still on the stack gets its closer, innermost first.
void closeAll(QList<bool> &openIsolates, QString &out)
{
    while (!openIsolates.isEmpty())
        out += QChar(openIsolates.takeLast() ? kPopDirectionalIsolate : kPopDirectionalFormatting);
}

// The bidirectional algorithm pairs openers and closers within one paragraph; a closer
// without an opener there is ignored by it and so cannot end our own isolate, but it
// would pair with an opener of ours if we kept it. Each paragraph of the text therefore
// leaves balanced.
QString balanced(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    QList<bool> open;  // true: an isolate, false: an embedding or override
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate()) {
            out += QChar(QChar::ReplacementCharacter);
        } else if (opensIsolate(u) || opensEmbedding(u)) {
            open.append(opensIsolate(u));
            out += c;
        } else if (u == kPopDirectionalIsolate) {
            // Ends the innermost isolate and whatever was opened inside it.
            if (!open.contains(true))
                continue;
            while (!open.takeLast()) {
            }
            out += c;
        } else if (u == kPopDirectionalFormatting) {
            if (open.isEmpty() || open.last())
                continue;
            open.removeLast();
            out += c;
        } else {
            if (c.direction() == QChar::DirB)
                closeAll(open, out);
            out += c;
        }
    }
    closeAll(open, out);
    return out;
}

} // namespace

QString ShownText::field(const QString &text)
{
    if (text.isEmpty())
        return text;
    return QChar(kFirstStrongIsolate) + balanced(text) + QChar(kPopDirectionalIsolate);
}

QString ShownText::htmlField(const QString &text)
{
    return field(text).toHtmlEscaped();
}

QString ShownText::toolTip(const QString &text)
{
    return text.isEmpty() ? text : Qt::convertFromPlainText(field(text), Qt::WhiteSpacePre);
}
