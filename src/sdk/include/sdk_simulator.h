// SPDX-License-Identifier: GPL-3.0-or-later
/*
 * sdk_simulator.h - control of the modem simulator behind the device SDK.
 *
 * Not part of the UTPS_ API: tests and the host's Modem menu use it to put the simulated
 * modem into every state the SMS module reacts to. Plain C; strings here are UTF-8.
 * Every function returns a long result code of utps_sdk.h (0 = success). State changes
 * that a real modem would announce produce the same events (event 2 codes, 6014, 20302,
 * 20303) on the SDK's event thread.
 *
 * Defaults after start-up or SimCtl_Reset: device plugged and ready, SIM inserted (PIN
 * state 1), network registered, radio on, sending possible, product WCDMA, SIM type USIM,
 * no multi-mode card, receive storage PC, capacities PC 100000 / SIM 50 / device 300,
 * own number "+15550100", send delay 20 ms per segment, every send succeeds.
 * Simulator state other than the stored messages, contacts, SMS settings, capacities and
 * receive storage is not persisted.
 */
#ifndef SDK_SIMULATOR_H
#define SDK_SIMULATOR_H

#include "utps_sdk.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Answer of the calls that act on the simulated modem while the SDK talks to a real one
 * (sdk_backend.h). */
#define SIMCTL_E_NOT_AVAILABLE 40L

/* Storage argument of the inject calls: the receive storage set below. */
#define SIMCTL_RECEIVE_STORAGE (-1)

/* ---- Lifecycle --------------------------------------------------------------------- */
/* Drops all state: undoes an open transaction, stops the event thread (pending events are
 * dropped), forgets every callback registration, deletes the database of the current data
 * folder and restores the defaults. The next SDK call starts afresh (re-reading
 * $DIALCREST_HOME, seeding the demo data unless disabled). Not from a callback. */
UTPS_API long SimCtl_Reset(void);
/* Stops the event thread (pending events dropped), forgets callback registrations and
 * closes the database, keeping the data: the next call reopens it, like a restart of the
 * process. Not from a callback. */
UTPS_API long SimCtl_Shutdown(void);
/* Waits until no event is queued, no send is in progress and no callback runs (up to
 * timeoutMs; UTPS_E_BUSY on timeout). Not from a callback. */
UTPS_API long SimCtl_WaitIdle(int timeoutMs);
/* Demo data (realistic messages in every folder) is written when a new database is
 * created, unless disabled here or by the environment variable DIALCREST_NO_DEMO=1.
 * The setting lasts for the process (it survives SimCtl_Reset). */
UTPS_API long SimCtl_SetDemoSeed(int enabled);
/* Writes the demo messages now, into whatever is stored already. */
UTPS_API long SimCtl_SeedDemo(void);

/* ---- Incoming traffic -------------------------------------------------------------- */
/* A message arrives: stored in the inbox of storage (a _UTPS_EN_SMS_MEM, or
 * SIMCTL_RECEIVE_STORAGE) unread, then announced with event 1. time "yyyyMMddhhmmss" or
 * NULL for now. msgClass 0 is announced (position of the inbox, id -1) and not stored.
 * *id (may be NULL) receives the new id (-1 for class 0). Full storage: UTPS_E_STORAGE_FULL,
 * event 2 with its full code, nothing announced. No device: UTPS_E_NO_DEVICE; SIM storage
 * without SIM: UTPS_E_NO_SIM. */
UTPS_API long SimCtl_InjectMessage(int storage, const char *sender, const char *text, const char *time,
                                   int msgClass, int *id);
/* A status report arrives in the PC report box (position 5, message type 1): status 0
 * delivered, other failed; text may be NULL (empty). Announced with event 1. */
UTPS_API long SimCtl_InjectStatusReport(const char *recipient, int status, const char *text, int *id);
/* A cell broadcast arrives in the PC cell-broadcast box (position 10); announced with event 1. */
UTPS_API long SimCtl_InjectCellBroadcast(const char *channel, const char *text, int *id);
/* The modem deletes a stored message by itself: removed and announced with event 5. */
UTPS_API long SimCtl_DeviceDeleteMsg(int memory, int id);

/* ---- Device, SIM, network ---------------------------------------------------------- */
/* Insert (1) or remove (0) the SIM. Insert: event 2 SIM_OK, 20303, 6016, and CAN_SEND when
 * sending becomes possible. Remove: event 2 SIM_NOT_AVAILABLE (and CANNOT_SEND). */
UTPS_API long SimCtl_SetSimInserted(int inserted);
/* Plug (1) or unplug (0) the modem. Plug: 6014, event 2 READY, SIM_OK when a SIM is in,
 * CAN_SEND. Unplug: event 2 DEVICE_NOT_AVAILABLE (and CANNOT_SEND). */
UTPS_API long SimCtl_SetDevicePlugged(int plugged);
/* The storage cannot be read (UTPS_E_NOT_READY from its count, id list and reads) for the
 * next probes calls of UTPS_SMSSrv_SMSRecordSetGetRecordCount on it, or for durationMs
 * milliseconds, whichever lasts longer (0 and 0 makes it readable at once). */
UTPS_API long SimCtl_SetStorageUnreadable(int memory, int probes, int durationMs);
/* Network registration (service status 2 vs 0). */
UTPS_API long SimCtl_SetNetworkRegistered(int registered);
/* Flight mode: radio switch off (soft switch 0), no service. */
UTPS_API long SimCtl_SetFlightMode(int on);
/* The modem's own "can send" state besides network and radio. Every change of the overall
 * ability to send produces event 2 CAN_SEND_SMS / CANNOT_SEND_SMS. */
UTPS_API long SimCtl_SetCanSend(int canSend);
/* PIN state as UTPS_DevSrv_GetPinStatus reports it, with the remaining attempts. While it
 * is neither 1 nor 8 the SIM storage is not readable; a change between usable and not
 * usable sends event 2 SIM_OK / SIM_NOT_AVAILABLE. */
UTPS_API long SimCtl_SetPinState(int state, int pinAttempts, int pukAttempts);
/* What UTPS_DevSrv_GetProductType (UTPS_PRODUCT_*), GetSimType (UTPS_SIMTYPE_*) and
 * GetMultiModeCardStatus answer from now on. No event. */
UTPS_API long SimCtl_SetProductType(int type);
UTPS_API long SimCtl_SetSimType(int type);
UTPS_API long SimCtl_SetMultiModeCard(int multiMode);
/* Sends an arbitrary event-2 status code (for states the simulator has no model of). */
UTPS_API long SimCtl_RaiseStatus(int status, int memory);

/* ---- Sending outcomes -------------------------------------------------------------- */
/* Segments to numbers matching pattern (shell wildcard: "*", "?", "[...]", e.g. "+44*")
 * get status result (0 = sent). Later scripts win over earlier ones. */
UTPS_API long SimCtl_ScriptSendOutcome(const char *pattern, long result);
UTPS_API long SimCtl_ClearSendScript(void);
/* Unscripted segments fail with probability rate (0..1), from a generator seeded with seed. */
UTPS_API long SimCtl_SetSendFailureRate(double rate, unsigned int seed);
/* Time each segment takes to go out, in milliseconds (0 = immediately, still asynchronous). */
UTPS_API long SimCtl_SetSendDelay(int ms);
/* Messages sent to this number (with or without country prefix) come back as received. */
UTPS_API long SimCtl_SetOwnNumber(const char *number);

/* ---- Storage ----------------------------------------------------------------------- */
/* Capacity of memory (persisted). Lowering it below what is stored keeps the messages. */
UTPS_API long SimCtl_SetCapacity(int memory, int capacity);
/* Where received messages go: UTPS_SMS_MEM_PC, _SIM or _DEVICE (persisted). */
UTPS_API long SimCtl_SetReceiveStorage(int memory);
UTPS_API long SimCtl_GetReceiveStorage(int *memory);

/* ---- Fault injection --------------------------------------------------------------- */
/* The next count calls of the SDK function named function (e.g. "UTPS_SMSSrv_GetMsg")
 * fail with result (0 stands for UTPS_E_FAILED) without doing anything. For UTPS_SMSSrv_EndTransaction the
 * injected failure is a failed commit: the bracket closes and the batch is rolled back.
 * count 0 clears it. */
UTPS_API long SimCtl_FailNextCalls(const char *function, int count, long result);
UTPS_API long SimCtl_ClearFaults(void);

/* ---- Phone book (shared with the host's address book) ------------------------------- */
typedef struct SimCtlContact {
    int id;
    char *name;   /* UTF-8 */
    char *number; /* UTF-8 */
} SimCtlContact;
/* Adds a contact; *id (may be NULL) receives its id. Announced with event 20302. */
UTPS_API long SimCtl_AddContact(const char *name, const char *number, int *id);
/* Removes a contact (UTPS_E_NOT_FOUND when unknown). Announced with event 20302. */
UTPS_API long SimCtl_RemoveContact(int id);
/* Every contact, by id. *contacts receives an SDK-owned array released with
 * SimCtl_ReleaseContacts(&contacts, count); NULL when there are none. */
UTPS_API long SimCtl_ListContacts(SimCtlContact **contacts, int *count);
UTPS_API long SimCtl_ReleaseContacts(SimCtlContact **contacts, int count);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* SDK_SIMULATOR_H */
