#include "search/scan_cache.h"

#include "foundation/data_file.h"
#include "foundation/text.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace yubin {

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

} // namespace yubin
