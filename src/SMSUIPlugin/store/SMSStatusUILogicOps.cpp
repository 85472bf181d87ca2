// SPDX-License-Identifier: GPL-3.0-or-later
// Operations that remove messages: delete (to the trash or for good) and the removal of
// records from the buffers that follows an SDK change; update and draft saving.
//
// The SDK is changed first and the buffers follow: a failed SDK call leaves the buffers as
// they were. A message that left a folder is announced with DeleteSMSInUiService, whose
// receiver (the window) drops the row and calls DeleteSMSFromBuffer.
#include "SMSStatusUILogic.h"

#include "SmsLog.h"

namespace {

// Folders without a trash behind them: their messages are deleted for good.
bool deletesForGood(int position)
{
    return position >= EN_LOCAL_TRASH && position <= EN_LOCAL_CBSBOX;
}

} // namespace

int SMSStatusUILogic::DeleteSMS(int id, int position, int memory)
{
    const bool permanent = deletesForGood(position);
    const long result = permanent ? UTPS_SMSSrv_RemoveMsg(id, _UTPS_EN_SMS_MEM(memory))
                                  : UTPS_SMSSrv_DeleteMsg(id, _UTPS_EN_SMS_MEM(memory));
    if (result != 0) {
        qCWarning(lcSmsOps) << (permanent ? "UTPS_SMSSrv_RemoveMsg" : "UTPS_SMSSrv_DeleteMsg")
                            << "returned" << result << "for id" << id << "memory" << memory;
        return 1;
    }
    announceRemoval(id, position, memory, permanent);
    return 0;
}

int SMSStatusUILogic::ForceDeleteSMS(int id, int position, int memory)
{
    const long result = UTPS_SMSSrv_RemoveMsg(id, _UTPS_EN_SMS_MEM(memory));
    if (result != 0) {
        qCWarning(lcSmsOps) << "UTPS_SMSSrv_RemoveMsg returned" << result << "for id" << id;
        return 1;
    }
    announceRemoval(id, position, memory, true);
    return 0;
}

int SMSStatusUILogic::DeleteSMSFromBuffer(int id, int position, int /*memory*/, bool permanent)
{
    RemoveSMSFromMap(position, id, permanent);
    return 0;
}

int SMSStatusUILogic::RemoveSMSFromMap(int position, int id, bool permanent)
{
    QMutexLocker locker(&m_bufferMutex);
    auto folder = m_hashBuffers.find(position);
    if (folder == m_hashBuffers.end())
        return 0;
    SmsRecord *record = folder->take(id);
    if (!record)
        return 0;
    if (permanent) {
        forgetListedLocked(record);
        delete record;
        return 1;
    }
    // The SDK moved the message to the trash under the same id: refile the same record.
    record->enPos = EN_LOCAL_TRASH;
    record->iReadStatus = 0;
    record->imgIcon = GetTableImage(0);
    QHash<int, SmsRecord *> &trash = m_hashBuffers[EN_LOCAL_TRASH];
    SmsRecord *previous = trash.value(id, nullptr);
    trash.insert(id, record);
    if (previous && previous != record)
        m_lstRetiredRecords.append(previous); // see InsertSingleSMS
    return 1;
}

int SMSStatusUILogic::DeleteListSMSFromBuffer(int position, int id)
{
    QMutexLocker locker(&m_bufferMutex);
    auto folder = m_hashBuffers.find(position);
    if (folder == m_hashBuffers.end())
        return 0;
    if (id == -1) {
        for (SmsRecord *record : std::as_const(*folder)) {
            forgetListedLocked(record);
            delete record;
        }
        folder->clear();
        return 0;
    }
    if (SmsRecord *record = folder->take(id)) {
        forgetListedLocked(record);
        delete record;
    }
    return 0;
}

int SMSStatusUILogic::UpdateSms(SmsRecord *record)
{
    if (!record)
        return 23;
    _UTPS_ST_SMS_RECORD sdk{};
    const int converted = populateLocalRecordToSDKStructure(&sdk, *record);
    if (converted != 0) {
        qCWarning(lcSmsOps) << "populateLocalRecordToSDKStructure returned" << converted;
        return converted;
    }
    const long result = UTPS_SMSSrv_UpdateMsg(&sdk);
    if (result != 0)
        qCWarning(lcSmsOps) << "UTPS_SMSSrv_UpdateMsg returned" << result;
    // record may be the buffer's own copy, which the receiver of the signal frees.
    const int id = record->iMsgId;
    const int position = record->enPos;
    announceRemoval(id, position, GetMemPosition(position), true);
    UpdateSMSBufferUsingMsgID(id, position);
    return 0;
}

int SMSStatusUILogic::UpdateSMSBufferUsingMsgID(int id, int position)
{
    return readAndFile(id, GetMemPosition(position));
}

int SMSStatusUILogic::readAndFile(int id, int memory)
{
    _UTPS_ST_SMS_RECORD *sdk = nullptr;
    long result = UTPS_SMSSrv_CreateSMSRecord(&sdk, nullptr, nullptr);
    if (result != 0 || !sdk) {
        qCWarning(lcSmsOps) << "UTPS_SMSSrv_CreateSMSRecord returned" << result;
        return 1;
    }
    sdk->iMsgId = id;
    int ret = 0;
    result = UTPS_SMSSrv_GetMsg(sdk, _UTPS_EN_SMS_MEM(memory));
    if (result != 0) {
        // Stored but not shown until the memory is read again.
        qCWarning(lcSmsOps) << "UTPS_SMSSrv_GetMsg returned" << result << "for id" << id
                            << "memory" << memory;
        ret = 1;
    } else {
        SmsRecord *filed = nullptr;
        const int sorted = sortSMSToCorrespondingNodes(sdk, &filed);
        if (sorted != 0) {
            qCWarning(lcSmsOps) << "sortSMSToCorrespondingNodes returned" << sorted;
            ret = 1;
        }
        if (isShownOnce(sdk->iMsgClass, sdk->iInitialPos))
            delete filed; // converted but never filed
    }
    result = UTPS_SMSSrv_ReleaseSMSRecord(&sdk);
    if (result != 0) {
        qCWarning(lcSmsOps) << "UTPS_SMSSrv_ReleaseSMSRecord returned" << result;
        ret = 1;
    }
    return ret;
}

int SMSStatusUILogic::SaveMsgToDraft(QString *number, QString *content, SmsRecord **out)
{
    _UTPS_ST_SMS_RECORD *sdk = nullptr;
    long result = UTPS_SMSSrv_CreateSMSRecord(
        &sdk, number ? reinterpret_cast<const UTPS_WCHAR *>(number->utf16()) : nullptr,
        content ? reinterpret_cast<const UTPS_WCHAR *>(content->utf16()) : nullptr);
    if (result != 0 || !sdk) {
        qCWarning(lcSmsOps) << "UTPS_SMSSrv_CreateSMSRecord returned" << result;
        return 1;
    }
    sdk->iInitialPos = EN_LOCAL_DRAFT;
    sdk->iPos = EN_LOCAL_DRAFT;
    sdk->iPriority = UTPS_SMS_PRIORITY_NONE;
    int newId = -1;
    result = UTPS_SMSSrv_SaveMsg(sdk, &newId, nullptr);
    if (result != 0) {
        qCWarning(lcSmsOps) << "UTPS_SMSSrv_SaveMsg returned" << result;
        UTPS_SMSSrv_ReleaseSMSRecord(&sdk);
        return 1;
    }
    sdk->iMsgId = newId;
    SmsRecord *filed = nullptr;
    const int sorted = sortSMSToCorrespondingNodes(sdk, &filed);
    if (sorted != 0) {
        // A failed conversion has freed its record already; a filed one belongs to the store.
        qCWarning(lcSmsOps) << "sortSMSToCorrespondingNodes returned" << sorted;
        UTPS_SMSSrv_ReleaseSMSRecord(&sdk);
        return 1;
    }
    if (out) {
        QMutexLocker locker(&m_bufferMutex);
        *out = m_hashBuffers.value(EN_LOCAL_DRAFT).value(newId, nullptr);
    }
    UTPS_SMSSrv_ReleaseSMSRecord(&sdk);
    return 0;
}
