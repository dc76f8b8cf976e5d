#include "AccountActions.h"
#include "AccountEdit.h"
#include "WaitCursor.h"
#include "shell/AccountBackup.h"
#include "shell/AccountSets.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"

#include <QDate>
#include <QDir>

void RunBackupAccountSet(QWidget *)
{
    RunGuarded([] {
        const QString folder = ManualBackupFolder(App().dataNetPath);
        QDir().mkpath(folder);
        const QString proposed = folder + QLatin1Char('/') + ProposedBackupFileName(App().accCode, QDate::currentDate());
        std::optional<QString> file;
        {
            TWaitCursor wait;
            file = Messages().saveFileName(QStringLiteral("备份帐套"), proposed, QStringLiteral("数据库文件(*.mdb)"),
                                           QStringLiteral("mdb"));
        }
        if (!file || file->isEmpty())
            return;
        try {
            TWaitCursor wait;
            BackupOpenAccountSet(*file);
        } catch (const AppError &e) {
            // The user has to know that there is no copy.
            throw AppError(QStringLiteral("文件备份失败！\r") + e.message());
        }
        ShowInfo(QStringLiteral("文件备份成功，请您注意把些保存好这个数据文件。"));
    });
}

void RunRestoreAccountSet(TAccountList &list, QWidget *parent)
{
    // Where manual backups are offered to go is where a restore starts looking.
    const QString folder = ManualBackupFolder(list.dataNetPath());
    const std::optional<QString> file = Messages().openFileName(
        QStringLiteral("恢复帐套"), QDir(folder).exists() ? folder : QString(), QStringLiteral("数据库文件(*.MDB *.mdb)"));
    if (!file || file->isEmpty())
        return;
    TfrmAccountRestore dialog(list, *file, parent);
    dialog.exec();
}
