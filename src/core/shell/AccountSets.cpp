#include "AccountSets.h"
#include "AppContext.h"
#include "AppError.h"
#include "MessageService.h"
#include "PasswordHash.h"
#include "data/DataModule.h"
#include "data/DataSetHelpers.h"
#include "data/DatabaseCopy.h"
#include "data/DbDataSet.h"
#include "data/Schema.h"
#include "data/SqliteStatement.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kAdministrator = QStringLiteral("管理员");

QString Field(const TDataSet &ds, const char *name) { return ds.fieldByName(QLatin1String(name)).asString(); }

// Everything the program may leave beside a database file besides the file itself.
QStringList DatabaseFiles(const QString &file)
{
    return {file, file + QStringLiteral("-journal")};
}

// True when the password opens the set: its database holds exactly one administrator whose
// hash matches. A set whose database is gone has nothing to check against. A database that
// cannot be read is reported: refusing silently would look like a wrong password.
bool AdministratorPasswordMatches(const QString &databaseFile, const QString &password)
{
    const QString name = NewConnectionName(QStringLiteral("qelvo_delete_"));
    QStringList hashes;
    try {
        QSqlDatabase db = OpenSqliteConnection(name, databaseFile);
        SqliteStatement st(db, QStringLiteral("select cPassword from Operator where cUserName=?"));
        st.bind({kAdministrator});
        while (st.step())
            hashes << st.value(0, FieldType::String).toString();
    } catch (const AppError &e) {
        CloseSqliteConnection(name);
        throw AppError(QStringLiteral("读取帐套的操作员时出错，不能核对管理员密码：")
                       + QDir::toNativeSeparators(databaseFile) + QStringLiteral("\r") + e.message());
    }
    CloseSqliteConnection(name);
    return hashes.size() == 1
        && hashes.first().compare(PasswordHash(kAdministrator, password), Qt::CaseInsensitive) == 0;
}

bool IsOpenHere(const QString &databaseFile)
{
    return App().dm && App().dm->isOpen()
        && QFileInfo(App().dm->databaseFile()).absoluteFilePath() == QFileInfo(databaseFile).absoluteFilePath();
}

// The start month recorded in a backup (written there by every manual backup); empty when the
// file has none.
QString BackupBeginMonth(const QString &file)
{
    const QString name = NewConnectionName(QStringLiteral("qelvo_restore_"));
    QString month;
    try {
        QSqlDatabase db = OpenSqliteConnection(name, file);
        SqliteStatement st(db, QStringLiteral("select cBeginDate from account"));
        if (st.step())
            month = st.value(0, FieldType::String).toString().trimmed();
    } catch (const AppError &) {
    }
    CloseSqliteConnection(name);
    return month;
}

// Codes compare without regard to case (the list's key does, and so does a shared network
// folder): "Shop1" and "SHOP1" would be two folders here but one set everywhere else.
bool FolderExistsIgnoringCase(const QString &dataNetPath, const QString &code)
{
    const QStringList folders = QDir(dataNetPath).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &f : folders)
        if (f.compare(code, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// A code another row of the list already has is refused before any folder is made: otherwise
// the user would be told "创建帐套成功！" and then that the row cannot be stored.
void RefuseCodeInUse(const TAccountList &list, const QString &code)
{
    SqliteStatement st(list.connection(), QStringLiteral("select cAccName from account where cAccCode=?"));
    st.bind({code});
    if (st.step())
        throw AppError(QStringLiteral("创建新帐套失败，帐套代码“%1”已被帐套“%2”使用！")
                           .arg(code, st.value(0, FieldType::String).toString()));
}

// Stores the list's pending row; when that fails (after its message) the folder just made for
// it goes again, so that the user can correct the row and retry.
void PostOrUndoFolder(TAccountList &list, const QString &code)
{
    auto undo = [&] {
        for (const QString &f : DatabaseFiles(AccountDatabaseFile(list.dataNetPath(), code)))
            QFile::remove(f);
        QDir().rmdir(AccountFolder(list.dataNetPath(), code));
    };
    bool posted = false;
    try {
        posted = PostWithMessage(list.dataSet());
    } catch (...) {
        undo();
        throw;
    }
    if (!posted) {
        undo();
        Abort();
    }
}

} // namespace

QString AccountListFile(const QString &dataNetPath) { return dataNetPath + QStringLiteral("spsys.mdb"); }
QString AccountTemplateFile(const QString &dataNetPath) { return dataNetPath + QStringLiteral("spData.mdb"); }
QString AccountFolder(const QString &dataNetPath, const QString &code) { return dataNetPath + code; }
QString AccountDatabaseFile(const QString &dataNetPath, const QString &code)
{
    return AccountFolder(dataNetPath, code) + QStringLiteral("/spData.mdb");
}
QString ManualBackupFolder(const QString &dataNetPath) { return dataNetPath + QStringLiteral("Backup"); }

void EnsureDataDirectory(const QString &dataNetPath)
{
    if (!QDir().mkpath(dataNetPath))
        throw AppError(QStringLiteral("不能创建数据目录：") + dataNetPath);
    // Another machine starting on the same data directory may make a file at the same moment:
    // whoever comes second uses the one that is there.
    const auto ensure = [](const QString &file, void (*create)(const QString &)) {
        if (QFileInfo::exists(file))
            return;
        try {
            create(file);
        } catch (const AppError &) {
            if (!QFileInfo::exists(file))
                throw;
        }
    };
    ensure(AccountListFile(dataNetPath), &CreateAccountListDatabase);
    ensure(AccountTemplateFile(dataNetPath), &CreateAccountSetDatabase);
}

bool IsValidAccountCode(const QString &code)
{
    for (const QChar c : code) {
        const char16_t u = c.unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')))
            return false;
    }
    return true;
}

void CreateAccountSet(const QString &dataNetPath, const QString &code)
{
    if (!IsValidAccountCode(code))
        throw AppError(QStringLiteral("帐套代码只能使用字母或数字！"));
    const QString folder = AccountFolder(dataNetPath, code);
    if (QFileInfo::exists(folder) || FolderExistsIgnoringCase(dataNetPath, code))
        throw AppError(QStringLiteral("创建新帐套失败，与帐号代码同名目录已存在！"));
    // A data directory whose template was taken away gets a fresh one, and a template that is
    // no database of ours (a file copied in from elsewhere) is refused before anything is
    // made: either way the user would get a set that can never be opened.
    try {
        EnsureDataDirectory(dataNetPath);
        CheckDatabaseFile(AccountTemplateFile(dataNetPath));
    } catch (const AppError &e) {
        throw AppError(QStringLiteral("创建新帐套失败！创建新帐套的数据库时失败！\r") + e.message());
    }
    if (!QDir().mkdir(folder))
        throw AppError(QStringLiteral("创建新帐套失败！"));
    if (!CopyFileOver(AccountTemplateFile(dataNetPath), AccountDatabaseFile(dataNetPath, code)))
        throw AppError(QStringLiteral("创建新帐套失败！创建新帐套的数据库时失败！"));
    ShowInfo(QStringLiteral("创建帐套成功！"));
}

// --- the list --------------------------------------------------------------------------------

TAccountList::TAccountList(const QString &dataNetPath)
    : m_dataNetPath(dataNetPath), m_connection(NewConnectionName(QStringLiteral("qelvo_acclist_")))
{
    EnsureDataDirectory(dataNetPath);
    m_list = std::make_unique<TDbDataSet>();
    m_list->setCommandText(QStringLiteral("select * from account"));
    m_list->setUpdateTable(QStringLiteral("account"), {QStringLiteral("cAccCode")});
    m_list->beforePost = [](TDataSet &ds) {
        if (Field(ds, "cAccCode").trimmed().isEmpty()) {
            ConfirmOk(QStringLiteral("帐套代码不能为空！"));
            Abort();
        }
    };
    // Without the file's name the user cannot tell which of the data directory's files to
    // repair or replace.
    try {
        m_list->setConnection(OpenSqliteConnection(m_connection, AccountListFile(dataNetPath)));
        m_list->open();
    } catch (const AppError &e) {
        m_list.reset();
        CloseSqliteConnection(m_connection);
        throw AppError(QStringLiteral("不能打开帐套列表文件：") + QDir::toNativeSeparators(AccountListFile(dataNetPath))
                       + QStringLiteral("\r") + e.message());
    }
}

TAccountList::~TAccountList()
{
    m_list.reset();
    CloseSqliteConnection(m_connection);
}

QSqlDatabase TAccountList::connection() const { return QSqlDatabase::database(m_connection, false); }

bool TAccountList::locate(const QString &code) const
{
    return m_list->locate(QStringLiteral("cAccCode"), code, true);
}

// --- creating, deleting and restoring ---------------------------------------------------------

void CreateAccountSetFromNewRow(TAccountList &list)
{
    TDbDataSet &ds = list.dataSet();
    const QString code = Field(ds, "cAccCode").trimmed();
    if (IsValidAccountCode(code) && !FolderExistsIgnoringCase(list.dataNetPath(), code))
        RefuseCodeInUse(list, code);
    CreateAccountSet(list.dataNetPath(), code);
    ds.fieldByName(QStringLiteral("cAccCode")).setAsString(code);
    // The month shown as 启用日期 is the month of the opening stock, which is what the set's
    // start month means; without it opening-stock bills would carry no month.
    if (Field(ds, "cBeginDate").trimmed().isEmpty())
        ds.fieldByName(QStringLiteral("cBeginDate")).setAsString(Field(ds, "cEndDate"));
    PostOrUndoFolder(list, code);
}

bool RenameAccountSet(TAccountList &list, const QString &name)
{
    TDbDataSet &ds = list.dataSet();
    if (!ds.active() || ds.isEmpty())
        return false;
    // A set without a name shows as a blank row in the list and as "账套:" alone in the
    // status bar; the editor refuses one too.
    if (name.trimmed().isEmpty()) {
        ShowInfo(QStringLiteral("帐套名称不能为空！"));
        return false;
    }
    ds.edit();
    ds.fieldByName(QStringLiteral("cAccName")).setAsString(name);
    if (!PostWithMessage(ds)) {
        ds.cancel();
        return false;
    }
    // The set being worked in goes by its new name from now on (the status bar shows it).
    if (list.dataNetPath() == App().dataNetPath
        && Field(ds, "cAccCode").compare(App().accCode, Qt::CaseInsensitive) == 0)
        App().accName = name;
    return true;
}

bool DeleteAccountSet(TAccountList &list)
{
    TDbDataSet &ds = list.dataSet();
    if (!ds.active() || ds.isEmpty())
        return false;
    const QString code = Field(ds, "cAccCode");
    if (!WarningOkCancel(QStringLiteral("您确实要删除该帐套吗？")))
        return false;
    const std::optional<QString> password =
        InputBox(QStringLiteral("删除帐套"), QStringLiteral("请输入要删除帐套的管理员密码"), QString(), true);
    if (!password)
        return false;
    const QString file = AccountDatabaseFile(list.dataNetPath(), code);
    const bool hasDatabase = !code.isEmpty() && QFileInfo::exists(file);
    if (hasDatabase && !AdministratorPasswordMatches(file, *password))
        return false;
    if (hasDatabase) {
        // Unlinking a file this process still works in would succeed here and orphan the open set.
        if (IsOpenHere(file))
            throw AppError(QStringLiteral("删除数据库文件失败,可能正在使用中！"));
        for (const QString &f : DatabaseFiles(file))
            if (QFileInfo::exists(f) && !QFile::remove(f))
                throw AppError(QStringLiteral("删除数据库文件失败,可能正在使用中！"));
    }
    const QString folder = AccountFolder(list.dataNetPath(), code);
    if (!code.isEmpty() && QFileInfo::exists(folder) && !QDir().rmdir(folder))
        throw AppError(QStringLiteral("删除帐套目录时失败,可能目录非空！"));
    ds.deleteRecord();
    return true;
}

void RestoreAccountSetFromNewRow(TAccountList &list, const QString &backupFile)
{
    TDbDataSet &ds = list.dataSet();
    const QString code = Field(ds, "cAccCode").trimmed();
    // A missing, damaged or foreign file is refused before a folder or row is made for it.
    if (!QFileInfo::exists(backupFile))
        throw AppError(QStringLiteral("恢复数据时失败！备份文件不存在：") + backupFile);
    CheckDatabaseFile(backupFile);
    if (IsValidAccountCode(code) && !FolderExistsIgnoringCase(list.dataNetPath(), code))
        RefuseCodeInUse(list, code);
    CreateAccountSet(list.dataNetPath(), code);
    ds.fieldByName(QStringLiteral("cAccCode")).setAsString(code);
    if (Field(ds, "cBeginDate").trimmed().isEmpty())
        ds.fieldByName(QStringLiteral("cBeginDate")).setAsString(BackupBeginMonth(backupFile));
    PostOrUndoFolder(list, code);
    if (QFileInfo::exists(backupFile)) {
        // The file may be another set's database that a machine is writing to (restoring is
        // also how a set is cloned): read it as one snapshot, never byte by byte.
        try {
            BackupDatabaseFileTo(backupFile, AccountDatabaseFile(list.dataNetPath(), code));
        } catch (const AppError &) {
            throw AppError(QStringLiteral("恢复数据时失败！"));
        }
        ShowInfo(QStringLiteral("恢复数据成功！您现在可以打开恢复的帐套数据。"));
    }
}
