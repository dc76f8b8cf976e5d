#include "Application.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject *receiver, QEvent *event) { return DeliverGuarded(receiver, event); }

namespace {
// While the error box is open, windows behind it still repaint and timers still fire; a
// handler that fails on every paint would otherwise stack one error box upon another.
int g_errorBoxesOpen = 0;

void ReportEscapedError(const QString &text)
{
    if (g_errorBoxesOpen > 0)
        return;
    ++g_errorBoxesOpen;
    ShowError(text);
    --g_errorBoxesOpen;
}
} // namespace

bool DeliverGuarded(QObject *receiver, QEvent *event)
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!app)
        return false;
    // An exception must never unwind into the event loop, which would end the process and lose
    // whatever the user had not saved yet.
    try {
        return app->QApplication::notify(receiver, event);
    } catch (const AbortError &) {
    } catch (const AppError &e) {
        ReportEscapedError(e.message());
    } catch (const std::exception &e) {
        ReportEscapedError(QString::fromUtf8(e.what()));
    }
    return false;
}
