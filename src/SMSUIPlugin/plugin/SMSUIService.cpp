// SPDX-License-Identifier: GPL-3.0-or-later
// The SMS UI service: lifecycle, placing the window in the host's frame, and the calls
// other plug-ins make through ISMSUIService.
#include "SMSUIService.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QWidget>

#include "Change.h"
#include "CommonUtils.h"
#include "HostPluginLookup.h"
#include "PluginIds.h"
#include "store/SMSStatusUILogic.h"
#include "window/SMSUIMainDlg.h"
#include "SmsLog.h"
#include "Startup.h"

CSMSUIService *CSMSUIService::s_pInstance = nullptr;

namespace {
// The phone-book events the service subscribes to, in the order it subscribes.
constexpr unsigned int kPhoneBookEvents[] = {HostEvent::PhoneBookAdded,
                                             HostEvent::PhoneBookChanged,
                                             HostEvent::PhoneBookRemoved};
// Interface numbers the editor path asks the toolbar and the menu for.
constexpr int kToolbarForEditor = 4098;
constexpr int kMenuForEditor = 4099;
// The editor mode that sends a given text to given numbers (the window's Send command).
constexpr int kEditorSendMode = 9002;

QString smsText(const char *key)
{
    return Change::tr(QString::fromLatin1(key), QString::fromLatin1(PluginIds::SmsUiName));
}
} // namespace

CSMSUIService *CSMSUIService::instance()
{
    if (!s_pInstance)
        s_pInstance = new CSMSUIService;
    return s_pInstance;
}

void CSMSUIService::Destroy()
{
    if (!s_pInstance)
        return;
    s_pInstance->destroy();
    delete s_pInstance;
    s_pInstance = nullptr;
}

CSMSUIService::CSMSUIService() = default;

CSMSUIService::~CSMSUIService()
{
    qCDebug(lcSmsPlugin) << "SMS service deleted";
    m_pSmsUiMainDlg = nullptr;
    m_pStatusLogic = nullptr;
    m_pPluginContainer = nullptr;
    m_pLayoutPlugin = nullptr;
}

void CSMSUIService::destroy()
{
    if (m_pSmsUiMainDlg) {
        SMSUIMainDlg::Destroy();
        m_pSmsUiMainDlg = nullptr;
    }
    if (m_pStatusLogic) {
        // The window normally takes the store with it; Destroy() on no store is harmless.
        SMSStatusUILogic::Destroy();
        m_pStatusLogic = nullptr;
    }
}

int CSMSUIService::Init()
{
    m_pPluginContainer = Startup::GetPluginContainer();
    if (!m_pPluginContainer) {
        qCWarning(lcSmsPlugin) << "Init: plug-in container is null";
        return 0;
    }
    if (auto *notify = pluginInterface<INotifyService>(m_pPluginContainer, PluginIds::NotifyService,
                                                       InterfaceId::NotifyService)) {
        for (unsigned int event : kPhoneBookEvents)
            notify->Subscribe(QString::fromLatin1(PluginIds::SmsUi), event);
    } else {
        qCWarning(lcSmsPlugin) << "Init: no notify service, phone-book changes will not arrive";
    }
    if (m_pSmsUiMainDlg)
        return 1;
    m_pSmsUiMainDlg = SMSUIMainDlg::GetInstance();
    m_pStatusLogic = SMSStatusUILogic::Instance();
    if (!m_pSmsUiMainDlg->CreateSMSMainLayout())
        qCWarning(lcSmsPlugin) << "Init: the SMS window's layout is incomplete";
    const int result = m_pStatusLogic->InitStatusLogic();
    if (result != 0)
        qCWarning(lcSmsPlugin) << "Init: InitStatusLogic returned" << result;
    return 1;
}

int CSMSUIService::ShowWindow(QWidget *parent, QRect &rect)
{
    m_pParent = parent;
    m_rect = rect;
    if (!m_pStatusLogic || !m_pSmsUiMainDlg) {
        qCWarning(lcSmsPlugin) << "ShowWindow before Init";
        return 0;
    }
    if (m_pStatusLogic->isPBChanged()) {
        m_pStatusLogic->setPBChanged(false);
        refreshFolders();
    }
    SMSUIMainDlg *window = m_pSmsUiMainDlg;
    window->setParent(parent, Qt::WindowFlags());
    // rect is inclusive (right and bottom are the last pixel), hence the +1.
    window->resize(rect.right() + 1 - rect.left(), rect.bottom() + 1 - rect.top());
    window->move(rect.left(), rect.top());
    if (QWidget *focus = window->focusWidget())
        focus->setFocus(Qt::OtherFocusReason);
    window->setContentsMargins(4, 0, 4, 0);
    window->setAttribute(Qt::WA_MouseTracking);
    window->show();
    return 1;
}

void CSMSUIService::refreshFolders()
{
    if (!m_pStatusLogic || !m_pSmsUiMainDlg)
        return;
    m_pStatusLogic->SyncBuffersWithPB();
    const bool cellBroadcast =
        CommonUtils::GetSettings(QStringLiteral("CBS"), QStringLiteral("enable"))
        == QLatin1String("true");
    for (int p = EN_LOCAL_OUTBOX; p <= EN_LOCAL_SENTITEMS; ++p) {
        if (p == EN_POS_NONE || (p == EN_LOCAL_CBSBOX && !cellBroadcast))
            continue;
        m_pSmsUiMainDlg->syncSMSTableWithBuffers(static_cast<_EN_SMS_POSITION>(p));
    }
}

void CSMSUIService::Hide()
{
    if (m_pSmsUiMainDlg)
        m_pSmsUiMainDlg->hide();
}

void CSMSUIService::FitSize(QRect &rect)
{
    if (!m_pSmsUiMainDlg)
        return;
    m_pSmsUiMainDlg->move(rect.left(), rect.top());
    m_pSmsUiMainDlg->resize(rect.right() + 1 - rect.left(), rect.bottom() + 1 - rect.top());
}

bool CSMSUIService::CanSendSMS()
{
    // Before Init there is no window to ask, and creating one here would leave Init with
    // a window that never gets its layout: "cannot send" is the honest answer.
    if (!m_pSmsUiMainDlg) {
        qCDebug(lcSmsPlugin) << "CanSendSMS before Init";
        return false;
    }
    return m_pSmsUiMainDlg->canSendSMS();
}

int CSMSUIService::GetUnReadSMSTotalCount()
{
    if (!m_pStatusLogic)
        m_pStatusLogic = SMSStatusUILogic::Instance();
    return m_pStatusLogic ? m_pStatusLogic->GetUnReadSMSTotalCount() : 0;
}

int CSMSUIService::ShowSMSEditor(QString number, QString content, QWidget *parent)
{
    if (!m_pStatusLogic)
        m_pStatusLogic = SMSStatusUILogic::Instance();
    if (!m_pSmsUiMainDlg || !m_pStatusLogic) {
        qCWarning(lcSmsPlugin) << "ShowSMSEditor: no window or store";
        return -1;
    }
    if (!m_pStatusLogic->IsInputNumberValid(number)) {
        const int answer = CommonUtils::ShowMessage(
            QMessageBox::Question, m_pSmsUiMainDlg, smsText("IDS_ERROR_CAPTION"),
            smsText("IDS_STR_NUMBERINVALID"), QStringLiteral("IDS_OK"), QString(), QString(),
            /* modal */ true, Qt::WindowCloseButtonHint);
        // Only these two answers abandon the editor; any other goes on with the number
        // as given, so the user can correct it there.
        if (answer == QMessageBox::Ok || answer == QMessageBox::No)
            return -1;
    }
    showPlugin();
    if (!CommonUtils::IsMiniMode())
        selectInMainToolbarAndMenu(kToolbarForEditor, kMenuForEditor);

    m_pSmsUiMainDlg->SetPhonebookFlag();
    m_pSmsUiMainDlg->setPendingEditorValues(number, content);
    if (parent)
        m_pSmsUiMainDlg->setEditorParentOverride(parent);
    // The editor starts without a source message: whatever row is selected in the window
    // is not what the caller wants to send.
    const int selected = m_pSmsUiMainDlg->selectedRecordId();
    m_pSmsUiMainDlg->setSelectedRecordId(-1);
    m_pSmsUiMainDlg->onButtonClickedNewSMS(kEditorSendMode);
    m_pSmsUiMainDlg->setSelectedRecordId(selected);
    m_pSmsUiMainDlg->setEditorParentOverride(nullptr);
    return 0;
}

void CSMSUIService::selectInMainToolbarAndMenu(int toolbarInterface, int menuInterface)
{
    const QString name = QString::fromLatin1(PluginIds::SmsUiName);
    auto *toolbar = pluginInterface<IMainToolbar>(m_pPluginContainer, PluginIds::MainToolbar,
                                                  toolbarInterface);
    if (!toolbar) {
        qCWarning(lcSmsPlugin) << "no main toolbar to select the SMS page in";
        return;
    }
    toolbar->SelectPluginButton(name);
    auto *menu = pluginInterface<IMainMenuUI>(m_pPluginContainer, PluginIds::MainMenu, menuInterface);
    if (!menu) {
        qCWarning(lcSmsPlugin) << "no main menu to select the SMS page in";
        return;
    }
    menu->SelectPluginEntry(name);
}

void CSMSUIService::showPlugin()
{
    m_pPluginContainer = Startup::GetPluginContainer();
    if (!m_pPluginContainer) {
        qCWarning(lcSmsPlugin) << "showPlugin: plug-in container is null";
        return;
    }
    if ((CommonUtils::GetFrameStyle() & FrameStyle::Mini) == 0) {
        m_pLayoutPlugin = CommonUtils::GetLayoutPlugin();
        if (m_pLayoutPlugin)
            m_pLayoutPlugin->ShowPluginPage(QString::fromLatin1(PluginIds::SmsUiName));
        selectInMainToolbarAndMenu(InterfaceId::Default, InterfaceId::Default);
        return;
    }
    auto *mini = pluginInterface<IMiniFrameUIService>(m_pPluginContainer, PluginIds::MiniFrame,
                                                      InterfaceId::Default);
    if (mini)
        mini->ShowPlugin(QString::fromLatin1(PluginIds::SmsUi));
    else
        qCWarning(lcSmsPlugin) << "showPlugin: no mini frame";
}

void CSMSUIService::unSDKRegisterEvent()
{
    if (m_pStatusLogic)
        m_pStatusLogic->unSDKRegisterEvent();
}
