// SPDX-License-Identifier: GPL-3.0-or-later
// Sending through ModemManager: Create + Send per recipient, one job at a time, on a
// thread of its own so that neither the caller nor the event thread waits for the network.
#include "MmInternal.h"

#include <algorithm>
#include <cstdlib>
#include <condition_variable>
#include <deque>

namespace sdk::mm {

namespace {

struct Job
{
    int id = 0;
    Message copy;
    std::vector<std::u16string> recipients;
    int segments = 1;
    size_t next = 0;       // recipients before this one have been handed to the modem
    bool cancelled = false;
    bool reports = false;
    int validityMinutes = 0;
    std::u16string centre;
};

// Guarded by the state lock.
struct Sender
{
    std::deque<std::shared_ptr<Job>> queue;
    std::shared_ptr<Job> active;
    std::condition_variable wake;
    bool running = false;
};

Sender &sender()
{
    static Sender *s = new Sender; // the sender thread may outlive static destruction
    return *s;
}

// ModemManager's own limit for one part is five minutes; DIALCREST_MM_SEND_TIMEOUT (seconds
// per part) changes ours for networks slower still.
int sendTimeoutPerPartMs()
{
    const char *text = std::getenv("DIALCREST_MM_SEND_TIMEOUT");
    const int seconds = text ? std::atoi(text) : 0;
    return (seconds > 0 && seconds <= 3600 ? seconds : 300) * 1000;
}

int sendTimeoutMs(int segments)
{
    const int ms = sendTimeoutPerPartMs();
    return ms * std::clamp(segments, 1, 255) + ms / 5;
}

long sendOne(MMModemMessaging *messaging, const Job &job, const std::u16string &to)
{
    MMSmsProperties *props = mm_sms_properties_new();
    mm_sms_properties_set_number(props, toUtf8(to).c_str());
    mm_sms_properties_set_text(props, toUtf8(job.copy.content).c_str());
    mm_sms_properties_set_validity_relative(props, guint(job.validityMinutes));
    mm_sms_properties_set_delivery_report_request(props, job.reports);
    if (!job.centre.empty())
        mm_sms_properties_set_smsc(props, toUtf8(job.centre).c_str());
    if (job.copy.msgClass == UTPS_MSGCLASS_FLASH)
        mm_sms_properties_set_class(props, 0);
    GError *error = nullptr;
    MMSms *sms = mm_modem_messaging_create_sync(messaging, props, nullptr, &error);
    g_object_unref(props);
    if (!sms) {
        logError("creating a message to send", error);
        return UTPS_E_SEND_FAILED;
    }
    // ModemManager gives the network minutes for each part before it gives up; D-Bus's
    // default of 25 s would call a slow send failed while it is still going out.
    g_dbus_proxy_set_default_timeout(G_DBUS_PROXY(sms), sendTimeoutMs(job.segments));
    long rc = UTPS_OK;
    if (!mm_sms_send_sync(sms, nullptr, &error)) {
        const bool timedOut = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT);
        logError(timedOut ? "sending a message: no answer in time, it may still go out" : "sending a message", error);
        if (timedOut) {
            // Not known to have failed: ModemManager may still send it, so it is neither
            // deleted there nor offered for a resend as failed.
            g_object_unref(sms);
            return UTPS_E_SEND_UNKNOWN;
        }
        rc = UTPS_E_SEND_FAILED;
    }
    // The sent message stays at ModemManager until deleted; the SDK keeps its own copy.
    GError *ignored = nullptr;
    if (!mm_modem_messaging_delete_sync(messaging, mm_sms_get_path(sms), nullptr, &ignored))
        logError("forgetting a sent message", ignored);
    g_object_unref(sms);
    return rc;
}

// Lock held. One event 0 per segment: the modem sends a recipient's segments together.
void announce(const Job &job, const std::u16string &to, long status)
{
    for (int seg = 1; seg <= job.segments; ++seg) {
        Message m = job.copy;
        m.number = to;
        m.status = int(status);
        m.extra1 = job.id;
        m.extra2 = seg;
        m.extra3 = job.segments;
        postRecordEvent(EVENT_SMS_ONSENDRESULT, m);
    }
}

void run(std::unique_lock<std::mutex> &lock, Job &job)
{
    bool allOk = true;
    bool unknown = false;
    while (job.next < job.recipients.size()) {
        const std::u16string to = job.recipients[job.next++];
        long status = job.cancelled ? UTPS_E_SEND_CANCELLED : canSendNow() ? UTPS_OK : UTPS_E_NO_NETWORK;
        MMModemMessaging *messaging = status == UTPS_OK ? messagingRef() : nullptr;
        if (status == UTPS_OK && !messaging)
            status = UTPS_E_NO_NETWORK;
        if (messaging) {
            lock.unlock();
            status = sendOne(messaging, job, to);
            g_object_unref(messaging);
            lock.lock();
        }
        allOk = allOk && status == UTPS_OK;
        unknown = unknown || status == UTPS_E_SEND_UNKNOWN;
        announce(job, to, status);
    }
    Message copy = job.copy;
    copy.status = allOk ? 0 : unknown ? UTPS_SEND_STATUS_UNKNOWN : 1;
    copy.extra1 = job.id;
    if (!waitWriteGate(lock) || storeNew(copy) != UTPS_OK) {
        warn("the sent copy could not be stored");
        copy.id = -1;
    }
    postRecordEvent(EVENT_SMS_ONSAVESEND, copy);
}

void loop()
{
    Sender &q = sender();
    std::unique_lock<std::mutex> lock(state().mutex);
    for (;;) {
        q.wake.wait(lock, [&q] { return !q.queue.empty(); });
        q.active = q.queue.front();
        q.queue.pop_front();
        run(lock, *q.active);
        q.active.reset();
    }
}

} // namespace

long send(const _UTPS_ST_SMS_RECORD &record)
{
    State &s = state();
    if (!s.devicePlugged)
        return UTPS_E_NO_DEVICE;
    if (!s.simInserted)
        return UTPS_E_NO_SIM;
    auto job = std::make_shared<Job>();
    job->recipients = splitRecipients(fromWide(record.pszNumber));
    if (job->recipients.empty())
        return UTPS_E_INVALID_ARG;
    job->id = s.nextJob++;
    job->copy.mem = UTPS_SMS_MEM_PC;
    job->copy.initialPos = job->copy.pos = UTPS_POS_PC_OUTBOX;
    job->copy.msgClass = record.iMsgClass;
    job->copy.priority = record.iPriority;
    job->copy.number = fromWide(record.pszNumber);
    job->copy.content = fromWide(record.pszContent);
    job->copy.time = timeNow();
    job->segments = segmentCount(job->copy.content);
    job->reports = s.receipt != 0;
    // ModemManager counts relative validity in minutes, at least five.
    job->validityMinutes = std::max(5, s.validity / 60);
    // Without a centre of the user's, ModemManager uses the one on the SIM.
    job->centre = s.centreChosen ? s.centreNumber : std::u16string();
    Sender &q = sender();
    q.queue.push_back(job);
    if (!q.running) {
        q.running = true;
        std::thread(loop).detach();
    }
    q.wake.notify_one();
    return UTPS_OK;
}

bool sending()
{
    const Sender &q = sender();
    return q.active || !q.queue.empty();
}

long cancel(int handle)
{
    Sender &q = sender();
    if (q.active && (handle == 0 || handle == q.active->id))
        q.active->cancelled = true;
    for (auto &job : q.queue) {
        if (handle == 0 || handle == job->id)
            job->cancelled = true;
    }
    return UTPS_OK;
}

} // namespace sdk::mm
