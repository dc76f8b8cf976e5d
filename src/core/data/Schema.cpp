#include "Schema.h"
#include "DataModule.h"
#include "OpData.h"
#include "SimpleValueDB.h"
#include "SqliteStatement.h"
#include "shell/AppError.h"
#include "shell/PasswordHash.h"
#include "shell/RightsCatalogue.h"

#include <QFileInfo>
#include <QUuid>

// A new account set is made whole at the current schema version (14): every table, including
// those that the upgrade steps add to sets made by earlier versions, is created here with its
// keys, indexes and triggers, every default setting is written, and sysinfo row 1 says 14.
// Opening a new set therefore runs no upgrade step. The steps exist for older files; the
// guarded ones tolerate objects already present (a file at version 4 that already has
// TmpTable.EmployName skips that one statement and still gets the rest of the step), and the
// defaults they write are upserts. The template never starts below the version of its newest
// object, since an unguarded step (SimpleValue at 1, InvStock at 2) would fail on a table
// that is already there.

namespace {

// Every text column compares without regard to case, as names and codes did in the old
// files; money and quantities are REAL and start at 0 so that sums and products over new
// rows never turn null; flags are INTEGER 0.
QString Expand(QString ddl)
{
    ddl.replace(QLatin1String("$T"), QLatin1String("text COLLATE NOCASE"));
    ddl.replace(QLatin1String("$M"), QLatin1String("real default 0"));
    ddl.replace(QLatin1String("$F"), QLatin1String("integer default 0"));
    return ddl;
}

void Run(const QSqlDatabase &db, const QString &sql)
{
    SqliteStatement st(db, Expand(sql));
    st.run();
}

void RunParams(const QSqlDatabase &db, const QString &sql, const QVariantList &params)
{
    SqliteStatement st(db, sql);
    st.bind(params);
    st.run();
}

// The file is built under a scratch name beside it and moved into place only when complete:
// whoever copies the template (a new account set, another machine starting at the same moment)
// never takes a half-made file, a crash midway leaves no file that looks finished, and a
// failure never removes a file that someone else made meanwhile.
template <typename F> void WithNewFile(const QString &file, F &&build)
{
    if (QFileInfo::exists(file))
        throw AppError(QStringLiteral("文件已存在：") + file);
    const QString part = file + QStringLiteral(".") + QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".new");
    const QString name = NewConnectionName(QStringLiteral("qelvo_create_"));
    try {
        QSqlDatabase db = OpenSqliteConnection(name, part, false);
        TTransaction t(db);
        build(db);
        t.commit();
    } catch (...) {
        CloseSqliteConnection(name);
        QFile::remove(part);
        throw;
    }
    CloseSqliteConnection(name);
    // QFile::rename never replaces an existing file.
    if (!QFile::rename(part, file)) {
        QFile::remove(part);
        throw AppError((QFileInfo::exists(file) ? QStringLiteral("文件已存在：") : QStringLiteral("无法创建文件："))
                       + file);
    }
}

// --- tables ------------------------------------------------------------------------------------

const char *const kSystemTables[] = {
    "create table sysinfo(SysInfoID integer CONSTRAINT Pk_sv PRIMARY KEY NOT NULL, InfoValue integer, InfoName $T,"
    " Falg integer, InfoDefine $T, InfoDefine1 $T, InfoDefine2 integer, InfoDefine3 integer, IntoNote $T)",
    "create table SimpleValue(KeyName $T CONSTRAINT Pk_sv PRIMARY KEY NOT NULL, KeyValue $T)",
    "create table NextKey(cNkPrefix $T not null, cNkMonth $T not null, iNkNextKey integer,"
    " primary key(cNkPrefix, cNkMonth))",
    "create table TablesID(TableName $T primary key not null, NextID integer)",
    "create table syslog(SysLogID integer primary key, UserName $T, MachineName $T, MachineIP $T, OpTime $T,"
    " OpModule $T)",
    "create table Operator(OperatorID integer primary key, cUserName $T not null unique, cPassword $T,"
    " bSuper boolean default 0, cRight $T, cType $T, cDepCode $T, cClass $T, cWhCode $T)",
    "create table Purview(PurviewID integer primary key, cPurviewName $T, PurviewGID integer, iType integer)",
    "create table PurviewG(PurviewGID integer primary key, cGroupName $T)",
    "create table dict(cName $T, cNameCh $T)",
    "create table dicts(cName $T, cFieldName $T, cFieldNamech $T, bVisable boolean default 0)",
    "create table account(cBeginDate $T, cEndDate $T)",
    "create table company(name $T, address $T, postcode $T, phone $T, bank $T, accountname $T, accountnum $T,"
    " taxnum $T)",
    "create table winbg(WinBgID integer primary key, BmpImage blob, iFlag $F)",
    "create table report(ReportID integer primary key, ReportCID integer, name $T, sample blob, template blob)",
    // The shared base of the scratch table; computations work in per-connection temp copies.
    "create table TmpTable(HostName $T, StoreID integer, cInvCode $T, ColorID integer, SizeID integer, iNum real,"
    " VendorID integer, CustomerID integer, iFlag integer, iNum1 real, iMoney1 real, iMoney2 real, iMoney3 real,"
    " iPrice1 real, EmployName $T, VIPCardID $T, cInvCCode $T, cArCode $T)",
    "create table tmptablepss(HostName $T, StoreID integer, cInvCode $T, ColorID integer, SizeID integer,"
    " iNum real, VendorID integer, CustomerID integer, iFlag integer, iNum1 real, iMoney1 real, iMoney2 real,"
    " iMoney3 real, iPrice1 real)",
};

const char *const kMasterTables[] = {
    "create table Inventory(InventoryID integer primary key, InventoryCID integer, cInvCode $T not null unique,"
    " cInvAddCode $T, cInvName $T, cInvStd $T, cInvUnit $T, BrandID integer, cInvBarCode $T, cInvPosition $T,"
    " iInvTaxRate $M, iInvWeight $M, AreaID integer, iInvIPrice $M, iInvOPrice $M, iInvCPrice $M, iInvPrice $M,"
    " iInvPriceA $M, iInvPriceB $M, iInvSNum $M, iInvHNum $M, iInvLNum $M, cInvABC $T, iInvStatus $F,"
    " iInvTag $F, bClosed boolean default 0, cInvDefine1 $T, cInvDefine2 $T, cInvDefine3 $T, iInvDefine1 $M,"
    " iInvDefine2 $M, iInvDefine3 $M, SizeGID integer, ColorGID integer)",
    "create table InventoryC(InventoryCID integer primary key, cInvCCode $T, cInvCName $T)",
    "create table Color(ColorID integer primary key, ItemNo integer, Name $T, BarCode $T, ColorValue integer)",
    "create table ColorGroup(InventoryID integer, ColorID integer)",
    "create table SizeTable(SizeID integer primary key, ItemNo integer, Name $T, BarCode $T)",
    "create table SizeG(SizeGID integer primary key, Name $T, bFlag boolean default 0)",
    "create table SizeGD(SizeGID integer not null, SizeID integer not null, primary key(SizeGID, SizeID))",
    "create table Unit(cUnName $T primary key not null)",
    "create table Brand(BrandID integer primary key, cBraName $T)",
    "create table Area(AreaID integer primary key, cArCode $T, cArName $T)",
    "create table Department(DepartmentID integer primary key, cDepCode $T, cDepName $T, cDepPerson $T,"
    " cDepPhone $T, cDepAddress $T, cDepMemo $T)",
    "create table Store(StoreID integer primary key, DepartmentID integer, AreaID integer, cStoName $T,"
    " cStoAddress $T, cStoPhone $T, iStoDeduct $M, cStoValueStyle $T, bStoDefaultFlag boolean default 0,"
    " cStoMemo $T)",
    "create table Vendor(VendorID integer primary key, cVenCode $T, cVenShortName $T, cVenName $T, AreaID integer,"
    " cVenPerson $T, cVenPhone $T, cVenFax $T, cVenEmail $T, cVenBP $T, cVenPostCode $T, cVenAddress $T,"
    " cVenHomepage $T, cVenBank $T, cVenAccount $T, cVenTaxCode $T, iVenBMoney $M, iVenDMoney $M, iVenFMoney $M)",
    "create table customerC(CustomerCID integer primary key, cCusCCode $T, cCusCName $T)",
    "create table Customer(CustomerID integer primary key, CustomerCID integer, AreaID integer, cCusCode $T,"
    " cCusName $T, cCusShortName $T, cCusPerson $T, cCusPhone $T, cCusFax $T, cCusEmail $T, cCusBP $T,"
    " cCusPostCode $T, cCusAddress $T, cCusHomepage $T, cCusBank $T, cCusAccount $T, cCusTaxCode $T,"
    " iCusDiscount real default 1, iCusCredit $M, iCusCreditStyle $F, dCusBeginDate date, iCusFMoney $M,"
    " iCusDMoney $M, iCusBMoney $M, cCusMemo $T)",
    "create table Bank(BankID integer primary key, cBankName $T, cBankUserName $T, cBankCode $T)",
    "create table Employ(EmployID integer primary key, name $T, employno $T, sex $T, birthday date, culture $T,"
    " idcard $T, telephone $T, mobile $T, DepartmentID integer, paymoney $M, postcode $T, address $T, nplace $T,"
    " cmemo $T, isoperate $F)",
    "create table VIP(VIPID integer primary key, VIPCardID $T, VIPName $T, VIPPile $F, VIPTelphone $T,"
    " VIPAdress $T)",
    "create table IEType(IETypeID integer primary key, IEType $T, iFlag $F)",
    "create table PayType(PayTypeID integer primary key, name $T)",
    "create table Fee(cFeeName $T, iFeeFlag integer)",
    "create table InvStock(cInvCode $T not null, StoreID integer not null, iInvHnum $M, iInvLnum $M, iInvCnum $M,"
    " primary key(cInvCode, StoreID))",
    "create table iBarcode(cBarcode $T not null primary key, cInvCode $T not null, ColorID integer,"
    " SizeID integer)",
    "create table BarCodeRule(TableName $T, StartPos integer, Digit integer, Used integer)",
    // Derived from audited bills; clustered on its key so the stock of a store reads in order.
    "create table OnHand(StoreID integer not null, cInvCode $T not null, ColorID integer not null,"
    " SizeID integer not null, iNum $M, primary key(StoreID, cInvCode, ColorID, SizeID)) without rowid",
};

const char *const kFinanceTables[] = {
    "create table Pay(PayID integer primary key, cCode $T, dDate date, VendorID integer, iPP $F,"
    " PayTypeID integer, CheckNo $T, BankID integer, iMoney $M, iAddMoney $M, iAppMoney $M, cUserName $T,"
    " cMemo $T, iFlag $F, iReferID $F, iAuditing $F)",
    "create table PayD(PayID integer not null, ItemNo integer not null, PurchaseID integer, iSumMoney $M,"
    " iTotalMoney $M, iMoney $M, primary key(PayID, ItemNo)) without rowid",
    "create table Recieve(RecieveID integer primary key, cCode $T, dDate date, CustomerID integer, iPP $F,"
    " PayTypeID integer, CheckNo $T, BankID integer, iMoney $M, iAddMoney $M, iAppMoney $M, cUserName $T,"
    " cMemo $T, iFlag $F, iReferID $F, iAuditing $F)",
    "create table RecieveD(RecieveID integer not null, ItemNo integer not null, SellID integer, iSumMoney $M,"
    " iTotalMoney $M, iMoney $M, primary key(RecieveID, ItemNo)) without rowid",
    "create table Transfer(TransferID integer primary key, cCode $T, dDate date, outbankid integer,"
    " inbankid integer, imoney $M, checkno $T, cusername $T, cMemo $T, iFlag $F)",
    "create table Expense(ExpenseID integer primary key, cCode $T, dDate date, bankid integer, IETypeID integer,"
    " imoney $M, checkno $T, cusername $T, cMemo $T, iFlag $F)",
    "create table Income(IncomeID integer primary key, cCode $T, dDate date, bankid integer, IETypeID integer,"
    " imoney $M, checkno $T, cusername $T, cMemo $T, iFlag $F)",
};

const char *const kExchangeTables[] = {
    "create table User2Store(username $T primary key not null, password $T, storeid integer, storename $T,"
    " acccode $T)",
    "create table UpedSellTicketID(StoreID integer not null, NativeSellID integer not null, SellID integer,"
    " SellCode $T, primary key(StoreID, NativeSellID))",
    "create table DownDataID(TableName $T, ClientID integer, ServerID integer, StoreID integer,"
    " StoreIDin integer, StoreIDout integer)",
};

const char *const kIndexes[] = {
    "create index Inventory_InventoryCID on Inventory(InventoryCID)",
    "create index Inventory_BrandID on Inventory(BrandID)",
    "create index InventoryC_cInvCCode on InventoryC(cInvCCode)",
    "create index Area_cArCode on Area(cArCode)",
    "create index ColorGroup_InventoryID on ColorGroup(InventoryID, ColorID)",
    "create index Customer_AreaID on Customer(AreaID)",
    "create index Vendor_AreaID on Vendor(AreaID)",
    "create index VIP_VIPCardID on VIP(VIPCardID)",
    "create index InvStock_StoreID on InvStock(StoreID)",
    "create index iBarcode_cInvCode on iBarcode(cInvCode)",
    "create index OnHand_cInvCode on OnHand(cInvCode, ColorID, SizeID)",
    "create index syslog_OpTime on syslog(OpTime)",
    "create index Pay_VendorID on Pay(VendorID, dDate)",
    "create index Pay_dDate on Pay(dDate)",
    "create index PayD_PurchaseID on PayD(PurchaseID)",
    "create index Recieve_CustomerID on Recieve(CustomerID, dDate)",
    "create index Recieve_dDate on Recieve(dDate)",
    "create index RecieveD_SellID on RecieveD(SellID)",
    "create index Transfer_dDate on Transfer(dDate)",
    "create index Expense_dDate on Expense(dDate)",
    "create index Income_dDate on Income(dDate)",
    "create index DownDataID_Client on DownDataID(TableName, ClientID, StoreID)",
};

// The stock bills: a header, a line table (D) and a size table (DS) each, all alike but for
// the columns of this table.
struct StockBill {
    const char *table;
    const char *caption;    // the bill's name in refusal messages
    const char *party;      // the customer or vendor column, indexed; nullptr when none
    const char *header;     // further header columns
    const char *line;       // further line columns
    bool transfer = false;  // StoreIDin and StoreIDout instead of StoreID
    bool opening = false;   // cMonth instead of cCode and dDate
    bool live = true;       // false for the template-only tables nothing reads or writes
};

const char *const kSaleLine = "iBMoney $M, iDiscount real default 1, iCPrice $M, iCMoney $M";

const StockBill kStockBills[] = {
    {"Purchase", "采购入库单", "VendorID", "BillTypeID integer, SizeGID integer, iCash $M, iTotalMoney $M,"
                                           " iCashMoney $M, BankID integer", ""},
    {"PurBack", "采购退货单", "VendorID", "iCash $M, iTotalMoney $M, iCashMoney $M", ""},
    {"Sell", "销售单", "CustomerID", "BillTypeID integer, SizeGID integer, iCash $M, iTotalMoney $M,"
                                     " iCashMoney $M, BankID integer, EmployName $T, VIPCardID $T", kSaleLine},
    {"SellBack", "销售退货单", "CustomerID", "iCash $M, iTotalMoney $M, iCashMoney $M, EmployName $T,"
                                             " VIPCardID $T", kSaleLine},
    {"Adjust", "调拨单", nullptr, "", "", true},
    {"Instore", "入库单", "VendorID", "DepartmentID integer, BillTypeID integer, SizeGID integer", ""},
    {"CheckInv", "盘点单", nullptr, "", ""},
    {"Stock", "初始库存", nullptr, "", "", false, true},
    {"OutStore", "出库单", "CustomerID", "DepartmentID integer, BillTypeID integer, SizeGID integer", "", false, false,
     false},
    {"PurOrder", "采购订单", "VendorID", "BillTypeID integer, SizeGID integer", "", false, false, false},
};

QStringList StockBillStatements(const StockBill &b)
{
    const QString t = QLatin1String(b.table);
    const QString key = t + QStringLiteral("ID");
    QStringList header{key + QStringLiteral(" integer primary key")};
    header << (b.opening ? QStringLiteral("cMonth $T") : QStringLiteral("cCode $T, dDate date"));
    header << QStringLiteral("cUserName $T");
    header << (b.transfer ? QStringLiteral("StoreIDin integer, StoreIDout integer") : QStringLiteral("StoreID integer"));
    if (b.party)
        header << QLatin1String(b.party) + QStringLiteral(" integer");
    header << QStringLiteral("iNum $M, iMoney $M, cMemo $T, iFlag $F, iReferID $F, iAuditing $F");
    if (*b.header)
        header << QLatin1String(b.header);

    QStringList line{key + QStringLiteral(" integer not null, ItemNo integer not null, cInvCode $T, ColorID integer,"
                                           " iNum $M, iPrice $M, iMoney $M, iTaxRate $M, iReferID $F, iReferItemNo $F")};
    if (*b.line)
        line << QLatin1String(b.line);

    // Lines and size rows are clustered on the bill, so a bill, and the stock of a style through
    // the line index (which carries the bill key and line number with it), read without lookups.
    QStringList sql{
        QStringLiteral("create table %1(%2)").arg(t, header.join(QStringLiteral(", "))),
        QStringLiteral("create table %1D(%2, primary key(%3, ItemNo)) without rowid")
            .arg(t, line.join(QStringLiteral(", ")), key),
        QStringLiteral("create table %1DS(%2 integer not null, ItemNo integer not null, SizeID integer not null, iNum $M,"
                       " primary key(%2, ItemNo, SizeID)) without rowid")
            .arg(t, key),
    };
    if (!b.live)
        return sql;
    sql << QStringLiteral("create index %1D_cInvCode on %1D(cInvCode, ColorID)").arg(t);
    if (b.opening) {
        sql << QStringLiteral("create index %1_cMonth on %1(cMonth, StoreID)").arg(t);
        return sql;
    }
    sql << QStringLiteral("create index %1_dDate on %1(dDate)").arg(t)
        << QStringLiteral("create index %1_iAuditing on %1(iAuditing, dDate)").arg(t)
        << QStringLiteral("create index %1_cCode on %1(cCode)").arg(t);
    if (b.transfer)
        sql << QStringLiteral("create index %1_StoreIDin on %1(StoreIDin, dDate)").arg(t)
            << QStringLiteral("create index %1_StoreIDout on %1(StoreIDout, dDate)").arg(t);
    else
        sql << QStringLiteral("create index %1_StoreID on %1(StoreID, dDate)").arg(t);
    if (b.party)
        sql << QStringLiteral("create index %1_%2 on %1(%2, dDate)").arg(t, QLatin1String(b.party));
    return sql;
}

// --- referential protection -----------------------------------------------------------------

// A master row may not be deleted while rows that mean something without it still point to it.
// The refusal comes from the database, so every path (list windows, imports, the clearing)
// is covered, and its message is the reason the user reads. Rows that merely hang on a master
// row (colour groups, stock limits, barcodes, size-group members) never block: they are
// removed with it. The clearing of all data empties users before what they use, so none of
// these refusals stops it; that is also why the stock table OnHand, emptied last, is not a
// user here.
struct Use {
    QString table;
    QString column;
    QString caption;
};

struct Protection {
    QString master;
    QString key;
    QString what;
    QList<Use> uses;
};

QList<Use> BillUses(const QString &suffix, const QString &column)
{
    QList<Use> uses;
    for (const StockBill &b : kStockBills) {
        if (!b.live)
            continue;
        if (suffix.isEmpty() && b.transfer && column == QLatin1String("StoreID")) {
            uses << Use{QLatin1String(b.table), QStringLiteral("StoreIDin"), QString::fromUtf8(b.caption)}
                 << Use{QLatin1String(b.table), QStringLiteral("StoreIDout"), QString::fromUtf8(b.caption)};
            continue;
        }
        uses << Use{QLatin1String(b.table) + suffix, column, QString::fromUtf8(b.caption)};
    }
    return uses;
}

QList<Protection> Protections()
{
    const QString sale = QStringLiteral("销售单"), saleBack = QStringLiteral("销售退货单");
    const QString purchase = QStringLiteral("采购入库单"), purBack = QStringLiteral("采购退货单");
    return {
        {QStringLiteral("Color"), QStringLiteral("ColorID"), QStringLiteral("颜色"),
         BillUses(QStringLiteral("D"), QStringLiteral("ColorID"))},
        {QStringLiteral("SizeTable"), QStringLiteral("SizeID"), QStringLiteral("尺码"),
         BillUses(QStringLiteral("DS"), QStringLiteral("SizeID"))},
        {QStringLiteral("Inventory"), QStringLiteral("cInvCode"), QStringLiteral("货品"),
         BillUses(QStringLiteral("D"), QStringLiteral("cInvCode"))},
        {QStringLiteral("Store"), QStringLiteral("StoreID"), QStringLiteral("仓库"),
         BillUses(QString(), QStringLiteral("StoreID"))},
        {QStringLiteral("Customer"), QStringLiteral("CustomerID"), QStringLiteral("客户"),
         {{QStringLiteral("Sell"), QStringLiteral("CustomerID"), sale},
          {QStringLiteral("SellBack"), QStringLiteral("CustomerID"), saleBack},
          {QStringLiteral("Recieve"), QStringLiteral("CustomerID"), QStringLiteral("收款单")}}},
        {QStringLiteral("Vendor"), QStringLiteral("VendorID"), QStringLiteral("供应商"),
         {{QStringLiteral("Purchase"), QStringLiteral("VendorID"), purchase},
          {QStringLiteral("PurBack"), QStringLiteral("VendorID"), purBack},
          {QStringLiteral("Instore"), QStringLiteral("VendorID"), QStringLiteral("入库单")},
          {QStringLiteral("Pay"), QStringLiteral("VendorID"), QStringLiteral("付款单")}}},
        {QStringLiteral("Area"), QStringLiteral("AreaID"), QStringLiteral("地区"),
         {{QStringLiteral("Customer"), QStringLiteral("AreaID"), QStringLiteral("客户资料")},
          {QStringLiteral("Vendor"), QStringLiteral("AreaID"), QStringLiteral("供应商资料")},
          {QStringLiteral("Store"), QStringLiteral("AreaID"), QStringLiteral("仓库资料")},
          {QStringLiteral("Inventory"), QStringLiteral("AreaID"), QStringLiteral("货品资料")}}},
        {QStringLiteral("InventoryC"), QStringLiteral("InventoryCID"), QStringLiteral("货品分类"),
         {{QStringLiteral("Inventory"), QStringLiteral("InventoryCID"), QStringLiteral("货品资料")}}},
        {QStringLiteral("customerC"), QStringLiteral("CustomerCID"), QStringLiteral("客户分类"),
         {{QStringLiteral("Customer"), QStringLiteral("CustomerCID"), QStringLiteral("客户资料")}}},
        {QStringLiteral("Brand"), QStringLiteral("BrandID"), QStringLiteral("品牌"),
         {{QStringLiteral("Inventory"), QStringLiteral("BrandID"), QStringLiteral("货品资料")}}},
        {QStringLiteral("Bank"), QStringLiteral("BankID"), QStringLiteral("银行帐户"),
         {{QStringLiteral("Purchase"), QStringLiteral("BankID"), purchase},
          {QStringLiteral("Sell"), QStringLiteral("BankID"), sale},
          {QStringLiteral("Pay"), QStringLiteral("BankID"), QStringLiteral("付款单")},
          {QStringLiteral("Recieve"), QStringLiteral("BankID"), QStringLiteral("收款单")},
          {QStringLiteral("Transfer"), QStringLiteral("outbankid"), QStringLiteral("银行存取款单")},
          {QStringLiteral("Transfer"), QStringLiteral("inbankid"), QStringLiteral("银行存取款单")},
          {QStringLiteral("Expense"), QStringLiteral("bankid"), QStringLiteral("费用开支单")},
          {QStringLiteral("Income"), QStringLiteral("bankid"), QStringLiteral("其它收入单")}}},
        {QStringLiteral("Department"), QStringLiteral("DepartmentID"), QStringLiteral("部门"),
         {{QStringLiteral("Store"), QStringLiteral("DepartmentID"), QStringLiteral("仓库资料")},
          {QStringLiteral("Employ"), QStringLiteral("DepartmentID"), QStringLiteral("员工资料")},
          {QStringLiteral("Instore"), QStringLiteral("DepartmentID"), QStringLiteral("入库单")}}},
        {QStringLiteral("IEType"), QStringLiteral("IETypeID"), QStringLiteral("收支项目"),
         {{QStringLiteral("Expense"), QStringLiteral("IETypeID"), QStringLiteral("费用开支单")},
          {QStringLiteral("Income"), QStringLiteral("IETypeID"), QStringLiteral("其它收入单")}}},
    };
}

// The message is part of the trigger's text; it comes from the table above, never from data.
QString Refusal(const QString &what, const QString &caption, const QString &verb)
{
    return QStringLiteral("该%1已被%2使用，不能%3！").arg(what, caption, verb);
}

QStringList ProtectionTriggers()
{
    QStringList sql;
    for (const Protection &p : Protections()) {
        QStringList body;
        for (const Use &u : p.uses)
            body << QStringLiteral("select raise(abort,'%1') where exists(select 1 from %2 where %3=old.%4);")
                        .arg(Refusal(p.what, u.caption, QStringLiteral("删除")), u.table, u.column, p.key);
        sql << QStringLiteral("create trigger %1_InUse before delete on %1 begin %2 end").arg(p.master, body.join(QLatin1Char(' ')));
    }
    // A style code is how bills name the style: renaming one that bills use would cut them off.
    QStringList body;
    for (const Use &u : BillUses(QStringLiteral("D"), QStringLiteral("cInvCode")))
        body << QStringLiteral("select raise(abort,'%1') where exists(select 1 from %2 where cInvCode=old.cInvCode);")
                    .arg(Refusal(QStringLiteral("款号"), u.caption, QStringLiteral("修改")), u.table);
    sql << QStringLiteral("create trigger Inventory_CodeInUse before update of cInvCode on Inventory"
                          " when new.cInvCode is not old.cInvCode COLLATE NOCASE begin %1 end")
               .arg(body.join(QLatin1Char(' ')));
    // Rows that only describe a master row go with it.
    sql << QStringLiteral("create trigger Inventory_Dependents after delete on Inventory begin"
                          " delete from ColorGroup where InventoryID=old.InventoryID;"
                          " delete from InvStock where cInvCode=old.cInvCode;"
                          " delete from iBarcode where cInvCode=old.cInvCode; end")
        << QStringLiteral("create trigger Color_Dependents after delete on Color begin"
                          " delete from ColorGroup where ColorID=old.ColorID; end")
        << QStringLiteral("create trigger Store_Dependents after delete on Store begin"
                          " delete from InvStock where StoreID=old.StoreID; end")
        << QStringLiteral("create trigger SizeTable_Dependents after delete on SizeTable begin"
                          " delete from SizeGD where SizeID=old.SizeID; end")
        << QStringLiteral("create trigger SizeG_Dependents after delete on SizeG begin"
                          " delete from SizeGD where SizeGID=old.SizeGID; end");
    return sql;
}

// --- seed rows ---------------------------------------------------------------------------------

const char *const kKeyNames[] = {"Purchase", "PurBack", "sell", "SellBack", "adjust", "instore", "checkinv",
                                 "stock", "pay", "recieve", "transfer", "Expense", "income", "Color",
                                 "SizeTable", "SizeG", "Area", "InventoryC", "Inventory", "Store",
                                 "Department", "Brand", "Vendor", "Customer", "Bank", "IEType", "employ",
                                 "VIP", "Operator", "winbg", "syslog", "user2store"};

const char *const kSeedStatements[] = {
    "insert into sysinfo(SysInfoID,InfoValue,InfoName) values(1,14,'数据库版本')",
    "insert into sysinfo(SysInfoID,InfoValue,InfoName) values(2,1,'计价方式')",
    "insert into dict(cName,cNameCh) values('realtimestock','库存汇总表')",
    "insert into dict(cName,cNameCh) values('sell','销售单')",
    "insert into dicts(cName,cFieldName,cFieldNamech,bVisable) values('realtimestock','iprice','吊牌价',0)",
    "insert into dicts(cName,cFieldName,cFieldNamech,bVisable) values('realtimestock','imoney','金额',0)",
    "insert into dicts(cName,cFieldName,cFieldNamech,bVisable) values('realtimestock','icprice','成本价',1)",
    "insert into dicts(cName,cFieldName,cFieldNamech,bVisable) values('realtimestock','icMoney','成本金额',1)",
    "insert into dicts(cName,cFieldName,cFieldNamech,bVisable) values('sell','iprice','单价',0)",
    "insert into dicts(cName,cFieldName,cFieldNamech,bVisable) values('sell','imoney','实收金额',0)",
    "insert into dicts(cName,cFieldName,cFieldNamech,bVisable) values('sell','ibmoney','应收金额',0)",
    "insert into dicts(cName,cFieldName,cFieldNamech,bVisable) values('sell','idiscount','折扣',0)",
    // A usable start: the sizes most clothing is sold in, a default group holding them, one main
    // warehouse, the company row the bills print from, common units and ways of paying.
    "insert into SizeTable(SizeID,ItemNo,Name,BarCode) values(1,1,'S','01'),(2,2,'M','02'),(3,3,'L','03'),"
    "(4,4,'XL','04'),(5,5,'XXL','05'),(6,6,'XXXL','06'),(7,7,'均码','07')",
    "insert into SizeG(SizeGID,Name,bFlag) values(1,'常用尺码',1)",
    "insert into SizeGD(SizeGID,SizeID) select 1,SizeID from SizeTable",
    "insert into Store(StoreID,cStoName,cStoValueStyle,bStoDefaultFlag) values(1,'总仓库','移动加权平均',1)",
    "insert into company(name) values('')",
    "insert into Unit(cUnName) values('件'),('套'),('条'),('双')",
    "insert into PayType(PayTypeID,name) values(1,'现金'),(2,'支票'),(3,'银行转帐'),(4,'刷卡')",
    "insert into report(ReportID,ReportCID,name) values(1,2,'采购汇总表'),(2,3,'销售汇总表'),(3,4,'库存汇总表')",
};

void Seed(const QSqlDatabase &db)
{
    for (const char *sql : kSeedStatements)
        Run(db, QString::fromUtf8(sql));
    for (const char *name : kKeyNames)
        RunParams(db, QStringLiteral("insert into TablesID(TableName,NextID) values(?,1)"), {QLatin1String(name)});
    // Counters start past the keys seeded above.
    Run(db, QStringLiteral("update TablesID set NextID=(select max(SizeID)+1 from SizeTable) where TableName='SizeTable'"));
    Run(db, QStringLiteral("update TablesID set NextID=(select max(SizeGID)+1 from SizeG) where TableName='SizeG'"));
    Run(db, QStringLiteral("update TablesID set NextID=(select max(StoreID)+1 from Store) where TableName='Store'"));
    const QString admin = QStringLiteral("管理员");
    RunParams(db, QStringLiteral("insert into Operator(OperatorID,cUserName,cPassword,bSuper,cRight) values(1,?,?,1,?)"),
              {admin, PasswordHash(admin, QString()), QString(180, QLatin1Char('1'))});
    Run(db, QStringLiteral("update TablesID set NextID=2 where TableName='Operator'"));

    TSimpleValueDB settings(db);
    WriteSimpleValueDefaults(settings);
    TOpData op(db);
    RebuildRightsCatalogue(op);
}

} // namespace

void CreateAccountListDatabase(const QString &file)
{
    WithNewFile(file, [](const QSqlDatabase &db) {
        Run(db, QStringLiteral("create table account(cAccCode $T primary key not null, cAccName $T, cBeginDate $T,"
                               " cEndDate $T, cUnitName $T)"));
    });
}

void CreateAccountSetDatabase(const QString &file)
{
    WithNewFile(file, [](const QSqlDatabase &db) { CreateAccountSetSchema(db); });
}

void CreateAccountSetSchema(const QSqlDatabase &db)
{
    TTransaction transaction(db);
    for (const char *sql : kSystemTables)
        Run(db, QString::fromUtf8(sql));
    for (const char *sql : kMasterTables)
        Run(db, QString::fromUtf8(sql));
    for (const StockBill &bill : kStockBills)
        for (const QString &sql : StockBillStatements(bill))
            Run(db, sql);
    for (const char *sql : kFinanceTables)
        Run(db, QString::fromUtf8(sql));
    for (const char *sql : kExchangeTables)
        Run(db, QString::fromUtf8(sql));
    for (const char *sql : kIndexes)
        Run(db, QString::fromUtf8(sql));
    for (const QString &sql : ProtectionTriggers())
        Run(db, sql);
    Seed(db);
    transaction.commit();
}
