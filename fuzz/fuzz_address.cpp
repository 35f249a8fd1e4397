// The address number rules and the address folding on any text: a number
// holds only digits, letters and single inner hyphens, none beside a
// letter, and grows beyond its input only where kanji numbers with 十, 百 or
// 千 are written out; the folding keeps a position in the input for every
// character it gives.

#include "address/address_number.h"
#include "address/address_text.h"
#include "fuzz_check.h"

namespace address = yubin::address;

namespace {

bool isLetter(QChar c) {
    return c >= u'A' && c <= u'Z';
}

void checkNumber(const QString& in) {
    const QString n = address::addressNumber(in).number;
    for (qsizetype i = 0; i < n.size(); ++i) {
        const QChar c = n[i];
        FUZZ_CHECK((c >= u'0' && c <= u'9') || isLetter(c) || c == u'-');
        if (c == u'-') {
            FUZZ_CHECK(i > 0 && i + 1 < n.size());
            FUZZ_CHECK(n[i - 1] != u'-' && !isLetter(n[i - 1]) && !isLetter(n[i + 1]));
        }
    }
    const bool spelledOut = in.contains(u'十') || in.contains(u'百') || in.contains(u'千');
    FUZZ_CHECK(n.size() <= (spelledOut ? 4 * in.size() : in.size()));
    FUZZ_CHECK(address::barcodePlaces(n) <= 2 * n.size());
}

void checkFolding(const QString& in) {
    const address::FoldedText f = address::foldForMatch(in);
    FUZZ_CHECK(f.origin.size() == size_t(f.text.size()) + 1);
    FUZZ_CHECK(f.origin.back() == in.size());
    for (size_t i = 1; i < f.origin.size(); ++i)
        FUZZ_CHECK(f.origin[i - 1] <= f.origin[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = yubin::fuzz::utf16Of(data, size);
    checkNumber(text);
    checkFolding(text);
    return 0;
}
