#include "data/DataSet.h"
#include "data/DataSetUtils.h"

#include <gtest/gtest.h>

namespace {

class RecordingResolver : public IRecordResolver {
public:
    QStringList *log;
    explicit RecordingResolver(QStringList *l) : log(l) {}
    void applyInsert(const TDataSet &, const QVector<QVariant> &) override {}
    void applyUpdate(const TDataSet &, const QVector<QVariant> &, const QVector<QVariant> &) override {}
    void applyDelete(const TDataSet &, const QVector<QVariant> &original) override
    {
        log->append("bill " + original.at(0).toString());
    }
};

} // namespace

TEST(EmptyDataSet, DeletesNestedLinesFirstThenEachRecord)
{
    QStringList log;
    TDataSet bills;
    FieldDef lines("Lines", FieldType::DataSet);
    lines.children = {{"cInvCode", FieldType::String, 20}};
    bills.setFieldDefs({{"BillID", FieldType::Integer}, lines});
    bills.createDataSet();
    for (int bill = 1; bill <= 2; ++bill) {
        bills.appendRecord({bill});
        TDataSet *child = bills["Lines"].nested();
        ASSERT_NE(child, nullptr);
        for (int i = 0; i < bill; ++i)
            child->appendRecord({QString("款%1").arg(i)});
        child->beforeDelete = [&log](TDataSet &ds) { log.append("line " + ds["cInvCode"].asString()); };
    }
    bills.setResolver(std::make_shared<RecordingResolver>(&log));
    bills.last();
    bills.edit(); // a pending edit is dropped, not posted

    EmptyDataSet(bills);
    EXPECT_TRUE(bills.isEmpty());
    EXPECT_EQ(log, QStringList({"line 款0", "bill 1", "line 款0", "line 款1", "bill 2"}));
}
