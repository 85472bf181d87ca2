// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One modem of the stand-in ModemManager (FakeModemManager.h): its D-Bus skeletons, its
// storages and its SIM, and what the service shares between its modems. Included by
// FakeModemManager.cpp only; runs on the service's GLib thread.
// GLib's headers use "signals" as a name, which Qt defines as a keyword: they come first.
#include <libmm-glib.h>

#include "FakeModemManager.h"

#include <functional>
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

// What the service shares between its modems: the bus, the object numbers (never reused)
// and how the network and the system behave.
struct Shared
{
    GMainContext *context = g_main_context_new();
    GMainLoop *loop = g_main_loop_new(context, FALSE);
    std::thread thread;
    GDBusConnection *connection = nullptr;
    GDBusObjectManagerServer *manager = nullptr;
    QList<FakeModemManager::Sms> sentLog;
    int modemNumber = 0;
    int simNumber = 0;
    int smsNumber = 0;
    bool announce = true;
    bool sendFails = false;
    int sendDelayMs = 0;
    int unlockDelayMs = 0;
    int unlockCalls = 0;
    bool storeFull = false;
    bool refuse = false;
};

// One modem with its SIM and Messaging; rebuilt under new numbers when it comes back.
struct Modem
{
    using Sms = FakeModemManager::Sms;
    Shared *sh = nullptr;
    int index = 0; // which modem of the service: its identifiers differ by it
    MmGdbusObjectSkeleton *object = nullptr;
    MmGdbusModem *modem = nullptr;
    MmGdbusModemMessaging *messaging = nullptr;
    MmGdbusSim *sim = nullptr;
    QByteArray modemPath;
    QByteArray simPath;
    std::map<QString, MmGdbusSms *> sms; // messages in the current list, by path
    std::vector<MmGdbusSms *> shelved;   // in the storages, not listed (disabled or away)
    bool present = false;
    bool enabled = true;
    bool simPresent = true;
    bool powerLow = false;
    uint lock = MM_MODEM_LOCK_NONE;
    uint pinRetries = 3;
    uint pukRetries = 10;

    Modem(Shared *shared, int i) : sh(shared), index(i) {}
    ~Modem()
    {
        shelve();
        for (MmGdbusSms *s : shelved)
            g_object_unref(s);
        dropModem();
    }

    QByteArray equipmentIdentifier() const { return QByteArray::number(490154203237518LL + 11 * index); }
    QByteArray deviceIdentifier() const
    {
        return QByteArray("5ab3e6b1b7d3c0b7e0f2a8c1d9e4f6a7b8c9d0e" + QByteArray::number(index + 1));
    }

    bool refused(GDBusMethodInvocation *inv)
    {
        if (sh->refuse)
            g_dbus_method_invocation_return_error(inv, MM_CORE_ERROR, MM_CORE_ERROR_UNAUTHORIZED, "Not authorized");
        return sh->refuse;
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
        const QByteArray path = numbered("SMS", sh->smsNumber);
        g_dbus_interface_skeleton_export(G_DBUS_INTERFACE_SKELETON(s), sh->connection, path.constData(), nullptr);
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
        modemPath = numbered("Modem", sh->modemNumber);
        simPath = numbered("SIM", sh->simNumber);
        object = mm_gdbus_object_skeleton_new(modemPath.constData());
        modem = mm_gdbus_modem_skeleton_new();
        mm_gdbus_modem_set_equipment_identifier(modem, equipmentIdentifier().constData());
        mm_gdbus_modem_set_device_identifier(modem, deviceIdentifier().constData());
        mm_gdbus_modem_set_device(modem, QByteArray("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-" + QByteArray::number(2 + index)).constData());
        mm_gdbus_modem_set_manufacturer(modem, "Testing Works");
        mm_gdbus_modem_set_model(modem, QByteArray("Stand-in " + QByteArray::number(index + 1)).constData());
        // Whatever enables it on a real system (a network manager) has started doing so.
        const bool comesUp = enabled && simPresent && lock == MM_MODEM_LOCK_NONE && !powerLow;
        mm_gdbus_modem_set_state(modem, comesUp ? MM_MODEM_STATE_ENABLING : MM_MODEM_STATE_DISABLED);
        g_signal_connect(modem, "handle-enable", G_CALLBACK(onEnable), this);
        mm_gdbus_object_skeleton_set_modem(object, modem);
        sim = mm_gdbus_sim_skeleton_new();
        g_signal_connect(sim, "handle-send-pin", G_CALLBACK(onSendPin), this);
        g_signal_connect(sim, "handle-send-puk", G_CALLBACK(onSendPuk), this);
        g_dbus_interface_skeleton_export(G_DBUS_INTERFACE_SKELETON(sim), sh->connection, simPath.constData(), nullptr);
    }

    void dropModem()
    {
        if (messaging)
            shelve();
        if (present)
            g_dbus_object_manager_server_unexport(sh->manager, modemPath.constData());
        if (sim)
            g_dbus_interface_skeleton_unexport(G_DBUS_INTERFACE_SKELETON(sim));
        g_clear_object(&sim);
        g_clear_object(&messaging);
        g_clear_object(&modem);
        g_clear_object(&object);
        present = false;
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
        g_dbus_object_manager_server_export(sh->manager, G_DBUS_OBJECT_SKELETON(object));
        present = true;
        // Enabled as it was: its storages are read again under new paths.
        update();
    }

    static gboolean onList(MmGdbusModemMessaging *m, GDBusMethodInvocation *inv, Modem *self)
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

    static gboolean onCreate(MmGdbusModemMessaging *m, GDBusMethodInvocation *inv, GVariant *props, Modem *self)
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

    static gboolean onDelete(MmGdbusModemMessaging *m, GDBusMethodInvocation *inv, const char *path, Modem *self)
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
        Modem *self;
        MmGdbusSms *sms;
        GDBusMethodInvocation *inv;
    };

    void finishSend(MmGdbusSms *s, GDBusMethodInvocation *inv)
    {
        if (sh->sendFails) {
            g_dbus_method_invocation_return_error(inv, MM_MESSAGE_ERROR, MM_MESSAGE_ERROR_NETWORK_TIMEOUT, "network timeout");
            return;
        }
        mm_gdbus_sms_set_state(s, MM_SMS_STATE_SENT);
        mm_gdbus_sms_complete_send(s, inv);
    }

    static gboolean onSend(MmGdbusSms *s, GDBusMethodInvocation *inv, Modem *self)
    {
        self->sh->sentLog << self->snapshot(s);
        if (self->sh->sendDelayMs <= 0) {
            self->finishSend(s, inv);
            return TRUE;
        }
        // The network takes its time; the service keeps the call open meanwhile.
        mm_gdbus_sms_set_state(s, MM_SMS_STATE_SENDING);
        GSource *timer = g_timeout_source_new(guint(self->sh->sendDelayMs));
        auto *pending = new PendingSend{self, MM_GDBUS_SMS(g_object_ref(s)), inv};
        g_source_set_callback(timer, [](gpointer data) -> gboolean {
            auto *p = static_cast<PendingSend *>(data);
            p->self->finishSend(p->sms, p->inv);
            g_object_unref(p->sms);
            delete p;
            return G_SOURCE_REMOVE;
        }, pending, nullptr);
        g_source_attach(timer, self->sh->context);
        g_source_unref(timer);
        return TRUE;
    }

    static gboolean onStore(MmGdbusSms *s, GDBusMethodInvocation *inv, guint storage, Modem *self)
    {
        if (self->sh->storeFull) {
            g_dbus_method_invocation_return_error(inv, MM_MESSAGE_ERROR, MM_MESSAGE_ERROR_MEMORY_FULL, "memory full");
            return TRUE;
        }
        mm_gdbus_sms_set_storage(s, storage);
        mm_gdbus_sms_set_state(s, MM_SMS_STATE_STORED);
        mm_gdbus_sms_complete_store(s, inv);
        return TRUE;
    }

    static gboolean onEnable(MmGdbusModem *m, GDBusMethodInvocation *inv, gboolean enable, Modem *self)
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

    // The SIM takes its time to check a code (a real one: up to seconds); the call stays open.
    void afterCheck(MmGdbusSim *sim, std::function<void()> answer)
    {
        ++sh->unlockCalls;
        if (sh->unlockDelayMs <= 0) {
            answer();
            return;
        }
        struct Later
        {
            std::function<void()> answer;
            MmGdbusSim *sim;
        };
        GSource *timer = g_timeout_source_new(guint(sh->unlockDelayMs));
        g_source_set_callback(timer, [](gpointer data) -> gboolean {
            auto *later = static_cast<Later *>(data);
            later->answer();
            g_object_unref(later->sim);
            delete later;
            return G_SOURCE_REMOVE;
        }, new Later{std::move(answer), MM_GDBUS_SIM(g_object_ref(sim))}, nullptr);
        g_source_attach(timer, sh->context);
        g_source_unref(timer);
    }

    static gboolean onSendPin(MmGdbusSim *sim, GDBusMethodInvocation *inv, const char *pin, Modem *self)
    {
        self->afterCheck(sim, [=, code = QByteArray(pin)] { self->answerPin(sim, inv, code.constData()); });
        return TRUE;
    }

    void answerPin(MmGdbusSim *sim, GDBusMethodInvocation *inv, const char *pin)
    {
        Modem *self = this;
        if (self->refused(inv))
            return;
        if (self->lock != MM_MODEM_LOCK_SIM_PIN) {
            g_dbus_method_invocation_return_error(inv, MM_MOBILE_EQUIPMENT_ERROR,
                                                  MM_MOBILE_EQUIPMENT_ERROR_SIM_PUK, "SIM PUK required");
            return;
        }
        if (self->unlockWith(g_strcmp0(pin, kPin) == 0, self->pinRetries, inv))
            mm_gdbus_sim_complete_send_pin(sim, inv);
    }

    static gboolean onSendPuk(MmGdbusSim *sim, GDBusMethodInvocation *inv, const char *puk, const char *, Modem *self)
    {
        self->afterCheck(sim, [=, code = QByteArray(puk)] { self->answerPuk(sim, inv, code.constData()); });
        return TRUE;
    }

    void answerPuk(MmGdbusSim *sim, GDBusMethodInvocation *inv, const char *puk)
    {
        Modem *self = this;
        if (self->refused(inv))
            return;
        if (self->lock != MM_MODEM_LOCK_SIM_PUK || self->pukRetries == 0) {
            g_dbus_method_invocation_return_error(inv, MM_MOBILE_EQUIPMENT_ERROR,
                                                  MM_MOBILE_EQUIPMENT_ERROR_SIM_WRONG, "SIM wrong");
            return;
        }
        if (self->unlockWith(g_strcmp0(puk, kPuk) == 0, self->pukRetries, inv)) {
            self->pinRetries = 3;
            self->update();
            mm_gdbus_sim_complete_send_puk(sim, inv);
        }
    }
};
