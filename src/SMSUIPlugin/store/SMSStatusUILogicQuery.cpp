// SPDX-License-Identifier: GPL-3.0-or-later
// Questions the windows ask the store: record sets, single records, unread counts,
// phone-book names, display texts and table icons.
#include "SMSStatusUILogic.h"

#include <QStringList>

#include <vector>

#include "Change.h"
#include "CommonUtils.h"
#include "SmsLog.h"

namespace {

constexpr int kNameLength = 48;
const char *const kContext = "SMSUIPlugin";

enum TableIcon { IconRead = 0, IconUnread = 1, IconSent = 2, IconNotSent = 3, IconDraft = 4, IconSendUnknown = 5 };

// Name of the contact with this number, or null when the phone book has none.
QString findName(const QString &number, bool *found)
{
    UTPS_WCHAR *name = nullptr;
    int value = 0;
    const long result = UTPS_PBSrv_FindNameByNumber(
        reinterpret_cast<const UTPS_WCHAR *>(number.utf16()), &name, kNameLength, &value);
    *found = result == 0;
    QString text;
    if (name)
        text = QString::fromUtf16(reinterpret_cast<const char16_t *>(name));
    delete[] name; // the SDK allocates the name with new[]
    return text;
}

} // namespace

QHash<int, SmsRecord *> SMSStatusUILogic::GetSMSRecordsSet(_EN_SMS_POSITION position)
{
    QMutexLocker locker(&m_bufferMutex);
    return m_hashBuffers.value(position);
}

SmsRecord SMSStatusUILogic::GetSingleSMS(_EN_SMS_POSITION position, int id)
{
    QMutexLocker locker(&m_bufferMutex);
    const SmsRecord *record = m_hashBuffers.value(position).value(id, nullptr);
    return record ? *record : SmsRecord();
}

int SMSStatusUILogic::GetSMSRecordUsingID(int id, _EN_SMS_POSITION position, SmsRecord **out)
{
    if (!out)
        return 23;
    *out = new SmsRecord;
    _UTPS_ST_SMS_RECORD *sdk = nullptr;
    long result = UTPS_SMSSrv_CreateSMSRecord(&sdk, nullptr, nullptr);
    if (result != 0 || !sdk) {
        qCWarning(lcSmsStore) << "UTPS_SMSSrv_CreateSMSRecord returned" << result;
        return 1;
    }
    sdk->iMsgId = id;
    int ret = 0;
    result = UTPS_SMSSrv_GetMsg(sdk, _UTPS_EN_SMS_MEM(GetMemPosition(position)));
    if (result != 0) {
        qCWarning(lcSmsStore) << "UTPS_SMSSrv_GetMsg returned" << result << "for id" << id;
        ret = 1;
    } else if (populateSDKRecordToLocalStructure(sdk, *out) != 0) {
        ret = 1;
    }
    result = UTPS_SMSSrv_ReleaseSMSRecord(&sdk);
    if (result != 0) {
        qCWarning(lcSmsStore) << "UTPS_SMSSrv_ReleaseSMSRecord returned" << result;
        ret = 1;
    }
    return ret;
}

int SMSStatusUILogic::GetUnReadSMSCountOverEnPos(_EN_SMS_POSITION position)
{
    QMutexLocker locker(&m_bufferMutex);
    int unread = 0;
    for (const SmsRecord *record : m_hashBuffers.value(position)) {
        if (record && record->iReadStatus == 1)
            ++unread;
    }
    return unread;
}

int SMSStatusUILogic::GetUnReadSMSCount(_UTPS_EN_SMS_MEM memory)
{
    switch (memory) {
    case UTPS_SMS_MEM_SIM:
        PopulateSMSFromSDK(UTPS_SMS_MEM_SIM);
        return GetUnReadSMSCountOverEnPos(EN_SIM_INBOX);
    case UTPS_SMS_MEM_DEVICE:
        PopulateSMSFromSDK(UTPS_SMS_MEM_DEVICE);
        return GetUnReadSMSCountOverEnPos(EN_DEVICE_INBOX);
    case UTPS_SMS_MEM_PC:
        return GetUnReadSMSCountOverEnPos(EN_LOCAL_INBOX)
            + GetUnReadSMSCountOverEnPos(EN_LOCAL_REPORT)
            + (IsCbsBoxShown() ? GetUnReadSMSCountOverEnPos(EN_LOCAL_CBSBOX) : 0);
    }
    return 0;
}

bool SMSStatusUILogic::IsCbsBoxShown()
{
    return CommonUtils::GetSettings(QStringLiteral("CBS"), QStringLiteral("enable"))
        == QLatin1String("true");
}

int SMSStatusUILogic::GetUnReadSMSTotalCount()
{
    const int pcCount = GetUnReadSMSCount(UTPS_SMS_MEM_PC);
    unsigned short count = 0;
    long result = UTPS_SMSSrv_SMSGetMemoryListType(nullptr, &count);
    if (result != 0 || count == 0) {
        qCDebug(lcSmsStore) << "memory list: result" << result << "count" << count;
        return pcCount;
    }
    std::vector<unsigned short> types(count, 0);
    result = UTPS_SMSSrv_SMSGetMemoryListType(types.data(), &count);
    if (result != 0) {
        qCWarning(lcSmsStore) << "UTPS_SMSSrv_SMSGetMemoryListType returned" << result;
        return pcCount;
    }
    int total = pcCount;
    for (unsigned short i = 0; i < count && i < types.size(); ++i) {
        if (types[i] == UTPS_MEMLIST_SIM)
            total += GetUnReadSMSCount(UTPS_SMS_MEM_SIM);
        else if (types[i] == UTPS_MEMLIST_DEVICE)
            total += GetUnReadSMSCount(UTPS_SMS_MEM_DEVICE);
    }
    return total;
}

bool SMSStatusUILogic::IsAnyMessagesUnRead(_EN_SMS_POSITION position)
{
    QMutexLocker locker(&m_bufferMutex);
    for (const SmsRecord *record : m_hashBuffers.value(position)) {
        if (!record) {
            qCWarning(lcSmsStore) << "Buffers corrupted at position" << position;
            return false;
        }
        if (record->iReadStatus != 0)
            return true;
    }
    return false;
}

QString SMSStatusUILogic::getNameByNumberFromPhoneBook(QString numbers)
{
    QStringList shown;
    for (const QString &number : numbers.split(QLatin1Char(';'))) {
        bool found = false;
        const QString name = findName(number, &found);
        shown.append(found ? name : number);
    }
    return shown.join(QStringLiteral("; "));
}

void SMSStatusUILogic::getNameByNumberFromPhoneBookEx(QString numbers, QString &display,
                                                      QString &names)
{
    QStringList displayParts;
    QStringList nameParts;
    for (const QString &number : numbers.split(QLatin1Char(';'))) {
        bool found = false;
        const QString name = findName(number, &found);
        displayParts.append(found && !name.isEmpty() ? name : number);
        nameParts.append(found ? name : number);
    }
    display = displayParts.join(QStringLiteral("; "));
    names = nameParts.join(QStringLiteral("; "));
}

int SMSStatusUILogic::SyncBuffersWithPB()
{
    QMutexLocker locker(&m_bufferMutex);
    for (auto &folder : m_hashBuffers) {
        for (SmsRecord *record : folder) {
            if (!record) {
                qCWarning(lcSmsStore) << "Error occurred in reading Hash";
                continue;
            }
            getNameByNumberFromPhoneBookEx(record->strNumber, record->strDisplayName,
                                           record->strPbNames);
        }
    }
    return 0;
}

QString SMSStatusUILogic::getUIDisplayTime(QString sdkTime)
{
    return SmsDisplayTime(sdkTime);
}

QString SMSStatusUILogic::getMessagePriority(int priority, bool multiModeCard, bool hideDualMode)
{
    return SmsPriorityKey(priority, multiModeCard, hideDualMode);
}

QString SMSStatusUILogic::getReportContentMsg(int status, QString content, int &result)
{
    const QString success = Change::tr(QStringLiteral("IDS_LBL_SUCCESS"), kContext);
    const QString failed = Change::tr(QStringLiteral("IDS_LBL_FAILED"), kContext);
    if (content == success) {
        result = 0;
        return content;
    }
    if (content == failed) {
        result = 1;
        return content;
    }
    if (content.size() >= 2)
        return content.remove(QStringLiteral("\r\n"));
    result = status == 0 ? 0 : 1;
    return status == 0 ? success : failed;
}

void SMSStatusUILogic::addIconsToTable(SmsRecord *record)
{
    if (!record)
        return;
    auto byReadState = [record] { return record->iReadStatus == 0 ? IconRead : IconUnread; };
    auto bySendState = [record] {
        return record->iStatus == 0 ? IconSent : IsSendUnknown(*record) ? IconSendUnknown : IconNotSent;
    };
    int tile = -1;
    switch (record->enPos) {
    case EN_LOCAL_INBOX:
    case EN_LOCAL_REPORT:
    case EN_LOCAL_CBSBOX:
    case EN_SIM_INBOX:
    case EN_DEVICE_INBOX:
        tile = byReadState();
        break;
    case EN_LOCAL_OUTBOX:
    case EN_SIM_OUTBOX:
    case EN_DEVICE_OUTBOX:
        tile = bySendState();
        break;
    case EN_LOCAL_SENTITEMS:
        tile = IconSent;
        break;
    case EN_LOCAL_DRAFT:
    case EN_LOCAL_FAVORITE:
    case EN_LOCAL_TRASH:
        // Kept messages show where they came from.
        switch (record->enInitialPos) {
        case EN_LOCAL_OUTBOX:
        case EN_SIM_OUTBOX:
        case EN_DEVICE_OUTBOX:
        case EN_LOCAL_SENTITEMS:
            tile = bySendState();
            break;
        case EN_LOCAL_INBOX:
        case EN_LOCAL_REPORT:
        case EN_LOCAL_CBSBOX:
        case EN_SIM_INBOX:
        case EN_DEVICE_INBOX:
            tile = byReadState();
            break;
        case EN_LOCAL_DRAFT:
            tile = IconDraft;
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
    record->imgIcon = tile >= 0 ? GetTableImage(tile) : QImage();
}

SmsRecord *SMSStatusUILogic::takeFirstSentRecord()
{
    QMutexLocker locker(&m_bufferMutex);
    return m_lstSentRecords.isEmpty() ? nullptr : m_lstSentRecords.takeFirst();
}

SmsRecord *SMSStatusUILogic::takeFirstReceivedRecord()
{
    QMutexLocker locker(&m_bufferMutex);
    return m_lstReceivedRecords.isEmpty() ? nullptr : m_lstReceivedRecords.takeFirst();
}

int SMSStatusUILogic::sentRecordCount()
{
    QMutexLocker locker(&m_bufferMutex);
    return int(m_lstSentRecords.size());
}

int SMSStatusUILogic::receivedRecordCount()
{
    QMutexLocker locker(&m_bufferMutex);
    return int(m_lstReceivedRecords.size());
}
