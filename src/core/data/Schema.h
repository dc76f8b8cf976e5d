#pragma once
#include <QSqlDatabase>
#include <QString>

// The two kinds of database file: the account-set list (spsys.mdb) and an account set
// (spData.mdb). Both are SQLite files made by the program itself.

// The schema version that the upgrade chain brings every account set to.
constexpr int kCurrentSchemaVersion = 14;

// Creates a new account-set list file with its one table. Fails when the file exists.
void CreateAccountListDatabase(const QString &file);
// Creates a new account-set database with every table, index and seed row, at the current
// schema version. Fails when the file exists.
void CreateAccountSetDatabase(const QString &file);
// Creates every table, index and seed row on an open, empty connection.
void CreateAccountSetSchema(const QSqlDatabase &db);
