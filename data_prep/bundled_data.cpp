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
    if (!placedAnything(outcome))
        return false;
    err << QStringLiteral("データフォルダー %1 に同梱の全国データを入れました。")
               .arg(QDir::toNativeSeparators(data.path()))
        << '\n';
    err.flush();
    return true;
}

} // namespace yubin
