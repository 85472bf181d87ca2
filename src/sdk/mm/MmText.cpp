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

} // namespace

std::u16string cleanNumber(const std::u16string &in)
{
    std::u16string out;
    out.reserve(in.size());
    for (char16_t c : in)
        out.push_back(isControl(c) ? u'\uFFFD' : c);
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
        return timeNow();
    GDateTime *utc = g_date_time_new_from_iso8601(iso8601, nullptr);
    if (!utc) {
        warn(std::string("modem: unreadable time stamp \"") + iso8601 + "\"");
        return timeNow();
    }
    GDateTime *local = g_date_time_to_local(utc);
    gchar *text = g_date_time_format(local, "%Y%m%d%H%M%S");
    std::u16string out = fromUtf8(text);
    g_free(text);
    g_date_time_unref(local);
    g_date_time_unref(utc);
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
std::string readKey(const Message &m)
{
    const std::string data = toUtf8(m.number) + '\x1f' + toUtf8(m.time) + '\x1f' + toUtf8(m.content);
    unsigned long long h = 1469598103934665603ULL;
    for (unsigned char c : data) {
        h ^= c;
        h *= 1099511628211ULL;
    }
    char buf[48];
    std::snprintf(buf, sizeof buf, "mm.read.%d.%016llx", m.mem, h);
    return buf;
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
