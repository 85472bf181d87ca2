// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pdu.h"

#include <QTimeZone>

#include <array>

namespace realmodem {
namespace {

// The default alphabet by code; 0x1B is the escape into the extension table.
constexpr char16_t kDefault[] =
    u"@\u00A3$\u00A5\u00E8\u00E9\u00F9\u00EC\u00F2\u00C7\n\u00D8\u00F8\r\u00C5\u00E5"
    u"\u0394_\u03A6\u0393\u039B\u03A9\u03A0\u03A8\u03A3\u0398\u039E\u001B\u00C6\u00E6\u00DF\u00C9"
    u" !\"#\u00A4%&'()*+,-./0123456789:;<=>?"
    u"\u00A1ABCDEFGHIJKLMNOPQRSTUVWXYZ\u00C4\u00D6\u00D1\u00DC\u00A7"
    u"\u00BFabcdefghijklmnopqrstuvwxyz\u00E4\u00F6\u00F1\u00FC\u00E0";
static_assert(sizeof kDefault / sizeof kDefault[0] == 129, "128 codes and the terminator");
constexpr char kEscape = 0x1B;

struct Extension
{
    char code;
    char16_t ch;
};
constexpr std::array<Extension, 10> kExtension{{{0x0A, u'\f'},
                                                {0x14, u'^'},
                                                {0x28, u'{'},
                                                {0x29, u'}'},
                                                {0x2F, u'\\'},
                                                {0x3C, u'['},
                                                {0x3D, u'~'},
                                                {0x3E, u']'},
                                                {0x40, u'|'},
                                                {0x65, u'\u20AC'}}};

constexpr int kTpduMax = 140;   // octets of user data in one message
constexpr int kConcatHeader = 6; // UDHL + the 8-bit reference element

// Septets of one character: one code, escape + code, or empty when it has none.
QByteArray septetsOf(QChar ch)
{
    if (ch.unicode() != kEscape) {
        for (int i = 0; i < 128; ++i)
            if (kDefault[i] == ch.unicode())
                return QByteArray(1, char(i));
    }
    for (const Extension &e : kExtension)
        if (e.ch == ch.unicode())
            return QByteArray{&kEscape, 1} + e.code;
    return {};
}

QByteArray toSeptets(const QString &text)
{
    QByteArray out;
    for (QChar ch : text)
        out += septetsOf(ch);
    return out;
}

QString fromSeptets(const QByteArray &septets)
{
    QString out;
    for (int i = 0; i < septets.size(); ++i) {
        const char c = septets.at(i);
        if (c != kEscape || i + 1 == septets.size()) {
            out += QChar(kDefault[c & 0x7F]);
            continue;
        }
        const char next = septets.at(++i);
        auto it = std::find_if(kExtension.begin(), kExtension.end(), [next](const Extension &e) { return e.code == next; });
        // An escape before an unknown code shows the code itself, as receivers do.
        out += it == kExtension.end() ? QChar(kDefault[next & 0x7F]) : QChar(it->ch);
    }
    return out;
}

// Septets packed low bit first from bit offset `start` (after a header, on a septet
// boundary, so the fill bits stay zero).
void pack(QByteArray &out, int start, const QByteArray &septets)
{
    const int bits = start + 7 * int(septets.size());
    out.resize((bits + 7) / 8, 0);
    for (int i = 0; i < septets.size(); ++i) {
        const int pos = start + 7 * i;
        const uint s = uchar(septets.at(i)) & 0x7F;
        out[pos / 8] = char(uchar(out.at(pos / 8)) | uchar(s << (pos % 8)));
        if (pos % 8 > 1)
            out[pos / 8 + 1] = char(uchar(out.at(pos / 8 + 1)) | uchar(s >> (8 - pos % 8)));
    }
}

uchar octetAt(const QByteArray &octets, int i)
{
    return i < octets.size() ? uchar(octets.at(i)) : 0;
}

QByteArray unpack(const QByteArray &octets, int start, int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        const int pos = start + 7 * i;
        const int at = pos / 8;
        uint v = uint(octetAt(octets, at)) >> (pos % 8);
        if (pos % 8 > 1)
            v |= uint(octetAt(octets, at + 1)) << (8 - pos % 8);
        out += char(v & 0x7F);
    }
    return out;
}

QByteArray toUcs2(const QString &text)
{
    QByteArray out;
    for (QChar ch : text) {
        out += char(ch.unicode() >> 8);
        out += char(ch.unicode() & 0xFF);
    }
    return out;
}

QString fromUcs2(const QByteArray &octets)
{
    QString out;
    for (int i = 0; i + 1 < octets.size(); i += 2)
        out += QChar(char16_t(uchar(octets.at(i)) << 8 | uchar(octets.at(i + 1))));
    return out;
}

uchar semiOctets(int value)
{
    return uchar((value % 10) << 4 | (value / 10) % 10);
}

// Address field: length in digits (or semi-octets for a name), type, digits swapped.
QByteArray encodeAddress(const QString &number)
{
    QByteArray out;
    QString digits = number;
    bool international = digits.startsWith(QLatin1Char('+'));
    if (international)
        digits.remove(0, 1);
    const bool numeric = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) {
        return c.isDigit() && c.unicode() < 0x80;
    });
    if (!numeric) {
        QByteArray packed;
        const QByteArray septets = toSeptets(number);
        pack(packed, 0, septets);
        out += char((septets.size() * 7 + 3) / 4); // semi-octets that carry bits
        out += char(0xD0);
        return out + packed;
    }
    out += char(digits.size());
    out += char(international ? 0x91 : 0x81);
    for (int i = 0; i < digits.size(); i += 2) {
        const int lo = digits.at(i).digitValue();
        const int hi = i + 1 < digits.size() ? digits.at(i + 1).digitValue() : 0xF;
        out += char(hi << 4 | lo);
    }
    return out;
}

QByteArray encodeSmsc(const QString &smsc)
{
    if (smsc.isEmpty())
        return QByteArray(1, 0);
    QByteArray a = encodeAddress(smsc);
    a[0] = char(a.size() - 1); // the centre's length counts octets, its type included
    return a;
}

QByteArray encodeTime(const QDateTime &t)
{
    const QDateTime local = t.isValid() ? t : QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    const QDate d = local.date();
    const QTime tm = local.time();
    QByteArray out;
    for (int v : {d.year() % 100, d.month(), d.day(), tm.hour(), tm.minute(), tm.second()})
        out += char(semiOctets(v));
    const int quarters = local.offsetFromUtc() / 900;
    uchar tz = semiOctets(qAbs(quarters));
    if (quarters < 0)
        tz |= 0x08;
    return out + char(tz);
}

// Message class and alphabet in the coding scheme's general form.
char codingScheme(Alphabet alphabet, int messageClass)
{
    uchar dcs = alphabet == Alphabet::Ucs2 ? 0x08 : 0x00;
    if (messageClass >= 0)
        dcs |= 0x10 | (messageClass & 3);
    return char(dcs);
}

// User-data length and user data, with the concatenation header when there are parts.
QByteArray encodeUserData(const QString &text, Alphabet alphabet, const Concat &concat)
{
    QByteArray header;
    if (concat.total > 1)
        header = QByteArray::fromHex("050003") + char(concat.reference) + char(concat.total) + char(concat.sequence);
    QByteArray ud = header;
    int udl = 0;
    if (alphabet == Alphabet::Gsm7) {
        const int headerSeptets = (int(header.size()) * 8 + 6) / 7;
        const QByteArray septets = toSeptets(text);
        pack(ud, headerSeptets * 7, septets);
        udl = headerSeptets + int(septets.size());
    } else {
        ud += toUcs2(text);
        udl = int(ud.size());
    }
    return char(udl) + ud;
}

// Reads the TPDU one field at a time; any overrun marks it bad instead of reading on.
class Reader
{
public:
    explicit Reader(QByteArray octets) : m_data(std::move(octets)) {}
    bool ok() const { return m_ok; }
    int at() const { return m_at; }
    int left() const { return int(m_data.size()) - m_at; }
    uchar octet()
    {
        if (m_at >= m_data.size()) {
            m_ok = false;
            return 0;
        }
        return uchar(m_data.at(m_at++));
    }
    QByteArray take(int n)
    {
        if (n < 0 || n > left()) {
            m_ok = false;
            m_at = int(m_data.size());
            return {};
        }
        const QByteArray out = m_data.mid(m_at, n);
        m_at += n;
        return out;
    }

    QString address(bool smsc)
    {
        const int length = octet();
        if (smsc && length == 0)
            return {};
        const uchar type = octet();
        const int octets = smsc ? length - 1 : (length + 1) / 2;
        const QByteArray raw = take(octets);
        if ((type & 0x70) == 0x50) // alphanumeric, 7-bit packed
            return fromSeptets(unpack(raw, 0, smsc ? octets * 8 / 7 : length * 4 / 7));
        QString digits;
        for (uchar b : raw) {
            for (uchar d : {uchar(b & 0x0F), uchar(b >> 4)})
                if (d < 10)
                    digits += QChar(u'0' + d);
        }
        return (type & 0x70) == 0x10 ? QLatin1Char('+') + digits : digits;
    }

    QDateTime time()
    {
        const QByteArray raw = take(7);
        if (raw.size() != 7)
            return {};
        auto value = [&](int i) { return (uchar(raw.at(i)) & 0x0F) * 10 + (uchar(raw.at(i)) >> 4); };
        const int quarters = (uchar(raw.at(6)) & 0x07) * 10 + (uchar(raw.at(6)) >> 4);
        const int offset = (uchar(raw.at(6)) & 0x08 ? -quarters : quarters) * 900;
        return QDateTime(QDate(2000 + value(0), value(1), value(2)), QTime(value(3), value(4), value(5)),
                         QTimeZone(offset));
    }

    // Text and concatenation from the user data, per the coding scheme's alphabet.
    void userData(bool hasHeader, uchar dcs, QString &text, Concat &concat, Alphabet &alphabet)
    {
        const int udl = octet();
        alphabet = (dcs & 0x0C) == 0x08 ? Alphabet::Ucs2 : Alphabet::Gsm7;
        const int octets = alphabet == Alphabet::Gsm7 ? (udl * 7 + 7) / 8 : udl;
        const QByteArray ud = take(octets);
        int headerOctets = 0;
        if (hasHeader && !ud.isEmpty()) {
            headerOctets = 1 + uchar(ud.at(0));
            if (headerOctets > ud.size()) {
                m_ok = false;
                return;
            }
            readHeader(ud.mid(1, headerOctets - 1), concat);
        }
        if (alphabet == Alphabet::Gsm7) {
            const int headerSeptets = (headerOctets * 8 + 6) / 7;
            text = fromSeptets(unpack(ud, headerSeptets * 7, qMax(0, udl - headerSeptets)));
        } else {
            text = fromUcs2(ud.mid(headerOctets));
        }
    }

private:
    static void readHeader(const QByteArray &h, Concat &concat)
    {
        for (int i = 0; i + 1 < h.size();) {
            const uchar id = uchar(h.at(i));
            const int len = uchar(h.at(i + 1));
            const QByteArray v = h.mid(i + 2, len);
            if (id == 0x00 && v.size() == 3)
                concat = {uchar(v.at(0)), uchar(v.at(1)), uchar(v.at(2))};
            else if (id == 0x08 && v.size() == 4)
                concat = {uchar(v.at(0)) << 8 | uchar(v.at(1)), uchar(v.at(2)), uchar(v.at(3))};
            i += 2 + len;
        }
    }

    QByteArray m_data;
    int m_at = 0;
    bool m_ok = true;
};

int classOf(uchar dcs)
{
    return (dcs & 0xC0) == 0 && (dcs & 0x10) ? dcs & 3 : -1;
}

void readSubmit(Reader &r, uchar first, Submit &s)
{
    s.statusReportRequested = first & 0x20;
    s.reference = r.octet();
    s.recipient = r.address(false);
    r.octet(); // protocol identifier
    const uchar dcs = r.octet();
    s.messageClass = classOf(dcs);
    const int vpf = (first >> 3) & 3;
    if (vpf == 2)
        s.validity = r.octet();
    else if (vpf != 0)
        r.take(7);
    r.userData(first & 0x40, dcs, s.text, s.concat, s.alphabet);
}

void readDeliver(Reader &r, uchar first, Deliver &d)
{
    d.sender = r.address(false);
    r.octet();
    const uchar dcs = r.octet();
    d.messageClass = classOf(dcs);
    d.time = r.time();
    r.userData(first & 0x40, dcs, d.text, d.concat, d.alphabet);
}

void readReport(Reader &r, StatusReport &s)
{
    s.reference = r.octet();
    s.recipient = r.address(false);
    s.submitted = r.time();
    s.discharged = r.time();
    s.status = r.octet();
}

} // namespace

Alphabet alphabetFor(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return !septetsOf(c).isEmpty(); }) ? Alphabet::Gsm7
                                                                                                   : Alphabet::Ucs2;
}

int unitsOf(const QString &text, Alphabet alphabet)
{
    return alphabet == Alphabet::Gsm7 ? int(toSeptets(text).size()) : int(text.size());
}

QStringList splitText(const QString &text, Alphabet alphabet)
{
    const int single = alphabet == Alphabet::Gsm7 ? kTpduMax * 8 / 7 : kTpduMax / 2;
    if (unitsOf(text, alphabet) <= single)
        return {text};
    const int perPart = alphabet == Alphabet::Gsm7 ? (kTpduMax - kConcatHeader) * 8 / 7 : (kTpduMax - kConcatHeader) / 2;
    QStringList parts;
    QString part;
    int used = 0;
    for (int i = 0; i < text.size(); ++i) {
        // A surrogate pair or an extension character is one unbreakable piece.
        const int n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString piece = text.mid(i, n);
        const int cost = unitsOf(piece, alphabet);
        if (used + cost > perPart) {
            parts << part;
            part.clear();
            used = 0;
        }
        part += piece;
        used += cost;
        i += n - 1;
    }
    parts << part;
    return parts;
}

QByteArray encodeDeliver(const Deliver &d)
{
    QByteArray t;
    t += char(0x04 | (d.concat.total > 1 ? 0x40 : 0)); // no more messages waiting
    t += encodeAddress(d.sender);
    t += char(0);
    t += codingScheme(d.alphabet, d.messageClass);
    t += encodeTime(d.time);
    t += encodeUserData(d.text, d.alphabet, d.concat);
    return QByteArray(encodeSmsc(d.smsc) + t).toHex().toUpper();
}

QByteArray encodeSubmit(const Submit &s)
{
    QByteArray t;
    uchar first = 0x01;
    if (s.validity >= 0)
        first |= 0x10;
    if (s.statusReportRequested)
        first |= 0x20;
    if (s.concat.total > 1)
        first |= 0x40;
    t += char(first);
    t += char(s.reference);
    t += encodeAddress(s.recipient);
    t += char(0);
    t += codingScheme(s.alphabet, s.messageClass);
    if (s.validity >= 0)
        t += char(s.validity);
    t += encodeUserData(s.text, s.alphabet, s.concat);
    return QByteArray(encodeSmsc(s.smsc) + t).toHex().toUpper();
}

QByteArray encodeStatusReport(const StatusReport &r)
{
    QByteArray t;
    t += char(0x06); // status report, no more messages waiting
    t += char(r.reference);
    t += encodeAddress(r.recipient);
    t += encodeTime(r.submitted);
    t += encodeTime(r.discharged);
    t += char(r.status);
    return QByteArray(encodeSmsc(r.smsc) + t).toHex().toUpper();
}

std::optional<Decoded> decode(const QByteArray &hex, QString *error)
{
    auto fail = [error](const char *why) {
        if (error)
            *error = QString::fromLatin1(why);
        return std::nullopt;
    };
    const auto octets = QByteArray::fromHex(hex);
    if (hex.size() % 2 || octets.size() * 2 != hex.size() || octets.isEmpty())
        return fail("not hexadecimal");
    Reader r(octets);
    Decoded out;
    const QString smsc = r.address(true);
    const uchar first = r.octet();
    switch (first & 3) {
    case 0:
        out.type = Decoded::Deliver;
        readDeliver(r, first, out.deliver);
        out.deliver.smsc = smsc;
        break;
    case 1:
        out.type = Decoded::Submit;
        readSubmit(r, first, out.submit);
        out.submit.smsc = smsc;
        break;
    case 2:
        out.type = Decoded::StatusReport;
        readReport(r, out.report);
        out.report.smsc = smsc;
        break;
    default:
        return fail("reserved message type");
    }
    if (!r.ok())
        return fail("shorter than its fields");
    return out;
}

int tpduLength(const QByteArray &hex)
{
    const auto octets = QByteArray::fromHex(hex);
    if (hex.size() % 2 || octets.size() * 2 != hex.size() || octets.isEmpty())
        return -1;
    const int smsc = 1 + uchar(octets.at(0));
    return smsc <= octets.size() ? int(octets.size()) - smsc : -1;
}

QList<Deliver> deliverParts(const Deliver &whole, int reference)
{
    const QStringList texts = splitText(whole.text, whole.alphabet);
    QList<Deliver> parts;
    for (int i = 0; i < texts.size(); ++i) {
        Deliver part = whole;
        part.text = texts.at(i);
        if (texts.size() > 1)
            part.concat = {reference & 0xFF, int(texts.size()), i + 1};
        parts << part;
    }
    return parts;
}

} // namespace realmodem
