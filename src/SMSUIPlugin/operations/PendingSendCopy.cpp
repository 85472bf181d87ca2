// SPDX-License-Identifier: GPL-3.0-or-later
#include "PendingSendCopy.h"

#include "SmsLog.h"
#include "store/SMSStatusUILogic.h"
#include "utps_sdk.h"

namespace {

const UTPS_WCHAR *sdkText(const QString &text)
{
    return reinterpret_cast<const UTPS_WCHAR *>(text.utf16());
}

// The recipients in the order the SDK sends to them: ";"-separated, blanks around a
// number dropped, empty parts skipped.
QStringList splitRecipients(const QString &recipients)
{
    QStringList out;
    const QStringList parts = recipients.split(QLatin1Char(';'));
    for (const QString &part : parts) {
        const QString number = part.trimmed();
        if (!number.isEmpty())
            out.append(number);
    }
    return out;
}

} // namespace

PendingSendCopy::PendingSendCopy(QObject *parent)
    : QObject(parent)
{
}

void PendingSendCopy::follow(SMSStatusUILogic *store)
{
    if (!store)
        return;
    connect(store, &SMSStatusUILogic::sendPartResult, this, &PendingSendCopy::recordResult,
            Qt::UniqueConnection);
}

bool PendingSendCopy::begin(const QString &recipients, const QString &content)
{
    if (isActive()) {
        // The copy of a send still under way stays: it is that send's only record.
        qCWarning(lcSmsSend) << "a send is still kept as copy" << m_iCopyId << "; the new one is not";
        return false;
    }
    m_lstRemaining = splitRecipients(recipients);
    m_strAllRecipients = m_lstRemaining.join(QLatin1Char(';'));
    m_strContent = content;
    m_iReached = 0;
    m_bCurrentFailed = false;
    _UTPS_ST_SMS_RECORD *record = nullptr;
    long result = UTPS_SMSSrv_CreateSMSRecord(&record, sdkText(m_strAllRecipients), sdkText(content));
    if (result != UTPS_OK || !record) {
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_CreateSMSRecord returned" << result;
        return false;
    }
    record->iPos = record->iInitialPos = UTPS_POS_PC_OUTBOX;
    record->iStatus = 1;
    record->iReadStatus = 0;
    m_strTime = QString::fromUtf16(reinterpret_cast<const char16_t *>(record->szTime));
    int id = -1;
    result = UTPS_SMSSrv_SaveMsg(record, &id, nullptr);
    UTPS_SMSSrv_ReleaseSMSRecord(&record);
    if (result != UTPS_OK) {
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_SaveMsg returned" << result
                             << "; the send goes out without an unsent copy";
        return false;
    }
    m_iCopyId = id;
    return true;
}

void PendingSendCopy::recordResult(const QString &number, int part, int parts, bool sent)
{
    if (!isActive())
        return;
    if (!sent)
        m_bCurrentFailed = true;
    if (part < parts)
        return; // the recipient's other parts are still to come
    const bool reached = !m_bCurrentFailed;
    m_bCurrentFailed = false;
    if (!reached)
        return; // a recipient who did not get it stays named
    const int index = m_lstRemaining.indexOf(number.trimmed());
    if (index < 0) {
        qCWarning(lcSmsSend) << "a send result for a recipient the copy does not name";
        return;
    }
    m_lstRemaining.removeAt(index);
    ++m_iReached;
    rewrite();
}

bool PendingSendCopy::rewrite()
{
    // Once everybody has it, the copy is a sent message with every recipient, which is
    // what the SDK's own copy will say; until then it is unsent and names who is left.
    const bool everybody = m_lstRemaining.isEmpty();
    const QString numbers = everybody ? m_strAllRecipients : m_lstRemaining.join(QLatin1Char(';'));
    _UTPS_ST_SMS_RECORD *record = nullptr;
    long result = UTPS_SMSSrv_CreateSMSRecord(&record, sdkText(numbers), sdkText(m_strContent));
    if (result != UTPS_OK || !record) {
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_CreateSMSRecord returned" << result;
        return false;
    }
    record->iMsgId = m_iCopyId;
    record->iPos = record->iInitialPos = UTPS_POS_PC_OUTBOX;
    record->iStatus = everybody ? 0 : 1;
    record->iReadStatus = 0;
    for (int i = 0; i < UTPS_TIME_LEN; ++i)
        record->szTime[i] = i < m_strTime.size() && i < UTPS_TIME_LEN - 1 ? m_strTime.at(i).unicode() : 0;
    result = UTPS_SMSSrv_UpdateMsg(record);
    UTPS_SMSSrv_ReleaseSMSRecord(&record);
    if (result != UTPS_OK) {
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_UpdateMsg returned" << result << "for the unsent copy"
                             << m_iCopyId;
        return false;
    }
    return true;
}

int PendingSendCopy::finish(bool sentCopyStored)
{
    if (!isActive())
        return -1;
    if (!sentCopyStored) {
        // The SDK could not store its copy (a full storage): this one is all that is left
        // of the send, and it already says who did not get it.
        qCWarning(lcSmsSend) << "the sent copy was not stored; copy" << m_iCopyId << "stays";
        m_iCopyId = -1;
        return -1;
    }
    return removeCopy();
}

int PendingSendCopy::abandon()
{
    return isActive() ? removeCopy() : -1;
}

int PendingSendCopy::removeCopy()
{
    const int id = m_iCopyId;
    m_iCopyId = -1;
    const long result = UTPS_SMSSrv_RemoveMsg(id, UTPS_SMS_MEM_PC);
    if (result != UTPS_OK) {
        qCWarning(lcSmsSend) << "UTPS_SMSSrv_RemoveMsg returned" << result << "for the unsent copy" << id;
        return -1;
    }
    return id;
}
