#include "data_prep/prepare_cli.h"

#include "data_prep/change_log.h"
#include "data_prep/monthly_update.h"
#include "data_prep/prep_runs.h"
#include "foundation/prefectures.h"
#include "foundation/text.h"
#include "foundation/utilities.h"

#include <QDir>
#include <QFileInfo>

namespace yubin {

namespace {

// Progress as lines on stderr: the caption, and the lines read so far where
// the run counts them.
class CliHost final : public RunHost {
public:
    explicit CliHost(QTextStream& err) : err(err) {}
    void progress(const QString& caption, qint64 lines) override {
        const QString shown = text::trimmed(caption);
        if (shown.isEmpty())
            return;
        err << shown;
        if (lines >= 0)
            err << ' ' << lines << QStringLiteral(" 行");
        err << '\n';
        err.flush();
    }
    bool shouldStop() override { return false; }

private:
    QTextStream& err;
};

// The update's report on stdout; a refusal or a failure on stderr.
int finishUpdate(const CliRequest& request, const UpdateOutcome& outcome,
                 const PrepFolders& folders) {
    using Status = UpdateOutcome::Status;
    folders.work.removeEmpty();
    QTextStream& out = *request.out;
    QTextStream& err = *request.err;
    switch (outcome.status) {
    case Status::NoFolder:
        return usageError(request, QStringLiteral("no download folder: %1").arg(folders.download));
    case Status::Refused:
        err << text::trimmed(outcome.message) << '\n';
        return ExitCode::NothingFound;
    case Status::Cancelled:
        return ExitCode::NothingFound;
    case Status::Failed:
        err << ErrorPrefix << outcome.error << '\n';
        return ExitCode::NothingFound;
    case Status::Completed:
        break;
    }
    out << outcome.report;
    return ExitCode::Ok;
}

} // namespace

int runChangesVerb(const CliRequest& request) {
    int since = 0;
    if (request.values.contains(QStringLiteral("since"))) {
        since = monthFromYymm(request.value(QStringLiteral("since")));
        if (since == 0)
            return usageError(request, QStringLiteral("--since takes a month as YYMM (2603)"));
    }
    QStringList lines;
    std::vector<QStringList> rows;
    for (const ChangeEntry& e : readChangeLog(request.data)) {
        if (e.month < since)
            continue;
        lines << changeLine(e);
        rows.push_back(changeFieldValues(e));
    }
    printTable(request, lines, rows);
    return lines.isEmpty() ? ExitCode::NothingFound : ExitCode::Ok;
}

int runPrepareVerb(const CliRequest& request) {
    const QString& which = request.positional[0];
    if (which != QLatin1String("prefectures") && which != QLatin1String("nationwide") &&
        which != QLatin1String("update"))
        return usageError(
            request, QT_TRANSLATE_NOOP("yubin-cli", "prepare prefectures, nationwide or update"));
    const RunKind kind =
        which == QLatin1String("prefectures") ? RunKind::Prefectures : RunKind::Nationwide;
    QString download = QDir(request.positional[1]).absolutePath();
    if (!QFileInfo(download).isDir())
        return usageError(request, QT_TRANSLATE_NOOP("yubin-cli", "not a folder: %1"), {download});
    if (!download.endsWith(u'/'))
        download += u'/';

    PrepFolders folders{download, request.data.path(), WorkFolders::standard()};
    folders.work.create();
    CliHost host(*request.err);
    // Every message the window would show goes to stderr, questions
    // included.
    StreamMessages messages(*request.err, true);
    SteadyClock clock;
    const QStringList names = makePrefectureNames();
    if (which == QLatin1String("update"))
        return finishUpdate(request, runUpdate(folders, names, host, messages), folders);
    const RunOutcome outcome = kind == RunKind::Prefectures
                                   ? runPrefectures(folders, names, host, messages)
                                   : runNationwide(folders, names, host, messages, clock);
    folders.work.removeEmpty();
    if (outcome.status == RunOutcome::Status::NoFolder)
        return usageError(request, QT_TRANSLATE_NOOP("yubin-cli", "no download folder: %1"),
                          {download});

    if (outcome.unroutedLines > 0)
        *request.err << QStringLiteral("都道府県名のない行 %1 行を読み飛ばしました。")
                            .arg(outcome.unroutedLines)
                     << '\n';
    for (const FinalMessage& message : finalMessages(kind, outcome)) {
        QTextStream& stream = *(message.failure ? request.err : request.out);
        stream << message.text << '\n';
        stream.flush();
    }
    const bool completed =
        outcome.status == RunOutcome::Status::Completed && placedAnything(outcome);
    return completed ? ExitCode::Ok : ExitCode::NothingFound;
}

} // namespace yubin
