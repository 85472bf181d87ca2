// SPDX-License-Identifier: GPL-3.0-or-later
#include "OwnFile.h"

#include "CoreLog.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace OwnFile {

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

mode_t modeOf(QFileDevice::Permissions permissions)
{
    mode_t mode = 0;
    const struct
    {
        QFileDevice::Permissions flags;
        mode_t bit;
    } bits[] = {
        {QFileDevice::ReadOwner | QFileDevice::ReadUser, S_IRUSR},
        {QFileDevice::WriteOwner | QFileDevice::WriteUser, S_IWUSR},
        {QFileDevice::ExeOwner | QFileDevice::ExeUser, S_IXUSR},
        {QFileDevice::ReadGroup, S_IRGRP}, {QFileDevice::WriteGroup, S_IWGRP},
        {QFileDevice::ExeGroup, S_IXGRP}, {QFileDevice::ReadOther, S_IROTH},
        {QFileDevice::WriteOther, S_IWOTH}, {QFileDevice::ExeOther, S_IXOTH},
    };
    for (const auto &b : bits) {
        if (permissions & b.flags)
            mode |= b.bit;
    }
    return mode;
}

// Renames (a link itself, not its target) without ever replacing: false with EEXIST when
// the new name is taken.
bool renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without RENAME_NOREPLACE: a hard link fails the same way on a taken name.
    if (::link(from.constData(), to.constData()) != 0)
        return false;
    return ::unlink(from.constData()) == 0;
}

} // namespace

Kind kindOf(const QString &path)
{
    struct stat info{};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Kind::Missing : Kind::Other;
    return S_ISREG(info.st_mode) ? Kind::Plain : Kind::Other;
}

QString moveAside(const QString &path)
{
    const QString stem = path + QStringLiteral(".broken-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
    const QByteArray from = QFile::encodeName(path);
    for (int n = 0; n < 1000; ++n) {
        const QString aside = n == 0 ? stem : stem + QLatin1Char('-') + QString::number(n);
        if (renameNoReplace(from, QFile::encodeName(aside)))
            return aside;
        if (errno != EEXIST) {
            qCWarning(lcCoreSettings) << "cannot move" << path << "aside:" << systemError(errno);
            return QString();
        }
    }
    qCWarning(lcCoreSettings) << "cannot move" << path << "aside: no free name";
    return QString();
}

bool read(const QString &path, QByteArray *bytes, QString *error)
{
    // O_NOFOLLOW: a link is refused, not read through; O_NONBLOCK: a pipe put in the
    // file's place cannot hang the caller before fstat tells what it is.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        setError(error, systemError(errno));
        return false;
    }
    struct stat info{};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        setError(error, QStringLiteral("not a plain file"));
        return false;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setError(error, file.errorString());
        return false;
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        setError(error, file.errorString());
        return false;
    }
    if (bytes)
        *bytes = content;
    return true;
}

bool write(const QString &path, const QByteArray &bytes, QFileDevice::Permissions newFileMode,
           QString *error)
{
    struct stat existing{};
    const bool hadPlainFile = ::lstat(QFile::encodeName(path).constData(), &existing) == 0
        && S_ISREG(existing.st_mode);
    // Created with O_EXCL under a fresh name: never a file someone else prepared.
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open()) {
        setError(error, file.errorString());
        return false;
    }
    const mode_t mode = hadPlainFile ? (existing.st_mode & 07777) : modeOf(newFileMode);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        setError(error, file.errorString());
        return false;
    }
    if (::fchmod(file.handle(), mode) != 0 || ::fsync(file.handle()) != 0) {
        setError(error, systemError(errno));
        return false;
    }
    // rename(2) replaces the name itself: a link there goes, its target is untouched.
    if (::rename(QFile::encodeName(file.fileName()).constData(),
                 QFile::encodeName(path).constData()) != 0) {
        setError(error, systemError(errno));
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

} // namespace OwnFile
