#pragma once
#include <QString>
#include <memory>

class TDM;
class TOpData;
class TSimpleValueDB;
class TUserInfo;

// The process-wide values every window reads: the data directory, the open account set, the
// current operator and the objects that serve the open account set. Opening another account
// set overwrites them in place.
struct AppContext {
    QString dataNetPath;      // always ends with a separator
    QString accCode;
    QString accName;
    QString beginMonth;       // "yyyy.MM", may be empty
    QString closingMonth = QStringLiteral("2003.01");
    QString companyName;
    int priceMode = 1;

    TDM *dm = nullptr;                               // created at start-up, not owned here
    std::unique_ptr<TOpData> opData;                 // replaced by every opening
    std::unique_ptr<TSimpleValueDB> simpleValues;    // replaced by every opening
    std::unique_ptr<TUserInfo> user;                 // one for the process

    AppContext();
    ~AppContext();
    // Drops the objects of the open account set (tests start from a clean slate with it).
    void resetAccountSet();
};

AppContext &App();

// Shorthands used throughout the windows.
TOpData &OpData();
TUserInfo &CurrentUser();
TSimpleValueDB &SimpleValues();
