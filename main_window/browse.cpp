#include "main_window/browse.h"

#include "foundation/data_file.h"
#include "foundation/postal_code.h"
#include "foundation/text.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace yubin {

namespace {

QString wholeAreaReading(const QString& reading) {
    // The part read for "一円" follows the last ｲ; a reading without one is
    // shown whole.
    const qsizetype cut = reading.lastIndexOf(u'ｲ');
    return text::readingToHiragana(cut >= 0 ? QStringView(reading).left(cut)
                                            : QStringView(reading));
}

} // namespace

QString browseFilePath(const DataFolder& data, BrowseMode mode, int prefectureIndex) {
    return mode == BrowseMode::BusinessOffice ? data.businessOfficeFilePath()
                                              : data.prefectureFilePath(prefectureIndex);
}

LoadedRecords loadRecords(QStringView text, BrowseMode mode, const QString& prefectureName,
                          Access_CSV& csv) {
    LoadedRecords loaded;
    QString line;
    forEachLine(text, [&](QStringView raw) {
        const QStringView trimmedLine = text::trimBlanks(raw);
        if (!isRecordLine(trimmedLine))
            return;
        if (mode == BrowseMode::BusinessOffice) {
            // The prefecture's name must stand beyond the leading code columns.
            const qsizetype at = trimmedLine.indexOf(prefectureName);
            if (at < 5)
                return;
        }
        line = trimmedLine.toString();
        if (mode == BrowseMode::Prefecture) {
            // A line that does not reach the town column is no record: a
            // stray text or binary line would else list as a nameless
            // municipality.
            if (csv.MaxColNo(line) < AddressColumn::Town)
                return;
            const PostalRecord r = readAddressRecord(line, csv);
            if (loaded.municipalities.empty() ||
                loaded.municipalities.back().name != r.municipality)
                loaded.municipalities.push_back({r.municipality, r.municipalityReading});
            loaded.records.push_back(
                {r.postalCode, r.municipalityReading, r.townReading, r.municipality, r.town});
        } else {
            const PostalRecord r = readOfficeRecord(line, csv);
            if (r.prefecture != prefectureName)
                return;
            loaded.records.push_back(
                {r.postalCode, r.officeName, r.officeReading, r.address, QString()});
        }
    });
    return loaded;
}

PostalRecord recordOfRow(const RecordRow& row, BrowseMode mode, const QString& prefecture) {
    PostalRecord r;
    r.postalCode = row[0];
    r.prefecture = prefecture;
    if (mode == BrowseMode::BusinessOffice) {
        r.kind = RecordKind::Office;
        r.officeName = row[1];
        r.officeReading = row[2];
        r.address = row[3];
        return r;
    }
    r.municipalityReading = row[1];
    r.townReading = row[2];
    r.municipality = row[3];
    r.town = row[4];
    return r;
}

PostalRecord recordOfMunicipality(const MunicipalityRow& row, const QString& prefecture) {
    PostalRecord r;
    r.kind = RecordKind::Municipality;
    r.prefecture = prefecture;
    r.municipality = row.name;
    r.municipalityReading = row.reading;
    return r;
}

MunicipalityList municipalityList(const LoadedRecords& loaded, BrowseMode mode) {
    QStringList lines;
    if (mode == BrowseMode::Prefecture) {
        lines.reserve(qsizetype(loaded.municipalities.size()));
        for (const MunicipalityRow& m : loaded.municipalities) {
            const QString reading = text::readingToHiragana(m.reading);
            lines << reading.left(1) + u' ' + m.name + QStringLiteral(" (") + reading + u')';
        }
    } else {
        lines.reserve(qsizetype(loaded.records.size()));
        for (const RecordRow& row : loaded.records) {
            // Only the first character is widened, so a voiced first sound
            // files under its unvoiced letter.
            lines << text::toFullWidth(QStringView(row[2]).left(1)) + u' ' + row[1];
        }
    }
    // The list is sorted as the desktop's sorted list box sorts Japanese
    // text. Sort keys keep a list of thousands of offices fast.
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    std::vector<std::pair<QCollatorSortKey, size_t>> keys;
    keys.reserve(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i)
        keys.emplace_back(collator.sortKey(lines[i]), size_t(i));
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    MunicipalityList sorted;
    sorted.lines.reserve(lines.size());
    sorted.rows.reserve(keys.size());
    for (const auto& key : keys) {
        sorted.lines << lines[qsizetype(key.second)];
        sorted.rows.push_back(key.second);
    }
    return sorted;
}

QString municipalityOfLine(const QString& line) {
    const qsizetype end = line.indexOf(u' ', 2);
    return line.mid(2, end < 0 ? -1 : end - 2);
}

QString officeOfLine(const QString& line) {
    // The name follows the leading character and its blank. An office
    // without a reading has no leading character, so the line starts with
    // the blank itself.
    const qsizetype blank = line.indexOf(u' ');
    return blank < 0 ? QString() : line.mid(blank + 1);
}

QString ordinaryTownLine(const RecordRow& row) {
    return postalCodeText(row[0]) + QStringLiteral("  ") + row[3] + row[4] + QStringLiteral(" (") +
           text::readingToHiragana(row[2]) + u')';
}

QString townLine(const RecordRow& row) {
    if (row[4] == CatchAllTown)
        return postalCodeText(row[0]) + QStringLiteral("  ") + CatchAllTown;
    if (row[4].endsWith(WholeAreaEnding))
        return postalCodeText(row[0]) + u' ' + row[4] + u'(' + wholeAreaReading(row[2]) + u')';
    return ordinaryTownLine(row);
}

TownList townsOfMunicipality(const std::vector<RecordRow>& records, const QString& municipality) {
    TownList list;
    for (size_t i = 0; i < records.size(); ++i) {
        const RecordRow& row = records[i];
        if (row[3] != municipality)
            continue;
        list.rows.push_back(i);
        list.heading = municipality + u'(' + text::readingToHiragana(row[1]) + u')';
        list.lines << townLine(row);
        if (row[4] != CatchAllTown && !row[4].endsWith(WholeAreaEnding))
            list.currentMunicipality = municipality;
    }
    return list;
}

OfficeList officesNamed(const std::vector<RecordRow>& records, const QString& officeName) {
    OfficeList list;
    for (size_t i = 0; i < records.size(); ++i) {
        const RecordRow& row = records[i];
        if (row[1] != officeName)
            continue;
        list.rows.push_back(i);
        list.lines << postalCodeText(row[0]) + QStringLiteral("  ") + row[3];
        list.reading = text::toFullWidth(row[2]);
    }
    return list;
}

double officeHeadingPointSize(qsizetype length) {
    if (length < 30)
        return 9;
    if (length <= 40)
        return 7;
    if (length <= 50)
        return 6;
    if (length <= 60)
        return 5;
    return 4;
}

std::vector<size_t> searchTownRows(const std::vector<RecordRow>& records,
                                   const QString& municipality, const QString& searchText) {
    std::vector<size_t> rows;
    QString fullWidth;
    QString hira;
    for (size_t i = 0; i < records.size(); ++i) {
        const RecordRow& row = records[i];
        if (row[3] != municipality)
            continue;
        text::toFullWidth(row[2], fullWidth);
        text::katakanaToHiragana(fullWidth, hira);
        const bool matches = row[4].contains(searchText) || fullWidth.contains(searchText) ||
                             hira.contains(searchText);
        if (matches && row[4] != CatchAllTown)
            rows.push_back(i);
    }
    return rows;
}

QStringList searchTowns(const std::vector<RecordRow>& records, const QString& municipality,
                        const QString& searchText) {
    QStringList lines;
    for (size_t i : searchTownRows(records, municipality, searchText))
        lines << ordinaryTownLine(records[i]);
    return lines;
}

} // namespace yubin
