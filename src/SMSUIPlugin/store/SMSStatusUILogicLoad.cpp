// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a storage from the SDK, converting records and filing them by folder.
#include "SMSStatusUILogic.h"

#include "SmsLog.h"

#include <QHash>
#include <QScopeGuard>

#include <algorithm>
#include <utility>

namespace {

// Folders that ReleaseSmsBuffer empties, per memory.
QList<int> releasedPositions(int memory)
{
    switch (memory) {
    case UTPS_SMS_MEM_PC:
        return {EN_LOCAL_OUTBOX, EN_LOCAL_INBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE,
                EN_LOCAL_TRASH, EN_LOCAL_REPORT};
    case UTPS_SMS_MEM_SIM:
        return {EN_SIM_OUTBOX, EN_SIM_INBOX};
    case UTPS_SMS_MEM_DEVICE:
        return {EN_DEVICE_OUTBOX, EN_DEVICE_INBOX};
    default:
        return {};
    }
}

// Set while this thread reads a whole storage (PopulateSMSFromSDK).
thread_local bool t_readingStorage = false;
// Senders repeat across a storage, often several messages in a row: while one is read,
// each sender's numbers are looked up in the phone book once (display text and names).
struct SenderNames
{
    QHash<QString, std::pair<QString, QString>> known;
    bool hasLast = false;
    QString lastNumber;
    std::pair<QString, QString> last;
};
thread_local SenderNames *t_senderNames = nullptr;

bool isInbox(int position)
{
    return position == EN_LOCAL_INBOX || position == EN_SIM_INBOX
        || position == EN_DEVICE_INBOX || position == EN_LOCAL_CBSBOX;
}

} // namespace

int SMSStatusUILogic::GetSMSCount(_UTPS_EN_SMS_MEM memory)
{
    int count = 0;
    const long result = UTPS_SMSSrv_SMSRecordSetGetRecordCount(&count, memory);
    if (result != 0) {
        qCWarning(lcSmsStore) << "UTPS_SMSSrv_SMSRecordSetGetRecordCount returned" << result
                              << "for memory" << memory;
        return -1;
    }
    return count;
}

int SMSStatusUILogic::GetSMSRecordCount(int memory)
{
    int count = 0;
    const long result =
        UTPS_SMSSrv_SMSRecordSetGetRecordCount(&count, _UTPS_EN_SMS_MEM(memory));
    if (result != 0) {
        qCWarning(lcSmsStore) << "The Error code returned by the "
                                 "UTPS_SMSSrv_SMSRecordSetGetRecordCount ="
                              << result;
        return 1;
    }
    m_iRecordCount = count;
    return 0;
}

int SMSStatusUILogic::GetMessageIdList(int memory)
{
    int count = 0;
    const long result = UTPS_SMSSrv_GetSmsIdList(&m_pSdkIdArray, &count, _UTPS_EN_SMS_MEM(memory));
    int ret = 1;
    if (result != 0) {
        qCWarning(lcSmsStore) << "The Error code returned by the UTPS_SMSSrv_GetSmsIdList ="
                              << result;
    } else {
        m_iRecordCount = count;
        if (count > 0 && m_pSdkIdArray) {
            for (int i = 0; i < count; ++i)
                m_lstIdList.append(m_pSdkIdArray[i]);
            ret = 0;
        }
    }
    releaseMessageIdList();
    return ret;
}

void SMSStatusUILogic::releaseMessageIdList()
{
    if (m_pSdkIdArray) {
        UTPS_SMSSrv_ReleaseSmsIdList(&m_pSdkIdArray);
        m_pSdkIdArray = nullptr;
    }
}

int SMSStatusUILogic::PopulateSMSFromSDK(_UTPS_EN_SMS_MEM memory)
{
    const int count = GetSMSCount(memory);
    m_lstIdList.clear();
    if (GetMessageIdList(memory) != 0) {
        qCWarning(lcSmsStore) << "GetMessageIdList returned error for memory" << memory;
        return 1;
    }
    if (count == -1 || m_lstIdList.isEmpty() || m_lstIdList.size() != count) {
        qCWarning(lcSmsStore) << "SMS Count  error: count" << count << "ids"
                              << m_lstIdList.size();
        return 1;
    }

    int result = 0;
    SenderNames senderNames;
    t_readingStorage = true;
    t_senderNames = &senderNames;
    // One SDK record serves every read: GetMsg rewrites all of it each time.
    _UTPS_ST_SMS_RECORD *sdk = nullptr;
    const auto done = qScopeGuard([&sdk] {
        t_readingStorage = false;
        t_senderNames = nullptr;
        if (sdk) {
            const long released = UTPS_SMSSrv_ReleaseSMSRecord(&sdk);
            if (released != 0)
                qCWarning(lcSmsStore) << "UTPS_SMSSrv_ReleaseSMSRecord returned" << released;
        }
    });
    long sdkResult = UTPS_SMSSrv_CreateSMSRecord(&sdk, nullptr, nullptr);
    if (sdkResult != 0 || !sdk) {
        qCWarning(lcSmsStore) << "UTPS_SMSSrv_CreateSMSRecord returned" << sdkResult;
        return 1;
    }
    for (int i = 0; i < count; ++i) {
        sdk->iMsgId = m_lstIdList.at(i);
        sdkResult = UTPS_SMSSrv_GetMsg(sdk, memory);
        if (sdkResult != 0) {
            qCWarning(lcSmsStore) << "UTPS_SMSSrv_GetMsg returned" << sdkResult << "for id"
                                  << m_lstIdList.at(i)
                                  << "- probably the end of message reading";
            return 1;
        }
        SmsRecord *filed = nullptr;
        result = sortSMSToCorrespondingNodes(sdk, &filed);
        if (result != 0)
            qCWarning(lcSmsStore) << "sortSMSToCorrespondingNodes returned" << result;
        if (isShownOnce(sdk->iMsgClass, sdk->iInitialPos))
            delete filed; // a stored class-0 message of an inbox is not shown from storage
    }
    return result;
}

int SMSStatusUILogic::sortSMSToCorrespondingNodes(_UTPS_ST_SMS_RECORD *sdk, SmsRecord **out)
{
    QMutexLocker conversion(&m_conversionMutex);
    if (!out || !sdk) {
        qCWarning(lcSmsStore) << "sortSMSToCorrespondingNodes: invalid input params";
        return 23;
    }
    SmsRecord *record = convertLocked(sdk);
    *out = record;
    if (!record)
        return 1;
    // Re-reading a storage (every unread-count question does) mostly finds what is filed
    // already: the filed record stays and the copy goes, so nothing needs parking. Only
    // for a whole-storage reading: operations file what they read as before.
    if (SmsRecord *filed = t_readingStorage ? filedTwinOf(*record) : nullptr) {
        delete record;
        *out = filed;
    } else {
        fileConverted(record);
    }

    constexpr unsigned kValidPositions = 0x87DF | (1u << EN_LOCAL_REPORT); // 0-10 and 15
    const int position = sdk->iPos;
    if (position < 0 || position >= EN_POS_INVALID || !(kValidPositions & (1u << position))) {
        // Already filed: the record stays owned by the store under that position.
        qCWarning(lcSmsStore) << "Position is wrong:" << position;
        return 1;
    }
    return 0;
}

SmsRecord *SMSStatusUILogic::convertLocked(_UTPS_ST_SMS_RECORD *sdk)
{
    auto *record = new SmsRecord;
    const int converted = populateSDKRecordToLocalStructure(sdk, record);
    if (converted != 0) {
        qCWarning(lcSmsStore) << "populateSDKRecordToLocalStructure returned" << converted;
        delete record;
        return nullptr;
    }
    addIconsToTable(record);
    if (SenderNames *senders = t_senderNames) {
        if (!senders->hasLast || senders->lastNumber != record->strNumber) {
            auto known = senders->known.constFind(record->strNumber);
            if (known == senders->known.cend()) {
                std::pair<QString, QString> found;
                getNameByNumberFromPhoneBookEx(record->strNumber, found.first, found.second);
                known = senders->known.insert(record->strNumber, found);
            }
            senders->hasLast = true;
            senders->lastNumber = record->strNumber;
            senders->last = *known;
        }
        record->strDisplayName = senders->last.first;
        record->strPbNames = senders->last.second;
    } else {
        getNameByNumberFromPhoneBookEx(record->strNumber, record->strDisplayName,
                                       record->strPbNames);
    }
    record->strDisplayTime = getUIDisplayTime(record->strTime);

    // The report text is settled before filing: once filed, other threads may read it.
    if (sdk->iPos == EN_LOCAL_REPORT && sdk->iMsgType == UTPS_MSGTYPE_STATUS_REPORT) {
        // A report whose text arrived without a result keeps -1.
        int reportResult = -1;
        record->strContent = getReportContentMsg(record->iStatus, record->strContent, reportResult);
        record->iReportResult = reportResult;
    }
    return record;
}

void SMSStatusUILogic::InsertSingleSMS(_EN_SMS_POSITION position, int id, SmsRecord *record)
{
    if (!record)
        return;
    // Class-0 messages are shown once and never stored.
    if (isShownOnce(record->iMsgClass, record->enInitialPos))
        return;

    QMutexLocker locker(&m_bufferMutex);
    QHash<int, SmsRecord *> &folder = m_hashBuffers[position];
    SmsRecord *previous = folder.value(id, nullptr);
    folder.insert(id, record);
    // A second reading of the same id replaces the first. The first may still be borrowed
    // by a table row (tables are only rebuilt after the store changed) or sit in the sent
    // or received list waiting for the window, so freeing it here could leave a pointer to
    // freed memory. It is parked instead and freed when its memory is released
    // (ReleaseSmsBuffer / ReleaseAllSmsBuffers), when every table of that memory is
    // rebuilt anyway, or with the store. So every record is freed exactly once, and a
    // stale row shows the old text until its table is rebuilt, never garbage.
    if (previous && previous != record)
        m_lstRetiredRecords.append(previous);
}

int SMSStatusUILogic::ReleaseSmsBuffer(_UTPS_EN_SMS_MEM memory)
{
    for (int position : releasedPositions(memory))
        DeleteListSMSFromBuffer(position, -1);
    QMutexLocker locker(&m_bufferMutex);
    freeRetiredLocked(memory);
    return 0;
}

int SMSStatusUILogic::ReleaseAllSmsBuffers()
{
    ReleaseSmsBuffer(UTPS_SMS_MEM_PC);
    ReleaseSmsBuffer(UTPS_SMS_MEM_SIM);
    ReleaseSmsBuffer(UTPS_SMS_MEM_DEVICE);
    return 0;
}

int SMSStatusUILogic::parkedRecordCount()
{
    QMutexLocker locker(&m_bufferMutex);
    return int(m_lstRetiredRecords.size());
}

void SMSStatusUILogic::freeRetiredLocked(int memory)
{
    auto freed = std::stable_partition(m_lstRetiredRecords.begin(), m_lstRetiredRecords.end(),
                                       [memory](const SmsRecord *record) {
                                           return memory >= 0
                                               && GetMemPosition(record->enPos) != memory;
                                       });
    for (auto it = freed; it != m_lstRetiredRecords.end(); ++it) {
        forgetListedLocked(*it);
        delete *it;
    }
    m_lstRetiredRecords.erase(freed, m_lstRetiredRecords.end());
}

void SMSStatusUILogic::forgetListedLocked(const SmsRecord *record)
{
    // The entry stays (as null) so that the window's takes stay in step with the signals
    // that announced them; the window skips null entries.
    const auto same = [record](const SmsRecord *entry) { return entry == record; };
    std::replace_if(m_lstSentRecords.begin(), m_lstSentRecords.end(), same, nullptr);
    std::replace_if(m_lstReceivedRecords.begin(), m_lstReceivedRecords.end(), same, nullptr);
}

SmsRecord *SMSStatusUILogic::filedTwinOf(const SmsRecord &record)
{
    if (isShownOnce(record.iMsgClass, record.enInitialPos))
        return nullptr;
    QMutexLocker locker(&m_bufferMutex);
    SmsRecord *filed = m_hashBuffers.value(record.enPos).value(record.iMsgId, nullptr);
    return filed && sameContent(*filed, record) ? filed : nullptr;
}

bool SMSStatusUILogic::sameContent(const SmsRecord &a, const SmsRecord &b)
{
    return a.iMsgId == b.iMsgId && a.iReadStatus == b.iReadStatus
        && a.enInitialPos == b.enInitialPos && a.enPos == b.enPos && a.iStatus == b.iStatus
        && a.strNumber == b.strNumber && a.strContent == b.strContent && a.strTime == b.strTime
        && a.iMsgType == b.iMsgType && a.iMsgClass == b.iMsgClass && a.iExtra1 == b.iExtra1
        && a.iExtra2 == b.iExtra2 && a.iExtra3 == b.iExtra3
        && a.iMessagePriority == b.iMessagePriority && a.strDisplayName == b.strDisplayName
        && a.strPbNames == b.strPbNames && a.strDisplayTime == b.strDisplayTime
        && a.iReportResult == b.iReportResult && a.imgIcon == b.imgIcon;
}

bool SMSStatusUILogic::isShownOnce(int msgClass, int initialPos)
{
    return msgClass == UTPS_MSGCLASS_FLASH && isInbox(initialPos);
}

bool SMSStatusUILogic::isFiledLocked(const SmsRecord *record) const
{
    for (const auto &folder : m_hashBuffers) {
        if (folder.value(record->iMsgId, nullptr) == record)
            return true;
    }
    return false;
}

int SMSStatusUILogic::populateSDKRecordToLocalStructure(_UTPS_ST_SMS_RECORD *sdk, SmsRecord *rec)
{
    return SmsRecordFromSdk(sdk, rec, isHaveSendItemsBox());
}

int SMSStatusUILogic::populateLocalRecordToSDKStructure(_UTPS_ST_SMS_RECORD *sdk,
                                                        const SmsRecord &rec)
{
    return SmsRecordToSdk(sdk, rec);
}
