// SPDX-License-Identifier: GPL-3.0-or-later
// Discovery of the SIM and device storages: which storages the modem lists, their
// subtrees, and re-reading a storage once its detector reports it readable.
#include "SMSUIMainDlg.h"

#include <QTreeWidgetItem>

#include <vector>

#include "store/SMSStatusUILogic.h"
#include "SMSUITreeWidget.h"
#include "SmsLog.h"
#include "utps_sdk.h"

bool SMSUIMainDlg::checkDevMemStatus(bool bInitial)
{
    if (!m_pStatusLogicObject) {
        qCWarning(lcSmsWindow) << "storage discovery without a store";
        return false;
    }
    int multiMode = 0;
    m_bMultiModeCard = UTPS_DevSrv_GetMultiModeCardStatus(&multiMode, 0, 0) == 0 && multiMode;
    m_bSimStorageAvailable = false;
    m_bDeviceStorageAvailable = false;

    unsigned short count = 0;
    long result = UTPS_SMSSrv_SMSGetMemoryListType(nullptr, &count);
    if (result != 0) {
        qCWarning(lcSmsWindow) << "UTPS_SMSSrv_SMSGetMemoryListType failed:" << result;
        return false;
    }
    std::vector<unsigned short> types(count, 0xFFFF);
    if (count > 0) {
        result = UTPS_SMSSrv_SMSGetMemoryListType(types.data(), &count);
        if (result != 0) {
            qCWarning(lcSmsWindow) << "UTPS_SMSSrv_SMSGetMemoryListType failed:" << result;
            return false;
        }
        types.resize(count);
    }

    bool refreshed = false;
    if (!bInitial) {
        if (count == 0)
            return false;
        m_pStatusLogicObject->SyncBuffersWithPB();
        for (_EN_SMS_POSITION p : {EN_LOCAL_OUTBOX, EN_LOCAL_INBOX, EN_LOCAL_DRAFT,
                                   EN_LOCAL_FAVORITE, EN_LOCAL_TRASH, EN_LOCAL_REPORT,
                                   EN_LOCAL_SENTITEMS})
            syncSMSTableWithBuffers(p);
        notifyStatusBarCount();
        refreshed = true;
    }
    const bool dualModeCard = m_bMultiModeCard && m_bHideDualModeCard;
    for (unsigned short type : types) {
        if (type == UTPS_MEMLIST_SIM && m_bSimState) {
            if (!m_pStatusLogicObject->IsSimValidForSMS()) {
                m_bSimState = false;
                continue;
            }
            int productType = 3;
            int simType = 0;
            UTPS_DevSrv_GetProductType(&productType);
            if (UTPS_DevSrv_GetSimType(&simType) == 0 && !simTypeAcceptsMessages(simType, productType))
                continue;
            m_bSimStorageAvailable = true;
            m_pStatusLogicObject->PopulateSMSFromSDK(UTPS_SMS_MEM_SIM);
            if (!dualModeCard) {
                if (m_pSimRoot)
                    m_pSimRoot->setHidden(false);
                initSimTree();
            } else if (m_pStatusLogicObject->GetSMSRecordCount(UTPS_SMS_MEM_SIM) != 0) {
                startDetector(m_SimDetectThread);
            } else {
                populateSimSMSTables();
            }
        } else if (type == UTPS_MEMLIST_DEVICE) {
            m_bDeviceStorageAvailable = true;
            m_pStatusLogicObject->PopulateSMSFromSDK(UTPS_SMS_MEM_DEVICE);
            if (!dualModeCard) {
                if (m_pDeviceRoot)
                    m_pDeviceRoot->setHidden(false);
                initDeviceTree();
            } else if (m_pStatusLogicObject->GetSMSRecordCount(UTPS_SMS_MEM_DEVICE) != 0) {
                startDetector(m_DeviceDetectThread);
            } else {
                populateDeviceSMSTables();
            }
        }
    }
    return refreshed;
}

void SMSUIMainDlg::OnSMSReadComplete(int memory)
{
    if (!m_pStatusLogicObject)
        return;
    const bool sim = memory == UTPS_SMS_MEM_SIM;
    if (!sim && memory != UTPS_SMS_MEM_DEVICE)
        return;
    // A report that was under way when the card or modem went: nothing left to show.
    if (!(sim ? m_bSimStorageAvailable : m_bDeviceStorageAvailable))
        return;
    const auto mem = static_cast<_UTPS_EN_SMS_MEM>(memory);
    // Tables point into the buffer being released: empty them before the records go.
    for (_EN_SMS_POSITION p : sim ? QList<_EN_SMS_POSITION>{EN_SIM_OUTBOX, EN_SIM_INBOX, EN_SIM_ROOT}
                                  : QList<_EN_SMS_POSITION>{EN_DEVICE_OUTBOX, EN_DEVICE_INBOX,
                                                            EN_DEVICE_ROOT})
        emptySMSTable(p);
    m_pStatusLogicObject->ReleaseSmsBuffer(mem);
    m_pStatusLogicObject->PopulateSMSFromSDK(mem);
    if (sim)
        populateSimSMSTables();
    else
        populateDeviceSMSTables();
    QTreeWidgetItem *root = sim ? m_pSimRoot : m_pDeviceRoot;
    if (root && m_pTreeWidget) {
        root->setText(0, GetSIMText(sim ? QStringLiteral("IDS_TREE_SIM")
                                        : QStringLiteral("IDS_TREE_DEVICE")));
        root->setToolTip(0, QString());
        m_pTreeWidget->expandItem(root);
        if (m_iSelectedTreeNode == (sim ? EN_SIM_ROOT : EN_DEVICE_ROOT))
            onClickSMSTreeNode(root, 0);
    }
    m_pStatusLogicObject->SyncBuffersWithPB();
    for (_EN_SMS_POSITION p : {EN_LOCAL_OUTBOX, EN_LOCAL_INBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE,
                               EN_LOCAL_TRASH, EN_LOCAL_REPORT, EN_LOCAL_SENTITEMS})
        syncSMSTableWithBuffers(p);
    setWidthForSMSTreeWidget();
    notifyStatusBarCount();
}
