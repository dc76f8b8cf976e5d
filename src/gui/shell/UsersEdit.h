#pragma once
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TDataSet;

// The editor of a new operator ("新增用户") on the operator list's pending row. Closing it any
// way but a successful "确定" cancels the row.
class TfrmUsersEdit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmUsersEdit(TDataSet &operators, QWidget *parent = nullptr);

    QLineEdit *edtUserName() const { return m_userName; }
    QLineEdit *edtPassword() const { return m_password; }
    QLineEdit *edtConfirm() const { return m_confirm; }
    QCheckBox *chkSuper() const { return m_super; }
    QLineEdit *edtType() const { return m_type; }
    QLineEdit *edtDepCode() const { return m_depCode; }
    QLineEdit *edtClass() const { return m_class; }
    QLineEdit *edtWhCode() const { return m_whCode; }
    QPushButton *btnOk() const { return m_ok; }
    QPushButton *btnCancel() const { return m_cancel; }

    void reject() override;

private:
    void btnOkClick();

    TDataSet &m_operators;
    QLineEdit *m_userName;
    QLineEdit *m_password;
    QLineEdit *m_confirm;
    QCheckBox *m_super;
    QLineEdit *m_type;
    QLineEdit *m_depCode;
    QLineEdit *m_class;
    QLineEdit *m_whCode;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
