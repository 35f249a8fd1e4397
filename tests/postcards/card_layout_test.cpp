#include "barcode/barcode_code.h"
#include "labels/recording_device.h"
#include "postcards/card_painter.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace yubin::postcards {
namespace {

using test::RecordedText;
using test::RecordingDevice;

// A card's texts; the honorific is 様 wherever there is a name.
CardText card(const QString& code, const QString& address, const QString& building,
              const QString& name, const QStringList& joints = {}) {
    CardText t;
    t.postalCode = code;
    t.address = address;
    t.building = building;
    t.name = name;
    t.honorific = name.isEmpty() ? QString() : u"様"_qs;
    t.jointNames = joints;
    return t;
}

std::vector<RecordedText> painted(const CardOptions& options, const CardText& text) {
    CardComposer composer(options);
    const ComposedCard card = composer.compose(text);
    RecordingDevice device;
    QPainter painter(&device);
    paintCard(painter, device, card, composer);
    painter.end();
    return device.texts;
}

const RecordedText& find(const std::vector<RecordedText>& texts, const QString& text,
                         int occurrence = 0) {
    for (const RecordedText& t : texts)
        if (t.text == text && occurrence-- == 0)
            return t;
    ADD_FAILURE() << "not painted: " << text.toStdString();
    static const RecordedText none{};
    return none;
}

// The centre of a glyph's ink on the page, whether drawn upright or turned.
QPointF inkCentre(const RecordedText& t) {
    if (t.angle == 0)
        return t.baselineMm + t.inkMm.center();
    // A quarter turn clockwise maps (x, y) to (-y, x).
    return t.baselineMm + QPointF(-t.inkMm.center().y(), t.inkMm.center().x());
}

// The box centres, worked from the figures: the right end 8.0 mm from the
// right edge, boxes 5.7 wide with gaps 1.3, 1.3, 1.9, 1.1, 1.1, 1.1; the
// row 12.0 mm down and 8.0 high.
struct DigitCase {
    const char* name;
    QString paper;
    QPointF offset;
    std::array<double, 7> centresX;
    double centreY;
};

class DigitsInBoxes : public ::testing::TestWithParam<DigitCase> {};

TEST_P(DigitsInBoxes, EachDigitsInkIsCentredInItsBox) {
    const DigitCase& c = GetParam();
    QString error;
    CardOptions options;
    options.paper = *parsePaper(c.paper, &error);
    options.offsetMm = c.offset;
    const std::vector<RecordedText> texts =
        painted(options, card(u"1234567"_qs, {}, {}, u"山田 太郎"_qs));
    for (int i = 0; i < 7; ++i) {
        const RecordedText& digit = find(texts, QString::number(i + 1));
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(digit.angle, 0);
        EXPECT_NEAR(inkCentre(digit).x(), c.centresX[std::size_t(i)], 0.3);
        EXPECT_NEAR(inkCentre(digit).y(), c.centreY, 0.3);
        EXPECT_NEAR(digit.inkMm.height(), 5.0, 0.3);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Papers, DigitsInBoxes,
    ::testing::Values(
        DigitCase{"Postcard",
                  u"postcard"_qs,
                  {},
                  {47.15, 54.15, 61.15, 68.75, 75.55, 82.35, 89.15},
                  16.0},
        DigitCase{
            "Naga3", u"naga3"_qs, {}, {67.15, 74.15, 81.15, 88.75, 95.55, 102.35, 109.15}, 16.0},
        DigitCase{
            "Naga4", u"naga4"_qs, {}, {37.15, 44.15, 51.15, 58.75, 65.55, 72.35, 79.15}, 16.0},
        DigitCase{"PostcardMovedByTheOffset",
                  u"postcard"_qs,
                  {1.5, -2.0},
                  {48.65, 55.65, 62.65, 70.25, 77.05, 83.85, 90.65},
                  14.0}),
    [](const ::testing::TestParamInfo<DigitCase>& info) { return std::string(info.param.name); });

TEST(PaperBoxes, SevenBoxesFromTheFigures) {
    const std::array<QRectF, 7> boxes = codeBoxesMm(100);
    const double lefts[] = {44.3, 51.3, 58.3, 65.9, 72.7, 79.5, 86.3};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_NEAR(boxes[i].left(), lefts[i], 1e-9);
        EXPECT_NEAR(boxes[i].top(), 12.0, 1e-9);
        EXPECT_NEAR(boxes[i].width(), 5.7, 1e-9);
        EXPECT_NEAR(boxes[i].height(), 8.0, 1e-9);
    }
    EXPECT_NEAR(boxes[6].right() - boxes[0].left(), 47.7, 1e-9);
}

TEST(Papers, ByKeyOrSizeAndRefusedOutsideTheLimits) {
    const struct {
        QString text;
        double width; // 0: refused
        double height;
        QString error;
    } cases[] = {
        {u"postcard"_qs, 100, 148, {}},
        {u"naga3"_qs, 120, 235, {}},
        {u"naga4"_qs, 90, 205, {}},
        {u"110x220"_qs, 110, 220, {}},
        {u"162×229"_qs, 162, 229, {}},
        {u"a4"_qs, 0, 0, u"用紙は postcard、naga3、naga4 か、幅x高さ（mm）です：a4"_qs},
        {u"80x148"_qs, 0, 0, u"用紙は幅 90～250 mm、高さ 140～340 mm の縦長です：80x148"_qs},
    };
    for (const auto& c : cases) {
        QString error;
        const std::optional<Paper> p = parsePaper(c.text, &error);
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(p.has_value(), c.width > 0);
        if (p) {
            EXPECT_EQ(p->widthMm, c.width);
            EXPECT_EQ(p->heightMm, c.height);
        }
        EXPECT_EQ(error, c.error);
    }
}

TEST(VerticalWriting, ColumnsRunRightToLeftAndCharactersDown) {
    const std::vector<RecordedText> texts =
        painted({}, card(u"1000013"_qs, u"東京都千代田区霞が関1-3-2"_qs, u"郵便プラザ503"_qs,
                         u"山田 太郎2"_qs));
    const RecordedText& to = find(texts, u"東"_qs);
    const RecordedText& kyo = find(texts, u"京"_qs);
    const RecordedText& yu = find(texts, u"郵"_qs);
    const RecordedText& yama = find(texts, u"山"_qs);
    // The address's column, then the building's, then the name's.
    EXPECT_GT(inkCentre(to).x(), inkCentre(yu).x() + 3);
    EXPECT_GT(inkCentre(yu).x(), inkCentre(yama).x() + 3);
    EXPECT_NEAR(inkCentre(to).x(), inkCentre(kyo).x(), 0.5);
    EXPECT_GT(inkCentre(kyo).y(), inkCentre(to).y() + 3);
    // The numbers in kanji, digit by digit, with the long line between
    // them turned to stand down the column.
    const RecordedText& one = find(texts, u"一"_qs);
    const RecordedText& line = find(texts, u"ー"_qs);
    const RecordedText& three = find(texts, u"三"_qs);
    EXPECT_EQ(one.angle, 0);
    EXPECT_EQ(line.angle, 90);
    EXPECT_LT(inkCentre(one).y(), inkCentre(line).y());
    EXPECT_LT(inkCentre(line).y(), inkCentre(three).y());
    EXPECT_NEAR(inkCentre(line).x(), inkCentre(one).x(), 0.3);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [](const RecordedText& t) { return t.text == u"〇"; }));
    // The name in the middle of the card, its figure kept as a figure,
    // upright.
    EXPECT_NEAR(inkCentre(yama).x(), 50, 2);
    const RecordedText& two = find(texts, u"２"_qs);
    EXPECT_EQ(two.angle, 0);
    EXPECT_NEAR(inkCentre(two).x(), inkCentre(yama).x(), 0.5);
}

TEST(VerticalWriting, JointNamesAlignOnTheFamilyName) {
    const std::vector<RecordedText> texts =
        painted({}, card(u"1000013"_qs, u"東京都千代田区霞が関"_qs, {}, u"山田 太郎"_qs,
                         {u"花子"_qs, u"山田 一平"_qs, u"佐藤 次郎"_qs}));
    // Each given name begins level with the main one; each 様 stands level
    // too; the columns step left at one pitch; the joint family name
    // shared with the main one is not repeated, another one is written.
    const RecordedText& main = find(texts, u"太"_qs);
    const QString firsts[] = {u"花"_qs, u"一"_qs, u"次"_qs};
    double lastX = inkCentre(main).x();
    double pitch = 0;
    for (int i = 0; i < 3; ++i) {
        const RecordedText& g = find(texts, firsts[i]);
        SCOPED_TRACE(firsts[i].toStdString());
        EXPECT_NEAR(g.baselineMm.y(), main.baselineMm.y(), 0.01);
        const double step = lastX - inkCentre(g).x();
        EXPECT_GT(step, 5);
        if (i > 0) {
            EXPECT_NEAR(step, pitch, 0.3);
        }
        pitch = step;
        lastX = inkCentre(g).x();
        EXPECT_NEAR(find(texts, u"様"_qs, i + 1).baselineMm.y(),
                    find(texts, u"様"_qs, 0).baselineMm.y(), 0.01);
    }
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const RecordedText& t) { return t.text == u"山"; }),
              1);
    EXPECT_LT(find(texts, u"藤"_qs).baselineMm.y(), find(texts, u"次"_qs).baselineMm.y());
}

TEST(VerticalWriting, LatinRunsTurnAsAWholeShortOnesStandUpright) {
    const std::vector<VerticalCell> cells = verticalCells(u"ABC商事 A1（株）"_qs);
    const std::vector<std::pair<QString, bool>> expected = {
        {u"ABC"_qs, true}, {u"商"_qs, false}, {u"事"_qs, false},
        {u"　"_qs, false}, {u"Ａ"_qs, false}, {u"１"_qs, false},
        {u"（"_qs, true},  {u"株"_qs, false}, {u"）"_qs, true}};
    ASSERT_EQ(cells.size(), expected.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        EXPECT_EQ(cells[i].text, expected[i].first);
        EXPECT_EQ(cells[i].turned, expected[i].second) << cells[i].text.toStdString();
    }
}

TEST(CardOffset, MovesEverythingByTheOffset) {
    const CardText text = card(u"1000013"_qs, u"東京都千代田区霞が関1-3-2"_qs, {}, u"山田 太郎"_qs);
    CardOptions options;
    options.sender = {u"鈴木 一郎"_qs, u"2100001"_qs, u"川崎市川崎区本町1-2"_qs};
    const std::vector<RecordedText> plain = painted(options, text);
    options.offsetMm = QPointF(2.5, -1.5);
    const std::vector<RecordedText> moved = painted(options, text);
    ASSERT_EQ(plain.size(), moved.size());
    ASSERT_GT(plain.size(), 20u);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        EXPECT_NEAR(moved[i].baselineMm.x() - plain[i].baselineMm.x(), 2.5, 0.01);
        EXPECT_NEAR(moved[i].baselineMm.y() - plain[i].baselineMm.y(), -1.5, 0.01);
    }
}

TEST(Sender, BottomLeftWithTheCodeInDigitsUnderTheAddress) {
    CardOptions options;
    options.sender = {u"鈴木 一郎"_qs, u"2100001"_qs, u"川崎市川崎区本町1-2"_qs};
    const std::vector<RecordedText> texts =
        painted(options, card(u"1000013"_qs, {}, {}, u"山田 太郎"_qs));
    const RecordedText& code = find(texts, u"210-0001"_qs);
    const RecordedText& kawa = find(texts, u"川"_qs);
    const RecordedText& suzu = find(texts, u"鈴"_qs);
    EXPECT_GE(code.baselineMm.x(), 8.0);
    EXPECT_LT(code.rightMm, 36.5);
    EXPECT_GT(code.baselineMm.y(), inkCentre(kawa).y());
    EXPECT_LT(inkCentre(kawa).x(), 36.0);
    EXPECT_GT(inkCentre(kawa).y(), 148 * 0.6);
    EXPECT_LT(inkCentre(suzu).x(), inkCentre(kawa).x()); // the name left of the address
    EXPECT_LE(code.bottomMm, 148 - 8 + 0.05);
}

TEST(CardFitting, ShrinksBeforeItCutsAndReportsACut) {
    CardComposer composer(CardOptions{});
    const QString longer = u"北海道札幌市中央区大通西一丁目十三番地ほか長い町名の続き"_qs;
    const ComposedCard shrunk = composer.compose(card({}, longer, {}, u"山田 太郎"_qs));
    EXPECT_TRUE(shrunk.cut.empty());
    const ComposedCard cut =
        composer.compose(card({}, longer.repeated(4), longer.repeated(2), u"山田"_qs));
    EXPECT_EQ(cut.cut, std::vector<CardField>({CardField::Address, CardField::Building}));
    EXPECT_TRUE(std::any_of(cut.texts.begin(), cut.texts.end(),
                            [](const PlacedText& t) { return t.text == u"…"; }));
}

TEST(Calibration, BoxOutlinesMoveWithTheOffset) {
    CardOptions options;
    options.offsetMm = QPointF(-1.0, 2.0);
    CardComposer composer(options);
    RecordingDevice device;
    QPainter painter(&device);
    paintCalibration(painter, device, options, composer);
    painter.end();
    ASSERT_EQ(device.rectsMm.size(), 7u);
    const double centres[] = {47.15, 54.15, 61.15, 68.75, 75.55, 82.35, 89.15};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_NEAR(device.rectsMm[i].center().x(), centres[i] - 1.0, 0.05);
        EXPECT_NEAR(device.rectsMm[i].center().y(), 18.0, 0.05);
    }
}

// At the bottom right: the bars 10 mm and their 2 mm of clear space from
// the edges, no text within the clear space, the largest code size whose
// clear space keeps 10 mm from both side edges (83.8 mm at 10 point, 67.84 mm
// at 8 point).
TEST(Barcode, BottomRightClearOfTheEdgesAndTheTexts) {
    const auto chars = barcode::dataCharacters(u"10000131-3-2"_qs);
    ASSERT_TRUE(chars);
    for (const Paper& paper : builtInPapers()) {
        SCOPED_TRACE(paper.key.toStdString());
        CardOptions options;
        options.paper = paper;
        options.barcode = true;
        options.sender = {u"鈴木 一郎"_qs, u"2100001"_qs, u"川崎市川崎区本町1-2"_qs};
        CardText text =
            card(u"1000013"_qs, u"東京都千代田区霞が関1-3-2"_qs, {}, u"山田 太郎"_qs, {u"花子"_qs});
        text.barcode = barcode::fullPattern(*chars, barcode::checkValue(*chars));
        CardComposer composer(options);
        RecordingDevice device;
        QPainter painter(&device);
        paintCard(painter, device, composer.compose(text), composer);
        painter.end();
        ASSERT_FALSE(device.rectsMm.empty());
        QRectF ink;
        for (const QRectF& bar : device.rectsMm)
            ink |= bar;
        EXPECT_GE(ink.left(), 12.0 - 1e-6);
        EXPECT_LE(ink.right(), paper.widthMm - 12.0 + 1e-6);
        EXPECT_LE(ink.bottom(), paper.heightMm - 12.0 + 1e-6);
        EXPECT_NEAR(ink.width(), paper.widthMm > 100 ? 79.8 : 63.84, 0.05);
        for (const RecordedText& t : device.texts)
            EXPECT_LT(t.bottomMm, ink.top() - 2.0) << t.text.toStdString();
    }
}

} // namespace
} // namespace yubin::postcards
