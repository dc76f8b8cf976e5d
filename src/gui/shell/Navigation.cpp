#include "Navigation.h"
#include "Main.h"
#include "MdiBackground.h"
#include "NavigationLink.h"
#include "TileIcons.h"
#include "masterdata/MasterDataOpen.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"
#include "shell/UserInfo.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

const QString kLaterVersionText = QStringLiteral("该功能将在后续版本中提供，敬请期待！");

namespace {

struct PageStyle {
    QString name;
    QString subtitle;
    QString glyph;
    QColor color;
};

const QList<PageStyle> &Pages()
{
    static const QList<PageStyle> pages = {
        {QStringLiteral("基础资料"), QStringLiteral("往来单位、货品、仓库与人员等基础信息"), QStringLiteral("view-app-grid-symbolic"), QColor(0x5b, 0x6c, 0xf0)},
        {QStringLiteral("采购管理"), QStringLiteral("采购入库、采购退货与付款"), QStringLiteral("package-x-generic-symbolic"), QColor(0x16, 0x9c, 0x88)},
        {QStringLiteral("销售管理"), QStringLiteral("销售开单、收款、退货与销售分析"), QStringLiteral("document-send-symbolic"), QColor(0xe8, 0x66, 0x3d)},
        {QStringLiteral("库存管理"), QStringLiteral("仓库调拨、盘点与库存查询"), QStringLiteral("drive-multidisk-symbolic"), QColor(0x2f, 0x80, 0xed)},
        {QStringLiteral("财务管理"), QStringLiteral("银行存取款、费用开支与其它收入"), QStringLiteral("¥"), QColor(0xc8, 0x8a, 0x12)},
        {QStringLiteral("系统管理"), QStringLiteral("操作员、密码与帐套备份"), QStringLiteral("preferences-system-symbolic"), QColor(0x5f, 0x6f, 0x86)},
    };
    return pages;
}

const PageStyle &PageOf(const QString &name)
{
    for (const PageStyle &p : Pages())
        if (p.name == name)
            return p;
    return Pages().first();
}

// The page list: an icon tile and the page name; the chosen page on an accent bar.
class PageDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override { return {168, 48}; }

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(option.rect).adjusted(10, 4, -10, -4);
        const bool selected = option.state & QStyle::State_Selected;
        const bool hover = option.state & QStyle::State_MouseOver;
        if (selected || hover) {
            QPainterPath path;
            path.addRoundedRect(r, 8, 8);
            p->fillPath(path, selected ? QColor(0x2f, 0x80, 0xed) : QColor(255, 255, 255, 28));
        }
        if (option.state & QStyle::State_HasFocus) {
            p->setPen(QPen(QColor(255, 255, 255, 170), 1.5, Qt::DotLine));
            p->drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), 7, 7);
        }
        const PageStyle &page = PageOf(index.data().toString());
        const QPixmap icon = TileIcon(page.glyph, selected ? QColor(255, 255, 255, 60) : page.color, 26);
        p->drawPixmap(QPointF(r.left() + 10, r.center().y() - 13), icon);
        QFont f = option.font;
        f.setPixelSize(14);
        f.setBold(selected);
        p->setFont(f);
        p->setPen(selected ? Qt::white : QColor(0xd5, 0xde, 0xea));
        p->drawText(r.adjusted(46, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, index.data().toString());
        p->restore();
    }
};

QLabel *SectionTitle(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("navSection"));
    return label;
}

const char *kConsoleStyle = R"(
TfrmNavigation { background: #f4f6f9; }
QFrame#navSide { background: #1f2f46; }
QLabel#navBrand { color: #ffffff; font-size: 17px; font-weight: bold; }
QLabel#navBrandSub { color: #8fa3bf; font-size: 12px; }
QListWidget#navPages { background: transparent; border: none; outline: none; }
QWidget#navPage { background: #f4f6f9; }
QScrollArea { border: none; background: #f4f6f9; }
QLabel#navTitle { font-size: 22px; font-weight: bold; color: #1f2933; }
QLabel#navSubtitle { font-size: 13px; color: #6b7785; }
QLabel#navTip { font-size: 12px; color: #8a96a3; }
QLabel#navSection { font-size: 14px; font-weight: bold; color: #3b4a5c; padding-top: 6px; }
QFrame#navCard { background: #ffffff; border: 1px solid #e3e8ef; border-radius: 10px; }
QToolButton[navTile="true"] { background: #ffffff; border: 1px solid #e3e8ef; border-radius: 12px;
    padding: 12px 6px 10px 6px; font-size: 14px; color: #1f2933; }
QToolButton[navTile="true"]:hover { border: 1px solid #2f80ed; background: #f2f7ff; }
QToolButton[navTile="true"]:pressed { background: #e3eefc; }
QToolButton[navTile="true"]:focus { border: 2px solid #2f80ed; }
QLabel[navLink="true"] { font-size: 14px; padding: 2px 0px; }
)";

} // namespace

TfrmNavigation::TfrmNavigation(TfrmMain *main, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TfrmNavigation"));
    setWindowTitle(QStringLiteral("系统控制台"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QString::fromLatin1(kConsoleStyle));
    buildEntries(main);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *side = new QFrame(this);
    side->setObjectName(QStringLiteral("navSide"));
    side->setFixedWidth(188);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 18, 0, 12);
    sideLayout->setSpacing(2);
    auto *brand = new QLabel(QStringLiteral("Qelvo 服装"), side);
    brand->setObjectName(QStringLiteral("navBrand"));
    auto *brandSub = new QLabel(QStringLiteral("销售管理专业版"), side);
    brandSub->setObjectName(QStringLiteral("navBrandSub"));
    for (QLabel *l : {brand, brandSub}) {
        l->setContentsMargins(22, 0, 0, 0);
        sideLayout->addWidget(l);
    }
    sideLayout->addSpacing(16);

    m_pageList = new QListWidget(side);
    m_pageList->setObjectName(QStringLiteral("navPages"));
    m_pageList->setItemDelegate(new PageDelegate(m_pageList));
    m_pageList->setMouseTracking(true);
    m_pageList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The arrow keys choose the page for those who work without the mouse.
    m_pageList->setFocusPolicy(Qt::StrongFocus);
    sideLayout->addWidget(m_pageList, 1);
    layout->addWidget(side);

    m_pages = new QStackedWidget(this);
    for (const PageStyle &page : Pages()) {
        m_pageList->addItem(page.name);
        m_pages->addWidget(buildPage(page.name, page.subtitle));
    }
    layout->addWidget(m_pages, 1);
    connect(m_pageList, &QListWidget::currentRowChanged, m_pages, &QStackedWidget::setCurrentIndex);
    showPage(QStringLiteral("销售管理"));
}

QStringList TfrmNavigation::PageNames()
{
    QStringList names;
    for (const PageStyle &p : Pages())
        names << p.name;
    return names;
}

QString TfrmNavigation::currentPage() const
{
    return m_pageList->currentItem() ? m_pageList->currentItem()->text() : QString();
}

void TfrmNavigation::showPage(const QString &page)
{
    const int row = PageNames().indexOf(page);
    if (row >= 0)
        m_pageList->setCurrentRow(row);
}

void TfrmNavigation::closeEvent(QCloseEvent *event)
{
    if (m_closeAllowed)
        event->accept();
    else
        event->ignore();
}

// Enter on a focused picture button opens it, as Space does (tool buttons know only Space).
bool TfrmNavigation::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        auto *button = qobject_cast<QToolButton *>(watched);
        if (button && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            button->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmNavigation::runEntry(const QString &caption)
{
    for (const TNavigationEntry &entry : std::as_const(m_entries)) {
        if (entry.caption != caption)
            continue;
        if (entry.right > 0 && !CurrentUser().CheckRight(entry.right))
            return;
        if (!entry.open) {
            ShowInfo(kLaterVersionText);
            return;
        }
        QWidget *owner = window();
        RunGuarded([&] { entry.open(owner); });
        return;
    }
}

QWidget *TfrmNavigation::buildPage(const QString &page, const QString &subtitle)
{
    const PageStyle &style = PageOf(page);
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // Tab goes from the page list straight to the page's entries; the area still scrolls to the
    // entry that has the focus.
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *content = new QWidget(scroll);
    content->setObjectName(QStringLiteral("navPage"));
    auto *v = new QVBoxLayout(content);
    v->setContentsMargins(32, 24, 32, 24);
    v->setSpacing(10);

    auto *title = new QLabel(page, content);
    title->setObjectName(QStringLiteral("navTitle"));
    auto *sub = new QLabel(subtitle, content);
    sub->setObjectName(QStringLiteral("navSubtitle"));
    v->addWidget(title);
    v->addWidget(sub);
    v->addSpacing(8);

    QList<const TNavigationEntry *> buttons, links;
    for (const TNavigationEntry &e : std::as_const(m_entries)) {
        if (e.page != page)
            continue;
        (e.button ? buttons : links).append(&e);
    }

    if (!buttons.isEmpty()) {
        v->addWidget(SectionTitle(page == QStringLiteral("系统管理") ? QStringLiteral("系统功能")
                                                                    : QStringLiteral("日常单据"),
                                  content));
        auto *row = new QHBoxLayout;
        row->setSpacing(16);
        for (const TNavigationEntry *e : buttons) {
            auto *b = new QToolButton(content);
            b->setObjectName(e->caption);
            b->setProperty("navTile", true);
            b->setText(e->caption);
            b->setIcon(QIcon(TileIcon(e->glyph, e->color.isValid() ? e->color : style.color, 52)));
            b->setIconSize(QSize(52, 52));
            b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            b->setFixedSize(132, 118);
            b->setCursor(Qt::PointingHandCursor);
            const QString caption = e->caption;
            connect(b, &QToolButton::clicked, this, [this, caption] { runEntry(caption); });
            b->installEventFilter(this);
            row->addWidget(b);
        }
        row->addStretch(1);
        v->addLayout(row);
        v->addSpacing(10);
    }

    if (!links.isEmpty()) {
        const bool reports = links.first()->right == 0;
        v->addWidget(SectionTitle(reports ? QStringLiteral("查询报表") : QStringLiteral("资料维护"), content));
        auto *card = new QFrame(content);
        card->setObjectName(QStringLiteral("navCard"));
        auto *grid = new QGridLayout(card);
        grid->setContentsMargins(22, 16, 22, 16);
        grid->setHorizontalSpacing(28);
        grid->setVerticalSpacing(12);
        const int columns = 3;
        const QPixmap bullet = SymbolicPixmap(
            reports ? QStringLiteral("x-office-spreadsheet-symbolic") : QStringLiteral("x-office-address-book-symbolic"),
            style.color, 18);
        for (int i = 0; i < links.size(); ++i) {
            auto *cell = new QWidget(card);
            auto *h = new QHBoxLayout(cell);
            h->setContentsMargins(0, 0, 0, 0);
            h->setSpacing(8);
            auto *icon = new QLabel(cell);
            icon->setPixmap(bullet);
            auto *link = new TNavigationLink(links.at(i)->caption, cell);
            link->setProperty("navLink", true);
            const QString caption = links.at(i)->caption;
            connect(link, &TNavigationLink::clicked, this, [this, caption] { runEntry(caption); });
            h->addWidget(icon);
            h->addWidget(link);
            h->addStretch(1);
            grid->addWidget(cell, i / columns, i % columns);
        }
        for (int c = 0; c < columns; ++c)
            grid->setColumnStretch(c, 1);
        v->addWidget(card);
    }
    v->addStretch(1);
    auto *tip = new QLabel(QStringLiteral("提示：单击图标或链接打开相应功能；没有权限的功能请与系统管理员联系。按 F1 查看帮助。"), content);
    tip->setObjectName(QStringLiteral("navTip"));
    v->addWidget(tip);
    scroll->setWidget(content);
    return scroll;
}

void TfrmNavigation::buildEntries(TfrmMain *main)
{
    // The main window's own actions (backup and restore) run from here as from its menu.
    auto action = [main](const char *name) -> std::function<void(QWidget *)> {
        if (!main)
            return {};
        return [main, name](QWidget *) { main->runAction(QLatin1String(name)); };
    };
    auto button = [this](const char *page, const char *caption, int right, const char *glyph,
                         std::function<void(QWidget *)> open = {}) {
        m_entries.append({QString::fromUtf8(page), QString::fromUtf8(caption), right, true, QString::fromUtf8(glyph),
                          QColor(), std::move(open)});
    };
    auto link = [this](const char *page, const char *caption, int right, std::function<void(QWidget *)> open = {}) {
        m_entries.append({QString::fromUtf8(page), QString::fromUtf8(caption), right, false, QString(), QColor(),
                          std::move(open)});
    };

    // Reference lists and trees: the opener tests the right again and opens the vendor, customer,
    // store and colour lists modally, the others as single child windows.
    auto list = [main](MasterDataKind kind) -> std::function<void(QWidget *)> {
        return [main, kind](QWidget *owner) { OpenMasterDataList(kind, owner, main ? main->mdiArea() : nullptr); };
    };
    auto tree = [main](CodeTreeKind kind) -> std::function<void(QWidget *)> {
        return [main, kind](QWidget *owner) { OpenCodeTree(kind, owner, main ? main->mdiArea() : nullptr); };
    };
    link("基础资料", "供应商资料", 91, list(MasterDataKind::Vendor));
    link("基础资料", "客户资料", 92, list(MasterDataKind::Customer));
    link("基础资料", "货品分类资料", 93, tree(CodeTreeKind::InventoryC));
    link("基础资料", "货品资料", 94);   // TfrmInventory (modal)
    link("基础资料", "仓库（商场）资料", 95, list(MasterDataKind::Store));
    link("基础资料", "部门资料", 102, list(MasterDataKind::Department));
    link("基础资料", "员工（营业员）资料", 103, list(MasterDataKind::Employ));
    link("基础资料", "开户银行资料", 104, list(MasterDataKind::Bank));
    link("基础资料", "VIP客户管理", 106, list(MasterDataKind::VIP));
    link("基础资料", "地区资料", 96, tree(CodeTreeKind::Area));
    link("基础资料", "品牌资料", 97, list(MasterDataKind::Brand));
    link("基础资料", "颜色资料", 99, list(MasterDataKind::Color));
    link("基础资料", "尺码资料", 100);   // TfrmSize (child)
    link("基础资料", "常用收支项目资料", 105, list(MasterDataKind::IEType));

    // Bills: TfrmPurchase, TfrmPurBack, TfrmPay (modal).
    button("采购管理", "采购入库单", 21, "folder-download-symbolic");
    button("采购管理", "采购退货单", 26, "edit-undo-symbolic");
    button("采购管理", "付款单", 110, "¥");
    for (const char *report : {"采购汇总表", "采购明细表", "退货汇总表", "退货明细表"})
        link("采购管理", report, 0);

    // Bills: TfrmSell, TfrmRecieve, TfrmSellBack (modal).
    button("销售管理", "销售单", 41, "document-send-symbolic");
    button("销售管理", "收款单", 111, "¥");
    button("销售管理", "销售退货单", 46, "mail-reply-sender-symbolic");
    for (const char *report : {"销售汇总表", "销售明细表", "销售退货汇总表", "销售退货明细表", "VIP消费报表",
                               "营业员业绩报表", "销售排行榜", "销售毛利润表", "客户销售汇总表"})
        link("销售管理", report, 0);

    // Bills: TfrmAdjust, TfrmCheckInv (modal).
    button("库存管理", "调拨单", 51, "mail-send-receive-symbolic");
    button("库存管理", "盘点单", 16, "view-list-ordered-symbolic");
    for (const char *report : {"库存汇总表", "库存明细表", "库存明细帐", "调拨汇总表", "调拨明细表", "盘点汇总表",
                               "盘点明细表", "仓库（商场）缺货表", "超期库存明细表"})
        link("库存管理", report, 0);

    // Finance documents: TfrmTransfer, TfrmExpense, TfrmIncome (modal); TfrmFinanceReport.
    button("财务管理", "银行存取款", 81, "emblem-synchronizing-symbolic");
    button("财务管理", "费用开支", 82, "value-decrease-symbolic");
    button("财务管理", "其它收入", 83, "value-increase-symbolic");
    link("财务管理", "现金收支情况汇总表", 0);

    button("系统管理", "用户管理", 1, "system-users-symbolic", action("acUsers"));
    button("系统管理", "修改密码", 2, "dialog-password-symbolic", action("acEditPass"));
    button("系统管理", "备份帐套", 5, "document-save-symbolic", action("acBackup"));
    button("系统管理", "恢复帐套", 6, "document-revert-symbolic", action("acRestoreAccount"));
}
