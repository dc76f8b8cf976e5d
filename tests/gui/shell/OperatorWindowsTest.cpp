#include "ModalDriver.h"
#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "data/DBGrid.h"
#include "data/DbDataSet.h"
#include "data/GridPrint.h"
#include "data/OpData.h"
#include "shell/AppContext.h"
#include "shell/EditPass.h"
#include "shell/FieldPermisson.h"
#include "shell/Navigation.h"
#include "shell/PasswordHash.h"
#include "shell/Purview.h"
#include "shell/SysLog.h"
#include "shell/SystemInfo.h"
#include "shell/UserInfo.h"
#include "shell/Users.h"
#include "shell/UsersEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// An open account set with 管理员 logged in.
struct OperatorWindows : ::testing::Test {
    TestAccountSet set;
    ScriptedMessages messages;
    OperatorWindows()
    {
        EXPECT_TRUE(CurrentUser().Login("管理员", ""));
        set.op().ExecCommand("delete from syslog");
    }
    QString newestModule() { return set.op().ScalarText("select OpModule from syslog order by SysLogID desc"); }
};

void AddClerk(TfrmUsers &users, const QString &name)
{
    WhenModal<TfrmUsersEdit>([name](TfrmUsersEdit &editor) {
        editor.edtUserName()->setText(name);
        editor.edtPassword()->setText("pw");
        editor.edtConfirm()->setText("pw");
        editor.btnOk()->click();
    });
    users.acNew()->trigger();
}

} // namespace

TEST_F(OperatorWindows, OpeningWritesALogRowWithOperatorMachineAndAddress)
{
    struct Case {
        std::function<std::unique_ptr<QWidget>()> open;
        QString module;
    };
    const QList<Case> cases = {
        {[] { return std::make_unique<TfrmUsers>(); }, "用户管理"},
        {[] { return std::make_unique<TfrmEditPass>(); }, "修改密码"},
        {[] { return std::make_unique<TfrmSysLog>(); }, "系统日志"},
        {[] { return std::make_unique<TfrmSysLogClear>(); }, "清除日志"},
    };
    for (const Case &c : cases) {
        set.op().ExecCommand("delete from syslog");
        auto window = c.open();
        auto row = set.op().QueryData("select * from syslog");
        ASSERT_EQ(row->recordCount(), 1) << c.module.toStdString();
        EXPECT_EQ((*row)["OpModule"].asString(), c.module);
        EXPECT_EQ((*row)["UserName"].asString(), "管理员");
        EXPECT_EQ((*row)["MachineName"].asString(), ComputerName());
        EXPECT_EQ((*row)["MachineIP"].asString(), LocalIP());
        EXPECT_FALSE((*row)["MachineIP"].asString().isEmpty());
        EXPECT_TRUE(QDateTime::fromString((*row)["OpTime"].asString(), "yyyy.MM.dd HH:mm:ss").isValid());
    }
}

TEST_F(OperatorWindows, NewOperatorThroughTheEditor)
{
    TfrmUsers users;
    EXPECT_EQ(users.windowTitle(), "用户管理");
    EXPECT_FALSE(users.grid()->columnVisible(users.grid()->columnOf("cClass")));
    EXPECT_EQ(users.grid()->columnTitle(users.grid()->columnOf("bSuper")), "管理员");

    WhenModal<TfrmUsersEdit>([&](TfrmUsersEdit &editor) {
        EXPECT_EQ(editor.windowTitle(), "新增用户");
        EXPECT_EQ(editor.edtPassword()->echoMode(), QLineEdit::Password);
        editor.edtUserName()->setText("Anna");
        editor.edtPassword()->setText("abc");
        editor.edtConfirm()->setText("abd");
        editor.btnOk()->click();
        EXPECT_EQ(messages.last(), "两次密码输入不一致，请重新输入！");
        EXPECT_EQ(messages.shown.last().kind, IMessageService::Kind::Error);
        EXPECT_EQ(editor.focusWidget(), editor.edtPassword());   // back where the fault is
        editor.edtConfirm()->setText("abc");
        editor.edtUserName()->setText("管理员");
        editor.btnOk()->click();
        EXPECT_EQ(messages.last(), "用户名“管理员”已存在，请换一个用户名！");
        EXPECT_EQ(editor.focusWidget(), editor.edtUserName());
        editor.edtUserName()->setText("Anna");
        editor.edtType()->setText("店长");
        editor.btnOk()->click();
        EXPECT_TRUE(editor.edtPassword()->text().isEmpty());
    });
    users.acNew()->trigger();
    EXPECT_EQ(users.adsMain().recordCount(), 2);
    EXPECT_EQ(set.op().ScalarText("select cPassword from Operator where cUserName='Anna'"), PasswordHash("Anna", "abc"));
    EXPECT_EQ(set.op().ScalarText("select cType from Operator where cUserName='Anna'"), "店长");

    WhenModal<TfrmUsersEdit>([&](TfrmUsersEdit &editor) { editor.btnCancel()->click(); });
    users.acNew()->trigger();
    // The buttons without a function say so instead of doing nothing.
    for (QAction *idle : {users.acEdit(), users.acPrint()}) {
        messages.clear();
        idle->trigger();
        EXPECT_EQ(messages.texts(), QStringList{kLaterVersionText});
    }
    EXPECT_EQ(users.adsMain().recordCount(), 2);
    EXPECT_EQ(users.adsMain().state(), TDataSet::State::Browse);
}

TEST_F(OperatorWindows, AdministratorIsNeitherDeletedNorReGranted)
{
    TfrmUsers users;
    ASSERT_TRUE(users.adsMain().locate("cUserName", "管理员"));
    users.acDelete()->trigger();
    EXPECT_EQ(messages.last(), "不能删除管理员用户!");
    users.acPurview()->trigger();
    EXPECT_EQ(messages.last(), "不能修改系统内置“管理员”的权限！");
    EXPECT_EQ(set.op().ScalarInt("select count(*) from Operator"), 1);
}

// Tool-bar buttons take no focus: the keyboard reaches the operator window's actions by keys.
TEST_F(OperatorWindows, OperatorWindowIsWorkedFromTheKeyboard)
{
    TfrmUsers users;
    AddClerk(users, "Clerk");
    users.show();
    users.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&users));
    ASSERT_TRUE(users.adsMain().locate("cUserName", "Clerk"));
    users.grid()->setFocus();

    bool granted = false;
    WhenModal<TfrmPurview>([&](TfrmPurview &purview) {
        granted = purview.windowTitle() == "权限设置[Clerk]";
        purview.reject();
    });
    QTest::keyClick(users.grid(), Qt::Key_Return);
    EXPECT_TRUE(granted);

    bool added = false;
    WhenModal<TfrmUsersEdit>([&](TfrmUsersEdit &editor) {
        added = true;
        editor.btnCancel()->click();
    });
    QApplication::setActiveWindow(&users);   // the offscreen platform does not hand it back
    users.grid()->setFocus();
    QTest::keyClick(users.grid(), Qt::Key_Insert);
    EXPECT_TRUE(added);

    ASSERT_TRUE(users.adsMain().locate("cUserName", "Clerk"));
    QApplication::setActiveWindow(&users);
    users.grid()->setFocus();
    messages.clear();
    QTest::keyClick(users.grid(), Qt::Key_Delete);
    EXPECT_EQ(messages.texts(), QStringList{"删除后不能恢复，您确实要删除当前行吗?"});
    EXPECT_EQ(set.op().ScalarInt("select count(*) from Operator where cUserName='Clerk'"), 0);
    EXPECT_EQ(users.acNew()->toolTip(), "新建（Ins）");
}

TEST_F(OperatorWindows, RightsWindowFiltersByGroupAndWritesEveryPosition)
{
    TfrmUsers users;
    AddClerk(users, "Clerk");
    QString rights(180, '0');
    rights[0] = '1'; // 用户管理, outside the group that will be shown
    set.op().SetOperatorRights("Clerk", rights);
    users.adsMain().requery();
    ASSERT_TRUE(users.adsMain().locate("cUserName", "Clerk"));

    WhenModal<TfrmPurview>([&](TfrmPurview &purview) {
        EXPECT_EQ(purview.windowTitle(), "权限设置[Clerk]");
        QStringList groups;
        for (int i = 0; i < purview.lstGroups()->count(); ++i)
            groups << purview.lstGroups()->item(i)->text();
        EXPECT_EQ(groups, QStringList({"全部", "系统管理", "基础资料管理", "采购管理", "销售管理", "库存管理", "财务管理"}));
        EXPECT_FALSE(purview.grid()->columnVisible(purview.grid()->columnOf("PurviewID")));
        EXPECT_FALSE(purview.grid()->columnReadOnly(purview.grid()->columnOf("bRight")));
        EXPECT_TRUE(purview.grid()->columnReadOnly(purview.grid()->columnOf("cPurviewName")));

        purview.lstGroups()->setCurrentRow(4); // 销售管理
        TDataSet &ds = purview.cdsPurview();
        EXPECT_EQ(ds.recordCount(), 11);
        ASSERT_TRUE(ds.locate("PurviewID", 41));
        ds.edit();
        ds["bRight"].setAsBoolean(true);
        purview.btnOk()->click();
    });
    users.acPurview()->trigger();
    QString expected = rights;
    expected[40] = '1';
    EXPECT_EQ(set.op().ScalarText("select cRight from Operator where cUserName='Clerk'"), expected);
    EXPECT_EQ(messages.last(), "重新设置权限后，需要下一次登录才能起作用！");
}

TEST_F(OperatorWindows, RightsAreGrantedAndConfirmedFromTheKeyboard)
{
    set.op().ExecCommandParams("insert into Operator(OperatorID,cUserName,cPassword,cRight) values(9,'Clerk','',?)",
                               {QString(180, '0')});
    TfrmPurview purview("Clerk", QString(180, '0'));
    purview.show();
    QApplication::setActiveWindow(&purview);
    TDBGrid *grid = purview.grid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, grid->columnOf("bRight"))); // 修改密码
    QApplication::processEvents();
    QTest::keyClick(grid, Qt::Key_Space);
    QTest::keyClick(grid, Qt::Key_Tab); // Tab stays among the cells
    EXPECT_TRUE(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Tab, Qt::ControlModifier); // Ctrl+Tab leaves for the buttons
    ASSERT_EQ(QApplication::focusWidget(), purview.btnOk());
    QTest::keyClick(purview.btnOk(), Qt::Key_Space);
    EXPECT_EQ(purview.result(), QDialog::Accepted);
    EXPECT_EQ(set.op().ScalarText("select substr(cRight,1,3) from Operator where cUserName='Clerk'"), "010");
}

TEST_F(OperatorWindows, ChangePasswordWindow)
{
    TfrmEditPass window;
    EXPECT_EQ(window.windowTitle(), "密码修改");
    // Enter after the (right) old password moves on; it must not store an empty new password.
    set.op().ExecCommandParams("update Operator set cPassword=? where cUserName='管理员'",
                               {PasswordHash("管理员", "old")});
    window.show();
    window.edtOld()->setText("old");
    window.edtOld()->setFocus();
    QTest::keyClick(window.edtOld(), Qt::Key_Return);
    QTest::keyClick(window.edtNew(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(window.focusWidget(), window.edtConfirm());
    EXPECT_EQ(set.op().ScalarText("select cPassword from Operator where cUserName='管理员'"), PasswordHash("管理员", "old"));
    QTest::keyClick(window.edtConfirm(), Qt::Key_Return);   // the last field: Enter is OK
    EXPECT_EQ(messages.last(), "密码修改成功！");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(set.op().ScalarText("select cPassword from Operator where cUserName='管理员'"), PasswordHash("管理员", ""));
    messages.clear();
    window.setResult(0);
    window.edtOld()->setText("");
    window.edtNew()->setText("new");
    window.edtConfirm()->setText("other");
    window.btnOk()->click();
    EXPECT_EQ(messages.last(), "新密码与确认密码不一致！");
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.focusWidget(), window.edtNew());   // back where the fault is
    window.edtConfirm()->setText("new");
    window.edtOld()->setText("wrong");
    window.btnOk()->click();
    EXPECT_EQ(messages.last(), "原密码不正确！");
    EXPECT_EQ(window.focusWidget(), window.edtOld());
    EXPECT_EQ(window.edtOld()->selectedText(), "wrong");
    window.edtOld()->setText("");
    window.btnOk()->click();
    EXPECT_EQ(messages.last(), "密码修改成功！");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(set.op().ScalarText("select cPassword from Operator where cUserName='管理员'"), PasswordHash("管理员", "NEW"));
}

TEST_F(OperatorWindows, LogViewerShowsNewestFirstAndReloadsAfterClearing)
{
    set.op().ExecCommand("insert into syslog(SysLogID,UserName,OpTime,OpModule) values(100,'甲','2001.01.01 08:00:00','旧')");
    TfrmSysLog viewer;
    EXPECT_EQ(viewer.windowTitle(), "系统日志");
    ASSERT_EQ(viewer.cdsLog().recordCount(), 2);
    viewer.cdsLog().first();
    EXPECT_EQ(viewer.cdsLog()["opmodule"].asString(), "系统日志");
    EXPECT_EQ(viewer.grid()->columnTitle(viewer.grid()->columnOf("MachineIP")), "机器IP地址");

    WhenModal<TfrmSysLogClear>([&](TfrmSysLogClear &cleaner) {
        EXPECT_EQ(cleaner.windowTitle(), "日志清除");
        EXPECT_EQ(cleaner.edtDate()->date(), QDate::currentDate());
        cleaner.edtDate()->setDate(QDate(2010, 1, 1));
        messages.answers.enqueue(false);
        cleaner.btnClear()->click();           // "No": nothing removed, still open
        EXPECT_TRUE(cleaner.isVisible());
        cleaner.btnClear()->click();
    });
    viewer.acClear()->trigger();
    EXPECT_TRUE(messages.saw("您真的要清除么?"));
    // The old row went; today's rows (the viewer's and the cleaner's) stayed.
    EXPECT_EQ(viewer.cdsLog().recordCount(), 2);
    EXPECT_EQ(set.op().ScalarInt("select count(*) from syslog where SysLogID=100"), 0);
}

TEST_F(OperatorWindows, LogViewerPrintsAndExportsWhatItShows)
{
    TfrmSysLog viewer;
    QStringList printed;
    SetGridPrintHook([&](TGridPrinter &printer, bool) { printed << printer.title; });
    viewer.acPrint()->trigger();
    SetGridPrintHook(nullptr);
    EXPECT_EQ(printed, QStringList({"系统日志"}));

    QTemporaryDir dir;
    const QString file = dir.filePath("log.xlsx");
    messages.files.enqueue(file);
    viewer.acExport()->trigger();
    EXPECT_TRUE(QFileInfo(file).size() > 0);
}

TEST_F(OperatorWindows, ClearingTheLogNeedsItsOwnRight)
{
    CurrentUser().rights = QString(180, '0');
    CurrentUser().rights[2] = '1'; // may read the log, not clear it
    TfrmSysLog viewer;
    EXPECT_FALSE(viewer.acClear()->isEnabled());
    viewer.acClearExecute();
    EXPECT_EQ(messages.last(), "对不起，您没有操作此功能的权限，请与系统管理员联系！");
}

TEST_F(OperatorWindows, FieldVisibilityIsForTheAdministratorAndKeepsATickedBox)
{
    {
        TfrmFieldPermisson window;
        EXPECT_EQ(window.windowTitle(), "字段权限设置");
        ASSERT_EQ(window.adsDict().recordCount(), 2);
        ASSERT_TRUE(window.adsDict().locate("cName", "sell"));
        EXPECT_EQ(window.adsDicts().recordCount(), 4);
        ASSERT_TRUE(window.adsDicts().locate("cFieldName", "idiscount"));
        window.adsDicts().edit();
        window.adsDicts()["bVisable"].setAsBoolean(true);
        window.btnExit()->click(); // leaving posts the pending tick
    }
    EXPECT_EQ(set.op().ScalarInt("select bVisable from dicts where cName='sell' and cFieldName='idiscount'"), 1);

    CurrentUser().userName = "Clerk";
    bool shown = false;
    QTimer::singleShot(0, [&] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            shown = true;
            w->close();
        }
    });
    TfrmFieldPermisson::Execute(nullptr);
    QApplication::processEvents();
    EXPECT_FALSE(shown);
}
