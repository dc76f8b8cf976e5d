#include "MasterDataListWindow.h"
#include "MasterDataEditDialog.h"
#include "ToolBarFrame.h"
#include "data/DBGrid.h"
#include "data/DataSetHelpers.h"
#include "data/FieldAttrib.h"
#include "data/GridExport.h"
#include "data/GridPrint.h"
#include "data/GridSetup.h"
#include "data/OpData.h"
#include "masterdata/MasterDataSet.h"
#include "shell/AppContext.h"
#include "shell/GuiResources.h"
#include "shell/TileIcons.h"
#include "shell/AppError.h"
#include "shell/UserInfo.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QKeyEvent>
#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
TFieldArr ColumnTable(const QList<TListColumn> &columns)
{
    TFieldArr arr;
    for (const TListColumn &c : columns)
        arr << TFieldAttrib(c.column, c.caption, c.width);
    return arr;
}
} // namespace

TMasterDataListWindow::TMasterDataListWindow(MasterDataKind kind, QWidget *parent)
    : QWidget(parent), m_member(MasterDataMember(kind))
{
    setObjectName(m_member.listClass);
    setWindowTitle(m_member.listCaption);
    if (m_member.writesSysLog)
        OpData().WriteSysLog(CurrentUser().userName, m_member.listCaption);

    m_dialog = new TMasterDataEditDialog(kind, this);

    const TToolBarFrame frame = NewToolBarFrame(this);
    QVBoxLayout *layout = frame.layout;
    QToolBar *bar = frame.bar;
    m_bar = bar;
    m_grid = new TDBGrid;
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    layout->addWidget(m_grid, 1);
    buildActions(bar);
    setupGrid();

    if (m_member.startRecord > 1 && dataSet()->recordCount() >= m_member.startRecord)
        dataSet()->setRecNo(m_member.startRecord);
    else if (dataSet()->recordCount() > 0)
        dataSet()->first();
}

TMasterDataListWindow::~TMasterDataListWindow()
{
    // The grid lets go of the dataset before the dialog that owns it is freed.
    m_grid->setDataSet(nullptr);
    delete m_dialog;
}

TMasterDataSet *TMasterDataListWindow::dataSet() const { return m_dialog->dataSet(); }

QSize TMasterDataListWindow::sizeHint() const
{
    // Wide enough for the columns and the whole tool bar (an entry in its overflow menu is one
    // nobody finds), not a sea of empty grid.
    int width = 60;
    for (const TListColumn &c : m_member.listColumns)
        width += c.width;
    width = std::clamp(width, 420, 900);
    if (m_bar)
        width = std::max(width, m_bar->sizeHint().width());
    return {width, 420};
}

void TMasterDataListWindow::buildActions(QToolBar *bar)
{
    InitGuiResources();
    auto make = [this](const char *name, const QString &text, const char *icon) {
        auto *action = new QAction(SymbolicIcon(QLatin1String(icon)), text, this);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    acNew = make("acNew", QStringLiteral("新增"), "list-add-symbolic");
    acEdit = make("acEdit", QStringLiteral("编辑"), "document-edit-symbolic");
    acDelete = make("acDelete", QStringLiteral("删除"), "edit-delete-symbolic");
    acPrint = make("acPrint", QStringLiteral("打印"), "document-print-symbolic");
    acExpert = make("acExpert", QStringLiteral("导出为Excel"), "x-office-spreadsheet-symbolic");
    // Keys for the work done all day without the mouse (Enter edits, see eventFilter). The
    // actions belong to the window as well, so that their keys work wherever its focus is.
    const struct {
        QAction *action;
        QKeySequence key;
    } keys[] = {{acNew, QKeySequence(Qt::Key_Insert)},
                {acDelete, QKeySequence(Qt::Key_Delete)},
                {acPrint, QKeySequence(Qt::CTRL | Qt::Key_P)}};
    for (const auto &k : keys) {
        k.action->setShortcut(k.key);
        k.action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        k.action->setToolTip(QStringLiteral("%1（%2）").arg(k.action->text(), k.key.toString(QKeySequence::NativeText)));
        addAction(k.action);
    }
    acEdit->setToolTip(QStringLiteral("%1（Enter）").arg(acEdit->text()));
    bar->addAction(acNew);
    bar->addAction(acEdit);
    bar->addAction(acDelete);
    bar->addSeparator();
    bar->addAction(acPrint);
    connect(acNew, &QAction::triggered, this, &TMasterDataListWindow::newRow);
    connect(acEdit, &QAction::triggered, this, &TMasterDataListWindow::editRow);
    connect(acDelete, &QAction::triggered, this, &TMasterDataListWindow::deleteRow);
    connect(acPrint, &QAction::triggered, this, &TMasterDataListWindow::print);
    connect(acExpert, &QAction::triggered, this, &TMasterDataListWindow::exportToExcel);

    if (!m_member.kinds.isEmpty()) {
        bar->addSeparator();
        bar->addWidget(new QLabel(QStringLiteral(" 收支类别：")));
        m_kindChoice = new QComboBox;
        m_kindChoice->setObjectName(QStringLiteral("cbKind"));
        for (const TChoice &k : m_member.kinds)
            m_kindChoice->addItem(k.text, k.value);
        bar->addWidget(m_kindChoice);
        connect(m_kindChoice, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (RunGuarded([&] { dataSet()->setChosenKind(m_kindChoice->itemData(index).toInt()); }))
                return;
            const QSignalBlocker block(m_kindChoice);
            m_kindChoice->setCurrentIndex(m_kindChoice->findData(dataSet()->chosenKind()));
        });
    }
}

void TMasterDataListWindow::setupGrid()
{
    m_grid->setReadOnly(true);
    for (const TListColumn &c : m_member.listColumns)
        if (TField *f = c.format.isEmpty() ? nullptr : dataSet()->findField(c.column))
            f->displayFormat = c.format;
    m_grid->setDataSet(dataSet());
    SetupGridColumns(*m_grid, ColumnTable(m_member.listColumns), false, false);
    m_grid->setSortLocal(false);
    m_grid->setTitleButtons(m_member.sortByTitle);
    if (m_member.sortByTitle)
        connect(m_grid, &TDBGrid::sortMarkingChanged, this,
                [this] { RunGuarded([this] { SortAdoByMarkers(*m_grid, *dataSet()); }); });
    // Columns stand in the order of the column table, also after the dataset is read again.
    applyColumnOrder();
    connect(m_grid->model(), &QAbstractItemModel::modelReset, this, &TMasterDataListWindow::applyColumnOrder);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] { editRow(); });
    m_grid->installEventFilter(this); // Enter edits the row, as a double click does
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_grid->addAction(acExpert);
}

void TMasterDataListWindow::applyColumnOrder()
{
    QHeaderView *header = m_grid->horizontalHeader();
    int visual = 0;
    for (const TListColumn &c : m_member.listColumns) {
        const int logical = m_grid->columnOf(c.column);
        if (logical < 0)
            continue;
        const int from = header->visualIndex(logical);
        if (from != visual)
            header->moveSection(from, visual);
        ++visual;
    }
}

void TMasterDataListWindow::keyPressEvent(QKeyEvent *event)
{
    // A list that stands as a window of its own is left as a dialog is; child lists stay open.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && isWindow()) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TMasterDataListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            editRow();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TMasterDataListWindow::newRow()
{
    RunGuarded([this] {
        TMasterDataSet *ds = dataSet();
        // A row the database refused earlier is still pending: show it again to be mended.
        if (ds->isEditing() && !PostWithMessage(*ds)) {
            m_dialog->exec();
            return;
        }
        if (!AppendWithMessage(*ds)) {
            if (ds->state() == TDataSet::State::Insert)
                ds->cancel();
            return;
        }
        m_dialog->exec();
    });
}

void TMasterDataListWindow::editRow() { m_dialog->exec(); }

void TMasterDataListWindow::deleteRow()
{
    RunGuarded([this] { DeleteWithConfirm(*dataSet()); });
}

void TMasterDataListWindow::print()
{
    RunGuarded([this] {
        if (m_member.printsContactList)
            printContactList();
        else
            PrintGridSimple(*m_grid, m_member.listCaption, false, QString());
    });
}

// Customers and vendors print their address book, not the list's columns.
void TMasterDataListWindow::printContactList()
{
    auto packet = MasterDataPrintPacket(m_member);
    TDBGrid grid(this);
    grid.hide();
    grid.setReadOnly(true);
    grid.setDataSet(packet.get());
    SetupGridColumns(grid, ColumnTable(m_member.printColumns), false, false);
    PrintGridSimple(grid, m_member.listCaption, false, QString());
    grid.setDataSet(nullptr);
}

void TMasterDataListWindow::exportToExcel()
{
    RunGuarded([this] { ExportGridToExcel(*m_grid, m_member.listCaption); });
}
