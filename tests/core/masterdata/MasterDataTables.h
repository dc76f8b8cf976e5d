#pragma once
#include "data/OpData.h"

// The reference tables these tests need, for account sets made before the full schema existed;
// tables that are already there are left as they are.
inline void EnsureMasterDataTables(TOpData &op)
{
    const char *tables[] = {
        "create table if not exists Color(ColorID integer primary key,ItemNo integer,Name text(50) COLLATE NOCASE,"
        "BarCode text(50) COLLATE NOCASE,ColorValue integer)",
        "create table if not exists Unit(cUnName text(50) COLLATE NOCASE primary key)",
        "create table if not exists Department(DepartmentID integer primary key,cDepCode text(50) COLLATE NOCASE,"
        "cDepName text(50) COLLATE NOCASE,cDepPerson text(50) COLLATE NOCASE,cDepPhone text(50) COLLATE NOCASE,"
        "cDepAddress text(100) COLLATE NOCASE,cDepMemo text(100) COLLATE NOCASE)",
        "create table if not exists Store(StoreID integer primary key,DepartmentID integer,AreaID integer,"
        "cStoName text(50) COLLATE NOCASE,cStoAddress text(100) COLLATE NOCASE,cStoPhone text(50) COLLATE NOCASE,"
        "iStoDeduct double,cStoValueStyle text(50) COLLATE NOCASE,bStoDefaultFlag boolean,cStoMemo text(100) COLLATE NOCASE)",
        "create table if not exists Bank(BankID integer primary key,cBankName text(50) COLLATE NOCASE,"
        "cBankUserName text(50) COLLATE NOCASE,cBankCode text(50) COLLATE NOCASE)",
        "create table if not exists Brand(BrandID integer primary key,cBraName text(50) COLLATE NOCASE)",
        "create table if not exists Vendor(VendorID integer primary key,cVenCode text(50) COLLATE NOCASE,"
        "cVenShortName text(50) COLLATE NOCASE,cVenName text(100) COLLATE NOCASE,AreaID integer,"
        "cVenPerson text(50) COLLATE NOCASE,cVenPhone text(50) COLLATE NOCASE,cVenFax text(50) COLLATE NOCASE,"
        "cVenEmail text(50) COLLATE NOCASE,cVenBP text(50) COLLATE NOCASE,cVenPostCode text(50) COLLATE NOCASE,"
        "cVenAddress text(100) COLLATE NOCASE,cVenHomepage text(100) COLLATE NOCASE,cVenBank text(50) COLLATE NOCASE,"
        "cVenAccount text(50) COLLATE NOCASE,cVenTaxCode text(50) COLLATE NOCASE,iVenBMoney double default 0,"
        "iVenDMoney double default 0,iVenFMoney double default 0)",
        "create table if not exists Customer(CustomerID integer primary key,CustomerCID integer,AreaID integer,"
        "cCusCode text(50) COLLATE NOCASE,cCusName text(100) COLLATE NOCASE,cCusShortName text(50) COLLATE NOCASE,"
        "cCusPerson text(50) COLLATE NOCASE,cCusPhone text(50) COLLATE NOCASE,cCusFax text(50) COLLATE NOCASE,"
        "cCusEmail text(50) COLLATE NOCASE,cCusBP text(50) COLLATE NOCASE,cCusPostCode text(50) COLLATE NOCASE,"
        "cCusAddress text(100) COLLATE NOCASE,cCusHomepage text(100) COLLATE NOCASE,cCusBank text(50) COLLATE NOCASE,"
        "cCusAccount text(50) COLLATE NOCASE,cCusTaxCode text(50) COLLATE NOCASE,iCusDiscount double,"
        "iCusCredit double,iCusCreditStyle integer,dCusBeginDate date,iCusFMoney double default 0,"
        "iCusDMoney double default 0,iCusBMoney double default 0,cCusMemo text(100) COLLATE NOCASE)",
        "create table if not exists Employ(EmployID integer primary key,name text(50) COLLATE NOCASE,"
        "employno text(50) COLLATE NOCASE,sex text(10) COLLATE NOCASE,birthday date,culture text(20) COLLATE NOCASE,"
        "idcard text(50) COLLATE NOCASE,telephone text(50) COLLATE NOCASE,mobile text(50) COLLATE NOCASE,"
        "DepartmentID integer,paymoney double,postcode text(20) COLLATE NOCASE,address text(100) COLLATE NOCASE,"
        "nplace text(50) COLLATE NOCASE,cmemo text(100) COLLATE NOCASE,isoperate integer)",
        "create table if not exists VIP(VIPID integer primary key,VIPCardID text(50) COLLATE NOCASE,"
        "VIPName text(50) COLLATE NOCASE,VIPPile integer,VIPTelphone text(50) COLLATE NOCASE,VIPAdress text(50) COLLATE NOCASE)",
        "create table if not exists IEType(IETypeID integer primary key,IEType text(50) COLLATE NOCASE,iFlag integer)",
        "create table if not exists Fee(cFeeName text(50) COLLATE NOCASE,iFeeFlag integer)",
        "create table if not exists Area(AreaID integer primary key,cArCode text(50) COLLATE NOCASE,cArName text(50) COLLATE NOCASE)",
        "create table if not exists InventoryC(InventoryCID integer primary key,cInvCCode text(50) COLLATE NOCASE,"
        "cInvCName text(50) COLLATE NOCASE)",
    };
    for (const char *sql : tables)
        op.ExecCommand(QString::fromUtf8(sql));
    for (const char *name : {"Color", "Department", "Store", "Bank", "Brand", "Vendor", "Customer", "employ", "VIP",
                             "IEType", "Area", "InventoryC", "syslog"})
        op.ExecCommandParams(QStringLiteral("insert or ignore into TablesID(TableName,NextID) values(?,1)"),
                             {QString::fromUtf8(name)});
}
