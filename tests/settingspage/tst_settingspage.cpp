// SPDX-License-Identifier: GPL-3.0-or-later
// The SMS settings page as a user meets it: the application with the real plug-in, its
// Settings dialog, the simulated modem behind both.
#include "Change.h"
#include "CommonUtils.h"
#include "HostApplication.h"
#include "HostInterfaces.h"
#include "MainFrame.h"
#include "PluginIds.h"
#include "SettingsDialog.h"
#include "SmsPluginLoader.h"
#include "TestEnv.h"
#include "sdk_simulator.h"
#include "utps_sdk.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace {
// Configuration elements and the text they get ("SMSReceiveMode" -> "false").
using ConfigFlags = QHash<QString, QString>;
const int kPeriods[] = {43200, 86400, 2592000, 38102400};

QString smsText(const char *key)
{
    return Change::tr(QLatin1String(key), QStringLiteral("SMSUIPlugin"));
}

template<typename T>
T *pageChild(const char *name, const char *prefix = "SmsSettingUIPlugin_")
{
    const QString wanted = QLatin1String(prefix) + QLatin1String(name);
    const QList<QWidget *> widgets = QApplication::allWidgets();
    for (QWidget *w : widgets) {
        if (w->objectName() == wanted)
            return qobject_cast<T *>(w);
    }
    return nullptr;
}

QString centreNumber()
{
    UTPS_WCHAR buffer[100] = {};
    int type = 0;
    if (UTPS_SMSSrv_GetSMSCentreNumber(&type, buffer, 100) != UTPS_OK)
        return QStringLiteral("<failed>");
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer));
}

int validitySeconds()
{
    int seconds = -1;
    UTPS_SMSSrv_GetSMSValidityPeriod(&seconds);
    return seconds;
}

void selectValidity(const QString &label)
{
    auto *combo = pageChild<QComboBox>("StorageCombobox");
    QVERIFY(combo);
    const int index = combo->findText(label);
    QVERIFY2(index >= 0, qPrintable(label));
    combo->setCurrentIndex(index);
}
} // namespace

class SettingsPageTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void settingsShowTheSmsPageWithItsDefaults();
    void alertsAndSaveModeTakeEffect();
    void modemSettingsSurviveARestart();
    void refusedCentreNumberKeepsTheStoredOne();
    void cancelAndDeviceRemovalLeaveEverything();
    void invalidEntriesKeepThePage();
    void soundFileBrowseAndTest();
    void arabicRelabelsAndKeepsValidityPairs();
    void deviceRestartsDoNotGrowThePage();
    void configurationDecidesWhatThePageOffers_data();
    void configurationDecidesWhatThePageOffers();

private:
    // flags: configuration elements and the text they get ("SMSReceiveMode", "false").
    void startHost(const QString &validityResources = QString(),
                   const QHash<QString, QString> &flags = {});
    void restartHost(int productType = UTPS_PRODUCT_WCDMA);
    SettingsDialog *openDialog();
    ISettingUIPlugin *settings() const { return m_host->smsPlugin()->settingService(); }

    TestDataHome m_home;
    QTemporaryDir m_pluginRoot;
    QString m_builtFolder;
    std::unique_ptr<HostApplication> m_host;
    std::unique_ptr<SettingsDialog> m_dialog;
    QList<MessageRequest> m_prompts;
};

void SettingsPageTest::initTestCase()
{
    qunsetenv("DIALCREST_PLUGIN_ROOT");
    m_builtFolder = CommonUtils::GetPluginFolder(QStringLiteral("SMSUIPlugin"));
    if (!QFileInfo::exists(SmsPluginLoader::defaultLibraryPath()))
        QSKIP("the SMS plug-in is not part of this build");
    SimCtl_SetDemoSeed(0);
    CommonUtils::SetMessageResponder([this](const MessageRequest &request) {
        m_prompts.append(request);
        return CommonUtils::FirstButton;
    });
}

void SettingsPageTest::init()
{
    QCOMPARE(SimCtl_Reset(), UTPS_OK);
    QFile::remove(CommonUtils::SettingsFile());
    m_prompts.clear();
    Change::SetLanguage(QStringLiteral("en"));
}

void SettingsPageTest::cleanup()
{
    m_dialog.reset();
    m_host.reset();
    qunsetenv("DIALCREST_PLUGIN_ROOT");
}

void SettingsPageTest::cleanupTestCase()
{
    CommonUtils::SetMessageResponder({});
}

// The plug-in runs from a folder of its own: the built library and files, with the
// configuration's validity labels replaced when the case asks for it.
void SettingsPageTest::startHost(const QString &validityResources,
                                 const QHash<QString, QString> &flags)
{
    const QString folder = m_pluginRoot.path() + QStringLiteral("/plugins/SMSUIPlugin/");
    QDir(folder).removeRecursively();
    QVERIFY(QDir().mkpath(folder));
    const QDir built(m_builtFolder);
    for (const QString &file : built.entryList(QDir::Files)) {
        if (file.endsWith(QLatin1String(".so")))
            QVERIFY(QFile::link(built.filePath(file), folder + file));
        else
            QVERIFY(QFile::copy(built.filePath(file), folder + file));
    }
    if (!validityResources.isEmpty()) {
        QFile config(folder + QStringLiteral("SMSUIPluginConfig.xml"));
        QVERIFY(config.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(config.readAll());
        config.close();
        const qsizetype from = text.indexOf(QLatin1String("<ValidityPeriod"));
        const qsizetype to = text.indexOf(QLatin1String("</ValidityPeriod>"));
        QVERIFY(from > 0 && to > from);
        text.replace(from, to - from, QStringLiteral("<ValidityPeriod count=\"4\">") + validityResources);
        QVERIFY(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
        config.write(text.toUtf8());
    }
    if (!flags.isEmpty()) {
        QFile config(folder + QStringLiteral("SMSUIPluginConfig.xml"));
        QVERIFY(config.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(config.readAll());
        config.close();
        for (auto it = flags.cbegin(); it != flags.cend(); ++it) {
            const QRegularExpression element(QStringLiteral("<%1>[^<]*</%1>").arg(it.key()));
            QVERIFY2(text.contains(element), qPrintable(it.key()));
            text.replace(element, QStringLiteral("<%1>%2</%1>").arg(it.key(), it.value()));
        }
        QVERIFY(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
        config.write(text.toUtf8());
    }
    qputenv("DIALCREST_PLUGIN_ROOT", m_pluginRoot.path().toUtf8());
    m_host = std::make_unique<HostApplication>(HostOptions{});
    QVERIFY(m_host->start(/* showFrame */ true));
    QVERIFY2(m_host->smsPlugin()->isReady(), qPrintable(m_host->smsPlugin()->errorString()));
    QVERIFY(settings());
}

void SettingsPageTest::restartHost(int productType)
{
    m_dialog.reset();
    m_host->shutdown();
    m_host.reset();
    QCOMPARE(SimCtl_Shutdown(), UTPS_OK);  // the modem's state is read back from its store
    QCOMPARE(SimCtl_SetProductType(productType), UTPS_OK);
    m_host = std::make_unique<HostApplication>(HostOptions{});
    QVERIFY(m_host->start(true));
    QVERIFY(m_host->smsPlugin()->isReady());
}

SettingsDialog *SettingsPageTest::openDialog()
{
    m_dialog = std::make_unique<SettingsDialog>(settings(), m_host->frame());
    m_dialog->show();
    auto *pages = m_dialog->findChild<QListWidget *>(QStringLiteral("dialcrest_SettingsPages"));
    if (!pages || pages->count() != 2)
        return nullptr;
    pages->setCurrentRow(1);
    return m_dialog.get();
}

void SettingsPageTest::settingsShowTheSmsPageWithItsDefaults()
{
    startHost();
    // The alert defaults are written when the SMS window first shows, before any arrival.
    QCOMPARE(CommonUtils::GetSettings("SMSSERVICE", "VisionAlert"), QStringLiteral("1"));
    QCOMPARE(CommonUtils::GetSettings("SMSSERVICE", "SoundAlert"), QStringLiteral("1"));
    const QString defaultSound = m_pluginRoot.path() + QStringLiteral("/plugins/SMSUIPlugin/SMSVoice.wav");
    QCOMPARE(CommonUtils::GetSettings("SMSSERVICE", "SoundAlertFile"), defaultSound);

    SettingsDialog *dialog = openDialog();
    QVERIFY(dialog);
    auto *pages = dialog->findChild<QListWidget *>(QStringLiteral("dialcrest_SettingsPages"));
    QCOMPARE(pages->item(1)->text(), smsText("IDS_SETTING_NAME"));
    QWidget *page = pageChild<QWidget>("WidgetSmsSetting");
    QCOMPARE(page->parentWidget()->objectName(), QStringLiteral("dialcrest_SettingsPluginArea"));
    QTRY_VERIFY(page->isVisible());

    // A WCDMA modem with a SIM: the message centre, no priority; values from the modem.
    QVERIFY(pageChild<QGroupBox>("m_pGroupBoxSmsc")->isVisible());
    QVERIFY(!pageChild<QGroupBox>("MessagePriorityGroupBox")->isVisible());
    QCOMPARE(pageChild<QLineEdit>("FileNameEditLine")->text(), defaultSound);
    QCOMPARE(pageChild<QRadioButton>("BtnsaveonSim")->text(),
             smsText("IDS_RAD_SMS_SAVE_SIM").replace(QLatin1String("%s"), smsText("IDS_CARD_SIM")));
    QCOMPARE(pageChild<QLineEdit>("CenterNumlineEdit")->text(), centreNumber());
    QCOMPARE(pageChild<QComboBox>("StorageCombobox")->currentText(), smsText("IDS_VALIDITY_30DAYS"));

    // Turning the sound off disables its file, Browse and Test.
    QTest::mouseClick(pageChild<QCheckBox>("CheckboxNewMsgSoundAlert"), Qt::LeftButton);
    for (const char *name : {"FileNameEditLine", "btnBrowse", "btnTest"})
        QVERIFY2(!pageChild<QWidget>(name)->isEnabled(), name);
}

void SettingsPageTest::alertsAndSaveModeTakeEffect()
{
    startHost();
    auto *unread = m_host->frame()->findChild<QLabel *>(QStringLiteral("dialcrest_StatusUnread"));
    QVERIFY(unread);
    // With the defaults a new message opens the pop-up.
    QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+15550141", "first", nullptr,
                                  UTPS_MSGCLASS_DEFAULT, nullptr),
             UTPS_OK);
    QTRY_VERIFY(pageChild<QWidget>("NewMessagePopup", "SMSUIPlugin_")
                && pageChild<QWidget>("NewMessagePopup", "SMSUIPlugin_")->isVisible());
    pageChild<QWidget>("NewMessagePopup", "SMSUIPlugin_")->hide();
    const int unreadBefore = unread->property("unreadCount").toInt();

    // Through the application's own Settings command, which applies the save mode.
    bool ran = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<SettingsDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->findChild<QListWidget *>(QStringLiteral("dialcrest_SettingsPages"))->setCurrentRow(1);
        pageChild<QCheckBox>("CheckboxNewMsgNotify")->setChecked(false);
        pageChild<QCheckBox>("CheckboxNewMsgSoundAlert")->setChecked(false);
        pageChild<QRadioButton>("BtnsaveonSim")->setChecked(true);
        dialog->accept();
        ran = true;
    });
    m_host->openSettings();
    QVERIFY(ran);
    QCOMPARE(CommonUtils::GetSettings("SMSSERVICE", "VisionAlert"), QStringLiteral("0"));
    QCOMPARE(CommonUtils::GetSettings("SMSSERVICE", "SoundAlert"), QStringLiteral("0"));
    QCOMPARE(CommonUtils::GetSettings("SMSSERVICE", "ReceviceMode"), QStringLiteral("1"));

    // The next message is received on the card.
    int capacity = 0, simBefore = 0, simAfter = 0;
    QCOMPARE(UTPS_SMSSrv_GetRecordInfo(&capacity, &simBefore, UTPS_SMS_MEM_SIM), UTPS_OK);
    QCOMPARE(SimCtl_InjectMessage(SIMCTL_RECEIVE_STORAGE, "+15550142", "to the card", nullptr,
                                  UTPS_MSGCLASS_DEFAULT, nullptr),
             UTPS_OK);
    QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
    QCOMPARE(UTPS_SMSSrv_GetRecordInfo(&capacity, &simAfter, UTPS_SMS_MEM_SIM), UTPS_OK);
    QCOMPARE(simAfter, simBefore + 1);
    // The window announced it to the status bar, and left the pop-up closed.
    QTRY_COMPARE(unread->property("unreadCount").toInt(), unreadBefore + 1);
    QVERIFY(!pageChild<QWidget>("NewMessagePopup", "SMSUIPlugin_")->isVisible());

    // Reopened, the page shows what was saved.
    QVERIFY(openDialog());
    QVERIFY(!pageChild<QCheckBox>("CheckboxNewMsgNotify")->isChecked());
    QVERIFY(!pageChild<QCheckBox>("CheckboxNewMsgSoundAlert")->isChecked());
    QVERIFY(pageChild<QRadioButton>("BtnsaveonSim")->isChecked());
}

void SettingsPageTest::modemSettingsSurviveARestart()
{
    startHost();
    QVERIFY(openDialog());
    auto *number = pageChild<QLineEdit>("CenterNumlineEdit");
    number->clear();
    QTest::keyClicks(number, QStringLiteral("+4917212345"));
    selectValidity(smsText("IDS_VALIDITY_24HOURS"));
    pageChild<QCheckBox>("DeliveryreporgroupBox")->setChecked(true);
    m_dialog->accept();
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QVERIFY(m_prompts.isEmpty());
    QVERIFY(!settings()->IsActiveSetting());

    restartHost();
    QCOMPARE(centreNumber(), QStringLiteral("+4917212345"));
    QCOMPARE(validitySeconds(), 86400);
    int receipt = 0;
    QCOMPARE(UTPS_SMSSrv_GetSMSReceiptNotify(&receipt), UTPS_OK);
    QCOMPARE(receipt, 1);
    QVERIFY(openDialog());
    QCOMPARE(pageChild<QLineEdit>("CenterNumlineEdit")->text(), QStringLiteral("+4917212345"));
    QCOMPARE(pageChild<QComboBox>("StorageCombobox")->currentText(), smsText("IDS_VALIDITY_24HOURS"));
    QVERIFY(pageChild<QCheckBox>("DeliveryreporgroupBox")->isChecked());

    // A CDMA modem offers the priority instead of the message centre.
    restartHost(UTPS_PRODUCT_CDMA);
    QVERIFY(openDialog());
    QVERIFY(!pageChild<QGroupBox>("m_pGroupBoxSmsc")->isVisible());
    pageChild<QRadioButton>("RadioButtonUrgent")->setChecked(true);
    m_dialog->accept();
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    restartHost(UTPS_PRODUCT_CDMA);
    _UTPS_EN_SMS_PRIORITY priority = UTPS_SMS_PRIORITY_NONE;
    QCOMPARE(UTPS_SMSSrv_SMSGetPriority(&priority), UTPS_OK);
    QCOMPARE(priority, UTPS_SMS_PRIORITY_URGENT);
    QVERIFY(openDialog());
    QVERIFY(pageChild<QGroupBox>("MessagePriorityGroupBox")->isVisible());
    QVERIFY(pageChild<QRadioButton>("RadioButtonUrgent")->isChecked());
}

void SettingsPageTest::refusedCentreNumberKeepsTheStoredOne()
{
    startHost();
    const QString stored = centreNumber();
    QVERIFY(openDialog());
    auto *number = pageChild<QLineEdit>("CenterNumlineEdit");
    number->setText(QStringLiteral("+4400001"));
    QCOMPARE(SimCtl_FailNextCalls("UTPS_SMSSrv_SetSMSCentreNumber", 1, UTPS_E_FAILED), UTPS_OK);
    m_dialog->accept();
    QCOMPARE(m_prompts.size(), 1);
    QCOMPARE(m_prompts.first().text, smsText("IDS_STR_SMSSETTINGFAILED"));
    QVERIFY(m_dialog->isVisible());
    QVERIFY(settings()->IsActiveSetting());
    QCOMPARE(number->text(), QStringLiteral("+4400001"));  // the entry stays to be corrected
    QCOMPARE(centreNumber(), stored);

    m_dialog->reject();
    QCOMPARE(centreNumber(), stored);
    QCOMPARE(number->text(), stored);
}

void SettingsPageTest::cancelAndDeviceRemovalLeaveEverything()
{
    startHost();
    const QString storedNumber = centreNumber();
    const QString settingsBefore = [] {
        QFile f(CommonUtils::SettingsFile());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }();
    const auto editEverything = [] {
        pageChild<QCheckBox>("CheckboxNewMsgNotify")->setChecked(false);
        pageChild<QRadioButton>("BtnsaveonSim")->setChecked(true);
        pageChild<QLineEdit>("FileNameEditLine")->setText(QStringLiteral("/nowhere/x.wav"));
        pageChild<QLineEdit>("CenterNumlineEdit")->setText(QStringLiteral("+1999"));
        selectValidity(smsText("IDS_VALIDITY_12HOURS"));
        pageChild<QCheckBox>("DeliveryreporgroupBox")->setChecked(true);
    };
    const auto expectStored = [&] {
        QVERIFY(pageChild<QCheckBox>("CheckboxNewMsgNotify")->isChecked());
        QVERIFY(pageChild<QRadioButton>("BtnsaveonLocal")->isChecked());
        QCOMPARE(pageChild<QLineEdit>("CenterNumlineEdit")->text(), storedNumber);
        QCOMPARE(pageChild<QComboBox>("StorageCombobox")->currentText(), smsText("IDS_VALIDITY_30DAYS"));
        QVERIFY(!pageChild<QCheckBox>("DeliveryreporgroupBox")->isChecked());
        QCOMPARE(centreNumber(), storedNumber);
        QCOMPARE(validitySeconds(), 2592000);
        QFile f(CommonUtils::SettingsFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), settingsBefore);
    };

    QVERIFY(openDialog());
    editEverything();
    m_dialog->reject();
    QVERIFY(!settings()->IsActiveSetting());
    expectStored();

    // The modem goes while the page is open: the edits go with it.
    QVERIFY(openDialog());
    editEverything();
    m_host->smsPlugin()->notify(HostEvent::DeviceRemoved);
    QVERIFY(!settings()->IsActiveSetting());
    QVERIFY(m_prompts.isEmpty());
    QCOMPARE(SimCtl_SetDevicePlugged(1), UTPS_OK);
    QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
    QVERIFY(openDialog());
    expectStored();
}

void SettingsPageTest::invalidEntriesKeepThePage()
{
    startHost();
    SettingsDialog *dialog = openDialog();
    QVERIFY(dialog);
    auto *pages = dialog->findChild<QListWidget *>(QStringLiteral("dialcrest_SettingsPages"));
    auto *sound = pageChild<QLineEdit>("FileNameEditLine");
    auto *number = pageChild<QLineEdit>("CenterNumlineEdit");

    // The number field takes a plus sign only first, digits only, twenty at most.
    number->clear();
    QTest::keyClicks(number, QStringLiteral("1+2a3"));
    QCOMPARE(number->text(), QStringLiteral("123"));
    number->clear();
    QTest::keyClicks(number, QStringLiteral("+") + QString(25, QLatin1Char('7')));
    QCOMPARE(number->text(), QStringLiteral("+") + QString(19, QLatin1Char('7')));

    const QString missing = m_pluginRoot.path() + QStringLiteral("/missing.wav");
    sound->setText(missing);
    dialog->accept();
    QVERIFY(dialog->isVisible());
    QVERIFY(settings()->IsActiveSetting());
    pages->setCurrentRow(0);  // leaving the page is refused as well
    QCOMPARE(pages->currentRow(), 1);
    QCOMPARE(m_prompts.size(), 2);
    for (const MessageRequest &prompt : std::as_const(m_prompts)) {
        QCOMPARE(prompt.title, smsText("IDS_STR_PROMPT"));
        QCOMPARE(prompt.text, smsText("IDS_STR_AUDIOFILENOTEXIST"));
    }

    // Upper-case WAV and MIDI files are taken; an empty centre number is not.
    QTemporaryDir sounds;
    const QString midi = sounds.filePath(QStringLiteral("tone.MID"));
    QVERIFY(QFile::copy(m_builtFolder + QStringLiteral("SMSVoice.wav"), midi));
    sound->setText(midi);
    number->clear();
    m_prompts.clear();
    dialog->accept();
    QCOMPARE(m_prompts.size(), 1);
    QCOMPARE(m_prompts.first().text, smsText("IDS_STR_CENTERNUMBERNULL"));
    QVERIFY(dialog->isVisible());
    QTest::keyClicks(number, QStringLiteral("+15550199"));
    dialog->accept();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(CommonUtils::GetSettings("SMSSERVICE", "SoundAlertFile"), midi);
    QCOMPARE(centreNumber(), QStringLiteral("+15550199"));
}

void SettingsPageTest::soundFileBrowseAndTest()
{
    startHost();
    QVERIFY(openDialog());
    auto *sound = pageChild<QLineEdit>("FileNameEditLine");
    auto *test = pageChild<QPushButton>("btnTest");

    // The shipped sound plays; the button reads Stop until it ends.
    QTest::mouseClick(test, Qt::LeftButton);
    QCOMPARE(test->text(), smsText("IDS_BTN_STOP"));
    QTRY_COMPARE_WITH_TIMEOUT(test->text(), smsText("IDS_BTN_PLAY"), 10000);
    QVERIFY(m_prompts.isEmpty());

    // A MIDI file passes the check on OK but cannot be test-played; a missing file says so.
    QTemporaryDir sounds;
    const QString midi = sounds.filePath(QStringLiteral("tone.mid"));
    QVERIFY(QFile::copy(m_builtFolder + QStringLiteral("SMSVoice.wav"), midi));
    sound->setText(midi);
    QTest::mouseClick(test, Qt::LeftButton);
    sound->setText(sounds.filePath(QStringLiteral("gone.wav")));
    QTest::mouseClick(test, Qt::LeftButton);
    QCOMPARE(m_prompts.size(), 2);
    QCOMPARE(m_prompts.at(0).title, smsText("IDS_ERROR_CAPTION"));
    QCOMPARE(m_prompts.at(0).text, smsText("IDS_STR_OPENAUDIOFILEFAILED"));
    QCOMPARE(m_prompts.at(1).title, smsText("IDS_PROMPT_CAPTION"));
    QCOMPARE(m_prompts.at(1).text, smsText("IDS_STR_AUDIOFILENOTEXIST"));
    QCOMPARE(test->text(), smsText("IDS_BTN_PLAY"));

    // Browse opens in the folder of the current file; the chosen file fills the line.
    sound->clear();
    QTest::keyClicks(sound, sounds.path() + QStringLiteral("/x"));
    QVERIFY(test->isEnabled());
    const QString chosen = sounds.filePath(QStringLiteral("chime.wav"));
    QVERIFY(QFile::copy(m_builtFolder + QStringLiteral("SMSVoice.wav"), chosen));
    QTest::mouseClick(pageChild<QPushButton>("btnBrowse"), Qt::LeftButton);
    QFileDialog *browse = nullptr;
    QTRY_VERIFY((browse = pageChild<QFileDialog>("FileDialog")));
    QCOMPARE(QDir(browse->directory()).canonicalPath(), QDir(sounds.path()).canonicalPath());
    browse->selectFile(chosen);
    QMetaObject::invokeMethod(browse, "accept");
    QCOMPARE(sound->text(), chosen);
    m_dialog->accept();
    QCOMPARE(CommonUtils::GetSettings("SMSSERVICE", "SoundAlertFile"), chosen);
}

void SettingsPageTest::arabicRelabelsAndKeepsValidityPairs()
{
    // Labels whose translated texts sort in another order in each language: period i is
    // the i-th label of the configuration, whatever the sorted list shows first.
    const char *const resources[] = {"IDS_RAD_URGENT", "IDS_RAD_NORMAL", "IDS_RAD_EMERGENCY",
                                     "IDS_VALIDITY_63WEEKS"};
    QString xml;
    for (const char *resource : resources)
        xml += QStringLiteral("<Period resource=\"%1\"/>").arg(QLatin1String(resource));
    startHost(xml);

    for (const char *language : {"en", "ar"}) {
        QVERIFY(m_host->changeLanguage(QLatin1String(language)));
        QVERIFY(openDialog());
        QCOMPARE(pageChild<QGroupBox>("GroupBoxTxtMsgHandle")->title(), smsText("IDS_GBX_ALERT"));
        QCOMPARE(pageChild<QPushButton>("btnTest")->text(), smsText("IDS_BTN_PLAY"));
        QCOMPARE(pageChild<QCheckBox>("DeliveryreporgroupBox")->text(), smsText("IDS_CBX_RECEIPT"));
        auto *combo = pageChild<QComboBox>("StorageCombobox");
        QCOMPARE(combo->count(), 4);
        for (int i = 1; i < combo->count(); ++i)
            QVERIFY(combo->itemText(i - 1) < combo->itemText(i));
        m_dialog.reset();

        for (int period = 0; period < 4; ++period) {
            QVERIFY(openDialog());
            selectValidity(smsText(resources[period]));
            m_dialog->accept();
            QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
            QCOMPARE(validitySeconds(), kPeriods[period]);
            QVERIFY(openDialog());
            QCOMPARE(pageChild<QComboBox>("StorageCombobox")->currentText(), smsText(resources[period]));
            m_dialog->reject();
        }
    }
    // A language switch while the page holds an unsaved choice keeps that choice.
    QVERIFY(openDialog());
    selectValidity(smsText(resources[1]));
    QVERIFY(m_host->changeLanguage(QStringLiteral("en")));
    QCOMPARE(pageChild<QComboBox>("StorageCombobox")->currentText(), smsText(resources[1]));
    QCOMPARE(pageChild<QGroupBox>("GroupBoxTxtMsgHandle")->title(), smsText("IDS_GBX_ALERT"));
}

void SettingsPageTest::deviceRestartsDoNotGrowThePage()
{
    startHost();
    QVERIFY(openDialog());
    auto *layout = pageChild<QWidget>("WidgetSmsSetting")
                       ->findChild<QVBoxLayout *>(QStringLiteral("SmsSettingUIPlugin_VBoxLayoutSmsSetting"));
    QVERIFY(layout);
    const int items = layout->count();
    // Each SIM insertion restarts the modem and the page re-reads the centre settings: a
    // number changed behind its back shows up, and the page gains no empty items.
    const QString changed = QStringLiteral("+15550777");
    QCOMPARE(UTPS_SMSSrv_SetSMSCentreNumber(reinterpret_cast<const UTPS_WCHAR *>(changed.utf16())), UTPS_OK);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(SimCtl_SetSimInserted(0), UTPS_OK);
        QCOMPARE(SimCtl_SetSimInserted(1), UTPS_OK);
    }
    QTRY_COMPARE(pageChild<QLineEdit>("CenterNumlineEdit")->text(), changed);
    QCOMPARE(SimCtl_WaitIdle(5000), UTPS_OK);
    QCoreApplication::processEvents();
    QCOMPARE(layout->count(), items);
}

void SettingsPageTest::configurationDecidesWhatThePageOffers_data()
{
    using Flags = ConfigFlags;
    QTest::addColumn<Flags>("flags");       // the plug-in's configuration
    QTest::addColumn<int>("product");
    QTest::addColumn<bool>("multiMode");     // a dual-mode card
    QTest::addColumn<bool>("hostHidesDual"); // host: hide the dual-mode card's node
    QTest::addColumn<bool>("saveMode");      // where messages are received: offered
    QTest::addColumn<bool>("centre");        // the centre number: editable
    QTest::addColumn<bool>("validity");      // the validity period: editable
    QTest::addColumn<bool>("priority");      // the priority: offered
    const int wcdma = UTPS_PRODUCT_WCDMA;
    const int cdma = UTPS_PRODUCT_CDMA;
    QTest::newRow("as shipped") << Flags{} << wcdma << false << false << true << true << true << false;
    QTest::newRow("no save mode") << Flags{{"SMSReceiveMode", "false"}} << wcdma << false << false
                                  << false << true << true << false;
    QTest::newRow("centre number fixed") << Flags{{"SMSCenterValid", "false"}} << wcdma << false
                                         << false << true << false << true << false;
    QTest::newRow("validity fixed") << Flags{{"SMSCenterSeting", "false"}} << wcdma << false << false
                                    << true << true << false << false;
    QTest::newRow("dual-mode card") << Flags{} << wcdma << true << false << true << true << true << false;
    QTest::newRow("dual-mode card the host hides") << Flags{} << wcdma << true << true << false << true
                                                   << true << false;
    QTest::newRow("one-mode card the host would hide") << Flags{} << wcdma << false << true << true
                                                       << true << true << false;
    QTest::newRow("CDMA") << Flags{} << cdma << false << false << true << true << true << true;
    QTest::newRow("CDMA dual-mode, priority hidden")
        << Flags{{"HidePrioritySetting", "true"}} << cdma << true << false << true << true << true << false;
    QTest::newRow("CDMA one-mode, priority hidden")
        << Flags{{"HidePrioritySetting", "true"}} << cdma << false << false << true << true << true << true;
}

// What the page offers follows the plug-in's configuration, the card and the host setting
// for dual-mode cards: each switch on its own.
void SettingsPageTest::configurationDecidesWhatThePageOffers()
{
    QFETCH(ConfigFlags, flags);
    QFETCH(int, product);
    QFETCH(bool, multiMode);
    QFETCH(bool, hostHidesDual);
    QFETCH(bool, saveMode);
    QFETCH(bool, centre);
    QFETCH(bool, validity);
    QFETCH(bool, priority);
    QCOMPARE(SimCtl_SetProductType(product), UTPS_OK);
    QCOMPARE(SimCtl_SetMultiModeCard(multiMode ? 1 : 0), UTPS_OK);
    CommonUtils::SetSettings(QStringLiteral("DualModeCard"), QStringLiteral("HideDoubleModeCardNode"),
                             hostHidesDual ? QStringLiteral("true") : QStringLiteral("false"));
    startHost(QString(), flags);
    QVERIFY(openDialog());
    QTRY_VERIFY(pageChild<QWidget>("WidgetSmsSetting")->isVisible());
    QCOMPARE(!pageChild<QGroupBox>("SaveModegroupBox")->isHidden(), saveMode);
    QCOMPARE(pageChild<QLineEdit>("CenterNumlineEdit")->isEnabled(), centre);
    QCOMPARE(pageChild<QComboBox>("StorageCombobox")->isEnabled(), validity);
    QCOMPARE(!pageChild<QGroupBox>("MessagePriorityGroupBox")->isHidden(), priority);
}

QTEST_MAIN(SettingsPageTest)
#include "tst_settingspage.moc"
