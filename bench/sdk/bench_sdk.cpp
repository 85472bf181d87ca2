// Reading 10,000 PC messages through the id list and GetMsg, and deleting 1,000 inside one
// transaction, each beside the same work done on a bare SQLite database in the same run;
// and 10,000 arrivals into the device storage beside 10,000 into the PC store.
#include "sdk_simulator.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kMessages = 10000;
constexpr int kDeletes = 1000;
constexpr int kRuns = 5;

using Clock = std::chrono::steady_clock;

double bestMs(const std::function<void()> &setup, const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        setup();
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

std::u16string text(int i)
{
    std::string s = "Message number " + std::to_string(i) + ": see you at the station at 18:30, bring the tickets.";
    return std::u16string(s.begin(), s.end());
}

const std::u16string kNumber = u"+4915112345678";

void sdkFill()
{
    UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC);
    for (int i = 0; i < kMessages; ++i) {
        const std::u16string content = text(i);
        _UTPS_ST_SMS_RECORD r{};
        r.iPos = r.iInitialPos = UTPS_POS_PC_INBOX;
        r.iMsgClass = UTPS_MSGCLASS_DEFAULT;
        const char *time = "20260102030405";
        for (int k = 0; time[k]; ++k)
            r.szTime[k] = UTPS_WCHAR(time[k]);
        r.pszNumber = const_cast<UTPS_WCHAR *>(reinterpret_cast<const UTPS_WCHAR *>(kNumber.c_str()));
        r.pszContent = const_cast<UTPS_WCHAR *>(reinterpret_cast<const UTPS_WCHAR *>(content.c_str()));
        int id = 0;
        UTPS_SMSSrv_SaveMsg(&r, &id, nullptr);
    }
    UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC);
}

// What the plug-in does to load the PC storage: id list, then one record per id.
size_t sdkReadAll()
{
    int *ids = nullptr, count = 0;
    UTPS_SMSSrv_GetSmsIdList(&ids, &count, UTPS_SMS_MEM_PC);
    size_t chars = 0;
    for (int i = 0; i < count; ++i) {
        _UTPS_ST_SMS_RECORD *r = nullptr;
        UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr);
        r->iMsgId = ids[i];
        if (UTPS_SMSSrv_GetMsg(r, UTPS_SMS_MEM_PC) == UTPS_OK && r->pszContent)
            chars += r->pszContent[0] ? 1 : 0;
        UTPS_SMSSrv_ReleaseSMSRecord(&r);
    }
    UTPS_SMSSrv_ReleaseSmsIdList(&ids);
    return chars;
}

void sdkDelete()
{
    int *ids = nullptr, count = 0;
    UTPS_SMSSrv_GetSmsIdList(&ids, &count, UTPS_SMS_MEM_PC);
    UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC);
    for (int i = 0; i < kDeletes && i < count; ++i)
        UTPS_SMSSrv_RemoveMsg(ids[i], UTPS_SMS_MEM_PC);
    UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC);
    UTPS_SMSSrv_ReleaseSmsIdList(&ids);
}

struct Raw
{
    sqlite3 *db = nullptr;
    std::string path;

    void open(const std::string &p)
    {
        path = p;
        std::remove(path.c_str());
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db, "PRAGMA encoding='UTF-16le'; PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
                         "CREATE TABLE messages(mem INTEGER, id INTEGER, read_status INTEGER, initial_pos INTEGER,"
                         " pos INTEGER, status INTEGER, msg_type INTEGER, msg_class INTEGER, extra1 INTEGER,"
                         " extra2 INTEGER, extra3 INTEGER, priority INTEGER, time TEXT, number TEXT, content TEXT,"
                         " PRIMARY KEY(mem, id));",
                     nullptr, nullptr, nullptr);
    }
    void fill()
    {
        sqlite3_exec(db, "DELETE FROM messages", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO messages VALUES(0,?1,0,1,1,0,0,3,0,0,0,0,'20260102030405',?2,?3)", -1, &s,
                           nullptr);
        for (int i = 0; i < kMessages; ++i) {
            const std::u16string content = text(i);
            sqlite3_bind_int(s, 1, i);
            sqlite3_bind_text16(s, 2, kNumber.data(), int(kNumber.size() * 2), SQLITE_STATIC);
            sqlite3_bind_text16(s, 3, content.data(), int(content.size() * 2), SQLITE_TRANSIENT);
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    std::vector<int> ids()
    {
        std::vector<int> out;
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(db, "SELECT id FROM messages WHERE mem=0 ORDER BY id", -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW)
            out.push_back(sqlite3_column_int(s, 0));
        sqlite3_finalize(s);
        return out;
    }
    size_t readAll()
    {
        size_t chars = 0;
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(db, "SELECT read_status, initial_pos, pos, status, msg_type, msg_class, extra1, extra2,"
                               " extra3, priority, time, number, content FROM messages WHERE mem=0 AND id=?1",
                           -1, &s, nullptr);
        for (int id : ids()) {
            sqlite3_bind_int(s, 1, id);
            if (sqlite3_step(s) == SQLITE_ROW) {
                std::u16string content(static_cast<const char16_t *>(sqlite3_column_text16(s, 12)));
                std::u16string number(static_cast<const char16_t *>(sqlite3_column_text16(s, 11)));
                chars += content.empty() ? 0 : 1;
            }
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
        return chars;
    }
    void deleteSome()
    {
        const std::vector<int> all = ids();
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(db, "DELETE FROM messages WHERE mem=0 AND id=?1", -1, &s, nullptr);
        for (int i = 0; i < kDeletes && i < int(all.size()); ++i) {
            sqlite3_bind_int(s, 1, all[size_t(i)]);
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    ~Raw()
    {
        sqlite3_close(db);
        std::remove(path.c_str());
    }
};

// Messages arriving one by one (each its own commit), as the network delivers them.
void arrivals(int storage)
{
    for (int i = 0; i < kMessages; ++i)
        SimCtl_InjectMessage(storage, "+4915112345678", "See you at the station at 18:30.", nullptr, 3, nullptr);
}

void resetForArrivals()
{
    SimCtl_Reset();
    SimCtl_SetCapacity(UTPS_SMS_MEM_DEVICE, 2 * kMessages);
}

void report(const char *what, double sdkMs, double rawMs)
{
    std::printf("%-46s sdk %9.2f ms   raw sqlite %9.2f ms   ratio %5.2f\n", what, sdkMs, rawMs,
                rawMs > 0 ? sdkMs / rawMs : 0.0);
}

} // namespace

int main()
{
    char dirTemplate[] = "/tmp/bench_sdk-XXXXXX";
    const char *dir = mkdtemp(dirTemplate);
    if (!dir) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("DIALCREST_HOME", dir, 1);
    SimCtl_SetDemoSeed(0);
    Raw raw;
    raw.open(std::string(dir) + "/raw.db");

    std::printf("%d messages, %d deletes, best of %d runs\n", kMessages, kDeletes, kRuns);
    const double sdkFillMs = bestMs([] { SimCtl_Reset(); }, sdkFill);
    const double rawFillMs = bestMs([] {}, [&] { raw.fill(); });
    report("store 10,000 (one transaction)", sdkFillMs, rawFillMs);

    size_t sink = 0;
    const double sdkRead = bestMs([] {}, [&] { sink += sdkReadAll(); });
    const double rawRead = bestMs([] {}, [&] { sink += raw.readAll(); });
    report("read 10,000 via id list + GetMsg", sdkRead, rawRead);

    const double sdkDel = bestMs(
        [] {
            SimCtl_Reset();
            sdkFill();
        },
        sdkDelete);
    const double rawDel = bestMs([&] { raw.fill(); }, [&] { raw.deleteSome(); });
    report("delete 1,000 in one transaction", sdkDel, rawDel);

    const double deviceMs = bestMs(resetForArrivals, [] { arrivals(UTPS_SMS_MEM_DEVICE); });
    const double pcMs = bestMs(resetForArrivals, [] { arrivals(UTPS_SMS_MEM_PC); });
    std::printf("%-46s device %6.2f ms   pc store %9.2f ms   ratio %5.2f (target 2.00)\n",
                "10,000 arrivals, one commit each", deviceMs, pcMs, pcMs > 0 ? deviceMs / pcMs : 0.0);

    SimCtl_Reset();
    std::string cleanup = std::string("rm -rf ") + dir;
    if (std::system(cleanup.c_str()) != 0)
        std::printf("could not remove %s\n", dir);
    return sink == 0 ? 1 : 0;
}
