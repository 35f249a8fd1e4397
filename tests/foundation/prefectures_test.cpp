#include "foundation/prefectures.h"

#include <gtest/gtest.h>

namespace yubin {
namespace {

TEST(Prefectures, SharedTableHasBusinessOfficesFirstAndThreeEmptySlots) {
    const QStringList names = makePrefectureNames();
    ASSERT_EQ(names.size(), 51);
    EXPECT_EQ(names[0], QStringLiteral("事業所"));
    EXPECT_EQ(names[1], QStringLiteral("北海道"));
    EXPECT_EQ(names[13], QStringLiteral("東京都"));
    EXPECT_EQ(names[14], QStringLiteral("神奈川県"));
    EXPECT_EQ(names[47], QStringLiteral("沖縄県"));
    EXPECT_TRUE(names[48].isEmpty() && names[49].isEmpty() && names[50].isEmpty());
}

TEST(Prefectures, CodesAndSplitFileNamesFollowTheTable) {
    const auto& table = prefectureTable();
    for (int i = 1; i <= PrefectureCount; ++i) {
        const QString code = prefectureCode(i);
        EXPECT_EQ(code, QLatin1String(table[i - 1].code));
        EXPECT_TRUE(QString::fromLatin1(table[i - 1].splitFile).startsWith(code));
        EXPECT_TRUE(QString::fromLatin1(table[i - 1].splitFile).endsWith(u".CSV"));
    }
    EXPECT_EQ(prefectureCode(1), "01");
    EXPECT_EQ(prefectureCode(0), "00");
    EXPECT_EQ(QString::fromLatin1(table[9].splitFile), "10gumma.CSV");
    EXPECT_EQ(QString::fromLatin1(table[25].splitFile), "26kyouto.CSV");
}

TEST(Prefectures, IndexFromCodeOrName) {
    EXPECT_EQ(prefectureIndex(QStringLiteral("14")), 14);
    EXPECT_EQ(prefectureIndex(QStringLiteral("神奈川県")), 14);
    EXPECT_EQ(prefectureIndex(QStringLiteral("01")), 1);
    EXPECT_EQ(prefectureIndex(QStringLiteral("1")), 0);
    EXPECT_EQ(prefectureIndex(QStringLiteral("48")), 0);
    EXPECT_EQ(prefectureIndex(QStringLiteral("事業所")), 0);
    EXPECT_EQ(prefectureIndex(QStringLiteral("神奈川")), 0);
}

} // namespace
} // namespace yubin
