// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The compact frame used in mini mode: a small tool window that announces which plug-in
// asked to be shown and offers to open it in the main frame.
#include "HostInterfaces.h"

#include <QObject>
#include <QPointer>

class QLabel;
class QWidget;
class PluginContainer;

class MiniFrame : public QObject, public IMiniFrameUIService
{
    Q_OBJECT
    Q_INTERFACES(IMiniFrameUIService)
public:
    explicit MiniFrame(PluginContainer *container, QObject *parent = nullptr);
    ~MiniFrame() override;

    // 1 when the plug-in is known to the container and the mini frame now shows it.
    int ShowPlugin(const QString &clsid) override;
    QWidget *GetMiniWidget() override;

    QString shownPlugin() const { return m_shownPlugin; }

signals:
    // The user asked to open the shown plug-in's page in the main frame.
    void openRequested(const QString &pluginName);

private:
    void ensureWidget();

    PluginContainer *m_container;
    QPointer<QWidget> m_widget;
    QLabel *m_label = nullptr;
    QString m_shownPlugin;
};
