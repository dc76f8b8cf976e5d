#include "shell/BackgroundTiling.h"

#include <gtest/gtest.h>

namespace {

struct TilingCase {
    const char *name;
    QSize area;
    QSize picture;
    int rows;
    int columns;
};

// The union of the tiles must reach past the right and bottom edges, and neighbouring tiles
// must touch exactly: a gap shows the bare window, an overlap a seam.
void ExpectCoversWithoutGaps(const QSize &area, const QSize &picture, const QList<QRect> &rects)
{
    QRect covered;
    for (const QRect &r : rects) {
        EXPECT_EQ(r.size(), picture);
        EXPECT_EQ(r.x() % picture.width(), 0);
        EXPECT_EQ(r.y() % picture.height(), 0);
        covered = covered.united(r);
    }
    EXPECT_EQ(covered.topLeft(), QPoint(0, 0));
    EXPECT_GE(covered.width(), area.width());
    EXPECT_GE(covered.height(), area.height());
    // Tiles on a grid of the picture's size, each cell once: no overlap and no gap.
    EXPECT_EQ(qint64(covered.width()) * covered.height(), qint64(rects.size()) * picture.width() * picture.height());
}

} // namespace

TEST(BackgroundTiling, GridFollowsAreaDivPicturePlusOne)
{
    const TilingCase cases[] = {
        {"default picture in a typical window", {1280, 800}, {183, 115}, 7, 7},
        {"area an exact multiple", {366, 230}, {183, 115}, 3, 3},
        {"area one pixel short of a multiple", {365, 229}, {183, 115}, 2, 2},
        {"picture wider than the area only", {300, 400}, {500, 100}, 5, 1},
        {"picture larger than the area", {640, 480}, {1024, 768}, 1, 1},
    };
    for (const TilingCase &c : cases) {
        SCOPED_TRACE(c.name);
        const TBackgroundGrid grid = BackgroundTileGrid(c.area, c.picture);
        EXPECT_EQ(grid.rows, c.rows);
        EXPECT_EQ(grid.columns, c.columns);
        const QList<QRect> rects = BackgroundTileRects(c.area, c.picture);
        EXPECT_EQ(rects.size(), c.rows * c.columns);
        ExpectCoversWithoutGaps(c.area, c.picture, rects);
    }
}

TEST(BackgroundTiling, LargerPictureIsDrawnOnceFromTheTopLeft)
{
    const QList<QRect> rects = BackgroundTileRects({800, 600}, {1920, 1080});
    ASSERT_EQ(rects.size(), 1);
    EXPECT_EQ(rects.first(), QRect(0, 0, 1920, 1080));
}

TEST(BackgroundTiling, NothingToDrawForAnEmptyPictureOrArea)
{
    EXPECT_TRUE(BackgroundTileRects({800, 600}, {0, 0}).isEmpty());
    EXPECT_TRUE(BackgroundTileRects({0, 600}, {183, 115}).isEmpty());
}
