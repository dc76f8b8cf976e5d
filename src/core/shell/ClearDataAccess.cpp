#include "ClearDataAccess.h"
#include "MessageService.h"

bool AskClearDataAccessCode()
{
    const std::optional<QString> code = InputBox(QStringLiteral("提示"),
                                                 QStringLiteral("删除所有数据库中的数据，如果您确认，请输入密码："),
                                                 QString(), true);
    if (!code)
        return false;
    if (*code != QLatin1String(kClearDataAccessCode)) {
        ShowInfo(QStringLiteral("密码错误，您没有权限删除数据！"));
        return false;
    }
    return true;
}
