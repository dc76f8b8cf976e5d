#include "DialogLayout.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
