#pragma once
#include <QDate>
#include <QDialog>
#include <QString>
#include <utility>

class QLineEdit;
class QToolButton;

// A pair of arrow buttons that move a position between limits, as the month picker needs.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget *parent = nullptr);
    void setRange(int minimum, int maximum);
    int position() const { return m_position; }
    void setPosition(int position);
    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

Q_SIGNALS:
    void positionChanged(int position);

private:
    QToolButton *m_up;
    QToolButton *m_down;
    int m_min = -120;
    int m_max = 120;
    int m_position = 0;
};

// "选择": picks a month shown as "yyyy.MM". The up arrow goes back in time, as if scrolling up
// through a list of months that ends with the latest; at most ten years either way.
class TfrmSelectMonth : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelectMonth(QWidget *parent = nullptr, const QDate &initial = QDate::currentDate());
    QString month() const;
    QLineEdit *monthEdit() const { return m_edit; }
    TUpDown *upDown() const { return m_upDown; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void showPosition(int position);
    QDate m_base;
    QLineEdit *m_edit;
    TUpDown *m_upDown;
};

// Shows the month picker modally: (true, "yyyy.MM") on OK, (false, "") on cancel.
std::pair<bool, QString> SelectMonth(QWidget *parent = nullptr, const QDate &initial = QDate::currentDate());
