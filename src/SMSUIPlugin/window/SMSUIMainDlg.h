// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <array>
#include <vector>

#include <QHash>
#include <QIcon>
#include <QList>
#include <QMessageBox>
#include <QMultiHash>
#include <QMutex>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

#include "store/DetectMemoryDeviceThread.h"
#include "HeldCall.h"
#include "SteppedWork.h"
#include "operations/SMSThreadUI.h"
#include "store/SmsRecord.h"
#include "ToolBarLogic.h"
#include "QBuildMenu.h"

class QBoxLayout;
class QButtonGroup;
class QContextMenuEvent;
class QModelIndex;
class QHBoxLayout;
class QLabel;
class QMessageBox;
class QShortcut;
class MenuKeyShortcuts;
class QSplitter;
class QTableWidgetItem;
class QTextBrowser;
class QTreeWidgetItem;
class QVBoxLayout;
class SearchLineEdit;
class SMSEditUILogic;
class SMSSettingUILogic;
class SmsSettingUIPlugin;
class SMSStatusUILogic;
class SMSUITableWidget;
class SMSUITreeWidget;
class SMSWaitingDlg;
class SMSUIMessageEditor;
class PendingSendCopy;
class IAddrBookUIPlugin;
class PluginContainer;
class INotifyService;
class IAddrBookUIPlugin;

class SMSUIMainDlg : public QWidget
{
    Q_OBJECT
public:
    static SMSUIMainDlg *GetInstance();
    // The window if it exists; unlike GetInstance() never creates one.
    static SMSUIMainDlg *existingInstance();
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
    void setSendStateToolTip(const SmsRecord &record, QTableWidgetItem *item);
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
    // A message field as rich text that shows it literally, isolated in its own direction.
    static QString escapeForPreview(const QString &text);
    // escapeForPreview, then web addresses, e-mail addresses and numbers turned into links
    // by the host, and line breaks kept.
    static QString linkedForPreview(const QString &text);

    // Toolbar (built with every item disabled; initCommands connects it)
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
    // A folder's name without its counts, with the storage it is on when that is not
    // this computer ("SIM Card Inbox"); empty for an invalid position.
    QString folderTitle(int position) const;
    // Accessible names of the tree, the tables and the preview (in the current language).
    void nameControls();
    void nameTables();
    SMSUITreeWidget *treeWidget() const { return m_pTreeWidget; }
    QTextBrowser *previewPane() const { return m_pTextPreview; }
    const SMSThreadUI &workerThread() const { return m_SMSThreadInst; }
    SMSThreadUI &workerThread() { return m_SMSThreadInst; }
    // A batch started from the window that it has not finished with: the worker runs, or
    // its end has not been handled yet, or is still bringing tables in line over the next
    // turns of the event loop.
    bool batchPending() const { return m_batchKind != BatchNone || !m_batchEnd.isIdle(); }
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
    bool networkStatus() const { return m_bNetworkStatus; }
    bool simStateFlag() const { return m_bSimState; }

public slots:
    // The SIM came (true) or went (false): shows or clears the SIM and device folders.
    void OnSimStatusChanged(bool present);
    // The network came up (true) or went down (false): commands follow it.
    void GetPresentNetworkStatus(bool up);
    // The modem went: the card's and the modem's folders, messages and dialogs go with it.
    void onDeviceRemoved();

private:
    void simremovalEnableDisableCheck();
    void operationAtSimRemoval();
    // Stops the storage detectors, empties and hides both card storages and closes what was
    // open about them.
    void releaseCardStorages();
    // Lists the storages the modem has now and shows them; the PC tables follow.
    void rediscoverCardStorages();
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
    // Definitions: SMSUIMainDlgOperations.cpp (commands, confirmations, starting the
    // worker), SMSUIMainDlgOperationResults.cpp (per-message results, the end of a batch,
    // removals the store reports), SMSUIMainDlgSendResults.cpp (results of a send).
    //
    // Every command returns at once: it asks where a confirmation is due, hands copies of
    // the chosen messages to the window's worker behind the progress dialog, and the
    // results arrive queued. A command does nothing without a current table, without a
    // message to act on, or while the worker still runs a batch.
public:
    // The storage a Move to / Copy to entry aims at, from the entry's text: the card's
    // name (GetSIMText("IDS_TREE_SIM")) is the SIM, tr("IDS_TREE_DEVICE") the device,
    // anything else this computer. A _UTPS_EN_SMS_MEM value.
    int storageOfMenuText(const QString &menuText) const;
    // The folder a move or copy from the selected tree node to `storage` lands in (a root
    // when the selected node is a storage root); -1 when that pair is not offered.
    int destinationForStorage(int storage) const;
    int getPositionTobeMoved(const QString &menuText) const;
    // Confirmation boxes; `code` 2 asks about a move, 3 about a copy. The host's answer.
    int showConfirmationBeforeMove(int code, int storage);
    int showConfirmationBeforeMoveAll(int code, int storage);
    // Sends `content` to `recipients` (";"-separated) behind the progress dialog, counting
    // `units` results (recipients x parts). Returns false (nothing started) while a batch
    // runs or when units < 1.
    bool startSendOperation(const QString &recipients, const QString &content, int units);
    void handleOperationOnComplete();
    void handleDelOperationOnComplete();
    void handleMoveCopyonParentNodes(_EN_SMS_POSITION destination);
    // full := the storage of the worker's destination has no room left.
    void checkMemoryStatus(bool &full);
    // Send buttons of open editors follow their recipient lines (enable) or all go off.
    void enableSendButton(bool enable);
    // 2 move (the default), 3 copy: what the next Move/Copy command confirms and runs.
    int pendingMoveCopyCode() const { return m_iMoveCopyCode; }
    // Success and failure counts of the last send, as written into its verdict.
    int lastSendSuccessCount() const { return m_iLastSendSuccess; }
    int lastSendFailureCount() const { return m_iLastSendFail; }
    // The unsent copy that stands for the send under way (see PendingSendCopy).
    PendingSendCopy *pendingSendCopy() const { return m_pPendingSendCopy; }
    bool isSending() const { return m_iSendUnits > 0; }
    // The verdict's key for a send of units parts of which sent were reported as sent.
    static const char *sendVerdictKey(int sent, int units);

public slots:
    void onButtonClickDelete();
    void onButtonClickDeleteAll();
    // The Delete key: deletes only when at least one whole row is selected.
    void OnDeleteKeyPress();
    // `storage` is where the messages go (_UTPS_EN_SMS_MEM: 0 PC, 1 SIM, 2 device).
    void onClickMove(int storage);
    void onClickCopy(int storage);
    void onClickMoveAll(int storage);
    void onClickCopyAll(int storage);
    void onButtonClickRecoverMessages();
    // Worker results, one per message, in order. A failed delete arrives as -(index + 1).
    void onDeleteMessage(int index);
    void onSmsMoveOrCopy(bool done, int index);
    void onrecoverMessage(bool recovered, int index);
    // origin 0: the network's answer for one recipient and part; 1: refused before the
    // SDK took the message (no further result and no stored copy will follow).
    void onSendSmsResult(bool sent, int origin);
    void onFinished();
    void onCloseWaitingDialog();
    // The store filed the sent copy: the send is over.
    void onCloseProgressbarDialog(int status);
    void onSMSSentrecordRecieved(int id);
    // The modem deleted a message by itself.
    void OnCallBackDeleteSms(int id, int position);
    void onSentCopySettled(int id, int position);
    // A message left `position`: its rows go, then the store drops (permanent) or files it
    // in the trash.
    void onDeleteSMS(int id, int position, int memory, bool permanent);
    void onCancelSendSMS();
    // Re-reads the SIM and device storages and rebuilds their tables.
    void updateSIMNVTables();
    // Tables of the SIM and device folders and roots brought in line with the store.
    void syncCardTables();

private:
    enum BatchKind { BatchNone, BatchDelete, BatchMoveCopy, BatchRecover };
    struct Collected
    {
        QList<SmsRecord> records;
        QList<int> rows;
        bool unread = false;
    };
    void connectOperationSignals();
    // A Move to / Copy to entry of the context menu, by its submenu and target storage.
    void connectMoveCopyTarget(const MENU::QActionInfo &info);
    bool canStartBatch() const;
    Collected collectRecords(bool allRows) const;
    void startDelete(bool allRows);
    void startMoveOrCopy(int storage, bool allRows);
    void startBatch(BatchKind kind, int dialogCode, _SMS_OPERATION_TYPE operation,
                    const Collected &collected, int destination);
    QString storageName(int storage) const;
    int askConfirmation(const QString &text);
    void countBatchResult(bool ok, int index);
    void writeBatchVerdict(int failures, int units);
    void concludeSend();
    void dropPendingCopyFromFolder(int id);
    void resetBatchCounters();
    void syncWithParent(int position);
    void dropRowsOf(int id, int position, bool keepInLocalRoot);
    void resyncAll(const QList<int> &positions);
    void selectRowAfterDelete(int rowAfterDelete, const SMSUITableWidget *table);
    // Hands the removals held back during a batch to the store; returns the positions
    // whose tables it emptied on the way.
    QSet<int> applyPendingRemovals();

    int m_iMoveCopyCode = 2;          // 2 move, 3 copy: the pending Move/Copy command
    BatchKind m_batchKind = BatchNone;
    int m_iOperationUnits = 0;        // messages handed to the worker
    int m_iReportedUnits = 0;         // results counted so far
    int m_iMoveCopySuccess = 0;
    int m_iMoveCopyFail = 0;
    int m_iBatchFail = 0;             // failed deletes and recoveries
    int m_iSendUnits = 0;
    int m_iSendReported = 0;
    int m_iSendSuccess = 0;
    int m_iSendFail = 0;
    int m_iLastSendSuccess = 0;
    int m_iLastSendFail = 0;
    bool m_bSendRefused = false;
    PendingSendCopy *m_pPendingSendCopy = nullptr;
    QList<int> m_handledRows;         // table rows handed to the worker, by index
    QList<int> m_reportedRows;        // rows whose delete or recovery was reported
    bool m_bDeletedUnread = false;
    // The first row a Delete took away: the row that moves up into its place is selected
    // afterwards, so keyboard users keep their place. -1 when nothing is to be selected.
    int m_iRowAfterDelete = -1;
    SMSUITableWidget *m_pTableAfterDelete = nullptr;
    bool m_bRootNodeMove = false;
    bool m_bDestinationFull = false;
    QMessageBox *m_pConfirmBox = nullptr;  // open confirmation, owned by the host's call
    struct PendingRemoval
    {
        int id;
        int position;
        int memory;
        bool permanent;
    };
    QList<PendingRemoval> m_pendingRemovals;  // the store's removals during a batch
    // The folder counts a table refresh asks for; the end of a batch holds them, so that
    // the tables it refreshes are counted once.
    HeldCall m_countRefresh{[this] { updateCount(); }};
    // What a batch's end leaves for the event loop's next turns: one table brought in line
    // per turn, then what follows on the refreshed tables. While m_bSteppingSyncs is set,
    // table syncs and afterBatchSyncs() go there instead of running at once.
    SteppedWork m_batchEnd;
    bool m_bSteppingSyncs = false;
    // Runs step now, or after the table syncs of a batch's end that is being stepped.
    void afterBatchSyncs(std::function<void()> step);
    // ==== END operations: delete, move, copy, recover and their results ====

    // ==== BEGIN message editor entry points ====
    // Definitions in SMSUIMainDlgEditor.cpp. Opening the editor in each of its modes, the
    // state the editor reads from and leaves in the window, the send it starts, and the
    // can-send flag (device states 7 and 8) that its Send button follows.
public:
    // The editor modes are the command ids: 9000 new, 9002 send again, 9003 reply,
    // 9004 forward, 8 edit a draft. Opens a new editor in mode (the Ctrl+N shortcut,
    // the toolbar and the context menu all end here).
    void onButtonClickedNewSMS(int mode);
    // The editor opened last, null once it has closed. Owned by the window.
    SMSUIMessageEditor *messageEditor() const;

    // What the SDK last said about sending (device states 7 and 8), kept apart from the
    // network and radio flags. Sets the flag and tells commands, open editors and the
    // host (events 352/353).
    void setCanSendSMS(bool canSend);

    // Values another plug-in hands over through the SMS UI service before it opens the
    // editor in mode 9002 (the phone-book flag says they are pending).
    void setPendingEditorValues(const QString &number, const QString &content);
    QString pendingEditorNumber() const { return m_strPendingNumber; }
    QString pendingEditorContent() const { return m_strPendingContent; }
    bool isPhonebookFlagSet() const { return m_bPhonebook; }
    // Parent for the editor that the caller of the SMS UI service asked for (mini mode);
    // null for the window itself.
    void setEditorParentOverride(QWidget *parent) { m_pEditorParentOverride = parent; }
    QWidget *editorParentOverride() const { return m_pEditorParentOverride; }
    int selectedRecordId() const { return m_iSelectedRecordId; }
    void setSelectedRecordId(int id) { m_iSelectedRecordId = id; }

    // The recipient and content an editor opened with, to tell later what changed.
    void setEditorBaselines(const QString &content, const QString &number);
    QString editorBaselineContent() const { return m_strEditorBaselineContent; }
    QString editorBaselineNumber() const { return m_strEditorBaselineNumber; }
    // Segments of the message being sent, as the SDK counted them.
    void setSendParts(int parts) { m_iSendParts = parts; }
    int sendParts() const { return m_iSendParts; }

    // Shows the progress dialog for total send results and starts the worker on the send;
    // false (nothing started) while another batch runs. A source message (sourceId in
    // sourcePosition, -1 for none) is dropped only once the SDK has accepted the send, so
    // a refused send leaves it where it was.
    bool startSendFromEditor(const QString &recipients, const QString &content, int total,
                             int sourceId, int sourcePosition);
    // Makes the PC drafts folder the current one (after an editor saved into it).
    void selectDraftFolder();
    // The host's address book, null when it is not available.
    IAddrBookUIPlugin *addressBook() const;

public slots:
    void onMenuNew();
    void onMenuSend();
    void onMenuReply();
    void onMenuForward();
    void onButtonClickedEditSMS();
    // Double click on a table cell: edits the draft under it.
    void onDoubleClickedEditSMS();
    // An editor closed (its destroyDialog()): it and its dialog are deleted later.
    void onCloseNewMsgDialog(SMSUIMessageEditor *editor);
    // Open editors re-check their Send button against the can-send flag.
    void sendNetworkSignalToNewMsg();

private:
    // Connections and the initial can-send state; run once when the window is laid out.
    void initEditorEntryPoints();
    void onEditorSendResult(bool sent, int origin);
    static bool readCanSendFromSdk();

    QPointer<SMSUIMessageEditor> m_pMessageEditor;
    QPointer<QWidget> m_pEditorParentOverride;
    QString m_strPendingNumber;
    QString m_strPendingContent;
    QString m_strEditorBaselineContent;
    QString m_strEditorBaselineNumber;
    int m_iPendingEditorCommand = 0;
    int m_iSendParts = 1;
    // The message a send replaces, dropped when the SDK accepts the send.
    int m_iSendSourceId = -1;
    int m_iSendSourcePosition = -1;
    // ==== END message editor entry points ====

    // ==== BEGIN commands: toolbar, context menu, search, shortcuts, export, call ====
    // Definitions: SMSUIMainDlgCommands.cpp (wiring, toolbar dispatch, shortcuts, search),
    // SMSUIMainDlgCommandsMenu.cpp (context menu), SMSUIMainDlgCommandsRules.cpp (which
    // command is enabled where), SMSUIMainDlgExport.cpp (CSV export), SMSUIMainDlgCall.cpp
    // (call and save number).
public:
    // Asks the user for the file to export to; returns a null string when cancelled.
    // The default is the real QFileDialog; tests install their own answer.
    using SaveFileChooser = std::function<QString(QWidget *parent, const QString &caption,
                                                  const QString &proposed,
                                                  const QString &filter)>;
    static SaveFileChooser setSaveFileChooser(SaveFileChooser chooser);

    // Connects toolbar, search box, shortcuts and tree menu, builds the context menu and
    // enables the commands that need no selection (New, Search). Once, after the toolbar.
    void initCommands();

    // Toolbar and search
    void setSmsToolbarTooltipLanguage();
    void showSearchBox();
    void hideSearchBox();
    bool isSearchShown() const { return m_bSearchShown; }
    void updateTableSmsTable(const QString &text);
    // Puts back the rows a search took out of the folder on show; false when it has none
    // kept (the table was brought in line with the store since), and must be read again.
    bool restoreSearchedOutRows();
    bool isToolBarItemEnabled(int id) const;

    // Context menu
    QMenu *contextMenu() const { return m_pContextMenu; }
    QAction *GetAction(const QString &key) const;
    // The move/copy target of key ("IDS_TREE_LOCAL", "IDS_TREE_SIM", "IDS_TREE_DEVICE")
    // in the submenu of submenuKey ("IDS_MENU_MOVE2" ...); null when missing.
    QAction *targetAction(const QString &submenuKey, const QString &key) const;
    void ctrlMenuConnect();
    void handleRightClickEvent(const MENU::QActionInfo &info, const QString &key);
    void doconnectForRightClick(const MENU::QActionInfo &info, const QString &key);
    void doConnect(const MENU::QActionInfo &info);
    void performCustomizationForExport(const MENU::QActionInfo &info, bool enabled,
                                       const QString &name);
    void addSIMDeviceAction();
    void UpdateMenuItemForSimAndDevice(QMenu *submenu, const QString &key, QAction *action,
                                       _UTPS_EN_SIMSTATE simState);

    // Enabling rules
    void enableMenuItem();
    void enableMenuItemBasedOnMessage(int position);
    void enableMenuItemFromLocalSimDevice();
    void enableMoveCopyOption(int position);
    void disableLocalInRightClick(const MENU::QActionInfo &info, int position);
    void disableSimInRightClick(const MENU::QActionInfo &info, int position);
    void disableDeviceInRightClick(const MENU::QActionInfo &info, int position);
    void disableMoveCopy();
    void enableRightClickItems();
    void disableRightClickItems();
    void enableDisableForMultipleSelection(int &count);
    void enableDisableSmsToolbarForParentNode();

    // Export: 1 the selected messages, 2 every message of the current table.
    int exportMode() const { return m_iExportMode; }
    bool saveToFile(const QString &path);

    // Call and save number
    static int getNumberCount(const QString &numbers);
    // The host's address book, null when it is not installed; not owned.
    IAddrBookUIPlugin *GetAddrBookPlugin();
    void SetAddrBookPluginFlag();
    bool addrBookPluginFlag() const { return m_bAddrBookAvailable; }
    bool saveNumberFlag() const { return m_bSaveNumberFlag; }
    QString selectedNumber() const { return m_strSelectedNumber; }
    // Whether voice calls are possible, as the host last said (event 515). Kept apart from
    // the Call button's own state, which also depends on the selection.
    bool callCapableFlag() const { return m_bCallCapable; }
    void setCallCapableFlag(bool capable) { m_bCallCapable = capable; }
    // The SIM type / product type pairs whose SIM storage can hold messages.
    static bool simTypeAcceptsMessages(int simType, int productType);

public slots:
    void onTBBtnClicked(int id);
    void onMenuSearch();
    void onTextEdited(const QString &text);
    void onRightClickAction();
    void onTableRowClickEnableDisable();
    void OnEditKeyPress();
    void OnSendKeyPress();
    void OnReplyKeyPress();
    void OnForwardKeyPress();
    void onCtrlAPressedOnTable();
    void onRefreshKeyPress();
    void onClickExportSMS();
    void onClickExportAllSMS();
    void onFileSelected(const QString &path);
    void onButtonClickCall();
    void onButtonClickCallHandler(bool fromShortcut);
    void OnCallKeyPress();
    void onButtonClickedSaveNumber();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void onTreeContextMenu(const QPoint &pos);
    void showContextMenu(const QModelIndex &index, const QPoint &globalPos);
    // Entries that need a selected row, off (and those that need rows when there are none).
    void disableRowCommands();
    // The context menu's enabled states for the current selection, without opening it.
    void prepareMenuForKeys();
    void initMenuKeys();
    void setMenuItemsEnabled(std::initializer_list<const char *> keys, bool enabled);
    bool isMenuItemEnabled(const char *key) const;
    void runExport(int mode);
    // A box with one OK button, titled by what it is about (titleKey).
    void showPrompt(QMessageBox::Icon icon, const QString &titleKey, const QString &textKey);
    int selectedRowCount() const;
    SmsRecord *firstSelectedRecord() const;

    bool m_bCallCapable = false;
    bool m_bAddrBookAvailable = false;
    bool m_bSaveNumberFlag = false;
    bool m_bSearchShown = false;
    bool m_bSimValidForTargets = false;  // the SIM could take messages when last asked
    int m_iExportMode = 0;
    QString m_strPrevSearchText;
    QMessageBox *m_pMessageBox = nullptr;  // the open prompt, null when none
    QShortcut *m_pSearchShortcut = nullptr;
    QShortcut *m_pSelectAllShortcut = nullptr;
    MenuKeyShortcuts *m_pMenuKeys = nullptr;  // child of the window
    QShortcut *m_pRefreshShortcut = nullptr;
    // ==== END commands: toolbar, context menu, search, shortcuts, export, call ====

    // ==== BEGIN new message arrival, flash window, sound and pop-up ====
    // SMSUIMainDlgArrival.cpp (taking arrivals into the tables and announcing them),
    // SMSUIMainDlgArrivalRead.cpp (reading: read state, opening the inbox from the pop-up
    // or the host's notice, delivery-report labels), SMSUIMainDlgArrivalAlert.cpp (alert
    // sound and flash-message window).
public:
    // Alert sound. The player is shared by all windows and lives from its first successful
    // Play() until the sound ends (or a Play() fails).
    void playSoundAlert();
    // The settings page's chosen file: the next alert plays it.
    void setSoundFileBySetting(const QString &file);
    static void stopPlayingSound();
    static void onSoundPlayFinish();
    static class DcSound *soundPlayer() { return m_pDcSoundplay; }

    // Flash (class-0) messages: shown at once in a window of their own, never stored.
    void showFlashMessage(const QString &content, const QString &number, const QString &time);
    void setLanguageToFlashMessage();
    class SMSFlashMessageDlg *flashMessageWindow() const;

    // Opening the new message: View on the pop-up, or the host's SMS notice (event 513).
    void ViewSmsInbox();
    void LaunchSmsInbox();
    void launchTreeItemOnnewMsgClick(bool unreadInbox, bool unreadReports, bool unreadSimInbox);
    bool checkUnreadMsgInReport(int position);
    void sendNotificationAfterReceivingMessage();

    // Reading: the selected messages of the current table become read, in the SDK too.
    void notifyStatusBar();
    void syncUnreadSMSTable(_EN_SMS_POSITION position);
    // Delivery reports stored without text show their result in the current language.
    void setReoprtFolderContent();
    int lastAnnouncedPosition() const { return m_iLastNewMsgPosition; }

public slots:
    void onSMSReceiverecordRecieved(int id);
    void ShowNewMessageDialog(const QString &content, const QString &number,
                              const QString &time, int position, int ordinary);
    void onCloseFlashMsgDialog();

private:
    // The four texts of one flash message as shown (name, number, linked content, time).
    struct FlashTexts
    {
        QString content;
        QString number;
        QString time;
        QString name;
    };
    struct NewMessageNotice
    {
        QString content;
        QString number;
        QString time;
        int position = EN_LOCAL_INBOX;
        bool ordinary = true;
    };
    void connectArrivalSignals(SMSStatusUILogic *store);
    void scheduleArrivalWork();
    void processArrivals();
    bool takeReceivedRecordIntoTables(int id);
    void refreshAfterArrivals();
    void announce(const QList<NewMessageNotice> &notices);
    bool smsSetting(const char *key, bool defaultValue) const;
    INotifyService *notifyService() const;
    void releaseArrivalResources();
    void restoreUnread(SmsRecord *record, QTableWidgetItem *item);
    void selectTreeTarget(QTreeWidgetItem *item);
    int rowOfLastArrival() const;
    void fillFlashWindow();
    // A table row's three cells for record, not yet in a table (owned by the caller).
    std::array<QTableWidgetItem *, 3> rowItemsFor(SmsRecord *record);
    void placeRowItems(SMSUITableWidget *table, int row,
                       const std::array<QTableWidgetItem *, 3> &items);
    // Where a row with these cells goes in the table's current order; -1 when the table
    // shows that record already.
    int sortedRowFor(SMSUITableWidget *table,
                     const std::array<QTableWidgetItem *, 3> &items) const;

    int m_iLastNewMsgPosition = EN_LOCAL_INBOX;
    // The message last taken into the tables, for View to select.
    int m_iLastArrivedId = -1;
    int m_iLastArrivedPosition = EN_POS_INVALID;
    static class DcSound *m_pDcSoundplay;
    QPointer<class SMSFlashMessageDlg> m_pFlashDialog;
    // Flash messages shown in the flash window, newest first, kept so that the window can
    // be translated again; cleared when the user closes it.
    QList<FlashTexts> m_flashMessages;
    // Arrivals wait here for the next turn of the event loop, so that a burst is taken in
    // slices that leave the window answering in between.
    QList<int> m_pendingReceivedIds;
    QList<NewMessageNotice> m_pendingNotices;
    class QTimer *m_pArrivalTimer = nullptr;
    // ==== END new message arrival, flash window, sound and pop-up ====

    // ==== BEGIN storage-full, SIM and device reactions ====
    // SMSUIMainDlgReactions.cpp (the store's storage and SIM states, phone book ready,
    // radio state, what a removed device leaves open, detectors that were asked to stop),
    // SMSUIMainDlgReactionsPopup.cpp (the storage-full pop-up, the dual-mode card prompt
    // and moving a full storage's messages to the PC).
public:
    // Last full storage reported (2 device, 4 SIM, 6 PC; 0 before any) and last SIM state
    // (1 present, 5 gone; 0 before any).
    int lastStorageStatus() const { return m_iLastStorageStatus; }
    int lastSimStatus() const { return m_iLastSimStatus; }
    bool simStorageAvailable() const { return m_bSimStorageAvailable; }
    bool deviceStorageAvailable() const { return m_bDeviceStorageAvailable; }
    bool rfModeFlag() const { return m_bRFMode; }
    // The storage-full pop-up while it is shown, else null.
    class SMSMemoryFullPopup *memoryFullPopup() const;
    class QTimer *memoryFullPopupTimer() const { return m_pMemoryFullTimer; }
    // Test seams: how long the pop-up stays (120 s), and how long a dual-mode card waits
    // before its prompt (1 s once the main frame is shown, 3 s before).
    void setMemoryFullPopupTimeout(int milliseconds) { m_iMemoryFullTimeout = milliseconds; }
    void setDualModePromptDelays(int frameShownMs, int frameNotShownMs);

    // status: 2 device, 4 SIM, anything else the PC. mayDefer: a dual-mode card gets the
    // host's prompt a little later instead of the pop-up.
    void createMemoryFullPopUp(int status, bool mayDefer);
    void ChangeLanguageForMemoryFullPopUp();
    void startTimerForMemoryFullPopUp();
    // Moves every message of the full SIM or device storage to the PC behind the progress
    // dialog; false when there is nothing to move or no way to show the progress.
    bool onMemoryFullPopUPOKClick();
    void closePopupOnDeviceRemoval();
    // Closes the storage-full pop-up once the storage it speaks of is no longer shown.
    void closeDialogsOfVanishedStorages();
    void getRFModeStatusFromLogic();

public slots:
    void onSmsStatusChanged(int status);
    void OnPBReadComplete();
    void ShowMemoryFull();
    void OnstopTimerForMemoryFullPopUp();
    void onClickCloseMemoryFullDialog();

private:
    void connectReactionSignals(SMSStatusUILogic *store);
    void onDetectorFinished(DetectMemoryDeviceThread *detector);
    QString memoryFullText(int status) const;
    QWidget *mainFrameWidget() const;

    // Set on a detector asked to start while still running: restarted once it has ended.
    static constexpr const char kRestartDetectorProperty[] = "restartWhenFinished";
    int m_iLastStorageStatus = 0;
    int m_iLastSimStatus = 0;
    QPointer<class SMSMemoryFullPopup> m_pMemoryFullPopup;
    class QTimer *m_pMemoryFullTimer = nullptr;
    int m_iMemoryFullTimeout = 120000;
    int m_iDualModeDelayShown = 1000;
    int m_iDualModeDelayNotShown = 3000;
    // ==== END storage-full, SIM and device reactions ====

    // ==== BEGIN drag and drop ====
    // Rows dragged from a table onto a folder of the tree are moved or copied by the worker
    // behind the progress dialog, like the Move and Copy commands (SMSUIMainDlgDragDrop.cpp;
    // the press and drag live in SMSUITableWidget, the drop in SMSUITreeWidget).
public:
    // A press in a table that may start a drag: the source folder, the folder item to come
    // back to, and copies of the selected rows' records.
    void beginDragCollection(SMSUITableWidget *table);
    int selectedDragRows() const { return m_iSelectedDragRows; }
    void setSelectedDragRows(int rows) { m_iSelectedDragRows = rows; }
    int dragSourcePosition() const { return m_iDragSourcePosition; }
    const QList<SmsRecord> &draggedRecords() const { return m_selectedRecords; }
    bool isDragInProgress() const { return m_bDragInProgress; }
    void setDragInProgress(bool on) { m_bDragInProgress = on; }
    // The table whose drag is under way (QDrag::exec running), null otherwise.
    SMSUITableWidget *activeDragTable() const { return m_pActiveDragTable; }
    void setActiveDragTable(SMSUITableWidget *table) { m_pActiveDragTable = table; }
    // The folder the drag started from, restored as the tree's current item while the
    // cursor is over a folder that refuses the drop.
    QTreeWidgetItem *dragOriginItem() const;
    void setDragOver(bool over) { m_bDragOver = over; }
    bool isDropRefused() const { return m_bDropRefused; }
    void setDropRefused(bool refused) { m_bDropRefused = refused; }
    // The tree accepted a drop: Ctrl says copy whatever the folders would choose.
    void markDropped(bool copyModifier);
    int droppedFlag() const { return m_iDraggedFlag; }
    // The folder under the drop (from onSmsTreeItemEntered).
    int enteredPosition() const { return m_iDropTargetPosition; }
    // The tree's current folder becomes the window's selected one (after a release).
    void adoptTreeCurrentItem();

    // Move, copy or cancel, by the drag source and the folder under the drop.
    void enableDrop(int source);
    void enableDropForOutbox(int source);
    void enableDroForInbox(int source);
    void enableDropForDelete(int source);
    void PerformDropForFolder();
    // operation 4 moves, 9 copies; nothing happens unless a drop waits.
    void performSmsDragOperation(int unused, int operation);
    // With the sent-items folder in use: may the dragged card outbox messages go to
    // target (the PC outbox takes unsent ones, sent items the sent ones)?
    bool isAcceptDropLOutboxOrLSenditem(_EN_SMS_POSITION target) const;

public slots:
    void onDraggSmsResult(bool done);

private:
    void initDragAndDrop();
    void cancelDrop();
    // Carries out a move, copy or cancel decided for the drop (a DropChoice).
    void applyDropChoice(int choice);
    // The source folder becomes the tree's current item again, without a folder switch.
    void restoreDragOrigin();

    bool m_bDragInProgress = false;
    int m_iDragSourcePosition = EN_POS_INVALID;
    int m_iSelectedDragRows = 0;
    bool m_bDragOver = false;
    bool m_bDropRefused = false;
    int m_iDraggedFlag = 0;
    bool m_bCopyModifier = false;
    SMSUITableWidget *m_pActiveDragTable = nullptr;
    // ==== END drag and drop ====

    // ==== BEGIN settings page ====
    // The window fetches the settings page when it sets up its logic and destroys it when
    // it goes (SMSUIMainDlgSettingsPage.cpp).
private:
    void fetchSettingsPage();
    void destroySettingsPage();

    SmsSettingUIPlugin *m_pSettingsPage = nullptr;  // singleton, destroyed with the window
    // ==== END settings page ====

    // ==== BEGIN storage write warning ====
    // A bar above the folders that stays while the SDK cannot write the message database
    // (full disk, locked-down folder, ...), saying what is wrong and that new messages are
    // not received meanwhile. The SDK is asked every few seconds; once it can write again,
    // the bar goes and every storage is read again (SMSUIMainDlgStorageWarning.cpp).
public:
    // The SDK's condition last seen (UTPS_STORE_*); 0 when it can write.
    int storageWriteState() const { return m_iStorageWriteState; }
public slots:
    // Asks the SDK now and updates the bar; the timer calls it too.
    void checkStorageWritable();
private:
    void initStorageWarning();
    void retranslateStorageWarning();
    void rereadAllStorages();
    QLabel *m_pStorageWarning = nullptr;
    QTimer *m_pStorageWarningTimer = nullptr;
    int m_iStorageWriteState = 0;
    // ==== END storage write warning ====

    // ==== BEGIN table refresh ====
    // A refresh changes only the rows that do not show the store's records as they are, and
    // reads a folder afresh only when much differs (SMSUIMainDlgTableRefresh.cpp);
    // reloadSMSTable always reads it again, for the user's own "read again".
public:
    void reloadSMSTable(_EN_SMS_POSITION position);
private:
    void refreshSMSTable(_EN_SMS_POSITION position, bool always);
    // Brings the rows in line with the store where little differs; false: rebuild it.
    bool updateChangedRows(SMSUITableWidget *table, const QList<_EN_SMS_POSITION> &sources);
    void repointMatchingRows(SMSUITableWidget *table, std::vector<bool> &kept,
                             QList<SmsRecord *> &missing, bool rtl);
    bool rowShowsRecord(const SMSUITableWidget *table, int row, const SmsRecord &record,
                        bool rtl) const;
    // The texts a row shows for a record: the name or number, and the message on one line.
    static QString tableNameText(const SmsRecord &record, bool rtl);
    static QString tableContentText(const SmsRecord &record, bool rtl);
    void setTableIcon(QTableWidgetItem *item, const QImage &image, bool mirrored);
    // ==== END table refresh ====
};
