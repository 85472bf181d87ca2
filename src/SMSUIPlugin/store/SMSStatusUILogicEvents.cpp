// SPDX-License-Identifier: GPL-3.0-or-later
// SDK events: the one callback the SDK calls on its own thread, and what each event does
// to the store. Results reach the GUI thread only as queued signals.
#include "SMSStatusUILogic.h"

#include "CommonUtils.h"
#include "SmsLog.h"
#include "sdk_modem.h"

int SMSStatusUILogic::SmsCallBackMethod(int event, void *data)
{
    // One event at a time, in arrival order; also keeps Destroy() from freeing the store
    // under a running handler.
    QMutexLocker locker(&m_callbackMutex);
    if (CommonUtils::IsShuttingDown()) {
        qCDebug(lcSmsEvents) << "host is shutting down, event" << event << "dropped";
        return 1;
    }
    SMSStatusUILogic *store = m_pSMSStatusLogicInst.load();
    if (!store) {
        qCWarning(lcSmsEvents) << "event" << event << "without a message store";
        return 0;
    }
    store->handleEvent(event, data);
    return 1;
}

void SMSStatusUILogic::handleEvent(int event, void *data)
{
    auto *sdk = static_cast<_UTPS_ST_SMS_RECORD *>(data);
    switch (event) {
    case EVENT_SMS_ONSENDRESULT: {
        if (!sdk) {
            qCWarning(lcSmsEvents) << "send result without a record";
            emit SmsSendResult(false);
            break;
        }
        const _UTPS_ST_SMS_RECORD copy = *sdk;
        qCDebug(lcSmsEvents) << (copy.iStatus == 0 ? "Successfully sent the message"
                                                   : "Failed to send the message")
                             << "status" << copy.iStatus;
        emit sendPartResult(SmsTextFromSdk(copy.pszNumber), copy.iExtra2, copy.iExtra3,
                            copy.iStatus == 0);
        emit SmsSendResult(copy.iStatus == 0);
        break;
    }
    case EVENT_SMS_ONRECEIVE:
        onSmsReceive(data);
        break;
    case EVENT_SMS_ONSTATUSCHANGED:
        if (data)
            emit memoryStatus(*static_cast<const int *>(data));
        else
            qCWarning(lcSmsEvents) << "storage state event without data";
        break;
    case EVENT_SMS_ONSAVESEND:
        handleSentCopy(sdk);
        break;
    case 4:
        break;
    case EVENT_SMS_ONSENDSETTLED:
        if (sdk)
            settleSentCopy(sdk->iMsgId, sdk->iPos);
        else
            qCWarning(lcSmsEvents) << "settled send without a record";
        break;
    case EVENT_SMS_DELETE:
        if (sdk)
            emit CallBackDelete(sdk->iMsgId, sdk->iPos);
        else
            qCWarning(lcSmsEvents) << "delete event without a record";
        break;
    case EVENT_PB_PHONEBOOK_READY:
    case EVENT_PB_SIM_READY:
        emit PBSIMNVReady();
        break;
    default:
        qCDebug(lcSmsEvents) << "Caught in Default case, event" << event;
        break;
    }
}

void SMSStatusUILogic::handleSentCopy(_UTPS_ST_SMS_RECORD *sdk)
{
    if (!sdk) {
        qCWarning(lcSmsEvents) << "sent copy event without a record";
        return;
    }
    SmsRecord *record = nullptr;
    const int result = sortSMSToCorrespondingNodes(sdk, &record);
    if (result != 0)
        qCWarning(lcSmsEvents) << "sortSMSToCorrespondingNodes returned" << result;
    {
        // A failed filing still leaves an entry (null), so that the window's take of the
        // list stays in step with the signals below and its progress dialog still closes.
        QMutexLocker locker(&m_bufferMutex);
        m_lstSentRecords.append(record);
    }
    emit SMSSentRecord(sdk->iMsgId);
    emit progressbarCloseEvent(sdk->iStatus);
}

void SMSStatusUILogic::settleSentCopy(int id, int position)
{
    {
        // The copy was filed by its old status: in the outbox, or wherever the user has put
        // it since. Read again it may belong elsewhere (a sent one in sent items), so the
        // old reading leaves every folder it may be in; it is parked, not freed, as a
        // re-read record is (a table row may still point at it).
        QMutexLocker locker(&m_bufferMutex);
        for (int p : {int(EN_LOCAL_OUTBOX), int(EN_LOCAL_SENTITEMS), position}) {
            auto folder = m_hashBuffers.find(p);
            if (folder == m_hashBuffers.end())
                continue;
            if (SmsRecord *old = folder->take(id))
                m_lstRetiredRecords.append(old);
        }
    }
    if (readAndFile(id, UTPS_SMS_MEM_PC) != 0)
        qCWarning(lcSmsEvents) << "settled sent copy" << id << "could not be read again";
    emit sentCopySettled(id, position);
}

void SMSStatusUILogic::onSmsReceive(void *data)
{
    qCDebug(lcSmsEvents) << "Obtained the EVENT_SMS_ONRECEIVE";
    SMSStatusUILogic *store = m_pSMSStatusLogicInst.load();
    auto *sdk = static_cast<_UTPS_ST_SMS_RECORD *>(data);
    if (!sdk || !store) {
        qCWarning(lcSmsEvents) << "Either the message store or the record is NULL";
        return;
    }
    SmsRecord *record = nullptr;
    const int result = store->sortSMSToCorrespondingNodes(sdk, &record);
    if (result != 0 || !record) {
        // A record filed under a wrong position stays with the store; nothing is announced.
        qCWarning(lcSmsEvents) << "sortSMSToCorrespondingNodes returned" << result;
        return;
    }
    const QString content = SmsTextFromSdk(sdk->pszContent);
    const QString time = QString::fromUtf16(reinterpret_cast<const char16_t *>(sdk->szTime));
    const int position = sdk->iPos;

    const bool ordinary = sdk->iMsgClass != UTPS_MSGCLASS_FLASH;
    const QString number = SmsTextFromSdk(sdk->pszNumber);

    // Once filed, the record is shared with the GUI thread: read it under the buffer mutex
    // and only while it is still filed. A class-0 message from an inbox was converted but
    // not filed (InsertSingleSMS), so nobody else holds it and it is freed here; one that
    // names another folder was filed like any message and belongs to the store.
    QMutexLocker locker(&store->m_bufferMutex);
    const bool filed = store->isFiledLocked(record);
    QString sender = number;
    if (filed && !record->strDisplayName.isEmpty())
        sender = record->strDisplayName;
    if (ordinary) {
        if (filed)
            store->m_lstReceivedRecords.append(record);
        locker.unlock();
        emit store->SMSReceiveRecord(sdk->iMsgId);
        qCDebug(lcSmsEvents) << "new message notification for an ordinary message";
        emit store->NewMsg_Event(content, sender, time, position, 1);
        return;
    }
    if (isShownOnce(sdk->iMsgClass, sdk->iInitialPos))
        delete record;
    locker.unlock();
    qCDebug(lcSmsEvents) << "new message notification for a class 0 message";
    emit store->NewMsg_Event(content, number, time, position, 0);
}
