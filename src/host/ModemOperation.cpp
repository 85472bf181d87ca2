// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModemOperation.h"

#include <QtConcurrent/QtConcurrentRun>

#include <atomic>

namespace {
std::atomic<bool> g_running{false};
}

ModemOperation::ModemOperation(QObject *parent)
    : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcher<long>::finished, this, [this] { emit finished(m_watcher.result()); });
}

bool ModemOperation::anyRunning()
{
    return g_running;
}

bool ModemOperation::start(std::function<long()> call)
{
    bool idle = false;
    if (!g_running.compare_exchange_strong(idle, true))
        return false;
    // The flag is cleared by the call's own thread when the modem has answered, so it
    // holds even when the watcher (and the dialog that owns it) is gone by then.
    m_watcher.setFuture(QtConcurrent::run([call = std::move(call)] {
        const long result = call();
        g_running = false;
        return result;
    }));
    return true;
}
