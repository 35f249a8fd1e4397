#include "data_prep/prep_support.h"
#include "labels/workbook.h"

#include <gtest/gtest.h>

namespace yubin::labels {
namespace {

using test::fileEntry;

const QByteArray Rels =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet2.xml"/>
<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>
</Relationships>)";

// Sheet 2 comes first in the workbook's order.
const QByteArray Workbook =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<sheets><sheet name="宛先" sheetId="2" r:id="rId2"/><sheet name="控え" sheetId="1" r:id="rId1"/></sheets>
</workbook>)";

// A rich string with its reading (rPh), as Japanese Excel stores names.
const QByteArray Shared = QString::fromUtf16(uR"(<?xml version="1.0" encoding="UTF-8"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="4" uniqueCount="4">
<si><t>郵便番号</t></si><si><t>住所</t></si><si><t>氏名</t></si>
<si><r><t>山田</t></r><r><t xml:space="preserve"> 太郎</t></r><rPh sb="0" eb="2"><t>ヤマダ</t></rPh></si>
</sst>)")
                              .toUtf8();

QByteArray sheetXml(const QByteArray& rows) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)" +
           rows + "</sheetData></worksheet>";
}

// The postal code is the number 600906; the address an inline string, one
// column further than the heading row says.
const QByteArray Rows =
    QString::fromUtf16(
        uR"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="D1" t="s"><v>2</v></c></row>
<row r="3"><c r="A3"><v>600906</v></c><c r="B3" t="inlineStr"><is><t>北海道札幌市中央区北九条西</t></is></c><c r="C3"><f>1+1</f><v>2</v></c><c r="D3" t="s"><v>3</v></c></row>
<row><c t="str"><v>0600906</v></c><c t="inlineStr"><is><t>北海道</t></is></c><c/><c t="b"><v>1</v></c></row>)")
        .toUtf8();

QByteArray book(const QByteArray& sheet2, const QByteArray& shared = Shared) {
    return test::makeZip(
        {fileEntry("[Content_Types].xml", "<Types/>"), fileEntry("xl/workbook.xml", Workbook),
         fileEntry("xl/_rels/workbook.xml.rels", Rels), fileEntry("xl/sharedStrings.xml", shared),
         fileEntry("xl/worksheets/sheet1.xml", sheetXml("<row><c><v>1</v></c></row>")),
         fileEntry("xl/worksheets/sheet2.xml", sheet2)});
}

TEST(Workbook, ReadsTheFirstSheetAsAList) {
    const AddressList list = parseAddressList(book(sheetXml(Rows)));
    ASSERT_TRUE(list.error.isEmpty()) << list.error.toStdString();
    EXPECT_TRUE(list.fromWorkbook);
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[0].line, 3);
    EXPECT_EQ(list.rows[0].fields, (QStringList{u"0600906"_qs, u"北海道札幌市中央区北九条西"_qs,
                                                u"2"_qs, u"山田 太郎"_qs}));
    EXPECT_EQ(list.field(list.rows[0], Column::Name), u"山田 太郎"_qs);
    // A row without its number follows the one before; so do its cells.
    EXPECT_EQ(list.rows[1].line, 4);
    EXPECT_EQ(list.rows[1].fields,
              (QStringList{u"0600906"_qs, u"北海道"_qs, QString(), u"TRUE"_qs}));
    EXPECT_EQ(list.unusedNote(), u"使わない列：3列目"_qs);
}

TEST(Workbook, RefusesDamagedAndHostileBooks) {
    const QByteArray good = book(sheetXml(Rows));
    QByteArray cfb("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    cfb += QByteArray(504, '\0');
    const QByteArray encrypted =
        cfb + QByteArrayView("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32).toByteArray();
    const struct {
        const char* what;
        QByteArray bytes;
        QString error; // its start
    } cases[] = {
        {"cut short", good.left(good.size() / 2), u"ブックが壊れています（"_qs},
        {"password", encrypted,
         u"パスワードで保護されたブックは読めません（保護を外して保存し直してください）"_qs},
        {"old format", cfb, u"古い Excel 形式（.xls）のブックは読めません"_qs},
        {"no workbook", test::makeZip({fileEntry("a.txt", "a")}),
         u"Excel のブック（.xlsx）ではありません"_qs},
        {"missing string", book(sheetXml(R"(<row><c t="s"><v>4</v></c></row>)")),
         u"ブックが壊れています（sheet：共有文字列 4 がありません）"_qs},
        {"bad xml", book(sheetXml("<row><c><v>1</c></row>")), u"ブックが壊れています（sheet："_qs},
        {"entities", book(R"(<?xml version="1.0"?><!DOCTYPE w [<!ENTITY a "aaaa">]><w/>)"),
         u"ブックが壊れています（sheet：文書型宣言があります）"_qs},
        {"deep", book(sheetXml(QByteArray("<x>").repeated(100))),
         u"ブックが壊れています（sheet：入れ子が深すぎます）"_qs},
        {"wide", book(sheetXml(R"(<row><c r="ALM1"><v>1</v></c></row>)")),
         u"ブックの列が多すぎます（1000列まで）"_qs},
        // Packs to a few kilobytes, unpacks beyond the bound.
        {"bomb", book(sheetXml(QByteArray(MaxWorkbookPartBytes, ' '))),
         u"ブックが大きすぎます（シート1枚の中身は64 MBまでです）"_qs},
    };
    for (const auto& c : cases) {
        const AddressList list = parseAddressList(c.bytes);
        EXPECT_TRUE(list.error.startsWith(c.error)) << c.what << ": " << list.error.toStdString();
        EXPECT_TRUE(list.rows.empty()) << c.what;
    }
}

} // namespace
} // namespace yubin::labels
