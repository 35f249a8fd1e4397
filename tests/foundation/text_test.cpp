#include "foundation/text.h"

#include <gtest/gtest.h>

namespace yubin::text {
namespace {

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

// Shift_JIS to JIS around each step's boundaries, then codes that are no
// lead and trail byte pair.
TEST(Cp932, DoubleByteCodesAreTheShiftJisFormOfTheJisRows) {
    const std::pair<int, int> cases[] = {
        {0x82A0, 0x2422}, {0x889F, 0x3021}, {0x9FFC, 0x5E7E}, {0xE040, 0x5F21}, {0xEAA4, 0x7426},
        {0x817E, 0x215F}, {0x8180, 0x2160}, {0x819E, 0x217E}, {0x819F, 0x2221}, {0x0041, -1},
        {0x827F, -1},     {0x82FD, -1},     {0xA1B1, -1},     {0xFD40, -1}};
    for (const auto& [sjis, jis] : cases)
        EXPECT_EQ(jisCodeOfCp932(sjis), jis) << std::hex << sjis;
    EXPECT_EQ(toCp932Form(U'\u301C'), U'\uFF5E');
    EXPECT_EQ(toCp932Form(U'\u2212'), U'\uFF0D');
    EXPECT_EQ(toCp932Form(U'あ'), U'あ');
}

TEST(Cp932, WordHasExactBytesOnlyWhenNoOtherBytesDecodeToIt) {
    const std::pair<QString, std::optional<QByteArray>> cases[] = {
        {u"川ｶ1"_qs, QByteArray("\x90\xEC\xB6"
                                "1")},
        {u"∵"_qs, std::nullopt},      // 81E6, 879A and FA5B
        {u"\uFFFD"_qs, std::nullopt}, // what every undecodable byte gives
        {u"€"_qs, std::nullopt}};
    for (const auto& [word, bytes] : cases)
        EXPECT_EQ(encodeCp932Exactly(word), bytes) << word.toStdString();
}

// ---- the fold key of the full search ----------------------------------

TEST(FoldKey, EveryFormOfACharacterHasTheSameShortestKey) {
    const std::pair<QString, std::optional<QByteArray>> cases[] = {
        {u"かカｶ"_qs, QByteArray("\xB6\xB6\xB6")},
        {u"がガｶﾞ"_qs, QByteArray("\xB6\xDE\xB6\xDE\xB6\xDE")},
        {u"ゔヴヷ"_qs, QByteArray("\xB3\xDE\xB3\xDE\xDC\xDE")}, // ヷ only from ﾜﾞ
        {u"Ａa　 "_qs, QByteArray("Aa  ")},
        {u"ーｰ｡"_qs, QByteArray("\xB0\xB0\xA1")},
        {u"ヵゕ川∵"_qs, QByteArray("\x83\x95\x83\x95\x90\xEC\x81\xE6")},
        {u"\uFFFD"_qs, QByteArray("\x80")},
        {u"é"_qs, std::nullopt}};
    for (const auto& [word, key] : cases)
        EXPECT_EQ(foldKey(word), key) << word.toStdString();
}

TEST(FoldKey, LinesKeepTheirLengthAndTheirEnds) {
    const std::pair<QByteArray, QByteArray> cases[] = {
        // ｶﾞ,ガ then か: a line shorter in key is padded with line feeds.
        {QByteArray("\xB6\xDE,\x83\x4B\r\n\x82\xA9"), QByteArray("\xB6\xDE,\xB6\xDE\r\n\xB6\n")},
        // A lone lead byte, an undecodable byte and an unassigned pair.
        {QByteArray("\x81,\x80\x85\x40\r"), QByteArray("\x80,\x80\x80\n\r")}};
    for (const auto& [bytes, key] : cases) {
        QByteArray out;
        foldKeyOfCp932Lines(bytes, out);
        EXPECT_EQ(out.toHex(), key.toHex());
    }
}

// ---- width and kana -----------------------------------------------------

TEST(FullWidth, CombinesSoundMarksAndLeavesOtherTextAlone) {
    EXPECT_EQ(toFullWidth(QString::fromUtf8("ｶﾞｷﾞﾊﾟｳﾞｱﾞ")), QString::fromUtf8("ガギパヴア゛"));
    EXPECT_EQ(toFullWidth(QString::fromUtf8("東京 A1")), QString::fromUtf8("東京　Ａ１"));
    EXPECT_EQ(toFullWidth(QString::fromUtf8("ﾎｯｶｲﾄﾞｳ")), QString::fromUtf8("ホッカイドウ"));
    // A mark no letter takes stays the spacing mark; ﾜﾞ ｦﾞ have letters of their own.
    EXPECT_EQ(hex(toFullWidth(QString::fromUtf8("ﾞﾝﾟﾜﾞｦﾞ｡ｰ~"))), hex(u"゛ン゜ヷヺ。ー～"_qs));
    QString reused = QStringLiteral("previous content that is longer");
    toFullWidth(QString::fromUtf8("ｻﾂﾎﾟﾛ"), reused);
    EXPECT_EQ(reused, QString::fromUtf8("サツポロ"));
}

TEST(Hiragana, EveryKatakanaLetterWithAHiraganaTwinAndNothingElse) {
    // ヷ ヺ have no hiragana letter and stay, one character each.
    EXPECT_EQ(hex(katakanaToHiragana(u"ァアヴヵヶヽヾヷヺー゛ｱ"_qs)),
              hex(u"ぁあゔゕゖゝゞヷヺー゛ｱ"_qs));
    EXPECT_EQ(readingToHiragana(u"ｶﾞｯｺｳ"_qs), u"がっこう"_qs);
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

TEST(KanjiNumerals, DigitByDigitOrWithThePlaces) {
    const struct {
        QString digits;
        QString byDigit;
        QString withPlaces;
    } cases[] = {
        {u"1203"_qs, u"一二〇三"_qs, u"千二百三"_qs},
        {u"10"_qs, u"一〇"_qs, u"十"_qs},
        {u"11"_qs, u"一一"_qs, u"十一"_qs},
        {u"20"_qs, u"二〇"_qs, u"二十"_qs},
        {u"110"_qs, u"一一〇"_qs, u"百十"_qs},
        {u"0"_qs, u"〇"_qs, u"〇"_qs},
        {u"007"_qs, u"〇〇七"_qs, u"七"_qs},
        {u"10000"_qs, u"一〇〇〇〇"_qs, u"一万"_qs},
        {u"20305"_qs, u"二〇三〇五"_qs, u"二万三百五"_qs},
        {u"１２"_qs, u"一二"_qs, u"十二"_qs},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kanjiNumber(c.digits, KanjiNumerals::DigitByDigit), c.byDigit);
        EXPECT_EQ(kanjiNumber(c.digits, KanjiNumerals::WithPlaces), c.withPlaces);
    }
}

TEST(KanjiNumerals, ReadsBothWritings) {
    const std::pair<const char16_t*, std::optional<int>> cases[] = {
        {u"十一", 11},           {u"二十一", 21},           {u"百三", 103},
        {u"一〇三", 103},        {u"千二百三十四", 1234},   {u"十", 10},
        {u"十十", std::nullopt}, {u"三百千", std::nullopt},
    };
    for (const auto& [run, value] : cases)
        EXPECT_EQ(kanjiNumberValue(run), value) << QString::fromUtf16(run).toStdString();
}

TEST(KanjiNumerals, VerticalWritingTurnsNumbersAndTheHyphensBetweenThem) {
    const struct {
        QString in;
        QString out;
    } cases[] = {
        {u"霞が関1-3-2"_qs, u"霞が関一ー三ー二"_qs},
        {u"本町１２－３"_qs, u"本町一二ー三"_qs},
        {u"3ー30ー8"_qs, u"三ー三〇ー八"_qs},
        {u"A-1棟"_qs, u"A-一棟"_qs},
        {u"1-"_qs, u"一-"_qs},
        {u"コーポ"_qs, u"コーポ"_qs},
    };
    for (const auto& c : cases)
        EXPECT_EQ(numbersForVerticalWriting(c.in, KanjiNumerals::DigitByDigit), c.out);
    EXPECT_EQ(numbersForVerticalWriting(u"1203-5"_qs, KanjiNumerals::WithPlaces),
              u"千二百三ー五"_qs);
}

TEST(VerticalWritingSigns, DashesWavesEllipsesAndBracketsTurn) {
    for (QChar c : u"ー－‑﹣～…（）「」【】"_qs)
        EXPECT_TRUE(turnsInVerticalWriting(c)) << QString(c).toStdString();
    for (QChar c : u"あア山一〇、。"_qs)
        EXPECT_FALSE(turnsInVerticalWriting(c)) << QString(c).toStdString();
}

} // namespace
} // namespace yubin::text

namespace yubin::text {
namespace {

TEST(HyphenSigns, DashesAlwaysLongVowelMarksOnlyBetweenDigits) {
    EXPECT_EQ(withPlainHyphens(u"1-2－3‐4―5−6ｰ7ー8"), QStringLiteral("1-2-3-4-5-6-7-8"));
    EXPECT_EQ(withPlainHyphens(u"１ー２"), QStringLiteral("１-２"));
    EXPECT_EQ(withPlainHyphens(u"コーポ1ー"), QStringLiteral("コーポ1ー"));
}

TEST(VariantKanji, FoldToOneFormAndLeaveOthersAlone) {
    const std::pair<char16_t, char16_t> same[] = {
        {u'龍', u'竜'}, {u'竈', u'釜'}, {u'檮', u'梼'}, {u'驒', u'騨'}, {u'婁', u'娄'},
        {u'諫', u'諌'}, {u'渓', u'溪'}, {u'櫟', u'擽'}, {u'澤', u'沢'}, {u'邊', u'辺'},
        {u'邉', u'辺'}, {u'齋', u'斉'}, {u'齊', u'斎'}, {u'髙', u'高'}, {u'﨑', u'崎'},
        {u'鰺', u'鯵'}, {u'條', u'条'}, {u'巿', u'市'}, {u'嶋', u'島'}, {u'舘', u'館'},
        {u'冨', u'富'}, {u'祇', u'祗'}};
    for (const auto& [a, b] : same)
        EXPECT_EQ(kanjiBaseForm(a), kanjiBaseForm(b)) << QString(QChar(a)).toStdString();
    EXPECT_EQ(kanjiBaseForm(u'東'), u'東');
    EXPECT_EQ(fullSizeKana(u'ッ'), u'ツ');
    EXPECT_EQ(fullSizeKana(u'ょ'), u'よ');
    EXPECT_EQ(variationSelectorLength(u"葛\U000E0100", 1), 2);
    EXPECT_EQ(variationSelectorLength(u"辻\uFE00", 1), 1);
    EXPECT_EQ(variationSelectorLength(u"辻", 0), 0);
}

TEST(PostalCodeReader, ReadsTheWaysPeopleWriteACode) {
    const std::pair<const char16_t*, std::optional<QString>> cases[] = {
        {u"〒100ー0013", u"1000013"_qs},      {u"100-0013", u"1000013"_qs},
        {u"１００－００１３", u"1000013"_qs}, {u" 〒 1000013 ", u"1000013"_qs},
        {u"100‐0013", u"1000013"_qs},         {u"100−0013", u"1000013"_qs},
        {u"1000-013", std::nullopt},          {u"100--0013", std::nullopt},
        {u"10000131", std::nullopt},          {u"100-001", std::nullopt},
        {u"〒100-0013号", std::nullopt},      {u"", std::nullopt},
    };
    for (const auto& [in, code] : cases)
        EXPECT_EQ(readPostalCode(in), code) << QString::fromUtf16(in).toStdString();
    const std::optional<PostalCodeFound> lead = readLeadingPostalCode(u"〒100-0013 千代田区");
    ASSERT_TRUE(lead);
    EXPECT_EQ(lead->end, 9);
    EXPECT_FALSE(readLeadingPostalCode(u"10000134丁目"));
}

} // namespace
} // namespace yubin::text
