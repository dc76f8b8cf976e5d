#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "data/BugFix.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(BugFix, ShowsTheSelectedToolAndRunsIt)
{
    TestAccountSet set;
    ScriptedMessages messages;
    set.op().ExecCommand("delete from TablesID where TableName='VIP'");

    TfrmBugFix window;
    EXPECT_EQ(window.windowTitle(), "实用工具程序");
    ASSERT_EQ(window.toolList()->count(), 2);
    EXPECT_EQ(window.toolList()->currentRow(), 0);
    EXPECT_TRUE(window.description()->isReadOnly());
    EXPECT_TRUE(window.description()->toPlainText().startsWith("有些用户在建立期初数据时未输入成本价"));

    window.toolList()->setCurrentRow(1);
    EXPECT_EQ(window.toolList()->currentItem()->text(), "VIP用户输入错误");
    EXPECT_TRUE(window.description()->toPlainText().startsWith("早期版本中没有VIP用户基础资料"));
    QTest::mouseClick(window.runButton(), Qt::LeftButton);
    EXPECT_EQ(messages.last(), "修复完成！");
    EXPECT_EQ(set.op().ScalarInt("select NextID from TablesID where TableName='VIP'"), 1);
    EXPECT_EQ(window.runButton()->text(), "执行");
    EXPECT_EQ(window.closeButton()->text(), "退出");
}
