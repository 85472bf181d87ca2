// Bringing a folder's table in line with the store. Start-up, card and modem events and the
// end of a batch all ask for it, often for tables that already show exactly what the store
// holds; those are left as they are (apart from what a rebuild resets), the others are read
// again from the store's buffers.
#include "SMSUIMainDlg.h"

#include <QHash>
#include <QTreeWidgetItem>

#include "store/SMSStatusUILogic.h"
#include "SMSUITableWidget.h"
#include "SmsLog.h"

namespace {
constexpr int kNameColumn = 0;
constexpr int kContentColumn = 1;
constexpr int kTimeColumn = 2;

bool sharesCharacters(const QString &a, const QString &b)
{
    return a.constData() == b.constData() && a.size() == b.size();
}
} // namespace

void SMSUIMainDlg::syncSMSTableWithBuffers(_EN_SMS_POSITION position)
{
    refreshSMSTable(position, /* always */ false);
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
    const QList<_EN_SMS_POSITION> sources = sourcesOf(position);
    if (!always && tableShowsBuffers(table, sources)) {
        // Left as a rebuild leaves it: nothing selected, scrolled to the top, sorted.
        disconnectTableSignals(table);
        if (QItemSelectionModel *selection = table->selectionModel()) {
            const QSignalBlocker blocker(table);
            selection->clear();
        }
        table->scrollToTop();
    } else {
        table->setSortingEnabled(false);
        disconnectTableSignals(table);
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
    updateCount();
}

bool SMSUIMainDlg::tableShowsBuffers(const SMSUITableWidget *table,
                                     const QList<_EN_SMS_POSITION> &sources) const
{
    if (!m_pStatusLogicObject || !table)
        return false;
    // The rows' record addresses are only compared, never followed: a row's record may
    // have been freed since, and a new record may sit at the same address; the row then
    // matches only when it shows that new record exactly as a rebuild would.
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
    qsizetype shown = 0;
    for (_EN_SMS_POSITION source : sources) {
        const QHash<int, SmsRecord *> records = m_pStatusLogicObject->GetSMSRecordsSet(source);
        shown += records.size();
        if (shown > rowOf.size())
            return false;
        for (const SmsRecord *record : records) {
            const int row = rowOf.value(record, -1);
            if (row < 0 || !rowShowsRecord(table, row, *record, rtl))
                return false;
        }
    }
    return shown == rowOf.size();
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
    const QString shownName = name->text();
    if (!sharesCharacters(shownName, nameSource) && shownName != tableNameText(record, rtl))
        return false;
    const QString shownContent = content->text();
    return sharesCharacters(shownContent, record.strContent)
        || shownContent == tableContentText(record, rtl);
}
