#include "Application.h"
#include "shell/AppError.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject *receiver, QEvent *event) { return DeliverGuarded(receiver, event); }

bool DeliverGuarded(QObject *receiver, QEvent *event)
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!app)
        return false;
    bool handled = false;
    // An exception must never unwind into the event loop, which would end the process and lose
    // whatever the user had not saved yet.
    if (!RunGuarded([&] { handled = app->QApplication::notify(receiver, event); }))
        return false;
    return handled;
}
