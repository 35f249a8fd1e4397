// The monthly update and the UTF-8 nationwide file at nationwide size.
// UpdateTwelveMonths applies twelve months of difference files (a few
// hundred deleted and added records each, as the published months hold) to
// the nationwide data laid out from the bundled archives, from the
// confirmed question to the placed files. NationwideRunForm runs the
// nationwide run on the bundled ken_all.zip and on a UTF-8 form of the same
// data (utf_ken_all.zip, made here: readings in full-width katakana, one
// record a line), so that the two can be set side by side.

#include "bench_data.h"
#include "data_prep/archive_extract.h"
#include "data_prep/change_log.h"
#include "data_prep/monthly_update.h"
#include "data_prep/prep_runs.h"
#include "data_prep/record_lines.h"
#include "foundation/data_file.h"
#include "foundation/prefectures.h"
#include "foundation/text.h"
#include "foundation/utilities.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>
#include <benchmark/benchmark.h>

namespace {

using namespace yubin;

class QuietHost final : public RunHost {
public:
    void progress(const QString&, qint64) override {}
    bool shouldStop() override { return false; }
};

class YesBoxes final : public MessageBoxes {
public:
    bool show(MessageIcon, const QString&, const QString&, MessageButtons) override { return true; }
};

// A ZIP archive of one file, deflated, as the postal service writes them.
bool writeZip(const QString& path, const QByteArray& entryName, const QByteArray& data,
              const QDateTime& modified) {
    struct archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    bool ok = archive_write_open_filename(a, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    if (ok) {
        struct archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, entryName.constData());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_size(e, data.size());
        archive_entry_set_mtime(e, modified.toSecsSinceEpoch(), 0);
        ok = archive_write_header(a, e) == ARCHIVE_OK &&
             archive_write_data(a, data.constData(), size_t(data.size())) == data.size();
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
    return ok;
}

QByteArray bundledKenAll() {
    QTemporaryDir root;
    const ExtractResult r =
        extractArchiveFlat(bench::archiveFolder() + QStringLiteral("ken_all.zip"), root.path());
    if (!r.ok)
        return {};
    return readFileBytes(root.path() + u'/' + r.placed.value(0)).value_or(QByteArray());
}

// KEN_ALL.CSV in the form of utf_ken_all.csv: UTF-8, readings in full-width
// katakana.
QByteArray utf8Form(const QByteArray& kenAll) {
    QByteArray out;
    out.reserve(kenAll.size() * 3 / 2);
    forEachLine(QByteArrayView(kenAll), [&](QByteArrayView line) {
        const ColumnRanges r = columnRanges(line);
        if (r.size() < 6)
            return;
        const qsizetype from = r[3].from;
        const qsizetype to = r[5].to;
        out += text::decodeCp932(line.first(from)).toUtf8();
        out += text::toFullWidth(text::decodeCp932(line.sliced(from, to - from))).toUtf8();
        out += text::decodeCp932(line.sliced(to)).toUtf8();
        out += "\r\n";
    });
    return out;
}

const QDateTime Published(QDate(2025, 9, 30), QTime(0, 0));

// args: 0 ken_all.zip / 1 utf_ken_all.zip.
void NationwideRunForm(benchmark::State& state) {
    const bool utf8 = state.range(0) == 1;
    QTemporaryDir root;
    const QString download = root.path() + QStringLiteral("/download/");
    QDir().mkpath(download);
    if (utf8) {
        const QByteArray kenAll = bundledKenAll();
        if (kenAll.isEmpty() || !writeZip(download + QStringLiteral("utf_ken_all.zip"),
                                          "utf_ken_all.csv", utf8Form(kenAll), Published)) {
            state.SkipWithError("no utf_ken_all.zip could be made from the bundled ken_all.zip");
            return;
        }
    } else {
        QFile::copy(bench::archiveFolder() + QStringLiteral("ken_all.zip"),
                    download + QStringLiteral("ken_all.zip"));
    }
    const PrepFolders folders{download, root.path() + QStringLiteral("/DATA/"),
                              WorkFolders::under(root.path() + QStringLiteral("/cache"))};
    const QStringList names = makePrefectureNames();
    YesBoxes yes;
    SteadyClock clock;
    for (auto _ : state) {
        QuietHost host;
        const RunOutcome outcome = runNationwide(folders, names, host, yes, clock);
        if (outcome.status != RunOutcome::Status::Completed || outcome.placed != PrefectureCount) {
            state.SkipWithError(("nationwide run: " + outcome.error).toStdString().c_str());
            break;
        }
    }
}
BENCHMARK(NationwideRunForm)
    ->ArgName("utf8")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Twelve months from 2510 on: month k abolishes the records whose line
// number is k modulo 400 (about 310 of them) and adds each back with its
// town renamed, as a changed town is published.
bool writeTwelveMonths(const QString& dataFolder, const QString& download) {
    QByteArray all;
    for (const QString& name : DataFolder::atPath(dataFolder).prefectureFileNames())
        if (!name.isEmpty())
            all += readFileBytes(dataFolder + name).value_or(QByteArray());
    QList<QByteArray> lines;
    forEachLine(QByteArrayView(all), [&](QByteArrayView l) { lines << l.toByteArray(); });
    if (lines.size() < 100000)
        return false;
    const QByteArray renamed = text::encodeCp932(u"新");
    int month = 202510;
    for (int k = 0; k < 12; ++k, month = nextMonth(month)) {
        QByteArray del;
        QByteArray add;
        for (qsizetype i = k; i < lines.size(); i += 400) {
            const QByteArray& line = lines[i];
            del += line + "\r\n";
            const ColumnRanges r = columnRanges(line);
            QByteArray changed = line;
            changed.insert(r[8].to, renamed);
            add += changed + "\r\n";
        }
        const QDateTime date(QDate(month / 100, month % 100, 1).addMonths(1).addDays(-1),
                             QTime(0, 0));
        const QString yymm = yymmText(month);
        if (!writeZip(download + QStringLiteral("del_%1.zip").arg(yymm),
                      "DEL_" + yymm.toLatin1() + ".CSV", del, date) ||
            !writeZip(download + QStringLiteral("add_%1.zip").arg(yymm),
                      "ADD_" + yymm.toLatin1() + ".CSV", add, date))
            return false;
    }
    return true;
}

void copyFolder(const QString& from, const QString& to) {
    QDir(to).removeRecursively();
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        QFile::copy(from + name, to + name);
}

void UpdateTwelveMonths(benchmark::State& state) {
    if (bench::nationwideDataFolder().isEmpty()) {
        state.SkipWithError("no nationwide data folder");
        return;
    }
    // Paths ending in "/".
    const QString nationwide = DataFolder::atPath(bench::nationwideDataFolder()).path();
    QTemporaryDir root;
    const QString download = root.path() + QStringLiteral("/download/");
    const QString data = root.path() + QStringLiteral("/DATA/");
    QDir().mkpath(download);
    if (!writeTwelveMonths(nationwide, download)) {
        state.SkipWithError("the difference files could not be written");
        return;
    }
    const PrepFolders folders{download, data,
                              WorkFolders::under(root.path() + QStringLiteral("/cache"))};
    const QStringList names = makePrefectureNames();
    YesBoxes yes;
    int changes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        copyFolder(nationwide, data);
        QFile month(data + DataMonthFileName);
        month.open(QIODevice::WriteOnly);
        month.write("2509\r\n");
        month.close();
        state.ResumeTiming();
        QuietHost host;
        const UpdateOutcome outcome = runUpdate(folders, names, host, yes);
        if (outcome.status != UpdateOutcome::Status::Completed || outcome.applied.size() != 12) {
            state.SkipWithError(
                ("update: " + outcome.error + outcome.message).toStdString().c_str());
            break;
        }
        state.PauseTiming();
        changes = int(readChangeLog(DataFolder::atPath(data)).size());
        state.ResumeTiming();
    }
    state.counters["changes"] = changes;
}
BENCHMARK(UpdateTwelveMonths)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
