#pragma once
#include <QString>
#include <QStringList>

// The desktop's own calculator: the first of the usual calculator programs found on the path.
QStringList CalculatorCandidates();
QString FindCalculatorProgram();

// Starts the calculator detached from this process; without one, tells the user what to install.
void StartCalculator();
