#include "barcode/bar_measure.h"
#include "labels/label_painter.h"
#include "labels/recording_device.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace yubin::labels {
namespace {

// Where a label of each sheet lies and where its barcode's ink begins, in
// millimetres from the paper's corner, worked out from the sheets' figures:
// the ink (133 bar positions of 0.06 a mm, 0.36 a mm tall at a points) is
// centred and ends 2 mm above the label's bottom edge.
struct Placement {
    const char* layout;
    int codeSize;
    int slot;
    double left, top, width; // the label
    double inkLeft, inkTop;
};
const Placement Placements[] = {
    {"12", 2, 0, 18.6, 21.5, 86.4, 21.9, 58.2},
    {"12", 2, 11, 105.0, 233.0, 86.4, 108.3, 269.7},
    {"21", 1, 0, 0.0, 0.45, 70.0, 3.08, 37.87},
    {"21", 1, 20, 140.0, 254.25, 70.0, 143.08, 291.67},
    {"24", 1, 0, 0.0, 12.9, 70.0, 3.08, 41.92},
    {"24", 1, 23, 140.0, 250.2, 70.0, 143.08, 279.22},
    {"2x5:100x50:10,5:102,55", 3, 0, 5.0, 10.0, 100.0, 9.115, 53.86},
    {"2x5:100x50:10,5:102,55", 3, 9, 107.0, 230.0, 100.0, 111.115, 273.86},
};

TEST(LabelSheet, PlacesTextsAndBarcodeWithItsQuietZone) {
    const QString pattern = test::patternOf(u"10000131-3-2-503"_qs);
    for (const Placement& p : Placements) {
        SCOPED_TRACE(p.layout + std::to_string(p.slot));
        const SheetLayout layout = *parseLayout(QString::fromLatin1(p.layout), nullptr);
        LabelComposer composer(QSizeF(layout.widthMm, layout.heightMm), p.codeSize);
        const LabelText text{u"1000013"_qs,
                             u"東京都千代田区霞が関１丁目３番２号"_qs,
                             u"郵便プラザ５０３室"_qs,
                             u"日本郵便株式会社　総務部"_qs,
                             u"山田太郎　様"_qs,
                             pattern};
        const SheetLabel label{p.slot, composer.compose(text)};
        test::RecordingDevice device;
        QPainter painter(&device);
        paintSheet(painter, device, layout, p.codeSize, composer, {&label, 1});
        painter.end();

        const double a = barcode::pointSize(p.codeSize);
        test::expectSameBars(device.rectsMm,
                             test::standardBars(pattern, p.inkTop, p.inkLeft - 0.12 * a, a), 0.001);
        QString all; // a line may come as a piece for each script
        for (const test::RecordedText& t : device.texts)
            all += t.text;
        EXPECT_EQ(all, u"〒100-0013東京都千代田区霞が関１丁目３番２号郵便プラザ５０３室"
                       "日本郵便株式会社　総務部山田太郎　様"_qs);
        EXPECT_NEAR(device.texts[0].baselineMm.x(), p.left + 2.5, 0.001);
        for (const test::RecordedText& t : device.texts) {
            EXPECT_GE(t.baselineMm.y(), p.top + 2.5);
            EXPECT_LE(t.bottomMm, p.inkTop - 2.0 + 1e-6) << t.text.toStdString();
            EXPECT_LE(t.rightMm, p.left + p.width - 2.5 + 1e-6) << t.text.toStdString();
        }
    }
}

// An address takes one line when it can, two broken at the blank nearest
// the middle, or two broken where the first is full; what does not fit at
// 6 pt is cut.
TEST(LabelSheet, FitsTheAddressOnAtMostTwoLines) {
    const QString half = u"東京都千代田区霞が関一丁目三番"_qs; // 15 characters
    const struct {
        QString address;
        QStringList lines;
        bool cut;
    } cases[] = {
        {half, {half}, false},
        {half + u"　"_qs + half, {half, half}, false},
        {QString(60, u'町'), {QString(30, u'町'), QString(30, u'町')}, false},
        // A blank far from the middle would leave the text small.
        {u"東京都　"_qs + QString(34, u'町'),
         {u"東京都　"_qs + QString(15, u'町'), QString(19, u'町')},
         false},
        {QString(100, u'町'), {QString(38, u'町'), QString(37, u'町') + u"…"_qs}, true},
    };
    LabelComposer composer(QSizeF(86.4, 42.3), 2);
    for (const auto& c : cases) {
        const ComposedLabel l = composer.compose({u"1000013"_qs, c.address, {}, {}, {}, {}});
        QStringList lines;
        for (std::size_t i = 1; i < l.lines.size(); ++i) {
            lines << l.lines[i].text;
            EXPECT_GE(l.lines[i].pointSize, MinimumPt);
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(!l.cut.empty(), c.cut);
    }
}

} // namespace
} // namespace yubin::labels
