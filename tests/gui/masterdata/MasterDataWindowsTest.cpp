#include "MasterDataGuiSupport.h"
#include "ScriptedMessages.h"
#include "TestAccountSet.h"
#include "data/DBGrid.h"
#include "data/GridPrint.h"
#include "masterdata/MasterDataEditDialog.h"
#include "masterdata/MasterDataListWindow.h"
#include "masterdata/MasterDataSet.h"
#include "shell/AppContext.h"
#include "shell/UserInfo.h"

#include <QAction>
#include <QCheckBox>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct ListWindowFixture : ::testing::Test {
    TestAccountSet set;
    ScriptedMessages messages;
    TOpData &op() { return set.op(); }
    void SetUp() override { CurrentUser().userName = QStringLiteral("管理员"); }
};

QLineEdit *LineEdit(TMasterDataEditDialog *dialog, const char *column)
{
    auto *edit = qobject_cast<QLineEdit *>(dialog->editor(column));
    EXPECT_NE(edit, nullptr) << column;
    return edit;
}

QStringList VisibleTitles(TDBGrid *grid)
{
    QStringList titles;
    for (int c : grid->visibleColumns())
        titles << grid->columnTitle(c);
    return titles;
}

} // namespace

TEST_F(ListWindowFixture, EveryMemberOpensWithItsColumnsAndFieldsBound)
{
    for (MasterDataKind kind : AllMasterDataKinds()) {
        const TMasterDataMember &m = MasterDataMember(kind);
        const int logged = op().ScalarInt("select count(*) from syslog");
        TMasterDataListWindow window(kind);
        SCOPED_TRACE(m.listClass.toStdString());
        EXPECT_EQ(window.windowTitle(), m.listCaption);
        EXPECT_EQ(window.editDialog()->windowTitle(), m.dialogCaption);
        EXPECT_EQ(window.grid()->dataSet(), window.editDialog()->dataSet()); // one live dataset
        QStringList expected;
        for (const TListColumn &c : m.listColumns) {
            EXPECT_GE(window.grid()->columnOf(c.column), 0) << c.column.toStdString();
            expected << c.caption;
        }
        EXPECT_EQ(VisibleTitles(window.grid()), expected);
        for (const TDialogField &f : m.fields) {
            EXPECT_NE(window.dataSet()->findField(f.column), nullptr) << f.column.toStdString();
            EXPECT_NE(window.editDialog()->editor(f.column), nullptr) << f.column.toStdString();
        }
        EXPECT_EQ(op().ScalarInt("select count(*) from syslog") - logged, m.writesSysLog ? 1 : 0);
        if (m.writesSysLog) {
            EXPECT_EQ(op().ScalarText("select OpModule from syslog order by SysLogID desc limit 1"), m.listCaption);
        }
    }
}

TEST_F(ListWindowFixture, NewAndAddSaveCustomersWithConsecutiveKeys)
{
    op().ExecCommand("update TablesID set NextID=41 where TableName='Customer'");
    TMasterDataListWindow window(MasterDataKind::Customer);
    TMasterDataEditDialog *dialog = window.editDialog();
    WhileModal(dialog, [&] { window.acNew->trigger(); }, [&] {
        EXPECT_EQ(dialog->focusWidget(), dialog->editor("cCusShortName"));
        TypeInto(LineEdit(dialog, "cCusShortName"), "华联商厦");
        TypeInto(LineEdit(dialog, "cCusCode"), "HL01");
        dialog->addButton()->click();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(window.dataSet()->state(), TDataSet::State::Insert);
        EXPECT_EQ(LineEdit(dialog, "cCusShortName")->text(), "");
        TypeInto(LineEdit(dialog, "cCusShortName"), "百盛");
        dialog->okButton()->click();
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(op().ScalarText("select cCusShortName||','||cCusCode from Customer where CustomerID=41"), "华联商厦,HL01");
    EXPECT_EQ(op().ScalarText("select cCusShortName from Customer where CustomerID=42"), "百盛");
    // the list shows the saved rows without being read again
    EXPECT_EQ(window.grid()->model()->rowCount(), 2);
}

TEST_F(ListWindowFixture, EmptyRequiredFieldKeepsTheDialogOpen)
{
    struct Case {
        MasterDataKind kind;
        const char *typeColumn;   // filled before OK (nullptr: nothing)
        const char *message;
        const char *emptyColumn;  // where the cursor is put to mend it
    };
    const Case cases[] = {
        {MasterDataKind::Customer, "cCusCode", "客户简称不能为空！", "cCusShortName"},
        {MasterDataKind::Vendor, nullptr, "供应商简称不能为空！", "cVenShortName"},
        {MasterDataKind::Vendor, "cVenShortName", "供应商全称不能为空！", "cVenName"},
        {MasterDataKind::Color, "barcode", "颜色名称不能为空！", "name"},
    };
    for (const Case &c : cases) {
        messages.clear();
        TMasterDataListWindow window(c.kind);
        TMasterDataEditDialog *dialog = window.editDialog();
        const QString table = window.member().table;
        WhileModal(dialog, [&] { window.acNew->trigger(); }, [&] {
            if (c.typeColumn)
                TypeInto(LineEdit(dialog, c.typeColumn), "X1");
            dialog->okButton()->click();
            EXPECT_TRUE(dialog->isVisible()) << c.message;
            EXPECT_EQ(dialog->focusWidget(), dialog->editor(c.emptyColumn)) << c.message;
            dialog->cancelButton()->setFocus();
            dialog->addButton()->click(); // "增加" appends nothing either
            EXPECT_EQ(dialog->focusWidget(), dialog->editor(c.emptyColumn)) << c.message;
            EXPECT_EQ(window.dataSet()->recordCount(), 1);
            dialog->cancelButton()->click();
        });
        EXPECT_EQ(messages.texts(), QStringList({c.message, c.message}));
        EXPECT_EQ(op().ScalarInt(QStringLiteral("select count(*) from %1").arg(table)), 0);
        EXPECT_EQ(window.dataSet()->state(), TDataSet::State::Browse);
        EXPECT_EQ(window.dataSet()->recordCount(), 0);
    }
}

TEST_F(ListWindowFixture, DatabaseRefusalOnOkClosesAndLeavesTheRowPending)
{
    op().ExecCommand("insert into Unit(cUnName) values('盒')");
    TMasterDataListWindow window(MasterDataKind::Unit);
    TMasterDataEditDialog *dialog = window.editDialog();
    WhileModal(dialog, [&] { window.acNew->trigger(); }, [&] {
        TypeInto(LineEdit(dialog, "cUnName"), "盒"); // the name is the unit's key
        dialog->okButton()->click();
        EXPECT_FALSE(dialog->isVisible());
    });
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.last().startsWith("保存数据库发生错误，输入的数据不唯一！\r错误原因:"));
    EXPECT_EQ(window.dataSet()->state(), TDataSet::State::Insert);
    // "新增" again brings the pending row back to be mended
    WhileModal(dialog, [&] { window.acNew->trigger(); }, [&] {
        EXPECT_EQ(LineEdit(dialog, "cUnName")->text(), "盒");
        TypeInto(LineEdit(dialog, "cUnName"), "箱");
        dialog->okButton()->click();
    });
    EXPECT_EQ(op().ScalarInt("select count(*) from Unit where cUnName in ('盒','箱')"), 2);
}

TEST_F(ListWindowFixture, DeleteOfARowStillInUseIsRefusedWithTheReason)
{
    op().ExecCommand("insert into Color(ColorID,Name,BarCode) values(1,'红','01'),(2,'蓝','02')");
    op().ExecCommand("insert into Customer(CustomerID,cCusShortName) values(1,'甲'),(2,'乙')");
    op().ExecCommand("insert into Sell(SellID,cCode,CustomerID,StoreID) values(1,'XS06120001',2,1)");
    op().ExecCommand("insert into SellD(SellID,ItemNo,cInvCode,ColorID) values(1,1,'A001',2)");
    struct Case {
        MasterDataKind kind;
        const char *locateColumn;
        QVariant locateValue;
        const char *reason;
        const char *count;
    };
    const Case cases[] = {
        {MasterDataKind::Color, "ColorID", 2, "该颜色已被销售单使用，不能删除！", "select count(*) from Color"},
        {MasterDataKind::Customer, "CustomerID", 2, "该客户已被销售单使用，不能删除！", "select count(*) from Customer"},
    };
    for (const Case &c : cases) {
        messages.clear();
        TMasterDataListWindow window(c.kind);
        ASSERT_TRUE(window.dataSet()->locate(c.locateColumn, c.locateValue));
        window.acDelete->trigger();
        ASSERT_EQ(messages.shown.size(), 2) << c.reason;
        EXPECT_EQ(messages.shown.at(0).text, "删除后不能恢复，您确实要删除当前行吗?");
        EXPECT_TRUE(messages.last().startsWith("删除数据时发生错误，可能是您的数据未处于修改状态！\r错误原因:"));
        EXPECT_TRUE(messages.last().contains(c.reason)) << messages.last().toStdString();
        EXPECT_EQ(op().ScalarInt(c.count), 2);
        EXPECT_EQ(window.dataSet()->recordCount(), 2);

        // a row nothing uses goes
        ASSERT_TRUE(window.dataSet()->locate(c.locateColumn, 1));
        window.acDelete->trigger();
        EXPECT_EQ(op().ScalarInt(c.count), 1);
        EXPECT_EQ(window.grid()->model()->rowCount(), 1);
    }
}

TEST_F(ListWindowFixture, DeleteOnAnEmptyListAsksNothing)
{
    TMasterDataListWindow window(MasterDataKind::Brand);
    window.acDelete->trigger();
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(ListWindowFixture, CustomerListOpensOnTheSecondCustomerAndShowsTheReceivable)
{
    op().ExecCommand("insert into Customer(CustomerID,cCusShortName,iCusBMoney,iCusDMoney,iCusFMoney) "
                     "values(1,'甲',0,0,0),(2,'乙',100,50,30),(3,'丙',0,0,0)");
    op().ExecCommand("insert into Vendor(VendorID,cVenShortName,cVenName) values(1,'甲','甲公司'),(2,'乙','乙公司')");
    TMasterDataListWindow customers(MasterDataKind::Customer);
    EXPECT_EQ(customers.dataSet()->recNo(), 2);
    const int column = customers.grid()->columnOf("irecievemoney");
    EXPECT_EQ(customers.grid()->model()->index(1, column).data().toString(), "120.00"); // money: two decimals
    TMasterDataListWindow vendors(MasterDataKind::Vendor);
    EXPECT_EQ(vendors.dataSet()->recNo(), 1);
    EXPECT_EQ(vendors.grid()->model()->index(0, vendors.grid()->columnOf("ipaymoney")).data().toString(), "0.00");
}

TEST_F(ListWindowFixture, IncomeExpenseChoiceFiltersTheListAndStampsNewItems)
{
    op().ExecCommand("insert into IEType(IETypeID,IEType,iFlag) values(1,'利息',0),(2,'房租',1),(3,'水电',1)");
    op().ExecCommand("update TablesID set NextID=10 where TableName='IEType'");
    TMasterDataListWindow window(MasterDataKind::IEType);
    ASSERT_NE(window.kindChoice(), nullptr);
    EXPECT_EQ(window.kindChoice()->currentText(), "收入项目");
    EXPECT_EQ(window.grid()->model()->rowCount(), 1);

    window.kindChoice()->setCurrentIndex(1);
    EXPECT_EQ(window.grid()->model()->rowCount(), 2);
    TMasterDataEditDialog *dialog = window.editDialog();
    WhileModal(dialog, [&] { window.acNew->trigger(); }, [&] {
        EXPECT_EQ(LineEdit(dialog, "iFlag")->text(), "支出项目");
        EXPECT_FALSE(LineEdit(dialog, "iFlag")->isEnabled() && !LineEdit(dialog, "iFlag")->isReadOnly());
        TypeInto(LineEdit(dialog, "IEType"), "工资");
        dialog->okButton()->click();
    });
    EXPECT_EQ(op().ScalarInt("select iFlag from IEType where IETypeID=10"), 1);
    EXPECT_EQ(window.grid()->model()->rowCount(), 3);
    window.kindChoice()->setCurrentIndex(0);
    EXPECT_EQ(window.grid()->model()->rowCount(), 1);

    // a pending item that cannot be saved keeps the choice where it was
    window.dataSet()->append();
    messages.clear();
    window.kindChoice()->setCurrentIndex(1);
    EXPECT_EQ(messages.texts(), QStringList{"名称不能为空！"});
    EXPECT_EQ(window.kindChoice()->currentText(), "收入项目");
    EXPECT_EQ(window.dataSet()->chosenKind(), 0);
    window.dataSet()->cancel();
    window.dataSet()->append();
    EXPECT_EQ(window.dataSet()->fieldByName("iFlag").asInteger(), 0);
    window.dataSet()->cancel();
}

// A tool-bar entry pushed into the overflow menu is one the user never finds; the income or
// expense choice above all, without which expense items cannot even be listed.
TEST_F(ListWindowFixture, EveryToolBarEntryFitsTheListWindowAsItOpens)
{
    for (MasterDataKind kind : AllMasterDataKinds()) {
        TMasterDataListWindow window(kind);
        window.resize(window.sizeHint());
        window.show();
        QApplication::processEvents();
        auto *bar = window.findChild<QToolBar *>(QStringLiteral("ToolBar1"));
        ASSERT_NE(bar, nullptr);
        for (QAction *a : bar->actions()) {
            if (a->isSeparator())
                continue;
            QWidget *w = bar->widgetForAction(a);
            ASSERT_NE(w, nullptr);
            EXPECT_TRUE(w->isVisible()) << window.member().listClass.toStdString() << " " << a->text().toStdString();
        }
        if (window.kindChoice()) {
            EXPECT_TRUE(window.kindChoice()->isVisible());
        }
    }
}

TEST_F(ListWindowFixture, AreaDropDownIsIndentedByCodeDepthAndReloadedOnShow)
{
    op().ExecCommand("insert into Area(AreaID,cArCode,cArName) values(1,'10','华东'),(2,'1001','上海'),(3,'100101','浦东')");
    TMasterDataListWindow window(MasterDataKind::Customer);
    TMasterDataEditDialog *dialog = window.editDialog();
    op().ExecCommand("insert into Area(AreaID,cArCode,cArName) values(4,'11','华北')"); // added after the dialog was made
    WhileModal(dialog, [&] { window.acNew->trigger(); }, [&] {
        auto *area = qobject_cast<QComboBox *>(dialog->editor("AreaID"));
        ASSERT_NE(area, nullptr);
        QStringList texts;
        for (int i = 0; i < area->count(); ++i)
            texts << area->itemText(i);
        EXPECT_EQ(texts, QStringList({"华东", "  上海", "    浦东", "华北"}));
        area->setCurrentIndex(2);
        Q_EMIT area->activated(2);
        EXPECT_EQ(dialog->areaNameBox()->text(), "浦东");
        EXPECT_TRUE(dialog->areaNameBox()->isReadOnly());
        TypeInto(LineEdit(dialog, "cCusShortName"), "浦东店");
        dialog->okButton()->click();
    });
    EXPECT_EQ(op().ScalarInt("select AreaID from Customer"), 3);
}

TEST_F(ListWindowFixture, AreaNameFollowsTheCurrentRow)
{
    op().ExecCommand("insert into Area(AreaID,cArCode,cArName) values(1,'10','华东'),(2,'1001','上海')");
    op().ExecCommand("insert into Vendor(VendorID,cVenShortName,cVenName,AreaID) values(1,'甲','甲',1),(2,'乙','乙',2)");
    TMasterDataListWindow window(MasterDataKind::Vendor);
    TMasterDataEditDialog *dialog = window.editDialog();
    window.dataSet()->first();
    EXPECT_EQ(dialog->areaNameBox()->text(), "华东");
    window.dataSet()->next();
    EXPECT_EQ(dialog->areaNameBox()->text(), "上海");
}

TEST_F(ListWindowFixture, StoreDialogMovesOnEnterAndStepsThroughRows)
{
    op().ExecCommand("insert into Store(StoreID,cStoName) values(2,'一店'),(3,'二店')");
    op().ExecCommand("update TablesID set NextID=4 where TableName='Store'");
    TMasterDataListWindow window(MasterDataKind::Store);
    TMasterDataEditDialog *dialog = window.editDialog();
    const QList<QToolButton *> nav = dialog->navigatorButtons();
    ASSERT_EQ(nav.size(), 4);
    EXPECT_EQ(nav.at(0)->toolTip(), "第一条");
    EXPECT_EQ(nav.at(3)->toolTip(), "末一条");
    WhileModal(dialog, [&] { window.acEdit->trigger(); }, [&] {
        QWidget *name = dialog->editor("cStoName");
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_EQ(dialog->focusWidget(), dialog->editor("cStoAddress"));
        EXPECT_TRUE(dialog->isVisible());

        nav.at(3)->click();
        EXPECT_EQ(LineEdit(dialog, "cStoName")->text(), "二店");
        nav.at(1)->click();
        EXPECT_EQ(LineEdit(dialog, "cStoName")->text(), "一店");
        nav.at(0)->click();
        EXPECT_EQ(window.dataSet()->recNo(), 1);
    });
    WhileModal(dialog, [&] { window.acNew->trigger(); }, [&] {
        EXPECT_FALSE(qobject_cast<QCheckBox *>(dialog->editor("bStoDefaultFlag"))->isChecked());
        TypeInto(LineEdit(dialog, "cStoName"), "三店");
        dialog->okButton()->click();
    });
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(op().ScalarText("select cStoValueStyle from Store where cStoName='三店'"), "移动加权平均");
    EXPECT_EQ(op().ScalarInt("select bStoDefaultFlag from Store where cStoName='三店'"), 0);

    // "增加" leaves a blank row; stepping away from it drops it instead of refusing its empty name,
    // while a row typed into is saved before the step
    const int stores = op().ScalarInt("select count(*) from Store");
    WhileModal(dialog, [&] { window.acNew->trigger(); }, [&] {
        TypeInto(LineEdit(dialog, "cStoName"), "四店");
        dialog->addButton()->click();
        nav.at(0)->click();
        EXPECT_EQ(window.dataSet()->state(), TDataSet::State::Browse);
        EXPECT_EQ(window.dataSet()->recNo(), 1);
        dialog->addButton()->click();
        TypeInto(LineEdit(dialog, "cStoName"), "五店");
        nav.at(1)->click();
        EXPECT_EQ(window.dataSet()->state(), TDataSet::State::Browse);
    });
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(op().ScalarInt("select count(*) from Store"), stores + 2);
    EXPECT_EQ(window.dataSet()->recordCount(), stores + 2);
}

// Keyboard entry of many colours: name, Enter, barcode, Enter reaches "存盘并增加", and Enter
// there saves and starts the next colour.
TEST_F(ListWindowFixture, EnterAsTabLeadsFromTheLastFieldToTheButtons)
{
    TMasterDataListWindow window(MasterDataKind::Color);
    TMasterDataEditDialog *dialog = window.editDialog();
    WhileModal(dialog, [&] { window.acNew->trigger(); }, [&] {
        TypeInto(LineEdit(dialog, "name"), "藏青");
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
        EXPECT_EQ(dialog->focusWidget(), dialog->editor("barcode"));
        TypeInto(LineEdit(dialog, "barcode"), "21");
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
        EXPECT_EQ(dialog->focusWidget(), dialog->addButton());
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
        EXPECT_EQ(op().ScalarInt("select count(*) from Color where Name='藏青' and barcode='21'"), 1);
        EXPECT_EQ(window.dataSet()->state(), TDataSet::State::Insert);
        EXPECT_EQ(dialog->focusWidget(), dialog->editor("name"));
        EXPECT_TRUE(dialog->isVisible());
    });
    // in the list, Enter edits the current row as a double click does
    bool shown = false;
    WhileModal(dialog, [&] { QTest::keyClick(window.grid(), Qt::Key_Return); }, [&] {
        shown = true;
        EXPECT_EQ(LineEdit(dialog, "name")->text(), "藏青");
    });
    EXPECT_TRUE(shown);
    // the store dialog's record navigator does not stand in the way
    TMasterDataListWindow stores(MasterDataKind::Store);
    for (QToolButton *b : stores.editDialog()->navigatorButtons())
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
}

// A clerk keying in reference data all day adds, deletes and leaves a list without the mouse.
TEST_F(ListWindowFixture, ListKeysAddDeleteAndEscapeLeavesAModalList)
{
    op().ExecCommand("insert into Brand(BrandID,cBraName) values(101,'甲'),(102,'乙')");
    TMasterDataListWindow window(MasterDataKind::Brand);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.grid()->setFocus();
    TMasterDataEditDialog *dialog = window.editDialog();

    bool shown = false;
    WhileModal(dialog, [&] { QTest::keyClick(window.grid(), Qt::Key_Insert); }, [&] {
        shown = true;
        EXPECT_EQ(window.dataSet()->state(), TDataSet::State::Insert);
        TypeInto(LineEdit(dialog, "cBraName"), "丙");
        dialog->okButton()->click();
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(op().ScalarInt("select count(*) from Brand where cBraName='丙'"), 1);

    ASSERT_TRUE(window.dataSet()->locate("BrandID", 101));
    QApplication::setActiveWindow(&window); // the offscreen platform does not hand it back
    window.grid()->setFocus();
    QTest::keyClick(window.grid(), Qt::Key_Delete);
    EXPECT_EQ(messages.texts(), QStringList{"删除后不能恢复，您确实要删除当前行吗?"});
    EXPECT_EQ(op().ScalarInt("select count(*) from Brand where BrandID=101"), 0);

    // Escape leaves a list that stands as a window of its own, as it would a dialog
    QTest::keyClick(window.grid(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

// The close box of the dialog after typing: asked, never dropped unseen.
TEST_F(ListWindowFixture, ClosingTheDialogOverTypedChangesAsksWhetherToSave)
{
    op().ExecCommand("insert into Bank(BankID,cBankName) values(101,'工行')");
    TMasterDataListWindow window(MasterDataKind::Bank);
    TMasterDataEditDialog *dialog = window.editDialog();
    const QString question = "当前记录已经修改，是否保存？";
    struct Case {
        bool save;
        const char *typed;    // into 开户行; "" empties it
        bool closes;
        const char *stored;   // the bank's name afterwards
    };
    const Case cases[] = {
        {false, "建行", true, "工行"},   // no: dropped
        {true, "农行", true, "农行"},    // yes: saved
        {true, "", false, "农行"},       // yes, but the name is required: the dialog stays
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        messages.clear();
        messages.answers.enqueue(c.save);
        bool closed = false;
        WhileModal(dialog, [&] { window.acEdit->trigger(); }, [&] {
            TypeInto(LineEdit(dialog, "cBankName"), QString::fromUtf8(c.typed));
            if (!*c.typed)
                QTest::keyClick(dialog->editor("cBankName"), Qt::Key_Backspace);
            dialog->close();
            closed = !dialog->isVisible();
        });
        EXPECT_EQ(closed, c.closes);
        ASSERT_FALSE(messages.shown.isEmpty());
        EXPECT_EQ(messages.shown.first().text, question);
        EXPECT_EQ(op().ScalarText("select cBankName from Bank"), QString::fromUtf8(c.stored));
        EXPECT_EQ(window.dataSet()->state(), TDataSet::State::Browse);
    }
    // nothing typed: closes without a question
    messages.clear();
    WhileModal(dialog, [&] { window.acEdit->trigger(); }, [&] { dialog->close(); });
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(ListWindowFixture, ColourListSortsByTitleBrandListDoesNot)
{
    op().ExecCommand("insert into Color(ColorID,Name,BarCode) values(1,'b','02'),(2,'a','03'),(3,'c','01')");
    op().ExecCommand("insert into Brand(BrandID,cBraName) values(1,'b'),(2,'a')");
    TMasterDataListWindow colours(MasterDataKind::Color);
    auto firstName = [](TMasterDataListWindow &w, const char *column) {
        return w.grid()->model()->index(0, w.grid()->columnOf(column)).data().toString();
    };
    EXPECT_EQ(firstName(colours, "name"), "a"); // opened ordered by name
    colours.grid()->titleClicked(colours.grid()->columnOf("barcode"), Qt::NoModifier);
    EXPECT_EQ(firstName(colours, "barcode"), "01");
    colours.grid()->titleClicked(colours.grid()->columnOf("barcode"), Qt::NoModifier);
    EXPECT_EQ(firstName(colours, "barcode"), "03");

    TMasterDataListWindow brands(MasterDataKind::Brand);
    brands.grid()->titleClicked(brands.grid()->columnOf("cBraName"), Qt::NoModifier);
    EXPECT_EQ(firstName(brands, "cBraName"), "b");
}

TEST_F(ListWindowFixture, EmployeeDialogHasItsPagesChoicesAndDefaults)
{
    op().ExecCommand("insert into Department(DepartmentID,cDepName) values(1,'销售部'),(2,'财务部')");
    TMasterDataListWindow window(MasterDataKind::Employ);
    QStringList widths;
    for (int c : window.grid()->visibleColumns())
        widths << QString::number(window.grid()->column(c).width);
    EXPECT_EQ(widths, QStringList({"50", "80", "50", "90", "90", "100", "80"}));
    TMasterDataEditDialog *dialog = window.editDialog();
    auto *pages = dialog->findChild<QTabWidget *>();
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->tabText(0), "基本资料");
    EXPECT_EQ(pages->tabText(1), "其他资料");
    WhileModal(dialog, [&] { window.acNew->trigger(); }, [&] {
        EXPECT_EQ(qobject_cast<QComboBox *>(dialog->editor("isoperate"))->currentText(), "业务员");
        EXPECT_EQ(qobject_cast<QComboBox *>(dialog->editor("sex"))->currentText(), "男");
        auto *culture = qobject_cast<QComboBox *>(dialog->editor("culture"));
        EXPECT_EQ(culture->count(), 10);
        EXPECT_TRUE(culture->isEditable());
        auto *department = qobject_cast<QComboBox *>(dialog->editor("DepartmentID"));
        ASSERT_EQ(department->count(), 2);
        department->setCurrentIndex(1);
        Q_EMIT department->activated(1);
        TypeInto(LineEdit(dialog, "name"), "张三");
        TypeInto(LineEdit(dialog, "paymoney"), "2500.5");
        dialog->okButton()->click();
    });
    EXPECT_EQ(op().ScalarText("select name||','||sex||','||isoperate||','||DepartmentID||','||paymoney from employ"),
              "张三,男,1,2,2500.5");
}

// A new employee has no birthday: the date box shows nothing, and the date is typed as digits.
TEST_F(ListWindowFixture, BirthdayIsTypedIntoAnEmptyDateBoxAndClearedAgain)
{
    TMasterDataListWindow window(MasterDataKind::Employ);
    TMasterDataEditDialog *dialog = window.editDialog();
    WhileModal(dialog, [&] { window.acNew->trigger(); }, [&] {
        auto *birthday = qobject_cast<QDateEdit *>(dialog->editor("birthday"));
        ASSERT_NE(birthday, nullptr);
        TypeInto(LineEdit(dialog, "name"), "李四");
        birthday->setFocus();
        QTest::keyClicks(birthday, "19900315");
        EXPECT_EQ(window.dataSet()->fieldByName("birthday").asDate(), QDate(1990, 3, 15));

        // the whole date selected and deleted: no birthday again
        birthday->selectAll();
        QTest::keyClick(birthday, Qt::Key_Delete);
        EXPECT_TRUE(window.dataSet()->fieldByName("birthday").isNull());

        // the calendar of an empty box opens on this month, not a century back
        birthday->calendarWidget()->window()->show();
        EXPECT_EQ(birthday->calendarWidget()->yearShown(), QDate::currentDate().year());
        birthday->calendarWidget()->window()->hide();
        dialog->okButton()->click();
    });
    EXPECT_EQ(op().ScalarInt("select count(*) from employ where name='李四' and birthday is null"), 1);
}

TEST_F(ListWindowFixture, CustomersAndVendorsPrintTheirAddressBookOthersTheirList)
{
    op().ExecCommand("insert into Customer(CustomerID,cCusCode,cCusShortName,cCusName,cCusPerson,cCusAddress) "
                     "values(1,'C01','华联','上海华联商厦','王五','南京路1号')");
    op().ExecCommand("insert into Vendor(VendorID,cVenCode,cVenShortName,cVenName,cVenBank,cVenAccount) "
                     "values(1,'V01','申洲','申洲针织','工商银行','6222')");
    op().ExecCommand("insert into Brand(BrandID,cBraName) values(1,'Qelvo')");
    QTemporaryDir dir;
    struct Printed {
        QString title;
        QStringList titles;
        QString pdf;
    };
    QList<Printed> printed;
    SetGridPrintHook([&](TGridPrinter &printer, bool) {
        Printed p{printer.title, VisibleTitles(&printer.grid()), dir.filePath(QString::number(printed.size()) + ".pdf")};
        EXPECT_TRUE(printer.printToPdf(p.pdf));
        printed << p;
    });
    for (MasterDataKind kind : {MasterDataKind::Customer, MasterDataKind::Vendor, MasterDataKind::Brand}) {
        TMasterDataListWindow window(kind);
        window.acPrint->trigger();
    }
    SetGridPrintHook(nullptr);
    ASSERT_EQ(printed.size(), 3);
    EXPECT_EQ(printed.at(0).title, "客户资料");
    EXPECT_EQ(printed.at(0).titles, QStringList({"代码", "全称", "联系人", "电话", "传真", "邮编", "地址"}));
    EXPECT_EQ(printed.at(1).title, "供应商资料");
    EXPECT_EQ(printed.at(1).titles,
              QStringList({"代码", "全称", "联系人", "电话", "传真", "邮编", "地址", "开户行", "帐号"}));
    EXPECT_EQ(printed.at(2).title, "品牌资料");
    EXPECT_EQ(printed.at(2).titles, QStringList({"品牌名称"}));

    QProcess text;
    text.start("pdftotext", {printed.at(0).pdf, "-"});
    ASSERT_TRUE(text.waitForFinished());
    const QString page = QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    EXPECT_TRUE(page.contains("上海华联商厦")) << page.toStdString();
    EXPECT_TRUE(page.contains("南京路1号"));
}

TEST_F(ListWindowFixture, ExportWritesTheListToASpreadsheet)
{
    op().ExecCommand("insert into Bank(BankID,cBankName,cBankUserName,cBankCode) values(1,'工商银行','店','6222')");
    QTemporaryDir dir;
    const QString file = dir.filePath("银行.xlsx");
    messages.files << file;
    TMasterDataListWindow window(MasterDataKind::Bank);
    EXPECT_TRUE(window.grid()->actions().contains(window.acExpert)); // the grid's context menu
    window.acExpert->trigger();
    EXPECT_TRUE(QFileInfo(file).size() > 0);
    EXPECT_EQ(messages.last(), "数据导出成功！");
    // the file name is offered, not left for the user to invent each time
    ASSERT_EQ(messages.saveStarts.size(), 1);
    EXPECT_EQ(QFileInfo(messages.saveStarts.first()).fileName(), "银行资料.xlsx");

    TMasterDataListWindow stores(MasterDataKind::Store);
    stores.acExpert->trigger();                                   // cancelled
    EXPECT_EQ(QFileInfo(messages.saveStarts.last()).fileName(), "仓库(商场)资料.xlsx");
}
