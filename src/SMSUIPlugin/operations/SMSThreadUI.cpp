// SPDX-License-Identifier: GPL-3.0-or-later
#include "SMSThreadUI.h"

#include "SMSEditUILogic.h"
#include "store/SMSStatusUILogic.h"
#include "SmsLog.h"
#include "CrossThreadCalls.h"

#include <QElapsedTimer>

std::atomic<bool> SMSThreadUI::m_bStopSmsThread{false};

namespace {
// The progress display needs no more than this many updates a second.
constexpr qint64 kProgressShownEveryMs = 40;

bool isOnDeviceSide(int position)
{
    return position == EN_DEVICE_OUTBOX || position == EN_DEVICE_INBOX
        || position == EN_DEVICE_ROOT;
}

bool isOnSimSide(int position)
{
    return position == EN_SIM_OUTBOX || position == EN_SIM_INBOX || position == EN_SIM_ROOT;
}

// Recipients the SDK will send to: it skips empty parts. At least one, so that a refusal
// is always reported.
int recipientCount(const QString &recipients)
{
    return qMax(1, int(recipients.split(QLatin1Char(';'), Qt::SkipEmptyParts).size()));
}
} // namespace

SMSThreadUI::SMSThreadUI(QObject *parent)
    : QThread(parent)
{
    if (SMSStatusUILogic *store = SMSStatusUILogic::Instance())
        connect(store, &SMSStatusUILogic::SmsSendResult, this, &SMSThreadUI::onSendResult);
}

SMSThreadUI::~SMSThreadUI()
{
    wait();
    QMutexLocker runDone(&m_runMutex);
}

void SMSThreadUI::SetSmsThreadOperation(_SMS_OPERATION_TYPE operation,
                                        QList<SmsRecord> &records, int memory,
                                        int destination, int selectedNode)
{
    QMutexLocker runDone(&m_runMutex);
    m_bStopSmsThread = false;
    m_iOperation = operation;
    m_iMemory = memory;
    m_iDestination = destination;
    m_iSelectedNode = selectedNode;
    m_lstRecords.append(records);
}

void SMSThreadUI::SetSendSmsThreadOperation(_SMS_OPERATION_TYPE operation, QString &recipients,
                                            QString content)
{
    QMutexLocker runDone(&m_runMutex);
    // The cancel worker runs while the stop flag Cancel raised must still stop the send
    // that the window's worker may not have handed to the SDK yet: it leaves the flag.
    if (operation != DC_SMS_CANCEL_SEND)
        m_bStopSmsThread = false;
    m_iOperation = operation;
    m_strRecipients = recipients;
    m_strContent = content;
}

void SMSThreadUI::StopSmsThread()
{
    m_bStopSmsThread = true;
}

void SMSThreadUI::onSendResult(bool bSendResult)
{
    qCDebug(lcSmsThread) << "send result" << bSendResult;
    emit SendSignalEvent(bSendResult, 0);
}

void SMSThreadUI::determineDestination(int &destination, int source)
{
    if (m_iSelectedNode != EN_SIM_ROOT && m_iSelectedNode != EN_DEVICE_ROOT) {
        destination = m_iDestination;
        return;
    }
    switch (source) {
    case EN_SIM_INBOX:
        destination = isOnDeviceSide(m_iDestination) ? EN_DEVICE_INBOX : EN_LOCAL_INBOX;
        break;
    case EN_SIM_OUTBOX:
        destination = isOnDeviceSide(m_iDestination) ? EN_DEVICE_OUTBOX : EN_LOCAL_OUTBOX;
        break;
    case EN_DEVICE_INBOX:
        destination = isOnSimSide(m_iDestination) ? EN_SIM_INBOX : EN_LOCAL_INBOX;
        break;
    case EN_DEVICE_OUTBOX:
        destination = isOnSimSide(m_iDestination) ? EN_SIM_OUTBOX : EN_LOCAL_OUTBOX;
        break;
    default:
        break;
    }
}

void SMSThreadUI::run()
{
    QMutexLocker running(&m_runMutex);
    switch (m_iOperation) {
    case DC_SMS_SELECTED_DELETE:
    case DC_SMS_RECOVER:
    case DC_SMS_DRAG_MOVE:
    case DC_SMS_MOVE:
    case DC_SMS_COPY:
    case DC_SMS_COPY_7:
    case DC_SMS_COPY_8:
    case DC_SMS_DRAG_COPY:
        runBatch();
        break;
    case DC_SMS_SEND:
        runSend();
        break;
    case DC_SMS_CANCEL_SEND: {
        int all = 0;
        if (SMSEditUILogic *edit = SMSEditUILogic::Instance())
            edit->CancelSendSMS(&all);
        break;
    }
    default:
        qCDebug(lcSmsThread) << "nothing to do for operation" << m_iOperation;
        break;
    }
}

void SMSThreadUI::runBatch()
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    const auto memory = _UTPS_EN_SMS_MEM(m_iMemory);
    const long begun = store ? UTPS_SMSSrv_BeginTransaction(memory) : 1;
    if (!store || begun != 0) {
        qCWarning(lcSmsThread) << "UTPS_SMSSrv_BeginTransaction returned" << begun
                               << "for memory" << m_iMemory << "- batch not run";
        // Nothing was tried, but every record is reported as failed so that whoever
        // counts one unit per record is not left waiting.
        reportAll(QList<bool>(m_lstRecords.size(), false));
        m_lstRecords.clear();
        return;
    }

    // Results are held back until the commit, on purpose, against the record-by-record
    // reporting one would expect: until the SDK has committed, every change of the batch
    // can still be undone, and a window that had already dropped a row or shown a new copy
    // would then show messages the database does not hold, under ids the SDK hands out
    // again to the next arrival. So the store defers its own effects too, and only
    // batchProgress moves while the batch runs. A failed commit reports every handled
    // record as failed; records the stop flag skipped get no signal, as before.
    store->BeginDeferredEffects();
    QList<bool> outcomes;
    int destination = -1;
    const int total = int(m_lstRecords.size());
    QElapsedTimer sinceShown;
    sinceShown.start();
    // No pause between records, against the breathing space a batch once took after each
    // one: it served a window that took each result as it came, and results now wait for
    // the commit. Meanwhile the SDK keeps every other writer (an arrival too) waiting
    // until the commit whether the batch pauses or not, so a pause only made that wait
    // longer (500 us a record is 5 s at 10,000); readers still get the SDK between records,
    // and the window's thread runs beside this one.
    for (int i = 0; i < total && !m_bStopSmsThread; ++i) {
        outcomes.append(handleRecord(m_lstRecords.at(i), destination));
        emit batchProgress(i + 1, total);
        if (i == 0 || sinceShown.elapsed() >= kProgressShownEveryMs) {
            emit batchProgressShown(i + 1, total);
            sinceShown.restart();
        }
    }
    m_lstRecords.clear();
    if (m_bStopSmsThread)
        m_bStopSmsThread = false;

    const long ended = UTPS_SMSSrv_EndTransaction(memory);
    if (ended == 0) {
        store->ApplyDeferredEffects();
    } else {
        qCWarning(lcSmsThread) << "UTPS_SMSSrv_EndTransaction returned" << ended << "-"
                               << outcomes.size() << "records rolled back";
        store->DiscardDeferredEffects();
        outcomes.fill(false);
    }
    reportAll(outcomes);
}

void SMSThreadUI::reportAll(const QList<bool> &outcomes)
{
    // The whole batch's results reach this object's thread (the window's) in one event:
    // a queued signal per record woke that thread once per message. The receivers get
    // the same signals in the same order, before finished().
    const int operation = m_iOperation;
    auto emitAll = [this, operation, outcomes] {
        for (int i = 0; i < outcomes.size(); ++i)
            report(operation, i, outcomes.at(i));
    };
    if (QThread::currentThread() == thread())
        emitAll();
    else
        postToThread(this, emitAll);
}

bool SMSThreadUI::handleRecord(const SmsRecord &record, int &destination)
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    const int position = record.enPos;
    switch (m_iOperation) {
    case DC_SMS_SELECTED_DELETE:
        return store->DeleteSMS(record.iMsgId, position, m_iMemory) == 0;
    case DC_SMS_RECOVER:
        return store->RecoverSMS(record, position, m_iMemory) == 0;
    case DC_SMS_MOVE:
    case DC_SMS_COPY:
    case DC_SMS_COPY_7:
    case DC_SMS_COPY_8:
        determineDestination(destination, position);
        return (m_iOperation == DC_SMS_MOVE
                    ? store->MoveSMS(record, position, destination, DC_SMS_MOVE)
                    : store->CopySMS(record, position, destination, DC_SMS_COPY))
            == 0;
    case DC_SMS_DRAG_MOVE:
    case DC_SMS_DRAG_COPY:
        if (isRefusedDrag(record)) {
            qCDebug(lcSmsThread) << "drag of message" << record.iMsgId << "refused";
            return false;
        }
        return (m_iOperation == DC_SMS_DRAG_MOVE
                    ? store->MoveSMS(record, position, m_iDestination, DC_SMS_DRAG_MOVE)
                    : store->CopySMS(record, position, m_iDestination, DC_SMS_DRAG_COPY))
            == 0;
    default:
        return false;
    }
}

void SMSThreadUI::report(int operation, int index, bool ok)
{
    switch (operation) {
    case DC_SMS_SELECTED_DELETE:
        // A failure is negative, so that the window can tell it from the success of record 0.
        emit deleteSignalEvent(ok ? index : -(index + 1));
        break;
    case DC_SMS_RECOVER:
        emit recoverSignalEvent(ok, index);
        break;
    case DC_SMS_DRAG_MOVE:
    case DC_SMS_DRAG_COPY:
        emit smsDragged(ok);
        break;
    default:
        emit moveOrCopyEvent(ok, index);
        break;
    }
}

bool SMSThreadUI::isRefusedDrag(const SmsRecord &record) const
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    if (!store->isHaveSendItemsBox())
        return false;
    if (record.enPos != EN_SIM_OUTBOX && record.enPos != EN_DEVICE_OUTBOX)
        return false;
    // A sent message belongs in sent items, an unsent one in the outbox.
    return (record.iStatus == 0 && m_iDestination == EN_LOCAL_OUTBOX)
        || (record.iStatus == 1 && m_iDestination == EN_LOCAL_SENTITEMS);
}

void SMSThreadUI::runSend()
{
    SMSEditUILogic *edit = SMSEditUILogic::Instance();
    if (!edit) {
        qCWarning(lcSmsThread) << "SMSEditUILogic::Instance() failed";
        return;
    }
    QString content = m_strContent;
    // Cancelled before the SDK had it: nothing goes out, reported like a refusal.
    const bool cancelledEarly = m_bStopSmsThread;
    if (!cancelledEarly && edit->SendSMS(&m_strRecipients, &content) == 0) {
        // Cancel may have come while the SDK was taking the message, before the cancel
        // worker could find it: cancel it from here too (cancelling twice is harmless).
        if (m_bStopSmsThread) {
            int all = 0;
            edit->CancelSendSMS(&all);
        }
        return; // results follow as SDK events, through onSendResult
    }
    // The SDK refused before accepting anything, so no send result will ever come: report
    // one failure per recipient, which is what the progress dialog counts.
    const int recipients = recipientCount(m_strRecipients);
    for (int i = 0; i < recipients; ++i)
        emit SendSignalEvent(false, 1);
}
