#include "postcards/paper.h"

#include <QRegularExpression>

namespace yubin::postcards {

namespace {

// The gaps after boxes 1 to 6.
constexpr std::array<double, 6> GapsMm = {1.3, 1.3, 1.9, 1.1, 1.1, 1.1};

} // namespace

std::span<const Paper> builtInPapers() {
    static const std::array<Paper, 3> papers = {
        Paper{QStringLiteral("postcard"), QStringLiteral("郵便はがき"), 100, 148, true},
        Paper{QStringLiteral("naga3"), QStringLiteral("長形3号"), 120, 235, false},
        Paper{QStringLiteral("naga4"), QStringLiteral("長形4号"), 90, 205, false},
    };
    return papers;
}

std::optional<Paper> parsePaper(QStringView text, QString* error) {
    for (const Paper& p : builtInPapers())
        if (text == p.key)
            return p;
    static const QRegularExpression size(
        QStringLiteral(R"(^\s*(\d+(?:\.\d+)?)\s*[x×]\s*(\d+(?:\.\d+)?)\s*$)"));
    const QRegularExpressionMatch m = size.match(text.toString());
    if (!m.hasMatch()) {
        *error =
            QStringLiteral("用紙は postcard、naga3、naga4 か、幅x高さ（mm）です：%1").arg(text);
        return std::nullopt;
    }
    Paper p;
    p.key = text.toString();
    p.widthMm = m.captured(1).toDouble();
    p.heightMm = m.captured(2).toDouble();
    p.name = QStringLiteral("%1×%2 mm の用紙").arg(m.captured(1), m.captured(2));
    if (p.widthMm < MinPaperWidthMm || p.widthMm > MaxPaperWidthMm ||
        p.heightMm < MinPaperHeightMm || p.heightMm > MaxPaperHeightMm) {
        *error = QStringLiteral("用紙は幅 %1～%2 mm、高さ %3～%4 mm の縦長です：%5")
                     .arg(MinPaperWidthMm)
                     .arg(MaxPaperWidthMm)
                     .arg(MinPaperHeightMm)
                     .arg(MaxPaperHeightMm)
                     .arg(text);
        return std::nullopt;
    }
    return p;
}

std::array<QRectF, 7> codeBoxesMm(double paperWidthMm) {
    std::array<QRectF, 7> boxes;
    // From the right end leftwards, as the figures measure.
    double right = paperWidthMm - BoxRightMm;
    for (int i = 6; i >= 0; --i) {
        boxes[std::size_t(i)] = QRectF(right - BoxWidthMm, BoxTopMm, BoxWidthMm, BoxHeightMm);
        if (i > 0)
            right -= BoxWidthMm + GapsMm[std::size_t(i - 1)];
    }
    return boxes;
}

QRectF codeHyphenMm(double paperWidthMm) {
    const std::array<QRectF, 7> boxes = codeBoxesMm(paperWidthMm);
    const double gap = boxes[3].left() - boxes[2].right();
    const double length = gap * 0.6;
    return QRectF(boxes[2].right() + (gap - length) / 2, BoxTopMm + BoxHeightMm / 2, length, 0);
}

} // namespace yubin::postcards
