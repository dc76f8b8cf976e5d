#pragma once
#include <QString>
#include <functional>

// Opening an account set as the process's current one, and closing it at exit.

// Makes the set the current one (App()): account code, name and start month, the closing month,
// the connection, the data-access object and the settings store; brings its schema up to date
// and checks the rights catalogue, then runs the steps other subsystems added. Returns false,
// with nothing opened, when the code is empty. Errors (a missing database, a failed upgrade)
// propagate as AppError; the previous set is closed by then.
bool OpenAccountSet(const QString &code, const QString &name, const QString &beginMonth);

// Adds a step to every later opening, run after the rights check (the barcode rule, the
// exchange module); the step reads App() and throws AppError to fail the opening.
void AddAccountSetOpenStep(std::function<void()> step);

// At exit: closes the connection, compacts the open set's database and copies it to the
// rotating backup under backupBase ("data/backup/" is appended). Failures are silent.
void CloseAccountSetAtExit(const QString &backupBase);

// SQLite's locking cannot be trusted on network file systems (NFS, SMB/CIFS and the like).
bool IsNetworkFileSystemType(qint64 statfsType);
bool IsOnNetworkFileSystem(const QString &path);
// Warns once per process when the data directory lies on a network file system.
void WarnIfOnNetworkFileSystem(const QString &dataNetPath);
