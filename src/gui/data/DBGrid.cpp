#include "DBGrid.h"
#include "DBGridParts.h"
#include "shell/AppError.h"
#include "shell/Config.h"
#include "shell/MessageService.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QScrollBar>
#include <QSettings>
#include <QToolTip>
#include <cmath>

namespace {
QString &LayoutFileOverride()
{
    static QString path;
    return path;
}

constexpr int kMinFitWidth = 12;

QString FormatSum(const TField *field, double value)
{
    if (field && !field->displayFormat.isEmpty() && field->isNumeric())
        return field->displayTextOf(value);
    if (std::fabs(value - std::round(value)) < 1e-9 && std::fabs(value) < 1e15)
        return QString::number(qint64(std::llround(value)));
    QString text = QString::number(value, 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}
} // namespace

QString GridLayoutFile()
{
    if (!LayoutFileOverride().isEmpty())
        return LayoutFileOverride();
    // A per-machine file like EFCONFIG.TXT: beside the program, or in the user's folder when the
    // program folder is not writable.
    return AppDataPath() + QStringLiteral("vexafz.ini");
}

void SetGridLayoutFile(const QString &path) { LayoutFileOverride() = path; }

// ---------------------------------------------------------------------------------------------

TDBGrid::TDBGrid(QWidget *parent)
    : QTableView(parent), m_model(new TDataSetModel(this)), m_header(new TGridTitleHeader(this)),
      m_indicator(new TGridIndicator(this)), m_footer(new TGridFooter(this)), m_delegate(new TGridDelegate(this)),
      m_stripeColor(235, 243, 250)
{
    setHorizontalHeader(m_header);
    setVerticalHeader(m_indicator);
    setModel(m_model);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // No editing on a click into the current cell: its delay would swallow the keys typed
    // right after the click.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed
                    | QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    // Pixel scrolling lets the grid size its own viewport (the footer lies under it).
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_indicator->setDefaultSectionSize(fontMetrics().height() + 6);
    m_footer->hide();
    // The table view's own corner button is never placed by our geometry code and would sit
    // over the first titles as a stray white block; our corner takes its place.
    for (QAbstractButton *button : findChildren<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly))
        button->hide();
    auto *corner = new TGridCorner(this);
    corner->setObjectName(QStringLiteral("gridCorner"));

    connect(m_model, &QAbstractItemModel::modelReset, this, &TDBGrid::onModelReset);
    connect(m_model, &TDataSetModel::currentRowChanged, this, &TDBGrid::onDataSetCurrent);
    connect(m_model, &TDataSetModel::contentsChanged, this, &TDBGrid::onContentsChanged);
    connect(m_model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &tl, const QModelIndex &br) { sumRowsChanged(tl.row(), br.row()); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { sumRowsInserted(first, last); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int last) { sumRowsRemoved(first, last); });
    connect(m_model, &TDataSetModel::editStateChanged, this, [this] { m_indicator->viewport()->update(); });
    connect(m_header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (!m_fitting && size > 0 && !isColumnHidden(logical) && logical < columnCount())
            column(logical).width = size;
        m_footer->update();
    });
}

TDBGrid::~TDBGrid() = default;

void TDBGrid::setDataSet(TDataSet *ds)
{
    disconnect(m_touchConnection);
    if (ds)
        m_touchConnection = connect(ds, &TDataSet::rowChanged, this, [this, ds](int) {
            if (ds == dataSet() && m_gridAppended && ds->state() == TDataSet::State::Insert)
                m_appendedTouched = true;
        });
    m_gridAppended = false;
    m_model->setDataSet(ds);
    if (ds && ds->active())
        followDataSet();
}

TDataSet *TDBGrid::dataSet() const { return m_model->dataSet(); }

// ---------------------------------------------------------------------------------------------
// columns

int TDBGrid::columnCount() const { return m_model->columnCount(); }

int TDBGrid::columnOf(const QString &fieldName) const
{
    const TDataSet *ds = dataSet();
    if (!ds)
        return -1;
    const int index = ds->fieldIndex(fieldName);
    return index < columnCount() ? index : -1;
}

QString TDBGrid::columnFieldName(int column) const
{
    const TField *f = m_model->fieldAt(column);
    return f ? f->fieldName() : QString();
}

TField *TDBGrid::columnField(int column) const { return m_model->fieldAt(column); }

TGridColumn &TDBGrid::column(const QString &fieldName)
{
    auto it = m_columns.find(key(fieldName));
    if (it == m_columns.end()) {
        TGridColumn settings;
        if (const TDataSet *ds = dataSet())
            if (const TField *f = ds->findField(fieldName)) {
                settings.visible = f->visible;
                settings.width = defaultWidth(*f);
            }
        it = m_columns.insert(key(fieldName), settings);
    }
    return *it;
}

TGridColumn &TDBGrid::column(int index)
{
    const QString name = columnFieldName(index);
    if (name.isEmpty())
        throw AppError(QStringLiteral("表格没有第%1列！").arg(index + 1));
    return column(name);
}

const TGridColumn *TDBGrid::findColumn(int index) const
{
    auto it = m_columns.constFind(key(columnFieldName(index)));
    return it == m_columns.constEnd() ? nullptr : &*it;
}

int TDBGrid::defaultWidth(const TField &f) const
{
    if (f.displayWidth > 0)
        return f.displayWidth;
    const QFontMetrics fm = fontMetrics();
    const QString title = f.label();
    const int titleWidth = fm.horizontalAdvance(upperTitle(title).isEmpty() ? title : lowerTitle(title)) + 16;
    int typeWidth = 0;
    switch (f.dataType()) {
    case FieldType::String:
        typeWidth = fm.horizontalAdvance(QLatin1Char('0')) * std::clamp(f.size() > 0 ? f.size() : 10, 4, 24) + 8;
        break;
    case FieldType::Boolean: typeWidth = 40; break;
    case FieldType::Date: typeWidth = fm.horizontalAdvance(QStringLiteral("2000.00.00")) + 12; break;
    case FieldType::DateTime: typeWidth = fm.horizontalAdvance(QStringLiteral("2000.00.00 00:00:00")) + 12; break;
    default: typeWidth = fm.horizontalAdvance(QStringLiteral("0000000.00")) + 8; break;
    }
    return std::max(titleWidth, typeWidth);
}

void TDBGrid::ensureColumnSettings()
{
    for (int c = 0; c < columnCount(); ++c)
        column(c);
}

void TDBGrid::applyColumnSettings()
{
    ensureColumnSettings();
    int levels = 1;
    m_fitting = true;
    for (int c = 0; c < columnCount(); ++c) {
        const TGridColumn &settings = column(c);
        setColumnHidden(c, !settings.visible);
        if (settings.visible) {
            if (!m_autoFit)
                m_header->resizeSection(c, std::max(settings.width, 4));
            if (columnTitle(c).contains(QLatin1Char('|')))
                levels = 2;
        }
    }
    m_fitting = false;
    m_header->setLevels(levels);
    if (m_autoFit)
        fitColumnsToWidth();
    m_sumsDirty = true;
    m_header->viewport()->update();
    m_footer->update();
    updateGeometries();
}

void TDBGrid::refreshColumns() { applyColumnSettings(); }

QString TDBGrid::columnTitle(int index) const
{
    const TGridColumn *settings = findColumn(index);
    if (settings && !settings->title.isEmpty())
        return settings->title;
    const TField *f = columnField(index);
    return f ? f->label() : QString();
}

void TDBGrid::setColumnTitle(int index, const QString &title)
{
    column(index).title = title;
    applyColumnSettings();
}

bool TDBGrid::columnVisible(int index) const
{
    return index >= 0 && index < columnCount() && !isColumnHidden(index);
}

void TDBGrid::setColumnVisible(int index, bool visible)
{
    column(index).visible = visible;
    applyColumnSettings();
}

void TDBGrid::setColumnDesignWidth(int index, int width)
{
    column(index).width = width;
    applyColumnSettings();
}

bool TDBGrid::columnReadOnly(int index) const
{
    const TGridColumn *settings = findColumn(index);
    const TField *f = columnField(index);
    return (settings && settings->readOnly) || (f && f->readOnly);
}

void TDBGrid::setColumnReadOnly(int index, bool readOnly)
{
    column(index).readOnly = readOnly;
    viewport()->update();
}

void TDBGrid::setColumnHighlight(int index, bool on)
{
    column(index).highlight = on;
    viewport()->update();
}

void TDBGrid::setColumnButton(int index, bool on) { column(index).button = on; }

void TDBGrid::setColumnPickList(int index, const QStringList &values) { column(index).pickList = values; }

QList<int> TDBGrid::visibleColumns() const
{
    QList<int> list;
    for (int v = 0; v < m_header->count(); ++v) {
        const int logical = m_header->logicalIndex(v);
        if (logical >= 0 && !m_header->isSectionHidden(logical))
            list << logical;
    }
    return list;
}

int TDBGrid::firstVisibleColumn() const
{
    const QList<int> list = visibleColumns();
    return list.isEmpty() ? -1 : list.first();
}

QString TDBGrid::upperTitle(const QString &title)
{
    const int bar = title.indexOf(QLatin1Char('|'));
    return bar < 0 ? QString() : title.left(bar);
}

QString TDBGrid::lowerTitle(const QString &title)
{
    const int bar = title.indexOf(QLatin1Char('|'));
    return bar < 0 ? title : title.mid(bar + 1);
}

QPair<int, int> TDBGrid::bandRange(int index) const
{
    const int visual = m_header->visualIndex(index);
    const QString upper = upperTitle(columnTitle(index));
    if (upper.isEmpty() || visual < 0)
        return {visual, visual};
    auto sameBand = [&](int v) {
        const int logical = m_header->logicalIndex(v);
        return upperTitle(columnTitle(logical)) == upper;
    };
    int first = visual, last = visual;
    for (int v = visual - 1; v >= 0; --v) {
        if (m_header->isSectionHidden(m_header->logicalIndex(v)))
            continue;
        if (!sameBand(v))
            break;
        first = v;
    }
    for (int v = visual + 1; v < m_header->count(); ++v) {
        if (m_header->isSectionHidden(m_header->logicalIndex(v)))
            continue;
        if (!sameBand(v))
            break;
        last = v;
    }
    return {first, last};
}

// ---------------------------------------------------------------------------------------------
// footer

void TDBGrid::setFooter(int index, FooterKind kind, const QString &text)
{
    TGridColumn &settings = column(index);
    settings.footerKind = kind;
    settings.footerText = kind == FooterKind::Text ? text : QString();
    if (kind != FooterKind::None)
        setFooterVisible(true);
    m_sumsDirty = true;
    m_footer->update();
    Q_EMIT footerChanged();
}

void TDBGrid::clearFooters()
{
    for (TGridColumn &settings : m_columns) {
        settings.footerKind = FooterKind::None;
        settings.footerText.clear();
    }
    m_sumsDirty = true;
    m_footer->update();
    Q_EMIT footerChanged();
}

bool TDBGrid::footerVisible() const { return m_footerVisible; }

void TDBGrid::setFooterVisible(bool on)
{
    if (m_footerVisible == on)
        return;
    m_footerVisible = on;
    m_footer->setVisible(on);
    updateGeometries();
}

double TDBGrid::cellNumber(int row, int column) const
{
    const QVariant v = dataSet()->valueAt(row, column);
    return v.isNull() ? 0.0 : v.toDouble();
}

void TDBGrid::recomputeSums() const
{
    if (!m_sumsDirty)
        return;
    const int columns = columnCount();
    m_sums.fill(0.0, columns);
    m_sumCache.clear();
    m_sumCache.resize(columns);
    const TDataSet *ds = dataSet();
    if (ds && ds->active()) {
        const int rows = ds->recordCount();
        for (int c = 0; c < columns; ++c) {
            const TGridColumn *settings = findColumn(c);
            if (!settings || settings->footerKind != FooterKind::Sum)
                continue;
            QVector<double> &cache = m_sumCache[c];
            cache.resize(rows);
            double sum = 0.0;
            for (int r = 0; r < rows; ++r) {
                cache[r] = cellNumber(r, c);
                sum += cache[r];
            }
            m_sums[c] = sum;
        }
    }
    m_sumsDirty = false;
}

void TDBGrid::sumRowsChanged(int first, int last)
{
    if (m_sumsDirty)
        return;
    for (int c = 0; c < m_sumCache.size(); ++c) {
        QVector<double> &cache = m_sumCache[c];
        if (cache.isEmpty())
            continue;
        for (int r = first; r <= last && r < cache.size(); ++r) {
            const double v = cellNumber(r, c);
            m_sums[c] += v - cache[r];
            cache[r] = v;
        }
    }
}

void TDBGrid::sumRowsInserted(int first, int last)
{
    if (m_sumsDirty)
        return;
    for (int c = 0; c < m_sumCache.size(); ++c) {
        QVector<double> &cache = m_sumCache[c];
        const TGridColumn *settings = findColumn(c);
        if (!settings || settings->footerKind != FooterKind::Sum)
            continue;
        for (int r = first; r <= last; ++r) {
            const double v = cellNumber(r, c);
            cache.insert(r, v);
            m_sums[c] += v;
        }
    }
}

void TDBGrid::sumRowsRemoved(int first, int last)
{
    if (m_sumsDirty)
        return;
    for (int c = 0; c < m_sumCache.size(); ++c) {
        QVector<double> &cache = m_sumCache[c];
        if (cache.isEmpty() || last >= cache.size())
            continue;
        for (int r = first; r <= last; ++r)
            m_sums[c] -= cache.at(r);
        cache.remove(first, last - first + 1);
    }
}

double TDBGrid::footerSum(int index) const
{
    recomputeSums();
    return index >= 0 && index < m_sums.size() ? m_sums.at(index) : 0.0;
}

QString TDBGrid::footerText(int index) const
{
    const TGridColumn *settings = findColumn(index);
    if (!settings)
        return QString();
    switch (settings->footerKind) {
    case FooterKind::Sum:
        return FormatSum(columnField(index), footerSum(index));
    case FooterKind::Text:
        return settings->footerText;
    case FooterKind::None:
        break;
    }
    return QString();
}

void TDBGrid::onContentsChanged()
{
    if (m_footerVisible)
        m_footer->update();
    m_indicator->viewport()->update();
}

// ---------------------------------------------------------------------------------------------
// sort markers

void TDBGrid::setTitleButtons(bool on) { m_titleButtons = on; }

SortMarker TDBGrid::sortMarker(int index) const
{
    const TGridColumn *settings = findColumn(index);
    return settings ? settings->sortMarker : SortMarker::None;
}

void TDBGrid::setSortMarker(int index, SortMarker marker, bool keepOthers)
{
    const QString k = key(columnFieldName(index));
    if (k.isEmpty())
        return;
    if (!keepOthers) {
        for (const QString &other : std::as_const(m_markOrder))
            if (other != k)
                m_columns[other].sortMarker = SortMarker::None;
        m_markOrder.removeIf([&](const QString &o) { return o != k; });
    }
    column(index).sortMarker = marker;
    if (marker == SortMarker::None)
        m_markOrder.removeAll(k);
    else if (!m_markOrder.contains(k))
        m_markOrder << k;
    markersChanged();
}

void TDBGrid::clearSortMarkers()
{
    for (const QString &k : std::as_const(m_markOrder))
        m_columns[k].sortMarker = SortMarker::None;
    m_markOrder.clear();
    markersChanged();
}

TSortMarkers TDBGrid::sortMarkers() const
{
    TSortMarkers list;
    const TDataSet *ds = dataSet();
    for (const QString &k : m_markOrder) {
        const TField *f = ds ? ds->findField(k) : nullptr;
        TSortMarkerEntry entry;
        entry.fieldName = f ? f->fieldName() : k;
        entry.marker = m_columns.value(k).sortMarker;
        list << entry;
    }
    return list;
}

int TDBGrid::sortMarkerOrder(int index) const
{
    return int(m_markOrder.indexOf(key(columnFieldName(index)))) + 1;
}

void TDBGrid::titleClicked(int index, Qt::KeyboardModifiers modifiers)
{
    if (!m_titleButtons || index < 0 || index >= columnCount())
        return;
    const SortMarker current = sortMarker(index);
    if (modifiers & Qt::ControlModifier) {
        const SortMarker next = current == SortMarker::None ? SortMarker::Up
                                : current == SortMarker::Up ? SortMarker::Down
                                                            : SortMarker::None;
        setSortMarker(index, next, true);
    } else {
        const bool alone = m_markOrder.size() == 1 && m_markOrder.first() == key(columnFieldName(index));
        setSortMarker(index, alone && current == SortMarker::Up ? SortMarker::Down : SortMarker::Up, false);
    }
}

void TDBGrid::markersChanged()
{
    m_header->viewport()->update();
    // A window that handles the markers sorts by its own reading of them; sorting here as well
    // would only sort twice.
    static const QMetaMethod handled = QMetaMethod::fromSignal(&TDBGrid::sortMarkingChanged);
    if (m_sortLocal && !isSignalConnected(handled) && dataSet() && dataSet()->active()) {
        TDataSet *ds = dataSet();
        RunGuarded([&] { SortAdoByMarkers(sortMarkers(), *ds); });
    }
    Q_EMIT sortMarkingChanged();
}

// ---------------------------------------------------------------------------------------------
// appearance

void TDBGrid::setStripeColor(const QColor &color)
{
    m_stripeColor = color;
    viewport()->update();
}

QColor TDBGrid::highlightColor() const { return palette().color(QPalette::ToolTipBase); }

void TDBGrid::setCellStyleHook(TDataSetModel::CellStyleHook hook) { m_model->setCellStyleHook(std::move(hook)); }

QColor TDBGrid::cellBackground(const QModelIndex &index) const
{
    if (index == currentIndex())
        return selectedCellColor();
    const QVariant hooked = index.data(Qt::BackgroundRole);
    if (hooked.isValid())
        return hooked.value<QColor>();
    const TGridColumn *settings = findColumn(index.column());
    if (columnReadOnly(index.column()) || (settings && settings->highlight))
        return highlightColor();
    // Record numbers count from 1: the 2nd, 4th ... records carry the stripe.
    if (m_stripeColor.isValid() && (index.row() + 1) % 2 == 0)
        return m_stripeColor;
    return palette().color(QPalette::Base);
}

QColor TDBGrid::cellForeground(const QModelIndex &index) const
{
    if (index == currentIndex())
        return Qt::white;
    const QVariant hooked = index.data(Qt::ForegroundRole);
    if (hooked.isValid())
        return hooked.value<QColor>();
    return palette().color(QPalette::Text);
}

// ---------------------------------------------------------------------------------------------
// behaviour

void TDBGrid::setReadOnly(bool on)
{
    m_readOnly = on;
    if (on && state() == QAbstractItemView::EditingState)
        if (QWidget *editor = indexWidget(currentIndex()))
            closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool TDBGrid::cellEditable(const QModelIndex &index) const
{
    const TDataSet *ds = dataSet();
    const TField *f = columnField(index.column());
    if (!index.isValid() || m_readOnly || !ds || !ds->active() || !ds->canModify || !f)
        return false;
    if (columnReadOnly(index.column()) || f->dataType() == FieldType::Blob || f->dataType() == FieldType::DataSet)
        return false;
    return true;
}

bool TDBGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (trigger != QAbstractItemView::NoEditTriggers && trigger != QAbstractItemView::CurrentChanged
        && !cellEditable(index))
        return false;
    return QTableView::edit(index, trigger, event);
}

void TDBGrid::onModelReset()
{
    m_sumsDirty = true;
    if (m_gridAppended && (!dataSet() || dataSet()->state() != TDataSet::State::Insert))
        m_gridAppended = false;
    applyColumnSettings();
}

void TDBGrid::followDataSet()
{
    const TDataSet *ds = dataSet();
    if (!ds || !ds->active())
        return;
    const int row = ds->recNo() - 1;
    const QModelIndex current = currentIndex();
    if (row < 0 || row >= m_model->rowCount()) {
        m_indicator->viewport()->update();
        return;
    }
    if (current.isValid() && current.row() == row)
        return;
    int col = current.isValid() ? current.column() : -1;
    if (col < 0 || isColumnHidden(col))
        col = firstVisibleColumn();
    if (col < 0)
        col = 0;
    const bool was = m_following;
    m_following = true;
    selectionModel()->setCurrentIndex(m_model->index(row, col), QItemSelectionModel::ClearAndSelect);
    m_following = was;
    m_indicator->viewport()->update();
}

void TDBGrid::onDataSetCurrent(int)
{
    if (m_moving)
        return;
    followDataSet();
}

bool TDBGrid::moveToRow(int row)
{
    TDataSet *ds = dataSet();
    if (!ds || !ds->active())
        return true;
    const int dsRow = ds->recNo() - 1;
    if (row == dsRow)
        return true;
    return RunGuarded([&] {
        // A blank record the grid appended and nobody typed into goes away again when left.
        if (ds->state() == TDataSet::State::Insert && m_gridAppended && !m_appendedTouched) {
            m_gridAppended = false;
            ds->cancel();
            if (row > dsRow)
                --row;
        }
        m_gridAppended = false;
        if (row >= 0 && row < ds->recordCount())
            ds->setRecNo(row + 1); // posts the record being left
    });
}

void TDBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    m_indicator->viewport()->update();
    if (m_following || m_moving || !current.isValid())
        return;
    m_moving = true;
    moveToRow(current.row());
    m_moving = false;
    followDataSet();
}

void TDBGrid::appendRecordAndEdit()
{
    TDataSet *ds = dataSet();
    if (!ds || !ds->active())
        return;
    if (ds->state() == TDataSet::State::Insert && m_gridAppended && !m_appendedTouched)
        return; // already on a fresh line
    const int col = currentIndex().isValid() ? currentIndex().column() : firstVisibleColumn();
    const bool ok = RunGuarded([&] {
        ds->checkBrowseMode();
        ds->append();
    });
    if (!ok)
        return;
    m_gridAppended = true;
    m_appendedTouched = false;
    followDataSet();
    // Start the new line in its first editable column.
    for (int c : visibleColumns()) {
        const QModelIndex idx = m_model->index(ds->recNo() - 1, c);
        if (cellEditable(idx)) {
            setCurrentIndex(idx);
            return;
        }
    }
    if (col >= 0)
        setCurrentIndex(m_model->index(ds->recNo() - 1, col));
}

void TDBGrid::moveToNextColumn(bool forward)
{
    const QList<int> columns = visibleColumns();
    if (columns.isEmpty() || m_model->rowCount() == 0)
        return;
    QModelIndex current = currentIndex();
    if (!current.isValid()) {
        setCurrentIndex(m_model->index(0, columns.first()));
        return;
    }
    bool anyEditable = false;
    for (int c : columns)
        anyEditable = anyEditable || cellEditable(m_model->index(current.row(), c));
    auto target = [&](int row, int c) { return !anyEditable || cellEditable(m_model->index(row, c)); };

    const int pos = int(columns.indexOf(current.column()));
    const int row = current.row();
    if (forward) {
        for (int i = pos + 1; i < columns.size(); ++i)
            if (target(row, columns.at(i))) {
                setCurrentIndex(m_model->index(row, columns.at(i)));
                return;
            }
        if (row + 1 < m_model->rowCount()) {
            for (int c : columns)
                if (target(row + 1, c)) {
                    setCurrentIndex(m_model->index(row + 1, c));
                    return;
                }
            return;
        }
        if (m_autoAppend && anyEditable)
            appendRecordAndEdit();
        return;
    }
    for (int i = pos - 1; i >= 0; --i)
        if (target(row, columns.at(i))) {
            setCurrentIndex(m_model->index(row, columns.at(i)));
            return;
        }
    if (row > 0)
        for (int i = int(columns.size()) - 1; i >= 0; --i)
            if (target(row - 1, columns.at(i))) {
                setCurrentIndex(m_model->index(row - 1, columns.at(i)));
                return;
            }
}

void TDBGrid::afterEditorKey(int key, Qt::KeyboardModifiers)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        moveToNextColumn(true);
        break;
    case Qt::Key_Backtab:
        moveToNextColumn(false);
        break;
    default: {
        // Up, Down and the page keys leave the cell as they would in browsing.
        QKeyEvent again(QEvent::KeyPress, key, Qt::NoModifier);
        keyPressEvent(&again);
        break;
    }
    }
}

void TDBGrid::keyPressEvent(QKeyEvent *event)
{
    TDataSet *ds = dataSet();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const QModelIndex current = currentIndex();
    const bool canAppend = m_autoAppend && !m_readOnly && ds && ds->active() && ds->canModify;
    // A list that selects whole rows is for picking a record, as in a dialog's list: Enter
    // acts on the row (the dialog's default button) and Tab moves on to the other controls.
    if (selectionBehavior() == SelectRows && !editorOpen()) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (current.isValid())
                Q_EMIT activated(current);
            event->ignore();
            return;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            event->ignore();
            return;
        default:
            break;
        }
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ctrl && current.isValid()) {
            const TGridColumn *settings = findColumn(current.column());
            if (settings && settings->button) {
                Q_EMIT editButtonClicked(current.row(), columnFieldName(current.column()));
                return;
            }
        }
        moveToNextColumn(true);
        return;
    case Qt::Key_Tab:
        if (ctrl) {
            // Tab moves from cell to cell; Ctrl+Tab is the way out to the window's buttons.
            QAbstractScrollArea::focusNextPrevChild(!(event->modifiers() & Qt::ShiftModifier));
            return;
        }
        moveToNextColumn(true);
        return;
    case Qt::Key_C:
    case Qt::Key_Insert:
        if (ctrl && current.isValid()) {
            QGuiApplication::clipboard()->setText(current.data().toString());
            return;
        }
        if (event->key() == Qt::Key_C)
            break;
        if (m_allowInsert && !m_readOnly && ds && ds->active() && ds->canModify && event->modifiers() == Qt::NoModifier) {
            if (RunGuarded([&] {
                    ds->checkBrowseMode();
                    ds->insert();
                })) {
                m_gridAppended = true;
                m_appendedTouched = false;
                followDataSet();
            }
            return;
        }
        break;
    case Qt::Key_Backtab:
        if (ctrl) {
            QAbstractScrollArea::focusNextPrevChild(false);
            return;
        }
        moveToNextColumn(false);
        return;
    case Qt::Key_Escape:
        if (ds && ds->isEditing()) {
            RunGuarded([&] { ds->cancel(); });
            m_gridAppended = false;
            followDataSet();
            return;
        }
        break;
    case Qt::Key_Down:
        if (canAppend && !ctrl && (m_model->rowCount() == 0 || (current.isValid() && current.row() == m_model->rowCount() - 1))) {
            appendRecordAndEdit();
            return;
        }
        break;
    case Qt::Key_Delete:
        if (ctrl && m_allowDelete && !m_readOnly && ds) {
            RunGuarded([&] { DeleteWithConfirm(*ds); }); // a window's before-delete may abandon it
            followDataSet();
            return;
        }
        break;
    default:
        // Typing into an empty grid that may grow starts its first record.
        if (m_model->rowCount() == 0 && canAppend && !event->text().isEmpty() && event->text().at(0).isPrint()) {
            appendRecordAndEdit();
            if (currentIndex().isValid())
                edit(currentIndex(), QAbstractItemView::AnyKeyPressed, event);
            return;
        }
        break;
    }
    QTableView::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------------
// geometry: headers, indicator, footer and the scroll ranges around a viewport that leaves
// room for the footer

void TDBGrid::updateGeometries()
{
    if (m_inGeometry)
        return;
    m_inGeometry = true;
    const bool vHidden = verticalHeader()->isHidden();
    const bool hHidden = horizontalHeader()->isHidden();
    const int left = vHidden ? 0 : std::clamp(verticalHeader()->sizeHint().width(), verticalHeader()->minimumWidth(),
                                              verticalHeader()->maximumWidth());
    const int top = hHidden ? 0 : std::clamp(horizontalHeader()->sizeHint().height(),
                                             horizontalHeader()->minimumHeight(), horizontalHeader()->maximumHeight());
    const int bottom = m_footerVisible ? m_footer->footerHeight() : 0;
    setViewportMargins(left, top, 0, bottom);

    const QRect vg = viewport()->geometry();
    verticalHeader()->setGeometry(vg.left() - left, vg.top(), left, vg.height());
    horizontalHeader()->setGeometry(vg.left(), vg.top() - top, vg.width(), top);
    if (auto *corner = findChild<TGridCorner *>(QStringLiteral("gridCorner"), Qt::FindDirectChildrenOnly)) {
        corner->setGeometry(vg.left() - left, vg.top() - top, left, top);
        corner->setVisible(left > 0 && top > 0);
    }
    if (m_footerVisible) {
        m_footer->setGeometry(vg.left() - left, vg.bottom() + 1, vg.width() + left, bottom);
        m_footer->raise();
    }

    QSize size = viewport()->size();
    const QSize max = maximumViewportSize();
    const int hLength = horizontalHeader()->length();
    const int vLength = verticalHeader()->length();
    if (max.width() >= hLength && max.height() >= vLength)
        size = max;
    const int rowStep = std::max(1, verticalHeader()->defaultSectionSize());
    verticalScrollBar()->setSingleStep(rowStep);
    verticalScrollBar()->setPageStep(std::max(rowStep, size.height() - rowStep));
    verticalScrollBar()->setRange(0, std::max(0, vLength - size.height()));
    horizontalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setPageStep(size.width());
    horizontalScrollBar()->setRange(0, std::max(0, hLength - size.width()));

    QAbstractItemView::updateGeometries();
    m_inGeometry = false;

    if (m_autoFit && !m_fitting && viewport()->width() != m_lastFitWidth)
        fitColumnsToWidth();
}

void TDBGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    if (m_autoFit)
        fitColumnsToWidth();
}

void TDBGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (dx != 0 && m_footerVisible)
        m_footer->update();
}

QSize TDBGrid::minimumSizeHint() const { return QSize(120, 80); }

bool TDBGrid::viewportEvent(QEvent *event)
{
    // A text cut off by its column shows whole in a tool tip.
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QModelIndex index = indexAt(help->pos());
        const QString text = index.data().toString();
        if (index.isValid() && fontMetrics().horizontalAdvance(text) > visualRect(index).width() - 6)
            QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QTableView::viewportEvent(event);
}

// ---------------------------------------------------------------------------------------------
// widths

void TDBGrid::setAutoFitColWidths(bool on)
{
    m_autoFit = on;
    m_lastFitWidth = -1;
    if (on)
        fitColumnsToWidth();
    else
        applyColumnSettings();
}

void TDBGrid::fitColumnsToWidth()
{
    const QList<int> columns = visibleColumns();
    const int available = viewport()->width();
    if (columns.isEmpty() || available <= 0)
        return;
    double total = 0;
    for (int c : columns)
        total += std::max(column(c).width, kMinFitWidth);
    m_fitting = true;
    int used = 0;
    for (int i = 0; i < columns.size(); ++i) {
        const int design = std::max(column(columns.at(i)).width, kMinFitWidth);
        int width = i + 1 == columns.size() ? available - used : int(std::lround(design * available / total));
        width = std::max(width, kMinFitWidth);
        m_header->resizeSection(columns.at(i), width);
        used += width;
    }
    m_fitting = false;
    m_lastFitWidth = available;
    m_footer->update();
}

void TDBGrid::saveColumnWidths(const QString &key) const
{
    QSettings settings(GridLayoutFile(), QSettings::IniFormat);
    settings.beginGroup(key);
    for (int c = 0; c < columnCount(); ++c) {
        const QString name = columnFieldName(c);
        const TGridColumn *col = findColumn(c);
        const int width = !isColumnHidden(c) ? m_header->sectionSize(c) : (col ? col->width : columnWidth(c));
        settings.setValue(name, width);
    }
    settings.endGroup();
    settings.sync();
}

void TDBGrid::restoreColumnWidths(const QString &key)
{
    QSettings settings(GridLayoutFile(), QSettings::IniFormat);
    settings.beginGroup(key);
    bool any = false;
    for (int c = 0; c < columnCount(); ++c) {
        const QString name = columnFieldName(c);
        bool ok = false;
        const int width = settings.value(name).toInt(&ok);
        if (ok && width > 0) {
            column(c).width = width;
            any = true;
        }
    }
    settings.endGroup();
    if (any)
        applyColumnSettings();
}
