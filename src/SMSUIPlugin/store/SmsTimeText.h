// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The SDK writes a message's time as "yyyyMMddhhmmss", a local time. Reading the digits
// directly is many times faster than QDateTime::fromString with a format, which matters
// when thousands of messages are loaded or shown.
#include <QDateTime>
#include <QString>

// The date and time the text names; false (and both untouched) unless the text is exactly
// fourteen digits of a valid date and time. Builds no QDateTime, so no time-zone lookup.
bool SmsTimeParts(const QString &text, QDate *date, QTime *time);

// The text as a local date-time; invalid when SmsTimeParts rejects it.
QDateTime SmsTimeFromText(const QString &text);
