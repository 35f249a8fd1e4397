#include "search/scan.h"

#include "foundation/data_file.h"
#include "foundation/postal_code.h"
#include "foundation/prefectures.h"
#include "foundation/text.h"
#include "foundation/utilities.h"
#include "main_window/browse.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <bit>
#include <cstring>
#include <ctime>
#include <optional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

bool lineMatches(QStringView line, const SearchWords& words, bool fold, LineForms& forms) {
    const bool rawFirst = line.contains(words.first);
    if (rawFirst && !words.twoWords)
        return true;
    if (!rawFirst && !fold)
        return false;
    text::toFullWidth(line, forms.fullWidth);
    text::katakanaToHiragana(forms.fullWidth, forms.hiragana);
    auto inForms = [&](const QString& word) {
        return forms.fullWidth.contains(word) || forms.hiragana.contains(word);
    };
    if (!rawFirst && !inForms(words.first))
        return false;
    // The second word is always looked for in the derived forms.
    return !words.twoWords || inForms(words.second);
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
        postalCodeText(r.postalCode) + u' ';
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

// Fold keys kept between runs in the per-user cache, one file a data file:
// building a key costs yubin-cli more than all the rest of a folding search,
// reading one costs about what reading the data does. The header holds the
// data file's identity, so a replaced file never meets an old key, and a
// fingerprint of the folding itself, so a program that folds differently
// never uses another's keys.
struct FoldKeyHeader {
    char magic[8];
    qint64 device, inode, size, modified, changed;
    char folding[20];
};

FoldKeyHeader foldKeyHeader(const FileStamp& stamp) {
    FoldKeyHeader h;
    std::memset(&h, 0, sizeof h);
    std::memcpy(h.magic, "YUBINFK1", 8);
    h.device = qint64(stamp.device);
    h.inode = qint64(stamp.inode);
    h.size = stamp.size;
    h.modified = stamp.modified;
    h.changed = stamp.changed;
    // Every single byte and every pair of the kana, symbol and full-width
    // rows, each a line: what a change to the folding would change first.
    static const QByteArray fingerprint = [] {
        QByteArray probe;
        for (unsigned b = 0x20; b <= 0xDF; ++b)
            probe.append(char(b)).append('\n');
        for (unsigned lead = 0x81; lead <= 0x84; ++lead)
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
                probe.append(char(lead)).append(char(trail)).append('\n');
        QByteArray key;
        text::foldKeyOfCp932Lines(probe, key);
        return QCryptographicHash::hash(key, QCryptographicHash::Sha1);
    }();
    std::memcpy(h.folding, fingerprint.constData(), sizeof h.folding);
    return h;
}

QString foldKeyFile(const QString& dataPath) {
    const QByteArray name = QCryptographicHash::hash(
        QFileInfo(dataPath).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1);
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/Zunelka/yubin/FOLD/") + QString::fromLatin1(name.toHex());
}

bool loadFoldKey(const QString& dataPath, const FileStamp& stamp, QByteArray& key) {
    QFile file(foldKeyFile(dataPath));
    if (!file.open(QIODevice::ReadOnly) ||
        file.size() != qint64(sizeof(FoldKeyHeader)) + stamp.size)
        return false;
    const FoldKeyHeader expected = foldKeyHeader(stamp);
    FoldKeyHeader h;
    if (file.read(reinterpret_cast<char*>(&h), sizeof h) != qint64(sizeof h) ||
        std::memcmp(&h, &expected, sizeof h) != 0)
        return false;
    key.resize(qsizetype(stamp.size));
    return file.read(key.data(), stamp.size) == stamp.size;
}

// A key that cannot be kept is built again next time.
void storeFoldKey(const QString& dataPath, const FileStamp& stamp, const QByteArray& key) {
    const QString path = foldKeyFile(dataPath);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return;
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    const FoldKeyHeader h = foldKeyHeader(stamp);
    file.write(reinterpret_cast<const char*>(&h), sizeof h);
    file.write(key);
    file.commit();
}

} // namespace

// One data file as the pass needs it: its bytes and, once a folding search
// asked for it, their fold key. A file in UTF-8 is searched line by line.
struct ScanCache::Entry {
    FileStamp stamp;
    bool settled = false;
    QByteArray bytes;
    bool utf8 = false;
    bool hasFoldKey = false;
    QByteArray foldKey;
};

ScanCache::ScanCache(Keep k) : keep(k) {}
ScanCache::~ScanCache() = default;

const ScanCache::Entry* ScanCache::get(const QString& path, bool foldKey) {
    const qint64 readAt = nowNs();
    const std::optional<FileStamp> stamp = FileStamp::of(path);
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&](const auto& e) { return e.first == path; });
    Entry* e = nullptr;
    if (found != entries.end() && found->second->settled && stamp == found->second->stamp) {
        e = found->second.get();
    } else {
        if (found != entries.end())
            entries.erase(found);
        auto entry = std::make_unique<Entry>();
        if (keep == Keep::CurrentFile && !entries.empty()) {
            // The last file's memory takes the next one: no fresh pages to
            // fault in for every file.
            entry->bytes = std::move(entries.back().second->bytes);
            entry->foldKey = std::move(entries.back().second->foldKey);
            entries.clear();
        }
        if (!readFileBytes(path, entry->bytes))
            return nullptr;
        if (stamp) {
            entry->stamp = *stamp;
            // A change within the file system's clock tick of this read would
            // leave the change time as it is: a file changed that recently is
            // read again next time.
            entry->settled = stamp->changed < readAt - SettleNs;
        }
        entry->utf8 = isUtf8Text(entry->bytes);
        e = entry.get();
        entries.emplace_back(path, std::move(entry));
    }
    if (foldKey && !e->utf8 && !e->hasFoldKey) {
        // Only keys of files that have settled are kept: a change within the
        // clock tick of the last could leave the stamp as it was. The stamp
        // was taken before the bytes were read; the same stamp now means no
        // change came in between, so the bytes are the version it names.
        const bool keep = e->settled && FileStamp::of(path) == e->stamp &&
                          e->bytes.size() == qsizetype(e->stamp.size);
        if (!(keep && loadFoldKey(path, e->stamp, e->foldKey))) {
            text::foldKeyOfCp932Lines(e->bytes, e->foldKey);
            if (keep)
                storeFoldKey(path, e->stamp, e->foldKey);
        }
        e->hasFoldKey = true;
    }
    return e;
}

// ---- the pass ----------------------------------------------------------

namespace {

// The first offset at or after `from` where the needle stands in the
// haystack, or -1. Candidates are the places where the needle's first and
// last bytes both stand, sixteen places at a time, which passes over the
// bytes several times faster than a general substring search.
qsizetype findBytes(QByteArrayView haystack, QByteArrayView needle, qsizetype from) {
    const char* h = haystack.data();
    const char* n = needle.data();
    const qsizetype size = haystack.size();
    const qsizetype m = needle.size();
    if (m == 0 || size - from < m)
        return m == 0 ? from : -1;
    qsizetype i = from;
#ifdef __SSE2__
    if (m >= 2) {
        const __m128i first = _mm_set1_epi8(n[0]);
        const __m128i last = _mm_set1_epi8(n[m - 1]);
        for (; i + 16 + m - 1 <= size; i += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + m - 1));
            unsigned bits = unsigned(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
            while (bits != 0) {
                const int k = std::countr_zero(bits);
                if (std::memcmp(h + i + k + 1, n + 1, size_t(m - 2)) == 0)
                    return i + k;
                bits &= bits - 1;
            }
        }
    }
#endif
    const void* hit = memmem(h + i, size_t(size - i), n, size_t(m));
    return hit ? static_cast<const char*>(hit) - h : -1;
}

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// What the pass looks for in the bytes of a code page 932 file: the first
// word's own bytes where they are the only bytes that decode to it, else
// its fold key in the file's fold key, which every line holding the word,
// as stored or in a derived form, holds too. Either finds each line that
// can match, and perhaps others; every line found is decoded and put to
// the match table, so a hit that starts inside a double-byte character, or
// a key that stands for other characters, leads to no row.
struct Needle {
    QByteArray bytes;
    bool inFoldKey = false;
    bool none = false; // no line of code page 932 can hold the first word
};

Needle chooseNeedle(const QString& first, bool fold) {
    if (!fold)
        if (std::optional<QByteArray> exact = text::encodeCp932Exactly(first))
            return {*exact, false, false};
    if (std::optional<QByteArray> key = text::foldKey(first))
        return {*key, true, false};
    return {{}, false, true};
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
        fold = request.fold && !zipMode;
        needle = chooseNeedle(words.first, fold);
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
        const ScanCache::Entry* e = cache.get(path, needle.inFoldKey);
        if (!e)
            return true; // unreadable: skipped like a missing file
        // Once after reading the file, then once after each row.
        if (!yieldIfDue())
            return false;
        if (words.first.isEmpty())
            return true;
        if (e->utf8) {
            const QString text = QString::fromUtf8(e->bytes);
            bool goOn = true;
            forEachLine(QStringView(text),
                        [&](QStringView line) { goOn = goOn && takeLine(line, businessOffice); });
            return goOn && yieldIfDue();
        }
        if (needle.none)
            return true;
        const QByteArray& haystack = needle.inFoldKey ? e->foldKey : e->bytes;
        const char* bytes = e->bytes.constData();
        const qsizetype size = e->bytes.size();
        qsizetype from = 0;
        while (true) {
            const qsizetype hit = findBytes(haystack, needle.bytes, from);
            if (hit < 0)
                break;
            // The fold key has the file's line ends at the same places.
            qsizetype start = hit;
            while (start > 0 && !isLineEnd(bytes[start - 1]))
                --start;
            qsizetype end = hit;
            while (end < size && !isLineEnd(bytes[end]))
                ++end;
            // A needle that begins with a line end is in no line.
            from = std::max(end, hit + 1);
            if (hit + needle.bytes.size() > end)
                continue; // runs past the line: no later hit in it either
            text::decodeCp932(QByteArrayView(bytes + start, end - start), decoded);
            if (!takeLine(decoded, businessOffice))
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
    // One line of a file: a row when it matches. False when the pass must
    // end.
    bool takeLine(QStringView rawLine, bool businessOffice) {
        const QStringView line = text::trimBlanks(rawLine);
        if (line.size() < ShortestMatchingLine || !lineMatches(line, words, fold, forms))
            return true;
        if (zipMode) {
            const QString l = line.toString();
            if (text::trimmed(csv.Col(businessOffice ? 8 : 3, l)) != words.first)
                return true;
        }
        result.records.push_back(scanRecord(line, businessOffice, csv));
        result.rows << resultRow(result.records.back());
        ++result.matches;
        if (result.rows.size() >= ScanRowLimit) {
            result.limitReached = true;
            return false;
        }
        return yieldIfDue();
    }

    const ScanRequest& request;
    Clock& clock;
    ScanObserver& observer;
    SearchWords words;
    bool zipMode = false;
    bool fold = false;
    Needle needle;
    qint64 lastYield = 0;
    Access_CSV csv;
    LineForms forms;
    QString decoded;
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
