// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainMenu.h"

#include "MainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

MainMenu::MainMenu(MainFrame *frame, QMenu *pages, QObject *parent)
    : QObject(parent)
    , m_frame(frame)
    , m_pages(pages)
    , m_group(new QActionGroup(this))
{
    m_group->setExclusive(true);
}

QMenu *MainMenu::GetMenu(const QString &title)
{
    if (!m_frame)
        return nullptr;
    const QList<QAction *> actions = m_frame->menuBar()->actions();
    for (QAction *action : actions) {
        QMenu *menu = action->menu();
        if (menu && (menu->objectName() == title || menu->title().remove(QLatin1Char('&')) == title))
            return menu;
    }
    return nullptr;
}

int MainMenu::AddPluginEntry(const QString &pluginName, const QString &text)
{
    if (!m_pages || m_actions.contains(pluginName))
        return 0;
    QAction *action = m_pages->addAction(text);
    action->setObjectName(QStringLiteral("dialcrest_PageEntry_") + pluginName);
    action->setCheckable(true);
    m_group->addAction(action);
    m_actions.insert(pluginName, action);
    connect(action, &QAction::triggered, this, [this, pluginName] { emit pluginEntryTriggered(pluginName); });
    return 1;
}

int MainMenu::RemovePluginEntry(const QString &pluginName)
{
    QAction *action = m_actions.take(pluginName);
    if (!action)
        return 0;
    delete action;
    return 1;
}

int MainMenu::EnablePluginEntry(const QString &pluginName, bool enable)
{
    QAction *action = m_actions.value(pluginName);
    if (!action)
        return 0;
    action->setEnabled(enable);
    return 1;
}

int MainMenu::SelectPluginEntry(const QString &pluginName)
{
    QAction *action = m_actions.value(pluginName);
    if (!action)
        return 0;
    action->setChecked(true);
    return 1;
}

QString MainMenu::checkedPlugin() const
{
    QAction *checked = m_group->checkedAction();
    return checked ? m_actions.key(checked) : QString();
}
