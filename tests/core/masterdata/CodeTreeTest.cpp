#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "masterdata/CodeTree.h"
#include "shell/AppError.h"

#include <gtest/gtest.h>

namespace {

struct CodeTreeFixture : ::testing::Test {
    TestAccountSet set;
    ScriptedMessages messages;
    std::unique_ptr<TCodeTree> tree;
    void SetUp() override
    {
        tree = std::make_unique<TCodeTree>(CodeTreeKind::Area);
        tree->rebuild();
    }
    TOpData &op() { return set.op(); }
    void addRows(std::initializer_list<const char *> codes)
    {
        int key = 100 + op().ScalarInt("select count(*) from Area");
        for (const char *code : codes)
            op().ExecCommandParams("insert into Area(AreaID,cArCode,cArName) values(?,?,?)",
                                   {key++, QString(code), QString(QStringLiteral("地区") + QString(code))});
        tree->rebuild();
    }
    int keyOf(const QString &code) { return op().ScalarInt("select AreaID from Area where cArCode=?", {code}); }
    QString codeOf(int key) { return op().ScalarText("select cArCode from Area where AreaID=?", {key}); }
    void expectRefused(const std::function<void()> &action, const QString &message)
    {
        try {
            action();
            ADD_FAILURE() << "not refused: " << message.toStdString();
        } catch (const AppError &e) {
            EXPECT_EQ(e.message(), message);
        }
    }
};

} // namespace

TEST(CodeTreeShape, RowsInCodeOrderHangUnderTheirParents)
{
    const TCodeTreeShape shape = BuildCodeTreeShape(
        {{1, "10", "华东"}, {2, "1001", "上海"}, {3, "100101", "浦东"}, {4, "10010101", "张江"}, {5, "1002", "江苏"},
         {6, "11", "华北"}, {7, "1101", "北京"}});
    ASSERT_EQ(shape.roots.size(), 2);
    auto at = [&](const char *code) { return shape.nodes.at(shape.indexOfCode(code)); };
    EXPECT_EQ(at("10").children.size(), 2);
    EXPECT_EQ(shape.nodes.at(at("1002").parent).code, "10");     // climbed three levels from "10010101"
    EXPECT_EQ(shape.nodes.at(at("10010101").parent).code, "100101");
    EXPECT_EQ(at("11").parent, -1);
    EXPECT_EQ(shape.nodes.at(at("1101").parent).code, "11");
    EXPECT_EQ(at("1001").text(), "1001 上海");
    EXPECT_EQ(at("10010101").level, 4);
}

TEST_F(CodeTreeFixture, CodesCountUpWithinEachParent)
{
    op().ExecCommand("update TablesID set NextID=5 where TableName='Area'");
    const int first = tree->addNode("", "华东");
    EXPECT_EQ(first, 5);
    EXPECT_EQ(codeOf(first), "10");
    EXPECT_EQ(codeOf(tree->addNode("", "华北")), "11");
    EXPECT_EQ(codeOf(tree->addNode("10", "上海")), "1001");
    EXPECT_EQ(codeOf(tree->addNode("10", "江苏")), "1002");
    EXPECT_EQ(codeOf(tree->addNode("1001", "浦东")), "100101");
    EXPECT_EQ(tree->selectedCode(), "100101");
    EXPECT_EQ(tree->shape().nodes.size(), 5);
    EXPECT_EQ(op().ScalarText("select cArName from Area where cArCode='1002'"), "江苏");
}

TEST_F(CodeTreeFixture, NextCodeIsOneAboveTheHighestSibling)
{
    addRows({"10", "12", "1201", "1205", "120501"});
    EXPECT_EQ(tree->nextCode(""), "13");
    EXPECT_EQ(tree->nextCode("12"), "1206"); // grandchildren do not count
    EXPECT_EQ(tree->nextCode("1205"), "120502");
    EXPECT_EQ(tree->nextCode("10"), "1001");
}

TEST_F(CodeTreeFixture, RefusesAFifthLevelAndAFullLevel)
{
    addRows({"10", "1001", "100101", "10010101", "99"});
    const int before = op().ScalarInt("select count(*) from Area");
    expectRefused([&] { tree->addNode("10010101", "太深"); }, "最长允许四级长度，代码级别超过限制");
    expectRefused([&] { tree->nextCode(""); }, "最上一级的代码（10至99）已经用完，不能再增加！");
    op().ExecCommand("insert into Area(AreaID,cArCode,cArName) values(900,'100199','满')");
    expectRefused([&] { tree->nextCode("1001"); }, "“1001”下的代码（01至99）已经用完，不能再增加！");
    EXPECT_EQ(op().ScalarInt("select count(*) from Area"), before + 1);
}

TEST_F(CodeTreeFixture, RenameKeepsCodeAndKey)
{
    addRows({"10", "1001"});
    const int key = keyOf("1001");
    tree->renameNode(key, "  上海市 ");
    EXPECT_EQ(op().ScalarText("select cArName from Area where AreaID=?", {key}), "上海市");
    EXPECT_EQ(codeOf(key), "1001");
    expectRefused([&] { tree->renameNode(key, " "); }, "名称不能为空！");
}

// Drop-downs list the nodes by name: two of one name under one parent cannot be told apart.
TEST_F(CodeTreeFixture, ANameIsUsedOnceUnderEachParent)
{
    addRows({"10", "1001", "1002", "11", "1101"});  // named 地区<code>
    const QString taken = "同一级中已经有“地区1001”，不能重复！";
    expectRefused([&] { tree->addNode("10", "地区1001"); }, taken);
    expectRefused([&] { tree->addNode("10", " 地区1001 "); }, taken);
    expectRefused([&] { tree->renameNode(keyOf("1002"), "地区1001"); }, taken);
    op().ExecCommand("update Area set cArName='地区1001' where cArCode='1101'");
    tree->rebuild();
    expectRefused([&] { tree->moveNode(keyOf("1001"), keyOf("11")); }, taken);
    EXPECT_EQ(op().ScalarInt("select count(*) from Area"), 5);
    EXPECT_EQ(codeOf(keyOf("1001")), "1001");

    // the same name under another parent, and a node keeping its own name, are fine
    tree->addNode("11", "地区1002");
    tree->renameNode(keyOf("1001"), "地区1001");
    EXPECT_EQ(op().ScalarInt("select count(*) from Area"), 6);
}

TEST_F(CodeTreeFixture, DropRules)
{
    addRows({"10", "1001", "100101", "1002", "11"});
    struct Case {
        const char *dragged;
        const char *target; // nullptr: empty space
        bool accepted;
    };
    const Case cases[] = {
        {"1002", "11", true},      {"1002", "1001", true}, {"1002", nullptr, true},
        {"1001", "11", false},     // has children
        {"1002", "1002", false},   // onto itself
        {"1002", "10", false},     // onto its own parent
        {"11", nullptr, false},    // already at the top
        {"100101", "1002", true},
    };
    for (const Case &c : cases) {
        std::optional<int> target;
        if (c.target)
            target = keyOf(c.target);
        EXPECT_EQ(tree->canMove(keyOf(c.dragged), target), c.accepted)
            << c.dragged << " -> " << (c.target ? c.target : "(top)");
    }
}

TEST_F(CodeTreeFixture, MovingGivesTheNextCodeUnderTheTargetAndKeepsTheKey)
{
    addRows({"10", "1001", "1002", "11"});
    const int key = keyOf("1002");
    EXPECT_EQ(tree->moveNode(key, keyOf("11")), "1101");
    EXPECT_EQ(codeOf(key), "1101");
    EXPECT_EQ(op().ScalarText("select cArName from Area where AreaID=?", {key}), "地区1002");
    EXPECT_EQ(tree->selectedCode(), "1101");
    const int index = tree->shape().indexOfKey(key);
    EXPECT_EQ(tree->shape().nodes.at(tree->shape().nodes.at(index).parent).code, "11");

    EXPECT_EQ(tree->moveNode(keyOf("1001"), std::nullopt), "12");
    expectRefused([&] { tree->moveNode(keyOf("11"), keyOf("11")); }, "不能移动到这里！");
}

TEST_F(CodeTreeFixture, MoveUnderAFourthLevelNodeChangesNothing)
{
    addRows({"10", "1001", "100101", "10010101", "11"});
    const int key = keyOf("11");
    expectRefused([&] { tree->moveNode(key, keyOf("10010101")); }, "最长允许四级长度，代码级别超过限制");
    EXPECT_EQ(codeOf(key), "11");
    EXPECT_FALSE(tree->dataSet().isEditing());
}

TEST_F(CodeTreeFixture, DeleteChildrenFirst)
{
    addRows({"10", "1001", "11"});
    expectRefused([&] { tree->deleteNode(keyOf("10")); }, "请先删除子节点！");
    EXPECT_TRUE(messages.shown.isEmpty()); // refused before any question

    messages.answers.enqueue(false);
    EXPECT_FALSE(tree->deleteNode(keyOf("1001")));
    EXPECT_EQ(op().ScalarInt("select count(*) from Area"), 3);

    EXPECT_TRUE(tree->deleteNode(keyOf("1001")));
    EXPECT_TRUE(messages.saw("删除后不能恢复，您确实要删除当前行吗?"));
    EXPECT_EQ(tree->selectedCode(), "10");
    EXPECT_TRUE(tree->deleteNode(keyOf("10")));
    EXPECT_EQ(op().ScalarText("select group_concat(cArCode) from Area"), "11");
    EXPECT_EQ(tree->shape().nodes.size(), 1);
}

TEST_F(CodeTreeFixture, CategoriesUseTheirOwnNames)
{
    TCodeTree categories(CodeTreeKind::InventoryC);
    categories.rebuild();
    const int key = categories.addNode("", "上衣");
    categories.addNode("10", "衬衫");
    EXPECT_EQ(op().ScalarText("select cInvCCode from InventoryC where InventoryCID=?", {key}), "10");
    EXPECT_EQ(op().ScalarText("select cInvCName from InventoryC where cInvCCode='1001'"), "衬衫");
    EXPECT_EQ(op().ScalarInt("select count(*) from Area"), 0);
}

TEST_F(CodeTreeFixture, AreaStillUsedByACustomerStays)
{
    addRows({"10", "1001"});
    op().ExecCommandParams("insert into Customer(CustomerID,cCusShortName,AreaID) values(1,'华联',?)", {keyOf("1001")});
    EXPECT_FALSE(tree->deleteNode(keyOf("1001")));
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.last().startsWith("删除数据时发生错误，可能是您的数据未处于修改状态！\r错误原因:"));
    EXPECT_TRUE(messages.last().contains("该地区已被客户资料使用，不能删除！"));
    EXPECT_EQ(op().ScalarInt("select count(*) from Area"), 2);
    EXPECT_EQ(tree->shape().nodes.size(), 2);
}
