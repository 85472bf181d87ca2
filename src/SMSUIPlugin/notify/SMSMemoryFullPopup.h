// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The storage-full pop-up: a small parentless always-on-top window in the top right corner
// of the desktop's free area that says which storage is full, with one Close button. It
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

    // Top-left corner that puts a pop-up of size flush with the top right corner of the
    // free desktop area (its right edge on the area's last pixel column).
    static QPoint topRightPosition(const QRect &available, const QSize &size);
    // Test seam: the free desktop area to use instead of the primary screen's; a null
    // rectangle restores the screen's.
    static void setAvailableGeometryOverride(const QRect &available);
    static QRect availableGeometry();

    // Shows the pop-up at its corner, in front of everything, taking the host's main window
    // state (never minimised) so that it is not hidden behind a minimised frame.
    void present();

private:
    QLabel *m_pLabel = nullptr;
    QPushButton *m_pCloseButton = nullptr;
};
