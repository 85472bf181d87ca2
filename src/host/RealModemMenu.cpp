// SPDX-License-Identifier: GPL-3.0-or-later
#include "RealModemMenu.h"

#include "HostLog.h"
#include "HostText.h"
#include "ModemChoiceMenu.h"
#include "ModemOperation.h"
#include "SimUnlockDialog.h"
#include "sdk_modem.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

RealModemMenu::RealModemMenu(QWidget *window, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_menu(new QMenu(window))
    , m_unlock(m_menu->addAction(QString()))
    , m_enable(m_menu->addAction(QString()))
    , m_choice(nullptr)
    , m_operation(new ModemOperation(this))
    , m_timer(new QTimer(this))
{
    m_menu->setObjectName(QStringLiteral("dialcrest_MenuRealModem"));
    HostText::bind(m_menu, "IDS_HOST_MENU_MODEM", "&Modem");
    m_unlock->setObjectName(QStringLiteral("dialcrest_ModemUnlockSim"));
    HostText::bind(m_unlock, "IDS_HOST_SIM_UNLOCK", "Unlock the SIM card…");
    m_enable->setObjectName(QStringLiteral("dialcrest_ModemEnable"));
    HostText::bind(m_enable, "IDS_HOST_MODEM_ENABLE", "Switch the modem on");
    connect(m_unlock, &QAction::triggered, this, [this] { unlockSim(); });
    connect(m_enable, &QAction::triggered, this, [this] { enableModem(); });
    connect(m_operation, &ModemOperation::finished, this, &RealModemMenu::enableAnswered);
    m_menu->addSeparator();
    m_choice = new ModemChoiceMenu(m_menu, window, this);
    // The SDK raises no event when a SIM starts asking for its PIN; a second is soon enough.
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &RealModemMenu::poll);
    m_timer->start();
    poll();
}

void RealModemMenu::poll()
{
    if (!m_menu)
        return;
    const SimUnlockDialog::Lock lock = SimUnlockDialog::currentLock();
    int enabled = 1;
    const bool known = UTPS_DevSrv_GetModemEnabled(&enabled) == UTPS_OK;
    // While the modem is busy with a code or with switching on, nothing else goes to it.
    const bool busy = ModemOperation::anyRunning();
    m_unlock->setEnabled(lock.locked() && !busy);
    m_enable->setEnabled(known && !enabled && !lock.locked() && !busy);
    // Modems come and go (plugged in, removed, renumbered): the list follows.
    m_choice->refresh();
    const bool startsAsking = lock.locked() && !m_wasLocked;
    m_wasLocked = lock.locked();
    if (startsAsking) {
        qCInfo(lcHost) << "the SIM card asks for a code; state" << lock.state;
        emit simLocked();
        if (m_prompt && !m_asking)
            QTimer::singleShot(0, this, [this] { unlockSim(); });
    }
}

long RealModemMenu::unlockSim()
{
    if (m_asking || !m_menu)
        return -1;
    m_asking = true;
    // On the heap: the window may go while the dialog is open, and takes its children along.
    QPointer<SimUnlockDialog> dialog = new SimUnlockDialog(m_window);
    dialog->exec();
    const long result = dialog ? dialog->lastResult() : -1;
    delete dialog;
    m_asking = false;
    poll();
    return result;
}

bool RealModemMenu::enableModem()
{
    const bool started = m_operation->start([] { return UTPS_DevSrv_EnableModem(); });
    poll();
    return started;
}

void RealModemMenu::enableAnswered(long rc)
{
    if (rc != UTPS_OK) {
        qCWarning(lcHost) << "enabling the modem failed:" << rc;
        const QString text = rc == UTPS_E_NOT_AUTHORIZED
                                 ? HostText::text("IDS_HOST_MODEM_ENABLE_DENIED",
                                                  "This system does not let you switch the modem on.")
                                 : HostText::text("IDS_HOST_MODEM_ENABLE_FAILED",
                                                  "The modem could not be switched on (error %1).").arg(rc);
        if (m_window && m_window->isVisible())
            QMessageBox::warning(m_window, HostText::text("IDS_HOST_MENU_MODEM", "&Modem").remove(QLatin1Char('&')), text);
    }
    poll();
    emit enableFinished(rc);
}
