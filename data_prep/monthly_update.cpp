#include "data_prep/monthly_update.h"

#include "data_prep/archive_step.h"
#include "data_prep/file_time.h"
#include "foundation/data_file.h"
#include "foundation/postal_record.h"
#include "foundation/text.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace yubin {

// ---- finding the files -------------------------------------------------

namespace {

struct FoundMonth {
    QString add, del, utfAdd, utfDel, officeAdd, officeDel;
};

// A ZIP is taken before an LZH of the same name.
void take(QString& slot, const QString& path) {
    if (slot.isEmpty() || slot.endsWith(QLatin1StringView(".lzh"), Qt::CaseInsensitive))
        slot = path;
}

} // namespace

std::vector<MonthArchives> findDifferenceArchives(const QString& folder) {
    static const QRegularExpression address(
        QStringLiteral("^(utf_)?(add|del)_(\\d{4})\\.(zip|lzh)$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression office(QStringLiteral("^j(add|del)(\\d{4})\\.(zip|lzh)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    std::map<int, FoundMonth> months;
    const QDir dir(folder);
    for (const QString& name : regularFileNames(folder)) {
        const QString path = dir.filePath(name);
        if (const QRegularExpressionMatch m = address.match(name); m.hasMatch()) {
            const int month = monthFromYymm(m.captured(3));
            if (month == 0)
                continue;
            const bool utf = !m.captured(1).isEmpty();
            const bool add =
                m.captured(2).compare(QLatin1StringView("add"), Qt::CaseInsensitive) == 0;
            FoundMonth& f = months[month];
            take(utf ? (add ? f.utfAdd : f.utfDel) : (add ? f.add : f.del), path);
        } else if (const QRegularExpressionMatch j = office.match(name); j.hasMatch()) {
            const int month = monthFromYymm(j.captured(2));
            if (month == 0)
                continue;
            const bool add =
                j.captured(1).compare(QLatin1StringView("add"), Qt::CaseInsensitive) == 0;
            FoundMonth& f = months[month];
            take(add ? f.officeAdd : f.officeDel, path);
        }
    }
    std::vector<MonthArchives> found;
    for (const auto& [month, f] : months) {
        MonthArchives a;
        a.month = month;
        const bool utfWhole = !f.utfAdd.isEmpty() && !f.utfDel.isEmpty();
        const bool classicWhole = !f.add.isEmpty() && !f.del.isEmpty();
        a.utf8 = utfWhole || (!classicWhole && (!f.utfAdd.isEmpty() || !f.utfDel.isEmpty()));
        a.addressAdd = a.utf8 ? f.utfAdd : f.add;
        a.addressDel = a.utf8 ? f.utfDel : f.del;
        a.officeAdd = f.officeAdd;
        a.officeDel = f.officeDel;
        found.push_back(a);
    }
    return found;
}

int readDataMonth(const DataFolder& data) {
    if (const std::optional<QByteArray> bytes = readFileBytes(data.path() + DataMonthFileName)) {
        const int month = monthFromYymm(text::trimmed(QString::fromLatin1(*bytes).trimmed()));
        if (month != 0)
            return month;
    }
    QDateTime newest;
    for (const QString& name : data.prefectureFileNames()) {
        if (name.isEmpty())
            continue;
        const QDateTime t = QFileInfo(data.path() + name).lastModified();
        if (!newest.isValid() || t > newest)
            newest = t;
    }
    return newest.isValid() ? monthOf(newest.date()) : 0;
}

// ---- applying a month --------------------------------------------------

namespace {

QByteArrayView trimAsciiBlanks(QByteArrayView v) {
    while (!v.isEmpty() && v.front() == ' ')
        v = v.sliced(1);
    while (!v.isEmpty() && v.back() == ' ')
        v.chop(1);
    return v;
}

QString decodedColumn(QByteArrayView line, const ColumnRanges& ranges, int n) {
    return text::trimmed(text::decodeCp932(columnBytes(line, ranges, n)));
}

// The columns that name a record's place (see applyMonth).
QStringList placeOf(QByteArrayView line, const ColumnRanges& ranges, bool office) {
    QStringList place;
    const ColumnSpan span = placeColumns(office);
    for (int n = span.first; n <= span.last; ++n)
        place << decodedColumn(line, ranges, n);
    return place;
}

// A postal code column as a number; -1 when it is not digits alone.
int codeNumber(QByteArrayView code) {
    if (code.isEmpty() || code.size() > 9)
        return -1;
    int n = 0;
    for (const char c : code) {
        if (c < '0' || c > '9')
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

} // namespace

std::vector<DataLine> dataLines(QByteArrayView bytes, bool office) {
    std::vector<DataLine> lines;
    lines.reserve(size_t(bytes.size() / 100));
    forEachLine(bytes, [&](QByteArrayView line) {
        if (trimAsciiBlanks(line).isEmpty())
            return;
        const ColumnRanges ranges = columnRanges(line);
        DataLine d;
        d.bytes = line.toByteArray();
        d.code = trimAsciiBlanks(columnBytes(line, ranges, postalCodeColumn(office))).toByteArray();
        d.codeValue = codeNumber(d.code);
        d.localCode = columnBytes(line, ranges, AddressColumn::LocalCode).toInt();
        lines.push_back(std::move(d));
    });
    return lines;
}

QByteArray fileBytes(const std::vector<DataLine>& lines) {
    QByteArray bytes;
    qsizetype size = 0;
    for (const DataLine& l : lines)
        size += l.bytes.size() + 2;
    bytes.reserve(size);
    for (const DataLine& l : lines) {
        bytes += l.bytes;
        bytes += "\r\n";
    }
    return bytes;
}

namespace {

class MonthApplier {
public:
    MonthApplier(UpdateData& data, const QStringList& names, std::vector<ChangeEntry>& log,
                 UpdateTally& tally, int month)
        : data(data), log(log), tally(tally), month(month) {
        for (int i = 1; i <= PrefectureCount && i < names.size(); ++i)
            prefectureOf.insert(names[i], i);
    }

    void apply(QByteArrayView bytes, bool office, ChangeKind kind) {
        forEachLine(bytes, [&](QByteArrayView line) {
            if (!trimAsciiBlanks(line).isEmpty())
                applyLine(line, office, kind);
        });
    }

private:
    void applyLine(QByteArrayView line, bool office, ChangeKind kind) {
        const ColumnRanges ranges = columnRanges(line);
        if (ranges.size() < (office ? OfficeColumn::PostalCode : AddressColumn::Town))
            return; // no record: an end mark or a stray line
        const QByteArray code =
            trimAsciiBlanks(columnBytes(line, ranges, postalCodeColumn(office))).toByteArray();
        int index = 0;
        if (!office) {
            index = prefectureOf.value(decodedColumn(line, ranges, 7));
            if (index == 0) {
                ++tally.withoutPrefecture;
                return;
            }
        }
        ChangeEntry entry{month, kind, office, QString::fromLatin1(code), text::decodeCp932(line)};
        if (!data.present[size_t(index)]) {
            ++tally.withoutFile;
            log.push_back(std::move(entry));
            return;
        }
        std::vector<DataLine>& lines = data.files[size_t(index)];
        const QStringList place = placeOf(line, ranges, office);
        const int value = codeNumber(code);
        auto match = std::find_if(lines.begin(), lines.end(), [&](const DataLine& d) {
            return d.codeValue == value && d.code == code &&
                   placeOf(d.bytes, columnRanges(d.bytes), office) == place;
        });
        KindCounts& counts = tally.counts[size_t(index)];
        if (kind == ChangeKind::Abolished) {
            if (match == lines.end()) {
                ++tally.notFound;
            } else {
                entry.record = text::decodeCp932(match->bytes);
                lines.erase(match);
                data.changed[size_t(index)] = true;
                ++counts.abolished;
            }
        } else if (match != lines.end()) {
            ++tally.alreadyThere;
        } else {
            DataLine added;
            added.bytes = line.toByteArray();
            added.code = code;
            added.codeValue = value;
            added.localCode = columnBytes(line, ranges, AddressColumn::LocalCode).toInt();
            lines.insert(lines.begin() + insertionPoint(lines, added.localCode), std::move(added));
            data.changed[size_t(index)] = true;
            ++counts.added;
        }
        log.push_back(std::move(entry));
    }

    static qsizetype insertionPoint(const std::vector<DataLine>& lines, int localCode) {
        qsizetype after = -1;
        for (qsizetype i = 0; i < qsizetype(lines.size()); ++i)
            if (lines[size_t(i)].localCode == localCode)
                after = i;
        if (after >= 0)
            return after + 1;
        for (qsizetype i = 0; i < qsizetype(lines.size()); ++i)
            if (lines[size_t(i)].localCode > localCode)
                return i;
        return qsizetype(lines.size());
    }

    UpdateData& data;
    std::vector<ChangeEntry>& log;
    UpdateTally& tally;
    int month;
    QHash<QString, int> prefectureOf;
};

} // namespace

void applyMonth(UpdateData& data, const MonthDifferences& month, const QStringList& names,
                std::vector<ChangeEntry>& log, UpdateTally& tally) {
    MonthApplier applier(data, names, log, tally, month.month);
    applier.apply(month.addressDel, false, ChangeKind::Abolished);
    if (month.hasOffices)
        applier.apply(month.officeDel, true, ChangeKind::Abolished);
    applier.apply(month.addressAdd, false, ChangeKind::Added);
    if (month.hasOffices)
        applier.apply(month.officeAdd, true, ChangeKind::Added);
}

// ---- texts -------------------------------------------------------------

QString askUpdateText(int firstMonth, int lastMonth) {
    const QString months = firstMonth == lastMonth
                               ? monthText(firstMonth)
                               : monthText(firstMonth) + u'～' + monthText(lastMonth);
    return QStringLiteral("郵便番号ﾃﾞｰﾀを差分ﾌｧｲﾙ（%1）で更新しますか？     ").arg(months);
}

QString noDataText() {
    return QStringLiteral("更新するデータファイルがありません。\n"
                          "先に「全国一括」で全国のデータを用意してください。     ");
}

QString noDifferencesText() {
    return QStringLiteral("差分ﾌｧｲﾙ（add_YYMM.zip、del_YYMM.zip など）がありません。     ");
}

QString upToDateText(int dataMonth) {
    return QStringLiteral("データは%1のもので、それより新しい差分ﾌｧｲﾙはありません。     ")
        .arg(monthText(dataMonth));
}

QString missingMonthText(int missingMonth, const QStringList& missingFiles, int dataMonth) {
    return QStringLiteral("%1の差分ﾌｧｲﾙ（%2）がありません。\n"
                          "データは%3のもので、月を飛ばして更新することはできません。\n"
                          "%1の差分ﾌｧｲﾙを用意するか、「全国一括」で最新の全国データを"
                          "用意してください。     ")
        .arg(monthText(missingMonth), missingFiles.join(QStringLiteral("、")),
             monthText(dataMonth));
}

QString updateReportText(const std::vector<int>& months, const UpdateTally& tally,
                         const QStringList& names, const QStringList& notes) {
    KindCounts total;
    for (const KindCounts& c : tally.counts) {
        total.added += c.added;
        total.abolished += c.abolished;
    }
    const QString range = months.empty() ? QString()
                          : months.size() == 1
                              ? monthText(months.front())
                              : monthText(months.front()) + u'～' + monthText(months.back());
    QString text = QStringLiteral("郵便番号ﾃﾞｰﾀ更新完了 ： %1\n追加 %2 件、廃止 %3 件\n")
                       .arg(range)
                       .arg(total.added)
                       .arg(total.abolished);
    bool first = true;
    auto line = [&](const QString& name, const KindCounts& c) {
        if (c.added == 0 && c.abolished == 0)
            return;
        if (first)
            text += u'\n';
        first = false;
        text += QStringLiteral("%1 ： 追加 %2 件、廃止 %3 件\n")
                    .arg(name)
                    .arg(c.added)
                    .arg(c.abolished);
    };
    for (int i = 1; i <= PrefectureCount; ++i)
        line(prefectureCode(i) + u' ' + names.value(i), tally.counts[size_t(i)]);
    line(names.value(0, QStringLiteral("事業所")), tally.counts[0]);
    if (!notes.isEmpty())
        text += u'\n' + notes.join(u'\n') + u'\n';
    return text;
}

// ---- the run -----------------------------------------------------------

namespace {

QStringList archiveNames(const MonthArchives& a, int month, bool utf8) {
    const QString yymm = yymmText(month);
    QStringList missing;
    if (a.addressAdd.isEmpty())
        missing
            << (utf8 ? QStringLiteral("utf_add_%1.zip") : QStringLiteral("add_%1.zip")).arg(yymm);
    if (a.addressDel.isEmpty())
        missing
            << (utf8 ? QStringLiteral("utf_del_%1.zip") : QStringLiteral("del_%1.zip")).arg(yymm);
    if (a.officeAdd.isEmpty() != a.officeDel.isEmpty())
        missing << (a.officeAdd.isEmpty() ? QStringLiteral("jadd%1.zip")
                                          : QStringLiteral("jdel%1.zip"))
                       .arg(yymm);
    return missing;
}

struct ExtractedCsv {
    QByteArray bytes;
    QDateTime modified;
};

ExtractedCsv extractCsv(const WorkFolders& work, const QString& archive, RunHost& host) {
    ArchiveStep step(work, QFileInfo(archive).fileName());
    step.extract(archive, &host);
    const QString csv = step.firstCsv();
    if (csv.isEmpty())
        throw RunFailure{
            fileMissingError(QFileInfo(archive).completeBaseName() + QStringLiteral(".csv"))};
    std::optional<QByteArray> bytes = readWholeFile(csv);
    if (!bytes)
        throw RunFailure{fileReadError(csv, QStringLiteral("読み込めません"))};
    return {std::move(*bytes), QFileInfo(csv).lastModified()};
}

} // namespace

UpdateOutcome runUpdate(const PrepFolders& folders, const QStringList& names, RunHost& host,
                        MessageBoxes& messages) {
    using Status = UpdateOutcome::Status;
    UpdateOutcome outcome;
    const QString download = text::trimmed(folders.download);
    if (!usableDownloadFolder(download))
        return outcome;
    const WorkLock lock(folders.work);
    if (!lock.held()) {
        outcome.status = Status::Failed;
        outcome.error = runInProgressError();
        return outcome;
    }
    const DataFolder data = DataFolder::atPath(folders.data);
    auto refuse = [&](const QString& message) {
        outcome.status = Status::Refused;
        outcome.message = message;
        return outcome;
    };
    const int dataMonth = data.holdsPrefectureFile() ? readDataMonth(data) : 0;
    if (dataMonth == 0)
        return refuse(noDataText());
    const std::vector<MonthArchives> archives = findDifferenceArchives(download);
    if (archives.empty())
        return refuse(noDifferencesText());
    std::vector<MonthArchives> pending;
    for (const MonthArchives& a : archives)
        if (a.month > dataMonth)
            pending.push_back(a);
    if (pending.empty())
        return refuse(upToDateText(dataMonth));
    int expected = nextMonth(dataMonth);
    for (const MonthArchives& a : pending) {
        if (a.month != expected) {
            MonthArchives none;
            return refuse(
                missingMonthText(expected, archiveNames(none, expected, a.utf8), dataMonth));
        }
        const QStringList missing = archiveNames(a, a.month, a.utf8);
        if (!missing.isEmpty())
            return refuse(missingMonthText(a.month, missing, dataMonth));
        expected = nextMonth(a.month);
    }
    if (!messages.show(MessageIcon::Question, UpdateTitle,
                       askUpdateText(pending.front().month, pending.back().month),
                       MessageButtons::OkCancel)) {
        outcome.status = Status::Cancelled;
        return outcome;
    }
    host.started(RunKind::Update);
    folders.work.create();
    try {
        // The data as it is, in memory; nothing is written before every
        // month has been read and applied.
        UpdateData current;
        const QStringList fileNames = data.prefectureFileNames();
        for (int i = 1; i <= PrefectureCount; ++i) {
            if (fileNames.value(i).isEmpty())
                continue;
            const QString path = data.path() + fileNames[i];
            std::optional<QByteArray> bytes = readWholeFile(path);
            if (!bytes)
                throw RunFailure{fileReadError(path, QStringLiteral("読み込めません"))};
            current.files[size_t(i)] = dataLines(*bytes, false);
            current.present[size_t(i)] = true;
        }
        const QString officePath = data.businessOfficeFilePath();
        if (QFileInfo(officePath).isFile()) {
            if (std::optional<QByteArray> bytes = readWholeFile(officePath)) {
                current.files[0] = dataLines(*bytes, true);
                current.present[0] = true;
            }
        }

        std::vector<ChangeEntry> added;
        UpdateTally tally;
        QStringList notes;
        QDateTime dataDate;
        std::vector<UnencodableRecord> unencodable;
        for (const MonthArchives& a : pending) {
            host.progress(monthText(a.month) + QStringLiteral(" 更新中"), -1);
            MonthDifferences month;
            month.month = a.month;
            QDateTime newest;
            auto read = [&](const QString& archive, bool address) {
                ExtractedCsv csv = extractCsv(folders.work, archive, host);
                if (!newest.isValid() || csv.modified > newest)
                    newest = csv.modified;
                if (!address)
                    return std::move(csv.bytes);
                if (a.utf8) {
                    Utf8Conversion converted = convertUtf8AddressFile(csv.bytes);
                    for (UnencodableRecord& r : converted.unencodable)
                        unencodable.push_back(std::move(r));
                    return std::move(converted.bytes);
                }
                return joinSplitRecords(csv.bytes);
            };
            month.addressDel = read(a.addressDel, true);
            month.addressAdd = read(a.addressAdd, true);
            if (!a.officeAdd.isEmpty()) {
                month.hasOffices = true;
                month.officeDel = read(a.officeDel, false);
                month.officeAdd = read(a.officeAdd, false);
            } else {
                notes << QStringLiteral("%1の事業所の差分ﾌｧｲﾙ（jadd%2.zip、jdel%2.zip）がないため、"
                                        "事業所のデータは更新していません。")
                             .arg(monthText(a.month), yymmText(a.month));
            }
            applyMonth(current, month, names, added, tally);
            outcome.applied.push_back(a.month);
            if (newest.isValid())
                dataDate = newest;
            host.shouldStop(); // repaint between months; no abort
        }

        host.writing();
        host.progress(CopyingCaption, -1);
        const QStringList DataDateParts = dataDateParts(dataDate);
        const auto stamp = [&DataDateParts](QFileDevice& file) {
            SetFileWriteTime(file, DataDateParts);
        };
        StagedFiles staged;
        for (int i = 0; i <= PrefectureCount; ++i) {
            if (!current.changed[size_t(i)])
                continue;
            const QString path = i == 0 ? officePath : data.path() + fileNames[i];
            check(staged.add(path, fileBytes(current.files[size_t(i)]), stamp));
        }
        const QString logPath = data.path() + ChangeLogFileName;
        check(staged.add(logPath,
                         appendedChangeLog(readFileBytes(logPath).value_or(QByteArray()), added)));
        check(staged.add(data.path() + DataMonthFileName,
                         yymmText(outcome.applied.back()).toLatin1() + "\r\n"));
        outcome.placedFiles = int(staged.size());
        check(staged.commit());
        // Every file is now of the last month, changed or not: the main
        // window shows that month's date for each.
        for (int i = 0; i <= PrefectureCount; ++i) {
            if (!current.present[size_t(i)] || current.changed[size_t(i)])
                continue;
            QFile file(i == 0 ? officePath : data.path() + fileNames[i]);
            if (file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
                SetFileWriteTime(file, DataDateParts);
        }

        if (tally.notFound > 0)
            notes << QStringLiteral(
                         "廃止の行 %1 件はデータになかったため、変更履歴にだけ記録しました。")
                         .arg(tally.notFound);
        if (tally.alreadyThere > 0)
            notes << QStringLiteral("追加の行 %1 件はデータにすでにありました。")
                         .arg(tally.alreadyThere);
        if (tally.withoutFile > 0)
            notes << QStringLiteral(
                         "データファイルのない都道府県・事業所の行 %1 件は、変更履歴にだけ"
                         "記録しました。")
                         .arg(tally.withoutFile);
        if (tally.withoutPrefecture > 0)
            notes << QStringLiteral("都道府県名のない行 %1 件を読み飛ばしました。")
                         .arg(tally.withoutPrefecture);
        for (const UnencodableRecord& r : unencodable)
            notes << QStringLiteral("Shift_JIS にない文字を〓にしました： %1").arg(r.text);
        outcome.report = updateReportText(outcome.applied, tally, names, notes);
        outcome.status = Status::Completed;
    } catch (const RunFailure& failure) {
        outcome.status = Status::Failed;
        outcome.error = failure.description;
        outcome.applied.clear();
        outcome.placedFiles = 0;
    }
    return outcome;
}

} // namespace yubin
