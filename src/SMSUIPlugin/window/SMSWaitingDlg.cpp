// SPDX-License-Identifier: GPL-3.0-or-later
#include "SMSWaitingDlg.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMutexLocker>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "Change.h"
#include "CommonUtils.h"
#include "operations/SMSThreadUI.h"
#include "SmsLog.h"

namespace {

SMSWaitingDlg *s_pInstance = nullptr;

constexpr int kSmoothnessIntervalMs = 500;
constexpr int kCloseDelayMs = 3000;
// Shorter texts are translation keys; the longest key in use has 25 characters.
constexpr int kLabelKeyLimit = 26;

QString labelKeyOf(int operation)
{
    switch (operation) {
    case SMSWaitingDlg::OpSend:
        return QStringLiteral("IDS_STC_SENDINGSMS");
    case SMSWaitingDlg::OpDelete:
        return QStringLiteral("IDS_STC_DELETINGSMS");
    case SMSWaitingDlg::OpMove:
    case SMSWaitingDlg::OpRecover:
        return QStringLiteral("IDS_STC_MOVINGSMS");
    case SMSWaitingDlg::OpCopy:
    case SMSWaitingDlg::OpDragCopy:
        return QStringLiteral("IDS_STC_COPYINGSMS");
    default:
        return QString();
    }
}

QString doneKeyOf(int operation)
{
    switch (operation) {
    case SMSWaitingDlg::OpDelete:
        return QStringLiteral("IDS_STR_ALL_DELETED");
    case SMSWaitingDlg::OpMove:
        return QStringLiteral("IDS_STR_ALL_MOVED");
    case SMSWaitingDlg::OpRecover:
        return QStringLiteral("IDS_STR_ALL_RESTORED");
    case SMSWaitingDlg::OpCopy:
    case SMSWaitingDlg::OpDragCopy:
        return QStringLiteral("IDS_STR_ALL_COPIED");
    default:
        return QString();
    }
}

// One row of the dialog: the widget centred both ways.
void addCentredRow(QVBoxLayout *layout, QWidget *widget)
{
    auto *row = new QHBoxLayout;
    row->addWidget(widget, 0, Qt::AlignHCenter | Qt::AlignVCenter);
    layout->addLayout(row);
}

} // namespace

WaitingDlg::WaitingDlg(SMSWaitingDlg *owner, QWidget *parent)
    : QDialog(parent)
    , m_pOwner(owner)
    , m_pFrame(new QFrame(this))
{
    m_pFrame->setObjectName(QStringLiteral("SMS_WaitingDialogFrame"));
    m_pFrame->setGeometry(rect());
    m_pFrame->lower();
}

// Escape lands here; the progress dialog only closes on its own or through its buttons.
void WaitingDlg::reject()
{
}

// QDialog::closeEvent would go through reject() and ignore the close.
void WaitingDlg::closeEvent(QCloseEvent *event)
{
    event->accept();
}

void WaitingDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_pFrame->setGeometry(rect());
}

SMSWaitingDlg::SMSWaitingDlg(QWidget *parent)
    : QWidget(parent)
    , m_pCancelThread(new SMSThreadUI(this))
{
    m_pCancelThread->setObjectName(QStringLiteral("SMSWaitingDlg_CancelSendThread"));
}

SMSWaitingDlg::~SMSWaitingDlg()
{
    // The main window may adopt the process-wide instance as its own dialog and delete it
    // with itself; forgetting it here keeps a later Destroy() from deleting it again.
    if (s_pInstance == this)
        s_pInstance = nullptr;
    deleteSmoothnessTimer();
    deleteStopTimer();
    delete m_pDialog.data();
    if (m_pCancelThread->isRunning())
        m_pCancelThread->wait();
    delete m_pCancelThread;
}

SMSWaitingDlg *SMSWaitingDlg::Instance()
{
    if (!s_pInstance)
        s_pInstance = new SMSWaitingDlg;
    return s_pInstance;
}

void SMSWaitingDlg::Destroy()
{
    SMSWaitingDlg *instance = s_pInstance;
    s_pInstance = nullptr;
    delete instance;
}

QString SMSWaitingDlg::tr(const QString &key)
{
    return Change::tr(key, QStringLiteral("SMSUIPlugin"));
}

void SMSWaitingDlg::ShowAnimationDialog(QWidget *parent, int operation)
{
    const QString key = labelKeyOf(operation);
    m_iOperation = operation;
    CreateAnimation(parent, key.isEmpty() ? QString() : tr(key));
    if (!m_pDialog)
        return;
    if (m_pDialog->isHidden())
        CommonUtils::MoveCentre(m_pDialog);
    m_pDialog->show();
}

void SMSWaitingDlg::CreateAnimation(QWidget *parent, const QString &text)
{
    // A close still pending from the previous operation would otherwise close this one.
    deleteSmoothnessTimer();
    deleteStopTimer();
    delete m_pDialog.data();

    // Parent set after construction: the window flags below make it a window again.
    m_pDialog = new WaitingDlg(this);
    m_pDialog->setObjectName(QStringLiteral("SMSUIPlugin_WaitingDialog"));
    m_pDialog->setParent(parent);
    m_pDialog->setFixedSize(410, 170);

    m_pLayout = new QVBoxLayout;
    m_pMessageLabel = new QLabel(m_pDialog);
    m_pCountLabel = new QLabel(m_pDialog);
    m_pProgressBar = new QProgressBar(m_pDialog);
    m_pCancelButton = new QPushButton(m_pDialog);
    m_pMessageLabel->setObjectName(QStringLiteral("SMSUIPlugin_WaitingDialogLabel"));
    m_pCountLabel->setObjectName(QStringLiteral("SMSUIPlugin_WaitingDialogCount"));
    m_pProgressBar->setObjectName(QStringLiteral("SMSUIPlugin_WaitingDialogProgress"));
    m_pCancelButton->setObjectName(QStringLiteral("SMSUIPlugin_WaitingDialogCancel"));

    m_pMessageLabel->setAlignment(Qt::AlignCenter);
    addCentredRow(m_pLayout, m_pMessageLabel);
    addCentredRow(m_pLayout, m_pCountLabel);
    addCentredRow(m_pLayout, m_pProgressBar);
    addCentredRow(m_pLayout, m_pCancelButton);
    m_pDialog->setLayout(m_pLayout);

    m_pProgressBar->setFormat(QStringLiteral(" "));  // no percentage text
    m_pProgressBar->setFixedSize(340, 23);
    m_pProgressBar->setRange(0, 100);

    // A title bar of its own (without a close button: it closes on its own or through its
    // button), so that it reads as a window over the main one, not as part of it.
    m_pDialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_pDialog->setWindowTitle(text);
    m_pMessageLabel->setText(text);
    m_pMessageLabel->setScaledContents(true);
    m_pCountLabel->setMinimumWidth(100);
    m_pCountLabel->setAlignment(Qt::AlignCenter);
    m_pCountLabel->setText(QStringLiteral("0/") + QString::number(m_iMaximum));

    m_pCancelButton->setText(tr(QStringLiteral("IDS_BTN_CANCEL")));
    connect(m_pCancelButton, &QPushButton::clicked, this, &SMSWaitingDlg::onClickCancelButton);
    m_pDialog->setWindowModality(Qt::WindowModal);

    startProgressTimer(kSmoothnessIntervalMs);
    // A single unit cannot be cancelled half-way.
    if (m_iMaximum < 2)
        m_pCancelButton->setEnabled(false);
}

void SMSWaitingDlg::updateProgressBarLabel(int done, int total)
{
    if (done <= total && m_pCountLabel)
        m_pCountLabel->setText(QString::number(done) + QLatin1Char('/') + QString::number(total));
    updateProgressBar();
}

void SMSWaitingDlg::changeLabel(const QString &text)
{
    if (!m_pMessageLabel)
        return;
    m_pMessageLabel->setText(text.size() < kLabelKeyLimit ? tr(text) : text);
}

void SMSWaitingDlg::changeLabelEx(const QString &text)
{
    if (!m_pMessageLabel)
        return;
    // The label is only as wide as the text it had; the row can give it the dialog's
    // width, so a longer verdict is elided to that, not cut to the old text's length.
    int width = m_pMessageLabel->width();
    if (m_pDialog && m_pLayout) {
        const QMargins margins = m_pLayout->contentsMargins();
        width = qMax(width, m_pDialog->width() - margins.left() - margins.right());
    }
    const QFontMetrics metrics(m_pMessageLabel->font());
    m_pMessageLabel->setText(metrics.elidedText(text, Qt::ElideRight, width - 25));
}

void SMSWaitingDlg::onCompleteChangeButtonText()
{
    if (!m_pCancelButton)
        return;
    m_pCancelButton->setEnabled(true);
    m_pCancelButton->setText(Change::tr(QStringLiteral("IDS_OK"), QStringLiteral("XFramePlugin")));
}

void SMSWaitingDlg::showSucceeded()
{
    const QString key = doneKeyOf(m_iOperation);
    if (!key.isEmpty())
        changeLabelEx(tr(key));
}

void SMSWaitingDlg::EnableCancelButton()
{
    if (m_pCancelButton)
        m_pCancelButton->setEnabled(true);
}

void SMSWaitingDlg::DisableCancelButton()
{
    if (m_pCancelButton)
        m_pCancelButton->setEnabled(false);
}

void SMSWaitingDlg::startProgressTimer(int milliseconds)
{
    if (m_iMaximum == 0) {
        qCWarning(lcSmsProgress) << "The value of m_iMaximum is zero";
        return;
    }
    m_iNextHandledUnit = 100 / m_iMaximum;
    deleteSmoothnessTimer();
    m_pSmoothTimer = new QTimer(this);
    m_pSmoothTimer->setObjectName(QStringLiteral("SMSWaitingDlg_SmoothnessTimer"));
    connect(m_pSmoothTimer, &QTimer::timeout, this,
            &SMSWaitingDlg::updateProgressBarForSmoothness);
    m_pSmoothTimer->start(milliseconds);
}

void SMSWaitingDlg::updateProgressBarForSmoothness()
{
    QMutexLocker locker(&m_mutex);
    if (m_pProgressBar && m_pProgressBar->value() + 1 < m_iNextHandledUnit)
        m_pProgressBar->setValue(m_pProgressBar->value() + 1);
}

void SMSWaitingDlg::updateProgressBar()
{
    bool lastUnit = false;
    {
        QMutexLocker locker(&m_mutex);
        ++m_iSteps;
        if (m_iMaximum == 0) {
            qCWarning(lcSmsProgress) << "The value of m_iMaximum is zero";
            return;
        }
        m_iNextHandledUnit = (m_iSteps + 1) * 100 / m_iMaximum;
        if (m_pProgressBar)
            m_pProgressBar->setValue(m_iSteps * 100 / m_iMaximum);
        lastUnit = m_iSteps == m_iMaximum;
    }
    if (lastUnit)
        closeWaitingDialog();
}

void SMSWaitingDlg::closeWaitingDialog()
{
    if (m_pDialog)
        OnTimerStart(kCloseDelayMs);
}

void SMSWaitingDlg::OnTimerStart(int milliseconds)
{
    deleteSmoothnessTimer();
    if (!m_pStoptimer) {
        m_pStoptimer = new QTimer(this);
        m_pStoptimer->setObjectName(QStringLiteral("SMSWaitingDlg_StopTimer"));
        m_pStoptimer->setSingleShot(true);
    }
    // A second close request does not push the close further away.
    if (m_pStoptimer->isActive())
        return;
    connect(m_pStoptimer, &QTimer::timeout, this, &SMSWaitingDlg::stopTimer,
            Qt::UniqueConnection);
    m_pStoptimer->start(milliseconds);
}

void SMSWaitingDlg::stopTimer()
{
    deleteSmoothnessTimer();
    deleteStopTimer();
    if (!m_pDialog)
        return;
    resetCounters();
    m_pDialog->close();
    if (SMSThreadUI::m_bStopSmsThread)
        SMSThreadUI::m_bStopSmsThread = false;
}

void SMSWaitingDlg::onClickCancelButton()
{
    if (!m_pDialog || !m_pCancelButton || !m_pMessageLabel) {
        qCDebug(lcSmsProgress) << "cancel without a dialog, button or label";
        return;
    }
    m_pCancelButton->setEnabled(false);
    if (m_iSteps >= m_iMaximum) {
        // Everything is done and the button reads OK: close at once.
        resetCounters();
        m_pDialog->close();
        SMSThreadUI::m_bStopSmsThread = false;
        return;
    }
    SMSThreadUI::StopSmsThread();
    m_bCanceled = true;
    m_pMessageLabel->setText(tr(QStringLiteral("IDS_STR_CANCELLING")));
    switch (m_iOperation) {
    case OpSend: {
        QString none;
        m_pCancelThread->SetSendSmsThreadOperation(DC_SMS_CANCEL_SEND, none, QString());
        m_pCancelThread->start(QThread::InheritPriority);
        break;
    }
    case OpMove:
    case OpDragCopy:
        deleteSmoothnessTimer();
        break;
    default:
        break;
    }
    // The dialog stays open: the main window closes it when the worker reports back.
}

void SMSWaitingDlg::deleteSmoothnessTimer()
{
    if (!m_pSmoothTimer)
        return;
    m_pSmoothTimer->stop();
    m_pSmoothTimer->disconnect(this);
    // Later, not now: this may run inside the timer's own timeout.
    m_pSmoothTimer->deleteLater();
    m_pSmoothTimer = nullptr;
}

void SMSWaitingDlg::deleteStopTimer()
{
    if (!m_pStoptimer)
        return;
    m_pStoptimer->stop();
    m_pStoptimer->disconnect(this);
    m_pStoptimer->deleteLater();
    m_pStoptimer = nullptr;
}

void SMSWaitingDlg::resetCounters()
{
    QMutexLocker locker(&m_mutex);
    m_iNextHandledUnit = 0;
    m_iSteps = 0;
    m_iMaximum = 0;
}
