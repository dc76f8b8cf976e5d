#pragma once
#include "data/DBGrid.h"

// Read-only lists mark the whole current row, not only the current cell, so that the record
// the buttons act on is plain to see.
inline void UseWholeRowSelection(TDBGrid &grid)
{
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.setCellStyleHook([&grid](int row, const TField &, TCellStyle &style) {
        if (row == grid.currentIndex().row()) {
            style.background = TDBGrid::selectedCellColor();
            style.foreground = Qt::white;
        }
    });
}
