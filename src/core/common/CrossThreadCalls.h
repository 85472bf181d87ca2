// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Calls handed from one thread to another, in an order race checkers can see.
//
// Qt hands a posted call over under a lock inside QtCore, and orders a finished thread's
// last steps before its destruction inside QThread::wait(). Neither is visible to
// ThreadSanitizer, which is not told about Qt's own locks, so the checker would take the
// captures of a posted call, written on one thread and read on the other, for a race.
// The helpers below add an ordinary lock on both sides: uncontended, it costs a few
// nanoseconds, and it makes the order the program relies on visible.
#include <QMetaObject>
#include <QMutexLocker>
#include <QObject>
#include <QThread>

#include <mutex>
#include <utility>

namespace crossthread {
// Held by the posting thread from before the call's captures are copied until it is
// queued, and taken by the receiving thread before the call runs.
inline std::mutex &handOver()
{
    static std::mutex lock;
    return lock;
}
} // namespace crossthread

// Runs `call` on `receiver`'s thread from its event loop, like a queued invokeMethod.
template <typename Call>
void postToThread(QObject *receiver, Call call)
{
    const std::lock_guard<std::mutex> posting(crossthread::handOver());
    QMetaObject::invokeMethod(
        receiver,
        [call = std::move(call)]() mutable {
            { const std::lock_guard<std::mutex> posted(crossthread::handOver()); }
            call();
        },
        Qt::QueuedConnection);
}

// Runs `slot` on `receiver`'s thread after `thread` has finished, as a connection to
// QThread::finished made across threads would.
//
// Why not that connection itself: Qt runs a thread's finishing part after run() has
// returned, and a queued connection has Qt look the signal up through the thread object's
// metaObject() there, and any slot object is read there, ordered before the thread object
// is destroyed only by QThread::wait(). So the signal is taken by a direct connection,
// which posts the call, and then takes `runLock` (the lock the thread holds for run() and
// its destructor takes after wait()) once, which orders all of it before the thread
// object goes away.
template <typename Slot>
QMetaObject::Connection connectThreadFinished(QThread *thread, QMutex *runLock,
                                              QObject *receiver, Slot slot)
{
    return QObject::connect(
        thread, &QThread::finished, receiver,
        [runLock, receiver, slot] {
            postToThread(receiver, slot);
            const QMutexLocker done(runLock);
        },
        Qt::DirectConnection);
}
