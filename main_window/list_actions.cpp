#include "main_window/list_actions.h"

#include "foundation/text.h"

namespace yubin {

namespace {

// The first full-width "（", else the first "(", else the end.
qsizetype parenthesisCut(QStringView text) {
    qsizetype at = text.indexOf(u'（');
    if (at < 0)
        at = text.indexOf(u'(');
    return at < 0 ? text.size() : at;
}

// The name of a town line begins after its postal code; one blank stands
// between them on a whole-area line, two on the others.
constexpr qsizetype TownNameFrom = 9;

} // namespace

bool isPostalCodeText(QStringView text) {
    if (text.size() != 8 || text.at(3) != u'-')
        return false;
    for (qsizetype i : {0, 1, 2, 4, 5, 6, 7})
        if (!text::isAsciiDigit(text.at(i)))
            return false;
    return true;
}

bool isTownListLine(QStringView line) {
    return line.size() > 8 && isPostalCodeText(line.left(8)) && line.at(8) == u' ';
}

std::optional<MapRequest> municipalityMapRequest(QStringView line, BrowseMode mode) {
    // A line is its leading reading character, a blank and the name; an
    // empty reading leaves the blank first. Taking the name after that
    // blank keeps the first character of such a name, and refuses the idle
    // line, which has no blank.
    const qsizetype blank = line.indexOf(u' ');
    if (blank < 0 || blank > 1)
        return std::nullopt;
    const QStringView rest = line.mid(blank + 1);
    MapRequest request;
    if (mode == BrowseMode::Prefecture) {
        request.address = text::trimmed(rest.left(parenthesisCut(rest)));
        request.mode = MapModeAddress;
    } else {
        request.address = text::trimmed(rest);
        request.mode = MapModeOffice;
    }
    if (request.address.size() <= 1)
        return std::nullopt;
    return request;
}

std::optional<QString> townMapAddress(QStringView rawLine, const QString& prefectureName) {
    const QStringView line = text::trimBlanks(rawLine);
    if (!isTownListLine(line) || line.size() <= 10 || line.contains(CatchAllTown))
        return std::nullopt;
    const qsizetype cut = parenthesisCut(line);
    if (cut < TownNameFrom)
        return std::nullopt;
    return text::trimmed(prefectureName) +
           text::trimmed(line.mid(TownNameFrom, cut - TownNameFrom));
}

QString townBarZipCode(QStringView rawLine) {
    const QStringView line = text::trimBlanks(rawLine);
    if (!isTownListLine(line))
        return QString();
    return line.left(3).toString() + line.mid(4, 4).toString();
}

std::optional<QString> townCopyText(QStringView rawLine, BrowseMode mode) {
    const QStringView line = text::trimBlanks(rawLine);
    if (!isTownListLine(line))
        return std::nullopt;
    if (mode == BrowseMode::BusinessOffice)
        return line.toString();
    // The reading follows the last blank; a town line always has one after
    // its postal code.
    return text::trimmed(line.left(line.lastIndexOf(u' ')));
}

} // namespace yubin
