#pragma once
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

// The in-memory dataset: every list, bill line set, report and exchange file of the system
// works on one of these. Typed fields with nulls, a current record, browse/edit/insert states,
// business events, a change log, sorting, filtering, bookmarks, nested datasets and a file form.
// A database-backed dataset is the same class with a resolver that writes posted rows back.

enum class FieldType { String, Integer, Float, Currency, Boolean, Date, DateTime, Blob, DataSet };

bool IsNumericFieldType(FieldType type);
QString FieldTypeName(FieldType type);

struct FieldDef {
    QString name;
    FieldType type = FieldType::String;
    int size = 0;           // string length; 0 for other types
    bool required = false;
    QList<FieldDef> children; // the structure of a nested dataset field

    FieldDef() = default;
    FieldDef(QString n, FieldType t, int s = 0, bool r = false)
        : name(std::move(n)), type(t), size(s), required(r) {}
};

class TDataSet;
class TField;

// A read-only view of one stored record, handed to filters and comparison helpers.
class TRecordView {
public:
    TRecordView(const TDataSet *dataSet, const void *row) : m_ds(dataSet), m_row(row) {}
    QVariant value(int fieldIndex) const;
    QVariant value(const QString &fieldName) const;

private:
    const TDataSet *m_ds;
    const void *m_row;
};

class TField {
public:
    const QString &fieldName() const { return m_def.name; }
    FieldType dataType() const { return m_def.type; }
    int size() const { return m_def.size; }
    int index() const { return m_index; }
    const FieldDef &def() const { return m_def; }
    TDataSet *dataSet() const { return m_ds; }
    bool isNumeric() const { return IsNumericFieldType(m_def.type); }

    // Presentation and editing attributes (grids read them).
    QString displayLabel;     // empty: the field name
    int displayWidth = 0;     // pixels; 0: the grid decides
    bool visible = true;
    bool readOnly = false;
    bool required = false;
    QString displayFormat;    // numbers: e.g. "0.00"; dates: a QDate format
    QStringList pickList;     // values offered by a drop-down editor

    // Called after a value was stored in the current record.
    std::function<void(TField &)> onChange;
    // Called before a value is stored; throw (AppError or AbortError) to refuse it.
    std::function<void(TField &, const QVariant &)> onValidate;

    QVariant value() const;
    void setValue(const QVariant &value);
    bool isNull() const;
    void clear();

    QString asString() const;
    void setAsString(const QString &text);
    int asInteger() const;
    void setAsInteger(int value) { setValue(value); }
    double asFloat() const;
    void setAsFloat(double value) { setValue(value); }
    bool asBoolean() const;
    void setAsBoolean(bool value) { setValue(value); }
    QDate asDate() const;
    QDateTime asDateTime() const;
    QByteArray asBytes() const;
    QString displayText() const;
    // The display text this field would give a stored value (grids read rows other than the current).
    QString displayTextOf(const QVariant &value) const;
    QString label() const { return displayLabel.isEmpty() ? m_def.name : displayLabel; }

    // The nested dataset of the current record (nested fields only; nullptr otherwise).
    TDataSet *nested() const;

    // Converts a value to this field's type; an unconvertible value throws AppError.
    QVariant coerce(const QVariant &value) const;

private:
    friend class TDataSet;
    TField(TDataSet *ds, FieldDef def, int index) : m_ds(ds), m_def(std::move(def)), m_index(index) {}
    TDataSet *m_ds;
    FieldDef m_def;
    int m_index;
};

// Writes posted and deleted records back to where the dataset came from (a database table).
// A failure throws; the dataset then keeps its state, as a failed post must.
class IRecordResolver {
public:
    virtual ~IRecordResolver() = default;
    virtual void applyInsert(const TDataSet &ds, const QVector<QVariant> &values) = 0;
    virtual void applyUpdate(const TDataSet &ds, const QVector<QVariant> &values,
                             const QVector<QVariant> &original) = 0;
    virtual void applyDelete(const TDataSet &ds, const QVector<QVariant> &original) = 0;
};

class TDataSet : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class UpdateStatus { Unmodified, Modified, Inserted };
    using Bookmark = qint64; // 0: no bookmark

    struct SortField {
        QString field;
        bool descending = false;
        bool caseInsensitive = false;
    };

    explicit TDataSet(QObject *parent = nullptr);
    ~TDataSet() override;

    // --- structure ---------------------------------------------------------------------------
    void setFieldDefs(const QList<FieldDef> &defs);
    const QList<FieldDef> &fieldDefs() const { return m_defs; }
    void addFieldDef(const FieldDef &def);
    void clearFieldDefs();
    // Opens the dataset empty with its field definitions (any rows are dropped).
    void createDataSet();
    void close();
    bool active() const { return m_state != State::Inactive; }

    int fieldCount() const { return int(m_fields.size()); }
    TField *field(int index) const { return m_fields.at(size_t(index)).get(); }
    TField *findField(const QString &name) const;          // case-insensitive; nullptr if none
    TField &fieldByName(const QString &name) const;         // throws AppError if none
    TField &operator[](const QString &name) const { return fieldByName(name); }
    int fieldIndex(const QString &name) const;             // -1 if none
    QStringList fieldNames() const;

    // --- navigation over the visible (sorted, filtered) records -------------------------------
    int recordCount() const { return int(m_view.size()); }
    bool isEmpty() const { return m_view.empty(); }
    int recNo() const { return m_view.empty() ? 0 : m_cursor + 1; } // 1-based
    void setRecNo(int recNo);
    void first();
    void last();
    void next();
    void prior();
    void moveBy(int distance);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }

    // --- editing -----------------------------------------------------------------------------
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    void append();   // new record at the end
    void insert();   // new record before the current one
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    // Posts a pending edit; does nothing in browse state.
    void checkBrowseMode();
    // Appends and posts one record from values in field order (missing values stay null).
    void appendRecord(const QVariantList &values);
    // Deletes every record; nested datasets go with their records.
    void emptyDataSet();
    bool canModify = true;

    // Direct read access, used by models and exporters (viewRow is 0-based).
    QVariant valueAt(int viewRow, int fieldIndex) const;
    void setValueAt(int viewRow, int fieldIndex, const QVariant &value); // moves there and edits
    TDataSet *nestedAt(int viewRow, int fieldIndex) const;

    // --- change log ----------------------------------------------------------------------------
    bool logChanges = true;
    int changeCount() const;
    void mergeChangeLog();     // accept every change as the new original state
    void cancelUpdates();      // undo every change since the last merge
    UpdateStatus updateStatus() const;
    QVariant oldValue(const QString &fieldName) const;

    // --- searching -----------------------------------------------------------------------------
    bool locate(const QStringList &fields, const QVariantList &values, bool caseInsensitive = false,
                bool partialKey = false);
    bool locate(const QString &field, const QVariant &value, bool caseInsensitive = false)
    {
        return locate(QStringList{field}, QVariantList{value}, caseInsensitive);
    }
    QVariant lookup(const QStringList &keyFields, const QVariantList &keyValues,
                    const QString &resultField) const;

    // --- bookmarks -----------------------------------------------------------------------------
    Bookmark bookmark() const;
    bool bookmarkValid(Bookmark bookmark) const;
    bool gotoBookmark(Bookmark bookmark);

    // --- sorting and filtering ----------------------------------------------------------------
    void setSort(const QList<SortField> &fields, const QString &indexName = QString());
    const QList<SortField> &sort() const { return m_sort; }
    const QString &indexName() const { return m_indexName; }
    void clearSort() { setSort({}); }
    void setFilter(std::function<bool(const TRecordView &)> predicate);
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    // --- controls ------------------------------------------------------------------------------
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // --- events --------------------------------------------------------------------------------
    // Business hooks; throwing from a before-event abandons the operation.
    std::function<void(TDataSet &)> onNewRecord;
    std::function<void(TDataSet &)> beforeInsert, afterInsert;
    std::function<void(TDataSet &)> beforeEdit, afterEdit;
    std::function<void(TDataSet &)> beforePost, afterPost;
    std::function<void(TDataSet &)> beforeCancel, afterCancel;
    std::function<void(TDataSet &)> beforeDelete, afterDelete;
    std::function<void(TDataSet &)> afterScroll;

    // --- write-back ------------------------------------------------------------------------------
    void setResolver(std::shared_ptr<IRecordResolver> resolver) { m_resolver = std::move(resolver); }
    IRecordResolver *resolver() const { return m_resolver.get(); }

    // --- copying and files ----------------------------------------------------------------------
    // Makes this dataset a copy of another's structure and visible records (not its events).
    void copyFrom(const TDataSet &source);
    QByteArray saveToBytes() const;
    void loadFromBytes(const QByteArray &bytes);  // throws AppError on a damaged file
    void saveToFile(const QString &path) const;   // throws AppError when it cannot be written
    void loadFromFile(const QString &path);

    // Fast bulk load used by query executors: rows in field order, no events, no change log.
    void beginBulkLoad();
    void bulkAppend(QVector<QVariant> &&values);
    void endBulkLoad();

Q_SIGNALS:
    // For models and bound controls; none is emitted while controls are disabled, and
    // enableControls() ends with dataReset().
    void dataReset();                  // structure, order or set of visible rows changed
    void rowChanged(int viewRow);
    void rowInserted(int viewRow);
    void rowRemoved(int viewRow);
    void currentChanged(int viewRow);
    void stateChanged();

private:
    friend class TField;
    friend class TRecordView;
    struct Row;

    Row *currentRow() const;
    Row *rowAt(int viewRow) const { return m_view.at(size_t(viewRow)); }
    void requireActive() const;
    void requireBrowse(const char *operation);
    void buildFields();
    void rebuildView();
    void sortView();
    bool matchesFilter(const Row *row) const;
    bool lessThan(const Row *a, const Row *b) const;
    int sortedPosition(const Row *row, int excludeViewRow) const;
    void setCurrent(int viewRow, bool notify = true);
    void storeValue(int fieldIndex, const QVariant &value);
    void removeRow(Row *row);
    void makeNestedFor(Row *row);
    void notifyReset();
    void notifyCurrent();
    void validateRequired();
    void finishEdit();
    QVector<QVariant> valuesOf(const Row *row) const;

    QList<FieldDef> m_defs;
    std::vector<std::unique_ptr<TField>> m_fields;
    std::vector<std::unique_ptr<Row>> m_rows;   // natural order
    std::vector<Row *> m_view;                  // visible order
    std::vector<QVector<QVariant>> m_deleted;   // originals of deleted records (change log)
    State m_state = State::Inactive;
    int m_cursor = -1;
    bool m_bof = true;
    bool m_eof = true;
    qint64 m_nextId = 1;
    QVector<QVariant> m_saved;                  // values before the pending edit
    UpdateStatus m_savedStatus = UpdateStatus::Unmodified;
    QList<SortField> m_sort;
    QVector<int> m_sortIndexes;
    QString m_indexName;
    std::function<bool(const TRecordView &)> m_filter;
    bool m_filtered = false;
    int m_disableCount = 0;
    bool m_bulk = false;
    std::shared_ptr<IRecordResolver> m_resolver;
};

// Converts stored text (ISO or "yyyy.MM.dd") to a date; invalid when it is none.
QDate ParseDateText(const QString &text);
QDateTime ParseDateTimeText(const QString &text);
