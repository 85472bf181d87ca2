// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainToolbar.h"

#include "MainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QToolBar>

MainToolbar::MainToolbar(MainFrame *frame, QObject *parent)
    : QObject(parent)
    , m_toolBar(new QToolBar(frame))
    , m_group(new QActionGroup(this))
{
    m_toolBar->setObjectName(QStringLiteral("dialcrest_MainToolbar"));
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_group->setExclusive(true);
    frame->addToolBar(Qt::TopToolBarArea, m_toolBar);
}

QAction *MainToolbar::addButton(const QString &pluginName, const QIcon &icon)
{
    if (m_actions.contains(pluginName))
        return nullptr;
    QAction *action = m_toolBar->addAction(icon, QString());
    action->setObjectName(QStringLiteral("dialcrest_MainToolbar_") + pluginName);
    action->setCheckable(true);
    m_group->addAction(action);
    m_actions.insert(pluginName, action);
    connect(action, &QAction::triggered, this, [this, pluginName] { emit pluginButtonClicked(pluginName); });
    return action;
}

int MainToolbar::SelectPluginButton(const QString &pluginName)
{
    QAction *action = m_actions.value(pluginName);
    if (!action)
        return 0;
    action->setChecked(true);
    return 1;
}

int MainToolbar::EnablePluginButton(const QString &pluginName, bool enable)
{
    QAction *action = m_actions.value(pluginName);
    if (!action)
        return 0;
    action->setEnabled(enable);
    return 1;
}

QString MainToolbar::checkedPlugin() const
{
    QAction *checked = m_group->checkedAction();
    return checked ? m_actions.key(checked) : QString();
}
