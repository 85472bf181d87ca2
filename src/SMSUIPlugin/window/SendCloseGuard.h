// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Asks before the window that holds the SMS page closes while a send is going out: closing
// ends the program, and with it the send to the recipients still waiting.
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

class SendCloseGuard : public QObject
{
    Q_OBJECT
public:
    // sending: whether a send is under way now. The guard watches page's top-level window,
    // also after the page moves into another window.
    SendCloseGuard(QWidget *page, std::function<bool()> sending);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchTopLevel();
    bool userAllowsClose();

    QWidget *m_pPage = nullptr;
    QPointer<QWidget> m_pWatched;
    std::function<bool()> m_sending;
};
