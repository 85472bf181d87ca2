// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleAlert.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace {
const char kAlertProperty[] = "dialcrest_accessibleAlert";

// Consulted before Qt's own widget interfaces for the same class, so a marked window
// reads as an alert message (the role message boxes have) instead of a plain dialog.
QAccessibleInterface *alertFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->isWindow() || !widget->property(kAlertProperty).toBool())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::AlertMessage);
}
} // namespace

void AccessibleAlert::mark(QWidget *window)
{
    if (!window)
        return;
    static const bool installed = [] {
        QAccessible::installFactory(alertFactory);
        return true;
    }();
    Q_UNUSED(installed);
    window->setProperty(kAlertProperty, true);
}

void AccessibleAlert::announce(QWidget *window)
{
    if (!window)
        return;
    QAccessibleEvent alert(window, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}
