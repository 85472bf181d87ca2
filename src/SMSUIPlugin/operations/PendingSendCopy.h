// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The unsent copy that stands for a message while it is going out. The SDK stores its own
// copy only once every recipient has had its turn, so a send to many recipients that is
// cut short (the window closed, the process killed) would otherwise leave no trace of the
// message. This copy is stored in the PC outbox before the first recipient, names the
// recipients that have not got the message yet, and is rewritten after each of them; it
// is dropped once the SDK's own copy is stored.
#include <QObject>
#include <QString>
#include <QStringList>

class SMSStatusUILogic;

class PendingSendCopy : public QObject
{
    Q_OBJECT
public:
    explicit PendingSendCopy(QObject *parent = nullptr);

    // Listens to the store's per-part send results (queued onto this object's thread).
    void follow(SMSStatusUILogic *store);

    // Stores the copy before anything goes out. False (and logged) when it cannot be
    // stored; the send may still go ahead, it is only unprotected.
    bool begin(const QString &recipients, const QString &content);
    // One part of the message reached, or did not reach, number. A recipient is done when
    // its last part went out and none failed; the copy is rewritten when one is.
    void recordResult(const QString &number, int part, int parts, bool sent);
    // The send ended. sentCopyStored: the SDK stored its own copy, which replaces this
    // one; otherwise this copy stays as the record of the send. Returns the id of a copy
    // that was removed (so the caller can drop it from a folder that read it meanwhile),
    // else -1.
    int finish(bool sentCopyStored);
    // The SDK refused the message before anything went out: the copy goes.
    int abandon();

    bool isActive() const { return m_iCopyId >= 0; }
    int copyId() const { return m_iCopyId; }
    // Recipients that have not got the message (still waiting, or failed), in send order.
    QStringList remaining() const { return m_lstRemaining; }
    int reachedCount() const { return m_iReached; }

private:
    bool rewrite();
    int removeCopy();

    int m_iCopyId = -1;
    QString m_strContent;
    QString m_strAllRecipients;
    QString m_strTime;
    QStringList m_lstRemaining;
    int m_iReached = 0;
    // Whether some part of the recipient now going out failed: it then stays named.
    bool m_bCurrentFailed = false;
};
