// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host's notification service: plug-ins subscribe to event numbers by CLSID; events go
// either to one plug-in (SendTo) or to every subscriber (Broadcast). Receivers are looked
// up in the plug-in container at delivery time and reached through INotify, so a plug-in
// that disappeared is skipped instead of called.
#include "HostInterfaces.h"

#include <QHash>
#include <QObject>
#include <QSet>

class PluginContainer;

class NotifyService : public QObject, public INotifyService
{
    Q_OBJECT
    Q_INTERFACES(INotifyService)
public:
    explicit NotifyService(PluginContainer *container, QObject *parent = nullptr);

    int Subscribe(const QString &clsid, unsigned int event) override;
    int Unsubscribe(const QString &clsid, unsigned int event) override;
    int SendTo(const QString &target, unsigned int event, unsigned int param1,
               unsigned int param2) override;
    bool IsSubscribed(const QString &clsid, unsigned int event) override;
    int Broadcast(unsigned int event, unsigned int param1, unsigned int param2) override;

    // Forgets every subscription of clsid (the plug-in is being unloaded).
    void UnsubscribeAll(const QString &clsid);
    // A host event: delivered to primary (subscribed or not) and to every other subscriber
    // of event. Returns the number of plug-ins reached.
    int Dispatch(const QString &primary, unsigned int event, unsigned int param1 = 0,
                 unsigned int param2 = 0);

signals:
    // Every delivery attempt, for the host's own listeners (status bar, logs).
    void eventSent(const QString &target, unsigned int event, unsigned int param1, unsigned int param2);

private:
    INotify *receiver(const QString &clsid) const;

    PluginContainer *m_container;
    QHash<unsigned int, QSet<QString>> m_subscribers;  // event -> upper-cased CLSIDs
};
