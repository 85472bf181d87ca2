// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The compose window: one recipient line, one text area, a character counter and the
// buttons Send to (address book), Send, Save and Close, inside an SMSMessageDlg.
//
// One editor serves five modes, the main window's command ids: 9000 new message, 9002
// send (again, or for another plug-in through the SMS UI service), 9003 reply, 9004
// forward, 8 edit a draft. The mode decides what is pre-filled, which slots Send and Save
// run and when Save is enabled. Sending goes through the window's worker thread behind
// its progress dialog; saving writes a draft through the message store.
//
// Ownership: the main window creates the editor as its child and deletes it (and the
// dialog, which the editor owns) when the editor emits destroyDialog().
//
// Definitions: SMSUIMessageEditor.cpp (building, pre-filling, wiring, the counter and the
// button rules), SMSUIMessageEditorActions.cpp (send, save, close, address book).
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class ExtendLineEdit;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QPushButton;
class QShortcut;
class QSpacerItem;
class QTextEdit;
class QVBoxLayout;
class QWidget;
class SMSMessageDlg;
class SMSUIMainDlg;

class SMSUIMessageEditor : public QObject
{
    Q_OBJECT
public:
    enum Mode { ModeEditDraft = 8, ModeNew = 9000, ModeSend = 9002, ModeReply = 9003,
                ModeForward = 9004 };
    static constexpr int kMaxLength = 2048;

    // mainDlg is not owned; it is also the QObject parent.
    explicit SMSUIMessageEditor(SMSUIMainDlg *mainDlg);
    ~SMSUIMessageEditor() override;

    // The opening sequence: builds the dialog for mode, pre-fills and wires it, shows it
    // centred and puts the focus where the mode needs it. sourceIndex is the id of the
    // message the editor works on (-1 for none), folder the window's current folder.
    void open(int mode, bool addressBookAvailable, int sourceIndex, int folder);

    void createWidgetForNewSMS(int mode);
    void fillContent(int mode);
    void filltheContentToDialog(int mode);
    void setFocusInMsgWindow(int mode);
    void enableSaveFromDraft();
    void enableDisableSaveButton();
    // The Send rule: a recipient and a window that can send.
    bool checkSendButtonStatus() const;
    // count := recipients (";"-separated, a trailing ";" adds none); list := the
    // non-empty parts. Either may be null.
    void parsingSendMsgLineEditMsg(int *count, QStringList *list) const;
    static void parseRecipients(const QString &line, int *count, QStringList *list);
    // Number and content of the first selected row of the window's current table.
    void getNumberNContentForSelectedRow(QString *number, QString *content) const;
    // Saves the widgets' recipients and text as a new draft. false when the store refused;
    // the editor then stays as it was.
    bool SaveToDraft();
    // Records the key; Up and Down move the recipient cursor one character.
    void MoveLineEditCursor(QKeyEvent *event);
    void emitDestroySignal();
    // The save-changes question of every way of closing. true when the editor closed.
    bool askAndClose(QWidget *questionParent);

    int mode() const { return m_iMode; }
    int sourceIndex() const { return m_iSourceIndex; }
    int openedFolder() const { return m_iOpenedFolder; }
    SMSMessageDlg *dialog() const { return m_pDialog; }
    QPushButton *saveButton() const { return m_pSaveButton; }
    QPushButton *sendButton() const { return m_pSendButton; }
    ExtendLineEdit *recipientLine() const { return m_pLineEditNumber; }
    QTextEdit *textArea() const { return m_pTextEdit; }
    QLabel *counterLabel() const { return m_pCountLabel; }

signals:
    void destroyDialog();

public slots:
    void onClickSendToButton();
    void onClickCloseEditorDialog();
    void onEnterNumberToSend();
    void onDeleteNumber();
    void onButtonClickedSaveToDraft();
    void onDeleteTextArea();
    void onWriteMessage();
    void onButtonClickedSendSMS();
    void onDeleteTextAreaForEdit();
    void onDeleteNumberForEditInDraft();
    void onSaveToDraftFromDraft();
    void onClickSendToButtonFromDraft();
    void setTitle(int);
    void onNetworkStatusChanged(bool canSend);

private:
    // Accessible names and descriptions, buddies and the Tab order (again after a
    // language change).
    void nameControls();
    static QString titleKey(int mode);
    void applyButtonTexts();
    void sendByKey();
    // Asks before a message without text goes out; true when it may.
    bool confirmEmptySend();
    // Shows which picked numbers could not be added to the line.
    void reportRefusedNumbers(const QStringList &refused);
    void applySendRule();
    void wireSignals(int mode);
    // The send itself; sourcePosition names the folder whose message this send replaces
    // (-1: none), dropped by the window once the SDK has accepted the send.
    void sendMessage(int sourcePosition);
    bool openedInDrafts() const;
    void refreshDraftViews();
    // Rewrites the source draft (or saves a new one); false when nothing was stored.
    bool saveOverDraft();
    void reportSaveFailure();

    SMSUIMainDlg *m_pMainDlg = nullptr;
    QPointer<SMSMessageDlg> m_pDialog;  // owned
    QString m_strCurrentText;           // last accepted content of the text area
    QWidget *m_pContentWidget = nullptr;
    QVBoxLayout *m_pMainLayout = nullptr;
    QHBoxLayout *m_pNumberLayout = nullptr;
    QPushButton *m_pSendToButton = nullptr;
    ExtendLineEdit *m_pLineEditNumber = nullptr;
    QTextEdit *m_pTextEdit = nullptr;
    QHBoxLayout *m_pButtonLayout = nullptr;
    QPushButton *m_pSendButton = nullptr;
    QSpacerItem *m_pButtonSpacer = nullptr;
    QPushButton *m_pSaveButton = nullptr;
    QPushButton *m_pCloseButton = nullptr;
    QShortcut *m_pSendShortcut = nullptr;        // owned by the dialog
    QShortcut *m_pKeypadSendShortcut = nullptr;  // owned by the dialog
    QHBoxLayout *m_pCountLayout = nullptr;
    QLabel *m_pCountLabel = nullptr;
    QSpacerItem *m_pCountSpacer = nullptr;
    QString m_strBaselineNumber;
    QString m_strBaselineContent;
    QString m_strDraftContent;
    QString m_strDraftNumber;
    int m_iMode = ModeNew;
    int m_iSourceIndex = -1;
    int m_iLastKey = 0;
    int m_iOpenedFolder = -1;
    QString m_strLastValidNumber;
};
