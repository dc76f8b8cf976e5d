#include "DataModule.h"
#include "OpData.h"
#include "Schema.h"
#include "SimpleValueDB.h"
#include "shell/AppError.h"
#include "shell/PasswordHash.h"

#include <functional>

// Sets made by earlier versions of the program are brought to the current schema one step at
// a time, each step raising the stored version by one. A guarded step attempts each of its
// statements alone and passes over the ones that fail because their object is already there;
// an unguarded step is all or nothing together with its version bump, so a failure leaves the
// version where it was and the step runs again at the next opening.
//
// The statements are those the old files were upgraded with, in SQLite's words: Access widths
// and types become NOCASE text, INTEGER, REAL and BOOLEAN; "WITH PRIMARY" indexes become unique
// indexes; index names carry their table's name because SQLite's index names are shared by
// the whole file.

namespace {

struct UpgradeStep {
    int from;
    bool guarded;
    QStringList statements;                                     // guarded steps
    std::function<void(TOpData &, TSimpleValueDB &)> run;       // unguarded steps
};

void HashPasswords(TOpData &op)
{
    // Until version 10 passwords were stored as typed.
    auto operators = op.QueryData(QStringLiteral("select * from Operator"));
    for (operators->first(); !operators->eof(); operators->next()) {
        const QString name = operators->fieldByName(QStringLiteral("cUserName")).asString();
        const QString typed = operators->fieldByName(QStringLiteral("cPassword")).asString();
        op.ExecCommandParams(QStringLiteral("update Operator set cPassword=? where cUserName=?"),
                             {PasswordHash(name, typed), name});
    }
}

const QList<UpgradeStep> &UpgradeSteps()
{
    static const QList<UpgradeStep> steps = {
        {1, false, {}, [](TOpData &, TSimpleValueDB &s) {
             s.CreateTable();
             WriteSimpleValueDefaults(s, 1);
         }},
        {2, false, {}, [](TOpData &op, TSimpleValueDB &) {
             for (const char *sql : {
                      "CREATE TABLE InvStock(cInvCode TEXT COLLATE NOCASE, iInvCnum REAL, iInvHnum REAL, iInvLnum REAL,"
                      " StoreID INTEGER)",
                      "CREATE UNIQUE INDEX InvStock_PrimaryKey ON InvStock(cInvCode, StoreID)",
                      "CREATE INDEX InvStock_cInvCode ON InvStock(cInvCode)",
                      "CREATE INDEX InvStock_iInvCnum ON InvStock(iInvCnum)",
                      "CREATE INDEX InvStock_iInvHnum ON InvStock(iInvHnum)",
                      "CREATE INDEX InvStock_iInvLnum ON InvStock(iInvLnum)",
                      "CREATE INDEX InvStock_StoreID ON InvStock(StoreID)"})
                 op.ExecCommand(QLatin1String(sql));
         }},
        {3, true, {QStringLiteral("CREATE TABLE ColorGroup(InventoryID INTEGER, ColorID INTEGER)")}, {}},
        {4, true, {
             QStringLiteral("ALTER TABLE TmpTable ADD EmployName TEXT COLLATE NOCASE"),
             QStringLiteral("ALTER TABLE TmpTable ADD VIPCardID TEXT COLLATE NOCASE"),
             QStringLiteral("ALTER TABLE TmpTable ADD cInvCCode TEXT COLLATE NOCASE"),
             QStringLiteral("ALTER TABLE TmpTable ADD cArCode TEXT COLLATE NOCASE"),
             QStringLiteral("ALTER TABLE Sell ADD EmployName TEXT COLLATE NOCASE"),
             QStringLiteral("ALTER TABLE Sell ADD VIPCardID TEXT COLLATE NOCASE"),
             QStringLiteral("ALTER TABLE SellBack ADD EmployName TEXT COLLATE NOCASE"),
             QStringLiteral("ALTER TABLE SellBack ADD VIPCardID TEXT COLLATE NOCASE"),
             QStringLiteral("CREATE TABLE VIP(VIPID INTEGER, VIPCardID TEXT COLLATE NOCASE, VIPName TEXT COLLATE NOCASE,"
                            " VIPPile INTEGER, VIPTelphone TEXT COLLATE NOCASE, VIPAdress TEXT COLLATE NOCASE)"),
             QStringLiteral("CREATE UNIQUE INDEX VIP_PrimaryKey ON VIP(VIPID)"),
             QStringLiteral("INSERT INTO TablesID(TableName, NextID) values('VIP',1)"),
         }, {}},
        {5, true, {
             QStringLiteral("CREATE TABLE user2store(username TEXT COLLATE NOCASE, password TEXT COLLATE NOCASE,"
                            " storeid INTEGER, storename TEXT COLLATE NOCASE, acccode TEXT COLLATE NOCASE)"),
             QStringLiteral("CREATE UNIQUE INDEX user2store_PrimaryKey ON user2store(username)"),
             QStringLiteral("INSERT INTO TablesID(TableName, NextID) values('user2store',1)"),
             QStringLiteral("CREATE TABLE UpedSellTicketID(storeid INTEGER, NativeSellID INTEGER, SellID INTEGER,"
                            " SellCode TEXT COLLATE NOCASE)"),
             QStringLiteral("CREATE TABLE BarCodeRule(TableName TEXT COLLATE NOCASE, StartPos INTEGER, Digit INTEGER,"
                            " Used INTEGER)"),
         }, {}},
        {6, true, {
             QStringLiteral("CREATE TABLE DownDataID(tablename TEXT COLLATE NOCASE, clientid INTEGER, serverid INTEGER,"
                            " storeid INTEGER, storeidin INTEGER, storeidout INTEGER)"),
         }, {}},
        {7, false, {}, [](TOpData &, TSimpleValueDB &s) { WriteSimpleValueDefaults(s, 7); }},
        {8, false, {}, [](TOpData &, TSimpleValueDB &s) { WriteSimpleValueDefaults(s, 8); }},
        {9, false, {}, [](TOpData &op, TSimpleValueDB &) { HashPasswords(op); }},
        {10, true, {
             QStringLiteral("CREATE TABLE dict(cName TEXT COLLATE NOCASE, cNameCh TEXT COLLATE NOCASE)"),
             QStringLiteral("CREATE TABLE dicts(cName TEXT COLLATE NOCASE, cFieldName TEXT COLLATE NOCASE,"
                            " cFieldNamech TEXT COLLATE NOCASE, bVisable BOOLEAN)"),
             QStringLiteral("insert into dict(cname,cnamech) values('realtimestock','库存汇总表')"),
             QStringLiteral("insert into dict(cname,cnamech) values('sell','销售单')"),
             QStringLiteral("insert into dicts(cname,cFieldName,cFieldNamech,bVisable) values('realtimestock','iprice','吊牌价',0)"),
             QStringLiteral("insert into dicts(cname,cFieldName,cFieldNamech,bVisable) values('realtimestock','imoney','金额',0)"),
             QStringLiteral("insert into dicts(cname,cFieldName,cFieldNamech,bVisable) values('realtimestock','icprice','成本价',1)"),
             QStringLiteral("insert into dicts(cname,cFieldName,cFieldNamech,bVisable) values('realtimestock','icMoney','成本金额',1)"),
             QStringLiteral("insert into dicts(cname,cFieldName,cFieldNamech,bVisable) values('sell','iprice','单价',0)"),
             QStringLiteral("insert into dicts(cname,cFieldName,cFieldNamech,bVisable) values('sell','imoney','实收金额',0)"),
             QStringLiteral("insert into dicts(cname,cFieldName,cFieldNamech,bVisable) values('sell','ibmoney','应收金额',0)"),
             QStringLiteral("insert into dicts(cname,cFieldName,cFieldNamech,bVisable) values('sell','idiscount','折扣',0)"),
         }, {}},
        {11, false, {}, [](TOpData &, TSimpleValueDB &s) { WriteSimpleValueDefaults(s, 11); }},
        // KeyValue was created NOT NULL; rebuilding the column lets a setting be emptied.
        {12, true, {
             QStringLiteral("ALTER TABLE simplevalue ADD keyvalue1 TEXT COLLATE NOCASE null"),
             QStringLiteral("update simplevalue set keyvalue1=keyvalue"),
             QStringLiteral("ALTER TABLE simplevalue drop keyvalue"),
             QStringLiteral("ALTER TABLE simplevalue ADD keyvalue TEXT COLLATE NOCASE null"),
             QStringLiteral("update simplevalue set keyvalue=keyvalue1"),
             QStringLiteral("ALTER TABLE simplevalue drop keyvalue1"),
         }, {}},
        {13, true, {
             QStringLiteral("create table iBarcode(cbarcode TEXT COLLATE NOCASE not null primary key,"
                            " cinvcode TEXT COLLATE NOCASE not null, colorid INTEGER, sizeid INTEGER)"),
         }, {}},
    };
    return steps;
}

} // namespace

int TOpData::GetSchemaVersion()
{
    try {
        return ScalarInt(QStringLiteral("select infovalue from sysinfo where sysinfoid=1"));
    } catch (const AppError &) {
        // Sets of the first version have no sysinfo table. When the table is there and still
        // cannot be read (a lock, a damaged page), remaking it would throw away the version
        // and the price mode and start the chain again at 1, whose first step then fails for
        // good: the error goes to the user instead.
        if (ScalarInt(QStringLiteral("select count(*) from sqlite_master where type='table' and lower(name)='sysinfo'")) > 0)
            throw;
    }
    TTransaction transaction(m_db);
    // Another copy opening the same set may have made the table while we waited for the lock:
    // dropping it again would throw its version away and start the chain over.
    if (ScalarInt(QStringLiteral("select count(*) from sqlite_master where type='table' and lower(name)='sysinfo'")) > 0) {
        const int version = ScalarInt(QStringLiteral("select infovalue from sysinfo where sysinfoid=1"));
        transaction.commit();
        return version;
    }
    ExecEach({QStringLiteral("drop table sysinfo")});
    ExecCommand(QStringLiteral(
        "Create Table sysinfo (SysInfoid integer CONSTRAINT Pk_sv PRIMARY KEY NOT NULL,InfoValue integer,"
        "InfoName text COLLATE NOCASE,Falg integer,InfoDefine text COLLATE NOCASE,InfoDefine1 text COLLATE NOCASE,"
        "InfoDefine2 integer,InfoDefine3 integer,IntoNote text COLLATE NOCASE)"));
    ExecCommand(QStringLiteral("Insert into sysinfo(sysinfoid,infovalue,infoname) values(1,1,'数据库版本')"));
    ExecCommand(QStringLiteral("Insert into sysinfo(sysinfoid,infovalue,infoname) values(2,1,'计价方式')"));
    transaction.commit();
    return 1;
}

void TOpData::SetSchemaVersion(int version)
{
    ExecCommandParams(QStringLiteral("update sysinfo set infovalue=? where sysinfoid=1"), {version});
}

void TOpData::SetPriceMode(int mode)
{
    ExecCommandParams(QStringLiteral("update sysinfo set infovalue=? where sysinfoid=2"), {mode});
}

int TOpData::UpgradeSchema(TSimpleValueDB &settings)
{
    for (const UpgradeStep &step : UpgradeSteps()) {
        if (GetSchemaVersion() != step.from)
            continue;
        TTransaction transaction(m_db);
        // Several machines may open an old set at once: whoever got the write lock first has
        // run the step meanwhile, and running it again would hash passwords twice and seed
        // rows twice.
        if (GetSchemaVersion() != step.from)
            continue;
        if (step.guarded)
            ExecEach(step.statements);
        else
            step.run(*this, settings);
        SetSchemaVersion(step.from + 1);
        transaction.commit();
    }
    return GetSchemaVersion();
}
