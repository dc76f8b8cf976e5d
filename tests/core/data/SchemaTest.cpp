#include "TestAccountSet.h"
#include "data/Schema.h"
#include "shell/AppError.h"
#include "shell/PasswordHash.h"
#include "shell/RightsCatalogue.h"

#include <QCryptographicHash>
#include <QStringEncoder>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {
QString ErrorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const AppError &e) {
        return e.message();
    }
    return QString();
}
} // namespace

TEST(Schema, NewSetTakesAFirstBillOfEveryKind)
{
    TestAccountSet set;
    TOpData &op = set.op();
    op.ExecCommand("insert into Inventory(InventoryID,cInvCode,cInvName) values(1,'A01','衬衫')");
    op.ExecCommand("insert into Color(ColorID,Name) values(1,'红')");
    struct Kind {
        QString table;
        QString headerColumns;
        QVariantList headerValues;
    };
    const QList<Kind> kinds = {
        {"Purchase", "cCode,dDate,StoreID,VendorID,iCashMoney,BankID,iTotalMoney", {"CR06120001", "2006-12-01", 1, 1, 0.0, 1, 0.0}},
        {"PurBack", "cCode,dDate,StoreID,VendorID,iCash,iCashMoney", {"CT06120001", "2006-12-01", 1, 1, 0.0, 0.0}},
        {"Sell", "cCode,dDate,StoreID,CustomerID,EmployName,VIPCardID", {"XS06120001", "2006-12-01", 1, 1, "小王", "V001"}},
        {"SellBack", "cCode,dDate,StoreID,CustomerID,EmployName,VIPCardID", {"XT06120001", "2006-12-01", 1, 1, "小王", "V001"}},
        {"Adjust", "cCode,dDate,StoreIDin,StoreIDout", {"DB06120001", "2006-12-01", 1, 2}},
        {"Instore", "cCode,dDate,StoreID,DepartmentID,VendorID", {"RK06120001", "2006-12-01", 1, 1, 1}},
        {"CheckInv", "cCode,dDate,StoreID", {"PD06120001", "2006-12-01", 1}},
        {"Stock", "cMonth,StoreID", {"2003.01", 1}},
    };
    for (const Kind &k : kinds) {
        SCOPED_TRACE(k.table.toStdString());
        const int id = op.GetNextID(k.table);
        const QString marks = QStringList(k.headerValues.size() + 1, "?").join(',');
        op.ExecCommandParams(QString("insert into %1(%1ID,%2,cUserName,iNum,iMoney,iAuditing) values(%3,'管理员',3,300,1)")
                                 .arg(k.table, k.headerColumns, marks),
                             QVariantList{id} + k.headerValues);
        op.ExecCommandParams(QString("insert into %1D(%1ID,ItemNo,cInvCode,ColorID,iNum,iPrice,iMoney) values(?,1,'A01',1,3,100,300)").arg(k.table), {id});
        op.ExecCommandParams(QString("insert into %1DS(%1ID,ItemNo,SizeID,iNum) values(?,1,2,3)").arg(k.table), {id});
        // The three tables join on the bill key and line number; flags start at 0.
        const QString join = QString("select sum(s.iNum) from (%1 h inner join %1D d on h.%1ID=d.%1ID) inner join %1DS s"
                                     " on d.%1ID=s.%1ID and d.ItemNo=s.ItemNo where h.iFlag=0 and d.cInvCode='a01'").arg(k.table);
        EXPECT_DOUBLE_EQ(op.ScalarFloat(join), 3.0);
    }
    // Sales lines carry the discount and cost columns.
    op.ExecCommand("update SellD set iBMoney=300, iDiscount=0.9, iCPrice=60, iCMoney=180");

    struct Finance {
        QString sql;
        QVariantList values;
    };
    const QList<Finance> finance = {
        {"insert into Pay(PayID,cCode,dDate,VendorID,iPP,PayTypeID,CheckNo,BankID,iMoney,cUserName) values(?,'FK06120001','2006-12-02',1,0,1,'',1,100,'管理员')", {op.GetNextID("pay")}},
        {"insert into PayD(PayID,ItemNo,PurchaseID,iSumMoney,iTotalMoney,iMoney) values(1,1,1,300,0,100)", {}},
        {"insert into Recieve(RecieveID,cCode,dDate,CustomerID,iPP,BankID,iMoney,cUserName) values(?,'SK06120001','2006-12-02',1,0,1,100,'管理员')", {op.GetNextID("recieve")}},
        {"insert into RecieveD(RecieveID,ItemNo,SellID,iSumMoney,iTotalMoney,iMoney) values(1,1,1,300,0,100)", {}},
        {"insert into Transfer(TransferID,cCode,dDate,outbankid,inbankid,imoney,cusername) values(?,'BK06120001','2006-12-02',1,2,50,'管理员')", {op.GetNextID("transfer")}},
        {"insert into Expense(ExpenseID,cCode,dDate,bankid,IETypeID,imoney,cusername) values(?,'FY06120001','2006-12-02',1,1,20,'管理员')", {op.GetNextID("Expense")}},
        {"insert into Income(IncomeID,cCode,dDate,bankid,IETypeID,imoney,cusername) values(?,'QT06120001','2006-12-02',1,2,30,'管理员')", {op.GetNextID("income")}},
    };
    for (const Finance &f : finance)
        EXPECT_NO_THROW(op.ExecCommandParams(f.sql, f.values)) << f.sql.toStdString();
    EXPECT_EQ(op.ScalarInt("select iFlag+iAuditing from Pay"), 0);
}

TEST(Schema, TableAndTextComparisonsIgnoreCase)
{
    TestAccountSet set;
    TOpData &op = set.op();
    op.ExecCommand("insert into SellD(SellID,ItemNo,cInvCode,ColorID) values(1,1,'a01',1)");
    EXPECT_EQ(op.ScalarInt("select count(*) from Selld where cinvcode='A01'"), 1);
    EXPECT_EQ(op.ScalarInt("select count(*) from SELLD"), 1);

    op.ExecCommand("insert into Inventory(InventoryID,cInvCode) values(1,'A01')");
    const QString duplicateCode = ErrorOf([&] { op.ExecCommand("insert into Inventory(InventoryID,cInvCode) values(2,'a01')"); });
    EXPECT_TRUE(duplicateCode.contains("UNIQUE")) << duplicateCode.toStdString();
    EXPECT_THROW(op.ExecCommand("insert into Operator(OperatorID,cUserName) values(9,'管理员')"), AppError);
    op.ExecCommand("insert into Operator(OperatorID,cUserName) values(9,'Tom')");
    EXPECT_THROW(op.ExecCommand("insert into Operator(OperatorID,cUserName) values(10,'TOM')"), AppError);
}

TEST(Schema, SeedsMakeAUsableStart)
{
    TestAccountSet set;
    TOpData &op = set.op();
    EXPECT_EQ(op.ScalarInt("select InfoValue from sysinfo where SysInfoID=1"), kCurrentSchemaVersion);
    EXPECT_EQ(op.ScalarInt("select InfoValue from sysinfo where SysInfoID=2"), 1);

    // Every key name has a counter, and counters start past the seeded keys.
    for (const char *name : {"Purchase", "PurBack", "sell", "SellBack", "adjust", "instore", "checkinv", "stock", "pay",
                             "recieve", "transfer", "Expense", "income", "Color", "SizeTable", "SizeG", "Area",
                             "InventoryC", "Inventory", "Store", "Department", "Brand", "Vendor", "Customer", "Bank",
                             "IEType", "employ", "VIP", "Operator", "winbg", "syslog"})
        EXPECT_EQ(op.ScalarInt("select count(*) from TablesID where TableName=?", {name}), 1) << name;
    for (const auto &[name, table, key] : {std::tuple{"SizeTable", "SizeTable", "SizeID"}, std::tuple{"SizeG", "SizeG", "SizeGID"},
                                           std::tuple{"Store", "Store", "StoreID"}, std::tuple{"Operator", "Operator", "OperatorID"}}) {
        const int next = op.GetNextID(name);
        EXPECT_EQ(op.ScalarInt(QString("select count(*) from %1 where %2>=?").arg(table, key), {next}), 0) << name;
    }

    EXPECT_EQ(op.ScalarInt("select SizeGID from SizeG where bFlag"), 1);
    EXPECT_EQ(op.ScalarInt("select count(*) from SizeGD where SizeGID=1"), op.ScalarInt("select count(*) from SizeTable"));
    EXPECT_EQ(op.ScalarInt("select count(*) from Store where bStoDefaultFlag"), 1);
    EXPECT_EQ(op.ScalarInt("select count(*) from company"), 1);
    EXPECT_GE(op.ScalarInt("select count(*) from PayType"), 2);
    EXPECT_EQ(op.ScalarText("select cPassword from Operator where cUserName='管理员'"), PasswordHash("管理员", ""));
    EXPECT_EQ(set.op().ScalarText("select KeyValue from SimpleValue where KeyName='BtCenter'"), "第&[Page]页共&[Pages]页");
    EXPECT_EQ(op.ScalarInt("select count(*) from dicts where cName='realtimestock' and bVisable"), 2);
}

TEST(Schema, DeletingAMasterRowThatOthersUseIsRefusedWithItsReason)
{
    struct Case {
        const char *user;     // the row that uses the master row
        const char *remove;   // the delete the database must refuse
        const char *reason;
        const char *release;  // removes the use; the delete then goes through
    };
    const Case cases[] = {
        {"insert into SellD(SellID,ItemNo,cInvCode,ColorID) values(1,1,'A01',5)", "delete from Color where ColorID=5",
         "该颜色已被销售单使用，不能删除！", "delete from SellD"},
        {"insert into Adjust(AdjustID,StoreIDin,StoreIDout) values(1,2,1)", "delete from Store where StoreID=1",
         "该仓库已被调拨单使用，不能删除！", "delete from Adjust"},
        {"insert into Recieve(RecieveID,CustomerID) values(1,5)", "delete from Customer where CustomerID=5",
         "该客户已被收款单使用，不能删除！", "delete from Recieve"},
        {"insert into Pay(PayID,VendorID) values(1,5)", "delete from Vendor where VendorID=5",
         "该供应商已被付款单使用，不能删除！", "delete from Pay"},
        {"update Store set AreaID=5", "delete from Area where AreaID=5", "该地区已被仓库资料使用，不能删除！",
         "update Store set AreaID=null"},
        {"insert into Inventory(InventoryID,cInvCode,InventoryCID) values(7,'B02',5)",
         "delete from InventoryC where InventoryCID=5", "该货品分类已被货品资料使用，不能删除！", "delete from Inventory"},
        {"insert into StockD(StockID,ItemNo,cInvCode,ColorID) values(1,1,'a01',5)", "delete from Inventory where cInvCode='A01'",
         "该货品已被初始库存使用，不能删除！", "delete from StockD"},
        {"insert into CheckInvDS(CheckInvID,ItemNo,SizeID,iNum) values(1,1,2,1)", "delete from SizeTable where SizeID=2",
         "该尺码已被盘点单使用，不能删除！", "delete from CheckInvDS"},
        {"insert into Transfer(TransferID,outbankid,inbankid) values(1,4,5)", "delete from Bank where BankID=5",
         "该银行帐户已被银行存取款单使用，不能删除！", "delete from Transfer"},
        {"insert into Employ(EmployID,name,DepartmentID) values(1,'小王',5)", "delete from Department where DepartmentID=5",
         "该部门已被员工资料使用，不能删除！", "delete from Employ"},
        {"insert into Income(IncomeID,IETypeID) values(1,5)", "delete from IEType where IETypeID=5",
         "该收支项目已被其它收入单使用，不能删除！", "delete from Income"},
        {"insert into Inventory(InventoryID,cInvCode,BrandID) values(8,'C03',5)", "delete from Brand where BrandID=5",
         "该品牌已被货品资料使用，不能删除！", "delete from Inventory"},
    };
    TestAccountSet set;
    TOpData &op = set.op();
    op.ExecCommand("insert into Inventory(InventoryID,cInvCode) values(1,'A01')");
    op.ExecCommand("insert into Color(ColorID,Name) values(5,'红')");
    op.ExecCommand("insert into Customer(CustomerID,cCusShortName) values(5,'甲')");
    op.ExecCommand("insert into Vendor(VendorID,cVenShortName) values(5,'乙')");
    op.ExecCommand("insert into Area(AreaID,cArCode,cArName) values(5,'10','华东')");
    op.ExecCommand("insert into InventoryC(InventoryCID,cInvCCode,cInvCName) values(5,'10','上衣')");
    op.ExecCommand("insert into Bank(BankID,cBankName) values(5,'工行')");
    op.ExecCommand("insert into Department(DepartmentID,cDepName) values(5,'门市部')");
    op.ExecCommand("insert into IEType(IETypeID,IEType,iFlag) values(5,'房租',0)");
    op.ExecCommand("insert into Brand(BrandID,cBraName) values(5,'某牌')");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.remove);
        TTransaction scope(set.db()); // every case starts from the same rows
        op.ExecCommand(c.user);
        const QString error = ErrorOf([&] { op.ExecCommand(c.remove); });
        EXPECT_TRUE(error.endsWith(c.reason)) << error.toStdString();
        op.ExecCommand(c.release);
        EXPECT_NO_THROW(op.ExecCommand(c.remove));
    }
}

TEST(Schema, RowsThatOnlyDescribeAStyleGoWithIt)
{
    TestAccountSet set;
    TOpData &op = set.op();
    op.ExecCommand("insert into Inventory(InventoryID,cInvCode) values(1,'A01'),(2,'A02')");
    op.ExecCommand("insert into Color(ColorID,Name) values(1,'红')");
    op.ExecCommand("insert into ColorGroup(InventoryID,ColorID) values(1,1),(2,1)");
    op.ExecCommand("insert into InvStock(cInvCode,StoreID,iInvLnum) values('A01',1,5),('A02',1,5)");
    op.ExecCommand("insert into iBarcode(cBarcode,cInvCode,ColorID,SizeID) values('6901','A01',1,1),('6902','a01',1,2),('6903','A02',1,1)");
    op.ExecCommand("delete from Inventory where InventoryID=1");
    EXPECT_EQ(op.ScalarInt("select count(*) from ColorGroup"), 1);
    EXPECT_EQ(op.ScalarText("select cInvCode from InvStock"), "A02");
    EXPECT_EQ(op.ScalarText("select group_concat(cBarcode) from iBarcode"), "6903");
    op.ExecCommand("delete from Color");
    EXPECT_EQ(op.ScalarInt("select count(*) from ColorGroup"), 0);
    op.ExecCommand("delete from SizeTable where SizeID=1");
    EXPECT_EQ(op.ScalarInt("select count(*) from SizeGD where SizeID=1"), 0);
}

TEST(Schema, AStyleCodeThatBillsUseCannotBeRenamed)
{
    TestAccountSet set;
    TOpData &op = set.op();
    op.ExecCommand("insert into Inventory(InventoryID,cInvCode) values(1,'A01'),(2,'B01')");
    op.ExecCommand("insert into PurchaseD(PurchaseID,ItemNo,cInvCode,ColorID) values(1,1,'A01',1)");
    EXPECT_TRUE(ErrorOf([&] { op.ExecCommand("update Inventory set cInvCode='A09' where InventoryID=1"); })
                    .endsWith("该款号已被采购入库单使用，不能修改！"));
    op.ExecCommand("update Inventory set cInvCode='a01', cInvName='衬衫' where InventoryID=1"); // same code to the bills
    op.ExecCommand("update Inventory set cInvCode='B09' where InventoryID=2");
    EXPECT_EQ(op.ScalarInt("select count(*) from Inventory where cInvCode in ('a01','B09')"), 2);
}

TEST(PasswordHashTest, GbkMd5OfUpperCasedNameAndPasswordWithSalt)
{
    QStringEncoder gbk("GBK");
    const QByteArray bytes = gbk.encode(QStringLiteral("管理员"));
    EXPECT_EQ(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex(),
              "8178134ede762c42e41a7b1695082e28");
    EXPECT_EQ(PasswordHash("管理员", ""), "406c42fcd1122977d73334fde9dfcf12");
    EXPECT_EQ(PasswordHash("张三", "Abc1"), "a2c9588973250a6e7f9d40b84a13434f");
    EXPECT_EQ(PasswordHash("tom", "secret"), PasswordHash("TOM", "SeCrEt"));
    EXPECT_NE(PasswordHash("tom", "secret"), PasswordHash("tom", "secret1"));
}

TEST(RightsCatalogueTest, DamagedCatalogueIsRebuiltAndOperatorsKeepTheirRights)
{
    TestAccountSet set;
    TOpData &op = set.op();
    EXPECT_EQ(op.ScalarInt("select count(*) from Purview where iType=1"), 66);
    EXPECT_EQ(op.ScalarInt("select count(*) from PurviewG"), 6);
    EXPECT_FALSE(CheckRightsCatalogue(op));

    op.ExecCommand("insert into Operator(OperatorID,cUserName,cRight) values(5,'小李','0101')");
    op.ExecCommand("delete from Purview where PurviewID=41");
    op.ExecCommand("update Purview set cPurviewName='x' where PurviewID=16");
    EXPECT_TRUE(CheckRightsCatalogue(op));
    EXPECT_EQ(op.ScalarText("select cPurviewName from Purview where PurviewID=41"), "销售单游览");
    EXPECT_EQ(op.ScalarText("select cPurviewName from Purview where PurviewID=16"), "盘点单浏览");
    EXPECT_EQ(op.ScalarText("select cGroupName from PurviewG where PurviewGID=(select PurviewGID from Purview where PurviewID=95)"),
              "基础资料管理");
    EXPECT_EQ(op.ScalarText("select cRight from Operator where OperatorID=5"), "0101");
    EXPECT_FALSE(CheckRightsCatalogue(op));

    // A surplus row counts as damage too.
    op.ExecCommand("insert into PurviewG(PurviewGID,cGroupName) values(7,'其它')");
    EXPECT_TRUE(CheckRightsCatalogue(op));
    EXPECT_EQ(op.ScalarInt("select count(*) from PurviewG"), 6);
}

TEST(Schema, AccountListHasTheAccountTable)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("spsys.mdb");
    CreateAccountListDatabase(file);
    QSqlDatabase db = OpenSqliteConnection("schema_list_test", file);
    {
        TOpData op(db);
        op.ExecCommand("insert into account(cAccCode,cAccName,cBeginDate,cEndDate,cUnitName) values('demo','演示','2006.12','2006.12','某公司')");
        EXPECT_THROW(op.ExecCommand("insert into account(cAccCode) values('DEMO')"), AppError);
    }
    db = QSqlDatabase();
    CloseSqliteConnection("schema_list_test");
    EXPECT_THROW(CreateAccountListDatabase(file), AppError);
}

TEST(Schema, ANewFileAppearsOnlyWhenComplete)
{
    // Whoever copies the template while it is being made (a new account set, another machine)
    // must find no file or a whole one, never a half-made database.
    QTemporaryDir dir;
    const QString file = dir.filePath("spData.mdb");
    const QString copy = dir.filePath("copy.mdb");
    std::atomic<bool> done{false};
    QString failure;
    std::thread maker([&] {
        try {
            CreateAccountSetDatabase(file);
        } catch (const AppError &e) {
            failure = e.message();
        }
        done = true;
    });
    bool copied = false;
    while (!copied && !done)
        copied = QFileInfo::exists(file) && QFile::copy(file, copy);
    maker.join();
    ASSERT_EQ(failure.toStdString(), "");
    if (!copied) {
        ASSERT_TRUE(QFile::copy(file, copy));
    }
    EXPECT_NO_THROW(CheckDatabaseFile(copy));
    QSqlDatabase db = OpenSqliteConnection("schema_copy_test", copy);
    EXPECT_EQ(TOpData(db).ScalarInt("select InfoValue from sysinfo where SysInfoID=1"), kCurrentSchemaVersion);
    db = QSqlDatabase();
    CloseSqliteConnection("schema_copy_test");
    // Nothing of the making is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"copy.mdb", "spData.mdb"}));
}
