// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusBarNotifier.h"

#include "HostText.h"
#include "MainFrame.h"
#include "PluginIds.h"
#include "Startup.h"

StatusBarNotifier::StatusBarNotifier(PluginContainer *container, MainFrame *frame, QObject *parent)
    : QObject(parent)
    , m_container(container)
    , m_frame(frame)
{
}

int StatusBarNotifier::Notify(unsigned int event, unsigned int, unsigned int)
{
    if (!m_frame)
        return 0;
    switch (event) {
    case HostEvent::StatusBarNotice:
        refreshUnreadCount();
        return 1;
    case HostEvent::SmsCanSend:
        m_frame->setSendingSummary(HostText::text("IDS_HOST_CANSEND", "Messages can be sent"));
        return 1;
    case HostEvent::SmsCannotSend:
        m_frame->setSendingSummary(HostText::text("IDS_HOST_CANNOTSEND", "Messages cannot be sent"));
        return 1;
    default:
        return 0;
    }
}

int StatusBarNotifier::refreshUnreadCount()
{
    QObject *object = m_container ? m_container->GetPlugin(QLatin1String(PluginIds::SmsUi),
                                                           InterfaceId::SmsUiService)
                                  : nullptr;
    auto *service = object ? qobject_cast<ISMSUIService *>(object) : nullptr;
    if (!service)
        return -1;
    const int count = service->GetUnReadSMSTotalCount();
    if (m_frame)
        m_frame->setUnreadCount(count);
    return count;
}
