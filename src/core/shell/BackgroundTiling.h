#pragma once
#include <QList>
#include <QRect>
#include <QSize>

// The main window's background repeats one picture from the top-left corner. A picture smaller
// than the area is laid in a grid that leaves no gap at the right and bottom edges; a larger one
// is drawn once.
struct TBackgroundGrid {
    int rows = 0;
    int columns = 0;
};

// (area height div picture height + 1) rows by (area width div picture width + 1) columns;
// nothing for an empty picture or area.
TBackgroundGrid BackgroundTileGrid(const QSize &area, const QSize &picture);

// Where each copy of the picture goes, row by row, in the grid above.
QList<QRect> BackgroundTileRects(const QSize &area, const QSize &picture);
