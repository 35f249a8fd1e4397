#include "search/result_actions.h"
#include "search/scan.h"
#include "search/search_input.h"

#include <gtest/gtest.h>

#include <optional>

namespace yubin {
namespace {

TEST(ResultRows, GiveTheirCodeAddressAndCopyText) {
    const std::tuple<const char16_t*, QString, std::optional<QString>, std::optional<QString>>
        cases[] = {
            // The copy and the map leave the reading out.
            {u"[A] 100-0001 東京都千代田区千代田 (ﾄｳｷｮｳﾄﾁﾖﾀﾞｸﾁﾖﾀﾞ)", "1000001",
             "東京都千代田区千代田", "100-0001 東京都千代田区千代田"},
            // A town area with a note in full-width parentheses is cut before it.
            {u"[A] 060-0042 北海道札幌市中央区大通西（１～１９丁目） "
             u"(ﾎﾂｶｲﾄﾞｳｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸｵｵﾄﾞｵﾘﾆｼ(1-19ﾁﾖｳﾒ))",
             "0600042", "北海道札幌市中央区大通西",
             "060-0042 北海道札幌市中央区大通西（１～１９丁目）"},
            // A town area in parentheses: prefecture and municipality for the
            // map, the postal code alone for the copy.
            {u"[A] 100-1100 東京都三宅島三宅村(三宅村一円)", "1001100", "東京都三宅島三宅村",
             "100-1100"},
            // The catch-all town area is no place to look up.
            {u"[A] 100-0000 東京都千代田区(以下に掲載がない場合)", "1000000", std::nullopt,
             "100-0000"},
            // An office row: its address for the map, the row without its marker
            // for the copy.
            {u"[*] 210-8577 川崎市役所 神奈川県川崎市川崎区宮本町１", "2108577",
             "神奈川県川崎市川崎区宮本町１", "210-8577 川崎市役所 神奈川県川崎市川崎区宮本町１"},
            {u"[*] 100-8799 日本商事 東京都千代田区丸の内１－１（本社）", "1008799",
             "東京都千代田区丸の内１－１", "100-8799 日本商事 東京都千代田区丸の内１－１（本社）"},
            {u"[*] 100-8799 日本商事 東京都千代田区丸の内１(本社)", "1008799",
             "東京都千代田区丸の内１", "100-8799 日本商事 東京都千代田区丸の内１(本社)"},
            // Blanks around a row do not move its characters.
            {u" [A] 100-0001 東京都千代田区千代田 (ﾄｳｷｮｳﾄﾁﾖﾀﾞｸﾁﾖﾀﾞ) ", "1000001",
             "東京都千代田区千代田", "100-0001 東京都千代田区千代田"}};
    for (const auto& [text, barZipCode, mapAddress, copied] : cases) {
        const QString row = QString::fromUtf16(text);
        EXPECT_EQ(resultBarZipCode(row), barZipCode) << row.toStdString();
        EXPECT_EQ(resultMapAddress(row), mapAddress) << row.toStdString();
        EXPECT_EQ(resultCopyText(row), copied) << row.toStdString();
    }
}

TEST(ResultRows, OtherLinesAreNeverActedOn) {
    for (const QString& line :
         {ScanStoppedLine, ScanLimitLine, SearchIdleLine, QString(), QStringLiteral("[A] 100-0001"),
          QStringLiteral("[B] 100-0001 東京都千代田区千代田"),
          QStringLiteral("[A] 1000001 東京都千代田区千代田"),
          QStringLiteral("[A]100-0001  東京都千代田区千代田"),
          QStringLiteral("[A] 100-00011東京都千代田区千代田"),
          QStringLiteral("[A] １００-０００１ 東京都")}) {
        EXPECT_FALSE(hasResultRowPrefix(line)) << line.toStdString();
        EXPECT_EQ(resultBarZipCode(line), QString());
        EXPECT_EQ(resultMapAddress(line), std::nullopt);
        EXPECT_EQ(resultCopyText(line), std::nullopt);
    }
}

} // namespace
} // namespace yubin
