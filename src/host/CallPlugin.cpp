// SPDX-License-Identifier: GPL-3.0-or-later
#include "CallPlugin.h"

#include "HostLog.h"
#include "HostText.h"
#include "MainFrame.h"
#include "ShownText.h"
#include "utps_sdk.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CallPlugin::CallPlugin(MainFrame *frame, QObject *parent)
    : QObject(parent)
    , m_frame(frame)
{
}

CallPlugin::~CallPlugin()
{
    delete m_notification;
}

int CallPlugin::MakeCall(const QString &number, int callType)
{
    const QString trimmed = number.trimmed();
    if (trimmed.isEmpty())
        return 0;
    int status = UTPS_DEV_STATUS_ABSENT;
    const long rc = UTPS_DevSrv_GetDevStatus(&status);
    if (rc != UTPS_OK || status != UTPS_DEV_STATUS_READY) {
        qCWarning(lcHostPlugin) << "call to" << trimmed << "refused: UTPS_DevSrv_GetDevStatus returned" << rc
                                << "status" << status;
        if (m_frame)
            m_frame->showTransientMessage(HostText::text("IDS_HOST_CALL_NODEVICE", "Cannot call: no modem"));
        return 0;
    }
    m_lastNumber = trimmed;
    if (!m_notification) {
        m_notification = new QDialog(m_frame, Qt::Tool);
        m_notification->setObjectName(QStringLiteral("dialcrest_CallNotification"));
        m_notification->setAttribute(Qt::WA_DeleteOnClose);
        auto *layout = new QVBoxLayout(m_notification);
        auto *label = new QLabel(m_notification);
        label->setObjectName(QStringLiteral("dialcrest_CallNumber"));
        // The number may be a sender's name from the network: never markup.
        label->setTextFormat(Qt::PlainText);
        auto *hangUp = new QPushButton(HostText::text("IDS_HOST_HANGUP", "Hang up"), m_notification);
        hangUp->setObjectName(QStringLiteral("dialcrest_CallHangUp"));
        layout->addWidget(label);
        layout->addWidget(hangUp);
        connect(hangUp, &QPushButton::clicked, m_notification.data(), &QDialog::close);
    }
    m_notification->setWindowTitle(HostText::text("IDS_HOST_CALL_TITLE", "Voice call"));
    const QString calling = HostText::text("IDS_HOST_CALLING", "Calling %1…").arg(ShownText::field(trimmed));
    m_notification->findChild<QLabel *>(QStringLiteral("dialcrest_CallNumber"))->setText(calling);
    m_notification->show();
    if (m_frame)
        m_frame->showTransientMessage(calling, 10000);
    qCDebug(lcHostPlugin) << "call started to" << trimmed << "type" << callType;
    emit callStarted(trimmed);
    return 1;
}

bool CallPlugin::IsCallNotificationVisible()
{
    return m_notification && m_notification->isVisible();
}

void CallPlugin::RaiseCallNotification()
{
    if (m_notification) {
        m_notification->show();
        m_notification->raise();
    }
}
