#include "postcards/postcard_run.h"
#include "support/data_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin::postcards {
namespace {

class PostcardRun : public ::testing::Test {
protected:
    void SetUp() override {
        QStringList towns;
        for (const auto& [code, town] :
             {std::pair{u"1000013"_qs, u"霞が関"_qs}, {u"1000001"_qs, u"千代田"_qs}})
            towns << test::addressRecord(u"13101"_qs, code, u"ﾄｳｷﾖｳﾄ"_qs, u"ﾁﾖﾀﾞｸ"_qs, u"ﾁﾖｳ"_qs,
                                         u"東京都"_qs, u"千代田区"_qs, town);
        test::writeFile(dir.filePath(u"13tokyo.CSV"_qs), test::sjisLines(towns));
    }
    std::vector<CardRow> run(const QString& rows, const PostcardOptions& options = {}) {
        list = labels::parseAddressList(
            (u"郵便番号,住所,建物,会社名,部署,役職,氏名,連名1,連名2,敬称\n"_qs + rows).toUtf8());
        EXPECT_TRUE(list.error.isEmpty()) << list.error.toStdString();
        PostcardChecker checker(list, DataFolder::atPath(dir.path()), options);
        std::vector<CardRow> out;
        for (const labels::Record& r : list.rows)
            out.push_back(checker.check(r));
        return out;
    }
    QTemporaryDir dir;
    labels::AddressList list;
};

TEST_F(PostcardRun, RowsInErrorArePrintedOnlyWhenKept) {
    const QString rows = u"100-0013,東京都千代田区霞が関1-3-2,,,,,山田 太郎,,,\n"
                         "100-0001,東京都千代田区霞が関1-1,,,,,鈴木 一郎,,,\n"
                         ",東京都千代田区千代田1-1,,宮内庁,,,,,,\n"_qs;
    const std::vector<CardRow> held = run(rows);
    ASSERT_EQ(held.size(), 3u);
    EXPECT_EQ(held[0].check.status, labels::RowStatus::Ok);
    EXPECT_TRUE(held[0].check.printed);
    EXPECT_EQ(held[1].check.status, labels::RowStatus::Error);
    EXPECT_FALSE(held[1].check.printed);
    EXPECT_EQ(held[1].check.reasons.last(), u"印刷していません"_qs);
    EXPECT_EQ(held[2].check.status, labels::RowStatus::Warning);
    EXPECT_EQ(printedCards(held).size(), 2u);
    EXPECT_EQ(cardCountsLine(held), u"印刷 2 枚、警告 1 件、エラー 1 件、除外 1 件／全 3 行"_qs);

    PostcardOptions keep;
    keep.keepUnresolved = true;
    const std::vector<CardRow> kept = run(rows, keep);
    EXPECT_TRUE(kept[1].check.printed);
    EXPECT_EQ(printedCards(kept).size(), 3u);
}

TEST_F(PostcardRun, CardTextsFromTheRowAndItsCheck) {
    const std::vector<CardRow> rows = run(
        u"100-0001,東京都千代田区霞が関1-1,,,,,鈴木 一郎,,,\n"
        ",東京都千代田区千代田1-1,,宮内庁,総務課,,,,,\n"
        "1000013,東京都千代田区霞が関1,郵便ビル,日本商事,営業部,部長,山田 太郎,花子,山田 一平,殿\n"_qs);
    const struct {
        QString postalCode;
        QString name;
        QString honorific;
        QString company;
        QString title;
        QStringList joints;
    } expected[] = {
        {u"1000001"_qs, u"鈴木 一郎"_qs, u"様"_qs, {}, {}, {}},        // the code as given
        {u"1000001"_qs, u"宮内庁　総務課"_qs, u"御中"_qs, {}, {}, {}}, // found from the address
        {u"1000013"_qs,
         u"山田 太郎"_qs,
         u"殿"_qs,
         u"日本商事"_qs,
         u"部長"_qs,
         {u"花子"_qs, u"山田 一平"_qs}},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        const CardText t = cardText(list, list.rows[i], rows[i].check);
        SCOPED_TRACE(i);
        EXPECT_EQ(t.postalCode, expected[i].postalCode);
        EXPECT_EQ(t.name, expected[i].name);
        EXPECT_EQ(t.honorific, expected[i].honorific);
        EXPECT_EQ(t.company, expected[i].company);
        EXPECT_EQ(t.title, expected[i].title);
        EXPECT_EQ(t.jointNames, expected[i].joints);
    }
}

TEST_F(PostcardRun, ACutIsAWarningOnTheRow) {
    const std::vector<CardRow> rows =
        run(u"1000013,東京都千代田区霞が関1,"_qs + u"とても長い建物の名前"_qs.repeated(8) +
            u",,,,山田 太郎,,,\n"_qs);
    EXPECT_EQ(rows[0].check.status, labels::RowStatus::Warning);
    EXPECT_EQ(rows[0].check.reasons.last(), u"建物が郵便はがきに収まりません"_qs);
}

} // namespace
} // namespace yubin::postcards
