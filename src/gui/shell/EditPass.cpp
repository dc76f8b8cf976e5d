#include "EditPass.h"
#include "DialogLayout.h"
#include "data/OpData.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/Operators.h"
#include "shell/UserInfo.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

TfrmEditPass::TfrmEditPass(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("密码修改"));
    RunGuarded([] { OpData().WriteSysLog(CurrentUser().userName, QStringLiteral("修改密码")); });
    m_old = NewPasswordEdit(this, QStringLiteral("edtOld"));
    m_new = NewPasswordEdit(this, QStringLiteral("edtNew"));
    m_confirm = NewPasswordEdit(this, QStringLiteral("edtConfirm"));
    auto *form = NewForm();
    form->addRow(QStringLiteral("原密码："), m_old);
    form->addRow(QStringLiteral("新密码："), m_new);
    form->addRow(QStringLiteral("确认密码："), m_confirm);

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    LayOutFormDialog(this, form, {m_ok, m_cancel});
    setMinimumWidth(300);
    // Enter after the old password must not store an empty new one.
    EnterMovesOn({m_old, m_new, m_confirm});
    connect(m_ok, &QPushButton::clicked, this, &TfrmEditPass::btnOkClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmEditPass::btnOkClick()
{
    bool changed = false;
    RunGuarded([&] { changed = ChangePassword(CurrentUser(), m_old->text(), m_new->text(), m_confirm->text()); });
    if (changed) {
        accept();
        return;
    }
    // Back to the field to correct.
    QLineEdit *fix = m_new->text() != m_confirm->text() ? m_new : m_old;
    fix->setFocus();
    fix->selectAll();
}
