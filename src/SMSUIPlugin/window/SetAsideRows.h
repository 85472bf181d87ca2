// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows a search took out of a table, kept with their cells: clearing or widening the
// search puts them back without reading the store and building tens of thousands of cells
// again.
#include <vector>

class QTableWidget;
class QTableWidgetItem;

class SetAsideRows
{
public:
    SetAsideRows() = default;
    ~SetAsideRows();
    SetAsideRows(const SetAsideRows &) = delete;
    SetAsideRows &operator=(const SetAsideRows &) = delete;

    bool isEmpty() const { return m_cells.empty(); }

    // Takes the cells of rows first..first+count-1 of table out (the rows stay, empty)
    // and keeps them, in their row order.
    void take(QTableWidget *table, int first, int count);
    // Appends the rows kept to the end of table, which must have as many columns as when
    // they were taken, and forgets them. The caller puts the rows in order.
    void putBack(QTableWidget *table);
    // Forgets the rows kept and hands their cells over, for the caller to free.
    std::vector<QTableWidgetItem *> release();

private:
    std::vector<QTableWidgetItem *> m_cells;  // m_columns per row, row by row; null for none
    int m_columns = 0;
};
