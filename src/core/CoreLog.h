// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Logging categories of the host framework. Enable with QT_LOGGING_RULES="core.*.debug=true".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcCoreSettings)  // data folder, settings file, paths
Q_DECLARE_LOGGING_CATEGORY(lcCoreI18n)      // catalogues and language switches
Q_DECLARE_LOGGING_CATEGORY(lcCoreUi)        // message boxes, dialogs, toolbars, menus
Q_DECLARE_LOGGING_CATEGORY(lcCoreSound)     // sound playback
Q_DECLARE_LOGGING_CATEGORY(lcCorePlugins)   // plug-in container, calls, threads
