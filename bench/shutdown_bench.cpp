// What closing the program costs on a large account set: the compaction (VACUUM into a scratch
// file, then the content replaced in place) and the copy into the rotating backup slot.
//   ./build/bench/shutdown_bench [size rows, default 2000000]
#include "data/DataModule.h"
#include "data/OpData.h"
#include "data/Schema.h"
#include "data/SqliteStatement.h"
#include "shell/AccountBackup.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int sizeRows = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 2000000;
    const int sizesPerLine = 5, linesPerBill = 20;

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("spData.mdb"));
    CreateAccountSetDatabase(file);
    QElapsedTimer timer;
    timer.start();
    {
        const QSqlDatabase db = OpenSqliteConnection(QStringLiteral("bench"), file);
        TTransaction t(db);
        SqliteStatement head(db, QStringLiteral("insert into Sell(SellID,cCode,dDate,StoreID,iAuditing) values(?,?,?,?,1)"));
        SqliteStatement line(db, QStringLiteral("insert into SellD(SellID,ItemNo,cInvCode,ColorID,iNum,iPrice,iMoney)"
                                                " values(?,?,?,?,?,?,?)"));
        SqliteStatement size(db, QStringLiteral("insert into SellDS(SellID,ItemNo,SizeID,iNum) values(?,?,?,?)"));
        const int bills = sizeRows / (sizesPerLine * linesPerBill);
        for (int b = 1; b <= bills; ++b) {
            head.reset();
            head.bind({b, QStringLiteral("XS%1").arg(b, 8, 10, QLatin1Char('0')),
                       QDate(2024, 1, 1).addDays(b % 700).toString(QStringLiteral("yyyy-MM-dd")), 1 + b % 50});
            head.run();
            for (int l = 1; l <= linesPerBill; ++l) {
                line.reset();
                line.bind({b, l, QStringLiteral("K%1").arg((b * 7 + l) % 3000, 4, 10, QLatin1Char('0')), 1 + l % 8,
                           5.0, 99.0, 495.0});
                line.run();
                for (int s = 1; s <= sizesPerLine; ++s) {
                    size.reset();
                    size.bind({b, l, s, 1.0});
                    size.run();
                }
            }
        }
        t.commit();
        // Deleted rows leave free pages, as a year of edits does.
        SqliteStatement prune(db, QStringLiteral("delete from SellDS where SellID % 10 = 0"));
        prune.run();
    }
    CloseSqliteConnection(QStringLiteral("bench"));
    out << "filled " << sizeRows << " size rows in " << timer.elapsed() << " ms, file "
        << QFileInfo(file).size() / (1024 * 1024) << " MB\n";

    timer.restart();
    const bool compacted = CompactDatabase(file);
    out << "compaction: " << timer.elapsed() << " ms (" << (compacted ? "done" : "failed") << "), file "
        << QFileInfo(file).size() / (1024 * 1024) << " MB\n";
    timer.restart();
    const bool copied = RotatingBackup(file, dir.path(), QStringLiteral("bench"), QDate::currentDate());
    out << "rotating backup: " << timer.elapsed() << " ms (" << (copied ? "done" : "failed") << ")\n";

    timer.restart();
    {
        const QSqlDatabase db = OpenSqliteConnection(QStringLiteral("bench"), file);
        TOpData op(db);
        op.GetSchemaVersion();
        out << "open and read the schema version: " << timer.elapsed() << " ms\n";
    }
    CloseSqliteConnection(QStringLiteral("bench"));
    return 0;
}
