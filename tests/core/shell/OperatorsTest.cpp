#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "data/DataSetHelpers.h"
#include "data/DbDataSet.h"
#include "shell/AccountOpen.h"
#include "shell/AccountSets.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/Operators.h"
#include "shell/PasswordHash.h"
#include "shell/UserInfo.h"

#include <QObject>
#include <gtest/gtest.h>

namespace {

// Adds an operator the way the operator window does.
void AddOperator(const QString &name, const QString &password)
{
    auto list = MakeOperatorList();
    list->append();
    (*list)["cUserName"].setAsString(name);
    SaveNewOperator(*list, password, password);
}

} // namespace

TEST(Login, AdministratorOfANewSetLogsInWithAnEmptyPassword)
{
    TestAccountSet set;
    ScriptedMessages messages;
    TUserInfo user;
    ASSERT_TRUE(user.Login("管理员", ""));
    EXPECT_EQ(user.userName, "管理员");
    EXPECT_EQ(user.rights, QString(180, '1'));
    EXPECT_EQ(user.passwordHash, PasswordHash("管理员", ""));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST(Login, PasswordsCompareWithoutLetterCase)
{
    TestAccountSet set;
    ScriptedMessages messages;
    AddOperator("Clerk", "Secret9");
    for (const QString typed : {"Secret9", "SECRET9", "secret9"}) {
        TUserInfo user;
        EXPECT_TRUE(user.Login("clerk", typed)) << typed.toStdString();
        EXPECT_EQ(user.userName, "Clerk");
        EXPECT_EQ(user.rights, QString(180, '0'));
        EXPECT_FALSE(user.isSuper);
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST(Login, RefusalsAreAcknowledgedAndLeaveTheUserUnchanged)
{
    TestAccountSet set;
    ScriptedMessages messages;
    AddOperator("Clerk", "pw");
    struct Case {
        QString name, password, message;
    };
    const QList<Case> cases = {
        {"Nobody", "", "该用户不存在,请重新输入!"},
        {"Clerk", "wrong", "密码错误,请重新输入!"},
        {"Clerk", "", "密码错误,请重新输入!"},
    };
    for (const Case &c : cases) {
        messages.clear();
        TUserInfo user;
        user.userName = "before";
        EXPECT_FALSE(user.Login(c.name, c.password));
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_EQ(messages.shown[0].kind, IMessageService::Kind::Acknowledge);
        EXPECT_EQ(user.userName, "before");
    }
}

TEST(Rights, ApplyRightsFollowsTagsWithinTheString)
{
    QObject noTag, tag1, tag3, tag10, tag11, tag150;
    tag1.setProperty("Tag", 1);
    tag3.setProperty("Tag", 3);
    tag10.setProperty("Tag", 10);
    tag11.setProperty("Tag", 11);
    tag150.setProperty("Tag", 150);
    const QList<QObject *> actions{&noTag, &tag1, &tag3, &tag10, &tag11, &tag150};
    for (QObject *a : actions)
        a->setProperty("enabled", false);

    ApplyRights(actions, "1000000001"); // ten positions
    EXPECT_TRUE(noTag.property("enabled").toBool());
    EXPECT_TRUE(tag1.property("enabled").toBool());
    EXPECT_FALSE(tag3.property("enabled").toBool());
    EXPECT_TRUE(tag10.property("enabled").toBool());
    EXPECT_TRUE(tag11.property("enabled").toBool());   // beyond the string: left enabled
    EXPECT_TRUE(tag150.property("enabled").toBool());

    tag3.setProperty("enabled", false);
    ApplyRights(actions, "");                           // empty rights touch nothing
    EXPECT_FALSE(tag3.property("enabled").toBool());
}

TEST(Rights, HasRightAndWithRights)
{
    TUserInfo user;
    user.rights = "0101";
    EXPECT_FALSE(user.HasRight(1));
    EXPECT_TRUE(user.HasRight(2));
    EXPECT_FALSE(user.HasRight(0));
    EXPECT_FALSE(user.HasRight(5));
    const QString grown = WithRights("0101", {{1, true}, {4, false}, {181, true}});
    EXPECT_EQ(grown.size(), 181);
    EXPECT_TRUE(grown.startsWith("1100"));
    EXPECT_EQ(grown.mid(4, 176), QString(176, '0'));
    EXPECT_EQ(grown.back(), '1');
}

TEST(Rights, GroupFilterThenConfirmWritesEveryPosition)
{
    TestAccountSet set;
    ScriptedMessages messages;
    QString rights(180, '0');
    rights[0] = '1';    // 用户管理 (系统管理)
    rights[40] = '1';   // 销售单游览 (销售管理)
    rights[35] = '1';   // no catalogue row: kept as it is
    auto purview = MakePurviewSet(rights);
    EXPECT_EQ(purview->recordCount(), 66);

    FilterPurviewByGroup(*purview, "销售管理");
    ASSERT_EQ(purview->recordCount(), 11);
    ASSERT_TRUE(purview->locate("PurviewID", 42));
    purview->edit();
    (*purview)["bRight"].setAsBoolean(true);
    purview->next();  // moving on posts the check box

    // Rights hidden by the filter are written too: untick 用户管理 while 系统管理 is not shown.
    FilterPurviewByGroup(*purview, "全部");
    ASSERT_TRUE(purview->locate("PurviewID", 1));
    purview->edit();
    (*purview)["bRight"].setAsBoolean(false);
    FilterPurviewByGroup(*purview, "库存管理");
    ASSERT_TRUE(purview->locate("PurviewID", 51));
    purview->edit();
    (*purview)["bRight"].setAsBoolean(true);

    const QString written = RightsFromPurview(*purview, rights);
    EXPECT_EQ(purview->recordCount(), 15); // the filter is still in place
    QString expected(180, '0');
    expected[35] = '1';
    expected[40] = '1';
    expected[41] = '1';
    expected[50] = '1';
    EXPECT_EQ(written, expected);

    SaveOperatorRights("管理员", written);
    EXPECT_EQ(set.op().ScalarText("select cRight from Operator where cUserName='管理员'"), expected);
    EXPECT_EQ(messages.last(), "重新设置权限后，需要下一次登录才能起作用！");
}

TEST(Rights, AdministratorsRightsAreNotEditable)
{
    ScriptedMessages messages;
    EXPECT_FALSE(RightsEditable("管理员"));
    EXPECT_EQ(messages.last(), "不能修改系统内置“管理员”的权限！");
    EXPECT_TRUE(RightsEditable("Clerk"));
    EXPECT_EQ(messages.shown.size(), 1);
}

TEST(Operators, NewOperatorStartsWithoutRightsAndAHashedPassword)
{
    TestAccountSet set;
    ScriptedMessages messages;
    const int nextId = set.op().ScalarInt("select NextID from TablesID where TableName='Operator'");
    AddOperator("Anna", " pw ");
    auto row = set.op().QueryDataParams("select * from Operator where cUserName=?", {"Anna"});
    ASSERT_EQ(row->recordCount(), 1);
    EXPECT_EQ((*row)["OperatorID"].asInteger(), nextId);
    EXPECT_EQ((*row)["cRight"].asString(), QString(180, '0'));
    EXPECT_EQ((*row)["cPassword"].asString(), PasswordHash("Anna", " pw ")); // as typed, not trimmed
    EXPECT_FALSE((*row)["bSuper"].asBoolean());
}

TEST(Operators, NewOperatorRefusals)
{
    TestAccountSet set;
    ScriptedMessages messages;
    auto list = MakeOperatorList();
    const int before = list->recordCount();
    list->append();
    (*list)["cUserName"].setAsString("Bob");
    try {
        SaveNewOperator(*list, "a", "b");
        ADD_FAILURE() << "saved";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), "两次密码输入不一致，请重新输入！");
    }
    for (const QString &taken : {QString("管理员"), QString("ANNA")}) {
        if (taken == "ANNA") {
            list->cancel();
            AddOperator("Anna", "");
            list = MakeOperatorList();
            list->append();
        }
        (*list)["cUserName"].setAsString(taken);
        try {
            SaveNewOperator(*list, "a", "a");
            ADD_FAILURE() << "saved";
        } catch (const AppError &e) {
            EXPECT_EQ(e.message(), "用户名“" + taken + "”已存在，请换一个用户名！");
        }
        EXPECT_EQ(list->state(), TDataSet::State::Insert);
    }
    (*list)["cUserName"].setAsString("");
    EXPECT_THROW(SaveNewOperator(*list, " a", "a "), AbortError); // trimmed alike, but no name
    EXPECT_EQ(messages.last(), "用户名不能为空！");
    EXPECT_EQ(messages.shown.last().kind, IMessageService::Kind::Acknowledge);
    EXPECT_EQ(list->state(), TDataSet::State::Insert);
    list->cancel();
    EXPECT_EQ(set.op().ScalarInt("select count(*) from Operator"), before + 1);   // Anna only
}

TEST(Operators, AdministratorCannotBeDeleted)
{
    TestAccountSet set;
    ScriptedMessages messages;
    AddOperator("Temp", "");
    auto list = MakeOperatorList();
    ASSERT_TRUE(list->locate("cUserName", "管理员"));
    EXPECT_FALSE(DeleteOperator(*list));
    EXPECT_EQ(messages.last(), "不能删除管理员用户!");
    EXPECT_EQ(messages.shown.last().kind, IMessageService::Kind::Warning);
    ASSERT_TRUE(list->locate("cUserName", "Temp"));
    EXPECT_TRUE(DeleteOperator(*list));
    EXPECT_EQ(set.op().ScalarInt("select count(*) from Operator where cUserName='Temp'"), 0);
}

TEST(Operators, ChangePassword)
{
    TestAccountSet set;
    ScriptedMessages messages;
    TUserInfo user;
    ASSERT_TRUE(user.Login("管理员", ""));
    struct Case {
        QString oldPw, newPw, confirm, message;
        bool changed;
    };
    const QList<Case> cases = {
        {"", "abc", "abd", "新密码与确认密码不一致！", false},
        {"x", "abc", "abc", "原密码不正确！", false},
        {"", "abc", "abc", "密码修改成功！", true},
        {"ABC", "", "", "密码修改成功！", true}, // old password compared without case
    };
    QString current = "";
    for (const Case &c : cases) {
        messages.clear();
        EXPECT_EQ(ChangePassword(user, c.oldPw, c.newPw, c.confirm), c.changed);
        EXPECT_EQ(messages.last(), c.message);
        if (c.changed)
            current = c.newPw;
        EXPECT_EQ(set.op().ScalarText("select cPassword from Operator where cUserName='管理员'"),
                  PasswordHash("管理员", current));
        EXPECT_EQ(user.passwordHash, PasswordHash("管理员", current));
    }
}

TEST(SysLog, ClearingKeepsTheRowsOfTheChosenDay)
{
    TestAccountSet set;
    const QStringList times = {"2024.05.02 23:59:59", "2024.05.03 00:00:00", "2024.05.03 18:00:00", "2024.05.04 08:00:00"};
    int id = 1;
    for (const QString &t : times)
        set.op().ExecCommandParams("insert into syslog(SysLogID,UserName,OpTime,OpModule) values(?,?,?,?)",
                                   {id++, "管理员", t, "销售单"});
    set.op().ClearSysLog(QDate(2024, 5, 3));
    auto log = set.op().SysLogPacket();
    ASSERT_EQ(log->recordCount(), 3);
    EXPECT_EQ((*log)["optime"].asString(), "2024.05.04 08:00:00"); // newest first
}

TEST(SysLog, ARowThatCannotBeStoredTakesNoKey)
{
    TestAccountSet set;
    const int next = set.op().ScalarInt("select NextID from TablesID where TableName='syslog'");
    set.op().ExecCommand("create trigger refuse before insert on syslog begin select raise(abort,'full'); end");
    EXPECT_THROW(set.op().WriteSysLog("管理员", "销售单"), AppError);
    EXPECT_EQ(set.op().ScalarInt("select NextID from TablesID where TableName='syslog'"), next);
    set.op().ExecCommand("drop trigger refuse");
    set.op().WriteSysLog("管理员", "销售单");
    EXPECT_EQ(set.op().ScalarInt("select max(SysLogID) from syslog"), next);
}

TEST(FieldVisibility, SettingsHideAndShowColumnsWithoutRegardToCase)
{
    TestAccountSet set;
    TDataSet report;
    report.setFieldDefs({FieldDef("cInvCode", FieldType::String, 20), FieldDef("iPrice", FieldType::Float),
                         FieldDef("ICPRICE", FieldType::Float), FieldDef("icMoney", FieldType::Float)});
    report.createDataSet();
    report.fieldByName("iPrice").visible = false;
    set.op().ApplyFieldVisibility(report, "realtimestock");
    EXPECT_TRUE(report.fieldByName("cInvCode").visible);   // not listed: untouched
    EXPECT_TRUE(report.fieldByName("iPrice").visible);     // listed as shown
    EXPECT_FALSE(report.fieldByName("ICPRICE").visible);   // listed as hidden
    EXPECT_FALSE(report.fieldByName("icMoney").visible);
}

TEST(OpenAccountSet, RebuildsADamagedCatalogueAndKeepsRightsStrings)
{
    ScriptedMessages messages;
    TestAccountSet set;
    AddOperator("Clerk", "");
    QString rights(180, '0');
    rights[40] = '1';
    set.op().SetOperatorRights("Clerk", rights);
    set.op().ExecCommand("delete from Purview where PurviewID=41");
    const QString code = App().accCode;
    ASSERT_TRUE(OpenAccountSet(code, "演示", ""));
    EXPECT_EQ(OpData().ScalarInt("select count(*) from Purview"), 66);
    EXPECT_EQ(OpData().ScalarInt("select count(*) from PurviewG"), 6);
    EXPECT_EQ(OpData().ScalarText("select cPurviewName from Purview where PurviewID=41"), "销售单游览");
    EXPECT_EQ(OpData().ScalarText("select cRight from Operator where cUserName='Clerk'"), rights);
    EXPECT_EQ(App().closingMonth, "2003.01");
    EXPECT_EQ(App().accName, "演示");

    EXPECT_FALSE(OpenAccountSet("", "x", "")); // an empty code opens nothing
    BindDbHelpers(QSqlDatabase());              // the fixture closes the connection
}
