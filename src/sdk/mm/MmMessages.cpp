// SPDX-License-Identifier: GPL-3.0-or-later
// The modem's messages: the SDK's view of ModemManager's "sm" and "me" storages, kept in
// step by the Messaging signals, and the calls that change them on the modem.
#include "MmInternal.h"

#include <algorithm>

namespace sdk::mm {

namespace {

// Lock held. The read flag lives in the SDK's database: ModemManager has none.
void applyReadFlag(Message &m)
{
    if (m.pos == inboxOf(m.mem))
        m.readStatus = state().store.setting(readKey(m), "0") == "1" ? 0 : 1;
}

// Placement of a modem message in the SDK's folders; false when the SDK does not show it.
bool place(MMSms *sms, Message &m)
{
    m.mem = memoryOfStorage(mm_sms_get_storage(sms));
    m.id = idOfPath(mm_sms_get_path(sms));
    const MMSmsState st = mm_sms_get_state(sms);
    if (m.mem < 0 || m.id < 0 || m.msgClass == UTPS_MSGCLASS_FLASH
        || mm_sms_get_pdu_type(sms) == MM_SMS_PDU_TYPE_STATUS_REPORT)
        return false;
    if (st == MM_SMS_STATE_RECEIVED)
        m.initialPos = m.pos = inboxOf(m.mem);
    else if (st == MM_SMS_STATE_STORED || st == MM_SMS_STATE_SENT)
        m.initialPos = m.pos = m.mem == UTPS_SMS_MEM_SIM ? UTPS_POS_SIM_OUTBOX : UTPS_POS_DEVICE_OUTBOX;
    else
        return false;
    return true;
}

bool deleteOnModem(MMModemMessaging *messaging, const std::string &path)
{
    GError *error = nullptr;
    if (mm_modem_messaging_delete_sync(messaging, path.c_str(), nullptr, &error))
        return true;
    logError(("deleting " + path).c_str(), error);
    return false;
}

// A status report goes to the PC's report folder; only once that copy is stored does the
// modem's go.
void takeStatusReport(MMSms *sms, Message m)
{
    std::string path = mm_sms_get_path(sms);
    m.mem = UTPS_SMS_MEM_PC;
    m.initialPos = m.pos = UTPS_POS_PC_REPORTS;
    m.msgType = UTPS_MSGTYPE_STATUS_REPORT;
    // Delivery state 0x00 is "completed, received" in the network's own numbering.
    m.status = mm_sms_get_delivery_state(sms) == 0 ? 0 : 1;
    MMModemMessaging *messaging = nullptr;
    {
        std::unique_lock<std::mutex> lock(state().mutex);
        if (!state().initialised || !waitWriteGate(lock) || storeNew(m) != UTPS_OK) {
            warn("modem: a status report could not be stored; it stays on the modem");
            return;
        }
        postRecordEvent(EVENT_SMS_ONRECEIVE, m);
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
    if (mm_sms_get_pdu_type(sms) == MM_SMS_PDU_TYPE_STATUS_REPORT) {
        takeStatusReport(sms, std::move(m));
        return;
    }
    std::lock_guard<std::mutex> lock(state().mutex);
    if (!state().initialised)
        return;
    if (m.msgClass == UTPS_MSGCLASS_FLASH) {
        m.mem = UTPS_SMS_MEM_DEVICE;
        m.initialPos = m.pos = UTPS_POS_DEVICE_INBOX;
        m.id = -1;
        postRecordEvent(EVENT_SMS_ONRECEIVE, m);
        return;
    }
    if (!place(sms, m)) {
        warn(std::string("modem: received message ") + mm_sms_get_path(sms) + " is in no storage the SDK shows");
        return;
    }
    applyReadFlag(m);
    Entry &e = backend().entries[m.mem][m.id];
    e.path = mm_sms_get_path(sms);
    e.msg = m;
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

void relist()
{
    std::map<int, Entry> fresh[3];
    MMModemMessaging *messaging = nullptr;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        messaging = messagingRef();
    }
    if (messaging) {
        GError *error = nullptr;
        GList *list = mm_modem_messaging_list_sync(messaging, nullptr, &error);
        if (error)
            logError("listing messages", error);
        for (GList *l = list; l; l = l->next) {
            MMSms *sms = MM_SMS(l->data);
            Message m = fromSms(sms);
            if (place(sms, m))
                fresh[m.mem][m.id] = Entry{mm_sms_get_path(sms), m, false};
        }
        g_list_free_full(list, g_object_unref);
        g_object_unref(messaging);
    }
    std::lock_guard<std::mutex> lock(state().mutex);
    for (int mem : {UTPS_SMS_MEM_SIM, UTPS_SMS_MEM_DEVICE}) {
        if (state().initialised) {
            for (auto &kv : fresh[mem])
                applyReadFlag(kv.second.msg);
        }
        backend().entries[mem] = std::move(fresh[mem]);
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
    const Entry *e = visible(memory, id);
    if (!e)
        return UTPS_E_NOT_FOUND;
    out = e->msg;
    // Read flags of messages listed before the store opened are looked up now.
    applyReadFlag(out);
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
    if (!sms) {
        rc = modemError(error, memory, "creating a message to store");
    } else {
        path = mm_sms_get_path(sms);
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
    m.id = idOfPath(path.c_str());
    m.initialPos = m.pos;
    m.status = 1;
    m.readStatus = 0;
    backend().entries[m.mem][m.id] = Entry{path, m, false};
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
    const bool ok = deleteOnModem(messaging, path);
    g_object_unref(messaging);
    lock.lock();
    it = entries.find(id);
    if (it != entries.end() && it->second.path == path) {
        if (ok)
            entries.erase(it);
        else
            it->second.pendingDelete = false;
    }
    return ok ? UTPS_OK : UTPS_E_FAILED;
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
        if (!deleteOnModem(messaging, d.second))
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
