// SPDX-License-Identifier: GPL-3.0-or-later
// Status questions of the message store: device, SIM, radio, network and storage state,
// the SMS service's host settings, the new-message pop-up and the recipient number rules.
#include "SMSStatusUILogic.h"

#include <QCoreApplication>
#include <QThread>

#include "CommonUtils.h"
#include "notify/SMSTaskbarNotifier.h"
#include "SmsLog.h"
#include "plugin/SettingUIService.h"
#include "settings/SmsSettingUILogic.h"

namespace {
const QString kSmsServiceGroup = QStringLiteral("SMSSERVICE");
const QChar kSemicolon = QLatin1Char(';');
const QChar kPlus = QLatin1Char('+');
}

bool SMSStatusUILogic::IsDevAvailable()
{
    int status = UTPS_DEV_STATUS_ABSENT;
    const long result = UTPS_DevSrv_GetDevStatus(&status);
    if (result != UTPS_OK)
        qCWarning(lcSmsStatus) << "UTPS_DevSrv_GetDevStatus returned" << result;
    return result == UTPS_OK && status == UTPS_DEV_STATUS_READY;
}

bool SMSStatusUILogic::IsSimValidForSMS()
{
    int state = UTPS_PIN_STATE_NO_SIM;
    unsigned char pinAttempts = 0;
    unsigned char pukAttempts = 0;
    unsigned char pin2Attempts = 0;
    const long result =
        UTPS_DevSrv_GetPinStatus(0, &state, &pinAttempts, &pukAttempts, &pin2Attempts);
    qCDebug(lcSmsStatus) << "UTPS_DevSrv_GetPinStatus returned" << result << "state" << state;
    return result == UTPS_OK
        && (state == UTPS_PIN_STATE_READY || state == UTPS_PIN_STATE_VERIFIED);
}

int SMSStatusUILogic::GetSimStatus(_UTPS_EN_SIMSTATE *state)
{
    if (!state)
        return 15;
    _UTPS_EN_SIMSTATE simState = UTPS_SIMSTATE_ABSENT;
    const long result = UTPS_DevSrv_GetSimStatus(&simState);
    if (result != UTPS_OK) {
        qCWarning(lcSmsStatus) << "UTPS_DevSrv_GetSimStatus returned" << result;
        *state = UTPS_SIMSTATE_ABSENT;
        return 1;
    }
    *state = simState;
    return 0;
}

bool SMSStatusUILogic::IsRFEnabled()
{
    // Without a device the radio switch is not asked at all.
    if (!IsDevAvailable())
        return false;
    _UTPS_ST_RF_SWITCH rf = {0, 0};
    const long result = UTPS_DevSrv_GetRFSwitch(&rf);
    if (result != UTPS_OK) {
        qCWarning(lcSmsStatus) << "UTPS_DevSrv_GetRFSwitch failed:" << result;
        return false;
    }
    qCDebug(lcSmsStatus) << "UTPS_DevSrv_GetRFSwitch success" << rf.iSoftSwitch << rf.iHardSwitch;
    return rf.iSoftSwitch != 0 && rf.iHardSwitch != 0;
}

bool SMSStatusUILogic::GetNetworkModeStatus()
{
    int status = UTPS_SRV_STATUS_NONE;
    const long result = UTPS_NetSrv_GetSrvStatus(&status);
    if (result != UTPS_OK) {
        qCWarning(lcSmsStatus) << "UTPS_NetSrv_GetSrvStatus returned" << result;
        return false;
    }
    return status == UTPS_SRV_STATUS_FULL;
}

int SMSStatusUILogic::GetMemorySatus(int &capacity, int &used, int memory)
{
    int sdkCapacity = 0;
    int sdkUsed = 0;
    const long result = UTPS_SMSSrv_GetRecordInfo(&sdkCapacity, &sdkUsed,
                                                  static_cast<_UTPS_EN_SMS_MEM>(memory));
    if (result != UTPS_OK) {
        qCWarning(lcSmsStatus) << "UTPS_SMSSrv_GetRecordInfo returned" << result << "for memory"
                               << memory;
        return 1;
    }
    capacity = sdkCapacity;
    used = sdkUsed;
    return 0;
}

int SMSStatusUILogic::GetSMSSetting(QString key, bool &value)
{
    QString text = CommonUtils::GetSettings(kSmsServiceGroup, key);
    if (text.isEmpty()) {
        // The settings page writes the defaults. It builds widgets, so only the GUI thread
        // may ask it; without a settings service the caller's own default applies.
        CSettingUIService *settings = CSettingUIService::existingInstance();
        if (settings && QThread::currentThread() == qApp->thread())
            settings->InitSmsSetting();
        else
            qCDebug(lcSmsStatus) << "no settings service to write the defaults of" << key;
        text = CommonUtils::GetSettings(kSmsServiceGroup, key);
    }
    if (text.isEmpty()) {
        qCDebug(lcSmsStatus) << "host setting" << key << "is empty";
        return 23;
    }
    value = text.toInt(nullptr, 10) != 0;
    return 0;
}

int SMSStatusUILogic::GetSMSSoundAlertFile(QString &file)
{
    file = CommonUtils::GetSettings(kSmsServiceGroup, QStringLiteral("SoundAlertFile"));
    return 0;
}

void SMSStatusUILogic::showNotifyDialog(QString text)
{
    SMSTaskbarNotifier *popup = SMSTaskbarNotifier::Instance();
    if (!popup) {
        qCWarning(lcSmsStatus) << "SMSTaskbarNotifier pointer obtained is NULL";
        return;
    }
    popup->Show(text);
}

QString SMSStatusUILogic::GetRegExpForNumberLimitCustomization()
{
    QString configured;
    SMSSettingUILogic *settings = SMSSettingUILogic::GetInstance();
    if (settings->GetNumberLimitConfigValue(&configured) != 0)
        qCDebug(lcSmsStatus) << "configuration not read; number characters stay"
                             << m_strNumberCharacters;
    // An empty answer would reject every number; the built-in set is the safer default.
    if (!configured.isEmpty())
        m_strNumberCharacters = configured;
    return m_strNumberCharacters;
}

bool SMSStatusUILogic::IsLimitSemicolon(QString &text)
{
    if (text.isEmpty())
        return true;
    return !text.startsWith(kSemicolon) && !text.contains(QLatin1String(";;"));
}

bool SMSStatusUILogic::IsLimitValid(QString &text)
{
    if (text.isEmpty())
        return true;
    if (text.startsWith(kSemicolon))
        return false;
    return std::all_of(text.cbegin(), text.cend(),
                       [this](QChar c) { return m_strNumberCharacters.contains(c); });
}

bool SMSStatusUILogic::IsLimitPlusPos(QString &text)
{
    for (qsizetype i = text.indexOf(kPlus); i >= 0; i = text.indexOf(kPlus, i + 1)) {
        if (i > 0 && text.at(i - 1) != kSemicolon)
            return false;
    }
    return true;
}

bool SMSStatusUILogic::IsInputNumberValid(QString &text)
{
    return IsLimitSemicolon(text) && IsLimitValid(text) && IsLimitPlusPos(text);
}
