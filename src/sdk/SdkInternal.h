// SPDX-License-Identifier: GPL-3.0-or-later
// Internal state of the SDK shared by its translation units. Not installed, not API.
#pragma once

#include "utps_sdk.h"
#include "sdk_simulator.h"
#include "sdk_modem.h"
#include "Store.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace sdk {

using Clock = std::chrono::steady_clock;

// A record handed out by CreateSMSRecord: the public struct first (so its address is the
// record's), then the strings its pointers point into.
struct OwnedRecord
{
    _UTPS_ST_SMS_RECORD rec{};
    std::u16string number;
    std::u16string content;

    OwnedRecord() = default;
    explicit OwnedRecord(const Message &m) { assign(m); }
    void assign(const Message &m);
    void assign(Message &&m);      // takes the texts over
    void setStrings(std::u16string n, std::u16string c);
    OwnedRecord(const OwnedRecord &) = delete;
    OwnedRecord &operator=(const OwnedRecord &) = delete;
};

// One send in progress.
struct SendJob
{
    int id = 0;
    Message copy;                        // what is stored as the sent copy at the end
    std::vector<std::u16string> recipients;
    int segments = 1;
    size_t recipient = 0;
    int segment = 0;                     // next segment of the current recipient, 0-based
    std::vector<bool> recipientOk;       // every segment of that recipient went out
    bool cancelled = false;
    bool reports = false;                // delivery reports requested when it was sent
};

struct Unreadable
{
    int probes = 0;
    Clock::time_point until{};
};

struct Fault
{
    int count = 0;
    long result = UTPS_E_FAILED;
};

// Which record slots of the SIM or device storage are taken, so that the lowest free one
// is found without reading every id from the database on each arrival.
struct Slots
{
    bool loaded = false;
    std::vector<bool> taken;
    size_t lowest = 0;                   // no free slot below this one

    void load(const std::vector<int> &ids);
    int lowestFree();
    void take(int id);
    void release(int id);
};

// Everything below is guarded by State::mutex.
struct State
{
    std::mutex mutex;
    std::condition_variable txGate;      // writers of other threads wait while a batch is open

    bool initialised = false;
    std::string dataDir;
    Store store;
    int starts = 0;                      // how often the SDK has started in this process
    std::string movedAside;              // where a damaged database went, this process
    Clock::time_point lastStoreTry{};    // last reopen or write probe while not Ok

    // Modem simulation.
    bool devicePlugged = true;
    bool simInserted = true;
    bool networkRegistered = true;
    bool flightMode = false;
    bool canSendFlag = true;
    bool lastCanSend = true;
    int pinState = UTPS_PIN_STATE_READY;
    int pinAttempts = 3;
    int pukAttempts = 10;
    std::string pinCode = "1234";        // the simulated SIM's
    std::string pukCode = "12345678";
    int productType = UTPS_PRODUCT_WCDMA;
    int simType = UTPS_SIMTYPE_USIM;
    int multiMode = 0;
    std::u16string ownNumber;
    int sendDelayMs = 20;
    std::vector<std::pair<std::string, long>> sendScript;
    double failureRate = 0.0;
    std::mt19937 rng;
    Unreadable unreadable[3];
    std::map<std::string, Fault> faults;

    // Persisted settings (cached).
    int capacity[3] = {100000, 50, 300};
    int receiveStorage = UTPS_SMS_MEM_PC;
    std::u16string centreNumber;
    bool centreChosen = false;           // set by the user, not the simulator's default
    int validity = 2592000;
    int priority = UTPS_SMS_PRIORITY_NORMAL;
    int receipt = 0;

    // Transactions.
    bool txOpen = false;
    std::thread::id txOwner;
    int txDepth[3] = {0, 0, 0};

    // Sends.
    // The modem sends one message at a time: jobs wait in id order behind the active one.
    std::map<int, std::shared_ptr<SendJob>> jobs;
    int nextJob = 1;
    int activeJob = 0;

    std::unordered_set<const void *> records; // live records made by CreateSMSRecord

    // Caches of what the database knows, -1 when unknown (reloaded after a rollback).
    int used[3] = {-1, -1, -1};
    int pcNextId = -1;
    Slots slots[3];                      // SIM and device only
    // Every stored message's sender is looked up when a storage is read: keep them at hand.
    std::vector<Contact> contacts;
    bool contactsLoaded = false;

    void resetSimulation();
};

State &state();
std::string dataFolder();   // $DIALCREST_HOME, $XDG_DATA_HOME/dialcrest or ~/.local/share/dialcrest
// Process-wide, survives SimCtl_Reset.
bool demoSeedEnabled();

// Every public function starts here: takes the lock, opens the store on first use and
// applies injected faults. rc receives a non-zero code when the call must fail at once.
std::unique_lock<std::mutex> enter(const char *function, long &rc);
// For writers: waits while another thread holds a transaction. False after the timeout.
bool waitWriteGate(std::unique_lock<std::mutex> &lock);

#define SDK_ENTER(lockName)                                                                \
    long sdkEnterResult_ = 0;                                                              \
    auto lockName = sdk::enter(__func__, sdkEnterResult_);                                 \
    if (sdkEnterResult_ != 0)                                                              \
        return sdkEnterResult_;

#define SDK_WRITE_GATE(lockName)                                                           \
    if (!sdk::waitWriteGate(lockName))                                                     \
        return UTPS_E_BUSY;

// Storage rules.
int memoryOfPosition(int position);  // -1 when the position holds no messages
bool validMemory(int memory);
long storageAvailable(int memory);   // 0, UTPS_E_NO_DEVICE, UTPS_E_NO_SIM
long storageReadable(int memory, bool probe);
int fullStatusCode(int memory);
int inboxOf(int memory);

// Stores m (id assigned) in m.mem, refusing at capacity; sends "full" events. Lock held.
long storeNew(Message &m);
// Stored messages of memory (cached), -1 on a database error.
int usedCount(int memory);
// Removes a message and keeps the cached count in step: 1 removed, 0 none, -1 error.
int removeStored(int memory, int id);
void forgetCaches();
void checkFull(int memory);

// Modem state helpers (lock held).
bool canSendNow();
void announceCanSend();     // event 2 CAN/CANNOT_SEND when it changed

// Events. post* may be called with the lock held; delivery happens on the event thread.
enum class Channel { Sms, PhoneBook, Device };
void startEvents();
void stopEvents();          // lock NOT held; drops pending events
bool onEventThread();
void postTask(std::function<void()> task, int delayMs = 0);
void postRecordEvent(int event, const Message &m);
void postStatusEvent(int status, int memory);
void postSimpleEvent(Channel channel, int event);
void deliver(Channel channel, int event, void *data);   // event thread, lock NOT held
void clearRegistrations();
long waitEventsIdle(int timeoutMs);

// Sending.
void cancelAllJobs();       // lock held (reset/shutdown)

// Utilities.
std::u16string fromUtf8(const char *s);
std::string toUtf8(const std::u16string &s);
std::u16string fromWide(const UTPS_WCHAR *s);
// Now as "yyyyMMddhhmmss", local time; the reference stays valid on this thread until the next call.
const std::u16string &timeNow();
bool numbersMatch(const std::u16string &a, const std::u16string &b);
std::vector<std::u16string> splitRecipients(const std::u16string &numbers);
int segmentCount(const std::u16string &text);
void warn(const std::string &text);
void loadSettings();        // lock held
bool saveSetting(const char *key, const std::string &value); // false (logged) on failure
// Writes the demo messages in one transaction (or into the caller's open one): all or
// nothing. Marks the database as seeded. Lock held.
bool seedDemo();

// The database (StoreState.cpp), lock held. openStore opens it, finishes an interrupted
// first start and reloads what the SDK caches; retryStore tries that again (at most once
// a second) while it is closed.
bool openStore();
void retryStore();

} // namespace sdk
