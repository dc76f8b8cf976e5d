#include "Account.h"
#include "AccountActions.h"
#include "AccountEdit.h"
#include "Login.h"
#include "WaitCursor.h"
#include "WholeRowSelection.h"
#include "data/DBGrid.h"
#include "data/DbDataSet.h"
#include "data/GridSetup.h"
#include "shell/AccountOpen.h"
#include "shell/AccountSets.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

TfrmAccount::TfrmAccount(const QString &dataNetPath, QWidget *parent)
    : QDialog(parent), m_editor(new TfrmAccountEdit(dataNetPath, this)),
      m_runLogin([](TfrmLogin &login) { return login.exec(); })
{
    setWindowTitle(QStringLiteral("Qelvo服装销售管理专业版"));

    auto *band = new QFrame(this);
    band->setObjectName(QStringLiteral("headingBand"));
    band->setStyleSheet(QStringLiteral("#headingBand { background: #f4f6f9; border-bottom: 1px solid #d6dbe3; }"));
    auto *heading = new QLabel(QStringLiteral("选择帐套"), band);
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    heading->setFont(big);
    auto *prompt = new QLabel(QStringLiteral("请选择要操作在账套！"), band);
    auto *bandLayout = new QVBoxLayout(band);
    bandLayout->setContentsMargins(16, 12, 16, 10);
    bandLayout->addWidget(heading);
    bandLayout->addWidget(prompt);

    m_grid = new TDBGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setDataSet(&accountList().dataSet());
    m_grid->setReadOnly(true);
    UseWholeRowSelection(*m_grid);
    SetupGridColumns(*m_grid,
                     {TFieldAttrib(QStringLiteral("cAccCode"), QStringLiteral("账套编码"), 110),
                      TFieldAttrib(QStringLiteral("cAccName"), QStringLiteral("账套名称"), 260)},
                     false, true);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] { btnOkClick(); });

    auto *menu = new QMenu(this);
    m_new = menu->addAction(QStringLiteral("新建帐套..."));
    m_delete = menu->addAction(QStringLiteral("删除帐套..."));
    m_rename = menu->addAction(QStringLiteral("修改帐套名称"));
    m_manage = new QPushButton(QStringLiteral("帐套管理"), this);
    m_manage->setObjectName(QStringLiteral("btnManage"));
    m_manage->setMenu(menu);
    connect(m_new, &QAction::triggered, this, &TfrmAccount::acNewAccountExecute);
    connect(m_delete, &QAction::triggered, this, &TfrmAccount::acDeleteAccountExecute);
    connect(m_rename, &QAction::triggered, this, &TfrmAccount::acRenameAccountExecute);

    m_ok = new QPushButton(QStringLiteral("确定(&O)"), this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    connect(m_ok, &QPushButton::clicked, this, &TfrmAccount::btnOkClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_manage);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(12, 10, 12, 12);
    body->addWidget(m_grid, 1);
    body->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(band);
    layout->addLayout(body, 1);
    resize(440, 360);
}

TfrmAccount::~TfrmAccount()
{
    // The grid must let go of the list before the editor that owns it goes.
    m_grid->setDataSet(nullptr);
}

TAccountList &TfrmAccount::accountList() const { return m_editor->accountList(); }

void TfrmAccount::btnOkClick()
{
    bool loggedIn = false;
    RunGuarded([&] {
        TDbDataSet &ds = accountList().dataSet();
        if (!ds.active() || ds.isEmpty()) {
            // Someone starting with an empty data directory needs to know where sets come from.
            ShowInfo(QStringLiteral("还没有帐套，请先在“帐套管理”中选择“新建帐套...”。"));
            return;
        }
        ds.checkBrowseMode();
        const QString code = ds.fieldByName(QStringLiteral("cAccCode")).asString();
        const QString name = ds.fieldByName(QStringLiteral("cAccName")).asString();
        const QString begin = ds.fieldByName(QStringLiteral("cBeginDate")).asString();
        {
            TWaitCursor wait;
            if (!OpenAccountSet(code, name, begin))
                return;
        }
        m_login = std::make_unique<TfrmLogin>();
        loggedIn = m_runLogin(*m_login) == QDialog::Accepted;
    });
    if (loggedIn)
        accept();
}

// Opened again from the running program, the list starts on the set in use rather than
// wherever it was left, so that Enter does not switch sets by surprise.
void TfrmAccount::showEvent(QShowEvent *event)
{
    if (!App().accCode.isEmpty() && App().dataNetPath == accountList().dataNetPath())
        RunGuarded([&] {
            TDbDataSet &ds = accountList().dataSet();
            if (ds.active() && !ds.isEditing())
                accountList().locate(App().accCode);
        });
    QDialog::showEvent(event);
}

void TfrmAccount::acNewAccountExecute()
{
    m_editor->newAccountSet();
    m_grid->setFocus();
}

void TfrmAccount::acDeleteAccountExecute()
{
    RunGuarded([&] { DeleteAccountSet(accountList()); });
}

void TfrmAccount::acRenameAccountExecute()
{
    if (accountList().dataSet().isEmpty())
        return;
    TfrmAccNameEdit dialog(accountList(), this);
    dialog.exec();
}

void TfrmAccount::restoreAccountSet() { RunRestoreAccountSet(accountList(), this); }
