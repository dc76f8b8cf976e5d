#pragma once
#include "masterdata/MasterDataMember.h"
#include <QWidget>

class QAction;
class QComboBox;
class QToolBar;
class TDBGrid;
class TMasterDataEditDialog;
class TMasterDataSet;

// The list window of every reference-list member: a read-only grid over the member's live
// dataset (owned by the edit dialog, which lives exactly as long as this window) and the
// actions to add, edit, delete, print and export rows.
class TMasterDataListWindow : public QWidget {
    Q_OBJECT
public:
    explicit TMasterDataListWindow(MasterDataKind kind, QWidget *parent = nullptr);
    ~TMasterDataListWindow() override;

    const TMasterDataMember &member() const { return m_member; }
    TMasterDataEditDialog *editDialog() const { return m_dialog; }
    TMasterDataSet *dataSet() const;
    TDBGrid *grid() const { return m_grid; }
    QComboBox *kindChoice() const { return m_kindChoice; }

    QAction *acNew = nullptr;
    QAction *acEdit = nullptr;
    QAction *acDelete = nullptr;
    QAction *acPrint = nullptr;
    QAction *acExpert = nullptr;

    void newRow();
    void editRow();
    void deleteRow();
    void print();
    void exportToExcel();

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildActions(QToolBar *bar);
    void setupGrid();
    void applyColumnOrder();
    void printContactList();

    const TMasterDataMember &m_member;
    TMasterDataEditDialog *m_dialog = nullptr;
    QToolBar *m_bar = nullptr;
    TDBGrid *m_grid = nullptr;
    QComboBox *m_kindChoice = nullptr;
};
