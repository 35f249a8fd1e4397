#include "foundation/data_folder.h"

#include "foundation/prefectures.h"
#include "foundation/utilities.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

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

DataFolder::DataFolder(const QString& programFolder) : folder(chooseFolder(programFolder)) {}

DataFolder DataFolder::atPath(const QString& dataFolder) {
    DataFolder d;
    d.folder = withSlash(QDir::cleanPath(QDir(dataFolder).absolutePath()));
    return d;
}

QString bundledDataFolder(const QString& programFolder) {
    const QString given = qEnvironmentVariable("YUBIN_BUNDLED_DATA");
    if (!given.isEmpty())
        return given;
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/yubin/data"));
}

void DataFolder::ensureExists() const {
    if (!QFileInfo(folder).isDir())
        QDir().mkpath(folder);
}

namespace {

// Calls fn(name) for each "*.csv" file of the folder, in listing order,
// until fn returns false.
template <typename Fn> void forEachCsv(const QString& folder, Fn&& fn) {
    for (const QString& name : regularFileNames(folder))
        if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) && !fn(name))
            return;
}

} // namespace

QString DataFolder::FindDataFile(const QString& code) const {
    QString found;
    forEachCsv(folder, [&](const QString& name) {
        if (QStringView(name).left(2) != code)
            return true;
        found = name;
        return false;
    });
    return found;
}

QStringList DataFolder::prefectureFileNames() const {
    QStringList names(PrefectureCount + 1);
    forEachCsv(folder, [&](const QString& name) {
        const int index = name.size() >= 2 ? prefectureIndex(name.left(2)) : 0;
        if (index > 0 && names[index].isEmpty())
            names[index] = name;
        return true;
    });
    return names;
}

bool DataFolder::holdsPrefectureFile() const {
    const QStringList names = prefectureFileNames();
    return std::any_of(names.begin(), names.end(), [](const QString& n) { return !n.isEmpty(); });
}

QString DataFolder::prefectureFilePath(int prefectureIndex) const {
    return folder + FindDataFile(prefectureCode(prefectureIndex));
}

QString DataFolder::businessOfficeFilePath() const {
    const QString name = findNameNoCase(regularFileNames(folder), BusinessOfficeFileName);
    return folder + (name.isEmpty() ? BusinessOfficeFileName : name);
}

QString dataDateText(const QDateTime& lastModified) {
    return QStringLiteral("ﾃﾞｰﾀ日付：") +
           lastModified.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")).left(10);
}

} // namespace yubin
