// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Asks for the SIM's PIN (or, once the PIN attempts are used up, its PUK and a new PIN) and
// hands each code to the SDK exactly once, when the user confirms it: a wrong code costs
// one of the SIM's few attempts, so nothing here ever tries again by itself. The SIM takes
// seconds to check a code: meanwhile the window keeps working, the dialog says it is
// checking and takes no other code, and it stays open until the SIM has answered.
#include <QDialog>

class ModemOperation;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

class SimUnlockDialog : public QDialog
{
    Q_OBJECT
public:
    // What the SIM asks for, read from the SDK.
    struct Lock
    {
        int state = 0;          // UTPS_PIN_STATE_*
        int pinAttempts = 255;  // 255: unknown
        int pukAttempts = 255;
        bool locked() const;
    };
    static Lock currentLock();

    explicit SimUnlockDialog(QWidget *parent = nullptr);

    // The SDK's answer to the last code tried (0 once unlocked).
    long lastResult() const { return m_lastResult; }

    // Why the entered codes cannot be sent yet; empty when they can.
    static QString problem(const Lock &lock, const QString &code, const QString &newPin, const QString &confirm);

    // A code is with the SIM and its answer has not come yet.
    bool checking() const;

public slots:
    // One attempt with what is entered, answered by attemptFinished (false when none went
    // out: a malformed code, or a code still being checked); the dialog closes when the SIM
    // is unlocked.
    bool tryCode();
    // Not while a code is being checked: its answer belongs in this dialog.
    void reject() override;

signals:
    void attemptFinished(long result);

private:
    void showLock();
    void setChecking(bool on);
    void takeAnswer(long result);

    Lock m_lock;
    long m_lastResult = -1;
    QLabel *m_prompt;
    QLabel *m_attempts;
    QLineEdit *m_code;
    QLabel *m_newPinLabel;
    QLineEdit *m_newPin;
    QLabel *m_confirmLabel;
    QLineEdit *m_confirm;
    QLabel *m_error;
    QDialogButtonBox *m_buttons;
    ModemOperation *m_operation;
};
