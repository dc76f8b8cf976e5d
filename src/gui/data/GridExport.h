#pragma once
#include <QString>

class TDBGrid;

// Writes the grid as shown into a spreadsheet (.xlsx): the visible columns in their order, every
// row, and the footer as a last row. Titles take two header rows when the grid has two-level
// titles: the upper row carries each band's text centred across the band (and the one-level
// titles), the lower row the lower titles ("S", "M", "合计"); otherwise one header row. Numbers
// are written as numbers (with the column's display format), dates as dates, yes/no as
// booleans. Returns false with the reason in *error when the file cannot be written.
bool WriteGridToXlsx(const TDBGrid &grid, const QString &path, QString *error = nullptr);

// Asks for the file ("EXCEL 文件(*.xlsx)"), writes it and says "数据导出成功！"; a write failure
// is reported and returns false, as does a cancelled dialog (silently). A suggested name (the
// window's caption) is offered as the file name in the user's documents folder.
bool ExportGridToExcel(const TDBGrid &grid, const QString &suggestedName = QString());
