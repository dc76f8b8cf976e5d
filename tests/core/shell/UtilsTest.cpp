#include "shell/AppError.h"
#include "ScriptedMessages.h"
#include "shell/FolderPicker.h"
#include "shell/Utils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void WriteText(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray ReadText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(SpreadTexts, FillsTheWidthEvenlyCountingChineseAsTwo)
{
    struct Case {
        int width;
        QStringList texts;
        QString expected;
    };
    const Case cases[] = {
        {10, {"ab", "cd"}, "ab      cd"},
        {11, {"a", "b", "c"}, "a    b    c"},     // 8 free columns over 2 gaps
        {12, {"a", "b", "c"}, "a    b    c"},     // 9 free: 4 per gap, the odd one dropped
        {12, {"日期：", "a"}, "日期：     a"},      // "日期：" is six columns wide
        {3, {"abc", "def"}, "abcdef"},            // narrower than the texts: no gaps
        {0, {"仓库", "客户", "日期"}, "仓库客户日期"},
        {20, {"only"}, "only"},
        {20, {}, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SpreadTexts(c.width, c.texts), c.expected) << c.width << " " << c.texts.join('|').toStdString();
    EXPECT_EQ(SpreadTexts(7, {"a", "b"}, QLatin1Char('-')), "a-----b");
}

TEST(SplitQuotedCsvLine, QuotesAndEmptyFields)
{
    struct Case {
        QString line;
        QStringList expected;
    };
    const Case cases[] = {
        {"a,b,c", {"a", "b", "c"}},
        {"a,,c", {"a", " ", "c"}},
        {",", {" ", " "}},
        {"\"a,b\",c", {"a,b", "c"}},
        {"\"say \"\"hi\"\"\",2", {"say \"hi\"", "2"}},
        {"\"\",x", {"", "x"}},
        {"A001,\"红色, 蓝色\",99.5", {"A001", "红色, 蓝色", "99.5"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SplitQuotedCsvLine(c.line), c.expected) << c.line.toStdString();
}

TEST(MergeLists, AddsOnlyWhatIsMissingIgnoringCase)
{
    QStringList list{"Red", "蓝"};
    MergeLists(list, {"red", "Green", "蓝", "GREEN", "黑"});
    EXPECT_EQ(list, QStringList({"Red", "蓝", "Green", "黑"}));
}

TEST(TextHelpers, NumericRepeatAndSeparator)
{
    for (const char *yes : {"0", "12", "3.5", ".", "1.2.3"})
        EXPECT_TRUE(IsNumeric(yes)) << yes;
    for (const char *no : {"", "-1", "1e5", " 1", "1,000", "１"})
        EXPECT_FALSE(IsNumeric(QString::fromUtf8(no))) << no;

    EXPECT_EQ(RepeatChar('=', 3), "===");
    EXPECT_EQ(RepeatChar('=', 0), "");
    EXPECT_EQ(RepeatChar('=', -2), "");

    EXPECT_EQ(WithTrailingSeparator("/srv/data"), "/srv/data/");
    EXPECT_EQ(WithTrailingSeparator("/srv/data/"), "/srv/data/");
    EXPECT_EQ(WithTrailingSeparator("D:\\data\\"), "D:\\data\\");
    EXPECT_EQ(WithTrailingSeparator("  "), "");
}

TEST(DateHelpers, MonthsAndTheirFirstDays)
{
    EXPECT_EQ(FirstDayOfMonth(QDate(2024, 2, 29)), QDate(2024, 2, 1));
    EXPECT_EQ(MonthText(QDate(2003, 1, 31)), "2003.01");
    EXPECT_EQ(BillMonthText(QDate(2006, 12, 5)), "0612");
    EXPECT_EQ(ShortDateText(QDate(2006, 2, 5)), "2006.02.05");
    EXPECT_EQ(MonthFromText("2003.01"), QDate(2003, 1, 1));
    EXPECT_FALSE(MonthFromText("2003-13").isValid());
}

TEST(FileHelpers, MissingFolderIsReportedWithItsName)
{
    QTemporaryDir dir;
    EXPECT_NO_THROW(EnsureFolderExists(dir.path()));
    const QString missing = dir.filePath("无此目录");
    try {
        EnsureFolderExists(missing);
        FAIL() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), "目录不存在!目录名:" + missing);
    }
    EXPECT_FALSE(QDir(missing).exists());
}

TEST(FileHelpers, CopyRespectsTheOverwriteFlag)
{
    QTemporaryDir dir;
    const QString from = dir.filePath("src");
    const QString to = dir.filePath("dst");
    QDir().mkpath(from);
    WriteText(from + "/a.frf", "new");
    WriteText(from + "/B.FRF", "b");
    WriteText(from + "/c.txt", "c");

    EXPECT_TRUE(CopyFileTo(from + "/a.frf", to, false)); // makes the target folder
    WriteText(to + "/a.frf", "old");
    EXPECT_FALSE(CopyFileTo(from + "/a.frf", to, false));
    EXPECT_EQ(ReadText(to + "/a.frf"), "old");
    EXPECT_TRUE(CopyFileTo(from + "/a.frf", to, true));
    EXPECT_EQ(ReadText(to + "/a.frf"), "new");
    EXPECT_EQ(QDir(to).entryList(QDir::Files), QStringList{"a.frf"}); // no partial copy left behind

    EXPECT_THROW(CopyFileTo(from + "/none.frf", to, true), AppError);

    EXPECT_EQ(CopyFilesByMask(from, "*.frf", to, false), 1); // B.FRF: the mask ignores case
    EXPECT_EQ(ReadText(to + "/a.frf"), "new");
    EXPECT_EQ(CopyFilesByMask(from, "*.*", to, true), 3);
}

TEST(Shortcuts, DesktopEntriesGoWhereTheDesktopLooks)
{
    QTemporaryDir home;
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("share")));

    const QString program = "/opt/qelvo 9/bin/qelvo";
    const QString autostart = CreateShortcut(program, "Qelvo服装销售管理专业版", "--no-splash", ShortcutTarget::Startup);
    EXPECT_EQ(autostart, home.filePath("config/autostart/qelvo.desktop"));
    const QString entry = QString::fromUtf8(ReadText(autostart));
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nName=Qelvo服装销售管理专业版\n"));
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/qelvo 9/bin/qelvo\" --no-splash\n"));
    EXPECT_TRUE(entry.contains("\nPath=/opt/qelvo 9/bin\n"));

    EXPECT_EQ(CreateShortcut(program, "x", "", ShortcutTarget::StartMenu),
              home.filePath("share/applications/qelvo.desktop"));
    EXPECT_EQ(CreateShortcut(program, "x", "", ShortcutTarget::SendTo), "");
    EXPECT_EQ(CreateShortcut(program, "x", "", ShortcutTarget::QuickLaunch), "");

    qputenv("XDG_CONFIG_HOME", savedConfig);
    qputenv("XDG_DATA_HOME", savedData);
    if (savedConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    if (savedData.isEmpty())
        qunsetenv("XDG_DATA_HOME");
}

TEST(FolderPicker, TitledAndSimplePickersReturnTheChoiceOnlyOnOk)
{
    ScriptedMessages messages;
    QString folder = "/srv/before";
    messages.files.enqueue(std::nullopt);
    EXPECT_FALSE(SelectFolder("选择备份目录", folder));
    EXPECT_EQ(folder, "/srv/before");

    messages.files.enqueue(QString("/srv/after"));
    EXPECT_TRUE(SelectFolder(folder));
    EXPECT_EQ(folder, "/srv/after");
    EXPECT_EQ(messages.dialogCaptions, QStringList({"选择备份目录", "请选择文件夹"}));
}
