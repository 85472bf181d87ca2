// SPDX-License-Identifier: GPL-3.0-or-later
// Which modems ModemManager lists, and switching from the one in use to another.
#include "MmInternal.h"
#include "sdk_backend.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <future>
#include <vector>

namespace sdk::mm {

namespace {

// Text from the modem for a menu: without control characters, which a label cannot show.
std::string printable(const char *text)
{
    std::string out;
    for (const char *c = text ? text : ""; *c; ++c) {
        if (static_cast<unsigned char>(*c) >= 0x20 && *c != 0x7f)
            out += *c;
    }
    return out;
}

std::string labelOf(MMModem *modem)
{
    std::string name = printable(mm_modem_get_manufacturer(modem));
    const std::string model = printable(mm_modem_get_model(modem));
    if (!model.empty())
        name += (name.empty() ? "" : " ") + model;
    const std::string equipment = printable(mm_modem_get_equipment_identifier(modem));
    if (!equipment.empty())
        name = name.empty() ? equipment : name + " (" + equipment + ")";
    return name.empty() ? printable(mm_modem_get_device(modem)) : name;
}

void copyText(char *to, size_t size, const std::string &text)
{
    // Cut on a character boundary: a label cut inside a UTF-8 sequence would not decode.
    size_t n = std::min(text.size(), size - 1);
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xc0) == 0x80)
        --n;
    std::memcpy(to, text.data(), n);
    to[n] = '\0';
}

// Runs work on the backend's thread, where the modem's GLib objects live, and waits for it.
// Never with the state lock held: work takes it.
void onBackend(Backend &b, const std::function<void()> &work)
{
    if (g_main_context_is_owner(b.context)) {
        work();
        return;
    }
    struct Call
    {
        const std::function<void()> *work;
        std::promise<void> done;
    } call{&work, {}};
    std::future<void> finished = call.done.get_future();
    g_main_context_invoke(b.context, [](gpointer data) -> gboolean {
        auto *c = static_cast<Call *>(data);
        (*c->work)();
        c->done.set_value();
        return G_SOURCE_REMOVE;
    }, &call);
    finished.wait();
}

// Backend thread: the modems listed, lowest number first.
std::vector<SdkModemInfo> listModems(Backend &b)
{
    std::vector<std::pair<int, SdkModemInfo>> modems;
    std::string inUse;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        inUse = b.object ? b.identity : std::string();
    }
    GList *objects = g_dbus_object_manager_get_objects(G_DBUS_OBJECT_MANAGER(b.manager));
    for (GList *l = objects; l; l = l->next) {
        MMObject *o = MM_OBJECT(l->data);
        MMModem *modem = mm_object_peek_modem(o);
        if (!modem)
            continue;
        SdkModemInfo info{};
        const std::string identity = identityOf(modem);
        copyText(info.identity, sizeof info.identity, identity);
        copyText(info.label, sizeof info.label, labelOf(modem));
        info.inUse = !inUse.empty() && identity == inUse;
        modems.emplace_back(idOfPath(mm_object_get_path(o)), info);
    }
    g_list_free_full(objects, g_object_unref);
    std::sort(modems.begin(), modems.end(), [](const auto &x, const auto &y) { return x.first < y.first; });
    std::vector<SdkModemInfo> out;
    for (const auto &m : modems)
        out.push_back(m.second);
    return out;
}

// Backend thread: the modem with that identity instead of the one in use.
long useModem(Backend &b, const std::string &identity)
{
    const std::vector<SdkModemInfo> modems = listModems(b);
    const bool listed = std::any_of(modems.begin(), modems.end(),
                                    [&](const SdkModemInfo &m) { return identity == m.identity; });
    if (!listed)
        return UTPS_E_NO_DEVICE;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        // A send or a batch half on one modem and half on the other would lose or double
        // messages. Sends and batches start on the caller's threads; the caller that
        // switches (the window) starts neither while it waits here.
        if (sending() || state().txOpen)
            return UTPS_E_BUSY;
    }
    b.wanted = -1;
    b.wantedIdentity = identity;
    pickModem(identity);
    return UTPS_OK;
}

} // namespace

} // namespace sdk::mm

using namespace sdk;

extern "C" {

long SdkBackend_ListModems(SdkModemInfo *modems, int capacity, int *count)
{
    if (!count || capacity < 0 || (capacity > 0 && !modems))
        return UTPS_E_INVALID_ARG;
    *count = 0;
    if (!mm::active())
        return UTPS_E_NO_DEVICE;
    std::vector<SdkModemInfo> listed;
    mm::Backend &b = mm::backend();
    mm::onBackend(b, [&] { listed = mm::listModems(b); });
    *count = int(listed.size());
    std::copy_n(listed.begin(), std::min<size_t>(listed.size(), size_t(capacity)), modems);
    return UTPS_OK;
}

long SdkBackend_UseModem(const char *identity)
{
    if (!identity || !*identity)
        return UTPS_E_INVALID_ARG;
    if (!mm::active())
        return UTPS_E_NO_DEVICE;
    long rc = UTPS_E_FAILED;
    mm::Backend &b = mm::backend();
    mm::onBackend(b, [&] { rc = mm::useModem(b, identity); });
    return rc;
}

} // extern "C"
