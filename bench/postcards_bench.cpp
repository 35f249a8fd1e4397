// Postcards, whole process: yubin-cli postcards turns a list of 1,000
// addresses taken from the bundled nationwide data into a PDF of 1,000
// postcards written vertically, with a sender, and the report beside it.

#include "bench_data.h"

namespace {

void BM_ThousandPostcardsToPdfAndReport(benchmark::State& state) {
    yubin::bench::runListVerb(
        state, QStringLiteral("postcards"), QStringLiteral("郵便番号,住所,氏名,連名"), 1000,
        [](int n) { return QStringLiteral("山田 太郎%1,花子").arg(n); },
        {QStringLiteral("--sender-name"), QStringLiteral("鈴木 一郎"),
         QStringLiteral("--sender-code"), QStringLiteral("2100001"),
         QStringLiteral("--sender-address"), QStringLiteral("川崎市川崎区本町1-2-3")});
}

BENCHMARK(BM_ThousandPostcardsToPdfAndReport)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
