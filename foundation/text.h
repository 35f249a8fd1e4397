#pragma once

// The Japanese text services of the program: code page 932 ("windows-31j")
// decoding and encoding, and the width, kana and case conversions that the
// lists, the searches and the barcode run on every line. They are table
// driven and write into caller-owned buffers where a loop calls them per line.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace yubin::text {

// ---- code page 932 ----------------------------------------------------

// Decodes code page 932 bytes. A byte sequence that is not valid code page
// 932 becomes U+FFFD; decoding never stops early and never drops text.
QString decodeCp932(QByteArrayView bytes);
void decodeCp932(QByteArrayView bytes, QString& out);

// Encodes text as code page 932. A character the code page cannot hold is
// written as "?" and clears *ok when given.
QByteArray encodeCp932(QStringView text, bool* ok = nullptr);

// The word's code page 932 bytes when every one of its characters has
// exactly one byte form, so that decoded text holds the word only where
// the bytes hold these; nullopt otherwise (a character the code page holds
// twice, one it cannot hold, or U+FFFD, which any undecodable byte gives).
std::optional<QByteArray> encodeCp932Exactly(QStringView word);

// The code page 932 value of one character: 0x00-0xFF for a single-byte
// character, 0x8140-0xFCFC for a double-byte one (lead byte high), or -1
// when the code page has no such character.
int cp932Code(char32_t c);

// The bytes that begin a double-byte character, and those that may end one.
constexpr bool isCp932LeadByte(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool isCp932TrailByte(unsigned b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}
// The single bytes of half-width katakana, A1 to DF.
constexpr bool isCp932HalfWidthKatakana(int code) {
    return code >= 0xA1 && code <= 0xDF;
}

// The JIS X 0208 code (row << 8 | cell) that a double-byte code of code
// page 932 is the Shift_JIS form of; -1 for a code that is no lead and
// trail byte pair. Codes beyond the JIS rows (the IBM extensions, the
// user-defined area) give rows past 0x7E.
int jisCodeOfCp932(int code);

// A character that JIS X 0208 maps to another code point than code page
// 932 does, as the code page's (U+301C WAVE DASH as U+FF5E, U+2212 MINUS
// SIGN as U+FF0D ...): what an input method that follows JIS types. Other
// characters as they are.
char32_t toCp932Form(char32_t c);

// ---- width, kana and case ----------------------------------------------

// ASCII U+0021-U+007E to U+FF01-U+FF5E, the space to U+3000, half-width
// katakana to full-width katakana with a following half-width voiced or
// semi-voiced sound mark combined into the letter. Other characters stay.
QString toFullWidth(QStringView in);
void toFullWidth(QStringView in, QString& out);

// U+FF01-U+FF5E to ASCII and U+3000 to the space: the reverse of
// toFullWidth for everything but katakana, which stays as it is.
constexpr char16_t toHalfWidthAscii(char16_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E)
        return char16_t(c - 0xFEE0);
    return c == 0x3000 ? u' ' : c;
}
QString toHalfWidthAscii(QStringView in);

// Full-width katakana and the full-width forms of ASCII to their half-width
// forms, a voiced or semi-voiced letter as its letter and the half-width
// mark (ガ to ｶﾞ), U+3000 to the space: the reading columns of the UTF-8
// nationwide file in the form of the classic one. A letter without a
// half-width form (ヶ, ヮ, ヰ) stays as it is.
QString katakanaToHalfWidth(QStringView in);
// The same, appended to `out`.
void appendKatakanaToHalfWidth(QStringView in, QString& out);

// Full-width katakana letters to hiragana; everything else unchanged.
QString katakanaToHiragana(QStringView in);
void katakanaToHiragana(QStringView in, QString& out);

// Half-width katakana to full-width (as toFullWidth does for katakana) and
// then to hiragana: the form in which the windows show a reading.
QString readingToHiragana(QStringView in);

// Upper case for ASCII and full-width Latin letters and other cased letters.
QString toUpperCase(QStringView in);

// ---- numbers and signs in Japanese writing ------------------------------

// 〇一二三四五六七八九十百千: the characters a number in kanji is read from.
bool isKanjiNumeral(QChar c);

// The value of a run of kanji numerals: 十一 11, 二十一 21, 百三 103, and
// the digit by digit form 一〇三 103. nullopt for a run that is no number
// (十十) or one beyond 9999.
std::optional<int> kanjiNumberValue(QStringView run);

// The value of an ASCII or full-width digit, -1 for any other character.
int digitValue(QChar c);

// How numbers are written in kanji: digit by digit (1203 as 一二〇三), or
// with the place names (1203 as 千二百三, 10 as 十, 20000 as 二万).
enum class KanjiNumerals { DigitByDigit, WithPlaces };

// A run of ASCII or full-width digits in kanji. A number with the place
// names beyond 9999 9999 9999 9999 is written digit by digit.
QString kanjiNumber(QStringView digits, KanjiNumerals style);

// Text as vertical writing wants its numbers: every run of ASCII or
// full-width digits in kanji, and a hyphen-like sign (or ー) between two
// numbers as ー, which stands as the vertical long line once turned.
QString numbersForVerticalWriting(QStringView in, KanjiNumerals style);

// The characters that vertical writing turns a quarter clockwise: the
// prolonged sound mark and the dash signs (isDashSign), the wave dash and
// tilde, the ellipses, and the parentheses and brackets of both widths.
bool turnsInVerticalWriting(QChar c);

// ---- the fold key of the full search ----------------------------------

// What the folding full search compares: every character stands for the
// hiragana form of its full-width form, written as the shortest code page
// 932 bytes of any character with that form (ｶ for か, カ and ｶ; A for Ａ; a
// blank for U+3000), a letter that a half-width sound mark voices as its
// letter and the mark (ｶﾞ for が and ガ), U+FFFD as the byte 80. A line
// whose full-width or hiragana form holds a word therefore holds the word's
// key in its own key, though the key may also turn up where neither form
// holds the word. nullopt for a word that no line can hold in any form.
std::optional<QByteArray> foldKey(QStringView word);

// The fold key of code page 932 text, each line padded with line feeds to
// its length in bytes, so that the key and the text have the same length
// and the same line ends, and a hit in the key lies in the line at the same
// place in the text.
void foldKeyOfCp932Lines(QByteArrayView bytes, QByteArray& out);

// The blanks trimmed everywhere in the program: U+0020 and U+3000.
// "0" to "9" only.
inline bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

inline bool isBlank(QChar c) {
    return c.unicode() == 0x0020 || c.unicode() == 0x3000;
}
QStringView trimBlanks(QStringView in);

// The parts that are not empty, joined by the separator: the parts of an
// address or a name that a list may leave blank.
QString joinNonEmpty(const QStringList& parts, QStringView separator);
inline QString joinNonEmpty(const QStringList& parts, QChar separator) {
    return joinNonEmpty(parts, QStringView(&separator, 1));
}
inline QString trimmed(QStringView in) {
    return trimBlanks(in).toString();
}
// The same, sharing the text when there is nothing to trim: the common case
// of every column of every row formed.
inline QString trimmed(const QString& in) {
    const QStringView t = trimBlanks(in);
    return t.size() == in.size() ? in : t.toString();
}

// ---- signs and characters that addresses and codes write either way ----

// A dash sign read as a hyphen wherever it stands: - － ‐ ‑ ‒ – — ― − ﹣.
bool isDashSign(QChar c);
// Whether s[i] is read as a hyphen: a dash sign, or a long vowel mark (ー,
// ｰ) between two digits, as an input method gives "1ー2" for "1-2".
bool isHyphenAt(QStringView s, qsizetype i);
// The text with every sign isHyphenAt reads as a hyphen made "-", so the
// length and every position stay as they were.
QString withPlainHyphens(QStringView in);

// The form under which old and variant kanji of place names compare equal
// (龍 竜, 邊 邉 辺, 髙 高, 﨑 崎 ...): the table is data in text.cpp. Other
// characters are returned as they are.
char16_t kanjiBaseForm(char16_t c);
// A small kana (ッ ャ ぁ ｯ ...) as its full-size letter; other characters as
// they are. Addresses write ツ for ッ and the reverse.
char16_t fullSizeKana(char16_t c);
// The length of the variation selector at s[i] (U+FE00-FE0F: 1, U+E0100-
// E01EF: 2), 0 when there is none: a selector only picks a glyph.
qsizetype variationSelectorLength(QStringView s, qsizetype i);

// A postal code as people write it: 〒 or blanks before, seven digits in
// half or full width with at most one hyphen-like sign after the third
// (〒100ー0013, 100-0013, １００－００１３, 1000013), and no digit right after.
struct PostalCodeFound {
    QString code;      // seven digits
    qsizetype end = 0; // where the code ends in the text
};
std::optional<PostalCodeFound> readLeadingPostalCode(QStringView in);
// The same for a text that holds nothing else but blanks.
std::optional<QString> readPostalCode(QStringView in);

} // namespace yubin::text
