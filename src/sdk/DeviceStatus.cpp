// SPDX-License-Identifier: GPL-3.0-or-later
// Device, SIM, radio and network status as the simulated modem reports them.
#include "SdkInternal.h"
#include "mm/MmBackend.h"

#include <algorithm>

using namespace sdk;

namespace {

// The digits of a PIN (4 to 8) or PUK (exactly 8); empty when it is not one.
std::string code(const UTPS_WCHAR *text, bool puk)
{
    const std::string digits = toUtf8(fromWide(text));
    const bool ok = digits.size() >= (puk ? 8u : 4u) && digits.size() <= 8
                    && digits.find_first_not_of("0123456789") == std::string::npos;
    return ok ? digits : std::string();
}

// Lock held. The simulated SIM: a wrong PIN uses an attempt, the last one asks for the PUK;
// the last wrong PUK blocks the card.
long simulateUnlock(const std::string &puk, const std::string &pin)
{
    State &s = state();
    const bool withPuk = !puk.empty();
    if (s.pinState != (withPuk ? UTPS_PIN_STATE_PUK_REQUIRED : UTPS_PIN_STATE_PIN_REQUIRED))
        return UTPS_E_NOT_READY;
    if (withPuk ? puk != s.pukCode : pin != s.pinCode) {
        int &left = withPuk ? s.pukAttempts : s.pinAttempts;
        left = std::max(0, left - 1);
        if (left == 0)
            s.pinState = withPuk ? UTPS_PIN_STATE_BLOCKED : UTPS_PIN_STATE_PUK_REQUIRED;
        return UTPS_E_WRONG_PIN;
    }
    if (withPuk) {
        s.pinCode = pin;
        s.pukAttempts = 10;
    }
    s.pinAttempts = 3;
    s.pinState = UTPS_PIN_STATE_READY;
    if (s.devicePlugged && s.simInserted)
        postStatusEvent(UTPS_SMS_STATUS_SIM_OK, UTPS_SMS_MEM_SIM);
    announceCanSend();
    return UTPS_OK;
}

long unlock(std::unique_lock<std::mutex> &lock, const std::string &puk, const std::string &pin)
{
    if (!state().devicePlugged)
        return UTPS_E_NO_DEVICE;
    if (!state().simInserted)
        return UTPS_E_NO_SIM;
    return mm::active() ? mm::unlock(lock, puk, pin) : simulateUnlock(puk, pin);
}

} // namespace

extern "C" {

long UTPS_DevSrv_VerifyPin(const UTPS_WCHAR *pin)
{
    SDK_ENTER(lock);
    const std::string digits = code(pin, false);
    if (digits.empty())
        return UTPS_E_INVALID_ARG;
    return unlock(lock, {}, digits);
}

long UTPS_DevSrv_VerifyPuk(const UTPS_WCHAR *puk, const UTPS_WCHAR *newPin)
{
    SDK_ENTER(lock);
    const std::string pukDigits = code(puk, true);
    const std::string pinDigits = code(newPin, false);
    if (pukDigits.size() != 8 || pinDigits.empty())
        return UTPS_E_INVALID_ARG;
    return unlock(lock, pukDigits, pinDigits);
}

long UTPS_DevSrv_GetModemEnabled(int *enabled)
{
    SDK_ENTER(lock);
    if (!enabled)
        return UTPS_E_INVALID_ARG;
    if (!state().devicePlugged)
        return UTPS_E_NO_DEVICE;
    *enabled = mm::active() ? mm::enabled() : 1;
    return UTPS_OK;
}

long UTPS_DevSrv_EnableModem(void)
{
    SDK_ENTER(lock);
    if (!state().devicePlugged)
        return UTPS_E_NO_DEVICE;
    return mm::active() ? mm::enable(lock) : UTPS_OK;
}


long UTPS_DevSrv_GetDevStatus(int *status)
{
    SDK_ENTER(lock);
    if (!status)
        return UTPS_E_INVALID_ARG;
    *status = state().devicePlugged ? UTPS_DEV_STATUS_READY : UTPS_DEV_STATUS_ABSENT;
    return UTPS_OK;
}

long UTPS_DevSrv_GetPinStatus(int reserved, int *state_, unsigned char *pinAttempts,
                              unsigned char *pukAttempts, unsigned char *pin2Attempts)
{
    SDK_ENTER(lock);
    if (reserved != 0 || !state_)
        return UTPS_E_INVALID_ARG;
    const State &s = state();
    if (!s.devicePlugged)
        return UTPS_E_NO_DEVICE;
    *state_ = s.simInserted ? s.pinState : UTPS_PIN_STATE_NO_SIM;
    if (pinAttempts)
        *pinAttempts = static_cast<unsigned char>(s.pinAttempts);
    if (pukAttempts)
        *pukAttempts = static_cast<unsigned char>(s.pukAttempts);
    if (pin2Attempts)
        *pin2Attempts = 3;
    return UTPS_OK;
}

long UTPS_DevSrv_GetSimStatus(_UTPS_EN_SIMSTATE *simState)
{
    SDK_ENTER(lock);
    if (!simState)
        return UTPS_E_INVALID_ARG;
    const State &s = state();
    if (!s.devicePlugged)
        return UTPS_E_NO_DEVICE;
    if (!s.simInserted || s.pinState == UTPS_PIN_STATE_NO_SIM)
        *simState = UTPS_SIMSTATE_ABSENT;
    else if (s.pinState == UTPS_PIN_STATE_PIN_REQUIRED)
        *simState = UTPS_SIMSTATE_PIN_REQUIRED;
    else if (s.pinState == UTPS_PIN_STATE_PUK_REQUIRED)
        *simState = UTPS_SIMSTATE_PUK_REQUIRED;
    else if (s.pinState == UTPS_PIN_STATE_BLOCKED)
        *simState = UTPS_SIMSTATE_BLOCKED;
    else
        *simState = UTPS_SIMSTATE_READY;
    return UTPS_OK;
}

long UTPS_DevSrv_GetSimType(int *type)
{
    SDK_ENTER(lock);
    if (!type)
        return UTPS_E_INVALID_ARG;
    const State &s = state();
    if (!s.devicePlugged)
        return UTPS_E_NO_DEVICE;
    if (!s.simInserted)
        return UTPS_E_NO_SIM;
    *type = s.simType;
    return UTPS_OK;
}

long UTPS_DevSrv_GetProductType(int *type)
{
    SDK_ENTER(lock);
    if (!type)
        return UTPS_E_INVALID_ARG;
    if (!state().devicePlugged)
        return UTPS_E_NO_DEVICE;
    *type = state().productType;
    return UTPS_OK;
}

long UTPS_DevSrv_GetRFSwitch(_UTPS_ST_RF_SWITCH *rf)
{
    SDK_ENTER(lock);
    if (!rf)
        return UTPS_E_INVALID_ARG;
    if (!state().devicePlugged)
        return UTPS_E_NO_DEVICE;
    rf->iSoftSwitch = state().flightMode ? 0 : 1;
    rf->iHardSwitch = 1;
    return UTPS_OK;
}

long UTPS_DevSrv_GetMultiModeCardStatus(int *multiMode, int reserved1, int reserved2)
{
    SDK_ENTER(lock);
    if (!multiMode || reserved1 != 0 || reserved2 != 0)
        return UTPS_E_INVALID_ARG;
    if (!state().devicePlugged)
        return UTPS_E_NO_DEVICE;
    *multiMode = state().multiMode;
    return UTPS_OK;
}

long UTPS_NetSrv_GetSrvStatus(int *status)
{
    SDK_ENTER(lock);
    if (!status)
        return UTPS_E_INVALID_ARG;
    const State &s = state();
    if (!s.devicePlugged)
        return UTPS_E_NO_DEVICE;
    const bool registered = s.simInserted && s.networkRegistered && !s.flightMode;
    *status = registered ? UTPS_SRV_STATUS_FULL : UTPS_SRV_STATUS_NONE;
    return UTPS_OK;
}

} // extern "C"
