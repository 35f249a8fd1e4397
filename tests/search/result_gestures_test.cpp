// The full search's gestures reach the barcode window, the map window and
// the clipboard; which row gives what is the core's (result_actions_test).

#include "support/running_program.h"

namespace yubin {
namespace {

using namespace test::gestures;

class SearchResults : public test::RunningProgram {
protected:
    // A search for 千代田 finds: 0 the catch-all of 千代田区 (100-0000),
    // 1 千代田 (100-0001), 2 an office (100-8799).
    void SetUp() override {
        writeTokyo();
        writeOffices();
        start();
        Zen_Kensaku& w = openFullSearch();
        w.Text1->setText(QStringLiteral("千代田"));
        test::runThroughScanWindow([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); });
        ASSERT_EQ(w.List1->count(), 3);
        ASSERT_FALSE(w.List1->selectedLine());
        shared.MapMode = 99; // as an office name in the main window leaves it
    }
};

class ResultGestures : public SearchResults, public testing::WithParamInterface<GestureCase> {};

// One case that acts and one that does not for each gesture (which keys and
// rows count is the core's, result_actions_test). Rows are addresses whatever the main window left
// in MapMode.
TEST_P(ResultGestures, ActOnlyOnShiftOrCtrlAlone) {
    EXPECT_EQ(test::actOut(*owner->zenKensaku().List1, GetParam(), env.messages),
              test::outcomeOf(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultGestures,
    testing::Values(GestureCase{1, Gesture::DoubleClick, Shift, u"東京都千代田区千代田"},
                    GestureCase{1, Gesture::DoubleClick, None, nullptr},
                    GestureCase{1, Gesture::RightDoubleClick, Ctrl, nullptr},
                    // The code of the row selected before the right click.
                    GestureCase{1, Gesture::RightClick, Shift, u"1000001 東京都千代田区千代田"},
                    GestureCase{1, Gesture::RightClick, None, nullptr},
                    GestureCase{1, Gesture::CtrlV, Ctrl, u"100-0001 東京都千代田区千代田"},
                    GestureCase{1, Gesture::CtrlV, None, nullptr},
                    GestureCase{-1, Gesture::CtrlV, Ctrl, nullptr}));

// The actions take the row's record, not its text read back.
TEST_F(SearchResults, ActOnTheRecordOfTheSelectedRow) {
    ExtentListWidget& list = *owner->zenKensaku().List1;
    list.item(1)->setText(QStringLiteral("[A] 999-9999 何か別の行"));
    EXPECT_EQ(test::actOut(list, {1, Gesture::CtrlV, Ctrl, nullptr}, env.messages),
              QStringLiteral("100-0001 東京都千代田区千代田"));
}

TEST_F(SearchResults, EveryMouseDownEmptiesTheBarcodeCode) {
    shared.BarZipCode = QStringLiteral("1234567");
    test::clickLine(*owner->zenKensaku().List1, 1);
    EXPECT_EQ(shared.BarZipCode, QString());
}

} // namespace
} // namespace yubin
