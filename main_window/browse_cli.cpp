#include "main_window/browse_cli.h"

#include "foundation/data_file.h"
#include "foundation/prefectures.h"
#include "foundation/text.h"
#include "foundation/utilities.h"
#include "main_window/browse.h"

#include <optional>

namespace yubin {

namespace {

// Loads the file the main window would load for PREF; prints the window's
// missing-file message when there is none.
std::optional<LoadedRecords> load(const CliRequest& request, BrowseMode mode, int* exitCode) {
    const QString pref = request.positional.value(0);
    const int index = prefectureIndex(pref);
    if (index == 0) {
        *exitCode =
            usageError(request, QT_TRANSLATE_NOOP("yubin-cli", "unknown prefecture %1"), {pref});
        return std::nullopt;
    }
    QString path = browseFilePath(request.data, mode, index);
    std::optional<QString> text;
    if (FileExists(path))
        text = readDecodedFile(path);
    if (!text) {
        *request.err << MissingDataFile << '\n';
        *exitCode = ExitCode::NothingFound;
        return std::nullopt;
    }
    Access_CSV csv;
    return loadRecords(*text, mode, makePrefectureNames().at(index), csv);
}

// The records the lines stand for, by their indices.
std::vector<PostalRecord> recordsAt(const CliRequest& request, BrowseMode mode,
                                    const std::vector<RecordRow>& records,
                                    const std::vector<size_t>& rows) {
    const QString prefecture = makePrefectureNames().at(prefectureIndex(request.positional[0]));
    std::vector<PostalRecord> out;
    out.reserve(rows.size());
    for (size_t i : rows)
        out.push_back(recordOfRow(records[i], mode, prefecture));
    return out;
}

BrowseMode modeOf(const CliRequest& request) {
    return request.has(QStringLiteral("offices")) ? BrowseMode::BusinessOffice
                                                  : BrowseMode::Prefecture;
}

} // namespace

int runMunicipalitiesVerb(const CliRequest& request) {
    int code = ExitCode::Ok;
    const BrowseMode mode = modeOf(request);
    const auto loaded = load(request, mode, &code);
    if (!loaded)
        return code;
    const MunicipalityList list = municipalityList(*loaded, mode);
    if (mode == BrowseMode::BusinessOffice) {
        printRecords(request, list.lines, recordsAt(request, mode, loaded->records, list.rows));
        return code;
    }
    const QString prefecture = makePrefectureNames().at(prefectureIndex(request.positional[0]));
    std::vector<PostalRecord> records;
    for (size_t i : list.rows)
        records.push_back(recordOfMunicipality(loaded->municipalities[i], prefecture));
    printRecords(request, list.lines, records);
    return code;
}

int runTownsVerb(const CliRequest& request) {
    int code = ExitCode::Ok;
    const BrowseMode mode = modeOf(request);
    const auto loaded = load(request, mode, &code);
    if (!loaded)
        return code;
    const QString name = request.positional[1];
    if (mode == BrowseMode::Prefecture) {
        const TownList towns = townsOfMunicipality(loaded->records, name);
        printRecords(request, towns.lines, recordsAt(request, mode, loaded->records, towns.rows));
    } else {
        const OfficeList offices = officesNamed(loaded->records, name);
        printRecords(request, offices.lines,
                     recordsAt(request, mode, loaded->records, offices.rows));
    }
    return code;
}

int runTownSearchVerb(const CliRequest& request) {
    int code = ExitCode::Ok;
    const auto loaded = load(request, BrowseMode::Prefecture, &code);
    if (!loaded)
        return code;
    // As in the window: the search runs only for a municipality with
    // ordinary town lines; otherwise the town list stays as it was.
    const TownList towns = townsOfMunicipality(loaded->records, request.positional[1]);
    const QString searchText = text::trimmed(request.positional[2]);
    const QString municipality = text::trimmed(towns.currentMunicipality);
    if (searchText.isEmpty() || municipality.isEmpty()) {
        printRecords(request, towns.lines,
                     recordsAt(request, BrowseMode::Prefecture, loaded->records, towns.rows));
        return code;
    }
    const std::vector<size_t> found = searchTownRows(loaded->records, municipality, searchText);
    printRecords(request, searchTowns(loaded->records, municipality, searchText),
                 recordsAt(request, BrowseMode::Prefecture, loaded->records, found));
    return code;
}

} // namespace yubin
