#include "ScriptedMessages.h"
#include "data/DBGrid.h"
#include "data/GridExport.h"
#include "data/GridSetup.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Every cell of the first sheet as openpyxl reads it: numbers stay numbers, dates come back as
// ISO text, empty cells as null.
QJsonArray ReadBack(const QString &path)
{
    const char *script = R"(
import json, sys, datetime, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).active
def cell(v):
    if isinstance(v, (datetime.datetime, datetime.date)):
        return v.isoformat()
    return v
print(json.dumps([[cell(c.value) for c in row] for row in ws.iter_rows()]))
)";
    QProcess python;
    python.start("/usr/bin/python3", {"-c", script, path});
    EXPECT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

struct Sales {
    TDataSet ds;
    TDBGrid grid;
    Sales()
    {
        ds.setFieldDefs({{"SellID", FieldType::Integer}, {"cInvCode", FieldType::String, 20},
                         {"S_1", FieldType::Float}, {"S_2", FieldType::Float}, {"iNum", FieldType::Float},
                         {"iMoney", FieldType::Currency}, {"dDate", FieldType::Date}, {"bVip", FieldType::Boolean}});
        ds.createDataSet();
        ds.appendRecord({1, "男衬衫", 1, QVariant(), 1, 99.5, QDate(2024, 3, 5), true});
        ds.appendRecord({2, "O'Neil 夹克", 2, 3, 5, 1200.25, QVariant(), false});
        ds["iMoney"].displayFormat = "0.00";
        grid.setDataSet(&ds);
        const TFieldArr arr{{"cInvCode", "款号", 90}, {"S_1", "尺码|S", 40}, {"S_2", "尺码|M", 40},
                            {"iNum", "尺码|合计", 50}, {"iMoney", "金额", 70}, {"dDate", "日期", 80},
                            {"bVip", "会员", 40}};
        SetupGridColumns(grid, arr, false, false);
        SumFooterExcept(grid, {});
    }
};
} // namespace

TEST(GridExport, WritesTheGridAsShown)
{
    ScriptedMessages messages;
    QTemporaryDir dir;
    Sales s;
    SortAdoByMarkers({{"iNum", {}, SortMarker::Down}}, s.ds); // the export follows the order shown
    messages.files.enqueue(dir.filePath("销售明细")); // the suffix is added
    ASSERT_TRUE(ExportGridToExcel(s.grid));
    EXPECT_EQ(messages.last(), "数据导出成功！");

    const QJsonArray rows = ReadBack(dir.filePath("销售明细.xlsx"));
    ASSERT_EQ(rows.size(), 5); // two title rows, two records, the footer
    const QJsonArray upper = rows.at(0).toArray(), lower = rows.at(1).toArray();
    EXPECT_EQ(upper.at(0).toString(), "款号");
    EXPECT_EQ(upper.at(1).toString(), "尺码");
    EXPECT_TRUE(upper.at(2).isNull()) << "the band is one text spread over its columns";
    EXPECT_EQ(lower.at(1).toString(), "S");
    EXPECT_EQ(lower.at(3).toString(), "合计");
    EXPECT_EQ(upper.at(4).toString(), "金额");

    const QJsonArray first = rows.at(2).toArray(), second = rows.at(3).toArray();
    EXPECT_EQ(first.size(), 7) << "the hidden key column is left out";
    EXPECT_EQ(first.at(0).toString(), "O'Neil 夹克");
    EXPECT_EQ(first.at(3).toDouble(), 5.0);
    EXPECT_EQ(first.at(4).toDouble(), 1200.25);
    EXPECT_TRUE(first.at(5).isNull());
    EXPECT_EQ(first.at(6).toBool(), false);
    EXPECT_TRUE(second.at(2).isNull());
    EXPECT_EQ(second.at(5).toString(), "2024-03-05T00:00:00");
    EXPECT_EQ(second.at(6).toBool(), true);

    const QJsonArray footer = rows.at(4).toArray();
    EXPECT_EQ(footer.at(0).toString(), "合计");
    EXPECT_EQ(footer.at(1).toDouble(), 3.0);
    EXPECT_EQ(footer.at(4).toDouble(), 1299.75);
}

TEST(GridExport, CancelAndWriteFailure)
{
    ScriptedMessages messages;
    Sales s;
    EXPECT_FALSE(ExportGridToExcel(s.grid)); // the dialog was cancelled
    EXPECT_TRUE(messages.shown.isEmpty());

    messages.files.enqueue("/nonexistent-folder/out.xlsx");
    EXPECT_FALSE(ExportGridToExcel(s.grid));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown.first().kind, IMessageService::Kind::Error);
    EXPECT_TRUE(messages.last().startsWith("数据导出失败")) << messages.last().toStdString();
    EXPECT_FALSE(messages.saw("数据导出成功！"));
}

TEST(GridExport, FileNameEndsInTheSuffixOfWhatIsWritten)
{
    ScriptedMessages messages;
    QTemporaryDir dir;
    Sales s;
    const struct { const char *typed, *written; } cases[] = {
        {"plain", "plain.xlsx"}, {"old.xls", "old.xlsx"}, {"OLD2.XLS", "OLD2.XLSX"}, {"new.xlsx", "new.xlsx"},
    };
    for (const auto &c : cases) {
        messages.files.enqueue(dir.filePath(c.typed));
        ASSERT_TRUE(ExportGridToExcel(s.grid)) << c.typed;
        EXPECT_EQ(ReadBack(dir.filePath(c.written)).size(), 5) << c.typed;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}
