#pragma once

// What the data preparation tests share: address lines of a chosen
// prefecture, a host that records what a run reports, and folders laid out
// as the runs expect them.

#include "data_prep/prep_runs.h"
#include "support/fakes.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace yubin::test {

// `count` address records of the prefecture (index 1 to 47), each with its
// own postal code and town name.
QStringList prefectureRecords(int prefecture, int count, int firstNumber = 0);

// The records as the published file holds them: code page 932, CR LF.
QByteArray nationwideBytes(const QStringList& records);

// Records the calls of a run and stops on cue.
class RecordingHost : public RunHost {
public:
    void started(RunKind kind) override { startedKinds.push_back(kind); }
    void progress(const QString& caption, qint64 lines) override {
        captions << caption;
        lineCounts.push_back(lines);
    }
    void writing() override { ++writingCalls; }
    bool shouldStop() override {
        ++yields;
        return (stopAtYield > 0 && yields >= stopAtYield) ||
               (!stopAfterCaption.isEmpty() && captions.contains(stopAfterCaption));
    }
    void pause(double seconds) override { pauses.push_back(seconds); }

    std::vector<RunKind> startedKinds;
    QStringList captions;
    std::vector<qint64> lineCounts;
    int writingCalls = 0;
    int yields = 0;
    int stopAtYield = 0;      // 0: never stop
    QString stopAfterCaption; // stop at every yield once this caption was shown
    std::vector<double> pauses;
};

// A download folder, a data folder and work folders, all fresh.
class PrepDirs {
public:
    PrepDirs();
    PrepFolders folders() const;
    QString download() const { return root.path() + QStringLiteral("/download/"); }
    QString data() const { return root.path() + QStringLiteral("/DATA/"); }
    WorkFolders work() const { return WorkFolders::under(root.path() + QStringLiteral("/cache")); }
    QString path() const { return root.path(); }

    // Writes a file into the download folder.
    void download(const QString& name, const QByteArray& bytes) const;
    // Writes a data file as if placed earlier.
    void dataFile(const QString& name, const QByteArray& bytes) const;
    // The bare names in the data folder, sorted.
    QStringList dataNames() const;
    QByteArray dataBytes(const QString& name) const;

private:
    QTemporaryDir root;
};

} // namespace yubin::test
