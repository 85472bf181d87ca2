// SPDX-License-Identifier: GPL-3.0-or-later
// Settings, paths, frame state, other plug-ins and the thread counter.
#include "CommonUtils.h"

#include "CoreLog.h"
#include "HostInterfaces.h"
#include "OwnFile.h"
#include "PluginIds.h"
#include "Startup.h"

#include <QAtomicInt>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMutex>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QThread>
#include <QWidget>

#include <dlfcn.h>
#include <sys/stat.h>

namespace {

QMutex g_settingsMutex;
QAtomicInt g_threadCount;
QAtomicInt g_shuttingDown;
QAtomicInt g_separator(1);
bool g_miniMode = false;
int g_frameStyle = 0;
QPointer<QObject> g_layoutPlugin;
QPointer<QWidget> g_mainWindow;
// Guarded by g_settingsMutex.
QString g_settingsAside;
struct stat g_settingsChecked{};  // the settings file as it was when last found sound

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size
        && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// The settings file is text the application wrote itself: NUL bytes or bytes that are not
// UTF-8 mean it was damaged (QSettings would read them as junk keys and write them back
// escaped, losing what the file held).
bool looksDamaged(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return true;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text);
    return decoder.hasError();
}

void moveSettingsAside(const QString &path, const char *why, bool report)
{
    const QString aside = OwnFile::moveAside(path);
    if (aside.isEmpty()) {
        qCWarning(lcCoreSettings) << "the settings file" << path << why
                                  << "and cannot be moved aside; it is left as it is";
        return;
    }
    qCWarning(lcCoreSettings) << "the settings file" << path << why << "; moved to" << aside
                              << "and started afresh";
    if (report)
        g_settingsAside = aside;
    g_settingsChecked = {};
}

// Before QSettings opens the file (which it would write through a link, and whose damaged
// bytes it would rewrite): only a plain, readable text file stays at the settings' name.
// Called with g_settingsMutex held.
void keepSettingsFileSound(const QString &path)
{
    struct stat info{};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return;
    if (!S_ISREG(info.st_mode)) {
        moveSettingsAside(path, "is not a plain file", false);
        return;
    }
    if (sameFile(info, g_settingsChecked))
        return;
    QByteArray bytes;
    QString error;
    if (!OwnFile::read(path, &bytes, &error)) {
        qCWarning(lcCoreSettings) << "cannot read the settings file" << path << error;
        return;
    }
    if (looksDamaged(bytes)) {
        moveSettingsAside(path, "is damaged", true);
        return;
    }
    g_settingsChecked = info;
}

// The folder this library was loaded from.
QString libraryFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&libraryFolder), &info) == 0 || !info.dli_fname) {
        qCWarning(lcCoreSettings) << "dladdr failed; plug-in root falls back to the executable's folder";
        return QCoreApplication::applicationDirPath();
    }
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalPath();
}

} // namespace

QString CommonUtils::DataFolder()
{
    QString folder = qEnvironmentVariable("DIALCREST_HOME");
    if (folder.isEmpty()) {
        QString base = qEnvironmentVariable("XDG_DATA_HOME");
        if (base.isEmpty())
            base = QDir::homePath() + QStringLiteral("/.local/share");
        folder = base + QStringLiteral("/dialcrest");
    }
    folder = QDir::cleanPath(folder);
    if (!QDir().mkpath(folder))
        qCWarning(lcCoreSettings) << "cannot create the data folder" << folder;
    return folder;
}

QString CommonUtils::SettingsFile()
{
    return DataFolder() + QStringLiteral("/dialcrest.ini");
}

QString CommonUtils::GetSettings(const QString &group, const QString &key)
{
    QMutexLocker lock(&g_settingsMutex);
    const QString path = SettingsFile();
    keepSettingsFileSound(path);
    {
        QSettings settings(path, QSettings::IniFormat);
        if (settings.status() != QSettings::FormatError) {
            settings.beginGroup(group);
            return settings.value(key).toString();
        }
    }
    moveSettingsAside(path, "cannot be parsed", true);
    return QString();
}

QString CommonUtils::SettingsMovedAside()
{
    QMutexLocker lock(&g_settingsMutex);
    return g_settingsAside;
}

bool CommonUtils::SetSettings(const QString &group, const QString &key, const QString &value)
{
    QMutexLocker lock(&g_settingsMutex);
    const QString path = SettingsFile();
    keepSettingsFileSound(path);
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(group);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        qCWarning(lcCoreSettings) << "cannot write" << group << key << "to" << settings.fileName()
                                  << "status" << settings.status();
        return false;
    }
    return true;
}

QString CommonUtils::GetPluginLibraryPath()
{
    const QString root = qEnvironmentVariable("DIALCREST_PLUGIN_ROOT");
    if (!root.isEmpty())
        return QDir::cleanPath(root);
    return libraryFolder();
}

QString CommonUtils::GetPluginDataPath()
{
    const QString root = qEnvironmentVariable("DIALCREST_PLUGIN_ROOT");
    if (!root.isEmpty())
        return QDir::cleanPath(root);
    return InstalledDataPath();
}

QString CommonUtils::InstalledDataPath()
{
    // The build tree keeps the catalogues beside the libraries; an installed tree never does.
    const QString libraries = libraryFolder();
    if (QFileInfo(libraries + QStringLiteral("/translations")).isDir())
        return libraries;
    return QDir::cleanPath(libraries + QStringLiteral("/" DIALCREST_DATA_FROM_LIBRARIES));
}

QString CommonUtils::GetPluginFolder(const QString &pluginName)
{
    return GetPluginDataPath() + QStringLiteral("/plugins/") + pluginName + QLatin1Char('/');
}

bool CommonUtils::IsMiniMode() { return g_miniMode; }
void CommonUtils::SetMiniMode(bool mini) { g_miniMode = mini; }
int CommonUtils::GetFrameStyle() { return g_frameStyle; }
void CommonUtils::SetFrameStyle(int style) { g_frameStyle = style; }

ILayoutPlugin *CommonUtils::GetLayoutPlugin()
{
    return qobject_cast<ILayoutPlugin *>(g_layoutPlugin.data());
}

void CommonUtils::SetLayoutPlugin(QObject *layoutPlugin)
{
    if (layoutPlugin && !qobject_cast<ILayoutPlugin *>(layoutPlugin))
        qCWarning(lcCorePlugins) << "layout object does not implement" << ILayoutPlugin_iid;
    g_layoutPlugin = layoutPlugin;
}

QWidget *CommonUtils::GetMainWindow() { return g_mainWindow.data(); }
void CommonUtils::SetMainWindow(QWidget *window) { g_mainWindow = window; }

bool CommonUtils::IsShuttingDown()
{
    return g_shuttingDown.loadAcquire() != 0 || QCoreApplication::closingDown();
}

void CommonUtils::SetShuttingDown(bool shuttingDown)
{
    g_shuttingDown.storeRelease(shuttingDown ? 1 : 0);
}

void CommonUtils::MoveCentre(QDialog *dialog)
{
    if (!dialog)
        return;
    QRect area;
    if (QWidget *parent = dialog->parentWidget())
        area = parent->window()->frameGeometry();
    if (area.isEmpty()) {
        QScreen *screen = QGuiApplication::primaryScreen();
        if (!screen)
            return;
        area = screen->availableGeometry();
    }
    const QSize size = dialog->frameGeometry().size().expandedTo(dialog->sizeHint());
    dialog->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

bool CommonUtils::IsPluginAvailable(const QString &clsid)
{
    PluginContainer *container = Startup::GetPluginContainer();
    return container && container->IsPluginAvailable(clsid);
}

int CommonUtils::MakeCall(const QString &number, int callType)
{
    PluginContainer *container = Startup::GetPluginContainer();
    if (!container) {
        qCWarning(lcCorePlugins) << "MakeCall: no plug-in container";
        return 0;
    }
    QObject *object = container->GetPlugin(QString::fromLatin1(PluginIds::CallUi),
                                           InterfaceId::CallUi);
    auto *call = qobject_cast<ICallUIPlugin *>(object);
    if (!call) {
        qCWarning(lcCorePlugins) << "MakeCall: the call plug-in is not available";
        return 0;
    }
    const int result = call->MakeCall(number, callType);
    if (result == 0)
        qCWarning(lcCorePlugins) << "MakeCall: the call plug-in refused the call, type" << callType;
    return result;
}

void CommonUtils::SetSMSSeperatorConfigValue(bool enabled)
{
    g_separator.storeRelease(enabled ? 1 : 0);
}

bool CommonUtils::GetSMSSeperatorConfigValue() { return g_separator.loadAcquire() != 0; }

void CommonUtils::ThreadCountInc(const QString &file, const QString &function)
{
    const int count = g_threadCount.fetchAndAddOrdered(1) + 1;
    qCDebug(lcCorePlugins) << "thread started:" << file << function << "running" << count;
}

void CommonUtils::ThreadCountDec(const QString &file, const QString &function)
{
    const int count = g_threadCount.fetchAndAddOrdered(-1) - 1;
    if (count < 0) {
        qCWarning(lcCorePlugins) << "thread counter below zero after" << file << function;
        g_threadCount.storeRelease(0);
        return;
    }
    qCDebug(lcCorePlugins) << "thread ended:" << file << function << "running" << count;
}

int CommonUtils::ThreadCount() { return g_threadCount.loadAcquire(); }

bool CommonUtils::WaitForThreadToStop(QThread *thread, int milliseconds)
{
    if (!thread)
        return true;
    if (thread == QThread::currentThread()) {
        qCWarning(lcCorePlugins) << "WaitForThreadToStop called on the thread itself";
        return false;
    }
    const bool stopped = thread->wait(QDeadlineTimer(qMax(0, milliseconds)));
    if (!stopped)
        qCDebug(lcCorePlugins) << "thread still running after" << milliseconds << "ms";
    return stopped;
}
