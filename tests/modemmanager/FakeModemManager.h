// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A stand-in ModemManager for tests: its own dbus-daemon (never the machine's system bus),
// and on it the ModemManager object tree of one modem with Messaging, served on a GLib
// thread of its own with the D-Bus skeletons libmm-glib ships. The SDK under test reaches
// it through DBUS_SYSTEM_BUS_ADDRESS as it would reach the real service.
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class FakeModemManager
{
public:
    FakeModemManager();
    ~FakeModemManager();

    // Starts the private bus; false (with the reason in error()) when dbus-daemon is missing.
    bool startBus();
    QString busAddress() const { return m_address; }
    // Owns ModemManager's name and exports modem 0.
    bool startService();
    QString error() const { return m_error; }

    struct Sms
    {
        QString path;
        QString number;
        QString text;
        QString smsc;
        uint state = 0;
        uint storage = 0;
        uint pduType = 0;
        uint validityMinutes = 0;
        bool deliveryReport = false;
    };

    // Traffic from the network. storage: 1 "sm", 2 "me". Returns the message's path.
    QString receive(const QString &number, const QString &text, uint storage = 1, int msgClass = -1);
    // A message whose parts are still missing; complete() finishes it.
    QString receivePartial(const QString &number, const QString &firstPart, uint storage = 1);
    void complete(const QString &path, const QString &wholeText);
    QString receiveStatusReport(const QString &number, uint deliveryState);
    // What the modem holds now, and every message it was asked to send.
    QList<Sms> stored() const;
    QList<Sms> sent() const;

    void setSendFails(bool fails);
    void setStoreFull(bool full);
    void setModemPresent(bool present);
    void setSimPresent(bool present);
    void setPowerLow(bool low);

private:
    struct Service;
    void onService(const std::function<void(Service &)> &work) const;

    QProcess m_bus;
    QString m_address;
    QString m_error;
    std::unique_ptr<Service> m_service;
};
