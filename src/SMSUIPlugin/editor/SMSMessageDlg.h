// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The framed dialog that holds a message editor. Its own ways of closing (the window's
// close button, Escape) go through the editor's save-changes question, and it passes key
// presses to the editor so that Up and Down move the recipient cursor.
#include <QPointer>

#include "ExtendDialog.h"

class QCloseEvent;
class QKeyEvent;
class SMSUIMessageEditor;

class SMSMessageDlg : public ExtendDialog
{
    Q_OBJECT
public:
    SMSMessageDlg(QWidget *parent, Qt::WindowFlags flags, int widgetType);
    ~SMSMessageDlg() override;

    // The editor shown in this dialog; not owned (the editor owns the dialog).
    void setEditor(SMSUIMessageEditor *editor) { m_pEditor = editor; }
    SMSUIMessageEditor *editor() const { return m_pEditor; }

    // Title in the custom title strip and on the window.
    void setWindowTitle(const QString &title);

    // Asks whether to save when there is something to save. true when the dialog may
    // close (it is hidden then and the editor has announced it is done).
    bool closeEditor();

public:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QPointer<SMSUIMessageEditor> m_pEditor;
};
