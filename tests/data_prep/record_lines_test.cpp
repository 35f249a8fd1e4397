#include "data_prep/record_lines.h"
#include "foundation/text.h"
#include "prep_support.h"

#include <gtest/gtest.h>

namespace yubin {
namespace {

using namespace Qt::StringLiterals;
using test::addressRecord;
using test::sjisLines;

TEST(KatakanaToHalfWidth, GivesTheClassicFilesReadings) {
    const std::pair<QString, QString> cases[] = {
        {u"トウキョウト"_s, u"ﾄｳｷｮｳﾄ"_s},   {u"ガギグゲゴ"_s, u"ｶﾞｷﾞｸﾞｹﾞｺﾞ"_s},
        {u"パピプペポ"_s, u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"_s}, {u"ヴ"_s, u"ｳﾞ"_s},
        {u"ァッャー・"_s, u"ｧｯｬｰ･"_s},      {u"（１～３チョウメ）"_s, u"(1~3ﾁｮｳﾒ)"_s},
        {u"ヶヮヰ"_s, u"ヶヮヰ"_s}, // no half-width form
        {u"千代田　区"_s, u"千代田 区"_s},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(text::katakanaToHalfWidth(in), out) << in.toStdString();
}

TEST(ColumnRanges, SplitAtCommasOutsideQuotes) {
    const QByteArray line = R"(13101,"a,b","say ""hi""",,"")";
    const ColumnRanges r = columnRanges(line);
    ASSERT_EQ(r.size(), 5);
    const char* expected[] = {"13101", "a,b", R"(say ""hi"")", "", ""};
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(columnBytes(line, r, n), QByteArrayView(expected[n - 1])) << n;
    EXPECT_TRUE(columnBytes(line, r, 6).isEmpty());
}

// A town name of 59 characters, which the classic file writes on three lines.
const QString LongTown =
    u"桜台町（一番地、二番地、三番地、四番地、五番地、六番地、七番地、八番地、九番地、十番地、"
    u"十一番地、十二番地、十三番地、二十番地）"_s;
const QString LongTownParts[3] = {u"桜台町（一番地、二番地、三番地、四番地、五番地、"_s,
                                  u"六番地、七番地、八番地、九番地、十番地、"_s,
                                  u"十一番地、十二番地、十三番地、二十番地）"_s};

QString tokyo(const QString& code, const QString& reading, const QString& town) {
    return addressRecord(u"13101"_s, code, u"ﾄｳｷｮｳﾄ"_s, u"ﾁﾖﾀﾞｸ"_s, reading, u"東京都"_s,
                         u"千代田区"_s, town);
}

TEST(SplitRecordJoiner, JoinsARecordSplitOverLinesAndNothingElse) {
    const struct {
        const char* what;
        QStringList lines;
        QStringList joined;
    } cases[] = {
        {"a town over three lines, its reading repeated on each",
         {tokyo(u"1000005"_s, u"ｻｸﾗﾀﾞｲﾁｮｳ"_s, LongTownParts[0]),
          tokyo(u"1000005"_s, u"ｻｸﾗﾀﾞｲﾁｮｳ"_s, LongTownParts[1]),
          tokyo(u"1000005"_s, u"ｻｸﾗﾀﾞｲﾁｮｳ"_s, LongTownParts[2]),
          tokyo(u"1000006"_s, u"ｺｳ"_s, u"甲"_s)},
         {tokyo(u"1000005"_s, u"ｻｸﾗﾀﾞｲﾁｮｳ"_s, LongTown), tokyo(u"1000006"_s, u"ｺｳ"_s, u"甲"_s)}},
        {"a reading split with its town",
         {tokyo(u"1000007"_s, u"ｵﾂ(ｲﾁﾊﾞﾝﾁ､"_s, u"乙（一番地、"_s),
          tokyo(u"1000007"_s, u"ﾆﾊﾞﾝﾁ)"_s, u"二番地）"_s)},
         {tokyo(u"1000007"_s, u"ｵﾂ(ｲﾁﾊﾞﾝﾁ､ﾆﾊﾞﾝﾁ)"_s, u"乙（一番地、二番地）"_s)}},
        {"towns that share a code, each closed, stay apart",
         {tokyo(u"1000008"_s, u"ﾍｲ(1)"_s, u"丙（１丁目）"_s),
          tokyo(u"1000008"_s, u"ﾍｲ(2)"_s, u"丙（２丁目）"_s)},
         {tokyo(u"1000008"_s, u"ﾍｲ(1)"_s, u"丙（１丁目）"_s),
          tokyo(u"1000008"_s, u"ﾍｲ(2)"_s, u"丙（２丁目）"_s)}},
        {"an open note whose next line is another code is left as it is",
         {tokyo(u"1000009"_s, u"ﾃｲ"_s, u"丁（一番地"_s), tokyo(u"1000010"_s, u"ﾎﾞ"_s, u"戊"_s)},
         {tokyo(u"1000009"_s, u"ﾃｲ"_s, u"丁（一番地"_s), tokyo(u"1000010"_s, u"ﾎﾞ"_s, u"戊"_s)}},
    };
    for (const auto& c : cases) {
        qint64 joined = -1;
        EXPECT_EQ(joinSplitRecords(sjisLines(c.lines), &joined), sjisLines(c.joined)) << c.what;
        EXPECT_EQ(joined, c.lines.size() - c.joined.size()) << c.what;
    }
}

TEST(Utf8AddressFile, BecomesTheClassicFormOneRecordALine) {
    const QString utf8Record =
        addressRecord(u"13101"_s, u"1000005"_s, u"トウキョウト"_s, u"チヨダク"_s,
                      u"サクラダイチョウ"_s, u"東京都"_s, u"千代田区"_s, LongTown);
    const QByteArray file = "\xEF\xBB\xBF" + (utf8Record + u"\r\n"_s).toUtf8();
    const Utf8Conversion converted = convertUtf8AddressFile(file);
    // The same record as the three classic lines joined.
    EXPECT_EQ(converted.bytes, sjisLines({tokyo(u"1000005"_s, u"ｻｸﾗﾀﾞｲﾁｮｳ"_s, LongTown)}));
    EXPECT_TRUE(converted.unencodable.empty());
}

TEST(Utf8AddressFile, KeepsARecordCodePage932CannotHoldWithTheGetaMarkAndReportsIt) {
    // 𠮷 (U+20BB7) lies outside code page 932.
    const QString record = addressRecord(u"13101"_s, u"1000011"_s, u"トウキョウト"_s, u"チヨダク"_s,
                                         u"ヨシ"_s, u"東京都"_s, u"千代田区"_s, u"𠮷町"_s);
    const Utf8Conversion converted = convertUtf8AddressFile((record + u"\n"_s).toUtf8());
    EXPECT_EQ(converted.bytes, sjisLines({tokyo(u"1000011"_s, u"ﾖｼ"_s, u"〓町"_s)}));
    ASSERT_EQ(converted.unencodable.size(), 1u);
    EXPECT_EQ(converted.unencodable[0].postalCode, u"1000011"_s);
    EXPECT_EQ(converted.unencodable[0].text, record);
}

} // namespace
} // namespace yubin
