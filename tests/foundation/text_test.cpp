#include "foundation/text.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <gtest/gtest.h>

#include <memory>

namespace yubin::text {
namespace {

QString icuTransform(const char* id, const QString& in) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> t(
        icu::Transliterator::createInstance(id, UTRANS_FORWARD, status));
    EXPECT_TRUE(U_SUCCESS(status)) << id;
    if (!t)
        return {};
    icu::UnicodeString s(reinterpret_cast<const char16_t*>(in.utf16()), int32_t(in.size()));
    t->transliterate(s);
    return QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
}

// Where this program differs from ICU on purpose: a sound mark that cannot
// combine with the letter before it stays the spacing mark (゛ ゜, as the
// desktop's own width conversion writes it) where ICU writes the combining
// one; and ヷ ヺ, which have no hiragana letter, stay katakana so that the
// hiragana form keeps one character for each, where ICU spells them with a
// combining mark.
QString icuAsThisProgramWrites(QString s) {
    s.replace(QChar(0x3099), QChar(0x309B));
    s.replace(QChar(0x309A), QChar(0x309C));
    s.replace(QString::fromUtf8("わ゛"), QString::fromUtf8("ヷ"));
    s.replace(QString::fromUtf8("を゛"), QString::fromUtf8("ヺ"));
    return s;
}

QString hex(const QString& s) {
    QString out;
    for (QChar c : s)
        out += QStringLiteral("U+%1 ").arg(c.unicode(), 4, 16, QChar(u'0')).toUpper();
    return out;
}

// ---- code page 932 ----------------------------------------------------

TEST(Cp932, DecodesNecSpecialAndIbmExtensionCharacters) {
    const QByteArray bytes("\x87\x40\x87\x8A\xFB\xFC\xED\x40\x81\x60\x81\x7C\x5C\x7E", 14);
    // 817C is the full-width hyphen-minus in code page 932, not U+2212.
    EXPECT_EQ(decodeCp932(bytes), QString::fromUtf8("①㈱髙纊～－\\~"));
}

TEST(Cp932, EncodesCharactersHeldTwiceAsTheCodePageDoes) {
    // NEC-selected IBM extensions give way to the IBM extensions; NEC row 13
    // duplicates of JIS symbols give way to the JIS codes.
    EXPECT_EQ(encodeCp932(QString::fromUtf8("纊")), QByteArray("\xFA\x5C"));
    EXPECT_EQ(encodeCp932(QString::fromUtf8("∵")), QByteArray("\x81\xE6"));
    EXPECT_EQ(encodeCp932(QString::fromUtf8("ⅰ")), QByteArray("\xFA\x40"));
    EXPECT_EQ(encodeCp932(QString::fromUtf8("Ⅰ")), QByteArray("\x87\x54"));
    EXPECT_EQ(encodeCp932(QString::fromUtf8("￢")), QByteArray("\x81\xCA"));
}

TEST(Cp932, HalfWidthKatakanaAreSingleBytesBothWays) {
    QByteArray bytes;
    for (int b = 0xA1; b <= 0xDF; ++b)
        bytes += char(b);
    const QString decoded = decodeCp932(bytes);
    ASSERT_EQ(decoded.size(), 63);
    EXPECT_EQ(decoded.front().unicode(), 0xFF61);
    EXPECT_EQ(decoded.back().unicode(), 0xFF9F);
    EXPECT_EQ(encodeCp932(decoded), bytes);
}

TEST(Cp932, InvalidBytesBecomeReplacementsAndTheRestIsKept) {
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArray("ab\x81", 3), u"ab\uFFFD"_qs},         // a lone lead byte at the end
        {QByteArray("\x81,\"x\"", 5), u"\uFFFD,\"x\""_qs}, // a lead byte before a comma
        {QByteArray("\x85\x40z", 3), u"\uFFFDz"_qs},       // an unassigned pair is one
        {QByteArray("\x80\xA0\xFD\xFE\xFF.", 6), u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD."_qs},
        {QByteArray("a\0b", 3), QString(QStringLiteral("a%1b")).arg(QChar(u'\0'))}};
    for (const auto& [bytes, decoded] : cases)
        EXPECT_EQ(hex(decodeCp932(bytes)), hex(decoded)) << bytes.toHex().constData();
}

TEST(Cp932, UnmappableCharacterIsAQuestionMark) {
    bool ok = true;
    EXPECT_EQ(encodeCp932(QString::fromUtf8("a😀b"), &ok), QByteArray("a??b"));
    EXPECT_FALSE(ok);
    EXPECT_EQ(cp932Code(u'あ'), 0x82A0);
    EXPECT_EQ(cp932Code(u'ｱ'), 0xB1);
    EXPECT_EQ(cp932Code(u'A'), 0x41);
    EXPECT_EQ(cp932Code(u'€'), -1);
}

// ---- width and kana, against ICU ---------------------------------------

TEST(FullWidthAndHiragana, MatchIcuOverAsciiAndTheHalfWidthKatakanaWithSoundMarks) {
    for (char16_t c = 0x20; c <= 0x7E; ++c) {
        const QString in(QChar{c});
        EXPECT_EQ(hex(toFullWidth(in)), hex(icuTransform("Halfwidth-Fullwidth", in)));
    }
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c) {
        for (const QString& mark : {QString(), QString(QChar(0xFF9E)), QString(QChar(0xFF9F))}) {
            const QString in = QString(QChar(c)) + mark, full = toFullWidth(in);
            EXPECT_EQ(hex(full),
                      hex(icuAsThisProgramWrites(icuTransform("Halfwidth-Fullwidth", in))))
                << "input " << hex(in).toStdString();
            EXPECT_EQ(hex(katakanaToHiragana(full)),
                      hex(icuAsThisProgramWrites(icuTransform("Katakana-Hiragana", full))))
                << "input " << hex(full).toStdString();
        }
    }
}

TEST(FullWidth, CombinesSoundMarksAndLeavesOtherTextAlone) {
    EXPECT_EQ(toFullWidth(QString::fromUtf8("ｶﾞｷﾞﾊﾟｳﾞｱﾞ")), QString::fromUtf8("ガギパヴア゛"));
    EXPECT_EQ(toFullWidth(QString::fromUtf8("東京 A1")), QString::fromUtf8("東京　Ａ１"));
    EXPECT_EQ(toFullWidth(QString::fromUtf8("ﾎｯｶｲﾄﾞｳ")), QString::fromUtf8("ホッカイドウ"));
    QString reused = QStringLiteral("previous content that is longer");
    toFullWidth(QString::fromUtf8("ｻﾂﾎﾟﾛ"), reused);
    EXPECT_EQ(reused, QString::fromUtf8("サツポロ"));
}

TEST(UpperCase, LettersOfBothWidths) {
    EXPECT_EQ(toUpperCase(QString::fromUtf8("abz-1 ａｚ")), QString::fromUtf8("ABZ-1 ＡＺ"));
    EXPECT_EQ(toUpperCase(QString::fromUtf8("ｱｲ")), QString::fromUtf8("ｱｲ"));
}

TEST(Trim, RemovesHalfAndFullWidthBlanksOnly) {
    EXPECT_EQ(trimmed(QString::fromUtf8("　 川崎 　")), QString::fromUtf8("川崎"));
    EXPECT_EQ(trimmed(QString::fromUtf8("川 崎")), QString::fromUtf8("川 崎"));
    EXPECT_EQ(trimmed(QString::fromUtf8("\t川崎\t")), QString::fromUtf8("\t川崎\t"));
    EXPECT_EQ(trimmed(QString::fromUtf8("　　")), QString());
    EXPECT_EQ(trimmed(QString()), QString());
}

} // namespace
} // namespace yubin::text
