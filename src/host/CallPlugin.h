// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The voice-call plug-in: there is no audio path to a simulated modem, so a call is shown
// as a small "calling" window and a status-bar message, which is what the SMS page needs
// to hand a number over.
#include "HostInterfaces.h"

#include <QObject>
#include <QPointer>

class QDialog;
class MainFrame;

class CallPlugin : public QObject, public ICallUIPlugin
{
    Q_OBJECT
    Q_INTERFACES(ICallUIPlugin)
public:
    explicit CallPlugin(MainFrame *frame, QObject *parent = nullptr);
    ~CallPlugin() override;

    // Non-zero when the call was started: a number and a ready modem are needed.
    int MakeCall(const QString &number, int callType) override;
    bool IsCallNotificationVisible() override;
    void RaiseCallNotification() override;

    QString lastNumber() const { return m_lastNumber; }

signals:
    void callStarted(const QString &number);

private:
    QPointer<MainFrame> m_frame;
    QPointer<QDialog> m_notification;
    QString m_lastNumber;
};
