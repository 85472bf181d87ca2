// SPDX-License-Identifier: GPL-3.0-or-later
// The application's log file: written beside stderr, capped and rotated.
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QtTest>

#include "LogFile.h"

namespace {
Q_LOGGING_CATEGORY(lcLogTest, "test.logfile", QtInfoMsg)

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class tst_LogFile : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { LogFile::Uninstall(); }

    void messagesReachTheFileAndTheOldHandler()
    {
        QTemporaryDir dir;
        QStringList seen;
        // Stands for stderr: the handler in place before the file was installed.
        static QStringList *previousSaw = nullptr;
        previousSaw = &seen;
        const QtMessageHandler before = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &message) {
                previousSaw->append(message);
            });
        const QString folder = dir.filePath(QStringLiteral("log/nested"));
        QVERIFY(LogFile::Install(folder));
        QCOMPARE(LogFile::CurrentFile(), folder + QStringLiteral("/dialcrest.log"));
        qCWarning(lcLogTest) << "storage full";
        qCDebug(lcLogTest) << "filtered out by the rules";
        LogFile::Uninstall();
        qInstallMessageHandler(before);

        QCOMPARE(seen, QStringList{QStringLiteral("storage full")});
        const QByteArray text = readAll(folder + QStringLiteral("/dialcrest.log"));
        QVERIFY(text.contains("warning test.logfile: storage full\n"));
        QVERIFY(!text.contains("filtered out"));
        QVERIFY(LogFile::CurrentFile().isEmpty());
    }

    void rotatesAndKeepsItsCap()
    {
        QTemporaryDir dir;
        const qint64 cap = 1000;
        QVERIFY(LogFile::Install(dir.path(), cap, /* kept */ 2));
        for (int i = 0; i < 200; ++i)
            qCInfo(lcLogTest, "line %03d %s", i, QByteArray(40, 'x').constData());
        // One line longer than the cap is cut to it rather than breaking the bound.
        qCInfo(lcLogTest) << QString(3000, QLatin1Char('y'));
        qCInfo(lcLogTest) << "last line";
        LogFile::Uninstall();

        const QString current = dir.filePath(QStringLiteral("dialcrest.log"));
        const QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, QStringList({"dialcrest.log", "dialcrest.log.1", "dialcrest.log.2"}));
        for (const QString &f : files)
            QVERIFY2(QFileInfo(dir.filePath(f)).size() <= cap, qPrintable(f));
        QVERIFY(readAll(current).contains("last line"));
        // The oldest lines are gone; the rotated files hold the most recent ones before.
        QVERIFY(!readAll(current + QStringLiteral(".2")).contains("line 000"));
        QVERIFY(readAll(current + QStringLiteral(".2")).contains("line 19"));
    }

    void unwritableFolderLeavesLoggingAlone()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("log")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
        blocker.close();
        QVERIFY(!LogFile::Install(dir.filePath(QStringLiteral("log"))));
        QVERIFY(LogFile::CurrentFile().isEmpty());
        qCWarning(lcLogTest) << "still goes to stderr";
    }
};

QTEST_GUILESS_MAIN(tst_LogFile)
#include "tst_logfile.moc"
