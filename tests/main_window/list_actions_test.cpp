#include "main_window/browse.h"
#include "main_window/list_actions.h"
#include "main_window/main_layout.h"

#include <gtest/gtest.h>

#include <optional>

namespace yubin {

void PrintTo(const MapRequest& r, std::ostream* os) {
    *os << r.address.toStdString() << " / " << r.mode;
}

namespace {

// ---- the lines ------------------------------------------------------------------

TEST(PostalCodeText, IsThreeDigitsAHyphenAndFourDigits) {
    EXPECT_TRUE(isPostalCodeText(u"060-0042"));
    for (const char16_t* no :
         {u"0600042", u"06-00042", u"060-004", u"060-00421", u"０６０-００４２", u"060-00a2"})
        EXPECT_FALSE(isPostalCodeText(no)) << QString::fromUtf16(no).toStdString();
    EXPECT_TRUE(isTownListLine(u"100-1100 三宅村一円(みやけむら)"));
    for (const char16_t* no : {u"060-0042", u"060-0042札幌市", u"都道府県を指定してください"})
        EXPECT_FALSE(isTownListLine(no)) << QString::fromUtf16(no).toStdString();
}

TEST(MunicipalityMapRequests, PassTheNameWithoutReadingOrPrefecture) {
    const std::tuple<const char16_t*, BrowseMode, std::optional<MapRequest>> cases[] = {
        {u"さ 札幌市中央区 (さつぽろしちゆうおうく)", BrowseMode::Prefecture,
         MapRequest{"札幌市中央区", 0}},
        {u"あ 旭川市 (あさひかわし)", BrowseMode::Prefecture, MapRequest{"旭川市", 0}},
        // The full-width parenthesis is looked for first.
        {u"え 江別市（仮） (えべつし)", BrowseMode::Prefecture, MapRequest{"江別市", 0}},
        {u"ニ 日本商事株式会社", BrowseMode::BusinessOffice, MapRequest{"日本商事株式会社", 99}},
        // An office with an empty reading has no leading character; its
        // name keeps its first character.
        {u" 外務省", BrowseMode::BusinessOffice, MapRequest{"外務省", 99}},
        {u" 札幌市 ()", BrowseMode::Prefecture, MapRequest{"札幌市", 0}},
        // One character is no name to look up.
        {u"つ 津 (つ)", BrowseMode::Prefecture, std::nullopt},
        {u"ア ア", BrowseMode::BusinessOffice, std::nullopt},
        {u"都道府県を指定してください", BrowseMode::Prefecture, std::nullopt},
        {u"都道府県を指定してください", BrowseMode::BusinessOffice, std::nullopt},
        {u"", BrowseMode::Prefecture, std::nullopt}};
    for (const auto& [line, mode, request] : cases)
        EXPECT_EQ(municipalityMapRequest(QString::fromUtf16(line), mode), request)
            << QString::fromUtf16(line).toStdString();
}

TEST(TownLineActions, GiveTheirAddressCodeAndCopyText) {
    // Map address after 北海道, barcode postal code, copy in prefecture mode.
    const std::tuple<const char16_t*, std::optional<QString>, QString, std::optional<QString>>
        cases[] = {{u"064-0941  札幌市中央区旭ケ丘 (あさひがおか)", "北海道札幌市中央区旭ケ丘",
                    "0640941", "064-0941  札幌市中央区旭ケ丘"},
                   // Cut before the full-width note for the map, before the reading for
                   // the copy.
                   {u"060-0042  札幌市中央区大通西（１～１９丁目） (おおどおりにし(1-19ちようめ))",
                    "北海道札幌市中央区大通西", "0600042",
                    "060-0042  札幌市中央区大通西（１～１９丁目）"},
                   {u"100-1100 三宅村一円(みやけむら)", "北海道三宅村一円", "1001100", "100-1100"},
                   // The catch-all line is no place; its copy is the code alone.
                   {u"060-0000  以下に掲載がない場合", std::nullopt, "0600000", "060-0000"},
                   {u"都道府県を指定してください", std::nullopt, "", std::nullopt},
                   {u"", std::nullopt, "", std::nullopt},
                   {u"060-0042", std::nullopt, "", std::nullopt},
                   {u"060-004  札幌市 (さつぽろし)", std::nullopt, "", std::nullopt}};
    for (const auto& [text, mapAddress, barZipCode, copied] : cases) {
        const QString line = QString::fromUtf16(text);
        EXPECT_EQ(townMapAddress(line, QStringLiteral("北海道")), mapAddress) << line.toStdString();
        EXPECT_EQ(townBarZipCode(line), barZipCode) << line.toStdString();
        EXPECT_EQ(townCopyText(line, BrowseMode::Prefecture), copied) << line.toStdString();
    }
}

TEST(TownLineFormats, OfficeLinesMapToTheirAddressAndCopyWhole) {
    const QString line = QStringLiteral("100-8799  千代田区丸の内１－１");
    EXPECT_EQ(townMapAddress(line, QStringLiteral("東京都")), "東京都千代田区丸の内１－１");
    EXPECT_EQ(townCopyText(line, BrowseMode::BusinessOffice), line);
    EXPECT_EQ(townCopyText(IdleListLine, BrowseMode::BusinessOffice), std::nullopt);
}

} // namespace
} // namespace yubin
