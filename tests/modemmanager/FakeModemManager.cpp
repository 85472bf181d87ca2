// SPDX-License-Identifier: GPL-3.0-or-later
// GLib's headers use "signals" as a name, which Qt defines as a keyword: they come first.
#include <libmm-glib.h>

#include "FakeModemManager.h"

#include <QMutex>
#include <QMutexLocker>

#include <future>
#include <map>
#include <thread>

namespace {
const char *const kModemPath = "/org/freedesktop/ModemManager1/Modem/0";
const char *const kSimPath = "/org/freedesktop/ModemManager1/SIM/0";
}

struct FakeModemManager::Service
{
    GMainContext *context = g_main_context_new();
    GMainLoop *loop = g_main_loop_new(context, FALSE);
    std::thread thread;
    GDBusConnection *connection = nullptr;
    GDBusObjectManagerServer *manager = nullptr;
    MmGdbusObjectSkeleton *object = nullptr;
    MmGdbusModem *modem = nullptr;
    MmGdbusModemMessaging *messaging = nullptr;
    std::map<QString, MmGdbusSms *> sms; // exported messages by path
    QList<Sms> sentLog;
    int nextSms = 0;
    bool sendFails = false;
    bool storeFull = false;
    bool modemExported = false;

    ~Service()
    {
        for (auto &kv : sms) {
            g_dbus_interface_skeleton_unexport(G_DBUS_INTERFACE_SKELETON(kv.second));
            g_object_unref(kv.second);
        }
        g_clear_object(&messaging);
        g_clear_object(&modem);
        g_clear_object(&object);
        g_clear_object(&manager);
        if (connection)
            g_dbus_connection_close_sync(connection, nullptr, nullptr);
        g_clear_object(&connection);
        g_main_loop_unref(loop);
        g_main_context_unref(context);
    }

    Sms snapshot(MmGdbusSms *s) const
    {
        Sms out;
        out.path = QString::fromUtf8(g_dbus_interface_skeleton_get_object_path(G_DBUS_INTERFACE_SKELETON(s)));
        out.number = QString::fromUtf8(mm_gdbus_sms_get_number(s));
        out.text = QString::fromUtf8(mm_gdbus_sms_get_text(s));
        out.smsc = QString::fromUtf8(mm_gdbus_sms_get_smsc(s));
        out.state = mm_gdbus_sms_get_state(s);
        out.storage = mm_gdbus_sms_get_storage(s);
        out.pduType = mm_gdbus_sms_get_pdu_type(s);
        out.deliveryReport = mm_gdbus_sms_get_delivery_report_request(s);
        if (GVariant *v = mm_gdbus_sms_get_validity(s)) {
            guint type = 0;
            GVariant *value = nullptr;
            g_variant_get(v, "(uv)", &type, &value);
            if (value && g_variant_is_of_type(value, G_VARIANT_TYPE_UINT32))
                out.validityMinutes = g_variant_get_uint32(value);
            if (value)
                g_variant_unref(value);
        }
        return out;
    }

    MmGdbusSms *newSms(const char *number, const char *text, uint state, uint storage, uint pdu)
    {
        MmGdbusSms *s = mm_gdbus_sms_skeleton_new();
        mm_gdbus_sms_set_number(s, number);
        mm_gdbus_sms_set_text(s, text);
        mm_gdbus_sms_set_state(s, state);
        mm_gdbus_sms_set_storage(s, storage);
        mm_gdbus_sms_set_pdu_type(s, pdu);
        mm_gdbus_sms_set_class(s, -1);
        mm_gdbus_sms_set_timestamp(s, "2026-12-07T09:30:00+00:00");
        mm_gdbus_sms_set_validity(s, g_variant_new("(uv)", guint(0), g_variant_new_uint32(0)));
        const QByteArray path = QByteArray("/org/freedesktop/ModemManager1/SMS/") + QByteArray::number(nextSms++);
        g_signal_connect(s, "handle-send", G_CALLBACK(onSend), this);
        g_signal_connect(s, "handle-store", G_CALLBACK(onStore), this);
        g_dbus_interface_skeleton_export(G_DBUS_INTERFACE_SKELETON(s), connection, path.constData(), nullptr);
        sms[QString::fromLatin1(path)] = s;
        publishList();
        return s;
    }

    // ModemManager's list of messages is also a property, which clients list from.
    void publishList()
    {
        QList<QByteArray> paths;
        for (auto &kv : sms)
            paths << kv.first.toUtf8();
        std::vector<const char *> list;
        for (const QByteArray &p : paths)
            list.push_back(p.constData());
        list.push_back(nullptr);
        mm_gdbus_modem_messaging_set_messages(messaging, list.data());
        g_dbus_interface_skeleton_flush(G_DBUS_INTERFACE_SKELETON(messaging));
    }

    QString pathOf(MmGdbusSms *s) const
    {
        return QString::fromUtf8(g_dbus_interface_skeleton_get_object_path(G_DBUS_INTERFACE_SKELETON(s)));
    }

    static gboolean onList(MmGdbusModemMessaging *m, GDBusMethodInvocation *inv, Service *self)
    {
        QList<QByteArray> paths;
        for (auto &kv : self->sms)
            paths << kv.first.toUtf8();
        std::vector<const char *> list;
        for (const QByteArray &p : paths)
            list.push_back(p.constData());
        list.push_back(nullptr);
        mm_gdbus_modem_messaging_complete_list(m, inv, list.data());
        return TRUE;
    }

    static gboolean onCreate(MmGdbusModemMessaging *m, GDBusMethodInvocation *inv, GVariant *props, Service *self)
    {
        const char *number = nullptr;
        const char *text = nullptr;
        g_variant_lookup(props, "number", "&s", &number);
        g_variant_lookup(props, "text", "&s", &text);
        if (!number || !text) {
            g_dbus_method_invocation_return_error(inv, MM_CORE_ERROR, MM_CORE_ERROR_INVALID_ARGS, "number and text needed");
            return TRUE;
        }
        MmGdbusSms *s = self->newSms(number, text, MM_SMS_STATE_UNKNOWN, MM_SMS_STORAGE_UNKNOWN, MM_SMS_PDU_TYPE_SUBMIT);
        const char *smsc = nullptr;
        if (g_variant_lookup(props, "smsc", "&s", &smsc))
            mm_gdbus_sms_set_smsc(s, smsc);
        gboolean report = FALSE;
        if (g_variant_lookup(props, "delivery-report-request", "b", &report))
            mm_gdbus_sms_set_delivery_report_request(s, report);
        if (GVariant *validity = g_variant_lookup_value(props, "validity", G_VARIANT_TYPE("(uv)"))) {
            mm_gdbus_sms_set_validity(s, validity);
            g_variant_unref(validity);
        }
        const QByteArray path = self->pathOf(s).toUtf8();
        mm_gdbus_modem_messaging_emit_added(m, path.constData(), FALSE);
        mm_gdbus_modem_messaging_complete_create(m, inv, path.constData());
        return TRUE;
    }

    static gboolean onDelete(MmGdbusModemMessaging *m, GDBusMethodInvocation *inv, const char *path, Service *self)
    {
        auto it = self->sms.find(QString::fromUtf8(path));
        if (it == self->sms.end()) {
            g_dbus_method_invocation_return_error(inv, MM_CORE_ERROR, MM_CORE_ERROR_NOT_FOUND, "no such message");
            return TRUE;
        }
        g_dbus_interface_skeleton_unexport(G_DBUS_INTERFACE_SKELETON(it->second));
        g_object_unref(it->second);
        self->sms.erase(it);
        self->publishList();
        mm_gdbus_modem_messaging_emit_deleted(m, path);
        mm_gdbus_modem_messaging_complete_delete(m, inv);
        return TRUE;
    }

    static gboolean onSend(MmGdbusSms *s, GDBusMethodInvocation *inv, Service *self)
    {
        self->sentLog << self->snapshot(s);
        if (self->sendFails) {
            g_dbus_method_invocation_return_error(inv, MM_MESSAGE_ERROR, MM_MESSAGE_ERROR_NETWORK_TIMEOUT, "network timeout");
            return TRUE;
        }
        mm_gdbus_sms_set_state(s, MM_SMS_STATE_SENT);
        mm_gdbus_sms_complete_send(s, inv);
        return TRUE;
    }

    static gboolean onStore(MmGdbusSms *s, GDBusMethodInvocation *inv, guint storage, Service *self)
    {
        if (self->storeFull) {
            g_dbus_method_invocation_return_error(inv, MM_MESSAGE_ERROR, MM_MESSAGE_ERROR_MEMORY_FULL, "memory full");
            return TRUE;
        }
        mm_gdbus_sms_set_storage(s, storage);
        mm_gdbus_sms_set_state(s, MM_SMS_STATE_STORED);
        mm_gdbus_sms_complete_store(s, inv);
        return TRUE;
    }

    void exportModem(bool on)
    {
        if (on == modemExported)
            return;
        if (on)
            g_dbus_object_manager_server_export(manager, G_DBUS_OBJECT_SKELETON(object));
        else
            g_dbus_object_manager_server_unexport(manager, kModemPath);
        modemExported = on;
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
    if (s.connection) {
        s.manager = g_dbus_object_manager_server_new("/org/freedesktop/ModemManager1");
        s.object = mm_gdbus_object_skeleton_new(kModemPath);
        s.modem = mm_gdbus_modem_skeleton_new();
        mm_gdbus_modem_set_state(s.modem, MM_MODEM_STATE_REGISTERED);
        mm_gdbus_modem_set_power_state(s.modem, MM_MODEM_POWER_STATE_ON);
        mm_gdbus_modem_set_sim(s.modem, kSimPath);
        mm_gdbus_modem_set_unlock_required(s.modem, MM_MODEM_LOCK_NONE);
        mm_gdbus_object_skeleton_set_modem(s.object, s.modem);
        s.messaging = mm_gdbus_modem_messaging_skeleton_new();
        g_signal_connect(s.messaging, "handle-list", G_CALLBACK(Service::onList), &s);
        g_signal_connect(s.messaging, "handle-create", G_CALLBACK(Service::onCreate), &s);
        g_signal_connect(s.messaging, "handle-delete", G_CALLBACK(Service::onDelete), &s);
        mm_gdbus_object_skeleton_set_modem_messaging(s.object, s.messaging);
        s.exportModem(true);
        g_dbus_object_manager_server_set_connection(s.manager, s.connection);
        GVariant *owned = g_dbus_connection_call_sync(
            s.connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
            g_variant_new("(su)", "org.freedesktop.ModemManager1", 0u), G_VARIANT_TYPE("(u)"),
            G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, &error);
        if (owned)
            g_variant_unref(owned);
    }
    g_main_context_pop_thread_default(s.context);
    if (error) {
        m_error = QString::fromUtf8(error->message);
        g_error_free(error);
        return false;
    }
    s.thread = std::thread([&s] {
        g_main_context_push_thread_default(s.context);
        g_main_loop_run(s.loop);
        g_main_context_pop_thread_default(s.context);
    });
    return true;
}

QString FakeModemManager::receive(const QString &number, const QString &text, uint storage, int msgClass)
{
    QString path;
    onService([&](Service &s) {
        MmGdbusSms *sms = s.newSms(number.toUtf8().constData(), text.toUtf8().constData(), MM_SMS_STATE_RECEIVED,
                                   storage, MM_SMS_PDU_TYPE_DELIVER);
        mm_gdbus_sms_set_class(sms, msgClass);
        path = s.pathOf(sms);
        mm_gdbus_modem_messaging_emit_added(s.messaging, path.toUtf8().constData(), TRUE);
    });
    return path;
}

QString FakeModemManager::receivePartial(const QString &number, const QString &firstPart, uint storage)
{
    QString path;
    onService([&](Service &s) {
        MmGdbusSms *sms = s.newSms(number.toUtf8().constData(), firstPart.toUtf8().constData(),
                                   MM_SMS_STATE_RECEIVING, storage, MM_SMS_PDU_TYPE_DELIVER);
        path = s.pathOf(sms);
        mm_gdbus_modem_messaging_emit_added(s.messaging, path.toUtf8().constData(), TRUE);
    });
    return path;
}

void FakeModemManager::complete(const QString &path, const QString &wholeText)
{
    onService([&](Service &s) {
        auto it = s.sms.find(path);
        if (it == s.sms.end())
            return;
        mm_gdbus_sms_set_text(it->second, wholeText.toUtf8().constData());
        mm_gdbus_sms_set_state(it->second, MM_SMS_STATE_RECEIVED);
    });
}

QString FakeModemManager::receiveStatusReport(const QString &number, uint deliveryState)
{
    QString path;
    onService([&](Service &s) {
        MmGdbusSms *sms = s.newSms(number.toUtf8().constData(), "", MM_SMS_STATE_RECEIVED, MM_SMS_STORAGE_SM,
                                   MM_SMS_PDU_TYPE_STATUS_REPORT);
        mm_gdbus_sms_set_delivery_state(sms, deliveryState);
        path = s.pathOf(sms);
        mm_gdbus_modem_messaging_emit_added(s.messaging, path.toUtf8().constData(), TRUE);
    });
    return path;
}

QList<FakeModemManager::Sms> FakeModemManager::stored() const
{
    QList<Sms> out;
    onService([&](Service &s) {
        for (auto &kv : s.sms) {
            if (mm_gdbus_sms_get_storage(kv.second) != MM_SMS_STORAGE_UNKNOWN)
                out << s.snapshot(kv.second);
        }
    });
    return out;
}

QList<FakeModemManager::Sms> FakeModemManager::sent() const
{
    QList<Sms> out;
    onService([&](Service &s) { out = s.sentLog; });
    return out;
}

void FakeModemManager::setSendFails(bool fails)
{
    onService([&](Service &s) { s.sendFails = fails; });
}

void FakeModemManager::setStoreFull(bool full)
{
    onService([&](Service &s) { s.storeFull = full; });
}

void FakeModemManager::setModemPresent(bool present)
{
    onService([&](Service &s) { s.exportModem(present); });
}

void FakeModemManager::setSimPresent(bool present)
{
    onService([&](Service &s) {
        mm_gdbus_modem_set_sim(s.modem, present ? kSimPath : "/");
        mm_gdbus_modem_set_state_failed_reason(s.modem, present ? MM_MODEM_STATE_FAILED_REASON_NONE
                                                                : MM_MODEM_STATE_FAILED_REASON_SIM_MISSING);
        mm_gdbus_modem_set_state(s.modem, present ? MM_MODEM_STATE_REGISTERED : MM_MODEM_STATE_FAILED);
    });
}

void FakeModemManager::setPowerLow(bool low)
{
    onService([&](Service &s) {
        mm_gdbus_modem_set_power_state(s.modem, low ? MM_MODEM_POWER_STATE_LOW : MM_MODEM_POWER_STATE_ON);
        mm_gdbus_modem_set_state(s.modem, low ? MM_MODEM_STATE_DISABLED : MM_MODEM_STATE_REGISTERED);
    });
}
