#pragma once
// Answers a modal dialog from inside its own event loop, as a user would.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

// Runs the action on the next modal dialog of type T once it is showing.
template <typename T> void WhenModal(std::function<void(T &)> action)
{
    QTimer::singleShot(0, [action] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal " << T::staticMetaObject.className();
            if (QWidget *other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        action(*dialog);
        if (dialog->isVisible())
            ADD_FAILURE() << T::staticMetaObject.className() << " was left open";
    });
}
