#include "foundation/access_csv.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace yubin {
namespace {

struct SplitCase {
    const char* name;
    QString line;
    QStringList fields;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.name;
}

class AccessCsvSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(AccessCsvSplit, GivesTheFieldsOfTheQuoteRules) {
    const SplitCase& c = GetParam();
    Access_CSV csv;
    ASSERT_EQ(csv.MaxColNo(c.line), c.fields.size());
    for (int i = 0; i < c.fields.size(); ++i)
        EXPECT_EQ(csv.Col(i + 1), c.fields[i]) << "field " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, AccessCsvSplit,
    testing::Values(
        SplitCase{"TrailingCommaGivesEmptyLastField", "a,b,", {"a", "b", ""}},
        SplitCase{"CommaInsideQuotesBelongsToField", "\"a,b\",c", {"a,b", "c"}},
        SplitCase{"DoubledQuoteBecomesOne", "\"a\"\"b\"", {"a\"b"}},
        SplitCase{"TwoQuotesAreAnEmptyField", "\"\"", {""}},
        SplitCase{"LeadingBlankBeforeQuoteIsKept", " \"x\"", {" x"}},
        SplitCase{"OpeningQuoteDroppedClosingKept", "ab\"cd\"ef", {"abcd\"ef"}},
        SplitCase{"UnquotedFieldKeepsBlanks", " a , b ", {" a ", " b "}},
        SplitCase{"EmptyFieldsBetweenCommas", ",,", {"", "", ""}},
        SplitCase{"PublishedAddressLine",
                  "01101,\"060  \",\"0600000\",\"ﾎﾂｶｲﾄﾞｳ\",\"ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ\",\"ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ\","
                  "\"北海道\",\"札幌市中央区\",\"以下に掲載がない場合\",0,0,0,0,0,0",
                  {"01101", "060  ", "0600000", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ",
                   "北海道", "札幌市中央区", "以下に掲載がない場合", "0", "0", "0", "0", "0",
                   "0"}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(AccessCsv, LongLineGrowsCapacityInStepsOfHundred) {
    QStringList fields;
    for (int i = 1; i <= 150; ++i)
        fields << QString::number(i);
    Access_CSV csv;
    EXPECT_EQ(csv.capacity(), 100);
    EXPECT_EQ(csv.MaxColNo(fields.join(u',')), 150);
    EXPECT_EQ(csv.capacity(), 200);
    EXPECT_EQ(csv.Col(150), "150");
    EXPECT_EQ(csv.Col(101), "101");
    // A shorter line afterwards keeps the grown capacity.
    EXPECT_EQ(csv.MaxColNo(QStringLiteral("a,b")), 2);
    EXPECT_EQ(csv.capacity(), 200);
}

TEST(AccessCsv, ColumnsOutsideTheLineAreEmpty) {
    Access_CSV csv;
    const QString line = QStringLiteral("1,2,3,4,5,6,7,8,9");
    EXPECT_EQ(csv.Col(10, line), "");
    EXPECT_EQ(csv.Col(0, line), "");
    EXPECT_EQ(csv.Col(-1, line), "");
    EXPECT_EQ(csv.Col(9, line), "9");
}

TEST(AccessCsv, SameLineIsSplitOnceAndAChangeIsLostOnResplit) {
    Access_CSV csv;
    const QString line = QStringLiteral("a,b,c");
    EXPECT_EQ(csv.Col(1, line), "a");
    EXPECT_EQ(csv.Col(1, line), "a");
    EXPECT_EQ(csv.Col(3, line), "c");
    EXPECT_EQ(csv.splitCount(), 1);

    csv.setCol(2, QStringLiteral("X"));
    EXPECT_EQ(csv.Col(2), "X");
    // The change emptied the held line, so the same text splits anew.
    EXPECT_EQ(csv.Col(2, line), "b");
    EXPECT_EQ(csv.splitCount(), 2);
}

TEST(AccessCsv, EqualValueChangesNothing) {
    Access_CSV csv;
    const QString line = QStringLiteral("a,b");
    csv.setCSV(line);
    csv.setCol(1, QStringLiteral("a"));
    EXPECT_EQ(csv.Col(1, line), "a");
    EXPECT_EQ(csv.splitCount(), 1) << "an unchanged field keeps the held line";
}

TEST(AccessCsv, EmptyLineOnAFreshInstanceHasNoFieldsThenOneAfterAnotherLine) {
    Access_CSV csv;
    EXPECT_EQ(csv.MaxColNo(QString()), 0);
    EXPECT_EQ(csv.CSV(), "");
    csv.setCSV(QStringLiteral("x"));
    EXPECT_EQ(csv.MaxColNo(QString()), 1);
    EXPECT_EQ(csv.Col(1), "");
}

TEST(AccessCsv, RebuildQuotesTextAndWritesNumbersBare) {
    Access_CSV csv;
    csv.setCSV(QStringLiteral("01101,\"060  \",\"ﾎｯｶｲﾄﾞｳ\""));
    EXPECT_EQ(csv.CSV(), "1101,60,\"ﾎｯｶｲﾄﾞｳ\"");
    csv.setCSV(QStringLiteral("\"0600000\",\"a\"\"b\",,\"1.50\""));
    EXPECT_EQ(csv.CSV(), "600000,\"a\"\"b\",\"\",1.5");
}

TEST(AccessCsv, ColLetBeyondTheCountRaisesIt) {
    Access_CSV csv;
    csv.setCSV(QStringLiteral("a,b"));
    csv.setCol(5, QStringLiteral("e"));
    EXPECT_EQ(csv.MaxColNo(), 5);
    EXPECT_EQ(csv.Col(5), "e");
    EXPECT_EQ(csv.CSV(), "\"a\",\"b\",\"\",\"\",\"e\"");
    csv.setCol(0, QStringLiteral("ignored"));
    EXPECT_EQ(csv.MaxColNo(), 5);
}

TEST(AccessCsv, MaxColNoLetCutsAndEmptiesTheFields) {
    Access_CSV csv;
    csv.setCSV(QStringLiteral("a,b,c,d"));
    csv.setMaxColNo(2);
    EXPECT_EQ(csv.MaxColNo(), 2);
    EXPECT_EQ(csv.CSV(), "\"a\",\"b\"");
    csv.setMaxColNo(4);
    EXPECT_EQ(csv.Col(3), "") << "cut fields were emptied";
}

TEST(AccessCsv, ColumnBeyondCapacityIsAnOutOfRangeError) {
    Access_CSV csv;
    csv.setCSV(QStringLiteral("a"));
    EXPECT_THROW(csv.setCol(101, QStringLiteral("x")), std::out_of_range);
    Access_CSV other;
    other.setCSV(QStringLiteral("a"));
    other.setMaxColNo(150);
    EXPECT_THROW(other.Col(120), std::out_of_range);
    EXPECT_NO_THROW(other.Col(100));
    // The fields past the capacity do not exist for any use, and cutting the
    // count back makes the instance whole again.
    for (Access_CSV* raised : {&csv, &other}) {
        EXPECT_THROW(raised->CSV(), std::out_of_range);
        EXPECT_THROW(raised->setCol(120, QStringLiteral("x")), std::out_of_range);
        raised->setMaxColNo(2);
        EXPECT_EQ(raised->CSV(), "\"a\",\"\"");
    }
}

TEST(AccessCsv, NumericTestAcceptsSignsGroupingPointAndExponent) {
    for (const char* yes : {"0", "007", " 12 ", "-3", "+4.5", "1,234", "1.5E+3", ".5", "2e-2"})
        EXPECT_TRUE(Access_CSV::isNumericText(QString::fromLatin1(yes))) << yes;
    for (const char* no : {"", " ", "a1", "1a", "1.2.3", "E5", "1e", ",1", "--1", "１２"})
        EXPECT_FALSE(Access_CSV::isNumericText(QString::fromUtf8(no))) << no;
    EXPECT_EQ(Access_CSV::QuoteField(QStringLiteral("1e400"), Access_CSV::QuoteMode::Number), "");
    EXPECT_EQ(Access_CSV::QuoteField(QStringLiteral("abc"), Access_CSV::QuoteMode::Number), "");
    EXPECT_EQ(Access_CSV::QuoteField(QStringLiteral("12"), Access_CSV::QuoteMode::Text), "\"12\"");
    EXPECT_EQ(Access_CSV::QuoteField(QStringLiteral("1e20"), Access_CSV::QuoteMode::Number),
              "1E+20");
}

} // namespace
} // namespace yubin
