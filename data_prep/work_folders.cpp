#include "data_prep/work_folders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace yubin {

WorkFolders WorkFolders::standard() {
    return under(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                 QStringLiteral("/Zunelka/yubin"));
}

WorkFolders WorkFolders::under(const QString& base) {
    const QString temp = QDir::cleanPath(base) + QStringLiteral("/TEMP/");
    return {temp, temp + QStringLiteral("TOFUKEN/"), temp + QStringLiteral("TOFUKEN_LZH/")};
}

void WorkFolders::create() const {
    for (const QString& folder : {temp, tofuken, tofukenLzh}) {
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

void WorkFolders::removeEmpty() const {
    // A run in progress may have emptied a folder for a moment; removing it
    // then would make that run's next extraction fail.
    const WorkLock lock(*this);
    if (!lock.held())
        return;
    QDir().rmdir(tofuken);
    QDir().rmdir(tofukenLzh);
}

WorkLock::WorkLock(const WorkFolders& folders)
    : lock(folders.temp + QStringLiteral("TOFUKEN.lock")) {
    QDir().mkpath(folders.temp);
    // Staleness is judged by the process named in the lock alone: a run over
    // a slow disk may take long and must keep its lock.
    lock.setStaleLockTime(0);
    locked = lock.tryLock(0);
}

} // namespace yubin
