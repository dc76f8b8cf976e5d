#include "Schema.h"
#include "DataModule.h"
#include "SqliteStatement.h"
#include "shell/AppError.h"

#include <QFileInfo>

namespace {
void Run(const QSqlDatabase &db, const QString &sql)
{
    SqliteStatement st(db, sql);
    st.run();
}

template <typename F> void WithNewFile(const QString &file, F &&build)
{
    if (QFileInfo::exists(file))
        throw AppError(QStringLiteral("文件已存在：") + file);
    const QString name = NewConnectionName(QStringLiteral("qelvo_create_"));
    try {
        QSqlDatabase db = OpenSqliteConnection(name, file, false);
        TTransaction t(db);
        build(db);
        t.commit();
    } catch (...) {
        CloseSqliteConnection(name);
        QFile::remove(file);
        throw;
    }
    CloseSqliteConnection(name);
}
} // namespace

void CreateAccountListDatabase(const QString &file)
{
    WithNewFile(file, [](const QSqlDatabase &db) {
        Run(db, QStringLiteral("create table account(cAccCode text(50) COLLATE NOCASE primary key not null,"
                               "cAccName text(50) COLLATE NOCASE,cBeginDate text(7),cEndDate text(7),"
                               "cUnitName text(100) COLLATE NOCASE)"));
    });
}

void CreateAccountSetDatabase(const QString &file)
{
    WithNewFile(file, [](const QSqlDatabase &db) { CreateAccountSetSchema(db); });
}

// Placeholder until the full schema lands: the tables of the data-access core.
void CreateAccountSetSchema(const QSqlDatabase &db)
{
    Run(db, QStringLiteral("create table NextKey(cNkPrefix text(2) COLLATE NOCASE not null,cNkMonth text(4) COLLATE NOCASE not null,"
                           "iNkNextKey integer,primary key(cNkPrefix,cNkMonth))"));
    Run(db, QStringLiteral("create table TablesID(TableName text(50) COLLATE NOCASE primary key not null,NextID integer)"));
    Run(db, QStringLiteral("create table syslog(SysLogID integer primary key,UserName text(50) COLLATE NOCASE,"
                           "MachineName text(50),MachineIP text(50),OpTime text(20),OpModule text(50) COLLATE NOCASE)"));
    for (const char *name : {"syslog", "Color", "Customer", "VIP", "Operator"})
        Run(db, QStringLiteral("insert into TablesID(TableName,NextID) values('%1',1)").arg(QLatin1String(name)));
}
