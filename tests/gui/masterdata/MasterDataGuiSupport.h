#pragma once
// Driving the reference-list windows as a user would: typing into their fields (Chinese
// included) and answering their modal dialogs.
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

inline void TypeInto(QWidget *widget, const QString &text)
{
    widget->setFocus();
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        edit->selectAll();
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

// Runs `start`, which shows `dialog` modally, and `whileShown` inside that modal loop. A dialog
// still open afterwards is closed with Cancel so that a failing test cannot hang.
inline void WhileModal(QDialog *dialog, const std::function<void()> &start, const std::function<void()> &whileShown)
{
    bool ran = false;
    QTimer::singleShot(0, dialog, [&] {
        ran = true;
        EXPECT_TRUE(dialog->isVisible());
        whileShown();
        if (dialog->isVisible())
            dialog->reject();
    });
    start();
    if (!ran) {
        QCoreApplication::processEvents();
        ADD_FAILURE() << "the dialog was not shown";
    }
}
