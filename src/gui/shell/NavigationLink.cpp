#include "NavigationLink.h"

#include <QKeyEvent>
#include <QMouseEvent>

TNavigationLink::TNavigationLink(const QString &caption, QWidget *parent) : QLabel(caption, parent)
{
    setObjectName(caption);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setHot(false);
}

void TNavigationLink::setHot(bool hot)
{
    m_hot = hot;
    QFont f = font();
    f.setUnderline(hot);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, hot ? QColor(Qt::red) : QColor(Qt::black));
    setPalette(pal);
}

void TNavigationLink::enterEvent(QEnterEvent *event)
{
    setHot(true);
    QLabel::enterEvent(event);
}

void TNavigationLink::leaveEvent(QEvent *event)
{
    setHot(hasFocus());
    m_pressed = false;
    QLabel::leaveEvent(event);
}

void TNavigationLink::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TNavigationLink::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        Q_EMIT clicked();
}

void TNavigationLink::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        Q_EMIT clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void TNavigationLink::focusInEvent(QFocusEvent *event)
{
    setHot(true);
    QLabel::focusInEvent(event);
}

void TNavigationLink::focusOutEvent(QFocusEvent *event)
{
    setHot(underMouse());
    QLabel::focusOutEvent(event);
}
