// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Receives the "messages changed" notice (event 354) and the SMS module's can-send
// broadcasts (352/353) and shows them in the main frame's status bar.
#include "HostInterfaces.h"

#include <QObject>
#include <QPointer>

class MainFrame;
class PluginContainer;

class StatusBarNotifier : public QObject, public INotify
{
    Q_OBJECT
    Q_INTERFACES(INotify)
public:
    StatusBarNotifier(PluginContainer *container, MainFrame *frame, QObject *parent = nullptr);

    int Notify(unsigned int event, unsigned int param1, unsigned int param2) override;
    // Asks the SMS service for the unread total and shows it; -1 without the service.
    int refreshUnreadCount();

private:
    PluginContainer *m_container;
    QPointer<MainFrame> m_frame;
};
