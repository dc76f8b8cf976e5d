#include "CliCommand.h"
#include "shell/AppError.h"
#include "shell/Config.h"
#include "shell/DemoData.h"

#include <QDir>
#include <QElapsedTimer>

namespace {

int ToNumber(const QString &option, const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0)
        throw AppError(QStringLiteral("%1 需要一个非负整数：%2").arg(option, text));
    return n;
}

int RunDemo(const QStringList &args, QTextStream &out, QTextStream &err)
{
    TDemoOptions options;
    bool ifMissing = false;
    QString dataDir = ConfiguredDataNetPath();
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                throw AppError(a + QStringLiteral(" 后面缺少参数"));
            return args.at(++i);
        };
        if (a == QLatin1String("--if-missing"))
            ifMissing = true;
        else if (a == QLatin1String("--data"))
            dataDir = value();
        else if (a == QLatin1String("--code"))
            options.code = value();
        else if (a == QLatin1String("--name"))
            options.name = value();
        else if (a == QLatin1String("--stores"))
            options.shops = ToNumber(a, value());
        else if (a == QLatin1String("--styles"))
            options.styles = ToNumber(a, value());
        else if (a == QLatin1String("--years"))
            options.years = ToNumber(a, value());
        else if (a == QLatin1String("--seed"))
            options.seed = quint32(ToNumber(a, value()));
        else {
            err << "unknown option: " << a << "\n";
            return 2;
        }
    }
    if (!dataDir.endsWith(QLatin1Char('/')))
        dataDir += QLatin1Char('/');
    QDir().mkpath(dataDir);

    QElapsedTimer timer;
    timer.start();
    if (!CreateDemoAccountSet(dataDir, options)) {
        if (ifMissing) {
            out << QStringLiteral("帐套 %1 已存在，未作改动。\n").arg(options.code);
            return 0;
        }
        err << QStringLiteral("帐套 %1 已存在。\n").arg(options.code);
        return 1;
    }
    out << QStringLiteral("已创建帐套“%1”（%2）：%3 个门店和总仓库，%4 个款式，用时 %5 ms。\n数据目录：%6\n")
               .arg(options.name, options.code)
               .arg(options.shops)
               .arg(options.styles)
               .arg(timer.elapsed())
               .arg(QDir::toNativeSeparators(dataDir));
    return 0;
}

CliCommandRegistration demo({QStringLiteral("demo"),
                             QStringLiteral("[--if-missing] [--data <dir>] [--code demo] [--name 演示帐套] [--stores N]"
                                            " [--styles N] [--years N] [--seed N]  creates the demo account set: N shops"
                                            " besides the head warehouse (8), N styles (300), N years of bills (1);"
                                            " the same seed makes the same data; --if-missing leaves an existing set"
                                            " alone"),
                             RunDemo});

} // namespace
