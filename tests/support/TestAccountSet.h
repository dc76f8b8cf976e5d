#pragma once
#include "data/DataModule.h"
#include "data/OpData.h"
#include <QTemporaryDir>
#include <memory>

// A fresh account set in a temporary data directory, opened as the process's current one
// (App().dm, App().opData, App().simpleValues), closed and removed again at the end.
class TestAccountSet {
public:
    TestAccountSet();
    ~TestAccountSet();
    QString dataDir() const;      // ends with a separator
    QString databaseFile() const;
    TOpData &op();
    QSqlDatabase db() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TDM> m_dm;
};
