// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and changing the storages: counts, id lists, records, save/update/delete.
#include "SdkInternal.h"
#include "mm/MmBackend.h"

#include <algorithm>
#include <cstring>

using namespace sdk;

namespace {

Message fromRecord(const _UTPS_ST_SMS_RECORD &r)
{
    Message m;
    m.id = r.iMsgId;
    m.readStatus = r.iReadStatus;
    m.initialPos = r.iInitialPos == UTPS_POS_PC_SENT_ITEMS ? UTPS_POS_PC_OUTBOX : r.iInitialPos;
    // Sent items are the PC outbox's sent messages; they are stored there.
    m.pos = r.iPos == UTPS_POS_PC_SENT_ITEMS ? UTPS_POS_PC_OUTBOX : r.iPos;
    m.status = r.iStatus;
    m.msgType = r.iMsgType;
    m.msgClass = r.iMsgClass;
    m.extra1 = r.iExtra1;
    m.extra2 = r.iExtra2;
    m.extra3 = r.iExtra3;
    m.priority = r.iPriority;
    size_t n = 0;
    while (n < UTPS_TIME_LEN - 1 && r.szTime[n])
        ++n;
    m.time.assign(reinterpret_cast<const char16_t *>(r.szTime), n);
    m.number = fromWide(r.pszNumber);
    m.content = fromWide(r.pszContent);
    return m;
}

bool isOwned(const void *record)
{
    return state().records.count(record) != 0;
}

bool validInitial(int position)
{
    return position >= 0 && position <= 15 && position != 11 && (position < 12 || position == 15);
}

} // namespace

extern "C" {

long UTPS_SMSSrv_SMSRecordSetGetRecordCount(int *count, _UTPS_EN_SMS_MEM memory)
{
    SDK_ENTER(lock);
    if (!count || !validMemory(memory))
        return UTPS_E_INVALID_ARG;
    if (long rc = storageReadable(memory, /* probe */ true))
        return rc;
    if (mm::handles(memory))
        return mm::count(memory, *count);
    const int n = usedCount(memory);
    if (n < 0)
        return UTPS_E_DATABASE;
    *count = n;
    return UTPS_OK;
}

long UTPS_SMSSrv_GetSmsIdList(int **ids, int *count, _UTPS_EN_SMS_MEM memory)
{
    SDK_ENTER(lock);
    if (!ids || !count || !validMemory(memory))
        return UTPS_E_INVALID_ARG;
    *ids = nullptr;
    *count = 0;
    if (long rc = storageReadable(memory, false))
        return rc;
    std::vector<int> list;
    if (mm::handles(memory))
        mm::ids(memory, list);
    else if (!state().store.ids(memory, list))
        return UTPS_E_DATABASE;
    if (!list.empty()) {
        *ids = new int[list.size()];
        std::copy(list.begin(), list.end(), *ids);
    }
    *count = int(list.size());
    return UTPS_OK;
}

long UTPS_SMSSrv_ReleaseSmsIdList(int **ids)
{
    SDK_ENTER(lock);
    if (ids) {
        delete[] *ids;
        *ids = nullptr;
    }
    return UTPS_OK;
}

long UTPS_SMSSrv_CreateSMSRecord(_UTPS_ST_SMS_RECORD **record, const UTPS_WCHAR *number,
                                 const UTPS_WCHAR *content)
{
    SDK_ENTER(lock);
    if (!record)
        return UTPS_E_INVALID_ARG;
    Message m;
    m.id = -1;
    m.readStatus = 0;
    // A fresh record is a draft until it is sent or stored elsewhere.
    m.initialPos = m.pos = UTPS_POS_PC_DRAFTS;
    m.status = 1;
    m.msgClass = UTPS_MSGCLASS_DEFAULT;
    m.priority = state().priority;
    m.number = fromWide(number);
    m.content = fromWide(content);
    auto *owned = new OwnedRecord;
    owned->assign(std::move(m));
    // Stamped now; written straight into the record (most are read over at once).
    const std::u16string &now = timeNow();
    std::copy_n(now.begin(), std::min<size_t>(now.size(), UTPS_TIME_LEN - 1), owned->rec.szTime);
    state().records.insert(&owned->rec);
    *record = &owned->rec;
    return UTPS_OK;
}

long UTPS_SMSSrv_ReleaseSMSRecord(_UTPS_ST_SMS_RECORD **record)
{
    SDK_ENTER(lock);
    if (!record || !*record)
        return UTPS_OK;
    if (!isOwned(*record))
        return UTPS_E_INVALID_ARG;
    state().records.erase(*record);
    // rec is the first member, so the record's address is the OwnedRecord's.
    delete reinterpret_cast<OwnedRecord *>(*record);
    *record = nullptr;
    return UTPS_OK;
}

long UTPS_SMSSrv_GetMsg(_UTPS_ST_SMS_RECORD *record, _UTPS_EN_SMS_MEM memory)
{
    SDK_ENTER(lock);
    if (!record || !validMemory(memory) || !isOwned(record))
        return UTPS_E_INVALID_ARG;
    if (long rc = storageReadable(memory, false))
        return rc;
    Message m;
    if (mm::handles(memory)) {
        if (long rc = mm::get(memory, record->iMsgId, m))
            return rc;
    } else if (!state().store.get(memory, record->iMsgId, m)) {
        return state().store.isOpen() ? UTPS_E_NOT_FOUND : UTPS_E_DATABASE;
    }
    reinterpret_cast<OwnedRecord *>(record)->assign(std::move(m));
    return UTPS_OK;
}

long UTPS_SMSSrv_SaveMsg(const _UTPS_ST_SMS_RECORD *record, int *newId, int *memory)
{
    SDK_ENTER(lock);
    if (!record || !newId)
        return UTPS_E_INVALID_ARG;
    Message m = fromRecord(*record);
    m.mem = memoryOfPosition(m.pos);
    if (m.mem < 0 || !validInitial(record->iInitialPos))
        return UTPS_E_INVALID_ARG;
    if (long rc = storageReadable(m.mem, false))
        return rc;
    SDK_WRITE_GATE(lock);
    if (long rc = mm::handles(m.mem) ? mm::save(lock, m) : storeNew(m))
        return rc;
    *newId = m.id;
    if (memory)
        *memory = m.mem;
    return UTPS_OK;
}

long UTPS_SMSSrv_UpdateMsg(const _UTPS_ST_SMS_RECORD *record)
{
    SDK_ENTER(lock);
    if (!record)
        return UTPS_E_INVALID_ARG;
    Message m = fromRecord(*record);
    m.mem = memoryOfPosition(m.pos);
    if (m.mem < 0 || !validInitial(record->iInitialPos))
        return UTPS_E_INVALID_ARG;
    if (long rc = storageReadable(m.mem, false))
        return rc;
    SDK_WRITE_GATE(lock);
    if (mm::handles(m.mem))
        return mm::update(m);
    if (m.time.empty())
        m.time = timeNow();
    const int rc = state().store.update(m);
    return rc > 0 ? UTPS_OK : rc == 0 ? UTPS_E_NOT_FOUND : UTPS_E_DATABASE;
}

long UTPS_SMSSrv_RemoveMsg(int id, _UTPS_EN_SMS_MEM memory)
{
    SDK_ENTER(lock);
    if (!validMemory(memory))
        return UTPS_E_INVALID_ARG;
    if (long rc = storageReadable(memory, false))
        return rc;
    SDK_WRITE_GATE(lock);
    if (mm::handles(memory))
        return mm::remove(lock, memory, id);
    const int rc = removeStored(memory, id);
    return rc > 0 ? UTPS_OK : rc == 0 ? UTPS_E_NOT_FOUND : UTPS_E_DATABASE;
}

long UTPS_SMSSrv_DeleteMsg(int id, _UTPS_EN_SMS_MEM memory)
{
    SDK_ENTER(lock);
    if (!validMemory(memory))
        return UTPS_E_INVALID_ARG;
    if (long rc = storageReadable(memory, false))
        return rc;
    SDK_WRITE_GATE(lock);
    if (mm::handles(memory))
        return mm::remove(lock, memory, id);
    Store &store = state().store;
    int rc = 0;
    // The trash keeps the folder of origin so that a recover can return it there. A PC
    // message outside the trash goes there in one statement; anything else is read first.
    if (memory == UTPS_SMS_MEM_PC && store.isOpen())
        rc = store.moveToFolder(memory, id, UTPS_POS_PC_TRASH);
    if (rc == 0) {
        Message m;
        if (!store.get(memory, id, m))
            return UTPS_E_NOT_FOUND;
        rc = removeStored(memory, id);
    }
    return rc > 0 ? UTPS_OK : rc == 0 ? UTPS_E_NOT_FOUND : UTPS_E_DATABASE;
}

long UTPS_SMSSrv_BeginTransaction(_UTPS_EN_SMS_MEM memory)
{
    SDK_ENTER(lock);
    if (!validMemory(memory))
        return UTPS_E_INVALID_ARG;
    SDK_WRITE_GATE(lock);
    State &s = state();
    if (!s.txOpen) {
        if (!s.store.begin()) {
            warn("cannot begin a transaction");
            return UTPS_E_DATABASE;
        }
        s.txOpen = true;
        s.txOwner = std::this_thread::get_id();
    }
    ++s.txDepth[memory];
    return UTPS_OK;
}

long UTPS_SMSSrv_EndTransaction(_UTPS_EN_SMS_MEM memory)
{
    State &s = state();
    long injected = 0;
    auto lock = enter(__func__, injected);
    if (injected != 0 && !s.initialised)
        return injected;
    if (!validMemory(memory))
        return UTPS_E_INVALID_ARG;
    if (!s.txOpen || s.txOwner != std::this_thread::get_id() || s.txDepth[memory] == 0)
        return injected ? injected : UTPS_E_NO_TRANSACTION;
    --s.txDepth[memory];
    const bool last = std::all_of(std::begin(s.txDepth), std::end(s.txDepth), [](int d) { return d == 0; });
    long rc = UTPS_OK;
    if (last || injected) {
        // An injected failure stands for a failed commit: the whole batch is undone.
        if (injected || !s.store.commit()) {
            if (!injected)
                warn("commit failed; the batch was rolled back");
            s.store.rollback();
            loadSettings();
            forgetCaches();
            rc = injected ? injected : UTPS_E_ROLLED_BACK;
        }
        std::fill(std::begin(s.txDepth), std::end(s.txDepth), 0);
        s.txOpen = false;
        s.txOwner = std::thread::id();
        if (mm::active())
            mm::transactionEnded(lock, rc == UTPS_OK);
        s.txGate.notify_all();
    }
    return rc;
}

long UTPS_SMSSrv_GetRecordInfo(int *capacity, int *used, _UTPS_EN_SMS_MEM memory)
{
    SDK_ENTER(lock);
    if (!capacity || !used || !validMemory(memory))
        return UTPS_E_INVALID_ARG;
    if (long rc = storageReadable(memory, false))
        return rc;
    if (mm::handles(memory))
        return UTPS_E_FAILED; // ModemManager tells no capacity: unknown, not a guess
    const int n = usedCount(memory);
    if (n < 0)
        return UTPS_E_DATABASE;
    *capacity = state().capacity[memory];
    *used = n;
    return UTPS_OK;
}

long UTPS_SMSSrv_SMSGetMemoryListType(unsigned short *types, unsigned short *count)
{
    SDK_ENTER(lock);
    if (!count)
        return UTPS_E_INVALID_ARG;
    std::vector<unsigned short> list;
    if (storageAvailable(UTPS_SMS_MEM_SIM) == UTPS_OK)
        list.push_back(UTPS_MEMLIST_SIM);
    if (storageAvailable(UTPS_SMS_MEM_DEVICE) == UTPS_OK)
        list.push_back(UTPS_MEMLIST_DEVICE);
    if (!types) {
        *count = static_cast<unsigned short>(list.size());
        return UTPS_OK;
    }
    const size_t n = std::min<size_t>(*count, list.size());
    std::copy_n(list.begin(), n, types);
    *count = static_cast<unsigned short>(n);
    return n < list.size() ? UTPS_E_BUFFER_TOO_SMALL : UTPS_OK;
}

} // extern "C"
