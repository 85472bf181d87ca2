// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContactPickDialog.h"

#include "HostText.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

ContactPickDialog::ContactPickDialog(const QList<Contact> &contacts, const QStringList &chosen, bool multiple,
                                     QWidget *parent)
    : QDialog(parent)
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("dialcrest_ContactPickDialog"));
    setWindowTitle(HostText::text("IDS_HOST_PICK", "Choose recipients"));
    m_list->setObjectName(QStringLiteral("dialcrest_ContactPickList"));
    m_list->setAccessibleName(HostText::text("IDS_ACC_CONTACTS", "Contacts"));
    QStringList unmatched = chosen;
    for (const Contact &c : contacts) {
        auto *item = new QListWidgetItem(c.name + QStringLiteral("  ") + c.number, m_list);
        item->setData(Qt::UserRole, c.number);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        bool ticked = false;
        for (auto it = unmatched.begin(); it != unmatched.end();) {
            if (AddressBook::sameNumber(*it, c.number)) {
                ticked = true;
                it = unmatched.erase(it);
            } else {
                ++it;
            }
        }
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    m_kept = unmatched;
    if (!multiple) {
        // A single choice: ticking one contact unticks the others.
        connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem *changed) {
            if (changed->checkState() != Qt::Checked)
                return;
            const QSignalBlocker block(m_list);
            for (int i = 0; i < m_list->count(); ++i) {
                if (m_list->item(i) != changed)
                    m_list->item(i)->setCheckState(Qt::Unchecked);
            }
        });
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("dialcrest_ContactPickButtons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(360, 420);
}

QStringList ContactPickDialog::chosenNumbers() const
{
    QStringList numbers = m_kept;
    for (int i = 0; i < m_list->count(); ++i) {
        const QListWidgetItem *item = m_list->item(i);
        const QString number = item->data(Qt::UserRole).toString();
        if (item->checkState() == Qt::Checked && !numbers.contains(number))
            numbers << number;
    }
    return numbers;
}
