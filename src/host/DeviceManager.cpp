// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceManager.h"

#include "CommonUtils.h"
#include "HostLog.h"
#include "HostText.h"
#include "NotifyService.h"
#include "PluginIds.h"
#include "sdk_simulator.h"

namespace {
bool succeeded(const char *call, long rc)
{
    if (rc != UTPS_OK)
        qCWarning(lcHostModem) << call << "returned" << rc;
    return rc == UTPS_OK;
}
} // namespace

DeviceManager::DeviceManager(NotifyService *notify, QObject *parent)
    : QObject(parent)
    , m_notify(notify)
{
    refresh();
}

void DeviceManager::refresh()
{
    int status = UTPS_DEV_STATUS_ABSENT;
    if (succeeded("UTPS_DevSrv_GetDevStatus", UTPS_DevSrv_GetDevStatus(&status)))
        m_devicePlugged = status != UTPS_DEV_STATUS_ABSENT;
    int pinState = UTPS_PIN_STATE_NO_SIM;
    if (m_devicePlugged
        && succeeded("UTPS_DevSrv_GetPinStatus", UTPS_DevSrv_GetPinStatus(0, &pinState, nullptr, nullptr, nullptr)))
        m_simInserted = pinState != UTPS_PIN_STATE_NO_SIM;
    _UTPS_ST_RF_SWITCH rf{1, 1};
    if (m_devicePlugged && succeeded("UTPS_DevSrv_GetRFSwitch", UTPS_DevSrv_GetRFSwitch(&rf)))
        m_flightMode = rf.iSoftSwitch == 0;
    emit stateChanged();
}

void DeviceManager::announceState()
{
    // A plug-in started after the modem came up has heard nothing yet: tell it what is
    // there now, the same way a change would.
    refresh();
    if (!m_devicePlugged)
        return;
    if (IsSimValid())
        dispatch(HostEvent::SimAvailable);
    if (m_flightMode)
        dispatch(HostEvent::FlightModeOn);
}

int DeviceManager::GetDeviceState()
{
    int status = UTPS_DEV_STATUS_ABSENT;
    if (!succeeded("UTPS_DevSrv_GetDevStatus", UTPS_DevSrv_GetDevStatus(&status)))
        return 0;
    switch (status) {
    case UTPS_DEV_STATUS_READY:
        return 2;
    case UTPS_DEV_STATUS_ABSENT:
        return 0;
    default:
        return 1;
    }
}

int DeviceManager::IsSimValid()
{
    int state = UTPS_PIN_STATE_NO_SIM;
    if (!succeeded("UTPS_DevSrv_GetPinStatus", UTPS_DevSrv_GetPinStatus(0, &state, nullptr, nullptr, nullptr)))
        return 0;
    return (state == UTPS_PIN_STATE_READY || state == UTPS_PIN_STATE_VERIFIED) ? 1 : 0;
}

void DeviceManager::dispatch(unsigned int event)
{
    if (m_notify)
        m_notify->Dispatch(QLatin1String(PluginIds::SmsUi), event);
}

bool DeviceManager::setSimInserted(bool inserted)
{
    if (!succeeded("SimCtl_SetSimInserted", SimCtl_SetSimInserted(inserted ? 1 : 0)))
        return false;
    const bool changed = m_simInserted != inserted;
    m_simInserted = inserted;
    // Without a modem the card cannot be seen: the plug-ins hear about it on plugging.
    if (changed && m_devicePlugged)
        dispatch(inserted ? HostEvent::SimAvailable : HostEvent::SimUnavailable);
    emit stateChanged();
    return true;
}

bool DeviceManager::setDevicePlugged(bool plugged)
{
    if (!succeeded("SimCtl_SetDevicePlugged", SimCtl_SetDevicePlugged(plugged ? 1 : 0)))
        return false;
    const bool changed = m_devicePlugged != plugged;
    m_devicePlugged = plugged;
    if (changed && plugged) {
        if (m_simInserted)
            dispatch(HostEvent::SimAvailable);
    } else if (changed) {
        dispatch(HostEvent::DeviceRemoved);
        // The SMS page remembers the card as present until told otherwise; a later
        // "SIM available" on re-plugging would be ignored without this.
        if (m_simInserted)
            dispatch(HostEvent::SimUnavailable);
    }
    emit stateChanged();
    return true;
}

bool DeviceManager::setFlightMode(bool on)
{
    if (!succeeded("SimCtl_SetFlightMode", SimCtl_SetFlightMode(on ? 1 : 0)))
        return false;
    const bool changed = m_flightMode != on;
    m_flightMode = on;
    if (changed)
        dispatch(on ? HostEvent::FlightModeOn : HostEvent::FlightModeOff);
    emit stateChanged();
    return true;
}

bool DeviceManager::setCanSend(bool canSend)
{
    if (!succeeded("SimCtl_SetCanSend", SimCtl_SetCanSend(canSend ? 1 : 0)))
        return false;
    m_canSend = canSend;
    emit stateChanged();
    return true;
}

QString DeviceManager::summary() const
{
    if (!m_devicePlugged)
        return HostText::text("IDS_HOST_NODEVICE", "No modem");
    QString text = HostText::text("IDS_HOST_MODEM", "Modem ready");
    text += QStringLiteral(" · ")
        + (m_simInserted ? HostText::text("IDS_HOST_SIM", "SIM") : HostText::text("IDS_HOST_NOSIM", "No SIM"));
    if (m_flightMode)
        text += QStringLiteral(" · ") + HostText::text("IDS_HOST_FLIGHT", "Flight mode");
    return text;
}

int DeviceManager::receiveStorageFromSetting()
{
    const QString value = CommonUtils::GetSettings(QStringLiteral("SMSSERVICE"), QStringLiteral("ReceviceMode"));
    return value.trimmed() == QLatin1String("1") ? UTPS_SMS_MEM_SIM : UTPS_SMS_MEM_PC;
}

bool DeviceManager::applyReceiveStorageSetting()
{
    const int storage = receiveStorageFromSetting();
    qCDebug(lcHostModem) << "receive storage" << storage;
    return succeeded("SimCtl_SetReceiveStorage", SimCtl_SetReceiveStorage(storage));
}
