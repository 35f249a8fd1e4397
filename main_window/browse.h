#pragma once

// The rules of the main window's browsing: which lines of a data file become
// rows, and the text of every line the three lists show. The window and
// yubin-cli both call these, so they show the same lines.

#include "foundation/access_csv.h"
#include "foundation/data_file.h"
#include "foundation/data_folder.h"
#include "foundation/postal_record.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <vector>

namespace yubin {

enum class BrowseMode { Prefecture, BusinessOffice };

// One accepted data line. Prefecture mode: postal code, municipality
// reading, town reading, municipality, town. Business-office mode: postal
// code, office name, office reading without its legal-entity word, address,
// empty.
using RecordRow = std::array<QString, 5>;

struct MunicipalityRow {
    QString name;
    QString reading; // half-width katakana
};

struct LoadedRecords {
    std::vector<RecordRow> records;
    // Prefecture mode: one row per run of consecutive lines of one
    // municipality, in file order.
    std::vector<MunicipalityRow> municipalities;
};

// Reads every line of a decoded data file. Lines of 10 characters or fewer
// after trimming are skipped. In business-office mode only the offices of
// the named prefecture are kept.
LoadedRecords loadRecords(QStringView text, BrowseMode mode, const QString& prefectureName,
                          Access_CSV& csv);

// The file a List1 choice reads: the prefecture's file, or the
// business-office file.
QString browseFilePath(const DataFolder& data, BrowseMode mode, int prefectureIndex);

// The named fields of a row, for the command line's tsv and json output.
PostalRecord recordOfRow(const RecordRow& row, BrowseMode mode, const QString& prefecture);
PostalRecord recordOfMunicipality(const MunicipalityRow& row, const QString& prefecture);

// The municipality or office list in the list's order: leading character,
// then the name, in Japanese collation. `rows` are the indices of the
// municipalities (or, for offices, of the records) the lines stand for.
struct MunicipalityList {
    QStringList lines;
    std::vector<size_t> rows;
};
MunicipalityList municipalityList(const LoadedRecords& loaded, BrowseMode mode);
inline QStringList municipalityListLines(const LoadedRecords& loaded, BrowseMode mode) {
    return municipalityList(loaded, mode).lines;
}

// The name a municipality or office line stands for.
QString municipalityOfLine(const QString& line);
QString officeOfLine(const QString& line);

// The three town line formats of prefecture mode.
QString townLine(const RecordRow& row);
// The ordinary format, used for every match of a town search.
QString ordinaryTownLine(const RecordRow& row);

struct TownList {
    QStringList lines;
    std::vector<size_t> rows;    // the records the lines stand for
    QString heading;             // municipality and reading, without the prefecture
    QString currentMunicipality; // set when an ordinary line was listed
};
TownList townsOfMunicipality(const std::vector<RecordRow>& records, const QString& municipality);

struct OfficeList {
    QStringList lines;
    std::vector<size_t> rows; // the records the lines stand for
    QString reading;          // full-width reading of the last office listed
};
OfficeList officesNamed(const std::vector<RecordRow>& records, const QString& officeName);

// The point size of the business-office heading for a reading of that
// many characters.
double officeHeadingPointSize(qsizetype length);

// The town search: lines of the municipality whose town name or reading
// (in full-width katakana or hiragana) contains the text.
// The records of its matching lines, in order.
std::vector<size_t> searchTownRows(const std::vector<RecordRow>& records,
                                   const QString& municipality, const QString& text);
QStringList searchTowns(const std::vector<RecordRow>& records, const QString& municipality,
                        const QString& text);

inline const QString MissingDataFile = QStringLiteral("データファイルがありません");

} // namespace yubin
