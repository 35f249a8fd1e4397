// The full data search on nationwide data (the bundled archives, laid out by
// the nationwide preparation), warm and cold, each beside `LC_ALL=C grep -F -c` over the
// same files in the same run.

#include "bench_data.h"
#include "foundation/utilities.h"
#include "search/scan.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace yubin;

struct Nationwide {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/DATA");
    QString why;
    bool ready = bench::writeNationwideDataFolder(folder, &why);
    DataFolder data = DataFolder::atPath(folder);
};

Nationwide& nationwide() {
    static Nationwide n;
    return n;
}

void runSearch(benchmark::State& state, const ScanRequest& request, const QString& grepPattern,
               bool cold) {
    Nationwide& n = nationwide();
    if (!n.ready) {
        state.SkipWithError(n.why.toStdString().c_str());
        return;
    }
    SteadyClock clock;
    ScanObserver quiet;
    auto cache = std::make_unique<ScanCache>();
    if (!cold)
        runScan(request, n.data, *cache, clock, quiet); // warm up
    qsizetype rows = 0;
    double grepMs = 0;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            cache = std::make_unique<ScanCache>();
            state.ResumeTiming();
        }
        rows = runScan(request, n.data, *cache, clock, quiet).rows.size();
        state.PauseTiming();
        grepMs += bench::grepMilliseconds(n.folder, grepPattern);
        state.ResumeTiming();
    }
    state.counters["rows"] = double(rows);
    state.counters["grep_ms"] = benchmark::Counter(grepMs, benchmark::Counter::kAvgIterations);
}

ScanRequest textSearch(const char* text, bool fold) {
    ScanRequest r;
    r.text = QString::fromUtf8(text);
    r.fold = fold;
    return r;
}

void BM_SearchRawDecided(benchmark::State& state) {
    runSearch(state, textSearch("川崎", false), QStringLiteral("川崎"), false);
}
void BM_SearchFoldedWordInNoLine(benchmark::State& state) {
    runSearch(state, textSearch("かわさき", true), QStringLiteral("かわさき"), false);
}
void BM_SearchTwoWords(benchmark::State& state) {
    runSearch(state, textSearch("川崎 かわさき", false), QStringLiteral("川崎"), false);
}
void BM_SearchPostalCode(benchmark::State& state) {
    ScanRequest r;
    r.zipKey = QStringLiteral("2100001");
    runSearch(state, r, QStringLiteral("2100001"), false);
}
void BM_SearchFirstAfterStart(benchmark::State& state) {
    runSearch(state, textSearch("川崎", false), QStringLiteral("川崎"), true);
}
// The first folding search also builds the fold key of every file.
void BM_SearchFoldedFirstAfterStart(benchmark::State& state) {
    runSearch(state, textSearch("かわさき", true), QStringLiteral("かわさき"), true);
}

#define SEARCH_BENCHMARK(name)                                                                     \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly()
SEARCH_BENCHMARK(BM_SearchRawDecided);
SEARCH_BENCHMARK(BM_SearchFoldedWordInNoLine);
SEARCH_BENCHMARK(BM_SearchTwoWords);
SEARCH_BENCHMARK(BM_SearchPostalCode);
SEARCH_BENCHMARK(BM_SearchFirstAfterStart);
SEARCH_BENCHMARK(BM_SearchFoldedFirstAfterStart);

} // namespace
