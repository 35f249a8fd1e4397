#include "data_prep/nationwide_split.h"

#include "data_prep/record_lines.h"
#include "foundation/data_file.h"
#include "foundation/postal_record.h"
#include "foundation/text.h"

#include <algorithm>

namespace yubin {

PrefectureRouter::PrefectureRouter(const QStringList& names) {
    for (int i = 1; i <= PrefectureCount && i < names.size(); ++i) {
        const QString& name = names[i];
        if (name.isEmpty())
            continue;
        const char16_t last = name.back().unicode();
        auto slot = std::find_if(byLastChar.begin(), byLastChar.end(),
                                 [last](const auto& entry) { return entry.first == last; });
        if (slot == byLastChar.end()) {
            byLastChar.push_back({last, {}});
            slot = byLastChar.end() - 1;
        }
        slot->second.push_back({i, name});
    }
}

int PrefectureRouter::route(QStringView line) const {
    constexpr qsizetype FirstCountingPosition = 10; // beyond the tenth character
    quint64 seen = 0;                               // names whose first occurrence is known
    int best = 0;
    const qsizetype size = line.size();
    for (qsizetype end = 0; end < size; ++end) {
        const char16_t c = line[end].unicode();
        for (const auto& [last, candidates] : byLastChar) {
            if (last != c)
                continue;
            for (const Candidate& candidate : candidates) {
                const quint64 bit = quint64(1) << candidate.index;
                const qsizetype length = candidate.name.size();
                const qsizetype start = end - length + 1;
                if ((seen & bit) || start < 0 || line.sliced(start, length) != candidate.name)
                    continue;
                // Scanning by end position meets a name's first occurrence first;
                // only that one decides, as a plain "find" would.
                seen |= bit;
                if (start >= FirstCountingPosition && (best == 0 || candidate.index < best))
                    best = candidate.index;
            }
        }
    }
    return best;
}

QByteArrayView trimBlankBytes(QByteArrayView line, QStringView decoded) {
    // Each decoded blank came from its own bytes: U+0020 from one, U+3000 from
    // the pair 0x81 0x40. Counting them from either end finds the byte range.
    qsizetype from = 0;
    qsizetype to = line.size();
    qsizetype first = 0;
    qsizetype last = decoded.size();
    while (first < last && text::isBlank(decoded[first]))
        from += decoded[first++].unicode() == 0x0020 ? 1 : 2;
    while (last > first && text::isBlank(decoded[last - 1]))
        to -= decoded[--last].unicode() == 0x0020 ? 1 : 2;
    return line.sliced(from, std::max<qsizetype>(0, to - from));
}

SplitResult splitNationwide(QByteArrayView file, const QStringList& names, SplitProgress& progress,
                            Clock& clock, bool joinSplit) {
    SplitResult result;
    // A split record's lines are consecutive, so within one prefecture.
    std::array<SplitRecordJoiner, PrefectureCount + 1> joiners;
    const PrefectureRouter router(names);
    QString decoded;
    int shownIndex = -1;
    qint64 lastYield = clock.nowMs();
    forEachLine(file, [&](QByteArrayView raw) {
        if (result.aborted)
            return;
        ++result.linesRead;
        text::decodeCp932(raw, decoded);
        const QStringView trimmed = text::trimBlanks(decoded);
        if (isRecordLine(trimmed)) {
            const int j = router.route(trimmed);
            if (j == 0) {
                ++result.unrouted;
            } else {
                QByteArray& out = result.bytes[j];
                if (joinSplit) {
                    result.lines[j] += joiners[size_t(j)].add(trimBlankBytes(raw, decoded), out);
                } else {
                    out.append(trimBlankBytes(raw, decoded));
                    out.append("\r\n", 2);
                    ++result.lines[j];
                }
                if (j != shownIndex) {
                    shownIndex = j;
                    progress.progress(names[j], result.linesRead);
                }
            }
        }
        // The clock is read on every line; the events only once a slice.
        const qint64 now = clock.nowMs();
        if (now - lastYield >= YieldSliceMs) {
            lastYield = now;
            result.aborted = progress.shouldStop();
        }
    });
    for (int j = 1; j <= PrefectureCount; ++j) {
        result.lines[j] += joiners[size_t(j)].finish(result.bytes[j]);
        result.joined += joiners[size_t(j)].joinedLines();
    }
    if (!result.aborted)
        result.aborted = progress.shouldStop();
    return result;
}

} // namespace yubin
