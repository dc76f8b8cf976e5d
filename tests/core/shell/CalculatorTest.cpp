#include "ScriptedMessages.h"
#include "shell/Calculator.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Points PATH at one folder for the life of the object.
class OnlyPath {
public:
    explicit OnlyPath(const QString &dir) : m_saved(qgetenv("PATH")) { qputenv("PATH", QFile::encodeName(dir)); }
    ~OnlyPath() { qputenv("PATH", m_saved); }

private:
    QByteArray m_saved;
};

void MakeProgram(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\nexit 0\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
} // namespace

TEST(Calculator, TheDesktopsCalculatorIsFoundOnThePathInOrderOfPreference)
{
    QTemporaryDir dir;
    OnlyPath path(dir.path());
    EXPECT_TRUE(FindCalculatorProgram().isEmpty());

    MakeProgram(dir.filePath(QStringLiteral("xcalc")));
    EXPECT_EQ(FindCalculatorProgram(), dir.filePath(QStringLiteral("xcalc")));
    MakeProgram(dir.filePath(QStringLiteral("galculator")));
    EXPECT_EQ(FindCalculatorProgram(), dir.filePath(QStringLiteral("galculator")));
}

TEST(Calculator, WithoutACalculatorTheUserIsToldWhatToInstall)
{
    QTemporaryDir dir;
    OnlyPath path(dir.path());
    ScriptedMessages messages;
    StartCalculator();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.last().contains(QStringLiteral("gnome-calculator")));
}
