// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host's own parts the SMS window talks to when a message arrives (notify service, main
// frame with an SMS page, page switcher, main toolbar, call plug-in, status bar, and the
// SMS UI service the status bar asks for the unread total), registered in a fresh plug-in
// container around a window laid out by WindowFixture.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidgetItem>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

#include "CallPlugin.h"
#include "DcSound.h"
#include "LayoutPlugin.h"
#include "MainFrame.h"
#include "MainToolbar.h"
#include "NotifyService.h"
#include "PluginIds.h"
#include "StatusBarNotifier.h"
#include "Startup.h"
#include "WindowFixture.h"
#include "notify/SMSTaskbarNotifier.h"
#include "plugin/SMSUIService.h"
#include "store/SMSStatusUILogic.h"
#include "window/SMSUITableWidget.h"
#include "window/SMSUITreeWidget.h"

class ArrivalHost
{
public:
    ArrivalHost()
    {
        container = Startup::CreatePluginContainer();
        frame = std::make_unique<MainFrame>();
        frame->addPage(QStringLiteral("ConnectionPage"), new QWidget);
        frame->addPage(QLatin1String(PluginIds::SmsUiName), new QWidget);
        notify = std::make_unique<NotifyService>(container);
        layout = std::make_unique<LayoutPlugin>(frame.get());
        toolbar = std::make_unique<MainToolbar>(frame.get());
        call = std::make_unique<CallPlugin>(frame.get());
        statusBar = std::make_unique<StatusBarNotifier>(container, frame.get());
        CommonUtils::SetMainWindow(frame.get());
        CommonUtils::SetLayoutPlugin(layout.get());
        add(PluginIds::NotifyService, notify.get(), InterfaceId::NotifyService);
        add(PluginIds::MainFrame, frame.get(), InterfaceId::MainFrame);
        add(PluginIds::MainToolbar, toolbar.get(), InterfaceId::MainToolbar);
        add(PluginIds::CallUi, call.get(), InterfaceId::CallUi);
        add(PluginIds::StatusBar, statusBar.get(), 0);
        add(PluginIds::SmsUi, CSMSUIService::instance(), InterfaceId::SmsUiService);
        frame->showPage(QStringLiteral("ConnectionPage"));
    }
    ~ArrivalHost()
    {
        if (SMSTaskbarNotifier *popup = SMSTaskbarNotifier::existingInstance())
            popup->setCloseDelay(5000);
        container->UnregisterPlugin(QLatin1String(PluginIds::SmsUi));
        CSMSUIService::Destroy();
        CommonUtils::SetLayoutPlugin(nullptr);
        CommonUtils::SetMainWindow(nullptr);
        statusBar.reset();
        call.reset();
        toolbar.reset();
        layout.reset();
        notify.reset();
        frame.reset();
        Startup::DestroyPluginContainer();
    }

    int statusBarUnread() const
    {
        auto *label = frame->findChild<QLabel *>(QStringLiteral("dialcrest_StatusUnread"));
        return label ? label->property("unreadCount").toInt() : -1;
    }

    PluginContainer *container = nullptr;
    std::unique_ptr<MainFrame> frame;
    std::unique_ptr<NotifyService> notify;
    std::unique_ptr<LayoutPlugin> layout;
    std::unique_ptr<MainToolbar> toolbar;
    std::unique_ptr<CallPlugin> call;
    std::unique_ptr<StatusBarNotifier> statusBar;

private:
    void add(const char *clsid, QObject *object, int interfaceId)
    {
        container->RegisterPlugin(QLatin1String(clsid), QLatin1String(clsid), object, 0);
        if (interfaceId != 0)
            container->RegisterPlugin(QLatin1String(clsid), QLatin1String(clsid), object,
                                      interfaceId);
    }
};

namespace arrival {

// The window laid out and listening to the SDK, as the SMS UI service starts it.
inline SMSUIMainDlg *openWindow(bool simPresent = false)
{
    SMSUIMainDlg *w = WindowFixture::createWindow(simPresent);
    if (w && SMSStatusUILogic::Instance()->InitStatusLogic() != 0)
        return nullptr;
    return w;
}

// Stops the SDK's events before the window and its store go.
inline void closeWindow()
{
    if (SMSUIMainDlg::existingInstance())
        SMSStatusUILogic::Instance()->unSDKRegisterEvent();
    SimCtl_WaitIdle(5000);
    SMSUIMainDlg::Destroy();
}

inline void setSmsSetting(const char *key, const QString &value)
{
    CommonUtils::SetSettings(QStringLiteral("SMSSERVICE"), QString::fromLatin1(key), value);
}

// Alerts as a user has them after the settings page's defaults: both on, the shipped chime.
inline void alertsOn(bool visual = true, bool sound = false)
{
    setSmsSetting("VisionAlert", visual ? QStringLiteral("1") : QStringLiteral("0"));
    setSmsSetting("SoundAlert", sound ? QStringLiteral("1") : QStringLiteral("0"));
    setSmsSetting("SoundAlertFile",
                  QStringLiteral(DIALCREST_SOURCE_DIR "/plugins/SMSUIPlugin/SMSVoice.wav"));
}

inline int inject(int storage, const char *sender, const char *text, int msgClass = 1,
                  const char *time = nullptr)
{
    int id = -1;
    const long result = SimCtl_InjectMessage(storage, sender, text, time, msgClass, &id);
    return result == 0 ? id : -1 - int(result);
}

// The visible new-message pop-ups (there must never be more than one).
inline QList<QWidget *> visiblePopups()
{
    QList<QWidget *> shown;
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w->objectName() == QLatin1String("SMSUIPlugin_NewMessagePopup") && w->isVisible())
            shown << w;
    }
    return shown;
}

inline int rowOf(SMSUITableWidget *table, int id)
{
    for (int row = 0; table && row < table->rowCount(); ++row) {
        const SmsRecord *record = table->recordAt(row);
        if (record && record->iMsgId == id)
            return row;
    }
    return -1;
}

// The read state the SDK holds for a message (-1 when it cannot be read).
inline int sdkReadStatus(int memory, int id)
{
    _UTPS_ST_SMS_RECORD *r = nullptr;
    if (UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr) != 0)
        return -1;
    r->iMsgId = id;
    const long result = UTPS_SMSSrv_GetMsg(r, _UTPS_EN_SMS_MEM(memory));
    const int status = result == 0 ? r->iReadStatus : -1;
    UTPS_SMSSrv_ReleaseSMSRecord(&r);
    return status;
}

inline int receivedCounter()
{
    QFile file(SMSUIMainDlg::usageStatisticsFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression counter(QStringLiteral("<SMSReceived>(\\d+)</SMSReceived>"));
    const QRegularExpressionMatch match = counter.match(QString::fromUtf8(file.readAll()));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

} // namespace arrival
