#include "data/DataModule.h"
#include "data/DbDataSet.h"
#include "data/OpData.h"
#include "data/Schema.h"
#include "shell/AccountOpen.h"
#include "shell/AccountSets.h"
#include "shell/AppContext.h"
#include "shell/DemoData.h"
#include "shell/UserInfo.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A fresh account-set database on a connection of its own.
class DemoDatabase {
public:
    DemoDatabase()
    {
        m_file = m_dir.path() + QStringLiteral("/spData.mdb");
        CreateAccountSetDatabase(m_file);
        m_db = OpenSqliteConnection(m_name, m_file);
    }
    ~DemoDatabase()
    {
        m_db = QSqlDatabase();
        CloseSqliteConnection(m_name);
    }
    QSqlDatabase db() const { return m_db; }
    int count(const QString &sql) { return TOpData(m_db).ScalarInt(sql); }
    QString text(const QString &sql) { return TOpData(m_db).ScalarText(sql); }

private:
    QTemporaryDir m_dir;
    QString m_file;
    QString m_name = NewConnectionName(QStringLiteral("demo_test_"));
    QSqlDatabase m_db;
};

} // namespace

TEST(DemoData, FillsEveryReferenceListOfAClothingBusiness)
{
    DemoDatabase d;
    TDemoOptions options;
    options.shops = 8;
    options.styles = 300;
    const TDemoContext made = FillDemoData(d.db(), options);

    struct Expect {
        const char *sql;
        int count;
    };
    const Expect expected[] = {
        {"select count(*) from Store", 9},
        {"select count(*) from Store where bStoDefaultFlag=1", 1},
        {"select count(*) from Inventory", 300},
        {"select count(distinct cInvCode) from Inventory", 300},
        {"select count(*) from Color", 18},
        {"select count(*) from Customer", 20},
        {"select count(*) from Vendor", 12},
        {"select count(*) from Brand", 8},
        {"select count(*) from Bank", 6},
        {"select count(*) from SizeG", 5},
        {"select count(*) from SizeG where bFlag=1", 1},
        // Every style offers colours and belongs to a category leaf, a brand and a size group.
        {"select count(*) from Inventory where InventoryID not in (select InventoryID from ColorGroup)", 0},
        {"select count(*) from Inventory i left join InventoryC c on c.InventoryCID=i.InventoryCID"
         " where length(c.cInvCCode)<>4", 0},
        {"select count(*) from Inventory where BrandID not in (select BrandID from Brand)", 0},
        {"select count(*) from Inventory where SizeGID not in (select SizeGID from SizeGD)", 0},
        // Prices as a business keeps them: bought below cost, sold above it.
        {"select count(*) from Inventory where not (iInvIPrice>0 and iInvIPrice<iInvCPrice and iInvCPrice<iInvOPrice)", 0},
        // Area codes form a tree: every node's parent exists.
        {"select count(*) from Area a where length(a.cArCode)>2 and not exists"
         " (select 1 from Area p where p.cArCode=substr(a.cArCode,1,length(a.cArCode)-2))", 0},
        {"select count(*) from Customer where iCusDiscount<=0 or iCusDiscount>1", 0},
    };
    for (const Expect &e : expected) {
        SCOPED_TRACE(e.sql);
        EXPECT_EQ(d.count(QString::fromUtf8(e.sql)), e.count);
    }
    EXPECT_EQ(made.storeIds.size(), 9);
    EXPECT_EQ(made.styleCodes.size(), 300);
    EXPECT_EQ(d.text(QStringLiteral("select name from company")), made.companyName);
    EXPECT_FALSE(made.companyName.isEmpty());
}

TEST(DemoData, KeysHandedOutLaterDoNotCollideWithDemoRows)
{
    DemoDatabase d;
    TDemoOptions options;
    options.shops = 3;
    options.styles = 40;
    FillDemoData(d.db(), options);
    TOpData op(d.db());
    const std::pair<const char *, const char *> keys[] = {
        {"Inventory", "InventoryID"}, {"Store", "StoreID"}, {"Customer", "CustomerID"}, {"Vendor", "VendorID"},
        {"Color", "ColorID"}, {"SizeTable", "SizeID"}, {"SizeG", "SizeGID"}, {"Area", "AreaID"},
        {"InventoryC", "InventoryCID"}, {"Brand", "BrandID"}, {"Bank", "BankID"}, {"Department", "DepartmentID"},
        {"IEType", "IETypeID"}, {"employ", "EmployID"}, {"VIP", "VIPID"}};
    for (const auto &[table, key] : keys) {
        SCOPED_TRACE(table);
        const QString name = QString::fromLatin1(table);
        const int max = op.ScalarInt(QStringLiteral("select max(%1) from %2").arg(QLatin1String(key), name));
        EXPECT_GT(op.GetNextID(name), max);
    }
}

TEST(DemoData, SameSeedSameDataOtherSeedOtherData)
{
    auto names = [](quint32 seed) {
        DemoDatabase d;
        TDemoOptions options;
        options.shops = 4;
        options.styles = 30;
        options.seed = seed;
        FillDemoData(d.db(), options);
        return d.text(QStringLiteral("select group_concat(cInvCode||cInvName||iInvOPrice,';') from"
                                     " (select * from Inventory order by InventoryID)"));
    };
    EXPECT_EQ(names(7), names(7));
    EXPECT_NE(names(7), names(8));
}

TEST(DemoData, LargeSetsForBenchmarksNameEveryShopOnce)
{
    DemoDatabase d;
    TDemoOptions options;
    options.shops = 50;
    options.styles = 3000;
    FillDemoData(d.db(), options);
    EXPECT_EQ(d.count(QStringLiteral("select count(*) from Store")), 51);
    EXPECT_EQ(d.count(QStringLiteral("select count(distinct cStoName) from Store")), 51);
    EXPECT_EQ(d.count(QStringLiteral("select count(*) from Inventory")), 3000);
}

TEST(DemoData, DemoAccountSetIsListedOpensAndAdministratorLogsInWithoutPassword)
{
    QTemporaryDir dir;
    const QString data = dir.path() + QLatin1Char('/');
    TDemoOptions options;
    options.styles = 120;
    ASSERT_TRUE(CreateDemoAccountSet(data, options));
    EXPECT_FALSE(CreateDemoAccountSet(data, options));   // there already: nothing touched

    {
        TAccountList list(data);
        ASSERT_TRUE(list.locate(QStringLiteral("demo")));
        EXPECT_EQ(list.dataSet().fieldByName(QStringLiteral("cAccName")).asString(), QStringLiteral("演示帐套"));
        EXPECT_FALSE(list.dataSet().fieldByName(QStringLiteral("cBeginDate")).asString().isEmpty());
    }

    TDM dm;
    App().dm = &dm;
    App().dataNetPath = data;
    ASSERT_TRUE(OpenAccountSet(QStringLiteral("demo"), QStringLiteral("演示帐套"), QString()));
    EXPECT_TRUE(CurrentUser().Login(QStringLiteral("管理员"), QString()));
    EXPECT_EQ(OpData().ScalarInt(QStringLiteral("select count(*) from Inventory")), 120);
    EXPECT_EQ(OpData().ScalarInt(QStringLiteral("select count(*) from Store")), 9);
    EXPECT_EQ(OpData().ScalarInt(QStringLiteral("select count(*) from Customer")), 20);
    App().resetAccountSet();
    App().dm = nullptr;
    CurrentUser() = TUserInfo();
}
