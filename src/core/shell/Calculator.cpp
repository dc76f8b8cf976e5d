#include "Calculator.h"
#include "MessageService.h"

#include <QProcess>
#include <QStandardPaths>

QStringList CalculatorCandidates()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
            QStringLiteral("mate-calc"), QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")};
}

QString FindCalculatorProgram()
{
    for (const QString &name : CalculatorCandidates()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

void StartCalculator()
{
    const QString program = FindCalculatorProgram();
    if (program.isEmpty()) {
        ShowInfo(QStringLiteral("没有找到计算器程序。请先安装系统的计算器（例如 gnome-calculator 或 galculator）。"));
        return;
    }
    if (!QProcess::startDetached(program, {}))
        ShowInfo(QStringLiteral("无法启动计算器程序：") + program);
}
