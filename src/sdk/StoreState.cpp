// SPDX-License-Identifier: GPL-3.0-or-later
// The message database's condition: opening it (and again while it cannot be used),
// finishing an interrupted first start, free record slots, and what the SDK reports.
#include "SdkInternal.h"

#include <algorithm>
#include <filesystem>

namespace sdk {

namespace {
constexpr auto kRetryInterval = std::chrono::seconds(1);

std::u16string pathText(const std::string &path)
{
    return fromUtf8(path.c_str());
}

UTPS_WCHAR *duplicate(const std::u16string &text)
{
    auto *out = new UTPS_WCHAR[text.size() + 1];
    std::copy(text.begin(), text.end(), out);
    out[text.size()] = 0;
    return out;
}
} // namespace

bool openStore()
{
    State &s = state();
    s.lastStoreTry = Clock::now();
    std::error_code ec;
    std::filesystem::create_directories(s.dataDir + "/log", ec);
    if (ec)
        warn("cannot create the data folder " + s.dataDir + ": " + ec.message());
    bool created = false;
    std::string aside;
    const bool opened = s.store.open(s.dataDir + "/sdk.db", created, aside);
    if (!aside.empty())
        s.movedAside = aside;
    if (!opened)
        return false;
    forgetCaches();
    loadSettings();
    if (s.store.setting("seeded", "") == "pending") {
        if (demoSeedEnabled())
            seedDemo();
        else
            s.store.setSetting("seeded", "off"); // started without demo data on purpose
    }
    return true;
}

void retryStore()
{
    State &s = state();
    if (s.store.isOpen() || Clock::now() - s.lastStoreTry < kRetryInterval)
        return;
    if (openStore())
        warn("the database can be used again");
}

void Slots::load(const std::vector<int> &ids)
{
    taken.assign(ids.empty() ? 0 : size_t(ids.back()) + 1, false);
    for (int id : ids)
        if (id >= 0)
            taken[size_t(id)] = true;
    lowest = 0;
    loaded = true;
}

int Slots::lowestFree()
{
    while (lowest < taken.size() && taken[lowest])
        ++lowest;
    return int(lowest);
}

void Slots::take(int id)
{
    if (!loaded || id < 0)
        return;
    if (size_t(id) >= taken.size())
        taken.resize(size_t(id) + 1, false);
    taken[size_t(id)] = true;
}

void Slots::release(int id)
{
    if (!loaded || id < 0 || size_t(id) >= taken.size())
        return;
    taken[size_t(id)] = false;
    lowest = std::min(lowest, size_t(id));
}

} // namespace sdk

using namespace sdk;

extern "C" {

long UTPS_SMSSrv_GetStoreState(int *storeState, UTPS_WCHAR **path, UTPS_WCHAR **aside)
{
    SDK_ENTER(lock);
    if (!storeState)
        return UTPS_E_INVALID_ARG;
    State &s = state();
    // A store that failed to write is probed with a small write (never inside someone's
    // batch), so that the answer turns Ok once the disk has room or the folder is writable.
    if (s.store.isOpen() && s.store.condition() != Condition::Ok && !s.txOpen
        && Clock::now() - s.lastStoreTry >= kRetryInterval) {
        s.lastStoreTry = Clock::now();
        s.store.setSetting("store_probe", toUtf8(timeNow()));
        if (s.store.condition() == Condition::Ok)
            forgetCaches(); // what a failed write left cached is read again
    }
    *storeState = int(s.store.condition());
    if (path)
        *path = duplicate(pathText(s.dataDir + "/sdk.db"));
    if (aside)
        *aside = s.movedAside.empty() ? nullptr : duplicate(pathText(s.movedAside));
    return UTPS_OK;
}

} // extern "C"
