// SPDX-License-Identifier: GPL-3.0-or-later
// What the ModemManager backend's units share. GLib objects of the current modem are
// created and dropped on the backend's own thread; other threads take a reference under
// the state lock before they call the modem with the lock released.
#pragma once

#include "MmBackend.h"

#include <libmm-glib.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>

namespace sdk::mm {

struct Entry
{
    std::string path;           // the message's object path at ModemManager
    Message msg;
    std::string identity;       // storage, sender, time stamp and text as ModemManager gave them
    bool pendingDelete = false; // deleted inside a transaction that has not committed yet
    // ModemManager dropped its list (modem disabled, gone, or the service restarted): the
    // path is dead, and the message is expected back under a new one with the same identity.
    bool stale = false;
};

struct Backend
{
    std::atomic<bool> selected{false}; // read by every SDK call, set once
    GMainContext *context = nullptr;
    GMainLoop *loop = nullptr;
    std::thread thread;
    GDBusConnection *connection = nullptr;
    MMManager *manager = nullptr;
    // Which modem: the wanted-th one listed (-1: the first), or the one whose equipment
    // identifier, device identifier or device is wantedIdentity. Once one is in use its
    // identity is kept, so a replug or a restart of ModemManager (which renumbers every
    // modem) finds the same modem again.
    int wanted = -1;
    std::string wantedIdentity;
    // The user unlocked the SIM: switch the modem on once ModemManager has finished setting
    // it up (it refuses an enable while the modem still counts as locked).
    std::atomic<bool> enableWhenDisabled{false};
    // Below: guarded by the state lock.
    std::string identity;                 // equipment identifier of the modem in use
    MMObject *object = nullptr;           // the modem in use, or null
    MMModemMessaging *messaging = nullptr; // its Messaging interface, or null
    bool listable = false;                 // its list is read and current
    std::map<int, Entry> entries[3];       // SIM and device messages by id
    int nextId = 0;                        // ids are ours: ModemManager's paths change
    int collectedStart = 0;                // the SDK start the modem was last collected for
};

Backend &backend();

// Backend thread: takes the modem to use now (the one in use while it is listed, else the
// one asked for) and drops the old one. switchTo: the identity the user chose instead.
void pickModem(const std::string &switchTo = {});
// A modem's identity: its device identifier, else equipment identifier, else device.
std::string identityOf(MMModem *modem);
bool hasIdentity(MMModem *modem, const std::string &identity);
// Backend thread: syncState() under the lock, once the SDK has started.
void refreshModemState();
// Lock held: the modem is enabled and has Messaging, so ModemManager holds its list.
bool canList();
// Backend thread: (re)reads every message of the modem into entries. Lock NOT held.
void relist();
// Lock held: ModemManager dropped its list; what is known waits to be listed again.
void markStale();
void connectMessaging(MMModemMessaging *messaging);

// A new reference to the Messaging interface, or null when the modem has none. Lock held.
MMModemMessaging *messagingRef();
// A message of the modem as the SDK's record (no id, memory or folder yet; no time when
// ModemManager gave none that can be read: settle() fills it in).
Message fromSms(MMSms *sms);
std::string identityOf(MMSms *sms, int memory);
// Lock held: the time of a message without a readable one (the first time it was seen,
// kept in the database) and its read flag.
void settle(Message &m);
int memoryOfStorage(MMSmsStorage storage);   // -1: not a storage the SDK shows
int idOfPath(const char *path);              // -1 when the path ends in no number
std::string readKey(const Message &m);
std::string hashKey(const char *prefix, int memory, const std::string &data);
void logError(const char *what, GError *error); // frees error
// ModemManager's refusal as the SDK's result (logged; frees error).
long resultOf(GError *error, const char *what);

} // namespace sdk::mm
