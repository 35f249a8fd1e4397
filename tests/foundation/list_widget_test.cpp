#include "foundation/gui/desktop_platform.h"
#include "foundation/gui/widgets.h"
#include "support/list_gestures.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>

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

TEST_F(ListBox, ADoubleClickIsOneChoice) {
    QSignalSpy chosen(&list, &ExtentListWidget::chosen);
    test::doubleClickAt(list.viewport(), test::lineCentre(list, 1));
    EXPECT_EQ(chosen.count(), 1);
    test::clickLine(list, 2);
    EXPECT_EQ(chosen.count(), 2);
}

// Gestures, selection and keys of the list are the windows' (the gesture
// tables of list_gestures_test and result_gestures_test).

// More lines than are measured exactly, the widest among them: a ranking
// that put it last would leave it out.
TEST(ListExtent, WidestEntryReadableToItsEndAfterScrolling) {
    ExtentListWidget list;
    list.resize(120, 200);
    list.setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 10));
    list.show();
    SetListHorizontalExtent(list);
    EXPECT_EQ(list.horizontalExtent(), 10) << "an empty list";

    const QString wide = QStringLiteral("060-0000  札幌市中央区以下に掲載がない場合 ■■");
    QStringList lines;
    for (int i = 1; i <= 20; ++i)
        lines << QString(i, QChar(u'ｱ'));
    lines.insert(7, wide);
    list.addItems(lines);
    QApplication::processEvents(); // laid out before its extent is known
    SetListHorizontalExtent(list);
    QApplication::processEvents();
    const QFontMetrics metrics(list.font());
    EXPECT_EQ(list.horizontalExtent(), metrics.horizontalAdvance(wide) + 10);

    // Scrolled to the end, its last block is painted just left of the 10
    // spare pixels.
    list.horizontalScrollBar()->setValue(list.horizontalScrollBar()->maximum());
    const QImage shown = list.viewport()->grab().toImage();
    const QPoint lastBlock(list.viewport()->width() - 10 -
                               metrics.horizontalAdvance(QStringLiteral("■")) / 2,
                           list.visualItemRect(list.item(7)).center().y());
    EXPECT_LT(qGray(shown.pixel(lastBlock)), 128);
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

TEST(DesktopMessages, EachCarriageReturnIsALineBreak) {
    DesktopPlatform desktop;
    const Platform platform = desktop.platform(QString());
    QString shown;
    test::answerModal<QMessageBox>(
        [&] {
            platform.messages->show(MessageIcon::Exclamation, u"t"_qs, u"ｺﾋﾟｰ文字列\r\rｸﾘｯﾌﾟ"_qs,
                                    MessageButtons::Ok);
        },
        [&](QMessageBox& box) { shown = box.text(); });
    EXPECT_EQ(shown, u"ｺﾋﾟｰ文字列\n\nｸﾘｯﾌﾟ"_qs);
}

TEST(UnopenedPage, ShowsTheAddressSelectableAndCopiesIt) {
    const QString url = u"https://www.post.japanpost.jp/zipcode/dl/zipmanual/manual.pdf"_qs;
    UnopenedPageBox box(url, nullptr);
    EXPECT_EQ(box.windowTitle(), u"ページを開けません"_qs);
    EXPECT_EQ(box.address->text(), url);
    EXPECT_TRUE(box.address->textInteractionFlags() & Qt::TextSelectableByMouse);
    QGuiApplication::clipboard()->clear();
    box.show();
    QTest::mouseClick(box.copy, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), url);
    EXPECT_TRUE(box.isVisible()); // copying leaves the box open
}

} // namespace
} // namespace yubin
