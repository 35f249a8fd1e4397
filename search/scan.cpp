#include "search/scan.h"

#include "data_prep/change_log.h"
#include "foundation/data_file.h"
#include "foundation/postal_code.h"
#include "foundation/prefectures.h"
#include "foundation/text.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringBuilder>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>

#ifdef __SSE2__
#include <immintrin.h>
#endif

#include <sys/stat.h>
#include <unistd.h>

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

QString resultRow(const PostalRecord& r) {
    const QString code = postalCodeText(r.postalCode);
    if (r.kind == RecordKind::Office)
        return u"[*] " % code % u' ' % r.officeName % u' ' % r.prefecture % r.address;
    if (r.town == CatchAllTown || r.town.endsWith(WholeAreaEnding))
        return u"[A] " % code % u' ' % r.prefecture % r.municipality % u'(' % r.town % u')';
    return u"[A] " % code % u' ' % r.prefecture % r.municipality % r.town % u" (" %
           r.prefectureReading % r.municipalityReading % r.townReading % u')';
}

QString resultRow(QStringView line, bool businessOffice, Access_CSV& csv) {
    return resultRow(readRecord(line.toString(), businessOffice, csv));
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

    static FileStamp of(const struct stat& st) {
        return FileStamp{st.st_dev, st.st_ino, qint64(st.st_size), nanoseconds(st.st_mtim),
                         nanoseconds(st.st_ctim)};
    }
    static std::optional<FileStamp> of(const QString& path) {
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) != 0)
            return std::nullopt;
        return of(st);
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

// The fold key of one data file, block by block in the file's order: read
// from the kept key when one was kept for this very version of the file,
// else built, and kept when the file has settled and was seen whole and
// unchanged. A key that cannot be read or kept is built again next time.
class FoldKeySource {
public:
    // `settled`: the stamp of a file that has settled, taken before its
    // bytes were read; nullopt for one whose key is not to be kept.
    FoldKeySource(const QString& dataPath, const std::optional<FileStamp>& settled)
        : path(dataPath), stamp(settled) {
        if (!stamp)
            return;
        kept.setFileName(foldKeyFile(path));
        const FoldKeyHeader expected = foldKeyHeader(*stamp);
        FoldKeyHeader h;
        if (kept.open(QIODevice::ReadOnly) &&
            kept.size() == qint64(sizeof(FoldKeyHeader)) + stamp->size &&
            kept.read(reinterpret_cast<char*>(&h), sizeof h) == qint64(sizeof h) &&
            std::memcmp(&h, &expected, sizeof h) == 0) {
            reading = true;
            return;
        }
        kept.close();
        const QString folder = QFileInfo(kept.fileName()).absolutePath();
        if (!QDir().mkpath(folder))
            return;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writing = std::make_unique<QSaveFile>(kept.fileName());
        if (!writing->open(QIODevice::WriteOnly) ||
            writing->write(reinterpret_cast<const char*>(&expected), sizeof expected) !=
                qint64(sizeof expected))
            writing.reset();
    }

    // The key of the next block, in `out`.
    QByteArrayView next(QByteArrayView block, QByteArray& out) {
        seen += block.size();
        if (reading) {
            out.resize(block.size());
            if (kept.read(out.data(), block.size()) == block.size())
                return out;
            reading = false; // the rest is built
        }
        text::foldKeyOfCp932Lines(block, out);
        if (writing && writing->write(out) != out.size())
            writing.reset();
        return out;
    }

    // Keeps a key built from the whole file; a pass that ended early, or a
    // file that changed while it was read, keeps none.
    void finish() {
        // A short write shows at the flush: commit alone would place a cut key.
        if (writing && seen == stamp->size && FileStamp::of(path) == stamp && writing->flush())
            writing->commit();
        writing.reset();
    }

private:
    QString path;
    std::optional<FileStamp> stamp;
    QFile kept;
    bool reading = false;
    std::unique_ptr<QSaveFile> writing;
    qint64 seen = 0;
};

// Reads a file in blocks of whole lines, into one buffer that every file
// reuses. A line longer than a block grows the buffer. A read error ends
// the file at the last line end before it, as for a whole-file read.
class LineBlocks {
public:
    LineBlocks(int descriptor, QByteArray& b, qsizetype blockBytes) : fd(descriptor), buffer(b) {
        if (buffer.size() < blockBytes)
            buffer.resize(blockBytes);
    }
    ~LineBlocks() { ::close(fd); }
    LineBlocks(const LineBlocks&) = delete;
    LineBlocks& operator=(const LineBlocks&) = delete;

    // The next block; empty at the end.
    QByteArrayView next() {
        std::memmove(buffer.data(), buffer.constData() + given, size_t(filled - given));
        filled -= given;
        given = 0;
        while (!atEnd) {
            if (filled == buffer.size())
                buffer.resize(buffer.size() * 2);
            const ssize_t n = ::read(fd, buffer.data() + filled, size_t(buffer.size() - filled));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                atEnd = true;
                if (n < 0)
                    filled = 0; // the bytes after the last line end are a cut line
                break;
            }
            const qsizetype readFrom = filled;
            filled += qsizetype(n);
            for (qsizetype i = filled; i > readFrom; --i) {
                if (buffer[i - 1] == '\n' || buffer[i - 1] == '\r') {
                    given = i;
                    return QByteArrayView(buffer.constData(), given);
                }
            }
        }
        given = filled; // the last line, without a line end
        return QByteArrayView(buffer.constData(), given);
    }

private:
    int fd;
    QByteArray& buffer;
    qsizetype filled = 0; // bytes in the buffer
    qsizetype given = 0;  // of which the block in hand
    bool atEnd = false;
};

// A block with bytes that cannot be UTF-8 belongs to a code page 932 file;
// only the whole file tells one in UTF-8 from one that begins in ASCII.
bool cannotBeUtf8(QByteArrayView bytes) {
    return !isUtf8Text(bytes) &&
           std::any_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) >= 0x80; });
}

} // namespace

// One data file as the window keeps it: its bytes and, once a folding
// search asked for it, their fold key. A file in UTF-8 is searched line by
// line.
struct ScanCache::Entry {
    FileStamp stamp;
    bool settled = false;
    QByteArray bytes;
    bool utf8 = false;
    bool hasFoldKey = false;
    QByteArray foldKey;
};

ScanCache::ScanCache(Keep k, qsizetype block)
    : keep(k), blockBytes(std::max<qsizetype>(block, 1)) {}
ScanCache::~ScanCache() = default;

bool ScanCache::forEachBlock(const QString& path, bool foldKey, const BlockTaker& take) {
    if (keep == Keep::Nothing)
        return readInBlocks(path, foldKey, take);
    const Entry* e = cached(path, foldKey);
    if (!e || e->bytes.isEmpty())
        return true;
    return take({e->bytes, e->hasFoldKey ? QByteArrayView(e->foldKey) : QByteArrayView(), e->utf8});
}

const ScanCache::Entry* ScanCache::cached(const QString& path, bool foldKey) {
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
        // The stamp was taken before the bytes were read; the same stamp now
        // means no change came in between, so the bytes are the version it
        // names.
        const bool keepKey = e->settled && FileStamp::of(path) == e->stamp &&
                             e->bytes.size() == qsizetype(e->stamp.size);
        FoldKeySource keys(path, keepKey ? std::optional(e->stamp) : std::nullopt);
        keys.next(e->bytes, e->foldKey);
        keys.finish();
        e->hasFoldKey = true;
    }
    return e;
}

bool ScanCache::readInBlocks(const QString& path, bool foldKey, const BlockTaker& take) {
    const qint64 readAt = nowNs();
    struct stat status {};
    const int fd = openRegularFileDescriptor(path, status);
    if (fd < 0)
        return true;
    // The stamp of the very file read, taken before its bytes are.
    const FileStamp stamp = FileStamp::of(status);
    LineBlocks blocks(fd, buffer, blockBytes);
    const QByteArrayView first = blocks.next();
    if (first.isEmpty())
        return true;
    if (!cannotBeUtf8(first)) {
        QByteArray whole = first.toByteArray();
        for (QByteArrayView b = blocks.next(); !b.isEmpty(); b = blocks.next())
            whole += b;
        Block block{whole, {}, isUtf8Text(whole)};
        if (foldKey && !block.utf8) {
            text::foldKeyOfCp932Lines(whole, keyBuffer);
            block.foldKey = keyBuffer;
        }
        return take(block);
    }
    // Only keys of files that have settled are kept: a change within the
    // clock tick of the last could leave the stamp as it was.
    const bool settled = stamp.changed < readAt - SettleNs;
    std::optional<FoldKeySource> keys;
    if (foldKey)
        keys.emplace(path, settled ? std::optional(stamp) : std::nullopt);
    for (QByteArrayView b = first; !b.isEmpty(); b = blocks.next())
        if (!take({b, keys ? keys->next(b, keyBuffer) : QByteArrayView(), false}))
            return false;
    if (keys)
        keys->finish();
    return true;
}

// ---- the pass ----------------------------------------------------------

namespace {

// The first place from `at` that `bits` marks (one bit a place) where the
// whole needle stands, or -1.
inline qsizetype firstWholeNeedle(unsigned bits, const char* h, qsizetype at, const char* n,
                                  qsizetype m) {
    while (bits != 0) {
        const int k = std::countr_zero(bits);
        if (std::memcmp(h + at + k + 1, n + 1, size_t(m - 2)) == 0)
            return at + k;
        bits &= bits - 1;
    }
    return -1;
}

#ifdef __x86_64__
// Thirty-two places at a time where the processor has AVX2, which halves
// the pass again. `i` is left at the first place not looked at.
__attribute__((target("avx2"))) qsizetype findBytesAvx2(const char* h, qsizetype size,
                                                        const char* n, qsizetype m, qsizetype& i) {
    const __m256i first = _mm256_set1_epi8(n[0]);
    const __m256i last = _mm256_set1_epi8(n[m - 1]);
    for (; i + 32 + m - 1 <= size; i += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + i + m - 1));
        const auto bits = unsigned(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, last))));
        if (const qsizetype hit = firstWholeNeedle(bits, h, i, n, m); hit >= 0)
            return hit;
    }
    return -1;
}

bool hasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") != 0;
    return has;
}
#endif

// The first offset at or after `from` where the needle stands in the
// haystack, or -1. Candidates are the places where the needle's first and
// last bytes both stand, sixteen places at a time (or thirty-two), which
// passes over the bytes several times faster than a general substring
// search.
qsizetype findBytes(QByteArrayView haystack, QByteArrayView needle, qsizetype from) {
    const char* h = haystack.data();
    const char* n = needle.data();
    const qsizetype size = haystack.size();
    const qsizetype m = needle.size();
    if (m == 0 || size - from < m)
        return m == 0 ? from : -1;
    qsizetype i = from;
#ifdef __x86_64__
    if (m >= 2 && hasAvx2())
        if (const qsizetype hit = findBytesAvx2(h, size, n, m, i); hit >= 0)
            return hit;
#endif
#ifdef __SSE2__
    if (m >= 2) {
        const __m128i first = _mm_set1_epi8(n[0]);
        const __m128i last = _mm_set1_epi8(n[m - 1]);
        for (; i + 16 + m - 1 <= size; i += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + m - 1));
            const auto bits = unsigned(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
            if (const qsizetype hit = firstWholeNeedle(bits, h, i, n, m); hit >= 0)
                return hit;
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
        // Once after reading each block, then once after each row.
        const bool goOn =
            cache.forEachBlock(path, needle.inFoldKey, [&](const ScanCache::Block& block) {
                return yieldIfDue() && scanBlock(block, businessOffice);
            });
        return goOn && yieldIfDue();
    }

    ScanResult finish() {
        if (result.stopped)
            result.rows << ScanStoppedLine;
        if (result.limitReached)
            result.rows << ScanLimitLine;
        return std::move(result);
    }

private:
    // False when the pass must end.
    bool scanBlock(const ScanCache::Block& block, bool businessOffice) {
        if (words.first.isEmpty())
            return true;
        if (block.utf8) {
            const QString text = QString::fromUtf8(block.bytes);
            bool goOn = true;
            forEachLine(QStringView(text),
                        [&](QStringView line) { goOn = goOn && takeLine(line, businessOffice); });
            return goOn;
        }
        if (needle.none)
            return true;
        const QByteArrayView haystack = needle.inFoldKey ? block.foldKey : block.bytes;
        const char* bytes = block.bytes.data();
        const qsizetype size = block.bytes.size();
        qsizetype from = 0;
        while (true) {
            const qsizetype hit = findBytes(haystack, needle.bytes, from);
            if (hit < 0)
                return true;
            // The fold key has the block's line ends at the same places.
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
    }

    // One line of a file: a row when it matches. False when the pass must
    // end.
    bool takeLine(QStringView rawLine, bool businessOffice) {
        const QStringView line = text::trimBlanks(rawLine);
        if (line.size() < ShortestMatchingLine || !lineMatches(line, words, fold, forms))
            return true;
        const QString l = line.toString();
        if (zipMode && text::trimmed(csv.Col(businessOffice ? OfficeColumn::PostalCode
                                                            : AddressColumn::PostalCode,
                                             l)) != words.first)
            return true;
        result.records.push_back(readRecord(l, businessOffice, csv));
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
        const QString path = office ? data.businessOfficeFilePath() : data.path() + files[source];
        // A missing or unreadable file is skipped.
        if (!pass.scanSource(path, office, cache))
            break;
    }
    ScanResult result = pass.finish();
    const QString code = text::trimmed(request.zipKey);
    if (!code.isEmpty() && !result.stopped && !result.limitReached) {
        Access_CSV csv;
        for (const AbolishedCode& a : findAbolished(readChangeLog(data), code))
            if (!a.entry.office || request.includeOffices)
                result.rows << abolishedRow(a, csv);
    }
    return result;
}

QString abolishedRow(const AbolishedCode& abolished, Access_CSV& csv) {
    QString row = resultRow(readRecord(abolished.entry.record, abolished.entry.office, csv));
    row.replace(0, 4, AbolishedRowMarker);
    return row + u' ' + abolishedCodeNote(abolished);
}

} // namespace yubin
