#pragma once

// Generated postal data of the size and shape of the published files.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <functional>
#include <vector>

namespace yubin::bench {

// An address file of one prefecture in the published layout, code page 932:
// `lines` records in `municipalities` runs, readings in half-width katakana.
QByteArray prefectureFile(int prefectureIndex, int lines, int municipalities);

// A business-office file of `lines` records spread over the 47 prefectures,
// a fifth of them in Tokyo as in the published file.
QByteArray businessOfficeFile(int lines);

// The folder of the bundled nationwide archives (resources/data), ending in
// "/".
QString archiveFolder();

// The bundled nationwide address and business-office archives laid out in a
// data folder by the program's own nationwide preparation: the prefecture
// files and JIGYOSYO.CSV. False, with the reason in `why`, when that did not
// complete.
bool writeNationwideDataFolder(const QString& dataFolder, QString* why);

// Runs `LC_ALL=C grep -F -c` for the pattern's code page 932 bytes over every
// file of the folder; the time it took in milliseconds.
double grepMilliseconds(const QString& dataFolder, const QString& pattern);

// One data folder for every benchmark of the run: the bundled archives laid
// out once (writeNationwideDataFolder); "" with the reason on stderr when
// that failed.
const QString& nationwideDataFolder();

// Addresses from the data itself: every twelfth record's town with a block
// and lot, a third of them without the prefecture, with the record's postal
// code; up to `count` of them.
struct SampleAddress {
    QString postalCode;
    QString address;
};
std::vector<SampleAddress> sampleAddresses(int count);

// A whole-process run of a yubin-cli verb that turns an address list into a
// PDF and a report (labels, postcards): the list of `rows` sample addresses
// is written once, as a spreadsheet exports it (the heading row, then the
// code with its hyphen, the address and `rest(n)` for the n-th row), and
// each iteration runs the verb with `options` on it. The PDF's size and
// the verb's counts line are reported.
void runListVerb(benchmark::State& state, const QString& verb, const QString& headings, int rows,
                 const std::function<QString(int)>& rest, const QStringList& options = {});

} // namespace yubin::bench
