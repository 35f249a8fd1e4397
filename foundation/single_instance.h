#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace yubin {

// One running program per user, held by a lock file. A lock left behind by a
// program that was killed names a process that no longer runs and is taken
// over.
class SingleInstance {
public:
    // The per-user lock file under the cache location.
    static QString defaultLockPath();

    explicit SingleInstance(const QString& lockPath = defaultLockPath());
    // False when another running program holds the lock.
    bool acquire();

private:
    QString path;
    std::unique_ptr<QLockFile> lock;
};

} // namespace yubin
