// SPDX-License-Identifier: GPL-3.0-or-later
#include "HostText.h"

#include "Change.h"

#include <QAction>
#include <QList>
#include <QMenu>
#include <QPointer>

namespace HostText {

namespace {

struct Binding
{
    QPointer<QObject> owner;
    const char *key;
    const char *english;
    std::function<void(const QString &)> apply;
};

// GUI thread only, like the widgets the bindings change.
QList<Binding> &bindings()
{
    static QList<Binding> list;
    return list;
}

} // namespace

QString text(const char *key, const char *english)
{
    const QString k = QString::fromLatin1(key);
    const QString context = QString::fromLatin1(Change::HostContext);
    if (Change::HasTranslation(k, context))
        return Change::tr(k, context);
    return QString::fromUtf8(english);
}

void bind(QObject *owner, const char *key, const char *english, std::function<void(const QString &)> apply)
{
    if (!owner || !apply)
        return;
    apply(text(key, english));
    bindings().append({owner, key, english, std::move(apply)});
}

void bind(QAction *action, const char *key, const char *english)
{
    bind(action, key, english, [action](const QString &t) { action->setText(t); });
}

void bind(QMenu *menu, const char *key, const char *english)
{
    bind(menu, key, english, [menu](const QString &t) { menu->setTitle(t); });
}

void retranslateAll()
{
    QList<Binding> &list = bindings();
    list.erase(std::remove_if(list.begin(), list.end(), [](const Binding &b) { return b.owner.isNull(); }),
               list.end());
    for (const Binding &b : std::as_const(list))
        b.apply(text(b.key, b.english));
}

} // namespace HostText
