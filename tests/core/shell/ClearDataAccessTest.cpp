#include "ScriptedMessages.h"
#include "shell/ClearDataAccess.h"

#include <gtest/gtest.h>

TEST(ClearDataAccess, OnlyTheAccessCodeOpensTheWay)
{
    struct Case {
        const char *name;
        std::optional<QString> typed;
        bool granted;
        bool refusalShown;
    };
    const Case cases[] = {
        {"right code", QString::fromLatin1(kClearDataAccessCode), true, false},
        {"wrong code", QStringLiteral("1234567890"), false, true},
        {"empty text", QString(), false, true},
        {"code with a blank", QString::fromLatin1(kClearDataAccessCode) + QLatin1Char(' '), false, true},
        {"cancelled", std::nullopt, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMessages messages;
        messages.inputs.enqueue(c.typed);
        EXPECT_EQ(AskClearDataAccessCode(), c.granted);
        ASSERT_EQ(messages.dialogCaptions.size(), 1);
        EXPECT_EQ(messages.dialogCaptions.first(), QStringLiteral("提示|删除所有数据库中的数据，如果您确认，请输入密码："));
        EXPECT_EQ(messages.saw(QStringLiteral("密码错误，您没有权限删除数据！")), c.refusalShown);
    }
}

TEST(ClearDataAccess, CodeIsTenDigits)
{
    const QString code = QString::fromLatin1(kClearDataAccessCode);
    EXPECT_EQ(code.size(), 10);
    for (QChar ch : code)
        EXPECT_TRUE(ch.isDigit());
}
