// SPDX-License-Identifier: GPL-3.0-or-later
// The message store against the real SDK simulator: reading each storage, filing,
// queries, unread counts, phone-book names, icons, report texts and the SDK's events.
#include <QtTest>

#include "Change.h"
#include "CommonUtils.h"
#include "StoreTestSupport.h"

using namespace storetest;

namespace {

constexpr int kWait = 5000;

// Files one SDK record through the store, the way loading does.
int fileRecord(SMSStatusUILogic *store, int position, int msgClass = 3, int id = 900)
{
    const QString number = QStringLiteral("+15550101");
    const QString content = QStringLiteral("direct");
    _UTPS_ST_SMS_RECORD rec{};
    rec.iMsgId = id;
    rec.iPos = rec.iInitialPos = position;
    rec.iMsgClass = msgClass;
    rec.pszNumber = const_cast<UTPS_WCHAR *>(w(number));
    rec.pszContent = const_cast<UTPS_WCHAR *>(w(content));
    SmsRecord *out = nullptr;
    return store->sortSMSToCorrespondingNodes(&rec, &out);
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.init(); }
    void cleanup() { m_fixture.cleanup(); }

    void readsEachMemoryIntoItsFolders();
    void readFailures();
    void wrongPositionIsFiledButReported();
    void classZeroIsFiledOnlyOutsideInboxes();
    void readingTwiceKeepsOneRecordPerId();
    void unreadQuestionsDoNotGrowMemory();
    void unreadTotalFollowsPresentStorages_data();
    void unreadTotalFollowsPresentStorages();
    void phoneBookNames();
    void icons_data();
    void icons();
    void reportText_data();
    void reportText();

    void receivedMessageSignalsInOrder();
    void classZeroMessageIsAnnouncedOnly();
    void sentCopySignalsInOrder_data();
    void sentCopySignalsInOrder();
    void statusDeleteAndPhoneBookEvents();
    void ignoredEventsAndShutdown();

private:
    Fixture m_fixture;
};

void TestStore::readsEachMemoryIntoItsFolders()
{
    const int outbox = saveAt(EN_LOCAL_OUTBOX);
    const int inbox = saveAt(EN_LOCAL_INBOX, QStringLiteral("pc in"));
    const int simIn = saveAt(EN_SIM_INBOX, QStringLiteral("sim in"));
    const int devIn = saveAt(EN_DEVICE_INBOX);
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QCOMPARE(store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC), 0);
    QCOMPARE(store->GetSMSRecordsSet(EN_LOCAL_OUTBOX).keys(), QList<int>{outbox});
    QCOMPARE(store->GetSMSRecordsSet(EN_LOCAL_INBOX).keys(), QList<int>{inbox});
    QVERIFY(store->GetSMSRecordsSet(EN_SIM_INBOX).isEmpty()); // not read yet
    QCOMPARE(store->PopulateSMSFromSDK(UTPS_SMS_MEM_SIM), 0);
    QCOMPARE(store->PopulateSMSFromSDK(UTPS_SMS_MEM_DEVICE), 0);
    QCOMPARE(store->GetSMSRecordsSet(EN_DEVICE_INBOX).keys(), QList<int>{devIn});

    const SmsRecord sim = store->GetSingleSMS(EN_SIM_INBOX, simIn);
    QCOMPARE(sim.strContent, QStringLiteral("sim in"));
    QCOMPARE(sim.strDisplayName, QStringLiteral("+15550101"));
    QCOMPARE(sim.strDisplayTime, SmsDisplayTime(QStringLiteral("20260102030405")));
    QCOMPARE(store->GetSingleSMS(EN_SIM_OUTBOX, simIn).iMsgId, -1);
    SmsRecord *direct = nullptr; // read straight from the SDK, owned by the caller
    QCOMPARE(store->GetSMSRecordUsingID(inbox, EN_LOCAL_INBOX, &direct), 0);
    QCOMPARE(direct->strContent, QStringLiteral("pc in"));
    delete direct;
}

void TestStore::readFailures()
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QCOMPARE(store->PopulateSMSFromSDK(UTPS_SMS_MEM_SIM), 1); // empty: no ids
    for (int i = 0; i < 3; ++i)
        saveAt(EN_LOCAL_INBOX, QString::number(i));
    // No count, or a record that cannot be read: the read stops, nothing half-made stays.
    SimCtl_FailNextCalls("UTPS_SMSSrv_SMSRecordSetGetRecordCount", 1, UTPS_E_NOT_READY);
    QCOMPARE(store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC), 1);
    SimCtl_FailNextCalls("UTPS_SMSSrv_GetMsg", 1, UTPS_E_FAILED);
    QCOMPARE(store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC), 1);
    QVERIFY(store->GetSMSRecordsSet(EN_LOCAL_INBOX).isEmpty());
    QCOMPARE(store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC), 0);
    QCOMPARE(store->GetSMSRecordsSet(EN_LOCAL_INBOX).size(), 3);
}

void TestStore::wrongPositionIsFiledButReported()
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QCOMPARE(fileRecord(store, EN_SIM_ROOT), 1);
    QCOMPARE(store->GetSMSRecordsSet(EN_SIM_ROOT).keys(), QList<int>{900});
    QCOMPARE(fileRecord(store, EN_LOCAL_SENTITEMS, 3, 903), 0);
    SmsRecord *out = nullptr;
    QCOMPARE(store->sortSMSToCorrespondingNodes(nullptr, &out), 23);
    // The misplaced record is freed with the store (the leak check would see it).
}

void TestStore::classZeroIsFiledOnlyOutsideInboxes()
{
    NewMessage m;
    m.msgClass = UTPS_MSGCLASS_FLASH;
    m.position = EN_LOCAL_INBOX;
    const int inInbox = save(m);
    m.position = EN_LOCAL_OUTBOX;
    const int inOutbox = save(m);
    QVERIFY(inInbox >= 0 && inOutbox >= 0);
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QCOMPARE(store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC), 0);
    QVERIFY(store->GetSMSRecordsSet(EN_LOCAL_INBOX).isEmpty());
    QCOMPARE(store->GetSMSRecordsSet(EN_LOCAL_OUTBOX).keys(), QList<int>{inOutbox});
}

void TestStore::readingTwiceKeepsOneRecordPerId()
{
    const int id = saveAt(EN_LOCAL_INBOX, QStringLiteral("first"));
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QCOMPARE(store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC), 0);
    SmsRecord *borrowed = store->GetSMSRecordsSet(EN_LOCAL_INBOX).value(id);
    QVERIFY(borrowed);

    // The stored text changes, then the memory is read again without releasing it.
    SmsRecord changed = *borrowed;
    changed.strContent = QStringLiteral("second");
    _UTPS_ST_SMS_RECORD sdk{};
    QCOMPARE(SmsRecordToSdk(&sdk, changed), 0);
    QCOMPARE(UTPS_SMSSrv_UpdateMsg(&sdk), UTPS_OK);
    QCOMPARE(store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC), 0);

    const auto folder = store->GetSMSRecordsSet(EN_LOCAL_INBOX);
    QCOMPARE(folder.size(), 1);
    QCOMPARE(folder.value(id)->strContent, QStringLiteral("second"));
    QVERIFY(folder.value(id) != borrowed);
    // A table still holding the first reading reads valid memory until it is rebuilt
    // (AddressSanitizer would flag a use after free here).
    QCOMPARE(borrowed->strContent, QStringLiteral("first"));
    QCOMPARE(store->ReleaseSmsBuffer(UTPS_SMS_MEM_SIM), 0); // another memory: PC kept
    QCOMPARE(store->GetSMSRecordsSet(EN_LOCAL_INBOX).size(), 1);
    QCOMPARE(store->ReleaseAllSmsBuffers(), 0);
    QVERIFY(store->GetSMSRecordsSet(EN_LOCAL_INBOX).isEmpty());
}

// The host's status bar asks for the unread total on every count change; each question
// re-reads the SIM and device storages. Unchanged messages must not pile up as parked copies,
// and the records the tables point at must stay the filed ones.
void TestStore::unreadQuestionsDoNotGrowMemory()
{
    for (int i = 0; i < 20; ++i) {
        saveAt(EN_SIM_INBOX);
        saveAt(EN_DEVICE_INBOX);
    }
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QCOMPARE(store->GetUnReadSMSTotalCount(), 40);
    const QHash<int, SmsRecord *> shown = store->GetSMSRecordsSet(EN_SIM_INBOX);
    for (int i = 0; i < 100; ++i)
        QCOMPARE(store->GetUnReadSMSTotalCount(), 40);
    QCOMPARE(store->parkedRecordCount(), 0);
    QCOMPARE(store->GetSMSRecordsSet(EN_SIM_INBOX), shown);

    // A message that really changed is still replaced, and the old reading stays valid.
    const int id = shown.keys().first();
    SmsRecord changed = *shown.value(id);
    changed.iReadStatus = 0;
    _UTPS_ST_SMS_RECORD sdk{};
    QCOMPARE(SmsRecordToSdk(&sdk, changed), 0);
    QCOMPARE(UTPS_SMSSrv_UpdateMsg(&sdk), UTPS_OK);
    QCOMPARE(store->GetUnReadSMSTotalCount(), 39);
    QCOMPARE(store->parkedRecordCount(), 1);
    QCOMPARE(shown.value(id)->iReadStatus, 1);
    for (int i = 0; i < 10; ++i)
        store->GetUnReadSMSTotalCount();
    QCOMPARE(store->parkedRecordCount(), 1);
}

void TestStore::unreadTotalFollowsPresentStorages_data()
{
    QTest::addColumn<bool>("sim");
    QTest::addColumn<bool>("device");
    QTest::addColumn<bool>("cbsShown");
    QTest::addColumn<int>("total");
    QTest::newRow("both") << true << true << false << 1 + 2 + 4;
    QTest::newRow("no SIM") << false << true << false << 1 + 4;
    QTest::newRow("no device") << true << false << false << 1;
    // A cell broadcast counts only where the user can find it.
    QTest::newRow("broadcast folder shown") << true << true << true << 1 + 2 + 4 + 8;
}

void TestStore::unreadTotalFollowsPresentStorages()
{
    QFETCH(bool, sim);
    QFETCH(bool, device);
    QFETCH(bool, cbsShown);
    QFETCH(int, total);
    CommonUtils::SetSettings(QStringLiteral("CBS"), QStringLiteral("enable"),
                             cbsShown ? QStringLiteral("true") : QStringLiteral("false"));
    saveAt(EN_LOCAL_INBOX);
    for (int i = 0; i < 2; ++i)
        saveAt(EN_SIM_INBOX);
    for (int i = 0; i < 4; ++i)
        saveAt(EN_DEVICE_INBOX);
    for (int i = 0; i < 8; ++i)
        saveAt(EN_LOCAL_CBSBOX);
    SimCtl_SetSimInserted(sim);
    SimCtl_SetDevicePlugged(device);
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC);
    QCOMPARE(store->GetUnReadSMSTotalCount(), total);

    SimCtl_FailNextCalls("UTPS_SMSSrv_SMSGetMemoryListType", 1, UTPS_E_FAILED);
    QCOMPARE(store->GetUnReadSMSTotalCount(), cbsShown ? 1 + 8 : 1);
}

void TestStore::phoneBookNames()
{
    QCOMPARE(SimCtl_AddContact("Alice", "+15550101", nullptr), UTPS_OK);
    QCOMPARE(SimCtl_AddContact("", "+15550199", nullptr), UTPS_OK);
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    QCOMPARE(store->getNameByNumberFromPhoneBook(QStringLiteral("+15550101;+4930;;")),
             QStringLiteral("Alice; +4930; ; "));
    QString display;
    QString names;
    store->getNameByNumberFromPhoneBookEx(QStringLiteral("+4930;+15550199;+15550101"), display,
                                          names);
    // A contact without a name shows its number, but gives its (empty) name.
    QCOMPARE(display, QStringLiteral("+4930; +15550199; Alice"));
    QCOMPARE(names, QStringLiteral("+4930; ; Alice"));

    NewMessage m;
    m.number = QStringLiteral("+4940");
    const int id = save(m);
    store->PopulateSMSFromSDK(UTPS_SMS_MEM_PC);
    QCOMPARE(SimCtl_AddContact("Bob", "+4940", nullptr), UTPS_OK);
    QCOMPARE(store->SyncBuffersWithPB(), 0);
    QCOMPARE(store->GetSingleSMS(EN_LOCAL_INBOX, id).strDisplayName, QStringLiteral("Bob"));
}

void TestStore::icons_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("origin");
    QTest::addColumn<int>("read");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("tile"); // -1: no icon
    QTest::newRow("inbox unread") << 1 << 1 << 1 << 0 << 1;
    QTest::newRow("inbox read") << 1 << 1 << 0 << 0 << 0;
    QTest::newRow("cell broadcast") << 10 << 10 << 1 << 0 << 1;
    QTest::newRow("outbox sent") << 0 << 0 << 0 << 0 << 2;
    QTest::newRow("outbox failed") << 0 << 0 << 0 << 1 << 3;
    QTest::newRow("outbox, may not have been sent") << 0 << 0 << 0 << 2 << 5;
    QTest::newRow("trash from outbox, may not have been sent") << 4 << 0 << 0 << 2 << 5;
    QTest::newRow("card outbox, status 2") << 6 << 6 << 0 << 2 << 3;
    QTest::newRow("sent items") << 15 << 15 << 0 << 1 << 2;
    QTest::newRow("trash from inbox, unread") << 4 << 1 << 1 << 0 << 1;
    QTest::newRow("favourite from sent items") << 3 << 15 << 0 << 0 << 2;
    QTest::newRow("draft") << 2 << 2 << 0 << 0 << 4;
    QTest::newRow("trash of unknown origin") << 4 << 11 << 0 << 0 << -1;
    QTest::newRow("root") << 13 << 13 << 1 << 0 << -1;
}

void TestStore::icons()
{
    QFETCH(int, position);
    QFETCH(int, origin);
    QFETCH(int, read);
    QFETCH(int, status);
    QFETCH(int, tile);
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    // The six tiles must differ for this test to mean anything.
    const QList<QImage> &tiles = store->GetTableImages();
    QCOMPARE(tiles.size(), 6);
    for (int i = 1; i < tiles.size(); ++i)
        QVERIFY(!tiles.at(i).isNull() && !tiles.mid(0, i).contains(tiles.at(i)));
    SmsRecord r;
    r.enPos = position;
    r.enInitialPos = origin;
    r.iReadStatus = read;
    r.iStatus = status;
    r.imgIcon = QImage(1, 1, QImage::Format_ARGB32); // must be replaced
    store->addIconsToTable(&r);
    if (tile < 0)
        QVERIFY(r.imgIcon.isNull());
    else
        QCOMPARE(r.imgIcon, store->GetTableImage(tile));
}

void TestStore::reportText_data()
{
    const QString success = Change::tr(QStringLiteral("IDS_LBL_SUCCESS"), QStringLiteral("SMSUIPlugin"));
    const QString failed = Change::tr(QStringLiteral("IDS_LBL_FAILED"), QStringLiteral("SMSUIPlugin"));
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("result");
    QTest::newRow("success text") << 5 << success << success << 0;
    QTest::newRow("own text") << 0 << "Delivered\r\nto +49" << "Deliveredto +49" << -7;
    QTest::newRow("no text, delivered") << 0 << "" << success << 0;
}

void TestStore::reportText()
{
    QFETCH(int, status);
    QFETCH(QString, content);
    QFETCH(QString, text);
    QFETCH(int, result);
    int got = -7; // left alone when the text carries no result
    QCOMPARE(SMSStatusUILogic::Instance()->getReportContentMsg(status, content, got), text);
    QCOMPARE(got, result);
}

void TestStore::receivedMessageSignalsInOrder()
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    SignalLog log(store);
    QCOMPARE(SimCtl_AddContact("Carol", "+15550142", nullptr), UTPS_OK);
    QCOMPARE(SimCtl_WaitIdle(kWait), UTPS_OK); // its phone-book event goes unheard
    QCOMPARE(store->InitStatusLogic(), 0);
    int id = -1;
    QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_SIM, "+15550142", "hi there", "20260105060708", 3, &id),
             UTPS_OK);
    QTRY_COMPARE_WITH_TIMEOUT(log.count("NewMsg_Event"), 1, kWait);
    QCOMPARE(log.names(), (QStringList{"SMSReceiveRecord", "NewMsg_Event"}));
    QCOMPARE(log.first("SMSReceiveRecord").args, (QVariantList{id}));
    QCOMPARE(log.first("NewMsg_Event").args,
             (QVariantList{"hi there", "Carol", "20260105060708", int(EN_SIM_INBOX), 1}));

    SmsRecord *received = store->takeFirstReceivedRecord();
    QVERIFY(received);
    QCOMPARE(received->iMsgId, id);
    QCOMPARE(store->GetSMSRecordsSet(EN_SIM_INBOX).value(id), received);
    QVERIFY(!store->takeFirstReceivedRecord());
}

void TestStore::classZeroMessageIsAnnouncedOnly()
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    SignalLog log(store);
    QCOMPARE(SimCtl_AddContact("Dave", "+15550177", nullptr), UTPS_OK);
    QCOMPARE(SimCtl_WaitIdle(kWait), UTPS_OK); // its phone-book event goes unheard
    QCOMPARE(store->InitStatusLogic(), 0);
    QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+15550177", "flash", nullptr, 0, nullptr),
             UTPS_OK);
    QTRY_COMPARE_WITH_TIMEOUT(log.count("NewMsg_Event"), 1, kWait);
    QCOMPARE(SimCtl_WaitIdle(kWait), UTPS_OK);
    QCoreApplication::processEvents();
    QCOMPARE(log.names(), QStringList{"NewMsg_Event"});
    const QVariantList args = log.first("NewMsg_Event").args;
    QCOMPARE(args.at(1).toString(), QStringLiteral("+15550177")); // the number, not the name
    QCOMPARE(args.at(4).toInt(), 0);
    QVERIFY(store->GetSMSRecordsSet(EN_LOCAL_INBOX).isEmpty());
    QCOMPARE(store->receivedRecordCount(), 0);
}

void TestStore::sentCopySignalsInOrder_data()
{
    QTest::addColumn<bool>("fails");
    QTest::addColumn<bool>("sentItems");
    QTest::addColumn<int>("filedAt");
    QTest::newRow("sent, sent items") << false << true << int(EN_LOCAL_SENTITEMS);
    QTest::newRow("sent, outbox only") << false << false << int(EN_LOCAL_OUTBOX);
    QTest::newRow("failed, sent items") << true << true << int(EN_LOCAL_OUTBOX);
}

void TestStore::sentCopySignalsInOrder()
{
    QFETCH(bool, fails);
    QFETCH(bool, sentItems);
    QFETCH(int, filedAt);
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    store->setSentItemsBox(sentItems);
    SignalLog log(store);
    QCOMPARE(store->InitStatusLogic(), 0);
    if (fails)
        SimCtl_ScriptSendOutcome("+4915*", UTPS_E_SEND_FAILED);

    const QString number = QStringLiteral("+491511");
    const QString text = QStringLiteral("short");
    _UTPS_ST_SMS_RECORD *r = nullptr;
    QCOMPARE(UTPS_SMSSrv_CreateSMSRecord(&r, w(number), w(text)), UTPS_OK);
    QCOMPARE(UTPS_SMSSrv_SendMsg(r), UTPS_OK);
    UTPS_SMSSrv_ReleaseSMSRecord(&r);

    QTRY_COMPARE_WITH_TIMEOUT(log.count("progressbarCloseEvent"), 1, kWait);
    QCOMPARE(log.names(),
             (QStringList{"SmsSendResult", "SMSSentRecord", "progressbarCloseEvent"}));
    QCOMPARE(log.first("SmsSendResult").args.at(0).toBool(), !fails);
    QCOMPARE(log.first("progressbarCloseEvent").args.at(0).toInt() == 0, !fails);
    const int id = log.first("SMSSentRecord").args.at(0).toInt();
    SmsRecord *sent = store->takeFirstSentRecord();
    QVERIFY(sent);
    QCOMPARE(sent->iMsgId, id);
    QCOMPARE(sent->enPos, filedAt);
    QCOMPARE(store->GetSMSRecordsSet(_EN_SMS_POSITION(filedAt)).value(id), sent);
}

void TestStore::statusDeleteAndPhoneBookEvents()
{
    const int id = saveAt(EN_DEVICE_INBOX);
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    SignalLog log(store);
    QCOMPARE(store->InitStatusLogic(), 0);

    QCOMPARE(SimCtl_RaiseStatus(UTPS_SMS_STATUS_SIM_FULL, UTPS_SMS_MEM_SIM), UTPS_OK);
    QTRY_COMPARE_WITH_TIMEOUT(log.count("memoryStatus"), 1, kWait);
    QCOMPARE(log.first("memoryStatus").args, (QVariantList{int(UTPS_SMS_STATUS_SIM_FULL)}));

    QCOMPARE(SimCtl_DeviceDeleteMsg(UTPS_SMS_MEM_DEVICE, id), UTPS_OK);
    QTRY_COMPARE_WITH_TIMEOUT(log.count("CallBackDelete"), 1, kWait);
    QCOMPARE(log.first("CallBackDelete").args, (QVariantList{id, int(EN_DEVICE_INBOX)}));

    QCOMPARE(SimCtl_AddContact("Erin", "+15550111", nullptr), UTPS_OK);
    QTRY_COMPARE_WITH_TIMEOUT(log.count("PBSIMNVReady"), 1, kWait);
}

void TestStore::ignoredEventsAndShutdown()
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    SignalLog log(store);
    QCOMPARE(SMSStatusUILogic::SmsCallBackMethod(4, nullptr), 1);
    QCOMPARE(SMSStatusUILogic::SmsCallBackMethod(12345, nullptr), 1);
    QCOMPARE(SMSStatusUILogic::SmsCallBackMethod(EVENT_SMS_ONRECEIVE, nullptr), 1);

    // While the host shuts down, arriving messages change nothing and announce nothing.
    QCOMPARE(store->InitStatusLogic(), 0);
    CommonUtils::SetShuttingDown(true);
    QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+4930", "late", nullptr, 3, nullptr), UTPS_OK);
    QCOMPARE(SimCtl_RaiseStatus(UTPS_SMS_STATUS_PC_FULL, UTPS_SMS_MEM_PC), UTPS_OK);
    QCOMPARE(SimCtl_WaitIdle(kWait), UTPS_OK);
    CommonUtils::SetShuttingDown(false);
    QCoreApplication::processEvents();
    QVERIFY(log.names().isEmpty());
    QVERIFY(store->GetSMSRecordsSet(EN_LOCAL_INBOX).isEmpty());
    QCOMPARE(store->receivedRecordCount(), 0);

    // Without a store the callback declines.
    SMSStatusUILogic::Destroy();
    QCOMPARE(SMSStatusUILogic::SmsCallBackMethod(2, nullptr), 0);
}

QTEST_MAIN(TestStore)
#include "tst_store.moc"
