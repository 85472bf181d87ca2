// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The contract between the host and its plug-ins. Every interface is pure abstract with a
// virtual destructor and a Qt interface string, so an object found in the plug-in
// container (a QObject) is converted with qobject_cast<I*>() or
// obj->qt_metacast("com.zorvat.dialcrest.plugin.I...") and the call is skipped when the
// conversion yields null. Operations are declared in slot order; none of them transfers
// ownership unless its comment says so.
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QtPlugin>

class QWidget;
class QMenu;

// ---- Interfaces a plug-in root object implements -------------------------------------

class IBaseInterface
{
public:
    virtual ~IBaseInterface() = default;
    virtual void Release() = 0;
    virtual int GetLastError() = 0;
};

class IDestroyEvent
{
public:
    virtual ~IDestroyEvent() = default;
    // Destroys the plug-in's services and windows; the root object itself stays.
    virtual void OnDestroy() = 0;
    // Called before OnDestroy: after it no device callback may reach the plug-in.
    virtual void UnSDKRegisterEvent() = 0;
};

class IBasePlugin : public IBaseInterface, public IDestroyEvent
{
public:
    virtual int Init() = 0;  // 1 on success, 0 on failure
    virtual int GetPluginType() = 0;
    virtual QString GetCLSID() = 0;
    virtual int GetVersion() = 0;
    virtual QString GetPluginName() = 0;
    virtual bool IsAllowRelease() = 0;
    // Hands out one of the plug-in's services by number; 1 and *out set when known,
    // 0 and *out untouched otherwise. The service stays owned by the plug-in.
    virtual int QueryInterface(int id, QObject **out) = 0;
};

class IUIPlugin : public IBasePlugin
{
public:
    // rect is (left, top, right, bottom) inside parent.
    virtual int ShowWindow(QWidget *parent, QRect &rect) = 0;
    virtual int DoModal() = 0;
    virtual void Hide() = 0;
    virtual void FitSize(QRect &rect) = 0;
    virtual bool IsReady() = 0;
    virtual int ChangeLang(const QString &language) = 0;
};

class INotify
{
public:
    virtual ~INotify() = default;
    virtual int Notify(unsigned int event, unsigned int param1, unsigned int param2) = 0;
};

// ---- Services of the SMS plug-in -------------------------------------------------------

class ISMSUIService
{
public:
    virtual ~ISMSUIService() = default;
    // Opens the message editor with number and content filled in; 0 when opened, -1 not.
    virtual int ShowSMSEditor(QString number, QString content, QWidget *parent) = 0;
    virtual int GetUnReadSMSTotalCount() = 0;
    virtual bool CanSendSMS() = 0;
};

class ISettingUIPlugin
{
public:
    virtual ~ISettingUIPlugin() = default;
    virtual bool OnClickSettingOkButton() = 0;      // false keeps the page open
    virtual bool OnClickSettingCancelButton() = 0;
    virtual int ShowSettingDialog(QWidget *parent, QRect &rect) = 0;
    virtual QString GetModuleName() = 0;            // translated page name
    virtual bool HideSetting() = 0;                 // false while the entries are invalid
    virtual bool IsActiveSetting() = 0;
};

// ---- The host's own plug-ins, reached through the plug-in container ----------------

class IAddrBookUIPlugin
{
public:
    virtual ~IAddrBookUIPlugin() = default;
    // Opens the "save contact" form pre-filled with number; parent may be null.
    // 1 when the form was shown, 0 otherwise.
    virtual int SaveNumber(const QString &number, QWidget *parent) = 0;
    // The contact name stored for number, empty when none.
    virtual QString GetNameByNumber(const QString &number) = 0;
    // Lets the user pick recipients. numbers comes in with the numbers already chosen and
    // goes out with the final choice. selectionMode 1: several contacts; numberKind 2:
    // mobile numbers only. 1 when the user confirmed, 0 when cancelled (numbers untouched).
    virtual int PickNumbers(int selectionMode, int numberKind, QStringList &numbers) = 0;
};

class IMainFrameUIService
{
public:
    virtual ~IMainFrameUIService() = default;
    // The main frame's top-level widget (owned by the host), null before it exists.
    virtual QWidget *GetMainWidget() = 0;
    // The frame's geometry in global coordinates.
    virtual QRect GetFrameGeometry() = 0;
    // Shows, un-minimises and raises the main frame.
    virtual void BringToFront() = 0;
};

class IMiniFrameUIService
{
public:
    virtual ~IMiniFrameUIService() = default;
    // Shows the page of the plug-in registered under clsid in the mini frame.
    virtual int ShowPlugin(const QString &clsid) = 0;
    virtual QWidget *GetMiniWidget() = 0;
};

class IDeviceMgr
{
public:
    virtual ~IDeviceMgr() = default;
    // 0 no device, 1 device present, 2 device ready.
    virtual int GetDeviceState() = 0;
    // Non-zero when the SIM card is present and usable for messages.
    virtual int IsSimValid() = 0;
};

class INotifyService
{
public:
    virtual ~INotifyService() = default;
    // The plug-in registered under clsid receives event through its INotify::Notify.
    virtual int Subscribe(const QString &clsid, unsigned int event) = 0;
    virtual int Unsubscribe(const QString &clsid, unsigned int event) = 0;
    // Delivers one event to the plug-in registered under target (subscribed or not).
    virtual int SendTo(const QString &target, unsigned int event, unsigned int param1,
                       unsigned int param2) = 0;
    virtual bool IsSubscribed(const QString &clsid, unsigned int event) = 0;
    // Delivers one event to every subscriber of it.
    virtual int Broadcast(unsigned int event, unsigned int param1, unsigned int param2) = 0;
};

class IMainToolbar
{
public:
    virtual ~IMainToolbar() = default;
    // Checks the main toolbar's button of the named plug-in ("SMSUIPlugin").
    virtual int SelectPluginButton(const QString &pluginName) = 0;
    virtual int EnablePluginButton(const QString &pluginName, bool enable) = 0;
};

class IMainMenuUI
{
public:
    virtual ~IMainMenuUI() = default;
    virtual QMenu *GetMenu(const QString &title) = 0;
    virtual int AddPluginEntry(const QString &pluginName, const QString &text) = 0;
    virtual int RemovePluginEntry(const QString &pluginName) = 0;
    virtual int EnablePluginEntry(const QString &pluginName, bool enable) = 0;
    // Checks the named plug-in's entry in the main menu's page list.
    virtual int SelectPluginEntry(const QString &pluginName) = 0;
};

class ICallUIPlugin
{
public:
    virtual ~ICallUIPlugin() = default;
    // Dials number (callType 0: voice). Non-zero when the call was started.
    virtual int MakeCall(const QString &number, int callType) = 0;
    virtual bool IsCallNotificationVisible() = 0;
    virtual void RaiseCallNotification() = 0;
};

// The host's page switcher (CommonUtils::GetLayoutPlugin()).
class ILayoutPlugin
{
public:
    virtual ~ILayoutPlugin() = default;
    // Brings the named plug-in's page to the front of the main frame.
    virtual int ShowPluginPage(const QString &pluginName) = 0;
};

#define IBasePlugin_iid "com.zorvat.dialcrest.plugin.IBasePlugin"
#define IUIPlugin_iid "com.zorvat.dialcrest.plugin.IUIPlugin"
#define INotify_iid "com.zorvat.dialcrest.plugin.INotify"
#define ISMSUIService_iid "com.zorvat.dialcrest.plugin.ISMSUIService"
#define ISettingUIPlugin_iid "com.zorvat.dialcrest.plugin.ISettingUIPlugin"
#define IAddrBookUIPlugin_iid "com.zorvat.dialcrest.plugin.IAddrBookUIPlugin"
#define IMainFrameUIService_iid "com.zorvat.dialcrest.plugin.IMainFrameUIService"
#define IMiniFrameUIService_iid "com.zorvat.dialcrest.plugin.IMiniFrameUIService"
#define IDeviceMgr_iid "com.zorvat.dialcrest.plugin.IDeviceMgr"
#define INotifyService_iid "com.zorvat.dialcrest.plugin.INotifyService"
#define IMainToolbar_iid "com.zorvat.dialcrest.plugin.IMainToolbar"
#define IMainMenuUI_iid "com.zorvat.dialcrest.plugin.IMainMenuUI"
#define ICallUIPlugin_iid "com.zorvat.dialcrest.plugin.ICallUIPlugin"
#define ILayoutPlugin_iid "com.zorvat.dialcrest.plugin.ILayoutPlugin"

Q_DECLARE_INTERFACE(IBasePlugin, IBasePlugin_iid)
Q_DECLARE_INTERFACE(IUIPlugin, IUIPlugin_iid)
Q_DECLARE_INTERFACE(INotify, INotify_iid)
Q_DECLARE_INTERFACE(ISMSUIService, ISMSUIService_iid)
Q_DECLARE_INTERFACE(ISettingUIPlugin, ISettingUIPlugin_iid)
Q_DECLARE_INTERFACE(IAddrBookUIPlugin, IAddrBookUIPlugin_iid)
Q_DECLARE_INTERFACE(IMainFrameUIService, IMainFrameUIService_iid)
Q_DECLARE_INTERFACE(IMiniFrameUIService, IMiniFrameUIService_iid)
Q_DECLARE_INTERFACE(IDeviceMgr, IDeviceMgr_iid)
Q_DECLARE_INTERFACE(INotifyService, INotifyService_iid)
Q_DECLARE_INTERFACE(IMainToolbar, IMainToolbar_iid)
Q_DECLARE_INTERFACE(IMainMenuUI, IMainMenuUI_iid)
Q_DECLARE_INTERFACE(ICallUIPlugin, ICallUIPlugin_iid)
Q_DECLARE_INTERFACE(ILayoutPlugin, ILayoutPlugin_iid)
