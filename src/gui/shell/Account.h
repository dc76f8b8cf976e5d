#pragma once
#include <QDialog>
#include <functional>
#include <memory>

class QAction;
class QPushButton;
class TAccountList;
class TDBGrid;
class TfrmAccountEdit;
class TfrmLogin;

// The account-set dialog: the user picks an account set, which is opened, and logs in. It is
// created once and kept for the whole process; only a successful login closes it with OK.
class TfrmAccount : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAccount(const QString &dataNetPath, QWidget *parent = nullptr);
    ~TfrmAccount() override;

    TAccountList &accountList() const;
    TfrmAccountEdit &editor() const { return *m_editor; }
    // The login window of the last opening ("更换操作员..." shows it again); nullptr before.
    TfrmLogin *lastLogin() const { return m_login.get(); }

    // How the login window is run (tests answer it without a modal loop).
    using LoginRunner = std::function<int(TfrmLogin &)>;
    void setLoginRunner(LoginRunner runner) { m_runLogin = std::move(runner); }

    // The main window's "恢复帐套": restores a backup file into a new set of this list.
    void restoreAccountSet();

    TDBGrid *grid() const { return m_grid; }
    QPushButton *btnManage() const { return m_manage; }
    QAction *acNewAccount() const { return m_new; }
    QAction *acDeleteAccount() const { return m_delete; }
    QAction *acRenameAccount() const { return m_rename; }
    QPushButton *btnOk() const { return m_ok; }
    QPushButton *btnCancel() const { return m_cancel; }

    void btnOkClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void acNewAccountExecute();
    void acDeleteAccountExecute();
    void acRenameAccountExecute();

    TfrmAccountEdit *m_editor;
    std::unique_ptr<TfrmLogin> m_login;
    LoginRunner m_runLogin;
    TDBGrid *m_grid;
    QPushButton *m_manage;
    QAction *m_new;
    QAction *m_delete;
    QAction *m_rename;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
