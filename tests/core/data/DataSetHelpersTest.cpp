#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "data/DataSetHelpers.h"
#include "data/DbDataSet.h"
#include "data/FieldAttrib.h"
#include "shell/AppError.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString kPostError = QStringLiteral("保存数据库发生错误，输入的数据不唯一！\r错误原因:");
const QString kDeleteError = QStringLiteral("删除数据时发生错误，可能是您的数据未处于修改状态！\r错误原因:");
const QString kAppendError = QStringLiteral("添加记录时发生错误，可能数据集未处于编辑状态！\r错误原因:");
const QString kDeleteQuestion = QStringLiteral("删除后不能恢复，您确实要删除当前行吗?");

void MakeColours(TOpData &op)
{
    op.ExecCommand("create table Tint(TintID integer primary key, cName text COLLATE NOCASE unique not null, "
                   "iRank integer)");
    op.ExecCommand("insert into Tint values(1,'红',2),(2,'黑',1),(3,'白',2),(4,'灰',1)");
}

std::unique_ptr<TDbDataSet> OpenColours()
{
    auto ds = std::make_unique<TDbDataSet>();
    ds->setCommandText("select * from Tint order by TintID");
    ds->setUpdateTable("Tint", {"TintID"});
    ds->open();
    return ds;
}

QStringList Column(TDataSet &ds, const QString &field)
{
    QStringList values;
    for (int r = 0; r < ds.recordCount(); ++r)
        values << ds.valueAt(r, ds.fieldIndex(field)).toString();
    return values;
}
} // namespace

TEST(GuardedEdits, PostWithMessage)
{
    TestAccountSet set;
    MakeColours(set.op());
    ScriptedMessages messages;
    auto ds = OpenColours();

    // Browse state: nothing to post, nothing said.
    EXPECT_FALSE(PostWithMessage(*ds));
    EXPECT_TRUE(messages.shown.isEmpty());

    // A duplicate name is refused with the reason and the record stays in edit state.
    ds->append();
    (*ds)["TintID"].setValue(5);
    (*ds)["cName"].setValue("黑");
    EXPECT_FALSE(PostWithMessage(*ds));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown.first().kind, IMessageService::Kind::Info);
    EXPECT_TRUE(messages.last().startsWith(kPostError)) << messages.last().toStdString();
    EXPECT_GT(messages.last().size(), kPostError.size()); // the database's reason follows
    EXPECT_EQ(ds->state(), TDataSet::State::Insert);

    (*ds)["cName"].setValue("蓝");
    EXPECT_TRUE(PostWithMessage(*ds));
    EXPECT_EQ(ds->state(), TDataSet::State::Browse);
    EXPECT_EQ(set.op().ScalarText("select cName from Tint where TintID=5"), "蓝");
}

TEST(GuardedEdits, DeleteWithConfirm)
{
    TestAccountSet set;
    MakeColours(set.op());
    ScriptedMessages messages;

    TDataSet empty;
    empty.setFieldDefs({{"a", FieldType::Integer}});
    EXPECT_FALSE(DeleteWithConfirm(empty)); // inactive
    empty.createDataSet();
    EXPECT_FALSE(DeleteWithConfirm(empty)); // empty: no question at all
    EXPECT_TRUE(messages.shown.isEmpty());

    auto ds = OpenColours();
    messages.answers.enqueue(false);
    EXPECT_FALSE(DeleteWithConfirm(*ds));
    EXPECT_EQ(messages.last(), kDeleteQuestion);
    EXPECT_EQ(ds->recordCount(), 4);

    EXPECT_TRUE(DeleteWithConfirm(*ds));
    EXPECT_EQ(ds->recordCount(), 3);
    EXPECT_EQ(set.op().ScalarInt("select count(*) from Tint"), 3);

    // The row went away under the window: the database refuses and the record stays.
    set.op().ExecCommand("delete from Tint");
    messages.clear();
    EXPECT_FALSE(DeleteWithConfirm(*ds));
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.last().startsWith(kDeleteError)) << messages.last().toStdString();
    EXPECT_EQ(ds->recordCount(), 3);
}

TEST(GuardedEdits, ARecordWhosePostWasRefusedCanStillBeDeleted)
{
    TestAccountSet set;
    MakeColours(set.op());
    ScriptedMessages messages;
    auto ds = OpenColours();
    ds->setRecNo(2);
    ds->edit();
    (*ds)["cName"].setValue("红"); // a duplicate: the post is refused
    EXPECT_FALSE(PostWithMessage(*ds));
    EXPECT_TRUE(DeleteWithConfirm(*ds));
    EXPECT_EQ(set.op().ScalarInt("select count(*) from Tint where TintID=2"), 0);
    EXPECT_EQ(set.op().ScalarInt("select count(*) from Tint where cName='红'"), 1);
    EXPECT_EQ(ds->recordCount(), 3);
    EXPECT_EQ(ds->state(), TDataSet::State::Browse);

    // In memory the change log keeps the record as it was before the dropped edit.
    TDataSet local;
    local.setFieldDefs({{"n", FieldType::String, 10}});
    local.createDataSet();
    local.appendRecord({"a"});
    local.mergeChangeLog();
    local.edit();
    local["n"].setValue("b");
    local.deleteRecord();
    local.cancelUpdates();
    EXPECT_EQ(local.valueAt(0, 0).toString(), "a");
}

TEST(GuardedEdits, AppendWithMessage)
{
    ScriptedMessages messages;
    TDataSet ds;
    ds.setFieldDefs({{"a", FieldType::Integer}});
    EXPECT_FALSE(AppendWithMessage(ds)); // closed: nothing happens
    EXPECT_TRUE(messages.shown.isEmpty());

    ds.createDataSet();
    ds.canModify = false;
    EXPECT_FALSE(AppendWithMessage(ds));
    EXPECT_TRUE(messages.last().startsWith(kAppendError)) << messages.last().toStdString();
    EXPECT_EQ(ds.recordCount(), 0);

    ds.canModify = true;
    EXPECT_TRUE(AppendWithMessage(ds));
    EXPECT_EQ(ds.state(), TDataSet::State::Insert);
}

TEST(DataSetHelpers, RecordCounterText)
{
    TDataSet ds;
    ds.setFieldDefs({{"n", FieldType::Integer}});
    EXPECT_EQ(RecordCounterText(ds, "原文"), "原文");
    ds.createDataSet();
    for (int i = 1; i <= 10; ++i)
        ds.appendRecord({i});
    ds.setRecNo(3);
    EXPECT_EQ(RecordCounterText(ds), QStringLiteral("第3行，共10行"));
}

TEST(DataSetHelpers, SetFieldsReadOnlySkipsUnknownNames)
{
    TDataSet ds;
    ds.setFieldDefs({{"iNum", FieldType::Float}, {"cInvName", FieldType::String, 60}});
    ds.createDataSet();
    SetFieldsReadOnly(ds, {"inum", "nosuch", "CINVNAME"}, true);
    EXPECT_TRUE(ds["iNum"].readOnly);
    EXPECT_TRUE(ds["cInvName"].readOnly);
    SetFieldsReadOnly(ds, {"iNum"}, false);
    EXPECT_FALSE(ds["iNum"].readOnly);
}

// Database windows read an up marker as ascending; in-memory windows read it as descending.
TEST(SortByMarkers, DatabaseDataSetDownThenUp)
{
    TestAccountSet set;
    MakeColours(set.op());
    auto ds = OpenColours();
    const TSortMarkers markers{{"iRank", {}, SortMarker::Down}, {"cName", {}, SortMarker::Up}};
    EXPECT_EQ(SortAdoByMarkers(markers, *ds), "iRank DESC, cName");
    // Rank 2 first (红, 白 by name), then rank 1 (灰, 黑 by name).
    QStringList names = Column(*ds, "cName");
    QStringList expected{"白", "红", "灰", "黑"};
    std::sort(expected.begin(), expected.begin() + 2);
    std::sort(expected.begin() + 2, expected.end());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(Column(*ds, "iRank"), QStringList({"2", "2", "1", "1"}));

    EXPECT_EQ(SortAdoByMarkers({}, *ds), "");
    EXPECT_EQ(Column(*ds, "TintID"), QStringList({"1", "2", "3", "4"}));
}

TEST(SortByMarkers, InMemoryDataSetReadsMarkersTheOtherWay)
{
    TDataSet ds;
    ds.setFieldDefs({{"code", FieldType::String, 10}, {"qty", FieldType::Integer}});
    ds.createDataSet();
    ds.appendRecord({"b", 1});
    ds.appendRecord({"A", 2});
    ds.appendRecord({"a", 3});
    ds.appendRecord({"B", 3});

    // Down: case-insensitive ascending (the original order decides between "A" and "a").
    SortCdsByMarkers({{"code", {}, SortMarker::Down}}, ds);
    EXPECT_EQ(ds.indexName(), "index1");
    EXPECT_EQ(Column(ds, "code"), QStringList({"A", "a", "b", "B"}));

    // Up: descending; then the second column, down, ascending.
    SortCdsByMarkers({{"qty", {}, SortMarker::Up}, {"code", {}, SortMarker::Down}}, ds);
    EXPECT_EQ(Column(ds, "qty"), QStringList({"3", "3", "2", "1"}));
    EXPECT_EQ(Column(ds, "code"), QStringList({"a", "B", "A", "b"}));
    ASSERT_EQ(ds.sort().size(), 2);
    EXPECT_TRUE(ds.sort().at(0).descending);
    EXPECT_FALSE(ds.sort().at(0).caseInsensitive);
    EXPECT_TRUE(ds.sort().at(1).caseInsensitive);
}

TEST(SortByMarkers, SortTextIsCheckedBeforeUse)
{
    TDataSet ds;
    ds.setFieldDefs({{"code", FieldType::String, 10}});
    ds.createDataSet();
    EXPECT_THROW(SetSortText(ds, "code; drop table x"), AppError);
    EXPECT_THROW(SetSortText(ds, "nosuch DESC"), AppError);
    EXPECT_NO_THROW(SetSortText(ds, " code  desc "));
    EXPECT_TRUE(ds.sort().at(0).descending);
}

TEST(DbHelpers, CountRowsAndGetSingleText)
{
    TestAccountSet set;
    MakeColours(set.op());
    EXPECT_EQ(CountRows("Tint"), 4);
    EXPECT_EQ(CountRows("Tint", "where iRank=?", {2}), 2);
    EXPECT_EQ(CountRows("Tint", "where cName=?", {"O'Neil"}), 0); // a quote is a value, not SQL
    EXPECT_THROW(CountRows("Tint; delete from Tint"), AppError);
    EXPECT_EQ(GetSingleText("select cName from Tint where TintID=?", {3}), "白");
    EXPECT_EQ(GetSingleText("select iRank from Tint where TintID=?", {3}), "2");
    EXPECT_EQ(GetSingleText("select cName from Tint where TintID=?", {99}), "");
    EXPECT_THROW(GetSingleText("select nosuch from Tint"), AppError);

    // Bound to another connection, the helpers follow it.
    const QString name = NewConnectionName("helpers");
    {
        QTemporaryDir dir;
        QSqlDatabase other = OpenSqliteConnection(name, dir.filePath("other.db"), false);
        TOpData(other).ExecCommand("create table Tint(x integer)");
        BindDbHelpers(other);
        EXPECT_EQ(CountRows("Tint"), 0);
        BindDbHelpers(QSqlDatabase());
        other = QSqlDatabase();
    }
    CloseSqliteConnection(name);
    EXPECT_EQ(CountRows("Tint"), 4);
}

TEST(TextHelpers, TextInListAndRemoveFirst)
{
    EXPECT_TRUE(TextInList("abc", {"x", "ABC"}));
    EXPECT_FALSE(TextInList("ab", {"abc"}));
    EXPECT_FALSE(TextInList("", {}));

    struct Case { const char *text, *part, *expected; };
    const Case cases[] = {
        {"a,b,a", "a", ",b,a"}, {"尺码|S", "尺码|", "S"}, {"abc", "x", "abc"}, {"abc", "", "abc"}, {"", "a", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RemoveFirst(QString::fromUtf8(c.text), QString::fromUtf8(c.part)), QString::fromUtf8(c.expected))
            << c.text << " - " << c.part;
}

TEST(FieldAttrib, BuildsTheDataSetItDescribes)
{
    const TFieldArr arr{{"cInvCode", "款号", 90, true, true, false, FieldType::String, 20},
                        {"S_7", "尺码|M", 40, true, false, false, FieldType::Float, 99},
                        {"iCPrice", "移动价", 60, false, false, false, FieldType::Currency}};
    TDataSet ds;
    ds.setFieldDefs({{"old", FieldType::Integer}});
    ds.createDataSet();
    ds.appendRecord({1});
    CreateDataSetFromAttribs(ds, arr);
    ASSERT_EQ(ds.fieldNames(), QStringList({"cInvCode", "S_7", "iCPrice"}));
    EXPECT_EQ(ds.recordCount(), 0);
    EXPECT_EQ(ds["cInvCode"].size(), 20);
    EXPECT_EQ(ds["S_7"].size(), 0); // numbers carry no size
    EXPECT_EQ(ds["S_7"].dataType(), FieldType::Float);
    EXPECT_EQ(ds["S_7"].label(), "尺码|M");
    EXPECT_FALSE(ds["iCPrice"].visible);
    EXPECT_FALSE(ds["cInvCode"].required);
    ASSERT_NE(FindFieldAttrib(arr, "icprice"), nullptr);
    EXPECT_EQ(FindFieldAttrib(arr, "icprice")->caption, "移动价");
    EXPECT_EQ(FindFieldAttrib(arr, "none"), nullptr);
}
