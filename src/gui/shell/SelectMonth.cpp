#include "SelectMonth.h"
#include "shell/Utils.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

TUpDown::TUpDown(QWidget *parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton *button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        button->setFixedWidth(18);
        layout->addWidget(button);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { setPosition(m_position + 1); });
    connect(m_down, &QToolButton::clicked, this, [this] { setPosition(m_position - 1); });
}

void TUpDown::setRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = maximum;
    setPosition(m_position);
}

void TUpDown::setPosition(int position)
{
    position = std::clamp(position, m_min, m_max);
    if (position == m_position)
        return;
    m_position = position;
    Q_EMIT positionChanged(position);
}

TfrmSelectMonth::TfrmSelectMonth(QWidget *parent, const QDate &initial)
    : QDialog(parent), m_base(FirstDayOfMonth(initial)), m_edit(new QLineEdit(this)), m_upDown(new TUpDown(this))
{
    setWindowTitle(QStringLiteral("选择"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_edit->setReadOnly(true);
    m_edit->setAlignment(Qt::AlignCenter);
    m_edit->setMinimumWidth(110);
    m_edit->installEventFilter(this);
    m_upDown->setRange(-120, 120);
    m_upDown->setFixedHeight(m_edit->sizeHint().height());
    connect(m_upDown, &TUpDown::positionChanged, this, &TfrmSelectMonth::showPosition);
    showPosition(0);

    auto *field = new QHBoxLayout;
    field->setSpacing(1);
    field->addWidget(m_edit);
    field->addWidget(m_upDown);
    field->addStretch();

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 12);
    layout->setSpacing(10);
    layout->addWidget(new QLabel(QStringLiteral("请选择月份"), this));
    layout->addLayout(field);
    layout->addSpacing(4);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_edit->setFocus();
}

QString TfrmSelectMonth::month() const { return m_edit->text(); }

void TfrmSelectMonth::showPosition(int position)
{
    m_edit->setText(MonthText(m_base.addMonths(-position)));
    m_edit->deselect();
}

void TfrmSelectMonth::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A selected month reads as if it could be typed over; the field only follows the arrows.
    QTimer::singleShot(0, m_edit, &QLineEdit::deselect);
}

bool TfrmSelectMonth::eventFilter(QObject *watched, QEvent *event)
{
    // The arrow keys in the field work like the arrow buttons beside it.
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            m_upDown->setPosition(m_upDown->position() + (key == Qt::Key_Up ? 1 : -1));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::pair<bool, QString> SelectMonth(QWidget *parent, const QDate &initial)
{
    TfrmSelectMonth dialog(parent, initial);
    if (dialog.exec() != QDialog::Accepted)
        return {false, QString()};
    return {true, dialog.month()};
}
