#include "BackgroundTiling.h"

TBackgroundGrid BackgroundTileGrid(const QSize &area, const QSize &picture)
{
    if (picture.width() <= 0 || picture.height() <= 0 || area.width() <= 0 || area.height() <= 0)
        return {};
    return {area.height() / picture.height() + 1, area.width() / picture.width() + 1};
}

QList<QRect> BackgroundTileRects(const QSize &area, const QSize &picture)
{
    const TBackgroundGrid grid = BackgroundTileGrid(area, picture);
    QList<QRect> rects;
    rects.reserve(grid.rows * grid.columns);
    for (int row = 0; row < grid.rows; ++row)
        for (int column = 0; column < grid.columns; ++column)
            rects.append(QRect(QPoint(column * picture.width(), row * picture.height()), picture));
    return rects;
}
