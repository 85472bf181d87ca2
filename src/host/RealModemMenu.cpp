// SPDX-License-Identifier: GPL-3.0-or-later
#include "RealModemMenu.h"

#include "HostLog.h"
#include "HostText.h"
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
    // The SDK raises no event when a SIM starts asking for its PIN; a second is soon enough.
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &RealModemMenu::poll);
    m_timer->start();
    poll();
}

void RealModemMenu::poll()
{
    const SimUnlockDialog::Lock lock = SimUnlockDialog::currentLock();
    int enabled = 1;
    const bool known = UTPS_DevSrv_GetModemEnabled(&enabled) == UTPS_OK;
    m_unlock->setEnabled(lock.locked());
    m_enable->setEnabled(known && !enabled && !lock.locked());
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
    if (m_asking)
        return -1;
    m_asking = true;
    SimUnlockDialog dialog(m_window);
    dialog.exec();
    m_asking = false;
    poll();
    return dialog.lastResult();
}

long RealModemMenu::enableModem()
{
    const long rc = UTPS_DevSrv_EnableModem();
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
    return rc;
}
