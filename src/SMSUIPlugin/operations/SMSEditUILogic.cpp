// SPDX-License-Identifier: GPL-3.0-or-later
#include "SMSEditUILogic.h"

#include <QMutex>

#include "CardName.h"
#include "CommonUtils.h"
#include "SmsLog.h"
#include "store/SmsRecord.h"
#include "utps_sdk.h"

SMSEditUILogic *SMSEditUILogic::m_pInstance = nullptr;
QString SMSEditUILogic::m_strSIMIdentity;

namespace {

QMutex &instanceMutex()
{
    static QMutex mutex;
    return mutex;
}

const UTPS_WCHAR *sdkText(const QString *text)
{
    return text ? reinterpret_cast<const UTPS_WCHAR *>(text->utf16()) : nullptr;
}

// Content of the stored copy of a status report, whose displayed text the store may have
// made from the report's result. Returns 0, or 1 when it cannot be read.
int readStoredContent(int id, QString *content)
{
    _UTPS_ST_SMS_RECORD *stored = nullptr;
    long result = UTPS_SMSSrv_CreateSMSRecord(&stored, nullptr, nullptr);
    if (result != 0 || !stored) {
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_CreateSMSRecord returned" << result;
        return 1;
    }
    stored->iMsgId = id;
    result = UTPS_SMSSrv_GetMsg(stored, UTPS_SMS_MEM_PC);
    if (result != 0) {
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_GetMsg returned" << result << "for id" << id;
        UTPS_SMSSrv_ReleaseSMSRecord(&stored);
        return 1;
    }
    *content = SmsTextFromSdk(stored->pszContent);
    UTPS_SMSSrv_ReleaseSMSRecord(&stored);
    return 0;
}

} // namespace

SMSEditUILogic *SMSEditUILogic::Instance()
{
    QMutexLocker locker(&instanceMutex());
    if (!m_pInstance)
        m_pInstance = new SMSEditUILogic;
    return m_pInstance;
}

void SMSEditUILogic::Destroy()
{
    QMutexLocker locker(&instanceMutex());
    delete m_pInstance;
    m_pInstance = nullptr;
}

int SMSEditUILogic::SplitLongMessage(QString text, int &count)
{
    int segments = 0;
    const long result =
        UTPS_SMSSrv_GetMsgSplitCount(reinterpret_cast<const UTPS_WCHAR *>(text.utf16()), &segments);
    if (result != 0) {
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_GetMsgSplitCount returned" << result;
        return 1;
    }
    count = segments;
    return 0;
}

int SMSEditUILogic::SendSMS(QString *numbers, QString *content)
{
    _UTPS_ST_SMS_RECORD *record = nullptr;
    long result = UTPS_SMSSrv_CreateSMSRecord(&record, sdkText(numbers), sdkText(content));
    if (result != 0 || !record) {
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_CreateSMSRecord returned" << result;
        return 1;
    }
    result = UTPS_SMSSrv_SendMsg(record);
    int ret = 0;
    if (result != 0) {
        // Refused before anything went out: the SDK sends no event for it.
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_SendMsg returned" << result;
        ret = 1;
    }
    result = UTPS_SMSSrv_ReleaseSMSRecord(&record);
    if (result != 0)
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_ReleaseSMSRecord returned" << result;
    return ret;
}

int SMSEditUILogic::CancelSendSMS(int *handle)
{
    if (!handle)
        return 1;
    const long result = UTPS_SMSSrv_CancelSendMsg(handle);
    if (result != 0) {
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_CancelSendMsg returned" << result;
        return 1;
    }
    return 0;
}

int SMSEditUILogic::UpdateSms(SmsRecord *record)
{
    if (!record)
        return 1;
    QString content = record->strContent;
    if (record->iMsgType == UTPS_MSGTYPE_STATUS_REPORT) {
        // The shown text of a report may be "Success"/"Failed" made up from its result; a
        // report stored without text must stay without text.
        QString stored;
        if (readStoredContent(record->iMsgId, &stored) != 0)
            return 1;
        if (stored.isEmpty())
            content.clear();
    }
    SmsRecord written = *record;
    written.strContent = content;
    _UTPS_ST_SMS_RECORD sdk{};
    // The shared conversion also writes the sent-items folder back as the PC outbox, a
    // position the SDK knows, and keeps the time array terminated.
    SmsRecordToSdk(&sdk, written);
    const long result = UTPS_SMSSrv_UpdateMsg(&sdk);
    qCDebug(lcSmsSend) << "UTPS_SMSSrv_UpdateMsg returned" << result << "read status"
                       << record->iReadStatus;
    if (result != 0) {
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_UpdateMsg returned" << result << "for id"
                             << record->iMsgId;
        return 1;
    }
    return 0;
}

QString SMSEditUILogic::GetUserIdentityByString()
{
    m_strSIMIdentity.clear();
    int type = 0;
    const long result = UTPS_DevSrv_GetProductType(&type);
    if (result != 0) {
        qCWarning(lcSmsSend) << "UTPS_DevSrv_GetProductType returned" << result;
        return m_strSIMIdentity;
    }
    m_strSIMIdentity = CardName::forProduct(type == UTPS_PRODUCT_CDMA);
    return m_strSIMIdentity;
}
