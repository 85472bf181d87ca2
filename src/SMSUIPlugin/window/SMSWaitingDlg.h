// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Progress of a long operation on messages (send, delete, move, copy, recover, drag): a
// small modal dialog, built anew per operation, whose bar advances per completed unit and
// creeps forward in between so that it never stands still. It closes itself three seconds
// after the last unit and offers Cancel while work is running.
#include <QDialog>
#include <QMutex>
#include <QPointer>
#include <QWidget>

class QCloseEvent;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QResizeEvent;
class QTimer;
class QVBoxLayout;
class SMSThreadUI;
class SMSWaitingDlg;

// The window the user sees. Escape never closes it; closing it by other means is accepted.
class WaitingDlg : public QDialog
{
    Q_OBJECT
public:
    explicit WaitingDlg(SMSWaitingDlg *owner, QWidget *parent = nullptr);

    QFrame *frame() const { return m_pFrame; }
    SMSWaitingDlg *owner() const { return m_pOwner; }

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    SMSWaitingDlg *m_pOwner;
    QFrame *m_pFrame;
};

class SMSWaitingDlg : public QWidget
{
    Q_OBJECT
public:
    // Operation codes of ShowAnimationDialog.
    enum Operation {
        OpSend = 0,
        OpDelete = 1,
        OpMove = 2,
        OpCopy = 3,
        OpRecover = 4,
        OpDragCopy = 9
    };

    explicit SMSWaitingDlg(QWidget *parent = nullptr);
    ~SMSWaitingDlg() override;

    // Process-wide instance, created on first call; Destroy() frees it. Independent of the
    // progress dialog the main window creates for itself. Whoever adopts it may also delete
    // it directly: Instance() then makes a new one and Destroy() does nothing.
    static SMSWaitingDlg *Instance();
    static void Destroy();

    // Builds a new dialog for the operation and shows it. Set m_iSteps and m_iMaximum first.
    void ShowAnimationDialog(QWidget *parent, int operation);
    void CreateAnimation(QWidget *parent, const QString &text);

    // Sets the "done/total" label (when done <= total) and counts one unit as completed.
    void updateProgressBarLabel(int done, int total);
    // Texts shorter than 26 characters are translation keys; longer ones are shown as given.
    void changeLabel(const QString &text);
    // Shows text elided at its right end to fit the label.
    void changeLabelEx(const QString &text);
    void onCompleteChangeButtonText();
    // The label says that the operation succeeded for every message (instead of still
    // saying what is being done beside the OK button).
    void showSucceeded();
    void EnableCancelButton();
    void DisableCancelButton();
    bool IsProgressBarCanceled() const { return m_bCanceled; }
    // The main window clears the flag once it has acted on a cancel.
    void SetProgressBarCanceled(bool canceled) { m_bCanceled = canceled; }
    int operation() const { return m_iOperation; }
    // The current dialog, null before the first operation; owned by this object.
    WaitingDlg *dialog() const { return m_pDialog; }

    // Text of a translation key in the plug-in's context. Pass a QString: a string literal
    // would pick QObject::tr instead.
    static QString tr(const QString &key);

    void OnTimerStart(int milliseconds);
    void startProgressTimer(int milliseconds);

public Q_SLOTS:
    void closeWaitingDialog();
    void updateProgressBar();
    void onClickCancelButton();
    void stopTimer();
    void updateProgressBarForSmoothness();

public:
    // Set directly by the callers before an operation is shown.
    int m_iNextHandledUnit = 0;  // percentage of the next unit; creeping stops below it
    int m_iSteps = 0;            // units completed
    int m_iMaximum = 0;          // units of the operation

private:
    void deleteSmoothnessTimer();
    void deleteStopTimer();
    void resetCounters();

    QMutex m_mutex;  // guards the counters against the two progress slots
    QPointer<QVBoxLayout> m_pLayout;
    QPointer<QLabel> m_pMessageLabel;
    QPointer<QLabel> m_pCountLabel;
    QPointer<QProgressBar> m_pProgressBar;
    QTimer *m_pStoptimer = nullptr;
    QTimer *m_pSmoothTimer = nullptr;
    QPointer<QPushButton> m_pCancelButton;
    bool m_bCanceled = false;
    // Owned, but also a child of the caller's widget: a QPointer notices when that parent
    // took it down first.
    QPointer<WaitingDlg> m_pDialog;
    SMSThreadUI *m_pCancelThread = nullptr;  // cancels a send; owned
    int m_iOperation = -1;
};
