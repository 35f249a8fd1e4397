#include "foundation/postal_code.h"
#include "search/match_rules.h"
#include "search/scan.h"
#include "search/search_input.h"

#include <gtest/gtest.h>

namespace yubin {
namespace {

TEST(SearchText, TakesOneWordOrTwo) {
    using enum TextSearchCheck;
    for (const auto& [text, check] : {std::pair{"川崎", Ok},
                                      {"川崎 駅前", Ok},
                                      {"川崎　駅前", Ok},
                                      {"川崎 駅前 本町", TooManyWords},
                                      {"川崎  駅前", TooManyWords},
                                      {"", Empty}})
        EXPECT_EQ(checkSearchText(QString::fromUtf8(text)), check) << text;
}

TEST(SearchText, WordsSplitAtTheHalfWidthBlankFirst) {
    for (const auto& [text, first, second] : {std::tuple{"川崎", "川崎", ""},
                                              {"川崎　駅前", "川崎", "駅前"},
                                              {"a　b c", "a　b", "c"}}) {
        const SearchWords w = splitSearchWords(QString::fromUtf8(text));
        EXPECT_EQ(w.twoWords, *second != 0) << text;
        EXPECT_EQ(w.first, QString::fromUtf8(first)) << text;
        EXPECT_EQ(w.second, QString::fromUtf8(second)) << text;
    }
}

TEST(PostalCodeRule, DigitsAndOneHyphenOnlyAfterTheThird) {
    using enum PostalCodeText;
    struct Case {
        const char16_t* text;
        PostalCodeText hyphenAllowed, hyphenRefused;
    };
    for (const Case& c :
         {Case{u"", Short, Short}, Case{u"123-", Short, NotACode},
          Case{u"123-4567", Complete, NotACode}, Case{u"1234567", Complete, Complete},
          Case{u"12345678", Long, Long}, Case{u"12-34567", NotACode, NotACode},
          Case{u"1234-567", NotACode, NotACode}, Case{u"abc#xyz", NotACode, NotACode},
          Case{u"１２３４５６７", NotACode, NotACode}, Case{u" 1234567", NotACode, NotACode}}) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(judgePostalCode(text, HyphenRule::AfterThirdDigit), c.hyphenAllowed)
            << text.toStdString();
        EXPECT_EQ(judgePostalCode(text, HyphenRule::Refused), c.hyphenRefused)
            << text.toStdString();
    }
    // The search key: the code trimmed, without its hyphen.
    EXPECT_EQ(postalCodeKey(QStringLiteral(" 123-4567　")), QStringLiteral("1234567"));
    EXPECT_EQ(postalCodeKey(QStringLiteral("abcdefg")), std::nullopt);
}

TEST(DigitCounter, CountsEverythingButTheHyphen) {
    EXPECT_EQ(digitCounterText(QStringLiteral("123-4567")), QStringLiteral("7桁"));
    EXPECT_EQ(digitCounterText(QStringLiteral("123")), QStringLiteral("3桁"));
    EXPECT_EQ(digitCounterText(QString()), QString());
}

} // namespace
} // namespace yubin
