#pragma once

// A paint device that keeps what is painted on it: the filled rectangles and
// the texts with their baselines, at 10 pixels to the millimetre on A4.

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QTextItem>

#include <vector>

namespace yubin::test {

struct RecordedText {
    QString text;
    QPointF baselineMm;
    double rightMm;  // the end of its advance
    double bottomMm; // baseline plus descent
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
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawRects(const QRectF* rects, int count) override {
            for (int i = 0; i < count; ++i)
                device.rectsMm.emplace_back(rects[i].x() / 10, rects[i].y() / 10,
                                            rects[i].width() / 10, rects[i].height() / 10);
        }
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            const QFontMetricsF m(item.font(), &device);
            device.texts.push_back(
                {item.text(), p / 10, (p.x() + item.width()) / 10, (p.y() + m.descent()) / 10});
        }
        Type type() const override { return User; }

    private:
        RecordingDevice& device;
    };
    mutable Engine engine{*this};
};

} // namespace yubin::test
