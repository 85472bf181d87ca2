// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimUnlockDialog.h"

#include "HostLog.h"
#include "HostText.h"
#include "ModemOperation.h"
#include "sdk_modem.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

bool SimUnlockDialog::Lock::locked() const
{
    return state == UTPS_PIN_STATE_PIN_REQUIRED || state == UTPS_PIN_STATE_PUK_REQUIRED
           || state == UTPS_PIN_STATE_BLOCKED;
}

SimUnlockDialog::Lock SimUnlockDialog::currentLock()
{
    Lock lock;
    unsigned char pin = 255, puk = 255;
    if (UTPS_DevSrv_GetPinStatus(0, &lock.state, &pin, &puk, nullptr) != UTPS_OK)
        lock.state = UTPS_PIN_STATE_NO_SIM;
    lock.pinAttempts = pin;
    lock.pukAttempts = puk;
    return lock;
}

namespace {

QString attemptsText(int left)
{
    if (left == 255)
        return HostText::text("IDS_HOST_SIM_ATTEMPTS_UNKNOWN", "The SIM does not say how many attempts are left.");
    return HostText::text("IDS_HOST_SIM_ATTEMPTS", "Attempts left: %1").arg(left);
}

} // namespace

SimUnlockDialog::SimUnlockDialog(QWidget *parent)
    : QDialog(parent)
    , m_prompt(new QLabel(this))
    , m_attempts(new QLabel(this))
    , m_code(new QLineEdit(this))
    , m_newPinLabel(new QLabel(this))
    , m_newPin(new QLineEdit(this))
    , m_confirmLabel(new QLabel(this))
    , m_confirm(new QLineEdit(this))
    , m_error(new QLabel(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
    , m_operation(new ModemOperation(this))
{
    setObjectName(QStringLiteral("dialcrest_SimUnlockDialog"));
    setWindowTitle(HostText::text("IDS_HOST_SIM_UNLOCK_TITLE", "Unlock the SIM card"));
    m_code->setObjectName(QStringLiteral("dialcrest_SimCode"));
    m_newPin->setObjectName(QStringLiteral("dialcrest_SimNewPin"));
    m_confirm->setObjectName(QStringLiteral("dialcrest_SimConfirmPin"));
    m_error->setObjectName(QStringLiteral("dialcrest_SimError"));
    m_attempts->setObjectName(QStringLiteral("dialcrest_SimAttempts"));
    for (QLineEdit *e : {m_code, m_newPin, m_confirm}) {
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(8);
        e->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
    }
    m_prompt->setWordWrap(true);
    m_error->setWordWrap(true);
    m_newPinLabel->setText(HostText::text("IDS_HOST_SIM_NEW_PIN", "New PIN:"));
    m_confirmLabel->setText(HostText::text("IDS_HOST_SIM_CONFIRM_PIN", "New PIN again:"));
    auto *form = new QFormLayout;
    form->addRow(HostText::text("IDS_HOST_SIM_CODE", "Code:"), m_code);
    form->addRow(m_newPinLabel, m_newPin);
    form->addRow(m_confirmLabel, m_confirm);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_attempts);
    layout->addLayout(form);
    layout->addWidget(m_error);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &SimUnlockDialog::tryCode);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &SimUnlockDialog::reject);
    connect(m_operation, &ModemOperation::finished, this, &SimUnlockDialog::takeAnswer);
    m_lock = currentLock();
    showLock();
}

void SimUnlockDialog::showLock()
{
    const bool puk = m_lock.state == UTPS_PIN_STATE_PUK_REQUIRED;
    const bool blocked = m_lock.state == UTPS_PIN_STATE_BLOCKED;
    if (blocked)
        m_prompt->setText(HostText::text("IDS_HOST_SIM_BLOCKED",
                                         "The SIM card is blocked: no PUK attempts are left. Only the network "
                                         "operator can help now."));
    else if (puk)
        m_prompt->setText(HostText::text("IDS_HOST_SIM_ASK_PUK",
                                         "The SIM card is locked. Enter its PUK (8 digits, from the card's "
                                         "holder or the operator) and choose a new PIN."));
    else
        m_prompt->setText(HostText::text("IDS_HOST_SIM_ASK_PIN", "The SIM card asks for its PIN (4 to 8 digits)."));
    m_attempts->setText(blocked ? QString() : attemptsText(puk ? m_lock.pukAttempts : m_lock.pinAttempts));
    m_attempts->setVisible(!blocked);
    m_code->setVisible(!blocked);
    for (QWidget *w : {static_cast<QWidget *>(m_newPinLabel), static_cast<QWidget *>(m_newPin),
                       static_cast<QWidget *>(m_confirmLabel), static_cast<QWidget *>(m_confirm)})
        w->setVisible(puk);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!blocked && m_lock.locked());
}

QString SimUnlockDialog::problem(const Lock &lock, const QString &code, const QString &newPin, const QString &confirm)
{
    static const QRegularExpression pin(QStringLiteral("^[0-9]{4,8}$"));
    static const QRegularExpression puk(QStringLiteral("^[0-9]{8}$"));
    if (lock.state == UTPS_PIN_STATE_PUK_REQUIRED) {
        if (!puk.match(code).hasMatch())
            return HostText::text("IDS_HOST_SIM_PUK_FORMAT", "The PUK has 8 digits.");
        if (!pin.match(newPin).hasMatch())
            return HostText::text("IDS_HOST_SIM_PIN_FORMAT", "A PIN has 4 to 8 digits.");
        if (newPin != confirm)
            return HostText::text("IDS_HOST_SIM_PIN_MISMATCH", "The new PIN and its repetition differ.");
        return {};
    }
    if (!pin.match(code).hasMatch())
        return HostText::text("IDS_HOST_SIM_PIN_FORMAT", "A PIN has 4 to 8 digits.");
    return {};
}

bool SimUnlockDialog::checking() const
{
    return m_operation->running();
}

void SimUnlockDialog::reject()
{
    if (!checking())
        QDialog::reject();
}

void SimUnlockDialog::setChecking(bool on)
{
    for (QWidget *w : {static_cast<QWidget *>(m_code), static_cast<QWidget *>(m_newPin),
                       static_cast<QWidget *>(m_confirm), static_cast<QWidget *>(m_buttons)})
        w->setEnabled(!on);
    if (on)
        m_error->setText(HostText::text("IDS_HOST_SIM_CHECKING", "Checking the code with the SIM card…"));
    setCursor(on ? Qt::BusyCursor : Qt::ArrowCursor);
}

bool SimUnlockDialog::tryCode()
{
    if (checking())
        return false;
    const QString why = problem(m_lock, m_code->text(), m_newPin->text(), m_confirm->text());
    if (!why.isEmpty()) {
        m_error->setText(why);
        return false;
    }
    const bool puk = m_lock.state == UTPS_PIN_STATE_PUK_REQUIRED;
    // Copies: the call may outlive this dialog.
    const std::u16string code = m_code->text().toStdU16String();
    const std::u16string newPin = m_newPin->text().toStdU16String();
    const bool started = m_operation->start([puk, code, newPin] {
        const auto *c = reinterpret_cast<const UTPS_WCHAR *>(code.c_str());
        const auto *n = reinterpret_cast<const UTPS_WCHAR *>(newPin.c_str());
        const long result = puk ? UTPS_DevSrv_VerifyPuk(c, n) : UTPS_DevSrv_VerifyPin(c);
        qCInfo(lcHost) << (puk ? "SIM unlock with PUK:" : "SIM unlock with PIN:") << result;
        return result;
    });
    if (!started) {
        // Another dialog's code is still with the SIM: its answer decides what is asked next.
        m_error->setText(HostText::text("IDS_HOST_SIM_CHECKING", "Checking the code with the SIM card…"));
        return false;
    }
    m_code->clear();
    m_newPin->clear();
    m_confirm->clear();
    setChecking(true);
    return true;
}

void SimUnlockDialog::takeAnswer(long result)
{
    m_lastResult = result;
    setChecking(false);
    if (m_lastResult == UTPS_OK) {
        m_error->clear();
        accept();
        emit attemptFinished(result);
        return;
    }
    m_lock = currentLock();
    switch (m_lastResult) {
    case UTPS_E_WRONG_PIN:
        m_error->setText(HostText::text("IDS_HOST_SIM_WRONG", "That code is wrong."));
        break;
    case UTPS_E_NOT_AUTHORIZED:
        m_error->setText(HostText::text("IDS_HOST_SIM_NOT_ALLOWED",
                                        "This system does not let you unlock the SIM card (ask the "
                                        "administrator for the permission to control modems)."));
        break;
    default:
        m_error->setText(HostText::text("IDS_HOST_SIM_FAILED", "The modem did not take the code (error %1).")
                             .arg(m_lastResult));
        break;
    }
    showLock();
    if (!m_lock.locked() && m_lock.state != UTPS_PIN_STATE_NO_SIM)
        accept();
    else
        m_code->setFocus();
    emit attemptFinished(result);
}
