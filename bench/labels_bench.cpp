// Address labels, whole process: yubin-cli labels turns a list of 10,000
// addresses taken from the bundled nationwide data into a PDF of 12-label
// A4 sheets (834 of them) and the report beside it.

#include "bench_data.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_TenThousandLabelsToPdfAndReport(benchmark::State& state) {
    const QString& data = yubin::bench::nationwideDataFolder();
    if (data.isEmpty()) {
        state.SkipWithError("resources/data not found");
        return;
    }
    // As a spreadsheet exports it: a heading row, the code with its hyphen,
    // the address, a name.
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("list.csv"));
    QByteArray csv = QStringLiteral("郵便番号,住所,氏名\r\n").toUtf8();
    int n = 0;
    for (const yubin::bench::SampleAddress& a : yubin::bench::sampleAddresses(10000))
        csv += QStringLiteral("%1-%2,%3,宛名 %4\r\n")
                   .arg(a.postalCode.left(3), a.postalCode.mid(3), a.address)
                   .arg(++n)
                   .toUtf8();
    QFile out(list);
    if (!out.open(QIODevice::WriteOnly) || out.write(csv) != csv.size()) {
        state.SkipWithError("cannot write the address list");
        return;
    }
    out.close();
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/yubin-cli");
    QString counts;
    for (auto _ : state) {
        QProcess p;
        p.start(cli, {QStringLiteral("--data"), data, QStringLiteral("labels"), list,
                      QStringLiteral("--pdf"), pdf, QStringLiteral("--report"),
                      dir.filePath(QStringLiteral("report.csv"))});
        // Exit 1 only says some rows need the user's eye.
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() > 1) {
            state.SkipWithError("yubin-cli labels did not finish");
            return;
        }
        counts = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    state.counters["rows"] = n;
    state.counters["pdf_MB"] = double(QFileInfo(pdf).size()) / 1e6;
    state.SetLabel(counts.toStdString());
}

BENCHMARK(BM_TenThousandLabelsToPdfAndReport)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
