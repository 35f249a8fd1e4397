#include "postcards/card_layout.h"

#include "barcode/barcode_code.h"
#include "foundation/fonts.h"
#include "foundation/postal_code.h"

#include <algorithm>
#include <cmath>

namespace yubin::postcards {

namespace {

constexpr double MarginMm = 8.0;

// Base sizes as a share of the piece's width (an em in millimetres), so an
// envelope's text is as much larger as the envelope is wider; and the
// smallest share of its base a text is set at before it is cut.
constexpr double AddressEm = 0.050;
constexpr double CompanyEm = 0.042;
constexpr double NameEm = 0.085;
constexpr double SenderAddressEm = 0.032;
constexpr double SenderNameEm = 0.045;
constexpr double SenderCodeEm = 0.034;
constexpr double SmallestShare = 0.55;
// An address a little too long for its column is set smaller rather than
// broken: down to this share of its size it stays in one column.
constexpr double SplitShare = 0.8;
// The sender's block: the left part of the lower half.
constexpr double SenderRightShare = 0.36;
constexpr double SenderTopShare = 0.60;

double toPt(double emMm) {
    return emMm / MmPerPoint;
}
double toMm(double pt) {
    return pt * MmPerPoint;
}
double quantized(double pt) {
    return std::floor(pt * 4) / 4;
}

bool isAsciiAlnum(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

// A name split at its first blank into family and given name; a name
// without a blank is all family name.
std::pair<QString, QString> splitName(const QString& name) {
    for (qsizetype i = 0; i < name.size(); ++i)
        if (text::isBlank(name[i]))
            return {text::trimmed(QStringView(name).left(i)),
                    text::trimmed(QStringView(name).sliced(i + 1))};
    return {name, QString()};
}

// Where a too long address breaks into two columns: at the blank nearest
// its middle, or at the middle.
std::pair<QString, QString> splitAddress(const QString& address) {
    qsizetype best = -1;
    for (qsizetype i = 1; i + 1 < address.size(); ++i)
        if (text::isBlank(address[i]) &&
            (best < 0 || std::abs(i - address.size() / 2) < std::abs(best - address.size() / 2)))
            best = i;
    if (best < 0)
        best = (address.size() + 1) / 2;
    return {text::trimmed(QStringView(address).left(best)),
            text::trimmed(QStringView(address).sliced(best))};
}

const QString Ellipsis = QStringLiteral("…");

} // namespace

QString cardFieldName(CardField field) {
    switch (field) {
    case CardField::Address:
        return QStringLiteral("住所");
    case CardField::Building:
        return QStringLiteral("建物");
    case CardField::Company:
        return QStringLiteral("会社名・部署");
    case CardField::Name:
        return QStringLiteral("氏名");
    case CardField::JointNames:
        return QStringLiteral("連名");
    case CardField::Sender:
        return QStringLiteral("差出人");
    }
    return {};
}

int barcodeSizeFor(const Paper& paper) {
    const double room = paper.widthMm - 2 * 10;
    return barcode::printedInkMm(2).width() + 2 * barcode::QuietZoneMm <= room ? 2 : 1;
}

std::vector<VerticalCell> verticalCells(QStringView in) {
    std::vector<VerticalCell> cells;
    qsizetype i = 0;
    while (i < in.size()) {
        if (isAsciiAlnum(in[i])) {
            qsizetype end = i;
            while (end < in.size() && isAsciiAlnum(in[end]))
                ++end;
            if (end - i >= 3) {
                cells.push_back({in.sliced(i, end - i).toString(), true});
            } else {
                for (qsizetype k = i; k < end; ++k)
                    cells.push_back({text::toFullWidth(in.sliced(k, 1)), false});
            }
            i = end;
            continue;
        }
        QString c = in.sliced(i, 1).toString();
        if (in[i].unicode() < 0x80 || in[i] == u'\u3000')
            c = text::toFullWidth(c);
        cells.push_back({c, text::turnsInVerticalWriting(c[0])});
        ++i;
    }
    return cells;
}

CardComposer::CardComposer(const CardOptions& options) : opts(options) {
    // Digits about 5 mm tall: the size at which a 0's ink is that tall.
    const double probe = 20;
    const QRectF ink = fonts.at(probe).metrics.tightBoundingRect(QStringLiteral("0"));
    const double inkMm = ink.height() * fonts.mmPerDot();
    digitPt = quantized(probe * DigitHeightMm / inkMm);

    // The barcode at the bottom right, its quiet zone 10 mm from the edges;
    // every text ends above it.
    const double W = opts.paper.widthMm;
    const double H = opts.paper.heightMm;
    bottomMm = H - MarginMm - 2;
    if (opts.barcode) {
        barcodeSize = barcodeSizeFor(opts.paper);
        const QRectF ink = barcode::printedInkMm(barcodeSize);
        const double inkRight = W - 10 - barcode::QuietZoneMm;
        const double inkBottom = H - 10 - barcode::QuietZoneMm;
        barcodeAtMm =
            QPointF(inkRight - ink.width() - ink.left(), inkBottom - ink.height() - ink.top());
        bottomMm = inkBottom - ink.height() - barcode::QuietZoneMm - 1;
    }
}

CardComposer::~CardComposer() = default;

const QFont& CardComposer::font(double pointSize) {
    return fonts.at(pointSize).font;
}

double CardComposer::widthMm(const QString& t, double pt) {
    return fonts.widthMm(t, pt);
}

double CardComposer::cellsLengthMm(const std::vector<VerticalCell>& cells, double pt) {
    double length = 0;
    for (const VerticalCell& c : cells)
        length += c.turned ? widthMm(c.text, pt) : toMm(pt);
    return length;
}

double CardComposer::fittingSize(const std::vector<VerticalCell>& cells, double pt, double minPt,
                                 double lengthMm) {
    const double needed = cellsLengthMm(cells, pt);
    if (needed <= lengthMm)
        return pt;
    double s = std::max(minPt, quantized(pt * lengthMm / needed));
    while (s > minPt && cellsLengthMm(cells, s) > lengthMm)
        s -= 0.25;
    return std::max(s, minPt);
}

bool CardComposer::placeColumn(const std::vector<VerticalCell>& cells, double pt, double x,
                               double top, double bottom, std::vector<PlacedText>& out) {
    const PrintFont& f = fonts.at(pt);
    const double em = toMm(pt);
    const std::size_t first = out.size();
    double y = top;
    bool whole = true;
    for (const VerticalCell& c : cells) {
        const double advance = c.turned ? widthMm(c.text, pt) : em;
        if (y + advance > bottom + 1e-9) {
            whole = false;
            break;
        }
        if (!text::isBlank(c.text[0])) {
            const double cy = y + advance / 2;
            if (c.turned) {
                // Across the column the ink is centred: a long line or a
                // bracket sits off the middle of its line's height.
                const double inkMiddle =
                    f.metrics.tightBoundingRect(c.text).center().y() * fonts.mmPerDot();
                out.push_back(
                    {c.text, pt, QPointF(x, cy), true, QPointF(-advance / 2, -inkMiddle)});
            } else {
                const double w = widthMm(c.text, pt);
                out.push_back({c.text,
                               pt,
                               QPointF(x - w / 2, cy + (f.ascentMm - f.descentMm) / 2),
                               false,
                               {}});
            }
        }
        y += advance;
    }
    if (!whole && out.size() > first) {
        // The last character kept gives way to the sign that says more
        // was there.
        PlacedText& last = out.back();
        const double lastCy =
            last.turned ? last.atMm.y() : last.atMm.y() - (f.ascentMm - f.descentMm) / 2;
        const double w = widthMm(Ellipsis, pt);
        last = {Ellipsis, pt, QPointF(x, lastCy), true,
                QPointF(-w / 2, (f.ascentMm - f.descentMm) / 2)};
    }
    return whole;
}

bool CardComposer::placeLine(QString t, double pt, double minPt, double x, double baseline,
                             double width, std::vector<PlacedText>& out) {
    double s = pt;
    const double w = widthMm(t, pt);
    if (w > width) {
        s = std::max(minPt, quantized(pt * width / w));
        while (s > minPt && widthMm(t, s) > width)
            s -= 0.25;
        s = std::max(s, minPt);
    }
    bool whole = true;
    if (widthMm(t, s) > width) {
        t = fonts.elided(t, s, width);
        whole = false;
    }
    out.push_back({t, s, QPointF(x, baseline), false, {}});
    return whole;
}

void CardComposer::placeDigits(const QString& code, ComposedCard& out) {
    const std::array<QRectF, 7> boxes = codeBoxesMm(opts.paper.widthMm);
    const PrintFont& f = fonts.at(digitPt);
    const double mmPerPx = fonts.mmPerDot();
    for (qsizetype i = 0; i < code.size() && i < 7; ++i) {
        const QString d = code.sliced(i, 1);
        // The digit's ink, not its advance, centred in the box.
        const QRectF ink = f.metrics.tightBoundingRect(d);
        const QPointF centre = boxes[std::size_t(i)].center();
        out.texts.push_back({d,
                             digitPt,
                             QPointF(centre.x() - ink.center().x() * mmPerPx,
                                     centre.y() - ink.center().y() * mmPerPx),
                             false,
                             {}});
    }
}

ComposedCard CardComposer::compose(const CardText& t) {
    ComposedCard out;
    const double W = opts.paper.widthMm;
    if (opts.drawBoxes && !opts.paper.printedBoxes) {
        const std::array<QRectF, 7> boxes = codeBoxesMm(W);
        out.boxesMm.assign(boxes.begin(), boxes.end());
        out.hyphenMm = codeHyphenMm(W);
    }
    placeDigits(t.postalCode, out);

    const double bottom = bottomMm;
    if (opts.barcode && !t.barcode.isEmpty()) {
        out.barcode = t.barcode;
        out.barcodeMm = barcodeAtMm;
        out.barcodeSize = barcodeSize;
    }
    // The sender first: the names stop above it.
    if (!sender)
        composeSender();
    if (opts.writing == Writing::Vertical)
        composeVertical(t, bottom, out);
    else
        composeHorizontal(t, opts.sender.isEmpty() ? bottom : senderTopMm - 3, out);

    out.texts.insert(out.texts.end(), sender->texts.begin(), sender->texts.end());
    out.cut.insert(out.cut.end(), sender->cut.begin(), sender->cut.end());
    std::sort(out.cut.begin(), out.cut.end());
    out.cut.erase(std::unique(out.cut.begin(), out.cut.end()), out.cut.end());
    return out;
}

void CardComposer::composeVertical(const CardText& t, double bottom, ComposedCard& out) {
    const double W = opts.paper.widthMm;
    const double top = BoxTopMm + BoxHeightMm + 8;
    const double length = bottom - top;
    // Numbers become kanji in the address only: a name or a company keeps
    // the figures it is written with.
    const auto cellsOf = [&](const QString& s) {
        return verticalCells(text::numbersForVerticalWriting(s, opts.numerals));
    };
    const auto plainCells = [](const QString& s) { return verticalCells(s); };

    // The address: one column, or two with the building (or the address's
    // second half) on the second, set lower by two characters where that
    // fits.
    const double basePt = quantized(toPt(AddressEm * W));
    const double minPt = quantized(basePt * SmallestShare);
    std::vector<std::vector<VerticalCell>> columns;
    std::vector<CardField> fields;
    if (!t.address.isEmpty()) {
        columns.push_back(cellsOf(t.address));
        fields.push_back(CardField::Address);
    }
    if (!t.building.isEmpty()) {
        columns.push_back(cellsOf(t.building));
        fields.push_back(CardField::Building);
    } else if (!columns.empty() &&
               cellsLengthMm(columns[0], quantized(basePt * SplitShare)) > length) {
        const auto [first, second] = splitAddress(t.address);
        columns = {cellsOf(first), cellsOf(second)};
        fields.push_back(CardField::Address);
    }
    double pt = basePt;
    for (std::size_t i = 0; i < columns.size(); ++i)
        pt = std::min(pt, fittingSize(columns[i], basePt, minPt, length));
    const double em = toMm(pt);
    double x = W - MarginMm - 3 - em / 2;
    const double pitch = em * 1.5;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        double start = top;
        if (i > 0 && cellsLengthMm(columns[i], pt) + 2 * em <= length)
            start += 2 * em;
        if (!placeColumn(columns[i], pt, x, start, bottom, out.texts))
            out.cut.push_back(fields[i]);
        x -= pitch;
    }
    double leftEdge = columns.empty() ? W - MarginMm : x + pitch - em / 2;

    // The company and department in a column of their own, a little lower.
    const QString company = [&] {
        QStringList parts;
        for (const QString& p : {t.company, t.department})
            if (!p.isEmpty())
                parts << p;
        return parts.join(u'\u3000');
    }();
    const double companyPt = quantized(toPt(CompanyEm * W));
    if (!company.isEmpty()) {
        const std::vector<VerticalCell> cells = plainCells(company);
        const double cTop = top + 2 * em;
        const double cPt =
            fittingSize(cells, companyPt, quantized(companyPt * SmallestShare), bottom - cTop);
        const double cx = leftEdge - 1.5 - toMm(cPt) / 2;
        if (!placeColumn(cells, cPt, cx, cTop, bottom, out.texts))
            out.cut.push_back(CardField::Company);
        leftEdge = cx - toMm(cPt) / 2;
    }

    // The names: the main one and its joint names in columns to its left,
    // each family name ending and each given name beginning at the same
    // height, and the honorifics level.
    if (t.name.isEmpty())
        return;
    struct Name {
        QString family, given;
    };
    std::vector<Name> names;
    const auto [family, given] = splitName(t.name);
    names.push_back({family, given});
    for (const QString& j : t.jointNames.mid(0, MaxJointNames)) {
        auto [jf, jg] = splitName(j);
        if (jg.isEmpty()) // a given name alone
            std::swap(jf, jg);
        if (jf == family)
            jf.clear();
        names.push_back({jf, jg});
    }
    // Lengths in ems, taken at the base size.
    const double baseNamePt = quantized(toPt(NameEm * W));
    const auto ems = [&](const std::vector<VerticalCell>& cells) {
        return cellsLengthMm(cells, baseNamePt) / toMm(baseNamePt);
    };
    double famEm = 0, givenEm = 0;
    bool anyGiven = false;
    for (const Name& n : names) {
        famEm = std::max(famEm, ems(plainCells(n.family)));
        givenEm = std::max(givenEm, ems(plainCells(n.given)));
        anyGiven = anyGiven || !n.given.isEmpty();
    }
    const double gap = anyGiven && famEm > 0 ? 0.5 : 0.0;
    const std::vector<VerticalCell> honorific = plainCells(t.honorific);
    const double honEm = ems(honorific);
    const double titlePt = quantized(companyPt * 0.8);
    const std::vector<VerticalCell> title = plainCells(t.title);
    const double titleMm = t.title.isEmpty() ? 0 : cellsLengthMm(title, titlePt) + 1;
    const double nameTop = top + em;
    const double totalEm = famEm + gap + givenEm + (honEm > 0 ? 0.5 + honEm : 0);
    const int k = int(names.size()) - 1;
    // Columns that reach the sender's block stop above it.
    auto nameBottomFor = [&](double namePt) {
        const double e = toMm(namePt);
        const double groupLeft =
            std::min(W / 2 + k * 1.3 * e / 2, leftEdge - 3 - e / 2) - k * 1.3 * e - e / 2;
        const bool overSender = !opts.sender.isEmpty() && groupLeft < W * SenderRightShare;
        return overSender ? senderTopMm - 3 : bottom - 2;
    };
    double namePt = baseNamePt;
    for (int round = 0; round < 3 && totalEm > 0; ++round) {
        const double avail = nameBottomFor(namePt) - nameTop - titleMm;
        namePt = std::min(baseNamePt, quantized(toPt(avail / totalEm)));
    }
    const double smallest = quantized(baseNamePt * SmallestShare);
    namePt = std::max(namePt, smallest);
    const double nameBottom = nameBottomFor(namePt);
    const double e = toMm(namePt);
    const double namePitch = 1.3 * e;
    const double mainX = std::min(W / 2 + k * namePitch / 2, leftEdge - 3 - e / 2);
    const double givenTop = nameTop + titleMm + (famEm + gap) * e;
    const double honTop = givenTop + givenEm * e + 0.5 * e;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const double nx = mainX - double(i) * namePitch;
        bool whole = true;
        if (i == 0 && !title.empty())
            whole = placeColumn(title, titlePt, nx, nameTop, nameBottom, out.texts) && whole;
        const std::vector<VerticalCell> fam = plainCells(names[i].family);
        const double famTop = givenTop - gap * e - cellsLengthMm(fam, namePt);
        whole = placeColumn(fam, namePt, nx, famTop, nameBottom, out.texts) && whole;
        whole =
            placeColumn(plainCells(names[i].given), namePt, nx, givenTop, nameBottom, out.texts) &&
            whole;
        whole = placeColumn(honorific, namePt, nx, honTop, nameBottom, out.texts) && whole;
        if (!whole)
            out.cut.push_back(i == 0 ? CardField::Name : CardField::JointNames);
    }
    if (int(t.jointNames.size()) > MaxJointNames)
        out.cut.push_back(CardField::JointNames);
}

void CardComposer::composeHorizontal(const CardText& t, double bottom, ComposedCard& out) {
    const double W = opts.paper.widthMm;
    const double left = MarginMm + 4;
    const double width = W - 2 * left;
    double y = BoxTopMm + BoxHeightMm + 8;
    const double basePt = quantized(toPt(AddressEm * W));
    const double minPt = quantized(basePt * SmallestShare);
    auto line = [&](const QString& s, double pt, double indent, CardField field) {
        if (s.isEmpty())
            return;
        const PrintFont& f = fonts.at(pt);
        y += f.ascentMm;
        if (y > bottom || !placeLine(s, pt, quantized(pt * SmallestShare), left + indent, y,
                                     width - indent, out.texts))
            out.cut.push_back(field);
        y += f.descentMm + toMm(pt) * 0.4;
    };
    line(t.address, basePt, 0, CardField::Address);
    line(t.building, basePt, 2 * toMm(basePt), CardField::Building);
    (void)minPt;
    QStringList companyParts;
    for (const QString& p : {t.company, t.department})
        if (!p.isEmpty())
            companyParts << p;
    const double companyPt = quantized(toPt(CompanyEm * W));
    line(companyParts.join(u'\u3000'), companyPt, toMm(companyPt), CardField::Company);
    if (t.name.isEmpty())
        return;
    y = std::max(y + 4, opts.paper.heightMm * 0.40);
    line(t.title, quantized(companyPt * 0.8), toMm(companyPt) * 2, CardField::Name);

    // Names in lines, the given names starting and the honorifics standing
    // at the same places.
    struct Name {
        QString family, given;
    };
    std::vector<Name> names;
    const auto [family, given] = splitName(t.name);
    names.push_back({family, given});
    for (const QString& j : t.jointNames.mid(0, MaxJointNames)) {
        auto [jf, jg] = splitName(j);
        if (jg.isEmpty())
            std::swap(jf, jg);
        if (jf == family)
            jf.clear();
        names.push_back({jf, jg});
    }
    double pt = quantized(toPt(NameEm * W));
    const double smallest = quantized(pt * SmallestShare);
    double famW = 0, givenW = 0, total = 0;
    for (;; pt -= 0.25) {
        famW = givenW = 0;
        for (const Name& n : names) {
            famW = std::max(famW, widthMm(n.family, pt));
            givenW = std::max(givenW, widthMm(n.given, pt));
        }
        total = famW + toMm(pt) * 0.5 + givenW + toMm(pt) * 0.5 + widthMm(t.honorific, pt);
        if (total <= width || pt <= smallest)
            break;
    }
    const double e = toMm(pt);
    const double start = std::max(left, W / 2 - total / 2);
    const double givenX = start + famW + 0.5 * e;
    const double honX = givenX + givenW + 0.5 * e;
    const PrintFont& f = fonts.at(pt);
    for (std::size_t i = 0; i < names.size(); ++i) {
        y += f.ascentMm;
        if (y > bottom || total > width + 1e-9) {
            out.cut.push_back(i == 0 ? CardField::Name : CardField::JointNames);
            if (y > bottom)
                break;
        }
        out.texts.push_back({names[i].family,
                             pt,
                             QPointF(givenX - 0.5 * e - widthMm(names[i].family, pt), y),
                             false,
                             {}});
        out.texts.push_back({names[i].given, pt, QPointF(givenX, y), false, {}});
        out.texts.push_back({t.honorific, pt, QPointF(honX, y), false, {}});
        y += f.descentMm + e * 0.3;
    }
    if (int(t.jointNames.size()) > MaxJointNames)
        out.cut.push_back(CardField::JointNames);
}

void CardComposer::composeSender() {
    sender.emplace();
    ComposedCard& out = *sender;
    const Sender& s = opts.sender;
    senderTopMm = bottomMm;
    if (s.isEmpty())
        return;
    const double W = opts.paper.widthMm;
    const double H = opts.paper.heightMm;
    const double right = W * SenderRightShare;
    const double top = H * SenderTopShare;
    const double codePt = quantized(toPt(SenderCodeEm * W));
    const PrintFont& code = fonts.at(codePt);
    const double codeBaseline = bottomMm - code.descentMm;
    const double bottom = s.postalCode.isEmpty() ? bottomMm : codeBaseline - code.ascentMm - 2;
    senderTopMm = top;
    const double addressPt = quantized(toPt(SenderAddressEm * W));
    const double namePt = quantized(toPt(SenderNameEm * W));
    bool whole = true;
    if (opts.writing == Writing::Vertical) {
        const auto cellsOf = [&](const QString& t) {
            return verticalCells(text::numbersForVerticalWriting(t, opts.numerals));
        };
        std::vector<std::vector<VerticalCell>> columns;
        const std::vector<VerticalCell> all = cellsOf(s.address);
        if (cellsLengthMm(all, quantized(addressPt * SplitShare)) <= bottom - top) {
            if (!all.empty())
                columns.push_back(all);
        } else {
            const auto [first, second] = splitAddress(s.address);
            columns = {cellsOf(first), cellsOf(second)};
        }
        double pt = addressPt;
        for (const auto& c : columns)
            pt = std::min(
                pt, fittingSize(c, addressPt, quantized(addressPt * SmallestShare), bottom - top));
        double x = right - toMm(pt) / 2;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const double start = i > 0 ? top + toMm(pt) : top;
            whole = placeColumn(columns[i], pt, x, start, bottom, out.texts) && whole;
            x -= toMm(pt) * 1.5;
        }
        const std::vector<VerticalCell> name = verticalCells(s.name);
        if (!name.empty()) {
            const double npt = fittingSize(name, namePt, quantized(namePt * SmallestShare),
                                           bottom - top - toMm(pt));
            const double nx = x + toMm(pt) * 1.5 - toMm(pt) / 2 - 1.5 - toMm(npt) / 2;
            // The name ends where the address ends: at the block's foot.
            const double start = std::max(top + toMm(pt), bottom - cellsLengthMm(name, npt));
            whole = placeColumn(name, npt, nx, start, bottom, out.texts) && whole;
        }
    } else {
        // Lines from the foot up: the address, the name, the code.
        const double left = MarginMm + 2;
        const double width = W * 0.55;
        std::vector<std::pair<QString, double>> lines;
        for (const auto& [t, pt] : {std::pair{s.address, addressPt}, std::pair{s.name, namePt},
                                    std::pair{postalCodeText(s.postalCode), codePt}})
            if (!t.isEmpty())
                lines.emplace_back(t, pt);
        double height = 0;
        for (const auto& [t, pt] : lines)
            height += fonts.at(pt).ascentMm + fonts.at(pt).descentMm + toMm(pt) * 0.3;
        double y = bottomMm - height;
        senderTopMm = y;
        for (const auto& [t, pt] : lines) {
            y += fonts.at(pt).ascentMm;
            whole =
                placeLine(t, pt, quantized(pt * SmallestShare), left, y, width, out.texts) && whole;
            y += fonts.at(pt).descentMm + toMm(pt) * 0.3;
        }
    }
    if (!s.postalCode.isEmpty() && opts.writing == Writing::Vertical) {
        // No box position for the sender is published for every card, so
        // the code goes in digits under the address.
        const QString digits = postalCodeText(s.postalCode);
        const double w = widthMm(digits, codePt);
        out.texts.push_back(
            {digits, codePt, QPointF(std::max(MarginMm, right - w), codeBaseline), false, {}});
    }
    if (!whole)
        out.cut.push_back(CardField::Sender);
}

} // namespace yubin::postcards
