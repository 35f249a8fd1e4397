// The main window's gestures reach the barcode window, the map window and
// the clipboard; which line gives what is the core's (list_actions_test).

#include "support/running_program.h"

namespace yubin {
namespace {

using namespace test::gestures;

struct MainCase {
    bool offices; // 東京都's business offices, else 北海道's 札幌市中央区
    int list;     // 2 or 3
    GestureCase gesture;
};

// One case that acts and one that does not for each gesture; which keys
// count and which lines are never acted on are the core's (list_actions_test).
// Town lines of 札幌市中央区: 0 its catch-all (060-0000), 1 大通西 (060-0042),
// 2 旭ケ丘 (064-0941); municipality line 1 is 札幌市中央区.
class MainLists : public test::RunningProgram {
protected:
    void open(bool offices) {
        writeHokkaido();
        writeOffices();
        Yubin_Main& w = start();
        if (offices)
            QTest::mouseClick(w.Option1[1], Qt::LeftButton);
        test::clickLine(*w.List1, offices ? 12 : 0);
        test::clickLine(*w.List2, offices ? 0 : 1);
        ASSERT_EQ(w.List3->count(), offices ? 1 : 3);
        ASSERT_FALSE(w.List3->selectedLine());
    }
};

class MainListGestures : public MainLists, public testing::WithParamInterface<MainCase> {};

TEST_P(MainListGestures, ActOnlyOnShiftOrCtrlAlone) {
    open(GetParam().offices);
    Yubin_Main& w = owner->main();
    EXPECT_EQ(
        test::actOut(GetParam().list == 2 ? *w.List2 : *w.List3, GetParam().gesture, env.messages),
        test::outcomeOf(GetParam().gesture));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainListGestures,
    testing::Values(
        MainCase{false, 3, {1, Gesture::DoubleClick, Shift, u"北海道札幌市中央区大通西"}},
        MainCase{false, 3, {1, Gesture::DoubleClick, None, nullptr}},
        MainCase{false, 3, {1, Gesture::RightDoubleClick, Shift, nullptr}},
        // The code of the line selected before the right click.
        MainCase{false, 3, {0, Gesture::RightClick, Shift, u"0600000 "}},
        MainCase{false, 3, {1, Gesture::RightClick, None, nullptr}},
        MainCase{false, 3, {-1, Gesture::RightClick, Shift, nullptr}},
        MainCase{false, 3, {2, Gesture::CtrlV, Ctrl, u"064-0941  札幌市中央区旭ケ丘"}},
        MainCase{false, 3, {2, Gesture::CtrlC, Ctrl, nullptr}},
        MainCase{false, 2, {1, Gesture::DoubleClick, Ctrl, u"札幌市中央区"}},
        MainCase{false, 2, {1, Gesture::DoubleClick, None, nullptr}},
        MainCase{false, 2, {1, Gesture::RightClick, Shift, nullptr}},
        // An office name is looked up on the web only; its address anywhere.
        MainCase{true, 2, {0, Gesture::DoubleClick, Shift, u"日本商事株式会社 (web only)"}},
        MainCase{true, 3, {0, Gesture::DoubleClick, Shift, u"東京都千代田区丸の内１－１"}}));

TEST_F(MainLists, BarcodeWindowOpensWithTheAddressNumberCleared) {
    open(false);
    owner->barPrint().txtData2->setText(QStringLiteral("9-9"));
    ExtentListWidget& towns = *owner->main().List3;
    test::clickLine(towns, 1);
    QString number = QStringLiteral("no window");
    test::answerModal<BAR_Print>(
        [&] { test::clickLine(towns, 1, Qt::ShiftModifier, Qt::RightButton); },
        [&](BAR_Print& w) { number = w.txtData2->text(); });
    EXPECT_EQ(number, QString());
}

} // namespace
} // namespace yubin
