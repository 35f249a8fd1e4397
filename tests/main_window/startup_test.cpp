#include "barcode/bar_print.h"
#include "data_prep/data_syori.h"
#include "main_window/main_layout.h"
#include "main_window/window_owner.h"
#include "main_window/yubin_main.h"
#include "search/zen_kensaku.h"
#include "support/running_program.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace yubin {
namespace {

class StartUp : public test::RunningProgram {
protected:
    void start(int screenHeightTwips = 15360) {
        env.screen.height = screenHeightTwips;
        RunningProgram::start(false);
    }
    QStringList lines(const QListWidget& list) const { return test::linesOf(list); }
};

TEST_F(StartUp, ListsFortySevenPrefecturesAndLeavesTheOtherListsIdle) {
    start();
    Yubin_Main& w = owner->main();
    const QStringList prefectures = lines(*w.List1);
    ASSERT_EQ(prefectures.size(), 47);
    EXPECT_EQ(prefectures.first(), QStringLiteral("北海道"));
    EXPECT_EQ(prefectures.last(), QStringLiteral("沖縄県"));
    EXPECT_FALSE(prefectures.contains(QStringLiteral("事業所")));
    for (ExtentListWidget* list : {w.List2, w.List3}) {
        EXPECT_EQ(lines(*list), QStringList{QStringLiteral("都道府県を指定してください")});
        EXPECT_FALSE(list->isEnabled());
    }
    EXPECT_TRUE(w.Option1[0]->isChecked());
    EXPECT_TRUE(w.Text1->isHidden());
    EXPECT_TRUE(w.Command1->isHidden());
    EXPECT_TRUE(w.Label2->isHidden());
    for (QLabel* label : {w.Label1[0], w.Label1[1], w.Label3, w.Label4, w.Label6})
        EXPECT_TRUE(label->text().isEmpty());
    EXPECT_EQ(shared.PrefectureNames.size(), 51);
    EXPECT_EQ(shared.PrefectureNames[0], QStringLiteral("事業所"));
}

TEST_F(StartUp, CreatesTheDataFolderAndLoadsTheHiddenWindows) {
    shared.LastSearchText = QStringLiteral("left over");
    shared.LastSearchZip = QStringLiteral("1000001");
    ASSERT_FALSE(QDir(env.dataFolder()).exists());
    start();
    EXPECT_TRUE(QDir(env.dataFolder()).exists());
    EXPECT_TRUE(shared.LastSearchText.isEmpty());
    EXPECT_TRUE(shared.LastSearchZip.isEmpty());
    Data_Syori& prep = owner->dataSyori();
    EXPECT_TRUE(owner->isLoaded(&prep));
    EXPECT_FALSE(prep.isVisible());
    EXPECT_TRUE(QDir(prep.workFolders().tofuken).exists());
    EXPECT_TRUE(QDir(prep.workFolders().tofukenLzh).exists());
    EXPECT_EQ(QFile::permissions(prep.workFolders().tofuken) &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());
    Zen_Kensaku& search = owner->zenKensaku();
    EXPECT_FALSE(search.isVisible());
    EXPECT_TRUE(search.Text1->text().isEmpty());
}

TEST_F(StartUp, CaptionCarriesTheVersionAndLayoutFollowsTheScreen) {
    start(10000);
    Yubin_Main& w = owner->main();
    EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("〒　郵便番号検索 (Q&O)       Ver")));
    EXPECT_TRUE(w.windowTitle().contains(QString(50, u' ')));
    EXPECT_EQ(w.List3->width(), 6600 / 15);
    EXPECT_EQ(w.List1->height(), 8835 / 15);
    // Only the upper left corner of the sample-barcode spot lies inside.
    EXPECT_TRUE(w.rect().contains(w.Label7->geometry().topLeft()));
    EXPECT_FALSE(w.rect().contains(w.Label7->geometry().bottomRight()));
    EXPECT_TRUE(w.rect().contains(w.Label1[1]->geometry().topLeft()));
}

TEST_F(StartUp, CompactLayoutBelowTenThousandTwips) {
    start(9999);
    Yubin_Main& w = owner->main();
    EXPECT_TRUE(w.windowTitle().contains(QString(38, u' ') + u'('));
    EXPECT_FALSE(w.windowTitle().contains(QString(39, u' ')));
    EXPECT_EQ(w.List3->width(), 5400 / 15);
    EXPECT_EQ(w.List3->height(), 7440 / 15);
    EXPECT_EQ(w.List2->height(), 7470 / 15);
    // Labels are not moved: the spot and the town count lie outside.
    EXPECT_FALSE(w.rect().intersects(w.Label7->geometry()));
    EXPECT_FALSE(w.rect().contains(w.Label1[1]->geometry().topLeft()));
}

TEST_F(StartUp, SecondInstanceEndsSilentlyAndBringsTheFirstBack) {
    start();
    Yubin_Main& first = owner->main();
    WindowOwner second(env.platform(), shared);
    EXPECT_FALSE(second.main().load(lockPath()));
    EXPECT_TRUE(env.messages.shown.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isVisible(); }));
}

TEST_F(StartUp, OptionButtonsReturnTheListsToIdle) {
    start();
    Yubin_Main& w = owner->main();
    w.List2->clear();
    w.List2->addItem(QStringLiteral("さ 札幌市中央区 (さつぽろしちゆうおうく)"));
    w.List2->setEnabled(true);
    w.Label1[0]->setText(QStringLiteral("1 件"));
    QTest::mouseClick(w.Option1[1], Qt::LeftButton);
    EXPECT_TRUE(w.Option1[1]->isChecked());
    EXPECT_EQ(lines(*w.List2), QStringList{QStringLiteral("都道府県を指定してください")});
    EXPECT_FALSE(w.List2->isEnabled());
    EXPECT_TRUE(w.Label1[0]->text().isEmpty());
}

TEST_F(StartUp, SampleSpotOpensTheBarcodeWindowWithTheSample) {
    start();
    Yubin_Main& w = owner->main();
    w.show();
    QString seenCode, seenNumber;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<BAR_Print*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seenCode = dialog->txtData1->text();
        seenNumber = dialog->txtData2->text();
        dialog->close();
    });
    QTest::mouseDClick(w.Label7, Qt::LeftButton);
    EXPECT_EQ(seenCode, SampleBarZipCode);
    EXPECT_EQ(seenNumber, SampleAddressNumber);
    EXPECT_EQ(shared.BarZipCode, SampleBarZipCode);
}

TEST_F(StartUp, ClosingTheMainWindowClosesEveryWindow) {
    start();
    Yubin_Main& w = owner->main();
    w.show();
    Zen_Kensaku* search = &owner->zenKensaku();
    search->show();
    ASSERT_TRUE(search->isVisible());
    w.close();
    EXPECT_FALSE(search->isVisible());
    EXPECT_FALSE(owner->isLoaded(search));
}

} // namespace
} // namespace yubin
