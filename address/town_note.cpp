#include "address/town_note.h"

#include "address/address_text.h"
#include "foundation/text.h"

namespace yubin::address {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The number at `at`, and where it ends.
std::optional<int> numberAt(QStringView s, qsizetype& at) {
    qsizetype end = at;
    while (end < s.size() && isDigit(s[end]) && end - at < 6)
        ++end;
    if (end == at)
        return std::nullopt;
    const int value = s.sliced(at, end - at).toInt();
    at = end;
    return value;
}

} // namespace

TownName splitTownName(QStringView town) {
    const qsizetype open = town.indexOf(u'（');
    if (open < 0)
        return {town.toString(), QString()};
    // A building written with its part, 名駅ミッドランドスクエア（高層棟）（１階）:
    // the last parentheses hold the note that tells the records apart.
    const qsizetype lastOpen = town.lastIndexOf(u'（');
    QStringView note = town.sliced(lastOpen + 1);
    if (note.endsWith(u'）'))
        note.chop(1);
    return {town.left(open).toString(), note.toString()};
}

TownNote parseTownNote(QStringView rawNote) {
    TownNote note;
    const QString s = text::toHalfWidthAscii(rawNote);
    if (s.isEmpty())
        return note;
    using Kind = TownNote::Kind;
    if (s == u"地階・階層不明") {
        note.kind = Kind::FloorUnknown;
    } else if (s == u"次のビルを除く") {
        note.kind = Kind::ExceptBuildings;
    } else if (s == u"その他") {
        note.kind = Kind::Others;
    } else if (s == u"丁目") {
        note.kind = Kind::AnyChome;
    } else if (s == u"番地") {
        note.kind = Kind::Banchi;
    } else {
        qsizetype at = 0;
        const std::optional<int> first = numberAt(s, at);
        const QStringView rest = QStringView(s).sliced(at);
        if (first && rest == u"階") {
            note.kind = Kind::Floor;
            note.from = note.to = *first;
        } else if (first && rest == u"丁目") {
            note.kind = Kind::Chome;
            note.from = note.to = *first;
        } else if (first && (rest.startsWith(u'~') || rest.startsWith(u'〜'))) {
            qsizetype after = at + 1;
            const std::optional<int> last = numberAt(s, after);
            if (last && QStringView(s).sliced(after) == u"丁目") {
                note.kind = Kind::Chome;
                note.from = *first;
                note.to = *last;
            }
        }
        if (note.kind == Kind::None) {
            note.kind = Kind::Named;
            note.name = folded(rawNote);
        }
    }
    return note;
}

AddressFacts readAddressFacts(QStringView b) {
    AddressFacts facts;
    facts.startsWithNumber = !b.isEmpty() && isDigit(b[0]);
    qsizetype at = 0;
    if (const std::optional<int> first = numberAt(b, at)) {
        const QStringView rest = b.sliced(at);
        if (rest.startsWith(u"丁") ||
            (rest.startsWith(u'-') && rest.size() > 1 && isDigit(rest[1])))
            facts.chome = first;
    }
    for (qsizetype i = 0; i < b.size(); ++i) {
        if (!isDigit(b[i]))
            continue;
        qsizetype end = i;
        const std::optional<int> n = numberAt(b, end);
        if (end < b.size() && (b[end] == u'階' || b[end] == u'F') && !facts.floor) {
            const bool basementMark = i > 0 && (b[i - 1] == u'B' || b[i - 1] == u'下');
            if (basementMark)
                facts.basement = true;
            else
                facts.floor = n;
        }
        i = end - 1;
    }
    facts.basement = facts.basement || b.contains(u"地階") || b.contains(u"地下");
    return facts;
}

int noteFit(const TownNote& note, const AddressFacts& facts, QStringView b) {
    using Kind = TownNote::Kind;
    switch (note.kind) {
    case Kind::Chome:
        return facts.chome && *facts.chome >= note.from && *facts.chome <= note.to ? 10 : 0;
    case Kind::AnyChome:
        return facts.chome ? 9 : 0;
    case Kind::Floor:
        return facts.floor && *facts.floor == note.from && !facts.basement ? 10 : 0;
    case Kind::FloorUnknown:
        return facts.floor ? 1 : 8; // also a floor the building has no record for
    case Kind::Named:
        return !note.name.isEmpty() && b.startsWith(note.name) ? 7 : 0;
    case Kind::Banchi:
        return !facts.chome && facts.startsWithNumber ? 6 : 0;
    case Kind::None:
        return 5;
    case Kind::Others:
        return 4;
    case Kind::ExceptBuildings:
        return 3;
    }
    return 0;
}

} // namespace yubin::address
