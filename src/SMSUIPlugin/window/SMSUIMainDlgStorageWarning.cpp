// SPDX-License-Identifier: GPL-3.0-or-later
// The bar that says the message database cannot be written, for as long as that lasts.
//
// The SDK refuses to store anything it cannot write (there is no copy kept in memory
// only), so while this bar shows, saving, moving and receiving fail and the folders show
// only what the database held. The bar must not be a box the user clicks away: it stays
// until the SDK can write again, and then every storage is read again so that the folders
// show what the database holds from then on.
#include "SMSUIMainDlg.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "Change.h"
#include "store/SMSStatusUILogic.h"
#include "SmsLog.h"
#include "utps_sdk.h"

namespace {
// Often enough that the bar goes soon after the user made room, rarely enough that the
// SDK's own retry (once a second at most) is not the only thing it does.
constexpr int kCheckIntervalMs = 3000;

const char *warningKey(int state)
{
    switch (state) {
    case UTPS_STORE_NO_SPACE: return "IDS_SMS_STORAGE_NO_SPACE";
    case UTPS_STORE_NO_PERMISSION: return "IDS_SMS_STORAGE_NO_PERMISSION";
    case UTPS_STORE_LOCKED: return "IDS_SMS_STORAGE_LOCKED";
    case UTPS_STORE_IO_ERROR: return "IDS_SMS_STORAGE_IO_ERROR";
    default: return "IDS_SMS_STORAGE_FAILED";
    }
}
} // namespace

void SMSUIMainDlg::initStorageWarning()
{
    if (m_pStorageWarning || !m_pVLayout)
        return;
    m_pStorageWarning = new QLabel(this);
    m_pStorageWarning->setObjectName(QStringLiteral("SMSUIPlugin_StorageWarning"));
    m_pStorageWarning->setWordWrap(true);
    m_pStorageWarning->setTextFormat(Qt::PlainText);
    m_pStorageWarning->setFrameShape(QFrame::StyledPanel);
    m_pStorageWarning->setMargin(6);
    m_pStorageWarning->setAutoFillBackground(true);
    m_pStorageWarning->setBackgroundRole(QPalette::ToolTipBase);
    m_pStorageWarning->setForegroundRole(QPalette::ToolTipText);
    m_pStorageWarning->hide();
    m_pVLayout->insertWidget(0, m_pStorageWarning);

    m_pStorageWarningTimer = new QTimer(this);
    m_pStorageWarningTimer->setObjectName(QStringLiteral("SMSUIPlugin_StorageWarningTimer"));
    m_pStorageWarningTimer->setInterval(kCheckIntervalMs);
    connect(m_pStorageWarningTimer, &QTimer::timeout, this, &SMSUIMainDlg::checkStorageWritable);
    m_pStorageWarningTimer->start();
    checkStorageWritable();
}

void SMSUIMainDlg::checkStorageWritable()
{
    int state = UTPS_STORE_OK;
    const long result = UTPS_SMSSrv_GetStoreState(&state, nullptr, nullptr);
    if (result != 0) {
        qCWarning(lcSmsWindow) << "UTPS_SMSSrv_GetStoreState returned" << result;
        return;
    }
    const int previous = m_iStorageWriteState;
    m_iStorageWriteState = state;
    if (state != previous)
        qCWarning(lcSmsWindow) << "message database condition" << previous << "->" << state;
    retranslateStorageWarning();
    if (previous != UTPS_STORE_OK && state == UTPS_STORE_OK)
        rereadAllStorages();
}

void SMSUIMainDlg::retranslateStorageWarning()
{
    if (!m_pStorageWarning)
        return;
    if (m_iStorageWriteState == UTPS_STORE_OK) {
        m_pStorageWarning->hide();
        return;
    }
    m_pStorageWarning->setText(
        Change::tr(QString::fromLatin1(warningKey(m_iStorageWriteState)), QStringLiteral("SMSUIPlugin")));
    m_pStorageWarning->show();
}

void SMSUIMainDlg::rereadAllStorages()
{
    if (!m_pStatusLogicObject)
        return;
    // Tables point into the buffers: they are emptied before the records go.
    for (int p = EN_LOCAL_OUTBOX; p <= EN_LOCAL_SENTITEMS; ++p) {
        if (GetMemPosition(p) == UTPS_SMS_MEM_PC || p == EN_LOCAL_ROOT || p == EN_LOCAL_SENTITEMS)
            emptySMSTable(_EN_SMS_POSITION(p));
    }
    m_pStatusLogicObject->ReleaseSmsBuffer(UTPS_SMS_MEM_PC);
    m_pStatusLogicObject->PopulateSMSFromSDK(UTPS_SMS_MEM_PC);
    populateLocalSMSTables();
    if (m_bSimStorageAvailable)
        OnSMSReadComplete(UTPS_SMS_MEM_SIM);
    if (m_bDeviceStorageAvailable)
        OnSMSReadComplete(UTPS_SMS_MEM_DEVICE);
    notifyStatusBarCount();
}
