// The note reader on any note and any address after the town: it never
// crashes or hangs, a note it cannot read is never a match, and what the
// address says about its floor is a floor a building can have.

#include "address/address_text.h"
#include "address/town_note.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace yubin::address;
    // The note, a line feed, the address.
    const QString text = QString::fromUtf8(yubin::fuzz::bytesOf(data, size));
    const qsizetype cut = text.indexOf(u'\n');
    const QStringView note = cut < 0 ? QStringView(text) : QStringView(text).left(cut);
    const QStringView b = cut < 0 ? QStringView() : QStringView(text).sliced(cut + 1);
    const TownNote parsed = parseTownNote(note);
    const AddressFacts facts = readAddressFacts(folded(b), folded(note));
    const Fit fit = noteFit(parsed, facts);
    if (parsed.kind == TownNote::Kind::Unreadable)
        FUZZ_CHECK(fit == Fit::Maybe);
    if (parsed.kind == TownNote::Kind::None)
        FUZZ_CHECK(fit == Fit::Yes);
    for (const NoteItem& item : parsed.items)
        for (const NoteCondition& c : item.conditions)
            FUZZ_CHECK(c.range.from.size() <= size_t(note.size()) &&
                       c.range.to.size() <= size_t(note.size()));
    if (facts.floor)
        FUZZ_CHECK(*facts.floor >= 0 && !facts.basement);
    return 0;
}
