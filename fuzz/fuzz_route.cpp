// The nationwide split on any bytes: every record goes to the prefecture a
// plain search for the names in code order gives, as the bytes of its line
// with the blanks trimmed away, and nothing else is written.

#include "data_prep/nationwide_split.h"
#include "foundation/data_file.h"
#include "foundation/postal_record.h"
#include "foundation/text.h"
#include "fuzz_check.h"

#include <vector>

using namespace yubin;

namespace {

class NoProgress final : public SplitProgress {
public:
    void progress(const QString&, qint64) override {}
    bool shouldStop() override { return false; }
};

// The first prefecture in code order whose name first occurs beyond the
// tenth character.
int plainRoute(QStringView line, const QStringList& names) {
    for (int i = 1; i <= PrefectureCount; ++i)
        if (line.indexOf(names[i]) >= 10)
            return i;
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QStringList names = makePrefectureNames();
    static const PrefectureRouter router(names);
    const QByteArray file = fuzz::bytesOf(data, size);

    fuzz::StillClock clock;
    NoProgress progress;
    // Routing alone: joining split records is fuzz_records' to check.
    const SplitResult result = splitNationwide(file, names, progress, clock, false);
    FUZZ_CHECK(!result.aborted);

    struct Expected {
        QString text;
        QByteArray raw;
    };
    std::vector<std::vector<Expected>> expected(PrefectureCount + 1);
    qint64 lines = 0;
    qint64 unrouted = 0;
    forEachLine(QByteArrayView(file), [&](QByteArrayView raw) {
        ++lines;
        const QString decoded = text::decodeCp932(raw);
        const QStringView trimmed = text::trimBlanks(decoded);
        if (!isRecordLine(trimmed))
            return;
        const int j = plainRoute(trimmed, names);
        FUZZ_CHECK(router.route(trimmed) == j);
        if (j == 0)
            ++unrouted;
        else
            expected[size_t(j)].push_back({trimmed.toString(), raw.toByteArray()});
    });
    FUZZ_CHECK(result.linesRead == lines);
    FUZZ_CHECK(result.unrouted == unrouted);
    FUZZ_CHECK(result.bytes[0].isEmpty());

    for (int j = 1; j <= PrefectureCount; ++j) {
        const std::vector<Expected>& want = expected[size_t(j)];
        FUZZ_CHECK(result.lines[size_t(j)] == qint64(want.size()));
        QByteArrayView rest = result.bytes[size_t(j)];
        for (const Expected& e : want) {
            const qsizetype end = rest.indexOf(QByteArrayView("\r\n"));
            FUZZ_CHECK(end >= 0);
            const QByteArrayView written = rest.first(end);
            FUZZ_CHECK(QByteArrayView(e.raw).indexOf(written) >= 0);
            FUZZ_CHECK(text::decodeCp932(written) == e.text);
            rest = rest.sliced(end + 2);
        }
        FUZZ_CHECK(rest.isEmpty());
    }
    return 0;
}
