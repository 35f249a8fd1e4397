#include "barcode/barcode_input.h"

#include <gtest/gtest.h>

namespace yubin::barcode {
namespace {

struct CodeCase {
    const char16_t* code;
    const QString* problem; // null: usable
};

const QString NotNumeric = QStringLiteral("郵便番号は7桁数値のみです。     ");
const QString NotSeven = QStringLiteral("郵便番号を7桁にしてください。     ");

class PostalCodeRule : public testing::TestWithParam<CodeCase> {};

TEST_P(PostalCodeRule, OnlySevenAsciiDigitsPass) {
    const auto problem = postalCodeProblem(QString::fromUtf16(GetParam().code));
    if (!GetParam().problem) {
        EXPECT_FALSE(problem.has_value());
        return;
    }
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(*problem, *GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, PostalCodeRule,
    testing::Values(CodeCase{u"1234567", nullptr}, CodeCase{u"0000000", nullptr},
                    CodeCase{u"", &NotNumeric}, CodeCase{u"123-4567", &NotNumeric},
                    CodeCase{u"+123456", &NotNumeric}, CodeCase{u"1e5", &NotNumeric},
                    CodeCase{u"12345.6", &NotNumeric}, CodeCase{u"１２３４５６７", &NotNumeric},
                    CodeCase{u"1234567 ", &NotNumeric}, CodeCase{u"1", &NotSeven},
                    CodeCase{u"123456", &NotSeven}, CodeCase{u"12345678", &NotSeven}));

TEST(MessageTexts, KeepTheirFiveTrailingBlanks) {
    EXPECT_TRUE(NotNumericMessage.endsWith(QString(5, u' ')));
    EXPECT_FALSE(NotNumericMessage.endsWith(QString(6, u' ')));
    EXPECT_EQ(NotSevenDigitsMessage, NotSeven);
    EXPECT_EQ(MessageTitle, QStringLiteral("郵便ﾊﾞｰｺｰﾄﾞ"));
}

TEST(PositionFields, DigitsWithinThirtyTwoBitsOnly) {
    EXPECT_EQ(parsePosition(u"35"), 35);
    EXPECT_EQ(parsePosition(u" 015 "), 15);
    EXPECT_EQ(parsePosition(u"0"), 0);
    EXPECT_EQ(parsePosition(u"2147483647"), 2147483647);
    for (const char16_t* bad : {u"", u"  ", u"-5", u"+5", u"1.5", u"1e3", u"５", u"12a",
                                u"2147483648", u"99999999999999999999"})
        EXPECT_FALSE(parsePosition(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST(CheckValueText, TwoDigitsWithLeadingZero) {
    EXPECT_EQ(checkValueText(0), QStringLiteral("00"));
    EXPECT_EQ(checkValueText(5), QStringLiteral("05"));
    EXPECT_EQ(checkValueText(18), QStringLiteral("18"));
}

TEST(AddressNumber, UpperCasedForTheBarcode) {
    EXPECT_EQ(addressNumberForBarcode(u"3-2-1abc"), QStringLiteral("3-2-1ABC"));
    EXPECT_EQ(addressNumberForBarcode(u"ｂ棟"), QStringLiteral("Ｂ棟"));
}

} // namespace
} // namespace yubin::barcode
