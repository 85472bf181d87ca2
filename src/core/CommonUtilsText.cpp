// SPDX-License-Identifier: GPL-3.0-or-later
// Links in displayed message text, bidirectional marks and the browser.
#include "CommonUtils.h"
#include "CoreLog.h"

#include <QDesktopServices>
#include <QMutex>
#include <QRegularExpression>

namespace {

QMutex g_openerMutex;
UrlOpener g_opener;

// One pass over the text finds the next entity, web address, e-mail address or phone
// number. Entities are matched first and copied as they are, so that the digits of
// "&#1234;" never become a phone number and "&lt;" never becomes part of an address.
// Direction marks and isolates end an address: they belong to the layout around it.
const QRegularExpression &linkPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(
            R"((?<entity>&(?:#[0-9]{1,7}|#[xX][0-9A-Fa-f]{1,6}|[A-Za-z][A-Za-z0-9]{1,31});))"
            R"(|(?<url>\b(?:(?:https?|ftp)://|www\.)[^\s<>"'`\x{200E}\x{200F}\x{202A}-\x{202E}\x{2066}-\x{2069}]+))"
            R"(|(?<email>\b[A-Za-z0-9._%+\-]+@[A-Za-z0-9\-]+(?:\.[A-Za-z0-9\-]+)*\.[A-Za-z]{2,}\b))"
            R"(|(?<phone>(?<![\w+/.@#&])\+?\d(?:[\- ]?\d){4,19}(?![\w@])))"),
        QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

// A web address ends before an entity that stands for a character URLs cannot hold, and
// before trailing punctuation that belongs to the sentence.
int urlLength(const QString &text, int start, int length)
{
    static const char *const stops[] = {"&lt;", "&gt;", "&quot;", "&#", "&apos;", "&nbsp;"};
    QStringView url = QStringView(text).mid(start, length);
    for (const char *stop : stops) {
        const qsizetype at = url.indexOf(QLatin1String(stop), 0, Qt::CaseInsensitive);
        if (at >= 0)
            url = url.left(at);
    }
    while (!url.isEmpty()) {
        const QChar last = url.back();
        if (QStringLiteral(".,;:!?'").contains(last)) {
            url.chop(1);
        } else if (last == QLatin1Char(')') && url.count(QLatin1Char('(')) < url.count(QLatin1Char(')'))) {
            url.chop(1);
        } else {
            break;
        }
    }
    return int(url.size());
}

bool looksLikeDate(QStringView digits)
{
    static const QRegularExpression date(QStringLiteral(R"(^\d{4}-\d{2}-\d{2}$|^\d{2}-\d{2}-\d{4}$)"));
    return date.match(digits).hasMatch();
}

QString anchor(const QString &href, QStringView shown)
{
    return QStringLiteral("<a href=\"") + href + QStringLiteral("\">") + shown + QStringLiteral("</a>");
}

} // namespace

QString CommonUtils::ParseAndCreateHyperLinks(const QString &html)
{
    QString out;
    out.reserve(html.size() + 32);
    int pos = 0;
    while (pos < html.size()) {
        const QRegularExpressionMatch m = linkPattern().match(html, pos);
        if (!m.hasMatch())
            break;
        const int start = int(m.capturedStart());
        out += QStringView(html).mid(pos, start - pos);
        if (m.hasCaptured(QStringLiteral("entity"))) {
            out += m.captured();
        } else if (m.hasCaptured(QStringLiteral("url"))) {
            const int length = urlLength(html, start, int(m.capturedLength()));
            const QStringView shown = QStringView(html).mid(start, length);
            const QString href = shown.startsWith(QLatin1String("www."), Qt::CaseInsensitive)
                ? QStringLiteral("http://") + shown
                : shown.toString();
            if (length > 0) {
                out += anchor(href, shown);
                pos = start + length;
            } else {
                // Nothing left of the address: copy one character and look again after it.
                out += html.at(start);
                pos = start + 1;
            }
            continue;
        } else if (m.hasCaptured(QStringLiteral("email"))) {
            out += anchor(QStringLiteral("mailto:") + m.captured(), m.capturedView());
        } else {
            const QStringView number = m.capturedView();
            if (looksLikeDate(number)) {
                out += number;
            } else {
                QString dial;
                for (QChar c : number) {
                    if (c.isDigit() || c == QLatin1Char('+'))
                        dial += c;
                }
                out += anchor(QStringLiteral("tel:") + dial, number);
            }
        }
        pos = int(m.capturedEnd());
    }
    out += QStringView(html).mid(pos);
    return out;
}

void CommonUtils::ParanthesisCorrection(QString &text)
{
    static const QString brackets = QStringLiteral("()[]{}");
    constexpr QChar lrm(0x200E);
    constexpr QChar rlm(0x200F);
    if (text.isEmpty() || text.startsWith(lrm) || text.startsWith(rlm))
        return;
    bool hasBracket = false;
    for (QChar c : text) {
        if (brackets.contains(c)) {
            hasBracket = true;
            break;
        }
    }
    if (!hasBracket)
        return;
    // The first strong character decides which way the text reads; the same mark at both
    // ends keeps the brackets at its ends inside that run.
    QChar mark = lrm;
    for (QChar c : text) {
        const QChar::Direction d = c.direction();
        if (d == QChar::DirL)
            break;
        if (d == QChar::DirR || d == QChar::DirAL) {
            mark = rlm;
            break;
        }
    }
    text = mark + text + mark;
}

bool CommonUtils::LaunchBrowser(const QUrl &url)
{
    if (!url.isValid() || url.isEmpty()) {
        qCWarning(lcCoreUi) << "LaunchBrowser: invalid address" << url;
        return false;
    }
    UrlOpener opener;
    {
        QMutexLocker lock(&g_openerMutex);
        opener = g_opener;
    }
    const bool opened = opener ? opener(url) : QDesktopServices::openUrl(url);
    if (!opened)
        qCWarning(lcCoreUi) << "LaunchBrowser: could not open" << url;
    return opened;
}

UrlOpener CommonUtils::SetUrlOpener(UrlOpener opener)
{
    QMutexLocker lock(&g_openerMutex);
    UrlOpener previous = std::move(g_opener);
    g_opener = std::move(opener);
    return previous;
}
