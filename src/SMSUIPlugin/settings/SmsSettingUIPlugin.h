// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The SMS page of the host's settings dialog: new-message alerts (notice, sound and its
// file), where new messages are saved, the message centre (number and validity period),
// the priority of sent messages and the delivery report. Values come from and go to
// SMSSettingUILogic; the configuration file, the product type and the card decide which
// groups are shown.
//
// A process-wide singleton. CSettingUIService hands it to the host; the SMS window
// destroys it (Destroy()) when the window goes. The page widget is built by the first
// InitSmsSetting() and is owned by this object even while the host's dialog shows it
// inside its own frame.
//
// Definitions: SmsSettingUIPlugin.cpp (lifecycle, layout, language, showing),
// SmsSettingUIPluginApply.cpp (stored values into the widgets, which groups show),
// SmsSettingUIPluginSave.cpp (validation, saving, cancel, the sound file and its test).
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QRect>
#include <QString>

class DcSound;
class ExtendLineEdit;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QWidget;
class SMSSettingUILogic;

class SmsSettingUIPlugin : public QObject
{
    Q_OBJECT
public:
    // The singleton, created on first call (no widgets yet). Destroy() deletes it.
    static SmsSettingUIPlugin *GetInstance();
    // Harmless when there is none.
    static void Destroy();
    // The instance if one exists; never creates it.
    static SmsSettingUIPlugin *existingInstance() { return s_pInstance; }

    // The validity periods the page offers, in seconds, by period number.
    static const QList<int> &validityPeriods();

    // Before every showing: takes the settings logic, builds the page once, writes the
    // alert defaults and loads the stored values unless the user's edits are pending.
    void InitSmsSetting();
    // Places the page in parent at rect (left, top, right, bottom). 1, or 0 without page.
    int ShowSmsSettingDlg(QWidget *parent, QRect &rect);
    // 0 while the entries are invalid (the user is told), else hides the page and gives 1.
    int HideSmsSetting();
    // OK: validates, stores and detaches the page. False keeps the page (the user was
    // told why).
    bool SaveSmsSettings();
    // Cancel: widgets back to the stored values, page detached.
    void CancelSmsSetting();
    // Re-labels the page in the current language.
    void SetLanguage();
    // Unregisters the device callback; no SDK callback reaches the page afterwards.
    void unSDKRegisterEvent();

    // The page widget (owned), null before the first InitSmsSetting.
    QWidget *pageWidget() const { return m_pWidget; }
    bool isSmscEditable() const { return m_bSmscEditable; }

public slots:
    void onClickTestButton();
    void onClickSoundAlertCheckBox();
    void onClickBrowseButton();
    void onFileSelected(const QString &file);
    void onTextEdited(const QString &text);
    void onPlayFinish();
    void updateSMSCSettings();

private:
    SmsSettingUIPlugin();
    ~SmsSettingUIPlugin() override;
    Q_DISABLE_COPY(SmsSettingUIPlugin)

    static QString tr(const QString &key);

    // Layout (SmsSettingUIPlugin.cpp)
    void initailizeUI();
    QGroupBox *createAlertGroup();
    QGroupBox *createSaveModeGroup();
    QGroupBox *createSmscGroup();
    QGroupBox *createPriorityGroup();
    void fillValidityPeriods();
    void detachPage();

    // Applying stored values (SmsSettingUIPluginApply.cpp)
    void applyCheckBoxSetting();
    void applyXMLConfigSetting();
    void applySetting();
    void applyTextMessageHandlingSetting();
    void applySMSCSetting();
    void applyMessagePrioritySetting();
    void setSoundControlsEnabled(bool enabled);
    void setSaveOnCardText();
    bool isMultiModeCard() const;
    bool configFlag(const QString &key, bool fallback) const;

    // Saving (SmsSettingUIPluginSave.cpp)
    bool isValidSetting();
    bool saveTextMessageHandling();
    bool saveSmsSaveMode();
    bool saveSoundPath();
    bool saveMessagePriority();
    bool saveSMSCSetting();
    bool saveModemSettings();
    void stopTestSound();
    void showPrompt(const QString &titleKey, const QString &textKey,
                    int icon /* QMessageBox::Icon */);

    static SmsSettingUIPlugin *s_pInstance;

    // Layouts (owned by the page widget)
    QVBoxLayout *m_pMainLayout = nullptr;
    QVBoxLayout *m_pGroupLayout = nullptr;
    QHBoxLayout *m_pBrowseTestLayout = nullptr;
    QVBoxLayout *m_pAlertLayout = nullptr;
    QVBoxLayout *m_pSaveModeLayout = nullptr;
    QHBoxLayout *m_pPriorityLayout = nullptr;
    QFormLayout *m_pSmscLayout = nullptr;
    // The page; guarded because a host dialog that outlives a call could delete it.
    QPointer<QWidget> m_pWidget;
    QPushButton *m_pBrowseButton = nullptr;
    QPushButton *m_pTestButton = nullptr;
    QGroupBox *m_pAlertGroup = nullptr;
    QCheckBox *m_pVisionAlert = nullptr;
    QCheckBox *m_pSoundAlert = nullptr;
    QCheckBox *m_pDeliveryReport = nullptr;
    QLabel *m_pSoundFileLabel = nullptr;
    ExtendLineEdit *m_pSoundFileLine = nullptr;
    QGroupBox *m_pSaveModeGroup = nullptr;
    QRadioButton *m_pSaveOnLocal = nullptr;
    QRadioButton *m_pSaveOnSim = nullptr;
    QGroupBox *m_pSmscGroup = nullptr;
    QLabel *m_pCentreNumberLabel = nullptr;
    QLabel *m_pValidityLabel = nullptr;
    ExtendLineEdit *m_pCentreNumberLine = nullptr;
    QComboBox *m_pValidityCombo = nullptr;
    QGroupBox *m_pPriorityGroup = nullptr;
    QRadioButton *m_pNormal = nullptr;
    QRadioButton *m_pUrgent = nullptr;
    QRadioButton *m_pEmergency = nullptr;

    // The settings logic (not owned); guarded so that a logic destroyed elsewhere is
    // taken again, and its device signal connected again, on the next InitSmsSetting.
    QPointer<SMSSettingUILogic> m_pSettingLogic;
    QRect m_rect;  // last placement: left 0, top 0, right -1, bottom -1 until shown
    QString m_strProductType;
    // Translated validity label and its period number, in the order shown.
    QList<QPair<QString, int>> m_validityLabels;
    bool m_bSmscEditable = false;
    bool m_bApplied = false;
    bool m_bCancelled = false;
    DcSound *m_pSoundPlayer = nullptr;  // owned; null when no test sound plays
};
