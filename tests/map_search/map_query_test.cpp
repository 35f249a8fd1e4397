#include "map_search/map_query.h"

#include "foundation/text.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace yubin {
namespace {

QString hex4(int code) {
    return QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
}

QString decodeEucJp(const QByteArray& bytes) {
    QStringDecoder decoder("EUC-JP", QStringConverter::Flag::Stateless);
    QString s = decoder.decode(bytes);
    return decoder.hasError() ? QString() : s;
}

QByteArray unescape(const QString& query) {
    return QByteArray::fromPercentEncoding(query.toLatin1());
}

// Only unreserved characters and upper-case percent escapes: nothing that
// could end the query value or change its meaning.
bool isSafeQuery(const QString& query) {
    static const QRegularExpression safe(QStringLiteral("^(?:[A-Za-z0-9._~-]|%[0-9A-F]{2})*$"));
    return safe.match(query).hasMatch();
}

// ---- island rewrites --------------------------------------------------

struct RewriteCase {
    const char16_t* address;
    const char16_t* expected;
};

class MapAddressRewrite : public testing::TestWithParam<RewriteCase> {};

TEST_P(MapAddressRewrite, DropsTheWholeAreaEndingThenRewritesIslands) {
    EXPECT_EQ(rewriteMapAddress(QString::fromUtf16(GetParam().address)),
              QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Islands, MapAddressRewrite,
    testing::Values(
        // The ending goes first, so the Miyake rewrite sees the village alone.
        RewriteCase{u"東京都三宅島三宅村一円", u"東京都三宅村"},
        RewriteCase{u"東京都三宅島三宅村坪田", u"東京都三宅村坪田"},
        RewriteCase{u" 東京都三宅島三宅村一円\u3000", u"東京都三宅村"},
        RewriteCase{u"\u3000東京都小笠原諸島小笠原村母島 ", u"東京都小笠原村母島"},
        RewriteCase{u"東京都大島大島町元町", u"東京都大島町元町"},
        RewriteCase{u"東京都大島大島町", u"東京都大島町"},
        RewriteCase{u"東京都新島新島村式根島", u"東京都新島村式根島"},
        RewriteCase{u"東京都八丈島八丈町三根", u"東京都八丈町三根"},
        RewriteCase{u"東京都八丈島八丈町一円", u"東京都八丈町"},
        RewriteCase{u"東京都小笠原諸島小笠原村父島", u"東京都小笠原村父島"},
        RewriteCase{u"東京都小笠原諸島小笠原村母島", u"東京都小笠原村母島"},
        // Ogasawara is rewritten only as the whole text.
        RewriteCase{u"東京都小笠原諸島小笠原村父島東町", u"東京都小笠原諸島小笠原村父島東町"},
        RewriteCase{u"東京都小笠原諸島小笠原村", u"東京都小笠原諸島小笠原村"},
        RewriteCase{u"東京都小笠原諸島小笠原村父島一円", u"東京都小笠原村父島"},
        // Only a beginning counts, and only one ending is dropped.
        RewriteCase{u"大島大島町", u"大島大島町"}, RewriteCase{u"東京都大島", u"東京都大島"},
        RewriteCase{u"北海道東京都大島大島町", u"北海道東京都大島大島町"},
        RewriteCase{u"東京都千代田区一円町", u"東京都千代田区一円町"},
        RewriteCase{u"一円一円", u"一円"}, RewriteCase{u"一円", u""}, RewriteCase{u"", u""},
        RewriteCase{u"北海道札幌市中央区", u"北海道札幌市中央区"}));

// ---- SJIStoJIS --------------------------------------------------------

struct JisCase {
    const char* sjis;
    const char* jis;
};

class ShiftJisToJis : public testing::TestWithParam<JisCase> {};

TEST_P(ShiftJisToJis, GivesFourUpperCaseHexDigitsRowFirst) {
    EXPECT_EQ(SJIStoJIS(QString::fromLatin1(GetParam().sjis)), QString::fromLatin1(GetParam().jis));
}

INSTANTIATE_TEST_SUITE_P(KnownCodes, ShiftJisToJis,
                         testing::Values(JisCase{"82A0", "2422"}, // あ
                                         JisCase{"82a0", "2422"}, JisCase{"8140", "2121"},
                                         JisCase{"889F", "3021"}, // 亜
                                         JisCase{"9FFC", "5E7E"}, JisCase{"E040", "5F21"},
                                         JisCase{"EAA4", "7426"}, // 熙
                                         JisCase{"817E", "215F"}, JisCase{"8180", "2160"},
                                         JisCase{"819E", "217E"}, JisCase{"819F", "2221"}));

class ShiftJisToJisRejects : public testing::TestWithParam<const char*> {};

TEST_P(ShiftJisToJisRejects, WhatIsNoDoubleByteCode) {
    EXPECT_EQ(SJIStoJIS(QString::fromLatin1(GetParam())), QString());
}

INSTANTIATE_TEST_SUITE_P(BadArguments, ShiftJisToJisRejects,
                         testing::Values("", "82A", "82A00", "82A ", "GGGG", "0x82", "0041", "8200",
                                         "827F", "82FD", "A0A0", "A1B1", "FD40"));

TEST(ShiftJisToJisTable, PlusEightyGivesTheEucJpBytesOfEveryJisX0208Character) {
    int checked = 0;
    for (int row = 1; row <= 84; ++row) {
        if (row >= 9 && row <= 15)
            continue; // rows JIS X 0208 leaves empty
        for (int cell = 1; cell <= 94; ++cell) {
            const char euc[2] = {char(0xA0 + row), char(0xA0 + cell)};
            const QString ch = decodeEucJp(QByteArray(euc, 2));
            if (ch.size() != 1 || ch.at(0) == QChar(0xFFFD))
                continue; // unassigned cell
            const int sjis = text::cp932Code(ch.at(0).unicode());
            ASSERT_GT(sjis, 0xFF) << row << '-' << cell;

            const QString jis = SJIStoJIS(hex4(sjis));
            ASSERT_EQ(jis.size(), 4) << hex4(sjis).toStdString();
            EXPECT_EQ(jis, jis.toUpper());
            QByteArray viaJis;
            viaJis.append(char(jis.left(2).toInt(nullptr, 16) + 0x80));
            viaJis.append(char(jis.right(2).toInt(nullptr, 16) + 0x80));
            QStringEncoder encoder("EUC-JP", QStringConverter::Flag::Stateless);
            const QByteArray expected = encoder.encode(ch);
            ASSERT_FALSE(encoder.hasError());
            EXPECT_EQ(viaJis.toHex().toStdString(), expected.toHex().toStdString())
                << hex4(sjis).toStdString();
            ++checked;
        }
    }
    EXPECT_EQ(checked, 6879); // every character the standard assigns
}

// ---- query encodings --------------------------------------------------

struct EncodingCase {
    const char* name;
    const char16_t* text;
    const char* eucJp;
    const char* shiftJis;
};

class QueryEncoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(QueryEncoding, EscapesEveryByteOutsideTheUnreservedSet) {
    const QString text = QString::fromUtf16(GetParam().text);
    EXPECT_EQ(eucJpQuery(text), QString::fromLatin1(GetParam().eucJp));
    EXPECT_EQ(shiftJisQuery(text), QString::fromLatin1(GetParam().shiftJis));
}

INSTANTIATE_TEST_SUITE_P(
    Characters, QueryEncoding,
    testing::Values(
        EncodingCase{"Hiragana", u"あ", "%A4%A2", "%82%A0"},
        EncodingCase{"Unreserved", u"AZaz09-._~", "AZaz09-._~", "AZaz09-._~"},
        EncodingCase{"Ampersand", u"a&b", "a%26b", "a%26b"},
        EncodingCase{"Space", u"a b", "a%20b", "a%20b"},
        EncodingCase{"QueryBreakers", u"#%+=?/", "%23%25%2B%3D%3F%2F", "%23%25%2B%3D%3F%2F"},
        EncodingCase{"Tab", u"\t", "%09", "%09"},
        EncodingCase{"HalfWidthKatakana", u"ｱﾟ", "%8E%B1%8E%DF", "%B1%DF"},
        EncodingCase{"HalfWidthPunctuation", u"｡", "%8E%A1", "%A1"},
        EncodingCase{"IdeographicSpace", u"\u3000", "%A1%A1", "%81%40"},
        EncodingCase{"Kanji", u"亜熙", "%B0%A1%F4%A6", "%88%9F%EA%A4"},
        EncodingCase{"NecSpecial", u"①", "%AD%A1", "%87%40"},
        EncodingCase{"IbmExtension", u"髙", "%FC%E2", "%FB%FC"},
        EncodingCase{"WaveDashFromAnInputMethod", u"〜", "%A1%C1", "%81%60"},
        EncodingCase{"FullWidthTilde", u"～", "%A1%C1", "%81%60"},
        EncodingCase{"MinusSign", u"−", "%A1%DD", "%81%7C"},
        EncodingCase{"NotInEitherEncoding", u"¥", "%26%23165%3B", "%26%23165%3B"},
        EncodingCase{"OutsideTheBasicPlane", u"😀", "%26%23128512%3B", "%26%23128512%3B"},
        EncodingCase{"LoneSurrogate", u"\xD800x", "%26%2365533%3Bx", "%26%2365533%3Bx"},
        EncodingCase{"Empty", u"", "", ""}),
    [](const testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.name); });

TEST(QueryEncodingAscii, EveryAsciiCharacterIsKeptOrEscapedAlike) {
    for (char16_t c = 0; c < 0x80; ++c) {
        const QString in(QChar{c});
        for (const QString& q : {eucJpQuery(in), shiftJisQuery(in)}) {
            EXPECT_TRUE(isSafeQuery(q)) << int(c);
            EXPECT_EQ(unescape(q), QByteArray(1, char(c))) << int(c);
            const bool unreserved =
                QChar(c).isLetterOrNumber() || c == u'-' || c == u'.' || c == u'_' || c == u'~';
            EXPECT_EQ(q.size(), unreserved ? 1 : 3) << int(c);
        }
    }
}

TEST(QueryEncodingHalfWidthKatakana, SingleShiftedInEucJpAndOneByteInShiftJis) {
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c) {
        const QString in(QChar{c});
        const QString euc = eucJpQuery(in);
        EXPECT_TRUE(euc.startsWith(QLatin1String("%8E%"))) << int(c);
        EXPECT_EQ(decodeEucJp(unescape(euc)), in) << int(c);
        const QString sjis = shiftJisQuery(in);
        EXPECT_EQ(sjis.size(), 3) << int(c);
        EXPECT_EQ(text::decodeCp932(unescape(sjis)), in) << int(c);
    }
}

// Every double-byte character of code page 932 comes back from the bytes
// each form sends; what EUC-JP cannot hold (the user-defined area) goes as a
// numeric reference instead of being lost.
TEST(QueryEncodingDoubleByte, EveryCodePage932CharacterSurvivesBothForms) {
    int characters = 0;
    int references = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            const char pair[2] = {char(lead), char(trail)};
            const QString ch = text::decodeCp932(QByteArrayView(pair, 2));
            if (ch.size() != 1 || ch.at(0) == QChar(0xFFFD))
                continue;
            ++characters;
            const QString euc = eucJpQuery(ch);
            const QString sjis = shiftJisQuery(ch);
            ASSERT_TRUE(isSafeQuery(euc)) << euc.toStdString();
            ASSERT_TRUE(isSafeQuery(sjis)) << sjis.toStdString();
            EXPECT_EQ(text::decodeCp932(unescape(sjis)), ch)
                << hex4(lead << 8 | trail).toStdString();
            const QString back = decodeEucJp(unescape(euc));
            if (back == ch)
                continue;
            const char16_t u = ch.at(0).unicode();
            EXPECT_TRUE(u >= 0xE000 && u <= 0xF8FF) << hex4(lead << 8 | trail).toStdString();
            EXPECT_EQ(QString::fromLatin1(unescape(euc)), QStringLiteral("&#%1;").arg(int(u)));
            ++references;
        }
    }
    EXPECT_GT(characters, 9000);
    EXPECT_EQ(references, 1880); // the user-defined area F040-F9FC
}

// ---- service URLs -----------------------------------------------------

struct UrlCase {
    const char* name;
    bool web;
    int choice;
    const char16_t* text;
    const char* url;
};

class SearchUrl : public testing::TestWithParam<UrlCase> {};

TEST_P(SearchUrl, TrimsAndEncodesInTheServicesEncoding) {
    const UrlCase& c = GetParam();
    const QString text = QString::fromUtf16(c.text);
    const QString url =
        c.web ? webSearchUrl(WebEngine(c.choice), text) : mapSearchUrl(MapSite(c.choice), text);
    EXPECT_EQ(url, QString::fromLatin1(c.url));
}

INSTANTIATE_TEST_SUITE_P(
    Services, SearchUrl,
    testing::Values(
        UrlCase{"LivedoorMap", false, 0, u" \u3000あ&b ",
                "https://map.livedoor.com/search/?type=&word=%A4%A2%26b"},
        UrlCase{"YahooMap", false, 1, u"あ",
                "https://map.yahoo.co.jp/search?p=%A4%A2&ken_name=&kind_name="},
        UrlCase{"Google", true, 0, u"あ ｱ",
                "https://www.google.co.jp/search?q=%82%A0%20%B1&hl=ja&ie=Shift_JIS&oe=Shift_JIS"},
        UrlCase{"YahooWeb", true, 1, u"あ ｱ",
                "https://search.yahoo.co.jp/bin/search?p=%A4%A2%20%8E%B1&fr=top&src=top"},
        UrlCase{"EmptyMap", false, 0, u"", "https://map.livedoor.com/search/?type=&word="},
        UrlCase{"BlankWeb", true, 0, u"  ",
                "https://www.google.co.jp/search?q=&hl=ja&ie=Shift_JIS&oe=Shift_JIS"}),
    [](const testing::TestParamInfo<UrlCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace yubin
