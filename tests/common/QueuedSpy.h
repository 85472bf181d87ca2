// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A signal recorder for signals emitted on another thread. QSignalSpy records in the
// emitting thread and is read in the test's, which is a data race; this one receives the
// signal on the thread that created it, as a window would, so only that thread ever
// touches what it recorded. The arguments are copied where the signal is emitted and the
// copy is posted (postToThread), rather than connected queued: a queued connection has Qt
// look the signal up through the sender's metaObject() on the emitting thread, which for
// QThread::finished happens after every lock of the worker's is let go (see
// CrossThreadCalls.h).
#include <QList>
#include <QObject>
#include <QTest>
#include <QVariant>

#include "CrossThreadCalls.h"

template <typename... Args>
class QueuedSpy : public QObject
{
public:
    template <typename Sender, typename Signal>
    QueuedSpy(const Sender *sender, Signal signal)
    {
        connect(sender, signal, this, [this](Args... args) {
            postToThread(this, [this, call = QVariantList{QVariant::fromValue(args)...}] {
                m_calls.append(call);
            });
        }, Qt::DirectConnection);
    }

    int count() const { return int(m_calls.size()); }
    const QVariantList &at(int index) const { return m_calls.at(index); }
    const QList<QVariantList> &calls() const { return m_calls; }
    // Waits until one more call than now has arrived.
    bool wait(int timeoutMs = 5000)
    {
        const int before = count();
        return QTest::qWaitFor([&] { return count() > before; }, timeoutMs);
    }

private:
    QList<QVariantList> m_calls;
};
