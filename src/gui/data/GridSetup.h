#pragma once
#include "DBGrid.h"
#include "data/FieldAttrib.h"

// The ways windows set up their grids. A bill window, for example:
//
//     DBGridEh1 = new TDBGrid(this);
//     DBGridEh1->setDataSet(&cdsDetail);               // after CreateDataSetFromAttribs(cdsDetail, arr)
//     SetupGridColumns(*DBGridEh1, arr, false, true);   // titles "尺码|S" ..., widths, buttons
//     SumFooterExcept(*DBGridEh1, {"ColorID", "iPrice", "iDiscount"});
//     DBGridEh1->setCellStyleHook([this](int row, const TField &f, TCellStyle &s) { ... s.background = Qt::red; });
//     DBGridEh1->setAutoAppend(true);                   // Enter on the last line starts a new one
//
// A list over a database dataset sorts by its markers itself:
//     EnableTitleButtons(*DBGridEh1); SumFooterAll(*DBGridEh1);
//     connect(DBGridEh1, &TDBGrid::sortMarkingChanged, this,
//             [this] { RunGuarded([&] { SortAdoByMarkers(*DBGridEh1, adsMain); }); });

// Hides every column, then shows and decorates those the table names (title, width unless
// keepWidths, ellipsis button, highlight); title clicks mark and sort the grid's own dataset;
// with autoFit the columns are stretched to the grid's width. Fields whose visible flag is off
// (ApplyFieldVisibility, applied to the dataset first) stay hidden.
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
