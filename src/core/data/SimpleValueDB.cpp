#include "SimpleValueDB.h"
#include "DataModule.h"
#include "SqliteStatement.h"

TSimpleValueDB::TSimpleValueDB(const QSqlDatabase &db) : m_db(db) {}

QString TSimpleValueDB::GetValue(const QString &key) const
{
    SqliteStatement st(m_db, QStringLiteral("select KeyValue from SimpleValue where KeyName=?"));
    st.bind({key});
    return st.step() ? st.value(0, FieldType::String).toString() : QString();
}

void TSimpleValueDB::SetValue(const QString &key, const QString &value)
{
    // An update first, then an insert only when no row was touched: this works on the table
    // of old sets too, whatever key constraint it carries. Both under one write lock, so two
    // machines setting a new key at once do not both find it missing and collide on the insert.
    TTransaction transaction(m_db);
    SqliteStatement update(m_db, QStringLiteral("update SimpleValue set KeyValue=? where KeyName=?"));
    update.bind({value, key});
    update.run();
    if (update.changes() == 0) {
        SqliteStatement insert(m_db, QStringLiteral("insert into SimpleValue(KeyName,KeyValue) values(?,?)"));
        insert.bind({key, value});
        insert.run();
    }
    transaction.commit();
}

void TSimpleValueDB::SetIntValue(const QString &key, int value) { SetValue(key, QString::number(value)); }

void TSimpleValueDB::CreateTable()
{
    SqliteStatement st(m_db, QStringLiteral("create table SimpleValue(KeyName text(20) COLLATE NOCASE CONSTRAINT Pk_sv "
                                            "PRIMARY KEY NOT NULL,KeyValue text(100) COLLATE NOCASE NOT NULL)"));
    st.run();
}

const QList<SimpleValueDefault> &SimpleValueDefaults()
{
    static const QList<SimpleValueDefault> defaults = {
        {QStringLiteral("PageWidth"), QStringLiteral("105"), 1},
        {QStringLiteral("BtCenter"), QStringLiteral("第&[Page]页共&[Pages]页"), 1},
        {QStringLiteral("BtRight"), QStringLiteral("打印日期：&[LongDate]"), 1},
        {QStringLiteral("Header"), QStringLiteral("打印设置中修改"), 1},
        {QStringLiteral("Line1"), QStringLiteral("打印设置中修改"), 1},
        {QStringLiteral("Line2"), QStringLiteral("打印设置中修改"), 1},
        {QStringLiteral("InvPos"), QStringLiteral("0"), 7},
        {QStringLiteral("InvLength"), QStringLiteral("0"), 7},
        {QStringLiteral("SizePos"), QStringLiteral("0"), 7},
        {QStringLiteral("SizeLength"), QStringLiteral("0"), 7},
        {QStringLiteral("ColorPos"), QStringLiteral("0"), 7},
        {QStringLiteral("ColorLength"), QStringLiteral("0"), 7},
        {QStringLiteral("PricePos"), QStringLiteral("0"), 7},
        {QStringLiteral("PriceLength"), QStringLiteral("0"), 7},
        {QStringLiteral("InvCheck"), QStringLiteral("0"), 7},
        {QStringLiteral("SizeCheck"), QStringLiteral("0"), 7},
        {QStringLiteral("ColorCheck"), QStringLiteral("0"), 7},
        {QStringLiteral("PriceCheck"), QStringLiteral("0"), 7},
        {QStringLiteral("Rule"), QStringLiteral("0"), 8},
        {QStringLiteral("sInvSeparator"), QStringLiteral("*"), 8},
        {QStringLiteral("sSizePos"), QStringLiteral("1"), 8},
        {QStringLiteral("sSizeLength"), QStringLiteral("2"), 8},
        {QStringLiteral("sColorPos"), QStringLiteral("3"), 8},
        {QStringLiteral("sColorLength"), QStringLiteral("2"), 8},
        {QStringLiteral("sPricePos"), QStringLiteral("5"), 8},
        {QStringLiteral("sPriceLength"), QStringLiteral("4"), 8},
        {QStringLiteral("sPriceCheck"), QStringLiteral("1"), 8},
        {QStringLiteral("FontName"), QStringLiteral("宋体"), 11},
        {QStringLiteral("FontSize"), QStringLiteral("9"), 11},
        {QStringLiteral("LineHeight"), QStringLiteral("0"), 11},
    };
    return defaults;
}

void WriteSimpleValueDefaults(TSimpleValueDB &store, int fromVersion)
{
    for (const SimpleValueDefault &d : SimpleValueDefaults())
        if (fromVersion == 0 || d.fromVersion == fromVersion)
            store.SetValue(d.key, d.value);
}
