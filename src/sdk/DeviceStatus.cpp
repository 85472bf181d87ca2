// SPDX-License-Identifier: GPL-3.0-or-later
// Device, SIM, radio and network status as the simulated modem reports them.
#include "SdkInternal.h"

using namespace sdk;

extern "C" {

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
