#pragma once
#include "DataSetModel.h"
#include "data/DataSetHelpers.h"
#include <QColor>
#include <QHash>
#include <QTableView>
#include <QVector>

class TGridTitleHeader;
class TGridIndicator;
class TGridFooter;
class TGridDelegate;

enum class FooterKind { None, Sum, Text };

// What the grid knows about one column beyond its field. Kept by field name, so a dataset that
// is reopened with the same fields keeps its titles, widths and markers.
struct TGridColumn {
    QString title;              // empty: the field's label; "upper|lower" gives two levels
    int width = 64;             // design width in pixels (auto-fit scales from it)
    bool visible = true;
    bool readOnly = false;      // painted in the tool-tip background colour
    bool highlight = false;     // likewise, for columns that only stand out
    bool button = false;        // editor with an ellipsis button
    QStringList pickList;       // drop-down editor with these values (empty: the field's list)
    FooterKind footerKind = FooterKind::None;
    QString footerText;
    SortMarker sortMarker = SortMarker::None;
};

// The data grid of every list, bill and report window (windows name it DBGridEh1).
//
// Titles: a caption "尺码|S" is drawn in two levels; adjacent columns that share the upper text
// get one band over them. Title clicks (with title buttons on) set sort markers: a click marks
// that column alone (first up, then toggling up/down); Ctrl+click adds the column to the marked
// ones, and a further Ctrl+click cycles it up, down and off. sortMarkingChanged() follows each
// change. With sortLocal on and no window handling sortMarkingChanged, the grid sorts its
// dataset itself (up ascending, down descending).
//
// Keys: typing starts editing; Enter and Tab commit and move to the next editable column, then
// to the next row (appending a record at the end when autoAppend is on); Shift+Tab goes back;
// Ctrl+Tab and Ctrl+Shift+Tab leave the grid for the window's other controls;
// Esc cancels the cell, a second Esc the record; Down on the last row appends (autoAppend);
// Insert inserts and Ctrl+Delete deletes with a confirmation (allowInsert / allowDelete);
// Ctrl+Enter presses a column's ellipsis button; Ctrl+C copies the current cell's text. Leaving
// a row posts it. A grid that selects whole rows (a list to pick from) leaves Enter to the
// window's default button after emitting activated(), and Tab to the focus chain.
class TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget *parent = nullptr);
    ~TDBGrid() override;

    void setDataSet(TDataSet *ds);
    TDataSet *dataSet() const;
    TDataSetModel *dataModel() const { return m_model; }

    // --- columns (one per field, in field order) -----------------------------------------------
    int columnCount() const;
    int columnOf(const QString &fieldName) const;        // -1 when there is no such field
    QString columnFieldName(int column) const;
    TField *columnField(int column) const;
    // The settings of a column; call refreshColumns() after changing several directly.
    TGridColumn &column(int column);
    TGridColumn &column(const QString &fieldName);
    const TGridColumn *findColumn(int column) const;
    void refreshColumns();

    QString columnTitle(int column) const;
    void setColumnTitle(int column, const QString &title);
    bool columnVisible(int column) const;
    void setColumnVisible(int column, bool visible);
    void setColumnDesignWidth(int column, int width);
    bool columnReadOnly(int column) const;   // the column's or its field's flag
    void setColumnReadOnly(int column, bool readOnly);
    void setColumnHighlight(int column, bool on);
    void setColumnButton(int column, bool on);
    void setColumnPickList(int column, const QStringList &values);
    // Visible columns in display order.
    QList<int> visibleColumns() const;
    int firstVisibleColumn() const;

    // --- title levels -----------------------------------------------------------------------------
    static QString upperTitle(const QString &title);   // "" for a one-level title
    static QString lowerTitle(const QString &title);
    // The visible columns drawn under the same band as the given one (itself when it has no band).
    QPair<int, int> bandRange(int column) const;       // first and last visual index

    // --- footer ---------------------------------------------------------------------------------------
    void setFooter(int column, FooterKind kind, const QString &text = QString());
    void clearFooters();
    bool footerVisible() const;
    void setFooterVisible(bool on);
    // What the footer shows in a column: a sum as text, the fixed text, or "".
    QString footerText(int column) const;
    double footerSum(int column) const;

    // --- sort markers -----------------------------------------------------------------------------
    bool titleButtons() const { return m_titleButtons; }
    void setTitleButtons(bool on);
    bool sortLocal() const { return m_sortLocal; }
    void setSortLocal(bool on) { m_sortLocal = on; }
    SortMarker sortMarker(int column) const;
    // Marks a column; without keepOthers every other marker is cleared.
    void setSortMarker(int column, SortMarker marker, bool keepOthers = false);
    void clearSortMarkers();
    TSortMarkers sortMarkers() const;   // in marking order
    int sortMarkerOrder(int column) const; // 1-based position among the marked, 0 when unmarked
    // What a title click does (public so that windows and tests can trigger it).
    void titleClicked(int column, Qt::KeyboardModifiers modifiers);

    // --- appearance -------------------------------------------------------------------------------
    QColor stripeColor() const { return m_stripeColor; }
    void setStripeColor(const QColor &color);   // invalid: no stripes
    QColor highlightColor() const;              // the tool-tip background colour
    static QColor selectedCellColor() { return QColor(128, 128, 128); }
    void setCellStyleHook(TDataSetModel::CellStyleHook hook);
    // The background a cell is painted with (stripes, highlight, hook, selection).
    QColor cellBackground(const QModelIndex &index) const;
    QColor cellForeground(const QModelIndex &index) const;

    // --- behaviour --------------------------------------------------------------------------------
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool on);
    bool autoAppend() const { return m_autoAppend; }
    void setAutoAppend(bool on) { m_autoAppend = on; }
    bool allowInsert() const { return m_allowInsert; }
    void setAllowInsert(bool on) { m_allowInsert = on; }
    bool allowDelete() const { return m_allowDelete; }
    void setAllowDelete(bool on) { m_allowDelete = on; }

    // --- widths -----------------------------------------------------------------------------------
    bool autoFitColWidths() const { return m_autoFit; }
    void setAutoFitColWidths(bool on);
    void fitColumnsToWidth();
    // Column widths in the grid-layout file, under a key of the window's choosing.
    void saveColumnWidths(const QString &key) const;
    void restoreColumnWidths(const QString &key);

    // A cell editor is open.
    bool editorOpen() const { return state() == QAbstractItemView::EditingState; }
    // Moves to the next (or previous) editable column as Enter and Tab do.
    void moveToNextColumn(bool forward = true);

    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void sortMarkingChanged();
    // The ellipsis button of a cell was pressed (row is the view row).
    void editButtonClicked(int row, const QString &fieldName);
    void footerChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void updateGeometries() override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent *event) override;

private:
    friend class TGridDelegate;
    friend class TGridFooter;
    friend class TGridTitleHeader;
    void onModelReset();
    void onDataSetCurrent(int row);
    void onContentsChanged();
    void applyColumnSettings();
    void ensureColumnSettings();
    int defaultWidth(const TField &f) const;
    void followDataSet();
    bool moveToRow(int row);
    bool cellEditable(const QModelIndex &index) const;
    void afterEditorKey(int key, Qt::KeyboardModifiers modifiers);
    void appendRecordAndEdit();
    void recomputeSums() const;
    double cellNumber(int row, int column) const;
    void sumRowsChanged(int first, int last);
    void sumRowsInserted(int first, int last);
    void sumRowsRemoved(int first, int last);
    void markersChanged();
    QString key(const QString &fieldName) const { return fieldName.toLower(); }

    TDataSetModel *m_model;
    TGridTitleHeader *m_header;
    TGridIndicator *m_indicator;
    TGridFooter *m_footer;
    TGridDelegate *m_delegate;
    QHash<QString, TGridColumn> m_columns;
    QStringList m_markOrder;           // keys of marked columns in marking order
    mutable QVector<double> m_sums;
    // Each summed column's values by view row, so that an edit, insert or delete moves its sum
    // by the difference instead of adding up every row again.
    mutable QVector<QVector<double>> m_sumCache;
    mutable bool m_sumsDirty = true;
    QColor m_stripeColor;
    bool m_titleButtons = false;
    bool m_sortLocal = false;
    bool m_readOnly = false;
    bool m_autoAppend = false;
    bool m_allowInsert = false;
    bool m_allowDelete = false;
    bool m_autoFit = false;
    bool m_fitting = false;
    bool m_following = false;          // moving the view to the dataset's record
    bool m_moving = false;             // moving the dataset to the view's row
    bool m_gridAppended = false;       // the pending insert was started by the grid
    bool m_appendedTouched = false;    // and has been typed into since
    bool m_footerVisible = false;
    bool m_inGeometry = false;
    int m_lastFitWidth = -1;
    QMetaObject::Connection m_touchConnection;
};

// The grid-layout file (column widths of every window): "vexafz.ini" among the per-machine files
// (AppDataPath()) unless set otherwise.
QString GridLayoutFile();
void SetGridLayoutFile(const QString &path);
