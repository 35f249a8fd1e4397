#include "main_window/browse.h"
#include "main_window/list_actions.h"
#include "main_window/main_layout.h"

#include <gtest/gtest.h>

#include <optional>

namespace yubin {

void PrintTo(const MapRequest& r, std::ostream* os) {
    *os << r.address.toStdString() << " / " << r.mode;
}

namespace {

// ---- shift state and keys ---------------------------------------------------

TEST(ShiftState, SumsShiftCtrlAndAltAndCountsOnlyOneAloneAsAGesture) {
    using enum Qt::KeyboardModifier;
    const std::tuple<Qt::KeyboardModifiers, qint16, bool> cases[] = {
        {NoModifier, 0, false},
        {ShiftModifier, 1, true},
        {ControlModifier, 2, true},
        {ShiftModifier | ControlModifier, 3, false},
        {AltModifier, 4, false},
        {ShiftModifier | AltModifier, 5, false},
        {ControlModifier | AltModifier, 6, false},
        {ShiftModifier | ControlModifier | AltModifier, 7, false},
        // The keypad and Windows keys are no part of the state.
        {ControlModifier | KeypadModifier, 2, true},
        {MetaModifier, 0, false}};
    for (const auto& [modifiers, state, gesture] : cases) {
        EXPECT_EQ(shiftState(modifiers), state) << int(modifiers);
        EXPECT_EQ(isGestureShift(state), gesture) << state;
    }
    // A double-click takes the stored state and always spends it.
    for (qint16 stored = 0; stored < 8; ++stored) {
        qint16 shift = stored;
        EXPECT_EQ(takeDoubleClickGesture(shift), stored == 1 || stored == 2) << stored;
        EXPECT_EQ(shift, 0);
    }
}

TEST(KeyGestures, CopyOnlyOnCtrlVAndClearTheStateOnEveryTypingKey) {
    for (const auto& [key, code] : {std::pair{Qt::Key_V, 86},
                                    {Qt::Key_C, 67},
                                    {Qt::Key_0, 48},
                                    {Qt::Key_Enter, 13},
                                    {Qt::Key_Control, 17},
                                    {Qt::Key_Down, 40},
                                    {Qt::Key_F12, 123},
                                    {Qt::Key_Menu, 0}})
        EXPECT_EQ(desktopKeyCode(key), code) << key;
    using enum Qt::KeyboardModifier;
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        bool copies;
        qint16 shiftAfter, keyCodeAfter;
    } cases[] = {{Qt::Key_V, ControlModifier, "\x16", true, 0, 0},
                 {Qt::Key_C, ControlModifier, "\x03", false, 0, 0},
                 {Qt::Key_V, ControlModifier | ShiftModifier, "\x16", false, 0, 0},
                 {Qt::Key_V, ControlModifier | AltModifier, "v", false, 0, 0},
                 {Qt::Key_V, ShiftModifier, "V", false, 0, 0},
                 {Qt::Key_V, NoModifier, "v", false, 0, 0},
                 // Keys that type nothing only store their key-down.
                 {Qt::Key_Control, ControlModifier, "", false, 2, 17},
                 {Qt::Key_Down, ShiftModifier, "", false, 1, 40}};
    for (const auto& c : cases) {
        qint16 shift = 7, keyCode = 99;
        EXPECT_EQ(takeKeyGesture(c.key, c.modifiers, QString::fromLatin1(c.text), shift, keyCode),
                  c.copies)
            << c.key << ' ' << int(c.modifiers);
        EXPECT_EQ(shift, c.shiftAfter) << c.key;
        EXPECT_EQ(keyCode, c.keyCodeAfter) << c.key;
    }
}

// ---- the lines ------------------------------------------------------------------

TEST(PostalCodeText, IsThreeDigitsAHyphenAndFourDigits) {
    EXPECT_TRUE(isPostalCodeText(u"060-0042"));
    for (const char16_t* no :
         {u"0600042", u"06-00042", u"060-004", u"060-00421", u"０６０-００４２", u"060-00a2"})
        EXPECT_FALSE(isPostalCodeText(no)) << QString::fromUtf16(no).toStdString();
    EXPECT_TRUE(isTownListLine(u"100-1100 三宅村一円(みやけむら)"));
    for (const char16_t* no : {u"060-0042", u"060-0042札幌市", u"都道府県を指定してください"})
        EXPECT_FALSE(isTownListLine(no)) << QString::fromUtf16(no).toStdString();
}

TEST(MunicipalityMapRequests, PassTheNameWithoutReadingOrPrefecture) {
    const std::tuple<const char16_t*, BrowseMode, std::optional<MapRequest>> cases[] = {
        {u"さ 札幌市中央区 (さつぽろしちゆうおうく)", BrowseMode::Prefecture,
         MapRequest{"札幌市中央区", 0}},
        {u"あ 旭川市 (あさひかわし)", BrowseMode::Prefecture, MapRequest{"旭川市", 0}},
        // The full-width parenthesis is looked for first.
        {u"え 江別市（仮） (えべつし)", BrowseMode::Prefecture, MapRequest{"江別市", 0}},
        {u"ニ 日本商事株式会社", BrowseMode::BusinessOffice, MapRequest{"日本商事株式会社", 99}},
        // An office with an empty reading has no leading character; its
        // name keeps its first character.
        {u" 外務省", BrowseMode::BusinessOffice, MapRequest{"外務省", 99}},
        {u" 札幌市 ()", BrowseMode::Prefecture, MapRequest{"札幌市", 0}},
        // One character is no name to look up.
        {u"つ 津 (つ)", BrowseMode::Prefecture, std::nullopt},
        {u"ア ア", BrowseMode::BusinessOffice, std::nullopt},
        {u"都道府県を指定してください", BrowseMode::Prefecture, std::nullopt},
        {u"都道府県を指定してください", BrowseMode::BusinessOffice, std::nullopt},
        {u"", BrowseMode::Prefecture, std::nullopt}};
    for (const auto& [line, mode, request] : cases)
        EXPECT_EQ(municipalityMapRequest(QString::fromUtf16(line), mode), request)
            << QString::fromUtf16(line).toStdString();
}

TEST(TownLineActions, GiveTheirAddressCodeAndCopyText) {
    // Map address after 北海道, barcode postal code, copy in prefecture mode.
    const std::tuple<const char16_t*, std::optional<QString>, QString, std::optional<QString>>
        cases[] = {{u"064-0941  札幌市中央区旭ケ丘 (あさひがおか)", "北海道札幌市中央区旭ケ丘",
                    "0640941", "064-0941  札幌市中央区旭ケ丘"},
                   // Cut before the full-width note for the map, before the reading for
                   // the copy.
                   {u"060-0042  札幌市中央区大通西（１～１９丁目） (おおどおりにし(1-19ちようめ))",
                    "北海道札幌市中央区大通西", "0600042",
                    "060-0042  札幌市中央区大通西（１～１９丁目）"},
                   {u"100-1100 三宅村一円(みやけむら)", "北海道三宅村一円", "1001100", "100-1100"},
                   // The catch-all line is no place; its copy is the code alone.
                   {u"060-0000  以下に掲載がない場合", std::nullopt, "0600000", "060-0000"},
                   {u"都道府県を指定してください", std::nullopt, "", std::nullopt},
                   {u"", std::nullopt, "", std::nullopt},
                   {u"060-0042", std::nullopt, "", std::nullopt},
                   {u"060-004  札幌市 (さつぽろし)", std::nullopt, "", std::nullopt}};
    for (const auto& [text, mapAddress, barZipCode, copied] : cases) {
        const QString line = QString::fromUtf16(text);
        EXPECT_EQ(townMapAddress(line, QStringLiteral("北海道")), mapAddress) << line.toStdString();
        EXPECT_EQ(townBarZipCode(line), barZipCode) << line.toStdString();
        EXPECT_EQ(townCopyText(line, BrowseMode::Prefecture), copied) << line.toStdString();
    }
}

TEST(TownLineFormats, OfficeLinesMapToTheirAddressAndCopyWhole) {
    const QString line = QStringLiteral("100-8799  千代田区丸の内１－１");
    EXPECT_EQ(townMapAddress(line, QStringLiteral("東京都")), "東京都千代田区丸の内１－１");
    EXPECT_EQ(townCopyText(line, BrowseMode::BusinessOffice), line);
    EXPECT_EQ(townCopyText(IdleListLine, BrowseMode::BusinessOffice), std::nullopt);
}

TEST(CopyConfirmation, NamesTheCopiedTextAndEndsInItsBlanks) {
    EXPECT_EQ(copyConfirmationText(QStringLiteral("060-0000")),
              QStringLiteral("ｺﾋﾟｰ文字列 ： 060-0000        \r\rｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました。     "));
    EXPECT_EQ(CopyMessageTitle, QStringLiteral("郵便番号検索"));
}

} // namespace
} // namespace yubin
