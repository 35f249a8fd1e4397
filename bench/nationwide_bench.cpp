// The nationwide run on the bundled archives of resources/data (the published
// size: KEN_ALL.CSV about 12 MB), from the confirmed question to the
// completion: the
// copy into the work folder, the extraction, the split with its yields, the
// 47 files written, made durable and renamed into place, and the
// business-office archive.

#include "bench_data.h"
#include "data_prep/archive_extract.h"
#include "data_prep/nationwide_split.h"
#include "data_prep/prep_runs.h"
#include "foundation/data_file.h"
#include "foundation/prefectures.h"
#include "foundation/utilities.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <thread>

namespace {

using namespace yubin;

QString bundled(const char* name) {
    return bench::archiveFolder() + QString::fromLatin1(name);
}
bool bundles(const char* name) {
    return QFileInfo(bundled(name)).isFile();
}

// ZIP, the form the program bundles (missing, its runs fail saying so), and
// LZH when the bundled data holds it too.
void bundledKinds(benchmark::internal::Benchmark* b, bool withOffices) {
    for (const int lzh : {0, 1}) {
        if (lzh && !bundles("ken_all.lzh"))
            continue;
        if (!withOffices) {
            b->Arg(lzh);
        } else {
            b->Args({lzh, 0, 0});
            if (!lzh || bundles("jigyosyo.lzh"))
                b->Args({lzh, 1, 1});
        }
    }
}

// Drives the run as the window does: events at every yield, and the short
// pause after the extraction caption when `withPause`.
class WindowLikeHost final : public RunHost {
public:
    explicit WindowLikeHost(bool withPause) : withPause(withPause) {}
    void progress(const QString&, qint64) override {}
    bool shouldStop() override {
        QCoreApplication::processEvents();
        ++yields;
        return false;
    }
    void pause(double seconds) override {
        if (withPause)
            WaitSeconds(float(seconds), clock);
    }
    int yields = 0;

private:
    bool withPause;
    SteadyClock clock;
};

class YesBoxes final : public MessageBoxes {
public:
    bool show(MessageIcon, const QString&, const QString&, MessageButtons) override { return true; }
};

// args: 0 ZIP / 1 LZH; 0 without / 1 with the business-office archive;
// 0 without / 1 with the window's 0.15 s caption pause.
void NationwideRun(benchmark::State& state) {
    const bool lzh = state.range(0) == 1;
    const bool offices = state.range(1) == 1;
    const bool withPause = state.range(2) == 1;
    QTemporaryDir root;
    const QString download = root.path() + QStringLiteral("/download/");
    QDir().mkpath(download);
    QFile::copy(bundled(lzh ? "ken_all.lzh" : "ken_all.zip"),
                download + (lzh ? QStringLiteral("ken_all.lzh") : QStringLiteral("ken_all.zip")));
    if (offices)
        QFile::copy(bundled(lzh ? "jigyosyo.lzh" : "jigyosyo.zip"),
                    download +
                        (lzh ? QStringLiteral("jigyosyo.lzh") : QStringLiteral("jigyosyo.zip")));
    const PrepFolders folders{download, root.path() + QStringLiteral("/DATA/"),
                              WorkFolders::under(root.path() + QStringLiteral("/cache"))};
    const QStringList names = makePrefectureNames();
    YesBoxes yes;
    SteadyClock clock;
    int placed = 0;
    int yields = 0;
    for (auto _ : state) {
        WindowLikeHost host(withPause);
        const RunOutcome outcome = runNationwide(folders, names, host, yes, clock);
        if (outcome.status != RunOutcome::Status::Completed || outcome.placed < 1) {
            const QString why = outcome.error.isEmpty()
                                    ? QStringLiteral("no prefecture file placed")
                                    : outcome.error;
            state.SkipWithError(("nationwide run from " + bench::archiveFolder() + ": " + why)
                                    .toStdString()
                                    .c_str());
            break;
        }
        placed = outcome.placed + outcome.offices;
        yields = host.yields;
    }
    state.counters["files"] = placed;
    state.counters["yields"] = yields;
}
BENCHMARK(NationwideRun)
    ->ArgNames({"lzh", "offices", "pause"})
    ->Apply([](benchmark::internal::Benchmark* b) { bundledKinds(b, true); })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The parts on their own: extraction, and the split of the extracted bytes.
void ExtractKenAll(benchmark::State& state) {
    const bool lzh = state.range(0) == 1;
    QTemporaryDir root;
    const QString archive = bundled(lzh ? "ken_all.lzh" : "ken_all.zip");
    for (auto _ : state) {
        const ExtractResult r = extractArchiveFlat(archive, root.path());
        if (!r.ok) {
            state.SkipWithError(("extraction failed: " + r.error).toStdString().c_str());
            break;
        }
    }
}
BENCHMARK(ExtractKenAll)
    ->ArgName("lzh")
    ->Apply([](benchmark::internal::Benchmark* b) { bundledKinds(b, false); })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void SplitKenAll(benchmark::State& state) {
    QTemporaryDir root;
    const ExtractResult r = extractArchiveFlat(bundled("ken_all.zip"), root.path());
    const std::optional<QByteArray> bytes =
        r.ok ? readFileBytes(root.path() + u'/' + r.placed.value(0)) : std::nullopt;
    if (!bytes) {
        state.SkipWithError("no KEN_ALL.CSV in the bundled ken_all.zip");
        return;
    }
    const QStringList names = makePrefectureNames();
    SteadyClock clock;
    for (auto _ : state) {
        WindowLikeHost host(false);
        const SplitResult split = splitNationwide(*bytes, names, host, clock);
        benchmark::DoNotOptimize(split.lines[13]);
    }
    state.SetBytesProcessed(state.iterations() * bytes->size());
}
BENCHMARK(SplitKenAll)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
