#include "UserInfo.h"
#include "AppContext.h"
#include "MessageService.h"
#include "PasswordHash.h"
#include "data/OpData.h"

#include <QObject>
#include <QVariant>

bool TUserInfo::CheckPassword(const QString &name, const QString &password) const
{
    const std::optional<QString> stored = OpData().ReadOperatorPassword(name);
    if (!stored) {
        ConfirmOk(QStringLiteral("该用户不存在,请重新输入!"));
        return false;
    }
    if (stored->compare(PasswordHash(name, password), Qt::CaseInsensitive) != 0) {
        ConfirmOk(QStringLiteral("密码错误,请重新输入!"));
        return false;
    }
    return true;
}

bool TUserInfo::Login(const QString &name, const QString &password)
{
    if (!CheckPassword(name, password))
        return false;
    const OperatorRecord row = OpData().ReadOperator(name);
    userName = row.userName;
    passwordHash = row.password;
    isSuper = row.isSuper;
    rights = userName == kAdministratorName ? QString(kRightsLength, QLatin1Char('1')) : row.rights;
    userType = row.userType;
    depCode = row.depCode;
    classCode = row.classCode;
    whCode = row.whCode;
    return true;
}

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

void ApplyRights(const QList<QObject *> &actions, const QString &rights)
{
    if (rights.isEmpty())
        return;
    for (QObject *action : actions) {
        if (!action)
            continue;
        action->setProperty("enabled", true);
        const int tag = action->property("Tag").toInt();
        if (tag > 0 && tag <= rights.size())
            action->setProperty("enabled", rights.at(tag - 1) == QLatin1Char('1'));
    }
}

QString WithRights(const QString &rights, const QList<std::pair<int, bool>> &grants)
{
    QString result = rights;
    int length = std::max<int>(kRightsLength, int(result.size()));
    for (const auto &[position, granted] : grants)
        length = std::max(length, position);
    if (result.size() < length)
        result += QString(length - result.size(), QLatin1Char('0'));
    for (const auto &[position, granted] : grants)
        if (position >= 1)
            result[position - 1] = granted ? QLatin1Char('1') : QLatin1Char('0');
    return result;
}
