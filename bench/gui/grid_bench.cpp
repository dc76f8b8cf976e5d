// The grid over 100,000 records as a user meets it: loading, sorting by title clicks, scrolling,
// the footer, deleting many rows and the spreadsheet export. Each figure includes the repaint
// that makes the change visible. Run with QT_QPA_PLATFORM=offscreen (or under Xvfb).
#include "data/DBGrid.h"
#include "data/GridExport.h"
#include "data/GridSetup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

void Fill(TDataSet &ds, int rows)
{
    QRandomGenerator rng(42);
    ds.setFieldDefs({{"cInvCode", FieldType::String, 20}, {"cInvName", FieldType::String, 60},
                     {"ColorID", FieldType::Integer}, {"S_1", FieldType::Float}, {"S_2", FieldType::Float},
                     {"S_3", FieldType::Float}, {"iNum", FieldType::Float}, {"iPrice", FieldType::Float},
                     {"iMoney", FieldType::Float}, {"dDate", FieldType::Date}});
    ds.createDataSet();
    ds.beginBulkLoad();
    for (int i = 0; i < rows; ++i) {
        const double s1 = rng.bounded(20), s2 = rng.bounded(20), s3 = rng.bounded(20);
        const double price = rng.bounded(50000) / 100.0;
        ds.bulkAppend({QStringLiteral("K%1").arg(rng.bounded(3000), 5, 10, QLatin1Char('0')),
                       QStringLiteral("款式%1").arg(rng.bounded(3000)), int(rng.bounded(20)), s1, s2, s3,
                       s1 + s2 + s3, price, (s1 + s2 + s3) * price, QDate(2005, 1, 1).addDays(rng.bounded(730))});
    }
    ds.endBulkLoad();
}

void ClickTitle(TDBGrid &grid, int column)
{
    QHeaderView *h = grid.horizontalHeader();
    const QPoint at(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() * 3 / 4);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    grid.repaint();
}

void Report(const char *what, QElapsedTimer &t)
{
    std::printf("%-44s %7.1f ms\n", what, t.nsecsElapsed() / 1e6);
    std::fflush(stdout);
    t.restart();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    std::printf("grid over %d records\n", rows);
    QElapsedTimer t;

    TDataSet ds;
    t.start();
    Fill(ds, rows);
    Report("bulk load into the dataset", t);

    TDBGrid grid;
    grid.resize(1000, 700);
    grid.show();
    t.restart();
    grid.setDataSet(&ds);
    const TFieldArr arr{{"cInvCode", "款号", 80},        {"cInvName", "名称", 120},
                        {"ColorID", "颜色", 50},         {"S_1", "尺码|S", 40},
                        {"S_2", "尺码|M", 40},           {"S_3", "尺码|L", 40},
                        {"iNum", "尺码|合计", 50},       {"iPrice", "单价", 70},
                        {"iMoney", "金额", 90},          {"dDate", "日期", 90}};
    SetupGridColumns(grid, arr, false, false);
    SumFooterAll(grid);
    grid.repaint();
    Report("attach to the grid, set up columns, paint", t);

    const int code = grid.columnOf("cInvCode"), money = grid.columnOf("iMoney"), date = grid.columnOf("dDate");
    ClickTitle(grid, code);
    Report("title click: sort by text column", t);
    ClickTitle(grid, code);
    Report("title click again: text column descending", t);
    ClickTitle(grid, money);
    Report("title click: sort by number column", t);
    ClickTitle(grid, date);
    Report("title click: sort by date column", t);

    grid.scrollToBottom();
    grid.repaint();
    Report("scroll to the end", t);
    ds.first();
    grid.repaint();
    ds.last();
    grid.repaint();
    Report("first record, then last record", t);
    for (int i = 0; i < 200; ++i) {
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() * i / 200);
        grid.repaint();
    }
    Report("200 scroll-bar steps through the grid", t);

    grid.setFooter(money, FooterKind::Sum);
    grid.footerText(money);
    Report("footer: every sum recomputed", t);
    ds.setRecNo(rows / 2);
    ds.edit();
    ds.fieldByName("S_1").setValue(99);
    ds.post();
    grid.footerText(money);
    grid.repaint();
    Report("footer after editing one record", t);

    QTemporaryDir dir;
    WriteGridToXlsx(grid, dir.filePath("grid.xlsx"));
    Report("export every row to .xlsx", t);

    const int deletes = std::min(rows / 10, 10000);
    ds.first();
    for (int i = 0; i < deletes; ++i)
        ds.deleteRecord();
    grid.repaint();
    std::printf("%-44s %7.1f ms\n", QStringLiteral("delete %1 records from the top").arg(deletes).toLocal8Bit().constData(),
                t.nsecsElapsed() / 1e6);
    t.restart();
    ds.last();
    for (int i = 0; i < deletes; ++i)
        ds.deleteRecord();
    grid.repaint();
    std::printf("%-44s %7.1f ms\n", QStringLiteral("delete %1 records from the end").arg(deletes).toLocal8Bit().constData(),
                t.nsecsElapsed() / 1e6);
    t.restart();
    ds.setRecNo(ds.recordCount() / 2);
    for (int i = 0; i < deletes; ++i)
        ds.deleteRecord();
    grid.repaint();
    std::printf("%-44s %7.1f ms\n", QStringLiteral("delete %1 records from the middle").arg(deletes).toLocal8Bit().constData(),
                t.nsecsElapsed() / 1e6);
    return 0;
}
