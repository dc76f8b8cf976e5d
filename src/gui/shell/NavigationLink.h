#pragma once
#include <QLabel>

// A caption of the console that acts as a link: hand cursor, red and underlined while the mouse
// is over it, black again when it leaves; a click (press and release on it) runs the entry.
// Keyboard users reach it with Tab (it looks as under the mouse while it has the focus) and run
// it with Enter or Space.
class TNavigationLink : public QLabel {
    Q_OBJECT
public:
    explicit TNavigationLink(const QString &caption, QWidget *parent = nullptr);
    bool isHot() const { return m_hot; }

Q_SIGNALS:
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void setHot(bool hot);
    bool m_hot = false;
    bool m_pressed = false;
};
