#pragma once

// An address list as people export it from a spreadsheet or an address
// book: an .xlsx workbook, or CSV or TSV, UTF-8 (with or without a byte-order mark) or code page
// 932, quoted fields that may hold the separator and line breaks, and a
// first row that names the columns, or no such row at all.

#include "labels/list_headings.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace yubin::labels {

enum class Encoding { Utf8, Utf8WithBom, Cp932 };

// What the labels read from a row. Address is the address written in one
// column, or the split one (都道府県, 市区町村, 町域, 番地) joined; Address1
// to Address3 are its further lines; Name is the person with the title
// before it and the joint names after it.
enum class Column {
    PostalCode,
    Address,
    Address1,
    Address2,
    Address3,
    Building,
    Company,
    Department,
    Name,
    Honorific,
};

// One record of the file: its fields and the line it starts on (1-based).
struct Record {
    QStringList fields;
    int line = 0;
};

// A row longer than this is refused: no label holds it, and the address
// rules read no more than a fraction of it.
inline constexpr qsizetype MaxRowLength = 2000;

struct AddressList {
    Encoding encoding = Encoding::Utf8;
    QChar separator = u',';
    bool fromWorkbook = false; // an .xlsx file's first sheet
    bool hasHeader = false;
    QStringList headings; // the first row when it names the columns
    // The 0-based field of each part; -1 when the list has no such column.
    std::array<int, PartKinds> parts{};
    // The headings of the columns no rule reads, in their order ("3列目"
    // for a column without one).
    QStringList unusedColumns;
    std::vector<Record> rows; // without the heading row and blank rows
    // Japanese; set when the file as a whole cannot be used.
    QString error;

    int column(Part p) const { return parts[std::size_t(p)]; }
    // A row's field of a part, trimmed; empty when the list or the row has
    // no such field.
    QString part(const Record& row, Part p) const;
    // What the labels read from a row, trimmed and joined as the column
    // describes; empty when the list has nothing for it.
    QString field(const Record& row, Column c) const;
    // The person's name alone: the name column, or 姓 and 名 joined in
    // Japanese order; without the title and joint names field(Name) adds.
    QString personName(const Record& row) const;
    // The whole address of a row: its lines joined with a blank.
    QString address(const Record& row) const;
    // 「使わない列：会社コード、電話番号」, or "" when every column is read.
    QString unusedNote() const;
};

// The file's text: UTF-8 when its bytes are valid UTF-8 (a leading
// byte-order mark dropped), else code page 932 when they are valid there;
// nullopt when they are valid in neither.
std::optional<QString> decodeList(QByteArrayView bytes, Encoding* encoding);

// Splits text into records by RFC 4180: fields separated by `separator`,
// records by CR LF, LF or CR; a field in double quotes may hold separators
// and line breaks, and "" stands for one quote inside it. Characters after a
// closing quote stay in the field. nullopt, and *unclosedLine set, when a
// quote opened on that line never closes.
std::optional<std::vector<Record>> splitRecords(QStringView text, QChar separator,
                                                int* unclosedLine = nullptr);

// A tab outside quotes in the first record makes the file TSV; otherwise
// it is CSV.
QChar detectSeparator(QStringView text);

// The whole reading: an .xlsx workbook's first sheet, or else decoding,
// separator and records; then the heading row or the default columns
// (postal code, address, name), blank rows left out.
AddressList parseAddressList(QByteArrayView bytes);

// Reads and parses a file; the error names a missing, unreadable or empty
// file as such.
AddressList readAddressList(const QString& path);

} // namespace yubin::labels
