#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "data/DbDataSet.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/Main.h"
#include "shell/MdiBackground.h"
#include "shell/UserInfo.h"
#include "shell/WinBg.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class WinBgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CurrentUser().userName = QStringLiteral("管理员");
        CurrentUser().rights = QString(180, QLatin1Char('1'));
    }
    void TearDown() override { CurrentUser().rights.clear(); }

    QString picture(const QString &name, QSize size, const char *format = "BMP")
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QString path = m_files.path() + QLatin1Char('/') + name;
        image.save(path, format);
        return path;
    }
    int count(const QString &sql) { return set.op().ScalarInt(sql); }

    TestAccountSet set;
    ScriptedMessages messages;
    QTemporaryDir m_files;
};

} // namespace

TEST_F(WinBgTest, NewRowTakesItsKeyAndAsksForThePictureAtOnce)
{
    set.op().ExecCommand(QStringLiteral("update TablesID set NextID=7 where TableName='winbg'"));
    TfrmWinBg dialog;
    messages.files.enqueue(picture(QStringLiteral("花纹.BMP"), QSize(50, 40)));
    dialog.appendPicture();

    EXPECT_EQ(messages.dialogCaptions, QStringList{QStringLiteral("装入图片")});
    EXPECT_EQ(count(QStringLiteral("select count(*) from winbg where WinBgID=7 and BmpImage is not null and iFlag=0")), 1);
    EXPECT_EQ(dialog.counterText(), QStringLiteral("第1行，共1行"));

    // Cancelling the picture leaves no empty row behind.
    dialog.appendPicture();
    EXPECT_EQ(count(QStringLiteral("select count(*) from winbg")), 1);

    // A file that is no picture is refused and stores nothing.
    const QString notPicture = m_files.path() + QStringLiteral("/readme.bmp");
    QFile f(notPicture);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    messages.files.enqueue(notPicture);
    EXPECT_FALSE(RunGuarded([&] { dialog.appendPicture(); }));
    EXPECT_EQ(count(QStringLiteral("select count(*) from winbg")), 1);
}

// A new account set has no pictures: "装入图片" is where a user starts, not a disabled button.
TEST_F(WinBgTest, LoadingIntoAnEmptyListMakesItsFirstRow)
{
    TfrmWinBg dialog;
    auto *load = dialog.findChild<QPushButton *>(QStringLiteral("btnLoad"));
    ASSERT_NE(load, nullptr);
    EXPECT_TRUE(load->isEnabled());
    EXPECT_FALSE(dialog.findChild<QPushButton *>(QStringLiteral("btnSetBg"))->isEnabled());

    load->click(); // cancelled: nothing is made
    EXPECT_EQ(count(QStringLiteral("select count(*) from winbg")), 0);

    messages.files.enqueue(picture(QStringLiteral("a.bmp"), QSize(30, 20)));
    load->click();
    EXPECT_EQ(count(QStringLiteral("select count(*) from winbg where BmpImage is not null")), 1);
    EXPECT_EQ(dialog.counterText(), QStringLiteral("第1行，共1行"));
    EXPECT_TRUE(dialog.findChild<QPushButton *>(QStringLiteral("btnSetBg"))->isEnabled());

    messages.files.enqueue(picture(QStringLiteral("b.png"), QSize(10, 10), "PNG"));
    load->click(); // a row is there now: its picture is replaced
    EXPECT_EQ(count(QStringLiteral("select count(*) from winbg")), 1);
}

TEST_F(WinBgTest, SetAsBackgroundMakesExactlyOneRowCurrentAndTheMainWindowShowsIt)
{
    TfrmMain main;
    TfrmWinBg dialog(&main);
    messages.files.enqueue(picture(QStringLiteral("a.png"), QSize(30, 20), "PNG"));
    dialog.appendPicture();
    messages.files.enqueue(picture(QStringLiteral("b.jpg"), QSize(70, 45), "JPG"));
    dialog.appendPicture();
    set.op().ExecCommand(QStringLiteral("update winbg set iFlag=1"));   // as an old file might have it
    EXPECT_EQ(dialog.counterText(), QStringLiteral("第2行，共2行"));

    dialog.setAsBackground();
    QApplication::processEvents();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const int current = dialog.dataSet().fieldByName(QStringLiteral("WinBgID")).asInteger();
    EXPECT_EQ(count(QStringLiteral("select count(*) from winbg where iFlag=1")), 1);
    EXPECT_EQ(set.op().ScalarInt(QStringLiteral("select WinBgID from winbg where iFlag=1")), current);
    EXPECT_EQ(main.mdiArea()->picture().size(), QSize(70, 45));
}

TEST_F(WinBgTest, ClearPictureEmptiesTheCurrentRow)
{
    TfrmWinBg dialog;
    messages.files.enqueue(picture(QStringLiteral("a.bmp"), QSize(30, 20)));
    dialog.appendPicture();
    dialog.clearPicture();
    EXPECT_EQ(count(QStringLiteral("select count(*) from winbg where BmpImage is null")), 1);
}
