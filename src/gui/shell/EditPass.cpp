#include "EditPass.h"
#include "data/OpData.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/Operators.h"
#include "shell/UserInfo.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmEditPass::TfrmEditPass(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("密码修改"));
    RunGuarded([] { OpData().WriteSysLog(CurrentUser().userName, QStringLiteral("修改密码")); });
    auto masked = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setEchoMode(QLineEdit::Password);
        return e;
    };
    m_old = masked("edtOld");
    m_new = masked("edtNew");
    m_confirm = masked("edtConfirm");
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addRow(QStringLiteral("原密码："), m_old);
    form->addRow(QStringLiteral("新密码："), m_new);
    form->addRow(QStringLiteral("确认密码："), m_confirm);

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(300);
    connect(m_ok, &QPushButton::clicked, this, &TfrmEditPass::btnOkClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmEditPass::btnOkClick()
{
    bool changed = false;
    RunGuarded([&] { changed = ChangePassword(CurrentUser(), m_old->text(), m_new->text(), m_confirm->text()); });
    if (changed)
        accept();
}
