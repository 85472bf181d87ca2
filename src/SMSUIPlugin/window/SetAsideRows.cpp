// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetAsideRows.h"

#include <QSignalBlocker>
#include <QTableWidget>

#include <utility>

SetAsideRows::~SetAsideRows()
{
    for (QTableWidgetItem *cell : m_cells)
        delete cell;
}

void SetAsideRows::take(QTableWidget *table, int first, int count)
{
    if (!table || count <= 0)
        return;
    if (!m_cells.empty() && m_columns != table->columnCount())
        return;  // never mixed: a table's columns are fixed when it is made
    m_columns = table->columnCount();
    m_cells.reserve(m_cells.size() + size_t(count) * size_t(m_columns));
    // The rows go right after: the views need not hear of each cell leaving them.
    const QSignalBlocker quiet(table->model());
    for (int row = first; row < first + count; ++row) {
        for (int column = 0; column < m_columns; ++column)
            m_cells.push_back(table->takeItem(row, column));
    }
}

void SetAsideRows::putBack(QTableWidget *table)
{
    if (!table || m_cells.empty() || table->columnCount() != m_columns)
        return;
    const int rows = int(m_cells.size() / size_t(m_columns));
    const int first = table->rowCount();
    // Sorting is off while the cells go in (each would otherwise move its row on its own)
    // and turned on again after: that is the one sort, which puts every row in its place.
    const bool sorting = table->isSortingEnabled();
    table->setSortingEnabled(false);
    table->model()->insertRows(first, rows);
    {
        // The rows were announced empty; the cells filling them need no signal each: the
        // sort below, or the repaint, shows them.
        const QSignalBlocker quiet(table->model());
        size_t i = 0;
        for (int row = first; row < first + rows; ++row) {
            for (int column = 0; column < m_columns; ++column, ++i) {
                if (m_cells[i])
                    table->setItem(row, column, m_cells[i]);
            }
        }
    }
    if (sorting)
        table->setSortingEnabled(true);
    else
        table->viewport()->update();
    m_cells.clear();
}

std::vector<QTableWidgetItem *> SetAsideRows::release()
{
    return std::exchange(m_cells, {});
}
