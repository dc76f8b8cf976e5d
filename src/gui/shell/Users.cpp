#include "Users.h"
#include "DialogLayout.h"
#include "Navigation.h"
#include "Purview.h"
#include "UsersEdit.h"
#include "WholeRowSelection.h"
#include "data/DBGrid.h"
#include "data/GridExport.h"
#include "data/DbDataSet.h"
#include "data/GridSetup.h"
#include "data/OpData.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"
#include "shell/Operators.h"
#include "shell/UserInfo.h"

#include <QAction>
#include <QKeyEvent>
#include <QToolBar>
#include <QVBoxLayout>

TfrmUsers::TfrmUsers(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("用户管理"));
    RunGuarded([] { OpData().WriteSysLog(CurrentUser().userName, QStringLiteral("用户管理")); });
    m_operators = MakeOperatorList();

    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_new = m_toolBar->addAction(QStringLiteral("新建"), this, &TfrmUsers::acNewExecute);
    // Editing an operator and printing the list are not offered: the buttons say so instead of
    // doing nothing.
    m_edit = m_toolBar->addAction(QStringLiteral("编辑"), this, [] { ShowInfo(kLaterVersionText); });
    m_delete = m_toolBar->addAction(QStringLiteral("删除"), this, &TfrmUsers::acDeleteExecute);
    m_purview = m_toolBar->addAction(QStringLiteral("授权"), this, &TfrmUsers::acPurviewExecute);
    m_toolBar->addSeparator();
    m_print = m_toolBar->addAction(QStringLiteral("打印"), this, [] { ShowInfo(kLaterVersionText); });
    m_export = m_toolBar->addAction(QStringLiteral("导出Excel"), this, &TfrmUsers::acExportExecute);

    m_grid = new TDBGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setDataSet(m_operators.get());
    m_grid->setReadOnly(true);
    UseWholeRowSelection(*m_grid);
    SetupGridColumns(*m_grid,
                     {TFieldAttrib(QStringLiteral("cUserName"), QStringLiteral("姓名"), 140),
                      TFieldAttrib(QStringLiteral("bSuper"), QStringLiteral("管理员"), 60),
                      TFieldAttrib(QStringLiteral("cType"), QStringLiteral("类型"), 120),
                      TFieldAttrib(QStringLiteral("cClass"), QStringLiteral("分类"), 100, false),
                      TFieldAttrib(QStringLiteral("cDepCode"), QStringLiteral("部门"), 100, false),
                      TFieldAttrib(QStringLiteral("cWhCode"), QStringLiteral("仓库"), 100, false)},
                     false, true);
    EnableTitleButtons(*m_grid);
    connect(m_grid, &TDBGrid::sortMarkingChanged, this,
            [this] { RunGuarded([&] { SortAdoByMarkers(*m_grid, *m_operators); }); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] { acPurviewExecute(); });
    // Without the mouse: Insert, Delete, Ctrl+P, and Enter on a row grants rights as a double
    // click does.
    AddWindowKey(this, m_new, QKeySequence(Qt::Key_Insert));
    AddWindowKey(this, m_delete, QKeySequence(Qt::Key_Delete));
    AddWindowKey(this, m_print, QKeySequence(Qt::CTRL | Qt::Key_P));
    m_purview->setToolTip(QStringLiteral("授权（Enter）"));
    m_grid->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_grid, 1);
    resize(520, 380);
}

TfrmUsers::~TfrmUsers() { m_grid->setDataSet(nullptr); }

bool TfrmUsers::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            acPurviewExecute();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmUsers::acNewExecute()
{
    if (!RunGuarded([&] { m_operators->append(); }))
        return;
    TfrmUsersEdit editor(*m_operators, this);
    editor.exec();
}

void TfrmUsers::acDeleteExecute()
{
    RunGuarded([&] { DeleteOperator(*m_operators); });
}

void TfrmUsers::acPurviewExecute()
{
    RunGuarded([&] {
        if (m_operators->isEmpty())
            return;
        const QString name = m_operators->fieldByName(QStringLiteral("cUserName")).asString();
        if (!RightsEditable(name))
            return;
        const QString rights = m_operators->fieldByName(QStringLiteral("cRight")).asString();
        TfrmPurview dialog(name, rights, this);
        if (dialog.exec() == QDialog::Accepted)
            m_operators->requery();
    });
}

void TfrmUsers::acExportExecute()
{
    RunGuarded([&] { ExportGridToExcel(*m_grid); });
}
