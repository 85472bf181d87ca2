// SPDX-License-Identifier: GPL-3.0-or-later
// ModemManager's Send calls and the copies of sends it answered late. ModemManager answers
// a Send only once the network has taken every part (or refused one); the SMS object's
// State says nothing meanwhile: it stays "unknown" (or "stored") until it becomes "sent",
// and a refused send leaves it as it was. So the answer to the call is what tells, and the
// call is made without a D-Bus timeout: the sender waits for it only as long as it is
// willing to, and an answer that comes later still settles the sent copy.
#include "MmInternal.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <vector>

namespace sdk::mm {

namespace {

struct Call
{
    MMSms *sms = nullptr;          // a reference of the call's own
    std::string path;
    int job = 0;
    GCancellable *cancellable = g_cancellable_new();
    // Below: guarded by the state lock.
    bool answered = false;
    SendOutcome outcome = SendOutcome::Unknown;
    bool givenUp = false;          // the sender stopped waiting: the answer settles the copy
    bool modemGone = false;        // whatever is said now, nobody can tell whether it went out
    std::condition_variable done;

    ~Call()
    {
        g_object_unref(cancellable);
        g_object_unref(sms);
    }
};

// What is known about a send with recipients that got no answer in time.
struct Followed
{
    int outstanding = 0;           // recipients whose answer is still awaited
    bool failed = false;           // some recipient was refused
    bool lost = false;             // some recipient's modem went away before it answered
    int copyId = -1;               // the stored copy, -1 while the job is still running
};

// Guarded by the state lock.
struct Calls
{
    std::vector<std::shared_ptr<Call>> inFlight;
    std::map<int, Followed> followed; // by job
};

Calls &calls()
{
    static Calls *c = new Calls; // answers may come in after static destruction began
    return *c;
}

// Errors that say the answer was lost on the way, not that the network refused: the
// message may have gone out.
bool answerLost(const GError *error)
{
    return error->domain == G_IO_ERROR || error->domain == MM_SERIAL_ERROR
        || g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NO_REPLY)
        || g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_DISCONNECTED)
        || g_error_matches(error, MM_CORE_ERROR, MM_CORE_ERROR_ABORTED)
        || g_error_matches(error, MM_CORE_ERROR, MM_CORE_ERROR_CANCELLED);
}

// Event thread: the stored copy gets its outcome, if it is still there and still unknown
// (the user may have deleted it meanwhile).
void settleCopy(int copyId, int status)
{
    postTask([copyId, status] {
        std::unique_lock<std::mutex> lock(state().mutex);
        Message copy;
        if (!state().initialised || !waitWriteGate(lock) || !state().store.get(UTPS_SMS_MEM_PC, copyId, copy)) {
            warn("sent copy " + std::to_string(copyId) + ": its outcome came, the copy is no longer there");
            return;
        }
        if (copy.status != UTPS_SEND_STATUS_UNKNOWN)
            return;
        copy.status = status;
        if (state().store.update(copy) != 1) {
            warn("sent copy " + std::to_string(copyId) + ": its outcome could not be stored");
            return;
        }
        postRecordEvent(EVENT_SMS_ONSENDSETTLED, copy);
    });
}

// Lock held: the job's copy is stored and no answer is awaited any more.
void finish(int job, const Followed &f, bool othersFailed)
{
    if (f.lost) {
        warn("send " + std::to_string(job)
             + ": the modem went away before it said whether the message went out; its copy stays unknown");
        return;
    }
    settleCopy(f.copyId, f.failed || othersFailed ? 1 : 0);
}

// Lock held: a recipient of a job that was given up on got its answer.
void answeredLate(int job, SendOutcome outcome)
{
    auto it = calls().followed.find(job);
    if (it == calls().followed.end())
        return;
    Followed &f = it->second;
    --f.outstanding;
    f.failed = f.failed || outcome == SendOutcome::Failed;
    f.lost = f.lost || outcome == SendOutcome::Unknown;
    if (f.outstanding > 0 || f.copyId < 0)
        return;
    finish(job, f, false);
    calls().followed.erase(it);
}

void onDeletedLate(GObject *messaging, GAsyncResult *result, gpointer)
{
    GError *error = nullptr;
    if (!mm_modem_messaging_delete_finish(MM_MODEM_MESSAGING(messaging), result, &error))
        logError("forgetting a message sent late", error);
}

// Backend thread: ModemManager's own State of the message, UNKNOWN when it cannot be read.
MMSmsState stateNow(MMSms *sms)
{
    GError *error = nullptr;
    GVariant *reply = g_dbus_connection_call_sync(
        g_dbus_proxy_get_connection(G_DBUS_PROXY(sms)), MM_DBUS_SERVICE, mm_sms_get_path(sms),
        "org.freedesktop.DBus.Properties", "Get", g_variant_new("(ss)", "org.freedesktop.ModemManager1.Sms", "State"),
        G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, 5000, nullptr, &error);
    if (!reply) {
        g_clear_error(&error);
        return MM_SMS_STATE_UNKNOWN;
    }
    GVariant *value = nullptr;
    g_variant_get(reply, "(v)", &value);
    const auto st = g_variant_is_of_type(value, G_VARIANT_TYPE_UINT32) ? MMSmsState(g_variant_get_uint32(value))
                                                                      : MM_SMS_STATE_UNKNOWN;
    g_variant_unref(value);
    g_variant_unref(reply);
    return st;
}

// Backend thread.
void onAnswer(GObject *source, GAsyncResult *result, gpointer data)
{
    std::unique_ptr<std::shared_ptr<Call>> holder(static_cast<std::shared_ptr<Call> *>(data));
    Call &call = **holder;
    GError *error = nullptr;
    SendOutcome outcome = SendOutcome::Sent;
    if (!mm_sms_send_finish(MM_SMS(source), result, &error)) {
        bool gone = false;
        {
            std::lock_guard<std::mutex> lock(state().mutex);
            gone = call.modemGone;
        }
        outcome = gone || answerLost(error) ? SendOutcome::Unknown : SendOutcome::Failed;
        // The answer was lost but the service is still there: the message says itself
        // whether it went out.
        if (outcome == SendOutcome::Unknown && !gone && stateNow(call.sms) == MM_SMS_STATE_SENT)
            outcome = SendOutcome::Sent;
        warn(std::string("sending a message: ") + error->message
             + (outcome == SendOutcome::Unknown ? " (it may have gone out)" : ""));
        g_error_free(error);
    }
    MMModemMessaging *messaging = nullptr;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        auto &inFlight = calls().inFlight;
        inFlight.erase(std::remove(inFlight.begin(), inFlight.end(), *holder), inFlight.end());
        if (!call.givenUp) {
            call.answered = true;
            call.outcome = outcome;
            call.done.notify_all();
            return;
        }
        warn("send " + std::to_string(call.job) + ": "
             + (outcome == SendOutcome::Sent     ? "the modem answered late: sent"
                : outcome == SendOutcome::Failed ? "the modem answered late: not sent"
                                                 : "no answer will come"));
        answeredLate(call.job, outcome);
        // Settled messages are forgotten at ModemManager as an answered send's are; one
        // whose fate is unknown is left there to be looked at.
        if (outcome != SendOutcome::Unknown)
            messaging = messagingRef();
    }
    if (messaging) {
        mm_modem_messaging_delete(messaging, call.path.c_str(), nullptr, onDeletedLate, nullptr);
        g_object_unref(messaging);
    }
}

gboolean startCall(gpointer data)
{
    auto *holder = static_cast<std::shared_ptr<Call> *>(data);
    MMSms *sms = (*holder)->sms;
    g_dbus_proxy_set_default_timeout(G_DBUS_PROXY(sms), G_MAXINT); // no limit: see the top
    mm_sms_send(sms, (*holder)->cancellable, onAnswer, holder);
    return G_SOURCE_REMOVE;
}

} // namespace

SendOutcome sendAndWait(MMSms *sms, int job, int timeoutMs)
{
    auto call = std::make_shared<Call>();
    call->sms = MM_SMS(g_object_ref(sms));
    call->path = mm_sms_get_path(sms);
    call->job = job;
    std::unique_lock<std::mutex> lock(state().mutex);
    calls().inFlight.push_back(call);
    g_main_context_invoke(backend().context, startCall, new std::shared_ptr<Call>(call));
    if (call->done.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&call] { return call->answered; })) {
        if (call->outcome == SendOutcome::Unknown)
            calls().followed[job].lost = true; // answered, but with no word on the message
        return call->outcome;
    }
    call->givenUp = true;
    ++calls().followed[job].outstanding;
    return SendOutcome::Unknown;
}

int copyStatus(int job, bool othersFailed)
{
    auto it = calls().followed.find(job);
    if (it == calls().followed.end())
        return othersFailed ? 1 : 0;
    const Followed &f = it->second;
    if (f.outstanding > 0 || f.lost)
        return UTPS_SEND_STATUS_UNKNOWN;
    // Every late answer came while the other recipients were still being sent to.
    const int status = f.failed || othersFailed ? 1 : 0;
    calls().followed.erase(it);
    return status;
}

void copyStored(int job, int copyId, bool othersFailed)
{
    auto it = calls().followed.find(job);
    if (it == calls().followed.end())
        return;
    if (copyId < 0) {
        warn("send " + std::to_string(job) + ": its copy could not be stored; a late answer will not show");
        calls().followed.erase(it);
        return;
    }
    it->second.copyId = copyId;
    if (it->second.outstanding > 0) {
        it->second.failed = it->second.failed || othersFailed;
        return;
    }
    finish(job, it->second, othersFailed);
    calls().followed.erase(it);
}

void modemGoneForSends()
{
    std::vector<std::shared_ptr<Call>> cancelled;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        cancelled = calls().inFlight;
        for (auto &call : cancelled)
            call->modemGone = true;
    }
    // Outside the lock: the answer (cancelled) may be delivered from within this call.
    for (auto &call : cancelled)
        g_cancellable_cancel(call->cancellable);
}

} // namespace sdk::mm
