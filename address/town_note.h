#pragma once

// The notes the data writes in full-width parentheses after a town name, read
// into rules an address is tested against: 丁目 ranges and lists, 番地 ranges
// and lists with their exclusions, 地割, floors of a building, named parts,
// Kyoto's street directions and the notes that stand for "the rest".

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace yubin::address {

struct TownName {
    QString base; // the name without its note
    QString note; // inside the parentheses; empty when there is none
};
// 北六条東（１～７丁目） gives 北六条東 and １～７丁目; of several parentheses
// the last holds the note.
TownName splitTownName(QStringView town);

// The places of the numbers an address carries after its town.
enum class Level { Chome, Banchi, Go, Chiwari, Jo, Sen, Ku, Floor };

// From one number path to another, both ends included: 251～270 is {251}
// to {270}, 13－4 is {13, 4} to {13, 4}. An empty end is open: 以上, 以下.
struct NumberRange {
    std::vector<int> from;
    std::vector<int> to;
};

struct NoteCondition {
    Level level = Level::Banchi;
    NumberRange range;
};

// One part of a note between its commas: a name the address goes on with,
// numbers it must carry, and the parts left out of it (「…を除く」).
struct NoteItem {
    QString name;        // folded (address_text.h); may be empty
    bool street = false; // a Kyoto street and its direction: name is the street
    bool unreadable = false;
    std::vector<NoteCondition> conditions;
    std::vector<NoteItem> except;
};

struct TownNote {
    enum class Kind {
        None,            // no note
        Items,           // numbers, names or streets: items
        AnyChome,        // （丁目）: addresses written with 丁目
        Banchi,          // （番地）: addresses written with a bare 番地
        FloorUnknown,    // （地階・階層不明）
        ExceptBuildings, // （次のビルを除く）
        Others,          // （その他）, （大字）, 「…を含む」: the rest of the town
        Unreadable,      // a form this program does not know: never a match
    };
    Kind kind = Kind::None;
    std::vector<NoteItem> items;
    bool isFloor() const; // one floor of a building: （１２階）
};
TownNote parseTownNote(QStringView note);

// What the part of an address after its town says, read from its folded
// form (address_text.h) with any 大字, 字 or 小字 before it dropped.
struct AddressFacts {
    QString text;   // the folded address B
    QString street; // a Kyoto street before the town, folded; empty when none
    struct Number {
        std::optional<Level> unit; // as written: 丁目, 番地, 号...; none for 8-3-1
        int value = 0;
    };
    std::vector<Number> numbers; // the first run of numbers and what joins them
    qsizetype numbersAt = 0;     // where the run begins in text
    std::optional<int> floor;    // 12階, 12F
    bool basement = false;       // 地階, 地下, B1
};
AddressFacts readAddressFacts(QStringView foldedB, QStringView street = {});

// How a note fits an address: not at all; perhaps (the address does not say
// enough, or the note cannot be read); as one of the notes that stand for
// the rest of a town; or plainly.
enum class Fit { No, Maybe, Rest, Yes };
Fit noteFit(const TownNote& note, const AddressFacts& facts);

} // namespace yubin::address
