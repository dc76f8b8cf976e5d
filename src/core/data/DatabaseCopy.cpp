#include "DatabaseCopy.h"
#include "DataModule.h"
#include "shell/AppError.h"

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <filesystem>
#include <sqlite3.h>

namespace {

// A raw connection for the copy: it must not create a file where none was asked for.
class RawConnection {
public:
    RawConnection(const QString &file, int flags)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, flags, nullptr);
        if (rc != SQLITE_OK) {
            const QString reason = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
            sqlite3_close(m_db);
            m_db = nullptr;
            throw AppError(reason + QStringLiteral("：") + file);
        }
        sqlite3_busy_timeout(m_db, 30000);
    }
    ~RawConnection() { sqlite3_close(m_db); }
    RawConnection(const RawConnection &) = delete;
    RawConnection &operator=(const RawConnection &) = delete;
    sqlite3 *handle() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
};

// Copies every page of source's main database into destination's, all in one step, so the
// copy is a single snapshot of the source. Busy locks of other processes are waited out, but
// for a bounded time in all: each step may itself wait for the destination's busy time-out,
// and a program closing on a set that other machines keep busy must not hang for hours.
void CopyPages(sqlite3 *source, sqlite3 *destination)
{
    constexpr qint64 kMaxWaitMs = 60000;
    sqlite3_backup *backup = sqlite3_backup_init(destination, "main", source, "main");
    if (!backup)
        throw AppError(QString::fromUtf8(sqlite3_errmsg(destination)));
    QElapsedTimer waited;
    waited.start();
    int rc = SQLITE_OK;
    for (;;) {
        rc = sqlite3_backup_step(backup, -1);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || waited.elapsed() >= kMaxWaitMs)
            break;
        sqlite3_sleep(100);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw AppError(QString::fromUtf8(sqlite3_errstr(rc)));
}

QString PartFileFor(const QString &targetFile) { return targetFile + QStringLiteral(".part"); }

void RenameOver(const QString &from, const QString &to)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(from).toStdString()),
                            std::filesystem::path(QFile::encodeName(to).toStdString()), ec);
    if (ec)
        throw AppError(QString::fromLocal8Bit(ec.message().c_str()));
}

// Copies into a scratch file beside the target and renames it over the target only when the
// copy is complete: a failed backup never destroys the previous one.
void CopyIntoNewFile(sqlite3 *source, const QString &targetFile)
{
    // Renaming a copy over the source itself would unlink the file its connections write to:
    // whatever they write afterwards is lost with the unnamed file.
    const char *sourceName = sqlite3_db_filename(source, "main");
    const QString sourceFile = sourceName ? QFileInfo(QFile::decodeName(sourceName)).canonicalFilePath() : QString();
    if (!sourceFile.isEmpty() && sourceFile == QFileInfo(targetFile).canonicalFilePath())
        throw AppError(QStringLiteral("不能把帐套备份到它自己的数据库文件上，请另选一个文件！"));
    const QString part = PartFileFor(targetFile);
    QFile::remove(part);
    try {
        {
            RawConnection target(part, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            CopyPages(source, target.handle());
        }
        RenameOver(part, targetFile);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
}

} // namespace

void BackupDatabaseTo(const QSqlDatabase &source, const QString &targetFile)
{
    sqlite3 *handle = SqliteHandle(source);
    if (!handle || !source.isOpen())
        throw AppError(QStringLiteral("数据库没有打开！"));
    CopyIntoNewFile(handle, targetFile);
}

void BackupDatabaseFileTo(const QString &sourceFile, const QString &targetFile)
{
    if (!QFileInfo::exists(sourceFile))
        throw AppError(QStringLiteral("数据库文件不存在：") + sourceFile);
    RawConnection source(sourceFile, SQLITE_OPEN_READONLY);
    CopyIntoNewFile(source.handle(), targetFile);
}

void ReplaceDatabaseContent(const QString &targetFile, const QString &sourceFile)
{
    if (!QFileInfo::exists(sourceFile))
        throw AppError(QStringLiteral("数据库文件不存在：") + sourceFile);
    if (!QFileInfo::exists(targetFile))
        throw AppError(QStringLiteral("数据库文件不存在：") + targetFile);
    RawConnection source(sourceFile, SQLITE_OPEN_READONLY);
    RawConnection target(targetFile, SQLITE_OPEN_READWRITE);
    CopyPages(source.handle(), target.handle());
}

bool CopyFileOver(const QString &source, const QString &target)
{
    const QString part = PartFileFor(target);
    QFile::remove(part);
    if (!QFile::copy(source, part))
        return false;
    try {
        RenameOver(part, target);
    } catch (const AppError &) {
        QFile::remove(part);
        return false;
    }
    return true;
}
