// SPDX-License-Identifier: GPL-3.0-or-later
// The usage-statistics file: counters accumulate, start values are written once, and a
// missing, empty or broken file never loses the counts that follow (nor the broken file).
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QHashSeed>
#include <QTemporaryDir>
#include <QtTest>

#include "TestEnv.h"
#include "window/SMSUIMainDlg.h"

namespace {
QString valueOf(const QString &path, const QString &item, const QString &key)
{
    QFile file(path);
    QDomDocument doc;
    if (!file.open(QIODevice::ReadOnly) || !doc.setContent(&file))
        return QStringLiteral("<unreadable>");
    for (QDomElement it = doc.documentElement().firstChildElement(QStringLiteral("Item"));
         !it.isNull(); it = it.nextSiblingElement(QStringLiteral("Item"))) {
        if (it.attribute(QStringLiteral("itemname")) == item)
            return it.firstChildElement(key).text();
    }
    return QStringLiteral("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}
} // namespace

class tst_Usage : public QObject
{
    Q_OBJECT
private slots:
    // The SDK names its folder once per process: each case starts from an empty one.
    void init()
    {
        QDir(QFileInfo(SMSUIMainDlg::usageStatisticsFilePath()).absolutePath())
            .removeRecursively();
    }

    void countersAccumulateAndStartValuesStay()
    {
        const QString path = SMSUIMainDlg::usageStatisticsFilePath();
        QVERIFY(path.endsWith(QStringLiteral("/OnlineUpdate/UpdateInfo/kpi-sms.dat")));
        QVERIFY(!QFile::exists(path));

        SMSUIMainDlg::SaveSMSInfoForAgent("SMS02", "SMSReceived", "1");
        QCOMPARE(valueOf(path, "SMS02", "SMSReceived"), QStringLiteral("1"));
        QCOMPARE(valueOf(path, "SMS02", "SMSSent"), QStringLiteral("0"));
        QCOMPARE(valueOf(path, "SMS01", "SMSisUsing"), QStringLiteral("0"));
        const QString started = valueOf(path, "SMS01", "LogStartTime");
        QVERIFY(QDateTime::fromString(started, "yyyy-MM-dd HH:mm:ss").isValid());

        SMSUIMainDlg::SaveSMSInfoForAgent("SMS02", "SMSReceived", "1");
        SMSUIMainDlg::SaveSMSInfoForAgent("SMS02", "SMSReceived", "1");
        SMSUIMainDlg::SaveSMSInfoForAgent("SMS01", "SMSisUsing", "1");
        SMSUIMainDlg::SaveSMSInfoForAgent("SMS02", "SMSSent", "2");
        SMSUIMainDlg::SaveSMSInfoForAgent("SMS01", "SMSisUsing", "1");
        QCOMPARE(valueOf(path, "SMS02", "SMSReceived"), QStringLiteral("3"));
        QCOMPARE(valueOf(path, "SMS02", "SMSSent"), QStringLiteral("2"));
        QCOMPARE(valueOf(path, "SMS01", "SMSisUsing"), QStringLiteral("1"));
        QCOMPARE(valueOf(path, "SMS01", "LogStartTime"), started);
    }

    void aMissingItemIsAddedWithItsCounters()
    {
        const QString path = SMSUIMainDlg::usageStatisticsFilePath();
        writeFile(path, "<Client version=\"1.0\" entity=\"agent\"/>");
        SMSUIMainDlg::SaveSMSInfoForAgent("SMS02", "SMSSent", "4");
        QCOMPARE(valueOf(path, "SMS02", "SMSSent"), QStringLiteral("4"));
        QCOMPARE(valueOf(path, "SMS02", "SMSReceived"), QStringLiteral("0"));
        QCOMPARE(valueOf(path, "SMS01", "SMSisUsing"), QStringLiteral("<missing>"));
    }

    void brokenFilesAreKeptAsideNeverOverwritten_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("asideFiles");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("blank") << QByteArray(" \n") << 0;
        QTest::newRow("cut short") << QByteArray("<Client><Item itemname=\"SMS02\"><SMSSe") << 1;
        QTest::newRow("not XML") << QByteArray("\x00\xff garbage", 10) << 1;
    }
    void brokenFilesAreKeptAsideNeverOverwritten()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, asideFiles);
        const QString path = SMSUIMainDlg::usageStatisticsFilePath();
        // Twice in the same second: the second broken file must not replace the first.
        for (int round = 1; round <= 2; ++round) {
            writeFile(path, content);
            SMSUIMainDlg::SaveSMSInfoForAgent("SMS02", "SMSReceived", "1");
            QCOMPARE(valueOf(path, "SMS02", "SMSReceived"), QStringLiteral("1"));
        }
        const QFileInfoList aside = QFileInfo(path).dir().entryInfoList(
            {QStringLiteral("kpi-sms.dat.broken-*")}, QDir::Files);
        QCOMPARE(aside.size(), 2 * asideFiles);
        for (const QFileInfo &info : aside) {
            QFile file(info.filePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), content);
        }
    }

    // Whatever stands at the file's name that is not a plain file is moved aside and a new
    // file started: a link's target keeps its bytes and its mode.
    void neverWrittenThroughALink_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("link to a file") << true;
        QTest::newRow("dangling link") << false;
    }
    void neverWrittenThroughALink()
    {
        QFETCH(bool, targetExists);
        const QString path = SMSUIMainDlg::usageStatisticsFilePath();
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("victim"));
        const QByteArray victimBytes = "<Client version=\"1.0\" entity=\"agent\"/>";
        if (targetExists) {
            writeFile(target, victimBytes);
            QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
        }
        const QFile::Permissions modeBefore = QFileInfo(target).permissions();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(QFile::link(target, path));

        SMSUIMainDlg::SaveSMSInfoForAgent("SMS02", "SMSReceived", "1");
        QVERIFY(QFileInfo(path).isFile() && !QFileInfo(path).isSymLink());
        QCOMPARE(valueOf(path, "SMS02", "SMSReceived"), QStringLiteral("1"));
        QCOMPARE(QFileInfo::exists(target), targetExists);
        if (targetExists) {
            QFile victim(target);
            QVERIFY(victim.open(QIODevice::ReadOnly));
            QCOMPARE(victim.readAll(), victimBytes);
            QCOMPARE(QFileInfo(target).permissions(), modeBefore);
        }
        const QFileInfoList aside = QFileInfo(path).dir().entryInfoList(
            {QStringLiteral("kpi-sms.dat.broken-*")}, QDir::AllEntries | QDir::System);
        QCOMPARE(aside.size(), 1);
        QVERIFY(aside.first().isSymLink());
    }

    // A file created here is shared with the collector; a file found here keeps its mode.
    void onlyACreatedFileGetsTheSharedMode_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("mode");
        QTest::newRow("created") << false << 0x6666;
        QTest::newRow("found, private") << true << 0x6600;
    }
    void onlyACreatedFileGetsTheSharedMode()
    {
        QFETCH(bool, existing);
        QFETCH(int, mode);
        const QString path = SMSUIMainDlg::usageStatisticsFilePath();
        if (existing) {
            writeFile(path, "<Client version=\"1.0\" entity=\"agent\"/>");
            QVERIFY(QFile::setPermissions(path, QFile::Permissions(mode)));
        }
        SMSUIMainDlg::SaveSMSInfoForAgent("SMS02", "SMSSent", "1");
        SMSUIMainDlg::SaveSMSInfoForAgent("SMS02", "SMSSent", "1");
        QCOMPARE(valueOf(path, "SMS02", "SMSSent"), QStringLiteral("2"));
        QCOMPARE(int(QFileInfo(path).permissions()), mode);
    }

    // The root's attributes come in the file format's order on every write, whatever order
    // the parser's hash gives them (its seed differs from run to run; here, from save to save).
    void rootAttributesKeepTheirOrder()
    {
        const QString path = SMSUIMainDlg::usageStatisticsFilePath();
        for (int round = 0; round < 24; ++round) {
            QHashSeed::resetRandomGlobalSeed();
            SMSUIMainDlg::SaveSMSInfoForAgent("SMS02", "SMSReceived", "1");
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            QVERIFY2(bytes.contains("<Client version=\"1.0\" entity=\"agent\">"), bytes.constData());
        }
        QCOMPARE(valueOf(path, "SMS02", "SMSReceived"), QStringLiteral("24"));
    }

private:
    TestDataHome m_home;
};

QTEST_GUILESS_MAIN(tst_Usage)
#include "tst_usage.moc"
