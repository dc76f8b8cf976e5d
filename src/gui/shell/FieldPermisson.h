#pragma once
#include <QDialog>
#include <memory>

class QPushButton;
class TDBGrid;
class TDbDataSet;

// Which columns of which windows are hidden ("字段权限设置"); for the administrator only.
class TfrmFieldPermisson : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFieldPermisson(QWidget *parent = nullptr);
    ~TfrmFieldPermisson() override;

    // Shows the window modally when the current operator is the administrator; others get nothing.
    static void Execute(QWidget *parent);

    TDbDataSet &adsDict() const { return *m_dict; }
    TDbDataSet &adsDicts() const { return *m_items; }
    TDBGrid *gridDict() const { return m_dictGrid; }
    TDBGrid *gridDicts() const { return m_itemGrid; }
    QPushButton *btnOk() const { return m_ok; }
    QPushButton *btnExit() const { return m_exit; }

    void done(int result) override;

private:
    void dictChanged();

    std::unique_ptr<TDbDataSet> m_dict;
    std::unique_ptr<TDbDataSet> m_items;
    TDBGrid *m_dictGrid;
    TDBGrid *m_itemGrid;
    QPushButton *m_ok;
    QPushButton *m_exit;
};
