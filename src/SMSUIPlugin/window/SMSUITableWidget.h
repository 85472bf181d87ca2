// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message table of one storage folder, its sortable cells and the delegate that keeps
// tables and the folder tree free of focus frames.
#include <QDateTime>
#include <QIcon>
#include <QItemDelegate>
#include <QPoint>
#include <QTableWidget>

#include <functional>
#include <memory>
#include <vector>

class QDrag;
class SetAsideRows;
class QTimer;
#include <QTableWidgetItem>

class SMSUIMainDlg;
struct SmsRecord;

// A table cell (or header cell) with the ordering used when a column is sorted:
// case-insensitive first, then by case, on the system encoding of the display text.
// Its text is kept in the cell itself while the cell is not yet in a table: Qt's own list
// of roles per cell costs an allocation and a variant per cell, and a large folder has tens
// of thousands of cells. Once in a table, a new text goes through Qt as usual, so that the
// table hears of it.
class UITableItem : public QTableWidgetItem
{
public:
    // Its own type, so that a comparison tells the cells of this family apart without a
    // dynamic cast (a sort makes hundreds of thousands of comparisons).
    static constexpr int Type = QTableWidgetItem::UserType + 3;
    UITableItem() : QTableWidgetItem(Type) {}
    explicit UITableItem(const QString &text) : QTableWidgetItem(Type), m_text(text), m_ownText(true) {}
    // The cell as one of this family; null for any other cell.
    static const UITableItem *of(const QTableWidgetItem *item);
    static UITableItem *of(QTableWidgetItem *item);

    QVariant data(int role) const override;
    void setData(int role, const QVariant &value) override;
    QTableWidgetItem *clone() const override { return new UITableItem(*this); }
    bool operator<(const QTableWidgetItem &other) const override;

    // The display text kept in the cell itself; null once its text went through Qt.
    const QString *keptText() const { return m_ownText ? &m_text : nullptr; }

    // The ordering itself, on two display texts; a date-time cell compares as its ISO text,
    // so text order is time order.
    static bool lessThan(const QString &a, const QString &b);

    // While a RankedPass is alive, cells of this kind order by the rank given to each
    // instead of by their texts: the table's own sort then moves whole rows into an order
    // of the caller's choosing in one pass (see SMSUITableWidget::removeRowsWhere).
    void setRank(int rank) { m_rank = rank; }
    class RankedPass
    {
    public:
        RankedPass() { s_ranked = true; }
        ~RankedPass() { s_ranked = false; }
        RankedPass(const RankedPass &) = delete;
        RankedPass &operator=(const RankedPass &) = delete;
    };

protected:
    // For the kinds of cell below, which tell themselves apart by type().
    explicit UITableItem(int type) : QTableWidgetItem(type) {}

    QString m_text;         // the display text while m_ownText; a subclass may use it too
    bool m_ownText = false;

private:
    enum class KeyState : quint8 { Unknown, Made, None };
    // The lower-cased text in the system encoding, which is what a comparison compares
    // first: made on a cell's first comparison and kept until its text changes, so that a
    // sort of n rows converts n texts instead of two per comparison. Null when the cell
    // holds no text (a date-time) or the system encoding is missing.
    const QByteArray *sortKey() const;
    QString displayText() const;

    mutable QByteArray m_sortKey;
    mutable quint64 m_keyHead[2] = {0, 0};  // the key's first 16 bytes (see sortKey)
    mutable KeyState m_keyState = KeyState::Unknown;
    mutable bool m_keyInHead = false;  // the whole key is in m_keyHead
    mutable bool m_caseless = false;   // lower-casing leaves the text as it is
    int m_rank = 0;
    static bool s_ranked;  // GUI thread only, like every table
};

// The first cell of a message row: the name or number with the message's icon. It carries
// the address of the record the row shows (the user role), and the key of the icon image it
// was given, so that a refresh can tell whether the row still shows its record as it is.
class UINameItem : public UITableItem
{
public:
    static constexpr int Type = QTableWidgetItem::UserType + 1;
    explicit UINameItem(SmsRecord *record) : UITableItem(Type), m_record(record) {}

    // The icon, like the text, stays in the cell until the cell is in a table.
    QVariant data(int role) const override;
    void setData(int role, const QVariant &value) override;
    QTableWidgetItem *clone() const override { return new UINameItem(*this); }

    SmsRecord *record() const { return m_record; }
    void setRecord(SmsRecord *record) { m_record = record; }
    // The image the icon was made from (its cache key) and whether it was mirrored.
    qint64 imageKey() const { return m_imageKey; }
    bool imageMirrored() const { return m_imageMirrored; }
    void setImageKey(qint64 key, bool mirrored)
    {
        m_imageKey = key;
        m_imageMirrored = mirrored;
    }

private:
    SmsRecord *m_record = nullptr;
    qint64 m_imageKey = 0;
    QIcon m_icon;
    bool m_ownIcon = false;
    bool m_imageMirrored = false;
};

// The time cell. It keeps the message's "yyyyMMddhhmmss" text and hands out a QDateTime
// only when one is asked for (painting, a tooltip): filling and sorting thousands of rows
// then never converts a local time. Two such cells order as their texts do, which is time
// order.
class UITimeItem : public UITableItem
{
public:
    static constexpr int Type = QTableWidgetItem::UserType + 2;
    // A text that is no valid time shows as an invalid date-time, as it always did.
    explicit UITimeItem(const QString &sdkTime);
    explicit UITimeItem(const QDateTime &when);

    QVariant data(int role) const override;
    void setData(int role, const QVariant &value) override;
    bool operator<(const QTableWidgetItem &other) const override;
    QTableWidgetItem *clone() const override { return new UITimeItem(*this); }

    // The text the cell was made from; empty when it holds a date-time of its own.
    QString sdkTime() const { return m_ownText ? QString() : m_text; }
    // Its 14 digits as one number (yyyyMMddhhmmss), read without the text; -1 for none.
    qint64 timeKey() const { return m_timeKey; }

private:
    // The 14 digits as one number, which orders as the text does: a sort of tens of
    // thousands of rows compares numbers instead of texts. -1 when the cell has no such text.
    static qint64 timeKeyOf(const QString &sdkTime);
    qint64 m_timeKey = -1;
};

// Draws cells as QItemDelegate does, but never a focus rectangle.
class GridDelegateLayout : public QItemDelegate
{
    Q_OBJECT
public:
    explicit GridDelegateLayout(QObject *parent = nullptr) : QItemDelegate(parent) {}

    // Columns whose text is laid out left to right even in a right-to-left window, whatever
    // it holds. Every other cell of a right-to-left window reads in the direction of its own
    // first letter (a Latin text left to right, with its ellipsis at its end; a number,
    // which has no letter, left to right too), still aligned to the window's side.
    void setLeftToRightColumns(const QList<int> &columns) { m_leftToRightColumns = columns; }
    // Alignment of every cell that sets none of its own: one value for the whole view
    // instead of one stored in each of its cells.
    void setDefaultAlignment(Qt::Alignment alignment) { m_defaultAlignment = alignment; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    // The option a cell is painted with: the view's default alignment, and bold for every
    // cell of an unread message's row, as mail and messaging programs show them.
    QStyleOptionViewItem cellOption(const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const;
    // The full text of a cell that is drawn cut (with an ellipsis), as its tooltip; worked
    // out when the tooltip is asked for, so filling a table costs nothing extra.
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view,
                   const QStyleOptionViewItem &option, const QModelIndex &index) override;
    // The direction a cell's text is laid out in, within a window of the given direction.
    Qt::LayoutDirection textDirection(const QString &text, int column,
                                      Qt::LayoutDirection window) const;

protected:
    void drawFocus(QPainter *painter, const QStyleOptionViewItem &option,
                   const QRect &rect) const override;
    void drawDisplay(QPainter *painter, const QStyleOptionViewItem &option, const QRect &rect,
                     const QString &text) const override;

private:
    QList<int> m_leftToRightColumns;
    Qt::Alignment m_defaultAlignment;  // none: the view's own
    // Column being painted: drawDisplay is not told the index (GUI thread only).
    mutable int m_paintingColumn = -1;
};

class SMSUITableWidget : public QTableWidget
{
    Q_OBJECT
public:
    explicit SMSUITableWidget(QWidget *parent = nullptr);
    ~SMSUITableWidget() override;

    // Not owned: the window that owns this table through its table map.
    void setMainDlg(SMSUIMainDlg *dlg) { m_pMainDlg = dlg; }
    SMSUIMainDlg *mainDlg() const { return m_pMainDlg; }

    // The record a row points at, read from the row's column-0 item (user role holds the
    // record's address). Borrowed from the store: valid until the store removes the record,
    // which is always followed by a refresh of the table (that drops the row or points it at
    // the record filed in its place). Null for a row without one.
    SmsRecord *recordAt(int row) const;
    static SmsRecord *recordOf(const QTableWidgetItem *nameItem);
    static QVariant recordLink(const SmsRecord *record);

    // Removes every row whose entry in drop is true (drop has one entry per row). Many
    // scattered rows go in one reordering and one removal: a removal per run of rows
    // would make each run walk every row below it.
    void removeRowsWhere(const std::vector<bool> &drop);
    // The same, but the rows' cells are kept aside (a search hiding rows): restoring puts
    // them back and sorts the table once by its sort column, which also places rows added
    // meanwhile. The cells point at their records, so the rows kept aside must be dropped
    // whenever the table is brought in line with the store (the store may have freed
    // them); emptying the table drops them too.
    // drops is asked once for each row, in row order, right after the row's cells were
    // brought into the processor's cache.
    void setAsideRowsWhere(const std::function<bool(int row)> &drops);
    void restoreSetAsideRows();
    bool hasSetAsideRows() const;
    void dropSetAsideRows();

    // Takes every row out; the cells are freed a slice at a time once the window is idle,
    // as freeing the cells of tens of thousands of rows at once held the window.
    void discardAllRows();

    // Rows that have at least one selected cell, ascending.
    QList<int> selectedRowNumbers() const;

    // Shown in the middle of the table while it has no rows ("no messages here").
    void setEmptyText(const QString &text);
    QString emptyText() const { return m_strEmptyText; }

    // ---- drag source ----
    // Runs a drag in place of QDrag::exec, which spins its own event loop and needs a
    // platform drag; tests deliver the tree's drag events from here. Empty: the real one.
    using DragExecutor = std::function<Qt::DropAction(QDrag *drag)>;
    static DragExecutor setDragExecutor(DragExecutor executor);
    // Whether a press at pos (viewport coordinates) may start a drag: it must fall in the
    // leading half of a cell's column (the right half in a right-to-left layout).
    bool isInDragArea(const QPoint &pos) const;
    void performDrag();

public slots:
    // Qt 6 names the target as a QObject.
    void OnDragTargetChanged(QObject *target);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int selectedRowCount() const;
    // Takes the cells of rows first..first+count-1 out, leaving the rows empty, and hands
    // them to the idle-time freeing.
    void takeCellsForDisposal(int first, int count);
    // Frees the cells a slice at a time once the window is idle.
    void dispose(const std::vector<QTableWidgetItem *> &cells);
    void disposeSlice();
    void removeRowsWhere(const std::function<bool(int row)> &drops,
                         const std::function<void(int first, int count)> &takeCells);

    std::vector<QTableWidgetItem *> m_disposal;
    std::unique_ptr<SetAsideRows> m_setAside;
    QTimer *m_disposalTimer = nullptr;

    SMSUIMainDlg *m_pMainDlg = nullptr;
    QString m_strEmptyText;
    QPoint m_pressPos;
};
