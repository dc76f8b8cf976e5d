#pragma once
#include <QDialog>

// "关于": the product, its version and a short notice.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *parent = nullptr);
};
