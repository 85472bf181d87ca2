// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExtendLineEdit.h"

#include "Change.h"
#include "SearchLineEdit.h"

#include <QEvent>
#include <QKeyEvent>

ExtendLineEdit::ExtendLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
}

int ExtendLineEdit::LastKey() const { return m_iLastKey; }

void ExtendLineEdit::ClearLastKey() { m_iLastKey = 0; }

void ExtendLineEdit::keyPressEvent(QKeyEvent *event)
{
    m_iLastKey = event->key();
    emit keyPressed(m_iLastKey);
    QLineEdit::keyPressEvent(event);
}

void ExtendLineEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    emit focusIn();
}

void ExtendLineEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    emit focusOut();
}

SearchLineEdit::SearchLineEdit(QWidget *parent)
    : ExtendLineEdit(parent)
{
    setClearButtonEnabled(true);
    retranslate();
}

void SearchLineEdit::retranslate()
{
    setPlaceholderText(Change::tr(QStringLiteral("IDS_STR_SEARCH_HINT"),
                                  QString::fromLatin1(Change::HostContext)));
}

void SearchLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        emit textEdited(QString());
        emit cancelled();
        event->accept();
        return;
    }
    ExtendLineEdit::keyPressEvent(event);
}

void SearchLineEdit::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ExtendLineEdit::changeEvent(event);
}
