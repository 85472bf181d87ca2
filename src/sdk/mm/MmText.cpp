// SPDX-License-Identifier: GPL-3.0-or-later
// Untrusted fields from the network and ModemManager's time stamps.
#include "MmInternal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace sdk::mm {

namespace {

constexpr size_t kMaxNumber = 64;   // longer than any address an SMS can carry
constexpr size_t kMaxText = 10000;  // 255 concatenated UCS-2 parts need less

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029;
}

std::u16string cut(std::u16string s, size_t limit, const char *what)
{
    if (s.size() <= limit)
        return s;
    // Never leave half of a surrogate pair at the end.
    size_t n = limit;
    if (n > 0 && s[n - 1] >= 0xD800 && s[n - 1] < 0xDC00)
        --n;
    warn(std::string("modem: ") + what + " of " + std::to_string(s.size()) + " units cut to "
         + std::to_string(n));
    s.resize(n);
    return s;
}

// Invisible characters that reorder or hide what follows: in a sender's number they only
// serve to make one number look like another.
bool isInvisible(char16_t c)
{
    return (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2069)
           || c == 0xFEFF || c == 0x061C || c == 0x00AD;
}

} // namespace

std::u16string cleanNumber(const std::u16string &in)
{
    std::u16string out;
    out.reserve(in.size());
    for (char16_t c : in) {
        if (!isInvisible(c))
            out.push_back(isControl(c) ? u'\uFFFD' : c);
    }
    return cut(std::move(out), kMaxNumber, "sender number");
}

std::u16string cleanText(const std::u16string &in)
{
    std::u16string out;
    out.reserve(in.size());
    for (char16_t c : in)
        out.push_back(isControl(c) && c != u'\n' && c != u'\r' && c != u'\t' ? u'\uFFFD' : c);
    return cut(std::move(out), kMaxText, "message text");
}

std::u16string localTime(const char *iso8601)
{
    if (!iso8601 || !*iso8601)
        return {};
    GDateTime *stamped = g_date_time_new_from_iso8601(iso8601, nullptr);
    // Local time may fall outside the years GLib can hold (a stamp at the very end of 9999).
    GDateTime *local = stamped ? g_date_time_to_local(stamped) : nullptr;
    gchar *text = local ? g_date_time_format(local, "%Y%m%d%H%M%S") : nullptr;
    std::u16string out = text ? fromUtf8(text) : std::u16string();
    if (out.size() != 14) {
        warn(std::string("modem: unreadable time stamp \"") + iso8601 + "\"");
        out.clear();
    }
    g_free(text);
    if (local)
        g_date_time_unref(local);
    if (stamped)
        g_date_time_unref(stamped);
    return out;
}

int idOfPath(const char *path)
{
    if (!path)
        return -1;
    const char *slash = std::strrchr(path, '/');
    if (!slash || !slash[1])
        return -1;
    char *end = nullptr;
    const long id = std::strtol(slash + 1, &end, 10);
    return *end == '\0' && id >= 0 && id < 0x7FFFFFFF ? int(id) : -1;
}

int memoryOfStorage(MMSmsStorage storage)
{
    switch (storage) {
    case MM_SMS_STORAGE_SM:
        return UTPS_SMS_MEM_SIM;
    case MM_SMS_STORAGE_ME:
    case MM_SMS_STORAGE_MT:
        return UTPS_SMS_MEM_DEVICE;
    default:
        return -1;
    }
}

// FNV-1a: the same key in every build, unlike std::hash.
std::string hashKey(const char *prefix, int memory, const std::string &data)
{
    unsigned long long h = 1469598103934665603ULL;
    for (unsigned char c : data) {
        h ^= c;
        h *= 1099511628211ULL;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s.%d.%016llx", prefix, memory, h);
    return buf;
}

std::string readKey(const Message &m)
{
    return hashKey("mm.read", m.mem, toUtf8(m.number) + '\x1f' + toUtf8(m.time) + '\x1f' + toUtf8(m.content));
}

void settle(Message &m)
{
    Store &store = state().store;
    if (m.time.empty()) {
        // The first sighting stands in for the missing time, the same on every listing.
        const std::string key = hashKey("mm.seen", m.mem, toUtf8(m.number) + '\x1f' + toUtf8(m.content));
        const std::string seen = store.setting(key, "");
        m.time = seen.size() == 14 ? fromUtf8(seen.c_str()) : timeNow();
        if (seen.size() != 14)
            store.setSetting(key, toUtf8(m.time));
    }
    if (m.pos == inboxOf(m.mem))
        m.readStatus = store.setting(readKey(m), "0") == "1" ? 0 : 1;
}

std::string identityOf(MMSms *sms, int memory)
{
    auto text = [](const char *s) { return std::string(s ? s : ""); };
    return std::to_string(memory) + '\x1f' + text(mm_sms_get_number(sms)) + '\x1f'
           + text(mm_sms_get_timestamp(sms)) + '\x1f' + text(mm_sms_get_text(sms));
}

void logError(const char *what, GError *error)
{
    warn(std::string("modem: ") + what + ": " + (error ? error->message : "unknown error"));
    if (error)
        g_error_free(error);
}

Message fromSms(MMSms *sms)
{
    Message m;
    m.number = cleanNumber(fromUtf8(mm_sms_get_number(sms)));
    m.content = cleanText(fromUtf8(mm_sms_get_text(sms)));
    m.time = localTime(mm_sms_get_timestamp(sms));
    m.msgClass = mm_sms_get_class(sms) == 0 ? UTPS_MSGCLASS_FLASH : UTPS_MSGCLASS_DEFAULT;
    m.priority = UTPS_SMS_PRIORITY_NORMAL;
    const MMSmsState st = mm_sms_get_state(sms);
    const bool incoming = st == MM_SMS_STATE_RECEIVED || st == MM_SMS_STATE_RECEIVING;
    m.readStatus = incoming ? 1 : 0;
    m.status = incoming || st == MM_SMS_STATE_SENT ? 0 : 1;
    return m;
}

} // namespace sdk::mm
