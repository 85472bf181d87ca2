// SPDX-License-Identifier: GPL-3.0-or-later
// The SDK's store under real faults: a file-size limit and a locked-down or missing data
// folder in a child process, a damaged file, and texts that SQLite would have altered.
// What must hold after each: every message a call reported as stored is in the database,
// only a truly damaged file is moved aside, and nothing the user had is overwritten.
#include "SdkTestSupport.h"
#include "TestEnv.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs work in a child process and collects what it writes to its pipe. The SDK is shut
// down first, so that no SDK thread is copied half-way through its work. Returns the raw
// wait status.
int inChild(const std::function<void(FILE *)> &work, QStringList &lines)
{
    SimCtl_Shutdown();
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        FILE *out = fdopen(fds[1], "w");
        setvbuf(out, nullptr, _IOLBF, 0);
        work(out);
        fflush(out);
        _exit(0);
    }
    close(fds[1]);
    QByteArray output;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, int(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    lines = QString::fromUtf8(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return status;
}

void limitFileSize(qint64 bytes, bool survive)
{
    if (survive)
        signal(SIGXFSZ, SIG_IGN); // writes fail with EFBIG instead of killing the process
    rlimit limit{rlim_t(bytes), rlim_t(bytes)};
    setrlimit(RLIMIT_FSIZE, &limit);
}

int storeState()
{
    int value = -1;
    UTPS_SMSSrv_GetStoreState(&value, nullptr, nullptr);
    return value;
}

QString asideOfStore()
{
    UTPS_WCHAR *aside = nullptr;
    int value = 0;
    UTPS_SMSSrv_GetStoreState(&value, nullptr, &aside);
    const QString text = q(aside);
    delete[] aside;
    return text;
}

int messageTotal()
{
    return countOf(0) + countOf(1) + countOf(2);
}

} // namespace

class SdkFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fileSizeLimitLosesNothing();
    void lockedDownFolderKeepsFileAndRefuses();
    void missingFolderIsUsedOnceItExists();
    void damagedFileNeverReplacesAnAsideCopy();
    void textsRoundTripExactly_data();
    void textsRoundTripExactly();
    void interruptedFirstStartIsFinished_data();
    void interruptedFirstStartIsFinished();
    void deviceSlotsTakeTheLowestFree();

private:
    QString db() const { return m_home->path() + QStringLiteral("/sdk.db"); }
    QStringList asideFiles() const
    {
        return QDir(m_home->path()).entryList({QStringLiteral("sdk.db.corrupt-*")}, QDir::Files);
    }
    std::unique_ptr<TestDataHome> m_home;
};

void SdkFaultsTest::init()
{
    m_home = std::make_unique<TestDataHome>();
    resetSdk();
}

void SdkFaultsTest::cleanup()
{
    SimCtl_SetDemoSeed(0);
    SimCtl_Reset();
    m_home.reset();
}

void SdkFaultsTest::fileSizeLimitLosesNothing()
{
    const QString filler(180, QLatin1Char('m'));
    for (int i = 0; i < 100; ++i)
        QVERIFY(saveAt(1, QStringLiteral("+1"), QStringLiteral("before %1 ").arg(i) + filler) >= 0);
    SimCtl_Shutdown();
    const qint64 limit = QFileInfo(db()).size() + 40 * 1024;

    QStringList lines;
    const int status = inChild([&](FILE *out) {
        limitFileSize(limit, true);
        // Single saves until the limit bites, then a batch that can only fail at its commit.
        for (int i = 0; i < 400; ++i) {
            const QString text = QStringLiteral("single %1 ").arg(i) + filler;
            const int id = saveAt(1, QStringLiteral("+2"), text);
            if (id >= 0)
                fprintf(out, "stored %d %s\n", id, qPrintable(text));
        }
        fprintf(out, "state %d\n", storeState());
        UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_PC);
        QStringList batch;
        for (int i = 0; i < 50; ++i) {
            const QString text = QStringLiteral("batch %1 ").arg(i) + filler;
            const int id = saveAt(1, QStringLiteral("+3"), text);
            if (id >= 0)
                batch.append(QStringLiteral("stored %1 %2").arg(id).arg(text));
        }
        if (UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_PC) == UTPS_OK) {
            for (const QString &line : std::as_const(batch))
                fprintf(out, "%s\n", qPrintable(line));
        } else {
            fprintf(out, "rolled back\n");
        }
        // Arrivals are refused, not kept in memory.
        long rc = SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+4", "arrival", nullptr, 3, nullptr);
        fprintf(out, "inject %ld\n", rc);
    }, lines);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, qPrintable(QString::number(status)));
    QVERIFY2(lines.contains(QStringLiteral("state %1").arg(UTPS_STORE_NO_SPACE)), qPrintable(lines.filter(QStringLiteral("state")).join(QLatin1Char(',')) + QString::number(lines.size())));
    QVERIFY(lines.contains(QStringLiteral("rolled back")));
    QVERIFY(!lines.contains(QStringLiteral("inject 0")));

    // Everything any call reported as stored is there, exactly; nothing moved aside.
    int stored = 0;
    for (const QString &line : std::as_const(lines)) {
        if (!line.startsWith(QLatin1String("stored ")))
            continue;
        const int id = line.section(QLatin1Char(' '), 1, 1).toInt();
        QCOMPARE(fetch(id, 0).content, line.section(QLatin1Char(' '), 2));
        ++stored;
    }
    QVERIFY(stored > 0);
    QCOMPARE(countOf(0), 100 + stored);
    for (int i = 0; i < 100; ++i)
        QCOMPARE(fetch(i, 0).content, QStringLiteral("before %1 ").arg(i) + filler);
    QVERIFY(asideFiles().isEmpty());
    QCOMPARE(storeState(), int(UTPS_STORE_OK));
}

void SdkFaultsTest::lockedDownFolderKeepsFileAndRefuses()
{
    for (int i = 0; i < 5; ++i)
        QVERIFY(saveAt(1, QStringLiteral("+1"), QStringLiteral("kept %1").arg(i)) >= 0);
    SimCtl_Shutdown();
    const QByteArray path = QFile::encodeName(m_home->path());
    QCOMPARE(chmod(path.constData(), 0555), 0);
    const QStringList before = QDir(m_home->path()).entryList(QDir::Files);

    QStringList lines;
    const int status = inChild([](FILE *out) {
        // Permissions do not stop root: the child gives its privileges up first.
        if (geteuid() == 0 && setuid(65534) != 0)
            _exit(3);
        fprintf(out, "state %d\n", storeState());
        fprintf(out, "save %d\n", saveAt(1));
        for (int i = 0; i < 5; ++i)
            fprintf(out, "inject %ld\n", SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+4", "lost?", nullptr, 3, nullptr));
        int count = -1;
        fprintf(out, "count %ld\n", UTPS_SMSSrv_SMSRecordSetGetRecordCount(&count, UTPS_SMS_MEM_PC));
        fprintf(out, "centre %ld\n", UTPS_SMSSrv_SetSMSCentreNumber(w(QStringLiteral("+4912345"))));
    }, lines);
    chmod(path.constData(), 0700);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, qPrintable(QString::number(status)));

    const QStringList expected{QStringLiteral("state %1").arg(UTPS_STORE_NO_PERMISSION), "save -1",
                               "inject 8", "inject 8", "inject 8", "inject 8", "inject 8",
                               "count 8", "centre 8"};
    QCOMPARE(lines, expected);
    QCOMPARE(QDir(m_home->path()).entryList(QDir::Files), before);
    QCOMPARE(countOf(0), 5);
    QCOMPARE(fetch(4, 0).content, QStringLiteral("kept 4"));
}

void SdkFaultsTest::missingFolderIsUsedOnceItExists()
{
    // The data folder's place is taken by a file: nothing can be created there.
    SimCtl_Reset();
    const QString folder = m_home->path() + QStringLiteral("/data");
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("DIALCREST_HOME", QFile::encodeName(folder));
    QVERIFY(storeState() != UTPS_STORE_OK);
    QCOMPARE(saveAt(1), -1);
    QCOMPARE(countOf(0), -1);
    QCOMPARE(SimCtl_InjectMessage(UTPS_SMS_MEM_DEVICE, "+4", "refused", nullptr, 3, nullptr),
             UTPS_E_DATABASE);

    // Once the folder can be made, the SDK uses it without a restart.
    QVERIFY(blocker.remove());
    QTRY_COMPARE_WITH_TIMEOUT(storeState(), int(UTPS_STORE_OK), 5000);
    QVERIFY(saveAt(1) >= 0);
    QCOMPARE(countOf(0), 1);
    QVERIFY(QFile::exists(folder + QStringLiteral("/sdk.db")));
    qputenv("DIALCREST_HOME", QFile::encodeName(m_home->path()));
}

void SdkFaultsTest::damagedFileNeverReplacesAnAsideCopy()
{
    saveAt(1);
    SimCtl_Shutdown();
    QFile::remove(db() + QStringLiteral("-wal"));
    QFile::remove(db() + QStringLiteral("-shm"));
    const QByteArray garbage(8192, 'x');
    {
        QFile f(db());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(garbage);
    }
    // Earlier aside copies under every name this second (and the next few) could produce.
    const QDateTime now = QDateTime::currentDateTime();
    QStringList earlier;
    for (int s = -1; s <= 5; ++s) {
        const QString name = db() + QStringLiteral(".corrupt-") + now.addSecs(s).toString(QStringLiteral("yyyyMMddHHmmss"));
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("earlier copy " + name.toUtf8());
        earlier.append(name);
    }

    QCOMPARE(countOf(0), 0); // a new, working store
    QVERIFY(saveAt(1) >= 0);
    const QString aside = asideOfStore();
    QVERIFY(!aside.isEmpty());
    QVERIFY2(!earlier.contains(aside), qPrintable(aside));
    QFile moved(aside);
    QVERIFY(moved.open(QIODevice::ReadOnly));
    QCOMPARE(moved.readAll(), garbage);
    for (const QString &name : std::as_const(earlier)) {
        QFile f(name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), "earlier copy " + name.toUtf8());
    }
    QCOMPARE(storeState(), int(UTPS_STORE_OK));
}

void SdkFaultsTest::textsRoundTripExactly_data()
{
    QTest::addColumn<QString>("text");
    const auto units = [](std::initializer_list<char16_t> list) {
        return QString(reinterpret_cast<const QChar *>(std::data(list)), int(list.size()));
    };
    QTest::newRow("leading U+FEFF") << units({0xFEFF, u'h', u'i'});
    QTest::newRow("leading U+FFFE") << units({0xFFFE, u'h', u'e', u'l', u'l', u'o'});
    QTest::newRow("only U+FEFF") << units({0xFEFF});
    QTest::newRow("U+FEFF twice") << units({0xFEFF, 0xFEFF, u'x'});
    QTest::newRow("lone high surrogate") << units({u'a', 0xD83D, u'b'});
    QTest::newRow("lone low surrogate first") << units({0xDE00, u'b'});
    QTest::newRow("reversed pair") << units({0xDE00, 0xD83D});
    QTest::newRow("pair") << units({0xD83D, 0xDE00});
    QTest::newRow("empty") << QString();
}

void SdkFaultsTest::textsRoundTripExactly()
{
    QFETCH(QString, text);
    const int id = saveAt(2, text, text);
    QVERIFY(id >= 0);
    const auto check = [&] {
        const Fetched f = fetch(id, 0);
        QCOMPARE(f.rc, UTPS_OK);
        QCOMPARE(f.content.size(), text.size());
        QCOMPARE(f.content, text);
        QCOMPARE(f.number, text);
    };
    check();
    SimCtl_Shutdown(); // and from the file, after a restart
    check();
}

void SdkFaultsTest::interruptedFirstStartIsFinished_data()
{
    QTest::addColumn<qint64>("limit");
    for (qint64 kb : {0, 4, 8, 12, 16, 24, 32, 48})
        QTest::addRow("%lld KB", kb) << kb * 1024;
}

void SdkFaultsTest::interruptedFirstStartIsFinished()
{
    QFETCH(qint64, limit);
    SimCtl_Reset();
    QStringList lines;
    // The first start dies (or fails) wherever the file-size limit stops its writes.
    inChild([limit](FILE *out) {
        limitFileSize(limit, false);
        SimCtl_SetDemoSeed(1);
        fprintf(out, "count %d\n", countOf(0));
    }, lines);

    SimCtl_SetDemoSeed(1);
    QCOMPARE(countOf(0), 11);
    QCOMPARE(countOf(1), 2);
    QCOMPARE(countOf(2), 2);
    SimCtlContact *contacts = nullptr;
    int count = 0;
    SimCtl_ListContacts(&contacts, &count);
    SimCtl_ReleaseContacts(&contacts, count);
    QCOMPARE(count, 3);
    // Done once: a further start adds nothing.
    SimCtl_Shutdown();
    QCOMPARE(messageTotal(), 15);
    QVERIFY(asideFiles().isEmpty());
}

void SdkFaultsTest::deviceSlotsTakeTheLowestFree()
{
    SimCtl_SetCapacity(UTPS_SMS_MEM_DEVICE, 20);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(saveAt(9), i);
    QCOMPARE(UTPS_SMSSrv_RemoveMsg(3, UTPS_SMS_MEM_DEVICE), UTPS_OK);
    QCOMPARE(UTPS_SMSSrv_DeleteMsg(7, UTPS_SMS_MEM_DEVICE), UTPS_OK);
    QCOMPARE(saveAt(9), 3);
    QCOMPARE(saveAt(9), 7);
    QCOMPARE(saveAt(9), 10);

    // Slots taken by a rolled-back batch are free again afterwards.
    QCOMPARE(UTPS_SMSSrv_BeginTransaction(UTPS_SMS_MEM_DEVICE), UTPS_OK);
    QCOMPARE(UTPS_SMSSrv_RemoveMsg(0, UTPS_SMS_MEM_DEVICE), UTPS_OK);
    QCOMPARE(saveAt(9), 0);
    QCOMPARE(saveAt(9), 11);
    SimCtl_FailNextCalls("UTPS_SMSSrv_EndTransaction", 1, UTPS_E_ROLLED_BACK);
    QCOMPARE(UTPS_SMSSrv_EndTransaction(UTPS_SMS_MEM_DEVICE), UTPS_E_ROLLED_BACK);
    QCOMPARE(saveAt(9), 11);
    QCOMPARE(countOf(2), 12);
    QCOMPARE(fetch(0, 2).rc, UTPS_OK);
}

QTEST_GUILESS_MAIN(SdkFaultsTest)
#include "tst_sdk_faults.moc"
