#include "foundation/settings.h"
#include "foundation/text.h"
#include "main_window/window_owner.h"
#include "map_search/map_search.h"
#include "support/data_files.h"
#include "support/fakes.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace yubin {
namespace {

const QString Livedoor = QStringLiteral("https://map.livedoor.com/search/?type=&word=");
const QString YahooMap = QStringLiteral("https://map.yahoo.co.jp/search?p=");
const QString MapTail = QStringLiteral("&ken_name=&kind_name=");
const QString Google = QStringLiteral("https://www.google.co.jp/search?q=");
const QString GoogleTail = QStringLiteral("&hl=ja&ie=Shift_JIS&oe=Shift_JIS");
const QString YahooWeb = QStringLiteral("https://search.yahoo.co.jp/bin/search?p=");
const QString YahooWebTail = QStringLiteral("&fr=top&src=top");

// 東京都 in the two encodings.
const QString TokyoEuc = QStringLiteral("%C5%EC%B5%FE%C5%D4");
const QString TokyoSjis = QStringLiteral("%93%8C%8B%9E%93%73");

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

// ---- load -----------------------------------------------------------------

struct LoadCase {
    const char16_t* address;
    const char16_t* shown;
};

class MapSearchLoad : public MapSearchWindow, public testing::WithParamInterface<LoadCase> {};

TEST_P(MapSearchLoad, ShowsTheRewrittenAddressAndStoresItBack) {
    MAP_Search& w = open(QString::fromUtf16(GetParam().address));
    EXPECT_EQ(w.Text1->text(), QString::fromUtf16(GetParam().shown));
    EXPECT_EQ(shared.MapAddress, QString::fromUtf16(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Addresses, MapSearchLoad,
                         testing::Values(LoadCase{u"東京都三宅島三宅村一円", u"東京都三宅村"},
                                         LoadCase{u"東京都大島大島町元町", u"東京都大島町元町"},
                                         LoadCase{u" 東京都大島大島町元町 ", u"東京都大島町元町"},
                                         LoadCase{u"東京都小笠原諸島小笠原村父島",
                                                  u"東京都小笠原村父島"},
                                         LoadCase{u"東京都小笠原諸島小笠原村父島東町",
                                                  u"東京都小笠原諸島小笠原村父島東町"},
                                         LoadCase{u"株式会社　日本郵便", u"株式会社　日本郵便"}));

TEST_F(MapSearchWindow, CaptionsAreTheProgramsOwn) {
    MAP_Search& w = open(QStringLiteral("東京都"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" インターネット地図・WEB検索"));
    EXPECT_EQ(w.Frame1->title(), QStringLiteral("地図検索サイト"));
    EXPECT_EQ(w.Option1[0]->text(), QStringLiteral("livedoor"));
    EXPECT_EQ(w.Option1[1]->text(), QStringLiteral("Yahoo"));
    EXPECT_EQ(w.Command1->text(), QStringLiteral("検索"));
    EXPECT_EQ(w.Frame2->title(), QStringLiteral("WEB検索"));
    EXPECT_EQ(w.Option2[0]->text(), QStringLiteral("Google"));
    EXPECT_EQ(w.Option2[1]->text(), QStringLiteral("Yahoo"));
    EXPECT_EQ(w.Command3->text(), QStringLiteral("検索"));
    EXPECT_EQ(w.Command2->text(), QStringLiteral("閉"));
    EXPECT_EQ(w.Text1->font().family(), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(w.SJIStoJIS(QStringLiteral("82A0")), QStringLiteral("2422"));
}

// ---- focus ----------------------------------------------------------------

TEST_F(MapSearchWindow, OffScreenBoxHoldsTheFirstFocus) {
    MAP_Search& w = open(QStringLiteral("東京都千代田区"));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_TRUE(w.Text3->isVisible());
    EXPECT_FALSE(w.rect().intersects(w.Text3->geometry()));
    EXPECT_EQ(QApplication::focusWidget(), w.Text3);
}

TEST_F(MapSearchWindow, EnterInTheOffScreenBoxDoesNothing) {
    QPointer<MAP_Search> w = &open(QStringLiteral("東京都千代田区"));
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    for (QPushButton* button : {w->Command1, w->Command2, w->Command3})
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
    QTest::keyClick(w->Text3, Qt::Key_Return);
    QTest::keyClick(w->Text3, Qt::Key_Enter);
    ASSERT_FALSE(unloaded(w));
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(env.web.opened.isEmpty());
}

TEST_F(MapSearchWindow, EnterOnAFocusedButtonPressesIt) {
    QPointer<MAP_Search> w = &open(QStringLiteral("東京都"));
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    w->Command3->setFocus();
    QTest::keyClick(w->Command3, Qt::Key_Return);
    EXPECT_EQ(env.web.opened, QStringList{Google + TokyoSjis + GoogleTail});
    EXPECT_TRUE(unloaded(w));
}

TEST_F(MapSearchWindow, TabOrderRunsFromTheOffScreenBoxThroughBothGroups) {
    MAP_Search& w = open(QStringLiteral("東京都"));
    QList<QWidget*> chain;
    QWidget* at = w.Text3;
    do {
        if (at != &w && (at->focusPolicy() & Qt::TabFocus))
            chain << at;
        at = at->nextInFocusChain();
    } while (at != w.Text3);
    const QList<QWidget*> expected = {w.Text3,      w.Text1,      w.Command2,
                                      w.Option1[0], w.Option1[1], w.Command1,
                                      w.Option2[0], w.Option2[1], w.Command3};
    EXPECT_EQ(chain, expected);
}

TEST_F(MapSearchWindow, TabbingIntoTheAddressPutsTheCaretAtItsEnd) {
    MAP_Search& w = open(QStringLiteral("東京都千代田区"));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_EQ(QApplication::focusWidget(), w.Text3);
    QTest::keyClick(w.Text3, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w.Text1);
    EXPECT_EQ(w.Text1->cursorPosition(), w.Text1->text().size());
    EXPECT_FALSE(w.Text1->hasSelectedText());
    QTest::keyClick(w.Text1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.Command2);
}

// ---- remembered choices ---------------------------------------------------

struct StoredCase {
    const char* mapSite;
    const char* webSite;
    int mapChoice;
    int webChoice;
};

class MapSearchPreselection : public MapSearchWindow,
                              public testing::WithParamInterface<StoredCase> {};

TEST_P(MapSearchPreselection, StoredChoiceIsSelectedAndAnythingElseReadsAsTheFirst) {
    writeSetting(SettingKey::MapSite, QString::fromLatin1(GetParam().mapSite));
    writeSetting(SettingKey::WebSite, QString::fromLatin1(GetParam().webSite));
    MAP_Search& w = open(QStringLiteral("東京都"));
    EXPECT_TRUE(w.Option1[GetParam().mapChoice]->isChecked());
    EXPECT_FALSE(w.Option1[1 - GetParam().mapChoice]->isChecked());
    EXPECT_TRUE(w.Option2[GetParam().webChoice]->isChecked());
    EXPECT_FALSE(w.Option2[1 - GetParam().webChoice]->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Settings, MapSearchPreselection,
                         testing::Values(StoredCase{"", "", 0, 0}, StoredCase{"0", "0", 0, 0},
                                         StoredCase{"1", "1", 1, 1}, StoredCase{"1", "0", 1, 0},
                                         StoredCase{"0", "1", 0, 1}, StoredCase{"2", "-1", 0, 0},
                                         StoredCase{"yahoo", "1.0", 0, 0}));

enum class CloseBy { CloseButton, Escape, WindowClose, MapSearch, WebSearch };

class MapSearchClosing : public MapSearchWindow, public testing::WithParamInterface<CloseBy> {
protected:
    void closeWindow(MAP_Search& w) {
        switch (GetParam()) {
        case CloseBy::CloseButton:
            QTest::mouseClick(w.Command2, Qt::LeftButton);
            break;
        case CloseBy::Escape:
            QTest::keyClick(&w, Qt::Key_Escape);
            break;
        case CloseBy::WindowClose:
            w.close();
            break;
        case CloseBy::MapSearch:
            QTest::mouseClick(w.Command1, Qt::LeftButton);
            break;
        case CloseBy::WebSearch:
            QTest::mouseClick(w.Command3, Qt::LeftButton);
            break;
        }
    }
};

TEST_P(MapSearchClosing, EveryCloseStoresBothChoicesForTheNextOpening) {
    QPointer<MAP_Search> first = &open(QStringLiteral("東京都"));
    QTest::mouseClick(first->Option1[1], Qt::LeftButton);
    QTest::mouseClick(first->Option2[1], Qt::LeftButton);
    ASSERT_TRUE(first->Option1[1]->isChecked());
    ASSERT_TRUE(first->Option2[1]->isChecked());
    closeWindow(*first);
    EXPECT_TRUE(unloaded(first));
    EXPECT_EQ(readSetting(SettingKey::MapSite), QStringLiteral("1"));
    EXPECT_EQ(readSetting(SettingKey::WebSite), QStringLiteral("1"));

    QPointer<MAP_Search> second = &open(QStringLiteral("東京都"));
    EXPECT_NE(second, first);
    EXPECT_TRUE(second->Option1[1]->isChecked());
    EXPECT_TRUE(second->Option2[1]->isChecked());
    QTest::mouseClick(second->Option1[0], Qt::LeftButton);
    QTest::mouseClick(second->Option2[0], Qt::LeftButton);
    closeWindow(*second);
    EXPECT_TRUE(unloaded(second));
    EXPECT_EQ(readSetting(SettingKey::MapSite), QStringLiteral("0"));
    EXPECT_EQ(readSetting(SettingKey::WebSite), QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(Ways, MapSearchClosing,
                         testing::Values(CloseBy::CloseButton, CloseBy::Escape,
                                         CloseBy::WindowClose, CloseBy::MapSearch,
                                         CloseBy::WebSearch));

// ---- map mode ---------------------------------------------------------------

class MapSearchMode : public MapSearchWindow, public testing::WithParamInterface<int> {};

TEST_P(MapSearchMode, BusinessOfficeNameGreysOnlyTheMapControls) {
    MAP_Search& w = open(QStringLiteral("日本郵便株式会社"), GetParam());
    const bool mapAllowed = GetParam() != 99;
    EXPECT_EQ(w.Option1[0]->isEnabled(), mapAllowed);
    EXPECT_EQ(w.Option1[1]->isEnabled(), mapAllowed);
    EXPECT_EQ(w.Command1->isEnabled(), mapAllowed);
    for (QWidget* c : std::initializer_list<QWidget*>{w.Text1, w.Command2, w.Option2[0],
                                                      w.Option2[1], w.Command3})
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Modes, MapSearchMode, testing::Values(0, 99));

// ---- searches ---------------------------------------------------------------

struct SearchCase {
    const char* name;
    bool web;
    int choice;
    const char16_t* text;
    QString url;
};

class MapSearchButtons : public MapSearchWindow, public testing::WithParamInterface<SearchCase> {};

TEST_P(MapSearchButtons, OpenTheChosenServiceOnceAndClose) {
    const SearchCase& c = GetParam();
    QPointer<MAP_Search> w = &open(QStringLiteral("東京都"));
    w->Text1->setText(QString::fromUtf16(c.text));
    QTest::mouseClick(c.web ? w->Option2[c.choice] : w->Option1[c.choice], Qt::LeftButton);
    QTest::mouseClick(c.web ? w->Command3 : w->Command1, Qt::LeftButton);
    EXPECT_EQ(env.web.opened, QStringList{c.url});
    EXPECT_TRUE(unloaded(w));
    EXPECT_TRUE(env.messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Services, MapSearchButtons,
    testing::Values(SearchCase{"Livedoor", false, 0, u"東京都", Livedoor + TokyoEuc},
                    SearchCase{"YahooMap", false, 1, u"東京都", YahooMap + TokyoEuc + MapTail},
                    SearchCase{"Google", true, 0, u"東京都", Google + TokyoSjis + GoogleTail},
                    SearchCase{"YahooWeb", true, 1, u"東京都", YahooWeb + TokyoEuc + YahooWebTail},
                    SearchCase{"HiraganaForTheMap", false, 0, u"あ",
                               Livedoor + QStringLiteral("%A4%A2")},
                    SearchCase{"HiraganaForGoogle", true, 0, u"あ",
                               Google + QStringLiteral("%82%A0") + GoogleTail},
                    SearchCase{"HiraganaForYahooWeb", true, 1, u"あ",
                               YahooWeb + QStringLiteral("%A4%A2") + YahooWebTail},
                    SearchCase{"BlanksTrimmedAmpersandAndSpaceEscaped", false, 0, u"\u3000 A&B C ",
                               Livedoor + QStringLiteral("A%26B%20C")},
                    SearchCase{"EmptyMapQuery", false, 1, u"", YahooMap + MapTail},
                    SearchCase{"EmptyWebQuery", true, 0, u"", Google + GoogleTail}),
    [](const testing::TestParamInfo<SearchCase>& info) { return std::string(info.param.name); });

struct EnterCase {
    const char* name;
    int mode;
    const char* storedSite;
    const char16_t* text;
    Qt::Key key;
    QString url; // empty: nothing opens and the window stays
};

class MapSearchEnter : public MapSearchWindow, public testing::WithParamInterface<EnterCase> {};

TEST_P(MapSearchEnter, RunsTheMapSearchForMoreThanTwoCharacters) {
    const EnterCase& c = GetParam();
    writeSetting(SettingKey::MapSite, QString::fromLatin1(c.storedSite));
    QPointer<MAP_Search> w = &open(QString::fromUtf16(c.text), c.mode);
    QTest::keyClick(w->Text1, c.key);
    if (c.url.isEmpty()) {
        EXPECT_TRUE(env.web.opened.isEmpty());
        ASSERT_FALSE(unloaded(w));
        EXPECT_EQ(w->Text1->text(), text::trimmed(QString::fromUtf16(c.text)));
    } else {
        EXPECT_EQ(env.web.opened, QStringList{c.url});
        EXPECT_TRUE(unloaded(w));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MapSearchEnter,
    testing::Values(
        EnterCase{"ThreeCharacters", 0, "", u"東京都", Qt::Key_Return, Livedoor + TokyoEuc},
        EnterCase{"KeypadEnter", 0, "1", u"東京都", Qt::Key_Enter, YahooMap + TokyoEuc + MapTail},
        EnterCase{"MapControlsGreyed", 99, "1", u"東京都", Qt::Key_Return,
                  YahooMap + TokyoEuc + MapTail},
        EnterCase{"TwoCharacters", 0, "", u"東京", Qt::Key_Return, QString()},
        EnterCase{"TwoCharactersAfterTheTrim", 0, "", u"  東京\u3000", Qt::Key_Return, QString()},
        EnterCase{"Empty", 99, "", u"", Qt::Key_Return, QString()}),
    [](const testing::TestParamInfo<EnterCase>& info) { return std::string(info.param.name); });

TEST_F(MapSearchWindow, ExecReturnsOnceTheSearchHasOpened) {
    shared.MapAddress = QStringLiteral("東京都三宅島三宅村一円");
    shared.MapMode = 0;
    bool sawWindow = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<MAP_Search*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        sawWindow = true;
        QTest::mouseClick(dialog->Command3, Qt::LeftButton);
    });
    owner.mapSearch().exec();
    EXPECT_TRUE(sawWindow);
    EXPECT_EQ(env.web.opened,
              QStringList{Google + TokyoSjis + QStringLiteral("%8E%4F%91%EE%91%BA") + GoogleTail});
}

class ThrowingOpener final : public WebPageOpener {
public:
    void OpenWebPage(const QString&) override { throw std::runtime_error("no browser"); }
};

TEST_F(MapSearchWindow, BrowserFailureClosesSilently) {
    ThrowingOpener broken;
    Platform p = env.platform();
    p.web = &broken;
    WindowOwner brokenOwner(p, shared);
    shared.MapAddress = QStringLiteral("東京都");
    QPointer<MAP_Search> w = &brokenOwner.mapSearch();
    w->show();
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_TRUE(!w || !w->isVisible());
    EXPECT_FALSE(brokenOwner.isLoaded(w.data()));
    EXPECT_TRUE(env.messages.shown.empty());
    EXPECT_EQ(readSetting(SettingKey::MapSite), QStringLiteral("0"));
}

// ---- the address box's keys -------------------------------------------------

TEST_F(MapSearchWindow, NonTypingKeyTrimsTheBlanksAndKeepsTheCaretOnItsCharacter) {
    MAP_Search& w = open(QString());
    w.Text1->setText(QStringLiteral("  東京都\u3000 "));
    w.Text1->setCursorPosition(4); // before 都
    QTest::keyClick(w.Text1, Qt::Key_Left);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("東京都"));
    EXPECT_EQ(w.Text1->cursorPosition(), 1); // before 京
}

TEST_F(MapSearchWindow, BlankTypedBetweenWordsIsKept) {
    MAP_Search& w = open(QString());
    QTest::keyClicks(w.Text1, QStringLiteral("ab"));
    QTest::keyClick(w.Text1, Qt::Key_Space);
    QTest::keyClicks(w.Text1, QStringLiteral("c"));
    EXPECT_EQ(w.Text1->text(), QStringLiteral("ab c"));
    QTest::keyClick(w.Text1, Qt::Key_Space);
    QTest::keyClick(w.Text1, Qt::Key_Home);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("ab c"));
    EXPECT_EQ(w.Text1->cursorPosition(), 0);
}

// ---- the command line agrees ------------------------------------------------

struct AgreementCase {
    const char* name;
    const char16_t* address;
    int mode;
    bool web;
    int choice;
};

class MapSearchCliAgreement : public MapSearchWindow,
                              public testing::WithParamInterface<AgreementCase> {};

TEST_P(MapSearchCliAgreement, CliPrintsTheUrlTheWindowOpens) {
    const AgreementCase& c = GetParam();
    const QString address = QString::fromUtf16(c.address);
    MAP_Search& w = open(address, c.mode);
    QTest::mouseClick(c.web ? w.Option2[c.choice] : w.Option1[c.choice], Qt::LeftButton);
    if (c.web)
        QTest::mouseClick(w.Command3, Qt::LeftButton);
    else
        QTest::keyClick(w.Text1, Qt::Key_Return); // also when the map buttons are greyed
    ASSERT_EQ(env.web.opened.size(), 1);

    QStringList args{c.web ? QStringLiteral("web-url") : QStringLiteral("map-url"),
                     c.web ? QStringLiteral("--engine") : QStringLiteral("--site"),
                     QString::number(c.choice)};
    if (c.mode == 99 && !c.web)
        args << QStringLiteral("--office");
    args << address;
    const test::CliResult r = test::runCli(args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, env.web.opened.first() + u'\n');
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, MapSearchCliAgreement,
    testing::Values(AgreementCase{"MiyakeWholeArea", u"東京都三宅島三宅村一円", 0, false, 0},
                    AgreementCase{"ChichijimaGoogle", u"東京都小笠原諸島小笠原村父島", 0, true, 0},
                    AgreementCase{"KanaAndSymbolsYahooWeb", u" ｶﾌﾞｼｷｶﾞｲｼｬ 髙島屋 #1&2 ", 99, true,
                                  1},
                    AgreementCase{"OfficeOnTheMap", u"日本郵便株式会社", 99, false, 0}),
    [](const testing::TestParamInfo<AgreementCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace yubin
