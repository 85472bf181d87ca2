// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page switcher plug-ins reach through CommonUtils::GetLayoutPlugin(): it brings a
// plug-in's page to the front of the main frame and keeps the toolbar and menu in step.
#include "HostInterfaces.h"

#include <QObject>
#include <QPointer>

class MainFrame;

class LayoutPlugin : public QObject, public ILayoutPlugin
{
    Q_OBJECT
    Q_INTERFACES(ILayoutPlugin)
public:
    explicit LayoutPlugin(MainFrame *frame, QObject *parent = nullptr);
    // 1 when the page exists and is now in front, 0 otherwise.
    int ShowPluginPage(const QString &pluginName) override;

private:
    QPointer<MainFrame> m_frame;
};
