#pragma once
#include <QDate>
#include <QSqlDatabase>
#include <QString>

// Copies of account sets: the manual backup, the compaction and the rotating backup at exit.

// The file name proposed for a manual backup: code, "_", the day as "yyMMdd", "_spData.mdb".
QString ProposedBackupFileName(const QString &code, const QDate &day);

// Rewrites an account set's own one-row account table with the months a restore needs.
void WriteBackupAccountRow(const QSqlDatabase &db, const QString &beginMonth, const QString &closingMonth);

// Backs up the open account set (App()) into a file, replacing it. An empty start month
// becomes "2000.01" for the rest of the process. The set stays open; the copy is a consistent
// snapshot even while it is in use. Throws AppError when the copy cannot be made.
void BackupOpenAccountSet(const QString &targetFile);

// The scratch file of the compaction, beside the database.
QString CompactionTempFile(const QString &databaseFile);
// Compacts a database file. Any failure leaves the file as it was and returns false.
bool CompactDatabase(const QString &databaseFile);

// The slot of the rotating backup for a day: appPath/data/backup/<code>_<day of month mod 10>_spData.mdb.
QString RotatingBackupFile(const QString &appPath, const QString &code, const QDate &day);
// Copies an account set into its slot for the day, replacing the copy of ten days earlier.
bool RotatingBackup(const QString &databaseFile, const QString &appPath, const QString &code, const QDate &day);
