// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The plug-in container: the host registers each of its plug-ins under a CLSID (and a
// name), and plug-ins find each other through it. Startup owns the one container of the
// process; the host creates it at start-up and destroys it at the end.
#include "CoreExport.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class DIALCREST_CORE_EXPORT PluginContainer : public QObject
{
    Q_OBJECT
public:
    explicit PluginContainer(QObject *parent = nullptr);
    ~PluginContainer() override;

    // The object registered for (clsid, interfaceId), else the plug-in's default object
    // (registered with interfaceId 0), else null. Null too for a plug-in marked
    // unavailable. Not owned by the caller; it may be deleted by the host at any time
    // after the call returns (the container forgets deleted objects on its own).
    QObject *GetPlugin(const QString &clsid, int interfaceId = 0) const;

    // Registers plugin under clsid (case-insensitive) and name. The container does not
    // take ownership. Registering again replaces the earlier object for that number.
    void RegisterPlugin(const QString &clsid, const QString &name, QObject *plugin,
                        int interfaceId = 0);
    void UnregisterPlugin(const QString &clsid);

    // A registered plug-in can be switched off without removing it (for example the call
    // plug-in on a data-only modem); GetPlugin then returns null for it.
    void SetPluginAvailable(const QString &clsid, bool available);
    bool IsPluginAvailable(const QString &clsid) const;

    // Name <-> CLSID of registered plug-ins; empty when unknown.
    QString GetCLSIDByName(const QString &name) const;
    QString GetNameByCLSID(const QString &clsid) const;
    QStringList GetCLSIDs() const;

signals:
    void pluginRegistered(const QString &clsid);
    void pluginUnregistered(const QString &clsid);

private:
    struct Entry
    {
        QString clsid;  // as registered, for GetCLSIDs
        QString name;
        bool available = true;
        QHash<int, QPointer<QObject>> objects;
    };
    static QString normalised(const QString &clsid);
    const Entry *entry(const QString &clsid) const;

    QHash<QString, Entry> m_entries;  // key: upper-cased CLSID
};

class DIALCREST_CORE_EXPORT Startup
{
public:
    // The process's container, or null before CreatePluginContainer / after Destroy.
    // Owned by Startup.
    static PluginContainer *GetPluginContainer();
    // Creates the container if there is none and returns it.
    static PluginContainer *CreatePluginContainer();
    static void DestroyPluginContainer();
};
