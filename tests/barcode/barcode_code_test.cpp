#include "barcode/barcode_code.h"

#include <gtest/gtest.h>

namespace yubin::barcode {
namespace {

struct EncodingCase {
    const char16_t* code;
    const char16_t* characters;
    int check;
};

// The barcode characters are written as digits, "-" the hyphen and ① to ⑧
// the control codes CC1 to CC8; the rest of the twenty places is CC4.
// Sums: 210 gives check 18; 180 check 10, drawn with the hyphen's pattern;
// 190, a multiple of 19, check 0 and never 19; the empty code's twenty CC4,
// 280, check 5. A blank and a character after Z are CC4. Only the first
// twenty places are kept: a letter takes two, and one straddling the last
// keeps its control code. Letters: A to J are CC1 and 0 to 9, K to T CC2,
// U to Z CC3, in either case.
TEST(DataPart, HoldsTwentyPlacesAndTheCheckValueOverThem) {
    const EncodingCase cases[] = {{u"1234567", u"1234567", 18},
                                  {u"12345671-1", u"12345671-1", 10},
                                  {u"12345676-6", u"12345676-6", 0},
                                  {u"", u"", 5},
                                  {u"a", u"①0", 3},
                                  {u"k", u"②0", 2},
                                  {u"z", u"③5", 15},
                                  {u"1000001 3", u"1000001④3", 17},
                                  {u"1234567ｱ~9", u"1234567④④9", 4},
                                  {u"123456789012345678901234", u"12345678901234567890", 5},
                                  {u"1000001ABCDEFG", u"1000001①0①1①2①3①4①5①", 1},
                                  {u"1234567123456789012Z", u"1234567123456789012③", 6},
                                  {u"jT", u"①9②9", 1},
                                  {u"123456712345678901U", u"123456712345678901③0", 8}};
    for (const EncodingCase& c : cases) {
        std::vector<int> expected;
        for (QChar ch : QString::fromUtf16(c.characters))
            expected.push_back(ch == u'-'   ? Hyphen
                               : ch >= u'①' ? CC1 + (ch.unicode() - u'①')
                                            : ch.digitValue());
        expected.resize(DataLength, CC4);
        const auto data = dataCharacters(QString::fromUtf16(c.code));
        ASSERT_TRUE(data.has_value());
        EXPECT_EQ(std::vector<int>(data->begin(), data->end()), expected);
        EXPECT_EQ(checkValue(*data), c.check) << QString::fromUtf16(c.code).toStdString();
    }
}

TEST(Unencodable, CharactersBeforeAAndDoubleByteOnesAreNamed) {
    for (const QString& c : {u"#"_qs, u"/"_qs, u"."_qs, u"@"_qs, u"\t"_qs, u"１"_qs, u"Ａ"_qs,
                             u"丁"_qs, u"\u3000"_qs, u"é"_qs, u"😀"_qs}) {
        UnencodableCharacter failure;
        EXPECT_FALSE(dataCharacters(QStringLiteral("1234567") + c, &failure).has_value())
            << c.toStdString();
        EXPECT_EQ(failure.position, 7);
        EXPECT_EQ(failure.character, c[0]);
    }
    // What lies beyond the twenty places is never looked at.
    EXPECT_TRUE(dataCharacters(u"12345671234567890123#").has_value());
    EXPECT_TRUE(dataCharacters(u"1234567ABCDEFG#").has_value());
    EXPECT_FALSE(dataCharacters(u"1234567ABCDEF#").has_value());
}

TEST(Patterns, TableAndFullPatternAreTheStandards) {
    QString table;
    for (int value = 0; value < CharacterValues; ++value)
        table += characterPattern(value);
    EXPECT_EQ(table, u"104040101040103020301020102030104010302010201030203010401010"
                     u"401040302040304020203040403020204030402030404010101010");
    const auto data = dataCharacters(u"1234567");
    EXPECT_EQ(fullPattern(*data, checkValue(*data)),
              u"001030101040103020301020102030104010302010201030"_qs + u"403020"_qs.repeated(13) +
                  u"101010301000"_qs);
}

// 100-0013 with the address number 3-2a: 1 0 0 0 0 1 3 3, the hyphen, 2,
// A as CC1 and 0, eight CC4; the sum 143 leaves 10 by 19, check 9.
TEST(Builder, CodeAndUpperCasedNumberGoToBars) {
    const std::optional<Barcode> built = buildBarcode(u"1000013", u"3-2a");
    ASSERT_TRUE(built.has_value());
    EXPECT_EQ(built->check, 9);
    EXPECT_EQ(built->pattern, u"001030"_qs + u"101040"_qs + u"104040"_qs.repeated(4) +
                                  u"101040"_qs + u"301020"_qs.repeated(2) + u"401040"_qs +
                                  u"103020"_qs + u"302040"_qs + u"104040"_qs +
                                  u"403020"_qs.repeated(8) + u"401010"_qs + u"301000"_qs);
    UnencodableCharacter failure;
    EXPECT_FALSE(buildBarcode(u"1000013", u"3#2", &failure).has_value());
    EXPECT_EQ(failure.position, 8);
}

} // namespace
} // namespace yubin::barcode
