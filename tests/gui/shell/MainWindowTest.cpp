#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "data/Schema.h"
#include "shell/AccountOpen.h"
#include "shell/AppContext.h"
#include "shell/ClearDataAccess.h"
#include "shell/MdiBackground.h"
#include "shell/Main.h"
#include "shell/Navigation.h"
#include "shell/NavigationLink.h"
#include "shell/UserInfo.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTest>
#include <functional>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QString kNoRight = QStringLiteral("对不起，您没有操作此功能的权限，请与系统管理员联系！");

QString RightsWithout(std::initializer_list<int> positions)
{
    QString rights(180, QLatin1Char('1'));
    for (int p : positions)
        rights[p - 1] = QLatin1Char('0');
    return rights;
}

void LogIn(const QString &name, const QString &rights)
{
    CurrentUser().userName = name;
    CurrentUser().rights = rights;
}

QByteArray PngOf(const QSize &size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        App().accName = QStringLiteral("测试帐套");
        LogIn(QStringLiteral("管理员"), QString(180, QLatin1Char('1')));
    }
    void TearDown() override { LogIn(QString(), QString()); }

    TestAccountSet set;
    ScriptedMessages messages;
};

// A window with unsaved work whose user answered "no" to closing it.
struct RefusingWindow : QWidget {
    bool allow = false;
    void closeEvent(QCloseEvent *event) override { allow ? event->accept() : event->ignore(); }
};

QList<QWidget *> VisibleTopLevels()
{
    QList<QWidget *> list;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            list << w;
    return list;
}

} // namespace

TEST_F(MainWindowTest, StatusBarTellsSetOperatorAndDate)
{
    TfrmMain main;
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Qelvo服装销售管理专业版(v9.18)"));
    EXPECT_EQ(main.statusText(0), QStringLiteral("账套:测试帐套"));
    EXPECT_EQ(main.statusText(1), QStringLiteral("操作员:管理员"));
    EXPECT_EQ(main.statusText(2), QStringLiteral("日期：") + QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd")));
    EXPECT_FALSE(main.statusText(3).isEmpty());
}

TEST_F(MainWindowTest, AVeryLongSetNameIsShortenedInTheStatusBarAndShownWholeInItsTip)
{
    const QString longName = QString(QStringLiteral("杭州衣尚服饰有限公司第一分公司")).repeated(12);
    App().accName = longName;
    TfrmMain main;
    main.show();
    auto *panel = main.statusBar()->findChild<QLabel *>(QStringLiteral("StatusPanel0"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(main.statusText(0), QStringLiteral("账套:") + longName);
    EXPECT_TRUE(panel->text().endsWith(QChar(0x2026))) << panel->text().toStdString();
    EXPECT_LE(panel->sizeHint().width(), panel->maximumWidth());
    EXPECT_EQ(panel->toolTip(), QStringLiteral("账套:") + longName);
    // The other panels keep their room, and a short name is shown as it is.
    EXPECT_EQ(main.statusBar()->findChild<QLabel *>(QStringLiteral("StatusPanel1"))->text(),
              QStringLiteral("操作员:管理员"));
    EXPECT_LT(main.minimumSizeHint().width(), 1000);
    App().accName = QStringLiteral("测试帐套");
    main.RefreshAfterLogin();
    EXPECT_EQ(panel->text(), QStringLiteral("账套:测试帐套"));
    EXPECT_TRUE(panel->toolTip().isEmpty());
    messages.answers.enqueue(true);
    main.close();
}

TEST_F(MainWindowTest, RightsEnableActionsButWindowsOfLaterVersionsStayDisabled)
{
    LogIn(QStringLiteral("店员"), RightsWithout({9}));
    TfrmMain main;
    EXPECT_FALSE(main.action(QStringLiteral("acSetWinBg"))->isEnabled());   // Tag 9 not granted
    EXPECT_TRUE(main.action(QStringLiteral("acCalc"))->isEnabled());        // Tag 0
    EXPECT_TRUE(main.action(QStringLiteral("acExit"))->isEnabled());

    LogIn(QStringLiteral("管理员"), QString(180, QLatin1Char('1')));
    main.RefreshAfterLogin();
    EXPECT_TRUE(main.action(QStringLiteral("acSetWinBg"))->isEnabled());
    // Granting every right must not wake an action whose window is not in the program yet.
    for (QAction *a : main.actionList()) {
        if (main.isPendingAction(a->objectName())) {
            EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
        }
    }
    // A greyed menu item of a later version says so when the mouse rests on it.
    for (QMenu *menu : main.menuBar()->findChildren<QMenu *>()) {
        EXPECT_TRUE(menu->toolTipsVisible()) << menu->title().toStdString();
        for (QAction *a : menu->actions())
            if (main.isPendingAction(a->objectName())) {
                EXPECT_TRUE(a->toolTip().endsWith(kLaterVersionText)) << a->objectName().toStdString();
            }
    }
    if (main.isPendingAction(QStringLiteral("acExportServer"))) {   // its menu text is not its caption
        EXPECT_EQ(main.action(QStringLiteral("acExportServer"))->toolTip(),
                  QStringLiteral("服务器端导出数据：") + kLaterVersionText);
    }
    EXPECT_TRUE(main.isPendingAction(QStringLiteral("acSell")));
    EXPECT_EQ(main.action(QStringLiteral("acSell"))->property("Tag").toInt(), 41);
}

TEST_F(MainWindowTest, FieldVisibilityFromTheMenuTellsOthersItIsTheAdministrators)
{
    LogIn(QStringLiteral("店员"), QString(180, QLatin1Char('1')));
    TfrmMain main;
    QAction *a = main.action(QStringLiteral("acFieldPermisson"));
    ASSERT_TRUE(a->isEnabled()); // right 10 granted
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            opened = true;
            w->close();
        }
    });
    a->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(opened);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("只有管理员才能设置字段权限！")});
}

TEST_F(MainWindowTest, MenuFollowsTheOrderWithSeparatorsAndHiddenItems)
{
    TfrmMain main;
    QStringList titles;
    for (QAction *a : main.menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("文件(&F)"), QStringLiteral("远程(&R)"), QStringLiteral("窗口(&W)"),
                                   QStringLiteral("帮助(&H)")}));
    QMenu *file = main.menuBar()->actions().first()->menu();
    QStringList shown, hidden;
    for (QAction *a : file->actions()) {
        if (!a->isVisible())
            hidden << a->text();
        else
            shown << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(shown.join(QLatin1Char('|')),
              QStringLiteral("打开帐套...|更换操作员...|-|导入基础资料|整理数据并重算库存|-|设置计价方式...|打印设置...|-|"
                             "字段权限设置|查看系统日志|设置窗口背景图片|-|计算器...|-|实用工具程序...|-|退出系统"));
    EXPECT_EQ(hidden, (QStringList{QStringLiteral("备份帐套..."), QStringLiteral("恢复帐套"), QStringLiteral("清空所有数据"),
                                   QStringLiteral("用户管理"), QStringLiteral("修改密码")}));
    EXPECT_EQ(main.action(QStringLiteral("acExit"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(main.action(QStringLiteral("acHelp"))->shortcut(), QKeySequence(Qt::Key_F1));
}

TEST_F(MainWindowTest, ClosingAsksFirstAndOnlyOkCloses)
{
    TfrmMain main;
    main.show();
    main.ShowNavigation();

    messages.answers.enqueue(false);
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(messages.last(), QStringLiteral("您确实要退出服装系统吗？"));
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 1);

    messages.answers.enqueue(true);
    EXPECT_TRUE(main.close());
    EXPECT_FALSE(main.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty());   // the console went with it
    EXPECT_EQ(main.navigation(), nullptr);
}

TEST_F(MainWindowTest, ReLoginClosesOtherWindowsButTheConsoleStays)
{
    bool asked = false;
    TfrmMain::Hooks hooks;
    hooks.reLogin = [&](QWidget *) {
        asked = true;
        LogIn(QStringLiteral("李娜"), RightsWithout({9}));
        return true;
    };
    TfrmMain main(hooks);
    main.show();
    main.ShowNavigation();
    auto *child = new QWidget;
    child->setWindowTitle(QStringLiteral("部门资料"));
    main.AddChildWindow(child);
    QDialog floating;
    floating.show();
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 2);

    main.runAction(QStringLiteral("acReLogin"));
    QApplication::processEvents();

    EXPECT_TRUE(asked);
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(main.mdiArea()->subWindowList().first()->widget(), main.navigation());
    EXPECT_FALSE(floating.isVisible());
    EXPECT_EQ(main.statusText(1), QStringLiteral("操作员:李娜"));
    EXPECT_FALSE(main.action(QStringLiteral("acSetWinBg"))->isEnabled());
    messages.answers.enqueue(true);
    main.close();
}

TEST_F(MainWindowTest, BackgroundComesFromTheCurrentRowAndAnEmptyRowKeepsThePrevious)
{
    TfrmMain main;
    EXPECT_EQ(main.mdiArea()->picture().size(), QSize(183, 115));   // our own until the set has one

    set.op().ExecCommandParams(QStringLiteral("insert into winbg(WinBgID,BmpImage,iFlag) values(?,?,1)"),
                               {1, PngOf(QSize(40, 30), Qt::darkCyan)});
    main.RefreshAfterLogin();
    EXPECT_EQ(main.mdiArea()->picture().size(), QSize(40, 30));

    set.op().ExecCommand(QStringLiteral("update winbg set BmpImage=null"));
    main.RefreshAfterLogin();
    EXPECT_EQ(main.mdiArea()->picture().size(), QSize(40, 30));

    // Another window asks for a reload through the posted event.
    set.op().ExecCommandParams(QStringLiteral("insert into winbg(WinBgID,BmpImage,iFlag) values(?,?,0)"),
                               {2, PngOf(QSize(64, 48), Qt::darkRed)});
    QCoreApplication::postEvent(main.mdiArea(), new TReloadBackgroundEvent(2));
    QApplication::processEvents();
    EXPECT_EQ(main.mdiArea()->picture().size(), QSize(64, 48));
}

TEST_F(MainWindowTest, AfterLoginCompanyNameAndPriceModeAreLoaded)
{
    set.op().ExecCommandParams(QStringLiteral("update company set name=?"), {QStringLiteral("杭州衣尚服饰有限公司")});
    set.op().ExecCommand(QStringLiteral("update sysinfo set InfoValue=2 where SysInfoID=2"));
    TfrmMain main;
    EXPECT_EQ(App().companyName, QStringLiteral("杭州衣尚服饰有限公司"));
    EXPECT_EQ(App().priceMode, 2);
}

// --- the console -------------------------------------------------------------------------------

TEST_F(MainWindowTest, ConsoleOpensOnSalesAndCannotBeClosed)
{
    TfrmMain main;
    main.show();
    TfrmNavigation *console = main.ShowNavigation();
    EXPECT_EQ(console->windowTitle(), QStringLiteral("系统控制台"));
    EXPECT_EQ(console->currentPage(), QStringLiteral("销售管理"));
    QMdiSubWindow *sub = main.mdiArea()->subWindowList().first();
    EXPECT_FALSE(sub->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(sub->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(sub->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(sub->close());
    EXPECT_EQ(main.ShowNavigation(), console);   // one console, brought to the front
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 1);
    messages.answers.enqueue(true);
    main.close();
}

TEST_F(MainWindowTest, SaleButtonWithoutRight41SaysSoAndOpensNothing)
{
    LogIn(QStringLiteral("店员"), RightsWithout({41}));
    TfrmMain main;
    main.show();
    TfrmNavigation *console = main.ShowNavigation();
    auto *sale = console->findChild<QToolButton *>(QStringLiteral("销售单"));
    ASSERT_NE(sale, nullptr);
    const int windowsBefore = int(main.mdiArea()->subWindowList().size());
    const QList<QWidget *> topBefore = VisibleTopLevels();

    QTest::mouseClick(sale, Qt::LeftButton);

    EXPECT_EQ(messages.texts(), QStringList{kNoRight});
    EXPECT_EQ(messages.shown.first().kind, IMessageService::Kind::Info);
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), windowsBefore);
    EXPECT_EQ(VisibleTopLevels(), topBefore);
    messages.answers.enqueue(true);
    main.close();
}

TEST_F(MainWindowTest, EntriesTestTheirRightsAndReportsNeedNone)
{
    LogIn(QStringLiteral("店员"), QString(180, QLatin1Char('0')));
    TfrmNavigation console;
    for (const TNavigationEntry &entry : console.entries()) {
        SCOPED_TRACE(entry.caption.toStdString());
        messages.clear();
        console.runEntry(entry.caption);
        ASSERT_FALSE(messages.shown.isEmpty());
        if (entry.right > 0)
            EXPECT_EQ(messages.texts(), QStringList{kNoRight});
        else
            EXPECT_NE(messages.last(), kNoRight);
    }
    // Every report caption of the sales page is among them, without a right.
    for (const char *report : {"销售汇总表", "销售明细表", "销售排行榜", "销售毛利润表", "客户销售汇总表"}) {
        const QString caption = QString::fromUtf8(report);
        const auto it = std::find_if(console.entries().begin(), console.entries().end(),
                                     [&](const TNavigationEntry &e) { return e.caption == caption; });
        ASSERT_NE(it, console.entries().end()) << report;
        EXPECT_EQ(it->right, 0);
    }
}

TEST_F(MainWindowTest, LinksTurnRedAndUnderlinedUnderTheMouse)
{
    TfrmNavigation console;
    console.showPage(QStringLiteral("销售管理"));
    auto *link = console.findChild<TNavigationLink *>(QStringLiteral("销售汇总表"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::black));

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(link, &enter);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_TRUE(link->font().underline());

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_FALSE(link->font().underline());
}

// Without a mouse: the arrow keys choose the page, Tab reaches the captions, Enter runs one.
TEST_F(MainWindowTest, ConsoleWorksFromTheKeyboard)
{
    LogIn(QStringLiteral("店员"), QString(180, QLatin1Char('0')));
    TfrmNavigation console;
    console.show();
    auto *pages = console.findChild<QListWidget *>(QStringLiteral("navPages"));
    ASSERT_NE(pages, nullptr);
    EXPECT_NE(pages->focusPolicy() & Qt::TabFocus, 0);
    pages->setFocus();
    QTest::keyClick(pages, Qt::Key_Up);
    QTest::keyClick(pages, Qt::Key_Up);
    EXPECT_EQ(console.currentPage(), QStringLiteral("基础资料"));

    auto *link = console.findChild<TNavigationLink *>(QStringLiteral("供应商资料"));
    ASSERT_NE(link, nullptr);
    EXPECT_NE(link->focusPolicy() & Qt::TabFocus, 0);
    link->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(link->font().underline());   // shows where the focus is
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        messages.clear();
        QTest::keyClick(link, key);
        EXPECT_EQ(messages.texts(), QStringList{kNoRight}) << key;
    }

    console.showPage(QStringLiteral("销售管理"));
    auto *sale = console.findChild<QToolButton *>(QStringLiteral("销售单"));
    ASSERT_NE(sale, nullptr);
    sale->setFocus();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        messages.clear();
        QTest::keyClick(sale, key);
        EXPECT_EQ(messages.texts(), QStringList{kNoRight}) << key;
    }
}

TEST_F(MainWindowTest, ClearingAllDataNeedsTheAccessCode)
{
    TfrmMain main;
    auto customers = [&] { return set.op().ScalarInt(QStringLiteral("select count(*) from Customer")); };
    set.op().ExecCommand(QStringLiteral("insert into Customer(CustomerID,cCusShortName) values(1,'零售客户')"));

    messages.inputs.enqueue(QStringLiteral("0000000000"));
    main.runAction(QStringLiteral("acClearData"));
    EXPECT_TRUE(messages.saw(QStringLiteral("密码错误，您没有权限删除数据！")));
    EXPECT_EQ(customers(), 1);

    messages.clear();
    messages.inputs.enqueue(QString::fromLatin1(kClearDataAccessCode));
    main.runAction(QStringLiteral("acClearData"));
    EXPECT_FALSE(messages.saw(QStringLiteral("密码错误，您没有权限删除数据！")));
    EXPECT_EQ(customers(), 0);
    // Operators stay, or nobody could log in again.
    EXPECT_EQ(set.op().ScalarInt(QStringLiteral("select count(*) from Operator where cUserName='管理员'")), 1);
}

TEST_F(MainWindowTest, ImportingBaseDataAsksBeforeItPicksAFile)
{
    TfrmMain main;
    messages.answers.enqueue(false);
    main.runAction(QStringLiteral("acImport"));
    EXPECT_EQ(messages.last(), QStringLiteral("导入基础资料会删除当前账套的所有历史单据，您确实要导入基础资料吗？"));
    EXPECT_EQ(messages.shown.last().kind, IMessageService::Kind::WarningConfirm);
    EXPECT_TRUE(messages.dialogCaptions.isEmpty());
}

// A list left open over replaced data would write the row it shows into a key that now names
// another row: clearing and importing close the other windows first, and stop when one refuses.
TEST_F(MainWindowTest, ClearingAndImportingCloseTheOtherWindowsFirst)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("base.mdb"));
    CreateAccountSetDatabase(source);
    struct Case {
        const char *action;
        std::function<void()> answer;
        const char *done;
    };
    const Case cases[] = {
        {"acClearData", [&] { messages.inputs.enqueue(QString::fromLatin1(kClearDataAccessCode)); }, "所有数据已清空！"},
        {"acImport", [&] {
             messages.answers.enqueue(true);
             messages.files.enqueue(source);
         }, "数据导入成功，请退出程序，然后再进入，以查看效果！"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.action);
        TfrmMain main;
        main.show();
        TfrmNavigation *console = main.ShowNavigation();
        console->runEntry(QStringLiteral("部门资料"));
        ASSERT_EQ(main.mdiArea()->subWindowList().size(), 2);

        // a window that will not close keeps the data as it is
        set.op().ExecCommand(QStringLiteral("insert into Customer(CustomerID,cCusShortName) values(9,'甲')"));
        RefusingWindow stubborn;
        stubborn.show();
        messages.clear();
        c.answer();
        main.runAction(QLatin1String(c.action));
        EXPECT_EQ(messages.last(), QStringLiteral("请先关闭其它窗口，然后再执行此功能！"));
        EXPECT_EQ(set.op().ScalarInt(QStringLiteral("select count(*) from Customer where CustomerID=9")), 1);
        stubborn.allow = true;
        stubborn.close();

        console->runEntry(QStringLiteral("部门资料"));
        messages.clear();
        c.answer();
        main.runAction(QLatin1String(c.action));
        QApplication::processEvents();
        EXPECT_EQ(messages.last(), QString::fromUtf8(c.done));
        ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
        EXPECT_EQ(main.mdiArea()->subWindowList().first()->widget(), main.navigation());
        EXPECT_EQ(set.op().ScalarInt(QStringLiteral("select count(*) from Customer where CustomerID=9")), 0);
        main.navigation()->allowClose();
    }
}

TEST_F(MainWindowTest, OpeningAChildListTwiceBringsTheFirstToTheFront)
{
    TfrmMain main;
    main.show();
    TfrmNavigation *console = main.ShowNavigation();
    console->showPage(QStringLiteral("基础资料"));

    console->runEntry(QStringLiteral("部门资料"));
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 2);
    QMdiSubWindow *departments = main.mdiArea()->subWindowList().last();
    console->runEntry(QStringLiteral("品牌资料"));
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 3);
    EXPECT_NE(main.mdiArea()->activeSubWindow(), departments);

    console->runEntry(QStringLiteral("部门资料"));
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 3);
    EXPECT_EQ(main.mdiArea()->activeSubWindow(), departments);
    EXPECT_TRUE(messages.shown.isEmpty());

    // Re-login takes them away again; the console stays.
    main.CloseOtherWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 1);
    messages.answers.enqueue(true);
    main.close();
}

TEST_F(MainWindowTest, ComingBackToTheMainWindowLeavesTheChildInFrontOfTheConsole)
{
    TfrmMain main;
    main.show();
    TfrmNavigation *console = main.ShowNavigation();
    console->showPage(QStringLiteral("基础资料"));
    console->runEntry(QStringLiteral("地区资料"));
    QMdiSubWindow *areas = main.mdiArea()->activeSubWindow();
    ASSERT_NE(areas, nullptr);
    ASSERT_NE(areas->widget(), console);

    // as after every message box, input box or modal list
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&main, &activate);
    EXPECT_EQ(main.mdiArea()->activeSubWindow(), areas);
    EXPECT_EQ(main.navigation(), console);

    messages.answers.enqueue(true);
    main.close();
}

TEST_F(MainWindowTest, OpeningAnotherSetWithoutLoginReturnsToThePreviousSet)
{
    ASSERT_TRUE(QDir(set.dataDir()).mkpath(QStringLiteral("other")));
    CreateAccountSetDatabase(set.dataDir() + QStringLiteral("other/spData.mdb"));
    ASSERT_TRUE(OpenAccountSet(QStringLiteral("demo"), QStringLiteral("测试帐套"), QString()));
    TfrmMain::Hooks hooks;
    hooks.openAccountSet = [](QWidget *) {
        // The dialog opened the other set, then its login was cancelled and the dialog too.
        OpenAccountSet(QStringLiteral("other"), QStringLiteral("另一个帐套"), QString());
        return false;
    };
    TfrmMain main(hooks);
    main.runAction(QStringLiteral("acOpenAccount"));
    EXPECT_EQ(App().accCode, QStringLiteral("demo"));
    EXPECT_EQ(App().dm->databaseFile(), set.databaseFile());
    EXPECT_EQ(main.statusText(0), QStringLiteral("账套:测试帐套"));
}

namespace {
// A child window with unsaved work whose user chose to stay.
class StubbornChild : public QWidget {
protected:
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};
} // namespace

TEST_F(MainWindowTest, AChildThatRefusesToCloseKeepsTheProgramRunning)
{
    TfrmMain main;
    main.show();
    main.ShowNavigation();
    auto *child = new StubbornChild;
    main.AddChildWindow(child);
    messages.answers.enqueue(true);
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(main.navigation(), nullptr);
    EXPECT_TRUE(main.navigation()->isVisible());
    EXPECT_FALSE(main.navigation()->close());   // and still refuses the user
    delete child->parentWidget();
    messages.answers.enqueue(true);
    EXPECT_TRUE(main.close());
}
