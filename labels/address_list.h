#pragma once

// An address list as people export it from a spreadsheet or an address
// book: CSV or TSV, UTF-8 (with or without a byte-order mark) or code page
// 932, quoted fields that may hold the separator and line breaks, and a
// first row that names the columns, or no such row at all.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace yubin::labels {

enum class Encoding { Utf8, Utf8WithBom, Cp932 };

// What a column holds, as its heading names it.
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
inline constexpr int ColumnKinds = 10;

// The role of a heading (trimmed, any case for the English names); nullopt
// for a heading the labels do not use.
std::optional<Column> columnOfHeading(QStringView heading);

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
    bool hasHeader = false;
    QStringList headings; // the first row when it names the columns
    // The 0-based field of each role; -1 when the list has no such column.
    std::array<int, ColumnKinds> columns{};
    std::vector<Record> rows; // without the heading row and blank rows
    // Japanese; set when the file as a whole cannot be used.
    QString error;

    int column(Column c) const { return columns[std::size_t(c)]; }
    // A row's field of a role, trimmed; empty when the list or the row has
    // no such field.
    QString field(const Record& row, Column c) const;
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

// The whole reading: decoding, separator, records, the heading row or the
// default columns (postal code, address, name), blank rows left out.
AddressList parseAddressList(QByteArrayView bytes);

// Reads and parses a file; the error names a missing, unreadable or empty
// file as such.
AddressList readAddressList(const QString& path);

} // namespace yubin::labels
