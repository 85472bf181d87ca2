// SPDX-License-Identifier: GPL-3.0-or-later
// The modem's SMS settings (persisted in the database) and the log folder.
#include "SdkInternal.h"
#include "mm/MmBackend.h"

#include <algorithm>
#include <filesystem>

namespace sdk {

void loadSettings()
{
    State &s = state();
    Store &st = s.store;
    auto number = [&](const char *key, int fallback) {
        try {
            return std::stoi(st.setting(key, std::to_string(fallback)));
        } catch (...) {
            return fallback;
        }
    };
    s.capacity[0] = number("capacity_0", 100000);
    s.capacity[1] = number("capacity_1", 50);
    s.capacity[2] = number("capacity_2", 300);
    s.receiveStorage = number("receive_storage", UTPS_SMS_MEM_PC);
    if (!validMemory(s.receiveStorage))
        s.receiveStorage = UTPS_SMS_MEM_PC;
    const std::string centre = st.setting("centre_number", "");
    s.centreChosen = !centre.empty();
    s.centreNumber = fromUtf8(s.centreChosen ? centre.c_str() : "+15550199");
    s.validity = number("validity", 2592000);
    s.priority = number("priority", UTPS_SMS_PRIORITY_NORMAL);
    s.receipt = number("receipt", 0);
}

bool saveSetting(const char *key, const std::string &value)
{
    if (state().store.setSetting(key, value))
        return true;
    warn(std::string("cannot save the setting ") + key);
    return false;
}

} // namespace sdk

using namespace sdk;

extern "C" {

long UTPS_SMSSrv_GetSMSCentreNumber(int *type, UTPS_WCHAR *buffer, int length)
{
    SDK_ENTER(lock);
    if (!type || !buffer || length <= 0)
        return UTPS_E_INVALID_ARG;
    // A real modem sends through the SIM's own centre unless the user chose one: the
    // simulator's made-up default is not shown there, as nothing would be delivered to it.
    static const std::u16string none;
    const std::u16string &n = mm::active() && !state().centreChosen ? none : state().centreNumber;
    if (int(n.size()) + 1 > length)
        return UTPS_E_BUFFER_TOO_SMALL;
    std::copy(n.begin(), n.end(), buffer);
    buffer[n.size()] = 0;
    *type = !n.empty() && n[0] == u'+' ? 145 : 129;
    return UTPS_OK;
}

long UTPS_SMSSrv_SetSMSCentreNumber(const UTPS_WCHAR *number)
{
    SDK_ENTER(lock);
    const std::u16string n = fromWide(number);
    if (n.empty() || n.size() > 20)
        return UTPS_E_INVALID_ARG;
    for (size_t i = 0; i < n.size(); ++i) {
        const bool ok = (n[i] >= u'0' && n[i] <= u'9') || (n[i] == u'+' && i == 0);
        if (!ok)
            return UTPS_E_INVALID_ARG;
    }
    SDK_WRITE_GATE(lock);
    if (!saveSetting("centre_number", toUtf8(n)))
        return UTPS_E_DATABASE;
    state().centreNumber = n;
    state().centreChosen = true;
    return UTPS_OK;
}

long UTPS_SMSSrv_GetSMSValidityPeriod(int *seconds)
{
    SDK_ENTER(lock);
    if (!seconds)
        return UTPS_E_INVALID_ARG;
    *seconds = state().validity;
    return UTPS_OK;
}

long UTPS_SMSSrv_SetSMSValidityPeriod(int seconds)
{
    SDK_ENTER(lock);
    if (seconds < 300 || seconds > 63072000)
        return UTPS_E_INVALID_ARG;
    SDK_WRITE_GATE(lock);
    if (!saveSetting("validity", std::to_string(seconds)))
        return UTPS_E_DATABASE;
    state().validity = seconds;
    return UTPS_OK;
}

long UTPS_SMSSrv_SMSGetPriority(_UTPS_EN_SMS_PRIORITY *priority)
{
    SDK_ENTER(lock);
    if (!priority)
        return UTPS_E_INVALID_ARG;
    *priority = static_cast<_UTPS_EN_SMS_PRIORITY>(state().priority);
    return UTPS_OK;
}

long UTPS_SMSSrv_SMSSetPriority(_UTPS_EN_SMS_PRIORITY priority)
{
    SDK_ENTER(lock);
    if (priority != UTPS_SMS_PRIORITY_NORMAL && priority != UTPS_SMS_PRIORITY_URGENT
        && priority != UTPS_SMS_PRIORITY_EMERGENCY && priority != UTPS_SMS_PRIORITY_NONE)
        return UTPS_E_INVALID_ARG;
    SDK_WRITE_GATE(lock);
    if (!saveSetting("priority", std::to_string(int(priority))))
        return UTPS_E_DATABASE;
    state().priority = priority;
    return UTPS_OK;
}

long UTPS_SMSSrv_GetSMSReceiptNotify(int *on)
{
    SDK_ENTER(lock);
    if (!on)
        return UTPS_E_INVALID_ARG;
    *on = state().receipt;
    return UTPS_OK;
}

long UTPS_SMSSrv_SetSMSReceiptNotify(int on)
{
    SDK_ENTER(lock);
    SDK_WRITE_GATE(lock);
    if (!saveSetting("receipt", on ? "1" : "0"))
        return UTPS_E_DATABASE;
    state().receipt = on ? 1 : 0;
    return UTPS_OK;
}

long UTPS_GetLogDirectory(UTPS_WCHAR **directory)
{
    SDK_ENTER(lock);
    if (!directory)
        return UTPS_E_INVALID_ARG;
    const std::string dir = state().dataDir + "/log/";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const std::u16string text = fromUtf8(dir.c_str());
    *directory = new UTPS_WCHAR[text.size() + 1];
    std::copy(text.begin(), text.end(), *directory);
    (*directory)[text.size()] = 0;
    return UTPS_OK;
}

} // extern "C"
