// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The plug-in's message record and the numbering of folders and storages.
//
// A SmsRecord is a plain value: the store keeps heap copies it owns (SMSStatusUILogic),
// windows and the worker hold value copies or pointers borrowed from the store, valid
// until the store removes the record.
#include <QImage>
#include <QString>

#include "utps_sdk.h"

// Folders (tables) and the three roots of the folder tree. Every value from
// EN_POS_INVALID up is invalid; parent and memory lookups answer EN_POS_INVALID for them.
enum _EN_SMS_POSITION {
    EN_LOCAL_OUTBOX = 0,
    EN_LOCAL_INBOX = 1,
    EN_LOCAL_DRAFT = 2,
    EN_LOCAL_FAVORITE = 3,
    EN_LOCAL_TRASH = 4,
    EN_LOCAL_REPORT = 5,
    EN_SIM_OUTBOX = 6,
    EN_SIM_INBOX = 7,
    EN_DEVICE_OUTBOX = 8,
    EN_DEVICE_INBOX = 9,
    EN_LOCAL_CBSBOX = 10,
    EN_POS_NONE = 11,
    EN_SIM_ROOT = 12,
    EN_LOCAL_ROOT = 13,
    EN_DEVICE_ROOT = 14,
    EN_LOCAL_SENTITEMS = 15,
    EN_POS_INVALID = 16
};

struct SmsRecord
{
    int iMsgId = -1;          // SDK id within its memory; -1 in an empty record
    int iReadStatus = 0;      // 1 unread, 0 read
    int enInitialPos = 0;     // folder of origin (_EN_SMS_POSITION)
    int enPos = 0;            // folder it is in now (_EN_SMS_POSITION)
    int iStatus = 0;          // 0 sent, 2 unknown (see IsSendUnknown), other not sent;
                              // report result for a status report
    QString strNumber;        // one or more numbers joined by ";"
    QString strContent;
    QString strTime;          // "yyyyMMddhhmmss", local time
    int iMsgType = 0;         // 1 status report
    int iMsgClass = 3;        // 0 class-0 (flash) message
    int iExtra1 = 0;          // the three extras belong to the SDK: carried, never read
    int iExtra2 = 0;
    int iExtra3 = 0;
    int iMessagePriority = 0; // 2 urgent, 3 emergency, 4 none shown, other normal
    QString strDisplayName;   // phone-book names where found, else numbers
    QString strPbNames;
    QString strDisplayTime;   // strTime in the user's short date-time format
    int iReportResult = 0;    // status report: 0 success, 1 failure, -1 text without result
    QImage imgIcon;           // 16x16 table icon, null when the folder has none
};

// A copy of a PC outbox message (wherever the user keeps it now) whose modem gave no answer
// in time: it may have gone out, so it is neither "sent" nor "not sent" until the SDK says.
bool IsSendUnknown(const SmsRecord &record);

// Parent tree node of a position (one of the three roots), EN_POS_INVALID for 11 and 16+.
int GetParentPos(int position);
// Storage of a position (_UTPS_EN_SMS_MEM value), EN_POS_INVALID for 11 and 16+.
int GetMemPosition(int position);

// SDK record -> local record. With sentItemsBox, a sent PC outbox message (position 0,
// status 0) reads as sent items (15). Returns 0, or 23 when a pointer or the SDK record's
// number pointer is null.
int SmsRecordFromSdk(const _UTPS_ST_SMS_RECORD *sdk, SmsRecord *rec, bool sentItemsBox);
// Local record -> SDK record. The number and content pointers of *sdk borrow the string
// data of rec: they stay valid while rec lives unchanged. Position 15 is written as 0.
// Returns 0, or 23 when sdk is null.
int SmsRecordToSdk(_UTPS_ST_SMS_RECORD *sdk, const SmsRecord &rec);

// A NUL-terminated SDK text, unit for unit (a leading U+FEFF or U+FFFE is text, not a
// byte-order mark); empty for null.
QString SmsTextFromSdk(const UTPS_WCHAR *text);

// "yyyyMMddhhmmss" -> short date-time text of the system locale; fourteen zeros mean now;
// shorter text gives an empty result.
QString SmsDisplayTime(const QString &sdkTime);
// Translation key of a priority; empty when both flags are set or for priority 4.
QString SmsPriorityKey(int priority, bool multiModeCard, bool hideDualMode);
