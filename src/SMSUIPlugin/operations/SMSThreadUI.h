// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The worker thread: runs delete, move, copy, drag, recover and send batches off the GUI
// thread, one record at a time, and reports each record with a signal that reaches the
// window queued, in order, before finished().
//
// Every record handled yields exactly one signal, success or failure; a batch that cannot
// start (no store, no transaction) reports every record as failed. Only the stop flag ends
// a batch without reporting the records not yet handled. So a progress dialog that counts
// one unit per record always sees its last unit unless the user cancelled.
//
// A batch's per-record signals come after its commit, all together (emitted on this
// object's own thread, in one go): until then the SDK may still roll the batch back, and
// a failed commit reports every handled record as failed. batchProgress and
// batchProgressShown are the only signals while the batch runs.
#include <QList>
#include <QMutex>
#include <QString>
#include <QThread>

#include <atomic>

#include "store/SmsRecord.h"

enum _SMS_OPERATION_TYPE {
    DC_SMS_SELECTED_DELETE = 0,
    DC_SMS_SEND = 2,
    DC_SMS_RECOVER = 3,
    DC_SMS_DRAG_MOVE = 4,
    DC_SMS_MOVE = 5,
    DC_SMS_COPY = 6,
    DC_SMS_COPY_7 = 7,
    DC_SMS_COPY_8 = 8,
    DC_SMS_DRAG_COPY = 9,
    DC_SMS_CANCEL_SEND = 11
};

class SMSThreadUI : public QThread
{
    Q_OBJECT

public:
    explicit SMSThreadUI(QObject *parent = nullptr);
    // Waits for a running operation to end.
    ~SMSThreadUI() override;

    void SetSmsThreadOperation(_SMS_OPERATION_TYPE operation, QList<SmsRecord> &records,
                               int memory, int destination, int selectedNode);
    void SetSendSmsThreadOperation(_SMS_OPERATION_TYPE operation, QString &recipients,
                                   QString content);
    static void StopSmsThread();
    // Destination of a move or copy of a record from source. With a storage root selected
    // it follows the source (SIM <-> device, else the PC folder of the same kind); other
    // sources leave destination as it was.
    void determineDestination(int &destination, int source);

    int operation() const { return m_iOperation; }
    // Target folder of the batch as set by SetSmsThreadOperation (written on the GUI
    // thread only, before start, so reading it there needs no lock).
    int destination() const { return m_iDestination; }
    // The tree node selected when the batch was set up (GUI thread, like destination()).
    int selectedNode() const { return m_iSelectedNode; }
    // Held for the whole of run() and taken by the destructor after wait().
    QMutex *runMutex() { return &m_runMutex; }

    // Raised by the progress dialog's Cancel, read between records and before a send goes
    // to the SDK, cleared by the next Set...Operation (not by a cancel-send's) and at the
    // end of a stopped batch.
    static std::atomic<bool> m_bStopSmsThread;

signals:
    // index of the record deleted; a failed delete reports -(index + 1).
    void deleteSignalEvent(int index);
    // second argument 0: result reported by the SDK; 1: the send was refused before the
    // SDK accepted it (one failure per recipient, as no SDK result will follow).
    void SendSignalEvent(bool sent, int origin);
    void recoverSignalEvent(bool recovered, int index);
    void moveOrCopyEvent(bool done, int index);
    void smsDragged(bool done);
    // handled of total records have been tried; their results follow after the commit.
    void batchProgress(int handled, int total);
    // The same, for a display: after the first record and then at most every 40 ms.
    void batchProgressShown(int handled, int total);

public slots:
    void onSendResult(bool bSendResult);

protected:
    void run() override;

private:
    void runBatch();
    void runSend();
    bool handleRecord(const SmsRecord &record, int &destination);
    void reportAll(const QList<bool> &outcomes);
    void report(int operation, int index, bool ok);
    bool isRefusedDrag(const SmsRecord &record) const;

    int m_iOperation = -1;
    QList<SmsRecord> m_lstRecords;
    int m_iMemory = 0;
    int m_iDestination = -1;
    int m_iSelectedNode = EN_POS_INVALID;
    QString m_strRecipients;
    QString m_strContent;
    // Held for the whole of run(); the setters and the destructor take it, so that what
    // the last run did is ordered before the next set-up or the end, however long ago
    // the thread stopped.
    QMutex m_runMutex;
};
