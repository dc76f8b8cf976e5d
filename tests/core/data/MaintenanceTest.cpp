#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "data/Schema.h"
#include "data/SimpleValueDB.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QStringList kCleared = {
    "sell", "selld", "sellds", "sellback", "sellbackd", "sellbackds", "instore", "instored", "instoreds",
    "purchase", "purchased", "purchaseds", "purorder", "purorderd", "purorderds", "purback", "purbackd",
    "purbackds", "adjust", "adjustd", "adjustds", "checkinv", "checkinvd", "checkinvds", "stock", "stockd",
    "stockds", "pay", "payd", "paytype", "tmptable", "syslog", "recieve", "recieved", "Transfer", "Income",
    "Expense", "IeType", "Fee", "nextkey", "customer", "customerC", "inventory", "inventoryC", "vendor", "Employ",
    "color", "brand", "bank", "store", "Department", "unit", "area", "company", "account", "onhand"};

// One row in a table, every column filled, every key 1: each row then uses every master row
// with key 1, which is what would make a badly ordered clearing fail.
void FillOneRow(TOpData &op, const QString &table)
{
    auto columns = op.QueryDataParams("select name,type from pragma_table_info(?)", {table});
    QStringList names;
    QVariantList values;
    for (columns->first(); !columns->eof(); columns->next()) {
        const QString type = columns->fieldByName("type").asString().toLower();
        names << columns->fieldByName("name").asString();
        if (type.startsWith("text"))
            values << QStringLiteral("A01");
        else if (type == "date")
            values << QStringLiteral("2006-12-01");
        else if (type == "blob")
            values << QVariant();
        else
            values << 1;
    }
    op.ExecCommandParams(QString("insert or ignore into %1(%2) values(%3)")
                             .arg(table, names.join(','), QStringList(names.size(), "?").join(',')),
                         values);
}

QMap<QString, int> Counts(TOpData &op, const QStringList &tables)
{
    QMap<QString, int> counts;
    for (const QString &t : tables)
        counts[t] = op.ScalarInt(QString("select count(*) from %1").arg(t));
    return counts;
}

const QStringList kKept = {"Operator", "Purview", "PurviewG", "SizeTable", "SizeG", "SizeGD", "SimpleValue", "TablesID",
                           "VIP", "report", "winbg", "sysinfo", "dict", "dicts"};

// A second account set with base data of its own, closed again.
QString MakeSourceSet(const QString &dir)
{
    const QString file = dir + "/source.mdb";
    CreateAccountSetDatabase(file);
    QSqlDatabase db = OpenSqliteConnection("maintenance_source", file);
    {
        TOpData op(db);
        op.ExecCommand("delete from SizeGD");
        op.ExecCommand("delete from SizeTable");
        op.ExecCommand("insert into SizeTable(SizeID,ItemNo,Name) values(11,1,'160'),(12,2,'170')");
        op.ExecCommand("update TablesID set NextID=13 where TableName='SizeTable'");
        op.ExecCommand("update TablesID set NextID=40 where TableName='Customer'");
        op.ExecCommand("insert into Store(StoreID,cStoName) values(2,'分店')");
        op.ExecCommand("insert into Color(ColorID,Name) values(3,'黑')");
        op.ExecCommand("insert into Inventory(InventoryID,cInvCode,cInvName,iInvCPrice) values(5,'S-01','外套',80.5)");
        op.ExecCommand("insert into Customer(CustomerID,cCusShortName,iCusDiscount) values(39,'O''Brien',0.85)");
        op.ExecCommand("insert into OnHand(StoreID,cInvCode,ColorID,SizeID,iNum) values(2,'S-01',3,11,4)");
        op.ExecCommand("insert into NextKey(cNkPrefix,cNkMonth,iNkNextKey) values('XS','0612',7)");
        op.ExecCommand("insert into Sell(SellID,StoreID) values(1,2)"); // bills are not base data
    }
    db = QSqlDatabase();
    CloseSqliteConnection("maintenance_source");
    return file;
}

void AddLocalData(TOpData &op)
{
    op.ExecCommand("insert into Color(ColorID,Name) values(1,'红')");
    op.ExecCommand("insert into Inventory(InventoryID,cInvCode,cInvName) values(1,'A01','衬衫')");
    op.ExecCommand("insert into Sell(SellID,StoreID) values(1,1)");
    op.ExecCommand("insert into SellD(SellID,ItemNo,cInvCode,ColorID,iNum) values(1,1,'A01',1,2)");
    op.ExecCommand("insert into SellDS(SellID,ItemNo,SizeID,iNum) values(1,1,1,2)");
}

} // namespace

TEST(ClearAllData, EmptiesTheBusinessTablesAndKeepsTheRest)
{
    TestAccountSet set;
    TOpData &op = set.op();
    for (const QString &t : kCleared)
        FillOneRow(op, t);
    for (const char *t : {"VIP", "winbg", "ColorGroup", "InvStock", "iBarcode"})
        FillOneRow(op, t);
    SimpleValues().SetValue("PageWidth", "80");
    op.ExecCommand("insert into Operator(OperatorID,cUserName) values(2,'Tom')");
    // Tables an older set never had are passed over.
    for (const char *t : {"outstoreds", "outstored", "outstore", "tmptablepss"})
        op.ExecCommand(QString("drop table %1").arg(t));
    const QMap<QString, int> kept = Counts(op, kKept);

    op.ClearAllData();
    for (const auto &[table, count] : Counts(op, kCleared).asKeyValueRange())
        EXPECT_EQ(count, 0) << table.toStdString();
    EXPECT_EQ(Counts(op, kKept), kept);
    EXPECT_EQ(SimpleValues().GetValue("PageWidth"), "80");
    // What only described the cleared styles, colours and stores went with them.
    EXPECT_EQ(op.ScalarInt("select (select count(*) from ColorGroup)+(select count(*) from InvStock)+(select count(*) from iBarcode)"), 0);
}

TEST(ImportBaseData, ReplacesTheBaseDataWithThatOfAnotherSet)
{
    QTemporaryDir dir;
    const QString source = MakeSourceSet(dir.path());
    TestAccountSet set;
    ScriptedMessages messages;
    TOpData &op = set.op();
    AddLocalData(op);
    op.ExecCommand("insert into Operator(OperatorID,cUserName) values(2,'Tom')");

    op.ImportBaseData(source);
    EXPECT_EQ(messages.last(), "数据导入成功，请退出程序，然后再进入，以查看效果！");
    EXPECT_EQ(op.ScalarText("select group_concat(Name) from (select Name from SizeTable order by ItemNo)"), "160,170");
    EXPECT_EQ(op.ScalarText("select group_concat(cStoName) from (select cStoName from Store order by StoreID)"), "总仓库,分店");
    EXPECT_EQ(op.ScalarText("select Name from Color"), "黑");
    EXPECT_DOUBLE_EQ(op.ScalarFloat("select iInvCPrice from Inventory where cInvCode='s-01'"), 80.5);
    EXPECT_DOUBLE_EQ(op.ScalarFloat("select iCusDiscount from Customer where cCusShortName='O''Brien'"), 0.85);
    EXPECT_DOUBLE_EQ(op.ScalarFloat("select iNum from OnHand where StoreID=2"), 4.0);
    EXPECT_EQ(op.GetNextBillCode("XS", "0612"), "XS06120007");
    EXPECT_EQ(op.GetNextID("Customer"), 40);
    EXPECT_EQ(op.GetNextID("SizeTable"), 13);
    // Bills are emptied, not imported; operators and size groups stay, the groups' sizes go.
    EXPECT_EQ(op.ScalarInt("select count(*) from Sell"), 0);
    EXPECT_EQ(op.ScalarInt("select count(*) from SellDS"), 0);
    EXPECT_EQ(op.ScalarInt("select count(*) from Operator"), 2);
    EXPECT_EQ(op.ScalarInt("select count(*) from SizeG"), 1);
    EXPECT_EQ(op.ScalarInt("select count(*) from SizeGD"), 0);
}

TEST(ImportBaseData, CountersOfTheTablesThatStayPassTheirKeys)
{
    // The other set's counters come over with its TablesID; the operators, size groups, VIP
    // cards and pictures kept here must still get fresh keys afterwards.
    QTemporaryDir dir;
    const QString source = MakeSourceSet(dir.path());
    {
        QSqlDatabase db = OpenSqliteConnection("maintenance_counters", source);
        TOpData other(db);
        other.ExecCommand("update TablesID set NextID=20 where TableName='winbg'"); // ahead of us: stays
        other.ExecCommand("delete from TablesID where TableName='VIP'");            // an old set without one
        db = QSqlDatabase();
        CloseSqliteConnection("maintenance_counters");
    }
    TestAccountSet set;
    ScriptedMessages messages;
    TOpData &op = set.op();
    op.ExecCommand("insert into Operator(OperatorID,cUserName) values(2,'Tom'),(3,'Ann')");
    op.ExecCommand("insert into SizeG(SizeGID,Name) values(2,'童装'),(5,'鞋码')");
    op.ExecCommand("insert into VIP(VIPID,VIPCardID) values(1,'V001'),(4,'V004')");
    op.ExecCommand("insert into winbg(WinBgID,iFlag) values(1,1)");

    op.ImportBaseData(source);
    struct Case {
        const char *table;
        int next;
    };
    for (const Case &c : {Case{"Operator", 4}, Case{"SizeG", 6}, Case{"VIP", 5}, Case{"winbg", 20}}) {
        SCOPED_TRACE(c.table);
        EXPECT_EQ(op.GetNextID(c.table), c.next);
    }
    // Imported tables keep the other set's counters.
    EXPECT_EQ(op.GetNextID("Customer"), 40);
}

TEST(ImportBaseData, AFailedImportChangesNothingAndSaysWhy)
{
    QTemporaryDir dir;
    const QString incomplete = MakeSourceSet(dir.path());
    {
        QSqlDatabase db = OpenSqliteConnection("maintenance_damage", incomplete);
        TOpData(db).ExecCommand("drop table OnHand"); // the last table imported
        db = QSqlDatabase();
        CloseSqliteConnection("maintenance_damage");
    }
    const QString notADatabase = dir.filePath("notes.mdb");
    QFile f(notADatabase);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();

    TestAccountSet set;
    ScriptedMessages messages;
    TOpData &op = set.op();
    AddLocalData(op);
    const QStringList watched = {"Sell", "SellD", "SellDS", "Color", "Inventory", "Store", "SizeTable", "SizeGD", "TablesID"};
    const QMap<QString, int> before = Counts(op, watched);
    const QString tablesBefore = op.ScalarText("select group_concat(TableName||NextID) from TablesID");

    struct Case {
        QString file;
        QString says;
    };
    for (const Case &c : {Case{incomplete, "onhand"}, Case{notADatabase, "数据库"}, Case{dir.filePath("missing.mdb"), "不存在"},
                         Case{set.databaseFile(), "自身"}}) {
        SCOPED_TRACE(c.file.toStdString());
        try {
            op.ImportBaseData(c.file);
            ADD_FAILURE() << "import went through";
        } catch (const AppError &e) {
            EXPECT_TRUE(e.message().contains(c.says, Qt::CaseInsensitive)) << e.message().toStdString();
        }
        EXPECT_EQ(Counts(op, watched), before);
        EXPECT_EQ(op.ScalarText("select group_concat(TableName||NextID) from TablesID"), tablesBefore);
    }
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_NO_THROW(op.GetNextID("Color")); // no transaction left open
}

TEST(RepairTools, CostPricesComeFromTheItems)
{
    TestAccountSet set;
    ScriptedMessages messages;
    TOpData &op = set.op();
    op.ExecCommand("insert into Inventory(InventoryID,cInvCode,iInvCPrice) values(1,'A01',60),(2,'B01',35.5)");
    op.ExecCommand("insert into SellD(SellID,ItemNo,cInvCode,ColorID,iNum,iCPrice,iCMoney) values(1,1,'a01',1,3,0,0),(1,2,'B01',1,-2,0,0)");
    op.ExecCommand("insert into SellBackD(SellBackID,ItemNo,cInvCode,ColorID,iNum,iCPrice) values(1,1,'A01',1,1,0)");
    op.ExecCommand("insert into PurchaseD(PurchaseID,ItemNo,cInvCode,ColorID,iNum,iPrice) values(1,1,'A01',1,1,50)");

    op.FillCostPricesFromItems();
    EXPECT_EQ(messages.last(), "修复完成！");
    EXPECT_DOUBLE_EQ(op.ScalarFloat("select iCMoney from SellD where ItemNo=1"), 180.0);
    EXPECT_DOUBLE_EQ(op.ScalarFloat("select iCPrice from SellD where ItemNo=2"), 35.5);
    EXPECT_DOUBLE_EQ(op.ScalarFloat("select iCMoney from SellD where ItemNo=2"), -71.0);
    EXPECT_DOUBLE_EQ(op.ScalarFloat("select iCMoney from SellBackD"), 60.0);
    EXPECT_DOUBLE_EQ(op.ScalarFloat("select iPrice from PurchaseD"), 50.0);
}

TEST(RepairTools, VIPCounterIsRecreatedPastExistingCards)
{
    TestAccountSet set;
    ScriptedMessages messages;
    TOpData &op = set.op();
    op.ExecCommand("update TablesID set NextID=7 where TableName='VIP'");
    op.RepairVIPKeyCounter();
    EXPECT_EQ(messages.texts(), QStringList{"修复完成！"});
    EXPECT_EQ(op.GetNextID("VIP"), 7);

    op.ExecCommand("delete from TablesID where TableName='vip'");
    op.ExecCommand("insert into VIP(VIPID,VIPCardID) values(3,'V003')");
    op.RepairVIPKeyCounter();
    EXPECT_EQ(op.GetNextID("VIP"), 4);
}
