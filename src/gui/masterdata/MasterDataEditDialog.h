#pragma once
#include "data/OpData.h"
#include "masterdata/MasterDataSet.h"
#include <QDialog>
#include <QList>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class TDataBinder;

// The edit dialog of every reference-list member, laid out from the member table. It owns the
// member's live dataset, which the list window's grid shows as well: the row under the list's
// cursor is the row this dialog edits.
class TMasterDataEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit TMasterDataEditDialog(MasterDataKind kind, QWidget *parent = nullptr);
    ~TMasterDataEditDialog() override;

    const TMasterDataMember &member() const { return m_ds->member(); }
    TMasterDataSet *dataSet() const { return m_ds; }

    // The editor of a column (nullptr when the dialog has none).
    QWidget *editor(const QString &column) const;
    QWidget *firstEditor() const;
    // The read-only box beside the area drop-down.
    QLineEdit *areaNameBox() const { return m_areaName; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *addButton() const { return m_add; }
    QList<QToolButton *> navigatorButtons() const { return m_navigator; }

    // What the buttons do (public for tests and for the list window's keys).
    void saveAndClose();
    void saveAndAdd();
    void reject() override;

    // Reloads the drop-down lists from the database with the dataset's controls disabled.
    void reloadLookups();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Lookup {
        QComboBox *combo;
        const TDialogField *field;
    };
    QWidget *makeEditor(const TDialogField &field);
    QWidget *makeAreaEditor(const TDialogField &field);
    void buildLayout();
    void buildNavigator(class QHBoxLayout *row);
    void alignLabels(class QFormLayout *top, const QList<QFormLayout *> &pages);
    void refreshAreaName();
    void focusFirstField();
    bool hasTypedChanges() const;
    void focusEmptyRequiredField();

    TMasterDataSet *m_ds;
    TDataBinder *m_binder;
    QList<QPair<QString, QWidget *>> m_editors;
    QList<Lookup> m_lookups;
    QComboBox *m_area = nullptr;
    QLineEdit *m_areaName = nullptr;
    QTabWidget *m_pages = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_add = nullptr;
    QList<QToolButton *> m_navigator;
    bool m_inserting = false;
    bool m_typedInNewRow = false;   // something was typed into the row since it was appended
};

// The entries of the area drop-down: every area in code order, indented by code depth.
KeyItemList AreaDropDownItems();
