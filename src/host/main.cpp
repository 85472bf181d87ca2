// SPDX-License-Identifier: GPL-3.0-or-later
// dialcrest: the connection manager. Loads the SMS plug-in into its main frame and runs on
// the device SDK's simulated modem, or on a real one through ModemManager (--modem).
#include "Change.h"
#include "CommonUtils.h"
#include "HostApplication.h"
#include "HostLog.h"
#include "HostOptions.h"
#include "LogFile.h"
#include "ModemChoiceMenu.h"
#include "sdk_backend.h"
#include "sdk_simulator.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>

#include <csignal>

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
    // A file-size limit (ulimit -f) would otherwise end the process in the middle of a write
    // (a burst of arrivals, an export). Ignored, the write fails with EFBIG instead, and the
    // application treats it as the full disk it amounts to: warning shown, nothing lost.
    std::signal(SIGXFSZ, SIG_IGN);
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
    QApplication::setApplicationName(QStringLiteral("dialcrest"));
    QApplication::setApplicationVersion(QStringLiteral(DIALCREST_VERSION));
    // The installed desktop entry and icon carry this name; the built-in copies of the icon
    // serve a build tree and desktops without the theme.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.dialcrest.Dialcrest"));
    QIcon builtIn;
    for (int size : {32, 48, 128, 256})
        builtIn.addFile(QStringLiteral(":/icons/dialcrest-%1.png").arg(size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.dialcrest.Dialcrest"), builtIn));

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
    // Demo messages belong to the simulated modem, never into a real user's store.
    SimCtl_SetDemoSeed(options.demo && options.modem == QLatin1String("simulator") ? 1 : 0);
    char why[512] = {};
    if (SdkBackend_Select(options.modem.toUtf8().constData(), why, int(sizeof why)) != UTPS_OK) {
        const QString text = QString::fromUtf8(why);
        QTextStream(stderr) << "dialcrest: " << text << '\n';
        // Started from the desktop, nobody reads stderr: say it in a window too.
        if (options.screenshotFile.isEmpty() && QGuiApplication::platformName() != QLatin1String("offscreen"))
            QMessageBox::critical(nullptr, QStringLiteral("dialcrest"), text);
        return 1;
    }
    // The modem the user chose in the Modem menu last time, unless the command line names one.
    ModemChoiceMenu::useRemembered(options.modem);
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
