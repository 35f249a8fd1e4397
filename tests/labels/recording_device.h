#pragma once

// A paint device that keeps what is painted on it: the filled rectangles and
// the texts with their baselines, at 10 pixels to the millimetre on A4. A
// text drawn turned is kept with its angle, its baseline where the turn
// puts it.

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QTextItem>
#include <QTransform>
#include <QtMath>

#include <cmath>

#include <vector>

namespace yubin::test {

struct RecordedText {
    QString text;
    QPointF baselineMm;
    double rightMm;   // the end of its advance
    double bottomMm;  // baseline plus descent
    QRectF inkMm;     // the glyphs' ink, from the baseline, unturned
    double angle = 0; // degrees clockwise
};

class RecordingDevice final : public QPaintDevice {
public:
    std::vector<QRectF> rectsMm;
    std::vector<RecordedText> texts;

    QPaintEngine* paintEngine() const override { return &engine; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return 2100;
        case PdmHeight:
            return 2970;
        case PdmWidthMM:
            return 210;
        case PdmHeightMM:
            return 297;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 254;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        case PdmDepth:
            return 32;
        default:
            return 1;
        }
    }

private:
    class Engine final : public QPaintEngine {
    public:
        explicit Engine(RecordingDevice& d) : QPaintEngine(AllFeatures), device(d) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& state) override {
            if (state.state() & DirtyTransform)
                transform = state.transform();
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawRects(const QRectF* rects, int count) override {
            for (int i = 0; i < count; ++i) {
                const QRectF r = transform.mapRect(rects[i]);
                device.rectsMm.emplace_back(r.x() / 10, r.y() / 10, r.width() / 10,
                                            r.height() / 10);
            }
        }
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            const QFontMetricsF m(item.font(), &device);
            const QPointF at = transform.map(p);
            const QRectF ink = m.tightBoundingRect(item.text());
            const double angle = qRadiansToDegrees(std::atan2(transform.m12(), transform.m11()));
            device.texts.push_back({item.text(), at / 10, (at.x() + item.width()) / 10,
                                    (at.y() + m.descent()) / 10,
                                    QRectF(ink.topLeft() / 10, ink.size() / 10), angle});
        }
        Type type() const override { return User; }

    private:
        RecordingDevice& device;
        QTransform transform;
    };
    mutable Engine engine{*this};
};

} // namespace yubin::test
