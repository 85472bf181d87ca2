// SPDX-License-Identifier: GPL-3.0-or-later
// Results of a send: one per recipient and part from the network, then the stored sent
// copy, which ends the send with its verdict and its line in the usage statistics.
#include "SMSUIMainDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTextBrowser>
#include <QTreeWidgetItem>

#include "operations/PendingSendCopy.h"
#include "operations/SMSEditUILogic.h"
#include "store/SMSStatusUILogic.h"
#include "SMSUITableWidget.h"
#include "SMSWaitingDlg.h"
#include "SmsLog.h"
#include "utps_sdk.h"

namespace {

// Files the stored message id of the PC storage in the store; null when it cannot be read.
SmsRecord *fileStoredMessage(SMSStatusUILogic *store, int id)
{
    _UTPS_ST_SMS_RECORD *sdk = nullptr;
    if (!store || id < 0 || UTPS_SMSSrv_CreateSMSRecord(&sdk, nullptr, nullptr) != 0 || !sdk)
        return nullptr;
    sdk->iMsgId = id;
    SmsRecord *record = nullptr;
    const long read = UTPS_SMSSrv_GetMsg(sdk, UTPS_SMS_MEM_PC);
    if (read != 0)
        qCWarning(lcSmsWindow) << "UTPS_SMSSrv_GetMsg returned" << read << "for the unsent copy" << id;
    else if (store->sortSMSToCorrespondingNodes(sdk, &record) != 0)
        record = nullptr;
    UTPS_SMSSrv_ReleaseSMSRecord(&sdk);
    return record;
}

} // namespace

bool SMSUIMainDlg::startSendOperation(const QString &recipients, const QString &content, int units)
{
    if (units < 1 || m_SMSThreadInst.isRunning()) {
        qCWarning(lcSmsWindow) << "send not started: units" << units << "worker running"
                               << m_SMSThreadInst.isRunning();
        return false;
    }
    if (m_pSMSWaitingDlgInstance) {
        m_pSMSWaitingDlgInstance->SetProgressBarCanceled(false);
        m_pSMSWaitingDlgInstance->m_iSteps = 0;
        m_pSMSWaitingDlgInstance->m_iMaximum = units;
        m_pSMSWaitingDlgInstance->m_iNextHandledUnit = 0;
        m_pSMSWaitingDlgInstance->ShowAnimationDialog(this, SMSWaitingDlg::OpSend);
        if (units == 1)
            m_pSMSWaitingDlgInstance->DisableCancelButton();
        else
            m_pSMSWaitingDlgInstance->EnableCancelButton();
    }
    m_iSendUnits = units;
    m_iSendReported = 0;
    m_iSendSuccess = 0;
    m_iSendFail = 0;
    m_bSendRefused = false;
    // Stored before the first recipient, so that a send cut short leaves the message.
    if (m_pPendingSendCopy)
        m_pPendingSendCopy->begin(recipients, content);
    QString numbers = recipients;
    m_SMSThreadInst.SetSendSmsThreadOperation(DC_SMS_SEND, numbers, content);
    m_SMSThreadInst.start(QThread::InheritPriority);
    return true;
}

void SMSUIMainDlg::onSendSmsResult(bool sent, int origin)
{
    if (!m_pSMSWaitingDlgInstance) {
        qCWarning(lcSmsWindow) << "m_pSMSWaitingDlgInstance is NULL";
        return;
    }
    // A refusal means that the SDK never took the message: no more results and no sent
    // copy will follow, so the send is concluded when the worker has finished reporting.
    if (origin != 0)
        m_bSendRefused = true;
    ++m_iSendReported;
    ++(sent ? m_iSendSuccess : m_iSendFail);
    if (m_pSMSWaitingDlgInstance->operation() != SMSWaitingDlg::OpSend)
        return;
    m_pSMSWaitingDlgInstance->updateProgressBarLabel(m_iSendReported, m_iSendUnits);
    if (m_pSMSWaitingDlgInstance->IsProgressBarCanceled()) {
        m_pSMSWaitingDlgInstance->SetProgressBarCanceled(false);
        enableSendButton(true);
        m_pSMSWaitingDlgInstance->closeWaitingDialog();
    }
}

void SMSUIMainDlg::onCloseProgressbarDialog(int)
{
    concludeSend();
}

void SMSUIMainDlg::concludeSend()
{
    const bool refused = m_bSendRefused;
    m_bSendRefused = false;
    SMSWaitingDlg *dialog = m_pSMSWaitingDlgInstance;
    const bool sendDialog = dialog && dialog->operation() == SMSWaitingDlg::OpSend;
    if (refused) {
        // Refused parts were never counted one by one: the ones left fail together, so the
        // bar reaches its end and the verdict covers the whole send.
        for (; m_iSendReported < m_iSendUnits; ++m_iSendReported) {
            ++m_iSendFail;
            if (sendDialog)
                dialog->updateProgressBarLabel(m_iSendReported + 1, m_iSendUnits);
        }
    }
    if (refused && m_pPendingSendCopy)
        dropPendingCopyFromFolder(m_pPendingSendCopy->abandon());
    const int counted = m_iSendSuccess + m_iSendFail;
    if (sendDialog) {
        dialog->onCompleteChangeButtonText();
        if (counted > 0)
            dialog->changeLabel(QString::fromLatin1(sendVerdictKey(m_iSendSuccess, m_iSendUnits)));
    }
    if (counted > 0) {
        SaveSMSInfoForAgent(QStringLiteral("SMS01"), QStringLiteral("SMSisUsing"),
                            QStringLiteral("1"));
        SaveSMSInfoForAgent(QStringLiteral("SMS02"), QStringLiteral("SMSSent"),
                            QString::number(counted));
    }
    m_iLastSendSuccess = m_iSendSuccess;
    m_iLastSendFail = m_iSendFail;
    m_iSendSuccess = 0;
    m_iSendFail = 0;
    m_iSendUnits = 0;
    m_iSendReported = 0;
    if (sendDialog)
        dialog->closeWaitingDialog();
}

const char *SMSUIMainDlg::sendVerdictKey(int sent, int units)
{
    // Only parts reported as sent count: a part whose result never came (the send ended
    // early, a result was lost) is not known to have gone out, so it is never "all sent".
    if (units > 0 && sent >= units)
        return "IDS_STC_ALLSUCCESS";
    return sent == 0 ? "IDS_STC_ALLFAILED" : "IDS_STC_SOMEFAILED";
}

void SMSUIMainDlg::dropPendingCopyFromFolder(int id)
{
    // A refresh during the send may have read the copy into the outbox folder.
    if (id < 0 || !m_pStatusLogicObject
        || !m_pStatusLogicObject->GetSMSRecordsSet(EN_LOCAL_OUTBOX).contains(id))
        return;
    m_pStatusLogicObject->RemoveSMSFromMap(EN_LOCAL_OUTBOX, id, true);
    syncSMSTableWithBuffers(EN_LOCAL_OUTBOX);
    syncSMSTableWithBuffers(EN_LOCAL_ROOT);
    updateCount();
}

void SMSUIMainDlg::onSMSSentrecordRecieved(int id)
{
    if (!m_pStatusLogicObject)
        return;
    SmsRecord *record = m_pStatusLogicObject->takeFirstSentRecord();
    // The SDK's own copy replaces the unsent one that stood for the send meanwhile; when it
    // could not be stored, that one is the send's record and shows in its place.
    SmsRecord *kept = nullptr;
    if (m_pPendingSendCopy) {
        const int keptId = id < 0 ? m_pPendingSendCopy->copyId() : -1;
        dropPendingCopyFromFolder(m_pPendingSendCopy->finish(id >= 0));
        kept = fileStoredMessage(m_pStatusLogicObject, keptId);
    }
    if (record && record->iMsgId == id && id < 0 && kept) {
        // The announced copy exists nowhere: only the stored one may show.
        m_pStatusLogicObject->RemoveSMSFromMap(record->enPos, id, /* permanent */ true);
        record = kept;
    } else if (!record || record->iMsgId != id) {
        qCWarning(lcSmsWindow) << "invalid input param: sent copy" << id << "not first in line";
        record = kept;
    }
    if (!record)
        return;
    const bool sentItem = isHaveSendItemsBox() && record->iStatus == 0;
    addRecToSMSTable(sentItem ? EN_LOCAL_SENTITEMS : EN_LOCAL_OUTBOX, record);
    addRecToSMSTable(EN_LOCAL_ROOT, record);
    updateCount();
    if (m_pCurrentTable && m_pCurrentTable->selectedItems().isEmpty() && m_pCurrentTreeItem)
        loadPreviewtextOnTreeNodeClick(m_pCurrentTreeItem->text(0));
}

void SMSUIMainDlg::onSentCopySettled(int id, int position)
{
    // The store has filed the copy by its outcome; its row leaves "may not have been sent"
    // for sent (in sent items, when the window has them) or not sent.
    syncWithParent(EN_LOCAL_OUTBOX);
    if (position != EN_LOCAL_OUTBOX)
        syncWithParent(position);
    updateCount();
    qCDebug(lcSmsWindow) << "sent copy" << id << "settled";
    if (m_pCurrentTable && m_pCurrentTable->selectedItems().isEmpty() && m_pCurrentTreeItem)
        loadPreviewtextOnTreeNodeClick(m_pCurrentTreeItem->text(0));
}

void SMSUIMainDlg::enableSendButton(bool enable)
{
    // Each editor is a window of its own: pair its Send button with its recipient line.
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        const QList<QAbstractButton *> buttons =
            window->findChildren<QAbstractButton *>(QStringLiteral("SMSUIPlugin_ButtonSendMsg"));
        const QList<QLineEdit *> lines =
            window->findChildren<QLineEdit *>(QStringLiteral("SMSUIPlugin_LineEditNumber"));
        for (int i = 0; i < buttons.size(); ++i) {
            const QLineEdit *line = lines.value(i);
            buttons.at(i)->setEnabled(enable && line && !line->text().isEmpty());
        }
    }
}

void SMSUIMainDlg::onCancelSendSMS()
{
    // Also stops a send that the worker has not handed to the SDK yet.
    SMSThreadUI::StopSmsThread();
    int all = 0;
    if (m_pEditLogic)
        m_pEditLogic->CancelSendSMS(&all);
}
