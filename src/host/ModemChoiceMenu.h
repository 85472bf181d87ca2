// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The modems ModemManager has, as checkable entries of a submenu: the one in use is
// checked, choosing another switches the SDK to it, and the choice is remembered in the
// settings so that the next start takes the same modem (by its identity) when it is there.
// The list follows modems as they come and go.
#include <QObject>
#include <QPointer>
#include <QStringList>

class QActionGroup;
class QMenu;
class QWidget;

class ModemChoiceMenu : public QObject
{
    Q_OBJECT
public:
    // The submenu goes into parentMenu; window parents the messages shown.
    ModemChoiceMenu(QMenu *parentMenu, QWidget *window, QObject *parent = nullptr);

    QMenu *menu() const { return m_menu; }

    // Lists the modems again and rebuilds the entries when anything changed.
    void refresh();
    // Switches to the modem with that identity and remembers it; the SDK's answer.
    long choose(const QString &identity);

    // The identity remembered from the user's last choice; empty when none.
    static QString remembered();
    // At start, before the window: takes the remembered modem when the command line asked
    // only for "modemmanager" (not a modem of its own) and that modem is listed.
    static bool useRemembered(const QString &commandLineChoice);

private:
    QPointer<QWidget> m_window;
    QMenu *m_menu;
    QActionGroup *m_group;
    QStringList m_shown; // identity, label and in-use flag of each entry, as last built
};
