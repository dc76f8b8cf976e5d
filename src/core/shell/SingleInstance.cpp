#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

void EnsureRuntimeDir()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QString dir = QDir::tempPath() + QStringLiteral("/runtime-") + QString::number(::getuid());
    QDir().mkpath(dir);
    // A folder of that name made by someone else is no private folder: leave the choice to Qt.
    if (QFileInfo(dir).ownerId() != ::getuid())
        return;
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
}

SingleInstance::SingleInstance(const QString &name)
{
    EnsureRuntimeDir();
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QString fileName = name;
    fileName.replace(QLatin1Char('/'), QLatin1Char('_'));
    m_path = folder + QLatin1Char('/') + fileName + QStringLiteral(".lock");

    m_lock = std::make_unique<QLockFile>(m_path);
    // A running copy holds its lock for hours: only a dead owner makes a lock stale, never age.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return;
    m_first = m_lock->error() != QLockFile::LockFailedError;
    m_lock.reset();
}

SingleInstance::~SingleInstance() = default;
