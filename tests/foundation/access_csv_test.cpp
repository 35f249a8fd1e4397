#include "foundation/access_csv.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace yubin {
namespace {

TEST(AccessCsv, SplitsByTheQuoteRules) {
    const std::pair<QString, QStringList> cases[] = {
        {"a,b,", {"a", "b", ""}},     // a trailing comma gives an empty last field
        {"\"a,b\",c", {"a,b", "c"}},  // a comma inside quotes belongs to the field
        {"\"a\"\"b\"", {"a\"b"}},     // a doubled quote becomes one
        {"\"\"", {""}},               // two quotes are an empty field
        {" \"x\"", {" x"}},           // a blank before the quote is kept
        {"ab\"cd\"ef", {"abcd\"ef"}}, // the opening quote goes, the closing one stays
        {" a , b ", {" a ", " b "}},  // unquoted fields keep their blanks
        {",,", {"", "", ""}},
        {"\"a,b", {"a,b"}},          // an unclosed quote runs to the end
        {"\"a\"b,c", {"a\"b", "c"}}, // text after the closing quote is kept
        {"01101,\"060  \",\"0600000\",\"ﾎﾂｶｲﾄﾞｳ\",\"ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ\",\"ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ\","
         "\"北海道\",\"札幌市中央区\",\"以下に掲載がない場合\",0,0,0,0,0,0",
         {"01101", "060  ", "0600000", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "北海道",
          "札幌市中央区", "以下に掲載がない場合", "0", "0", "0", "0", "0", "0"}}};
    for (const auto& [line, fields] : cases) {
        Access_CSV csv;
        ASSERT_EQ(csv.MaxColNo(line), fields.size()) << line.toStdString();
        for (int i = 0; i < fields.size(); ++i)
            EXPECT_EQ(csv.Col(i + 1), fields[i]) << line.toStdString() << " field " << i + 1;
        // Columns outside the line are empty.
        EXPECT_EQ(csv.Col(int(fields.size()) + 1), "");
        EXPECT_EQ(csv.Col(0), "");
        EXPECT_EQ(csv.Col(-1), "");
        // The split for reading only gives the same fields, whether it
        // copies them (a quote inside a field) or not.
        Access_CSV reader;
        reader.readLine(line);
        ASSERT_EQ(reader.fieldCount(), fields.size()) << line.toStdString();
        for (int i = 0; i < fields.size(); ++i)
            EXPECT_EQ(reader.field(i + 1), fields[i]) << line.toStdString() << " field " << i + 1;
        EXPECT_EQ(reader.field(int(fields.size()) + 1), u"");
        EXPECT_EQ(reader.field(0), u"");
    }
}

TEST(AccessCsv, LongLineGrowsCapacityInStepsOfHundred) {
    QStringList fields;
    for (int i = 1; i <= 150; ++i)
        fields << QString::number(i);
    Access_CSV csv;
    EXPECT_EQ(csv.capacity(), 100);
    EXPECT_EQ(csv.MaxColNo(fields.join(u',')), 150);
    EXPECT_EQ(csv.capacity(), 200);
    EXPECT_EQ(csv.Col(150), "150");
    // A shorter line afterwards keeps the grown capacity.
    EXPECT_EQ(csv.MaxColNo(QStringLiteral("a,b")), 2);
    EXPECT_EQ(csv.capacity(), 200);
}

TEST(AccessCsv, SameLineIsSplitOnceAndAChangeIsLostOnResplit) {
    Access_CSV csv;
    const QString line = QStringLiteral("a,b,c");
    EXPECT_EQ(csv.Col(1, line), "a");
    EXPECT_EQ(csv.Col(3, line), "c");
    EXPECT_EQ(csv.splitCount(), 1);
    csv.setCol(1, QStringLiteral("a")); // an equal value keeps the held line
    EXPECT_EQ(csv.Col(1, line), "a");
    EXPECT_EQ(csv.splitCount(), 1);
    csv.setCol(2, QStringLiteral("X"));
    EXPECT_EQ(csv.Col(2), "X");
    // The change emptied the held line, so the same text splits anew.
    EXPECT_EQ(csv.Col(2, line), "b");
    EXPECT_EQ(csv.splitCount(), 2);
}

TEST(AccessCsv, EmptyLineOnAFreshInstanceHasNoFieldsThenOneAfterAnotherLine) {
    Access_CSV csv;
    EXPECT_EQ(csv.MaxColNo(QString()), 0);
    EXPECT_EQ(csv.CSV(), "");
    csv.setCSV(QStringLiteral("x"));
    EXPECT_EQ(csv.MaxColNo(QString()), 1);
    EXPECT_EQ(csv.Col(1), "");
}

TEST(AccessCsv, RebuildQuotesTextWritesNumbersBareAndFollowsTheLetMembers) {
    Access_CSV csv;
    csv.setCSV(QStringLiteral("01101,\"060  \",\"ﾎｯｶｲﾄﾞｳ\""));
    EXPECT_EQ(csv.CSV(), "1101,60,\"ﾎｯｶｲﾄﾞｳ\"");
    csv.setCSV(QStringLiteral("\"0600000\",\"a\"\"b\",,\"1.50\""));
    EXPECT_EQ(csv.CSV(), "600000,\"a\"\"b\",\"\",1.5");
    // Col let beyond the count raises it; column 0 is ignored.
    Access_CSV let;
    let.setCSV(QStringLiteral("a,b"));
    let.setCol(5, QStringLiteral("e"));
    let.setCol(0, QStringLiteral("ignored"));
    EXPECT_EQ(let.MaxColNo(), 5);
    EXPECT_EQ(let.CSV(), "\"a\",\"b\",\"\",\"\",\"e\"");
    // MaxColNo let cuts and empties the fields.
    let.setMaxColNo(2);
    EXPECT_EQ(let.CSV(), "\"a\",\"b\"");
    let.setMaxColNo(4);
    EXPECT_EQ(let.Col(3), "");
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
        raised->setMaxColNo(2);
        EXPECT_EQ(raised->CSV(), "\"a\",\"\"");
    }
}

TEST(AccessCsv, NumericTestAcceptsSignsGroupingPointAndExponent) {
    for (const char* yes : {"0", "007", " 12 ", "-3", "+4.5", "1,234", "1.5E+3", ".5", "2e-2"})
        EXPECT_TRUE(Access_CSV::isNumericText(QString::fromLatin1(yes))) << yes;
    for (const char* no : {"", " ", "a1", "1a", "1.2.3", "E5", "1e", ",1", "--1", "１２"})
        EXPECT_FALSE(Access_CSV::isNumericText(QString::fromUtf8(no))) << no;
    using enum Access_CSV::QuoteMode;
    EXPECT_EQ(Access_CSV::QuoteField(QStringLiteral("1e400"), Number), "");
    EXPECT_EQ(Access_CSV::QuoteField(QStringLiteral("abc"), Number), "");
    EXPECT_EQ(Access_CSV::QuoteField(QStringLiteral("12"), Text), "\"12\"");
    EXPECT_EQ(Access_CSV::QuoteField(QStringLiteral("1e20"), Number), "1E+20");
}

} // namespace
} // namespace yubin
