// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting ModemManager, its GLib thread, and the modem's state as the SDK's state.
#include "MmInternal.h"
#include "sdk_backend.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
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

// ModemManager's UnlockRetries (lock -> attempts left) into the PIN's and the PUK's; a lock
// it does not list leaves its value as it is; unknown or more than 254 is 255.
void attemptsFrom(GVariant *retries, int &pin, int &puk)
{
    if (!g_variant_is_of_type(retries, G_VARIANT_TYPE("a{uu}")))
        return;
    GVariantIter it;
    guint lock = 0, left = 0;
    g_variant_iter_init(&it, retries);
    while (g_variant_iter_next(&it, "{uu}", &lock, &left)) {
        const int n = left > 254 ? 255 : int(left);
        if (lock == MM_MODEM_LOCK_SIM_PIN)
            pin = n;
        else if (lock == MM_MODEM_LOCK_SIM_PUK)
            puk = n;
    }
}

struct ModemView
{
    bool plugged = false;
    bool sim = false;
    int pin = UTPS_PIN_STATE_NO_SIM;
    int pinAttempts = 255; // unknown
    int pukAttempts = 255;
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
    // From the proxy's own cache, not mm_modem_get_unlock_retries(): that copy is refreshed
    // by a handler of its own that runs after ours, so a change of lock and attempts in one
    // notice would show the old attempts until the modem's next change.
    if (GVariant *retries = g_dbus_proxy_get_cached_property(G_DBUS_PROXY(modem), "UnlockRetries")) {
        attemptsFrom(retries, v.pinAttempts, v.pukAttempts);
        g_variant_unref(retries);
    }
    if (v.pin == UTPS_PIN_STATE_PUK_REQUIRED && v.pukAttempts == 0)
        v.pin = UTPS_PIN_STATE_BLOCKED;
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
    s.pinAttempts = v.pinAttempts;
    s.pukAttempts = v.pukAttempts;
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

void onEnabled(GObject *modem, GAsyncResult *result, gpointer);

void onModemNotify(GObject *object, GParamSpec *, gpointer)
{
    MMModem *modem = MM_MODEM(object);
    if (mm_modem_get_state(modem) == MM_MODEM_STATE_DISABLED && backend().enableWhenDisabled.exchange(false))
        mm_modem_enable(modem, nullptr, onEnabled, nullptr);
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
        // Its messages are kept (stale): the same modem back, under a new number after a
        // replug or a restart of ModemManager, lists them again and they keep their ids.
        b.listable = false;
        markStale();
    }
    if (object)
        modemGoneForSends();
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

void onEnabled(GObject *modem, GAsyncResult *result, gpointer)
{
    GError *error = nullptr;
    if (!mm_modem_enable_finish(MM_MODEM(modem), result, &error))
        logError("enabling the modem", error);
}

} // namespace

bool hasIdentity(MMModem *modem, const std::string &identity)
{
    for (const char *id : {mm_modem_get_device_identifier(modem), mm_modem_get_equipment_identifier(modem),
                           mm_modem_get_device(modem)}) {
        if (id && *id && identity == id)
            return true;
    }
    return false;
}

std::string identityOf(MMModem *modem)
{
    for (const char *id : {mm_modem_get_device_identifier(modem), mm_modem_get_equipment_identifier(modem),
                           mm_modem_get_device(modem)}) {
        if (id && *id)
            return id;
    }
    return {};
}

namespace {

// The modem in use again (by its identity), else the one asked for: by identity, the
// wanted-th listed, or the first listed. A modem asked for by number or identity is never
// replaced by another one while it is away.
MMObject *chooseModem(Backend &b, const std::string &inUse)
{
    std::vector<std::pair<int, MMObject *>> modems;
    GList *objects = g_dbus_object_manager_get_objects(G_DBUS_OBJECT_MANAGER(b.manager));
    for (GList *l = objects; l; l = l->next) {
        MMObject *o = MM_OBJECT(l->data);
        if (mm_object_peek_modem(o))
            modems.emplace_back(idOfPath(mm_object_get_path(o)), o);
    }
    std::sort(modems.begin(), modems.end(), [](const auto &x, const auto &y) { return x.first < y.first; });
    MMObject *best = nullptr;
    auto find = [&](const std::string &identity) {
        for (const auto &m : modems) {
            if (!best && hasIdentity(mm_object_peek_modem(m.second), identity))
                best = m.second;
        }
    };
    const bool explicitChoice = b.wanted >= 0 || !b.wantedIdentity.empty();
    if (!inUse.empty())
        find(inUse);
    if (!best && !b.wantedIdentity.empty() && (inUse.empty() || !explicitChoice))
        find(b.wantedIdentity);
    else if (!best && b.wanted >= 0 && inUse.empty() && size_t(b.wanted) < modems.size())
        best = modems[size_t(b.wanted)].second;
    else if (!best && !explicitChoice && !modems.empty())
        best = modems.front().second;
    if (best)
        g_object_ref(best);
    g_list_free_full(objects, g_object_unref);
    return best;
}

} // namespace

// Backend thread (or the selecting thread before the loop runs).
void pickModem(const std::string &switchTo)
{
    Backend &b = backend();
    MMObject *current = nullptr;
    std::string inUse;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        current = b.object;
        inUse = switchTo.empty() ? b.identity : switchTo;
    }
    MMObject *chosen = chooseModem(b, inUse);
    if (chosen == current) {
        if (chosen)
            g_object_unref(chosen);
        return;
    }
    const bool switching = current && chosen && !hasIdentity(mm_object_peek_modem(current), inUse);
    dropModem(b);
    if (switching) {
        // To the SDK's user another modem is this one unplugged and that one plugged in:
        // the window drops the old SIM's and device's folders before the new ones come.
        std::lock_guard<std::mutex> lock(state().mutex);
        if (state().initialised)
            apply(ModemView{});
    }
    if (chosen) {
        const std::string identity = identityOf(mm_object_peek_modem(chosen));
        {
            std::lock_guard<std::mutex> lock(state().mutex);
            b.object = chosen;
            if (identity != b.identity && !b.identity.empty()) {
                // Another modem: the messages known are another SIM's.
                b.entries[UTPS_SMS_MEM_SIM].clear();
                b.entries[UTPS_SMS_MEM_DEVICE].clear();
            }
            b.identity = identity;
        }
        warn("modem: using ModemManager's " + std::string(mm_object_get_path(chosen)) + " (" + identity + ")");
        MMModem *modem = mm_object_peek_modem(chosen);
        if (mm_modem_get_state(modem) == MM_MODEM_STATE_DISABLED) {
            // Nothing else switched it on (no network manager looks after it): without
            // that, ModemManager neither reads its messages nor sends any.
            warn("modem: " + std::string(mm_object_get_path(chosen)) + " is disabled; enabling it");
            mm_modem_enable(modem, nullptr, onEnabled, nullptr);
        }
        g_signal_connect(mm_object_peek_modem(chosen), "notify", G_CALLBACK(onModemNotify), &b);
        connectMessaging(mm_object_get_modem_messaging(chosen));
    }
    refreshModemState();
}

namespace {

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
    // A modem has no Messaging while its SIM is locked or missing.
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
        {
            std::lock_guard<std::mutex> lock(state().mutex);
            b.listable = false;
            markStale();
        }
        connectMessaging(now);
    }
    refreshModemState();
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
        // GDBus frees what its proxies subscribed with (their weak references) from idle
        // callbacks in this context: run them, or every failed attempt leaks them.
        while (g_main_context_iteration(b.context, FALSE)) {
        }
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

bool canList()
{
    Backend &b = backend();
    MMModem *modem = b.object ? mm_object_peek_modem(b.object) : nullptr;
    // ModemManager holds a list of messages only while the modem is enabled: disabling
    // drops it, enabling reads the storages again under new paths.
    return modem && b.messaging && mm_modem_get_state(modem) >= MM_MODEM_STATE_ENABLED;
}

void refreshModemState()
{
    bool relistNow = false;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        Backend &b = backend();
        const bool can = canList();
        // The storages open only once the list is read (relist): until then the messages
        // known have dead paths.
        relistNow = can && !b.listable;
        if (!can && b.listable) {
            b.listable = false;
            markStale();
        }
        // Before the first SDK call nothing is announced; that call reads the state afresh.
        if (state().initialised)
            syncState();
    }
    if (relistNow)
        relist();
}

void syncState()
{
    Backend &b = backend();
    State &s = state();
    apply(look(b.object));
    if (b.collectedStart != s.starts && s.initialised && b.context) {
        // What waited on the modem while the SDK was not running (status reports, class-0
        // messages, messages in no storage the SDK shows) is collected now that there is
        // a store to put it in.
        b.collectedStart = s.starts;
        g_main_context_invoke(b.context, [](gpointer) -> gboolean {
            relist();
            return G_SOURCE_REMOVE;
        }, nullptr);
    }
    // A modem that cannot be listed (starting, disabled, locked) cannot be read.
    const auto until = b.listable ? Clock::time_point{} : Clock::time_point::max();
    s.unreadable[UTPS_SMS_MEM_SIM].until = until;
    s.unreadable[UTPS_SMS_MEM_DEVICE].until = until;
}

long resultOf(GError *error, const char *what)
{
    long rc = UTPS_E_FAILED;
    if (g_error_matches(error, MM_CORE_ERROR, MM_CORE_ERROR_UNAUTHORIZED)
        || g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_ACCESS_DENIED))
        rc = UTPS_E_NOT_AUTHORIZED;
    else if (error && error->domain == MM_MOBILE_EQUIPMENT_ERROR
             && (error->code == MM_MOBILE_EQUIPMENT_ERROR_INCORRECT_PASSWORD
                 || error->code == MM_MOBILE_EQUIPMENT_ERROR_SIM_PUK
                 || error->code == MM_MOBILE_EQUIPMENT_ERROR_SIM_WRONG))
        rc = UTPS_E_WRONG_PIN;
    else if (g_error_matches(error, MM_CORE_ERROR, MM_CORE_ERROR_WRONG_STATE))
        rc = UTPS_E_NOT_READY;
    logError(what, error);
    return rc;
}

namespace {

struct LockView
{
    int pin = -1;
    int pinAttempts = -1;
    int pukAttempts = -1;
};

GVariant *property(MMModem *modem, const char *name)
{
    GVariant *reply = g_dbus_connection_call_sync(
        g_dbus_proxy_get_connection(G_DBUS_PROXY(modem)), MM_DBUS_SERVICE, mm_modem_get_path(modem),
        "org.freedesktop.DBus.Properties", "Get", g_variant_new("(ss)", "org.freedesktop.ModemManager1.Modem", name),
        G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    GVariant *value = nullptr;
    if (reply) {
        g_variant_get(reply, "(v)", &value);
        g_variant_unref(reply);
    }
    return value;
}

// The lock and attempts left as ModemManager has them now, asked directly.
LockView readLock(MMModem *modem)
{
    LockView v;
    if (GVariant *required = property(modem, "UnlockRequired")) {
        if (g_variant_is_of_type(required, G_VARIANT_TYPE_UINT32)) {
            const guint lock = g_variant_get_uint32(required);
            v.pin = lock == MM_MODEM_LOCK_SIM_PIN   ? UTPS_PIN_STATE_PIN_REQUIRED
                    : lock == MM_MODEM_LOCK_SIM_PUK ? UTPS_PIN_STATE_PUK_REQUIRED
                                                     : UTPS_PIN_STATE_READY;
        }
        g_variant_unref(required);
    }
    if (GVariant *retries = property(modem, "UnlockRetries")) {
        attemptsFrom(retries, v.pinAttempts, v.pukAttempts);
        g_variant_unref(retries);
    }
    if (v.pin == UTPS_PIN_STATE_PUK_REQUIRED && v.pukAttempts == 0)
        v.pin = UTPS_PIN_STATE_BLOCKED;
    return v;
}

MMModem *modemRef()
{
    MMModem *modem = backend().object ? mm_object_peek_modem(backend().object) : nullptr;
    return modem ? MM_MODEM(g_object_ref(modem)) : nullptr;
}

} // namespace

bool enabled()
{
    MMModem *modem = backend().object ? mm_object_peek_modem(backend().object) : nullptr;
    return modem && mm_modem_get_state(modem) >= MM_MODEM_STATE_ENABLING;
}

long enable(std::unique_lock<std::mutex> &lock)
{
    MMModem *modem = modemRef();
    if (!modem)
        return UTPS_E_NO_DEVICE;
    lock.unlock();
    GError *error = nullptr;
    const long rc = mm_modem_enable_sync(modem, nullptr, &error) ? UTPS_OK : resultOf(error, "enabling the modem");
    g_object_unref(modem);
    lock.lock();
    return rc;
}

long unlock(std::unique_lock<std::mutex> &lock, const std::string &puk, const std::string &pin)
{
    const int wanted = puk.empty() ? UTPS_PIN_STATE_PIN_REQUIRED : UTPS_PIN_STATE_PUK_REQUIRED;
    if (state().pinState != wanted)
        return UTPS_E_NOT_READY;
    MMModem *modem = modemRef();
    if (!modem)
        return UTPS_E_NO_DEVICE;
    lock.unlock();
    // The SIM's proxy is made on the caller's thread (the window runs this on a worker).
    // GDBus frees what a proxy subscribed with from idle callbacks in the context that was
    // the thread default when it was made; a context of its own, run before it is
    // dropped, frees them here rather than in a context that may never run them again.
    GMainContext *calls = g_main_context_new();
    g_main_context_push_thread_default(calls);
    GError *error = nullptr;
    long rc = UTPS_OK;
    MMSim *sim = mm_modem_get_sim_sync(modem, nullptr, &error);
    if (!sim) {
        rc = resultOf(error, "reaching the SIM");
    } else {
        // One attempt, never repeated here: a retry would use up another of the SIM's.
        const bool ok = puk.empty() ? mm_sim_send_pin_sync(sim, pin.c_str(), nullptr, &error)
                                    : mm_sim_send_puk_sync(sim, puk.c_str(), pin.c_str(), nullptr, &error);
        if (!ok)
            rc = resultOf(error, puk.empty() ? "unlocking the SIM with its PIN" : "unlocking the SIM with its PUK");
        g_object_unref(sim);
    }
    while (g_main_context_iteration(calls, FALSE)) {
    }
    g_main_context_pop_thread_default(calls);
    g_main_context_unref(calls);
    if (rc == UTPS_OK) {
        // The user unlocked it to use it, and ModemManager leaves an unlocked modem
        // disabled. Right after the PIN it is still setting the modem up and refuses an
        // enable ("device locked"), so the enable waits for the modem to report itself
        // disabled; the flag is set before the state is read, so neither side misses it.
        backend().enableWhenDisabled = true;
        if (mm_modem_get_state(modem) == MM_MODEM_STATE_DISABLED && backend().enableWhenDisabled.exchange(false)) {
            GError *notEnabled = nullptr;
            if (!mm_modem_enable_sync(modem, nullptr, &notEnabled))
                resultOf(notEnabled, "enabling the modem after unlocking its SIM");
        }
    }
    // The modem's properties follow by signal, later; whoever asks next wants the lock
    // and the attempts left as they are now.
    const LockView now = readLock(modem);
    g_object_unref(modem);
    lock.lock();
    if (now.pin >= 0 && state().pinState != UTPS_PIN_STATE_NO_SIM)
        state().pinState = now.pin;
    if (now.pinAttempts >= 0)
        state().pinAttempts = now.pinAttempts;
    if (now.pukAttempts >= 0)
        state().pukAttempts = now.pukAttempts;
    return rc;
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
        const std::string choice = text.size() > 12 ? text.substr(13) : std::string();
        // A small number is a place in ModemManager's list; anything else names the modem
        // (its equipment identifier, device identifier or device), as mmcli shows them.
        const bool byPlace = !choice.empty() && choice.size() <= 3
                             && choice.find_first_not_of("0123456789") == std::string::npos;
        if (text.size() > 12 && choice.empty()) {
            why = "Name the modem after \"modemmanager:\": its place in the list (0 is the first) or its "
                  "equipment identifier.";
            rc = UTPS_E_INVALID_ARG;
        } else if (!b.selected) {
            b.wanted = byPlace ? std::atoi(choice.c_str()) : -1;
            b.wantedIdentity = byPlace ? std::string() : choice;
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
