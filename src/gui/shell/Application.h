#pragma once
#include <QApplication>

// The program's application object. A handler that lets an error escape does not end the
// program: the error box shows its text (an abandonment stays silent) and the program goes on,
// as it does for the handlers that guard themselves with RunGuarded.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Delivers an event through QApplication's own dispatch and stops any error on the way, as
// TApplication::notify does; false when the handler failed.
bool DeliverGuarded(QObject *receiver, QEvent *event);
