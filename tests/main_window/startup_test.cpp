#include "data_prep/gui/data_syori.h"
#include "support/running_program.h"

#include <QDir>

namespace yubin {
namespace {

// Started as the desktop program starts, before the window is shown.
using StartUp = test::RunningProgram;

TEST_F(StartUp, ListsThePrefecturesLeavesTheOtherListsIdleAndLoadsTheHiddenWindows) {
    shared.LastSearchText = QStringLiteral("left over");
    shared.LastSearchZip = QStringLiteral("1000001");
    Yubin_Main& w = start(false);
    EXPECT_EQ(w.List1->count(), 47); // the names are the core's (prefectures_test)
    EXPECT_EQ(w.List1->item(46)->text(), QStringLiteral("沖縄県"));
    for (ExtentListWidget* list : {w.List2, w.List3}) {
        EXPECT_EQ(test::linesOf(*list), QStringList{QStringLiteral("都道府県を指定してください")});
        EXPECT_FALSE(list->isEnabled());
    }
    EXPECT_TRUE(w.Option1[0]->isChecked());
    EXPECT_TRUE(w.Text1->isHidden() && w.Command1->isHidden() && w.Label2->isHidden());
    for (QLabel* label : {w.Label1[0], w.Label1[1], w.Label3, w.Label4, w.Label6})
        EXPECT_EQ(label->text(), QString());
    EXPECT_EQ(shared.PrefectureNames.size(), 51);
    EXPECT_EQ(w.List3->width(), 440); // the normal layout
    // The data folder is made, the hidden windows are loaded.
    EXPECT_TRUE(QDir(env.dataFolder()).exists());
    EXPECT_EQ(shared.LastSearchText, QString());
    EXPECT_EQ(shared.LastSearchZip, QString());
    Data_Syori& prep = owner->dataSyori();
    EXPECT_TRUE(owner->isLoaded(&prep));
    EXPECT_FALSE(prep.isVisible());
    EXPECT_TRUE(QDir(prep.workFolders().tofukenLzh).exists());
    EXPECT_FALSE(owner->zenKensaku().isVisible());
    EXPECT_EQ(owner->zenKensaku().Text1->text(), QString());
}

TEST_F(StartUp, CompactLayoutBelowTenThousandTwips) {
    env.screen.height = 9999;
    Yubin_Main& w = start(false);
    EXPECT_TRUE(w.windowTitle().contains(QString(38, u' ') + u'('));
    EXPECT_FALSE(w.windowTitle().contains(QString(39, u' ')));
    EXPECT_EQ(w.List3->width(), 360);
    EXPECT_EQ(w.List3->height(), 496);
    EXPECT_EQ(w.List2->height(), 498);
    // Labels are not moved: the spot and the town count lie outside. The
    // values of both layouts are the core's (main_layout_test).
    EXPECT_FALSE(w.rect().intersects(w.Label7->geometry()));
    EXPECT_FALSE(w.rect().contains(w.Label1[1]->geometry().topLeft()));
}

// The documented layout at the default size; the room a user gives the
// window goes to the lists. Sizes in pixels from the twips of the layout.
TEST_F(StartUp, EnlargingTheWindowGrowsTheListsAndTheDefaultSizeIsTheSmallest) {
    Yubin_Main& w = start(false);
    w.show();
    const QSize base = w.size();
    auto geometries = [&] {
        return QList<QRect>{w.List1->geometry(), w.List2->geometry(), w.List3->geometry()};
    };
    const QList<QRect> documented{QRect(8, 48, 89, 589), QRect(104, 48, 313, 589),
                                  QRect(424, 48, 440, 587)};
    EXPECT_EQ(geometries(), documented);
    w.resize(base - QSize(40, 40));
    EXPECT_EQ(w.size(), base);
    EXPECT_EQ(geometries(), documented);

    w.resize(base + QSize(300, 120));
    EXPECT_EQ(geometries(), (QList<QRect>{QRect(8, 48, 89, 709), QRect(104, 48, 413, 709),
                                          QRect(524, 48, 640, 707)}));
    EXPECT_EQ(w.Text1->x(), 524);
    w.resize(base);
    EXPECT_EQ(geometries(), documented);
}

TEST_F(StartUp, SecondInstanceEndsSilentlyAndBringsTheFirstBack) {
    Yubin_Main& first = start(false);
    WindowOwner second(env.platform(), shared);
    EXPECT_FALSE(second.main().load(lockPath()));
    EXPECT_TRUE(env.messages.shown.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isVisible(); }));
}

TEST_F(StartUp, OptionButtonsReturnTheListsToIdle) {
    Yubin_Main& w = start();
    w.List2->addItem(QStringLiteral("さ 札幌市中央区 (さつぽろしちゆうおうく)"));
    w.List2->setEnabled(true);
    w.Label1[0]->setText(QStringLiteral("1 件"));
    QTest::mouseClick(w.Option1[1], Qt::LeftButton);
    EXPECT_EQ(test::linesOf(*w.List2), QStringList{QStringLiteral("都道府県を指定してください")});
    EXPECT_FALSE(w.List2->isEnabled());
    EXPECT_EQ(w.Label1[0]->text(), QString());
}

TEST_F(StartUp, SampleSpotOpensTheBarcodeWindowWithTheSample) {
    Yubin_Main& w = start();
    QString seen;
    EXPECT_TRUE(test::answerModal<BAR_Print>(
        [&] { QTest::mouseDClick(w.Label7, Qt::LeftButton); },
        [&](BAR_Print& bar) { seen = bar.txtData1->text() + u' ' + bar.txtData2->text(); }));
    EXPECT_EQ(seen, QStringLiteral("1000001 1-1"));
    EXPECT_EQ(shared.BarZipCode, QStringLiteral("1000001"));
}

TEST_F(StartUp, ClosingTheMainWindowClosesEveryWindow) {
    Yubin_Main& w = start();
    Zen_Kensaku* search = &owner->zenKensaku();
    search->show();
    w.close();
    EXPECT_FALSE(search->isVisible());
    EXPECT_FALSE(owner->isLoaded(search));
}

} // namespace
} // namespace yubin
