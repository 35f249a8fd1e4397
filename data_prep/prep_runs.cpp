#include "data_prep/prep_runs.h"

#include "data_prep/archive_extract.h"
#include "data_prep/file_replace.h"
#include "data_prep/file_time.h"
#include "foundation/data_file.h"
#include "foundation/text.h"
#include "foundation/utilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <functional>

namespace yubin {

namespace {

const QString BusinessOfficeBase = QStringLiteral("jigyosyo");
const QString NationwideBase = QStringLiteral("ken_all");
const QString NationwideCsv = QStringLiteral("KEN_ALL.CSV");
// The name each run gives the business-office file; either is read.
const QString OfficesCsvPrefectureRun = QStringLiteral("jigyosyo.CSV");
const QString OfficesCsvNationwideRun = QStringLiteral("JIGYOSYO.CSV");

struct RunFailure {
    QString description;
};

void check(const QString& error) {
    if (!error.isEmpty())
        throw RunFailure{error};
}

// One archive in the work folders: its copy and what it extracted are
// removed when the step is over, whether it succeeded or not.
class ArchiveStep {
public:
    ArchiveStep(const WorkFolders& work, const QString& copyName)
        : work(work), copy(work.tofukenLzh + copyName) {}
    // Copies the archive into the work folder and extracts it there; the
    // host, when given, handles its events on the way.
    void extract(const QString& source, RunHost* host = nullptr) {
        check(copyWorkFile(source, copy));
        std::function<void()> onBlock;
        if (host)
            onBlock = [host] { host->shouldStop(); }; // no abort while extracting
        extracted = extractArchiveFlat(copy, work.tofuken, MaxArchiveEntryBytes, onBlock);
        if (!extracted.ok)
            throw RunFailure{extracted.error};
    }
    ~ArchiveStep() {
        QFile::remove(copy);
        for (const QString& name : extracted.placed)
            if (!kept.contains(name))
                QFile::remove(work.tofuken + name);
    }
    ArchiveStep(const ArchiveStep&) = delete;
    ArchiveStep& operator=(const ArchiveStep&) = delete;

    // The extracted file of that name in any case, as a path; "" when the
    // archive held none.
    QString find(const QString& name) const {
        const QString found = findNameNoCase(extracted.placed, name);
        return found.isEmpty() ? QString() : work.tofuken + found;
    }
    void keep(const QString& path) { kept << QFileInfo(path).fileName(); }
    void removeCopy() { QFile::remove(copy); }

private:
    const WorkFolders& work;
    QString copy;
    ExtractResult extracted;
    QStringList kept;
};

RunOutcome inProgress() {
    RunOutcome outcome;
    outcome.status = RunOutcome::Status::Failed;
    outcome.error = runInProgressError();
    return outcome;
}

QString copyNameFor(const QString& base, const QString& archivePath) {
    return base.toUpper() + u'.' + QFileInfo(archivePath).suffix().toUpper();
}

bool existingFile(QString path) {
    return !path.isEmpty() && FileExists(path);
}

// Places the business-office file when its archive is there. True when it
// was placed. The per-prefecture run reports its progress and fails on an
// archive without the file; the nationwide run does neither.
bool placeOffices(const PrepFolders& folders, const QString& download, const QString& dataName,
                  RunHost* host) {
    const QString source = findNamedArchive(download, BusinessOfficeBase);
    if (!existingFile(source))
        return false;
    ArchiveStep step(folders.work, copyNameFor(BusinessOfficeBase, source));
    step.extract(source, host);
    if (host) {
        host->shouldStop();
        host->progress(OfficesDoneCaption, -1);
        host->pause(0.08);
    }
    const QString extracted = step.find(dataName);
    if (extracted.isEmpty()) {
        if (host)
            throw RunFailure{fileMissingError(dataName)};
        return false;
    }
    check(copyFileReplacing(extracted, folders.data + placementName(folders.data, dataName)));
    return true;
}

} // namespace

QString completionCountText(int placed, int offices) {
    if (placed >= 1 && offices >= 1)
        return QStringLiteral("%1＋%2 件").arg(placed).arg(offices);
    return QStringLiteral("%1 件").arg(placed >= 1 ? placed : offices);
}

QString completionText(int placed, int offices) {
    return QStringLiteral("郵便番号ﾃﾞｰﾀ解凍完了数 ： ") + completionCountText(placed, offices) +
           QStringLiteral("    \n\n郵便番号ﾃﾞｰﾀの解凍が完了しました。     ");
}

bool placedAnything(const RunOutcome& outcome) {
    return outcome.placed > 0 || outcome.offices > 0;
}

QList<FinalMessage> finalMessages(RunKind kind, const RunOutcome& outcome) {
    using Status = RunOutcome::Status;
    QList<FinalMessage> messages;
    if (outcome.status == Status::Completed && !placedAnything(outcome))
        messages.append({false, ArchiveTitle, NothingPlacedText});
    else if (outcome.status == Status::Completed ||
             (outcome.status == Status::Failed && placedAnything(outcome)))
        messages.append({false, kind == RunKind::Prefectures ? PrefecturesTitle : NationwideTitle,
                         completionText(outcome.placed, outcome.offices)});
    if (outcome.status == Status::Failed)
        messages.append({true, ArchiveTitle, ErrorPrefix + outcome.error});
    return messages;
}

bool usableDownloadFolder(const QString& caption) {
    return text::trimBlanks(caption).size() > 2;
}

namespace {

QString firstByCode(const QString& folder, const QString& code, QLatin1StringView extension) {
    for (const QString& name : regularFileNames(folder))
        if (name.endsWith(extension, Qt::CaseInsensitive) && name.size() >= 2 &&
            QStringView(name).left(2) == code)
            return name;
    return QString();
}

QString firstNamed(const QString& folder, const QString& name) {
    const QString entry = findNameNoCase(regularFileNames(folder), name);
    return entry.isEmpty() ? QString() : QDir(folder).filePath(entry);
}

} // namespace

QString FindArchiveByCode(const QString& folder, const QString& code) {
    const QString lzh = firstByCode(folder, code, QLatin1StringView(".lzh"));
    return lzh.isEmpty() ? firstByCode(folder, code, QLatin1StringView(".zip")) : lzh;
}

QString findNamedArchive(const QString& folder, const QString& base) {
    const QString lzh = firstNamed(folder, base + QStringLiteral(".lzh"));
    return lzh.isEmpty() ? firstNamed(folder, base + QStringLiteral(".zip")) : lzh;
}

QString archiveKindText(const QStringList& archiveNames) {
    auto any = [&](QLatin1StringView suffix) {
        return std::any_of(archiveNames.begin(), archiveNames.end(), [&](const QString& name) {
            return name.endsWith(suffix, Qt::CaseInsensitive);
        });
    };
    const bool zip = any(QLatin1StringView(".zip"));
    if (zip && any(QLatin1StringView(".lzh")))
        return QStringLiteral("LZH・ZIP");
    return zip ? QStringLiteral("ZIP") : QStringLiteral("LZH");
}

QString askPrefecturesText(const QString& archiveKind) {
    return QStringLiteral("郵便番号(都道府県別)%1ﾌｧｲﾙを解凍しますか？     ").arg(archiveKind);
}

QString askNationwideText(const QString& archiveKind) {
    return QStringLiteral("郵便番号(全国一括)%1ﾌｧｲﾙを解凍しますか？     ").arg(archiveKind);
}

RunOutcome runPrefectures(const PrepFolders& folders, const QStringList& names, RunHost& host,
                          MessageBoxes& messages) {
    RunOutcome outcome;
    const QString download = text::trimmed(folders.download);
    if (!usableDownloadFolder(download))
        return outcome;
    const WorkLock lock(folders.work);
    if (!lock.held())
        return inProgress();
    QStringList found;
    for (int i = 1; i <= PrefectureCount; ++i)
        found << text::trimmed(FindArchiveByCode(download, prefectureCode(i)));
    found.removeAll(QString());
    if (!messages.show(MessageIcon::Question, PrefecturesTitle,
                       askPrefecturesText(archiveKindText(found)), MessageButtons::OkCancel)) {
        outcome.status = RunOutcome::Status::Cancelled;
        return outcome;
    }
    host.started(RunKind::Prefectures);
    host.progress(QString(), -1);
    folders.work.create();
    QDir().mkpath(folders.data);
    try {
        for (int i = 1; i <= PrefectureCount; ++i) {
            const QString archive = text::trimmed(FindArchiveByCode(download, prefectureCode(i)));
            if (archive.isEmpty())
                continue;
            const QString source = QDir(download).filePath(archive);
            if (!existingFile(source))
                continue;
            ArchiveStep step(folders.work, archive);
            step.extract(source, &host);
            host.shouldStop();
            host.progress(names.value(i), -1);
            host.pause(0.09);
            // 13tokyo.lzh holds 13tokyo.CSV.
            const QString csvName = archive.chopped(3) + QStringLiteral("CSV");
            const QString extracted = step.find(csvName);
            if (extracted.isEmpty())
                throw RunFailure{fileMissingError(csvName)};
            check(
                copyFileReplacing(extracted, folders.data + placementName(folders.data, csvName)));
            ++outcome.placed;
        }
        if (placeOffices(folders, download, OfficesCsvPrefectureRun, &host))
            outcome.offices = 1;
        outcome.status = RunOutcome::Status::Completed;
    } catch (const RunFailure& failure) {
        outcome.status = RunOutcome::Status::Failed;
        outcome.error = failure.description;
    }
    return outcome;
}

RunOutcome runNationwide(const PrepFolders& folders, const QStringList& names, RunHost& host,
                         MessageBoxes& messages, Clock& clock) {
    RunOutcome outcome;
    const QString download = text::trimmed(folders.download);
    if (!usableDownloadFolder(download))
        return outcome;
    const WorkLock lock(folders.work);
    if (!lock.held())
        return inProgress();
    try {
        folders.work.create();
        QDir().mkpath(folders.data);
        const QString archive = findNamedArchive(download, NationwideBase);
        if (!existingFile(archive)) {
            messages.show(MessageIcon::Exclamation, ArchiveTitle, NoNationwideArchiveText,
                          MessageButtons::Ok);
        } else {
            if (!messages.show(MessageIcon::Question, NationwideTitle,
                               askNationwideText(archiveKindText({archive})),
                               MessageButtons::OkCancel)) {
                outcome.status = RunOutcome::Status::Cancelled;
                return outcome;
            }
            for (const Prefecture& p : prefectureTable())
                QFile::remove(folders.work.tofuken + QString::fromLatin1(p.splitFile));
            host.started(RunKind::Nationwide);

            ArchiveStep step(folders.work, copyNameFor(NationwideBase, archive));
            step.extract(archive, &host);
            host.shouldStop();
            host.progress(ExtractingCaption, -1);
            host.pause(0.15);
            step.removeCopy();
            const QString csv = step.find(NationwideCsv);
            if (csv.isEmpty()) {
                messages.show(MessageIcon::Question, ArchiveTitle, NoNationwideCsvText,
                              MessageButtons::OkCancel); // the answer changes nothing
                outcome.status = RunOutcome::Status::CsvMissing;
                return outcome;
            }
            // After an abort the extracted file stays for a look; the next
            // run extracts it anew.
            step.keep(csv);

            const QStringList DataDateParts = dataDateParts(QFileInfo(csv).lastModified());
            // All of it or nothing: a part would place cut prefecture files.
            const std::optional<QByteArray> bytes = readWholeFile(csv);
            if (!bytes)
                throw RunFailure{fileMissingError(NationwideCsv)};
            const SplitResult split = splitNationwide(*bytes, names, host, clock);
            outcome.unroutedLines = split.unrouted;
            if (split.aborted) {
                outcome.status = RunOutcome::Status::Aborted;
                return outcome;
            }
            host.writing();
            host.progress(CopyingCaption, split.linesRead);

            // All files are written first and then renamed into place as a
            // group (StagedFiles), so a failure leaves every prefecture file
            // as it was; a kill during the renames leaves each file whole.
            StagedFiles staged;
            const auto stamp = [&DataDateParts](QFileDevice& file) {
                SetFileWriteTime(file, DataDateParts);
            };
            for (int j = 1; j <= PrefectureCount; ++j) {
                if (split.lines[j] <= PlacementThresholdLines)
                    continue;
                const QString name = QString::fromLatin1(prefectureTable()[j - 1].splitFile);
                check(staged.add(folders.data + placementName(folders.data, name), split.bytes[j],
                                 stamp));
                host.shouldStop(); // repaint between files; no abort while writing
            }
            const int placed = int(staged.size());
            check(staged.commit());
            outcome.placed = placed;
            QFile::remove(csv);
        }
        if (placeOffices(folders, download, OfficesCsvNationwideRun, nullptr))
            outcome.offices = 1;
        outcome.status = RunOutcome::Status::Completed;
    } catch (const RunFailure& failure) {
        outcome.status = RunOutcome::Status::Failed;
        outcome.error = failure.description;
    }
    return outcome;
}

bool StreamMessages::show(MessageIcon icon, const QString&, const QString& text, MessageButtons) {
    if (icon != MessageIcon::Question || withQuestions) {
        stream << text << '\n';
        stream.flush();
    }
    return true;
}

} // namespace yubin
