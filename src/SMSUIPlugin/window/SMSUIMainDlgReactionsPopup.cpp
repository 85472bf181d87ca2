// SPDX-License-Identifier: GPL-3.0-or-later
// A storage became full: the pop-up that says so, or on a dual-mode card the host's prompt
// that offers to move the full storage's messages to this computer, and that move.
#include "SMSUIMainDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "CommonUtils.h"
#include "HostInterfaces.h"
#include "HostPluginLookup.h"
#include "PluginIds.h"
#include "SmsLog.h"
#include "notify/SMSMemoryFullPopup.h"
#include "operations/SMSEditUILogic.h"
#include "store/SMSStatusUILogic.h"
#include "SMSWaitingDlg.h"
#include "utps_sdk.h"

namespace {
// Whether the storage a full report spoke of is gone: the PC never goes; a full card or
// modem that is gone has nothing left to warn about or to move.
bool fullStorageGone(int fullStatus, bool simAvailable, bool deviceAvailable)
{
    return (fullStatus == UTPS_SMS_STATUS_SIM_FULL && !simAvailable)
        || (fullStatus == UTPS_SMS_STATUS_DEVICE_FULL && !deviceAvailable);
}
} // namespace

SMSMemoryFullPopup *SMSUIMainDlg::memoryFullPopup() const
{
    return m_pMemoryFullPopup.data();
}

void SMSUIMainDlg::setDualModePromptDelays(int frameShownMs, int frameNotShownMs)
{
    m_iDualModeDelayShown = frameShownMs;
    m_iDualModeDelayNotShown = frameNotShownMs;
}

QString SMSUIMainDlg::memoryFullText(int status) const
{
    switch (status) {
    case UTPS_SMS_STATUS_SIM_FULL: {
        QString text = tr(QStringLiteral("IDS_STC_SIMSMSFULL"));
        const QString identity = m_pEditLogic ? m_pEditLogic->GetUserIdentityByString()
                                              : QString();
        return text.replace(QLatin1String("%s"), identity);
    }
    case UTPS_SMS_STATUS_DEVICE_FULL:
        return tr(QStringLiteral("IDS_STC_DEVICESMSFULL"));
    default:
        return tr(QStringLiteral("IDS_STC_LOCALSMSFULL"));
    }
}

void SMSUIMainDlg::createMemoryFullPopUp(int status, bool mayDefer)
{
    if (mayDefer && m_bMultiModeCard && m_bHideDualModeCard) {
        // The host's frame may still be coming up: the prompt waits for it a little longer.
        QTimer::singleShot(m_bMainFrameShown ? m_iDualModeDelayShown : m_iDualModeDelayNotShown,
                           this, &SMSUIMainDlg::ShowMemoryFull);
        return;
    }
    if (m_pMemoryFullPopup) {
        m_pMemoryFullPopup->close();  // deletes itself
        m_pMemoryFullPopup = nullptr;
    }
    auto *popup = new SMSMemoryFullPopup;
    m_pMemoryFullPopup = popup;
    connect(popup->closeButton(), &QPushButton::clicked, this,
            &SMSUIMainDlg::onClickCloseMemoryFullDialog);
    popup->setTexts(tr(QStringLiteral("IDS_PROMPT_CAPTION")), memoryFullText(status),
                    tr(QStringLiteral("IDS_BTN_CLOSE")));
    popup->present();
    startTimerForMemoryFullPopUp();
}

void SMSUIMainDlg::startTimerForMemoryFullPopUp()
{
    if (!m_pMemoryFullTimer) {
        m_pMemoryFullTimer = new QTimer(this);
        m_pMemoryFullTimer->setSingleShot(true);
        connect(m_pMemoryFullTimer, &QTimer::timeout, this,
                &SMSUIMainDlg::OnstopTimerForMemoryFullPopUp);
    }
    m_pMemoryFullTimer->stop();
    m_pMemoryFullTimer->start(m_iMemoryFullTimeout);
}

void SMSUIMainDlg::OnstopTimerForMemoryFullPopUp()
{
    if (m_pMemoryFullTimer)
        m_pMemoryFullTimer->stop();
    if (m_pMemoryFullPopup)
        m_pMemoryFullPopup->close();
}

void SMSUIMainDlg::onClickCloseMemoryFullDialog()
{
    if (m_pMemoryFullTimer)
        m_pMemoryFullTimer->stop();
    if (m_pMemoryFullPopup) {
        m_pMemoryFullPopup->close();
        m_pMemoryFullPopup->deleteLater();
    }
    m_pMemoryFullPopup = nullptr;
}

void SMSUIMainDlg::closeDialogsOfVanishedStorages()
{
    if (m_pMemoryFullPopup
        && fullStorageGone(m_iLastStorageStatus, m_bSimStorageAvailable, m_bDeviceStorageAvailable))
        onClickCloseMemoryFullDialog();
}

void SMSUIMainDlg::ChangeLanguageForMemoryFullPopUp()
{
    if (!m_pMemoryFullPopup || !m_pEditLogic)
        return;
    const QString text = m_bMultiModeCard && m_bHideDualModeCard
        ? tr(QStringLiteral("IDS_DualModeCard_STC_FULL"))
        : memoryFullText(m_iLastStorageStatus);
    m_pMemoryFullPopup->setTexts(tr(QStringLiteral("IDS_PROMPT_CAPTION")), text,
                                 tr(QStringLiteral("IDS_BTN_CLOSE")));
}

QWidget *SMSUIMainDlg::mainFrameWidget() const
{
    PluginContainer *container = Startup::GetPluginContainer();
    if (!container) {
        qCWarning(lcSmsWindow) << "GetPluginContainer failed";
        return nullptr;
    }
    auto *frame = pluginInterface<IMainFrameUIService>(container, PluginIds::MainFrame,
                                                       InterfaceId::MainFrame);
    return frame ? frame->GetMainWidget() : nullptr;
}

void SMSUIMainDlg::ShowMemoryFull()
{
    // The prompt comes a little after the report: the full storage may have gone meanwhile.
    if (fullStorageGone(m_iLastStorageStatus, m_bSimStorageAvailable, m_bDeviceStorageAvailable)) {
        qCDebug(lcSmsWindow) << "the full storage went before its prompt";
        return;
    }
    QWidget *parent = mainFrameWidget();
    const int answer = CommonUtils::ShowMessage(
        QMessageBox::Information, parent, tr(QStringLiteral("IDS_STR_PROMPT")),
        tr(QStringLiteral("IDS_DualModeCard_STC_FULL")), QStringLiteral("IDS_OK"),
        QStringLiteral("IDS_CANCEL"), QString(), true,
        Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint, &m_pMessageBox);
    if (answer == QMessageBox::Cancel)
        onClickCloseMemoryFullDialog();
    else if (answer == QMessageBox::Ok)
        onMemoryFullPopUPOKClick();
}

bool SMSUIMainDlg::onMemoryFullPopUPOKClick()
{
    QWidget *frame = mainFrameWidget();
    if (!frame) {
        qCWarning(lcSmsWindow) << "return false because pMainFrame is NULL!";
        return false;
    }
    if (!m_pStatusLogicObject) {
        qCWarning(lcSmsWindow) << "return false because NULL == m_pStatusLogicObject!";
        return false;
    }
    const bool sim = m_iLastStorageStatus == UTPS_SMS_STATUS_SIM_FULL;
    if (!sim && m_iLastStorageStatus != UTPS_SMS_STATUS_DEVICE_FULL) {
        qCWarning(lcSmsWindow) << "return false because enSMSStatus is unknown!";
        return false;
    }
    // A batch already under way owns the worker and the counters.
    if (m_SMSThreadInst.isRunning()) {
        qCWarning(lcSmsWindow) << "a batch is still running: the move waits for the user";
        return false;
    }
    const auto storage = sim ? UTPS_SMS_MEM_SIM : UTPS_SMS_MEM_DEVICE;
    const int units = m_pStatusLogicObject->GetSMSCount(storage);
    QList<SmsRecord> records;
    for (_EN_SMS_POSITION p : sim ? QList<_EN_SMS_POSITION>{EN_SIM_INBOX, EN_SIM_OUTBOX}
                                  : QList<_EN_SMS_POSITION>{EN_DEVICE_INBOX, EN_DEVICE_OUTBOX}) {
        const QHash<int, SmsRecord *> folder = m_pStatusLogicObject->GetSMSRecordsSet(p);
        for (const SmsRecord *record : folder) {
            if (record)
                records.append(*record);
        }
    }
    if (records.isEmpty() || units <= 0) {
        qCWarning(lcSmsWindow) << "return false because NO sms found on device or SIM!";
        return false;
    }
    if (!m_pSMSWaitingDlgInstance)
        m_pSMSWaitingDlgInstance = SMSWaitingDlg::Instance();
    // Each message the worker handles reports once: count what it is given, which is what
    // the store holds of the storage (the SDK's count may include what it could not read).
    resetBatchCounters();
    m_batchKind = BatchMoveCopy;
    m_iOperationUnits = records.size();
    m_batchEnd.finishNow();
    m_bRootNodeMove = true;
    m_pSMSWaitingDlgInstance->SetProgressBarCanceled(false);
    m_pSMSWaitingDlgInstance->m_iSteps = 0;
    m_pSMSWaitingDlgInstance->m_iMaximum = records.size();
    m_pSMSWaitingDlgInstance->ShowAnimationDialog(frame, 2);
    m_SMSThreadInst.SetSmsThreadOperation(DC_SMS_MOVE, records, storage, EN_LOCAL_ROOT,
                                          sim ? EN_SIM_ROOT : EN_DEVICE_ROOT);
    m_SMSThreadInst.start(QThread::InheritPriority);
    return true;
}
