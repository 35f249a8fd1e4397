#include "address/address_text.h"

#include "foundation/text.h"

namespace yubin::address {

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
        const QChar c =
            QChar(text::toHalfWidthAscii(text::fullSizeKana(text::kanjiBaseForm(in[i].unicode()))));
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
        } else if (text::isKanjiNumeral(c)) {
            qsizetype end = i;
            while (end < in.size() && text::isKanjiNumeral(in[end]))
                ++end;
            if (const auto value = text::kanjiNumberValue(in.sliced(i, end - i))) {
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
