#include "CliCommand.h"
#include "shell/AppError.h"

#include <QCoreApplication>
#include <algorithm>

QList<CliCommand> &CliCommands()
{
    static QList<CliCommand> commands;
    return commands;
}

static void PrintUsage(QTextStream &to)
{
    to << "qelvo-cli <command> [arguments]\n\nCommands:\n";
    QList<CliCommand> sorted = CliCommands();
    std::sort(sorted.begin(), sorted.end(), [](const CliCommand &a, const CliCommand &b) { return a.name < b.name; });
    for (const CliCommand &c : sorted)
        to << "  " << c.name << " " << c.usage << "\n";
}

static int Usage(QTextStream &err)
{
    PrintUsage(err);
    return 2;
}

static bool AsksForHelp(const QString &arg)
{
    return arg == QLatin1String("--help") || arg == QLatin1String("-h") || arg == QLatin1String("help");
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
    // Asked for, the usage is the answer (on standard output, success); a mistake gets it on
    // standard error with a failure.
    if (AsksForHelp(name)) {
        PrintUsage(out);
        return 0;
    }
    for (const CliCommand &c : CliCommands()) {
        if (c.name != name)
            continue;
        if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
            out << "qelvo-cli " << c.name << " " << c.usage << "\n";
            return 0;
        }
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
