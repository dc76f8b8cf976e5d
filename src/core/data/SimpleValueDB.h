#pragma once
#include <QList>
#include <QSqlDatabase>
#include <QString>

// The account set's key/value settings (table SimpleValue).
class TSimpleValueDB {
public:
    explicit TSimpleValueDB(const QSqlDatabase &db);
    // The key's value; empty when the key was never set.
    QString GetValue(const QString &key) const;
    // Updates the key's row, or adds one when there is none.
    void SetValue(const QString &key, const QString &value);
    void SetIntValue(const QString &key, int value);
    void CreateTable();

private:
    QSqlDatabase m_db;
};

// A setting with the value a new or upgraded account set starts with, and the schema version
// whose upgrade step first writes it (settings without a default are never written).
struct SimpleValueDefault {
    QString key;
    QString value;
    int fromVersion;
};
const QList<SimpleValueDefault> &SimpleValueDefaults();
// Writes the defaults introduced by one upgrade step (every default when fromVersion is 0).
void WriteSimpleValueDefaults(TSimpleValueDB &store, int fromVersion = 0);
