// SPDX-License-Identifier: GPL-3.0-or-later
// Every window and dialog the application opens, with the real plug-in, walked as assistive
// technology and an Arabic-speaking user meet them: each control a user can reach with the
// keyboard has a name, the buttons speak the interface language, and the notices that pop
// up are announced.
#include "Change.h"
#include "CommonUtils.h"
#include "ContactPickDialog.h"
#include "HostApplication.h"
#include "MainFrame.h"
#include "SettingsDialog.h"
#include "SmsPluginLoader.h"
#include "TestEnv.h"
#include "ToolBarLogic.h"
#include "sdk_simulator.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QListWidget>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

QString describe(const QWidget *w)
{
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char('/') + w->objectName();
}

// The widgets of window a user can reach: shown, taking focus themselves.
QList<QWidget *> reachable(QWidget *window)
{
    QList<QWidget *> widgets{window};
    widgets += window->findChildren<QWidget *>();
    QList<QWidget *> shown;
    for (QWidget *w : std::as_const(widgets)) {
        if (w->window() == window && w->isVisible() && w->focusPolicy() != Qt::NoFocus
            && !w->focusProxy())
            shown << w;
    }
    return shown;
}

// Controls that a screen reader would announce without a name. A combo box is named by
// the entry it shows, which says nothing of what it chooses: it needs a label as well.
QStringList unnamedControls(QWidget *window)
{
    QStringList problems;
    for (QWidget *w : reachable(window)) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        const QString name = iface ? iface->text(QAccessible::Name).trimmed() : QString();
        const bool labelled = iface
            && (!w->accessibleName().isEmpty() || !iface->relations(QAccessible::Label).isEmpty());
        if (name.isEmpty() || (qobject_cast<const QComboBox *>(w) && !labelled))
            problems << describe(window) + QLatin1String(" > ") + describe(w);
    }
    return problems;
}

// Buttons of window whose text is still English: Latin letters and no Arabic ones (an
// Arabic text may name "SIM" as it is).
QStringList englishButtons(QWidget *window)
{
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    static const QRegularExpression arabic(QStringLiteral("[\\x{0600}-\\x{06FF}]"));
    QStringList problems;
    const QList<QAbstractButton *> buttons = window->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : buttons) {
        if (b->isVisible() && b->text().contains(latin) && !b->text().contains(arabic))
            problems << describe(window) + QLatin1String(" > ") + b->text();
    }
    return problems;
}

QWidget *shownWindow(const char *objectName)
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w->objectName() == QLatin1String(objectName) && w->isVisible())
            return w;
    }
    return nullptr;
}

} // namespace

class tst_Desktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyControlHasAName_data();
    void everyControlHasAName();
    void arabicDialogsHaveNoEnglishButtons();
    void noticesAreAnnounced();

private:
    // Opens every window and dialog the application has (but the modal receive dialog,
    // which inspect() opens), in the language given, and waits until each is shown.
    void openEverything(const QString &language);
    // Runs check on every shown window and on the receive dialog.
    QStringList inspect(const std::function<QStringList(QWidget *)> &check);

    TestDataHome m_home;
    std::unique_ptr<HostApplication> m_host;
    std::unique_ptr<SettingsDialog> m_settings;
    std::unique_ptr<ContactPickDialog> m_picker;
};

void tst_Desktop::initTestCase()
{
    qunsetenv("DIALCREST_PLUGIN_ROOT");
    if (!QFileInfo::exists(SmsPluginLoader::defaultLibraryPath()))
        QSKIP("the SMS plug-in is not part of this build");
    SimCtl_SetDemoSeed(1);
    QAccessible::setActive(true);
    CommonUtils::SetMessageResponder([](const MessageRequest &) { return CommonUtils::FirstButton; });
}

void tst_Desktop::init()
{
    QCOMPARE(SimCtl_Reset(), UTPS_OK);
    m_host = std::make_unique<HostApplication>(HostOptions{});
    QVERIFY(m_host->start(/* showFrame */ true));
    QVERIFY2(m_host->smsPlugin()->isReady(), qPrintable(m_host->smsPlugin()->errorString()));
    QVERIFY(QTest::qWaitForWindowExposed(m_host->frame()));
}

void tst_Desktop::cleanup()
{
    m_picker.reset();
    m_settings.reset();
    m_host.reset();
    Change::SetLanguage(QStringLiteral("en"));
}

void tst_Desktop::openEverything(const QString &language)
{
    QVERIFY(m_host->changeLanguage(language));
    MainFrame *frame = m_host->frame();
    m_host->smsPage()->show();
    auto *newButton = frame->findChild<QAbstractButton *>(
        ToolBarLogic::GetButtonObjectName(QStringLiteral("SMSUIPlugin"), 9000));
    QVERIFY(newButton);
    newButton->click();
    QTRY_VERIFY(shownWindow("SMSUIPlugin_WidgetcreateMsg"));

    m_settings = std::make_unique<SettingsDialog>(m_host->smsPlugin()->settingService(), frame);
    m_settings->show();
    auto *pages = m_settings->findChild<QListWidget *>(QStringLiteral("dialcrest_SettingsPages"));
    QVERIFY(pages && pages->count() == 2);
    pages->setCurrentRow(1);

    m_picker = std::make_unique<ContactPickDialog>(
        QList<Contact>{{1, QStringLiteral("Ann"), QStringLiteral("+15550101")}}, QStringList(),
        /* multiple */ true, frame);
    m_picker->show();

    int id = -1;
    QCOMPARE(SimCtl_InjectMessage(SIMCTL_RECEIVE_STORAGE, "+15550100", "hello", nullptr, 1, &id),
             UTPS_OK);
    QTRY_VERIFY(shownWindow("SMSUIPlugin_NewMessagePopup"));
    QCOMPARE(SimCtl_InjectMessage(SIMCTL_RECEIVE_STORAGE, "+15550101", "flash", nullptr, 0, &id),
             UTPS_OK);
    QTRY_VERIFY(shownWindow("SMSUIPlugin_FlashMessageDialog"));
    auto *fill = frame->findChild<QAction *>(QStringLiteral("dialcrest_ModemFill%1")
                                                 .arg(UTPS_SMS_MEM_DEVICE));
    QVERIFY(fill);
    fill->trigger();
    QTRY_VERIFY(shownWindow("SMSUIPlugin_MemoryFullPopup"));
}

QStringList tst_Desktop::inspect(const std::function<QStringList(QWidget *)> &check)
{
    QStringList problems;
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w->isVisible())
            problems += check(w);
    }
    auto *receive = m_host->frame()->findChild<QAction *>(
        QStringLiteral("dialcrest_ModemReceiveCustom"));
    if (!receive)
        return problems << QStringLiteral("no Receive a message from… entry");
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            seen = dialog->objectName() == QLatin1String("dialcrest_ReceiveDialog");
            problems += check(dialog);
            dialog->close();
        }
    });
    receive->trigger();
    if (!seen)
        problems << QStringLiteral("the receive dialog did not open");
    return problems;
}

void tst_Desktop::everyControlHasAName_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << QStringLiteral("en");
    QTest::newRow("Arabic") << QStringLiteral("ar");
}

void tst_Desktop::everyControlHasAName()
{
    QFETCH(QString, language);
    openEverything(language);
    const QStringList problems = inspect(unnamedControls);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void tst_Desktop::arabicDialogsHaveNoEnglishButtons()
{
    openEverything(QStringLiteral("ar"));
    const QStringList problems = inspect(englishButtons);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

// The pop-ups appear without taking the focus: they are alerts, which screen readers read
// out when they appear (the desktop's bridge also gets an alert event, which the offscreen
// platform has no bridge to receive).
void tst_Desktop::noticesAreAnnounced()
{
    m_host->frame()->showPage(QStringLiteral("ConnectionPage"));
    CommonUtils::SetSettings(QStringLiteral("SMSSERVICE"), QStringLiteral("VisionAlert"),
                             QStringLiteral("1"));
    const auto role = [](QWidget *window) {
        QAccessibleInterface *iface = window ? QAccessible::queryAccessibleInterface(window)
                                             : nullptr;
        return iface ? iface->role() : QAccessible::NoRole;
    };
    int id = -1;
    QCOMPARE(SimCtl_InjectMessage(SIMCTL_RECEIVE_STORAGE, "+15550100", "hello", nullptr, 1, &id),
             UTPS_OK);
    QTRY_VERIFY(shownWindow("SMSUIPlugin_NewMessagePopup"));
    QCOMPARE(role(shownWindow("SMSUIPlugin_NewMessagePopup")), QAccessible::AlertMessage);
    auto *fill = m_host->frame()->findChild<QAction *>(
        QStringLiteral("dialcrest_ModemFill%1").arg(UTPS_SMS_MEM_DEVICE));
    QVERIFY(fill);
    fill->trigger();
    QTRY_VERIFY(shownWindow("SMSUIPlugin_MemoryFullPopup"));
    QCOMPARE(role(shownWindow("SMSUIPlugin_MemoryFullPopup")), QAccessible::AlertMessage);
    // An ordinary dialog stays a dialog.
    QCOMPARE(role(m_host->frame()), QAccessible::Window);
}

QTEST_MAIN(tst_Desktop)
#include "tst_desktop.moc"
