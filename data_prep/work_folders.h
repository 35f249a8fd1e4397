#pragma once

#include <QLockFile>
#include <QString>

namespace yubin {

// The folders the data preparation works in: "TEMP" with "TOFUKEN" (where
// archives are extracted) and "TOFUKEN_LZH" (where the chosen archive is
// copied first). They are per-user and readable by the owner only, so no
// other local user can plant files in them.
struct WorkFolders {
    QString temp;       // ends in "/"
    QString tofuken;    // ends in "/"
    QString tofukenLzh; // ends in "/"

    // Under the per-user cache location.
    static WorkFolders standard();
    static WorkFolders under(const QString& base);

    // Creates the missing folders, owner-only; failures are ignored.
    void create() const;
    // Removes TOFUKEN and TOFUKEN_LZH when they are empty and no run is
    // working in them; TEMP stays.
    void removeEmpty() const;
};

// Keeps preparation runs apart: every run of the user, in the window or in
// yubin-cli, extracts into the same work folders and replaces files in a data
// folder, so a run holds this lock from before its first change to its end.
// A lock left by a killed run names a process that no longer runs and is
// taken over.
class WorkLock {
public:
    explicit WorkLock(const WorkFolders& folders);
    // False when another run holds the lock; that run must be left alone.
    bool held() const { return locked; }

private:
    QLockFile lock;
    bool locked = false;
};

} // namespace yubin
