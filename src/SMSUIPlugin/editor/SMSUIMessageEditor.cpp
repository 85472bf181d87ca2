// SPDX-License-Identifier: GPL-3.0-or-later
// The message editor: building the dialog, pre-filling it per mode, wiring its signals,
// the character counter and the rules that enable Send and Save.
#include "SMSUIMessageEditor.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpacerItem>
#include <QTableWidgetItem>
#include <QTextBoundaryFinder>
#include <QTextEdit>

#include "Change.h"
#include "CommonUtils.h"
#include "ElidedText.h"
#include "ExtendLineEdit.h"
#include "RecipientRules.h"
#include "SMSMessageDlg.h"
#include "SmsLog.h"
#include "operations/SMSEditUILogic.h"
#include "store/SMSStatusUILogic.h"
#include "window/SMSUIMainDlg.h"
#include "window/SMSUITableWidget.h"

namespace {
const QString kContext = QStringLiteral("SMSUIPlugin");
QString text(const char *key) { return Change::tr(QString::fromLatin1(key), kContext); }
// The Send-to caption leaves room for the button's own frame.
constexpr int kSendToMargin = 15;

// The longest start of text of at most length units that ends between two characters as
// the user sees them: an emoji, a flag or a letter with its accents is kept whole or cut
// whole, never split into half a surrogate pair.
QString cutAtCharacter(const QString &text, int length)
{
    if (text.size() <= length)
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(length);
    if (!finder.isAtBoundary())
        finder.toPreviousBoundary();
    return text.left(qMax(qsizetype(0), finder.position()));
}
} // namespace

SMSUIMessageEditor::SMSUIMessageEditor(SMSUIMainDlg *mainDlg)
    : QObject(mainDlg)
    , m_pMainDlg(mainDlg)
{
}

SMSUIMessageEditor::~SMSUIMessageEditor()
{
    // The dialog may already have gone with the window that parents it.
    delete m_pDialog.data();
}

QString SMSUIMessageEditor::titleKey(int mode)
{
    switch (mode) {
    case ModeSend: return QStringLiteral("IDS_TTL_SEND");
    case ModeReply: return QStringLiteral("IDS_TTL_REPLY");
    case ModeForward: return QStringLiteral("IDS_TTL_FORWARD");
    case ModeEditDraft: return QStringLiteral("IDS_TTL_EDIT");
    default: return QStringLiteral("IDS_TTL_NEW");
    }
}

void SMSUIMessageEditor::open(int mode, bool addressBookAvailable, int sourceIndex, int folder)
{
    if (!m_pMainDlg)
        return;
    // In the mini frame the caller's own widget parents the editor, so the editor shows
    // over it; the SMS window itself stays in the host's frame.
    QWidget *parent = m_pMainDlg;
    if (CommonUtils::IsMiniMode() && m_pMainDlg->editorParentOverride())
        parent = m_pMainDlg->editorParentOverride();
    m_pDialog = new SMSMessageDlg(
        parent, Qt::Dialog | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint,
        ExtendDialog::FramedTitle);
    m_pDialog->setEditor(this);
    m_pCountSpacer = new QSpacerItem(140, 2);
    createWidgetForNewSMS(mode);

    m_pSendToButton->setEnabled(addressBookAvailable);
    m_pSendButton->setEnabled(false);
    m_pSaveButton->setEnabled(false);
    m_iSourceIndex = mode == ModeNew ? -1 : sourceIndex;
    m_iOpenedFolder = folder;
    fillContent(mode);

    m_pDialog->changeSize(QSize(380, 240));
    if (!m_pDialog->IsCusTitle())
        m_pDialog->setFixedSize(m_pDialog->size());
    m_pNumberLayout->addWidget(m_pSendToButton);
    m_pNumberLayout->addWidget(m_pLineEditNumber);
    m_pCountLayout->addSpacing(10);
    m_pCountLayout->addSpacerItem(m_pCountSpacer);
    m_pCountLayout->addWidget(m_pCountLabel);
    m_pButtonLayout->addSpacerItem(m_pButtonSpacer);
    for (QPushButton *button : {m_pSendButton, m_pSaveButton, m_pCloseButton})
        m_pButtonLayout->addWidget(button, 0, Qt::AlignRight);
    m_pMainLayout->addLayout(m_pNumberLayout);
    m_pMainLayout->addLayout(m_pCountLayout);
    m_pMainLayout->addWidget(m_pTextEdit);
    m_pMainLayout->addLayout(m_pButtonLayout);
    nameControls();

    CommonUtils::MoveCentre(m_pDialog);
    m_pDialog->show();
    setFocusInMsgWindow(mode);
    m_pTextEdit->setTabChangesFocus(true);
    m_pTextEdit->setAcceptRichText(false);
}

void SMSUIMessageEditor::createWidgetForNewSMS(int mode)
{
    m_pDialog->setObjectName(QStringLiteral("SMSUIPlugin_WidgetcreateMsg"));
    m_pContentWidget = new QWidget;
    m_pMainLayout = new QVBoxLayout(m_pContentWidget);
    m_pMainLayout->setObjectName(QStringLiteral("SMSUIPlugin_VBoxmainDialogLatout"));
    m_pNumberLayout = new QHBoxLayout;
    m_pNumberLayout->setObjectName(QStringLiteral("SMSUIPlugin_HBoxenterNumber"));

    m_pSendToButton = new QPushButton(m_pContentWidget);
    m_pSendToButton->setObjectName(QStringLiteral("SMSUIPlugin_ButtonSend"));
    SmsWidgetText::setElidedTextForWidgetText(m_pSendToButton, text("IDS_BTN_EDITOR_SENDTO"),
                                              m_pSendToButton->width() - kSendToMargin,
                                              Qt::ElideRight);

    m_pLineEditNumber = new ExtendLineEdit(m_pContentWidget);
    m_pLineEditNumber->setObjectName(QStringLiteral("SMSUIPlugin_LineEditNumber"));
    m_pLineEditNumber->setContextMenuPolicy(Qt::NoContextMenu);
    if (SMSStatusUILogic *store = SMSStatusUILogic::Instance())
        store->GetRegExpForNumberLimitCustomization();

    m_pTextEdit = new QTextEdit(m_pContentWidget);
    m_pTextEdit->setObjectName(QStringLiteral("SMSUIPlugin_TextEditMsgArea"));
    m_pTextEdit->setAcceptDrops(false);
    m_pTextEdit->setContextMenuPolicy(Qt::NoContextMenu);
    m_pTextEdit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    m_pButtonLayout = new QHBoxLayout;
    m_pButtonLayout->setObjectName(QStringLiteral("SMSUIPlugin_HBoxButtonsLayoutCreateMsg"));
    m_pSendButton = new QPushButton(m_pContentWidget);
    m_pSendButton->setObjectName(QStringLiteral("SMSUIPlugin_ButtonSendMsg"));
    m_pButtonSpacer = new QSpacerItem(120, 2);
    m_pCloseButton = new QPushButton(m_pContentWidget);
    m_pCloseButton->setObjectName(QStringLiteral("SMSUIPlugin_ButtonCloseMsgButton"));
    m_pSaveButton = new QPushButton(m_pContentWidget);
    m_pSaveButton->setObjectName(QStringLiteral("SMSUIPlugin_ButtonSaveMsgButton"));
    // The send key the main window's Send tooltip names works here too, wherever the
    // focus is in the editor; it presses Send only while Send is enabled.
    m_pSendShortcut = new QShortcut(m_pDialog);
    connect(m_pSendShortcut, &QShortcut::activated, this, &SMSUIMessageEditor::sendByKey);
    m_pKeypadSendShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Enter), m_pDialog);
    connect(m_pKeypadSendShortcut, &QShortcut::activated, this, &SMSUIMessageEditor::sendByKey);
    applyButtonTexts();
    // Return in the recipient line must not press a button behind the user's back.
    for (QPushButton *button : {m_pSendToButton, m_pSendButton, m_pCloseButton, m_pSaveButton})
        button->setAutoDefault(false);

    m_pCountLayout = new QHBoxLayout;
    m_pCountLayout->setObjectName(QStringLiteral("SMSUIPlugin_HBoxReadChar"));
    m_pCountLabel = new QLabel(QStringLiteral("0/2048(1)"), m_pContentWidget);
    m_pCountLabel->setObjectName(QStringLiteral("SMSUIPlugin_LabelCharCountMsg"));
    m_pDialog->AddMainWidget(m_pContentWidget);
    m_iMode = mode;
}

void SMSUIMessageEditor::applyButtonTexts()
{
    // Captions of their own, with mnemonics: the plain "Send" is also a window title.
    // The send key is the one the main window's Send command shows in its tooltip.
    m_pCloseButton->setText(text("IDS_BTN_EDITOR_CLOSE"));
    m_pSaveButton->setText(text("IDS_BTN_EDITOR_SAVE"));
    m_pSendButton->setText(text("IDS_BTN_EDITOR_SEND"));
    QString tip;
    QKeySequence sendKey;
    Change::tr(QStringLiteral("IDS_TIP_SEND"), kContext, tip, sendKey);
    if (sendKey.isEmpty())
        sendKey = QKeySequence(Qt::CTRL | Qt::Key_Return);
    m_pSendShortcut->setKey(sendKey);
    m_pSendButton->setToolTip(tip + QStringLiteral("  (")
                              + sendKey.toString(QKeySequence::NativeText) + QLatin1Char(')'));
}

void SMSUIMessageEditor::sendByKey()
{
    if (m_pSendButton && m_pSendButton->isEnabled() && m_pSendButton->isVisible())
        m_pSendButton->click();
}

void SMSUIMessageEditor::setFocusInMsgWindow(int mode)
{
    if (!m_pTextEdit || !m_pLineEditNumber)
        return;
    if (mode == ModeSend || mode == ModeEditDraft) {
        m_pTextEdit->setFocus();
        m_pTextEdit->moveCursor(QTextCursor::End);
    } else if (mode == ModeReply) {
        m_pTextEdit->setFocus();
    } else {
        m_pLineEditNumber->setFocus();
    }
}

void SMSUIMessageEditor::fillContent(int mode)
{
    if (!m_pMainDlg || !m_pDialog)
        return;
    m_pMainDlg->setEditorBaselines(QString(), QString());
    m_pDialog->setWindowTitle(Change::tr(titleKey(mode), kContext));
    QString number;
    QString content;
    switch (mode) {
    case ModeSend:
        filltheContentToDialog(mode);
        onWriteMessage();
        enableSaveFromDraft();
        break;
    case ModeReply:
        filltheContentToDialog(mode);
        getNumberNContentForSelectedRow(&number, nullptr);
        m_pMainDlg->setEditorBaselines(m_pMainDlg->editorBaselineContent(), number);
        m_pSendButton->setEnabled(m_pMainDlg->canSendSMS());
        break;
    case ModeForward:
        filltheContentToDialog(mode);
        onWriteMessage();
        applySendRule();
        break;
    case ModeEditDraft:
        getNumberNContentForSelectedRow(&number, &content);
        m_pMainDlg->setEditorBaselines(content, number);
        filltheContentToDialog(mode);
        onWriteMessage();
        enableSaveFromDraft();
        break;
    default:
        break;
    }
    wireSignals(mode);
}

void SMSUIMessageEditor::wireSignals(int mode)
{
    const bool editing = mode == ModeSend || mode == ModeForward || mode == ModeEditDraft;
    connect(m_pLineEditNumber, &QLineEdit::textChanged, this,
            &SMSUIMessageEditor::onEnterNumberToSend);
    connect(m_pLineEditNumber, &QLineEdit::cursorPositionChanged, this,
            editing ? &SMSUIMessageEditor::onDeleteNumberForEditInDraft
                    : &SMSUIMessageEditor::onDeleteNumber);
    connect(m_pTextEdit, &QTextEdit::cursorPositionChanged, this,
            editing ? &SMSUIMessageEditor::onDeleteTextAreaForEdit
                    : &SMSUIMessageEditor::onDeleteTextArea);
    // Send again and edit draft had their buttons wired by enableSaveFromDraft.
    if (mode != ModeSend && mode != ModeEditDraft) {
        connect(m_pSendButton, &QPushButton::clicked, this,
                &SMSUIMessageEditor::onButtonClickedSendSMS);
        connect(m_pSaveButton, &QPushButton::clicked, this,
                &SMSUIMessageEditor::onButtonClickedSaveToDraft);
    }
    connect(m_pTextEdit, &QTextEdit::textChanged, this, &SMSUIMessageEditor::onWriteMessage);
    connect(m_pSendToButton, &QPushButton::clicked, this,
            &SMSUIMessageEditor::onClickSendToButton);
    connect(m_pCloseButton, &QPushButton::clicked, this,
            &SMSUIMessageEditor::onClickCloseEditorDialog);
    connect(m_pMainDlg, &SMSUIMainDlg::changeLanguageForTitle, this,
            &SMSUIMessageEditor::setTitle);
    connect(m_pMainDlg, &SMSUIMainDlg::netStatusChanged, this,
            &SMSUIMessageEditor::onNetworkStatusChanged);
}

void SMSUIMessageEditor::filltheContentToDialog(int mode)
{
    if (!m_pLineEditNumber || !m_pSaveButton || !m_pTextEdit || !m_pSendButton || !m_pMainDlg)
        return;
    QString number;
    QString content;
    getNumberNContentForSelectedRow(&number, &content);
    switch (mode) {
    case ModeSend:
        m_strBaselineNumber.clear();
        m_strBaselineContent.clear();
        if (m_pMainDlg->isPhonebookFlagSet()) {
            m_pLineEditNumber->setText(m_pMainDlg->pendingEditorNumber());
            m_pTextEdit->setPlainText(m_pMainDlg->pendingEditorContent());
        } else {
            m_strBaselineNumber = number;
            m_strBaselineContent = content;
            m_pLineEditNumber->setText(number);
            m_pTextEdit->setPlainText(content);
        }
        m_pSendButton->setEnabled(false);
        m_pMainDlg->setEditorBaselines(m_pTextEdit->toPlainText(), m_pLineEditNumber->text());
        onWriteMessage();
        break;
    case ModeEditDraft:
        m_strBaselineNumber = number;
        m_strBaselineContent = content;
        m_pLineEditNumber->setText(number);
        m_pTextEdit->setPlainText(content);
        m_pMainDlg->setEditorBaselines(content, number);
        m_pSendButton->setEnabled(false);
        break;
    case ModeReply:
        m_strBaselineNumber = number;
        m_strBaselineContent = content;
        m_pLineEditNumber->setText(number);
        break;
    case ModeForward:
        m_strBaselineNumber = number;
        m_strBaselineContent = content;
        m_pTextEdit->setPlainText(content);
        if (m_pMainDlg->isPhonebookFlagSet())
            m_pLineEditNumber->setText(m_pMainDlg->pendingEditorNumber());
        m_pSendButton->setEnabled(false);
        m_pMainDlg->setEditorBaselines(content, m_pMainDlg->editorBaselineNumber());
        onWriteMessage();
        break;
    default:
        break;
    }
    // Whatever was filled in counts as accepted: a refused key falls back to it, never
    // to an empty line.
    m_strLastValidNumber = m_pLineEditNumber->text();
    m_pMainDlg->ResetPhonebookFlag();
}

void SMSUIMessageEditor::getNumberNContentForSelectedRow(QString *number, QString *content) const
{
    const SMSUITableWidget *table = m_pMainDlg ? m_pMainDlg->currentTable() : nullptr;
    if (!table)
        return;
    const QList<int> rows = table->selectedRowNumbers();
    if (rows.isEmpty())
        return;
    const SmsRecord *record = table->recordAt(rows.first());
    if (!record)
        return;
    if (number)
        *number = record->strNumber;
    if (content)
        *content = record->strContent;
}

bool SMSUIMessageEditor::openedInDrafts() const
{
    return m_iOpenedFolder == EN_LOCAL_DRAFT || m_iOpenedFolder == EN_LOCAL_ROOT;
}

void SMSUIMessageEditor::enableSaveFromDraft()
{
    if (!m_pLineEditNumber || !m_pSendButton || !m_pSaveButton || !m_pMainDlg)
        return;
    if (!m_pLineEditNumber->text().isEmpty())
        applySendRule();
    disconnect(m_pSendButton, &QPushButton::clicked, this, nullptr);
    disconnect(m_pSaveButton, &QPushButton::clicked, this, nullptr);
    if (!openedInDrafts()) {
        connect(m_pSendButton, &QPushButton::clicked, this,
                &SMSUIMessageEditor::onButtonClickedSendSMS);
        connect(m_pSaveButton, &QPushButton::clicked, this,
                &SMSUIMessageEditor::onButtonClickedSaveToDraft);
        return;
    }
    connect(m_pSendButton, &QPushButton::clicked, this,
            &SMSUIMessageEditor::onClickSendToButtonFromDraft);
    const SMSUITableWidget *table = m_pMainDlg->currentTable();
    if (!m_pMainDlg->isPhonebookFlagSet() && table && table->rowCount() > 0)
        connect(m_pSaveButton, &QPushButton::clicked, this,
                &SMSUIMessageEditor::onSaveToDraftFromDraft);
    else
        connect(m_pSaveButton, &QPushButton::clicked, this,
                &SMSUIMessageEditor::onButtonClickedSaveToDraft);
}

bool SMSUIMessageEditor::checkSendButtonStatus() const
{
    return m_pMainDlg && m_pMainDlg->canSendSMS();
}

void SMSUIMessageEditor::applySendRule()
{
    if (m_pSendButton && m_pLineEditNumber)
        m_pSendButton->setEnabled(!m_pLineEditNumber->text().isEmpty() && checkSendButtonStatus());
}

void SMSUIMessageEditor::onNetworkStatusChanged(bool canSend)
{
    if (m_pSendButton && m_pLineEditNumber)
        m_pSendButton->setEnabled(canSend && !m_pLineEditNumber->text().isEmpty());
}

void SMSUIMessageEditor::enableDisableSaveButton()
{
    if (!m_pLineEditNumber || !m_pTextEdit || !m_pSaveButton)
        return;
    const QString number = m_pLineEditNumber->text();
    const QString content = m_pTextEdit->toPlainText();
    const bool bothEmpty = number.isEmpty() && content.isEmpty();
    bool enable = false;
    switch (m_iMode) {
    case ModeNew:
        enable = !bothEmpty;
        break;
    case ModeSend:
    case ModeEditDraft:
        enable = (content != m_strBaselineContent || number != m_strBaselineNumber) && !bothEmpty;
        break;
    case ModeReply:
        enable = !bothEmpty && (number != m_strBaselineNumber || !content.isEmpty());
        break;
    case ModeForward:
        enable = !number.isEmpty() || (!content.isEmpty() && content != m_strBaselineContent);
        break;
    default:
        break;
    }
    m_pSaveButton->setEnabled(enable);
}

void SMSUIMessageEditor::onWriteMessage()
{
    if (!m_pCountLabel || !m_pSaveButton || !m_pTextEdit || !m_pLineEditNumber)
        return;
    const QString typed = m_pTextEdit->toPlainText();
    const int cursor = m_pTextEdit->textCursor().position();
    if (typed.size() > kMaxLength) {
        const QSignalBlocker blocker(m_pTextEdit);
        QTextCursor restored(m_pTextEdit->document());
        if (cursor <= kMaxLength) {
            // A paste or a key in the middle went past the limit: take it back whole.
            m_pTextEdit->setPlainText(m_strCurrentText);
            restored.setPosition(qMin(cursor, int(m_strCurrentText.size())));
        } else {
            m_strCurrentText = cutAtCharacter(typed, kMaxLength);
            m_pTextEdit->setPlainText(m_strCurrentText);
            restored.movePosition(QTextCursor::End);
        }
        m_pTextEdit->setTextCursor(restored);
    } else {
        m_strCurrentText = typed;
    }
    int parts = 1;
    SMSEditUILogic *logic = SMSEditUILogic::Instance();
    if (!logic || logic->SplitLongMessage(m_strCurrentText, parts) != 0 || parts == 0)
        parts = 1;
    m_pCountLabel->setText(QStringLiteral("%1/%2(%3)")
                               .arg(m_strCurrentText.size())
                               .arg(kMaxLength)
                               .arg(parts));
    enableDisableSaveButton();
}

void SMSUIMessageEditor::onEnterNumberToSend()
{
    if (!m_pLineEditNumber || !m_pSendButton)
        return;
    QString line = m_pLineEditNumber->text();
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    if (store && !RecipientRules::acceptsEdit(*store, m_strLastValidNumber, line)) {
        // Undo the keystroke: back to the last line that passed, cursor where it was.
        const int position = m_pLineEditNumber->cursorPosition();
        const QSignalBlocker blocker(m_pLineEditNumber);
        m_pLineEditNumber->setText(m_strLastValidNumber);
        m_pLineEditNumber->setCursorPosition(qMax(0, position - 1));
    } else {
        m_strLastValidNumber = line;
    }
    applySendRule();
    enableDisableSaveButton();
}

void SMSUIMessageEditor::onDeleteNumber()
{
    if (!m_pLineEditNumber || !m_pSendButton)
        return;
    if (m_pLineEditNumber->text().isEmpty())
        m_pSendButton->setEnabled(false);
    enableDisableSaveButton();
}

void SMSUIMessageEditor::onDeleteTextArea()
{
    onDeleteNumber();
}

void SMSUIMessageEditor::onDeleteNumberForEditInDraft()
{
    if (!m_pLineEditNumber || !m_pSendButton)
        return;
    enableDisableSaveButton();
    if (m_pLineEditNumber->text().isEmpty())
        m_pSendButton->setEnabled(false);
    else
        applySendRule();
}

void SMSUIMessageEditor::onDeleteTextAreaForEdit()
{
    if (m_pMainDlg && !m_pMainDlg->editorBaselineContent().isEmpty())
        enableDisableSaveButton();
}

void SMSUIMessageEditor::MoveLineEditCursor(QKeyEvent *event)
{
    if (!event)
        return;
    m_iLastKey = event->key();
    if (!m_pLineEditNumber)
        return;
    if (event->key() == Qt::Key_Up) {
        m_pLineEditNumber->cursorBackward(false);
        event->accept();
    } else if (event->key() == Qt::Key_Down) {
        m_pLineEditNumber->cursorForward(false);
        event->accept();
    }
}

void SMSUIMessageEditor::parseRecipients(const QString &line, int *count, QStringList *list)
{
    const QChar separator = QLatin1Char(';');
    if (count) {
        *count = int(line.count(separator));
        if (!line.endsWith(separator))
            *count += 1;
    }
    if (list)
        *list = line.split(separator, Qt::SkipEmptyParts);
}

void SMSUIMessageEditor::parsingSendMsgLineEditMsg(int *count, QStringList *list) const
{
    parseRecipients(m_pLineEditNumber ? m_pLineEditNumber->text() : QString(), count, list);
}

void SMSUIMessageEditor::setTitle(int)
{
    if (!m_pDialog || !m_pCloseButton || !m_pSaveButton || !m_pSendToButton || !m_pSendButton)
        return;
    m_pDialog->setWindowTitle(Change::tr(titleKey(m_iMode), kContext));
    SmsWidgetText::setElidedTextForWidgetText(m_pSendToButton, text("IDS_BTN_EDITOR_SENDTO"),
                                              m_pSendToButton->width(), Qt::ElideRight);
    applyButtonTexts();
    nameControls();
}

void SMSUIMessageEditor::nameControls()
{
    if (!m_pLineEditNumber || !m_pTextEdit || !m_pCountLabel || !m_pSendToButton
        || !m_pSendButton || !m_pSaveButton || !m_pCloseButton)
        return;
    // The two entry fields have no visible label of their own: a screen reader needs
    // their names, and the counter describes the text it counts.
    m_pLineEditNumber->setAccessibleName(text("IDS_ACC_RECIPIENTS"));
    m_pLineEditNumber->setAccessibleDescription(text("IDS_ACC_RECIPIENTS_DESC"));
    m_pTextEdit->setAccessibleName(text("IDS_ACC_MESSAGE_TEXT"));
    m_pCountLabel->setBuddy(m_pTextEdit);
    m_pCountLabel->setAccessibleName(text("IDS_ACC_COUNT"));
    // Its shown text may be cut short to fit; the name is the whole text, without a
    // mnemonic's marker.
    m_pSendToButton->setAccessibleName(text("IDS_BTN_EDITOR_SENDTO").remove(QLatin1Char('&')));
    m_pSendToButton->setAccessibleDescription(text("IDS_ACC_SENDTO_DESC"));
    // Tab follows the layout: recipients, text, then the buttons from left to right.
    QWidget::setTabOrder(m_pSendToButton, m_pLineEditNumber);
    QWidget::setTabOrder(m_pLineEditNumber, m_pTextEdit);
    QWidget::setTabOrder(m_pTextEdit, m_pSendButton);
    QWidget::setTabOrder(m_pSendButton, m_pSaveButton);
    QWidget::setTabOrder(m_pSaveButton, m_pCloseButton);
}

void SMSUIMessageEditor::emitDestroySignal()
{
    emit destroyDialog();
}
