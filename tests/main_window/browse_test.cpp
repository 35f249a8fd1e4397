#include "main_window/browse.h"

#include "support/data_files.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace yubin {
namespace {

using test::addressRecord;
using test::officeRecord;

QString joinLines(const QStringList& lines) {
    return lines.join(u'\n');
}

LoadedRecords load(const QStringList& lines, BrowseMode mode = BrowseMode::Prefecture,
                   const QString& prefecture = QStringLiteral("北海道")) {
    Access_CSV csv;
    const QString text = lines.join(QStringLiteral("\r\n"));
    return loadRecords(text, mode, prefecture, csv);
}

QString sapporo(const QString& code, const QString& townReading, const QString& town) {
    return addressRecord("01101", code, "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", townReading, "北海道",
                         "札幌市中央区", town);
}

TEST(LoadRecords, SkipsLinesOfTenCharactersOrFewerAfterTrimming) {
    const LoadedRecords loaded =
        load({QStringLiteral("  1,,,,,,,,9  "), QStringLiteral("12,,,,,,,,9"),
              QStringLiteral("12345678901"), QStringLiteral("　　"), QString()});
    ASSERT_EQ(loaded.records.size(), 1u)
        << "only the 11-character line that reaches the town column is a row";
    EXPECT_EQ(loaded.records[0][0], "0000000");
}

TEST(LoadRecords, FillsTheRowsOfPrefectureModeAndRestoresLeadingZeros) {
    const LoadedRecords loaded =
        load({sapporo("0600042", "ｵｵﾄﾞｵﾘﾆｼ(1-19ﾁﾖｳﾒ)", "大通西（１～１９丁目）"),
              addressRecord("01101", "600000", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ",
                            "北海道", "札幌市中央区", "以下に掲載がない場合")});
    ASSERT_EQ(loaded.records.size(), 2u);
    EXPECT_EQ(loaded.records[0], (RecordRow{"0600042", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｵｵﾄﾞｵﾘﾆｼ(1-19ﾁﾖｳﾒ)",
                                            "札幌市中央区", "大通西（１～１９丁目）"}));
    EXPECT_EQ(loaded.records[1][0], "0600000") << "a code that lost its zero gets it back";
    EXPECT_EQ(loaded.records[1][4], "以下に掲載がない場合") << "the catch-all is an ordinary row";
}

QString city(const char* name, const char* reading) {
    return addressRecord("01202", "0400000", "ﾎﾂｶｲﾄﾞｳ", reading, "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "北海道", name,
                         "以下に掲載がない場合");
}

// A municipality that is not contiguous appears once per run.
TEST(MunicipalityList, LinesShowTheHiraganaReadingAndSortByItsFirstSoundOncePerRun) {
    const LoadedRecords loaded = load(
        {city("札幌市中央区", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ"), city("函館市", "ﾊｺﾀﾞﾃｼ"), city("函館市", "ﾊｺﾀﾞﾃｼ"),
         city("常総市", "ｼﾞﾖｳｿｳｼ"), city("函館市", "ﾊｺﾀﾞﾃｼ"), city("旭川市", "ｱｻﾋｶﾜｼ")});
    ASSERT_EQ(loaded.municipalities.size(), 5u);
    EXPECT_EQ(municipalityListLines(loaded, BrowseMode::Prefecture),
              (QStringList{"あ 旭川市 (あさひかわし)", "さ 札幌市中央区 (さつぽろしちゆうおうく)",
                           "じ 常総市 (じようそうし)", "は 函館市 (はこだてし)",
                           "は 函館市 (はこだてし)"}));
    // Each line's municipality, for the command line's fields.
    EXPECT_EQ(municipalityList(loaded, BrowseMode::Prefecture).rows,
              (std::vector<size_t>{4, 0, 2, 1, 3}));
    EXPECT_EQ(municipalityOfLine(QStringLiteral("さ 札幌市中央区 (さつぽろしちゆうおうく)")),
              QStringLiteral("札幌市中央区"));
}

TEST(BusinessOffices, KeepOnlyThePrefecturesOfficesNamedBeyondTheCodeColumns) {
    const QString tokyo = QStringLiteral("東京都");
    const QStringList lines{
        officeRecord("13101", "(ｶﾌﾞ) ﾆﾎﾝｼﾖｳｼﾞ", "日本商事株式会社", tokyo, "千代田区", "丸の内",
                     "１－１", "1008799"),
        officeRecord("14101", "ﾖｺﾊﾏｼﾖｳｶｲ", "横浜商会", "神奈川県", "横浜市", "本町", "１",
                     "2318799"),
        // The prefecture's name only within the first five characters.
        QStringLiteral("東京都,\"ｱ\",\"東京都の店\",\"東京都\",\"港区\",\"芝\",\"１\",\"1058799\""),
        officeRecord("13102", "ｶﾞｲﾑｼﾖｳ", "外務省", tokyo, "千代田区", "霞が関", "２－２－１",
                     "1008919"),
    };
    const LoadedRecords loaded = load(lines, BrowseMode::BusinessOffice, tokyo);
    ASSERT_EQ(loaded.records.size(), 2u);
    EXPECT_EQ(loaded.records[0],
              (RecordRow{"1008799", "日本商事株式会社", "ﾆﾎﾝｼﾖｳｼﾞ", "千代田区丸の内１－１", ""}));
    // Only the first character is widened: a voiced first sound files under
    // its unvoiced letter.
    EXPECT_EQ(municipalityListLines(loaded, BrowseMode::BusinessOffice),
              (QStringList{"カ 外務省", "ニ 日本商事株式会社"}));
    EXPECT_EQ(municipalityList(loaded, BrowseMode::BusinessOffice).rows,
              (std::vector<size_t>{1, 0}));
    EXPECT_EQ(officeOfLine(QStringLiteral("カ 外務省")), QStringLiteral("外務省"));
    EXPECT_EQ(officeOfLine(QStringLiteral(" 読みのない事業所")),
              QStringLiteral("読みのない事業所"));
}

TEST(TownLines, ThreeFormatsWithTheirBlanksAndBrackets) {
    EXPECT_EQ(townLine({"1234567", "ﾐﾔｹﾑﾗ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "三宅村", "以下に掲載がない場合"}),
              QStringLiteral("123-4567  以下に掲載がない場合"));
    EXPECT_EQ(townLine({"1234567", "ﾐﾔｹﾑﾗ", "ﾐﾔｹﾑﾗｲﾁｴﾝ", "三宅村", "三宅村一円"}),
              QStringLiteral("123-4567 三宅村一円(みやけむら)"));
    EXPECT_EQ(townLine({"1234567", "ﾁﾕｳｵｳｸ", "ﾎﾝﾁﾖｳ", "中央区", "本町"}),
              QStringLiteral("123-4567  中央区本町 (ほんちよう)"));
    // A whole-area reading without ｲ is shown whole.
    EXPECT_EQ(townLine({"1000000", "ﾑﾗ", "ﾑﾗｾﾞﾝﾀﾞﾝ", "村", "全村一円"}),
              QStringLiteral("100-0000 全村一円(むらぜんだん)"));
}

TEST(TownList, ListsEveryRowOfTheMunicipalityInFileOrder) {
    const std::vector<RecordRow> rows{
        {"1001101", "ﾐﾔｹﾑﾗ", "ﾐﾔｹﾑﾗｲﾁｴﾝ", "三宅村", "三宅村一円"},
        {"1000000", "ﾁﾖﾀﾞｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "千代田区", "以下に掲載がない場合"},
        {"1001100", "ﾐﾔｹﾑﾗ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "三宅村", "以下に掲載がない場合"},
        {"1000001", "ﾁﾖﾀﾞｸ", "ﾁﾖﾀﾞ", "千代田区", "千代田"},
    };
    const TownList miyake = townsOfMunicipality(rows, QStringLiteral("三宅村"));
    EXPECT_EQ(miyake.lines,
              (QStringList{"100-1101 三宅村一円(みやけむら)", "100-1100  以下に掲載がない場合"}));
    EXPECT_EQ(miyake.heading, QStringLiteral("三宅村(みやけむら)"));
    EXPECT_TRUE(miyake.currentMunicipality.isEmpty()) << "no ordinary line: nothing to search";
    EXPECT_EQ(miyake.rows, (std::vector<size_t>{0, 2}));

    const TownList chiyoda = townsOfMunicipality(rows, QStringLiteral("千代田区"));
    EXPECT_EQ(chiyoda.lines,
              (QStringList{"100-0000  以下に掲載がない場合", "100-0001  千代田区千代田 (ちよだ)"}));
    EXPECT_EQ(chiyoda.currentMunicipality, QStringLiteral("千代田区"));
}

TEST(OfficeHeading, PointSizeByReadingLength) {
    for (const auto& [length, points] :
         {std::pair{29, 9}, {30, 7}, {40, 7}, {41, 6}, {50, 6}, {51, 5}, {60, 5}, {61, 4}})
        EXPECT_EQ(officeHeadingPointSize(length), points) << length;
}

TEST(TownSearch, FindsKanjiAndFullWidthKanaWithinTheMunicipalityButNotTheCatchAll) {
    const std::vector<RecordRow> rows{
        {"0600000", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "札幌市中央区", "以下に掲載がない場合"},
        {"0600042", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｵｵﾄﾞｵﾘﾆｼ", "札幌市中央区", "大通西"},
        {"0640941", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｱｻﾋｶﾞｵｶ", "札幌市中央区", "旭ケ丘"},
        {"0700000", "ｱｻﾋｶﾜｼ", "ｵｵﾄﾞｵﾘ", "旭川市", "大通"},
        {"1001101", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｻﾂﾎﾟﾛｲﾁｴﾝ", "札幌市中央区", "札幌一円"},
    };
    const char* oodori = "060-0042  札幌市中央区大通西 (おおどおりにし)";
    // 旭川市大通 lies in another municipality; a whole-area match takes the
    // ordinary format with the whole reading.
    const std::pair<const char*, const char*> cases[] = {
        {"大通", oodori},
        {"オオドオリ", oodori},
        {"おおどおり", oodori},
        {"ガオカ", "064-0941  札幌市中央区旭ケ丘 (あさひがおか)"},
        {"一円", "100-1101  札幌市中央区札幌一円 (さつぽろいちえん)"},
        {"ｵｵﾄﾞｵﾘ", ""},
        {"以下に掲載", ""},
        {"いかにけいさい", ""}};
    for (const auto& [text, found] : cases)
        EXPECT_EQ(
            joinLines(searchTowns(rows, QStringLiteral("札幌市中央区"), QString::fromUtf8(text))),
            QString::fromUtf8(found))
            << text;
}

} // namespace
} // namespace yubin
