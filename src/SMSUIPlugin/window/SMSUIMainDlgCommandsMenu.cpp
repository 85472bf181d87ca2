// SPDX-License-Identifier: GPL-3.0-or-later
// The message table's context menu: built from the plug-in's menu description, entries
// kept or removed by configuration and host, connected to their commands, and opened on a
// row, on the empty area of a table, or on the current folder in the tree.
#include "SMSUIMainDlg.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTreeWidgetItem>

#include "CommonUtils.h"
#include "MenuKeyShortcuts.h"
#include "PluginIds.h"
#include "SMSCommandIds.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SmsLog.h"
#include "settings/SmsSettingUILogic.h"
#include "store/SMSStatusUILogic.h"

namespace {
const QString kPluginName = QStringLiteral("SMSUIPlugin");

bool isKey(const QString &key, const char *name)
{
    return key == QLatin1String(name);
}

bool isTargetKey(const QString &key)
{
    return isKey(key, SmsMenuKey::TargetLocal) || isKey(key, SmsMenuKey::TargetSim)
        || isKey(key, SmsMenuKey::TargetDevice);
}

// Calls are offered only when the host has a call plug-in and voice calls are switched on.
bool voiceCallsConfigured()
{
    return CommonUtils::GetSettings(QStringLiteral("callui"), QStringLiteral("callvoice")).toInt()
        != 0
        && CommonUtils::IsPluginAvailable(QString::fromLatin1(PluginIds::CallUi));
}
} // namespace

void SMSUIMainDlg::onRightClickAction()
{
    // Never rebuilt under the user's eyes; an open menu is rebuilt on its next opening.
    if (m_pContextMenu && m_pContextMenu->isVisible())
        return;
    delete m_pContextMenu;
    m_pContextMenu = nullptr;
    MENU::QBuildMenu builder(kPluginName, QStringLiteral("Config.xml"));
    m_pContextMenu = builder.CreateMenuBar(QStringLiteral("listview"), this, &m_rightClickList);
    if (!m_pContextMenu) {
        qCWarning(lcSmsWindow) << "no context menu: the menu description could not be read";
        return;
    }
    m_pContextMenu->setObjectName(QStringLiteral("SMSUIPlugin_ContextMenu"));
    ctrlMenuConnect();
}

void SMSUIMainDlg::ctrlMenuConnect()
{
    for (const MENU::QActionInfo &info : std::as_const(m_rightClickList))
        handleRightClickEvent(info, info.key);
}

void SMSUIMainDlg::handleRightClickEvent(const MENU::QActionInfo &info, const QString &key)
{
    if (!m_pContextMenu || !info.action)
        return;
    if (isKey(key, SmsMenuKey::Call)) {
        if (voiceCallsConfigured())
            doconnectForRightClick(info, key);
        else
            m_pContextMenu->removeAction(info.action);
        return;
    }
    if (isKey(key, SmsMenuKey::VideoCall)) {
        m_pContextMenu->removeAction(info.action);
        return;
    }
    if (isKey(key, SmsMenuKey::ExportSelected) || isKey(key, SmsMenuKey::ExportAll)) {
        const QString configKey = isKey(key, SmsMenuKey::ExportSelected)
            ? QStringLiteral("SMSExportSelect")
            : QStringLiteral("SMSExportAll");
        bool enabled = false;
        if (m_pSettingLogic)
            m_pSettingLogic->GetSMSConfigValue(configKey, &enabled);
        performCustomizationForExport(info, enabled, key);
        return;
    }
    doconnectForRightClick(info, key);
}

void SMSUIMainDlg::doconnectForRightClick(const MENU::QActionInfo &info, const QString &key)
{
    if (info.menu)
        return;  // a submenu's own entry does nothing
    if (isTargetKey(key)) {
        connectMoveCopyTarget(info);
        return;
    }
    doConnect(info);
}

void SMSUIMainDlg::connectMoveCopyTarget(const MENU::QActionInfo &info)
{
    const int storage = isKey(info.key, SmsMenuKey::TargetSim)      ? UTPS_SMS_MEM_SIM
                        : isKey(info.key, SmsMenuKey::TargetDevice) ? UTPS_SMS_MEM_DEVICE
                                                                    : UTPS_SMS_MEM_PC;
    void (SMSUIMainDlg::*command)(int) = nullptr;
    if (isKey(info.parentKey, SmsMenuKey::MoveTo))
        command = &SMSUIMainDlg::onClickMove;
    else if (isKey(info.parentKey, SmsMenuKey::CopyTo))
        command = &SMSUIMainDlg::onClickCopy;
    else if (isKey(info.parentKey, SmsMenuKey::MoveAllTo))
        command = &SMSUIMainDlg::onClickMoveAll;
    else if (isKey(info.parentKey, SmsMenuKey::CopyAllTo))
        command = &SMSUIMainDlg::onClickCopyAll;
    if (!command) {
        qCDebug(lcSmsWindow) << "target entry outside a move or copy submenu:" << info.key;
        return;
    }
    connect(info.action, &QAction::triggered, this,
            [this, command, storage] { (this->*command)(storage); });
}

void SMSUIMainDlg::doConnect(const MENU::QActionInfo &info)
{
    const QString &key = info.key;
    QAction *action = info.action;
    // The editor's modes: New, Edit (a draft), Send again, Reply, Forward.
    if (isKey(key, SmsMenuKey::New))
        connect(action, &QAction::triggered, this, &SMSUIMainDlg::onMenuNew);
    else if (isKey(key, SmsMenuKey::Edit))
        connect(action, &QAction::triggered, this, &SMSUIMainDlg::onButtonClickedEditSMS);
    else if (isKey(key, SmsMenuKey::Send))
        connect(action, &QAction::triggered, this, &SMSUIMainDlg::onMenuSend);
    else if (isKey(key, SmsMenuKey::Reply))
        connect(action, &QAction::triggered, this, &SMSUIMainDlg::onMenuReply);
    else if (isKey(key, SmsMenuKey::Forward))
        connect(action, &QAction::triggered, this, &SMSUIMainDlg::onMenuForward);
    else if (isKey(key, SmsMenuKey::Call))
        connect(action, &QAction::triggered, this, &SMSUIMainDlg::onButtonClickCall);
    else if (isKey(key, SmsMenuKey::SaveNumber))
        connect(action, &QAction::triggered, this, &SMSUIMainDlg::onButtonClickedSaveNumber);
    else if (isKey(key, SmsMenuKey::Search))
        connect(action, &QAction::triggered, this, &SMSUIMainDlg::onMenuSearch);
    else if (isKey(key, SmsMenuKey::Delete))
        connect(action, &QAction::triggered, this, &SMSUIMainDlg::onButtonClickDelete);
    else if (isKey(key, SmsMenuKey::ClearAll))
        connect(action, &QAction::triggered, this, &SMSUIMainDlg::onButtonClickDeleteAll);
    else if (isKey(key, SmsMenuKey::Recover))
        connect(action, &QAction::triggered, this, &SMSUIMainDlg::onButtonClickRecoverMessages);
    else
        qCDebug(lcSmsWindow) << "menu entry without a command:" << key;
}

void SMSUIMainDlg::performCustomizationForExport(const MENU::QActionInfo &info, bool enabled,
                                                 const QString &name)
{
    if (!m_pContextMenu) {
        qCWarning(lcSmsWindow) << "export entry without a context menu";
        return;
    }
    if (!info.action)
        return;
    if (!enabled) {
        m_pContextMenu->removeAction(info.action);
        return;
    }
    if (isKey(name, SmsMenuKey::ExportSelected))
        connect(info.action, &QAction::triggered, this, &SMSUIMainDlg::onClickExportSMS);
    else if (isKey(name, SmsMenuKey::ExportAll))
        connect(info.action, &QAction::triggered, this, &SMSUIMainDlg::onClickExportAllSMS);
}

QAction *SMSUIMainDlg::GetAction(const QString &key) const
{
    if (!m_pContextMenu || key.isEmpty())
        return nullptr;
    for (const MENU::QActionInfo &info : m_rightClickList) {
        if (info.key == key)
            return info.action;
    }
    return nullptr;
}

QAction *SMSUIMainDlg::targetAction(const QString &submenuKey, const QString &key) const
{
    if (!m_pContextMenu)
        return nullptr;
    for (const MENU::QActionInfo &info : m_rightClickList) {
        if (info.parentKey == submenuKey && info.key == key)
            return info.action;
    }
    return nullptr;
}

void SMSUIMainDlg::addSIMDeviceAction()
{
    _UTPS_EN_SIMSTATE simState = UTPS_SIMSTATE_ABSENT;
    if (m_pStatusLogicObject)
        m_pStatusLogicObject->GetSimStatus(&simState);
    const bool visible = !(m_bMultiModeCard && m_bHideDualModeCard);
    QHash<QString, QMenu *> submenus;
    for (const MENU::QActionInfo &info : std::as_const(m_rightClickList)) {
        if (info.menu)
            submenus.insert(info.key, info.menu);
    }
    for (const MENU::QActionInfo &info : std::as_const(m_rightClickList)) {
        if (!info.action || !isTargetKey(info.key))
            continue;
        UpdateMenuItemForSimAndDevice(submenus.value(info.parentKey), info.key, info.action,
                                      simState);
        info.action->setVisible(visible);
    }
}

void SMSUIMainDlg::UpdateMenuItemForSimAndDevice(QMenu *submenu, const QString &key,
                                                 QAction *action, _UTPS_EN_SIMSTATE simState)
{
    if (!submenu || !action)
        return;
    // The storages the window found stand for the SIM-memory and device flags: nothing
    // else in the window learns whether those storages exist.
    bool present = false;
    if (isKey(key, SmsMenuKey::TargetSim)) {
        action->setText(GetSIMText(key));
        present = simState == UTPS_SIMSTATE_READY && m_bSimStorageAvailable;
        if (present && m_bMultiModeCard) {
            int productType = 3;
            int simType = 0;
            UTPS_DevSrv_GetProductType(&productType);
            if (UTPS_DevSrv_GetSimType(&simType) == 0)
                present = simTypeAcceptsMessages(simType, productType);
        }
    } else if (isKey(key, SmsMenuKey::TargetDevice)) {
        present = m_bDeviceStorageAvailable;
    } else {
        return;  // the PC is always a target
    }
    const QList<QAction *> inMenu = submenu->actions();
    if (present == inMenu.contains(action))
        return;
    if (!present) {
        submenu->removeAction(action);
        return;
    }
    // Put back in the description's order: before the first later target still shown.
    QAction *before = nullptr;
    bool later = false;
    for (const MENU::QActionInfo &info : std::as_const(m_rightClickList)) {
        if (info.action == action) {
            later = true;
        } else if (later && inMenu.contains(info.action)) {
            before = info.action;
            break;
        }
    }
    submenu->insertAction(before, action);
}

void SMSUIMainDlg::contextMenuEvent(QContextMenuEvent *event)
{
    if (!event || !m_pCurrentTable || (m_pTreeWidget && m_pTreeWidget->hasFocus()))
        return;
    QWidget *viewport = m_pCurrentTable->viewport();
    if (!isAncestorOf(viewport))
        return;
    const QPoint point = viewport->mapFrom(this, event->pos());
    // The header and anything beside the table have no menu.
    if (!viewport->rect().contains(point))
        return;
    showContextMenu(m_pCurrentTable->indexAt(point), event->globalPos());
    event->accept();
}

void SMSUIMainDlg::onTreeContextMenu(const QPoint &pos)
{
    onRightClickAction();
    // The press that opened the menu made the node current: offer that folder's commands
    // (new, delete all, move all, export all ...), as on the empty area of its table.
    QTreeWidgetItem *item = m_pTreeWidget ? m_pTreeWidget->itemAt(pos) : nullptr;
    if (!item || item != m_pCurrentTreeItem || !m_pCurrentTable)
        return;
    showContextMenu(QModelIndex(), m_pTreeWidget->viewport()->mapToGlobal(pos));
}

void SMSUIMainDlg::disableRowCommands()
{
    using namespace SmsMenuKey;
    setMenuItemsEnabled({Edit, Forward, Reply, Send, SaveNumber, Delete, Recover, ExportSelected,
                         Call},
                        false);
    if (!m_pCurrentTable || m_pCurrentTable->rowCount() == 0)
        setMenuItemsEnabled({ClearAll, ExportAll}, false);
    disableMoveCopy();
}

void SMSUIMainDlg::prepareMenuForKeys()
{
    if (!m_pContextMenu)
        return;
    addSIMDeviceAction();
    enableMenuItem();
    const int rows = selectedRowCount();
    if (rows == 0)
        disableRowCommands();
    else if (rows > 1)
        setMenuItemsEnabled({SmsMenuKey::SaveNumber, SmsMenuKey::Forward, SmsMenuKey::Reply,
                             SmsMenuKey::Edit, SmsMenuKey::Send, SmsMenuKey::Call},
                            false);
}

void SMSUIMainDlg::initMenuKeys()
{
    if (m_pMenuKeys)
        return;
    m_pMenuKeys = new MenuKeyShortcuts(
        this, [this](const QString &key) { return GetAction(key); },
        [this] { prepareMenuForKeys(); });
    // The other entries' keys are the toolbar's shortcuts.
    for (const char *key : {SmsMenuKey::Recover, SmsMenuKey::ClearAll, SmsMenuKey::SaveNumber})
        m_pMenuKeys->addKey(QString::fromLatin1(key));
}

void SMSUIMainDlg::showContextMenu(const QModelIndex &index, const QPoint &globalPos)
{
    if (!m_pContextMenu || !m_pCurrentTable)
        return;
    addSIMDeviceAction();
    enableMenuItem();
    using namespace SmsMenuKey;
    if (!index.isValid()) {
        disableRowCommands();
        // Clearing the current cell clears the selection too; the toolbar follows it.
        m_pCurrentTable->setCurrentCell(-1, -1);
        disableAllToolbarItems();
        if (m_pCurrentTreeItem)
            loadPreviewtextOnTreeNodeClick(m_pCurrentTreeItem->text(0));
    } else if (selectedRowCount() > 1) {
        setMenuItemsEnabled({SaveNumber, Forward, Reply, Edit, Send, Call}, false);
    } else {
        updatePreviewPaneForRightClick();
    }
    m_pContextMenu->popup(globalPos);
}
