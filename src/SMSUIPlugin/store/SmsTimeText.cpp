// SPDX-License-Identifier: GPL-3.0-or-later
#include "SmsTimeText.h"

bool SmsTimeParts(const QString &text, QDate *date, QTime *time)
{
    if (text.size() != 14)
        return false;
    int parts[6] = {};
    const int widths[6] = {4, 2, 2, 2, 2, 2};
    int at = 0;
    for (int p = 0; p < 6; ++p) {
        for (int i = 0; i < widths[p]; ++i, ++at) {
            const char16_t c = text.at(at).unicode();
            if (c < u'0' || c > u'9')
                return false;
            parts[p] = parts[p] * 10 + (c - u'0');
        }
    }
    if (!QDate::isValid(parts[0], parts[1], parts[2])
        || !QTime::isValid(parts[3], parts[4], parts[5]))
        return false;
    if (date)
        *date = QDate(parts[0], parts[1], parts[2]);
    if (time)
        *time = QTime(parts[3], parts[4], parts[5]);
    return true;
}

QDateTime SmsTimeFromText(const QString &text)
{
    QDate date;
    QTime time;
    if (!SmsTimeParts(text, &date, &time))
        return QDateTime();
    return QDateTime(date, time);
}
