#pragma once
// The message table of one storage folder, its sortable cells and the delegate that keeps
// tables and the folder tree free of focus frames.
#include <QItemDelegate>
#include <QTableWidget>
#include <QTableWidgetItem>

class SMSUIMainDlg;
struct SmsRecord;

// A table cell (or header cell) whose only addition is the ordering used when a column is
// sorted: case-insensitive first, then by case, on the system encoding of the display text.
class UITableItem : public QTableWidgetItem
{
public:
    UITableItem() = default;
    explicit UITableItem(const QString &text) : QTableWidgetItem(text) {}

    bool operator<(const QTableWidgetItem &other) const override;

    // The ordering itself, on two display texts; a date-time cell compares as its ISO text,
    // so text order is time order.
    static bool lessThan(const QString &a, const QString &b);
};

// Draws cells as QItemDelegate does, but never a focus rectangle.
class GridDelegateLayout : public QItemDelegate
{
    Q_OBJECT
public:
    explicit GridDelegateLayout(QObject *parent = nullptr) : QItemDelegate(parent) {}

    // Columns whose text is laid out left to right even in a right-to-left window (phone
    // numbers and times: "+4930..." must not turn into "...4930+"); still right-aligned there.
    void setLeftToRightColumns(const QList<int> &columns) { m_leftToRightColumns = columns; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

protected:
    void drawFocus(QPainter *painter, const QStyleOptionViewItem &option,
                   const QRect &rect) const override;
    void drawDisplay(QPainter *painter, const QStyleOptionViewItem &option, const QRect &rect,
                     const QString &text) const override;

private:
    QList<int> m_leftToRightColumns;
    // Column being painted: drawDisplay is not told the index (GUI thread only).
    mutable int m_paintingColumn = -1;
};

class SMSUITableWidget : public QTableWidget
{
    Q_OBJECT
public:
    explicit SMSUITableWidget(QWidget *parent = nullptr);

    // Not owned: the window that owns this table through its table map.
    void setMainDlg(SMSUIMainDlg *dlg) { m_pMainDlg = dlg; }
    SMSUIMainDlg *mainDlg() const { return m_pMainDlg; }

    // The record a row points at, read from the row's column-0 item (user role holds the
    // record's address). Borrowed from the store: valid until the store removes the record,
    // which is always followed by a rebuild of the table. Null for a row without one.
    SmsRecord *recordAt(int row) const;
    static SmsRecord *recordOf(const QTableWidgetItem *nameItem);
    static QVariant recordLink(const SmsRecord *record);

    // Rows that have at least one selected cell, ascending.
    QList<int> selectedRowNumbers() const;

private:
    SMSUIMainDlg *m_pMainDlg = nullptr;
};
