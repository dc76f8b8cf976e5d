#include "UsersEdit.h"
#include "DialogLayout.h"
#include "data/DataSet.h"
#include "shell/AppError.h"
#include "shell/Operators.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

TfrmUsersEdit::TfrmUsersEdit(TDataSet &operators, QWidget *parent) : QDialog(parent), m_operators(operators)
{
    setWindowTitle(QStringLiteral("新增用户"));
    auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    m_userName = edit("edtUserName");
    m_password = NewPasswordEdit(this, QStringLiteral("edtPassword"));
    m_confirm = NewPasswordEdit(this, QStringLiteral("edtConfirm"));
    m_super = new QCheckBox(QStringLiteral("系统管理员"), this);
    m_type = edit("edtType");
    m_depCode = edit("edtDepCode");
    m_class = edit("edtClass");
    m_whCode = edit("edtWhCode");

    auto *form = NewForm();
    form->addRow(QStringLiteral("用户名"), m_userName);
    form->addRow(QStringLiteral("密码"), m_password);
    form->addRow(QStringLiteral("确认密码"), m_confirm);
    form->addRow(QString(), m_super);
    form->addRow(QStringLiteral("用户类型"), m_type);
    form->addRow(QStringLiteral("所属部门"), m_depCode);
    form->addRow(QStringLiteral("所管分类"), m_class);
    form->addRow(QStringLiteral("所管仓库"), m_whCode);

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);

    LayOutFormDialog(this, form, {m_ok, m_cancel});
    setMinimumWidth(320);

    // Enter after the name must not store the operator with an empty password.
    EnterMovesOn({m_userName, m_password, m_confirm, m_type, m_depCode, m_class, m_whCode});
    connect(m_ok, &QPushButton::clicked, this, &TfrmUsersEdit::btnOkClick);
    connect(m_cancel, &QPushButton::clicked, this, &TfrmUsersEdit::reject);
    m_userName->setFocus();
}

void TfrmUsersEdit::btnOkClick()
{
    const bool saved = RunGuarded([&] {
        auto set = [&](const char *field, const QString &value) {
            m_operators.fieldByName(QLatin1String(field)).setAsString(value);
        };
        set("cUserName", m_userName->text().trimmed());
        set("cType", m_type->text());
        set("cDepCode", m_depCode->text());
        set("cClass", m_class->text());
        set("cWhCode", m_whCode->text());
        m_operators.fieldByName(QStringLiteral("bSuper")).setAsBoolean(m_super->isChecked());
        SaveNewOperator(m_operators, m_password->text(), m_confirm->text());
    });
    if (!saved) {
        // Back to the field to correct: the passwords when they differ, otherwise the name.
        QLineEdit *fix = m_password->text().trimmed() != m_confirm->text().trimmed() ? m_password : m_userName;
        fix->setFocus();
        fix->selectAll();
        return;
    }
    m_password->clear();
    m_confirm->clear();
    accept();
}

void TfrmUsersEdit::reject()
{
    RunGuarded([&] {
        if (m_operators.isEditing())
            m_operators.cancel();
    });
    QDialog::reject();
}
