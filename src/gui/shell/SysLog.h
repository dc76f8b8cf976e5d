#pragma once
#include <QDialog>
#include <memory>

class QAction;
class QDateEdit;
class QPushButton;
class QToolBar;
class TDataSet;
class TDBGrid;

// The system log, newest first ("系统日志").
class TfrmSysLog : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSysLog(QWidget *parent = nullptr);
    ~TfrmSysLog() override;

    TDataSet &cdsLog() const { return *m_log; }
    TDBGrid *grid() const { return m_grid; }
    QAction *acClear() const { return m_clear; }
    QAction *acPrint() const { return m_print; }
    QAction *acExport() const { return m_export; }

    void reload();
    void acClearExecute();

private:
    std::unique_ptr<TDataSet> m_log;
    TDBGrid *m_grid;
    QToolBar *m_toolBar;
    QAction *m_clear;
    QAction *m_print;
    QAction *m_export;
};

// Removes the log rows written before a chosen day ("日志清除").
class TfrmSysLogClear : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSysLogClear(QWidget *parent = nullptr);
    QDateEdit *edtDate() const { return m_date; }
    QPushButton *btnClear() const { return m_clear; }
    QPushButton *btnExit() const { return m_exit; }

private:
    void btnClearClick();
    QDateEdit *m_date;
    QPushButton *m_clear;
    QPushButton *m_exit;
};
