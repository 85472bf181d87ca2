// SPDX-License-Identifier: GPL-3.0-or-later
#include "HostLog.h"

Q_LOGGING_CATEGORY(lcHost, "host.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcHostPlugin, "host.plugin", QtInfoMsg)
Q_LOGGING_CATEGORY(lcHostNotify, "host.notify", QtInfoMsg)
Q_LOGGING_CATEGORY(lcHostModem, "host.modem", QtInfoMsg)
