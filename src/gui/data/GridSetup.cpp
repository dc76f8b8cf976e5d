#include "GridSetup.h"

void EnableTitleButtons(TDBGrid &grid) { grid.setTitleButtons(true); }

void SetupGridColumns(TDBGrid &grid, const TFieldArr &arr, bool keepWidths, bool autoFit)
{
    grid.setTitleButtons(true);
    grid.setSortLocal(true);
    for (int c = 0; c < grid.columnCount(); ++c) {
        TGridColumn &column = grid.column(c);
        column.visible = false;
        const TFieldAttrib *attrib = FindFieldAttrib(arr, grid.columnFieldName(c));
        if (!attrib)
            continue;
        // A field hidden by the field-visibility settings (cost prices kept from other
        // operators) stays hidden whatever the window's column table says.
        const TField *field = grid.columnField(c);
        column.visible = attrib->visible && (!field || field->visible);
        column.title = attrib->caption;
        column.button = attrib->button;
        column.highlight = attrib->highlight;
        if (!keepWidths)
            column.width = attrib->width;
    }
    grid.refreshColumns();
    grid.setAutoFitColWidths(autoFit);
}

namespace {
void PutCaption(TDBGrid &grid)
{
    const int first = grid.firstVisibleColumn();
    if (first >= 0)
        grid.setFooter(first, FooterKind::Text, kFooterCaption);
}
} // namespace

void SumFooterAll(TDBGrid &grid)
{
    grid.setTitleButtons(true);
    for (int c = 0; c < grid.columnCount(); ++c) {
        const TField *f = grid.columnField(c);
        grid.setFooter(c, f && f->isNumeric() ? FooterKind::Sum : FooterKind::None);
    }
    PutCaption(grid);
}

void SumFooterFields(TDBGrid &grid, const QStringList &fieldNames)
{
    for (int c = 0; c < grid.columnCount(); ++c)
        grid.setFooter(c, fieldNames.contains(grid.columnFieldName(c), Qt::CaseInsensitive) ? FooterKind::Sum
                                                                                             : FooterKind::None);
    PutCaption(grid);
}

void SumFooterExcept(TDBGrid &grid, const QStringList &fieldNames)
{
    for (int c = 0; c < grid.columnCount(); ++c) {
        const TField *f = grid.columnField(c);
        const bool sum = c > 0 && f && f->isNumeric() && !fieldNames.contains(f->fieldName(), Qt::CaseInsensitive);
        grid.setFooter(c, sum ? FooterKind::Sum : FooterKind::None);
    }
    PutCaption(grid);
}

void SetColumnsReadOnly(TDBGrid &grid, const QStringList &fieldNames, bool readOnly)
{
    for (const QString &name : fieldNames) {
        const int c = grid.columnOf(name);
        if (c >= 0)
            grid.setColumnReadOnly(c, readOnly);
    }
}

QString SortAdoByMarkers(TDBGrid &grid, TDataSet &ds) { return SortAdoByMarkers(grid.sortMarkers(), ds); }

void SortCdsByMarkers(TDBGrid &grid, TDataSet &ds) { SortCdsByMarkers(grid.sortMarkers(), ds); }
