#pragma once
#include <QDialog>
#include <memory>

class QAction;
class QToolBar;
class TDBGrid;
class TDbDataSet;

// The operators of the open account set ("用户管理"): new, delete, rights and export.
class TfrmUsers : public QDialog {
    Q_OBJECT
public:
    explicit TfrmUsers(QWidget *parent = nullptr);
    ~TfrmUsers() override;

    TDbDataSet &adsMain() const { return *m_operators; }
    TDBGrid *grid() const { return m_grid; }
    QAction *acNew() const { return m_new; }
    QAction *acEdit() const { return m_edit; }
    QAction *acDelete() const { return m_delete; }
    QAction *acPurview() const { return m_purview; }
    QAction *acPrint() const { return m_print; }
    QAction *acExport() const { return m_export; }

    void acNewExecute();
    void acDeleteExecute();
    void acPurviewExecute();
    void acExportExecute();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<TDbDataSet> m_operators;
    TDBGrid *m_grid;
    QToolBar *m_toolBar;
    QAction *m_new;
    QAction *m_edit;
    QAction *m_delete;
    QAction *m_purview;
    QAction *m_print;
    QAction *m_export;
};
