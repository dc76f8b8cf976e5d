#pragma once
#include <QDialog>
#include <memory>

class QLineEdit;
class QPushButton;
class QToolButton;
class TAccountList;

// The account-set editor ("新建帐套..."). It owns the account-set list (its own connection to
// the list file) for the whole life of the account-set dialog, which shows the same list.
class TfrmAccountEdit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAccountEdit(const QString &dataNetPath, QWidget *parent = nullptr);
    ~TfrmAccountEdit() override;

    TAccountList &accountList() const { return *m_list; }

    // Appends a row (启用日期 preset to this month) and shows the editor modally; the row is
    // stored only by "创建".
    int newAccountSet();

    QLineEdit *edtCode() const { return m_code; }
    QLineEdit *edtName() const { return m_name; }
    QLineEdit *edtEndDate() const { return m_endDate; }
    QLineEdit *edtUnit() const { return m_unit; }
    QToolButton *btnMonth() const { return m_month; }
    QPushButton *btnCreate() const { return m_create; }
    QPushButton *btnCancel() const { return m_cancel; }

    void reject() override;

private:
    void btnCreateClick();
    void btnMonthClick();

    std::unique_ptr<TAccountList> m_list;
    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_endDate;
    QLineEdit *m_unit;
    QToolButton *m_month;
    QPushButton *m_create;
    QPushButton *m_cancel;
};

// Renames the selected account set ("修改帐套名称").
class TfrmAccNameEdit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAccNameEdit(TAccountList &list, QWidget *parent = nullptr);
    QLineEdit *edtName() const { return m_name; }
    QPushButton *btnOk() const { return m_ok; }
    QPushButton *btnCancel() const { return m_cancel; }

private:
    void btnOkClick();

    TAccountList &m_list;
    QLineEdit *m_name;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

// Asks for the code and name of the account set a backup file is restored into ("帐套恢复").
class TfrmAccountRestore : public QDialog {
    Q_OBJECT
public:
    TfrmAccountRestore(TAccountList &list, const QString &backupFile, QWidget *parent = nullptr);
    QLineEdit *edtCode() const { return m_code; }
    QLineEdit *edtName() const { return m_name; }
    QPushButton *btnRestore() const { return m_restore; }
    QPushButton *btnCancel() const { return m_cancel; }

    void reject() override;

private:
    void btnRestoreClick();

    TAccountList &m_list;
    QString m_file;
    QLineEdit *m_code;
    QLineEdit *m_name;
    QPushButton *m_restore;
    QPushButton *m_cancel;
};
