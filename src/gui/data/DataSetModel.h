#pragma once
#include "data/DataSet.h"
#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>
#include <functional>

// Colours of one cell as a window wants them (stock marks, warnings); invalid colours keep
// the grid's own.
struct TCellStyle {
    QColor background;
    QColor foreground;
    bool bold = false;
};

// A table model over a dataset: one column per field, one row per visible record. It reads
// the rows straight from the dataset (nothing is copied, so 100,000 rows cost nothing extra)
// and follows the dataset's notifications. Edits go through the dataset: setData moves to the
// row and edits it there, so field validation and change handlers run as for any other edit.
class TDataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using CellStyleHook = std::function<void(int row, const TField &field, TCellStyle &style)>;

    explicit TDataSetModel(QObject *parent = nullptr);
    ~TDataSetModel() override;

    void setDataSet(TDataSet *ds);
    TDataSet *dataSet() const { return m_ds; }
    TField *fieldAt(int column) const;

    // Per-cell colours; the hook is asked for each painted cell, so it must be cheap.
    void setCellStyleHook(CellStyleHook hook);
    TCellStyle cellStyle(int row, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The text of the error that refused the last setData (empty after a successful one).
    const QString &lastError() const { return m_lastError; }

Q_SIGNALS:
    // The dataset moved to another record (view row, -1 for none).
    void currentRowChanged(int row);
    // The dataset's state changed (browse, edit, insert).
    void editStateChanged();
    // Anything a footer or a counter shows may have changed.
    void contentsChanged();

private:
    void onReset();
    void onRowChanged(int row);
    void onRowInserted(int row);
    void onRowRemoved(int row);
    void detach();

    QPointer<TDataSet> m_ds;
    int m_rows = 0;
    int m_columns = 0;
    CellStyleHook m_styleHook;
    QString m_lastError;
    QList<QMetaObject::Connection> m_connections;
};
