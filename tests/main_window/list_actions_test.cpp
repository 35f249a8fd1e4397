#include "main_window/browse.h"
#include "main_window/list_actions.h"

#include <gtest/gtest.h>

#include <optional>

namespace yubin {

void PrintTo(const MapRequest& r, std::ostream* os) {
    *os << r.address.toStdString() << " / " << r.mode;
}

namespace {

// ---- shift state and keys ---------------------------------------------------

struct ShiftCase {
    Qt::KeyboardModifiers modifiers;
    qint16 state;
    bool gesture;
};

class ShiftStates : public testing::TestWithParam<ShiftCase> {};

TEST_P(ShiftStates, SumShiftCtrlAndAltAndCountOnlyOneAlone) {
    EXPECT_EQ(shiftState(GetParam().modifiers), GetParam().state);
    EXPECT_EQ(isGestureShift(GetParam().state), GetParam().gesture);
}

INSTANTIATE_TEST_SUITE_P(
    Modifiers, ShiftStates,
    testing::Values(ShiftCase{Qt::NoModifier, 0, false}, ShiftCase{Qt::ShiftModifier, 1, true},
                    ShiftCase{Qt::ControlModifier, 2, true},
                    ShiftCase{Qt::ShiftModifier | Qt::ControlModifier, 3, false},
                    ShiftCase{Qt::AltModifier, 4, false},
                    ShiftCase{Qt::ShiftModifier | Qt::AltModifier, 5, false},
                    ShiftCase{Qt::ControlModifier | Qt::AltModifier, 6, false},
                    ShiftCase{Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 7, false},
                    // The keypad and Windows keys are no part of the state.
                    ShiftCase{Qt::ControlModifier | Qt::KeypadModifier, 2, true},
                    ShiftCase{Qt::MetaModifier, 0, false}));

struct KeyCodeCase {
    int key;
    qint16 code;
};

class DesktopKeyCodes : public testing::TestWithParam<KeyCodeCase> {};

TEST_P(DesktopKeyCodes, FollowTheDesktopNumbering) {
    EXPECT_EQ(desktopKeyCode(GetParam().key), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Keys, DesktopKeyCodes,
                         testing::Values(KeyCodeCase{Qt::Key_V, 86}, KeyCodeCase{Qt::Key_C, 67},
                                         KeyCodeCase{Qt::Key_0, 48}, KeyCodeCase{Qt::Key_Enter, 13},
                                         KeyCodeCase{Qt::Key_Control, 17},
                                         KeyCodeCase{Qt::Key_Down, 40},
                                         KeyCodeCase{Qt::Key_F12, 123},
                                         KeyCodeCase{Qt::Key_Menu, 0}));

struct KeyGestureCase {
    int key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    bool copies;
    qint16 shiftAfter;
    qint16 keyCodeAfter;
};

class KeyGestures : public testing::TestWithParam<KeyGestureCase> {};

TEST_P(KeyGestures, CopyOnlyOnCtrlVAndClearTheStateOnEveryTypingKey) {
    const KeyGestureCase& c = GetParam();
    qint16 shift = 7;
    qint16 keyCode = 99;
    EXPECT_EQ(takeKeyGesture(c.key, c.modifiers, QString::fromLatin1(c.text), shift, keyCode),
              c.copies);
    EXPECT_EQ(shift, c.shiftAfter);
    EXPECT_EQ(keyCode, c.keyCodeAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyGestures,
    testing::Values(
        KeyGestureCase{Qt::Key_V, Qt::ControlModifier, "\x16", true, 0, 0},
        KeyGestureCase{Qt::Key_C, Qt::ControlModifier, "\x03", false, 0, 0},
        KeyGestureCase{Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier, "\x16", false, 0, 0},
        KeyGestureCase{Qt::Key_V, Qt::ControlModifier | Qt::AltModifier, "v", false, 0, 0},
        KeyGestureCase{Qt::Key_V, Qt::ShiftModifier, "V", false, 0, 0},
        KeyGestureCase{Qt::Key_V, Qt::NoModifier, "v", false, 0, 0},
        // Keys that type nothing only store their key-down.
        KeyGestureCase{Qt::Key_Control, Qt::ControlModifier, "", false, 2, 17},
        KeyGestureCase{Qt::Key_Down, Qt::ShiftModifier, "", false, 1, 40}));

class DoubleClickGestures : public testing::TestWithParam<int> {};

TEST_P(DoubleClickGestures, CountShiftOrCtrlAloneAndAlwaysSpendTheState) {
    qint16 shift = qint16(GetParam());
    EXPECT_EQ(takeDoubleClickGesture(shift), GetParam() == 1 || GetParam() == 2);
    EXPECT_EQ(shift, 0);
}

INSTANTIATE_TEST_SUITE_P(States, DoubleClickGestures, testing::Range(0, 8));

// ---- the lines ------------------------------------------------------------------

TEST(PostalCodeText, IsThreeDigitsAHyphenAndFourDigits) {
    EXPECT_TRUE(isPostalCodeText(u"060-0042"));
    EXPECT_FALSE(isPostalCodeText(u"0600042"));
    EXPECT_FALSE(isPostalCodeText(u"06-00042"));
    EXPECT_FALSE(isPostalCodeText(u"060-004"));
    EXPECT_FALSE(isPostalCodeText(u"060-00421"));
    EXPECT_FALSE(isPostalCodeText(u"０６０-００４２"));
    EXPECT_FALSE(isPostalCodeText(u"060-00a2"));
    EXPECT_TRUE(isTownListLine(u"060-0042  札幌市中央区大通西 (おおどおりにし)"));
    EXPECT_TRUE(isTownListLine(u"100-1100 三宅村一円(みやけむら)"));
    EXPECT_FALSE(isTownListLine(u"060-0042"));
    EXPECT_FALSE(isTownListLine(u"060-0042札幌市"));
    EXPECT_FALSE(isTownListLine(u"都道府県を指定してください"));
}

struct MunicipalityCase {
    const char16_t* line;
    BrowseMode mode;
    std::optional<MapRequest> request;
};

class MunicipalityMapRequests : public testing::TestWithParam<MunicipalityCase> {};

TEST_P(MunicipalityMapRequests, PassTheNameWithoutReadingOrPrefecture) {
    const MunicipalityCase& c = GetParam();
    EXPECT_EQ(municipalityMapRequest(QString::fromUtf16(c.line), c.mode), c.request);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MunicipalityMapRequests,
    testing::Values(
        MunicipalityCase{u"さ 札幌市中央区 (さつぽろしちゆうおうく)", BrowseMode::Prefecture,
                         MapRequest{"札幌市中央区", 0}},
        MunicipalityCase{u"あ 旭川市 (あさひかわし)", BrowseMode::Prefecture,
                         MapRequest{"旭川市", 0}},
        // The full-width parenthesis is looked for first.
        MunicipalityCase{u"え 江別市（仮） (えべつし)", BrowseMode::Prefecture,
                         MapRequest{"江別市", 0}},
        MunicipalityCase{u"ニ 日本商事株式会社", BrowseMode::BusinessOffice,
                         MapRequest{"日本商事株式会社", 99}},
        // An office with an empty reading has no leading character; its
        // name keeps its first character.
        MunicipalityCase{u" 外務省", BrowseMode::BusinessOffice, MapRequest{"外務省", 99}},
        MunicipalityCase{u" 札幌市 ()", BrowseMode::Prefecture, MapRequest{"札幌市", 0}},
        // One character is no name to look up.
        MunicipalityCase{u"つ 津 (つ)", BrowseMode::Prefecture, std::nullopt},
        MunicipalityCase{u"ア ア", BrowseMode::BusinessOffice, std::nullopt},
        MunicipalityCase{u"都道府県を指定してください", BrowseMode::Prefecture, std::nullopt},
        MunicipalityCase{u"都道府県を指定してください", BrowseMode::BusinessOffice, std::nullopt},
        MunicipalityCase{u"", BrowseMode::Prefecture, std::nullopt}));

struct TownCase {
    const char16_t* line;
    std::optional<QString> mapAddress; // after 北海道
    QString barZipCode;
    std::optional<QString> copied; // prefecture mode
};

class TownLineActions : public testing::TestWithParam<TownCase> {};

TEST_P(TownLineActions, GiveTheirAddressCodeAndCopyText) {
    const TownCase& c = GetParam();
    const QString line = QString::fromUtf16(c.line);
    EXPECT_EQ(townMapAddress(line, QStringLiteral("北海道")), c.mapAddress);
    EXPECT_EQ(townBarZipCode(line), c.barZipCode);
    EXPECT_EQ(townCopyText(line, BrowseMode::Prefecture), c.copied);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TownLineActions,
    testing::Values(
        TownCase{u"064-0941  札幌市中央区旭ケ丘 (あさひがおか)", "北海道札幌市中央区旭ケ丘",
                 "0640941", "064-0941  札幌市中央区旭ケ丘"},
        // Cut before the full-width note for the map, before the reading for
        // the copy.
        TownCase{u"060-0042  札幌市中央区大通西（１～１９丁目） (おおどおりにし(1-19ちようめ))",
                 "北海道札幌市中央区大通西", "0600042",
                 "060-0042  札幌市中央区大通西（１～１９丁目）"},
        TownCase{u"100-1100 三宅村一円(みやけむら)", "北海道三宅村一円", "1001100", "100-1100"},
        // The catch-all line is no place; its copy is the code alone.
        TownCase{u"060-0000  以下に掲載がない場合", std::nullopt, "0600000", "060-0000"},
        TownCase{u"都道府県を指定してください", std::nullopt, "", std::nullopt},
        TownCase{u"", std::nullopt, "", std::nullopt},
        TownCase{u"060-0042", std::nullopt, "", std::nullopt},
        TownCase{u"060-004  札幌市 (さつぽろし)", std::nullopt, "", std::nullopt}));

TEST(TownLineFormats, OfficeLinesMapToTheirAddressAndCopyWhole) {
    const QString line = QStringLiteral("100-8799  千代田区丸の内１－１");
    EXPECT_EQ(townMapAddress(line, QStringLiteral("東京都")),
              QStringLiteral("東京都千代田区丸の内１－１"));
    EXPECT_EQ(townBarZipCode(line), QStringLiteral("1008799"));
    EXPECT_EQ(townCopyText(line, BrowseMode::BusinessOffice), line);
    EXPECT_EQ(
        townCopyText(QStringLiteral("都道府県を指定してください"), BrowseMode::BusinessOffice),
        std::nullopt);
}

TEST(TownLineFormats, TheLinesTheTownListShowsAreActedOn) {
    // The three formats as the town list writes them.
    const RecordRow ordinary{"0600042", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｵｵﾄﾞｵﾘﾆｼ", "札幌市中央区",
                             "大通西（１～１９丁目）"};
    const RecordRow wholeArea{"1001100", "ﾐﾔｹｼﾞﾏﾐﾔｹﾑﾗ", "ﾐﾔｹﾑﾗｲﾁｴﾝ", "三宅島三宅村", "三宅村一円"};
    const RecordRow catchAll{"0600000", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "札幌市中央区",
                             CatchAllTown};
    EXPECT_EQ(townMapAddress(townLine(ordinary), "北海道"), "北海道札幌市中央区大通西");
    EXPECT_EQ(townCopyText(townLine(ordinary), BrowseMode::Prefecture),
              "060-0042  札幌市中央区大通西（１～１９丁目）");
    EXPECT_EQ(townMapAddress(townLine(wholeArea), "東京都"), "東京都三宅村一円");
    EXPECT_EQ(townCopyText(townLine(wholeArea), BrowseMode::Prefecture), "100-1100");
    EXPECT_EQ(townMapAddress(townLine(catchAll), "北海道"), std::nullopt);
    EXPECT_EQ(townCopyText(townLine(catchAll), BrowseMode::Prefecture), "060-0000");
    // The lines of a town search are ordinary lines.
    EXPECT_EQ(townMapAddress(ordinaryTownLine(wholeArea), "東京都"),
              "東京都三宅島三宅村三宅村一円");
}

TEST(CopyConfirmation, NamesTheCopiedTextAndEndsInItsBlanks) {
    EXPECT_EQ(copyConfirmationText(QStringLiteral("060-0000")),
              QStringLiteral("ｺﾋﾟｰ文字列 ： 060-0000        \r\rｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました。     "));
    EXPECT_EQ(CopyMessageTitle, QStringLiteral("郵便番号検索"));
}

} // namespace
} // namespace yubin
