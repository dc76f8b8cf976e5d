#pragma once
#include "DBGrid.h"
#include "data/FieldAttrib.h"

// The ways windows set up their grids.

// Hides every column, then shows and decorates those the table names (title, width unless
// keepWidths, ellipsis button, highlight); title clicks mark and sort the grid's own dataset;
// with autoFit the columns are stretched to the grid's width.
void SetupGridColumns(TDBGrid &grid, const TFieldArr &arr, bool keepWidths, bool autoFit);
void EnableTitleButtons(TDBGrid &grid);

// Sum footers: "合计" goes into the first visible column.
void SumFooterAll(TDBGrid &grid);                                   // every numeric column
void SumFooterFields(TDBGrid &grid, const QStringList &fieldNames); // only the named columns
void SumFooterExcept(TDBGrid &grid, const QStringList &fieldNames); // numeric ones from the 2nd on, but these

void SetColumnsReadOnly(TDBGrid &grid, const QStringList &fieldNames, bool readOnly);

// Sorting handlers for sortMarkingChanged(): over a database dataset up means ascending; over
// an in-memory dataset up means descending (index "index1"). Returns/apply as the core ones.
QString SortAdoByMarkers(TDBGrid &grid, TDataSet &ds);
void SortCdsByMarkers(TDBGrid &grid, TDataSet &ds);

// The footer caption of the summing functions.
inline const QString kFooterCaption = QStringLiteral("合计");
