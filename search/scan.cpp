#include "search/scan.h"

#include "data_prep/change_log.h"
#include "foundation/access_csv.h"
#include "foundation/data_file.h"
#include "foundation/prefectures.h"
#include "foundation/text.h"
#include "search/byte_search.h"
#include "search/match_rules.h"
#include "search/result_rows.h"

#include <algorithm>
#include <optional>

namespace yubin {

namespace {

constexpr qint64 YieldEveryMs = 15;

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// What the pass looks for in the bytes of a code page 932 file: the first
// word's own bytes where they are the only bytes that decode to it, else
// its fold key in the file's fold key, which every line holding the word,
// as stored or in a derived form, holds too. Either finds each line that
// can match, and perhaps others; every line found is decoded and put to
// the match table, so a hit that starts inside a double-byte character, or
// a key that stands for other characters, leads to no row.
struct Needle {
    QByteArray bytes;
    bool inFoldKey = false;
    bool none = false; // no line of code page 932 can hold the first word
};

Needle chooseNeedle(const QString& first, bool fold) {
    if (!fold)
        if (std::optional<QByteArray> exact = text::encodeCp932Exactly(first))
            return {*exact, false, false};
    if (std::optional<QByteArray> key = text::foldKey(first))
        return {*key, true, false};
    return {{}, false, true};
}

class Pass {
public:
    Pass(const ScanRequest& r, Clock& c, ScanObserver& o) : request(r), clock(c), observer(o) {
        zipMode = !text::trimmed(request.zipKey).isEmpty();
        if (zipMode) {
            words.first = text::trimmed(request.zipKey);
        } else {
            words = splitSearchWords(text::trimmed(request.text));
        }
        fold = request.fold && !zipMode;
        needle = chooseNeedle(words.first, fold);
        lastYield = clock.nowMs();
    }

    // False when the pass must end.
    bool yieldIfDue() {
        const qint64 now = clock.nowMs();
        if (now - lastYield >= YieldEveryMs) {
            lastYield = now;
            observer.yieldNow(result.rows.size());
            if (observer.stopRequested())
                result.stopped = true;
        }
        return !result.stopped;
    }

    // False when the pass must end.
    bool scanSource(const QString& path, bool businessOffice, ScanCache& cache) {
        // Once after reading each block, then once after each row.
        const bool goOn =
            cache.forEachBlock(path, needle.inFoldKey, [&](const ScanCache::Block& block) {
                return yieldIfDue() && scanBlock(block, businessOffice);
            });
        return goOn && yieldIfDue();
    }

    ScanResult finish() {
        if (result.stopped)
            result.rows << ScanStoppedLine;
        if (result.limitReached)
            result.rows << ScanLimitLine;
        return std::move(result);
    }

private:
    // False when the pass must end.
    bool scanBlock(const ScanCache::Block& block, bool businessOffice) {
        if (words.first.isEmpty())
            return true;
        if (block.utf8) {
            const QString text = QString::fromUtf8(block.bytes);
            bool goOn = true;
            forEachLine(QStringView(text),
                        [&](QStringView line) { goOn = goOn && takeLine(line, businessOffice); });
            return goOn;
        }
        if (needle.none)
            return true;
        const QByteArrayView haystack = needle.inFoldKey ? block.foldKey : block.bytes;
        const char* bytes = block.bytes.data();
        const qsizetype size = block.bytes.size();
        qsizetype from = 0;
        while (true) {
            const qsizetype hit = findBytes(haystack, needle.bytes, from);
            if (hit < 0)
                return true;
            // The fold key has the block's line ends at the same places.
            qsizetype start = hit;
            while (start > 0 && !isLineEnd(bytes[start - 1]))
                --start;
            qsizetype end = hit;
            while (end < size && !isLineEnd(bytes[end]))
                ++end;
            // A needle that begins with a line end is in no line.
            from = std::max(end, hit + 1);
            if (hit + needle.bytes.size() > end)
                continue; // runs past the line: no later hit in it either
            text::decodeCp932(QByteArrayView(bytes + start, end - start), decoded);
            if (!takeLine(decoded, businessOffice))
                return false;
        }
    }

    // One line of a file: a row when it matches. False when the pass must
    // end.
    bool takeLine(QStringView rawLine, bool businessOffice) {
        const QStringView line = text::trimBlanks(rawLine);
        if (line.size() < ShortestMatchingLine || !lineMatches(line, words, fold, forms))
            return true;
        if (zipMode && postalCodeColumn(line, businessOffice, csv) != words.first)
            return true;
        result.records.push_back(readRecord(line.toString(), businessOffice, csv));
        result.rows << resultRow(result.records.back());
        ++result.matches;
        if (result.rows.size() >= ScanRowLimit) {
            result.limitReached = true;
            return false;
        }
        return yieldIfDue();
    }

    const ScanRequest& request;
    Clock& clock;
    ScanObserver& observer;
    SearchWords words;
    bool zipMode = false;
    bool fold = false;
    Needle needle;
    qint64 lastYield = 0;
    Access_CSV csv;
    LineForms forms;
    QString decoded;
    ScanResult result;
};

} // namespace

ScanResult runScan(const ScanRequest& request, const DataFolder& data, ScanCache& cache,
                   Clock& clock, ScanObserver& observer) {
    Pass pass(request, clock, observer);
    const QStringList names = makePrefectureNames();
    // One listing of the data folder serves the whole pass.
    const QStringList files = data.prefectureFileNames();
    for (int source = 1; source <= PrefectureCount + 1; ++source) {
        const bool office = source == PrefectureCount + 1;
        if (office && !request.includeOffices)
            break;
        observer.sourceStarted((office ? BusinessOfficeName : names[source]) +
                               QStringLiteral(" 検索中"));
        const QString path = office ? data.businessOfficeFilePath() : data.path() + files[source];
        // A missing or unreadable file is skipped.
        if (!pass.scanSource(path, office, cache))
            break;
    }
    ScanResult result = pass.finish();
    const QString code = text::trimmed(request.zipKey);
    if (!code.isEmpty() && !result.stopped && !result.limitReached) {
        Access_CSV csv;
        for (const AbolishedCode& a : findAbolished(readChangeLog(data), code))
            if (!a.entry.office || request.includeOffices)
                result.rows << abolishedRow(a, csv);
    }
    return result;
}

const PostalRecord* ScanResult::recordOf(qsizetype row) const {
    return row >= 0 && row < qsizetype(records.size()) ? &records[size_t(row)] : nullptr;
}

} // namespace yubin
