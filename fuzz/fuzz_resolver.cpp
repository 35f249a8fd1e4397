// The resolver on any address, with or without a code beside it, over a
// small data folder that holds a note of every form: it never crashes or
// hangs, a resolved code is seven digits and was given as sure, an
// ambiguous address has candidates and no code, and a code given beside an
// address is never overridden by another (a sure result it contradicts
// fails).

#include "address/resolver.h"
#include "foundation/text.h"
#include "fuzz_check.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// Prefecture file, municipality and town: notes of every published form.
const char16_t* const Towns[][3] = {
    {u"13tokyo", u"千代田区", u"以下に掲載がない場合"},
    {u"13tokyo", u"千代田区", u"霞が関（次のビルを除く）"},
    {u"13tokyo", u"千代田区", u"霞が関霞が関ビル（１２階）"},
    {u"13tokyo", u"千代田区", u"霞が関霞が関ビル（地階・階層不明）"},
    {u"13tokyo", u"千代田区", u"中野（丁目）"},
    {u"13tokyo", u"千代田区", u"中野（番地）"},
    {u"13tokyo", u"千代田区", u"上野（石堂、下久保「１０を除く」）"},
    {u"13tokyo", u"千代田区", u"上野（その他）"},
    {u"13tokyo", u"千代田区", u"春江町（１～３丁目）"},
    {u"13tokyo", u"千代田区", u"春江町（４、５丁目）"},
    {u"13tokyo", u"千代田区",
     u"大塚（１丁目、２丁目「６５１、６６２番地」以外、３丁目５、１３－４、６８７番地）"},
    {u"13tokyo", u"千代田区", u"大塚（２５１～２７０番地、３６４９番地以上）"},
    {u"13tokyo", u"千代田区", u"大塚（第１地割～第３地割）"},
    {u"13tokyo", u"千代田区", u"大塚（第１地割「１～５」～第３地割「１～９」）"},
    {u"13tokyo", u"中央区", u"銀座"},
    {u"13tokyo", u"中央区", u"入船"},
    {u"01hokkai", u"札幌市中央区", u"入船"},
    {u"01hokkai", u"札幌市中央区", u"南郷通（南）"},
    {u"01hokkai", u"札幌市中央区", u"以下に掲載がない場合"},
    {u"26kyoto", u"京都市中京区", u"亀屋町（寺町通御池上る）"},
    {u"26kyoto", u"京都市中京区", u"亀屋町（河原町通三条下る、二条通河原町東入）"},
    {u"26kyoto", u"京都市中京区", u"以下に掲載がない場合"},
    {u"08ibarak", u"龍ケ崎市", u"川原代町"},
};

QString dataFolder() {
    static QTemporaryDir dir;
    static const bool written = [] {
        QHash<QString, QByteArray> files;
        int n = 0;
        for (const auto& t : Towns) {
            const QString code = QStringLiteral("%1").arg(1000000 + 11 * n++, 7, 10, QChar(u'0'));
            const QString line =
                QStringLiteral("13101,\"100  \",\"%1\",\"ｱ\",\"ｲ\",\"ｳ\",\"%2\",\"%3\","
                               "\"%4\",0,0,0,0,0,0\r\n")
                    .arg(code,
                         QString::fromUtf16(t[0]).startsWith(u"13")   ? u"東京都"_qs
                         : QString::fromUtf16(t[0]).startsWith(u"01") ? u"北海道"_qs
                         : QString::fromUtf16(t[0]).startsWith(u"26") ? u"京都府"_qs
                                                                      : u"茨城県"_qs,
                         QString::fromUtf16(t[1]), QString::fromUtf16(t[2]));
            files[QString::fromUtf16(t[0])] += yubin::text::encodeCp932(line);
        }
        files[u"JIGYOSYO"_qs] =
            yubin::text::encodeCp932(u"13101,\"ﾆﾂﾎﾟﾝ\",\"日本郵政株式会社\",\"東京都\","
                                     u"\"千代田区\",\"霞が関\",\"１丁目３－２\","
                                     "\"1008798\",\"100  \",\"銀座\",0,0,0\r\n"_qs);
        for (auto f = files.cbegin(); f != files.cend(); ++f) {
            QFile out(dir.filePath(f.key() + u".CSV"_qs));
            if (!out.open(QIODevice::WriteOnly) || out.write(f.value()) != f.value().size())
                std::abort();
        }
        return true;
    }();
    (void)written;
    return dir.path();
}

bool isSevenDigits(const QString& s) {
    return s.size() == 7 && std::all_of(s.begin(), s.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace yubin::address;
    static AddressResolver resolver(yubin::DataFolder::atPath(dataFolder()));
    // A code, a tab, the address; or the address alone.
    const QString text = QString::fromUtf8(yubin::fuzz::bytesOf(data, size));
    const qsizetype tab = text.indexOf(u'\t');
    const QStringView code = tab < 0 ? QStringView() : QStringView(text).left(tab);
    const QStringView address = tab < 0 ? QStringView(text) : QStringView(text).sliced(tab + 1);
    const Resolution r = tab < 0 ? resolver.resolve(address) : resolver.resolve(code, address);
    if (r.resolved()) {
        FUZZ_CHECK(isSevenDigits(r.postalCode));
        FUZZ_CHECK(r.failure.isEmpty());
        FUZZ_CHECK(r.certainty == Certainty::Exact || r.certainty == Certainty::Office ||
                   r.certainty == Certainty::CatchAll);
        FUZZ_CHECK(!r.needsCheck || r.certainty == Certainty::CatchAll);
        if (tab >= 0 && !yubin::text::trimBlanks(code).isEmpty())
            FUZZ_CHECK(yubin::text::readPostalCode(code) == r.postalCode);
    } else {
        FUZZ_CHECK(!r.failure.isEmpty());
        // A sure result fails only where a code beside it says otherwise.
        const bool sure = r.certainty == Certainty::Exact || r.certainty == Certainty::Office ||
                          r.certainty == Certainty::CatchAll;
        const bool codeGiven = tab >= 0 || yubin::text::readLeadingPostalCode(address);
        FUZZ_CHECK(!sure || (codeGiven && r.failure.startsWith(u"入力の郵便番号")));
        if (r.certainty == Certainty::Ambiguous)
            FUZZ_CHECK(!r.candidates.empty());
    }
    for (const Candidate& c : r.candidates)
        FUZZ_CHECK(isSevenDigits(c.postalCode));
    return 0;
}
