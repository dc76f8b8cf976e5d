#include "DialogLayout.h"

#include <QAction>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Owned by the field it watches.
class TEnterMovesOn : public QObject {
public:
    TEnterMovesOn(QLineEdit *from, QLineEdit *to) : QObject(from), m_to(to) { from->installEventFilter(this); }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !m_to)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        m_to->setFocus(Qt::TabFocusReason);
        m_to->selectAll();
        return true;
    }

private:
    QPointer<QLineEdit> m_to;
};

} // namespace

void EnterMovesOn(std::initializer_list<QLineEdit *> fields)
{
    QLineEdit *previous = nullptr;
    for (QLineEdit *field : fields) {
        if (previous)
            new TEnterMovesOn(previous, field);
        previous = field;
    }
}

QLineEdit *NewPasswordEdit(QWidget *parent, const QString &objectName)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QFormLayout *NewForm()
{
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return form;
}

QLabel *NoteLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: #666;"));
    return label;
}

QHBoxLayout *ButtonRow(std::initializer_list<QPushButton *> buttons, QWidget *note)
{
    auto *row = new QHBoxLayout;
    if (note)
        row->addWidget(note);
    row->addStretch();
    bool first = true;
    for (QPushButton *b : buttons) {
        if (first)
            b->setDefault(true);
        first = false;
        row->addWidget(b);
    }
    return row;
}

void LayOutFormDialog(QWidget *dialog, QLayout *fields, std::initializer_list<QPushButton *> buttons, QWidget *note)
{
    auto *layout = new QVBoxLayout(dialog);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(ButtonRow(buttons, note));
}

void AddWindowKey(QWidget *window, QAction *action, const QKeySequence &key)
{
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setToolTip(QStringLiteral("%1（%2）").arg(action->text(), key.toString(QKeySequence::NativeText)));
    window->addAction(action);
}
