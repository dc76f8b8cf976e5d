// Loads, sorts, filters and saves 100,000 records in the in-memory dataset and prints the times.
#include "data/DataSet.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? atoi(argv[1]) : 100000;
    QRandomGenerator rng(42);
    QElapsedTimer t;

    TDataSet ds;
    ds.setFieldDefs({{"ID", FieldType::Integer}, {"cInvCode", FieldType::String, 20}, {"cInvName", FieldType::String, 60},
                     {"ColorID", FieldType::Integer}, {"iNum", FieldType::Float}, {"iPrice", FieldType::Float},
                     {"iMoney", FieldType::Float}, {"dDate", FieldType::Date}});
    ds.createDataSet();
    t.start();
    ds.beginBulkLoad();
    for (int i = 0; i < rows; ++i) {
        const double num = rng.bounded(100);
        const double price = rng.bounded(50000) / 100.0;
        ds.bulkAppend({i, QStringLiteral("K%1").arg(rng.bounded(3000), 5, 10, QLatin1Char('0')),
                       QStringLiteral("款式%1").arg(rng.bounded(3000)), int(rng.bounded(20)), num, price, num * price,
                       QDate(2005, 1, 1).addDays(rng.bounded(730))});
    }
    ds.endBulkLoad();
    std::printf("bulk load %d rows: %lld ms\n", rows, t.elapsed());

    t.restart();
    ds.setSort({{"cInvCode", false, true}, {"iMoney", true, false}});
    std::printf("sort by code asc, money desc: %lld ms\n", t.elapsed());

    t.restart();
    ds.setFilter([](const TRecordView &r) { return r.value(3).toInt() == 7; });
    ds.setFiltered(true);
    std::printf("filter (%d visible): %lld ms\n", ds.recordCount(), t.elapsed());
    ds.setFiltered(false);

    t.restart();
    double sum = 0;
    TField &money = ds.fieldByName("iMoney");
    for (ds.first(); !ds.eof(); ds.next())
        sum += money.asFloat();
    std::printf("scan and sum: %lld ms (sum %.2f)\n", t.elapsed(), sum);

    t.restart();
    ds.last();
    ds.edit();
    ds.fieldByName("cInvCode").setValue(QStringLiteral("A0000"));
    ds.post();
    std::printf("edit and re-place one sorted record: %lld ms\n", t.elapsed());

    QTemporaryDir dir;
    t.restart();
    ds.saveToFile(dir.filePath("bench.DAT"));
    std::printf("save to file: %lld ms\n", t.elapsed());
    t.restart();
    TDataSet back;
    back.loadFromFile(dir.filePath("bench.DAT"));
    std::printf("load from file (%d rows): %lld ms\n", back.recordCount(), t.elapsed());
    return 0;
}
