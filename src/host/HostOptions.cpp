// SPDX-License-Identifier: GPL-3.0-or-later
#include "HostOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

HostOptions::Parsed HostOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Connection manager for USB mobile-broadband modems."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption data({QStringLiteral("d"), QStringLiteral("data")},
                                  QStringLiteral("Data folder for settings and messages."),
                                  QStringLiteral("folder"));
    const QCommandLineOption language({QStringLiteral("l"), QStringLiteral("language")},
                                      QStringLiteral("Interface language: en or ar."),
                                      QStringLiteral("code"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Start, render the main window to a PNG file and exit."),
                                        QStringLiteral("file"));
    const QCommandLineOption delay(QStringLiteral("screenshot-delay"),
                                   QStringLiteral("Milliseconds to let the window settle before the screenshot."),
                                   QStringLiteral("ms"), QStringLiteral("1500"));
    const QCommandLineOption noDemo(QStringLiteral("no-demo"),
                                    QStringLiteral("Do not seed demo messages into a new message store."));
    const QCommandLineOption modem(
        QStringLiteral("modem"),
        QStringLiteral("The modem: simulator (default), modemmanager (the modem chosen in the Modem "
                       "menu last time when it is there, else the first modem ModemManager lists), "
                       "modemmanager:N (the N-th it lists, 0 the first) or modemmanager:ID (the "
                       "modem with that equipment identifier, as mmcli -m N shows). The modem chosen "
                       "stays the same when it is plugged in again or ModemManager restarts."),
        QStringLiteral("which"), QStringLiteral("simulator"));
    parser.addOptions({data, language, screenshot, delay, noDemo, modem});

    Parsed parsed;
    if (!parser.parse(arguments)) {
        parsed.result = Result::Error;
        parsed.message = parser.errorText();
        return parsed;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        parsed.result = Result::ExitOk;
        parsed.message = parser.isSet(help)
            ? parser.helpText()
            : QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion();
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        parsed.result = Result::Error;
        parsed.message = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
        return parsed;
    }

    HostOptions &o = parsed.options;
    if (parser.isSet(data))
        o.dataFolder = QFileInfo(parser.value(data)).absoluteFilePath();
    if (parser.isSet(language)) {
        o.language = parser.value(language).trimmed().toLower();
        if (o.language != QLatin1String("en") && o.language != QLatin1String("ar")) {
            parsed.result = Result::Error;
            parsed.message = QStringLiteral("Unknown language \"%1\" (use en or ar)").arg(o.language);
            return parsed;
        }
    }
    if (parser.isSet(screenshot)) {
        o.screenshotFile = QFileInfo(parser.value(screenshot)).absoluteFilePath();
        bool ok = false;
        o.screenshotDelayMs = parser.value(delay).toInt(&ok);
        if (!ok || o.screenshotDelayMs < 0) {
            parsed.result = Result::Error;
            parsed.message = QStringLiteral("--screenshot-delay needs a number of milliseconds");
            return parsed;
        }
    }
    o.demo = !parser.isSet(noDemo);
    o.modem = parser.value(modem).trimmed();
    // The backend's name in any case; an identifier after the colon as it is written.
    static const QRegularExpression modemSpec(QStringLiteral("^(simulator|modemmanager(:[^\\s:]+)?)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = modemSpec.match(o.modem);
    if (match.hasMatch())
        o.modem = match.captured(1).section(QLatin1Char(':'), 0, 0).toLower() + match.captured(2);
    if (!match.hasMatch()) {
        parsed.result = Result::Error;
        parsed.message = QStringLiteral("Unknown modem \"%1\" (use simulator, modemmanager, modemmanager:N or "
                                        "modemmanager:ID)")
                             .arg(o.modem);
        return parsed;
    }
    return parsed;
}
