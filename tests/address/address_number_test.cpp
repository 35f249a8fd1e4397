#include "address/address_number.h"
#include "address/address_text.h"
#include "address/town_note.h"

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

TEST(KanjiNumber, ReadsBothWritings) {
    const std::pair<const char16_t*, std::optional<int>> cases[] = {
        {u"十一", 11},           {u"二十一", 21},           {u"百三", 103},
        {u"一〇三", 103},        {u"千二百三十四", 1234},   {u"十", 10},
        {u"十十", std::nullopt}, {u"三百千", std::nullopt},
    };
    for (const auto& [run, value] : cases)
        EXPECT_EQ(kanjiNumberValue(run), value) << QString::fromUtf16(run).toStdString();
}

TEST(FoldForMatch, AcceptsTheCommonVariants) {
    const std::pair<const char16_t*, const char16_t*> same[] = {
        {u"霞が関", u"霞ヶ関"},    {u"鎌ケ谷", u"鎌ヶ谷"},  {u"一之江", u"一の江"},
        {u"北六条西", u"北6条西"}, {u"北 ６条", u"北六条"}, {u"ａｂ", u"AB"},
    };
    for (const auto& [a, b] : same)
        EXPECT_EQ(folded(a), folded(b)) << QString::fromUtf16(a).toStdString();
    const FoldedText f = foldForMatch(u"十一 丁");
    EXPECT_EQ(f.text, u"11丁"_qs);
    EXPECT_EQ(f.origin, (std::vector<qsizetype>{0, 0, 3, 4}));
}

TEST(TownNote, ReadsEachKindOfNote) {
    using Kind = TownNote::Kind;
    const std::tuple<const char16_t*, Kind, int, int> cases[] = {
        {u"", Kind::None, 0, 0},
        {u"１～７丁目", Kind::Chome, 1, 7},
        {u"８〜２０丁目", Kind::Chome, 8, 20},
        {u"３丁目", Kind::Chome, 3, 3},
        {u"丁目", Kind::AnyChome, 0, 0},
        {u"番地", Kind::Banchi, 0, 0},
        {u"１２階", Kind::Floor, 12, 12},
        {u"地階・階層不明", Kind::FloorUnknown, 0, 0},
        {u"次のビルを除く", Kind::ExceptBuildings, 0, 0},
        {u"その他", Kind::Others, 0, 0},
        {u"６～１５番地", Kind::Named, 0, 0},
    };
    for (const auto& [text, kind, from, to] : cases) {
        const TownNote note = parseTownNote(text);
        EXPECT_EQ(std::tuple(note.kind, note.from, note.to), std::tuple(kind, from, to))
            << QString::fromUtf16(text).toStdString();
    }
    const TownName split = splitTownName(u"名駅ビル（高層棟）（１階）");
    EXPECT_EQ(split.base + u'|' + split.note, u"名駅ビル|１階"_qs);
}

TEST(AddressFacts, ReadsChomeFloorAndBasement) {
    const std::tuple<const char16_t*, std::optional<int>, std::optional<int>, bool> cases[] = {
        {u"8丁目3-1", 8, std::nullopt, false},
        {u"8-3-1", 8, std::nullopt, false},
        {u"8番地", std::nullopt, std::nullopt, false},
        {u"ビル12階", std::nullopt, 12, false},
        {u"3F", std::nullopt, 3, false},
        {u"B1F", std::nullopt, std::nullopt, true},
        {u"地階", std::nullopt, std::nullopt, true},
    };
    for (const auto& [b, chome, floor, basement] : cases) {
        const AddressFacts facts = readAddressFacts(b);
        EXPECT_EQ(std::tuple(facts.chome, facts.floor, facts.basement),
                  std::tuple(chome, floor, basement))
            << QString::fromUtf16(b).toStdString();
    }
}

} // namespace
} // namespace yubin::address
