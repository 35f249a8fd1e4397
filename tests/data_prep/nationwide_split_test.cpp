#include "data_prep/nationwide_split.h"
#include "foundation/prefectures.h"
#include "foundation/text.h"
#include "prep_support.h"
#include "support/data_files.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <random>

namespace yubin {
namespace {

const QStringList Names = makePrefectureNames();

QString pref(int index) {
    return Names.at(index);
}

// ---- routing -----------------------------------------------------------

struct RouteCase {
    const char* line;
    int expected;
};
void PrintTo(const RouteCase& c, std::ostream* os) {
    *os << '"' << c.line << "\" -> " << c.expected;
}
class Routing : public testing::TestWithParam<RouteCase> {};

TEST_P(Routing, FirstPrefectureInCodeOrderWhoseFirstOccurrenceIsBeyondTheTenthCharacter) {
    const PrefectureRouter router(Names);
    EXPECT_EQ(router.route(QString::fromUtf8(GetParam().line)), GetParam().expected)
        << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Routing,
    testing::Values(
        RouteCase{
            R"(13101,"100  ","1000001","ﾄｳｷｮｳﾄ","ﾁﾖﾀﾞｸ","ﾁﾖﾀﾞ","東京都","千代田区","千代田",0)",
            13},
        // A town named after another prefecture: the first in code order wins.
        RouteCase{R"(13101,"100  ","1000001","ﾄｳｷｮｳﾄ","ｼ","ﾁ","東京都","市","北海道開拓村",0)", 1},
        RouteCase{R"(01101,"060  ","0600000","ﾎｯｶｲﾄﾞｳ","ｼ","ﾁ","北海道","市","東京都通り",0)", 1},
        // 京都府 inside 東京都府中 does not occur: only whole names count.
        RouteCase{R"(13206,"183  ","1830000","ﾄｳｷｮｳﾄ","ﾌﾁｭｳｼ","ﾁ","東京都","府中市","宮町",0)", 13},
        // Exactly at the eleventh character counts; at the tenth it does not.
        RouteCase{"0123456789北海道", 1}, RouteCase{"012345678北海道", 0},
        // Only the first occurrence decides, as a plain search would.
        RouteCase{"01北海道34567890北海道", 0}, RouteCase{"01北海道34567890北海道沖縄県", 47},
        RouteCase{"short", 0}, RouteCase{"", 0},
        RouteCase{"0123456789 no prefecture here at all", 0}));

TEST(Routing, AgreesWithAPlainSearchOnRandomLines) {
    // Lines of random pieces of prefecture names, digits and kana: the
    // one-pass router must agree with "for each name in code order, find".
    std::mt19937 random(20251007);
    QStringList pieces = {QStringLiteral("0"),  QStringLiteral("ｱ"),  QStringLiteral("都"),
                          QStringLiteral("府"), QStringLiteral("県"), QStringLiteral("道"),
                          QStringLiteral("京"), QStringLiteral("東"), QStringLiteral("大阪")};
    for (int i = 1; i <= PrefectureCount; ++i)
        pieces << Names[i];
    const PrefectureRouter router(Names);
    for (int n = 0; n < 3000; ++n) {
        QString line;
        const int count = int(random() % 12);
        for (int k = 0; k < count; ++k)
            line += pieces[int(random() % pieces.size())];
        int expected = 0;
        for (int j = 1; j <= PrefectureCount && expected == 0; ++j)
            if (line.indexOf(Names[j]) >= 10)
                expected = j;
        ASSERT_EQ(router.route(line), expected) << line.toStdString();
    }
}

// ---- trimming bytes ----------------------------------------------------

struct TrimCase {
    QByteArray line;
    QByteArray kept;
};
void PrintTo(const TrimCase& c, std::ostream* os) {
    *os << c.line.toHex(' ').constData();
}
class TrimBytes : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimBytes, RemovesHalfAndFullWidthBlanksFromBothEndsOnly) {
    const QByteArray& line = GetParam().line;
    const QString decoded = text::decodeCp932(line);
    EXPECT_EQ(trimBlankBytes(line, decoded).toByteArray(), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TrimBytes,
    testing::Values(TrimCase{"  abc  ", "abc"},
                    TrimCase{"\x81\x40"
                             "abc\x81\x40 ",
                             "abc"},
                    TrimCase{"a \x81\x40 b", "a \x81\x40 b"}, TrimCase{"   ", ""},
                    // 0x88 0x81 is one character; the 0x40 after it is "@", no blank.
                    TrimCase{"x\x88\x81\x40", "x\x88\x81\x40"},
                    TrimCase{"\x93\x8c\x8b\x9e\x81\x40", "\x93\x8c\x8b\x9e"}));

// ---- the split ---------------------------------------------------------

class Split : public testing::Test {
protected:
    SplitResult split(const QByteArray& bytes) {
        return splitNationwide(bytes, Names, host, clock);
    }
    test::RecordingHost host;
    test::ManualClock clock;
};

TEST_F(Split, LinesGoToTheirPrefectureInFileOrderTrimmedWithCrLf) {
    QStringList records = test::prefectureRecords(1, 3);
    records << test::prefectureRecords(47, 2) << test::prefectureRecords(1, 2, 3);
    const SplitResult r = split(test::sjisLines(records, "  \r\n"));
    EXPECT_FALSE(r.aborted);
    EXPECT_EQ(r.lines[1], 5);
    EXPECT_EQ(r.lines[47], 2);
    QStringList hokkaido = test::prefectureRecords(1, 5);
    EXPECT_EQ(r.bytes[1], test::sjisLines(hokkaido));
    EXPECT_EQ(r.bytes[47], test::sjisLines(test::prefectureRecords(47, 2)));
    for (int j = 2; j < 47; ++j)
        EXPECT_TRUE(r.bytes[j].isEmpty()) << j;
    EXPECT_EQ(r.linesRead, 7);
}

TEST_F(Split, OriginalBytesPassThroughEvenWhereCp932HoldsACharacterTwice) {
    // 0xEE 0xE0 (NEC-selected IBM extension) and 0xFB 0xFC (IBM extension)
    // both decode to U+9AD9; re-encoding would turn one into the other.
    const QByteArray nec = "\xEE\xE0";
    const QByteArray ibm = "\xFB\xFC";
    ASSERT_EQ(text::decodeCp932(nec), text::decodeCp932(ibm));
    const QByteArray line1 = text::encodeCp932(test::prefectureRecords(13, 1)[0])
                                 .replace(text::encodeCp932(QStringLiteral("本町")), nec + ibm);
    const SplitResult r = split(line1 + "\r\n");
    EXPECT_EQ(r.bytes[13], line1 + "\r\n");
}

TEST_F(Split, LineEndsOfAnyKindBecomeCrLf) {
    const QStringList records = test::prefectureRecords(26, 3);
    EXPECT_EQ(split(test::sjisLines(records, "\n")).bytes[26], test::sjisLines(records));
    EXPECT_EQ(split(test::sjisLines(records, "\r")).bytes[26], test::sjisLines(records));
}

TEST_F(Split, ShortLinesAreIgnoredAndLinesWithoutPrefectureAreSkippedAndCounted) {
    QStringList records = test::prefectureRecords(27, 2);
    records.insert(1, QStringLiteral("\u001A"));                  // an end-of-file mark
    records.insert(1, QStringLiteral("0123456789"));              // ten characters
    records.insert(1, QStringLiteral("99999,\"no prefecture\"")); // a record-length line
    const SplitResult r = split(test::sjisLines(records));
    EXPECT_EQ(r.lines[27], 2);
    EXPECT_EQ(r.unrouted, 1);
    EXPECT_EQ(r.bytes[27], test::sjisLines(test::prefectureRecords(27, 2)));
}

TEST_F(Split, APrefectureMayHoldAnyNumberOfLines) {
    // More than the 9,002 lines of a fixed table.
    const QStringList records = test::prefectureRecords(23, 12000);
    const SplitResult r = split(test::sjisLines(records));
    EXPECT_EQ(r.lines[23], 12000);
    EXPECT_EQ(r.bytes[23], test::sjisLines(records));
}

TEST_F(Split, CaptionChangesOnlyWhenThePrefectureChanges) {
    QStringList records = test::prefectureRecords(1, 3);
    records << test::prefectureRecords(2, 2) << test::prefectureRecords(1, 1, 3);
    split(test::sjisLines(records));
    EXPECT_EQ(host.captions, (QStringList{pref(1), pref(2), pref(1)}));
    EXPECT_EQ(host.lineCounts, (std::vector<qint64>{1, 4, 6}));
}

TEST_F(Split, YieldsByTheClockNotByTheLine) {
    // Each reading of this clock moves it 1 ms: a 10 ms slice passes every
    // ten lines, plus the yield after the last line.
    clock.stepPerRead = 1;
    split(test::sjisLines(test::prefectureRecords(5, 100)));
    EXPECT_EQ(host.yields, 100 / int(YieldSliceMs) + 1);

    test::RecordingHost still;
    test::ManualClock stopped; // never moves: only the final yield
    splitNationwide(test::sjisLines(test::prefectureRecords(5, 100)), Names, still, stopped);
    EXPECT_EQ(still.yields, 1);
}

TEST_F(Split, StopAtAYieldEndsTheSplitWithinThatSlice) {
    clock.stepPerRead = 1;
    host.stopAtYield = 3;
    const SplitResult r = split(test::sjisLines(test::prefectureRecords(5, 1000)));
    EXPECT_TRUE(r.aborted);
    EXPECT_EQ(host.yields, 3);
    EXPECT_EQ(r.linesRead, 3 * YieldSliceMs);
}

TEST_F(Split, StopAfterTheLastLineStillAborts) {
    host.stopAtYield = 1;
    const SplitResult r = split(test::sjisLines(test::prefectureRecords(5, 20)));
    EXPECT_TRUE(r.aborted);
}

} // namespace
} // namespace yubin
