// SPDX-License-Identifier: GPL-3.0-or-later
// The message editor with the real window, real widgets and the simulator: composing,
// replying, forwarding, editing drafts, the counter, the recipient rules, closing, and
// sending with the network and the SDK refusing.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include "Change.h"
#include "ExtendLineEdit.h"
#include "HostInterfaces.h"
#include "PluginIds.h"
#include "Startup.h"
#include "editor/SMSMessageDlg.h"
#include "editor/SMSUIMessageEditor.h"
#include "operations/SMSThreadUI.h"
#include "store/SMSStatusUILogic.h"
#include "window/SMSUITableWidget.h"
#include "window/SMSWaitingDlg.h"
#include "QueuedSpy.h"
#include "WindowFixture.h"

namespace {
const QString kInboxNumber = QStringLiteral("+15550177");
const QString kInboxText = QStringLiteral("Lunch at noon?");

QString key(const char *k)
{
    return Change::tr(QString::fromLatin1(k), QStringLiteral("SMSUIPlugin"));
}

void clickRow(SMSUITableWidget *table, int row)
{
    const QRect rect = table->visualItemRect(table->item(row, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
}

// Opens folder position and clicks its first row.
void selectFirstRow(SMSUIMainDlg *w, _EN_SMS_POSITION position)
{
    w->onClickSMSTreeNode(w->treeItem(position), 0);
    QVERIFY(w->currentTable());
    QVERIFY(w->currentTable()->rowCount() > 0);
    clickRow(w->currentTable(), 0);
}

int segmentsBySdk(const QString &text)
{
    int count = -1;
    UTPS_SMSSrv_GetMsgSplitCount(reinterpret_cast<const UTPS_WCHAR *>(text.utf16()), &count);
    return count;
}

QList<SmsRecord> recordsIn(_EN_SMS_POSITION position)
{
    QList<SmsRecord> out;
    const QHash<int, SmsRecord *> set = SMSStatusUILogic::Instance()->GetSMSRecordsSet(position);
    for (const SmsRecord *r : set)
        out.append(*r);
    return out;
}

bool holdsText(_EN_SMS_POSITION position, const QString &content)
{
    const QList<SmsRecord> records = recordsIn(position);
    return std::any_of(records.cbegin(), records.cend(),
                       [&](const SmsRecord &r) { return r.strContent == content; });
}

// An address book whose picker is a real dialog over the window it was given (as a
// plug-in that knows nothing of the editor would do); it answers with picked.
class ScriptedAddressBook : public QObject, public IAddrBookUIPlugin
{
    Q_OBJECT
    Q_INTERFACES(IAddrBookUIPlugin)
public:
    int SaveNumber(const QString &, QWidget *) override { return 0; }
    QString GetNameByNumber(const QString &) override { return QString(); }
    int PickNumbers(int, int, QStringList &numbers) override
    {
        offered = numbers;
        QDialog picker(dialogParent);
        QTimer::singleShot(0, &picker, &QDialog::accept);
        picker.exec();
        numbers = picked;
        return 1;
    }
    QWidget *dialogParent = nullptr;
    QStringList offered;
    QStringList picked;
};

// The answer a responder gives for a box the user closed instead of answering.
constexpr int kClosed = -1;
} // namespace

class tst_Editor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void canSendAtStartAndOnStateChanges_data();
    void canSendAtStartAndOnStateChanges();
    void newMessageToTwoNumbersIsSent();
    void counterMatchesSdkSegments_data();
    void counterMatchesSdkSegments();
    void textLimitKeepsLastAcceptedContent();
    void replyAndForwardPrefill();
    void editDraftAndSaveReplacesIt();
    void closeQuestion_data();
    void closeQuestion();
    void refusedRecipientCharacterIsUndone();
    void recipientParsing_data();
    void recipientParsing();
    void sendFailuresLoseNothing_data();
    void sendFailuresLoseNothing();
    void failedDraftSaveKeepsTheText();
    void sendAgainReplacesTheUnsentCopy();
    void retitledOnLanguageChange();
    void saveFollowsChangesOfAStoredMessage_data();
    void saveFollowsChangesOfAStoredMessage();
    void savingAnEditedDraftKeepsOneDraft_data();
    void savingAnEditedDraftKeepsOneDraft();
    void addressBookPickIsNormalisedAndRefusalsNamed();
    void prefilledRecipientCanBeEdited();
    void emptyTextAsksBeforeSending_data();
    void emptyTextAsksBeforeSending();
    void keyboardSendsAndReachesEveryButton();

private:
    SMSUIMainDlg *window(bool withInboxMessage = false);
    SMSUIMainDlg *createWindow();
    SMSUIMessageEditor *open(SMSUIMainDlg *w, int mode);

    WindowFixture m_fixture;
    QList<MessageRequest> m_prompts;
    int m_answer = CommonUtils::FirstButton;
    bool m_bRegistered = false;
};

void tst_Editor::init()
{
    m_prompts.clear();
    m_answer = CommonUtils::FirstButton;
    CommonUtils::SetMessageResponder([this](const MessageRequest &request) {
        m_prompts.append(request);
        return m_answer == kClosed ? request.closeAnswer : m_answer;
    });
}

void tst_Editor::cleanup()
{
    CommonUtils::SetMessageResponder({});
    // No SDK callback may reach the store while the window takes it down.
    if (m_bRegistered)
        SMSStatusUILogic::Instance()->unSDKRegisterEvent();
    m_bRegistered = false;
    m_fixture.tearDown();
}

SMSUIMainDlg *tst_Editor::window(bool withInboxMessage)
{
    m_fixture.setUp();
    if (withInboxMessage)
        WindowFixture::save(UTPS_POS_PC_INBOX, kInboxNumber, kInboxText);
    return createWindow();
}

SMSUIMainDlg *tst_Editor::createWindow()
{
    SMSUIMainDlg *w = WindowFixture::createWindow();
    // The SMS service registers the store with the SDK once the window is built; without
    // it no send result and no device state would reach the window.
    if (!w || SMSStatusUILogic::Instance()->InitStatusLogic() != 0)
        return nullptr;
    m_bRegistered = true;
    return w;
}

SMSUIMessageEditor *tst_Editor::open(SMSUIMainDlg *w, int mode)
{
    w->onButtonClickedNewSMS(mode);
    SMSUIMessageEditor *editor = w->messageEditor();
    if (editor && editor->dialog() && !QTest::qWaitForWindowExposed(editor->dialog()))
        return nullptr;
    return editor;
}

void tst_Editor::canSendAtStartAndOnStateChanges_data()
{
    QTest::addColumn<int>("flight");
    QTest::addColumn<int>("registered");
    QTest::addColumn<bool>("canSend");
    QTest::newRow("ready modem") << 0 << 1 << true;
    QTest::newRow("flight mode") << 1 << 1 << false;
    QTest::newRow("no network") << 0 << 0 << false;
}

void tst_Editor::canSendAtStartAndOnStateChanges()
{
    QFETCH(int, flight);
    QFETCH(int, registered);
    QFETCH(bool, canSend);
    m_fixture.setUp();
    QCOMPARE(SimCtl_SetFlightMode(flight), 0L);
    QCOMPARE(SimCtl_SetNetworkRegistered(registered), 0L);
    QCOMPARE(SimCtl_WaitIdle(5000), 0L);
    SMSUIMainDlg *w = createWindow();
    QVERIFY(w);
    QCOMPARE(w->canSendSMS(), canSend);

    // An open editor follows the modem: Send only with a recipient and a modem that sends.
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeNew);
    QVERIFY(editor);
    QTest::keyClicks(editor->recipientLine(), QStringLiteral("+15550101"));
    QCOMPARE(editor->sendButton()->isEnabled(), canSend);
    QCOMPARE(SimCtl_SetFlightMode(0), 0L);
    QCOMPARE(SimCtl_SetNetworkRegistered(1), 0L);
    QTRY_VERIFY(w->canSendSMS());
    QTRY_VERIFY(editor->sendButton()->isEnabled());
    QCOMPARE(SimCtl_SetCanSend(0), 0L);
    QTRY_VERIFY(!w->canSendSMS());
    QTRY_VERIFY(!editor->sendButton()->isEnabled());
}

void tst_Editor::newMessageToTwoNumbersIsSent()
{
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_N, Qt::ControlModifier);
    QTRY_VERIFY(w->messageEditor());
    SMSUIMessageEditor *editor = w->messageEditor();
    QCOMPARE(editor->mode(), int(SMSUIMessageEditor::ModeNew));
    QCOMPARE(editor->dialog()->windowTitle(), key("IDS_TTL_NEW"));
    QCOMPARE(editor->counterLabel()->text(), QStringLiteral("0/2048(1)"));
    QVERIFY(!editor->sendButton()->isEnabled());
    QVERIFY(!editor->saveButton()->isEnabled());

    QTest::keyClicks(editor->recipientLine(), QStringLiteral("+15550111;+15550122"));
    QTest::keyClicks(editor->textArea(), QStringLiteral("See you at eight"));
    QCOMPARE(editor->counterLabel()->text(), QStringLiteral("16/2048(1)"));
    QVERIFY(editor->sendButton()->isEnabled());
    QVERIFY(editor->saveButton()->isEnabled());

    QueuedSpy<bool, int> results(&w->workerThread(), &SMSThreadUI::SendSignalEvent);
    QueuedSpy<int> sentCopies(SMSStatusUILogic::Instance(), &SMSStatusUILogic::SMSSentRecord);
    QPointer<SMSMessageDlg> dialog = editor->dialog();
    QTest::mouseClick(editor->sendButton(), Qt::LeftButton);
    QVERIFY(!dialog || !dialog->isVisible());
    QVERIFY(w->waitingDialog()->dialog() && w->waitingDialog()->dialog()->isVisible());
    QCOMPARE(w->waitingDialog()->m_iMaximum, 2);

    QTRY_COMPARE_WITH_TIMEOUT(results.count(), 2, 10000);
    for (const QVariantList &result : results.calls())
        QVERIFY(result.at(0).toBool());
    QTRY_COMPARE_WITH_TIMEOUT(sentCopies.count(), 1, 10000);
    QTRY_VERIFY(holdsText(EN_LOCAL_SENTITEMS, QStringLiteral("See you at eight")));
    QTRY_VERIFY(!dialog);  // the editor went with its dialog
    // The verdict counted both recipients, and sent items shows the copy.
    QTRY_COMPARE(w->lastSendSuccessCount(), 2);
    QCOMPARE(w->lastSendFailureCount(), 0);
    SMSUITableWidget *sent = w->tableAt(EN_LOCAL_SENTITEMS);
    QTRY_COMPARE(sent->rowCount(), 1);
    QCOMPARE(sent->item(0, 1)->text(), QStringLiteral("See you at eight"));
}

void tst_Editor::counterMatchesSdkSegments_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("parts");
    QTest::newRow("empty") << QString() << 1;
    QTest::newRow("160 GSM characters") << QString(160, QLatin1Char('a')) << 1;
    QTest::newRow("200 GSM characters") << QString(200, QLatin1Char('a')) << 2;
    QTest::newRow("100 Unicode characters") << QString(100, QChar(0x0436)) << 2;
    QTest::newRow("70 Unicode characters") << QString(70, QChar(0x0436)) << 1;
    // The euro sign takes two units of the 7-bit alphabet: 81 of them need two parts.
    QTest::newRow("81 euro signs") << QString(81, QChar(0x20AC)) << 2;
}

void tst_Editor::counterMatchesSdkSegments()
{
    QFETCH(QString, text);
    QFETCH(int, parts);
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeNew);
    QVERIFY(editor);
    editor->textArea()->setPlainText(text);
    QCOMPARE(segmentsBySdk(text), parts);
    QCOMPARE(editor->counterLabel()->text(),
             QStringLiteral("%1/2048(%2)").arg(text.size()).arg(parts));
}

void tst_Editor::textLimitKeepsLastAcceptedContent()
{
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeNew);
    QVERIFY(editor);
    QTextEdit *area = editor->textArea();
    const QString full(2047, QLatin1Char('x'));
    area->setPlainText(full);

    // A paste inside the text that would pass the limit is taken back whole.
    QTextCursor cursor = area->textCursor();
    cursor.setPosition(10);
    area->setTextCursor(cursor);
    area->insertPlainText(QStringLiteral("yy"));
    QCOMPARE(area->toPlainText(), full);
    QCOMPARE(area->textCursor().position(), 12);

    // Typing at the end keeps the first 2048 characters.
    area->moveCursor(QTextCursor::End);
    QTest::keyClicks(area, QStringLiteral("abc"));
    QCOMPARE(area->toPlainText(), full + QLatin1Char('a'));
    QCOMPARE(editor->counterLabel()->text().left(10), QStringLiteral("2048/2048("));

    // A character of two units that would end past the limit goes whole.
    for (const QString &tail : {QStringLiteral("\U0001F600"), QStringLiteral("e\u0301\u0301")}) {
        area->setPlainText(full);
        area->moveCursor(QTextCursor::End);
        area->insertPlainText(tail);
        QCOMPARE(area->toPlainText(), full);
    }
}

void tst_Editor::replyAndForwardPrefill()
{
    SMSUIMainDlg *w = window(/* inbox message */ true);
    QVERIFY(w);
    selectFirstRow(w, EN_LOCAL_INBOX);

    SMSUIMessageEditor *reply = open(w, SMSUIMessageEditor::ModeReply);
    QVERIFY(reply);
    QCOMPARE(reply->dialog()->windowTitle(), key("IDS_TTL_REPLY"));
    QCOMPARE(reply->recipientLine()->text(), kInboxNumber);
    QVERIFY(reply->textArea()->toPlainText().isEmpty());
    QVERIFY(reply->sendButton()->isEnabled());
    QVERIFY(!reply->saveButton()->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(reply->textArea()));
    QTest::mouseClick(reply->dialog()->findChild<QPushButton *>(QStringLiteral("SMSUIPlugin_ButtonCloseMsgButton")), Qt::LeftButton);
    QVERIFY(m_prompts.isEmpty());  // nothing typed: no question

    SMSUIMessageEditor *forward = open(w, SMSUIMessageEditor::ModeForward);
    QVERIFY(forward);
    QCOMPARE(forward->dialog()->windowTitle(), key("IDS_TTL_FORWARD"));
    QVERIFY(forward->recipientLine()->text().isEmpty());
    QCOMPARE(forward->textArea()->toPlainText(), kInboxText);
    QCOMPARE(forward->counterLabel()->text(), QStringLiteral("%1/2048(1)").arg(kInboxText.size()));
    QVERIFY(!forward->sendButton()->isEnabled());
    QVERIFY(!forward->saveButton()->isEnabled());  // the forwarded text alone is nothing new
    QTest::keyClicks(forward->recipientLine(), QStringLiteral("+15550188"));
    QVERIFY(forward->sendButton()->isEnabled());
    QVERIFY(forward->saveButton()->isEnabled());
}

void tst_Editor::editDraftAndSaveReplacesIt()
{
    m_fixture.setUp();
    const int id = WindowFixture::save(UTPS_POS_PC_DRAFTS, QStringLiteral("+15550133"),
                                       QStringLiteral("Draft one"));
    QVERIFY(id >= 0);
    SMSUIMainDlg *w = createWindow();
    QVERIFY(w);
    selectFirstRow(w, EN_LOCAL_DRAFT);
    SMSUITableWidget *drafts = w->currentTable();
    const QRect cell = drafts->visualItemRect(drafts->item(0, 1));
    QTest::mouseDClick(drafts->viewport(), Qt::LeftButton, {}, cell.center());

    QTRY_VERIFY(w->messageEditor());
    SMSUIMessageEditor *editor = w->messageEditor();
    QCOMPARE(editor->mode(), int(SMSUIMessageEditor::ModeEditDraft));
    QCOMPARE(editor->dialog()->windowTitle(), key("IDS_TTL_EDIT"));
    QCOMPARE(editor->recipientLine()->text(), QStringLiteral("+15550133"));
    QCOMPARE(editor->textArea()->toPlainText(), QStringLiteral("Draft one"));
    QVERIFY(!editor->saveButton()->isEnabled());

    editor->textArea()->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor->textArea(), QStringLiteral(", changed"));
    QVERIFY(editor->saveButton()->isEnabled());
    QPointer<SMSMessageDlg> dialog = editor->dialog();
    QTest::mouseClick(editor->saveButton(), Qt::LeftButton);

    const QList<SmsRecord> saved = recordsIn(EN_LOCAL_DRAFT);
    QCOMPARE(saved.size(), 1);
    QCOMPARE(saved.first().iMsgId, id);
    QCOMPARE(saved.first().strContent, QStringLiteral("Draft one, changed"));
    QCOMPARE(w->selectedTreeNode(), int(EN_LOCAL_DRAFT));
    QCOMPARE(w->tableAt(EN_LOCAL_DRAFT)->rowCount(), 1);
    QCOMPARE(w->tableAt(EN_LOCAL_DRAFT)->item(0, 1)->text(), QStringLiteral("Draft one, changed"));
    QTRY_VERIFY(!dialog);

    // Only a draft opens this way: a double click in the inbox edits nothing.
    WindowFixture::save(UTPS_POS_PC_INBOX, kInboxNumber, kInboxText);
    SMSStatusUILogic::Instance()->PopulateSMSFromSDK(UTPS_SMS_MEM_PC);
    w->syncSMSTableWithBuffers(EN_LOCAL_INBOX);
    selectFirstRow(w, EN_LOCAL_INBOX);
    w->onDoubleClickedEditSMS();
    QVERIFY(!w->messageEditor());
}

void tst_Editor::closeQuestion_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    for (const QString &way : {QStringLiteral("Close button"), QStringLiteral("Escape"),
                               QStringLiteral("window close")}) {
        QTest::addRow("%s, Yes", qPrintable(way)) << way << CommonUtils::FirstButton << true << true;
        QTest::addRow("%s, Cancel", qPrintable(way)) << way << CommonUtils::SecondButton << false << false;
        QTest::addRow("%s, No", qPrintable(way)) << way << CommonUtils::ThirdButton << true << false;
        // Closing the question is no answer: the text stays.
        QTest::addRow("%s, question closed", qPrintable(way)) << way << kClosed << false << false;
    }
}

void tst_Editor::closeQuestion()
{
    QFETCH(QString, way);
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    const auto close = [&way](SMSUIMessageEditor *editor) {
        if (way == QLatin1String("Close button"))
            QTest::mouseClick(editor->dialog()->findChild<QPushButton *>(
                                  QStringLiteral("SMSUIPlugin_ButtonCloseMsgButton")),
                              Qt::LeftButton);
        else if (way == QLatin1String("Escape"))
            QTest::keyClick(editor->dialog(), Qt::Key_Escape);
        else
            editor->dialog()->close();
    };

    // Nothing typed: it closes at once, without asking.
    SMSUIMessageEditor *untouched = open(w, SMSUIMessageEditor::ModeNew);
    QVERIFY(untouched);
    QPointer<SMSMessageDlg> first = untouched->dialog();
    close(untouched);
    QVERIFY(m_prompts.isEmpty());
    QTRY_VERIFY(!first);

    m_answer = answer;
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeNew);
    QVERIFY(editor);
    QTest::keyClicks(editor->recipientLine(), QStringLiteral("+15550144"));
    QPointer<SMSMessageDlg> dialog = editor->dialog();
    close(editor);
    QCOMPARE(m_prompts.size(), 1);
    QCOMPARE(m_prompts.first().text, key("IDS_STR_SAVECHANGES"));
    QCOMPARE(m_prompts.first().button1, QStringLiteral("IDS_YES"));
    QCOMPARE(m_prompts.first().button2, QStringLiteral("IDS_CANCEL"));
    QCOMPARE(m_prompts.first().button3, QStringLiteral("IDS_NO"));
    if (closed) {
        QTRY_VERIFY(!dialog);
    } else {
        QTest::qWait(0);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(editor->recipientLine()->text(), QStringLiteral("+15550144"));
    }
    const QList<SmsRecord> drafts = recordsIn(EN_LOCAL_DRAFT);
    QCOMPARE(drafts.size(), saved ? 1 : 0);
    if (saved) {
        QCOMPARE(drafts.first().strNumber, QStringLiteral("+15550144"));
        QCOMPARE(w->selectedTreeNode(), int(EN_LOCAL_DRAFT));
    }
}

void tst_Editor::refusedRecipientCharacterIsUndone()
{
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeNew);
    QVERIFY(editor);
    ExtendLineEdit *line = editor->recipientLine();
    QTest::keyClicks(line, QStringLiteral("+1555x"));
    QCOMPARE(line->text(), QStringLiteral("+1555"));
    QCOMPARE(line->cursorPosition(), 5);
    // A "+" is allowed only at the start of a number, a ";" never twice in a row.
    QTest::keyClicks(line, QStringLiteral("0+;;1"));
    QCOMPARE(line->text(), QStringLiteral("+15550;1"));
    // A refused key in the middle: the cursor stays where the user typed.
    line->setCursorPosition(2);
    QTest::keyClicks(line, QStringLiteral("#a"));
    QCOMPARE(line->text(), QStringLiteral("+1#5550;1"));
    QCOMPARE(line->cursorPosition(), 3);
    // Up and Down move through the recipients without leaving the line.
    QTest::keyClick(line, Qt::Key_Up);
    QCOMPARE(line->cursorPosition(), 2);
    QTest::keyClick(line, Qt::Key_Down);
    QTest::keyClick(line, Qt::Key_Down);
    QCOMPARE(line->cursorPosition(), 4);
}

void tst_Editor::recipientParsing_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("one") << "+15550101" << 1 << QStringList{"+15550101"};
    QTest::newRow("two, trailing separator") << "111;222;" << 2 << QStringList{"111", "222"};
    QTest::newRow("two, doubled separator") << "111;;222" << 3 << QStringList{"111", "222"};
}

void tst_Editor::recipientParsing()
{
    QFETCH(QString, line);
    QFETCH(int, count);
    QFETCH(QStringList, numbers);
    int parsedCount = -1;
    QStringList parsed;
    SMSUIMessageEditor::parseRecipients(line, &parsedCount, &parsed);
    QCOMPARE(parsedCount, count);
    QCOMPARE(parsed, numbers);
}

void tst_Editor::sendFailuresLoseNothing_data()
{
    QTest::addColumn<bool>("networkRefuses");
    QTest::newRow("the network refuses") << true;
    QTest::newRow("the SDK refuses before sending") << false;
}

void tst_Editor::sendFailuresLoseNothing()
{
    QFETCH(bool, networkRefuses);
    m_fixture.setUp();
    const QString text = QStringLiteral("Keep me");
    const int id = WindowFixture::save(UTPS_POS_PC_DRAFTS, QStringLiteral("+15550155"), text);
    QVERIFY(id >= 0);
    SMSUIMainDlg *w = createWindow();
    QVERIFY(w);
    if (networkRefuses)
        QCOMPARE(SimCtl_ScriptSendOutcome("*", UTPS_E_SEND_FAILED), 0L);
    else
        QCOMPARE(SimCtl_FailNextCalls("UTPS_SMSSrv_SendMsg", 1, UTPS_E_NO_NETWORK), 0L);
    selectFirstRow(w, EN_LOCAL_DRAFT);
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeEditDraft);
    QVERIFY(editor);
    QVERIFY(editor->sendButton()->isEnabled());
    QueuedSpy<bool, int> results(&w->workerThread(), &SMSThreadUI::SendSignalEvent);
    QTest::mouseClick(editor->sendButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(results.count(), 1, 10000);
    QCOMPARE(results.at(0).at(0).toBool(), false);
    QCOMPARE(results.at(0).at(1).toInt(), networkRefuses ? 0 : 1);

    if (networkRefuses) {
        // The SDK took the message: its unsent copy is in the outbox, the draft is gone.
        QTRY_VERIFY_WITH_TIMEOUT(holdsText(EN_LOCAL_OUTBOX, text), 10000);
        QTRY_COMPARE(w->lastSendFailureCount(), 1);
        QTRY_COMPARE(w->tableAt(EN_LOCAL_OUTBOX)->rowCount(), 1);
        QVERIFY(!holdsText(EN_LOCAL_DRAFT, text));
        QCOMPARE(w->tableAt(EN_LOCAL_DRAFT)->rowCount(), 0);
    } else {
        // Nothing was stored anywhere else: the draft stays.
        QCOMPARE(SimCtl_WaitIdle(5000), 0L);
        QVERIFY(holdsText(EN_LOCAL_DRAFT, text));
        QCOMPARE(w->tableAt(EN_LOCAL_DRAFT)->rowCount(), 1);
        QVERIFY(!holdsText(EN_LOCAL_OUTBOX, text));
    }
}

void tst_Editor::failedDraftSaveKeepsTheText()
{
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeNew);
    QVERIFY(editor);
    QTest::keyClicks(editor->textArea(), QStringLiteral("Not yet"));
    QCOMPARE(SimCtl_FailNextCalls("UTPS_SMSSrv_SaveMsg", 1, UTPS_E_DATABASE), 0L);
    QTest::mouseClick(editor->saveButton(), Qt::LeftButton);
    QCOMPARE(m_prompts.size(), 1);
    QCOMPARE(m_prompts.first().icon, QMessageBox::Warning);
    QVERIFY(editor->dialog()->isVisible());
    QCOMPARE(editor->textArea()->toPlainText(), QStringLiteral("Not yet"));
    QVERIFY(recordsIn(EN_LOCAL_DRAFT).isEmpty());

    // Closing asks, and Yes saves now that the store works again.
    QPointer<SMSMessageDlg> dialog = editor->dialog();
    editor->dialog()->close();
    QTRY_VERIFY(!dialog);
    QVERIFY(holdsText(EN_LOCAL_DRAFT, QStringLiteral("Not yet")));
}

void tst_Editor::sendAgainReplacesTheUnsentCopy()
{
    m_fixture.setUp();
    const QString text = QStringLiteral("Try again");
    const int id = WindowFixture::save(UTPS_POS_PC_OUTBOX, QStringLiteral("+15550166"), text,
                                       QStringLiteral("20260101120000"), 0, /* not sent */ 1);
    QVERIFY(id >= 0);
    SMSUIMainDlg *w = createWindow();
    QVERIFY(w);
    selectFirstRow(w, EN_LOCAL_OUTBOX);
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeSend);
    QVERIFY(editor);
    QCOMPARE(editor->dialog()->windowTitle(), key("IDS_TTL_SEND"));
    QCOMPARE(editor->recipientLine()->text(), QStringLiteral("+15550166"));
    QCOMPARE(editor->textArea()->toPlainText(), text);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(editor->textArea()));
    QCOMPARE(editor->textArea()->textCursor().position(), int(text.size()));
    QVERIFY(!editor->saveButton()->isEnabled());  // nothing changed yet
    QTest::mouseClick(editor->sendButton(), Qt::LeftButton);

    // Sent this time: the copy is in sent items, the old unsent one in the trash.
    QTRY_COMPARE_WITH_TIMEOUT(w->lastSendSuccessCount(), 1, 10000);
    QTRY_VERIFY(holdsText(EN_LOCAL_SENTITEMS, text));
    QVERIFY(!holdsText(EN_LOCAL_OUTBOX, text));
    QVERIFY(holdsText(EN_LOCAL_TRASH, text));
    QCOMPARE(w->tableAt(EN_LOCAL_OUTBOX)->rowCount(), 0);
}

void tst_Editor::retitledOnLanguageChange()
{
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeNew);
    QVERIFY(editor);
    const auto restore = qScopeGuard([] { Change::SetLanguage(QStringLiteral("en")); });
    QVERIFY(Change::SetLanguage(QStringLiteral("ar")));
    w->SetLanguage(false);
    QCOMPARE(editor->dialog()->windowTitle(), key("IDS_TTL_NEW"));
    QVERIFY(editor->dialog()->windowTitle() != QStringLiteral("New Message"));
    QCOMPARE(editor->sendButton()->text(), key("IDS_BTN_EDITOR_SEND"));
}

void tst_Editor::addressBookPickIsNormalisedAndRefusalsNamed()
{
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    ScriptedAddressBook book;
    book.dialogParent = w;
    PluginContainer *container = Startup::CreatePluginContainer();
    const auto dropContainer = qScopeGuard([] { Startup::DestroyPluginContainer(); });
    for (int id : {InterfaceId::Default, InterfaceId::AddrBook})
        container->RegisterPlugin(QString::fromLatin1(PluginIds::AddrBook),
                                  QStringLiteral("AddrBookUIPlugin"), &book, id);
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeNew);
    QVERIFY(editor);
    QVERIFY(QTest::qWaitForWindowActive(editor->dialog()));
    QTest::keyClicks(editor->recipientLine(), QStringLiteral("+15550101"));
    book.picked = {QStringLiteral("+15550101"), QStringLiteral("+44 7700 900123"),
                   QStringLiteral("(030) 1234-56.78"), QStringLiteral("Bank Info"),
                   QStringLiteral("+44\u00a07700-900-123"), QStringLiteral("0800+1")};
    QTest::mouseClick(editor->dialog()->findChild<QPushButton *>(QStringLiteral("SMSUIPlugin_ButtonSend")),
                      Qt::LeftButton);

    QCOMPARE(book.offered, QStringList{QStringLiteral("+15550101")});
    QCOMPARE(editor->recipientLine()->text(),
             QStringLiteral("+15550101;+447700900123;03012345678"));
    QVERIFY(editor->sendButton()->isEnabled());
    QCOMPARE(m_prompts.size(), 1);
    QCOMPARE(m_prompts.first().icon, QMessageBox::Warning);
    const QString said = m_prompts.first().text;
    QVERIFY2(said.contains(QStringLiteral("Bank Info")) && said.contains(QStringLiteral("0800+1")),
             qPrintable(said));
    QVERIFY(!said.contains(QStringLiteral("7700")));
    // The user goes on in the editor, not in the window the picker belonged to.
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(editor->dialog()));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(editor->recipientLine()));
}

void tst_Editor::prefilledRecipientCanBeEdited()
{
    m_fixture.setUp();
    WindowFixture::save(UTPS_POS_PC_INBOX, QStringLiteral("Bank Info"), kInboxText);
    SMSUIMainDlg *w = createWindow();
    QVERIFY(w);
    selectFirstRow(w, EN_LOCAL_INBOX);
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeReply);
    QVERIFY(editor);
    ExtendLineEdit *line = editor->recipientLine();
    QCOMPARE(line->text(), QStringLiteral("Bank Info"));
    line->setFocus();
    line->end(false);
    QTest::keyClick(line, Qt::Key_Backspace);
    QCOMPARE(line->text(), QStringLiteral("Bank Inf"));
    // What the user types is still checked.
    QTest::keyClicks(line, QStringLiteral("x"));
    QCOMPARE(line->text(), QStringLiteral("Bank Inf"));
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral("+15550199"));
    QCOMPARE(line->text(), QStringLiteral("+15550199"));
}

void tst_Editor::emptyTextAsksBeforeSending_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("sent");
    QTest::newRow("empty, Yes") << "" << CommonUtils::FirstButton << true << true;
    QTest::newRow("empty, No") << "" << CommonUtils::SecondButton << true << false;
    QTest::newRow("empty, question closed") << "" << kClosed << true << false;
    QTest::newRow("only spaces, No") << " \n " << CommonUtils::SecondButton << true << false;
    QTest::newRow("text") << "Hi" << CommonUtils::SecondButton << false << true;
}

void tst_Editor::emptyTextAsksBeforeSending()
{
    QFETCH(QString, text);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, sent);
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    m_answer = answer;
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeNew);
    QVERIFY(editor);
    QTest::keyClicks(editor->recipientLine(), QStringLiteral("+15550101"));
    editor->textArea()->setPlainText(text);
    QPointer<SMSMessageDlg> dialog = editor->dialog();
    QTest::mouseClick(editor->sendButton(), Qt::LeftButton);
    QCOMPARE(m_prompts.size(), asked ? 1 : 0);
    if (asked)
        QCOMPARE(m_prompts.first().text, key("IDS_STR_SENDEMPTY"));
    if (sent) {
        QTRY_VERIFY(!dialog);
        QTRY_COMPARE_WITH_TIMEOUT(w->lastSendSuccessCount(), 1, 10000);
    } else {
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(editor->textArea()->toPlainText(), text);
        QVERIFY(!w->waitingDialog()->dialog() || !w->waitingDialog()->dialog()->isVisible());
    }
}

void tst_Editor::keyboardSendsAndReachesEveryButton()
{
    SMSUIMainDlg *w = window();
    QVERIFY(w);
    SMSUIMessageEditor *editor = open(w, SMSUIMessageEditor::ModeNew);
    QVERIFY(editor);
    QVERIFY(QTest::qWaitForWindowActive(editor->dialog()));
    QList<QPushButton *> buttons;
    for (const char *name : {"SMSUIPlugin_ButtonSend", "SMSUIPlugin_ButtonSendMsg",
                             "SMSUIPlugin_ButtonSaveMsgButton", "SMSUIPlugin_ButtonCloseMsgButton"})
        buttons << editor->dialog()->findChild<QPushButton *>(QString::fromLatin1(name));
    QVERIFY(!buttons.contains(nullptr));
    const auto restore = qScopeGuard([] { Change::SetLanguage(QStringLiteral("en")); });
    for (const char *language : {"en", "ar"}) {
        QVERIFY(Change::SetLanguage(QString::fromLatin1(language)));
        w->SetLanguage(false);
        QSet<QKeySequence> keys;
        for (QPushButton *button : buttons) {
            const QKeySequence mnemonic = QKeySequence::mnemonic(button->text());
            QVERIFY2(!mnemonic.isEmpty(), qPrintable(button->text()));
            keys.insert(mnemonic);
        }
        QCOMPARE(keys.size(), buttons.size());
    }
    QVERIFY(editor->sendButton()->toolTip().contains(QStringLiteral("Ctrl+Return")));

    // The send key does nothing while Send is disabled, and sends once it is enabled.
    QTest::keyClicks(editor->textArea(), QStringLiteral("On my way"));
    QTest::keyClick(editor->textArea(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(editor->textArea()->toPlainText(), QStringLiteral("On my way"));
    QVERIFY(editor->dialog()->isVisible());
    QTest::keyClicks(editor->recipientLine(), QStringLiteral("+15550101"));
    QPointer<SMSMessageDlg> dialog = editor->dialog();
    editor->textArea()->setFocus();
    QTest::keyClick(editor->textArea(), Qt::Key_Return, Qt::ControlModifier);
    QTRY_VERIFY(!dialog);
    QTRY_COMPARE_WITH_TIMEOUT(w->lastSendSuccessCount(), 1, 10000);
    QVERIFY(m_prompts.isEmpty());
}

void tst_Editor::saveFollowsChangesOfAStoredMessage_data()
{
    QTest::addColumn<int>("stored");  // SDK position of the message opened
    QTest::addColumn<int>("shown");   // folder it is opened from
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<bool>("saveEnabled");
    struct Opening
    {
        const char *name;
        int stored;
        int shown;
        int mode;
    };
    const Opening openings[] = {
        {"send again", UTPS_POS_PC_OUTBOX, EN_LOCAL_OUTBOX, SMSUIMessageEditor::ModeSend},
        {"edit draft", UTPS_POS_PC_DRAFTS, EN_LOCAL_DRAFT, SMSUIMessageEditor::ModeEditDraft},
        {"edit draft from the PC root", UTPS_POS_PC_DRAFTS, EN_LOCAL_ROOT,
         SMSUIMessageEditor::ModeEditDraft},
    };
    // Save offers itself for a change to either field, not for the message as stored and
    // not for an empty message.
    const QList<QPair<QString, bool>> edits{{QStringLiteral("nothing"), false},
                                           {QStringLiteral("text"), true},
                                           {QStringLiteral("number"), true},
                                           {QStringLiteral("text and back"), false},
                                           {QStringLiteral("both cleared"), false}};
    for (const Opening &o : openings) {
        for (const auto &edit : edits)
            QTest::addRow("%s, %s", o.name, qPrintable(edit.first))
                << o.stored << o.shown << o.mode << edit.first << edit.second;
    }
}

void tst_Editor::saveFollowsChangesOfAStoredMessage()
{
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, mode);
    QFETCH(QString, edit);
    QFETCH(bool, saveEnabled);
    m_fixture.setUp();
    QVERIFY(WindowFixture::save(stored, QStringLiteral("+15550155"), QStringLiteral("As stored")) >= 0);
    SMSUIMainDlg *w = createWindow();
    QVERIFY(w);
    selectFirstRow(w, _EN_SMS_POSITION(shown));
    SMSUIMessageEditor *editor = open(w, mode);
    QVERIFY(editor);
    QCOMPARE(editor->mode(), mode);
    QCOMPARE(editor->textArea()->toPlainText(), QStringLiteral("As stored"));

    QTextEdit *text = editor->textArea();
    QLineEdit *number = editor->recipientLine();
    text->moveCursor(QTextCursor::End);
    if (edit == QLatin1String("text")) {
        QTest::keyClicks(text, QStringLiteral(" and more"));
    } else if (edit == QLatin1String("number")) {
        number->setFocus();
        number->end(false);
        QTest::keyClicks(number, QStringLiteral("9"));
        QCOMPARE(number->text(), QStringLiteral("+155501559"));
    } else if (edit == QLatin1String("text and back")) {
        QTest::keyClicks(text, QStringLiteral("x"));
        QTest::keyClick(text, Qt::Key_Backspace);
    } else if (edit == QLatin1String("both cleared")) {
        number->clear();
        text->clear();
    }
    QCOMPARE(editor->saveButton()->isEnabled(), saveEnabled);
}

void tst_Editor::savingAnEditedDraftKeepsOneDraft_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("replaces");  // the draft is rewritten, not joined by another
    const int draft = UTPS_POS_PC_DRAFTS;
    const int edit = SMSUIMessageEditor::ModeEditDraft;
    for (const char *way : {"Save", "Close, Yes", "window close, Yes"}) {
        QTest::addRow("draft, %s", way) << draft << int(EN_LOCAL_DRAFT) << edit << way << true;
        QTest::addRow("draft in the PC root, %s", way) << draft << int(EN_LOCAL_ROOT) << edit << way << true;
        // A message sent again keeps its place: what is saved is a new draft.
        QTest::addRow("send again, %s", way) << int(UTPS_POS_PC_OUTBOX) << int(EN_LOCAL_OUTBOX)
                                             << int(SMSUIMessageEditor::ModeSend) << way << false;
    }
}

void tst_Editor::savingAnEditedDraftKeepsOneDraft()
{
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, mode);
    QFETCH(QString, way);
    QFETCH(bool, replaces);
    m_fixture.setUp();
    const int id = WindowFixture::save(stored, QStringLiteral("+15550156"), QStringLiteral("Before"));
    QVERIFY(id >= 0);
    SMSUIMainDlg *w = createWindow();
    QVERIFY(w);
    selectFirstRow(w, _EN_SMS_POSITION(shown));
    SMSUIMessageEditor *editor = open(w, mode);
    QVERIFY(editor);
    editor->textArea()->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor->textArea(), QStringLiteral(", after"));
    QPointer<SMSMessageDlg> dialog = editor->dialog();
    m_answer = CommonUtils::FirstButton;
    if (way == QLatin1String("Save"))
        QTest::mouseClick(editor->saveButton(), Qt::LeftButton);
    else if (way == QLatin1String("Close, Yes"))
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("SMSUIPlugin_ButtonCloseMsgButton")),
                          Qt::LeftButton);
    else
        dialog->close();
    QTRY_VERIFY(!dialog);

    const QList<SmsRecord> drafts = recordsIn(EN_LOCAL_DRAFT);
    QCOMPARE(drafts.size(), 1);
    QCOMPARE(drafts.first().strContent, QStringLiteral("Before, after"));
    QCOMPARE(drafts.first().iMsgId == id, replaces);
    QCOMPARE(holdsText(EN_LOCAL_OUTBOX, QStringLiteral("Before")), !replaces);
}

QTEST_MAIN(tst_Editor)
#include "tst_editor.moc"
