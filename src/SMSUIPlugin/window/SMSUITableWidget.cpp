#include "SMSUITableWidget.h"

#include <QStyle>

#include <QDateTime>
#include <QPainter>
#include <QStringEncoder>

#include <algorithm>

bool UITableItem::operator<(const QTableWidgetItem &other) const
{
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
    // ties. The encoder is stateless for whole strings, so one per thread is reused: this
    // runs for every comparison of a sort of thousands of rows.
    thread_local QStringEncoder encoder(QStringConverter::System);
    if (encoder.isValid()) {
        const QByteArray la = encoder.encode(a.toLower());
        const QByteArray lb = encoder.encode(b.toLower());
        int result = qstrcmp(la, lb);
        if (result == 0) {
            const QByteArray ea = encoder.encode(a);
            const QByteArray eb = encoder.encode(b);
            result = qstrcmp(ea, eb);
        }
        return result < 0;
    }
    int result = QString::compare(a, b, Qt::CaseInsensitive);
    if (result == 0)
        result = QString::compare(a, b, Qt::CaseSensitive);
    return result < 0;
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
    QItemDelegate::paint(painter, option, index);
    m_paintingColumn = -1;
}

void GridDelegateLayout::drawDisplay(QPainter *painter, const QStyleOptionViewItem &option,
                                     const QRect &rect, const QString &text) const
{
    if (option.direction != Qt::RightToLeft || !m_leftToRightColumns.contains(m_paintingColumn)) {
        QItemDelegate::drawDisplay(painter, option, rect, text);
        return;
    }
    QStyleOptionViewItem ltr(option);
    // The text stays on the side the right-to-left cell puts it; only its order changes.
    ltr.displayAlignment = QStyle::visualAlignment(option.direction, option.displayAlignment)
        | Qt::AlignAbsolute;
    ltr.direction = Qt::LeftToRight;
    QItemDelegate::drawDisplay(painter, ltr, rect, text);
}

SMSUITableWidget::SMSUITableWidget(QWidget *parent)
    : QTableWidget(parent)
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
    return reinterpret_cast<SmsRecord *>(nameItem->data(Qt::UserRole).value<quintptr>());
}

QVariant SMSUITableWidget::recordLink(const SmsRecord *record)
{
    return QVariant::fromValue(reinterpret_cast<quintptr>(record));
}

QList<int> SMSUITableWidget::selectedRowNumbers() const
{
    QList<int> rows;
    const QList<QTableWidgetItem *> items = selectedItems();
    for (const QTableWidgetItem *it : items) {
        if (!rows.contains(it->row()))
            rows.append(it->row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}
