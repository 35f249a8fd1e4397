#include "search/result_actions.h"

#include "foundation/data_file.h"
#include "foundation/text.h"
#include "main_window/list_actions.h"

namespace yubin {

namespace {

constexpr QStringView AddressMarker = u"[A]";
constexpr QStringView OfficeMarker = u"[*]";
// The address begins after the marker, its blank, the postal code and a blank.
constexpr qsizetype PrefixLength = 13;

} // namespace

bool hasResultRowPrefix(QStringView row) {
    return row.size() >= PrefixLength &&
           (row.startsWith(AddressMarker) || row.startsWith(OfficeMarker)) && row.at(3) == u' ' &&
           isPostalCodeText(row.mid(4, 8)) && row.at(12) == u' ';
}

QString resultBarZipCode(QStringView rawRow) {
    const QStringView row = text::trimBlanks(rawRow);
    if (!hasResultRowPrefix(row))
        return QString();
    return row.mid(4, 3).toString() + row.mid(8, 4).toString();
}

std::optional<QString> resultMapAddress(QStringView rawRow) {
    const QStringView row = text::trimBlanks(rawRow);
    if (!hasResultRowPrefix(row))
        return std::nullopt;
    if (row.startsWith(AddressMarker)) {
        if (row.contains(CatchAllTown))
            return std::nullopt;
        qsizetype cut = row.indexOf(u'（');
        if (cut < 0)
            cut = row.indexOf(u'(');
        const QStringView address =
            cut < 0 ? row.mid(PrefixLength - 1) : row.mid(PrefixLength - 1, cut - PrefixLength + 1);
        return text::trimmed(address);
    }
    // An office row: its address is what follows the last blank.
    QStringView address = row.mid(row.lastIndexOf(u' '));
    if (const qsizetype cut = address.indexOf(u'（'); cut >= 0)
        address = address.left(cut);
    else if (const qsizetype plainCut = address.indexOf(u'('); plainCut >= 0)
        address = address.left(plainCut);
    return text::trimmed(address);
}

std::optional<QString> resultCopyText(QStringView rawRow) {
    const QStringView row = text::trimBlanks(rawRow);
    if (!hasResultRowPrefix(row))
        return std::nullopt;
    const QStringView withoutMarker = row.mid(AddressMarker.size());
    if (!row.startsWith(AddressMarker))
        return text::trimmed(withoutMarker);
    // The reading of an address row follows its last blank; the blank after
    // the postal code is the last one when the town area stands in
    // parentheses, and then the postal code alone is copied.
    const qsizetype lastBlank = row.lastIndexOf(u' ');
    return text::trimmed(row.mid(AddressMarker.size(), lastBlank - AddressMarker.size() + 1));
}

} // namespace yubin
