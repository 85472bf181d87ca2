// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lets the user tick recipients from the contacts list. Numbers already chosen come in
// ticked; numbers that belong to no contact are kept as they are.
#include "AddressBook.h"

#include <QDialog>

class QListWidget;

class ContactPickDialog : public QDialog
{
    Q_OBJECT
public:
    ContactPickDialog(const QList<Contact> &contacts, const QStringList &chosen, bool multiple,
                      QWidget *parent = nullptr);

    // The final choice: ticked contacts' numbers (list order) after the kept numbers.
    QStringList chosenNumbers() const;
    QListWidget *list() const { return m_list; }

private:
    QListWidget *m_list;
    QStringList m_kept;  // chosen numbers that are not in the contacts list
};
