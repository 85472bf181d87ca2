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
    bool pendingDelete = false; // deleted inside a transaction that has not committed yet
};

struct Backend
{
    std::atomic<bool> selected{false}; // read by every SDK call, set once
    GMainContext *context = nullptr;
    GMainLoop *loop = nullptr;
    std::thread thread;
    GDBusConnection *connection = nullptr;
    MMManager *manager = nullptr;
    int wanted = -1;                      // modem number asked for; -1: the first one
    // Below: guarded by the state lock.
    MMObject *object = nullptr;           // the modem in use, or null
    MMModemMessaging *messaging = nullptr; // its Messaging interface, or null
    std::map<int, Entry> entries[3];       // SIM and device messages by id
};

Backend &backend();

// Backend thread: syncState() under the lock, once the SDK has started.
void refreshModemState();
// Backend thread: (re)reads every message of the modem into entries. Lock NOT held.
void relist();
void connectMessaging(MMModemMessaging *messaging);

// A new reference to the Messaging interface, or null when the modem has none. Lock held.
MMModemMessaging *messagingRef();
// A message of the modem as the SDK's record (no id, memory or folder yet).
Message fromSms(MMSms *sms);
int memoryOfStorage(MMSmsStorage storage);   // -1: not a storage the SDK shows
int idOfPath(const char *path);              // -1 when the path ends in no number
std::string readKey(const Message &m);
void logError(const char *what, GError *error); // frees error

} // namespace sdk::mm
