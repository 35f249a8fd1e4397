#include "address/address_text.h"
#include "address/town_note.h"

#include <gtest/gtest.h>

namespace yubin::address {
namespace {

// A note of each published form and addresses after the town that it fits,
// fits perhaps, or does not: No, Maybe, Rest, Yes.
struct NoteCase {
    const char16_t* note;
    const char16_t* addressB;
    Fit fit;
};

class NoteFits : public ::testing::TestWithParam<NoteCase> {};

TEST_P(NoteFits, AsThePublishedFormMeans) {
    const NoteCase& c = GetParam();
    const Fit fit = noteFit(parseTownNote(c.note), readAddressFacts(folded(c.addressB)));
    EXPECT_EQ(int(fit), int(c.fit)) << QString::fromUtf16(c.note).toStdString() << " / "
                                    << QString::fromUtf16(c.addressB).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Chome, NoteFits,
    ::testing::Values(
        NoteCase{u"１～３丁目", u"2丁目5-1", Fit::Yes},
        NoteCase{u"１～３丁目", u"5丁目12-8", Fit::No},
        NoteCase{u"１～３丁目", u"三丁目", Fit::Yes}, NoteCase{u"１～３丁目", u"3-12-8", Fit::Yes},
        NoteCase{u"１～３丁目", u"12", Fit::Maybe}, NoteCase{u"１～３丁目", u"", Fit::Maybe},
        NoteCase{u"４、５丁目", u"5丁目12-8", Fit::Yes},
        NoteCase{u"４、５丁目", u"3丁目1", Fit::No}, NoteCase{u"１丁目、３丁目", u"3-1", Fit::Yes},
        NoteCase{u"１丁目、３丁目", u"2-1", Fit::No}, NoteCase{u"丁目", u"2丁目1", Fit::Yes},
        NoteCase{u"丁目", u"5番地", Fit::No}, NoteCase{u"番地", u"５番地", Fit::Yes},
        NoteCase{u"番地", u"2丁目1", Fit::No}, NoteCase{u"番地", u"2-1", Fit::Maybe}));

// 1丁目; 2丁目 but not its 651, 662, 668番地; and in 3丁目 only 5, 13-4,
// 20, 678 and 687番地.
constexpr const char16_t* Mixed = u"１丁目、２丁目「６５１、６６２、６６８番地」以外、３丁目５、１"
                                  u"３－４、２０、６７８、６８７番地";

INSTANTIATE_TEST_SUITE_P(
    ListsAndExclusions, NoteFits,
    ::testing::Values(
        NoteCase{Mixed, u"1丁目9", Fit::Yes}, NoteCase{Mixed, u"2丁目650", Fit::Yes},
        NoteCase{Mixed, u"2丁目662", Fit::No}, NoteCase{Mixed, u"3丁目13-4", Fit::Yes},
        NoteCase{Mixed, u"3丁目13-5", Fit::No}, NoteCase{Mixed, u"3丁目687", Fit::Yes},
        NoteCase{Mixed, u"3丁目688", Fit::No}, NoteCase{Mixed, u"4丁目1", Fit::No},
        NoteCase{u"３６４９番地、３６６１番地", u"3661", Fit::Yes},
        NoteCase{u"３６４９番地、３６６１番地", u"3650番地", Fit::No},
        NoteCase{u"１～１９番地", u"19番地2", Fit::Yes},
        NoteCase{u"２５１～２７０番地", u"250", Fit::No},
        NoteCase{u"２５１～２７０番地", u"二百六十番地", Fit::Yes},
        NoteCase{u"２００番以上", u"200", Fit::Yes}, NoteCase{u"２００番以上", u"199", Fit::No},
        NoteCase{u"１－１～５、２－３番地", u"1-4", Fit::Yes},
        NoteCase{u"１－１～５、２－３番地", u"1-6", Fit::No},
        NoteCase{u"１－１～５、２－３番地", u"1", Fit::Maybe},
        NoteCase{u"４００番地、４００－２番地", u"400-2", Fit::Yes},
        NoteCase{u"１０番地以上「１２－３を除く」", u"12-3", Fit::No},
        NoteCase{u"１０番地以上「１２－３を除く」", u"12-4", Fit::Yes},
        NoteCase{u"２丁目「５を除く」", u"2丁目5-1", Fit::No},
        NoteCase{u"２丁目「５を除く」", u"2丁目6-1", Fit::Yes},
        NoteCase{u"１丁目１～５番", u"1丁目3番4号", Fit::Yes},
        NoteCase{u"１丁目１～５番", u"1丁目6番", Fit::No}));

INSTANTIATE_TEST_SUITE_P(
    ChiwariAndNamedParts, NoteFits,
    ::testing::Values(NoteCase{u"第１地割～第３地割", u"第2地割15", Fit::Yes},
                      NoteCase{u"第１地割～第３地割", u"4地割15", Fit::No},
                      NoteCase{u"３地割", u"第三地割1", Fit::Yes},
                      NoteCase{u"上勇知、下勇知、夕来", u"下勇知123", Fit::Yes},
                      NoteCase{u"上勇知、下勇知、夕来", u"抜海", Fit::No},
                      NoteCase{u"上勇知、下勇知、夕来", u"", Fit::Maybe},
                      NoteCase{u"石堂、下久保「１０を除く」", u"下久保10", Fit::No},
                      NoteCase{u"石堂、下久保「１０を除く」", u"下久保11", Fit::Yes},
                      NoteCase{u"土浮山１～５番地", u"土浮山3", Fit::Yes},
                      NoteCase{u"南", u"1丁目南3", Fit::Yes},
                      NoteCase{u"前川原１～５番地〔発電所構内〕", u"前川原2", Fit::Yes},
                      NoteCase{u"２～５「古町」", u"3", Fit::Yes}));

INSTANTIATE_TEST_SUITE_P(
    BuildingsAndTheRest, NoteFits,
    ::testing::Values(NoteCase{u"１２階", u"12階", Fit::Yes}, NoteCase{u"１２階", u"12F", Fit::Yes},
                      NoteCase{u"１２階", u"13階", Fit::No}, NoteCase{u"１２階", u"", Fit::No},
                      NoteCase{u"１階", u"B1F", Fit::No},
                      NoteCase{u"地階・階層不明", u"", Fit::Rest},
                      NoteCase{u"地階・階層不明", u"地下1階", Fit::Yes},
                      NoteCase{u"次のビルを除く", u"1-3-2", Fit::Rest},
                      NoteCase{u"その他", u"999", Fit::Rest},
                      NoteCase{u"立川山を含む", u"5", Fit::Rest}, NoteCase{u"", u"5", Fit::Yes}));

// An unreadable note is a candidate at most, never a match.
INSTANTIATE_TEST_SUITE_P(Unreadable, NoteFits,
                         ::testing::Values(NoteCase{u"第１地割「１～５」～第３地割「１～９」",
                                                    u"第1地割3", Fit::Maybe},
                                           NoteCase{u"「", u"1", Fit::Maybe}));

TEST(StreetNote, FitsOnlyTheStreetItNames) {
    const TownNote note = parseTownNote(u"河原町通二条下る、二条通河原町東入");
    const auto fit = [&](const char16_t* street) {
        return noteFit(note, readAddressFacts(u"537", folded(street)));
    };
    EXPECT_EQ(fit(u"河原町通二条下ル"), Fit::Yes);
    EXPECT_EQ(fit(u"二条通河原町東入る"), Fit::Yes);
    EXPECT_EQ(fit(u"寺町通御池上る"), Fit::Rest);
    EXPECT_EQ(fit(u""), Fit::Rest);
}

TEST(TownName, TheLastParenthesesHoldTheNote) {
    const TownName split = splitTownName(u"名駅ビル（高層棟）（１階）");
    EXPECT_EQ(split.base + u'|' + split.note, QStringLiteral("名駅ビル|１階"));
    EXPECT_TRUE(parseTownNote(split.note).isFloor());
}

} // namespace
} // namespace yubin::address
