// SPDX-License-Identifier: GPL-3.0-or-later
// Reading 10,000 (and 50,000) PC messages through the id list and GetMsg beside one scan of
// the same rows in the SDK's own file; storing 10,000 and deleting 1,000 inside one
// transaction beside the same work on a bare SQLite database; how long another thread's
// call waits while a storage is read; 10,000 arrivals into the device storage beside
// 10,000 into the PC store. Every figure is a median of runs taken in the same process.
#include "sdk_simulator.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kMessages = 10000;
constexpr int kLargeStorage = 50000;
constexpr int kDeletes = 1000;
constexpr int kRuns = 7;

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

struct Pair
{
    double subject = 0;
    double baseline = 0;
};

// Subject and baseline run alternately, the one that goes first changing every run, so
// that both see the same machine load; each figure is the median of its runs.
Pair interleaved(const std::function<void()> &setupSubject, const std::function<void()> &subject,
                 const std::function<void()> &setupBaseline, const std::function<void()> &baseline)
{
    std::vector<double> a, b;
    auto run = [](const std::function<void()> &setup, const std::function<void()> &work,
                  std::vector<double> &out) {
        setup();
        const auto start = Clock::now();
        work();
        out.push_back(msSince(start));
    };
    for (int i = 0; i < kRuns; ++i) {
        if (i % 2 == 0) {
            run(setupSubject, subject, a);
            run(setupBaseline, baseline, b);
        } else {
            run(setupBaseline, baseline, b);
            run(setupSubject, subject, a);
        }
    }
    return {median(a), median(b)};
}

std::u16string text(int i)
{
    std::string s = "Message number " + std::to_string(i) + ": see you at the station at 18:30, bring the tickets.";
    return std::u16string(s.begin(), s.end());
}

const std::u16string kNumber = u"+4915112345678";

void sdkFill(int count = kMessages)
{
    UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC);
    for (int i = 0; i < count; ++i) {
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

// What the plug-in does to load the PC storage: id list, then every id read into one record.
size_t sdkReadAll()
{
    int *ids = nullptr, count = 0;
    UTPS_SMSSrv_GetSmsIdList(&ids, &count, UTPS_SMS_MEM_PC);
    size_t chars = 0;
    _UTPS_ST_SMS_RECORD *r = nullptr;
    UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr);
    for (int i = 0; i < count; ++i) {
        r->iMsgId = ids[i];
        if (UTPS_SMSSrv_GetMsg(r, UTPS_SMS_MEM_PC) == UTPS_OK && r->pszContent)
            chars += r->pszContent[0] ? 1 : 0;
    }
    UTPS_SMSSrv_ReleaseSMSRecord(&r);
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

// One scan of the SDK's own database file through a connection of its own: the least any
// reading of the same rows can cost (the texts are copied out, as the SDK must).
size_t scanSdkFile(const std::string &path)
{
    sqlite3 *db = nullptr;
    size_t rows = 0;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(db, "SELECT id, read_status, initial_pos, pos, status, msg_type, msg_class,"
                               " extra1, extra2, extra3, priority, time, number, content FROM messages"
                               " WHERE mem=0 ORDER BY id",
                           -1, &s, nullptr);
        auto text = [s](int column) {
            const auto *data = static_cast<const char16_t *>(sqlite3_column_blob(s, column));
            const size_t units = size_t(sqlite3_column_bytes(s, column)) / 2;
            return data ? std::u16string(data, units) : std::u16string();
        };
        while (s && sqlite3_step(s) == SQLITE_ROW) {
            int ints[11];
            for (int c = 0; c < 11; ++c)
                ints[c] = sqlite3_column_int(s, c);
            const std::u16string time = text(11), number = text(12), content = text(13);
            rows += content.empty() && ints[0] < 0 ? 0 : 1;
        }
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return rows;
}

// How long a call of another thread waits for the SDK while this thread reads the whole
// storage: the read must not hold the SDK's lock for long at a time. The other thread
// asks for the storage's usage every 200 us; the worst and the 99th-percentile wait are
// printed, with the same calls on an idle SDK as the baseline.
void lockWaits(bool whileReading, double &worstMs, double &p99Ms)
{
    std::atomic<bool> stop{false};
    std::vector<double> waits;
    std::thread prober([&] {
        while (!stop) {
            int capacity = 0, used = 0;
            const auto start = Clock::now();
            UTPS_SMSSrv_GetRecordInfo(&capacity, &used, UTPS_SMS_MEM_DEVICE);
            waits.push_back(msSince(start));
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    if (whileReading) {
        for (int i = 0; i < 3; ++i)
            sdkReadAll();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    stop = true;
    prober.join();
    std::sort(waits.begin(), waits.end());
    worstMs = waits.empty() ? 0 : waits.back();
    p99Ms = waits.empty() ? 0 : waits[waits.size() * 99 / 100];
}

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

void report(const char *what, const Pair &p, const char *baseline, const char *goal)
{
    std::printf("%-40s sdk %9.2f ms   %s %9.2f ms   ratio %5.2fx%s\n", what, p.subject, baseline,
                p.baseline, p.baseline > 0 ? p.subject / p.baseline : 0.0, goal);
    std::fflush(stdout);
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
    const std::string sdkFile = std::string(dir) + "/sdk.db";
    SimCtl_SetDemoSeed(0);
    Raw raw;
    raw.open(std::string(dir) + "/raw.db");

    std::printf("%d messages, %d deletes, median of %d interleaved runs\n", kMessages, kDeletes, kRuns);
    const Pair fill = interleaved([] { SimCtl_Reset(); }, [] { sdkFill(); }, [] {}, [&] { raw.fill(); });
    report("store 10,000 (one transaction)", fill, "raw sqlite", "");

    size_t sink = 0;
    SimCtl_Reset();
    sdkFill();
    const Pair read = interleaved([] {}, [&] { sink += sdkReadAll(); }, [] {},
                                  [&] { sink += scanSdkFile(sdkFile); });
    report("read 10,000 via id list + GetMsg", read, "one scan", " (goal <= 1.5x)");
    SimCtl_Reset();
    sdkFill(kLargeStorage);
    const Pair large = interleaved([] {}, [&] { sink += sdkReadAll(); }, [] {},
                                   [&] { sink += scanSdkFile(sdkFile); });
    report("read 50,000 via id list + GetMsg", large, "one scan", " (goal <= 1.5x)");

    double idleWorst = 0, idleP99 = 0, busyWorst = 0, busyP99 = 0;
    lockWaits(false, idleWorst, idleP99);
    lockWaits(true, busyWorst, busyP99);
    std::printf("%-40s p99 %6.3f ms worst %6.3f ms   idle SDK p99 %6.3f ms worst %6.3f ms\n",
                "other thread's call during 50,000 reads", busyP99, busyWorst, idleP99, idleWorst);

    const Pair del = interleaved(
        [] {
            SimCtl_Reset();
            sdkFill();
        },
        sdkDelete, [&] { raw.fill(); }, [&] { raw.deleteSome(); });
    report("delete 1,000 in one transaction", del, "raw sqlite", "");

    const Pair arrive = interleaved(resetForArrivals, [] { arrivals(UTPS_SMS_MEM_DEVICE); },
                                    resetForArrivals, [] { arrivals(UTPS_SMS_MEM_PC); });
    std::printf("%-40s device %6.2f ms   pc store %9.2f ms   ratio %5.2fx (target 2.00)\n",
                "10,000 arrivals, one commit each", arrive.subject, arrive.baseline,
                arrive.baseline > 0 ? arrive.subject / arrive.baseline : 0.0);

    SimCtl_Reset();
    std::string cleanup = std::string("rm -rf ") + dir;
    if (std::system(cleanup.c_str()) != 0)
        std::printf("could not remove %s\n", dir);
    return sink == 0 ? 1 : 0;
}
