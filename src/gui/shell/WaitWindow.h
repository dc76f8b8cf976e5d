#pragma once
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;
class QTimer;

// The running picture of the wait window: a magnifier searching over a folder. The work it
// waits for blocks the event loop, so the picture also moves on whenever the window is
// repainted (by a message or progress change), not only by its timer.
class TBusyIndicator : public QWidget {
    Q_OBJECT
public:
    explicit TBusyIndicator(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {56, 48}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QTimer *m_timer;
    QElapsedTimer m_clock;
};

// The wait window shown around long work (stock recalculation, imports): borderless, on top,
// centred on the main window, busy cursor, the caller's message and "请不要关闭主窗口！".
class TfrmMessage : public QWidget {
    Q_OBJECT
public:
    // mainWindow: the window to centre on (null: the active window, else the screen).
    explicit TfrmMessage(QWidget *mainWindow = nullptr);
    ~TfrmMessage() override;

    void setMessage(const QString &text);
    QString message() const;
    // Shows the window and paints it at once: the caller is about to block the event loop.
    void showMessage();
    // Hides it and lets the events that piled up meanwhile run.
    void hideMessage();
    // Hidden until a caller shows it; 0–100. Setting a value repaints at once.
    QProgressBar *progressBar() const { return m_progress; }
    void setProgress(int percent);

private:
    void centre();
    QPointer<QWidget> m_mainWindow;
    QLabel *m_message;
    QProgressBar *m_progress;
    bool m_cursorSet = false;
};

// Shows a wait window for the lifetime of the guard:
//     TWaitMessage wait(QStringLiteral("正在处理数据，请稍后..."), this);
class TWaitMessage {
public:
    explicit TWaitMessage(const QString &text, QWidget *mainWindow = nullptr);
    ~TWaitMessage();
    TWaitMessage(const TWaitMessage &) = delete;
    TWaitMessage &operator=(const TWaitMessage &) = delete;
    TfrmMessage &window() { return *m_window; }

private:
    std::unique_ptr<TfrmMessage> m_window;
};
