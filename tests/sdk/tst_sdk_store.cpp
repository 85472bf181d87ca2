// SPDX-License-Identifier: GPL-3.0-or-later
// The SDK's storages: results and ownership of every storage call, positions and ids,
// trash, capacities, transactions, fault injection and persistence (faults of the file
// itself: tst_sdk_faults).
#include "SdkTestSupport.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <atomic>
#include <functional>
#include <thread>

Q_DECLARE_METATYPE(std::function<long()>)

class SdkStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_home.isValid()); }
    void init() { resetSdk(); }
    void cleanupTestCase() { SimCtl_Reset(); }

    void badInputIsRefused_data();
    void badInputIsRefused();
    void releaseOfNothingIsHarmless();
    void saveAndReadBack_data();
    void saveAndReadBack();
    void timeTextStaysTerminated();
    void idsArePerMemory();
    void idListMatchesCount();
    void readingInIdOrderSeesEveryWrite();
    void deleteMovesPcMessagesToTrash();
    void updateRewritesStoredMessage();
    void capacityAndStorageFull();
    void transactionCommitsBatch();
    void failedCommitLeavesStoreAsBefore();
    void transactionHoldsOffOtherWriters();
    void injectedFaultsFailOnlyTheirCalls_data();
    void injectedFaultsFailOnlyTheirCalls();
    void unreadableStorageRecovers();
    void memoryListFollowsSimAndDevice();
    void statusGettersFollowSimulator();
    void phoneBookMatchesPrefixes_data();
    void phoneBookMatchesPrefixes();
    void logDirectoryEndsWithSlash();
    void dataSurvivesRestart();
    void demoSeedFillsEveryFolder();

private:
    TestDataHome m_home;
};

void SdkStoreTest::badInputIsRefused_data()
{
    QTest::addColumn<std::function<long()>>("call");
    using F = std::function<long()>;
    const auto mem = [](int m) { return static_cast<_UTPS_EN_SMS_MEM>(m); };
    QTest::newRow("count null") << F([] { return UTPS_SMSSrv_SMSRecordSetGetRecordCount(nullptr, UTPS_SMS_MEM_PC); });
    QTest::newRow("count memory 3") << F([=] { int n; return UTPS_SMSSrv_SMSRecordSetGetRecordCount(&n, mem(3)); });
    QTest::newRow("count memory -1") << F([=] { int n; return UTPS_SMSSrv_SMSRecordSetGetRecordCount(&n, mem(-1)); });
    QTest::newRow("id list null") << F([] { int n; return UTPS_SMSSrv_GetSmsIdList(nullptr, &n, UTPS_SMS_MEM_PC); });
    QTest::newRow("create null") << F([] { return UTPS_SMSSrv_CreateSMSRecord(nullptr, nullptr, nullptr); });
    QTest::newRow("get null") << F([] { return UTPS_SMSSrv_GetMsg(nullptr, UTPS_SMS_MEM_PC); });
    QTest::newRow("get foreign record") << F([] {
        LocalRecord r(1, QString(), QString());
        r.rec.iMsgId = saveAt(1);
        return UTPS_SMSSrv_GetMsg(&r.rec, UTPS_SMS_MEM_PC);
    });
    QTest::newRow("get unknown id") << F([] { return fetch(4242, UTPS_SMS_MEM_PC).rc; });
    QTest::newRow("get id of another memory") << F([] { return fetch(saveAt(7), UTPS_SMS_MEM_DEVICE).rc; });
    QTest::newRow("save null") << F([] { int id; return UTPS_SMSSrv_SaveMsg(nullptr, &id, nullptr); });
    QTest::newRow("save null id") << F([] { LocalRecord r(1, "1", "x"); return UTPS_SMSSrv_SaveMsg(&r.rec, nullptr, nullptr); });
    for (int pos : {11, 12, 13, 14, 16, -1}) {
        QTest::addRow("save position %d", pos) << F([pos] {
            long rc;
            saveAt(pos, "1", "x", &rc);
            return rc;
        });
    }
    QTest::newRow("update unknown id") << F([] {
        LocalRecord r(1, "1", "x");
        r.rec.iMsgId = 999;
        return UTPS_SMSSrv_UpdateMsg(&r.rec);
    });
    QTest::newRow("update null") << F([] { return UTPS_SMSSrv_UpdateMsg(nullptr); });
    QTest::newRow("remove unknown") << F([] { return UTPS_SMSSrv_RemoveMsg(77, UTPS_SMS_MEM_PC); });
    QTest::newRow("remove bad memory") << F([=] { return UTPS_SMSSrv_RemoveMsg(saveAt(1), mem(5)); });
    QTest::newRow("delete unknown") << F([] { return UTPS_SMSSrv_DeleteMsg(77, UTPS_SMS_MEM_SIM); });
    QTest::newRow("release foreign") << F([] {
        _UTPS_ST_SMS_RECORD local{};
        _UTPS_ST_SMS_RECORD *p = &local;
        return UTPS_SMSSrv_ReleaseSMSRecord(&p);
    });
    QTest::newRow("end without begin") << F([] { return UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC); });
    QTest::newRow("begin bad memory") << F([=] { return UTPS_SMSSrv_BeginTransaction(mem(9)); });
    QTest::newRow("record info null") << F([] { int c; return UTPS_SMSSrv_GetRecordInfo(&c, nullptr, UTPS_SMS_MEM_PC); });
    QTest::newRow("memory list null count") << F([] { return UTPS_SMSSrv_SMSGetMemoryListType(nullptr, nullptr); });
    QTest::newRow("send null") << F([] { return UTPS_SMSSrv_SendMsg(nullptr); });
    QTest::newRow("send no recipient") << F([] { LocalRecord r(0, " ; ;", "x"); return UTPS_SMSSrv_SendMsg(&r.rec); });
    QTest::newRow("cancel null") << F([] { return UTPS_SMSSrv_CancelSendMsg(nullptr); });
    QTest::newRow("split null") << F([] { int n; return UTPS_SMSSrv_GetMsgSplitCount(nullptr, &n); });
    QTest::newRow("find name null") << F([] { UTPS_WCHAR *n; return UTPS_PBSrv_FindNameByNumber(nullptr, &n, 48, nullptr); });
    QTest::newRow("find name unknown") << F([] {
        UTPS_WCHAR *n = nullptr;
        return UTPS_PBSrv_FindNameByNumber(w("+999"), &n, 48, nullptr);
    });
    QTest::newRow("centre number letters") << F([] { return UTPS_SMSSrv_SetSMSCentreNumber(w("+12ab")); });
    QTest::newRow("centre number too long") << F([] { return UTPS_SMSSrv_SetSMSCentreNumber(w("+123456789012345678901")); });
    QTest::newRow("centre buffer too small") << F([] { int t; UTPS_WCHAR b[3]; return UTPS_SMSSrv_GetSMSCentreNumber(&t, b, 3); });
    QTest::newRow("validity too short") << F([] { return UTPS_SMSSrv_SetSMSValidityPeriod(10); });
    QTest::newRow("priority 1") << F([] { return UTPS_SMSSrv_SMSSetPriority(static_cast<_UTPS_EN_SMS_PRIORITY>(1)); });
    QTest::newRow("pin reserved") << F([] { int s; return UTPS_DevSrv_GetPinStatus(1, &s, nullptr, nullptr, nullptr); });
    QTest::newRow("multimode reserved") << F([] { int m; return UTPS_DevSrv_GetMultiModeCardStatus(&m, 1, 0); });
    QTest::newRow("log dir null") << F([] { return UTPS_GetLogDirectory(nullptr); });
    QTest::newRow("reg null") << F([] { return UTPS_SMSSrv_RegCallBack(nullptr); });
    QTest::newRow("unreg unknown") << F([] { return UTPS_PBSrv_UnRegisterPBCallback(EventRecorder::pbCallback); });
    QTest::newRow("inject bad storage") << F([] { return SimCtl_InjectMessage(4, "1", "x", nullptr, 3, nullptr); });
    QTest::newRow("inject null text") << F([] { return SimCtl_InjectMessage(0, "1", nullptr, nullptr, 3, nullptr); });
}

void SdkStoreTest::badInputIsRefused()
{
    QFETCH(std::function<long()>, call);
    QVERIFY(call() != UTPS_OK);
}

void SdkStoreTest::releaseOfNothingIsHarmless()
{
    QCOMPARE(UTPS_SMSSrv_ReleaseSMSRecord(nullptr), UTPS_OK);
    _UTPS_ST_SMS_RECORD *none = nullptr;
    QCOMPARE(UTPS_SMSSrv_ReleaseSMSRecord(&none), UTPS_OK);
    QCOMPARE(UTPS_SMSSrv_ReleaseSmsIdList(nullptr), UTPS_OK);
    int *ids = nullptr;
    QCOMPARE(UTPS_SMSSrv_ReleaseSmsIdList(&ids), UTPS_OK);

    // A released record is forgotten: releasing the same address again is refused.
    _UTPS_ST_SMS_RECORD *r = nullptr;
    QCOMPARE(UTPS_SMSSrv_CreateSMSRecord(&r, w("+1"), w("x")), UTPS_OK);
    _UTPS_ST_SMS_RECORD *copy = r;
    QCOMPARE(UTPS_SMSSrv_ReleaseSMSRecord(&r), UTPS_OK);
    QVERIFY(r == nullptr);
    QVERIFY(UTPS_SMSSrv_ReleaseSMSRecord(&copy) != UTPS_OK);

    // An empty memory gives no array and a count of 0.
    int count = -1;
    ids = reinterpret_cast<int *>(0x1);
    QCOMPARE(UTPS_SMSSrv_GetSmsIdList(&ids, &count, UTPS_SMS_MEM_DEVICE), UTPS_OK);
    QCOMPARE(count, 0);
    QVERIFY(ids == nullptr);
}

void SdkStoreTest::saveAndReadBack_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("memory");
    QTest::addColumn<int>("storedPosition");
    QTest::addColumn<QString>("content");
    QTest::newRow("PC inbox") << 1 << 0 << 1 << QStringLiteral("plain text");
    QTest::newRow("PC drafts unicode") << 2 << 0 << 2 << QStringLiteral("Grüße ✓ 😀 日本");
    QTest::newRow("PC sent items stored as outbox") << 15 << 0 << 0 << QStringLiteral("sent");
    QTest::newRow("cell broadcast") << 10 << 0 << 10 << QStringLiteral("cb");
    QTest::newRow("SIM outbox") << 6 << 1 << 6 << QStringLiteral("sim out");
    QTest::newRow("SIM inbox") << 7 << 1 << 7 << QStringLiteral("sim in");
    QTest::newRow("device outbox") << 8 << 2 << 8 << QStringLiteral("nv out");
    QTest::newRow("device inbox empty text") << 9 << 2 << 9 << QString();
}

void SdkStoreTest::saveAndReadBack()
{
    QFETCH(int, position);
    QFETCH(int, memory);
    QFETCH(int, storedPosition);
    QFETCH(QString, content);

    LocalRecord r(position, QStringLiteral("+4915112345678;+15550100"), content, /* initial */ 1);
    r.rec.iStatus = 1;
    r.rec.iMsgClass = 2;
    r.rec.iExtra1 = 11;
    r.rec.iExtra2 = 22;
    r.rec.iExtra3 = 33;
    r.rec.iPriority = UTPS_SMS_PRIORITY_URGENT;
    int id = -1, savedIn = -1;
    QCOMPARE(UTPS_SMSSrv_SaveMsg(&r.rec, &id, &savedIn), UTPS_OK);
    QCOMPARE(savedIn, memory);
    QCOMPARE(countOf(memory), 1);

    const Fetched f = fetch(id, memory);
    QCOMPARE(f.rc, UTPS_OK);
    QCOMPARE(f.rec.iMsgId, id);
    QCOMPARE(f.rec.iPos, storedPosition);
    QCOMPARE(f.rec.iInitialPos, 1);
    QCOMPARE(f.rec.iStatus, 1);
    QCOMPARE(f.rec.iReadStatus, 1);
    QCOMPARE(f.rec.iMsgClass, 2);
    QCOMPARE(f.rec.iExtra1 + f.rec.iExtra2 + f.rec.iExtra3, 66);
    QCOMPARE(f.rec.iPriority, int(UTPS_SMS_PRIORITY_URGENT));
    QCOMPARE(f.number, r.number);
    QCOMPARE(f.content, content);
    QCOMPARE(f.time, QStringLiteral("20260102030405"));
}

void SdkStoreTest::timeTextStaysTerminated()
{
    // A caller's record may carry a full array without terminator; the SDK reads at most
    // 19 units and always hands back a terminated text.
    LocalRecord r(1, "1", "x");
    for (UTPS_WCHAR &c : r.rec.szTime)
        c = '7';
    int id = -1;
    QCOMPARE(UTPS_SMSSrv_SaveMsg(&r.rec, &id, nullptr), UTPS_OK);
    const Fetched f = fetch(id, 0);
    QCOMPARE(f.time.size(), 19);
    QCOMPARE(f.rec.szTime[UTPS_TIME_LEN - 1], UTPS_WCHAR(0));
}

void SdkStoreTest::idsArePerMemory()
{
    const int a = saveAt(1), b = saveAt(1), c = saveAt(1);
    QVERIFY(a < b && b < c);
    QCOMPARE(UTPS_SMSSrv_RemoveMsg(c, UTPS_SMS_MEM_PC), UTPS_OK);
    // PC ids are never reused, so a stale id cannot name a newer message, not even after
    // the newest message was removed and the SDK restarted.
    SimCtl_Shutdown();
    const int d = saveAt(1);
    QVERIFY(d > c);
    QCOMPARE(UTPS_SMSSrv_RemoveMsg(d, UTPS_SMS_MEM_PC), UTPS_OK);
    QVERIFY(saveAt(1) > d);

    // SIM and device ids are record slots: the lowest free one is taken again.
    const int s0 = saveAt(7), s1 = saveAt(6), s2 = saveAt(7);
    QCOMPARE(QList<int>({s0, s1, s2}), QList<int>({0, 1, 2}));
    QCOMPARE(UTPS_SMSSrv_RemoveMsg(s1, UTPS_SMS_MEM_SIM), UTPS_OK);
    QCOMPARE(saveAt(7), 1);
    QCOMPARE(saveAt(9), 0); // device slots are counted apart from the SIM's
}

void SdkStoreTest::idListMatchesCount()
{
    for (int i = 0; i < 5; ++i)
        saveAt(i % 2 ? 1 : 2);
    saveAt(7);
    int *ids = nullptr;
    int count = 0;
    QCOMPARE(UTPS_SMSSrv_GetSmsIdList(&ids, &count, UTPS_SMS_MEM_PC), UTPS_OK);
    QCOMPARE(count, countOf(0));
    QCOMPARE(count, 5);
    for (int i = 0; i < count; ++i)
        QCOMPARE(fetch(ids[i], 0).rc, UTPS_OK);
    QVERIFY(std::is_sorted(ids, ids + count));
    QCOMPARE(UTPS_SMSSrv_ReleaseSmsIdList(&ids), UTPS_OK);
    QVERIFY(ids == nullptr);
}

// A storage read in id order is served from rows read ahead: whatever is written between
// two reads (changed, removed, added, rolled back, another memory's ids) must show.
void SdkStoreTest::readingInIdOrderSeesEveryWrite()
{
    QList<int> ids;
    QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
    for (int i = 0; i < 600; ++i)
        ids.append(saveAt(1, "+1", QStringLiteral("m%1").arg(i)));
    QCOMPARE(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
    const int simId = saveAt(7, "+2", "on the sim");
    // Removed before the reading starts: a gap among the ids read.
    QCOMPARE(UTPS_SMSSrv_RemoveMsg(ids.at(100), UTPS_SMS_MEM_PC), UTPS_OK);

    auto expected = [](int i) { return QStringLiteral("m%1").arg(i); };
    for (int i = 0; i < 300; ++i) {
        const Fetched f = fetch(ids.at(i), 0);
        QCOMPARE(f.rc, i == 100 ? UTPS_E_NOT_FOUND : UTPS_OK);
        if (i != 100)
            QCOMPARE(f.content, expected(i));
    }
    // Half-way through a long run, with the next rows likely read already.
    LocalRecord changed(1, "+1", "changed");
    changed.rec.iMsgId = ids.at(300);
    QCOMPARE(UTPS_SMSSrv_UpdateMsg(&changed.rec), UTPS_OK);
    QCOMPARE(fetch(ids.at(300), 0).content, QStringLiteral("changed"));
    for (int i = 301; i < 350; ++i)
        QCOMPARE(fetch(ids.at(i), 0).content, expected(i));
    QCOMPARE(UTPS_SMSSrv_RemoveMsg(ids.at(350), UTPS_SMS_MEM_PC), UTPS_OK);
    QCOMPARE(fetch(ids.at(350), 0).rc, UTPS_E_NOT_FOUND);
    // The same id in another memory is another message.
    QCOMPARE(fetch(simId, 1).content, QStringLiteral("on the sim"));
    QCOMPARE(fetch(ids.at(351), 0).content, expected(351));

    // Rows read inside a batch that is then rolled back are not served afterwards.
    QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
    LocalRecord undone(1, "+1", "undone");
    undone.rec.iMsgId = ids.at(420);
    QCOMPARE(UTPS_SMSSrv_UpdateMsg(&undone.rec), UTPS_OK);
    for (int i = 400; i < 420; ++i)
        QCOMPARE(fetch(ids.at(i), 0).content, expected(i));
    SimCtl_FailNextCalls("UTPS_SMSSrv_EndTransaction", 1, UTPS_E_FAILED);
    QVERIFY(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC) != UTPS_OK);
    for (int i = 420; i < 600; ++i)
        QCOMPARE(fetch(ids.at(i), 0).content, expected(i));

    // A message stored after the last id read is found by the next read in order.
    const int added = saveAt(1, "+1", "late");
    QCOMPARE(fetch(added, 0).content, QStringLiteral("late"));
}

void SdkStoreTest::deleteMovesPcMessagesToTrash()
{
    const int id = saveAt(1);
    QCOMPARE(UTPS_SMSSrv_DeleteMsg(id, UTPS_SMS_MEM_PC), UTPS_OK);
    Fetched f = fetch(id, 0);
    QCOMPARE(f.rc, UTPS_OK);
    QCOMPARE(f.rec.iPos, UTPS_POS_PC_TRASH);
    QCOMPARE(f.rec.iInitialPos, UTPS_POS_PC_INBOX);
    // From the trash a delete is final.
    QCOMPARE(UTPS_SMSSrv_DeleteMsg(id, UTPS_SMS_MEM_PC), UTPS_OK);
    QCOMPARE(fetch(id, 0).rc, UTPS_E_NOT_FOUND);

    // The SIM has no trash.
    const int s = saveAt(7);
    QCOMPARE(UTPS_SMSSrv_DeleteMsg(s, UTPS_SMS_MEM_SIM), UTPS_OK);
    QCOMPARE(countOf(1), 0);
}

void SdkStoreTest::updateRewritesStoredMessage()
{
    const int id = saveAt(1, "+1", "before");
    LocalRecord r(3, "+2", "after", /* initial */ 1);
    r.rec.iMsgId = id;
    r.rec.iReadStatus = 0;
    QCOMPARE(UTPS_SMSSrv_UpdateMsg(&r.rec), UTPS_OK);
    const Fetched f = fetch(id, 0);
    QCOMPARE(f.rec.iPos, 3);
    QCOMPARE(f.rec.iReadStatus, 0);
    QCOMPARE(f.content, QStringLiteral("after"));
    QCOMPARE(countOf(0), 1);

    // The position names the memory: the same id on the SIM is another message.
    LocalRecord onSim(7, "+2", "x");
    onSim.rec.iMsgId = id;
    QCOMPARE(UTPS_SMSSrv_UpdateMsg(&onSim.rec), UTPS_E_NOT_FOUND);
}

void SdkStoreTest::capacityAndStorageFull()
{
    EventRecorder::registerAll();
    QCOMPARE(SimCtl_SetCapacity(UTPS_SMS_MEM_SIM, 3), UTPS_OK);
    for (int i = 0; i < 3; ++i)
        QVERIFY(saveAt(7) >= 0);
    int capacity = 0, used = 0;
    QCOMPARE(UTPS_SMSSrv_GetRecordInfo(&capacity, &used, UTPS_SMS_MEM_SIM), UTPS_OK);
    QCOMPARE(capacity, 3);
    QCOMPARE(used, 3);
    QTRY_COMPARE(EventRecorder::instance().events(0, EVENT_SMS_ONSTATUSCHANGED).size(), 1);
    const Captured full = EventRecorder::instance().events(0, EVENT_SMS_ONSTATUSCHANGED).first();
    QCOMPARE(full.code, int(UTPS_SMS_STATUS_SIM_FULL));
    QCOMPARE(full.memory, int(UTPS_SMS_MEM_SIM));

    long rc = 0;
    QCOMPARE(saveAt(6, "1", "x", &rc), -1);
    QCOMPARE(rc, UTPS_E_STORAGE_FULL);
    QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_SIM, "+1", "x", nullptr, 3, nullptr), UTPS_E_STORAGE_FULL);
    QCOMPARE(countOf(1), 3);
    // The PC is not affected by the SIM's capacity.
    QVERIFY(saveAt(1) >= 0);
}

void SdkStoreTest::transactionCommitsBatch()
{
    QList<int> ids;
    for (int i = 0; i < 50; ++i)
        ids.append(saveAt(1));
    QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
    QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_SIM), UTPS_OK); // brackets nest
    for (int id : ids)
        QCOMPARE(UTPS_SMSSrv_RemoveMsg(id, UTPS_SMS_MEM_PC), UTPS_OK);
    // A failing call inside the batch does not spoil it.
    QCOMPARE(UTPS_SMSSrv_RemoveMsg(ids.first(), UTPS_SMS_MEM_PC), UTPS_E_NOT_FOUND);
    QCOMPARE(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_SIM), UTPS_OK);
    QCOMPARE(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
    QCOMPARE(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC), UTPS_E_NO_TRANSACTION);
    SimCtl_Shutdown(); // what was committed is on disk
    QCOMPARE(countOf(0), 0);
}

void SdkStoreTest::failedCommitLeavesStoreAsBefore()
{
    for (int i = 0; i < 10; ++i)
        saveAt(1);
    const int kept = saveAt(7);
    QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
    int *ids = nullptr, count = 0;
    UTPS_SMSSrv_GetSmsIdList(&ids, &count, UTPS_SMS_MEM_PC);
    for (int i = 0; i < count; ++i)
        QCOMPARE(UTPS_SMSSrv_DeleteMsg(ids[i], UTPS_SMS_MEM_PC), UTPS_OK);
    UTPS_SMSSrv_ReleaseSmsIdList(&ids);
    QVERIFY(saveAt(2) >= 0);
    QCOMPARE(UTPS_SMSSrv_RemoveMsg(kept, UTPS_SMS_MEM_SIM), UTPS_OK);
    QCOMPARE(SimCtl_FailNextCalls("UTPS_SMSSrv_EndTransaction", 1, 42), UTPS_OK);
    QCOMPARE(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC), 42L);

    QCOMPARE(countOf(0), 10);
    QCOMPARE(countOf(1), 1);
    UTPS_SMSSrv_GetSmsIdList(&ids, &count, UTPS_SMS_MEM_PC);
    for (int i = 0; i < count; ++i)
        QCOMPARE(fetch(ids[i], 0).rec.iPos, UTPS_POS_PC_INBOX);
    UTPS_SMSSrv_ReleaseSmsIdList(&ids);
    // The bracket is closed: a new batch can start.
    QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
    QCOMPARE(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC), UTPS_OK);

    // A bracket left open at shutdown is undone as well.
    QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
    saveAt(1);
    SimCtl_Shutdown();
    QCOMPARE(countOf(0), 10);
}

void SdkStoreTest::transactionHoldsOffOtherWriters()
{
    std::atomic<bool> batchEnded{false};
    std::atomic<bool> savedAfterEnd{false};
    QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC), UTPS_OK);
    std::thread other([&] {
        const int id = saveAt(1);
        savedAfterEnd = id >= 0 && batchEnded.load();
    });
    for (int i = 0; i < 200; ++i)
        saveAt(2);
    batchEnded = true;
    QCOMPARE(SimCtl_FailNextCalls("UTPS_SMSSrv_EndTransaction", 1, 5), UTPS_OK);
    QCOMPARE(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC), 5L);
    other.join();
    QVERIFY(savedAfterEnd);
    // The other thread's message was not part of the rolled-back batch.
    QCOMPARE(countOf(0), 1);
}

void SdkStoreTest::injectedFaultsFailOnlyTheirCalls_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<std::function<long()>>("call");
    using F = std::function<long()>;
    QTest::newRow("count") << "UTPS_SMSSrv_SMSRecordSetGetRecordCount" << F([] {
        int n;
        return UTPS_SMSSrv_SMSRecordSetGetRecordCount(&n, UTPS_SMS_MEM_PC);
    });
    QTest::newRow("id list") << "UTPS_SMSSrv_GetSmsIdList" << F([] {
        int *ids = nullptr, n = 0;
        const long rc = UTPS_SMSSrv_GetSmsIdList(&ids, &n, UTPS_SMS_MEM_PC);
        UTPS_SMSSrv_ReleaseSmsIdList(&ids);
        return rc;
    });
    QTest::newRow("save") << "UTPS_SMSSrv_SaveMsg" << F([] {
        long rc;
        saveAt(1, "1", "x", &rc);
        return rc;
    });
    QTest::newRow("status") << "UTPS_DevSrv_GetDevStatus" << F([] {
        int s;
        return UTPS_DevSrv_GetDevStatus(&s);
    });
    QTest::newRow("split") << "UTPS_SMSSrv_GetMsgSplitCount" << F([] {
        int n;
        return UTPS_SMSSrv_GetMsgSplitCount(w("abc"), &n);
    });
}

void SdkStoreTest::injectedFaultsFailOnlyTheirCalls()
{
    QFETCH(QString, function);
    QFETCH(std::function<long()>, call);
    const int before = countOf(0);
    QCOMPARE(SimCtl_FailNextCalls(function.toUtf8().constData(), 2, 77), UTPS_OK);
    QCOMPARE(call(), 77L);
    QCOMPARE(call(), 77L);
    QCOMPARE(countOf(0), before); // the failed calls changed nothing
    QCOMPARE(call(), UTPS_OK);
}

void SdkStoreTest::unreadableStorageRecovers()
{
    QCOMPARE(SimCtl_SetStorageUnreadable(UTPS_SMS_MEM_SIM, 3, 0), UTPS_OK);
    int n = 0, *ids = nullptr;
    QCOMPARE(UTPS_SMSSrv_GetSmsIdList(&ids, &n, UTPS_SMS_MEM_SIM), UTPS_E_NOT_READY);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(UTPS_SMSSrv_SMSRecordSetGetRecordCount(&n, UTPS_SMS_MEM_SIM), UTPS_E_NOT_READY);
    QCOMPARE(UTPS_SMSSrv_SMSRecordSetGetRecordCount(&n, UTPS_SMS_MEM_SIM), UTPS_OK);
    QCOMPARE(countOf(0), 0); // the PC is never affected

    QCOMPARE(SimCtl_SetStorageUnreadable(UTPS_SMS_MEM_DEVICE, 0, 300), UTPS_OK);
    QCOMPARE(countOf(2), -1);
    QTRY_COMPARE(countOf(2), 0);
}

void SdkStoreTest::memoryListFollowsSimAndDevice()
{
    unsigned short count = 0;
    QCOMPARE(UTPS_SMSSrv_SMSGetMemoryListType(nullptr, &count), UTPS_OK);
    QCOMPARE(count, 2);
    unsigned short types[2] = {0xFFFF, 0xFFFF};
    QCOMPARE(UTPS_SMSSrv_SMSGetMemoryListType(types, &count), UTPS_OK);
    QCOMPARE(types[0], UTPS_MEMLIST_SIM);
    QCOMPARE(types[1], UTPS_MEMLIST_DEVICE);
    count = 1;
    QCOMPARE(UTPS_SMSSrv_SMSGetMemoryListType(types, &count), UTPS_E_BUFFER_TOO_SMALL);

    SimCtl_SetSimInserted(0);
    count = 2;
    QCOMPARE(UTPS_SMSSrv_SMSGetMemoryListType(types, &count), UTPS_OK);
    QCOMPARE(count, 1);
    QCOMPARE(types[0], UTPS_MEMLIST_DEVICE);
    int n;
    QCOMPARE(UTPS_SMSSrv_SMSRecordSetGetRecordCount(&n, UTPS_SMS_MEM_SIM), UTPS_E_NO_SIM);

    SimCtl_SetDevicePlugged(0);
    QCOMPARE(UTPS_SMSSrv_SMSGetMemoryListType(nullptr, &count), UTPS_OK);
    QCOMPARE(count, 0);
    QCOMPARE(UTPS_SMSSrv_SMSRecordSetGetRecordCount(&n, UTPS_SMS_MEM_DEVICE), UTPS_E_NO_DEVICE);
    QCOMPARE(UTPS_SMSSrv_SMSRecordSetGetRecordCount(&n, UTPS_SMS_MEM_PC), UTPS_OK);
}

void SdkStoreTest::statusGettersFollowSimulator()
{
    // A SIM waiting for its PIN is present but its storage cannot be read.
    SimCtl_SetPinState(UTPS_PIN_STATE_PIN_REQUIRED, 2, 10);
    int pin = -1, n = 0;
    unsigned char pinTries = 0;
    _UTPS_EN_SIMSTATE sim = UTPS_SIMSTATE_READY;
    QCOMPARE(UTPS_DevSrv_GetPinStatus(0, &pin, &pinTries, nullptr, nullptr), UTPS_OK);
    QCOMPARE(pin, UTPS_PIN_STATE_PIN_REQUIRED);
    QCOMPARE(pinTries, 2);
    QCOMPARE(UTPS_DevSrv_GetSimStatus(&sim), UTPS_OK);
    QCOMPARE(sim, UTPS_SIMSTATE_PIN_REQUIRED);
    QCOMPARE(UTPS_SMSSrv_SMSRecordSetGetRecordCount(&n, UTPS_SMS_MEM_SIM), UTPS_E_NOT_READY);

    // Flight mode turns the radio's soft switch off and loses the service.
    _UTPS_ST_RF_SWITCH rf{};
    int net = -1, dev = -1;
    QCOMPARE(UTPS_DevSrv_GetRFSwitch(&rf), UTPS_OK);
    QVERIFY(rf.iSoftSwitch && rf.iHardSwitch);
    QCOMPARE(UTPS_NetSrv_GetSrvStatus(&net), UTPS_OK);
    QCOMPARE(net, UTPS_SRV_STATUS_FULL);
    SimCtl_SetFlightMode(1);
    QCOMPARE(UTPS_DevSrv_GetRFSwitch(&rf), UTPS_OK);
    QCOMPARE(rf.iSoftSwitch, 0);
    QCOMPARE(UTPS_NetSrv_GetSrvStatus(&net), UTPS_OK);
    QCOMPARE(net, UTPS_SRV_STATUS_NONE);

    // Without a modem only the device status answers.
    SimCtl_SetDevicePlugged(0);
    QCOMPARE(UTPS_DevSrv_GetDevStatus(&dev), UTPS_OK);
    QCOMPARE(dev, UTPS_DEV_STATUS_ABSENT);
    QCOMPARE(UTPS_DevSrv_GetRFSwitch(&rf), UTPS_E_NO_DEVICE);
    QCOMPARE(UTPS_NetSrv_GetSrvStatus(&net), UTPS_E_NO_DEVICE);
    QCOMPARE(UTPS_DevSrv_GetProductType(&n), UTPS_E_NO_DEVICE);
}

void SdkStoreTest::phoneBookMatchesPrefixes_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("found");
    QTest::newRow("same") << "+4915112345678" << "+4915112345678" << true;
    QTest::newRow("national asked") << "+4915112345678" << "015112345678" << true;
    QTest::newRow("00 prefix asked") << "+4915112345678" << "004915112345678" << true;
    QTest::newRow("national stored") << "07700900123" << "+447700900123" << true;
    QTest::newRow("spaces and dashes") << "+44 7700-900123" << "+447700900123" << true;
    QTest::newRow("other number") << "+4915112345678" << "+4915112345679" << false;
    QTest::newRow("too short to be national") << "+4915112345678" << "345678" << false;
    QTest::newRow("short code exact") << "333" << "333" << true;
    QTest::newRow("short code suffix") << "+49333" << "333" << false;
    QTest::newRow("empty") << "+4915112345678" << "" << false;
}

void SdkStoreTest::phoneBookMatchesPrefixes()
{
    QFETCH(QString, stored);
    QFETCH(QString, asked);
    QFETCH(bool, found);
    int contact = -1;
    QCOMPARE(SimCtl_AddContact("Anna Becker", stored.toUtf8().constData(), &contact), UTPS_OK);
    UTPS_WCHAR *name = nullptr;
    int value = -1;
    const long rc = UTPS_PBSrv_FindNameByNumber(w(asked), &name, 48, &value);
    QCOMPARE(rc == UTPS_OK, found);
    if (found) {
        QCOMPARE(q(name), QStringLiteral("Anna Becker"));
        QCOMPARE(value, contact);
        delete[] name; // ownership passes to the caller
        // The name is cut to fit the caller's limit, terminator included.
        QCOMPARE(UTPS_PBSrv_FindNameByNumber(w(asked), &name, 5, nullptr), UTPS_OK);
        QCOMPARE(q(name), QStringLiteral("Anna"));
        delete[] name;
    } else {
        QVERIFY(name == nullptr);
    }
    // A removed contact is no longer found.
    QCOMPARE(SimCtl_RemoveContact(contact), UTPS_OK);
    QCOMPARE(UTPS_PBSrv_FindNameByNumber(w(asked), &name, 48, nullptr), UTPS_E_NOT_FOUND);
}

void SdkStoreTest::logDirectoryEndsWithSlash()
{
    UTPS_WCHAR *dir = nullptr;
    QCOMPARE(UTPS_GetLogDirectory(&dir), UTPS_OK);
    const QString text = q(dir);
    delete[] dir;
    QVERIFY(text.endsWith(QLatin1Char('/')));
    QVERIFY(text.startsWith(m_home.path()));
    QVERIFY(QDir(text).exists());
}

void SdkStoreTest::dataSurvivesRestart()
{
    const int pc = saveAt(2, "+1", "draft");
    const int sim = saveAt(7, "+2", "on the card");
    QCOMPARE(UTPS_SMSSrv_DeleteMsg(saveAt(1), UTPS_SMS_MEM_PC), UTPS_OK);
    UTPS_SMSSrv_SetSMSCentreNumber(w("+4917000002"));
    UTPS_SMSSrv_SetSMSValidityPeriod(43200);
    UTPS_SMSSrv_SMSSetPriority(UTPS_SMS_PRIORITY_URGENT);
    UTPS_SMSSrv_SetSMSReceiptNotify(1);
    SimCtl_SetReceiveStorage(UTPS_SMS_MEM_SIM);
    SimCtl_SetCapacity(UTPS_SMS_MEM_DEVICE, 12);
    SimCtl_AddContact("Oliver", "+447700900123", nullptr);

    QCOMPARE(SimCtl_Shutdown(), UTPS_OK);

    QCOMPARE(fetch(pc, 0).content, QStringLiteral("draft"));
    QCOMPARE(fetch(sim, 1).content, QStringLiteral("on the card"));
    QCOMPARE(countOf(0), 2);
    int type, seconds, on, mem, capacity, used;
    UTPS_WCHAR buffer[32];
    _UTPS_EN_SMS_PRIORITY priority;
    UTPS_SMSSrv_GetSMSCentreNumber(&type, buffer, 32);
    QCOMPARE(q(buffer), QStringLiteral("+4917000002"));
    QCOMPARE(type, 145); // international
    _UTPS_ST_SMS_RECORD *fresh = nullptr;
    UTPS_SMSSrv_CreateSMSRecord(&fresh, nullptr, nullptr);
    QCOMPARE(fresh->iPriority, int(UTPS_SMS_PRIORITY_URGENT)); // new records take the setting
    UTPS_SMSSrv_ReleaseSMSRecord(&fresh);
    UTPS_SMSSrv_GetSMSValidityPeriod(&seconds);
    QCOMPARE(seconds, 43200);
    UTPS_SMSSrv_SMSGetPriority(&priority);
    QCOMPARE(priority, UTPS_SMS_PRIORITY_URGENT);
    UTPS_SMSSrv_GetSMSReceiptNotify(&on);
    QCOMPARE(on, 1);
    SimCtl_GetReceiveStorage(&mem);
    QCOMPARE(mem, int(UTPS_SMS_MEM_SIM));
    UTPS_SMSSrv_GetRecordInfo(&capacity, &used, UTPS_SMS_MEM_DEVICE);
    QCOMPARE(capacity, 12);
    SimCtlContact *contacts = nullptr;
    int count = 0;
    QCOMPARE(SimCtl_ListContacts(&contacts, &count), UTPS_OK);
    QCOMPARE(count, 1);
    QCOMPARE(QString::fromUtf8(contacts[0].name), QStringLiteral("Oliver"));
    QCOMPARE(SimCtl_ReleaseContacts(&contacts, count), UTPS_OK);
    QVERIFY(contacts == nullptr);
    // The PC id counter survives too.
    QVERIFY(saveAt(1) > pc);
}

void SdkStoreTest::demoSeedFillsEveryFolder()
{
    SimCtl_SetDemoSeed(1);
    SimCtl_Reset();
    QSet<int> positions;
    bool unicode = false, multiRecipient = false, longText = false, report = false;
    for (int mem = 0; mem < 3; ++mem) {
        int *ids = nullptr, count = 0;
        QCOMPARE(UTPS_SMSSrv_GetSmsIdList(&ids, &count, static_cast<_UTPS_EN_SMS_MEM>(mem)), UTPS_OK);
        for (int i = 0; i < count; ++i) {
            const Fetched f = fetch(ids[i], mem);
            positions.insert(f.rec.iPos);
            unicode |= std::any_of(f.content.begin(), f.content.end(), [](QChar c) { return c.unicode() > 0xFF; });
            multiRecipient |= f.number.contains(QLatin1Char(';'));
            longText |= f.content.size() > 160;
            report |= f.rec.iMsgType == UTPS_MSGTYPE_STATUS_REPORT && f.rec.iPos == UTPS_POS_PC_REPORTS;
        }
        UTPS_SMSSrv_ReleaseSmsIdList(&ids);
    }
    SimCtl_SetDemoSeed(0);
    for (int pos : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10})
        QVERIFY2(positions.contains(pos), qPrintable(QString::number(pos)));
    QVERIFY(unicode && multiRecipient && longText && report);
    SimCtlContact *contacts = nullptr;
    int count = 0;
    SimCtl_ListContacts(&contacts, &count);
    QVERIFY(count > 0);
    SimCtl_ReleaseContacts(&contacts, count);
}

QTEST_GUILESS_MAIN(SdkStoreTest)
#include "tst_sdk_store.moc"
