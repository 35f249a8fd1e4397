// Access_CSV on any line: the split keeps every ordinary character of the
// line exactly once and in order, counts one field per separating comma, gives
// the same fields however it is asked (the split for reading only among the
// ways), and a rebuilt line splits back into the same fields when no field
// holds a quote.

#include "foundation/access_csv.h"
#include "fuzz_check.h"

using yubin::Access_CSV;

namespace {

QString withoutQuotesAndCommas(QString text) {
    text.remove(u'"');
    text.remove(u',');
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString line = QString::fromUtf8(yubin::fuzz::bytesOf(data, size));
    // A new reader holds the empty line already and reports no field for it.
    if (line.isEmpty())
        return 0;
    Access_CSV csv;
    csv.setCSV(line);
    const int count = csv.MaxColNo();

    int separators = 0;
    bool outside = true;
    for (QChar c : line) {
        if (c == u'"')
            outside = !outside;
        else if (c == u',' && outside)
            ++separators;
    }
    FUZZ_CHECK(count == separators + 1);

    QStringList fields;
    QString kept;
    for (int i = 1; i <= count; ++i) {
        fields << csv.Col(i);
        kept += fields.back();
    }
    FUZZ_CHECK(withoutQuotesAndCommas(kept) == withoutQuotesAndCommas(line));
    FUZZ_CHECK(csv.Col(0).isEmpty() && csv.Col(count + 1).isEmpty());

    // The split for reading only gives the same fields, copied or not.
    Access_CSV reader;
    reader.readLine(line);
    FUZZ_CHECK(reader.fieldCount() == count);
    for (int i = 1; i <= count; ++i)
        FUZZ_CHECK(reader.field(i) == fields[i - 1]);
    FUZZ_CHECK(reader.field(count + 1).isEmpty());

    // A second reader given the line with each request sees the same fields.
    Access_CSV asked;
    for (int i = count; i >= 1; --i)
        FUZZ_CHECK(asked.Col(i, line) == fields[i - 1]);
    FUZZ_CHECK(asked.splitCount() == 1);

    bool quoteInAField = false;
    for (const QString& f : fields)
        quoteInAField = quoteInAField || f.contains(u'"');
    const QString rebuilt = csv.CSV();
    Access_CSV again;
    again.setCSV(QStringLiteral("x")); // so that an empty rebuilt line is split too
    again.setCSV(rebuilt);
    if (!quoteInAField) {
        FUZZ_CHECK(again.MaxColNo() == count);
        for (int i = 1; i <= count; ++i) {
            const QString& f = fields[i - 1];
            // A number is written in the general format, so only its value
            // must survive.
            if (!Access_CSV::isNumericText(f))
                FUZZ_CHECK(again.Col(i) == f);
        }
    }

    // Columns set and counts changed anywhere, past the capacity included:
    // each either works or is refused as out of range, and the reader stays
    // usable, never touching fields it does not have.
    const int column = int(data[0]) * 2 - 60;
    const int newCount = int(data[size - 1]) * 2 - 60;
    try {
        csv.setMaxColNo(newCount);
        csv.setCol(column, line);
        if (column >= 1)
            FUZZ_CHECK(csv.Col(column) == line);
    } catch (const std::out_of_range&) {
        FUZZ_CHECK(column > csv.capacity());
    }
    try {
        (void)csv.CSV();
        FUZZ_CHECK(csv.MaxColNo() <= csv.capacity());
    } catch (const std::out_of_range&) {
        FUZZ_CHECK(csv.MaxColNo() > csv.capacity());
    }
    csv.setMaxColNo(1);
    FUZZ_CHECK(csv.MaxColNo() == 1);
    (void)csv.CSV();
    return 0;
}
