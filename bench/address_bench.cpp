// Addresses to postal codes and address numbers on the bundled nationwide
// data: one address in its own process, 10,000 addresses through one
// process's standard input, and one address on a resolver already warm.

#include "address/resolver.h"
#include "bench_data.h"
#include "foundation/data_file.h"
#include "foundation/data_folder.h"
#include "foundation/text.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

const QString& dataFolder() {
    return yubin::bench::nationwideDataFolder();
}

// 10,000 addresses from the data itself, one a line.
QByteArray tenThousandAddresses() {
    QByteArray lines;
    for (const yubin::bench::SampleAddress& a : yubin::bench::sampleAddresses(10000))
        lines += (a.address + u'\n').toUtf8();
    return lines;
}

QString cli() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/yubin-cli");
}

void runCli(benchmark::State& state, const QStringList& args, const QByteArray& input) {
    if (dataFolder().isEmpty()) {
        state.SkipWithError("resources/data not found");
        return;
    }
    for (auto _ : state) {
        QProcess p;
        p.start(cli(),
                QStringList{QStringLiteral("--data"), dataFolder(), QStringLiteral("resolve")} +
                    args);
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
            state.SkipWithError("yubin-cli did not finish");
            return;
        }
        benchmark::DoNotOptimize(p.readAllStandardOutput());
    }
}

void BM_OneAddressWithPrefectureInOneProcess(benchmark::State& state) {
    runCli(state, {QStringLiteral("東京都千代田区霞が関1丁目3番2号　郵便プラザ503室")}, {});
}

void BM_OneAddressWithoutPrefectureInOneProcess(benchmark::State& state) {
    runCli(state, {QStringLiteral("府中市浅間町1-2")}, {});
}

void BM_TenThousandAddressesFromStdin(benchmark::State& state) {
    static const QByteArray input = dataFolder().isEmpty() ? QByteArray() : tenThousandAddresses();
    state.counters["addresses"] = double(input.count('\n'));
    runCli(state, {}, input);
}

void BM_OneAddressOnAWarmResolver(benchmark::State& state) {
    if (dataFolder().isEmpty()) {
        state.SkipWithError("resources/data not found");
        return;
    }
    yubin::address::AddressResolver resolver(yubin::DataFolder::atPath(dataFolder()));
    const QString address = QStringLiteral("北海道札幌市東区北6条東8丁目3-1");
    resolver.resolve(address);
    for (auto _ : state)
        benchmark::DoNotOptimize(resolver.resolve(address));
}

#define WHOLE_PROCESS(name)                                                                        \
    BENCHMARK(name)                                                                                \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime()                                                                            \
        ->Iterations(5)                                                                            \
        ->Repetitions(5)                                                                           \
        ->ReportAggregatesOnly()
WHOLE_PROCESS(BM_OneAddressWithPrefectureInOneProcess);
WHOLE_PROCESS(BM_OneAddressWithoutPrefectureInOneProcess);
WHOLE_PROCESS(BM_TenThousandAddressesFromStdin);
BENCHMARK(BM_OneAddressOnAWarmResolver)->Unit(benchmark::kMicrosecond);

} // namespace
