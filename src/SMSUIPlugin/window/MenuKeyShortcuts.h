// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keyboard shortcuts for context-menu commands that have no toolbar button: the menu
// shows their keys, so the keys must work from the window without opening the menu.
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QShortcut;
class QWidget;

class MenuKeyShortcuts : public QObject
{
    Q_OBJECT
public:
    // actionOf answers the menu's action of a key (null when the menu has none);
    // prepare brings the menu's enabled states up to date for the current selection.
    MenuKeyShortcuts(QWidget *window, std::function<QAction *(const QString &key)> actionOf,
                     std::function<void()> prepare);

    // One shortcut per menu key; its key sequence is the one the menu text names.
    void addKey(const QString &key);
    // Re-reads the key sequences (after a language change).
    void retranslate();

private:
    void activate(const QString &key);

    struct Entry
    {
        QString key;
        QShortcut *shortcut = nullptr;
    };
    QWidget *m_window = nullptr;
    std::function<QAction *(const QString &)> m_actionOf;
    std::function<void()> m_prepare;
    std::vector<Entry> m_entries;
};
