#include "main_window/main_layout.h"

#include <gtest/gtest.h>

namespace yubin {
namespace {

TEST(MainCaption, WritesTheRevisionAfterTheMinorVersion) {
    EXPECT_EQ(mainCaption(1, 2, 7, false), QStringLiteral("〒　郵便番号検索 (Q&O)       Ver1.27") +
                                               QString(50, u' ') + QStringLiteral("(C) Zunelka"));
    EXPECT_EQ(mainCaption(1, 2, 7, true), QStringLiteral("〒　郵便番号検索 (Q&O)       Ver1.27") +
                                              QString(38, u' ') + QStringLiteral("(C) Zunelka"));
}

TEST(MainLayout, ScreenOfExactlyTenThousandTwipsIsNormal) {
    const MainLayout normal = mainLayout(19200, 10000, 1, 0, 0);
    EXPECT_FALSE(normal.compact);
    EXPECT_EQ(normal.windowHeight, 10185);
    EXPECT_EQ(normal.windowWidth, 13200);
    EXPECT_EQ(normal.list1Height, 8835);
    EXPECT_EQ(normal.list3Height, 8805);
    EXPECT_EQ(normal.list3Width, 6600);
    // Centred, 200 twips higher: 5000 - 5092 - 200; 9600 - 6600.
    EXPECT_EQ(normal.windowTop, -292);
    EXPECT_EQ(normal.windowLeft, 3000);

    const MainLayout compact = mainLayout(19200, 9999, 1, 0, 0);
    EXPECT_TRUE(compact.compact);
    EXPECT_EQ(compact.windowHeight, 8895);
    EXPECT_EQ(compact.windowWidth, 12000);
    EXPECT_EQ(compact.list1Height, 7470);
    EXPECT_EQ(compact.list3Height, 7440);
    EXPECT_EQ(compact.list3Width, 5400);
    // Centred, 150 twips higher: 4999 - 4447 - 150; 9600 - 6000.
    EXPECT_EQ(compact.windowTop, 402);
    EXPECT_EQ(compact.windowLeft, 3600);
}

} // namespace
} // namespace yubin
