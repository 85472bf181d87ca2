// SPDX-License-Identifier: GPL-3.0-or-later
// The application with the real SMS plug-in, loaded from the build's run-time folder the
// way a user's start loads it.
#include "Change.h"
#include "CommonUtils.h"
#include "HostApplication.h"
#include "HostInterfaces.h"
#include "MainFrame.h"
#include "NotifyService.h"
#include "PluginIds.h"
#include "SmsPluginLoader.h"
#include "Startup.h"
#include "TestEnv.h"
#include "ToolBarLogic.h"
#include "sdk_simulator.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTextEdit>

#include <QFileInfo>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolTip>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QTest>
#include <memory>

namespace {

bool isBidiControl(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

// text without its embeddings, overrides and isolates: what must show literally.
QString visible(const QString &text)
{
    QString out;
    for (QChar c : text) {
        if (!isBidiControl(c))
            out += c;
    }
    return out;
}

// How many embeddings, overrides and isolates are open at position end of shown, as the
// bidirectional algorithm pairs them (within a paragraph; unmatched closers do nothing).
int openRuns(const QString &shown, qsizetype end)
{
    QList<bool> open;  // true: isolate
    for (qsizetype i = 0; i < end && i < shown.size(); ++i) {
        const char16_t u = shown.at(i).unicode();
        if (shown.at(i).direction() == QChar::DirB)
            open.clear();
        else if (u >= 0x2066 && u <= 0x2068)
            open.append(true);
        else if (u >= 0x202A && u <= 0x202E && u != 0x202C)
            open.append(false);
        else if (u == 0x2069 && open.contains(true))
            while (!open.takeLast()) {
            }
        else if (u == 0x202C && !open.isEmpty() && !open.last())
            open.removeLast();
    }
    return int(open.size());
}

// shown holds sender and text literally, and every word of the application in it (and
// whatever follows the last field) stands outside all of the message's runs.
void verifyContained(const QString &shown, const QString &sender, const QString &text,
                     const QStringList &ownWords, const char *where)
{
    const QString plain = visible(shown);
    QVERIFY2(plain.contains(visible(sender)), qPrintable(QStringLiteral("%1: %2").arg(where, plain)));
    QVERIFY2(plain.contains(visible(text)), qPrintable(QStringLiteral("%1: %2").arg(where, plain)));
    for (const QString &word : ownWords) {
        const qsizetype at = shown.indexOf(word);
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("%1: no %2").arg(where, word)));
        QVERIFY2(openRuns(shown, at) == 0, qPrintable(QStringLiteral("%1: %2 inside a run").arg(where, word)));
    }
    QVERIFY2(openRuns(shown, shown.size()) == 0, where);
}

QWidget *visibleTopLevel(const QString &name)
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w->objectName() == name && w->isVisible())
            return w;
    }
    return nullptr;
}

} // namespace

class HostWithPluginTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void windowFillsItsPageAndFollowsIt();
    void statusBarShowsTheUnreadTotal();
    void hostEventsAreForwarded();
    void newMessagePopsUpAndTheNoticeOpensIt();
    void shutdownStopsCallbacksAndCanRestart();
    void quittingDuringASendAsksFirst();
    void hostileTextStaysPlainAndContained_data();
    void hostileTextStaysPlainAndContained();

private:
    QWidget *smsWindow() const;

    TestDataHome m_home;
    std::unique_ptr<HostApplication> m_host;
};

void HostWithPluginTest::initTestCase()
{
    qunsetenv("DIALCREST_PLUGIN_ROOT");
    if (!QFileInfo::exists(SmsPluginLoader::defaultLibraryPath()))
        QSKIP("the SMS plug-in is not part of this build");
    SimCtl_SetDemoSeed(1);
}

void HostWithPluginTest::init()
{
    QCOMPARE(SimCtl_Reset(), UTPS_OK);
    m_host = std::make_unique<HostApplication>(HostOptions{});
    QVERIFY(m_host->start(/* showFrame */ true));
    QVERIFY2(m_host->smsPlugin()->isReady(), qPrintable(m_host->smsPlugin()->errorString()));
    QVERIFY(QTest::qWaitForWindowExposed(m_host->frame()));
}

void HostWithPluginTest::cleanup()
{
    m_host.reset();
}

QWidget *HostWithPluginTest::smsWindow() const
{
    return m_host->smsPage()->findChild<QWidget *>(QStringLiteral("SMSUIPlugin_MainWidget"),
                                                   Qt::FindDirectChildrenOnly);
}

void HostWithPluginTest::windowFillsItsPageAndFollowsIt()
{
    QWidget *window = smsWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->geometry(), m_host->smsPage()->rect());
    QVERIFY(!m_host->smsPage()->findChild<QLabel *>(QStringLiteral("dialcrest_PluginProblem")));
    m_host->frame()->resize(m_host->frame()->size() + QSize(120, 80));
    QTRY_COMPARE(window->geometry(), m_host->smsPage()->rect());
}

void HostWithPluginTest::statusBarShowsTheUnreadTotal()
{
    auto *service = m_host->smsPlugin()->smsService();
    QVERIFY(service);
    auto *unread = m_host->frame()->findChild<QLabel *>(QStringLiteral("dialcrest_StatusUnread"));
    QVERIFY(unread);
    QVERIFY(service->GetUnReadSMSTotalCount() > 0);  // the demo messages include unread ones
    QCOMPARE(unread->property("unreadCount").toInt(), service->GetUnReadSMSTotalCount());
}

void HostWithPluginTest::hostEventsAreForwarded()
{
    // The plug-in subscribed itself at Init; the status bar notice it sends back after a
    // new message is what moves the count.
    NotifyService *notify = m_host->notifyService();
    QVERIFY(notify->IsSubscribed(QLatin1String(PluginIds::SmsUi), HostEvent::PhoneBookAdded));
    auto *unread = m_host->frame()->findChild<QLabel *>(QStringLiteral("dialcrest_StatusUnread"));
    const int before = unread->property("unreadCount").toInt();
    QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+447700900123", "Are you home?", nullptr,
                                  UTPS_MSGCLASS_DEFAULT, nullptr),
             UTPS_OK);
    QTRY_COMPARE(m_host->smsPlugin()->smsService()->GetUnReadSMSTotalCount(), before + 1);
    QTRY_COMPARE(unread->property("unreadCount").toInt(), before + 1);
}

void HostWithPluginTest::newMessagePopsUpAndTheNoticeOpensIt()
{
    const auto popup = [] {
        const QList<QWidget *> windows = QApplication::topLevelWidgets();
        for (QWidget *w : windows) {
            if (w->objectName() == QLatin1String("SMSUIPlugin_NewMessagePopup") && w->isVisible())
                return w;
        }
        return static_cast<QWidget *>(nullptr);
    };
    m_host->frame()->showPage(QStringLiteral("ConnectionPage"));
    QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+447700900123", "Are you home?", nullptr,
                                  UTPS_MSGCLASS_DEFAULT, nullptr),
             UTPS_OK);
    QTRY_VERIFY(popup());
    QCOMPARE(m_host->frame()->currentPage(), QStringLiteral("ConnectionPage"));

    auto *unread = m_host->frame()->findChild<QLabel *>(QStringLiteral("dialcrest_StatusUnread"));
    QVERIFY(unread);
    QTest::mouseClick(unread, Qt::LeftButton);
    QCOMPARE(m_host->frame()->currentPage(), QLatin1String(PluginIds::SmsUiName));
    QTRY_VERIFY(!popup());
    auto *tree = smsWindow()->findChild<QTreeWidget *>(QStringLiteral("SMSUIPlugin_TreeSMSWidget"));
    QVERIFY(tree && tree->currentItem());
    QVERIFY(tree->currentItem()->isSelected());
}

void HostWithPluginTest::shutdownStopsCallbacksAndCanRestart()
{
    m_host->shutdown();
    QVERIFY(!m_host->smsPlugin());
    QVERIFY(!Startup::GetPluginContainer());
    // Traffic after the plug-in has gone reaches nobody and harms nothing.
    QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+15550100", "late", nullptr, UTPS_MSGCLASS_DEFAULT, nullptr),
             UTPS_OK);
    QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
    QVERIFY(m_host->start(true));
    QVERIFY2(m_host->smsPlugin()->isReady(), qPrintable(m_host->smsPlugin()->errorString()));
    QVERIFY(smsWindow());
}

// Quit closes the frame, which holds the SMS window only once the plug-in has put it there:
// the question must still come, and No keeps the application running.
void HostWithPluginTest::quittingDuringASendAsksFirst()
{
    QStringList asked;
    CommonUtils::SetMessageResponder([&asked](const MessageRequest &request) {
        asked << request.text;
        return CommonUtils::ThirdButton;
    });
    const auto restore = qScopeGuard([] { CommonUtils::SetMessageResponder({}); });
    QCOMPARE(SimCtl_SetSendDelay(1000), UTPS_OK);
    auto *newButton = smsWindow()->findChild<QAbstractButton *>(
        ToolBarLogic::GetButtonObjectName(QStringLiteral("SMSUIPlugin"), 9000));
    QVERIFY(newButton);
    QTest::mouseClick(newButton, Qt::LeftButton);
    QWidget *editor = nullptr;
    QTRY_VERIFY(editor = [] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String("SMSUIPlugin_WidgetcreateMsg") && w->isVisible())
                return w;
        }
        return static_cast<QWidget *>(nullptr);
    }());
    QTest::keyClicks(editor->findChild<QLineEdit *>(QStringLiteral("SMSUIPlugin_LineEditNumber")),
                     QStringLiteral("+15550101;+15550102;+15550103"));
    QTest::keyClicks(editor->findChild<QTextEdit *>(QStringLiteral("SMSUIPlugin_TextEditMsgArea")),
                     QStringLiteral("to three"));
    QTest::mouseClick(editor->findChild<QAbstractButton *>(QStringLiteral("SMSUIPlugin_ButtonSendMsg")),
                      Qt::LeftButton);
    QVERIFY(asked.isEmpty());

    QVERIFY(!m_host->frame()->close());
    QCOMPARE(asked.size(), 1);
    QVERIFY(m_host->frame()->isVisible());
}

void HostWithPluginTest::hostileTextStaysPlainAndContained_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("text");
    QTest::newRow("markup") << "<b>Bank</b><img src=\"/nonexistent.png\">"
                            << "<i>hi</i> <img src=\"/nonexistent.png\"> <a href=\"http://x.test\">x</a>";
    // A ";" in a sender separates recipients: the entities of the sender go without it.
    QTest::newRow("entities") << "&lt&gtBank&amp" << "&lt;b&gt; &#x202E;turned &amp; &#8238;";
    QTest::newRow("override") << QStringLiteral("\u202EBank") << QStringLiteral("\u202Eto the end of the line");
    QTest::newRow("isolates left open") << QStringLiteral("\u2066\u2067\u2068Bank")
                                        << QStringLiteral("\u2068\u202Eopen");
    QTest::newRow("stray closers") << QStringLiteral("Bank\u2069\u202E")
                                   << QStringLiteral("a\u2069\u202C\u202Eb");
}

// Every widget that shows a sender or a message: the new-message pop-up, the flash window,
// the preview, the table's tool tip and the call notice.
void HostWithPluginTest::hostileTextStaysPlainAndContained()
{
    QFETCH(QString, sender);
    QFETCH(QString, text);
    // Long enough that the table elides it and offers the whole text as a tool tip.
    const QString longText = text + QLatin1Char(' ') + QString(300, QLatin1Char('w'));
    const auto word = [](const char *key) {
        return Change::tr(QString::fromLatin1(key), QStringLiteral("SMSUIPlugin"));
    };
    const QStringList labels = {word("IDS_LST_NAME"), word("IDS_LST_TEL"), word("IDS_LST_CONTENT"),
                                word("IDS_LST_TIME")};

    m_host->frame()->showPage(QStringLiteral("ConnectionPage"));
    QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_PC, sender.toUtf8().constData(),
                                  longText.toUtf8().constData(), nullptr, UTPS_MSGCLASS_DEFAULT,
                                  nullptr),
             UTPS_OK);
    QTRY_VERIFY(visibleTopLevel(QStringLiteral("SMSUIPlugin_NewMessagePopup")));
    auto *popupLabel = visibleTopLevel(QStringLiteral("SMSUIPlugin_NewMessagePopup"))
                           ->findChild<QLabel *>(QStringLiteral("SMSUIPlugin_NewMessagePopupNumber"));
    QVERIFY(popupLabel);
    QCOMPARE(popupLabel->textFormat(), Qt::PlainText);
    verifyContained(popupLabel->text(), sender, QString(), {}, "pop-up");

    QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_PC, sender.toUtf8().constData(),
                                  text.toUtf8().constData(), nullptr, UTPS_MSGCLASS_FLASH, nullptr),
             UTPS_OK);
    QTRY_VERIFY(visibleTopLevel(QStringLiteral("SMSUIPlugin_FlashMessageDialog")));
    QWidget *flash = visibleTopLevel(QStringLiteral("SMSUIPlugin_FlashMessageDialog"));
    auto *flashText = flash->findChild<QTextEdit *>(QStringLiteral("SMSUIPlugin_FlashMessageText"));
    QVERIFY(flashText);
    QVERIFY(!flashText->toHtml().contains(QLatin1String("<img")));
    verifyContained(flashText->document()->toRawText(), sender, text, labels, "flash window");
    flash->findChild<QPushButton *>(QStringLiteral("SMSUIPlugin_FlashMessageClose"))->click();

    // The preview of the message, picked in the inbox.
    auto *unread = m_host->frame()->findChild<QLabel *>(QStringLiteral("dialcrest_StatusUnread"));
    QTest::mouseClick(unread, Qt::LeftButton);
    auto *tree = smsWindow()->findChild<QTreeWidget *>(QStringLiteral("SMSUIPlugin_TreeSMSWidget"));
    QVERIFY(tree);
    QTreeWidgetItem *inbox = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it && !inbox; ++it) {
        if ((*it)->text(0).startsWith(word("IDS_TREE_LINBOX")))
            inbox = *it;
    }
    QVERIFY(inbox);
    tree->scrollToItem(inbox);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(inbox).center());
    QTableWidget *table = nullptr;
    int row = -1;
    const QList<QTableWidget *> tables = smsWindow()->findChildren<QTableWidget *>();
    for (QTableWidget *t : tables) {
        for (int r = 0; t->isVisible() && r < t->rowCount() && row < 0; ++r) {
            if (t->item(r, 1) && t->item(r, 1)->text().contains(QString(300, QLatin1Char('w')))) {
                table = t;
                row = r;
            }
        }
    }
    QVERIFY(table);
    table->scrollToItem(table->item(row, 1));
    const QPoint cell = table->visualItemRect(table->item(row, 1)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
    auto *preview = smsWindow()->findChild<QTextBrowser *>(QStringLiteral("SMSUIPlugin_TextPreview"));
    QVERIFY(preview);
    QTRY_VERIFY(visible(preview->toPlainText()).contains(visible(text)));
    QVERIFY(!preview->toHtml().contains(QLatin1String("<img")));
    verifyContained(preview->document()->toRawText(), sender, text, labels, "preview");

    QHelpEvent help(QEvent::ToolTip, cell, table->viewport()->mapToGlobal(cell));
    QApplication::sendEvent(table->viewport(), &help);
    QTRY_VERIFY(!QToolTip::text().isEmpty());
    QTextDocument tip;
    tip.setHtml(QToolTip::text());
    verifyContained(tip.toPlainText(), QString(), text, {}, "tool tip");
    QToolTip::hideText();

    auto *call = qobject_cast<ICallUIPlugin *>(m_host->container()->GetPlugin(
        QString::fromLatin1(PluginIds::CallUi), InterfaceId::CallUi));
    QVERIFY(call);
    QCOMPARE(call->MakeCall(sender, 0), 1);
    auto *calling = m_host->frame()->findChild<QLabel *>(QStringLiteral("dialcrest_CallNumber"));
    QVERIFY(calling);
    QCOMPARE(calling->textFormat(), Qt::PlainText);
    verifyContained(calling->text(), sender, QString(), {}, "call notice");
}

QTEST_MAIN(HostWithPluginTest)
#include "tst_hostwithplugin.moc"
