// Address labels, whole process: yubin-cli labels turns a list of 10,000
// addresses taken from the bundled nationwide data into a PDF of 12-label
// A4 sheets (834 of them) and the report beside it.

#include "bench_data.h"

namespace {

void BM_TenThousandLabelsToPdfAndReport(benchmark::State& state) {
    yubin::bench::runListVerb(state, QStringLiteral("labels"), QStringLiteral("郵便番号,住所,氏名"),
                              10000, [](int n) { return QStringLiteral("宛名 %1").arg(n); });
}

BENCHMARK(BM_TenThousandLabelsToPdfAndReport)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
