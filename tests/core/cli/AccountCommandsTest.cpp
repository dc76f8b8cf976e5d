#include "data/DataModule.h"
#include "data/SqliteStatement.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct Result {
    int exitCode;
    QString out;
    QString err;
};

Result Cli(QStringList args, const QString &dataDir)
{
    args << "--data" << dataDir;
    QProcess p;
    p.start(QStringLiteral(QELVO_BIN_DIR "/qelvo-cli"), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
} // namespace

TEST(AccountCommands, CreateListBackUpAndRestore)
{
    QTemporaryDir dir;
    const QString data = dir.path(); // without a trailing separator: the command adds it
    Result r = Cli({"new-set", "Shop1", "一号店", "2024.02"}, data);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("创建帐套成功！"));

    r = Cli({"new-set", "Shop1", "again"}, data);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("创建新帐套失败，与帐号代码同名目录已存在！")) << r.err.toStdString();
    EXPECT_EQ(Cli({"new-set", "Shop2", "x", "2024.13"}, data).exitCode, 1);

    const QString backup = dir.filePath("copy.mdb");
    r = Cli({"backup-set", "shop1", backup}, data);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_NO_THROW(CheckDatabaseFile(backup));

    r = Cli({"restore-set", backup, "R2", "恢复的"}, data);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("R2/spData.mdb")));

    r = Cli({"list-sets"}, data);
    EXPECT_EQ(r.out, "Shop1\t一号店\t2024.02\t2024.02\t\nR2\t恢复的\t2024.02\t\t\n");

    r = Cli({"restore-set", dir.filePath("none.mdb"), "R3", "x"}, data);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("R3")));
}
