// Grabs a bill-like grid (two-level size titles, sum footer, striped rows, a read-only and a
// highlighted column, a red cell) into a PNG, and its simple print into a PDF, for looking at them:
//   xvfb-run -a ./build/tests/grid_screenshot <out-dir>
#include "data/DBGrid.h"
#include "data/GridPrint.h"
#include "data/GridSetup.h"
#include "shell/AppFormats.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ApplyAppFormats();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(out);

    TDataSet lines;
    lines.setFieldDefs({{"cInvCode", FieldType::String, 20}, {"cInvName", FieldType::String, 60},
                        {"cColor", FieldType::String, 20}, {"S_1", FieldType::Float}, {"S_2", FieldType::Float},
                        {"S_3", FieldType::Float}, {"S_4", FieldType::Float}, {"iNum", FieldType::Float},
                        {"iPrice", FieldType::Float}, {"iMoney", FieldType::Float}});
    lines.createDataSet();
    const char *names[] = {"男式休闲衬衫", "女式连衣裙", "儿童牛仔裤", "羊毛开衫", "运动短裤", "真丝围巾"};
    for (int i = 0; i < 12; ++i) {
        const double s1 = i % 3, s2 = (i * 2) % 5, s3 = i % 4, s4 = (i + 1) % 2;
        const double price = 59 + 20 * (i % 6);
        lines.appendRecord({QStringLiteral("K%1").arg(1001 + i), QString::fromUtf8(names[i % 6]),
                            i % 2 ? QStringLiteral("黑色") : QStringLiteral("白色"), s1, s2, s3, s4,
                            s1 + s2 + s3 + s4, price, (s1 + s2 + s3 + s4) * price});
    }
    lines.setRecNo(3);

    TDBGrid grid;
    grid.setDataSet(&lines);
    SetupGridColumns(grid,
                     {{"cInvCode", "款号", 70, true, true},
                      {"cInvName", "品名", 120},
                      {"cColor", "颜色", 50},
                      {"S_1", "尺码|S", 40},
                      {"S_2", "尺码|M", 40},
                      {"S_3", "尺码|L", 40},
                      {"S_4", "尺码|XL", 40},
                      {"iNum", "尺码|合计", 50, true, false, true},
                      {"iPrice", "单价", 60},
                      {"iMoney", "金额", 80}},
                     false, false);
    SumFooterExcept(grid, {"iPrice"});
    SetColumnsReadOnly(grid, {"cInvName"}, true);
    grid.setCellStyleHook([](int row, const TField &f, TCellStyle &s) {
        if (row == 1 && f.fieldName() == QLatin1String("S_2"))
            s.foreground = Qt::red;
    });
    grid.setSortMarker(grid.columnOf("cInvCode"), SortMarker::Up);
    grid.setSortMarker(grid.columnOf("iMoney"), SortMarker::Down, true);
    grid.resize(700, 420);
    grid.show();
    for (int i = 0; i < 30; ++i)
        QApplication::processEvents();
    grid.grab().save(out + QStringLiteral("/grid.png"));
    SetGridPrintHook([&](TGridPrinter &printer, bool) { printer.printToPdf(out + QStringLiteral("/grid.pdf")); });
    PrintGridSimple(grid, QStringLiteral("销售单明细"), false, QStringLiteral("客户：王府井店    日期：2024.05.03"));
    return 0;
}
