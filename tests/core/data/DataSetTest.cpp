#include "data/DataSet.h"
#include "shell/AppError.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
std::unique_ptr<TDataSet> People()
{
    auto ds = std::make_unique<TDataSet>();
    ds->setFieldDefs({{"ID", FieldType::Integer}, {"Name", FieldType::String, 20}, {"Pay", FieldType::Float},
                      {"Born", FieldType::Date}, {"Boss", FieldType::Boolean}});
    ds->createDataSet();
    ds->appendRecord({3, "wang", 10.5, QDate(1990, 1, 2), true});
    ds->appendRecord({1, "Li", 20.0, QVariant(), false});
    ds->appendRecord({2, "zhao", 5.0, QDate(1985, 5, 6), false});
    ds->mergeChangeLog();
    return ds;
}

QStringList Names(TDataSet &ds)
{
    QStringList names;
    for (ds.first(); !ds.eof(); ds.next())
        names << ds["Name"].asString();
    return names;
}
} // namespace

TEST(DataSet, NavigationAndEofBof)
{
    auto ds = People();
    EXPECT_EQ(ds->recordCount(), 3);
    ds->first();
    EXPECT_TRUE(ds->bof());
    EXPECT_EQ(ds->recNo(), 1);
    ds->next();
    ds->next();
    EXPECT_FALSE(ds->eof());
    ds->next();
    EXPECT_TRUE(ds->eof());
    EXPECT_EQ(ds->recNo(), 3);
    EXPECT_EQ(Names(*ds), QStringList({"wang", "Li", "zhao"}));
}

TEST(DataSet, EditPostCancelAndStates)
{
    auto ds = People();
    ds->first();
    EXPECT_THROW(ds->fieldByName("Name").setValue("x"), AppError); // browse: no silent write
    ds->edit();
    EXPECT_EQ(ds->state(), TDataSet::State::Edit);
    ds->fieldByName("Name").setValue("wu");
    ds->cancel();
    EXPECT_EQ(ds->fieldByName("Name").asString(), "wang");
    ds->edit();
    ds->fieldByName("Pay").setAsString("12.25");
    ds->post();
    EXPECT_EQ(ds->state(), TDataSet::State::Browse);
    EXPECT_DOUBLE_EQ(ds->fieldByName("Pay").asFloat(), 12.25);
    EXPECT_EQ(ds->changeCount(), 1);
    EXPECT_EQ(ds->oldValue("Pay").toDouble(), 10.5);
}

TEST(DataSet, AppendThenCancelLeavesNothing)
{
    auto ds = People();
    ds->append();
    EXPECT_EQ(ds->recordCount(), 4);
    ds->fieldByName("Name").setValue("new");
    ds->cancel();
    EXPECT_EQ(ds->recordCount(), 3);
    EXPECT_EQ(ds->changeCount(), 0);
}

TEST(DataSet, NavigationPostsPendingEdit)
{
    auto ds = People();
    ds->first();
    ds->edit();
    ds->fieldByName("Name").setValue("first");
    ds->next();
    EXPECT_EQ(ds->state(), TDataSet::State::Browse);
    ds->first();
    EXPECT_EQ(ds->fieldByName("Name").asString(), "first");
}

TEST(DataSet, BadValuesAreRefusedAndChangeNothing)
{
    auto ds = People();
    ds->first();
    ds->edit();
    struct Case {
        const char *field;
        const char *text;
    };
    for (const Case c : {Case{"ID", "abc"}, Case{"Pay", "1,2x"}, Case{"Born", "2006-13-45"}})
        EXPECT_THROW(ds->fieldByName(c.field).setAsString(c.text), AppError) << c.field;
    ds->post();
    EXPECT_EQ(ds->fieldByName("ID").asInteger(), 3);
    EXPECT_DOUBLE_EQ(ds->fieldByName("Pay").asFloat(), 10.5);
}

TEST(DataSet, EventsAndAbortedPost)
{
    auto ds = People();
    int newRecords = 0;
    ds->onNewRecord = [&](TDataSet &d) {
        ++newRecords;
        d["ID"].setValue(99);
    };
    ds->beforePost = [](TDataSet &d) {
        if (d["Name"].isNull())
            throw AppError("名称不能为空！");
    };
    ds->append();
    EXPECT_EQ(newRecords, 1);
    EXPECT_EQ(ds->fieldByName("ID").asInteger(), 99);
    EXPECT_THROW(ds->post(), AppError);
    EXPECT_EQ(ds->state(), TDataSet::State::Insert); // the record stays for correction
    ds->fieldByName("Name").setValue("ok");
    ds->post();
    EXPECT_EQ(ds->recordCount(), 4);

    int changes = 0;
    ds->fieldByName("Pay").onChange = [&](TField &) { ++changes; };
    ds->fieldByName("Pay").onValidate = [](TField &, const QVariant &v) {
        if (v.toDouble() < 0)
            throw AppError("负数");
    };
    ds->edit();
    ds->fieldByName("Pay").setValue(3.0);
    EXPECT_THROW(ds->fieldByName("Pay").setValue(-1.0), AppError);
    EXPECT_EQ(changes, 1);
    EXPECT_DOUBLE_EQ(ds->fieldByName("Pay").asFloat(), 3.0);
}

TEST(DataSet, SortByMarkersKeepsCurrentRecordAndRepositionsPosts)
{
    auto ds = People();
    ds->locate("Name", "zhao");
    ds->setSort({{"Name", false, true}});
    EXPECT_EQ(ds->fieldByName("Name").asString(), "zhao"); // still on the same record
    EXPECT_EQ(Names(*ds), QStringList({"Li", "wang", "zhao"}));
    ds->setSort({{"Name", false, false}}); // case-sensitive: capitals first
    EXPECT_EQ(Names(*ds), QStringList({"Li", "wang", "zhao"}));
    ds->setSort({{"Boss", true}, {"Pay", false}});
    EXPECT_EQ(Names(*ds), QStringList({"wang", "zhao", "Li"}));
    ds->append();
    ds->fieldByName("Name").setValue("a");
    ds->fieldByName("Boss").setValue(false);
    ds->fieldByName("Pay").setValue(1.0);
    ds->post();
    EXPECT_EQ(ds->recNo(), 2); // posted into its sorted place
    EXPECT_EQ(Names(*ds), QStringList({"wang", "a", "zhao", "Li"}));
}

TEST(DataSet, FilterLocateAndBookmarks)
{
    auto ds = People();
    ds->locate("Name", "Li");
    const auto mark = ds->bookmark();
    ds->setFilter([](const TRecordView &r) { return r.value("Pay").toDouble() > 6; });
    ds->setFiltered(true);
    EXPECT_EQ(ds->recordCount(), 2);
    EXPECT_FALSE(ds->locate("Name", "zhao"));
    EXPECT_TRUE(ds->locate("Name", "LI", true));
    ds->setFiltered(false);
    ds->last();
    EXPECT_TRUE(ds->gotoBookmark(mark));
    EXPECT_EQ(ds->fieldByName("Name").asString(), "Li");
    ds->deleteRecord();
    EXPECT_FALSE(ds->bookmarkValid(mark));
    EXPECT_EQ(ds->lookup({"ID"}, {2}, "Name").toString(), "zhao");
}

TEST(DataSet, ChangeLogUndoRestoresEverything)
{
    auto ds = People();
    ds->first();
    ds->edit();
    ds->fieldByName("Name").setValue("changed");
    ds->post();
    ds->next();
    ds->deleteRecord();
    ds->appendRecord({7, "added"});
    EXPECT_EQ(ds->changeCount(), 3);
    ds->cancelUpdates();
    EXPECT_EQ(ds->changeCount(), 0);
    ds->setSort({{"ID"}});
    EXPECT_EQ(Names(*ds), QStringList({"Li", "zhao", "wang"}));
}

TEST(DataSet, DeleteOnEmptyIsAnError)
{
    TDataSet ds;
    ds.setFieldDefs({{"a", FieldType::Integer}});
    ds.createDataSet();
    EXPECT_THROW(ds.deleteRecord(), AppError);
    EXPECT_EQ(ds.recNo(), 0);
}

TEST(DataSet, NestedDataSetsSaveAndLoad)
{
    TDataSet ds;
    FieldDef lines("Lines", FieldType::DataSet);
    lines.children = {{"cInvCode", FieldType::String, 20}, {"iNum", FieldType::Float}};
    ds.setFieldDefs({{"BillID", FieldType::Integer}, {"dDate", FieldType::Date}, {"Photo", FieldType::Blob}, lines});
    ds.createDataSet();
    for (int bill = 1; bill <= 2; ++bill) {
        ds.append();
        ds["BillID"].setValue(bill);
        ds["dDate"].setValue(QDate(2006, 12, bill));
        ds["Photo"].setValue(QByteArray("\x00\x01\xff", 3));
        ds.post();
        TDataSet *child = ds["Lines"].nested();
        ASSERT_NE(child, nullptr);
        for (int i = 0; i < bill; ++i)
            child->appendRecord({QString("款%1'").arg(i), 1.5 * (i + 1)});
    }
    QTemporaryDir dir;
    const QString file = dir.filePath("bill.DAT");
    ds.saveToFile(file);

    TDataSet back;
    back.loadFromFile(file);
    ASSERT_EQ(back.recordCount(), 2);
    back.last();
    EXPECT_EQ(back["dDate"].asDate(), QDate(2006, 12, 2));
    EXPECT_EQ(back["Photo"].asBytes(), QByteArray("\x00\x01\xff", 3));
    TDataSet *child = back["Lines"].nested();
    ASSERT_EQ(child->recordCount(), 2);
    child->last();
    EXPECT_EQ(child->fieldByName("cInvCode").asString(), "款1'");
    EXPECT_DOUBLE_EQ(child->fieldByName("iNum").asFloat(), 3.0);
}

TEST(DataSet, DamagedFileIsRefusedWithAMessage)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("bad.DAT");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a dataset at all");
    f.close();
    TDataSet ds;
    try {
        ds.loadFromFile(file);
        FAIL();
    } catch (const AppError &e) {
        EXPECT_TRUE(e.message().contains("数据文件已损坏")) << e.message().toStdString();
    }
    EXPECT_THROW(ds.loadFromFile(dir.filePath("missing.DAT")), AppError);
}
