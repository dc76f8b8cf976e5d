#include "DataModule.h"
#include "OpData.h"
#include "SqliteStatement.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"

#include <QFileInfo>
#include <QHash>

namespace {

// Users come before what they use, so the refusals that protect master rows never stop the
// clearing.
const char *const kClearedTables[] = {
    "sell", "selld", "sellds", "sellback", "sellbackd", "sellbackds", "instore", "instored", "instoreds",
    "outstore", "outstored", "outstoreds", "purchase", "purchased", "purchaseds", "purorder", "purorderd",
    "purorderds", "purback", "purbackd", "purbackds", "adjust", "adjustd", "adjustds", "checkinv", "checkinvd",
    "checkinvds", "stock", "stockd", "stockds", "pay", "payd", "paytype", "tmptable", "tmptablepss", "syslog",
    "recieve", "recieved", "Transfer", "Income", "Expense", "IeType", "Fee", "nextkey", "customer", "customerC",
    "inventory", "inventoryC", "vendor", "Employ", "color", "brand", "bank", "store", "Department", "unit", "area",
    "company", "account", "onhand"};

const char *const kImportedTables[] = {
    "tablesid", "area", "unit", "Department", "store", "sizetable", "bank", "brand", "color", "Employ", "vendor",
    "inventoryC", "inventory", "customerC", "customer", "nextkey", "Fee", "IeType", "Expense", "Income", "Transfer",
    "paytype", "onhand"};

const QString kDone = QStringLiteral("修复完成！");

// Tables the import leaves as they were, with their keys. Their counters come over with the
// other set's TablesID, which knows nothing of the rows kept here: left alone, the next
// operator, size group, VIP card or background picture would take a key already in use.
struct KeptKey {
    const char *table;
    const char *key;
};
const KeptKey kKeptKeys[] = {
    {"Operator", "OperatorID"}, {"SizeG", "SizeGID"}, {"VIP", "VIPID"}, {"winbg", "WinBgID"}};

// Moves each kept table's counter past its highest key (never back), and gives it a counter
// when the other set had none.
void KeepCountersPastKeptRows(TOpData &op)
{
    for (const KeptKey &k : kKeptKeys) {
        const QString table = QLatin1String(k.table);
        const int next = op.ScalarInt(QStringLiteral("select coalesce(max(%1),0)+1 from %2")
                                          .arg(SqlIdentifier(QLatin1String(k.key)), SqlIdentifier(table)));
        if (op.ScalarInt(QStringLiteral("select count(*) from TablesID where TableName=?"), {table}) == 0)
            op.ExecCommandParams(QStringLiteral("insert into TablesID(TableName,NextID) values(?,?)"), {table, next});
        else
            op.ExecCommandParams(QStringLiteral("update TablesID set NextID=? where TableName=? and "
                                                "(NextID is null or NextID<?)"),
                                 {next, table, next});
    }
}

// Column names of a table as the file declares them, looked up without regard to case.
QHash<QString, QString> TableColumns(const QSqlDatabase &db, const QString &table)
{
    QHash<QString, QString> columns;
    SqliteStatement st(db, QStringLiteral("select name from pragma_table_info(?)"));
    st.bind({table});
    while (st.step()) {
        const QString name = st.rawValue(0).toString();
        columns.insert(name.toLower(), name);
    }
    return columns;
}

// Appends every row of a table of the source file to the same table here, copying the
// columns both have.
void CopyTable(const QSqlDatabase &source, const QSqlDatabase &target, const QString &table)
{
    const QHash<QString, QString> targetColumns = TableColumns(target, table);
    if (targetColumns.isEmpty())
        throw AppError(QStringLiteral("当前帐套中没有表 %1").arg(table));
    SqliteStatement read(source, QStringLiteral("select * from %1").arg(SqlIdentifier(table)));
    QList<int> sourceIndexes;
    QStringList names;
    for (int i = 0; i < read.columnCount(); ++i) {
        const QString name = targetColumns.value(read.columnName(i).toLower());
        if (name.isEmpty() || names.contains(name, Qt::CaseInsensitive))
            continue;
        sourceIndexes << i;
        names << SqlIdentifier(name);
    }
    if (names.isEmpty())
        return;
    SqliteStatement write(target, QStringLiteral("insert into %1(%2) values(%3)")
                                      .arg(SqlIdentifier(table), names.join(QLatin1Char(',')),
                                           QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(','))));
    while (read.step()) {
        QVariantList values;
        for (int i : sourceIndexes)
            values << read.rawValue(i);
        write.reset();
        write.bind(values);
        write.run();
    }
}

} // namespace

void TOpData::ClearAllData()
{
    TTransaction transaction(m_db);
    QStringList statements;
    for (const char *table : kClearedTables)
        statements << QStringLiteral("delete from [%1]").arg(QLatin1String(table));
    // Tables that older sets never had are passed over.
    ExecEach(statements);
    transaction.commit();
}

void TOpData::ImportBaseData(const QString &file)
{
    const QString self = QFileInfo(m_db.databaseName()).canonicalFilePath();
    if (!self.isEmpty() && QFileInfo(file).canonicalFilePath() == self)
        throw AppError(QStringLiteral("不能从当前帐套自身导入基础资料！"));
    CheckDatabaseFile(file);
    const QString name = NewConnectionName(QStringLiteral("qelvo_import_"));
    try {
        const QSqlDatabase source = OpenSqliteConnection(name, file);
        // All or nothing: a failure part-way leaves this set exactly as it was, instead of
        // emptied and half filled.
        TTransaction transaction(m_db);
        ClearAllData();
        ExecEach({QStringLiteral("delete from sizegd"), QStringLiteral("delete from sizetable"),
                  QStringLiteral("delete from tablesid")});
        for (const char *table : kImportedTables) {
            try {
                CopyTable(source, m_db, QLatin1String(table));
            } catch (const AppError &e) {
                throw AppError(QStringLiteral("导入表 %1 时出现错误，数据未作任何改动！\r%2")
                                   .arg(QLatin1String(table), e.message()));
            }
        }
        KeepCountersPastKeptRows(*this);
        transaction.commit();
    } catch (...) {
        CloseSqliteConnection(name);
        throw;
    }
    CloseSqliteConnection(name);
    ShowInfo(QStringLiteral("数据导入成功，请退出程序，然后再进入，以查看效果！"));
}

void TOpData::FillCostPricesFromItems()
{
    TTransaction transaction(m_db);
    ExecCommand(QStringLiteral("update SellD set iCPrice=t2.iInvCPrice from Inventory t2 where SellD.cInvCode=t2.cInvCode"));
    ExecCommand(QStringLiteral("update selld set icmoney=icprice*inum"));
    ExecCommand(QStringLiteral("update SellBackD set iCPrice=t2.iInvCPrice from Inventory t2 where SellBackD.cInvCode=t2.cInvCode"));
    ExecCommand(QStringLiteral("update sellbackd set icmoney=icprice*inum"));
    transaction.commit();
    ShowInfo(kDone);
}

void TOpData::RepairVIPKeyCounter()
{
    if (ScalarInt(QStringLiteral("select count(*) from tablesid where tablename='vip'")) == 0) {
        // Cards may have come in without the counter (imports): the next key starts past them,
        // so that a new card does not collide with one of them.
        ExecCommand(QStringLiteral("INSERT INTO TablesID(TableName, NextID) "
                                   "select 'VIP', coalesce(max(VIPID),0)+1 from VIP"));
    }
    ShowInfo(kDone);
}
