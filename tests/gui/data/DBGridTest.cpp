#include "GridTestSupport.h"
#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "data/OpData.h"
#include "data/DataSetModel.h"
#include "data/GridSetup.h"
#include "shell/AppError.h"

#include <QClipboard>
#include <QComboBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
// A few bill lines: code, name (read-only), two sizes, their total (read-only), a flag.
struct Lines {
    TDataSet ds;
    TDBGrid grid;
    explicit Lines(int rows = 4)
    {
        ds.setFieldDefs({{"cInvCode", FieldType::String, 20}, {"cInvName", FieldType::String, 60},
                         {"S_1", FieldType::Float}, {"S_2", FieldType::Float}, {"iNum", FieldType::Float},
                         {"bGift", FieldType::Boolean}});
        ds.createDataSet();
        for (int i = 1; i <= rows; ++i)
            ds.appendRecord({QStringLiteral("A%1").arg(i), QStringLiteral("衬衫%1").arg(i), i, 2 * i, 3 * i, i % 2 == 0});
        ds.mergeChangeLog();
        ds["cInvName"].readOnly = true;
        ds["iNum"].readOnly = true;
        // The total follows the sizes, as the bill windows keep it.
        for (const char *size : {"S_1", "S_2"})
            ds[size].onChange = [this](TField &) {
                ds["iNum"].readOnly = false;
                ds["iNum"].setValue(ds["S_1"].asFloat() + ds["S_2"].asFloat());
                ds["iNum"].readOnly = true;
            };
        ds.first();
        grid.setDataSet(&ds);
    }
    QModelIndex at(int row, const char *field) { return grid.model()->index(row, grid.columnOf(field)); }
};
} // namespace

TEST(DataSetModel, ShowsFieldsAndFollowsTheDataSet)
{
    Lines l;
    TDataSetModel &m = *l.grid.dataModel();
    EXPECT_EQ(m.rowCount(), 4);
    EXPECT_EQ(m.columnCount(), 6);
    l.ds["S_1"].displayFormat = "0.00";
    EXPECT_EQ(l.at(1, "S_1").data().toString(), "2.00");
    EXPECT_EQ(l.at(1, "S_1").data(Qt::EditRole).toString(), "2"); // the editor gets the value itself
    EXPECT_EQ(l.at(1, "S_1").data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(l.at(0, "cInvName").data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignVCenter));
    EXPECT_EQ(l.at(1, "bGift").data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_FALSE(l.at(1, "bGift").data().isValid());
    EXPECT_FALSE(l.at(0, "cInvName").flags() & Qt::ItemIsEditable);

    QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&m, &QAbstractItemModel::rowsRemoved);
    l.ds.append();
    EXPECT_EQ(m.rowCount(), 5);
    l.ds.cancel();
    EXPECT_EQ(m.rowCount(), 4);
    l.ds.setRecNo(2);
    l.ds.deleteRecord();
    EXPECT_EQ(m.rowCount(), 3);
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_EQ(removed.size(), 2);
    EXPECT_EQ(l.at(1, "cInvCode").data().toString(), "A3");

    l.ds.emptyDataSet();
    EXPECT_EQ(m.rowCount(), 0);
    l.ds.close();
    EXPECT_EQ(m.columnCount(), 0);
}

TEST(DataSetModel, SetDataEditsThroughTheDataSet)
{
    ScriptedMessages messages;
    Lines l;
    TDataSetModel &m = *l.grid.dataModel();
    // Writing into another row moves the dataset there and runs the field's change handler.
    EXPECT_TRUE(m.setData(l.at(2, "S_1"), "10"));
    EXPECT_EQ(l.ds.recNo(), 3);
    EXPECT_EQ(l.ds.state(), TDataSet::State::Edit);
    EXPECT_DOUBLE_EQ(l.ds["iNum"].asFloat(), 16.0);
    EXPECT_EQ(l.at(2, "iNum").data().toString(), "16");

    // A value the field refuses changes nothing and says why.
    EXPECT_FALSE(m.setData(l.at(2, "S_2"), "abc"));
    EXPECT_EQ(m.lastError(), messages.last());
    EXPECT_TRUE(messages.last().contains("abc"));
    EXPECT_DOUBLE_EQ(l.ds["S_2"].asFloat(), 6.0);

    // Writing the same value again is no edit at all.
    l.ds.post();
    EXPECT_TRUE(m.setData(l.at(0, "S_1"), "1"));
    EXPECT_EQ(l.ds.state(), TDataSet::State::Browse);

    EXPECT_TRUE(m.setData(l.at(0, "bGift"), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(l.ds["bGift"].asBoolean());
}

TEST(DBGrid, SelectionAndCurrentRecordStayInStep)
{
    ScriptedMessages messages;
    Lines l(30);
    ShowGrid(l.grid, 500, 200);
    l.ds.setRecNo(25);
    EXPECT_EQ(l.grid.currentIndex().row(), 24);
    EXPECT_TRUE(l.grid.viewport()->rect().intersects(l.grid.visualRect(l.grid.currentIndex())))
        << "the current record is scrolled into view";

    l.grid.scrollToTop();
    ClickCell(l.grid, 2, l.grid.columnOf("S_1"));
    EXPECT_EQ(l.ds.recNo(), 3);

    // Leaving an edited row posts it.
    l.ds.edit();
    l.ds["S_1"].setValue(7);
    ClickCell(l.grid, 4, l.grid.columnOf("S_1"));
    EXPECT_EQ(l.ds.state(), TDataSet::State::Browse);
    EXPECT_EQ(l.ds.recNo(), 5);
    EXPECT_EQ(l.ds.valueAt(2, l.ds.fieldIndex("S_1")).toDouble(), 7.0);

    // A refused post keeps both on the row being edited.
    l.ds.beforePost = [](TDataSet &ds) {
        if (ds["S_1"].asFloat() < 0)
            throw AppError("数量不能为负数！");
    };
    l.ds.edit();
    l.ds["S_1"].setValue(-1);
    ClickCell(l.grid, 1, l.grid.columnOf("S_1"));
    EXPECT_EQ(messages.last(), "数量不能为负数！");
    EXPECT_EQ(l.ds.state(), TDataSet::State::Edit);
    EXPECT_EQ(l.ds.recNo(), 5);
    EXPECT_EQ(l.grid.currentIndex().row(), 4);
}

TEST(DBGrid, TwoLevelTitlesShareOneBand)
{
    Lines l;
    l.grid.column("S_1").title = "尺码|S";
    l.grid.column("S_2").title = "尺码|M";
    l.grid.column("iNum").title = "尺码|合计";
    l.grid.column("bGift").title = "赠品";
    l.grid.refreshColumns();
    ShowGrid(l.grid);
    auto *header = l.grid.horizontalHeader();
    const int s1 = l.grid.columnOf("S_1"), total = l.grid.columnOf("iNum");
    const QPair<int, int> band = l.grid.bandRange(l.grid.columnOf("S_2"));
    EXPECT_EQ(band.first, header->visualIndex(s1));
    EXPECT_EQ(band.second, header->visualIndex(total));
    EXPECT_EQ(l.grid.bandRange(l.grid.columnOf("bGift")).first, l.grid.bandRange(l.grid.columnOf("bGift")).second);
    EXPECT_GE(header->height(), 2 * header->fontMetrics().height());
    EXPECT_EQ(TDBGrid::lowerTitle("尺码|合计"), "合计");

    // A hidden size does not split the band; another title between two sizes does.
    l.grid.setColumnVisible(l.grid.columnOf("S_2"), false);
    EXPECT_EQ(l.grid.bandRange(s1).second, header->visualIndex(total));
    l.grid.setColumnVisible(l.grid.columnOf("S_2"), true);
    l.grid.setColumnTitle(l.grid.columnOf("S_2"), "单价");
    EXPECT_EQ(l.grid.bandRange(s1).second, header->visualIndex(s1));
}

TEST(DBGrid, TitleClicksSetSortMarkers)
{
    Lines l;
    ShowGrid(l.grid);
    QSignalSpy changed(&l.grid, &TDBGrid::sortMarkingChanged);
    const int code = l.grid.columnOf("cInvCode"), s1 = l.grid.columnOf("S_1"), s2 = l.grid.columnOf("S_2");

    ClickTitle(l.grid, code);
    EXPECT_EQ(l.grid.sortMarker(code), SortMarker::None) << "no title buttons, no markers";
    EXPECT_EQ(changed.size(), 0);

    EnableTitleButtons(l.grid);
    ClickTitle(l.grid, code);
    EXPECT_EQ(l.grid.sortMarker(code), SortMarker::Up);
    ClickTitle(l.grid, code);
    EXPECT_EQ(l.grid.sortMarker(code), SortMarker::Down);
    ClickTitle(l.grid, s1); // a plain click marks that column alone
    EXPECT_EQ(l.grid.sortMarker(code), SortMarker::None);
    EXPECT_EQ(l.grid.sortMarker(s1), SortMarker::Up);

    ClickTitle(l.grid, s2, Qt::ControlModifier);
    ClickTitle(l.grid, s2, Qt::ControlModifier);
    const TSortMarkers markers = l.grid.sortMarkers();
    ASSERT_EQ(markers.size(), 2);
    EXPECT_EQ(markers.at(0).fieldName, "S_1");
    EXPECT_EQ(markers.at(1).fieldName, "S_2");
    EXPECT_EQ(markers.at(1).marker, SortMarker::Down);
    EXPECT_EQ(l.grid.sortMarkerOrder(s2), 2);
    ClickTitle(l.grid, s2, Qt::ControlModifier); // a third Ctrl+click takes it out again
    EXPECT_EQ(l.grid.sortMarkers().size(), 1);
    EXPECT_EQ(changed.size(), 6);
    EXPECT_EQ(l.ds.sort().size(), 0) << "the window sorts unless the grid sorts locally";

    // Dragging a column border is no click.
    auto *header = l.grid.horizontalHeader();
    const int border = header->sectionViewportPosition(code) + header->sectionSize(code) - 1;
    const int width = header->sectionSize(code);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(border, 10));
    QTest::mouseMove(header->viewport(), QPoint(border + 30, 10));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(border + 30, 10));
    EXPECT_EQ(header->sectionSize(code), width + 30);
    EXPECT_EQ(l.grid.sortMarker(code), SortMarker::None);
}

TEST(DBGrid, LocalSortFollowsTheMarkers)
{
    Lines l;
    l.grid.setTitleButtons(true);
    l.grid.setSortLocal(true);
    ShowGrid(l.grid);
    ClickTitle(l.grid, l.grid.columnOf("S_1"));
    ClickTitle(l.grid, l.grid.columnOf("S_1"));
    EXPECT_EQ(l.at(0, "cInvCode").data().toString(), "A4");
    EXPECT_EQ(l.at(3, "cInvCode").data().toString(), "A1");
    EXPECT_EQ(l.grid.columnWidth(l.grid.columnOf("S_1")), l.grid.column("S_1").width) << "sorting keeps widths";

    // A window with its own handler reads the markers its way; the grid leaves the sort to it.
    QObject::connect(&l.grid, &TDBGrid::sortMarkingChanged, &l.grid, [&] { SortCdsByMarkers(l.grid, l.ds); });
    ClickTitle(l.grid, l.grid.columnOf("S_2"));
    EXPECT_EQ(l.ds.indexName(), "index1");
    EXPECT_EQ(l.at(0, "cInvCode").data().toString(), "A4") << "up: descending for in-memory windows";
}

TEST(DBGrid, FooterSumsFollowTheData)
{
    Lines l;
    ShowGrid(l.grid);
    SumFooterAll(l.grid);
    const int s1 = l.grid.columnOf("S_1"), total = l.grid.columnOf("iNum");
    EXPECT_EQ(l.grid.footerText(l.grid.columnOf("cInvCode")), "合计");
    EXPECT_EQ(l.grid.footerText(s1), "10");
    EXPECT_EQ(l.grid.footerText(total), "30");
    EXPECT_EQ(l.grid.footerText(l.grid.columnOf("cInvName")), "");

    l.ds.setRecNo(2);
    l.ds.edit();
    l.ds["S_1"].setValue(2.25);
    EXPECT_EQ(l.grid.footerText(s1), "10.25");
    EXPECT_EQ(l.grid.footerText(total), "30.25");
    l.ds.post();
    l.ds.append();
    l.ds["cInvCode"].setValue("B1");
    l.ds["S_1"].setValue(5);
    l.ds.post();
    EXPECT_EQ(l.grid.footerText(s1), "15.25");
    l.ds.first();
    l.ds.deleteRecord();
    EXPECT_EQ(l.grid.footerText(s1), "14.25");
    l.ds.setFilter([](const TRecordView &r) { return r.value("cInvCode").toString() != "B1"; });
    l.ds.setFiltered(true);
    EXPECT_EQ(l.grid.footerText(s1), "9.25") << "only the rows shown are summed";
}

TEST(DBGrid, FooterCaptionMovesPastAHiddenFirstColumn)
{
    Lines l;
    l.grid.setColumnVisible(0, false);
    SumFooterAll(l.grid);
    EXPECT_EQ(l.grid.footerText(0), "");
    EXPECT_EQ(l.grid.footerText(1), "合计");

    SumFooterExcept(l.grid, {"S_2"});
    EXPECT_EQ(l.grid.footerText(1), "合计");
    EXPECT_EQ(l.grid.footerText(l.grid.columnOf("S_1")), "10");
    EXPECT_EQ(l.grid.footerText(l.grid.columnOf("S_2")), "");

    SumFooterFields(l.grid, {"S_2"});
    EXPECT_EQ(l.grid.footerText(l.grid.columnOf("S_1")), "");
    EXPECT_EQ(l.grid.footerText(l.grid.columnOf("S_2")), "20");
}

TEST(DBGrid, FooterStaysUnderItsColumnsWhenScrolled)
{
    Lines l(200);
    for (int c = 0; c < l.grid.columnCount(); ++c)
        l.grid.setColumnDesignWidth(c, 150);
    SumFooterAll(l.grid);
    ShowGrid(l.grid, 400, 300);
    QWidget *footerWidget = nullptr;
    for (QWidget *w : l.grid.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (QString(w->metaObject()->className()) == "TGridFooter")
            footerWidget = w;
    ASSERT_NE(footerWidget, nullptr);
    EXPECT_TRUE(footerWidget->isVisible());
    const QRect vp = l.grid.viewport()->geometry();
    EXPECT_EQ(footerWidget->geometry().top(), vp.bottom() + 1) << "the footer sits right under the rows";

    // The last row is reachable above the footer.
    l.grid.scrollToBottom();
    const QRect last = l.grid.visualRect(l.grid.model()->index(199, 0));
    EXPECT_LE(last.bottom(), l.grid.viewport()->height());

    l.grid.horizontalScrollBar()->setValue(l.grid.horizontalScrollBar()->maximum());
    QApplication::processEvents();
    const int s2 = l.grid.columnOf("S_2");
    const QImage image = footerWidget->grab().toImage();
    const int x = l.grid.verticalHeader()->width() + l.grid.horizontalHeader()->sectionViewportPosition(s2);
    // The cell border of the footer lies where the column's border lies.
    const QColor border = image.pixelColor(x + 150 - 1, image.height() / 2);
    const QColor inside = image.pixelColor(x + 150 - 10, image.height() / 2);
    EXPECT_NE(border, inside);
}

TEST(DBGrid, CellColours)
{
    Lines l;
    ShowGrid(l.grid);
    l.grid.setColumnHighlight(l.grid.columnOf("S_2"), true);
    l.grid.setCellStyleHook([](int row, const TField &f, TCellStyle &s) {
        if (row == 3 && f.fieldName() == "S_1")
            s.background = Qt::red;
    });
    l.ds.setRecNo(1);
    l.grid.setCurrentIndex(l.at(0, "cInvCode"));
    const QColor base = l.grid.palette().color(QPalette::Base);
    const QColor tip = l.grid.palette().color(QPalette::ToolTipBase);
    struct Case { int row; const char *field; QColor expected; };
    const Case cases[] = {
        {0, "cInvCode", QColor(128, 128, 128)}, // the selected cell
        {0, "S_1", base},                       // record 1: odd
        {1, "S_1", l.grid.stripeColor()},       // record 2: striped
        {2, "cInvName", tip},                   // read-only field
        {2, "S_2", tip},                        // highlighted column
        {3, "S_1", QColor(Qt::red)},            // the window's own colour
    };
    for (const Case &c : cases) {
        EXPECT_EQ(l.grid.cellBackground(l.at(c.row, c.field)), c.expected) << c.row << c.field;
        // What is painted is what the grid decides.
        const QRect r = l.grid.visualRect(l.at(c.row, c.field));
        const QImage image = l.grid.viewport()->grab(r).toImage();
        EXPECT_EQ(image.pixelColor(2, 2), c.expected) << c.row << c.field;
    }
}

TEST(DBGrid, TypingEditsAndEnterMovesToTheNextEditableColumn)
{
    ScriptedMessages messages;
    Lines l;
    ShowGrid(l.grid);
    ClickCell(l.grid, 0, l.grid.columnOf("cInvCode"));
    Type(l.grid, "男装");
    EXPECT_TRUE(Editing(l.grid));
    Press(l.grid, Qt::Key_Return);
    EXPECT_FALSE(Editing(l.grid));
    EXPECT_EQ(l.ds["cInvCode"].asString(), "男装");
    EXPECT_EQ(l.ds.state(), TDataSet::State::Edit);
    EXPECT_EQ(l.grid.currentIndex().column(), l.grid.columnOf("S_1")) << "the read-only name is skipped";

    Type(l.grid, "5");
    Press(l.grid, Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(l.ds["iNum"].asFloat(), 7.0);
    EXPECT_EQ(l.grid.currentIndex().column(), l.grid.columnOf("S_2"));

    // A value the field refuses keeps the editor open to be corrected.
    Type(l.grid, "x");
    Press(l.grid, Qt::Key_Return);
    EXPECT_TRUE(Editing(l.grid));
    EXPECT_TRUE(messages.last().contains("x"));
    Press(l.grid, Qt::Key_Escape); // first Esc: the cell
    EXPECT_FALSE(Editing(l.grid));
    EXPECT_EQ(l.ds.state(), TDataSet::State::Edit);
    Press(l.grid, Qt::Key_Escape); // second Esc: the record
    EXPECT_EQ(l.ds.state(), TDataSet::State::Browse);
    EXPECT_EQ(l.ds["cInvCode"].asString(), "A1");

    // Past the last editable column Enter goes to the next row.
    l.grid.setCurrentIndex(l.at(0, "bGift"));
    Press(l.grid, Qt::Key_Return);
    EXPECT_EQ(l.grid.currentIndex(), l.at(1, "cInvCode"));
    EXPECT_EQ(l.ds.recNo(), 2);
}

TEST(DBGrid, EnterOnTheLastRowAppendsWhenAllowed)
{
    Lines l(2);
    ShowGrid(l.grid);
    l.grid.setCurrentIndex(l.at(1, "bGift"));
    Press(l.grid, Qt::Key_Return);
    EXPECT_EQ(l.ds.recordCount(), 2) << "appending is off by default";

    l.grid.setAutoAppend(true);
    Press(l.grid, Qt::Key_Return);
    EXPECT_EQ(l.ds.recordCount(), 3);
    EXPECT_EQ(l.ds.state(), TDataSet::State::Insert);
    EXPECT_EQ(l.grid.currentIndex(), l.at(2, "cInvCode"));

    // A blank line left untouched goes away again.
    Press(l.grid, Qt::Key_Up);
    EXPECT_EQ(l.ds.recordCount(), 2);
    EXPECT_EQ(l.ds.state(), TDataSet::State::Browse);
    EXPECT_EQ(l.grid.currentIndex().row(), 1);

    // One typed into stays and is posted when left.
    Press(l.grid, Qt::Key_Down);
    Type(l.grid, "新款");
    Press(l.grid, Qt::Key_Return);
    Press(l.grid, Qt::Key_Up);
    EXPECT_EQ(l.ds.recordCount(), 3);
    EXPECT_EQ(l.ds.state(), TDataSet::State::Browse);
    EXPECT_EQ(l.ds.valueAt(2, 0).toString(), "新款");
}

TEST(DBGrid, ReadOnlyGridAndColumnsRefuseEditing)
{
    Lines l;
    ShowGrid(l.grid);
    SetColumnsReadOnly(l.grid, {"S_1"}, true);
    DoubleClickCell(l.grid, 0, l.grid.columnOf("S_1"));
    EXPECT_FALSE(Editing(l.grid));
    EXPECT_EQ(l.grid.cellBackground(l.at(1, "S_1")), l.grid.highlightColor());

    DoubleClickCell(l.grid, 1, l.grid.columnOf("S_2"));
    EXPECT_TRUE(Editing(l.grid));
    Press(l.grid, Qt::Key_Escape);

    l.grid.setReadOnly(true);
    l.grid.setCurrentIndex(l.at(1, "cInvCode"));
    Type(l.grid, "z");
    EXPECT_FALSE(Editing(l.grid));
    EXPECT_EQ(l.ds.state(), TDataSet::State::Browse);
    Press(l.grid, Qt::Key_Return); // still moves along the visible columns
    EXPECT_EQ(l.grid.currentIndex(), l.at(1, "cInvName"));
}

TEST(DBGrid, PickListAndEllipsisEditors)
{
    Lines l;
    ShowGrid(l.grid);
    l.grid.setColumnPickList(l.grid.columnOf("cInvCode"), {"X1", "X2"});
    DoubleClickCell(l.grid, 0, l.grid.columnOf("cInvCode"));
    auto *combo = l.grid.viewport()->findChild<QComboBox *>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->maxVisibleItems(), 20);
    combo->setCurrentIndex(1);
    Press(l.grid, Qt::Key_Return);
    EXPECT_EQ(l.ds["cInvCode"].asString(), "X2");

    l.grid.setColumnPickList(l.grid.columnOf("cInvCode"), {});
    l.grid.setColumnButton(l.grid.columnOf("cInvCode"), true);
    QSignalSpy pressed(&l.grid, &TDBGrid::editButtonClicked);
    QObject::connect(&l.grid, &TDBGrid::editButtonClicked, &l.grid, [&](int, const QString &) {
        l.ds.edit();
        l.ds["cInvCode"].setValue("PICKED");
    });
    DoubleClickCell(l.grid, 2, l.grid.columnOf("cInvCode"));
    auto *button = l.grid.viewport()->findChild<QToolButton *>();
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(pressed.size(), 1);
    EXPECT_EQ(pressed.first().at(0).toInt(), 2);
    EXPECT_EQ(pressed.first().at(1).toString(), "cInvCode");
    Press(l.grid, Qt::Key_Return);
    EXPECT_EQ(l.ds.valueAt(2, 0).toString(), "PICKED") << "the editor shows what the picker wrote";

    l.grid.setCurrentIndex(l.at(3, "cInvCode"));
    Press(l.grid, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(pressed.size(), 2);
}

TEST(DBGrid, BooleanCellsToggle)
{
    Lines l;
    ShowGrid(l.grid);
    const QRect r = l.grid.visualRect(l.at(0, "bGift"));
    ClickCell(l.grid, 0, l.grid.columnOf("bGift"));
    EXPECT_TRUE(l.ds["bGift"].asBoolean());
    Press(l.grid, Qt::Key_Space);
    EXPECT_FALSE(l.ds["bGift"].asBoolean());
    (void)r;
}

TEST(DBGrid, TickStaysVisibleInWhiteOnGreyRows)
{
    // Lists paint their current row grey with white text; the tick must not turn white too.
    Lines l;
    ShowGrid(l.grid);
    l.grid.setCellStyleHook([](int, const TField &, TCellStyle &s) {
        s.background = TDBGrid::selectedCellColor();
        s.foreground = Qt::white;
    });
    auto darkPixels = [&](int row) {
        const QImage image = l.grid.viewport()->grab(l.grid.visualRect(l.at(row, "bGift"))).toImage();
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += image.pixelColor(x, y).lightness() < 60;
        return dark;
    };
    ASSERT_FALSE(l.ds.valueAt(0, l.ds.fieldByName("bGift").index()).toBool());
    ASSERT_TRUE(l.ds.valueAt(1, l.ds.fieldByName("bGift").index()).toBool());
    EXPECT_GT(darkPixels(1), darkPixels(0) + 5);
}

TEST(DBGrid, InsertDeleteAndCopyKeys)
{
    ScriptedMessages messages;
    Lines l;
    ShowGrid(l.grid);
    l.grid.setCurrentIndex(l.at(1, "cInvCode"));
    Press(l.grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(l.ds.recordCount(), 4) << "deleting is off by default";
    l.grid.setAllowDelete(true);
    Press(l.grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(messages.last(), "删除后不能恢复，您确实要删除当前行吗?");
    EXPECT_EQ(l.ds.recordCount(), 3);
    EXPECT_EQ(l.at(1, "cInvCode").data().toString(), "A3");

    l.grid.setCurrentIndex(l.at(1, "cInvName"));
    Press(l.grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "衬衫3");
    Press(l.grid, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(l.ds.recordCount(), 3) << "Ctrl+Insert copies, it does not insert";

    l.grid.setAllowInsert(true);
    Press(l.grid, Qt::Key_Insert);
    EXPECT_EQ(l.ds.state(), TDataSet::State::Insert);
    EXPECT_EQ(l.grid.currentIndex().row(), 1);
    Press(l.grid, Qt::Key_Escape);
    EXPECT_EQ(l.ds.recordCount(), 3);
}

TEST(DBGrid, ColumnWidthsAreSavedAndRestored)
{
    QTemporaryDir dir;
    SetGridLayoutFile(dir.filePath("vexafz.ini"));
    {
        Lines l;
        ShowGrid(l.grid);
        l.grid.horizontalHeader()->resizeSection(l.grid.columnOf("S_1"), 77);
        l.grid.saveColumnWidths("frmSell");
    }
    Lines l;
    ShowGrid(l.grid);
    l.grid.restoreColumnWidths("frmOther");
    EXPECT_NE(l.grid.columnWidth(l.grid.columnOf("S_1")), 77);
    l.grid.restoreColumnWidths("frmSell");
    EXPECT_EQ(l.grid.columnWidth(l.grid.columnOf("S_1")), 77);
    SetGridLayoutFile(QString());
}

TEST(GridSetup, ColumnsFromAColumnTable)
{
    Lines l;
    const TFieldArr arr{{"cInvCode", "款号", 90, true, true},
                        {"cInvName", "名称", 60, true, false, true},
                        {"S_1", "尺码|S", 40},
                        {"S_2", "尺码|M", 40, false},
                        {"iNum", "尺码|合计", 50, true, false, true}};
    SetupGridColumns(l.grid, arr, false, false);
    ShowGrid(l.grid, 600, 200);
    EXPECT_EQ(l.grid.visibleColumns(), QList<int>({0, 1, 2, 4})) << "unlisted and invisible columns are hidden";
    EXPECT_EQ(l.grid.columnTitle(0), "款号");
    EXPECT_EQ(l.grid.columnWidth(0), 90);
    EXPECT_TRUE(l.grid.column("cInvCode").button);
    EXPECT_TRUE(l.grid.column("cInvName").highlight);
    EXPECT_TRUE(l.grid.titleButtons());
    EXPECT_TRUE(l.grid.sortLocal());

    l.grid.horizontalHeader()->resizeSection(0, 120);
    SetupGridColumns(l.grid, arr, true, false);
    EXPECT_EQ(l.grid.columnWidth(0), 120) << "keep widths";

    SetupGridColumns(l.grid, arr, false, true);
    int total = 0;
    for (int c : l.grid.visibleColumns())
        total += l.grid.columnWidth(c);
    EXPECT_EQ(total, l.grid.viewport()->width());
    EXPECT_GT(l.grid.columnWidth(0), 90);
    l.grid.resize(800, 200);
    QApplication::processEvents();
    total = 0;
    for (int c : l.grid.visibleColumns())
        total += l.grid.columnWidth(c);
    EXPECT_EQ(total, l.grid.viewport()->width()) << "fitted again after a resize";
}

TEST(GridSetup, ColumnsHiddenByTheFieldVisibilitySettingsStayHidden)
{
    // The administrator hides the cost columns of the stock window from the other operators;
    // a window that sets its columns up afterwards must not show them again.
    TestAccountSet set;
    auto stock = set.op().QueryData("select 'K1' as cInvCode, 10.0 as iPrice, 6.0 as icPrice, 60.0 as icMoney");
    set.op().ApplyFieldVisibility(*stock, "realtimestock");
    TDBGrid grid;
    grid.setDataSet(stock.get());
    SetupGridColumns(grid,
                     {{"cInvCode", "款号", 80}, {"iPrice", "吊牌价", 60}, {"icPrice", "成本价", 60},
                      {"icMoney", "成本金额", 60}},
                     false, false);
    EXPECT_EQ(grid.visibleColumns(), QList<int>({grid.columnOf("cInvCode"), grid.columnOf("iPrice")}));
    grid.setColumnVisible(grid.columnOf("icPrice"), true); // a window may still show one on purpose
    EXPECT_TRUE(grid.columnVisible(grid.columnOf("icPrice")));
}

TEST(DBGrid, InputMethodTextStartsEditing)
{
    Lines l;
    ShowGrid(l.grid);
    ClickCell(l.grid, 1, l.grid.columnOf("cInvCode"));
    QInputMethodEvent composing("nan", {});
    QApplication::sendEvent(Focused(&l.grid), &composing);
    QInputMethodEvent commit;
    commit.setCommitString("男装");
    QApplication::sendEvent(Focused(&l.grid), &commit);
    EXPECT_TRUE(Editing(l.grid));
    Press(l.grid, Qt::Key_Return);
    EXPECT_EQ(l.ds["cInvCode"].asString(), "男装");
}
