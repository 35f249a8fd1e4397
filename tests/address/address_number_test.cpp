#include "address/address_number.h"
#include "address/address_text.h"

#include <gtest/gtest.h>

namespace yubin::address {
namespace {

struct NumberCase {
    const char16_t* addressB;
    const char16_t* number;
    bool lettersDropped;
};

TEST(AddressNumber, FollowsTheBarcodeManualRules) {
    const NumberCase cases[] = {
        // The manual's own examples.
        {u"1丁目3番2号　郵便プラザ503室", u"1-3-2-503", false},
        {u"3丁目30-8　郵便ビル403号", u"3-30-8-403", false},
        {u"十一丁目六番地一号　郵便タワー601", u"11-6-1-601", false},
        // Width, case and hyphen-like signs.
        {u"１２－３４ｂ", u"12-34B", false},
        {u"1‐2―3−4ｰ5ー6", u"1-2-3-4-5-6", false},
        {u"コーポ5", u"5", false},
        // Kanji numbers only before their words; 第 goes with them.
        {u"二十一番地百三号", u"21-103", false},
        {u"第三地割5", u"3-5", false},
        {u"一〇三線四の5ノ六", u"103-4-5", false},
        {u"五十嵐2", u"2", false},
        // Deleted signs close the gap.
        {u"1&2/3・4.5", u"12345", false},
        // A floor after digits separates.
        {u"10F", u"10", false},
        {u"1F1号", u"1-1", false},
        // Letters: alone they stay, without hyphens beside them; side by
        // side they go.
        {u"A-1", u"A1", false},
        {u"1-a棟", u"1A", false},
        {u"1AB2", u"1-2", true},
        {u"3丁目ABCビル", u"3", true},
        {u"--1--2--", u"1-2", false},
        {u"", u"", false},
        {u"　霞が関ビル　", u"", false},
    };
    for (const NumberCase& c : cases) {
        const AddressNumber n = addressNumber(c.addressB);
        EXPECT_EQ(n.number, QString::fromUtf16(c.number))
            << QString::fromUtf16(c.addressB).toStdString();
        EXPECT_EQ(n.lettersDropped, c.lettersDropped)
            << QString::fromUtf16(c.addressB).toStdString();
    }
}

TEST(AddressNumber, LettersTakeTwoBarcodePlaces) {
    EXPECT_EQ(barcodePlaces(u"1-3-2-503"), 9);
    EXPECT_EQ(barcodePlaces(u"12A3"), 5);
}

TEST(FoldForMatch, AcceptsTheCommonVariants) {
    const std::pair<const char16_t*, const char16_t*> same[] = {
        {u"霞が関", u"霞ヶ関"},
        {u"鎌ケ谷", u"鎌ヶ谷"},
        {u"一之江", u"一の江"},
        {u"北六条西", u"北6条西"},
        {u"北 ６条", u"北六条"},
        {u"ａｂ", u"AB"},
        // Old and variant kanji, a variation selector, small kana.
        {u"龍ケ崎", u"竜ヶ﨑"},
        {u"渡邊", u"渡辺"},
        {u"齋藤", u"斉藤"},
        {u"髙田", u"高田"},
        {u"葛\U000E0100飾", u"葛飾"},
        {u"祇園", u"祗園"},
        {u"ニッポン", u"ニツポン"},
        {u"1ー2", u"1-2"},
    };
    for (const auto& [a, b] : same)
        EXPECT_EQ(folded(a), folded(b)) << QString::fromUtf16(a).toStdString();
    const FoldedText f = foldForMatch(u"十一 丁");
    EXPECT_EQ(f.text, u"11丁"_qs);
    EXPECT_EQ(f.origin, (std::vector<qsizetype>{0, 0, 3, 4}));
}

} // namespace
} // namespace yubin::address
