// SPDX-License-Identifier: GPL-3.0-or-later
// Bringing a folder's table in line with the store. Start-up, card and modem events and the
// end of a batch all ask for it, often for tables that already show exactly what the store
// holds, or nearly: only the rows that differ are taken out, put in or pointed at their new
// record (the table otherwise left as a rebuild leaves it); a table that differs much is
// read again from the store's buffers.
#include "SMSUIMainDlg.h"

#include <QHash>
#include <QMultiHash>
#include <QTreeWidgetItem>

#include "store/SMSStatusUILogic.h"
#include "SMSUITableWidget.h"
#include "SmsLog.h"

#include <algorithm>
#include <vector>

namespace {
constexpr int kNameColumn = 0;
constexpr int kContentColumn = 1;
constexpr int kTimeColumn = 2;

bool sharesCharacters(const QString &a, const QString &b)
{
    return a.constData() == b.constData() && a.size() == b.size();
}

// Whether the cell shows exactly source's characters, read without copying its text where
// the cell keeps it itself (the common case, and this runs for every row of a table).
bool showsCharactersOf(const QTableWidgetItem *cell, const QString &source)
{
    if (const auto *own = dynamic_cast<const UITableItem *>(cell)) {
        if (const QString *text = own->keptText())
            return sharesCharacters(*text, source);
    }
    return sharesCharacters(cell->text(), source);
}
} // namespace

void SMSUIMainDlg::syncSMSTableWithBuffers(_EN_SMS_POSITION position)
{
    if (m_bSteppingSyncs) {
        m_batchEnd.add([this, position] { refreshSMSTable(position, /* always */ false); });
        return;
    }
    refreshSMSTable(position, /* always */ false);
}

void SMSUIMainDlg::afterBatchSyncs(std::function<void()> step)
{
    if (m_bSteppingSyncs)
        m_batchEnd.add(std::move(step));
    else
        step();
}

void SMSUIMainDlg::reloadSMSTable(_EN_SMS_POSITION position)
{
    refreshSMSTable(position, /* always */ true);
}

void SMSUIMainDlg::refreshSMSTable(_EN_SMS_POSITION position, bool always)
{
    SMSUITableWidget *table = m_tableMap.value(position);
    if (!table) {
        qCDebug(lcSmsWindow) << "no table to rebuild for position" << position;
        return;
    }
    table->clearFocus();
    // Rows a search took out point at records the store may have freed by now.
    table->dropSetAsideRows();
    const QList<_EN_SMS_POSITION> sources = sourcesOf(position);
    disconnectTableSignals(table);
    if (!always && updateChangedRows(table, sources)) {
        // Left as a rebuild leaves it: nothing selected, scrolled to the top, sorted.
        if (QItemSelectionModel *selection = table->selectionModel()) {
            const QSignalBlocker blocker(table);
            selection->clear();
        }
        table->scrollToTop();
    } else {
        table->setSortingEnabled(false);
        if (emptySMSTable(position) != 0) {
            qCWarning(lcSmsWindow) << "emptying the table of position" << position << "failed";
            return;
        }
        if (sources.isEmpty())
            qCWarning(lcSmsWindow) << "no folder to rebuild from for position" << position;
        if (m_pStatusLogicObject) {
            // Clearing a selection would still fire the view's own selection model signal.
            const QSignalBlocker blocker(table);
            for (_EN_SMS_POSITION source : sources)
                appendRecordsOf(source, table);
        }
    }
    if (m_pCurrentTreeItem)
        loadPreviewtextOnTreeNodeClick(m_pCurrentTreeItem->text(0));
    disableAllToolbarItems();
    connectTableSignals(table);
    if (!table->isSortingEnabled())
        table->setSortingEnabled(true);
    m_countRefresh.request();
}

bool SMSUIMainDlg::updateChangedRows(SMSUITableWidget *table,
                                     const QList<_EN_SMS_POSITION> &sources)
{
    if (!m_pStatusLogicObject || !table->isSortingEnabled())
        return false;
    // The rows' record addresses are only compared, never followed: a row's record may
    // have been freed since, and a new record may sit at the same address; the row then
    // counts only when it shows that new record exactly as a rebuild would.
    QHash<const SmsRecord *, int> rowOf;
    rowOf.reserve(table->rowCount());
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem *name = table->item(row, kNameColumn);
        if (!name || name->type() != UINameItem::Type)
            return false;
        const SmsRecord *record = static_cast<const UINameItem *>(name)->record();
        if (!record)
            return false;
        rowOf.insert(record, row);
    }
    if (rowOf.size() != table->rowCount())
        return false;  // a record shown twice
    const bool rtl = isRightToLeft();
    std::vector<bool> kept(size_t(table->rowCount()), false);
    QList<SmsRecord *> missing;
    for (_EN_SMS_POSITION source : sources) {
        const QHash<int, SmsRecord *> records = m_pStatusLogicObject->GetSMSRecordsSet(source);
        for (SmsRecord *record : records) {
            const int row = rowOf.value(record, -1);
            if (row >= 0 && rowShowsRecord(table, row, *record, rtl))
                kept[size_t(row)] = true;
            else
                missing.append(record);
        }
    }
    if (missing.isEmpty() && std::find(kept.begin(), kept.end(), false) == kept.end())
        return true;
    repointMatchingRows(table, kept, missing, rtl);
    // Each row taken out or put in moves the rows after it: past a share of the table,
    // making it afresh is cheaper.
    const qsizetype stale = std::count(kept.begin(), kept.end(), false);
    if (stale + missing.size() > qMax<qsizetype>(64, table->rowCount() / 16))
        return false;
    const QSignalBlocker blocker(table);
    for (int row = table->rowCount() - 1; row >= 0;) {
        const int last = row;
        while (row >= 0 && !kept[size_t(row)])
            --row;
        if (row < last)
            table->model()->removeRows(row + 1, last - row);
        else
            --row;
    }
    for (SmsRecord *record : std::as_const(missing)) {
        const std::array<QTableWidgetItem *, 3> items = rowItemsFor(record);
        const int row = sortedRowFor(table, items);
        if (row < 0) {
            qDeleteAll(items);
            return false;
        }
        table->insertRow(row);
        placeRowItems(table, row, items);
    }
    return true;
}

void SMSUIMainDlg::repointMatchingRows(SMSUITableWidget *table, std::vector<bool> &kept,
                                       QList<SmsRecord *> &missing, bool rtl)
{
    // A record filed anew (a message moved to another folder is a new record) usually
    // shows the same texts as the row of the record it replaces: that row is pointed at
    // the new record and given its icon, instead of being taken out and made again.
    QMultiHash<QString, int> staleByTime;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (kept[size_t(row)])
            continue;
        const QTableWidgetItem *time = table->item(row, kTimeColumn);
        if (time && time->type() == UITimeItem::Type) {
            const QString sdkTime = static_cast<const UITimeItem *>(time)->sdkTime();
            if (!sdkTime.isEmpty())
                staleByTime.insert(sdkTime, row);
        }
    }
    if (staleByTime.isEmpty())
        return;
    QList<SmsRecord *> unmatched;
    for (SmsRecord *record : std::as_const(missing)) {
        int match = -1;
        const QString name = tableNameText(*record, rtl);
        const QString content = tableContentText(*record, rtl);
        for (auto it = staleByTime.constFind(record->strTime);
             it != staleByTime.constEnd() && it.key() == record->strTime; ++it) {
            const QTableWidgetItem *nameCell = table->item(*it, kNameColumn);
            const QTableWidgetItem *contentCell = table->item(*it, kContentColumn);
            if (!kept[size_t(*it)] && contentCell && nameCell->text() == name
                && contentCell->text() == content) {
                match = *it;
                break;
            }
        }
        if (match < 0) {
            unmatched.append(record);
            continue;
        }
        auto *nameCell = static_cast<UINameItem *>(table->item(match, kNameColumn));
        nameCell->setRecord(record);
        if (nameCell->imageKey() != record->imgIcon.cacheKey() || nameCell->imageMirrored() != rtl)
            setTableIcon(nameCell, record->imgIcon, rtl);
        setSendStateToolTip(*record, nameCell);
        kept[size_t(match)] = true;
    }
    missing = unmatched;
}

bool SMSUIMainDlg::rowShowsRecord(const SMSUITableWidget *table, int row,
                                  const SmsRecord &record, bool rtl) const
{
    const auto *name = static_cast<const UINameItem *>(table->item(row, kNameColumn));
    const QTableWidgetItem *content = table->item(row, kContentColumn);
    const QTableWidgetItem *time = table->item(row, kTimeColumn);
    if (!content || !time || time->type() != UITimeItem::Type)
        return false;
    // A time of "now" is never the same twice: such a row is always made again.
    const QString sdkTime = static_cast<const UITimeItem *>(time)->sdkTime();
    if (sdkTime.isEmpty() || sdkTime != record.strTime
        || name->imageKey() != record.imgIcon.cacheKey() || name->imageMirrored() != rtl)
        return false;
    // A text still sharing its characters with the record's, made in this same direction,
    // is what making it again would give: only other texts are worked out and compared.
    const QString &nameSource =
        record.strDisplayName.isEmpty() ? record.strNumber : record.strDisplayName;
    if (!showsCharactersOf(name, nameSource) && name->text() != tableNameText(record, rtl))
        return false;
    return showsCharactersOf(content, record.strContent)
        || content->text() == tableContentText(record, rtl);
}
