// SQLite message database of the SDK: messages of all three memories, settings, contacts.
// Not thread-safe by itself: the SDK's state mutex guards every use.
#pragma once

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

class Store
{
public:
    Store() = default;
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    // Opens (or creates) the database at path. A file that cannot be used is moved aside
    // and a fresh one created; when even that fails, an in-memory database is used.
    // created tells whether the database is new.
    bool open(const std::string &path, bool &created);
    void close();
    bool isOpen() const { return m_db != nullptr; }

    int count(int mem);
    std::vector<int> ids(int mem);
    bool get(int mem, int id, Message &out);
    // Inserts m with id m.id (chosen by the caller). False on a database error.
    bool insert(const Message &m);
    // 1 updated, 0 no such message, -1 database error.
    int update(const Message &m);
    int remove(int mem, int id);
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
    bool openAt(const std::string &path, bool &created);
    bool prepareAll();
    void finalizeAll();
    sqlite3_stmt *stmt(int which);

    sqlite3 *m_db = nullptr;
    std::vector<sqlite3_stmt *> m_stmts;
};

} // namespace sdk
