#include "DbDataSet.h"
#include "DataModule.h"
#include "OpData.h"
#include "SqliteStatement.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"

namespace {

QStringList TableColumns(const QSqlDatabase &db, const QString &table)
{
    SqliteStatement st(db, QStringLiteral("select name from pragma_table_info(?)"));
    st.bind({table});
    QStringList names;
    while (st.step())
        names << st.rawValue(0).toString();
    return names;
}

// Writes a dataset's posted rows to its update table, binding every value.
class TableResolver final : public IRecordResolver {
public:
    TableResolver(const TDbDataSet *owner) : m_owner(owner) {}

    void applyInsert(const TDataSet &ds, const QVector<QVariant> &values) override
    {
        QStringList names, marks;
        QVariantList params;
        for (int i : writable(ds)) {
            if (values.at(i).isNull())
                continue; // leaves the column's default in place
            names << ds.field(i)->fieldName();
            marks << QStringLiteral("?");
            params << values.at(i);
        }
        if (names.isEmpty())
            throw AppError(QStringLiteral("没有可保存的数据！"));
        run(QStringLiteral("insert into %1(%2) values(%3)").arg(table(), names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
            params, false);
    }

    void applyUpdate(const TDataSet &ds, const QVector<QVariant> &values, const QVector<QVariant> &original) override
    {
        QStringList sets;
        QVariantList params;
        for (int i : writable(ds)) {
            if (values.at(i) == original.at(i) && values.at(i).isNull() == original.at(i).isNull())
                continue;
            sets << ds.field(i)->fieldName() + QStringLiteral("=?");
            params << values.at(i);
        }
        if (sets.isEmpty())
            return;
        QString where = keyCondition(ds, original, params);
        run(QStringLiteral("update %1 set %2 where %3").arg(table(), sets.join(QLatin1Char(',')), where), params, true);
    }

    void applyDelete(const TDataSet &ds, const QVector<QVariant> &original) override
    {
        QVariantList params;
        const QString where = keyCondition(ds, original, params);
        run(QStringLiteral("delete from %1 where %2").arg(table(), where), params, true);
    }

private:
    QString table() const { return SqlIdentifier(m_owner->updateTable()); }

    QList<int> writable(const TDataSet &ds)
    {
        if (m_columns.isEmpty())
            m_columns = TableColumns(m_owner->connection(), m_owner->updateTable());
        QList<int> result;
        for (int i = 0; i < ds.fieldCount(); ++i)
            if (ds.field(i)->dataType() != FieldType::DataSet
                && m_columns.contains(ds.field(i)->fieldName(), Qt::CaseInsensitive))
                result << i;
        return result;
    }

    QString keyCondition(const TDataSet &ds, const QVector<QVariant> &original, QVariantList &params) const
    {
        QStringList parts;
        for (const QString &key : m_owner->keyFields()) {
            const TField &f = ds.fieldByName(key);
            if (original.at(f.index()).isNull()) {
                parts << SqlIdentifier(f.fieldName()) + QStringLiteral(" is null");
            } else {
                parts << SqlIdentifier(f.fieldName()) + QStringLiteral("=?");
                params << original.at(f.index());
            }
        }
        if (parts.isEmpty())
            throw AppError(QStringLiteral("数据表“%1”没有指定主键，不能保存！").arg(m_owner->updateTable()));
        return parts.join(QStringLiteral(" and "));
    }

    void run(const QString &sql, const QVariantList &params, bool mustHitOneRow)
    {
        SqliteStatement st(m_owner->connection(), sql);
        st.bind(params);
        st.run();
        if (mustHitOneRow && st.changes() == 0)
            throw AppError(QStringLiteral("找不到要修改的记录，可能已被其他用户修改或删除！"));
    }

    const TDbDataSet *m_owner;
    QStringList m_columns;
};

} // namespace

TDbDataSet::TDbDataSet(QObject *parent) : TDataSet(parent) {}

QSqlDatabase TDbDataSet::connection() const
{
    if (m_db.isValid())
        return m_db;
    if (!App().dm)
        throw AppError(QStringLiteral("数据库没有打开！"));
    return App().dm->database();
}

void TDbDataSet::setCommandText(const QString &sql, const QVariantList &params)
{
    m_sql = sql;
    m_params = params;
}

void TDbDataSet::setUpdateTable(const QString &table, const QStringList &keyFields)
{
    m_table = table;
    m_keys = keyFields;
    setResolver(table.isEmpty() ? nullptr : std::make_shared<TableResolver>(this));
}

void TDbDataSet::open()
{
    SqliteStatement st(connection(), m_sql);
    st.bind(m_params);
    st.fill(*this);
}

void TDbDataSet::requery()
{
    QVariantList key;
    if (active() && !isEmpty())
        for (const QString &k : m_keys)
            key << fieldByName(k).value();
    checkBrowseMode();
    open();
    if (!key.isEmpty() && !locate(m_keys, key))
        first();
}
