#include "UserInfo.h"
#include "MessageService.h"

bool TUserInfo::HasRight(int position) const
{
    return position >= 1 && position <= rights.size() && rights.at(position - 1) == QLatin1Char('1');
}

bool TUserInfo::CheckRight(int position) const
{
    if (HasRight(position))
        return true;
    ShowInfo(QStringLiteral("对不起，您没有操作此功能的权限，请与系统管理员联系！"));
    return false;
}
