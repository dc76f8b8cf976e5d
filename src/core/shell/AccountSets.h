#pragma once
#include <QSqlDatabase>
#include <QString>
#include <memory>

class TDbDataSet;

// --- where the files of the data directory lie -----------------------------------------------
// dataNetPath ends with a separator and is used as a plain prefix.
QString AccountListFile(const QString &dataNetPath);            // spsys.mdb
QString AccountTemplateFile(const QString &dataNetPath);        // spData.mdb, copied into new sets
QString AccountFolder(const QString &dataNetPath, const QString &code);
QString AccountDatabaseFile(const QString &dataNetPath, const QString &code);
QString ManualBackupFolder(const QString &dataNetPath);         // offered for manual backups

// Makes a data directory usable: the folder, the list and the template, each made when missing.
void EnsureDataDirectory(const QString &dataNetPath);

// Account codes name folders: letters A-Z, a-z and digits only.
bool IsValidAccountCode(const QString &code);

// The folder and database of a new account set, from the template. Throws AppError with the
// user's message when the code is bad, the folder exists or cannot be made, or the database
// cannot be copied; shows "创建帐套成功！" when done.
void CreateAccountSet(const QString &dataNetPath, const QString &code);

// The account-set list of a data directory: a connection of its own to spsys.mdb and the list
// dataset "select * from account" that the account-set windows show and edit.
class TAccountList {
public:
    explicit TAccountList(const QString &dataNetPath);
    ~TAccountList();
    TAccountList(const TAccountList &) = delete;
    TAccountList &operator=(const TAccountList &) = delete;

    const QString &dataNetPath() const { return m_dataNetPath; }
    TDbDataSet &dataSet() const { return *m_list; }
    QSqlDatabase connection() const;
    // Moves to the row of a code (without regard to case); false when there is none.
    bool locate(const QString &code) const;

private:
    QString m_dataNetPath;
    QString m_connection;
    std::unique_ptr<TDbDataSet> m_list;
};

// "创建" of the editor: the list's pending new row (code, name, start month, unit) becomes an
// account set. The folder and database are made before the row is stored; when the row cannot
// be stored the new folder is taken away again, so a retry is not blocked by it.
void CreateAccountSetFromNewRow(TAccountList &list);

// "确定" of the rename dialog: stores the selected row's new name; a blank name is refused with a
// message and changes nothing. Returns true when the name was stored.
bool RenameAccountSet(TAccountList &list, const QString &name);

// "删除帐套...": asks, checks the administrator's password against the set's own operators,
// removes the database and the folder, then the list row. Returns true when the set is gone.
bool DeleteAccountSet(TAccountList &list);

// "恢复": the list's pending new row (code and name) becomes an account set holding the content
// of a backup file. The file is checked before anything is created and refused when damaged.
void RestoreAccountSetFromNewRow(TAccountList &list, const QString &backupFile);
