// SPDX-License-Identifier: GPL-3.0-or-later
// The modem's messages: the SDK's view of ModemManager's "sm" and "me" storages, kept in
// step by the Messaging signals, and the calls that change them on the modem.
#include "MmInternal.h"

#include <algorithm>
#include <set>

namespace sdk::mm {

namespace {

// Placement of a modem message in the SDK's folders; false when the SDK does not keep it
// there (class 0, a status report, or a storage it does not show: the PC takes those).
bool place(MMSms *sms, Message &m)
{
    m.mem = memoryOfStorage(mm_sms_get_storage(sms));
    const MMSmsState st = mm_sms_get_state(sms);
    if (m.mem < 0 || m.msgClass == UTPS_MSGCLASS_FLASH || mm_sms_get_pdu_type(sms) == MM_SMS_PDU_TYPE_STATUS_REPORT)
        return false;
    if (st == MM_SMS_STATE_RECEIVED)
        m.initialPos = m.pos = inboxOf(m.mem);
    else if (st == MM_SMS_STATE_STORED || st == MM_SMS_STATE_SENT)
        m.initialPos = m.pos = m.mem == UTPS_SMS_MEM_SIM ? UTPS_POS_SIM_OUTBOX : UTPS_POS_DEVICE_OUTBOX;
    else
        return false;
    return true;
}

long deleteOnModem(MMModemMessaging *messaging, const std::string &path)
{
    GError *error = nullptr;
    if (mm_modem_messaging_delete_sync(messaging, path.c_str(), nullptr, &error))
        return UTPS_OK;
    return resultOf(error, ("deleting " + path).c_str());
}

// Lock held. The entry a message announced by ModemManager already is: the same path, or a
// message from before ModemManager dropped its list with the same identity.
Entry *known(std::map<int, Entry> &entries, const std::string &path, const std::string &identity)
{
    for (auto &kv : entries) {
        if (kv.second.path == path)
            return &kv.second;
    }
    for (auto &kv : entries) {
        if (kv.second.stale && kv.second.identity == identity)
            return &kv.second;
    }
    return nullptr;
}

// What the PC takes from the modem (status reports, class-0 messages, messages in no
// storage the SDK shows) is handled once per identity, even when deleting it from the
// modem fails and it is listed again.
bool firstSighting(const std::string &identity)
{
    static std::set<std::string> *seen = new std::set<std::string>;
    return seen->insert(identity).second;
}

// Backend thread, lock NOT held. A message the SIM and device storages do not keep: status
// reports go to the PC's report folder, messages in a storage the SDK does not show to
// the PC's inbox, class-0 messages are shown and not kept. Only once that is done does the
// modem's copy go.
void takeToPc(MMSms *sms, Message m, const std::string &identity)
{
    const std::string path = mm_sms_get_path(sms);
    const bool report = mm_sms_get_pdu_type(sms) == MM_SMS_PDU_TYPE_STATUS_REPORT;
    MMModemMessaging *messaging = nullptr;
    {
        std::unique_lock<std::mutex> lock(state().mutex);
        if (!state().initialised)
            return;
        if (!firstSighting(identity)) {
            messaging = nullptr;
        } else if (m.msgClass == UTPS_MSGCLASS_FLASH) {
            m.mem = UTPS_SMS_MEM_DEVICE;
            m.initialPos = m.pos = UTPS_POS_DEVICE_INBOX;
            m.id = -1;
            settle(m);
            postRecordEvent(EVENT_SMS_ONRECEIVE, m);
        } else {
            m.mem = UTPS_SMS_MEM_PC;
            m.initialPos = m.pos = report ? UTPS_POS_PC_REPORTS : UTPS_POS_PC_INBOX;
            if (report) {
                m.msgType = UTPS_MSGTYPE_STATUS_REPORT;
                // Delivery state 0x00 is "completed, received" in the network's own numbering.
                m.status = mm_sms_get_delivery_state(sms) == 0 ? 0 : 1;
            }
            settle(m);
            m.readStatus = report ? 0 : 1;
            if (!waitWriteGate(lock) || storeNew(m) != UTPS_OK) {
                warn("modem: message " + path + " could not be stored on the PC; it stays on the modem");
                return;
            }
            postRecordEvent(EVENT_SMS_ONRECEIVE, m);
        }
        messaging = messagingRef();
    }
    if (messaging) {
        deleteOnModem(messaging, path);
        g_object_unref(messaging);
    }
}

void takeReceived(MMSms *sms)
{
    Message m = fromSms(sms);
    if (!place(sms, m)) {
        takeToPc(sms, std::move(m), identityOf(sms, -1) + '\x1f' + std::to_string(mm_sms_get_pdu_type(sms)));
        return;
    }
    std::lock_guard<std::mutex> lock(state().mutex);
    if (!state().initialised)
        return;
    const std::string path = mm_sms_get_path(sms);
    const std::string identity = identityOf(sms, m.mem);
    if (Entry *e = known(backend().entries[m.mem], path, identity)) {
        // Announced again after an enable or a restart of ModemManager: not news.
        e->path = path;
        e->stale = false;
        return;
    }
    settle(m);
    m.id = backend().nextId++;
    backend().entries[m.mem][m.id] = Entry{path, m, identity, false, false};
    postRecordEvent(EVENT_SMS_ONRECEIVE, m);
}

void onSmsState(GObject *object, GParamSpec *, gpointer)
{
    MMSms *sms = MM_SMS(object);
    if (mm_sms_get_state(sms) == MM_SMS_STATE_RECEIVING)
        return;
    g_signal_handlers_disconnect_by_func(sms, reinterpret_cast<gpointer>(onSmsState), nullptr);
    if (mm_sms_get_state(sms) == MM_SMS_STATE_RECEIVED)
        takeReceived(sms);
    g_object_unref(sms);
}

// The message itself, not a re-listing: the list ModemManager keeps may not show the new
// path yet when its Added signal arrives.
MMSms *findSms(MMModemMessaging *messaging, const char *path)
{
    GError *error = nullptr;
    auto *sms = static_cast<MMSms *>(g_initable_new(
        MM_TYPE_SMS, nullptr, &error, "g-flags", G_DBUS_PROXY_FLAGS_DO_NOT_AUTO_START,
        "g-name", MM_DBUS_SERVICE, "g-connection", g_dbus_proxy_get_connection(G_DBUS_PROXY(messaging)),
        "g-object-path", path, "g-interface-name", "org.freedesktop.ModemManager1.Sms", nullptr));
    if (!sms)
        logError(path, error);
    return sms;
}

void onAdded(MMModemMessaging *messaging, const char *path, gboolean received, gpointer)
{
    // Messages this SDK creates to send or store are filed by the call that made them.
    if (!received)
        return;
    MMSms *sms = findSms(messaging, path);
    if (!sms) {
        warn(std::string("modem: new message ") + path + " is gone before it could be read");
        return;
    }
    if (mm_sms_get_state(sms) == MM_SMS_STATE_RECEIVING) {
        // Parts still missing: it is announced once ModemManager has them all.
        g_signal_connect(sms, "notify::state", G_CALLBACK(onSmsState), nullptr);
        return;
    }
    takeReceived(sms);
    g_object_unref(sms);
}

void onDeleted(MMModemMessaging *, const char *path, gpointer)
{
    std::lock_guard<std::mutex> lock(state().mutex);
    for (int mem : {UTPS_SMS_MEM_SIM, UTPS_SMS_MEM_DEVICE}) {
        auto &entries = backend().entries[mem];
        auto it = std::find_if(entries.begin(), entries.end(), [path](const auto &kv) {
            return kv.second.path == path;
        });
        // A message this SDK is deleting is not news to anyone.
        if (it == entries.end() || it->second.pendingDelete)
            continue;
        const Message gone = it->second.msg;
        entries.erase(it);
        if (state().initialised)
            postRecordEvent(EVENT_SMS_DELETE, gone);
    }
}

long modemError(GError *error, int memory, const char *what)
{
    const bool full = error && error->domain == MM_MESSAGE_ERROR && error->code == MM_MESSAGE_ERROR_MEMORY_FULL;
    logError(what, error);
    if (!full)
        return UTPS_E_FAILED;
    postStatusEvent(fullStatusCode(memory), memory);
    return UTPS_E_STORAGE_FULL;
}

const Entry *visible(int memory, int id)
{
    const auto &entries = backend().entries[memory];
    auto it = entries.find(id);
    return it == entries.end() || it->second.pendingDelete ? nullptr : &it->second;
}

} // namespace

void connectMessaging(MMModemMessaging *messaging)
{
    if (!messaging)
        return;
    g_signal_connect(messaging, "added", G_CALLBACK(onAdded), &backend());
    g_signal_connect(messaging, "deleted", G_CALLBACK(onDeleted), &backend());
    std::lock_guard<std::mutex> lock(state().mutex);
    backend().messaging = messaging;
}

void markStale()
{
    for (int mem : {UTPS_SMS_MEM_SIM, UTPS_SMS_MEM_DEVICE}) {
        for (auto &kv : backend().entries[mem])
            kv.second.stale = true;
    }
}

void relist()
{
    struct Listed
    {
        std::string path;
        std::string identity;
        Message msg;
    };
    std::vector<Listed> fresh;
    std::vector<MMSms *> forPc;
    MMModemMessaging *messaging = nullptr;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        messaging = canList() ? messagingRef() : nullptr;
    }
    // Not enabled (or gone): ModemManager holds no list; what is known stays, as stale, so
    // that the same messages keep their ids when they are listed again.
    if (!messaging)
        return;
    GError *error = nullptr;
    // Asked of ModemManager itself: mm_modem_messaging_list_sync() lists the proxy's cached
    // Messages property, which may not have caught up yet with what the service holds
    // (right after an enable, or at start while messages arrive unannounced).
    GVariant *reply = g_dbus_proxy_call_sync(G_DBUS_PROXY(messaging), "List", nullptr,
                                             G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &error);
    if (!reply || !g_variant_is_of_type(reply, G_VARIANT_TYPE("(ao)"))) {
        logError("listing messages", error);
        if (reply)
            g_variant_unref(reply);
        g_object_unref(messaging);
        return;
    }
    GVariantIter *paths = nullptr;
    const char *path = nullptr;
    g_variant_get(reply, "(ao)", &paths);
    while (g_variant_iter_next(paths, "&o", &path)) {
        MMSms *sms = findSms(messaging, path);
        if (!sms)
            continue; // deleted meanwhile
        if (mm_sms_get_state(sms) == MM_SMS_STATE_RECEIVING) {
            // Parts still missing: not a message yet. It is filed when complete, as an
            // arrival is (the watcher keeps the proxy; a second watcher from its Added
            // finds it known by then).
            g_signal_connect(sms, "notify::state", G_CALLBACK(onSmsState), nullptr);
            continue;
        }
        Message m = fromSms(sms);
        if (place(sms, m))
            fresh.push_back({mm_sms_get_path(sms), identityOf(sms, m.mem), std::move(m)});
        else if (mm_sms_get_state(sms) == MM_SMS_STATE_RECEIVED)
            forPc.push_back(MM_SMS(g_object_ref(sms)));
        g_object_unref(sms);
    }
    g_variant_iter_free(paths);
    g_variant_unref(reply);
    g_object_unref(messaging);
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        Backend &b = backend();
        std::map<int, Entry> next[3];
        for (Listed &f : fresh) {
            auto &old = b.entries[f.msg.mem];
            Entry *e = nullptr;
            for (auto &kv : old) {
                if (kv.second.path == f.path)
                    e = &kv.second;
            }
            // A message from before the list was dropped, or one listed twice under old
            // paths: the identity finds it; each old entry is taken once.
            for (auto it = old.begin(); !e && it != old.end(); ++it) {
                if (it->second.identity == f.identity && !next[f.msg.mem].count(it->first)
                    && it->second.path != "")
                    e = &it->second;
            }
            const int id = e ? e->msg.id : b.nextId++;
            f.msg.id = id;
            if (state().initialised)
                settle(f.msg);
            // A deletion waiting for its batch to commit still applies under the new path.
            next[f.msg.mem][id] = Entry{f.path, f.msg, f.identity, e && e->pendingDelete, false};
            if (e)
                e->path.clear(); // taken
        }
        for (int mem : {UTPS_SMS_MEM_SIM, UTPS_SMS_MEM_DEVICE})
            b.entries[mem] = std::move(next[mem]);
        // Unless the modem went away meanwhile, its storages are readable now.
        b.listable = canList();
        if (state().initialised)
            syncState();
    }
    for (MMSms *sms : forPc) {
        Message m = fromSms(sms);
        takeToPc(sms, std::move(m), identityOf(sms, -1) + '\x1f' + std::to_string(mm_sms_get_pdu_type(sms)));
        g_object_unref(sms);
    }
}

long count(int memory, int &n)
{
    const auto &entries = backend().entries[memory];
    n = int(std::count_if(entries.begin(), entries.end(), [](const auto &kv) { return !kv.second.pendingDelete; }));
    return UTPS_OK;
}

long ids(int memory, std::vector<int> &out)
{
    out.clear();
    for (const auto &kv : backend().entries[memory]) {
        if (!kv.second.pendingDelete)
            out.push_back(kv.first);
    }
    return UTPS_OK;
}

long get(int memory, int id, Message &out)
{
    Entry *e = const_cast<Entry *>(visible(memory, id));
    if (!e)
        return UTPS_E_NOT_FOUND;
    // Times and read flags of messages listed before the store opened are looked up now.
    settle(e->msg);
    out = e->msg;
    return UTPS_OK;
}

long update(const Message &m)
{
    auto &entries = backend().entries[m.mem];
    auto it = entries.find(m.id);
    if (it == entries.end() || it->second.pendingDelete)
        return UTPS_E_NOT_FOUND;
    Message &have = it->second.msg;
    if (m.pos != have.pos || m.number != have.number || m.content != have.content) {
        warn("modem: ModemManager cannot rewrite a stored message; only its read flag changes");
        return UTPS_E_FAILED;
    }
    if (m.pos == inboxOf(m.mem) && m.readStatus != have.readStatus) {
        if (!state().store.setSetting(readKey(have), m.readStatus == 0 ? "1" : "0"))
            return UTPS_E_DATABASE;
        have.readStatus = m.readStatus;
    }
    return UTPS_OK;
}

long save(std::unique_lock<std::mutex> &lock, Message &m)
{
    if (m.pos == inboxOf(m.mem)) {
        warn("modem: ModemManager cannot store a received message into the SIM or the modem");
        return UTPS_E_FAILED;
    }
    MMModemMessaging *messaging = messagingRef();
    if (!messaging)
        return UTPS_E_NOT_READY;
    const MMSmsStorage storage = m.mem == UTPS_SMS_MEM_SIM ? MM_SMS_STORAGE_SM : MM_SMS_STORAGE_ME;
    const int memory = m.mem;
    lock.unlock();
    MMSmsProperties *props = mm_sms_properties_new();
    mm_sms_properties_set_number(props, toUtf8(m.number).c_str());
    mm_sms_properties_set_text(props, toUtf8(m.content).c_str());
    GError *error = nullptr;
    MMSms *sms = mm_modem_messaging_create_sync(messaging, props, nullptr, &error);
    g_object_unref(props);
    long rc = UTPS_OK;
    std::string path;
    std::string identity;
    if (!sms) {
        rc = modemError(error, memory, "creating a message to store");
    } else {
        path = mm_sms_get_path(sms);
        identity = identityOf(sms, memory);
        if (!mm_sms_store_sync(sms, storage, nullptr, &error)) {
            rc = modemError(error, memory, "storing a message");
            deleteOnModem(messaging, path); // the unstored draft would linger at ModemManager
        }
        g_object_unref(sms);
    }
    g_object_unref(messaging);
    lock.lock();
    if (rc != UTPS_OK)
        return rc;
    m.id = backend().nextId++;
    m.initialPos = m.pos;
    m.status = 1;
    m.readStatus = 0;
    backend().entries[m.mem][m.id] = Entry{path, m, identity, false, false};
    return UTPS_OK;
}

long remove(std::unique_lock<std::mutex> &lock, int memory, int id)
{
    auto &entries = backend().entries[memory];
    auto it = entries.find(id);
    if (it == entries.end() || it->second.pendingDelete)
        return UTPS_E_NOT_FOUND;
    it->second.pendingDelete = true;
    // Inside a batch the modem's copy stays until the batch commits: a move to the PC must
    // not lose the message when the PC's commit fails.
    if (state().txOpen)
        return UTPS_OK;
    const std::string path = it->second.path;
    MMModemMessaging *messaging = messagingRef();
    if (!messaging) {
        it->second.pendingDelete = false;
        return UTPS_E_NO_DEVICE;
    }
    lock.unlock();
    const long rc = deleteOnModem(messaging, path);
    g_object_unref(messaging);
    lock.lock();
    it = entries.find(id);
    if (it != entries.end() && it->second.path == path) {
        if (rc == UTPS_OK)
            entries.erase(it);
        else
            it->second.pendingDelete = false;
    }
    return rc == UTPS_OK || rc == UTPS_E_NOT_AUTHORIZED ? rc : UTPS_E_FAILED;
}

void transactionEnded(std::unique_lock<std::mutex> &lock, bool committed)
{
    std::vector<std::pair<int, std::string>> doomed;
    for (int mem : {UTPS_SMS_MEM_SIM, UTPS_SMS_MEM_DEVICE}) {
        for (auto &kv : backend().entries[mem]) {
            if (!kv.second.pendingDelete)
                continue;
            if (committed)
                doomed.emplace_back(mem, kv.second.path);
            else
                kv.second.pendingDelete = false;
        }
    }
    MMModemMessaging *messaging = doomed.empty() ? nullptr : messagingRef();
    if (!messaging) {
        // Modem gone: its messages are still on it and come back when it does.
        for (int mem : {UTPS_SMS_MEM_SIM, UTPS_SMS_MEM_DEVICE}) {
            for (auto &kv : backend().entries[mem])
                kv.second.pendingDelete = false;
        }
        return;
    }
    lock.unlock();
    std::vector<std::pair<int, std::string>> failed;
    for (const auto &d : doomed) {
        if (deleteOnModem(messaging, d.second) != UTPS_OK)
            failed.push_back(d);
    }
    g_object_unref(messaging);
    lock.lock();
    for (int mem : {UTPS_SMS_MEM_SIM, UTPS_SMS_MEM_DEVICE}) {
        auto &entries = backend().entries[mem];
        for (auto it = entries.begin(); it != entries.end();) {
            const bool stays = std::find(failed.begin(), failed.end(), std::make_pair(mem, it->second.path)) != failed.end();
            if (it->second.pendingDelete && !stays)
                it = entries.erase(it);
            else
                (it++)->second.pendingDelete = false;
        }
    }
}

} // namespace sdk::mm
