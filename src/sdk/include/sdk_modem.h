// SPDX-License-Identifier: GPL-3.0-or-later
/*
 * sdk_modem.h - what a real modem needs beyond the UTPS_ status calls: unlocking its SIM,
 * switching it on, and the answers only a real modem gives.
 */
#ifndef SDK_MODEM_H
#define SDK_MODEM_H

#include "utps_sdk.h"

#ifdef __cplusplus
extern "C" {
#endif

#define UTPS_E_SEND_UNKNOWN 16L   /* event 0 status: the modem gave no answer in time; it may still go out */
#define UTPS_E_WRONG_PIN 17L      /* the SIM refused the PIN or PUK */
#define UTPS_E_NOT_AUTHORIZED 18L /* the system does not let this user do that */

/* Status of the sent copy (event 3) when some part got no answer in time. */
#define UTPS_SEND_STATUS_UNKNOWN 2

/* SMS event (RegCallBack): a sent copy stored with UTPS_SEND_STATUS_UNKNOWN learned its
 * outcome because the modem answered late. data is the stored copy (iMsgId, iPos, every
 * field as GetMsg would give it) with its new iStatus: 0 every recipient has it, 1 some did
 * not. At most one per copy, after its event 3, and only while the copy still exists and is
 * still unknown. A copy whose modem went away before it answered stays unknown and gets
 * none: whether it went out cannot be known, and it is not sent again. */
#define EVENT_SMS_ONSENDSETTLED 6

/* UTPS_DevSrv_GetPinStatus gives 255 attempts when the SIM does not say. */
#define UTPS_PIN_ATTEMPTS_UNKNOWN 255

/* Unlocks the SIM: with its PIN while the PIN state is UTPS_PIN_STATE_PIN_REQUIRED, with its
 * PUK and a new PIN while it is UTPS_PIN_STATE_PUK_REQUIRED. One attempt per call, never
 * repeated by the SDK: every wrong code uses up one of the SIM's attempts. 0: unlocked (the
 * modem is then switched on and the SIM's storage opens with event 2 SIM_OK);
 * UTPS_E_WRONG_PIN: refused, GetPinStatus tells the attempts left; UTPS_E_NOT_READY: the SIM
 * does not ask for that code; UTPS_E_INVALID_ARG: not 4-8 digits (the PUK: 8 digits);
 * UTPS_E_NOT_AUTHORIZED: the system does not let this user unlock it. Waits for the modem.
 * The simulated SIM's PIN is 1234 and its PUK 12345678. */
UTPS_API long UTPS_DevSrv_VerifyPin(const UTPS_WCHAR *pin);
UTPS_API long UTPS_DevSrv_VerifyPuk(const UTPS_WCHAR *puk, const UTPS_WCHAR *newPin);

/* *enabled receives 1 when the modem is switched on (always, on the simulator). */
UTPS_API long UTPS_DevSrv_GetModemEnabled(int *enabled);
/* Switches a modem that is off (disabled) on. UTPS_E_NOT_AUTHORIZED when the system does
 * not let this user; UTPS_E_NOT_READY while its SIM is locked or missing. */
UTPS_API long UTPS_DevSrv_EnableModem(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* SDK_MODEM_H */
