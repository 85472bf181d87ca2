// SPDX-License-Identifier: GPL-3.0-or-later
#include "AddressBook.h"

#include "ContactPickDialog.h"
#include "HostLog.h"
#include "HostText.h"
#include "NotifyService.h"
#include "PluginIds.h"
#include "sdk_simulator.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

AddressBook::AddressBook(NotifyService *notify, QWidget *dialogParent, QObject *parent)
    : QObject(parent)
    , m_notify(notify)
    , m_dialogParent(dialogParent)
{
}

QList<Contact> AddressBook::contacts() const
{
    SimCtlContact *raw = nullptr;
    int count = 0;
    const long rc = SimCtl_ListContacts(&raw, &count);
    QList<Contact> result;
    if (rc != UTPS_OK) {
        qCWarning(lcHostPlugin) << "SimCtl_ListContacts returned" << rc;
        return result;
    }
    for (int i = 0; i < count && raw; ++i)
        result.append({raw[i].id, QString::fromUtf8(raw[i].name), QString::fromUtf8(raw[i].number)});
    SimCtl_ReleaseContacts(&raw, count);
    return result;
}

int AddressBook::addContact(const QString &name, const QString &number)
{
    if (name.trimmed().isEmpty() || number.trimmed().isEmpty())
        return -1;
    int id = -1;
    const long rc = SimCtl_AddContact(name.trimmed().toUtf8().constData(), number.trimmed().toUtf8().constData(), &id);
    if (rc != UTPS_OK) {
        qCWarning(lcHostPlugin) << "SimCtl_AddContact returned" << rc;
        return -1;
    }
    if (m_notify)
        m_notify->Broadcast(HostEvent::PhoneBookAdded, 0, 0);
    return id;
}

bool AddressBook::removeContact(int id)
{
    const long rc = SimCtl_RemoveContact(id);
    if (rc != UTPS_OK) {
        qCWarning(lcHostPlugin) << "SimCtl_RemoveContact returned" << rc;
        return false;
    }
    if (m_notify)
        m_notify->Broadcast(HostEvent::PhoneBookRemoved, 0, 0);
    return true;
}

bool AddressBook::sameNumber(const QString &a, const QString &b)
{
    QString x, y;
    for (QChar c : a)
        if (c.isDigit())
            x += c;
    for (QChar c : b)
        if (c.isDigit())
            y += c;
    if (x.isEmpty() || y.isEmpty())
        return false;
    if (x == y)
        return true;
    constexpr int kSubscriberDigits = 9;
    return x.size() >= kSubscriberDigits && y.size() >= kSubscriberDigits && x.right(kSubscriberDigits) == y.right(kSubscriberDigits);
}

QString AddressBook::GetNameByNumber(const QString &number)
{
    const QList<Contact> all = contacts();
    for (const Contact &c : all)
        if (sameNumber(c.number, number))
            return c.name;
    return {};
}

int AddressBook::SaveNumber(const QString &number, QWidget *parent)
{
    QDialog dialog(parent ? parent : m_dialogParent.data());
    dialog.setObjectName(QStringLiteral("dialcrest_SaveContactDialog"));
    dialog.setWindowTitle(HostText::text("IDS_HOST_SAVECONTACT", "Save contact"));
    auto *form = new QFormLayout(&dialog);
    auto *name = new QLineEdit(&dialog);
    name->setObjectName(QStringLiteral("dialcrest_SaveContactName"));
    auto *numberEdit = new QLineEdit(number, &dialog);
    numberEdit->setObjectName(QStringLiteral("dialcrest_SaveContactNumber"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, &dialog);
    form->addRow(HostText::text("IDS_HOST_NAME", "Name"), name);
    form->addRow(HostText::text("IDS_HOST_NUMBER", "Number"), numberEdit);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return 1;  // the form was shown; the user chose not to save
    addContact(name->text(), numberEdit->text());
    return 1;
}

int AddressBook::PickNumbers(int selectionMode, int numberKind, QStringList &numbers)
{
    Q_UNUSED(numberKind)  // the simulated phone book holds mobile numbers only
    // Over the window that asked (a message editor, say), so that closing the picker
    // hands the focus back to it rather than to the main frame.
    QWidget *parent = QApplication::activeWindow();
    ContactPickDialog dialog(contacts(), numbers, selectionMode == 1,
                             parent ? parent : m_dialogParent.data());
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    numbers = dialog.chosenNumbers();
    return 1;
}

void AddressBook::showManager(QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dialcrest_AddressBookDialog"));
    dialog.setWindowTitle(HostText::text("IDS_HOST_ADDRESSBOOK", "Address book"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("dialcrest_AddressBookList"));
    auto refill = [this, list] {
        list->clear();
        const QList<Contact> all = contacts();
        for (const Contact &c : all) {
            auto *item = new QListWidgetItem(c.name + QStringLiteral("  ") + c.number, list);
            item->setData(Qt::UserRole, c.id);
        }
    };
    refill();
    auto *row = new QHBoxLayout;
    auto *name = new QLineEdit(&dialog);
    name->setPlaceholderText(HostText::text("IDS_HOST_NAME", "Name"));
    auto *number = new QLineEdit(&dialog);
    number->setPlaceholderText(HostText::text("IDS_HOST_NUMBER", "Number"));
    auto *add = new QPushButton(HostText::text("IDS_HOST_ADD", "Add"), &dialog);
    auto *remove = new QPushButton(HostText::text("IDS_HOST_REMOVE", "Remove"), &dialog);
    row->addWidget(name);
    row->addWidget(number);
    row->addWidget(add);
    row->addWidget(remove);
    auto *close = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    layout->addWidget(list);
    layout->addLayout(row);
    layout->addWidget(close);
    connect(add, &QPushButton::clicked, &dialog, [=] {
        if (addContact(name->text(), number->text()) >= 0) {
            name->clear();
            number->clear();
            refill();
        }
    });
    connect(remove, &QPushButton::clicked, &dialog, [=] {
        if (QListWidgetItem *item = list->currentItem(); item && removeContact(item->data(Qt::UserRole).toInt()))
            refill();
    });
    connect(close, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.resize(480, 400);
    dialog.exec();
}
