// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator-control API: lifecycle, incoming traffic, modem states, faults.
#include "SdkInternal.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace sdk {

namespace {
std::atomic<int> g_demoSeed{-1}; // -1: not set by a call, follow the environment
}

bool demoSeedEnabled()
{
    const int set = g_demoSeed.load();
    if (set >= 0)
        return set != 0;
    const char *env = std::getenv("DIALCREST_NO_DEMO");
    return !(env && std::strcmp(env, "1") == 0);
}

namespace {

// Stops the event thread and closes the store; the next call starts afresh.
long stopAll(bool dropData)
{
    if (onEventThread())
        return UTPS_E_INVALID_ARG;
    stopEvents();
    clearRegistrations();
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    const std::string dir = s.initialised ? s.dataDir : dataFolder();
    s.store.close(); // an open transaction is rolled back here
    if (dropData) {
        std::error_code ec;
        for (const char *suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(dir + "/sdk.db" + suffix, ec);
    }
    cancelAllJobs();
    s.resetSimulation();
    s.initialised = false;
    s.txGate.notify_all();
    return UTPS_OK;
}

Message incoming(int mem, int pos, const char *number, const char *text, const char *time)
{
    Message m;
    m.mem = mem;
    m.initialPos = m.pos = pos;
    m.readStatus = 1;
    m.number = fromUtf8(number);
    m.content = fromUtf8(text);
    m.time = time && *time ? fromUtf8(time) : timeNow();
    m.priority = UTPS_SMS_PRIORITY_NORMAL;
    return m;
}

} // namespace

} // namespace sdk

using namespace sdk;

extern "C" {

long SimCtl_Reset(void)
{
    return stopAll(true);
}

long SimCtl_Shutdown(void)
{
    return stopAll(false);
}

long SimCtl_WaitIdle(int timeoutMs)
{
    return waitEventsIdle(timeoutMs);
}

long SimCtl_SetDemoSeed(int enabled)
{
    g_demoSeed = enabled ? 1 : 0;
    return UTPS_OK;
}

long SimCtl_SeedDemo(void)
{
    SDK_ENTER(lock);
    SDK_WRITE_GATE(lock);
    return seedDemo() ? UTPS_OK : UTPS_E_DATABASE;
}

long SimCtl_InjectMessage(int storage, const char *sender, const char *text, const char *time, int msgClass,
                          int *id)
{
    SDK_ENTER(lock);
    const int mem = storage == SIMCTL_RECEIVE_STORAGE ? state().receiveStorage : storage;
    if (!sender || !text || !validMemory(mem))
        return UTPS_E_INVALID_ARG;
    if (long rc = storageAvailable(mem))
        return rc;
    Message m = incoming(mem, inboxOf(mem), sender, text, time);
    m.msgClass = msgClass;
    if (msgClass == UTPS_MSGCLASS_FLASH) {
        m.id = -1;
    } else {
        SDK_WRITE_GATE(lock);
        if (long rc = storeNew(m))
            return rc;
    }
    postRecordEvent(EVENT_SMS_ONRECEIVE, m);
    if (id)
        *id = m.id;
    return UTPS_OK;
}

long SimCtl_InjectStatusReport(const char *recipient, int status, const char *text, int *id)
{
    SDK_ENTER(lock);
    if (!recipient)
        return UTPS_E_INVALID_ARG;
    Message m = incoming(UTPS_SMS_MEM_PC, UTPS_POS_PC_REPORTS, recipient, text ? text : "", nullptr);
    m.msgType = UTPS_MSGTYPE_STATUS_REPORT;
    m.status = status;
    SDK_WRITE_GATE(lock);
    if (long rc = storeNew(m))
        return rc;
    postRecordEvent(EVENT_SMS_ONRECEIVE, m);
    if (id)
        *id = m.id;
    return UTPS_OK;
}

long SimCtl_InjectCellBroadcast(const char *channel, const char *text, int *id)
{
    SDK_ENTER(lock);
    if (!channel || !text)
        return UTPS_E_INVALID_ARG;
    if (!state().devicePlugged)
        return UTPS_E_NO_DEVICE;
    Message m = incoming(UTPS_SMS_MEM_PC, UTPS_POS_PC_CELL_BROADCAST, channel, text, nullptr);
    SDK_WRITE_GATE(lock);
    if (long rc = storeNew(m))
        return rc;
    postRecordEvent(EVENT_SMS_ONRECEIVE, m);
    if (id)
        *id = m.id;
    return UTPS_OK;
}

long SimCtl_DeviceDeleteMsg(int memory, int id)
{
    SDK_ENTER(lock);
    if (!validMemory(memory))
        return UTPS_E_INVALID_ARG;
    SDK_WRITE_GATE(lock);
    Message m;
    if (!state().store.get(memory, id, m))
        return UTPS_E_NOT_FOUND;
    if (removeStored(memory, id) <= 0)
        return UTPS_E_DATABASE;
    postRecordEvent(EVENT_SMS_DELETE, m);
    return UTPS_OK;
}

long SimCtl_SetSimInserted(int inserted)
{
    SDK_ENTER(lock);
    State &s = state();
    if (s.simInserted == (inserted != 0))
        return UTPS_OK;
    s.simInserted = inserted != 0;
    if (s.devicePlugged) {
        if (s.simInserted) {
            postStatusEvent(UTPS_SMS_STATUS_SIM_OK, UTPS_SMS_MEM_SIM);
            postSimpleEvent(Channel::PhoneBook, EVENT_PB_SIM_READY);
            postSimpleEvent(Channel::Device, UTPS_EVENT_DEV_DEVICE_REINIT_FINISH);
        } else {
            postStatusEvent(UTPS_SMS_STATUS_SIM_NOT_AVAILABLE, UTPS_SMS_MEM_SIM);
        }
    }
    announceCanSend();
    return UTPS_OK;
}

long SimCtl_SetDevicePlugged(int plugged)
{
    SDK_ENTER(lock);
    State &s = state();
    if (s.devicePlugged == (plugged != 0))
        return UTPS_OK;
    s.devicePlugged = plugged != 0;
    if (s.devicePlugged) {
        postSimpleEvent(Channel::Device, UTPS_EVENT_DEV_DEVICE_INIT_FINISH);
        postStatusEvent(UTPS_SMS_STATUS_READY, -1);
        if (s.simInserted) {
            postStatusEvent(UTPS_SMS_STATUS_SIM_OK, UTPS_SMS_MEM_SIM);
            postSimpleEvent(Channel::PhoneBook, EVENT_PB_SIM_READY);
        }
    } else {
        postStatusEvent(UTPS_SMS_STATUS_DEVICE_NOT_AVAILABLE, -1);
    }
    announceCanSend();
    return UTPS_OK;
}

long SimCtl_SetStorageUnreadable(int memory, int probes, int durationMs)
{
    SDK_ENTER(lock);
    if (!validMemory(memory) || probes < 0 || durationMs < 0)
        return UTPS_E_INVALID_ARG;
    Unreadable &u = state().unreadable[memory];
    u.probes = probes;
    u.until = Clock::now() + std::chrono::milliseconds(durationMs);
    return UTPS_OK;
}

long SimCtl_SetNetworkRegistered(int registered)
{
    SDK_ENTER(lock);
    state().networkRegistered = registered != 0;
    announceCanSend();
    return UTPS_OK;
}

long SimCtl_SetFlightMode(int on)
{
    SDK_ENTER(lock);
    state().flightMode = on != 0;
    announceCanSend();
    return UTPS_OK;
}

long SimCtl_SetCanSend(int canSend)
{
    SDK_ENTER(lock);
    state().canSendFlag = canSend != 0;
    announceCanSend();
    return UTPS_OK;
}

long SimCtl_SetPinState(int pinState, int pinAttempts, int pukAttempts)
{
    SDK_ENTER(lock);
    if (pinState < 0 || pinAttempts < 0 || pukAttempts < 0 || pinAttempts > 255 || pukAttempts > 255)
        return UTPS_E_INVALID_ARG;
    State &s = state();
    const auto usable = [&] {
        return s.pinState == UTPS_PIN_STATE_READY || s.pinState == UTPS_PIN_STATE_VERIFIED;
    };
    const bool wasUsable = usable();
    s.pinState = pinState;
    s.pinAttempts = pinAttempts;
    s.pukAttempts = pukAttempts;
    // Entering the PIN opens the SIM's storage; a locked SIM closes it.
    if (s.devicePlugged && s.simInserted && wasUsable != usable())
        postStatusEvent(usable() ? UTPS_SMS_STATUS_SIM_OK : UTPS_SMS_STATUS_SIM_NOT_AVAILABLE, UTPS_SMS_MEM_SIM);
    announceCanSend();
    return UTPS_OK;
}

long SimCtl_SetProductType(int type)
{
    SDK_ENTER(lock);
    state().productType = type;
    return UTPS_OK;
}

long SimCtl_SetSimType(int type)
{
    SDK_ENTER(lock);
    state().simType = type;
    return UTPS_OK;
}

long SimCtl_SetMultiModeCard(int multiMode)
{
    SDK_ENTER(lock);
    state().multiMode = multiMode ? 1 : 0;
    return UTPS_OK;
}

long SimCtl_RaiseStatus(int status, int memory)
{
    SDK_ENTER(lock);
    postStatusEvent(status, memory);
    return UTPS_OK;
}

long SimCtl_ScriptSendOutcome(const char *pattern, long result)
{
    SDK_ENTER(lock);
    if (!pattern || !*pattern)
        return UTPS_E_INVALID_ARG;
    state().sendScript.emplace_back(pattern, result);
    return UTPS_OK;
}

long SimCtl_ClearSendScript(void)
{
    SDK_ENTER(lock);
    state().sendScript.clear();
    return UTPS_OK;
}

long SimCtl_SetSendFailureRate(double rate, unsigned int seed)
{
    SDK_ENTER(lock);
    if (!(rate >= 0.0 && rate <= 1.0))
        return UTPS_E_INVALID_ARG;
    state().failureRate = rate;
    state().rng.seed(seed);
    return UTPS_OK;
}

long SimCtl_SetSendDelay(int ms)
{
    SDK_ENTER(lock);
    if (ms < 0)
        return UTPS_E_INVALID_ARG;
    state().sendDelayMs = ms;
    return UTPS_OK;
}

long SimCtl_SetOwnNumber(const char *number)
{
    SDK_ENTER(lock);
    if (!number || !*number)
        return UTPS_E_INVALID_ARG;
    state().ownNumber = fromUtf8(number);
    return UTPS_OK;
}

long SimCtl_SetCapacity(int memory, int capacity)
{
    SDK_ENTER(lock);
    if (!validMemory(memory) || capacity < 0)
        return UTPS_E_INVALID_ARG;
    SDK_WRITE_GATE(lock);
    if (!saveSetting(("capacity_" + std::to_string(memory)).c_str(), std::to_string(capacity)))
        return UTPS_E_DATABASE;
    state().capacity[memory] = capacity;
    checkFull(memory);
    return UTPS_OK;
}

long SimCtl_SetReceiveStorage(int memory)
{
    SDK_ENTER(lock);
    if (!validMemory(memory))
        return UTPS_E_INVALID_ARG;
    SDK_WRITE_GATE(lock);
    if (!saveSetting("receive_storage", std::to_string(memory)))
        return UTPS_E_DATABASE;
    state().receiveStorage = memory;
    return UTPS_OK;
}

long SimCtl_GetReceiveStorage(int *memory)
{
    SDK_ENTER(lock);
    if (!memory)
        return UTPS_E_INVALID_ARG;
    *memory = state().receiveStorage;
    return UTPS_OK;
}

long SimCtl_FailNextCalls(const char *function, int count, long result)
{
    SDK_ENTER(lock);
    if (!function || count < 0)
        return UTPS_E_INVALID_ARG;
    if (count == 0)
        state().faults.erase(function);
    else
        state().faults[function] = Fault{count, result == UTPS_OK ? UTPS_E_FAILED : result};
    return UTPS_OK;
}

long SimCtl_ClearFaults(void)
{
    SDK_ENTER(lock);
    state().faults.clear();
    return UTPS_OK;
}

} // extern "C"
