#include "TileIcons.h"
#include "GuiResources.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

namespace {

qreal DevicePixelRatio()
{
    return qApp ? qApp->devicePixelRatio() : 1.0;
}

// Symbolic icons carry their colour as fill attributes; rewriting them recolours the picture.
QImage RenderSymbolic(const QString &name, const QColor &color, int pixels)
{
    InitGuiResources();
    QFile file(QStringLiteral(":/icons/") + name + QStringLiteral(".svg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString svg = QString::fromUtf8(file.readAll());
    static const QRegularExpression fill(QStringLiteral("fill=\"#[0-9a-fA-F]{3,6}\""));
    svg.replace(fill, QStringLiteral("fill=\"%1\"").arg(color.name()));
    QByteArray data = svg.toUtf8();
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "svg");
    reader.setScaledSize(QSize(pixels, pixels));
    return reader.read();
}

} // namespace

QPixmap SymbolicPixmap(const QString &name, const QColor &color, int size)
{
    const qreal dpr = DevicePixelRatio();
    QPixmap pixmap = QPixmap::fromImage(RenderSymbolic(name, color, qRound(size * dpr)));
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

QIcon SymbolicIcon(const QString &name, const QColor &color)
{
    QIcon icon;
    for (int size : {16, 20, 24, 32})
        icon.addPixmap(SymbolicPixmap(name, color, size));
    QColor disabled = color;
    disabled.setAlpha(90);
    for (int size : {16, 20, 24, 32})
        icon.addPixmap(SymbolicPixmap(name, disabled, size), QIcon::Disabled);
    return icon;
}

QPixmap TileIcon(const QString &glyph, const QColor &color, int size)
{
    InitGuiResources();
    const qreal dpr = DevicePixelRatio();
    QPixmap tile(qRound(size * dpr), qRound(size * dpr));
    tile.setDevicePixelRatio(dpr);
    tile.fill(Qt::transparent);

    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, size);
    gradient.setColorAt(0, color.lighter(112));
    gradient.setColorAt(1, color.darker(108));
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, size, size), size * 0.26, size * 0.26);
    p.fillPath(shape, gradient);

    const int inner = qRound(size * 0.56);
    const QRect glyphRect((size - inner) / 2, (size - inner) / 2, inner, inner);
    if (QFile::exists(QStringLiteral(":/icons/") + glyph + QStringLiteral(".svg"))) {
        p.drawPixmap(glyphRect, SymbolicPixmap(glyph, Qt::white, inner));
    } else {
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(qRound(size * 0.5));
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, glyph);
    }
    return tile;
}
