// The most frequent action: a click on a prefecture, from reading its file to
// a filled municipality (or office) list, through the real main window.

#include "bench_data.h"
#include "foundation/gui/desktop_platform.h"
#include "foundation/gui/window_owner.h"
#include "main_window/gui/yubin_main.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace yubin;

struct Session {
    QTemporaryDir program;
    DesktopPlatform desktop;
    SharedValues shared;
    std::unique_ptr<WindowOwner> owner;

    Session() {
        QDir().mkpath(program.path() + QStringLiteral("/DATA"));
        write(QStringLiteral("01hokkai.CSV"), bench::prefectureFile(1, 8200, 190));
        write(QStringLiteral("JIGYOSYO.CSV"), bench::businessOfficeFile(22400));
        qputenv("XDG_CACHE_HOME", (program.path() + QStringLiteral("/cache")).toLocal8Bit());
        owner = std::make_unique<WindowOwner>(desktop.platform(program.path()), shared);
        owner->main().load(program.path() + QStringLiteral("/lock"));
        owner->main().show();
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(program.path() + QStringLiteral("/DATA/") + name);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    void choose(int row) {
        Yubin_Main& w = owner->main();
        w.List1->setCurrentRow(row);
        emit w.List1->chosen();
    }
};

void BM_PrefectureClick(benchmark::State& state) {
    Session s;
    for (auto _ : state) {
        s.choose(0);
        benchmark::DoNotOptimize(s.owner->main().List2->count());
    }
    state.counters["lines"] = double(s.owner->main().RecordCount());
}
BENCHMARK(BM_PrefectureClick)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_BusinessOfficeClick(benchmark::State& state) {
    Session s;
    s.owner->main().Option1[1]->click();
    for (auto _ : state) {
        s.choose(12); // 東京都
        benchmark::DoNotOptimize(s.owner->main().List2->count());
    }
    state.counters["offices"] = double(s.owner->main().List2->count());
}
BENCHMARK(BM_BusinessOfficeClick)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
