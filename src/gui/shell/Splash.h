#pragma once
#include <QPixmap>
#include <QWidget>

// The start-up picture: the product title over a calm gradient, drawn for the given size.
QPixmap SplashPicture(const QSize &size, qreal devicePixelRatio = 1.0);

// The splash window: borderless, 404 × 246, centred on the screen, the picture stretched over it.
class TfrmFlash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmFlash(QWidget *parent = nullptr);
};

// Shows the splash for `ms` milliseconds without taking input, then destroys it. ms ≤ 0 skips it.
void ShowSplash(int ms);
