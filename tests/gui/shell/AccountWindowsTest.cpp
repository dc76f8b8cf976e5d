#include "ModalDriver.h"
#include "ScriptedMessages.h"
#include "data/DBGrid.h"
#include "data/DataModule.h"
#include "data/DataSetHelpers.h"
#include "data/DatabaseCopy.h"
#include "data/DbDataSet.h"
#include "data/OpData.h"
#include "shell/Account.h"
#include "shell/AccountActions.h"
#include "shell/AccountEdit.h"
#include "shell/AccountOpen.h"
#include "shell/AccountSets.h"
#include "shell/AppContext.h"
#include "shell/Config.h"
#include "shell/Login.h"
#include "shell/UserInfo.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

// A data directory with one account set "demo", an empty program folder for the settings file,
// and the process's data module.
struct AccountWindows : ::testing::Test {
    QTemporaryDir dir;
    TDM dm;
    ScriptedMessages messages;

    AccountWindows()
    {
        SetAppPathOverride(dir.path() + "/app/");
        QDir(dir.path()).mkpath("app");
        App().dataNetPath = dataPath();
        App().dm = &dm;
        TAccountList list(dataPath());
        list.dataSet().append();
        list.dataSet()["cAccCode"].setAsString("demo");
        list.dataSet()["cAccName"].setAsString("演示帐套");
        list.dataSet()["cEndDate"].setAsString("2024.01");
        CreateAccountSetFromNewRow(list);
        messages.clear();
    }
    ~AccountWindows() override
    {
        App().resetAccountSet();
        BindDbHelpers(QSqlDatabase());
        dm.close();
        App().dm = nullptr;
        SetAppPathOverride(QString());
    }
    QString dataPath() const { return dir.path() + "/data/"; }
    int listRows() const { return TAccountList(dataPath()).dataSet().recordCount(); }
};

int LogIn(TfrmLogin &login, const QString &password)
{
    login.cbUser()->setCurrentIndex(login.cbUser()->findText("管理员"));
    login.edtPassword()->setText(password);
    login.btnOk()->click();
    return login.result();
}

} // namespace

TEST_F(AccountWindows, OkOpensTheSetAndClosesOnlyAfterASuccessfulLogin)
{
    TfrmAccount dialog(dataPath());
    EXPECT_EQ(dialog.windowTitle(), "Qelvo服装销售管理专业版");
    ASSERT_EQ(dialog.grid()->dataSet()->recordCount(), 1);
    EXPECT_EQ(dialog.grid()->columnTitle(dialog.grid()->columnOf("cAccCode")), "账套编码");
    EXPECT_FALSE(dialog.grid()->columnVisible(dialog.grid()->columnOf("cUnitName")));

    QStringList passwords = {"wrong", ""};
    int logins = 0;
    dialog.setLoginRunner([&](TfrmLogin &login) {
        ++logins;
        EXPECT_EQ(login.windowTitle(), "登录");
        EXPECT_EQ(login.cbUser()->currentText(), "管理员"); // nothing remembered yet: the first operator
        return LogIn(login, passwords.takeFirst());
    });

    dialog.btnOkClick();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(messages.saw("密码错误,请重新输入!"));
    EXPECT_EQ(App().accCode, "demo");
    EXPECT_EQ(App().accName, "演示帐套");
    EXPECT_EQ(App().beginMonth, "2024.01");

    dialog.btnOkClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(logins, 2);
    EXPECT_EQ(CurrentUser().userName, "管理员");
    EXPECT_EQ(ReadConfig("UserName"), "管理员");
    ASSERT_NE(dialog.lastLogin(), nullptr);
    // The name of the last login is offered, even when it is not the first operator.
    OpData().ExecCommand("insert into Operator(OperatorID,cUserName,cPassword,cRight) values(7,'Anna','','')");
    WriteConfig("UserName", "Anna");
    TfrmLogin next;
    EXPECT_EQ(next.cbUser()->currentText(), "Anna");
}

TEST_F(AccountWindows, MissingDatabaseKeepsTheDialogOpen)
{
    QDir(dataPath() + "demo").removeRecursively();
    TfrmAccount dialog(dataPath());
    bool asked = false;
    dialog.setLoginRunner([&](TfrmLogin &) { asked = true; return int(QDialog::Accepted); });
    dialog.btnOkClick();
    EXPECT_FALSE(asked);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_EQ(messages.shown.last().kind, IMessageService::Kind::Error);
}

TEST_F(AccountWindows, NewSetNeedsEveryFieldAndIsStoredOnlyWhenMade)
{
    TfrmAccount dialog(dataPath());
    QDir(dataPath()).mkdir("Taken");
    WhenModal<TfrmAccountEdit>([&](TfrmAccountEdit &editor) {
        EXPECT_EQ(editor.windowTitle(), "帐套编辑");
        EXPECT_TRUE(editor.edtEndDate()->isReadOnly());
        EXPECT_EQ(editor.edtEndDate()->text(), QDate::currentDate().toString("yyyy.MM"));
        editor.btnCreate()->click();
        EXPECT_EQ(messages.last(), "请将项目填写齐全！");
        EXPECT_TRUE(editor.edtCode()->hasFocus() || QApplication::focusWidget() == nullptr);
        editor.edtCode()->setText("Taken");
        editor.edtName()->setText("占用");
        editor.btnCreate()->click();
        EXPECT_EQ(messages.last(), "创建新帐套失败，与帐号代码同名目录已存在！");
        EXPECT_TRUE(editor.isVisible());
        editor.btnCancel()->click();
    });
    dialog.acNewAccount()->trigger();
    EXPECT_EQ(listRows(), 1);

    WhenModal<TfrmAccountEdit>([&](TfrmAccountEdit &editor) {
        editor.edtCode()->setText("Shop2");
        editor.edtName()->setText("二店");
        editor.edtUnit()->setText("某某服饰");
        editor.btnCreate()->click();
    });
    dialog.acNewAccount()->trigger();
    EXPECT_TRUE(messages.saw("创建帐套成功！"));
    EXPECT_EQ(listRows(), 2);
    EXPECT_EQ(dialog.grid()->dataSet()->recordCount(), 2);
    EXPECT_TRUE(QFileInfo::exists(dataPath() + "Shop2/spData.mdb"));
}

TEST_F(AccountWindows, RenameAndDelete)
{
    TfrmAccount dialog(dataPath());
    WhenModal<TfrmAccNameEdit>([&](TfrmAccNameEdit &editor) {
        EXPECT_EQ(editor.windowTitle(), "修改帐套名称");
        EXPECT_EQ(editor.edtName()->text(), "演示帐套");
        editor.edtName()->setText("新名字");
        editor.btnOk()->click();
    });
    dialog.acRenameAccount()->trigger();
    TAccountList reread(dataPath());
    ASSERT_TRUE(reread.locate("demo"));
    EXPECT_EQ(reread.dataSet()["cAccName"].asString(), "新名字");

    messages.inputs.enqueue(QString());
    dialog.acDeleteAccount()->trigger();
    EXPECT_EQ(listRows(), 0);
    EXPECT_FALSE(QFileInfo::exists(dataPath() + "demo"));
    EXPECT_TRUE(messages.saw("您确实要删除该帐套吗？"));
}

TEST_F(AccountWindows, BackupThenRestoreIntoANewSet)
{
    ASSERT_TRUE(OpenAccountSet("demo", "演示帐套", ""));
    OpData().ExecCommand("insert into syslog(SysLogID,UserName) values(99,'备份前')");
    const QString backup = dir.path() + "/demo_copy.mdb";
    messages.files.enqueue(backup);
    RunBackupAccountSet(nullptr);
    EXPECT_EQ(messages.last(), "文件备份成功，请您注意把些保存好这个数据文件。");
    EXPECT_EQ(messages.dialogCaptions.last(), "备份帐套");

    TfrmAccount dialog(dataPath());
    messages.files.enqueue(backup);
    WhenModal<TfrmAccountRestore>([&](TfrmAccountRestore &restore) {
        EXPECT_EQ(restore.windowTitle(), "帐套恢复");
        auto *source = restore.findChild<QLabel *>("lblBackupFile");   // which file is restored
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->toolTip(), "备份文件：" + QDir::toNativeSeparators(backup));
        restore.btnRestore()->click();
        EXPECT_EQ(messages.last(), "请将项目填写齐全！");
        restore.edtCode()->setText("Back1");
        restore.edtName()->setText("恢复的帐套");
        restore.btnRestore()->click();
    });
    dialog.restoreAccountSet();
    EXPECT_EQ(messages.last(), "恢复数据成功！您现在可以打开恢复的帐套数据。");
    EXPECT_EQ(listRows(), 2);
    // The restored set opens and holds the backup's rows; the open set is not touched.
    ASSERT_TRUE(OpenAccountSet("Back1", "恢复的帐套", ""));
    EXPECT_EQ(OpData().ScalarText("select UserName from syslog where SysLogID=99"), "备份前");
}

TEST_F(AccountWindows, ShownAgainTheListStartsOnTheSetInUse)
{
    {
        TAccountList list(dataPath());
        for (const char *code : {"shop2", "shop3"}) {
            list.dataSet().append();
            list.dataSet()["cAccCode"].setAsString(code);
            list.dataSet()["cAccName"].setAsString(code);
            CreateAccountSetFromNewRow(list);
        }
    }
    TfrmAccount dialog(dataPath());
    ASSERT_TRUE(OpenAccountSet("shop2", "shop2", ""));
    dialog.grid()->dataSet()->last();   // where an earlier use left it
    dialog.show();
    EXPECT_EQ(dialog.grid()->dataSet()->fieldByName("cAccCode").asString(), "shop2");
    dialog.hide();
}

TEST_F(AccountWindows, OkOnAnEmptyListSaysWhereSetsComeFrom)
{
    TfrmAccount dialog(dir.path() + "/empty/");
    bool loginShown = false;
    dialog.setLoginRunner([&](TfrmLogin &) {
        loginShown = true;
        return int(QDialog::Rejected);
    });
    dialog.btnOk()->click();
    EXPECT_EQ(messages.texts(), QStringList{"还没有帐套，请先在“帐套管理”中选择“新建帐套...”。"});
    EXPECT_FALSE(loginShown);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST_F(AccountWindows, CancelledRestoreLeavesNoRow)
{
    TfrmAccount dialog(dataPath());
    messages.files.enqueue(dataPath() + "demo/spData.mdb");
    WhenModal<TfrmAccountRestore>([&](TfrmAccountRestore &restore) {
        restore.edtCode()->setText("Never");
        restore.btnCancel()->click();
    });
    dialog.restoreAccountSet();
    EXPECT_EQ(listRows(), 1);
    EXPECT_EQ(dialog.grid()->dataSet()->recordCount(), 1);
}

TEST_F(AccountWindows, KeyboardPicksASetWithArrowsAndOpensItWithEnter)
{
    {
        TAccountList list(dataPath());
        list.dataSet().append();
        list.dataSet()["cAccCode"].setAsString("shop2");
        list.dataSet()["cAccName"].setAsString("二店");
        CreateAccountSetFromNewRow(list);
    }
    TfrmAccount dialog(dataPath());
    QString opened;
    dialog.setLoginRunner([&](TfrmLogin &) {
        opened = App().accCode;
        return int(QDialog::Rejected);
    });
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QApplication::processEvents();
    ASSERT_TRUE(dialog.grid()->hasFocus()) << "the list is where the user starts";

    // Tab leaves the list for the buttons, Shift+Tab comes back.
    QTest::keyClick(dialog.grid(), Qt::Key_Tab);
    EXPECT_FALSE(dialog.grid()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    ASSERT_TRUE(dialog.grid()->hasFocus());

    QTest::keyClick(dialog.grid(), Qt::Key_Down);
    QTest::keyClick(dialog.grid(), Qt::Key_Return);
    EXPECT_EQ(opened, "shop2");
}
