#include "SysLog.h"
#include "DialogLayout.h"
#include <QFormLayout>
#include "WholeRowSelection.h"
#include "data/DBGrid.h"
#include "data/GridExport.h"
#include "data/GridPrint.h"
#include "data/GridSetup.h"
#include "data/OpData.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"
#include "shell/UserInfo.h"

#include <QAction>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
// Position of "清除日志" in the rights catalogue.
constexpr int kRightClearLog = 4;
} // namespace

TfrmSysLog::TfrmSysLog(QWidget *parent) : QDialog(parent), m_log(std::make_unique<TDataSet>())
{
    setWindowTitle(QStringLiteral("系统日志"));
    RunGuarded([] { OpData().WriteSysLog(CurrentUser().userName, QStringLiteral("系统日志")); });

    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_clear = m_toolBar->addAction(QStringLiteral("清除日志"), this, &TfrmSysLog::acClearExecute);
    m_clear->setProperty("Tag", kRightClearLog);
    m_print = m_toolBar->addAction(QStringLiteral("打印"), this,
                                   [this] { RunGuarded([&] { PrintGridSimple(*m_grid, windowTitle(), false, QString()); }); });
    m_export = m_toolBar->addAction(QStringLiteral("导出Excel"), this,
                                    [this] { RunGuarded([&] { ExportGridToExcel(*m_grid); }); });
    ApplyRights({m_clear}, CurrentUser().rights);
    // Tool-bar buttons take no focus: keys keep the actions within the keyboard's reach.
    AddWindowKey(this, m_clear, QKeySequence(Qt::Key_Delete));
    AddWindowKey(this, m_print, QKeySequence(Qt::CTRL | Qt::Key_P));

    m_grid = new TDBGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setReadOnly(true);
    UseWholeRowSelection(*m_grid);
    m_grid->setDataSet(m_log.get());
    reload();
    EnableTitleButtons(*m_grid);
    connect(m_grid, &TDBGrid::sortMarkingChanged, this, [this] { SortCdsByMarkers(*m_grid, *m_log); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_grid, 1);
    resize(760, 460);
}

TfrmSysLog::~TfrmSysLog() { m_grid->setDataSet(nullptr); }

void TfrmSysLog::reload()
{
    RunGuarded([&] {
        OpData().QueryInto(*m_log, QStringLiteral("select username,machinename,machineip,optime,opmodule from syslog "
                                                  "order by optime desc"));
        SetupGridColumns(*m_grid,
                         {TFieldAttrib(QStringLiteral("UserName"), QStringLiteral("操作员"), 100),
                          TFieldAttrib(QStringLiteral("MachineName"), QStringLiteral("机器名"), 120),
                          TFieldAttrib(QStringLiteral("MachineIP"), QStringLiteral("机器IP地址"), 120),
                          TFieldAttrib(QStringLiteral("OpTime"), QStringLiteral("时间"), 150),
                          TFieldAttrib(QStringLiteral("OpModule"), QStringLiteral("功能模块"), 160)},
                         true, true);
        m_log->first();
    });
}

void TfrmSysLog::acClearExecute()
{
    // The catalogue has its own right for clearing; reading the log does not grant it.
    if (!CurrentUser().CheckRight(kRightClearLog))
        return;
    TfrmSysLogClear cleaner(this);
    cleaner.exec();
    reload();
}

TfrmSysLogClear::TfrmSysLogClear(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("日志清除"));
    RunGuarded([] { OpData().WriteSysLog(CurrentUser().userName, QStringLiteral("清除日志")); });
    m_date = new QDateEdit(QDate::currentDate(), this);
    m_date->setObjectName(QStringLiteral("edtDate"));
    m_date->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    m_date->setCalendarPopup(true);
    m_clear = new QPushButton(QStringLiteral("清除"), this);
    m_exit = new QPushButton(QStringLiteral("退出"), this);
    auto *form = NewForm();
    form->addRow(QStringLiteral("起始时间："), m_date);
    LayOutFormDialog(this, form, {m_clear, m_exit});
    setMinimumWidth(280);
    connect(m_clear, &QPushButton::clicked, this, &TfrmSysLogClear::btnClearClick);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSysLogClear::btnClearClick()
{
    if (!QuestionYesNo(QStringLiteral("您真的要清除么?")))
        return;
    if (RunGuarded([&] { OpData().ClearSysLog(m_date->date()); }))
        accept();
}
