// SPDX-License-Identifier: GPL-3.0-or-later
// A virtual GSM modem on a pseudo-terminal, for tests that need a real modem stack to talk
// to one. The host side opens the terminal whose path is written to --pty-file; a test
// plays the network through the Unix socket --control, one command a line, one answer a
// line ("ok", "error <why>" or a JSON value):
//   deliver <number> <text as UTF-8 hex> [class=<0-3>] [time=<ISO 8601>]
//   report <reference> <number> <status>
//   capacity <SM|ME> <n>      lock      sent      stored <SM|ME>      sim
//   network <ms> [refuse]     the network answers each send after ms, or refuses it
#include "AtModem.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace realmodem;

namespace {

QJsonObject toJson(const Submit &s)
{
    return {{QStringLiteral("recipient"), s.recipient},
            {QStringLiteral("text"), s.text},
            {QStringLiteral("smsc"), s.smsc},
            {QStringLiteral("reference"), s.reference},
            {QStringLiteral("statusReport"), s.statusReportRequested},
            {QStringLiteral("validity"), s.validity},
            {QStringLiteral("part"), s.concat.sequence},
            {QStringLiteral("parts"), s.concat.total}};
}

QJsonObject toJson(int index, const AtModem::Stored &m)
{
    QJsonObject o{{QStringLiteral("index"), index}, {QStringLiteral("status"), m.status}};
    const auto d = decode(m.pdu);
    if (d && d->type == Decoded::Deliver) {
        o.insert(QStringLiteral("number"), d->deliver.sender);
        o.insert(QStringLiteral("text"), d->deliver.text);
    } else if (d && d->type == Decoded::Submit) {
        o.insert(QStringLiteral("number"), d->submit.recipient);
        o.insert(QStringLiteral("text"), d->submit.text);
    }
    return o;
}

QByteArray json(const QJsonValue &v)
{
    return v.isArray() ? QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact)
                       : QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact);
}

class Simulator
{
public:
    Simulator(int master, QFile *log) : m_master(master), m_log(log)
    {
        auto *notifier = new QSocketNotifier(master, QSocketNotifier::Read, &m_server);
        QObject::connect(notifier, &QSocketNotifier::activated, &m_server, [this] { readHost(); });
        QObject::connect(&m_server, &QLocalServer::newConnection, &m_server, [this] { accept(); });
        // A host reads one unsolicited line of a kind per chunk it receives; written together,
        // the second +CMTI of a burst would go unseen. Over the air parts come apart anyway.
        m_pace.setInterval(250);
        QObject::connect(&m_pace, &QTimer::timeout, &m_server, [this] {
            if (m_unsolicited.isEmpty())
                m_pace.stop();
            else
                toHost(m_unsolicited.takeFirst());
        });
    }
    bool listen(const QString &path)
    {
        QLocalServer::removeServer(path);
        return m_server.listen(path);
    }

private:
    void later(const QList<QByteArray> &messages)
    {
        m_unsolicited << messages;
        if (!m_pace.isActive()) {
            toHost(m_unsolicited.takeFirst());
            m_pace.start();
        }
    }

    void readHost()
    {
        char buf[4096];
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        // EIO: nobody has the terminal open right now; it comes back when the host reopens.
        if (n <= 0)
            return;
        const QByteArray in(buf, int(n));
        log("<- ", in);
        const QByteArray out = m_modem.input(in);
        if (m_networkMs <= 0 || !out.contains("+CMGS:")) {
            toHost(out);
            return;
        }
        // The modem answers a send only when the network has; a refusal is the network's
        // own error (332: network time-out).
        const QByteArray answer = m_networkRefuses ? QByteArray("\r\n+CMS ERROR: 332\r\n") : out;
        QTimer::singleShot(m_networkMs, &m_server, [this, answer] { toHost(answer); });
    }

    void toHost(const QByteArray &out)
    {
        if (out.isEmpty())
            return;
        log("-> ", out);
        qsizetype done = 0;
        while (done < out.size()) {
            const ssize_t n = ::write(m_master, out.constData() + done, size_t(out.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return;
            done += n;
        }
    }

    void log(const char *dir, QByteArray bytes)
    {
        if (!m_log)
            return;
        bytes.replace("\r", "\\r").replace("\n", "\\n").replace('\x1a', "^Z");
        m_log->write(dir + bytes + '\n');
        m_log->flush();
    }

    void accept()
    {
        while (QLocalSocket *s = m_server.nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::readyRead, s, [this, s] {
                while (s->canReadLine())
                    s->write(control(s->readLine().trimmed()) + '\n');
            });
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    }

    QByteArray control(const QByteArray &line)
    {
        log("ctl ", line);
        const QList<QByteArray> w = line.split(' ');
        const QByteArray verb = w.value(0);
        if (verb == "deliver" && w.size() >= 3) {
            Deliver d;
            d.smsc = QStringLiteral("+15550000");
            d.sender = QString::fromUtf8(w.at(1));
            d.text = QString::fromUtf8(QByteArray::fromHex(w.at(2)));
            d.alphabet = alphabetFor(d.text);
            d.time = QDateTime::currentDateTimeUtc().toOffsetFromUtc(3600);
            for (const QByteArray &opt : w.mid(3)) {
                if (opt.startsWith("class="))
                    d.messageClass = opt.mid(6).toInt();
                else if (opt.startsWith("time="))
                    d.time = QDateTime::fromString(QString::fromLatin1(opt.mid(5)), Qt::ISODate);
            }
            QString why;
            const QList<QByteArray> out = m_modem.receive(d, &why);
            if (!why.isEmpty())
                return "error " + why.toUtf8();
            later(out);
            return "ok";
        }
        if (verb == "report" && w.size() == 4) {
            StatusReport r;
            r.reference = w.at(1).toInt();
            r.recipient = QString::fromUtf8(w.at(2));
            r.status = w.at(3).toInt();
            r.submitted = r.discharged = QDateTime::currentDateTimeUtc();
            later({m_modem.receiveReport(r)});
            return "ok";
        }
        if (verb == "capacity" && w.size() == 3 && m_modem.storages().contains(QString::fromLatin1(w.at(1)))) {
            m_modem.setCapacity(QString::fromLatin1(w.at(1)), w.at(2).toInt());
            return "ok";
        }
        if (verb == "network" && w.size() >= 2) {
            m_networkMs = w.at(1).toInt();
            m_networkRefuses = w.value(2) == "refuse";
            return "ok";
        }
        if (verb == "lock") {
            m_modem.lockSim();
            return "ok";
        }
        if (verb == "sent") {
            QJsonArray a;
            for (const Submit &s : m_modem.sent())
                a.append(toJson(s));
            return json(a);
        }
        if (verb == "stored" && w.size() == 2 && m_modem.storages().contains(QString::fromLatin1(w.at(1)))) {
            QJsonArray a;
            const auto &messages = m_modem.storages().value(QString::fromLatin1(w.at(1))).messages;
            for (auto it = messages.begin(); it != messages.end(); ++it)
                a.append(toJson(it.key(), *it));
            return json(a);
        }
        if (verb == "sim") {
            static const char *const locks[] = {"none", "pin", "puk"};
            return json(QJsonObject{{QStringLiteral("lock"), QLatin1String(locks[int(m_modem.lock())])},
                                    {QStringLiteral("pinRetries"), m_modem.pinRetries()}});
        }
        return "error unknown command";
    }

    int m_master;
    QFile *m_log;
    AtModem m_modem;
    QLocalServer m_server;
    QTimer m_pace;
    QList<QByteArray> m_unsolicited;
    int m_networkMs = 0;
    bool m_networkRefuses = false;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A virtual GSM modem on a pseudo-terminal"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("pty-file"), QStringLiteral("Write the terminal's path here."), QStringLiteral("file")});
    parser.addOption({QStringLiteral("control"), QStringLiteral("Control socket to listen on."), QStringLiteral("path")});
    parser.addOption({QStringLiteral("log"), QStringLiteral("Log the AT exchange here."), QStringLiteral("file")});
    parser.process(app);
    if (!parser.isSet(QStringLiteral("pty-file")) || !parser.isSet(QStringLiteral("control"))) {
        std::fprintf(stderr, "--pty-file and --control are required\n");
        return 2;
    }

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        std::perror("pseudo-terminal");
        return 1;
    }
    const QByteArray slaveName = ::ptsname(master);
    // Holding the other end open keeps the terminal alive between the host's opens, so
    // reads never see a hang-up; raw, so nothing is echoed or translated on the way.
    const int slave = ::open(slaveName.constData(), O_RDWR | O_NOCTTY);
    termios raw{};
    if (slave < 0 || ::tcgetattr(slave, &raw) != 0) {
        std::perror("pseudo-terminal");
        return 1;
    }
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);

    std::unique_ptr<QFile> log;
    if (parser.isSet(QStringLiteral("log"))) {
        log = std::make_unique<QFile>(parser.value(QStringLiteral("log")));
        if (!log->open(QIODevice::WriteOnly | QIODevice::Append))
            log.reset();
    }
    Simulator sim(master, log.get());
    if (!sim.listen(parser.value(QStringLiteral("control")))) {
        std::fprintf(stderr, "cannot listen on %s\n", qPrintable(parser.value(QStringLiteral("control"))));
        return 1;
    }
    // Written last: whoever waits for this file may use both the terminal and the socket.
    QFile ptyFile(parser.value(QStringLiteral("pty-file")));
    if (!ptyFile.open(QIODevice::WriteOnly) || ptyFile.write(slaveName + '\n') < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(ptyFile.fileName()));
        return 1;
    }
    ptyFile.close();
    return app.exec();
}
