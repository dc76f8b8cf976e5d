#pragma once
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

// One command of the command-line program. Command groups live in files of their own and
// register themselves with a static CliCommandRegistration.
struct CliCommand {
    QString name;
    QString usage;     // one line: arguments and what the command does
    std::function<int(const QStringList &args, QTextStream &out, QTextStream &err)> run;
};

QList<CliCommand> &CliCommands();

struct CliCommandRegistration {
    explicit CliCommandRegistration(CliCommand command) { CliCommands().append(std::move(command)); }
};
