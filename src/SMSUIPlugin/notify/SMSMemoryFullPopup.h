// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The storage-full pop-up: a small parentless always-on-top window beside the taskbar, like
// the new-message pop-up, that says which storage is full, with one Close button. It
// closes itself after a while (the owner runs the timer) and deletes itself when closed.
#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;

class SMSMemoryFullPopup : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 120;

    SMSMemoryFullPopup();

    void setTexts(const QString &title, const QString &text, const QString &closeText);
    QLabel *label() const { return m_pLabel; }
    QPushButton *closeButton() const { return m_pCloseButton; }

    // Shows the pop-up where the new-message pop-up goes (beside the taskbar), in front of
    // everything, out of the minimised state with the host's main window.
    void present();

private:
    QLabel *m_pLabel = nullptr;
    QPushButton *m_pCloseButton = nullptr;
};
