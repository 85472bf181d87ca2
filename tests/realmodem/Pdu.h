// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The short-message transfer layer as a modem hands it to the computer in PDU mode:
// SMS-DELIVER and status reports going up, SMS-SUBMIT coming down, each prefixed with the
// service centre's address and written as hexadecimal text.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace realmodem {

enum class Alphabet { Gsm7, Ucs2 };

// One part of a concatenated message; total 1 means a message of one part (no header).
struct Concat
{
    int reference = 0;
    int total = 1;
    int sequence = 1;
    bool operator==(const Concat &o) const
    {
        return reference == o.reference && total == o.total && sequence == o.sequence;
    }
};

struct Deliver
{
    QString smsc;
    QString sender;
    QString text;
    QDateTime time; // with its offset from UTC, in quarter hours on the air
    Alphabet alphabet = Alphabet::Gsm7;
    int messageClass = -1; // -1: none given, 0 shows at once ("flash")
    Concat concat;
};

struct Submit
{
    QString smsc; // empty: the SIM's own
    int reference = 0;
    QString recipient;
    QString text;
    Alphabet alphabet = Alphabet::Gsm7;
    bool statusReportRequested = false;
    int validity = -1; // relative validity octet, -1 when absent
    int messageClass = -1;
    Concat concat;
};

struct StatusReport
{
    QString smsc;
    int reference = 0;
    QString recipient;
    QDateTime submitted;
    QDateTime discharged;
    int status = 0; // 0 delivered; 0x20.. still trying; 0x40.. failed for good
};

// The text's alphabet: the default one when every character has a 7-bit code.
Alphabet alphabetFor(const QString &text);
// Septets (7-bit, an extension character counts two) or UTF-16 units of the text.
int unitsOf(const QString &text, Alphabet alphabet);
// The text cut into parts that each fit one message, never between the two halves of an
// extension character or of a surrogate pair.
QStringList splitText(const QString &text, Alphabet alphabet);

// Each as "hex of SMSC + TPDU", the form +CMGL/+CMGR answer and +CMGS/+CMGW receive.
QByteArray encodeDeliver(const Deliver &d);
QByteArray encodeSubmit(const Submit &s);
QByteArray encodeStatusReport(const StatusReport &r);

// What arrived is untrusted: anything malformed is an error text, never a crash.
struct Decoded
{
    enum Type { Deliver, Submit, StatusReport } type = Deliver;
    realmodem::Deliver deliver;
    realmodem::Submit submit;
    realmodem::StatusReport report;
};
std::optional<Decoded> decode(const QByteArray &hex, QString *error = nullptr);
// The octets of the TPDU alone (without the SMSC), as +CMGS=<length> counts them; -1 when
// the text is not hexadecimal or the SMSC field overruns it.
int tpduLength(const QByteArray &hex);

// A whole message as the parts the network would bring.
QList<Deliver> deliverParts(const Deliver &whole, int reference);

} // namespace realmodem
