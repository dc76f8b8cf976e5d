#include "shell/AppError.h"
#include "shell/Config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringConverter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QByteArray Gbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A program folder and a user data folder of their own for each test.
class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program.isValid() && user.isValid());
        SetAppPathOverride(program.path());
        SetUserDataPathOverride(user.path());
    }
    void TearDown() override
    {
        SetAppPathOverride(QString());
        SetUserDataPathOverride(QString());
    }
    QString file() const { return program.filePath("EFCONFIG.TXT"); }

    QTemporaryDir program;
    QTemporaryDir user;
};

} // namespace

TEST_F(ConfigFile, MissingFileGivesDefaultsAndWritesNothing)
{
    EXPECT_EQ(AppPath(), program.path() + "/");
    EXPECT_EQ(ReadConfig("UserName"), "");
    EXPECT_EQ(ConfiguredDataNetPath(), program.path() + "/data/");
    WriteConfig("UserName", ""); // deleting what is not there must not create the file
    EXPECT_FALSE(QFileInfo::exists(file()));
}

TEST_F(ConfigFile, FirstWriteMakesOneGbkLine)
{
    WriteConfig("UserName", "管理员");
    EXPECT_EQ(ReadBytes(file()), Gbk("UserName=管理员\n"));
    EXPECT_EQ(ReadConfig("UserName"), "管理员");
}

TEST_F(ConfigFile, ReadsHandWrittenFiles)
{
    struct Case {
        const char *what;
        QByteArray bytes;
        QString key;
        QString expected;
    };
    const QByteArray bom("\xEF\xBB\xBF");
    const Case cases[] = {
        {"lower-case name", Gbk("username=张三\n"), "UserName", "张三"},
        {"first match wins", Gbk("UserName=甲\nUSERNAME=乙\n"), "UserName", "甲"},
        {"UTF-8 with BOM", bom + QString("UserName=管理员\r\n").toUtf8(), "UserName", "管理员"},
        {"UTF-8 without BOM", QString("DefaultStore_Sell=总店\n").toUtf8(), "DefaultStore_Sell", "总店"},
        {"CRLF, no final line break", Gbk("A=1\r\nDataNetPath=/srv/qelvo/"), "DataNetPath", "/srv/qelvo/"},
        {"value holding '='", Gbk("DataNetPath=/a=b/\n"), "DataNetPath", "/a=b/"},
        {"blanks around the name", Gbk("  UserName =王五\n"), "UserName", "王五"},
        {"a name is not a prefix", Gbk("UserNameX=1\n"), "UserName", ""},
        {"line without '='", Gbk("UserName\n"), "UserName", ""},
    };
    for (const Case &c : cases) {
        WriteBytes(file(), c.bytes);
        EXPECT_EQ(ReadConfig(c.key), c.expected) << c.what;
    }
}

TEST_F(ConfigFile, WritingReplacesAppendsAndDeletesInPlace)
{
    WriteBytes(file(), Gbk("# 本机设置\r\nusername=甲\r\nDataNetPath=/srv/\r\nUserName=乙\r\n"));

    WriteConfig("UserName", "丙"); // the first matching line, keeping its spelling and place
    EXPECT_EQ(ReadBytes(file()), Gbk("# 本机设置\r\nusername=丙\r\nDataNetPath=/srv/\r\nUserName=乙\r\n"));

    WriteConfig("DefaultColor_Sell", "3");
    EXPECT_EQ(ReadBytes(file()),
              Gbk("# 本机设置\r\nusername=丙\r\nDataNetPath=/srv/\r\nUserName=乙\r\nDefaultColor_Sell=3\r\n"));

    WriteConfig("USERNAME", "");
    EXPECT_EQ(ReadBytes(file()), Gbk("# 本机设置\r\nDataNetPath=/srv/\r\nUserName=乙\r\nDefaultColor_Sell=3\r\n"));
    EXPECT_EQ(ReadConfig("UserName"), "乙");
}

TEST_F(ConfigFile, EditsByAnotherProcessAreSeen)
{
    WriteConfig("DefaultStore_Sell", "1");
    EXPECT_EQ(ReadConfig("DefaultStore_Sell"), "1");
    WriteBytes(file(), Gbk("DefaultStore_Sell=2\nUserName=外部\n"));
    EXPECT_EQ(ReadConfig("DefaultStore_Sell"), "2");
    WriteConfig("DefaultCustomer_Sell", "7"); // must not write back an old copy
    EXPECT_EQ(ReadBytes(file()), Gbk("DefaultStore_Sell=2\nUserName=外部\nDefaultCustomer_Sell=7\n"));
}

TEST_F(ConfigFile, TextGbkCannotHoldSurvives)
{
    WriteConfig("UserName", "管理员");
    const QString rare = QString::fromUtf8("王\xF0\x9F\x98\x80"); // outside GBK
    WriteConfig("DefaultCustomer_Sell", rare);
    EXPECT_EQ(ReadConfig("DefaultCustomer_Sell"), rare);
    EXPECT_EQ(ReadConfig("UserName"), "管理员");
}

TEST_F(ConfigFile, RefusesWhatWouldBreakTheLineFormat)
{
    WriteConfig("UserName", "甲");
    const QByteArray before = ReadBytes(file());
    EXPECT_THROW(WriteConfig("UserName", "甲\nDataNetPath=/tmp/"), AppError);
    EXPECT_THROW(WriteConfig("User=Name", "x"), AppError);
    EXPECT_THROW(WriteConfig("", "x"), AppError);
    EXPECT_EQ(ReadBytes(file()), before);
}

TEST_F(ConfigFile, DataNetPathIsUsedAsWritten)
{
    WriteConfig("DataNetPath", "/mnt/shop/data/");
    EXPECT_EQ(ConfiguredDataNetPath(), "/mnt/shop/data/");
    // Without its separator the value is a plain prefix: account "001" lands in "/mnt/shop/data001".
    WriteConfig("DataNetPath", "/mnt/shop/data");
    EXPECT_EQ(ConfiguredDataNetPath() + "001", "/mnt/shop/data001");
}

TEST_F(ConfigFile, UnwritableProgramFolderUsesTheUserFolder)
{
    SetAppPathOverride(program.filePath("not-there"));
    EXPECT_FALSE(AppPathWritable());
    EXPECT_EQ(AppDataPath(), user.path() + "/");
    EXPECT_EQ(ConfiguredDataNetPath(), user.path() + "/data/");
    WriteConfig("UserName", "管理员");
    EXPECT_EQ(ReadBytes(user.filePath("EFCONFIG.TXT")), Gbk("UserName=管理员\n"));
}

TEST_F(ConfigFile, InstalledFileLiesBeneathTheUsersOne)
{
    WriteBytes(file(), Gbk("DataNetPath=/srv/qelvo/\nUserName=安装\n"));
    QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (AppPathWritable()) {
        QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "this user can write anywhere";
    }
    EXPECT_EQ(ReadConfig("DataNetPath"), "/srv/qelvo/");
    WriteConfig("UserName", "店员");
    EXPECT_EQ(ReadConfig("UserName"), "店员");
    EXPECT_EQ(ReadBytes(file()), Gbk("DataNetPath=/srv/qelvo/\nUserName=安装\n"));
    QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
