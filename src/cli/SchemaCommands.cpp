#include "CliCommand.h"
#include "data/DataModule.h"
#include "data/OpData.h"
#include "data/Schema.h"
#include "data/SimpleValueDB.h"
#include "shell/AppError.h"
#include "shell/RightsCatalogue.h"

namespace {

// Opens an account-set file on a connection of its own, brings it to the current schema and
// checks the rights catalogue, as opening it in the program does; returns the version reached.
int UpgradeFile(const QString &file)
{
    const QString name = NewConnectionName(QStringLiteral("qelvo_cli_"));
    int version = 0;
    try {
        const QSqlDatabase db = OpenSqliteConnection(name, file);
        TOpData op(db);
        // The chain makes what it misses, so a wrong file (the account-set list, another
        // program's database) would be filled with account-set tables instead of refused.
        if (op.ScalarInt(QStringLiteral("select count(*) from sqlite_master where type='table' and "
                                        "lower(name) in ('tablesid','operator','inventory')")) < 3)
            throw AppError(QStringLiteral("不是帐套数据库，未作任何改动：") + file);
        TSimpleValueDB settings(db);
        version = op.UpgradeSchema(settings);
        CheckRightsCatalogue(op);
    } catch (...) {
        CloseSqliteConnection(name);
        throw;
    }
    CloseSqliteConnection(name);
    return version;
}

const CliCommandRegistration createSet{{
    QStringLiteral("create-set"),
    QStringLiteral("<file>  makes a new account-set database from the template schema"),
    [](const QStringList &args, QTextStream &out, QTextStream &err) {
        if (args.size() != 1) {
            err << "usage: create-set <file>\n";
            return 2;
        }
        CreateAccountSetDatabase(args.first());
        out << "created " << args.first() << " at schema version " << UpgradeFile(args.first()) << "\n";
        return 0;
    }}};

const CliCommandRegistration upgrade{{
    QStringLiteral("upgrade"),
    QStringLiteral("<file>  runs the schema upgrade chain on an account-set database and prints the version reached"),
    [](const QStringList &args, QTextStream &out, QTextStream &err) {
        if (args.size() != 1) {
            err << "usage: upgrade <file>\n";
            return 2;
        }
        CheckDatabaseFile(args.first());
        out << UpgradeFile(args.first()) << "\n";
        return 0;
    }}};

} // namespace
