#include "Login.h"
#include "DialogLayout.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/Config.h"
#include "shell/UserInfo.h"
#include "data/OpData.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmLogin::TfrmLogin(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("登录"));
    m_user = new QComboBox(this);
    m_user->setObjectName(QStringLiteral("cbUser"));
    m_password = NewPasswordEdit(this, QStringLiteral("edtPassword"));
    m_date = new QDateEdit(QDate::currentDate(), this);
    m_date->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    m_date->setCalendarPopup(true);

    auto *form = NewForm();
    form->addRow(QStringLiteral("操作员"), m_user);
    form->addRow(QStringLiteral("密码"), m_password);
    form->addRow(QStringLiteral("日期"), m_date);

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);

    LayOutFormDialog(this, form, {m_ok, m_cancel}, NoteLabel(QStringLiteral("初始密码为空\n直接确定即可"), this));
    setMinimumWidth(320);

    connect(m_ok, &QPushButton::clicked, this, &TfrmLogin::btnOkClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    loadOperators();
}

void TfrmLogin::loadOperators()
{
    RunGuarded([&] {
        QStringList names;
        OpData().LoadOperatorNames(names);
        m_user->clear();
        m_user->addItems(names);
        // Without a remembered name the first operator is offered, so that the administrator of
        // a new set can log in at once, as the note on the window promises.
        const int remembered = m_user->findText(ReadConfig(QStringLiteral("UserName")));
        m_user->setCurrentIndex(remembered >= 0 ? remembered : (names.isEmpty() ? -1 : 0));
    });
    m_password->clear();
    m_password->setFocus();
}

void TfrmLogin::btnOkClick()
{
    bool loggedIn = false;
    RunGuarded([&] { loggedIn = CurrentUser().Login(m_user->currentText(), m_password->text()); });
    if (!loggedIn) {
        m_password->setFocus();
        m_password->selectAll();
        return;
    }
    // Remembering the name is a convenience: a settings file that cannot be written must not
    // undo a login that succeeded.
    RunGuarded([&] { WriteConfig(QStringLiteral("UserName"), CurrentUser().userName); });
    accept();
}
