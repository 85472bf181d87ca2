#pragma once
// Runs `slot` on `receiver`'s thread after `thread` has finished, as a connection to
// QThread::finished made across threads would.
//
// Why not that connection itself: Qt runs the finishing part of a thread after run() has
// returned, and only QThread::wait() orders what happens there before the thread object
// is destroyed, inside Qt where ThreadSanitizer cannot see it. A queued connection has Qt
// look the signal up through the thread object's metaObject() there, and any slot object
// is read there. So the signal is taken by a direct connection, which posts the call, and
// `runLock` (the lock the thread holds for run() and its destructor takes after wait())
// is taken once after that, which orders all of it before the thread object goes away.
#include <QMetaObject>
#include <QMutexLocker>
#include <QObject>
#include <QThread>

template <typename Slot>
QMetaObject::Connection connectThreadFinished(QThread *thread, QMutex *runLock,
                                              QObject *receiver, Slot slot)
{
    return QObject::connect(
        thread, &QThread::finished, receiver,
        [runLock, receiver, slot] {
            QMetaObject::invokeMethod(receiver, slot, Qt::QueuedConnection);
            const QMutexLocker done(runLock);
        },
        Qt::DirectConnection);
}
