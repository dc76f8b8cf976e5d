#include "AppContext.h"
#include "AppError.h"
#include "UserInfo.h"
#include "data/OpData.h"
#include "data/SimpleValueDB.h"

AppContext::AppContext() : user(std::make_unique<TUserInfo>()) {}
AppContext::~AppContext() = default;

void AppContext::resetAccountSet()
{
    simpleValues.reset();
    opData.reset();
    accCode.clear();
    accName.clear();
    beginMonth.clear();
    closingMonth = QStringLiteral("2003.01");
}

AppContext &App()
{
    static AppContext context;
    return context;
}

TOpData &OpData()
{
    if (!App().opData)
        throw AppError(QStringLiteral("没有打开的帐套！"));
    return *App().opData;
}

TUserInfo &CurrentUser() { return *App().user; }

TSimpleValueDB &SimpleValues()
{
    if (!App().simpleValues)
        throw AppError(QStringLiteral("没有打开的帐套！"));
    return *App().simpleValues;
}
