// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a test needs of the set-up that with-daemon.sh made: ModemManager started and
// restarted in the foreground, the virtual modem's control socket, and mmcli for what a
// user would do from outside the application (enable, disable, enter a PIN).
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QString>
#include <QStringList>

class RealDaemon
{
public:
    // Empty when the set-up is there; otherwise why not (the test skips with it).
    static QString missing()
    {
        for (const char *name : {"REALMODEM_DAEMON", "REALMODEM_CONTROL", "REALMODEM_WORK", "DBUS_SYSTEM_BUS_ADDRESS"})
            if (qEnvironmentVariableIsEmpty(name))
                return QStringLiteral("%1 is not set: run this under tests/realmodem/with-daemon.sh").arg(QLatin1String(name));
        return {};
    }

    ~RealDaemon() { stop(); }

    bool start()
    {
        const QStringList cmd = qEnvironmentVariable("REALMODEM_DAEMON").split(QLatin1Char(' '));
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(cmd.first(), cmd.mid(1));
        return m_process.waitForStarted(5000);
    }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
    bool running() const { return m_process.state() == QProcess::Running; }

    // mmcli against the private bus; its output, or an empty text with the error in *error.
    static QByteArray mmcli(const QStringList &args, QString *error = nullptr)
    {
        QProcess p;
        p.start(QStringLiteral("mmcli"), args);
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            if (error)
                *error = QString::fromUtf8(p.readAllStandardError());
            return {};
        }
        return p.readAllStandardOutput();
    }

    static QString logPath() { return qEnvironmentVariable("REALMODEM_WORK") + QStringLiteral("/modemmanager.log"); }

private:
    QProcess m_process;
};

// The virtual modem's control socket: the network side of the modem.
class ModemControl
{
public:
    QByteArray ask(const QByteArray &line)
    {
        QLocalSocket s;
        s.connectToServer(qEnvironmentVariable("REALMODEM_CONTROL"));
        if (!s.waitForConnected(5000))
            return "error " + s.errorString().toUtf8();
        s.write(line + '\n');
        while (!s.canReadLine())
            if (!s.waitForReadyRead(5000))
                return "error no answer";
        return s.readLine().trimmed();
    }
    QByteArray deliver(const QString &number, const QString &text, const QByteArray &options = {})
    {
        QByteArray line = "deliver " + number.toUtf8() + ' ' + text.toUtf8().toHex();
        if (!options.isEmpty())
            line += ' ' + options;
        return ask(line);
    }
    QJsonArray sent() { return QJsonDocument::fromJson(ask("sent")).array(); }
    QJsonArray stored(const QByteArray &storage) { return QJsonDocument::fromJson(ask("stored " + storage)).array(); }
    QJsonObject sim() { return QJsonDocument::fromJson(ask("sim")).object(); }
};
