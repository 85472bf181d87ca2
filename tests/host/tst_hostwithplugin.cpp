// SPDX-License-Identifier: GPL-3.0-or-later
// The application with the real SMS plug-in, loaded from the build's run-time folder the
// way a user's start loads it.
#include "CommonUtils.h"
#include "HostApplication.h"
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
#include <QLabel>
#include <QTreeWidget>
#include <QTest>
#include <memory>

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

QTEST_MAIN(HostWithPluginTest)
#include "tst_hostwithplugin.moc"
