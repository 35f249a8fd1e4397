#include "barcode/barcode_code.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>

namespace yubin::barcode {
namespace {

using Values = std::vector<int>;

Values thirteenSpaces() {
    return Values(13, CC4);
}

Values concat(Values a, const Values& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Values asValues(const DataCharacters& data) {
    return Values(data.begin(), data.end());
}

Values fill(Values v) {
    v.resize(DataLength, CC4);
    return v;
}

// ---- data characters and check value ----------------------------------

struct CheckCase {
    const char16_t* code;
    Values data;
    int sum;
    int check;
};

class CheckCharacter : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckCharacter, DataPartSumAndCheckValue) {
    const CheckCase& c = GetParam();
    const auto data = dataCharacters(QString::fromUtf16(c.code));
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(asValues(*data), c.data);
    EXPECT_EQ(std::accumulate(data->begin(), data->end(), 0), c.sum);
    EXPECT_EQ(checkValue(*data), c.check);
}

INSTANTIATE_TEST_SUITE_P(
    KnownCodes, CheckCharacter,
    testing::Values(
        // Seven digits and thirteen CC4: 210, remainder 1, check CC8.
        CheckCase{u"1234567", concat({1, 2, 3, 4, 5, 6, 7}, thirteenSpaces()), 210, 18},
        // Remainder 9: the check character is drawn with the hyphen's pattern.
        CheckCase{u"12345671-1", fill({1, 2, 3, 4, 5, 6, 7, 1, Hyphen, 1}), 180, 10},
        // An exact multiple of 19 checks as 0, never 19.
        CheckCase{u"12345676-6", fill({1, 2, 3, 4, 5, 6, 7, 6, Hyphen, 6}), 190, 0},
        CheckCase{u"", Values(20, CC4), 280, 5},
        // Spaces inside the text are CC4 like the filling.
        CheckCase{u"1000001 3", fill({1, 0, 0, 0, 0, 0, 1, CC4, 3}), 2 + 14 + 3 + 11 * 14, 17}),
    [](const testing::TestParamInfo<CheckCase>& info) {
        return "Check" + std::to_string(info.param.check) + "_" + std::to_string(info.index);
    });

struct LetterCase {
    char16_t letter;
    int control;
    int digit;
};

class Letters : public testing::TestWithParam<LetterCase> {};

TEST_P(Letters, EncodeAsControlCodeAndDigitInEitherCase) {
    const LetterCase& c = GetParam();
    const Values expected = fill({1, 2, 3, 4, 5, 6, 7, c.control, c.digit});
    for (char16_t letter : {c.letter, char16_t(c.letter + 0x20)}) {
        const auto data = dataCharacters(QStringLiteral("1234567") + QChar(letter));
        ASSERT_TRUE(data.has_value()) << char(letter);
        EXPECT_EQ(asValues(*data), expected) << char(letter);
    }
}

std::vector<LetterCase> allLetters() {
    std::vector<LetterCase> cases;
    for (int i = 0; i < 26; ++i) {
        const int control = i < 10 ? CC1 : i < 20 ? CC2 : CC3;
        cases.push_back({char16_t(u'A' + i), control, i % 10});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(AToZ, Letters, testing::ValuesIn(allLetters()),
                         [](const testing::TestParamInfo<LetterCase>& info) {
                             return std::string(1, char(info.param.letter));
                         });

TEST(DataCharacters, LowerCaseSamplesMatchTheirUpperCaseLetters) {
    const auto a = dataCharacters(u"a");
    const auto k = dataCharacters(u"k");
    const auto z = dataCharacters(u"z");
    ASSERT_TRUE(a && k && z);
    EXPECT_EQ(asValues(*a), fill({CC1, 0}));
    EXPECT_EQ(asValues(*k), fill({CC2, 0}));
    EXPECT_EQ(asValues(*z), fill({CC3, 5}));
}

class AfterZ : public testing::TestWithParam<const char16_t*> {};

TEST_P(AfterZ, EncodesAsOneCC4) {
    const auto data = dataCharacters(QStringLiteral("1234567") + QString::fromUtf16(GetParam()) +
                                     QStringLiteral("9"));
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(asValues(*data), fill({1, 2, 3, 4, 5, 6, 7, CC4, 9}));
}

// Punctuation after Z, and half-width katakana, which lie above it in the
// single-byte code page.
INSTANTIATE_TEST_SUITE_P(Characters, AfterZ,
                         testing::Values(u"[", u"]", u"^", u"_", u"`", u"{", u"|", u"}", u"~", u"ｱ",
                                         u"ﾝ", u"ﾞ", u"｡"));

struct FailCase {
    const char16_t* code;
    qsizetype position;
};

class Unencodable : public testing::TestWithParam<FailCase> {};

TEST_P(Unencodable, FailsAndNamesTheCharacter) {
    const QString code = QString::fromUtf16(GetParam().code);
    UnencodableCharacter failure;
    EXPECT_FALSE(dataCharacters(code, &failure).has_value());
    EXPECT_EQ(failure.position, GetParam().position);
    EXPECT_EQ(failure.character, code[GetParam().position]);
}

INSTANTIATE_TEST_SUITE_P(BeforeAOrDoubleByte, Unencodable,
                         testing::Values(FailCase{u"1234567#", 7}, FailCase{u"1234567/1", 7},
                                         FailCase{u"1234567.", 7}, FailCase{u"1234567@", 7},
                                         FailCase{u"1234567!", 7}, FailCase{u"1234567+", 7},
                                         FailCase{u"12345671\t", 8}, FailCase{u"1234567１", 7},
                                         FailCase{u"1234567－", 7}, FailCase{u"1234567Ａ", 7},
                                         FailCase{u"1234567あ", 7}, FailCase{u"1234567丁目", 7},
                                         FailCase{u"1234567\u3000", 7}, FailCase{u"1234567é", 7},
                                         FailCase{u"1234567😀", 7}, FailCase{u"#1234567", 0}));

// ---- the twenty places -------------------------------------------------

TEST(TwentyPlaces, LongerDigitTextKeepsItsFirstTwenty) {
    const auto data = dataCharacters(u"123456789012345678901234");
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(asValues(*data),
              (Values{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
}

TEST(TwentyPlaces, LettersCountTwiceAndTheRestIsLeftOut) {
    // Seven letters fill fourteen places after the postal code; six fit.
    const auto data = dataCharacters(u"1000001ABCDEFG");
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(asValues(*data),
              (Values{1, 0, 0, 0, 0, 0, 1, CC1, 0, CC1, 1, CC1, 2, CC1, 3, CC1, 4, CC1, 5, CC1}));
}

TEST(TwentyPlaces, LetterOnTheLastPlaceKeepsOnlyItsControlCode) {
    const auto data = dataCharacters(u"1234567123456789012Z");
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ((*data)[19], CC3);
    EXPECT_EQ((*data)[18], 2);
    // 28 + 48 + 13 = 89: remainder 13, check 6, over exactly the drawn places.
    EXPECT_EQ(checkValue(*data), 6);
}

TEST(TwentyPlaces, LetterJustBeforeTheLastPlaceFitsWhole) {
    const auto data = dataCharacters(u"123456712345678901U");
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ((*data)[18], CC3);
    EXPECT_EQ((*data)[19], 0);
}

TEST(TwentyPlaces, CharactersLeftOutAreNotEncoded) {
    EXPECT_TRUE(dataCharacters(u"12345671234567890123#").has_value());
    EXPECT_TRUE(dataCharacters(u"1234567ABCDEFG#").has_value());
    EXPECT_FALSE(dataCharacters(u"1234567ABCDEF#").has_value());
}

// ---- patterns ------------------------------------------------------------

TEST(Patterns, EveryCharacterIsThreeBarsEachFollowedByASpace) {
    std::set<QString> seen;
    for (int value = 0; value < CharacterValues; ++value) {
        const QStringView p = characterPattern(value);
        ASSERT_EQ(p.size(), CharacterWidth) << value;
        for (int i = 0; i < CharacterWidth; ++i) {
            if (i % 2 == 0)
                EXPECT_TRUE(symbolExtent(p[i]).has_value()) << value;
            else
                EXPECT_EQ(p[i], QChar(NoBar)) << value;
        }
        seen.insert(p.toString());
    }
    EXPECT_EQ(seen.size(), std::size_t(CharacterValues));
    EXPECT_TRUE(characterPattern(-1).isEmpty());
    EXPECT_TRUE(characterPattern(19).isEmpty());
}

TEST(Patterns, SamplesOfTheTable) {
    EXPECT_EQ(characterPattern(0), u"104040");
    EXPECT_EQ(characterPattern(9), u"401010");
    EXPECT_EQ(characterPattern(Hyphen), u"401040");
    EXPECT_EQ(characterPattern(CC4), u"403020");
    EXPECT_EQ(characterPattern(CC8), u"101010");
}

TEST(Patterns, FullPatternIsStartDataCheckStop) {
    const auto data = dataCharacters(u"12345671-1");
    ASSERT_TRUE(data.has_value());
    const QString pattern = fullPattern(*data, checkValue(*data));
    ASSERT_EQ(pattern.size(), PatternLength);
    EXPECT_EQ(PatternLength, 138);
    EXPECT_TRUE(pattern.startsWith(u"001030"));
    EXPECT_TRUE(pattern.endsWith(u"301000"));
    for (int k = 0; k < DataLength; ++k)
        EXPECT_EQ(QStringView(pattern).sliced(6 + 6 * k, 6), characterPattern((*data)[k])) << k;
    // Check value 10 is drawn with the hyphen's pattern.
    EXPECT_EQ(QStringView(pattern).sliced(126, 6), u"401040");
    EXPECT_EQ(pattern.left(48), u"001030101040103020301020102030104010302010201030");
}

TEST(Patterns, SymbolsSpanTheirHeightUnits) {
    EXPECT_FALSE(symbolExtent(u'0').has_value());
    EXPECT_FALSE(symbolExtent(u'5').has_value());
    const auto extent = [](char16_t s) {
        const auto e = symbolExtent(s);
        return e ? std::pair(e->top, e->bottom) : std::pair(-1, -1);
    };
    EXPECT_EQ(extent(u'1'), std::pair(0, 6));
    EXPECT_EQ(extent(u'2'), std::pair(0, 4));
    EXPECT_EQ(extent(u'3'), std::pair(2, 6));
    EXPECT_EQ(extent(u'4'), std::pair(2, 4));
}

// ---- preview geometry ----------------------------------------------------

QString samplePattern() {
    const auto data = dataCharacters(u"1234567");
    return fullPattern(*data, checkValue(*data));
}

struct PlacementCase {
    int block;
    int top;
    int left;
};

class Placement : public testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, TopAndLeftFollowTheSizeUnit) {
    const PreviewPlacement p = previewPlacement(GetParam().block);
    EXPECT_EQ(p.top, GetParam().top);
    EXPECT_EQ(p.left, GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(Blocks, Placement,
                         testing::Values(PlacementCase{3, 35, 12}, PlacementCase{2, 35, 80},
                                         PlacementCase{1, 40, 120}, PlacementCase{4, 40, 120},
                                         PlacementCase{0, 40, 120}));

TEST(PreviewGeometry, EveryPreviewFitsThePicture) {
    const QRect picture(QPoint(0, 0), PreviewImageSize);
    for (int size : {1, 2, 3}) {
        const auto bars = previewBars(samplePattern(), size, size);
        ASSERT_TRUE(bars.has_value());
        for (const QRect& bar : *bars)
            EXPECT_TRUE(picture.contains(bar)) << size;
    }
}

TEST(PreviewGeometry, SizeUnitBelowOneOrTooLargeIsRefused) {
    const QString pattern = samplePattern();
    EXPECT_FALSE(previewBars(pattern, 0, 2).has_value());
    EXPECT_FALSE(previewBars(pattern, -3, 2).has_value());
    // 6 units of 15 twips each no longer fit a 32-bit integer.
    EXPECT_FALSE(previewBars(pattern, 30'000'000, 1).has_value());
    EXPECT_TRUE(previewBars(pattern, 1000, 1).has_value());
}

// ---- printed geometry ----------------------------------------------------

TEST(PrintedGeometry, UnitFollowsThePointSize) {
    EXPECT_DOUBLE_EQ(pointSize(1), 8.0);
    EXPECT_DOUBLE_EQ(pointSize(2), 10.0);
    EXPECT_DOUBLE_EQ(pointSize(3), 11.5);
    EXPECT_DOUBLE_EQ(pointSize(4), 0.0);
    EXPECT_NEAR(printedUnitMm(1), 0.48, 1e-12);
    EXPECT_NEAR(printedUnitMm(2), 0.60, 1e-12);
    EXPECT_NEAR(printedUnitMm(3), 0.69, 1e-12);
    EXPECT_NEAR(printedSizeMm(2).width(), 82.8, 1e-9);
    EXPECT_NEAR(printedSizeMm(2).height(), 3.6, 1e-9);
}

} // namespace
} // namespace yubin::barcode
