#include "GridPrint.h"
#include "DBGrid.h"
#include "data/SimpleValueDB.h"
#include "shell/AppContext.h"
#include "shell/Config.h"
#include "shell/MessageService.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolBar>
#include <memory>

namespace {
QString &ReportDirOverride()
{
    static QString dir;
    return dir;
}

GridPrintHook &PrintHook()
{
    static GridPrintHook hook;
    return hook;
}

bool AnyText(const QString &a, const QString &b, const QString &c)
{
    return !a.trimmed().isEmpty() || !b.trimmed().isEmpty() || !c.trimmed().isEmpty();
}

QString DateText(const QDate &d) { return d.toString(QStringLiteral("yyyy.MM.dd")); }

std::unique_ptr<QTextDocument> MakeDocument(const QString &text, const QFont &font, QPaintDevice *device,
                                            qreal width)
{
    if (text.trimmed().isEmpty())
        return nullptr;
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(device);
    doc->setDefaultFont(font);
    doc->setDocumentMargin(0);
    if (Qt::mightBeRichText(text))
        doc->setHtml(text);
    else
        doc->setPlainText(text);
    doc->setTextWidth(width);
    return doc;
}

// The last line end in (from, from + room] so that a document split over pages is cut between
// lines; from + room when no line ends there.
qreal CutPoint(QTextDocument &doc, qreal from, qreal room)
{
    qreal best = from;
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QRectF br = layout->blockBoundingRect(b);
        const QTextLayout *tl = b.layout();
        for (int i = 0; tl && i < tl->lineCount(); ++i) {
            const qreal bottom = br.top() + tl->lineAt(i).rect().bottom();
            if (bottom > from && bottom <= from + room)
                best = std::max(best, bottom);
        }
    }
    return best > from ? best : from + room;
}

QString HtmlValue(const QString &value)
{
    QString html = value.toHtmlEscaped();
    html.replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
    // A memo typed on several lines prints on several lines, not run together.
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<br/>"));
    html.replace(QLatin1Char('\n'), QStringLiteral("<br/>"));
    html.replace(QLatin1Char('\r'), QStringLiteral("<br/>"));
    return html;
}

QString ReadDocument(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        // Documents edited with older Chinese editors come in GBK.
        QStringDecoder gbk("GBK");
        text = gbk.decode(bytes);
    }
    return text;
}
} // namespace

// ---------------------------------------------------------------------------------------------

QString ExpandPageMacros(const QString &text, int page, int pages, const QDateTime &when)
{
    QString s = text;
    s.replace(QStringLiteral("&[Pages]"), QString::number(pages), Qt::CaseInsensitive);
    s.replace(QStringLiteral("&[Page]"), QString::number(page), Qt::CaseInsensitive);
    s.replace(QStringLiteral("&[ShortDate]"), DateText(when.date()), Qt::CaseInsensitive);
    s.replace(QStringLiteral("&[LongDate]"), when.date().toString(QStringLiteral("yyyy年M月d日")), Qt::CaseInsensitive);
    s.replace(QStringLiteral("&[Date]"), DateText(when.date()), Qt::CaseInsensitive);
    s.replace(QStringLiteral("&[Time]"), when.time().toString(QStringLiteral("hh:mm:ss")), Qt::CaseInsensitive);
    return s;
}

QString GridPrintFontFamily()
{
    // 宋体 where the system has it; otherwise WenQuanYi, whose glyphs come back out of a PDF as
    // the characters they are (copied text from Noto CJK turns some into radicals).
    const QStringList families = QFontDatabase::families();
    for (const char *name : {"宋体", "SimSun", "WenQuanYi Micro Hei", "Noto Sans CJK SC"}) {
        const QString family = QString::fromUtf8(name);
        if (families.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return QFont().family();
}

QString GridReportDir()
{
    if (!ReportDirOverride().isEmpty())
        return ReportDirOverride();
    return AppPath() + QStringLiteral("Report/");
}

void SetGridReportDir(const QString &dir)
{
    ReportDirOverride() = dir.isEmpty() || dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

void SetGridPrintHook(GridPrintHook hook) { PrintHook() = std::move(hook); }

// ---------------------------------------------------------------------------------------------

struct TGridPrinter::Layout {
    enum class Kind { Before, After, Titles, Row, Footer };
    struct Op {
        Kind kind;
        qreal y;
        qreal height;
        int row = 0;
        qreal offset = 0; // documents: where this piece starts inside the document
    };
    qreal width = 0, height = 0;         // the paintable page
    qreal top = 0, bottom = 0;           // the content between page header and footer
    qreal headerTextY = 0, titleY = 0, headerH = 0, footerH = 0;
    QList<int> columns;
    QVector<qreal> x, w;
    int levels = 1;
    qreal rowH = 0;
    qreal lineWidth = 1;
    bool footerRow = false;
    std::unique_ptr<QTextDocument> before, after;
    QVector<QVector<Op>> pages;
};

TGridPrinter::TGridPrinter(TDBGrid &grid) : m_grid(grid)
{
    const QString family = GridPrintFontFamily();
    titleFont = QFont(family, 12);
    headerFont = QFont(family, 9);
    footerFont = QFont(family, 9);
    gridFont = QFont(family, 9);
}

void TGridPrinter::layout(Layout &l, QPrinter &printer) const
{
    const QRect paint = printer.pageLayout().paintRectPixels(printer.resolution());
    l.width = paint.width();
    l.height = paint.height();
    l.lineWidth = std::max(1.0, printer.resolution() / 200.0);
    const QFontMetricsF gm(gridFont, &printer);
    const QFontMetricsF hm(headerFont, &printer);
    const QFontMetricsF fm(footerFont, &printer);
    const qreal gap = gm.height() / 2;

    // Page header: the title line, then the three texts.
    qreal y = 0;
    if (!title.isEmpty()) {
        l.titleY = y;
        y += QFontMetricsF(titleFont, &printer).height() * 1.3;
    }
    const bool headerTexts = AnyText(headerLeft, headerCenter, headerRight);
    if (headerTexts) {
        l.headerTextY = y;
        y += hm.height() * 1.2;
    }
    l.headerH = y;
    if (y > 0)
        y += gap;
    l.top = y;
    const bool footerTexts = AnyText(footerLeft, footerCenter, footerRight);
    l.footerH = footerTexts ? fm.height() * 1.3 : 0;
    l.bottom = l.height - l.footerH - (footerTexts ? gap : 0);
    l.rowH = std::ceil(gm.height() * 1.45);
    l.bottom = std::max(l.bottom, l.top + 4 * l.rowH); // never a page without room for a row

    // Columns: as wide as on the screen (or as their contents), narrowed to the page together.
    const TDataSet *ds = m_grid.dataSet();
    const int rows = ds && ds->active() ? ds->recordCount() : 0;
    QAbstractItemModel *model = m_grid.model();
    l.columns = m_grid.visibleColumns();
    const qreal scale = printer.resolution() / qreal(std::max(1, m_grid.logicalDpiX()));
    const qreal pad = gm.horizontalAdvance(QLatin1Char('0'));
    l.w.clear();
    for (int c : l.columns) {
        qreal width = m_grid.columnWidth(c) * scale;
        if (widths == ColumnWidths::Optimal) {
            const QString titleText = m_grid.columnTitle(c);
            width = gm.horizontalAdvance(TDBGrid::lowerTitle(titleText));
            width = std::max(width, gm.horizontalAdvance(m_grid.footerText(c)));
            for (int r = 0; r < std::min(rows, 2000); ++r)
                width = std::max(width, gm.horizontalAdvance(model->index(r, c).data().toString()));
            width += 2 * pad;
        }
        l.w << width;
    }
    qreal total = 0;
    for (qreal w : std::as_const(l.w))
        total += w;
    if (total > l.width && total > 0)
        for (qreal &w : l.w)
            w *= l.width / total;
    l.x.clear();
    qreal x = 0;
    for (qreal w : std::as_const(l.w)) {
        l.x << x;
        x += w;
    }
    l.levels = 1;
    for (int c : l.columns)
        if (m_grid.columnTitle(c).contains(QLatin1Char('|')))
            l.levels = 2;
    l.footerRow = false;
    if (m_grid.footerVisible())
        for (int c : l.columns)
            l.footerRow = l.footerRow || !m_grid.footerText(c).isEmpty();

    l.before = MakeDocument(textBefore, gridFont, &printer, l.width);
    l.after = MakeDocument(textAfter, gridFont, &printer, l.width);

    // Flow everything down the pages.
    l.pages.clear();
    l.pages.append(QVector<Layout::Op>());
    y = l.top;
    auto newPage = [&] {
        l.pages.append(QVector<Layout::Op>());
        y = l.top;
    };
    auto placeDocument = [&](QTextDocument *doc, Layout::Kind kind) {
        if (!doc)
            return;
        const qreal h = doc->size().height();
        qreal offset = 0;
        while (offset < h - 0.5) {
            qreal room = l.bottom - y;
            if (h - offset > room && room < l.bottom - l.top && y > l.top) {
                newPage(); // a document that fits on a page is not split
                continue;
            }
            const qreal end = std::min(h, CutPoint(*doc, offset, room));
            l.pages.last().append({kind, y, end - offset, 0, offset});
            y += end - offset;
            offset = end;
            if (offset < h - 0.5)
                newPage();
        }
        y += gap;
    };
    const qreal titlesH = l.levels * l.rowH;
    auto placeTitles = [&] {
        l.pages.last().append({Layout::Kind::Titles, y, titlesH});
        y += titlesH;
    };
    placeDocument(l.before.get(), Layout::Kind::Before);
    if (!l.columns.isEmpty()) {
        if (y + titlesH + l.rowH > l.bottom && y > l.top)
            newPage();
        placeTitles();
        for (int r = 0; r < rows; ++r) {
            if (y + l.rowH > l.bottom) {
                newPage();
                placeTitles();
            }
            l.pages.last().append({Layout::Kind::Row, y, l.rowH, r});
            y += l.rowH;
        }
        if (l.footerRow) {
            if (y + l.rowH > l.bottom) {
                newPage();
                placeTitles();
            }
            l.pages.last().append({Layout::Kind::Footer, y, l.rowH});
            y += l.rowH;
        }
        y += gap;
    }
    placeDocument(l.after.get(), Layout::Kind::After);
}

void TGridPrinter::paintPage(QPainter &p, const Layout &l, int page) const
{
    const int pages = int(l.pages.size());
    const QDateTime when = printTime.isValid() ? printTime : QDateTime::currentDateTime();
    const QPen linePen(Qt::black, l.lineWidth);
    auto threeTexts = [&](const QString &left, const QString &center, const QString &right, const QRectF &band) {
        const QString texts[] = {left, center, right};
        const Qt::Alignment align[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        for (int i = 0; i < 3; ++i)
            if (!texts[i].trimmed().isEmpty())
                p.drawText(band, align[i] | Qt::AlignVCenter, ExpandPageMacros(texts[i], page + 1, pages, when));
    };

    // Page header and footer.
    p.setPen(Qt::black);
    if (!title.isEmpty()) {
        p.setFont(titleFont);
        const qreal h = QFontMetricsF(titleFont, p.device()).height() * 1.3;
        p.drawText(QRectF(0, l.titleY, l.width, h), Qt::AlignCenter, ExpandPageMacros(title, page + 1, pages, when));
    }
    if (AnyText(headerLeft, headerCenter, headerRight)) {
        p.setFont(headerFont);
        threeTexts(headerLeft, headerCenter, headerRight,
                   QRectF(0, l.headerTextY, l.width, QFontMetricsF(headerFont, p.device()).height() * 1.2));
    }
    if (headerRule && l.headerH > 0) {
        p.setPen(linePen);
        p.drawLine(QPointF(0, l.headerH), QPointF(l.width, l.headerH));
        p.setPen(Qt::black);
    }
    if (l.footerH > 0) {
        const QRectF band(0, l.height - l.footerH, l.width, l.footerH);
        p.setFont(footerFont);
        threeTexts(footerLeft, footerCenter, footerRight, band);
        if (footerRule) {
            p.setPen(linePen);
            p.drawLine(band.topLeft(), band.topRight());
            p.setPen(Qt::black);
        }
    }

    // Content.
    p.setFont(gridFont);
    const QFontMetricsF gm(gridFont, p.device());
    const qreal pad = gm.horizontalAdvance(QLatin1Char('0')) / 2;
    QAbstractItemModel *model = m_grid.model();
    auto cell = [&](const QRectF &r, const QString &text, Qt::Alignment align, bool fill) {
        if (fill)
            p.fillRect(r, QColor(235, 235, 235));
        p.setPen(linePen);
        p.drawRect(r);
        p.setPen(Qt::black);
        const QRectF inner = r.adjusted(pad, 0, -pad, 0);
        p.drawText(inner, align | Qt::AlignVCenter, gm.elidedText(text, Qt::ElideRight, inner.width()));
    };
    for (const Layout::Op &op : l.pages.at(page)) {
        switch (op.kind) {
        case Layout::Kind::Before:
        case Layout::Kind::After: {
            QTextDocument *doc = op.kind == Layout::Kind::Before ? l.before.get() : l.after.get();
            p.save();
            p.translate(0, op.y - op.offset);
            doc->drawContents(&p, QRectF(0, op.offset, l.width, op.height));
            p.restore();
            p.setFont(gridFont);
            break;
        }
        case Layout::Kind::Titles: {
            const qreal lineH = l.rowH;
            for (int i = 0; i < l.columns.size(); ++i) {
                const QString text = m_grid.columnTitle(l.columns.at(i));
                const QString upper = TDBGrid::upperTitle(text);
                if (l.levels == 1 || upper.isEmpty()) {
                    cell(QRectF(l.x.at(i), op.y, l.w.at(i), op.height), TDBGrid::lowerTitle(text), Qt::AlignHCenter, true);
                    continue;
                }
                // The first column of a band draws the band across its neighbours.
                const bool starts = i == 0 || TDBGrid::upperTitle(m_grid.columnTitle(l.columns.at(i - 1))) != upper;
                if (starts) {
                    qreal width = 0;
                    for (int j = i; j < l.columns.size()
                                    && TDBGrid::upperTitle(m_grid.columnTitle(l.columns.at(j))) == upper;
                         ++j)
                        width += l.w.at(j);
                    cell(QRectF(l.x.at(i), op.y, width, lineH), upper, Qt::AlignHCenter, true);
                }
                cell(QRectF(l.x.at(i), op.y + lineH, l.w.at(i), op.height - lineH), TDBGrid::lowerTitle(text),
                     Qt::AlignHCenter, true);
            }
            break;
        }
        case Layout::Kind::Row:
            for (int i = 0; i < l.columns.size(); ++i) {
                const QModelIndex index = model->index(op.row, l.columns.at(i));
                QString text = index.data().toString();
                if (index.flags() & Qt::ItemIsUserCheckable || index.data(Qt::CheckStateRole).isValid())
                    text = index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStringLiteral("√") : QString();
                const Qt::Alignment align =
                    Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask;
                cell(QRectF(l.x.at(i), op.y, l.w.at(i), op.height), text, align ? align : Qt::AlignLeft, false);
            }
            break;
        case Layout::Kind::Footer:
            for (int i = 0; i < l.columns.size(); ++i) {
                const int c = l.columns.at(i);
                const TGridColumn *settings = m_grid.findColumn(c);
                const bool sum = settings && settings->footerKind == FooterKind::Sum;
                cell(QRectF(l.x.at(i), op.y, l.w.at(i), op.height), m_grid.footerText(c),
                     sum ? Qt::AlignRight : Qt::AlignHCenter, false);
            }
            break;
        }
    }
}

bool TGridPrinter::print(QPrinter &printer)
{
    Layout l;
    layout(l, printer);
    QPainter p;
    if (!p.begin(&printer))
        return false;
    for (int page = 0; page < l.pages.size(); ++page) {
        if (page > 0 && !printer.newPage())
            return false;
        paintPage(p, l, page);
    }
    return p.end();
}

int TGridPrinter::pageCount(QPrinter &printer)
{
    Layout l;
    layout(l, printer);
    return int(l.pages.size());
}

bool TGridPrinter::printToPdf(const QString &path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(title);
    return print(printer) && QFileInfo(path).size() > 0;
}

bool TGridPrinter::printNow()
{
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        ShowWarning(QStringLiteral("没有安装打印机，不能打印！"));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    if (!print(printer)) {
        ShowError(QStringLiteral("打印失败！"));
        return false;
    }
    return true;
}

void TGridPrinter::preview(QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this](QPrinter *p) { print(*p); });
    if (auto *bar = dialog.findChild<QToolBar *>()) {
        QAction *pdf = bar->addAction(QStringLiteral("保存为PDF"));
        QObject::connect(pdf, &QAction::triggered, &dialog, [this] {
            const auto path = Messages().saveFileName(QStringLiteral("保存为PDF"), QString(),
                                                      QStringLiteral("PDF 文件(*.pdf)"), QStringLiteral("pdf"));
            if (!path)
                return;
            if (printToPdf(*path))
                ShowInfo(QStringLiteral("PDF文件已保存！"));
            else
                ShowError(QStringLiteral("PDF文件写入失败：") + *path);
        });
    }
    dialog.exec();
}

// ---------------------------------------------------------------------------------------------

static void RunPrint(TGridPrinter &printer, bool printAtOnce)
{
    if (PrintHook()) {
        PrintHook()(printer, printAtOnce);
        return;
    }
    if (printAtOnce)
        printer.printNow();
    else
        printer.preview(printer.grid().window());
}

void PrintGridSimple(TDBGrid &grid, const QString &title, bool printAtOnce, const QString &textBefore)
{
    TGridPrinter printer(grid);
    printer.title = title;
    printer.textBefore = textBefore;
    printer.widths = TGridPrinter::ColumnWidths::Optimal;
    printer.footerLeft = QStringLiteral("[Qelvo软件] ") + DateText(QDate::currentDate()) + QStringLiteral("打印");
    printer.footerCenter = QStringLiteral("第&[page]页");
    RunPrint(printer, printAtOnce);
}

void PrintGridWithTemplate(TDBGrid &grid, const QString &title, const QString &header, const QString &memo,
                           const QString &footerLeft, const QString &documentName)
{
    auto setting = [](const char *key) {
        return App().simpleValues ? App().simpleValues->GetValue(QString::fromLatin1(key)).trimmed() : QString();
    };
    TGridPrinter printer(grid);
    printer.headerLeft = setting("TopLeft");
    printer.headerCenter = setting("TopCenter");
    printer.headerRight = setting("TopRight");
    printer.headerRule = AnyText(printer.headerLeft, printer.headerCenter, printer.headerRight);
    printer.footerLeft = footerLeft.trimmed().isEmpty() ? setting("BtLeft") : footerLeft;
    printer.footerCenter = setting("BtCenter");
    printer.footerRight = setting("BtRight");
    printer.footerRule = AnyText(printer.footerLeft, printer.footerCenter, printer.footerRight);
    printer.widths = TGridPrinter::ColumnWidths::AsShown;

    QString name = documentName;
    if (name.isEmpty()) {
        name = title;
        name.remove(QLatin1Char(' '));
        name.remove(QChar(0x3000)); // the full-width blank of spaced-out titles
    }
    auto fill = [&](QString text) {
        text.replace(QStringLiteral("[title]"), HtmlValue(title), Qt::CaseInsensitive);
        text.replace(QStringLiteral("[header]"), HtmlValue(header), Qt::CaseInsensitive);
        text.replace(QStringLiteral("[memo]"), HtmlValue(memo), Qt::CaseInsensitive);
        return text;
    };
    auto document = [&](const QString &base) {
        for (const char *suffix : {".html", ".htm"}) {
            const QString path = GridReportDir() + base + QString::fromLatin1(suffix);
            if (QFileInfo::exists(path)) {
                QString text = ReadDocument(path);
                if (!Qt::mightBeRichText(text))
                    text = Qt::convertFromPlainText(text);
                return fill(text);
            }
        }
        return QString();
    };
    printer.textBefore = document(name);
    printer.textAfter = document(name + QLatin1Char('1'));
    if (printer.textBefore.isEmpty() && printer.textAfter.isEmpty()) {
        printer.textBefore = QStringLiteral("<p align=\"center\" style=\"font-size:14pt; font-weight:bold\">%1</p>")
                                 .arg(HtmlValue(title));
        if (!header.trimmed().isEmpty())
            printer.textBefore += QStringLiteral("<p>%1</p>").arg(HtmlValue(header));
    }
    RunPrint(printer, false);
}
