// SPDX-License-Identifier: GPL-3.0-or-later
#include "SMSUITableWidget.h"

#include <QStyle>

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QDateTime>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <QStringEncoder>
#include <QTimer>

#include <algorithm>
#include <vector>

#include "SMSUIMainDlg.h"
#include "SMSUITreeWidget.h"
#include "SetAsideRows.h"
#include "ShownText.h"
#include "store/SmsTimeText.h"

bool UITableItem::s_ranked = false;

namespace {
QStringEncoder &systemEncoder()
{
    // Stateless for whole strings, so one per thread is reused: this runs for every cell
    // of a sort of thousands of rows.
    thread_local QStringEncoder encoder(QStringConverter::System);
    return encoder;
}

// Byte order of the system encoding of two texts as they are, for texts equal but for case.
bool lessByCase(const QString &a, const QString &b)
{
    if (a == b)
        return false;
    QStringEncoder &encoder = systemEncoder();
    const QByteArray ea = encoder.encode(a);
    const QByteArray eb = encoder.encode(b);
    return qstrcmp(ea, eb) < 0;
}
} // namespace

const UITableItem *UITableItem::of(const QTableWidgetItem *item)
{
    if (!item)
        return nullptr;
    const int type = item->type();
    return type == Type || type == UINameItem::Type || type == UITimeItem::Type
        ? static_cast<const UITableItem *>(item)
        : nullptr;
}

UITableItem *UITableItem::of(QTableWidgetItem *item)
{
    return const_cast<UITableItem *>(of(static_cast<const QTableWidgetItem *>(item)));
}

QString UITableItem::displayText() const
{
    return m_ownText ? m_text : data(Qt::DisplayRole).toString();
}

const QByteArray *UITableItem::sortKey() const
{
    if (m_keyState == KeyState::Unknown) {
        m_keyState = KeyState::None;
        QStringEncoder &encoder = systemEncoder();
        const auto make = [this, &encoder](const QString &text) {
            const QString lower = text.toLower();
            m_sortKey = encoder.encode(lower);
            m_keyState = encoder.isValid() ? KeyState::Made : KeyState::None;
            m_caseless = lower == text;
        };
        if (m_ownText) {
            make(m_text);
        } else {
            const QVariant value = data(Qt::DisplayRole);
            if (value.typeId() != QMetaType::QDateTime)
                make(value.toString());
        }
        if (m_keyState != KeyState::Made)
            m_sortKey = QByteArray();
        // The key's first bytes, zero-padded and big-endian, so that comparing them orders
        // as comparing the keys does (which, like any C string, end at a zero byte).
        const size_t length = qstrlen(m_sortKey.constData());
        m_keyHead[0] = m_keyHead[1] = 0;
        for (size_t i = 0; i < qMin(length, sizeof(m_keyHead)); ++i)
            m_keyHead[i / 8] |= quint64(quint8(m_sortKey.at(qsizetype(i)))) << (8 * (7 - i % 8));
        m_keyInHead = length <= sizeof(m_keyHead);
    }
    return m_keyState == KeyState::Made ? &m_sortKey : nullptr;
}

bool UITableItem::operator<(const QTableWidgetItem &other) const
{
    const UITableItem *theirs = of(&other);
    if (s_ranked && theirs)
        return m_rank < theirs->m_rank;
    // The same order as lessThan, on keys made once per cell.
    if (const QByteArray *mine = theirs ? sortKey() : nullptr) {
        if (const QByteArray *their = theirs->sortKey()) {
            // Most comparisons are settled by the keys' first bytes, kept in the cells:
            // the keys themselves live elsewhere in memory, and a sort of tens of thousands
            // of rows reads them far less often.
            if (m_keyHead[0] != theirs->m_keyHead[0])
                return m_keyHead[0] < theirs->m_keyHead[0];
            if (m_keyHead[1] != theirs->m_keyHead[1])
                return m_keyHead[1] < theirs->m_keyHead[1];
            const int result = m_keyInHead && theirs->m_keyInHead ? 0 : qstrcmp(*mine, *their);
            if (result != 0)
                return result < 0;
            // Equal keys of texts that case does not change are equal texts.
            if (m_caseless && theirs->m_caseless)
                return false;
            // Equal texts are the common tie (one sender, many messages): no copies then.
            if (m_ownText && theirs->m_ownText)
                return lessByCase(m_text, theirs->m_text);
            return lessByCase(displayText(), theirs->displayText());
        }
    }
    const QVariant a = data(Qt::DisplayRole);
    const QVariant b = other.data(Qt::DisplayRole);
    // Two valid date-times order as their ISO texts do; comparing them directly spares two
    // conversions per comparison when the time column is sorted.
    if (a.typeId() == QMetaType::QDateTime && b.typeId() == QMetaType::QDateTime) {
        const QDateTime ta = a.toDateTime();
        const QDateTime tb = b.toDateTime();
        if (ta.isValid() && tb.isValid() && ta.date().year() >= 1000 && tb.date().year() >= 1000
            && ta.date().year() <= 9999 && tb.date().year() <= 9999)
            return ta < tb;
    }
    return lessThan(a.toString(), b.toString());
}

bool UITableItem::lessThan(const QString &a, const QString &b)
{
    // Byte order of the system encoding, lower-cased texts first so that case only breaks
    // ties.
    QStringEncoder &encoder = systemEncoder();
    if (encoder.isValid()) {
        const QByteArray la = encoder.encode(a.toLower());
        const QByteArray lb = encoder.encode(b.toLower());
        const int result = qstrcmp(la, lb);
        return result != 0 ? result < 0 : lessByCase(a, b);
    }
    int result = QString::compare(a, b, Qt::CaseInsensitive);
    if (result == 0)
        result = QString::compare(a, b, Qt::CaseSensitive);
    return result < 0;
}

namespace {
bool isDisplayRole(int role)
{
    return role == Qt::DisplayRole || role == Qt::EditRole;
}
} // namespace

QVariant UITableItem::data(int role) const
{
    if (m_ownText && isDisplayRole(role))
        return m_text;
    return QTableWidgetItem::data(role);
}

void UITableItem::setData(int role, const QVariant &value)
{
    if (isDisplayRole(role)) {
        m_keyState = KeyState::Unknown;
        m_sortKey = QByteArray();
        if (!tableWidget() && value.typeId() == QMetaType::QString) {
            m_text = value.toString();
            m_ownText = true;
            return;
        }
        m_text.clear();
        m_ownText = false;
    }
    QTableWidgetItem::setData(role, value);
}

QVariant UINameItem::data(int role) const
{
    if (role == Qt::UserRole && m_record)
        return SMSUITableWidget::recordLink(m_record);
    if (role == Qt::DecorationRole && m_ownIcon)
        return m_icon;
    return UITableItem::data(role);
}

void UINameItem::setData(int role, const QVariant &value)
{
    // A link set from outside replaces the one the cell was made with.
    if (role == Qt::UserRole)
        m_record = nullptr;
    if (role == Qt::DecorationRole) {
        if (!tableWidget() && value.typeId() == QMetaType::QIcon) {
            m_icon = value.value<QIcon>();
            m_ownIcon = true;
            return;
        }
        m_icon = QIcon();
        m_ownIcon = false;
    }
    UITableItem::setData(role, value);
}

// m_text holds the SDK's text while m_ownText is false (m_ownText would make it display
// text); it is emptied once the cell is given a display value of another kind.
UITimeItem::UITimeItem(const QString &sdkTime)
    : UITableItem(Type)
{
    if (SmsTimeParts(sdkTime, nullptr, nullptr)) {
        m_text = sdkTime;
        m_timeKey = timeKeyOf(sdkTime);
    } else
        QTableWidgetItem::setData(Qt::DisplayRole, QDateTime());
}

UITimeItem::UITimeItem(const QDateTime &when)
    : UITableItem(Type)
{
    QTableWidgetItem::setData(Qt::DisplayRole, when);
}

QVariant UITimeItem::data(int role) const
{
    if (isDisplayRole(role) && !m_ownText && !m_text.isEmpty())
        return SmsTimeFromText(m_text);
    return UITableItem::data(role);
}

void UITimeItem::setData(int role, const QVariant &value)
{
    if (isDisplayRole(role) && !m_ownText) {
        m_text.clear();
        m_timeKey = -1;
    }
    UITableItem::setData(role, value);
}

qint64 UITimeItem::timeKeyOf(const QString &sdkTime)
{
    if (sdkTime.size() != 14)
        return -1;
    qint64 key = 0;
    for (const QChar c : sdkTime) {
        if (c < u'0' || c > u'9')
            return -1;
        key = key * 10 + (c.unicode() - u'0');
    }
    return key;
}

bool UITimeItem::operator<(const QTableWidgetItem &other) const
{
    if (other.type() == Type) {
        const auto &theirs = static_cast<const UITimeItem &>(other);
        if (m_timeKey >= 0 && theirs.m_timeKey >= 0)
            return m_timeKey < theirs.m_timeKey;
        if (!m_ownText && !theirs.m_ownText && !m_text.isEmpty() && !theirs.m_text.isEmpty())
            return m_text < theirs.m_text;
    }
    return UITableItem::operator<(other);
}

void GridDelegateLayout::drawFocus(QPainter *painter, const QStyleOptionViewItem &option,
                                   const QRect &) const
{
    if (painter && (option.state & QStyle::State_HasFocus))
        painter->setPen(QPen(Qt::white, 0));
}

void GridDelegateLayout::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    m_paintingColumn = index.column();
    QItemDelegate::paint(painter, cellOption(option, index), index);
    m_paintingColumn = -1;
}

QStyleOptionViewItem GridDelegateLayout::cellOption(const QStyleOptionViewItem &option,
                                                    const QModelIndex &index) const
{
    QStyleOptionViewItem cell(option);
    // A cell's own alignment, where it has one, still wins (QItemDelegate reads it).
    if (m_defaultAlignment)
        cell.displayAlignment = m_defaultAlignment;
    // The read state lives in the record, so a message read a moment ago is drawn plain
    // at its next repaint without touching its cells.
    if (const auto *table = qobject_cast<const SMSUITableWidget *>(option.widget)) {
        const SmsRecord *record = table->recordAt(index.row());
        if (record && record->iReadStatus == 1)
            cell.font.setBold(true);
    }
    return cell;
}

Qt::LayoutDirection GridDelegateLayout::textDirection(const QString &text, int column,
                                                      Qt::LayoutDirection window) const
{
    if (window != Qt::RightToLeft)
        return window;
    if (m_leftToRightColumns.contains(column))
        return Qt::LeftToRight;
    return text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}

void GridDelegateLayout::drawDisplay(QPainter *painter, const QStyleOptionViewItem &option,
                                     const QRect &rect, const QString &text) const
{
    const Qt::LayoutDirection direction =
        textDirection(text, m_paintingColumn, option.direction);
    if (direction == option.direction || text.isEmpty()) {
        QItemDelegate::drawDisplay(painter, option, rect, text);
        return;
    }
    // The text is laid out in its own direction (its ellipsis at its own end) and placed on
    // the window's side through an absolute alignment. Bidi isolates around the text would
    // do the same in theory, but they are characters of their own: the cell's font has no
    // glyph for them, so font fallback brings in whatever installed font has one, and the
    // cell's line height and baseline then depend on the machine's fonts.
    QStyleOptionViewItem own(option);
    own.direction = direction;
    own.displayAlignment = QStyle::visualAlignment(option.direction, option.displayAlignment);
    QItemDelegate::drawDisplay(painter, own, rect, text);
}

bool GridDelegateLayout::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                   const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (!event || !view || event->type() != QEvent::ToolTip || !index.isValid())
        return QItemDelegate::helpEvent(event, view, option, index);
    const QVariant own = index.data(Qt::ToolTipRole);
    if (own.isValid())
        return QItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::DisplayRole).toDateTime().isValid()
        ? option.locale.toString(index.data(Qt::DisplayRole).toDateTime(), QLocale::ShortFormat)
        : index.data(Qt::DisplayRole).toString();
    // The room the text really gets: the cell less the icon and the margins on both sides.
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    int room = option.rect.width() - 2 * margin;
    if (!index.data(Qt::DecorationRole).isNull())
        room -= option.decorationSize.width() + 2 * margin;
    if (text.isEmpty() || option.fontMetrics.horizontalAdvance(text) <= room) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), ShownText::toolTip(text), view->viewport(), option.rect);
    return true;
}

SMSUITableWidget::SMSUITableWidget(QWidget *parent)
    : QTableWidget(parent), m_setAside(std::make_unique<SetAsideRows>())
{
}

SmsRecord *SMSUITableWidget::recordAt(int row) const
{
    return recordOf(item(row, 0));
}

SmsRecord *SMSUITableWidget::recordOf(const QTableWidgetItem *nameItem)
{
    if (!nameItem)
        return nullptr;
    if (nameItem->type() == UINameItem::Type) {
        if (SmsRecord *record = static_cast<const UINameItem *>(nameItem)->record())
            return record;
    }
    return reinterpret_cast<SmsRecord *>(nameItem->data(Qt::UserRole).value<quintptr>());
}

QVariant SMSUITableWidget::recordLink(const SmsRecord *record)
{
    return QVariant::fromValue(reinterpret_cast<quintptr>(record));
}

void SMSUITableWidget::setEmptyText(const QString &text)
{
    m_strEmptyText = text;
    viewport()->update();
}

void SMSUITableWidget::paintEvent(QPaintEvent *event)
{
    QTableWidget::paintEvent(event);
    if (rowCount() > 0 || m_strEmptyText.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(viewport()->rect().adjusted(8, 8, -8, -8),
                     Qt::AlignCenter | Qt::TextWordWrap, m_strEmptyText);
}

void SMSUITableWidget::removeRowsWhere(const std::vector<bool> &drop)
{
    removeRowsWhere([&drop](int row) { return size_t(row) < drop.size() && drop[size_t(row)]; },
                    [this](int first, int count) { takeCellsForDisposal(first, count); });
}

void SMSUITableWidget::setAsideRowsWhere(const std::function<bool(int row)> &drops)
{
    removeRowsWhere(drops, [this](int first, int count) {
        m_setAside->take(this, first, count);
    });
}

void SMSUITableWidget::restoreSetAsideRows()
{
    m_setAside->putBack(this);
}

bool SMSUITableWidget::hasSetAsideRows() const
{
    return !m_setAside->isEmpty();
}

void SMSUITableWidget::dropSetAsideRows()
{
    dispose(m_setAside->release());
}

void SMSUITableWidget::removeRowsWhere(const std::function<bool(int row)> &drops,
                                       const std::function<void(int, int)> &takeCells)
{
    const int rows = rowCount();
    const int columns = columnCount();
    QList<QPair<int, int>> runs;  // first row, count
    bool ranked = true;
    int dropped = 0;
    // Each cell is an allocation of its own, and its text another: a pass over tens of
    // thousands of rows waits on memory more than it computes. The cells of the rows a
    // little ahead are fetched meanwhile.
    constexpr int kAhead = 8;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; row + kAhead < rows && column < columns; ++column) {
            const UITableItem *ahead = UITableItem::of(item(row + kAhead / 2, column));
            if (const QString *text = ahead ? ahead->keptText() : nullptr)
                __builtin_prefetch(text->constData());
            if (const auto *cell = reinterpret_cast<const char *>(item(row + kAhead, column))) {
                for (int line = 0; line < 3; ++line)
                    __builtin_prefetch(cell + 64 * line);
            }
        }
        // Ranked in the same pass, for the sort below.
        UITableItem *first = UITableItem::of(item(row, 0));
        const bool drop = drops(row);
        ranked = ranked && first;
        if (first)
            first->setRank(drop ? 1 : 0);
        if (!drop)
            continue;
        ++dropped;
        if (!runs.isEmpty() && runs.last().first + runs.last().second == row)
            ++runs.last().second;
        else
            runs.append({row, 1});
    }
    // A few runs cost little each; so does a table with rows of other cells (never made
    // by this window), which keeps the plain way.
    constexpr int kFewRuns = 8;
    if (runs.size() <= kFewRuns || !ranked) {
        for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
            takeCells(it->first, it->second);
            model()->removeRows(it->first, it->second);
        }
        return;
    }
    // The model's stable sort on the first column, ranked 0 for a row that stays and 1 for
    // one that goes, gathers the rows that go at the end in their order: one removal then
    // takes them all. The sort indicator the user chose is left as it is.
    {
        const UITableItem::RankedPass pass;
        model()->sort(0, Qt::AscendingOrder);
    }
    takeCells(rowCount() - dropped, dropped);
    model()->removeRows(rowCount() - dropped, dropped);
}

void SMSUITableWidget::discardAllRows()
{
    dropSetAsideRows();
    takeCellsForDisposal(0, rowCount());
    setRowCount(0);
}

void SMSUITableWidget::takeCellsForDisposal(int first, int count)
{
    SetAsideRows taken;
    taken.take(this, first, count);
    dispose(taken.release());
}

void SMSUITableWidget::dispose(const std::vector<QTableWidgetItem *> &cells)
{
    if (cells.empty())
        return;
    m_disposal.insert(m_disposal.end(), cells.begin(), cells.end());
    if (!m_disposalTimer) {
        m_disposalTimer = new QTimer(this);
        m_disposalTimer->setInterval(0);
        connect(m_disposalTimer, &QTimer::timeout, this, &SMSUITableWidget::disposeSlice);
    }
    m_disposalTimer->start();
}

void SMSUITableWidget::disposeSlice()
{
    // A few milliseconds' worth per turn of the event loop.
    constexpr size_t kSlice = 3000;
    const size_t keep = m_disposal.size() > kSlice ? m_disposal.size() - kSlice : 0;
    for (size_t i = keep; i < m_disposal.size(); ++i)
        delete m_disposal[i];
    m_disposal.resize(keep);
    if (m_disposal.empty() && m_disposalTimer)
        m_disposalTimer->stop();
}

SMSUITableWidget::~SMSUITableWidget()
{
    qDeleteAll(m_disposal);
}

QList<int> SMSUITableWidget::selectedRowNumbers() const
{
    // From the selection's ranges: asking each selected cell for its row searches the whole
    // table per cell, which made selecting all rows of a large folder take seconds. A row
    // counts when any of its shown cells that holds a selectable item is selected, as
    // before; a row is looked at until one of its cells counts.
    QList<int> rows;
    if (!selectionModel())
        return rows;
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return rows;
    const Qt::ItemFlags needed = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    std::vector<bool> seen(size_t(rowCount()), false);
    for (const QItemSelectionRange &range : selection) {
        const int bottom = qMin(range.bottom(), rowCount() - 1);
        for (int row = qMax(range.top(), 0); row <= bottom; ++row) {
            if (seen[size_t(row)] || isRowHidden(row))
                continue;
            for (int column = range.left(); column <= range.right(); ++column) {
                const QTableWidgetItem *cell = item(row, column);
                if (cell && !isColumnHidden(column) && (cell->flags() & needed) == needed) {
                    seen[size_t(row)] = true;
                    break;
                }
            }
        }
    }
    for (int row = 0; row < rowCount(); ++row) {
        if (seen[size_t(row)])
            rows.append(row);
    }
    return rows;
}

// ---- drag source ----

namespace {
SMSUITableWidget::DragExecutor &dragExecutor()
{
    static SMSUITableWidget::DragExecutor executor;
    return executor;
}

constexpr int kSend = 9002;
constexpr int kDelete = 9001;
constexpr int kReply = 9003;
constexpr int kForward = 9004;
} // namespace

SMSUITableWidget::DragExecutor SMSUITableWidget::setDragExecutor(DragExecutor executor)
{
    DragExecutor previous = std::move(dragExecutor());
    dragExecutor() = std::move(executor);
    return previous;
}

bool SMSUITableWidget::isInDragArea(const QPoint &pos) const
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return false;
    const int left = columnViewportPosition(index.column());
    const int width = columnWidth(index.column());
    // Measured from where the column begins: its right edge in a right-to-left layout.
    const int offset = isRightToLeft() ? left + width - pos.x() : pos.x() - left;
    return offset <= width / 2;
}

int SMSUITableWidget::selectedRowCount() const
{
    int rows = 0;
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    for (const QTableWidgetSelectionRange &range : ranges)
        rows += range.rowCount();
    return rows;
}

void SMSUITableWidget::mousePressEvent(QMouseEvent *event)
{
    if (!event || !m_pMainDlg) {
        QTableWidget::mousePressEvent(event);
        return;
    }
    m_pMainDlg->setDragInProgress(false);
    m_pressPos = event->position().toPoint();
    QTableWidget::mousePressEvent(event);
    if (!itemAt(m_pressPos)) {
        m_pMainDlg->reSetPreviewArea();
        m_pMainDlg->disableAllToolbarItems();
        return;
    }
    if (event->button() == Qt::LeftButton && isInDragArea(m_pressPos))
        m_pMainDlg->beginDragCollection(this);
    else
        m_pMainDlg->setSelectedDragRows(selectedRowCount());
    if (m_pMainDlg->selectedDragRows() > 1) {
        for (int id : {kReply, kForward, kSend})
            m_pMainDlg->disableToolBarItem(id);
        m_pMainDlg->enableToolBarItem(kDelete);
    }
}

void SMSUITableWidget::mouseMoveEvent(QMouseEvent *event)
{
    // A drag starts only from the leading half of a cell, so that a press elsewhere can
    // still sweep a selection; one drag per press.
    if (event && m_pMainDlg && (event->buttons() & Qt::LeftButton) && itemAt(m_pressPos)
        && isInDragArea(m_pressPos)) {
        if (m_pMainDlg->isDragInProgress())
            return;
        if ((event->position().toPoint() - m_pressPos).manhattanLength()
            >= QApplication::startDragDistance())
            performDrag();
        return;
    }
    QTableWidget::mouseMoveEvent(event);
}

void SMSUITableWidget::mouseReleaseEvent(QMouseEvent *event)
{
    QTableWidget::mouseReleaseEvent(event);
    if (!event || !m_pMainDlg || !m_pMainDlg->treeWidget())
        return;
    const bool dragged = m_pMainDlg->isDragInProgress();
    m_pMainDlg->setDragInProgress(false);
    if (!indexAt(event->position().toPoint()).isValid())
        m_pMainDlg->onClickTableRow(0);
    // Only a drag moves the tree's current item (it highlights the folder under the
    // pointer); after a plain click the folder on show stays the one the window knows,
    // which need not be the tree's current item when it was chosen programmatically.
    if (dragged)
        m_pMainDlg->adoptTreeCurrentItem();
}

void SMSUITableWidget::performDrag()
{
    auto *drag = new QDrag(this);
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("Text/stringids"), QByteArray());
    drag->setMimeData(mime);
    connect(drag, &QDrag::targetChanged, this, &SMSUITableWidget::OnDragTargetChanged);
    QPointer<SMSUITableWidget> self(this);
    if (m_pMainDlg)
        m_pMainDlg->setActiveDragTable(this);
    if (const DragExecutor &executor = dragExecutor()) {
        executor(drag);
        drag->deleteLater();
    } else {
        drag->exec(Qt::CopyAction | Qt::MoveAction);  // Qt deletes the drag afterwards
    }
    if (!self || !m_pMainDlg)
        return;
    m_pMainDlg->setActiveDragTable(nullptr);
    m_pMainDlg->setDragInProgress(true);
}

void SMSUITableWidget::OnDragTargetChanged(QObject *)
{
    SMSUITreeWidget *tree = m_pMainDlg ? m_pMainDlg->treeWidget() : nullptr;
    if (tree && m_pMainDlg->dragOriginItem())
        tree->setCurrentItemQuietly(m_pMainDlg->dragOriginItem());
}
