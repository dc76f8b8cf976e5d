#pragma once
#include "DataSet.h"
#include <QList>
#include <QString>

// One column of a list, bill-line or picker grid: which field it shows, how, and (when a
// dataset is built from a column table) the field's type and size.
struct TFieldAttrib {
    QString fieldName;        // matched without regard to case
    QString caption;          // "upper|lower" gives a two-level title
    int width = 64;           // pixels
    bool visible = true;
    bool button = false;      // ellipsis edit button, drop-down of 20 rows
    bool highlight = false;   // painted in the tool-tip background colour
    FieldType dataType = FieldType::String;
    int size = 0;             // string length; 0 for numbers
    bool required = false;

    TFieldAttrib() = default;
    TFieldAttrib(QString name, QString title, int w, bool vis = true, bool btn = false, bool hl = false,
                 FieldType type = FieldType::String, int sz = 0)
        : fieldName(std::move(name)), caption(std::move(title)), width(w), visible(vis), button(btn),
          highlight(hl), dataType(type), size(sz)
    {
    }
};

using TFieldArr = QList<TFieldAttrib>;

// The entry for a field name (case-insensitive), or nullptr.
const TFieldAttrib *FindFieldAttrib(const TFieldArr &arr, const QString &fieldName);

// Field definitions in the table's order (string fields keep their size, others 0; never required).
QList<FieldDef> FieldDefsFromAttribs(const TFieldArr &arr);

// Closes the dataset, replaces its structure by the table's and opens it empty; each field takes
// the entry's caption as its label, its width and its visibility.
void CreateDataSetFromAttribs(TDataSet &ds, const TFieldArr &arr);
