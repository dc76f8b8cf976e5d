#include "OpData.h"
#include "SqliteStatement.h"
#include "shell/AppError.h"

std::optional<QString> TOpData::ReadOperatorPassword(const QString &userName)
{
    SqliteStatement st(m_db, QStringLiteral("select cPassword from Operator where cUserName=?"));
    st.bind({userName});
    if (!st.step())
        return std::nullopt;
    return st.value(0, FieldType::String).toString();
}

OperatorRecord TOpData::ReadOperator(const QString &userName)
{
    auto ds = QueryDataParams(QStringLiteral("select cUserName,cPassword,bSuper,cRight,cType,cDepCode,cClass,cWhCode "
                                             "from Operator where cUserName=?"),
                              {userName});
    if (ds->isEmpty())
        throw AppError(QStringLiteral("该用户不存在,请重新输入!"));
    auto text = [&](const char *name) { return ds->fieldByName(QLatin1String(name)).asString(); };
    OperatorRecord r;
    r.userName = text("cUserName");
    r.password = text("cPassword");
    // Stored as a yes/no flag; old sets may hold it as text ("True", "-1", "1").
    const QString super = text("bSuper").trimmed();
    r.isSuper = !super.isEmpty() && super != QLatin1String("0") && super.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
    r.rights = text("cRight");
    r.userType = text("cType");
    r.depCode = text("cDepCode");
    r.classCode = text("cClass");
    r.whCode = text("cWhCode");
    return r;
}

void TOpData::SetOperatorRights(const QString &userName, const QString &rights)
{
    ExecCommandParams(QStringLiteral("update Operator set cRight=? where cUserName=?"), {rights, userName});
}

void TOpData::SetOperatorPassword(const QString &userName, const QString &passwordHash)
{
    ExecCommandParams(QStringLiteral("update Operator set cPassword=? where cUserName=?"), {passwordHash, userName});
}

std::unique_ptr<TDataSet> TOpData::PurviewPacket()
{
    return QueryData(QStringLiteral("select Purview.PurviewID,Purview.cPurviewName,PurviewG.cGroupName "
                                    "from Purview inner join PurviewG on Purview.PurviewGID=PurviewG.PurviewGID "
                                    "order by Purview.PurviewID"));
}

std::unique_ptr<TDataSet> TOpData::SysLogPacket()
{
    return QueryData(QStringLiteral("select username,machinename,machineip,optime,opmodule from syslog order by optime desc"));
}

void TOpData::ClearSysLog(const QDate &day)
{
    // Log times are "yyyy.MM.dd HH:mm:ss": every time of the day itself sorts after the bare date.
    ExecCommandParams(QStringLiteral("delete from syslog where OpTime <= ?"), {day.toString(QStringLiteral("yyyy.MM.dd"))});
}

void TOpData::ApplyFieldVisibility(TDataSet &dataSet, const QString &windowName)
{
    auto settings = QueryDataParams(QStringLiteral("select cFieldName,bVisable from dicts where cName=?"), {windowName});
    TField &name = settings->fieldByName(QStringLiteral("cFieldName"));
    TField &hidden = settings->fieldByName(QStringLiteral("bVisable"));
    for (settings->first(); !settings->eof(); settings->next())
        for (int i = 0; i < dataSet.fieldCount(); ++i)
            if (dataSet.field(i)->fieldName().compare(name.asString(), Qt::CaseInsensitive) == 0)
                dataSet.field(i)->visible = !hidden.asBoolean();
}
