// SPDX-License-Identifier: GPL-3.0-or-later
// Built without libmm-glib: only the simulator exists, and asking for ModemManager says so.
#include "../MmBackend.h"
#include "sdk_backend.h"

#include <cstring>

namespace sdk::mm {

bool active() { return false; }
bool simulatorOnly(const char *) { return false; }
void syncState() {}
long count(int, int &) { return UTPS_E_FAILED; }
long ids(int, std::vector<int> &) { return UTPS_E_FAILED; }
long get(int, int, Message &) { return UTPS_E_FAILED; }
long save(std::unique_lock<std::mutex> &, Message &) { return UTPS_E_FAILED; }
long update(const Message &) { return UTPS_E_FAILED; }
long remove(std::unique_lock<std::mutex> &, int, int) { return UTPS_E_FAILED; }
void transactionEnded(std::unique_lock<std::mutex> &, bool) {}
long unlock(std::unique_lock<std::mutex> &, const std::string &, const std::string &) { return UTPS_E_FAILED; }
long enable(std::unique_lock<std::mutex> &) { return UTPS_E_FAILED; }
bool enabled() { return true; }
long send(const _UTPS_ST_SMS_RECORD &) { return UTPS_E_FAILED; }
long cancel(int) { return UTPS_E_FAILED; }

} // namespace sdk::mm

extern "C" {

long SdkBackend_Select(const char *choice, char *error, int errorLength)
{
    if (!choice || std::strcmp(choice, "simulator") == 0)
        return UTPS_OK;
    const char *why = "This build of dialcrest has no ModemManager support (libmm-glib was "
                      "missing when it was built); only the simulated modem is available.";
    if (error && errorLength > 0) {
        std::strncpy(error, why, size_t(errorLength) - 1);
        error[errorLength - 1] = '\0';
    }
    return UTPS_E_NO_DEVICE;
}

int SdkBackend_Current(void)
{
    return SDK_BACKEND_SIMULATOR;
}

long SdkBackend_ListModems(SdkModemInfo *, int, int *count)
{
    if (!count)
        return UTPS_E_INVALID_ARG;
    *count = 0;
    return UTPS_E_NO_DEVICE;
}

long SdkBackend_UseModem(const char *identity)
{
    return identity && *identity ? UTPS_E_NO_DEVICE : UTPS_E_INVALID_ARG;
}

} // extern "C"
