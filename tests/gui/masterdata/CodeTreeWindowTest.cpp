#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "masterdata/CodeTreeWindow.h"
#include "shell/AppContext.h"
#include "shell/UserInfo.h"

#include <QAction>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct TreeWindowFixture : ::testing::Test {
    TestAccountSet set;
    ScriptedMessages messages;
    TOpData &op() { return set.op(); }
    QString codeOf(int key) { return op().ScalarText("select cArCode from Area where AreaID=?", {key}); }
    int keyOf(const char *code) { return op().ScalarInt("select AreaID from Area where cArCode=?", {QString(code)}); }
};

QStringList Texts(const QTreeWidget *tree)
{
    QStringList texts;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it)
        texts << QString((*it)->parent() ? QStringLiteral(">") : QString()) + (*it)->text(0);
    return texts;
}

} // namespace

TEST_F(TreeWindowFixture, AddsSiblingsAndChildrenWithNamesAsked)
{
    TCodeTreeWindow window(CodeTreeKind::Area);
    EXPECT_EQ(window.windowTitle(), "地区资料");
    EXPECT_EQ(op().ScalarText("select OpModule from syslog order by SysLogID desc limit 1"), "地区资料");

    messages.inputs << QString("华东") << QString("华北") << std::nullopt << QString("上海") << QString("江苏")
                    << QString("浦东");
    window.acAddFriend->trigger();          // nothing selected: top level
    EXPECT_EQ(window.selectedKey().value_or(-1), keyOf("10"));
    window.acAddFriend->trigger();          // beside "10"
    window.selectKey(keyOf("10"));
    window.acAddChild->trigger();           // cancelled: nothing added
    window.acAddChild->trigger();
    window.selectKey(keyOf("10"));
    window.acAddChild->trigger();
    window.acAddChild->trigger();           // under the new "1002", which is selected now
    EXPECT_EQ(messages.dialogCaptions.first(), "输入名称|名称");
    EXPECT_EQ(Texts(window.treeWidget()),
              QStringList({"10 华东", ">1001 上海", ">1002 江苏", ">100201 浦东", "11 华北"}));
    EXPECT_EQ(window.treeWidget()->currentItem()->text(0), "100201 浦东");
}

TEST_F(TreeWindowFixture, KeysAddRenameAndDeleteWithoutTheMouse)
{
    op().ExecCommand("insert into Area(AreaID,cArCode,cArName) values(7,'10','华东')");
    TCodeTreeWindow window(CodeTreeKind::Area);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.selectKey(7);
    QTreeWidget *tree = window.treeWidget();
    tree->setFocus();

    messages.inputs << QString("华北") << QString("上海") << QString("北京");
    QTest::keyClick(tree, Qt::Key_Insert);                      // 增同级 beside "10"
    window.selectKey(7);
    QTest::keyClick(tree, Qt::Key_Insert, Qt::ControlModifier); // 增子级 under "10"
    EXPECT_EQ(codeOf(keyOf("1001")), "1001");
    window.selectKey(keyOf("11"));
    QTest::keyClick(window.treeWidget(), Qt::Key_F2);           // rename "11"
    EXPECT_EQ(Texts(window.treeWidget()), QStringList({"10 华东", ">1001 上海", "11 北京"}));
    QTest::keyClick(window.treeWidget(), Qt::Key_Delete);       // "11" has no children
    EXPECT_EQ(Texts(window.treeWidget()), QStringList({"10 华东", ">1001 上海"}));
    EXPECT_EQ(messages.dialogCaptions.size(), 3);
    EXPECT_EQ(messages.last(), "删除后不能恢复，您确实要删除当前行吗?");
}

TEST_F(TreeWindowFixture, ClickShowsTheKeyDoubleClickRenamesALeaf)
{
    op().ExecCommand("insert into Area(AreaID,cArCode,cArName) values(7,'10','华东'),(8,'1001','上海')");
    TCodeTreeWindow window(CodeTreeKind::Area);
    window.resize(300, 300);
    window.show();
    QTreeWidget *tree = window.treeWidget();
    QTreeWidgetItem *leaf = tree->topLevelItem(0)->child(0);
    const QPoint at = tree->visualItemRect(leaf).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(window.statusBar()->currentMessage(), "8");

    messages.inputs << QString("上海市");
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(op().ScalarText("select cArName from Area where AreaID=8"), "上海市");
    EXPECT_EQ(Texts(tree), QStringList({"10 华东", ">1001 上海市"}));

    // a node with children is not renamed by a double click (it opens and closes)
    const QPoint parentAt = tree->visualItemRect(tree->topLevelItem(0)).center();
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, parentAt);
    EXPECT_EQ(messages.dialogCaptions.size(), 1);
}

TEST_F(TreeWindowFixture, RefusalsReachTheUserAndChangeNothing)
{
    op().ExecCommand("insert into Area(AreaID,cArCode,cArName) values(1,'10','华东'),(2,'1001','上海'),"
                     "(3,'100101','浦东'),(4,'10010101','张江')");
    TCodeTreeWindow window(CodeTreeKind::Area);
    window.selectKey(4);
    window.acAddChild->trigger();
    EXPECT_EQ(messages.last(), "最长允许四级长度，代码级别超过限制");
    EXPECT_TRUE(messages.dialogCaptions.isEmpty()); // refused before the name is asked

    window.selectKey(1);
    window.acDelete->trigger();
    EXPECT_EQ(messages.last(), "请先删除子节点！");
    EXPECT_EQ(op().ScalarInt("select count(*) from Area"), 4);

    op().ExecCommand("insert into Customer(CustomerID,cCusShortName,AreaID) values(1,'甲',4)");
    window.selectKey(4);
    window.acDelete->trigger();
    EXPECT_TRUE(messages.last().contains("该地区已被客户资料使用，不能删除！"));
    EXPECT_EQ(window.selectedKey().value_or(-1), 4);
    EXPECT_EQ(Texts(window.treeWidget()).size(), 4);
}

TEST_F(TreeWindowFixture, DroppingALeafOnANodeMovesItThereWithItsKey)
{
    op().ExecCommand("insert into Area(AreaID,cArCode,cArName) values(1,'10','华东'),(2,'1001','上海'),"
                     "(3,'1002','江苏'),(4,'11','华北')");
    TCodeTreeWindow window(CodeTreeKind::Area);
    EXPECT_FALSE(window.canDrop(1, 4)); // has children
    EXPECT_FALSE(window.canDrop(3, 1)); // onto its own parent
    window.drop(3, 4);
    EXPECT_EQ(codeOf(3), "1101");
    EXPECT_EQ(Texts(window.treeWidget()), QStringList({"10 华东", ">1001 上海", "11 华北", ">1101 江苏"}));
    EXPECT_EQ(window.selectedKey().value_or(-1), 3);
    window.drop(2, std::nullopt);
    EXPECT_EQ(codeOf(2), "12");
}

TEST_F(TreeWindowFixture, CategoryTreeWorksOnItsOwnTable)
{
    TCodeTreeWindow window(CodeTreeKind::InventoryC);
    EXPECT_EQ(window.windowTitle(), "货品分类资料");
    EXPECT_EQ(window.objectName(), "TfrmInventoryC");
    messages.inputs << QString("上衣");
    window.acAddChild->trigger();
    EXPECT_EQ(op().ScalarText("select cInvCCode||' '||cInvCName from InventoryC"), "10 上衣");
    EXPECT_EQ(Texts(window.treeWidget()), QStringList({"10 上衣"}));
}
