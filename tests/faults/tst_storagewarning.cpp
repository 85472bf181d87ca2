// SPDX-License-Identifier: GPL-3.0-or-later
// The window while the message database cannot be written: a warning that stays, folders
// that show only what the database holds, and everything read again once it can be used.
#include <QLabel>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

#include "window/SMSUITableWidget.h"
#include "WindowFixture.h"

class TestStorageWarning : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_fixture.tearDown(); }
    void warningStaysUntilTheFolderCanBeUsed();
    void failedWriteShowsWarningUntilProbeSucceeds();
    void fileSizeLimitGivesTheFullDiskWarning();

private:
    WindowFixture m_fixture;
};

void TestStorageWarning::warningStaysUntilTheFolderCanBeUsed()
{
    m_fixture.setUp();
    // The data folder's place is taken by a file: the database cannot be created.
    const QString home = QString::fromLocal8Bit(qgetenv("DIALCREST_HOME"));
    const QString folder = home + QStringLiteral("/data");
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("DIALCREST_HOME", QFile::encodeName(folder));
    SimCtl_Shutdown();

    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    auto *warning = w->findChild<QLabel *>(QStringLiteral("SMSUIPlugin_StorageWarning"));
    QVERIFY(warning);
    QVERIFY(warning->isVisible());
    QVERIFY(!warning->text().isEmpty());
    QVERIFY(w->storageWriteState() != UTPS_STORE_OK);
    // An arrival is refused rather than shown and forgotten.
    QVERIFY(SimCtl_InjectMessage(UTPS_SMS_MEM_PC, "+4", "refused", nullptr, 3, nullptr) != UTPS_OK);
    w->checkStorageWritable();
    QVERIFY(warning->isVisible());

    // Once the folder can be made, a message stored meanwhile shows after the next check.
    QVERIFY(blocker.remove());
    int id = -1;
    const auto saveOnce = [&id] {
        if (id < 0)
            id = WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+1"), QStringLiteral("stored later"));
        return id >= 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(saveOnce(), 5000);
    w->checkStorageWritable();
    QVERIFY(!warning->isVisible());
    QCOMPARE(w->storageWriteState(), int(UTPS_STORE_OK));
    QCOMPARE(w->tableAt(EN_LOCAL_INBOX)->rowCount(), 1);
    qputenv("DIALCREST_HOME", QFile::encodeName(home));
}

void TestStorageWarning::failedWriteShowsWarningUntilProbeSucceeds()
{
    m_fixture.setUp();
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    auto *warning = w->findChild<QLabel *>(QStringLiteral("SMSUIPlugin_StorageWarning"));
    QVERIFY(warning);
    QVERIFY(!warning->isVisible());

    // A file-size limit just above what the database holds now: writes soon fail.
    const QString db = QString::fromLocal8Bit(qgetenv("DIALCREST_HOME")) + QStringLiteral("/sdk.db");
    const qint64 used = QFileInfo(db).size() + QFileInfo(db + QStringLiteral("-wal")).size();
    rlimit original{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &original), 0);
    // What the application's main() does for itself (checked with the real application below).
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit tight = original;
    tight.rlim_cur = rlim_t(used + 64 * 1024);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    int stored = 0;
    while (stored < 2000 && WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+1"), QString(150, QLatin1Char('x'))) >= 0)
        ++stored;
    w->checkStorageWritable(); // its probe write fails too while the limit holds
    setrlimit(RLIMIT_FSIZE, &original);
    signal(SIGXFSZ, oldHandler);
    QVERIFY(stored < 2000);
    QVERIFY(warning->isVisible());
    QCOMPARE(w->storageWriteState(), int(UTPS_STORE_NO_SPACE));

    // With room again, the window's own timer finds out and the bar goes.
    QTRY_VERIFY_WITH_TIMEOUT(!warning->isVisible(), 10000);
    QCOMPARE(w->tableAt(EN_LOCAL_INBOX)->rowCount(), stored);
}

// The application as a user starts it under "ulimit -f": the limit must read as a full disk
// (the warning about it given, the application still running), not end the process with
// SIGXFSZ. The child gets the signal's default action, as from a shell, whatever this
// process does with it.
void TestStorageWarning::fileSizeLimitGivesTheFullDiskWarning()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DIALCREST_HOME"));
    app.setProcessEnvironment(env);
    app.setWorkingDirectory(home.path());
    app.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_DFL);
        // Smaller than a new message database: its first writes already reach the limit.
        rlimit limit{rlim_t(8 * 1024), rlim_t(8 * 1024)};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    app.setStandardOutputFile(QProcess::nullDevice());
    app.setReadChannel(QProcess::StandardError);
    app.start(QStringLiteral(DIALCREST_EXECUTABLE), {QStringLiteral("--data"), QStringLiteral("data")});
    QVERIFY(app.waitForStarted());
    const QByteArray warning = "message database cannot be written, condition 1";
    QByteArray errors;
    QDeadlineTimer deadline(60000);
    while (!errors.contains(warning) && app.state() == QProcess::Running && !deadline.hasExpired()) {
        app.waitForReadyRead(200);
        errors += app.readAllStandardError();
    }
    errors += app.readAllStandardError();
    const bool running = app.state() == QProcess::Running;
    app.kill();
    app.waitForFinished();
    QVERIFY2(running, qPrintable(QStringLiteral("ended with status %1, signal or code %2")
                                     .arg(int(app.exitStatus())).arg(app.exitCode())));
    QVERIFY2(errors.contains(warning), errors.right(2000).constData());
}

QTEST_MAIN(TestStorageWarning)
#include "tst_storagewarning.moc"
