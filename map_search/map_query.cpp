#include "map_search/map_query.h"

#include "foundation/data_file.h"
#include "foundation/shared_values.h"
#include "foundation/text.h"

#include <QStringEncoder>

namespace yubin {

namespace {

struct IslandRewrite {
    QStringView match;
    QStringView replacement;
    bool wholeText; // else: the beginning, keeping what follows
};

// The postal data names the islands' subprefectures; the map services know
// the villages and towns by their plain names. The order matters.
constexpr IslandRewrite IslandRewrites[] = {
    {u"東京都小笠原諸島小笠原村父島", u"東京都小笠原村父島", true},
    {u"東京都小笠原諸島小笠原村母島", u"東京都小笠原村母島", true},
    {u"東京都大島大島町", u"東京都大島町", false},
    {u"東京都新島新島村", u"東京都新島村", false},
    {u"東京都八丈島八丈町", u"東京都八丈町", false},
    {u"東京都三宅島三宅村", u"東京都三宅村", false},
};

constexpr char HexDigits[] = "0123456789ABCDEF";

void appendByte(QString& out, unsigned byte) {
    out += u'%';
    out += QLatin1Char(HexDigits[(byte >> 4) & 0xF]);
    out += QLatin1Char(HexDigits[byte & 0xF]);
}

QString hexByte(int value) {
    QString s;
    s += QLatin1Char(HexDigits[(value >> 4) & 0xF]);
    s += QLatin1Char(HexDigits[value & 0xF]);
    return s;
}

bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

bool isUnreserved(char32_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.' || c == u'_' || c == u'~';
}

void appendNumericReference(QString& out, char32_t c) {
    appendByte(out, '&');
    appendByte(out, '#');
    out += QString::number(uint(c));
    appendByte(out, ';');
}

void appendAscii(QString& out, char32_t c) {
    if (isUnreserved(c))
        out += QChar(char16_t(c));
    else
        appendByte(out, unsigned(c));
}

// The bytes of one character in the given encoding, or empty when it has
// none for it.
QByteArray encodeWith(const char* encoding, char32_t c) {
    QStringEncoder encoder(encoding, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(QString::fromUcs4(&c, 1));
    return encoder.hasError() ? QByteArray() : bytes;
}

// Walks the text by code point; a lone surrogate counts as U+FFFD, as a
// browser's form submission treats it.
template <typename Fn> void forEachCodePoint(QStringView text, Fn&& fn) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            fn(QChar::surrogateToUcs4(ch, text[i + 1]));
            ++i;
        } else if (ch.isSurrogate()) {
            fn(char32_t(0xFFFD));
        } else {
            fn(char32_t(ch.unicode()));
        }
    }
}

QByteArray twoBytes(int first, int second) {
    QByteArray bytes(2, '\0');
    bytes[0] = char(first);
    bytes[1] = char(second);
    return bytes;
}

// The EUC-JP bytes of a character: half-width katakana after the single
// shift, a double-byte character through its JIS code, and what lies outside
// the JIS rows (the IBM extensions) as the Microsoft form of EUC-JP has it,
// as its NEC-selected twin. Empty when EUC-JP has none.
QByteArray eucJpBytes(char32_t c) {
    const char32_t form = text::toCp932Form(c);
    const int code = text::cp932Code(form);
    if (text::isCp932HalfWidthKatakana(code))
        return twoBytes(0x8E, code);
    if (code > 0xFF) {
        const int jis = text::jisCodeOfCp932(code);
        const int row = jis >> 8;
        const int cell = jis & 0xFF;
        if (jis >= 0 && row >= 0x21 && row <= 0x7E && cell >= 0x21 && cell <= 0x7E)
            return twoBytes(row + 0x80, cell + 0x80);
    }
    return encodeWith("EUC-JP", form);
}

// The code page 932 bytes of a character; empty when it has none.
QByteArray shiftJisBytes(char32_t c) {
    const int code = text::cp932Code(text::toCp932Form(c));
    if (code < 0)
        return {};
    if (code > 0xFF)
        return twoBytes(code >> 8, code & 0xFF);
    return QByteArray(1, char(code));
}

// ASCII as itself or escaped; any other character as the escaped bytes
// `encode` gives it, or as a numeric reference where it gives none.
template <typename Encode> QString percentQuery(QStringView text, Encode encode) {
    QString out;
    out.reserve(text.size() * 6);
    forEachCodePoint(text, [&](char32_t c) {
        if (c < 0x80) {
            appendAscii(out, c);
            return;
        }
        const QByteArray bytes = encode(c);
        if (bytes.isEmpty()) {
            appendNumericReference(out, c);
            return;
        }
        for (char b : bytes)
            appendByte(out, uchar(b));
    });
    return out;
}

} // namespace

bool mapSearchOffered(qint16 mapMode) {
    return mapMode != FlagSet;
}

QString rewriteMapAddress(QStringView address) {
    // Blanks around the text would hide its beginning and its ending.
    QString result = text::trimmed(address);
    if (result.endsWith(WholeAreaEnding))
        result.chop(WholeAreaEnding.size());
    for (const IslandRewrite& rule : IslandRewrites) {
        if (rule.wholeText) {
            if (result == rule.match)
                result = rule.replacement.toString();
        } else if (result.startsWith(rule.match)) {
            result = rule.replacement.toString() + result.mid(rule.match.size());
        }
    }
    return result;
}

QString SJIStoJIS(const QString& strSJISCODE) {
    if (strSJISCODE.size() != 4)
        return QString();
    for (QChar c : strSJISCODE)
        if (!isHexDigit(c))
            return QString();
    const int jis = text::jisCodeOfCp932(strSJISCODE.toInt(nullptr, 16));
    return jis < 0 ? QString() : hexByte(jis >> 8) + hexByte(jis & 0xFF);
}

QString eucJpQuery(QStringView text) {
    return percentQuery(text, eucJpBytes);
}

QString shiftJisQuery(QStringView text) {
    return percentQuery(text, shiftJisBytes);
}

QString utf8Query(QStringView text) {
    QString out;
    out.reserve(text.size() * 9);
    forEachCodePoint(text, [&out](char32_t c) {
        for (const char byte : QString::fromUcs4(&c, 1).toUtf8())
            appendAscii(out, uchar(byte));
    });
    return out;
}

// The search address of each service as the service documents it: Google's
// "Maps URLs" (api=1 and a UTF-8 query), OpenStreetMap's own search page.
QString googleMapsUrl(const QString& encodedQuery) {
    return QStringLiteral("https://www.google.com/maps/search/?api=1&query=") + encodedQuery;
}

QString openStreetMapUrl(const QString& encodedQuery) {
    return QStringLiteral("https://www.openstreetmap.org/search?query=") + encodedQuery;
}

QString googleSearchUrl(const QString& encodedQuery) {
    return QStringLiteral("https://www.google.co.jp/search?q=") + encodedQuery +
           QStringLiteral("&hl=ja&ie=Shift_JIS&oe=Shift_JIS");
}

QString yahooSearchUrl(const QString& encodedQuery) {
    return QStringLiteral("https://search.yahoo.co.jp/bin/search?p=") + encodedQuery +
           QStringLiteral("&fr=top&src=top");
}

QString mapSearchUrl(MapSite site, QStringView text) {
    const QString query = utf8Query(text::trimBlanks(text));
    return site == MapSite::OpenStreetMap ? openStreetMapUrl(query) : googleMapsUrl(query);
}

QString webSearchUrl(WebEngine engine, QStringView text) {
    const QStringView trimmed = text::trimBlanks(text);
    return engine == WebEngine::Yahoo ? yahooSearchUrl(eucJpQuery(trimmed))
                                      : googleSearchUrl(shiftJisQuery(trimmed));
}

} // namespace yubin
