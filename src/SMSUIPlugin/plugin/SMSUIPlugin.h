// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The root object the host takes from the plug-in library. It owns no window of its own:
// it hands out the plug-in's services and forwards every call to them.
#include <QObject>
#include <QRect>
#include <QString>

#include "HostInterfaces.h"

class CSMSUIService;
class CSettingUIService;

class CSMSUIPlugin : public QObject, public IUIPlugin, public INotify
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.zorvat.dialcrest.plugin.IUIPlugin")
    // moc's qt_metacast answers "CSMSUIPlugin", the base class names "IUIPlugin" and
    // "INotify", and the three interface strings below.
    Q_INTERFACES(IBasePlugin IUIPlugin INotify)

public:
    // Only initialises the fields: real set-up happens in Init.
    CSMSUIPlugin();
    // Deletes nothing: the services are destroyed only through OnDestroy.
    ~CSMSUIPlugin() override;

    // IBaseInterface
    void Release() override {}
    int GetLastError() override { return 0; }

    // IDestroyEvent
    void OnDestroy() override;
    void UnSDKRegisterEvent() override;

    // IBasePlugin
    int Init() override;
    int GetPluginType() override { return 0; }
    QString GetCLSID() override { return QString(); }
    int GetVersion() override { return 0; }
    QString GetPluginName() override;
    bool IsAllowRelease() override { return false; }
    int QueryInterface(int id, QObject **out) override;

    // IUIPlugin
    int ShowWindow(QWidget *parent, QRect &rect) override;
    int DoModal() override;
    void Hide() override;
    void FitSize(QRect &rect) override;
    bool IsReady() override { return false; }
    // Language changes arrive as a host event instead (Notify 320).
    int ChangeLang(const QString &) override { return 0; }

    // INotify
    int Notify(unsigned int event, unsigned int param1, unsigned int param2) override;

private:
    // The SMS service, created on first use; null once OnDestroy has run, so that a late
    // host call cannot bring the window, the store and the SDK registrations back.
    CSMSUIService *service();

    CSMSUIService *m_pSmsUiService = nullptr;          // not owned
    CSettingUIService *m_pSettingUiService = nullptr;  // not owned
    bool m_bDestroyed = false;
};

// The plug-in verification record older hosts check before loading a library.
extern "C" Q_DECL_EXPORT const char *qt_plugin_query_verification_data();
