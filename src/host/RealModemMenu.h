// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Modem menu on a real modem: unlocking its SIM and switching it on. The SIM is
// watched so that a card that asks for its PIN gets the question once, when it starts
// asking; after a cancel the menu's command asks again, never the application by itself.
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QTimer;
class QWidget;

class RealModemMenu : public QObject
{
    Q_OBJECT
public:
    explicit RealModemMenu(QWidget *window, QObject *parent = nullptr);

    QMenu *menu() const { return m_menu; }

    // Shows the unlock dialog now (modal); returns the SDK's last answer, -1 when no code
    // was tried.
    long unlockSim();
    // Switches a disabled modem on; the SDK's answer.
    long enableModem();
    // Reads the SIM and modem state and updates the commands; prompts for the PIN when the
    // SIM has just started asking for it.
    void poll();

signals:
    // The SIM started asking for a code (the dialog follows unless prompting is off).
    void simLocked();

public:
    // Tests drive the dialog themselves.
    void setPromptWhenLocked(bool on) { m_prompt = on; }

private:
    QPointer<QWidget> m_window;
    QMenu *m_menu;
    QAction *m_unlock;
    QAction *m_enable;
    QTimer *m_timer;
    bool m_wasLocked = false;
    bool m_prompt = true;
    bool m_asking = false;
};
