#pragma once
#include <QDate>
#include <QFont>
#include <QString>
#include <QTime>
#include <functional>

class TDBGrid;
class QPrinter;
class QWidget;

// Prints a grid as it is shown: the visible columns in their order, two-level titles with their
// bands (repeated on every page), every row and the footer row, between a page header and a
// page footer of three texts each, with optional texts (plain or HTML) before and after the grid.
// Columns wider than the page together are narrowed in proportion; a narrower grid keeps its
// widths.
class TGridPrinter {
public:
    enum class ColumnWidths { AsShown, Optimal };

    explicit TGridPrinter(TDBGrid &grid);

    QString title;               // centred in the page header when set
    QFont titleFont;
    QString headerLeft, headerCenter, headerRight;
    QString footerLeft, footerCenter, footerRight;
    QFont headerFont, footerFont, gridFont;
    bool headerRule = false;     // a line under the page header
    bool footerRule = false;     // a line above the page footer
    QString textBefore, textAfter;
    ColumnWidths widths = ColumnWidths::AsShown;
    QDateTime printTime;         // what the date and time macros show (default: now)

    // Renders every page; false when the printer could not be opened.
    bool print(QPrinter &printer);
    int pageCount(QPrinter &printer);
    // Prints into a PDF file; false when it cannot be written.
    bool printToPdf(const QString &path);
    // The preview with its print button and a "保存为PDF" choice.
    void preview(QWidget *parent = nullptr);
    // Straight to the default printer.
    bool printNow();

    TDBGrid &grid() const { return m_grid; }

private:
    struct Layout;
    void layout(Layout &l, QPrinter &printer) const;
    void paintPage(class QPainter &p, const Layout &l, int page) const;
    TDBGrid &m_grid;
};

// Replaces &[Page], &[Pages], &[Date], &[ShortDate], &[LongDate] and &[Time] (in any letter case).
QString ExpandPageMacros(const QString &text, int page, int pages, const QDateTime &when);

// The print font: 宋体 where it is installed, else a Chinese font that is.
QString GridPrintFontFamily();

// The folder of the documents printed before and after grids: AppPath() + "Report/" unless set
// otherwise.
QString GridReportDir();
void SetGridReportDir(const QString &dir);

// Who receives a finished print job: by default the preview, or the printer at once. Tests and
// batch runs install their own (e.g. printing into a PDF); nullptr restores the default.
using GridPrintHook = std::function<void(TGridPrinter &printer, bool printAtOnce)>;
void SetGridPrintHook(GridPrintHook hook);

// Title centred in 12-point type on every page, the given text before the grid, columns at
// their optimal widths, footer "[Qelvo软件] <date>打印" and "第&[page]页".
void PrintGridSimple(TDBGrid &grid, const QString &title, bool printAtOnce, const QString &textBefore);

// The table print of bills and reports: page header and footer from the account set's print
// settings (TopLeft/TopCenter/TopRight, BtLeft/BtCenter/BtRight; footerLeft replaces BtLeft
// when given), documents Report/<name>.html above and Report/<name>1.html below the grid with
// [title], [header] and [memo] filled in. The name is documentName, or the title without its
// blanks ("采 购 入 库 单" → "采购入库单"). Without documents the title and the header line are
// printed above the grid. Fitted to the page width, then previewed.
void PrintGridWithTemplate(TDBGrid &grid, const QString &title, const QString &header, const QString &memo,
                           const QString &footerLeft, const QString &documentName = QString());
