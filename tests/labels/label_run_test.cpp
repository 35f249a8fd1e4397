#include "labels/label_run.h"
#include "support/data_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin::labels {
namespace {

class LabelRun : public ::testing::Test {
protected:
    void SetUp() override {
        QStringList towns;
        for (const auto& [code, town] : {std::pair{u"1000013"_qs, u"霞が関（次のビルを除く）"_qs},
                                         {u"1000000"_qs, u"以下に掲載がない場合"_qs},
                                         {u"1000001"_qs, u"千代田"_qs},
                                         {u"1000031"_qs, u"春江町（１～３丁目）"_qs},
                                         {u"1000045"_qs, u"春江町（４、５丁目）"_qs}})
            towns << test::addressRecord(u"13101"_qs, code, u"ﾄｳｷﾖｳﾄ"_qs, u"ﾁﾖﾀﾞｸ"_qs, u"ﾁﾖｳ"_qs,
                                         u"東京都"_qs, u"千代田区"_qs, town);
        test::writeFile(dir.filePath(u"13tokyo.CSV"_qs), test::sjisLines(towns));
    }
    std::vector<RowResult> run(const QString& rows, const LabelOptions& options = {}) {
        list = parseAddressList((u"郵便番号,住所,建物,会社名,氏名,敬称\n"_qs + rows).toUtf8());
        EXPECT_TRUE(list.error.isEmpty()) << list.error.toStdString();
        RowChecker checker(list, DataFolder::atPath(dir.path()), options);
        std::vector<RowResult> results;
        for (const Record& r : list.rows)
            results.push_back(checker.check(r));
        return results;
    }
    QTemporaryDir dir;
    AddressList list;
};

TEST_F(LabelRun, GivesEachRowItsStatusReasonAndLabel) {
    const struct {
        QString row;
        RowStatus status;
        QString reason;
        QString number;
        QString postalLine; // on the label
        QString nameLine;   // the label's last line
        bool barcode;
    } cases[] = {
        {u"100-0013,東京都千代田区霞が関1-3-2,郵便プラザ503室,,山田,"_qs,
         RowStatus::Ok,
         {},
         u"1-3-2-503"_qs,
         u"〒100-0013"_qs,
         u"山田　様"_qs,
         true},
        {u",東京都千代田区千代田1-1,,宮内庁,,"_qs, RowStatus::Warning,
         u"郵便番号がないため住所から求めました"_qs, u"1-1"_qs, u"〒100-0001"_qs,
         u"宮内庁　御中"_qs, true},
        {u"1000013,東京都千代田区霞が関1,,,,"_qs, RowStatus::Warning,
         u"宛名（氏名・会社名）がありません"_qs, u"1"_qs, u"〒100-0013"_qs,
         u"東京都千代田区霞が関1"_qs, true},
        {u"1000001,東京都千代田区霞が関1-1,,,鈴木,殿"_qs, RowStatus::Error,
         u"入力の郵便番号1000001は住所の郵便番号1000013と異なります；バーコードなしで印刷します"_qs,
         u"1-1"_qs, u"〒100-0001"_qs, u"鈴木　殿"_qs, false},
        {u"10-13,東京都千代田区霞が関1,,,田中,"_qs, RowStatus::Error,
         u"郵便番号「10-13」が7桁の数字ではありません；バーコードなしで印刷します"_qs, u"1"_qs,
         u"〒"_qs, u"田中　様"_qs, false},
        {u"100-0013,大阪府大阪市北区梅田1,,,田中,"_qs,
         RowStatus::Error,
         u"大阪府のデータファイルがありません；バーコードなしで印刷します"_qs,
         {},
         u"〒100-0013"_qs,
         u"田中　様"_qs,
         false},
        {u"1000013,,,,田中,"_qs,
         RowStatus::Error,
         u"住所がありません；バーコードなしで印刷します"_qs,
         {},
         u"〒100-0013"_qs,
         u"田中　様"_qs,
         false},
    };
    for (const auto& c : cases) {
        const std::vector<RowResult> results = run(c.row + u'\n');
        ASSERT_EQ(results.size(), 1u);
        const RowResult& r = results[0];
        SCOPED_TRACE(c.row.toStdString());
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.reasons.join(u'；'), c.reason);
        EXPECT_EQ(r.addressNumber, c.number);
        EXPECT_TRUE(r.printed);
        EXPECT_EQ(r.label.lines.front().text, c.postalLine);
        EXPECT_EQ(r.label.lines.back().text, c.nameLine);
        EXPECT_EQ(!r.label.barcode.isEmpty(), c.barcode);
    }
}

TEST_F(LabelRun, PrintsNoBarcodeForAGuess) {
    const QString ambiguous = u"東京都千代田区春江町（１～３丁目）（100-0031）、"
                              u"東京都千代田区春江町（４、５丁目）（100-0045）"_qs;
    const QString unrecognised =
        u"町域が見つからないため「以下に掲載がない場合」の郵便番号です（要確認）"_qs;
    LabelOptions allow;
    allow.allowCatchAll = true;
    // The code printed on the label is the one found, or the given one of
    // a row in error (printed as written, without a barcode).
    const struct {
        QString row;
        LabelOptions options;
        RowStatus status;
        QString reason;
        bool barcode;
        QString printedCode;
    } cases[] = {
        {u",東京都千代田区春江町,,,山田,"_qs,
         {},
         RowStatus::Error,
         u"候補が複数あります："_qs + ambiguous + u"；バーコードなしで印刷します"_qs,
         false,
         {}},
        // The given code is one of the candidates: it decides.
        {u"100-0045,東京都千代田区春江町,,,山田,"_qs, {}, RowStatus::Ok, {}, true, u"1000045"_qs},
        {u"100-0099,東京都千代田区春江町,,,山田,"_qs,
         {},
         RowStatus::Error,
         u"候補が複数あります："_qs + ambiguous + u"；バーコードなしで印刷します"_qs,
         false,
         u"1000099"_qs},
        {u"1000000,東京都千代田区丸の内1,,,山田,"_qs,
         {},
         RowStatus::Warning,
         u"町域が見つからないため「以下に掲載がない場合」の郵便番号です"_qs,
         true,
         u"1000000"_qs},
        {u",東京都千代田区丸の内1,,,山田,"_qs,
         {},
         RowStatus::Error,
         unrecognised + u"；バーコードなしで印刷します"_qs,
         false,
         {}},
        {u",東京都千代田区丸の内1,,,山田,"_qs, allow, RowStatus::Warning,
         unrecognised + u"；郵便番号がないため住所から求めました"_qs, true, u"1000000"_qs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row.toStdString());
        const std::vector<RowResult> results = run(c.row + u'\n', c.options);
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(results[0].status, c.status);
        EXPECT_EQ(results[0].reasons.join(u'；'), c.reason);
        EXPECT_EQ(results[0].withBarcode, c.barcode);
        EXPECT_EQ(results[0].printedCode, c.printedCode);
    }
}

TEST_F(LabelRun, LeavesOutWhatCannotBePrinted) {
    LabelOptions skip;
    skip.skipUnresolved = true;
    const auto results = run(u"1000013,東京都千代田区霞が関1,,,山田,\n"
                             "100-0013,大阪府大阪市北区梅田1,,,田中,\n1000013,"_qs +
                                 QString(2001, u'x') + u",,,,\n"_qs,
                             skip);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_TRUE(results[0].printed);
    EXPECT_FALSE(results[1].printed);
    EXPECT_EQ(results[1].reasons.join(u'；'),
              u"大阪府のデータファイルがありません；印刷していません"_qs);
    EXPECT_FALSE(results[2].printed);
    EXPECT_EQ(results[2].reasons.join(u'；'),
              u"行が長すぎます（2000文字まで）（印刷していません）"_qs);
    EXPECT_EQ(
        countsLine(countRun(results, skip)),
        u"印刷 1 件（バーコードなし 0 件）、警告 0 件、エラー 2 件、除外 2 件／全 3 行、1 シート"_qs);

    // The report: the input's columns, then what was found, quoted.
    EXPECT_EQ(reportCsv(list, {results[0], results[1]}),
              "\xEF\xBB\xBF" +
                  u"\"郵便番号\",\"住所\",\"建物\",\"会社名\",\"氏名\",\"敬称\",\"行\","
                  "\"確認した郵便番号\",\"住所表示番号\",\"状態\",\"理由\"\r\n"
                  "\"1000013\",\"東京都千代田区霞が関1\",\"\",\"\",\"山田\",\"\","
                  "\"2\",\"100-0013\",\"1\",\"ok\",\"\"\r\n"
                  "\"100-0013\",\"大阪府大阪市北区梅田1\",\"\",\"\",\"田中\",\"\","
                  "\"3\",\"\",\"\",\"error\",\"大阪府のデータファイルがありません；"
                  "印刷していません\"\r\n"_qs.toUtf8());
}

TEST_F(LabelRun, ReportNamesTheColumnsNoRuleReads) {
    list = parseAddressList(u"住所,電話番号\n東京都千代田区千代田,03\n"_qs.toUtf8());
    RowChecker checker(list, DataFolder::atPath(dir.path()), {});
    const QByteArray report = reportCsv(list, {checker.check(list.rows[0])});
    EXPECT_TRUE(report.startsWith("\xEF\xBB\xBF\"#"));
    EXPECT_EQ(
        QString::fromUtf8(report),
        u"\"# 使わない列：電話番号\"\r\n"
        u"\"住所\",\"電話番号\",\"行\",\"確認した郵便番号\",\"住所表示番号\",\"状態\",\"理由\"\r\n"
        u"\"東京都千代田区千代田\",\"03\",\"2\",\"100-0001\",\"\",\"warning\","
        u"\"郵便番号がないため住所から求めました；宛名（氏名・会社名）がありません\"\r\n"_qs);
}

// Printed rows fill the first sheet from the start position on.
TEST(LabelSheets, BeginAtTheStartPosition) {
    LabelOptions options; // 12 labels a sheet
    options.start = 11;
    std::vector<RowResult> results(4);
    results[1].printed = false;
    const auto sheets = arrangeSheets(results, options);
    ASSERT_EQ(sheets.size(), 2u);
    ASSERT_EQ(sheets[0].size(), 2u);
    EXPECT_EQ(sheets[0][0].slot, 10);
    EXPECT_EQ(sheets[0][1].slot, 11);
    ASSERT_EQ(sheets[1].size(), 1u);
    EXPECT_EQ(sheets[1][0].slot, 0);
    EXPECT_EQ(countRun(results, options).sheets, 2);
}

TEST(LabelRows, ReadTheGivenPostalCode) {
    const std::pair<QString, std::optional<QString>> cases[] = {
        {u"100-0013"_qs, u"1000013"_qs}, {u"〒１００－００１３"_qs, u"1000013"_qs},
        {u"600906"_qs, u"0600906"_qs},   {u"06-0906"_qs, std::nullopt},
        {u"10000131"_qs, std::nullopt},  {u"1000O13"_qs, std::nullopt},
    };
    for (const auto& [field, code] : cases)
        EXPECT_EQ(givenPostalCode(field), code) << field.toStdString();
}

} // namespace
} // namespace yubin::labels
