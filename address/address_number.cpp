#include "address/address_number.h"

#include "address/address_text.h"
#include "foundation/text.h"

namespace yubin::address {

namespace {

bool isLetter(QChar c) {
    return c >= u'A' && c <= u'Z';
}

// Width, case and hyphens: the forms the later steps read.
QString halfWidthUpper(QStringView in) {
    return text::withPlainHyphens(text::toUpperCase(text::toHalfWidthAscii(in)));
}

// A kanji number counts only right before one of these words.
bool isNumberWordAt(QStringView s, qsizetype at) {
    static const QStringView words[] = {u"丁目", u"丁", u"番地", u"番", u"号",
                                        u"地割", u"線", u"の",   u"ノ"};
    for (QStringView word : words)
        if (s.sliced(at).startsWith(word))
            return true;
    return false;
}

QString kanjiNumbersToDigits(const QString& in) {
    QString out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (!text::isKanjiNumeral(in[i])) {
            out.append(in[i]);
            continue;
        }
        qsizetype end = i;
        while (end < in.size() && text::isKanjiNumeral(in[end]))
            ++end;
        const auto value = text::kanjiNumberValue(QStringView(in).sliced(i, end - i));
        if (value && end < in.size() && isNumberWordAt(in, end)) {
            if (out.endsWith(u'第'))
                out.chop(1);
            out.append(QString::number(*value));
        } else {
            out.append(QStringView(in).sliced(i, end - i));
        }
        i = end - 1;
    }
    return out;
}

} // namespace

AddressNumber addressNumber(QStringView addressB) {
    QString s = kanjiNumbersToDigits(halfWidthUpper(addressB));
    s.removeIf(
        [](QChar c) { return c == u'&' || c == u'/' || c == u'・' || c == u'･' || c == u'.'; });
    // A floor written 10F ends its number like any other word.
    for (qsizetype i = 1; i < s.size(); ++i)
        if (s[i] == u'F' && text::isAsciiDigit(s[i - 1]))
            s[i] = u'-';

    AddressNumber result;
    QString kept;
    kept.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        bool keep = text::isAsciiDigit(c) || c == u'-';
        if (isLetter(c)) {
            keep = !(i > 0 && isLetter(s[i - 1])) && !(i + 1 < s.size() && isLetter(s[i + 1]));
            result.lettersDropped = result.lettersDropped || !keep;
        }
        if (keep)
            kept.append(c);
        else if (!kept.endsWith(u'-'))
            kept.append(u'-');
    }

    // One hyphen at most between two places, none at the ends and none
    // beside a letter: the letter's control code already separates.
    QString& out = result.number;
    out.reserve(kept.size());
    for (qsizetype i = 0; i < kept.size(); ++i) {
        const QChar c = kept[i];
        if (c != u'-') {
            if (isLetter(c) && out.endsWith(u'-'))
                out.chop(1);
            out.append(c);
            continue;
        }
        if (out.isEmpty() || out.endsWith(u'-') || isLetter(out.back()))
            continue;
        out.append(c);
    }
    if (out.endsWith(u'-'))
        out.chop(1);
    return result;
}

int barcodePlaces(QStringView number) {
    int places = 0;
    for (QChar c : number)
        places += isLetter(c) ? 2 : 1;
    return places;
}

} // namespace yubin::address
