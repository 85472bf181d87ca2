// SPDX-License-Identifier: GPL-3.0-or-later
// The settings page's lifecycle, layout, language and placement in the host's dialog.
#include "SmsSettingUIPlugin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

#include "Change.h"
#include "DcSound.h"
#include "ExtendLineEdit.h"
#include "PluginIds.h"
#include "SmsLog.h"
#include "SmsSettingUILogic.h"

SmsSettingUIPlugin *SmsSettingUIPlugin::s_pInstance = nullptr;

namespace {
// Labels used when the configuration names no validity period, by period number.
const char *const kDefaultValidityKeys[] = {"IDS_VALIDITY_12HOURS", "IDS_VALIDITY_24HOURS",
                                            "IDS_VALIDITY_30DAYS", "IDS_VALIDITY_63WEEKS"};
// A plus sign or a digit, then up to 19 digits: what a modem takes as a centre number.
const QString kCentreNumberPattern = QStringLiteral("[+0-9]\\d{0,19}");
constexpr int kLineHeight = 22;
constexpr int kSaveModeGroupHeight = 85;
constexpr int kBrowseTestSpacing = 15;

QString name(const char *suffix)
{
    return QStringLiteral("SmsSettingUIPlugin_") + QLatin1String(suffix);
}
} // namespace

SmsSettingUIPlugin *SmsSettingUIPlugin::GetInstance()
{
    if (!s_pInstance)
        s_pInstance = new SmsSettingUIPlugin;
    return s_pInstance;
}

void SmsSettingUIPlugin::Destroy()
{
    delete s_pInstance;
    s_pInstance = nullptr;
}

const QList<int> &SmsSettingUIPlugin::validityPeriods()
{
    static const QList<int> periods{43200, 86400, 2592000, 38102400};
    return periods;
}

SmsSettingUIPlugin::SmsSettingUIPlugin() = default;

SmsSettingUIPlugin::~SmsSettingUIPlugin()
{
    stopTestSound();
    delete m_pWidget.data();
    SMSSettingUILogic::Destroy();
}

QString SmsSettingUIPlugin::tr(const QString &key)
{
    return Change::tr(key, QString::fromLatin1(PluginIds::SmsUiName));
}

void SmsSettingUIPlugin::InitSmsSetting()
{
    if (!m_pSettingLogic) {
        m_pSettingLogic = SMSSettingUILogic::GetInstance();
        m_pSettingLogic->InitSmsXMLConfiguration();
        m_pSettingLogic->RegisterDevice();
        connect(m_pSettingLogic.data(), &SMSSettingUILogic::DeviceInit, this,
                &SmsSettingUIPlugin::updateSMSCSettings);
    }
    if (!m_pWidget)
        initailizeUI();
    applyCheckBoxSetting();
    if (!m_bApplied) {
        applySetting();
        m_bApplied = true;
    } else if (isMultiModeCard()) {
        updateSMSCSettings();
    }
}

void SmsSettingUIPlugin::initailizeUI()
{
    m_pWidget = new QWidget;
    m_pWidget->setObjectName(name("WidgetSmsSetting"));
    m_pMainLayout = new QVBoxLayout(m_pWidget);
    m_pMainLayout->setObjectName(name("VBoxLayoutSmsSetting"));
    m_pGroupLayout = new QVBoxLayout;
    m_pGroupLayout->setObjectName(name("VBoxLayoutGroupBox"));

    m_pGroupLayout->addWidget(createAlertGroup());
    m_pGroupLayout->addWidget(createSaveModeGroup());
    m_pGroupLayout->addWidget(createSmscGroup());
    m_pGroupLayout->addWidget(createPriorityGroup());
    m_pDeliveryReport = new QCheckBox(m_pWidget);
    m_pDeliveryReport->setObjectName(name("DeliveryreporgroupBox"));
    m_pGroupLayout->addWidget(m_pDeliveryReport);

    m_pMainLayout->addLayout(m_pGroupLayout);
    m_pMainLayout->addStretch();

    connect(m_pSoundAlert, &QCheckBox::clicked, this, &SmsSettingUIPlugin::onClickSoundAlertCheckBox);
    connect(m_pBrowseButton, &QPushButton::clicked, this, &SmsSettingUIPlugin::onClickBrowseButton);
    connect(m_pTestButton, &QPushButton::clicked, this, &SmsSettingUIPlugin::onClickTestButton);
    connect(m_pSoundFileLine, &QLineEdit::textEdited, this, &SmsSettingUIPlugin::onTextEdited);

    applyXMLConfigSetting();
    SetLanguage();
}

QGroupBox *SmsSettingUIPlugin::createAlertGroup()
{
    m_pAlertGroup = new QGroupBox(m_pWidget);
    m_pAlertGroup->setObjectName(name("GroupBoxTxtMsgHandle"));
    m_pAlertLayout = new QVBoxLayout(m_pAlertGroup);
    m_pAlertLayout->setObjectName(name("VLayoutTextMsgHnd"));
    m_pVisionAlert = new QCheckBox(m_pAlertGroup);
    m_pVisionAlert->setObjectName(name("CheckboxNewMsgNotify"));
    m_pSoundAlert = new QCheckBox(m_pAlertGroup);
    m_pSoundAlert->setObjectName(name("CheckboxNewMsgSoundAlert"));
    m_pSoundFileLabel = new QLabel(m_pAlertGroup);
    m_pSoundFileLabel->setObjectName(name("Soundfilename"));
    m_pSoundFileLine = new ExtendLineEdit(m_pAlertGroup);
    m_pSoundFileLine->setObjectName(name("FileNameEditLine"));
    m_pSoundFileLine->setFixedHeight(kLineHeight);
    m_pSoundFileLine->setContextMenuPolicy(Qt::NoContextMenu);
    m_pSoundFileLabel->setBuddy(m_pSoundFileLine);
    m_pBrowseButton = new QPushButton(m_pAlertGroup);
    m_pBrowseButton->setObjectName(name("btnBrowse"));
    m_pTestButton = new QPushButton(m_pAlertGroup);
    m_pTestButton->setObjectName(name("btnTest"));
    m_pBrowseTestLayout = new QHBoxLayout;
    m_pBrowseTestLayout->setObjectName(name("HBoxLayoutBrowseTestButton"));
    m_pBrowseTestLayout->setSpacing(kBrowseTestSpacing);
    m_pBrowseTestLayout->addWidget(m_pBrowseButton);
    m_pBrowseTestLayout->addWidget(m_pTestButton);
    m_pBrowseTestLayout->addStretch();

    m_pAlertLayout->addWidget(m_pVisionAlert);
    m_pAlertLayout->addWidget(m_pSoundAlert);
    m_pAlertLayout->addWidget(m_pSoundFileLabel);
    m_pAlertLayout->addWidget(m_pSoundFileLine);
    m_pAlertLayout->addLayout(m_pBrowseTestLayout);
    return m_pAlertGroup;
}

QGroupBox *SmsSettingUIPlugin::createSaveModeGroup()
{
    m_pSaveModeGroup = new QGroupBox(m_pWidget);
    m_pSaveModeGroup->setObjectName(name("SaveModegroupBox"));
    m_pSaveModeGroup->setFixedHeight(kSaveModeGroupHeight);
    m_pSaveModeLayout = new QVBoxLayout(m_pSaveModeGroup);
    m_pSaveModeLayout->setObjectName(name("VLayoutSaveModeRadioButton"));
    m_pSaveOnLocal = new QRadioButton(m_pSaveModeGroup);
    m_pSaveOnLocal->setObjectName(name("BtnsaveonLocal"));
    m_pSaveOnLocal->setChecked(true);
    m_pSaveOnSim = new QRadioButton(m_pSaveModeGroup);
    m_pSaveOnSim->setObjectName(name("BtnsaveonSim"));
    m_pSaveModeLayout->addWidget(m_pSaveOnLocal);
    m_pSaveModeLayout->addWidget(m_pSaveOnSim);
    return m_pSaveModeGroup;
}

QGroupBox *SmsSettingUIPlugin::createSmscGroup()
{
    m_pSmscGroup = new QGroupBox(m_pWidget);
    m_pSmscGroup->setObjectName(name("m_pGroupBoxSmsc"));
    m_pSmscLayout = new QFormLayout(m_pSmscGroup);
    m_pSmscLayout->setObjectName(name("FormLayoutSmsc"));
    m_pSmscLayout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_pCentreNumberLabel = new QLabel(m_pSmscGroup);
    m_pCentreNumberLabel->setObjectName(name("m_pLabelSmsCenterNumber"));
    m_pCentreNumberLine = new ExtendLineEdit(m_pSmscGroup);
    m_pCentreNumberLine->setObjectName(name("CenterNumlineEdit"));
    m_pCentreNumberLine->setFixedHeight(kLineHeight);
    m_pCentreNumberLine->setValidator(new QRegularExpressionValidator(
        QRegularExpression(kCentreNumberPattern), m_pCentreNumberLine));
    // A phone number reads left to right in every language.
    m_pCentreNumberLine->setLayoutDirection(Qt::LeftToRight);
    m_pValidityLabel = new QLabel(m_pSmscGroup);
    m_pValidityLabel->setObjectName(name("StoragePeriod"));
    m_pValidityCombo = new QComboBox(m_pSmscGroup);
    m_pValidityCombo->setObjectName(name("StorageCombobox"));
    m_pCentreNumberLabel->setBuddy(m_pCentreNumberLine);
    m_pValidityLabel->setBuddy(m_pValidityCombo);
    m_pSmscLayout->addRow(m_pCentreNumberLabel, m_pCentreNumberLine);
    m_pSmscLayout->addRow(m_pValidityLabel, m_pValidityCombo);
    return m_pSmscGroup;
}

QGroupBox *SmsSettingUIPlugin::createPriorityGroup()
{
    m_pPriorityGroup = new QGroupBox(m_pWidget);
    m_pPriorityGroup->setObjectName(name("MessagePriorityGroupBox"));
    m_pPriorityLayout = new QHBoxLayout(m_pPriorityGroup);
    m_pPriorityLayout->setObjectName(name("HLayoutPriority"));
    m_pNormal = new QRadioButton(m_pPriorityGroup);
    m_pNormal->setObjectName(name("RadioButtonNormal"));
    m_pNormal->setChecked(true);
    m_pUrgent = new QRadioButton(m_pPriorityGroup);
    m_pUrgent->setObjectName(name("RadioButtonUrgent"));
    m_pEmergency = new QRadioButton(m_pPriorityGroup);
    m_pEmergency->setObjectName(name("RadioButtonEmergency"));
    for (QRadioButton *radio : {m_pNormal, m_pUrgent, m_pEmergency})
        m_pPriorityLayout->addWidget(radio);
    m_pPriorityLayout->addStretch();
    return m_pPriorityGroup;
}

void SmsSettingUIPlugin::SetLanguage()
{
    if (!m_pWidget)
        return;
    m_pAlertGroup->setTitle(tr(QStringLiteral("IDS_GBX_ALERT")));
    m_pVisionAlert->setText(tr(QStringLiteral("IDS_CBX_VISIONALERT")));
    m_pSoundAlert->setText(tr(QStringLiteral("IDS_CBX_SOUNDALERT")));
    m_pSoundFileLabel->setText(tr(QStringLiteral("IDS_STC_SOUNDFILE")));
    m_pBrowseButton->setText(tr(QStringLiteral("IDS_BTN_BROWSE")));
    m_pTestButton->setText(tr(m_pSoundPlayer ? QStringLiteral("IDS_BTN_STOP")
                                             : QStringLiteral("IDS_BTN_PLAY")));
    m_pSaveModeGroup->setTitle(tr(QStringLiteral("IDS_GBX_SMS_SAVE_MODE")));
    m_pSaveOnLocal->setText(tr(QStringLiteral("IDS_RAD_SMS_SAVE_PC")));
    setSaveOnCardText();
    m_pSmscGroup->setTitle(tr(QStringLiteral("IDS_GBX_SMSSETTING")));
    m_pCentreNumberLabel->setText(tr(QStringLiteral("IDS_STC_SMSCENTERNUMBER")));
    m_pValidityLabel->setText(tr(QStringLiteral("IDS_STC_VALIDTIME")));
    // A combo box is announced by its current entry unless it is named after its label.
    m_pValidityCombo->setAccessibleName(m_pValidityLabel->text().remove(QLatin1Char(':')));
    m_pPriorityGroup->setTitle(tr(QStringLiteral("IDS_STC_PRIORITY")));
    m_pNormal->setText(tr(QStringLiteral("IDS_RAD_NORMAL")));
    m_pUrgent->setText(tr(QStringLiteral("IDS_RAD_URGENT")));
    m_pEmergency->setText(tr(QStringLiteral("IDS_RAD_EMERGENCY")));
    m_pDeliveryReport->setText(tr(QStringLiteral("IDS_CBX_RECEIPT")));
    fillValidityPeriods();
}

void SmsSettingUIPlugin::fillValidityPeriods()
{
    // The configuration lists the labels most recently read first; its document order is
    // the order of the periods (12 hours, 24 hours, 30 days, 63 weeks).
    QList<QString> keys = m_pSettingLogic ? m_pSettingLogic->GetValidityPeriodList() : QList<QString>();
    std::reverse(keys.begin(), keys.end());
    if (keys.isEmpty()) {
        for (const char *key : kDefaultValidityKeys)
            keys.append(QLatin1String(key));
    }
    const int periodCount = int(validityPeriods().size());
    if (keys.size() > periodCount)
        qCWarning(lcSmsSettings) << "configuration names" << keys.size()
                                 << "validity periods; only the first" << periodCount << "exist";

    // Shown sorted by their translated text, as the host lists choices. Each label keeps
    // its period as item data: sorting the texts alone and reading the period from the
    // row would give a label another label's period as soon as a language sorts them
    // differently.
    m_validityLabels.clear();
    for (int period = 0; period < qMin(int(keys.size()), periodCount); ++period)
        m_validityLabels.append({tr(keys.at(period)), period});
    std::stable_sort(m_validityLabels.begin(), m_validityLabels.end(),
                     [](const QPair<QString, int> &a, const QPair<QString, int> &b) {
                         return a.first < b.first;
                     });

    // A refill (language change) keeps the period chosen: the page may hold the user's
    // unsaved choice, or the stored value it will not read again before the next save.
    const QVariant chosen = m_pValidityCombo->currentData();
    m_pValidityCombo->clear();
    for (const auto &label : std::as_const(m_validityLabels))
        m_pValidityCombo->addItem(label.first, label.second);
    const int index = chosen.isValid() ? m_pValidityCombo->findData(chosen) : -1;
    m_pValidityCombo->setCurrentIndex(index >= 0 ? index : 0);
}

int SmsSettingUIPlugin::ShowSmsSettingDlg(QWidget *parent, QRect &rect)
{
    InitSmsSetting();
    m_bCancelled = false;
    if (!m_pWidget)
        return 0;
    m_rect = rect;
    m_pWidget->setParent(parent);
    m_pWidget->resize(rect.right() + 1 - rect.left(), rect.bottom() + 1 - rect.top());
    m_pWidget->move(rect.left(), rect.top());
    const QString language = Change::GetLangName();
    if (language == QLatin1String("ru") || language == QLatin1String("pt-br")) {
        // Their alert texts are long: a tighter spacing keeps them on one line.
        for (QCheckBox *box : {m_pVisionAlert, m_pSoundAlert}) {
            QFont font = box->font();
            font.setLetterSpacing(QFont::AbsoluteSpacing, -0.4);
            box->setFont(font);
        }
    }
    m_pWidget->show();
    return 1;
}

void SmsSettingUIPlugin::detachPage()
{
    if (m_pWidget) {
        m_pWidget->hide();
        m_pWidget->setParent(nullptr);
    }
}

void SmsSettingUIPlugin::unSDKRegisterEvent()
{
    if (m_pSettingLogic)
        m_pSettingLogic->UnRegisterDevice();
}
