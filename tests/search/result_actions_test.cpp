#include "search/result_actions.h"
#include "search/scan.h"

#include <gtest/gtest.h>

#include <optional>

namespace yubin {
namespace {

PostalRecord town(const char* code, const char16_t* prefecture, const char16_t* municipality,
                  const char16_t* townName) {
    PostalRecord r;
    r.postalCode = QString::fromLatin1(code);
    r.prefecture = QString::fromUtf16(prefecture);
    r.municipality = QString::fromUtf16(municipality);
    r.town = QString::fromUtf16(townName);
    r.prefectureReading = QStringLiteral("ﾄｳｷｮｳﾄ");
    r.municipalityReading = QStringLiteral("ﾁﾖﾀﾞｸ");
    r.townReading = QStringLiteral("ﾁﾖﾀﾞ");
    return r;
}

PostalRecord office(const char* code, const char16_t* name, const char16_t* address) {
    PostalRecord r;
    r.kind = RecordKind::Office;
    r.postalCode = QString::fromLatin1(code);
    r.officeName = QString::fromUtf16(name);
    r.prefecture = QStringLiteral("東京都");
    r.address = QString::fromUtf16(address);
    return r;
}

struct ActionCase {
    PostalRecord record;
    const char16_t* mapAddress; // nullptr: no map
    const char16_t* copied;
};

class ResultActions : public testing::TestWithParam<ActionCase> {};

TEST_P(ResultActions, GiveTheCodeTheMapAddressAndTheCopyOfTheRecord) {
    const ActionCase& c = GetParam();
    EXPECT_EQ(resultBarZipCode(c.record), c.record.postalCode);
    EXPECT_EQ(resultMapAddress(c.record),
              c.mapAddress ? std::optional(QString::fromUtf16(c.mapAddress)) : std::nullopt);
    EXPECT_EQ(resultCopyText(c.record), QString::fromUtf16(c.copied));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultActions,
    testing::Values(
        // The copy and the map leave the reading out.
        ActionCase{town("1000001", u"東京都", u"千代田区", u"千代田"), u"東京都千代田区千代田",
                   u"100-0001 東京都千代田区千代田"},
        // A note in full-width parentheses is cut for the map, copied whole.
        ActionCase{town("0600042", u"北海道", u"札幌市中央区", u"大通西（１～１９丁目）"),
                   u"北海道札幌市中央区大通西",
                   u"060-0042 北海道札幌市中央区大通西（１～１９丁目）"},
        // A town area in parentheses: prefecture and municipality for the
        // map, the postal code alone for the copy.
        ActionCase{town("1001100", u"東京都", u"三宅島三宅村", u"三宅村一円"),
                   u"東京都三宅島三宅村", u"100-1100"},
        // The catch-all town area is no place to look up.
        ActionCase{town("1000000", u"東京都", u"千代田区", u"以下に掲載がない場合"), nullptr,
                   u"100-0000"},
        // An office: its address for the map, cut before a note in either
        // parentheses; code, name and address for the copy.
        ActionCase{office("1008799", u"日本商事", u"千代田区丸の内１－１（本社）"),
                   u"東京都千代田区丸の内１－１",
                   u"100-8799 日本商事 東京都千代田区丸の内１－１（本社）"},
        ActionCase{office("1008799", u"日本商事", u"千代田区丸の内１(本社)"),
                   u"東京都千代田区丸の内１", u"100-8799 日本商事 東京都千代田区丸の内１(本社)"}));

TEST(ScanResults, OnlyTheMatchingRowsHaveARecord) {
    ScanResult result;
    result.records = {town("1000001", u"東京都", u"千代田区", u"千代田")};
    result.rows = {QStringLiteral("[A] 100-0001 東京都千代田区千代田 (ﾄｳｷｮｳﾄﾁﾖﾀﾞｸﾁﾖﾀﾞ)"),
                   ScanStoppedLine};
    ASSERT_NE(result.recordOf(0), nullptr);
    EXPECT_EQ(result.recordOf(0)->postalCode, QStringLiteral("1000001"));
    EXPECT_EQ(result.recordOf(1), nullptr) << "the closing line";
    EXPECT_EQ(result.recordOf(-1), nullptr);
}

} // namespace
} // namespace yubin
