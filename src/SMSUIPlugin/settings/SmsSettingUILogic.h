// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The SMS settings as the rest of the plug-in sees them: the modem's (service centre,
// validity period, priority, delivery report, through the device SDK), the host's (group
// "SMSSERVICE": save mode, alerts, sound file) and the configuration file's values.
#include <QList>
#include <QMultiHash>
#include <QObject>
#include <QString>

#include "utps_sdk.h"

class SmsSettingXMLParse;

class SMSSettingUILogic : public QObject
{
    Q_OBJECT
public:
    // Status of the integer operations.
    enum { SettingOk = 0, SettingFailed = 23 };

    // Process-wide instance, created on first use (from any thread); Destroy() deletes it.
    static SMSSettingUILogic *GetInstance();
    static void Destroy();

    // Reads the configuration file into a new map (replacing the previous one). Returns the
    // reader's result: 0, or 3/25/6 (values read before an XML error stay).
    int InitSmsXMLConfiguration();

    void RegisterDevice();
    void UnRegisterDevice();
    // Device-SDK callback, on the SDK's thread: relays the device-initialised events as
    // DeviceInit(). Returns 1 when it did.
    static int OnDeviceChangeEvent(int event, void *data);

    bool GetDeviceStatus() const;
    bool IsSimValid() const;

    int GetSMSCentreNumber(QString *number) const;
    int SetSMSCentreNumber(const QString &number);
    int GetSMSValidityPeriod(int *seconds) const;
    int SetSMSValidityPeriod(int seconds);
    int GetMessagePrioritySetting(_UTPS_EN_SMS_PRIORITY *priority) const;
    int SaveMessagePrioritySetting(_UTPS_EN_SMS_PRIORITY priority);
    int GetDeliveryReportSetting(bool *on) const;
    int DeliveryReportSetting(bool on);

    // "WCDMA", "CDMA", "SCDMA" or "UNKNOW".
    int GetProductType(QString *type) const;
    // The host's word for the card ("customize" group), empty when unknown.
    QString GetSimString() const;

    // Host settings of the group "SMSSERVICE".
    int GetSMSSetting(const QString &key, bool *value) const;
    int SetSMSSetting(const QString &key, bool value);
    int GetSoundAlertFile(QString *path) const;
    int SetSoundAlertFile(const QString &path);

    // Configuration look-ups. A key missing from the file leaves *value untouched so that
    // the caller's default applies.
    int GetSMSConfigValue(const QString &key, bool *value) const;
    int GetNumberLimitConfigValue(QString *pattern) const;
    // Every configured validity-period key, most recently read first.
    QList<QString> GetValidityPeriodList() const;

Q_SIGNALS:
    void DeviceInit();

private:
    SMSSettingUILogic();
    ~SMSSettingUILogic() override;

    SmsSettingXMLParse *m_pXmlParse = nullptr;
    QMultiHash<QString, QString> *m_pConfigMap = nullptr;  // owned; null until read
    const QString m_strGroup = QStringLiteral("SMSSERVICE");
};
