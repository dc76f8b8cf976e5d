#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct Result {
    int exitCode;
    QString out;
    QString err;
};

Result Demo(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(QELVO_BIN_DIR "/qelvo-cli"), QStringList{QStringLiteral("demo")} + args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
} // namespace

// The run script calls "demo --if-missing" before every start: the first call makes the set,
// every later one must leave it alone and still succeed.
TEST(DemoCommand, IfMissingMakesTheSetOnceAndThenLeavesItAlone)
{
    QTemporaryDir dir;
    const QStringList small = {"--data", dir.path(), "--stores", "2", "--styles", "25"};
    Result r = Demo(QStringList{"--if-missing"} + small);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("演示帐套"))) << r.out.toStdString();

    r = Demo(QStringList{"--if-missing"} + small);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("已存在")));

    EXPECT_EQ(Demo(small).exitCode, 1);                                  // asked to make it again
    EXPECT_EQ(Demo(small + QStringList{"--styles", "many"}).exitCode, 1); // not a number
    EXPECT_EQ(Demo(small + QStringList{"--colour"}).exitCode, 2);         // no such option

    r = Demo({"--data", dir.path(), "--code", "big", "--name", "大帐套", "--stores", "30", "--styles", "500"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QProcess list;
    list.start(QStringLiteral(QELVO_BIN_DIR "/qelvo-cli"), {"list-sets", "--data", dir.path()});
    list.waitForFinished(60000);
    const QString sets = QString::fromUtf8(list.readAllStandardOutput());
    EXPECT_TRUE(sets.contains(QStringLiteral("demo\t演示帐套"))) << sets.toStdString();
    EXPECT_TRUE(sets.contains(QStringLiteral("big\t大帐套"))) << sets.toStdString();
}

// "--help" is a question, not a mistake: the usage goes to standard output and the call succeeds.
TEST(DemoCommand, HelpIsAnsweredOnStandardOutput)
{
    const QString cli = QStringLiteral(QELVO_BIN_DIR "/qelvo-cli");
    struct Case {
        QStringList args;
        const char *mustShow;
    };
    const Case cases[] = {
        {{"--help"}, "demo [--if-missing]"},
        {{"help"}, "list-sets"},
        {{"demo", "--help"}, "--stores N"},
    };
    for (const Case &c : cases) {
        QProcess p;
        p.start(cli, c.args);
        p.waitForFinished(60000);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_EQ(p.exitCode(), 0) << c.args.join(' ').toStdString();
        EXPECT_TRUE(out.contains(QLatin1String(c.mustShow))) << out.toStdString();
    }
    QProcess wrong;
    wrong.start(cli, {"no-such-command"});
    wrong.waitForFinished(60000);
    EXPECT_EQ(wrong.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(wrong.readAllStandardError()).contains(QStringLiteral("unknown command")));
}
