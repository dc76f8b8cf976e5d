#include "DataSetHelpers.h"
#include "DataModule.h"
#include "OpData.h"
#include "SqliteStatement.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"

namespace {
const QString kCR = QStringLiteral("\r");

QSqlDatabase &BoundConnection()
{
    static QSqlDatabase db;
    return db;
}

QSqlDatabase HelperConnection()
{
    const QSqlDatabase &bound = BoundConnection();
    if (bound.isValid() && bound.isOpen())
        return bound;
    if (!App().dm)
        throw AppError(QStringLiteral("数据库没有打开！"));
    return App().dm->database();
}
} // namespace

bool PostWithMessage(TDataSet &ds)
{
    if (!ds.active() || !ds.isEditing())
        return false;
    try {
        ds.post();
    } catch (const AppError &e) {
        ShowInfo(QStringLiteral("保存数据库发生错误，输入的数据不唯一！") + kCR + QStringLiteral("错误原因:") + e.message());
        return false;
    }
    return true;
}

bool DeleteWithConfirm(TDataSet &ds)
{
    if (!ds.active() || ds.isEmpty())
        return false;
    if (!ConfirmOkCancel(QStringLiteral("删除后不能恢复，您确实要删除当前行吗?")))
        return false;
    try {
        ds.deleteRecord();
    } catch (const AppError &e) {
        ShowInfo(QStringLiteral("删除数据时发生错误，可能是您的数据未处于修改状态！") + kCR + QStringLiteral("错误原因:")
                 + e.message());
        return false;
    }
    return true;
}

bool AppendWithMessage(TDataSet &ds)
{
    if (!ds.active())
        return false;
    try {
        ds.append();
    } catch (const AppError &e) {
        ShowInfo(QStringLiteral("添加记录时发生错误，可能数据集未处于编辑状态！") + kCR + QStringLiteral("错误原因:")
                 + e.message());
        return false;
    }
    return true;
}

void SetFieldsReadOnly(TDataSet &ds, const QStringList &fieldNames, bool readOnly)
{
    for (const QString &name : fieldNames)
        if (TField *f = ds.findField(name))
            f->readOnly = readOnly;
}

QString RecordCounterText(const TDataSet &ds, const QString &current)
{
    if (!ds.active())
        return current;
    return QStringLiteral("第%1行，共%2行").arg(ds.recNo()).arg(ds.recordCount());
}

// ---------------------------------------------------------------------------------------------

static QStringList MarkerFields(const TSortMarkerEntry &entry)
{
    return entry.keyFields.isEmpty() ? QStringList{entry.fieldName} : entry.keyFields;
}

QString SortAdoByMarkers(const TSortMarkers &markers, TDataSet &ds)
{
    QStringList parts;
    for (const TSortMarkerEntry &m : markers) {
        if (m.marker == SortMarker::None)
            continue;
        for (const QString &f : MarkerFields(m))
            parts << (m.marker == SortMarker::Down ? f + QStringLiteral(" DESC") : f);
    }
    const QString text = parts.join(QStringLiteral(", "));
    SetSortText(ds, text);
    return text;
}

void SortCdsByMarkers(const TSortMarkers &markers, TDataSet &ds)
{
    QList<TDataSet::SortField> fields;
    for (const TSortMarkerEntry &m : markers) {
        if (m.marker == SortMarker::None)
            continue;
        for (const QString &f : MarkerFields(m)) {
            TDataSet::SortField s;
            s.field = f;
            s.descending = m.marker == SortMarker::Up;
            s.caseInsensitive = m.marker == SortMarker::Down;
            fields << s;
        }
    }
    // Rebuilding "index1" replaces the earlier one of that name.
    ds.setSort(fields, QStringLiteral("index1"));
}

void SetSortText(TDataSet &ds, const QString &sortText)
{
    QList<TDataSet::SortField> fields;
    const QStringList parts = sortText.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QStringList words = part.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        if (words.size() > 2
            || (words.size() == 2 && words.at(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) != 0
                && words.at(1).compare(QLatin1String("ASC"), Qt::CaseInsensitive) != 0))
            throw AppError(QStringLiteral("排序条件不正确：") + part.trimmed());
        TDataSet::SortField s;
        s.field = words.at(0);
        s.descending = words.size() == 2 && words.at(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
        s.caseInsensitive = true;
        fields << s;
    }
    ds.setSort(fields);
}

// ---------------------------------------------------------------------------------------------

void BindDbHelpers(const QSqlDatabase &db) { BoundConnection() = db; }

int CountRows(const QString &table, const QString &condition, const QVariantList &params)
{
    SqliteStatement st(HelperConnection(),
                       QStringLiteral("select count(*) from %1  %2").arg(SqlIdentifier(table), condition));
    st.bind(params);
    return st.step() ? st.value(0, FieldType::Integer).toInt() : 0;
}

QString GetSingleText(const QString &sql, const QVariantList &params)
{
    SqliteStatement st(HelperConnection(), sql);
    st.bind(params);
    if (!st.step())
        return QString();
    return st.value(0, FieldType::String).toString();
}

bool TextInList(const QString &text, const QStringList &list)
{
    return list.contains(text, Qt::CaseInsensitive);
}

QString RemoveFirst(const QString &text, const QString &part)
{
    if (part.isEmpty())
        return text;
    const int at = text.indexOf(part);
    if (at < 0)
        return text;
    return text.left(at) + text.mid(at + part.size());
}
