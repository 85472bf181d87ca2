// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the store and operations suites: a fresh simulator and data folder per test
// case, saving messages straight through the SDK, and a recorder that sees the store's
// signals the way the window does (queued onto the test's thread, in emission order).
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <algorithm>
#include <functional>
#include <memory>

#include "store/SMSStatusUILogic.h"
#include "TestEnv.h"
#include "sdk_simulator.h"

namespace storetest {

inline const UTPS_WCHAR *w(const QString &s)
{
    return reinterpret_cast<const UTPS_WCHAR *>(s.utf16());
}

struct NewMessage
{
    int position = EN_LOCAL_INBOX;
    int initialPos = -1; // -1: same as position
    QString number = QStringLiteral("+15550101");
    QString content = QStringLiteral("hello");
    QString time = QStringLiteral("20260102030405");
    int status = 0;
    int read = 1;
    int msgClass = UTPS_MSGCLASS_DEFAULT;
    int msgType = UTPS_MSGTYPE_NORMAL;
};

// Stores a message through the SDK; its id, or -1 when the SDK refused it.
inline int save(const NewMessage &m)
{
    _UTPS_ST_SMS_RECORD rec{};
    rec.iMsgId = -1;
    rec.iPos = m.position;
    rec.iInitialPos = m.initialPos < 0 ? m.position : m.initialPos;
    rec.iStatus = m.status;
    rec.iReadStatus = m.read;
    rec.iMsgClass = m.msgClass;
    rec.iMsgType = m.msgType;
    rec.iPriority = UTPS_SMS_PRIORITY_NORMAL;
    rec.pszNumber = const_cast<UTPS_WCHAR *>(w(m.number));
    rec.pszContent = const_cast<UTPS_WCHAR *>(w(m.content));
    for (int i = 0; i < m.time.size() && i < UTPS_TIME_LEN - 1; ++i)
        rec.szTime[i] = m.time.at(i).unicode();
    int id = -1;
    return UTPS_SMSSrv_SaveMsg(&rec, &id, nullptr) == UTPS_OK ? id : -1;
}

inline int saveAt(int position, const QString &content = QStringLiteral("hello"))
{
    NewMessage m;
    m.position = position;
    m.content = content;
    return save(m);
}

// Whether the SDK still has message id in memory.
inline bool exists(int id, int memory)
{
    _UTPS_ST_SMS_RECORD *r = nullptr;
    if (UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr) != UTPS_OK)
        return false;
    r->iMsgId = id;
    const bool found = UTPS_SMSSrv_GetMsg(r, _UTPS_EN_SMS_MEM(memory)) == UTPS_OK;
    UTPS_SMSSrv_ReleaseSMSRecord(&r);
    return found;
}

inline QStringList contentsOf(int memory)
{
    QStringList contents;
    int *ids = nullptr;
    int count = 0;
    if (UTPS_SMSSrv_GetSmsIdList(&ids, &count, _UTPS_EN_SMS_MEM(memory)) != UTPS_OK)
        return contents;
    for (int i = 0; i < count; ++i) {
        _UTPS_ST_SMS_RECORD *r = nullptr;
        UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr);
        r->iMsgId = ids[i];
        if (UTPS_SMSSrv_GetMsg(r, _UTPS_EN_SMS_MEM(memory)) == UTPS_OK)
            contents.append(SmsTextFromSdk(r->pszContent));
        UTPS_SMSSrv_ReleaseSMSRecord(&r);
    }
    UTPS_SMSSrv_ReleaseSmsIdList(&ids);
    return contents;
}

// Reads every storage into the store and mirrors removals into its folders as the window
// does (DeleteSMSInUiService -> DeleteSMSFromBuffer, queued when emitted off this thread).
inline SMSStatusUILogic *loadedStore()
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QObject::connect(store, &SMSStatusUILogic::DeleteSMSInUiService, store,
                     &SMSStatusUILogic::DeleteSMSFromBuffer, Qt::UniqueConnection);
    for (int memory = UTPS_SMS_MEM_PC; memory <= UTPS_SMS_MEM_DEVICE; ++memory)
        store->PopulateSMSFromSDK(_UTPS_EN_SMS_MEM(memory));
    return store;
}

// Copies of a folder's records, by id.
inline QList<SmsRecord> recordsOf(SMSStatusUILogic *store, int position)
{
    const auto folder = store->GetSMSRecordsSet(_EN_SMS_POSITION(position));
    QList<int> ids = folder.keys();
    std::sort(ids.begin(), ids.end());
    QList<SmsRecord> records;
    for (int id : ids)
        records.append(*folder.value(id));
    return records;
}

// Every test case starts from an empty simulator in its own data folder and ends with
// the store destroyed, so a record that outlives the store shows as a leak.
class Fixture
{
public:
    void init()
    {
        m_home = std::make_unique<TestDataHome>();
        SimCtl_SetDemoSeed(0);
        SimCtl_Reset();
        SimCtl_SetSendDelay(0);
    }
    void cleanup()
    {
        SimCtl_WaitIdle(5000);
        SMSStatusUILogic::Destroy();
        SimCtl_Reset(); // also forgets the callback registrations
        m_home.reset();
    }

private:
    std::unique_ptr<TestDataHome> m_home;
};

// Records the store's signals as the window would receive them.
class SignalLog : public QObject
{
public:
    struct Entry
    {
        QString name;
        QVariantList args;
    };

    explicit SignalLog(SMSStatusUILogic *store)
    {
        using S = SMSStatusUILogic;
        connect(store, &S::NewMsg_Event, this, log<QString, QString, QString, int, int>("NewMsg_Event"));
        connect(store, &S::memoryStatus, this, log<int>("memoryStatus"));
        connect(store, &S::SmsSendResult, this, log<bool>("SmsSendResult"));
        connect(store, &S::SMSSentRecord, this, log<int>("SMSSentRecord"));
        connect(store, &S::SMSReceiveRecord, this, log<int>("SMSReceiveRecord"));
        connect(store, &S::PBSIMNVReady, this, log<>("PBSIMNVReady"));
        connect(store, &S::DeleteSMSInUiService, this, log<int, int, int, bool>("DeleteSMSInUiService"));
        connect(store, &S::progressbarCloseEvent, this, log<int>("progressbarCloseEvent"));
        connect(store, &S::CallBackDelete, this, log<int, int>("CallBackDelete"));
    }

    template <typename... Args>
    std::function<void(Args...)> log(const char *name)
    {
        return [this, name](Args... args) {
            m_entries.append({QString::fromLatin1(name), {QVariant::fromValue(args)...}});
        };
    }

    QStringList names() const
    {
        QStringList list;
        for (const Entry &e : m_entries)
            list.append(e.name);
        return list;
    }
    int count(const QString &name) const { return int(names().count(name)); }
    Entry first(const QString &name) const
    {
        for (const Entry &e : m_entries) {
            if (e.name == name)
                return e;
        }
        return {};
    }
    void clear() { m_entries.clear(); }

private:
    QList<Entry> m_entries;
};

} // namespace storetest
