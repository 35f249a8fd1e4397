#include "search/scan.h"
#include "search/search_input.h"

#include <gtest/gtest.h>

namespace yubin {
namespace {

TEST(SearchText, TakesOneWordOrTwo) {
    EXPECT_EQ(checkSearchText(QStringLiteral("川崎")), TextSearchCheck::Ok);
    EXPECT_EQ(checkSearchText(QStringLiteral("川崎 駅前")), TextSearchCheck::Ok);
    EXPECT_EQ(checkSearchText(QStringLiteral("川崎　駅前")), TextSearchCheck::Ok);
    EXPECT_EQ(checkSearchText(QStringLiteral("川崎 駅前 本町")), TextSearchCheck::TooManyWords);
    EXPECT_EQ(checkSearchText(QStringLiteral("川崎  駅前")), TextSearchCheck::TooManyWords);
    EXPECT_EQ(checkSearchText(QString()), TextSearchCheck::Empty);
}

TEST(SearchText, WordsSplitAtTheHalfWidthBlankFirst) {
    SearchWords w = splitSearchWords(QStringLiteral("川崎"));
    EXPECT_FALSE(w.twoWords);
    EXPECT_EQ(w.first, QStringLiteral("川崎"));
    w = splitSearchWords(QStringLiteral("川崎　駅前"));
    EXPECT_TRUE(w.twoWords);
    EXPECT_EQ(w.first, QStringLiteral("川崎"));
    EXPECT_EQ(w.second, QStringLiteral("駅前"));
    w = splitSearchWords(QStringLiteral("a　b c"));
    EXPECT_EQ(w.first, QStringLiteral("a　b"));
    EXPECT_EQ(w.second, QStringLiteral("c"));
}

TEST(PostalCodeKey, HyphenOnlyAfterTheThirdDigit) {
    EXPECT_EQ(postalCodeKey(QStringLiteral("123-4567")), QStringLiteral("1234567"));
    EXPECT_EQ(postalCodeKey(QStringLiteral("1234567")), QStringLiteral("1234567"));
    EXPECT_EQ(postalCodeKey(QStringLiteral(" 1234567　")), QStringLiteral("1234567"));
    EXPECT_EQ(postalCodeKey(QStringLiteral("12-34567")), std::nullopt);
    EXPECT_EQ(postalCodeKey(QStringLiteral("1234-567")), std::nullopt);
    EXPECT_EQ(postalCodeKey(QStringLiteral("123456")), std::nullopt);
    EXPECT_EQ(postalCodeKey(QStringLiteral("12345678")), std::nullopt);
    EXPECT_EQ(postalCodeKey(QStringLiteral("123-45678")), std::nullopt);
}

TEST(DigitCounter, CountsEverythingButTheHyphen) {
    EXPECT_EQ(digitCounterText(QStringLiteral("123-4567")), QStringLiteral("7桁"));
    EXPECT_EQ(digitCounterText(QStringLiteral("123")), QStringLiteral("3桁"));
    EXPECT_EQ(digitCounterText(QString()), QString());
}

} // namespace
} // namespace yubin
