// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Send logic: segment counting, sending, cancelling a send, rewriting a stored message and
// the subscriber card's name. Stateless apart from the last card name; the outcome of a
// send arrives later as SDK events through the message store (SmsSendResult, SMSSentRecord).
#include <QString>

struct SmsRecord;

class SMSEditUILogic
{
public:
    // Thread-safe: the worker thread may be the first to ask.
    static SMSEditUILogic *Instance();
    static void Destroy();

    // count := number of segments of text; unchanged on failure. 0 or 1.
    int SplitLongMessage(QString text, int &count);
    // 0 when the SDK accepted the message for sending ("numbers" separated by ";"), else 1.
    int SendSMS(QString *numbers, QString *content);
    // *handle 0 cancels every send in progress. Null handle: 1 without asking the SDK.
    int CancelSendSMS(int *handle);
    // Writes the record's fields over the stored message (the buffers are not touched).
    int UpdateSms(SmsRecord *record);
    // The card's word by product type (CardName::forProduct); empty when the SDK cannot tell.
    QString GetUserIdentityByString();

    static QString m_strSIMIdentity;

private:
    SMSEditUILogic() = default;
    ~SMSEditUILogic() = default;
    static SMSEditUILogic *m_pInstance;
};
