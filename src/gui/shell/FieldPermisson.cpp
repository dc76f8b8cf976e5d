#include "FieldPermisson.h"
#include "DialogLayout.h"
#include "WholeRowSelection.h"
#include "data/DBGrid.h"
#include "data/DataSetHelpers.h"
#include "data/DbDataSet.h"
#include "data/GridSetup.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/Operators.h"
#include "shell/UserInfo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmFieldPermisson::TfrmFieldPermisson(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("字段权限设置"));
    m_dict = MakeFieldDictList();
    m_items = MakeFieldDictItems();

    m_dictGrid = new TDBGrid(this);
    m_dictGrid->setObjectName(QStringLiteral("DBGridEh1"));
    m_dictGrid->setReadOnly(true);
    UseWholeRowSelection(*m_dictGrid);
    m_dictGrid->setDataSet(m_dict.get());
    SetupGridColumns(*m_dictGrid, {TFieldAttrib(QStringLiteral("cNameCh"), QStringLiteral("单据或表格名称"), 240)}, false,
                     true);

    m_itemGrid = new TDBGrid(this);
    m_itemGrid->setObjectName(QStringLiteral("DBGridEh2"));
    m_itemGrid->setDataSet(m_items.get());

    m_dict->afterScroll = [this](TDataSet &) { dictChanged(); };
    dictChanged();

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_exit = new QPushButton(QStringLiteral("退出"), this);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_dictGrid, 2);
    layout->addWidget(m_itemGrid, 3);
    layout->addLayout(ButtonRow({m_ok, m_exit}, NoteLabel(QStringLiteral("是否公开显示相应项目，打勾的表示不显示"), this)));
    resize(460, 480);
}

TfrmFieldPermisson::~TfrmFieldPermisson()
{
    m_dict->afterScroll = nullptr;
    m_dictGrid->setDataSet(nullptr);
    m_itemGrid->setDataSet(nullptr);
}

void TfrmFieldPermisson::Execute(QWidget *parent)
{
    if (CurrentUser().userName != kAdministratorName)
        return;
    TfrmFieldPermisson window(parent);
    window.exec();
}

void TfrmFieldPermisson::dictChanged()
{
    RunGuarded([&] {
        const QString name = m_dict->isEmpty() ? QString() : m_dict->fieldByName(QStringLiteral("cName")).asString();
        if (m_items->isEditing() && !PostWithMessage(*m_items))
            m_items->cancel();
        LoadFieldDictItems(*m_items, name);
        SetupGridColumns(*m_itemGrid,
                         {TFieldAttrib(QStringLiteral("cFieldNamech"), QStringLiteral("表格式项名称"), 200),
                          TFieldAttrib(QStringLiteral("bVisable"), QStringLiteral("不显示"), 60)},
                         true, true);
        SetColumnsReadOnly(*m_itemGrid, {QStringLiteral("cFieldNamech")}, true);
    });
}

void TfrmFieldPermisson::done(int result)
{
    // Whichever way the window is left, a ticked box is kept.
    RunGuarded([&] {
        if (m_items->isEditing())
            PostWithMessage(*m_items);
    });
    QDialog::done(result);
}
