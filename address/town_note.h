#pragma once

// The notes the data writes in full-width parentheses after a town name, and
// what an address must hold for a record with such a note to be its record.

#include <QString>
#include <QStringView>

#include <optional>

namespace yubin::address {

struct TownName {
    QString base; // the name without its note
    QString note; // inside the parentheses; empty when there is none
};
// 北六条東（１～７丁目） gives 北六条東 and １～７丁目; of several parentheses
// the last holds the note.
TownName splitTownName(QStringView town);

struct TownNote {
    enum class Kind {
        None,            // no note
        Chome,           // 丁目 from..to (a single 丁目 is a range of one)
        AnyChome,        // （丁目）: addresses written with 丁目
        Banchi,          // （番地）: addresses written with a bare number
        Floor,           // a floor of a building: from
        FloorUnknown,    // （地階・階層不明）
        ExceptBuildings, // （次のビルを除く）
        Others,          // （その他）
        Named,           // any other note: a part of the town by name
    };
    Kind kind = Kind::None;
    int from = 0;
    int to = 0;
    QString name; // Named: the note folded for comparison
};
TownNote parseTownNote(QStringView note);

// What the part of an address after its town says about the notes, read
// from its folded form (address_text.h).
struct AddressFacts {
    std::optional<int> chome; // 8丁目, 八丁目, or the 8 of 8-3-1
    std::optional<int> floor; // 12階, 12F
    bool basement = false;    // 地階, 地下, B1
    bool startsWithNumber = false;
};
AddressFacts readAddressFacts(QStringView foldedB);

// How well a note fits: 0 not at all; higher wins. A note of a kind the
// address says nothing about fits as a fallback only.
int noteFit(const TownNote& note, const AddressFacts& facts, QStringView foldedB);

} // namespace yubin::address
