#include "shell/SingleInstance.h"

#include <QDateTime>
#include <QFile>
#include <QUuid>
#include <gtest/gtest.h>

namespace {
QString UniqueName() { return "qelvo-test-" + QUuid::createUuid().toString(QUuid::Id128); }
}

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstEnds)
{
    const QString name = UniqueName();
    {
        SingleInstance first(name);
        EXPECT_TRUE(first.isFirst());
        SingleInstance second(name);
        EXPECT_FALSE(second.isFirst());
        EXPECT_FALSE(qgetenv("XDG_RUNTIME_DIR").isEmpty());
    }
    SingleInstance later(name);
    EXPECT_TRUE(later.isFirst());
}

TEST(SingleInstance, ALongRunningCopyKeepsItsLock)
{
    const QString name = UniqueName();
    SingleInstance first(name);
    ASSERT_TRUE(first.isFirst());
    // The first copy has been running for a day: its lock is old but its owner alive.
    QFile lock(first.lockFilePath());
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    lock.close();
    SingleInstance second(name);
    EXPECT_FALSE(second.isFirst());
}
