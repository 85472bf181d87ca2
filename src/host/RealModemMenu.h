// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Modem menu on a real modem: unlocking its SIM, switching it on and choosing among
// the modems. The SIM is watched so that a card that asks for its PIN gets the question
// once, when it starts asking; after a cancel the menu's command asks again, never the
// application by itself. Unlocking and switching on wait for the modem off the GUI thread.
#include <QObject>
#include <QMenu>
#include <QPointer>

class ModemChoiceMenu;
class ModemOperation;
class QAction;

class QTimer;
class QWidget;

class RealModemMenu : public QObject
{
    Q_OBJECT
public:
    explicit RealModemMenu(QWidget *window, QObject *parent = nullptr);

    QMenu *menu() const { return m_menu; }
    ModemChoiceMenu *choice() const { return m_choice; }

    // Shows the unlock dialog now (modal); returns the SDK's last answer, -1 when no code
    // was tried or the window went away meanwhile.
    long unlockSim();
    // Starts switching a disabled modem on; false when another call to the modem is still
    // running. enableFinished follows with the SDK's answer.
    bool enableModem();
    // Reads the SIM and modem state and updates the commands; prompts for the PIN when the
    // SIM has just started asking for it.
    void poll();

signals:
    // The SIM started asking for a code (the dialog follows unless prompting is off).
    void simLocked();
    void enableFinished(long result);

public:
    // Tests drive the dialog themselves.
    void setPromptWhenLocked(bool on) { m_prompt = on; }

private:
    void enableAnswered(long result);

    QPointer<QWidget> m_window;
    QPointer<QMenu> m_menu; // the window's child: gone with it
    QAction *m_unlock;
    QAction *m_enable;
    ModemChoiceMenu *m_choice;
    ModemOperation *m_operation;
    QTimer *m_timer;
    bool m_wasLocked = false;
    bool m_prompt = true;
    bool m_asking = false;
};
