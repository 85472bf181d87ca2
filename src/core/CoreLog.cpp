// SPDX-License-Identifier: GPL-3.0-or-later
#include "CoreLog.h"

Q_LOGGING_CATEGORY(lcCoreSettings, "core.settings", QtInfoMsg)
Q_LOGGING_CATEGORY(lcCoreI18n, "core.i18n", QtInfoMsg)
Q_LOGGING_CATEGORY(lcCoreUi, "core.ui", QtInfoMsg)
Q_LOGGING_CATEGORY(lcCoreSound, "core.sound", QtInfoMsg)
Q_LOGGING_CATEGORY(lcCorePlugins, "core.plugins", QtInfoMsg)
