#include "WaitWindow.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QtMath>

TBusyIndicator::TBusyIndicator(QWidget *parent) : QWidget(parent), m_timer(new QTimer(this))
{
    setFixedSize(sizeHint());
    m_timer->setInterval(60);
    connect(m_timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    m_clock.start();
}

void TBusyIndicator::showEvent(QShowEvent *event)
{
    m_timer->start();
    QWidget::showEvent(event);
}

void TBusyIndicator::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    QWidget::hideEvent(event);
}

void TBusyIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    // The folder.
    const QRectF body(4, 14, 40, 28);
    QPainterPath tab;
    tab.moveTo(body.left(), body.top());
    tab.lineTo(body.left(), body.top() - 5);
    tab.lineTo(body.left() + 14, body.top() - 5);
    tab.lineTo(body.left() + 18, body.top());
    p.setPen(QPen(QColor(176, 132, 38), 1.2));
    p.setBrush(QColor(236, 190, 84));
    p.drawPath(tab);
    p.setBrush(QColor(248, 208, 112));
    p.drawRoundedRect(body, 2, 2);

    // The magnifier circles over it, one turn every 1.6 s.
    const double angle = 2 * M_PI * double(m_clock.elapsed() % 1600) / 1600.0;
    const QPointF centre(26 + 9 * std::cos(angle), 26 + 6 * std::sin(angle));
    p.setBrush(QColor(255, 255, 255, 150));
    p.setPen(QPen(QColor(60, 72, 88), 2.4));
    p.drawEllipse(centre, 8, 8);
    p.setPen(QPen(QColor(60, 72, 88), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(6, 6), centre + QPointF(13, 13));
}

TfrmMessage::TfrmMessage(QWidget *mainWindow)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_mainWindow(mainWindow), m_message(new QLabel(this)), m_progress(new QProgressBar(this))
{
    setObjectName(QStringLiteral("frmMessage"));
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("waitFrame"));
    frame->setStyleSheet(QStringLiteral("#waitFrame { background: #fbfcfe; border: 1px solid #7a8aa0; }"));

    m_message->setStyleSheet(QStringLiteral("font-weight: bold; color: #1d2b3a;"));
    m_message->setMinimumWidth(240);
    auto *fixed = new QLabel(QStringLiteral("请不要关闭主窗口！"), frame);
    fixed->setStyleSheet(QStringLiteral("color: #a03a2a;"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setFixedHeight(14);
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_message->setParent(frame);
    m_progress->setParent(frame);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(m_message);
    texts->addWidget(fixed);
    texts->addWidget(m_progress);

    auto *row = new QHBoxLayout(frame);
    row->setContentsMargins(18, 16, 22, 16);
    row->setSpacing(16);
    row->addWidget(new TBusyIndicator(frame), 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
}

TfrmMessage::~TfrmMessage()
{
    if (m_cursorSet)
        QApplication::restoreOverrideCursor();
}

void TfrmMessage::setMessage(const QString &text)
{
    m_message->setText(text);
    if (isVisible()) {
        adjustSize();
        repaint();
    }
}

QString TfrmMessage::message() const { return m_message->text(); }

void TfrmMessage::centre()
{
    adjustSize();
    QWidget *over = m_mainWindow ? m_mainWindow.data() : QApplication::activeWindow();
    QRect area;
    if (over && over != this && over->isVisible())
        area = over->window()->frameGeometry();
    else if (QScreen *screen = QApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
}

void TfrmMessage::showMessage()
{
    if (!m_cursorSet) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorSet = true;
    }
    centre();
    show();
    raise();
    // Let the window system map the window before the caller blocks; input stays queued.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void TfrmMessage::hideMessage()
{
    hide();
    if (m_cursorSet) {
        QApplication::restoreOverrideCursor();
        m_cursorSet = false;
    }
    QCoreApplication::processEvents();
}

void TfrmMessage::setProgress(int percent)
{
    m_progress->setValue(std::clamp(percent, 0, 100));
    if (isVisible())
        repaint();
}

TWaitMessage::TWaitMessage(const QString &text, QWidget *mainWindow)
    : m_window(std::make_unique<TfrmMessage>(mainWindow))
{
    m_window->setMessage(text);
    m_window->showMessage();
}

TWaitMessage::~TWaitMessage() { m_window->hideMessage(); }
