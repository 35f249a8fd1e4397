#pragma once

// One archive of a run in the work folders, and how a run fails: what the
// nationwide, per-prefecture and monthly update runs share.

#include "data_prep/archive_extract.h"
#include "data_prep/prep_errors.h"
#include "data_prep/prep_runs.h"
#include "foundation/utilities.h"
#include "foundation/whole_files.h"

#include <QFile>
#include <QFileInfo>

#include <functional>

namespace yubin {

struct RunFailure {
    QString description;
};

inline void check(const QString& error) {
    if (!error.isEmpty())
        throw RunFailure{error};
}

// One archive in the work folders: its copy and what it extracted are
// removed when the step is over, whether it succeeded or not.
class ArchiveStep {
public:
    ArchiveStep(const WorkFolders& work, const QString& copyName)
        : work(work), copy(work.tofukenLzh + copyName) {}
    // Copies the archive into the work folder and extracts it there; the
    // host, when given, handles its events on the way.
    void extract(const QString& source, RunHost* host = nullptr) {
        check(copyWorkFile(source, copy));
        std::function<void()> onBlock;
        if (host)
            onBlock = [host] { host->shouldStop(); }; // no abort while extracting
        extracted = extractArchiveFlat(copy, work.tofuken, MaxArchiveEntryBytes, onBlock);
        if (!extracted.ok)
            throw RunFailure{extracted.error};
    }
    ~ArchiveStep() {
        QFile::remove(copy);
        for (const QString& name : extracted.placed)
            if (!kept.contains(name))
                QFile::remove(work.tofuken + name);
    }
    ArchiveStep(const ArchiveStep&) = delete;
    ArchiveStep& operator=(const ArchiveStep&) = delete;

    // The extracted file of that name in any case, as a path; "" when the
    // archive held none.
    QString find(const QString& name) const {
        const QString found = findNameNoCase(extracted.placed, name);
        return found.isEmpty() ? QString() : work.tofuken + found;
    }
    void keep(const QString& path) { kept << QFileInfo(path).fileName(); }
    // The first extracted file whose name ends in ".csv" in any case, as a
    // path; "" when there is none.
    QString firstCsv() const {
        for (const QString& name : extracted.placed)
            if (name.endsWith(QLatin1StringView(".csv"), Qt::CaseInsensitive))
                return work.tofuken + name;
        return QString();
    }
    void removeCopy() { QFile::remove(copy); }

private:
    const WorkFolders& work;
    QString copy;
    ExtractResult extracted;
    QStringList kept;
};

} // namespace yubin
