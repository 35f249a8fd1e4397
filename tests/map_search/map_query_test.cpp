#include "map_search/map_query.h"

#include "foundation/text.h"

#include <QStringDecoder>
#include <QStringList>

#include <gtest/gtest.h>

namespace yubin {
namespace {

QString decodeEucJp(const QByteArray& bytes) {
    QStringDecoder decoder("EUC-JP", QStringConverter::Flag::Stateless);
    QString s = decoder.decode(bytes);
    return decoder.hasError() ? QString() : s;
}

QByteArray unescape(const QString& query) {
    return QByteArray::fromPercentEncoding(query.toLatin1());
}

// Two bytes each as "%" and two upper-case hex digits.
QString escaped(int first, int second) {
    const char bytes[] = {char(first), char(second)};
    return QString::fromLatin1(QByteArray(bytes, 2).toPercentEncoding({}, QByteArray(bytes, 2)));
}

TEST(MapAddressRewrite, DropsTheWholeAreaEndingThenRewritesTheIslands) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        // The ending goes first, so the Miyake rewrite sees the village alone.
        {u"東京都三宅島三宅村一円", u"東京都三宅村"},
        {u"東京都三宅島三宅村坪田", u"東京都三宅村坪田"},
        {u" 東京都三宅島三宅村一円\u3000", u"東京都三宅村"},
        // The other islands keep the town after the new beginning.
        {u"東京都大島大島町元町", u"東京都大島町元町"},
        {u"東京都新島新島村式根島", u"東京都新島村式根島"},
        {u"東京都八丈島八丈町三根", u"東京都八丈町三根"},
        // Ogasawara is rewritten only as the whole text.
        {u"東京都小笠原諸島小笠原村父島", u"東京都小笠原村父島"},
        {u"東京都小笠原諸島小笠原村母島", u"東京都小笠原村母島"},
        {u"東京都小笠原諸島小笠原村父島東町", u"東京都小笠原諸島小笠原村父島東町"},
        {u"東京都小笠原諸島小笠原村父島一円", u"東京都小笠原村父島"},
        // Only a beginning and an ending count, and the ending goes once.
        {u"北海道東京都大島大島町", u"北海道東京都大島大島町"},
        {u"東京都千代田区一円町", u"東京都千代田区一円町"},
        {u"一円一円", u"一円"},
        {u"", u""},
    };
    for (const auto& [address, expected] : cases)
        EXPECT_EQ(rewriteMapAddress(QString::fromUtf16(address)), QString::fromUtf16(expected));
}

TEST(ShiftJisToJis, GivesFourUpperCaseHexDigitsOrNothingForNoDoubleByteCode) {
    // Four hex digits of either case in, four upper-case ones out; then
    // arguments that are no double-byte code.
    for (const QString& c :
         u"82A0:2422 82a0:2422 EAA4:7426 : 82A: 82A00: GGGG: 0041: 827F:"_qs.split(u' '))
        EXPECT_EQ(SJIStoJIS(c.section(u':', 0, 0)), c.section(u':', 1)) << c.toStdString();
}

TEST(QueryEncoding, EscapesEveryByteOutsideTheUnreservedSet) {
    const std::tuple<const char16_t*, const char*, const char*> cases[] = {
        {u"あ", "%A4%A2", "%82%A0"},
        {u"a&b c", "a%26b%20c", "a%26b%20c"},
        {u"Az09-._~", "Az09-._~", "Az09-._~"},
        {u"\x7F/", "%7F%2F", "%7F%2F"},
        {u"ｱﾟ", "%8E%B1%8E%DF", "%B1%DF"},
        {u"①", "%AD%A1", "%87%40"},  // NEC special characters
        {u"髙", "%FC%E2", "%FB%FC"}, // IBM extensions, by their NEC-selected twins
        {u"〜", "%A1%C1", "%81%60"}, // the wave dash an input method types
        // Neither encoding holds these: a numeric character reference, as a
        // browser submits it, except that Shift_JIS holds the user area.
        {u"\uE000", "%26%2357344%3B", "%F0%40"},
        {u"¥", "%26%23165%3B", "%26%23165%3B"},
        {u"😀", "%26%23128512%3B", "%26%23128512%3B"},
        {u"\xD800x", "%26%2365533%3Bx", "%26%2365533%3Bx"},
        {u"", "", ""},
    };
    for (const auto& [text, euc, sjis] : cases) {
        EXPECT_EQ(eucJpQuery(QString::fromUtf16(text)), QLatin1String(euc)) << euc;
        EXPECT_EQ(shiftJisQuery(QString::fromUtf16(text)), QLatin1String(sjis)) << sjis;
    }
}

// Both map sites take UTF-8.
TEST(QueryEncoding, MapSitesTakeUtf8EscapedByteByByte) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"あ", "%E3%81%82"}, {u"a&b c", "a%26b%20c"}, {u"Az09-._~", "Az09-._~"},
        {u"ｱ", "%EF%BD%B1"},  {u"😀", "%F0%9F%98%80"},  {u"\xD800x", "%EF%BF%BDx"},
    };
    for (const auto& [text, utf8] : cases)
        EXPECT_EQ(utf8Query(QString::fromUtf16(text)), QLatin1String(utf8)) << utf8;
}

// What EUC-JP cannot hold, the user-defined area, goes as a numeric reference
// instead of being lost; the IBM extensions as their NEC-selected twins.
TEST(QueryEncoding, EveryDoubleByteCharacterOfCodePage932SurvivesBothForms) {
    int references = 0;
    for (int lead = 0x81; lead <= 0xFC; lead = lead == 0x9F ? 0xE0 : lead + 1) {
        for (int trail = 0x40; trail <= 0xFC; trail += trail == 0x7E ? 2 : 1) {
            const QString ch = text::decodeCp932(unescape(escaped(lead, trail)));
            if (ch.size() != 1 || ch.at(0) == QChar(0xFFFD))
                continue;
            const QString euc = eucJpQuery(ch), sjis = shiftJisQuery(ch);
            EXPECT_EQ(text::decodeCp932(unescape(sjis)), ch) << lead << ' ' << trail;
            if (decodeEucJp(unescape(euc)) == ch)
                continue;
            EXPECT_TRUE(ch.at(0) >= QChar(0xE000) && ch.at(0) <= QChar(0xF8FF));
            EXPECT_EQ(euc, u"%26%23"_qs + QString::number(ch.at(0).unicode()) + u"%3B"_qs);
            ++references;
        }
    }
    EXPECT_EQ(references, 1880); // F040 to F9FC
}

} // namespace
} // namespace yubin
