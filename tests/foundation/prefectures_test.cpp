#include "foundation/prefectures.h"

#include <gtest/gtest.h>

namespace yubin {
namespace {

TEST(Prefectures, TableOfNamesCodesAndSplitFilesInCodeOrder) {
    const QStringList names =
        u"北海道 青森県 岩手県 宮城県 秋田県 山形県 福島県 茨城県 栃木県 群馬県 埼玉県 千葉県 "
        u"東京都 神奈川県 新潟県 富山県 石川県 福井県 山梨県 長野県 岐阜県 静岡県 愛知県 三重県 "
        u"滋賀県 京都府 大阪府 兵庫県 奈良県 和歌山県 鳥取県 島根県 岡山県 広島県 山口県 徳島県 "
        u"香川県 愛媛県 高知県 福岡県 佐賀県 長崎県 熊本県 大分県 宮崎県 鹿児島県 沖縄県"_qs.split(
            u' ');
    const QStringList files =
        u"01hokkai 02aomori 03iwate 04miyagi 05akita 06yamaga 07fukush 08ibarak 09tochig 10gumma "
        u"11saitam 12chiba 13tokyo 14kanaga 15niigat 16toyama 17ishika 18fukui 19yamana 20nagano "
        u"21gifu 22shizuo 23aichi 24mie 25shiga 26kyouto 27osaka 28hyogo 29nara 30wakaya 31tottor "
        u"32shiman 33okayam 34hirosh 35yamagu 36tokush 37kagawa 38ehime 39kochi 40fukuok 41saga "
        u"42nagasa 43kumamo 44oita 45miyaza 46kagosh 47okinaw"_qs.split(u' ');
    // The shared table: business offices first, then the 47, then three
    // empty slots.
    const QStringList shared = makePrefectureNames();
    EXPECT_EQ(shared, (QStringList{u"事業所"_qs} + names + QStringList(3, QString())));
    ASSERT_EQ(files.size(), PrefectureCount);
    for (int i = 1; i <= PrefectureCount; ++i) {
        EXPECT_EQ(prefectureCode(i), files[i - 1].left(2));
        EXPECT_EQ(QString::fromLatin1(prefectureTable()[size_t(i - 1)].splitFile),
                  files[i - 1] + u".CSV"_qs);
    }
    EXPECT_EQ(prefectureCode(0), "00");
}

TEST(Prefectures, IndexFromCodeOrName) {
    for (const auto& [text, index] : {std::pair{"14", 14},
                                      {"神奈川県", 14},
                                      {"01", 1},
                                      {"1", 0},
                                      {"48", 0},
                                      {"事業所", 0},
                                      {"神奈川", 0}})
        EXPECT_EQ(prefectureIndex(QString::fromUtf8(text)), index) << text;
}

} // namespace
} // namespace yubin
