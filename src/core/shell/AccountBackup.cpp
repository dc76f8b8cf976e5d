#include "AccountBackup.h"
#include "AccountSets.h"
#include "AppContext.h"
#include "AppError.h"
#include "data/DataModule.h"
#include "data/DatabaseCopy.h"
#include "data/SqliteStatement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString ProposedBackupFileName(const QString &code, const QDate &day)
{
    return code + QLatin1Char('_') + day.toString(QStringLiteral("yyMMdd")) + QStringLiteral("_spData.mdb");
}

void WriteBackupAccountRow(const QSqlDatabase &db, const QString &beginMonth, const QString &closingMonth)
{
    TTransaction transaction(db);
    SqliteStatement clear(db, QStringLiteral("delete from account"));
    clear.run();
    SqliteStatement insert(db, QStringLiteral("insert into account(cbegindate,cenddate) values(?,?)"));
    insert.bind({beginMonth, closingMonth});
    insert.run();
    transaction.commit();
}

void BackupOpenAccountSet(const QString &targetFile)
{
    if (!App().dm || !App().dm->isOpen())
        throw AppError(QStringLiteral("没有打开的帐套！"));
    if (App().beginMonth.isEmpty())
        App().beginMonth = QStringLiteral("2000.01");
    const QSqlDatabase db = App().dm->database();
    WriteBackupAccountRow(db, App().beginMonth, App().closingMonth);
    BackupDatabaseTo(db, targetFile);
}

QString CompactionTempFile(const QString &databaseFile)
{
    return QFileInfo(databaseFile).absolutePath() + QStringLiteral("/EFTemp.~mdb");
}

bool CompactDatabase(const QString &databaseFile)
{
    const QString temp = CompactionTempFile(databaseFile);
    if (QFileInfo::exists(temp) && !QFile::remove(temp))
        return false;
    bool done = false;
    try {
        const QString name = NewConnectionName(QStringLiteral("qelvo_compact_"));
        try {
            QSqlDatabase db = OpenSqliteConnection(name, databaseFile);
            SqliteStatement vacuum(db, QStringLiteral("VACUUM INTO ?"));
            vacuum.bind({temp});
            vacuum.run();
        } catch (...) {
            CloseSqliteConnection(name);
            throw;
        }
        CloseSqliteConnection(name);
        // The compacted copy replaces the content in one transaction on the file itself, so a
        // machine that has the set open sees the old or the new database, never a missing file.
        ReplaceDatabaseContent(databaseFile, temp);
        done = true;
    } catch (const AppError &) {
    }
    QFile::remove(temp);
    return done;
}

QString RotatingBackupFile(const QString &appPath, const QString &code, const QDate &day)
{
    return QDir::cleanPath(appPath + QStringLiteral("/data/backup/")) + QLatin1Char('/') + code + QLatin1Char('_')
        + QString::number(day.day() % 10) + QStringLiteral("_spData.mdb");
}

bool RotatingBackup(const QString &databaseFile, const QString &appPath, const QString &code, const QDate &day)
{
    const QString slot = RotatingBackupFile(appPath, code, day);
    if (!QDir().mkpath(QFileInfo(slot).absolutePath()))
        return false;
    try {
        BackupDatabaseFileTo(databaseFile, slot);
    } catch (const AppError &) {
        return false;
    }
    return true;
}
