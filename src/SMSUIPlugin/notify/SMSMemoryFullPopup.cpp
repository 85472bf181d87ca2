// SPDX-License-Identifier: GPL-3.0-or-later
#include "SMSMemoryFullPopup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "AccessibleAlert.h"
#include "CommonUtils.h"
#include "SMSTaskbarNotifier.h"


SMSMemoryFullPopup::SMSMemoryFullPopup()
    : QDialog(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("SMSUIPlugin_MemoryFullPopup"));
    AccessibleAlert::mark(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWidth, kHeight);

    m_pCloseButton = new QPushButton(this);
    m_pCloseButton->setObjectName(QStringLiteral("SMSUIPlugin_MemoryFullClose"));
    m_pCloseButton->setFixedSize(80, 30);
    m_pLabel = new QLabel(this);
    m_pLabel->setObjectName(QStringLiteral("SMSUIPlugin_MemoryFullText"));
    m_pLabel->setAlignment(Qt::AlignCenter);
    m_pLabel->setFixedSize(310, 70);
    m_pLabel->setWordWrap(true);

    auto *labelRow = new QHBoxLayout;
    labelRow->setContentsMargins(0, 0, 0, 0);
    labelRow->addWidget(m_pLabel);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->addWidget(m_pCloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(labelRow);
    layout->addLayout(buttonRow);
}

void SMSMemoryFullPopup::setTexts(const QString &title, const QString &text,
                                  const QString &closeText)
{
    setWindowTitle(title);
    setAccessibleName(title);
    setAccessibleDescription(text);
    m_pLabel->setText(text);
    m_pCloseButton->setText(closeText);
}

void SMSMemoryFullPopup::present()
{
    QPoint position;
    if (SMSTaskbarNotifier::popupPlace(size(), &position))
        move(position);
    show();
    // Out of the minimised state with the main window, but a maximised or full-screen
    // state is not copied onto a fixed-size pop-up.
    if (const QWidget *host = CommonUtils::GetMainWindow())
        setWindowState((host->windowState()
                        & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
                       | Qt::WindowActive);
    raise();
    activateWindow();
    // A screen reader user would not learn otherwise that a storage is full and new
    // messages are refused.
    AccessibleAlert::announce(this);
}
