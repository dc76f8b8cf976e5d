#pragma once
#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

// The login window: the operator is picked from the open account set's operators and logs in
// with a password; only a successful login closes it with OK.
class TfrmLogin : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogin(QWidget *parent = nullptr);

    QComboBox *cbUser() const { return m_user; }
    QLineEdit *edtPassword() const { return m_password; }
    QPushButton *btnOk() const { return m_ok; }
    QPushButton *btnCancel() const { return m_cancel; }

    // Reloads the operator names (the window is shown again by "更换操作员...").
    void loadOperators();

private:
    void btnOkClick();

    QComboBox *m_user;
    QLineEdit *m_password;
    QDateEdit *m_date;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
