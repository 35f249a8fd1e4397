#pragma once

#include <QDateTime>
#include <QString>

namespace yubin {

// The folder that holds the prefecture files and the business-office file:
// "DATA" under the program folder, or under the per-user data location for an
// installed copy or when the program folder cannot be written.
class DataFolder {
public:
    explicit DataFolder(const QString& programFolder);
    // A data folder given directly (yubin-cli --data DIR).
    static DataFolder atPath(const QString& dataFolder);

    // The folder path, ending in "/".
    const QString& path() const { return folder; }

    // Creates the folder when it is missing; a failure is ignored, and every
    // lookup then finds no file.
    void ensureExists() const;

    // Bare name of the first "*.csv" entry (extension in any case), in the
    // order the file system lists them, whose first two characters are the
    // code; "" when there is none.
    QString FindDataFile(const QString& code) const;

    // FindDataFile for every prefecture from one listing: index 1 to 47,
    // "" where a prefecture has no file (index 0 unused).
    QStringList prefectureFileNames() const;

    // Whether any prefecture has a file here.
    bool holdsPrefectureFile() const;

    // path() + FindDataFile(code): the folder itself when there is no file,
    // which FileExists rejects.
    QString prefectureFilePath(int prefectureIndex) const;

    // The business-office file "JIGYOSYO.CSV", its name matched in any case.
    QString businessOfficeFilePath() const;

private:
    DataFolder() = default;
    QString folder;
};

// Where the archives the program carries are: $YUBIN_BUNDLED_DATA when it is
// set (the build tree's scripts point it at resources/data), else
// share/yubin/data beside the installed bin/.
QString bundledDataFolder(const QString& programFolder);

// "ﾃﾞｰﾀ日付：" and the date of a file's last modification, as 2005/09/30.
QString dataDateText(const QDateTime& lastModified);

inline const QString BusinessOfficeFileName = QStringLiteral("JIGYOSYO.CSV");

} // namespace yubin
