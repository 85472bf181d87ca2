// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host's utility functions for plug-ins: settings, paths, message boxes, frame state,
// calls, links in displayed text, the thread counter. Everything is static; the functions
// that plug-ins call from worker threads (settings, IsShuttingDown, the thread counter)
// are thread-safe, the rest belong to the GUI thread.
#include "CoreExport.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QDialog;
class QThread;
class QWidget;
class QObject;
class ILayoutPlugin;

// One request to ShowMessage/ShowMessageCustomize, as the caller made it (button captions
// are the untranslated IDS_ keys, empty when the box has fewer buttons).
struct MessageRequest
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget *parent = nullptr;
    QString title;
    QString text;
    QString button1;
    QString button2;
    QString button3;
    bool modal = true;
    Qt::WindowFlags flags;
    QString extraText;
    bool centre = false;
    bool customize = false;  // true for ShowMessageCustomize
    // What closing the box (Escape, the title bar) answers: the third button unless the
    // caller says otherwise, for a question where the third button would lose work.
    int closeAnswer = QMessageBox::No;
};

// Answers a message box instead of a person: gets the request, returns the result the box
// would have returned (CommonUtils::FirstButton, SecondButton or ThirdButton).
using MessageResponder = std::function<int(const MessageRequest &)>;
// Opens a URL instead of the desktop's browser; returns whether it was opened.
using UrlOpener = std::function<bool(const QUrl &)>;

class DIALCREST_CORE_EXPORT CommonUtils
{
public:
    // ---- data folder and settings ----
    // $DIALCREST_HOME when set, else $XDG_DATA_HOME/dialcrest (~/.local/share/dialcrest).
    // Created on first use. No trailing slash.
    static QString DataFolder();
    // The INI file that holds the host's settings, inside DataFolder().
    static QString SettingsFile();
    // The value stored under group/key, empty when missing. Booleans are "true"/"false".
    static QString GetSettings(const QString &group, const QString &key);
    // Stores value and writes it to disk at once; false when the file cannot be written.
    static bool SetSettings(const QString &group, const QString &key, const QString &value);
    // Where this process moved a damaged settings file (unreadable bytes), so that the user
    // can be told; empty when none was. A link or other non-file at the settings file's
    // name is moved aside too, but is not reported here: nothing of the user's was lost.
    static QString SettingsMovedAside();

    // ---- paths ----
    // The folder that holds plugins/<name>/ with the plug-ins' libraries:
    // $DIALCREST_PLUGIN_ROOT when set, else the folder of libcore itself (the build tree's
    // bin/, or the installed lib/<multiarch>/dialcrest).
    static QString GetPluginLibraryPath();
    // The folder that holds plugins/<name>/ with the plug-ins' run-time files (configuration,
    // menus, images, sounds) and translations/: $DIALCREST_PLUGIN_ROOT when set, else the
    // build tree's bin/ (where code and data sit together), else the installed
    // share/dialcrest, since files that are the same on every architecture belong there.
    static QString GetPluginDataPath();
    // The same without the environment's override: where this build keeps its data.
    static QString InstalledDataPath();
    // GetPluginDataPath() + "/plugins/" + name + "/" (with the trailing slash).
    static QString GetPluginFolder(const QString &pluginName);

    // ---- message boxes ----
    // Results: the first button gives FirstButton, the second SecondButton, the third, or
    // closing the box, ThirdButton.
    static constexpr int FirstButton = QMessageBox::Ok;       // 1024
    static constexpr int SecondButton = QMessageBox::Cancel;  // 4194304
    static constexpr int ThirdButton = QMessageBox::No;       // 65536

    // Shows a box and waits for the answer. title and text are shown as given; button1..3
    // are IDS_ keys translated here (empty: no such button). While the box is open *box
    // (when box is not null) points at it, so that its owner can close it early; it is
    // null again when the call returns. modal: application-modal, else window-modal.
    // centre: the box is centred on its parent (or the screen) before it shows.
    // extraText: shown as informative text under text when not empty.
    static int ShowMessage(QMessageBox::Icon icon, QWidget *parent, const QString &title,
                           const QString &text, const QString &button1,
                           const QString &button2 = QString(),
                           const QString &button3 = QString(), bool modal = true,
                           Qt::WindowFlags flags = Qt::WindowFlags(),
                           QMessageBox **box = nullptr, const QString &extraText = QString(),
                           bool centre = false);
    // Same arguments and results; the buttons keep the order given instead of the
    // platform's order (Yes, Cancel, No reads left to right as passed). closeAnswer is the
    // result of closing the box (FirstButton, SecondButton or ThirdButton).
    static int ShowMessageCustomize(QMessageBox::Icon icon, QWidget *parent,
                                    const QString &title, const QString &text,
                                    const QString &button1,
                                    const QString &button2 = QString(),
                                    const QString &button3 = QString(), bool modal = true,
                                    Qt::WindowFlags flags = Qt::WindowFlags(),
                                    QMessageBox **box = nullptr,
                                    const QString &extraText = QString(),
                                    bool centre = false, int closeAnswer = ThirdButton);
    // Installs a responder that answers every box without showing it; an empty function
    // restores real boxes. Returns the responder it replaces.
    static MessageResponder SetMessageResponder(MessageResponder responder);

    // ---- frame state, set by the host ----
    static bool IsMiniMode();
    static void SetMiniMode(bool mini);
    static int GetFrameStyle();  // FrameStyle bits (PluginIds.h)
    static void SetFrameStyle(int style);
    // The page switcher; not owned, null when the host set none (or it was deleted).
    static ILayoutPlugin *GetLayoutPlugin();
    static void SetLayoutPlugin(QObject *layoutPlugin);
    // The host's main window; not owned, null when there is none.
    static QWidget *GetMainWindow();
    static void SetMainWindow(QWidget *window);
    static bool IsShuttingDown();
    static void SetShuttingDown(bool shuttingDown);

    // Centres dialog on its parent window, or on the screen without one. Null is ignored.
    static void MoveCentre(QDialog *dialog);

    // ---- other plug-ins ----
    // Registered in the container and not switched off.
    static bool IsPluginAvailable(const QString &clsid);
    // Dials number through the call plug-in; non-zero when the call started, 0 when the
    // call plug-in is missing or refused.
    static int MakeCall(const QString &number, int callType);

    // ---- links and displayed text ----
    // Opens url with the desktop's browser (or the installed opener); false on failure.
    static bool LaunchBrowser(const QUrl &url);
    static UrlOpener SetUrlOpener(UrlOpener opener);
    // Marks text with the direction of its first strong character at both ends, so that
    // parentheses at its ends stay attached to it in a right-to-left layout. Text that is
    // already marked, or has no parenthesis, is left unchanged.
    static void ParanthesisCorrection(QString &text);
    // Turns web addresses, e-mail addresses and phone numbers in already-escaped HTML text
    // into anchors (http:, mailto:, tel:). Everything else, entities included, is copied
    // unchanged.
    static QString ParseAndCreateHyperLinks(const QString &html);

    // ---- recipient separator option of the plug-in configuration ----
    static void SetSMSSeperatorConfigValue(bool enabled);
    static bool GetSMSSeperatorConfigValue();

    // ---- threads ----
    // Counts running worker threads, so that the host can wait for them at shutdown.
    static void ThreadCountInc(const QString &file, const QString &function);
    static void ThreadCountDec(const QString &file, const QString &function);
    static int ThreadCount();
    // Waits at most milliseconds for thread to finish; true when it is not running
    // (null counts as stopped).
    static bool WaitForThreadToStop(QThread *thread, int milliseconds);
};
