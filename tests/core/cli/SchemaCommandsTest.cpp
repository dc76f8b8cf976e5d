#include "data/DataModule.h"
#include "data/OpData.h"
#include "data/Schema.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct CliResult {
    int exitCode;
    QString out;
    QString err;
};

CliResult RunCli(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(QELVO_BIN_DIR "/qelvo-cli"), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
} // namespace

TEST(SchemaCommands, CreateSetThenUpgradeAnOlderFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("spData.mdb");
    CliResult r = RunCli({"create-set", file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("version 14")) << r.out.toStdString();
    EXPECT_EQ(RunCli({"create-set", file}).exitCode, 1); // never overwrites

    {
        QSqlDatabase db = OpenSqliteConnection("cli_test", file);
        TOpData op(db);
        op.ExecCommand("drop trigger Inventory_Dependents"); // names the table dropped below
        op.ExecCommand("drop table iBarcode");
        op.SetSchemaVersion(13);
        db = QSqlDatabase();
        CloseSqliteConnection("cli_test");
    }
    r = RunCli({"upgrade", file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), "14");
    QSqlDatabase db = OpenSqliteConnection("cli_test", file);
    EXPECT_EQ(TOpData(db).ScalarInt("select count(*) from sqlite_master where name='iBarcode'"), 1);
    db = QSqlDatabase();
    CloseSqliteConnection("cli_test");

    EXPECT_EQ(RunCli({"upgrade", dir.filePath("none.mdb")}).exitCode, 1);

    // The account-set list is no account set: refused, and left as it was.
    const QString list = dir.filePath("spsys.mdb");
    CreateAccountListDatabase(list);
    r = RunCli({"upgrade", list});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("不是帐套数据库")) << r.err.toStdString();
    db = OpenSqliteConnection("cli_test", list);
    EXPECT_EQ(TOpData(db).ScalarText("select group_concat(name) from sqlite_master").toStdString(),
              "account,sqlite_autoindex_account_1");
    db = QSqlDatabase();
    CloseSqliteConnection("cli_test");
}
