// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotifyService.h"

#include "HostLog.h"
#include "Startup.h"

#include <QList>

namespace {
QString key(const QString &clsid)
{
    return clsid.trimmed().toUpper();
}
} // namespace

NotifyService::NotifyService(PluginContainer *container, QObject *parent)
    : QObject(parent)
    , m_container(container)
{
}

int NotifyService::Subscribe(const QString &clsid, unsigned int event)
{
    if (key(clsid).isEmpty())
        return 0;
    m_subscribers[event].insert(key(clsid));
    qCDebug(lcHostNotify) << clsid << "subscribed to" << event;
    return 1;
}

int NotifyService::Unsubscribe(const QString &clsid, unsigned int event)
{
    auto it = m_subscribers.find(event);
    if (it == m_subscribers.end() || !it->remove(key(clsid)))
        return 0;
    if (it->isEmpty())
        m_subscribers.erase(it);
    return 1;
}

void NotifyService::UnsubscribeAll(const QString &clsid)
{
    const QString k = key(clsid);
    for (auto it = m_subscribers.begin(); it != m_subscribers.end();) {
        it->remove(k);
        it = it->isEmpty() ? m_subscribers.erase(it) : std::next(it);
    }
}

bool NotifyService::IsSubscribed(const QString &clsid, unsigned int event)
{
    return m_subscribers.value(event).contains(key(clsid));
}

INotify *NotifyService::receiver(const QString &clsid) const
{
    QObject *object = m_container ? m_container->GetPlugin(clsid, 0) : nullptr;
    return object ? qobject_cast<INotify *>(object) : nullptr;
}

int NotifyService::SendTo(const QString &target, unsigned int event, unsigned int param1,
                          unsigned int param2)
{
    INotify *notify = receiver(target);
    if (!notify) {
        qCDebug(lcHostNotify) << "event" << event << "for" << target << "dropped: no receiver";
        return 0;
    }
    emit eventSent(target, event, param1, param2);
    notify->Notify(event, param1, param2);
    return 1;
}

int NotifyService::Broadcast(unsigned int event, unsigned int param1, unsigned int param2)
{
    // Copied: a receiver may subscribe or unsubscribe while it handles the event.
    const QList<QString> targets = m_subscribers.value(event).values();
    int delivered = 0;
    for (const QString &target : targets)
        delivered += SendTo(target, event, param1, param2);
    qCDebug(lcHostNotify) << "event" << event << "broadcast to" << delivered << "plug-ins";
    return delivered;
}

int NotifyService::Dispatch(const QString &primary, unsigned int event, unsigned int param1,
                            unsigned int param2)
{
    int delivered = SendTo(primary, event, param1, param2);
    const QList<QString> targets = m_subscribers.value(event).values();
    for (const QString &target : targets) {
        if (target != key(primary))
            delivered += SendTo(target, event, param1, param2);
    }
    return delivered;
}
