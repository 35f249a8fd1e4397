// The full search on any data file: the pass, which looks for the word's
// bytes or fold key in the file's bytes and decodes only the lines it finds,
// must give exactly the rows that the match test and row forming give for
// every decoded line of the file on its own.
//
// The one-pass reader, which takes the file in blocks of whole lines, must
// give the same rows as the file read whole, whatever its block size.
//
// Input: the search text up to the first NUL byte, one flag byte (bit 0:
// folding, bit 1: a postal-code search, bits 2-7: the one-pass reader's
// block size less one), then the file's bytes.

#include "foundation/data_file.h"
#include "foundation/data_folder.h"
#include "foundation/text.h"
#include "fuzz_check.h"
#include "search/match_rules.h"
#include "search/result_rows.h"
#include "search/scan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace yubin;

namespace {

QString writeDataFile(const QByteArray& bytes) {
    static QTemporaryDir root;
    const QString folder = root.path() + QStringLiteral("/DATA/");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("13tokyo.CSV"));
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytesOf(data, size);
    const qsizetype nul = input.indexOf('\0');
    if (nul < 0 || nul + 1 >= input.size())
        return 0;
    const QString query = QString::fromUtf8(input.left(nul));
    const char flags = input[nul + 1];
    const QByteArray file = input.mid(nul + 2);

    ScanRequest request;
    request.fold = flags & 1;
    (flags & 2 ? request.zipKey : request.text) = query;
    request.includeOffices = false;

    const QString folder = writeDataFile(file);
    ScanCache cache; // fresh: the file changes with every input
    fuzz::StillClock clock;
    ScanObserver observer;
    const ScanResult result = runScan(request, DataFolder::atPath(folder), cache, clock, observer);

    // The same search, line by line.
    const bool zipMode = !text::trimmed(request.zipKey).isEmpty();
    const SearchWords words = zipMode ? SearchWords{text::trimmed(request.zipKey), {}, false}
                                      : splitSearchWords(text::trimmed(request.text));
    const bool fold = request.fold && !zipMode;
    QStringList expected;
    Access_CSV csv;
    LineForms forms;
    // Read as the pass reads it, so that only the search itself is compared.
    const QString decoded = *readDecodedFile(folder + QStringLiteral("13tokyo.CSV"));
    forEachLine(QStringView(decoded), [&](QStringView raw) {
        const QStringView line = text::trimBlanks(raw);
        if (line.size() < ShortestMatchingLine || words.first.isEmpty())
            return;
        if (!lineMatches(line, words, fold, forms))
            return;
        if (zipMode && text::trimmed(csv.Col(3, line.toString())) != words.first)
            return;
        const QString row = resultRow(line, false, csv);
        FUZZ_CHECK(row.startsWith(QStringLiteral("[A] ")) && row.size() >= 13);
        for (int i : {4, 5, 6, 8, 9, 10, 11})
            FUZZ_CHECK(row[i] >= u'0' && row[i] <= u'9');
        FUZZ_CHECK(row[7] == u'-' && row[12] == u' ');
        expected << row;
    });
    if (expected.size() >= ScanRowLimit)
        return 0; // the pass stops at the limit; compared up to there elsewhere
    FUZZ_CHECK(!result.stopped && !result.limitReached);
    FUZZ_CHECK(result.rows == expected);
    FUZZ_CHECK(result.matches == expected.size());

    ScanCache onePass(ScanCache::Keep::Nothing, (quint8(flags) >> 2) + 1);
    FUZZ_CHECK(runScan(request, DataFolder::atPath(folder), onePass, clock, observer).rows ==
               expected);
    return 0;
}
