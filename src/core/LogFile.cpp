// SPDX-License-Identifier: GPL-3.0-or-later
#include "LogFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>

#include <cstdio>

namespace {
const QString kFileName = QStringLiteral("dialcrest.log");

struct LogState
{
    QMutex mutex;
    QFile file;
    qint64 maxBytes = LogFile::DefaultMaxBytes;
    int keptFiles = LogFile::DefaultKeptFiles;
    QtMessageHandler previous = nullptr;
    bool installed = false;
};

LogState &state()
{
    static LogState s;
    return s;
}

const char *levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "?";
}

QString rotatedName(const QString &path, int index)
{
    return path + QLatin1Char('.') + QString::number(index);
}

// Shifts the numbered files up by one and starts an empty current file. Mutex held.
void rotateLocked(LogState &s)
{
    const QString path = s.file.fileName();
    s.file.close();
    QFile::remove(rotatedName(path, s.keptFiles));
    for (int i = s.keptFiles - 1; i >= 1; --i)
        QFile::rename(rotatedName(path, i), rotatedName(path, i + 1));
    if (s.keptFiles > 0)
        QFile::rename(path, rotatedName(path, 1));
    else
        QFile::remove(path);
    s.file.setFileName(path);
    if (!s.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        std::fprintf(stderr, "log file %s: %s\n", qPrintable(path),
                     qPrintable(s.file.errorString()));
}

void writeLine(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    LogState &s = state();
    QMutexLocker locker(&s.mutex);
    if (!s.file.isOpen())
        return;
    const QByteArray line = QDateTime::currentDateTime()
                                .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz "))
                                .toUtf8()
        + levelName(type) + ' ' + (context.category ? context.category : "default") + ": "
        + message.toUtf8() + '\n';
    if (s.file.size() > 0 && s.file.size() + line.size() > s.maxBytes)
        rotateLocked(s);
    // A single line longer than the cap is cut, so the cap holds whatever is logged.
    s.file.write(line.left(int(qMin<qint64>(line.size(), s.maxBytes))));
    s.file.flush();
}

void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    writeLine(type, context, message);
    QtMessageHandler previous = nullptr;
    {
        QMutexLocker locker(&state().mutex);
        previous = state().previous;
    }
    if (previous)
        previous(type, context, message);
}
} // namespace

bool LogFile::Install(const QString &folder, qint64 maxBytes, int keptFiles)
{
    LogState &s = state();
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        std::fprintf(stderr, "log folder %s cannot be created\n", qPrintable(folder));
        return false;
    }
    {
        QMutexLocker locker(&s.mutex);
        s.file.close();
        s.file.setFileName(QDir(folder).filePath(kFileName));
        s.maxBytes = qMax<qint64>(maxBytes, 256);
        s.keptFiles = qMax(keptFiles, 0);
        if (!s.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            std::fprintf(stderr, "log file %s: %s\n", qPrintable(s.file.fileName()),
                         qPrintable(s.file.errorString()));
            s.file.setFileName(QString());
            return false;
        }
        if (s.installed)
            return true;
        s.installed = true;
    }
    QtMessageHandler previous = qInstallMessageHandler(handler);
    QMutexLocker locker(&s.mutex);
    s.previous = previous;
    return true;
}

void LogFile::Uninstall()
{
    LogState &s = state();
    QtMessageHandler previous = nullptr;
    {
        QMutexLocker locker(&s.mutex);
        if (!s.installed)
            return;
        s.installed = false;
        s.file.close();
        s.file.setFileName(QString());
        previous = s.previous;
        s.previous = nullptr;
    }
    qInstallMessageHandler(previous);
}

QString LogFile::CurrentFile()
{
    LogState &s = state();
    QMutexLocker locker(&s.mutex);
    return s.file.isOpen() ? s.file.fileName() : QString();
}
