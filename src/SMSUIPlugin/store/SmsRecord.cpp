// SPDX-License-Identifier: GPL-3.0-or-later
#include "SmsRecord.h"
#include "SmsTimeText.h"

#include <QDateTime>
#include <QList>
#include <QLocale>

#include <algorithm>
#include <cstring>

#include "SmsLog.h"
#include "sdk_modem.h"

namespace {

// Each folder's parent tree root and storage, indexed by position.
struct PositionInfo
{
    int parent;
    int memory;
};

constexpr PositionInfo kPositions[EN_POS_INVALID] = {
    {EN_LOCAL_ROOT, UTPS_SMS_MEM_PC},       // 0 PC outbox
    {EN_LOCAL_ROOT, UTPS_SMS_MEM_PC},       // 1 PC inbox
    {EN_LOCAL_ROOT, UTPS_SMS_MEM_PC},       // 2 PC drafts
    {EN_LOCAL_ROOT, UTPS_SMS_MEM_PC},       // 3 PC favourites
    {EN_LOCAL_ROOT, UTPS_SMS_MEM_PC},       // 4 PC trash
    {EN_LOCAL_ROOT, UTPS_SMS_MEM_PC},       // 5 PC status reports
    {EN_SIM_ROOT, UTPS_SMS_MEM_SIM},        // 6 SIM outbox
    {EN_SIM_ROOT, UTPS_SMS_MEM_SIM},        // 7 SIM inbox
    {EN_DEVICE_ROOT, UTPS_SMS_MEM_DEVICE},  // 8 device outbox
    {EN_DEVICE_ROOT, UTPS_SMS_MEM_DEVICE},  // 9 device inbox
    {EN_LOCAL_ROOT, UTPS_SMS_MEM_PC},       // 10 cell-broadcast box
    {EN_POS_INVALID, EN_POS_INVALID},       // 11 no folder
    {EN_SIM_ROOT, UTPS_SMS_MEM_SIM},        // 12 SIM root
    {EN_LOCAL_ROOT, UTPS_SMS_MEM_PC},       // 13 PC root
    {EN_DEVICE_ROOT, UTPS_SMS_MEM_DEVICE},  // 14 device root
    {EN_LOCAL_ROOT, UTPS_SMS_MEM_PC},       // 15 PC sent items
};

bool isValidPosition(int position)
{
    return position >= 0 && position < EN_POS_INVALID;
}


const UTPS_WCHAR *toSdkText(const QString &text)
{
    // utf16() of a null QString is a valid empty string, never null.
    return reinterpret_cast<const UTPS_WCHAR *>(text.utf16());
}

// Whether a date-time format shows the time zone ('t' outside quotes).
bool showsTimeZone(const QString &format)
{
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('t'))
            return true;
    }
    return false;
}

// A time format made of hours, minutes, seconds, an AM/PM marker and literal text, written
// digit by digit: most languages' short time formats are. Qt's own writer costs a
// microsecond a message. Set up only when its text equals the locale's for a set of
// probe times (so a locale with other digits or other rules is left to Qt).
class TimeWriter
{
public:
    bool setUp(const QString &format, const QLocale &locale)
    {
        m_parts.clear();
        if (!parse(format))
            return false;
        m_am = locale.amText();
        m_pm = locale.pmText();
        for (const QTime probe : {QTime(0, 0, 0), QTime(1, 2, 3), QTime(9, 59, 59), QTime(11, 30, 5),
                                  QTime(12, 0, 0), QTime(12, 34, 56), QTime(13, 5, 9), QTime(23, 59, 59)}) {
            QString text;
            write(probe, text);
            if (text != locale.toString(probe, QLocale::ShortFormat))
                return false;
        }
        return true;
    }

    // Appends the time's text to text.
    void write(QTime time, QString &text) const
    {
        for (const Part &part : m_parts) {
            int value = -1;
            switch (part.field) {
            case 'H': value = time.hour(); break;
            case 'h': value = m_twelveHour ? (time.hour() + 11) % 12 + 1 : time.hour(); break;
            case 'm': value = time.minute(); break;
            case 's': value = time.second(); break;
            case 'A': text += (time.hour() < 12 ? m_am : m_pm).toUpper(); break;
            case 'a': text += (time.hour() < 12 ? m_am : m_pm).toLower(); break;
            default: text += part.text; break;
            }
            if (value < 0)
                continue;
            if (value >= 10 || part.width == 2)
                text += QChar(u'0' + value / 10);
            text += QChar(u'0' + value % 10);
        }
    }

private:
    struct Part
    {
        char field = 0;   // 0: literal text
        int width = 1;
        QString text;
    };

    bool parse(const QString &format)
    {
        m_twelveHour = false;
        for (qsizetype i = 0; i < format.size();) {
            const QChar c = format.at(i);
            if (c == QLatin1Char('\'')) {
                const qsizetype end = format.indexOf(QLatin1Char('\''), i + 1);
                if (end < 0)
                    return false;
                // '' is a quote; 'text' is text.
                m_parts.append({0, 1, end == i + 1 ? QStringLiteral("'") : format.mid(i + 1, end - i - 1)});
                i = end + 1;
                continue;
            }
            if (!c.isLetter()) {
                m_parts.append({0, 1, QString(c)});
                ++i;
                continue;
            }
            qsizetype run = 1;
            while (i + run < format.size() && format.at(i + run) == c)
                ++run;
            const char field = char(c.unicode() < 128 ? c.unicode() : 0);
            if ((field == 'H' || field == 'h' || field == 'm' || field == 's') && run <= 2) {
                m_parts.append({field, int(run), {}});
            } else if ((field == 'A' || field == 'a') && run == 1) {
                // A or AP upper case, a or ap lower case; mixed forms are left to Qt.
                const QChar next = i + 1 < format.size() ? format.at(i + 1) : QChar();
                if (next == QLatin1Char(field == 'A' ? 'P' : 'p'))
                    ++run;
                else if (next == QLatin1Char('P') || next == QLatin1Char('p'))
                    return false;
                m_parts.append({field, 1, {}});
                m_twelveHour = true;
            } else {
                return false;
            }
            i += run;
        }
        return true;
    }

    QList<Part> m_parts;
    QString m_am;
    QString m_pm;
    bool m_twelveHour = false;
};

// How the default locale writes a short date-time, looked up again only when the default
// locale changes (per thread: the store converts on more than one thread).
struct DisplayFormat
{
    bool known = false;
    QLocale locale;
    bool split = false;       // the text is the date's text, a space and the time's text
    QDate lastDate;           // a storage's messages share their days: the last date's text
    QString lastDateText;
    bool ownTimeWriter = false;
    TimeWriter timeWriter;
};

DisplayFormat &displayFormat()
{
    thread_local DisplayFormat cached;
    const QLocale current;
    if (!cached.known || cached.locale != current) {
        cached = DisplayFormat();
        cached.locale = current;
        const QString format = current.dateTimeFormat(QLocale::ShortFormat);
        cached.split = !showsTimeZone(format)
            && format == current.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ')
                    + current.timeFormat(QLocale::ShortFormat);
        cached.ownTimeWriter = cached.split
            && cached.timeWriter.setUp(current.timeFormat(QLocale::ShortFormat), current);
        cached.known = true;
    }
    return cached;
}

} // namespace

bool IsSendUnknown(const SmsRecord &record)
{
    const bool outgoing = record.enPos == EN_LOCAL_OUTBOX
        || ((record.enPos == EN_LOCAL_DRAFT || record.enPos == EN_LOCAL_FAVORITE || record.enPos == EN_LOCAL_TRASH)
            && record.enInitialPos == EN_LOCAL_OUTBOX);
    return outgoing && record.iStatus == UTPS_SEND_STATUS_UNKNOWN;
}

int GetParentPos(int position)
{
    return isValidPosition(position) ? kPositions[position].parent : int(EN_POS_INVALID);
}

int GetMemPosition(int position)
{
    return isValidPosition(position) ? kPositions[position].memory : int(EN_POS_INVALID);
}

int SmsRecordFromSdk(const _UTPS_ST_SMS_RECORD *sdk, SmsRecord *rec, bool sentItemsBox)
{
    if (!sdk || !rec || !sdk->pszNumber) {
        qCWarning(lcSmsStore) << "record conversion from the SDK: invalid input params";
        return 23;
    }
    rec->iMsgId = sdk->iMsgId;
    rec->iReadStatus = sdk->iReadStatus;
    rec->enInitialPos = sdk->iInitialPos;
    rec->enPos = sdk->iPos;
    rec->iStatus = sdk->iStatus;
    rec->iMsgType = sdk->iMsgType;
    rec->iMsgClass = sdk->iMsgClass;
    rec->iExtra1 = sdk->iExtra1;
    rec->iExtra2 = sdk->iExtra2;
    rec->iExtra3 = sdk->iExtra3;
    rec->iMessagePriority = sdk->iPriority;
    rec->strNumber = SmsTextFromSdk(sdk->pszNumber);
    rec->strContent = SmsTextFromSdk(sdk->pszContent);
    // The SDK keeps the array terminated, but never read past it whatever it holds.
    const auto timeEnd = std::find(std::begin(sdk->szTime), std::end(sdk->szTime), 0);
    rec->strTime = QString::fromUtf16(reinterpret_cast<const char16_t *>(sdk->szTime),
                                      timeEnd - std::begin(sdk->szTime));

    // The SDK has no sent-items folder: a sent message of the PC outbox is shown there.
    // A sent message that later went to the trash keeps initial position 0; reading it as 15
    // would only matter for recover, and the SDK would store a 15 as 0 anyway.
    if (sentItemsBox && sdk->iPos == EN_LOCAL_OUTBOX && sdk->iStatus == 0) {
        rec->enInitialPos = EN_LOCAL_SENTITEMS;
        rec->enPos = EN_LOCAL_SENTITEMS;
    }
    return 0;
}

int SmsRecordToSdk(_UTPS_ST_SMS_RECORD *sdk, const SmsRecord &rec)
{
    if (!sdk) {
        qCWarning(lcSmsStore) << "record conversion to the SDK: null SDK record";
        return 23;
    }
    sdk->iMsgId = rec.iMsgId;
    sdk->iReadStatus = rec.iReadStatus;
    sdk->iInitialPos = rec.enInitialPos;
    sdk->iPos = rec.enPos;
    sdk->iStatus = rec.iStatus;
    sdk->iMsgType = rec.iMsgType;
    sdk->iMsgClass = rec.iMsgClass;
    sdk->iExtra1 = rec.iExtra1;
    sdk->iExtra2 = rec.iExtra2;
    sdk->iExtra3 = rec.iExtra3;
    sdk->iPriority = rec.iMessagePriority;
    sdk->pszNumber = const_cast<UTPS_WCHAR *>(toSdkText(rec.strNumber));
    sdk->pszContent = const_cast<UTPS_WCHAR *>(toSdkText(rec.strContent));

    // Sent items exist only on this side; the SDK stores them in the PC outbox.
    if (rec.enPos == EN_LOCAL_SENTITEMS) {
        sdk->iPos = EN_LOCAL_OUTBOX;
        sdk->iInitialPos = EN_LOCAL_OUTBOX;
    }
    if (rec.enInitialPos == EN_LOCAL_SENTITEMS)
        sdk->iInitialPos = EN_LOCAL_OUTBOX;

    // Keep at least one NUL at the end of the array whatever the length of the text.
    std::memset(sdk->szTime, 0, sizeof(sdk->szTime));
    const qsizetype units = std::min<qsizetype>(rec.strTime.size(), UTPS_TIME_LEN - 1);
    std::memcpy(sdk->szTime, rec.strTime.utf16(), size_t(units) * sizeof(UTPS_WCHAR));
    return 0;
}

QString SmsDisplayTime(const QString &sdkTime)
{
    static const QString kNow = QStringLiteral("00000000000000");
    if (sdkTime.size() < kNow.size()) {
        qCDebug(lcSmsStore) << "display time: invalid input param" << sdkTime;
        return QString();
    }
    // The interface language's way of writing a time (the host makes it the default).
    if (sdkTime == kNow)
        return QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    QDate date;
    QTime time;
    if (!SmsTimeParts(sdkTime, &date, &time))
        return QString();
    DisplayFormat &shown = displayFormat();
    if (!shown.split)
        return shown.locale.toString(QDateTime(date, time), QLocale::ShortFormat);
    // Written as its date and its time, the text needs no local-time conversion, which
    // re-reads the system's zone file on every call and was a quarter of a storage's
    // loading; and the date's text, the same for a day's messages, is written once.
    if (date != shown.lastDate) {
        shown.lastDate = date;
        shown.lastDateText = shown.locale.toString(date, QLocale::ShortFormat);
    }
    if (!shown.ownTimeWriter)
        return shown.lastDateText + QLatin1Char(' ') + shown.locale.toString(time, QLocale::ShortFormat);
    QString text;
    text.reserve(shown.lastDateText.size() + 16);
    text += shown.lastDateText;
    text += QLatin1Char(' ');
    shown.timeWriter.write(time, text);
    return text;
}

QString SmsPriorityKey(int priority, bool multiModeCard, bool hideDualMode)
{
    if (multiModeCard && hideDualMode)
        return QString();
    switch (priority) {
    case UTPS_SMS_PRIORITY_NONE:
        return QString();
    case UTPS_SMS_PRIORITY_URGENT:
        return QStringLiteral("IDS_RAD_URGENT");
    case UTPS_SMS_PRIORITY_EMERGENCY:
        return QStringLiteral("IDS_RAD_EMERGENCY");
    default:
        qCDebug(lcSmsStore) << "priority" << priority << "shown as normal";
        return QStringLiteral("IDS_RAD_NORMAL");
    }
}

QString SmsTextFromSdk(const UTPS_WCHAR *text)
{
    // Not QString::fromUtf16: it reads a leading U+FEFF / U+FFFE as a byte-order mark and
    // drops it or byte-swaps the text. A message is taken unit for unit as the SDK has it.
    return text ? QStringView(reinterpret_cast<const char16_t *>(text)).toString() : QString();
}
