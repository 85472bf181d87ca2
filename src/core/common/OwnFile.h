// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files the application keeps for itself in its data folder (settings, usage counters).
// Such a name is only ever written as a plain file of ours: whatever else stands there (a
// symbolic link, a folder, a pipe) is renamed aside and a new file takes its place, so
// nothing is ever written through a link and no other file's mode is ever changed.
#include "CoreExport.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace OwnFile {

enum class Kind {
    Missing,  // nothing by that name
    Plain,    // a regular file (the name itself, not what a link points to)
    Other,    // a link (dangling or not), a folder, a device, a pipe, a socket
};

// What stands at path, without following a link.
DIALCREST_CORE_EXPORT Kind kindOf(const QString &path);

// Renames path (the link itself, for a link) to "<path>.broken-<local time>[-n]", never
// replacing an existing name. Returns the new name, or an empty string when it could not
// be moved (the reason is logged).
DIALCREST_CORE_EXPORT QString moveAside(const QString &path);

// The bytes of a plain file, read without following a link and without blocking on a
// pipe. False (with the reason in error) when path is not a plain file or cannot be read.
DIALCREST_CORE_EXPORT bool read(const QString &path, QByteArray *bytes, QString *error = nullptr);

// Replaces path by a new file holding bytes: written beside it, flushed to disk, then
// renamed over the name, so a crash or a full disk leaves the old content, and a link at
// path is replaced rather than followed. A file that was there keeps its mode; a new file
// gets newFileMode. False (with the reason in error) when nothing was replaced.
DIALCREST_CORE_EXPORT bool write(const QString &path, const QByteArray &bytes,
                                 QFileDevice::Permissions newFileMode, QString *error = nullptr);

} // namespace OwnFile
