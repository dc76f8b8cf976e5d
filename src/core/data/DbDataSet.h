#pragma once
#include "DataSet.h"
#include <QSqlDatabase>

// A dataset over a query whose posts and deletes go straight back to one table, as a live,
// updatable query does: the list and edit windows of reference data share one of these.
// Columns the query computes (not in the table) are shown but never written.
class TDbDataSet : public TDataSet {
    Q_OBJECT
public:
    explicit TDbDataSet(QObject *parent = nullptr);

    // The connection to use; without one, the open account set's.
    void setConnection(const QSqlDatabase &db) { m_db = db; }
    void setCommandText(const QString &sql, const QVariantList &params = {});
    const QString &commandText() const { return m_sql; }
    // The table posts are written to and the columns that find a row in it.
    void setUpdateTable(const QString &table, const QStringList &keyFields);
    const QString &updateTable() const { return m_table; }
    const QStringList &keyFields() const { return m_keys; }

    // Runs the query; fields keep their captions and handlers when the structure is unchanged.
    void open();
    // Runs the query again and returns to the record with the same key when it still exists.
    void requery();

    QSqlDatabase connection() const;

private:
    QString m_sql;
    QVariantList m_params;
    QString m_table;
    QStringList m_keys;
    QSqlDatabase m_db;
};
