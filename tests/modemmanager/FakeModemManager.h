// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A stand-in ModemManager for tests: its own dbus-daemon (never the machine's system bus),
// and on it the object tree of its modems with their SIM and Messaging, served on a GLib
// thread of its own with the D-Bus skeletons libmm-glib ships. It behaves as the real
// service does where clients notice: every modem and message gets a new object number
// when the modem comes back or the service restarts (numbers are never reused), the
// message list is dropped on disable and read again on enable (announced with Added and
// no Deleted), Messaging is gone while the SIM is locked or missing, time stamps are
// written the way the service writes them, and a send may take its time.
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
    // Owns ModemManager's name and exports the first modem, enabled and registered.
    bool startService();
    // Plugs in one more modem (enabled and registered, its own identifiers); its index.
    int addModem();
    // The modem the calls below act on (0: the first; the last one added past the end).
    void actOn(int modem);
    // That modem's device identifier (what the SDK knows it by).
    QString deviceIdentifier() const;
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
        bool smscGiven = false;
    };

    // Traffic from the network. storage: 0 "unknown", 1 "sm", 2 "me". Returns the path.
    static constexpr const char *kStamp = "2026-12-07T09:30:00+01";
    QString receive(const QString &number, const QString &text, uint storage = 1, int msgClass = -1,
                    const QString &timestamp = QString::fromLatin1(kStamp));
    // A message whose parts are still missing; complete() finishes it.
    QString receivePartial(const QString &number, const QString &firstPart, uint storage = 1);
    void complete(const QString &path, const QString &wholeText);
    QString receiveStatusReport(const QString &number, uint deliveryState);
    // What the modem's storages hold now (while enabled), and every message it was asked to send.
    QList<Sms> stored() const;
    QList<Sms> sent() const;
    QString modemPath() const;
    // Off: messages arrive in the storages without Added, as those that were there before
    // any client looked.
    void setAnnounceArrivals(bool on);

    void setSendFails(bool fails);
    void setSendDelayMs(int ms);
    void setStoreFull(bool full);
    // Unplugged and plugged back: the modem returns under a new number.
    void setModemPresent(bool present);
    // The service stops and starts again: everything is renumbered.
    void restartService();
    void setEnabled(bool enabled);
    bool enabled() const;
    void setSimPresent(bool present);
    // MM_MODEM_LOCK_NONE, _SIM_PIN or _SIM_PUK. The PIN is 1234, the PUK 12345678.
    void setSimLock(uint lock, uint pinRetries = 3, uint pukRetries = 10);
    uint simLock() const;
    void setPowerLow(bool low);
    // Each SIM answers a PIN or PUK that late (the D-Bus call stays open meanwhile).
    void setUnlockDelayMs(int ms);
    // How many PINs and PUKs the SIMs were sent in all.
    int unlockCalls() const;
    // Every call that changes something is refused as not authorised (no polkit grant).
    void setRefuseAuthorization(bool refuse);

private:
    struct Service;
    void onService(const std::function<void(Service &)> &work) const;
    bool ownName(Service &s);

    QProcess m_bus;
    QString m_address;
    QString m_error;
    std::unique_ptr<Service> m_service;
};
