#include "labels/address_list.h"
#include "support/data_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin::labels {
namespace {

QByteArray utf8(const char16_t* text) {
    return QString::fromUtf16(text).toUtf8();
}

TEST(AddressList, DetectsTheEncoding) {
    const QString row = u"郵便番号,住所,氏名\r\n1000013,東京都千代田区霞が関,山田\r\n"_qs;
    const struct {
        QByteArray bytes;
        Encoding encoding;
        QString error;
    } cases[] = {
        {row.toUtf8(), Encoding::Utf8, {}},
        {"\xEF\xBB\xBF" + row.toUtf8(), Encoding::Utf8WithBom, {}},
        {test::sjisLines({row.trimmed()}), Encoding::Cp932, {}},
        // A lead byte of code page 932 with nothing valid after it.
        {"a,b\r\n\x81\x20", Encoding::Utf8,
         u"文字コードを判別できません（UTF-8 でも Shift_JIS でもありません）"_qs},
        {"\xEF\xBB\xBF\x82\xA0", Encoding::Utf8,
         u"文字コードを判別できません（UTF-8 でも Shift_JIS でもありません）"_qs},
    };
    for (const auto& c : cases) {
        const AddressList list = parseAddressList(c.bytes);
        EXPECT_EQ(list.error, c.error);
        if (c.error.isEmpty()) {
            EXPECT_EQ(list.encoding, c.encoding);
            ASSERT_EQ(list.rows.size(), 1u);
            EXPECT_EQ(list.field(list.rows[0], Column::Address), u"東京都千代田区霞が関"_qs);
        }
    }
}

// Quoted fields keep separators, line breaks and doubled quotes; a record
// knows the line it starts on.
TEST(AddressList, SplitsRecordsAsRfc4180) {
    const auto records = splitRecords(u"a,\"b,c\",\"d\r\ne\"\r\n\"f\"\"g\",,h\n\ni\tj"_qs, u',');
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 4u);
    EXPECT_EQ((*records)[0].fields, (QStringList{u"a"_qs, u"b,c"_qs, u"d\ne"_qs}));
    EXPECT_EQ((*records)[1].fields, (QStringList{u"f\"g"_qs, {}, u"h"_qs}));
    EXPECT_EQ((*records)[1].line, 3);
    EXPECT_EQ((*records)[2].fields, QStringList{QString()});
    EXPECT_EQ((*records)[3].fields, QStringList{u"i\tj"_qs});
    EXPECT_EQ((*records)[3].line, 5);
    int unclosed = 0;
    EXPECT_FALSE(splitRecords(u"a\n\"b\nc"_qs, u',', &unclosed));
    EXPECT_EQ(unclosed, 2);
}

// Each heading set people export, with one row under it, and what the
// labels read from that row.
struct HeadingSet {
    const char* what;
    const char16_t* text;
    std::vector<std::pair<Column, QString>> fields;
    QString unused; // the unused columns' note
};

class HeadingSets : public testing::TestWithParam<HeadingSet> {};

TEST_P(HeadingSets, ReadTheRowAsTheLabelsNeedIt) {
    const HeadingSet& c = GetParam();
    const AddressList list = parseAddressList(utf8(c.text));
    ASSERT_TRUE(list.error.isEmpty()) << list.error.toStdString();
    ASSERT_EQ(list.rows.size(), 1u);
    for (const auto& [column, value] : c.fields)
        EXPECT_EQ(list.field(list.rows[0], column), value) << int(column);
    EXPECT_EQ(list.unusedNote(), c.unused);
}

using C = Column;
INSTANTIATE_TEST_SUITE_P(
    AddressList, HeadingSets,
    testing::Values(
        HeadingSet{"Japanese",
                   u"氏名,〒,住 所１,住所2,会社,部署,建物,敬称,役職\n"
                   u"山田 太郎,1000013,東京都,千代田区,郵政,総務,ビル,殿,営業部長\n",
                   {{C::Name, u"営業部長\u3000山田 太郎"_qs},
                    {C::PostalCode, u"1000013"_qs},
                    {C::Address1, u"東京都"_qs},
                    {C::Address2, u"千代田区"_qs},
                    {C::Company, u"郵政"_qs},
                    {C::Department, u"総務"_qs},
                    {C::Building, u"ビル"_qs},
                    {C::Honorific, u"殿"_qs}},
                   {}},
        HeadingSet{"SplitColumns",
                   u"名,姓,都道府県,市区町村,町域,丁目番地,マンション名,郵便番号,連名1,連名2\n"
                   u"太郎,山田,東京都,千代田区,霞が関,1-3-2,霞が関ビル,1000013,花子,一郎\n",
                   {{C::Name, u"山田 太郎・花子・一郎"_qs},
                    {C::Address, u"東京都千代田区霞が関1-3-2"_qs},
                    {C::Building, u"霞が関ビル"_qs},
                    {C::PostalCode, u"1000013"_qs}},
                   {}},
        HeadingSet{"English",
                   u"First Name\tLast Name\tOrganization 1 - Name\tOrganization 1 - Title\t"
                   u"Address 1 - Street\tAddress 1 - City\tAddress 1 - Region\t"
                   u"ADDRESS 1 - POSTAL CODE\tAddress 1 - Country\n"
                   u"太郎\t山田\t郵政\t営業部長\t霞が関1-3-2\t千代田区\t東京都\t100-0013\t日本\n",
                   {{C::Name, u"営業部長\u3000山田 太郎"_qs},
                    {C::Company, u"郵政"_qs},
                    {C::Address, u"東京都千代田区霞が関1-3-2"_qs},
                    {C::PostalCode, u"100-0013"_qs}},
                   u"使わない列：Address 1 - Country"_qs},
        HeadingSet{"ColumnsLeftUnused",
                   u"会社コード,郵便番号,ｐｏｓｔａｌ　ｃｏｄｅ,住所,氏名,電話番号,\n"
                   u"A1,1000013,1000014,東京都千代田区霞が関1,山田,03,x\n",
                   {{C::PostalCode, u"1000013"_qs}, {C::Address, u"東京都千代田区霞が関1"_qs}},
                   u"使わない列：会社コード、ｐｏｓｔａｌ　ｃｏｄｅ、電話番号、7列目"_qs},
        // The address of the first set is read, with that set's postal code.
        HeadingSet{"HomeAndWork",
                   u"氏名,勤務先郵便番号,勤務先住所1,自宅郵便番号,自宅住所1,Home Street 2,勤務先\n"
                   u"山田,1000013,東京都千代田区霞が関1,0600906,北海道札幌市,2F,郵政\n",
                   {{C::PostalCode, u"1000013"_qs},
                    {C::Address1, u"東京都千代田区霞が関1"_qs},
                    {C::Address2, u""_qs},
                    {C::Company, u"郵政"_qs}},
                   u"使わない列：自宅郵便番号、自宅住所1、Home Street 2"_qs},
        // No heading: postal code, address, name.
        HeadingSet{
            "NoHeading",
            u"1000013,東京都,山田,x\n",
            {{C::PostalCode, u"1000013"_qs}, {C::Address, u"東京都"_qs}, {C::Name, u"山田"_qs}},
            u"使わない列：4列目"_qs}),
    [](const testing::TestParamInfo<HeadingSet>& info) { return std::string(info.param.what); });

TEST(AddressList, RefusesFilesItCannotUse) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"list.csv"_qs);
    const struct {
        QByteArray bytes; // empty: no file at all
        QString error;
    } cases[] = {
        {{}, u"ファイルがありません："_qs + path},
        {"\xEF\xBB\xBF", u"ファイルが空です"_qs},
        {"\r\n,,\r\n", u"ファイルに行がありません"_qs},
        {utf8(u"会社コード,氏名,,建物,電話番号\nA1,山田,,ビル,03\n"),
         u"住所の列がありません（見出し：会社コード、氏名、建物、電話番号）。住所には「住所」"
         u"「住所1」「都道府県」「Address」などの見出しが要ります"_qs},
        {"1000013\n1000014\n", u"住所の列がありません（見出しのない1列だけのリストです）"_qs},
        {utf8(u"住所,氏名\n"), u"見出しの行のほかに行がありません"_qs},
        {"1,\"2\n3\n", u"1行目で始まる引用符（\"）が閉じていません"_qs},
    };
    for (const auto& c : cases) {
        QFile::remove(path);
        if (!c.bytes.isEmpty())
            test::writeFile(path, c.bytes);
        EXPECT_EQ(readAddressList(path).error, c.error);
    }
}

} // namespace
} // namespace yubin::labels
