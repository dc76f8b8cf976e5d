#pragma once
#include "DataSet.h"
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement on a connection's raw handle: values are always bound, never pasted
// into the text. Column types come from the declared types of the schema, so dates, yes/no
// and money columns arrive typed.
class SqliteStatement {
public:
    SqliteStatement(const QSqlDatabase &db, const QString &sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    void bind(const QVariantList &params);
    // Steps once; true when a row is ready.
    bool step();
    // Runs to the end, for statements without a result.
    void run();
    void reset();
    int columnCount() const;
    QString columnName(int i) const;
    FieldType columnType(int i) const;      // from the declared type; String when undeclared
    bool columnDeclared(int i) const;
    QVariant value(int i, FieldType type) const;
    QVariant rawValue(int i) const;          // as SQLite holds it
    int changes() const;

    // Fills a dataset with the whole result: one field per column, every row.
    void fill(TDataSet &target);

private:
    [[noreturn]] void fail(const QString &what) const;
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    QString m_sql;
};

FieldType FieldTypeFromDeclared(const QString &declared);
QVariant ToBindable(const QVariant &value);
