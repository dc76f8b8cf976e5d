#include "SqlFunctions.h"
#include "DataSet.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QString>
#include <cmath>
#include <sqlite3.h>

namespace {

QString Text(sqlite3_value *v)
{
    const unsigned char *t = sqlite3_value_text(v);
    return t ? QString::fromUtf8(reinterpret_cast<const char *>(t), sqlite3_value_bytes(v)) : QString();
}

void ResultText(sqlite3_context *ctx, const QString &s)
{
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
}

bool IsNull(sqlite3_value *v) { return sqlite3_value_type(v) == SQLITE_NULL; }

QDateTime ValueDateTime(sqlite3_value *v)
{
    if (IsNull(v))
        return {};
    return ParseDateTimeText(Text(v));
}

// Access's Val: the number at the start of the text, 0 when there is none.
double Val(const QString &text)
{
    QString s = text.trimmed();
    int end = 0;
    bool digits = false, dot = false;
    if (end < s.size() && (s[end] == QLatin1Char('-') || s[end] == QLatin1Char('+')))
        ++end;
    while (end < s.size()) {
        const QChar c = s[end];
        if (c.isDigit())
            digits = true;
        else if (c == QLatin1Char('.') && !dot)
            dot = true;
        else
            break;
        ++end;
    }
    return digits ? s.left(end).toDouble() : 0.0;
}

double RoundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode rounds halves to even
}

void fnYear(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const QDateTime d = ValueDateTime(argv[0]);
    d.isValid() ? sqlite3_result_int(ctx, d.date().year()) : sqlite3_result_null(ctx);
}
void fnMonth(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const QDateTime d = ValueDateTime(argv[0]);
    d.isValid() ? sqlite3_result_int(ctx, d.date().month()) : sqlite3_result_null(ctx);
}
void fnDay(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const QDateTime d = ValueDateTime(argv[0]);
    d.isValid() ? sqlite3_result_int(ctx, d.date().day()) : sqlite3_result_null(ctx);
}
void fnLen(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (IsNull(argv[0]))
        return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, int(Text(argv[0]).size()));
}
void fnMid(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (IsNull(argv[0]))
        return sqlite3_result_null(ctx);
    const int start = std::max(1, sqlite3_value_int(argv[1]));
    const QString s = Text(argv[0]);
    ResultText(ctx, argc > 2 ? s.mid(start - 1, std::max(0, sqlite3_value_int(argv[2]))) : s.mid(start - 1));
}
void fnInStr(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    int start = 1, si = 0;
    if (argc == 3) {
        start = std::max(1, sqlite3_value_int(argv[0]));
        si = 1;
    }
    if (IsNull(argv[si]) || IsNull(argv[si + 1]))
        return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, int(Text(argv[si]).indexOf(Text(argv[si + 1]), start - 1)) + 1);
}
void fnUCase(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    IsNull(argv[0]) ? sqlite3_result_null(ctx) : ResultText(ctx, Text(argv[0]).toUpper());
}
void fnLCase(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    IsNull(argv[0]) ? sqlite3_result_null(ctx) : ResultText(ctx, Text(argv[0]).toLower());
}
void fnVal(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
        return sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
    sqlite3_result_double(ctx, Val(Text(argv[0])));
}
void fnNz(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (!IsNull(argv[0]))
        return sqlite3_result_value(ctx, argv[0]);
    if (argc > 1)
        return sqlite3_result_value(ctx, argv[1]);
    sqlite3_result_int(ctx, 0);
}
void fnIsNull(sqlite3_context *ctx, int, sqlite3_value **argv) { sqlite3_result_int(ctx, IsNull(argv[0]) ? 1 : 0); }
void fnIIf(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const bool condition = !IsNull(argv[0]) && sqlite3_value_double(argv[0]) != 0.0;
    sqlite3_result_value(ctx, condition ? argv[1] : argv[2]);
}
void fnCStr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (IsNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (sqlite3_value_type(argv[0]) == SQLITE_FLOAT) {
        const double d = sqlite3_value_double(argv[0]);
        return ResultText(ctx, d == std::floor(d) && std::fabs(d) < 1e15 ? QString::number(qint64(d))
                                                                          : QString::number(d, 'g', 15));
    }
    ResultText(ctx, Text(argv[0]));
}
void fnCDbl(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (IsNull(argv[0]))
        return sqlite3_result_null(ctx);
    const int type = sqlite3_value_type(argv[0]);
    sqlite3_result_double(ctx, type == SQLITE_TEXT ? Val(Text(argv[0])) : sqlite3_value_double(argv[0]));
}
void fnCLng(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (IsNull(argv[0]))
        return sqlite3_result_null(ctx);
    const int type = sqlite3_value_type(argv[0]);
    const double d = type == SQLITE_TEXT ? Val(Text(argv[0])) : sqlite3_value_double(argv[0]);
    sqlite3_result_int64(ctx, sqlite3_int64(RoundHalfEven(d)));
}
void fnInt(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (IsNull(argv[0]))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, sqlite3_int64(std::floor(sqlite3_value_double(argv[0]))));
}
void fnFix(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (IsNull(argv[0]))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, sqlite3_int64(std::trunc(sqlite3_value_double(argv[0]))));
}
void fnNow(sqlite3_context *ctx, int, sqlite3_value **)
{
    ResultText(ctx, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

// Access's Format for the forms the statements use: dates ("yyyy.mm", "yymm", "yyyy-mm-dd",
// with nn for minutes) and numbers ("0", "0.00", "#,##0.00").
void fnFormat(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (IsNull(argv[0]))
        return sqlite3_result_null(ctx);
    const QString format = Text(argv[1]);
    const int type = sqlite3_value_type(argv[0]);
    const bool numeric = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
    if (!numeric && format.contains(QRegularExpression(QStringLiteral("[yYdDmMhHnNsS]")))) {
        const QDateTime d = ValueDateTime(argv[0]);
        if (!d.isValid())
            return ResultText(ctx, Text(argv[0]));
        QString qt = format;
        qt.replace(QLatin1String("mm"), QLatin1String("\x01\x01"), Qt::CaseInsensitive);
        qt.replace(QLatin1String("nn"), QLatin1String("mm"), Qt::CaseInsensitive);
        qt.replace(QLatin1String("hh"), QLatin1String("HH"), Qt::CaseInsensitive);
        qt.replace(QLatin1String("\x01\x01"), QLatin1String("MM"));
        // "hh:mm" in Access means minutes after hours; MM after HH: would be a month.
        qt.replace(QLatin1String("HH:MM"), QLatin1String("HH:mm"));
        return ResultText(ctx, d.toString(qt));
    }
    const double value = numeric ? sqlite3_value_double(argv[0]) : Val(Text(argv[0]));
    const int dot = format.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : int(format.size() - dot - 1);
    QString text = QString::number(value, 'f', decimals);
    if (format.contains(QLatin1Char(','))) {
        const int point = text.indexOf(QLatin1Char('.'));
        int i = (point < 0 ? int(text.size()) : point) - 3;
        const int stop = text.startsWith(QLatin1Char('-')) ? 1 : 0;
        for (; i > stop; i -= 3)
            text.insert(i, QLatin1Char(','));
    }
    ResultText(ctx, text);
}

struct Function {
    const char *name;
    int args;
    void (*fn)(sqlite3_context *, int, sqlite3_value **);
    bool deterministic;
};

const Function kFunctions[] = {
    {"year", 1, fnYear, true},     {"month", 1, fnMonth, true},  {"day", 1, fnDay, true},
    {"len", 1, fnLen, true},
    {"mid", 2, fnMid, true},       {"mid", 3, fnMid, true},      {"instr", 2, fnInStr, true},
    {"instr", 3, fnInStr, true},   {"ucase", 1, fnUCase, true},  {"lcase", 1, fnLCase, true},
    {"val", 1, fnVal, true},       {"nz", 1, fnNz, true},        {"nz", 2, fnNz, true},
    {"isnull", 1, fnIsNull, true}, {"iif", 3, fnIIf, true},      {"cstr", 1, fnCStr, true},
    {"cdbl", 1, fnCDbl, true},     {"clng", 1, fnCLng, true},    {"cint", 1, fnCLng, true},
    {"int", 1, fnInt, true},       {"fix", 1, fnFix, true},      {"format", 2, fnFormat, true},
    {"now", 0, fnNow, false},
};

} // namespace

void RegisterAccessFunctions(sqlite3 *db)
{
    if (!db)
        return;
    for (const Function &f : kFunctions)
        sqlite3_create_function_v2(db, f.name, f.args,
                                   SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0), nullptr,
                                   f.fn, nullptr, nullptr, nullptr);
}
