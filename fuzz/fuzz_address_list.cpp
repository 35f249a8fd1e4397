// The address-list reader on any bytes: it never crashes, and either
// reports why the file cannot be used or accounts for every character of
// the text: each one other than quotes, separators, line ends and blanks
// is in a heading or a field, once and in order. Bytes that start as a ZIP
// archive go to the workbook reader, which stays within its bounds: rows in
// the sheet's order, no wider than its column limit.

#include "fuzz_check.h"
#include "labels/address_list.h"
#include "labels/workbook.h"

namespace {

QString withoutSyntax(QStringView text, QChar separator) {
    QString kept;
    for (QChar c : text)
        if (c != u'"' && c != separator && c != u'\r' && c != u'\n' && c != u' ' && c != u'\u3000')
            kept += c;
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace yubin::labels;
    const QByteArray bytes = yubin::fuzz::bytesOf(data, size);
    const AddressList list = parseAddressList(bytes);
    if (!list.error.isEmpty()) {
        FUZZ_CHECK(list.rows.empty());
        return 0;
    }
    if (isWorkbook(bytes)) {
        FUZZ_CHECK(list.fromWorkbook);
        int row = 0;
        for (const Record& r : list.rows) {
            FUZZ_CHECK(r.line > row);
            FUZZ_CHECK(r.fields.size() <= MaxWorkbookColumns);
            row = r.line;
        }
        return 0;
    }
    Encoding encoding;
    const std::optional<QString> text = decodeList(bytes, &encoding);
    FUZZ_CHECK(text && encoding == list.encoding);
    FUZZ_CHECK(!list.rows.empty());
    QString fields = list.headings.join(QString());
    int line = 0;
    for (const Record& r : list.rows) {
        FUZZ_CHECK(r.line > line); // in the file's order
        line = r.line;
        fields += r.fields.join(QString());
    }
    FUZZ_CHECK(withoutSyntax(fields, list.separator) == withoutSyntax(*text, list.separator));
    return 0;
}
