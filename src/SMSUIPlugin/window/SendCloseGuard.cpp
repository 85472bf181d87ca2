// SPDX-License-Identifier: GPL-3.0-or-later
#include "SendCloseGuard.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QWidget>

#include "Change.h"
#include "CommonUtils.h"

namespace {
QString text(const char *key)
{
    return Change::tr(QString::fromLatin1(key), QStringLiteral("SMSUIPlugin"));
}
} // namespace

SendCloseGuard::SendCloseGuard(QWidget *page, std::function<bool()> sending)
    : QObject(page)
    , m_pPage(page)
    , m_sending(std::move(sending))
{
    m_pPage->installEventFilter(this);
    watchTopLevel();
}

void SendCloseGuard::watchTopLevel()
{
    QWidget *top = m_pPage->window();
    if (top == m_pWatched)
        return;
    if (m_pWatched && m_pWatched != m_pPage)
        m_pWatched->removeEventFilter(this);
    m_pWatched = top;
    if (top != m_pPage)
        top->installEventFilter(this);
}

bool SendCloseGuard::eventFilter(QObject *watched, QEvent *event)
{
    // The page may sit in a container that moves into the frame later: look again when
    // it shows, too.
    if (watched == m_pPage && (event->type() == QEvent::ParentChange || event->type() == QEvent::Show))
        watchTopLevel();
    if (watched == m_pWatched.data() && event->type() == QEvent::Close && m_sending && m_sending()
        && !userAllowsClose()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool SendCloseGuard::userAllowsClose()
{
    // No is the safe answer, and closing the question means No as well.
    const int answer = CommonUtils::ShowMessageCustomize(
        QMessageBox::Question, m_pWatched, text("IDS_STR_PROMPT"),
        text("IDS_STR_CLOSE_WHILE_SENDING"), QStringLiteral("IDS_YES"), QString(),
        QStringLiteral("IDS_NO"));
    return answer == CommonUtils::FirstButton;
}
