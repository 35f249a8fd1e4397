#include "foundation/access_csv.h"
#include "search/result_actions.h"
#include "search/scan.h"
#include "search/search_input.h"
#include "support/data_files.h"

#include <gtest/gtest.h>

#include <optional>

namespace yubin {
namespace {

struct RowCase {
    const char16_t* row;
    QString barZipCode;
    std::optional<QString> mapAddress;
    std::optional<QString> copied;
};

class ResultRows : public testing::TestWithParam<RowCase> {};

TEST_P(ResultRows, GiveTheirCodeAddressAndCopyText) {
    const RowCase& c = GetParam();
    const QString row = QString::fromUtf16(c.row);
    EXPECT_EQ(resultBarZipCode(row), c.barZipCode);
    EXPECT_EQ(resultMapAddress(row), c.mapAddress);
    EXPECT_EQ(resultCopyText(row), c.copied);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ResultRows,
    testing::Values(
        // The copy and the map leave the reading out.
        RowCase{u"[A] 100-0001 東京都千代田区千代田 (ﾄｳｷｮｳﾄﾁﾖﾀﾞｸﾁﾖﾀﾞ)", "1000001",
                "東京都千代田区千代田", "100-0001 東京都千代田区千代田"},
        // A town area with a note in full-width parentheses is cut before it.
        RowCase{u"[A] 060-0042 北海道札幌市中央区大通西（１～１９丁目） "
                u"(ﾎﾂｶｲﾄﾞｳｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸｵｵﾄﾞｵﾘﾆｼ(1-19ﾁﾖｳﾒ))",
                "0600042", "北海道札幌市中央区大通西",
                "060-0042 北海道札幌市中央区大通西（１～１９丁目）"},
        // A town area in parentheses: prefecture and municipality for the
        // map, the postal code alone for the copy.
        RowCase{u"[A] 100-1100 東京都三宅島三宅村(三宅村一円)", "1001100", "東京都三宅島三宅村",
                "100-1100"},
        // The catch-all town area is no place to look up.
        RowCase{u"[A] 100-0000 東京都千代田区(以下に掲載がない場合)", "1000000", std::nullopt,
                "100-0000"},
        // An office row: its address for the map, the row without its marker
        // for the copy.
        RowCase{u"[*] 210-8577 川崎市役所 神奈川県川崎市川崎区宮本町１", "2108577",
                "神奈川県川崎市川崎区宮本町１", "210-8577 川崎市役所 神奈川県川崎市川崎区宮本町１"},
        RowCase{u"[*] 100-8799 日本商事 東京都千代田区丸の内１－１（本社）", "1008799",
                "東京都千代田区丸の内１－１",
                "100-8799 日本商事 東京都千代田区丸の内１－１（本社）"},
        RowCase{u"[*] 100-8799 日本商事 東京都千代田区丸の内１(本社)", "1008799",
                "東京都千代田区丸の内１", "100-8799 日本商事 東京都千代田区丸の内１(本社)"},
        // Blanks around a row do not move its characters.
        RowCase{u" [A] 100-0001 東京都千代田区千代田 (ﾄｳｷｮｳﾄﾁﾖﾀﾞｸﾁﾖﾀﾞ) ", "1000001",
                "東京都千代田区千代田", "100-0001 東京都千代田区千代田"}));

class NonRows : public testing::TestWithParam<QString> {};

TEST_P(NonRows, AreNeverActedOn) {
    EXPECT_FALSE(hasResultRowPrefix(GetParam()));
    EXPECT_EQ(resultBarZipCode(GetParam()), QString());
    EXPECT_EQ(resultMapAddress(GetParam()), std::nullopt);
    EXPECT_EQ(resultCopyText(GetParam()), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Lines, NonRows,
                         testing::Values(ScanStoppedLine, ScanLimitLine, SearchIdleLine, QString(),
                                         QStringLiteral("[A] 100-0001"),
                                         QStringLiteral("[B] 100-0001 東京都千代田区千代田"),
                                         QStringLiteral("[A] 1000001 東京都千代田区千代田"),
                                         QStringLiteral("[A]100-0001  東京都千代田区千代田"),
                                         QStringLiteral("[A] 100-00011東京都千代田区千代田"),
                                         QStringLiteral("[A] １００-０００１ 東京都")));

TEST(ScanRows, TheRowsTheScanWritesAreActedOn) {
    Access_CSV csv;
    const QString town = resultRow(test::addressRecord("13101", "1000001", "ﾄｳｷﾖｳﾄ", "ﾁﾖﾀﾞｸ",
                                                       "ﾁﾖﾀﾞ", "東京都", "千代田区", "千代田"),
                                   false, csv);
    EXPECT_TRUE(hasResultRowPrefix(town));
    EXPECT_EQ(resultCopyText(town), QStringLiteral("100-0001 東京都千代田区千代田"));
    EXPECT_EQ(resultMapAddress(town), QStringLiteral("東京都千代田区千代田"));
    EXPECT_EQ(resultBarZipCode(town), QStringLiteral("1000001"));

    const QString catchAll =
        resultRow(test::addressRecord("13101", "1000000", "ﾄｳｷﾖｳﾄ", "ﾁﾖﾀﾞｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ",
                                      "東京都", "千代田区", "以下に掲載がない場合"),
                  false, csv);
    EXPECT_EQ(resultCopyText(catchAll), QStringLiteral("100-0000"));
    EXPECT_EQ(resultMapAddress(catchAll), std::nullopt);

    const QString office =
        resultRow(test::officeRecord("14131", "ｶﾜｻｷｼﾔｸｼﾖ", "川崎市役所", "神奈川県", "川崎市川崎区",
                                     "宮本町", "１", "2108577"),
                  true, csv);
    EXPECT_EQ(resultCopyText(office),
              QStringLiteral("210-8577 川崎市役所 神奈川県川崎市川崎区宮本町１"));
    EXPECT_EQ(resultMapAddress(office), QStringLiteral("神奈川県川崎市川崎区宮本町１"));
    EXPECT_EQ(resultBarZipCode(office), QStringLiteral("2108577"));
}

} // namespace
} // namespace yubin
