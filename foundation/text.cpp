#include "foundation/text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace yubin::text {

namespace {

constexpr char16_t Replacement = 0xFFFD;

constexpr bool isLeadByte(unsigned b) {
    return isCp932LeadByte(b);
}
constexpr bool isTrailByte(unsigned b) {
    return isCp932TrailByte(b);
}

// The code of the character at p[i]: a lead byte and a valid trail byte as
// lead << 8 | trail, any other byte alone; i moves past it. Line ends and
// ASCII punctuation are never trail bytes, so lines decode on their own.
inline unsigned nextCode(const unsigned char* p, qsizetype& i, qsizetype size) {
    const unsigned b = p[i++];
    if (isLeadByte(b) && i < size && isTrailByte(p[i]))
        return b << 8 | p[i++];
    return b;
}

struct Cp932Pair {
    quint16 code;
    char16_t character;
};
#include "cp932_pairs.inc"

// Indexed by the codes nextCode gives: the character of each (U+FFFD where
// the code page has none, and for a lone lead byte), and the reverse. Made
// at compile time from the converter's pairs, each decoded on its own, so
// that an unmapped pair cannot shift the ones after it.
struct Cp932Tables {
    std::array<char16_t, 0x10000> decode{};
    std::array<quint16, 0x10000> encode{};
    std::array<quint8, 0x10000> forms{}; // how many codes give the character, at most 2
};

constexpr bool isValidCode(unsigned code) {
    return code <= 0xFF || (isLeadByte(code >> 8) && isTrailByte(code & 0xFF));
}

constexpr Cp932Tables makeTables() {
    Cp932Tables t;
    t.decode.fill(Replacement);
    for (unsigned b = 0; b < 0x80; ++b)
        t.decode[b] = char16_t(b);
    for (unsigned b = 0xA1; b <= 0xDF; ++b)
        t.decode[b] = char16_t(0xFF61 + (b - 0xA1));
    for (const Cp932Pair& pair : Cp932Pairs) {
        // Not a constant expression, and so no build, should the converter
        // ever decode a pair that nextCode does not read as one.
        if (!isValidCode(pair.code))
            throw "a pair outside the lead and trail bytes";
        t.decode[pair.code] = pair.character;
    }
    // How many codes give each character: a single byte or a pair. Every
    // other code gives U+FFFD, which the single bytes 80 and A0 already give
    // twice.
    auto count = [&t](char16_t c) {
        if (t.forms[c] < 2)
            ++t.forms[c];
    };
    for (unsigned code = 0; code <= 0xFF; ++code)
        count(t.decode[code]);
    for (const Cp932Pair& pair : Cp932Pairs)
        count(pair.character);
    // Reverse map with the encoder's preferences for characters the code
    // page holds twice: the lowest code wins, except that the NEC-selected
    // IBM extensions (lead bytes ED and EE) give way to the IBM extensions
    // (FA to FC).
    for (int pass = 0; pass < 2; ++pass) {
        for (const Cp932Pair& pair : Cp932Pairs) {
            const unsigned lead = pair.code >> 8;
            const bool necSelected = lead == 0xED || lead == 0xEE;
            if (necSelected == (pass == 1) && t.encode[pair.character] == 0)
                t.encode[pair.character] = pair.code;
        }
    }
    return t;
}

constexpr Cp932Tables Tables = makeTables();

const Cp932Tables& tables() {
    return Tables;
}

// Half-width katakana U+FF61-U+FF9F to their full-width forms.
constexpr std::array<char16_t, 0x3F> HalfKanaToFull = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};

constexpr char16_t HalfVoicedMark = 0xFF9E;
constexpr char16_t HalfSemiVoicedMark = 0xFF9F;

// The voiced letter of a full-width katakana, or 0 when it has none.
char16_t voiced(char16_t k) {
    if ((k >= 0x30AB && k <= 0x30C2 && (k - 0x30AB) % 2 == 0) || // カ..チ
        (k >= 0x30C4 && k <= 0x30C8 && (k - 0x30C4) % 2 == 0) || // ツ テ ト
        (k >= 0x30CF && k <= 0x30DB && (k - 0x30CF) % 3 == 0))   // ハ..ホ
        return char16_t(k + 1);
    switch (k) {
    case 0x30A6:
        return 0x30F4; // ウ → ヴ
    case 0x30EF:
        return 0x30F7; // ワ → ヷ
    case 0x30F2:
        return 0x30FA; // ヲ → ヺ
    default:
        return 0;
    }
}

// The semi-voiced letter (パ ピ プ ペ ポ), or 0.
char16_t semiVoiced(char16_t k) {
    if (k >= 0x30CF && k <= 0x30DB && (k - 0x30CF) % 3 == 0)
        return char16_t(k + 2);
    return 0;
}

} // namespace

// ---- code page 932 ----------------------------------------------------

void decodeCp932(QByteArrayView bytes, QString& out) {
    const Cp932Tables& t = tables();
    out.resize(bytes.size());
    QChar* dst = out.data();
    qsizetype n = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;)
        dst[n++] = QChar(t.decode[nextCode(p, i, size)]);
    out.truncate(n);
}

QString decodeCp932(QByteArrayView bytes) {
    QString out;
    decodeCp932(bytes, out);
    return out;
}

int cp932Code(char32_t c) {
    if (c < 0x80)
        return int(c);
    if (c > 0xFFFF)
        return -1;
    if (c >= 0xFF61 && c <= 0xFF9F)
        return int(0xA1 + (c - 0xFF61));
    const quint16 code = tables().encode[c];
    return code != 0 ? int(code) : -1;
}

int jisCodeOfCp932(int code) {
    int hi = code >> 8;
    int lo = code & 0xFF;
    if (code < 0 || code > 0xFFFF || !isLeadByte(unsigned(hi)) || !isTrailByte(unsigned(lo)))
        return -1;
    // Each lead byte covers two rows: trail bytes 40-9E the odd one, 9F-FC
    // the even one; 7F is skipped among the trail bytes.
    hi = (hi <= 0x9F ? hi - 0x71 : hi - 0xB1) * 2 + 1;
    if (lo > 0x7F)
        --lo;
    if (lo >= 0x9E) {
        lo -= 0x7D;
        ++hi;
    } else {
        lo -= 0x1F;
    }
    return hi << 8 | lo;
}

char32_t toCp932Form(char32_t c) {
    switch (c) {
    case 0x301C: // WAVE DASH
        return 0xFF5E;
    case 0x2016: // DOUBLE VERTICAL LINE
        return 0x2225;
    case 0x2212: // MINUS SIGN
        return 0xFF0D;
    case 0x00A2: // CENT SIGN
        return 0xFFE0;
    case 0x00A3: // POUND SIGN
        return 0xFFE1;
    case 0x00AC: // NOT SIGN
        return 0xFFE2;
    case 0x2014: // EM DASH
        return 0x2015;
    default:
        return c;
    }
}

QByteArray encodeCp932(QStringView text, bool* ok) {
    QByteArray out;
    out.reserve(text.size() * 2);
    bool allMapped = true;
    for (QChar ch : text) {
        const int code = cp932Code(ch.unicode());
        if (code < 0) {
            out.append('?');
            allMapped = false;
        } else if (code > 0xFF) {
            out.append(char(code >> 8));
            out.append(char(code & 0xFF));
        } else {
            out.append(char(code));
        }
    }
    if (ok)
        *ok = allMapped;
    return out;
}

std::optional<QByteArray> encodeCp932Exactly(QStringView word) {
    const Cp932Tables& t = tables();
    for (QChar ch : word)
        if (t.forms[ch.unicode()] != 1)
            return std::nullopt;
    return encodeCp932(word);
}

// ---- width, kana and case ----------------------------------------------

void toFullWidth(QStringView in, QString& out) {
    out.resize(in.size());
    QChar* dst = out.data();
    qsizetype n = 0;
    const qsizetype size = in.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = in[i].unicode();
        if (c >= 0x21 && c <= 0x7E) {
            dst[n++] = QChar(char16_t(c + 0xFEE0));
        } else if (c == 0x20) {
            dst[n++] = QChar(char16_t(0x3000));
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            const char16_t full = HalfKanaToFull[c - 0xFF61];
            char16_t combined = 0;
            if (i + 1 < size) {
                const char16_t next = in[i + 1].unicode();
                if (next == HalfVoicedMark)
                    combined = voiced(full);
                else if (next == HalfSemiVoicedMark)
                    combined = semiVoiced(full);
            }
            if (combined != 0) {
                dst[n++] = QChar(combined);
                ++i;
            } else {
                dst[n++] = QChar(full);
            }
        } else {
            dst[n++] = QChar(c);
        }
    }
    out.truncate(n);
}

QString toFullWidth(QStringView in) {
    QString out;
    toFullWidth(in, out);
    return out;
}

QString toHalfWidthAscii(QStringView in) {
    QString out(in.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < in.size(); ++i)
        out[i] = QChar(toHalfWidthAscii(in[i].unicode()));
    return out;
}

QString katakanaToHalfWidth(QStringView in) {
    QString out;
    out.reserve(in.size() + in.size() / 4);
    appendKatakanaToHalfWidth(in, out);
    return out;
}

void appendKatakanaToHalfWidth(QStringView in, QString& out) {
    // The reverse of HalfKanaToFull, and of the two sound marks for the
    // letters that take them.
    static const std::array<char16_t, 0x60> fullToHalf = [] {
        std::array<char16_t, 0x60> t{};
        for (size_t i = 0; i < HalfKanaToFull.size(); ++i) {
            const char16_t full = HalfKanaToFull[i];
            if (full >= 0x30A0 && full < 0x3100)
                t[full - 0x30A0] = char16_t(0xFF61 + i);
        }
        return t;
    }();
    auto half = [](char16_t full) -> char16_t {
        return full >= 0x30A0 && full < 0x3100 ? fullToHalf[full - 0x30A0] : 0;
    };
    for (const QChar qc : in) {
        const char16_t c = qc.unicode();
        if (const char16_t ascii = toHalfWidthAscii(c); c < 0x80 || ascii != c) {
            out += QChar(ascii);
            continue;
        }
        switch (c) {
        case 0x3001: // 、
            out += QChar(char16_t(0xFF64));
            continue;
        case 0x3002: // 。
            out += QChar(char16_t(0xFF61));
            continue;
        case 0x300C: // 「
            out += QChar(char16_t(0xFF62));
            continue;
        case 0x300D: // 」
            out += QChar(char16_t(0xFF63));
            continue;
        case 0x309B: // ゛
            out += QChar(HalfVoicedMark);
            continue;
        case 0x309C: // ゜
            out += QChar(HalfSemiVoicedMark);
            continue;
        default:
            break;
        }
        if (const char16_t h = half(c)) {
            out += QChar(h);
            continue;
        }
        // A voiced or semi-voiced letter: the letter before it in the table
        // that voices to it.
        const char16_t base = char16_t(c - 1);
        const char16_t baseSemi = char16_t(c - 2);
        if (c >= 0x30A0 && c < 0x3100 && half(base) && voiced(base) == c) {
            out += QChar(half(base));
            out += QChar(HalfVoicedMark);
        } else if (c == 0x30F4 || c == 0x30F7 || c == 0x30FA) { // ヴ ヷ ヺ
            const char16_t letter = c == 0x30F4 ? 0x30A6 : c == 0x30F7 ? 0x30EF : 0x30F2;
            out += QChar(half(letter));
            out += QChar(HalfVoicedMark);
        } else if (c >= 0x30A0 && c < 0x3100 && half(baseSemi) && semiVoiced(baseSemi) == c) {
            out += QChar(half(baseSemi));
            out += QChar(HalfSemiVoicedMark);
        } else {
            out += qc;
        }
    }
}

void katakanaToHiragana(QStringView in, QString& out) {
    out.resize(in.size());
    QChar* dst = out.data();
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char16_t c = in[i].unicode();
        // ァ..ヶ have hiragana counterparts 0x60 below; ヽ ヾ likewise.
        if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE)
            dst[i] = QChar(char16_t(c - 0x60));
        else
            dst[i] = QChar(c);
    }
}

QString katakanaToHiragana(QStringView in) {
    QString out;
    katakanaToHiragana(in, out);
    return out;
}

QString readingToHiragana(QStringView in) {
    QString full;
    toFullWidth(in, full);
    QString out;
    katakanaToHiragana(full, out);
    return out;
}

QString toUpperCase(QStringView in) {
    QString out(in.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char16_t c = in[i].unicode();
        if (c >= u'a' && c <= u'z')
            out[i] = QChar(char16_t(c - 0x20));
        else if (c < 0x80)
            out[i] = QChar(c);
        else
            out[i] = in[i].toUpper();
    }
    return out;
}

// ---- the fold key of the full search ----------------------------------

namespace {

// ASCII other than a line end, and half-width katakana: the bytes that are
// their own fold key, the greater part of a data file.
bool isPlainByte(unsigned b) {
    return (b < 0x80 && b != '\n' && b != '\r') || (b >= 0xA1 && b <= 0xDF);
}

// Copies the plain bytes from src on to dst, looked at sixteen at a time,
// and says how many there were; at most `limit`, and fewer than sixteen
// left over are not looked at. Each block is stored whole: bytes past the
// plain ones are written over by what follows, as dst is filled in order.
qsizetype copyPlainRun(const unsigned char* src, unsigned char* dst, qsizetype limit) {
    qsizetype k = 0;
#ifdef __SSE2__
    const __m128i minusOne = _mm_set1_epi8(-1);
    const __m128i kanaStart = _mm_set1_epi8(char(0xA1));
    const __m128i signBit = _mm_set1_epi8(char(0x80));
    const __m128i kanaCount = _mm_set1_epi8(char(0x3F ^ 0x80));
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (; k + 16 <= limit; k += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + k));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + k), v);
        const __m128i ascii = _mm_cmpgt_epi8(v, minusOne);
        // b - A1 below 3F, unsigned, compared as signed with the sign bit
        // flipped.
        const __m128i kana =
            _mm_cmplt_epi8(_mm_xor_si128(_mm_sub_epi8(v, kanaStart), signBit), kanaCount);
        const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr));
        const auto plain =
            unsigned(_mm_movemask_epi8(_mm_andnot_si128(ends, _mm_or_si128(ascii, kana))));
        if (plain != 0xFFFF)
            return k + std::countr_one(plain);
    }
#else
    (void)src;
    (void)dst;
    (void)limit;
#endif
    return k;
}

// Fold keys packed as length << 16 | second byte << 8 | first byte; 0 where
// there is none.
struct FoldTables {
    std::array<quint32, 0x10000> ofChar{}; // by the folded character
    std::array<quint32, 0x10000> ofCode{}; // by the code nextCode gives
    bool plainBytesAreTheirKey = true;
    std::array<bool, 0x100> leadKeepsPairs{}; // every pair with this lead is its own key
};

// The hiragana form of the full-width form of one character.
char16_t foldedChar(char16_t c, QString& full, QString& hiragana) {
    toFullWidth(QStringView(&c, 1), full);
    katakanaToHiragana(full, hiragana);
    return hiragana.at(0).unicode();
}

quint32 packedCode(unsigned code) {
    return code <= 0xFF ? (1u << 16 | code) : (2u << 16 | (code & 0xFF) << 8 | code >> 8);
}

// Built from the width and kana conversions themselves, so that the key can
// never disagree with the forms it stands for.
const FoldTables& foldTables() {
    static const std::unique_ptr<FoldTables> built = [] {
        const Cp932Tables& t = tables();
        auto f = std::make_unique<FoldTables>();
        QString full, hiragana;
        auto valid = [](unsigned code) {
            return code <= 0xFF || (isLeadByte(code >> 8) && isTrailByte(code & 0xFF));
        };
        // Codes rise from the single bytes up: the first with a folded
        // character is its shortest and lowest form.
        for (unsigned code = 0; code <= 0xFFFF; ++code) {
            if (!valid(code))
                continue;
            quint32& key = f->ofChar[foldedChar(t.decode[code], full, hiragana)];
            if (key == 0)
                key = packedCode(code);
        }
        for (char16_t letter = 0xFF61; letter <= 0xFF9F; ++letter) {
            for (char16_t mark : {HalfVoicedMark, HalfSemiVoicedMark}) {
                const char16_t pair[2] = {letter, mark};
                toFullWidth(QStringView(pair, 2), full);
                if (full.size() != 1)
                    continue;
                const char16_t voicedLetter = full.at(0).unicode();
                const quint32 first = f->ofChar[foldedChar(letter, full, hiragana)];
                const quint32 second = f->ofChar[foldedChar(mark, full, hiragana)];
                f->ofChar[foldedChar(voicedLetter, full, hiragana)] =
                    2u << 16 | (second & 0xFF) << 8 | (first & 0xFF);
            }
        }
        for (unsigned code = 0; code <= 0xFFFF; ++code)
            if (valid(code))
                f->ofCode[code] = f->ofChar[foldedChar(t.decode[code], full, hiragana)];
        for (unsigned b = 0; b <= 0xFF; ++b) {
            if (isPlainByte(b) && f->ofCode[b] != packedCode(b))
                f->plainBytesAreTheirKey = false;
            f->leadKeepsPairs[b] = isLeadByte(b);
            for (unsigned trail = 0x40; trail <= 0xFC && f->leadKeepsPairs[b]; ++trail)
                if (isTrailByte(trail) && f->ofCode[b << 8 | trail] != packedCode(b << 8 | trail))
                    f->leadKeepsPairs[b] = false;
        }
        return f;
    }();
    return *built;
}

} // namespace

std::optional<QByteArray> foldKey(QStringView word) {
    const FoldTables& f = foldTables();
    QString full, hiragana;
    QByteArray key;
    key.reserve(word.size() * 2);
    for (QChar ch : word) {
        const quint32 packed = f.ofChar[foldedChar(ch.unicode(), full, hiragana)];
        if (packed == 0)
            return std::nullopt;
        key.append(char(packed & 0xFF));
        if (packed >> 16 == 2)
            key.append(char(packed >> 8 & 0xFF));
    }
    return key;
}

void foldKeyOfCp932Lines(QByteArrayView bytes, QByteArray& out) {
    const FoldTables& f = foldTables();
    const qsizetype size = bytes.size();
    out.resize(size);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    auto* dst = reinterpret_cast<unsigned char*>(out.data());
    // No character's key is longer than the character, so the key of a
    // line ends at or before the line's own end.
    qsizetype n = 0;
    for (qsizetype i = 0; i < size;) {
        if (f.plainBytesAreTheirKey && isPlainByte(p[i])) {
            // n <= i, so the sixteen bytes stored at n stay within the key.
            const qsizetype run = copyPlainRun(p + i, dst + n, size - i);
            n += run;
            i += run;
            if (run > 0)
                continue;
        }
        const unsigned b = p[i];
        if (b == '\n' || b == '\r') {
            std::memset(dst + n, '\n', size_t(i - n));
            dst[i] = uchar(b);
            n = ++i;
            continue;
        }
        // Most kanji, and in runs: rows of the code page whose every pair is
        // its own key.
        if (f.leadKeepsPairs[b] && i + 1 < size && isTrailByte(p[i + 1])) {
            do {
                dst[n++] = p[i++];
                dst[n++] = p[i++];
            } while (i + 1 < size && f.leadKeepsPairs[p[i]] && isTrailByte(p[i + 1]));
            continue;
        }
        const quint32 packed = f.ofCode[nextCode(p, i, size)];
        dst[n++] = uchar(packed & 0xFF);
        if (packed >> 16 == 2)
            dst[n++] = uchar(packed >> 8 & 0xFF);
    }
    std::memset(dst + n, '\n', size_t(size - n));
}

QString joinNonEmpty(const QStringList& parts, QStringView separator) {
    QStringList kept;
    for (const QString& p : parts)
        if (!p.isEmpty())
            kept << p;
    return kept.join(separator);
}

QStringView trimBlanks(QStringView in) {
    qsizetype begin = 0;
    qsizetype end = in.size();
    while (begin < end && isBlank(in[begin]))
        ++begin;
    while (end > begin && isBlank(in[end - 1]))
        --end;
    return in.sliced(begin, end - begin);
}

// ---- signs and characters that addresses and codes write either way ----

namespace {

// Each old or variant form and the form it compares as. Both sides of a
// comparison are folded, so which member of a pair is the base matters not.
constexpr std::pair<char16_t, char16_t> VariantKanji[] = {
    {u'龍', u'竜'}, {u'竈', u'釜'}, {u'檮', u'梼'}, {u'驒', u'騨'}, {u'婁', u'娄'}, {u'諫', u'諌'},
    {u'溪', u'渓'}, {u'擽', u'櫟'}, {u'澤', u'沢'}, {u'邊', u'辺'}, {u'邉', u'辺'}, {u'齋', u'斎'},
    {u'齊', u'斎'}, {u'斉', u'斎'}, {u'髙', u'高'}, {u'﨑', u'崎'}, {u'嵜', u'崎'}, {u'鰺', u'鯵'},
    {u'條', u'条'}, {u'巿', u'市'}, {u'嶋', u'島'}, {u'嶌', u'島'}, {u'舘', u'館'}, {u'冨', u'富'},
    {u'祗', u'祇'}, {u'濱', u'浜'}, {u'濵', u'浜'}, {u'廣', u'広'}, {u'櫻', u'桜'}, {u'國', u'国'},
    {u'會', u'会'}, {u'眞', u'真'}, {u'德', u'徳'}, {u'惠', u'恵'}, {u'瀨', u'瀬'}, {u'槇', u'槙'},
    {u'曾', u'曽'}, {u'淵', u'渕'},
};

// Small kana and their full-size letters.
constexpr std::pair<char16_t, char16_t> SmallKana[] = {
    {u'ぁ', u'あ'}, {u'ぃ', u'い'}, {u'ぅ', u'う'}, {u'ぇ', u'え'}, {u'ぉ', u'お'}, {u'っ', u'つ'},
    {u'ゃ', u'や'}, {u'ゅ', u'ゆ'}, {u'ょ', u'よ'}, {u'ゎ', u'わ'}, {u'ゕ', u'か'}, {u'ゖ', u'け'},
    {u'ァ', u'ア'}, {u'ィ', u'イ'}, {u'ゥ', u'ウ'}, {u'ェ', u'エ'}, {u'ォ', u'オ'}, {u'ッ', u'ツ'},
    {u'ャ', u'ヤ'}, {u'ュ', u'ユ'}, {u'ョ', u'ヨ'}, {u'ヮ', u'ワ'}, {u'ヵ', u'カ'}, {u'ヶ', u'ケ'},
    {u'ｧ', u'ｱ'},   {u'ｨ', u'ｲ'},   {u'ｩ', u'ｳ'},   {u'ｪ', u'ｴ'},   {u'ｫ', u'ｵ'},   {u'ｬ', u'ﾔ'},
    {u'ｭ', u'ﾕ'},   {u'ｮ', u'ﾖ'},   {u'ｯ', u'ﾂ'},
};

template <std::size_t N>
char16_t lookUp(const std::pair<char16_t, char16_t> (&table)[N], char16_t c) {
    for (const auto& [from, to] : table)
        if (from == c)
            return to;
    return c;
}

bool isAnyDigit(QChar c) {
    return digitValue(c) >= 0;
}

} // namespace

bool isDashSign(QChar c) {
    switch (c.unicode()) {
    case u'-':
    case u'－':
    case u'‐':
    case u'‑':
    case u'‒':
    case u'–':
    case u'—':
    case u'―':
    case u'−':
    case u'﹣':
        return true;
    default:
        return false;
    }
}

int digitValue(QChar c) {
    const char16_t u = toHalfWidthAscii(c.unicode());
    return u >= u'0' && u <= u'9' ? u - u'0' : -1;
}

bool isHyphenAt(QStringView s, qsizetype i) {
    if (i < 0 || i >= s.size())
        return false;
    if (isDashSign(s[i]))
        return true;
    return (s[i] == u'ー' || s[i] == u'ｰ') && i > 0 && i + 1 < s.size() && isAnyDigit(s[i - 1]) &&
           isAnyDigit(s[i + 1]);
}

QString withPlainHyphens(QStringView in) {
    QString out = in.toString();
    for (qsizetype i = 0; i < in.size(); ++i)
        if (isHyphenAt(in, i))
            out[i] = u'-';
    return out;
}

char16_t kanjiBaseForm(char16_t c) {
    return c < 0x4E00 ? c : lookUp(VariantKanji, c);
}

char16_t fullSizeKana(char16_t c) {
    return lookUp(SmallKana, c);
}

qsizetype variationSelectorLength(QStringView s, qsizetype i) {
    if (i < 0 || i >= s.size())
        return 0;
    const char16_t c = s[i].unicode();
    if (c >= 0xFE00 && c <= 0xFE0F)
        return 1;
    // U+E0100-E01EF: the high surrogate DB40 and a low one DD00-DDEF.
    if (c == 0xDB40 && i + 1 < s.size() && s[i + 1].unicode() >= 0xDD00 &&
        s[i + 1].unicode() <= 0xDDEF)
        return 2;
    return 0;
}

std::optional<PostalCodeFound> readLeadingPostalCode(QStringView in) {
    qsizetype i = 0;
    while (i < in.size() && isBlank(in[i]))
        ++i;
    if (i < in.size() && in[i] == u'〒')
        ++i;
    while (i < in.size() && isBlank(in[i]))
        ++i;
    QString digits;
    while (i < in.size() && digits.size() < 7) {
        if (isAnyDigit(in[i])) {
            digits += QChar(toHalfWidthAscii(in[i].unicode()));
        } else if (digits.size() != 3 || !isHyphenAt(in, i)) {
            break; // a hyphen-like sign stands only after the third digit
        }
        if (!isAnyDigit(in[i]) && i > 0 && !isAnyDigit(in[i - 1]))
            return std::nullopt;
        ++i;
    }
    if (digits.size() != 7 || (i < in.size() && isAnyDigit(in[i])))
        return std::nullopt;
    return PostalCodeFound{digits, i};
}

std::optional<QString> readPostalCode(QStringView in) {
    const std::optional<PostalCodeFound> found = readLeadingPostalCode(in);
    if (!found || !trimBlanks(in.sliced(found->end)).isEmpty())
        return std::nullopt;
    return found->code;
}

namespace {

constexpr char16_t KanjiDigits[] = u"〇一二三四五六七八九";

int kanjiDigit(QChar c) {
    for (int d = 0; d < 10; ++d)
        if (KanjiDigits[d] == c.unicode())
            return d;
    return -1;
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

// 1 to 9999 with 千, 百 and 十; a one before them is not written.
void appendBelowTenThousand(int n, QString& out) {
    constexpr char16_t Places[] = {u'千', u'百', u'十'};
    constexpr int Units[] = {1000, 100, 10};
    for (int i = 0; i < 3; ++i) {
        const int d = n / Units[i] % 10;
        if (d == 0)
            continue;
        if (d > 1)
            out += QChar(KanjiDigits[d]);
        out += QChar(Places[i]);
    }
    if (n % 10 != 0)
        out += QChar(KanjiDigits[n % 10]);
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

QString kanjiNumber(QStringView digits, KanjiNumerals style) {
    QString out;
    qsizetype first = 0;
    if (style == KanjiNumerals::WithPlaces) {
        // Leading zeros say nothing once the places are named.
        while (first + 1 < digits.size() && digitValue(digits[first]) == 0)
            ++first;
    }
    if (style == KanjiNumerals::DigitByDigit || digits.size() - first > 16) {
        for (QChar c : digits)
            if (const int d = digitValue(c); d >= 0)
                out += QChar(KanjiDigits[d]);
        return out;
    }
    quint64 value = 0;
    for (QChar c : digits.sliced(first))
        value = value * 10 + quint64(std::max(0, digitValue(c)));
    if (value == 0)
        return QString(QChar(KanjiDigits[0]));
    constexpr char16_t Myriads[] = {u'兆', u'億', u'万'};
    constexpr quint64 Scales[] = {1'0000'0000'0000ULL, 1'0000'0000ULL, 1'0000ULL};
    for (int i = 0; i < 3; ++i) {
        const int group = int(value / Scales[i] % 10000);
        if (group == 0)
            continue;
        // 一万 and 一億 keep their one, as people write them.
        if (group == 1)
            out += QChar(KanjiDigits[1]);
        else
            appendBelowTenThousand(group, out);
        out += QChar(Myriads[i]);
    }
    appendBelowTenThousand(int(value % 10000), out);
    return out;
}

QString numbersForVerticalWriting(QStringView in, KanjiNumerals style) {
    QString out;
    out.reserve(in.size());
    qsizetype i = 0;
    bool afterNumber = false;
    while (i < in.size()) {
        if (digitValue(in[i]) >= 0) {
            qsizetype end = i;
            while (end < in.size() && digitValue(in[end]) >= 0)
                ++end;
            out += kanjiNumber(in.sliced(i, end - i), style);
            i = end;
            afterNumber = true;
            continue;
        }
        const QChar c = in[i];
        if (afterNumber && isHyphenAt(in, i) && i + 1 < in.size() && digitValue(in[i + 1]) >= 0) {
            out += u'ー';
        } else {
            out += c;
        }
        afterNumber = false;
        ++i;
    }
    return out;
}

bool turnsInVerticalWriting(QChar c) {
    if (isDashSign(c))
        return true;
    switch (c.unicode()) {
    case u'ー':
    case u'～':
    case u'〜':
    case u'~':
    case u'…':
    case u'‥':
    case u'（':
    case u'）':
    case u'(':
    case u')':
    case u'「':
    case u'」':
    case u'『':
    case u'』':
    case u'【':
    case u'】':
    case u'〔':
    case u'〕':
    case u'［':
    case u'］':
    case u'[':
    case u']':
    case u'｛':
    case u'｝':
    case u'{':
    case u'}':
    case u'〈':
    case u'〉':
    case u'《':
    case u'》':
    case u'＜':
    case u'＞':
    case u'<':
    case u'>':
        return true;
    default:
        return false;
    }
}

} // namespace yubin::text
