// SPDX-License-Identifier: GPL-3.0-or-later
// The application as a user starts it: a separate process with the screenshot option.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class ScreenshotTest : public QObject
{
    Q_OBJECT
private slots:
    void screenshotWritesTheMainWindow();
    void demoMessagesAreVisible();
    void badOptionExitsWithUsageError();
    void helpAndVersionNeedNoDisplay();

private:
    int run(const QStringList &arguments, const QString &home, QByteArray *errors = nullptr,
            QByteArray *output = nullptr, bool display = true);
};

int ScreenshotTest::run(const QStringList &arguments, const QString &home, QByteArray *errors,
                        QByteArray *output, bool display)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (display) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        // What a terminal without a desktop looks like: the default platform, nothing to
        // connect to.
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
    }
    env.remove(QStringLiteral("DIALCREST_HOME"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(home);
    process.start(QStringLiteral(DIALCREST_EXECUTABLE), arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (errors)
        *errors = process.readAllStandardError();
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void ScreenshotTest::screenshotWritesTheMainWindow()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QString shot = home.filePath(QStringLiteral("window.png"));
    QByteArray errors;
    // Relative data folder: resolved against the working directory at start.
    QCOMPARE(run({"--data", "data", "--screenshot", shot, "--screenshot-delay", "200"}, home.path(), &errors), 0);
    const QImage image(shot);
    QVERIFY2(!image.isNull(), errors.constData());
    QVERIFY(image.width() >= 640 && image.height() >= 400);
    // Not a blank canvas: a rendered window has many colours.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    QVERIFY(colours.size() > 20);
    // The data folder was created where asked, with the host's settings and the SDK's store.
    QVERIFY(QDir(home.filePath(QStringLiteral("data"))).exists());
    QVERIFY(!QDir(home.filePath(QStringLiteral("data"))).isEmpty());
    // The log goes to the data folder's log/ as well as to stderr.
    QFile log(home.filePath(QStringLiteral("data/log/dialcrest.log")));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.size() > 0);
}

// The same start with and without the demo messages: the upper part of the message area
// (where the first rows of the inbox table are drawn) must differ, or the rows are not shown.
void ScreenshotTest::demoMessagesAreVisible()
{
    QTemporaryDir withDemo;
    QTemporaryDir empty;
    QVERIFY(withDemo.isValid() && empty.isValid());
    const QString demoShot = withDemo.filePath(QStringLiteral("demo.png"));
    const QString emptyShot = empty.filePath(QStringLiteral("empty.png"));
    QCOMPARE(run({"--data", "data", "--screenshot", demoShot}, withDemo.path()), 0);
    QCOMPARE(run({"--data", "data", "--no-demo", "--screenshot", emptyShot}, empty.path()), 0);
    const QImage demo(demoShot);
    const QImage blank(emptyShot);
    QVERIFY(!demo.isNull() && !blank.isNull());
    QCOMPARE(demo.size(), blank.size());
    // Right of the folder tree, below the toolbars: the first table rows.
    const QRect rows(demo.width() / 3, demo.height() / 6, demo.width() / 2, demo.height() / 6);
    int differing = 0;
    for (int y = rows.top(); y <= rows.bottom(); ++y)
        for (int x = rows.left(); x <= rows.right(); ++x)
            differing += demo.pixel(x, y) != blank.pixel(x, y);
    QVERIFY2(differing > 500, qPrintable(QString::number(differing)));
}

void ScreenshotTest::badOptionExitsWithUsageError()
{
    QTemporaryDir home;
    QByteArray errors;
    QCOMPARE(run({"--language", "xx"}, home.path(), &errors), 2);
    QVERIFY(errors.contains("xx"));
}

void ScreenshotTest::helpAndVersionNeedNoDisplay()
{
    QTemporaryDir home;
    QByteArray errors;
    QByteArray output;
    QCOMPARE(run({"--help"}, home.path(), &errors, &output, /* display */ false), 0);
    QVERIFY2(output.contains("--language"), errors.constData());
    QCOMPARE(run({"--version"}, home.path(), &errors, &output, false), 0);
    QCOMPARE(output.trimmed(), QByteArray("dialcrest " DIALCREST_VERSION));
}

QTEST_GUILESS_MAIN(ScreenshotTest)
#include "tst_hostscreenshot.moc"
