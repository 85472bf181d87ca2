// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One call to the modem that waits for it (a PIN, a PUK, switching it on: seconds on a real
// modem), run on a pool thread so the window keeps drawing and answering meanwhile. Only
// one runs at a time in the whole application, whoever starts it: every wrong code costs
// one of the SIM's few attempts, so a second code must not go out while the first is
// still being checked, not even from a second dialog.
#include <QFutureWatcher>
#include <QObject>

#include <functional>

class ModemOperation : public QObject
{
    Q_OBJECT
public:
    explicit ModemOperation(QObject *parent = nullptr);

    // Starts call (an SDK call, thread-safe) and returns true; false, doing nothing, while
    // any operation is still running. call must not refer to objects of the GUI thread:
    // it may outlive whoever started it (a dialog closed meanwhile).
    bool start(std::function<long()> call);
    bool running() const { return m_watcher.isRunning(); }
    static bool anyRunning();

signals:
    // On the thread this object lives in, with the SDK's answer.
    void finished(long result);

private:
    QFutureWatcher<long> m_watcher;
};
