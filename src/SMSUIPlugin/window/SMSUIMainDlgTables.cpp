// SPDX-License-Identifier: GPL-3.0-or-later
// The message tables: one per folder and storage root, built and rebuilt from the store.
#include "SMSUIMainDlg.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMutexLocker>
#include <QTextBrowser>
#include <QTreeWidgetItem>

#include "CommonUtils.h"
#include "ShownText.h"
#include "store/SMSStatusUILogic.h"
#include "SMSUITableWidget.h"
#include "SmsLog.h"

namespace {
constexpr int kNameColumn = 0;
constexpr int kContentColumn = 1;
constexpr int kTimeColumn = 2;
constexpr int kRowHeight = 16;
// Every cell's alignment, kept by the tables' delegate rather than by each cell.
constexpr Qt::Alignment kCellAlignment = Qt::AlignLeft | Qt::AlignBottom;
// The SDK writes this when a message carries no time; it stands for "when shown".
const QString kNowPlaceholder = QStringLiteral("00000000000000");

QImage mirroredIf(const QImage &image, bool mirror)
{
    return mirror ? image.mirrored(true, false) : image;
}
} // namespace

void SMSUIMainDlg::configureTable(SMSUITableWidget *table)
{
    if (!table)
        return;
    table->setMainDlg(this);
    table->setColumnCount(3);
    table->setWordWrap(false);
    table->setShowGrid(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    // In a right-to-left window each cell reads in its own text's direction (the delegate).
    auto *delegate = new GridDelegateLayout(table);
    delegate->setDefaultAlignment(kCellAlignment);
    table->setItemDelegate(delegate);
    for (int c = 0; c < 3; ++c)
        table->setHorizontalHeaderItem(c, new UITableItem);
    table->setColumnWidth(kNameColumn, 150);
    table->setColumnWidth(kContentColumn, 250);
    table->setColumnWidth(kTimeColumn, 140);
    QHeaderView *header = table->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setTextElideMode(Qt::ElideRight);
    header->setSortIndicatorShown(true);
    header->setStretchLastSection(false);
    connect(header, &QHeaderView::sectionClicked, this, &SMSUIMainDlg::OnHeaderClicked,
            Qt::UniqueConnection);
    setTableHeaderTexts(table);
    table->setSortingEnabled(true);
    table->sortItems(kTimeColumn, Qt::DescendingOrder);
    connectTableSignals(table);
    connect(table, &QTableWidget::cellDoubleClicked, this, &SMSUIMainDlg::onDoubleClickedEditSMS,
            Qt::UniqueConnection);
    configureTableLayout(table);
}

void SMSUIMainDlg::setTableHeaderTexts(SMSUITableWidget *table)
{
    if (!table)
        return;
    const QString texts[3] = {
        tr(QStringLiteral("IDS_LST_TEL")) + QLatin1Char('/') + tr(QStringLiteral("IDS_LST_NAME")),
        tr(QStringLiteral("IDS_LST_CONTENT")), tr(QStringLiteral("IDS_LST_TIME"))};
    for (int c = 0; c < 3; ++c) {
        if (QTableWidgetItem *h = table->horizontalHeaderItem(c))
            h->setText(texts[c]);
    }
}

void SMSUIMainDlg::connectTableSignals(SMSUITableWidget *table)
{
    // Selection first, then clicks: the order the rebuild restores them in.
    connect(table, &QTableWidget::itemSelectionChanged, this,
            &SMSUIMainDlg::onTableSelectionChanged, Qt::UniqueConnection);
    connect(table, &QTableWidget::cellClicked, this, &SMSUIMainDlg::onClickTableRow,
            Qt::UniqueConnection);
}

void SMSUIMainDlg::disconnectTableSignals(SMSUITableWidget *table)
{
    disconnect(table, &QTableWidget::cellClicked, this, &SMSUIMainDlg::onClickTableRow);
    disconnect(table, &QTableWidget::itemSelectionChanged, this,
               &SMSUIMainDlg::onTableSelectionChanged);
}

QList<_EN_SMS_POSITION> SMSUIMainDlg::sourcesOf(_EN_SMS_POSITION position) const
{
    switch (position) {
    case EN_SIM_ROOT:
        return {EN_SIM_OUTBOX, EN_SIM_INBOX};
    case EN_LOCAL_ROOT:
        return {EN_LOCAL_OUTBOX, EN_LOCAL_INBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE,
                EN_LOCAL_TRASH, EN_LOCAL_REPORT, EN_LOCAL_CBSBOX, EN_LOCAL_SENTITEMS};
    case EN_DEVICE_ROOT:
        return {EN_DEVICE_OUTBOX, EN_DEVICE_INBOX};
    default:
        if ((position >= EN_LOCAL_OUTBOX && position <= EN_LOCAL_CBSBOX)
            || position == EN_LOCAL_SENTITEMS)
            return {position};
        return {};
    }
}

void SMSUIMainDlg::appendRecordsOf(_EN_SMS_POSITION source, SMSUITableWidget *table)
{
    const QHash<int, SmsRecord *> records = m_pStatusLogicObject->GetSMSRecordsSet(source);
    const int first = table->rowCount();
    table->setRowCount(first + records.size());
    int row = first;
    if (table->isSortingEnabled()) {
        for (SmsRecord *record : records)
            populateTableRow(record, row++, table);
        return;
    }
    {
        // The views hear of the new rows' cells once, below, not once per cell: thousands
        // of single-cell notices were a good part of filling a large table. Only with
        // sorting off, where a cell set never moves its row.
        const QSignalBlocker quiet(table->model());
        for (SmsRecord *record : records)
            populateTableRow(record, row++, table);
    }
    if (row > first) {
        QAbstractItemModel *model = table->model();
        emit model->dataChanged(model->index(first, 0),
                                model->index(row - 1, table->columnCount() - 1));
    }
}

void SMSUIMainDlg::buildStorageTables(const QList<_EN_SMS_POSITION> &positions)
{
    if (!m_pStatusLogicObject)
        return;
    for (_EN_SMS_POSITION position : positions) {
        if (m_tableMap.contains(position)) {
            // Only the SIM and device storages are loaded again (when they reappear).
            syncSMSTableWithBuffers(position);
            continue;
        }
        auto *table = new SMSUITableWidget;
        configureTable(table);
        // Sorting is off while filling, so rows land where they are put and are sorted once.
        table->setSortingEnabled(false);
        const QSignalBlocker blocker(table);
        for (_EN_SMS_POSITION source : sourcesOf(position))
            appendRecordsOf(source, table);
        // The header already names the time column, newest first: this is the one sort.
        table->setSortingEnabled(true);
        m_tableMap.insert(position, table);
    }
    nameTables();
}

void SMSUIMainDlg::populateLocalSMSTables()
{
    buildStorageTables({EN_LOCAL_OUTBOX, EN_LOCAL_INBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE,
                        EN_LOCAL_TRASH, EN_LOCAL_REPORT, EN_LOCAL_CBSBOX, EN_LOCAL_ROOT,
                        EN_LOCAL_SENTITEMS});
    updateCount();
}

void SMSUIMainDlg::populateSimSMSTables()
{
    buildStorageTables({EN_SIM_OUTBOX, EN_SIM_INBOX, EN_SIM_ROOT});
}

void SMSUIMainDlg::populateDeviceSMSTables()
{
    buildStorageTables({EN_DEVICE_OUTBOX, EN_DEVICE_INBOX, EN_DEVICE_ROOT});
}

int SMSUIMainDlg::emptySMSTable(_EN_SMS_POSITION position)
{
    SMSUITableWidget *table = m_tableMap.value(position);
    if (!table)
        return 23;
    table->clearFocus();
    table->discardAllRows();
    return 0;
}

void SMSUIMainDlg::addRecToSMSTable(_EN_SMS_POSITION position, SmsRecord *record)
{
    SMSUITableWidget *table = m_tableMap.value(position);
    if (!record || !table)
        return;
    const std::array<QTableWidgetItem *, 3> items = rowItemsFor(record);
    // Sorting stays on: the row goes straight to its place in the order the user chose,
    // without sorting the other rows again, so a burst of arrivals into a large table costs
    // one insertion each. A copy of the record already shown sits among the rows that sort
    // equal to it; a time of "now" is not reproducible, so such a record is looked up in all.
    int row = table->rowCount();
    if (table->isSortingEnabled() && record->strTime != kNowPlaceholder) {
        row = sortedRowFor(table, items);
        if (row < 0) {
            qDeleteAll(items);
            return;
        }
    } else if (doesTableHasRecord(record->iMsgId, table)) {
        qDeleteAll(items);
        return;
    }
    table->insertRow(row);
    placeRowItems(table, row, items);
    if (m_pCurrentTreeItem)
        loadPreviewtextOnTreeNodeClick(m_pCurrentTreeItem->text(0));
    onClickTableRow(0);
}

int SMSUIMainDlg::sortedRowFor(SMSUITableWidget *table,
                               const std::array<QTableWidgetItem *, 3> &items) const
{
    const int column = table->horizontalHeader()->sortIndicatorSection();
    if (column < 0 || column >= 3)
        return table->rowCount();
    const bool ascending = table->horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder;
    const QTableWidgetItem *probe = items[column];
    // Whether a sorts before b in the table's order.
    const auto before = [ascending](const QTableWidgetItem *a, const QTableWidgetItem *b) {
        return ascending ? *a < *b : *b < *a;
    };
    int low = 0;
    int high = table->rowCount();
    while (low < high) {
        const int middle = (low + high) / 2;
        const QTableWidgetItem *item = table->item(middle, column);
        if (item && before(item, probe))
            low = middle + 1;
        else
            high = middle;
    }
    const SmsRecord *record = SMSUITableWidget::recordOf(items[0]);
    for (int r = low; r < table->rowCount(); ++r) {
        const QTableWidgetItem *item = table->item(r, column);
        if (!item || before(probe, item))
            break;
        const SmsRecord *shown = table->recordAt(r);
        if (shown == record || (shown && record && shown->iMsgId == record->iMsgId
                                && shown->enPos == record->enPos))
            return -1;
    }
    return low;
}

void SMSUIMainDlg::populateTableRow(SmsRecord *record, int row, SMSUITableWidget *table)
{
    if (!record || !table) {
        qCWarning(lcSmsWindow) << "row without record or table";
        return;
    }
    placeRowItems(table, row, rowItemsFor(record));
}

std::array<QTableWidgetItem *, 3> SMSUIMainDlg::rowItemsFor(SmsRecord *record)
{
    const bool rtl = isRightToLeft();
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;

    // The record's address lives in the name cell only; the other cells need none.
    auto *name = new UINameItem(record);
    setTableNameField(record, name);
    auto *text = new UITableItem(tableContentText(*record, rtl));
    auto *time = record->strTime == kNowPlaceholder
        ? new UITimeItem(QDateTime::currentDateTime())
        : new UITimeItem(record->strTime);

    const std::array<QTableWidgetItem *, 3> items{name, text, time};
    for (QTableWidgetItem *item : items)
        item->setFlags(flags);
    return items;
}

QString SMSUIMainDlg::tableNameText(const SmsRecord &record, bool rtl)
{
    QString name = record.strDisplayName.isEmpty() ? record.strNumber : record.strDisplayName;
    if (rtl)
        CommonUtils::ParanthesisCorrection(name);
    return name;
}

QString SMSUIMainDlg::tableContentText(const SmsRecord &record, bool rtl)
{
    // Removing nothing leaves the text shared with the record: no copy per row.
    QString content = record.strContent;
    content.remove(QStringLiteral("\r\n"));
    content.remove(QLatin1Char('\n'));
    if (rtl)
        CommonUtils::ParanthesisCorrection(content);
    return content;
}

void SMSUIMainDlg::placeRowItems(SMSUITableWidget *table, int row,
                                 const std::array<QTableWidgetItem *, 3> &items)
{
    // Rows are born at the header's default height; setting it again per row is not free.
    if (table->rowHeight(row) != kRowHeight)
        table->setRowHeight(row, kRowHeight);
    // With sorting on, setting the sort column's cell moves the row into place: that cell
    // goes last, so that the others land in the row before it moves.
    const int sortColumn = table->isSortingEnabled()
        ? table->horizontalHeader()->sortIndicatorSection() : -1;
    for (int c = 0; c < 3; ++c) {
        if (c != sortColumn)
            table->setItem(row, c, items[c]);
    }
    if (sortColumn >= 0 && sortColumn < 3)
        table->setItem(row, sortColumn, items[sortColumn]);
}

QIcon SMSUIMainDlg::tableIcon(const QImage &image, bool mirrored)
{
    // A handful of status images serve thousands of rows: convert each once. The key is
    // the image's identity, shared by every copy the store hands out.
    if (image.isNull())
        return QIcon();
    const QPair<qint64, bool> key(image.cacheKey(), mirrored);
    auto it = m_tableIconCache.constFind(key);
    if (it == m_tableIconCache.constEnd())
        it = m_tableIconCache.insert(key, QIcon(QPixmap::fromImage(mirroredIf(image, mirrored))));
    return *it;
}

void SMSUIMainDlg::setTableIcon(QTableWidgetItem *item, const QImage &image, bool mirrored)
{
    item->setIcon(tableIcon(image, mirrored));
    if (item->type() == UINameItem::Type)
        static_cast<UINameItem *>(item)->setImageKey(image.cacheKey(), mirrored);
}

void SMSUIMainDlg::setTableNameField(SmsRecord *record, QTableWidgetItem *item)
{
    if (!record || !item)
        return;
    const bool rtl = isRightToLeft();
    item->setText(tableNameText(*record, rtl));
    setTableIcon(item, record->imgIcon, rtl);
    setSendStateToolTip(*record, item);
}

void SMSUIMainDlg::setSendStateToolTip(const SmsRecord &record, QTableWidgetItem *item)
{
    // Its icon alone would not say what "may not have been sent" means, nor what to do.
    // Rich text, so that the explanation wraps; the name is isolated as any outside text.
    item->setToolTip(IsSendUnknown(record)
                         ? QStringLiteral("<p>%1</p><p>%2</p>")
                               .arg(ShownText::htmlField(item->text()),
                                    tr(QStringLiteral("IDS_STR_SEND_UNKNOWN")).toHtmlEscaped())
                         : QString());
}

bool SMSUIMainDlg::setReadMessageIcon(SmsRecord *record, QTableWidgetItem *item)
{
    if (!record || !m_pStatusLogicObject)
        return false;
    const QList<QImage> images = m_pStatusLogicObject->GetTableImages();
    const QImage readImage = images.value(0);
    const bool rtl = isRightToLeft();
    if (record->iReadStatus == 1) {
        record->iReadStatus = 0;
        record->imgIcon = readImage;
        if (item)
            setTableIcon(item, readImage, rtl);
        return true;
    }
    if (record->iReadStatus == 0 && images.size() > 1 && record->imgIcon == images.at(1)) {
        record->imgIcon = readImage;
        if (item)
            setTableIcon(item, readImage, rtl);
    }
    return false;
}

bool SMSUIMainDlg::doesTableHasRecord(int id, SMSUITableWidget *table) const
{
    if (!table)
        return false;
    for (int row = 0; row < table->rowCount(); ++row) {
        const SmsRecord *record = table->recordAt(row);
        if (record && record->iMsgId == id)
            return true;
    }
    return false;
}

SMSUITableWidget *SMSUIMainDlg::createEmptyTable()
{
    if (!m_pEmptyTable) {
        m_pEmptyTable = new SMSUITableWidget(this);
        m_pEmptyTable->setObjectName(QStringLiteral("Empty Table"));
        configureTable(m_pEmptyTable);
    }
    return m_pEmptyTable;
}

void SMSUIMainDlg::releaseALLSMSTables()
{
    for (SMSUITableWidget *table : std::as_const(m_tableMap)) {
        delete table->itemDelegate();
        delete table;
    }
    m_pCurrentTable = nullptr;
    m_tableMap.clear();
}

int SMSUIMainDlg::getEnPositionOfSelectedTableItem() const
{
    if (!m_pCurrentTable)
        return -1;
    const QList<int> rows = m_pCurrentTable->selectedRowNumbers();
    if (rows.isEmpty())
        return -1;
    const SmsRecord *record = m_pCurrentTable->recordAt(rows.first());
    return record ? record->enPos : -1;
}

void SMSUIMainDlg::GetRecordListByLocation(_EN_SMS_POSITION position,
                                           QList<SmsRecord> &list) const
{
    const SMSUITableWidget *table = m_tableMap.value(position);
    if (!table)
        return;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (const SmsRecord *record = table->recordAt(row))
            list.append(*record);
    }
}

void SMSUIMainDlg::GetSmsSelectedRecord(SmsRecord *record)
{
    if (record)
        m_selectedRecords.append(*record);
}

QString SMSUIMainDlg::parseTimeOfSdk(const QString &sdkTime)
{
    if (sdkTime.size() < 14) {
        qCWarning(lcSmsWindow) << "SDK time too short:" << sdkTime;
        return QString();
    }
    QString text = sdkTime;
    text.insert(4, QLatin1Char('/'));
    text.insert(7, QLatin1Char('/'));
    text.insert(10, QLatin1Char('/'));
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() < 4)
        return QString();
    QString clock = parts.at(3);
    clock.insert(2, QLatin1Char(':'));
    clock.insert(5, QLatin1Char(':'));
    return parts.at(2) + QLatin1Char('/') + parts.at(1) + QLatin1Char('/') + parts.at(0)
        + QLatin1Char(' ') + clock;
}

void SMSUIMainDlg::onTableSelectionChanged()
{
    if (m_pCurrentTable && m_pCurrentTable->currentRow() >= 0)
        onClickTableRow(m_pCurrentTable->currentRow());
}

void SMSUIMainDlg::OnHeaderClicked(int)
{
    if (!m_pCurrentTable)
        return;
    m_pCurrentTable->activateWindow();
    m_pCurrentTable->viewport()->update();
}

void SMSUIMainDlg::onClickTableRow(int)
{
    QMutexLocker locker(&m_rowClickMutex);
    if (m_SMSThreadInst.isRunning()) {
        qCDebug(lcSmsWindow) << "row click ignored: the worker thread is running";
        return;
    }
    enableToolBarItem(9001);
    stopPlayingSound();
    if (!m_pTextPreview || !m_pStatusLogicObject || !m_pCurrentTable)
        return;
    const QList<int> rows = m_pCurrentTable->selectedRowNumbers();
    if (rows.isEmpty()) {
        disableAllToolbarItems();
        reSetPreviewArea();
        return;
    }
    SmsRecord *record = m_pCurrentTable->recordAt(rows.first());
    if (!record)
        return;
    // Clicking a message reads it: its read state goes to the SDK before it is shown.
    notifyStatusBar();
    previewRecord(record, rows.size());
    int count = rows.size();
    enableDisableForMultipleSelection(count);
    onTableRowClickEnableDisable();
    if (m_iSelectedTreeNode == EN_SIM_ROOT || m_iSelectedTreeNode == EN_LOCAL_ROOT
        || m_iSelectedTreeNode == EN_DEVICE_ROOT)
        enableDisableSmsToolbarForParentNode();
    update();
}
