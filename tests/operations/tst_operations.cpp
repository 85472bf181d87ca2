// SPDX-License-Identifier: GPL-3.0-or-later
// Store operations, drop rules and the send logic on the real simulator: what each does to
// the SDK and to the store's folders.
#include <QtTest>

#include "operations/SMSEditUILogic.h"
#include "StoreTestSupport.h"

using namespace storetest;

namespace {

// Reads a message back from the SDK; iMsgId -1 when it is not there.
SmsRecord fromSdk(int id, int position)
{
    SmsRecord *read = nullptr;
    SmsRecord copy;
    if (SMSStatusUILogic::Instance()->GetSMSRecordUsingID(id, _EN_SMS_POSITION(position), &read) == 0)
        copy = *read;
    delete read;
    return copy;
}

QList<int> accepted(std::initializer_list<int> list)
{
    return QList<int>(list);
}

} // namespace

class TestOperations : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_fixture.cleanup(); }

    void deleteByFolder_data();
    void deleteByFolder();
    void recoverReturnsToOrigin();
    void moveFailures();
    void updateRewritesAndRefiles();
    void dropRules_data();
    void dropRules();
    void editLogic();


private:
    // Loads every storage and mirrors removals into the buffers as the window does.
    Fixture m_fixture;
    QHash<int, QList<int>> m_always;
};

void TestOperations::init()
{
    m_fixture.init();
}

void TestOperations::deleteByFolder_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("toTrash");
    QTest::newRow("pc inbox") << 1 << true;
    QTest::newRow("pc trash") << 4 << false;
    QTest::newRow("sim inbox") << 7 << false;
    QTest::newRow("device outbox") << 8 << false;
}

void TestOperations::deleteByFolder()
{
    QFETCH(int, position);
    QFETCH(bool, toTrash);
    const int id = saveAt(position);
    SMSStatusUILogic *store = loadedStore();
    QSignalSpy removed(store, &SMSStatusUILogic::DeleteSMSInUiService);
    const int memory = GetMemPosition(position);
    QCOMPARE(store->DeleteSMS(id, position, memory), 0);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.at(0), (QVariantList{id, position, memory, !toTrash}));
    QVERIFY(!store->GetSMSRecordsSet(_EN_SMS_POSITION(position)).contains(id));

    const SmsRecord inTrash = store->GetSingleSMS(EN_LOCAL_TRASH, id);
    if (toTrash) {
        QCOMPARE(inTrash.enPos, int(EN_LOCAL_TRASH));
        QCOMPARE(inTrash.enInitialPos, position);
        QCOMPARE(inTrash.iReadStatus, 0);
        QCOMPARE(inTrash.imgIcon, store->GetTableImage(0));
        QCOMPARE(fromSdk(id, EN_LOCAL_TRASH).enPos, int(EN_LOCAL_TRASH));
    } else {
        QCOMPARE(inTrash.iMsgId, -1);
        QVERIFY(!exists(id, memory));
    }
}

void TestOperations::recoverReturnsToOrigin()
{
    NewMessage m;
    m.content = QStringLiteral("bring me back");
    const int id = save(m);
    SMSStatusUILogic *store = loadedStore();
    QCOMPARE(store->DeleteSMS(id, EN_LOCAL_INBOX, UTPS_SMS_MEM_PC), 0);
    const SmsRecord trashed = store->GetSingleSMS(EN_LOCAL_TRASH, id);
    QCOMPARE(trashed.iMsgId, id);

    QCOMPARE(store->RecoverSMS(trashed, EN_LOCAL_TRASH, UTPS_SMS_MEM_PC), 0);
    QVERIFY(!store->GetSMSRecordsSet(EN_LOCAL_TRASH).contains(id));
    const auto inbox = store->GetSMSRecordsSet(EN_LOCAL_INBOX);
    QCOMPARE(inbox.size(), 1);
    const int newId = inbox.keys().first();
    QVERIFY(newId != id);
    QCOMPARE(inbox.value(newId)->strContent, m.content);
    QCOMPARE(inbox.value(newId)->enInitialPos, int(EN_LOCAL_INBOX));
    QVERIFY(!exists(id, UTPS_SMS_MEM_PC));
}

void TestOperations::moveFailures()
{
    const int id = saveAt(EN_SIM_INBOX, QStringLiteral("precious"));
    SMSStatusUILogic *store = loadedStore();
    const SmsRecord source = store->GetSingleSMS(EN_SIM_INBOX, id);
    QCOMPARE(store->MoveSMS(source, EN_SIM_INBOX, EN_DEVICE_INBOX, 6), 1); // not a move code

    // The copy cannot be stored: the source stays, nothing changes.
    SimCtl_FailNextCalls("UTPS_SMSSrv_SaveMsg", 1, UTPS_E_STORAGE_FULL);
    QCOMPARE(store->MoveSMS(source, EN_SIM_INBOX, EN_DEVICE_INBOX, 5), 1);
    QCOMPARE(store->GetLastMoveFrom(), int(EN_SIM_INBOX));
    QCOMPARE(store->GetLastMoveTo(), int(EN_DEVICE_INBOX));
    QVERIFY(exists(id, UTPS_SMS_MEM_SIM));
    QCOMPARE(contentsOf(UTPS_SMS_MEM_DEVICE), QStringList());

    // The source cannot be removed: both copies exist, the store still shows the source.
    SimCtl_FailNextCalls("UTPS_SMSSrv_RemoveMsg", 1, UTPS_E_FAILED);
    QCOMPARE(store->MoveSMS(source, EN_SIM_INBOX, EN_DEVICE_INBOX, 5), 1);
    QVERIFY(exists(id, UTPS_SMS_MEM_SIM));
    QCOMPARE(contentsOf(UTPS_SMS_MEM_DEVICE), QStringList{"precious"});
    QVERIFY(store->GetSMSRecordsSet(EN_SIM_INBOX).contains(id));

    // The new copy cannot be read back: moved, but shown only after the next read.
    SimCtl_FailNextCalls("UTPS_SMSSrv_GetMsg", 1, UTPS_E_FAILED);
    QCOMPARE(store->MoveSMS(source, EN_SIM_INBOX, EN_LOCAL_INBOX, 5), 1);
    QVERIFY(!exists(id, UTPS_SMS_MEM_SIM));
    QVERIFY(store->GetSMSRecordsSet(EN_SIM_INBOX).isEmpty());
    QVERIFY(store->GetSMSRecordsSet(EN_LOCAL_INBOX).isEmpty());
    QCOMPARE(contentsOf(UTPS_SMS_MEM_PC), QStringList{"precious"});
}

void TestOperations::updateRewritesAndRefiles()
{
    const int id = saveAt(EN_LOCAL_INBOX, QStringLiteral("before"));
    SMSStatusUILogic *store = loadedStore();
    SmsRecord *buffered = store->GetSMSRecordsSet(EN_LOCAL_INBOX).value(id);
    QVERIFY(buffered);
    buffered->strContent = QStringLiteral("after");
    buffered->iReadStatus = 0;
    // The buffer's own record is passed in: the update frees it and files a fresh reading.
    QCOMPARE(store->UpdateSms(buffered), 0);
    const SmsRecord now = store->GetSingleSMS(EN_LOCAL_INBOX, id);
    QCOMPARE(now.strContent, QStringLiteral("after"));
    QCOMPARE(now.iReadStatus, 0);
    QCOMPARE(fromSdk(id, EN_LOCAL_INBOX).strContent, QStringLiteral("after"));
    QCOMPARE(store->GetSMSRecordsSet(EN_LOCAL_INBOX).size(), 1);
    QCOMPARE(store->UpdateSms(nullptr), 23);

    QCOMPARE(store->UpdateSMSBufferUsingMsgID(4711, EN_LOCAL_INBOX), 1);
}

void TestOperations::dropRules_data()
{
    QTest::addColumn<bool>("pcToCard");
    QTest::addColumn<bool>("sentItems");
    // The table of accepted drops, written out independently of the code.
    const QHash<int, QList<int>> always = {
        {0, accepted({2, 3, 4})},       {15, accepted({2, 3, 4})},
        {1, accepted({2, 3, 4})},       {2, accepted({3, 4})},
        {3, accepted({2, 4})},          {4, accepted({2, 3})},
        {6, accepted({0, 2, 3, 4, 8, 15})}, {7, accepted({1, 2, 3, 4, 9})},
        {8, accepted({0, 2, 3, 4, 6, 15})}, {9, accepted({1, 2, 3, 4, 7})},
    };
    m_always = always;
    QTest::newRow("plain") << false << false;
    QTest::newRow("pc to card") << true << false;
    QTest::newRow("sent items") << false << true;
    QTest::newRow("both") << true << true;
}

void TestOperations::dropRules()
{
    QFETCH(bool, pcToCard);
    QFETCH(bool, sentItems);
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    store->setPCToCardFlag(pcToCard);
    store->setSentItemsBox(sentItems);
    // The window's check refuses the PC outbox for these drags (say: only sent messages
    // are being dragged).
    store->setAcceptDropLOutboxOrLSenditemHook([](int target) { return target != 0; });

    for (int source = -1; source <= 17; ++source) {
        for (int target = -1; target <= 17; ++target) {
            bool expected = m_always.value(source).contains(target);
            if (pcToCard && (source == 0 || source == 15) && (target == 6 || target == 8))
                expected = true;
            if (pcToCard && source == 1 && (target == 7 || target == 9))
                expected = true;
            if (sentItems && (source == 6 || source == 8) && target == 0)
                expected = false;
            QVERIFY2(store->IsAcceptDrop(source, target) == expected,
                     qPrintable(QStringLiteral("%1 -> %2").arg(source).arg(target)));
        }
    }
    QCOMPARE(store->isSIMInboxAcceptDrop(EN_LOCAL_OUTBOX), false);
    store->setAcceptDropLOutboxOrLSenditemHook({});
    QCOMPARE(store->IsAcceptDrop(EN_SIM_OUTBOX, EN_LOCAL_OUTBOX), true);
}

void TestOperations::editLogic()
{
    SMSEditUILogic *edit = SMSEditUILogic::Instance();
    int count = -5;
    QCOMPARE(edit->SplitLongMessage(QString(161, QLatin1Char('a')), count), 0);
    QCOMPARE(count, 2);
    SimCtl_FailNextCalls("UTPS_SMSSrv_GetMsgSplitCount", 1, UTPS_E_FAILED);
    QCOMPARE(edit->SplitLongMessage(QStringLiteral("x"), count), 1);
    QCOMPARE(count, 2); // unchanged on failure
    QCOMPARE(edit->CancelSendSMS(nullptr), 1);

    // A report stored without text keeps no text, whatever was shown for it; an ordinary
    // message is written without being read first (the pending read fault is not hit).
    NewMessage report;
    report.position = EN_LOCAL_REPORT;
    report.msgType = UTPS_MSGTYPE_STATUS_REPORT;
    report.content.clear();
    SmsRecord shown = fromSdk(save(report), EN_LOCAL_REPORT);
    shown.strContent = QStringLiteral("Success");
    shown.iReadStatus = 0;
    QCOMPARE(edit->UpdateSms(&shown), 0);
    QCOMPARE(fromSdk(shown.iMsgId, EN_LOCAL_REPORT).strContent, QString());
    QCOMPARE(fromSdk(shown.iMsgId, EN_LOCAL_REPORT).iReadStatus, 0);
    SmsRecord ordinary = fromSdk(saveAt(EN_LOCAL_INBOX), EN_LOCAL_INBOX);
    ordinary.iReadStatus = 0;
    SimCtl_FailNextCalls("UTPS_SMSSrv_GetMsg", 1, UTPS_E_FAILED);
    QCOMPARE(edit->UpdateSms(&ordinary), 0);
    QCOMPARE(edit->UpdateSms(&shown), 1); // the report's read meets the fault
    SMSEditUILogic::Destroy();
}

QTEST_MAIN(TestOperations)
#include "tst_operations.moc"
