// SPDX-License-Identifier: GPL-3.0-or-later
// The message editor's actions: send, save a draft, close with the save-changes question,
// and picking recipients from the address book.
#include "SMSUIMessageEditor.h"

#include <QPushButton>
#include <QTextEdit>

#include "Change.h"
#include "CommonUtils.h"
#include "ExtendLineEdit.h"
#include "HostInterfaces.h"
#include "RecipientRules.h"
#include "SMSMessageDlg.h"
#include "ShownText.h"
#include "SmsLog.h"
#include "operations/SMSEditUILogic.h"
#include "store/SMSStatusUILogic.h"
#include "window/SMSUIMainDlg.h"

namespace {
const QString kContext = QStringLiteral("SMSUIPlugin");
QString text(const char *key) { return Change::tr(QString::fromLatin1(key), kContext); }
} // namespace

void SMSUIMessageEditor::onButtonClickedSendSMS()
{
    // A send again of a message in the PC outbox replaces it when sent copies have a
    // folder of their own: the new copy lands there.
    const bool replacesOutboxMessage = m_pMainDlg && m_pMainDlg->isHaveSendItemsBox()
        && m_iSourceIndex >= 0 && m_iMode == ModeSend;
    sendMessage(replacesOutboxMessage ? EN_LOCAL_OUTBOX : -1);
}

void SMSUIMessageEditor::onClickSendToButtonFromDraft()
{
    sendMessage(m_iSourceIndex >= 0 ? EN_LOCAL_DRAFT : -1);
}

void SMSUIMessageEditor::sendMessage(int sourcePosition)
{
    if (!m_pTextEdit || !m_pMainDlg || !m_pLineEditNumber || !m_pDialog) {
        qCWarning(lcSmsEditor) << "send without its widgets or window";
        return;
    }
    const QString content = m_pTextEdit->toPlainText();
    if (content.trimmed().isEmpty() && !confirmEmptySend())
        return;
    m_pDialog->hide();
    int recipients = 0;
    parsingSendMsgLineEditMsg(&recipients, nullptr);
    int parts = 0;
    SMSEditUILogic *logic = SMSEditUILogic::Instance();
    const bool split = logic && logic->SplitLongMessage(content, parts) == 0 && parts != 0;
    m_pMainDlg->setSendParts(split ? parts : 1);
    const int total = split ? recipients * parts : recipients;
    if (!m_pMainDlg->startSendFromEditor(m_pLineEditNumber->text(), content, total,
                                         sourcePosition >= 0 ? m_iSourceIndex : -1,
                                         sourcePosition)) {
        // Another batch is still running: the message stays here to be sent again.
        qCWarning(lcSmsEditor) << "send not started; the editor stays open";
        m_pDialog->show();
        return;
    }
    m_pMainDlg->ResetPhonebookFlag();
    emit destroyDialog();
}

bool SMSUIMessageEditor::confirmEmptySend()
{
    // A blank message is almost always a slip (Send pressed before typing); it would
    // reach every recipient and fill Sent Items with an empty row.
    return CommonUtils::ShowMessage(QMessageBox::Question, m_pDialog, text("IDS_STR_PROMPT"),
                                    text("IDS_STR_SENDEMPTY"), QStringLiteral("IDS_YES"),
                                    QStringLiteral("IDS_NO"), QString(), /* modal */ true,
                                    Qt::WindowCloseButtonHint)
        == CommonUtils::FirstButton;
}

bool SMSUIMessageEditor::SaveToDraft()
{
    if (!m_pTextEdit || !m_pLineEditNumber || !m_pMainDlg) {
        qCWarning(lcSmsEditor) << "Arg is NULL: SaveToDraft";
        return false;
    }
    m_strDraftContent = m_pTextEdit->toPlainText();
    m_strDraftNumber = m_pLineEditNumber->text();
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    SmsRecord *filed = nullptr;
    if (!store || store->SaveMsgToDraft(&m_strDraftNumber, &m_strDraftContent, &filed) != 0) {
        qCWarning(lcSmsEditor) << "the draft was not stored; the editor keeps its text";
        reportSaveFailure();
        return false;
    }
    m_pMainDlg->addRecToSMSTable(EN_LOCAL_ROOT, filed);
    refreshDraftViews();
    if (m_pDialog)
        m_pDialog->hide();
    m_pMainDlg->ResetPhonebookFlag();
    return true;
}

void SMSUIMessageEditor::refreshDraftViews()
{
    m_pMainDlg->syncSMSTableWithBuffers(EN_LOCAL_DRAFT);
    m_pMainDlg->syncSMSTableWithBuffers(EN_LOCAL_ROOT);
    m_pMainDlg->selectDraftFolder();
}

void SMSUIMessageEditor::reportSaveFailure()
{
    // The user pressed Save and must learn that nothing was stored; the text stays here.
    CommonUtils::ShowMessage(QMessageBox::Warning, m_pDialog, text("IDS_ERROR_CAPTION"),
                             text("IDS_STR_DRAFTSAVEFAILED"), QStringLiteral("IDS_OK"),
                             QString(), QString(), /* modal */ true,
                             Qt::WindowCloseButtonHint);
}

void SMSUIMessageEditor::onButtonClickedSaveToDraft()
{
    if (SaveToDraft())
        emit destroyDialog();
}

void SMSUIMessageEditor::onSaveToDraftFromDraft()
{
    if (saveOverDraft())
        emit destroyDialog();
}

bool SMSUIMessageEditor::saveOverDraft()
{
    if (!m_pTextEdit || !m_pLineEditNumber || !m_pMainDlg)
        return false;
    m_strDraftContent = m_pTextEdit->toPlainText();
    m_strDraftNumber = m_pLineEditNumber->text();
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    SmsRecord *stored = nullptr;
    // The source is rewritten in place only while it is a draft. Any other message opened
    // from the PC root (or a draft removed meanwhile) keeps its place and the text becomes
    // a new draft: saving must never take a received or sent message away.
    const bool isDraft = m_iSourceIndex >= 0 && store
        && store->GetSMSRecordUsingID(m_iSourceIndex, EN_LOCAL_DRAFT, &stored) == 0 && stored
        && stored->enPos == EN_LOCAL_DRAFT;
    bool saved = false;
    if (isDraft) {
        stored->strContent = m_strDraftContent;
        stored->strNumber = m_strDraftNumber;
        saved = store->UpdateSms(stored) == 0;
        if (!saved)
            reportSaveFailure();
    }
    delete stored;
    if (!isDraft)
        saved = SaveToDraft();
    if (!saved)
        return false;
    if (m_pDialog)
        m_pDialog->hide();
    refreshDraftViews();
    return true;
}

void SMSUIMessageEditor::onClickCloseEditorDialog()
{
    askAndClose(m_pDialog);
}

bool SMSUIMessageEditor::askAndClose(QWidget *questionParent)
{
    if (!m_pSaveButton || !m_pMainDlg) {
        qCWarning(lcSmsEditor) << "Arg is NULL: close without the Save button or window";
        return false;
    }
    if (m_pSaveButton->isEnabled()) {
        // Closing the question is no answer: the text must not go, so it means Cancel.
        const int answer = CommonUtils::ShowMessageCustomize(
            QMessageBox::Question, questionParent, text("IDS_STR_PROMPT"),
            text("IDS_STR_SAVECHANGES"), QStringLiteral("IDS_YES"), QStringLiteral("IDS_CANCEL"),
            QStringLiteral("IDS_NO"), /* modal */ true, Qt::WindowCloseButtonHint,
            /* box */ nullptr, QString(), /* centre */ false, CommonUtils::SecondButton);
        if (answer == QMessageBox::Cancel)
            return false;
        if (answer == QMessageBox::Ok) {
            const bool saved = m_iMode != ModeNew && openedInDrafts() ? saveOverDraft()
                                                                       : SaveToDraft();
            // Nothing stored: the editor stays open with the text.
            if (!saved)
                return false;
        }
    }
    if (m_pDialog)
        m_pDialog->hide();
    m_pMainDlg->ResetPhonebookFlag();
    emit destroyDialog();
    return true;
}

void SMSUIMessageEditor::onClickSendToButton()
{
    if (!m_pLineEditNumber) {
        qCWarning(lcSmsEditor) << "m_pLineEditNumber is NULL";
        return;
    }
    // Return typed in the recipient line reached the button: not a request to pick.
    const int lastKey = m_pLineEditNumber->LastKey();
    if ((lastKey == Qt::Key_Return || lastKey == Qt::Key_Enter) && m_pLineEditNumber->hasFocus()) {
        m_pLineEditNumber->ClearLastKey();
        return;
    }
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    if (!store) {
        qCWarning(lcSmsEditor) << "pSmsStatusLogicInst is NULL";
        return;
    }
    IAddrBookUIPlugin *book = m_pMainDlg ? m_pMainDlg->addressBook() : nullptr;
    if (!book) {
        qCWarning(lcSmsEditor) << "pAddrBookPlugin is NULL";
        return;
    }
    QStringList before;
    parsingSendMsgLineEditMsg(nullptr, &before);
    QStringList numbers = before;
    const int picked = book->PickNumbers(/* several contacts */ 1, /* mobile numbers */ 2, numbers);
    // The picker may belong to another window; the user goes on here.
    if (m_pDialog) {
        m_pDialog->raise();
        m_pDialog->activateWindow();
    }
    m_pLineEditNumber->setFocus(Qt::OtherFocusReason);
    if (picked == 0)
        return;
    store->GetRegExpForNumberLimitCustomization();
    const RecipientRules::Pick pick = RecipientRules::sortPicked(*store, numbers, before);
    // The sorted line passes the rules as a whole; it becomes the line a refused
    // keystroke falls back to.
    m_strLastValidNumber = pick.accepted.join(QLatin1Char(';'));
    m_pLineEditNumber->setText(m_strLastValidNumber);
    m_pLineEditNumber->setCursorPosition(int(m_strLastValidNumber.size()));
    if (!pick.refused.isEmpty())
        reportRefusedNumbers(pick.refused);
}

void SMSUIMessageEditor::reportRefusedNumbers(const QStringList &refused)
{
    QStringList shown;
    for (const QString &number : refused)
        shown << ShownText::field(number);
    qCWarning(lcSmsEditor) << "picked numbers not added:" << refused;
    CommonUtils::ShowMessage(QMessageBox::Warning, m_pDialog, text("IDS_STR_PROMPT"),
                             text("IDS_STR_PICKREFUSED").arg(shown.join(QLatin1Char('\n'))),
                             QStringLiteral("IDS_OK"), QString(), QString(), /* modal */ true,
                             Qt::WindowCloseButtonHint);
}
