// Making a benchmark-sized account set and opening it:
//   ./build/bench/demo_set_bench [stores] [styles]
#include "data/DataModule.h"
#include "shell/AccountOpen.h"
#include "shell/AppContext.h"
#include "shell/DemoData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    TDemoOptions options;
    options.code = QStringLiteral("bench");
    options.shops = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 50;
    options.styles = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 3000;

    QTemporaryDir dir;
    const QString data = dir.path() + QLatin1Char('/');
    QElapsedTimer timer;
    timer.start();
    CreateDemoAccountSet(data, options);
    out << "create and fill " << options.shops << " shops, " << options.styles << " styles: " << timer.elapsed()
        << " ms\n";

    TDM dm;
    App().dm = &dm;
    App().dataNetPath = data;
    timer.restart();
    OpenAccountSet(options.code, options.name, QString());
    out << "open the set (upgrade check, rights catalogue): " << timer.elapsed() << " ms\n";
    App().resetAccountSet();
    App().dm = nullptr;
    return 0;
}
