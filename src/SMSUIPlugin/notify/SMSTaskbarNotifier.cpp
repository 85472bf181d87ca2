// SPDX-License-Identifier: GPL-3.0-or-later
#include "SMSTaskbarNotifier.h"

#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "AccessibleAlert.h"
#include "Change.h"
#include "CommonUtils.h"
#include "HostPluginLookup.h"
#include "PluginIds.h"
#include "ShownText.h"
#include "SmsLog.h"
#include "window/SMSUIMainDlg.h"

SMSTaskbarNotifier *SMSTaskbarNotifier::s_pInstance = nullptr;

namespace {
constexpr int kPopupWidth = 218;
constexpr int kPopupHeight = 117;
constexpr int kTitleWidth = 198;

struct GeometryOverride
{
    QRect available;
    QRect screen;
};
GeometryOverride &geometryOverride()
{
    static GeometryOverride value;
    return value;
}
} // namespace

SMSTaskbarNotifier *SMSTaskbarNotifier::Instance()
{
    if (!s_pInstance)
        s_pInstance = new SMSTaskbarNotifier;
    return s_pInstance;
}

void SMSTaskbarNotifier::Destroy()
{
    delete s_pInstance;
    s_pInstance = nullptr;
}

SMSTaskbarNotifier *SMSTaskbarNotifier::existingInstance()
{
    return s_pInstance;
}

SMSTaskbarNotifier::~SMSTaskbarNotifier()
{
    // Parentless: nobody else would delete a pop-up still on screen.
    delete m_pNotifyDialog.data();
}

QString SMSTaskbarNotifier::tr(const QString &key)
{
    return Change::tr(key, QString::fromLatin1(PluginIds::SmsUiName));
}

void SMSTaskbarNotifier::Show(const QString &number)
{
    onTimerStart();
    createNotifyDialogBox();
    if (!m_pNotifyDialog || !m_pContentLabel)
        return;
    if (QWidget *main = CommonUtils::GetMainWindow()) {
        // Follows the main window out of the minimised state and is active; a maximised
        // or full-screen state of the main window is not copied onto a fixed-size pop-up.
        const Qt::WindowStates state = main->windowState()
            & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
        m_pNotifyDialog->setWindowState(state | Qt::WindowActive);
    }
    setNewMsgCoorDinates();
    m_strText = number;
    m_pContentLabel->setText(ShownText::field(m_strText));
    m_pContentLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter | Qt::AlignBottom);
    m_pNotifyDialog->setAccessibleName(tr(QStringLiteral("IDS_STC_NEWMSG")));
    m_pNotifyDialog->setAccessibleDescription(number);
    m_pNotifyDialog->show();
    m_pNotifyDialog->repaint();
    AccessibleAlert::announce(m_pNotifyDialog);
    if (!raiseCallNotification()) {
        m_pNotifyDialog->raise();
        m_pNotifyDialog->activateWindow();
    }
}

bool SMSTaskbarNotifier::raiseCallNotification() const
{
    // An incoming call matters more than a message: its notification stays on top.
    if (!CommonUtils::IsPluginAvailable(QString::fromLatin1(PluginIds::CallUi)))
        return false;
    auto *call = pluginInterface<ICallUIPlugin>(Startup::GetPluginContainer(), PluginIds::CallUi,
                                                InterfaceId::CallUi);
    if (!call || !call->IsCallNotificationVisible())
        return false;
    call->RaiseCallNotification();
    return true;
}

void SMSTaskbarNotifier::onTimerStart()
{
    if (!m_pTimer) {
        m_pTimer = new QTimer(this);
        m_pTimer->setSingleShot(true);
        connect(m_pTimer, &QTimer::timeout, this, &SMSTaskbarNotifier::closeNotifyDialog);
    }
    if (m_pTimer->isActive()) {
        qCDebug(lcSmsWindow) << "another message while the pop-up is shown: it is replaced";
        discardDialog();
        m_pTimer->stop();
    }
    m_pTimer->start(m_iCloseDelay);
}

void SMSTaskbarNotifier::createNotifyDialogBox()
{
    if (m_pNotifyDialog) {
        qCDebug(lcSmsWindow) << "replacing the pop-up still shown";
        discardDialog();
    }
    auto *dialog = new QDialog(nullptr, Qt::Window | Qt::WindowStaysOnTopHint
                                            | Qt::CustomizeWindowHint);
    dialog->setObjectName(QStringLiteral("SMSUIPlugin_NewMessagePopup"));
    AccessibleAlert::mark(dialog);
    dialog->setFixedSize(kPopupWidth, kPopupHeight);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_pTitleLabel = new QLabel(dialog);
    m_pTitleLabel->setObjectName(QStringLiteral("SMSUIPlugin_NewMessagePopupTitle"));
    m_pContentLabel = new QLabel(dialog);
    m_pContentLabel->setObjectName(QStringLiteral("SMSUIPlugin_NewMessagePopupNumber"));
    // A sender name from the network is shown as it is, never as markup.
    m_pContentLabel->setTextFormat(Qt::PlainText);
    m_pViewButton = new QPushButton(dialog);
    m_pCancelButton = new QPushButton(dialog);
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(m_pTitleLabel);
    layout->addWidget(m_pContentLabel);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_pViewButton);
    buttons->addWidget(m_pCancelButton);
    layout->addLayout(buttons);
    m_pNotifyDialog = dialog;
    LoadText();
    connect(m_pViewButton, &QPushButton::clicked, this,
            &SMSTaskbarNotifier::launchSmsPluginWhenViewed);
    connect(m_pCancelButton, &QPushButton::clicked, this, &SMSTaskbarNotifier::closeNotifyDialog);
    connect(dialog, &QDialog::rejected, this, &SMSTaskbarNotifier::closeNotifyDialogOnEsc);
}

void SMSTaskbarNotifier::LoadText()
{
    if (!m_pNotifyDialog || !m_pTitleLabel || !m_pContentLabel || !m_pViewButton
        || !m_pCancelButton) {
        qCDebug(lcSmsWindow) << "no pop-up to translate";
        return;
    }
    m_pNotifyDialog->setWindowTitle(tr(QStringLiteral("IDS_PROMPT_CAPTION")));
    const QFontMetrics metrics(m_pTitleLabel->font());
    m_pTitleLabel->setText(
        metrics.elidedText(tr(QStringLiteral("IDS_STC_NEWMSG")), Qt::ElideRight, kTitleWidth));
    m_pContentLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter | Qt::AlignBottom);
    m_pContentLabel->setText(ShownText::field(m_strText));
    m_pViewButton->setText(tr(QStringLiteral("IDS_BTN_VIEW")));
    m_pViewButton->setObjectName(QStringLiteral("ViewButton"));
    m_pCancelButton->setText(tr(QStringLiteral("IDS_BTN_CANCEL")));
    m_pCancelButton->setObjectName(QStringLiteral("CancelButton"));
}

QPoint SMSTaskbarNotifier::popupPosition(const QRect &available, const QRect &screen,
                                         const QSize &size)
{
    const int w = size.width();
    const int h = size.height();
    if (available.bottom() != screen.bottom())  // taskbar at the bottom
        return {screen.right() - screen.left() + 1 - w, available.bottom() - h};
    if (available.left() != screen.left())  // on the left
        return {available.left(), available.bottom() - h};
    if (available.top() != screen.top())  // at the top
        return {available.right() - w, available.top()};
    return {available.right() - w, available.bottom() - h};
}

void SMSTaskbarNotifier::setScreenGeometryOverride(const QRect &available, const QRect &screen)
{
    geometryOverride() = {available, screen};
}

void SMSTaskbarNotifier::setNewMsgCoorDinates()
{
    if (!m_pNotifyDialog) {
        qCWarning(lcSmsWindow) << "no pop-up to place";
        return;
    }
    QPoint position;
    if (popupPlace(m_pNotifyDialog->size(), &position))
        m_pNotifyDialog->move(position);
}

bool SMSTaskbarNotifier::popupPlace(const QSize &size, QPoint *position)
{
    QRect available = geometryOverride().available;
    QRect screen = geometryOverride().screen;
    if (available.isNull() && screen.isNull()) {
        const QScreen *primary = QGuiApplication::primaryScreen();
        if (!primary) {
            qCWarning(lcSmsWindow) << "no screen to place the pop-up on";
            return false;
        }
        available = primary->availableGeometry();
        screen = primary->geometry();
    }
    *position = popupPosition(available, screen, size);
    return true;
}

void SMSTaskbarNotifier::discardDialog()
{
    QDialog *dialog = m_pNotifyDialog;
    m_pNotifyDialog = nullptr;
    if (!dialog)
        return;
    // Hidden now; deleted once the event loop is back, since a button of this very
    // dialog may be the one whose click brought us here.
    disconnect(dialog, nullptr, this, nullptr);
    dialog->close();
    dialog->deleteLater();
}

void SMSTaskbarNotifier::closeNotifyDialog()
{
    if (m_pNotifyDialog) {
        discardDialog();
        SMSUIMainDlg::stopPlayingSound();
    }
    if (m_pTimer)
        m_pTimer->stop();
}

void SMSTaskbarNotifier::closeNotifyDialogOnEsc()
{
    // Escape has closed the pop-up already; make sure it also goes away for good.
    discardDialog();
    SMSUIMainDlg::stopPlayingSound();
    if (m_pTimer)
        m_pTimer->stop();
}

void SMSTaskbarNotifier::launchSmsPluginWhenViewed()
{
    showPlugin();
    if (!CommonUtils::IsMiniMode()) {
        if (QWidget *main = CommonUtils::GetMainWindow()) {
            main->setWindowState((main->windowState() & ~Qt::WindowMinimized)
                                 | Qt::WindowActive);
            main->show();
        }
    }
    discardDialog();
    if (m_pTimer)
        m_pTimer->stop();
    if (SMSUIMainDlg *window = SMSUIMainDlg::existingInstance()) {
        SMSUIMainDlg::stopPlayingSound();
        window->ViewSmsInbox();
        window->raise();
        window->activateWindow();
    }
}

void SMSTaskbarNotifier::launchSmsPlugin()
{
    showPlugin();
    if (SMSUIMainDlg *window = SMSUIMainDlg::existingInstance())
        window->LaunchSmsInbox();
    closeNotifyDialog();
}

void SMSTaskbarNotifier::showPlugin()
{
    PluginContainer *container = Startup::GetPluginContainer();
    if (!container) {
        qCWarning(lcSmsWindow) << "showPlugin: no plug-in container";
        return;
    }
    const QString smsName = QString::fromLatin1(PluginIds::SmsUiName);
    if (CommonUtils::IsMiniMode()) {
        if (auto *mini = pluginInterface<IMiniFrameUIService>(container, PluginIds::MiniFrame,
                                                              InterfaceId::MiniFrame))
            mini->ShowPlugin(QString::fromLatin1(PluginIds::SmsUi));
        else
            qCWarning(lcSmsWindow) << "showPlugin: no mini frame";
        return;
    }
    auto *frame = pluginInterface<IMainFrameUIService>(container, PluginIds::MainFrame,
                                                       InterfaceId::MainFrame);
    if (!frame) {
        qCWarning(lcSmsWindow) << "showPlugin: no main frame service";
        return;
    }
    frame->BringToFront();
    ILayoutPlugin *layout = CommonUtils::GetLayoutPlugin();
    if (!layout) {
        qCWarning(lcSmsWindow) << "showPlugin: no layout plug-in";
        return;
    }
    layout->ShowPluginPage(smsName);
    auto *toolbar = pluginInterface<IMainToolbar>(container, PluginIds::MainToolbar,
                                                  InterfaceId::MainToolbar);
    if (!toolbar) {
        qCWarning(lcSmsWindow) << "showPlugin: no main toolbar";
        return;
    }
    toolbar->SelectPluginButton(smsName);
    auto *menu = pluginInterface<IMainMenuUI>(container, PluginIds::MainMenu, InterfaceId::MainMenu);
    if (!menu) {
        qCWarning(lcSmsWindow) << "showPlugin: no main menu";
        return;
    }
    menu->SelectPluginEntry(smsName);
}
