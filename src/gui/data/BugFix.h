#pragma once
#include <QDialog>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

// The repair tools window: a list of tools, the description of the selected one, and a
// button that runs it on the open account set.
class TfrmBugFix : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBugFix(QWidget *parent = nullptr);

    QListWidget *toolList() const { return m_tools; }
    QPlainTextEdit *description() const { return m_description; }
    QPushButton *runButton() const { return m_run; }
    QPushButton *closeButton() const { return m_close; }

private:
    void showDescription();
    void runSelected();

    QListWidget *m_tools = nullptr;
    QPlainTextEdit *m_description = nullptr;
    QPushButton *m_run = nullptr;
    QPushButton *m_close = nullptr;
};
