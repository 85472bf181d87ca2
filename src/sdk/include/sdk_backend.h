// SPDX-License-Identifier: GPL-3.0-or-later
/*
 * sdk_backend.h - which modem the device SDK talks to.
 *
 * Not part of the UTPS_ API. The SDK has two backends behind the same UTPS_ calls:
 *
 *   "simulator"       the embedded modem simulator (the default; sdk_simulator.h drives it)
 *   "modemmanager"    a real modem through ModemManager on the system D-Bus: the modem
 *                     ModemManager lists first (lowest modem number)
 *   "modemmanager:N"  ModemManager's modem N, the number `mmcli -L` shows after "Modem/"
 *
 * How the UTPS_ calls map onto ModemManager:
 *   - memory PC (0) stays the SDK's own SQLite database, on either backend;
 *   - memory SIM (1) is ModemManager's storage "sm", memory device (2) its storage "me"
 *     ("mt", both together, counts as the device). Ids are the number at the end of the
 *     message's D-Bus object path; they are stable while ModemManager runs.
 *   - received messages arrive with EVENT_SMS_ONRECEIVE once ModemManager has assembled
 *     every part; class-0 messages are announced and not kept; status reports are filed
 *     in the PC's report folder (position 5) and then removed from the modem.
 *   - SendMsg is Create + Send per recipient, with the SDK's validity, delivery-report
 *     and centre-number settings; one EVENT_SMS_ONSENDRESULT per recipient and segment
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
 *     registered = modem state "registered" or above; flight mode = power state "low".
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

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* SDK_BACKEND_H */
