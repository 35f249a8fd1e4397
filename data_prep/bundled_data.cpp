#include "data_prep/bundled_data.h"

#include "data_prep/prep_runs.h"
#include "foundation/prefectures.h"
#include "foundation/utilities.h"

#include <QDir>
#include <QFileInfo>

namespace yubin {

namespace {

// No progress to show: the split takes a fraction of a second and the
// window opens after it.
class QuietHost final : public RunHost {
public:
    void progress(const QString&, qint64) override {}
    bool shouldStop() override { return false; }
};

} // namespace

QString bundledDataFolder(const QString& programFolder) {
    const QString given = qEnvironmentVariable("YUBIN_BUNDLED_DATA");
    if (!given.isEmpty())
        return given;
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/yubin/data"));
}

bool fillFromBundledData(const DataFolder& data, const QString& bundled, QTextStream& err) {
    if (data.holdsPrefectureFile() || !QFileInfo(bundled).isDir())
        return false;
    PrepFolders folders{QDir(bundled).absolutePath() + u'/', data.path(), WorkFolders::standard()};
    folders.work.create();
    QuietHost host;
    // What the run reports goes to stderr, where a user who started the
    // program from a terminal sees it.
    StreamMessages messages(err, false);
    SteadyClock clock;
    const RunOutcome outcome = runNationwide(folders, makePrefectureNames(), host, messages, clock);
    folders.work.removeEmpty();
    return placedAnything(outcome);
}

} // namespace yubin
