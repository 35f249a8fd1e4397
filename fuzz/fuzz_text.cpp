// Code page 932 decoding and the width and kana conversions on any bytes:
// decoding never loses text, every decoded character encodes again, and the
// converted forms hold none of the characters they convert away.

#include "foundation/text.h"
#include "fuzz_check.h"

namespace text = yubin::text;

namespace {

bool halfWidthKatakana(char16_t c) {
    return c >= 0xFF61 && c <= 0xFF9F;
}

bool katakanaWithHiragana(char16_t c) {
    return (c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE;
}

void checkForms(const QString& s) {
    const QString full = text::toFullWidth(s);
    FUZZ_CHECK(full.size() <= s.size());
    for (QChar c : full) {
        FUZZ_CHECK(!halfWidthKatakana(c.unicode()));
        FUZZ_CHECK(c.unicode() < 0x20 || c.unicode() > 0x7E);
    }
    const QString hiragana = text::katakanaToHiragana(s);
    FUZZ_CHECK(hiragana.size() == s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        FUZZ_CHECK(!katakanaWithHiragana(hiragana[i].unicode()));
        if (!katakanaWithHiragana(s[i].unicode()))
            FUZZ_CHECK(hiragana[i] == s[i]);
    }
    FUZZ_CHECK(text::readingToHiragana(s) == text::katakanaToHiragana(full));

    const QStringView trimmed = text::trimBlanks(s);
    FUZZ_CHECK(trimmed.isEmpty() ||
               (!text::isBlank(trimmed.front()) && !text::isBlank(trimmed.back())));
    FUZZ_CHECK(QStringView(s).contains(trimmed));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = yubin::fuzz::bytesOf(data, size);
    const QString decoded = text::decodeCp932(bytes);
    // One character for each single byte and for each pair; nothing dropped.
    FUZZ_CHECK(decoded.size() <= bytes.size());
    FUZZ_CHECK(decoded.size() * 2 >= bytes.size());

    bool ok = true;
    const QByteArray encoded = text::encodeCp932(decoded, &ok);
    if (!decoded.contains(QChar(0xFFFD))) {
        // Characters the code page holds twice come back in their preferred
        // form, which decodes to the same text.
        FUZZ_CHECK(ok);
        FUZZ_CHECK(text::decodeCp932(encoded) == decoded);
    }
    for (QChar c : decoded)
        FUZZ_CHECK(c.unicode() == 0xFFFD || text::cp932Code(c.unicode()) >= 0);

    checkForms(decoded);
    checkForms(yubin::fuzz::utf16Of(data, size));
    return 0;
}
