#include "AccountEdit.h"
#include "DialogLayout.h"
#include "WaitCursor.h"
#include "shell/AccountSets.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"
#include "SelectMonth.h"
#include "data/DataSetHelpers.h"
#include "data/DbDataSet.h"

#include <QDate>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <tuple>

namespace {

QLineEdit *AddRow(QGridLayout *grid, const QString &caption, QWidget *parent, QWidget *tail = nullptr)
{
    const int row = grid->rowCount();
    auto *edit = new QLineEdit(parent);
    auto *label = new QLabel(caption, parent);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0, Qt::AlignRight);
    grid->addWidget(edit, row, 1);
    if (tail)
        grid->addWidget(tail, row, 2);
    return edit;
}

// The rows of code and name that the editor and the restore dialog both start with.
std::pair<QLineEdit *, QLineEdit *> AddCodeAndName(QGridLayout *grid, QWidget *parent, const QString &codeHint)
{
    QLineEdit *code = AddRow(grid, QStringLiteral("帐套代码"), parent, NoteLabel(codeHint, parent));
    code->setObjectName(QStringLiteral("edtCode"));
    QLineEdit *name = AddRow(grid, QStringLiteral("帐套名称"), parent);
    name->setObjectName(QStringLiteral("edtName"));
    grid->setColumnMinimumWidth(1, 220);
    return {code, name};
}

bool AnyBlank(std::initializer_list<const QLineEdit *> edits)
{
    for (const QLineEdit *e : edits)
        if (e->text().trimmed().isEmpty())
            return true;
    return false;
}

void SetField(TDataSet &ds, const char *name, const QString &value)
{
    ds.fieldByName(QLatin1String(name)).setAsString(value);
}

} // namespace

// --- TfrmAccountEdit ---------------------------------------------------------------------------

TfrmAccountEdit::TfrmAccountEdit(const QString &dataNetPath, QWidget *parent)
    : QDialog(parent), m_list(std::make_unique<TAccountList>(dataNetPath))
{
    setWindowTitle(QStringLiteral("帐套编辑"));
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    std::tie(m_code, m_name) = AddCodeAndName(grid, this, QStringLiteral("(字母或数字)"));

    m_month = new QToolButton(this);
    m_month->setObjectName(QStringLiteral("btnMonth"));
    m_month->setText(QStringLiteral("..."));
    auto *monthTail = new QWidget(this);
    auto *monthLayout = new QHBoxLayout(monthTail);
    monthLayout->setContentsMargins(0, 0, 0, 0);
    monthLayout->addWidget(m_month);
    monthLayout->addWidget(NoteLabel(QStringLiteral("(初始库存的月份)"), this));
    m_endDate = AddRow(grid, QStringLiteral("启用日期"), this, monthTail);
    m_endDate->setObjectName(QStringLiteral("edtEndDate"));
    m_endDate->setReadOnly(true);
    m_unit = AddRow(grid, QStringLiteral("单位名称"), this);
    m_unit->setObjectName(QStringLiteral("edtUnit"));

    m_create = new QPushButton(QStringLiteral("创建"), this);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    LayOutFormDialog(this, grid, {m_create, m_cancel});

    EnterMovesOn({m_code, m_name, m_unit});
    connect(m_create, &QPushButton::clicked, this, &TfrmAccountEdit::btnCreateClick);
    connect(m_cancel, &QPushButton::clicked, this, &TfrmAccountEdit::reject);
    connect(m_month, &QToolButton::clicked, this, &TfrmAccountEdit::btnMonthClick);
}

TfrmAccountEdit::~TfrmAccountEdit() = default;

int TfrmAccountEdit::newAccountSet()
{
    if (!RunGuarded([&] {
            TDbDataSet &ds = m_list->dataSet();
            ds.append();
            SetField(ds, "cEndDate", QDate::currentDate().toString(QStringLiteral("yyyy.MM")));
        }))
        return Rejected;
    for (QLineEdit *e : {m_code, m_name, m_unit})
        e->clear();
    m_endDate->setText(m_list->dataSet().fieldByName(QStringLiteral("cEndDate")).asString());
    m_code->setFocus();
    return exec();
}

void TfrmAccountEdit::btnMonthClick()
{
    const QDate shown = QDate::fromString(m_endDate->text() + QStringLiteral(".01"), QStringLiteral("yyyy.MM.dd"));
    const auto [ok, month] = SelectMonth(this, shown.isValid() ? shown : QDate::currentDate());
    if (ok)
        m_endDate->setText(month);
}

void TfrmAccountEdit::btnCreateClick()
{
    if (AnyBlank({m_code, m_name, m_endDate})) {
        ShowInfo(QStringLiteral("请将项目填写齐全！"));
        m_code->setFocus();
        return;
    }
    const bool created = RunGuarded([&] {
        TDbDataSet &ds = m_list->dataSet();
        SetField(ds, "cAccCode", m_code->text().trimmed());
        SetField(ds, "cAccName", m_name->text());
        SetField(ds, "cEndDate", m_endDate->text());
        SetField(ds, "cUnitName", m_unit->text());
        TWaitCursor wait;
        CreateAccountSetFromNewRow(*m_list);
    });
    if (created)
        accept();
}

void TfrmAccountEdit::reject()
{
    RunGuarded([&] {
        if (m_list->dataSet().isEditing())
            m_list->dataSet().cancel();
    });
    QDialog::reject();
}

// --- TfrmAccNameEdit ---------------------------------------------------------------------------

TfrmAccNameEdit::TfrmAccNameEdit(TAccountList &list, QWidget *parent) : QDialog(parent), m_list(list)
{
    setWindowTitle(QStringLiteral("修改帐套名称"));
    auto *grid = new QGridLayout;
    m_name = AddRow(grid, QStringLiteral("帐套名称"), this);
    m_name->setObjectName(QStringLiteral("edtName"));
    m_name->setMinimumWidth(220);
    m_name->setText(list.dataSet().fieldByName(QStringLiteral("cAccName")).asString());
    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    LayOutFormDialog(this, grid, {m_ok, m_cancel});
    connect(m_ok, &QPushButton::clicked, this, &TfrmAccNameEdit::btnOkClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmAccNameEdit::btnOkClick()
{
    bool posted = false;
    RunGuarded([&] { posted = RenameAccountSet(m_list, m_name->text()); });
    if (posted)
        accept();
    else
        m_name->setFocus();
}

// --- TfrmAccountRestore ------------------------------------------------------------------------

TfrmAccountRestore::TfrmAccountRestore(TAccountList &list, const QString &backupFile, QWidget *parent)
    : QDialog(parent), m_list(list), m_file(backupFile)
{
    setWindowTitle(QStringLiteral("帐套恢复"));
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    std::tie(m_code, m_name) = AddCodeAndName(grid, this, QStringLiteral("(目录名)"));
    // Which file becomes the new set, so that a wrong pick is noticed before anything is made.
    const QString sourceText = QStringLiteral("备份文件：") + QDir::toNativeSeparators(backupFile);
    auto *source = NoteLabel(QString(), this);
    source->setObjectName(QStringLiteral("lblBackupFile"));
    source->setText(source->fontMetrics().elidedText(sourceText, Qt::ElideMiddle, 400));
    source->setToolTip(sourceText);
    grid->addWidget(source, grid->rowCount(), 0, 1, 3);
    m_restore = new QPushButton(QStringLiteral("恢复"), this);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    LayOutFormDialog(this, grid, {m_restore, m_cancel});
    EnterMovesOn({m_code, m_name});
    connect(m_restore, &QPushButton::clicked, this, &TfrmAccountRestore::btnRestoreClick);
    connect(m_cancel, &QPushButton::clicked, this, &TfrmAccountRestore::reject);
    RunGuarded([&] { m_list.dataSet().append(); });
    m_code->setFocus();
}

void TfrmAccountRestore::btnRestoreClick()
{
    if (AnyBlank({m_code, m_name})) {
        ShowInfo(QStringLiteral("请将项目填写齐全！"));
        m_code->setFocus();
        return;
    }
    TDbDataSet &ds = m_list.dataSet();
    RunGuarded([&] {
        SetField(ds, "cAccCode", m_code->text().trimmed());
        SetField(ds, "cAccName", m_name->text());
        TWaitCursor wait;
        RestoreAccountSetFromNewRow(m_list, m_file);
    });
    // Once the row is stored the set exists, even when copying the data failed: the dialog has
    // done what it can. Before that the user may correct the code and try again.
    if (!ds.isEditing())
        accept();
}

void TfrmAccountRestore::reject()
{
    RunGuarded([&] {
        if (m_list.dataSet().isEditing())
            m_list.dataSet().cancel();
    });
    QDialog::reject();
}
