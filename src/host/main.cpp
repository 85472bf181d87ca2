// dialcrest: the connection manager. Loads the SMS plug-in into its main frame and runs on
// the device SDK's simulated modem.
#include "Change.h"
#include "CommonUtils.h"
#include "HostApplication.h"
#include "HostLog.h"
#include "HostOptions.h"
#include "LogFile.h"
#include "sdk_simulator.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

namespace {
int answer(const HostOptions::Parsed &parsed)
{
    const bool error = parsed.result == HostOptions::Result::Error;
    QTextStream(error ? stderr : stdout) << parsed.message << '\n';
    return error ? 2 : 0;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("dialcrest"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DIALCREST_VERSION));
    {
        // --help and --version need no display: answer them before the GUI connects to
        // one (which aborts where there is none). Anything else is parsed again below,
        // once QApplication has taken its own options (-platform, -style, ...) out.
        QCoreApplication early(argc, argv);
        const HostOptions::Parsed parsed = HostOptions::parse(QCoreApplication::arguments());
        if (parsed.result == HostOptions::Result::ExitOk)
            return answer(parsed);
    }
    QApplication app(argc, argv);

    const HostOptions::Parsed parsed = HostOptions::parse(QApplication::arguments());
    if (parsed.result != HostOptions::Result::Run)
        return answer(parsed);
    const HostOptions &options = parsed.options;
    // Both the host framework and the SDK read the data folder on first use, so it is set
    // before anything touches either.
    if (!options.dataFolder.isEmpty())
        qputenv("DIALCREST_HOME", options.dataFolder.toUtf8());
    // Beside stderr, into the data folder's log/ (where the SDK keeps its files too).
    LogFile::Install(CommonUtils::DataFolder() + QStringLiteral("/log"));
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
    LogFile::Uninstall();
    return exitCode != 0 ? exitCode : rc;
}
