#include "shell/QtMessageService.h"
#include "shell/SelectMonth.h"
#include "shell/ShowChildForm.h"
#include "shell/StatusBarPanels.h"
#include "shell/WaitWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

void ProcessDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

TEST(SelectMonth, UpArrowGoesBackDownGoesForwardWithinTenYears)
{
    TfrmSelectMonth dialog(nullptr, QDate(2024, 3, 15));
    EXPECT_EQ(dialog.windowTitle(), "选择");
    EXPECT_TRUE(dialog.monthEdit()->isReadOnly());
    EXPECT_EQ(dialog.month(), "2024.03");

    QTest::mouseClick(dialog.upDown()->upButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.month(), "2024.02");
    QTest::mouseClick(dialog.upDown()->downButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.upDown()->downButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.month(), "2024.04");
    QTest::keyClick(dialog.monthEdit(), Qt::Key_Up);
    EXPECT_EQ(dialog.month(), "2024.03");

    for (int i = 0; i < 130; ++i)
        QTest::mouseClick(dialog.upDown()->upButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.month(), "2014.03");
    for (int i = 0; i < 250; ++i)
        QTest::mouseClick(dialog.upDown()->downButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.month(), "2034.03");
}

TEST(SelectMonth, ReturnsTheMonthOnlyOnOk)
{
    auto answer = [](bool ok) {
        QTimer::singleShot(0, [ok] {
            auto *dialog = qobject_cast<TfrmSelectMonth *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QTest::mouseClick(dialog->upDown()->upButton(), Qt::LeftButton);
            ok ? dialog->accept() : dialog->reject();
        });
    };
    answer(true);
    EXPECT_EQ(SelectMonth(nullptr, QDate(2003, 1, 10)), std::make_pair(true, QString("2002.12")));
    answer(false);
    EXPECT_EQ(SelectMonth(nullptr, QDate(2003, 1, 10)), std::make_pair(false, QString()));
}

TEST(ShowChildForm, OneMdiChildPerSlotBroughtBackToFront)
{
    QMainWindow main;
    auto *area = new QMdiArea(&main);
    main.setCentralWidget(area);
    main.resize(800, 600);
    main.show();

    QPointer<QWidget> slot;
    int created = 0;
    auto factory = [&] {
        ++created;
        auto *w = new QWidget;
        w->setWindowTitle("销售汇总表");
        return w;
    };
    QWidget *first = ShowChildForm(slot, factory, area);
    ASSERT_EQ(slot.data(), first);
    QPointer<QWidget> other;
    ShowChildForm(other, [] { return new QLabel("其他"); }, area);
    auto *firstSub = qobject_cast<QMdiSubWindow *>(first->parentWidget());
    ASSERT_NE(firstSub, nullptr);
    firstSub->showMinimized();

    EXPECT_EQ(ShowChildForm(slot, factory, area), first);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(area->activeSubWindow(), firstSub);
    EXPECT_FALSE(firstSub->isMinimized());

    firstSub->close();
    ProcessDeletes();
    EXPECT_TRUE(slot.isNull());
    EXPECT_NE(ShowChildForm(slot, factory, area), nullptr);
    EXPECT_EQ(created, 2);
}

TEST(ShowChildForm, FailedCreationLeavesTheSlotEmpty)
{
    QMdiArea area;
    QPointer<QWidget> slot = new QLabel("旧", &area);
    delete slot.data(); // a window that is gone
    EXPECT_THROW(ShowChildForm(slot, []() -> QWidget * { throw std::runtime_error("失败"); }, &area),
                 std::runtime_error);
    EXPECT_TRUE(slot.isNull());
}

TEST(ShowChildForm, OwnWindowOnlyHidesWhenClosed)
{
    QWidget owner;
    QPointer<QWidget> slot;
    int created = 0;
    auto factory = [&] { ++created; return new QWidget; };
    QWidget *list = ShowChildForm(slot, factory, &owner);
    EXPECT_EQ(list->parentWidget(), &owner);
    EXPECT_TRUE(list->isWindow());
    list->close();
    ProcessDeletes();
    ASSERT_FALSE(slot.isNull());
    EXPECT_EQ(ShowChildForm(slot, factory, &owner), list);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(created, 1);
}

TEST(StatusBarPanels, ProgressBarCoversPanelOne)
{
    QMainWindow main;
    main.resize(900, 500);
    QStatusBar *bar = main.statusBar();
    QLabel *account = AddStatusPanel(bar, 200, "账套:演示");
    QLabel *user = AddStatusPanel(bar, 160, "操作员:管理员");
    AddStatusPanel(bar, 140, "日期：2024.03.15");
    EXPECT_EQ(StatusPanel(bar, 1), user);
    EXPECT_EQ(StatusPanel(bar, 3), nullptr);
    main.show();
    QCoreApplication::processEvents();

    QProgressBar progress;
    PlaceProgressBar(&progress, bar);
    EXPECT_EQ(progress.parentWidget(), bar);
    EXPECT_EQ(progress.geometry(),
              QRect(account->geometry().x() + account->width() + 2, 2, user->width() - 2, 17));
    EXPECT_TRUE(progress.isVisible());
}

TEST(WaitWindow, GuardShowsTheMessageAndRestoresTheCursor)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        TWaitMessage outer("正在处理数据，请稍后...");
        EXPECT_TRUE(outer.window().isVisible());
        EXPECT_EQ(outer.window().message(), "正在处理数据，请稍后...");
        EXPECT_FALSE(outer.window().progressBar()->isVisible());
        EXPECT_TRUE(outer.window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        {
            TWaitMessage inner("正在导入...");
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        ASSERT_NE(QApplication::overrideCursor(), nullptr); // the outer wait is still on
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtMessageService, CanBeInstalled)
{
    QtMessageService service;
    SetMessageService(&service);
    EXPECT_EQ(&Messages(), &service);
    SetMessageService(nullptr);
}
