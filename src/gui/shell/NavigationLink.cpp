#include "NavigationLink.h"

#include <QMouseEvent>

TNavigationLink::TNavigationLink(const QString &caption, QWidget *parent) : QLabel(caption, parent)
{
    setObjectName(caption);
    setCursor(Qt::PointingHandCursor);
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
    setHot(false);
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
