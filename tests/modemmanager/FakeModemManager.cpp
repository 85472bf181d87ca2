// SPDX-License-Identifier: GPL-3.0-or-later
// GLib's headers use "signals" as a name, which Qt defines as a keyword: they come first.
#include "FakeModem.h"

#include <algorithm>
#include <future>

struct FakeModemManager::Service : Shared
{
    // By the order they were added; unique_ptr: the GLib signal handlers hold their address.
    std::vector<std::unique_ptr<Modem>> modems;
    int target = 0; // the modem the test acts on

    Modem &cur() { return *modems[size_t(target)]; }
    Modem &add()
    {
        modems.push_back(std::make_unique<Modem>(this, int(modems.size())));
        modems.back()->plug(true);
        return *modems.back();
    }

    ~Service()
    {
        modems.clear();
        g_clear_object(&manager);
        if (connection)
            g_dbus_connection_close_sync(connection, nullptr, nullptr);
        g_clear_object(&connection);
        g_main_loop_unref(loop);
        g_main_context_unref(context);
    }
};

FakeModemManager::FakeModemManager() = default;

FakeModemManager::~FakeModemManager()
{
    if (m_service) {
        g_main_loop_quit(m_service->loop);
        m_service->thread.join();
        m_service.reset();
    }
    if (m_bus.state() != QProcess::NotRunning) {
        m_bus.terminate();
        m_bus.waitForFinished(5000);
    }
}

bool FakeModemManager::startBus()
{
    m_bus.setProgram(QStringLiteral("dbus-daemon"));
    m_bus.setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                        QStringLiteral("--print-address=1"), QStringLiteral("--address=unix:tmpdir=/tmp")});
    m_bus.start();
    if (!m_bus.waitForStarted(5000)) {
        m_error = QStringLiteral("dbus-daemon could not be started (Debian package dbus)");
        return false;
    }
    while (!m_bus.canReadLine() && m_bus.waitForReadyRead(5000)) {
    }
    m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
    if (m_address.isEmpty())
        m_error = QStringLiteral("dbus-daemon printed no address");
    return !m_address.isEmpty();
}

void FakeModemManager::onService(const std::function<void(Service &)> &work) const
{
    std::promise<void> done;
    struct Call
    {
        const std::function<void(Service &)> *work;
        Service *service;
        std::promise<void> *done;
    } call{&work, m_service.get(), &done};
    g_main_context_invoke(m_service->context, [](gpointer data) -> gboolean {
        auto *c = static_cast<Call *>(data);
        (*c->work)(*c->service);
        c->done->set_value();
        return G_SOURCE_REMOVE;
    }, &call);
    done.get_future().wait();
}

bool FakeModemManager::ownName(Service &s)
{
    GError *error = nullptr;
    GVariant *owned = g_dbus_connection_call_sync(
        s.connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
        g_variant_new("(su)", "org.freedesktop.ModemManager1", 0u), G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE,
        5000, nullptr, &error);
    if (owned)
        g_variant_unref(owned);
    if (error) {
        m_error = QString::fromUtf8(error->message);
        g_error_free(error);
        return false;
    }
    return true;
}

bool FakeModemManager::startService()
{
    m_service = std::make_unique<Service>();
    Service &s = *m_service;
    GError *error = nullptr;
    g_main_context_push_thread_default(s.context);
    s.connection = g_dbus_connection_new_for_address_sync(
        m_address.toUtf8().constData(),
        GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &error);
    bool ok = s.connection != nullptr;
    if (ok) {
        s.manager = g_dbus_object_manager_server_new("/org/freedesktop/ModemManager1");
        g_dbus_object_manager_server_set_connection(s.manager, s.connection);
        s.add();
        ok = ownName(s);
    } else {
        m_error = QString::fromUtf8(error->message);
        g_error_free(error);
    }
    g_main_context_pop_thread_default(s.context);
    if (!ok)
        return false;
    s.thread = std::thread([&s] {
        g_main_context_push_thread_default(s.context);
        g_main_loop_run(s.loop);
        g_main_context_pop_thread_default(s.context);
    });
    return true;
}

void FakeModemManager::restartService()
{
    onService([this](Service &s) {
        GVariant *released = g_dbus_connection_call_sync(
            s.connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ReleaseName",
            g_variant_new("(s)", "org.freedesktop.ModemManager1"), G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE,
            5000, nullptr, nullptr);
        if (released)
            g_variant_unref(released);
        for (auto &m : s.modems)
            m->plug(false);
        // A new process knows nothing of the old one's numbers and starts past them all
        // the same: the service never hands out an object path twice.
        for (auto &m : s.modems)
            m->plug(true);
        ownName(s);
    });
}

QString FakeModemManager::receive(const QString &number, const QString &text, uint storage, int msgClass,
                                  const QString &timestamp)
{
    QString path;
    onService([&](Service &s) {
        MmGdbusSms *sms = s.cur().newSms(number.toUtf8().constData(), text.toUtf8().constData(), MM_SMS_STATE_RECEIVED,
                                   storage, MM_SMS_PDU_TYPE_DELIVER);
        mm_gdbus_sms_set_class(sms, msgClass);
        mm_gdbus_sms_set_timestamp(sms, timestamp.toUtf8().constData());
        path = Modem::pathOf(sms);
        if (s.announce)
            mm_gdbus_modem_messaging_emit_added(s.cur().messaging, path.toUtf8().constData(), TRUE);
    });
    return path;
}

QString FakeModemManager::receivePartial(const QString &number, const QString &firstPart, uint storage)
{
    QString path;
    onService([&](Service &s) {
        MmGdbusSms *sms = s.cur().newSms(number.toUtf8().constData(), firstPart.toUtf8().constData(),
                                   MM_SMS_STATE_RECEIVING, storage, MM_SMS_PDU_TYPE_DELIVER);
        path = Modem::pathOf(sms);
        if (s.announce)
            mm_gdbus_modem_messaging_emit_added(s.cur().messaging, path.toUtf8().constData(), TRUE);
    });
    return path;
}

void FakeModemManager::complete(const QString &path, const QString &wholeText)
{
    onService([&](Service &s) {
        auto it = s.cur().sms.find(path);
        if (it == s.cur().sms.end())
            return;
        mm_gdbus_sms_set_text(it->second, wholeText.toUtf8().constData());
        mm_gdbus_sms_set_state(it->second, MM_SMS_STATE_RECEIVED);
    });
}

QString FakeModemManager::receiveStatusReport(const QString &number, uint deliveryState)
{
    QString path;
    onService([&](Service &s) {
        MmGdbusSms *sms = s.cur().newSms(number.toUtf8().constData(), "", MM_SMS_STATE_RECEIVED, MM_SMS_STORAGE_SM,
                                   MM_SMS_PDU_TYPE_STATUS_REPORT);
        mm_gdbus_sms_set_delivery_state(sms, deliveryState);
        path = Modem::pathOf(sms);
        if (s.announce)
            mm_gdbus_modem_messaging_emit_added(s.cur().messaging, path.toUtf8().constData(), TRUE);
    });
    return path;
}

QList<FakeModemManager::Sms> FakeModemManager::stored() const
{
    QList<Sms> out;
    onService([&](Service &s) {
        for (auto &kv : s.cur().sms) {
            if (mm_gdbus_sms_get_storage(kv.second) != MM_SMS_STORAGE_UNKNOWN
                || mm_gdbus_sms_get_state(kv.second) == MM_SMS_STATE_RECEIVED)
                out << s.cur().snapshot(kv.second);
        }
        for (MmGdbusSms *sms : s.cur().shelved)
            out << s.cur().snapshot(sms);
    });
    return out;
}

QList<FakeModemManager::Sms> FakeModemManager::sent() const
{
    QList<Sms> out;
    onService([&](Service &s) { out = s.sentLog; });
    return out;
}

QString FakeModemManager::modemPath() const
{
    QString out;
    onService([&](Service &s) { out = s.cur().present ? QString::fromLatin1(s.cur().modemPath) : QString(); });
    return out;
}

void FakeModemManager::setAnnounceArrivals(bool on)
{
    onService([&](Service &s) { s.announce = on; });
}

void FakeModemManager::setSendFails(bool fails)
{
    onService([&](Service &s) { s.sendFails = fails; });
}

void FakeModemManager::setSendDelayMs(int ms)
{
    onService([&](Service &s) { s.sendDelayMs = ms; });
}

void FakeModemManager::setStoreFull(bool full)
{
    onService([&](Service &s) { s.storeFull = full; });
}

void FakeModemManager::setModemPresent(bool present)
{
    onService([&](Service &s) { s.cur().plug(present); });
}

void FakeModemManager::setEnabled(bool enabled)
{
    onService([&](Service &s) {
        s.cur().enabled = enabled;
        s.cur().update();
    });
}

bool FakeModemManager::enabled() const
{
    bool out = false;
    onService([&](Service &s) { out = s.cur().enabled; });
    return out;
}

void FakeModemManager::setSimPresent(bool present)
{
    onService([&](Service &s) {
        s.cur().simPresent = present;
        s.cur().update();
    });
}

void FakeModemManager::setSimLock(uint lock, uint pinRetries, uint pukRetries)
{
    onService([&](Service &s) {
        s.cur().lock = lock;
        s.cur().pinRetries = pinRetries;
        s.cur().pukRetries = pukRetries;
        s.cur().update();
    });
}

uint FakeModemManager::simLock() const
{
    uint out = 0;
    onService([&](Service &s) { out = s.cur().lock; });
    return out;
}

void FakeModemManager::setPowerLow(bool low)
{
    onService([&](Service &s) {
        s.cur().powerLow = low;
        s.cur().update();
    });
}

void FakeModemManager::setRefuseAuthorization(bool refuse)
{
    onService([&](Service &s) { s.refuse = refuse; });
}

int FakeModemManager::addModem()
{
    int index = 0;
    onService([&](Service &s) {
        g_main_context_push_thread_default(s.context);
        index = s.add().index;
        g_main_context_pop_thread_default(s.context);
    });
    return index;
}

void FakeModemManager::actOn(int modem)
{
    onService([&](Service &s) { s.target = std::clamp(modem, 0, int(s.modems.size()) - 1); });
}

QString FakeModemManager::deviceIdentifier() const
{
    QString out;
    onService([&](Service &s) { out = QString::fromLatin1(s.cur().deviceIdentifier()); });
    return out;
}

void FakeModemManager::setUnlockDelayMs(int ms)
{
    onService([&](Service &s) { s.unlockDelayMs = ms; });
}

int FakeModemManager::unlockCalls() const
{
    int out = 0;
    onService([&](Service &s) { out = s.unlockCalls; });
    return out;
}
