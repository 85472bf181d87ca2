// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The new-message pop-up: a small always-on-top window next to the taskbar that names the
// sender of a message just received, closes itself after a few seconds and offers View
// (open the SMS window at the message) and Cancel. It is also how the host's own SMS
// notice (event 513) brings the SMS window up. A process-wide instance, GUI thread only.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QTimer;

class SMSTaskbarNotifier : public QObject
{
    Q_OBJECT
public:
    static SMSTaskbarNotifier *Instance();
    // Closes any pop-up and deletes the instance; the next Instance() builds a new one.
    static void Destroy();
    // The instance if there is one; never creates it.
    static SMSTaskbarNotifier *existingInstance();

    // Shows the pop-up for a message from number, replacing one still shown, and (re)starts
    // the close timer.
    void Show(const QString &number);
    void createNotifyDialogBox();
    // Texts of the pop-up in the current language (also after a language change).
    void LoadText();
    void setNewMsgCoorDinates();
    void onTimerStart();
    // Brings the SMS page to the front of the main frame (or of the mini frame).
    void showPlugin();
    static QString tr(const QString &key);

    // Top-left corner of a pop-up of size next to the taskbar: the taskbar is found where
    // the available geometry leaves part of the screen geometry uncovered.
    static QPoint popupPosition(const QRect &available, const QRect &screen, const QSize &size);
    // Test seam: desktop geometry to use instead of the primary screen's; two null
    // rectangles restore the screen's.
    static void setScreenGeometryOverride(const QRect &available, const QRect &screen);
    // Where a pop-up of size goes on the desktop (the override's or the primary screen's);
    // false when there is no screen to place it on. Every pop-up of the plug-in is placed
    // here, so that none covers the main window's title-bar buttons.
    static bool popupPlace(const QSize &size, QPoint *position);
    // How long a pop-up stays (5000 ms unless a test shortens it).
    void setCloseDelay(int milliseconds) { m_iCloseDelay = milliseconds; }
    int closeDelay() const { return m_iCloseDelay; }

    QDialog *notifyDialog() const { return m_pNotifyDialog; }
    QTimer *closeTimer() const { return m_pTimer; }
    QString shownText() const { return m_strText; }

public slots:
    void closeNotifyDialog();
    void closeNotifyDialogOnEsc();
    void launchSmsPlugin();
    void launchSmsPluginWhenViewed();

private:
    SMSTaskbarNotifier() = default;
    ~SMSTaskbarNotifier() override;
    // Closes the pop-up now and has it deleted; the pointers are cleared at once.
    void discardDialog();
    // Whether the call plug-in shows a call notification (then raised instead of the pop-up).
    bool raiseCallNotification() const;

    static SMSTaskbarNotifier *s_pInstance;

    // Children of the pop-up: they go with it.
    QPointer<QPushButton> m_pViewButton;
    QPointer<QPushButton> m_pCancelButton;
    QPointer<QLabel> m_pContentLabel;
    QPointer<QLabel> m_pTitleLabel;
    QTimer *m_pTimer = nullptr;
    QPointer<QDialog> m_pNotifyDialog;  // parentless, deletes itself on close
    QString m_strText;
    int m_iCloseDelay = 5000;
};
