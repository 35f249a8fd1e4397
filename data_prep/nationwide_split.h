#pragma once

// Routing the lines of the nationwide file to their prefectures. Lines are
// routed on their decoded text but kept as their original bytes: code page
// 932 holds some characters twice (the NEC-selected IBM extensions), so a
// decode and re-encode would change them.

#include "foundation/platform.h"
#include "foundation/prefectures.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <vector>

namespace yubin {

// Decides the prefecture of an address line: the first prefecture in code
// order whose name first occurs in the line beyond its tenth character. The
// code columns come first, so column 7 always lies there.
class PrefectureRouter {
public:
    // `names` is the shared table: index 1 to 47 the prefecture names.
    explicit PrefectureRouter(const QStringList& names);
    // 1 to 47, or 0 when no name occurs beyond the tenth character.
    int route(QStringView line) const;

private:
    struct Candidate {
        int index;
        QString name;
    };
    // Looked up by the last character of each name, so that a line is read
    // once however many names there are.
    std::vector<std::pair<char16_t, std::vector<Candidate>>> byLastChar;
};

// A prefecture file is placed only with more lines than this.
inline constexpr int PlacementThresholdLines = 100;
// The user interface is given its events at least this often.
inline constexpr qint64 YieldSliceMs = 10;

// The part of a line that remains when blanks (U+0020, U+3000) are trimmed
// from both ends of its decoded text, as original bytes.
QByteArrayView trimBlankBytes(QByteArrayView line, QStringView decoded);

// What the split reports as it goes; the window, yubin-cli and tests drive
// it through this.
class SplitProgress {
public:
    virtual ~SplitProgress() = default;
    // The prefecture being read changed; `lines` counts the lines read so far.
    virtual void progress(const QString& caption, qint64 lines) = 0;
    // Called at least every YieldSliceMs and once after the last line; the
    // window handles its events here. True stops the split.
    virtual bool shouldStop() = 0;
};

struct SplitResult {
    bool aborted = false;
    std::array<QByteArray, PrefectureCount + 1> bytes; // trimmed lines, each + CR LF
    std::array<qint64, PrefectureCount + 1> lines{};   // index 0 unused
    qint64 linesRead = 0;
    qint64 unrouted = 0; // record-length lines without a prefecture, skipped
    qint64 joined = 0;   // continuation lines joined to their record
};

// Splits the nationwide file's bytes. `names` as for PrefectureRouter. The
// records of the classic file that are split over lines are joined
// (SplitRecordJoiner) unless `joinSplit` is false: the UTF-8 file has none.
SplitResult splitNationwide(QByteArrayView file, const QStringList& names, SplitProgress& progress,
                            Clock& clock, bool joinSplit = true);

} // namespace yubin
