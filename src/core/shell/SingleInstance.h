#pragma once
#include "Product.h"
#include <QLockFile>
#include <QString>
#include <memory>

// Makes sure Qt has a private runtime folder: sets XDG_RUNTIME_DIR (mode 0700) when the
// session did not, so that Qt does not warn on every start.
void EnsureRuntimeDir();

// Holds the machine-wide lock of one program while it runs: a second start under the same
// name finds the lock taken. A lock left behind by a crashed copy is taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString &name = ProductTitle());
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False only when another running copy holds the lock. When no lock can be made at all
    // (no writable runtime folder), the program runs unguarded rather than not at all.
    bool isFirst() const { return m_first; }
    QString lockFilePath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_first = true;
};
