// SPDX-License-Identifier: GPL-3.0-or-later
#include "Store.h"
#include "SdkInternal.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace sdk {

namespace {

enum Stmt {
    CountMem,
    IdsMem,
    GetFrom,
    Insert,
    Update,
    MoveToFolder,
    Remove,
    MaxId,
    GetSetting,
    SetSetting,
    ListContacts,
    AddContact,
    RemoveContact,
    StmtCount
};

const char *const kSql[StmtCount] = {
    "SELECT COUNT(*) FROM messages WHERE mem=?1",
    "SELECT id FROM messages WHERE mem=?1 ORDER BY id",
    "SELECT id, read_status, initial_pos, pos, status, msg_type, msg_class, extra1, extra2, extra3,"
    " priority, time, number, content FROM messages WHERE mem=?1 AND id>=?2 ORDER BY id LIMIT ?3",
    "INSERT INTO messages(mem, id, read_status, initial_pos, pos, status, msg_type, msg_class,"
    " extra1, extra2, extra3, priority, time, number, content)"
    " VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15)",
    "UPDATE messages SET read_status=?3, initial_pos=?4, pos=?5, status=?6, msg_type=?7,"
    " msg_class=?8, extra1=?9, extra2=?10, extra3=?11, priority=?12, time=?13, number=?14,"
    " content=?15 WHERE mem=?1 AND id=?2",
    "UPDATE messages SET pos=?3 WHERE mem=?1 AND id=?2 AND pos<>?3",
    "DELETE FROM messages WHERE mem=?1 AND id=?2",
    "SELECT COALESCE(MAX(id), -1) FROM messages WHERE mem=?1",
    "SELECT value FROM settings WHERE key=?1",
    "INSERT OR REPLACE INTO settings(key, value) VALUES(?1, ?2)",
    "SELECT id, name, number FROM contacts ORDER BY id",
    "INSERT INTO contacts(name, number) VALUES(?1, ?2)",
    "DELETE FROM contacts WHERE id=?1",
};

const char *const kSchema =
    "CREATE TABLE IF NOT EXISTS messages("
    " mem INTEGER NOT NULL, id INTEGER NOT NULL, read_status INTEGER NOT NULL,"
    " initial_pos INTEGER NOT NULL, pos INTEGER NOT NULL, status INTEGER NOT NULL,"
    " msg_type INTEGER NOT NULL, msg_class INTEGER NOT NULL, extra1 INTEGER NOT NULL,"
    " extra2 INTEGER NOT NULL, extra3 INTEGER NOT NULL, priority INTEGER NOT NULL,"
    " time TEXT NOT NULL, number TEXT NOT NULL, content TEXT NOT NULL,"
    " PRIMARY KEY(mem, id));"
    "CREATE TABLE IF NOT EXISTS settings(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS contacts(id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " name TEXT NOT NULL, number TEXT NOT NULL);";

// Texts are stored as the raw bytes of their UTF-16 code units (little-endian), not as
// SQLite text: SQLite reads a leading U+FEFF or U+FFFE of bound UTF-16 as a byte-order mark
// and drops it or swaps every byte after it. Raw bytes keep every sequence the API takes,
// lone surrogates included, unchanged.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "texts are stored little-endian");

void bindText(sqlite3_stmt *s, int index, const std::u16string &text)
{
    // data() is never null, so an empty text is an empty blob, not NULL.
    sqlite3_bind_blob64(s, index, text.data(), sqlite3_uint64(text.size() * sizeof(char16_t)),
                        SQLITE_TRANSIENT);
}

std::u16string columnText(sqlite3_stmt *s, int column)
{
    if (sqlite3_column_type(s, column) == SQLITE_TEXT) {
        // Written as text by an earlier version: SQLite converts it.
        auto *data = static_cast<const char16_t *>(sqlite3_column_text16(s, column));
        return data ? std::u16string(data, size_t(sqlite3_column_bytes16(s, column)) / 2) : std::u16string();
    }
    const void *data = sqlite3_column_blob(s, column);
    const size_t units = size_t(sqlite3_column_bytes(s, column)) / sizeof(char16_t);
    std::u16string out(units, u'\0');
    if (data && units)
        std::memcpy(out.data(), data, units * sizeof(char16_t));
    return out;
}

Condition conditionOf(int rc, int systemErrno)
{
    switch (rc & 0xFF) {
    case SQLITE_FULL: return Condition::NoSpace;
    case SQLITE_BUSY: case SQLITE_LOCKED: return Condition::Locked;
    case SQLITE_READONLY: case SQLITE_PERM: case SQLITE_AUTH: return Condition::NoPermission;
    case SQLITE_IOERR: case SQLITE_CANTOPEN:
        // The system's own error tells a full disk or a locked-down folder from a failing disk.
        switch (systemErrno) {
        case ENOSPC: case EDQUOT: case EFBIG: return Condition::NoSpace;
        case EACCES: case EPERM: case EROFS: return Condition::NoPermission;
        default: return (rc & 0xFF) == SQLITE_IOERR ? Condition::IoError : Condition::Failed;
        }
    default: return Condition::Failed;
    }
}

// A write error whose errno was lost on the way up (SQLite reports the thread's errno at
// the time it gives up, not the failed write's) is most often a full disk or a file-size
// limit: both are checked directly before calling it a disk error.
bool outOfRoom(const std::string &path)
{
    struct statvfs fs{};
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (statvfs(folder.empty() ? "." : folder.c_str(), &fs) == 0
        && fs.f_bavail * fs.f_frsize < 1024 * 1024)
        return true;
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return false;
    std::error_code ec;
    for (const char *suffix : {"", "-wal", "-journal"}) {
        const auto size = std::filesystem::file_size(path + suffix, ec);
        // A write that fails near the limit is one that would have crossed it.
        if (!ec && size + 256 * 1024 >= limit.rlim_cur)
            return true;
    }
    return false;
}

// Only these say the file itself is damaged; everything else is the disk, the folder or
// another program, and the file must stay where it is.
bool isCorruption(int rc)
{
    return (rc & 0xFF) == SQLITE_CORRUPT || (rc & 0xFF) == SQLITE_NOTADB;
}

// Renames without ever replacing: false with EEXIST when to exists.
bool renameNoReplace(const std::string &from, const std::string &to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without RENAME_NOREPLACE: a hard link fails the same way on a taken name.
    if (link(from.c_str(), to.c_str()) != 0)
        return false;
    return unlink(from.c_str()) == 0;
}

// Rows read ahead are served only this long after they were read, so that they never hide
// for long what another connection to the file wrote in the meantime.
constexpr auto kReadAheadLife = std::chrono::milliseconds(100);
// Most rows one read-ahead takes: it bounds how long the read holds the SDK's lock (well
// under a millisecond) and what it keeps in memory.
constexpr int kReadAheadMax = 256;

// Resets the statement when the scope ends, so it never keeps a read transaction open.
struct StmtScope
{
    sqlite3_stmt *s;
    ~StmtScope()
    {
        if (s) {
            sqlite3_reset(s);
            sqlite3_clear_bindings(s);
        }
    }
};

} // namespace

Store::~Store()
{
    close();
}

bool Store::open(const std::string &path, bool &created, std::string &aside)
{
    aside.clear();
    m_path = path;
    int rc = openAt(path, created);
    if (rc != SQLITE_OK && isCorruption(rc)) {
        close();
        if (!moveAside(path, aside)) {
            m_condition = Condition::Failed;
            m_detail = "the database " + path + " is damaged and cannot be moved aside: "
                + std::strerror(errno);
            warn(m_detail);
            return false;
        }
        warn("database " + path + " is damaged; moved to " + aside + ", starting with an empty one");
        rc = openAt(path, created);
    }
    if (rc == SQLITE_OK) {
        m_condition = Condition::Ok;
        m_detail.clear();
        return true;
    }
    const Condition before = m_condition;
    const std::string detailBefore = m_detail;
    m_condition = conditionOf(rc, m_db ? sqlite3_system_errno(m_db) : errno);
    if (m_condition == Condition::IoError && outOfRoom(path))
        m_condition = Condition::NoSpace;
    m_detail = std::string(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
    // Said once, not on every retry.
    if (m_condition != before || m_detail != detailBefore)
        warn("cannot open the database " + path + " (" + m_detail + "); it stays where it is");
    close();
    return false;
}

bool Store::moveAside(const std::string &path, std::string &aside)
{
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &tm);
    for (int n = 0; n < 1000; ++n) {
        aside = path + ".corrupt-" + stamp + (n ? "-" + std::to_string(n) : std::string());
        if (renameNoReplace(path, aside)) {
            // The journal belongs to the damaged file; the shared-memory index is rebuilt.
            for (const char *suffix : {"-wal", "-journal"})
                renameNoReplace(path + suffix, aside + suffix);
            std::remove((path + "-shm").c_str());
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    aside.clear();
    return false;
}

int Store::openAt(const std::string &path, bool &created)
{
    int rc = sqlite3_open_v2(path.c_str(), &m_db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        return sqlite3_extended_errcode(m_db) ? sqlite3_extended_errcode(m_db) : rc;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 5000);
    // quick_check reads every page, which is what finds a damaged or foreign file.
    sqlite3_stmt *check = nullptr;
    rc = sqlite3_prepare_v2(m_db, "PRAGMA quick_check", -1, &check, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(check);
        if (rc == SQLITE_ROW) {
            const auto *verdict = reinterpret_cast<const char *>(sqlite3_column_text(check, 0));
            rc = verdict && std::strcmp(verdict, "ok") == 0 ? SQLITE_OK : SQLITE_CORRUPT;
        }
    }
    sqlite3_finalize(check);
    if (rc != SQLITE_OK)
        return rc;
    sqlite3_stmt *probe = nullptr;
    rc = sqlite3_prepare_v2(m_db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name='messages'",
                            -1, &probe, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    rc = sqlite3_step(probe);
    sqlite3_finalize(probe);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return rc;
    // No message table: a new file, or one whose first start was cut short before its
    // schema was committed (nothing else can have been written then).
    created = rc == SQLITE_DONE;
    if (created && (rc = sqlite3_exec(m_db, "PRAGMA encoding='UTF-16le'", nullptr, nullptr, nullptr)) != SQLITE_OK)
        return rc;
    if ((rc = sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr)) != SQLITE_OK)
        return rc;
    sqlite3_exec(m_db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    // A new database is marked for the demo seed in the same commit as its tables, so a
    // first start cut short anywhere is recognised and finished by the next one.
    const std::string schema = std::string("BEGIN IMMEDIATE;") + kSchema
        + (created ? "INSERT OR IGNORE INTO settings(key, value) VALUES('seeded', 'pending');" : "")
        + "COMMIT;";
    if ((rc = sqlite3_exec(m_db, schema.c_str(), nullptr, nullptr, nullptr)) != SQLITE_OK) {
        rc = sqlite3_extended_errcode(m_db);
        rollback();
        return rc;
    }
    return prepareAll() ? SQLITE_OK : sqlite3_extended_errcode(m_db);
}

bool Store::prepareAll()
{
    m_stmts.assign(StmtCount, nullptr);
    for (int i = 0; i < StmtCount; ++i) {
        if (sqlite3_prepare_v3(m_db, kSql[i], -1, SQLITE_PREPARE_PERSISTENT, &m_stmts[size_t(i)], nullptr)
            != SQLITE_OK)
            return false;
    }
    return true;
}

void Store::finalizeAll()
{
    for (sqlite3_stmt *s : m_stmts)
        sqlite3_finalize(s);
    m_stmts.clear();
}

void Store::close()
{
    forgetReadAhead();
    finalizeAll();
    if (m_db) {
        if (!sqlite3_get_autocommit(m_db))
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

sqlite3_stmt *Store::stmt(int which)
{
    return m_db && size_t(which) < m_stmts.size() ? m_stmts[size_t(which)] : nullptr;
}

int Store::count(int mem)
{
    sqlite3_stmt *s = stmt(CountMem);
    if (!s)
        return -1;
    StmtScope scope{s};
    sqlite3_bind_int(s, 1, mem);
    return sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : -1;
}

bool Store::ids(int mem, std::vector<int> &out)
{
    out.clear();
    sqlite3_stmt *s = stmt(IdsMem);
    if (!s)
        return false;
    StmtScope scope{s};
    sqlite3_bind_int(s, 1, mem);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
        out.push_back(sqlite3_column_int(s, 0));
    if (rc != SQLITE_DONE)
        out.clear();
    return rc == SQLITE_DONE;
}

bool Store::get(int mem, int id, Message &m)
{
    if (!m_db)
        return false;
    ReadAhead &a = m_ahead;
    const auto now = std::chrono::steady_clock::now();
    // Only a run of reads in ascending ids earns a longer read-ahead: a single read (or
    // the reads of a batch that writes in between) costs what it always did.
    if (mem != a.mem || a.lastId < 0 || id <= a.lastId) {
        a.rows.clear();
        a.next = 0;
        a.run = 0;
    } else if (now - a.readAt > kReadAheadLife) {
        a.rows.clear();
        a.next = 0;
    }
    a.mem = mem;
    a.lastId = id;
    ++a.run;
    while (a.next < a.rows.size() && a.rows[a.next].id < id)
        ++a.next;
    // The rows held cover every id from the first to the last one: an id among them that
    // is not there is not in the database either.
    if (a.next == a.rows.size() && !readAhead(mem, id, std::min(a.run, kReadAheadMax)))
        return false;
    if (a.next == a.rows.size() || a.rows[a.next].id != id)
        return false;
    m = std::move(a.rows[a.next++]);
    return true;
}

bool Store::readAhead(int mem, int id, int limit)
{
    m_ahead.rows.clear();
    m_ahead.rows.reserve(size_t(limit));
    m_ahead.next = 0;
    sqlite3_stmt *s = stmt(GetFrom);
    if (!s)
        return false;
    StmtScope scope{s};
    sqlite3_bind_int(s, 1, mem);
    sqlite3_bind_int(s, 2, id);
    sqlite3_bind_int(s, 3, limit);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        Message &m = m_ahead.rows.emplace_back();
        m.mem = mem;
        m.id = sqlite3_column_int(s, 0);
        int *ints[] = {&m.readStatus, &m.initialPos, &m.pos, &m.status, &m.msgType,
                       &m.msgClass, &m.extra1, &m.extra2, &m.extra3, &m.priority};
        for (int i = 0; i < 10; ++i)
            *ints[i] = sqlite3_column_int(s, i + 1);
        m.time = columnText(s, 11);
        m.number = columnText(s, 12);
        m.content = columnText(s, 13);
    }
    m_ahead.readAt = std::chrono::steady_clock::now();
    if (rc != SQLITE_DONE)
        m_ahead.rows.clear();
    return rc == SQLITE_DONE;
}

void Store::forgetReadAhead()
{
    m_ahead.rows.clear();
    m_ahead.next = 0;
    m_ahead.lastId = -1;
    m_ahead.run = 0;
}

static void bindMessage(sqlite3_stmt *s, const Message &m)
{
    const int ints[] = {m.mem, m.id, m.readStatus, m.initialPos, m.pos, m.status, m.msgType,
                        m.msgClass, m.extra1, m.extra2, m.extra3, m.priority};
    for (int i = 0; i < 12; ++i)
        sqlite3_bind_int(s, i + 1, ints[i]);
    bindText(s, 13, m.time);
    bindText(s, 14, m.number);
    bindText(s, 15, m.content);
}

bool Store::insert(const Message &m)
{
    forgetReadAhead();
    sqlite3_stmt *s = stmt(Insert);
    if (!s)
        return false;
    StmtScope scope{s};
    bindMessage(s, m);
    return written(sqlite3_step(s), SQLITE_DONE);
}

int Store::update(const Message &m)
{
    forgetReadAhead();
    sqlite3_stmt *s = stmt(Update);
    if (!s)
        return -1;
    StmtScope scope{s};
    bindMessage(s, m);
    if (!written(sqlite3_step(s), SQLITE_DONE))
        return -1;
    return sqlite3_changes(m_db) > 0 ? 1 : 0;
}

int Store::moveToFolder(int mem, int id, int pos)
{
    return changeRows(MoveToFolder, {mem, id, pos});
}

int Store::remove(int mem, int id)
{
    return changeRows(Remove, {mem, id});
}

int Store::changeRows(int which, std::initializer_list<int> values)
{
    forgetReadAhead();
    sqlite3_stmt *s = stmt(which);
    if (!s)
        return -1;
    StmtScope scope{s};
    int index = 1;
    for (int value : values)
        sqlite3_bind_int(s, index++, value);
    if (!written(sqlite3_step(s), SQLITE_DONE))
        return -1;
    return sqlite3_changes(m_db) > 0 ? 1 : 0;
}

int Store::maxId(int mem)
{
    sqlite3_stmt *s = stmt(MaxId);
    if (!s)
        return -1;
    StmtScope scope{s};
    sqlite3_bind_int(s, 1, mem);
    return sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : -1;
}

bool Store::begin()
{
    return m_db && note(sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr)) == SQLITE_OK;
}

bool Store::commit()
{
    return m_db && note(sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr)) == SQLITE_OK;
}

void Store::rollback()
{
    forgetReadAhead();
    if (m_db && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Store::inTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

bool Store::written(int stepResult, int expected)
{
    if (stepResult == expected)
        stepResult = SQLITE_OK;
    else if (m_db)
        stepResult = sqlite3_extended_errcode(m_db);
    return note(stepResult) == SQLITE_OK;
}

int Store::note(int rc)
{
    if (rc == SQLITE_OK) {
        // Inside a transaction nothing is on disk yet: only the commit tells.
        if (!inTransaction()) {
            m_condition = Condition::Ok;
            m_detail.clear();
        }
        return rc;
    }
    switch (rc & 0xFF) {
    case SQLITE_FULL: case SQLITE_IOERR: case SQLITE_READONLY: case SQLITE_CANTOPEN:
    case SQLITE_PERM: case SQLITE_BUSY: case SQLITE_LOCKED: case SQLITE_CORRUPT: case SQLITE_NOTADB:
        m_condition = conditionOf(rc, m_db ? sqlite3_system_errno(m_db) : 0);
        if (m_condition == Condition::IoError && outOfRoom(m_path))
            m_condition = Condition::NoSpace;
        m_detail = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        break;
    default:
        break; // a refused row (a constraint) says nothing about the file
    }
    return rc;
}

std::string Store::setting(const std::string &key, const std::string &fallback)
{
    sqlite3_stmt *s = stmt(GetSetting);
    if (!s)
        return fallback;
    StmtScope scope{s};
    sqlite3_bind_text(s, 1, key.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(s) != SQLITE_ROW)
        return fallback;
    const auto *text = sqlite3_column_text(s, 0);
    return text ? reinterpret_cast<const char *>(text) : fallback;
}

bool Store::setSetting(const std::string &key, const std::string &value)
{
    sqlite3_stmt *s = stmt(SetSetting);
    if (!s)
        return false;
    StmtScope scope{s};
    sqlite3_bind_text(s, 1, key.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(s, 2, value.c_str(), -1, SQLITE_TRANSIENT);
    return written(sqlite3_step(s), SQLITE_DONE);
}

std::vector<Contact> Store::contacts()
{
    std::vector<Contact> out;
    sqlite3_stmt *s = stmt(ListContacts);
    if (!s)
        return out;
    StmtScope scope{s};
    while (sqlite3_step(s) == SQLITE_ROW)
        out.push_back({sqlite3_column_int(s, 0), columnText(s, 1), columnText(s, 2)});
    return out;
}

int Store::addContact(const std::u16string &name, const std::u16string &number)
{
    sqlite3_stmt *s = stmt(AddContact);
    if (!s)
        return -1;
    StmtScope scope{s};
    bindText(s, 1, name);
    bindText(s, 2, number);
    if (!written(sqlite3_step(s), SQLITE_DONE))
        return -1;
    return int(sqlite3_last_insert_rowid(m_db));
}

int Store::removeContact(int id)
{
    return changeRows(RemoveContact, {id});
}

} // namespace sdk
