// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application's log file: every message that passes the logging rules still goes where
// it went before (stderr), and is also appended to "<folder>/dialcrest.log". When the file
// would grow past its cap it is rotated: dialcrest.log becomes dialcrest.log.1, .1 becomes
// .2, and so on; the oldest beyond the kept count is removed. So the folder never holds
// more than (kept + 1) x cap bytes of log, however long the application runs.
#include <QString>

#include "CoreExport.h"

class DIALCREST_CORE_EXPORT LogFile
{
public:
    static constexpr qint64 DefaultMaxBytes = 1024 * 1024;
    static constexpr int DefaultKeptFiles = 3;

    // Starts writing into folder (created when missing). False, with a warning on stderr
    // and logging left as it was, when the folder or the file cannot be opened. Calling it
    // again moves the log to the new folder. Thread-safe once installed.
    static bool Install(const QString &folder, qint64 maxBytes = DefaultMaxBytes,
                        int keptFiles = DefaultKeptFiles);
    // Stops writing to the file and restores the previous message handler.
    static void Uninstall();
    // The file being written, empty when none.
    static QString CurrentFile();
};
