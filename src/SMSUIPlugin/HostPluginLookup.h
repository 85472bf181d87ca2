// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding one of the host's plug-ins in the plug-in container by CLSID and interface number,
// as the interface the caller needs. Null when the container, the plug-in or the interface
// is missing; the object stays owned by the host.
#include <QString>

#include "HostInterfaces.h"
#include "Startup.h"

template<typename Interface>
Interface *pluginInterface(PluginContainer *container, const char *clsid, int interfaceId)
{
    if (!container)
        return nullptr;
    QObject *object = container->GetPlugin(QString::fromLatin1(clsid), interfaceId);
    return object ? qobject_cast<Interface *>(object) : nullptr;
}
