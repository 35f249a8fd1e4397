#include "search/search_cli.h"

#include "foundation/postal_record.h"
#include "foundation/text.h"
#include "foundation/utilities.h"
#include "search/scan.h"
#include "search/search_input.h"

namespace yubin {

namespace {

int scanAndPrint(const CliRequest& request, const ScanRequest& scan) {
    ScanCache cache(ScanCache::Keep::Nothing);
    SteadyClock clock;
    ScanObserver quiet;
    const ScanResult result = runScan(scan, request.data, cache, clock, quiet);
    printRecords(request, result.rows, result.records);
    // The closing status line and an abolished code's rows are no records:
    // in tsv and json they are told on stderr, so that they are not lost.
    if (request.format != OutputFormat::Text)
        for (qsizetype i = qsizetype(result.records.size()); i < result.rows.size(); ++i)
            *request.err << result.rows[i] << '\n';
    // The count label of the search window counts the status line too.
    *request.err << countCaption(result.rows.size()) << '\n';
    return result.rows.isEmpty() ? ExitCode::NothingFound : ExitCode::Ok;
}

} // namespace

int runSearchVerb(const CliRequest& request) {
    const QString searchText = text::trimmed(request.positional[0]);
    switch (checkSearchText(searchText)) {
    case TextSearchCheck::Empty:
        return usageError(request, QT_TRANSLATE_NOOP("yubin-cli", "the search text is empty"));
    case TextSearchCheck::TooManyWords:
        return usageError(request,
                          QT_TRANSLATE_NOOP("yubin-cli", "a search takes one word or two words"));
    case TextSearchCheck::Ok:
        break;
    }
    ScanRequest scan;
    scan.text = searchText;
    scan.fold = request.has(QStringLiteral("fold"));
    scan.includeOffices = !request.has(QStringLiteral("no-offices"));
    return scanAndPrint(request, scan);
}

int runCodeVerb(const CliRequest& request) {
    const std::optional<QString> key = postalCodeKey(request.positional[0]);
    if (!key)
        return usageError(
            request,
            QT_TRANSLATE_NOOP("yubin-cli", "a postal code is 7 digits, or 3 digits, \"-\" and 4"));
    ScanRequest scan;
    scan.zipKey = *key;
    scan.includeOffices = !request.has(QStringLiteral("no-offices"));
    return scanAndPrint(request, scan);
}

} // namespace yubin
