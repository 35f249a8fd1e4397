#include "main_window/main_layout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace yubin {
namespace {

TEST(MainCaption, WritesTheRevisionAfterTheMinorVersion) {
    EXPECT_EQ(mainCaption(1, 2, 7, false), QStringLiteral("〒　郵便番号検索 (Q&O)       Ver1.27") +
                                               QString(50, u' ') + QStringLiteral("(C) Zunelka"));
    EXPECT_EQ(mainCaption(1, 2, 7, true), QStringLiteral("〒　郵便番号検索 (Q&O)       Ver1.27") +
                                              QString(38, u' ') + QStringLiteral("(C) Zunelka"));
}

TEST(MainLayout, ScreenOfExactlyTenThousandTwipsIsNormal) {
    // Centred and raised by 200 twips (normal) or 150 (compact):
    // 5000 - 5092 - 200 = -292 and 9600 - 6600 = 3000; 4999 - 4447 - 150 = 402
    // and 9600 - 6000 = 3600.
    using Sizes = std::tuple<bool, int, int, int, int, int, int, int>;
    for (const auto& [screenHeight, sizes] :
         {std::pair{10000, Sizes{false, 10185, 13200, 8835, 8805, 6600, -292, 3000}},
          std::pair{9999, Sizes{true, 8895, 12000, 7470, 7440, 5400, 402, 3600}}}) {
        const MainLayout l = mainLayout(19200, screenHeight, 1, 0, 0);
        EXPECT_EQ(Sizes(l.compact, l.windowHeight, l.windowWidth, l.list1Height, l.list3Height,
                        l.list3Width, l.windowTop, l.windowLeft),
                  sizes)
            << screenHeight;
    }
}

} // namespace
} // namespace yubin
