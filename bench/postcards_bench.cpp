// Postcards, whole process: yubin-cli postcards turns a list of 1,000
// addresses taken from the bundled nationwide data into a PDF of 1,000
// postcards written vertically, with a sender, and the report beside it.

#include "bench_data.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_ThousandPostcardsToPdfAndReport(benchmark::State& state) {
    const QString& data = yubin::bench::nationwideDataFolder();
    if (data.isEmpty()) {
        state.SkipWithError("resources/data not found");
        return;
    }
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("list.csv"));
    QByteArray csv = QStringLiteral("郵便番号,住所,氏名,連名\r\n").toUtf8();
    int n = 0;
    for (const yubin::bench::SampleAddress& a : yubin::bench::sampleAddresses(1000))
        csv += QStringLiteral("%1-%2,%3,山田 太郎%4,花子\r\n")
                   .arg(a.postalCode.left(3), a.postalCode.mid(3), a.address)
                   .arg(++n)
                   .toUtf8();
    QFile out(list);
    if (!out.open(QIODevice::WriteOnly) || out.write(csv) != csv.size()) {
        state.SkipWithError("cannot write the address list");
        return;
    }
    out.close();
    const QString pdf = dir.filePath(QStringLiteral("cards.pdf"));
    const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/yubin-cli");
    QString counts;
    for (auto _ : state) {
        QProcess p;
        p.start(cli, {QStringLiteral("--data"), data, QStringLiteral("postcards"), list,
                      QStringLiteral("--sender-name"), QStringLiteral("鈴木 一郎"),
                      QStringLiteral("--sender-code"), QStringLiteral("2100001"),
                      QStringLiteral("--sender-address"), QStringLiteral("川崎市川崎区本町1-2-3"),
                      QStringLiteral("--pdf"), pdf, QStringLiteral("--report"),
                      dir.filePath(QStringLiteral("report.csv"))});
        // Exit 1 only says some rows need the user's eye.
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() > 1) {
            state.SkipWithError("yubin-cli postcards did not finish");
            return;
        }
        counts = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    state.counters["rows"] = n;
    state.counters["pdf_MB"] = double(QFileInfo(pdf).size()) / 1e6;
    state.SetLabel(counts.toStdString());
}

BENCHMARK(BM_ThousandPostcardsToPdfAndReport)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
