// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainFrame.h"

#include "CommonUtils.h"
#include "HostText.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

PluginPage::PluginPage(const QString &objectName, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(objectName);
}

QRect PluginPage::pluginRect() const
{
    return QRect(0, 0, width(), height());  // QRect keeps right = left + width - 1
}

void PluginPage::showProblem(const QString &title, const QString &details)
{
    auto *label = findChild<QLabel *>(QStringLiteral("dialcrest_PluginProblem"), Qt::FindDirectChildrenOnly);
    if (!label) {
        auto *layout = new QVBoxLayout(this);
        label = new QLabel(this);
        label->setObjectName(QStringLiteral("dialcrest_PluginProblem"));
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label);
    }
    // The details are usually an English path or loader message: isolate them so that a
    // right-to-left layout does not move their punctuation to the wrong end.
    label->setText(title + QStringLiteral("\n\n") + QChar(0x2068) + details + QChar(0x2069));
    label->show();
}

void PluginPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit resized();
}

MainFrame::MainFrame(QWidget *parent)
    : QMainWindow(parent)
    , m_pages(new QStackedWidget(this))
    , m_deviceLabel(new QLabel(this))
    , m_sendLabel(new QLabel(this))
    , m_unreadLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("dialcrest_MainFrame"));
    HostText::bind(this, "IDS_HOST_TITLE", "Dialcrest Connection Manager",
                   [this](const QString &title) { setWindowTitle(title); });
    m_pages->setObjectName(QStringLiteral("dialcrest_Pages"));
    setCentralWidget(m_pages);
    m_deviceLabel->setObjectName(QStringLiteral("dialcrest_StatusDevice"));
    m_sendLabel->setObjectName(QStringLiteral("dialcrest_StatusSending"));
    m_unreadLabel->setObjectName(QStringLiteral("dialcrest_StatusUnread"));
    statusBar()->setObjectName(QStringLiteral("dialcrest_StatusBar"));
    statusBar()->addPermanentWidget(m_deviceLabel);
    statusBar()->addPermanentWidget(m_sendLabel);
    statusBar()->addPermanentWidget(m_unreadLabel);
    // The unread notice opens the messages, as a desktop user expects of a counter.
    m_unreadLabel->setCursor(Qt::PointingHandCursor);
    m_unreadLabel->installEventFilter(this);
    HostText::bind(m_unreadLabel, "IDS_HOST_UNREAD_TIP", "Open the messages",
                   [this](const QString &tip) { m_unreadLabel->setToolTip(tip); });
    setUnreadCount(0);
    resize(960, 640);
    restoreSize();
}

void MainFrame::restoreSize()
{
    const QStringList parts =
        CommonUtils::GetSettings(QStringLiteral("mainframe"), QStringLiteral("size"))
            .split(QLatin1Char('x'));
    if (parts.size() != 2)
        return;
    bool wOk = false, hOk = false;
    QSize size(parts.at(0).toInt(&wOk), parts.at(1).toInt(&hOk));
    if (!wOk || !hOk || size.width() < 320 || size.height() < 240)
        return;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
}

void MainFrame::saveSize() const
{
    if (isMaximized() || isFullScreen() || isMinimized())
        return;  // the size to come back to is the normal one, already saved
    CommonUtils::SetSettings(QStringLiteral("mainframe"), QStringLiteral("size"),
                             QStringLiteral("%1x%2").arg(width()).arg(height()));
}

bool MainFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_unreadLabel && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        emit unreadNoticeClicked();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QRect MainFrame::GetFrameGeometry()
{
    return frameGeometry();
}

void MainFrame::BringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void MainFrame::addPage(const QString &pluginName, QWidget *page)
{
    if (!page || m_pageByName.contains(pluginName))
        return;
    m_pageByName.insert(pluginName, page);
    m_pages->addWidget(page);
}

QWidget *MainFrame::page(const QString &pluginName) const
{
    return m_pageByName.value(pluginName);
}

bool MainFrame::showPage(const QString &pluginName)
{
    QWidget *target = m_pageByName.value(pluginName);
    if (!target)
        return false;
    if (m_pages->currentWidget() != target) {
        m_pages->setCurrentWidget(target);
        emit pageShown(pluginName);
    }
    return true;
}

QString MainFrame::currentPage() const
{
    return m_pageByName.key(m_pages->currentWidget());
}

void MainFrame::setUnreadCount(int count)
{
    // Re-shown by the host after a language change, so it is not bound.
    m_unreadLabel->setText(HostText::text("IDS_HOST_UNREAD", "Unread messages: %1").arg(count));
    m_unreadLabel->setProperty("unreadCount", count);
}

void MainFrame::setDeviceSummary(const QString &text)
{
    m_deviceLabel->setText(text);
}

void MainFrame::setSendingSummary(const QString &text)
{
    m_sendLabel->setText(text);
}

void MainFrame::showTransientMessage(const QString &text, int timeoutMs)
{
    statusBar()->showMessage(text, timeoutMs);
}

QMenu *MainFrame::menuByName(const QString &objectName) const
{
    return findChild<QMenu *>(objectName);
}
