// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application's command line.
#include <QString>
#include <QStringList>

struct HostOptions
{
    QString dataFolder;      // empty: the default data folder
    QString language;        // empty: the stored language
    QString screenshotFile;  // non-empty: render the main window there and exit
    int screenshotDelayMs = 1500;
    bool demo = true;        // seed demo messages into a new message store
    QString modem = QStringLiteral("simulator"); // simulator, modemmanager or modemmanager:N

    enum class Result { Run, ExitOk, Error };
    struct Parsed;
    // Parses arguments (arguments.first() is the program). For --help and --version,
    // Result::ExitOk with the text to print; for bad input, Result::Error with the reason.
    static Parsed parse(const QStringList &arguments);
};

struct HostOptions::Parsed
{
    HostOptions options;
    Result result = Result::Run;
    QString message;
};
