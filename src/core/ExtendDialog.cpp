// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExtendDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kTitleHeight = 28;
constexpr int kFrame = 1;
} // namespace

ExtendDialog::ExtendDialog(QWidget *parent, Qt::WindowFlags flags, int widgetType)
    : QDialog(parent, widgetType == CustomTitle ? (flags | Qt::Dialog | Qt::FramelessWindowHint)
                                                : (flags ? flags : Qt::WindowFlags(Qt::Dialog)))
    , m_iWidgetType(widgetType)
{
    setObjectName(QStringLiteral("dialcrest_ExtendDialog"));
    m_pLayout = new QVBoxLayout(this);
    m_pLayout->setSpacing(0);
    m_pLayout->setContentsMargins(frameWidth(), frameWidth(), frameWidth(), frameWidth());

    if (IsCusTitle()) {
        m_pTitleBar = new QWidget(this);
        m_pTitleBar->setObjectName(QStringLiteral("dialcrest_ExtendDialogTitleBar"));
        m_pTitleBar->setFixedHeight(kTitleHeight);
        auto *row = new QHBoxLayout(m_pTitleBar);
        row->setContentsMargins(8, 0, 4, 0);
        m_pTitleLabel = new QLabel(m_pTitleBar);
        m_pTitleLabel->setObjectName(QStringLiteral("dialcrest_ExtendDialogTitle"));
        row->addWidget(m_pTitleLabel, 1);
        {
            m_pCloseButton = new QToolButton(m_pTitleBar);
            m_pCloseButton->setObjectName(QStringLiteral("dialcrest_ExtendDialogClose"));
            m_pCloseButton->setAutoRaise(true);
            m_pCloseButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
            connect(m_pCloseButton, &QToolButton::clicked, this, &ExtendDialog::close);
            row->addWidget(m_pCloseButton);
        }
        m_pLayout->addWidget(m_pTitleBar);
    }
}

ExtendDialog::~ExtendDialog() = default;

void ExtendDialog::AddMainWidget(QWidget *widget)
{
    if (!widget || widget == m_pMainWidget)
        return;
    if (m_pMainWidget) {
        m_pLayout->removeWidget(m_pMainWidget);
        delete m_pMainWidget.data();
    }
    m_pMainWidget = widget;
    widget->setParent(this);
    m_pLayout->addWidget(widget, 1);
    widget->show();
}

QWidget *ExtendDialog::MainWidget() const { return m_pMainWidget.data(); }

void ExtendDialog::setWindowTitle(const QString &title)
{
    // The strip is updated by changeEvent, whichever setWindowTitle was called.
    QDialog::setWindowTitle(title);
}

void ExtendDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange && m_pTitleLabel)
        m_pTitleLabel->setText(windowTitle());
    QDialog::changeEvent(event);
}

bool ExtendDialog::IsCusTitle() const { return m_iWidgetType == CustomTitle; }

int ExtendDialog::WidgetTypeValue() const { return m_iWidgetType; }

int ExtendDialog::titleHeight() const { return IsCusTitle() ? kTitleHeight : 0; }

int ExtendDialog::frameWidth() const { return m_iWidgetType == NativeTitle ? 0 : kFrame; }

void ExtendDialog::changeSize(const QSize &size)
{
    resize(size.width() + 2 * frameWidth(), size.height() + titleHeight() + 2 * frameWidth());
}

void ExtendDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (m_iWidgetType == NativeTitle)
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_pTitleBar)
        painter.fillRect(m_pTitleBar->geometry(), palette().color(QPalette::AlternateBase));
}

void ExtendDialog::resizeEvent(QResizeEvent *event) { QDialog::resizeEvent(event); }
void ExtendDialog::showEvent(QShowEvent *event) { QDialog::showEvent(event); }
void ExtendDialog::hideEvent(QHideEvent *event)
{
    m_bDragging = false;
    QDialog::hideEvent(event);
}

// A frameless dialog has no title bar of the window manager: its own strip moves it.
void ExtendDialog::mousePressEvent(QMouseEvent *event)
{
    if (m_pTitleBar && event->button() == Qt::LeftButton
        && m_pTitleBar->geometry().contains(event->position().toPoint())) {
        m_bDragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void ExtendDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (m_bDragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void ExtendDialog::mouseReleaseEvent(QMouseEvent *event)
{
    m_bDragging = false;
    QDialog::mouseReleaseEvent(event);
}
