#include "barcode/bar_measure.h"

#include <QByteArrayView>
#include <QRegularExpression>
#include <QTransform>

#include <gtest/gtest.h>

#include <cmath>

namespace yubin::test {

std::vector<QRectF> standardBars(QStringView pattern, double topMm, double leftMm,
                                 double pointSize) {
    const double width = 0.6 * pointSize / 10;
    const double pitch = 1.2 * pointSize / 10;
    const double longBar = 3.6 * pointSize / 10;
    const double halfBar = 2.4 * pointSize / 10;
    const double timing = 1.2 * pointSize / 10;
    std::vector<QRectF> bars;
    int bar = 0;
    for (QChar symbol : pattern) {
        if (symbol == u'0')
            continue;
        ++bar;
        const double x = leftMm + bar * pitch;
        switch (symbol.unicode()) {
        case u'1':
            bars.emplace_back(x, topMm, width, longBar);
            break;
        case u'2':
            bars.emplace_back(x, topMm, width, halfBar);
            break;
        case u'3':
            bars.emplace_back(x, topMm + longBar - halfBar, width, halfBar);
            break;
        default:
            bars.emplace_back(x, topMm + (longBar - timing) / 2, width, timing);
            break;
        }
    }
    return bars;
}

// ---- recording device -------------------------------------------------------

class RecordingDevice::Engine final : public QPaintEngine {
public:
    Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyTransform)
            transform = state.transform();
        if (state.state() & QPaintEngine::DirtyBrush)
            brush = state.brush();
    }
    void drawRects(const QRectF* r, int count) override {
        for (int i = 0; i < count; ++i)
            record(r[i]);
    }
    void drawRects(const QRect* r, int count) override {
        for (int i = 0; i < count; ++i)
            record(QRectF(r[i]));
    }
    void drawPath(const QPainterPath&) override { ++others; }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override { ++others; }
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override { ++others; }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++others; }
    void drawTextItem(const QPointF&, const QTextItem&) override { ++others; }
    Type type() const override { return QPaintEngine::User; }

    void record(const QRectF& r) {
        rects.push_back(transform.mapRect(r));
        black = black && brush.style() == Qt::SolidPattern && brush.color() == Qt::black;
    }

    QTransform transform;
    QBrush brush;
    std::vector<QRectF> rects;
    int others = 0;
    bool black = true;
};

RecordingDevice::RecordingDevice(int resolution, QSizeF page)
    : dpi(resolution), pageMm(page), engine(std::make_unique<Engine>()) {}
RecordingDevice::~RecordingDevice() = default;

QPaintEngine* RecordingDevice::paintEngine() const {
    return engine.get();
}
std::vector<QRectF> RecordingDevice::rects() const {
    return engine->rects;
}
int RecordingDevice::otherDrawings() const {
    return engine->others;
}
bool RecordingDevice::allBlack() const {
    return engine->black;
}

int RecordingDevice::metric(PaintDeviceMetric m) const {
    switch (m) {
    case PdmWidth:
        return int(pageMm.width() / MmPerInch * dpi);
    case PdmHeight:
        return int(pageMm.height() / MmPerInch * dpi);
    case PdmWidthMM:
        return int(pageMm.width());
    case PdmHeightMM:
        return int(pageMm.height());
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return dpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}

// ---- raster ---------------------------------------------------------------------

QImage whitePage(int dpi, QSizeF sizeMm) {
    QImage image(int(std::ceil(sizeMm.width() / MmPerInch * dpi)),
                 int(std::ceil(sizeMm.height() / MmPerInch * dpi)),
                 QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    return image;
}

namespace {

double coverage(const QImage& image, int x, int y) {
    return (255 - qGray(image.pixel(x, y))) / 255.0;
}

// Runs of inked pixels along a line: the start of the ink in the first
// pixel and the total ink, both in pixels.
struct Run {
    double start;
    double length;
};

template <typename Sample> std::vector<Run> runs(int count, Sample sample) {
    std::vector<Run> out;
    int i = 0;
    while (i < count) {
        if (sample(i) <= 0) {
            ++i;
            continue;
        }
        Run run{i + 1 - sample(i), 0};
        while (i < count && sample(i) > 0)
            run.length += sample(i++);
        out.push_back(run);
    }
    return out;
}

} // namespace

std::vector<QRectF> rasterBars(const QImage& image, int scanRow) {
    std::vector<QRectF> bars;
    for (const Run& across :
         runs(image.width(), [&](int x) { return coverage(image, x, scanRow); })) {
        const int column = int(across.start + across.length / 2);
        const std::vector<Run> down =
            runs(image.height(), [&](int y) { return coverage(image, column, y); });
        if (down.size() != 1) {
            ADD_FAILURE() << "column " << column << " crosses " << down.size() << " bars";
            continue;
        }
        bars.emplace_back(across.start, down[0].start, across.length, down[0].length);
    }
    return bars;
}

// ---- PDF --------------------------------------------------------------------------

namespace {

QByteArray inflate(QByteArrayView deflated) {
    // qUncompress wants the expected size in front; it only sizes its buffer.
    QByteArray framed;
    const quint32 guess = 16u << 20;
    framed.append(char(guess >> 24)).append(char(guess >> 16)).append(char(guess >> 8));
    framed.append(char(guess));
    framed.append(deflated.data(), deflated.size());
    return qUncompress(framed);
}

std::vector<QByteArray> contentStreams(const QByteArray& pdf) {
    std::vector<QByteArray> streams;
    qsizetype at = 0;
    while ((at = pdf.indexOf("stream\n", at)) >= 0) {
        if (at >= 3 && pdf.mid(at - 3, 3) == "end") {
            at += 7;
            continue;
        }
        const qsizetype begin = at + 7;
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (end < 0)
            break;
        const qsizetype dict = pdf.lastIndexOf("obj", at);
        const bool flate = pdf.mid(dict, at - dict).contains("/FlateDecode");
        const QByteArrayView body(pdf.constData() + begin, end - begin);
        streams.push_back(flate ? inflate(body) : body.toByteArray());
        at = end + 9;
    }
    return streams;
}

} // namespace

QSizeF pdfPageSizeMm(const QByteArray& pdf) {
    static const QRegularExpression mediaBox(
        QStringLiteral("/MediaBox \\[\\s*0 0 ([0-9.]+) ([0-9.]+)\\s*\\]"));
    const auto match = mediaBox.match(QString::fromLatin1(pdf));
    if (!match.hasMatch())
        return {};
    return {match.captured(1).toDouble() / 72 * MmPerInch,
            match.captured(2).toDouble() / 72 * MmPerInch};
}

std::vector<QRectF> pdfFilledRectsMm(const QByteArray& pdf) {
    const double pageHeightPt = pdfPageSizeMm(pdf).height() / MmPerInch * 72;
    std::vector<QRectF> filled;
    for (const QByteArray& stream : contentStreams(pdf)) {
        std::vector<double> operands;
        std::vector<QTransform> saved;
        QTransform ctm;
        std::vector<QRectF> pending;
        for (const QByteArray& token : stream.simplified().split(' ')) {
            bool number = false;
            const double value = token.toDouble(&number);
            if (number) {
                operands.push_back(value);
                continue;
            }
            const auto arg = [&](std::size_t i) { return operands[operands.size() - 6 + i]; };
            if (token == "q") {
                saved.push_back(ctm);
            } else if (token == "Q" && !saved.empty()) {
                ctm = saved.back();
                saved.pop_back();
            } else if (token == "cm" && operands.size() >= 6) {
                ctm = QTransform(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5)) * ctm;
            } else if (token == "re" && operands.size() >= 4) {
                const std::size_t n = operands.size();
                const QRectF r(operands[n - 4], operands[n - 3], operands[n - 2], operands[n - 1]);
                const QRectF pt = ctm.mapRect(r);
                pending.emplace_back(pt.x() / 72 * MmPerInch,
                                     (pageHeightPt - pt.bottom()) / 72 * MmPerInch,
                                     pt.width() / 72 * MmPerInch, pt.height() / 72 * MmPerInch);
            } else if (token == "f" || token == "f*" || token == "B" || token == "b") {
                filled.insert(filled.end(), pending.begin(), pending.end());
                pending.clear();
            } else if (token == "n" || token == "S") {
                pending.clear();
            }
            operands.clear();
        }
    }
    return filled;
}

QRectF pixelsToMm(const QRectF& px, double dpi) {
    const double k = MmPerInch / dpi;
    return {px.x() * k, px.y() * k, px.width() * k, px.height() * k};
}

void expectSameBars(const std::vector<QRectF>& measured, const std::vector<QRectF>& expected,
                    double toleranceMm) {
    ASSERT_EQ(measured.size(), expected.size());
    for (std::size_t i = 0; i < measured.size(); ++i) {
        const QRectF& m = measured[i];
        const QRectF& e = expected[i];
        EXPECT_NEAR(m.left(), e.left(), toleranceMm) << "bar " << i << " left";
        EXPECT_NEAR(m.right(), e.right(), toleranceMm) << "bar " << i << " right";
        EXPECT_NEAR(m.top(), e.top(), toleranceMm) << "bar " << i << " top";
        EXPECT_NEAR(m.bottom(), e.bottom(), toleranceMm) << "bar " << i << " bottom";
        EXPECT_NEAR(m.width(), e.width(), toleranceMm) << "bar " << i << " width";
        EXPECT_NEAR(m.height(), e.height(), toleranceMm) << "bar " << i << " height";
    }
}

} // namespace yubin::test
