// SPDX-License-Identifier: GPL-3.0-or-later
// First-run demo data: a few contacts and realistic messages in every folder, so that a
// fresh installation shows what the SMS module can do.
#include "SdkInternal.h"

#include <ctime>

namespace sdk {

namespace {

std::string timeAgo(int minutes)
{
    std::time_t t = std::time(nullptr) - std::time_t(minutes) * 60;
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%d%H%M%S", &tm);
    return buf;
}

struct Seed
{
    int mem;
    int initialPos;
    int pos;
    int readStatus;
    int status;
    int msgType;
    const char *number;
    const char *text;
    int minutesAgo;
};

const Seed kSeeds[] = {
    {0, 1, 1, 1, 0, 0, "+4915112345678", "Are we still on for lunch tomorrow at 12:30?", 15},
    {0, 1, 1, 0, 0, 0, "+15550123",
     "Your parcel 7731-AX will be delivered today between 14:00 and 18:00. If nobody is at home, "
     "the courier will leave it with a neighbour or take it to the nearest pick-up point, where it "
     "will wait for you for seven days. Reply STOP to unsubscribe from delivery notifications.",
     180},
    {0, 1, 1, 1, 0, 0, "+819012345678", "\u304a\u8a95\u751f\u65e5\u304a\u3081\u3067\u3068\u3046\uff01 "
                                        "\U0001F382\U0001F389",
     1440},
    {0, 1, 1, 0, 0, 0, "+447700900123", "Meeting moved to room 4.12 \u2014 see you there.", 2900},
    {0, 0, 0, 0, 0, 0, "+4915112345678;+447700900123", "Happy new year to both of you!", 4000},
    {0, 0, 0, 0, 1, 0, "+15550123", "Please call me back when you get this.", 300},
    {0, 2, 2, 0, 1, 0, "+447700900123", "Draft: the figures for Q3 are", 60},
    {0, 1, 3, 0, 0, 0, "+15550123", "Door code for the flat: 4711#. Keep this one.", 10000},
    {0, 1, 4, 0, 0, 0, "+15550777", "You have won a prize! Reply YES to claim.", 8000},
    {0, 5, 5, 1, 0, 1, "+4915112345678", "", 3990},
    {0, 10, 10, 1, 0, 0, "50", "Weather warning: strong winds expected in your area tonight.", 120},
    {1, 7, 7, 1, 0, 0, "+15550188", "New voicemail: 1 message. Call 333 to listen.", 45},
    {1, 6, 6, 0, 0, 0, "+15550188", "Thanks, got it.", 50},
    {2, 9, 9, 0, 0, 0, "+15550999", "Your data bundle has 500 MB left.", 600},
    {2, 8, 8, 0, 0, 0, "+15550999", "BALANCE", 610},
};

} // namespace

bool seedDemo()
{
    State &s = state();
    // Inside the caller's bracket, the caller's commit decides; otherwise one transaction
    // of our own, so that a start cut short leaves all of the demo data or none of it.
    const bool own = !s.store.inTransaction();
    if (own && !s.store.begin()) {
        warn("cannot begin writing the demo messages");
        return false;
    }
    bool ok = s.store.addContact(u"Anna Becker", u"+4915112345678") >= 0
        && s.store.addContact(u"Parcel Service", u"+15550123") >= 0
        && s.store.addContact(u"Oliver Grant", u"07700900123") >= 0;
    s.contactsLoaded = false;
    for (const Seed &seed : kSeeds) {
        if (!ok)
            break;
        Message m;
        m.mem = seed.mem;
        m.initialPos = seed.initialPos;
        m.pos = seed.pos;
        m.readStatus = seed.readStatus;
        m.status = seed.status;
        m.msgType = seed.msgType;
        m.priority = UTPS_SMS_PRIORITY_NORMAL;
        m.number = fromUtf8(seed.number);
        m.content = fromUtf8(seed.text);
        m.time = fromUtf8(timeAgo(seed.minutesAgo).c_str());
        ok = storeNew(m) == UTPS_OK;
    }
    ok = ok && s.store.setSetting("seeded", "1");
    if (own && !(ok && s.store.commit())) {
        warn("the demo messages could not be written; they will be written on the next start");
        s.store.rollback();
        forgetCaches();
        return false;
    }
    return ok;
}

} // namespace sdk
