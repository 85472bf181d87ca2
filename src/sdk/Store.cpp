#include "Store.h"
#include "SdkInternal.h"

#include <sqlite3.h>

#include <cstdio>
#include <ctime>
#include <filesystem>

namespace sdk {

namespace {

enum Stmt {
    CountMem,
    IdsMem,
    GetOne,
    Insert,
    Update,
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
    "SELECT read_status, initial_pos, pos, status, msg_type, msg_class, extra1, extra2, extra3,"
    " priority, time, number, content FROM messages WHERE mem=?1 AND id=?2",
    "INSERT INTO messages(mem, id, read_status, initial_pos, pos, status, msg_type, msg_class,"
    " extra1, extra2, extra3, priority, time, number, content)"
    " VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15)",
    "UPDATE messages SET read_status=?3, initial_pos=?4, pos=?5, status=?6, msg_type=?7,"
    " msg_class=?8, extra1=?9, extra2=?10, extra3=?11, priority=?12, time=?13, number=?14,"
    " content=?15 WHERE mem=?1 AND id=?2",
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

void bindText(sqlite3_stmt *s, int index, const std::u16string &text)
{
    sqlite3_bind_text16(s, index, text.data(), int(text.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
}

std::u16string columnText(sqlite3_stmt *s, int column)
{
    auto *data = static_cast<const char16_t *>(sqlite3_column_text16(s, column));
    if (!data)
        return {};
    return std::u16string(data, size_t(sqlite3_column_bytes16(s, column)) / sizeof(char16_t));
}

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

std::string stamp()
{
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%d%H%M%S", &tm);
    return buf;
}

} // namespace

Store::~Store()
{
    close();
}

bool Store::open(const std::string &path, bool &created)
{
    if (openAt(path, created))
        return true;
    close();
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(path, ec)) {
        // Keep the unusable file for inspection; never overwrite it.
        const std::string aside = path + ".corrupt-" + stamp();
        fs::rename(path, aside, ec);
        if (ec) {
            warn("cannot move the unusable database " + path + " aside: " + ec.message());
        } else {
            warn("database " + path + " is unreadable or corrupt; moved to " + aside
                 + ", starting with an empty one");
            for (const char *suffix : {"-wal", "-shm"}) {
                std::error_code ignored;
                fs::rename(path + suffix, aside + suffix, ignored);
            }
            if (openAt(path, created))
                return true;
            close();
        }
    }
    warn("cannot open a database at " + path + "; messages are kept in memory only");
    return openAt(":memory:", created);
}

bool Store::openAt(const std::string &path, bool &created)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    created = path == ":memory:" || !fs::exists(path, ec);
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr)
        != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(m_db, 5000);
    if (created)
        sqlite3_exec(m_db, "PRAGMA encoding='UTF-16le'", nullptr, nullptr, nullptr);
    // quick_check reads every page, which is what finds a damaged or foreign file.
    sqlite3_stmt *check = nullptr;
    bool ok = sqlite3_prepare_v2(m_db, "PRAGMA quick_check", -1, &check, nullptr) == SQLITE_OK
              && sqlite3_step(check) == SQLITE_ROW
              && std::string(reinterpret_cast<const char *>(sqlite3_column_text(check, 0))) == "ok";
    sqlite3_finalize(check);
    if (!ok)
        return false;
    if (path != ":memory:")
        sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(m_db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    if (sqlite3_exec(m_db, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    return prepareAll();
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

std::vector<int> Store::ids(int mem)
{
    std::vector<int> out;
    sqlite3_stmt *s = stmt(IdsMem);
    if (!s)
        return out;
    StmtScope scope{s};
    sqlite3_bind_int(s, 1, mem);
    while (sqlite3_step(s) == SQLITE_ROW)
        out.push_back(sqlite3_column_int(s, 0));
    return out;
}

bool Store::get(int mem, int id, Message &m)
{
    sqlite3_stmt *s = stmt(GetOne);
    if (!s)
        return false;
    StmtScope scope{s};
    sqlite3_bind_int(s, 1, mem);
    sqlite3_bind_int(s, 2, id);
    if (sqlite3_step(s) != SQLITE_ROW)
        return false;
    m.mem = mem;
    m.id = id;
    int *ints[] = {&m.readStatus, &m.initialPos, &m.pos, &m.status, &m.msgType,
                   &m.msgClass, &m.extra1, &m.extra2, &m.extra3, &m.priority};
    for (int i = 0; i < 10; ++i)
        *ints[i] = sqlite3_column_int(s, i);
    m.time = columnText(s, 10);
    m.number = columnText(s, 11);
    m.content = columnText(s, 12);
    return true;
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
    sqlite3_stmt *s = stmt(Insert);
    if (!s)
        return false;
    StmtScope scope{s};
    bindMessage(s, m);
    return sqlite3_step(s) == SQLITE_DONE;
}

int Store::update(const Message &m)
{
    sqlite3_stmt *s = stmt(Update);
    if (!s)
        return -1;
    StmtScope scope{s};
    bindMessage(s, m);
    if (sqlite3_step(s) != SQLITE_DONE)
        return -1;
    return sqlite3_changes(m_db) > 0 ? 1 : 0;
}

int Store::remove(int mem, int id)
{
    sqlite3_stmt *s = stmt(Remove);
    if (!s)
        return -1;
    StmtScope scope{s};
    sqlite3_bind_int(s, 1, mem);
    sqlite3_bind_int(s, 2, id);
    if (sqlite3_step(s) != SQLITE_DONE)
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
    return m_db && sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool Store::commit()
{
    return m_db && sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
}

void Store::rollback()
{
    if (m_db && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
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
    return sqlite3_step(s) == SQLITE_DONE;
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
    if (sqlite3_step(s) != SQLITE_DONE)
        return -1;
    return int(sqlite3_last_insert_rowid(m_db));
}

int Store::removeContact(int id)
{
    sqlite3_stmt *s = stmt(RemoveContact);
    if (!s)
        return -1;
    StmtScope scope{s};
    sqlite3_bind_int(s, 1, id);
    if (sqlite3_step(s) != SQLITE_DONE)
        return -1;
    return sqlite3_changes(m_db) > 0 ? 1 : 0;
}

} // namespace sdk
