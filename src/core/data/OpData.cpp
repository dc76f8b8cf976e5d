#include "OpData.h"
#include "DataModule.h"
#include "SqliteStatement.h"
#include "shell/AppError.h"
#include "shell/SystemInfo.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>

namespace {
const QString kCR = QStringLiteral("\r");

QVariant TypedScalar(const QVariant &raw, ScalarType type)
{
    switch (type) {
    case ScalarType::Text:
        if (raw.isNull())
            return QString();
        if (raw.metaType().id() == QMetaType::Double) {
            const double d = raw.toDouble();
            return d == std::floor(d) && std::fabs(d) < 1e15 ? QString::number(qint64(d)) : QString::number(d, 'g', 15);
        }
        return raw.toString();
    case ScalarType::Integer: {
        if (raw.isNull())
            return 0;
        bool ok = false;
        const double d = raw.metaType().id() == QMetaType::QString ? raw.toString().trimmed().toDouble(&ok)
                                                                  : raw.toDouble(&ok);
        return ok ? int(std::llround(d)) : 0;
    }
    case ScalarType::Float: {
        if (raw.isNull())
            return 0.0;
        bool ok = false;
        const double d = raw.metaType().id() == QMetaType::QString ? raw.toString().trimmed().toDouble(&ok)
                                                                  : raw.toDouble(&ok);
        return ok ? d : 0.0;
    }
    case ScalarType::Untyped:
        break;
    }
    return raw;
}
} // namespace

QString SqlIdentifier(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!plain.match(name).hasMatch())
        throw AppError(QStringLiteral("非法的表名或字段名：") + name);
    return name;
}

TOpData::TOpData(const QSqlDatabase &db) : m_db(db) {}

// --- execution family ------------------------------------------------------------------------

void TOpData::QueryInto(TDataSet &target, const QString &sql, const QVariantList &params)
{
    if (params.isEmpty()) {
        SqliteStatement st(m_db, sql);
        st.fill(target);
        return;
    }
    try {
        SqliteStatement st(m_db, sql);
        st.bind(params);
        st.fill(target);
    } catch (const AppError &e) {
        throw AppError(QStringLiteral("执行有参数有结果集查询时出现错误!") + kCR + e.message());
    }
}

std::unique_ptr<TDataSet> TOpData::QueryData(const QString &sql)
{
    auto ds = std::make_unique<TDataSet>();
    QueryInto(*ds, sql);
    return ds;
}

std::unique_ptr<TDataSet> TOpData::QueryDataParams(const QString &sql, const QVariantList &params)
{
    auto ds = std::make_unique<TDataSet>();
    if (params.isEmpty()) {
        // Prepared and run with no values: still reported as a parameterised query.
        try {
            SqliteStatement st(m_db, sql);
            st.fill(*ds);
        } catch (const AppError &e) {
            throw AppError(QStringLiteral("执行有参数有结果集查询时出现错误!") + kCR + e.message());
        }
        return ds;
    }
    QueryInto(*ds, sql, params);
    return ds;
}

bool TOpData::ExecCommand(const QString &sql)
{
    try {
        SqliteStatement st(m_db, sql);
        st.run();
    } catch (const AppError &e) {
        throw AppError(QStringLiteral("执行无参数无结果集命令时出现错误!") + kCR + e.message());
    }
    return true;
}

bool TOpData::ExecCommandParams(const QString &sql, const QVariantList &params)
{
    try {
        SqliteStatement st(m_db, sql);
        st.bind(params);
        st.run();
    } catch (const AppError &e) {
        throw AppError(QStringLiteral("执行有参数无结果集命令时出现错误!") + kCR + e.message());
    }
    return true;
}

int TOpData::ExecEach(const QStringList &statements)
{
    int failed = 0;
    for (const QString &sql : statements) {
        try {
            SqliteStatement st(m_db, sql);
            st.run();
        } catch (const AppError &) {
            ++failed;
        }
    }
    return failed;
}

QVariant TOpData::GetScalar(const QString &sql, ScalarType type) { return GetScalarParams(sql, {}, type); }

QVariant TOpData::GetScalarParams(const QString &sql, const QVariantList &params, ScalarType type)
{
    SqliteStatement st(m_db, sql);
    st.bind(params);
    QVariant raw;
    if (st.step() && st.columnCount() > 0)
        raw = st.columnDeclared(0) ? st.value(0, st.columnType(0)) : st.rawValue(0);
    return TypedScalar(raw, type);
}

QString TOpData::ScalarText(const QString &sql, const QVariantList &params)
{
    return GetScalarParams(sql, params, ScalarType::Text).toString();
}

int TOpData::ScalarInt(const QString &sql, const QVariantList &params)
{
    return GetScalarParams(sql, params, ScalarType::Integer).toInt();
}

double TOpData::ScalarFloat(const QString &sql, const QVariantList &params)
{
    return GetScalarParams(sql, params, ScalarType::Float).toDouble();
}

// --- keys and log ------------------------------------------------------------------------------

QString TOpData::GetNextBillCode(const QString &prefix, const QString &month)
{
    // The whole read-increment-write, including the first row of a month, is one transaction
    // begun with the write lock, so two processes never draw the same number.
    TTransaction transaction(m_db);
    const QVariantList key{prefix, month};
    const int count = ScalarInt(QStringLiteral("select count(*) from NextKey where (cNkPrefix=?) and (cNkMonth=?)"), key);
    if (count == 0)
        ExecCommandParams(QStringLiteral("insert into NextKey(cNkPrefix,cNkMonth,iNkNextKey) values(?,?,?)"),
                          {prefix, month, 1});
    const QVariant stored = GetScalarParams(
        QStringLiteral("select iNkNextKey from NextKey where (cNkPrefix=?) and (cNkMonth=?)"), key, ScalarType::Untyped);
    const QString text = TypedScalar(stored, ScalarType::Text).toString();
    const int n = TypedScalar(stored, ScalarType::Integer).toInt();
    ExecCommandParams(QStringLiteral("update NextKey set iNkNextKey=? where (cNkPrefix=?) and (cNkMonth=?)"),
                      {n + 1, prefix, month});
    transaction.commit();
    return prefix + month + text.rightJustified(4, QLatin1Char('0'));
}

QString TOpData::GetNextBillCode(const QString &prefix)
{
    return GetNextBillCode(prefix, QDate::currentDate().toString(QStringLiteral("yyMM")));
}

int TOpData::GetNextID(const QString &tableName)
{
    TTransaction transaction(m_db);
    SqliteStatement read(m_db, QStringLiteral("select NextID from TablesID where TableName=?"));
    read.bind({tableName});
    if (!read.step()) {
        // No counter for this name: the row the engine would add has no table name, which the
        // database refuses; the error reaches the caller and nothing is stored.
        SqliteStatement add(m_db, QStringLiteral("insert into TablesID(NextID) values(1)"));
        add.run();
        throw AppError(QStringLiteral("TablesID 中没有 %1 的记录").arg(tableName));
    }
    const int n = read.value(0, FieldType::Integer).toInt();
    SqliteStatement write(m_db, QStringLiteral("update TablesID set NextID=? where TableName=?"));
    write.bind({n + 1, tableName});
    write.run();
    transaction.commit();
    return n;
}

void TOpData::WriteSysLog(const QString &userName, const QString &module)
{
    // The key and its row in one transaction: one write to the disk instead of two for every
    // window opened, and no key taken for a row that was never stored.
    TTransaction transaction(m_db);
    const int id = GetNextID(QStringLiteral("syslog"));
    ExecCommandParams(
        QStringLiteral("INSERT INTO syslog(SysLogID,UserName,MachineName,MachineIP,OpTime,OpModule) VALUES(?,?,?,?,?,?)"),
        {id, userName, ComputerName(), LocalIP(),
         QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd HH:mm:ss")), module});
    transaction.commit();
}

// --- loaders -------------------------------------------------------------------------------------

static QString Indent(const QString &code) { return QString(std::max<qsizetype>(0, code.size() - 2), QLatin1Char(' ')); }

void TOpData::LoadStrings(const QString &sql, const QString &column, QStringList &list)
{
    list.clear();
    auto ds = QueryData(sql);
    TField &f = ds->fieldByName(column);
    for (ds->first(); !ds->eof(); ds->next())
        list << f.asString();
}

void TOpData::LoadObjects(const QString &sql, const QString &keyColumn, KeyItemList &list, const QString &displayColumn)
{
    list.clear();
    auto ds = QueryData(sql);
    TField &key = ds->fieldByName(keyColumn);
    TField &display = ds->fieldByName(displayColumn);
    for (ds->first(); !ds->eof(); ds->next())
        list << KeyItem{display.asString(), key.asInteger()};
}

void TOpData::LoadKeyItems(const QString &sql, const QString &keyColumn, QStringList &keys, KeyItemList &display,
                           const QString &displayColumn)
{
    keys.clear();
    display.clear();
    auto ds = QueryData(sql);
    TField &key = ds->fieldByName(keyColumn);
    TField &text = ds->fieldByName(displayColumn);
    for (ds->first(); !ds->eof(); ds->next()) {
        display << KeyItem{text.asString(), key.asInteger()};
        keys << QString::number(key.asInteger());
    }
}

void TOpData::LoadTreeKeyItems(const QString &sql, const QString &keyColumn, QStringList &keys, KeyItemList &display,
                               const QString &codeColumn, const QString &nameColumn)
{
    keys.clear();
    display.clear();
    auto ds = QueryData(sql);
    TField &key = ds->fieldByName(keyColumn);
    TField &code = ds->fieldByName(codeColumn);
    TField &name = ds->fieldByName(nameColumn);
    for (ds->first(); !ds->eof(); ds->next()) {
        display << KeyItem{Indent(code.asString()) + name.asString(), key.asInteger()};
        keys << QString::number(key.asInteger());
    }
}

void TOpData::LoadTreeObjects(const QString &sql, const QString &nameColumn, KeyItemList &list, const QString &codeColumn)
{
    list.clear();
    auto ds = QueryData(sql);
    TField &code = ds->fieldByName(codeColumn);
    TField &name = ds->fieldByName(nameColumn);
    for (ds->first(); !ds->eof(); ds->next())
        list << KeyItem{Indent(code.asString()) + name.asString(), code.asString().toInt()};
}

void TOpData::LoadOperatorNames(QStringList &list) { LoadStrings(QStringLiteral("select cUserName from Operator"), QStringLiteral("cUserName"), list); }
void TOpData::LoadPurviewGroupNames(QStringList &list) { LoadStrings(QStringLiteral("select cGroupName from PurviewG order by PurviewGID"), QStringLiteral("cGroupName"), list); }
void TOpData::LoadSizeObjects(KeyItemList &list) { LoadObjects(QStringLiteral("select * from sizetable order by itemno"), QStringLiteral("sizeid"), list, QStringLiteral("name")); }
void TOpData::LoadSizeKeyItems(QStringList &keys, KeyItemList &display) { LoadKeyItems(QStringLiteral("select * from sizetable order by itemno"), QStringLiteral("sizeid"), keys, display, QStringLiteral("name")); }
void TOpData::LoadSizeObjectsNarrow(KeyItemList &list) { LoadObjects(QStringLiteral("select sizeid,name from sizetable order by itemno"), QStringLiteral("SizeID"), list, QStringLiteral("Name")); }
void TOpData::LoadSizeGroups(QStringList &keys, KeyItemList &display) { LoadKeyItems(QStringLiteral("select * from SizeG order by SizeGID"), QStringLiteral("SizeGID"), keys, display, QStringLiteral("Name")); }
void TOpData::LoadSizesOfGroup(int sizeGroupId, QStringList &list)
{
    list.clear();
    auto ds = QueryDataParams(QStringLiteral("select sizeid from sizegd where sizegid=?"), {sizeGroupId});
    for (ds->first(); !ds->eof(); ds->next())
        list << ds->fieldByName(QStringLiteral("SizeID")).asString();
}
void TOpData::LoadAreas(QStringList &keys, KeyItemList &display) { LoadTreeKeyItems(QStringLiteral("select * from Area order by cArCode"), QStringLiteral("AreaID"), keys, display, QStringLiteral("cArCode"), QStringLiteral("cArName")); }
void TOpData::LoadAreaObjects(KeyItemList &list) { LoadTreeObjects(QStringLiteral("select * from Area order by cArCode"), QStringLiteral("cArName"), list, QStringLiteral("cArCode")); }
void TOpData::LoadDepartments(QStringList &keys, KeyItemList &display) { LoadKeyItems(QStringLiteral("select * from Department"), QStringLiteral("DepartmentID"), keys, display, QStringLiteral("cDepName")); }
void TOpData::LoadColors(QStringList &keys, KeyItemList &display) { LoadKeyItems(QStringLiteral("select * from Color order by name"), QStringLiteral("ColorID"), keys, display, QStringLiteral("Name")); }
void TOpData::LoadColorObjects(KeyItemList &list) { LoadObjects(QStringLiteral("select * from Color order by name"), QStringLiteral("ColorID"), list, QStringLiteral("Name")); }
void TOpData::LoadInventoryCs(QStringList &keys, KeyItemList &display) { LoadTreeKeyItems(QStringLiteral("select * from InventoryC order by cInvCCode"), QStringLiteral("InventoryCID"), keys, display, QStringLiteral("cInvCCode"), QStringLiteral("cInvCName")); }
void TOpData::LoadInventoryCObjects(KeyItemList &list) { LoadTreeObjects(QStringLiteral("select * from InventoryC order by cInvCCode"), QStringLiteral("cInvCName"), list, QStringLiteral("cInvCCode")); }
void TOpData::LoadUnits(QStringList &list) { LoadStrings(QStringLiteral("select * from Unit"), QStringLiteral("cUnName"), list); }
void TOpData::LoadStores(QStringList &keys, KeyItemList &display) { LoadKeyItems(QStringLiteral("select * from Store order by StoreID"), QStringLiteral("StoreID"), keys, display, QStringLiteral("cStoName")); }
void TOpData::LoadStoreObjects(KeyItemList &list) { LoadObjects(QStringLiteral("select * from Store order by StoreID"), QStringLiteral("StoreID"), list, QStringLiteral("cStoName")); }
void TOpData::LoadVendors(QStringList &keys, KeyItemList &display) { LoadKeyItems(QStringLiteral("select * from vendor order by vendorID"), QStringLiteral("VendorID"), keys, display, QStringLiteral("cVenName")); }
void TOpData::LoadVendorObjects(KeyItemList &list) { LoadObjects(QStringLiteral("select * from vendor order by vendorID"), QStringLiteral("VendorID"), list, QStringLiteral("cVenName")); }
void TOpData::LoadCustomers(QStringList &keys, KeyItemList &display) { LoadKeyItems(QStringLiteral("select * from customer order by customerID"), QStringLiteral("customerID"), keys, display, QStringLiteral("cCusShortName")); }
void TOpData::LoadCustomerObjects(KeyItemList &list) { LoadObjects(QStringLiteral("select * from customer order by customerID"), QStringLiteral("customerID"), list, QStringLiteral("cCusShortName")); }
void TOpData::LoadBrands(QStringList &keys, KeyItemList &display) { LoadKeyItems(QStringLiteral("select * from brand order by brandID"), QStringLiteral("brandID"), keys, display, QStringLiteral("cBraName")); }
void TOpData::LoadBrandObjects(KeyItemList &list) { LoadObjects(QStringLiteral("select * from brand order by brandID"), QStringLiteral("brandID"), list, QStringLiteral("cBraName")); }
void TOpData::LoadEmployNames(QStringList &list) { LoadStrings(QStringLiteral("select * from Employ order by name"), QStringLiteral("name"), list); }
void TOpData::LoadVIPCards(QStringList &list) { LoadStrings(QStringLiteral("select * from VIP order by VIPCardID"), QStringLiteral("VIPCardID"), list); }
void TOpData::LoadBanks(QStringList &keys, KeyItemList &display) { LoadKeyItems(QStringLiteral("select * from bank order by bankID"), QStringLiteral("bankid"), keys, display, QStringLiteral("cbankname")); }
void TOpData::LoadIETypes(int flag, QStringList &keys, KeyItemList &display)
{
    keys.clear();
    display.clear();
    auto ds = QueryDataParams(QStringLiteral("select * from IEType where iflag=? order by IETypeID"), {flag});
    for (ds->first(); !ds->eof(); ds->next()) {
        const int key = ds->fieldByName(QStringLiteral("IETypeID")).asInteger();
        display << KeyItem{ds->fieldByName(QStringLiteral("IEType")).asString(), key};
        keys << QString::number(key);
    }
}
void TOpData::LoadPayTypes(QStringList &keys, KeyItemList &display) { LoadKeyItems(QStringLiteral("select * from paytype order by paytypeid"), QStringLiteral("paytypeid"), keys, display, QStringLiteral("name")); }
void TOpData::LoadReportTemplates(int reportCategory, KeyItemList &list)
{
    list.clear();
    auto ds = QueryDataParams(QStringLiteral("select * from report where reportcid=? order by reportid"), {reportCategory});
    for (ds->first(); !ds->eof(); ds->next())
        list << KeyItem{ds->fieldByName(QStringLiteral("name")).asString(), ds->fieldByName(QStringLiteral("reportid")).asInteger()};
}
void TOpData::LoadInventoryCodes(QStringList &list) { LoadStrings(QStringLiteral("select cinvcode from inventory order by cinvcode"), QStringLiteral("cInvCode"), list); }

std::unique_ptr<TDataSet> TOpData::ItemListPacket()
{
    return QueryData(QStringLiteral("select cInvCode,cInvName,cInvUnit,InventoryCID from Inventory order by brandid,cInvCode"));
}

std::unique_ptr<TDataSet> TOpData::CustomerListPacket()
{
    return QueryData(QStringLiteral("select customerid,ccusname from customer order by customerid"));
}

std::unique_ptr<TDataSet> TOpData::BillIdPacket(const QString &keyColumn, const QString &table)
{
    const QString key = SqlIdentifier(keyColumn);
    return QueryData(QStringLiteral("select %1 as id from %2 order by %1").arg(key, SqlIdentifier(table)));
}

std::unique_ptr<TDataSet> TOpData::AccountStoresPacket(const QString &accCode)
{
    return QueryDataParams(QStringLiteral("select storeid,storename as cstoname from user2store where acccode=?"), {accCode});
}
