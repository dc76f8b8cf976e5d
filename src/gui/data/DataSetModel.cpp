#include "DataSetModel.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"

#include <QDate>
#include <QFont>
#include <cmath>

TDataSetModel::TDataSetModel(QObject *parent) : QAbstractTableModel(parent) {}

TDataSetModel::~TDataSetModel() { detach(); }

void TDataSetModel::detach()
{
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
}

void TDataSetModel::setDataSet(TDataSet *ds)
{
    beginResetModel();
    detach();
    m_ds = ds;
    m_rows = ds && ds->active() ? ds->recordCount() : 0;
    m_columns = ds && ds->active() ? ds->fieldCount() : 0;
    if (ds) {
        m_connections << connect(ds, &TDataSet::dataReset, this, &TDataSetModel::onReset)
                      << connect(ds, &TDataSet::rowChanged, this, &TDataSetModel::onRowChanged)
                      << connect(ds, &TDataSet::rowInserted, this, &TDataSetModel::onRowInserted)
                      << connect(ds, &TDataSet::rowRemoved, this, &TDataSetModel::onRowRemoved)
                      << connect(ds, &TDataSet::currentChanged, this, &TDataSetModel::currentRowChanged)
                      << connect(ds, &TDataSet::stateChanged, this, &TDataSetModel::editStateChanged)
                      << connect(ds, &QObject::destroyed, this, [this] {
                             beginResetModel();
                             m_connections.clear();
                             m_rows = m_columns = 0;
                             endResetModel();
                             Q_EMIT contentsChanged();
                         });
    }
    endResetModel();
    Q_EMIT contentsChanged();
}

TField *TDataSetModel::fieldAt(int column) const
{
    if (!m_ds || column < 0 || column >= m_columns || column >= m_ds->fieldCount())
        return nullptr;
    return m_ds->field(column);
}

void TDataSetModel::setCellStyleHook(CellStyleHook hook)
{
    m_styleHook = std::move(hook);
    if (m_rows > 0 && m_columns > 0)
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, m_columns - 1));
}

TCellStyle TDataSetModel::cellStyle(int row, int column) const
{
    TCellStyle style;
    if (m_styleHook)
        if (const TField *f = fieldAt(column))
            m_styleHook(row, *f, style);
    return style;
}

// ---------------------------------------------------------------------------------------------
// following the dataset: it reports after the fact, so the counts kept here are what the views
// were last told, and each notification moves them by exactly what it announces.

void TDataSetModel::onReset()
{
    beginResetModel();
    m_rows = m_ds && m_ds->active() ? m_ds->recordCount() : 0;
    m_columns = m_ds && m_ds->active() ? m_ds->fieldCount() : 0;
    endResetModel();
    Q_EMIT contentsChanged();
}

void TDataSetModel::onRowChanged(int row)
{
    if (row >= 0 && row < m_rows && m_columns > 0)
        Q_EMIT dataChanged(index(row, 0), index(row, m_columns - 1));
    Q_EMIT contentsChanged();
}

void TDataSetModel::onRowInserted(int row)
{
    beginInsertRows(QModelIndex(), row, row);
    ++m_rows;
    endInsertRows();
    Q_EMIT contentsChanged();
}

void TDataSetModel::onRowRemoved(int row)
{
    if (row < 0 || row >= m_rows)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    --m_rows;
    endRemoveRows();
    Q_EMIT contentsChanged();
}

// ---------------------------------------------------------------------------------------------

int TDataSetModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }

int TDataSetModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_columns; }

// The editor shows the value itself, never a rounded display format.
static QString EditText(const TField &f, const QVariant &v)
{
    if (v.isNull())
        return QString();
    switch (f.dataType()) {
    case FieldType::Float:
    case FieldType::Currency: {
        const double d = v.toDouble();
        if (d == std::floor(d) && std::fabs(d) < 1e15)
            return QString::number(qint64(d));
        return QString::number(d, 'g', 15);
    }
    case FieldType::DateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"));
    case FieldType::Date:
        return v.toDate().toString(QStringLiteral("yyyy.MM.dd"));
    default:
        return v.toString();
    }
}

QVariant TDataSetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return QVariant();
    const TField *f = fieldAt(index.column());
    if (!f)
        return QVariant();
    const bool boolean = f->dataType() == FieldType::Boolean;
    switch (role) {
    case Qt::DisplayRole: {
        if (boolean)
            return QVariant();
        const QVariant v = m_ds->valueAt(index.row(), index.column());
        return v.isNull() ? QVariant() : QVariant(f->displayTextOf(v));
    }
    case Qt::EditRole: {
        const QVariant v = m_ds->valueAt(index.row(), index.column());
        if (boolean || f->dataType() == FieldType::Date)
            return v;
        return EditText(*f, v);
    }
    case Qt::CheckStateRole:
        if (!boolean)
            return QVariant();
        return m_ds->valueAt(index.row(), index.column()).toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        if (f->isNumeric())
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (boolean)
            return QVariant(Qt::AlignCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole: {
        const TCellStyle s = cellStyle(index.row(), index.column());
        return s.background.isValid() ? QVariant(s.background) : QVariant();
    }
    case Qt::ForegroundRole: {
        const TCellStyle s = cellStyle(index.row(), index.column());
        return s.foreground.isValid() ? QVariant(s.foreground) : QVariant();
    }
    case Qt::FontRole: {
        if (!m_styleHook || !cellStyle(index.row(), index.column()).bold)
            return QVariant();
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::UserRole:
        return m_ds->valueAt(index.row(), index.column());
    default:
        return QVariant();
    }
}

bool TDataSetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    m_lastError.clear();
    if (!index.isValid() || index.row() >= m_rows || (role != Qt::EditRole && role != Qt::CheckStateRole))
        return false;
    TField *f = fieldAt(index.column());
    if (!f)
        return false;
    QVariant incoming = value;
    if (role == Qt::CheckStateRole)
        incoming = value.toInt() == Qt::Checked;
    try {
        // An unchanged value leaves the record alone: opening and closing an editor is no edit.
        const QVariant coerced = f->coerce(incoming);
        const QVariant current = m_ds->valueAt(index.row(), index.column());
        if (coerced.isNull() == current.isNull() && (coerced.isNull() || coerced == current))
            return true;
        m_ds->setValueAt(index.row(), index.column(), coerced);
        return true;
    } catch (const AbortError &) {
        m_lastError = QStringLiteral("aborted");
    } catch (const AppError &e) {
        m_lastError = e.message();
        ShowError(e.message());
    } catch (const std::exception &e) {
        m_lastError = QString::fromUtf8(e.what());
        ShowError(m_lastError);
    }
    return false;
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        if (const TField *f = fieldAt(section))
            return f->label();
    return QVariant();
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const TField *f = fieldAt(index.column());
    if (!f || !m_ds->canModify || f->readOnly || f->dataType() == FieldType::DataSet
        || f->dataType() == FieldType::Blob)
        return flags;
    if (f->dataType() == FieldType::Boolean)
        return flags | Qt::ItemIsUserCheckable;
    return flags | Qt::ItemIsEditable;
}
