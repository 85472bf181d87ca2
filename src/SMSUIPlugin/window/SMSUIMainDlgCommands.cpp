// SPDX-License-Identifier: GPL-3.0-or-later
// The window's commands: wiring of toolbar, search box and shortcuts, the toolbar
// dispatch, Ctrl+A and F5, and the search filter over the current table.
#include "SMSUIMainDlg.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDateTime>
#include <QItemSelectionModel>
#include <QShortcut>
#include <QTextBrowser>
#include <QTreeWidgetItem>

#include "SMSCommandIds.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SearchLineEdit.h"
#include "SmsLog.h"

#include <algorithm>
#include <vector>

namespace {
const QString kPluginName = QStringLiteral("SMSUIPlugin");
constexpr int kTimeColumn = 2;

// Folders of one's own messages (and drafts, favourites, trash): selecting all of them
// keeps the toolbar as the last click left it; only Delete follows the row count.
bool keepsToolbarOnSelectAll(int position)
{
    switch (position) {
    case EN_LOCAL_OUTBOX: case EN_LOCAL_DRAFT: case EN_LOCAL_FAVORITE: case EN_LOCAL_TRASH:
    case EN_SIM_OUTBOX: case EN_DEVICE_OUTBOX: case EN_LOCAL_SENTITEMS:
        return true;
    default:
        return false;
    }
}

// Whether the text a cell is searched by holds text: what the user reads, times in their
// ISO form. A time cell made from the SDK's "yyyyMMddhhmmss" is given its ISO form from
// those digits, which name the same local time: making a date-time per row would look the
// time zone up for every row of the table.
bool cellMatches(const QTableWidgetItem *item, int column, const QString &text)
{
    if (column != kTimeColumn) {
        // Read in place where the cell keeps its text: no copy through a variant per cell.
        const UITableItem *own = UITableItem::of(item);
        if (const QString *kept = own ? own->keptText() : nullptr)
            return kept->contains(text, Qt::CaseInsensitive);
        return item->text().contains(text, Qt::CaseInsensitive);
    }
    if (item->type() == UITimeItem::Type) {
        // The digits come from the cell's number: its text lives elsewhere in memory.
        if (qint64 key = static_cast<const UITimeItem *>(item)->timeKey(); key >= 0) {
            char16_t d[14];
            for (int i = 13; i >= 0; --i, key /= 10)
                d[i] = char16_t(u'0' + key % 10);
            const char16_t iso[19] = {d[0], d[1], d[2], d[3], u'-', d[4], d[5], u'-', d[6], d[7],
                                      u'T', d[8], d[9], u':', d[10], d[11], u':', d[12], d[13]};
            return QStringView(iso, 19).contains(text, Qt::CaseInsensitive);
        }
    }
    return item->data(Qt::DisplayRole).toDateTime().toString(Qt::ISODate).contains(
        text, Qt::CaseInsensitive);
}
} // namespace

void SMSUIMainDlg::initCommands()
{
    if (m_pButtonGroup)
        connect(m_pButtonGroup, &QButtonGroup::idClicked, this, &SMSUIMainDlg::onTBBtnClicked,
                Qt::UniqueConnection);
    if (m_pSearchBox) {
        connect(m_pSearchBox, &QLineEdit::textEdited, this, &SMSUIMainDlg::onTextEdited,
                Qt::UniqueConnection);
        // Escape in the box empties it (textEdited follows) and closes the search row.
        connect(m_pSearchBox, &SearchLineEdit::cancelled, this, &SMSUIMainDlg::hideSearchBox,
                Qt::UniqueConnection);
    }
    // New and Delete are wired with the editor and the operations they start.
    const QPair<QShortcut *, void (SMSUIMainDlg::*)()> keys[] = {
        {m_pEditShortcut, &SMSUIMainDlg::OnEditKeyPress},
        {m_pSendShortcut, &SMSUIMainDlg::OnSendKeyPress},
        {m_pReplyShortcut, &SMSUIMainDlg::OnReplyKeyPress},
        {m_pForwardShortcut, &SMSUIMainDlg::OnForwardKeyPress},
        {m_pCallShortcut, &SMSUIMainDlg::OnCallKeyPress}};
    for (const auto &[shortcut, slot] : keys) {
        if (shortcut)
            connect(shortcut, &QShortcut::activated, this, slot, Qt::UniqueConnection);
    }
    if (!m_pSearchShortcut) {
        m_pSearchShortcut = new QShortcut(this);
        connect(m_pSearchShortcut, &QShortcut::activated, this, &SMSUIMainDlg::onMenuSearch);
        m_pSelectAllShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_A), this);
        connect(m_pSelectAllShortcut, &QShortcut::activated, this,
                &SMSUIMainDlg::onCtrlAPressedOnTable);
        m_pRefreshShortcut = new QShortcut(QKeySequence(Qt::Key_F5), this);
        connect(m_pRefreshShortcut, &QShortcut::activated, this,
                &SMSUIMainDlg::onRefreshKeyPress);
    }
    initMenuKeys();
    supportShortcutsKeys();
    if (m_pTreeWidget)
        connect(m_pTreeWidget, &QWidget::customContextMenuRequested, this,
                &SMSUIMainDlg::onTreeContextMenu, Qt::UniqueConnection);
    onRightClickAction();
    SetAddrBookPluginFlag();
    // The layout starts with every item disabled; New and Search need no selection, and
    // no later rule turns them on again.
    for (const ToolItem &item : std::as_const(m_toolItems)) {
        if (item.id == SmsCommand::New || item.search)
            enableToolBarItem(item.id);
    }
}

void SMSUIMainDlg::onTBBtnClicked(int id)
{
    switch (id) {
    case SmsCommand::New:
    case SmsCommand::Send:
    case SmsCommand::Reply:
    case SmsCommand::Forward:
        onButtonClickedNewSMS(id);  // the command id is the editor's mode
        break;
    case SmsCommand::Call:
        onButtonClickCallHandler(false);
        break;
    case SmsCommand::Delete:
        onButtonClickDelete();
        break;
    default:
        break;
    }
    const auto item = std::find_if(m_toolItems.cbegin(), m_toolItems.cend(),
                                   [id](const ToolItem &t) { return t.id == id; });
    if (item != m_toolItems.cend() && item->search)
        onMenuSearch();
}

bool SMSUIMainDlg::isToolBarItemEnabled(int id) const
{
    return ToolBarLogic::IsItemEnabled(kPluginName, id);
}

void SMSUIMainDlg::setSmsToolbarTooltipLanguage()
{
    ToolBarLogic::ChangeToolBarIconDirection(kPluginName, m_toolItems);
    if (m_pSearchBox)
        m_pSearchBox->retranslate();
    appendShortcuts();
}

// The shortcuts act only where their toolbar button would: Reply in an outbox does nothing.
void SMSUIMainDlg::OnSendKeyPress()
{
    if (m_bSendEnabled)
        onButtonClickedNewSMS(SmsCommand::Send);
}

void SMSUIMainDlg::OnReplyKeyPress()
{
    if (m_bReplyEnabled)
        onButtonClickedNewSMS(SmsCommand::Reply);
}

void SMSUIMainDlg::OnForwardKeyPress()
{
    if (m_bForwardEnabled)
        onButtonClickedNewSMS(SmsCommand::Forward);
}

void SMSUIMainDlg::OnEditKeyPress()
{
    if (m_iSelectedTreeNode != EN_LOCAL_DRAFT || selectedRowCount() < 1)
        return;
    const SmsRecord *record = firstSelectedRecord();
    if (record && record->enPos == EN_LOCAL_DRAFT)
        onButtonClickedEditSMS();
}

void SMSUIMainDlg::onCtrlAPressedOnTable()
{
    if (!m_pCurrentTable)
        return;
    m_pCurrentTable->selectAll();
    const int rows = m_pCurrentTable->rowCount();
    if (!keepsToolbarOnSelectAll(m_iSelectedTreeNode)) {
        if (rows == 0) {
            disableAllToolbarItems();
        } else {
            onClickTableRow(0);
            enableToolBarItem(SmsCommand::Delete);
        }
        return;
    }
    if (rows == 0) {
        disableToolBarItem(SmsCommand::Delete);
        return;
    }
    if (rows > 1 && m_pTextPreview)
        m_pTextPreview->clear();
    enableToolBarItem(SmsCommand::Delete);
}

void SMSUIMainDlg::onRefreshKeyPress()
{
    // A batch changes the very records the rows point at; its end refreshes the tables.
    if (m_SMSThreadInst.isRunning())
        return;
    reloadSMSTable(m_iSelectedTreeNode);
    // A search in progress stays applied to the fresh rows.
    if (m_pSearchBox && !m_pSearchBox->text().isEmpty())
        updateTableSmsTable(m_pSearchBox->text());
}

// ---- search --------------------------------------------------------------------------

void SMSUIMainDlg::onMenuSearch()
{
    if (m_bSearchShown)
        hideSearchBox();
    else
        showSearchBox();
}

void SMSUIMainDlg::showSearchBox()
{
    m_bSearchShown = true;
    ToolBarLogic::ShowHideSearchBox(kPluginName, true);
    for (const ToolItem &item : std::as_const(m_toolItems)) {
        if (QAbstractButton *button = m_pButtonGroup ? m_pButtonGroup->button(item.id) : nullptr;
            button && item.search)
            button->setChecked(true);
    }
}

void SMSUIMainDlg::hideSearchBox()
{
    m_bSearchShown = false;
    if (m_pSearchBox)
        m_pSearchBox->clear();
    ToolBarLogic::ShowHideSearchBox(kPluginName, false);
    for (const ToolItem &item : std::as_const(m_toolItems)) {
        if (QAbstractButton *button = m_pButtonGroup ? m_pButtonGroup->button(item.id) : nullptr;
            button && item.search)
            button->setChecked(false);
    }
    onTextEdited(QString());
}

void SMSUIMainDlg::onTextEdited(const QString &text)
{
    // The filter takes rows out and keeps them aside, so a table that was filtered gets
    // them back before it can show more rows, or before another folder is shown; it is
    // read again from the store when they were dropped meanwhile.
    const bool wasFiltered = m_bPendingSync;
    m_bPendingSync = !text.isEmpty();
    if (!wasFiltered && text.isEmpty()) {
        m_strPrevSearchText.clear();
        return;
    }
    if (wasFiltered && (text.isEmpty() || !text.contains(m_strPrevSearchText))
        && !restoreSearchedOutRows())
        reloadSMSTable(m_iSelectedTreeNode);
    updateTableSmsTable(text);
    m_strPrevSearchText = text;
    if (!m_pTextPreview || !m_pCurrentTable)
        return;
    m_pTextPreview->setReadOnly(true);
    m_pTextPreview->selectAll();
    m_pTextPreview->clearFocus();
    QString nodeText = m_pCurrentTreeItem ? m_pCurrentTreeItem->text(0) : QString();
    if (nodeText.isEmpty())
        nodeText = tr(QStringLiteral("IDS_TREE_LINBOX"));
    m_pTextPreview->setPlainText(nodeText + QLatin1Char('\n') + tr(QStringLiteral("IDS_STR_SMSCOUNT"))
                                 + QString::number(m_pCurrentTable->rowCount()));
    m_pTextPreview->setFocus(Qt::OtherFocusReason);
    if (m_pSearchBox && m_bSearchShown)
        m_pSearchBox->setFocus(Qt::OtherFocusReason);
}

void SMSUIMainDlg::updateTableSmsTable(const QString &text)
{
    SMSUITableWidget *table = m_pCurrentTable;
    if (!table || text.isEmpty())
        return;
    const QSignalBlocker blocker(table);
    table->setCurrentCell(-1, -1);
    table->clearSelection();
    const int columns = table->columnCount();
    bool stopped = false;
    table->setAsideRowsWhere([&](int row) {
        if (stopped)
            return false;
        for (int column = 0; column < columns; ++column) {
            const QTableWidgetItem *item = table->item(row, column);
            if (!item) {
                qCWarning(lcSmsWindow) << "search stopped at a row without cells:" << row;
                stopped = true;
                return false;
            }
            if (cellMatches(item, column, text))
                return false;
        }
        return true;
    });
    // Whatever was selected may be gone: commands wait for the next selection.
    disableAllToolbarItems();
}

bool SMSUIMainDlg::restoreSearchedOutRows()
{
    SMSUITableWidget *table = m_tableMap.value(m_iSelectedTreeNode);
    if (!table || !table->hasSetAsideRows())
        return false;
    {
        // Left as reading the folder again would leave it: nothing selected, at the top.
        const QSignalBlocker blocker(table);
        table->setCurrentCell(-1, -1);
        table->clearSelection();
        table->restoreSetAsideRows();
    }
    table->scrollToTop();
    disableAllToolbarItems();
    return true;
}
