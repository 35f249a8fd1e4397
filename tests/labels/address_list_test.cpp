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

TEST(AddressList, FindsColumnsByTheirHeadings) {
    using C = Column;
    const struct {
        const char16_t* text;
        std::vector<std::pair<Column, QString>> fields; // of the first row
    } cases[] = {
        {u"氏名,郵便番号,住所１,住所2,会社名,部署,建物,敬称\n"
         u"山田,1000013,東京都,千代田区,郵政,総務,ビル,殿\n",
         {{C::Name, u"山田"_qs},
          {C::PostalCode, u"1000013"_qs},
          {C::Address1, u"東京都"_qs},
          {C::Address2, u"千代田区"_qs},
          {C::Company, u"郵政"_qs},
          {C::Department, u"総務"_qs},
          {C::Building, u"ビル"_qs},
          {C::Honorific, u"殿"_qs}}},
        {u"Name\tPostal_Code\tADDRESS\tmemo\nYamada\t1000013\t東京都\tx\n",
         {{C::Name, u"Yamada"_qs}, {C::PostalCode, u"1000013"_qs}, {C::Address, u"東京都"_qs}}},
        {u"宛名,住所3,\"memo\tmemo\"\n山田,千代田区,x\n",
         {{C::Name, u"山田"_qs}, {C::Address3, u"千代田区"_qs}}},
        // No heading: postal code, address, name.
        {u"1000013,東京都,山田\n",
         {{C::PostalCode, u"1000013"_qs}, {C::Address, u"東京都"_qs}, {C::Name, u"山田"_qs}}},
    };
    for (const auto& c : cases) {
        const AddressList list = parseAddressList(utf8(c.text));
        ASSERT_TRUE(list.error.isEmpty()) << list.error.toStdString();
        ASSERT_EQ(list.rows.size(), 1u);
        for (const auto& [column, value] : c.fields)
            EXPECT_EQ(list.field(list.rows[0], column), value) << int(column);
    }
}

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
        {utf8(u"氏名,郵便番号\n山田,1000013\n"),
         u"住所の列がありません（見出しに「住所」「住所1」～「住所3」のどれかが要ります）"_qs},
        {"1000013\n1000014\n",
         u"住所の列がありません（見出しに「住所」「住所1」～「住所3」のどれかが要ります）"_qs},
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
