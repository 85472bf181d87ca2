// SPDX-License-Identifier: GPL-3.0-or-later
// The SDK's event thread: a timed task queue (events, send progress) and the callback
// registrations. Callbacks run here, never with the state mutex or the registration mutex
// held, so a callback may call any SDK function.
#include "SdkInternal.h"

#include <algorithm>
#include <queue>

namespace sdk {

namespace {

struct Task
{
    Clock::time_point due;
    unsigned long long seq;
    std::function<void()> fn;
    bool operator>(const Task &o) const { return due != o.due ? due > o.due : seq > o.seq; }
};

// Guarded by its own mutex, never taken together with the state mutex in the other order:
// the state mutex may be held while posting (state -> loop), never the reverse.
struct Loop
{
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::priority_queue<Task, std::vector<Task>, std::greater<Task>> tasks;
    unsigned long long seq = 0;
    bool running = false;
    bool stopping = false;
    bool busy = false;
    std::thread thread;
    std::thread::id threadId;
};

// Never destroyed (see state()): a joinable thread must not meet its destructor at exit.
Loop &loop()
{
    static Loop *l = new Loop;
    return *l;
}

struct Registrations
{
    std::mutex mutex;
    std::condition_variable done;
    std::vector<void *> lists[3];
    void *inFlight = nullptr;
    Channel inFlightChannel = Channel::Sms;
};

Registrations &registrations()
{
    static Registrations *r = new Registrations;
    return *r;
}

void run()
{
    Loop &l = loop();
    std::unique_lock<std::mutex> lock(l.mutex);
    while (!l.stopping) {
        if (l.tasks.empty()) {
            l.idle.notify_all();
            l.wake.wait(lock);
            continue;
        }
        const auto due = l.tasks.top().due;
        if (due > Clock::now()) {
            l.wake.wait_until(lock, due);
            continue;
        }
        auto fn = l.tasks.top().fn;
        l.tasks.pop();
        l.busy = true;
        lock.unlock();
        fn();
        lock.lock();
        l.busy = false;
    }
    l.idle.notify_all();
}

long reg(Channel channel, void *callback)
{
    if (!callback)
        return UTPS_E_INVALID_ARG;
    Registrations &r = registrations();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto &list = r.lists[int(channel)];
    if (std::find(list.begin(), list.end(), callback) == list.end())
        list.push_back(callback);
    return UTPS_OK;
}

long unreg(Channel channel, void *callback)
{
    if (!callback)
        return UTPS_E_INVALID_ARG;
    Registrations &r = registrations();
    std::unique_lock<std::mutex> lock(r.mutex);
    auto &list = r.lists[int(channel)];
    auto it = std::find(list.begin(), list.end(), callback);
    if (it == list.end())
        return UTPS_E_NOT_FOUND;
    list.erase(it);
    // A callback unregistering itself must not wait for itself.
    if (!onEventThread())
        r.done.wait(lock, [&] { return r.inFlight != callback || r.inFlightChannel != channel; });
    return UTPS_OK;
}

} // namespace

void startEvents()
{
    Loop &l = loop();
    std::lock_guard<std::mutex> lock(l.mutex);
    if (l.running)
        return;
    l.stopping = false;
    l.running = true;
    l.thread = std::thread(run);
    l.threadId = l.thread.get_id();
}

void stopEvents()
{
    Loop &l = loop();
    std::thread t;
    {
        std::lock_guard<std::mutex> lock(l.mutex);
        if (!l.running)
            return;
        l.stopping = true;
        l.wake.notify_all();
        t = std::move(l.thread);
    }
    if (t.joinable())
        t.join();
    std::lock_guard<std::mutex> lock(l.mutex);
    l.tasks = {};
    l.running = false;
    l.busy = false;
    l.threadId = std::thread::id();
}

bool onEventThread()
{
    Loop &l = loop();
    std::lock_guard<std::mutex> lock(l.mutex);
    return l.running && l.threadId == std::this_thread::get_id();
}

void postTask(std::function<void()> task, int delayMs)
{
    Loop &l = loop();
    std::lock_guard<std::mutex> lock(l.mutex);
    if (!l.running || l.stopping)
        return;
    l.tasks.push({Clock::now() + std::chrono::milliseconds(std::max(0, delayMs)), l.seq++, std::move(task)});
    l.wake.notify_all();
}

void postRecordEvent(int event, const Message &m)
{
    postTask([event, m] {
        OwnedRecord record(m);
        deliver(Channel::Sms, event, &record.rec);
    });
}

void postStatusEvent(int status, int memory)
{
    postTask([status, memory] {
        int data[2] = {status, memory};
        deliver(Channel::Sms, EVENT_SMS_ONSTATUSCHANGED, data);
    });
}

void postSimpleEvent(Channel channel, int event)
{
    postTask([channel, event] { deliver(channel, event, nullptr); });
}

void deliver(Channel channel, int event, void *data)
{
    Registrations &r = registrations();
    std::unique_lock<std::mutex> lock(r.mutex);
    const std::vector<void *> snapshot = r.lists[int(channel)];
    for (void *cb : snapshot) {
        auto &list = r.lists[int(channel)];
        if (std::find(list.begin(), list.end(), cb) == list.end())
            continue; // unregistered by an earlier callback of this event
        r.inFlight = cb;
        r.inFlightChannel = channel;
        lock.unlock();
        reinterpret_cast<UTPS_SMS_CALLBACK>(cb)(event, data);
        lock.lock();
        r.inFlight = nullptr;
        r.done.notify_all();
    }
}

void clearRegistrations()
{
    Registrations &r = registrations();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (auto &list : r.lists)
        list.clear();
}

long waitEventsIdle(int timeoutMs)
{
    if (onEventThread())
        return UTPS_E_INVALID_ARG;
    Loop &l = loop();
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
    std::unique_lock<std::mutex> lock(l.mutex);
    while (l.running && (l.busy || !l.tasks.empty())) {
        if (l.idle.wait_until(lock, deadline) == std::cv_status::timeout)
            return l.busy || !l.tasks.empty() ? UTPS_E_BUSY : UTPS_OK;
    }
    return UTPS_OK;
}

} // namespace sdk

using namespace sdk;

extern "C" {

long UTPS_SMSSrv_RegCallBack(UTPS_SMS_CALLBACK callback)
{
    SDK_ENTER(lock);
    lock.unlock();
    return reg(Channel::Sms, reinterpret_cast<void *>(callback));
}

long UTPS_SMSSrv_UnRegCallBack(UTPS_SMS_CALLBACK callback)
{
    SDK_ENTER(lock);
    lock.unlock();
    return unreg(Channel::Sms, reinterpret_cast<void *>(callback));
}

long UTPS_PBSrv_RegisterPBCallback(UTPS_PB_CALLBACK callback)
{
    SDK_ENTER(lock);
    lock.unlock();
    return reg(Channel::PhoneBook, reinterpret_cast<void *>(callback));
}

long UTPS_PBSrv_UnRegisterPBCallback(UTPS_PB_CALLBACK callback)
{
    SDK_ENTER(lock);
    lock.unlock();
    return unreg(Channel::PhoneBook, reinterpret_cast<void *>(callback));
}

long UTPS_DevSrv_RegisterDevInitEventCallback(UTPS_DEV_CALLBACK callback)
{
    SDK_ENTER(lock);
    lock.unlock();
    return reg(Channel::Device, reinterpret_cast<void *>(callback));
}

long UTPS_DevSrv_UnRegisterDevInitEventCallback(UTPS_DEV_CALLBACK callback)
{
    SDK_ENTER(lock);
    lock.unlock();
    return unreg(Channel::Device, reinterpret_cast<void *>(callback));
}

} // extern "C"
