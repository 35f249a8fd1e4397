#include "address/resolver.h"
#include "barcode/bar_measure.h"
#include "support/data_files.h"

#include <QTemporaryDir>

#include <map>

#include <gtest/gtest.h>

namespace yubin::address {
namespace {

// A small data folder with a town of every kind the resolver tells apart.
class Resolver : public ::testing::Test {
protected:
    void SetUp() override {
        // The file, local code, postal code, prefecture, municipality and town.
        const char16_t* towns[][6] = {
            {u"13tokyo", u"13101", u"1000000", u"東京都", u"千代田区", u"以下に掲載がない場合"},
            {u"13tokyo", u"13101", u"1000013", u"東京都", u"千代田区", u"霞が関（次のビルを除く）"},
            {u"13tokyo", u"13101", u"1006012", u"東京都", u"千代田区",
             u"霞が関霞が関ビル（１２階）"},
            {u"13tokyo", u"13101", u"1006090", u"東京都", u"千代田区",
             u"霞が関霞が関ビル（地階・階層不明）"},
            {u"13tokyo", u"13101", u"1000101", u"東京都", u"千代田区", u"中野（丁目）"},
            {u"13tokyo", u"13101", u"1000102", u"東京都", u"千代田区", u"中野（番地）"},
            {u"13tokyo", u"13101", u"1000201", u"東京都", u"千代田区", u"上野（石堂）"},
            {u"13tokyo", u"13101", u"1000202", u"東京都", u"千代田区", u"上野（その他）"},
            {u"13tokyo", u"13101", u"1000301", u"東京都", u"千代田区", u"一之江"},
            {u"13tokyo", u"13101", u"1000401", u"東京都", u"千代田区", u"五八"},
            {u"13tokyo", u"13206", u"1830000", u"東京都", u"府中市", u"以下に掲載がない場合"},
            {u"13tokyo", u"13206", u"1830001", u"東京都", u"府中市", u"浅間町"},
            {u"01hokkai", u"01103", u"0650000", u"北海道", u"札幌市東区", u"以下に掲載がない場合"},
            {u"01hokkai", u"01103", u"0600906", u"北海道", u"札幌市東区",
             u"北六条東（１～７丁目）"},
            {u"01hokkai", u"01103", u"0650006", u"北海道", u"札幌市東区",
             u"北六条東（８～２０丁目）"},
            {u"01hokkai", u"01663", u"0881646", u"北海道", u"厚岸郡浜中町", u"姉別"},
            {u"12chiba", u"12224", u"2730111", u"千葉県", u"鎌ケ谷市", u"粟野"},
            {u"34hirosh", u"34208", u"7260000", u"広島県", u"府中市", u"以下に掲載がない場合"},
            {u"13tokyo", u"13123", u"1320000", u"東京都", u"江戸川区", u"以下に掲載がない場合"},
            {u"13tokyo", u"13123", u"1320003", u"東京都", u"江戸川区", u"春江町（１～３丁目）"},
            {u"13tokyo", u"13123", u"1340003", u"東京都", u"江戸川区", u"春江町（４、５丁目）"},
            {u"13tokyo", u"13102", u"1040061", u"東京都", u"中央区", u"銀座"},
            {u"13tokyo", u"13102", u"1040042", u"東京都", u"中央区", u"入船"},
            {u"01hokkai", u"01101", u"0640000", u"北海道", u"札幌市中央区",
             u"以下に掲載がない場合"},
            {u"01hokkai", u"01101", u"0600042", u"北海道", u"札幌市中央区",
             u"大通西（１～１９丁目）"},
            {u"01hokkai", u"01101", u"0640820", u"北海道", u"札幌市中央区", u"入船"},
            {u"03iwate", u"03205", u"0250000", u"岩手県", u"花巻市", u"以下に掲載がない場合"},
            {u"03iwate", u"03205", u"0250075", u"岩手県", u"花巻市", u"花城町"},
            {u"08ibarak", u"08208", u"3010000", u"茨城県", u"龍ケ崎市", u"以下に掲載がない場合"},
            {u"08ibarak", u"08208", u"3010005", u"茨城県", u"龍ケ崎市", u"川原代町"},
            {u"26kyoto", u"26104", u"6040000", u"京都府", u"京都市中京区", u"以下に掲載がない場合"},
            {u"26kyoto", u"26104", u"6040924", u"京都府", u"京都市中京区",
             u"一之船入町（河原町通二条下る、二条通河原町東入）"},
            {u"26kyoto", u"26104", u"6048001", u"京都府", u"京都市中京区",
             u"亀屋町（寺町通御池上る）"},
            {u"26kyoto", u"26104", u"6048002", u"京都府", u"京都市中京区",
             u"亀屋町（河原町通三条下る）"}};
        const auto q = [](const char16_t* s) { return QString::fromUtf16(s); };
        std::map<QString, QStringList> files;
        for (const auto& t : towns)
            files[q(t[0])] << test::addressRecord(q(t[1]), q(t[2]), u"ﾄｳｷﾖｳﾄ"_qs, u"ｼ"_qs,
                                                  u"ﾁﾖｳ"_qs, q(t[3]), q(t[4]), q(t[5]));
        files[u"JIGYOSYO"_qs] << test::officeRecord(
            u"13101"_qs, u"ﾆﾂﾎﾟﾝﾕｳｾｲ"_qs, u"日本郵政株式会社"_qs, u"東京都"_qs, u"千代田区"_qs,
            u"霞が関"_qs, u"１丁目３－２"_qs, u"1008798"_qs);
        for (const auto& [name, lines] : files)
            test::writeFile(dir.filePath(name + u".CSV"_qs), test::sjisLines(lines));
    }
    QTemporaryDir dir;
};

TEST_F(Resolver, GivesRecordCodeNumberAndAccount) {
    const QString kasumi = u"東京都千代田区霞が関（次のビルを除く）"_qs;
    const std::pair<QString, QString> cases[] = {
        {u"東京都千代田区霞が関1丁目3番2号　郵便プラザ503室"_qs,
         u"1000013\t1-3-2-503\t"_qs + kasumi + u"\t1丁目3番2号　郵便プラザ503室\t"_qs},
        // Floors of a named building, blanks and ヶ anywhere.
        {u"千代田区霞ヶ関霞ヶ関ビル12階"_qs,
         u"1006012\t12\t東京都千代田区霞が関霞が関ビル（１２階）\t霞ヶ関ビル12階\t"_qs},
        {u"千代田区 霞が関 霞が関ビル"_qs,
         u"1006090\t\t東京都千代田区霞が関霞が関ビル（地階・階層不明）\t霞が関ビル\t"_qs},
        // 丁目 ranges: arabic for kanji, the first number of 8-3-1, kanji 丁目.
        {u"北海道札幌市東区北6条東8-3-1"_qs,
         u"0650006\t8-3-1\t北海道札幌市東区北六条東（８～２０丁目）\t8-3-1\t"_qs},
        {u"札幌市東区北六条東七丁目"_qs,
         u"0600906\t7\t北海道札幌市東区北六条東（１～７丁目）\t七丁目\t"_qs},
        // A district left out, full-width digits, 大字, ケ for ヶ, の for 之.
        {u"浜中町姉別１２"_qs, u"0881646\t12\t北海道厚岸郡浜中町姉別\t１２\t"_qs},
        {u"鎌ヶ谷市大字粟野5"_qs, u"2730111\t5\t千葉県鎌ケ谷市粟野\t5\t"_qs},
        {u"千代田区一の江1"_qs, u"1000301\t1\t東京都千代田区一之江\t1\t"_qs},
        // A town may end before a number written the other way.
        {u"千代田区五八8"_qs, u"1000401\t8\t東京都千代田区五八\t8\t"_qs},
        // （丁目）, （番地）, a named part, （その他）.
        {u"千代田区中野2丁目1"_qs, u"1000101\t2-1\t東京都千代田区中野（丁目）\t2丁目1\t"_qs},
        {u"千代田区中野５番地"_qs, u"1000102\t5\t東京都千代田区中野（番地）\t５番地\t"_qs},
        {u"千代田区上野石堂3"_qs, u"1000201\t3\t東京都千代田区上野（石堂）\t石堂3\t"_qs},
        {u"千代田区上野4"_qs, u"1000202\t4\t東京都千代田区上野（その他）\t4\t"_qs},
        // A name in two prefectures: chosen only by its town, and said so.
        {u"府中市浅間町1-2"_qs,
         u"1830001\t1-2\t東京都府中市浅間町\t1-2\t同じ名前の市区町村がほかにもあります：広島県府中市"_qs},
        {u"府中市"_qs,
         u"\t\t\t\t候補が複数あります：東京都府中市（183-0000）、広島県府中市（726-0000）"_qs},
        {u"東京都千代田区丸の内9"_qs,
         u"1000000\t9\t東京都千代田区以下に掲載がない場合\t丸の内9\t"
         u"町域が見つからないため「以下に掲載がない場合」の郵便番号です（要確認）"_qs},
        {u"〒100-0099 千代田区霞が関1-3-2"_qs,
         u"\t1-3-2\t\t1-3-2\t入力の郵便番号1000099は住所の郵便番号1000013と異なります"_qs},
        {u"千代田区霞が関1-3-2 日本郵政株式会社"_qs,
         u"1008798\t\t東京都千代田区霞が関１丁目３－２ 日本郵政株式会社\t1-3-2 日本郵政株式会社\t"
         u"大口事業所「日本郵政株式会社」の個別番号です"_qs},
        {u"千代田区霞が関1-3 ABCタワー"_qs,
         u"1000013\t1-3\t"_qs + kasumi +
             u"\t1-3 ABCタワー\t続いた英字は住所表示番号に入れていません"_qs},
        {u"千代田区霞が関1234-5678-9012-3"_qs,
         u"1000013\t1234-5678-9012-3\t"_qs + kasumi +
             u"\t1234-5678-9012-3\t住所表示番号がバーコードの20桁に収まらないため切れます"_qs},
        // Bad input.
        {u"New York"_qs, u"\t\t\t\t都道府県・市区町村が見つかりません"_qs},
        {u"東京都ニューヨーク"_qs, u"\t\t\t\t東京都の市区町村が見つかりません"_qs},
        {u"大阪府大阪市北区"_qs, u"\t\t\t\t大阪府のデータファイルがありません"_qs},
        {QString(10000, u'霞'), u"\t\t\t\t住所が長すぎます（500文字まで）"_qs},
        {u"千代田区\u0001霞が関"_qs, u"\t\t\t\t住所に制御文字があります"_qs},
        {u"　"_qs, u"\t\t\t\t住所がありません"_qs},
    };
    AddressResolver resolver(DataFolder::atPath(dir.path()));
    for (const auto& [address, line] : cases)
        EXPECT_EQ(resolutionLine(resolver.resolve(address)), line) << address.toStdString();
}

struct Case {
    const char16_t* code; // given beside the address
    const char16_t* address;
    const char16_t* postalCode;
    Certainty certainty;
    const char16_t* account; // the warnings, or the failure
};

void expectCases(AddressResolver& resolver, std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        const Resolution r = resolver.resolve(c.code, c.address);
        SCOPED_TRACE(QString::fromUtf16(c.address).toStdString());
        EXPECT_EQ(r.postalCode, QString::fromUtf16(c.postalCode));
        EXPECT_EQ(certaintyKey(r.certainty), certaintyKey(c.certainty));
        EXPECT_EQ(r.resolved() ? r.warnings.join(u'；') : r.failure, QString::fromUtf16(c.account));
    }
}

TEST_F(Resolver, SaysHowSureItIsAndNeverTakesTheFirstRecord) {
    AddressResolver resolver(DataFolder::atPath(dir.path()));
    const char16_t* harue = u"候補が複数あります：東京都江戸川区春江町（１～３丁目）（132-0003）、"
                            u"東京都江戸川区春江町（４、５丁目）（134-0003）";
    expectCases(resolver,
                {{u"", u"東京都江戸川区春江町5丁目12-8", u"1340003", Certainty::Exact, u""},
                 {u"", u"江戸川区春江町二丁目3", u"1320003", Certainty::Exact, u""},
                 {u"", u"江戸川区春江町", u"", Certainty::Ambiguous, harue},
                 {u"", u"江戸川区春江町6丁目1", u"", Certainty::Ambiguous,
                  u"注記に合う記録がありません：東京都江戸川区春江町（１～３丁目）（132-0003）、"
                  u"東京都江戸川区春江町（４、５丁目）（134-0003）"},
                 {u"", u"千代田区霞が関1-3-2 日本郵政株式会社", u"1008798", Certainty::Office,
                  u"大口事業所「日本郵政株式会社」の個別番号です"},
                 {u"", u"千代田区", u"1000000", Certainty::CatchAll,
                  u"町域がないため「以下に掲載がない場合」の郵便番号です"},
                 {u"", u"千代田区12", u"1000000", Certainty::CatchAll,
                  u"町域が見つからないため「以下に掲載がない場合」の郵便番号です"},
                 // A code beside the address: it decides among the candidates and
                 // confirms a catch-all; against an exact result it is a failure.
                 {u"134-0003", u"江戸川区春江町", u"1340003", Certainty::Exact, u""},
                 {u"１３２ー０００３", u"江戸川区春江町", u"1320003", Certainty::Exact, u""},
                 {u"1000000", u"江戸川区春江町", u"", Certainty::Ambiguous, harue},
                 {u"1320003", u"江戸川区春江町5丁目1", u"", Certainty::Exact,
                  u"入力の郵便番号1320003は住所の郵便番号1340003と異なります"},
                 {u"1000000", u"千代田区丸の内1", u"1000000", Certainty::CatchAll,
                  u"町域が見つからないため「以下に掲載がない場合」の郵便番号です"},
                 {u"1000101", u"千代田区丸の内1", u"1000101", Certainty::Exact,
                  u"町域を確かめられないため、入力の郵便番号を使いました"},
                 {u"1008798", u"千代田区霞が関1-3-2", u"1008798", Certainty::Office,
                  u"大口事業所「日本郵政株式会社」の個別番号です"},
                 {u"12345", u"千代田区霞が関1-3-2", u"", Certainty::None,
                  u"郵便番号「12345」が7桁の数字ではありません"}});
}

// A given code the monthly updates abolished is named with what became of
// it, whether the address settles on its successor or on nothing.
TEST_F(Resolver, SaysWhenAGivenCodeWasAbolished) {
    const QString town =
        test::addressRecord(u"13123"_qs, u"1320099"_qs, u"ﾄｳｷﾖｳﾄ"_qs, u"ｼ"_qs, u"ﾁﾖｳ"_qs,
                            u"東京都"_qs, u"江戸川区"_qs, u"春江町（４、５丁目）"_qs);
    test::writeFile(dir.filePath(u"CHANGES.CSV"_qs),
                    (u"2603,廃止,住所,1320099,"_qs + town + u"\r\n2603,追加,住所,1340003,"_qs +
                     QString(town).replace(u"1320099"_qs, u"1340003"_qs) + u"\r\n"_qs)
                        .toUtf8());
    AddressResolver resolver(DataFolder::atPath(dir.path()));
    expectCases(
        resolver,
        {{u"1320099", u"江戸川区春江町5丁目1", u"", Certainty::Exact,
          u"入力の郵便番号1320099は住所の郵便番号1340003と異なります。入力の郵便番号1320099は"
          u"廃止（2026年3月） → 新しい郵便番号 134-0003"},
         {u"1320099", u"江戸川区春江町", u"", Certainty::Ambiguous,
          u"候補が複数あります：東京都江戸川区春江町（１～３丁目）（132-0003）、"
          u"東京都江戸川区春江町（４、５丁目）（134-"
          u"0003）。入力の郵便番号1320099は廃止（2026年3月）"
          u" → 新しい郵便番号 134-0003"},
         {u"1340003", u"江戸川区春江町5丁目1", u"1340003", Certainty::Exact, u""},
         {u"1320003", u"江戸川区春江町2丁目1", u"1320003", Certainty::Exact, u""}});
}

TEST_F(Resolver, FindsBuildingFloorsAfterTheNumber) {
    AddressResolver resolver(DataFolder::atPath(dir.path()));
    expectCases(
        resolver,
        {{u"", u"東京都千代田区霞が関3丁目2番5号 霞が関ビル12階", u"1006012", Certainty::Exact,
          u""},
         {u"", u"千代田区霞が関3-2-5霞が関ビル１２Ｆ", u"1006012", Certainty::Exact, u""},
         {u"", u"千代田区霞が関3-2-5 霞が関ビル 12F", u"1006012", Certainty::Exact, u""},
         {u"", u"千代田区霞が関3-2-5 霞が関ビル", u"1006090", Certainty::Exact, u""},
         {u"", u"千代田区霞が関3-2-5 霞が関ビル30階", u"1006090", Certainty::Exact, u""},
         {u"", u"千代田区霞が関3-2-5 霞が関ビルB1F", u"1006090", Certainty::Exact, u""},
         {u"", u"千代田区霞が関3-2-5 霞が関ビル地下1階", u"1006090", Certainty::Exact, u""}});
}

TEST_F(Resolver, ReadsWardsPrefecturesVariantsAndKyotoStreets) {
    AddressResolver resolver(DataFolder::atPath(dir.path()));
    expectCases(
        resolver,
        {// A ward without its city: settled by its town, or not at all.
         {u"", u"中央区銀座4-6-16", u"1040061", Certainty::Exact,
          u"同じ名前の市区町村がほかにもあります：北海道札幌市中央区"},
         {u"", u"中央区大通西5丁目", u"0600042", Certainty::Exact,
          u"同じ名前の市区町村がほかにもあります：東京都中央区"},
         {u"", u"中央区入船1-2", u"", Certainty::Ambiguous,
          u"候補が複数あります：北海道札幌市中央区入船（064-0820）、東京都中央区入船（104-0042）"},
         // A prefecture without 都, 府 or 県; 大字 and 字 anywhere.
         {u"", u"岩手花巻市花城町1-2", u"0250075", Certainty::Exact, u""},
         {u"", u"東京江戸川区春江町4丁目1", u"1340003", Certainty::Exact, u""},
         {u"", u"花巻市大字花城町字1", u"0250075", Certainty::Exact, u""},
         // Old and variant kanji.
         {u"", u"茨城県竜ヶ崎市川原代町5", u"3010005", Certainty::Exact, u""},
         {u"", u"龍ケ﨑市川原代町5", u"3010005", Certainty::Exact, u""},
         // Kyoto: the street before the town is passed over, or tells two
         // towns of one name apart.
         {u"", u"京都市中京区河原町通二条下る一之船入町537-50", u"6040924", Certainty::Exact, u""},
         {u"", u"京都市中京区河原町通二条下ル一之船入町537", u"6040924", Certainty::Exact, u""},
         {u"", u"京都市中京区寺町通御池上ル亀屋町488", u"6048001", Certainty::Exact, u""},
         {u"", u"京都市中京区河原町通三条下る東入亀屋町1", u"", Certainty::Ambiguous,
          u"候補が複数あります：京都府京都市中京区亀屋町（寺町通御池上る）（604-8001）、"
          u"京都府京都市中京区亀屋町（河原町通三条下る）（604-8002）"},
         {u"", u"京都市中京区河原町通三条下る亀屋町1", u"6048002", Certainty::Exact, u""},
         {u"", u"京都市中京区亀屋町1", u"", Certainty::Ambiguous,
          u"候補が複数あります：京都府京都市中京区亀屋町（寺町通御池上る）（604-8001）、"
          u"京都府京都市中京区亀屋町（河原町通三条下る）（604-8002）"}});
}

TEST_F(Resolver, CliListsCertaintyAndCandidatesAsItGoes) {
    const test::CliResult r =
        test::runCli({u"--data"_qs, dir.path(), u"resolve"_qs, u"--format"_qs, u"tsv"_qs},
                     u"江戸川区春江町\n千代田区一の江1\n"_qs.toUtf8());
    EXPECT_EQ(
        r.out,
        u"postal_code\taddress_number\trecord\taddress_a\taddress_b\twarnings\tfailure\t"
        u"certainty\tcandidates\n"
        u"\t\t\t江戸川区春江町\t\t\t候補が複数あります：東京都江戸川区春江町（１～３丁目）（132-"
        u"0003）、東京都江戸川区春江町（４、５丁目）（134-0003）\tambiguous\t1320003 "
        u"東京都江戸川区春江町（１～３丁目）；1340003 東京都江戸川区春江町（４、５丁目）\n"
        u"1000301\t1\t東京都千代田区一之江\t千代田区一の江\t1\t\t\texact\t\n"_qs);
}

TEST_F(Resolver, CliReadsStandardInputLineByLine) {
    test::CliResult r = test::runCli({u"--data"_qs, dir.path(), u"resolve"_qs},
                                     u"千代田区一の江1\n\n"_qs.toUtf8() + "\xff\xfe\n");
    EXPECT_EQ(r.out, u"1000301\t1\t東京都千代田区一之江\t1\t\n\t\t\t\t住所がありません\n"
                     u"\t\t\t\t住所に読めない文字があります（UTF-8ではありません）\n"_qs);
    EXPECT_EQ(r.exitCode, 1);
    r = test::runCli({u"--data"_qs, dir.path(), u"resolve"_qs, u"千代田区一の江1"_qs});
    EXPECT_EQ(r.exitCode, 0);
    QTemporaryDir empty;
    r = test::runCli({u"--data"_qs, empty.path(), u"resolve"_qs, u"千代田区"_qs});
    EXPECT_EQ(r.exitCode, 1); // with no line of empty fields
    EXPECT_EQ(r.out, QString());
    r = test::runCli({u"address-number"_qs, u"3丁目30-8　郵便ビル403号"_qs});
    EXPECT_EQ(r.out, u"3-30-8-403\n"_qs);
}

TEST_F(Resolver, BarcodeVerbDrawsWhatTheAddressResolvesTo) {
    test::CliResult r = test::runCli(
        {u"--data"_qs, dir.path(), u"barcode"_qs, u"--address"_qs, u"千代田区霞が関1-3-2"_qs});
    // 1+0+0+0+0+1+3 + 1+10+3+10+2 + 8 × CC4 (14) = 143; 143 mod 19 = 10.
    EXPECT_EQ(r.out, u"09\n"_qs + test::patternOf(u"10000131-3-2"_qs) + u'\n');
    EXPECT_EQ(r.exitCode, 0);
    r = test::runCli({u"--data"_qs, dir.path(), u"barcode"_qs, u"--address"_qs, u"府中市"_qs});
    EXPECT_EQ(r.err,
              u"候補が複数あります：東京都府中市（183-0000）、広島県府中市（726-0000）\n"_qs);
    EXPECT_EQ(r.exitCode, 1);
}

} // namespace
} // namespace yubin::address
