#pragma once
#include <QSqlDatabase>
#include <QString>

// Copies of account-set databases. A database that may be in use is never copied byte by
// byte: a copy taken halfway through someone's write would be damaged. These go through
// SQLite itself, and a target file is replaced only once the new copy is complete.

// Writes a consistent copy of an open connection's database to a file (replacing it).
// Throws AppError with the database's reason when the copy cannot be made.
void BackupDatabaseTo(const QSqlDatabase &source, const QString &targetFile);
// The same for a database file that this process has not opened (others may have).
void BackupDatabaseFileTo(const QString &sourceFile, const QString &targetFile);
// Replaces the content of a database file, in one transaction on that file, by the content of
// another database file. Connections of other processes see either the old or the new content.
void ReplaceDatabaseContent(const QString &targetFile, const QString &sourceFile);

// Copies a file that nobody has open (a template, a backup) over a target through a scratch
// file beside it: the target is always either the old or the whole new file. False on failure.
bool CopyFileOver(const QString &source, const QString &target);
