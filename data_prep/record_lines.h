#pragma once

// The published files' lines in the program's data format: one record a
// line, code page 932, CR LF, readings in half-width katakana. The classic
// files split a long record over lines and the UTF-8 file holds readings in
// full-width katakana; both are brought to that one form here, for the
// nationwide run, the per-prefecture run and the monthly differences alike.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

namespace yubin {

// Where a column's text lies in a line, its quotes left out.
struct ColumnRange {
    qsizetype from = 0;
    qsizetype to = 0;
    qsizetype size() const { return to - from; }
};
using ColumnRanges = QVarLengthArray<ColumnRange, 16>;

// The columns of a line, split at the commas outside quotes. Works on code
// page 932 and on UTF-8 bytes alike: neither ever uses the byte of a comma
// or of a double quote inside a multi-byte character.
ColumnRanges columnRanges(QByteArrayView line);

// A column's bytes; empty when the line has fewer columns (1-based `n`).
QByteArrayView columnBytes(QByteArrayView line, const ColumnRanges& ranges, int n);

// Joins the records that the classic address files split over lines. A
// town name over 38 characters (or its reading over 76) goes on in the next
// lines, which carry the same codes, prefecture and municipality; the split
// always falls inside the town's note, so a town whose full-width
// parentheses are still open continues on the next line of the same record.
// Several towns that share one postal code stand on lines of their own with
// their parentheses closed, and stay apart. A continuation's reading is
// added only where it is not the previous line's again: a reading short
// enough for one line is repeated on each part.
class SplitRecordJoiner {
public:
    // Takes the next line (blanks trimmed, no line end); appends the lines
    // it completes, each followed by CR LF, to `out`. Returns how many.
    int add(QByteArrayView line, QByteArray& out);
    // The record still open at the end of the input, if any.
    int finish(QByteArray& out);
    // Lines that were continuations, joined to the line before them.
    qint64 joinedLines() const { return joined; }

private:
    void join(QByteArrayView line);
    QByteArray pending;
    QByteArray lastReadingPart;
    int openParentheses = 0;
    qint64 joined = 0;
};

// Every line of a code page 932 file, blanks trimmed, with split records
// joined; each line followed by CR LF. Empty lines are left out.
QByteArray joinSplitRecords(QByteArrayView file, qint64* joinedLines = nullptr);

// A line of the UTF-8 file that code page 932 cannot hold whole: kept with
// each such character written as 〓 (U+3013, the sign Japanese print uses
// for a missing character) and reported with its original text.
struct UnencodableRecord {
    QString postalCode;
    QString text; // the original line
};

// The UTF-8 address file (utf_ken_all.csv, utf_add_YYMM.csv,
// utf_del_YYMM.csv) in the program's data format: blanks trimmed, readings
// (columns 4 to 6) in half-width katakana, code page 932, CR LF. A byte
// order mark is dropped.
struct Utf8Conversion {
    QByteArray bytes;
    std::vector<UnencodableRecord> unencodable;
};
Utf8Conversion convertUtf8AddressFile(QByteArrayView file);

// Whether a nationwide or difference file is the UTF-8 form: its name
// begins with "utf_", in any case.
bool isUtf8FormName(const QString& fileName);

} // namespace yubin
