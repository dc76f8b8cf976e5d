#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "data/DataModule.h"
#include "data/DatabaseCopy.h"
#include "data/DbDataSet.h"
#include "data/Schema.h"
#include "data/SqliteStatement.h"
#include "shell/AccountBackup.h"
#include "shell/AccountOpen.h"
#include "shell/AccountSets.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/PasswordHash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A data directory of its own with its account-set list.
struct DataDir {
    QTemporaryDir dir;
    QString path() const { return dir.path() + QLatin1Char('/'); }
};

int Rows(const TAccountList &list)
{
    return list.dataSet().recordCount();
}

void AddSet(TAccountList &list, const QString &code, const QString &name, const QString &month = "2024.03")
{
    TDbDataSet &ds = list.dataSet();
    ds.append();
    ds["cAccCode"].setAsString(code);
    ds["cAccName"].setAsString(name);
    ds["cEndDate"].setAsString(month);
    CreateAccountSetFromNewRow(list);
}

QString ScalarIn(const QString &file, const QString &sql)
{
    const QString name = NewConnectionName("test_read_");
    QString value;
    {
        QSqlDatabase db = OpenSqliteConnection(name, file);
        SqliteStatement st(db, sql);
        if (st.step())
            value = st.rawValue(0).toString();
    }
    CloseSqliteConnection(name);
    return value;
}

QByteArray Bytes(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(AccountList, MissingFilesAreMadeAndNewSetsGetTheirOwnDatabase)
{
    DataDir data;
    ScriptedMessages messages;
    TAccountList list(data.path());
    EXPECT_TRUE(QFileInfo::exists(data.path() + "spsys.mdb"));
    EXPECT_TRUE(QFileInfo::exists(data.path() + "spData.mdb"));

    AddSet(list, "Shop01", "一号店");
    EXPECT_TRUE(messages.saw("创建帐套成功！"));
    EXPECT_EQ(ScalarIn(data.path() + "Shop01/spData.mdb", "select count(*) from Operator where cUserName='管理员'"), "1");
    // The month shown as 启用日期 is the start month the set's opening stock is stamped with.
    TAccountList reread(data.path());
    ASSERT_TRUE(reread.locate("shop01"));
    EXPECT_EQ(reread.dataSet()["cBeginDate"].asString(), "2024.03");
    EXPECT_EQ(reread.dataSet()["cAccName"].asString(), "一号店");
}

TEST(AccountList, AnUnreadableListFileIsNamedInTheMessage)
{
    DataDir data;
    const QList<QByteArray> contents = {"Standard Jet DB, not ours", ""};
    for (const QByteArray &content : contents) {
        QFile f(data.path() + "spsys.mdb");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content); // an old list file, or an empty one without the list table
        f.close();
        try {
            TAccountList list(data.path());
            ADD_FAILURE() << "opened";
        } catch (const AppError &e) {
            EXPECT_TRUE(e.message().startsWith("不能打开帐套列表文件：" + QDir::toNativeSeparators(data.path() + "spsys.mdb")))
                << e.message().toStdString();
        }
    }
}

TEST(AccountList, CreateRefusals)
{
    struct Case {
        QString code;
        bool folderExists;
        QString message;
    };
    const QList<Case> cases = {
        {"shop-1", false, "帐套代码只能使用字母或数字！"},
        {"一店", false, "帐套代码只能使用字母或数字！"},
        {"shop 1", false, "帐套代码只能使用字母或数字！"},
        {"Shop1", true, "创建新帐套失败，与帐号代码同名目录已存在！"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        DataDir data;
        ScriptedMessages messages;
        TAccountList list(data.path());
        if (c.folderExists)
            QDir(data.path()).mkdir(c.code);
        TDbDataSet &ds = list.dataSet();
        ds.append();
        ds["cAccCode"].setAsString(c.code);
        ds["cAccName"].setAsString("x");
        try {
            CreateAccountSetFromNewRow(list);
            ADD_FAILURE() << "created";
        } catch (const AppError &e) {
            EXPECT_EQ(e.message(), c.message);
        }
        ds.cancel();
        // Nothing stored: neither a row nor (for a refused code) a folder.
        TAccountList reread(data.path());
        EXPECT_EQ(Rows(reread), 0);
        EXPECT_EQ(QFileInfo::exists(data.path() + c.code), c.folderExists);
        EXPECT_FALSE(QFileInfo::exists(data.path() + c.code + "/spData.mdb"));
    }
}

TEST(AccountList, ATemplateThatIsNoDatabaseIsRefusedBeforeAnythingIsMade)
{
    DataDir data;
    ScriptedMessages messages;
    TAccountList list(data.path());
    QFile f(data.path() + "spData.mdb");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(4096, 'J')); // e.g. an old Access template copied into the folder
    f.close();
    TDbDataSet &ds = list.dataSet();
    ds.append();
    ds["cAccCode"].setAsString("Shop1");
    ds["cAccName"].setAsString("x");
    try {
        CreateAccountSetFromNewRow(list);
        ADD_FAILURE() << "created";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.message().startsWith("创建新帐套失败！创建新帐套的数据库时失败！")) << e.message().toStdString();
    }
    ds.cancel();
    EXPECT_FALSE(QFileInfo::exists(data.path() + "Shop1"));
    EXPECT_FALSE(messages.saw("创建帐套成功！"));
    EXPECT_EQ(Rows(TAccountList(data.path())), 0);
}

TEST(AccountList, RowThatCannotBeStoredTakesItsNewFolderAway)
{
    DataDir data;
    ScriptedMessages messages;
    TAccountList list(data.path());
    AddSet(list, "A1", "甲");
    // A second row with the same code but no folder (someone removed it by hand).
    QDir(data.path() + "A1").removeRecursively();
    TDbDataSet &ds = list.dataSet();
    ds.append();
    ds["cAccCode"].setAsString("a1");
    ds["cAccName"].setAsString("乙");
    EXPECT_ANY_THROW(CreateAccountSetFromNewRow(list));
    EXPECT_FALSE(QFileInfo::exists(data.path() + "a1"));
}

// Codes differ only in case: on a case-sensitive disk "shop1" would get a folder of its own and
// a "创建帐套成功！" before the list refused the row.
TEST(AccountList, ACodeTakenInAnotherCaseIsRefusedBeforeAnythingIsMade)
{
    struct Case {
        QString code;
        bool restore;
        QString message;
    };
    const QList<Case> cases = {
        {"SHOP1", false, "创建新帐套失败，与帐号代码同名目录已存在！"},
        {"shop1", true, "创建新帐套失败，与帐号代码同名目录已存在！"},
        {"lose", false, "创建新帐套失败，与帐号代码同名目录已存在！"},   // a folder "Lose" left behind
        {"GONE", false, "创建新帐套失败，帐套代码“GONE”已被帐套“二号店”使用！"},   // its folder removed by hand
        {"gone", true, "创建新帐套失败，帐套代码“gone”已被帐套“二号店”使用！"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        DataDir data;
        ScriptedMessages messages;
        QString backup;
        TAccountList list(data.path());
        AddSet(list, "Shop1", "一号店");
        AddSet(list, "Gone", "二号店");
        QDir(data.path() + "Gone").removeRecursively();
        QDir(data.path()).mkdir("Lose");
        messages.clear();
        TDbDataSet &ds = list.dataSet();
        ds.append();
        ds["cAccCode"].setAsString(c.code);
        ds["cAccName"].setAsString("三号店");
        try {
            if (c.restore)
                RestoreAccountSetFromNewRow(list, data.path() + "Shop1/spData.mdb");
            else
                CreateAccountSetFromNewRow(list);
            ADD_FAILURE() << "created";
        } catch (const AppError &e) {
            EXPECT_EQ(e.message(), c.message);
        }
        ds.cancel();
        EXPECT_FALSE(messages.saw("创建帐套成功！"));
        EXPECT_FALSE(QFileInfo::exists(data.path() + c.code));
        EXPECT_EQ(Rows(TAccountList(data.path())), 2);
    }
}

TEST(AccountList, RenameRefusesABlankName)
{
    DataDir data;
    ScriptedMessages messages;
    TAccountList list(data.path());
    AddSet(list, "A1", "甲");
    for (const QString &blank : {QString(), QString("   ")}) {
        messages.clear();
        EXPECT_FALSE(RenameAccountSet(list, blank));
        EXPECT_EQ(messages.last(), "帐套名称不能为空！");
        EXPECT_FALSE(list.dataSet().isEditing());
    }
    EXPECT_TRUE(RenameAccountSet(list, "O'Brien 张'三"));
    TAccountList reread(data.path());
    ASSERT_TRUE(reread.locate("A1"));
    EXPECT_EQ(reread.dataSet()["cAccName"].asString(), "O'Brien 张'三");
}

TEST(AccountList, RenamingTheSetInUseRenamesItForTheRestOfTheProcess)
{
    DataDir data;
    ScriptedMessages messages;
    TAccountList list(data.path());
    AddSet(list, "A1", "甲");
    AddSet(list, "B2", "乙");
    const QString savedPath = App().dataNetPath, savedCode = App().accCode, savedName = App().accName;
    App().dataNetPath = data.path();
    App().accCode = "a1";
    App().accName = "甲";
    ASSERT_TRUE(list.locate("B2"));
    EXPECT_TRUE(RenameAccountSet(list, "乙二"));
    EXPECT_EQ(App().accName, "甲");   // another set
    ASSERT_TRUE(list.locate("A1"));
    EXPECT_TRUE(RenameAccountSet(list, "甲一"));
    EXPECT_EQ(App().accName, "甲一");
    App().dataNetPath = savedPath;
    App().accCode = savedCode;
    App().accName = savedName;
}

TEST(AccountDelete, PasswordIsCheckedAgainstTheSetsOwnAdministrator)
{
    DataDir data;
    ScriptedMessages messages;
    TAccountList list(data.path());
    AddSet(list, "D1", "删");
    const QString file = data.path() + "D1/spData.mdb";
    {
        const QString name = NewConnectionName("test_pw_");
        QSqlDatabase db = OpenSqliteConnection(name, file);
        SqliteStatement st(db, "update Operator set cPassword=? where cUserName='管理员'");
        st.bind({PasswordHash("管理员", "Boss")});
        st.run();
        db = QSqlDatabase();
        CloseSqliteConnection(name);
    }
    ASSERT_TRUE(list.locate("D1"));

    messages.inputs.enqueue(QString("wrong"));
    EXPECT_FALSE(DeleteAccountSet(list));            // silently refused
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(Rows(list), 1);

    messages.answers.enqueue(false);                 // "您确实要删除该帐套吗？" cancelled
    EXPECT_FALSE(DeleteAccountSet(list));
    EXPECT_TRUE(messages.dialogCaptions.size() == 1); // the password was not asked that time

    messages.inputs.enqueue(QString("bOSS"));        // passwords compare without case
    EXPECT_TRUE(DeleteAccountSet(list));
    EXPECT_FALSE(QFileInfo::exists(data.path() + "D1"));
    EXPECT_EQ(Rows(TAccountList(data.path())), 0);
    EXPECT_EQ(messages.shown.last().text, "您确实要删除该帐套吗？");
    EXPECT_EQ(messages.dialogCaptions.last(), "删除帐套|请输入要删除帐套的管理员密码");
}

TEST(AccountDelete, MissingDatabaseAsksForThePasswordButDoesNotCheckIt)
{
    DataDir data;
    ScriptedMessages messages;
    TAccountList list(data.path());
    AddSet(list, "Gone", "没了");
    QDir(data.path() + "Gone").removeRecursively();
    ASSERT_TRUE(list.locate("Gone"));
    messages.inputs.enqueue(QString("anything"));
    EXPECT_TRUE(DeleteAccountSet(list));
    EXPECT_EQ(messages.dialogCaptions.size(), 1);
    EXPECT_EQ(Rows(list), 0);
}

TEST(AccountDelete, FailuresKeepTheRow)
{
    DataDir data;
    ScriptedMessages messages;
    TAccountList list(data.path());
    AddSet(list, "Busy", "忙");
    AddSet(list, "Full", "满");

    // A folder that still holds other files: the database goes, the row stays.
    QFile extra(data.path() + "Full/notes.txt");
    ASSERT_TRUE(extra.open(QIODevice::WriteOnly));
    extra.close();
    ASSERT_TRUE(list.locate("Full"));
    messages.inputs.enqueue(QString(""));
    try {
        DeleteAccountSet(list);
        ADD_FAILURE() << "deleted";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), "删除帐套目录时失败,可能目录非空！");
    }
    EXPECT_FALSE(QFileInfo::exists(data.path() + "Full/spData.mdb"));
    EXPECT_EQ(Rows(list), 2);

    // The set this program has open cannot be pulled from under it.
    TDM dm;
    dm.openDatabase(data.path() + "Busy/spData.mdb");
    App().dm = &dm;
    ASSERT_TRUE(list.locate("Busy"));
    messages.inputs.enqueue(QString(""));
    try {
        DeleteAccountSet(list);
        ADD_FAILURE() << "deleted";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), "删除数据库文件失败,可能正在使用中！");
    }
    App().dm = nullptr;
    EXPECT_TRUE(QFileInfo::exists(data.path() + "Busy/spData.mdb"));
    EXPECT_EQ(Rows(list), 2);

    // A database whose operators cannot be read is not a wrong password: the user is told.
    AddSet(list, "Broken", "坏");
    QFile broken(data.path() + "Broken/spData.mdb");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write(QByteArray(2048, 'x'));
    broken.close();
    ASSERT_TRUE(list.locate("Broken"));
    messages.inputs.enqueue(QString(""));
    try {
        DeleteAccountSet(list);
        ADD_FAILURE() << "deleted";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.message().startsWith("读取帐套的操作员时出错")) << e.message().toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(data.path() + "Broken/spData.mdb"));
    EXPECT_EQ(Rows(list), 3);
}

TEST(AccountBackup, EmptyStartMonthIsStoredAs2000_01)
{
    TestAccountSet set;
    App().beginMonth.clear();
    const QString target = set.dataDir() + "copy.mdb";
    BackupOpenAccountSet(target);
    EXPECT_EQ(App().beginMonth, "2000.01");
    EXPECT_EQ(ScalarIn(target, "select cBeginDate||'|'||cEndDate from account"), "2000.01|2003.01");
    EXPECT_EQ(ScalarIn(target, "select count(*) from account"), "1");
    EXPECT_EQ(ProposedBackupFileName("demo", QDate(2024, 5, 3)), "demo_240503_spData.mdb");
}

TEST(AccountBackup, CopyOfASetInUseIsAConsistentSnapshot)
{
    TestAccountSet set;
    set.op().ExecCommand("insert into syslog(SysLogID,UserName) values(1,'committed')");
    const QString target = set.dataDir() + "snapshot.mdb";
    // Another connection (another machine) is in the middle of a write.
    const QString other = NewConnectionName("test_writer_");
    QSqlDatabase writer = OpenSqliteConnection(other, set.databaseFile());
    {
        TTransaction pending(writer);
        SqliteStatement st(writer, "insert into syslog(SysLogID,UserName) values(2,'pending')");
        st.run();
        BackupDatabaseTo(set.db(), target);
    }
    writer = QSqlDatabase();
    CloseSqliteConnection(other);
    EXPECT_NO_THROW(CheckDatabaseFile(target));
    EXPECT_EQ(ScalarIn(target, "select group_concat(UserName) from syslog"), "committed");

    // A backup that cannot be written leaves the earlier one as it was.
    const QByteArray earlier = Bytes(target);
    QDir(set.dataDir()).mkpath("blocked/snapshot.mdb.part/inside");
    EXPECT_THROW(BackupDatabaseTo(set.db(), set.dataDir() + "blocked/snapshot.mdb"), AppError);
    EXPECT_THROW(BackupOpenAccountSet(set.dataDir() + "no/such/folder/x.mdb"), AppError);
    EXPECT_EQ(Bytes(target), earlier);
}

TEST(AccountBackup, TheOpenDatabaseItselfIsRefusedAsTarget)
{
    // Replacing the file the set is open in would leave the program writing into a file that
    // no longer has a name: everything entered afterwards would be gone at the next start.
    TestAccountSet set;
    QDir(set.dataDir()).mkpath("link");
    QFile::link(set.databaseFile(), set.dataDir() + "link/same.mdb");
    for (const QString &target : QStringList{set.databaseFile(), set.dataDir() + "link/same.mdb"}) {
        EXPECT_THROW(BackupOpenAccountSet(target), AppError) << target.toStdString();
        EXPECT_THROW(BackupDatabaseFileTo(set.databaseFile(), target), AppError) << target.toStdString();
    }
    set.op().ExecCommand("insert into syslog(SysLogID,UserName) values(5,'after')");
    EXPECT_EQ(ScalarIn(set.databaseFile(), "select UserName from syslog where SysLogID=5"), "after");
}

TEST(AccountRestore, DamagedFileIsRefusedBeforeAnythingIsMade)
{
    DataDir data;
    ScriptedMessages messages;
    TAccountList list(data.path());
    const QString bad = data.path() + "bad.mdb";
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8192, 'x'));
    f.close();
    for (const QString &file : QStringList{bad, data.path() + "absent.mdb"}) {
        TDbDataSet &ds = list.dataSet();
        ds.append();
        ds["cAccCode"].setAsString("R1");
        ds["cAccName"].setAsString("恢复");
        EXPECT_THROW(RestoreAccountSetFromNewRow(list, file), AppError);
        ds.cancel();
        EXPECT_FALSE(QFileInfo::exists(data.path() + "R1"));
        EXPECT_EQ(Rows(TAccountList(data.path())), 0);
    }
}

TEST(AccountRestore, RestoredSetHoldsTheBackupsData)
{
    DataDir data;
    ScriptedMessages messages;
    QString backup;
    {
        TestAccountSet source;
        source.op().ExecCommand("insert into syslog(SysLogID,UserName) values(7,'来自备份')");
        App().beginMonth = "2023.07";
        backup = data.path() + "src_240101_spData.mdb";
        BackupOpenAccountSet(backup);
    }
    TAccountList list(data.path());
    TDbDataSet &ds = list.dataSet();
    ds.append();
    ds["cAccCode"].setAsString("R2");
    ds["cAccName"].setAsString("恢复的");
    RestoreAccountSetFromNewRow(list, backup);
    EXPECT_EQ(ScalarIn(data.path() + "R2/spData.mdb", "select UserName from syslog where SysLogID=7"), "来自备份");
    EXPECT_TRUE(messages.saw("创建帐套成功！"));
    EXPECT_EQ(messages.last(), "恢复数据成功！您现在可以打开恢复的帐套数据。");
    TAccountList reread(data.path());
    ASSERT_TRUE(reread.locate("R2"));
    EXPECT_EQ(reread.dataSet()["cBeginDate"].asString(), "2023.07");
}

TEST(Compaction, ShrinksTheFileAndKeepsTheData)
{
    QTemporaryDir dir;
    const QString file = dir.path() + "/spData.mdb";
    CreateAccountSetDatabase(file);
    {
        const QString name = NewConnectionName("test_fill_");
        {
            TOpData op(OpenSqliteConnection(name, file));
            op.ExecCommand("create table Filler(t text)");
            for (int i = 0; i < 200; ++i)
                op.ExecCommandParams("insert into Filler(t) values(?)", {QString(2000, QChar('a' + i % 26))});
            op.ExecCommand("delete from Filler where rowid > 10");
        }
        CloseSqliteConnection(name);
    }
    const qint64 before = QFileInfo(file).size();
    EXPECT_TRUE(CompactDatabase(file));
    EXPECT_LT(QFileInfo(file).size(), before);
    EXPECT_EQ(ScalarIn(file, "select count(*) from Filler"), "10");
    EXPECT_FALSE(QFileInfo::exists(CompactionTempFile(file)));
}

TEST(Compaction, FailureLeavesTheFileUntouched)
{
    QTemporaryDir dir;
    // Not a database at all.
    const QString garbage = dir.path() + "/garbage/spData.mdb";
    QDir(dir.path()).mkpath("garbage");
    QFile g(garbage);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(QByteArray(4096, 'z'));
    g.close();
    // A database whose scratch file cannot be made (a folder holds its name).
    QDir(dir.path()).mkpath("blocked");
    const QString blocked = dir.path() + "/blocked/spData.mdb";
    CreateAccountSetDatabase(blocked);
    QDir(dir.path()).mkpath("blocked/EFTemp.~mdb/inside");

    for (const QString &file : {garbage, blocked}) {
        SCOPED_TRACE(file.toStdString());
        const QByteArray bytes = Bytes(file);
        EXPECT_FALSE(CompactDatabase(file));
        EXPECT_EQ(Bytes(file), bytes);
    }
}

TEST(RotatingBackup, SlotIsTheDayOfMonthModTen)
{
    const QList<QPair<int, QString>> days = {{1, "1"}, {11, "1"}, {21, "1"}, {31, "1"},
                                             {3, "3"}, {13, "3"}, {10, "0"}, {30, "0"}};
    for (const auto &[day, slot] : days)
        EXPECT_EQ(RotatingBackupFile("/opt/qelvo/", "demo", QDate(2024, 1, day)),
                  "/opt/qelvo/data/backup/demo_" + slot + "_spData.mdb")
            << day;
}

TEST(RotatingBackup, ReplacesTheCopyOfTenDaysEarlier)
{
    TestAccountSet set;
    QTemporaryDir app;
    set.op().ExecCommand("insert into syslog(SysLogID,UserName) values(1,'third')");
    ASSERT_TRUE(RotatingBackup(set.databaseFile(), app.path(), "demo", QDate(2024, 5, 3)));
    set.op().ExecCommand("update syslog set UserName='thirteenth'");
    ASSERT_TRUE(RotatingBackup(set.databaseFile(), app.path(), "demo", QDate(2024, 5, 13)));
    const QString slot = RotatingBackupFile(app.path(), "demo", QDate(2024, 5, 3));
    EXPECT_EQ(ScalarIn(slot, "select UserName from syslog"), "thirteenth");
    EXPECT_EQ(QDir(app.path() + "/data/backup").entryList(QDir::Files).size(), 1);
}

TEST(NetworkFileSystem, KnownTypes)
{
    for (qint64 type : {0x6969LL, 0x517BLL, 0xFF534D42LL, 0xFE534D42LL})
        EXPECT_TRUE(IsNetworkFileSystemType(type)) << std::hex << type;
    for (qint64 type : {0xEF53LL /* ext4 */, 0x01021994LL /* tmpfs */, 0x58465342LL /* xfs */})
        EXPECT_FALSE(IsNetworkFileSystemType(type)) << std::hex << type;
    QTemporaryDir local;
    EXPECT_FALSE(IsOnNetworkFileSystem(local.path() + "/not/yet/made/"));
}
