// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtModem.h"

#include <QStringList>

namespace realmodem {
namespace {

constexpr char kCtrlZ = 0x1A;
constexpr char kEsc = 0x1B;

// Error numbers hosts act on: +CME for the SIM, +CMS for messaging.
constexpr int kCmeSimPin = 11;
constexpr int kCmeSimPuk = 12;
constexpr int kCmeWrongPassword = 16;
constexpr int kCmeInvalidIndex = 21;
constexpr int kCmsInvalidPdu = 304;
constexpr int kCmsMemoryFull = 322;
constexpr int kCmsInvalidIndex = 321;

QByteArray info(const QByteArray &line)
{
    return "\r\n" + line + "\r\n";
}
QByteArray ok(const QByteArray &lines = {})
{
    return lines + "\r\nOK\r\n";
}
QByteArray error()
{
    return "\r\nERROR\r\n";
}
QByteArray cme(int code)
{
    return "\r\n+CME ERROR: " + QByteArray::number(code) + "\r\n";
}
QByteArray cms(int code)
{
    return "\r\n+CMS ERROR: " + QByteArray::number(code) + "\r\n";
}

QList<QByteArray> arguments(const QByteArray &args)
{
    QList<QByteArray> out;
    for (QByteArray a : args.split(',')) {
        a = a.trimmed();
        if (a.startsWith('"') && a.endsWith('"') && a.size() >= 2)
            a = a.mid(1, a.size() - 2);
        out << a;
    }
    return out;
}

// The identity a host reads: fixed, so the modem is the same one after every restart.
const QMap<QByteArray, QByteArray> kIdentity{
    {"+CGMI", "dialcrest"},        {"+GMI", "dialcrest"},      {"+CGMM", "virtual modem"},
    {"+GMM", "virtual modem"},     {"+CGMR", "1.0"},           {"+GMR", "1.0"},
    {"+CGSN", "490154203237518"},  {"+GSN", "490154203237518"}, {"+GCAP", "+GCAP: +CGSM"},
    {"+CSQ", "+CSQ: 20,99"},       {"+CFUN?", "+CFUN: 1"},     {"+CMGF=?", "+CMGF: (0,1)"},
    {"+CSMS?", "+CSMS: 0,1,1,1"},  {"+CSMS=?", "+CSMS: (0,1)"},
    {"+CNMI=?", "+CNMI: (0-2),(0-3),(0,2),(0-2),(0,1)"},
    {"+CPMS=?", "+CPMS: (\"SM\",\"ME\"),(\"SM\",\"ME\"),(\"SM\",\"ME\")"},
    {"+CSCS=?", "+CSCS: (\"IRA\",\"GSM\",\"UCS2\")"}, {"+CSCS?", "+CSCS: \"IRA\""},
    {"+CSCA?", "+CSCA: \"+15550000\",145"}, {"+CNUM", "+CNUM: \"\",\"+15550100\",145"},
};
// Commands that need the SIM unlocked before they answer.
const QStringList kNeedsSim{QStringLiteral("+CIMI"), QStringLiteral("+CPMS"), QStringLiteral("+CMGL"),
                            QStringLiteral("+CMGR"), QStringLiteral("+CMGS"), QStringLiteral("+CMGW"),
                            QStringLiteral("+CMGD"), QStringLiteral("+CNUM"), QStringLiteral("+CSCA"),
                            QStringLiteral("+CCID")};

} // namespace

AtModem::AtModem()
{
    m_storages.insert(QStringLiteral("SM"), Storage{20, {}});
    m_storages.insert(QStringLiteral("ME"), Storage{50, {}});
}

void AtModem::setCapacity(const QString &storage, int capacity)
{
    if (m_storages.contains(storage))
        m_storages[storage].capacity = qMax(capacity, 0);
}

QByteArray AtModem::input(const QByteArray &bytes)
{
    QByteArray out;
    for (char c : bytes) {
        if (m_entry != Entry::None) {
            // A PDU typed after the prompt ends with Ctrl-Z, or is dropped with Esc.
            if (c == kCtrlZ) {
                out += pduEntered(m_pending.trimmed());
                m_pending.clear();
            } else if (c == kEsc) {
                m_entry = Entry::None;
                m_pending.clear();
                out += ok();
            } else {
                m_pending += c;
            }
            continue;
        }
        if (c == '\r') {
            const QByteArray line = m_pending.trimmed();
            m_pending.clear();
            if (m_echo)
                out += line + "\r";
            if (!line.isEmpty())
                out += command(line);
        } else if (c != '\n') {
            m_pending += c;
        }
    }
    return out;
}

QByteArray AtModem::command(const QByteArray &line)
{
    if (!line.toUpper().startsWith("AT"))
        return error();
    const QByteArray body = line.mid(2);
    if (body.isEmpty())
        return ok();
    if (body.at(0) != '+') {
        // Basic commands (Z, E0, V1, &F, I...): only echo and identification matter.
        const QByteArray upper = body.toUpper();
        if (upper.startsWith('I'))
            return ok(info("dialcrest virtual modem"));
        if (upper.contains("E1"))
            m_echo = true;
        else if (upper.contains("E0") || upper.startsWith('Z'))
            m_echo = false;
        return ok();
    }
    // Several extended commands in one line are answered together.
    QByteArray answers;
    for (const QByteArray &part : body.split(';')) {
        const QByteArray cmd = part.startsWith('+') ? part : '+' + part;
        const QByteArray answer = extended(cmd);
        if (!answer.endsWith("\r\nOK\r\n") || m_entry != Entry::None)
            return answers + answer;
        answers += answer.chopped(6);
    }
    return ok(answers);
}

QByteArray AtModem::extended(const QByteArray &cmd)
{
    // "+X=?" tests, "+X?" queries, "+X=a,b" sets; args is "?" for a query, "=?" for a test.
    const auto mark = std::find_if(cmd.begin(), cmd.end(), [](char c) { return c == '=' || c == '?'; });
    const int split = mark == cmd.end() ? -1 : int(mark - cmd.begin());
    const QByteArray name = (split < 0 ? cmd : cmd.left(split)).toUpper();
    const QByteArray rest = split < 0 ? QByteArray() : cmd.mid(split);
    const QByteArray args = rest.startsWith('=') && rest != "=?" ? rest.mid(1) : rest;
    const QByteArray upper = cmd.toUpper();

    if (name == "+CPIN" || name == "+CSIM" || name == "+CLCK")
        return simCommand(name, args);
    if (m_lock != Lock::None && kNeedsSim.contains(QString::fromLatin1(name)))
        return cme(m_lock == Lock::Pin ? kCmeSimPin : kCmeSimPuk);
    if (kIdentity.contains(upper))
        return ok(info(kIdentity.value(upper)));
    if (name == "+CIMI")
        return ok(info("001010123456789"));
    if (name == "+CCID")
        return ok(info("+CCID: 8901001012345678901"));
    if (name == "+CREG" || name == "+CGREG" || name == "+CEREG")
        return args == "?" ? ok(info(name + ": 0,1")) : ok();
    if (name == "+COPS") {
        if (args == "?")
            return ok(info(m_copsFormat == 2 ? "+COPS: 0,2,\"00101\",0" : "+COPS: 0,0,\"Test Network\",0"));
        if (args.startsWith("3,"))
            m_copsFormat = args.mid(2).toInt();
        return args == "=?" ? error() : ok();
    }
    if (name == "+CMGF") {
        if (args == "?")
            return ok(info(m_pduMode ? "+CMGF: 0" : "+CMGF: 1"));
        // Text mode is not offered to the host that asks for it: PDU mode is what we test.
        if (args != "0")
            return error();
        m_pduMode = true;
        return ok();
    }
    if (name == "+CNMI" && args != "?") {
        const QList<QByteArray> a = arguments(args);
        m_announce = a.value(1) == "1";
        m_reportsRouted = a.value(3) == "1";
        return ok();
    }
    if (name == "+CMEE" || name == "+CFUN" || name == "+CSCS" || name == "+CSCA" || name == "+CSMS")
        return ok();
    if (name.startsWith("+CMG") || name == "+CPMS")
        return messaging(name, args);
    return error();
}

QByteArray AtModem::simCommand(const QByteArray &name, const QByteArray &args)
{
    if (name == "+CLCK")
        return args.contains("=?") || args == "?" ? ok(info("+CLCK: (\"SC\")")) : ok(info("+CLCK: 1"));
    if (name == "+CSIM") {
        // Retries as the SIM answers VERIFY/UNBLOCK without data: 63Cx, x attempts left.
        const QList<QByteArray> a = arguments(args);
        const QByteArray apdu = a.value(1).toUpper();
        if (apdu.size() < 10)
            return error();
        // P2 0x81 asks about PIN2/PUK2, which this card never uses up.
        const bool second = apdu.mid(6, 2) == "81";
        const bool puk = apdu.startsWith("002C");
        const int left = second ? (puk ? 10 : 3) : (puk ? m_pukRetries : m_pinRetries);
        return ok(info("+CSIM: 4,\"63C" + QByteArray::number(qMin(left, 15), 16).toUpper() + "\""));
    }
    if (args == "?") {
        const char *state = m_lock == Lock::None ? "READY" : m_lock == Lock::Pin ? "SIM PIN" : "SIM PUK";
        return ok(info(QByteArray("+CPIN: ") + state));
    }
    const QList<QByteArray> a = arguments(args);
    if (m_lock == Lock::None)
        return ok();
    if (m_lock == Lock::Pin) {
        if (a.value(0) == kPin) {
            m_lock = Lock::None;
            m_pinRetries = 3;
            return ok();
        }
        if (--m_pinRetries == 0)
            m_lock = Lock::Puk;
        return cme(kCmeWrongPassword);
    }
    if (a.value(0) == kPuk && !a.value(1).isEmpty()) {
        m_lock = Lock::None;
        m_pinRetries = 3;
        m_pukRetries = 10;
        return ok();
    }
    m_pukRetries = qMax(0, m_pukRetries - 1);
    return cme(kCmeWrongPassword);
}

QByteArray AtModem::messaging(const QByteArray &name, const QByteArray &args)
{
    if (name == "+CPMS")
        return selectStorages(args);
    if (name == "+CMGL")
        return args == "=?" ? ok(info("+CMGL: (0-4)")) : listMessages(args.toInt());
    if (name == "+CMGR")
        return readMessage(args.toInt());
    if (name == "+CMGD") {
        const QList<QByteArray> a = arguments(args);
        Storage &s = m_storages[m_read];
        if (a.value(1).toInt() == 4)
            s.messages.clear();
        else if (!s.messages.remove(a.value(0).toInt()))
            return cms(kCmsInvalidIndex);
        return ok();
    }
    if (name == "+CMGS" || name == "+CMGW") {
        const QList<QByteArray> a = arguments(args);
        bool valid = false;
        m_entryLength = a.value(0).toInt(&valid);
        if (!valid || m_entryLength <= 0 || m_entryLength > 164)
            return cms(kCmsInvalidPdu);
        m_entryStatus = a.size() > 1 ? a.value(1).toInt() : 2;
        m_entry = name == "+CMGS" ? Entry::Send : Entry::Write;
        return "\r\n> ";
    }
    return error();
}

QByteArray AtModem::pduEntered(const QByteArray &hex)
{
    const Entry entry = std::exchange(m_entry, Entry::None);
    QString why;
    const auto decoded = decode(hex, &why);
    if (!decoded || decoded->type != Decoded::Submit || tpduLength(hex) != m_entryLength)
        return cms(kCmsInvalidPdu);
    if (entry == Entry::Write) {
        const int index = store(m_write, {m_entryStatus, hex});
        return index < 0 ? cms(kCmsMemoryFull) : ok(info("+CMGW: " + QByteArray::number(index)));
    }
    // The modem numbers what it sends; a status report names that number.
    m_nextReference = (m_nextReference + 1) & 0xFF;
    m_sent << decoded->submit;
    m_sent.last().reference = m_nextReference;
    return ok(info("+CMGS: " + QByteArray::number(m_nextReference)));
}

QByteArray AtModem::selectStorages(const QByteArray &args)
{
    if (args == "=?" || args == "?") {
        if (args == "=?")
            return ok(info(kIdentity.value("+CPMS=?")));
        QByteArray line = "+CPMS: ";
        for (const QString &mem : {m_read, m_write, m_arrival}) {
            const Storage &s = m_storages[mem];
            line += '"' + mem.toLatin1() + "\"," + QByteArray::number(s.messages.size()) + ',' +
                    QByteArray::number(s.capacity) + ',';
        }
        return ok(info(line.chopped(1)));
    }
    const QList<QByteArray> a = arguments(args);
    for (const QByteArray &mem : a)
        if (!m_storages.contains(QString::fromLatin1(mem.toUpper())))
            return cms(302); // operation not allowed
    QString *mems[] = {&m_read, &m_write, &m_arrival};
    for (int i = 0; i < a.size() && i < 3; ++i)
        *mems[i] = QString::fromLatin1(a.at(i).toUpper());
    QByteArray line = "+CPMS: ";
    for (int i = 0; i < 3; ++i) {
        const Storage &s = m_storages[*mems[i]];
        line += QByteArray::number(s.messages.size()) + ',' + QByteArray::number(s.capacity) + ',';
    }
    return ok(info(line.chopped(1)));
}

QByteArray AtModem::listMessages(int wanted)
{
    QByteArray lines = "\r\n";
    Storage &s = m_storages[m_read];
    for (auto it = s.messages.begin(); it != s.messages.end(); ++it) {
        if (wanted != 4 && it->status != wanted)
            continue;
        lines += "+CMGL: " + QByteArray::number(it.key()) + ',' + QByteArray::number(it->status) + ",," +
                 QByteArray::number(tpduLength(it->pdu)) + "\r\n" + it->pdu + "\r\n";
        // Listing marks unread arrivals read, as modems do.
        if (it->status == 0)
            it->status = 1;
    }
    return ok(lines);
}

QByteArray AtModem::readMessage(int index)
{
    Storage &s = m_storages[m_read];
    if (!s.messages.contains(index))
        return cms(kCmsInvalidIndex);
    Stored &m = s.messages[index];
    const QByteArray answer = info("+CMGR: " + QByteArray::number(m.status) + ",," +
                                   QByteArray::number(tpduLength(m.pdu)));
    if (m.status == 0)
        m.status = 1;
    return ok(answer + m.pdu + "\r\n");
}

int AtModem::store(const QString &storage, const Stored &message)
{
    Storage &s = m_storages[storage];
    if (s.full())
        return -1;
    int index = 0;
    while (s.messages.contains(index))
        ++index;
    s.messages.insert(index, message);
    return index;
}

QList<QByteArray> AtModem::receive(const Deliver &whole, QString *why)
{
    const QList<Deliver> parts = deliverParts(whole, m_nextReference++);
    Storage &s = m_storages[m_arrival];
    if (s.messages.size() + parts.size() > s.capacity) {
        if (why)
            *why = QStringLiteral("storage %1 full").arg(m_arrival);
        return {};
    }
    QList<QByteArray> out;
    for (const Deliver &part : parts) {
        const int index = store(m_arrival, {0, encodeDeliver(part)});
        if (m_announce)
            out << info("+CMTI: \"" + m_arrival.toLatin1() + "\"," + QByteArray::number(index));
    }
    return out;
}

QByteArray AtModem::receiveReport(const StatusReport &report)
{
    const QByteArray pdu = encodeStatusReport(report);
    if (m_reportsRouted)
        return info("+CDS: " + QByteArray::number(tpduLength(pdu))) + pdu + "\r\n";
    const int index = store(m_arrival, {0, pdu});
    return index < 0 ? QByteArray() : info("+CDSI: \"" + m_arrival.toLatin1() + "\"," + QByteArray::number(index));
}

} // namespace realmodem
