#include "TestAccountSet.h"
#include "data/Schema.h"
#include "data/SimpleValueDB.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/PasswordHash.h"

#include <QSet>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

// What a set made by the first version looked like: none of the objects that the upgrade
// steps add, no sysinfo, passwords as typed.
void MakeVersionOne(TOpData &op)
{
    auto triggers = op.QueryData("select name from sqlite_master where type='trigger'");
    for (triggers->first(); !triggers->eof(); triggers->next())
        op.ExecCommand("drop trigger " + triggers->fieldByName("name").asString());
    for (const char *column : {"EmployName", "VIPCardID", "cInvCCode", "cArCode"})
        op.ExecCommand(QString("alter table TmpTable drop column %1").arg(column));
    for (const char *table : {"Sell", "SellBack"})
        for (const char *column : {"EmployName", "VIPCardID"})
            op.ExecCommand(QString("alter table %1 drop column %2").arg(table, column));
    for (const char *table : {"sysinfo", "SimpleValue", "InvStock", "ColorGroup", "VIP", "User2Store", "UpedSellTicketID",
                              "BarCodeRule", "DownDataID", "dict", "dicts", "iBarcode"})
        op.ExecCommand(QString("drop table %1").arg(table));
    op.ExecCommand("delete from TablesID where TableName in ('VIP','user2store')");
    op.ExecCommand("update Operator set cPassword=''");
    op.ExecCommand("insert into Operator(OperatorID,cUserName,cPassword) values(2,'Tom','Secret')");
}

using Columns = QMap<QString, QSet<QString>>;

Columns ColumnsOf(TOpData &op)
{
    Columns result;
    auto tables = op.QueryData("select name from sqlite_master where type='table'");
    for (tables->first(); !tables->eof(); tables->next()) {
        const QString table = tables->fieldByName("name").asString();
        auto cols = op.QueryDataParams("select name from pragma_table_info(?)", {table});
        for (cols->first(); !cols->eof(); cols->next())
            result[table.toLower()].insert(cols->fieldByName("name").asString().toLower());
    }
    return result;
}

} // namespace

TEST(SchemaUpgrade, VersionOneSetReachesTheCurrentVersionWithEveryDefault)
{
    TestAccountSet fresh;
    const Columns templateColumns = ColumnsOf(fresh.op());
    MakeVersionOne(fresh.op());
    TOpData &op = fresh.op();

    EXPECT_EQ(op.GetSchemaVersion(), 1);
    EXPECT_EQ(op.ScalarInt("select InfoValue from sysinfo where SysInfoID=2"), 1);
    EXPECT_EQ(op.ScalarText("select InfoName from sysinfo where SysInfoID=1"), "数据库版本");
    EXPECT_EQ(op.UpgradeSchema(SimpleValues()), kCurrentSchemaVersion);

    // The chain and a new set agree on every table and column.
    EXPECT_EQ(ColumnsOf(op), templateColumns);
    for (const SimpleValueDefault &d : SimpleValueDefaults())
        EXPECT_EQ(SimpleValues().GetValue(d.key), d.value) << d.key.toStdString();
    EXPECT_EQ(SimpleValues().GetValue("BtLeft"), "");
    EXPECT_EQ(op.ScalarText("select cPassword from Operator where cUserName='管理员'"), PasswordHash("管理员", ""));
    EXPECT_EQ(op.ScalarText("select cPassword from Operator where cUserName='Tom'"), PasswordHash("TOM", "secret"));
    EXPECT_EQ(op.ScalarInt("select count(*) from TablesID where TableName in ('VIP','user2store')"), 2);
    EXPECT_EQ(op.ScalarInt("select count(*) from dict"), 2);
    EXPECT_EQ(op.ScalarInt("select count(*) from dicts where bVisable"), 2);
    // Keys the old files declared as indexes still hold.
    op.ExecCommand("insert into InvStock(cInvCode,StoreID) values('A01',1)");
    EXPECT_THROW(op.ExecCommand("insert into InvStock(cInvCode,StoreID) values('a01',1)"), AppError);
    op.ExecCommand("insert into iBarcode(cbarcode,cinvcode) values('6901','A01')");
    EXPECT_THROW(op.ExecCommand("insert into iBarcode(cbarcode,cinvcode) values('6901','A02')"), AppError);
    // A setting may now be emptied.
    EXPECT_NO_THROW(op.ExecCommand("update SimpleValue set KeyValue=null where KeyName='Header'"));
}

TEST(SchemaUpgrade, ASecondOpeningRunsNothing)
{
    TestAccountSet set;
    TOpData &op = set.op();
    SimpleValues().SetValue("PageWidth", "80");
    EXPECT_EQ(op.UpgradeSchema(SimpleValues()), kCurrentSchemaVersion); // a new set is current already
    MakeVersionOne(op);
    op.UpgradeSchema(SimpleValues());
    const QString tomHash = op.ScalarText("select cPassword from Operator where cUserName='Tom'");
    SimpleValues().SetValue("PageWidth", "80");

    EXPECT_EQ(op.UpgradeSchema(SimpleValues()), kCurrentSchemaVersion);
    EXPECT_EQ(SimpleValues().GetValue("PageWidth"), "80");
    EXPECT_EQ(op.ScalarText("select cPassword from Operator where cUserName='Tom'"), tomHash); // not hashed twice
    EXPECT_EQ(op.ScalarInt("select count(*) from dicts"), 8);

    op.SetSchemaVersion(15);
    EXPECT_EQ(op.UpgradeSchema(SimpleValues()), 15);
}

TEST(SchemaUpgrade, AFailingUnguardedStepLeavesTheVersionAndNothingOfTheStep)
{
    TestAccountSet set;
    TOpData &op = set.op();
    MakeVersionOne(op);
    // An index of that name elsewhere makes the last statement of the stock-limit step fail.
    op.ExecCommand("create index InvStock_StoreID on Color(ItemNo)");
    EXPECT_THROW(op.UpgradeSchema(SimpleValues()), AppError);
    EXPECT_EQ(op.GetSchemaVersion(), 2);                        // the step before went through
    EXPECT_EQ(SimpleValues().GetValue("PageWidth"), "105");
    EXPECT_EQ(op.ScalarInt("select count(*) from sqlite_master where name='InvStock'"), 0);

    op.ExecCommand("drop index InvStock_StoreID");
    EXPECT_EQ(op.UpgradeSchema(SimpleValues()), kCurrentSchemaVersion);
    EXPECT_EQ(op.ScalarInt("select count(*) from sqlite_master where tbl_name='InvStock' and type='index'"), 6);
}

TEST(SchemaUpgrade, AGuardedStepSkipsWhatIsThereAndDoesTheRest)
{
    TestAccountSet set;
    TOpData &op = set.op();
    MakeVersionOne(op);
    op.ExecCommand("alter table TmpTable add EmployName text COLLATE NOCASE");
    op.ExecCommand("create table dict(cName text, cNameCh text)");
    op.GetSchemaVersion();
    op.SetSchemaVersion(4);
    SimpleValues().CreateTable();

    EXPECT_EQ(op.UpgradeSchema(SimpleValues()), kCurrentSchemaVersion);
    const Columns columns = ColumnsOf(op);
    EXPECT_TRUE(columns["tmptable"].contains("vipcardid"));
    EXPECT_TRUE(columns["tmptable"].contains("carcode"));
    EXPECT_TRUE(columns["sell"].contains("employname"));
    EXPECT_TRUE(columns.contains("vip"));
    EXPECT_EQ(op.ScalarInt("select count(*) from sqlite_master where name='VIP_PrimaryKey'"), 1);
    EXPECT_EQ(op.GetNextID("VIP"), 1);
    // The existing dict table was kept and still got its seed rows.
    EXPECT_EQ(op.ScalarInt("select count(*) from dict"), 2);
    EXPECT_EQ(op.ScalarInt("select count(*) from dicts"), 8);
    // Steps below the stored version did not run.
    EXPECT_EQ(op.ScalarInt("select count(*) from sqlite_master where name='InvStock'"), 0);
}

TEST(SchemaUpgrade, TwoCopiesOpeningAnOldSetAtOnceRunEachStepOnce)
{
    // The other copy reads the old version, then waits for the write lock that this copy holds
    // while it upgrades; once it gets the lock it must find the work done.
    struct Case {
        const char *what;
        bool versionTable;
    };
    for (const Case &c : {Case{"no version table yet", false}, Case{"at version 1", true}}) {
        SCOPED_TRACE(c.what);
        TestAccountSet set;
        TOpData &op = set.op();
        MakeVersionOne(op);
        if (c.versionTable) {
            ASSERT_EQ(op.GetSchemaVersion(), 1);
        }

        auto mine = std::make_unique<TTransaction>(set.db());
        std::atomic<bool> committed{false};
        int reached = 0;
        QString failure;
        std::thread other([&, file = set.databaseFile()] {
            const QString name = QStringLiteral("upgrade_other");
            try {
                const QSqlDatabase db = OpenSqliteConnection(name, file);
                TOpData otherOp(db);
                TSimpleValueDB otherSettings(db);
                reached = otherOp.UpgradeSchema(otherSettings);
            } catch (const AppError &e) {
                failure = e.message();
            }
            while (!committed)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            CloseSqliteConnection(name);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        EXPECT_EQ(op.UpgradeSchema(SimpleValues()), kCurrentSchemaVersion);
        mine->commit();
        committed = true;
        other.join();

        EXPECT_EQ(failure.toStdString(), "");
        EXPECT_EQ(reached, kCurrentSchemaVersion);
        EXPECT_EQ(op.GetSchemaVersion(), kCurrentSchemaVersion);
        EXPECT_EQ(op.ScalarText("select cPassword from Operator where cUserName='Tom'"), PasswordHash("TOM", "secret"));
        EXPECT_EQ(op.ScalarInt("select count(*) from dicts"), 8);
    }
}

TEST(SchemaUpgrade, VersionAndPriceModeRows)
{
    TestAccountSet set;
    TOpData &op = set.op();
    op.SetPriceMode(2);
    op.SetSchemaVersion(9);
    EXPECT_EQ(op.GetSchemaVersion(), 9);
    EXPECT_EQ(op.ScalarInt("select InfoValue from sysinfo where SysInfoID=2"), 2);
}

TEST(SchemaUpgrade, AnUnreadableVersionIsReportedAndTheTableKept)
{
    TestAccountSet set;
    TOpData &op = set.op();
    op.SetPriceMode(2);
    // sysinfo is there but its version cannot be read: only a missing table may be remade.
    op.ExecCommand("alter table sysinfo rename column InfoValue to InfoValue_");
    EXPECT_THROW(op.UpgradeSchema(SimpleValues()), AppError);
    EXPECT_EQ(op.ScalarInt("select InfoValue_ from sysinfo where SysInfoID=1"), kCurrentSchemaVersion);
    EXPECT_EQ(op.ScalarInt("select InfoValue_ from sysinfo where SysInfoID=2"), 2);
}

TEST(SimpleValueStore, UnsetKeyIsEmptyAndSetValuesAreKept)
{
    TestAccountSet set;
    TSimpleValueDB &store = SimpleValues();
    EXPECT_EQ(store.GetValue("NeverSet"), "");
    store.SetValue("TopLeft", "O'Brien 公司");
    store.SetIntValue("FontSize", 12);
    store.SetValue("TopLeft", "改过'");
    EXPECT_EQ(store.GetValue("topleft"), "改过'");
    EXPECT_EQ(store.GetValue("FontSize"), "12");
    EXPECT_EQ(set.op().ScalarInt("select count(*) from SimpleValue where KeyName='TopLeft'"), 1);
}
