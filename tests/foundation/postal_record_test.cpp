#include "foundation/postal_record.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace yubin {
namespace {

// Lines in the published layouts, written out column by column.
const QString AddressLine =
    u"01101,\"060  \",\"0600042\",\"ﾎﾂｶｲﾄﾞｳ\",\"ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ\",\"ｵｵﾄﾞｵﾘﾆｼ(1-19ﾁﾖｳﾒ)\","
    u"\"北海道\",\"札幌市中央区\",\"大通西（１〜１９丁目）\",1,0,1,0,0,0"_qs;
const QString OfficeLine =
    u"13101,\"(ｶﾌﾞ) ﾃｽﾄｼﾖｳｼﾞ\",\"テスト商事　株式会社\",\"東京都\",\"千代田区\",\"丸の内\","
    u"\"１丁目１－１\",\"1008799\",\"100  \",\"銀座\",0,0,0"_qs;

TEST(PostalRecord, AddressAndOfficeLinesReadByTheirColumnMap) {
    Access_CSV csv;
    const PostalRecord a = readAddressRecord(AddressLine, csv);
    EXPECT_EQ(a.kind, RecordKind::Town);
    EXPECT_EQ(a.postalCode, u"0600042"_qs);
    EXPECT_EQ(a.prefectureReading, u"ﾎﾂｶｲﾄﾞｳ"_qs);
    EXPECT_EQ(a.municipalityReading, u"ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ"_qs);
    EXPECT_EQ(a.townReading, u"ｵｵﾄﾞｵﾘﾆｼ(1-19ﾁﾖｳﾒ)"_qs);
    EXPECT_EQ(a.prefecture, u"北海道"_qs);
    EXPECT_EQ(a.municipality, u"札幌市中央区"_qs);
    EXPECT_EQ(a.town, u"大通西（１〜１９丁目）"_qs);

    const PostalRecord o = readOfficeRecord(OfficeLine, csv);
    EXPECT_EQ(o.kind, RecordKind::Office);
    EXPECT_EQ(o.postalCode, u"1008799"_qs);
    EXPECT_EQ(o.officeName, u"テスト商事　株式会社"_qs);
    EXPECT_EQ(o.officeReading, u"ﾃｽﾄｼﾖｳｼﾞ"_qs);
    EXPECT_EQ(o.prefecture, u"東京都"_qs);
    EXPECT_EQ(o.address, u"千代田区丸の内１丁目１－１"_qs);
}

TEST(PostalRecord, LinesOfTenCharactersOrFewerAreNoRecords) {
    EXPECT_FALSE(isRecordLine(u"0123456789"));
    EXPECT_TRUE(isRecordLine(u"01234567890"));
}

// A code read as a number lost its leading zeros; a column of anything but
// digits reads as the number its leading digits make.
TEST(PostalRecord, SevenDigitCodeIsTheColumnsLeadingDigitsWithZeros) {
    for (const auto& [column, code] : {std::pair{"0600000", "0600000"},
                                       {"600000", "0600000"},
                                       {" 123x9 ", "0000123"},
                                       {"abc", "0000000"},
                                       {"123456789", "3456789"}})
        EXPECT_EQ(sevenDigitCode(QString::fromLatin1(column)), QString::fromLatin1(code)) << column;
}

TEST(CorporateForms, LoseTheLegalEntityWordTheyBeginWith) {
    const QString readings = u"(ｶﾌﾞ) ﾃｽﾄ|ｶﾌﾞ ﾃｽﾄ|(ｲ)ﾃｽﾄ|ﾄﾞｸﾘﾂｷﾞﾖｳｾｲﾎｳｼﾞﾝ ﾃｽﾄ|ｲﾘﾖｳﾎｳｼﾞﾝ ﾃｽﾄ|"
                             u"ｲﾘﾖｳﾎｳｼﾞﾝｼﾔﾀﾞﾝ ﾃｽﾄ|(ｶ)ﾃｽﾄ|(ｻﾞｲ)ﾃｽﾄ|(ｼﾔ)ﾃｽﾄ|(ｼﾞﾔﾌ)ﾃｽﾄ|(ｼﾕｳ)ﾃｽﾄ|"
                             u"(ﾕｳ)ﾃｽﾄ|ｶﾌﾞ) ﾃｽﾄ|ｶ) ﾃｽﾄ|ｶ)ﾃｽﾄ|（ﾃｽﾄ|ｶﾌﾞｼｷｶｲｼﾔ ﾃｽﾄ|ｶﾌﾞｼｷｶﾞｲｼﾔ)ﾃｽﾄ|"
                             u"ｶﾌﾞｼｷｶﾞｲｼﾔ ﾃｽﾄ|ｻﾞｲﾀﾞﾝﾎｳｼﾞﾝ ﾃｽﾄ|(ｻﾞｲﾀﾞﾝﾎｳｼﾞﾝ)ﾃｽﾄ|ｶﾞﾂｺｳﾎｳｼﾞﾝ ﾃｽﾄ|"
                             u"  (ｼﾞﾔﾌ)  ﾃｽﾄ "_qs;
    for (const QString& reading : readings.split(u'|'))
        EXPECT_EQ(stripCorporateForm(reading), QStringLiteral("ﾃｽﾄ")) << reading.toStdString();
    // Order and exactness: the first matching prefix decides, and only a
    // whole prefix counts.
    for (const QString& kept : u"ｶﾌﾞｼｷｶｲｼﾔﾃｽﾄ|ｶﾌﾞﾄ|ｶﾀｸﾗ"_qs.split(u'|'))
        EXPECT_EQ(stripCorporateForm(kept), kept);
    EXPECT_EQ(stripCorporateForm(QStringLiteral("(ｶﾌﾞ)")), QString());
}

} // namespace
} // namespace yubin
