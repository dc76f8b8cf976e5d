#include "MdiBackground.h"
#include "shell/BackgroundTiling.h"

#include <QPainter>
#include <QPainterPath>
#include <QPaintEvent>

TMdiBackground::TMdiBackground(QWidget *parent) : QMdiArea(parent), m_picture(DefaultPicture())
{
    setObjectName(QStringLiteral("MdiClient"));
}

void TMdiBackground::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    viewport()->update();
}

bool TMdiBackground::event(QEvent *event)
{
    if (event->type() == TReloadBackgroundEvent::kType) {
        Q_EMIT reloadRequested(static_cast<TReloadBackgroundEvent *>(event)->winBgId());
        return true;
    }
    return QMdiArea::event(event);
}

void TMdiBackground::paintEvent(QPaintEvent *event)
{
    QPainter p(viewport());
    const QSize picture = m_picture.deviceIndependentSize().toSize();
    const QList<QRect> tiles = BackgroundTileRects(viewport()->size(), picture);
    if (tiles.isEmpty()) {
        p.fillRect(event->rect(), palette().color(QPalette::Dark));
        return;
    }
    for (const QRect &tile : tiles)
        if (tile.intersects(event->rect()))
            p.drawPixmap(tile.topLeft(), m_picture);
}

// A quiet lattice in the shell's blue-grey: the motif sits at the centre and, split in four, at
// the corners, so that copies side by side join into one seamless pattern.
QPixmap TMdiBackground::DefaultPicture()
{
    const int w = 183, h = 115;
    QPixmap pixmap(w, h);
    pixmap.fill(QColor(0xe9, 0xee, 0xf4));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor motif(0xdc, 0xe3, 0xec);
    const QColor line(0xe1, 0xe7, 0xef);
    auto diamond = [&](QPointF c, qreal rx, qreal ry) {
        QPainterPath path;
        path.moveTo(c.x(), c.y() - ry);
        path.lineTo(c.x() + rx, c.y());
        path.lineTo(c.x(), c.y() + ry);
        path.lineTo(c.x() - rx, c.y());
        path.closeSubpath();
        p.fillPath(path, motif);
    };
    p.setPen(QPen(line, 1.0));
    p.drawLine(QPointF(0, 0), QPointF(w, h));
    p.drawLine(QPointF(w, 0), QPointF(0, h));
    for (QPointF c : {QPointF(w / 2.0, h / 2.0), QPointF(0, 0), QPointF(w, 0), QPointF(0, h), QPointF(w, h)})
        diamond(c, 14, 9);
    return pixmap;
}
