#include "TestAccountSet.h"
#include "data/DbDataSet.h"
#include "shell/AppError.h"

#include <gtest/gtest.h>

namespace {
void MakeTable(TOpData &op)
{
    op.ExecCommand("create table Shop(ShopID integer primary key, cName text COLLATE NOCASE unique not null, "
                   "iRate real default 1, dOpen date, bMain boolean default 0)");
    op.ExecCommand("insert into Shop(ShopID,cName,iRate,dOpen) values(1,'一店',0.9,'2006-12-01')");
}
} // namespace

TEST(DbDataSet, PostsInsertsUpdatesAndDeletesToTheTable)
{
    TestAccountSet set;
    MakeTable(set.op());
    TDbDataSet ds;
    ds.setCommandText("select *, iRate*100 as iPercent from Shop");
    ds.setUpdateTable("Shop", {"ShopID"});
    ds.open();
    ASSERT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ds["dOpen"].asDate(), QDate(2006, 12, 1));
    EXPECT_DOUBLE_EQ(ds["iPercent"].asFloat(), 90.0);

    ds.append();
    ds["ShopID"].setValue(2);
    ds["cName"].setValue("O'Brien 二店");
    ds["iPercent"].setValue(5); // computed column: shown, never written
    ds.post();
    EXPECT_EQ(set.op().ScalarText("select cName from Shop where ShopID=2"), "O'Brien 二店");
    EXPECT_DOUBLE_EQ(set.op().ScalarFloat("select iRate from Shop where ShopID=2"), 1.0); // default kept

    ds.edit();
    ds["bMain"].setValue(true);
    ds.post();
    EXPECT_EQ(set.op().ScalarInt("select bMain from Shop where ShopID=2"), 1);

    ds.first();
    ds.deleteRecord();
    EXPECT_EQ(set.op().ScalarInt("select count(*) from Shop"), 1);
}

TEST(DbDataSet, RefusedPostKeepsTheRecordPending)
{
    TestAccountSet set;
    MakeTable(set.op());
    TDbDataSet ds;
    ds.setCommandText("select * from Shop");
    ds.setUpdateTable("Shop", {"ShopID"});
    ds.open();
    ds.append();
    ds["ShopID"].setValue(3);
    ds["cName"].setValue("一店"); // unique, compared without case
    EXPECT_THROW(ds.post(), AppError);
    EXPECT_EQ(ds.state(), TDataSet::State::Insert);
    ds["cName"].setValue("三店");
    ds.post();
    EXPECT_EQ(set.op().ScalarInt("select count(*) from Shop"), 2);
}

TEST(DbDataSet, UpdateOfAVanishedRowIsAnError)
{
    TestAccountSet set;
    MakeTable(set.op());
    TDbDataSet ds;
    ds.setCommandText("select * from Shop");
    ds.setUpdateTable("Shop", {"ShopID"});
    ds.open();
    set.op().ExecCommand("delete from Shop");
    ds.edit();
    ds["cName"].setValue("x");
    EXPECT_THROW(ds.post(), AppError);
}
