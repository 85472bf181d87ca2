// SPDX-License-Identifier: GPL-3.0-or-later
// GLib's headers use "signals" as a name, which Qt defines as a keyword: they come first.
#include <libmm-glib.h>

#include "FakeModemManager.h"

#include <algorithm>
#include <future>
#include <map>
#include <thread>
#include <vector>

namespace {
const char *const kPin = "1234";
const char *const kPuk = "12345678";

QByteArray numbered(const char *kind, int &counter)
{
    return QByteArray("/org/freedesktop/ModemManager1/") + kind + '/' + QByteArray::number(counter++);
}
}

struct FakeModemManager::Service
{
    GMainContext *context = g_main_context_new();
    GMainLoop *loop = g_main_loop_new(context, FALSE);
    std::thread thread;
    GDBusConnection *connection = nullptr;
    GDBusObjectManagerServer *manager = nullptr;
    // The modem as now exported; rebuilt under new numbers when it comes back.
    MmGdbusObjectSkeleton *object = nullptr;
    MmGdbusModem *modem = nullptr;
    MmGdbusModemMessaging *messaging = nullptr;
    MmGdbusSim *sim = nullptr;
    QByteArray modemPath;
    QByteArray simPath;
    std::map<QString, MmGdbusSms *> sms; // messages in the current list, by path
    std::vector<MmGdbusSms *> shelved;   // in the storages, not listed (disabled or away)
    QList<Sms> sentLog;
    int modemNumber = 0;
    int simNumber = 0;
    int smsNumber = 0;
    bool announce = true;
    bool sendFails = false;
    int sendDelayMs = 0;
    bool storeFull = false;
    bool present = false;
    bool enabled = true;
    bool simPresent = true;
    bool powerLow = false;
    bool refuse = false;
    uint lock = MM_MODEM_LOCK_NONE;
    uint pinRetries = 3;
    uint pukRetries = 10;

    ~Service()
    {
        shelve();
        for (MmGdbusSms *s : shelved)
            g_object_unref(s);
        dropModem();
        g_clear_object(&manager);
        if (connection)
            g_dbus_connection_close_sync(connection, nullptr, nullptr);
        g_clear_object(&connection);
        g_main_loop_unref(loop);
        g_main_context_unref(context);
    }

    bool refused(GDBusMethodInvocation *inv)
    {
        if (refuse)
            g_dbus_method_invocation_return_error(inv, MM_CORE_ERROR, MM_CORE_ERROR_UNAUTHORIZED, "Not authorized");
        return refuse;
    }

    Sms snapshot(MmGdbusSms *s) const
    {
        Sms out;
        out.path = pathOf(s);
        out.number = QString::fromUtf8(mm_gdbus_sms_get_number(s));
        out.text = QString::fromUtf8(mm_gdbus_sms_get_text(s));
        out.smsc = QString::fromUtf8(mm_gdbus_sms_get_smsc(s));
        out.smscGiven = mm_gdbus_sms_get_smsc(s) != nullptr;
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

    void exportSms(MmGdbusSms *s)
    {
        const QByteArray path = numbered("SMS", smsNumber);
        g_dbus_interface_skeleton_export(G_DBUS_INTERFACE_SKELETON(s), connection, path.constData(), nullptr);
        sms[QString::fromLatin1(path)] = s;
        publishList();
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
        mm_gdbus_sms_set_timestamp(s, FakeModemManager::kStamp);
        mm_gdbus_sms_set_validity(s, g_variant_new("(uv)", guint(0), g_variant_new_uint32(0)));
        g_signal_connect(s, "handle-send", G_CALLBACK(onSend), this);
        g_signal_connect(s, "handle-store", G_CALLBACK(onStore), this);
        exportSms(s);
        return s;
    }

    // The service's list of messages is also a property, which clients list from.
    void publishList()
    {
        if (!messaging)
            return;
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

    static QString pathOf(MmGdbusSms *s)
    {
        return QString::fromUtf8(g_dbus_interface_skeleton_get_object_path(G_DBUS_INTERFACE_SKELETON(s)));
    }

    // Disabling (or losing the modem) drops the list: the storages keep their messages,
    // drafts and sent messages that were never stored are forgotten.
    void shelve()
    {
        for (auto &kv : sms) {
            g_dbus_interface_skeleton_unexport(G_DBUS_INTERFACE_SKELETON(kv.second));
            if (mm_gdbus_sms_get_storage(kv.second) != MM_SMS_STORAGE_UNKNOWN)
                shelved.push_back(kv.second);
            else
                g_object_unref(kv.second);
        }
        sms.clear();
        publishList();
    }

    // Enabling reads the storages again: every message under a new path, each announced.
    void readStorages()
    {
        std::vector<MmGdbusSms *> again;
        again.swap(shelved);
        for (MmGdbusSms *s : again) {
            exportSms(s);
            const uint st = mm_gdbus_sms_get_state(s);
            mm_gdbus_modem_messaging_emit_added(messaging, pathOf(s).toUtf8().constData(),
                                                st == MM_SMS_STATE_RECEIVED || st == MM_SMS_STATE_RECEIVING);
        }
    }

    bool listing() const { return present && messaging && enabled && !powerLow; }

    // The modem's state, lock and interfaces from what the test set.
    void update()
    {
        if (!modem)
            return;
        const bool usable = simPresent && lock == MM_MODEM_LOCK_NONE;
        const bool wasListing = listing();
        if (usable && !messaging) {
            messaging = mm_gdbus_modem_messaging_skeleton_new();
            g_signal_connect(messaging, "handle-list", G_CALLBACK(onList), this);
            g_signal_connect(messaging, "handle-create", G_CALLBACK(onCreate), this);
            g_signal_connect(messaging, "handle-delete", G_CALLBACK(onDelete), this);
            GVariantBuilder storages;
            g_variant_builder_init(&storages, G_VARIANT_TYPE("au"));
            g_variant_builder_add(&storages, "u", guint(MM_SMS_STORAGE_SM));
            g_variant_builder_add(&storages, "u", guint(MM_SMS_STORAGE_ME));
            mm_gdbus_modem_messaging_set_supported_storages(messaging, g_variant_builder_end(&storages));
            mm_gdbus_modem_messaging_set_default_storage(messaging, MM_SMS_STORAGE_SM);
            mm_gdbus_object_skeleton_set_modem_messaging(object, messaging);
        } else if (!usable && messaging) {
            shelve();
            mm_gdbus_object_skeleton_set_modem_messaging(object, nullptr);
            g_clear_object(&messaging);
        }
        if (wasListing && !listing())
            shelve();
        mm_gdbus_modem_set_sim(modem, simPresent ? simPath.constData() : "/");
        mm_gdbus_modem_set_unlock_required(modem, simPresent ? lock : guint(MM_MODEM_LOCK_UNKNOWN));
        mm_gdbus_modem_set_state_failed_reason(modem, simPresent ? MM_MODEM_STATE_FAILED_REASON_NONE
                                                                 : MM_MODEM_STATE_FAILED_REASON_SIM_MISSING);
        mm_gdbus_modem_set_power_state(modem, powerLow ? MM_MODEM_POWER_STATE_LOW : MM_MODEM_POWER_STATE_ON);
        GVariantBuilder retries;
        g_variant_builder_init(&retries, G_VARIANT_TYPE("a{uu}"));
        g_variant_builder_add(&retries, "{uu}", guint(MM_MODEM_LOCK_SIM_PIN), pinRetries);
        g_variant_builder_add(&retries, "{uu}", guint(MM_MODEM_LOCK_SIM_PUK), pukRetries);
        mm_gdbus_modem_set_unlock_retries(modem, g_variant_builder_end(&retries));
        MMModemState st = MM_MODEM_STATE_REGISTERED;
        if (!simPresent)
            st = MM_MODEM_STATE_FAILED;
        else if (lock != MM_MODEM_LOCK_NONE)
            st = MM_MODEM_STATE_LOCKED;
        else if (!enabled || powerLow)
            st = MM_MODEM_STATE_DISABLED;
        if (st == MM_MODEM_STATE_REGISTERED && !wasListing) {
            // Messages are announced while enabling, before the modem reports itself enabled.
            mm_gdbus_modem_set_state(modem, MM_MODEM_STATE_ENABLING);
            g_dbus_interface_skeleton_flush(G_DBUS_INTERFACE_SKELETON(modem));
            readStorages();
        }
        mm_gdbus_modem_set_state(modem, st);
        g_dbus_interface_skeleton_flush(G_DBUS_INTERFACE_SKELETON(modem));
    }

    void buildModem()
    {
        modemPath = numbered("Modem", modemNumber);
        simPath = numbered("SIM", simNumber);
        object = mm_gdbus_object_skeleton_new(modemPath.constData());
        modem = mm_gdbus_modem_skeleton_new();
        mm_gdbus_modem_set_equipment_identifier(modem, "490154203237518");
        mm_gdbus_modem_set_device_identifier(modem, "5ab3e6b1b7d3c0b7e0f2a8c1d9e4f6a7b8c9d0e1");
        mm_gdbus_modem_set_device(modem, "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2");
        // Whatever enables it on a real system (a network manager) has started doing so.
        const bool comesUp = enabled && simPresent && lock == MM_MODEM_LOCK_NONE && !powerLow;
        mm_gdbus_modem_set_state(modem, comesUp ? MM_MODEM_STATE_ENABLING : MM_MODEM_STATE_DISABLED);
        g_signal_connect(modem, "handle-enable", G_CALLBACK(onEnable), this);
        mm_gdbus_object_skeleton_set_modem(object, modem);
        sim = mm_gdbus_sim_skeleton_new();
        g_signal_connect(sim, "handle-send-pin", G_CALLBACK(onSendPin), this);
        g_signal_connect(sim, "handle-send-puk", G_CALLBACK(onSendPuk), this);
        g_dbus_interface_skeleton_export(G_DBUS_INTERFACE_SKELETON(sim), connection, simPath.constData(), nullptr);
    }

    void dropModem()
    {
        if (messaging)
            shelve();
        if (present)
            g_dbus_object_manager_server_unexport(manager, modemPath.constData());
        if (sim)
            g_dbus_interface_skeleton_unexport(G_DBUS_INTERFACE_SKELETON(sim));
        g_clear_object(&sim);
        g_clear_object(&messaging);
        g_clear_object(&modem);
        g_clear_object(&object);
        present = false;
        abandonSends();
    }

    void plug(bool on)
    {
        if (on == present)
            return;
        if (!on) {
            dropModem();
            return;
        }
        buildModem();
        g_dbus_object_manager_server_export(manager, G_DBUS_OBJECT_SKELETON(object));
        present = true;
        // Enabled as it was: its storages are read again under new paths.
        update();
    }

    static gboolean onList(MmGdbusModemMessaging *m, GDBusMethodInvocation *inv, Service *self)
    {
        if (!self->listing()) {
            g_dbus_method_invocation_return_error(inv, MM_CORE_ERROR, MM_CORE_ERROR_WRONG_STATE,
                                                  "Cannot list SMS messages: device not yet enabled");
            return TRUE;
        }
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
        if (self->refused(inv))
            return TRUE;
        const char *number = nullptr;
        const char *text = nullptr;
        g_variant_lookup(props, "number", "&s", &number);
        g_variant_lookup(props, "text", "&s", &text);
        if (!number || !text) {
            g_dbus_method_invocation_return_error(inv, MM_CORE_ERROR, MM_CORE_ERROR_INVALID_ARGS, "number and text needed");
            return TRUE;
        }
        MmGdbusSms *s = self->newSms(number, text, MM_SMS_STATE_UNKNOWN, MM_SMS_STORAGE_UNKNOWN, MM_SMS_PDU_TYPE_SUBMIT);
        mm_gdbus_sms_set_timestamp(s, nullptr);
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
        const QByteArray path = pathOf(s).toUtf8();
        mm_gdbus_modem_messaging_emit_added(m, path.constData(), FALSE);
        mm_gdbus_modem_messaging_complete_create(m, inv, path.constData());
        return TRUE;
    }

    static gboolean onDelete(MmGdbusModemMessaging *m, GDBusMethodInvocation *inv, const char *path, Service *self)
    {
        if (self->refused(inv))
            return TRUE;
        if (!self->listing()) {
            g_dbus_method_invocation_return_error(inv, MM_CORE_ERROR, MM_CORE_ERROR_WRONG_STATE,
                                                  "Cannot delete SMS: device not yet enabled");
            return TRUE;
        }
        auto it = self->sms.find(QString::fromUtf8(path));
        if (it == self->sms.end()) {
            g_dbus_method_invocation_return_error(inv, MM_CORE_ERROR, MM_CORE_ERROR_NOT_FOUND, "No SMS found with path '%s'", path);
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

    struct PendingSend
    {
        Service *self;
        MmGdbusSms *sms;
        GDBusMethodInvocation *inv;
        GSource *network;
    };
    std::vector<PendingSend *> pendingSends; // handed to the network, not answered yet

    // The service answers a Send only when the network has answered. Its State says nothing
    // meanwhile (there is no "sending" in between): it turns "sent", or after a refusal stays
    // as it was, and the message stays listed either way.
    void finishSend(MmGdbusSms *s, GDBusMethodInvocation *inv)
    {
        if (sendFails) {
            g_dbus_method_invocation_return_error(inv, MM_MESSAGE_ERROR, MM_MESSAGE_ERROR_NETWORK_TIMEOUT, "network timeout");
            return;
        }
        mm_gdbus_sms_set_state(s, MM_SMS_STATE_SENT);
        mm_gdbus_sms_complete_send(s, inv);
    }

    static void forget(PendingSend *p)
    {
        auto &list = p->self->pendingSends;
        list.erase(std::remove(list.begin(), list.end(), p), list.end());
        g_source_unref(p->network);
        g_object_unref(p->sms);
        delete p;
    }

    // The modem went away: its port closes under the command, which fails as the port's
    // queue does.
    void abandonSends()
    {
        const std::vector<PendingSend *> cut = pendingSends;
        for (PendingSend *p : cut) {
            g_source_destroy(p->network);
            g_dbus_method_invocation_return_error(p->inv, MM_SERIAL_ERROR, MM_SERIAL_ERROR_SEND_FAILED,
                                                  "Serial port is now closed");
            forget(p);
        }
    }

    static gboolean onSend(MmGdbusSms *s, GDBusMethodInvocation *inv, Service *self)
    {
        self->sentLog << self->snapshot(s);
        if (self->sendDelayMs <= 0) {
            self->finishSend(s, inv);
            return TRUE;
        }
        auto *pending = new PendingSend{self, MM_GDBUS_SMS(g_object_ref(s)), inv,
                                        g_timeout_source_new(guint(self->sendDelayMs))};
        self->pendingSends.push_back(pending);
        g_source_set_callback(pending->network, [](gpointer data) -> gboolean {
            auto *p = static_cast<PendingSend *>(data);
            p->self->finishSend(p->sms, p->inv);
            forget(p);
            return G_SOURCE_REMOVE;
        }, pending, nullptr);
        g_source_attach(pending->network, self->context);
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

    static gboolean onEnable(MmGdbusModem *m, GDBusMethodInvocation *inv, gboolean enable, Service *self)
    {
        if (self->refused(inv))
            return TRUE;
        if (self->lock != MM_MODEM_LOCK_NONE || !self->simPresent) {
            g_dbus_method_invocation_return_error(inv, MM_CORE_ERROR, MM_CORE_ERROR_WRONG_STATE, "modem locked or failed");
            return TRUE;
        }
        self->enabled = enable;
        self->update();
        mm_gdbus_modem_complete_enable(m, inv);
        return TRUE;
    }

    bool unlockWith(bool correct, uint &retries, GDBusMethodInvocation *inv)
    {
        if (correct) {
            lock = MM_MODEM_LOCK_NONE;
            // Unlocked, the modem starts over and waits disabled until someone enables it.
            enabled = false;
            update();
            return true;
        }
        if (retries > 0)
            --retries;
        if (lock == MM_MODEM_LOCK_SIM_PIN && pinRetries == 0)
            lock = MM_MODEM_LOCK_SIM_PUK;
        update();
        g_dbus_method_invocation_return_error(inv, MM_MOBILE_EQUIPMENT_ERROR,
                                              MM_MOBILE_EQUIPMENT_ERROR_INCORRECT_PASSWORD, "Incorrect password");
        return false;
    }

    static gboolean onSendPin(MmGdbusSim *sim, GDBusMethodInvocation *inv, const char *pin, Service *self)
    {
        if (self->refused(inv))
            return TRUE;
        if (self->lock != MM_MODEM_LOCK_SIM_PIN) {
            g_dbus_method_invocation_return_error(inv, MM_MOBILE_EQUIPMENT_ERROR,
                                                  MM_MOBILE_EQUIPMENT_ERROR_SIM_PUK, "SIM PUK required");
            return TRUE;
        }
        if (self->unlockWith(g_strcmp0(pin, kPin) == 0, self->pinRetries, inv))
            mm_gdbus_sim_complete_send_pin(sim, inv);
        return TRUE;
    }

    static gboolean onSendPuk(MmGdbusSim *sim, GDBusMethodInvocation *inv, const char *puk, const char *, Service *self)
    {
        if (self->refused(inv))
            return TRUE;
        if (self->lock != MM_MODEM_LOCK_SIM_PUK || self->pukRetries == 0) {
            g_dbus_method_invocation_return_error(inv, MM_MOBILE_EQUIPMENT_ERROR,
                                                  MM_MOBILE_EQUIPMENT_ERROR_SIM_WRONG, "SIM wrong");
            return TRUE;
        }
        if (self->unlockWith(g_strcmp0(puk, kPuk) == 0, self->pukRetries, inv)) {
            self->pinRetries = 3;
            self->update();
            mm_gdbus_sim_complete_send_puk(sim, inv);
        }
        return TRUE;
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
        s.plug(true);
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
        s.plug(false);
        // A new process knows nothing of the old one's numbers and starts past them all
        // the same: the service never hands out an object path twice.
        s.plug(true);
        ownName(s);
    });
}

QString FakeModemManager::receive(const QString &number, const QString &text, uint storage, int msgClass,
                                  const QString &timestamp)
{
    QString path;
    onService([&](Service &s) {
        MmGdbusSms *sms = s.newSms(number.toUtf8().constData(), text.toUtf8().constData(), MM_SMS_STATE_RECEIVED,
                                   storage, MM_SMS_PDU_TYPE_DELIVER);
        mm_gdbus_sms_set_class(sms, msgClass);
        mm_gdbus_sms_set_timestamp(sms, timestamp.toUtf8().constData());
        path = s.pathOf(sms);
        if (s.announce)
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
        if (s.announce)
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
        if (s.announce)
            mm_gdbus_modem_messaging_emit_added(s.messaging, path.toUtf8().constData(), TRUE);
    });
    return path;
}

QList<FakeModemManager::Sms> FakeModemManager::stored() const
{
    QList<Sms> out;
    onService([&](Service &s) {
        for (auto &kv : s.sms) {
            if (mm_gdbus_sms_get_storage(kv.second) != MM_SMS_STORAGE_UNKNOWN
                || mm_gdbus_sms_get_state(kv.second) == MM_SMS_STATE_RECEIVED)
                out << s.snapshot(kv.second);
        }
        for (MmGdbusSms *sms : s.shelved)
            out << s.snapshot(sms);
    });
    return out;
}

QList<FakeModemManager::Sms> FakeModemManager::sent() const
{
    QList<Sms> out;
    onService([&](Service &s) { out = s.sentLog; });
    return out;
}

QStringList FakeModemManager::listed() const
{
    QStringList out;
    onService([&](Service &s) {
        for (auto &kv : s.sms)
            out << kv.first;
    });
    return out;
}

QString FakeModemManager::modemPath() const
{
    QString out;
    onService([&](Service &s) { out = s.present ? QString::fromLatin1(s.modemPath) : QString(); });
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
    onService([&](Service &s) { s.plug(present); });
}

void FakeModemManager::setEnabled(bool enabled)
{
    onService([&](Service &s) {
        s.enabled = enabled;
        s.update();
    });
}

bool FakeModemManager::enabled() const
{
    bool out = false;
    onService([&](Service &s) { out = s.enabled; });
    return out;
}

void FakeModemManager::setSimPresent(bool present)
{
    onService([&](Service &s) {
        s.simPresent = present;
        s.update();
    });
}

void FakeModemManager::setSimLock(uint lock, uint pinRetries, uint pukRetries)
{
    onService([&](Service &s) {
        s.lock = lock;
        s.pinRetries = pinRetries;
        s.pukRetries = pukRetries;
        s.update();
    });
}

uint FakeModemManager::simLock() const
{
    uint out = 0;
    onService([&](Service &s) { out = s.lock; });
    return out;
}

void FakeModemManager::setPowerLow(bool low)
{
    onService([&](Service &s) {
        s.powerLow = low;
        s.update();
    });
}

void FakeModemManager::setRefuseAuthorization(bool refuse)
{
    onService([&](Service &s) { s.refuse = refuse; });
}
