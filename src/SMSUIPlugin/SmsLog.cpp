// SPDX-License-Identifier: GPL-3.0-or-later
#include "SmsLog.h"

Q_LOGGING_CATEGORY(lcSmsStore, "sms.store", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSmsEvents, "sms.events", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSmsOps, "sms.ops", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSmsSend, "sms.send", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSmsThread, "sms.thread", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSmsStatus, "sms.status", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSmsSettings, "sms.settings", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSmsConfig, "sms.config", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSmsWindow, "sms.window", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSmsProgress, "sms.progress", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSmsPlugin, "sms.plugin", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSmsEditor, "sms.editor", QtInfoMsg)
