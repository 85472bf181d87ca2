// SPDX-License-Identifier: GPL-3.0-or-later
#include "SMSMessageDlg.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "SMSUIMessageEditor.h"
#include "SmsLog.h"

SMSMessageDlg::SMSMessageDlg(QWidget *parent, Qt::WindowFlags flags, int widgetType)
    : ExtendDialog(parent, flags, widgetType)
{
}

SMSMessageDlg::~SMSMessageDlg() = default;

void SMSMessageDlg::setWindowTitle(const QString &title)
{
    ExtendDialog::setWindowTitle(title);
    QWidget::setWindowTitle(title);
}

bool SMSMessageDlg::closeEditor()
{
    if (!m_pEditor || !m_pEditor->saveButton()) {
        qCWarning(lcSmsEditor) << "Arg is NULL: closing an editor dialog without its editor";
        return false;
    }
    return m_pEditor->askAndClose(this);
}

void SMSMessageDlg::reject()
{
    closeEditor();
}

void SMSMessageDlg::closeEvent(QCloseEvent *event)
{
    if (!event) {
        qCWarning(lcSmsEditor) << "close event is NULL";
        return;
    }
    if (closeEditor())
        event->accept();
    else
        event->ignore();
}

void SMSMessageDlg::keyPressEvent(QKeyEvent *event)
{
    if (!m_pEditor) {
        qCWarning(lcSmsEditor) << "key press without an editor";
        return;
    }
    m_pEditor->MoveLineEditCursor(event);
    if (event && event->isAccepted() && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down))
        return;
    QDialog::keyPressEvent(event);
}
