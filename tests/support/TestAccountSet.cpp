#include "TestAccountSet.h"
#include "data/Schema.h"
#include "data/SimpleValueDB.h"
#include "shell/AppContext.h"

#include <QDir>

TestAccountSet::TestAccountSet() : m_dm(std::make_unique<TDM>())
{
    QDir(m_dir.path()).mkpath(QStringLiteral("demo"));
    CreateAccountSetDatabase(databaseFile());
    m_dm->openDatabase(databaseFile());
    App().dm = m_dm.get();
    App().dataNetPath = dataDir();
    App().accCode = QStringLiteral("demo");
    App().opData = std::make_unique<TOpData>(m_dm->database());
    App().simpleValues = std::make_unique<TSimpleValueDB>(m_dm->database());
}

TestAccountSet::~TestAccountSet()
{
    App().resetAccountSet();
    App().dm = nullptr;
    m_dm.reset();
}

QString TestAccountSet::dataDir() const { return m_dir.path() + QLatin1Char('/'); }
QString TestAccountSet::databaseFile() const { return dataDir() + QStringLiteral("demo/spData.mdb"); }
TOpData &TestAccountSet::op() { return *App().opData; }
QSqlDatabase TestAccountSet::db() const { return m_dm->database(); }
