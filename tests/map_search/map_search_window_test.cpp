#include "foundation/gui/window_owner.h"
#include "foundation/settings.h"
#include "map_search/gui/map_search.h"
#include "support/list_gestures.h"

#include <QPointer>

#include <stdexcept>

namespace yubin {
namespace {

const QString GoogleMaps = u"https://www.google.com/maps/search/?api=1&query="_qs;
const QString TokyoUtf8 = u"%E6%9D%B1%E4%BA%AC%E9%83%BD"_qs; // 東京都 in UTF-8

class MapSearchWindow : public testing::Test {
protected:
    void SetUp() override {
        writeSetting(SettingKey::MapSite, QString());
        writeSetting(SettingKey::WebSite, QString());
    }
    MAP_Search& open(const QString& address, int mode = 0) {
        shared.MapAddress = address;
        shared.MapMode = mode;
        MAP_Search& w = owner.mapSearch();
        w.show();
        return w;
    }
    // Closed and unloaded: the next request builds a new window.
    bool unloaded(const QPointer<MAP_Search>& w) const {
        return !w || (!w->isVisible() && !owner.isLoaded(w.data()));
    }

    test::TestPlatform env;
    SharedValues shared;
    WindowOwner owner{env.platform(), shared};
};

TEST_F(MapSearchWindow, LoadShowsTheRewrittenAddressAndStoresItBack) {
    MAP_Search& w = open(u" 東京都三宅島三宅村一円 "_qs);
    EXPECT_EQ(w.Text1->text(), u"東京都三宅村"_qs);
    EXPECT_EQ(shared.MapAddress, u"東京都三宅村"_qs);
    EXPECT_EQ(w.windowTitle(), u" インターネット地図・WEB検索"_qs);
    QStringList captions{w.Frame1->title(), w.Frame2->title()};
    for (QAbstractButton* c : std::initializer_list<QAbstractButton*>{
             w.Option1[0], w.Option1[1], w.Command1, w.Option2[0], w.Option2[1], w.Command3,
             w.Command2})
        captions << c->text();
    EXPECT_EQ(captions.join(u'|'),
              u"地図検索サイト|WEB検索|Googleマップ|OpenStreetMap|検索|Google|Yahoo|検索|閉"_qs);
    EXPECT_EQ(w.Text1->font().family(), u"ＭＳ ゴシック"_qs);
}

TEST_F(MapSearchWindow, OffScreenBoxHoldsTheFirstFocusAndEnterThereDoesNothing) {
    QPointer<MAP_Search> w = &open(u"東京都千代田区"_qs);
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    EXPECT_TRUE(w->Text3->isVisible());
    EXPECT_FALSE(w->rect().intersects(w->Text3->geometry()));
    EXPECT_EQ(QApplication::focusWidget(), w->Text3);
    QTest::keyClick(w->Text3, Qt::Key_Return);
    ASSERT_FALSE(unloaded(w));
    EXPECT_TRUE(env.web.opened.isEmpty());
    // Tab goes on to the address and puts the caret at its end.
    QTest::keyClick(w->Text3, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w->Text1);
    EXPECT_EQ(w->Text1->cursorPosition(), w->Text1->text().size());
    EXPECT_FALSE(w->Text1->hasSelectedText());
}

// What a close stores is preselected (MapSearchClosing); anything else reads
// as the first service.
TEST_F(MapSearchWindow, StoredChoiceThatIsNoServiceReadsAsTheFirst) {
    writeSetting(SettingKey::MapSite, u"2"_qs);
    writeSetting(SettingKey::WebSite, u"yahoo"_qs);
    MAP_Search& w = open(u"東京都"_qs);
    EXPECT_TRUE(w.Option1[0]->isChecked() && w.Option2[0]->isChecked());
}

using Closer = std::pair<const char*, void (*)(MAP_Search&)>;

class MapSearchClosing : public MapSearchWindow, public testing::WithParamInterface<Closer> {};

TEST_P(MapSearchClosing, EveryCloseStoresBothChoicesForTheNextOpening) {
    QPointer<MAP_Search> w = &open(u"東京都"_qs);
    QTest::mouseClick(w->Option1[1], Qt::LeftButton);
    QTest::mouseClick(w->Option2[1], Qt::LeftButton);
    GetParam().second(*w);
    EXPECT_TRUE(unloaded(w));
    EXPECT_EQ(readSetting(SettingKey::MapSite) + readSetting(SettingKey::WebSite), u"11"_qs);
    w = &open(u"東京都"_qs);
    EXPECT_TRUE(w->Option1[1]->isChecked() && w->Option2[1]->isChecked());
}

// No button is a default one, but a focused one takes Enter.
INSTANTIATE_TEST_SUITE_P(
    Ways, MapSearchClosing,
    testing::Values(
        Closer{"CloseButton", [](MAP_Search& w) { QTest::mouseClick(w.Command2, Qt::LeftButton); }},
        Closer{"Escape", [](MAP_Search& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        Closer{"WindowClose", [](MAP_Search& w) { w.close(); }},
        Closer{"MapSearch", [](MAP_Search& w) { QTest::mouseClick(w.Command1, Qt::LeftButton); }},
        Closer{"EnterOnTheFocusedWebSearch",
               [](MAP_Search& w) {
                   w.Command3->setFocus();
                   QTest::keyClick(w.Command3, Qt::Key_Return);
               }}),
    [](const testing::TestParamInfo<Closer>& info) { return std::string(info.param.first); });

struct SearchCase {
    const char* name;
    const char16_t* address;
    int mode;
    bool web;
    int choice;  // preselected from the settings
    Qt::Key key; // in the address; none: the search button
    QString url;
};

class MapSearchSearches : public MapSearchWindow, public testing::WithParamInterface<SearchCase> {};

// A business-office name (mode 99) greys only the map controls, and Enter in
// the address still runs the map search.
TEST_P(MapSearchSearches, OpenTheChosenServiceOnceThenClose) {
    const SearchCase& c = GetParam();
    writeSetting(c.web ? SettingKey::WebSite : SettingKey::MapSite, QString::number(c.choice));
    QPointer<MAP_Search> w = &open(QString::fromUtf16(c.address), c.mode);
    for (QWidget* map : std::initializer_list<QWidget*>{w->Option1[0], w->Option1[1], w->Command1})
        EXPECT_EQ(map->isEnabled(), c.mode != 99);
    EXPECT_TRUE(w->Option2[0]->isEnabled() && w->Option2[1]->isEnabled() &&
                w->Command3->isEnabled());
    if (c.key != Qt::Key_unknown)
        QTest::keyClick(w->Text1, c.key);
    else
        QTest::mouseClick(c.web ? w->Command3 : w->Command1, Qt::LeftButton);
    EXPECT_EQ(env.web.opened, QStringList{c.url});
    EXPECT_TRUE(unloaded(w));
    EXPECT_TRUE(env.messages.shown.empty());
}

constexpr Qt::Key Button = Qt::Key_unknown;

INSTANTIATE_TEST_SUITE_P(
    Services, MapSearchSearches,
    testing::Values(
        SearchCase{"HiraganaOnOpenStreetMapByKeypadEnter", u"あいう", 0, false, 1, Qt::Key_Enter,
                   u"https://www.openstreetmap.org/search?query=%E3%81%82%E3%81%84%E3%81%86"_qs},
        SearchCase{"EnterWithTheMapControlsGreyed", u"東京都", 99, false, 0, Qt::Key_Return,
                   GoogleMaps + TokyoUtf8},
        SearchCase{"HiraganaOnGoogle", u"あ", 0, true, 0, Button,
                   u"https://www.google.co.jp/search?q=%82%A0&hl=ja&ie=Shift_JIS&oe=Shift_JIS"_qs},
        SearchCase{"HiraganaOnYahooWeb", u"あ", 99, true, 1, Button,
                   u"https://search.yahoo.co.jp/bin/search?p=%A4%A2&fr=top&src=top"_qs}),
    [](const testing::TestParamInfo<SearchCase>& info) { return std::string(info.param.name); });

// How an opener shows the window: exec() returns once the search has opened.
TEST_F(MapSearchWindow, ExecReturnsOnceTheSearchHasOpened) {
    shared.MapAddress = u"東京都"_qs;
    EXPECT_TRUE(test::answerModal<MAP_Search>(
        [&] { owner.mapSearch().exec(); },
        [](MAP_Search& w) { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    EXPECT_EQ(env.web.opened, QStringList{GoogleMaps + TokyoUtf8});
}

TEST_F(MapSearchWindow, APageThatDidNotOpenKeepsTheWindowOpen) {
    env.web.opens = false;
    QPointer<MAP_Search> w = &open(u"東京都"_qs);
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    ASSERT_FALSE(w.isNull());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(env.web.opened, QStringList{GoogleMaps + TokyoUtf8});
}

// Trimming on a key that types a character would swallow the blank just
// typed between two words; every other key trims.
TEST_F(MapSearchWindow, AddressBoxTrimsOnKeysThatTypeNothingAndShortTextsSearchNothing) {
    MAP_Search& w = open(QString());
    QTest::keyClicks(w.Text1, u"ab c "_qs);
    EXPECT_EQ(w.Text1->text(), u"ab c "_qs);
    w.Text1->setText(u"  東京都\u3000 "_qs);
    w.Text1->setCursorPosition(4); // before 都
    QTest::keyClick(w.Text1, Qt::Key_Left);
    EXPECT_EQ(w.Text1->text(), u"東京都"_qs);
    EXPECT_EQ(w.Text1->cursorPosition(), 1); // before 京, where the caret went
    // Enter with two characters or fewer trims and does nothing else.
    QPointer<MAP_Search> window = &w;
    w.Text1->setText(u"  東京\u3000"_qs);
    QTest::keyClick(w.Text1, Qt::Key_Return);
    EXPECT_EQ(w.Text1->text(), u"東京"_qs);
    EXPECT_FALSE(unloaded(window));
    EXPECT_TRUE(env.web.opened.isEmpty());
}

} // namespace
} // namespace yubin
