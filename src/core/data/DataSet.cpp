#include "DataSet.h"
#include "shell/AppError.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

struct TDataSet::Row {
    QVector<QVariant> values;
    std::vector<std::unique_ptr<TDataSet>> nested; // by field index; empty without nested fields
    qint64 id = 0;
    UpdateStatus status = UpdateStatus::Unmodified;
    QVector<QVariant> original; // the values before the first logged change
};

// ---------------------------------------------------------------------------------------------
// helpers

bool IsNumericFieldType(FieldType type)
{
    return type == FieldType::Integer || type == FieldType::Float || type == FieldType::Currency;
}

QString FieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::String: return QStringLiteral("string");
    case FieldType::Integer: return QStringLiteral("integer");
    case FieldType::Float: return QStringLiteral("float");
    case FieldType::Currency: return QStringLiteral("currency");
    case FieldType::Boolean: return QStringLiteral("boolean");
    case FieldType::Date: return QStringLiteral("date");
    case FieldType::DateTime: return QStringLiteral("datetime");
    case FieldType::Blob: return QStringLiteral("blob");
    case FieldType::DataSet: return QStringLiteral("dataset");
    }
    return QStringLiteral("string");
}

static FieldType FieldTypeFromName(const QString &name)
{
    static const FieldType all[] = {FieldType::String, FieldType::Integer, FieldType::Float,
                                    FieldType::Currency, FieldType::Boolean, FieldType::Date,
                                    FieldType::DateTime, FieldType::Blob, FieldType::DataSet};
    for (FieldType t : all)
        if (FieldTypeName(t) == name)
            return t;
    throw AppError(QStringLiteral("数据文件中有未知的字段类型：") + name);
}

QDate ParseDateText(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    const QString datePart = t.left(10);
    for (const char *format : {"yyyy-MM-dd", "yyyy.MM.dd", "yyyy/MM/dd", "yyyy-M-d", "yyyy.M.d", "yyyy/M/d"}) {
        const QDate d = QDate::fromString(datePart.section(QLatin1Char(' '), 0, 0), QLatin1String(format));
        if (d.isValid())
            return d;
    }
    return {};
}

QDateTime ParseDateTimeText(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    const QDate date = ParseDateText(t);
    if (!date.isValid())
        return {};
    QString timePart = t.section(QLatin1Char(' '), 1, 1);
    if (timePart.isEmpty() && t.contains(QLatin1Char('T')))
        timePart = t.section(QLatin1Char('T'), 1, 1);
    QTime time(0, 0);
    if (!timePart.isEmpty()) {
        for (const char *format : {"HH:mm:ss", "HH:mm:ss.zzz", "H:mm:ss", "HH:mm"}) {
            const QTime parsed = QTime::fromString(timePart, QLatin1String(format));
            if (parsed.isValid()) {
                time = parsed;
                break;
            }
        }
    }
    return QDateTime(date, time);
}

static QString FloatText(double value)
{
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

static int CompareValues(const QVariant &a, const QVariant &b, FieldType type, bool caseInsensitive)
{
    const bool an = a.isNull(), bn = b.isNull();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    switch (type) {
    case FieldType::Integer:
    case FieldType::Float:
    case FieldType::Currency: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::Boolean:
        return int(a.toBool()) - int(b.toBool());
    case FieldType::Date: {
        const QDate x = a.toDate(), y = b.toDate();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::DateTime: {
        const QDateTime x = a.toDateTime(), y = b.toDateTime();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::Blob:
        return a.toByteArray().compare(b.toByteArray());
    case FieldType::DataSet:
        return 0;
    case FieldType::String:
        break;
    }
    const QString *x = a.metaType().id() == QMetaType::QString ? static_cast<const QString *>(a.constData()) : nullptr;
    const QString *y = b.metaType().id() == QMetaType::QString ? static_cast<const QString *>(b.constData()) : nullptr;
    const Qt::CaseSensitivity cs = caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (x && y)
        return QString::compare(*x, *y, cs);
    return QString::compare(a.toString(), b.toString(), cs);
}

// ---------------------------------------------------------------------------------------------
// TRecordView

QVariant TRecordView::value(int fieldIndex) const
{
    return static_cast<const TDataSet::Row *>(m_row)->values.value(fieldIndex);
}

QVariant TRecordView::value(const QString &fieldName) const
{
    return value(m_ds->fieldByName(fieldName).index());
}

// ---------------------------------------------------------------------------------------------
// TField

QVariant TField::value() const
{
    TDataSet::Row *row = m_ds->currentRow();
    return row ? row->values.at(m_index) : QVariant();
}

void TField::setValue(const QVariant &value) { m_ds->storeValue(m_index, value); }

bool TField::isNull() const { return value().isNull(); }

void TField::clear() { setValue(QVariant()); }

QVariant TField::coerce(const QVariant &v) const
{
    if (!v.isValid() || v.isNull())
        return QVariant();
    const int id = v.metaType().id();
    const bool isText = id == QMetaType::QString || id == QMetaType::QByteArray;
    switch (m_def.type) {
    case FieldType::String:
        if (id == QMetaType::Double || id == QMetaType::Float)
            return FloatText(v.toDouble());
        if (id == QMetaType::QDate)
            return v.toDate().toString(QStringLiteral("yyyy.MM.dd"));
        if (id == QMetaType::Bool)
            return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        return v.toString();
    case FieldType::Integer: {
        if (isText) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return QVariant();
            bool ok = false;
            const int i = s.toInt(&ok);
            if (ok)
                return i;
            const double d = s.toDouble(&ok);
            if (ok && std::fabs(d) < 2147483648.0)
                return int(std::llround(d));
            throw AppError(QStringLiteral("“%1”不是有效的整数！").arg(s));
        }
        if (id == QMetaType::Bool)
            return v.toBool() ? 1 : 0;
        const double d = v.toDouble();
        if (!std::isfinite(d) || std::fabs(d) >= 2147483648.0)
            throw AppError(QStringLiteral("“%1”超出整数范围！").arg(v.toString()));
        return int(std::llround(d));
    }
    case FieldType::Float:
    case FieldType::Currency: {
        if (isText) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return QVariant();
            bool ok = false;
            const double d = s.toDouble(&ok);
            if (!ok)
                throw AppError(QStringLiteral("“%1”不是有效的数值！").arg(s));
            return d;
        }
        if (id == QMetaType::Bool)
            return v.toBool() ? 1.0 : 0.0;
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok)
            throw AppError(QStringLiteral("“%1”不是有效的数值！").arg(v.toString()));
        return d;
    }
    case FieldType::Boolean: {
        if (isText) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return QVariant();
            if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || s == QLatin1String("是")
                || s.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
                return true;
            if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || s == QLatin1String("否")
                || s.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0)
                return false;
            bool ok = false;
            const double d = s.toDouble(&ok);
            if (!ok)
                throw AppError(QStringLiteral("“%1”不是有效的逻辑值！").arg(s));
            return d != 0;
        }
        return v.toBool();
    }
    case FieldType::Date: {
        if (id == QMetaType::QDate)
            return v;
        if (id == QMetaType::QDateTime)
            return v.toDateTime().date();
        const QString s = v.toString().trimmed();
        if (s.isEmpty())
            return QVariant();
        const QDate d = ParseDateText(s);
        if (!d.isValid())
            throw AppError(QStringLiteral("“%1”不是有效的日期！").arg(s));
        return d;
    }
    case FieldType::DateTime: {
        if (id == QMetaType::QDateTime)
            return v;
        if (id == QMetaType::QDate)
            return QDateTime(v.toDate(), QTime(0, 0));
        const QString s = v.toString().trimmed();
        if (s.isEmpty())
            return QVariant();
        const QDateTime d = ParseDateTimeText(s);
        if (!d.isValid())
            throw AppError(QStringLiteral("“%1”不是有效的日期时间！").arg(s));
        return d;
    }
    case FieldType::Blob:
        if (id == QMetaType::QByteArray)
            return v;
        return v.toString().toUtf8();
    case FieldType::DataSet:
        throw AppError(QStringLiteral("嵌套数据集字段不能直接赋值：") + m_def.name);
    }
    return v;
}

// The text of a stored value in the program's formats: dates "yyyy.MM.dd", numbers without
// trailing zeros, yes/no as True/False.
static QString TextOfValue(const QVariant &v, FieldType type)
{
    if (v.isNull())
        return QString();
    switch (type) {
    case FieldType::Float:
    case FieldType::Currency:
        return FloatText(v.toDouble());
    case FieldType::Boolean:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Date:
        return v.toDate().toString(QStringLiteral("yyyy.MM.dd"));
    case FieldType::DateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"));
    case FieldType::Blob:
        return QString::fromUtf8(v.toByteArray());
    case FieldType::DataSet:
        return QStringLiteral("(DATASET)");
    default:
        return v.toString();
    }
}

QString TField::asString() const { return TextOfValue(value(), m_def.type); }

void TField::setAsString(const QString &text) { setValue(text); }

int TField::asInteger() const
{
    const QVariant v = value();
    if (v.isNull())
        return 0;
    if (m_def.type == FieldType::Integer)
        return v.toInt();
    bool ok = false;
    const double d = v.metaType().id() == QMetaType::QString ? v.toString().trimmed().toDouble(&ok) : v.toDouble(&ok);
    return ok ? int(std::llround(d)) : 0;
}

double TField::asFloat() const
{
    const QVariant v = value();
    if (v.isNull())
        return 0.0;
    bool ok = false;
    const double d = v.metaType().id() == QMetaType::QString ? v.toString().trimmed().toDouble(&ok) : v.toDouble(&ok);
    return ok ? d : 0.0;
}

bool TField::asBoolean() const
{
    const QVariant v = value();
    if (v.isNull())
        return false;
    if (v.metaType().id() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        return s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1")
               || s == QLatin1String("-1") || s == QLatin1String("是");
    }
    return v.toBool();
}

QDate TField::asDate() const
{
    const QVariant v = value();
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate();
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return ParseDateText(v.toString());
}

QDateTime TField::asDateTime() const
{
    const QVariant v = value();
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.metaType().id() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    return ParseDateTimeText(v.toString());
}

QByteArray TField::asBytes() const
{
    const QVariant v = value();
    return v.metaType().id() == QMetaType::QByteArray ? v.toByteArray() : v.toString().toUtf8();
}

QString TField::displayText() const { return displayTextOf(value()); }

QString TField::displayTextOf(const QVariant &v) const
{
    if (v.isNull())
        return QString();
    if (isNumeric() && !displayFormat.isEmpty()) {
        const int dot = displayFormat.indexOf(QLatin1Char('.'));
        const int decimals = dot < 0 ? 0 : int(displayFormat.size() - dot - 1);
        return QString::number(v.toDouble(), 'f', decimals);
    }
    if ((m_def.type == FieldType::Date || m_def.type == FieldType::DateTime) && !displayFormat.isEmpty())
        return v.toDateTime().toString(displayFormat);
    return TextOfValue(v, m_def.type);
}

TDataSet *TField::nested() const
{
    if (m_def.type != FieldType::DataSet)
        return nullptr;
    TDataSet::Row *row = m_ds->currentRow();
    if (!row || row->nested.empty())
        return nullptr;
    return row->nested.at(size_t(m_index)).get();
}

// ---------------------------------------------------------------------------------------------
// TDataSet: structure

TDataSet::TDataSet(QObject *parent) : QObject(parent) {}
TDataSet::~TDataSet() = default;

void TDataSet::setFieldDefs(const QList<FieldDef> &defs)
{
    if (active())
        close();
    m_defs = defs;
}

void TDataSet::addFieldDef(const FieldDef &def)
{
    if (active())
        close();
    m_defs.append(def);
}

void TDataSet::clearFieldDefs()
{
    if (active())
        close();
    m_defs.clear();
    m_fields.clear();
}

static bool SameStructure(const QList<FieldDef> &defs, const std::vector<std::unique_ptr<TField>> &fields)
{
    if (size_t(defs.size()) != fields.size())
        return false;
    for (int i = 0; i < defs.size(); ++i) {
        const FieldDef &a = defs.at(i);
        const FieldDef &b = fields.at(size_t(i))->def();
        if (a.name.compare(b.name, Qt::CaseInsensitive) != 0 || a.type != b.type || a.size != b.size)
            return false;
    }
    return true;
}

void TDataSet::buildFields()
{
    // Reopening with the same structure keeps the fields, with their captions and handlers.
    if (SameStructure(m_defs, m_fields))
        return;
    m_fields.clear();
    m_sort.clear();
    m_sortIndexes.clear();
    m_indexName.clear();
    for (int i = 0; i < m_defs.size(); ++i) {
        const FieldDef &def = m_defs.at(i);
        for (int j = 0; j < i; ++j)
            if (m_defs.at(j).name.compare(def.name, Qt::CaseInsensitive) == 0)
                throw AppError(QStringLiteral("字段名重复：") + def.name);
        auto field = std::unique_ptr<TField>(new TField(this, def, i));
        field->required = def.required;
        m_fields.push_back(std::move(field));
    }
}

void TDataSet::createDataSet()
{
    if (active())
        close();
    buildFields();
    m_state = State::Browse;
    m_cursor = -1;
    m_bof = m_eof = true;
    notifyReset();
    Q_EMIT stateChanged();
}

void TDataSet::close()
{
    if (!active())
        return;
    m_view.clear();
    m_rows.clear();
    m_deleted.clear();
    m_saved.clear();
    m_state = State::Inactive;
    m_cursor = -1;
    m_bof = m_eof = true;
    notifyReset();
    Q_EMIT stateChanged();
}

TField *TDataSet::findField(const QString &name) const
{
    for (const auto &f : m_fields)
        if (f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField &TDataSet::fieldByName(const QString &name) const
{
    TField *f = findField(name);
    if (!f)
        throw AppError(QStringLiteral("字段“%1”不存在！").arg(name));
    return *f;
}

int TDataSet::fieldIndex(const QString &name) const
{
    const TField *f = findField(name);
    return f ? f->index() : -1;
}

QStringList TDataSet::fieldNames() const
{
    QStringList names;
    for (const auto &f : m_fields)
        names << f->fieldName();
    return names;
}

void TDataSet::requireActive() const
{
    if (!active())
        throw AppError(QStringLiteral("数据集没有打开，不能执行此操作！"));
}

TDataSet::Row *TDataSet::currentRow() const
{
    if (m_cursor < 0 || m_cursor >= int(m_view.size()))
        return nullptr;
    return m_view.at(size_t(m_cursor));
}

void TDataSet::makeNestedFor(Row *row)
{
    bool any = false;
    for (const auto &f : m_fields)
        any = any || f->dataType() == FieldType::DataSet;
    if (!any)
        return;
    row->nested.resize(m_fields.size());
    for (const auto &f : m_fields) {
        if (f->dataType() != FieldType::DataSet)
            continue;
        auto child = std::make_unique<TDataSet>();
        child->setFieldDefs(f->def().children);
        child->createDataSet();
        row->nested[size_t(f->index())] = std::move(child);
    }
}

// ---------------------------------------------------------------------------------------------
// navigation

void TDataSet::setCurrent(int viewRow, bool notify)
{
    const int old = m_cursor;
    m_cursor = m_view.empty() ? -1 : std::clamp(viewRow, 0, int(m_view.size()) - 1);
    if (notify && old != m_cursor) {
        notifyCurrent();
        if (afterScroll)
            afterScroll(*this);
    }
}

void TDataSet::first()
{
    requireActive();
    checkBrowseMode();
    setCurrent(0);
    m_bof = true;
    m_eof = m_view.empty();
}

void TDataSet::last()
{
    requireActive();
    checkBrowseMode();
    setCurrent(int(m_view.size()) - 1);
    m_eof = true;
    m_bof = m_view.empty();
}

void TDataSet::next()
{
    requireActive();
    checkBrowseMode();
    if (m_cursor + 1 < int(m_view.size())) {
        setCurrent(m_cursor + 1);
        m_bof = m_eof = false;
    } else {
        m_eof = true;
    }
}

void TDataSet::prior()
{
    requireActive();
    checkBrowseMode();
    if (m_cursor > 0) {
        setCurrent(m_cursor - 1);
        m_bof = m_eof = false;
    } else {
        m_bof = true;
    }
}

void TDataSet::moveBy(int distance)
{
    if (distance > 0)
        while (distance-- > 0 && !m_eof)
            next();
    else
        while (distance++ < 0 && !m_bof)
            prior();
}

void TDataSet::setRecNo(int recNo)
{
    requireActive();
    checkBrowseMode();
    if (m_view.empty())
        return;
    setCurrent(recNo - 1);
    m_bof = m_eof = false;
}

// ---------------------------------------------------------------------------------------------
// editing

void TDataSet::requireBrowse(const char *operation)
{
    requireActive();
    if (!canModify)
        throw AppError(QStringLiteral("数据集是只读的，不能%1！").arg(QString::fromUtf8(operation)));
}

void TDataSet::append()
{
    requireBrowse("添加记录");
    checkBrowseMode();
    if (beforeInsert)
        beforeInsert(*this);
    auto row = std::make_unique<Row>();
    row->id = m_nextId++;
    row->values.resize(int(m_fields.size()));
    row->status = UpdateStatus::Inserted;
    makeNestedFor(row.get());
    Row *raw = row.get();
    m_rows.push_back(std::move(row));
    m_view.push_back(raw);
    m_saved.clear();
    m_savedStatus = UpdateStatus::Inserted;
    m_state = State::Insert;
    if (!controlsDisabled())
        Q_EMIT rowInserted(int(m_view.size()) - 1);
    setCurrent(int(m_view.size()) - 1);
    m_bof = m_eof = false;
    Q_EMIT stateChanged();
    if (onNewRecord)
        onNewRecord(*this);
    if (afterInsert)
        afterInsert(*this);
}

void TDataSet::insert()
{
    requireBrowse("插入记录");
    checkBrowseMode();
    if (m_view.empty()) {
        append();
        return;
    }
    if (beforeInsert)
        beforeInsert(*this);
    Row *current = currentRow();
    auto row = std::make_unique<Row>();
    row->id = m_nextId++;
    row->values.resize(int(m_fields.size()));
    row->status = UpdateStatus::Inserted;
    makeNestedFor(row.get());
    Row *raw = row.get();
    auto it = std::find_if(m_rows.begin(), m_rows.end(), [&](const auto &r) { return r.get() == current; });
    m_rows.insert(it, std::move(row));
    const int pos = std::max(m_cursor, 0);
    m_view.insert(m_view.begin() + pos, raw);
    m_saved.clear();
    m_savedStatus = UpdateStatus::Inserted;
    m_state = State::Insert;
    m_cursor = -1; // force the current-changed notification
    if (!controlsDisabled())
        Q_EMIT rowInserted(pos);
    setCurrent(pos);
    m_bof = m_eof = false;
    Q_EMIT stateChanged();
    if (onNewRecord)
        onNewRecord(*this);
    if (afterInsert)
        afterInsert(*this);
}

void TDataSet::edit()
{
    if (isEditing())
        return;
    requireBrowse("修改记录");
    if (m_view.empty()) {
        append();
        return;
    }
    if (beforeEdit)
        beforeEdit(*this);
    Row *row = currentRow();
    m_saved = row->values;
    m_savedStatus = row->status;
    m_state = State::Edit;
    Q_EMIT stateChanged();
    if (afterEdit)
        afterEdit(*this);
}

void TDataSet::storeValue(int fieldIndex, const QVariant &value)
{
    TField *f = field(fieldIndex);
    if (!isEditing())
        throw AppError(QStringLiteral("数据集不在编辑或插入状态，不能修改字段“%1”！").arg(f->fieldName()));
    if (f->readOnly)
        throw AppError(QStringLiteral("字段“%1”是只读的，不能修改！").arg(f->fieldName()));
    const QVariant coerced = f->coerce(value);
    if (f->onValidate)
        f->onValidate(*f, coerced);
    Row *row = currentRow();
    row->values[fieldIndex] = coerced;
    if (!controlsDisabled())
        Q_EMIT rowChanged(m_cursor);
    if (f->onChange)
        f->onChange(*f);
}

void TDataSet::validateRequired()
{
    Row *row = currentRow();
    for (const auto &f : m_fields)
        if (f->required && f->dataType() != FieldType::DataSet && row->values.at(f->index()).isNull())
            throw AppError(QStringLiteral("字段“%1”必须输入值！").arg(f->label()));
}

QVector<QVariant> TDataSet::valuesOf(const Row *row) const { return row->values; }

void TDataSet::post()
{
    if (!isEditing())
        return;
    if (beforePost)
        beforePost(*this);
    validateRequired();
    Row *row = currentRow();
    const bool inserting = m_state == State::Insert;
    if (m_resolver) {
        if (inserting)
            m_resolver->applyInsert(*this, row->values);
        else if (row->values != m_saved)
            m_resolver->applyUpdate(*this, row->values, m_saved);
    }
    if (inserting) {
        row->status = (logChanges && !m_resolver) ? UpdateStatus::Inserted : UpdateStatus::Unmodified;
    } else if (m_resolver || !logChanges) {
        row->status = UpdateStatus::Unmodified;
        row->original.clear();
    } else if (row->values != m_saved && row->status == UpdateStatus::Unmodified) {
        row->status = UpdateStatus::Modified;
        row->original = m_saved;
    }
    m_saved.clear();
    m_state = State::Browse;
    finishEdit();
    Q_EMIT stateChanged();
    if (afterPost)
        afterPost(*this);
}

// Puts a posted record where the order and the filter say it belongs.
void TDataSet::finishEdit()
{
    Row *row = currentRow();
    if (!row)
        return;
    if (m_filtered && m_filter && !matchesFilter(row)) {
        const int pos = m_cursor;
        m_view.erase(m_view.begin() + pos);
        if (!controlsDisabled())
            Q_EMIT rowRemoved(pos);
        m_cursor = -1;
        setCurrent(std::min(pos, int(m_view.size()) - 1));
        return;
    }
    if (m_sortIndexes.isEmpty())
        return;
    const int target = sortedPosition(row, m_cursor);
    if (target == m_cursor)
        return;
    m_view.erase(m_view.begin() + m_cursor);
    m_view.insert(m_view.begin() + target, row);
    m_cursor = target;
    notifyReset();
}

void TDataSet::cancel()
{
    if (!isEditing())
        return;
    if (beforeCancel)
        beforeCancel(*this);
    Row *row = currentRow();
    if (m_state == State::Insert) {
        const int pos = m_cursor;
        m_state = State::Browse;
        removeRow(row);
        m_cursor = -1;
        setCurrent(std::min(pos, int(m_view.size()) - 1));
        if (m_view.empty())
            m_bof = m_eof = true;
    } else {
        row->values = m_saved;
        row->status = m_savedStatus;
        m_state = State::Browse;
        if (!controlsDisabled())
            Q_EMIT rowChanged(m_cursor);
    }
    m_saved.clear();
    Q_EMIT stateChanged();
    if (afterCancel)
        afterCancel(*this);
}

void TDataSet::removeRow(Row *row)
{
    auto vit = std::find(m_view.begin(), m_view.end(), row);
    if (vit != m_view.end()) {
        const int pos = int(vit - m_view.begin());
        m_view.erase(vit);
        if (!controlsDisabled())
            Q_EMIT rowRemoved(pos);
    }
    auto it = std::find_if(m_rows.begin(), m_rows.end(), [&](const auto &r) { return r.get() == row; });
    if (it != m_rows.end())
        m_rows.erase(it);
}

void TDataSet::deleteRecord()
{
    requireBrowse("删除记录");
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_view.empty())
        throw AppError(QStringLiteral("不能对空数据集执行删除操作！"));
    // A pending edit of the record is dropped, not posted: the record goes anyway, and a post
    // the database refuses must not keep the user from deleting the record.
    if (m_state == State::Edit)
        cancel();
    if (beforeDelete)
        beforeDelete(*this);
    Row *row = currentRow();
    if (m_resolver)
        m_resolver->applyDelete(*this, row->values);
    if (logChanges && !m_resolver && row->status != UpdateStatus::Inserted)
        m_deleted.push_back(row->status == UpdateStatus::Modified ? row->original : row->values);
    const int pos = m_cursor;
    removeRow(row);
    m_cursor = -1;
    setCurrent(std::min(pos, int(m_view.size()) - 1));
    m_bof = m_view.empty();
    m_eof = m_view.empty();
    if (afterDelete)
        afterDelete(*this);
}

void TDataSet::checkBrowseMode()
{
    if (isEditing())
        post();
}

void TDataSet::appendRecord(const QVariantList &values)
{
    append();
    try {
        for (int i = 0; i < values.size() && i < fieldCount(); ++i)
            if (field(i)->dataType() != FieldType::DataSet)
                storeValue(i, values.at(i));
        post();
    } catch (...) {
        cancel();
        throw;
    }
}

void TDataSet::emptyDataSet()
{
    requireActive();
    if (isEditing())
        cancel();
    m_view.clear();
    m_rows.clear();
    m_deleted.clear();
    m_cursor = -1;
    m_bof = m_eof = true;
    notifyReset();
}

QVariant TDataSet::valueAt(int viewRow, int fieldIndex) const
{
    if (viewRow < 0 || viewRow >= int(m_view.size()) || fieldIndex < 0 || fieldIndex >= fieldCount())
        return QVariant();
    return m_view.at(size_t(viewRow))->values.at(fieldIndex);
}

void TDataSet::setValueAt(int viewRow, int fieldIndex, const QVariant &value)
{
    if (viewRow != m_cursor)
        setRecNo(viewRow + 1);
    edit();
    storeValue(fieldIndex, value);
}

TDataSet *TDataSet::nestedAt(int viewRow, int fieldIndex) const
{
    if (viewRow < 0 || viewRow >= int(m_view.size()))
        return nullptr;
    const Row *row = m_view.at(size_t(viewRow));
    if (row->nested.empty() || fieldIndex < 0 || fieldIndex >= int(row->nested.size()))
        return nullptr;
    return row->nested.at(size_t(fieldIndex)).get();
}

// ---------------------------------------------------------------------------------------------
// change log

int TDataSet::changeCount() const
{
    int count = int(m_deleted.size());
    for (const auto &row : m_rows)
        if (row->status != UpdateStatus::Unmodified)
            ++count;
    return count;
}

void TDataSet::mergeChangeLog()
{
    checkBrowseMode();
    for (const auto &row : m_rows) {
        row->status = UpdateStatus::Unmodified;
        row->original.clear();
    }
    m_deleted.clear();
}

void TDataSet::cancelUpdates()
{
    requireActive();
    if (isEditing())
        cancel();
    std::vector<std::unique_ptr<Row>> kept;
    for (auto &row : m_rows) {
        if (row->status == UpdateStatus::Inserted)
            continue;
        if (row->status == UpdateStatus::Modified)
            row->values = row->original;
        row->status = UpdateStatus::Unmodified;
        row->original.clear();
        kept.push_back(std::move(row));
    }
    for (auto &values : m_deleted) {
        auto row = std::make_unique<Row>();
        row->id = m_nextId++;
        row->values = std::move(values);
        makeNestedFor(row.get());
        kept.push_back(std::move(row));
    }
    m_deleted.clear();
    m_rows = std::move(kept);
    rebuildView();
    setCurrent(0, false);
    notifyCurrent();
}

TDataSet::UpdateStatus TDataSet::updateStatus() const
{
    const Row *row = currentRow();
    return row ? row->status : UpdateStatus::Unmodified;
}

QVariant TDataSet::oldValue(const QString &fieldName) const
{
    const Row *row = currentRow();
    const int index = fieldByName(fieldName).index();
    if (!row)
        return QVariant();
    if (isEditing() && !m_saved.isEmpty())
        return m_saved.at(index);
    if (row->status == UpdateStatus::Modified)
        return row->original.at(index);
    return row->values.at(index);
}

// ---------------------------------------------------------------------------------------------
// searching and bookmarks

bool TDataSet::locate(const QStringList &fields, const QVariantList &values, bool caseInsensitive,
                      bool partialKey)
{
    requireActive();
    QVector<const TField *> keys;
    for (const QString &name : fields)
        keys << &fieldByName(name);
    for (int i = 0; i < int(m_view.size()); ++i) {
        const Row *row = m_view.at(size_t(i));
        bool match = true;
        for (int k = 0; k < keys.size() && match; ++k) {
            const TField *f = keys.at(k);
            const QVariant &have = row->values.at(f->index());
            const QVariant want = values.value(k);
            if (want.isNull() || have.isNull()) {
                match = want.isNull() == have.isNull();
            } else if (f->dataType() == FieldType::String) {
                const QString h = have.toString(), w = want.toString();
                const Qt::CaseSensitivity cs = caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
                match = partialKey ? h.startsWith(w, cs) : h.compare(w, cs) == 0;
            } else {
                QVariant coerced;
                try {
                    coerced = f->coerce(want);
                } catch (const AppError &) {
                    match = false;
                    break;
                }
                match = CompareValues(have, coerced, f->dataType(), caseInsensitive) == 0;
            }
        }
        if (match) {
            checkBrowseMode();
            setCurrent(i);
            m_bof = m_eof = false;
            return true;
        }
    }
    return false;
}

QVariant TDataSet::lookup(const QStringList &keyFields, const QVariantList &keyValues,
                          const QString &resultField) const
{
    const int result = fieldByName(resultField).index();
    QVector<const TField *> keys;
    for (const QString &name : keyFields)
        keys << &fieldByName(name);
    for (const Row *row : m_view) {
        bool match = true;
        for (int k = 0; k < keys.size() && match; ++k)
            match = CompareValues(row->values.at(keys.at(k)->index()), keys.at(k)->coerce(keyValues.value(k)),
                                  keys.at(k)->dataType(), false) == 0;
        if (match)
            return row->values.at(result);
    }
    return QVariant();
}

TDataSet::Bookmark TDataSet::bookmark() const
{
    const Row *row = currentRow();
    return row ? row->id : 0;
}

bool TDataSet::bookmarkValid(Bookmark bookmark) const
{
    return bookmark != 0
           && std::any_of(m_view.begin(), m_view.end(), [&](const Row *r) { return r->id == bookmark; });
}

bool TDataSet::gotoBookmark(Bookmark bookmark)
{
    for (int i = 0; i < int(m_view.size()); ++i) {
        if (m_view.at(size_t(i))->id == bookmark) {
            checkBrowseMode();
            setCurrent(i);
            m_bof = m_eof = false;
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// sorting and filtering

void TDataSet::setSort(const QList<SortField> &fields, const QString &indexName)
{
    QVector<int> indexes;
    for (const SortField &s : fields)
        indexes << fieldByName(s.field).index();
    checkBrowseMode();
    m_sort = fields;
    m_sortIndexes = indexes;
    m_indexName = indexName;
    if (active())
        rebuildView();
}

void TDataSet::setFilter(std::function<bool(const TRecordView &)> predicate)
{
    checkBrowseMode();
    m_filter = std::move(predicate);
    if (active() && m_filtered)
        rebuildView();
}

void TDataSet::setFiltered(bool on)
{
    checkBrowseMode();
    m_filtered = on;
    if (active())
        rebuildView();
}

bool TDataSet::matchesFilter(const Row *row) const
{
    return !m_filtered || !m_filter || m_filter(TRecordView(this, row));
}

bool TDataSet::lessThan(const Row *a, const Row *b) const
{
    for (int k = 0; k < m_sortIndexes.size(); ++k) {
        const int index = m_sortIndexes.at(k);
        const SortField &s = m_sort.at(k);
        const int c = CompareValues(a->values.at(index), b->values.at(index),
                                    m_fields.at(size_t(index))->dataType(), s.caseInsensitive);
        if (c != 0)
            return s.descending ? c > 0 : c < 0;
    }
    return false;
}

int TDataSet::sortedPosition(const Row *row, int excludeViewRow) const
{
    // Binary search over the view without the row itself: the first position whose row sorts after it.
    int lo = 0, hi = int(m_view.size()) - 1;
    auto at = [&](int i) { return m_view.at(size_t(i < excludeViewRow ? i : i + 1)); };
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (lessThan(row, at(mid)))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// Sorts the view once per order change. Case-insensitive text keys are folded once per record
// instead of once per comparison, which is what makes 100,000 records sort quickly.
void TDataSet::sortView()
{
    const size_t n = m_view.size();
    const int k = int(m_sortIndexes.size());
    std::vector<std::vector<QString>> folded(static_cast<size_t>(k));
    for (int i = 0; i < k; ++i) {
        const int index = m_sortIndexes.at(i);
        if (!m_sort.at(i).caseInsensitive || m_fields.at(size_t(index))->dataType() != FieldType::String)
            continue;
        folded[size_t(i)].reserve(n);
        for (const Row *row : m_view)
            folded[size_t(i)].push_back(row->values.at(index).toString().toCaseFolded());
    }
    std::vector<int> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        for (int i = 0; i < k; ++i) {
            const int index = m_sortIndexes.at(i);
            const QVariant &va = m_view[size_t(a)]->values.at(index);
            const QVariant &vb = m_view[size_t(b)]->values.at(index);
            int c;
            if (!folded[size_t(i)].empty() && !va.isNull() && !vb.isNull())
                c = QString::compare(folded[size_t(i)][size_t(a)], folded[size_t(i)][size_t(b)]);
            else
                c = CompareValues(va, vb, m_fields.at(size_t(index))->dataType(), m_sort.at(i).caseInsensitive);
            if (c != 0)
                return m_sort.at(i).descending ? c > 0 : c < 0;
        }
        return false;
    });
    std::vector<Row *> sorted(n);
    for (size_t i = 0; i < n; ++i)
        sorted[i] = m_view[size_t(order[i])];
    m_view.swap(sorted);
}

void TDataSet::rebuildView()
{
    const Row *current = currentRow();
    m_view.clear();
    m_view.reserve(m_rows.size());
    for (const auto &row : m_rows)
        if (matchesFilter(row.get()))
            m_view.push_back(row.get());
    if (!m_sortIndexes.isEmpty())
        sortView();
    int pos = 0;
    if (current) {
        auto it = std::find(m_view.begin(), m_view.end(), current);
        pos = it == m_view.end() ? 0 : int(it - m_view.begin());
    }
    m_cursor = m_view.empty() ? -1 : pos;
    m_bof = m_view.empty() || pos == 0;
    m_eof = m_view.empty();
    notifyReset();
}

// ---------------------------------------------------------------------------------------------
// controls

void TDataSet::disableControls() { ++m_disableCount; }

void TDataSet::enableControls()
{
    if (m_disableCount > 0 && --m_disableCount == 0) {
        Q_EMIT dataReset();
        Q_EMIT currentChanged(m_cursor);
    }
}

void TDataSet::notifyReset()
{
    if (!controlsDisabled()) {
        Q_EMIT dataReset();
        Q_EMIT currentChanged(m_cursor);
    }
}

void TDataSet::notifyCurrent()
{
    if (!controlsDisabled())
        Q_EMIT currentChanged(m_cursor);
}

// ---------------------------------------------------------------------------------------------
// bulk load

void TDataSet::beginBulkLoad()
{
    requireActive();
    checkBrowseMode();
    m_bulk = true;
}

void TDataSet::bulkAppend(QVector<QVariant> &&values)
{
    auto row = std::make_unique<Row>();
    row->id = m_nextId++;
    values.resize(int(m_fields.size()));
    row->values = std::move(values);
    makeNestedFor(row.get());
    m_rows.push_back(std::move(row));
}

void TDataSet::endBulkLoad()
{
    m_bulk = false;
    m_cursor = -1;
    rebuildView();
    m_cursor = m_view.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.empty();
    notifyCurrent();
}

// ---------------------------------------------------------------------------------------------
// copying and the file form

static void CopyRowsInto(const TDataSet &source, TDataSet &target);

void TDataSet::copyFrom(const TDataSet &source)
{
    setFieldDefs(source.fieldDefs());
    createDataSet();
    CopyRowsInto(source, *this);
}

static void CopyRowsInto(const TDataSet &source, TDataSet &target)
{
    target.beginBulkLoad();
    for (int r = 0; r < source.recordCount(); ++r) {
        QVector<QVariant> values(source.fieldCount());
        for (int f = 0; f < source.fieldCount(); ++f)
            values[f] = source.valueAt(r, f);
        target.bulkAppend(std::move(values));
    }
    target.endBulkLoad();
    for (int f = 0; f < source.fieldCount(); ++f) {
        if (source.field(f)->dataType() != FieldType::DataSet)
            continue;
        for (int r = 0; r < source.recordCount(); ++r)
            if (TDataSet *from = source.nestedAt(r, f))
                if (TDataSet *to = target.nestedAt(r, f))
                    CopyRowsInto(*from, *to);
    }
}

static QCborArray DefsToCbor(const QList<FieldDef> &defs)
{
    QCborArray array;
    for (const FieldDef &def : defs) {
        QCborMap m;
        m[QStringLiteral("name")] = def.name;
        m[QStringLiteral("type")] = FieldTypeName(def.type);
        m[QStringLiteral("size")] = def.size;
        m[QStringLiteral("required")] = def.required;
        if (def.type == FieldType::DataSet)
            m[QStringLiteral("fields")] = DefsToCbor(def.children);
        array.append(m);
    }
    return array;
}

static QList<FieldDef> DefsFromCbor(const QCborArray &array)
{
    QList<FieldDef> defs;
    for (const QCborValue &v : array) {
        const QCborMap m = v.toMap();
        FieldDef def;
        def.name = m.value(QStringLiteral("name")).toString();
        if (def.name.isEmpty())
            throw AppError(QStringLiteral("数据文件中有无名字段。"));
        def.type = FieldTypeFromName(m.value(QStringLiteral("type")).toString());
        def.size = int(m.value(QStringLiteral("size")).toInteger());
        def.required = m.value(QStringLiteral("required")).toBool();
        if (def.type == FieldType::DataSet)
            def.children = DefsFromCbor(m.value(QStringLiteral("fields")).toArray());
        defs.append(def);
    }
    return defs;
}

static QCborValue ValueToCbor(const QVariant &v, FieldType type)
{
    if (v.isNull())
        return QCborValue(QCborValue::Null);
    switch (type) {
    case FieldType::Integer: return QCborValue(qint64(v.toLongLong()));
    case FieldType::Float:
    case FieldType::Currency: return QCborValue(v.toDouble());
    case FieldType::Boolean: return QCborValue(v.toBool());
    case FieldType::Date: return QCborValue(v.toDate().toString(Qt::ISODate));
    case FieldType::DateTime: return QCborValue(v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
    case FieldType::Blob: return QCborValue(v.toByteArray());
    default: return QCborValue(v.toString());
    }
}

static QVariant ValueFromCbor(const QCborValue &c, FieldType type)
{
    if (c.isNull() || c.isUndefined())
        return QVariant();
    switch (type) {
    case FieldType::Integer: return int(c.toInteger());
    case FieldType::Float:
    case FieldType::Currency: return c.isInteger() ? double(c.toInteger()) : c.toDouble();
    case FieldType::Boolean: return c.toBool();
    case FieldType::Date: return QDate::fromString(c.toString(), Qt::ISODate);
    case FieldType::DateTime: return ParseDateTimeText(c.toString());
    case FieldType::Blob: return c.toByteArray();
    default: return c.toString();
    }
}

static QCborArray RowsToCbor(const TDataSet &ds);

static QCborArray RowsToCbor(const TDataSet &ds)
{
    QCborArray rows;
    for (int r = 0; r < ds.recordCount(); ++r) {
        QCborArray row;
        for (int f = 0; f < ds.fieldCount(); ++f) {
            const FieldType type = ds.field(f)->dataType();
            if (type == FieldType::DataSet) {
                const TDataSet *child = ds.nestedAt(r, f);
                row.append(child ? RowsToCbor(*child) : QCborArray());
            } else {
                row.append(ValueToCbor(ds.valueAt(r, f), type));
            }
        }
        rows.append(row);
    }
    return rows;
}

static void RowsFromCbor(TDataSet &ds, const QCborArray &rows)
{
    ds.beginBulkLoad();
    for (const QCborValue &rv : rows) {
        const QCborArray row = rv.toArray();
        QVector<QVariant> values(ds.fieldCount());
        for (int f = 0; f < ds.fieldCount() && f < row.size(); ++f)
            if (ds.field(f)->dataType() != FieldType::DataSet)
                values[f] = ValueFromCbor(row.at(f), ds.field(f)->dataType());
        ds.bulkAppend(std::move(values));
    }
    ds.endBulkLoad();
    for (int f = 0; f < ds.fieldCount(); ++f) {
        if (ds.field(f)->dataType() != FieldType::DataSet)
            continue;
        for (int r = 0; r < ds.recordCount() && r < rows.size(); ++r)
            if (TDataSet *child = ds.nestedAt(r, f))
                RowsFromCbor(*child, rows.at(r).toArray().at(f).toArray());
    }
}

static const char kFileMagic[] = "QelvoDataSet";

QByteArray TDataSet::saveToBytes() const
{
    // The natural order with every record, whatever the current filter: a file holds the data.
    TDataSet all;
    all.setFieldDefs(m_defs);
    all.createDataSet();
    all.beginBulkLoad();
    for (const auto &row : m_rows) {
        QVector<QVariant> values = row->values;
        all.bulkAppend(std::move(values));
    }
    all.endBulkLoad();
    for (int f = 0; f < fieldCount(); ++f) {
        if (field(f)->dataType() != FieldType::DataSet)
            continue;
        for (size_t r = 0; r < m_rows.size(); ++r)
            if (!m_rows[r]->nested.empty() && m_rows[r]->nested[size_t(f)])
                if (TDataSet *to = all.nestedAt(int(r), f))
                    to->copyFrom(*m_rows[r]->nested[size_t(f)]);
    }
    QCborMap root;
    root[QStringLiteral("format")] = QString::fromLatin1(kFileMagic);
    root[QStringLiteral("version")] = 1;
    root[QStringLiteral("fields")] = DefsToCbor(m_defs);
    root[QStringLiteral("rows")] = RowsToCbor(all);
    return root.toCborValue().toCbor();
}

void TDataSet::loadFromBytes(const QByteArray &bytes)
{
    QCborParserError error;
    const QCborValue value = QCborValue::fromCbor(bytes, &error);
    if (error.error != QCborError::NoError || !value.isMap())
        throw AppError(QStringLiteral("数据文件已损坏或格式不正确！"));
    const QCborMap root = value.toMap();
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(kFileMagic))
        throw AppError(QStringLiteral("数据文件已损坏或格式不正确！"));
    const QList<FieldDef> defs = DefsFromCbor(root.value(QStringLiteral("fields")).toArray());
    setFieldDefs(defs);
    createDataSet();
    RowsFromCbor(*this, root.value(QStringLiteral("rows")).toArray());
}

void TDataSet::saveToFile(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("无法写入文件：") + path);
    file.write(saveToBytes());
    if (!file.commit())
        throw AppError(QStringLiteral("无法写入文件：") + path);
}

void TDataSet::loadFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("无法打开文件：") + path);
    try {
        loadFromBytes(file.readAll());
    } catch (const AppError &e) {
        throw AppError(e.message() + QStringLiteral("\r文件：") + path);
    }
}
