#include "GridExport.h"
#include <QStandardPaths>
#include <QRegularExpression>
#include <QDir>
#include "DBGrid.h"
#include "shell/MessageService.h"

#include <QFile>
#include <xlsxwriter.h>

namespace {
QByteArray Utf8(const QString &s) { return s.toUtf8(); }

lxw_format *NewFormat(lxw_workbook *wb, bool border = true)
{
    lxw_format *f = workbook_add_format(wb);
    if (border)
        format_set_border(f, LXW_BORDER_THIN);
    return f;
}
} // namespace

bool WriteGridToXlsx(const TDBGrid &grid, const QString &path, QString *error)
{
    // Rows go out one after another, so even 100,000 rows need little memory.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook *wb = workbook_new_opt(file.constData(), &options);
    if (!wb) {
        if (error)
            *error = QStringLiteral("无法创建文件");
        return false;
    }
    lxw_worksheet *ws = workbook_add_worksheet(wb, nullptr);

    lxw_format *title = NewFormat(wb);
    format_set_bold(title);
    format_set_align(title, LXW_ALIGN_CENTER);
    format_set_align(title, LXW_ALIGN_VERTICAL_CENTER);
    format_set_bg_color(title, 0xEBEBEB);
    lxw_format *band = NewFormat(wb);
    format_set_bold(band);
    format_set_align(band, LXW_ALIGN_CENTER_ACROSS);
    format_set_bg_color(band, 0xEBEBEB);
    lxw_format *text = NewFormat(wb);
    lxw_format *date = NewFormat(wb);
    format_set_num_format(date, "yyyy.mm.dd");
    lxw_format *dateTime = NewFormat(wb);
    format_set_num_format(dateTime, "yyyy.mm.dd hh:mm:ss");
    lxw_format *footerText = NewFormat(wb);
    format_set_bold(footerText);
    format_set_align(footerText, LXW_ALIGN_CENTER);

    const QList<int> columns = grid.visibleColumns();
    QVector<lxw_format *> numberFormats, footerFormats;
    for (int c : columns) {
        const TField *f = grid.columnField(c);
        lxw_format *number = NewFormat(wb);
        lxw_format *sum = NewFormat(wb);
        format_set_bold(sum);
        if (f && f->isNumeric() && !f->displayFormat.isEmpty()) {
            format_set_num_format(number, Utf8(f->displayFormat).constData());
            format_set_num_format(sum, Utf8(f->displayFormat).constData());
        }
        numberFormats << number;
        footerFormats << sum;
    }

    bool twoLevels = false;
    for (int c : columns)
        twoLevels = twoLevels || grid.columnTitle(c).contains(QLatin1Char('|'));

    lxw_row_t row = 0;
    for (int i = 0; i < columns.size(); ++i) {
        const QString t = grid.columnTitle(columns.at(i));
        const QString upper = TDBGrid::upperTitle(t);
        const lxw_col_t col = lxw_col_t(i);
        worksheet_set_column_pixels(ws, col, col, uint32_t(std::max(grid.columnWidth(columns.at(i)), 20)), nullptr);
        if (!twoLevels || upper.isEmpty()) {
            worksheet_write_string(ws, row, col, Utf8(t).constData(), title);
            continue;
        }
        // The band's text in its first column; the blank neighbours with the same format let
        // the text spread over all of them.
        const bool starts = i == 0 || TDBGrid::upperTitle(grid.columnTitle(columns.at(i - 1))) != upper;
        if (starts)
            worksheet_write_string(ws, row, col, Utf8(upper).constData(), band);
        else
            worksheet_write_blank(ws, row, col, band);
    }
    if (twoLevels) {
        ++row;
        for (int i = 0; i < columns.size(); ++i) {
            const QString t = grid.columnTitle(columns.at(i));
            if (TDBGrid::upperTitle(t).isEmpty())
                worksheet_write_blank(ws, row, lxw_col_t(i), title);
            else
                worksheet_write_string(ws, row, lxw_col_t(i), Utf8(TDBGrid::lowerTitle(t)).constData(), title);
        }
    }
    worksheet_freeze_panes(ws, row + 1, 0);

    const TDataSet *ds = grid.dataSet();
    const int rows = ds && ds->active() ? ds->recordCount() : 0;
    for (int r = 0; r < rows; ++r) {
        ++row;
        for (int i = 0; i < columns.size(); ++i) {
            const int c = columns.at(i);
            const TField *f = grid.columnField(c);
            const QVariant v = ds->valueAt(r, c);
            const lxw_col_t col = lxw_col_t(i);
            if (!f || v.isNull()) {
                worksheet_write_blank(ws, row, col, text);
                continue;
            }
            switch (f->dataType()) {
            case FieldType::Integer:
            case FieldType::Float:
            case FieldType::Currency:
                worksheet_write_number(ws, row, col, v.toDouble(), numberFormats.at(i));
                break;
            case FieldType::Boolean:
                worksheet_write_boolean(ws, row, col, v.toBool(), text);
                break;
            case FieldType::Date:
            case FieldType::DateTime: {
                const QDateTime dt = v.toDateTime();
                lxw_datetime when{dt.date().year(), dt.date().month(), dt.date().day(), dt.time().hour(),
                                  dt.time().minute(), dt.time().second() + dt.time().msec() / 1000.0};
                worksheet_write_datetime(ws, row, col, &when, f->dataType() == FieldType::Date ? date : dateTime);
                break;
            }
            default:
                worksheet_write_string(ws, row, col, Utf8(f->displayTextOf(v)).constData(), text);
                break;
            }
        }
    }

    if (grid.footerVisible()) {
        ++row;
        for (int i = 0; i < columns.size(); ++i) {
            const int c = columns.at(i);
            const TGridColumn *settings = grid.findColumn(c);
            const lxw_col_t col = lxw_col_t(i);
            if (settings && settings->footerKind == FooterKind::Sum)
                worksheet_write_number(ws, row, col, grid.footerSum(c), footerFormats.at(i));
            else if (settings && settings->footerKind == FooterKind::Text)
                worksheet_write_string(ws, row, col, Utf8(settings->footerText).constData(), footerText);
            else
                worksheet_write_blank(ws, row, col, text);
        }
    }

    const lxw_error result = workbook_close(wb);
    if (result != LXW_NO_ERROR) {
        if (error)
            *error = QString::fromUtf8(lxw_strerror(result));
        return false;
    }
    return true;
}

bool ExportGridToExcel(const TDBGrid &grid, const QString &suggestedName)
{
    QString start;
    if (!suggestedName.trimmed().isEmpty()) {
        QString name = suggestedName.trimmed();
        static const QRegularExpression notInFileNames(QStringLiteral("[\\\\/:*?\"<>|]"));
        name.replace(notInFileNames, QStringLiteral("_"));
        start = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                    .filePath(name + QStringLiteral(".xlsx"));
    }
    const auto chosen = Messages().saveFileName(QStringLiteral("导出到Excel"), start,
                                                QStringLiteral("EXCEL 文件(*.xlsx)"), QStringLiteral("xlsx"));
    if (!chosen || chosen->isEmpty())
        return false;
    QString path = *chosen;
    // Users used to the old format type ".xls"; the file is an .xlsx all the same, and a name
    // ending in ".xls.xlsx" would only confuse them.
    if (path.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive))
        path += QLatin1Char(path.endsWith(QLatin1String(".XLS")) ? 'X' : 'x');
    else if (!path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");
    QString error;
    if (!WriteGridToXlsx(grid, path, &error)) {
        ShowError(QStringLiteral("数据导出失败，文件无法写入：") + path + QStringLiteral("\r错误原因:") + error);
        return false;
    }
    ShowInfo(QStringLiteral("数据导出成功！"));
    return true;
}
