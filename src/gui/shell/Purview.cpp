#include "Purview.h"
#include "DialogLayout.h"
#include "data/DBGrid.h"
#include "data/GridExport.h"
#include "data/GridPrint.h"
#include "data/GridSetup.h"
#include "data/OpData.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/Operators.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPurview::TfrmPurview(const QString &userName, const QString &rights, QWidget *parent)
    : QDialog(parent), m_userName(userName), m_rights(rights)
{
    setWindowTitle(QStringLiteral("权限设置[") + userName + QLatin1Char(']'));
    m_purview = MakePurviewSet(rights);

    m_groups = new QListWidget(this);
    m_groups->setObjectName(QStringLiteral("lstGroups"));
    m_groups->addItem(QStringLiteral("全部"));
    RunGuarded([&] {
        QStringList names;
        OpData().LoadPurviewGroupNames(names);
        m_groups->addItems(names);
    });
    m_groups->setCurrentRow(0);
    m_groups->setFixedWidth(130);
    connect(m_groups, &QListWidget::currentRowChanged, this, &TfrmPurview::groupChanged);

    m_grid = new TDBGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setDataSet(m_purview.get());
    SetupGridColumns(*m_grid,
                     {TFieldAttrib(QStringLiteral("PurviewID"), QStringLiteral("编码"), 50, false),
                      TFieldAttrib(QStringLiteral("cPurviewName"), QStringLiteral("名称"), 200),
                      TFieldAttrib(QStringLiteral("cGroupName"), QStringLiteral("组别"), 100, false),
                      TFieldAttrib(QStringLiteral("bRight"), QStringLiteral("权限"), 60)},
                     false, true);
    SetColumnsReadOnly(*m_grid, {QStringLiteral("PurviewID"), QStringLiteral("cPurviewName"), QStringLiteral("cGroupName")},
                       true);

    m_popup = new QMenu(this);
    m_popup->addAction(QStringLiteral("打印"), this,
                       [this] { RunGuarded([&] { PrintGridSimple(*m_grid, windowTitle(), false, QString()); }); });
    m_popup->addAction(QStringLiteral("导出到Excel"), this,
                       [this] { RunGuarded([&] { ExportGridToExcel(*m_grid); }); });
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_popup->popup(m_grid->viewport()->mapToGlobal(at)); });

    m_ok = new QPushButton(QStringLiteral("确认"), this);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    connect(m_ok, &QPushButton::clicked, this, &TfrmPurview::btnOkClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("权限分组："), this));
    left->addWidget(m_groups, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(m_grid, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(ButtonRow({m_ok, m_cancel}));
    resize(520, 460);
}

TfrmPurview::~TfrmPurview() { m_grid->setDataSet(nullptr); }

void TfrmPurview::groupChanged()
{
    RunGuarded([&] {
        const QListWidgetItem *item = m_groups->currentItem();
        FilterPurviewByGroup(*m_purview, item ? item->text() : QString());
    });
}

void TfrmPurview::btnOkClick()
{
    const bool saved = RunGuarded([&] {
        const QString rights = RightsFromPurview(*m_purview, m_rights);
        SaveOperatorRights(m_userName, rights);
    });
    if (saved)
        accept();
}
