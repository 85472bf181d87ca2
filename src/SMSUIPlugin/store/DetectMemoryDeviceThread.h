// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Waits, on its own thread, until the SIM or device storage answers, then tells the main
// window once so that it can read the storage. Polls once a second.
#include <QMutex>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>

class DetectMemoryDeviceThread : public QThread
{
    Q_OBJECT
public:
    // memoryType: 1 = SIM, 2 = device (the SDK's storage numbers).
    explicit DetectMemoryDeviceThread(int memoryType = 1, QObject *parent = nullptr);
    // Asks a running detector to stop and waits for it.
    ~DetectMemoryDeviceThread() override;

    void setMemoryType(int memoryType) { m_iMemoryType = memoryType; }
    int memoryType() const { return m_iMemoryType; }

    // Raising the request makes a running detector end within a second without signalling;
    // the owner clears it before starting the detector again.
    void setStopRequest(bool stop);
    bool isStopRequested() const { return m_bStopRequest.load(); }

    // Held for the whole of run(): locking it once waits for a detector that is still in
    // its loop.
    QMutex *runMutex() { return &m_mutex; }

Q_SIGNALS:
    // Emitted once, on the detector's thread, when the storage can be read.
    void signalReadSIM(int memoryType);

protected:
    void run() override;

private:
    bool sleepUnlessStopped(int milliseconds);

    int m_iMemoryType;
    std::atomic_bool m_bStopRequest{false};
    QMutex m_mutex;
    // Lets a stop request cut the one-second pause short. The standard pair rather than
    // QWaitCondition: its wait hands the mutex back inside Qt, where the thread checker
    // cannot see it, and it then takes every later lock for a second owner.
    std::mutex m_waitMutex;
    std::condition_variable m_wakeUp;
};
