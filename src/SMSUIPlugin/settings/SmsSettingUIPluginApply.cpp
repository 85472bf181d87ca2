// SPDX-License-Identifier: GPL-3.0-or-later
// The settings page: stored values into the widgets, and which groups the configuration,
// the product and the card allow.
#include "SmsSettingUIPlugin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "CommonUtils.h"
#include "ExtendLineEdit.h"
#include "SmsLog.h"
#include "SmsSettingUILogic.h"
#include "utps_sdk.h"

namespace {
const QString kVisionAlert = QStringLiteral("VisionAlert");
const QString kSoundAlert = QStringLiteral("SoundAlert");
const QString kReceiveMode = QStringLiteral("ReceviceMode");
// Card types on which a multi-mode card offers no message-centre settings.
constexpr int kSimTypesWithoutSmsc[] = {0, 4};
} // namespace

bool SmsSettingUIPlugin::configFlag(const QString &key, bool fallback) const
{
    bool value = fallback;
    if (m_pSettingLogic)
        m_pSettingLogic->GetSMSConfigValue(key, &value);
    return value;
}

bool SmsSettingUIPlugin::isMultiModeCard() const
{
    int multiMode = 0;
    const long result = UTPS_DevSrv_GetMultiModeCardStatus(&multiMode, 0, 0);
    if (result != UTPS_OK)
        qCDebug(lcSmsSettings) << "UTPS_DevSrv_GetMultiModeCardStatus returned" << result;
    return result == UTPS_OK && multiMode != 0;
}

void SmsSettingUIPlugin::applyCheckBoxSetting()
{
    if (!m_pSettingLogic || !m_pWidget)
        return;
    // Both alerts are on until the user turns them off.
    for (const auto &[key, box] : {std::pair{kVisionAlert, m_pVisionAlert},
                                   std::pair{kSoundAlert, m_pSoundAlert}}) {
        bool value = false;
        if (m_pSettingLogic->GetSMSSetting(key, &value) != SMSSettingUILogic::SettingOk) {
            box->setChecked(true);
            m_pSettingLogic->SetSMSSetting(key, true);
        }
    }
}

void SmsSettingUIPlugin::applyXMLConfigSetting()
{
    // One flag for the three look-ups: a key the file lacks keeps the previous answer.
    bool flag = false;
    if (m_pSettingLogic)
        m_pSettingLogic->GetSMSConfigValue(QStringLiteral("SMSReceiveMode"), &flag);
    if (!flag)
        m_pSaveModeGroup->hide();
    if (m_pSettingLogic)
        m_pSettingLogic->GetSMSConfigValue(QStringLiteral("SMSCenterValid"), &flag);
    if (!flag)
        m_pCentreNumberLine->setEnabled(false);
    if (m_pSettingLogic)
        m_pSettingLogic->GetSMSConfigValue(QStringLiteral("SMSCenterSeting"), &flag);
    if (!flag)
        m_pValidityCombo->setEnabled(false);
    if (!m_pSoundAlert->isChecked())
        setSoundControlsEnabled(false);
}

void SmsSettingUIPlugin::setSoundControlsEnabled(bool enabled)
{
    m_pSoundFileLine->setEnabled(enabled);
    m_pBrowseButton->setEnabled(enabled);
    m_pTestButton->setEnabled(enabled && !m_pSoundFileLine->text().isEmpty());
}

void SmsSettingUIPlugin::applySetting()
{
    if (!m_pSettingLogic || !m_pWidget)
        return;
    applyTextMessageHandlingSetting();
    // Nothing stored yet means the PC, as the page starts: a cancelled edit must not
    // leave the card radio checked.
    bool onCard = false;
    m_pSettingLogic->GetSMSSetting(kReceiveMode, &onCard);
    (onCard ? m_pSaveOnSim : m_pSaveOnLocal)->setChecked(true);
    updateSMSCSettings();
    bool report = false;
    if (m_pSettingLogic->GetDeviceStatus()
        && m_pSettingLogic->GetDeliveryReportSetting(&report) == SMSSettingUILogic::SettingOk)
        m_pDeliveryReport->setChecked(report);
}

void SmsSettingUIPlugin::applyTextMessageHandlingSetting()
{
    const QString defaultFile =
        CommonUtils::GetPluginDataPath() + QStringLiteral("/plugins/SMSUIPlugin/SMSVoice.wav");
    bool value = false;
    if (m_pSettingLogic->GetSMSSetting(kVisionAlert, &value) == SMSSettingUILogic::SettingOk)
        m_pVisionAlert->setChecked(value);
    if (m_pSettingLogic->GetSMSSetting(kSoundAlert, &value) == SMSSettingUILogic::SettingOk)
        m_pSoundAlert->setChecked(value);

    QString file;
    m_pSettingLogic->GetSoundAlertFile(&file);
    if (!QFile::exists(file)) {
        if (!file.isEmpty())
            qCWarning(lcSmsSettings) << "alert sound" << file << "is gone; using" << defaultFile;
        file = defaultFile;
        m_pSettingLogic->SetSoundAlertFile(file);
    }
    m_pSoundFileLine->setText(file);
    setSoundControlsEnabled(m_pSoundAlert->isChecked());
}

void SmsSettingUIPlugin::updateSMSCSettings()
{
    if (!m_pWidget || !m_pSettingLogic)
        return;
    const bool multiMode = isMultiModeCard();
    const bool hideDualMode = CommonUtils::GetSettings(QStringLiteral("DualModeCard"),
                                                       QStringLiteral("HideDoubleModeCardNode"))
        == QLatin1String("true");
    const bool receiveMode = configFlag(QStringLiteral("SMSReceiveMode"), false);
    m_pSaveModeGroup->setVisible(receiveMode && !(multiMode && hideDualMode));

    m_strProductType.clear();
    m_pSettingLogic->GetProductType(&m_strProductType);
    if (m_strProductType == QLatin1String("CDMA")) {
        const bool hidePriority = configFlag(QStringLiteral("HidePrioritySetting"), false);
        m_pPriorityGroup->setVisible(!(multiMode && hidePriority));
        m_pSmscGroup->hide();
        m_pDeliveryReport->show();
        applyMessagePrioritySetting();
    } else {
        // The page keeps its content at the top. The main layout already ends in a
        // stretch; this runs on every device start-up, so adding one each time would
        // pile up empty items in the layout.
        if (m_pMainLayout->count() == 0
            || !m_pMainLayout->itemAt(m_pMainLayout->count() - 1)->spacerItem())
            m_pMainLayout->addStretch();
        m_pPriorityGroup->hide();
        int simType = -1;
        const bool smscRefused = multiMode && UTPS_DevSrv_GetSimType(&simType) == UTPS_OK
            && std::find(std::begin(kSimTypesWithoutSmsc), std::end(kSimTypesWithoutSmsc), simType)
                != std::end(kSimTypesWithoutSmsc);
        m_bSmscEditable = m_pSettingLogic->IsSimValid() && !smscRefused;
        m_pSmscGroup->setVisible(m_bSmscEditable);
        m_pDeliveryReport->setVisible(m_bSmscEditable);
        if (m_bSmscEditable)
            applySMSCSetting();
    }
    setSaveOnCardText();
}

void SmsSettingUIPlugin::setSaveOnCardText()
{
    QString card = m_pSettingLogic ? m_pSettingLogic->GetSimString() : QString();
    if (card.isEmpty())
        card = QStringLiteral("SIM/USIM");
    m_pSaveOnSim->setText(tr(QStringLiteral("IDS_RAD_SMS_SAVE_SIM")).replace(QLatin1String("%s"), card));
}

void SmsSettingUIPlugin::applySMSCSetting()
{
    QString number;
    if (m_pSettingLogic->GetSMSCentreNumber(&number) == SMSSettingUILogic::SettingOk)
        m_pCentreNumberLine->setText(number);
    int seconds = 0;
    if (m_pSettingLogic->GetSMSValidityPeriod(&seconds) == SMSSettingUILogic::SettingOk) {
        // A period the page does not offer shows as the first one.
        const int period = qMax(0, int(validityPeriods().indexOf(seconds)));
        const int index = m_pValidityCombo->findData(period);
        m_pValidityCombo->setCurrentIndex(index >= 0 ? index : 0);
    }
}

void SmsSettingUIPlugin::applyMessagePrioritySetting()
{
    _UTPS_EN_SMS_PRIORITY priority = UTPS_SMS_PRIORITY_NONE;
    if (m_pSettingLogic->GetMessagePrioritySetting(&priority) != SMSSettingUILogic::SettingOk)
        return;
    switch (priority) {
    case UTPS_SMS_PRIORITY_NORMAL:
        m_pNormal->setChecked(true);
        break;
    case UTPS_SMS_PRIORITY_URGENT:
        m_pUrgent->setChecked(true);
        break;
    case UTPS_SMS_PRIORITY_EMERGENCY:
        m_pEmergency->setChecked(true);
        break;
    default:
        break;
    }
}
