// SPDX-License-Identifier: GPL-3.0-or-later
// The SMS window's lifecycle: construction, layout, wiring, language and teardown.
#include "SMSUIMainDlg.h"

#include <QBoxLayout>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>

#include "Change.h"
#include "CommonUtils.h"
#include "HostInterfaces.h"
#include "PluginIds.h"
#include "notify/SMSMemoryFullPopup.h"
#include "operations/SMSEditUILogic.h"
#include "settings/SmsSettingUILogic.h"
#include "store/SMSStatusUILogic.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SMSWaitingDlg.h"
#include "SmsLog.h"
#include "settings/SmsSettingXMLParse.h"
#include "Startup.h"
#include "utps_sdk.h"

SMSUIMainDlg *SMSUIMainDlg::s_pInstance = nullptr;

namespace {
const QString kContext = QStringLiteral("SMSUIPlugin");
// Event that tells the host's status bar that message counts changed.
constexpr unsigned int kStatusBarNotice = 354;
} // namespace

SMSUIMainDlg *SMSUIMainDlg::GetInstance()
{
    if (!s_pInstance)
        s_pInstance = new SMSUIMainDlg;
    return s_pInstance;
}

SMSUIMainDlg *SMSUIMainDlg::existingInstance()
{
    return s_pInstance;
}

void SMSUIMainDlg::Destroy()
{
    delete s_pInstance;
    s_pInstance = nullptr;
}

QString SMSUIMainDlg::tr(const QString &key)
{
    return Change::tr(key, kContext);
}

SMSUIMainDlg::SMSUIMainDlg()
    : m_SimDetectThread(1)
    , m_DeviceDetectThread(2)
{
    m_splitterSizes << 500 << 180;
    readConfiguration();
}

void SMSUIMainDlg::readConfiguration()
{
    // Read once for the window's life: the configuration file and the host's dual-mode flag.
    QMultiHash<QString, QString> config;
    if (SmsSettingXMLParse *parser = SmsSettingXMLParse::GetInstance()) {
        const int result = parser->GetSettingsFromXML(&config);
        if (result != 0)
            qCWarning(lcSmsWindow) << "configuration not read, result" << result;
    }
    m_bShowSMCount = config.value(QStringLiteral("ShowSMCount")) == QLatin1String("true");
    m_bSentItemsBox = config.value(QStringLiteral("SentItemsBox")) == QLatin1String("true");
    m_bHideDualModeCard =
        CommonUtils::GetSettings(QStringLiteral("DualModeCard"),
                                 QStringLiteral("HideDoubleModeCardNode"))
        == QLatin1String("true");
    // Conversions on the SDK and worker threads need to know whether sent copies go to
    // their own folder; the store is told here and again (false) when the window goes.
    m_pStatusLogicObject = SMSStatusUILogic::Instance();
    if (m_pStatusLogicObject)
        m_pStatusLogicObject->setSentItemsBox(m_bSentItemsBox);
}

SMSUIMainDlg::~SMSUIMainDlg()
{
    saveLayoutState();
    // A batch still running works on the store's records: end it before anything goes.
    if (m_SMSThreadInst.isRunning()) {
        SMSThreadUI::StopSmsThread();
        m_SMSThreadInst.wait();
    }
    SMSEditUILogic::Destroy();
    stopDetectors();
    destroySettingsPage();
    if (m_pStatusLogicObject) {
        m_pStatusLogicObject->setSentItemsBox(false);
        m_pStatusLogicObject->setAcceptDropLOutboxOrLSenditemHook({});
        m_pStatusLogicObject->ReleaseAllSmsBuffers();
        SMSStatusUILogic::Destroy();
        m_pStatusLogicObject = nullptr;
    }
    releaseALLSMSTables();
    // Both may be detached from the window (another folder shown, or no table at all).
    delete m_pEmptyTable;
    m_pEmptyTable = nullptr;
    delete m_pTextPreview;
    m_pTextPreview = nullptr;
    destroyToolBar();
    delete m_pSMSWaitingDlgInstance;
    m_pSMSWaitingDlgInstance = nullptr;
    releaseArrivalResources();
    delete m_pMemoryFullPopup.data();  // parentless: it would outlive the window
}

void SMSUIMainDlg::stopDetectors()
{
    // Stopped before the store goes, so that no detector probes a freed store.
    for (DetectMemoryDeviceThread *detector : {&m_SimDetectThread, &m_DeviceDetectThread}) {
        detector->setStopRequest(true);
        if (detector->isRunning())
            CommonUtils::WaitForThreadToStop(detector, 5);
    }
    for (DetectMemoryDeviceThread *detector : {&m_SimDetectThread, &m_DeviceDetectThread}) {
        // A detector still inside its run holds this mutex: wait for it to leave.
        detector->runMutex()->lock();
        detector->runMutex()->unlock();
        detector->wait();
    }
}

bool SMSUIMainDlg::CreateSMSMainLayout()
{
    m_pHLayout = new QHBoxLayout;
    m_pHSplitter = new QSplitter(Qt::Horizontal);
    m_pVLayout = new QVBoxLayout;
    m_strPluginPath = CommonUtils::GetPluginDataPath() + QStringLiteral("/plugins/SMSUIPlugin/");

    SMSUIMainInitialization();
    initializeLogic();
    addListenersAndData();
    initEditorEntryPoints();
    if (m_pStatusLogicObject)
        m_pStatusLogicObject->PopulateSMSFromSDK(UTPS_SMS_MEM_PC);
    int multiMode = 0;
    const long mmResult = UTPS_DevSrv_GetMultiModeCardStatus(&multiMode, 0, 0);
    if (mmResult != 0)
        qCWarning(lcSmsWindow) << "UTPS_DevSrv_GetMultiModeCardStatus failed:" << mmResult;
    m_bMultiModeCard = mmResult == 0 && multiMode != 0;

    populateLocalSMSTables();
    storeAllTreeNodeImages();
    connect(&m_SimDetectThread, &DetectMemoryDeviceThread::signalReadSIM, this,
            &SMSUIMainDlg::OnSMSReadComplete);
    connect(&m_DeviceDetectThread, &DetectMemoryDeviceThread::signalReadSIM, this,
            &SMSUIMainDlg::OnSMSReadComplete);
    createSMSTreePanel();
    checkDevMemStatus(true);
    onClickSMSTreeNode(m_pLocalInbox, 1);
    createRightPanel();

    bool assembled = false;
    if (m_pHLayout && m_pRightPanel && m_pVLayout && m_pHSplitter && m_pLocalInbox) {
        m_pVLayout->setObjectName(QStringLiteral("SMSUIPlugin_VMainLayout"));
        m_pHLayout->setObjectName(QStringLiteral("SMSUIPlugin_HsmsLayout"));
        m_pTreeWidget->setTextElideMode(Qt::ElideMiddle);
        m_pHSplitter->addWidget(m_pTreeWidget);
        m_pHSplitter->addWidget(m_pRightPanel);
        m_pHSplitter->setSizes({130, 500});
        connect(m_pHSplitter, &QSplitter::splitterMoved, this,
                &SMSUIMainDlg::onSplitterMovedForSMSTree);
        m_pHLayout->addWidget(m_pHSplitter);
        m_pVLayout->addLayout(m_pHLayout);
        m_pVLayout->setContentsMargins(3, 8, 3, 8);
        setLayout(m_pVLayout);
        m_pLocalInbox->setSelected(true);
        m_pTreeWidget->setCurrentItem(m_pLocalInbox);
        assembled = true;
    }
    SetLanguage(true);
    connect(m_pTreeWidget, &QTreeWidget::itemExpanded, this, &SMSUIMainDlg::onTreeNodeExpanded);
    notifyStatusBarCount();
    if (m_pSettingLogic) {
        m_pSettingLogic->GetSMSConfigValue(QStringLiteral("Local2Device"), &m_bLocal2Device);
        if (m_pStatusLogicObject)
            m_pStatusLogicObject->setPCToCardFlag(m_bLocal2Device);
    }
    for (_EN_SMS_POSITION p : {EN_LOCAL_OUTBOX, EN_LOCAL_INBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE,
                               EN_LOCAL_TRASH, EN_LOCAL_REPORT, EN_LOCAL_SENTITEMS})
        syncSMSTableWithBuffers(p);
    initStorageWarning();
    restoreLayoutState();
    return assembled;
}

void SMSUIMainDlg::SMSUIMainInitialization()
{
    setObjectName(QStringLiteral("SMSUIPlugin_MainWidget"));
    m_pVSplitter = new QSplitter(Qt::Vertical, this);
    m_pVSplitter->setObjectName(QStringLiteral("SMSUIPlugin_SplitSmsWidgetMsgPreview"));
    m_pRightPanel = new QWidget(this);
    m_pRightPanel->setObjectName(QStringLiteral("SMSUIPlugin_PreviewWidget"));
    m_pTextPreview = new QTextBrowser(this);
    m_pTextPreview->setObjectName(QStringLiteral("SMSUIPlugin_TextPreview"));
    m_pTextPreview->setReadOnly(true);
    // Links go to the system browser (openLink); the pane itself never navigates.
    m_pTextPreview->setOpenLinks(false);
    // Tab moves on from the preview rather than being typed into it.
    m_pTextPreview->setTabChangesFocus(true);
    m_pTreeWidget = new SMSUITreeWidget(this);
    m_pTreeWidget->setObjectName(QStringLiteral("SMSUIPlugin_TreeSMSWidget"));
    m_pTreeWidget->setItemDelegate(new GridDelegateLayout(m_pTreeWidget));
    m_pTreeWidget->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_pTreeWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTreeWidget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A small window must still reach every folder, so the tree scrolls when it needs to.
    m_pTreeWidget->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pTreeWidget->setMainDlg(this);

    // The key sequences and the commands they trigger are attached with the commands.
    for (QShortcut **s : {&m_pNewShortcut, &m_pEditShortcut, &m_pSendShortcut,
                          &m_pReplyShortcut, &m_pForwardShortcut, &m_pDeleteShortcut,
                          &m_pCallShortcut})
        *s = new QShortcut(this);

    createLocalTreeItems();
    supportShortcutsKeys();

    m_pPluginContainer = Startup::GetPluginContainer();
    if (!m_pPluginContainer) {
        qCWarning(lcSmsWindow) << "plug-in container missing: no notifications";
        return;
    }
    m_pNotifyPluginObject = m_pPluginContainer->GetPlugin(
        QString::fromLatin1(PluginIds::NotifyService), InterfaceId::NotifyService);
    m_pNotifyService = qobject_cast<INotifyService *>(m_pNotifyPluginObject);
}

void SMSUIMainDlg::initializeLogic()
{
    if (!m_pEditLogic)
        m_pEditLogic = SMSEditUILogic::Instance();
    if (!m_pStatusLogicObject)
        m_pStatusLogicObject = SMSStatusUILogic::Instance();
    if (!m_pSettingLogic) {
        m_pSettingLogic = SMSSettingUILogic::GetInstance();
        if (m_pSettingLogic)
            m_pSettingLogic->InitSmsXMLConfiguration();
    }
    if (!m_pSMSWaitingDlgInstance)
        m_pSMSWaitingDlgInstance = new SMSWaitingDlg;
    fetchSettingsPage();
}

void SMSUIMainDlg::addListenersAndData()
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    if (!store) {
        qCWarning(lcSmsWindow) << "no message store: the window gets no store signals";
        return;
    }
    // The worker thread's, the store's and the detectors' signals that the operation,
    // arrival and device reactions handle are connected where those reactions live.
    connect(m_pTextPreview, &QTextBrowser::anchorClicked, this, &SMSUIMainDlg::openLink);
    connect(m_pTreeWidget, &QTreeWidget::itemSelectionChanged, this,
            &SMSUIMainDlg::onSMSTreeItemSelectionChangedSlot);
    connect(m_pTreeWidget, &QTreeWidget::itemEntered, this, &SMSUIMainDlg::onSmsTreeItemEntered);
    connect(m_pTreeWidget, &QTreeWidget::itemCollapsed, this,
            &SMSUIMainDlg::onLocalNodeCollapsed);
    connect(m_pTreeWidget, &QTreeWidget::itemExpanded, this, &SMSUIMainDlg::onLocalNodeExpanded);
    connect(store, &SMSStatusUILogic::Network_Status, this, &SMSUIMainDlg::GetPresentNetworkStatus);
    connect(store, &SMSStatusUILogic::SMSSimStatus, this, &SMSUIMainDlg::OnSimStatusChanged);
    connect(store, &SMSStatusUILogic::InitStorageType, this, &SMSUIMainDlg::OnSMSReadComplete);
    connect(m_pVSplitter, &QSplitter::splitterMoved, this, &SMSUIMainDlg::onSplitterMoved);
    connectOperationSignals();
    initDragAndDrop();
    connectArrivalSignals(store);
    connectReactionSignals(store);
}

void SMSUIMainDlg::createRightPanel()
{
    if (!m_pRightPanel || !m_pVSplitter)
        return;
    auto *layout = new QVBoxLayout(m_pRightPanel);
    layout->setObjectName(QStringLiteral("SMSUIPlugin_VrightLayout"));
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pToolBarWidget = initToolBar(m_pRightPanel);
    if (m_pToolBarWidget)
        m_pToolBarWidget->setObjectName(ToolBarLogic::GetObjectName(kContext));
    // Every item starts disabled; selections and folders enable what applies.
    for (const ToolItem &item : std::as_const(m_toolItems))
        disableToolBarItem(item.id);
    if (m_pCurrentTable)
        setTableHeaderTexts(m_pCurrentTable);
    initCommands();
    if (m_pToolBarWidget)
        layout->addWidget(m_pToolBarWidget);
    layout->addWidget(m_pVSplitter);
}

void SMSUIMainDlg::SetLanguage(bool bInitial)
{
    for (const MENU::QActionInfo &info : std::as_const(m_rightClickList)) {
        if (!info.action)
            continue;
        if (info.key == QLatin1String("IDS_TREE_SIM")) {
            info.action->setText(GetSIMText(info.key));
            continue;
        }
        QString text;
        QKeySequence shortcut;
        Change::tr(info.key, kContext, text, shortcut);
        info.action->setText(text);
        info.action->setShortcut(shortcut);
    }
    setLocalTreeSmsLanguage();
    setSimTreeSmsLanguage();
    setDeviceSmsLanguage();
    if (!bInitial) {
        for (int p = EN_LOCAL_OUTBOX; p <= EN_LOCAL_SENTITEMS; ++p) {
            if (p == EN_LOCAL_CBSBOX || p == EN_POS_NONE)
                continue;
            syncSMSTableWithBuffers(static_cast<_EN_SMS_POSITION>(p));
        }
        syncSMSTableWithBuffers(EN_LOCAL_SENTITEMS);
    }
    setReoprtFolderContent();
    setOtherSmsLanguage();
    setLanguageToFlashMessage();
    ChangeLanguageForMemoryFullPopUp();
    supportShortcutsKeys();
    retranslateStorageWarning();
    retranslateLayout();
}

void SMSUIMainDlg::notifyStatusBarCount()
{
    if (m_pNotifyService)
        m_pNotifyService->SendTo(QString::fromLatin1(PluginIds::StatusBar), kStatusBarNotice, 0, 0);
}

void SMSUIMainDlg::onSplitterMoved(int, int)
{
    if (m_pVSplitter)
        m_splitterSizes = m_pVSplitter->sizes();
}

void SMSUIMainDlg::setMainFrameShownFlag() { m_bMainFrameShown = true; }
void SMSUIMainDlg::SetRFModeFlag() { m_bRFMode = true; }
void SMSUIMainDlg::ResetRFModeFlag() { m_bRFMode = false; }
void SMSUIMainDlg::SetPhonebookFlag() { m_bPhonebook = true; }
void SMSUIMainDlg::ResetPhonebookFlag() { m_bPhonebook = false; }
void SMSUIMainDlg::SetSMSUpdateFlag() { m_bSMSUpdate = true; }
bool SMSUIMainDlg::isSMSupdateFlagSet() { return m_bSMSUpdate; }
void SMSUIMainDlg::ResetSMSUpdateFlag() { m_bSMSUpdate = false; }
void SMSUIMainDlg::SetNvDeviceFlag() { m_bNvDevice = true; }
void SMSUIMainDlg::ResetNvDeviceFlag() { m_bNvDevice = false; }
void SMSUIMainDlg::SetSimMemoryFlag() { m_bSimMemory = true; }
void SMSUIMainDlg::ReSetSimMemoryFlag() { m_bSimMemory = false; }
