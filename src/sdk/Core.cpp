// SPDX-License-Identifier: GPL-3.0-or-later
// Process-wide state, lazy start-up, storage rules and the small helpers every unit uses.
#include "SdkInternal.h"
#include "mm/MmBackend.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace sdk {

// Never destroyed: the event thread may still run while the process exits, and the state
// it uses must outlive it. Committed data is safe in the database either way.
State &state()
{
    static State *s = new State;
    return *s;
}

std::string dataFolder()
{
    if (const char *home = std::getenv("DIALCREST_HOME"); home && *home)
        return home;
    if (const char *xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::string(xdg) + "/dialcrest";
    const char *home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/share/dialcrest";
}

namespace {

bool initialise(State &s)
{
    s.dataDir = dataFolder();
    s.resetSimulation();
    // The modem works without the database: a store that cannot be opened is reported
    // (UTPS_SMSSrv_GetStoreState), every call that needs it fails, and it is tried again.
    openStore();
    s.initialised = true;
    ++s.starts;
    startEvents();
    if (mm::active())
        mm::syncState();
    return true;
}

} // namespace

void State::resetSimulation()
{
    devicePlugged = simInserted = networkRegistered = canSendFlag = lastCanSend = true;
    flightMode = false;
    pinState = UTPS_PIN_STATE_READY;
    pinAttempts = 3;
    pukAttempts = 10;
    pinCode = "1234";
    pukCode = "12345678";
    productType = UTPS_PRODUCT_WCDMA;
    simType = UTPS_SIMTYPE_USIM;
    multiMode = 0;
    ownNumber = u"+15550100";
    sendDelayMs = 20;
    sendScript.clear();
    failureRate = 0.0;
    rng.seed(1);
    for (auto &u : unreadable)
        u = Unreadable{};
    faults.clear();
    txOpen = false;
    txOwner = std::thread::id();
    std::fill(std::begin(txDepth), std::end(txDepth), 0);
    jobs.clear();
    activeJob = 0;
    std::fill(std::begin(used), std::end(used), -1);
    pcNextId = -1;
    for (auto &slot : slots)
        slot = Slots{};
    movedAside.clear();
    lastStoreTry = Clock::time_point{};
    contacts.clear();
    contactsLoaded = false;
}

std::unique_lock<std::mutex> enter(const char *function, long &rc)
{
    State &s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    rc = 0;
    if (!s.initialised && !initialise(s)) {
        rc = UTPS_E_DATABASE;
        return lock;
    }
    if (mm::simulatorOnly(function)) {
        rc = SIMCTL_E_NOT_AVAILABLE;
        return lock;
    }
    retryStore();
    // Looked up only while a fault is armed: the name would be copied on every call.
    auto it = s.faults.empty() ? s.faults.end() : s.faults.find(function);
    if (it != s.faults.end() && it->second.count > 0) {
        --it->second.count;
        rc = it->second.result;
    }
    return lock;
}

bool waitWriteGate(std::unique_lock<std::mutex> &lock)
{
    State &s = state();
    const auto me = std::this_thread::get_id();
    return s.txGate.wait_for(lock, std::chrono::seconds(10),
                             [&] { return !s.txOpen || s.txOwner == me; });
}

int memoryOfPosition(int position)
{
    switch (position) {
    case 0: case 1: case 2: case 3: case 4: case 5: case 10: case 15:
        return UTPS_SMS_MEM_PC;
    case 6: case 7:
        return UTPS_SMS_MEM_SIM;
    case 8: case 9:
        return UTPS_SMS_MEM_DEVICE;
    default:
        return -1;
    }
}

bool validMemory(int memory)
{
    return memory >= UTPS_SMS_MEM_PC && memory <= UTPS_SMS_MEM_DEVICE;
}

long storageAvailable(int memory)
{
    const State &s = state();
    if (memory == UTPS_SMS_MEM_PC)
        return UTPS_OK;
    if (!s.devicePlugged)
        return UTPS_E_NO_DEVICE;
    if (memory == UTPS_SMS_MEM_SIM && !s.simInserted)
        return UTPS_E_NO_SIM;
    return UTPS_OK;
}

long storageReadable(int memory, bool probe)
{
    State &s = state();
    if (long rc = storageAvailable(memory))
        return rc;
    if (memory == UTPS_SMS_MEM_SIM && s.pinState != UTPS_PIN_STATE_READY
        && s.pinState != UTPS_PIN_STATE_VERIFIED)
        return UTPS_E_NOT_READY;
    Unreadable &u = s.unreadable[memory];
    const bool byProbes = u.probes > 0;
    const bool byTime = Clock::now() < u.until;
    if (probe && byProbes)
        --u.probes;
    return byProbes || byTime ? UTPS_E_NOT_READY : UTPS_OK;
}

int fullStatusCode(int memory)
{
    switch (memory) {
    case UTPS_SMS_MEM_SIM: return UTPS_SMS_STATUS_SIM_FULL;
    case UTPS_SMS_MEM_DEVICE: return UTPS_SMS_STATUS_DEVICE_FULL;
    default: return UTPS_SMS_STATUS_PC_FULL;
    }
}

int inboxOf(int memory)
{
    switch (memory) {
    case UTPS_SMS_MEM_SIM: return UTPS_POS_SIM_INBOX;
    case UTPS_SMS_MEM_DEVICE: return UTPS_POS_DEVICE_INBOX;
    default: return UTPS_POS_PC_INBOX;
    }
}

static int nextId(int memory);

int usedCount(int memory)
{
    State &s = state();
    if (s.used[memory] < 0)
        s.used[memory] = s.store.count(memory);
    return s.used[memory];
}

int removeStored(int memory, int id)
{
    State &s = state();
    // The next PC id follows from the newest row; before that row goes, the counter is
    // written down so that its id is never handed out again.
    if (memory == UTPS_SMS_MEM_PC && nextId(memory) == id + 1)
        s.store.setSetting("pc_next_id", std::to_string(id + 1));
    const int rc = s.store.remove(memory, id);
    if (rc > 0 && s.used[memory] > 0)
        --s.used[memory];
    else if (rc < 0)
        s.used[memory] = -1;
    if (rc > 0)
        s.slots[memory].release(id);
    else if (rc < 0)
        s.slots[memory] = Slots{};
    return rc;
}

void forgetCaches()
{
    State &s = state();
    std::fill(std::begin(s.used), std::end(s.used), -1);
    s.pcNextId = -1;
    for (auto &slot : s.slots)
        slot = Slots{};
    s.contactsLoaded = false;
}

void checkFull(int memory)
{
    State &s = state();
    if (usedCount(memory) >= s.capacity[memory])
        postStatusEvent(fullStatusCode(memory), memory);
}

// PC ids only grow (a stale id never names another message); SIM and device ids are the
// lowest free record slot, as on a real card.
static int nextId(int memory)
{
    State &s = state();
    if (memory == UTPS_SMS_MEM_PC) {
        if (s.pcNextId < 0) {
            int stored = 0;
            try {
                stored = std::stoi(s.store.setting("pc_next_id", "0"));
            } catch (...) {
            }
            s.pcNextId = std::max(stored, s.store.maxId(memory) + 1);
        }
        return s.pcNextId;
    }
    Slots &slots = s.slots[memory];
    if (!slots.loaded) {
        std::vector<int> ids;
        if (!s.store.ids(memory, ids))
            return -1;
        slots.load(ids);
    }
    return slots.lowestFree();
}

long storeNew(Message &m)
{
    State &s = state();
    const int used = usedCount(m.mem);
    if (used < 0)
        return UTPS_E_DATABASE;
    if (used >= s.capacity[m.mem]) {
        postStatusEvent(fullStatusCode(m.mem), m.mem);
        return UTPS_E_STORAGE_FULL;
    }
    m.id = nextId(m.mem);
    if (m.id < 0)
        return UTPS_E_DATABASE;
    if (m.time.empty())
        m.time = timeNow();
    if (m.time.size() >= UTPS_TIME_LEN)
        m.time.resize(UTPS_TIME_LEN - 1);
    if (!s.store.insert(m)) {
        warn("storing a message failed");
        forgetCaches();
        return UTPS_E_DATABASE;
    }
    ++s.used[m.mem];
    if (m.mem == UTPS_SMS_MEM_PC)
        s.pcNextId = m.id + 1;
    else
        s.slots[m.mem].take(m.id);
    if (used + 1 >= s.capacity[m.mem])
        postStatusEvent(fullStatusCode(m.mem), m.mem);
    return UTPS_OK;
}

bool canSendNow()
{
    const State &s = state();
    const bool pinOk = s.pinState == UTPS_PIN_STATE_READY || s.pinState == UTPS_PIN_STATE_VERIFIED;
    return s.devicePlugged && s.simInserted && pinOk && s.networkRegistered && !s.flightMode
           && s.canSendFlag;
}

void announceCanSend()
{
    State &s = state();
    const bool now = canSendNow();
    if (now == s.lastCanSend)
        return;
    s.lastCanSend = now;
    postStatusEvent(now ? UTPS_SMS_STATUS_CAN_SEND_SMS : UTPS_SMS_STATUS_CANNOT_SEND_SMS, -1);
}

void warn(const std::string &text)
{
    std::fprintf(stderr, "sdk: %s\n", text.c_str());
}

std::u16string fromUtf8(const char *p)
{
    std::u16string out;
    if (!p)
        return out;
    const auto *s = reinterpret_cast<const unsigned char *>(p);
    while (*s) {
        char32_t c = *s;
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0) {
            out.push_back(u'\uFFFD');
            ++s;
            continue;
        }
        c &= extra == 0 ? 0x7F : (0x3F >> extra);
        ++s;
        bool ok = true;
        for (int i = 0; i < extra; ++i, ++s) {
            if ((*s & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (*s & 0x3F);
        }
        if (!ok) {
            out.push_back(u'\uFFFD');
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(char16_t(0xD800 + (c >> 10)));
            out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(char16_t(c));
        }
    }
    return out;
}

std::string toUtf8(const std::u16string &in)
{
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (in[++i] - 0xDC00);
        if (c < 0x80) {
            out.push_back(char(c));
        } else if (c < 0x800) {
            out.push_back(char(0xC0 | (c >> 6)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(char(0xE0 | (c >> 12)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (c >> 18)));
            out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string fromWide(const UTPS_WCHAR *p)
{
    if (!p)
        return {};
    size_t n = 0;
    while (p[n])
        ++n;
    return std::u16string(reinterpret_cast<const char16_t *>(p), n);
}

const std::u16string &timeNow()
{
    // Every new record is stamped, thousands a second when a storage is read: the text
    // changes once a second, so it is formatted once a second (per thread).
    thread_local std::time_t formattedAt = -1;
    thread_local std::u16string text;
    const std::time_t t = std::time(nullptr);
    if (t != formattedAt) {
        std::tm tm{};
        localtime_r(&t, &tm);
        char buf[32];
        std::strftime(buf, sizeof buf, "%Y%m%d%H%M%S", &tm);
        text = fromUtf8(buf);
        formattedAt = t;
    }
    return text;
}

std::vector<std::u16string> splitRecipients(const std::u16string &numbers)
{
    std::vector<std::u16string> out;
    size_t start = 0;
    while (start <= numbers.size()) {
        size_t end = numbers.find(u';', start);
        if (end == std::u16string::npos)
            end = numbers.size();
        std::u16string part = numbers.substr(start, end - start);
        const auto first = part.find_first_not_of(u" \t");
        const auto last = part.find_last_not_of(u" \t");
        if (first != std::u16string::npos)
            out.push_back(part.substr(first, last - first + 1));
        start = end + 1;
    }
    return out;
}

void OwnedRecord::assign(const Message &m)
{
    Message copy = m;
    assign(std::move(copy));
}

void OwnedRecord::assign(Message &&m)
{
    rec.iMsgId = m.id;
    rec.iReadStatus = m.readStatus;
    rec.iInitialPos = m.initialPos;
    rec.iPos = m.pos;
    rec.iStatus = m.status;
    rec.iMsgType = m.msgType;
    rec.iMsgClass = m.msgClass;
    rec.iExtra1 = m.extra1;
    rec.iExtra2 = m.extra2;
    rec.iExtra3 = m.extra3;
    rec.iPriority = m.priority;
    std::fill(std::begin(rec.szTime), std::end(rec.szTime), UTPS_WCHAR(0));
    const size_t n = std::min<size_t>(m.time.size(), UTPS_TIME_LEN - 1);
    std::copy_n(m.time.begin(), n, rec.szTime);
    setStrings(std::move(m.number), std::move(m.content));
}

void OwnedRecord::setStrings(std::u16string n, std::u16string c)
{
    number = std::move(n);
    content = std::move(c);
    rec.pszNumber = reinterpret_cast<UTPS_WCHAR *>(number.data());
    rec.pszContent = reinterpret_cast<UTPS_WCHAR *>(content.data());
}

} // namespace sdk
