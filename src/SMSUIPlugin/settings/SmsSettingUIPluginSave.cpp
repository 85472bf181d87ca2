// SPDX-License-Identifier: GPL-3.0-or-later
// The settings page: validation, OK and Cancel, and the alert sound's file and test.
#include "SmsSettingUIPlugin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "CommonUtils.h"
#include "DcSound.h"
#include "ExtendLineEdit.h"
#include "SmsLog.h"
#include "SmsSettingUILogic.h"
#include "window/SMSUIMainDlg.h"

namespace {
bool hasSuffix(const QString &file, std::initializer_list<const char *> suffixes)
{
    for (const char *suffix : suffixes) {
        if (file.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}
} // namespace

void SmsSettingUIPlugin::showPrompt(const QString &titleKey, const QString &textKey, int icon)
{
    CommonUtils::ShowMessage(static_cast<QMessageBox::Icon>(icon), m_pWidget, tr(titleKey),
                             tr(textKey), QStringLiteral("IDS_OK"));
}

bool SmsSettingUIPlugin::isValidSetting()
{
    if (!m_pWidget)
        return true;
    const QString file = m_pSoundFileLine->text();
    if (m_pSoundAlert->isChecked()
        && (!QFileInfo(file).isFile() || !hasSuffix(file, {".wav", ".mid"}))) {
        showPrompt(QStringLiteral("IDS_STR_PROMPT"), QStringLiteral("IDS_STR_AUDIOFILENOTEXIST"),
                   QMessageBox::Information);
        return false;
    }
    if (m_bSmscEditable && m_pCentreNumberLine->text().isEmpty()) {
        showPrompt(QStringLiteral("IDS_STR_PROMPT"), QStringLiteral("IDS_STR_CENTERNUMBERNULL"),
                   QMessageBox::Information);
        return false;
    }
    return true;
}

bool SmsSettingUIPlugin::SaveSmsSettings()
{
    if (!m_pWidget || !m_pSettingLogic)
        return false;
    if (!isValidSetting() || !saveTextMessageHandling() || !saveSmsSaveMode() || !saveSoundPath())
        return false;
    if (!saveModemSettings()) {
        // The page stays, with the user's entries, so that they can be corrected or
        // cancelled; the modem keeps what it had.
        showPrompt(QStringLiteral("IDS_STR_PROMPT"), QStringLiteral("IDS_STR_SMSSETTINGFAILED"),
                   QMessageBox::Warning);
        return false;
    }
    m_bApplied = false;
    detachPage();
    return true;
}

bool SmsSettingUIPlugin::saveModemSettings()
{
    bool saved = true;
    if (m_strProductType == QLatin1String("CDMA"))
        saved = saveMessagePriority();
    else if (m_bSmscEditable)
        saved = saveSMSCSetting();
    if (saved && m_pSettingLogic->GetDeviceStatus())
        saved = m_pSettingLogic->DeliveryReportSetting(m_pDeliveryReport->isChecked())
            == SMSSettingUILogic::SettingOk;
    return saved;
}

bool SmsSettingUIPlugin::saveTextMessageHandling()
{
    const bool sound = m_pSoundAlert->isChecked();
    bool saved = m_pSettingLogic->SetSMSSetting(QStringLiteral("VisionAlert"), m_pVisionAlert->isChecked())
            == SMSSettingUILogic::SettingOk
        && m_pSettingLogic->SetSMSSetting(QStringLiteral("SoundAlert"), sound)
            == SMSSettingUILogic::SettingOk;
    if (sound) {
        saved = saved
            && m_pSettingLogic->SetSoundAlertFile(m_pSoundFileLine->text())
                == SMSSettingUILogic::SettingOk;
    } else {
        // With the sound off the file is not taken from the line: show the stored one.
        QString file;
        m_pSettingLogic->GetSoundAlertFile(&file);
        m_pSoundFileLine->setText(file);
    }
    if (!saved)
        qCWarning(lcSmsSettings) << "alert settings could not be stored";
    return saved;
}

bool SmsSettingUIPlugin::saveSmsSaveMode()
{
    // "1" is saving on the card: the host reads it to choose the modem's receive storage.
    return m_pSettingLogic->SetSMSSetting(QStringLiteral("ReceviceMode"), m_pSaveOnSim->isChecked())
        == SMSSettingUILogic::SettingOk;
}

bool SmsSettingUIPlugin::saveSoundPath()
{
    stopTestSound();
    SMSUIMainDlg *window = SMSUIMainDlg::existingInstance();
    if (!window) {
        qCWarning(lcSmsSettings) << "no SMS window to take the alert sound";
        return false;
    }
    window->setSoundFileBySetting(m_pSoundFileLine->text());
    return true;
}

bool SmsSettingUIPlugin::saveMessagePriority()
{
    _UTPS_EN_SMS_PRIORITY priority = UTPS_SMS_PRIORITY_NORMAL;
    if (m_pNormal->isChecked())
        priority = UTPS_SMS_PRIORITY_NORMAL;
    if (m_pUrgent->isChecked())
        priority = UTPS_SMS_PRIORITY_URGENT;
    if (m_pEmergency->isChecked())
        priority = UTPS_SMS_PRIORITY_EMERGENCY;
    return m_pSettingLogic->SaveMessagePrioritySetting(priority) == SMSSettingUILogic::SettingOk;
}

bool SmsSettingUIPlugin::saveSMSCSetting()
{
    if (m_pSettingLogic->SetSMSCentreNumber(m_pCentreNumberLine->text()) != SMSSettingUILogic::SettingOk)
        return false;
    const QVariant period = m_pValidityCombo->currentData();
    const int seconds = period.isValid() ? validityPeriods().value(period.toInt(), 0) : 0;
    return m_pSettingLogic->SetSMSValidityPeriod(seconds) == SMSSettingUILogic::SettingOk;
}

void SmsSettingUIPlugin::CancelSmsSetting()
{
    stopTestSound();
    applySetting();
    m_bApplied = false;
    m_bCancelled = true;
    detachPage();
}

int SmsSettingUIPlugin::HideSmsSetting()
{
    if (!m_bCancelled && !isValidSetting())
        return 0;
    if (m_pWidget)
        m_pWidget->hide();
    return 1;
}

void SmsSettingUIPlugin::onClickSoundAlertCheckBox()
{
    setSoundControlsEnabled(m_pSoundAlert->isChecked());
}

void SmsSettingUIPlugin::onClickBrowseButton()
{
    const QString current = m_pSoundFileLine->text();
    const QString folder = current.left(current.lastIndexOf(QLatin1Char('/')) + 1);
    // Opened window-modal without blocking: the host's dialog stays responsive and the
    // choice arrives through onFileSelected.
    auto *dialog = new QFileDialog(m_pWidget, tr(QStringLiteral("IDS_DLG_OPENSOUND")), folder,
                                   QStringLiteral("(*.wav)"));
    dialog->setObjectName(QStringLiteral("SmsSettingUIPlugin_FileDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    connect(dialog, &QFileDialog::fileSelected, this, &SmsSettingUIPlugin::onFileSelected);
    dialog->open();
}

void SmsSettingUIPlugin::onFileSelected(const QString &file)
{
    if (file.isEmpty())
        return;
    m_pSoundFileLine->setText(file);
    m_pTestButton->setEnabled(true);
}

void SmsSettingUIPlugin::onTextEdited(const QString &text)
{
    m_pTestButton->setEnabled(!text.isEmpty());
}

void SmsSettingUIPlugin::onClickTestButton()
{
    if (m_pSoundPlayer) {
        stopTestSound();
        return;
    }
    const QString file = m_pSoundFileLine->text();
    if (!QFileInfo(file).isFile()) {
        showPrompt(QStringLiteral("IDS_PROMPT_CAPTION"), QStringLiteral("IDS_STR_AUDIOFILENOTEXIST"),
                   QMessageBox::Information);
        return;
    }
    if (hasSuffix(file, {".wav"})) {
        m_pSoundPlayer = new DcSound(file, this);
        if (m_pSoundPlayer->Play()) {
            m_pTestButton->setText(tr(QStringLiteral("IDS_BTN_STOP")));
            connect(m_pSoundPlayer, &DcSound::finished, this, &SmsSettingUIPlugin::onPlayFinish);
            return;
        }
        delete m_pSoundPlayer;
        m_pSoundPlayer = nullptr;
    }
    showPrompt(QStringLiteral("IDS_ERROR_CAPTION"), QStringLiteral("IDS_STR_OPENAUDIOFILEFAILED"),
               QMessageBox::Information);
}

void SmsSettingUIPlugin::onPlayFinish()
{
    stopTestSound();
}

void SmsSettingUIPlugin::stopTestSound()
{
    if (!m_pSoundPlayer)
        return;
    m_pSoundPlayer->Stop();
    // finished() may be what brought us here: the player goes once its signal returns.
    m_pSoundPlayer->deleteLater();
    m_pSoundPlayer = nullptr;
    if (m_pWidget)
        m_pTestButton->setText(tr(QStringLiteral("IDS_BTN_PLAY")));
}
