#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

// The current operator changes his own password ("密码修改").
class TfrmEditPass : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditPass(QWidget *parent = nullptr);
    QLineEdit *edtOld() const { return m_old; }
    QLineEdit *edtNew() const { return m_new; }
    QLineEdit *edtConfirm() const { return m_confirm; }
    QPushButton *btnOk() const { return m_ok; }
    QPushButton *btnCancel() const { return m_cancel; }

private:
    void btnOkClick();
    QLineEdit *m_old;
    QLineEdit *m_new;
    QLineEdit *m_confirm;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
