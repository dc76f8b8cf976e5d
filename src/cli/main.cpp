#include "CliCommand.h"
#include "shell/AppError.h"

#include <QCoreApplication>
#include <algorithm>

QList<CliCommand> &CliCommands()
{
    static QList<CliCommand> commands;
    return commands;
}

static int Usage(QTextStream &err)
{
    err << "qelvo-cli <command> [arguments]\n\nCommands:\n";
    QList<CliCommand> sorted = CliCommands();
    std::sort(sorted.begin(), sorted.end(), [](const CliCommand &a, const CliCommand &b) { return a.name < b.name; });
    for (const CliCommand &c : sorted)
        err << "  " << c.name << " " << c.usage << "\n";
    return 2;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return Usage(err);
    const QString name = args.takeFirst();
    for (const CliCommand &c : CliCommands()) {
        if (c.name != name)
            continue;
        try {
            return c.run(args, out, err);
        } catch (const AppError &e) {
            err << QString(e.message()).replace(QLatin1Char('\r'), QLatin1Char('\n')) << "\n";
            return 1;
        }
    }
    err << "unknown command: " << name << "\n";
    return Usage(err);
}
