// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The plug-in's message store and its bridge to the device SDK.
//
// One process-wide instance holds every message read from the PC, SIM and device storages,
// filed by folder (_EN_SMS_POSITION). It owns each SmsRecord it files: a record is freed
// by the removal operations below or by ReleaseSmsBuffer / ReleaseAllSmsBuffers / Destroy.
// Callers get value copies (GetSingleSMS) or borrowed pointers (GetSMSRecordsSet) that stay
// valid until the record is removed or its memory released.
//
// Threads: the object lives on the GUI thread. The SDK calls SmsCallBackMethod on its own
// event thread and the worker thread (SMSThreadUI) calls the operations, so every access to
// the folders and to the sent/received lists goes through m_bufferMutex. Lock order:
// callback mutex -> conversion mutex -> buffer mutex, never the other way round. Signals
// emitted off the GUI thread reach the window queued, in emission order.
//
// The store never includes the window: where it needs the window's view of things (is the
// sent-items folder in use, may a SIM/device outbox message be dropped on the PC outbox or
// sent items), the window pushes that in through setSentItemsBox() and
// setAcceptDropLOutboxOrLSenditemHook(), and clears both when it goes away.
#include <QHash>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

#include "SmsRecord.h"
#include "utps_sdk.h"

class SMSStatusUILogic : public QObject
{
    Q_OBJECT

public:
    // ---- Lifecycle (SMSStatusUILogic.cpp) -------------------------------------------
    static SMSStatusUILogic *Instance();
    static void Destroy();
    int InitStatusLogic();
    void unSDKRegisterEvent();

    // ---- Loading and filing (SMSStatusUILogicLoad.cpp) --------------------------------
    int GetSMSCount(_UTPS_EN_SMS_MEM memory);
    int GetSMSRecordCount(int memory); // 0 when the storage answers, else 1
    int GetMessageIdList(int memory);
    void releaseMessageIdList();
    int PopulateSMSFromSDK(_UTPS_EN_SMS_MEM memory);
    // Converts sdk into a new heap record and files it. *out receives the record (still
    // owned by the store when filed; null after a failed conversion). 0, 1, or 23.
    int sortSMSToCorrespondingNodes(_UTPS_ST_SMS_RECORD *sdk, SmsRecord **out);
    void InsertSingleSMS(_EN_SMS_POSITION position, int id, SmsRecord *record);
    int ReleaseSmsBuffer(_UTPS_EN_SMS_MEM memory);
    int ReleaseAllSmsBuffers();
    int populateSDKRecordToLocalStructure(_UTPS_ST_SMS_RECORD *sdk, SmsRecord *rec);
    // The SDK record borrows rec's strings: keep rec alive and unchanged while sdk is used.
    int populateLocalRecordToSDKStructure(_UTPS_ST_SMS_RECORD *sdk, const SmsRecord &rec);

    // ---- Queries, phone book, icons (SMSStatusUILogicQuery.cpp) ------------------------
    // Borrowed pointers: valid until the record is removed or its memory released.
    QHash<int, SmsRecord *> GetSMSRecordsSet(_EN_SMS_POSITION position);
    SmsRecord GetSingleSMS(_EN_SMS_POSITION position, int id);
    // Reads one message from the SDK into a new record that the caller owns (delete it)
    // whatever the result; nothing is filed. 0, 1, or 23 for a null out.
    int GetSMSRecordUsingID(int id, _EN_SMS_POSITION position, SmsRecord **out);
    int GetUnReadSMSCountOverEnPos(_EN_SMS_POSITION position);
    // Unread messages of the folders shown for memory: a hidden folder's unread messages
    // would make the status bar's total disagree with what the user can find.
    int GetUnReadSMSCount(_UTPS_EN_SMS_MEM memory);
    // Whether the cell-broadcast folder is part of the tree (a host setting).
    static bool IsCbsBoxShown();
    int GetUnReadSMSTotalCount();
    // Records replaced while something may still point at them, waiting to be freed.
    int parkedRecordCount();
    bool IsAnyMessagesUnRead(_EN_SMS_POSITION position);
    QString getNameByNumberFromPhoneBook(QString numbers);
    void getNameByNumberFromPhoneBookEx(QString numbers, QString &display, QString &names);
    int SyncBuffersWithPB();
    QString getUIDisplayTime(QString sdkTime);
    QString getMessagePriority(int priority, bool multiModeCard, bool hideDualMode);
    QString getReportContentMsg(int status, QString content, int &result);
    void addIconsToTable(SmsRecord *record);
    // Table icons: 0 read, 1 unread, 2 sent, 3 not sent, 4 draft, 5 may not have been sent
    // (null image if missing).
    QImage GetTableImage(int index) const;
    const QList<QImage> &GetTableImages() const { return m_lstTableImages; }

    // The lists of records just stored by a send (event 3) and just received (event 1).
    // The window takes them in arrival order; the pointers stay owned by the store (the
    // same record is filed in its folder). A failed filing leaves a null entry in the sent
    // list, which takeFirstSentRecord returns as null like an empty list.
    SmsRecord *takeFirstSentRecord();
    SmsRecord *takeFirstReceivedRecord();
    int sentRecordCount();
    int receivedRecordCount();

    // ---- Window mirrors and flags ----------------------------------------------------
    // PC-to-card: may PC inbox/outbox/sent-items messages be dropped onto SIM and device
    // folders. True at construction; the window sets it from its configuration.
    void setPCToCardFlag(bool on) { m_bPCToCard = on; }
    bool getPCToCardFlag() const { return m_bPCToCard; }
    // The window says whether it runs with a sent-items folder, and says false when it is
    // destroyed; isHaveSendItemsBox() is read by conversions on the SDK and worker threads.
    void setSentItemsBox(bool on) { m_bSentItemsBox = on; }
    bool isHaveSendItemsBox() const { return m_bSentItemsBox; }
    // The window's check for drops from SIM/device outboxes onto the PC outbox or sent
    // items (it depends on the records being dragged). Unset: every target passes.
    void setAcceptDropLOutboxOrLSenditemHook(std::function<bool(int)> hook);
    // Set by the SMS service when the phone book changed while the window was hidden.
    void setPBChanged(bool changed) { m_bPBChanged = changed; }
    bool isPBChanged() const { return m_bPBChanged; }

    // ---- Operations (SMSStatusUILogicOps.cpp, SMSStatusUILogicMove.cpp) ---------------
    int DeleteSMS(int id, int position, int memory);
    int ForceDeleteSMS(int id, int position, int memory);
    int DeleteSMSFromBuffer(int id, int position, int memory, bool permanent);
    int RemoveSMSFromMap(int position, int id, bool permanent);
    int DeleteListSMSFromBuffer(int position, int id);
    int MoveSMS(const SmsRecord &record, int from, int to, int operation);
    int CopySMS(const SmsRecord &record, int from, int to, int operation);
    int RecoverSMS(const SmsRecord &record, int position, int memory);
    int UpdateSms(SmsRecord *record);
    int UpdateSMSBufferUsingMsgID(int id, int position);
    // *out receives the filed draft (borrowed, owned by the store) or null.
    int SaveMsgToDraft(QString *number, QString *content, SmsRecord **out);
    int GetLastMoveFrom() const { return m_iLastMoveFrom; }
    int GetLastMoveTo() const { return m_iLastMoveTo; }

    // ---- Worker batches (SMSStatusUILogicBatch.cpp) ------------------------------------
    // Between BeginDeferredEffects() and Apply/DiscardDeferredEffects(), the operations
    // called on that same thread change the SDK at once but hold back what they would do
    // to the folders and the window (DeleteSMSInUiService, filing the new copies). The
    // worker applies them only after the SDK committed the batch and discards them after a
    // rolled-back commit, so the folders never show what the database does not hold.
    // Calls from other threads are not affected. Nesting is not supported.
    void BeginDeferredEffects();
    void ApplyDeferredEffects();
    void DiscardDeferredEffects();

    // ---- Drop rules (SMSStatusUILogicDrop.cpp) ---------------------------------------
    bool IsAcceptDrop(int source, int target);
    bool isLocalOutboxAcceptDrop(int target);
    bool isLocalInboxAcceptDrop(int target);
    bool isLocalDraftAcceptDrop(int target);
    bool isLocalImpAcceptDrop(int target);
    bool isLocalDeleteAcceptDrop(int target);
    bool isLocalSentItemsBoxAcceptDrop(int target);
    bool isSIMOutboxAcceptDrop(int target);
    bool isSIMInboxAcceptDrop(int target);
    bool isNVOutboxAcceptDrop(int target);
    bool isNVInboxlAcceptDrop(int target);

    // ---- SDK events (SMSStatusUILogicEvents.cpp) --------------------------------------
    static int SmsCallBackMethod(int event, void *data);
    static void onSmsReceive(void *data);

    // ==== BEGIN status questions (device, SIM, network, memory, numbers, settings) =====
    // Declarations here; definitions in SMSStatusUILogicStatus.cpp. The number character
    // set they work with is the member m_strNumberCharacters below.
    // Each question asks the SDK or the host when it is called; nothing is cached.
    bool IsDevAvailable();
    bool IsSimValidForSMS();
    // 0 with *state set; 1 on an SDK failure (*state := 0); 15 for a null state.
    int GetSimStatus(_UTPS_EN_SIMSTATE *state);
    bool IsRFEnabled();
    bool GetNetworkModeStatus();  // registered with full service
    // 0 with both outputs set, 1 on failure with both untouched.
    int GetMemorySatus(int &capacity, int &used, int memory);
    // Host settings of the group "SMSSERVICE": 0 with value set, 23 while the key is
    // empty (value untouched).
    int GetSMSSetting(QString key, bool &value);
    int GetSMSSoundAlertFile(QString &file);  // 0
    // Announces a new message in the new-message pop-up.
    void showNotifyDialog(QString text);
    // Recipient number rules of the composer; empty text passes every rule.
    // Replaces the number character set with the configured one (kept when none is
    // configured) and returns the set in force.
    QString GetRegExpForNumberLimitCustomization();
    QString GetNumberCharacters() const { return m_strNumberCharacters; }
    bool IsLimitSemicolon(QString &text);  // no leading ";", no ";;"
    bool IsLimitValid(QString &text);      // no leading ";", only number characters
    bool IsLimitPlusPos(QString &text);    // "+" only first or right after ";"
    bool IsInputNumberValid(QString &text);
    // ==== END status questions ==========================================================

signals:
    void Device_SimStatus(bool);
    void Network_Status(bool);
    void NewMsg_Event(QString content, QString sender, QString time, int position, int ordinary);
    void SMSSimStatus(bool);
    void memoryStatus(int status);
    void SmsSendResult(bool sent);
    // The same result with whom it was for: part (1-based) of parts reached number or not.
    void sendPartResult(const QString &number, int part, int parts, bool sent);
    void InitStorageType(int);
    void SMSSentRecord(int id);
    void SMSReceiveRecord(int id);
    void PBSIMNVReady();
    void DeleteSMSInUiService(int id, int position, int memory, bool permanent);
    void progressbarCloseEvent(int status);
    void CallBackDelete(int id, int position);
    // A sent copy stored as unknown learned whether it went out and is filed again by its
    // new status: the SDK's copy id and its folder (the sent-items box takes a sent one).
    void sentCopySettled(int id, int position);

private:
    SMSStatusUILogic();
    ~SMSStatusUILogic() override;
    Q_DISABLE_COPY(SMSStatusUILogic)

    void storeTableImages();
    void handleSentCopy(_UTPS_ST_SMS_RECORD *sdk);
    // A copy stored as unknown got its outcome: filed again by its new status.
    void settleSentCopy(int id, int position);
    void handleEvent(int event, void *data);
    // Stores a copy of record (with the adjustments of a move, copy or recover) as a new
    // message, then reads the new copy back and files it. Used by move, copy and recover.
    int saveAsNewMessage(const SmsRecord &record, int position, int initialPos, int *newId);
    int readAndFile(int id, int memory);
    // Emits DeleteSMSInUiService now, or after the commit inside a deferred batch.
    void announceRemoval(int id, int position, int memory, bool permanent);
    // Files a converted record now, or after the commit inside a deferred batch (freed
    // when the batch is discarded).
    void fileConverted(SmsRecord *record);
    // Conversion of sortSMSToCorrespondingNodes without the filing: the new record, or
    // null when sdk cannot be converted. Conversion mutex held by the caller.
    SmsRecord *convertLocked(_UTPS_ST_SMS_RECORD *sdk);
    // Frees the records parked by replace-on-reread whose folder is on memory (every one
    // for -1); buffer mutex held by the caller.
    void freeRetiredLocked(int memory);
    void forgetListedLocked(const SmsRecord *record);
    bool isFiledLocked(const SmsRecord *record) const;
    // The filed record that a fresh reading of the same message matches field for field,
    // or null. Takes the buffer mutex.
    SmsRecord *filedTwinOf(const SmsRecord &record);
    static bool sameContent(const SmsRecord &a, const SmsRecord &b);
    // A class-0 message from an inbox: converted for its announcement, never filed. Decided
    // from the SDK record, so that callers need not touch a record another thread may own.
    static bool isShownOnce(int msgClass, int initialPos);

    QHash<int, QHash<int, SmsRecord *>> m_hashBuffers;
    QString m_strPluginPath;
    QString m_strResourceFolder;
    QList<SmsRecord *> m_lstSentRecords;
    QList<SmsRecord *> m_lstReceivedRecords;
    std::atomic<int> m_iRecordCount{0}; // also written by the storage detectors
    QList<int> m_lstIdList;
    int *m_pSdkIdArray = nullptr;
    QMutex m_conversionMutex;
    QMutex m_bufferMutex;
    std::atomic<bool> m_bPCToCard{true};
    QString m_strNumberCharacters = QStringLiteral("+0123456789*#;");
    QList<QImage> m_lstTableImages;

    // Records replaced by a second reading of the same id (see InsertSingleSMS).
    QList<SmsRecord *> m_lstRetiredRecords;
    std::atomic<bool> m_bSentItemsBox{false};
    std::atomic<bool> m_bPBChanged{false};
    std::function<bool(int)> m_acceptDropHook;
    std::atomic<int> m_iLastMoveFrom{EN_POS_INVALID};
    std::atomic<int> m_iLastMoveTo{EN_POS_INVALID};

    static std::atomic<SMSStatusUILogic *> m_pSMSStatusLogicInst;
    static QMutex m_callbackMutex;
};
