// SPDX-License-Identifier: GPL-3.0-or-later
// The unsent copy that stands for a message while it goes out to many recipients: what a
// crash leaves of it (the sending part runs in a child that is killed at a chosen result,
// the parent then reads the data folder as the next start would) and what is left once
// the SDK's own copy could or could not be stored.
#include <QEventLoop>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "QueuedSpy.h"
#include "StoreTestSupport.h"
#include "operations/PendingSendCopy.h"
#include "operations/SMSEditUILogic.h"

using namespace storetest;

namespace {

QStringList numbers(int count)
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list << QStringLiteral("+4930555%1").arg(i, 3, 10, QLatin1Char('0'));
    return list;
}

struct Stored
{
    int id = -1;
    QString number;
    QString content;
    int status = -1;
    int position = -1;
};

// Every message of the PC storage with that text, read straight from the SDK.
QList<Stored> storedWithText(const QString &text)
{
    QList<Stored> found;
    int *ids = nullptr;
    int count = 0;
    if (UTPS_SMSSrv_GetSmsIdList(&ids, &count, UTPS_SMS_MEM_PC) != UTPS_OK)
        return found;
    for (int i = 0; i < count; ++i) {
        _UTPS_ST_SMS_RECORD *r = nullptr;
        UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr);
        r->iMsgId = ids[i];
        if (UTPS_SMSSrv_GetMsg(r, UTPS_SMS_MEM_PC) == UTPS_OK && SmsTextFromSdk(r->pszContent) == text)
            found.append({r->iMsgId, SmsTextFromSdk(r->pszNumber), text, r->iStatus, r->iPos});
        UTPS_SMSSrv_ReleaseSMSRecord(&r);
    }
    UTPS_SMSSrv_ReleaseSmsIdList(&ids);
    return found;
}

// Runs a send in a child process that kills itself (SIGKILL, nothing is cleaned up) once
// killAfter parts have been reported, or right after the SDK took the message when
// killAfter is 0. Returns the child's wait status.
int sendAndDie(const QStringList &recipients, const QString &text, int killAfter,
               const QString &failing)
{
    SimCtl_Shutdown(); // no SDK thread may be copied half-way through its work
    const pid_t pid = fork();
    if (pid == 0) {
        // The modem's pacing and its refusals are the child's own: a restart forgets them.
        SimCtl_SetSendDelay(5);
        if (!failing.isEmpty())
            SimCtl_ScriptSendOutcome(failing.toUtf8().constData(), UTPS_E_SEND_FAILED);
        SMSStatusUILogic *store = SMSStatusUILogic::Instance();
        if (store->InitStatusLogic() != 0)
            _exit(2);
        PendingSendCopy copy;
        copy.follow(store);
        int done = 0;
        // Connected after the copy, so it runs after the copy has taken the same result.
        QObject::connect(store, &SMSStatusUILogic::sendPartResult, &copy,
                         [&done, killAfter](const QString &, int, int, bool) {
                             if (++done == killAfter)
                                 raise(SIGKILL);
                         });
        QString to = recipients.join(QLatin1Char(';'));
        QString content = text;
        if (!copy.begin(to, content) || SMSEditUILogic::Instance()->SendSMS(&to, &content) != 0)
            _exit(2);
        if (killAfter == 0)
            raise(SIGKILL);
        QTimer::singleShot(60000, [] { _exit(3); });
        QEventLoop().exec();
        _exit(4);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

} // namespace

class TestSendCopy : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.init(); }
    void cleanup() { m_fixture.cleanup(); }

    void crashLeavesTheRecipientsLeft_data();
    void crashLeavesTheRecipientsLeft();
    void sentCopyReplacesItUnlessItCannotBeStored_data();
    void sentCopyReplacesItUnlessItCannotBeStored();

private:
    Fixture m_fixture;
};

void TestSendCopy::crashLeavesTheRecipientsLeft_data()
{
    QTest::addColumn<int>("killAfter");     // parts reported
    QTest::addColumn<QString>("failing");   // recipients scripted to fail (pattern)
    QTest::addColumn<int>("textLength");    // 160+ characters: two parts a recipient
    QTest::addColumn<QStringList>("left");  // recipients the copy must name

    const QStringList all = numbers(20);
    QTest::newRow("before the first result") << 0 << QString() << 10 << all;
    QTest::newRow("at 8 of 20") << 8 << QString() << 10 << all.mid(8);
    // Whoever the network refused stays named with the ones still waiting.
    QTest::newRow("at 8 of 20, the third refused")
        << 8 << all.at(2) << 10 << (QStringList{all.at(2)} + all.mid(8));
    // A recipient counts once all of their parts went out.
    QTest::newRow("at 8 of 20, two parts each") << 16 << QString() << 200 << all.mid(8);
    QTest::newRow("between the two parts of the ninth") << 17 << QString() << 200 << all.mid(8);
}

void TestSendCopy::crashLeavesTheRecipientsLeft()
{
    QFETCH(int, killAfter);
    QFETCH(QString, failing);
    QFETCH(int, textLength);
    QFETCH(QStringList, left);
    const QString text = QString(textLength, QLatin1Char('m'));

    const int wait = sendAndDie(numbers(20), text, killAfter, failing);
    QVERIFY2(WIFSIGNALED(wait) && WTERMSIG(wait) == SIGKILL, qPrintable(QString::number(wait)));

    // The next start reads the data folder the child left.
    const QList<Stored> stored = storedWithText(text);
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.first().number.split(QLatin1Char(';')), left);
    QCOMPARE(stored.first().status, 1);
    // The store files it in the outbox, where the user finds it to send again.
    QVERIFY(loadedStore()->GetSMSRecordsSet(EN_LOCAL_OUTBOX).contains(stored.first().id));
}

void TestSendCopy::sentCopyReplacesItUnlessItCannotBeStored_data()
{
    QTest::addColumn<bool>("roomForSentCopy");
    QTest::newRow("room for the sent copy") << true;
    QTest::newRow("storage full at the end") << false;
}

void TestSendCopy::sentCopyReplacesItUnlessItCannotBeStored()
{
    QFETCH(bool, roomForSentCopy);
    SMSStatusUILogic *store = loadedStore();
    QCOMPARE(store->InitStatusLogic(), 0);
    int used = 0;
    int capacity = 0;
    QCOMPARE(UTPS_SMSSrv_GetRecordInfo(&capacity, &used, UTPS_SMS_MEM_PC), UTPS_OK);
    // Room for the unsent copy only: the SDK's own copy finds the storage full.
    if (!roomForSentCopy)
        SimCtl_SetCapacity(UTPS_SMS_MEM_PC, used + 1);
    PendingSendCopy copy;
    copy.follow(store);
    QueuedSpy<int> sentCopies(store, &SMSStatusUILogic::SMSSentRecord);
    const QStringList to = numbers(3);
    QString recipients = to.join(QLatin1Char(';'));
    QString text = QStringLiteral("three of them");
    QVERIFY(copy.begin(recipients, text));
    const int copyId = copy.copyId();
    QVERIFY(exists(copyId, UTPS_SMS_MEM_PC));
    QCOMPARE(SMSEditUILogic::Instance()->SendSMS(&recipients, &text), 0);
    QVERIFY(sentCopies.wait(10000));
    QCOMPARE(copy.reachedCount(), 3);
    const int sentId = sentCopies.at(0).at(0).toInt();
    QCOMPARE(sentId >= 0, roomForSentCopy);

    QCOMPARE(copy.finish(sentId >= 0), roomForSentCopy ? copyId : -1);
    QVERIFY(!copy.isActive());
    const QList<Stored> stored = storedWithText(text);
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.first().id, roomForSentCopy ? sentId : copyId);
    QCOMPARE(stored.first().number, recipients);
    QCOMPARE(stored.first().status, 0);
}

QTEST_MAIN(TestSendCopy)
#include "tst_sendcopy.moc"
