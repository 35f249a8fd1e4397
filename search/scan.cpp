#include "search/scan.h"

#include "foundation/data_file.h"
#include "foundation/prefectures.h"
#include "foundation/text.h"
#include "foundation/utilities.h"
#include "main_window/browse.h"

#include <QFile>

#include <algorithm>
#include <ctime>
#include <optional>

#include <sys/stat.h>

namespace yubin {

namespace {

constexpr qint64 YieldEveryMs = 15;

} // namespace

// ---- words, match test, rows -------------------------------------------

SearchWords splitSearchWords(const QString& trimmedText) {
    SearchWords words;
    qsizetype separator = trimmedText.indexOf(u' ');
    if (separator < 0)
        separator = trimmedText.indexOf(QChar(0x3000));
    if (separator < 0) {
        words.first = trimmedText;
        return words;
    }
    words.first = text::trimmed(QStringView(trimmedText).left(separator + 1));
    words.second = text::trimmed(QStringView(trimmedText).mid(separator));
    words.twoWords = true;
    return words;
}

bool matchRule(bool rawFirst, bool foldedFirst, bool foldedSecond, const SearchWords& words,
               bool fold) {
    const bool first = rawFirst || (fold && foldedFirst);
    // The second word is always looked for in the derived forms.
    return words.twoWords ? first && foldedSecond : first;
}

QString rowPostalCode(const QString& column) {
    const QString t = text::trimmed(column);
    qsizetype n = 0;
    while (n < t.size() && t[n] >= u'0' && t[n] <= u'9')
        ++n;
    QString digits = t.left(n);
    while (digits.size() > 1 && digits.front() == u'0')
        digits.remove(0, 1);
    if (digits.isEmpty())
        digits = QStringLiteral("0");
    return (QStringLiteral("0000000") + digits).right(7);
}

PostalRecord scanRecord(QStringView line, bool businessOffice, Access_CSV& csv) {
    const QString l = line.toString();
    auto col = [&](int n) { return text::trimmed(csv.Col(n, l)); };
    PostalRecord r;
    if (businessOffice) {
        r.kind = RecordKind::Office;
        r.postalCode = rowPostalCode(csv.Col(8, l));
        r.officeName = col(3);
        r.officeReading = stripCorporateForm(col(2));
        r.prefecture = col(4);
        r.address = col(5) + col(6) + col(7);
        return r;
    }
    r.postalCode = rowPostalCode(csv.Col(3, l));
    r.prefectureReading = col(4);
    r.municipalityReading = col(5);
    r.townReading = col(6);
    r.prefecture = col(7);
    r.municipality = col(8);
    r.town = col(9);
    return r;
}

QString resultRow(const PostalRecord& r) {
    const QString prefix =
        (r.kind == RecordKind::Office ? QStringLiteral("[*] ") : QStringLiteral("[A] ")) +
        r.postalCode.left(3) + u'-' + r.postalCode.right(4) + u' ';
    if (r.kind == RecordKind::Office)
        return prefix + r.officeName + u' ' + r.prefecture + r.address;
    if (r.town == CatchAllTown || r.town.endsWith(WholeAreaEnding))
        return prefix + r.prefecture + r.municipality + u'(' + r.town + u')';
    return prefix + r.prefecture + r.municipality + r.town + QStringLiteral(" (") +
           r.prefectureReading + r.municipalityReading + r.townReading + u')';
}

QString resultRow(QStringView line, bool businessOffice, Access_CSV& csv) {
    return resultRow(scanRecord(line, businessOffice, csv));
}

// ---- the cache ---------------------------------------------------------

namespace {

// Coarser than the change-time tick of any file system the data may lie on.
constexpr qint64 SettleNs = 2'000'000'000;

qint64 nanoseconds(const timespec& t) {
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

qint64 nowNs() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return nanoseconds(t);
}

// Tells one version of a file from another. Size and modification time
// alone do not: the preparation runs stamp every file with the data's
// date. The identity (device, inode) changes when a file is replaced by a
// rename, and the change time moves with every write and rename and cannot
// be set back.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    qint64 size = -1;
    qint64 modified = 0;
    qint64 changed = 0;
    bool operator==(const FileStamp&) const = default;

    static std::optional<FileStamp> of(const QString& path) {
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) != 0)
            return std::nullopt;
        return FileStamp{st.st_dev, st.st_ino, qint64(st.st_size), nanoseconds(st.st_mtim),
                         nanoseconds(st.st_ctim)};
    }
};

} // namespace

// One data file as the pass needs it: its decoded text, where its lines of
// at least ten characters stand (trimmed), and, once a folding or two-word
// search asked for them, the full-width and hiragana forms of those lines
// laid end to end with a line break after each.
struct ScanCache::Entry {
    FileStamp stamp;
    bool settled = false;
    QString text;
    std::vector<qsizetype> starts;
    std::vector<qsizetype> lengths;
    bool hasForms = false;
    QString fullWidth;
    QString hiragana;
    std::vector<qsizetype> formStarts;

    void index() {
        starts.clear();
        lengths.clear();
        const QChar* base = text.constData();
        forEachLine(QStringView(text), [&](QStringView raw) {
            const QStringView line = text::trimBlanks(raw);
            if (line.size() < ShortestMatchingLine)
                return;
            starts.push_back(line.data() - base);
            lengths.push_back(line.size());
        });
    }
    QStringView line(size_t i) const { return QStringView(text).mid(starts[i], lengths[i]); }
    void buildForms() {
        if (hasForms)
            return;
        fullWidth.clear();
        formStarts.clear();
        formStarts.reserve(starts.size());
        fullWidth.reserve(text.size());
        QString converted;
        for (size_t i = 0; i < starts.size(); ++i) {
            formStarts.push_back(fullWidth.size());
            text::toFullWidth(line(i), converted);
            fullWidth += converted;
            fullWidth += u'\n';
        }
        text::katakanaToHiragana(fullWidth, hiragana);
        hasForms = true;
    }
};

ScanCache::ScanCache() = default;
ScanCache::~ScanCache() = default;

const ScanCache::Entry* ScanCache::get(const QString& path, bool forms) {
    const qint64 readAt = nowNs();
    const std::optional<FileStamp> stamp = FileStamp::of(path);
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&](const auto& e) { return e.first == path; });
    if (found != entries.end()) {
        Entry& e = *found->second;
        if (e.settled && stamp == e.stamp) {
            if (forms)
                e.buildForms();
            return &e;
        }
        entries.erase(found);
    }
    std::optional<QString> text = readDecodedFile(path);
    if (!text)
        return nullptr;
    auto entry = std::make_unique<Entry>();
    if (stamp) {
        entry->stamp = *stamp;
        // A change within the file system's clock tick of this read would
        // leave the change time as it is: a file changed that recently is
        // read again next time.
        entry->settled = stamp->changed < readAt - SettleNs;
    }
    entry->text = std::move(*text);
    entry->index();
    if (forms)
        entry->buildForms();
    entries.emplace_back(path, std::move(entry));
    return entries.back().second.get();
}

// ---- the pass ----------------------------------------------------------

namespace {

enum : quint8 { RawFirst = 1, FoldedFirst = 2, FoldedSecond = 4 };

// Marks every line holding the word. The whole text is searched at once,
// which is far faster than a search per line; a hit belongs to the line
// whose span contains it.
void markLines(QStringView haystack, const std::vector<qsizetype>& starts,
               const std::vector<qsizetype>* lengths, QStringView word, quint8 flag,
               std::vector<quint8>& marks) {
    if (word.isEmpty() || starts.empty())
        return;
    qsizetype from = 0;
    while (true) {
        const qsizetype hit = haystack.indexOf(word, from);
        if (hit < 0)
            return;
        const auto next = std::upper_bound(starts.begin(), starts.end(), hit);
        if (next == starts.begin()) {
            from = hit + 1;
            continue;
        }
        const size_t i = size_t(next - starts.begin() - 1);
        const qsizetype end =
            lengths ? starts[i] + (*lengths)[i]
                    : (i + 1 < starts.size() ? starts[i + 1] - 1 : haystack.size() - 1);
        if (hit + word.size() <= end) {
            marks[i] |= flag;
            // The next line is the first that can hold another marked hit.
            from = i + 1 < starts.size() ? starts[i + 1] : haystack.size();
        } else {
            from = hit + 1;
        }
    }
}

class Pass {
public:
    Pass(const ScanRequest& r, Clock& c, ScanObserver& o) : request(r), clock(c), observer(o) {
        zipMode = !text::trimmed(request.zipKey).isEmpty();
        if (zipMode) {
            words.first = text::trimmed(request.zipKey);
        } else {
            words = splitSearchWords(text::trimmed(request.text));
        }
        lastYield = clock.nowMs();
    }

    // False when the pass must end.
    bool yieldIfDue() {
        const qint64 now = clock.nowMs();
        if (now - lastYield >= YieldEveryMs) {
            lastYield = now;
            observer.yieldNow(result.rows.size());
            if (observer.stopRequested())
                result.stopped = true;
        }
        return !result.stopped;
    }

    // False when the pass must end.
    bool scanSource(const QString& path, bool businessOffice, ScanCache& cache) {
        const bool needForms = !zipMode && (request.fold || words.twoWords);
        const ScanCache::Entry* e = cache.get(path, needForms);
        if (!e)
            return true; // unreadable: skipped like a missing file
        std::vector<quint8> marks(e->starts.size(), 0);
        markLines(e->text, e->starts, &e->lengths, words.first, RawFirst, marks);
        if (needForms) {
            if (request.fold) {
                markLines(e->fullWidth, e->formStarts, nullptr, words.first, FoldedFirst, marks);
                markLines(e->hiragana, e->formStarts, nullptr, words.first, FoldedFirst, marks);
            }
            if (words.twoWords) {
                markLines(e->fullWidth, e->formStarts, nullptr, words.second, FoldedSecond, marks);
                markLines(e->hiragana, e->formStarts, nullptr, words.second, FoldedSecond, marks);
            }
        }
        if (!yieldIfDue())
            return false;
        for (size_t i = 0; i < marks.size(); ++i) {
            if (!matches(marks[i]))
                continue;
            const QStringView line = e->line(i);
            if (zipMode) {
                const QString l = line.toString();
                if (text::trimmed(csv.Col(businessOffice ? 8 : 3, l)) != words.first)
                    continue;
            }
            result.records.push_back(scanRecord(line, businessOffice, csv));
            result.rows << resultRow(result.records.back());
            ++result.matches;
            if (result.rows.size() >= ScanRowLimit) {
                result.limitReached = true;
                return false;
            }
            if (!yieldIfDue())
                return false;
        }
        return yieldIfDue();
    }

    ScanResult finish() {
        if (result.stopped)
            result.rows << ScanStoppedLine;
        if (result.limitReached)
            result.rows << ScanLimitLine;
        return std::move(result);
    }

private:
    bool matches(quint8 m) const {
        return matchRule(m & RawFirst, m & FoldedFirst, m & FoldedSecond, words,
                         request.fold && !zipMode);
    }

    const ScanRequest& request;
    Clock& clock;
    ScanObserver& observer;
    SearchWords words;
    bool zipMode = false;
    qint64 lastYield = 0;
    Access_CSV csv;
    ScanResult result;
};

} // namespace

ScanResult runScan(const ScanRequest& request, const DataFolder& data, ScanCache& cache,
                   Clock& clock, ScanObserver& observer) {
    Pass pass(request, clock, observer);
    const QStringList names = makePrefectureNames();
    // One listing of the data folder serves the whole pass.
    const QStringList files = data.prefectureFileNames();
    for (int source = 1; source <= PrefectureCount + 1; ++source) {
        const bool office = source == PrefectureCount + 1;
        if (office && !request.includeOffices)
            break;
        observer.sourceStarted((office ? BusinessOfficeName : names[source]) +
                               QStringLiteral(" 検索中"));
        QString path = office ? data.businessOfficeFilePath() : data.path() + files[source];
        if (FileExists(path) && !pass.scanSource(path, office, cache))
            break;
    }
    return pass.finish();
}

} // namespace yubin
