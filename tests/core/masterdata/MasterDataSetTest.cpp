#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "data/DataSetHelpers.h"
#include "masterdata/CustomerDiscount.h"
#include "masterdata/MasterDataSet.h"
#include "shell/AppError.h"

#include <gtest/gtest.h>

namespace {

struct MasterDataFixture : ::testing::Test {
    TestAccountSet set;
    ScriptedMessages messages;
    TOpData &op() { return set.op(); }
    int rowCount(MasterDataKind kind)
    {
        return op().ScalarInt(QStringLiteral("select count(*) from %1").arg(MasterDataMember(kind).table));
    }
    // A new row of the member as typed into its dialog, not saved yet.
    static void AppendTyped(TMasterDataSet &ds, const QList<QPair<QString, QString>> &values)
    {
        ds.open();
        ds.append();
        for (const auto &[column, value] : values)
            ds[column].setValue(value);
    }
};

} // namespace

TEST_F(MasterDataFixture, NewRowsDrawTheirKeysFromTablesID)
{
    op().ExecCommand("update TablesID set NextID=41 where TableName='Customer'");
    TMasterDataSet ds(MasterDataKind::Customer);
    ds.open();

    ds.append();
    EXPECT_EQ(ds["CustomerID"].asInteger(), 41);
    ds["cCusShortName"].setValue("华联");
    ds.post();
    ds.append(); // what "增加" does after saving
    EXPECT_EQ(ds["CustomerID"].asInteger(), 42);
    ds["cCusShortName"].setValue("百盛");
    ds.post();

    EXPECT_EQ(op().ScalarText("select cCusShortName from Customer where CustomerID=42"), "百盛");
    EXPECT_EQ(op().ScalarInt("select NextID from TablesID where TableName='Customer'"), 43);
}

TEST_F(MasterDataFixture, NewRowsTakeTheMembersDefaults)
{
    op().ExecCommand("update TablesID set NextID=7 where TableName='Department'");
    {
        TMasterDataSet departments(MasterDataKind::Department);
        departments.open();
        departments.append();
        EXPECT_EQ(departments["DepartmentID"].asInteger(), 7);
        EXPECT_EQ(departments["cDepCode"].asString(), "7");
        departments.cancel();
    }
    struct Case {
        MasterDataKind kind;
        const char *column;
        QVariant expected;
    };
    const Case cases[] = {
        {MasterDataKind::Store, "bStoDefaultFlag", false},
        {MasterDataKind::Store, "cStoValueStyle", QStringLiteral("移动加权平均")},
        {MasterDataKind::Employ, "isoperate", 1},
        {MasterDataKind::Employ, "sex", QStringLiteral("男")},
        {MasterDataKind::IEType, "iFlag", 0}, // income is chosen at start
    };
    for (const Case &c : cases) {
        TMasterDataSet ds(c.kind);
        ds.open();
        ds.append();
        EXPECT_EQ(ds[c.column].value().toString(), c.expected.toString()) << c.column;
        ds.cancel();
    }
}

TEST_F(MasterDataFixture, EmptyRequiredFieldStopsTheSaveAfterItsMessage)
{
    struct Case {
        MasterDataKind kind;
        QList<QPair<QString, QString>> values;
        QString message;
        IMessageService::Kind box;
    };
    const QList<Case> cases{
        {MasterDataKind::Customer, {{"cCusCode", "C01"}}, "客户简称不能为空！", IMessageService::Kind::Info},
        {MasterDataKind::Customer, {{"cCusShortName", "   "}}, "客户简称不能为空！", IMessageService::Kind::Info},
        // the short name is reported first, the full name only once the short name is there
        {MasterDataKind::Vendor, {}, "供应商简称不能为空！", IMessageService::Kind::Info},
        {MasterDataKind::Vendor, {{"cVenShortName", "申洲"}}, "供应商全称不能为空！", IMessageService::Kind::Info},
        {MasterDataKind::Store, {{"cStoAddress", "南京路"}}, "仓库名称不能为空！", IMessageService::Kind::Info},
        {MasterDataKind::Color, {{"barcode", "01"}}, "颜色名称不能为空！", IMessageService::Kind::Acknowledge},
        {MasterDataKind::Employ, {{"employno", "007"}}, "姓名不能为空！", IMessageService::Kind::Acknowledge},
        {MasterDataKind::VIP, {{"VIPName", "王"}}, "VIP编号不能为空！", IMessageService::Kind::Acknowledge},
        {MasterDataKind::Unit, {}, "名称不能为空！", IMessageService::Kind::Acknowledge},
    };
    for (const Case &c : cases) {
        messages.clear();
        const int before = rowCount(c.kind);
        TMasterDataSet ds(c.kind);
        AppendTyped(ds, c.values);
        EXPECT_THROW(ds.post(), AbortError) << c.message.toStdString();
        ASSERT_EQ(messages.shown.size(), 1) << c.message.toStdString();
        EXPECT_EQ(messages.shown.first().text, c.message);
        EXPECT_EQ(messages.shown.first().kind, c.box) << c.message.toStdString();
        EXPECT_EQ(ds.state(), TDataSet::State::Insert);
        EXPECT_EQ(rowCount(c.kind), before) << MasterDataMember(c.kind).table.toStdString();
    }
}

TEST_F(MasterDataFixture, CustomerWithShortNameButNoCodeSaves)
{
    TMasterDataSet ds(MasterDataKind::Customer);
    ds.open();
    ds.append();
    ds["cCusShortName"].setValue("O'Neil 服饰");
    ds.post();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(op().ScalarText("select cCusShortName from Customer"), "O'Neil 服饰");
}

TEST_F(MasterDataFixture, BalancesAreDerivedByTheQuery)
{
    op().ExecCommand("insert into Customer(CustomerID,cCusShortName,iCusBMoney,iCusDMoney,iCusFMoney) values(1,'甲',100,50,30)");
    op().ExecCommand("insert into Vendor(VendorID,cVenShortName,iVenBMoney,iVenDMoney,iVenFMoney) values(1,'乙',10,5,2.5)");
    TMasterDataSet customers(MasterDataKind::Customer);
    customers.open();
    EXPECT_DOUBLE_EQ(customers["irecievemoney"].asFloat(), 120.0);
    TMasterDataSet vendors(MasterDataKind::Vendor);
    vendors.open();
    EXPECT_DOUBLE_EQ(vendors["ipaymoney"].asFloat(), 12.5);

    // the derived column is shown but never written back
    customers.edit();
    customers["cCusPhone"].setValue("021-1");
    customers.post();
    EXPECT_EQ(op().ScalarText("select cCusPhone from Customer"), "021-1");
    EXPECT_DOUBLE_EQ(customers["irecievemoney"].asFloat(), 120.0);

    // a new row shows its balance as the query would, not blank
    op().ExecCommand("update TablesID set NextID=2 where TableName in ('Customer','Vendor')");
    for (TMasterDataSet *ds : {&customers, &vendors}) {
        ds->append();
        ds->fieldByName(ds == &customers ? "cCusShortName" : "cVenShortName").setValue("丙");
        if (ds == &vendors)
            ds->fieldByName("cVenName").setValue("丙厂");
        ASSERT_TRUE(PostWithMessage(*ds));
        const TField &balance = ds->fieldByName(ds == &customers ? "irecievemoney" : "ipaymoney");
        EXPECT_FALSE(balance.isNull());
        EXPECT_DOUBLE_EQ(balance.asFloat(), 0.0);
    }
}

TEST_F(MasterDataFixture, IncomeExpenseKindFiltersAndStampsNewItems)
{
    op().ExecCommand("insert into IEType(IETypeID,IEType,iFlag) values(1,'利息收入',0),(2,'房租',1),(3,'水电',1)");
    op().ExecCommand("update TablesID set NextID=10 where TableName='IEType'");
    TMasterDataSet ds(MasterDataKind::IEType);
    ds.open();
    EXPECT_EQ(ds.recordCount(), 1);

    ds.setChosenKind(1);
    EXPECT_EQ(ds.recordCount(), 2);
    ds.append();
    ds["IEType"].setValue("工资");
    ds.post();
    EXPECT_EQ(op().ScalarInt("select iFlag from IEType where IETypeID=10"), 1);
    EXPECT_EQ(ds.recordCount(), 3);
    for (ds.first(); !ds.eof(); ds.next())
        EXPECT_EQ(ds["iFlag"].asInteger(), 1);

    ds.setChosenKind(0);
    ASSERT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ds["IEType"].asString(), "利息收入");
}

TEST_F(MasterDataFixture, RowsWithoutGeneratedKeysAreFoundByName)
{
    op().ExecCommand("insert into Unit(cUnName) values('米'),('码')");
    op().ExecCommand("insert into Fee(cFeeName,iFeeFlag) values('运费',2)");
    TMasterDataSet units(MasterDataKind::Unit);
    units.open();
    ASSERT_TRUE(units.locate("cUnName", "码"));
    units.edit();
    units["cUnName"].setValue("打");
    units.post();
    EXPECT_EQ(op().ScalarInt("select count(*) from Unit where cUnName in ('米','码','打')"), 2);

    TMasterDataSet fees(MasterDataKind::Fee);
    fees.open();
    EXPECT_EQ(fees["cFeeKind"].asString(), "支出");
    fees.append();
    EXPECT_EQ(fees["iFeeFlag"].asInteger(), 2);
    fees["cFeeName"].setValue("佣金");
    fees["iFeeFlag"].setValue(1);
    fees.post();
    EXPECT_EQ(op().ScalarInt("select iFeeFlag from Fee where cFeeName='佣金'"), 1);
}

TEST(CustomerDiscount, TinyOrMissingFactorsMeanNoDiscount)
{
    const QList<QPair<QVariant, double>> cases{
        {QVariant(), 1.0}, {0.0, 1.0}, {0.0005, 1.0}, {0.001, 0.001}, {0.9, 0.9}, {0.85, 0.85}, {QString("x"), 1.0},
    };
    for (const auto &[stored, factor] : cases)
        EXPECT_DOUBLE_EQ(CustomerDiscountFactor(stored), factor) << stored.toString().toStdString();
}

TEST_F(MasterDataFixture, CustomerDiscountIsReadFromTheCustomer)
{
    op().ExecCommand("insert into Customer(CustomerID,cCusShortName,iCusDiscount) values(1,'零',0),(2,'九折',0.9)");
    EXPECT_DOUBLE_EQ(GetCustomerDiscount(op(), 1), 1.0);
    EXPECT_DOUBLE_EQ(GetCustomerDiscount(op(), 2), 0.9);
    EXPECT_DOUBLE_EQ(GetCustomerDiscount(op(), 3), 1.0);
}

// Codes that bills, barcodes and pickers go by must name one row: a second colour with the same
// barcode part would make item barcodes ambiguous, a second VIP card with the same number would
// merge two members' purchases, and two fee items of one name would be changed and deleted
// together (the name is how such a row is found).
TEST_F(MasterDataFixture, SecondRowWithAnExistingCodeIsRefusedWithItsReason)
{
    op().ExecCommand("insert into Color(ColorID,Name,barcode) values(1,'红','01')");
    op().ExecCommand("insert into Customer(CustomerID,cCusShortName,cCusCode) values(1,'甲','KH001')");
    op().ExecCommand("insert into Vendor(VendorID,cVenShortName,cVenName,cVenCode) values(1,'甲','甲厂','GYS001')");
    op().ExecCommand("insert into Employ(EmployID,name,employno) values(1,'张三','YG001')");
    op().ExecCommand("insert into VIP(VIPID,VIPCardID) values(1,'V0001')");
    op().ExecCommand("insert into Fee(cFeeName,iFeeFlag) values('房租',2)");
    op().ExecCommand("insert into Store(StoreID,cStoName) values(901,'总仓库')");
    op().ExecCommand("insert into Brand(BrandID,cBraName) values(901,'衣尚')");
    op().ExecCommand("insert into Department(DepartmentID,cDepName) values(901,'财务部')");
    op().ExecCommand("insert into IEType(IETypeID,IEType,iFlag) values(901,'利息',0),(902,'其他',1)");
    struct Case {
        MasterDataKind kind;
        QList<QPair<QString, QString>> values;
        QString reason;
    };
    const QList<Case> cases{
        {MasterDataKind::Color, {{"name", "大红"}, {"barcode", "01"}}, "颜色条码“01”已经存在，不能重复！"},
        {MasterDataKind::Customer, {{"cCusShortName", "乙"}, {"cCusCode", "kh001"}}, "客户代码“kh001”已经存在，不能重复！"},
        {MasterDataKind::Vendor, {{"cVenShortName", "乙"}, {"cVenName", "乙厂"}, {"cVenCode", "GYS001"}},
         "供应商代码“GYS001”已经存在，不能重复！"},
        {MasterDataKind::Employ, {{"name", "李四"}, {"employno", "YG001"}}, "员工编号“YG001”已经存在，不能重复！"},
        {MasterDataKind::VIP, {{"VIPCardID", "V0001"}}, "VIP编号“V0001”已经存在，不能重复！"},
        {MasterDataKind::Fee, {{"cFeeName", "房租"}}, "费用项目“房租”已经存在，不能重复！"},
        {MasterDataKind::Unit, {{"cUnName", "件"}}, "计量单位“件”已经存在，不能重复！"},
        // a code pasted with blanks around it is the same code
        {MasterDataKind::Customer, {{"cCusShortName", "丙"}, {"cCusCode", " KH001 "}}, "客户代码“KH001”已经存在，不能重复！"},
        // where the name is all a picker shows, two rows of one name cannot be told apart
        {MasterDataKind::Color, {{"name", "红"}, {"barcode", "02"}}, "颜色名称“红”已经存在，不能重复！"},
        {MasterDataKind::Store, {{"cStoName", "总仓库 "}}, "仓库“总仓库”已经存在，不能重复！"},
        {MasterDataKind::Brand, {{"cBraName", "衣尚"}}, "品牌“衣尚”已经存在，不能重复！"},
        {MasterDataKind::Department, {{"cDepName", "财务部"}}, "部门“财务部”已经存在，不能重复！"},
        {MasterDataKind::IEType, {{"IEType", "利息"}}, "收支项目“利息”已经存在，不能重复！"},  // income, as 利息
    };
    for (const Case &c : cases) {
        messages.clear();
        const int before = rowCount(c.kind);
        TMasterDataSet ds(c.kind);
        AppendTyped(ds, c.values);
        EXPECT_FALSE(PostWithMessage(ds)) << c.reason.toStdString();
        ASSERT_EQ(messages.shown.size(), 1) << c.reason.toStdString();
        EXPECT_EQ(messages.last(), "保存数据库发生错误，输入的数据不唯一！\r错误原因:" + c.reason);
        EXPECT_EQ(ds.state(), TDataSet::State::Insert);
        EXPECT_EQ(rowCount(c.kind), before) << MasterDataMember(c.kind).table.toStdString();
        ds.cancel();
    }
}

TEST_F(MasterDataFixture, IncomeAndExpenseItemsAreUniqueWithinTheirKind)
{
    op().ExecCommand("insert into IEType(IETypeID,IEType,iFlag) values(901,'其他',1)");
    op().ExecCommand("update TablesID set NextID=902 where TableName='IEType'");
    TMasterDataSet items(MasterDataKind::IEType);
    items.open();
    items.append();                               // income is chosen at start
    items["IEType"].setValue("其他");
    EXPECT_TRUE(PostWithMessage(items));
    items.setChosenKind(1);
    items.append();
    items["IEType"].setValue("其他");
    EXPECT_FALSE(PostWithMessage(items));
    EXPECT_EQ(messages.last(), "保存数据库发生错误，输入的数据不唯一！\r错误原因:收支项目“其他”已经存在，不能重复！");
    items.cancel();
    EXPECT_EQ(op().ScalarInt("select count(*) from IEType where IEType='其他'"), 2);
}

TEST_F(MasterDataFixture, RowsDoubledBeforeStayEditable)
{
    op().ExecCommand("insert into Store(StoreID,cStoName) values(901,'一店'),(902,'一店')");
    TMasterDataSet stores(MasterDataKind::Store);
    stores.open();
    ASSERT_TRUE(stores.locate("StoreID", 902));
    stores.edit();
    stores["cStoPhone"].setValue("0571-1");
    EXPECT_TRUE(PostWithMessage(stores));
    EXPECT_EQ(op().ScalarText("select cStoPhone from Store where StoreID=902"), "0571-1");
    stores.edit();
    stores["cStoName"].setValue("总仓库"); // but no new double
    EXPECT_FALSE(PostWithMessage(stores));
    stores.cancel();
}

TEST_F(MasterDataFixture, BlanksAroundTypedTextsAreNotStored)
{
    TMasterDataSet ds(MasterDataKind::Customer);
    ds.open();
    ds.append();
    ds["cCusShortName"].setValue(" 华联 ");
    ds["cCusCode"].setValue("KH009\t");
    ds["cCusAddress"].setValue("南京路1号 ");
    ASSERT_TRUE(PostWithMessage(ds));
    EXPECT_EQ(op().ScalarText("select cCusShortName||'|'||cCusCode||'|'||cCusAddress from Customer"),
              "华联|KH009|南京路1号");
}

// Sales name the VIP card by its number, not its key: changing or deleting the card of a member
// who has bought would take those sales (and the points they earn) away from the member.
TEST_F(MasterDataFixture, VipCardUsedBySalesKeepsItsNumberAndCannotBeDeleted)
{
    op().ExecCommand("insert into VIP(VIPID,VIPCardID,VIPName) values(1,'V001','甲'),(2,'V002','乙'),(3,'V003','丙')");
    op().ExecCommand("insert into Sell(SellID,cCode,VIPCardID) values(1,'XS1','V001')");
    op().ExecCommand("insert into SellBack(SellBackID,cCode,VIPCardID) values(1,'XT1','v002')");
    TMasterDataSet cards(MasterDataKind::VIP);
    cards.open();
    struct Case {
        int key;
        const char *use;   // nullptr: unused
    };
    const Case cases[] = {{1, "销售单"}, {2, "销售退货单"}, {3, nullptr}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        messages.clear();
        ASSERT_TRUE(cards.locate("VIPID", c.key));
        const QString number = cards["VIPCardID"].asString();
        cards.edit();
        cards["VIPName"].setValue("改名");           // other columns change freely
        EXPECT_TRUE(PostWithMessage(cards));
        cards.edit();
        cards["VIPCardID"].setValue(number.toLower()); // the same number in other letters
        EXPECT_TRUE(PostWithMessage(cards));
        cards.edit();
        cards["VIPCardID"].setValue("V999");
        if (c.use) {
            EXPECT_THROW(cards.post(), AbortError); // after its message, as an empty required field
            EXPECT_EQ(messages.last(), QStringLiteral("该VIP卡已被%1使用，不能修改VIP编号！").arg(c.use));
            EXPECT_EQ(op().ScalarText("select VIPCardID from VIP where VIPID=?", {c.key}), number.toLower());
            cards.cancel();
            EXPECT_FALSE(DeleteWithConfirm(cards));
            EXPECT_EQ(messages.last(), QStringLiteral("删除数据时发生错误，可能是您的数据未处于修改状态！\r错误原因:"
                                                      "该VIP卡已被%1使用，不能删除！").arg(c.use));
            EXPECT_EQ(op().ScalarInt("select count(*) from VIP where VIPID=?", {c.key}), 1);
        } else {
            EXPECT_TRUE(PostWithMessage(cards));
            EXPECT_TRUE(DeleteWithConfirm(cards));
            EXPECT_EQ(op().ScalarInt("select count(*) from VIP where VIPID=?", {c.key}), 0);
        }
    }
}

TEST_F(MasterDataFixture, RowKeepsItsOwnCodeAndEmptyCodesRepeat)
{
    op().ExecCommand("insert into Customer(CustomerID,cCusShortName,cCusCode) values(1,'甲','KH001'),(2,'乙','KH002')");
    op().ExecCommand("update TablesID set NextID=3 where TableName='Customer'");
    op().ExecCommand("insert into Fee(cFeeName,iFeeFlag) values('房租',2),('电费',2)");
    TMasterDataSet customers(MasterDataKind::Customer);
    customers.open();
    ASSERT_TRUE(customers.locate("CustomerID", 1));
    customers.edit();
    customers["cCusShortName"].setValue("甲方");   // its code stays KH001
    EXPECT_TRUE(PostWithMessage(customers));
    customers.edit();
    customers["cCusCode"].setValue("KH002");        // another's code
    EXPECT_FALSE(PostWithMessage(customers));
    customers.cancel();
    for (const char *name : {"丙", "丁"}) {         // customers without a code
        customers.append();
        customers["cCusShortName"].setValue(QString::fromUtf8(name));
        EXPECT_TRUE(PostWithMessage(customers)) << name;
    }
    EXPECT_EQ(op().ScalarInt("select count(*) from Customer"), 4);

    // a fee item is found by its name: renaming it to itself saves, to another's name does not
    TMasterDataSet fees(MasterDataKind::Fee);
    fees.open();
    ASSERT_TRUE(fees.locate("cFeeName", "房租"));
    fees.edit();
    fees["iFeeFlag"].setValue(1);
    EXPECT_TRUE(PostWithMessage(fees));
    fees.edit();
    fees["cFeeName"].setValue("电费");
    EXPECT_FALSE(PostWithMessage(fees));
    fees.cancel();
    EXPECT_EQ(op().ScalarInt("select count(*) from Fee where cFeeName='电费'"), 1);
    EXPECT_EQ(op().ScalarInt("select iFeeFlag from Fee where cFeeName='房租'"), 1);
}

// The discount is a price factor; "八五折" typed the way it is said would multiply the price.
TEST_F(MasterDataFixture, CustomerDiscountMustBeAFactorBetweenZeroAndOne)
{
    const QString refusal = QStringLiteral("折扣应为0到1之间的小数，例如0.85表示八五折！");
    struct Case {
        QVariant discount;
        bool saves;
    };
    const Case cases[] = {{85, false}, {8.5, false}, {1.2, false}, {-0.1, false},
                          {0.85, true}, {1, true},   {0, true},    {QVariant(), true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.discount.toString().toStdString());
        messages.clear();
        const int before = op().ScalarInt("select count(*) from Customer");
        TMasterDataSet ds(MasterDataKind::Customer);
        ds.open();
        ds.append();
        ds["cCusShortName"].setValue("华联");
        ds["iCusDiscount"].setValue(c.discount);
        if (c.saves) {
            ds.post();
            EXPECT_TRUE(messages.shown.isEmpty());
            EXPECT_EQ(op().ScalarInt("select count(*) from Customer"), before + 1);
        } else {
            EXPECT_THROW(ds.post(), AbortError);
            EXPECT_EQ(messages.texts(), QStringList{refusal});
            EXPECT_EQ(messages.shown.first().kind, IMessageService::Kind::Info);
            EXPECT_EQ(ds.state(), TDataSet::State::Insert);
            EXPECT_EQ(op().ScalarInt("select count(*) from Customer"), before);
            ds.cancel();
        }
    }
}

// The fee list shows the kind as the query spells it; a changed kind must read right at once,
// not only after the list is opened again.
TEST_F(MasterDataFixture, FeeKindTextFollowsTheSavedKind)
{
    op().ExecCommand("insert into Fee(cFeeName,iFeeFlag) values('房租',2)");
    TMasterDataSet ds(MasterDataKind::Fee);
    ds.open();
    EXPECT_EQ(ds["cFeeKind"].asString(), "支出");
    ds.edit();
    ds["iFeeFlag"].setValue(1);
    ds.post();
    EXPECT_EQ(ds["cFeeKind"].asString(), "收入");
    ds.append();
    ds["cFeeName"].setValue("利息");
    ds.post(); // the new item's default kind
    EXPECT_EQ(ds["cFeeKind"].asString(), "支出");
    EXPECT_EQ(op().ScalarInt("select iFeeFlag from Fee where cFeeName='房租'"), 1);
}
