#include "foundation/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace yubin {

QString SingleInstance::defaultLockPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/Zunelka/yubin/yubin.lock");
}

SingleInstance::SingleInstance(const QString& lockPath) : path(lockPath) {}

bool SingleInstance::acquire() {
    if (lock && lock->isLocked())
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    lock = std::make_unique<QLockFile>(path);
    // Staleness is decided by the process named in the file alone; a
    // program that has run for hours must keep its lock.
    lock->setStaleLockTime(0);
    return lock->tryLock(0);
}

} // namespace yubin
