// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process-wide object behind the SMS window. The root object forwards Init,
// ShowWindow, Hide, FitSize and the host's events to it; other plug-ins reach it through
// the container (interface 4097 of this plug-in) to open the message editor, ask whether
// a message can be sent, or read the number of unread messages.
//
// It creates the window (SMSUIMainDlg) and the store (SMSStatusUILogic) in Init and
// destroys both in Destroy(); between the two it only borrows them.
//
// Definitions: SMSUIService.cpp (lifecycle, window placement, the ISMSUIService calls),
// SMSUIServiceEvents.cpp (host events).
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include "HostInterfaces.h"

class PluginContainer;
class SMSStatusUILogic;
class SMSUIMainDlg;
class ILayoutPlugin;

class CSMSUIService : public QObject, public ISMSUIService
{
    Q_OBJECT
    // moc's qt_metacast answers "CSMSUIService", "ISMSUIService" (a base class) and the
    // interface string; other plug-ins convert with qobject_cast<ISMSUIService *>.
    Q_INTERFACES(ISMSUIService)

public:
    // The singleton, created on first call. Owned by the class: Destroy() deletes it.
    static CSMSUIService *instance();
    // Destroys the window, the store and the service, in that order. Harmless when there
    // is no service.
    static void Destroy();

    // Subscribes to the phone-book events and creates the window and the store.
    // 1 on success, 0 without a plug-in container.
    int Init();
    // Places the window in parent at rect (left, top, right, bottom). 1, or 0 before Init.
    int ShowWindow(QWidget *parent, QRect &rect);
    void Hide();
    void FitSize(QRect &rect);
    int DoModal() { return 0; }

    // ISMSUIService
    int ShowSMSEditor(QString number, QString content, QWidget *parent) override;
    int GetUnReadSMSTotalCount() override;
    bool CanSendSMS() override;

    // Brings the SMS page to the front of the main frame (or the mini frame).
    void showPlugin();

    // Host events that need the window: 1 when handled, 0 without a window.
    int Notify(unsigned int event, unsigned int param1, unsigned int param2);
    // Host events handled with or without a window. Always 0.
    int checkNotifyType(unsigned int event, unsigned int param1, unsigned int param2);

    // Unregisters the store from the SDK; no SDK callback reaches the plug-in afterwards.
    void unSDKRegisterEvent();

    // Last placement given to ShowWindow (the parent may have gone since).
    QWidget *lastParent() const { return m_pParent; }
    QRect lastRect() const { return m_rect; }

private:
    CSMSUIService();
    ~CSMSUIService() override;
    Q_DISABLE_COPY(CSMSUIService)

    void destroy();
    // Re-resolves contact names and re-synchronises every folder table.
    void refreshFolders();
    void onPhoneBookChanged();
    void selectInMainToolbarAndMenu(int toolbarInterface, int menuInterface);

    bool m_bSimAvailable = false;
    SMSUIMainDlg *m_pSmsUiMainDlg = nullptr;
    SMSStatusUILogic *m_pStatusLogic = nullptr;
    PluginContainer *m_pPluginContainer = nullptr;
    ILayoutPlugin *m_pLayoutPlugin = nullptr;
    QPointer<QWidget> m_pParent;
    QRect m_rect;  // null until ShowWindow: left 0, top 0, right -1, bottom -1

    static CSMSUIService *s_pInstance;
};
