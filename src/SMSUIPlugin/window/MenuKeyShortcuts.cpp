// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuKeyShortcuts.h"

#include <QAction>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include "Change.h"

namespace {
QKeySequence sequenceOf(const QString &key)
{
    QString text;
    QKeySequence sequence;
    Change::tr(key, QStringLiteral("SMSUIPlugin"), text, sequence);
    return sequence;
}
} // namespace

MenuKeyShortcuts::MenuKeyShortcuts(QWidget *window,
                                   std::function<QAction *(const QString &)> actionOf,
                                   std::function<void()> prepare)
    : QObject(window)
    , m_window(window)
    , m_actionOf(std::move(actionOf))
    , m_prepare(std::move(prepare))
{
}

void MenuKeyShortcuts::addKey(const QString &key)
{
    auto *shortcut = new QShortcut(sequenceOf(key), m_window);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, key] { activate(key); });
    m_entries.push_back({key, shortcut});
}

void MenuKeyShortcuts::retranslate()
{
    for (const Entry &entry : m_entries)
        entry.shortcut->setKey(sequenceOf(entry.key));
}

void MenuKeyShortcuts::activate(const QString &key)
{
    // The same rules decide as when the menu opens: a key does only what the menu
    // would offer for this folder and selection.
    if (m_prepare)
        m_prepare();
    QAction *action = m_actionOf ? m_actionOf(key) : nullptr;
    if (action && action->isEnabled() && action->isVisible())
        action->trigger();
}
