// SPDX-License-Identifier: GPL-3.0-or-later
/*
 * sdk_backend.h - which modem the device SDK talks to.
 *
 * Not part of the UTPS_ API. The SDK has two backends behind the same UTPS_ calls:
 *
 *   "simulator"       the embedded modem simulator (the default; sdk_simulator.h drives it)
 *   "modemmanager"    a real modem through ModemManager on the system D-Bus: the modem
 *                     ModemManager lists first (lowest modem number); when it is gone,
 *                     whichever is listed first then
 *   "modemmanager:N"  the N-th modem ModemManager lists (0: the first; N has 1-3 digits)
 *   "modemmanager:ID" the modem whose equipment identifier, device identifier or device is ID
 *
 * ModemManager renumbers a modem when it is plugged in again, on resume and when the
 * service restarts. The modem in use is remembered by its identity and found again; one
 * chosen by N or ID (or with SdkBackend_UseModem) is never replaced by another modem while
 * it is away. SdkBackend_ListModems and SdkBackend_UseModem below list the modems and
 * switch to another one at run time. A modem found
 * disabled when it is chosen is enabled (with a line on stderr).
 *
 * How the UTPS_ calls map onto ModemManager:
 *   - memory PC (0) stays the SDK's own SQLite database, on either backend;
 *   - memory SIM (1) is ModemManager's storage "sm", memory device (2) its storage "me"
 *     ("mt", both together, counts as the device). Ids are the SDK's own: ModemManager drops
 *     its list when the modem is disabled and reads the storages again under new paths
 *     when it is enabled, replugged or restarted; a message it announces again (same
 *     storage, sender, time stamp and text) keeps its id and is not announced as new.
 *     The storages answer UTPS_E_NOT_READY while the modem is not enabled.
 *   - received messages arrive with EVENT_SMS_ONRECEIVE once ModemManager has assembled
 *     every part; class-0 messages are announced and then removed from the modem; status
 *     reports are filed in the PC's report folder (position 5) and messages in a storage
 *     the SDK does not show (e.g. "unknown") in the PC inbox, then removed from the
 *     modem. Those waiting on the modem when the SDK starts are collected then.
 *   - a message without a readable time stamp gets the time it was first seen (kept in
 *     the database, so it does not change on every listing).
 *   - SendMsg is Create + Send per recipient, with the SDK's validity and delivery-report
 *     settings and its centre number only when one was set (else the SIM's is used);
 *     a send may take five minutes per part, as ModemManager allows; one that gets no
 *     answer in that time is reported UTPS_E_SEND_UNKNOWN (sdk_modem.h), not failed; one EVENT_SMS_ONSENDRESULT per recipient and segment
 *     (ModemManager sends every segment of a recipient at once, so they share its
 *     outcome), then the PC copy and EVENT_SMS_ONSAVESEND as on the simulator. Only
 *     recipients not yet handed to the modem can be cancelled.
 *   - SaveMsg of an outgoing message (positions 6, 8) into SIM or device is Create +
 *     Store. ModemManager cannot store a received message into another storage, so
 *     SaveMsg of an inbox record (positions 7, 9) answers UTPS_E_FAILED; UpdateMsg
 *     can change only the read flag there, anything else is UTPS_E_FAILED.
 *   - the read flag of SIM and device messages is kept in the SDK's database, keyed by
 *     storage, sender, time and text, so it survives a restart and a re-listing.
 *   - ModemManager reports no capacities: GetRecordInfo answers UTPS_E_FAILED for SIM
 *     and device (unknown), and "storage full" is announced only when the modem itself
 *     refuses a message with that error.
 *   - DeleteMsg / RemoveMsg of SIM or device messages inside a transaction take effect on
 *     the modem only when the transaction commits, so a move to the PC never deletes the
 *     modem's copy before the PC copy is committed; a rolled-back batch leaves it there.
 *   - modem present = ModemManager lists the modem; SIM present = the modem has a SIM
 *     object and is not failed for a missing SIM; PIN state from its lock; network
 *     registered = modem state "registered" or above; flight mode = power state "low";
 *     PIN and PUK attempts from its UnlockRetries (255 when unknown); sdk_modem.h unlocks.
 *     The storages of a modem without its Messaging interface (still starting, disabled)
 *     answer UTPS_E_NOT_READY.
 *   - numbers and texts from the network are untrusted: control characters (other than
 *     line breaks and tabs in the text) become U+FFFD, a number is cut to 64 units and a
 *     text to 10,000 (with a line on stderr).
 *   - the simulator controls of sdk_simulator.h that act on the modem answer
 *     SIMCTL_E_NOT_AVAILABLE; the lifecycle, fault-injection and contact calls still work.
 */
#ifndef SDK_BACKEND_H
#define SDK_BACKEND_H

#include "utps_sdk.h"

#ifdef __cplusplus
extern "C" {
#endif

#define SDK_BACKEND_SIMULATOR 0
#define SDK_BACKEND_MODEMMANAGER 1

/* Chooses the backend; call before any other SDK call. choice is one of the texts above
 * (NULL means "simulator"). On failure the SDK stays on the simulator, the result is
 * non-zero (UTPS_E_INVALID_ARG for an unknown choice, UTPS_E_NO_DEVICE when ModemManager
 * cannot be reached or the SDK was built without it) and error (may be NULL) receives a
 * NUL-terminated UTF-8 explanation for the user, cut to errorLength bytes. Waits at most
 * a few seconds. */
UTPS_API long SdkBackend_Select(const char *choice, char *error, int errorLength);

/* SDK_BACKEND_SIMULATOR or SDK_BACKEND_MODEMMANAGER. */
UTPS_API int SdkBackend_Current(void);

/* One modem ModemManager lists. */
typedef struct SdkModemInfo
{
    /* Stays the same across replugs, resumes and restarts of ModemManager: its device
     * identifier, else its equipment identifier, else its device. What SdkBackend_UseModem
     * and "modemmanager:ID" take. */
    char identity[128];
    /* For the user: manufacturer and model with the equipment identifier in brackets, or
     * whichever of those the modem gives (else its device); no control characters. */
    char label[256];
    int inUse; /* 1: the modem the SDK talks to now */
} SdkModemInfo;

/* The modems ModemManager lists now, in its order (lowest modem number first): up to
 * capacity of them into modems (may be NULL when capacity is 0), and how many there are
 * into *count. UTPS_E_NO_DEVICE on the simulator; UTPS_E_INVALID_ARG for a null count. */
UTPS_API long SdkBackend_ListModems(SdkModemInfo *modems, int capacity, int *count);

/* Switches to the modem with that identity (as listed). To the caller of the UTPS_ API it
 * looks like the old modem being unplugged (event 2 DEVICE_NOT_AVAILABLE) and the new one
 * plugged in (DEVICE_INIT_FINISH, READY, SIM_OK, ...): the SIM and device messages known
 * are the old modem's and are forgotten; the PC's are untouched. From then on the modem is
 * the one chosen, as with "modemmanager:ID": found again under a new number, never
 * replaced by another while it is away.
 * A switch while a message is being sent or a transaction is open would leave the send or
 * the batch half on one modem and half on the other: it is refused with UTPS_E_BUSY (try
 * again when it is done). 0: switched, or already in use; UTPS_E_NO_DEVICE: not on
 * ModemManager, or no modem listed has that identity; UTPS_E_INVALID_ARG: null or empty. */
UTPS_API long SdkBackend_UseModem(const char *identity);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* SDK_BACKEND_H */
