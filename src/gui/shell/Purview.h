#pragma once
#include <QDialog>
#include <memory>

class QListWidget;
class QMenu;
class QPushButton;
class TDataSet;
class TDBGrid;

// Grants and withdraws one operator's rights ("权限设置[name]"); "确认" stores every right of
// the catalogue, whichever group is shown.
class TfrmPurview : public QDialog {
    Q_OBJECT
public:
    TfrmPurview(const QString &userName, const QString &rights, QWidget *parent = nullptr);
    ~TfrmPurview() override;

    TDataSet &cdsPurview() const { return *m_purview; }
    QListWidget *lstGroups() const { return m_groups; }
    TDBGrid *grid() const { return m_grid; }
    QMenu *popupMenu() const { return m_popup; }
    QPushButton *btnOk() const { return m_ok; }
    QPushButton *btnCancel() const { return m_cancel; }

private:
    void btnOkClick();
    void groupChanged();

    QString m_userName;
    QString m_rights;
    std::unique_ptr<TDataSet> m_purview;
    QListWidget *m_groups;
    TDBGrid *m_grid;
    QMenu *m_popup;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
