#pragma once

// One pass of the full data search over every data file: the match rules,
// the result rows and the limits. The scan window and yubin-cli both run it.

#include "foundation/access_csv.h"
#include "foundation/data_folder.h"
#include "foundation/platform.h"
#include "foundation/postal_record.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace yubin {

struct ScanRequest {
    QString text;               // the search text: one word, or two separated by a blank
    QString zipKey;             // a postal-code search when not empty
    bool fold = false;          // also match in the full-width and hiragana forms
    bool includeOffices = true; // the business-office file after the prefectures
};

// The words of a text search: the first word, and the second when the text
// holds a separating blank (a half-width one first, else a full-width one).
struct SearchWords {
    QString first;
    QString second;
    bool twoWords = false;
};
SearchWords splitSearchWords(const QString& trimmedText);

// The full-width and hiragana forms of a line, kept between lines so that
// their buffers are reused.
struct LineForms {
    QString fullWidth;
    QString hiragana;
};

// The match table applied to one trimmed line: the first word found as
// stored, or with `fold` in the line's full-width or hiragana form, and a
// second word always in one of those forms. The raw test decides alone
// where it can; the derived forms are built only when it does not.
bool lineMatches(QStringView line, const SearchWords& words, bool fold, LineForms& forms);

// The result row of a record: "[A] " or "[*] ", the postal code as
// NNN-NNNN, a blank, then the address.
QString resultRow(const PostalRecord& record);
QString resultRow(QStringView line, bool businessOffice, Access_CSV& csv);

// Lines shorter than this, blanks trimmed, never match.
inline constexpr qsizetype ShortestMatchingLine = 10;

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

// The data files as the pass searches them. The window keeps every file
// between passes, while it stays the same one, unchanged since it was read;
// a one-pass user keeps none and reads each file in blocks of whole lines,
// so that memory holds one block and no fresh pages are faulted in for
// every file.
class ScanCache {
public:
    enum class Keep { AllFiles, Nothing };
    static constexpr qsizetype DefaultBlockBytes = 128 * 1024;
    explicit ScanCache(Keep keep = Keep::AllFiles, qsizetype blockBytes = DefaultBlockBytes);
    ~ScanCache();

    // A stretch of a data file made of whole lines, with the fold key of
    // those lines when it was asked for. A file in UTF-8 comes whole, as
    // one block, and never with a fold key.
    struct Block {
        QByteArrayView bytes;
        QByteArrayView foldKey;
        bool utf8 = false;
    };
    using BlockTaker = std::function<bool(const Block&)>;
    // Hands `take` the file's blocks in order while it returns true; false
    // when `take` did. An empty or unreadable file has no blocks.
    bool forEachBlock(const QString& path, bool foldKey, const BlockTaker& take);
    // The files kept.
    qsizetype entryCount() const { return qsizetype(entries.size()); }

private:
    struct Entry;
    const Entry* cached(const QString& path, bool foldKey);
    bool readInBlocks(const QString& path, bool foldKey, const BlockTaker& take);

    Keep keep;
    qsizetype blockBytes;
    std::vector<std::pair<QString, std::unique_ptr<Entry>>> entries;
    QByteArray buffer;    // the block in hand, and the start of the next line
    QByteArray keyBuffer; // its fold key
};

struct AbolishedCode;

// The row of a postal code the change log says was abolished: its old
// record as a result row, marked "[廃] " instead of "[A] " or "[*] " (so no
// row action takes it for a current one), then "廃止（2026年3月）" and, for
// each code the same month added for the same town, "→ 新しい郵便番号
// 123-4567".
inline const QString AbolishedRowMarker = QStringLiteral("[廃] ");
QString abolishedRow(const AbolishedCode& abolished, Access_CSV& csv);

struct ScanResult {
    QStringList rows;                  // the rows, then the closing status line if any
    std::vector<PostalRecord> records; // one per matching row
    qsizetype matches = 0;
    bool stopped = false;
    bool limitReached = false;
};

// A postal-code search ends with the rows of the code's abolished records,
// when the data folder's change log has any (unless the pass was stopped).
ScanResult runScan(const ScanRequest& request, const DataFolder& data, ScanCache& cache,
                   Clock& clock, ScanObserver& observer);

} // namespace yubin
