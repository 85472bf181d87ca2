// SPDX-License-Identifier: GPL-3.0-or-later
// Sending: one job per SendMsg, advanced segment by segment on the event thread.
#include "SdkInternal.h"
#include "mm/MmBackend.h"

#include <fnmatch.h>

using namespace sdk;

namespace {

void step(int jobId);

// Lock held. Starts the oldest waiting job when none is going out.
void startNext()
{
    State &s = state();
    if (s.activeJob != 0 || s.jobs.empty())
        return;
    const int id = s.activeJob = s.jobs.begin()->first;
    postTask([id] { step(id); }, s.sendDelayMs);
}

long outcomeFor(const std::u16string &recipient)
{
    State &s = state();
    if (!canSendNow())
        return UTPS_E_NO_NETWORK;
    const std::string number = toUtf8(recipient);
    for (auto it = s.sendScript.rbegin(); it != s.sendScript.rend(); ++it) {
        if (fnmatch(it->first.c_str(), number.c_str(), 0) == 0)
            return it->second;
    }
    if (s.failureRate > 0.0) {
        std::uniform_real_distribution<double> dist(0.0, 1.0);
        if (dist(s.rng) < s.failureRate)
            return UTPS_E_SEND_FAILED;
    }
    return UTPS_OK;
}

Message segmentRecord(const SendJob &job, long status)
{
    Message m = job.copy;
    m.number = job.recipients[job.recipient];
    m.status = int(status);
    m.extra1 = job.id;
    m.extra2 = job.segment + 1;
    m.extra3 = job.segments;
    return m;
}

// Stores the sent copy, announces it, then what the network sends back: delivery reports
// and messages addressed to the modem itself.
void finish(const std::shared_ptr<SendJob> &job)
{
    State &s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    s.jobs.erase(job->id);
    if (s.activeJob == job->id)
        s.activeJob = 0;
    bool allOk = true;
    for (bool ok : job->recipientOk)
        allOk = allOk && ok;
    Message copy = job->copy;
    copy.status = allOk ? 0 : 1;
    copy.extra1 = job->id;
    if (!waitWriteGate(lock) || storeNew(copy) != UTPS_OK) {
        warn("the sent copy could not be stored");
        copy.id = -1;
    }
    postRecordEvent(EVENT_SMS_ONSAVESEND, copy);
    for (size_t i = 0; i < job->recipients.size(); ++i) {
        if (!job->recipientOk[i])
            continue;
        if (job->reports) {
            Message report;
            report.mem = UTPS_SMS_MEM_PC;
            report.initialPos = report.pos = UTPS_POS_PC_REPORTS;
            report.msgType = UTPS_MSGTYPE_STATUS_REPORT;
            report.readStatus = 1;
            report.status = 0;
            report.number = job->recipients[i];
            if (storeNew(report) == UTPS_OK)
                postRecordEvent(EVENT_SMS_ONRECEIVE, report);
        }
        if (numbersMatch(job->recipients[i], s.ownNumber)) {
            Message in;
            in.mem = s.receiveStorage;
            in.initialPos = in.pos = inboxOf(in.mem);
            in.readStatus = 1;
            in.msgClass = job->copy.msgClass;
            in.priority = job->copy.priority;
            in.number = s.ownNumber;
            in.content = job->copy.content;
            if (in.msgClass == UTPS_MSGCLASS_FLASH) {
                in.id = -1;
                postRecordEvent(EVENT_SMS_ONRECEIVE, in);
            } else if (storageAvailable(in.mem) == UTPS_OK && storeNew(in) == UTPS_OK) {
                postRecordEvent(EVENT_SMS_ONRECEIVE, in);
            }
        }
    }
    startNext();
}

void step(int jobId)
{
    State &s = state();
    std::shared_ptr<SendJob> job;
    std::vector<Message> events;
    int delay = 0;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        auto it = s.jobs.find(jobId);
        if (it == s.jobs.end())
            return;
        job = it->second;
        if (!job->cancelled && s.activeJob != jobId)
            return; // waiting for its turn
        // A cancelled job reports every remaining segment at once, as cancelled.
        do {
            const long status = job->cancelled ? UTPS_E_SEND_CANCELLED : outcomeFor(job->recipients[job->recipient]);
            if (status != UTPS_OK)
                job->recipientOk[job->recipient] = false;
            events.push_back(segmentRecord(*job, status));
            if (++job->segment == job->segments) {
                job->segment = 0;
                ++job->recipient;
            }
        } while (job->cancelled && job->recipient < job->recipients.size());
        delay = s.sendDelayMs;
    }
    for (Message &m : events) {
        OwnedRecord record(m);
        deliver(Channel::Sms, EVENT_SMS_ONSENDRESULT, &record.rec);
    }
    if (job->recipient < job->recipients.size())
        postTask([jobId] { step(jobId); }, delay);
    else
        finish(job);
}

} // namespace

namespace sdk {

void cancelAllJobs()
{
    state().jobs.clear();
}

} // namespace sdk

extern "C" {

long UTPS_SMSSrv_SendMsg(const _UTPS_ST_SMS_RECORD *record)
{
    SDK_ENTER(lock);
    if (!record || !record->pszContent || !record->pszNumber)
        return UTPS_E_INVALID_ARG;
    if (mm::active())
        return mm::send(*record);
    State &s = state();
    if (!s.devicePlugged)
        return UTPS_E_NO_DEVICE;
    if (!s.simInserted)
        return UTPS_E_NO_SIM;
    auto job = std::make_shared<SendJob>();
    job->recipients = splitRecipients(fromWide(record->pszNumber));
    if (job->recipients.empty())
        return UTPS_E_INVALID_ARG;
    job->id = s.nextJob++;
    job->copy.mem = UTPS_SMS_MEM_PC;
    job->copy.initialPos = job->copy.pos = UTPS_POS_PC_OUTBOX;
    job->copy.readStatus = 0;
    job->copy.msgClass = record->iMsgClass;
    job->copy.priority = record->iPriority;
    job->copy.number = fromWide(record->pszNumber);
    job->copy.content = fromWide(record->pszContent);
    job->copy.time = timeNow();
    job->segments = segmentCount(job->copy.content);
    job->recipientOk.assign(job->recipients.size(), true);
    job->reports = s.receipt != 0;
    s.jobs[job->id] = job;
    startNext();
    return UTPS_OK;
}

long UTPS_SMSSrv_CancelSendMsg(int *handle)
{
    SDK_ENTER(lock);
    if (!handle)
        return UTPS_E_INVALID_ARG;
    if (mm::active())
        return mm::cancel(*handle);
    for (auto &entry : state().jobs) {
        if (*handle == 0 || *handle == entry.first)
            entry.second->cancelled = true;
    }
    // Cancelled jobs finish at their next step; bring it forward.
    for (auto &entry : state().jobs) {
        if (entry.second->cancelled) {
            const int id = entry.first;
            postTask([id] { step(id); }, 0);
        }
    }
    return UTPS_OK;
}

long UTPS_SMSSrv_GetMsgSplitCount(const UTPS_WCHAR *text, int *count)
{
    SDK_ENTER(lock);
    if (!text || !count)
        return UTPS_E_INVALID_ARG;
    *count = segmentCount(fromWide(text));
    return UTPS_OK;
}

} // extern "C"
