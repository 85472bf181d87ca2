// SPDX-License-Identifier: GPL-3.0-or-later
#include "LayoutPlugin.h"

#include "HostLog.h"
#include "MainFrame.h"

LayoutPlugin::LayoutPlugin(MainFrame *frame, QObject *parent)
    : QObject(parent)
    , m_frame(frame)
{
}

int LayoutPlugin::ShowPluginPage(const QString &pluginName)
{
    if (!m_frame || !m_frame->showPage(pluginName)) {
        qCWarning(lcHost) << "no page for plug-in" << pluginName;
        return 0;
    }
    m_frame->BringToFront();
    return 1;
}
