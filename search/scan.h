#pragma once

// One pass of the full data search over every data file: the sources in
// their order, the limits and the closing lines. The scan window and
// yubin-cli both run it.

#include "foundation/data_folder.h"
#include "foundation/platform.h"
#include "foundation/postal_record.h"
#include "search/scan_cache.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace yubin {

struct ScanRequest {
    QString text;               // the search text: one word, or two separated by a blank
    QString zipKey;             // a postal-code search when not empty
    bool fold = false;          // also match in the full-width and hiragana forms
    bool includeOffices = true; // the business-office file after the prefectures
};

inline constexpr int ScanRowLimit = 10000;
inline const QString ScanStoppedLine =
    QStringLiteral("----------------  検索中止  ----------------");
inline const QString ScanLimitLine =
    QStringLiteral("----------------  件数10000件以上のため中止  ----------------");

// What the window (or the command line) sees of a running pass.
class ScanObserver {
public:
    virtual ~ScanObserver() = default;
    // A source is about to be read: "神奈川県 検索中", "事業所 検索中".
    virtual void sourceStarted(const QString& caption) { (void)caption; }
    // Called at least every 15 ms of work: repaint, show the count, and
    // take a stop request.
    virtual void yieldNow(qsizetype rowsSoFar) { (void)rowsSoFar; }
    virtual bool stopRequested() { return false; }
};

// The rows as the window lists them, and the records beside them: records[i]
// is the record of rows[i]; the lines after the last record (the closing
// status line, the rows of abolished codes) have none.
struct ScanResult {
    QStringList rows;
    std::vector<PostalRecord> records;
    qsizetype matches = 0;
    bool stopped = false;
    bool limitReached = false;

    // The record of a row; none for a closing line or anything beyond.
    const PostalRecord* recordOf(qsizetype row) const;
};

// A postal-code search ends with the rows of the code's abolished records,
// when the data folder's change log has any (unless the pass was stopped).
ScanResult runScan(const ScanRequest& request, const DataFolder& data, ScanCache& cache,
                   Clock& clock, ScanObserver& observer);

} // namespace yubin
