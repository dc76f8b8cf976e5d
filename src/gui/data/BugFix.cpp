#include "BugFix.h"
#include "data/OpData.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
struct RepairTool {
    QString name;
    QString description;
    void (TOpData::*run)();
};

const QList<RepairTool> &RepairTools()
{
    static const QList<RepairTool> tools = {
        {QStringLiteral("以现有成本价填充以往输入单据成本价"),
         QStringLiteral("有些用户在建立期初数据时未输入成本价，过一段时间后，又输入了成本价，想计算毛利润，但以前的单据因为没有成本价"
                        "而造成毛利润计算不完整。此功能将以前输入的所有单据以目前基础资料中的成本价进行填充。注意：此功能将修改所有以前"
                        "输入的销售单的成本价，如果是部分修改，不适用此功能！"),
         &TOpData::FillCostPricesFromItems},
        {QStringLiteral("VIP用户输入错误"),
         QStringLiteral("早期版本中没有VIP用户基础资料，自5.0.1130版开始有此功能，但部分用户使用时出现TablesID.TableName不能包含Null值"
                        "错误，此实用程序用于修复此问题。"),
         &TOpData::RepairVIPKeyCounter},
    };
    return tools;
}
} // namespace

TfrmBugFix::TfrmBugFix(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("实用工具程序"));
    auto *toolsBox = new QGroupBox(QStringLiteral("功能项目"), this);
    m_tools = new QListWidget(toolsBox);
    for (const RepairTool &tool : RepairTools())
        m_tools->addItem(tool.name);
    // Two short names: the room goes to the description, whose warning comes last.
    m_tools->setFixedHeight(m_tools->sizeHintForRow(0) * (m_tools->count() + 1) + 2 * m_tools->frameWidth());
    (new QVBoxLayout(toolsBox))->addWidget(m_tools);

    auto *descriptionBox = new QGroupBox(QStringLiteral("功能项目说明"), this);
    m_description = new QPlainTextEdit(descriptionBox);
    m_description->setReadOnly(true);
    (new QVBoxLayout(descriptionBox))->addWidget(m_description);

    m_run = new QPushButton(QStringLiteral("执行"), this);
    m_close = new QPushButton(QStringLiteral("退出"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_run);
    buttons->addWidget(m_close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(toolsBox);
    layout->addWidget(descriptionBox, 1);
    layout->addLayout(buttons);
    resize(480, 400);

    connect(m_tools, &QListWidget::currentRowChanged, this, &TfrmBugFix::showDescription);
    connect(m_run, &QPushButton::clicked, this, &TfrmBugFix::runSelected);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    m_tools->setCurrentRow(0);
}

void TfrmBugFix::showDescription()
{
    const int row = m_tools->currentRow();
    m_description->setPlainText(row >= 0 ? RepairTools().at(row).description : QString());
}

void TfrmBugFix::runSelected()
{
    const int row = m_tools->currentRow();
    if (row < 0)
        return;
    RunGuarded([&] { (OpData().*RepairTools().at(row).run)(); });
}
