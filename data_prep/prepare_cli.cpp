#include "data_prep/prepare_cli.h"

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

} // namespace

int runPrepareVerb(const CliRequest& request) {
    const QString& which = request.positional[0];
    if (which != QLatin1String("prefectures") && which != QLatin1String("nationwide"))
        return usageError(
            request, QT_TRANSLATE_NOOP("yubin-cli", "prepare prefectures or prepare nationwide"));
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
