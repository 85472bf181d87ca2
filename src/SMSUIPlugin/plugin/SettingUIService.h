// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The object the host's settings dialog uses to embed the SMS settings page (interface
// 4098 of this plug-in): the page's name in the dialog's list, showing and hiding it in
// the dialog's frame, OK and Cancel. Every call goes to the page singleton
// SmsSettingUIPlugin, which this service borrows and never deletes (the SMS window
// destroys it).
#include <QObject>
#include <QPointer>
#include <QRect>

#include "HostInterfaces.h"

class SmsSettingUIPlugin;

class CSettingUIService : public QObject, public ISettingUIPlugin
{
    Q_OBJECT
    // moc's qt_metacast answers "CSettingUIService", "ISettingUIPlugin" (a base class) and
    // the interface string.
    Q_INTERFACES(ISettingUIPlugin)

public:
    // The singleton, created on first call. Owned by the class: Destroy() deletes it.
    static CSettingUIService *instance();
    // The singleton if it exists; never creates it.
    static CSettingUIService *existingInstance() { return s_pInstance; }
    // Deletes the service (not the page). Harmless when there is none.
    static void Destroy();

    // Takes the page singleton. Always true.
    bool Init();
    // Loads the page's current values and writes the alert defaults; nothing before Init.
    void InitSmsSetting();

    // ISettingUIPlugin
    bool OnClickSettingOkButton() override;
    bool OnClickSettingCancelButton() override;
    int ShowSettingDialog(QWidget *parent, QRect &rect) override;
    QString GetModuleName() override;
    bool HideSetting() override;
    bool IsActiveSetting() override { return m_bActive; }

    // Host events (reached only while the SMS window exists): language change re-labels
    // the page, device removal discards unsaved edits. Always 0.
    int Notify(unsigned int event, unsigned int param1, unsigned int param2);
    // Unregisters the page's device callback.
    void unSDKRegisterEvent();

private:
    CSettingUIService();
    ~CSettingUIService() override;
    Q_DISABLE_COPY(CSettingUIService)

    // Not owned; cleared by Qt when the SMS window destroys the page.
    QPointer<SmsSettingUIPlugin> m_pSettingPage;
    bool m_bActive = false;

    static CSettingUIService *s_pInstance;
};
