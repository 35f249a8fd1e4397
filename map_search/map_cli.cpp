#include "map_search/map_cli.h"

#include "foundation/shared_values.h"
#include "map_search/map_query.h"

#include <optional>

namespace yubin {

namespace {

// The choice of a --site or --engine option: absent is the first service.
std::optional<int> choiceOption(const CliRequest& request, const QString& name) {
    const QString value = request.value(name, QStringLiteral("0"));
    if (value == QLatin1String("0"))
        return 0;
    if (value == QLatin1String("1"))
        return 1;
    return std::nullopt;
}

int runUrlVerb(const CliRequest& request, const QString& option,
               QString (*url)(int choice, const QString& address)) {
    const std::optional<int> choice = choiceOption(request, option);
    if (!choice)
        return usageError(request, QT_TRANSLATE_NOOP("yubin-cli", "--%1 takes 0 or 1"), {option});
    *request.out << url(*choice, rewriteMapAddress(request.positional.first())) << '\n';
    return ExitCode::Ok;
}

} // namespace

int runMapUrlVerb(const CliRequest& request) {
    // --office stands for the window's MapMode 99.
    const qint16 mapMode = request.has(QStringLiteral("office")) ? FlagSet : qint16(0);
    if (!mapSearchOffered(mapMode)) {
        *request.err << MapSearchNotOfferedText << '\n';
        return ExitCode::NothingFound;
    }
    return runUrlVerb(request, QStringLiteral("site"), [](int choice, const QString& address) {
        return mapSearchUrl(MapSite(choice), address);
    });
}

int runWebUrlVerb(const CliRequest& request) {
    return runUrlVerb(request, QStringLiteral("engine"), [](int choice, const QString& address) {
        return webSearchUrl(WebEngine(choice), address);
    });
}

} // namespace yubin
