#include "address/address_text.h"

#include "foundation/text.h"

namespace yubin::address {

namespace {

int kanjiDigit(QChar c) {
    switch (c.unicode()) {
    case u'〇':
        return 0;
    case u'一':
        return 1;
    case u'二':
        return 2;
    case u'三':
        return 3;
    case u'四':
        return 4;
    case u'五':
        return 5;
    case u'六':
        return 6;
    case u'七':
        return 7;
    case u'八':
        return 8;
    case u'九':
        return 9;
    default:
        return -1;
    }
}

int kanjiUnit(QChar c) {
    switch (c.unicode()) {
    case u'十':
        return 10;
    case u'百':
        return 100;
    case u'千':
        return 1000;
    default:
        return 0;
    }
}

} // namespace

bool isKanjiNumeral(QChar c) {
    return kanjiDigit(c) >= 0 || kanjiUnit(c) > 0;
}

std::optional<int> kanjiNumberValue(QStringView run) {
    if (run.isEmpty() || run.size() > 8)
        return std::nullopt;
    bool hasUnit = false;
    for (QChar c : run) {
        if (!isKanjiNumeral(c))
            return std::nullopt;
        hasUnit = hasUnit || kanjiUnit(c) > 0;
    }
    if (!hasUnit) {
        if (run.size() > 4)
            return std::nullopt;
        int value = 0;
        for (QChar c : run)
            value = value * 10 + kanjiDigit(c);
        return value;
    }
    // Units must fall in rank order (千 before 百 before 十), each at most
    // once, each with at most one digit before it.
    int total = 0;
    int pending = -1;
    int lastUnit = 10000;
    for (QChar c : run) {
        if (const int unit = kanjiUnit(c); unit > 0) {
            if (unit >= lastUnit)
                return std::nullopt;
            total += (pending < 0 ? 1 : pending) * unit;
            pending = -1;
            lastUnit = unit;
        } else {
            if (pending >= 0)
                return std::nullopt;
            pending = kanjiDigit(c);
        }
    }
    return total + (pending < 0 ? 0 : pending);
}

FoldedText foldForMatch(QStringView in) {
    FoldedText out;
    out.text.reserve(in.size());
    out.origin.reserve(size_t(in.size()) + 1);
    auto put = [&](QChar c, qsizetype from) {
        out.text.append(c);
        out.origin.push_back(from);
    };
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (const qsizetype selector = text::variationSelectorLength(in, i)) {
            i += selector - 1;
            continue;
        }
        QChar c = QChar(text::fullSizeKana(text::kanjiBaseForm(in[i].unicode())));
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E)
            c = QChar(char16_t(c.unicode() - 0xFEE0));
        if (text::isBlank(c) || c == u'\t')
            continue;
        if (c >= u'a' && c <= u'z') {
            put(QChar(char16_t(c.unicode() - 0x20)), i);
        } else if (c == u'ヶ' || c == u'が' || c == u'ガ' || c == u'ｹ') {
            put(u'ケ', i);
        } else if (c == u'之' || c == u'の' || c == u'ﾉ') {
            put(u'ノ', i);
        } else if (text::isHyphenAt(in, i)) {
            put(u'-', i);
        } else if (isKanjiNumeral(c)) {
            qsizetype end = i;
            while (end < in.size() && isKanjiNumeral(in[end]))
                ++end;
            if (const auto value = kanjiNumberValue(in.sliced(i, end - i))) {
                for (QChar digit : QString::number(*value))
                    put(digit, i);
            } else {
                for (qsizetype k = i; k < end; ++k)
                    put(in[k], k);
            }
            i = end - 1;
        } else {
            put(c, i);
        }
    }
    out.origin.push_back(in.size());
    return out;
}

} // namespace yubin::address
