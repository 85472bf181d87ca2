// SPDX-License-Identifier: GPL-3.0-or-later
// The application's command line.
#include "HostOptions.h"

#include <QDir>
#include <QTest>

class HostOptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void pathsAreMadeAbsolute();
};

void HostOptionsTest::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("demo");
    QTest::addColumn<bool>("screenshot");
    QTest::addColumn<int>("delay");

    const int run = int(HostOptions::Result::Run);
    const int exitOk = int(HostOptions::Result::ExitOk);
    const int error = int(HostOptions::Result::Error);
    QTest::newRow("defaults") << QStringList{} << run << QString() << true << false << 1500;
    QTest::newRow("arabic") << QStringList{"--language", "ar"} << run << "ar" << true << false << 1500;
    QTest::newRow("short and upper case") << QStringList{"-l", "EN"} << run << "en" << true << false << 1500;
    QTest::newRow("unknown language") << QStringList{"--language", "xx"} << error << "xx" << true << false << 1500;
    QTest::newRow("no demo") << QStringList{"--no-demo"} << run << QString() << false << false << 1500;
    QTest::newRow("screenshot") << QStringList{"--screenshot", "shot.png"} << run << QString() << true << true << 1500;
    QTest::newRow("screenshot delay") << QStringList{"--screenshot", "s.png", "--screenshot-delay", "0"} << run
                                      << QString() << true << true << 0;
    QTest::newRow("negative delay") << QStringList{"--screenshot", "s.png", "--screenshot-delay", "-5"} << error
                                    << QString() << true << true << -5;
    QTest::newRow("delay not a number") << QStringList{"--screenshot", "s.png", "--screenshot-delay", "soon"}
                                        << error << QString() << true << true << 1500;
    QTest::newRow("missing value") << QStringList{"--screenshot"} << error << QString() << true << false << 1500;
    QTest::newRow("unknown option") << QStringList{"--fast"} << error << QString() << true << false << 1500;
    QTest::newRow("stray argument") << QStringList{"extra"} << error << QString() << true << false << 1500;
    QTest::newRow("help") << QStringList{"--help"} << exitOk << QString() << true << false << 1500;
}

void HostOptionsTest::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, result);
    QFETCH(QString, language);
    QFETCH(bool, demo);
    QFETCH(bool, screenshot);
    QFETCH(int, delay);

    const HostOptions::Parsed parsed = HostOptions::parse(QStringList{"dialcrest"} + arguments);
    QCOMPARE(int(parsed.result), result);
    if (parsed.result != HostOptions::Result::Run) {
        QVERIFY(!parsed.message.isEmpty());
        return;
    }
    QCOMPARE(parsed.options.language, language);
    QCOMPARE(parsed.options.demo, demo);
    QCOMPARE(!parsed.options.screenshotFile.isEmpty(), screenshot);
    QCOMPARE(parsed.options.screenshotDelayMs, delay);
}

void HostOptionsTest::pathsAreMadeAbsolute()
{
    // The data folder goes into the environment for libraries that read it later, possibly
    // after a change of directory: a relative path would point elsewhere by then.
    const HostOptions::Parsed parsed =
        HostOptions::parse({"dialcrest", "--data", "rel/home", "--screenshot", "out.png"});
    QCOMPARE(int(parsed.result), int(HostOptions::Result::Run));
    QCOMPARE(parsed.options.dataFolder, QDir::current().absoluteFilePath("rel/home"));
    QCOMPARE(parsed.options.screenshotFile, QDir::current().absoluteFilePath("out.png"));
}

QTEST_GUILESS_MAIN(HostOptionsTest)
#include "tst_hostoptions.moc"
