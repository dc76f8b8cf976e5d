#pragma once
#include <QEvent>
#include <QMdiArea>
#include <QPixmap>

// Other windows ask the main window to reload its background by posting this event to the MDI
// area; winBgId > 0 names the row to show, 0 means the current one (iFlag 1).
class TReloadBackgroundEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = QEvent::Type(1280);
    explicit TReloadBackgroundEvent(int winBgId = 0) : QEvent(kType), m_winBgId(winBgId) {}
    int winBgId() const { return m_winBgId; }

private:
    int m_winBgId;
};

// The main window's client area: child windows in front of a picture repeated from the top-left
// corner (drawn once when it is larger than the area).
class TMdiBackground : public QMdiArea {
    Q_OBJECT
public:
    explicit TMdiBackground(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);
    const QPixmap &picture() const { return m_picture; }

    // Our own 183 x 115 picture, in use until an account set supplies one.
    static QPixmap DefaultPicture();

Q_SIGNALS:
    void reloadRequested(int winBgId);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};
