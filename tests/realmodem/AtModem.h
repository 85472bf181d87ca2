// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command interpreter of a GSM modem with a SIM, as a host sees it on its serial port:
// bytes in, bytes out, no I/O of its own. It keeps two message storages ("SM" on the SIM,
// "ME" in the modem) with capacities, works in PDU mode, and holds a SIM that may ask for
// its PIN. What the network does (an arrival, a status report) comes in through the
// receive calls, whose result is the unsolicited text to write to the host.
#include "Pdu.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

namespace realmodem {

class AtModem
{
public:
    enum class Lock { None, Pin, Puk };

    struct Stored
    {
        int status = 0; // +CMGL's <stat>: 0 unread, 1 read, 2 unsent, 3 sent
        QByteArray pdu; // hex, with the centre's address
    };
    struct Storage
    {
        int capacity = 0;
        QMap<int, Stored> messages; // by index
        bool full() const { return messages.size() >= capacity; }
    };

    AtModem();

    // Host to modem: every complete command line is answered; a partial line waits.
    QByteArray input(const QByteArray &bytes);

    // A message from the network, split into parts, each stored in the storage that
    // +CPMS chose for arrivals and announced with a +CMTI of its own (parts come over the
    // air one by one, so the caller writes these apart). Empty with *error set when the
    // storage has no room for it (the network keeps it, as a real one would).
    QList<QByteArray> receive(const Deliver &whole, QString *error);
    // A status report, routed straight to the host (+CDS) as +CNMI asked.
    QByteArray receiveReport(const StatusReport &report);

    // The SIM asks for its PIN (after the next reset of the host's view, i.e. when asked).
    void lockSim() { m_lock = Lock::Pin; }
    Lock lock() const { return m_lock; }
    int pinRetries() const { return m_pinRetries; }
    void setCapacity(const QString &storage, int capacity);
    const QMap<QString, Storage> &storages() const { return m_storages; }
    // Every message the host sent (+CMGS), decoded, in order.
    const QList<Submit> &sent() const { return m_sent; }

    static constexpr const char *kPin = "1234";
    static constexpr const char *kPuk = "12345678";

private:
    QByteArray command(const QByteArray &line);
    QByteArray extended(const QByteArray &cmd);
    QByteArray messaging(const QByteArray &name, const QByteArray &args);
    QByteArray simCommand(const QByteArray &name, const QByteArray &args);
    QByteArray pduEntered(const QByteArray &hex);
    QByteArray listMessages(int wanted);
    QByteArray readMessage(int index);
    QByteArray selectStorages(const QByteArray &args);
    int store(const QString &storage, const Stored &message);

    QMap<QString, Storage> m_storages;
    QString m_read = QStringLiteral("SM");    // mem1: read, list, delete
    QString m_write = QStringLiteral("SM");   // mem2: write, send from storage
    QString m_arrival = QStringLiteral("SM"); // mem3: where arrivals go
    QByteArray m_pending;                     // bytes of an unfinished line
    bool m_echo = false;
    bool m_pduMode = true;
    bool m_announce = true; // +CNMI mt=1: +CMTI after storing
    bool m_reportsRouted = true;
    Lock m_lock = Lock::None;
    int m_pinRetries = 3;
    int m_pukRetries = 10;
    int m_nextReference = 0;
    int m_copsFormat = 0;
    // While the host types a PDU after the "> " prompt: what to do with it.
    enum class Entry { None, Send, Write } m_entry = Entry::None;
    int m_entryLength = 0;
    int m_entryStatus = 2;
    QList<Submit> m_sent;
};

} // namespace realmodem
