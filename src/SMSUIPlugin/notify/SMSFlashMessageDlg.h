// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window that shows flash (class-0) messages. The network asks for such a message to
// be shown at once and not stored, so this window is the only place its text ever appears.
#include <QString>

#include "ExtendDialog.h"

class QPushButton;
class QTextEdit;

class SMSFlashMessageDlg : public ExtendDialog
{
    Q_OBJECT
public:
    // Parentless, with the window manager's close button; the owner deletes it.
    SMSFlashMessageDlg();

    // Shows html (built with messageHtml) and the current language's title and button.
    void setMessageHtml(const QString &html);
    void retranslate();

    QPushButton *closeButton() const { return m_pCloseButton; }
    QTextEdit *textEdit() const { return m_pTextEdit; }

    // One message as rich text. The arguments are shown as they are: escape them first.
    static QString messageHtml(const QString &name, const QString &number,
                               const QString &content, const QString &time);

private:
    QPushButton *m_pCloseButton = nullptr;
    QTextEdit *m_pTextEdit = nullptr;
};
