#include "foundation/data_folder.h"

#include "foundation/prefectures.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

namespace yubin {

namespace {

QString withSlash(QString path) {
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

QString chooseFolder(const QString& programFolder) {
    const QString beside = withSlash(programFolder) + QStringLiteral("DATA/");
    const QFileInfo besideInfo(beside);
    // An installed copy (bin/ beside share/yubin/) keeps its data per user,
    // whoever runs it; a build or an unpacked copy keeps it beside itself.
    const bool installed =
        QFileInfo(withSlash(programFolder) + QStringLiteral("../share/yubin")).isDir();
    if (!installed &&
        (besideInfo.isDir() ? besideInfo.isWritable() : QFileInfo(programFolder).isWritable()))
        return beside;
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return withSlash(userData) + QStringLiteral("Zunelka/yubin/DATA/");
}

} // namespace

DataFolder::DataFolder(const QString& programFolder)
    : program(programFolder), folder(chooseFolder(programFolder)) {}

DataFolder DataFolder::atPath(const QString& dataFolder) {
    DataFolder d;
    d.folder = withSlash(QDir::cleanPath(QDir(dataFolder).absolutePath()));
    d.program = QFileInfo(d.folder.chopped(1)).absolutePath();
    return d;
}

void DataFolder::ensureExists() const {
    if (!QFileInfo(folder).isDir())
        QDir().mkpath(folder);
}

QString DataFolder::FindDataFile(const QString& code) const {
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) && name.size() >= 2 &&
            QStringView(name).left(2) == code)
            return name;
    }
    return QString();
}

bool DataFolder::holdsPrefectureFile() const {
    for (int i = 1; i <= PrefectureCount; ++i) {
        if (!FindDataFile(prefectureCode(i)).isEmpty())
            return true;
    }
    return false;
}

QString DataFolder::prefectureFilePath(int prefectureIndex) const {
    return folder + FindDataFile(prefectureCode(prefectureIndex));
}

QString DataFolder::businessOfficeFilePath() const {
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().compare(BusinessOfficeFileName, Qt::CaseInsensitive) == 0)
            return it.filePath();
    }
    return folder + BusinessOfficeFileName;
}

QString dataDateText(const QDateTime& lastModified) {
    return QStringLiteral("ﾃﾞｰﾀ日付：") +
           lastModified.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")).left(10);
}

} // namespace yubin
