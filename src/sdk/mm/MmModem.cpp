// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting ModemManager, its GLib thread, and the modem's state as the SDK's state.
#include "MmInternal.h"
#include "sdk_backend.h"

#include <cstring>
#include <future>

namespace sdk::mm {

Backend &backend()
{
    // Never destroyed, like the SDK's state: the GLib thread may run until the process ends.
    static Backend *b = new Backend;
    return *b;
}

bool active()
{
    return backend().selected;
}

bool simulatorOnly(const char *function)
{
    static const char *const kept[] = {"SimCtl_Reset", "SimCtl_Shutdown", "SimCtl_WaitIdle",
                                       "SimCtl_SetDemoSeed", "SimCtl_SeedDemo",
                                       "SimCtl_FailNextCalls", "SimCtl_ClearFaults",
                                       "SimCtl_AddContact", "SimCtl_RemoveContact",
                                       "SimCtl_ListContacts", "SimCtl_ReleaseContacts"};
    if (!active() || std::strncmp(function, "SimCtl_", 7) != 0)
        return false;
    for (const char *name : kept) {
        if (std::strcmp(function, name) == 0)
            return false;
    }
    return true;
}

MMModemMessaging *messagingRef()
{
    MMModemMessaging *m = backend().messaging;
    return m ? MM_MODEM_MESSAGING(g_object_ref(m)) : nullptr;
}

namespace {

struct ModemView
{
    bool plugged = false;
    bool sim = false;
    int pin = UTPS_PIN_STATE_NO_SIM;
    bool registered = false;
    bool flight = false;
};

ModemView look(MMObject *object)
{
    ModemView v;
    MMModem *modem = object ? mm_object_peek_modem(object) : nullptr;
    if (!modem)
        return v;
    v.plugged = true;
    const char *simPath = mm_modem_get_sim_path(modem);
    const MMModemState st = mm_modem_get_state(modem);
    v.sim = simPath && std::strcmp(simPath, "/") != 0
            && !(st == MM_MODEM_STATE_FAILED
                 && mm_modem_get_state_failed_reason(modem) == MM_MODEM_STATE_FAILED_REASON_SIM_MISSING);
    switch (mm_modem_get_unlock_required(modem)) {
    case MM_MODEM_LOCK_SIM_PIN: v.pin = UTPS_PIN_STATE_PIN_REQUIRED; break;
    case MM_MODEM_LOCK_SIM_PUK: v.pin = UTPS_PIN_STATE_PUK_REQUIRED; break;
    default: v.pin = v.sim ? UTPS_PIN_STATE_READY : UTPS_PIN_STATE_NO_SIM; break;
    }
    v.registered = st >= MM_MODEM_STATE_REGISTERED;
    v.flight = mm_modem_get_power_state(modem) == MM_MODEM_POWER_STATE_LOW;
    return v;
}

// Lock held. The same events the simulator sends when its modem or card comes and goes.
void apply(const ModemView &v)
{
    State &s = state();
    const bool wasPlugged = s.devicePlugged;
    const bool hadSim = s.simInserted && wasPlugged;
    s.devicePlugged = v.plugged;
    s.simInserted = v.sim;
    s.pinState = v.pin;
    s.networkRegistered = v.registered;
    s.flightMode = v.flight;
    if (v.plugged && !wasPlugged) {
        postSimpleEvent(Channel::Device, UTPS_EVENT_DEV_DEVICE_INIT_FINISH);
        postStatusEvent(UTPS_SMS_STATUS_READY, -1);
    } else if (!v.plugged && wasPlugged) {
        postStatusEvent(UTPS_SMS_STATUS_DEVICE_NOT_AVAILABLE, -1);
    }
    const bool hasSim = v.plugged && v.sim;
    if (hasSim && !hadSim) {
        postStatusEvent(UTPS_SMS_STATUS_SIM_OK, UTPS_SMS_MEM_SIM);
        postSimpleEvent(Channel::PhoneBook, EVENT_PB_SIM_READY);
    } else if (!hasSim && hadSim && v.plugged) {
        postStatusEvent(UTPS_SMS_STATUS_SIM_NOT_AVAILABLE, UTPS_SMS_MEM_SIM);
    }
    announceCanSend();
}

void onModemNotify(GObject *, GParamSpec *, gpointer)
{
    refreshModemState();
}

void dropModem(Backend &b)
{
    MMObject *object = nullptr;
    MMModemMessaging *messaging = nullptr;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        std::swap(object, b.object);
        std::swap(messaging, b.messaging);
        b.entries[UTPS_SMS_MEM_SIM].clear();
        b.entries[UTPS_SMS_MEM_DEVICE].clear();
    }
    if (messaging) {
        g_signal_handlers_disconnect_by_data(messaging, &b);
        g_object_unref(messaging);
    }
    if (object) {
        if (MMModem *modem = mm_object_peek_modem(object))
            g_signal_handlers_disconnect_by_func(modem, reinterpret_cast<gpointer>(onModemNotify), &b);
        g_object_unref(object);
    }
}

// The modem asked for, or the lowest-numbered one.
MMObject *chooseModem(Backend &b)
{
    MMObject *best = nullptr;
    int bestNumber = -1;
    GList *objects = g_dbus_object_manager_get_objects(G_DBUS_OBJECT_MANAGER(b.manager));
    for (GList *l = objects; l; l = l->next) {
        MMObject *o = MM_OBJECT(l->data);
        const int n = idOfPath(mm_object_get_path(o));
        if (!mm_object_peek_modem(o) || n < 0 || (b.wanted >= 0 && n != b.wanted))
            continue;
        if (!best || n < bestNumber) {
            best = o;
            bestNumber = n;
        }
    }
    if (best)
        g_object_ref(best);
    g_list_free_full(objects, g_object_unref);
    return best;
}

// Backend thread (or the selecting thread before the loop runs).
void pickModem()
{
    Backend &b = backend();
    MMObject *chosen = chooseModem(b);
    MMObject *current = nullptr;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        current = b.object;
    }
    if (chosen == current) {
        if (chosen)
            g_object_unref(chosen);
        return;
    }
    dropModem(b);
    if (chosen) {
        {
            std::lock_guard<std::mutex> lock(state().mutex);
            b.object = chosen;
        }
        g_signal_connect(mm_object_peek_modem(chosen), "notify", G_CALLBACK(onModemNotify), &b);
        connectMessaging(mm_object_get_modem_messaging(chosen));
    }
    refreshModemState();
    relist();
}

void onObjectsChanged(GDBusObjectManager *, GDBusObject *, gpointer)
{
    pickModem();
}

void onInterfacesChanged(GDBusObjectManager *, GDBusObject *object, GDBusInterface *, gpointer)
{
    Backend &b = backend();
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        if (G_OBJECT(object) != G_OBJECT(b.object))
            return;
    }
    // A modem gains Messaging once it is enabled and loses it when disabled.
    MMModemMessaging *now = mm_object_get_modem_messaging(MM_OBJECT(object));
    MMModemMessaging *old = nullptr;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        old = b.messaging;
    }
    if (now == old) {
        if (now)
            g_object_unref(now);
    } else {
        if (old) {
            g_signal_handlers_disconnect_by_data(old, &b);
            std::lock_guard<std::mutex> lock(state().mutex);
            b.messaging = nullptr;
            g_object_unref(old);
        }
        connectMessaging(now);
    }
    refreshModemState();
    relist();
}

std::string fail(const std::string &text, GError *error)
{
    std::string out = text;
    if (error) {
        out += " (" + std::string(error->message) + ")";
        g_error_free(error);
    }
    return out;
}

// Connects to the system bus and ModemManager; empty on success, else why not.
std::string connectToModemManager(Backend &b)
{
    GError *error = nullptr;
    gchar *address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, &error);
    if (!address)
        return fail("No system D-Bus to reach ModemManager on", error);
    b.connection = g_dbus_connection_new_for_address_sync(
        address,
        GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                             | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &error);
    g_free(address);
    if (!b.connection)
        return fail("Cannot connect to the system D-Bus to reach ModemManager", error);
    b.manager = mm_manager_new_sync(b.connection, G_DBUS_OBJECT_MANAGER_CLIENT_FLAGS_DO_NOT_AUTO_START,
                                    nullptr, &error);
    if (!b.manager)
        return fail("Cannot talk to ModemManager", error);
    gchar *owner = g_dbus_object_manager_client_get_name_owner(G_DBUS_OBJECT_MANAGER_CLIENT(b.manager));
    if (!owner)
        return "ModemManager is not running (nothing owns org.freedesktop.ModemManager1 on the "
               "system D-Bus). Start it with \"systemctl start ModemManager\", or run without "
               "--modem to use the simulated modem.";
    g_free(owner);
    return {};
}

void release(Backend &b)
{
    if (b.manager)
        g_object_unref(b.manager);
    if (b.connection) {
        g_dbus_connection_close_sync(b.connection, nullptr, nullptr);
        g_object_unref(b.connection);
    }
    b.manager = nullptr;
    b.connection = nullptr;
}

std::string start(Backend &b)
{
    b.context = g_main_context_new();
    // Proxies deliver their signals to the context that is the thread default when they
    // are made: the backend's own, run by its thread below.
    g_main_context_push_thread_default(b.context);
    std::string error = connectToModemManager(b);
    if (error.empty()) {
        g_signal_connect(b.manager, "object-added", G_CALLBACK(onObjectsChanged), &b);
        g_signal_connect(b.manager, "object-removed", G_CALLBACK(onObjectsChanged), &b);
        g_signal_connect(b.manager, "interface-added", G_CALLBACK(onInterfacesChanged), &b);
        g_signal_connect(b.manager, "interface-removed", G_CALLBACK(onInterfacesChanged), &b);
        {
            std::lock_guard<std::mutex> lock(state().mutex);
            b.selected = true;
            State &s = state();
            s.devicePlugged = s.simInserted = false;
            s.lastCanSend = false;
        }
        pickModem();
    } else {
        release(b);
    }
    g_main_context_pop_thread_default(b.context);
    if (!error.empty()) {
        g_main_context_unref(b.context);
        b.context = nullptr;
        return error;
    }
    b.loop = g_main_loop_new(b.context, FALSE);
    b.thread = std::thread([&b] {
        g_main_context_push_thread_default(b.context);
        g_main_loop_run(b.loop);
        g_main_context_pop_thread_default(b.context);
    });
    b.thread.detach();
    return {};
}

} // namespace

void refreshModemState()
{
    std::lock_guard<std::mutex> lock(state().mutex);
    // Before the first SDK call nothing is announced; that call reads the state afresh.
    if (state().initialised)
        syncState();
}

void syncState()
{
    Backend &b = backend();
    State &s = state();
    apply(look(b.object));
    // A modem that has no Messaging (yet) cannot be read: the storages are not ready.
    const auto until = b.messaging ? Clock::time_point{} : Clock::time_point::max();
    s.unreadable[UTPS_SMS_MEM_SIM].until = until;
    s.unreadable[UTPS_SMS_MEM_DEVICE].until = until;
}

} // namespace sdk::mm

using namespace sdk;

extern "C" {

long SdkBackend_Select(const char *choice, char *error, int errorLength)
{
    std::string why;
    long rc = UTPS_OK;
    const std::string text = choice ? choice : "simulator";
    mm::Backend &b = mm::backend();
    if (text == "simulator") {
        if (b.selected) {
            why = "The SDK already talks to ModemManager.";
            rc = UTPS_E_FAILED;
        }
    } else if (text == "modemmanager" || text.rfind("modemmanager:", 0) == 0) {
        const std::string number = text.size() > 12 ? text.substr(13) : std::string();
        char *end = nullptr;
        const long n = number.empty() ? -1 : std::strtol(number.c_str(), &end, 10);
        if (!number.empty() && (*end != '\0' || n < 0 || n > 0x7FFFFFFF)) {
            why = "\"" + number + "\" is not a modem number (mmcli -L shows them).";
            rc = UTPS_E_INVALID_ARG;
        } else if (!b.selected) {
            b.wanted = int(n);
            why = mm::start(b);
            rc = why.empty() ? UTPS_OK : UTPS_E_NO_DEVICE;
        }
    } else {
        why = "Unknown modem \"" + text + "\": use simulator, modemmanager or modemmanager:N.";
        rc = UTPS_E_INVALID_ARG;
    }
    if (error && errorLength > 0) {
        const size_t n = std::min<size_t>(why.size(), size_t(errorLength) - 1);
        std::memcpy(error, why.data(), n);
        error[n] = '\0';
    }
    return rc;
}

int SdkBackend_Current(void)
{
    return mm::active() ? SDK_BACKEND_MODEMMANAGER : SDK_BACKEND_SIMULATOR;
}

} // extern "C"
