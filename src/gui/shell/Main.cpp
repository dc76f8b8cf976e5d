#include "Main.h"
#include "About.h"
#include "GuiResources.h"
#include "MdiBackground.h"
#include "Navigation.h"
#include "TileIcons.h"
#include "AccountActions.h"
#include "EditPass.h"
#include "FieldPermisson.h"
#include "ShowChildForm.h"
#include "SysLog.h"
#include "Users.h"
#include "WinBg.h"
#include "data/BugFix.h"
#include "masterdata/MasterDataOpen.h"
#include "data/OpData.h"
#include "shell/AccountOpen.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/Calculator.h"
#include "shell/Config.h"
#include "shell/ClearDataAccess.h"
#include "shell/MainWindowData.h"
#include "shell/MessageService.h"
#include "shell/Product.h"
#include "shell/UserInfo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QUrl>

namespace {
const QString kProductNotice = QStringLiteral("Qelvo服装销售管理专业版 · 专业的服装进销存管理");
}

// What the action list holds. `pending` names the window an action opens once that window is
// part of the program; until then the action stays visible but disabled.
struct TfrmMain::ActionEntry {
    const char *name;
    const char *caption;
    int tag;
    const char *pending;   // nullptr: available now
    const char *icon = nullptr;
    QKeySequence key = {};
    const char *menuText = nullptr;
};

TfrmMain::TfrmMain(Hooks hooks, QWidget *parent) : QMainWindow(parent), m_hooks(std::move(hooks))
{
    InitGuiResources();
    setObjectName(QStringLiteral("TfrmMain"));
    setWindowTitle(ProductTitle() + QStringLiteral("(") + ProductVersion() + QStringLiteral(")"));
    setWindowIcon(QIcon(TileIcon(QStringLiteral("Q"), QColor(0x2f, 0x80, 0xed), 64)));
    resize(1280, 800);

    m_mdi = new TMdiBackground(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    connect(m_mdi, &TMdiBackground::reloadRequested, this, &TfrmMain::ReloadBackground);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &TfrmMain::placeNewChild);

    createActions();
    createMenus();
    createStatusBar();
    RefreshAfterLogin();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::createActions()
{
    // Windows that later parts of the program add: the action keeps its place in the list (and
    // its rights position) and is enabled when its window is there.
    static const ActionEntry entries[] = {
        {"acOpenAccount", "打开帐套...", 0, nullptr, "document-open-symbolic"},
        {"acReLogin", "更换操作员...", 0, nullptr, "system-switch-user-symbolic"},
        {"acBackup", "备份帐套...", 5, nullptr, "document-save-symbolic"},
        {"acRestoreAccount", "恢复帐套", 6, nullptr, "document-revert-symbolic"},
        {"acClearData", "清空所有数据", 8, nullptr},
        {"acImport", "导入基础资料", 0, nullptr},
        // Disabled until the whole-database stock recalculation exists; it will run behind
        // TWaitMessage("正在处理数据，请稍后..."). A button that did nothing would let the user
        // believe the stock had been rebuilt.
        {"acReCalcStock", "整理数据并重算库存", 0, "stock recalculation behind TfrmMessage"},
        {"acSetPriceMode", "设置计价方式...", 0, "TfrmPriceMode"},
        {"acPrintSetting", "打印设置...", 0, "TfrmPrintSetting"},
        {"acUsers", "用户管理", 1, nullptr, "system-users-symbolic"},
        {"acEditPass", "修改密码", 2, nullptr, "dialog-password-symbolic"},
        {"acFieldPermisson", "字段权限设置", 10, nullptr},
        {"acSysLog", "查看系统日志", 3, nullptr},
        {"acSetWinBg", "设置窗口背景图片", 9, nullptr, "preferences-desktop-wallpaper-symbolic"},
        {"acCalc", "计算器...", 0, nullptr, "accessories-calculator-symbolic"},
        {"acBugFix", "实用工具程序...", 0, nullptr},
        {"acExit", "退出系统", 0, nullptr, "application-exit-symbolic", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"acExportServer", "服务器端导出数据", 0, "TfrmExport", nullptr, {}, "导出数据"},
        {"acImportDataToServer", "服务器端导入数据", 0, "TfrmImport", nullptr, {}, "导入数据"},
        {"acHelp", "帮助", 0, nullptr, "help-browser-symbolic", QKeySequence(Qt::Key_F1)},
        {"acAbout", "关于...", 0, nullptr, "help-about-symbolic"},
        {"WindowCascade1", "层叠窗口", 0, nullptr},
        {"WindowTileHorizontal1", "水平平铺", 0, nullptr},
        {"WindowTileVertical1", "垂直平铺", 0, nullptr},
        // Placed in no menu; the console opens the same windows.
        {"acInstore", "入库单", 11, "TfrmInstore"},
        {"acPurchase", "采购入库单", 21, "TfrmPurchase"},
        {"acSell", "销售单", 41, "TfrmSell"},
        {"acAdjust", "调拨单", 51, "TfrmAdjust"},
        {"acPurBack", "采购退货单", 26, "TfrmPurBack"},
        {"acSellBack", "销售退货单", 46, "TfrmSellBack"},
        {"acCheckInv", "盘点单", 0, "TfrmCheckInv"},
        {"acStock", "初始库存", 0, "TfrmStock"},
        {"acVendor", "供应商资料", 0, nullptr},
        {"acColor", "颜色资料", 0, nullptr},
        {"acSize", "尺码资料", 0, "TfrmSize"},
        {"acSizeG", "尺码组资料", 0, "TfrmSizeG"},
        {"acUnit", "常用计量单位资料", 0, nullptr},
        {"acDepartment", "部门资料", 0, nullptr},
        {"acArea", "地区资料", 0, nullptr},
        {"acInventoryC", "货品分类资料", 0, nullptr},
        {"acStore", "仓库（商场）资料", 0, nullptr},
        {"acBank", "开户银行资料", 0, nullptr},
        {"acFee", "费用资料", 0, nullptr},
        {"acBrand", "品牌资料", 0, nullptr},
        {"acCustomer", "客户资料", 0, nullptr},
        {"acInventory", "货品资料", 0, "TfrmInventory"},
        {"acEmploy", "员工（营业员）资料", 0, nullptr},
        {"acIEType", "常用收支项目资料", 0, nullptr},
        {"acReportStock", "库存报表", 0, "the printable stock report"},
        {"acReportCenter", "报表中心", 0, "TfrmReportCenter"},
        {"acReceiveAll", "通过互联网接收门店销售数据", 0, "exchange: receive store sales"},
        {"acSendAll", "通过互联网向分店传送相关数据", 0, "exchange: send to stores"},
        {"acDaoru", "磁盘方式导入门店销售数据", 0, "exchange: disk import"},
        {"acDaochu", "磁盘方式导出基础数据给客户端", 0, "exchange: disk export"},
        {"acGenClient", "生成门店销售数据及软件", 0, "store client set-up"},
        {"acUserManager", "门店管理", 0, "TfrmUser2Store"},
        {"acGenDataService", "生成数据服务程序", 0, "data service set-up"},
        {"acExportClient", "客户端输出数据", 0, "client export"},
        // These four have never done anything; they stay disabled.
        {"acPurOrder", "采购订单", 0, "(none)"},
        {"acSellOrder", "销售订单", 0, "(none)"},
        {"acDownRefer", "下载参照数据", 0, "(none)"},
        {"acEMailSetup", "邮件设置", 0, "(none)"},
    };

    m_handlers = {
        {QStringLiteral("acOpenAccount"), [this] { openAccountSet(); }},
        {QStringLiteral("acReLogin"), [this] { reLogin(); }},
        {QStringLiteral("acSetWinBg"), [this] { setWinBg(); }},
        {QStringLiteral("acClearData"), [this] { clearAllData(); }},
        {QStringLiteral("acImport"), [this] { importBaseData(); }},
        {QStringLiteral("acBugFix"), [this] { TfrmBugFix(this).exec(); }},
        {QStringLiteral("acBackup"), [this] { RunBackupAccountSet(this); }},
        {QStringLiteral("acRestoreAccount"), [this] {
             if (m_hooks.restoreAccountSet)
                 m_hooks.restoreAccountSet(this);
         }},
        {QStringLiteral("acUsers"), [this] { TfrmUsers(this).exec(); }},
        {QStringLiteral("acEditPass"), [this] { TfrmEditPass(this).exec(); }},
        {QStringLiteral("acSysLog"), [this] { TfrmSysLog(this).exec(); }},
        // Only the administrator decides which columns others see; anyone else is told so
        // instead of a menu item that silently does nothing.
        {QStringLiteral("acFieldPermisson"), [this] {
             if (CurrentUser().userName != kAdministratorName) {
                 ShowInfo(QStringLiteral("只有管理员才能设置字段权限！"));
                 return;
             }
             TfrmFieldPermisson(this).exec();
         }},
        {QStringLiteral("acArea"), [this] { OpenCodeTree(CodeTreeKind::Area, this, m_mdi); }},
        {QStringLiteral("acInventoryC"), [this] { OpenCodeTree(CodeTreeKind::InventoryC, this, m_mdi); }},
        {QStringLiteral("acCalc"), [] { StartCalculator(); }},
        {QStringLiteral("acExit"), [this] { close(); }},
        {QStringLiteral("acHelp"), [this] { showHelp(); }},
        {QStringLiteral("acAbout"), [this] { showAbout(); }},
        {QStringLiteral("WindowCascade1"), [this] { m_mdi->cascadeSubWindows(); }},
        {QStringLiteral("WindowTileHorizontal1"), [this] { tileChildren(Qt::Horizontal); }},
        {QStringLiteral("WindowTileVertical1"), [this] { tileChildren(Qt::Vertical); }},
    };

    const std::pair<const char *, MasterDataKind> lists[] = {
        {"acVendor", MasterDataKind::Vendor}, {"acColor", MasterDataKind::Color}, {"acUnit", MasterDataKind::Unit},
        {"acDepartment", MasterDataKind::Department}, {"acStore", MasterDataKind::Store},
        {"acBank", MasterDataKind::Bank}, {"acFee", MasterDataKind::Fee}, {"acBrand", MasterDataKind::Brand},
        {"acCustomer", MasterDataKind::Customer}, {"acEmploy", MasterDataKind::Employ},
        {"acIEType", MasterDataKind::IEType}};
    for (const auto &[name, kind] : lists)
        m_handlers.insert(QLatin1String(name), [this, kind = kind] { OpenMasterDataList(kind, this, m_mdi); });

    for (const ActionEntry &entry : entries) {
        const QString name = QString::fromLatin1(entry.name);
        auto *a = new QAction(QString::fromUtf8(entry.menuText ? entry.menuText : entry.caption), this);
        a->setObjectName(name);
        a->setProperty("Tag", entry.tag);
        a->setProperty("Caption", QString::fromUtf8(entry.caption));
        if (entry.menuText)
            a->setToolTip(QString::fromUtf8(entry.caption));
        if (!entry.key.isEmpty())
            a->setShortcut(entry.key);
        if (entry.icon)
            a->setIcon(SymbolicIcon(QString::fromLatin1(entry.icon)));
        if (entry.pending && !m_handlers.contains(name))
            m_pending.insert(name, QString::fromUtf8(entry.pending));
        connect(a, &QAction::triggered, this, [this, name] { runAction(name); });
        m_actions.insert(name, a);
        m_actionOrder.append(a);
    }
    disablePendingActions();
}

void TfrmMain::createMenus()
{
    auto add = [this](QMenu *menu, std::initializer_list<const char *> names) {
        for (const char *name : names) {
            if (!*name)
                menu->addSeparator();
            else
                menu->addAction(action(QLatin1String(name)));
        }
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName(QStringLiteral("mnuFile"));
    add(file, {"acOpenAccount", "acReLogin", "", "acImport", "acReCalcStock", "", "acSetPriceMode", "acPrintSetting",
               "", "acFieldPermisson", "acSysLog", "acSetWinBg", "", "acCalc", "", "acBugFix", "", "acExit"});
    // Kept in the menu but not shown: the console offers backup, restore, operators and password,
    // and clearing all data is for support staff only.
    for (const char *name : {"acBackup", "acRestoreAccount", "acClearData", "acUsers", "acEditPass"}) {
        QAction *hidden = new QAction(action(QLatin1String(name))->text(), file);
        hidden->setObjectName(QLatin1String(name) + QStringLiteral("Item"));
        hidden->setVisible(false);
        connect(hidden, &QAction::triggered, action(QLatin1String(name)), &QAction::trigger);
        file->addAction(hidden);
    }

    QMenu *remote = menuBar()->addMenu(QStringLiteral("远程(&R)"));
    remote->setObjectName(QStringLiteral("mnuRemote"));
    add(remote, {"acExportServer", "acImportDataToServer"});

    m_windowMenu = menuBar()->addMenu(QStringLiteral("窗口(&W)"));
    m_windowMenu->setObjectName(QStringLiteral("mnuWindow"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &TfrmMain::fillWindowMenu);
    fillWindowMenu();

    QMenu *help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    add(help, {"acHelp", "", "acAbout"});
    for (QMenu *menu : {file, remote, m_windowMenu, help})
        menu->setToolTipsVisible(true);
}

void TfrmMain::fillWindowMenu()
{
    m_windowMenu->clear();
    m_windowMenu->addAction(action(QStringLiteral("WindowCascade1")));
    const QList<QMdiSubWindow *> windows = m_mdi->subWindowList();
    if (!windows.isEmpty())
        m_windowMenu->addSeparator();
    int n = 0;
    for (QMdiSubWindow *w : windows) {
        QAction *a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, w, [this, w] { m_mdi->setActiveSubWindow(w); });
    }
}

void TfrmMain::createStatusBar()
{
    statusBar()->setSizeGripEnabled(true);
    statusBar()->setStyleSheet(QStringLiteral("QStatusBar { background: #eef2f7; border-top: 1px solid #d9e0e8; }"
                                              "QStatusBar::item { border: none; }"
                                              "QLabel { color: #3b4a5c; padding: 2px 14px; }"));
    const int widths[] = {220, 180, 160, 0};
    // A set or operator with a very long name must not push the other panels (or the window's
    // width) aside: such a name is cut with "…" and shown whole in the tool tip.
    const int widest[] = {420, 260, 160, 0};
    for (int i = 0; i < 4; ++i) {
        auto *label = new QLabel(statusBar());
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (widths[i] > 0) {
            label->setMinimumWidth(widths[i]);
            label->setMaximumWidth(widest[i]);
            statusBar()->addWidget(label);
        } else {
            statusBar()->addWidget(label, 1);
        }
        m_panels.append(label);
    }
}

QString TfrmMain::statusText(int panel) const
{
    return panel >= 0 && panel < m_panels.size() ? m_panels.at(panel)->property("fullText").toString() : QString();
}

void TfrmMain::setStatusText(int panel, const QString &text)
{
    QLabel *label = m_panels.at(panel);
    label->setProperty("fullText", text);
    const int room = label->maximumWidth() - label->contentsMargins().left() - label->contentsMargins().right() - 30;
    const QString shown = label->maximumWidth() < QWIDGETSIZE_MAX
        ? label->fontMetrics().elidedText(text, Qt::ElideRight, room) : text;
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}

QList<QAction *> TfrmMain::actionList() const { return m_actionOrder; }

void TfrmMain::disablePendingActions()
{
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        QAction *a = m_actions.value(it.key());
        a->setEnabled(false);
        a->setStatusTip(kLaterVersionText);
        // The menus show tool tips: a greyed item says why it is grey.
        const QString caption = a->property("Caption").toString();
        a->setToolTip(caption == a->text() ? kLaterVersionText
                                           : caption + QStringLiteral("：") + kLaterVersionText);
    }
}

void TfrmMain::runAction(const QString &name)
{
    if (m_pending.contains(name)) {
        ShowInfo(kLaterVersionText);
        return;
    }
    const auto handler = m_handlers.value(name);
    if (handler)
        RunGuarded(handler);
}

void TfrmMain::RefreshAfterLogin()
{
    setStatusText(0, QStringLiteral("账套:") + App().accName);
    setStatusText(1, QStringLiteral("操作员:") + CurrentUser().userName);
    setStatusText(2, QStringLiteral("日期：") + QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd")));
    setStatusText(3, kProductNotice);

    QList<QObject *> objects;
    for (QAction *a : std::as_const(m_actionOrder))
        objects.append(a);
    ApplyRights(objects, CurrentUser().rights);
    disablePendingActions();

    if (!App().opData)
        return;
    RunGuarded([this] {
        ReloadBackground(0);
        LoadCompanyAndPriceMode(OpData());
    });
}

void TfrmMain::ReloadBackground(int winBgId)
{
    if (!App().opData)
        return;
    RunGuarded([&] {
        const QByteArray bytes = LoadBackgroundPicture(OpData(), winBgId);
        QPixmap picture;
        // A row without a (readable) picture leaves the previous background in place.
        if (bytes.isEmpty() || !picture.loadFromData(bytes))
            return;
        setUpdatesEnabled(false);
        m_mdi->setPicture(picture);
        setUpdatesEnabled(true);
        m_mdi->viewport()->update();
    });
}

TfrmNavigation *TfrmMain::ShowNavigation()
{
    const bool first = !m_navigation;
    TfrmNavigation *console = ShowChildForm(m_navigation, [this] { return new TfrmNavigation(this); }, m_mdi);
    if (first) {
        // Neither close nor minimise nor maximise: the console is where the work starts.
        auto *sub = qobject_cast<QMdiSubWindow *>(console->parentWidget());
        sub->setObjectName(QStringLiteral("TfrmNavigationWindow"));
        sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        sub->setWindowIcon(QIcon(TileIcon(QStringLiteral("view-app-grid-symbolic"), QColor(0x2f, 0x80, 0xed), 16)));
        const QSize area = m_mdi->viewport()->size();
        sub->setGeometry(12, 12, qBound(760, area.width() - 24, 1080), qBound(520, area.height() - 24, 700));
        sub->show();
    }
    return console;
}

// Child windows appear cascaded over the console and shrunk to the visible area, instead of
// wherever the MDI area's own placement puts them (often past its right edge).
void TfrmMain::placeNewChild(QMdiSubWindow *sub)
{
    if (!sub || sub->property("placed").toBool())
        return;
    sub->setProperty("placed", true);
    if (m_navigation && sub->widget() == m_navigation)
        return;
    int others = 0;
    for (QMdiSubWindow *w : m_mdi->subWindowList())
        if (w != sub && w->isVisible() && !(m_navigation && w->widget() == m_navigation))
            ++others;
    const QSize area = m_mdi->viewport()->size();
    const int step = 28 * (others % 8);
    const QPoint at(230 + step, 40 + step);
    const QSize wanted = sub->size().expandedTo(sub->minimumSizeHint());
    const QSize room(std::max(320, area.width() - at.x() - 12), std::max(240, area.height() - at.y() - 12));
    sub->setGeometry(QRect(at, wanted.boundedTo(room)));
}

QMdiSubWindow *TfrmMain::AddChildWindow(QWidget *widget)
{
    QMdiSubWindow *sub = m_mdi->addSubWindow(widget);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    return sub;
}

bool TfrmMain::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        if (!isMaximized() && !m_closing)
            showMaximized();
        // Only when the console is missing: the main window is activated again each time a
        // message box or dialog closes, and a console brought to the front then would hide the
        // window the user is working in.
        if (!m_navigation || !m_navigation->isVisible())
            ShowNavigation();
    }
    return QMainWindow::event(event);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (!ConfirmOkCancel(QStringLiteral("您确实要退出服装系统吗？"))) {
        event->ignore();
        return;
    }
    // The children first: one that refuses (unsaved work it asked about) keeps the program,
    // and the console, running.
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        if (m_navigation && sub->widget() == m_navigation)
            continue;
        if (!sub->close()) {
            event->ignore();
            return;
        }
    }
    if (m_navigation) {
        m_navigation->allowClose();
        if (auto *sub = qobject_cast<QMdiSubWindow *>(m_navigation->parentWidget()))
            sub->close();
    }
    m_closing = true;
    event->accept();
}

void TfrmMain::CloseOtherWindows()
{
    for (QMdiSubWindow *sub : m_mdi->subWindowList())
        sub->close();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && w->isWindow())
            w->close();
}

void TfrmMain::openAccountSet()
{
    CloseOtherWindows();
    const QString code = App().accCode, name = App().accName, begin = App().beginMonth;
    if (m_hooks.openAccountSet && m_hooks.openAccountSet(this)) {
        RefreshAfterLogin();
        return;
    }
    // The dialog opens a set before its login; when that login never succeeded, the operator
    // must not go on working in a set nobody logged into: the previous set comes back.
    if (App().accCode != code && !code.isEmpty()) {
        RunGuarded([&] { OpenAccountSet(code, name, begin); });
        RefreshAfterLogin();
        return;
    }
    // The set may have been renamed in the dialog.
    setStatusText(0, QStringLiteral("账套:") + App().accName);
}

void TfrmMain::reLogin()
{
    CloseOtherWindows();
    if (m_hooks.reLogin && m_hooks.reLogin(this))
        RefreshAfterLogin();
}

// Before work that replaces the account set's rows under open windows: a list left open would
// write a row it had read into a key that now names another row. A window that refuses to close
// (unsaved work it asked about) stops the work.
bool TfrmMain::closeOtherWindowsFirst()
{
    CloseOtherWindows();
    bool othersOpen = false;
    for (QMdiSubWindow *sub : m_mdi->subWindowList())
        if (sub->isVisible() && !(m_navigation && sub->widget() == m_navigation))
            othersOpen = true;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
            othersOpen = true;
    if (othersOpen)
        ShowInfo(QStringLiteral("请先关闭其它窗口，然后再执行此功能！"));
    return !othersOpen;
}

void TfrmMain::clearAllData()
{
    if (!AskClearDataAccessCode() || !closeOtherWindowsFirst())
        return;
    OpData().ClearAllData();
    ShowInfo(QStringLiteral("所有数据已清空！"));
    RefreshAfterLogin();
}

void TfrmMain::importBaseData()
{
    if (!WarningOkCancel(QStringLiteral("导入基础资料会删除当前账套的所有历史单据，您确实要导入基础资料吗？")))
        return;
    const std::optional<QString> file =
        Messages().openFileName(QStringLiteral("导入基础资料"), App().dataNetPath, QStringLiteral("数据库文件(*.mdb)"));
    if (!file || !closeOtherWindowsFirst())
        return;
    OpData().ImportBaseData(*file);
}

void TfrmMain::setWinBg()
{
    TfrmWinBg dialog(this);
    dialog.exec();
}

void TfrmMain::showAbout()
{
    TfrmAbout dialog(this);
    dialog.exec();
}

// The help file lies beside the program when installed; otherwise the copy compiled into the
// program is written to the user's cache folder so that the browser can open it.
void TfrmMain::showHelp()
{
    QString file = AppPath() + QStringLiteral("help/index.html");
    if (!QFile::exists(file)) {
        const QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help");
        QDir().mkpath(dir);
        file = dir + QStringLiteral("/index.html");
        QFile::remove(file);
        if (!QFile::copy(QStringLiteral(":/help/index.html"), file))
            throw AppError(QStringLiteral("无法打开帮助文件：") + file);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        ShowInfo(QStringLiteral("无法启动浏览器，请手工打开帮助文件：") + file);
}

void TfrmMain::tileChildren(Qt::Orientation orientation)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *w : m_mdi->subWindowList())
        if (w->isVisible() && !w->isMinimized())
            windows.append(w);
    if (windows.isEmpty())
        return;
    const QSize area = m_mdi->viewport()->size();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        if (orientation == Qt::Horizontal)
            windows[i]->setGeometry(0, i * area.height() / n, area.width(), area.height() / n);
        else
            windows[i]->setGeometry(i * area.width() / n, 0, area.width() / n, area.height());
    }
}
