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
    QDir().rmdir(tofuken);
    QDir().rmdir(tofukenLzh);
}

} // namespace yubin
