// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search box of a plug-in toolbar: a line edit with a clear button and a translated
// hint; Escape empties it (emitting textEdited("") like typing would) and cancelled().
#include "ExtendLineEdit.h"

class DIALCREST_CORE_EXPORT SearchLineEdit : public ExtendLineEdit
{
    Q_OBJECT
public:
    explicit SearchLineEdit(QWidget *parent = nullptr);
    // Re-reads the hint text in the current language.
    void retranslate();

signals:
    void cancelled();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
};
