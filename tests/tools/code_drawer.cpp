// Draws bill codes and keys from an account-set file in a loop and prints them, one per line.
// Two of these running at once on one file must never print the same code.
#include "data/DataModule.h"
#include "data/OpData.h"
#include "shell/AppError.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    QTextStream out(stdout);
    try {
        TDM dm;
        dm.openDatabase(args.at(1));
        TOpData op(dm.database());
        const int count = args.at(3).toInt();
        for (int i = 0; i < count; ++i) {
            out << op.GetNextBillCode(args.at(2), QStringLiteral("0612")) << ' '
                << op.GetNextID(QStringLiteral("Customer")) << '\n';
        }
    } catch (const AppError &e) {
        QTextStream(stderr) << e.message() << '\n';
        return 1;
    }
    return 0;
}
