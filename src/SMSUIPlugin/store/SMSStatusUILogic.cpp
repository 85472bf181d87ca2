// SPDX-License-Identifier: GPL-3.0-or-later
// Lifecycle of the store: creation, SDK registration, destruction, table icons.
#include "SMSStatusUILogic.h"

#include <QFile>

#include "CommonUtils.h"
#include "SmsLog.h"

std::atomic<SMSStatusUILogic *> SMSStatusUILogic::m_pSMSStatusLogicInst{nullptr};
QMutex SMSStatusUILogic::m_callbackMutex;

// Creation and destruction of the singleton may race with SDK callbacks using it: both
// sides hold the callback mutex, so Destroy() waits for a running callback to finish.
namespace {
constexpr int kTileSize = 16;
constexpr int kTileCount = 6;
} // namespace

SMSStatusUILogic::SMSStatusUILogic()
    : m_strPluginPath(CommonUtils::GetPluginDataPath())
    , m_strResourceFolder(QStringLiteral("/plugins/SMSUIPlugin/"))
{
    storeTableImages();
}

SMSStatusUILogic::~SMSStatusUILogic()
{
    releaseMessageIdList();
    QMutexLocker locker(&m_bufferMutex);
    // The lists borrow records that are filed in the buffers; only the buffers own them.
    // Folders that ReleaseAllSmsBuffers does not cover (cell broadcasts, sent items, and
    // anything filed under a root) are freed here so that no record outlives the store.
    m_lstSentRecords.clear();
    m_lstReceivedRecords.clear();
    for (auto &folder : m_hashBuffers)
        qDeleteAll(folder);
    m_hashBuffers.clear();
    freeRetiredLocked(-1);
}

SMSStatusUILogic *SMSStatusUILogic::Instance()
{
    if (SMSStatusUILogic *store = m_pSMSStatusLogicInst.load())
        return store;
    QMutexLocker locker(&m_callbackMutex);
    if (!m_pSMSStatusLogicInst.load()) {
        qCDebug(lcSmsStore) << "creating the message store";
        m_pSMSStatusLogicInst = new SMSStatusUILogic;
    }
    return m_pSMSStatusLogicInst;
}

void SMSStatusUILogic::Destroy()
{
    SMSStatusUILogic *store = nullptr;
    {
        QMutexLocker locker(&m_callbackMutex);
        store = m_pSMSStatusLogicInst.exchange(nullptr);
    }
    delete store;
}

int SMSStatusUILogic::InitStatusLogic()
{
    long result = UTPS_SMSSrv_RegCallBack(&SMSStatusUILogic::SmsCallBackMethod);
    if (result != 0) {
        qCWarning(lcSmsStore) << "UTPS_SMSSrv_RegCallBack returned" << result;
        return 1;
    }
    result = UTPS_PBSrv_RegisterPBCallback(&SMSStatusUILogic::SmsCallBackMethod);
    if (result != 0) {
        qCWarning(lcSmsStore) << "UTPS_PBSrv_RegisterPBCallback returned" << result;
        return 1;
    }
    return 0;
}

void SMSStatusUILogic::unSDKRegisterEvent()
{
    UTPS_SMSSrv_UnRegCallBack(&SMSStatusUILogic::SmsCallBackMethod);
    UTPS_PBSrv_UnRegisterPBCallback(&SMSStatusUILogic::SmsCallBackMethod);
}

void SMSStatusUILogic::storeTableImages()
{
    const QString file = m_strPluginPath + m_strResourceFolder + QStringLiteral("sms_status.png");
    const QImage strip(file);
    if (strip.isNull())
        qCWarning(lcSmsStore) << "table icons missing or unreadable:" << file;
    m_lstTableImages.clear();
    for (int i = 0; i < kTileCount; ++i) {
        // A missing or too small strip leaves null icons: the tables show no icon.
        const QRect tile(kTileSize * i, 0, kTileSize, kTileSize);
        m_lstTableImages.append(strip.rect().contains(tile) ? strip.copy(tile) : QImage());
    }
}

QImage SMSStatusUILogic::GetTableImage(int index) const
{
    return m_lstTableImages.value(index);
}

void SMSStatusUILogic::setAcceptDropLOutboxOrLSenditemHook(std::function<bool(int)> hook)
{
    QMutexLocker locker(&m_bufferMutex);
    m_acceptDropHook = std::move(hook);
}
