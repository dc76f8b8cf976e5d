#pragma once
#include <QDialog>
#include <QPixmap>
#include <memory>

class QLabel;
class QToolButton;
class TDbDataSet;

// The preview "示例": the picture repeated as the main window would show it.
class TTiledPreview : public QWidget {
    Q_OBJECT
public:
    explicit TTiledPreview(QWidget *parent = nullptr);
    void setPicture(const QPixmap &picture);
    const QPixmap &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};

// "主窗口背景设置": the background pictures of the account set (table winbg), one of which is
// the main window's background.
class TfrmWinBg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWinBg(QWidget *parent = nullptr);
    ~TfrmWinBg() override;

    TDbDataSet &dataSet() const { return *m_ds; }
    QString counterText() const;

    void appendPicture();      // a new row, which asks for its picture at once
    void deleteCurrent();
    void loadPicture();        // "装入图片"
    void clearPicture();       // "清除图片"
    void setAsBackground();    // "设为背景"

private:
    void refresh();
    bool choosePictureInto();

    std::unique_ptr<TDbDataSet> m_ds;
    QLabel *m_counter = nullptr;
    TTiledPreview *m_preview = nullptr;
    QList<QToolButton *> m_navButtons;
};
