#pragma once
// The SMS window: folder tree on the left; toolbar, the current folder's message table and
// the preview pane on the right. A process-wide singleton created by the SMS UI service.
//
// The definitions are split by concern: SMSUIMainDlg.cpp (lifecycle, layout, language),
// SMSUIMainDlgTree.cpp (folder tree), SMSUIMainDlgTreeLook.cpp (tree icons, widths,
// labels), SMSUIMainDlgTables.cpp (message tables), SMSUIMainDlgPreview.cpp (preview pane),
// SMSUIMainDlgToolBar.cpp (toolbar construction and item states), SMSUIMainDlgDevice.cpp
// (SIM and device storage discovery), SMSUIMainDlgHostEvents.cpp (SIM presence and
// network state reactions), SMSUIMainDlgUsage.cpp (usage-statistics file). Later concerns
// keep their declarations in their own BEGIN/END block at the end of the class.
#include <QHash>
#include <QIcon>
#include <QList>
#include <QMultiHash>
#include <QMutex>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

#include "store/DetectMemoryDeviceThread.h"
#include "operations/SMSThreadUI.h"
#include "store/SmsRecord.h"
#include "ToolBarLogic.h"
#include "QBuildMenu.h"

class QBoxLayout;
class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QShortcut;
class QSplitter;
class QTableWidgetItem;
class QTextBrowser;
class QTreeWidgetItem;
class QVBoxLayout;
class SearchLineEdit;
class SMSEditUILogic;
class SMSSettingUILogic;
class SMSStatusUILogic;
class SMSUITableWidget;
class SMSUITreeWidget;
class SMSWaitingDlg;
class PluginContainer;
class INotifyService;

class SMSUIMainDlg : public QWidget
{
    Q_OBJECT
public:
    static SMSUIMainDlg *GetInstance();
    static void Destroy();
    ~SMSUIMainDlg() override;

    // Layout and start-up
    bool CreateSMSMainLayout();
    void SMSUIMainInitialization();
    void initializeLogic();
    void addListenersAndData();
    void SetLanguage(bool bInitial);
    static QString tr(const QString &key);

    // Folder tree
    void createSMSTreePanel();
    void initSimTree();
    void initDeviceTree();
    int getSMSTreeNodePosition(QTreeWidgetItem *item);
    static int getCurrentFrom(int position);
    void activateCurrentTreeNode();
    void clearTreeNodeFocus();
    void updateCount();
    void getBoxItemsCount(unsigned int *total, unsigned int *unread) const;
    void storeAllTreeNodeImages();
    void getImageFromFile(int index, QIcon &icon) const;
    void getMirrorImage(int index, QIcon &icon) const;
    void setLocalTreeNodeImages();
    void resetImagesForSMSTreeNode();
    void setMirrorImageForLocal();
    void setMirrorImageForSim();
    void setMirrorImageForDevice();
    void createOpenFolderIcon(QTreeWidgetItem *item);
    void mirrorImageOfOpenFolder(QTreeWidgetItem *item);
    void setSmsTreeToolTipAndScrollBar(QTreeWidgetItem *item);
    void setWidthForSMSTreeWidget();
    void setLocalTreeSmsLanguage();
    void setSimTreeSmsLanguage();
    void setDeviceSmsLanguage();
    void setOtherSmsLanguage();
    QString GetSIMText(const QString &key) const;
    // As GetSIMText, but the word names the storage the worker's batch is aimed at.
    QString GetSIMTextEx(const QString &key) const;
    QString ReplaceSIMTextWithDevice(const QString &key) const;
    QString ReplaceSIMTextWithLocal(const QString &key) const;

    // Message tables
    void populateLocalSMSTables();
    void populateSimSMSTables();
    void populateDeviceSMSTables();
    void syncSMSTableWithBuffers(_EN_SMS_POSITION position);
    int emptySMSTable(_EN_SMS_POSITION position);
    void addRecToSMSTable(_EN_SMS_POSITION position, SmsRecord *record);
    void populateTableRow(SmsRecord *record, int row, SMSUITableWidget *table);
    void setTableNameField(SmsRecord *record, QTableWidgetItem *item);
    bool setReadMessageIcon(SmsRecord *record, QTableWidgetItem *item);
    bool doesTableHasRecord(int id, SMSUITableWidget *table) const;
    SMSUITableWidget *createEmptyTable();
    void releaseALLSMSTables();
    int getEnPositionOfSelectedTableItem() const;
    void GetRecordListByLocation(_EN_SMS_POSITION position, QList<SmsRecord> &list) const;
    void GetSmsSelectedRecord(SmsRecord *record);
    static QString parseTimeOfSdk(const QString &sdkTime);

    // Preview pane
    void fillTextPreviewPane(const QString &names, const QString &content, SmsRecord *record,
                             int selectedRows);
    QString showSMSConentInPreviewPane();
    void loadPreviewtextOnTreeNodeClick(const QString &nodeText);
    void reSetPreviewArea();
    void setLanguageForPreviewAtTableSelection();
    void updatePreviewPaneForRightClick();
    // The labelled message HTML; names and content must already be escaped and linked.
    static QString buildMessageHtml(const QString &names, const QString &number,
                                    const QString &content, const QString &displayTime,
                                    const QString &priorityKey);
    // Markup characters of a message shown literally, then web addresses, e-mail addresses
    // and numbers turned into links by the host.
    static QString escapeForPreview(const QString &text);

    // Toolbar (built with every item disabled; commands connect later)
    QWidget *initToolBar(QWidget *parent);
    int enableToolBarItem(int id);
    int disableToolBarItem(int id);
    void enableAllToolbarItems();
    void disableAllToolbarItems();
    void supportShortcutsKeys();
    void appendShortcuts();
    void destroyToolBar();

    // Accessors the store, services and tests use
    bool isHaveSendItemsBox() const { return m_bSentItemsBox; }
    bool isShowCount() const { return m_bShowSMCount; }
    int selectedTreeNode() const { return m_iSelectedTreeNode; }
    SMSUITableWidget *currentTable() const { return m_pCurrentTable; }
    SMSUITableWidget *tableAt(_EN_SMS_POSITION position) const { return m_tableMap.value(position); }
    QTreeWidgetItem *treeItem(_EN_SMS_POSITION position) const;
    SMSUITreeWidget *treeWidget() const { return m_pTreeWidget; }
    QTextBrowser *previewPane() const { return m_pTextPreview; }
    const SMSThreadUI &workerThread() const { return m_SMSThreadInst; }
    SMSThreadUI &workerThread() { return m_SMSThreadInst; }
    DetectMemoryDeviceThread &simDetector() { return m_SimDetectThread; }
    DetectMemoryDeviceThread &deviceDetector() { return m_DeviceDetectThread; }
    QString lastPreviewText() const { return m_strLastPreviewText; }
    bool canSendSMS() const { return m_bCanSendSMS; }
    SMSWaitingDlg *waitingDialog() const { return m_pSMSWaitingDlgInstance; }

    // Storage discovery: builds the SIM and device subtrees for the storages the SDK lists.
    // Returns true when it refreshed the PC tables (argument false and storages listed).
    bool checkDevMemStatus(bool bInitial);
    // The SIM state last reported (kept by the SIM presence reactions).
    void setSimStateFlag(bool present) { m_bSimState = present; }

signals:
    void changeLanguageForTitle(int);
    void netStatusChanged(bool);

public slots:
    void onClickSMSTreeNode(QTreeWidgetItem *item, int column);
    void onSMSTreeItemSelectionChangedSlot();
    void onTreeNodeExpanded(QTreeWidgetItem *item);
    void onSmsTreeItemEntered(QTreeWidgetItem *item, int column);
    void onClickTableRow(int row);
    void onTableSelectionChanged();
    void openLink(const QUrl &url);
    void OnSMSReadComplete(int memory);
    void onLocalNodeCollapsed(QTreeWidgetItem *item);
    void onLocalNodeExpanded(QTreeWidgetItem *item);
    void OnHeaderClicked(int section);
    void onSplitterMoved(int pos, int index);
    void onSplitterMovedForSMSTree(int pos, int index);
    void setMainFrameShownFlag();
    void SetRFModeFlag();
    void ResetRFModeFlag();
    void SetPhonebookFlag();
    void ResetPhonebookFlag();
    void SetSMSUpdateFlag();
    bool isSMSupdateFlagSet();
    void ResetSMSUpdateFlag();
    void SetNvDeviceFlag();
    void ResetNvDeviceFlag();
    void SetSimMemoryFlag();
    void ReSetSimMemoryFlag();

private:
    SMSUIMainDlg();
    static SMSUIMainDlg *s_pInstance;

    void readConfiguration();
    void createLocalTreeItems();
    void createRightPanel();
    void configureTable(SMSUITableWidget *table);
    void setTableHeaderTexts(SMSUITableWidget *table);
    void connectTableSignals(SMSUITableWidget *table);
    void disconnectTableSignals(SMSUITableWidget *table);
    void buildStorageTables(const QList<_EN_SMS_POSITION> &positions);
    void appendRecordsOf(_EN_SMS_POSITION source, SMSUITableWidget *table);
    QList<_EN_SMS_POSITION> sourcesOf(_EN_SMS_POSITION position) const;
    void showFolderText(const QString &nodeText);
    QString folderText(const QString &nodeText) const;
    void previewRecord(SmsRecord *record, int selectedRows);
    QString priorityKeyFor(const SmsRecord &record) const;
    void initStorageTree(bool sim);
    void setStorageTreeLanguage(bool sim);
    void startDetector(DetectMemoryDeviceThread &detector);
    void setTreeIcons(bool mirrored, bool local, bool sim, bool device);
    const QList<QIcon> &treeIcons() const;
    QString readingLabel(QTreeWidgetItem *root) const;
    bool isRightToLeft() const;
    void notifyStatusBarCount();
    QIcon tableIcon(const QImage &image, bool mirrored);
    void stopDetectors();

    // Tables and tree
    QHash<_EN_SMS_POSITION, SMSUITableWidget *> m_tableMap;
    _EN_SMS_POSITION m_iSelectedTreeNode = EN_LOCAL_OUTBOX;
    SMSUITableWidget *m_pCurrentTable = nullptr;         // not owned
    SMSUITableWidget *m_pEmptyTable = nullptr;           // child of the window
    QTreeWidgetItem *m_pCurrentTreeItem = nullptr;
    QTreeWidgetItem *m_pRememberedTreeItem = nullptr;
    int m_iCurrentFrom = 0;
    int m_iDropTargetPosition = EN_POS_NONE;
    QString m_strNodeText;
    QString m_strSelectedNumber;
    QString m_strSelectedContent;
    int m_iSelectedRecordId = -1;
    QList<SmsRecord> m_selectedRecords;
    SMSUITreeWidget *m_pTreeWidget = nullptr;
    QTreeWidgetItem *m_pLocalRoot = nullptr;
    QTreeWidgetItem *m_pLocalInbox = nullptr;
    QTreeWidgetItem *m_pLocalOutbox = nullptr;
    QTreeWidgetItem *m_pLocalSentItems = nullptr;
    QTreeWidgetItem *m_pLocalDraft = nullptr;
    QTreeWidgetItem *m_pLocalFavorite = nullptr;
    QTreeWidgetItem *m_pLocalTrash = nullptr;
    QTreeWidgetItem *m_pLocalReport = nullptr;
    QTreeWidgetItem *m_pCbsBox = nullptr;
    QTreeWidgetItem *m_pSimRoot = nullptr;
    QTreeWidgetItem *m_pSimInbox = nullptr;
    QTreeWidgetItem *m_pSimOutbox = nullptr;
    QTreeWidgetItem *m_pDeviceRoot = nullptr;
    QTreeWidgetItem *m_pDeviceInbox = nullptr;
    QTreeWidgetItem *m_pDeviceOutbox = nullptr;
    QList<QIcon> m_treeIcons;
    QList<QIcon> m_mirrorTreeIcons;
    QHash<QPair<qint64, bool>, QIcon> m_tableIconCache;

    // Layout
    QHBoxLayout *m_pHLayout = nullptr;
    QVBoxLayout *m_pVLayout = nullptr;
    QSplitter *m_pHSplitter = nullptr;
    QSplitter *m_pVSplitter = nullptr;
    QWidget *m_pRightPanel = nullptr;
    QTextBrowser *m_pTextPreview = nullptr;
    QString m_strLastPreviewText;
    QList<int> m_splitterSizes;

    // Toolbar, menus and shortcuts
    QWidget *m_pToolBarWidget = nullptr;
    QList<ToolItem> m_toolItems;
    QButtonGroup *m_pButtonGroup = nullptr;
    QBoxLayout *m_pToolBarLayout = nullptr;
    SearchLineEdit *m_pSearchBox = nullptr;
    QLabel *m_pToolBarLabel = nullptr;
    bool m_bSendEnabled = false;
    bool m_bForwardEnabled = false;
    bool m_bReplyEnabled = false;
    bool m_bCallEnabled = false;
    QList<MENU::QActionInfo> m_rightClickList;
    QMenu *m_pContextMenu = nullptr;
    QShortcut *m_pNewShortcut = nullptr;
    QShortcut *m_pEditShortcut = nullptr;
    QShortcut *m_pSendShortcut = nullptr;
    QShortcut *m_pReplyShortcut = nullptr;
    QShortcut *m_pForwardShortcut = nullptr;
    QShortcut *m_pDeleteShortcut = nullptr;
    QShortcut *m_pCallShortcut = nullptr;

    // Logic objects (not owned unless said)
    SMSStatusUILogic *m_pStatusLogicObject = nullptr;
    SMSEditUILogic *m_pEditLogic = nullptr;
    SMSSettingUILogic *m_pSettingLogic = nullptr;
    SMSWaitingDlg *m_pSMSWaitingDlgInstance = nullptr;   // owned
    SMSThreadUI m_SMSThreadInst;
    DetectMemoryDeviceThread m_SimDetectThread;
    DetectMemoryDeviceThread m_DeviceDetectThread;
    QMutex m_rowClickMutex;
    QMutex m_newMessageMutex;

    // Host
    PluginContainer *m_pPluginContainer = nullptr;
    INotifyService *m_pNotifyService = nullptr;
    QObject *m_pNotifyPluginObject = nullptr;
    QString m_strPluginPath;

    // Flags
    bool m_bPendingSync = false;
    bool m_bIgnoreNextTreeSelection = false;
    bool m_bDropHandling = false;
    bool m_bShowSMCount = false;
    bool m_bSentItemsBox = false;
    bool m_bHideDualModeCard = false;
    bool m_bMultiModeCard = false;
    bool m_bMainFrameShown = false;
    bool m_bRFMode = false;
    bool m_bPhonebook = false;
    bool m_bSMSUpdate = false;
    bool m_bNvDevice = false;
    bool m_bSimMemory = false;
    bool m_bLocal2Device = false;
    bool m_bCanSendSMS = false;
    bool m_bSimState = false;
    bool m_bSimStorageAvailable = false;
    bool m_bDeviceStorageAvailable = false;

    // ==== BEGIN host-event reactions (definitions in SMSUIMainDlgHostEvents.cpp) ========
    // What the SMS UI service calls for the host's SIM, flight-mode and call-availability
    // events, and the store's SIM presence and network signals.
public:
    // Whether the Call command (9005) may be enabled; the host reports it (event 515).
    bool callCommandFlag() const { return m_bCallEnabled; }
    void setCallCommandFlag(bool enabled) { m_bCallEnabled = enabled; }
    bool networkStatus() const { return m_bNetworkStatus; }
    bool simStateFlag() const { return m_bSimState; }

public slots:
    // The SIM came (true) or went (false): shows or clears the SIM and device folders.
    void OnSimStatusChanged(bool present);
    // The network came up (true) or went down (false): commands follow it.
    void GetPresentNetworkStatus(bool up);

private:
    void simremovalEnableDisableCheck();
    void operationAtSimRemoval();
    // Empties the storage's tables, then releases its records in the store.
    void releaseStorageView(bool sim);

    bool m_bNetworkStatus = false;
    // ==== END host-event reactions =======================================================

    // ==== BEGIN usage statistics (SMSUIMainDlgUsage.cpp) ====
public:
    // Creates the usage-statistics file when it is missing (a broken one is kept aside) and
    // adds `value` to the counters "SMSSent"/"SMSReceived" or replaces any other value.
    static void SaveSMSInfoForAgent(const QString &item, const QString &key,
                                    const QString &value);
    // "<data folder>/OnlineUpdate/UpdateInfo/kpi-sms.dat"; empty when the SDK names no folder.
    static QString usageStatisticsFilePath();
    // ==== END usage statistics ====

    // ==== BEGIN layout, focus and remembered geometry (SMSUIMainDlgLayout.cpp) ====
public:
    // Writes the splitter positions and column widths into the host settings (group
    // "SMSLayout"); the destructor calls it, so the next start finds them.
    void saveLayoutState() const;

private:
    // Column sharing, empty-folder text, Tab behaviour and language of one table.
    void configureTableLayout(SMSUITableWidget *table);
    int timeColumnWidth(const QWidget *table) const;
    int treeWidthForLabels() const;
    void onColumnResized(SMSUITableWidget *source, int column, int width);
    // Tab goes tree, current table, preview.
    void applyFocusOrder();
    // Texts and date language of every table after a language change.
    void retranslateLayout();
    // Applies what saveLayoutState wrote, ignoring damaged values.
    void restoreLayoutState();

    QHash<int, int> m_columnWidths;  // by column, once the user (or the settings) chose one
    bool m_bSyncingColumns = false;
    // ==== END layout, focus and remembered geometry ====

    // ==== BEGIN operations: delete, move, copy, recover and their results ====
    // ==== END operations: delete, move, copy, recover and their results ====

    // ==== BEGIN message editor entry points ====
    // ==== END message editor entry points ====

    // ==== BEGIN commands: toolbar, context menu, search, shortcuts, export, call ====
    // ==== END commands: toolbar, context menu, search, shortcuts, export, call ====

    // ==== BEGIN new message arrival, flash window, sound and pop-up ====
    // ==== END new message arrival, flash window, sound and pop-up ====

    // ==== BEGIN storage-full, SIM and device reactions ====
    // ==== END storage-full, SIM and device reactions ====

    // ==== BEGIN drag and drop ====
    // ==== END drag and drop ====

    // ==== BEGIN settings page ====
    // ==== END settings page ====
};
