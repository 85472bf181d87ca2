// SPDX-License-Identifier: GPL-3.0-or-later
// SQLite message database of the SDK: messages of all three memories, settings, contacts.
// Not thread-safe by itself: the SDK's state mutex guards every use.
#pragma once

#include <chrono>
#include <initializer_list>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace sdk {

struct Message
{
    int mem = 0;
    int id = -1;
    int readStatus = 0;
    int initialPos = 0;
    int pos = 0;
    int status = 0;
    int msgType = 0;
    int msgClass = 3;
    int extra1 = 0;
    int extra2 = 0;
    int extra3 = 0;
    int priority = 0;
    std::u16string time;
    std::u16string number;
    std::u16string content;
};

struct Contact
{
    int id = 0;
    std::u16string name;
    std::u16string number;
};

// Why the database cannot be written (UTPS_STORE_* of utps_sdk.h).
enum class Condition { Ok = 0, NoSpace = 1, NoPermission = 2, Locked = 3, IoError = 4, Failed = 5 };

class Store
{
public:
    Store() = default;
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    // Opens (or creates) the database at path; created tells whether it is new (no
    // message table yet, also after an interrupted first start). Only a file that SQLite
    // calls damaged is moved aside (aside receives its new name, which never replaces an
    // existing file) and replaced by a new one. A new database has the setting "seeded"
    // set to "pending". Every other failure leaves the file where
    // it is, closes the store and answers false: the caller reports condition().
    bool open(const std::string &path, bool &created, std::string &aside);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    // Ok, or why the last open, write or commit failed; a durable write sets it back to Ok.
    Condition condition() const { return m_condition; }
    const std::string &conditionDetail() const { return m_detail; }
    bool inTransaction() const;

    int count(int mem);
    // Ascending; false (and empty) on a database error.
    bool ids(int mem, std::vector<int> &out);
    // A storage read message by message in ascending ids (the way every storage is
    // loaded) is served from rows read ahead in one statement, so that a chunk of rows
    // costs one read transaction instead of one each. Every write through this store
    // drops what was read ahead.
    bool get(int mem, int id, Message &out);
    // Inserts m with id m.id (chosen by the caller). False on a database error.
    bool insert(const Message &m);
    // 1 updated, 0 no such message, -1 database error.
    int update(const Message &m);
    int remove(int mem, int id);
    // Puts the message into folder pos unless it is there already: 1 moved, 0 no such
    // message or already there, -1 database error.
    int moveToFolder(int mem, int id, int pos);
    int maxId(int mem);

    bool begin();
    bool commit();
    void rollback();

    std::string setting(const std::string &key, const std::string &fallback);
    bool setSetting(const std::string &key, const std::string &value);

    std::vector<Contact> contacts();
    int addContact(const std::u16string &name, const std::u16string &number); // id or -1
    int removeContact(int id);

private:
    // SQLITE_OK, or the result code of the step that failed.
    int openAt(const std::string &path, bool &created);
    bool moveAside(const std::string &path, std::string &aside);
    // Records why a write failed (only failures that say the file cannot be written) or,
    // for rc SQLITE_OK outside a transaction, that it can be written again.
    int note(int rc);
    bool written(int stepResult, int expected);
    bool prepareAll();
    void finalizeAll();
    sqlite3_stmt *stmt(int which);
    // Runs a write statement with these integers bound in order: 1 changed a row, 0 none,
    // -1 database error.
    int changeRows(int which, std::initializer_list<int> values);
    bool readAhead(int mem, int id, int limit);
    void forgetReadAhead();

    // Rows of one memory from the id of the last miss on, in ascending ids; served
    // rows are moved out and only rows from next on are still valid.
    struct ReadAhead
    {
        int mem = -1;
        std::vector<Message> rows;
        size_t next = 0;
        int lastId = -1;          // id of the last get, -1 after a write
        int run = 0;              // gets in ascending ids since the last write
        std::chrono::steady_clock::time_point readAt{};
    };

    sqlite3 *m_db = nullptr;
    ReadAhead m_ahead;
    std::vector<sqlite3_stmt *> m_stmts;
    std::string m_path;
    Condition m_condition = Condition::Ok;
    std::string m_detail;
};

} // namespace sdk
