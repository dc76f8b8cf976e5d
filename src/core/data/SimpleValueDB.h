#pragma once
#include <QSqlDatabase>
#include <QString>

// The account set's key/value settings (table SimpleValue).
class TSimpleValueDB {
public:
    explicit TSimpleValueDB(const QSqlDatabase &db);
    QString GetValue(const QString &key) const;
    void SetValue(const QString &key, const QString &value);
    void SetIntValue(const QString &key, int value);
    void CreateTable();

private:
    QSqlDatabase m_db;
};
