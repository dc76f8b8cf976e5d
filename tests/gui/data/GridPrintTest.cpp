#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "data/DBGrid.h"
#include "data/GridPrint.h"
#include "data/GridSetup.h"
#include "data/SimpleValueDB.h"
#include "shell/AppContext.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Compatibility forms (full-width colons, CJK radicals) and blanks do not survive a round
// trip through a PDF's text: compare without them.
QString Plain(const QString &text)
{
    QString s = text.normalized(QString::NormalizationForm_KC);
    s.remove(QRegularExpression(QStringLiteral("[ \\t]")));
    return s;
}

// The text of a PDF, page by page separated by form feeds.
QString PdfText(const QString &path)
{
    QProcess p;
    p.start("/usr/bin/pdftotext", {"-layout", path, "-"});
    EXPECT_TRUE(p.waitForFinished(30000));
    return Plain(QString::fromUtf8(p.readAllStandardOutput()));
}

bool Has(const QString &text, const QString &expected) { return text.contains(Plain(expected)); }

struct Bill {
    TDataSet ds;
    TDBGrid grid;
    explicit Bill(int rows)
    {
        ds.setFieldDefs({{"cInvCode", FieldType::String, 20}, {"S_1", FieldType::Float}, {"S_2", FieldType::Float},
                         {"iNum", FieldType::Float}, {"iMoney", FieldType::Float}});
        ds.createDataSet();
        for (int r = 1; r <= rows; ++r)
            ds.appendRecord({QStringLiteral("KH%1").arg(r, 4, 10, QLatin1Char('0')), 1, 2, 3, 30.5});
        grid.setDataSet(&ds);
        const TFieldArr arr{{"cInvCode", "款号", 90}, {"S_1", "尺码|S", 40}, {"S_2", "尺码|M", 40},
                            {"iNum", "尺码|合计", 50}, {"iMoney", "金额", 70}};
        SetupGridColumns(grid, arr, false, false);
        SumFooterExcept(grid, {});
    }
};

// Prints into a PDF instead of the preview.
struct PdfTarget {
    QString path;
    bool atOnce = false;
    explicit PdfTarget(const QString &file) : path(file)
    {
        SetGridPrintHook([this](TGridPrinter &printer, bool printAtOnce) {
            atOnce = printAtOnce;
            EXPECT_TRUE(printer.printToPdf(path));
        });
    }
    ~PdfTarget() { SetGridPrintHook(nullptr); }
};
} // namespace

TEST(GridPrint, PageMacros)
{
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
    struct Case { const char *text, *expected; };
    const Case cases[] = {
        {"第&[Page]页共&[Pages]页", "第2页共7页"},
        {"第&[page]页", "第2页"},
        {"打印日期：&[LongDate]", "打印日期：2024年3月5日"},
        {"&[Date] &[ShortDate] &[TIME]", "2024.03.05 2024.03.05 14:07:09"},
        {"&[Pagex]", "&[Pagex]"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ExpandPageMacros(QString::fromUtf8(c.text), 2, 7, when), QString::fromUtf8(c.expected)) << c.text;
}

TEST(GridPrint, TemplatePrintWithSettingsAndDocuments)
{
    TestAccountSet set;
    QTemporaryDir dir;
    SetGridReportDir(dir.path());
    SimpleValues().SetValue("TopLeft", "  Qelvo服饰  ");
    {
        QFile before(dir.filePath("采购入库单.html"));
        ASSERT_TRUE(before.open(QIODevice::WriteOnly));
        before.write("<html><body><h2 align=center>[title]</h2><p>[header]</p><p>备注：[memo]</p></body></html>");
        QFile after(dir.filePath("采购入库单1.html"));
        ASSERT_TRUE(after.open(QIODevice::WriteOnly));
        after.write("<p>仓库签字：________ [memo]</p>");
    }
    Bill bill(150);
    PdfTarget target(dir.filePath("bill.pdf"));
    PrintGridWithTemplate(bill.grid, "采 购 入 库 单", "供应商：华美 <公司>  单号：CR24030001", "急件",
                          "制单人：          经手人：");
    EXPECT_FALSE(target.atOnce);
    const QString text = PdfText(target.path);
    SetGridReportDir(QString());

    EXPECT_TRUE(Has(text, "采 购 入 库 单")) << text.left(2000).toStdString();
    EXPECT_TRUE(Has(text, "供应商：华美 <公司>")) << "placeholders filled with the text as it is";
    EXPECT_TRUE(Has(text, "备注：急件"));
    EXPECT_TRUE(Has(text, "仓库签字：________ 急件"));
    EXPECT_TRUE(Has(text, "Qelvo服饰"));
    EXPECT_TRUE(Has(text, "制单人：")) << "the window's footer text replaces BtLeft";
    EXPECT_TRUE(Has(text, "打印日期：" + QDate::currentDate().toString("yyyy年M月d日")));
    EXPECT_FALSE(Has(text, "&["));
    const int pages = text.count(QChar('\f')) + (text.endsWith('\f') ? 0 : 1);
    ASSERT_GE(pages, 3);
    EXPECT_TRUE(Has(text, QStringLiteral("第1页共%1页").arg(pages)));
    EXPECT_TRUE(Has(text, QStringLiteral("第%1页共%1页").arg(pages)));
    EXPECT_EQ(text.count(Plain("款号")), pages) << "the titles are repeated on every page";
    EXPECT_EQ(text.count(Plain("尺码")), pages);
    EXPECT_TRUE(Has(text, "KH0150"));
    EXPECT_TRUE(Has(text, "合计"));
    EXPECT_TRUE(Has(text, "4575")) << "the footer sum of the money column";
}

TEST(GridPrint, TemplatePrintWithoutDocumentsPrintsTitleAndHeader)
{
    TestAccountSet set;
    QTemporaryDir dir;
    SetGridReportDir(dir.path());
    Bill bill(3);
    PdfTarget target(dir.filePath("plain.pdf"));
    PrintGridWithTemplate(bill.grid, "调 拨 单", "收货仓：一店", "", "");
    const QString text = PdfText(target.path);
    SetGridReportDir(QString());
    EXPECT_TRUE(Has(text, "调 拨 单"));
    EXPECT_TRUE(Has(text, "收货仓：一店"));
    EXPECT_TRUE(Has(text, "第1页共1页")) << "BtCenter's default";
    EXPECT_TRUE(Has(text, "KH0003"));
}

TEST(GridPrint, AMemoOfSeveralLinesKeepsItsLines)
{
    TestAccountSet set;
    QTemporaryDir dir;
    SetGridReportDir(dir.path());
    {
        QFile before(dir.filePath("销售单.html"));
        ASSERT_TRUE(before.open(QIODevice::WriteOnly));
        before.write("<p>备注：[memo]</p>");
    }
    Bill bill(2);
    PdfTarget target(dir.filePath("memo.pdf"));
    PrintGridWithTemplate(bill.grid, "销 售 单", "", "周五前送到\r\n先付一半\n余款月结", "");
    const QString text = PdfText(target.path);
    SetGridReportDir(QString());
    EXPECT_TRUE(text.contains(Plain("备注：周五前送到\n先付一半\n余款月结"))) << text.left(400).toStdString();
}

TEST(GridPrint, SimplePrint)
{
    QTemporaryDir dir;
    Bill bill(5);
    PdfTarget target(dir.filePath("simple.pdf"));
    PrintGridSimple(bill.grid, "操作员列表", true, "共5人");
    EXPECT_TRUE(target.atOnce);
    const QString text = PdfText(target.path);
    EXPECT_TRUE(Has(text, "操作员列表"));
    EXPECT_TRUE(Has(text, "共5人"));
    EXPECT_TRUE(Has(text, "[Qelvo软件] " + QDate::currentDate().toString("yyyy.MM.dd") + "打印"));
    EXPECT_TRUE(Has(text, "第1页"));
    EXPECT_TRUE(Has(text, "KH0005"));
    EXPECT_TRUE(Has(text, "152.5"));
}

TEST(GridPrint, UnwritablePdfIsReported)
{
    Bill bill(1);
    TGridPrinter printer(bill.grid);
    EXPECT_FALSE(printer.printToPdf("/nonexistent-folder/x.pdf"));
}
