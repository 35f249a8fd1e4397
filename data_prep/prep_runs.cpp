#include "data_prep/prep_runs.h"

#include "data_prep/archive_extract.h"
#include "data_prep/archive_step.h"
#include "data_prep/file_time.h"
#include "data_prep/monthly_update.h"
#include "data_prep/prep_errors.h"
#include "data_prep/record_lines.h"
#include "foundation/data_file.h"
#include "foundation/text.h"
#include "foundation/utilities.h"
#include "foundation/whole_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <functional>

namespace yubin {

using namespace Qt::StringLiterals;

namespace {

const QString BusinessOfficeBase = QStringLiteral("jigyosyo");
const QString NationwideBase = QStringLiteral("ken_all");
const QString NationwideCsv = QStringLiteral("KEN_ALL.CSV");
const QString Utf8NationwideBase = QStringLiteral("utf_ken_all");
const QString Utf8NationwideCsv = QStringLiteral("utf_ken_all.csv");
// The name each run gives the business-office file; either is read.
const QString OfficesCsvPrefectureRun = QStringLiteral("jigyosyo.CSV");
const QString OfficesCsvNationwideRun = QStringLiteral("JIGYOSYO.CSV");

bool existingFile(QString path) {
    return !path.isEmpty() && FileExists(path);
}

// Places a prefecture file from an archive with its split records joined
// (SplitRecordJoiner), keeping the time the archive gave it.
void placeJoined(const QString& extracted, const QString& target) {
    const std::optional<QByteArray> bytes = readWholeFile(extracted);
    if (!bytes)
        throw RunFailure{fileMissingError(QFileInfo(extracted).fileName())};
    const QDateTime modified = QFileInfo(extracted).lastModified();
    StagedFiles one;
    check(one.add(target, joinSplitRecords(*bytes), [&modified](QFileDevice& file) {
        file.setFileTime(modified, QFileDevice::FileModificationTime);
    }));
    check(one.commit());
}

// The nationwide archive to take: ken_all or utf_ken_all, the newer data
// when the folder holds both (the UTF-8 one on the same date), with the
// choice said in `note`.
struct NationwideChoice {
    QString archive;
    bool utf8 = false;
    QString note;
};

NationwideChoice chooseNationwide(const QString& download) {
    const QString classic = findNamedArchive(download, NationwideBase);
    const QString utf = findNamedArchive(download, Utf8NationwideBase);
    const bool haveClassic = existingFile(classic);
    const bool haveUtf = existingFile(utf);
    if (!haveClassic || !haveUtf)
        return {haveUtf ? utf : classic, haveUtf, {}};
    const QDateTime classicDate = newestEntryTime(classic);
    const QDateTime utfDate = newestEntryTime(utf);
    const bool takeUtf = !classicDate.isValid() || (utfDate.isValid() && utfDate >= classicDate);
    const auto named = [](const QString& path, const QDateTime& date) {
        return QFileInfo(path).fileName() + QStringLiteral("（") +
               (date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd"))
                               : QStringLiteral("日付不明")) +
               QStringLiteral("）");
    };
    const QString taken = takeUtf ? named(utf, utfDate) : named(classic, classicDate);
    const QString left = takeUtf ? named(classic, classicDate) : named(utf, utfDate);
    return {
        takeUtf ? utf : classic, takeUtf,
        QStringLiteral("全国一括のﾌｧｲﾙが2つあるため、新しい %1を使いました（%2は使っていません）。")
            .arg(taken, left)};
}

RunOutcome inProgress() {
    RunOutcome outcome;
    outcome.status = RunOutcome::Status::Failed;
    outcome.error = runInProgressError();
    return outcome;
}

QString copyNameFor(const QString& base, const QString& archivePath) {
    return base.toUpper() + u'.' + QFileInfo(archivePath).suffix().toUpper();
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
        messages.append(
            {false, kind == RunKind::Prefectures ? PrefecturesTitle : NationwideTitle,
             completionText(outcome.placed, outcome.offices) +
                 (outcome.notes.isEmpty() ? QString() : u"\n\n"_s + outcome.notes.join(u'\n'))});
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
            placeJoined(extracted, folders.data + placementName(folders.data, csvName));
            ++outcome.placed;
        }
        // Files of each prefecture's own date: the month is taken from them.
        if (outcome.placed > 0)
            QFile::remove(folders.data + DataMonthFileName);
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
        const NationwideChoice choice = chooseNationwide(download);
        const QString& archive = choice.archive;
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

            if (!choice.note.isEmpty())
                outcome.notes << choice.note;
            ArchiveStep step(
                folders.work,
                copyNameFor(choice.utf8 ? Utf8NationwideBase : NationwideBase, archive));
            step.extract(archive, &host);
            host.shouldStop();
            host.progress(ExtractingCaption, -1);
            host.pause(0.15);
            step.removeCopy();
            const QString csv = step.find(choice.utf8 ? Utf8NationwideCsv : NationwideCsv);
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
            std::optional<QByteArray> bytes = readWholeFile(csv);
            if (!bytes)
                throw RunFailure{fileMissingError(QFileInfo(csv).fileName())};
            if (choice.utf8) {
                // One record a line already; only its form differs.
                Utf8Conversion converted = convertUtf8AddressFile(*bytes);
                *bytes = std::move(converted.bytes);
                for (const UnencodableRecord& r : converted.unencodable)
                    outcome.notes
                        << QStringLiteral("Shift_JIS にない文字を〓にしました： %1").arg(r.text);
            }
            const SplitResult split = splitNationwide(*bytes, names, host, clock, !choice.utf8);
            if (split.joined > 0)
                outcome.notes << QStringLiteral(
                                     "複数行に分割された町域 %1 行を、1件の行にまとめました。")
                                     .arg(split.joined);
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
            // The files carry the data's date, which now gives its month; a
            // month an earlier update wrote down no longer holds.
            if (placed > 0)
                QFile::remove(folders.data + DataMonthFileName);
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
