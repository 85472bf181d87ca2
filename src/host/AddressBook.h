// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The address book: a small contacts list kept in the device SDK's phone book (so the SMS
// page's name look-ups see the same contacts), a form to save a number and a dialog to
// pick recipients.
#include "HostInterfaces.h"

#include <QList>
#include <QObject>
#include <QPointer>

class NotifyService;
class QWidget;

struct Contact
{
    int id = -1;
    QString name;
    QString number;
};

class AddressBook : public QObject, public IAddrBookUIPlugin
{
    Q_OBJECT
    Q_INTERFACES(IAddrBookUIPlugin)
public:
    AddressBook(NotifyService *notify, QWidget *dialogParent, QObject *parent = nullptr);

    int SaveNumber(const QString &number, QWidget *parent) override;
    QString GetNameByNumber(const QString &number) override;
    int PickNumbers(int selectionMode, int numberKind, QStringList &numbers) override;

    // The phone book as the SDK holds it, by id; empty when it cannot be read.
    QList<Contact> contacts() const;
    // Adds a contact and tells subscribed plug-ins (event 288); the new id, or -1.
    int addContact(const QString &name, const QString &number);
    bool removeContact(int id);

    // Opens the contacts manager (list, add, remove).
    void showManager(QWidget *parent);

    // Numbers compare equal when their digits match, or when one is the other's national
    // form (the last nine digits agree): "+44 7700 900123" == "07700900123".
    static bool sameNumber(const QString &a, const QString &b);

private:
    NotifyService *m_notify;
    QPointer<QWidget> m_dialogParent;
};
