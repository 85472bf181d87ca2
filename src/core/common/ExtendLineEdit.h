// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host's line edit: remembers the last key pressed in it (so that a click handler can
// tell a Return that reached a button from a real click) and reports focus changes.
#include "CoreExport.h"

#include <QLineEdit>

class DIALCREST_CORE_EXPORT ExtendLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit ExtendLineEdit(QWidget *parent = nullptr);

    // Qt::Key of the last key pressed here, 0 when none (or after ClearLastKey).
    int LastKey() const;
    void ClearLastKey();

signals:
    void keyPressed(int key);
    void focusIn();
    void focusOut();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int m_iLastKey = 0;
};
