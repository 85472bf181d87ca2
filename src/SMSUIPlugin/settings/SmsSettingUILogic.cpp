// SPDX-License-Identifier: GPL-3.0-or-later
#include "SmsSettingUILogic.h"

#include <QMutex>
#include <QMutexLocker>

#include "CommonUtils.h"
#include "operations/CardName.h"
#include "SmsLog.h"
#include "SmsSettingXMLParse.h"
#include "HostInterfaces.h"
#include "PluginIds.h"
#include "Startup.h"

namespace {

SMSSettingUILogic *s_pInstance = nullptr;
// The device callback reads the instance on the SDK's thread while the GUI thread may be
// destroying it. Recursive: a slot connected directly may call GetInstance() from inside
// the emission.
QRecursiveMutex s_instanceMutex;

constexpr int kCentreNumberUnits = 100;


int status(long sdkResult)
{
    return sdkResult == UTPS_OK ? SMSSettingUILogic::SettingOk : SMSSettingUILogic::SettingFailed;
}

// The host answers true when the value reached its settings file.
int hostResult(bool written)
{
    if (!written)
        qCWarning(lcSmsSettings) << "host settings file could not be written:"
                                 << CommonUtils::SettingsFile();
    return written ? SMSSettingUILogic::SettingOk : SMSSettingUILogic::SettingFailed;
}

} // namespace

SMSSettingUILogic *SMSSettingUILogic::GetInstance()
{
    QMutexLocker locker(&s_instanceMutex);
    if (!s_pInstance)
        s_pInstance = new SMSSettingUILogic;
    return s_pInstance;
}

void SMSSettingUILogic::Destroy()
{
    SMSSettingUILogic *instance = nullptr;
    {
        QMutexLocker locker(&s_instanceMutex);
        instance = s_pInstance;
        s_pInstance = nullptr;
    }
    delete instance;
}

SMSSettingUILogic::SMSSettingUILogic() = default;

SMSSettingUILogic::~SMSSettingUILogic()
{
    delete m_pConfigMap;
    SmsSettingXMLParse::Destroy();
}

int SMSSettingUILogic::InitSmsXMLConfiguration()
{
    delete m_pConfigMap;
    m_pConfigMap = new QMultiHash<QString, QString>;
    m_pXmlParse = SmsSettingXMLParse::GetInstance();
    const int result = m_pXmlParse->GetSettingsFromXML(m_pConfigMap);
    if (result != 0)
        qCWarning(lcSmsSettings) << "configuration not read completely, result" << result;
    return result;
}

void SMSSettingUILogic::RegisterDevice()
{
    const long result = UTPS_DevSrv_RegisterDevInitEventCallback(&OnDeviceChangeEvent);
    if (result != UTPS_OK)
        qCWarning(lcSmsSettings) << "UTPS_DevSrv_RegisterDevInitEventCallback failed:" << result;
}

void SMSSettingUILogic::UnRegisterDevice()
{
    const long result = UTPS_DevSrv_UnRegisterDevInitEventCallback(&OnDeviceChangeEvent);
    if (result != UTPS_OK)
        qCWarning(lcSmsSettings) << "UTPS_DevSrv_UnRegisterDevInitEventCallback failed:" << result;
    else
        qCDebug(lcSmsSettings) << "UTPS_DevSrv_UnRegisterDevInitEventCallback Success";
}

int SMSSettingUILogic::OnDeviceChangeEvent(int event, void * /*data*/)
{
    QMutexLocker locker(&s_instanceMutex);
    if (!s_pInstance)
        return 0;
    if (event != UTPS_EVENT_DEV_DEVICE_INIT_FINISH && event != UTPS_EVENT_DEV_DEVICE_REINIT_FINISH)
        return 0;
    qCDebug(lcSmsSettings) << (event == UTPS_EVENT_DEV_DEVICE_INIT_FINISH
                                   ? "UTPS_EVENT_DEV_DEVICE_INIT_FINISH"
                                   : "UTPS_EVENT_DEV_DEVICE_REINIT_FINISH");
    // Emitted on the SDK's thread; receivers in the GUI thread get it queued.
    Q_EMIT s_pInstance->DeviceInit();
    return 1;
}

bool SMSSettingUILogic::GetDeviceStatus() const
{
    int deviceStatus = 0;
    const long result = UTPS_DevSrv_GetDevStatus(&deviceStatus);
    if (result != UTPS_OK)
        qCWarning(lcSmsSettings) << "UTPS_DevSrv_GetDevStatus returned" << result;
    return result == UTPS_OK && deviceStatus == UTPS_DEV_STATUS_READY;
}

bool SMSSettingUILogic::IsSimValid() const
{
    PluginContainer *container = Startup::GetPluginContainer();
    if (!container) {
        qCWarning(lcSmsSettings) << "Plugin container is null";
        return false;
    }
    QObject *plugin = container->GetPlugin(QLatin1String(PluginIds::DeviceMgr), InterfaceId::DeviceMgr);
    auto *deviceMgr =
        plugin ? static_cast<IDeviceMgr *>(plugin->qt_metacast(IDeviceMgr_iid)) : nullptr;
    if (!deviceMgr) {
        qCWarning(lcSmsSettings) << "device manager plug-in is missing";
        return false;
    }
    return deviceMgr->IsSimValid() != 0;
}

int SMSSettingUILogic::GetSMSCentreNumber(QString *number) const
{
    if (!number)
        return SettingFailed;
    UTPS_WCHAR buffer[kCentreNumberUnits] = {};
    int type = 0;
    const long result = UTPS_SMSSrv_GetSMSCentreNumber(&type, buffer, kCentreNumberUnits);
    if (result != UTPS_OK) {
        qCWarning(lcSmsSettings) << "UTPS_SMSSrv_GetSMSCentreNumber() returned" << result;
        return SettingFailed;
    }
    buffer[kCentreNumberUnits - 1] = 0;
    *number = QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer));
    return SettingOk;
}

int SMSSettingUILogic::SetSMSCentreNumber(const QString &number)
{
    const long result =
        UTPS_SMSSrv_SetSMSCentreNumber(reinterpret_cast<const UTPS_WCHAR *>(number.utf16()));
    if (result != UTPS_OK)
        qCWarning(lcSmsSettings) << "UTPS_SMSSrv_SetSMSCentreNumber() returned" << result;
    return status(result);
}

int SMSSettingUILogic::GetSMSValidityPeriod(int *seconds) const
{
    const long result = seconds ? UTPS_SMSSrv_GetSMSValidityPeriod(seconds) : UTPS_E_INVALID_ARG;
    if (result != UTPS_OK)
        qCWarning(lcSmsSettings) << "UTPS_SMSSrv_GetSMSValidityPeriod() returned" << result;
    return status(result);
}

int SMSSettingUILogic::SetSMSValidityPeriod(int seconds)
{
    const long result = UTPS_SMSSrv_SetSMSValidityPeriod(seconds);
    if (result != UTPS_OK)
        qCWarning(lcSmsSettings) << "UTPS_SMSSrv_SetSMSValidityPeriod() returned" << result;
    return status(result);
}

int SMSSettingUILogic::GetMessagePrioritySetting(_UTPS_EN_SMS_PRIORITY *priority) const
{
    const long result = priority ? UTPS_SMSSrv_SMSGetPriority(priority) : UTPS_E_INVALID_ARG;
    if (result != UTPS_OK)
        qCWarning(lcSmsSettings) << "UTPS_SMSSrv_SMSGetPriority() returned" << result;
    return status(result);
}

int SMSSettingUILogic::SaveMessagePrioritySetting(_UTPS_EN_SMS_PRIORITY priority)
{
    const long result = UTPS_SMSSrv_SMSSetPriority(priority);
    if (result != UTPS_OK)
        qCWarning(lcSmsSettings) << "UTPS_SMSSrv_SMSSetPriority() returned" << result;
    return status(result);
}

int SMSSettingUILogic::GetDeliveryReportSetting(bool *on) const
{
    if (!on)
        return SettingFailed;
    int value = 0;
    const long result = UTPS_SMSSrv_GetSMSReceiptNotify(&value);
    if (result != UTPS_OK) {
        qCWarning(lcSmsSettings) << "UTPS_SMSSrv_GetSMSReceiptNotify() returned" << result;
        return SettingFailed;
    }
    *on = value != 0;
    return SettingOk;
}

int SMSSettingUILogic::DeliveryReportSetting(bool on)
{
    const long result = UTPS_SMSSrv_SetSMSReceiptNotify(on ? 1 : 0);
    if (result != UTPS_OK)
        qCWarning(lcSmsSettings) << "UTPS_SMSSrv_SetSMSReceiptNotify() returned" << result;
    return status(result);
}

int SMSSettingUILogic::GetProductType(QString *type) const
{
    int productType = 3;
    const long result = UTPS_DevSrv_GetProductType(&productType);
    if (result != UTPS_OK) {
        qCWarning(lcSmsSettings) << "UTPS_DevSrv_GetProductType() returned" << result;
        return SettingFailed;
    }
    if (!type)
        return SettingFailed;
    switch (productType) {
    case UTPS_PRODUCT_WCDMA:
        *type = QStringLiteral("WCDMA");
        break;
    case UTPS_PRODUCT_CDMA:
        *type = QStringLiteral("CDMA");
        break;
    case UTPS_PRODUCT_SCDMA:
        *type = QStringLiteral("SCDMA");
        break;
    default:
        *type = QStringLiteral("UNKNOW");
        break;
    }
    return SettingOk;
}

QString SMSSettingUILogic::GetSimString() const
{
    QString productType;
    if (GetProductType(&productType) != SettingOk)
        return QString();
    return CardName::forProduct(productType == QLatin1String("CDMA"));
}

int SMSSettingUILogic::GetSMSSetting(const QString &key, bool *value) const
{
    const QString text = CommonUtils::GetSettings(m_strGroup, key);
    if (text.isEmpty()) {
        qCDebug(lcSmsSettings) << "host setting" << key << "is empty";
        return SettingFailed;
    }
    if (value)
        *value = text.toInt(nullptr, 10) != 0;
    return SettingOk;
}

int SMSSettingUILogic::SetSMSSetting(const QString &key, bool value)
{
    return hostResult(CommonUtils::SetSettings(m_strGroup, key, QString::number(value ? 1 : 0)));
}

int SMSSettingUILogic::GetSoundAlertFile(QString *path) const
{
    if (path)
        *path = CommonUtils::GetSettings(m_strGroup, QStringLiteral("SoundAlertFile"));
    return SettingOk;
}

int SMSSettingUILogic::SetSoundAlertFile(const QString &path)
{
    if (path.isEmpty())
        return SettingFailed;
    return hostResult(CommonUtils::SetSettings(m_strGroup, QStringLiteral("SoundAlertFile"), path));
}

int SMSSettingUILogic::GetSMSConfigValue(const QString &key, bool *value) const
{
    if (!m_pConfigMap)
        return SettingFailed;
    const auto it = m_pConfigMap->constFind(key);
    if (it != m_pConfigMap->constEnd() && value)
        *value = it.value() == QLatin1String("true");
    return SettingOk;
}

int SMSSettingUILogic::GetNumberLimitConfigValue(QString *pattern) const
{
    if (!m_pConfigMap)
        return SettingFailed;
    if (pattern)
        *pattern = m_pConfigMap->value(QStringLiteral("NumberLimit"));
    return SettingOk;
}

QList<QString> SMSSettingUILogic::GetValidityPeriodList() const
{
    if (!m_pConfigMap)
        return {};
    return m_pConfigMap->values(QStringLiteral("SMSSettingValidityPeriod"));
}
