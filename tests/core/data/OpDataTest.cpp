#include "TestAccountSet.h"
#include "data/OpData.h"
#include "shell/AppError.h"

#include <gtest/gtest.h>

TEST(BillCode, FirstOfMonthStartsAtOneAndStoresTwo)
{
    TestAccountSet set;
    EXPECT_EQ(set.op().GetNextBillCode("XS", "0612"), "XS06120001");
    EXPECT_EQ(set.op().ScalarInt("select iNkNextKey from NextKey where cNkPrefix='XS' and cNkMonth='0612'"), 2);
}

TEST(BillCode, CounterGrowsPastFourDigitsWithoutCutting)
{
    TestAccountSet set;
    set.op().ExecCommand("insert into NextKey(cNkPrefix,cNkMonth,iNkNextKey) values('CR','0612',9999)");
    EXPECT_EQ(set.op().GetNextBillCode("CR", "0612"), "CR06129999");
    const QString next = set.op().GetNextBillCode("CR", "0612");
    EXPECT_EQ(next, "CR061210000");
    EXPECT_EQ(next.size(), 11);
}

TEST(BillCode, PrefixesAndMonthsCountIndependently)
{
    TestAccountSet set;
    EXPECT_EQ(set.op().GetNextBillCode("XS", "0612"), "XS06120001");
    EXPECT_EQ(set.op().GetNextBillCode("XS", "0612"), "XS06120002");
    EXPECT_EQ(set.op().GetNextBillCode("CR", "0612"), "CR06120001");
    EXPECT_EQ(set.op().GetNextBillCode("XS", "0701"), "XS07010001");
    EXPECT_EQ(set.op().GetNextBillCode("XS", "0612"), "XS06120003");
}

TEST(NextId, ConsecutiveAndStoresNext)
{
    TestAccountSet set;
    const int first = set.op().GetNextID("Customer");
    EXPECT_EQ(set.op().GetNextID("customer"), first + 1); // table names compare without case
    EXPECT_EQ(set.op().ScalarInt("select NextID from TablesID where TableName='Customer'"), first + 2);
}

TEST(NextId, MissingRowFailsAndStoresNothing)
{
    TestAccountSet set;
    const int before = set.op().ScalarInt("select count(*) from TablesID");
    EXPECT_THROW(set.op().GetNextID("NoSuchTable"), AppError);
    EXPECT_EQ(set.op().ScalarInt("select count(*) from TablesID"), before);
    // The failure left no transaction open behind it.
    EXPECT_NO_THROW(set.op().GetNextID("Customer"));
}

TEST(Scalar, EmptyResultsReadAsEmptyZeroAndZero)
{
    TestAccountSet set;
    const QString sum = "select sum(NextID) from TablesID where TableName='none'";
    EXPECT_EQ(set.op().GetScalar(sum, ScalarType::Text).toString(), "");
    EXPECT_EQ(set.op().GetScalar(sum, ScalarType::Integer).toInt(), 0);
    EXPECT_EQ(set.op().GetScalar(sum, ScalarType::Float).toDouble(), 0.0);
    EXPECT_TRUE(set.op().GetScalar(sum, ScalarType::Untyped).isNull());
    const QString noRow = "select NextID from TablesID where TableName='none'";
    EXPECT_EQ(set.op().GetScalar(noRow, ScalarType::Text).toString(), "");
    EXPECT_EQ(set.op().GetScalar(noRow, ScalarType::Integer).toInt(), 0);
}

TEST(Executors, ErrorTextsNameTheOperation)
{
    TestAccountSet set;
    struct Case {
        std::function<void()> run;
        QString prefix;
    };
    const QList<Case> cases = {
        {[&] { set.op().ExecCommand("delete from NoSuchTable"); }, "执行无参数无结果集命令时出现错误!\r"},
        {[&] { set.op().ExecCommandParams("delete from NoSuchTable where a=?", {1}); }, "执行有参数无结果集命令时出现错误!\r"},
        {[&] { set.op().QueryDataParams("select * from NoSuchTable where a=?", {1}); }, "执行有参数有结果集查询时出现错误!\r"},
    };
    for (const Case &c : cases) {
        try {
            c.run();
            ADD_FAILURE() << "no error for " << c.prefix.toStdString();
        } catch (const AppError &e) {
            EXPECT_TRUE(e.message().startsWith(c.prefix)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains("NoSuchTable")) << e.message().toStdString();
        }
    }
    // QueryData lets the database's error through unchanged.
    try {
        set.op().QueryData("select * from NoSuchTable");
        ADD_FAILURE();
    } catch (const AppError &e) {
        EXPECT_FALSE(e.message().startsWith("执行"));
    }
}

TEST(Executors, QuotesInValuesAreSafe)
{
    TestAccountSet set;
    for (const QString name : {"O'Brien", "张'三", "a\"b;--"}) {
        set.op().WriteSysLog(name, "模块'1");
        EXPECT_EQ(set.op().ScalarText("select OpModule from syslog where UserName=?", {name}), "模块'1");
    }
}

TEST(SysLog, RowCarriesOperatorMachineAndTime)
{
    TestAccountSet set;
    set.op().WriteSysLog("管理员", "采购入库单");
    auto ds = set.op().QueryData("select * from syslog");
    ASSERT_EQ(ds->recordCount(), 1);
    EXPECT_EQ(ds->fieldByName("UserName").asString(), "管理员");
    EXPECT_EQ(ds->fieldByName("OpModule").asString(), "采购入库单");
    EXPECT_FALSE(ds->fieldByName("MachineIP").asString().isEmpty());
    EXPECT_TRUE(QDateTime::fromString(ds->fieldByName("OpTime").asString(), "yyyy.MM.dd HH:mm:ss").isValid());
}

TEST(Loaders, TreeItemsIndentByCodeLength)
{
    TestAccountSet set;
    set.op().ExecCommand("create table T(ID integer, cCode text, cName text)");
    set.op().ExecCommand("insert into T values(1,'10','华东'),(2,'1001','上海'),(3,'100101','浦东')");
    QStringList keys;
    KeyItemList display;
    set.op().LoadTreeKeyItems("select * from T order by cCode", "ID", keys, display, "cCode", "cName");
    EXPECT_EQ(keys, QStringList({"1", "2", "3"}));
    ASSERT_EQ(display.size(), 3);
    EXPECT_EQ(display[0].text, "华东");
    EXPECT_EQ(display[1].text, "  上海");
    EXPECT_EQ(display[2].text, "    浦东");
    EXPECT_EQ(display[2].key, 3);
    KeyItemList objects;
    set.op().LoadTreeObjects("select * from T order by cCode", "cName", objects, "cCode");
    EXPECT_EQ(objects[1].key, 1001);
}

TEST(AccessFunctions, WorkInStatements)
{
    TestAccountSet set;
    struct Case {
        const char *sql;
        QVariant expected;
    };
    const QList<Case> cases = {
        {"select len('服装abc')", 5},
        {"select mid('abcdef',2,3)", "bcd"},
        {"select year('2006-12-03')", 2006},
        {"select month('2006.12.03')", 12},
        {"select iif(1>2,'a','b')", "b"},
        {"select nz(null,5)", 5},
        {"select val('12.5kg')", 12.5},
        {"select format('2006-12-03','yyyy.mm')", "2006.12"},
        {"select format('2006-12-03','yymm')", "0612"},
        {"select format(1234.5,'#,##0.00')", "1,234.50"},
        {"select ucase('abc')", "ABC"},
        {"select instr('abcabc','ca')", 3},
    };
    for (const Case &c : cases)
        EXPECT_EQ(set.op().GetScalar(c.sql, ScalarType::Untyped).toString(), c.expected.toString()) << c.sql;
}
