#pragma once
#include <QSqlDatabase>
#include <QString>

struct sqlite3;

// The data module: the one database connection of the process. Its connection is closed
// until an account set is opened, and every opening replaces the file it points to.
class TDM {
public:
    TDM();
    ~TDM();
    TDM(const TDM &) = delete;
    TDM &operator=(const TDM &) = delete;

    // Closes the current file and opens another account-set database. A missing file is an
    // error (SQLite would otherwise make an empty one).
    void openDatabase(const QString &file);
    void close();
    bool isOpen() const;
    QString databaseFile() const { return m_file; }
    QSqlDatabase database() const;
    QString connectionName() const { return m_name; }

private:
    QString m_name;
    QString m_file;
};

// Opens a connection of its own to a database file with the system's settings and functions.
// With mustExist the file has to be there already. Throws AppError on failure.
QSqlDatabase OpenSqliteConnection(const QString &connectionName, const QString &file, bool mustExist = true);
// Closes and removes a connection opened with OpenSqliteConnection.
void CloseSqliteConnection(const QString &connectionName);

// The raw handle of an open QSQLITE connection.
sqlite3 *SqliteHandle(const QSqlDatabase &db);

// Runs "PRAGMA quick_check" on a file that came from elsewhere; throws AppError when damaged.
void CheckDatabaseFile(const QString &file);

// A unique connection name for short-lived extra connections.
QString NewConnectionName(const QString &prefix);

// A transaction on a connection: BEGIN IMMEDIATE (the write lock up front, so two processes
// never interleave a read-increment-write), nested ones become savepoints. Rolled back when
// destroyed without commit().
class TTransaction {
public:
    explicit TTransaction(const QSqlDatabase &db);
    ~TTransaction();
    TTransaction(const TTransaction &) = delete;
    TTransaction &operator=(const TTransaction &) = delete;
    void commit();
    void rollback();

private:
    QSqlDatabase m_db;
    int m_level = 0;
    bool m_done = false;
};
