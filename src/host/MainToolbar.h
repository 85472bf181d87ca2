// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main toolbar: one checkable button per plug-in page, exactly one checked.
#include "HostInterfaces.h"

#include <QHash>
#include <QObject>
#include <QPointer>

class QAction;
class QActionGroup;
class QIcon;
class QToolBar;
class MainFrame;

class MainToolbar : public QObject, public IMainToolbar
{
    Q_OBJECT
    Q_INTERFACES(IMainToolbar)
public:
    explicit MainToolbar(MainFrame *frame, QObject *parent = nullptr);

    int SelectPluginButton(const QString &pluginName) override;
    int EnablePluginButton(const QString &pluginName, bool enable) override;

    // The new button's action (text still empty), or null when the plug-in has one.
    QAction *addButton(const QString &pluginName, const QIcon &icon);
    QString checkedPlugin() const;
    QToolBar *toolBar() const { return m_toolBar; }

signals:
    void pluginButtonClicked(const QString &pluginName);

private:
    QToolBar *m_toolBar;
    QActionGroup *m_group;
    QHash<QString, QAction *> m_actions;
};
