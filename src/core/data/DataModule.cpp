#include "DataModule.h"
#include "SqlFunctions.h"
#include "shell/AppError.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>

namespace {
QHash<QString, int> &TransactionDepths()
{
    static QHash<QString, int> depths;
    return depths;
}

void Exec(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw AppError(q.lastError().text());
}
} // namespace

QString NewConnectionName(const QString &prefix)
{
    static QAtomicInt counter;
    return prefix + QString::number(counter.fetchAndAddRelaxed(1));
}

sqlite3 *SqliteHandle(const QSqlDatabase &db)
{
    const QVariant v = db.driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3 *const *>(v.data());
    return nullptr;
}

QSqlDatabase OpenSqliteConnection(const QString &connectionName, const QString &file, bool mustExist)
{
    if (mustExist && !QFileInfo::exists(file))
        throw AppError(QStringLiteral("数据库文件不存在：") + file);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(file);
    // A second process sharing the file waits for the lock instead of failing at once.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000"));
    if (!db.open()) {
        const QString message = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw AppError(QStringLiteral("打开数据库时出现错误!\r") + message);
    }
    try {
        Exec(db, QStringLiteral("PRAGMA foreign_keys=ON"));
        Exec(db, QStringLiteral("PRAGMA synchronous=FULL"));
        Exec(db, QStringLiteral("PRAGMA journal_mode=DELETE"));
        RegisterAccessFunctions(SqliteHandle(db));
        // Reading the schema catches a file that is not a database at all.
        Exec(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const AppError &e) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw AppError(QStringLiteral("打开数据库时出现错误!\r") + e.message());
    }
    return db;
}

void CloseSqliteConnection(const QString &connectionName)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    TransactionDepths().remove(connectionName);
    QSqlDatabase::removeDatabase(connectionName);
}

void CheckDatabaseFile(const QString &file)
{
    const QString name = NewConnectionName(QStringLiteral("qelvo_check_"));
    QString result;
    try {
        QSqlDatabase db = OpenSqliteConnection(name, file);
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next())
            result = q.lastError().text();
        else if (q.value(0).toString() != QLatin1String("ok"))
            result = q.value(0).toString();
    } catch (const AppError &e) {
        result = e.message();
    }
    CloseSqliteConnection(name);
    if (!result.isEmpty())
        throw AppError(QStringLiteral("数据库文件已损坏，不能使用：") + file + QStringLiteral("\r") + result);
}

TDM::TDM() : m_name(QStringLiteral("qelvo_main")) {}

TDM::~TDM() { close(); }

void TDM::openDatabase(const QString &file)
{
    close();
    OpenSqliteConnection(m_name, file);
    m_file = file;
}

void TDM::close()
{
    if (QSqlDatabase::contains(m_name))
        CloseSqliteConnection(m_name);
    m_file.clear();
}

bool TDM::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase TDM::database() const
{
    if (!QSqlDatabase::contains(m_name))
        throw AppError(QStringLiteral("数据库没有打开！"));
    return QSqlDatabase::database(m_name, false);
}

TTransaction::TTransaction(const QSqlDatabase &db) : m_db(db)
{
    int &depth = TransactionDepths()[db.connectionName()];
    m_level = depth;
    const QString sql = m_level == 0 ? QStringLiteral("BEGIN IMMEDIATE")
                                     : QStringLiteral("SAVEPOINT sp%1").arg(m_level);
    Exec(m_db, sql);
    ++depth;
}

void TTransaction::commit()
{
    if (m_done)
        return;
    const QString sql = m_level == 0 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE sp%1").arg(m_level);
    Exec(m_db, sql);
    m_done = true;
    --TransactionDepths()[m_db.connectionName()];
}

void TTransaction::rollback()
{
    if (m_done)
        return;
    m_done = true;
    --TransactionDepths()[m_db.connectionName()];
    QSqlQuery q(m_db);
    if (m_level == 0) {
        q.exec(QStringLiteral("ROLLBACK"));
    } else {
        q.exec(QStringLiteral("ROLLBACK TO sp%1").arg(m_level));
        q.exec(QStringLiteral("RELEASE sp%1").arg(m_level));
    }
}

TTransaction::~TTransaction() { rollback(); }
