#include "SqliteStatement.h"
#include "DataModule.h"
#include "shell/AppError.h"

#include <sqlite3.h>

FieldType FieldTypeFromDeclared(const QString &declared)
{
    const QString t = declared.toUpper();
    if (t.isEmpty())
        return FieldType::String;
    if (t.contains(QLatin1String("DATETIME")) || t.contains(QLatin1String("TIMESTAMP")))
        return FieldType::DateTime;
    if (t.contains(QLatin1String("DATE")))
        return FieldType::Date;
    if (t.contains(QLatin1String("BOOL")) || t == QLatin1String("BIT") || t.contains(QLatin1String("YESNO")))
        return FieldType::Boolean;
    if (t.contains(QLatin1String("CURRENCY")) || t.contains(QLatin1String("MONEY")))
        return FieldType::Currency;
    if (t.contains(QLatin1String("INT")) || t.contains(QLatin1String("LONG")) || t == QLatin1String("COUNTER"))
        return FieldType::Integer;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("DOUB"))
        || t.contains(QLatin1String("NUMERIC")) || t.contains(QLatin1String("DECIMAL")) || t.contains(QLatin1String("SINGLE")))
        return FieldType::Float;
    if (t.contains(QLatin1String("BLOB")) || t.contains(QLatin1String("IMAGE")) || t.contains(QLatin1String("BINARY"))
        || t.contains(QLatin1String("PICTURE")))
        return FieldType::Blob;
    return FieldType::String;
}

QVariant ToBindable(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

SqliteStatement::SqliteStatement(const QSqlDatabase &db, const QString &sql) : m_sql(sql)
{
    m_db = SqliteHandle(db);
    if (!m_db)
        throw AppError(QStringLiteral("数据库没有打开！"));
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw AppError(message);
    }
    if (!m_stmt)
        throw AppError(QStringLiteral("空的查询语句！"));
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(m_stmt); }

void SqliteStatement::fail(const QString &what) const
{
    throw AppError(what.isEmpty() ? QString::fromUtf8(sqlite3_errmsg(m_db)) : what);
}

void SqliteStatement::bind(const QVariantList &params)
{
    const int count = sqlite3_bind_parameter_count(m_stmt);
    if (params.size() < count)
        fail(QStringLiteral("参数个数不足：需要 %1 个，只给了 %2 个").arg(count).arg(params.size()));
    for (int i = 0; i < count; ++i) {
        const QVariant v = ToBindable(params.at(i));
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(m_stmt, i + 1);
        } else {
            switch (v.metaType().id()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
            case QMetaType::Long:
                rc = sqlite3_bind_int64(m_stmt, i + 1, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(m_stmt, i + 1, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob(m_stmt, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray t = v.toString().toUtf8();
                rc = sqlite3_bind_text(m_stmt, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            fail(QString());
    }
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(QString());
}

void SqliteStatement::run()
{
    while (step()) {
    }
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int SqliteStatement::columnCount() const { return sqlite3_column_count(m_stmt); }

QString SqliteStatement::columnName(int i) const { return QString::fromUtf8(sqlite3_column_name(m_stmt, i)); }

bool SqliteStatement::columnDeclared(int i) const { return sqlite3_column_decltype(m_stmt, i) != nullptr; }

FieldType SqliteStatement::columnType(int i) const
{
    const char *declared = sqlite3_column_decltype(m_stmt, i);
    return FieldTypeFromDeclared(declared ? QString::fromUtf8(declared) : QString());
}

int SqliteStatement::changes() const { return sqlite3_changes(m_db); }

QVariant SqliteStatement::rawValue(int i) const
{
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(m_stmt, i);
        return (v >= INT_MIN && v <= INT_MAX) ? QVariant(int(v)) : QVariant(v);
    }
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_stmt, i);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, i)), sqlite3_column_bytes(m_stmt, i));
    default:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i)),
                                 sqlite3_column_bytes(m_stmt, i));
    }
}

QVariant SqliteStatement::value(int i, FieldType type) const
{
    const int stored = sqlite3_column_type(m_stmt, i);
    if (stored == SQLITE_NULL)
        return QVariant();
    switch (type) {
    case FieldType::Integer:
        if (stored == SQLITE_TEXT) {
            bool ok = false;
            const int v = rawValue(i).toString().trimmed().toInt(&ok);
            return ok ? QVariant(v) : QVariant();
        }
        return int(sqlite3_column_int64(m_stmt, i));
    case FieldType::Float:
    case FieldType::Currency:
        if (stored == SQLITE_TEXT) {
            bool ok = false;
            const double v = rawValue(i).toString().trimmed().toDouble(&ok);
            return ok ? QVariant(v) : QVariant();
        }
        return sqlite3_column_double(m_stmt, i);
    case FieldType::Boolean:
        if (stored == SQLITE_TEXT) {
            const QString s = rawValue(i).toString().trimmed();
            return s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1")
                   || s == QLatin1String("-1");
        }
        return sqlite3_column_int64(m_stmt, i) != 0;
    case FieldType::Date: {
        const QDate d = ParseDateText(rawValue(i).toString());
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::DateTime: {
        const QDateTime d = ParseDateTimeText(rawValue(i).toString());
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::Blob:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, i)), sqlite3_column_bytes(m_stmt, i));
    case FieldType::String:
    case FieldType::DataSet:
        break;
    }
    if (stored == SQLITE_FLOAT) {
        const double d = sqlite3_column_double(m_stmt, i);
        return d == std::floor(d) && std::fabs(d) < 1e15 ? QString::number(qint64(d)) : QString::number(d, 'g', 15);
    }
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i)),
                             sqlite3_column_bytes(m_stmt, i));
}

void SqliteStatement::fill(TDataSet &target)
{
    const int n = columnCount();
    QVector<FieldType> types(n);
    QVector<bool> declared(n);
    for (int i = 0; i < n; ++i) {
        declared[i] = columnDeclared(i);
        types[i] = columnType(i);
    }
    // Expression columns have no declared type: they take the widest type their values show.
    std::vector<QVector<QVariant>> rows;
    QVector<int> seen(n, 0); // bit 1 integer, 2 float, 4 text, 8 blob
    while (step()) {
        QVector<QVariant> values(n);
        for (int i = 0; i < n; ++i) {
            if (declared[i]) {
                values[i] = value(i, types[i]);
            } else {
                values[i] = rawValue(i);
                switch (sqlite3_column_type(m_stmt, i)) {
                case SQLITE_INTEGER: seen[i] |= 1; break;
                case SQLITE_FLOAT: seen[i] |= 2; break;
                case SQLITE_TEXT: seen[i] |= 4; break;
                case SQLITE_BLOB: seen[i] |= 8; break;
                default: break;
                }
            }
        }
        rows.push_back(std::move(values));
    }
    QList<FieldDef> defs;
    QStringList names;
    for (int i = 0; i < n; ++i) {
        if (!declared[i]) {
            const int s = seen[i];
            types[i] = (s & 8) ? FieldType::Blob
                       : (s & 4) ? FieldType::String
                       : (s & 2) ? FieldType::Float
                       : (s & 1) ? FieldType::Integer
                                 : FieldType::String;
        }
        // Duplicate names (select t1.*, t2.x where both have x) keep the first, as a packet would.
        QString name = columnName(i);
        QString unique = name;
        for (int k = 1; names.contains(unique, Qt::CaseInsensitive); ++k)
            unique = name + QLatin1Char('_') + QString::number(k);
        names << unique;
        defs << FieldDef(unique, types[i], types[i] == FieldType::String ? 255 : 0);
    }
    target.setFieldDefs(defs);
    target.createDataSet();
    target.beginBulkLoad();
    for (auto &values : rows) {
        for (int i = 0; i < n; ++i) {
            if (declared[i] || values[i].isNull())
                continue;
            if (types[i] == FieldType::Float)
                values[i] = values[i].toDouble();
            else if (types[i] == FieldType::String && values[i].metaType().id() != QMetaType::QString)
                values[i] = values[i].toString();
        }
        target.bulkAppend(std::move(values));
    }
    target.endBulkLoad();
}
