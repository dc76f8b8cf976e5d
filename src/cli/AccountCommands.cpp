// Account-set commands of the command-line program: list, create, back up and restore the
// account sets of a data directory without the desktop program.
#include "CliCommand.h"
#include "data/DataModule.h"
#include "data/DatabaseCopy.h"
#include "data/DbDataSet.h"
#include "shell/AccountBackup.h"
#include "shell/AccountSets.h"
#include "shell/AppError.h"
#include "shell/Config.h"
#include "shell/MessageService.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Messages of the core operations go to the console; questions are never asked here.
class ConsoleMessages final : public IMessageService {
public:
    ConsoleMessages(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) { SetMessageService(this); }
    ~ConsoleMessages() override { SetMessageService(nullptr); }
    bool message(Kind kind, const QString &text, const QString &) override
    {
        QTextStream &s = kind == Kind::Info ? m_out : m_err;
        s << QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')) << "\n";
        return kind == Kind::Info || kind == Kind::Error || kind == Kind::Warning;
    }
    std::optional<QString> inputText(const QString &, const QString &, const QString &, bool) override { return std::nullopt; }
    std::optional<QString> openFileName(const QString &, const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> saveFileName(const QString &, const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QString> existingDirectory(const QString &, const QString &) override { return std::nullopt; }

private:
    QTextStream &m_out;
    QTextStream &m_err;
};

// Takes "--data <dir>" out of the arguments; the program's data directory otherwise.
QString TakeDataDirectory(QStringList &args)
{
    QString dir;
    const int at = args.indexOf(QStringLiteral("--data"));
    if (at >= 0) {
        if (at + 1 >= args.size())
            throw AppError(QStringLiteral("--data 后面缺少数据目录"));
        dir = args.at(at + 1);
        args.remove(at, 2);
    } else {
        dir = ConfiguredDataNetPath();
    }
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QDir::separator()))
        dir += QLatin1Char('/');
    return dir;
}

int Run(const QStringList &args, QTextStream &out, QTextStream &err, int minArgs, int maxArgs,
        const std::function<void(const QString &dataDir, const QStringList &args)> &body)
{
    QStringList rest = args;
    const QString dataDir = TakeDataDirectory(rest);
    if (rest.size() < minArgs || rest.size() > maxArgs) {
        err << "wrong number of arguments\n";
        return 2;
    }
    ConsoleMessages messages(out, err);
    try {
        body(dataDir, rest);
    } catch (const AbortError &) {
        return 1;
    }
    return 0;
}

QString Text(const TDataSet &ds, const char *field) { return ds.fieldByName(QLatin1String(field)).asString(); }

TDbDataSet &FindSet(TAccountList &list, const QString &code)
{
    if (!list.locate(code))
        throw AppError(QStringLiteral("没有这个帐套：") + code);
    return list.dataSet();
}

const CliCommandRegistration listSets({
    QStringLiteral("list-sets"),
    QStringLiteral("[--data <dir>]  lists the account sets: code, name, start month, 启用日期, unit"),
    [](const QStringList &args, QTextStream &out, QTextStream &err) {
        return Run(args, out, err, 0, 0, [&](const QString &dataDir, const QStringList &) {
            TAccountList list(dataDir);
            TDbDataSet &ds = list.dataSet();
            for (ds.first(); !ds.eof(); ds.next())
                out << Text(ds, "cAccCode") << '\t' << Text(ds, "cAccName") << '\t' << Text(ds, "cBeginDate") << '\t'
                    << Text(ds, "cEndDate") << '\t' << Text(ds, "cUnitName") << '\n';
        });
    }});

const CliCommandRegistration newSet({
    QStringLiteral("new-set"),
    QStringLiteral("<code> <name> [start month yyyy.MM] [--data <dir>]  creates an account set"),
    [](const QStringList &args, QTextStream &out, QTextStream &err) {
        return Run(args, out, err, 2, 3, [&](const QString &dataDir, const QStringList &a) {
            const QString month = a.size() > 2 ? a.at(2) : QDate::currentDate().toString(QStringLiteral("yyyy.MM"));
            static const QRegularExpression monthForm(QStringLiteral("^\\d{4}\\.(0[1-9]|1[0-2])$"));
            if (!monthForm.match(month).hasMatch())
                throw AppError(QStringLiteral("月份应写成“yyyy.MM”，例如 2024.01：") + month);
            if (a.at(0).trimmed().isEmpty() || a.at(1).trimmed().isEmpty())
                throw AppError(QStringLiteral("请将项目填写齐全！"));
            TAccountList list(dataDir);
            TDbDataSet &ds = list.dataSet();
            ds.append();
            ds.fieldByName(QStringLiteral("cAccCode")).setAsString(a.at(0));
            ds.fieldByName(QStringLiteral("cAccName")).setAsString(a.at(1));
            ds.fieldByName(QStringLiteral("cEndDate")).setAsString(month);
            try {
                CreateAccountSetFromNewRow(list);
            } catch (...) {
                ds.cancel();
                throw;
            }
        });
    }});

const CliCommandRegistration backupSet({
    QStringLiteral("backup-set"),
    QStringLiteral("<code> <file> [--data <dir>]  writes a consistent copy of an account set, even while it is in use"),
    [](const QStringList &args, QTextStream &out, QTextStream &err) {
        return Run(args, out, err, 2, 2, [&](const QString &dataDir, const QStringList &a) {
            TAccountList list(dataDir);
            TDbDataSet &ds = FindSet(list, a.at(0));
            const QString code = Text(ds, "cAccCode");
            QString beginMonth = Text(ds, "cBeginDate");
            if (beginMonth.isEmpty())
                beginMonth = QStringLiteral("2000.01");
            const QString name = NewConnectionName(QStringLiteral("qelvo_cli_backup_"));
            try {
                QSqlDatabase db = OpenSqliteConnection(name, AccountDatabaseFile(dataDir, code));
                WriteBackupAccountRow(db, beginMonth, QStringLiteral("2003.01"));
                BackupDatabaseTo(db, QFileInfo(a.at(1)).absoluteFilePath());
            } catch (...) {
                CloseSqliteConnection(name);
                throw;
            }
            CloseSqliteConnection(name);
            out << QStringLiteral("文件备份成功，请您注意把些保存好这个数据文件。") << '\n';
        });
    }});

const CliCommandRegistration restoreSet({
    QStringLiteral("restore-set"),
    QStringLiteral("<file> <code> <name> [--data <dir>]  makes a new account set from a backup file"),
    [](const QStringList &args, QTextStream &out, QTextStream &err) {
        return Run(args, out, err, 3, 3, [&](const QString &dataDir, const QStringList &a) {
            if (a.at(1).trimmed().isEmpty() || a.at(2).trimmed().isEmpty())
                throw AppError(QStringLiteral("请将项目填写齐全！"));
            TAccountList list(dataDir);
            TDbDataSet &ds = list.dataSet();
            ds.append();
            ds.fieldByName(QStringLiteral("cAccCode")).setAsString(a.at(1));
            ds.fieldByName(QStringLiteral("cAccName")).setAsString(a.at(2));
            try {
                RestoreAccountSetFromNewRow(list, QFileInfo(a.at(0)).absoluteFilePath());
            } catch (...) {
                if (ds.isEditing())
                    ds.cancel();
                throw;
            }
        });
    }});

} // namespace
