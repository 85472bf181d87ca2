// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main menu's page list (the View menu): one checkable entry per plug-in page, and
// access to the frame's top-level menus by title.
#include "HostInterfaces.h"

#include <QHash>
#include <QObject>
#include <QPointer>

class QAction;
class QActionGroup;
class MainFrame;

class MainMenu : public QObject, public IMainMenuUI
{
    Q_OBJECT
    Q_INTERFACES(IMainMenuUI)
public:
    // pages is the menu that lists the pages (owned by the frame's menu bar).
    MainMenu(MainFrame *frame, QMenu *pages, QObject *parent = nullptr);

    QMenu *GetMenu(const QString &title) override;
    int AddPluginEntry(const QString &pluginName, const QString &text) override;
    int RemovePluginEntry(const QString &pluginName) override;
    int EnablePluginEntry(const QString &pluginName, bool enable) override;
    int SelectPluginEntry(const QString &pluginName) override;

    QString checkedPlugin() const;

signals:
    void pluginEntryTriggered(const QString &pluginName);

private:
    QPointer<MainFrame> m_frame;
    QPointer<QMenu> m_pages;
    QActionGroup *m_group;
    QHash<QString, QAction *> m_actions;
};
