#include "TestAccountSet.h"

#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>

// Two processes drawing from one file: the write lock taken up front and the busy time-out
// make the second wait, so every code and key is handed out exactly once.
TEST(ConcurrentKeys, TwoProcessesNeverDrawTheSameNumber)
{
    TestAccountSet set;
    const int perProcess = 500;
    QProcess a, b;
    for (QProcess *p : {&a, &b})
        p->start(QStringLiteral(CODE_DRAWER), {set.databaseFile(), QStringLiteral("XS"), QString::number(perProcess)});
    for (QProcess *p : {&a, &b}) {
        ASSERT_TRUE(p->waitForFinished(120000));
        ASSERT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    QSet<QString> codes;
    QSet<int> keys;
    int lines = 0;
    for (QProcess *p : {&a, &b}) {
        for (const QByteArray &line : p->readAllStandardOutput().split('\n')) {
            if (line.isEmpty())
                continue;
            const QList<QByteArray> parts = line.split(' ');
            ASSERT_EQ(parts.size(), 2);
            codes.insert(QString::fromLatin1(parts[0]));
            keys.insert(parts[1].toInt());
            ++lines;
        }
    }
    EXPECT_EQ(lines, 2 * perProcess);
    EXPECT_EQ(codes.size(), 2 * perProcess);
    EXPECT_EQ(keys.size(), 2 * perProcess);
    EXPECT_EQ(set.op().ScalarInt("select iNkNextKey from NextKey where cNkPrefix='XS'"), 2 * perProcess + 1);
}
