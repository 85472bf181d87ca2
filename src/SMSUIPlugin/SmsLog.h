// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Logging categories of the SMS plug-in, one per subsystem. Enable with
// QT_LOGGING_RULES="sms.*.debug=true".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSmsStore)     // loading, buffers, queries
Q_DECLARE_LOGGING_CATEGORY(lcSmsEvents)    // SDK callbacks
Q_DECLARE_LOGGING_CATEGORY(lcSmsOps)       // delete, move, copy, recover, save
Q_DECLARE_LOGGING_CATEGORY(lcSmsSend)      // send logic
Q_DECLARE_LOGGING_CATEGORY(lcSmsThread)    // worker thread and storage detectors
Q_DECLARE_LOGGING_CATEGORY(lcSmsStatus)    // device, SIM, network and memory status
Q_DECLARE_LOGGING_CATEGORY(lcSmsSettings)  // settings logic and settings page
Q_DECLARE_LOGGING_CATEGORY(lcSmsConfig)    // configuration file
Q_DECLARE_LOGGING_CATEGORY(lcSmsWindow)    // main window, tree, tables, preview
Q_DECLARE_LOGGING_CATEGORY(lcSmsProgress)  // progress dialog
Q_DECLARE_LOGGING_CATEGORY(lcSmsPlugin)    // plug-in entry and services
Q_DECLARE_LOGGING_CATEGORY(lcSmsEditor)    // message editor
