// SPDX-License-Identifier: GPL-3.0-or-later
// Which commands are enabled where: the context menu by folder, message and device state,
// the move and copy targets, and the toolbar after a row click. Everything here looks at
// the selected rows only, never at every row of a table.
#include "SMSUIMainDlg.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QTextBrowser>

#include <algorithm>

#include "SMSCommandIds.h"
#include "SMSUITableWidget.h"
#include "store/SMSStatusUILogic.h"

namespace {
bool isRoot(int position)
{
    return position == EN_SIM_ROOT || position == EN_LOCAL_ROOT || position == EN_DEVICE_ROOT;
}

bool isOneOf(int position, std::initializer_list<int> positions)
{
    return std::find(positions.begin(), positions.end(), position) != positions.end();
}

bool isMoveOrCopySubmenu(const QString &key)
{
    using namespace SmsMenuKey;
    return key == QLatin1String(MoveTo) || key == QLatin1String(CopyTo)
        || key == QLatin1String(MoveAllTo) || key == QLatin1String(CopyAllTo);
}
} // namespace

int SMSUIMainDlg::selectedRowCount() const
{
    if (!m_pCurrentTable || !m_pCurrentTable->selectionModel())
        return 0;
    // Counted from the selection ranges: whole rows are selected, so this is the number of
    // rows, without visiting every selected cell.
    int rows = 0;
    const QItemSelection selection = m_pCurrentTable->selectionModel()->selection();
    for (const QItemSelectionRange &range : selection)
        rows += range.height();
    return rows;
}

SmsRecord *SMSUIMainDlg::firstSelectedRecord() const
{
    if (!m_pCurrentTable || !m_pCurrentTable->selectionModel())
        return nullptr;
    int top = -1;
    const QItemSelection selection = m_pCurrentTable->selectionModel()->selection();
    for (const QItemSelectionRange &range : selection) {
        if (top < 0 || range.top() < top)
            top = range.top();
    }
    return top < 0 ? nullptr : m_pCurrentTable->recordAt(top);
}

void SMSUIMainDlg::setMenuItemsEnabled(std::initializer_list<const char *> keys, bool enabled)
{
    for (const char *key : keys) {
        if (QAction *action = GetAction(QString::fromLatin1(key)))
            action->setEnabled(enabled);
    }
}

bool SMSUIMainDlg::isMenuItemEnabled(const char *key) const
{
    const QAction *action = GetAction(QString::fromLatin1(key));
    return action && action->isEnabled();
}

void SMSUIMainDlg::enableMenuItem()
{
    using namespace SmsMenuKey;
    setMenuItemsEnabled({Edit, Forward, Reply, Send, Delete, ClearAll, Recover, ExportSelected,
                         ExportAll, Search, Call},
                        true);
    // The address book may come or go with the host's plug-ins: asked at every opening.
    SetAddrBookPluginFlag();
    setMenuItemsEnabled({SaveNumber}, m_bAddrBookAvailable);
    switch (m_iSelectedTreeNode) {
    case EN_LOCAL_INBOX: case EN_SIM_INBOX: case EN_DEVICE_INBOX:
        setMenuItemsEnabled({Recover, Edit}, false);
        break;
    case EN_LOCAL_OUTBOX: case EN_SIM_OUTBOX: case EN_DEVICE_OUTBOX: case EN_LOCAL_SENTITEMS:
        setMenuItemsEnabled({Recover, Edit, Reply}, false);
        break;
    case EN_LOCAL_DRAFT:
        setMenuItemsEnabled({Reply, Forward}, false);
        break;
    case EN_LOCAL_FAVORITE:
        setMenuItemsEnabled({Edit, Reply}, false);
        break;
    case EN_LOCAL_TRASH:
        setMenuItemsEnabled({Edit, Send, Reply, Forward}, false);
        break;
    case EN_LOCAL_REPORT:
        setMenuItemsEnabled({Recover, Edit, Send, Reply, Forward}, false);
        break;
    case EN_LOCAL_CBSBOX:
        setMenuItemsEnabled({Reply, Recover, Edit, Send, Forward}, false);
        break;
    default:
        break;  // the roots follow their selected message below
    }
    enableMoveCopyOption(m_iSelectedTreeNode);
    if (!m_bCanSendSMS)
        setMenuItemsEnabled({Reply, Forward, Send}, false);
    if (!m_bCallCapable)
        setMenuItemsEnabled({Call}, false);
    enableMenuItemFromLocalSimDevice();
}

void SMSUIMainDlg::enableMenuItemFromLocalSimDevice()
{
    if (!isRoot(m_iSelectedTreeNode))
        return;
    const int rows = selectedRowCount();
    if (rows >= 2) {
        setMenuItemsEnabled({SmsMenuKey::Recover, SmsMenuKey::Edit}, false);
        if (m_iSelectedTreeNode != EN_LOCAL_ROOT)
            enableMoveCopyOption(m_iSelectedTreeNode);
    } else if (rows == 1) {
        if (const SmsRecord *record = firstSelectedRecord())
            enableMenuItemBasedOnMessage(record->enPos);
    }
}

void SMSUIMainDlg::enableMenuItemBasedOnMessage(int position)
{
    using namespace SmsMenuKey;
    switch (position) {
    case EN_LOCAL_OUTBOX: case EN_LOCAL_SENTITEMS:
        setMenuItemsEnabled({Recover, Reply, Edit}, false);
        break;
    case EN_LOCAL_INBOX:
        setMenuItemsEnabled({Recover, Edit}, false);
        break;
    case EN_LOCAL_DRAFT:
        setMenuItemsEnabled({Reply, Forward}, false);
        break;
    case EN_LOCAL_FAVORITE:
        setMenuItemsEnabled({Edit, Reply}, false);
        break;
    case EN_LOCAL_TRASH:
        setMenuItemsEnabled({Edit, Reply, Forward, Send}, false);
        break;
    case EN_LOCAL_REPORT:
        setMenuItemsEnabled({Edit, Reply, Forward, Send, Recover}, false);
        break;
    case EN_SIM_OUTBOX: case EN_DEVICE_OUTBOX:
        setMenuItemsEnabled({Recover, Reply, Edit}, false);
        enableMoveCopyOption(position);
        break;
    case EN_SIM_INBOX: case EN_DEVICE_INBOX:
        setMenuItemsEnabled({Recover, Edit}, false);
        enableMoveCopyOption(position);
        break;
    case EN_LOCAL_CBSBOX:
        setMenuItemsEnabled({Reply, Recover, Edit, Send, Forward}, false);
        break;
    default:
        break;
    }
}

void SMSUIMainDlg::enableMoveCopyOption(int position)
{
    // Asked once per opening: the SIM may have been locked or removed since.
    m_bSimValidForTargets = m_pStatusLogicObject && m_pStatusLogicObject->IsSimValidForSMS();
    for (const MENU::QActionInfo &info : std::as_const(m_rightClickList)) {
        if (!isMoveOrCopySubmenu(info.parentKey))
            continue;
        disableLocalInRightClick(info, position);
        disableSimInRightClick(info, position);
        disableDeviceInRightClick(info, position);
    }
}

void SMSUIMainDlg::disableLocalInRightClick(const MENU::QActionInfo &info, int position)
{
    if (info.action && info.key == QLatin1String(SmsMenuKey::TargetLocal))
        info.action->setEnabled(isOneOf(position, {EN_SIM_OUTBOX, EN_SIM_INBOX, EN_DEVICE_OUTBOX,
                                                   EN_DEVICE_INBOX, EN_SIM_ROOT, EN_DEVICE_ROOT}));
}

void SMSUIMainDlg::disableSimInRightClick(const MENU::QActionInfo &info, int position)
{
    if (info.action && info.key == QLatin1String(SmsMenuKey::TargetSim))
        info.action->setEnabled(m_bSimValidForTargets
                                && isOneOf(position, {EN_LOCAL_OUTBOX, EN_LOCAL_INBOX,
                                                      EN_DEVICE_OUTBOX, EN_DEVICE_INBOX,
                                                      EN_DEVICE_ROOT, EN_LOCAL_SENTITEMS}));
}

void SMSUIMainDlg::disableDeviceInRightClick(const MENU::QActionInfo &info, int position)
{
    if (info.action && info.key == QLatin1String(SmsMenuKey::TargetDevice))
        info.action->setEnabled(isOneOf(position, {EN_LOCAL_OUTBOX, EN_LOCAL_INBOX, EN_SIM_OUTBOX,
                                                   EN_SIM_INBOX, EN_SIM_ROOT,
                                                   EN_LOCAL_SENTITEMS}));
}

void SMSUIMainDlg::disableMoveCopy()
{
    const bool hasRows = m_pCurrentTable && m_pCurrentTable->rowCount() > 0;
    for (const MENU::QActionInfo &info : std::as_const(m_rightClickList)) {
        const bool selectionSubmenu = info.parentKey == QLatin1String(SmsMenuKey::MoveTo)
            || info.parentKey == QLatin1String(SmsMenuKey::CopyTo);
        if (info.action && (selectionSubmenu || (!hasRows && isMoveOrCopySubmenu(info.parentKey))))
            info.action->setEnabled(false);
    }
}

void SMSUIMainDlg::enableRightClickItems()
{
    using namespace SmsMenuKey;
    setMenuItemsEnabled({Edit, Reply, Forward, Send}, true);
}

void SMSUIMainDlg::disableRightClickItems()
{
    using namespace SmsMenuKey;
    setMenuItemsEnabled({Edit, Reply, Forward, Send}, false);
}

// ---- toolbar after a row click -------------------------------------------------------

void SMSUIMainDlg::enableDisableForMultipleSelection(int &count)
{
    count = selectedRowCount();
    if (count >= 2) {
        for (int id : {SmsCommand::Send, SmsCommand::Reply, SmsCommand::Forward, SmsCommand::Call})
            disableToolBarItem(id);
        if (m_pTextPreview)
            m_pTextPreview->clear();
        return;
    }
    if (m_bCallCapable)
        enableToolBarItem(SmsCommand::Call);
    else
        disableToolBarItem(SmsCommand::Call);
    const SmsRecord *record = firstSelectedRecord();
    // Nothing to answer or pass on from the trash or from a delivery report.
    const bool answerable = m_bCanSendSMS && m_iSelectedTreeNode != EN_LOCAL_TRASH
        && m_iSelectedTreeNode != EN_LOCAL_REPORT
        && !(record && record->enInitialPos == EN_LOCAL_REPORT);
    for (int id : {SmsCommand::Send, SmsCommand::Reply, SmsCommand::Forward}) {
        if (answerable)
            enableToolBarItem(id);
        else
            disableToolBarItem(id);
    }
    enableToolBarItem(SmsCommand::Delete);
}

void SMSUIMainDlg::onTableRowClickEnableDisable()
{
    switch (m_iSelectedTreeNode) {
    case EN_LOCAL_OUTBOX: case EN_LOCAL_FAVORITE: case EN_SIM_OUTBOX: case EN_DEVICE_OUTBOX:
    case EN_LOCAL_SENTITEMS:
        disableToolBarItem(SmsCommand::Reply);
        break;
    case EN_LOCAL_DRAFT:
        disableToolBarItem(SmsCommand::Reply);
        disableToolBarItem(SmsCommand::Forward);
        break;
    case EN_LOCAL_TRASH: case EN_LOCAL_CBSBOX:
        for (int id : {SmsCommand::Reply, SmsCommand::Forward, SmsCommand::Send})
            disableToolBarItem(id);
        break;
    default:
        break;
    }
}

void SMSUIMainDlg::enableDisableSmsToolbarForParentNode()
{
    const SmsRecord *record = firstSelectedRecord();
    if (!record)
        return;
    switch (record->enPos) {
    case EN_LOCAL_OUTBOX: case EN_LOCAL_FAVORITE: case EN_SIM_OUTBOX: case EN_DEVICE_OUTBOX:
    case EN_LOCAL_SENTITEMS:
        disableToolBarItem(SmsCommand::Reply);
        break;
    case EN_LOCAL_DRAFT:
        disableToolBarItem(SmsCommand::Reply);
        disableToolBarItem(SmsCommand::Forward);
        break;
    case EN_LOCAL_TRASH: case EN_LOCAL_REPORT: case EN_LOCAL_CBSBOX:
        for (int id : {SmsCommand::Reply, SmsCommand::Forward, SmsCommand::Send})
            disableToolBarItem(id);
        break;
    default:
        break;
    }
}
