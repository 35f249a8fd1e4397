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
        *exitCode = usageError(*request.err, QStringLiteral("unknown prefecture %1").arg(pref));
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

void print(const CliRequest& request, const QStringList& lines) {
    for (const QString& line : lines)
        *request.out << line << '\n';
}

BrowseMode modeOf(const CliRequest& request) {
    return request.has(QStringLiteral("offices")) ? BrowseMode::BusinessOffice
                                                  : BrowseMode::Prefecture;
}

} // namespace

int runMunicipalitiesVerb(const CliRequest& request) {
    if (request.positional.size() != 1)
        return usageError(*request.err, QStringLiteral("usage: municipalities PREF [--offices]"));
    int code = ExitCode::Ok;
    const BrowseMode mode = modeOf(request);
    const auto loaded = load(request, mode, &code);
    if (loaded)
        print(request, municipalityListLines(*loaded, mode));
    return code;
}

int runTownsVerb(const CliRequest& request) {
    if (request.positional.size() != 2)
        return usageError(*request.err, QStringLiteral("usage: towns PREF NAME [--offices]"));
    int code = ExitCode::Ok;
    const BrowseMode mode = modeOf(request);
    const auto loaded = load(request, mode, &code);
    if (!loaded)
        return code;
    const QString name = request.positional[1];
    print(request, mode == BrowseMode::Prefecture ? townsOfMunicipality(loaded->records, name).lines
                                                  : officesNamed(loaded->records, name).lines);
    return code;
}

int runTownSearchVerb(const CliRequest& request) {
    if (request.positional.size() != 3)
        return usageError(*request.err,
                          QStringLiteral("usage: town-search PREF MUNICIPALITY TEXT"));
    int code = ExitCode::Ok;
    const auto loaded = load(request, BrowseMode::Prefecture, &code);
    if (!loaded)
        return code;
    // As in the window: the search runs only for a municipality with
    // ordinary town lines; otherwise the town list stays as it was.
    const TownList towns = townsOfMunicipality(loaded->records, request.positional[1]);
    const QString searchText = text::trimmed(request.positional[2]);
    const QString municipality = text::trimmed(towns.currentMunicipality);
    if (searchText.isEmpty() || municipality.isEmpty())
        print(request, towns.lines);
    else
        print(request, searchTowns(loaded->records, municipality, searchText));
    return code;
}

} // namespace yubin
