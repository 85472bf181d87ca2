// dialcrest: the connection manager. Loads the SMS plug-in into its main frame and runs on
// the device SDK's simulated modem.
#include "Change.h"
#include "HostApplication.h"
#include "HostLog.h"
#include "HostOptions.h"
#include "sdk_simulator.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dialcrest"));
    QApplication::setApplicationVersion(QStringLiteral(DIALCREST_VERSION));

    const HostOptions::Parsed parsed = HostOptions::parse(QApplication::arguments());
    if (parsed.result != HostOptions::Result::Run) {
        QTextStream(parsed.result == HostOptions::Result::Error ? stderr : stdout) << parsed.message << '\n';
        return parsed.result == HostOptions::Result::Error ? 2 : 0;
    }
    const HostOptions &options = parsed.options;
    // Both the host framework and the SDK read the data folder on first use, so it is set
    // before anything touches either.
    if (!options.dataFolder.isEmpty())
        qputenv("DIALCREST_HOME", options.dataFolder.toUtf8());
    SimCtl_SetDemoSeed(options.demo ? 1 : 0);
    if (!options.language.isEmpty() && !Change::SetLanguage(options.language))
        qCWarning(lcHost) << "language" << options.language << "is not available; keeping" << Change::GetLangName();
    else if (options.language.isEmpty())
        Change::SetLanguage(Change::GetLangName());

    HostApplication host(options);
    if (!host.start())
        return 1;

    int exitCode = 0;
    if (!options.screenshotFile.isEmpty()) {
        QTimer::singleShot(options.screenshotDelayMs, &app, [&] {
            SimCtl_WaitIdle(2000);
            QApplication::processEvents();
            exitCode = host.saveScreenshot(options.screenshotFile) ? 0 : 1;
            QApplication::quit();
        });
    }
    const int rc = app.exec();
    host.shutdown();
    return exitCode != 0 ? exitCode : rc;
}
