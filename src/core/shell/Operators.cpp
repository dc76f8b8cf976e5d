#include "Operators.h"
#include "AppContext.h"
#include "AppError.h"
#include "MessageService.h"
#include "PasswordHash.h"
#include "UserInfo.h"
#include "data/DataSetHelpers.h"
#include "data/DbDataSet.h"
#include "data/OpData.h"

std::unique_ptr<TDbDataSet> MakeOperatorList()
{
    auto list = std::make_unique<TDbDataSet>();
    list->setCommandText(QStringLiteral("select * from Operator"));
    list->setUpdateTable(QStringLiteral("Operator"), {QStringLiteral("OperatorID")});
    list->onNewRecord = [](TDataSet &ds) {
        ds.fieldByName(QStringLiteral("OperatorID")).setAsInteger(OpData().GetNextID(QStringLiteral("Operator")));
        ds.fieldByName(QStringLiteral("cRight")).setAsString(QString(kRightsLength, QLatin1Char('0')));
        ds.fieldByName(QStringLiteral("bSuper")).setAsBoolean(false);
        ds.fieldByName(QStringLiteral("cType")).setAsString(QString());
    };
    list->open();
    return list;
}

void SaveNewOperator(TDataSet &operators, const QString &password, const QString &confirmation)
{
    if (password.trimmed() != confirmation.trimmed())
        throw AppError(QStringLiteral("两次密码输入不一致，请重新输入！"));
    const QString name = operators.fieldByName(QStringLiteral("cUserName")).asString();
    if (name.isEmpty()) {
        ConfirmOk(QStringLiteral("用户名不能为空！"));
        Abort();
    }
    // Names compare without regard to case at login, so "anna" is taken once "Anna" exists.
    if (OpData().ScalarInt(QStringLiteral("select count(*) from Operator where cUserName=?"), {name}) > 0)
        throw AppError(QStringLiteral("用户名“%1”已存在，请换一个用户名！").arg(name));
    operators.fieldByName(QStringLiteral("cPassword")).setAsString(PasswordHash(name, password));
    if (!PostWithMessage(operators))
        Abort();
}

bool DeleteOperator(TDataSet &operators)
{
    if (!operators.active() || operators.isEmpty())
        return false;
    if (operators.fieldByName(QStringLiteral("cUserName")).asString() == kAdministratorName) {
        ShowWarning(QStringLiteral("不能删除管理员用户!"));
        return false;
    }
    return DeleteWithConfirm(operators);
}

bool RightsEditable(const QString &userName)
{
    if (userName != kAdministratorName)
        return true;
    ShowInfo(QStringLiteral("不能修改系统内置“管理员”的权限！"));
    return false;
}

std::unique_ptr<TDataSet> MakePurviewSet(const QString &rights)
{
    auto catalogue = OpData().PurviewPacket();
    auto purview = std::make_unique<TDataSet>();
    purview->setFieldDefs({FieldDef(QStringLiteral("PurviewID"), FieldType::Integer),
                           FieldDef(QStringLiteral("cPurviewName"), FieldType::String, 50),
                           FieldDef(QStringLiteral("cGroupName"), FieldType::String, 50),
                           FieldDef(QStringLiteral("bRight"), FieldType::Boolean)});
    purview->createDataSet();
    TUserInfo holder;
    holder.rights = rights;
    for (catalogue->first(); !catalogue->eof(); catalogue->next()) {
        const int position = catalogue->fieldByName(QStringLiteral("PurviewID")).asInteger();
        purview->appendRecord({position, catalogue->fieldByName(QStringLiteral("cPurviewName")).asString(),
                               catalogue->fieldByName(QStringLiteral("cGroupName")).asString(),
                               holder.HasRight(position)});
    }
    purview->mergeChangeLog();
    purview->first();
    return purview;
}

void FilterPurviewByGroup(TDataSet &purview, const QString &group)
{
    purview.checkBrowseMode();
    if (group.isEmpty() || group == QStringLiteral("全部")) {
        purview.setFiltered(false);
        return;
    }
    purview.setFilter([group](const TRecordView &row) {
        return row.value(QStringLiteral("cGroupName")).toString().startsWith(group);
    });
    purview.setFiltered(true);
}

QString RightsFromPurview(TDataSet &purview, const QString &rights)
{
    purview.checkBrowseMode();
    // A filter hides rows, not rights: every row must be written or the hidden groups would
    // keep stale values.
    const bool wasFiltered = purview.filtered();
    const TDataSet::Bookmark here = purview.bookmark();
    purview.disableControls();
    purview.setFiltered(false);
    QList<std::pair<int, bool>> grants;
    for (purview.first(); !purview.eof(); purview.next())
        grants.append({purview.fieldByName(QStringLiteral("PurviewID")).asInteger(),
                       purview.fieldByName(QStringLiteral("bRight")).asBoolean()});
    purview.setFiltered(wasFiltered);
    if (here && purview.bookmarkValid(here))
        purview.gotoBookmark(here);
    purview.enableControls();
    return WithRights(rights, grants);
}

void SaveOperatorRights(const QString &userName, const QString &rights)
{
    OpData().SetOperatorRights(userName, rights);
    ShowInfo(QStringLiteral("重新设置权限后，需要下一次登录才能起作用！"));
}

bool ChangePassword(TUserInfo &user, const QString &oldPassword, const QString &newPassword,
                    const QString &confirmation)
{
    if (newPassword != confirmation) {
        ShowWarning(QStringLiteral("新密码与确认密码不一致！"));
        return false;
    }
    const QString stored = OpData().ReadOperatorPassword(user.userName).value_or(QString());
    if (stored.compare(PasswordHash(user.userName, oldPassword), Qt::CaseInsensitive) != 0) {
        ShowWarning(QStringLiteral("原密码不正确！"));
        return false;
    }
    const QString hash = PasswordHash(user.userName, newPassword);
    OpData().SetOperatorPassword(user.userName, hash);
    user.passwordHash = hash;
    ShowInfo(QStringLiteral("密码修改成功！"));
    return true;
}

std::unique_ptr<TDbDataSet> MakeFieldDictList()
{
    auto list = std::make_unique<TDbDataSet>();
    list->setCommandText(QStringLiteral("select * from dict"));
    list->canModify = false;
    list->open();
    return list;
}

std::unique_ptr<TDbDataSet> MakeFieldDictItems()
{
    auto items = std::make_unique<TDbDataSet>();
    items->setUpdateTable(QStringLiteral("dicts"), {QStringLiteral("cName"), QStringLiteral("cFieldName")});
    return items;
}

void LoadFieldDictItems(TDbDataSet &items, const QString &windowName)
{
    items.checkBrowseMode();
    items.setCommandText(QStringLiteral("select * from dicts where cName=?"), {windowName});
    items.open();
}
