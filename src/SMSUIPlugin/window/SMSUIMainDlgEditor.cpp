// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of the message editor: opening it in each mode, the state it reads
// and leaves here, the send it starts, and the can-send flag its Send button follows.
#include "SMSUIMainDlg.h"

#include <QPushButton>
#include <QShortcut>
#include <QTreeWidgetItem>

#include "HostInterfaces.h"
#include "PluginIds.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SmsLog.h"
#include "Startup.h"
#include "editor/SMSMessageDlg.h"
#include "editor/SMSUIMessageEditor.h"
#include "operations/PendingSendCopy.h"
#include "SendCloseGuard.h"
#include "store/SMSStatusUILogic.h"
#include "utps_sdk.h"

void SMSUIMainDlg::initEditorEntryPoints()
{
    // The commands may wire the same shortcut: a unique connection opens one editor.
    if (m_pNewShortcut)
        connect(m_pNewShortcut, &QShortcut::activated, this, &SMSUIMainDlg::onMenuNew,
                Qt::UniqueConnection);
    connect(&m_SMSThreadInst, &SMSThreadUI::SendSignalEvent, this,
            &SMSUIMainDlg::onEditorSendResult, Qt::UniqueConnection);
    if (!m_pPendingSendCopy) {
        m_pPendingSendCopy = new PendingSendCopy(this);
        m_pPendingSendCopy->follow(m_pStatusLogicObject);
        new SendCloseGuard(this, [this] { return isSending(); });
    }
    // The SDK announces CAN_SEND / CANNOT_SEND only when the ability changes, so a window
    // built on a modem that is ready already would never hear it: take the state now.
    m_bCanSendSMS = readCanSendFromSdk();
    qCDebug(lcSmsWindow) << "sending possible at start:" << m_bCanSendSMS;
}

bool SMSUIMainDlg::readCanSendFromSdk()
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    return store && store->IsDevAvailable() && store->IsSimValidForSMS() && store->IsRFEnabled()
        && store->GetNetworkModeStatus();
}

void SMSUIMainDlg::setCanSendSMS(bool canSend)
{
    m_bCanSendSMS = canSend;
    onClickTableRow(0);
    sendNetworkSignalToNewMsg();
    if (m_pNotifyService)
        m_pNotifyService->Broadcast(canSend ? HostEvent::SmsCanSend : HostEvent::SmsCannotSend,
                                    0, 0);
}

void SMSUIMainDlg::sendNetworkSignalToNewMsg()
{
    emit netStatusChanged(m_bCanSendSMS);
}

void SMSUIMainDlg::onMenuNew() { onButtonClickedNewSMS(SMSUIMessageEditor::ModeNew); }
void SMSUIMainDlg::onMenuSend() { onButtonClickedNewSMS(SMSUIMessageEditor::ModeSend); }
void SMSUIMainDlg::onMenuReply() { onButtonClickedNewSMS(SMSUIMessageEditor::ModeReply); }
void SMSUIMainDlg::onMenuForward() { onButtonClickedNewSMS(SMSUIMessageEditor::ModeForward); }
void SMSUIMainDlg::onButtonClickedEditSMS()
{
    onButtonClickedNewSMS(SMSUIMessageEditor::ModeEditDraft);
}

void SMSUIMainDlg::onButtonClickedNewSMS(int mode)
{
    m_iPendingEditorCommand = mode;
    auto *editor = new SMSUIMessageEditor(this);
    m_pMessageEditor = editor;
    connect(editor, &SMSUIMessageEditor::destroyDialog, this,
            [this, editor] { onCloseNewMsgDialog(editor); });
    getRFModeStatusFromLogic();
    const int source = mode == SMSUIMessageEditor::ModeNew ? -1 : m_iSelectedRecordId;
    editor->open(mode, addressBook() != nullptr, source, m_iSelectedTreeNode);
}

SMSUIMessageEditor *SMSUIMainDlg::messageEditor() const
{
    return m_pMessageEditor.data();
}

void SMSUIMainDlg::onDoubleClickedEditSMS()
{
    if (!m_pCurrentTable)
        return;
    const QList<int> rows = m_pCurrentTable->selectedRowNumbers();
    if (rows.isEmpty())
        return;
    const SmsRecord *record = m_pCurrentTable->recordAt(rows.first());
    const bool draft = m_iSelectedTreeNode == EN_LOCAL_DRAFT
        || (m_iSelectedTreeNode == EN_LOCAL_ROOT && record && record->enPos == EN_LOCAL_DRAFT);
    if (!draft)
        return;
    // The row under the pointer is the message to edit, whatever was clicked before.
    if (record)
        m_iSelectedRecordId = record->iMsgId;
    onButtonClickedNewSMS(SMSUIMessageEditor::ModeEditDraft);
    if (m_pMessageEditor && m_pMessageEditor->saveButton())
        m_pMessageEditor->saveButton()->setEnabled(false);
}

void SMSUIMainDlg::onCloseNewMsgDialog(SMSUIMessageEditor *editor)
{
    if (!editor) {
        qCWarning(lcSmsWindow) << "pObj is NULL: no editor to close";
        return;
    }
    if (SMSMessageDlg *dialog = editor->dialog())
        dialog->deleteLater();
    editor->deleteLater();
}

void SMSUIMainDlg::setPendingEditorValues(const QString &number, const QString &content)
{
    m_strPendingNumber = number;
    m_strPendingContent = content;
}

void SMSUIMainDlg::setEditorBaselines(const QString &content, const QString &number)
{
    m_strEditorBaselineContent = content;
    m_strEditorBaselineNumber = number;
}

IAddrBookUIPlugin *SMSUIMainDlg::addressBook() const
{
    PluginContainer *container =
        m_pPluginContainer ? m_pPluginContainer : Startup::GetPluginContainer();
    if (!container)
        return nullptr;
    QObject *plugin =
        container->GetPlugin(QString::fromLatin1(PluginIds::AddrBook), InterfaceId::AddrBook);
    return plugin ? qobject_cast<IAddrBookUIPlugin *>(plugin) : nullptr;
}

bool SMSUIMainDlg::startSendFromEditor(const QString &recipients, const QString &content,
                                       int total, int sourceId, int sourcePosition)
{
    // The progress dialog, the send counters its verdict is made from, and the worker.
    if (!startSendOperation(recipients, content, total))
        return false;
    m_iSendSourceId = sourceId;
    m_iSendSourcePosition = sourcePosition;
    m_bPhonebook = false;
    return true;
}

void SMSUIMainDlg::onEditorSendResult(bool, int origin)
{
    const int id = m_iSendSourceId;
    const int position = m_iSendSourcePosition;
    m_iSendSourceId = -1;
    m_iSendSourcePosition = -1;
    if (id < 0 || !m_pStatusLogicObject)
        return;
    // The source (a draft, or an unsent outbox message sent again) goes only once the SDK
    // took the message: from then on its copy is stored whatever the network does. A send
    // refused before that (origin 1) stores nothing, so the source must stay.
    if (origin != 0) {
        qCWarning(lcSmsWindow) << "send refused; message" << id << "kept in folder" << position;
        return;
    }
    if (!m_pStatusLogicObject->GetSMSRecordsSet(_EN_SMS_POSITION(position)).contains(id)) {
        qCDebug(lcSmsWindow) << "message" << id << "left folder" << position << "meanwhile";
        return;
    }
    const bool permanent = position == EN_LOCAL_DRAFT;
    const int result = permanent ? m_pStatusLogicObject->ForceDeleteSMS(id, position, UTPS_SMS_MEM_PC)
                                 : m_pStatusLogicObject->DeleteSMS(id, position, UTPS_SMS_MEM_PC);
    if (result != 0) {
        qCWarning(lcSmsWindow) << "Exit delete or remove sms form sdk error." << id;
        return;
    }
    // The buffer follows the SDK (a no-op when the deletion signal already did it); the
    // tables that borrowed the record are rebuilt before anything can read them.
    m_pStatusLogicObject->RemoveSMSFromMap(position, id, permanent);
    syncSMSTableWithBuffers(_EN_SMS_POSITION(position));
    if (!permanent)
        syncSMSTableWithBuffers(EN_LOCAL_TRASH);
    syncSMSTableWithBuffers(EN_LOCAL_ROOT);
}

void SMSUIMainDlg::selectDraftFolder()
{
    if (!m_pTreeWidget || !m_pLocalDraft)
        return;
    m_pTreeWidget->clearSelection();
    m_pLocalDraft->setSelected(true);
    m_pTreeWidget->setCurrentItem(m_pLocalDraft);
    if (m_pCurrentTreeItem != m_pLocalDraft)
        onClickSMSTreeNode(m_pLocalDraft, 0);
}
