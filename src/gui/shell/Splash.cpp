#include "Splash.h"
#include "shell/Product.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 404;
constexpr int kHeight = 246;
}

QPixmap SplashPicture(const QSize &size, qreal devicePixelRatio)
{
    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    const qreal w = size.width();
    const qreal h = size.height();

    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, w, h);
    sky.setColorAt(0.0, QColor(24, 58, 94));
    sky.setColorAt(0.55, QColor(38, 96, 128));
    sky.setColorAt(1.0, QColor(70, 138, 150));
    p.fillRect(QRectF(0, 0, w, h), sky);

    // Soft light from the upper right, and two quiet arcs for depth.
    QRadialGradient glow(w * 0.82, h * 0.12, w * 0.6);
    glow.setColorAt(0.0, QColor(255, 255, 255, 60));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, w, h), glow);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 28), 18));
    p.drawEllipse(QPointF(w * 0.95, h * 1.05), w * 0.42, w * 0.42);
    p.setPen(QPen(QColor(255, 255, 255, 18), 10));
    p.drawEllipse(QPointF(w * 0.95, h * 1.05), w * 0.58, w * 0.58);

    // A clothes hanger, drawn in one line.
    const QPointF hook(w * 0.5, h * 0.17);
    QPainterPath hanger;
    hanger.moveTo(hook + QPointF(-7, 2));
    hanger.cubicTo(hook + QPointF(-7, -9), hook + QPointF(7, -9), hook + QPointF(7, 0));
    hanger.cubicTo(hook + QPointF(7, 6), hook + QPointF(0, 7), hook + QPointF(0, 13));
    hanger.lineTo(hook + QPointF(-46, 36));
    hanger.lineTo(hook + QPointF(46, 36));
    hanger.lineTo(hook + QPointF(0, 13));
    p.setPen(QPen(QColor(255, 255, 255, 215), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(hanger);

    QFont title(QStringLiteral("Noto Sans CJK SC"));
    title.setPixelSize(26);
    title.setWeight(QFont::Bold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 60));
    const QRectF titleRect(0, h * 0.44, w, 40);
    p.drawText(titleRect.translated(1, 1.5), Qt::AlignCenter, ProductTitle());
    p.setPen(Qt::white);
    p.drawText(titleRect, Qt::AlignCenter, ProductTitle());

    QFont line(QStringLiteral("Noto Sans CJK SC"));
    line.setPixelSize(13);
    line.setLetterSpacing(QFont::AbsoluteSpacing, 2.0);
    p.setFont(line);
    p.setPen(QColor(220, 234, 240));
    p.drawText(QRectF(0, h * 0.61, w, 22), Qt::AlignCenter, QStringLiteral("进货 · 销售 · 库存 · 财务"));

    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.drawLine(QPointF(w * 0.3, h * 0.72), QPointF(w * 0.7, h * 0.72));

    QFont small(QStringLiteral("Noto Sans CJK SC"));
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(QColor(200, 220, 230));
    p.drawText(QRectF(16, h - 28, w / 2, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("正在启动，请稍候…"));
    p.drawText(QRectF(w / 2, h - 28, w / 2 - 16, 18), Qt::AlignRight | Qt::AlignVCenter, ProductVersion());
    return picture;
}

TfrmFlash::TfrmFlash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmFlash"));
    setFixedSize(kWidth, kHeight);
    auto *picture = new QLabel(this);
    picture->setScaledContents(true);
    const qreal ratio = screen() ? screen()->devicePixelRatio() : 1.0;
    picture->setPixmap(SplashPicture(size(), ratio));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);
    if (QScreen *s = QApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

void ShowSplash(int ms)
{
    if (ms <= 0)
        return;
    TfrmFlash splash;
    splash.show();
    splash.repaint();
    // Keep painting while it waits, but leave clicks and keys for later: nothing is ready yet.
    QEventLoop wait;
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}
