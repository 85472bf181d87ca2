// SPDX-License-Identifier: GPL-3.0-or-later
#include "DetectMemoryDeviceThread.h"

#include <QMutexLocker>

#include "CommonUtils.h"
#include "SMSStatusUILogic.h"
#include "SmsLog.h"

namespace {
constexpr int kProbeIntervalMs = 1000;
}

DetectMemoryDeviceThread::DetectMemoryDeviceThread(int memoryType, QObject *parent)
    : QThread(parent)
    , m_iMemoryType(memoryType)
{
}

DetectMemoryDeviceThread::~DetectMemoryDeviceThread()
{
    setStopRequest(true);
    wait();
    // run() holds the mutex to its last statement: taking it once more orders everything
    // run() did before the members go away, also for a thread that ended long ago.
    QMutexLocker runDone(&m_mutex);
}

void DetectMemoryDeviceThread::setStopRequest(bool stop)
{
    std::lock_guard<std::mutex> locker(m_waitMutex);
    m_bStopRequest = stop;
    if (stop)
        m_wakeUp.notify_all();
}

// Returns false when a stop request arrived before or during the pause.
bool DetectMemoryDeviceThread::sleepUnlessStopped(int milliseconds)
{
    std::unique_lock<std::mutex> locker(m_waitMutex);
    return !m_wakeUp.wait_for(locker, std::chrono::milliseconds(milliseconds),
                              [this] { return m_bStopRequest.load(); });
}

void DetectMemoryDeviceThread::run()
{
    QMutexLocker runLocker(&m_mutex);
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    CommonUtils::ThreadCountInc(QStringLiteral(__FILE__), QStringLiteral("run"));
    qCDebug(lcSmsThread) << "storage detector started for memory" << m_iMemoryType;

    for (;;) {
        if (store && store->GetSMSRecordCount(m_iMemoryType) == 0) {
            CommonUtils::ThreadCountDec(QStringLiteral(__FILE__), QStringLiteral("run"));
            qCDebug(lcSmsThread) << "memory" << m_iMemoryType << "is readable; detector quits";
            Q_EMIT signalReadSIM(m_iMemoryType);
            return;
        }
        if (!sleepUnlessStopped(kProbeIntervalMs)) {
            CommonUtils::ThreadCountDec(QStringLiteral(__FILE__), QStringLiteral("run"));
            m_bStopRequest = false;
            qCDebug(lcSmsThread) << "detector for memory" << m_iMemoryType << "stopped";
            return;
        }
    }
}
