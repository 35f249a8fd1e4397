// The published files brought to the data format, on any bytes: the joining
// of split records keeps every line but the continuations it joins, the
// UTF-8 file keeps one line for each of its lines, and a change log line
// that is read is written back as the same change.

#include "data_prep/change_log.h"
#include "data_prep/record_lines.h"
#include "foundation/data_file.h"
#include "foundation/text.h"
#include "fuzz_check.h"

using namespace yubin;

namespace {

qint64 lineCount(QByteArrayView bytes) {
    qint64 n = 0;
    forEachLine(bytes, [&](QByteArrayView) { ++n; });
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray file = fuzz::bytesOf(data, size);

    qint64 nonBlank = 0;
    forEachLine(QByteArrayView(file), [&](QByteArrayView raw) {
        if (!text::trimBlanks(text::decodeCp932(raw)).isEmpty())
            ++nonBlank;
    });
    qint64 joined = 0;
    const QByteArray out = joinSplitRecords(file, &joined);
    FUZZ_CHECK(out.isEmpty() || out.endsWith("\r\n"));
    FUZZ_CHECK(lineCount(out) + joined == nonBlank);

    const Utf8Conversion converted = convertUtf8AddressFile(file);
    FUZZ_CHECK(converted.bytes.isEmpty() || converted.bytes.endsWith("\r\n"));
    for (const UnencodableRecord& r : converted.unencodable)
        FUZZ_CHECK(!r.text.isEmpty());

    const QString text = QString::fromUtf8(file);
    forEachLine(QStringView(text), [&](QStringView line) {
        const std::optional<ChangeEntry> e = parseChangeLogLine(line);
        if (!e)
            return;
        const std::optional<ChangeEntry> back = parseChangeLogLine(changeLogLine(*e));
        FUZZ_CHECK(back && back->month == e->month && back->kind == e->kind &&
                   back->office == e->office && back->postalCode == e->postalCode &&
                   back->record == e->record);
        changeLine(*e);
        findAbolished({*e}, e->postalCode);
    });
    return 0;
}
