#include "AccountOpen.h"
#include "AccountBackup.h"
#include "AccountSets.h"
#include "AppContext.h"
#include "AppError.h"
#include "MessageService.h"
#include "RightsCatalogue.h"
#include "data/DataModule.h"
#include "data/DataSetHelpers.h"
#include "data/OpData.h"
#include "data/SimpleValueDB.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <sys/vfs.h>

namespace {
QList<std::function<void()>> &OpenSteps()
{
    static QList<std::function<void()>> steps;
    return steps;
}
} // namespace

bool OpenAccountSet(const QString &code, const QString &name, const QString &beginMonth)
{
    AppContext &app = App();
    app.accCode = code;
    app.accName = name;
    app.beginMonth = beginMonth;
    app.closingMonth = QStringLiteral("2003.01");
    if (code.isEmpty())
        return false;
    if (!app.dm)
        throw AppError(QStringLiteral("数据库没有打开！"));
    WarnIfOnNetworkFileSystem(app.dataNetPath);
    // The objects of the previous set must not outlive its connection.
    app.simpleValues.reset();
    app.opData.reset();
    BindDbHelpers(QSqlDatabase());
    app.dm->openDatabase(AccountDatabaseFile(app.dataNetPath, code));
    const QSqlDatabase db = app.dm->database();
    BindDbHelpers(db);
    app.opData = std::make_unique<TOpData>(db);
    app.simpleValues = std::make_unique<TSimpleValueDB>(db);
    RunUpgradeChain(*app.opData, *app.simpleValues);
    CheckRightsCatalogue(*app.opData);
    for (const auto &step : OpenSteps())
        step();
    return true;
}

void AddAccountSetOpenStep(std::function<void()> step) { OpenSteps().append(std::move(step)); }

void CloseAccountSetAtExit(const QString &backupBase)
{
    AppContext &app = App();
    if (!app.dm || app.accCode.isEmpty())
        return;
    app.simpleValues.reset();
    app.opData.reset();
    BindDbHelpers(QSqlDatabase());
    app.dm->close();
    const QString file = AccountDatabaseFile(app.dataNetPath, app.accCode);
    if (!QFileInfo::exists(file))
        return;
    CompactDatabase(file);
    RotatingBackup(file, backupBase, app.accCode, QDate::currentDate());
}

bool IsNetworkFileSystemType(qint64 statfsType)
{
    switch (quint32(statfsType)) {
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x564C:     // NCP
    case 0x73757245: // Coda
    case 0x5346414F: // AFS
    case 0x00C36400: // Ceph
    case 0x01021997: // 9p
        return true;
    default:
        return false;
    }
}

bool IsOnNetworkFileSystem(const QString &path)
{
    // The folder may not exist yet: ask about the nearest one that does.
    QString probe = QFileInfo(path).absoluteFilePath();
    while (!probe.isEmpty() && !QFileInfo::exists(probe)) {
        const QString parent = QFileInfo(probe).absolutePath();
        if (parent == probe)
            break;
        probe = parent;
    }
    struct statfs info {};
    if (statfs(QFile::encodeName(probe).constData(), &info) != 0)
        return false;
    return IsNetworkFileSystemType(qint64(info.f_type));
}

void WarnIfOnNetworkFileSystem(const QString &dataNetPath)
{
    static bool warned = false;
    if (warned || !IsOnNetworkFileSystem(dataNetPath))
        return;
    warned = true;
    ShowWarning(QStringLiteral("数据目录“%1”位于网络文件夹上。\r"
                               "多台电脑通过网络文件夹共用同一个帐套文件并不安全，可能损坏数据。"
                               "多台电脑共用帐套时请改用数据库服务器。")
                    .arg(QDir::toNativeSeparators(dataNetPath)));
}
