#pragma once

// Generated postal data of the size and shape of the published files.

#include <QByteArray>
#include <QString>

namespace yubin::bench {

// An address file of one prefecture in the published layout, code page 932:
// `lines` records in `municipalities` runs, readings in half-width katakana.
QByteArray prefectureFile(int prefectureIndex, int lines, int municipalities);

// A business-office file of `lines` records spread over the 47 prefectures,
// a fifth of them in Tokyo as in the published file.
QByteArray businessOfficeFile(int lines);

// The nationwide address data and the business-office data of shared/data,
// laid out in a data folder by the program's own nationwide preparation: 47
// prefecture files and JIGYOSYO.CSV. False when that did not complete.
bool writeNationwideDataFolder(const QString& dataFolder);
// The same from the archives (ken_all.zip, jigyosyo.zip) of another folder.
bool writeNationwideDataFolder(const QString& dataFolder, const QString& archiveFolder);

// Runs `LC_ALL=C grep -F -c` for the pattern's code page 932 bytes over every
// file of the folder; the time it took in milliseconds.
double grepMilliseconds(const QString& dataFolder, const QString& pattern);

} // namespace yubin::bench
