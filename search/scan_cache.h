#pragma once

// The data files as the full-search pass reads them: kept whole between
// passes by the window, or read a block of whole lines at a time, with the
// fold key of the bytes when a folding search asks for it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace yubin {

// The data files as the pass searches them. The window keeps every file
// between passes, while it stays the same one, unchanged since it was read;
// a one-pass user keeps none and reads each file in blocks of whole lines,
// so that memory holds one block and no fresh pages are faulted in for
// every file.
class ScanCache {
public:
    enum class Keep { AllFiles, Nothing };
    static constexpr qsizetype DefaultBlockBytes = 128 * 1024;
    explicit ScanCache(Keep keep = Keep::AllFiles, qsizetype blockBytes = DefaultBlockBytes);
    ~ScanCache();

    // A stretch of a data file made of whole lines, with the fold key of
    // those lines when it was asked for. A file in UTF-8 comes whole, as
    // one block, and never with a fold key.
    struct Block {
        QByteArrayView bytes;
        QByteArrayView foldKey;
        bool utf8 = false;
    };
    using BlockTaker = std::function<bool(const Block&)>;
    // Hands `take` the file's blocks in order while it returns true; false
    // when `take` did. An empty or unreadable file has no blocks.
    bool forEachBlock(const QString& path, bool foldKey, const BlockTaker& take);
    // The files kept.
    qsizetype entryCount() const { return qsizetype(entries.size()); }

private:
    struct Entry;
    const Entry* cached(const QString& path, bool foldKey);
    bool readInBlocks(const QString& path, bool foldKey, const BlockTaker& take);

    Keep keep;
    qsizetype blockBytes;
    std::vector<std::pair<QString, std::unique_ptr<Entry>>> entries;
    QByteArray buffer;    // the block in hand, and the start of the next line
    QByteArray keyBuffer; // its fold key
};

} // namespace yubin
