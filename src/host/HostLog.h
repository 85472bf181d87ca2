// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Logging categories of the application. Enable with QT_LOGGING_RULES="host.*.debug=true".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcHost)        // start-up, shutdown, options
Q_DECLARE_LOGGING_CATEGORY(lcHostPlugin)  // loading and driving the SMS plug-in
Q_DECLARE_LOGGING_CATEGORY(lcHostNotify)  // notify service routing
Q_DECLARE_LOGGING_CATEGORY(lcHostModem)   // simulator control from the Modem menu
