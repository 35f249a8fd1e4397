#include "foundation/gui/desktop_platform.h"
#include "foundation/gui/widgets.h"
#include "support/list_gestures.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace yubin {
namespace {

class ListBox : public testing::Test {
protected:
    void SetUp() override {
        list.resize(200, 200);
        list.addItems(
            {QStringLiteral("北海道"), QStringLiteral("青森県"), QStringLiteral("岩手県")});
        list.show();
    }
    ExtentListWidget list;
};

TEST_F(ListBox, AnExtentNarrowerThanTheEntriesShowsNoBarAndLaysOutOnce) {
    // The item view finds the entry wider than the list; the extent says
    // otherwise and decides.
    list.addItem(QString(60, QChar(u'長')));
    list.setHorizontalExtent(50);
    const QRect r = list.visualItemRect(list.item(3));
    EXPECT_GT(r.width(), 0);
    EXPECT_FALSE(list.horizontalScrollBar()->isVisible());
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), 0);

    list.setHorizontalExtent(1000);
    QApplication::processEvents();
    EXPECT_TRUE(list.horizontalScrollBar()->isVisible());
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), 1000 - list.viewport()->width());
}

TEST_F(ListBox, OnlyTheLeftButtonSelects) {
    test::clickLine(list, 1);
    test::clickLine(list, 2, {}, Qt::RightButton);
    test::clickLine(list, 0, {}, Qt::MiddleButton);
    EXPECT_EQ(list.selectedLine(), QStringLiteral("青森県"));
}

TEST_F(ListBox, ADoubleClickIsOneChoice) {
    QSignalSpy chosen(&list, &ExtentListWidget::chosen);
    test::doubleClickLine(list, 1);
    EXPECT_EQ(chosen.count(), 1);
    test::clickLine(list, 2);
    EXPECT_EQ(chosen.count(), 2);
}

TEST_F(ListBox, CtrlClickSelectsLikeAnyClick) {
    test::clickLine(list, 1, Qt::ControlModifier);
    EXPECT_EQ(list.selectedLine(), QStringLiteral("青森県"));
    // Clicked again with Ctrl, the line stays selected.
    test::clickLine(list, 1, Qt::ControlModifier);
    EXPECT_EQ(list.selectedLine(), QStringLiteral("青森県"));
    test::clickLine(list, 2, Qt::ShiftModifier);
    EXPECT_EQ(list.selectedLine(), QStringLiteral("岩手県"));
}

TEST_F(ListBox, EveryPressIsReportedWithItsButtonAndModifiers) {
    QSignalSpy presses(&list, &ExtentListWidget::mousePressed);
    test::clickLine(list, 0, Qt::ShiftModifier, Qt::RightButton);
    test::clickLine(list, 1, Qt::ControlModifier);
    ASSERT_EQ(presses.count(), 2);
    EXPECT_EQ(presses.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(presses.at(0).at(1).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    EXPECT_EQ(presses.at(1).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_EQ(presses.at(1).at(1).value<Qt::KeyboardModifiers>(), Qt::ControlModifier);
}

TEST_F(ListBox, CtrlCCopiesNothingOnItsOwn) {
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    test::clickLine(list, 0);
    QSignalSpy keys(&list, &ExtentListWidget::keyPressed);
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_GE(keys.count(), 1) << "the window still hears the key";
}

TEST_F(ListBox, SelectedLineIsNoneUntilALineIsSelected) {
    EXPECT_EQ(list.selectedLine(), std::nullopt);
    list.setCurrentRow(2);
    EXPECT_EQ(list.selectedLine(), QStringLiteral("岩手県"));
    list.clearSelection();
    EXPECT_EQ(list.selectedLine(), std::nullopt);
}

TEST(DesktopMessages, QtsOwnButtonsSpeakJapanese) {
    QTranslator* japanese = installJapaneseQtTranslation();
    ASSERT_NE(japanese, nullptr) << "qtbase_ja comes with scripts/packages.txt";
    QMessageBox question(QMessageBox::Question, u"t"_qs, u"t"_qs,
                         QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(question.button(QMessageBox::Cancel)->text(), u"キャンセル"_qs);
    QCoreApplication::removeTranslator(japanese);
    delete japanese;
}

TEST(DesktopMessages, TwoCarriageReturnsShowAsTwoLineBreaks) {
    DesktopPlatform desktop;
    const Platform platform = desktop.platform(QString());
    QString shown;
    std::vector<std::pair<int, int>> inkBands; // runs of painted rows: lines on screen
    test::answerModal<QMessageBox>(
        [&] {
            platform.messages->show(MessageIcon::Exclamation, u"t"_qs, u"ｺﾋﾟｰ文字列\r\rｸﾘｯﾌﾟ"_qs,
                                    MessageButtons::Ok);
        },
        [&](QMessageBox& box) {
            auto* label = box.findChild<QLabel*>(u"qt_msgbox_label"_qs);
            shown = label->text();
            const QImage image = label->grab().toImage();
            for (int y = 0; y < image.height(); ++y) {
                bool ink = false;
                for (int x = 0; x < image.width() && !ink; ++x)
                    ink = qGray(image.pixel(x, y)) < 128;
                if (ink && (inkBands.empty() || inkBands.back().second != y - 1))
                    inkBands.emplace_back(y, y);
                else if (ink)
                    inkBands.back().second = y;
            }
        });
    EXPECT_EQ(shown, u"ｺﾋﾟｰ文字列\n\nｸﾘｯﾌﾟ"_qs);
    ASSERT_EQ(inkBands.size(), 2u);
    // An empty line between the two: the gap is taller than a line of text.
    EXPECT_GT(inkBands[1].first - inkBands[0].second, inkBands[0].second - inkBands[0].first);
}

} // namespace
} // namespace yubin
