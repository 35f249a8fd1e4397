// From process start to the main window shown, with the bundled nationwide
// data in the data folder.

#include "bench_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_StartUpToMainWindowShown(benchmark::State& state) {
    QTemporaryDir program;
    const QString probe = program.path() + QStringLiteral("/yubin");
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/bench_startup_probe"),
                probe);
    QFile::setPermissions(probe, QFile::ReadOwner | QFile::ExeOwner);
    QString why;
    if (!yubin::bench::writeNationwideDataFolder(program.path() + QStringLiteral("/DATA"), &why)) {
        state.SkipWithError(why.toStdString().c_str());
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        env.insert(QLatin1String(v), program.path() + u'/' + QLatin1String(v));
    if (!env.contains(QStringLiteral("DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (auto _ : state) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(probe, {});
        if (!p.waitForFinished(30000) || p.exitCode() != 0) {
            state.SkipWithError("the program did not start");
            return;
        }
    }
}
BENCHMARK(BM_StartUpToMainWindowShown)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
