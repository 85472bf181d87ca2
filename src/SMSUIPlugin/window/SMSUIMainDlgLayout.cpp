// SPDX-License-Identifier: GPL-3.0-or-later
// How the window sits on screen: columns that share the width sensibly, the empty-folder
// text, the keyboard's way through tree, table and preview, and the splitter and column
// sizes remembered from one run to the next.
#include "SMSUIMainDlg.h"

#include <QDateTime>
#include <QHeaderView>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidgetItemIterator>

#include "CommonUtils.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SmsLog.h"

namespace {
constexpr int kNameColumn = 0;
constexpr int kContentColumn = 1;
constexpr int kTimeColumn = 2;
const QString kLayoutGroup = QStringLiteral("SMSLayout");
const QString kTreeSplitterKey = QStringLiteral("TreeSplitter");
const QString kPreviewSplitterKey = QStringLiteral("PreviewSplitter");
const QString kColumnsKey = QStringLiteral("ColumnWidths");

QString joined(const QList<int> &numbers)
{
    QStringList parts;
    for (int n : numbers)
        parts << QString::number(n);
    return parts.join(QLatin1Char(','));
}

// "a,b,..." with exactly count positive numbers; empty for anything else, so a damaged
// setting falls back to the built-in sizes.
QList<int> parsedSizes(const QString &text, int count)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != count)
        return {};
    QList<int> sizes;
    for (const QString &part : parts) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok || n <= 0 || n > 100000)
            return {};
        sizes << n;
    }
    return sizes;
}
} // namespace

void SMSUIMainDlg::configureTableLayout(SMSUITableWidget *table)
{
    if (!table)
        return;
    // Tab leaves the table for the preview instead of walking its cells; the arrow keys
    // still move between rows.
    table->setTabKeyNavigation(false);
    table->setLocale(QLocale());
    table->setEmptyText(tr(QStringLiteral("IDS_LST_EMPTYFOLDER")));
    QHeaderView *header = table->horizontalHeader();
    // Name and time keep their widths (the user may drag them); the message takes the rest,
    // so a wider window shows more of it instead of empty space on the right.
    header->setSectionResizeMode(kContentColumn, QHeaderView::Stretch);
    table->setColumnWidth(kNameColumn, m_columnWidths.value(kNameColumn, 150));
    table->setColumnWidth(kTimeColumn, m_columnWidths.value(kTimeColumn, timeColumnWidth(table)));
    connect(header, &QHeaderView::sectionResized, this,
            [this, table](int column, int, int width) { onColumnResized(table, column, width); });
}

int SMSUIMainDlg::timeColumnWidth(const QWidget *table) const
{
    // Wide enough for the longest time the current language writes, so it is never cut.
    const QDateTime widest(QDate(2026, 12, 28), QTime(23, 58, 58));
    const QString text = QLocale().toString(widest, QLocale::ShortFormat);
    const int needed = table->fontMetrics().horizontalAdvance(text) + 24;
    return qMax(140, needed);
}

int SMSUIMainDlg::treeWidthForLabels() const
{
    // The first start shows every folder label whole, within reason.
    constexpr int kMinimum = 130;
    constexpr int kMaximum = 280;
    if (!m_pTreeWidget)
        return kMinimum;
    const QFontMetrics metrics = m_pTreeWidget->fontMetrics();
    int widest = 0;
    for (QTreeWidgetItemIterator it(m_pTreeWidget); *it; ++it) {
        int depth = 0;
        for (QTreeWidgetItem *p = (*it)->parent(); p; p = p->parent())
            ++depth;
        const int width = metrics.horizontalAdvance((*it)->text(0))
            + m_pTreeWidget->indentation() * depth + qMax(16, m_pTreeWidget->iconSize().width()) + 16;
        widest = qMax(widest, width);
    }
    return qBound(kMinimum, widest + 2 * m_pTreeWidget->frameWidth() + 8, kMaximum);
}

void SMSUIMainDlg::onColumnResized(SMSUITableWidget *source, int column, int width)
{
    if (m_bSyncingColumns || column == kContentColumn || !source || !source->isVisible())
        return;
    // One set of widths for every folder: what the user drags in one table, all tables get.
    m_columnWidths.insert(column, width);
    m_bSyncingColumns = true;
    for (SMSUITableWidget *table : std::as_const(m_tableMap)) {
        if (table != source)
            table->setColumnWidth(column, width);
    }
    if (m_pEmptyTable && m_pEmptyTable != source)
        m_pEmptyTable->setColumnWidth(column, width);
    m_bSyncingColumns = false;
}

void SMSUIMainDlg::applyFocusOrder()
{
    // Tree, then the folder's table, then the preview: the order the eye reads them in.
    if (!m_pTreeWidget || !m_pCurrentTable || !m_pTextPreview)
        return;
    setTabOrder(m_pTreeWidget, m_pCurrentTable);
    setTabOrder(m_pCurrentTable, m_pTextPreview);
}

void SMSUIMainDlg::retranslateLayout()
{
    QList<SMSUITableWidget *> tables = m_tableMap.values();
    if (m_pEmptyTable)
        tables << m_pEmptyTable;
    const QString empty = tr(QStringLiteral("IDS_LST_EMPTYFOLDER"));
    for (SMSUITableWidget *table : std::as_const(tables)) {
        // Times are written the way the interface language writes them.
        table->setLocale(QLocale());
        table->setEmptyText(empty);
        if (!m_columnWidths.contains(kTimeColumn))
            table->setColumnWidth(kTimeColumn, timeColumnWidth(table));
    }
}

void SMSUIMainDlg::restoreLayoutState()
{
    if (m_pHSplitter) {
        // A wider window widens the message side; the tree keeps its width.
        m_pHSplitter->setStretchFactor(0, 0);
        m_pHSplitter->setStretchFactor(1, 1);
        const QList<int> tree = parsedSizes(
            CommonUtils::GetSettings(kLayoutGroup, kTreeSplitterKey), 2);
        m_pHSplitter->setSizes(tree.isEmpty() ? QList<int>{treeWidthForLabels(), 500} : tree);
    }
    const QList<int> preview =
        parsedSizes(CommonUtils::GetSettings(kLayoutGroup, kPreviewSplitterKey), 2);
    if (!preview.isEmpty()) {
        m_splitterSizes = preview;
        if (m_pVSplitter)
            m_pVSplitter->setSizes(preview);
    }
    const QList<int> columns = parsedSizes(CommonUtils::GetSettings(kLayoutGroup, kColumnsKey), 2);
    if (!columns.isEmpty()) {
        m_columnWidths.insert(kNameColumn, columns.at(0));
        m_columnWidths.insert(kTimeColumn, columns.at(1));
        for (SMSUITableWidget *table : std::as_const(m_tableMap)) {
            table->setColumnWidth(kNameColumn, columns.at(0));
            table->setColumnWidth(kTimeColumn, columns.at(1));
        }
    }
}

void SMSUIMainDlg::saveLayoutState() const
{
    if (!m_pHSplitter)
        return;  // never laid out: nothing the user arranged
    const QList<int> tree = m_pHSplitter->sizes();
    if (tree.size() == 2 && tree.at(0) > 0)
        CommonUtils::SetSettings(kLayoutGroup, kTreeSplitterKey, joined(tree));
    if (m_splitterSizes.size() == 2)
        CommonUtils::SetSettings(kLayoutGroup, kPreviewSplitterKey, joined(m_splitterSizes));
    if (m_pCurrentTable) {
        CommonUtils::SetSettings(kLayoutGroup, kColumnsKey,
                                 joined({m_pCurrentTable->columnWidth(kNameColumn),
                                         m_pCurrentTable->columnWidth(kTimeColumn)}));
    }
}
