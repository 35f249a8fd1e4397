#pragma once

// What the data preparation tests share: archives built by the tests
// themselves (ZIP through libarchive's writer, stored LZH through a small
// writer of level-0 headers that can also write what no archiver would), a
// host that records what a run reports, and folders laid out as the runs
// expect them.

#include "data_prep/prep_runs.h"
#include "support/data_files.h"
#include "support/fakes.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace yubin::test {

inline const QDateTime ArchiveTime(QDate(2005, 9, 30), QTime(12, 0));

struct TestEntry {
    enum class Kind { File, Directory, Symlink };
    QByteArray name; // raw bytes as stored
    QByteArray data; // a link's target
    QDateTime modified = ArchiveTime;
    Kind kind = Kind::File;
    QByteArray method = "-lh0-"; // LZH only
};

inline TestEntry fileEntry(const QByteArray& name, const QByteArray& data,
                           TestEntry::Kind kind = TestEntry::Kind::File) {
    TestEntry e;
    e.name = name;
    e.data = data;
    e.kind = kind;
    return e;
}

// `stored` keeps the data uncompressed so that a test can find it.
QByteArray makeZip(const std::vector<TestEntry>& entries, bool stored = false);
QByteArray makeLzh(const std::vector<TestEntry>& entries);
QString fixturePath(const QString& name);

class RecordingHost : public RunHost {
public:
    void progress(const QString& caption, qint64 lines) override {
        captions << caption;
        lineCounts.push_back(lines);
    }
    bool shouldStop() override { return ++yields == stopAtYield; }

    QStringList captions;
    std::vector<qint64> lineCounts;
    int yields = 0;
    int stopAtYield = 0; // 0: never stop
};

void expectShown(const RecordingMessageBoxes& messages, size_t index, MessageIcon icon,
                 const QString& title, const QString& text, MessageButtons buttons);

// A download folder, a data folder and work folders, all fresh.
class PrepDirs {
public:
    PrepDirs();
    PrepFolders folders() const { return {download(), data(), work()}; }
    QString download() const { return root.path() + QStringLiteral("/download/"); }
    QString data() const { return root.path() + QStringLiteral("/DATA/"); }
    WorkFolders work() const { return WorkFolders::under(root.path() + QStringLiteral("/cache")); }
    QString path() const { return root.path(); }

    void download(const QString& name, const QByteArray& bytes) const {
        writeFile(download() + name, bytes);
    }
    // An archive of one file, ZIP or LZH as `name` ends.
    void archive(const QString& name, const QByteArray& entryName, const QByteArray& data,
                 const QDateTime& modified = ArchiveTime) const;
    void dataFile(const QString& name, const QByteArray& bytes) const {
        writeFile(data() + name, bytes);
    }
    // The bare names in the data folder, sorted.
    QStringList dataNames() const;
    QByteArray dataBytes(const QString& name) const { return readAll(data() + name); }

private:
    QTemporaryDir root;
};

} // namespace yubin::test
