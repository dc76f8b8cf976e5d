#include "SimpleValueDB.h"
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
    SqliteStatement st(m_db, QStringLiteral("insert into SimpleValue(KeyName,KeyValue) values(?,?) "
                                            "on conflict(KeyName) do update set KeyValue=excluded.KeyValue"));
    st.bind({key, value});
    st.run();
}

void TSimpleValueDB::SetIntValue(const QString &key, int value) { SetValue(key, QString::number(value)); }

void TSimpleValueDB::CreateTable()
{
    SqliteStatement st(m_db, QStringLiteral("create table SimpleValue(KeyName text(20) COLLATE NOCASE CONSTRAINT Pk_sv "
                                            "PRIMARY KEY NOT NULL,KeyValue text(100) NOT NULL)"));
    st.run();
}
