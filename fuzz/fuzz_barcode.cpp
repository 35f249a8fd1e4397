// The customer barcode on any text: the data part is always 20 barcode
// characters, the check character makes the sum a multiple of 19, the
// pattern is the start code, 21 characters and the stop code, and every bar
// lies inside the picture or the printed extent.

#include "barcode/barcode_code.h"
#include "fuzz_check.h"

#include <numeric>

using namespace yubin::barcode;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const int codeSize = 1 + data[0] % 3;
    const QString code = QString::fromUtf8(yubin::fuzz::bytesOf(data + 1, size - 1));

    UnencodableCharacter failure;
    const std::optional<DataCharacters> characters = dataCharacters(code, &failure);
    if (!characters) {
        FUZZ_CHECK(failure.position >= 0 && failure.position < code.size());
        FUZZ_CHECK(code[failure.position] == failure.character);
        return 0;
    }
    for (int value : *characters)
        FUZZ_CHECK(value >= 0 && value < CharacterValues);
    const int check = checkValue(*characters);
    FUZZ_CHECK(check >= 0 && check < CharacterValues);
    FUZZ_CHECK((std::accumulate(characters->begin(), characters->end(), 0) + check) %
                   CharacterValues ==
               0);

    const QString pattern = fullPattern(*characters, check);
    FUZZ_CHECK(pattern.size() == PatternLength);
    FUZZ_CHECK(pattern.startsWith(StartCode) && pattern.endsWith(StopCode));
    int bars = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar s = pattern[i];
        FUZZ_CHECK(s >= NoBar && s <= TimingBar);
        bars += s != NoBar;
    }
    for (int i = 0; i <= DataLength; ++i) {
        const int value = i < DataLength ? (*characters)[size_t(i)] : check;
        FUZZ_CHECK(pattern.mid(StartCode.size() + i * CharacterWidth, CharacterWidth) ==
                   characterPattern(value));
    }

    const QSizeF extent = printedSizeMm(codeSize);
    const std::vector<QRectF> printed = printedBars(pattern, 5.0, 7.0, codeSize);
    FUZZ_CHECK(int(printed.size()) == bars);
    for (const QRectF& bar : printed)
        FUZZ_CHECK(bar.left() >= 7.0 - 1e-9 && bar.right() <= 7.0 + extent.width() + 1e-9 &&
                   bar.top() >= 5.0 - 1e-9 && bar.bottom() <= 5.0 + extent.height() + 1e-9);

    const int block = 1 + data[0] / 3 % 4;
    const auto preview = previewBars(pattern, block, codeSize);
    FUZZ_CHECK(preview.has_value());
    FUZZ_CHECK(int(preview->size()) == bars);
    return 0;
}
