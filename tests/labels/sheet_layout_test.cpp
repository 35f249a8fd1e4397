#include "labels/sheet_layout.h"

#include <gtest/gtest.h>

namespace yubin::labels {
namespace {

// Layouts by their text, and what keeps each from being printed: the sheet,
// then the barcode at the code size.
TEST(SheetLayouts, RefuseWhatDoesNotFit) {
    const struct {
        QString text;
        int codeSize;
        QString problem; // empty: printable
    } cases[] = {
        {u"12"_qs, 1, {}},
        {u"12"_qs, 2, {}},
        {u"12"_qs, 3,
         u"86.4×42.3 mm のラベルには、コードサイズ 3（11.5 pt）のカスタマバーコード（余白 2 mm "
         "を含めて 95.77×8.14 mm）と宛名が収まりません。コードサイズ 1・2 なら収まります"_qs},
        {u"21"_qs, 1, {}},
        {u"21"_qs, 2,
         u"70×42.3 mm のラベルには、コードサイズ 2（10 pt）のカスタマバーコード（余白 2 mm "
         "を含めて 83.8×7.6 mm）と宛名が収まりません。コードサイズ 1 なら収まります"_qs},
        {u"24"_qs, 1, {}},
        {u"3x8:66.04x33.9:12.9,5.94:66.04,33.9"_qs, 1,
         u"66.04×33.9 mm のラベルには、コードサイズ 1（8 pt）のカスタマバーコード（余白 2 mm "
         "を含めて 67.84×6.88 mm）と宛名が収まりません。どのコードサイズも収まりません"_qs},
        {u"2x5:100x50:10,5:102,55"_qs, 3, {}},
        // Ends exactly at the paper's edges.
        {u"1x1:210x297:0,0:210,297"_qs, 3, {}},
        {u"2x1:100x50:0,0:99,50"_qs, 1,
         u"ラベルが重なります（ピッチ 99×50 mm がラベル 100×50 mm より小さい）"_qs},
        {u"3x6:70x50:0,0.5:70,50"_qs, 1,
         u"ラベルがA4（210×297 mm）に収まりません（右端 210.5 mm、下端 300 mm）"_qs},
        {u"0x6:70x50:0,0:70,50"_qs, 1,
         u"ラベルの配置は1～20列、1～40行で、幅と高さは0より大きくしてください"_qs},
    };
    for (const auto& c : cases) {
        QString error;
        const std::optional<SheetLayout> layout = parseLayout(c.text, &error);
        ASSERT_TRUE(layout) << error.toStdString();
        EXPECT_EQ(printProblem(*layout, c.codeSize).value_or(QString()), c.problem)
            << c.text.toStdString();
    }
    QString error;
    EXPECT_FALSE(parseLayout(u"2x6:86.4x42.3"_qs, &error));
    EXPECT_EQ(error, u"ラベルの配置「2x6:86.4x42.3」が読めません（12、21、24、または "
                     "列x行:幅x高さ:上余白,左余白:横ピッチ,縦ピッチ を mm で）"_qs);
}

// Without a chosen size a sheet takes 10 pt where its labels hold it, else
// the largest size they hold.
TEST(SheetLayouts, WrittenInTheFormTheyAreRead) {
    const std::pair<const char*, const char*> cases[] = {
        {"12", "2x6:86.4x42.3:21.5,18.6:86.4,42.3"},
        {"21", "3x7:70x42.3:0.45,0:70,42.3"},
        {"24", "3x8:70x33.9:12.9,0:70,33.9"},
        {"1X2:50.10x40:10,10.5:60,45", "1x2:50.1x40:10,10.5:60,45"},
    };
    for (const auto& [given, written] : cases)
        EXPECT_EQ(layoutText(*parseLayout(QString::fromLatin1(given), nullptr)),
                  QLatin1String(written));
}

TEST(SheetLayouts, CodeSizeWhenNoneIsChosen) {
    const std::pair<QString, int> cases[] = {
        {u"12"_qs, 2},
        {u"21"_qs, 1},
        {u"24"_qs, 1},
        {u"1x1:100x60:0,0:100,60"_qs, 2},
        {u"3x8:66.04x33.9:12.9,5.94:66.04,33.9"_qs, 2},
    };
    for (const auto& [text, size] : cases)
        EXPECT_EQ(fittingCodeSize(*parseLayout(text, nullptr)), size) << text.toStdString();
}

} // namespace
} // namespace yubin::labels
