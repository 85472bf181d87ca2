// SPDX-License-Identifier: GPL-3.0-or-later
#include "Startup.h"

#include "CoreLog.h"

#include <QMutex>
#include <QMutexLocker>

PluginContainer::PluginContainer(QObject *parent)
    : QObject(parent)
{
}

PluginContainer::~PluginContainer() = default;

QString PluginContainer::normalised(const QString &clsid)
{
    return clsid.trimmed().toUpper();
}

const PluginContainer::Entry *PluginContainer::entry(const QString &clsid) const
{
    const auto it = m_entries.constFind(normalised(clsid));
    return it == m_entries.constEnd() ? nullptr : &it.value();
}

QObject *PluginContainer::GetPlugin(const QString &clsid, int interfaceId) const
{
    const Entry *e = entry(clsid);
    if (!e || !e->available)
        return nullptr;
    if (QObject *specific = e->objects.value(interfaceId))
        return specific;
    return e->objects.value(0);
}

void PluginContainer::RegisterPlugin(const QString &clsid, const QString &name,
                                     QObject *plugin, int interfaceId)
{
    if (clsid.trimmed().isEmpty() || !plugin) {
        qCWarning(lcCorePlugins) << "RegisterPlugin: empty CLSID or null object for" << name;
        return;
    }
    Entry &e = m_entries[normalised(clsid)];
    e.clsid = clsid;
    if (!name.isEmpty())
        e.name = name;
    e.objects.insert(interfaceId, plugin);
    emit pluginRegistered(clsid);
}

void PluginContainer::UnregisterPlugin(const QString &clsid)
{
    if (m_entries.remove(normalised(clsid)) > 0)
        emit pluginUnregistered(clsid);
}

void PluginContainer::SetPluginAvailable(const QString &clsid, bool available)
{
    auto it = m_entries.find(normalised(clsid));
    if (it == m_entries.end()) {
        qCWarning(lcCorePlugins) << "SetPluginAvailable: unknown CLSID" << clsid;
        return;
    }
    it->available = available;
}

bool PluginContainer::IsPluginAvailable(const QString &clsid) const
{
    const Entry *e = entry(clsid);
    if (!e || !e->available)
        return false;
    for (const QPointer<QObject> &object : e->objects) {
        if (object)
            return true;
    }
    return false;
}

QString PluginContainer::GetCLSIDByName(const QString &name) const
{
    for (const Entry &e : m_entries) {
        if (!name.isEmpty() && e.name.compare(name, Qt::CaseInsensitive) == 0)
            return e.clsid;
    }
    return QString();
}

QString PluginContainer::GetNameByCLSID(const QString &clsid) const
{
    const Entry *e = entry(clsid);
    return e ? e->name : QString();
}

QStringList PluginContainer::GetCLSIDs() const
{
    QStringList ids;
    for (const Entry &e : m_entries)
        ids << e.clsid;
    ids.sort(Qt::CaseInsensitive);
    return ids;
}

namespace {
QMutex g_containerMutex;
PluginContainer *g_container = nullptr;
} // namespace

PluginContainer *Startup::GetPluginContainer()
{
    QMutexLocker lock(&g_containerMutex);
    return g_container;
}

PluginContainer *Startup::CreatePluginContainer()
{
    QMutexLocker lock(&g_containerMutex);
    if (!g_container)
        g_container = new PluginContainer;
    return g_container;
}

void Startup::DestroyPluginContainer()
{
    PluginContainer *container = nullptr;
    {
        QMutexLocker lock(&g_containerMutex);
        container = g_container;
        g_container = nullptr;
    }
    delete container;
}
