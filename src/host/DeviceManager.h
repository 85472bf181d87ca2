// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device manager: answers other plug-ins' questions about the modem from the device
// SDK, and changes the simulated modem's state on behalf of the Modem menu, telling the
// plug-ins what a real modem change would make the host tell them.
#include "HostInterfaces.h"

#include <QObject>

class NotifyService;

class DeviceManager : public QObject, public IDeviceMgr
{
    Q_OBJECT
    Q_INTERFACES(IDeviceMgr)
public:
    explicit DeviceManager(NotifyService *notify, QObject *parent = nullptr);

    // 0 no device, 1 device starting, 2 device ready.
    int GetDeviceState() override;
    int IsSimValid() override;

    // Each returns false (and changes nothing) when the simulator refuses.
    bool setSimInserted(bool inserted);
    bool setDevicePlugged(bool plugged);
    bool setFlightMode(bool on);
    bool setCanSend(bool canSend);

    bool simInserted() const { return m_simInserted; }
    bool devicePlugged() const { return m_devicePlugged; }
    bool flightMode() const { return m_flightMode; }
    bool canSend() const { return m_canSend; }

    // Reads the state back from the SDK (after a reset or at start-up).
    void refresh();
    // Sends the current SIM and flight-mode state to the plug-ins, as after a change.
    void announceState();
    // One line for the status bar.
    QString summary() const;

    // Where new messages are received, from the host setting "SMSSERVICE"/"ReceviceMode":
    // "1" means on the card (SIM), anything else on the PC.
    static int receiveStorageFromSetting();
    bool applyReceiveStorageSetting();

signals:
    void stateChanged();

private:
    void dispatch(unsigned int event);

    NotifyService *m_notify;
    bool m_simInserted = true;
    bool m_devicePlugged = true;
    bool m_flightMode = false;
    bool m_canSend = true;
};
