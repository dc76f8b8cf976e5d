#pragma once
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>
#include <random>

// The demo account set: a clothing business with a head warehouse, shops in Chinese cities,
// suppliers, franchise and wholesale customers, brands, colours, sizes, categories and a few
// hundred styles. Everything follows from the seed, so two runs with the same options make the
// same data; large sets (many shops and styles) serve the benchmarks.
struct TDemoOptions {
    QString code = QStringLiteral("demo");
    QString name = QStringLiteral("演示帐套");
    int shops = 8;          // besides the head warehouse
    int styles = 300;
    quint32 seed = 20240601;
    int years = 1;          // of bills, for the steps that make them
};

// What the generator made, for the steps that follow it and for the report of the command.
struct TDemoContext {
    QSqlDatabase db;
    TDemoOptions options;
    std::mt19937 rng;
    QString companyName;
    QList<int> storeIds;            // the head warehouse first
    QList<int> customerIds;
    QList<int> vendorIds;
    QList<int> colorIds;
    QList<int> employeeIds;
    QStringList styleCodes;
    QStringList employeeNames;
    QStringList vipCards;
    QList<int> bankIds;

    int random(int bound) { return bound <= 0 ? 0 : int(rng() % quint32(bound)); }
    int between(int low, int high) { return low + random(high - low + 1); }
};

// Steps run after the master data, inside the same transaction: the bills of later versions
// register here (in a static initialiser of their own file) and fill options.years of bills.
void AddDemoDataStep(const QString &name, std::function<void(TDemoContext &)> step);

// Fills an account-set database made from the template, in one transaction. Returns the
// context with the keys it made.
TDemoContext FillDemoData(const QSqlDatabase &db, const TDemoOptions &options);

// Creates the account set (folder, database from the template, list row) under dataNetPath and
// fills it. Returns false when a set with the code exists already (nothing is touched then).
bool CreateDemoAccountSet(const QString &dataNetPath, const TDemoOptions &options);
